// TOnOffBut: the glyph sets and their quadrants, centring, radio groups through the broadcast,
// the mouse rules (glyph or anywhere, latching or momentary), user glyphs and their errors,
// transparency, Assign, and one golden sheet.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "frame/QEL_errors.h"
#include "indicators/QEL_onoffbut.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountPixels;
using test::PixelAt;

// A four-quadrant bitmap of plain colours, quadrant by quadrant: on/enabled (top left),
// off/enabled, on/disabled, off/disabled.
std::unique_ptr<TBitmap> Quadrants(int GW, int GH, TColor OnEn, TColor OffEn, TColor OnDis,
                                   TColor OffDis) {
  auto b = std::make_unique<TBitmap>(2 * GW, 2 * GH);
  TCanvas* c = b->Canvas();
  const TColor colours[4] = {OnEn, OffEn, OnDis, OffDis};
  for (int q = 0; q < 4; ++q) {
    c->Brush()->SetColor(colours[q]);
    c->FillRect(Bounds(q % 2 * GW, q / 2 * GH, GW, GH));
  }
  return b;
}

// ---------------------------------------------------------------- glyph sets

// Every built-in set exists at its size, is cut into glyphs of half its size, lets the
// background through round the picture and looks different on and off, enabled and disabled.
TEST(OnOffButGlyphs, EverySetHasItsSizeSeeThroughCornersAndFourDistinctLooks) {
  TOnOffBut b(nullptr);
  for (int s = 1; s < kOnOffStyleCount; ++s) {
    SCOPED_TRACE(kOnOffGlyphSets[s].Resource);
    TBitmap res;
    res.LoadFromResourceName(kOnOffGlyphSets[s].Resource);
    EXPECT_EQ(res.GetWidth(), kOnOffGlyphSets[s].Width);
    EXPECT_EQ(res.GetHeight(), kOnOffGlyphSets[s].Height);
    b.SetButStyle(static_cast<TOnOffButStyle>(s));
    const int gw = b.GlyphWidth(), gh = b.GlyphHeight();
    EXPECT_EQ(gw, res.GetWidth() / 2);
    EXPECT_EQ(gh, res.GetHeight() / 2);
    std::vector<std::string> looks;
    for (int k = 0; k < 4; ++k) {
      const TBitmap* g = b.Glyph(k);
      ASSERT_EQ(g->GetWidth(), gw);
      ASSERT_EQ(g->GetHeight(), gh);
      // The quadrants are cut where they belong: glyph k equals its quadrant of the resource.
      const TPoint origin[4] = {{gw, gh}, {gw, 0}, {0, gh}, {0, 0}};
      for (int y = 0; y < gh; y += 3)
        for (int x = 0; x < gw; x += 3)
          ASSERT_EQ(PixelAt(*g, x, y), PixelAt(res, origin[k].X + x, origin[k].Y + y));
      EXPECT_GT(CountPixels(*g, Rect(0, 0, gw, gh), kOnOffSeeThrough), 0);
      std::string look;
      for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) look += std::to_string(PixelAt(*g, x, y)) + ",";
      looks.push_back(look);
    }
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) EXPECT_NE(looks[i], looks[j]) << i << " " << j;
  }
}

TEST(OnOffButGlyphs, ExtractGlyphsMapsQuadrantsToStateIndices) {
  TOnOffBut b(nullptr);
  b.ExtractGlyphs(*Quadrants(5, 3, clRed, clLime, clBlue, clYellow));
  EXPECT_EQ(b.GlyphWidth(), 5);
  EXPECT_EQ(b.GlyphHeight(), 3);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, true)), 2, 1), clRed);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, true)), 2, 1), clLime);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, false)), 2, 1), clBlue);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, false)), 2, 1), clYellow);
}

// ---------------------------------------------------------------- on a form

class OnOffOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Form->Show();
    In = std::make_unique<THeadlessInput>(Form);
  }
  void TearDown() override {
    In.reset();
    delete Form;
    ResetHeadlessApplication();
  }
  TOnOffBut* Add(int Left, int Top, TWinControl* Parent = nullptr) {
    auto* b = new TOnOffBut(Form);
    b->SetParent(Parent ? Parent : Form);
    b->SetBounds(Left, Top, 100, 50);
    return b;
  }
  // A press and release at a point of B (its own coordinates).
  void ClickAt(TOnOffBut* B, int X, int Y) {
    In->Click(B->GetLeft() + X, B->GetTop() + Y);
    Application->ProcessMessages();
  }
  void ClickGlyph(TOnOffBut* B) {
    const TRect g = B->GlyphRect();
    ClickAt(B, g.Left + g.Width() / 2, g.Top + g.Height() / 2);
  }
  TForm* Form = nullptr;
  std::unique_ptr<THeadlessInput> In;
};

TEST_F(OnOffOnForm, AutoCenterPlacesTheCheckboxAt42And17AfterAResize) {
  TOnOffBut* b = Add(0, 0);
  b->SetButStyle(oobsCheckbox);
  b->SetBounds(0, 0, 101, 51);
  b->SetBounds(0, 0, 100, 50);
  EXPECT_EQ(b->GetLeftSpace(), 42);
  EXPECT_EQ(b->GetTopSpace(), 17);
  EXPECT_EQ(b->GlyphRect(), Bounds(43, 18, 16, 16));
  // With AutoCenter a space given by hand re-centres instead; without it, it is taken up to
  // the control's size, and negative spaces are ignored.
  b->SetLeftSpace(5);
  EXPECT_EQ(b->GetLeftSpace(), 42);
  b->SetAutoCenter(false);
  b->SetLeftSpace(5);
  b->SetTopSpace(500);
  EXPECT_EQ(b->GetLeftSpace(), 5);
  EXPECT_EQ(b->GetTopSpace(), 50);
  b->SetLeftSpace(-3);
  EXPECT_EQ(b->GetLeftSpace(), 5);
  // A host's own OnResize does not stop the centring.
  b->SetAutoCenter(true);
  int resized = 0;
  b->OnResize = [&](TObject*) { ++resized; };
  b->SetBounds(0, 0, 60, 40);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(b->GetLeftSpace(), 22);
  EXPECT_EQ(b->GetTopSpace(), 12);
}

TEST_F(OnOffOnForm, RadioGroupWithoutAllOffKeepsExactlyOneOn) {
  TOnOffBut* b[3] = {Add(0, 0), Add(100, 0), Add(200, 0)};
  TOnOffBut* other = Add(0, 100);  // another group
  other->SetGroupIndex(2);
  for (TOnOffBut* x : b) {
    x->SetButStyle(oobsRadioBut);
    x->SetGroupIndex(1);
  }
  // Each button that joined while on switched the earlier ones off.
  EXPECT_FALSE(b[0]->GetOnOff());
  EXPECT_FALSE(b[1]->GetOnOff());
  EXPECT_TRUE(b[2]->GetOnOff());
  b[0]->SetAllowAllOff(false);  // goes to every member through the broadcast
  for (TOnOffBut* x : b) EXPECT_FALSE(x->GetAllowAllOff());
  EXPECT_TRUE(other->GetAllowAllOff());

  ClickGlyph(b[1]);
  EXPECT_FALSE(b[0]->GetOnOff());
  EXPECT_TRUE(b[1]->GetOnOff());
  EXPECT_FALSE(b[2]->GetOnOff());
  EXPECT_TRUE(other->GetOnOff());
  // The active button can be switched off neither by a click nor by the property.
  ClickGlyph(b[1]);
  EXPECT_TRUE(b[1]->GetOnOff());
  b[1]->SetOnOff(false);
  EXPECT_TRUE(b[1]->GetOnOff());
  b[0]->SetOnOff(true);
  EXPECT_TRUE(b[0]->GetOnOff());
  EXPECT_FALSE(b[1]->GetOnOff());

  // With AllowAllOff the last one may go off.
  b[2]->SetAllowAllOff(true);
  ClickGlyph(b[0]);
  for (TOnOffBut* x : b) EXPECT_FALSE(x->GetOnOff());
}

// Members read later are on by default while they load; the member the file saved as on must
// stay on, and a file with two members on ends with one.
TEST_F(OnOffOnForm, FormFileKeepsTheSavedMemberOfAGroupOn) {
  RegisterOnOffButClasses();
  RegisterStdWidgetClasses();
  auto member = [](const char* Name, int Left, bool On) {
    return std::string("  object ") + Name + ": TOnOffBut\n    Left = " + std::to_string(Left) +
           "\n    Top = 0\n    Width = 100\n    Height = 50\n    GroupIndex = 1\n"
           "    AllowAllOff = False\n" +
           (On ? "" : "    OnOff = False\n") + "  end\n";
  };
  const struct {
    bool A, B, C;     // as saved
    bool WA, WB, WC;  // as loaded
  } cases[] = {{true, false, false, true, false, false},
               {false, false, true, false, false, true},
               {true, false, true, true, false, false}};
  for (const auto& c : cases) {
    const std::string text =
        "object P: TPanel\n  Left = 0\n  Top = 0\n  Width = 300\n"
        "  Height = 60\n" +
        member("A", 0, c.A) + member("B", 100, c.B) + member("C", 200, c.C) + "end\n";
    std::unique_ptr<TPanel> p(CreateFromText<TPanel>(text, nullptr));
    auto on = [&](const char* N) {
      return dynamic_cast<TOnOffBut*>(p->FindComponent(N))->GetOnOff();
    };
    EXPECT_EQ(on("A"), c.WA);
    EXPECT_EQ(on("B"), c.WB);
    EXPECT_EQ(on("C"), c.WC);
  }
}

TEST_F(OnOffOnForm, FocusedActionNeedsTheGlyphPlainTakesTheWholeControl) {
  TOnOffBut* b = Add(10, 10);
  b->SetButStyle(oobsCheckbox);
  b->SetRightText("Power");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  const int ls = b->GetLeftSpace(), ts = b->GetTopSpace(), gw = b->GlyphWidth();
  struct Case {
    TOOButMouseAction Action;
    int X, Y;
    bool Toggles;
  };
  const Case cases[] = {
      {oomaFocused, ls, ts + 5, false},     // the glyph's border column
      {oomaFocused, ls + 1, ts + 5, true},  // its first inner column
      {oomaFocused, ls + gw - 1, ts + 5, true},   {oomaFocused, ls + gw, ts + 5, false},
      {oomaFocused, ls + gw + 10, ts + 8, false},  // on the text
      {oomaPlain, ls + gw + 10, ts + 8, true},    {oomaPlain, 2, 2, true},
      {oomaNone, ls + 5, ts + 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.Action) << " at " << c.X << "," << c.Y);
    b->SetMouseAction(c.Action);
    const bool before = b->GetOnOff();
    clicks = 0;
    ClickAt(b, c.X, c.Y);
    EXPECT_EQ(b->GetOnOff(), before != c.Toggles);
    EXPECT_EQ(clicks, c.Toggles ? 1 : 0);
  }
  // Only the left button counts.
  b->SetMouseAction(oomaPlain);
  const bool before = b->GetOnOff();
  In->Click(b->GetLeft() + 5, b->GetTop() + 5, mbRight);
  Application->ProcessMessages();
  EXPECT_EQ(b->GetOnOff(), before);
}

TEST_F(OnOffOnForm, SpeedButtonIsOnWhilePressedAndClicksOnRelease) {
  TOnOffBut* b = Add(10, 10);
  b->SetButStyle(oobsButLamp);
  b->SetButMode(oobmSpeedBut);
  EXPECT_FALSE(b->GetOnOff());
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  const TRect g = b->GlyphRect();
  const TPoint mid = {10 + g.Left + g.Width() / 2, 10 + g.Top + g.Height() / 2};
  In->MouseDown(mid.X, mid.Y);
  EXPECT_TRUE(b->GetOnOff());
  EXPECT_EQ(clicks, 0);
  In->MouseUp(mid.X, mid.Y);
  EXPECT_FALSE(b->GetOnOff());
  EXPECT_EQ(clicks, 1);
  // Dragged off the glyph before the release: off again, but no click.
  In->MouseDown(mid.X, mid.Y);
  EXPECT_TRUE(b->GetOnOff());
  In->MouseMove(mid.X, 200);
  In->MouseUp(mid.X, 200);
  EXPECT_FALSE(b->GetOnOff());
  EXPECT_EQ(clicks, 1);
}

// ---------------------------------------------------------------- user glyphs

class OnOffUserGlyph : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = std::filesystem::temp_directory_path() /
          ("qel-onoff-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(Dir);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  std::string File(const std::string& Name) const { return (Dir / Name).string(); }
  std::filesystem::path Dir;
};

TEST_F(OnOffUserGlyph, AFileOrBitmapBecomesTheUserGlyphs) {
  TOnOffBut b(nullptr);
  // Before any is given: a cross off, a ring on, 20 x 20.
  b.SetButStyle(oobsUser);
  EXPECT_EQ(b.GlyphWidth(), 20);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, true)), 10, 10), clBlack);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, true)), 10, 10), kOnOffSeeThrough);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, true)), 10, 5), clBlack);

  Quadrants(12, 8, clRed, clLime, clBlue, clYellow)->SaveToFile(File("g.png"));
  b.LoadUserGlyph(File("g.png"));
  EXPECT_EQ(b.GlyphWidth(), 12);
  EXPECT_EQ(b.GlyphHeight(), 8);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, true)), 0, 0), clRed);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, false)), 11, 7), clYellow);
  // Another style shows its own set; the user glyphs wait for oobsUser.
  const auto q = Quadrants(3, 3, clNavy, clTeal, clMaroon, clOlive);
  b.SetButStyle(oobsCheckbox);
  b.SetUserGlyph(q.get());
  EXPECT_EQ(b.GlyphWidth(), 16);
  b.SetButStyle(oobsUser);
  EXPECT_EQ(b.GlyphWidth(), 3);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, true)), 1, 1), clTeal);
}

TEST_F(OnOffUserGlyph, AnUnusableFileRaisesAClearErrorAndKeepsTheGlyphs) {
  TOnOffBut b(nullptr);
  b.SetName("Switch1");
  b.SetButStyle(oobsUser);
  const auto q = Quadrants(4, 4, clRed, clLime, clBlue, clYellow);
  b.SetUserGlyph(q.get());
  Quadrants(4, 4, clRed, clLime, clBlue, clYellow)->SaveToFile(File("ok.png"));
  TBitmap odd(9, 8);
  odd.SaveToFile(File("odd.png"));
  std::ofstream(File("junk.png")) << "not an image at all";
  struct Case {
    std::string File;
    std::string Says;
  };
  const Case cases[] = {{File("missing.png"), "not a readable file"},
                        {Dir.string(), "not a readable file"},
                        {File("junk.png"), "junk.png"},
                        {File("odd.png"), "9 x 8"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.File);
    try {
      b.LoadUserGlyph(c.File);
      ADD_FAILURE() << "no error";
    } catch (const EQELError& e) {
      EXPECT_EQ(e.Message.rfind("Component \"Switch1\": cannot use \"" + c.File + "\"", 0), 0u)
          << e.Message;
      EXPECT_NE(e.Message.find(c.Says), std::string::npos) << e.Message;
    }
    EXPECT_EQ(b.GlyphWidth(), 4);
    EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(true, true)), 1, 1), clRed);
    EXPECT_EQ(PixelAt(*b.UserGlyph(OnOffGlyphIndex(false, true)), 1, 1), clLime);
  }
  EXPECT_THROW(b.SetUserGlyph(nullptr), EQELError);
  EXPECT_THROW(b.ExtractGlyphs(TBitmap(1, 1)), EQELError);
  EXPECT_EQ(b.GlyphWidth(), 4);
}

// ---------------------------------------------------------------- painting

// Paints B alone into a bitmap of its size.
std::unique_ptr<TBitmap> Shot(TOnOffBut& B) {
  auto bmp = std::make_unique<TBitmap>(B.GetWidth(), B.GetHeight());
  B.PaintTo(bmp.get());
  return bmp;
}

TEST(OnOffButPaint, GlyphLandsAtItsRectWithTheBackgroundThroughItsSeeThroughPixels) {
  TOnOffBut b(nullptr);
  b.SetColorBakG(clAqua);
  b.ExtractGlyphs(*Quadrants(6, 6, clRed, kOnOffSeeThrough, clBlue, clYellow));
  b.SetAutoCenter(false);
  b.SetLeftSpace(10);
  b.SetTopSpace(20);
  const auto on = Shot(b);
  EXPECT_EQ(CountPixels(*on, Bounds(11, 21, 6, 6), clRed), 36);
  EXPECT_EQ(PixelAt(*on, 10, 21), clAqua);
  EXPECT_EQ(PixelAt(*on, 17, 21), clAqua);
  b.SetOnOff(false);
  const auto off = Shot(b);
  EXPECT_EQ(CountPixels(*off, Bounds(11, 21, 6, 6), clAqua), 36);
  // Disabled: the disabled glyph and engraved texts (white under grey).
  b.SetOnOff(true);
  b.SetRightText("XX");
  b.SetEnabled(false);
  const auto dis = Shot(b);
  EXPECT_EQ(CountPixels(*dis, Bounds(11, 21, 6, 6), clBlue), 36);
  const TRect textArea = Rect(17, 0, 100, 50);
  EXPECT_GT(CountPixels(*dis, textArea, clGray), 0);
  EXPECT_GT(CountPixels(*dis, textArea, clWhite), 0);
}

TEST(OnOffButPaint, TransparentButtonShowsItsParentRoundTheGlyph) {
  TPanel panel(nullptr);
  panel.SetBounds(0, 0, 100, 50);
  panel.SetBevelOuter(bvNone);
  panel.SetColor(clFuchsia);
  auto* b = new TOnOffBut(&panel);
  b->SetParent(&panel);
  b->SetBounds(0, 0, 100, 50);
  b->SetFrameStyle(fsNone);
  b->ExtractGlyphs(*Quadrants(6, 6, clRed, clLime, clBlue, clYellow));
  b->SetTransparent(true);
  TBitmap bmp(100, 50);
  panel.PaintTo(&bmp);
  const TRect g = b->GlyphRect();
  EXPECT_EQ(CountPixels(bmp, g, clRed), 36);
  EXPECT_EQ(CountPixels(bmp, Rect(0, 0, 100, 50), clFuchsia), 100 * 50 - 36);
}

TEST(OnOffButAssign, CopiesLookStateAndGlyphs) {
  TOnOffBut a(nullptr), b(nullptr);
  a.SetButStyle(oobsUser);
  const auto q = Quadrants(4, 4, clRed, clLime, clBlue, clYellow);
  a.SetUserGlyph(q.get());
  a.SetAutoCenter(false);
  a.SetLeftSpace(7);
  a.SetLeftText("L");
  a.SetRTAlignment(taCenter);
  a.SetOnOff(false);
  a.SetTransparent(true);
  a.SetEnabled(false);
  a.SetMouseAction(oomaPlain);
  b.Assign(&a);
  EXPECT_EQ(b.GetButtonStyle(), oobsUser);
  EXPECT_EQ(b.GetLeftSpace(), 7);
  EXPECT_FALSE(b.GetAutoCenter());
  EXPECT_EQ(b.GetLeftText(), "L");
  EXPECT_EQ(b.GetRightTextAlignment(), taCenter);
  EXPECT_FALSE(b.GetOnOff());
  EXPECT_TRUE(b.GetTransparent());
  EXPECT_FALSE(b.GetEnabled());
  EXPECT_EQ(b.GetMouseAction(), oomaPlain);
  EXPECT_EQ(b.GlyphWidth(), 4);
  EXPECT_EQ(PixelAt(*b.Glyph(OnOffGlyphIndex(false, false)), 0, 0), clYellow);
  EXPECT_EQ(PixelAt(*b.UserGlyph(OnOffGlyphIndex(true, true)), 0, 0), clRed);
}

// Every set on and off, a few with texts in each alignment, one disabled, one transparent
// over a coloured panel, and the frame styles.
TEST(OnOffButGolden, Sheet) {
  TPanel sheet(nullptr);
  sheet.SetBounds(0, 0, 6 * 104, 9 * 54);
  sheet.SetBevelOuter(bvNone);
  sheet.SetColor(clBtnFace);
  auto place = [&](int Cell) {
    auto* b = new TOnOffBut(&sheet);
    b->SetParent(&sheet);
    b->SetBounds(Cell % 6 * 104, Cell / 6 * 54, 100, 50);
    return b;
  };
  int cell = 0;
  for (int s = 1; s < kOnOffStyleCount; ++s) {
    for (bool on : {true, false}) {
      TOnOffBut* b = place(cell++);
      b->SetButStyle(static_cast<TOnOffButStyle>(s));
      b->SetOnOff(on);
      b->SetFrameStyle(static_cast<TFrameStyle>(cell % 6));
    }
  }
  TOnOffBut* t = place(cell++);
  t->SetButStyle(oobsCheckbox);
  t->SetAutoCenter(false);
  t->SetLeftSpace(45);
  t->SetTopSpace(17);
  t->SetLeftText("Left");
  t->SetRightText("Right");
  t->SetTopText("Top");
  t->SetBottomText("Bottom");
  TOnOffBut* d = place(cell++);
  d->SetButStyle(oobsRadioBut);
  d->SetLeftText("Off");
  d->SetLTAlignment(taLeftJustify);
  d->SetEnabled(false);
  TOnOffBut* u = place(cell++);
  u->SetButStyle(oobsUser);
  u->SetRightText("User");
  u->SetRTAlignment(taRightJustify);
  auto* back = new TPanel(&sheet);
  back->SetParent(&sheet);
  back->SetBounds(cell % 6 * 104, cell / 6 * 54, 100, 50);
  back->SetColor(clTeal);
  back->SetBevelOuter(bvNone);
  auto* tr = new TOnOffBut(&sheet);
  tr->SetParent(back);
  tr->SetBounds(0, 0, 100, 50);
  tr->SetButStyle(oobsSmileyYellow);
  tr->SetTopText("Transparent");
  tr->SetTransparent(true);
  TBitmap bmp(sheet.GetWidth(), sheet.GetHeight());
  sheet.PaintTo(&bmp);
  test::ExpectMatchesGolden(bmp, "indicators_onoffbut", 200);
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

TEST(OnOffButProperties, DefaultsHoldAndAFormFileRoundTrips) {
  RegisterOnOffButClasses();
  RegisterOnOffButClasses();  // twice changes nothing
  const TClassInfo* info = FindClassInfo("TOnOffBut");
  ASSERT_NE(info, nullptr);
  TOnOffBut fresh(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&fresh)) continue;
    EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name;
  }
  RegisterStdWidgetClasses();
  const std::string text =
      "object P: TPanel\n  Left = 0\n  Top = 0\n  Width = 200\n  Height = 80\n"
      "  object B: TOnOffBut\n    Left = 4\n    Top = 4\n    Width = 120\n    Height = 60\n"
      "    ButtonStyle = oobsBulb\n    Mode = oobmSpeedBut\n    RightText = 'Lamp'\n"
      "    RightTextAlignment = taCenter\n    FrameStyle = fsRaised\n  end\nend\n";
  std::unique_ptr<TPanel> p(CreateFromText<TPanel>(text, nullptr));
  auto* b = dynamic_cast<TOnOffBut*>(p->FindComponent("B"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->GetButtonStyle(), oobsBulb);
  EXPECT_FALSE(b->GetOnOff());
  EXPECT_EQ(b->GetLeftSpace(), (120 - 39) / 2);
  EXPECT_EQ(b->GetTopSpace(), (60 - 49) / 2);
  const std::string written = WriteComponentText(p.get());
  std::unique_ptr<TPanel> again(CreateFromText<TPanel>(written, nullptr));
  EXPECT_EQ(WriteComponentText(again.get()), written);
}

// The spaces in a form file are where the glyph sat, centred or not; one the file leaves out
// is centred after loading.
TEST(OnOffButProperties, FormFileSpacesComeBackAsWritten) {
  RegisterOnOffButClasses();
  RegisterStdWidgetClasses();
  struct Case {
    const char* Spaces;
    int Left, Top;
  };
  const Case cases[] = {
      {"    LeftSpace = 35\n    TopSpace = 18\n", 35, 18},  // as made, never resized
      {"    LeftSpace = 3\n", 3, (60 - 49) / 2},
      {"", (120 - 39) / 2, (60 - 49) / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Spaces);
    const std::string text =
        std::string("object P: TPanel\n  Width = 200\n  Height = 80\n"
                    "  object B: TOnOffBut\n    Width = 120\n    Height = 60\n"
                    "    ButtonStyle = oobsBulb\n") +
        c.Spaces + "  end\nend\n";
    std::unique_ptr<TPanel> p(CreateFromText<TPanel>(text, nullptr));
    auto* b = dynamic_cast<TOnOffBut*>(p->FindComponent("B"));
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(b->GetAutoCenter());
    EXPECT_EQ(b->GetLeftSpace(), c.Left);
    EXPECT_EQ(b->GetTopSpace(), c.Top);
    const std::string written = WriteComponentText(p.get());
    std::unique_ptr<TPanel> again(CreateFromText<TPanel>(written, nullptr));
    EXPECT_EQ(WriteComponentText(again.get()), written);
  }
}

}  // namespace
}  // namespace qel

// TRotLab: the placement of the rotated caption about its anchor for every quarter turn and
// alignment (arithmetic and painted ink), measuring, transparency, the disabled look, the
// frame, the anchor's auto centring and the setters, copying, and reading from form text.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "displays/QEL_RotLab.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

// Opens the protected text drawing, as the label itself calls it.
class TProbeRotLab : public TRotLab {
 public:
  using TRotLab::TRotLab;
  void CallDoDrawText(TRect& R, unsigned Flags) { DoDrawText(R, Flags); }
};

// ---------------------------------------------------------------- placement arithmetic

TEST(RotLabOrigin, QuarterTurnsPutTheNamedPointOnTheAnchor) {
  const TPoint a{100, 100};
  // A 40 x 14 cell: hw 20, hh 7. At 0 degrees the cell's top-left corner lies hh above the
  // anchor and 0, hw or 2hw before it; each quarter turn turns that offset with the text.
  struct Case {
    int Angle;
    TAlignment Align;
    TPoint Expected;
  } cases[] = {
      {0, taLeftJustify, {100, 93}},     {0, taCenter, {80, 93}},
      {0, taRightJustify, {60, 93}},     {90, taLeftJustify, {93, 100}},
      {90, taCenter, {93, 120}},         {90, taRightJustify, {93, 140}},
      {180, taLeftJustify, {100, 107}},  {180, taCenter, {120, 107}},
      {180, taRightJustify, {140, 107}}, {270, taLeftJustify, {107, 100}},
      {270, taCenter, {107, 80}},        {270, taRightJustify, {107, 60}},
  };
  for (const Case& c : cases) {
    const TPoint o = RotLabTextOrigin(c.Align, c.Angle, a, 40, 14);
    EXPECT_EQ(o.X, c.Expected.X) << c.Angle << " " << int(c.Align);
    EXPECT_EQ(o.Y, c.Expected.Y) << c.Angle << " " << int(c.Align);
  }
}

TEST(RotLabOrigin, HalvingTruncatesAndOddAnglesRound) {
  // Odd sizes: 41 x 11 halves to 20 x 5.
  EXPECT_EQ(RotLabTextOrigin(taCenter, 0, {0, 0}, 41, 11).X, -20);
  EXPECT_EQ(RotLabTextOrigin(taCenter, 0, {0, 0}, 41, 11).Y, -5);
  // 30 degrees, centre, hw 20, hh 7: x = round(-17.32 - 3.5), y = round(10 - 6.06).
  EXPECT_EQ(RotLabTextOrigin(taCenter, 30, {0, 0}, 40, 14).X, -21);
  EXPECT_EQ(RotLabTextOrigin(taCenter, 30, {0, 0}, 40, 14).Y, 4);
  // Right, 30 degrees: x = round(-34.64 - 3.5), y = round(20 - 6.06).
  EXPECT_EQ(RotLabTextOrigin(taRightJustify, 30, {0, 0}, 40, 14).X, -38);
  EXPECT_EQ(RotLabTextOrigin(taRightJustify, 30, {0, 0}, 40, 14).Y, 14);
}

TEST(RotLabOrigin, BoundsOfTheTurnedCell) {
  // At 90 degrees the cell covers x .. x + h - 1 and y - w .. y - 1.
  TRect b = RotLabTextBounds({10, 50}, 90, 30, 12);
  EXPECT_EQ(b.Left, 10);
  EXPECT_EQ(b.Right, 22);
  EXPECT_EQ(b.Top, 20);
  EXPECT_EQ(b.Bottom, 50);
  b = RotLabTextBounds({10, 50}, 180, 30, 12);
  EXPECT_EQ(b, Rect(-20, 38, 10, 50));
  b = RotLabTextBounds({10, 50}, 270, 30, 12);
  EXPECT_EQ(b, Rect(-2, 50, 10, 80));
  // 45 degrees, a 10 x 10 cell: corners at x 0 .. 14.14 and y -7.07 .. 7.07, rounded outwards.
  b = RotLabTextBounds({0, 0}, 45, 10, 10);
  EXPECT_EQ(b, Rect(0, -8, 15, 8));
}

// ---------------------------------------------------------------- painted placement

// A plain (aliased) black caption on white, no frame, so that ink is exactly the text.
std::unique_ptr<TRotLab> PlainLabel(const std::string& Caption) {
  auto l = std::make_unique<TRotLab>(nullptr);
  l->SetCaption(Caption);
  l->SetAntiAlias(false);
  l->SetTransparent(false);
  l->SetColor(clWhite);
  l->SetFrameStyle(fsNone);
  l->GetFont()->SetColor(clBlack);
  return l;
}

std::unique_ptr<TBitmap> Render(TRotLab& L) {
  auto b = std::make_unique<TBitmap>(L.GetWidth(), L.GetHeight());
  test::FillBitmap(*b, 0xFF00FF);
  L.PaintTo(b.get());
  return b;
}

TEST(RotLabPaint, InkLiesWhereTheAlignmentPutsItForEveryQuarterTurn) {
  auto l = PlainLabel("HIH");
  const TPoint a = l->Anchor();
  ASSERT_EQ(a.X, 100);
  ASSERT_EQ(a.Y, 100);
  for (int angle : {0, 90, 180, 270}) {
    for (TAlignment al : {taLeftJustify, taCenter, taRightJustify}) {
      SCOPED_TRACE(testing::Message() << "angle " << angle << " alignment " << int(al));
      l->SetTextAngle(angle);
      l->SetAlignment(al);
      auto b = Render(*l);
      const TRect ink = test::InkBounds(*b, clWhite);
      ASSERT_FALSE(ink.IsEmpty());
      EXPECT_EQ(test::CountOtherPixels(*b, ink, clWhite), test::CountPixels(*b, ink, clBlack));
      // Everything inside the turned cell.
      const TRect cell = l->TextBounds();
      EXPECT_GE(ink.Left, cell.Left);
      EXPECT_GE(ink.Top, cell.Top);
      EXPECT_LE(ink.Right, cell.Right);
      EXPECT_LE(ink.Bottom, cell.Bottom);
      // The ink along the reading direction, measured from the anchor, and across it.
      int lo, hi, acrossLo, acrossHi, across;
      switch (angle) {
        case 0:
          lo = ink.Left - a.X, hi = ink.Right - a.X;
          acrossLo = ink.Top, acrossHi = ink.Bottom, across = a.Y;
          break;
        case 90:  // reads upwards
          lo = a.Y - ink.Bottom, hi = a.Y - ink.Top;
          acrossLo = ink.Left, acrossHi = ink.Right, across = a.X;
          break;
        case 180:  // upside down, reads to the left
          lo = a.X - ink.Right, hi = a.X - ink.Left;
          acrossLo = ink.Top, acrossHi = ink.Bottom, across = a.Y;
          break;
        default:  // reads downwards
          lo = ink.Top - a.Y, hi = ink.Bottom - a.Y;
          acrossLo = ink.Left, acrossHi = ink.Right, across = a.X;
          break;
      }
      EXPECT_GT(hi - lo, 15);
      if (al == taLeftJustify) {
        EXPECT_GE(lo, 0);  // starts at the anchor (after the first glyph's bearing)
        EXPECT_LE(lo, 3);
      } else if (al == taRightJustify) {
        EXPECT_LE(hi, 1);  // ends at the anchor
        EXPECT_GE(hi, -3);
      } else {
        EXPECT_LE(std::abs(lo + hi), 4);  // middle on the anchor
      }
      // The capitals straddle the anchor across the reading direction.
      EXPECT_LT(acrossLo, across);
      EXPECT_GT(acrossHi, across);
    }
  }
}

TEST(RotLabPaint, ATurnedCaptionIsTheSameWhateverTurnsAreAdded) {
  auto l = PlainLabel("Turn");
  l->SetTextAngle(30);
  auto a = Render(*l);
  l->SetTextAngle(390);
  auto b = Render(*l);
  l->SetTextAngle(-330);
  auto c = Render(*l);
  // The extremes of int neither overflow nor trap.
  l->SetTextAngle(INT_MAX);
  Render(*l);
  l->SetTextAngle(INT_MIN);
  Render(*l);
  EXPECT_EQ(test::CountOtherPixels(*a, Rect(0, 0, 200, 200), clWhite),
            test::CountOtherPixels(*b, Rect(0, 0, 200, 200), clWhite));
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      ASSERT_EQ(PixelAt(*a, x, y), PixelAt(*b, x, y)) << x << "," << y;
      ASSERT_EQ(PixelAt(*a, x, y), PixelAt(*c, x, y)) << x << "," << y;
    }
}

TEST(RotLabPaint, AntiAliasBlendsAndPlainDoesNot) {
  auto l = PlainLabel("Smooth");
  l->SetTextAngle(30);
  auto plain = Render(*l);
  const TRect all = Rect(0, 0, 200, 200);
  EXPECT_EQ(test::CountOtherPixels(*plain, all, clWhite), test::CountPixels(*plain, all, clBlack));
  l->SetAntiAlias(true);
  auto smooth = Render(*l);
  const int other = test::CountOtherPixels(*smooth, all, clWhite);
  EXPECT_GT(other - test::CountPixels(*smooth, all, clBlack), 10);  // grey edge pixels
}

TEST(RotLabPaint, FrameRoundTheControl) {
  auto l = PlainLabel("");
  l->SetFrameStyle(fsLowered);
  auto b = Render(*l);
  EXPECT_EQ(PixelAt(*b, 0, 100), clGray);     // shaded outer edge, left
  EXPECT_EQ(PixelAt(*b, 199, 100), clWhite);  // lit outer edge, right
  EXPECT_EQ(PixelAt(*b, 1, 100), clBlack);    // dark inner edge
  EXPECT_EQ(PixelAt(*b, 100, 100), clWhite);
  l->SetFrameStyle(fsNone);
  b = Render(*l);
  EXPECT_EQ(PixelAt(*b, 0, 100), clWhite);
  EXPECT_EQ(PixelAt(*b, 1, 100), clWhite);
}

// ---------------------------------------------------------------- measuring

TEST(RotLabMeasure, CalcRectGivesTheTurnedExtentAndDrawsNothing) {
  ResetHeadlessApplication();
  TForm* form = new TForm(nullptr);
  form->SetBounds(0, 0, 220, 220);
  form->SetColor(clLime);
  auto* l = new TProbeRotLab(form);
  l->SetParent(form);
  l->SetCaption("Measure me");
  form->Show();
  Application->ProcessMessages();

  TBitmap m(1, 1);
  m.Canvas()->Font()->Assign(l->GetFont());
  const int w = m.Canvas()->TextWidth("Measure me"), h = m.Canvas()->TextHeight("Measure me");
  TRect r = Rect(5, 7, 5, 7);
  l->CallDoDrawText(r, DT_CALCRECT);
  EXPECT_EQ(r, Rect(5, 7, 5 + w, 7 + h));
  l->SetTextAngle(90);
  Application->ProcessMessages();
  TBitmap turned;
  turned.Assign(form->Surface());
  r = Rect(0, 0, 0, 0);
  l->CallDoDrawText(r, DT_CALCRECT);
  EXPECT_EQ(r.Width(), h);
  EXPECT_EQ(r.Height(), w);
  for (int y = 0; y < 220; y += 3)
    for (int x = 0; x < 220; x += 3)
      ASSERT_EQ(PixelAt(turned, x, y), PixelAt(*form->Surface(), x, y));

  // Auto size (off by default) follows the measure.
  EXPECT_FALSE(l->GetAutoSize());
  EXPECT_EQ(l->GetWidth(), 200);
  l->SetAutoSize(true);
  EXPECT_EQ(l->GetWidth(), h);
  EXPECT_EQ(l->GetHeight(), w);
  delete form;
  ResetHeadlessApplication();
}

// ---------------------------------------------------------------- on a form

class RotLabOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 240, 240);
    Form->SetColor(clLime);
    L = new TRotLab(Form);
    L->SetAntiAlias(false);
    L->SetFrameStyle(fsNone);
    L->SetCaption("WWW");
    L->SetParent(Form);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  TColor At(int X, int Y) { return PixelAt(*Form->Surface(), X, Y); }
  int Count(TColor C) { return test::CountPixels(*Form->Surface(), Rect(0, 0, 200, 200), C); }
  TForm* Form = nullptr;
  TRotLab* L = nullptr;
};

TEST_F(RotLabOnForm, TransparentShowsTheParentAndOpaqueFillsWithColor) {
  EXPECT_TRUE(L->GetTransparent());
  EXPECT_EQ(At(10, 10), clLime);
  EXPECT_GT(Count(ColorToRGB(L->GetFont()->GetColor())), 10);
  L->SetTransparent(false);
  Application->ProcessMessages();
  EXPECT_EQ(At(10, 10), ColorToRGB(clBtnFace));
  L->SetColor(clYellow);
  EXPECT_EQ(At(10, 10), clYellow);  // opaque: painted at once, no message loop needed
  L->SetTransparent(true);
  Application->ProcessMessages();
  EXPECT_EQ(At(10, 10), clLime);
  EXPECT_GT(Count(ColorToRGB(L->GetFont()->GetColor())), 10);  // the text stays on top
}

TEST_F(RotLabOnForm, OpaquePaintsAtOnceTransparentWaitsForTheParent) {
  const TColor ink = ColorToRGB(L->GetFont()->GetColor());
  // Transparent: the change is only marked; the surface changes with the next repaint.
  TBitmap before;
  before.Assign(Form->Surface());
  L->SetTextAngle(90);
  EXPECT_EQ(test::CountPixels(*Form->Surface(), Rect(0, 0, 200, 200), ink),
            test::CountPixels(before, Rect(0, 0, 200, 200), ink));
  EXPECT_EQ(PixelAt(*Form->Surface(), 100, 85), PixelAt(before, 100, 85));
  Application->ProcessMessages();
  const TRect upright = test::InkBounds(*Form->Surface(), Rect(0, 0, 200, 200), clLime);
  EXPECT_GT(upright.Height(), upright.Width());
  // Opaque: painted before the call returns.
  L->SetTransparent(false);
  Application->ProcessMessages();
  L->SetTextAngle(0);
  const TRect flat = test::InkBounds(*Form->Surface(), Rect(2, 2, 198, 198), ColorToRGB(clBtnFace));
  EXPECT_GT(flat.Width(), flat.Height());
}

TEST_F(RotLabOnForm, DisabledIsEmbossedHighlightBelowRightShadowOnTop) {
  L->SetTextAngle(90);
  L->GetFont()->SetColor(clBlack);
  Application->ProcessMessages();
  const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(Count(shadow), 0);
  EXPECT_EQ(Count(light), 0);
  L->SetEnabled(false);
  Application->ProcessMessages();
  EXPECT_EQ(Count(clBlack), 0);
  EXPECT_GT(Count(shadow), 10);
  EXPECT_GT(Count(light), 3);
  // The shadow sits where the enabled text was, the highlight one pixel down and right.
  TBitmap onlyShadow(200, 200), onlyLight(200, 200);
  test::FillBitmap(onlyShadow, clLime);
  test::FillBitmap(onlyLight, clLime);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      if (At(x, y) == shadow) onlyShadow.Canvas()->SetPixel(x, y, shadow);
      if (At(x, y) == light) onlyLight.Canvas()->SetPixel(x, y, light);
    }
  const TRect s = test::InkBounds(onlyShadow, clLime), h = test::InkBounds(onlyLight, clLime);
  EXPECT_EQ(h.Right, s.Right + 1);
  EXPECT_EQ(h.Bottom, s.Bottom + 1);
  L->SetEnabled(true);
  Application->ProcessMessages();
  EXPECT_EQ(Count(shadow), 0);
  EXPECT_GT(Count(clBlack), 10);
}

TEST_F(RotLabOnForm, AutoCenterFollowsResizesAndKeepsTheHostsOnResize) {
  int resized = 0;
  L->OnResize = [&](TObject*) { ++resized; };
  EXPECT_EQ(L->GetPosX(), 100);
  L->SetBounds(0, 0, 150, 81);
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(L->GetPosX(), 75);
  EXPECT_EQ(L->GetPosY(), 40);  // 81 div 2
  L->SetPosX(3);
  EXPECT_EQ(L->GetPosX(), 75);  // the anchor stays in the middle
  L->SetAutoCenter(false);
  L->SetPosX(3);
  L->SetPosY(4);
  L->SetBounds(0, 0, 120, 120);
  EXPECT_EQ(L->GetPosX(), 3);
  EXPECT_EQ(L->GetPosY(), 4);
  L->SetAutoCenter(true);
  EXPECT_EQ(L->GetPosX(), 60);
  EXPECT_EQ(L->GetPosY(), 60);
  // The repainted caption follows the anchor.
  L->SetTransparent(false);
  L->SetColor(clWhite);
  L->GetFont()->SetColor(clBlack);
  Application->ProcessMessages();
  const TRect ink = test::InkBounds(*Form->Surface(), Rect(0, 0, 120, 120), clWhite);
  EXPECT_LE(std::abs(ink.Left + ink.Right - 120), 4);
}

// ---------------------------------------------------------------- setters and copying

TEST(RotLabSetters, DefaultsOfANewLabel) {
  TRotLab l(nullptr);
  EXPECT_EQ(l.GetWidth(), 200);
  EXPECT_EQ(l.GetHeight(), 200);
  EXPECT_EQ(l.GetFont()->GetName(), "Arial");
  EXPECT_EQ(l.GetFont()->GetSize(), 11);
  EXPECT_EQ(l.GetTextAngle(), 0);
  EXPECT_EQ(l.GetAlignment(), taCenter);
  EXPECT_TRUE(l.GetAutoCenter());
  EXPECT_TRUE(l.GetAntiAlias());
  EXPECT_TRUE(l.GetTransparent());
  EXPECT_EQ(l.GetColor(), clBtnFace);
  EXPECT_EQ(l.GetFrameStyle(), fsLowered);
  EXPECT_EQ(l.GetPosX(), 100);  // the anchor starts in the middle, AutoCenter being set
  EXPECT_EQ(l.GetPosY(), 100);
}

TEST(RotLabSetters, RangesAndUnchangedValues) {
  TRotLab l(nullptr);
  l.SetAlignment(static_cast<TAlignment>(7));
  EXPECT_EQ(l.GetAlignment(), taCenter);
  l.SetFrameStyle(static_cast<TFrameStyle>(40));
  EXPECT_EQ(l.GetFrameStyle(), fsLowered);
  l.SetTextAngle(-725);
  EXPECT_EQ(l.GetTextAngle(), -725);  // kept as given, drawn modulo a turn
  l.SetColor(clBtnFace);
  EXPECT_FALSE(l.GetParentColor());
  l.SetAutoCenter(false);
  l.SetPosX(-20);
  l.SetPosY(500);
  EXPECT_EQ(l.Anchor().X, -20);
  EXPECT_EQ(l.Anchor().Y, 500);
}

TEST(RotLabSetters, AssignCopiesTheLabelsOwnValues) {
  TRotLab a(nullptr), b(nullptr);
  a.SetAutoCenter(false);
  a.SetPosX(12);
  a.SetPosY(34);
  a.SetTextAngle(45);
  a.SetAntiAlias(false);
  a.SetFrameStyle(fsRaised);
  a.SetAlignment(taRightJustify);
  a.SetTransparent(false);
  a.AssignTo(&b);
  EXPECT_FALSE(b.GetAutoCenter());
  EXPECT_EQ(b.GetPosX(), 12);
  EXPECT_EQ(b.GetPosY(), 34);
  EXPECT_EQ(b.GetTextAngle(), 45);
  EXPECT_FALSE(b.GetAntiAlias());
  EXPECT_EQ(b.GetFrameStyle(), fsRaised);
  EXPECT_EQ(b.GetAlignment(), taRightJustify);
  EXPECT_FALSE(b.GetTransparent());
  // A centred source gives a centred copy, in the copy's own middle.
  TRotLab c(nullptr), d(nullptr);
  d.SetBounds(0, 0, 60, 40);
  d.SetAutoCenter(false);
  d.Assign(&c);
  EXPECT_TRUE(d.GetAutoCenter());
  EXPECT_EQ(d.GetPosX(), 30);
  EXPECT_EQ(d.GetPosY(), 20);
}

// ---------------------------------------------------------------- form text

TEST(RotLabRegister, FormTextRoundTripAndTruthfulDefaults) {
  ResetHeadlessApplication();
  RegisterRotLabClasses();
  RegisterRotLabClasses();  // a second call changes nothing
  // The anchor may come before AutoCenter in a hand-written file.
  std::unique_ptr<TRotLab> r(CreateFromText<TRotLab>(
      "object Lab: TRotLab\n  PosX = 30\n  PosY = 40\n  AutoCenter = False\n"
      "  TextAngle = 90\n  Alignment = taLeftJustify\n  Caption = 'Up'\nend\n",
      nullptr));
  EXPECT_EQ(r->GetPosX(), 30);
  EXPECT_EQ(r->GetPosY(), 40);
  EXPECT_EQ(r->GetTextAngle(), 90);
  EXPECT_EQ(r->GetAlignment(), taLeftJustify);
  std::string text = WriteComponentText(r.get());
  EXPECT_NE(text.find("PosX = 30"), std::string::npos);
  EXPECT_NE(text.find("AutoCenter = False"), std::string::npos);
  EXPECT_EQ(text.find("AntiAlias"), std::string::npos);  // defaults are not written
  std::unique_ptr<TRotLab> again(CreateFromText<TRotLab>(text, nullptr));
  EXPECT_EQ(WriteComponentText(again.get()), text);

  // A centred label writes no anchor, and reads back centred.
  TRotLab centred(nullptr);
  centred.SetName("C");
  text = WriteComponentText(&centred);
  EXPECT_EQ(text.find("PosX"), std::string::npos);

  // Every declared default is what the constructor sets.
  const TClassInfo& info = GetClassInfo("TRotLab");
  TRotLab fresh(nullptr);
  for (const TPropInfo* p : info.Properties()) {
    if (p->HasDefault && p->IsStored(&fresh) && p->Kind != pkClass && p->Kind != pkComponent) {
      EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name;
    }
  }
}

}  // namespace
}  // namespace qel

// TThumbnails: the setters' limits, the range and selection, the scroll position, the slide
// geometry shared by painting and hit-testing, the requests painting makes, clicks in the three
// selection modes, focus tracking, the wheel, scaling, copying and a golden sheet.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_Thumbnails.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

std::unique_ptr<TBitmap> Render(TThumbnails& T) {
  auto b = std::make_unique<TBitmap>(T.GetWidth(), T.GetHeight());
  test::FillBitmap(*b, clLime);
  T.PaintTo(b.get());
  return b;
}

// A picture the host hands over: a colour field with a dark diagonal, W x H.
void FillPicture(TBitmap* B, int W, int H, TColor Color) {
  B->SetSize(W, H);
  TCanvas* c = B->Canvas();
  c->Brush()->SetColor(Color);
  c->FillRect(Rect(0, 0, W, H));
  c->Pen()->SetColor(clBlack);
  c->MoveTo(0, 0);
  c->LineTo(W, H);
}

TEST(ThumbnailsSetters, LimitsAndColumns) {
  TThumbnails t(nullptr);
  EXPECT_EQ(t.Pitch(), 136);
  EXPECT_EQ(t.NumColumns(), 1);  // (260 + 2 - 20) div 136
  struct Case {
    void (TThumbnails::*Set)(int);
    int (TThumbnails::*Get)() const;
    int Value, Expected;
  } cases[] = {
      {&TThumbnails::SetBaseSize, &TThumbnails::GetSlideSize, 10, 50},
      {&TThumbnails::SetBaseSize, &TThumbnails::GetSlideSize, 1000, 260},  // the width
      {&TThumbnails::SetSlideMargin, &TThumbnails::GetSlideMargin, 150, 100},
      {&TThumbnails::SetSlideMargin, &TThumbnails::GetSlideMargin, -3, 0},
      {&TThumbnails::SetSlideDist, &TThumbnails::GetSlideDistance, 101, 100},
      {&TThumbnails::SetHiliteThickn, &TThumbnails::GetFocusLinewidth, -1, 0},
      {&TThumbnails::SetHiliteThickn, &TThumbnails::GetFocusLinewidth, 11, 10},
      {&TThumbnails::SetFMax, &TThumbnails::GetMax, 0, 1},
  };
  for (const Case& c : cases) {
    (t.*c.Set)(c.Value);
    EXPECT_EQ((t.*c.Get)(), c.Expected) << c.Value;
  }
  // A narrow control still gets slides of 50 pixels (and a pitch that divides).
  TThumbnails narrow(nullptr);
  narrow.SetBounds(0, 0, 20, 100);
  narrow.SetBaseSize(300);
  EXPECT_EQ(narrow.GetSlideSize(), 50);
  EXPECT_EQ(narrow.NumColumns(), 1);
}

TEST(ThumbnailsRange, MinAboveMaxRaisesMaxAndTheSelectionFollowsTheRange) {
  TThumbnails t(nullptr);
  t.SetSelectedSlide(100, true);
  EXPECT_EQ(t.NumSlidesSelected(), 1);
  EXPECT_EQ(t.FirstSelectedSlide(), 100);
  t.SetSelectedSlide(101, true);  // outside: ignored
  EXPECT_FALSE(t.GetSelectedSlide(101));
  t.SetFMin(150);
  EXPECT_EQ(t.GetMin(), 150);
  EXPECT_EQ(t.GetMax(), 150);
  EXPECT_GE(t.GetFirstThumbIx(), 150);
  t.SetFMax(100000);
  t.SetSelectedSlide(100000, true);
  EXPECT_TRUE(t.GetSelectedSlide(100000));
  t.ResetAllSelections();
  EXPECT_EQ(t.NumSlidesSelected(), 0);
  EXPECT_EQ(t.FirstSelectedSlide(), t.GetMin() - 1);
  // The span is limited, so the selection's bits stay affordable whatever the limits.
  t.SetFMin(-2000000000);
  EXPECT_EQ(int64_t{t.GetMax()} - t.GetMin() + 1, TThumbnails::kMaxSlides);
  t.SetFMax(2147483647);
  EXPECT_EQ(int64_t{t.GetMax()} - t.GetMin() + 1, TThumbnails::kMaxSlides);
  t.SetSlideSelectMode(ssmMultiple);
  t.SetSelectedSlide(t.GetMax(), true);
  EXPECT_EQ(t.NumSlidesSelected(), 1);
  t.SetSlideSelectMode(ssmSingle);  // a new mode starts with nothing selected
  EXPECT_EQ(t.NumSlidesSelected(), 0);
}

TEST(ThumbnailsScroll, PositionsAreRowsPlusAFractionOfARow) {
  TThumbnails t(nullptr);
  t.SetBounds(0, 0, 426, 400);  // (426 + 2 - 20) div 136 = 3 columns
  ASSERT_EQ(t.NumColumns(), 3);
  t.SetFirstThumbIx(5);
  EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), 4 + 1.0 / 3);
  struct Case {
    double X, Stored;
  } cases[] = {{1, 1}, {3, 1 + 2.0 / 3}, {7, 7}, {0, 1}, {1e9, 100}, {-1e9, 1}, {8.5, 7.5}};
  for (const Case& c : cases) {
    t.SetFirstThumbIx(c.X);
    EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), c.Stored) << c.X;
  }
  t.SetFirstThumbIx(7);
  t.SetFirstThumbIx(std::nan(""));
  EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), 7);
  t.ScrollRows(1);
  EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), 10);
  t.ScrollRows(-0.5);  // half a row up: slide 8.5 of the row starting at 7
  EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), 7.5);
  // Narrowing to one column keeps the place.
  t.SetFirstThumbIx(7);
  t.SetBounds(0, 0, 260, 400);
  EXPECT_EQ(t.NumColumns(), 1);
  EXPECT_DOUBLE_EQ(t.GetFirstThumbIx(), 7);
}

// Pitch 136, slides 134 wide with the margins, the rows starting 10 + 2 pixels down.
TEST(ThumbnailsGeometry, SlideUnderAPointAndSlidePositionAgree) {
  TThumbnails t(nullptr);
  t.SetBounds(0, 0, 426, 400);
  struct Case {
    int X, Y, Slide;
  } cases[] = {
      {10, 12, 1},  {144, 146, 1}, {145, 146, 0},                 // the gap between columns
      {146, 12, 2}, {9, 50, 0},    {282, 148, 6}, {282, 147, 0},  // gap between rows
      {400, 50, 3}, {417, 50, 0},                                 // beyond width - 10
      {50, 391, 0}, {50, 390, 7},
  };
  for (const Case& c : cases) EXPECT_EQ(t.CalcSlideIndex(c.X, c.Y), c.Slide) << c.X << "," << c.Y;
  t.SetFirstThumbIx(4 + 1);  // 4 + 1/3 row: 45 pixels of the top row are out
  int x = 0, y = 0;
  t.CalcSlidePos(5, x, y);
  EXPECT_EQ(x, 146);
  EXPECT_EQ(y, 2 - 45 + 10);
  EXPECT_EQ(t.CalcSlideIndex(x, y + 45), 5);
  t.CalcSlidePos(1, x, y);  // above the view: a row up, column one
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, -136 - 45 + 12);
  // Slides past Max are no slides.
  t.SetFMax(5);
  EXPECT_EQ(t.CalcSlideIndex(282, 100), 0);  // slide 6
  // With slide 0 in the range, SlideAt tells it apart from a gap.
  t.SetFMin(0);
  t.SetFirstThumbIx(0);
  int s = -1;
  EXPECT_TRUE(t.SlideAt(20, 20, s));
  EXPECT_EQ(s, 0);
  EXPECT_FALSE(t.SlideAt(145, 20, s));
}

// Requests come only for the slides in view, so 100,000 slides cost what 10 do; the order is
// column by column; the buffer is one bitmap for the pass.
TEST(ThumbnailsPaint, OnlySlidesInViewAreRequested) {
  for (int max : {10, 100000}) {
    TThumbnails t(nullptr);
    t.SetBounds(0, 0, 426, 400);
    t.SetFMax(max);
    std::vector<int> asked;
    std::vector<std::string> order;
    TBitmap* buffer = nullptr;
    t.OnFirstImageRequest = [&](TObject*) { order.push_back("first"); };
    t.OnLastImageRequest = [&](TObject*) { order.push_back("last"); };
    t.OnImageRequest = [&](TObject*, int Id, TImageRequestProcessing&, int&, TBitmap* B) {
      if (buffer) {
        EXPECT_EQ(B, buffer);
      }
      buffer = B;
      asked.push_back(Id);
    };
    t.SetFirstThumbIx(4);
    Render(t);
    // 3 columns of 400 div 136 + 1 = 3 rows: 4, 7, 10, then 5, 8, 11 ...
    const std::vector<int> all = {4, 7, 10, 5, 8, 11, 6, 9, 12};
    std::vector<int> expected;
    for (int id : all)
      if (id <= max) expected.push_back(id);
    EXPECT_EQ(asked, expected) << max;
    EXPECT_EQ(order, (std::vector<std::string>{"first", "last"}));
  }
}

TEST(ThumbnailsPaint, WhatTheHostAsksForIsWhatIsDrawn) {
  TThumbnails t(nullptr);
  t.SetFMax(3);
  t.SetSelectedSlide(2, true);
  std::vector<int> rendered;
  t.OnImageRequest = [](TObject*, int Id, TImageRequestProcessing& How, int& Mark, TBitmap* B) {
    if (Id == 1) {
      How = irpShowSlide;
      FillPicture(B, 40, 20, clYellow);  // landscape: full width, centred vertically
    }
    if (Id == 3) {
      How = irpShowNothing;
      Mark = 4;
    }
  };
  t.OnSlideRendered = [&](TObject*, TCanvas*, int X, int, int Id) {
    rendered.push_back(Id);
    EXPECT_EQ(X, 10);
  };
  auto b = Render(t);
  EXPECT_EQ(rendered, (std::vector<int>{1, 2, 3}));
  // Slide 1: the picture 120 x 60 from (17, 12 + 7 + 30).
  EXPECT_EQ(PixelAt(*b, 17 + 60, 49 + 10), clYellow);
  EXPECT_EQ(PixelAt(*b, 17 + 60, 49 - 3), clSilver);  // the cover above it
  // Slide 2: selected cover, white card, the number.
  const int y2 = 136 + 12;
  EXPECT_EQ(PixelAt(*b, 12, y2 + 5), clNavy);
  EXPECT_EQ(PixelAt(*b, 30, y2 + 7 + 25), clWhite);
  EXPECT_GT(test::CountOtherPixels(*b, Rect(60, y2 + 55, 90, y2 + 80), clWhite), 5);
  // Slide 3 is scrolled partly under the bottom band: only its mark shows above it, at
  // (x0 + 10, y0 + 12), on the background.
  const int y3 = 2 * 136 + 12;
  EXPECT_EQ(PixelAt(*b, 40, y3 + 40), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(*b, 20, y3 + 12), clBlack);
}

TEST(ThumbnailsPaint, AntiAliasAveragesWhereNearestPicks) {
  TThumbnails t(nullptr);
  t.SetFMax(1);
  // A picture of one-pixel stripes, scaled to a third: nearest keeps pure colours, the
  // halftone stretch mixes them.
  t.OnImageRequest = [](TObject*, int, TImageRequestProcessing& How, int&, TBitmap* B) {
    How = irpShowSlide;
    B->SetSize(360, 360);
    for (int x = 0; x < 360; ++x) {
      B->Canvas()->Pen()->SetColor(x % 2 ? clWhite : clBlack);
      B->Canvas()->MoveTo(x, 0);
      B->Canvas()->LineTo(x, 360);
    }
  };
  auto sharp = Render(t);
  const TColor c = PixelAt(*sharp, 60, 60);
  EXPECT_TRUE(c == clWhite || c == clBlack);
  t.SetAntiAlias(true);
  auto smooth = Render(t);
  const TColor m = PixelAt(*smooth, 60, 60);
  EXPECT_NE(m, clWhite);
  EXPECT_NE(m, clBlack);
}

// ---------------------------------------------------------------- on a form

class ThumbnailsOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 460, 420);
    T = new TThumbnails(Form);
    T->SetBounds(0, 0, 426, 400);
    T->SetParent(Form);
    Form->Show();
    Application->ProcessMessages();
    T->OnImageClick = [this](TObject*, int X, int Y, int Id) { Clicks.push_back({X, Y, Id}); };
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  std::vector<int> Selected() const {
    std::vector<int> s;
    for (int i = T->GetMin(); i <= T->GetMax(); ++i)
      if (T->GetSelectedSlide(i)) s.push_back(i);
    return s;
  }
  struct Click {
    int X, Y, Id;
  };
  TForm* Form = nullptr;
  TThumbnails* T = nullptr;
  std::vector<Click> Clicks;
};

TEST_F(ThumbnailsOnForm, ClicksInTheThreeSelectionModes) {
  THeadlessInput in(Form);
  // Single: a click selects one slide, a click in a gap selects none.
  in.Click(150, 20);
  EXPECT_EQ(Selected(), (std::vector<int>{2}));
  in.Click(20, 150);
  EXPECT_EQ(Selected(), (std::vector<int>{4}));
  in.Click(145, 20);
  EXPECT_TRUE(Selected().empty());
  ASSERT_EQ(Clicks.size(), 3u);
  EXPECT_EQ(Clicks[1].Id, 4);
  EXPECT_EQ(Clicks[2].Id, 0);
  EXPECT_EQ(Clicks[2].X, 145);
  // Multiple: a click toggles, Shift+click adds the range from the last clicked slide.
  T->SetSlideSelectMode(ssmMultiple);
  in.Click(20, 20);                       // 1
  in.Click(300, 150);                     // 6
  in.Click(300, 150);                     // 6 again: off
  in.Click(150, 20);                      // 2
  in.Click(300, 290, mbLeft, {ssShift});  // 9: 2..9 on
  EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  in.Click(20, 150);  // 4 off
  EXPECT_EQ(T->NumSlidesSelected(), 8);
  // A double click leaves the slide as its first click made it, and is reported.
  std::vector<int> dbl;
  T->OnImageDblClick = [&](TObject*, int, int, int Id) { dbl.push_back(Id); };
  in.DoubleClick(20, 150);
  EXPECT_TRUE(T->GetSelectedSlide(4));
  EXPECT_EQ(dbl, (std::vector<int>{4}));
  // Disabled: nothing changes, the click is still reported.
  T->SetSlideSelectMode(ssmDisabled);
  Clicks.clear();
  in.Click(20, 20);
  EXPECT_EQ(T->NumSlidesSelected(), 0);
  ASSERT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(Clicks[0].Id, 1);
}

TEST_F(ThumbnailsOnForm, FocusFollowsThePointerAndTheWheelScrollsARow) {
  int changes = 0;
  T->OnFocusChange = [&](TObject*) { ++changes; };
  THeadlessInput in(Form);
  in.MouseMove(150, 20);
  EXPECT_EQ(T->GetFocusedSlide(), 2);
  EXPECT_EQ(changes, 1);
  // The outline: one pixel at (X + 2, Y + 2) of the slide, in the focus colour.
  EXPECT_EQ(PixelAt(*Form->Surface(), 146 + 2, 12 + 2), clBlue);
  in.MouseMove(160, 30);  // same slide: no event
  EXPECT_EQ(changes, 1);
  in.WheelAt(160, 30, -120);  // a notch towards the user: one row down
  EXPECT_DOUBLE_EQ(T->GetFirstThumbIx(), 4);
  EXPECT_EQ(T->GetFocusedSlide(), 5);
  in.MouseMove(145, 30);  // a gap
  EXPECT_EQ(T->GetFocusedSlide(), 0);
  EXPECT_EQ(PixelAt(*Form->Surface(), 148, 14), clSilver);  // the cover is back
  T->SetHiliteThickn(0);
  in.MouseMove(150, 20);
  EXPECT_EQ(T->GetFocusedSlide(), 0);  // tracking off
  EXPECT_EQ(changes, 3);
}

// ---------------------------------------------------------------- copying, registry

TEST(ThumbnailsProperties, AssignCopiesAndTheRegistryKnowsTheDefaults) {
  RegisterThumbnailsClasses();
  RegisterThumbnailsClasses();
  const TClassInfo* info = FindClassInfo("TThumbnails");
  ASSERT_NE(info, nullptr);
  TThumbnails a(nullptr), b(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&a)) continue;
    EXPECT_TRUE(p->IsDefault(&a)) << p->Name;
  }
  int asked = 0;
  a.OnImageRequest = [&](TObject*, int, TImageRequestProcessing&, int&, TBitmap*) { ++asked; };
  a.SetFMax(500);
  a.SetFirstThumbIx(20);
  a.SetBaseSize(80);
  a.SetColorScheme(csSystem);
  a.SetAntiAlias(true);
  a.SetInnerFrameStyle(fsSimple);
  a.AssignTo(&b);
  EXPECT_EQ(b.GetMax(), 500);
  EXPECT_EQ(b.GetSlideSize(), 80);
  EXPECT_DOUBLE_EQ(b.GetFirstThumbIx(), a.GetFirstThumbIx());
  EXPECT_EQ(b.FrameDark(), clBtnShadow);
  EXPECT_TRUE(b.GetAntiAlias());
  EXPECT_EQ(b.GetInnerFrameStyle(), fsSimple);
  Render(b);
  EXPECT_GT(asked, 0);  // the host's request event came along
  SetPropText(&b, *info->FindProperty("SlideSelectMode"), "ssmMultiple");
  EXPECT_EQ(b.GetSlideSelectMode(), ssmMultiple);
  // A form that gives the size before the width: the width read with it is the limit.
  for (const char* width : {"400", "100"}) {
    std::unique_ptr<TThumbnails> f(CreateFromText<TThumbnails>(
        std::string("object S: TThumbnails\n  SlideSize = 300\n  Width = ") + width +
            "\n  Max = 9\nend\n",
        nullptr));
    EXPECT_EQ(f->GetSlideSize(), std::string(width) == "400" ? 300 : 100) << width;
    EXPECT_EQ(f->NumColumns(), 1);
  }
}

// Three strips: the defaults with numbered cards and a selection; two columns of pictures
// (portrait and landscape) with marks, scrolled by half a row; small slides in other frames.
TEST(ThumbnailsGolden, ThreeStrips) {
  TThumbnails a(nullptr), b(nullptr), c(nullptr);
  for (TThumbnails* t : {&a, &b, &c}) t->GetFont()->SetQuality(fqNonAntialiased);
  a.SetSelectedSlide(2, true);
  b.SetBounds(0, 0, 300, 400);
  b.SetBaseSize(100);
  b.SetFMax(40);
  b.SetSlideSelectMode(ssmMultiple);
  b.SetSelectedSlide(5, true);
  b.SetFirstThumbIx(4);
  b.OnImageRequest = [](TObject*, int Id, TImageRequestProcessing& How, int& Mark, TBitmap* B) {
    How = Id % 5 == 0 ? irpShowFrameOnly : irpShowSlide;
    if (Id % 2) {
      FillPicture(B, 30, 50, static_cast<TColor>(0x40A0E0));
    } else {
      FillPicture(B, 64, 36, static_cast<TColor>(0xC08040));
    }
    if (Id % 3 == 0) Mark = Id % 52;
  };
  c.SetBaseSize(50);
  c.SetSlideMargin(4);
  c.SetSlideDist(6);
  c.SetFrameStyle(fsEmbossed);
  c.SetOuterFrameStyle(fsSimple);
  c.SetColorBackGnd(0xF0F0E0);
  c.SetColorCover(0xE0E0E0);
  TBitmap page(260 + 300 + 260, 400);
  page.Canvas()->Draw(0, 0, Render(a).get());
  page.Canvas()->Draw(260, 0, Render(b).get());
  page.Canvas()->Draw(560, 0, Render(c).get());
  test::ExpectMatchesGolden(page, "thumbnails_strips");
}

}  // namespace
}  // namespace qel

// TNumIO2's drawing probed at the coordinates its geometry gives: the text box in every frame
// style and in the warning colours, the number and the outside texts for each alignment, the
// spin buttons, the gauge, the selection and the blinking caret.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "numio/QEL_NumIO.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountPixels;
using test::InkBounds;
using test::PixelAt;

const TColor kFace = ColorToRGB(clBtnFace);

// A field painted on its own into a bitmap, with plain (not anti-aliased) text so that text
// colours can be counted exactly.
class NumIO2Paint : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    N = std::make_unique<TNumIO2>(nullptr);
    N->GetFont()->SetQuality(fqNonAntialiased);
  }
  void TearDown() override {
    N.reset();
    ResetHeadlessApplication();
  }
  const TBitmap& Paint() {
    Bmp = std::make_unique<TBitmap>(N->GetWidth(), N->GetHeight());
    N->PaintTo(Bmp.get());
    return *Bmp;
  }
  TColor At(int X, int Y) const { return PixelAt(*Bmp, X, Y); }
  int TextWidth(const std::string& S) const {
    TCanvas c;
    c.Font()->Assign(N->GetFont());
    return c.TextWidth(S);
  }
  std::unique_ptr<TNumIO2> N;
  std::unique_ptr<TBitmap> Bmp;
};

// ---------------------------------------------------------------- the box

TEST_F(NumIO2Paint, BoxFrameStylesDrawTheirEdges) {
  // Box 35..117 x 0..28 (LeftSpace 35, TextBoxWidth 80, no gauge), empty text.
  struct Case {
    TFrameStyle Style;
    TColor Outline, LeftTop, RightBottom;
  };
  for (const Case& c :
       {Case{fsLowered, clGray, clBlack, clWhite}, Case{fsRaised, clGray, clWhite, clBlack},
        Case{fsEmbossed, clWhite, clGray, clGray}, Case{fsEngraved, clGray, clWhite, clWhite}}) {
    N->SetFrameStyle(c.Style);
    Paint();
    SCOPED_TRACE(static_cast<int>(c.Style));
    EXPECT_EQ(At(35, 0), c.Outline);
    EXPECT_EQ(At(35, 10), c.Outline);
    EXPECT_EQ(At(116, 10), c.Outline);
    EXPECT_EQ(At(50, 26), c.Outline);
    EXPECT_EQ(At(36, 10), c.LeftTop);
    EXPECT_EQ(At(50, 1), c.LeftTop);
    EXPECT_EQ(At(50, 27), c.RightBottom);
    EXPECT_EQ(At(117, 10), c.RightBottom);
    EXPECT_EQ(At(40, 5), clWhite);
    EXPECT_EQ(At(34, 10), kFace);
    EXPECT_EQ(At(118, 10), kFace);
  }
  N->SetFrameStyle(fsSimple);
  Paint();
  EXPECT_EQ(At(35, 0), clGray);
  EXPECT_EQ(At(116, 27), clGray);
  EXPECT_EQ(At(36, 10), clWhite);
  EXPECT_EQ(At(117, 10), kFace);
  N->SetFrameStyle(fsNone);
  Paint();
  EXPECT_EQ(At(35, 0), clWhite);
  EXPECT_EQ(At(116, 27), clWhite);
}

TEST_F(NumIO2Paint, WarningColoursWhileOutOfRange) {
  N->SetText("500");
  Paint();
  const TRect clip = N->NumberClipRect();
  EXPECT_EQ(At(40, 4), clWhite);
  EXPECT_GT(CountPixels(*Bmp, clip, clBlack), 0);
  EXPECT_EQ(CountPixels(*Bmp, clip, clRed), 0);

  N->SetText("2000");
  Paint();
  EXPECT_EQ(At(40, 4), static_cast<TColor>(0x88FFF0));  // blue 0x88, green 0xFF, red 0xF0
  EXPECT_EQ(At(110, 20), static_cast<TColor>(0x88FFF0));
  EXPECT_GT(CountPixels(*Bmp, clip, clRed), 0);
  EXPECT_EQ(CountPixels(*Bmp, clip, clBlack), 0);
  EXPECT_EQ(At(35, 0), clGray);  // a bevelled frame keeps its edges

  N->SetFrameStyle(fsNone);
  Paint();
  EXPECT_EQ(At(35, 0), static_cast<TColor>(0x88FFF0));  // the flat frame takes the warning too

  N->SetEnabled(false);
  Paint();
  EXPECT_EQ(At(40, 4), clSilver);
  EXPECT_EQ(At(35, 0), clSilver);
  EXPECT_EQ(CountPixels(*Bmp, clip, clRed), 0);
  EXPECT_GT(CountPixels(*Bmp, clip, clGray), 0);
}

// ---------------------------------------------------------------- texts

TEST_F(NumIO2Paint, NumberSitsWhereItsAlignmentSays) {
  N->SetText("808");
  const int tw = TextWidth("808");
  struct Case {
    TAlignment Align;
    int X;
  };
  for (const Case& c : {Case{taLeftJustify, 35 + 4}, Case{taRightJustify, 35 + 80 - tw - 2},
                        Case{taCenter, 35 + (80 - tw) / 2 + 2}}) {
    N->SetAlignment(c.Align);
    Paint();
    const TRect ink = InkBounds(*Bmp, N->NumberClipRect(), clWhite);
    SCOPED_TRACE(static_cast<int>(c.Align));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, c.X);
    EXPECT_LE(ink.Left, c.X + 2);
    EXPECT_LE(ink.Right, c.X + tw + 1);
    EXPECT_GE(ink.Top, N->TextTop());
    EXPECT_EQ(N->CharPosToXCoords(0), c.X);
    EXPECT_EQ(N->CharPosToXCoords(3), c.X + tw);
  }
}

TEST_F(NumIO2Paint, OutsideTextsSitWhereTheirAlignmentsSay) {
  N->SetLeftText("Ab");
  N->SetRightText("mV");
  const int lw = TextWidth("Ab"), rw = TextWidth("mV");
  const int W = N->GetWidth(), H = N->GetHeight();
  const TRect leftZone = Rect(0, 0, 35, H), rightZone = Rect(118, 0, W, H);
  struct Case {
    TAlignment Align;
    int LeftX, RightX;
  };
  for (const Case& c :
       {Case{taLeftJustify, 7, 35 + 80 + 7}, Case{taRightJustify, 35 - lw - 5, W - rw - 6},
        Case{taCenter, (35 - lw) / 2, (W - 115 - rw) / 2 + 115 + 1}}) {
    N->SetLeftTextAlignment(c.Align);
    N->SetRightTextAlignment(c.Align);
    Paint();
    SCOPED_TRACE(static_cast<int>(c.Align));
    const TRect l = InkBounds(*Bmp, leftZone, kFace), r = InkBounds(*Bmp, rightZone, kFace);
    ASSERT_FALSE(l.IsEmpty());
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_GE(l.Left, c.LeftX);
    EXPECT_LE(l.Left, c.LeftX + 2);
    EXPECT_GE(r.Left, c.RightX);
    EXPECT_LE(r.Left, c.RightX + 2);
    EXPECT_EQ(CountPixels(*Bmp, leftZone, clWhite), 0);
  }
  // Spin buttons push the right text further right.
  N->SetRightTextAlignment(taLeftJustify);
  N->SetButVisible(true);
  Paint();
  EXPECT_GE(InkBounds(*Bmp, Rect(140, 0, W, H), kFace).Left, 35 + 18 + 3 + 80 + 7);
  // Disabled texts are embossed: a white shadow beside the gray.
  N->SetEnabled(false);
  Paint();
  EXPECT_GT(CountPixels(*Bmp, leftZone, clWhite), 0);
  EXPECT_GT(CountPixels(*Bmp, leftZone, clGray), 0);
  EXPECT_EQ(CountPixels(*Bmp, leftZone, clBlack), 0);
}

// ---------------------------------------------------------------- buttons and gauge

TEST_F(NumIO2Paint, SpinButtonsWithBevelsAndArrows) {
  N->SetButVisible(true);
  Paint();
  // x0 = 35 + 80 + 3 = 118, half height 14, arrow centre 127, q 7, d 21.
  EXPECT_EQ(At(118, 5), clGray);
  EXPECT_EQ(At(136, 5), clGray);
  EXPECT_EQ(At(130, 0), clGray);
  EXPECT_EQ(At(130, 13), clGray);  // divider
  EXPECT_EQ(At(119, 5), clWhite);
  EXPECT_EQ(At(130, 1), clWhite);
  EXPECT_EQ(At(130, 14), clWhite);
  EXPECT_EQ(At(137, 10), clBlack);
  EXPECT_EQ(At(130, 27), clBlack);
  EXPECT_EQ(At(122, 4), clSilver);
  for (int x : {127, 128}) EXPECT_EQ(At(x, 6), clBlack) << x;
  EXPECT_EQ(At(129, 6), clSilver);
  for (int x = 125; x <= 130; ++x) EXPECT_EQ(At(x, 8), clBlack) << x;
  EXPECT_EQ(At(127, 21), clBlack);
  for (int x = 125; x <= 130; ++x) EXPECT_EQ(At(x, 19), clBlack) << x;
  EXPECT_EQ(At(138, 10), kFace);

  N->SetBut3D(false);
  N->SetEnabled(false);
  Paint();
  EXPECT_EQ(At(119, 5), clSilver);
  EXPECT_EQ(At(127, 6), clGray);
}

TEST_F(NumIO2Paint, GaugeBarFollowsTheValue) {
  N->SetHeight(40);
  N->SetGaugeVisible(true);
  N->SetValue(500);
  Paint();
  // Gauge 35..117 x 31..39: bar to 35 + round(82 * 0.5) = 76.
  EXPECT_EQ(At(50, 35), clNavy);
  EXPECT_EQ(At(75, 35), clNavy);
  EXPECT_EQ(At(76, 35), clSilver);
  EXPECT_EQ(At(100, 35), clSilver);
  EXPECT_EQ(At(35, 35), clGray);   // outline
  EXPECT_EQ(At(36, 35), clBlack);  // lowered bevel, left-top
  EXPECT_EQ(At(60, 39), clWhite);  // right-bottom
  EXPECT_EQ(At(117, 35), clWhite);
  EXPECT_EQ(At(34, 35), kFace);
  // The box ends above the gauge band (40 - 12 = 28).
  EXPECT_EQ(At(50, 27), clWhite);
  EXPECT_EQ(At(50, 28), kFace);

  N->SetValue(-3);
  Paint();
  EXPECT_EQ(At(50, 35), clSilver);
  N->SetRangeHigh(0);  // an empty range shows a full bar
  N->SetRangeLow(0);
  Paint();
  EXPECT_EQ(At(110, 35), clNavy);
  N->SetEnabled(false);
  Paint();
  EXPECT_EQ(At(110, 35), clGray);

  N->SetEnabled(true);
  N->SetGaugeFrameStyle(fsNone);
  Paint();
  EXPECT_EQ(At(36, 35), clNavy);
}

// ---------------------------------------------------------------- selection and caret

TEST_F(NumIO2Paint, SelectionIsInvertedOnlyWhereItSpans) {
  N->SetAlignment(taLeftJustify);
  N->SetText("888");
  N->SetSelBegin(0);
  N->SetSelEnd(3);
  Paint();
  EXPECT_EQ(At(40, 3), clWhite);  // hidden: not focused
  N->SetHideSelection(false);
  Paint();
  const int x1 = N->CharPosToXCoords(0), x2 = N->CharPosToXCoords(3);
  EXPECT_EQ(At(x1, 3), clBlack);
  EXPECT_EQ(At(x2 - 1, 24), clBlack);
  EXPECT_EQ(At(x1 - 1, 3), clWhite);
  EXPECT_EQ(At(x2, 3), clWhite);
  EXPECT_EQ(At(x1, 2), clWhite);
  EXPECT_EQ(At(x1, 25), clWhite);
}

TEST(NumIO2Caret, BlinksOnTheFormSurface) {
  ResetHeadlessApplication();
  {
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    auto* n = new TNumIO2(&form);
    n->SetParent(&form);
    n->SetBounds(20, 30, 160, 28);
    n->SetAlignment(taLeftJustify);
    form.Show();
    n->SetFocus();
    Application->ProcessMessages();
    const TBitmap& s = *form.Surface();
    // Empty text, left aligned: the caret stands 3 right of the box edge, rows 3..24.
    const int cx = 20 + 35 + 3;
    EXPECT_EQ(PixelAt(s, cx, 30 + 3), clBlack);
    EXPECT_EQ(PixelAt(s, cx, 30 + 24), clBlack);
    EXPECT_EQ(PixelAt(s, cx, 30 + 25), clWhite);
    EXPECT_EQ(PixelAt(s, cx + 1, 30 + 10), clWhite);
    Application->AdvanceTime(500);
    EXPECT_EQ(PixelAt(s, cx, 30 + 10), clWhite);
    Application->AdvanceTime(500);
    EXPECT_EQ(PixelAt(s, cx, 30 + 10), clBlack);
    // Centred text: the caret after the last character.
    n->SetAlignment(taCenter);
    n->SetText("12");
    n->SetSelBegin(2);
    Application->ProcessMessages();
    TCanvas c;
    c.Font()->Assign(n->GetFont());
    const int tw = c.TextWidth("12");
    const int mx = 20 + 35 + tw + (80 - tw) / 2 + 1;
    EXPECT_EQ(n->CaretOffset(), tw + (80 - tw) / 2 + 1);
    EXPECT_EQ(PixelAt(s, mx, 30 + 4), clBlack);
  }
  ResetHeadlessApplication();
}

// Several fields on one image: each draws its own box. Set QEL_NUMIO2_PNG to a file name to
// look at the result.
TEST(NumIO2Overview, SeveralFieldsOnOneImage) {
  ResetHeadlessApplication();
  TForm form(nullptr);
  form.SetBounds(0, 0, 260, 200);
  struct FieldCase {
    TInFormat Fmt;
    const char* Text;
    bool Buttons, Gauge, Enabled;
  };
  const FieldCase cases[] = {{itFloat, "12.5", true, true, true},
                        {itHex, "00FF", false, false, true},
                        {itFixPoint, "1234.50", true, false, true},
                        {itExp, "1.5E3", false, true, false}};
  int y = 4;
  for (const FieldCase& s : cases) {
    auto* n = new TNumIO2(&form);
    n->SetParent(&form);
    n->SetBounds(4, y, 250, s.Gauge ? 40 : 28);
    n->SetInputFormat(s.Fmt);
    n->SetText(s.Text);
    n->SetLeftText("U");
    n->SetRightText("V");
    n->SetButVisible(s.Buttons);
    n->SetGaugeVisible(s.Gauge);
    n->SetEnabled(s.Enabled);
    y += n->GetHeight() + 6;
  }
  TBitmap bmp(260, 200);
  form.PaintTo(&bmp);
  y = 4;
  for (const FieldCase& s : cases) {
    EXPECT_EQ(PixelAt(bmp, 4 + 35, y), clGray) << s.Text;
    y += (s.Gauge ? 40 : 28) + 6;
  }
  if (const char* f = std::getenv("QEL_NUMIO2_PNG")) bmp.SaveToFile(f);
}

}  // namespace
}  // namespace qel

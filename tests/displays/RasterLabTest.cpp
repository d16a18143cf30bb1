// TRasterLab: setter ranges, the built-in raster (the fixed examples and the shape of every
// other glyph), sampled fonts, text length, auto height and centre, dots, grid, blank columns
// and frames at their pixels, the four scroll modes in virtual time with their loop restarts,
// the timer error and exceptions from the tick event.
#include <gtest/gtest.h>

#include "displays/QEL_RasterLab.h"
#include "frame/QEL_errors.h"
#include "platform/backends/headless/Headless.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

constexpr TColor kDotOff = 0x404040;

std::unique_ptr<TBitmap> Render(TRasterLab& R) {
  auto b = std::make_unique<TBitmap>(R.GetWidth(), R.GetHeight());
  test::FillBitmap(*b, 0xFF00FF);
  R.PaintTo(b.get());
  return b;
}

int LitPixels(TRasterLab& R) {
  auto b = Render(R);
  return test::CountPixels(*b, Rect(0, 0, b->GetWidth(), b->GetHeight()), R.GetColorDotOn());
}

class RasterLab : public ::testing::Test {
 protected:
  void SetUp() override { ResetHeadlessApplication(); }
  void TearDown() override { ResetHeadlessApplication(); }
};

TEST_F(RasterLab, SetterRanges) {
  TRasterLab r(nullptr);
  r.SetDotSize(0);
  EXPECT_EQ(r.GetDotSize(), 1);
  r.SetDotSize(40);
  EXPECT_EQ(r.GetDotSize(), 32);
  r.SetDotSpacing(5);
  EXPECT_EQ(r.GetDotSpacing(), 3);
  r.SetDotSpacing(-1);
  EXPECT_EQ(r.GetDotSpacing(), 0);
  r.SetScrollInterval(5);
  EXPECT_EQ(r.GetScrollInterval(), 10);
  r.SetScrollIncrement(-3);
  EXPECT_EQ(r.GetScrollIncrement(), 3);
  r.SetScrollIncrement(0);
  EXPECT_EQ(r.GetScrollIncrement(), 1);
  r.SetScrollIncrement(INT32_MIN);
  EXPECT_EQ(r.GetScrollIncrement(), INT32_MAX);
}

TEST_F(RasterLab, BuiltInRasterExamplesAndEveryGlyph) {
  const TRDCharMatrix& m = DefaultRasterFont();
  EXPECT_EQ(m.Width, 7);
  EXPECT_EQ(m.Height, 12);
  const uint32_t zero[12] = {0, 28, 34, 34, 34, 34, 34, 34, 34, 28, 0, 0};
  const uint32_t a[12] = {0, 8, 8, 20, 20, 34, 62, 34, 34, 119, 0, 0};
  for (int r = 0; r < 12; ++r) {
    EXPECT_EQ(m.Rows['0'][r], zero[r]) << r;
    EXPECT_EQ(m.Rows['A'][r], a[r]) << r;
    EXPECT_EQ(m.Rows[' '][r], 0u);
  }
  EXPECT_EQ(m.FirstCol['0'], 1);
  EXPECT_EQ(m.LastCol['0'], 5);
  EXPECT_EQ(m.FirstCol['A'], 0);
  EXPECT_EQ(m.LastCol['A'], 6);
  EXPECT_EQ(m.FirstCol[' '], 0);
  EXPECT_EQ(m.LastCol[' '], 6);
  // Every printable code has dots inside the 7 x 12 cell, between its first and last column,
  // and no two printable glyphs look the same.
  for (int code = 33; code < 256; ++code) {
    if (code >= 127 && code <= 160) continue;
    uint32_t all = 0;
    for (int r = 0; r < 32; ++r) {
      if (r >= 12) {
        EXPECT_EQ(m.Rows[code][r], 0u) << code;
      }
      all |= m.Rows[code][r];
    }
    EXPECT_NE(all, 0u) << code;
    EXPECT_EQ(all & ~0x7Fu, 0u) << code;
    EXPECT_TRUE(all & (1u << m.FirstCol[code])) << code;
    EXPECT_TRUE(all & (1u << m.LastCol[code])) << code;
    for (int other = 33; other < code; ++other) {
      // The soft hyphen is a hyphen.
      if ((other >= 127 && other <= 160) || (code == 173 && other == '-')) continue;
      bool same = true;
      for (int r = 0; r < 12 && same; ++r) same = m.Rows[code][r] == m.Rows[other][r];
      EXPECT_FALSE(same) << code << " looks like " << other;
    }
  }
  // An accented capital keeps its letter below the accent.
  EXPECT_NE(m.Rows[0xC9][0], 0u);  // E acute
  EXPECT_EQ(m.Rows[0xC9][9], m.Rows['E'][9]);
}

TEST_F(RasterLab, TextLengthAutoHeightAndCentre) {
  TRasterLab r(nullptr);
  r.SetText("0A");
  // Proportional: (5 - 1 + 2) + (6 - 0 + 2) columns of pitch 4.
  EXPECT_EQ(r.CalcTextBitLength(), (6 + 8) * 4);
  r.SetProportional(false);
  EXPECT_EQ(r.CalcTextBitLength(), 2 * 8 * 4);
  r.SetProportional(true);
  r.SetAutoHeight(true);
  EXPECT_EQ(r.GetHeight(), 49);
  r.SetFrameStyle(fsEmbossed);
  EXPECT_EQ(r.GetHeight(), 50);
  r.SetFrameStyle(fsNone);
  EXPECT_EQ(r.GetHeight(), 48);
  r.SetDotSize(1);
  r.SetDotSpacing(0);
  EXPECT_EQ(r.GetHeight(), 12);
  r.SetDotSize(3);
  r.SetDotSpacing(1);
  r.SetFrameStyle(fsLowered);
  r.SetAutoCenter(true);
  EXPECT_EQ(r.GetPosX(), (400 - 56) / 2 + 1 + 1);
  r.SetText("0");
  EXPECT_EQ(r.GetPosX(), (400 - 24) / 2 + 2);
  r.SetWidth(300);
  EXPECT_EQ(r.GetPosX(), (300 - 24) / 2 + 2);
  r.SetAutoCenter(false);
  EXPECT_EQ(r.GetPosX(), 1);
  // Characters beyond Latin-1 show as '?'.
  r.SetText("\xE2\x82\xAC");
  ASSERT_EQ(r.TextCodes().size(), 1u);
  EXPECT_EQ(r.TextCodes()[0], '?');
}

TEST_F(RasterLab, DotsGridBlankColumnsAndFrame) {
  TRasterLab r(nullptr);
  r.SetText("0");
  auto b = Render(r);
  // '0' starts in column 1: its top row (row 1) has dots in columns 2..4 -> x 5.., y 5..
  EXPECT_EQ(PixelAt(*b, 5, 5), clLime);
  EXPECT_EQ(PixelAt(*b, 7, 7), clLime);
  EXPECT_EQ(PixelAt(*b, 8, 6), clBlack);     // a gap of the grid
  EXPECT_EQ(PixelAt(*b, 2, 6), kDotOff);     // column 1 of row 1 is unlit
  EXPECT_EQ(PixelAt(*b, 22, 30), clBlack);   // blank column after the glyph (x 21..24)
  EXPECT_EQ(PixelAt(*b, 26, 30), kDotOff);   // the grid goes on after it
  EXPECT_EQ(PixelAt(*b, 0, 30), clGray);     // lowered frame: shadow outside,
  EXPECT_EQ(PixelAt(*b, 1, 30), clBlack);    // dark inside,
  EXPECT_EQ(PixelAt(*b, 399, 30), clWhite);  // highlight right and bottom
  EXPECT_EQ(PixelAt(*b, 200, 67), clWhite);
  r.SetCharBlockMode(rdbmOff);
  b = Render(r);
  EXPECT_EQ(PixelAt(*b, 2, 6), clBlack);
  EXPECT_EQ(PixelAt(*b, 5, 5), clLime);
  r.SetCharBlockMode(rdbmRaster);  // the grid without blank columns
  b = Render(r);
  EXPECT_EQ(PixelAt(*b, 22, 30), kDotOff);
  r.SetFrameStyle(fsEmbossed);
  b = Render(r);
  EXPECT_EQ(PixelAt(*b, 0, 30), clWhite);
  EXPECT_EQ(PixelAt(*b, 1, 30), clGray);
  r.SetFrameStyle(fsNone);
  r.SetDotSize(1);
  r.SetDotSpacing(0);
  b = Render(r);
  EXPECT_EQ(PixelAt(*b, 2, 2), clLime);  // column 2 of row 1 at pitch 1
  EXPECT_EQ(LitPixels(r), 3 + 2 * 7 + 3);
}

TEST_F(RasterLab, SampledFont) {
  TRasterLab r(nullptr);
  r.GetFont()->SetName("Arial");
  r.GetFont()->SetSize(12);
  const TRDCharMatrix& m = r.GetCharMatrix();
  EXPECT_GT(m.Height, 8);
  EXPECT_LE(m.Height, 32);
  EXPECT_GT(m.Width, 5);
  EXPECT_EQ(m.FirstCol[' '], 0);
  EXPECT_EQ(m.LastCol[' '], m.Width / 2);
  EXPECT_LT(m.LastCol['i'] - m.FirstCol['i'], m.LastCol['W'] - m.FirstCol['W']);
  r.SetText("W");
  EXPECT_GT(LitPixels(r), 20);
  r.GetFont()->SetName("DEFAULT");  // back to the built-in raster, any case
  EXPECT_EQ(r.GetCharMatrix().Height, 12);
  EXPECT_EQ(r.GetCharMatrix().Rows['0'][1], 28u);
}

TEST_F(RasterLab, ScrollRightLoopsFromFullyOutside) {
  TRasterLab r(nullptr);
  r.SetText("0");
  int ticks = 0, restarts = 0;
  r.SetOnScrollTimer([&](TObject* S) {
    EXPECT_EQ(S, &r);
    ++ticks;
  });
  r.OnScrollLoopRestart = [&](TObject*) { ++restarts; };
  r.SetScrollIncrement(50);
  r.SetScrollMode(rdsmRight);
  EXPECT_TRUE(r.TimerRunning());
  Application->AdvanceTime(99);
  EXPECT_EQ(ticks, 0);
  Application->AdvanceTime(1);
  EXPECT_EQ(r.HorzOffset(), 50);
  Application->AdvanceTime(700);  // offsets 100 .. 400: still not beyond the width
  EXPECT_EQ(r.HorzOffset(), 400);
  EXPECT_EQ(restarts, 0);
  Application->AdvanceTime(100);  // 450 > 400: back to minus the text length
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(r.HorzOffset(), -r.DrawnTextLength());
  EXPECT_EQ(LitPixels(r), 0);  // fully outside at first
  Application->AdvanceTime(100);
  EXPECT_GT(LitPixels(r), 0);
  EXPECT_EQ(ticks, 10);
  r.SetScrollMode(rdsmOff);
  EXPECT_EQ(r.HorzOffset(), 0);
  EXPECT_FALSE(r.TimerRunning());
  EXPECT_EQ(Application->TimerCount(), 0);
}

TEST_F(RasterLab, ScrollLeftDownUpMirrorRight) {
  TRasterLab r(nullptr);
  r.SetText("0");
  int restarts = 0;
  r.OnScrollLoopRestart = [&](TObject*) { ++restarts; };
  r.SetScrollInterval(10);
  r.SetScrollIncrement(10);
  r.SetScrollMode(rdsmLeft);
  // The text (1 .. 25) leaves the left edge once 1 + offset + 25 < 0.
  Application->AdvanceTime(30);
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(r.HorzOffset(), 400 - 1);  // the text starts at the right edge
  EXPECT_EQ(LitPixels(r), 0);
  Application->AdvanceTime(20);
  EXPECT_GT(LitPixels(r), 0);  // coming in at the right edge

  r.SetScrollMode(rdsmOff);
  EXPECT_EQ(r.HorzOffset(), 0);
  r.SetScrollMode(rdsmDown);
  restarts = 0;
  Application->AdvanceTime(70);  // 70 > 68
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(r.VertOffset(), -(1 + 12 * 4));
  EXPECT_EQ(LitPixels(r), 0);
  Application->AdvanceTime(20);
  EXPECT_GT(LitPixels(r), 0);  // the bottom row of the '0' enters at the top

  r.SetScrollMode(rdsmOff);
  r.SetScrollMode(rdsmUp);
  restarts = 0;
  // Up until the text (1 + offset .. + 48) is above the top edge: offset -50.
  while (restarts == 0) Application->AdvanceTime(10);
  EXPECT_EQ(r.VertOffset(), 68 - 1);
  EXPECT_EQ(LitPixels(r), 0);
  Application->AdvanceTime(10);
  EXPECT_GT(LitPixels(r), 0);
}

TEST_F(RasterLab, WithoutLoopTheTextTravelsOn) {
  TRasterLab r(nullptr);
  r.SetScrollLoop(false);
  r.SetScrollIncrement(100);
  r.SetScrollInterval(10);
  int restarts = 0;
  r.OnScrollLoopRestart = [&](TObject*) { ++restarts; };
  r.SetScrollMode(rdsmRight);
  Application->AdvanceTime(100);
  EXPECT_EQ(r.HorzOffset(), 1000);
  EXPECT_EQ(restarts, 0);
  EXPECT_EQ(LitPixels(r), 0);
}

TEST_F(RasterLab, NoTimerAndExceptionsFromTheTick) {
  TRasterLab r(nullptr);
  r.SetName("Ras");
  Application->SetTimersFail(true);
  try {
    r.SetScrollMode(rdsmUp);
    FAIL() << "no error";
  } catch (const EQELRasterLabError& E) {
    EXPECT_EQ(E.Message, "Component \"Ras\": no timer available");
  }
  Application->SetTimersFail(false);
  r.SetScrollMode(rdsmOff);
  r.SetOnScrollTimer([](TObject*) { throw Exception("tick failed"); });
  r.SetScrollMode(rdsmDown);
  Application->AdvanceTime(100);
  ASSERT_EQ(HeadlessBackend()->Errors.size(), 1u);
  EXPECT_EQ(HeadlessBackend()->Errors[0], "tick failed");
  EXPECT_EQ(r.VertOffset(), 1);  // the step happened before the event
}

TEST_F(RasterLab, DesignTimeRunsNoTimer) {
  TRasterLab r(nullptr);
  r.SetDesigning(true);
  r.SetScrollMode(rdsmRight);
  EXPECT_FALSE(r.TimerRunning());
  EXPECT_EQ(Application->TimerCount(), 0);
  Application->AdvanceTime(1000);
  EXPECT_EQ(r.HorzOffset(), 0);
}

TEST_F(RasterLab, AssignCopiesTheListedValues) {
  TRasterLab a(nullptr), b(nullptr);
  a.SetText("Hello");
  a.SetColorDotOn(clRed);
  a.SetColorScheme(csSystem);
  a.SetFrameStyle(fsSimple);
  b.Assign(&a);
  EXPECT_EQ(b.GetText(), "Hello");
  EXPECT_EQ(b.GetColorDotOn(), clRed);
  EXPECT_EQ(b.GetFrameHighlight(), clBtnHighlight);
  EXPECT_EQ(b.GetFrameStyle(), fsSimple);
}

}  // namespace
}  // namespace qel

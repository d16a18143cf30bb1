// TSevenSeg: the caption walk (points, upper case, unknown characters, excess digits), segments
// probed lit and unlit in every cell, the white-to-0xFEFEFE rule, setter ranges, the cache
// following resizes, and Assign.
#include <gtest/gtest.h>

#include "displays/QEL_sevenseg.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

// Centres of the pieces in the 312 x 432 master cell.
struct TMasterPoint {
  int X, Y;
};
constexpr TMasterPoint kSeg[8] = {{0, 0},     {194, 19}, {71, 118},  {278, 118},
                                  {157, 216}, {34, 315}, {241, 315}, {120, 413}};
constexpr TMasterPoint kDot = {288, 413};
constexpr TMasterPoint kColonLow = {122 + 18, 121 + 172};

constexpr TColor kBack = 0x333333;

// A display large enough that every segment is several pixels thick: cells of 80 x 220.
class SevenSeg : public ::testing::Test {
 protected:
  void SetUp() override { S.SetBounds(0, 0, 344, 236); }
  TColor Probe(int Cell, TMasterPoint P) {
    TBitmap b(S.GetWidth(), S.GetHeight());
    S.PaintTo(&b);
    const TRect r = S.DigitRect(Cell);
    return PixelAt(b, r.Left + P.X * S.CellWidth() / 312, r.Top + P.Y * S.CellHeight() / 432);
  }
  bool Lit(int Cell, TMasterPoint P) { return Probe(Cell, P) == clRed; }
  bool Unlit(int Cell, TMasterPoint P) { return Probe(Cell, P) == kBack; }
  TSevenSeg S{nullptr};
};

TEST_F(SevenSeg, DigitsWithAPoint) {
  S.SetCaption("12.34");
  EXPECT_TRUE(Lit(0, kSeg[3]));
  EXPECT_TRUE(Unlit(0, kSeg[1]));
  EXPECT_TRUE(Unlit(0, kDot));
  EXPECT_TRUE(Lit(1, kSeg[1]));
  EXPECT_TRUE(Unlit(1, kSeg[2]));
  EXPECT_TRUE(Lit(1, kDot));
  EXPECT_TRUE(Lit(2, kSeg[7]));
  EXPECT_TRUE(Unlit(2, kSeg[5]));
  EXPECT_TRUE(Unlit(2, kDot));
  EXPECT_TRUE(Lit(3, kSeg[2]));
  EXPECT_TRUE(Unlit(3, kSeg[1]));
}

TEST_F(SevenSeg, LonePointAndComma) {
  S.SetCaption(".5");
  EXPECT_TRUE(Lit(0, kDot));
  EXPECT_TRUE(Unlit(0, kSeg[4]));
  EXPECT_TRUE(Lit(1, kSeg[1]));
  EXPECT_TRUE(Unlit(1, kSeg[3]));
  S.SetCaption("7,");
  EXPECT_TRUE(Lit(0, kDot));
  EXPECT_TRUE(Lit(0, kSeg[6]));
  EXPECT_EQ(S.Cells().size(), 1u);
}

TEST_F(SevenSeg, LettersUnknownCharactersAndExcessDigits) {
  S.SetCaption("abc");
  EXPECT_TRUE(Lit(0, kSeg[1]));  // A
  EXPECT_TRUE(Unlit(0, kSeg[7]));
  EXPECT_TRUE(Unlit(1, kSeg[1]));  // b
  EXPECT_TRUE(Lit(1, kSeg[7]));
  EXPECT_TRUE(Lit(2, kSeg[1]));  // C
  EXPECT_TRUE(Unlit(2, kSeg[4]));
  S.SetCaption("x 9");
  const auto cells = S.Cells();
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].Index, -1);
  EXPECT_EQ(cells[1].Index, -1);
  TBitmap b(S.GetWidth(), S.GetHeight());
  S.PaintTo(&b);
  EXPECT_EQ(test::CountOtherPixels(b, S.DigitRect(0), kBack), 0);
  EXPECT_TRUE(Lit(2, kSeg[4]));
  S.SetCaption("12345");
  ASSERT_EQ(S.Cells().size(), 4u);
  EXPECT_EQ(S.Cells()[3].Index, 4);
  EXPECT_TRUE(Lit(3, kSeg[2]));  // the 4 in the last cell; the 5 is dropped
}

TEST_F(SevenSeg, SymbolsFromTheirOwnBitmaps) {
  S.SetCaption("+:\xC2\xB0-");
  EXPECT_TRUE(Lit(0, kSeg[4]));  // the plus crosses the middle
  EXPECT_TRUE(Unlit(0, kSeg[1]));
  EXPECT_TRUE(Lit(1, kColonLow));
  EXPECT_TRUE(Unlit(1, kSeg[4]));
  EXPECT_EQ(S.Cells()[2].Index, 13);  // the degree sign, as UTF-8
  S.SetCaption(std::string("\xB0"));  // and as a Latin-1 byte
  EXPECT_EQ(S.Cells()[0].Index, 13);
  EXPECT_TRUE(Lit(0, {150 + 25, 69}));
  S.SetCaption("-");
  EXPECT_TRUE(Lit(0, kSeg[4]));
  EXPECT_TRUE(Unlit(0, kSeg[1]));
}

TEST_F(SevenSeg, WhiteSegmentsBecomeAlmostWhite) {
  S.SetColorText(clWhite);
  const TBitmap* c = S.Cache();
  EXPECT_EQ(test::CountPixels(*c, Rect(0, 0, c->GetWidth(), c->GetHeight()), clWhite), 0);
  const int cw = S.CellWidth(), ch = S.CellHeight();
  EXPECT_EQ(PixelAt(*c, 8 * cw + kSeg[4].X * cw / 312, kSeg[4].Y * ch / 432), 0xFEFEFE);
  // Recolouring again from the almost-white segments works like from any other colour.
  S.SetColorText(clLime);
  EXPECT_EQ(PixelAt(*c, 8 * cw + kSeg[4].X * cw / 312, kSeg[4].Y * ch / 432), clLime);
}

TEST_F(SevenSeg, SetterRanges) {
  S.SetNumDigits(0);
  S.SetNumDigits(33);
  EXPECT_EQ(S.GetNumDigits(), 4);
  S.SetNumDigits(32);
  EXPECT_EQ(S.GetNumDigits(), 32);
  TSevenSeg t(nullptr);
  t.SetMargin(100);
  EXPECT_EQ(t.GetMargin(), 37);
  t.SetInterDigDist(300);
  EXPECT_EQ(t.GetInterDigDist(), 255);
  // Cells of no width: nothing to cache, painting still works.
  EXPECT_LE(t.CellWidth(), 0);
  EXPECT_EQ(t.Cache()->GetWidth(), 0);
  TBitmap b(t.GetWidth(), t.GetHeight());
  t.PaintTo(&b);
  EXPECT_EQ(PixelAt(b, 100, 38), kBack);
}

TEST_F(SevenSeg, CacheFollowsResizeAndColours) {
  EXPECT_EQ(S.Cache()->GetWidth(), 21 * 80);
  EXPECT_EQ(S.Cache()->GetHeight(), 220);
  S.SetBounds(0, 0, 184, 136);  // cells of 40 x 120
  EXPECT_EQ(S.Cache()->GetWidth(), 21 * 40);
  EXPECT_EQ(S.Cache()->GetHeight(), 120);
  S.SetCaption("8");
  EXPECT_TRUE(Lit(0, kSeg[4]));
  S.SetColorBackGnd(clNavy);
  EXPECT_EQ(Probe(0, kSeg[1]), clRed);
  EXPECT_EQ(Probe(0, {5, 5}), clNavy);
}

TEST_F(SevenSeg, FrameAndAssign) {
  TBitmap b(S.GetWidth(), S.GetHeight());
  S.PaintTo(&b);
  EXPECT_EQ(PixelAt(b, 0, 50), clGray);  // lowered bevel
  EXPECT_EQ(PixelAt(b, S.GetWidth() - 1, 50), clWhite);
  S.SetCaption("C");
  S.SetColorText(clYellow);
  S.SetNumDigits(2);
  S.SetColorScheme(csSystem);
  TSevenSeg t(nullptr);
  t.SetBounds(0, 0, 184, 136);
  t.Assign(&S);
  EXPECT_EQ(t.GetCaption(), "C");
  EXPECT_EQ(t.GetNumDigits(), 2);
  EXPECT_EQ(t.GetFrameShadow(), clBtnShadow);
  EXPECT_EQ(t.Cache()->GetWidth(), 21 * t.CellWidth());
  TBitmap c(184, 136);
  t.PaintTo(&c);
  const TRect r = t.DigitRect(0);
  EXPECT_EQ(PixelAt(c, r.Left + kSeg[1].X * t.CellWidth() / 312,
                    r.Top + kSeg[1].Y * t.CellHeight() / 432),
            clYellow);
}

}  // namespace
}  // namespace qel

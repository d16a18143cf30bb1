// Block transfers: copy modes, stretching, mirroring, overlap, transparent drawing.
#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"
#include "tests/platform/graphics/CanvasTestUtil.h"

namespace qel {
namespace {

using testing::Dump;
using testing::Grid;

void SetRow(TBitmap& B, int Y, std::initializer_list<TColor> Colors) {
  int x = 0;
  for (TColor c : Colors) B.Canvas()->SetPixel(x++, Y, c);
}

TEST(CanvasCopyMode, EveryModeFollowsItsTruthTable) {
  const uint32_t S = 0x0F0F0F, D = 0x33CC55, P = 0x5AA55A, M = 0xFFFFFF;
  struct Case {
    TCopyMode Mode;
    uint32_t Want;
  };
  const Case cases[] = {
      {cmBlackness, 0},
      {cmDstInvert, ~D & M},
      {cmMergeCopy, P & S},
      {cmMergePaint, (~S | D) & M},
      {cmNotSrcCopy, ~S & M},
      {cmNotSrcErase, ~(S | D) & M},
      {cmPatCopy, P},
      {cmPatInvert, P ^ D},
      {cmPatPaint, (P | ~S | D) & M},
      {cmSrcAnd, S & D},
      {cmSrcCopy, S},
      {cmSrcErase, S & ~D & M},
      {cmSrcInvert, S ^ D},
      {cmSrcPaint, S | D},
      {cmWhiteness, M},
      {0x00B8074A, ((P & ~S) | (D & S)) & M},  // an unnamed code: pattern where the source is 0
  };
  TBitmap src(2, 2);
  testing::Fill(src, S);
  for (const Case& c : cases) {
    TBitmap dst(4, 4);
    testing::Fill(dst, D);
    dst.Canvas()->Brush()->SetColor(P);
    dst.Canvas()->SetCopyMode(c.Mode);
    dst.Canvas()->CopyRect(Rect(1, 1, 3, 3), src.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dst.Canvas()->GetPixel(1, 1), c.Want) << std::hex << c.Mode;
    EXPECT_EQ(dst.Canvas()->GetPixel(2, 2), c.Want) << std::hex << c.Mode;
    EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), D) << std::hex << c.Mode;
    EXPECT_EQ(dst.Canvas()->GetPixel(3, 3), D) << std::hex << c.Mode;
  }
}

TEST(CanvasCopyMode, OperationsWithoutASourceNeedNone) {
  TBitmap dst(3, 3);
  EXPECT_TRUE(BitBlt(dst.Canvas(), 0, 0, 2, 2, nullptr, 0, 0, cmBlackness));
  EXPECT_FALSE(BitBlt(dst.Canvas(), 0, 0, 3, 3, nullptr, 0, 0, cmSrcCopy));
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 3, 3, dst.Canvas(), 0, 0, cmSrcCopy));
  EXPECT_EQ(Dump(dst), Grid({"##.", "##.", "..."}));
}

TEST(CanvasStretch, HalftoneAveragesExactly) {
  TBitmap src(2, 2);
  SetRow(src, 0, {RGB(10, 20, 30), RGB(20, 30, 40)});
  SetRow(src, 1, {RGB(30, 40, 50), RGB(41, 50, 61)});
  TBitmap dst(1, 1);
  SetStretchBltMode(dst.Canvas(), HALFTONE);
  StretchBlt(dst.Canvas(), 0, 0, 1, 1, src.Canvas(), 0, 0, 2, 2, cmSrcCopy);
  // (10+20+30+41)/4 = 25.25, (20+30+40+50)/4 = 35, (30+40+50+61)/4 = 45.25
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), RGB(25, 35, 45));

  // Three pixels into two: each destination pixel takes one and a half source pixels.
  TBitmap row(3, 1), half(2, 1);
  SetRow(row, 0, {RGB(0, 0, 0), RGB(90, 90, 90), RGB(240, 240, 240)});
  half.Canvas()->SetStretchBltMode(HALFTONE);
  StretchBlt(half.Canvas(), 0, 0, 2, 1, row.Canvas(), 0, 0, 3, 1, cmSrcCopy);
  EXPECT_EQ(half.Canvas()->GetPixel(0, 0), RGB(30, 30, 30));     // (2*0 + 90) / 3
  EXPECT_EQ(half.Canvas()->GetPixel(1, 0), RGB(190, 190, 190));  // (90 + 2*240) / 3
}

TEST(CanvasStretch, NearestPicksThePixelUnderEachCentre) {
  TBitmap src(4, 1), dst(2, 1), wide(8, 1);
  SetRow(src, 0, {clRed, clLime, clBlue, clYellow});
  StretchBlt(dst.Canvas(), 0, 0, 2, 1, src.Canvas(), 0, 0, 4, 1, cmSrcCopy);
  EXPECT_EQ(Dump(dst), Grid({"gy"}));
  StretchBlt(wide.Canvas(), 0, 0, 8, 1, src.Canvas(), 0, 0, 4, 1, cmSrcCopy);
  EXPECT_EQ(Dump(wide), Grid({"rrggbbyy"}));
}

TEST(CanvasStretch, NegativeWidthsMirror) {
  TBitmap src(4, 2), dst(6, 2);
  SetRow(src, 0, {clRed, clLime, clBlue, clYellow});
  SetRow(src, 1, {clBlack, clBlack, clWhite, clWhite});
  // Destination x 4 backwards over four pixels: 1..4, mirrored.
  StretchBlt(dst.Canvas(), 4, 0, -4, 2, src.Canvas(), 0, 0, 4, 2, cmSrcCopy);
  EXPECT_EQ(Dump(dst), Grid({".ybgr.", "...##."}));
  // Both negative: no mirror.
  TBitmap same(6, 2);
  StretchBlt(same.Canvas(), 4, 0, -4, 1, src.Canvas(), 3, 0, -4, 1, cmSrcCopy);
  EXPECT_EQ(Dump(same), Grid({".rgby.", "......"}));
  // A negative height flips vertically.
  TBitmap flip(4, 2);
  StretchBlt(flip.Canvas(), 0, 1, 4, -2, src.Canvas(), 0, 0, 4, 2, cmSrcCopy);
  EXPECT_EQ(Dump(flip), Grid({"##..", "rgby"}));
}

TEST(CanvasStretch, SourceOutsideItsBitmapLeavesTheDestination) {
  TBitmap src(2, 2), dst(5, 1);
  testing::Fill(src, clRed);
  testing::Fill(dst, clBlue);
  BitBlt(dst.Canvas(), 0, 0, 5, 1, src.Canvas(), -2, 0, cmSrcCopy);
  EXPECT_EQ(Dump(dst), Grid({"bbrrb"}));
  // Absurd sizes neither crash nor leave the clip.
  dst.Canvas()->SetClipRect(Rect(1, 0, 4, 1));
  StretchBlt(dst.Canvas(), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src.Canvas(), 0, 0, 2, 2,
             cmSrcInvert);
  StretchBlt(dst.Canvas(), -1000000000, 0, 2000000000, 1, src.Canvas(), 0, 0, 2, 2, cmSrcCopy);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), clBlue);
  EXPECT_EQ(dst.Canvas()->GetPixel(4, 0), clBlue);
  EXPECT_EQ(dst.Canvas()->GetPixel(2, 0), clRed);
  dst.Canvas()->SetStretchBltMode(HALFTONE);
  StretchBlt(dst.Canvas(), -1000000000, 0, 2000000000, 1, src.Canvas(), 0, 0, 2, 2, cmSrcCopy);
  EXPECT_EQ(dst.Canvas()->GetPixel(2, 0), clRed);
}

TEST(CanvasCopyRect, OverlappingCopyWithinOneCanvasReadsTheOriginal) {
  TBitmap b(6, 1);
  SetRow(b, 0, {clRed, clLime, clBlue, clYellow});
  b.Canvas()->CopyRect(Rect(1, 0, 5, 1), b.Canvas(), Rect(0, 0, 4, 1));
  EXPECT_EQ(Dump(b), Grid({"rrgby."}));
  b.Canvas()->CopyRect(Rect(0, 0, 4, 1), b.Canvas(), Rect(1, 0, 5, 1));
  EXPECT_EQ(Dump(b), Grid({"rgbyy."}));
}

TEST(CanvasDraw, TransparentBitmapSkipsItsKeyColour) {
  TBitmap sprite(3, 3);
  testing::Fill(sprite, clLime);
  sprite.Canvas()->SetPixel(1, 1, clRed);
  sprite.Canvas()->SetPixel(2, 0, clBlue);
  sprite.SetTransparent(true);  // the key is the bottom-left pixel: lime
  EXPECT_EQ(sprite.GetTransparentColor(), clLime);
  TBitmap dst(5, 4);
  dst.Canvas()->Draw(1, 1, &sprite);
  EXPECT_EQ(Dump(dst), Grid({".....", "...b.", "..r..", "....."}));
  // A fixed key replaces the automatic one.
  sprite.SetTransparentColor(clRed);
  EXPECT_EQ(sprite.GetTransparentMode(), tmFixed);
  TBitmap dst2(3, 3);
  dst2.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(Dump(dst2), Grid({"ggb", "g.g", "ggg"}));
  // Stretched, the key still drops out.
  TBitmap dst3(6, 6);
  dst3.Canvas()->StretchDraw(Rect(0, 0, 6, 6), &sprite);
  EXPECT_EQ(dst3.Canvas()->GetPixel(2, 2), clWhite);
  EXPECT_EQ(dst3.Canvas()->GetPixel(0, 0), clLime);
  EXPECT_EQ(dst3.Canvas()->GetPixel(5, 0), clBlue);
}

TEST(CanvasDraw, OpaqueDrawHonoursCopyModeAndStretchDrawScales) {
  TBitmap sprite(2, 1);
  SetRow(sprite, 0, {clRed, clBlue});
  TBitmap dst(4, 2);
  testing::Fill(dst, clLime);
  dst.Canvas()->SetCopyMode(cmSrcPaint);
  dst.Canvas()->Draw(0, 0, &sprite);
  EXPECT_EQ(dst.Canvas()->GetPixel(0, 0), clYellow);  // red | lime
  EXPECT_EQ(dst.Canvas()->GetPixel(1, 0), clAqua);    // blue | lime
  dst.Canvas()->SetCopyMode(cmSrcCopy);
  dst.Canvas()->StretchDraw(Rect(0, 1, 4, 2), &sprite);
  EXPECT_EQ(Dump(dst, {{clYellow, 'Y'}, {clAqua, 'A'}}), Grid({"YAgg", "rrbb"}));
  TBitmap empty;
  dst.Canvas()->Draw(0, 0, &empty);  // nothing to draw is no error
  dst.Canvas()->Draw(0, 0, nullptr);
}

}  // namespace
}  // namespace qel

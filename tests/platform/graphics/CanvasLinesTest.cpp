// Pixel rules of lines, pens, clipping, pixels and the focus rectangle.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "platform/graphics/Graphics.h"
#include "tests/platform/graphics/CanvasTestUtil.h"

namespace qel {
namespace {

using testing::Dump;
using testing::Grid;

std::set<std::pair<int, int>> LinePixels(int X0, int Y0, int X1, int Y1, int Size = 40) {
  TBitmap b(Size, Size);
  b.Canvas()->MoveTo(X0, Y0);
  b.Canvas()->LineTo(X1, Y1);
  std::set<std::pair<int, int>> s;
  for (TPoint p : testing::Inked(b)) s.insert({p.X, p.Y});
  return s;
}

TEST(CanvasLine, StopsOneShortOfTheEndAndMovesThePen) {
  TBitmap b(6, 3);
  b.Canvas()->MoveTo(1, 1);
  b.Canvas()->LineTo(5, 1);
  EXPECT_EQ(Dump(b), Grid({"......", ".####.", "......"}));
  EXPECT_EQ(b.Canvas()->GetPenPos(), Point(5, 1));
  // A line to its own start draws nothing.
  TBitmap c(3, 3);
  c.Canvas()->MoveTo(1, 1);
  c.Canvas()->LineTo(1, 1);
  EXPECT_EQ(testing::CountColor(c, clBlack), 0);
}

TEST(CanvasLine, TiesGoUpOnFlatLinesAndLeftOnSteepOnes) {
  TBitmap b(6, 4);
  b.Canvas()->MoveTo(0, 0);
  b.Canvas()->LineTo(4, 2);
  EXPECT_EQ(Dump(b), Grid({"##....", "..##..", "......", "......"}));
  TBitmap c(4, 6);
  c.Canvas()->MoveTo(0, 0);
  c.Canvas()->LineTo(2, 4);
  EXPECT_EQ(Dump(c), Grid({"#...", "#...", ".#..", ".#..", "....", "...."}));
}

// A line and its reverse light the same pixels but for their excluded ends, in every octant.
TEST(CanvasLine, EveryOctantIsSymmetricUnderReversal) {
  const int c = 20;
  for (int dx = -17; dx <= 17; ++dx)
    for (int dy = -17; dy <= 17; ++dy) {
      if (dx == 0 && dy == 0) continue;
      auto fwd = LinePixels(c, c, c + dx, c + dy);
      auto back = LinePixels(c + dx, c + dy, c, c);
      fwd.insert({c + dx, c + dy});
      back.insert({c, c});
      ASSERT_EQ(fwd, back) << "dx=" << dx << " dy=" << dy;
      // One pixel per step along the major axis.
      EXPECT_EQ(fwd.size(), static_cast<size_t>(std::max(std::abs(dx), std::abs(dy)) + 1));
    }
}

TEST(CanvasLine, MirroredLinesAreMirrorImagesExceptForTies) {
  // Lines without ties (odd major length against the minor) mirror exactly.
  auto a = LinePixels(5, 5, 30, 12);
  auto b = LinePixels(34, 5, 9, 12);  // mirrored about x = 19.5, drawn from the mirrored start
  std::set<std::pair<int, int>> mirrored;
  for (auto [x, y] : b) mirrored.insert({39 - x, y});
  EXPECT_EQ(a, mirrored);
}

TEST(CanvasLine, AbsurdCoordinatesNeverDrawOutsideTheClip) {
  TBitmap b(20, 20);
  TCanvas* c = b.Canvas();
  c->SetClipRect(Rect(5, 5, 15, 15));
  const int big[] = {INT_MIN, INT_MIN + 1, -1000000000, -1, 0, 7, 1000000000, INT_MAX};
  for (int x0 : big)
    for (int y0 : big)
      for (int x1 : big)
        for (int y1 : {INT_MIN, 3, INT_MAX}) {
          c->MoveTo(x0, y0);
          c->LineTo(x1, y1);
        }
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      if (x < 5 || x >= 15 || y < 5 || y >= 15) {
        EXPECT_EQ(c->GetPixel(x, y), clWhite) << x << "," << y;
      }
  EXPECT_GT(testing::CountColor(b, clBlack), 0);
}

TEST(CanvasLine, HugeLinesCrossingTheSurfaceHitTheRightPixels) {
  TBitmap b(10, 10);
  b.Canvas()->MoveTo(-1000000000, 4);
  b.Canvas()->LineTo(1000000000, 4);
  b.Canvas()->MoveTo(-1000000000, -1000000000);
  b.Canvas()->LineTo(1000000000, 1000000000);
  b.Canvas()->MoveTo(1000000009, -1000000000);
  b.Canvas()->LineTo(-1000000000, 1000000009);  // the anti-diagonal x + y = 9
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(b.Canvas()->GetPixel(x, 4), clBlack);
    EXPECT_EQ(b.Canvas()->GetPixel(x, x), clBlack);
  }
  int anti = 0;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y)
      if (y != 4 && y != x && b.Canvas()->GetPixel(x, y) == clBlack) ++anti;
  EXPECT_EQ(anti, 9);  // all ten but (5, 4), which the horizontal line took
  // The same segment from INT_MAX to INT_MIN runs along x + y = -1, off the surface.
  TBitmap c(10, 10);
  c.Canvas()->MoveTo(INT_MAX, INT_MIN);
  c.Canvas()->LineTo(INT_MIN, INT_MAX);
  EXPECT_EQ(testing::CountColor(c, clBlack), 0);
}

TEST(CanvasLine, EveryPenModeFollowsItsTruthTable) {
  const TColor pen = 0x0F0F0F, dst = 0x33CC55;
  const uint32_t P = pen, D = dst, M = 0xFFFFFF;
  const uint32_t expect[16] = {0,
                               M,
                               D,
                               ~D & M,
                               P,
                               ~P & M,
                               (P | ~D) & M,
                               P & ~D,
                               (~P | D) & M,
                               ~P & D & M,
                               P | D,
                               ~(P | D) & M,
                               P & D,
                               ~(P & D) & M,
                               P ^ D,
                               ~(P ^ D) & M};
  for (int mode = pmBlack; mode <= pmNotXor; ++mode) {
    TBitmap b(3, 1);
    testing::Fill(b, dst);
    b.Canvas()->Pen()->SetColor(pen);
    b.Canvas()->Pen()->SetMode(static_cast<TPenMode>(mode));
    b.Canvas()->MoveTo(0, 0);
    b.Canvas()->LineTo(2, 0);
    EXPECT_EQ(b.Canvas()->GetPixel(1, 0), expect[mode]) << "mode " << mode;
    EXPECT_EQ(b.Canvas()->GetPixel(2, 0), dst) << "mode " << mode;
  }
}

TEST(CanvasLine, XorTwiceRestoresEverything) {
  TBitmap b(30, 30);
  b.Canvas()->Brush()->SetColor(0x3377AA);
  b.Canvas()->Ellipse(2, 2, 25, 20);
  const std::string before = Dump(b, {{0x3377AA, 'x'}});
  TCanvas* c = b.Canvas();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->Brush()->SetColor(0x123456);
  for (int pass = 0; pass < 2; ++pass) {
    c->MoveTo(0, 0);
    c->LineTo(29, 17);
    c->Rectangle(3, 4, 20, 28);
    c->Ellipse(5, 5, 28, 22);
    TPoint pts[] = {{1, 1}, {28, 3}, {14, 27}};
    c->Polygon(pts);
    c->Pie(0, 0, 30, 30, 30, 15, 0, 0);
  }
  EXPECT_EQ(Dump(b, {{0x3377AA, 'x'}}), before);
}

TEST(CanvasPen, StyledPensFollowTheirPatternAndShowTheBrushInTheGaps) {
  TBitmap b(14, 2);
  b.Canvas()->Pen()->SetStyle(psDot);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->MoveTo(0, 0);
  b.Canvas()->LineTo(14, 0);
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->MoveTo(0, 1);
  b.Canvas()->LineTo(14, 1);
  EXPECT_EQ(Dump(b), Grid({"###rrr###rrr##", "###...###...##"}));
  TBitmap d(26, 1);
  d.Canvas()->Pen()->SetStyle(psDash);
  d.Canvas()->Brush()->SetStyle(bsClear);
  d.Canvas()->MoveTo(0, 0);
  d.Canvas()->LineTo(26, 0);
  EXPECT_EQ(Dump(d), Grid({"##################......##"}));
}

TEST(CanvasPen, ThePatternRunsOnAcrossPolylineJoints) {
  TBitmap b(8, 8);
  b.Canvas()->Pen()->SetStyle(psDot);
  b.Canvas()->Brush()->SetStyle(bsClear);
  TPoint pts[] = {{0, 0}, {4, 0}, {4, 5}};
  b.Canvas()->Polyline(pts);
  // (4, 0) and (4, 1) fall in the gap that began at (3, 0).
  EXPECT_EQ(Dump(b), Grid({"###.....", "........", "....#...", "....#...", "....#...", "........",
                           "........", "........"}));
}

TEST(CanvasPen, WidePensAreCentredWithRoundCaps) {
  TBitmap b(12, 9);
  b.Canvas()->Pen()->SetWidth(3);
  b.Canvas()->MoveTo(3, 4);
  b.Canvas()->LineTo(8, 4);
  EXPECT_EQ(Dump(b),
            Grid({"............", "............", "............", "..########..", "..########..",
                  "..########..", "............", "............", "............"}));
  TBitmap c(10, 6);
  c.Canvas()->Pen()->SetWidth(2);
  c.Canvas()->Pen()->SetStyle(psDash);  // wide pens draw solid
  c.Canvas()->MoveTo(2, 3);
  c.Canvas()->LineTo(7, 3);
  EXPECT_EQ(Dump(c), Grid({"..........", "..........", ".#######..", ".#######..", "..........",
                           ".........."}));
  // A wide polyline paints its joints once: xor leaves no holes where segments overlap.
  TBitmap d(20, 20);
  d.Canvas()->Pen()->SetWidth(5);
  d.Canvas()->Pen()->SetMode(pmXor);
  d.Canvas()->Pen()->SetColor(clWhite);
  TPoint pts[] = {{3, 3}, {16, 3}, {16, 16}};
  d.Canvas()->Polyline(pts);
  EXPECT_EQ(d.Canvas()->GetPixel(16, 3), clBlack);
  EXPECT_EQ(d.Canvas()->GetPixel(15, 4), clBlack);
}

TEST(CanvasPixels, ReadWriteAndOutsideTheSurface) {
  TBitmap b(4, 4);
  b.Canvas()->SetPixel(1, 2, clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 2), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(-1, 0), clNone);
  EXPECT_EQ(b.Canvas()->GetPixel(4, 0), clNone);
  EXPECT_EQ(b.Canvas()->GetPixel(INT_MIN, INT_MAX), clNone);
  b.Canvas()->SetPixel(INT_MAX, INT_MIN, clRed);
  b.Canvas()->SetPixel(clBtnFace == 0 ? 0 : 2, 2, clBtnFace);  // system colours resolve
  EXPECT_EQ(b.Canvas()->GetPixel(2, 2), ColorToRGB(clBtnFace));
  EXPECT_EQ(testing::CountColor(b, clRed), 1);
  TCanvas unbound;
  EXPECT_EQ(unbound.GetPixel(0, 0), clNone);
  unbound.Rectangle(0, 0, 10, 10);  // drawing without a surface does nothing
  unbound.LineTo(5, 5);
  EXPECT_EQ(unbound.GetClipRect(), TRect{});
}

TEST(CanvasClip, ClipRectNarrowsAndResetsAndOriginShifts) {
  TBitmap b(10, 10);
  TCanvas* c = b.Canvas();
  EXPECT_EQ(c->GetClipRect(), Rect(0, 0, 10, 10));
  c->SetClipRect(Rect(2, 3, 50, 6));
  EXPECT_EQ(c->GetClipRect(), Rect(2, 3, 10, 6));
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(-100, -100, 100, 100));
  EXPECT_EQ(testing::CountColor(b, clRed), 8 * 3);
  c->SetClipRect(Rect(5, 5, 5, 9));  // empty: nothing at all
  c->Brush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 10, 10));
  EXPECT_EQ(testing::CountColor(b, clBlue), 0);
  c->ResetClipRect();
  EXPECT_EQ(c->GetClipRect(), Rect(0, 0, 10, 10));

  // A canvas bound with an origin draws in its own coordinates and keeps to its clip.
  TCanvas child;
  child.BindSurface(b.Surface(), Point(4, 4), Rect(4, 4, 8, 8));
  EXPECT_EQ(child.GetClipRect(), Rect(0, 0, 4, 4));
  child.Brush()->SetColor(clLime);
  child.FillRect(Rect(-2, -2, 2, 2));
  EXPECT_EQ(b.Canvas()->GetPixel(4, 4), clLime);
  EXPECT_EQ(b.Canvas()->GetPixel(5, 5), clLime);
  EXPECT_EQ(b.Canvas()->GetPixel(6, 6), clWhite);
  EXPECT_EQ(b.Canvas()->GetPixel(3, 6), clWhite);
  EXPECT_EQ(child.GetPixel(1, 1), clLime);
  std::vector<TRect> drawn;
  child.OnDrawn = [&](const TRect& r) { drawn.push_back(r); };
  child.FillRect(Rect(1, 1, 100, 2));
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0], Rect(1, 1, 4, 2));
}

TEST(CanvasFocusRect, DottedXorThatASecondCallRemoves) {
  TBitmap b(7, 5);
  b.Canvas()->DrawFocusRect(Rect(0, 0, 7, 5));
  EXPECT_EQ(Dump(b), Grid({"#.#.#.#", ".......", "#.....#", ".......", "#.#.#.#"}));
  b.Canvas()->DrawFocusRect(Rect(0, 0, 7, 5));
  EXPECT_EQ(testing::CountColor(b, clWhite), 35);
}

}  // namespace
}  // namespace qel

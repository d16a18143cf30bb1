// Pixel rules of rectangles, ellipses, arcs, pies, chords, polygons and flood fills.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "tests/platform/graphics/CanvasTestUtil.h"

namespace qel {
namespace {

using testing::Dump;
using testing::Grid;

TEST(CanvasRectangle, OutlinesLeftTopToRightBottomMinusOne) {
  TBitmap b(8, 7);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Rectangle(2, 2, 6, 5);
  EXPECT_EQ(Dump(b), Grid({"........", "........", "..####..", "..#rr#..", "..####..", "........",
                           "........"}));
}

TEST(CanvasRectangle, ClearPenFillsOneSmaller) {
  TBitmap b(8, 7);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pen()->SetStyle(psClear);
  b.Canvas()->Rectangle(2, 2, 6, 5);
  EXPECT_EQ(Dump(b), Grid({"........", "........", "..rrr...", "..rrr...", "........", "........",
                           "........"}));
}

TEST(CanvasRectangle, SwappedCornersDrawTheSameAndClearBrushLeavesInside) {
  TBitmap a(8, 7), b(8, 7);
  a.Canvas()->Rectangle(2, 2, 6, 5);
  b.Canvas()->Rectangle(6, 5, 2, 2);
  EXPECT_EQ(Dump(a), Dump(b));
  TBitmap c(8, 7);
  testing::Fill(c, clYellow);
  c.Canvas()->Brush()->SetStyle(bsClear);
  c.Canvas()->Rectangle(2, 2, 6, 5);
  EXPECT_EQ(Dump(c), Grid({"yyyyyyyy", "yyyyyyyy", "yy####yy", "yy#yy#yy", "yy####yy", "yyyyyyyy",
                           "yyyyyyyy"}));
}

TEST(CanvasRectangle, WidePenRingIsCentredOnTheOutline) {
  TBitmap b(10, 10);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pen()->SetWidth(3);
  b.Canvas()->Rectangle(2, 2, 8, 8);
  EXPECT_EQ(Dump(b), Grid({"..........", ".########.", ".########.", ".########.", ".###rr###.",
                           ".###rr###.", ".########.", ".########.", ".########.", ".........."}));
  // Inside the frame the ring keeps to the box.
  TBitmap c(10, 10);
  c.Canvas()->Pen()->SetWidth(3);
  c.Canvas()->Pen()->SetStyle(psInsideFrame);
  c.Canvas()->Brush()->SetColor(clRed);
  c.Canvas()->Rectangle(1, 1, 9, 9);
  EXPECT_EQ(Dump(c), Dump(b));
}

TEST(CanvasRectangle, StyledPenWalksTheOutlineAsOneClosedPath) {
  TBitmap b(8, 5);
  b.Canvas()->Pen()->SetStyle(psDot);
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->Rectangle(0, 0, 8, 5);
  // Clockwise from the top-left corner, three on and three off, carried round the corners.
  EXPECT_EQ(Dump(b), Grid({"###...##",
                           ".......#",
                           "#.......",
                           "#.......",
                           "#...###."}));
}

TEST(CanvasEllipse, WidePenRingStaysSymmetricAndReportsWhatItTouched) {
  TBitmap b(40, 30);
  std::vector<TRect> drawn;
  b.Canvas()->OnDrawn = [&](const TRect& r) { drawn.push_back(r); };
  b.Canvas()->Pen()->SetWidth(5);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Ellipse(5, 5, 35, 25);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0], Rect(3, 3, 37, 27));
  for (TPoint p : testing::Inked(b)) {
    TColor c = b.Canvas()->GetPixel(p.X, p.Y);
    EXPECT_EQ(b.Canvas()->GetPixel(39 - p.X, p.Y), c);
    EXPECT_EQ(b.Canvas()->GetPixel(p.X, 29 - p.Y), c);
  }
  EXPECT_EQ(b.Canvas()->GetPixel(3, 15), clBlack);   // two pixels out from the box
  EXPECT_EQ(b.Canvas()->GetPixel(7, 15), clBlack);   // two pixels in
  EXPECT_EQ(b.Canvas()->GetPixel(8, 15), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(2, 15), clWhite);
}

TEST(CanvasPie, ClearPenFillsTheSectorOnly) {
  TBitmap b(21, 21);
  b.Canvas()->Pen()->SetStyle(psClear);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pie(0, 0, 21, 21, 0, 10, 10, 21);  // from the left down to the bottom
  EXPECT_EQ(testing::CountColor(b, clBlack), 0);
  for (TPoint p : testing::Inked(b)) {
    EXPECT_LE(p.X, 10);
    EXPECT_GE(p.Y, 10);
  }
  EXPECT_EQ(b.Canvas()->GetPixel(4, 15), clRed);
}

TEST(CanvasFillRect, FillsWithoutOutlineAndFrameRectDrawsTheBorder) {
  TBitmap b(6, 5);
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(1, 1, 4, 3));
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FrameRect(Rect(0, 0, 6, 5));
  EXPECT_EQ(Dump(b), Grid({"rrrrrr", "rbbb.r", "rbbb.r", "r....r", "rrrrrr"}));
  // Inverted rectangles fill nothing.
  TBitmap c(4, 4);
  c.Canvas()->Brush()->SetColor(clRed);
  c.Canvas()->FillRect(Rect(3, 3, 1, 1));
  EXPECT_EQ(testing::CountColor(c, clWhite), 16);
}

TEST(CanvasFillRect, HatchBrushIsAlignedToTheSurface) {
  TBitmap b(16, 8);
  b.Canvas()->Brush()->SetColor(clBlack);
  b.Canvas()->Brush()->SetStyle(bsVertical);
  b.Canvas()->FillRect(Rect(0, 0, 16, 8));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(b.Canvas()->GetPixel(x, y), x % 8 == 4 ? clBlack : clWhite);
  // A second fill from another start lands on the very same pattern.
  TBitmap c(16, 8);
  c.Canvas()->Brush()->SetStyle(bsFDiagonal);
  c.Canvas()->Brush()->SetColor(clBlack);
  c.Canvas()->FillRect(Rect(3, 1, 16, 8));
  c.Canvas()->FillRect(Rect(0, 0, 3, 8));
  c.Canvas()->FillRect(Rect(3, 0, 16, 1));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x)
      EXPECT_EQ(c.Canvas()->GetPixel(x, y), x % 8 == y ? clBlack : clWhite);
}

TEST(CanvasEllipse, SmallCircleShape) {
  TBitmap b(6, 6);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Ellipse(1, 1, 5, 5);
  EXPECT_EQ(Dump(b), Grid({"......", "..##..", ".#rr#.", ".#rr#.", "..##..", "......"}));
}

// Every ellipse touches all four sides of its box and no pixel outside, and is mirror
// symmetric both ways.
TEST(CanvasEllipse, SymmetricAndInsideItsBox) {
  for (int w = 1; w <= 23; w += 2)
    for (int h : {1, 2, 3, 6, 11, 17, 30}) {
      TBitmap b(40, 40);
      b.Canvas()->Brush()->SetColor(clRed);
      b.Canvas()->Ellipse(5, 4, 5 + w, 4 + h);
      int minX = 99, maxX = -1, minY = 99, maxY = -1;
      for (TPoint p : testing::Inked(b)) {
        minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
        minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
        TColor c = b.Canvas()->GetPixel(p.X, p.Y);
        EXPECT_EQ(b.Canvas()->GetPixel(2 * 5 + w - 1 - p.X, p.Y), c) << w << "x" << h;
        EXPECT_EQ(b.Canvas()->GetPixel(p.X, 2 * 4 + h - 1 - p.Y), c) << w << "x" << h;
      }
      EXPECT_EQ(minX, 5);
      EXPECT_EQ(maxX, 5 + w - 1);
      EXPECT_EQ(minY, 4);
      EXPECT_EQ(maxY, 4 + h - 1);
    }
}

TEST(CanvasEllipse, OutlineIsClosedAndOnePixelThin) {
  TBitmap b(40, 30);
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->Ellipse(2, 3, 37, 27);
  // Filling the inside from the centre must not leak out through the outline.
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FloodFill(19, 15, clWhite, fsSurface);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(b.Canvas()->GetPixel(2, 3), clWhite);
  EXPECT_EQ(b.Canvas()->GetPixel(19, 15), clRed);
  // Every outline pixel touches the inside or is a corner step: no doubled-up thick runs.
  for (TPoint p : testing::Inked(b)) {
    if (b.Canvas()->GetPixel(p.X, p.Y) != clBlack) continue;
    bool nearInside = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (b.Canvas()->GetPixel(p.X + dx, p.Y + dy) == clRed) nearInside = true;
    EXPECT_TRUE(nearInside) << p.X << "," << p.Y;
  }
}

TEST(CanvasPie, QuarterFromRightToTopFillsUpperRightOnly) {
  TBitmap b(21, 21);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pie(0, 0, 21, 21, 21, 10, 10, 0);
  for (TPoint p : testing::Inked(b)) {
    EXPECT_GE(p.X, 10) << p.Y;
    EXPECT_LE(p.Y, 10) << p.X;
  }
  EXPECT_EQ(b.Canvas()->GetPixel(15, 5), clRed);
  EXPECT_EQ(b.Canvas()->GetPixel(10, 3), clBlack);   // the vertical radius
  EXPECT_EQ(b.Canvas()->GetPixel(16, 10), clBlack);  // the horizontal radius
  EXPECT_EQ(b.Canvas()->GetPixel(20, 10), clBlack);  // the arc meets the right edge
  EXPECT_EQ(b.Canvas()->GetPixel(10, 0), clBlack);   // and the top edge

  // Swapping the two points takes the other three quarters.
  TBitmap c(21, 21);
  c.Canvas()->Brush()->SetColor(clRed);
  c.Canvas()->Pie(0, 0, 21, 21, 10, 0, 21, 10);
  EXPECT_EQ(c.Canvas()->GetPixel(15, 5), clWhite);
  EXPECT_EQ(c.Canvas()->GetPixel(5, 5), clRed);
  EXPECT_EQ(c.Canvas()->GetPixel(5, 15), clRed);
  EXPECT_EQ(c.Canvas()->GetPixel(15, 15), clRed);
}

TEST(CanvasArc, DrawsOnlyTheCounterClockwisePart) {
  TBitmap b(21, 21), full(21, 21);
  b.Canvas()->Arc(0, 0, 21, 21, 0, 10, 21, 10);  // from the left, down and round to the right
  full.Canvas()->Brush()->SetStyle(bsClear);
  full.Canvas()->Ellipse(0, 0, 21, 21);
  for (TPoint p : testing::Inked(b)) {
    EXPECT_GE(p.Y, 10) << p.X;
    EXPECT_EQ(full.Canvas()->GetPixel(p.X, p.Y), clBlack) << p.X << "," << p.Y;
  }
  EXPECT_EQ(b.Canvas()->GetPixel(10, 20), clBlack);
  EXPECT_EQ(b.Canvas()->GetPixel(10, 0), clWhite);
  // Equal rays draw the whole ellipse.
  TBitmap c(21, 21);
  c.Canvas()->Arc(0, 0, 21, 21, 21, 10, 21, 10);
  EXPECT_EQ(Dump(c), Dump(full));
}

TEST(CanvasChord, FillsTheSideOfTheArc) {
  TBitmap b(21, 21);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Chord(0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(b.Canvas()->GetPixel(17, 4), clRed);     // between the chord and the arc
  EXPECT_EQ(b.Canvas()->GetPixel(12, 12), clWhite);  // centre side of the chord
  EXPECT_EQ(b.Canvas()->GetPixel(15, 5), clBlack);   // on the chord line
  EXPECT_EQ(b.Canvas()->GetPixel(5, 5), clWhite);
}

TEST(CanvasRoundRect, CornersAreRoundedAndSidesStraight) {
  TBitmap b(12, 10);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->RoundRect(1, 1, 11, 9, 4, 4);
  EXPECT_EQ(Dump(b),
            Grid({"............", "..########..", ".#rrrrrrrr#.", ".#rrrrrrrr#.", ".#rrrrrrrr#.",
                  ".#rrrrrrrr#.", ".#rrrrrrrr#.", ".#rrrrrrrr#.", "..########..", "............"}));
  // Larger corners follow the quarters of their ellipse, the same at all four corners.
  TBitmap c(20, 20), e(10, 10);
  c.Canvas()->RoundRect(0, 0, 20, 20, 10, 10);
  e.Canvas()->Ellipse(0, 0, 10, 10);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      TColor want = e.Canvas()->GetPixel(x, y);
      EXPECT_EQ(c.Canvas()->GetPixel(x, y), want) << x << "," << y;
      EXPECT_EQ(c.Canvas()->GetPixel(19 - x, y), want) << x << "," << y;
      EXPECT_EQ(c.Canvas()->GetPixel(x, 19 - y), want) << x << "," << y;
      EXPECT_EQ(c.Canvas()->GetPixel(19 - x, 19 - y), want) << x << "," << y;
    }
  EXPECT_EQ(c.Canvas()->GetPixel(0, 0), clWhite);
  EXPECT_EQ(c.Canvas()->GetPixel(10, 0), clBlack);
  EXPECT_EQ(c.Canvas()->GetPixel(0, 10), clBlack);
}

TEST(CanvasPolygon, FillsByTheAlternateRuleThenOutlines) {
  // Two nested squares in one figure: the inner one is a hole.
  TBitmap b(12, 12);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pen()->SetStyle(psClear);
  TPoint pts[] = {{1, 1}, {11, 1}, {11, 11}, {1, 11}, {1, 1},
                  {4, 4}, {4, 8},  {8, 8},   {8, 4},  {4, 4}};
  b.Canvas()->Polygon(pts);
  EXPECT_EQ(Dump(b), Grid({"............", ".rrrrrrrrrr.", ".rrrrrrrrrr.", ".rrrrrrrrrr.",
                           ".rrr....rrr.", ".rrr....rrr.", ".rrr....rrr.", ".rrr....rrr.",
                           ".rrrrrrrrrr.", ".rrrrrrrrrr.", ".rrrrrrrrrr.", "............"}));
}

TEST(CanvasPolygon, SelfOverlappingStarLeavesItsCentreEmpty) {
  TBitmap b(21, 21);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->Pen()->SetStyle(psClear);
  TPoint star[] = {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
  b.Canvas()->Polygon(star);
  EXPECT_EQ(b.Canvas()->GetPixel(10, 11), clWhite);  // the pentagon inside crosses twice
  EXPECT_EQ(b.Canvas()->GetPixel(10, 3), clRed);     // a point of the star
  EXPECT_EQ(b.Canvas()->GetPixel(2, 8), clRed);
}

TEST(CanvasPolygon, OutlineClosesTheFigureOnTheVertices) {
  TBitmap b(7, 7);
  b.Canvas()->Brush()->SetColor(clRed);
  TPoint tri[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
  b.Canvas()->Polygon(tri);
  EXPECT_EQ(Dump(b),
            Grid({".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}));
}

TEST(CanvasFloodFill, SurfaceFillsTheColourRegionAndBorderFillsUpToTheBorder) {
  TBitmap b(9, 7);
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->Rectangle(1, 1, 8, 6);
  b.Canvas()->SetPixel(4, 3, clBlue);
  TBitmap border;
  border.Assign(&b);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FloodFill(2, 2, clWhite, fsSurface);
  EXPECT_EQ(Dump(b), Grid({".........", ".#######.", ".#rrrrr#.", ".#rrbrr#.", ".#rrrrr#.",
                           ".#######.", "........."}));
  border.Canvas()->Brush()->SetColor(clRed);
  border.Canvas()->FloodFill(2, 2, clBlack, fsBorder);
  EXPECT_EQ(Dump(border), Grid({".........", ".#######.", ".#rrrrr#.", ".#rrrrr#.", ".#rrrrr#.",
                                ".#######.", "........."}));
}

TEST(CanvasFloodFill, IsFourConnectedAndSurvivesHugeRegions) {
  TBitmap b(5, 5);
  b.Canvas()->Pen()->SetColor(clBlack);
  b.Canvas()->MoveTo(0, 4);
  b.Canvas()->LineTo(5, -1);  // a diagonal wall lets no 4-connected fill through
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FloodFill(0, 0, clWhite, fsSurface);
  EXPECT_EQ(b.Canvas()->GetPixel(4, 4), clWhite);
  EXPECT_EQ(b.Canvas()->GetPixel(1, 1), clRed);
  // Refilling a region with its own colour ends; a big maze-free area needs no recursion.
  TBitmap big(2000, 1500);
  big.Canvas()->Brush()->SetColor(clWhite);
  big.Canvas()->FloodFill(10, 10, clWhite, fsSurface);
  big.Canvas()->Brush()->SetColor(clBlue);
  big.Canvas()->FloodFill(1999, 1499, clWhite, fsSurface);
  EXPECT_EQ(testing::CountColor(big, clBlue), 2000 * 1500);
}

// Every primitive, fed coordinates at and beyond the integer range, stays inside the clip and
// never overflows (the sanitizers of the test build would stop on the first overflow).
TEST(CanvasClipping, AbsurdCoordinatesInEveryPrimitive) {
  const int v[] = {INT_MIN, -1000000000, -3, 0, 9, 1000000000, INT_MAX};
  for (int width : {1, 4}) {
    TBitmap b(20, 20);
    TCanvas* c = b.Canvas();
    c->SetClipRect(Rect(6, 6, 14, 14));
    c->Brush()->SetColor(clRed);
    c->Pen()->SetWidth(width);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clLime);
    for (int a : v)
      for (int bb : v)
        for (int d : {INT_MIN, 10, INT_MAX}) {
          c->Rectangle(a, bb, d, INT_MAX);
          c->Ellipse(a, bb, d, 12);
          c->RoundRect(a, bb, d, INT_MAX, d, a);
          c->Pie(a, bb, d, INT_MAX, a, d, bb, a);
          c->Chord(INT_MIN, bb, d, a, 0, 0, d, d);
          c->Arc(a, a, bb, d, INT_MAX, INT_MIN, a, bb);
          TPoint poly[] = {{a, bb}, {d, a}, {bb, d}, {INT_MIN, INT_MAX}};
          c->Polygon(poly);
          c->Polyline(poly);
          c->FillRect(Rect(a, bb, d, d));
          c->FrameRect(Rect(a, bb, d, d));
          c->DrawFocusRect(Rect(a, bb, d, d));
        }
    c->FloodFill(INT_MIN, INT_MAX, clWhite, fsSurface);
    c->FloodFill(8, 8, clWhite, fsBorder);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (x < 6 || x >= 14 || y < 6 || y >= 14) {
          EXPECT_EQ(c->GetPixel(x, y), clWhite) << x << "," << y;
        }
    EXPECT_LT(testing::CountColor(b, clWhite), 400);  // and the inside was drawn on
  }
}

}  // namespace
}  // namespace qel

// TBitmap storage: sizes, rows, assignment, transparency, the bound canvas.
#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"
#include "tests/platform/graphics/CanvasTestUtil.h"

namespace qel {
namespace {

using testing::Dump;
using testing::Grid;

TEST(Bitmap, NewBitmapsAreWhiteAndEmptyOnesHaveNoPixels) {
  TBitmap b(3, 2);
  EXPECT_EQ(Dump(b), Grid({"...", "..."}));
  TBitmap e;
  EXPECT_TRUE(e.Empty());
  EXPECT_EQ(e.Canvas()->GetPixel(0, 0), clNone);
  e.Canvas()->Rectangle(0, 0, 5, 5);  // an empty bitmap's canvas draws nowhere
  e.SetSize(-5, 7);
  EXPECT_EQ(e.GetWidth(), 0);
  EXPECT_EQ(e.GetHeight(), 0);
}

TEST(Bitmap, SetSizeKeepsThePixelsThatFitAndRebindsTheCanvas) {
  TBitmap b(3, 3);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 3, 3));
  b.Canvas()->SetPixel(2, 2, clBlue);
  b.SetSize(5, 2);
  EXPECT_EQ(Dump(b), Grid({"rrr..", "rrr.."}));
  b.SetHeight(4);
  EXPECT_EQ(Dump(b), Grid({"rrr..", "rrr..", ".....", "....."}));
  b.Canvas()->FillRect(Rect(3, 3, 9, 9));  // the canvas reaches the new pixels, no further
  EXPECT_EQ(Dump(b), Grid({"rrr..", "rrr..", ".....", "...rr"}));
  EXPECT_EQ(b.Canvas()->GetClipRect(), Rect(0, 0, 5, 4));
}

TEST(Bitmap, ImpossibleSizesRaiseAndLeaveTheBitmapAsItWas) {
  TBitmap b(2, 2);
  b.Canvas()->SetPixel(0, 0, clRed);
  EXPECT_THROW(b.SetSize(40000, 10), EOutOfResources);
  EXPECT_THROW(b.SetSize(30000, 30000), EOutOfResources);
  EXPECT_EQ(b.GetWidth(), 2);
  EXPECT_EQ(b.Canvas()->GetPixel(0, 0), clRed);
}

TEST(Bitmap, ScanLineRowsAndRangeErrors) {
  TBitmap b(4, 3);
  b.ScanLine(1)[2] = 0x00FF0000;  // red in the stored 0x00RRGGBB layout
  EXPECT_EQ(b.Canvas()->GetPixel(2, 1), clRed);
  EXPECT_THROW(b.ScanLine(3), ERangeError);
  EXPECT_THROW(b.ScanLine(-1), ERangeError);
  const TBitmap& cb = b;
  EXPECT_EQ(cb.ScanLine(1)[2], 0x00FF0000u);
  EXPECT_THROW(cb.ScanLine(3), ERangeError);
}

TEST(Bitmap, AssignCopiesPixelsAndSettings) {
  TBitmap a(3, 1), b;
  a.Canvas()->SetPixel(1, 0, clRed);
  a.SetTransparent(true);
  a.SetTransparentColor(clRed);
  a.SetPixelFormat(pf24bit);
  b.Assign(&a);
  EXPECT_EQ(Dump(b), Grid({".r."}));
  EXPECT_TRUE(b.GetTransparent());
  EXPECT_EQ(b.GetTransparentColor(), clRed);
  EXPECT_EQ(b.GetPixelFormat(), pf24bit);
  // The copy owns its pixels.
  b.Canvas()->SetPixel(0, 0, clBlue);
  EXPECT_EQ(a.Canvas()->GetPixel(0, 0), clWhite);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(Bitmap, TransparentColourFollowsTheBottomLeftPixelUntilFixed) {
  TBitmap b(2, 2);
  b.Canvas()->SetPixel(0, 1, clTeal);
  EXPECT_EQ(b.GetTransparentMode(), tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clTeal);
  b.SetTransparentMode(tmFixed);
  b.Canvas()->SetPixel(0, 1, clRed);
  EXPECT_EQ(b.GetTransparentColor(), clTeal);
  b.SetTransparentColor(clDefault);
  EXPECT_EQ(b.GetTransparentMode(), tmAuto);
  EXPECT_EQ(b.GetTransparentColor(), clRed);
}

TEST(Bitmap, ChangesAreAnnounced) {
  TBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.SetSize(2, 2);
  b.SetSize(2, 2);
  b.SetTransparent(true);
  b.SetTransparent(true);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace qel

// The grid, the memo and the tree view draw one scroll bar: the same arrow buttons pixel for
// pixel, 16 pixels wide, a dithered track, and in a memo that cannot scroll, embossed arrows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grids/Grids.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class TPlainGrid : public TDrawGrid {
 public:
  using TDrawGrid::TDrawGrid;
};

class ScrollBarLook : public WidgetTest {
 protected:
  // The pixels of R (form coordinates), row by row.
  std::vector<TColor> Pixels(const TRect& R) {
    const TBitmap& s = Surface();
    std::vector<TColor> p;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) p.push_back(PixelAt(s, x, y));
    return p;
  }
  TRect OnForm(const TControl* C, const TRect& R) {
    TPoint p = At(C, R.Left, R.Top);
    return Rect(p.X, p.Y, p.X + R.Width(), p.Y + R.Height());
  }
};

TEST_F(ScrollBarLook, GridMemoAndTreeDrawTheSameBar) {
  Form->SetBounds(0, 0, 640, 300);
  auto* grid = new TPlainGrid(Form);
  grid->SetParent(Form);
  grid->SetBounds(8, 8, 200, 200);
  grid->SetRowCount(1000);
  grid->SetColCount(2);
  auto* memo = new TMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(216, 8, 200, 200);
  memo->SetScrollBars(ssVertical);
  for (int i = 0; i < 100; ++i) memo->GetLines()->Add("line " + std::to_string(i));
  auto* tree = new TTreeView(Form);
  tree->SetParent(Form);
  tree->SetBounds(424, 8, 200, 200);
  for (int i = 0; i < 100; ++i) tree->GetItems()->Add(nullptr, "node " + std::to_string(i));
  ShowForm();

  const TRect bars[] = {OnForm(grid, grid->VertScrollBarRect()),
                        OnForm(memo, memo->VScrollBarRect()), OnForm(tree, tree->VScrollBarRect())};
  for (const TRect& b : bars) {
    ASSERT_EQ(b.Width(), 16);
    ASSERT_GT(b.Height(), 64);
  }
  auto upButton = [](const TRect& b) { return Rect(b.Left, b.Top, b.Right, b.Top + 16); };
  auto downButton = [](const TRect& b) { return Rect(b.Left, b.Bottom - 16, b.Right, b.Bottom); };
  const std::vector<TColor> up = Pixels(upButton(bars[0])), down = Pixels(downButton(bars[0]));
  for (int i = 1; i < 3; ++i) {
    EXPECT_EQ(Pixels(upButton(bars[i])), up) << "bar " << i;
    EXPECT_EQ(Pixels(downButton(bars[i])), down) << "bar " << i;
  }
  // The button: a raised bevel on the button face with a dark arrow in its middle.
  const TBitmap& s = Surface();
  const TRect b = upButton(bars[0]);
  EXPECT_EQ(PixelAt(s, b.Left, b.Top), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(PixelAt(s, b.Right - 1, b.Bottom - 1), ColorToRGB(cl3DDkShadow));
  EXPECT_EQ(PixelAt(s, b.Left + 3, b.Top + 3), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(s, b.Left + 8, b.Top + 8), ColorToRGB(clBtnText));
  // The track under the thumb (each control scrolled to its end): face and highlight in a
  // checker, every pixel unlike its right-hand neighbour.
  grid->SetRow(999);
  memo->SetTopLine(100);
  tree->SetTopRow(100);
  for (const TRect& bar : bars) {
    const TBitmap& t = Surface();
    for (int y = bar.Top + 16; y < bar.Top + 24; ++y)
      for (int x = bar.Left; x < bar.Right - 1; ++x) {
        const TColor c = PixelAt(t, x, y);
        ASSERT_TRUE(c == ColorToRGB(clBtnFace) || c == ColorToRGB(clBtnHighlight)) << x << "," << y;
        ASSERT_NE(c, PixelAt(t, x + 1, y)) << x << "," << y;
      }
  }
}

TEST_F(ScrollBarLook, AMemoBarWithNothingToScrollShowsEmbossedArrowsAndNoThumb) {
  auto* memo = new TMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(8, 8, 200, 150);
  memo->SetScrollBars(ssVertical);
  memo->GetLines()->Add("short");
  ShowForm();
  const TRect bar = OnForm(memo, memo->VScrollBarRect());
  ASSERT_EQ(bar.Width(), 16);
  EXPECT_TRUE(memo->VThumbRect().IsEmpty());
  const TRect track = Rect(bar.Left + 2, bar.Top + 16, bar.Right - 2, bar.Bottom - 16);
  EXPECT_EQ(CountOtherPixels(Surface(), track, ColorToRGB(clBtnFace)),
            CountPixels(Surface(), track, ColorToRGB(clBtnHighlight)));
  for (const TRect& button : {Rect(bar.Left, bar.Top, bar.Right, bar.Top + 16),
                              Rect(bar.Left, bar.Bottom - 16, bar.Right, bar.Bottom)}) {
    EXPECT_EQ(CountPixels(Surface(), button, ColorToRGB(clBtnText)), 0);
    EXPECT_GT(CountPixels(Surface(), button.Inflate(-3, -3), ColorToRGB(clBtnShadow)), 8);
  }
}

// A grid as large as a control may be, a million rows deep, draws only the cells in the part of
// the form that is painted, and its bars draw as far as they show.
TEST_F(ScrollBarLook, AGridOfTheLargestSizeDrawsOnlyTheCellsThatShow) {
  Form->SetBounds(0, 0, 320, 240);
  auto* grid = new TPlainGrid(Form);
  grid->SetParent(Form);
  grid->SetRowCount(1000000);
  grid->SetColCount(1000);
  int drawn = 0;
  grid->OnDrawCell = [&drawn](TObject*, int, int, const TRect&, TGridDrawState) { ++drawn; };
  ShowForm();
  // At the top left, then with only the bottom right 200 x 200 pixels on the form (the cells
  // there are 167,000 rows down; the columns end long before).
  const TPoint places[] = {{0, 0}, {-kMaxControlCoord + 200, -kMaxControlCoord + 200}};
  const int most[] = {6 * 11, 0};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    grid->SetBounds(places[i].X, places[i].Y, kMaxControlCoord, kMaxControlCoord);
    Application->ProcessMessages();
    drawn = 0;
    grid->Invalidate();
    Application->ProcessMessages();
    // Default cells are 64 x 24 with a line: at most 6 columns by 11 rows reach into 320 x 240.
    EXPECT_LE(drawn, most[i]);
    if (most[i] > 0) {
      EXPECT_GT(drawn, 0);
    }
  }
  grid->SetColCount(100000);  // now the bottom right shows cells too
  drawn = 0;
  Application->ProcessMessages();
  EXPECT_GT(drawn, 0);
  EXPECT_LE(drawn, 4 * 9);
  // What shows of the vertical bar is its track and its down button.
  const TRect bar = IntersectRect(OnForm(grid, grid->VertScrollBarRect()), Rect(0, 0, 320, 240));
  ASSERT_EQ(bar.Width(), 16);
  EXPECT_EQ(CountPixels(Surface(), Rect(bar.Left, bar.Top, bar.Right, bar.Bottom - 16),
                        ColorToRGB(clBtnText)),
            0);
  EXPECT_GT(CountPixels(Surface(), Rect(bar.Left, bar.Bottom - 16, bar.Right, bar.Bottom),
                        ColorToRGB(clBtnText)),
            8);
}

}  // namespace
}  // namespace qel::test

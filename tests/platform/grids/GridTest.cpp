// The draw grid driven through injected input: keyboard navigation, range selection, column
// sizing, the grid's own scroll bars and the wheel, geometry after scrolling, the cell loop
// painting only what shows, and a million-row grid.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <utility>
#include <vector>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class GridTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Grid = new TDrawGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 300, 150);
    Grid->SetColCount(10);
    Grid->SetRowCount(20);
    Grid->OnTopLeftChanged = [this](TObject*) { ++TopLeftChanges; };
    Grid->OnDrawCell = [this](TObject*, int C, int R, const TRect&, TGridDrawState S) {
      Drawn.insert({C, R});
      ++DrawCalls;
      if (S.Contains(gdFixed)) ++FixedDrawn;
    };
  }
  // A point in the middle of a cell, in form coordinates.
  TPoint CellCenter(int C, int R) {
    TRect r = Grid->CellRect(C, R);
    EXPECT_FALSE(r.IsEmpty()) << C << "," << R;
    return At(Grid, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Repaint() {
    Drawn.clear();
    DrawCalls = FixedDrawn = 0;
    Grid->Invalidate();
    Application->ProcessMessages();
  }
  TGridRect Sel(int L, int T, int R, int B) { return {L, T, R, B}; }
  // Compares what the last repaint drew with what CellRect says is on screen, looking only at
  // the rows that can be (the fixed ones and a window from TopRow): a huge grid stays cheap.
  void ExpectOnlyVisibleCellsDrawn() {
    std::vector<int> rows;
    for (int r = 0; r < Grid->GetFixedRows(); ++r) rows.push_back(r);
    int top = Grid->GetTopRow(),
        end = std::min(Grid->GetRowCount(), top + Grid->VisibleRowCount() + 2);
    for (int r = top; r < end; ++r) rows.push_back(r);
    std::set<std::pair<int, int>> visible;
    for (int c = 0; c < Grid->GetColCount(); ++c)
      for (int r : rows)
        if (!Grid->CellRect(c, r).IsEmpty()) visible.insert({c, r});
    EXPECT_EQ(Drawn, visible);
    EXPECT_EQ(DrawCalls, int(visible.size()));
  }

  TDrawGrid* Grid = nullptr;
  int TopLeftChanges = 0;
  std::set<std::pair<int, int>> Drawn;
  int DrawCalls = 0, FixedDrawn = 0;
};

TEST_F(GridTest, ArrowsHomeEndAndPagesMoveTheFocusedCell) {
  ShowForm();
  ASSERT_TRUE(Grid->Focused());
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 1);
  Input().PressKey(VK_RIGHT);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Grid->GetCol(), 2);
  EXPECT_EQ(Grid->GetRow(), 3);
  // Arrows stop at the edges of the scrollable cells: fixed cells are never reached.
  for (int i = 0; i < 5; ++i) Input().PressKey(VK_UP);
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 1);
  Input().PressKey(VK_END);
  EXPECT_EQ(Grid->GetCol(), 9);
  EXPECT_EQ(Grid->GetRow(), 1);
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Grid->GetCol(), 1);
  Input().PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(Grid->GetCol(), 9);
  EXPECT_EQ(Grid->GetRow(), 19);
  EXPECT_FALSE(Grid->CellRect(9, 19).IsEmpty());  // scrolled into view
  Input().PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 1);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  EXPECT_EQ(Grid->GetLeftCol(), 1);
  int page = Grid->VisibleRowCount();
  ASSERT_GT(page, 1);
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Grid->GetRow(), 1 + page);
  EXPECT_EQ(Grid->GetTopRow(), 1 + page);
  Input().PressKey(VK_PRIOR);
  EXPECT_EQ(Grid->GetRow(), 1);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  // Moving the focus resets the selection to that cell.
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 1, 1, 1));
}

TEST_F(GridTest, TabWalksCellsOnlyWithGoTabsOtherwiseItLeavesTheGrid) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 200, 100, 21);
  ShowForm();
  ASSERT_TRUE(Grid->Focused());
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Grid->GetCol(), 1);

  Grid->SetOptions(Grid->GetOptions() << goTabs);
  Grid->SetFocus();
  Grid->SetCol(8);
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Grid->Focused());
  EXPECT_EQ(Grid->GetCol(), 9);
  Input().PressKey(VK_TAB);  // wraps to the first scrollable column of the next row
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 2);
  Input().PressKey(VK_TAB, {ssShift});
  EXPECT_EQ(Grid->GetCol(), 9);
  EXPECT_EQ(Grid->GetRow(), 1);
}

TEST_F(GridTest, ShiftKeysAndMouseDragSelectRangesOnlyWithGoRangeSelect) {
  ShowForm();
  Input().PressKey(VK_RIGHT, {ssShift});
  Input().PressKey(VK_DOWN, {ssShift});
  Input().PressKey(VK_DOWN, {ssShift});
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 1, 2, 3));
  // The anchor stays where the range began: going back shrinks it.
  Input().PressKey(VK_UP, {ssShift});
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 1, 2, 2));
  EXPECT_EQ(Grid->GetRow(), 2);

  Input().Drag(CellCenter(1, 3), CellCenter(1, 1));
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 1, 1, 3));
  EXPECT_EQ(Grid->GetRow(), 1);
  // Shift+click stretches from the anchor.
  Input().Click(CellCenter(1, 4).X, CellCenter(1, 4).Y, mbLeft, {ssShift});
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 3, 1, 4));

  // Dragging below the cells scrolls and keeps stretching.
  TPoint from = CellCenter(1, 2);
  TPoint below = At(Grid, 40, Grid->GetHeight() + 20);
  Input().Drag(from, below, mbLeft, {}, 3);
  EXPECT_GT(Grid->GetSelection().Bottom, 4);
  EXPECT_EQ(Grid->GetSelection().Top, 2);
  EXPECT_GT(Grid->GetTopRow(), 1);

  Grid->SetOptions(Grid->GetOptions() >> goRangeSelect);
  Grid->SetSelection(Sel(1, 1, 1, 1));
  Input().PressKey(VK_DOWN, {ssShift});
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 2, 1, 2));

  Grid->SetOptions(Grid->GetOptions() << goRowSelect);
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 2, 9, 2));
}

TEST_F(GridTest, FixedCellsAreNeitherSelectableNorFocusableAndSelectCellCanRefuse) {
  ShowForm();
  Grid->SetCol(3);
  Input().Click(CellCenter(0, 2).X, CellCenter(0, 2).Y);  // a row header
  Input().Click(CellCenter(2, 0).X, CellCenter(2, 0).Y);  // a column header
  EXPECT_EQ(Grid->GetCol(), 3);
  EXPECT_EQ(Grid->GetRow(), 1);
  Grid->SetCol(0);
  Grid->SetRow(-5);
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 1);
  Grid->SetSelection(Sel(0, 0, 3, 2));
  EXPECT_EQ(Grid->GetSelection(), Sel(1, 1, 3, 2));

  std::vector<std::pair<int, int>> asked;
  Grid->OnSelectCell = [&](TObject* S, int C, int R, bool& Can) {
    EXPECT_EQ(S, Grid);
    asked.push_back({C, R});
    Can = C != 2;
  };
  Grid->SetCol(1);
  Input().Click(CellCenter(2, 2).X, CellCenter(2, 2).Y);
  EXPECT_EQ(Grid->GetCol(), 1);
  Input().PressKey(VK_RIGHT);
  EXPECT_EQ(Grid->GetCol(), 1);
  Input().Click(CellCenter(3, 2).X, CellCenter(3, 2).Y);
  EXPECT_EQ(Grid->GetCol(), 3);
  EXPECT_EQ(Grid->GetRow(), 2);
  EXPECT_EQ(asked.back(), std::make_pair(3, 2));
  EXPECT_GE(asked.size(), 3u);

  EXPECT_THROW(Grid->SetFixedCols(10), EInvalidGridOperation);
  Grid->SetColCount(1);  // fixed columns give way to keep one scrollable column
  EXPECT_EQ(Grid->GetFixedCols(), 0);
  EXPECT_EQ(Grid->GetCol(), 0);
}

TEST_F(GridTest, MouseToCellAndCellRectAgreeAfterScrolling) {
  Grid->SetColWidths(3, 20);
  Grid->SetRowHeights(5, 50);
  Grid->SetGridLineWidth(2);
  ShowForm();
  TRect area = Grid->CellArea();
  for (auto [left, top] : {std::pair{1, 1}, {3, 5}, {6, 12}, {9, 19}}) {
    Grid->SetLeftCol(left);
    Grid->SetTopRow(top);
    int shown = 0;
    for (int c = 0; c < Grid->GetColCount(); ++c)
      for (int r = 0; r < Grid->GetRowCount(); ++r) {
        TRect rc = Grid->CellRect(c, r);
        if (rc.IsEmpty()) continue;
        ++shown;
        // Every visible cell starts inside the cell area and maps back to itself.
        EXPECT_TRUE(area.Contains(rc.TopLeft()));
        TGridCoord g = Grid->MouseCoord(rc.Left, rc.Top);
        EXPECT_EQ(g, (TGridCoord{c, r})) << c << "," << r;
        int col, row;
        Grid->MouseToCell(rc.Right - 1, rc.Bottom - 1, col, row);
        if (rc.Right <= area.Right && rc.Bottom <= area.Bottom) {
          EXPECT_EQ(col, c);
          EXPECT_EQ(row, r);
        }
        // Scrolled-away cells before LeftCol/TopRow are never on screen.
        EXPECT_TRUE(c < Grid->GetFixedCols() || c >= Grid->GetLeftCol());
        EXPECT_TRUE(r < Grid->GetFixedRows() || r >= Grid->GetTopRow());
      }
    EXPECT_GT(shown, 4);
    // The scroll bars and the border are no cells.
    EXPECT_EQ(Grid->MouseCoord(area.Right, area.Top + 1), (TGridCoord{-1, -1}));
    EXPECT_EQ(Grid->MouseCoord(0, 0), (TGridCoord{-1, -1}));
  }
}

TEST_F(GridTest, DraggingAColumnLineInTheHeaderSizesTheColumn) {
  ShowForm();
  int w = Grid->GetColWidths(1);
  TRect h = Grid->CellRect(1, 0);
  int lineX = h.Right;  // the line right after the column
  // Without goColSizing the same drag does not size anything.
  Input().Drag(At(Grid, lineX, h.Top + 5), At(Grid, lineX + 30, h.Top + 5));
  EXPECT_EQ(Grid->GetColWidths(1), w);

  Grid->SetOptions(Grid->GetOptions() << goColSizing);
  EXPECT_EQ(Grid->HitTestGrid(lineX, h.Top + 5), ghColLine);
  EXPECT_EQ(Grid->HitTestGrid(lineX, Grid->CellRect(1, 1).Top + 5), ghCell);
  Input().Drag(At(Grid, lineX, h.Top + 5), At(Grid, lineX + 30, h.Top + 5));
  EXPECT_EQ(Grid->GetColWidths(1), w + 30);
  EXPECT_EQ(Grid->CellRect(1, 0).Right, lineX + 30);
  // Shrinking stops at a small minimum, never below it.
  lineX = Grid->CellRect(1, 0).Right;
  Input().Drag(At(Grid, lineX, h.Top + 5), At(Grid, 0, h.Top + 5));
  EXPECT_EQ(Grid->GetColWidths(1), TCustomGrid::MinCellSize);
  EXPECT_EQ(Grid->GetGridState(), gsNormal);

  Grid->SetOptions(Grid->GetOptions() << goRowSizing);
  TRect rh = Grid->CellRect(0, 2);
  Input().Drag(At(Grid, rh.Left + 5, rh.Bottom), At(Grid, rh.Left + 5, rh.Bottom + 10));
  EXPECT_EQ(Grid->GetRowHeights(2), Grid->GetDefaultRowHeight() + 10);
}

TEST_F(GridTest, ThePointerShowsASizingCursorOverLinesThatSize) {
  ShowForm();
  auto shown = [this] {
    return Backend()->Cursors.empty() ? crDefault : Backend()->Cursors.back();
  };
  TRect h = Grid->CellRect(1, 0);
  TRect rh = Grid->CellRect(0, 2);
  TPoint colLine = At(Grid, h.Right, h.Top + 5), rowLine = At(Grid, rh.Left + 5, rh.Bottom);
  TPoint cell = CellCenter(2, 2);
  // Without the sizing options the lines are nothing special.
  Input().MouseMove(colLine.X, colLine.Y);
  EXPECT_EQ(shown(), crDefault);
  Input().MouseMove(rowLine.X, rowLine.Y);
  EXPECT_EQ(shown(), crDefault);

  Grid->SetOptions(Grid->GetOptions() << goColSizing << goRowSizing);
  Input().MouseMove(colLine.X, colLine.Y);
  EXPECT_EQ(shown(), crSizeWE);
  Input().MouseMove(cell.X, cell.Y);
  EXPECT_EQ(shown(), crDefault);
  Input().MouseMove(rowLine.X, rowLine.Y);
  EXPECT_EQ(shown(), crSizeNS);
  // A column line below the header sizes nothing and keeps the plain cursor.
  Input().MouseMove(At(Grid, h.Right, Grid->CellRect(1, 2).Top + 5).X,
                    At(Grid, h.Right, Grid->CellRect(1, 2).Top + 5).Y);
  EXPECT_EQ(shown(), crDefault);

  // While sizing, the cursor stays even when the pointer runs ahead of the line.
  Input().MouseDown(colLine.X, colLine.Y);
  ASSERT_EQ(Grid->GetGridState(), gsColSizing);
  Input().MouseMove(colLine.X + 40, colLine.Y + 30);
  EXPECT_EQ(shown(), crSizeWE);
  Input().MouseUp(colLine.X + 40, colLine.Y + 30);
  Input().MouseMove(cell.X, cell.Y);
  EXPECT_EQ(shown(), crDefault);

  // Elsewhere the grid's own Cursor shows.
  Grid->SetCursor(crCross);
  Input().MouseMove(cell.X + 1, cell.Y);
  EXPECT_EQ(shown(), crCross);
  Input().MouseMove(rowLine.X, rowLine.Y);
  EXPECT_EQ(shown(), crSizeNS);
}

TEST_F(GridTest, DraggingAHeaderMovesItsColumnOrRowWithTheFocus) {
  std::vector<std::pair<int, int>> moves;
  Grid->OnColumnMoved = [&](TObject*, int F, int T) { moves.push_back({F, T}); };
  Grid->OnRowMoved = [&](TObject*, int F, int T) { moves.push_back({-F, -T}); };
  Grid->SetColWidths(1, 30);
  ShowForm();
  Grid->SetCol(1);
  // Without goColMoving a header drag neither moves nor selects.
  Input().Drag(CellCenter(1, 0), CellCenter(3, 0));
  EXPECT_TRUE(moves.empty());
  EXPECT_EQ(Grid->GetCol(), 1);

  Grid->SetOptions(Grid->GetOptions() << goColMoving << goRowMoving);
  TPoint from = CellCenter(1, 0), to = CellCenter(3, 0);
  Input().MouseDown(from.X, from.Y);
  Input().MouseMove(to.X, to.Y);
  EXPECT_EQ(Grid->GetGridState(), gsColMoving);
  // The insertion bar shows right of the target column while dragging.
  TRect target = Grid->CellRect(3, 0);
  EXPECT_EQ(PixelAt(Surface(), At(Grid, target.Right, target.Top + 30).X,
                    At(Grid, target.Right, target.Top + 30).Y),
            clBlack);
  Input().MouseUp(to.X, to.Y);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0], std::make_pair(1, 3));
  EXPECT_EQ(Grid->GetColWidths(3), 30);  // the size went with the column
  EXPECT_EQ(Grid->GetColWidths(1), Grid->GetDefaultColWidth());
  EXPECT_EQ(Grid->GetCol(), 3);  // and so did the focus

  Input().Drag(CellCenter(0, 4), CellCenter(0, 2));
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[1], std::make_pair(-4, -2));
  // Dropping a header where it started moves nothing.
  Input().Drag(CellCenter(2, 0), CellCenter(2, 0));
  EXPECT_EQ(moves.size(), 2u);
}

TEST_F(GridTest, ScrollBarArrowsTracksThumbAndWheelScroll) {
  ShowForm();
  TRect vb = Grid->VertScrollBarRect();
  TRect hb = Grid->HorzScrollBarRect();
  ASSERT_FALSE(vb.IsEmpty());
  ASSERT_FALSE(hb.IsEmpty());
  auto click = [&](int X, int Y) { Input().Click(At(Grid, X, Y).X, At(Grid, X, Y).Y); };
  click(vb.Left + 8, vb.Bottom - 4);  // down arrow
  EXPECT_EQ(Grid->GetTopRow(), 2);
  click(vb.Left + 8, vb.Top + 4);  // up arrow
  EXPECT_EQ(Grid->GetTopRow(), 1);
  click(vb.Left + 8, vb.Bottom - TCustomGrid::ScrollBarSize - 2);  // track below the thumb
  EXPECT_EQ(Grid->GetTopRow(), 1 + Grid->VisibleRowCount());
  click(hb.Right - 4, hb.Top + 8);  // right arrow
  EXPECT_EQ(Grid->GetLeftCol(), 2);
  // Scrolling the view leaves the focused cell alone.
  EXPECT_EQ(Grid->GetRow(), 1);

  // Without thumb tracking the view follows on release only.
  TRect t = Grid->ScrollThumbRect(true);
  TPoint grab = At(Grid, t.Left + 5, t.Top + 2);
  Input().MouseDown(grab.X, grab.Y);
  Input().MouseMove(grab.X, grab.Y + 500);
  int before = Grid->GetTopRow();
  EXPECT_EQ(Grid->GetTopRow(), before);
  EXPECT_GT(Grid->ScrollThumbRect(true).Top, t.Top);  // the thumb itself follows
  Input().MouseUp(grab.X, grab.Y + 500);
  EXPECT_EQ(Grid->GetTopRow(), Grid->MaxTopRow());
  EXPECT_FALSE(Grid->CellRect(Grid->GetLeftCol(), 19).IsEmpty());

  Grid->SetOptions(Grid->GetOptions() << goThumbTracking);
  t = Grid->ScrollThumbRect(true);
  grab = At(Grid, t.Left + 5, t.Top + 2);
  Input().MouseDown(grab.X, grab.Y);
  Input().MouseMove(grab.X, grab.Y - 500);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  Input().MouseUp(grab.X, grab.Y - 500);

  TPoint mid = CellCenter(Grid->GetLeftCol(), 2);
  Input().WheelAt(mid.X, mid.Y, -WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 1 + TCustomGrid::WheelLines);
  Input().WheelAt(mid.X, mid.Y, WHEEL_DELTA);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  Input().WheelAt(mid.X, mid.Y, WHEEL_DELTA);  // already at the top
  EXPECT_EQ(Grid->GetTopRow(), 1);
  int left = Grid->GetLeftCol();
  Input().WheelAt(mid.X, mid.Y, -WHEEL_DELTA, {ssShift});
  EXPECT_EQ(Grid->GetLeftCol(), left + 1);
}

TEST_F(GridTest, HeldScrollBarPartsRepeatAndARestingDragKeepsSelecting) {
  Grid->SetRowCount(200);
  ShowForm();
  TRect vb = Grid->VertScrollBarRect();
  TPoint down = At(Grid, vb.Left + 8, vb.Bottom - 4);
  Input().MouseDown(down.X, down.Y);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  Application->AdvanceTime(TCustomGrid::RepeatDelayMs - 1);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  Application->AdvanceTime(1);
  EXPECT_EQ(Grid->GetTopRow(), 3);
  Application->AdvanceTime(2 * TCustomGrid::RepeatIntervalMs);
  EXPECT_EQ(Grid->GetTopRow(), 5);
  Input().MouseUp(down.X, down.Y);
  Application->AdvanceTime(1000);
  EXPECT_EQ(Grid->GetTopRow(), 5);

  // The track pages until the thumb arrives under the pointer, then stops.
  TPoint track = At(Grid, vb.Left + 8, vb.Top + vb.Height() / 2);
  Input().MouseDown(track.X, track.Y);
  Application->AdvanceTime(3000);
  Input().MouseUp(track.X, track.Y);
  TRect t = Grid->ScrollThumbRect(true);
  EXPECT_GT(Grid->GetTopRow(), 5 + Grid->VisibleRowCount());
  EXPECT_LT(Grid->GetTopRow(), Grid->MaxTopRow());
  EXPECT_LE(t.Top, vb.Top + vb.Height() / 2);

  Grid->SetTopRow(1);
  TPoint from = CellCenter(1, 1);
  TPoint below = At(Grid, 40, Grid->GetHeight() + 30);
  Input().MouseDown(from.X, from.Y);
  Input().MouseMove(below.X, below.Y);
  int reached = Grid->GetSelection().Bottom;
  Application->AdvanceTime(10 * TCustomGrid::DragScrollMs);
  EXPECT_EQ(Grid->GetSelection().Bottom, reached + 10);
  EXPECT_EQ(Grid->GetRow(), reached + 10);
  Input().MouseUp(below.X, below.Y);
  Application->AdvanceTime(10 * TCustomGrid::DragScrollMs);
  EXPECT_EQ(Grid->GetSelection().Bottom, reached + 10);
}

TEST_F(GridTest, TopLeftChangedFiresOncePerRealChange) {
  ShowForm();
  TopLeftChanges = 0;
  Grid->SetTopRow(3);
  EXPECT_EQ(TopLeftChanges, 1);
  Grid->SetTopRow(3);
  Grid->SetTopRow(-10);  // clamps to the first scrollable row: a change
  EXPECT_EQ(TopLeftChanges, 2);
  EXPECT_EQ(Grid->GetTopRow(), 1);
  Grid->SetTopRow(1000);
  EXPECT_EQ(Grid->GetTopRow(), Grid->MaxTopRow());
  EXPECT_EQ(TopLeftChanges, 3);
  // Moving within the visible cells does not scroll.
  Grid->SetTopRow(1);
  TopLeftChanges = 0;
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(TopLeftChanges, 0);
  // Down to the row just past the last one wholly shown: one row of scrolling.
  for (int i = 1; i < Grid->VisibleRowCount(); ++i) Input().PressKey(VK_DOWN);
  EXPECT_EQ(TopLeftChanges, 1);
  EXPECT_EQ(Grid->GetTopRow(), 2);
  // A taller window shows the tail without a gap: the top row moves back.
  Grid->SetTopRow(Grid->MaxTopRow());
  TopLeftChanges = 0;
  Grid->SetHeight(Grid->GetHeight() + 21 * Grid->GetDefaultRowHeight());
  EXPECT_EQ(Grid->GetTopRow(), 1);
  EXPECT_EQ(TopLeftChanges, 1);
}

TEST_F(GridTest, CellLoopDrawsEachVisibleCellOnceAndNothingElse) {
  ShowForm();
  for (auto [left, top] : {std::pair{1, 1}, {4, 9}}) {
    Grid->SetLeftCol(left);
    Grid->SetTopRow(top);
    Repaint();
    std::set<std::pair<int, int>> visible;
    for (int c = 0; c < Grid->GetColCount(); ++c)
      for (int r = 0; r < Grid->GetRowCount(); ++r)
        if (!Grid->CellRect(c, r).IsEmpty()) visible.insert({c, r});
    EXPECT_EQ(Drawn, visible);
    EXPECT_EQ(DrawCalls, int(visible.size()));
    EXPECT_GT(FixedDrawn, 0);
  }
  // Without default drawing the cells are still drawn, only the backgrounds are left out.
  Grid->SetDefaultDrawing(false);
  Repaint();
  EXPECT_GT(DrawCalls, 0);
}

TEST_F(GridTest, SelectedAndFixedCellsAndLinesArePaintedWhereTheGeometrySays) {
  Grid->OnDrawCell = nullptr;
  ShowForm();
  Grid->SetSelection(Sel(1, 1, 2, 2));
  const TBitmap& s = Surface();
  auto px = [&](int X, int Y) {
    TPoint p = At(Grid, X, Y);
    return PixelAt(s, p.X, p.Y);
  };
  TRect sel = Grid->CellRect(1, 2);  // selected, not the focused cell
  TRect plain = Grid->CellRect(1, 3);
  TRect fixed = Grid->CellRect(0, 3);
  EXPECT_EQ(px(sel.Left + 3, sel.Top + 3), ColorToRGB(clHighlight));
  EXPECT_EQ(px(plain.Left + 3, plain.Top + 3), ColorToRGB(Grid->GetColor()));
  EXPECT_EQ(px(fixed.Left + 3, fixed.Top + 3), ColorToRGB(Grid->GetFixedColor()));
  EXPECT_EQ(px(plain.Right, plain.Top + 3), ColorToRGB(clSilver));    // vertical line
  EXPECT_EQ(px(plain.Left + 3, plain.Bottom), ColorToRGB(clSilver));  // horizontal line
  EXPECT_EQ(px(plain.Right - 1, plain.Top + 3), ColorToRGB(Grid->GetColor()));
}

TEST_F(GridTest, AMillionRowGridJumpsToItsEndAndPaintsAsLittleThere) {
  Grid->SetRowCount(1000000);
  Grid->SetRowHeights(500000, 60);
  ShowForm();
  Repaint();
  ExpectOnlyVisibleCellsDrawn();
  auto start = std::chrono::steady_clock::now();
  Input().PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(Grid->GetRow(), 999999);
  EXPECT_EQ(Grid->GetTopRow(), Grid->MaxTopRow());
  TRect last = Grid->CellRect(9, 999999);
  ASSERT_FALSE(last.IsEmpty());
  EXPECT_LE(last.Bottom, Grid->CellArea().Bottom);
  EXPECT_EQ(Grid->MouseCoord(last.Left + 1, last.Top + 1), (TGridCoord{9, 999999}));
  Repaint();
  ExpectOnlyVisibleCellsDrawn();
  EXPECT_TRUE(Drawn.count({9, 999999}));
  // The thumb sits at the end of its track.
  TRect vb = Grid->VertScrollBarRect(), t = Grid->ScrollThumbRect(true);
  EXPECT_EQ(t.Bottom, vb.Bottom - TCustomGrid::ScrollBarSize);
  // Jumping to the middle and back is a handful of lookups, not a walk over the rows.
  Grid->SetTopRow(500000);
  int c = Grid->GetLeftCol();
  EXPECT_EQ(Grid->CellRect(c, 500001).Top - Grid->CellRect(c, 500000).Top, 61);
  Input().PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(Grid->GetTopRow(), 1);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start);
  EXPECT_LT(ms.count(), 2000);
}

// Track clicks and Page keys step one page from anywhere in a grid of 2*10^9 rows: the index
// arithmetic is 64-bit and saturates, never clipped at the pixel limit of 2^30.
TEST_F(GridTest, PagingAtTwoBillionRowsStepsOnePageFromAnywhere) {
  Grid->SetRowCount(2000000000);
  ShowForm();
  TRect vb = Grid->VertScrollBarRect();
  ASSERT_FALSE(vb.IsEmpty());
  const int page = Grid->VisibleRowCount(), maxTop = Grid->MaxTopRow();
  ASSERT_GT(page, 0);
  struct Case {
    int Start;
    bool Down;  // a click on the track below the thumb, else above it
    int Expected;
  };
  const Case cases[] = {
      {1, true, 1 + page},
      {1100000000, true, 1100000000 + page},
      {1500000000, false, 1500000000 - page},
      {maxTop - 1, true, maxTop},  // saturates at the last page
      {1073741823, true, 1073741823 + page},
  };
  for (const Case& c : cases) {
    Grid->SetTopRow(c.Start);
    ASSERT_EQ(Grid->GetTopRow(), c.Start);
    TRect t = Grid->ScrollThumbRect(true);
    int y = c.Down ? (t.Bottom + vb.Bottom - TCustomGrid::ScrollBarSize) / 2
                   : (t.Top + vb.Top + TCustomGrid::ScrollBarSize) / 2;
    ASSERT_EQ(Grid->HitTestGrid(vb.Left + 8, y), c.Down ? ghPageDown : ghPageUp) << c.Start;
    TPoint p = At(Grid, vb.Left + 8, y);
    Input().Click(p.X, p.Y);
    EXPECT_EQ(Grid->GetTopRow(), c.Expected) << c.Start;
  }
  // Page Down from the last rows stays on the last row instead of wrapping below zero.
  Grid->SetFocus();
  Input().PressKey(VK_END, {ssCtrl});
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Grid->GetRow(), 1999999999);
  EXPECT_EQ(Grid->GetTopRow(), maxTop);
}

TEST_F(GridTest, DegenerateSizesNeverCrashOrDivide) {
  Grid->SetBounds(10, 10, 0, 0);
  ShowForm();
  Repaint();
  EXPECT_EQ(DrawCalls, 0);
  EXPECT_EQ(Grid->VisibleRowCount(), 0);
  EXPECT_EQ(Grid->MouseCoord(0, 0), (TGridCoord{-1, -1}));
  Input().PressKey(VK_NEXT);
  Grid->SetBounds(10, 10, 300, 150);
  Grid->SetDefaultColWidth(0);
  Grid->SetDefaultRowHeight(0);
  Grid->SetGridLineWidth(0);
  Repaint();
  Input().PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(Grid->GetRow(), 19);
  EXPECT_TRUE(Grid->VertScrollBarRect().IsEmpty());
}

TEST_F(GridTest, PublishedPropertiesRoundTripThroughAFormFile) {
  RegisterGridClasses();
  Form->SetName("Root");
  Grid->SetName("Grid1");
  Grid->SetColCount(7);
  Grid->SetRowCount(30);
  Grid->SetFixedCols(2);
  Grid->SetFixedRows(0);
  Grid->SetDefaultRowHeight(18);
  Grid->SetFixedColor(clRed);
  Grid->SetOptions({goVertLine, goRowSelect, goThumbTracking});
  std::string text = WriteComponentText(Form);
  EXPECT_EQ(text.find("DefaultColWidth"), std::string::npos);  // a default is not written
  auto* copy = CreateFromText<TForm>(text, nullptr);
  std::unique_ptr<TForm> guard(copy);
  auto* g = dynamic_cast<TDrawGrid*>(copy->FindComponent("Grid1"));
  ASSERT_TRUE(g);
  EXPECT_EQ(g->GetColCount(), 7);
  EXPECT_EQ(g->GetRowCount(), 30);
  EXPECT_EQ(g->GetFixedCols(), 2);
  EXPECT_EQ(g->GetFixedRows(), 0);
  EXPECT_EQ(g->GetDefaultRowHeight(), 18);
  EXPECT_EQ(g->GetFixedColor(), clRed);
  EXPECT_EQ(g->GetOptions(), (TGridOptions{goVertLine, goRowSelect, goThumbTracking}));
  EXPECT_EQ(WriteComponentText(copy), text);
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

// A draw grid over a table of strings, edited in place.
class GridEditorTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Cells.assign(Grid->GetRowCount(), std::vector<std::string>(Grid->GetColCount()));
    Cells[1][1] = "alpha";
    Grid->OnGetEditText = [this](TObject*, int C, int R, std::string& V) { V = Cells[R][C]; };
    Grid->OnSetEditText = [this](TObject*, int C, int R, const std::string& V) {
      Cells[R][C] = V;
      ++Sets;
    };
    Grid->SetOptions(Grid->GetOptions() << goEditing);
  }
  std::vector<std::vector<std::string>> Cells;
  int Sets = 0;
};

TEST_F(GridEditorTest, F2OpensTheEditorOnTheCellAndEnterClosesIt) {
  ShowForm();
  Input().PressKey(VK_F2);
  ASSERT_TRUE(Grid->GetEditorMode());
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->GetText(), "alpha");
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
  EXPECT_EQ(Sets, 0);  // filling the editor is no edit
  Input().PressKey(VK_END);
  Input().TypeText("!");
  EXPECT_EQ(Cells[1][1], "alpha!");
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_TRUE(Grid->Focused());
  EXPECT_FALSE(e->GetVisible());
  Input().PressKey(VK_RETURN);  // Enter opens it again
  EXPECT_TRUE(Grid->GetEditorMode());
  Input().PressKey(VK_RETURN);
  // A double click opens it on the cell clicked.
  TPoint p = CellCenter(2, 3);
  Input().DoubleClick(p.X, p.Y);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(Grid->GetCol(), 2);
  EXPECT_EQ(Grid->GetRow(), 3);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(2, 3));
}

TEST_F(GridEditorTest, TypingStartsAnEditEscRestoresAndArrowsLeaveTheCell) {
  ShowForm();
  Input().TypeText("xy");
  ASSERT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][1], "xy");  // the first character replaced the old text
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][1], "alpha");
  EXPECT_TRUE(Grid->Focused());

  Input().TypeText("q");
  Input().PressKey(VK_DOWN);  // moving on keeps the edit and closes the editor
  EXPECT_EQ(Cells[1][1], "q");
  EXPECT_EQ(Grid->GetRow(), 2);
  EXPECT_FALSE(Grid->GetEditorMode());
  // Left inside the text moves the caret; at its start it leaves the cell.
  Grid->SetCol(2);
  Cells[2][2] = "ab";
  Input().PressKey(VK_F2);
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_RIGHT);
  EXPECT_EQ(Grid->GetCol(), 2);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Grid->GetCol(), 2);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Grid->GetCol(), 1);

  // With goAlwaysShowEditor the editor follows the focus to the next cell.
  Grid->SetOptions(Grid->GetOptions() << goAlwaysShowEditor);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_DOWN);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(Grid->InplaceEditor()->BoundsRect(), Grid->CellRect(1, 3));
}

TEST_F(GridEditorTest, AlwaysShowEditorOpensTheEditorWhenTheGridGainsTheFocus) {
  Grid->SetOptions(Grid->GetOptions() << goAlwaysShowEditor);
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 180, 100, 24);
  ShowForm();  // the grid is first in tab order: showing the form focuses it
  ASSERT_TRUE(Grid->GetEditorMode());
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(e->GetText(), "alpha");
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
  // Enter closes it and the grid keeps the focus without reopening it.
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_TRUE(Grid->Focused());
  // Clicking another control leaves the grid; tabbing back opens the editor again.
  TPoint p = At(other, 5, 5);
  Input().Click(p.X, p.Y);
  ASSERT_TRUE(other->Focused());
  EXPECT_FALSE(Grid->GetEditorMode());
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(Sets, 0);
  // Without the option, gaining the focus opens nothing.
  Input().PressKey(VK_RETURN);
  Grid->SetOptions(Grid->GetOptions() >> goAlwaysShowEditor);
  Input().Click(p.X, p.Y);
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Grid->Focused());
  EXPECT_FALSE(Grid->GetEditorMode());
}

TEST_F(GridEditorTest, TheEditorFollowsItsCellWhenTheGridScrollsOrSizes) {
  Grid->SetOptions(Grid->GetOptions() << goThumbTracking);
  ShowForm();
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  Grid->SetColWidths(1, 90);
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
  Grid->SetTopRow(5);
  EXPECT_TRUE(e->BoundsRect().IsEmpty());
  Grid->SetTopRow(1);
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
  // Without goEditing nothing opens it.
  Input().PressKey(VK_RETURN);
  Grid->SetOptions(Grid->GetOptions() >> goEditing);
  Input().PressKey(VK_F2);
  Input().TypeText("z");
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][1], "alpha");
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

// A grid whose column 2 chooses from a pick list and whose column 3 has an ellipsis button.
class TPickGrid : public TDrawGrid {
 public:
  using TDrawGrid::TDrawGrid;
  std::vector<std::pair<int, int>> PickAsked;
  int ButtonClicks = 0;

 protected:
  TEditStyle GetEditStyle(int ACol, int) override {
    return ACol == 2 ? esPickList : ACol == 3 ? esEllipsis : esSimple;
  }
  void GetPickListItems(int ACol, int ARow, TStrings& Items) override {
    PickAsked.push_back({ACol, ARow});
    EXPECT_EQ(Items.GetCount(), 0);
    Items.Add("red");
    Items.Add("green");
    Items.Add("blue");
  }
  void EditButtonClick() override {
    ++ButtonClicks;
    TDrawGrid::EditButtonClick();
  }
};

class GridPickListTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Grid = new TPickGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 300, 150);
    Grid->SetColCount(5);
    Grid->SetRowCount(10);
    Cells.assign(10, std::vector<std::string>(5));
    Cells[1][2] = "green";
    Grid->OnGetEditText = [this](TObject*, int C, int R, std::string& V) { V = Cells[R][C]; };
    Grid->OnSetEditText = [this](TObject*, int C, int R, const std::string& V) { Cells[R][C] = V; };
    Grid->OnGetEditMask = [this](TObject*, int C, int R, std::string& V) {
      MaskAsked.push_back({C, R});
      if (C == 1) V = "00:00;1;_";
    };
    Grid->SetOptions(Grid->GetOptions() << goEditing);
  }
  TPoint ButtonCenter() {
    TCustomControl* b = Grid->InplaceEditor()->ButtonControl();
    return At(Grid, b->GetLeft() + b->GetWidth() / 2, b->GetTop() + b->GetHeight() / 2);
  }
  TPoint ItemCenter(int Index) {
    TInplaceEdit* e = Grid->InplaceEditor();
    TRect b = e->PickListBounds(), r = e->PickItemRect(Index);
    return {b.Left + (r.Left + r.Right) / 2, b.Top + (r.Top + r.Bottom) / 2};
  }
  TPickGrid* Grid = nullptr;
  std::vector<std::vector<std::string>> Cells;
  std::vector<std::pair<int, int>> MaskAsked;
};

TEST_F(GridPickListTest, EachCellGivesItsEditStyleAndMaskWhenTheEditorOpens) {
  ShowForm();
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->GetEditStyle(), esSimple);
  EXPECT_EQ(e->GetEditMask(), "00:00;1;_");
  ASSERT_FALSE(MaskAsked.empty());
  EXPECT_EQ(MaskAsked.back(), std::make_pair(1, 1));
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
  EXPECT_TRUE(!e->ButtonControl() || !e->ButtonControl()->GetVisible());

  // A pick-list cell: the button takes the right end of the cell.
  Input().PressKey(VK_RETURN);
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  EXPECT_EQ(e->GetEditStyle(), esPickList);
  EXPECT_EQ(e->GetEditMask(), "");
  ASSERT_TRUE(e->ButtonControl());
  EXPECT_TRUE(e->ButtonControl()->GetVisible());
  TRect cell = Grid->CellRect(2, 1);
  EXPECT_EQ(e->BoundsRect(),
            Rect(cell.Left, cell.Top, cell.Right - TInplaceEdit::ButtonWidth, cell.Bottom));
  EXPECT_EQ(e->ButtonControl()->BoundsRect(),
            Rect(cell.Right - TInplaceEdit::ButtonWidth, cell.Top, cell.Right, cell.Bottom));
  // The button follows the cell when the column is sized.
  Grid->SetColWidths(2, 100);
  cell = Grid->CellRect(2, 1);
  EXPECT_EQ(e->ButtonControl()->BoundsRect().Right, cell.Right);

  // An ellipsis cell: the button and Ctrl+Enter call EditButtonClick, the editor stays open.
  int clicks = 0;
  Grid->OnEditButtonClick = [&](TObject* S) {
    EXPECT_EQ(S, Grid);
    ++clicks;
  };
  Input().PressKey(VK_RETURN);
  Grid->SetCol(3);
  Input().PressKey(VK_F2);
  EXPECT_EQ(e->GetEditStyle(), esEllipsis);
  TPoint b = ButtonCenter();
  Input().Click(b.X, b.Y);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_FALSE(e->GetDroppedDown());
  Input().PressKey(VK_RETURN, {ssCtrl});
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Grid->ButtonClicks, 2);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_TRUE(Grid->PickAsked.empty());  // only pick-list cells fill a list

  // Back to a plain cell: the button goes away.
  Input().PressKey(VK_RETURN);
  Grid->SetCol(1);
  Input().PressKey(VK_F2);
  EXPECT_FALSE(e->ButtonControl()->GetVisible());
  EXPECT_EQ(e->BoundsRect(), Grid->CellRect(1, 1));
}

TEST_F(GridPickListTest, KeysOpenTheListMoveInItChooseAndCancel) {
  ShowForm();
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(e->GetDroppedDown());
  ASSERT_EQ(Grid->PickAsked.size(), 1u);
  EXPECT_EQ(Grid->PickAsked[0], std::make_pair(2, 1));
  ASSERT_EQ(e->PickItems().GetCount(), 3);
  EXPECT_EQ(e->PickIndex(), 1);  // the cell's text is highlighted
  // The list lies on the form right under the cell, as wide as the cell.
  TCustomControl* list = e->PickListControl();
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->GetVisible());
  EXPECT_EQ(list->GetParent(), Form);
  TRect cell = Grid->CellRect(2, 1);
  TPoint under = At(Grid, cell.Left, cell.Bottom);
  EXPECT_EQ(list->BoundsRect(), e->PickListBounds());
  EXPECT_EQ(list->GetLeft(), under.X);
  EXPECT_EQ(list->GetTop(), under.Y);
  EXPECT_EQ(list->GetWidth(), cell.Width());
  EXPECT_EQ(list->GetHeight(), 3 * e->PickItemHeight() + 2);

  Input().PressKey(VK_DOWN);  // moves in the list, not in the grid
  EXPECT_EQ(e->PickIndex(), 2);
  EXPECT_EQ(Grid->GetRow(), 1);
  Input().PressKey(VK_DOWN);  // stays on the last item
  EXPECT_EQ(e->PickIndex(), 2);
  EXPECT_EQ(Cells[1][2], "green");  // nothing chosen yet
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_FALSE(list->GetVisible());
  EXPECT_TRUE(Grid->GetEditorMode());  // Enter chose; it did not close the editor
  EXPECT_EQ(e->GetText(), "blue");
  EXPECT_EQ(Cells[1][2], "blue");  // through SetEditText

  // Esc closes the list without a choice; a second Esc cancels the edit.
  Input().PressKey(VK_UP, {ssAlt});
  ASSERT_TRUE(e->GetDroppedDown());
  EXPECT_EQ(e->PickIndex(), 2);
  Input().PressKey(VK_UP);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][2], "blue");
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][2], "green");

  // Alt+Down on a plain cell opens nothing; closing the editor closes an open list.
  Grid->SetCol(1);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_DOWN, {ssAlt});
  EXPECT_FALSE(e->GetDroppedDown());
  Input().PressKey(VK_RETURN);
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(e->GetDroppedDown());
  Grid->HideEditor();
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_FALSE(list->GetVisible());
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(GridPickListTest, ClicksOnTheButtonAndTheListChooseOrCancel) {
  ShowForm();
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  TPoint b = ButtonCenter();
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(e->GetDroppedDown());
  EXPECT_EQ(Form->CaptureControl(), e->PickListControl());
  // Pointing highlights; releasing on an item chooses it.
  TPoint red = ItemCenter(0);
  Input().MouseMove(red.X, red.Y);
  EXPECT_EQ(e->PickIndex(), 0);
  Input().Click(red.X, red.Y);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(Cells[1][2], "red");
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  EXPECT_TRUE(e->Focused());

  // A press outside the list closes it without a choice and does nothing else.
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(e->GetDroppedDown());
  TPoint other = At(Grid, Grid->CellRect(1, 3).Left + 5, Grid->CellRect(1, 3).Top + 5);
  Input().Click(other.X, other.Y);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(Cells[1][2], "red");
  EXPECT_EQ(Grid->GetRow(), 1);
  // The button a second time closes the list it opened.
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(e->GetDroppedDown());
  Input().Click(b.X, b.Y);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(Cells[1][2], "red");
  // Scrolling the grid closes the list, which would be left behind by its cell.
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(e->GetDroppedDown());
  Grid->SetTopRow(2);
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(GridPickListTest, TheListPaintsItsHighlightedItemAboveTheGrid) {
  ShowForm();
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  // The button face is drawn where the button lies.
  TCustomControl* b = e->ButtonControl();
  TPoint bp = At(Grid, b->GetLeft() + 2, b->GetTop() + 2);
  EXPECT_EQ(PixelAt(Surface(), bp.X, bp.Y), ColorToRGB(clBtnFace));
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(e->GetDroppedDown());
  TRect lb = e->PickListBounds();
  auto px = [&](int Index) {
    TRect r = e->PickItemRect(Index);
    // The right end of an item row holds no text.
    return PixelAt(Surface(), lb.Left + r.Right - 2, lb.Top + r.Top + 1);
  };
  EXPECT_EQ(px(1), ColorToRGB(clHighlight));  // "green", the cell's text
  EXPECT_EQ(px(0), ColorToRGB(clWindow));
  EXPECT_EQ(px(2), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(Surface(), lb.Left, lb.Top), ColorToRGB(clWindowFrame));
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(px(2), ColorToRGB(clHighlight));
  EXPECT_EQ(px(1), ColorToRGB(clWindow));
}

TEST_F(GridPickListTest, AnOpenListDiesCleanlyWithTheGrid) {
  ShowForm();
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Grid->InplaceEditor()->GetDroppedDown());
  delete Grid;
  Grid = nullptr;
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  TPoint p = At(Form, 50, 50);
  Input().Click(p.X, p.Y);  // no dangling list receives it
  Application->ProcessMessages();
}

}  // namespace
}  // namespace qel::test

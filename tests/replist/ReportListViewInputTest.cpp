// The report-list view driven by real mouse and key input: selection modes, check clicks,
// sorting by header clicks with the selection following its record, header border double
// clicks, cursor keys, AutoAdvance, in-place editing, and the column order.
#include <gtest/gtest.h>

#include "tests/replist/ReportListViewFixture.h"

namespace qel::test {
namespace {

TEST_F(ReportListViewTest, SelectionModeTwoWithCtrlAndShift) {
  View->SetNrRows(8);
  View->SetRowSelectMode(2);
  int changes = 0;
  View->OnSelectedChange = [&](TObject*) { ++changes; };
  ClickCell(1, 3);
  EXPECT_EQ(SelectedRows(), "3 ");
  ClickCell(1, 5, -1, {ssCtrl});
  EXPECT_EQ(SelectedRows(), "3 5 ");
  ClickCell(1, 7, -1, {ssShift});
  EXPECT_EQ(SelectedRows(), "3 5 6 7 ");
  EXPECT_EQ(changes, 3);
  // Ctrl toggles a row off again; without UseCtrlForMultiSel a plain click toggles.
  ClickCell(1, 6, -1, {ssCtrl});
  EXPECT_EQ(SelectedRows(), "3 5 7 ");
  View->SetUseCtrlForMultiSel(false);
  ClickCell(1, 1);
  EXPECT_EQ(SelectedRows(), "1 3 5 7 ");
  EXPECT_EQ(View->NumSelectedRows(), 4);
  EXPECT_EQ(View->FirstSelectedRow(), 1);
  // Mode 1 keeps one row; mode 0 none.
  View->SetRowSelectMode(1);
  EXPECT_EQ(SelectedRows(), "");
  ClickCell(1, 4);
  EXPECT_EQ(SelectedRows(), "4 ");
  View->SetRowSelectMode(0);
  ClickCell(1, 2);
  EXPECT_EQ(SelectedRows(), "");
}

TEST_F(ReportListViewTest, ReleasingBesideTheRowsInModeTwoDeselectsAll) {
  View->SetNrRows(3);
  View->SetRowSelectMode(2);
  View->SelectAllRows();
  EXPECT_EQ(View->NumSelectedRows(), 3);
  TRect c = CellOnForm(0, 3);
  Input->Click(c.Left + 5, c.Bottom + 40);  // below the rows
  EXPECT_EQ(View->NumSelectedRows(), 0);
}

TEST_F(ReportListViewTest, CheckClicksToggleBoxesAndMoveRadioMarks) {
  View->SetNrRows(4);
  View->SetColCheckMode(1, cmBox);
  View->SetColCheckMode(2, cmRadio);
  for (int r = 1; r <= 4; ++r) View->SetElem(2, r, "r");
  View->SetElemChecked(2, 1, true);
  std::vector<std::string> log;
  View->OnBeforeCheckedChange = [&](TObject*, bool& S, int C, int R) {
    log.push_back("before " + std::to_string(C) + "," + std::to_string(R) + "=" +
                  std::to_string(S));
  };
  View->OnCheckedChange = [&](TObject*, bool& S, int C, int R) {
    log.push_back("after " + std::to_string(C) + "," + std::to_string(R) + "=" + std::to_string(S));
  };
  ClickCell(0, 2, 8);  // on the box of an empty cell
  EXPECT_TRUE(View->GetElemChecked(1, 2));
  ClickCell(0, 2, 8);
  EXPECT_FALSE(View->GetElemChecked(1, 2));
  EXPECT_EQ(log, (std::vector<std::string>{"before 1,2=1", "after 1,2=0", "before 1,2=0",
                                           "after 1,2=1"}));
  ClickCell(1, 1, 8);  // a checked radio stays checked
  EXPECT_TRUE(View->GetElemChecked(2, 1));
  ClickCell(1, 3, 8);  // another one takes the mark
  EXPECT_EQ(View->CountCheckedElemsInCol(2), 1);
  EXPECT_TRUE(View->GetElemChecked(2, 3));
  // 20 pixels right of the edge only selects the row.
  ClickCell(0, 4, 20);
  EXPECT_FALSE(View->GetElemChecked(1, 4));
  EXPECT_TRUE(View->GetRowSelect(4));
  // Disabled rows and read-only marks do not toggle.
  View->SetRowEnabled(4, false);
  ClickCell(0, 4, 8);
  EXPECT_FALSE(View->GetElemChecked(1, 4));
  View->SetRowEnabled(4, true);
  View->SetROCheckmarks(true);
  ClickCell(0, 4, 8);
  EXPECT_FALSE(View->GetElemChecked(1, 4));
}

TEST_F(ReportListViewTest, HeaderClicksSortAndTheSelectionFollowsItsRecord) {
  View->SetNrCols(2);
  View->SetNrRows(5);
  const char* names[] = {"delta", "alpha", "echo", "charlie", "bravo"};
  for (int r = 1; r <= 5; ++r) View->SetElem(1, r, names[r - 1]);
  ClickCell(1, 3);  // "echo"
  ASSERT_TRUE(View->GetRowSelect(3));
  TRect h = HeaderOnForm(0);
  // Near either edge nothing sorts.
  Input->Click(h.Left + 3, Mid(h).Y);
  Input->Click(h.Right - 3, Mid(h).Y);
  EXPECT_EQ(View->GetSortColumn(), -1);
  Input->Click(Mid(h).X, Mid(h).Y);
  EXPECT_EQ(View->GetSortColumn(), 1);
  EXPECT_FALSE(View->GetSortOrder());
  EXPECT_EQ(View->GetElem(1, 1), "echo");
  EXPECT_EQ(View->GetElem(1, 5), "alpha");
  // The grid cursor followed "echo" to row 1; the selected bit travelled with the row.
  EXPECT_EQ(View->GetRow(), View->GridRowOfDataRow(1));
  EXPECT_TRUE(View->GetRowSelect(1));
  Input->Click(Mid(h).X, Mid(h).Y);
  EXPECT_TRUE(View->GetSortOrder());
  EXPECT_EQ(View->GetElem(1, 1), "alpha");
  EXPECT_EQ(View->GetRow(), View->GridRowOfDataRow(5));
  // The hourglass showed while sorting and is gone again.
  const auto& cursors = HeadlessBackend()->Cursors;
  EXPECT_NE(std::find(cursors.begin(), cursors.end(), crHourGlass), cursors.end());
  EXPECT_EQ(Screen->GetCursor(), crDefault);
  // SortEnabled and SortEnabledState keep a column from sorting.
  View->SortEnabledState(1, 1, false);
  Input->Click(Mid(h).X, Mid(h).Y);
  EXPECT_TRUE(View->GetSortOrder());
  View->SortEnabledState(1, 2, true);
  View->SetSortEnabled(false);
  Input->Click(Mid(h).X, Mid(h).Y);
  EXPECT_TRUE(View->GetSortOrder());
}

TEST_F(ReportListViewTest, DoubleClickOnAHeaderBorderSizesTheColumnLeftOfIt) {
  FillNamed(3, 2);
  View->SetElem(1, 1, "a rather long text in the first column");
  const int want = View->DetermineMaxColWidth(1, true);
  int dblClicks = 0;
  View->OnDblClick = [&](TObject*) { ++dblClicks; };
  TRect h = HeaderOnForm(1);
  Input->DoubleClick(h.Left + 2, Mid(h).Y);
  EXPECT_EQ(View->GetColWidths(1), want);
  EXPECT_EQ(dblClicks, 0);  // consumed on the header row
  ClickCell(2, 2);
  TRect c = CellOnForm(2, 2);
  Input->DoubleClick(Mid(c).X, Mid(c).Y);
  EXPECT_EQ(dblClicks, 1);
}

TEST_F(ReportListViewTest, CursorKeysSelectTheRowTheyReach) {
  View->SetNrRows(6);
  std::vector<uint16_t> keys;
  View->OnCursorKeyAction = [&](TObject*, uint16_t K) { keys.push_back(K); };
  ClickCell(1, 2);
  Input->PressKey(VK_DOWN);
  Input->PressKey(VK_DOWN);
  EXPECT_EQ(SelectedRows(), "4 ");
  Input->PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(SelectedRows(), "1 ");
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_DOWN, VK_DOWN, VK_HOME}));
  View->SetRowSelectMode(0);
  Input->PressKey(VK_DOWN);
  EXPECT_EQ(SelectedRows(), "");
}

TEST_F(ReportListViewTest, InPlaceEditingWritesTheShownCellAndKeepsMarkers) {
  FillNamed(3, 3);
  View->SetOptions(View->GetOptions() >> goRowSelect);
  View->SetColumnEditable(2, true);
  View->SetColCheckMode(3, cmBox);
  View->SetColumnEditable(3, true);
  View->SetElemChecked(3, 2, true);
  std::vector<std::string> sets;
  View->OnSetEditText = [&](TObject*, int C, int R, const std::string& V) {
    sets.push_back(std::to_string(C) + "," + std::to_string(R) + "=" + V);
  };
  ClickCell(1, 2);
  Input->PressKey(VK_F2);
  ASSERT_TRUE(View->GetEditorMode());
  Input->TypeText("x");
  Input->PressKey(VK_RETURN);
  EXPECT_EQ(View->GetElem(2, 2), "x");
  EXPECT_EQ(sets, (std::vector<std::string>{"1,2=x"}));
  // A check column keeps its mark when its text is edited.
  ClickCell(2, 2);
  Input->PressKey(VK_F2);
  ASSERT_TRUE(View->GetEditorMode());
  EXPECT_EQ(View->InplaceEditor()->GetText(), "c3r2");
  Input->TypeText("y");
  Input->PressKey(VK_RETURN);
  EXPECT_EQ(View->GetElem(3, 2), "y");
  EXPECT_TRUE(View->GetElemChecked(3, 2));
  // Columns that are not editable, and disabled rows, do not open the editor.
  ClickCell(0, 2);
  Input->PressKey(VK_F2);
  EXPECT_FALSE(View->GetEditorMode());
  View->SetRowEnabled(3, false);
  ClickCell(1, 3);
  Input->PressKey(VK_F2);
  EXPECT_FALSE(View->GetEditorMode());
  // With a column order the editor edits the column shown in the cell.
  View->SetRowEnabled(3, true);
  ASSERT_TRUE(View->SetColumnOrder({2, 1, 3}));
  ClickCell(0, 1);
  Input->PressKey(VK_F2);
  ASSERT_TRUE(View->GetEditorMode());
  EXPECT_EQ(View->InplaceEditor()->GetText(), "c2r1");
}

TEST_F(ReportListViewTest, AutoAdvanceMovesDownOnEnter) {
  View->SetNrRows(4);
  View->SetAutoAdvance(true);
  ClickCell(1, 1);
  Input->PressKey(VK_RETURN);
  EXPECT_EQ(SelectedRows(), "2 ");
}

TEST_F(ReportListViewTest, ColumnOrderRearrangesTheDisplay) {
  FillNamed(3, 2);
  EXPECT_FALSE(View->SetColumnOrder({2, 1}));
  EXPECT_EQ(View->GetColOrder(1), 1);
  std::vector<int> bad = {3, 9, 1};
  EXPECT_FALSE(View->SetColumnOrder(bad));  // the valid entries are taken
  EXPECT_EQ(View->GetColOrder(1), 3);
  EXPECT_EQ(View->GetColOrder(3), 1);
  ASSERT_TRUE(View->SetColumnOrder({3, 1, 2}));
  EXPECT_EQ(View->DataColAt(0), 3);
  EXPECT_EQ(View->DisplayPosOf(3), 0);
  // The mouse reports display positions; a header click sorts the data column shown there.
  TRect h = HeaderOnForm(0);
  EXPECT_EQ(View->MouseCell(Mid(h).X - View->GetLeft(), Mid(h).Y - View->GetTop()).X, 1);
  EXPECT_EQ(View->MouseCell(Mid(h).X - View->GetLeft(), Mid(h).Y - View->GetTop()).Y, -1);
  Input->Click(Mid(h).X, Mid(h).Y);
  EXPECT_EQ(View->GetSortColumn(), 3);
  // Widths address display positions.
  View->SetColWidths(1, 77);
  EXPECT_EQ(View->GetColWidths(1), 77);
  View->SetNrCols(3);
  EXPECT_EQ(View->GetColOrder(1), 3);  // unchanged count keeps the order
  View->SetNrCols(4);
  EXPECT_EQ(View->GetColOrder(1), 1);
}

TEST_F(ReportListViewTest, CenterScrollAndSelectPutsTheRowInTheMiddle) {
  View->SetNrRows(1000);
  View->CenterScrollAndSelect(500);
  const int v = View->VisibleRowCount();
  EXPECT_EQ(View->GetTopRow(), 500 - v / 2);
  EXPECT_EQ(SelectedRows(), "500 ");
  EXPECT_EQ(View->GetRow(), View->GridRowOfDataRow(500));
  View->CenterScrollAndSelect(999);
  EXPECT_EQ(View->GetTopRow(), 1000 - v + 1);
}

TEST_F(ReportListViewTest, TheWheelGoesToTheHandlersFirstAndScrollsOtherwise) {
  View->SetNrRows(100);
  TRect c = CellOnForm(1, 2);
  Input->WheelAt(Mid(c).X, Mid(c).Y, -WHEEL_DELTA);
  EXPECT_EQ(View->GetTopRow(), 1 + TCustomGrid::WheelLines);
  int downs = 0;
  View->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    ++downs;
    Handled = true;
  };
  Input->WheelAt(Mid(c).X, Mid(c).Y, -WHEEL_DELTA);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(View->GetTopRow(), 1 + TCustomGrid::WheelLines);
}

}  // namespace
}  // namespace qel::test

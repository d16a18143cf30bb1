// TReportListView interaction: row and column selection, enabling, clicks on check marks,
// sorting by a click on a column header, auto-sizing by a double click on a header border,
// cursor keys, AutoAdvance and in-place editing.
#include <algorithm>

#include "platform/controls/Forms.h"
#include "platform/rtl/StrUtils.h"
#include "replist/QEL_replist.h"
#include "replist/replist_view_batch.h"

namespace qel {

namespace {

bool IsCursorKey(uint16_t Key) { return Key >= VK_PRIOR && Key <= VK_DOWN; }

}  // namespace

// ---------------------------------------------------------------- attribute bytes

uint8_t TReportListView::RowAttr(int R) const {
  return ValidRow(R) ? FData->GetStorage()->GetRowAttrib(R) : 0;
}

void TReportListView::SetRowAttr(int R, uint8_t A) {
  if (!ValidRow(R)) return;
  TQuietStorage quiet(FData->GetStorage());
  FData->GetStorage()->SetRowAttrib(R, A);
}

void TReportListView::SetAllRowBits(uint8_t Bit, bool On) {
  TStringArray* s = FData->GetStorage();
  TQuietStorage quiet(s);
  for (int r = 1; r <= GetNrOfRows(); ++r) {
    const uint8_t a = s->GetRowAttrib(r);
    s->SetRowAttrib(r, On ? uint8_t(a | Bit) : uint8_t(a & ~Bit));
  }
  Repaint_();
  ChangedSelection();
}

// ---------------------------------------------------------------- selection and enabling

void TReportListView::SetRowSelectMode(int M) {
  FRowSelectMode = M;
  if (M != 2) {
    TStringArray* s = FData->GetStorage();
    TQuietStorage quiet(s);
    for (int r = 1; r <= GetNrOfRows(); ++r)
      s->SetRowAttrib(r, uint8_t(s->GetRowAttrib(r) & ~kRowSelectedBit));
    Repaint_();
  }
  ChangedSelection();
}

void TReportListView::SelectOnlyRow(int R) {
  TStringArray* s = FData->GetStorage();
  TQuietStorage quiet(s);
  for (int r = 1; r <= GetNrOfRows(); ++r) {
    const uint8_t a = s->GetRowAttrib(r);
    s->SetRowAttrib(r, r == R ? uint8_t(a | kRowSelectedBit) : uint8_t(a & ~kRowSelectedBit));
  }
}

void TReportListView::SelectRow(int R) {
  SelectOnlyRow(R);
  Repaint_();
  ChangedSelection();
}

void TReportListView::SelectAllRows() { SetAllRowBits(kRowSelectedBit, true); }
void TReportListView::DeselectAllRows() { SetAllRowBits(kRowSelectedBit, false); }
void TReportListView::EnableAllRows() { SetAllRowBits(kRowDisabledBit, false); }
void TReportListView::DisableAllRows() { SetAllRowBits(kRowDisabledBit, true); }

void TReportListView::SelectColumn(int C) {
  TStringArray* s = FData->GetStorage();
  {
    TQuietStorage quiet(s);
    for (int c = 1; c <= GetNrOfColumns(); ++c) {
      const uint8_t a = s->GetColAttrib(c);
      s->SetColAttrib(c, c == C ? uint8_t(a | kColSelectedBit) : uint8_t(a & ~kColSelectedBit));
    }
  }
  Repaint_();
  ChangedSelection();
}

void TReportListView::SelectAllColumns() {
  TStringArray* s = FData->GetStorage();
  {
    TQuietStorage quiet(s);
    for (int c = 1; c <= GetNrOfColumns(); ++c)
      s->SetColAttrib(c, uint8_t(s->GetColAttrib(c) | kColSelectedBit));
  }
  Repaint_();
  ChangedSelection();
}

void TReportListView::DeselectAllColumns() { SelectColumn(0); }

bool TReportListView::GetRowSelect(int R) const { return (RowAttr(R) & kRowSelectedBit) != 0; }

void TReportListView::SetRowSelect(int R, bool B) {
  if (!ValidRow(R)) return;
  const uint8_t a = RowAttr(R);
  SetRowAttr(R, B ? uint8_t(a | kRowSelectedBit) : uint8_t(a & ~kRowSelectedBit));
  ChangedSelection();
  Repaint_();
}

bool TReportListView::GetColSelect(int C) const {
  return ValidCol(C) && (FData->GetStorage()->GetColAttrib(C) & kColSelectedBit) != 0;
}

void TReportListView::SetColSelect(int C, bool B) {
  if (!ValidCol(C)) return;
  TStringArray* s = FData->GetStorage();
  {
    TQuietStorage quiet(s);
    const uint8_t a = s->GetColAttrib(C);
    s->SetColAttrib(C, B ? uint8_t(a | kColSelectedBit) : uint8_t(a & ~kColSelectedBit));
  }
  ChangedSelection();
  Repaint_();
}

bool TReportListView::GetRowEnabled(int R) const {
  return ValidRow(R) && (RowAttr(R) & kRowDisabledBit) == 0;
}

void TReportListView::SetRowEnabled(int R, bool B) {
  if (!ValidRow(R)) return;
  const uint8_t a = RowAttr(R);
  SetRowAttr(R, B ? uint8_t(a & ~kRowDisabledBit) : uint8_t(a | kRowDisabledBit));
  ChangedSelection();
  Repaint_();
}

int TReportListView::NumSelectedRows() const {
  int n = 0;
  for (int r = 1; r <= GetNrOfRows(); ++r) n += GetRowSelect(r);
  return n;
}

int TReportListView::NumSelectedColumns() const {
  int n = 0;
  for (int c = 1; c <= GetNrOfColumns(); ++c) n += GetColSelect(c);
  return n;
}

int TReportListView::NumEnabledRows() const {
  int n = 0;
  for (int r = 1; r <= GetNrOfRows(); ++r) n += GetRowEnabled(r);
  return n;
}

int TReportListView::FirstSelectedRow() const {
  for (int r = 1; r <= GetNrOfRows(); ++r)
    if (GetRowSelect(r)) return GetRowEnabled(r) ? r : 0;
  return 0;
}

int TReportListView::FirstSelectedColumn() const {
  for (int c = 1; c <= GetNrOfColumns(); ++c)
    if (GetColSelect(c)) return c;
  return 0;
}

TGridCoord TReportListView::MouseCell(int X, int Y) const {
  const TGridCoord g = MouseCoord(X, Y);
  if (g.X < 0 || g.Y < 0) return {0, 0};
  const int head = CountHeadRows();
  int row = 0;
  if (g.Y >= head) {
    row = DataRowOfGridRow(g.Y);
    if (row > GetNrOfRows()) row = 0;
  } else if (FColumnHeadersVisible && g.Y == head - 1) {
    row = -1;
  } else {
    row = -2;
  }
  return {g.X + 1, row};
}

void TReportListView::MoveGridSelectionTo(int R) {
  if (!ValidRow(R)) return;
  FocusCell(std::max(TCustomGrid::GetCol(), TCustomGrid::GetFixedCols()), GridRowOfDataRow(R),
            true);
}

void TReportListView::CenterScrollAndSelect(int R) {
  if (!ValidRow(R)) return;
  TPaintBatch batch(this);
  SelectRow(R);
  const int v = VisibleRowCount();
  const int n = GetNrOfRows();
  int top = R > n - v / 2 ? n - v + 1 : R - v / 2;
  SetTopRow(std::max(top, 1));
  const int g = GridRowOfDataRow(R);
  TCustomGrid::SetSelection({TCustomGrid::GetFixedCols(), g, TCustomGrid::GetColCount() - 1, g});
}

// ---------------------------------------------------------------- sorting by header click

void TReportListView::HeaderSort(int C) {
  // A view used without an application (a tool, a benchmark) has no screen cursor to show.
  const TCursor oldCursor = Screen ? Screen->GetCursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  struct TRestore {
    TCursor Cursor;
    ~TRestore() {
      if (Screen) Screen->SetCursor(Cursor);
    }
  } restore{oldCursor};
  TStringArray* s = FData->GetStorage();
  const int selRow = DataRowOfGridRow(TCustomGrid::GetSelection().Top);
  const int stored = s->GetSortOrder(selRow);
  const bool dir = !FData->GetHeaderSortDirection();
  FData->SetHeaderSortDirection(dir);
  Sort(C, FData->GetSortColumnSec(), dir);
  if (stored > 0)
    for (int r = 1; r <= GetNrOfRows(); ++r)
      if (s->GetSortOrder(r) == stored) {
        MoveGridSelectionTo(r);
        break;
      }
}

// ---------------------------------------------------------------- mouse

void TReportListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || GetGridState() == gsColSizing) return;
  const TRect area = CellArea();
  if (X <= area.Left || X >= area.Left + GridWidth() || Y <= area.Top ||
      Y >= area.Top + GridHeight())
    return;
  const TGridCoord g = MouseCoord(X, Y);
  if (g.X < 0 || g.Y < 0) return;
  const int head = CountHeadRows();
  const int c = DataColAt(g.X);
  if (g.Y < head) {
    if (!FColumnHeadersVisible || g.Y != head - 1 || c == 0) return;
    const TRect cell = CellRect(g.X, g.Y);
    if (FSortEnabled && GetColSortEnabled(c) && X - cell.Left > kHeaderEdgeMargin &&
        cell.Right - X > kHeaderEdgeMargin)
      HeaderSort(c);
    return;
  }
  const int r = DataRowOfGridRow(g.Y);
  TPaintBatch batch(this);
  TGridOptions o = GetOptions();
  if (GetColumnEditable(c) && GetRowEnabled(r))
    o << goEditing;
  else
    o >> goEditing;
  SetOptions(o);

  // A click on the check mark toggles it.
  const TRect outer = OuterCellRect(g.X, g.Y);
  const TCheckMode mode = c > 0 ? GetColCheckMode(c) : cmNone;
  if (mode != cmNone && X - outer.Left < kCheckClickWidth && !FROCheckmarks && GetRowEnabled(r) &&
      (Utf8CodePointCount(FData->GetStoredElem(c, r)) > 1 || FShowEmptyCheckBoxes)) {
    bool state = !GetElemChecked(c, r);
    if (OnBeforeCheckedChange) OnBeforeCheckedChange(this, state, c, r);
    FData->SetElemChecked(c, r, mode == cmRadio ? true : state);
    bool s = !state;
    if (OnCheckedChange) OnCheckedChange(this, s, c, r);
  }

  const int selRow = DataRowOfGridRow(TCustomGrid::GetSelection().Top);
  if (!ValidRow(selRow)) return;
  if (FRowSelectMode == 1) {
    SelectRow(selRow);
  } else if (FRowSelectMode == 2) {
    TStringArray* s = FData->GetStorage();
    if (Shift.Contains(ssShift)) {
      const int anchor = std::clamp(FAnchorRow, 1, GetNrOfRows());
      const uint8_t a = s->GetRowAttrib(anchor);
      TQuietStorage quiet(s);
      for (int k = std::min(anchor, selRow); k <= std::max(anchor, selRow); ++k)
        s->SetRowAttrib(k, a);
    } else {
      FAnchorRow = selRow;
      if (Shift.Contains(ssCtrl) || !FUseCtrlForMultiSel) {
        SetRowAttr(selRow, uint8_t(s->GetRowAttrib(selRow) ^ kRowSelectedBit));
      } else {
        SelectRow(selRow);
        return;
      }
    }
    Repaint_();
    ChangedSelection();
  }
}

void TReportListView::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseMove(Shift, X, Y);
  FLastMouse = {X, Y};
}

void TReportListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseUp(Button, Shift, X, Y);
  if (FRowSelectMode != 2) return;
  const TRect area = CellArea();
  if (X > area.Left + GridWidth() || (Y > area.Top + GridHeight() && Button == mbLeft)) {
    DeselectAllRows();
  }
}

void TReportListView::DblClick() {
  const TRect area = CellArea();
  if (FColumnHeadersVisible && FLastMouse.Y < area.Top + GridHeight()) {
    const TGridCoord g = MouseCoord(FLastMouse.X, FLastMouse.Y);
    if (g.X >= 0 && g.Y == CountHeadRows() - 1) {
      const TRect cell = CellRect(g.X, g.Y);
      const int x = FLastMouse.X;
      if (x - cell.Left < 5 || cell.Right - x <= 4) {
        int d = x > (cell.Left + cell.Right) / 2 ? g.X + 1 : g.X;
        while (d > 1 && TCustomGrid::GetColWidths(d - 1) < 1) --d;
        if (d >= 1) AutoColWidth(DataColAt(d - 1), true, 0);
      }
      return;
    }
  }
  TCustomDrawGrid::DblClick();
}

// ---------------------------------------------------------------- keys

void TReportListView::KeyDown(uint16_t& Key, TShiftState Shift) {
  const uint16_t key = Key;
  TCustomDrawGrid::KeyDown(Key, Shift);
  if (!IsCursorKey(key)) return;
  // Without row selection the cursor moves alone.
  if (FRowSelectMode != 0) {
    const int r = DataRowOfGridRow(TCustomGrid::GetSelection().Top);
    SelectOnlyRow(r);
    Repaint_();
    if (FRowSelectMode == 2) FAnchorRow = r;
  }
  if (OnCursorKeyAction) OnCursorKeyAction(this, key);
  ChangedSelection();
}

void TReportListView::KeyPress(char32_t& Key) {
  const char32_t key = Key;
  TCustomDrawGrid::KeyPress(Key);
  // Enter moves on; a character that opened the editor (and became 0) does not.
  if (FAutoAdvance && key == 13) {
    uint16_t down = VK_DOWN;
    KeyDown(down, {});
  }
}

// ---------------------------------------------------------------- in-place editing

bool TReportListView::SelectCell(int ACol, int ARow) {
  const int c = DataColAt(ACol);
  const int r = DataRowOfGridRow(ARow);
  TGridOptions o = GetOptions();
  // A disabled row is not edited, whichever way the cursor reached it.
  if (ARow >= CountHeadRows() && GetColumnEditable(c) && GetRowEnabled(r))
    o << goEditing;
  else
    o >> goEditing;
  if (!(o == GetOptions())) SetOptions(o);
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, canSelect);
  return canSelect;
}

std::string TReportListView::GetEditText(int ACol, int ARow) {
  // The cell shown at ACol, whatever the column order.
  const int c = DataColAt(ACol);
  const int r = DataRowOfGridRow(ARow);
  std::string text = FData->GetElem(c, r);
  if (OnGetEditText) OnGetEditText(this, ACol, r, text);
  return text;
}

void TReportListView::SetEditText(int ACol, int ARow, const std::string& Value) {
  const int c = DataColAt(ACol);
  const int r = DataRowOfGridRow(ARow);
  if (c == 0 || !ValidRow(r)) return;
  FData->SetElem(c, r, Value);  // keeps the check marker
  if (OnSetEditText) OnSetEditText(this, ACol, r, Value);
}

}  // namespace qel

// TNTabEd input: typed values (numeric and nominal columns), locking, keys with AutoAdvance,
// first and second clicks, the heading name editor and the comment mode.
#include <algorithm>
#include <cmath>
#include <utility>

#include "frame/QEL_math1.h"
#include "ntabed/QEL_ntabed.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {
constexpr TColor kCommentColor = 0x808000;
}  // namespace

// ---------------------------------------------------------------- locking

bool TNTabEd::CellLocked(int ACol, int ARow) const {
  return IsDataCell(ACol, ARow) && (FData->GetCellState(ACol - FRA, ARow - FCA) & dtsLocked);
}

bool TNTabEd::CurrentCellLocked() const {
  const TGridRect s = GetSelection();
  return CellLocked(s.Left, s.Top);
}

void TNTabEd::SetEditing(bool On) {
  TGridOptions o = GetOptions();
  if (On)
    o << goEditing;
  else
    o >> goEditing;
  SetOptions(o);
}

bool TNTabEd::CanEditShow() const {
  // Whatever switched editing on, a locked cell and a read-only table never open the editor.
  return TCustomGrid::CanEditShow() && IsDataCell(GetCol(), GetRow()) && !FDataReadOnly &&
         !CellLocked(GetCol(), GetRow());
}

void TNTabEd::SetDataReadOnly(bool Value) {
  if (Value == FDataReadOnly) return;
  FDataReadOnly = Value;
  if (Value) HideEditor();
  SetEditing(!Value);
}

void TNTabEd::SetDropdownCount(int Value) {
  Value = std::max(Value, 1);
  if (Value == FNomEditDropDownCount) return;
  FNomEditDropDownCount = Value;
  if (InplaceEditor()) InplaceEditor()->SetDropDownRows(Value);
}

// ---------------------------------------------------------------- the in-place editor

std::string TNTabEd::GetEditText(int ACol, int ARow) {
  std::string text;
  if (IsDataCell(ACol, ARow)) {
    const int c = ACol - FRA, r = ARow - FCA;
    const double x = FData->GetElem(c, r);
    if (IsNominalColumn(c)) {
      const int v = RoundToInt(x);
      if (v >= 1 && v <= kMaxNominalValue) text = FData->GetNominalID(c, v);
      if (text.empty()) text = IntToStr(v);
    } else {
      text = Trim(NTabNumberText(x, GetDecPlaces(c), FNumWidth));
    }
  }
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, text);
  return text;
}

void TNTabEd::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (IsDataCell(ACol, ARow)) {
    const int c = ACol - FRA, r = ARow - FCA;
    uint8_t state = FData->GetCellState(c, r);
    if (IsNominalColumn(c)) {
      const int ord = FData->OrdinalOfNominalID(c, Value, true);
      if (ord > 0) {
        state = 0;  // a known identifier makes a clean cell, marks included
        FData->SetCellState(c, r, state);
        FData->SetElem(c, r, ord);
      } else if (IsValidDecInt(Value)) {
        FData->SetCellState(c, r, state & ~dtsNoNumber);
        FData->SetElem(c, r, StrToIntDef(Trim(Value), 0));
      } else {
        FData->SetCellState(c, r, state | dtsNoNumber);
      }
    } else {
      std::string s = Value;
      std::replace(s.begin(), s.end(), ',', '.');
      s = Trim(s);
      long double x = 0;
      int code = 1;
      if (!s.empty()) Val(s, x, code);
      // A number beyond the double range is refused like any other unreadable entry.
      if (code != 0 || !std::isfinite(static_cast<double>(x))) {
        FData->SetCellState(c, r, state | dtsNoNumber);
      } else {
        FData->SetCellState(c, r, state & ~dtsNoNumber);
        FData->SetElem(c, r, static_cast<double>(x));
      }
    }
    InvalidateCell(ACol, ARow);
  }
  TCustomGrid::SetEditText(ACol, ARow, Value);
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

TEditStyle TNTabEd::GetEditStyle(int ACol, int ARow) {
  return IsDataCell(ACol, ARow) && IsNominalColumn(ACol - FRA) ? esPickList : esSimple;
}

void TNTabEd::GetPickListItems(int ACol, int, TStrings& Items) {
  const int c = ACol - FRA;
  for (int v = 1; v <= kMaxNominalValue; ++v) {
    std::string id = FData->GetNominalID(c, v);
    if (!id.empty()) Items.Add(id);
  }
}

TInplaceEdit* TNTabEd::CreateEditor() {
  auto* e = new TInplaceEdit(this);
  e->SetDropDownRows(FNomEditDropDownCount);
  return e;
}

// ---------------------------------------------------------------- keys

void TNTabEd::WMGetDlgCode(TMessage& Message) {
  TCustomGrid::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTTAB;
}

void TNTabEd::KeyPress(char32_t& Key) {
  const char32_t typed = Key;
  // The Enter that closed the heading or comment editor is not an entry of the grid's own.
  if (std::exchange(FSwallowReturn, false) && typed == 13) {
    Key = 0;
    return;
  }
  if (IsDataCell(GetCol(), GetRow()) && (CurrentCellLocked() || FDataReadOnly)) {
    SetEditing(false);
  } else {
    SetEditing(true);
    TCustomGrid::KeyPress(Key);
  }
  if (FAutoAdvance && (typed == 0 || typed == 13)) {
    uint16_t k = FAutoAdvanceDir == orVertical ? VK_DOWN : VK_RIGHT;
    KeyDown(k, {});
  }
  if (typed == 27 && InplaceEditor()) {
    SetEditing(false);
    HideEditor();
  }
}

void TNTabEd::AdvanceAfterEntry() {
  const TGridRect s = GetSelection();
  FSelRemembered = s;
  ChangedSelection();
  DisplayCellCursor(s.Left, s.Top);
  Invalidate();
}

void TNTabEd::KeyDown(uint16_t& Key, TShiftState Shift) {
  FSwallowReturn = false;
  const bool navigation = Key == 0 || Key == VK_RETURN || (Key >= VK_LEFT && Key <= VK_DOWN);
  if (CurrentCellLocked() && !navigation) {
    SetEditing(false);
    Key = 0;
    return;
  }
  // With AutoAdvance, Enter on a closed cell moves on (the Enter character does it) instead of
  // opening the editor.
  if (!(Key == VK_RETURN && FAutoAdvance && !GetEditorMode())) TCustomGrid::KeyDown(Key, Shift);
  AdvanceAfterEntry();
}

bool TNTabEd::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  const bool handled = TCustomGrid::DoMouseWheel(Shift, WheelDelta, MousePos);
  AdvanceAfterEntry();
  return handled;
}

// ---------------------------------------------------------------- mouse

void TNTabEd::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FCommentMode) {
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    FClickedCell = MouseCoord(X, Y);
    if (FClickedCell == TGridCoord{0, 0}) CloseCommentMode(false);
    return;
  }
  if (FNameEditOpen) return;
  const TGridCoord cell = MouseCoord(X, Y);
  FClickedCell = cell;
  FSecondClick = cell == FPressCell;
  // A first click only selects; a second click on the same cell may edit.
  if (!FSecondClick) SetEditing(false);
  TCustomGrid::MouseDown(Button, Shift, X, Y);
  Invalidate();
  if (!(X > 0 && X < GridWidth() && Y > 0 && Y < GridHeight())) return;
  FPressPos = {X, Y};
  FPressCell = cell;
  if (cell.X < 0 || cell.Y < 0) return;
  const bool internalMenus = !GetPopupMenu() && !FBlockInternalPopup;
  if (IsDataCell(cell.X, cell.Y)) {
    if (FSecondClick && !FDataReadOnly) SetEditing(true);
    if (CellLocked(cell.X, cell.Y) || FDataReadOnly) SetEditing(false);
    if (Button == mbRight && internalMenus) {
      FDItems[8]->SetChecked(FDataReadOnly);
      DataMenuPopup();
      if (OnBeforePopup) OnBeforePopup(this, FPopupD);
      PopupAt(FPopupD, X + 10, Y - 20);
    } else if (Button == mbLeft) {
      const TGridRect s = GetSelection();
      DisplayCellCursor(s.Left, s.Top);
    }
    return;
  }
  if (cell.X == 0 && cell.Y == 0 && Button == mbRight && !FBlockInternalPopup &&
      FCommentEditingAllowed) {
    OpenCommentMode();
    return;
  }
  if ((cell.X > FRA || cell.Y > FCA) && Button == mbRight && internalMenus) {
    PrepareHeadingMenu(cell.X > FRA);
    const TRect r = CellRect(cell.X, cell.Y);
    OutlineHeading(r);
    if (OnBeforePopup) OnBeforePopup(this, FPopupH);
    PopupAt(FPopupH, r.Left + 20, r.Top + 20);
  }
}

void TNTabEd::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseUp(Button, Shift, X, Y);
  if (FCommentMode || FNameEditOpen) return;
  const TGridCoord cell = MouseCoord(X, Y);
  FClickedCell = cell;
  const bool locked = CellLocked(cell.X, cell.Y) || FDataReadOnly;
  SetEditing(!locked);
  // The second click on a cell opens its editor, as in a spreadsheet.
  if (Button == mbLeft && FSecondClick && !locked && IsDataCell(cell.X, cell.Y) &&
      cell == FPressCell && !Shift.Contains(ssDouble) && !GetEditorMode())
    ShowEditor();
  FSecondClick = false;
}

void TNTabEd::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomGrid::MouseMove(Shift, X, Y);
  CheckSelectionChanged();
}

// ---------------------------------------------------------------- comment mode

void TNTabEd::OpenCommentMode() {
  if (!FCommentEdit) return;
  HideEditor();
  FCommentMode = true;
  InvalidateCell(0, 0);
  const int left = TCustomGrid::GetColWidths(0);
  FCommentEdit->SetBounds(left, 0, std::max(GetWidth() - left - 20, 20), 80);
  FCommentEdit->SetText(FData->GetComment());
  FCommentEdit->SetSelStart(FCommentEdit->GetTextLen());
  FCommentEdit->SetColor(kCommentColor);
  FCommentEdit->GetFont()->SetColor(clWhite);
  FCommentEdit->SetVisible(true);
  if (FCommentEdit->CanFocus()) FCommentEdit->SetFocus();
}

void TNTabEd::CloseCommentMode(bool Store) {
  if (!FCommentMode) return;
  FCommentMode = false;
  const std::string text = FCommentEdit->GetText();
  FCommentEdit->SetVisible(false);
  if (CanFocus()) SetFocus();
  if (Store) {
    FData->SetFComment(text);
    ChangedData();
  }
  const TGridRect s = GetSelection();
  FCursorCell = {-1, -1};
  DisplayCellCursor(s.Left, s.Top);
  Invalidate();
}

void TNTabEd::CommentEditorKeyDown(uint16_t& Key, TShiftState Shift) {
  // Ctrl+Enter breaks a line; Enter alone ends the comment.
  if (Key == VK_RETURN && !Shift.Contains(ssCtrl)) {
    Key = 0;
    FSwallowReturn = true;
    CloseCommentMode(true);
  } else if (Key == VK_ESCAPE) {
    Key = 0;
    CloseCommentMode(false);
  }
}

// ---------------------------------------------------------------- heading name editor

void TNTabEd::OpenNameEditor() {
  const TGridCoord g = FClickedCell;
  if (!FNameEdit || g.X < 0 || g.Y < 0 || (g.X <= FRA && g.Y <= FCA)) return;
  if (g.X >= GetColCount() || g.Y >= GetRowCount()) return;
  HideEditor();
  std::string text;
  if (g.X > FRA) {  // a column heading: the name row or the attribute row
    const int c = g.X - FRA;
    text = g.Y == 0 ? FData->GetColName(c) : IntToStr(FData->GetColAttrib(c));
  } else {
    const int r = g.Y - FCA;
    text = g.X == 0 ? FData->GetRowName(r) : IntToStr(FData->GetRowAttrib(r));
  }
  const TRect cr = CellRect(g.X, g.Y);
  FNameEditCell = g;
  FNameEditOpen = true;
  FNameEdit->SetBounds(cr.Left + 30, cr.Top + 5, FNameEdit->GetWidth(), FNameEdit->GetHeight());
  FNameEdit->SetText(text);
  FNameEdit->SetVisible(true);
  if (FNameEdit->CanFocus()) {
    FNameEdit->SetFocus();
    FNameEdit->SelectAll();
  }
}

void TNTabEd::CloseNameEditor(bool Store) {
  if (!FNameEditOpen) return;
  FNameEditOpen = false;
  const TGridCoord g = FNameEditCell;
  const std::string text = FNameEdit->GetText();
  FNameEdit->SetVisible(false);
  if (CanFocus()) SetFocus();
  Invalidate();
  if (!Store) return;
  const bool column = g.X > FRA;
  const bool name = column ? g.Y == 0 : g.X == 0;
  if (name) {
    column ? SetColName(g.X - FRA, text) : SetRowName(g.Y - FCA, text);
  } else {
    std::string s = Trim(text);
    std::replace(s.begin(), s.end(), ',', '.');
    long double x = 0;
    int code = 1;
    if (!s.empty()) Val(s, x, code);
    if (code != 0 || std::isnan(static_cast<double>(x))) return;  // not a number: nothing stored
    const int a = RoundToInt(std::clamp(static_cast<double>(x), 0.0, 255.0));
    column ? SetColAttrib(g.X - FRA, a) : SetRowAttrib(g.Y - FCA, a);
  }
  ChangedHeading();
}

void TNTabEd::NameEditorKeyDown(uint16_t& Key) {
  if (Key == VK_RETURN || Key == VK_ESCAPE) {
    const bool store = Key == VK_RETURN;
    FSwallowReturn = store;
    Key = 0;
    CloseNameEditor(store);
  }
}

}  // namespace qel

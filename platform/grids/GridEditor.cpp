// The in-place editor: an edit laid over the focused cell while the user types into it.
#include "platform/grids/Grids.h"
#include "platform/widgets/EditText.h"

namespace qel {

namespace {
int CodePoints(const std::string& S) {
  int n = 0;
  for (unsigned char b : S) n += !edittext::IsCont(b);
  return n;
}
}  // namespace

TInplaceEdit::TInplaceEdit(TCustomGrid* AGrid) : TCustomEdit(AGrid), FGrid(AGrid) {
  SetBorderStyle(bsNone);
  SetAutoSize(false);
  SetTabStop(false);
  SetVisible(false);
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  TCustomEdit::WMGetDlgCode(Message);
  // Enter and Esc end the edit instead of pressing a form's default or cancel button.
  Message.Result |= DLGC_WANTALLKEYS;
  if (FGrid->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_ESCAPE:
      FGrid->CancelEdit();
      Key = 0;
      return;
    case VK_RETURN:
      FGrid->HideEditor();
      Key = 0;
      return;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
      FGrid->KeyDown(Key, Shift);
      return;
    case VK_HOME:
    case VK_END:
      if (ctrl) return FGrid->KeyDown(Key, Shift);
      break;
    case VK_LEFT:
      // At the start of the text, Left leaves the cell, as it would without the editor.
      if (!Shift.Contains(ssShift) && GetSelLength() == 0 && GetSelStart() == 0)
        return FGrid->KeyDown(Key, Shift);
      break;
    case VK_RIGHT:
      if (!Shift.Contains(ssShift) && GetSelLength() == 0 && GetSelStart() == CodePoints(GetText()))
        return FGrid->KeyDown(Key, Shift);
      break;
    default:
      break;
  }
  TCustomEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::Change() {
  TCustomEdit::Change();
  if (!FLoading && FGrid->GetEditorMode())
    FGrid->SetEditText(FGrid->GetCol(), FGrid->GetRow(), GetText());
}

bool TCustomGrid::CanEditShow() const {
  return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) &&
         !CellRect(FCurrent.X, FCurrent.Y).IsEmpty();
}

void TCustomGrid::SetEditorMode(bool Value) {
  if (Value)
    ShowEditor();
  else
    HideEditor();
}

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (!FInplaceEdit) {
    FInplaceEdit = new TInplaceEdit(this);
    FInplaceEdit->SetParent(this);
  }
  bool hadFocus = Focused();
  FEditorMode = true;
  FEditOriginal = GetEditText(FCurrent.X, FCurrent.Y);
  FInplaceEdit->FLoading = true;
  FInplaceEdit->SetText(FEditOriginal);
  FInplaceEdit->FLoading = false;
  FInplaceEdit->SetModified(false);
  UpdateEditorBounds();
  FInplaceEdit->Show();
  if (hadFocus || Focused()) FInplaceEdit->SetFocus();
  FInplaceEdit->SelectAll();
}

void TCustomGrid::HideEditor() {
  if (!FEditorMode) return;
  FEditorMode = false;
  if (!FInplaceEdit) return;
  // Focus comes back to the grid before the editor hides, so it never passes to another control.
  if (FInplaceEdit->Focused() && CanFocus()) SetFocus();
  FInplaceEdit->Hide();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::CancelEdit() {
  if (!FEditorMode) return;
  if (FInplaceEdit && FInplaceEdit->GetText() != FEditOriginal)
    SetEditText(FCurrent.X, FCurrent.Y, FEditOriginal);
  HideEditor();
}

void TCustomGrid::UpdateEditorBounds() {
  if (!FEditorMode || !FInplaceEdit) return;
  TRect r = IntersectRect(CellRect(FCurrent.X, FCurrent.Y), CellArea());
  // A cell scrolled out of view takes its editor with it; scrolling back brings it again.
  if (r.IsEmpty()) {
    FInplaceEdit->SetBounds(0, 0, 0, 0);
    return;
  }
  FInplaceEdit->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow) {
  std::string value;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, value);
  return value;
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

}  // namespace qel

// The in-place editor: an edit laid over the focused cell while the user types into it.
#include <algorithm>

#include "platform/grids/Grids.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
int CodePoints(const std::string& S) {
  int n = 0;
  for (unsigned char b : S) n += !edittext::IsCont(b);
  return n;
}
}  // namespace

// ---------------------------------------------------------------- the button and the list

// The button at the right end of an esEllipsis or esPickList cell: "..." or a down arrow.
class TInplaceEditButton : public TCustomControl {
 public:
  explicit TInplaceEditButton(TInplaceEdit* AEdit) : TCustomControl(AEdit), FEdit(AEdit) {
    FControlStyle = {csOpaque};
    SetTabStop(false);
    SetVisible(false);
  }
  std::string ClassName() const override { return "TInplaceEditButton"; }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) FEdit->ButtonPressed();
  }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TRect r = GetClientRect();
    widgetpaint::ButtonFace(c, r, FEdit->FDropped);
    if (FEdit->FEditStyle == esPickList) {
      widgetpaint::Arrow(c, r, 1, clBtnText);
      return;
    }
    // Three dots in the middle.
    c->Brush()->SetColor(clBtnText);
    int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    for (int dx : {-4, 0, 4}) c->FillRect(Rect(cx + dx - 1, cy, cx + dx + 1, cy + 2));
  }

 private:
  TInplaceEdit* FEdit;
};

// ---------------------------------------------------------------- TInplaceEdit

TInplaceEdit::TInplaceEdit(TCustomGrid* AGrid)
    : TCustomMaskEdit(AGrid), FGrid(AGrid), FPickItems(std::make_unique<TStringList>()) {
  SetBorderStyle(bsNone);
  SetAutoSize(false);
  SetTabStop(false);
  SetVisible(false);
}

TInplaceEdit::~TInplaceEdit() {
  // The list may sit on the form rather than on the grid; it goes with the editor either way.
  delete FPickList;
  delete FButton;
}

void TInplaceEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPickList) FPickList = nullptr, FDropped = false;
  if (AComponent == FButton) FButton = nullptr;
}

TCustomControl* TInplaceEdit::ButtonControl() const { return FButton; }
TCustomControl* TInplaceEdit::PickListControl() const { return FPickList; }
const TStrings& TInplaceEdit::PickItems() const { return *FPickItems; }

void TInplaceEdit::WMKillFocus(TMessage& Message) {
  TCustomMaskEdit::WMKillFocus(Message);
  if (FDropped) CloseUp(false);
}

void TInplaceEdit::ButtonPressed() {
  if (FEditStyle == esPickList) {
    if (FDropped)
      CloseUp(false);
    else
      DropDown();
  } else if (FEditStyle == esEllipsis) {
    FGrid->EditButtonClick();
  }
}

int TInplaceEdit::PickItemHeight() const {
  FCanvas->Font()->Assign(GetFont());
  return std::max(1, FCanvas->TextHeight("Wg") + 2);
}

int TInplaceEdit::PickVisibleCount() const {
  return std::max(1, std::min(FDropDownRows, FPickItems->GetCount()));
}

TRect TInplaceEdit::PickListBounds() const {
  TForm* f = GetParentForm();
  // The list spans the whole cell: the edit and its button.
  int width = GetWidth() + (FButton && FButton->GetVisible() ? FButton->GetWidth() : 0);
  TPoint o = f ? ClientToParent({0, 0}, f) : TPoint{GetLeft(), GetTop()};
  int h = PickVisibleCount() * PickItemHeight() + 2;
  int top = o.Y + GetHeight();
  // Below the cell when it fits, else above it when there is room there.
  if (f && top + h > f->ClientHeight() && o.Y - h >= 0) top = o.Y - h;
  return Bounds(o.X, top, std::max(width, 1), h);
}

bool TInplaceEdit::PickHasScrollBar() const { return FPickItems->GetCount() > FDropDownRows; }

TRect TInplaceEdit::PickScrollBarRect() const {
  if (!PickHasScrollBar()) return {};
  TRect b = PickListBounds();
  // A cell too narrow for the bar and some text still keeps the bar inside the frame.
  int left = std::max(1, b.Width() - 1 - wp::ListScrollBarWidth);
  return Rect(left, 1, std::max(left, b.Width() - 1), b.Height() - 1);
}

widgetpaint::TListScrollBar TInplaceEdit::PickScrollBar() const {
  wp::TListScrollBar bar;
  bar.Bar = PickScrollBarRect();
  bar.Count = FPickItems->GetCount();
  bar.Visible = PickVisibleCount();
  bar.Top = FPickTop;
  return bar;
}

TRect TInplaceEdit::PickThumbRect() const { return PickScrollBar().Thumb(); }

TRect TInplaceEdit::PickItemRect(int Index) const {
  int ih = PickItemHeight();
  int y = 1 + (Index - FPickTop) * ih;
  TRect sb = PickScrollBarRect();
  return Rect(1, y, sb.IsEmpty() ? PickListBounds().Width() - 1 : sb.Left, y + ih);
}

int TInplaceEdit::PickItemAt(TPoint P) const {
  TRect b = PickListBounds(), sb = PickScrollBarRect();
  int right = sb.IsEmpty() ? b.Width() - 1 : sb.Left;
  if (P.X < 1 || P.X >= right || P.Y < 1 || P.Y >= b.Height() - 1) return -1;
  int i = FPickTop + (P.Y - 1) / PickItemHeight();
  return i < FPickItems->GetCount() ? i : -1;
}

void TInplaceEdit::SetPickIndex(int Index) {
  int n = FPickItems->GetCount();
  if (n == 0) return;
  Index = std::clamp(Index, 0, n - 1);
  if (Index == FPickIndex) return;
  FPickIndex = Index;
  ScrollPickTo(wp::ListTopShowing(Index, FPickTop, PickVisibleCount()));
  if (FPickList) FPickList->Invalidate();
}

void TInplaceEdit::SetDropDownRows(int Value) {
  Value = std::max(1, Value);
  if (Value == FDropDownRows) return;
  FDropDownRows = Value;
  if (FDropped && FPickList) {
    FPickList->SetBoundsRect(PickListBounds());
    ScrollPickTo(FPickTop);
    if (FPickIndex >= 0) {
      // Keep the highlighted item in view in the resized list.
      int index = FPickIndex;
      FPickIndex = -1;
      SetPickIndex(index);
    }
  }
}

void TInplaceEdit::DropDownPaintItems(TCanvas* C) {
  const int last = std::min(FPickItems->GetCount(), FPickTop + PickVisibleCount());
  for (int i = FPickTop; i < last; ++i) {
    const TRect ir = PickItemRect(i);
    const bool sel = i == FPickIndex;
    C->Brush()->SetColor(sel ? clHighlight : clWindow);
    C->Font()->SetColor(sel ? clHighlightText : GetFont()->GetColor());
    C->TextRect(ir, ir.Left + 2, ir.Top + 1, FPickItems->Get(i));
  }
}

void TInplaceEdit::ScrollPickTo(int Top) {
  FPickTop = wp::ClampListTop(Top, PickVisibleCount(), FPickItems->GetCount());
  if (FPickList) FPickList->Invalidate();
}

void TInplaceEdit::DropDown() {
  if (FDropped || FEditStyle != esPickList || !FGrid->GetEditorMode()) return;
  TForm* f = GetParentForm();
  if (!f) return;
  FPickItems->Clear();
  FGrid->GetPickListItems(FGrid->GetCol(), FGrid->GetRow(), *FPickItems);
  if (!FPickList) FPickList = new TDropDownList(this, this);
  FDropped = true;
  FPickIndex = FPickItems->IndexOf(GetText());
  FPickTop = 0;
  FPickList->Open(f, PickListBounds());
  ScrollPickTo(FPickIndex >= 0 ? FPickIndex - PickVisibleCount() / 2 : 0);
  if (FButton) FButton->Invalidate();
}

void TInplaceEdit::CloseUp(bool Accept) {
  if (!FDropped) return;
  FDropped = false;
  if (FPickList) FPickList->Close();
  if (FButton) FButton->Invalidate();
  int chosen = FPickIndex;
  FPickIndex = -1;
  // The choice is an edit like any other: it reaches the cell through SetEditText.
  if (Accept && chosen >= 0 && chosen < FPickItems->GetCount() && FGrid->GetEditorMode()) {
    SetText(FPickItems->Get(chosen));
    SelectAll();
  }
}

void TInplaceEdit::WMGetDlgCode(TMessage& Message) {
  TCustomMaskEdit::WMGetDlgCode(Message);
  // Enter and Esc end the edit instead of pressing a form's default or cancel button.
  Message.Result |= DLGC_WANTALLKEYS;
  if (FGrid->GetOptions().Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
}

void TInplaceEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  bool ctrl = Shift.Contains(ssCtrl);
  if (FEditStyle == esPickList &&
      (Key == VK_F4 || (Shift.Contains(ssAlt) && (Key == VK_DOWN || Key == VK_UP)))) {
    if (FDropped)
      CloseUp(true);
    else
      DropDown();
    Key = 0;
    return;
  }
  if (FDropped) {
    // The open list takes the keys that choose in it; the others (Home and End too) still edit
    // the text.
    int target = -1;
    switch (Key) {
      case VK_RETURN:
        CloseUp(true);
        break;
      case VK_ESCAPE:
        CloseUp(false);
        break;
      case VK_UP:
      case VK_DOWN:
      case VK_PRIOR:
      case VK_NEXT:
        wp::ListKeyTarget(Key, FPickIndex, PickVisibleCount(), FPickItems->GetCount(), false,
                          target);
        SetPickIndex(target);
        break;
      case VK_TAB:
        CloseUp(false);
        FGrid->KeyDown(Key, Shift);
        return;
      default:
        TCustomMaskEdit::KeyDown(Key, Shift);
        return;
    }
    Key = 0;
    return;
  }
  if (Key == VK_RETURN && ctrl && FEditStyle == esEllipsis) {
    FGrid->EditButtonClick();
    Key = 0;
    return;
  }
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
      // At the start of the text (with a mask: before its first slot), Left leaves the cell, as
      // it would without the editor; Right likewise at the end.
      if (!Shift.Contains(ssShift) && GetSelLength() == 0 &&
          (IsMasked() ? Mask().PrevEditable(GetSelStart()) < 0 : GetSelStart() == 0))
        return FGrid->KeyDown(Key, Shift);
      break;
    case VK_RIGHT:
      if (!Shift.Contains(ssShift) && GetSelLength() == 0 &&
          (IsMasked() ? Mask().NextEditable(GetSelStart()) >= Mask().Length()
                      : GetSelStart() == CodePoints(GetEditText())))
        return FGrid->KeyDown(Key, Shift);
      break;
    default:
      break;
  }
  TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::Change() {
  TCustomMaskEdit::Change();
  if (!FLoading && FGrid->GetEditorMode())
    FGrid->SetEditText(FGrid->GetCol(), FGrid->GetRow(), GetText());
}

bool TInplaceEdit::ValidatesOnExit() const { return FGrid->GetEditorMode(); }

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

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

void TCustomGrid::ShowEditor() {
  if (!CanEditShow()) return;
  if (!FInplaceEdit) {
    FInplaceEdit = CreateEditor();
    if (!FInplaceEdit) throw EInvalidOperation("CreateEditor returned no editor");
    FInplaceEdit->SetParent(this);
  }
  bool hadFocus = Focused();
  FEditorMode = true;
  FInplaceEdit->FEditStyle = GetEditStyle(FCurrent.X, FCurrent.Y);
  if (FInplaceEdit->FEditStyle != esSimple && !FInplaceEdit->FButton) {
    FInplaceEdit->FButton = new TInplaceEditButton(FInplaceEdit);
    FInplaceEdit->FButton->SetParent(this);
  }
  FEditOriginal = GetEditText(FCurrent.X, FCurrent.Y);
  FInplaceEdit->FLoading = true;
  // The old cell's text must not be formatted into the new cell's mask: clear it first.
  FInplaceEdit->SetEditMask("");
  FInplaceEdit->TControl::SetText("");
  FInplaceEdit->SetEditMask(GetEditMask(FCurrent.X, FCurrent.Y));
  FInplaceEdit->SetText(FEditOriginal);
  FInplaceEdit->FLoading = false;
  FInplaceEdit->SetModified(false);
  UpdateEditorBounds();
  FInplaceEdit->Show();
  if (FInplaceEdit->FButton) {
    FInplaceEdit->FButton->SetVisible(FInplaceEdit->FEditStyle != esSimple);
    FInplaceEdit->FButton->Invalidate();
  }
  if (hadFocus || Focused()) FInplaceEdit->SetFocus();
  FInplaceEdit->SelectAll();
}

void TCustomGrid::HideEditor() {
  if (!FEditorMode) return;
  // A changed entry must pass its editor's check to leave the cell (a masked one must be
  // complete; an editor of the grid's own may check more): the error keeps the editor open.
  if (FInplaceEdit && FInplaceEdit->GetModified()) FInplaceEdit->ValidateEdit();
  CloseEditor();
}

void TCustomGrid::CloseEditor() {
  if (!FEditorMode) return;
  FEditorMode = false;
  if (!FInplaceEdit) return;
  FInplaceEdit->CloseUp(false);
  // Focus comes back to the grid before the editor hides, so it never passes to another control.
  if (FInplaceEdit->Focused() && CanFocus()) {
    FHidingEditor = true;  // the grid regaining the focus must not reopen the editor
    SetFocus();
    FHidingEditor = false;
  }
  FInplaceEdit->Hide();
  if (FInplaceEdit->FButton) FInplaceEdit->FButton->Hide();
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::CancelEdit() {
  if (!FEditorMode) return;
  if (FInplaceEdit && FInplaceEdit->GetText() != FEditOriginal)
    SetEditText(FCurrent.X, FCurrent.Y, FEditOriginal);
  CloseEditor();
}

void TCustomGrid::UpdateEditorBounds() {
  if (!FEditorMode || !FInplaceEdit) return;
  // The list would be left behind by a cell that moved.
  FInplaceEdit->CloseUp(false);
  TRect r = IntersectRect(CellRect(FCurrent.X, FCurrent.Y), CellArea());
  TInplaceEditButton* b = FInplaceEdit->FEditStyle != esSimple ? FInplaceEdit->FButton : nullptr;
  // A cell scrolled out of view takes its editor with it; scrolling back brings it again.
  if (r.IsEmpty()) {
    FInplaceEdit->SetBounds(0, 0, 0, 0);
    if (b) b->SetBounds(0, 0, 0, 0);
    return;
  }
  int bw = b ? std::min(TInplaceEdit::ButtonWidth, r.Width()) : 0;
  FInplaceEdit->SetBounds(r.Left, r.Top, r.Width() - bw, r.Height());
  if (b) b->SetBounds(r.Right - bw, r.Top, bw, r.Height());
}

std::string TCustomDrawGrid::GetEditText(int ACol, int ARow) {
  std::string value;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, value);
  return value;
}

std::string TCustomDrawGrid::GetEditMask(int ACol, int ARow) {
  std::string value;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, value);
  return value;
}

void TCustomDrawGrid::EditButtonClick() {
  if (OnEditButtonClick) OnEditButtonClick(this);
}

void TCustomDrawGrid::SetEditText(int ACol, int ARow, const std::string& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

}  // namespace qel

// The combo box: the closed box (an embedded edit or a drawn item, and the arrow button) and the
// drop-down list, a control put on the form above everything while it is open.
#include <algorithm>

#include "platform/controls/Messages.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
constexpr int kButtonWidth = 17;
constexpr int kBorder = 2;
constexpr int kScrollWidth = wp::ListScrollBarWidth;

// Lower-cased first code point of S when it is ASCII (the letter jump compares these).
char32_t FirstChar(const std::string& S) {
  if (S.empty()) return 0;
  return edittext::FoldAscii(static_cast<unsigned char>(S[0]));
}
}  // namespace

// ---------------------------------------------------------------- the embedded edit

// The edit part of a csDropDown box: it hands the box's keys (arrows, F4, Enter and Esc while
// the list is open) to the box before editing with them.
class TComboEdit : public TCustomEdit {
 public:
  TComboEdit(TCustomComboBox* Combo) : TCustomEdit(Combo), FCombo(Combo) {
    SetBorderStyle(bsNone);
    SetAutoSize(false);
    SetTabStop(false);
    OnChange = [this](TObject*) { FCombo->UpdateEdit(); };
  }
  std::string ClassName() const override { return "TComboEdit"; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    FCombo->ComboKey(Key, Shift);
    if (Key != 0) TCustomEdit::KeyDown(Key, Shift);
  }

 protected:
  void CMWantSpecialKey(TMessage& Message) override {
    Message.Result =
        FCombo->FDropped && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) ? 1 : 0;
  }
  void WMKillFocus(TMessage& Message) override {
    TCustomEdit::WMKillFocus(Message);
    if (FCombo->FDropped) FCombo->CloseList(false);
  }
  // The box's own PopupMenu wins over the edit's standard one: the edit is only a part of it.
  bool DefaultContextMenu(TPoint ScreenPos) override {
    return !FCombo->GetPopupMenu() && TCustomEdit::DefaultContextMenu(ScreenPos);
  }

 private:
  TCustomComboBox* FCombo;
};

// ---------------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
  FControlStyle = {csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
  SetColor(clWindow);
  SetTabStop(true);
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
  FList = new TDropDownList(this, this);
  SetStyle(csDropDown);
  SetBounds(0, 0, 145, GetItemHeight() + 6);
}

TCustomComboBox::~TCustomComboBox() {
  FItems->OnChange = nullptr;
  // The list may sit on the form rather than on the box; it goes with the box either way.
  delete FList;
}

void TCustomComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FList) FList = nullptr, FDropped = false;
  if (AComponent == FEdit) FEdit = nullptr;
}

TCanvas* TCustomComboBox::Canvas() const {
  return FDrawCanvas ? FDrawCanvas : TCustomControl::Canvas();
}

namespace {
// The item height that follows the font.
int FontItemHeight(TCanvas* C, const TFont* Font) {
  C->Font()->Assign(Font);
  return std::max(1, C->TextHeight("Wg") + 2);
}
}  // namespace

int TCustomComboBox::GetItemHeight() const {
  if (FItemHeight > 0) return FItemHeight;
  return FontItemHeight(FCanvas.get(), GetFont());
}

bool ComboItemHeightIsOwn(const TCustomComboBox* Box) {
  TCanvas measure;
  return Box->GetItemHeight() != FontItemHeight(&measure, Box->GetFont());
}

void TCustomComboBox::SetItemHeight(int Value) {
  if (Value < 1 || Value == FItemHeight) return;
  FItemHeight = Value;
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
  Invalidate();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  FStyle = Value;
  if (HasEdit() && !FEdit) {
    FEdit = new TComboEdit(this);
    FEdit->SetParent(this);
    // Tabbing lands on the edit, so Shift+Tab out of it never comes back to the box (which
    // would only pass the focus to the edit again).
    FEdit->SetTabStop(GetTabStop());
    TCustomControl::SetTabStop(false);
    FEdit->SetMaxLength(FMaxLength);
    FEdit->SetColor(GetColor());
    FSyncing = true;
    FEdit->SetText(GetText());
    FSyncing = false;
  } else if (!HasEdit() && FEdit) {
    TCustomControl::SetTabStop(FEdit->GetTabStop());
    delete FEdit;
    FEdit = nullptr;
    SetItemIndex(FItemIndex);  // the text becomes the item's again
  }
  PlaceEdit();
  Invalidate();
}

void TCustomComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // The box's height follows the item height, as a closed combo box is one line high.
  TCustomControl::SetBounds(ALeft, ATop, AWidth, GetItemHeight() + 6);
  (void)AHeight;
  PlaceEdit();
}

void TCustomComboBox::PlaceEdit() {
  if (!FEdit) return;
  TRect r = EditRect();
  FEdit->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  FEdit->SetEnabled(GetEnabled());
}

void TCustomComboBox::SetItemIndex(int Value) {
  int n = FItems->GetCount();
  if (Value < -1 || Value >= n) Value = -1;
  FItemIndex = Value;
  FSyncing = true;
  SetText(Value >= 0 ? FItems->Get(Value) : std::string());
  FSyncing = false;
  Invalidate();
}

void TCustomComboBox::SetDropDownCount(int Value) {
  FDropDownCount = std::max(1, Value);
  if (FDropped && FList) {
    FList->SetBoundsRect(ListBounds());
    ScrollListTo(FListTop);
  }
}

void TCustomComboBox::SetSorted(bool Value) {
  if (Value == GetSorted()) return;
  std::string sel = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
  FItems->SetSorted(Value);
  if (FItemIndex >= 0) SetItemIndex(FItems->IndexOf(sel));
}

void TCustomComboBox::SetMaxLength(int Value) {
  FMaxLength = std::max(0, Value);
  if (FEdit) FEdit->SetMaxLength(FMaxLength);
}

void TCustomComboBox::Clear() {
  FItems->Clear();
  SetText("");
}

void TCustomComboBox::ItemsChanged() {
  if (FItemIndex >= FItems->GetCount()) {
    FItemIndex = -1;
    if (!HasEdit()) {
      FSyncing = true;
      SetText("");
      FSyncing = false;
    }
  }
  if (FDropped && FList) {
    FListIndex = std::min(FListIndex, FItems->GetCount() - 1);
    FList->SetBoundsRect(ListBounds());
    ScrollListTo(FListTop);
  }
  Invalidate();
}

void TCustomComboBox::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  if (FSyncing) {
    if (FEdit) FEdit->SetText(GetText());
    return;
  }
  FSyncing = true;
  if (FEdit) {
    FEdit->SetText(GetText());
    FItemIndex = FItems->IndexOf(GetText());
  } else {
    // Without an edit the text can only be an item's.
    FItemIndex = FItems->IndexOf(GetText());
    if (FItemIndex < 0 && !GetText().empty()) SetText("");
  }
  FSyncing = false;
  Invalidate();
}

// The user typed in the edit: the box's text follows, and the item with that text (if any)
// becomes the selection.
void TCustomComboBox::UpdateEdit() {
  if (FSyncing || !FEdit) return;
  FSyncing = true;
  SetText(FEdit->GetText());
  FSyncing = false;
  FItemIndex = FItems->IndexOf(GetText());
  Change();
}

void TCustomComboBox::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
  Invalidate();
}

void TCustomComboBox::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  if (!GetEnabled() && FDropped) CloseList(false);
  PlaceEdit();
  Invalidate();
}

void TCustomComboBox::CMColorChanged(TMessage& Message) {
  TCustomControl::CMColorChanged(Message);
  // The edit is part of the box's face: it takes the box's colour (read-only looks, say).
  if (FEdit) FEdit->SetColor(GetColor());
  Invalidate();
}

void TCustomComboBox::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  // The edit is where typing goes; the box itself only passes the focus on.
  if (FEdit && FEdit->CanFocus()) {
    FEdit->SetFocus();
    FEdit->SelectAll();
  }
  Invalidate();
}

void TCustomComboBox::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  if (FDropped && !(FEdit && FEdit->Focused())) CloseList(false);
  Invalidate();
}

void TCustomComboBox::WMGetDlgCode(TMessage& Message) {
  TCustomControl::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomComboBox::CMWantSpecialKey(TMessage& Message) {
  // Enter and Esc belong to the open list, not to the form's default and cancel buttons.
  Message.Result = FDropped && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) ? 1 : 0;
}

// ---- geometry

TRect TCustomComboBox::ButtonRect() const {
  int w = GetWidth(), h = GetHeight();
  int bw = std::min(kButtonWidth, std::max(0, w - 2 * kBorder));
  return Rect(w - kBorder - bw, kBorder, w - kBorder, std::max(kBorder, h - kBorder));
}

TRect TCustomComboBox::EditRect() const {
  TRect b = ButtonRect();
  int h = GetHeight();
  return Rect(kBorder + 1, kBorder + 1, std::max(kBorder + 1, b.Left - 1),
              std::max(kBorder + 1, h - kBorder - 1));
}

int TCustomComboBox::ListVisibleCount() const {
  return std::max(1, std::min(FDropDownCount, FItems->GetCount()));
}

bool TCustomComboBox::ListHasScrollBar() const { return FItems->GetCount() > FDropDownCount; }

TRect TCustomComboBox::ListBounds() const {
  TForm* f = GetParentForm();
  TPoint o = f ? ClientToParent({0, 0}, f) : TPoint{GetLeft(), GetTop()};
  int h = ListVisibleCount() * GetItemHeight() + 2;
  int top = o.Y + GetHeight();
  // Below the box when it fits, else above it when there is more room there.
  if (f && top + h > f->ClientHeight() && o.Y - h >= 0) top = o.Y - h;
  return Bounds(o.X, top, GetWidth(), h);
}

TRect TCustomComboBox::ListScrollBarRect() const {
  if (!ListHasScrollBar()) return {};
  TRect b = ListBounds();
  return Rect(b.Width() - 1 - kScrollWidth, 1, b.Width() - 1, b.Height() - 1);
}

TRect TCustomComboBox::ListThumbRect() const { return DropDownScrollBar().Thumb(); }

TRect TCustomComboBox::ListItemRect(int Index) const {
  TRect b = ListBounds();
  int right = b.Width() - 1 - (ListHasScrollBar() ? kScrollWidth : 0);
  int ih = GetItemHeight();
  int y = 1 + (Index - FListTop) * ih;
  return Rect(1, y, right, y + ih);
}

int TCustomComboBox::ListItemAt(TPoint P) const {
  TRect b = ListBounds();
  int right = b.Width() - 1 - (ListHasScrollBar() ? kScrollWidth : 0);
  if (P.X < 1 || P.X >= right || P.Y < 1 || P.Y >= b.Height() - 1) return -1;
  int i = FListTop + (P.Y - 1) / GetItemHeight();
  return i < FItems->GetCount() ? i : -1;
}

// ---- painting

void TCustomComboBox::PaintItem(TCanvas* C, int Index, const TRect& Rect, TOwnerDrawState State) {
  C->Font()->Assign(GetFont());
  bool sel = State.Contains(odSelected);
  C->Brush()->SetColor(sel ? clHighlight : GetColor());
  C->Font()->SetColor(sel ? clHighlightText : GetFont()->GetColor());
  if (OwnerDrawn()) {
    TCanvas* saved = FDrawCanvas;
    FDrawCanvas = C;
    try {
      DrawItem(Index, Rect, State);
    } catch (...) {
      FDrawCanvas = saved;
      throw;
    }
    FDrawCanvas = saved;
    return;
  }
  std::string s = Index >= 0 && Index < FItems->GetCount() ? FItems->Get(Index) : std::string();
  C->TextRect(Rect, Rect.Left + 2, Rect.Top + (Rect.Height() - C->TextHeight("Wg")) / 2, s);
}

void TCustomComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  TCanvas* c = Canvas();
  std::string s = Index >= 0 && Index < FItems->GetCount() ? FItems->Get(Index) : std::string();
  c->TextRect(Rect, Rect.Left + 2, Rect.Top + (Rect.Height() - c->TextHeight("Wg")) / 2, s);
}

void TCustomComboBox::Paint() {
  TCanvas* c = TCustomControl::Canvas();
  TRect r = GetClientRect();
  bool enabled = IsEnabledInTree();
  c->Brush()->SetColor(GetColor());
  c->FillRect(r);
  TRect f = r;
  wp::Frame3D(c, f, clBtnShadow, clBtnHighlight, 1);
  wp::Frame3D(c, f, clWindowFrame, clBtnFace, 1);
  TRect b = ButtonRect();
  wp::ButtonFace(c, b, FDropped);
  wp::Arrow(c, b, 1, enabled ? clBtnText : clGrayText);
  if (FEdit) return;  // the edit paints the text
  TRect e = EditRect();
  bool focused = Focused() && !FDropped;
  TOwnerDrawState st{odComboBoxEdit};
  if (focused) st = st + TOwnerDrawState{odSelected, odFocused};
  if (!enabled) st = st + TOwnerDrawState{odDisabled, odGrayed};
  if (FItemIndex >= 0 || !OwnerDrawn()) {
    if (!enabled) {
      c->Brush()->SetColor(GetColor());
      c->Font()->Assign(GetFont());
      c->Font()->SetColor(clGrayText);
      c->TextRect(e, e.Left + 2, e.Top + (e.Height() - c->TextHeight("Wg")) / 2, GetText());
    } else if (OwnerDrawn()) {
      PaintItem(c, FItemIndex, e, st);
    } else {
      c->Font()->Assign(GetFont());
      c->Brush()->SetColor(focused ? clHighlight : GetColor());
      c->Font()->SetColor(focused ? clHighlightText : GetFont()->GetColor());
      c->TextRect(e, e.Left + 2, e.Top + (e.Height() - c->TextHeight("Wg")) / 2, GetText());
    }
  }
  if (focused) c->DrawFocusRect(e);
}

// ---- the list

void TCustomComboBox::SetDroppedDown(bool Value) {
  if (Value)
    OpenList();
  else
    CloseList(false);
}

void TCustomComboBox::OpenList() {
  if (FDropped || !FList || !IsEnabledInTree()) return;
  TForm* f = GetParentForm();
  if (!f) return;
  DropDown();
  if (!FList || FDropped) return;  // the handler may have destroyed or opened it
  FDropped = true;
  FListIndex = FItemIndex;
  FListTop = 0;
  FList->Open(f, ListBounds());
  ScrollListTo(FListIndex >= 0 ? FListIndex - ListVisibleCount() / 2 : 0);
  Invalidate();
}

void TCustomComboBox::CloseList(bool Accept) {
  if (!FDropped) return;
  FDropped = false;
  if (FList) FList->Close();
  Invalidate();
  int chosen = FListIndex;
  FListIndex = -1;
  if (Accept && chosen >= 0 && chosen != FItemIndex) ChooseItem(chosen);
  CloseUp();
}

void TCustomComboBox::SetListIndex(int Index) {
  int n = FItems->GetCount();
  if (n == 0) return;
  Index = std::clamp(Index, 0, n - 1);
  if (Index == FListIndex) return;
  FListIndex = Index;
  ScrollListTo(wp::ListTopShowing(Index, FListTop, ListVisibleCount()));
  if (FList) FList->Invalidate();
}

widgetpaint::TListScrollBar TCustomComboBox::DropDownScrollBar() const {
  wp::TListScrollBar bar;
  bar.Bar = ListScrollBarRect();
  bar.Count = FItems->GetCount();
  bar.Visible = ListVisibleCount();
  bar.Top = FListTop;
  return bar;
}

void TCustomComboBox::DropDownPaintItems(TCanvas* C) {
  const int last = std::min(FItems->GetCount(), FListTop + ListVisibleCount());
  for (int i = FListTop; i < last; ++i) {
    TOwnerDrawState st;
    if (i == FListIndex) st = {odSelected, odFocused};
    PaintItem(C, i, ListItemRect(i), st);
  }
}

void TCustomComboBox::ScrollListTo(int Top) {
  FListTop = wp::ClampListTop(Top, ListVisibleCount(), FItems->GetCount());
  if (FList) FList->Invalidate();
}

void TCustomComboBox::ChooseItem(int Index) {
  if (Index < 0 || Index >= FItems->GetCount() || Index == FItemIndex) return;
  SetItemIndex(Index);
  if (FEdit && FEdit->Focused()) FEdit->SelectAll();
  Click();
  Select();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

int TCustomComboBox::FindByFirstChar(char32_t Ch, int From) const {
  int n = FItems->GetCount();
  char32_t want = edittext::FoldAscii(Ch);
  for (int k = 1; k <= n; ++k) {
    int i = ((From < 0 ? -1 : From) + k) % n;
    if (FirstChar(FItems->Get(i)) == want) return i;
  }
  return -1;
}

// ---- input

void TCustomComboBox::ComboKey(uint16_t& Key, TShiftState Shift) {
  int n = FItems->GetCount();
  bool alt = Shift.Contains(ssAlt);
  if (Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP))) {
    if (FDropped)
      CloseList(true);
    else
      OpenList();
    Key = 0;
    return;
  }
  int target = -1;
  if (FDropped) {
    switch (Key) {
      case VK_RETURN:
        CloseList(true);
        break;
      case VK_ESCAPE:
        CloseList(false);
        break;
      default:
        // Home and End belong to the edit when there is one.
        if (!wp::ListKeyTarget(Key, FListIndex, ListVisibleCount(), n, !FEdit, target)) return;
        SetListIndex(target);
        break;
    }
    Key = 0;
    return;
  }
  // Closed: the arrows step the selection at once, as a choice.
  if (!wp::ListKeyTarget(Key, FItemIndex, ListVisibleCount(), n, !FEdit, target)) return;
  Key = 0;
  ChooseItem(target);
}

void TCustomComboBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key != 0) ComboKey(Key, Shift);
}

void TCustomComboBox::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key < 0x20 || FEdit) return;
  int i = FindByFirstChar(Key, FDropped ? FListIndex : FItemIndex);
  Key = 0;
  if (i < 0) return;
  if (FDropped)
    SetListIndex(i);
  else
    ChooseItem(i);
}

void TCustomComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FEdit && FEdit->CanFocus() && !FEdit->Focused())
    FEdit->SetFocus();
  else if (!FEdit && CanFocus() && !Focused())
    SetFocus();
  // The whole box opens the list without an edit; with one, only the button does (the edit
  // takes the presses on the text).
  if (FDropped)
    CloseList(false);
  else
    OpenList();
}

bool TCustomComboBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (FDropped) {
    ScrollListTo(FListTop + (WheelDelta > 0 ? -3 : 3));
    return true;
  }
  int n = FItems->GetCount();
  if (n == 0 || WheelDelta == 0) return true;
  int next = FItemIndex < 0 ? 0 : FItemIndex + (WheelDelta > 0 ? -1 : 1);
  ChooseItem(std::clamp(next, 0, n - 1));
  return true;
}

}  // namespace qel

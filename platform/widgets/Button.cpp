// The push button: mouse, Space, accelerators, the default and cancel keys, the modal result,
// and the classic raised look with its default frame and focus rectangle.
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {

// Calls F for every TButton in the tree under Parent.
template <class F>
void ForEachButton(TWinControl* Parent, F&& Fn) {
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    if (auto* b = dynamic_cast<TButton*>(c)) Fn(b);
    if (auto* w = dynamic_cast<TWinControl*>(c)) ForEachButton(w, Fn);
  }
}

bool NoModifiers(TShiftState Shift) {
  return !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt);
}

}  // namespace

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
  // The button decides on release whether it clicked; two quick presses are two clicks.
  FControlStyle = {csCaptureMouse, csSetCaption, csOpaque};
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 75, 25);
}

TButton::~TButton() = default;

void TButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  Invalidate();
}

bool TButton::IsActiveDefault() const {
  if (Focused()) return true;
  if (!FDefault) return false;
  TForm* f = GetParentForm();
  if (!f) return true;
  // Another button holding the focus takes Enter for itself.
  return dynamic_cast<TButton*>(f->FocusedControl()) == nullptr;
}

void TButton::InvalidateDefaultButtons() {
  TForm* f = GetParentForm();
  if (!f) return;
  ForEachButton(f, [this](TButton* B) {
    if (B != this && B->FDefault) B->Invalidate();
  });
}

void TButton::Click() {
  // The result first, so an OnClick handler can still overrule it.
  if (FModalResult != mrNone)
    if (TForm* f = GetParentForm()) f->SetModalResult(FModalResult);
  TCustomControl::Click();
}

// ---------------------------------------------------------------- keys

void TButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == VK_SPACE && NoModifiers(Shift)) {
    if (!FSpaceDown) {
      FSpaceDown = true;
      Invalidate();
    }
    Key = 0;
  }
}

void TButton::KeyUp(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyUp(Key, Shift);
  if (Key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    Invalidate();
    Key = 0;
    // A click while the mouse also holds the button would come twice: the release decides.
    if (!FMouseDown) Click();
  }
}

void TButton::CMDialogKey(TMessage& Message) {
  auto key = Message.WParam;
  if (((key == VK_RETURN && IsActiveDefault()) || (key == VK_ESCAPE && FCancel)) &&
      NoModifiers(KeyDataToShiftState(Message.LParam)) && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogKey(Message);
}

void TButton::CMDialogChar(TMessage& Message) {
  char32_t ch = edittext::FoldAscii(static_cast<char32_t>(Message.WParam));
  char32_t accel = AccelCharOf(GetCaption());
  if (accel != 0 && ch == accel && CanFocus()) {
    Click();
    Message.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(Message);
}

void TButton::WMGetDlgCode(TMessage& Message) {
  // Enter and Esc stay dialog keys; the characters a button ignores may be accelerators.
  Message.Result = DLGC_BUTTON | (IsActiveDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

// ---------------------------------------------------------------- mouse

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree()) return;
  FMouseDown = true;
  FMouseInside = true;
  Invalidate();
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!FMouseDown) return;
  bool inside = GetClientRect().Contains({X, Y});
  if (inside == FMouseInside) return;
  FMouseInside = inside;
  Invalidate();
}

void TButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FMouseDown) return;
  bool inside = GetClientRect().Contains({X, Y});
  FMouseDown = false;
  FMouseInside = false;
  Invalidate();
  if (inside && !FSpaceDown) Click();
}

void TButton::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  if (FMouseDown || FSpaceDown) {
    FMouseDown = FMouseInside = FSpaceDown = false;
    Invalidate();
  }
}

// ---------------------------------------------------------------- state messages

void TButton::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
  InvalidateDefaultButtons();
}

void TButton::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  // Space released elsewhere must not click later.
  FSpaceDown = false;
  Invalidate();
  InvalidateDefaultButtons();
}

void TButton::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TButton::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TButton::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  if (!GetEnabled()) {
    FMouseDown = FMouseInside = FSpaceDown = false;
    SetMouseCapture(false);
  }
  Invalidate();
}

// ---------------------------------------------------------------- painting

void TButton::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  TRect r = client;
  bool enabled = IsEnabledInTree();
  bool pressed = enabled && IsPressed();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(r);
  // The default frame: one dark ring around the face.
  if (enabled && IsActiveDefault()) wp::Frame3D(c, r, cl3DDkShadow, cl3DDkShadow, 1);
  if (pressed) {
    wp::Frame3D(c, r, clBtnShadow, clBtnShadow, 1);
  } else {
    wp::Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
    wp::Frame3D(c, r, cl3DLight, clBtnShadow, 1);
  }
  if (!GetCaption().empty()) {
    c->Font()->Assign(GetFont());
    c->Brush()->SetStyle(bsClear);
    unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    TRect tr = pressed ? client.Offset(1, 1) : client;
    wp::DrawCaption(c, GetCaption(), tr, flags, enabled);
  }
  if (Focused() && enabled) c->DrawFocusRect(client.Inflate(-4, -4));
}

}  // namespace qel

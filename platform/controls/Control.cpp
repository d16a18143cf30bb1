// TControl: bounds, look, messages and the mouse.
#include <algorithm>

#include "platform/controls/Forms.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

TForm* GetParentForm(const TControl* Control) {
  if (!Control) return nullptr;
  const TControl* c = Control;
  while (c->GetParent()) c = c->GetParent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FFont(std::make_unique<TFont>()) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
  FParentColor = true;
}

TControl::~TControl() {
  if (Application) Application->HintCancelFor(this);
  if (FParent) FParent->RemoveControl(this);
  // The link to the popup menu stays: the menu may hold this control too (as the one it popped
  // up for) and hears of its end through that same link when the component part goes.
}

TForm* TControl::GetParentForm() const { return qel::GetParentForm(this); }

// ---------------------------------------------------------------- bounds

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  // Kept within kMaxControlCoord, so that no sum of positions and sizes can overflow.
  ALeft = std::clamp(ALeft, -kMaxControlCoord, kMaxControlCoord);
  ATop = std::clamp(ATop, -kMaxControlCoord, kMaxControlCoord);
  AWidth = std::clamp(AWidth, 0, kMaxControlCoord);
  AHeight = std::clamp(AHeight, 0, kMaxControlCoord);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool sized = AWidth != FWidth || AHeight != FHeight;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (!FAutoPlacing) UpdateAnchorBase();
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
  if (sized) Perform(WM_SIZE, 0, MAKELPARAM(AWidth, AHeight));
  if (FParent && FAlign != alNone && !FAutoPlacing) FParent->Realign();
}

void TControl::SetClientWidth(int Value) {
  SetWidth(ClampCoord(int64_t{FWidth} - ClientWidth() + Value));
}
void TControl::SetClientHeight(int Value) {
  SetHeight(ClampCoord(int64_t{FHeight} - ClientHeight() + Value));
}

void TControl::UpdateAnchorBase() {
  if (!FParent) {
    FAnchorBaseValid = false;
    return;
  }
  FAnchorBounds = BoundsRect();
  FAnchorParentSize = {FParent->ClientWidth(), FParent->ClientHeight()};
  FAnchorBaseValid = true;
}

void TControl::ParentResized(int, int) {
  if (FAlign != alNone || !FAnchorBaseValid || !FParent) return;
  if (FParent->ComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop}) return;
  int dw = FParent->ClientWidth() - FAnchorParentSize.cx;
  int dh = FParent->ClientHeight() - FAnchorParentSize.cy;
  TRect b = FAnchorBounds;
  int l = b.Left, t = b.Top, w = b.Width(), h = b.Height();
  bool aL = FAnchors.Contains(akLeft), aR = FAnchors.Contains(akRight);
  bool aT = FAnchors.Contains(akTop), aB = FAnchors.Contains(akBottom);
  if (aL && aR)
    w += dw;
  else if (aR)
    l += dw;
  else if (!aL)
    l += DivTrunc(dw, 2);  // neither side anchored: keep the relative centre
  if (aT && aB)
    h += dh;
  else if (aB)
    t += dh;
  else if (!aT)
    t += DivTrunc(dh, 2);
  FAutoPlacing = true;
  SetBounds(l, t, w, h);
  FAutoPlacing = false;
}

TPoint TControl::ClientToScreen(TPoint P) const {
  TPoint p = P;
  for (const TControl* c = this; c; c = c->FParent) {
    TPoint o = c->ClientOrigin();
    p.X += o.X + c->FLeft;
    p.Y += o.Y + c->FTop;
  }
  return p;
}

TPoint TControl::ScreenToClient(TPoint P) const {
  TPoint o = ClientToScreen({0, 0});
  return {P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint P, const TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  if (!AParent) throw EInvalidOperation("Control '" + GetName() + "' has no parent window");
  TPoint p = P;
  for (const TControl* c = this; c != AParent; c = c->FParent) {
    if (!c->FParent)
      throw EInvalidOperation("Control '" + GetName() + "' is not a child of '" +
                              AParent->GetName() + "'");
    TPoint o = c->ClientOrigin();
    p.X += o.X + c->FLeft;
    p.Y += o.Y + c->FTop;
  }
  return p;
}

TPoint TControl::ParentToClient(TPoint P, const TWinControl* AParent) const {
  TPoint o = ClientToParent({0, 0}, AParent);
  return {P.X - o.X, P.Y - o.Y};
}

// ---------------------------------------------------------------- parent, visibility, look

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == FParent) return;
  if (AParent) {
    if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    for (const TControl* c = AParent; c; c = c->FParent)
      if (c == this) throw EInvalidOperation("A control cannot be the parent of its own parent");
  }
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

bool TControl::IsEnabledInTree() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FEnabled) return false;
  return true;
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  if (FParent && FVisible) FParent->InvalidateRect(BoundsRect());
  if (!Value) {
    if (TForm* f = GetParentForm(); f && f != this) f->ForgetControl(this, false);
  }
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
  if (FParent) {
    if (FVisible) FParent->InvalidateRect(BoundsRect());
    if (FAlign != alNone) FParent->Realign();
  }
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) {
    FParentColor = false;
    return;
  }
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  if (!FChangingFont) FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
  if (Screen) Screen->UpdateCursor();
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  if (FAlign == alNone) UpdateAnchorBase();
  if (FParent) FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value) {
  FAnchors = Value;
  UpdateAnchorBase();
}

void TControl::SetPopupMenuComponent(TComponent* AsComponent, TPopupMenu* Menu) {
  if (FPopupMenuComponent == AsComponent) return;
  if (FPopupMenuComponent) RemoveFreeNotification(FPopupMenuComponent);
  FPopupMenuComponent = AsComponent;
  FPopupMenu = Menu;
  if (AsComponent) FreeNotification(AsComponent);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FPopupMenuComponent) {
    FPopupMenuComponent = nullptr;
    FPopupMenu = nullptr;
  }
}

void TControl::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetName(const std::string& NewName) {
  // A fresh control shows its name until someone gives it a caption of its own.
  bool follow = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                GetName() == FText;
  TComponent::SetName(NewName);
  if (follow) SetText(NewName);
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorBase();
  if (FParentColor && FParent) Perform(CM_PARENTCOLORCHANGED);
  if (FParentFont && FParent) Perform(CM_PARENTFONTCHANGED);
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->Realign();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& v = FParent->FControls;
  v.erase(std::find(v.begin(), v.end(), this));
  FParent->AddToLists(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& v = FParent->FControls;
  v.erase(std::find(v.begin(), v.end(), this));
  // Graphic controls stay below windowed ones.
  auto pos = v.begin();
  if (dynamic_cast<TWinControl*>(this))
    pos = std::find_if(v.begin(), v.end(),
                       [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
  v.insert(pos, this);
  if (FParent) FParent->InvalidateRect(BoundsRect());
}

bool TControl::HitTest(int, int) const { return true; }

// ---------------------------------------------------------------- capture

bool TControl::GetMouseCapture() const {
  TForm* f = GetParentForm();
  return f && f->CaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
  TForm* f = GetParentForm();
  if (!f) return;
  if (Value)
    f->SetCaptureControl(this);
  else if (f->CaptureControl() == this)
    f->SetCaptureControl(nullptr);
}

// ---------------------------------------------------------------- messages

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  // Without csDoubleClicks a second press is an ordinary press.
  if (!FControlStyle.Contains(csDoubleClicks)) {
    switch (Message.Msg) {
      case WM_LBUTTONDBLCLK:
        Message.Msg = WM_LBUTTONDOWN;
        break;
      case WM_RBUTTONDBLCLK:
        Message.Msg = WM_RBUTTONDOWN;
        break;
      case WM_MBUTTONDBLCLK:
        Message.Msg = WM_MBUTTONDOWN;
        break;
      default:
        break;
    }
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      WMLButtonDown(Message);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(Message);
      break;
    case WM_MBUTTONDOWN:
      WMMButtonDown(Message);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(Message);
      break;
    case WM_MBUTTONDBLCLK:
      WMMButtonDblClk(Message);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(Message);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(Message);
      break;
    case WM_MBUTTONUP:
      WMMButtonUp(Message);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(Message);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(Message);
      break;
    case WM_SIZE:
      WMSize(Message);
      break;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      break;
    case WM_CONTEXTMENU:
      WMContextMenu(Message);
      break;
    case CM_MOUSEENTER:
      CMMouseEnter(Message);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(Message);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(Message);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(Message);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(Message);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(Message);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(Message);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(Message);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(Message);
      break;
    case CM_HITTEST:
      CMHitTest(Message);
      break;
    default:
      DefaultHandler(Message);
      break;
  }
}

void TControl::DefaultHandler(TMessage& Message) { Message.Result = 0; }

void TControl::DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& Message, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseUp(Button, KeysToShiftState(Message.WParam), p.X, p.Y);
}

void TControl::WMLButtonDown(TMessage& Message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) FControlState << csClicked;
  DoMouseDown(Message, mbLeft, {});
}

void TControl::WMRButtonDown(TMessage& Message) { DoMouseDown(Message, mbRight, {}); }
void TControl::WMMButtonDown(TMessage& Message) { DoMouseDown(Message, mbMiddle, {}); }

void TControl::WMLButtonDblClk(TMessage& Message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMRButtonDblClk(TMessage& Message) { DoMouseDown(Message, mbRight, {ssDouble}); }
void TControl::WMMButtonDblClk(TMessage& Message) { DoMouseDown(Message, mbMiddle, {ssDouble}); }

void TControl::WMLButtonUp(TMessage& Message) {
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (FControlState.Contains(csClicked)) {
    FControlState >> csClicked;
    if (GetClientRect().Contains(LParamToPoint(Message.LParam))) Click();
  }
  DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonUp(TMessage& Message) {
  TComponentWatch watch(this);
  DoMouseUp(Message, mbRight);
  // A release handler may have freed the control (a menu closing on its choice does).
  if (watch.Gone()) return;
  Perform(WM_CONTEXTMENU, 0, PointToLParam(ClientToScreen(LParamToPoint(Message.LParam))));
}

void TControl::WMMButtonUp(TMessage& Message) { DoMouseUp(Message, mbMiddle); }

void TControl::WMMouseMove(TMessage& Message) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(Message.LParam);
  MouseMove(KeysToShiftState(Message.WParam), p.X, p.Y);
}

void TControl::WMMouseWheel(TMessage& Message) {
  TShiftState shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
  Message.Result =
      DoMouseWheel(shift, GET_WHEEL_DELTA_WPARAM(Message.WParam), LParamToPoint(Message.LParam))
          ? 1
          : 0;
}

void TControl::WMSize(TMessage&) { Resize(); }

void TControl::WMCancelMode(TMessage&) {
  SetMouseCapture(false);
  FControlState >> csClicked;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
  // LParam holds the screen point of the click, or (-1, -1) when the keyboard asked (Shift+F10,
  // the menu key): the menu then opens at the control's own spot.
  TPoint screen = LParamToPoint(Message.LParam);
  bool keyboard = screen.X == -1 && screen.Y == -1;
  bool handled = false;
  DoContextPopup(keyboard ? TPoint{-1, -1} : ScreenToClient(screen), handled);
  if (handled) {
    Message.Result = 1;
    return;
  }
  if (keyboard) screen = ClientToScreen(KeyboardContextPoint());
  if (!FPopupMenu && DefaultContextMenu(screen)) {
    Message.Result = 1;
    return;
  }
  // Walk up to the first control with a menu, as the classic framework does.
  for (TControl* c = this; c; c = c->FParent) {
    if (c->FPopupMenu) {
      if (Application && Application->OnPopupMenu) {
        Application->OnPopupMenu(c->FPopupMenu, this, screen);
        Message.Result = 1;
      }
      return;
    }
  }
}

void TControl::CMMouseEnter(TMessage& Message) {
  // Parents hear about it with the child in LParam.
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
}

void TControl::CMMouseLeave(TMessage& Message) {
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
  if (Message.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage&) {
  if (!FParentFont || !FParent) return;
  FChangingFont = true;
  FFont->Assign(FParent->GetFont());
  FChangingFont = false;
}

void TControl::CMParentColorChanged(TMessage&) {
  if (!FParentColor || !FParent) return;
  if (FColor == FParent->GetColor()) return;
  FColor = FParent->GetColor();
  Perform(CM_COLORCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) FShowHint = FParent->GetShowHint();
}

void TControl::CMHitTest(TMessage& Message) {
  TPoint p = LParamToPoint(Message.LParam);
  Message.Result = HitTest(p.X, p.Y) ? 1 : 0;
}

// ---------------------------------------------------------------- mouse steps and events

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  // Whole notches only; a high-resolution wheel's fractions add up.
  FWheelAccumulator += WheelDelta;
  while (FWheelAccumulator >= WHEEL_DELTA && !handled) {
    FWheelAccumulator -= WHEEL_DELTA;
    handled = DoMouseWheelUp(Shift, MousePos);
  }
  while (FWheelAccumulator <= -WHEEL_DELTA && !handled) {
    FWheelAccumulator += WHEEL_DELTA;
    handled = DoMouseWheelDown(Shift, MousePos);
  }
  if (handled) FWheelAccumulator = 0;
  return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, handled);
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---------------------------------------------------------------- graphic and custom controls

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  FCanvas->OnDrawn = [this](const TRect& R) {
    if (IsPainting()) return;
    if (TForm* f = GetParentForm())
      f->PresentRect(R.Offset(FCanvas->Origin().X, FCanvas->Origin().Y));
  };
}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::Canvas() const {
  BindCanvasOutsidePaint(FCanvas.get());
  return FCanvas.get();
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
  FCanvas->OnDrawn = [this](const TRect& R) {
    if (IsPainting()) return;
    if (TForm* f = GetParentForm())
      f->PresentRect(R.Offset(FCanvas->Origin().X, FCanvas->Origin().Y));
  };
}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::Canvas() const {
  BindCanvasOutsidePaint(FCanvas.get());
  return FCanvas.get();
}

}  // namespace qel

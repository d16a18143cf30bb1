// TForm: showing, closing, modality, focus, and the routing of native input; TScreen.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/Backend.h"
#include "platform/controls/Forms.h"

namespace qel {

namespace {
constexpr int64_t kDoubleClickTime = 500;  // ms between the presses of a double click
constexpr int kDoubleClickDistance = 4;    // pixels the pointer may move in between
}  // namespace

TForm::TForm(TComponent* AOwner)
    : TWinControl(AOwner),
      FSurface(std::make_unique<TBitmap>()),
      FCanvas(std::make_unique<TCanvas>()) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;  // forms appear with Show
  FParentColor = false;
  FParentFont = false;
  FColor = clBtnFace;
  FCanvas->OnDrawn = [this](const TRect& R) {
    if (!IsPainting()) PresentRect(R.Offset(FCanvas->Origin().X, FCanvas->Origin().Y));
  };
  if (Screen) Screen->FForms.push_back(this);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  if (OnDestroy) {
    try {
      OnDestroy(this);
    } catch (...) {
      Application->HandleException(this);
    }
  }
  if (Application) {
    if (Application->FMainForm == this) Application->FMainForm = nullptr;
    std::erase(Application->FModalStack, this);
    std::erase(Application->FReleased, this);
    Application->HintCancelFor(this);
    if (FNativeCreated && Application->Backend()) Application->Backend()->DestroyNativeWindow(this);
  }
  if (Screen) {
    std::erase(Screen->FForms, this);
    if (Screen->FActiveForm == this) {
      // As the window system does, another shown form becomes active.
      Screen->FActiveForm = nullptr;
      FActive = false;
      for (auto it = Screen->FForms.rbegin(); it != Screen->FForms.rend(); ++it)
        if ((*it)->FShown) {
          (*it)->Activate();
          break;
        }
    }
  }
  FCapture = FHover = FLastDownControl = nullptr;
  FActiveControl = nullptr;
}

TCanvas* TForm::Canvas() const {
  BindCanvasOutsidePaint(FCanvas.get());
  return FCanvas.get();
}

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TForm::SetBorderStyle(TFormBorderStyle Value) { FBorderStyle = Value; }

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool raised = AWidth < FMinSize.cx || AHeight < FMinSize.cy;
  TWinControl::SetBounds(ALeft, ATop, std::max(AWidth, FMinSize.cx),
                         std::max(AHeight, FMinSize.cy));
  ResizeSurface();
  // A window made smaller than its least size (where no window manager keeps the hint) is
  // given its least size back.
  if (FNativeCreated && (!FFromNative || raised) && Application->Backend())
    Application->Backend()->SetNativeBounds(this, BoundsRect());
}

void TForm::SetMinSize(TSize Value) {
  FMinSize = {std::max(0, Value.cx), std::max(0, Value.cy)};
  if (FNativeCreated && Application->Backend())
    Application->Backend()->SetNativeMinSize(this, FMinSize);
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

void TForm::ResizeSurface() {
  if (FSurface->GetWidth() == GetWidth() && FSurface->GetHeight() == GetHeight()) return;
  try {
    FSurface->SetSize(GetWidth(), GetHeight());
  } catch (const EOutOfResources&) {
    // A form file sets one side at a time, so the size may pass through a shape no surface
    // holds (a height of millions read before the width of 0 that leaves no pixels): while
    // loading, the surface stays empty until a size it can hold arrives.
    if (!ComponentState().Contains(csLoading)) throw;
    FSurface->SetSize(0, 0);
  }
  FDirty.clear();
  FPresent.clear();
  InvalidateFormRect(Rect(0, 0, GetWidth(), GetHeight()));
}

void TForm::CMTextChanged(TMessage& Message) {
  if (FNativeCreated && Application->Backend())
    Application->Backend()->SetNativeCaption(this, GetText());
  TWinControl::CMTextChanged(Message);
}

bool TForm::Active() const { return FActive; }

TWinControl* TForm::FocusedControl() const {
  return FActiveControl ? FActiveControl : const_cast<TForm*>(this);
}

// ---------------------------------------------------------------- show, hide, close

void TForm::Show() {
  SetVisible(true);
  Activate();
}

void TForm::Hide() { SetVisible(false); }

void TForm::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_VISIBLECHANGED) {
    TWinControl::Dispatch(Message);
    if (GetVisible() && !FShown) {
      // Place the form where its Position asks, relative to the screen or another form.
      TRect area;
      if (FPosition == poScreenCenter || FPosition == poDesktopCenter)
        area = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
      else if (FPosition == poMainFormCenter && Application->GetMainForm() &&
               Application->GetMainForm() != this)
        area = Application->GetMainForm()->BoundsRect();
      else if (FPosition == poOwnerFormCenter && dynamic_cast<TForm*>(GetOwner()))
        area = static_cast<TForm*>(GetOwner())->BoundsRect();
      if (!area.IsEmpty())
        SetBounds(area.Left + (area.Width() - GetWidth()) / 2,
                  area.Top + (area.Height() - GetHeight()) / 2, GetWidth(), GetHeight());
      HandleNeeded();
      std::vector<TWinControl*> all;
      GetTabOrderList(all);
      for (TWinControl* w : all)
        if (w->Showing()) w->HandleNeeded();
      if (TBackend* b = Application->Backend()) {
        if (!FNativeCreated) {
          b->CreateNativeWindow(this);
          FNativeCreated = true;
        }
        b->SetNativeBounds(this, BoundsRect());
        b->SetNativeCaption(this, GetText());
        b->ShowNativeWindow(this, true);
      }
      FShown = true;
      InvalidateFormRect(Rect(0, 0, GetWidth(), GetHeight()));
      DoShow();
    } else if (!GetVisible() && FShown) {
      FShown = false;
      SetCaptureControl(nullptr);
      if (FHover) {
        TControl* h = FHover;
        FHover = nullptr;
        h->Perform(CM_MOUSELEAVE);
      }
      Application->HintCancelFor(this);
      Deactivate();
      if (TBackend* b = Application->Backend(); b && FNativeCreated)
        b->ShowNativeWindow(this, false);
      DoHide();
      // Another shown form takes over the activation: after a modal run the one that was
      // active when it began, else the one shown last.
      if (!Screen->FActiveForm) {
        TForm* next = nullptr;
        if (FModalReturn && FModalReturn != this &&
            std::find(Screen->FForms.begin(), Screen->FForms.end(), FModalReturn) !=
                Screen->FForms.end() &&
            FModalReturn->FShown)
          next = FModalReturn;
        for (auto it = Screen->FForms.rbegin(); !next && it != Screen->FForms.rend(); ++it)
          if (*it != this && (*it)->FShown) next = *it;
        if (next) {
          next->Activate();
          if (TBackend* b = Application->Backend(); b && next->FNativeCreated)
            b->ActivateNativeWindow(next);
        }
      }
    }
    return;
  }
  TWinControl::Dispatch(Message);
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::DoHide() {
  if (OnHide) OnHide(this);
}

TModalResult TForm::ShowModal() {
  if (GetVisible() || !GetEnabled()) throw EInvalidOperation("Cannot make a visible window modal");
  FModalResult = mrNone;
  FModal = true;
  FModalReturn = Screen->FActiveForm;
  Application->FModalStack.push_back(this);
  auto finish = [this] {
    std::erase(Application->FModalStack, this);
    FModal = false;
    Hide();
    FModalReturn = nullptr;
  };
  try {
    Show();
    TBackend* b = Application->Backend();
    if (Application->OnModalShow) {
      Application->OnModalShow(this);
      Application->ProcessMessages();
    } else if (b && b->RealTime()) {
      while (FModalResult == mrNone && !Application->Terminated()) {
        Application->HandleMessage();
        if (FModalResult != mrNone) {
          // The classic close protocol may refuse to end the dialog.
          TCloseAction action = caHide;
          bool canClose = CloseQuery();
          if (canClose && OnClose) OnClose(this, action);
          if (!canClose || action == caNone) FModalResult = mrNone;
        }
      }
    }
  } catch (...) {
    finish();
    throw;
  }
  TModalResult result = FModalResult == mrNone ? mrCancel : FModalResult;
  finish();
  return result;
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::Close() {
  if (FModal) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (action == caFree)
    Release();
  else
    Hide();
  if (Application->GetMainForm() == this) Application->Terminate();
}

void TForm::Release() {
  if (std::find(Application->FReleased.begin(), Application->FReleased.end(), this) ==
      Application->FReleased.end())
    Application->FReleased.push_back(this);
}

// ---------------------------------------------------------------- activation and focus

void TForm::Activate(TWinControl* Target) {
  if (!FShown) return;
  if (Screen->FActiveForm == this && FActive) return;
  if (Screen->FActiveForm && Screen->FActiveForm != this) Screen->FActiveForm->Deactivate();
  Screen->FActiveForm = this;
  FActive = true;
  // Coming back keeps the focused control (no second enter); the first time, or when it can no
  // longer take the focus, the first control in tab order gets it.
  if (Target) {
    FActiveControl = nullptr;
    FocusChange(Target);
  } else if (FActiveControl && FActiveControl->CanFocus()) {
    FActiveControl->Perform(WM_SETFOCUS);
  } else {
    FActiveControl = nullptr;
    if (TWinControl* target = FindNextControl(nullptr, true, true, false)) FocusChange(target);
  }
  if (OnActivate) OnActivate(this);
}

void TForm::Deactivate() {
  if (!FActive) return;
  // What the pointer holds ends with the activation: a drag, a held button or scroll arrow, an
  // open drop-down or menu (the capture control hears WM_CANCELMODE and closes without a
  // choice). It runs while the form is still active, so a closing menu can give the focus back
  // to the control that had it, which then keeps it for the form's return.
  if (TControl* c = FCapture) {
    c->Perform(WM_CANCELMODE);
    if (FActive && FCapture == c) SetCaptureControl(nullptr);
    if (!FActive) return;  // a handler deactivated the form meanwhile
  }
  if (TWinControl* c = FActiveControl) {
    c->Perform(WM_KILLFOCUS);
    // A control may hand the focus on as it leaves (a label editor back to its tree): the one
    // holding it now leaves with the window too, so every enter is matched by an exit.
    if (FActive && FActiveControl && FActiveControl != c) FActiveControl->Perform(WM_KILLFOCUS);
  }
  if (!FActive) return;
  FActive = false;
  if (Screen->FActiveForm == this) Screen->FActiveForm = nullptr;
  if (OnDeactivate) OnDeactivate(this);
}

void TForm::NativeActivated() {
  if (FShown) Activate();
}

void TForm::NativeDeactivated() {
  // The window lost the system's focus: to another application, or to another of our forms
  // (whose activation is reported apart). A modal form stays modal: its loop goes on.
  if (FShown) Deactivate();
}

void TForm::SetActiveControl(TWinControl* AControl) {
  if (AControl == this) AControl = nullptr;
  if (AControl && !ContainsControl(AControl))
    throw EInvalidOperation("Control '" + AControl->GetName() + "' is not on form '" + GetName() +
                            "'");
  if (AControl && FShown && !ComponentState().Contains(csLoading) && !AControl->CanFocus())
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  if (FActive)
    FocusChange(AControl);
  else
    FActiveControl = AControl;
}

void TForm::FocusChange(TWinControl* NewFocus) {
  TWinControl* old = FActiveControl;
  if (old == NewFocus) return;
  if (!FActive) {
    FActiveControl = NewFocus;
    return;
  }
  // Exit runs from the old control up to (not including) the first parent that also holds the
  // new focus; enter runs down from there to the new control.
  auto chain = [this](TWinControl* c) {
    std::vector<TWinControl*> v;
    for (TWinControl* w = c; w && w != this; w = w->GetParent()) v.push_back(w);
    return v;
  };
  std::vector<TWinControl*> oldChain = chain(old), newChain = chain(NewFocus);
  while (!oldChain.empty() && !newChain.empty() && oldChain.back() == newChain.back()) {
    oldChain.pop_back();
    newChain.pop_back();
  }
  // As the window system does, WParam names the other control of the move (the one taking the
  // focus in WM_KILLFOCUS, the one that had it in WM_SETFOCUS): an edit getting the focus back
  // from its context menu keeps its selection.
  // (FFocusFrom is forgotten if a handler on the way destroys that control.)
  if (old) old->Perform(WM_KILLFOCUS, reinterpret_cast<WPARAM>(NewFocus));
  FActiveControl = NewFocus;
  FFocusFrom = old;
  for (TWinControl* w : oldChain)
    if (FActiveControl == NewFocus) w->Perform(CM_EXIT);
  // An exit handler moved the focus elsewhere: that move wins.
  if (FActiveControl != NewFocus) return;
  for (auto it = newChain.rbegin(); it != newChain.rend(); ++it) (*it)->Perform(CM_ENTER);
  TWinControl* from = FFocusFrom;
  FFocusFrom = nullptr;
  if (FActiveControl == NewFocus && NewFocus)
    NewFocus->Perform(WM_SETFOCUS, reinterpret_cast<WPARAM>(from));
}

void TForm::ForgetControl(TControl* AControl, bool Removing) {
  auto within = [AControl](const TControl* c) {
    for (; c; c = c->GetParent())
      if (c == AControl) return true;
    return false;
  };
  if (within(FCapture)) FCapture = nullptr;
  if (within(FHover)) FHover = nullptr;
  if (within(FLastDownControl)) FLastDownControl = nullptr;
  if (within(FFocusFrom)) FFocusFrom = nullptr;
  if (Application) Application->HintCancelFor(AControl);
  if (within(FActiveControl)) {
    if (Removing)
      FActiveControl = nullptr;
    else
      FocusChange(nullptr);
  }
}

// ---------------------------------------------------------------- mouse input

void TForm::SetCaptureControl(TControl* AControl) {
  if (FCapture == AControl) return;
  TControl* old = FCapture;
  FCapture = AControl;
  if (old) old->Perform(WM_CAPTURECHANGED);
}

namespace {

// The topmost visible, enabled control at P (form coordinates), descending into windowed
// children; Local receives P in its client coordinates.
TControl* FindTarget(TForm* F, TPoint P, TPoint& Local) {
  TWinControl* w = F;
  TPoint p = P;
  for (;;) {
    TPoint co = w->ClientOrigin();
    TPoint cp{p.X - co.X, p.Y - co.Y};
    TControl* c = w->ControlAtPos(cp);
    if (!c) {
      Local = p;
      return w;
    }
    p = {cp.X - c->GetLeft(), cp.Y - c->GetTop()};
    auto* cw = dynamic_cast<TWinControl*>(c);
    if (!cw) {
      Local = p;
      return c;
    }
    w = cw;
  }
}

TPoint FormToControl(const TForm* F, const TControl* C, TPoint P) {
  TPoint o = C == F ? TPoint{0, 0} : C->ClientToParent({0, 0}, F);
  return {P.X - o.X, P.Y - o.Y};
}

UINT DownMessage(TMouseButton B, bool Double) {
  switch (B) {
    case mbRight:
      return Double ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
    case mbMiddle:
      return Double ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
    default:
      return Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
  }
}

UINT UpMessage(TMouseButton B) {
  switch (B) {
    case mbRight:
      return WM_RBUTTONUP;
    case mbMiddle:
      return WM_MBUTTONUP;
    default:
      return WM_LBUTTONUP;
  }
}

TShiftStateItem ButtonItem(TMouseButton B) {
  switch (B) {
    case mbRight:
      return ssRight;
    case mbMiddle:
      return ssMiddle;
    default:
      return ssLeft;
  }
}

constexpr TShiftState kModifiers{ssShift, ssCtrl, ssAlt};

// Runs one piece of input handling; an exception from a handler goes to the application, as the
// classic window procedure does, so it never unwinds through the event loop.
template <class F>
void Guarded(TForm* Form, F&& Body) {
  try {
    Body();
  } catch (...) {
    Application->HandleException(Form);
  }
}

// Input to a form below the top modal form is ignored, as the window system disables it.
bool Blocked(const TForm* F) {
  TForm* m = Application->ModalForm();
  return m && m != F;
}

}  // namespace

void TForm::SetHover(TControl* AControl, TShiftState) {
  if (FHover == AControl) return;
  TControl* old = FHover;
  FHover = AControl;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (AControl && FHover == AControl) AControl->Perform(CM_MOUSEENTER);
}

void TForm::InputMouseMove(TShiftState Shift, int X, int Y) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this)) return;
    Application->SetCursorPos(ClientToScreen({X, Y}));
    TPoint local;
    TControl* hit = FindTarget(this, {X, Y}, local);
    SetHover(hit, Shift);
    Application->HintMouseMove(this, hit, {X, Y});
    TControl* target = FCapture ? FCapture : hit;
    TPoint p = FCapture ? FormToControl(this, FCapture, {X, Y}) : local;
    target->Perform(WM_MOUSEMOVE, ShiftStateToKeys((Shift * kModifiers) + FButtons),
                    PointToLParam(p));
    Screen->UpdateCursor();
  });
}

void TForm::InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this)) return;
    Application->SetCursorPos(ClientToScreen({X, Y}));
    Application->CancelHint();
    if (!FActive) Activate();
    FButtons << ButtonItem(Button);
    TPoint local;
    TControl* hit = FindTarget(this, {X, Y}, local);
    SetHover(hit, Shift);
    PreviewMouseDown(hit);
    // A press focuses the windowed control it lands on when that control takes the focus.
    if (!FCapture) {
      if (auto* w = dynamic_cast<TWinControl*>(hit);
          w && w != this && w->GetTabStop() && w->CanFocus() && !w->Focused())
        w->SetFocus();
      hit = FindTarget(this, {X, Y}, local);
    }
    TControl* target = FCapture ? FCapture : hit;
    TPoint p = FCapture ? FormToControl(this, FCapture, {X, Y}) : local;
    int64_t now = Application->GetTickCount();
    bool dbl = !FLastWasDouble && target == FLastDownControl && Button == FLastDownButton &&
               now - FLastDownTime <= kDoubleClickTime &&
               std::abs(X - FLastDownPos.X) <= kDoubleClickDistance &&
               std::abs(Y - FLastDownPos.Y) <= kDoubleClickDistance;
    FLastDownControl = target;
    FLastDownButton = Button;
    FLastDownPos = {X, Y};
    FLastDownTime = now;
    FLastWasDouble = dbl;
    target->Perform(DownMessage(Button, dbl), ShiftStateToKeys((Shift * kModifiers) + FButtons),
                    PointToLParam(p));
  });
}

void TForm::InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this)) return;
    Application->SetCursorPos(ClientToScreen({X, Y}));
    FButtons >> ButtonItem(Button);
    TPoint local;
    TControl* hit = FindTarget(this, {X, Y}, local);
    TControl* target = FCapture ? FCapture : hit;
    TPoint p = FCapture ? FormToControl(this, FCapture, {X, Y}) : local;
    target->Perform(UpMessage(Button), ShiftStateToKeys((Shift * kModifiers) + FButtons),
                    PointToLParam(p));
    // The pointer may now be over another control than the one that held the capture.
    if (FShown) {
      hit = FindTarget(this, {X, Y}, local);
      SetHover(hit, Shift);
    }
  });
}

void TForm::InputMouseWheel(int Delta, TShiftState Shift, int X, int Y) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this)) return;
    Application->CancelHint();
    TPoint local;
    TControl* target = FCapture ? FCapture : FindTarget(this, {X, Y}, local);
    TPoint screen = ClientToScreen({X, Y});
    Application->SetCursorPos(screen);
    WPARAM w =
        MAKEWPARAM(static_cast<int>(ShiftStateToKeys((Shift * kModifiers) + FButtons)), Delta);
    // Unhandled turns bubble up to the parents.
    for (TControl* c = target; c; c = c->GetParent())
      if (c->Perform(WM_MOUSEWHEEL, w, PointToLParam(screen)) != 0) break;
  });
}

void TForm::InputMouseLeave() {
  if (!FShown) return;
  Application->CancelHint();
  SetHover(nullptr, {});
  Screen->UpdateCursor();
}

// ---------------------------------------------------------------- keys

bool TForm::InputKeyDown(uint16_t Key, TShiftState Shift) {
  bool consumed = true;
  Guarded(this, [&] { consumed = KeyDownRouted(Key, Shift); });
  return consumed;
}

namespace {

bool IsModifierKey(uint16_t Key) {
  switch (Key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
      return true;
    default:
      return false;
  }
}

// Alt+letter or Alt+digit (Shift allowed; Ctrl+Alt is AltGr on many layouts and types text).
bool IsAcceleratorKey(uint16_t Key, TShiftState Shift) {
  if (!Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return false;
  return (Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9');
}

bool IsContextMenuKey(uint16_t Key, TShiftState Shift) {
  TShiftState mods = Shift * kModifiers;
  return (Key == VK_APPS && mods.Empty()) || (Key == VK_F10 && mods == TShiftState{ssShift});
}

}  // namespace

bool TForm::IsShortCut(uint16_t Key, TShiftState Shift) {
  bool handled = false;
  if (OnShortCut) OnShortCut(this, Key, Shift, handled);
  if (handled) return true;
  if (!Application || !Application->OnMenuShortCut) return false;
  // The focused control's own menu first, then each parent's, the form's last.
  TWinControl* start = FocusedControl();
  for (TWinControl* c = start; c; c = c == this ? nullptr : c->GetParent())
    if (TPopupMenu* menu = c->GetPopupMenu())
      if (Application->OnMenuShortCut(menu, Key, Shift)) return true;
  return false;
}

bool TForm::KeyDownRouted(uint16_t Key, TShiftState Shift) {
  if (!FShown || Blocked(this)) return true;
  Application->CancelHint();
  if (!FActive) Activate();
  LPARAM data = ShiftStateToKeyData(Shift);
  TWinControl* target = FocusedControl();
  // A control that claims the key as its own (an open menu claims every key, an open combo
  // list Enter and Esc) keeps it from the shortcuts and the accelerators.
  bool claimed = target->Perform(CM_WANTSPECIALKEY, Key, data) != 0;
  if (!claimed && !IsModifierKey(Key) && IsShortCut(Key, Shift)) return true;
  if (FocusedControl() != target) return true;
  TMessage m{CN_KEYDOWN, Key, data, 0};
  target->WndProc(m);
  if (m.Result != 0) return true;
  // The reflected step may have moved the focus; the key then belongs to nobody.
  if (FocusedControl() != target) return true;
  TMessage k{WM_KEYDOWN, m.WParam, data, 0};
  target->WndProc(k);
  auto key = static_cast<uint16_t>(k.WParam);
  // Alt+x never types, whoever took it (an open menu chooses with it).
  if (FocusedControl() != target || key == 0) return IsAcceleratorKey(Key, Shift);
  if (IsContextMenuKey(key, Shift)) {
    target->Perform(WM_CONTEXTMENU, 0, PointToLParam({-1, -1}));
    return true;
  }
  if (!claimed && IsAcceleratorKey(key, Shift)) {
    // Alt+x belongs to the control whose caption marks x, whatever the focused control does
    // with characters; nobody claiming it earns a beep, and nothing is typed either way.
    auto ch = static_cast<WPARAM>(key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key);
    if (Perform(CM_DIALOGCHAR, ch, data) == 0) MessageBeep(MB_OK);
    return true;
  }
  return false;
}

void TForm::InputKeyUp(uint16_t Key, TShiftState Shift) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this)) return;
    LPARAM data = ShiftStateToKeyData(Shift);
    TWinControl* target = FocusedControl();
    TMessage m{CN_KEYUP, Key, data, 0};
    target->WndProc(m);
    if (m.Result != 0 || FocusedControl() != target) return;
    target->Perform(WM_KEYUP, m.WParam, data);
  });
}

void TForm::InputChar(char32_t Ch, TShiftState Shift) {
  Guarded(this, [&] {
    if (!FShown || Blocked(this) || Ch == 0) return;
    LPARAM data = ShiftStateToKeyData(Shift);
    TWinControl* target = FocusedControl();
    TMessage m{CN_CHAR, Ch, data, 0};
    target->WndProc(m);
    if (m.Result != 0 || FocusedControl() != target) return;
    target->Perform(WM_CHAR, m.WParam, data);
  });
}

void TForm::CNKeyDown(TMessage& Message) {
  // A focused child passed its key up: the form previews it (and may eat it) but does not
  // treat it as a dialog key a second time.
  if (FocusedControl() != this) {
    Message.Result = 0;
    if (FKeyPreview) {
      auto key = static_cast<uint16_t>(Message.WParam);
      KeyDown(key, KeyDataToShiftState(Message.LParam));
      Message.WParam = key;
      if (key == 0) Message.Result = 1;
    }
    return;
  }
  TWinControl::CNKeyDown(Message);
}

void TForm::CMDialogKey(TMessage& Message) {
  TShiftState shift = KeyDataToShiftState(Message.LParam);
  switch (Message.WParam) {
    case VK_TAB:
      if (!shift.Contains(ssCtrl) && !shift.Contains(ssAlt)) {
        SelectNext(FActiveControl, !shift.Contains(ssShift), true);
        Message.Result = 1;
        return;
      }
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      if (FActiveControl && FActiveControl->GetParent()) {
        FActiveControl->GetParent()->SelectNext(
            FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN, false);
        Message.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::CMDialogKey(Message);
}

void TForm::WMNextDlgCtl(TMessage& Message) {
  // LParam non-zero: WParam names the control to focus; otherwise WParam 0 moves forward.
  if (Message.LParam != 0) {
    auto* c = reinterpret_cast<TWinControl*>(Message.WParam);
    if (c && ContainsControl(c) && c->CanFocus()) c->SetFocus();
  } else {
    SelectNext(FActiveControl, Message.WParam == 0, true);
  }
  Message.Result = 0;
}

void TForm::NativeResized(int AWidth, int AHeight) {
  // The native window already has that size; only record it.
  FFromNative = true;
  SetBounds(GetLeft(), GetTop(), AWidth, AHeight);
  FFromNative = false;
}

void TForm::NativeMoved(int ALeft, int ATop) {
  FFromNative = true;
  SetBounds(ALeft, ATop, GetWidth(), GetHeight());
  FFromNative = false;
}

// ---------------------------------------------------------------- TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}
TScreen::~TScreen() = default;

void TScreen::SetCursor(TCursor Value) {
  FCursor = Value;
  UpdateCursor();
}

TCursor TScreen::EffectiveCursor() const {
  if (FCursor != crDefault) return FCursor;
  TForm* f = FActiveForm;
  if (!f) return crDefault;
  TPoint pos = Application ? Application->CursorPos() : TPoint{};
  for (TControl* c = f->HoverControl(); c; c = c->GetParent()) {
    TPoint p = c->ScreenToClient(pos);
    if (TCursor cur = c->GetCursorAt(p.X, p.Y); cur != crDefault) return cur;
  }
  return crDefault;
}

void TScreen::UpdateCursor() {
  TCursor c = EffectiveCursor();
  if (c == FShownCursor) return;
  FShownCursor = c;
  if (Application && Application->Backend()) Application->Backend()->SetCursor(c);
}

TForm* TScreen::Forms(int Index) const {
  if (Index < 0 || Index >= FormCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FForms[static_cast<size_t>(Index)];
}

TWinControl* TScreen::GetActiveControl() const {
  return FActiveForm ? FActiveForm->GetActiveControl() : nullptr;
}

int TScreen::GetWidth() const {
  return Application && Application->Backend() ? Application->Backend()->ScreenSize().cx : 0;
}

int TScreen::GetHeight() const {
  return Application && Application->Backend() ? Application->Backend()->ScreenSize().cy : 0;
}

}  // namespace qel

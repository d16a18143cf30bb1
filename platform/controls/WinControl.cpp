// TWinControl: children, alignment, the virtual handle, focus, keys and tab order.
#include <algorithm>

#include "platform/controls/Forms.h"

namespace qel {

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TWinControl::~TWinControl() {
  // Children still on the control go with it, whoever owns them (the owner hears of it).
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    delete c;
  }
  // Leave the parent while this is still a TWinControl, so the tab list forgets it too.
  if (GetParent()) GetParent()->RemoveControl(this);
  DestroyHandle();
}

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FControls[static_cast<size_t>(Index)];
}

void TWinControl::AddToLists(TControl* AControl) {
  // Windowed children lie above graphic ones: a graphic child goes below the first windowed.
  if (dynamic_cast<TWinControl*>(AControl)) {
    FControls.push_back(AControl);
  } else {
    auto pos = std::find_if(FControls.begin(), FControls.end(),
                            [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; });
    FControls.insert(pos, AControl);
  }
}

namespace {
void CreateHandles(TWinControl* W) {
  W->HandleNeeded();
  for (int i = 0; i < W->ControlCount(); ++i)
    if (auto* c = dynamic_cast<TWinControl*>(W->Controls(i)); c && c->GetVisible())
      CreateHandles(c);
}
}  // namespace

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  if (AControl->FParent) AControl->FParent->RemoveControl(AControl);
  AddToLists(AControl);
  AControl->FParent = this;
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    UpdateTabList(w, true);
    if (HandleAllocated() && w->GetVisible()) CreateHandles(w);
  }
  if (AControl->FParentFont) AControl->Perform(CM_PARENTFONTCHANGED);
  if (AControl->FParentColor) AControl->Perform(CM_PARENTCOLORCHANGED);
  if (AControl->FParentShowHint) AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  AControl->UpdateAnchorBase();
  if (AControl->FAlign != alNone) Realign();
  AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  if (AControl->FVisible) InvalidateRect(AControl->BoundsRect());
  if (TForm* f = GetParentForm()) f->ForgetControl(AControl);
  if (Application) Application->HintCancelFor(AControl);
  // From the back: the newest go first when a parent is destroyed.
  auto it = std::find(FControls.rbegin(), FControls.rend(), AControl);
  if (it != FControls.rend()) FControls.erase(std::next(it).base());
  if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
    UpdateTabList(w, false);
    w->DestroyHandle();
  }
  AControl->FParent = nullptr;
  AControl->FAnchorBaseValid = false;
  if (AControl->FAlign != alNone) Realign();
}

bool TWinControl::ContainsControl(const TControl* AControl) const {
  for (const TControl* c = AControl; c; c = c->FParent)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint P, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->FVisible || (!AllowDisabled && !c->FEnabled)) continue;
    if (!c->BoundsRect().Contains(P)) continue;
    TPoint local{P.X - c->FLeft, P.Y - c->FTop};
    if (c->Perform(CM_HITTEST, 0, PointToLParam(local)) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (size_t i = 0; i < FControls.size(); ++i) {
    FControls[i]->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  for (size_t i = 0; i < FControls.size(); ++i) {
    m.Result = 0;
    FControls[i]->WndProc(m);
  }
}

// ---------------------------------------------------------------- handle

HWND TWinControl::GetHandle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateWnd();
}

void TWinControl::CreateWnd() {
  if (!FHandle) FHandle = Application->NewHandle(this, {});
}

void TWinControl::DestroyHandle() {
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  if (FHandle) DestroyWnd();
}

void TWinControl::DestroyWnd() {
  if (FHandle && Application) Application->FreeHandle(FHandle);
  FHandle = 0;
}

// ---------------------------------------------------------------- alignment

void TWinControl::Realign() { ApplyAlign(); }

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0) ApplyAlign();
}

void TWinControl::ApplyAlign() {
  if (FAlignLevel > 0 || FAligning) return;
  FAligning = true;
  TRect r = GetClientRect();
  AlignControls(nullptr, r);
  FAligning = false;
}

void TWinControl::AlignControls(TControl*, TRect& ARect) {
  auto take = [&](TAlign a) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->FVisible && c->FAlign == a) list.push_back(c);
    // Controls keep their order along the side they stick to.
    std::stable_sort(list.begin(), list.end(), [a](TControl* x, TControl* y) {
      switch (a) {
        case alTop:
          return x->FTop < y->FTop;
        case alBottom:
          return x->FTop + x->FHeight > y->FTop + y->FHeight;
        case alLeft:
          return x->FLeft < y->FLeft;
        case alRight:
          return x->FLeft + x->FWidth > y->FLeft + y->FWidth;
        default:
          return false;
      }
    });
    return list;
  };
  auto place = [](TControl* c, int l, int t, int w, int h) {
    c->FAutoPlacing = true;
    c->SetBounds(l, t, std::max(0, w), std::max(0, h));
    c->FAutoPlacing = false;
  };
  for (TControl* c : take(alTop)) {
    place(c, ARect.Left, ARect.Top, ARect.Width(), c->FHeight);
    ARect.Top += c->FHeight;
  }
  for (TControl* c : take(alBottom)) {
    place(c, ARect.Left, ARect.Bottom - c->FHeight, ARect.Width(), c->FHeight);
    ARect.Bottom -= c->FHeight;
  }
  for (TControl* c : take(alLeft)) {
    place(c, ARect.Left, ARect.Top, c->FWidth, ARect.Height());
    ARect.Left += c->FWidth;
  }
  for (TControl* c : take(alRight)) {
    place(c, ARect.Right - c->FWidth, ARect.Top, c->FWidth, ARect.Height());
    ARect.Right -= c->FWidth;
  }
  for (TControl* c : take(alClient)) place(c, ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
}

void TWinControl::WMSize(TMessage& Message) {
  int w = ClientWidth(), h = ClientHeight();
  for (size_t i = 0; i < FControls.size(); ++i)
    FControls[i]->ParentResized(FLastClientWidth, FLastClientHeight);
  FLastClientWidth = w;
  FLastClientHeight = h;
  ApplyAlign();
  TControl::WMSize(Message);
}

// ---------------------------------------------------------------- focus and tab order

bool TWinControl::CanFocus() const {
  TForm* f = GetParentForm();
  if (!f) return false;
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible || !c->FEnabled) return false;
  return true;
}

bool TWinControl::Focused() const {
  TForm* f = GetParentForm();
  return f && f->Active() && f->FocusedControl() == this;
}

void TWinControl::SetFocus() {
  TForm* f = GetParentForm();
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  TWinControl* target = f == this ? nullptr : this;
  if (!f->Active() && f->FShown) {
    // Focusing into an inactive form activates it with this control as the focus.
    if (target)
      f->Activate(target);
    else
      f->Activate();
    return;
  }
  if (target)
    f->SetActiveControl(target);
  else
    f->FocusChange(nullptr);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::UpdateTabList(TWinControl* AControl, bool Add) {
  // Added only by InsertControl, for a control that was not a child (so not in the list):
  // no search, which made inserting n children cost n^2.
  if (Add) {
    FTabList.push_back(AControl);
    return;
  }
  auto it = std::find(FTabList.rbegin(), FTabList.rend(), AControl);
  if (it != FTabList.rend()) FTabList.erase(std::next(it).base());
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  const auto& v = FParent->FTabList;
  // Callers walk the children in order (the form writer asks each one): the search starts
  // after the last answer, so such a walk costs n, not n^2. Any other order still finds it.
  static thread_local size_t next = 0;
  const size_t n = v.size();
  for (size_t k = 0; k < n; ++k) {
    const size_t i = (next + k) % n;
    if (v[i] == this) {
      next = i + 1;
      return static_cast<int>(i);
    }
  }
  return -1;
}

void TWinControl::SetTabOrder(int Value) {
  if (!FParent) return;
  auto& v = FParent->FTabList;
  auto it = std::find(v.begin(), v.end(), this);
  if (it == v.end()) return;
  v.erase(it);
  if (Value < 0 || Value >= static_cast<int>(v.size()) + 1) Value = static_cast<int>(v.size());
  v.insert(v.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  // Without a current control start just before the first (forward) or after the last.
  int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i + n - 1) % n;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == CurControl) break;
    if ((!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this) && c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (next) next->SetFocus();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------- keys

void TWinControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(uint16_t& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& Message) {
  TForm* f = GetParentForm();
  if (f && f != this && f->GetKeyPreview() && f->DoKeyDown(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    auto key = static_cast<uint16_t>(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TForm* f = GetParentForm();
  if (f && f != this && f->GetKeyPreview() && f->DoKeyUp(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    auto key = static_cast<uint16_t>(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TForm* f = GetParentForm();
  if (f && f != this && f->GetKeyPreview() && f->DoKeyPress(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    auto ch = static_cast<char32_t>(Message.WParam);
    KeyPress(ch);
    Message.WParam = ch;
    if (ch == 0) return true;
  }
  return false;
}

void TWinControl::WndProc(TMessage& Message) { TControl::WndProc(Message); }

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      WMSetFocus(Message);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(Message);
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      WMKeyDown(Message);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      WMKeyUp(Message);
      break;
    case WM_CHAR:
      WMChar(Message);
      break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      CNKeyDown(Message);
      break;
    case CN_KEYUP:
      CNKeyUp(Message);
      break;
    case CN_CHAR:
      CNChar(Message);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(Message);
      break;
    case WM_NEXTDLGCTL:
      WMNextDlgCtl(Message);
      break;
    case WM_TIMER:
      WMTimer(Message);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      break;
    case CM_CHILDKEY:
      CMChildKey(Message);
      break;
    case CM_WANTSPECIALKEY:
      CMWantSpecialKey(Message);
      break;
    case CM_ENTER:
      CMEnter(Message);
      break;
    case CM_EXIT:
      CMExit(Message);
      break;
    case CM_SHOWHINTCHANGED:
      NotifyControls(CM_PARENTSHOWHINTCHANGED);
      break;
    default:
      TControl::Dispatch(Message);
      break;
  }
}

void TWinControl::WMSetFocus(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::WMKillFocus(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::CNKeyDown(TMessage& Message) {
  TForm* f = GetParentForm();
  // A child passed its key up (it has no focus here): let it travel on to the form's preview.
  if (f && f != this && f->FocusedControl() != this) {
    Message.Result = FParent ? FParent->Perform(CN_KEYDOWN, Message.WParam, Message.LParam) : 0;
    return;
  }
  Message.Result = 1;
  if (!ComponentState().Contains(csDesigning)) {
    if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT mask = 0;
    switch (Message.WParam) {
      case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
      case VK_RETURN:
      case VK_EXECUTE:
      case VK_ESCAPE:
      case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
      default:
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam, Message.LParam) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0 && f &&
        f->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0)
      return;
  }
  Message.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& Message) { Message.Result = 0; }

void TWinControl::CNChar(TMessage& Message) {
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning)) return;
  // Characters a control does not want may be accelerators of other controls.
  TForm* f = GetParentForm();
  if (f && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 &&
      f->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
    Message.Result = 1;
}

void TWinControl::WMGetDlgCode(TMessage& Message) { Message.Result = 0; }

void TWinControl::WMNextDlgCtl(TMessage& Message) {
  // The dialog manager lives in the form; pass it on.
  TForm* f = GetParentForm();
  if (f && f != this) Message.Result = f->Perform(WM_NEXTDLGCTL, Message.WParam, Message.LParam);
}

void TWinControl::WMTimer(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }

void TWinControl::CMChildKey(TMessage& Message) {
  Message.Result = FParent ? FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam) : 0;
}

void TWinControl::CMWantSpecialKey(TMessage& Message) { Message.Result = 0; }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::CMEnabledChanged(TMessage& Message) {
  if (!GetEnabled())
    if (TForm* f = GetParentForm(); f && f != this) f->ForgetControl(this, false);
  TControl::CMEnabledChanged(Message);
}

void TWinControl::CMVisibleChanged(TMessage& Message) {
  if (GetVisible() && FParent && FParent->HandleAllocated()) CreateHandles(this);
  TControl::CMVisibleChanged(Message);
}

void TWinControl::CMFontChanged(TMessage& Message) {
  TControl::CMFontChanged(Message);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& Message) {
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMParentShowHintChanged(TMessage& Message) {
  bool before = GetShowHint();
  TControl::CMParentShowHintChanged(Message);
  if (before != GetShowHint()) NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

}  // namespace qel

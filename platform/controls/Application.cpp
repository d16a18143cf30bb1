// TApplication: the loop, the clock and window timers, private windows, exception handling,
// hints, services; the backend registry; TClipboard; the global application and screen.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/controls/Backend.h"
#include "platform/controls/Forms.h"

namespace qel {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

struct TGlobals {
  TGlobals() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
  }
  ~TGlobals() {
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
  }
};
TGlobals gGlobals;

std::map<std::string, TBackendFactory>& Registry() {
  static std::map<std::string, TBackendFactory> registry;
  return registry;
}

constexpr uintptr_t kHintShowTimer = 1;
constexpr uintptr_t kHintHideTimer = 2;

}  // namespace

void RegisterBackend(const std::string& Name, TBackendFactory Factory) {
  Registry()[Name] = std::move(Factory);
}

std::unique_ptr<TBackend> CreateBackend(const std::string& Name) {
  auto it = Registry().find(Name);
  if (it != Registry().end()) return it->second();
  if (Name == "headless") return CreateDefaultBackend();
  return nullptr;
}

// ---------------------------------------------------------------- construction

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner),
      FBackend(CreateDefaultBackend()),
      FClipboard(std::make_unique<TClipboard>()) {
  FHintWnd = NewHandle(nullptr, [this](TMessage& M) { HintTimer(M); });
}

TApplication::~TApplication() {
  // Forms go while the backend and the services they talk to still exist.
  DestroyComponents();
  for (TForm* f : FReleased) delete f;
  FReleased.clear();
}

void TApplication::Initialize() {
  const char* env = std::getenv("QEL_BACKEND");
  std::string name = env && *env ? env : "headless";
  std::unique_ptr<TBackend> b = CreateBackend(name);
  if (!b) throw Exception("Unknown backend \"" + name + "\"");
  SetBackend(std::move(b));
}

void TApplication::SetBackend(std::unique_ptr<TBackend> Backend) {
  if (!Backend) Backend = CreateDefaultBackend();
  for (TForm* f : Screen->FForms)
    if (f->FNativeCreated) {
      FBackend->DestroyNativeWindow(f);
      f->FNativeCreated = false;
    }
  FBackend = std::move(Backend);
  for (TForm* f : Screen->FForms) {
    if (!f->FShown) continue;
    FBackend->CreateNativeWindow(f);
    f->FNativeCreated = true;
    FBackend->SetNativeBounds(f, f->BoundsRect());
    FBackend->SetNativeCaption(f, f->GetText());
    FBackend->ShowNativeWindow(f, true);
    f->InvalidateFormRect(Rect(0, 0, f->GetWidth(), f->GetHeight()));
  }
  Screen->FShownCursor = crDefault;
}

void TApplication::ResetServices(std::unique_ptr<TBackend> Backend) {
  DestroyComponents();
  FReleased.clear();
  FModalStack.clear();
  FTimers.clear();
  FPostedMsgs.clear();
  FPostedWnds.clear();
  // Private windows of components that are gone by now; control handles stay with their controls.
  std::erase_if(FWindows,
                [this](const auto& kv) { return !kv.second.Control && kv.first != FHintWnd; });
  FMainForm = nullptr;
  FTerminated = false;
  FTimersFail = false;
  FVirtualNow = 0;
  OnModalShow = nullptr;
  OnException = nullptr;
  OnShowError = nullptr;
  OnHint = nullptr;
  FShowHint = true;
  FHintPause = 500;
  FHintHidePause = 2500;
  FHint.clear();
  FHintForm = nullptr;
  FHintPending = nullptr;
  FHintControl = nullptr;
  FHintRect = {};
  FCursorPos = {};
  Screen->FCursor = crDefault;
  SetBackend(std::move(Backend));
}

// ---------------------------------------------------------------- the loop

void TApplication::Run() {
  if (FMainForm && !FMainForm->GetVisible()) FMainForm->Show();
  if (!FBackend->RealTime()) {
    // Nothing outside can happen without a real backend: finish what is pending.
    ProcessMessages();
    return;
  }
  while (!FTerminated) HandleMessage();
}

void TApplication::ProcessMessages() {
  FBackend->PumpEvents();
  if (FBackend->RealTime()) FireDueTimers(GetTickCount());
  ProcessPosted();
  ProcessReleases();
  PaintForms();
}

void TApplication::HandleMessage() {
  if (FBackend->RealTime()) {
    bool pending = !FPostedMsgs.empty() || !FReleased.empty();
    for (TForm* f : Screen->FForms)
      if (f->FShown && (!f->FDirty.empty() || !f->FPresent.empty())) pending = true;
    int64_t wait = pending ? 0 : NextTimerDelay();
    FBackend->WaitForEvents(wait > 1000000 ? 1000000 : static_cast<int>(wait));
  }
  ProcessMessages();
}

void TApplication::ProcessPosted() {
  while (!FPostedMsgs.empty()) {
    std::vector<TMessage> msgs;
    std::vector<HWND> wnds;
    msgs.swap(FPostedMsgs);
    wnds.swap(FPostedWnds);
    for (size_t i = 0; i < msgs.size(); ++i) {
      if (!FWindows.count(wnds[i])) continue;
      try {
        Deliver(wnds[i], msgs[i]);
      } catch (...) {
        HandleException(this);
      }
    }
  }
}

void TApplication::ProcessReleases() {
  while (!FReleased.empty()) {
    TForm* f = FReleased.back();
    FReleased.pop_back();
    delete f;  // its destructor leaves the owner and the screen
  }
}

void TApplication::PaintForms() {
  std::vector<TForm*> forms = Screen->FForms;
  for (TForm* f : forms)
    if (std::find(Screen->FForms.begin(), Screen->FForms.end(), f) != Screen->FForms.end())
      f->PaintDirty();
  Screen->UpdateCursor();
}

// ---------------------------------------------------------------- exceptions

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr e = std::current_exception();
  if (!e) return;
  try {
    std::rethrow_exception(e);
  } catch (const EAbort&) {
    // The silent exception: it only unwinds.
  } catch (const std::exception& ex) {
    if (OnException) {
      try {
        OnException(Sender, ex);
      } catch (const std::exception& inner) {
        ShowException(inner);
      } catch (...) {
        ShowException(Exception("Unknown exception"));
      }
    } else {
      ShowException(ex);
    }
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const std::exception& E) {
  static bool showing = false;
  std::string message = E.what();
  if (!OnShowError) {
    if (FBackend) FBackend->ShowError(message);
    return;
  }
  if (FBackend) FBackend->LogError(message);
  if (showing) return;
  showing = true;
  try {
    OnShowError(message);
  } catch (...) {
    // The dialog itself failed (no memory, no font): the log line is all that is left.
  }
  showing = false;
}

// ---------------------------------------------------------------- windows and timers

HWND TApplication::NewHandle(TWinControl* Control, TWndMethod Method) {
  HWND h = FNextHandle++;
  FWindows[h] = TWindowTarget{Control, std::move(Method)};
  return h;
}

void TApplication::FreeHandle(HWND Wnd) {
  FWindows.erase(Wnd);
  std::erase_if(FTimers, [Wnd](const TTimer& t) { return t.Wnd == Wnd; });
  for (HWND& w : FPostedWnds)
    if (w == Wnd) w = 0;
}

LRESULT TApplication::Deliver(HWND Wnd, TMessage& Message) {
  auto it = FWindows.find(Wnd);
  if (it == FWindows.end()) return 0;
  if (it->second.Control) {
    it->second.Control->WndProc(Message);
  } else if (it->second.Method) {
    // A copy: the handler may free its own window.
    TWndMethod m = it->second.Method;
    m(Message);
  }
  return Message.Result;
}

void TApplication::DeliverTimer(HWND Wnd, uintptr_t Id) {
  TMessage m{WM_TIMER, Id, 0, 0};
  try {
    Deliver(Wnd, m);
  } catch (...) {
    auto it = FWindows.find(Wnd);
    HandleException(it != FWindows.end() && it->second.Control
                        ? static_cast<TObject*>(it->second.Control)
                        : this);
  }
}

uintptr_t TApplication::StartTimer(HWND Wnd, uintptr_t Id, int64_t Ms) {
  if (!FWindows.count(Wnd)) return 0;
  if (Ms < 1) Ms = 1;
  int64_t now = GetTickCount();
  for (TTimer& t : FTimers)
    if (t.Wnd == Wnd && t.Id == Id) {
      t.Interval = Ms;
      t.Due = now + Ms;
      t.Seq = ++FTimerSeq;
      return Id;
    }
  FTimers.push_back({Wnd, Id, Ms, now + Ms, ++FTimerSeq});
  return Id;
}

bool TApplication::StopTimer(HWND Wnd, uintptr_t Id) {
  auto it = std::find_if(FTimers.begin(), FTimers.end(),
                         [&](const TTimer& t) { return t.Wnd == Wnd && t.Id == Id; });
  if (it == FTimers.end()) return false;
  FTimers.erase(it);
  return true;
}

int64_t TApplication::GetTickCount() const {
  return FBackend->RealTime() ? FBackend->TickCount() : FVirtualNow;
}

int64_t TApplication::NextTimerDelay() const {
  if (FTimers.empty()) return -1;
  int64_t now = GetTickCount();
  int64_t best = FTimers.front().Due;
  for (const TTimer& t : FTimers) best = std::min(best, t.Due);
  return std::max<int64_t>(0, best - now);
}

namespace {
// The timer that fires next: the earliest due, then the one set first.
template <class V>
auto EarliestDue(V& Timers, int64_t Limit) {
  auto best = Timers.end();
  for (auto it = Timers.begin(); it != Timers.end(); ++it) {
    if (it->Due > Limit) continue;
    if (best == Timers.end() || it->Due < best->Due ||
        (it->Due == best->Due && it->Seq < best->Seq))
      best = it;
  }
  return best;
}
}  // namespace

void TApplication::FireDueTimers(int64_t Now) {
  // Each timer fires at most once per turn; a late one does not pile up ticks.
  for (;;) {
    auto it = EarliestDue(FTimers, Now);
    if (it == FTimers.end()) break;
    it->Due = Now + it->Interval;
    HWND w = it->Wnd;
    uintptr_t id = it->Id;
    DeliverTimer(w, id);
  }
}

void TApplication::AdvanceTime(int64_t Ms) {
  if (Ms < 0) throw ERangeError("Time cannot run backwards (" + std::to_string(Ms) + " ms)");
  if (!FBackend->RealTime()) {
    int64_t target = FVirtualNow + Ms;
    for (;;) {
      auto it = EarliestDue(FTimers, target);
      if (it == FTimers.end()) break;
      FVirtualNow = std::max(FVirtualNow, it->Due);
      it->Due += it->Interval;
      HWND w = it->Wnd;
      uintptr_t id = it->Id;
      DeliverTimer(w, id);
      ProcessPosted();
    }
    FVirtualNow = std::max(FVirtualNow, target);
  }
  ProcessMessages();
}

// ---------------------------------------------------------------- hints

void TApplication::SetShowHint(bool Value) {
  FShowHint = Value;
  if (!Value) CancelHint();
}

void TApplication::HintMouseMove(TForm* Form, TControl* Control, TPoint FormPos) {
  // The hint belongs to the nearest control (or parent) that has one and shows hints.
  TControl* hc = Control;
  while (hc && (hc->GetHint().empty() || !hc->GetShowHint())) hc = hc->GetParent();
  TControl* lc = Control;
  while (lc && lc->GetHint().empty()) lc = lc->GetParent();
  std::string text = lc ? lc->GetHint() : std::string();
  if (auto bar = text.find('|'); bar != std::string::npos) text = text.substr(bar + 1);
  if (text != FHint) {
    FHint = text;
    if (OnHint) OnHint(this);
  }
  if (hc == FHintPending && Form == FHintForm) {
    if (!FHintControl) FHintPos = FormPos;
    return;
  }
  HideHint();
  StopTimer(FHintWnd, kHintShowTimer);
  FHintPending = hc;
  FHintForm = hc ? Form : nullptr;
  FHintPos = FormPos;
  if (hc && FShowHint) StartTimer(FHintWnd, kHintShowTimer, FHintPause);
}

void TApplication::HintTimer(TMessage& Message) {
  if (Message.Msg != WM_TIMER) return;
  StopTimer(FHintWnd, Message.WParam);
  if (Message.WParam == kHintHideTimer) {
    HideHint();
    return;
  }
  if (!FHintPending || !FHintForm || !FShowHint) return;
  std::string text = FHintPending->GetHint();
  text = text.substr(0, text.find('|'));  // the short part
  if (text.empty()) return;
  TCanvas measure;
  int w = measure.TextWidth(text) + 8;
  int h = measure.TextHeight(text) + 4;
  int fw = FHintForm->GetWidth(), fh = FHintForm->GetHeight();
  int x = std::max(0, std::min(FHintPos.X, fw - w));
  int y = FHintPos.Y + 20;
  if (y + h > fh) y = std::max(0, FHintPos.Y - h - 4);
  FHintRect = Bounds(x, y, w, h);
  FHintControl = FHintPending;
  FHintForm->InvalidateFormRect(FHintRect);
  if (FHintHidePause > 0) StartTimer(FHintWnd, kHintHideTimer, FHintHidePause);
}

void TApplication::HideHint() {
  StopTimer(FHintWnd, kHintHideTimer);
  if (FHintControl && FHintForm) FHintForm->InvalidateFormRect(FHintRect);
  FHintControl = nullptr;
  FHintRect = {};
}

void TApplication::CancelHint() {
  StopTimer(FHintWnd, kHintShowTimer);
  HideHint();
}

void TApplication::HintCancelFor(TControl* Control) {
  auto within = [Control](const TControl* c) {
    for (; c; c = c->GetParent())
      if (c == Control) return true;
    return false;
  };
  if (FHintForm == Control || within(FHintPending) || within(FHintControl)) {
    CancelHint();
    FHintPending = nullptr;
    FHintForm = nullptr;
  }
}

void TApplication::PaintHint(TForm* Form, TCanvas* Canvas) {
  if (!FHintControl || Form != FHintForm) return;
  std::string text = FHintControl->GetHint();
  text = text.substr(0, text.find('|'));
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clInfoBk);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetColor(clBlack);
  Canvas->Rectangle(FHintRect);
  Canvas->Font()->SetColor(clInfoText);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->TextOut(FHintRect.Left + 4, FHintRect.Top + 2, text);
}

void TApplication::Beep(unsigned Type) { FBackend->Beep(Type); }

// ---------------------------------------------------------------- window-system calls

HWND AllocateHWnd(TWndMethod Method) { return Application->NewHandle(nullptr, std::move(Method)); }

void DeallocateHWnd(HWND Wnd) {
  if (Wnd && Wnd != Application->FHintWnd) {
    auto it = Application->FWindows.find(Wnd);
    if (it != Application->FWindows.end() && !it->second.Control) Application->FreeHandle(Wnd);
  }
}

uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse) {
  if (Application->FTimersFail) return 0;
  return Application->StartTimer(Wnd, IDEvent, Elapse);
}

bool KillTimer(HWND Wnd, uintptr_t IDEvent) { return Application->StopTimer(Wnd, IDEvent); }

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  return Application->Deliver(Wnd, m);
}

bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!Application->FWindows.count(Wnd)) return false;
  Application->FPostedMsgs.push_back({Msg, WParam, LParam, 0});
  Application->FPostedWnds.push_back(Wnd);
  return true;
}

bool MessageBeep(unsigned Type) {
  Application->Beep(Type);
  return true;
}

int64_t GetTickCount() { return Application->GetTickCount(); }

TPoint GetCursorPos() { return Application->CursorPos(); }

// ---------------------------------------------------------------- clipboard

TClipboard* Clipboard() { return Application->GetClipboard(); }

std::string TClipboard::GetAsText() const {
  TBackend* b = Application->Backend();
  return b->ClipboardHasText() ? b->GetClipboardText() : std::string();
}

void TClipboard::SetAsText(const std::string& Value) {
  Application->Backend()->SetClipboardText(Value);
}

void TClipboard::SetTextBuf(const char* Buffer) {
  SetAsText(Buffer ? std::string(Buffer) : std::string());
}

int TClipboard::GetTextBuf(char* Buffer, int BufSize) const {
  if (!Buffer || BufSize <= 0) return 0;
  std::string s = GetAsText();
  size_t n = std::min(s.size(), static_cast<size_t>(BufSize - 1));
  // Never cut a multi-byte sequence: step back over continuation bytes.
  if (n < s.size())
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  std::copy(s.begin(), s.begin() + static_cast<ptrdiff_t>(n), Buffer);
  Buffer[n] = '\0';
  return static_cast<int>(n);
}

bool TClipboard::HasFormat(unsigned Format) const {
  if (Format == CF_TEXT || Format == CF_UNICODETEXT)
    return Application->Backend()->ClipboardHasText();
  return false;
}

void TClipboard::Clear() { Application->Backend()->ClearClipboard(); }

}  // namespace qel

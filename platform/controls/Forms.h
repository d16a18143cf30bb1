#pragma once
// Forms, the screen and the application with its services: the clock and window timers,
// private message windows, the clipboard, beeps, the screen cursor, exception handling, hints
// and modal forms.
//
// Where the code lives: Form.cpp (forms, input routing), Application.cpp (the loop, timers,
// private windows, services), docs/controls.md describes the design.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"

namespace qel {

class TBackend;
class TApplication;
class TScreen;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

enum TPosition : uint8_t {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TFormState : uint8_t { fsCreating, fsVisible, fsShowing, fsModal, fsActivated };

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
// A key went down in the form: setting Handled makes it a shortcut the form consumed.
using TShortCutEvent =
    std::function<void(TObject* Sender, uint16_t Key, TShiftState Shift, bool& Handled)>;

// ---------------------------------------------------------------- TForm

// A top-level window. It owns the surface its controls paint on, keeps the dirty region, and
// routes the input the backend (or a test) gives it: hit testing, capture, double clicks,
// enter/leave, focus and keys. A form has no non-client area of its own: borders and caption
// are the native window's, so the client area is the whole form.
class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;
  std::string ClassName() const override { return "TForm"; }

  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  // The least size the window may be resized to (0 for none); bounds below it are raised to it.
  TSize GetMinSize() const { return FMinSize; }
  void SetMinSize(TSize Value);
  bool GetKeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  // Focuses AControl when the form is active; otherwise remembers it for activation. Raises
  // EInvalidOperation "Cannot focus a disabled or invisible window" for a control that cannot
  // take the focus while the form is shown.
  void SetActiveControl(TWinControl* AControl);
  // The control that has the keyboard focus within this form (the form itself when none).
  TWinControl* FocusedControl() const;

  void Show();
  void Hide();
  // Runs the form modally until ModalResult is set; returns it. Under a backend without a
  // real event loop the application's modal hook runs instead; without a hook the result is
  // mrCancel (so nothing hangs).
  TModalResult ShowModal();
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  bool Modal() const { return FModal; }
  // OnCloseQuery, then OnClose; hides (caHide), frees later (caFree) or does nothing (caNone).
  // A modal form gets ModalResult mrCancel; closing the main form terminates the application.
  void Close();
  bool CloseQuery();
  // Destroys the form once the current message is done (safe from its own event handlers).
  void Release();
  bool Active() const;

  // The surface the form and its controls paint on (client size), and the form's own canvas.
  TBitmap* Surface() const { return FSurface.get(); }
  TCanvas* Canvas() const;
  TNotifyEvent OnPaint;
  // Marks R (form coordinates) as drawn outside painting, to be presented.
  void PresentRect(const TRect& R);
  // Marks R (form coordinates) for repainting.
  void InvalidateFormRect(const TRect& R);
  const std::vector<TRect>& DirtyRects() const { return FDirty; }
  // Repaints the dirty region (parent first, then children, only where dirty) and presents it.
  void PaintDirty();

  // ---- native input, in form client coordinates (the backend and the test helper call these)
  void InputMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  void InputMouseMove(TShiftState Shift, int X, int Y);
  void InputMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // The wheel goes to the control under the pointer, bubbling to its parents until one
  // handles it; Delta is in WHEEL_DELTA units (positive away from the user).
  void InputMouseWheel(int Delta, TShiftState Shift, int X, int Y);
  // The pointer left the form: the hovered control gets CM_MOUSELEAVE.
  void InputMouseLeave();
  // A key went down. Returns true when it was consumed (a shortcut, a dialog key, a control's
  // CN_KEYDOWN handling, an Alt accelerator, a context-menu key); the character it would type
  // must then not be delivered. The order is in docs/controls.md ("Shortcuts and accelerators").
  bool InputKeyDown(uint16_t Key, TShiftState Shift);
  void InputKeyUp(uint16_t Key, TShiftState Shift);
  // One typed character (a Unicode code point) for the focused control.
  void InputChar(char32_t Ch, TShiftState Shift = {});
  // The native window was resized / moved / asked to close.
  void NativeResized(int AWidth, int AHeight);
  void NativeMoved(int ALeft, int ATop);
  void NativeCloseRequest() { Close(); }
  // The window got / lost the keyboard focus of the system. Losing it deactivates the form
  // (OnDeactivate): the capture control gets WM_CANCELMODE, drop-downs and menus close, the
  // focused control gets WM_KILLFOCUS and is given the focus back when the window returns.
  void NativeActivated();
  void NativeDeactivated();

  // Offers a key as a shortcut: OnShortCut first, then the PopupMenu of the focused control and
  // of each parent up to the form (Application->OnMenuShortCut asks a menu). True when taken.
  virtual bool IsShortCut(uint16_t Key, TShiftState Shift);
  TShortCutEvent OnShortCut;

  TControl* HoverControl() const { return FHover; }
  TControl* CaptureControl() const { return FCapture; }
  void SetCaptureControl(TControl* AControl);

  TNotifyEvent OnCreate;  // fired by the owner-side creation helpers and form loaders
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TCanvas* GetControlCanvas() const override { return FCanvas.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void DoShow();
  virtual void DoHide();
  // Sees every press of a mouse button before the control under the pointer (Hit) gets it, for
  // a form that watches its controls (a designer selecting what is clicked); Hit may be the form.
  virtual void PreviewMouseDown(TControl* Hit) { (void)Hit; }
  void Paint() override;
  void CNKeyDown(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  void WMNextDlgCtl(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;

 private:
  friend class TControl;
  friend class TWinControl;
  friend class TApplication;
  // Drops capture, hover, click and focus references into AControl's tree; when the control is
  // only hidden or disabled (not Removing) the focus leaves it with the usual exit messages.
  void ForgetControl(TControl* AControl, bool Removing = true);
  void FocusChange(TWinControl* NewFocus);
  void ResizeSurface();
  bool KeyDownRouted(uint16_t Key, TShiftState Shift);
  void SetHover(TControl* AControl, TShiftState Shift);
  // Makes this the active form; Target (when given) takes the focus, else the remembered or the
  // first focusable control.
  void Activate(TWinControl* Target = nullptr);
  void Deactivate();

  TFormBorderStyle FBorderStyle = bsSizeable;
  TPosition FPosition = poDesigned;
  bool FKeyPreview = false;
  TWinControl* FActiveControl = nullptr;  // the focused control while the form is active
  TModalResult FModalResult = mrNone;
  bool FModal = false;
  TForm* FModalReturn = nullptr;  // the form active when ShowModal began: it takes over again
  bool FShown = false;
  bool FActive = false;
  bool FNativeCreated = false;
  bool FFromNative = false;  // bounds reported by the native window
  TSize FMinSize{0, 0};
  std::unique_ptr<TBitmap> FSurface;
  std::unique_ptr<TCanvas> FCanvas;
  std::vector<TRect> FDirty;
  std::vector<TRect> FPresent;
  TControl* FCapture = nullptr;
  TControl* FHover = nullptr;
  TWinControl* FFocusFrom = nullptr;  // the control losing the focus while it moves
  // Double-click detection: the last button press.
  TControl* FLastDownControl = nullptr;
  TMouseButton FLastDownButton = mbLeft;
  TPoint FLastDownPos;
  int64_t FLastDownTime = -1000000;
  bool FLastWasDouble = false;
  TShiftState FButtons;  // buttons held, for the shift state of moves
};

// ---------------------------------------------------------------- TScreen

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;
  std::string ClassName() const override { return "TScreen"; }

  // The application-wide cursor: crDefault lets each control's Cursor show.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // What is shown now: Screen->Cursor when not crDefault, else the hovered control's cursor.
  TCursor EffectiveCursor() const;

  int FormCount() const { return static_cast<int>(FForms.size()); }
  TForm* Forms(int Index) const;  // raises EListError out of range
  TForm* GetActiveForm() const { return FActiveForm; }
  TWinControl* GetActiveControl() const;
  int GetWidth() const;
  int GetHeight() const;
  int GetPixelsPerInch() const { return kScreenPixelsPerInch; }
  void UpdateCursor();

 private:
  friend class TForm;
  friend class TApplication;
  std::vector<TForm*> FForms;
  TForm* FActiveForm = nullptr;
  TCursor FCursor = crDefault;
  TCursor FShownCursor = crDefault;
};

// ---------------------------------------------------------------- TClipboard

class TClipboard : public TPersistent {
 public:
  std::string ClassName() const override { return "TClipboard"; }
  std::string GetAsText() const;
  void SetAsText(const std::string& Value);
  // The classic buffer calls: SetTextBuf copies a C string in; GetTextBuf copies at most
  // BufSize - 1 bytes out (whole UTF-8 sequences only), zero-terminated; returns the length.
  void SetTextBuf(const char* Buffer);
  int GetTextBuf(char* Buffer, int BufSize) const;
  bool HasFormat(unsigned Format) const;  // CF_TEXT and CF_UNICODETEXT: text present
  void Clear();
};
// The application's clipboard.
TClipboard* Clipboard();

// ---------------------------------------------------------------- TApplication

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;
  std::string ClassName() const override { return "TApplication"; }

  // Chooses the backend named by the environment variable QEL_BACKEND ("headless" when unset).
  // Raises Exception "Unknown backend \"name\"" for a name no backend registered.
  void Initialize();
  TBackend* Backend() const { return FBackend.get(); }
  // Replaces the backend (forms keep their surfaces; native windows are created anew).
  void SetBackend(std::unique_ptr<TBackend> Backend);

  // Creates a form owned by the application; the first becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = new T(this);
    if (!FMainForm) FMainForm = Reference;
    if (Reference->OnCreate) Reference->OnCreate(Reference);
  }
  TForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TForm* Value) { FMainForm = Value; }

  // Shows the main form and runs the event loop until Terminate (or the main form closes).
  // Under a backend without real events (headless) it processes what is pending and returns.
  void Run();
  // Delivers pending native events, posted messages, due timers and repaints dirty forms.
  void ProcessMessages();
  // One turn of the loop: waits for something to happen (real backends) and processes it.
  void HandleMessage();
  void Terminate() { FTerminated = true; }
  bool Terminated() const { return FTerminated; }

  // Call from a catch block: EAbort is silent; otherwise OnException when set, else
  // ShowException. Never lets an exception out.
  void HandleException(TObject* Sender);
  // Shows the message in OnShowError's dialog (the backend logs it too) or, without one, in the
  // backend's native box (headless records it). An error raised while the dialog is showing
  // it is only logged: a validating control losing the focus to the dialog must not stack
  // dialogs without end.
  void ShowException(const std::exception& E);
  TExceptionEvent OnException;
  // Shows an error modally in the application's own dialog; set by the widgets layer, which
  // owns dialogs (InstallErrorDialogHook). Unset, the backend's native box shows it.
  std::function<void(const std::string& Message)> OnShowError;

  // ---- the clock and window timers
  // Milliseconds since start: virtual time under headless, the backend's clock otherwise.
  int64_t GetTickCount() const;
  // Virtual time: moves the clock by Ms, delivering every due WM_TIMER in time order (timers
  // due at the same moment in the order they were set); periodic timers re-arm from their due
  // time. Then processes messages. Has no effect on a real-time backend's clock.
  void AdvanceTime(int64_t Ms);
  // Makes every SetTimer fail (returns 0) while set, to exercise "no timer available".
  void SetTimersFail(bool Value) { FTimersFail = Value; }
  bool GetTimersFail() const { return FTimersFail; }
  int TimerCount() const { return static_cast<int>(FTimers.size()); }
  // Milliseconds until the next timer is due (-1 when none); for event-loop waits.
  int64_t NextTimerDelay() const;

  // ---- hints
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  int GetHintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value < 0 ? 0 : Value; }
  int GetHintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value < 0 ? 0 : Value; }
  const std::string& GetHint() const { return FHint; }
  TNotifyEvent OnHint;
  // The control whose hint is shown now (nullptr when none) and where (form coordinates).
  TControl* HintControl() const { return FHintControl; }
  TRect HintRect() const { return FHintRect; }
  void CancelHint();

  // ---- modal forms
  // Runs when a form is shown modally; it may fill the form and set ModalResult (or press a
  // button). When set it is used under every backend.
  std::function<void(TForm* Form)> OnModalShow;
  TForm* ModalForm() const { return FModalStack.empty() ? nullptr : FModalStack.back(); }

  // ---- services the backend makes real
  void Beep(unsigned Type);
  std::string Title;
  TClipboard* GetClipboard() const { return FClipboard.get(); }
  // The pointer position in screen coordinates as the last input left it.
  TPoint CursorPos() const { return FCursorPos; }
  void SetCursorPos(TPoint P) { FCursorPos = P; }
  // Opens a control's popup menu (right click); set by the widgets layer, which owns menus.
  std::function<void(TPopupMenu* Menu, TControl* Control, TPoint ScreenPos)> OnPopupMenu;
  // Whether Menu takes the key as one of its items' shortcuts (and clicked the item); set by the
  // widgets layer with OnPopupMenu.
  std::function<bool(TPopupMenu* Menu, uint16_t Key, TShiftState Shift)> OnMenuShortCut;

  // Puts the services back to a fresh start under Backend (tests): virtual clock 0, no timers,
  // private windows or posted messages, hooks and handlers unset, timers working, hints off
  // screen, forms owned by the application destroyed, Screen->Cursor crDefault.
  void ResetServices(std::unique_ptr<TBackend> Backend);

  // Internal: the hint machinery and the forms call these.
  void HintMouseMove(TForm* Form, TControl* Control, TPoint FormPos);
  void HintCancelFor(TControl* Control);
  void PaintHint(TForm* Form, TCanvas* Canvas);

 private:
  friend class TForm;
  friend HWND AllocateHWnd(TWndMethod Method);
  friend void DeallocateHWnd(HWND Wnd);
  friend uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse);
  friend bool KillTimer(HWND Wnd, uintptr_t IDEvent);
  friend LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  friend bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  friend class TWinControl;

  struct TTimer {
    HWND Wnd;
    uintptr_t Id;
    int64_t Interval;
    int64_t Due;
    uint64_t Seq;
  };
  struct TWindowTarget {
    TWinControl* Control = nullptr;
    TWndMethod Method;
  };

  uintptr_t StartTimer(HWND Wnd, uintptr_t Id, int64_t Ms);
  bool StopTimer(HWND Wnd, uintptr_t Id);
  void HideHint();
  HWND NewHandle(TWinControl* Control, TWndMethod Method);
  void FreeHandle(HWND Wnd);
  LRESULT Deliver(HWND Wnd, TMessage& Message);
  void DeliverTimer(HWND Wnd, uintptr_t Id);
  void FireDueTimers(int64_t Now);
  void ProcessPosted();
  void ProcessReleases();
  void PaintForms();
  void HintTimer(TMessage& Message);

  std::unique_ptr<TBackend> FBackend;
  std::unique_ptr<TClipboard> FClipboard;
  TPoint FCursorPos;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FTimersFail = false;
  int64_t FVirtualNow = 0;
  uint64_t FTimerSeq = 0;
  HWND FNextHandle = 1;
  std::map<HWND, TWindowTarget> FWindows;
  std::vector<TTimer> FTimers;
  std::vector<TMessage> FPostedMsgs;
  std::vector<HWND> FPostedWnds;
  std::vector<TForm*> FReleased;
  std::vector<TForm*> FModalStack;
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  std::string FHint;
  HWND FHintWnd = 0;
  TForm* FHintForm = nullptr;
  TControl* FHintPending = nullptr;
  TControl* FHintControl = nullptr;
  TPoint FHintPos;
  TRect FHintRect;
};

// The application and the screen: created on first use of the library, destroyed at exit.
extern TApplication* Application;
extern TScreen* Screen;

// ---------------------------------------------------------------- window-system calls

// A private message window: messages sent or posted to the handle, and WM_TIMER of its timers,
// go to Method. DeallocateHWnd kills its timers and drops its posted messages.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
// Starts (or restarts, with a fresh period) timer IDEvent of Wnd; returns IDEvent, or 0 when
// the timer cannot be created (unknown window, timers switched to fail). Elapse below 1 is 1.
uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse);
bool KillTimer(HWND Wnd, uintptr_t IDEvent);
// The classic four-argument spelling; timer callbacks are not supported, WM_TIMER is.
inline uintptr_t SetTimer(HWND Wnd, uintptr_t IDEvent, unsigned Elapse, std::nullptr_t) {
  return SetTimer(Wnd, IDEvent, Elapse);
}
// The default answer to a message nobody handles: 0.
LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT DefWindowProcA(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}
// Delivers at once (SendMessage) or on the next ProcessMessages (PostMessage); false/0 for an
// unknown window.
LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
bool PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
bool MessageBeep(unsigned Type);
int64_t GetTickCount();
// The pointer position in screen coordinates (as the last input event left it).
TPoint GetCursorPos();

}  // namespace qel

#pragma once
// What a backend gives the application: native windows for top-level forms, presenting the
// painted surface, the clipboard, the cursor, beeps, the clock, and native events. The headless
// backend (platform/backends/headless) keeps everything in memory and runs a virtual clock; the
// SDL backend makes it real.
//
// Contract: the application calls these on the UI thread only. A backend delivers native input
// by calling the form's Input* methods (TForm::InputMouseDown, InputKeyDown, InputChar, ...)
// and window changes by NativeResized/NativeMoved/NativeCloseRequest/NativeActivated, from
// PumpEvents.
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/controls/Controls.h"

namespace qel {

class TForm;

class TBackend {
 public:
  virtual ~TBackend() = default;
  virtual std::string Name() const = 0;

  // ---- time
  // True when time passes by itself (a wall clock); false for a virtual clock that only
  // Application->AdvanceTime moves.
  virtual bool RealTime() const = 0;
  // Milliseconds of the backend's clock (used only when RealTime).
  virtual int64_t TickCount() = 0;
  // Waits until a native event arrives or TimeoutMs passes (-1: no limit); true when events
  // are pending. A backend without events returns false at once.
  virtual bool WaitForEvents(int TimeoutMs) = 0;
  // Delivers the pending native events to the forms.
  virtual void PumpEvents() = 0;

  // ---- native windows of top-level forms
  virtual void CreateNativeWindow(TForm* Form) = 0;
  virtual void DestroyNativeWindow(TForm* Form) = 0;
  virtual void ShowNativeWindow(TForm* Form, bool Visible) = 0;
  // Bounds in screen coordinates (the client area) and caption.
  virtual void SetNativeBounds(TForm* Form, const TRect& Bounds) = 0;
  virtual void SetNativeCaption(TForm* Form, const std::string& Caption) = 0;
  // The least size the user may resize the window to (a hint to the window manager).
  virtual void SetNativeMinSize(TForm* Form, TSize Size) {
    (void)Form;
    (void)Size;
  }
  // Gives the form's window the keyboard focus. Called when the program itself passes the
  // activation on (a modal dialog ended): without a window manager, or with one that does not
  // know the dialog belonged to us, the keys would otherwise go nowhere until the user clicks.
  virtual void ActivateNativeWindow(TForm* Form) { (void)Form; }
  // Copies the rectangles (form coordinates) of the form's surface to the screen.
  virtual void Present(TForm* Form, const TBitmap& Surface, std::span<const TRect> Rects) = 0;

  // ---- services
  virtual bool ClipboardHasText() = 0;
  virtual std::string GetClipboardText() = 0;
  virtual void SetClipboardText(const std::string& Text) = 0;
  virtual void ClearClipboard() = 0;
  virtual void SetCursor(TCursor Cursor) = 0;
  virtual void Beep(unsigned Type) = 0;
  // Shows an error message that reached the application's exception handler (the native box,
  // used only when no dialog of our own is installed; see TApplication::OnShowError).
  virtual void ShowError(const std::string& Message) = 0;
  // Keeps a record of an error the application shows in its own dialog (a log line, or the
  // headless list), so unattended runs still see it.
  virtual void LogError(const std::string& Message) { (void)Message; }
  virtual TSize ScreenSize() = 0;
};

using TBackendFactory = std::function<std::unique_ptr<TBackend>()>;
// Makes a backend selectable by name (QEL_BACKEND). "headless" is always registered.
void RegisterBackend(const std::string& Name, TBackendFactory Factory);
// A new backend of that name, or nullptr when none is registered under it.
std::unique_ptr<TBackend> CreateBackend(const std::string& Name);
// The backend every application starts with and falls back to: the in-memory one. Defined by
// the headless backend (platform/backends/headless), so the control layer names no backend.
std::unique_ptr<TBackend> CreateDefaultBackend();

}  // namespace qel

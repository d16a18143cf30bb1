#pragma once
// The headless backend: in-memory surfaces and clipboard, a virtual clock, no native events.
// It records what a real backend would show (beeps, presented rectangles, cursors, error
// messages) so tests can read it. THeadlessInput drives a form as a user would.
#include <string>
#include <vector>

#include "platform/controls/Backend.h"
#include "platform/controls/Forms.h"

namespace qel {

class THeadlessBackend : public TBackend {
 public:
  std::string Name() const override { return "headless"; }
  bool RealTime() const override { return false; }
  int64_t TickCount() override { return 0; }
  bool WaitForEvents(int) override { return false; }
  void PumpEvents() override {}

  void CreateNativeWindow(TForm* Form) override;
  void DestroyNativeWindow(TForm* Form) override;
  void ShowNativeWindow(TForm* Form, bool Visible) override;
  void SetNativeBounds(TForm*, const TRect&) override {}
  void SetNativeCaption(TForm*, const std::string&) override {}
  void ActivateNativeWindow(TForm* Form) override { Activated.push_back(Form); }
  void Present(TForm* Form, const TBitmap& Surface, std::span<const TRect> Rects) override;

  bool ClipboardHasText() override { return FHasText; }
  std::string GetClipboardText() override { return FClipText; }
  void SetClipboardText(const std::string& Text) override;
  void ClearClipboard() override;
  void SetCursor(TCursor Cursor) override { Cursors.push_back(Cursor); }
  void Beep(unsigned Type) override { Beeps.push_back(Type); }
  void ShowError(const std::string& Message) override { Errors.push_back(Message); }
  void LogError(const std::string& Message) override { Errors.push_back(Message); }
  TSize ScreenSize() override { return {1280, 1024}; }

  // What happened, for tests.
  std::vector<unsigned> Beeps;      // MessageBeep types in order
  std::vector<TCursor> Cursors;     // cursors set, in order
  std::vector<std::string> Errors;  // messages of unhandled exceptions
  struct TPresent {
    TForm* Form;
    TRect Rect;
  };
  std::vector<TPresent> Presented;    // rectangles presented, in order
  std::vector<TForm*> NativeWindows;  // forms that have a native window now
  std::vector<TForm*> Activated;      // windows given the keyboard focus by the program, in order
  void ClearRecords();

 private:
  std::string FClipText;
  bool FHasText = false;
};

// The headless backend of the application, or nullptr when another backend runs.
THeadlessBackend* HeadlessBackend();

// Puts the application services back to a fresh start: virtual clock 0, no timers or posted
// messages, clipboard empty, records cleared, modal hook and exception handler unset, timers
// working, Screen->Cursor crDefault, a new headless backend. Forms owned by the application
// are destroyed. Tests call it in their set-up.
void ResetHeadlessApplication();

// Drives a form as a user would, through the same routing a backend uses. Coordinates are
// form client coordinates; each call processes messages afterwards (so repaints and posted
// messages happen), without moving the virtual clock. Driving a form that is not shown raises
// EInvalidOperation. Exceptions from event handlers go to Application->HandleException, as
// with real input (headless: recorded in THeadlessBackend::Errors).
class THeadlessInput {
 public:
  explicit THeadlessInput(TForm* Form) : FForm(Form) {}
  TForm* Form() const { return FForm; }

  void MouseMove(int X, int Y, TShiftState Shift = {});
  void MouseDown(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
  void MouseUp(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
  // Move, press, release at one point.
  void Click(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
  // Two clicks at one point without time passing in between (a double click).
  void DoubleClick(int X, int Y, TShiftState Shift = {});
  // Press at From, move in Steps steps to To, release there.
  void Drag(TPoint From, TPoint To, TMouseButton Button = mbLeft, TShiftState Shift = {},
            int Steps = 4);
  // Wheel turned by Delta (WHEEL_DELTA = one notch away from the user) with the pointer at the
  // last mouse position.
  void Wheel(int Delta, TShiftState Shift = {});
  void WheelAt(int X, int Y, int Delta, TShiftState Shift = {});
  void Leave();
  // The window loses the system's keyboard focus (the user switched to another application)
  // and gets it back, as a backend reports them: NativeDeactivated / NativeActivated.
  void SwitchAway();
  void SwitchBack();

  // A key press and release. Shift keys in Shift are pressed around it (their own key-down
  // and key-up messages are sent, as a keyboard does). The character the key types (US layout)
  // follows the key-down unless the key was consumed as a dialog key.
  void PressKey(uint16_t Key, TShiftState Shift = {});
  void KeyDown(uint16_t Key, TShiftState Shift = {});
  void KeyUp(uint16_t Key, TShiftState Shift = {});
  // Types UTF-8 text: characters a US keyboard has go through their key (down, char, up);
  // any other code point arrives as a character alone, as an input method delivers it.
  void TypeText(const std::string& Utf8);
  TPoint LastMousePos() const { return FPos; }

 private:
  void Settle();
  void Check() const;  // the form must be shown to take input
  TForm* FForm;
  TPoint FPos;
  TShiftState FButtons;
};

}  // namespace qel

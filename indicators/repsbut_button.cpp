// TRepSpeedButton: the repeat timer on a private window, started by a left press and ended by
// anything that ends the press.
#include <algorithm>

#include "indicators/QEL_repsbut.h"
#include "indicators/repsbut_timer.h"

namespace qel {

TRepSpeedButton::TRepSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {
  FTimer = std::make_unique<TRepeatTimer>(
      this, [this] { DoTimer(); },
      [this] { throw EQELRepSpeedButton(ComponentMessage(GetName(), kNoTimerAvailable)); });
}

TRepSpeedButton::~TRepSpeedButton() = default;  // the timer ends with its window

void TRepSpeedButton::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TRepSpeedButton*>(Source);
  if (!s) {
    TSpeedButton::Assign(Source);
    return;
  }
  FStartClickInterval = s->FStartClickInterval;
  FRepeatClickInterval = s->FRepeatClickInterval;
}

void TRepSpeedButton::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRepSpeedButton*>(Dest))
    d->Assign(this);
  else
    TSpeedButton::AssignTo(Dest);
}

// ---------------------------------------------------------------- properties

void TRepSpeedButton::SetStartIv(int Value) {
  Value = std::max(10, Value);
  if (Value == FStartClickInterval) return;
  FStartClickInterval = Value;
  if (!IsDesigning()) InitTimer();
}

void TRepSpeedButton::SetRepClickIv(int Value) {
  Value = std::max(10, Value);
  if (Value == FRepeatClickInterval) return;
  FRepeatClickInterval = Value;
  if (!IsDesigning()) UpdateTimer();
}

void TRepSpeedButton::SetOnRepeatClick(TNotifyEvent Value) {
  FOnRepeatClick = std::move(Value);
  if (!IsDesigning()) UpdateTimer();
}

// ---------------------------------------------------------------- timer

void TRepSpeedButton::InitTimer() { FTimer->Start(FStartClickInterval, FPressed); }

void TRepSpeedButton::UpdateTimer() { FTimer->Repeat(FRepeatClickInterval, FPressed); }

bool TRepSpeedButton::TimerRunning() const { return FTimer->Running(); }

void TRepSpeedButton::DoTimer() {
  if (!FPressed) return;  // a tick already queued when the press ended
  if (FTimer->FirstTick()) UpdateTimer();
  RepeatClickEvent();
  if (FOnRepeatClick) FOnRepeatClick(this);
}

void TRepSpeedButton::StopRepeat() {
  if (!FPressed && !FTimer->Running()) return;
  FPressed = false;
  UpdateTimer();  // not pressed: only kills the timer
}

// ---------------------------------------------------------------- mouse and messages

void TRepSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TSpeedButton::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled() || IsDesigning()) return;
  FPressed = true;
  InitTimer();
}

void TRepSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The repeat ends before the release's own click runs.
  if (Button == mbLeft) StopRepeat();
  TSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TRepSpeedButton::CMMouseLeave(TMessage& Message) {
  TSpeedButton::CMMouseLeave(Message);
  // Leaving ends the repeat as a release would, but is not a release: no click comes of it.
  StopRepeat();
}

void TRepSpeedButton::CMEnabledChanged(TMessage& Message) {
  StopRepeat();
  TSpeedButton::CMEnabledChanged(Message);
}

void TRepSpeedButton::WMCancelMode(TMessage& Message) {
  StopRepeat();  // the window lost the focus
  TSpeedButton::WMCancelMode(Message);
}

void TRepSpeedButton::WndProc(TMessage& Message) {
  // Without the capture the release may never reach the button; hidden, it cannot be held.
  if (Message.Msg == WM_CAPTURECHANGED || Message.Msg == CM_VISIBLECHANGED) StopRepeat();
  TSpeedButton::WndProc(Message);
}

}  // namespace qel

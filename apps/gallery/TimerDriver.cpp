#include "apps/gallery/TimerDriver.h"

#include <algorithm>

#include "apps/gallery/DemoControls.h"
#include "platform/controls/Properties.h"

namespace qel {

TTimerDriver::TTimerDriver(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 300, 24);
  FWnd = AllocateHWnd([this](TMessage& M) {
    if (M.Msg == WM_TIMER) Tick();
  });
}

TTimerDriver::~TTimerDriver() {
  SetTarget(nullptr);
  DeallocateHWnd(FWnd);
}

void TTimerDriver::UpdateTimer() {
  KillTimer(FWnd, 1);
  if (!FRunning || !FTarget || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDesigning))
    return;
  if (SetTimer(FWnd, 1, static_cast<unsigned>(FInterval)) == 0)
    throw EComponentError("Component \"" + GetName() + "\": no timer available");
}

void TTimerDriver::Loaded() {
  TGraphicControl::Loaded();
  UpdateTimer();
}

void TTimerDriver::SetTarget(TComponent* Value) {
  if (Value == FTarget) return;
  if (FTarget) FTarget->RemoveFreeNotification(this);
  FTarget = Value;
  if (FTarget) FTarget->FreeNotification(this);
  UpdateTimer();
  Invalidate();
}

void TTimerDriver::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTarget) {
    FTarget = nullptr;
    KillTimer(FWnd, 1);
  }
}

void TTimerDriver::SetRunning(bool Value) {
  if (Value == FRunning) return;
  FRunning = Value;
  UpdateTimer();
  Invalidate();
}

void TTimerDriver::SetInterval(int Value) {
  Value = std::max(10, Value);
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimerDriver::Paint() {
  PaintStatusLine(Canvas(), GetClientRect(), GetFont(), StatusText());
}

void TTimerDriver::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) SetRunning(!FRunning);
}

void RegisterTimerDriverClass() {
  RegisterPlatformClasses();
  RegisterClass<TTimerDriver>("TTimerDriver", "TGraphicControl")
      .Prop("Running", &TTimerDriver::GetRunning, &TTimerDriver::SetRunning, true)
      .Prop("Interval", &TTimerDriver::GetInterval, &TTimerDriver::SetInterval, 50);
}

}  // namespace qel

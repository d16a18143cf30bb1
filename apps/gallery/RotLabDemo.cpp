#include "apps/gallery/RotLabDemo.h"

#include <algorithm>

#include "platform/controls/Properties.h"

namespace qel {

TRotLabDriver::TRotLabDriver(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 300, 24);
  FWnd = AllocateHWnd([this](TMessage& M) {
    if (M.Msg == WM_TIMER) Tick();
  });
}

TRotLabDriver::~TRotLabDriver() {
  SetLabel(nullptr);
  DeallocateHWnd(FWnd);
}

void TRotLabDriver::UpdateTimer() {
  KillTimer(FWnd, 1);
  if (!FRunning || !FLabel || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDesigning))
    return;
  if (SetTimer(FWnd, 1, static_cast<unsigned>(FInterval)) == 0)
    throw EComponentError("Component \"" + GetName() + "\": no timer available");
}

void TRotLabDriver::Loaded() {
  TGraphicControl::Loaded();
  UpdateTimer();
}

void TRotLabDriver::SetLabel(TRotLab* Value) {
  if (Value == FLabel) return;
  if (FLabel) FLabel->RemoveFreeNotification(this);
  FLabel = Value;
  if (FLabel) FLabel->FreeNotification(this);
  UpdateTimer();
  Invalidate();
}

void TRotLabDriver::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FLabel) {
    FLabel = nullptr;
    KillTimer(FWnd, 1);
  }
}

void TRotLabDriver::SetRunning(bool Value) {
  if (Value == FRunning) return;
  FRunning = Value;
  UpdateTimer();
  Invalidate();
}

void TRotLabDriver::SetInterval(int Value) {
  Value = std::max(10, Value);
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TRotLabDriver::SetStep(int Value) { FStep = std::clamp(Value, -90, 90); }

void TRotLabDriver::Tick() {
  if (!FLabel) return;
  FLabel->SetTextAngle(((FLabel->GetTextAngle() + FStep) % 360 + 360) % 360);
  Invalidate();
}

void TRotLabDriver::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(GetClientRect());
  c->Font()->Assign(GetFont());
  c->Brush()->SetStyle(bsClear);
  const std::string state = FLabel ? (FRunning ? "turning " : "paused (click to turn) ") +
                                         FLabel->GetName() + " at " +
                                         std::to_string(FLabel->GetTextAngle()) + " degrees"
                                   : std::string("no label");
  c->TextOut(4, (GetHeight() - c->TextHeight("0")) / 2, state);
}

void TRotLabDriver::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) SetRunning(!FRunning);
}

void RegisterRotLabDemoClasses() {
  RegisterRotLabClasses();
  RegisterClass<TRotLabDriver>("TRotLabDriver", "TGraphicControl")
      .Component<TRotLab>("Label", &TRotLabDriver::GetLabel, &TRotLabDriver::SetLabel)
      .Prop("Running", &TRotLabDriver::GetRunning, &TRotLabDriver::SetRunning, true)
      .Prop("Interval", &TRotLabDriver::GetInterval, &TRotLabDriver::SetInterval, 50)
      .Prop("Step", &TRotLabDriver::GetStep, &TRotLabDriver::SetStep, 3);
}

}  // namespace qel

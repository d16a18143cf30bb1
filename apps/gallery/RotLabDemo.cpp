#include "apps/gallery/RotLabDemo.h"

#include <algorithm>

#include "platform/controls/Properties.h"

namespace qel {

void TRotLabDriver::SetStep(int Value) { FStep = std::clamp(Value, -90, 90); }

void TRotLabDriver::Tick() {
  TRotLab* label = GetLabel();
  if (!label) return;
  label->SetTextAngle(((label->GetTextAngle() + FStep) % 360 + 360) % 360);
  Invalidate();
}

std::string TRotLabDriver::StatusText() const {
  TRotLab* label = GetLabel();
  if (!label) return "no label";
  return (GetRunning() ? "turning " : "paused (click to turn) ") + label->GetName() + " at " +
         std::to_string(label->GetTextAngle()) + " degrees";
}

void RegisterRotLabDemoClasses() {
  RegisterRotLabClasses();
  RegisterTimerDriverClass();
  RegisterClass<TRotLabDriver>("TRotLabDriver", "TTimerDriver")
      .Component<TRotLab>("Label", &TRotLabDriver::GetLabel, &TRotLabDriver::SetLabel)
      .Prop("Step", &TRotLabDriver::GetStep, &TRotLabDriver::SetStep, 3);
}

}  // namespace qel

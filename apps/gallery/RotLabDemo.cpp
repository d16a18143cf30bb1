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
  // Short enough for the bar at any angle: the label's name is on the inspector already.
  const std::string angle = std::to_string(label->GetTextAngle()) + " degrees";
  return GetRunning() ? "turning: " + angle + " (click to pause)"
                      : "paused at " + angle + " (click to turn)";
}

void RegisterRotLabDemoClasses() {
  RegisterRotLabClasses();
  RegisterTimerDriverClass();
  RegisterClass<TRotLabDriver>("TRotLabDriver", "TTimerDriver")
      .Component<TRotLab>("Label", &TRotLabDriver::GetLabel, &TRotLabDriver::SetLabel)
      .Prop("Step", &TRotLabDriver::GetStep, &TRotLabDriver::SetStep, 3);
}

}  // namespace qel

#pragma once
// The rotated-label page's helper: TRotLabDriver turns the TRotLab it names by Step degrees on
// every tick of a window timer; a click on the driver pauses or resumes it.
#include <string>

#include "apps/gallery/TimerDriver.h"
#include "displays/QEL_RotLab.h"

namespace qel {

class TRotLabDriver : public TTimerDriver {
 public:
  explicit TRotLabDriver(TComponent* AOwner) : TTimerDriver(AOwner) {}
  std::string ClassName() const override { return "TRotLabDriver"; }

  TRotLab* GetLabel() const { return dynamic_cast<TRotLab*>(Target()); }
  void SetLabel(TRotLab* Value) { SetTarget(Value); }
  int GetStep() const { return FStep; }
  void SetStep(int Value);  // degrees per tick, -90..90
  // One tick: the label turns by Step, kept within 0..359.
  void Tick() override;

 protected:
  std::string StatusText() const override;

 private:
  int FStep = 3;
};

// Registers the rotated label and TRotLabDriver. Idempotent.
void RegisterRotLabDemoClasses();

}  // namespace qel

#pragma once
// The meter page's helper: TMeterDriver sweeps the Value of the meter it names on a window
// timer, shows the value under the pointer (OnMouseMoveInMeter) and lets a click on any of the
// page's meters select it in the property panel, where Value and everything else can be typed.
// The meter named ImageMeter gets a background picture and a round knob over its pivot; the
// meter draws an anchor picture opaque, square corners and all, so the page leaves the anchor
// uncovered and draws the knob itself in OnMeterRendered with its corners transparent.
#include <memory>
#include <string>

#include "apps/gallery/TimerDriver.h"
#include "meter/QEL_Meter.h"

namespace qel {

class TMeterDriver : public TTimerDriver {
 public:
  explicit TMeterDriver(TComponent* AOwner) : TTimerDriver(AOwner) {}
  std::string ClassName() const override { return "TMeterDriver"; }

  TMeter* GetMeter() const { return dynamic_cast<TMeter*>(Target()); }
  void SetMeter(TMeter* Value) { SetTarget(Value); }
  double GetSpeed() const { return FSpeed; }
  void SetSpeed(double Value);  // per cent of the scale per tick, 0..50; NaN is ignored
  const std::string& Readout() const { return FReadout; }
  void Loaded() override;
  void Tick() override;
  // The knob drawn over ImageMeter's pivot (its bottom-left colour is transparent).
  const TBitmap* Knob() const { return FKnob.get(); }

 protected:
  std::string StatusText() const override;

 private:
  void HookMeters();

  std::unique_ptr<TBitmap> FKnob;
  double FSpeed = 1.5;
  double FPhase = 0;  // 0..2: up the scale, then down again
  std::string FReadout = "Move the pointer over a meter";
};

// Registers the meter classes and TMeterDriver. Idempotent.
void RegisterMeterDemoClasses();

}  // namespace qel

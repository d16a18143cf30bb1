#pragma once
// The meter page's helper: TMeterDriver sweeps the Value of the meter it names on a window
// timer, shows the value under the pointer (OnMouseMoveInMeter) and lets a click on any of the
// page's meters select it in the property panel, where Value and everything else can be typed.
#include <string>

#include "meter/QEL_Meter.h"
#include "platform/controls/Forms.h"

namespace qel {

class TMeterDriver : public TGraphicControl {
 public:
  explicit TMeterDriver(TComponent* AOwner);
  ~TMeterDriver() override;
  std::string ClassName() const override { return "TMeterDriver"; }

  TMeter* GetMeter() const { return FMeter; }
  void SetMeter(TMeter* Value);
  bool GetRunning() const { return FRunning; }
  void SetRunning(bool Value);
  int GetInterval() const { return FInterval; }
  void SetInterval(int Value);  // milliseconds, at least 10
  double GetSpeed() const { return FSpeed; }
  void SetSpeed(double Value);  // per cent of the scale per tick, 0..50; NaN is ignored
  const std::string& Readout() const { return FReadout; }
  void Loaded() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void UpdateTimer();
  void Tick();
  void HookMeters();

  HWND FWnd = 0;
  TMeter* FMeter = nullptr;
  bool FRunning = true;
  int FInterval = 50;
  double FSpeed = 1.5;
  double FPhase = 0;  // 0..2: up the scale, then down again
  std::string FReadout = "Move the pointer over a meter";
};

// Registers the meter classes and TMeterDriver. Idempotent.
void RegisterMeterDemoClasses();

}  // namespace qel

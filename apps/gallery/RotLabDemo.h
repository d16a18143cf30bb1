#pragma once
// The rotated-label page's helper: TRotLabDriver turns the TRotLab it names by Step degrees on
// every tick of a window timer; a click on the driver pauses or resumes it.
#include <string>

#include "displays/QEL_RotLab.h"
#include "platform/controls/Forms.h"

namespace qel {

class TRotLabDriver : public TGraphicControl {
 public:
  explicit TRotLabDriver(TComponent* AOwner);
  ~TRotLabDriver() override;
  std::string ClassName() const override { return "TRotLabDriver"; }

  TRotLab* GetLabel() const { return FLabel; }
  void SetLabel(TRotLab* Value);
  bool GetRunning() const { return FRunning; }
  void SetRunning(bool Value);
  int GetInterval() const { return FInterval; }
  void SetInterval(int Value);  // milliseconds, at least 10
  int GetStep() const { return FStep; }
  void SetStep(int Value);  // degrees per tick, -90..90
  void Loaded() override;
  // One tick: the label turns by Step, kept within 0..359.
  void Tick();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void UpdateTimer();

  HWND FWnd = 0;
  TRotLab* FLabel = nullptr;
  bool FRunning = true;
  int FInterval = 50;
  int FStep = 3;
};

// Registers the rotated label and TRotLabDriver. Idempotent.
void RegisterRotLabDemoClasses();

}  // namespace qel

#pragma once
// The plumbing the gallery's animated pages share: a bar that drives another component of the
// page on a window timer, shows a status line, and pauses or resumes on a click. A page-specific
// driver says what one tick does and what the bar reads.
#include <string>

#include "platform/controls/Forms.h"

namespace qel {

class TTimerDriver : public TGraphicControl {
 public:
  explicit TTimerDriver(TComponent* AOwner);
  ~TTimerDriver() override;
  std::string ClassName() const override { return "TTimerDriver"; }

  bool GetRunning() const { return FRunning; }
  void SetRunning(bool Value);
  int GetInterval() const { return FInterval; }
  void SetInterval(int Value);  // milliseconds, at least 10
  void Loaded() override;
  virtual void Tick() = 0;

 protected:
  // The driven component (told when it goes away); the timer runs only while there is one.
  TComponent* Target() const { return FTarget; }
  void SetTarget(TComponent* Value);
  virtual std::string StatusText() const = 0;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void UpdateTimer();

  HWND FWnd = 0;
  TComponent* FTarget = nullptr;
  bool FRunning = true;
  int FInterval = 50;
};

// Registers TTimerDriver's published properties (Running, Interval). Idempotent.
void RegisterTimerDriverClass();

}  // namespace qel

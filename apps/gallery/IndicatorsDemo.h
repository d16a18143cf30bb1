#pragma once
// The indicators page's helper: TIndicatorsDriver keeps the self-advancing progress bar it
// names going round (back to Min once past Max), counts the page's repeat buttons (PlusButton,
// MinusButton) into CountBar, shows both in a status line, pauses or resumes the bar on a
// click, and lets a click on any indicator select it in the property panel.
#include <string>

#include "indicators/QEL_ProgBar.h"
#include "platform/controls/Forms.h"

namespace qel {

class TIndicatorsDriver : public TGraphicControl {
 public:
  explicit TIndicatorsDriver(TComponent* AOwner);
  ~TIndicatorsDriver() override;
  std::string ClassName() const override { return "TIndicatorsDriver"; }

  TProgBar* GetBar() const { return FBar; }
  void SetBar(TProgBar* Value);
  int Count() const { return FCount; }
  int Repeats() const { return FRepeats; }
  void Loaded() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void HookPage(bool Hook);
  void Step(int By, bool Repeat);
  std::string StatusText() const;

  TProgBar* FBar = nullptr;
  int FCount = 0;
  int FRepeats = 0;
};

// Registers the indicator classes and TIndicatorsDriver. Idempotent.
void RegisterIndicatorsDemoClasses();

}  // namespace qel

#pragma once
// The calendar page's helper: TMiniCalReadout shows the date selected in the page's calendar
// that changed last, with its weekday and month in the calendar's language and its holiday name,
// and lets a click on any calendar select it in the property panel. It also gives the calendar
// named FrenchCal the holidays the page adds.
#include <string>

#include "minical/QEL_MiniCal.h"
#include "platform/controls/Forms.h"

namespace qel {

class TMiniCalReadout : public TGraphicControl {
 public:
  explicit TMiniCalReadout(TComponent* AOwner);
  ~TMiniCalReadout() override;
  std::string ClassName() const override { return "TMiniCalReadout"; }

  // The calendar the readout describes (nullptr: none); a change in any calendar of the page
  // makes that one the described calendar.
  TMiniCal* GetCalendar() const { return FCalendar; }
  void SetCalendar(TMiniCal* Value);
  // What the readout shows, e.g. "FrenchCal: dimanche 14 juillet 2024 - Fête nationale".
  std::string ReadoutText() const;
  void Loaded() override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void HookCalendars();
  TMiniCal* FCalendar = nullptr;
};

// Registers the calendar classes and TMiniCalReadout. Idempotent.
void RegisterMiniCalDemoClasses();

}  // namespace qel

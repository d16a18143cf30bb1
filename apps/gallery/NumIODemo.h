#pragma once
// The numeric-field page's helper: TNumIOReadout shows the Value of every TNumIO2 and the
// GetLabValue of every TNumIO on its page (the last one changed, read as it stands when
// painted), gives the field named SnapField its snap values (not a published
// property) and lets a click on a field's label select it in the property panel.
#include <string>

#include "numio/QEL_NumIO.h"
#include "platform/controls/Forms.h"

namespace qel {

class TNumIOReadout : public TGraphicControl {
 public:
  explicit TNumIOReadout(TComponent* AOwner);
  std::string ClassName() const override { return "TNumIOReadout"; }
  // The text shown: the last field's value as it stands now.
  const std::string& Readout() const;
  void Loaded() override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void HookFields();
  void Follow(TComponent* Field);
  TComponent* FShown = nullptr;
  mutable std::string FReadout = "Type into a field, click its spin buttons or drag its gauge";
};

// Registers the numeric-field classes and TNumIOReadout. Idempotent.
void RegisterNumIODemoClasses();

}  // namespace qel

#pragma once
// The numeric-field page's helper: TNumIOReadout shows the Value of every TNumIO2 and the
// GetLabValue of every TNumIO on its page, updated on each OnChange, gives the field named SnapField its snap values (not a published
// property) and lets a click on a field's label select it in the property panel.
#include <string>

#include "numio/QEL_NumIO.h"
#include "platform/controls/Forms.h"

namespace qel {

class TNumIOReadout : public TGraphicControl {
 public:
  explicit TNumIOReadout(TComponent* AOwner);
  std::string ClassName() const override { return "TNumIOReadout"; }
  const std::string& Readout() const { return FReadout; }
  void Loaded() override;

 protected:
  void Paint() override;

 private:
  void HookFields();
  void Show(const TNumIO2* Field);
  void Show(const TNumIO* Field);
  std::string FReadout = "Type into a field, click its spin buttons or drag its gauge";
};

// Registers the numeric-field classes and TNumIOReadout. Idempotent.
void RegisterNumIODemoClasses();

}  // namespace qel

#pragma once
// The standard-controls page's menu panel: a panel whose popup menu changes it. The menu comes
// from the page's form file (items nested in it, with shortcut keys); the panel gives the items
// their actions by Tag when it is loaded, since a form file carries no code.
#include <string>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Menus.h"

namespace qel {

// Item tags: 1..3 align the caption left, centre, right; 11..13 make the outer bevel raised,
// lowered or none. Any choice is reported in the caption.
class TMenuDemoPanel : public TCustomPanel {
 public:
  explicit TMenuDemoPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
  std::string ClassName() const override { return "TMenuDemoPanel"; }
  void Loaded() override;
  // Runs Item's action (what its OnClick does).
  void Apply(TMenuItem* Item);

 private:
  void Hook(TMenuItem* Items);
  void ShowChecks(TMenuItem* Items);
};

// Registers the menu classes and TMenuDemoPanel. Idempotent.
void RegisterMenuDemoClasses();

}  // namespace qel

#pragma once
// The standard-controls page's date field: a masked edit whose entry must also be a real date,
// the check a host adds to a mask (which only knows digits and places). Leaving the field with
// 31-02-2026 or 99-99-9999 raises EConvertError, shown in the error dialog; the focus stays.
#include <string>

#include "platform/widgets/Mask.h"

namespace qel {

class TDateMaskEdit : public TMaskEdit {
 public:
  explicit TDateMaskEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}
  std::string ClassName() const override { return "TDateMaskEdit"; }
  // The mask's check, then the date's: day, month and year (in that order, any separators)
  // must make a calendar date. An entry with no digits at all is no date and is let through.
  void ValidateEdit() override;
};

// Registers the masked edits and TDateMaskEdit. Idempotent.
void RegisterWidgetsDemoClasses();

}  // namespace qel

#pragma once
// The form the dialogs build: a fixed dialog frame, centred, in the button face. Alt+letter
// accelerators reach its labels and buttons through the form's own key routing. Internal to
// platform/widgets.
#include "platform/controls/Forms.h"

namespace qel {

class TDialogForm : public TForm {
 public:
  explicit TDialogForm(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetColor(clBtnFace);
  }
  std::string ClassName() const override { return "TDialogForm"; }
};

}  // namespace qel

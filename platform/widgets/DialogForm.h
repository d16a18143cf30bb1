#pragma once
// The form the dialogs build: Alt+letter (or Alt+digit) reaches the accelerators of its labels
// and buttons as CM_DIALOGCHAR, whichever control has the focus. Internal to platform/widgets.
#include "platform/controls/Forms.h"

namespace qel {

class TDialogForm : public TForm {
 public:
  explicit TDialogForm(TComponent* AOwner) : TForm(AOwner) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetColor(clBtnFace);
    // The key preview sees every key before the focused control does.
    SetKeyPreview(true);
  }
  std::string ClassName() const override { return "TDialogForm"; }

  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    TForm::KeyDown(Key, Shift);
    if (Key == 0 || !Shift.Contains(ssAlt) || Shift.Contains(ssCtrl)) return;
    bool letter = Key >= 'A' && Key <= 'Z', digit = Key >= '0' && Key <= '9';
    if (!letter && !digit) return;
    char32_t ch = letter ? static_cast<char32_t>(Key - 'A' + 'a') : static_cast<char32_t>(Key);
    if (Perform(CM_DIALOGCHAR, ch, ShiftStateToKeyData(Shift)) != 0) Key = 0;
  }
};

}  // namespace qel

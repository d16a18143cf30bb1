#pragma once
// TColorButton: a panel showing a colour. It lights up while the pointer is over it, and a click
// (or Space while it has the focus) lets the user pick its colour with the colour dialog the host
// gives it.
//
// Where the code lives: colbut_button.cpp (lighting, the dialog, keys), colbut_register.cpp
// (published properties). docs/colours.md describes the lighting formula and the decisions taken.
#include <string>

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ExtCtrls.h"

namespace qel {

// The luminance of a colour lit by the pointer: L + 0.2 up to 0.3, else halfway to 1.
double LitLuminance(double L);

class TColorButton : public TCustomPanel {
 public:
  explicit TColorButton(TComponent* AOwner);
  ~TColorButton() override;
  std::string ClassName() const override { return "TColorButton"; }

  // The host's dialog (not owned; forgotten when it is destroyed).
  TColorDialog* GetColorDialog() const { return FColorDialog; }
  void SetColorDialog(TColorDialog* Value);
  // The colour without the pointer's lighting: the saved colour while the pointer is over the
  // button and the button still shows the lit colour, else Color.
  TColor BaseColor() const;
  bool Hovered() const { return FHovered; }

  TNotifyEvent OnChange;

  void Click() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TColorDialog* FColorDialog = nullptr;
  TColor FSavedColor = clBtnFace;
  TColor FLitColor = clBtnFace;
  bool FHovered = false;
};

// Registers TColorButton with the property registry. Idempotent.
void RegisterColorButtonClasses();

}  // namespace qel

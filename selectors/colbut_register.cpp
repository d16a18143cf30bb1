// The published properties of TColorButton.
#include "platform/controls/Properties.h"
#include "platform/widgets/StdCtrls.h"
#include "selectors/QEL_Colbut.h"

namespace qel {

void RegisterColorButtonClasses() {
  RegisterStdWidgetClasses();
  RegisterDialogClasses();
  // Color is read without the pointer's lighting, so a form written while the pointer rests on
  // the button keeps its own colour.
  RegisterClass<TColorButton>("TColorButton", "TCustomPanel")
      .Color("Color", &TColorButton::BaseColor, &TControl::SetColor, clBtnFace)
      .Stored([](const TColorButton* C) { return !C->GetParentColor(); })
      .Component<TColorDialog>("ColorDialog", &TColorButton::GetColorDialog,
                               &TColorButton::SetColorDialog);
}

}  // namespace qel

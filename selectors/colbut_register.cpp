// The published properties of TColorButton.
#include "platform/controls/Properties.h"
#include "platform/widgets/StdCtrls.h"
#include "selectors/QEL_Colbut.h"

namespace qel {

void RegisterColorButtonClasses() {
  RegisterStdWidgetClasses();
  RegisterDialogClasses();
  RegisterClass<TColorButton>("TColorButton", "TCustomPanel")
      .Component<TColorDialog>("ColorDialog", &TColorButton::GetColorDialog,
                               &TColorButton::SetColorDialog);
}

}  // namespace qel

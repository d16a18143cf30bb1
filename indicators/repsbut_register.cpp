// The published properties of TRepSpeedButton, for form files, qel-render and the gallery's
// property panel.
#include "indicators/QEL_repsbut.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterRepSpeedButtonClasses() {
  RegisterStdWidgetClasses();  // TSpeedButton
  RegisterClass<TRepSpeedButton>("TRepSpeedButton", "TSpeedButton")
      .Prop("StartClickInterval", &TRepSpeedButton::GetStartClickInterval,
            &TRepSpeedButton::SetStartIv, 500)
      .Prop("RepeatClickInterval", &TRepSpeedButton::GetRepeatClickInterval,
            &TRepSpeedButton::SetRepClickIv, 200);
}

}  // namespace qel

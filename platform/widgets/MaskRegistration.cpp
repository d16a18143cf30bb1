// Published properties of the masked edit.
#include "platform/controls/Properties.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterMaskClasses() {
  RegisterStdWidgetClasses();
  // EditMask comes before Text, so a form file's value is formatted into its mask.
  RegisterClass<TCustomMaskEdit>("TCustomMaskEdit", "TCustomEdit")
      .Prop("EditMask", &TCustomMaskEdit::GetEditMask, &TCustomMaskEdit::SetEditMask,
            std::string());
  RegisterClass<TMaskEdit>("TMaskEdit", "TCustomMaskEdit")
      .Prop(
          "Text", [](const TCustomMaskEdit* E) { return E->GetText(); },
          [](TCustomMaskEdit* E, const std::string& S) { E->SetText(S); }, std::string());
}

}  // namespace qel

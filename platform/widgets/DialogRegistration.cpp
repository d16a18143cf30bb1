// Published properties of the push button and the common dialogs.
#include "platform/controls/Properties.h"
#include "platform/widgets/Dialogs.h"

namespace qel {

void RegisterDialogClasses() {
  RegisterStdWidgetClasses();
  RegisterEnum<TColorDialogOption>(
      "TColorDialogOption",
      {"cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"});

  RegisterClass<TButton>("TButton", "TCustomControl")
      .Default("TabStop", true)
      .Default("Color", clBtnFace)
      .Default("ParentColor", false)
      .Prop("Cancel", &TButton::GetCancel, &TButton::SetCancel, false)
      .Prop("Caption", &TControl::GetCaption, &TControl::SetCaption, std::string())
      .Prop("Default", &TButton::GetDefault, &TButton::SetDefault, false)
      .Prop("ModalResult", &TButton::GetModalResult, &TButton::SetModalResult, mrNone);

  RegisterClass<TCommonDialog>("TCommonDialog", "TComponent");
  RegisterClass<TColorDialog>("TColorDialog", "TCommonDialog")
      .Color("Color", &TColorDialog::GetColor, &TColorDialog::SetColor, clBlack)
      .Strings("CustomColors", &TColorDialog::GetCustomColors)
      .Set("Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions, TColorDialogOptions{});
}

}  // namespace qel

// Published properties of the combo box and the popup menu.
#include "platform/controls/Properties.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterMenuAndComboClasses() {
  RegisterPlatformClasses();
  RegisterEnum<TComboBoxStyle>("TComboBoxStyle",
                               {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed"});
  // Order matters when reading: the style and the items come before what selects among them.
  RegisterClass<TCustomComboBox>("TCustomComboBox", "TCustomControl")
      .Default("TabStop", true)
      .Prop("Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle, csDropDown)
      .Prop("Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted, false)
      .Strings("Items", &TCustomComboBox::GetItems)
      .Prop("ItemHeight", &TCustomComboBox::GetItemHeight, &TCustomComboBox::SetItemHeight, 0)
      .Stored([](const TCustomComboBox*) { return false; })
      .Prop("DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount,
            8)
      .Prop("MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength, 0)
      .Prop("Text", &TControl::GetText, &TControl::SetText, std::string())
      .Prop("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex, -1);
  RegisterClass<TComboBox>("TComboBox", "TCustomComboBox");

  RegisterClass<TPopupMenu>("TPopupMenu", "TComponent")
      .Prop("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup, true);
  InstallPopupMenuHook();
}

}  // namespace qel

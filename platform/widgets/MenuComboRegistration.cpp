// Published properties of the combo box and the popup menu.
#include "platform/controls/Properties.h"
#include "platform/widgets/ComboItemHeight.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void RegisterMenuAndComboClasses() {
  RegisterPlatformClasses();
  RegisterEnum<TComboBoxStyle>("TComboBoxStyle",
                               {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed"});
  // Order matters when reading: the style and the items come before what selects among them.
  RegisterClass<TCustomComboBox>("TCustomComboBox", "TCustomControl")
      .Default("ParentColor", false)
      .Prop("Style", &TCustomComboBox::GetStyle, &TCustomComboBox::SetStyle, csDropDown)
      // With an edit the edit is the tab stop (the box hands its own over), so TabStop reads
      // and writes the edit's; after Style, which decides whether there is one.
      .Prop(
          "TabStop",
          [](const TCustomComboBox* C) {
            const TCustomEdit* e = C->EditControl();
            return e ? e->GetTabStop() : C->GetTabStop();
          },
          [](TCustomComboBox* C, bool V) {
            if (TCustomEdit* e = C->EditControl())
              e->SetTabStop(V);
            else
              C->SetTabStop(V);
          },
          true)
      .Prop("Sorted", &TCustomComboBox::GetSorted, &TCustomComboBox::SetSorted, false)
      .Strings("Items", &TCustomComboBox::GetItems)
      .Prop("ItemHeight", &TCustomComboBox::GetItemHeight, &TCustomComboBox::SetItemHeight, 0)
      .Stored(ComboItemHeightIsOwn)
      .Prop("DropDownCount", &TCustomComboBox::GetDropDownCount, &TCustomComboBox::SetDropDownCount,
            8)
      .Prop("MaxLength", &TCustomComboBox::GetMaxLength, &TCustomComboBox::SetMaxLength, 0)
      .Prop("Text", &TControl::GetText, &TControl::SetText, std::string())
      .Prop("ItemIndex", &TCustomComboBox::GetItemIndex, &TCustomComboBox::SetItemIndex, -1);
  RegisterClass<TComboBox>("TComboBox", "TCustomComboBox");

  // ShortCut is stored as its text ('Ctrl+S'): readable in a form file and the same on every
  // keyboard; text that names no key is refused rather than read as "no shortcut".
  RegisterClass<TMenuItem>("TMenuItem", "TComponent")
      .Prop("Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption, std::string())
      .Prop("Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked, false)
      .Prop("Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled, true)
      .Prop("GroupIndex", &TMenuItem::GetGroupIndex, &TMenuItem::SetGroupIndex, uint8_t{0})
      .Prop("Hint", &TMenuItem::GetHint, &TMenuItem::SetHint, std::string())
      .Prop("RadioItem", &TMenuItem::GetRadioItem, &TMenuItem::SetRadioItem, false)
      .Prop(
          "ShortCut", [](const TMenuItem* I) { return ShortCutToText(I->GetShortCut()); },
          [](TMenuItem* I, const std::string& Text) {
            TShortCut sc = TextToShortCut(Text);
            if (sc == 0 && !Text.empty())
              throw EPropertyError("Invalid shortcut text '" + Text + "'");
            I->SetShortCut(sc);
          },
          std::string())
      .Prop("Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible, true);
  RegisterClass<TPopupMenu>("TPopupMenu", "TComponent")
      .Prop("AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup, true);
  // Every control's PopupMenu: the control layer cannot name TPopupMenu's class, so the menu
  // layer adds the property to the control's entry (which keeps its other properties).
  RegisterClass<TControl>("TControl", "TComponent")
      .Component<TPopupMenu>(
          "PopupMenu", [](const TControl* C) { return C->GetPopupMenu(); },
          [](TControl* C, TPopupMenu* M) { C->SetPopupMenu(M); });
  InstallPopupMenuHook();
}

}  // namespace qel

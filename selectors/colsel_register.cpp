// The published properties of TColSel. It is registered beside the combo box rather than under
// it: its items, text and style are its own business, not a form file's.
#include "platform/controls/Properties.h"
#include "selectors/QEL_Colsel.h"

namespace qel {

void RegisterColSelClasses() {
  RegisterStdWidgetClasses();
  RegisterMenuAndComboClasses();
  RegisterClass<TColSel>("TColSel", "TWinControl")
      .Default("TabStop", true)
      .Default("ParentColor", false)
      .Prop("DropDownCount", &TColSel::GetDropDownCount, &TColSel::SetDropDownCount, 8)
      .Prop("NumColors", &TColSel::GetNumColors, &TColSel::SetNumColors, 20)
      .Prop("ColorBarWidth", &TColSel::GetColorBarWidth, &TColSel::SetColorBarWidth, 30)
      // The selection is an entry's colour: written after the entries it picks from.
      .Color("SelColor", &TColSel::GetSelColor, &TColSel::SetSelColor, clBlack);
}

}  // namespace qel

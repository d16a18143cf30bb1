// The published properties of TMarkSel, for form files, qel-render and the gallery's property
// panel.
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_marksel.h"

namespace qel {

void RegisterMarkSelClasses() {
  RegisterFrameEnums();
  RegisterClass<TMarkSel>("TMarkSel", "TGraphicControl")
      .Default("Width", 236)
      .Default("Height", 178)
      .Prop("NrOfColumns", &TMarkSel::GetNrOfColumns, &TMarkSel::SetNrCols, 8)
      .Prop("NrOfRows", &TMarkSel::GetNrOfRows, &TMarkSel::SetNrRows, 6)
      .Color("ColorBackGnd", &TMarkSel::GetColorBackGnd, &TMarkSel::SetColorBackGnd, clBtnFace)
      .Color("ColorMarks", &TMarkSel::GetColorMarks, &TMarkSel::SetColorMarks, clBlack)
      .Color("ColorHiLiteBG", &TMarkSel::GetColorHiLiteBG, &TMarkSel::SetColorHiLiteBG, clRed)
      .Color("ColorHiLiteSymbol", &TMarkSel::GetColorHiLiteSymbol, &TMarkSel::SetColorHiLiteSymbol,
             clWhite)
      .Color("ColorSelBG", &TMarkSel::GetColorSelBG, &TMarkSel::SetColorSelBG, clWhite)
      .Color("ColorSelFG", &TMarkSel::GetColorSelFG, &TMarkSel::SetColorSelFG, clNavy)
      .Enum("FrameStyle", &TMarkSel::GetFrameStyle, &TMarkSel::SetFrameStyle, fsEngraved)
      .Prop("Selected", &TMarkSel::GetSelected, &TMarkSel::SetSelected, -1)
      .Prop("ShowZeroAsCross", &TMarkSel::GetShowZeroAsCross, &TMarkSel::SetZeroAsCross, true);
}

}  // namespace qel

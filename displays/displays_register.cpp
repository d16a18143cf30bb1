// The published properties of the value displays, for form files, qel-render and the gallery.
#include "displays/QEL_NumLab.h"
#include "displays/QEL_RasterLab.h"
#include "displays/QEL_sevenseg.h"
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterDisplayClasses() {
  RegisterFrameEnums();
  RegisterEnum<TDisplay>(
      "TDisplay",
      {"dtFloat", "dtFixP", "dtExp", "dtHex", "dtZeroInt", "dtInt", "dtDateTime", "dtState",
       "dtBin", "dtOct", "dtDeg", "dtDegMin", "dtDegMinSec", "dtEEng", "dtEEngNoDP"});
  RegisterEnum<TRDBlockMode>("TRDBlockMode", {"rdbmOff", "rdbmOn", "rdbmRaster"});
  RegisterEnum<TRDScrollMode>("TRDScrollMode",
                                  {"rdsmOff", "rdsmLeft", "rdsmRight", "rdsmDown", "rdsmUp"});

  using N = TNumLab;
  RegisterClass<TNumLab>("TNumLab", "TGraphicControl")
      .Default("Width", 160)
      .Default("Height", 28)
      .Enum("DisplayType", &N::GetDisplayType, &N::SetDisplayType, dtFixP)
      .Prop("Precision", &N::GetPrecision, &N::SetPrecision, 2)
      .Prop("Value", &N::GetValue, &N::SetValue, 0.0)
      .Prop("Comma", &N::GetComma, &N::SetComma, false)
      .Prop("ForcePlusSign", &N::GetForcePlusSign, &N::SetForcePlusSign, false)
      .Prop("Empty", &N::GetEmpty, &N::SetEmpty, false)
      .Prop("OverflowIndicator", &N::GetOverflowIndicator, &N::SetOverflowIndicator,
            std::string("*********"))
      .Prop("LeftText", &N::GetLeftText, &N::SetLeftText, std::string())
      .Prop("RightText", &N::GetRightText, &N::SetRightText, std::string())
      .Prop("LeftSpace", &N::GetLeftSpace, &N::SetLeftSpace, 35)
      .Prop("LabelWidth", &N::GetLabelWidth, &N::SetLabelWidth, 80)
      .Enum("Alignment", &N::GetAlignment, &N::SetAlignment, taCenter)
      .Enum("LeftTextAlignment", &N::GetLeftTextAlignment, &N::SetLeftTextAlignment, taRightJustify)
      .Enum("RightTextAlignment", &N::GetRightTextAlignment, &N::SetRightTextAlignment,
            taLeftJustify)
      .Enum("FrameStyle", &N::GetFrameStyle, &N::SetFrameStyle, fsLowered)
      .Color("ColorLabBakG", &N::GetColorLabBakG, &N::SetColorLabBakG, clBtnFace)
      .Color("ColorLabText", &N::GetColorLabText, &N::SetColorLabText, clBlack)
      .Color("ColorOutBakG", &N::GetColorOutBakG, &N::SetColorOutBakG, clBtnFace)
      .Color("ColorOutText", &N::GetColorOutText, &N::SetColorOutText, clBlack)
      .Enum("ColorScheme", &N::GetColorScheme, &N::SetColorScheme, csBWG)
      .Prop("Transparent", &N::GetTransparent, &N::SetTransparent, false)
      .Prop("DTFormat", &N::GetDTFormat, &N::SetDTFormat, std::string("mmm-dd, yyyy"))
      .Prop("StateText", &N::GetStateText, &N::SetStateText, std::string("undefined"));

  using S = TSevenSeg;
  RegisterClass<TSevenSeg>("TSevenSeg", "TGraphicControl")
      .Default("Width", 216)
      .Default("Height", 76)
      .Prop("Caption", &S::GetCaption, &S::SetCaption, std::string("8.8.8.8."))
      .Prop("NumDigits", &S::GetNumDigits, &S::SetNumDigits, 4)
      .Color("ColorText", &S::GetColorText, &S::SetColorText, clRed)
      .Color("ColorBackGnd", &S::GetColorBackGnd, &S::SetColorBackGnd, 0x333333)
      .Prop("Margin", &S::GetMargin, &S::SetMargin, 8)
      .Prop("InterDigDist", &S::GetInterDigDist, &S::SetInterDigDist, 2)
      .Enum("FrameStyle", &S::GetFrameStyle, &S::SetFrameStyle, fsLowered)
      .Enum("ColorScheme", &S::GetColorScheme, &S::SetColorScheme, csBWG);

  using R = TRasterLab;
  // Dot sizes come before AutoHeight and AutoCenter, so that the flags see the final raster.
  RegisterClass<TRasterLab>("TRasterLab", "TGraphicControl")
      .Default("ParentFont", false)
      .Default("Width", 400)
      .Default("Height", 68)
      .Prop("Text", &R::GetText, &R::SetText, std::string("Text"))
      .Prop("DotSize", &R::GetDotSize, &R::SetDotSize, 3)
      .Prop("DotSpacing", &R::GetDotSpacing, &R::SetDotSpacing, 1)
      .Prop("PosX", &R::GetPosX, &R::SetPosX, 1)
      .Prop("PosY", &R::GetPosY, &R::SetPosY, 1)
      .Prop("Proportional", &R::GetProportional, &R::SetProportional, true)
      .Enum("CharBlockMode", &R::GetCharBlockMode, &R::SetCharBlockMode, rdbmOn)
      .Color("ColorDotOn", &R::GetColorDotOn, &R::SetColorDotOn, clLime)
      .Color("ColorDotOff", &R::GetColorDotOff, &R::SetColorDotOff, 0x404040)
      .Color("ColorLabBakG", &R::GetColorLabBakG, &R::SetColorLabBakG, clBlack)
      .Enum("FrameStyle", &R::GetFrameStyle, &R::SetFrameStyle, fsLowered)
      .Enum("ColorScheme", &R::GetColorScheme, &R::SetColorScheme, csBWG)
      .Prop("AutoHeight", &R::GetAutoHeight, &R::SetAutoHeight, false)
      .Prop("AutoCenter", &R::GetAutoCenter, &R::SetAutoCenter, false)
      .Enum("ScrollMode", &R::GetScrollMode, &R::SetScrollMode, rdsmOff)
      .Prop("ScrollInterval", &R::GetScrollInterval, &R::SetScrollInterval, 100)
      .Prop("ScrollIncrement", &R::GetScrollIncrement, &R::SetScrollIncrement, 1)
      .Prop("ScrollLoop", &R::GetScrollLoop, &R::SetScrollLoop, true);
}

}  // namespace qel

// The published properties of TNumIO2, for form files, qel-render and the gallery's property
// panel. No property carries a stream default: the constructor sets them all, so every one is
// written.
#include "numio/QEL_NumIO.h"
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterNumIOClasses() {
  RegisterFrameEnums();
  RegisterEnum<TInFormat>("TInFormat", {"itExp", "itFloat", "itFixPoint", "itInt", "itHex",
                                            "itOct", "itBin", "itDynamic"});

  using T = TNumIO2;
  // Notation first, then the range, then the text it is judged by; Value is Text read as a
  // number, so only Text is stored.
  RegisterClass<TNumIO2>("TNumIO2", "TCustomControl")
      .NoDefault("TabStop")
      .PropNoDefault("InputFormat", &T::GetInputFormat, &T::SetInputFormat)
      .PropNoDefault("DecPlaceSep", &T::GetDecPlaceSep, &T::SetDecPlaceSep)
      .PropNoDefault("FixPointDecPlaces", &T::GetFixPointDecPlaces, &T::SetFixPointDecPlaces)
      .PropNoDefault("SignificantDigits", &T::GetSignificantDigits, &T::SetSignificantDigits)
      .PropNoDefault("RangeLow", &T::GetRangeLow, &T::SetRangeLow)
      .PropNoDefault("RangeHigh", &T::GetRangeHigh, &T::SetRangeHigh)
      .PropNoDefault("Text", &T::GetText, &T::SetText)
      .PropNoDefault("Value", &T::GetValue, &T::SetValue)
      .Stored([](const T*) { return false; })
      .PropNoDefault("LeftText", &T::GetLeftText, &T::SetLeftText)
      .PropNoDefault("RightText", &T::GetRightText, &T::SetRightText)
      .PropNoDefault("LeftSpace", &T::GetLeftSpace, &T::SetLeftSpace)
      .PropNoDefault("TextBoxWidth", &T::GetTextBoxWidth, &T::SetTextBoxWidth)
      .PropNoDefault("Alignment", &T::GetAlignment, &T::SetAlignment)
      .PropNoDefault("LeftTextAlignment", &T::GetLeftTextAlignment, &T::SetLeftTextAlignment)
      .PropNoDefault("RightTextAlignment", &T::GetRightTextAlignment, &T::SetRightTextAlignment)
      .PropNoDefault("ButVisible", &T::GetButVisible, &T::SetButVisible)
      .PropNoDefault("But3D", &T::GetBut3D, &T::SetBut3D)
      .PropNoDefault("ButWidth", &T::GetButWidth, &T::SetButWidth)
      .PropNoDefault("ButHeight", &T::GetButHeight, &T::SetButHeight)
      .PropNoDefault("ButSpace", &T::GetButSpace, &T::SetButSpace)
      .PropNoDefault("ButIncrem", &T::GetButIncrem, &T::SetButIncrem)
      .ColorNoDefault("ButColor", &T::GetButColor, &T::SetButColor)
      .PropNoDefault("GaugeVisible", &T::GetGaugeVisible, &T::SetGaugeVisible)
      .PropNoDefault("GaugeHeight", &T::GetGaugeHeight, &T::SetGaugeHeight)
      .PropNoDefault("GaugeWidth", &T::GetGaugeWidth, &T::SetGaugeWidth)
      .PropNoDefault("GaugeLeftMargin", &T::GetGaugeLeftMargin, &T::SetGaugeLeftMargin)
      .PropNoDefault("GaugeTopMargin", &T::GetGaugeTopMargin, &T::SetGaugeTopMargin)
      .PropNoDefault("GaugeFrameStyle", &T::GetGaugeFrameStyle, &T::SetGaugeFrameStyle)
      .ColorNoDefault("GaugeColor", &T::GetGaugeColor, &T::SetGaugeColor)
      .ColorNoDefault("GaugeColorBg", &T::GetGaugeColorBg, &T::SetGaugeColorBg)
      .ColorNoDefault("GaugeColorFrame", &T::GetGaugeColorFrame, &T::SetGaugeColorFrame)
      .PropNoDefault("FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle)
      .ColorNoDefault("ColorBoxBG", &T::GetColorBoxBG, &T::SetColorBoxBG)
      .ColorNoDefault("ColorBoxText", &T::GetColorBoxText, &T::SetColorBoxText)
      .ColorNoDefault("ColorOutBG", &T::GetColorOutBG, &T::SetColorOutBG)
      .ColorNoDefault("ColorOutText", &T::GetColorOutText, &T::SetColorOutText)
      .ColorNoDefault("ColorWarnBG", &T::GetColorWarnBG, &T::SetColorWarnBG)
      .ColorNoDefault("ColorWarnText", &T::GetColorWarnText, &T::SetColorWarnText)
      .PropNoDefault("ColorScheme", &T::GetColorScheme, &T::SetColorScheme)
      .PropNoDefault("HideSelection", &T::GetHideSelection, &T::SetHideSelection)
      .PropNoDefault("AutoSize", &T::GetAutoSize, &T::SetAutoSize)
      .PropNoDefault("ReadOnly", &T::GetReadOnly, &T::SetReadOnly)
      .PropNoDefault("Beep", &T::GetBeep, &T::SetBeep);
  RegisterNumIOEditClasses();
}

}  // namespace qel

// The published properties of TMeter and TNeedleLayout, for form files, qel-render and the
// gallery's property panel.
#include "meter/QEL_Meter.h"
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterMeterClasses() {
  RegisterFrameEnums();
  RegisterEnum<TMeterLayout>("TMeterLayout", {"mlCirc90", "mlCirc120", "mlCirc180", "mlCirc270",
                                              "mlCirc300", "mlCirc360"});

  RegisterClass<TNeedleLayout>("TNeedleLayout", "TPersistent")
      .Color("ColorBody", &TNeedleLayout::GetColorBody, &TNeedleLayout::SetColorFill, clSilver)
      .Color("ColorOutline", &TNeedleLayout::GetColorOutline, &TNeedleLayout::SetColorLine, clBlack)
      .Prop("HeadSize", &TNeedleLayout::GetHeadSize, &TNeedleLayout::SetArrowSize1, 20)
      .Prop("Thickness", &TNeedleLayout::GetThickness, &TNeedleLayout::SetArrowThick, 0)
      .Prop("PercentNeedleLength", &TNeedleLayout::GetPercentNeedleLength,
            &TNeedleLayout::SetNeedleLength, 100)
      .Prop("HeadAngle", &TNeedleLayout::GetHeadAngle, &TNeedleLayout::SetArrowAngle1, 30)
      .Prop("HeadMidLeng", &TNeedleLayout::GetHeadMidLeng, &TNeedleLayout::SetBackShift1, 20)
      .Prop("ShadowDx", &TNeedleLayout::GetShadowDx, &TNeedleLayout::SetShadowDx, 0)
      .Prop("ShadowDy", &TNeedleLayout::GetShadowDy, &TNeedleLayout::SetShadowDy, 0)
      .Color("ShadowColor", &TNeedleLayout::GetShadowColor, &TNeedleLayout::SetShadowColor, clGray)
      // Main and second needle differ in their default, so it is always written.
      .PropNoDefault("Visible", &TNeedleLayout::GetVisible, &TNeedleLayout::SetVisible);

  // Logarithmic comes before the limits: its guard judges the limits as they are read.
  RegisterClass<TMeter>("TMeter", "TGraphicControl")
      .Default("Width", 297)
      .Default("Height", 209)
      .Enum("MeterLayout", &TMeter::GetMeterLayout, &TMeter::SetMeterLayout, mlCirc90)
      .Prop("Logarithmic", &TMeter::GetLogarithmic, &TMeter::SetLogarithmic, false)
      .Prop("MeterMinValue", &TMeter::GetMeterMinValue, &TMeter::SetMinValue, 0.0)
      .Prop("MeterMaxValue", &TMeter::GetMeterMaxValue, &TMeter::SetMaxValue, 1.0)
      .Prop("Value", &TMeter::GetValue, &TMeter::SetValue, 0.0)
      .Prop("ValueSec", &TMeter::GetValueSec, &TMeter::SetValue2, 0.0)
      .Prop("ThresholdLow", &TMeter::GetThresholdLow, &TMeter::SetLowThreshold, 0.0)
      .Prop("ThresholdHigh", &TMeter::GetThresholdHigh, &TMeter::SetHighThreshold, 1.0)
      .Prop("MeterNrTicks", &TMeter::GetMeterNrTicks, &TMeter::SetNrTicks, 3)
      .Prop("MeterShortTicks", &TMeter::GetMeterShortTicks, &TMeter::SetShortTicks, true)
      .Prop("MeterDecPlaces", &TMeter::GetMeterDecPlaces, &TMeter::SetDecPlaces, 1)
      .Prop("RimTop", &TMeter::GetRimTop, &TMeter::SetTRim, 8)
      .Prop("RimBottom", &TMeter::GetRimBottom, &TMeter::SetBRim, 10)
      .Prop("RimSide", &TMeter::GetRimSide, &TMeter::SetSRim, 10)
      .Prop("Caption", &TMeter::GetCaption, &TMeter::SetUnitLabel, std::string())
      .Object("FontCaption", &TMeter::GetFontCaption)
      .Color("ColorBakG", &TMeter::GetColorBakG, &TMeter::SetColorBakG, clWhite)
      .Color("ColorCover", &TMeter::GetColorCover, &TMeter::SetColorCover, clBtnFace)
      .Color("ColorScale", &TMeter::GetColorScale, &TMeter::SetColorScale, clNavy)
      .Enum("ColorScheme", &TMeter::GetColorScheme, &TMeter::SetColorScheme, csBWG)
      .Color("ColorSclBkLow", &TMeter::GetColorSclBkLow, &TMeter::SetColorBakgLow, clLime)
      .Color("ColorSclBkNorm", &TMeter::GetColorSclBkNorm, &TMeter::SetColorBakgNorm, 0x0080FF)
      .Color("ColorSclBkHigh", &TMeter::GetColorSclBkHigh, &TMeter::SetColorBakgHigh, clRed)
      .Prop("ScaleBkVisible", &TMeter::GetScaleBkVisible, &TMeter::SetScaleBkVis, false)
      .Prop("ScaleBkWidth", &TMeter::GetScaleBkWidth, &TMeter::SetScaleBkWidth, 0.0)
      .Prop("ScaleVisible", &TMeter::GetScaleVisible, &TMeter::SetScaleVis, true)
      .Prop("MeterScaleLine", &TMeter::GetMeterScaleLine, &TMeter::SetScaleLine, true)
      .Enum("FrameStyle", &TMeter::GetFrameStyle, &TMeter::SetFrameStyle, fsRaised)
      .Prop("LimWatchHighOn", &TMeter::GetLimWatchHighOn, &TMeter::SetLimWatHighOn, true)
      .Prop("LimWatchLowOn", &TMeter::GetLimWatchLowOn, &TMeter::SetLimWatLowOn, true)
      .Color("LimWatchActColor", &TMeter::GetLimWatchActColor, &TMeter::SetLimWatActCol, clRed)
      .Color("LimWatchPsvColor", &TMeter::GetLimWatchPsvColor, &TMeter::SetLimWatPsvCol, clGray)
      .Prop("AnchorCovered", &TMeter::GetAnchorCovered, &TMeter::SetAnchorCovrd, true)
      .Prop("AnchorSize", &TMeter::GetAnchorSize, &TMeter::SetSizeAnchor, 24)
      .Prop("AnchorImage", &TMeter::GetAnchorImage, &TMeter::SetACoverFname, std::string())
      .Prop("BackGroundImg", &TMeter::GetBackGroundImg, &TMeter::SetBakGndFname, std::string())
      .Enum("BkgndFillMode", &TMeter::GetBkgndFillMode, &TMeter::SetBGFillMode, bfSimple)
      .Object("NeedleLayout", &TMeter::GetNeedleLayout)
      .Object("NeedleLayoutSec", &TMeter::GetNeedleLayoutSec);
}

}  // namespace qel

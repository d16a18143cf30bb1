// The published properties of TProgBar, for form files, qel-render and the gallery's property
// panel.
#include "frame/QEL_frame_register.h"
#include "indicators/QEL_ProgBar.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterProgBarClasses() {
  RegisterFrameEnums();
  RegisterEnum<TColorMapping>("TColorMapping", {"cgmCover", "cgmStretch", "cgmMove"});

  RegisterClass<TProgBar>("TProgBar", "TGraphicControl")
      .Default("Width", 300)
      .Default("Height", 28)
      .Prop("Value", &TProgBar::GetValue, &TProgBar::SetPBarValue, 10.0)
      .Prop("Min", &TProgBar::GetMin, &TProgBar::SetPBarMin, 0.0)
      .Prop("Max", &TProgBar::GetMax, &TProgBar::SetPBarMax, 100.0)
      .Enum("Direction", &TProgBar::GetDirection, &TProgBar::SetDirection, drRight)
      .Color("ColorMin", &TProgBar::GetColorMin, &TProgBar::SetColorMin, clBlue)
      .Color("ColorMax", &TProgBar::GetColorMax, &TProgBar::SetColorMax, clRed)
      .Prop("ShowColorGradient", &TProgBar::GetShowColorGradient, &TProgBar::SetColorGrad, false)
      .Enum("ColorMapMode", &TProgBar::GetColorMapMode, &TProgBar::SetColorMapMode, cgmStretch)
      .Color("ColorBackGnd", &TProgBar::GetColorBackGnd, &TProgBar::SetColorBakG, clSilver)
      .Color("ColorMargin", &TProgBar::GetColorMargin, &TProgBar::SetColorMargin, clSilver)
      .Color("ColorGrid", &TProgBar::GetColorGrid, &TProgBar::SetColorGrid, clBlack)
      .Prop("GridDist", &TProgBar::GetGridDist, &TProgBar::SetGridDist, 0)
      .Prop("MarginLeft", &TProgBar::GetMarginLeft, &TProgBar::SetMarginLeft, 4)
      .Prop("MarginRight", &TProgBar::GetMarginRight, &TProgBar::SetMarginRight, 4)
      .Prop("MarginTop", &TProgBar::GetMarginTop, &TProgBar::SetMarginTop, 4)
      .Prop("MarginBottom", &TProgBar::GetMarginBottom, &TProgBar::SetMarginBottom, 4)
      .Enum("FrameStyleOuter", &TProgBar::GetFrameStyleOuter, &TProgBar::SetOuterFrameStyle,
            fsRaised)
      .Enum("FrameStyleInner", &TProgBar::GetFrameStyleInner, &TProgBar::SetInnerFrameStyle,
            fsLowered)
      .Enum("ColorScheme", &TProgBar::GetColorScheme, &TProgBar::SetColorScheme, csBWG)
      .Prop("BackGroundImg", &TProgBar::GetBackGroundImg, &TProgBar::SetBakGndFile, std::string())
      .Prop("TextVisible", &TProgBar::GetTextVisible, &TProgBar::SetShowValue, true)
      .Prop("TextPosX", &TProgBar::GetTextPosX, &TProgBar::SetTextPosX, 14)
      .Prop("TextPosY", &TProgBar::GetTextPosY, &TProgBar::SetTextPosY, 14)
      .Enum("TextAlignment", &TProgBar::GetTextAlignment, &TProgBar::SetAlignment, taCenter)
      .Prop("TextAngle", &TProgBar::GetTextAngle, &TProgBar::SetTextAngle, 0)
      .Prop("TextDecPlaces", &TProgBar::GetTextDecPlaces, &TProgBar::SetTextDecPl, 0)
      .Prop("AutoIncStep", &TProgBar::GetAutoIncStep, &TProgBar::SetAutoIncStep, 1.0)
      .Prop("StartInterval", &TProgBar::GetStartInterval, &TProgBar::SetStartIv, 1500)
      .Prop("RepeatInterval", &TProgBar::GetRepeatInterval, &TProgBar::SetRepeatIv, 700)
      .Prop("AutoInc", &TProgBar::GetAutoInc, &TProgBar::SetAutoInc, false);
}

}  // namespace qel

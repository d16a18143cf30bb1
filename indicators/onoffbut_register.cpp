// The published properties of TOnOffBut, for form files, qel-render and the gallery's property
// panel.
#include "frame/QEL_frame_register.h"
#include "indicators/QEL_onoffbut.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterOnOffButClasses() {
  RegisterFrameEnums();
  RegisterEnum<TOnOffButStyle>(
      "TOnOffButStyle",
      {"oobsUser",        "oobsCheckbox",     "oobsRadioBut",       "oobsSlideTB",
       "oobsSlideLR",     "oobsColSlideTB",   "oobsColSlideLR",     "oobsLedRedGreen",
       "oobsArrowTopRgt", "oobsArrowUpDown",  "oobsArrowLeftRight", "oobsTrafficLPed",
       "oobsBeveledLed",  "oobsSmileyYellow", "oobsSmileyRedGrn",   "oobsBulb",
       "oobsButLamp",     "oobsHDLeft",       "oobsHDRight",        "oobsUser1",
       "oobsUser2",       "oobsUser3",        "oobsUser4",          "oobsUser5"});
  RegisterEnum<TOOButMode>("TOOButMode", {"oobmNormalBut", "oobmSpeedBut"});
  RegisterEnum<TOOButMouseAction>("TOOButMouseAction", {"oomaNone", "oomaFocused", "oomaPlain"});
  RegisterEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});

  // Style and AutoCenter come before the spaces, and the spaces are always written: they are
  // where the glyph sat, which a form file brings back as it was (with AutoCenter a button not
  // yet resized since it was made still has the initial 35, 18).
  RegisterClass<TOnOffBut>("TOnOffBut", "TGraphicControl")
      .Default("Width", 100)
      .Default("Height", 50)
      .Enum("ButtonStyle", &TOnOffBut::GetButtonStyle, &TOnOffBut::SetButStyle, oobsColSlideLR)
      .Prop("AutoCenter", &TOnOffBut::GetAutoCenter, &TOnOffBut::SetAutoCenter, true)
      .PropNoDefault("LeftSpace", &TOnOffBut::GetLeftSpace, &TOnOffBut::SetLeftSpace)
      .PropNoDefault("TopSpace", &TOnOffBut::GetTopSpace, &TOnOffBut::SetTopSpace)
      .Enum("Mode", &TOnOffBut::GetMode, &TOnOffBut::SetButMode, oobmNormalBut)
      .Enum("MouseAction", &TOnOffBut::GetMouseAction, &TOnOffBut::SetMouseAction, oomaFocused)
      .Prop("GroupIndex", &TOnOffBut::GetGroupIndex, &TOnOffBut::SetGroupIndex, 0)
      .Prop("AllowAllOff", &TOnOffBut::GetAllowAllOff, &TOnOffBut::SetAllowAllOff, true)
      .Prop("OnOff", &TOnOffBut::GetOnOff, &TOnOffBut::SetOnOff, true)
      .Prop("LeftText", &TOnOffBut::GetLeftText, &TOnOffBut::SetLeftText, std::string())
      .Prop("TopText", &TOnOffBut::GetTopText, &TOnOffBut::SetTopText, std::string())
      .Prop("RightText", &TOnOffBut::GetRightText, &TOnOffBut::SetRightText, std::string())
      .Prop("BottomText", &TOnOffBut::GetBottomText, &TOnOffBut::SetBottomText, std::string())
      .Enum("LeftTextAlignment", &TOnOffBut::GetLeftTextAlignment, &TOnOffBut::SetLTAlignment,
            taRightJustify)
      .Enum("TopTextAlignment", &TOnOffBut::GetTopTextAlignment, &TOnOffBut::SetTTAlignment,
            taCenter)
      .Enum("BottomTextAlignment", &TOnOffBut::GetBottomTextAlignment, &TOnOffBut::SetBTAlignment,
            taCenter)
      .Enum("RightTextAlignment", &TOnOffBut::GetRightTextAlignment, &TOnOffBut::SetRTAlignment,
            taLeftJustify)
      .Color("ColorText", &TOnOffBut::GetColorText, &TOnOffBut::SetColorText, clBlack)
      .Color("ColorBackgnd", &TOnOffBut::GetColorBackgnd, &TOnOffBut::SetColorBakG, clBtnFace)
      .Enum("ColorScheme", &TOnOffBut::GetColorScheme, &TOnOffBut::SetColorScheme, csBWG)
      .Enum("FrameStyle", &TOnOffBut::GetFrameStyle, &TOnOffBut::SetFrameStyle, fsLowered)
      .Prop("Transparent", &TOnOffBut::GetTransparent, &TOnOffBut::SetTransparent, false);
}

}  // namespace qel

// The published properties of TThumbnails, for form files, qel-render and the gallery's
// property panel.
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_Thumbnails.h"

namespace qel {

void RegisterThumbnailsClasses() {
  RegisterFrameEnums();
  RegisterEnum<TSlideSelectMode>("TSlideSelectMode", {"ssmDisabled", "ssmSingle", "ssmMultiple"});
  RegisterEnum<TImageRequestProcessing>(
      "TImageRequestProcessing",
      {"irpShowEmpty", "irpShowSlide", "irpShowFrameOnly", "irpShowNothing"});
  // The range before the position and the size before SlideSize, which is limited by the
  // width.
  RegisterClass<TThumbnails>("TThumbnails", "TGraphicControl")
      .Default("Width", 260)
      .Default("Height", 400)
      .Prop("Min", &TThumbnails::GetMin, &TThumbnails::SetFMin, 1)
      .Prop("Max", &TThumbnails::GetMax, &TThumbnails::SetFMax, 100)
      .Enum("SlideSelectMode", &TThumbnails::GetSlideSelectMode, &TThumbnails::SetSlideSelectMode,
            ssmSingle)
      .Prop("SlideSize", &TThumbnails::GetSlideSize, &TThumbnails::SetBaseSize, 120)
      .Prop("SlideDistance", &TThumbnails::GetSlideDistance, &TThumbnails::SetSlideDist, 2)
      .Prop("SlideMargin", &TThumbnails::GetSlideMargin, &TThumbnails::SetSlideMargin, 7)
      .Prop("FocusLinewidth", &TThumbnails::GetFocusLinewidth, &TThumbnails::SetHiliteThickn, 1)
      .Color("ColorBackGnd", &TThumbnails::GetColorBackGnd, &TThumbnails::SetColorBackGnd,
             clBtnFace)
      .Color("ColorCover", &TThumbnails::GetColorCover, &TThumbnails::SetColorCover, clSilver)
      .Color("ColorSelected", &TThumbnails::GetColorSelected, &TThumbnails::SetColorSelected,
             clNavy)
      .Color("ColorFocus", &TThumbnails::GetColorFocus, &TThumbnails::SetColorFocus, clBlue)
      .Color("ColorMark", &TThumbnails::GetColorMark, &TThumbnails::SetColorMark, clBlack)
      .Enum("ColorScheme", &TThumbnails::GetColorScheme, &TThumbnails::SetColorScheme, csBWG)
      .Enum("FrameStyle", &TThumbnails::GetFrameStyle, &TThumbnails::SetFrameStyle, fsLowered)
      .Enum("OuterFrameStyle", &TThumbnails::GetOuterFrameStyle, &TThumbnails::SetOuterFrameStyle,
            fsRaised)
      .Enum("InnerFrameStyle", &TThumbnails::GetInnerFrameStyle, &TThumbnails::SetInnerFrameStyle,
            fsLowered)
      .Prop("AntiAlias", &TThumbnails::GetAntiAlias, &TThumbnails::SetAntiAlias, false);
}

}  // namespace qel

// The published properties of TGradFill, for form files, qel-render and the gallery's property
// panel.
#include "frame/QEL_frame_register.h"
#include "indicators/QEL_gradfl.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterGradFillClasses() {
  RegisterFrameEnums();
  RegisterEnum<TGradType>("TGradType", {"gtHoriz", "gtVert", "gtMidBandHoriz", "gtMidBandVert"});
  RegisterEnum<TGridMode>("TGridMode", {"gmNone", "gmHoriz", "gmVert", "gmBoth"});

  // ColorFlipped is read after the colours it was written with; while loading it keeps them
  // as read (see SetColorFlipped), so a flipped panel reads back as it was written.
  RegisterClass<TGradFill>("TGradFill", "TGraphicControl")
      .Default("Width", 121)
      .Default("Height", 121)
      .Color("ColorFirst", &TGradFill::GetColorFirst, &TGradFill::SetColorFirst, clMaroon)
      .Color("ColorLast", &TGradFill::GetColorLast, &TGradFill::SetColorLast, clYellow)
      .Prop("ColorFlipped", &TGradFill::GetColorFlipped, &TGradFill::SetColorFlipped, false)
      .Enum("FillType", &TGradFill::GetFillType, &TGradFill::SeTGradType, gtHoriz)
      .Prop("NrColors", &TGradFill::GetNrColors, &TGradFill::SetNrColors, 16)
      .Enum("FrameStyle", &TGradFill::GetFrameStyle, &TGradFill::SetFrameStyle, fsNone)
      .Enum("GridMode", &TGradFill::GetGridMode, &TGradFill::SetGridMode, gmNone)
      .Color("GridColor", &TGradFill::GetGridColor, &TGradFill::SetGridColor, clNavy);
}

}  // namespace qel

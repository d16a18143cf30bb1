// The published properties of the rotated label, for form files, qel-render and the gallery.
#include "displays/QEL_RotLab.h"
#include "frame/QEL_frame_register.h"
#include "platform/controls/Properties.h"

namespace qel {

void RegisterRotLabClasses() {
  RegisterStdWidgetClasses();
  RegisterFrameEnums();
  using R = TRotLab;
  // AutoCenter comes before the anchor, so that a written anchor is read as a fixed one. The
  // anchor is derived while AutoCenter is set, so it is written only when it is not.
  RegisterClass<TRotLab>("TRotLab", "TCustomLabel")
      .Default("Width", 200)
      .Default("Height", 200)
      .Default("AutoSize", false)
      .Default("ParentFont", false)
      .Color("Color", &R::GetColor, &R::SetColor, clBtnFace)
      .Stored([](const R* L) { return !L->GetParentColor(); })
      .Default("ParentColor", false)
      .Enum("Alignment", &R::GetAlignment, &R::SetAlignment, taCenter)
      .Prop("Transparent", &R::GetTransparent, &R::SetTransparent, true)
      .Prop("TextAngle", &R::GetTextAngle, &R::SetTextAngle, 0)
      .Prop("AutoCenter", &R::GetAutoCenter, &R::SetAutoCenter, true)
      .PropNoDefault("PosX", &R::GetPosX, &R::SetPosX)
      .Stored([](const R* L) { return !L->GetAutoCenter(); })
      .PropNoDefault("PosY", &R::GetPosY, &R::SetPosY)
      .Stored([](const R* L) { return !L->GetAutoCenter(); })
      .Prop("AntiAlias", &R::GetAntiAlias, &R::SetAntiAlias, true)
      .Enum("FrameStyle", &R::GetFrameStyle, &R::SetFrameStyle, fsLowered);
}

}  // namespace qel

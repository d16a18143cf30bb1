// TGradFill's properties and setters. Every change invalidates: the panel repaints with the
// next paint cycle.
#include "indicators/QEL_gradfl.h"

#include <algorithm>

namespace qel {

TGradFill::TGradFill(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(GetLeft(), GetTop(), 121, 121);
}

void TGradFill::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TGradFill*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FColorFirst = s->FColorFirst;
  FColorLast = s->FColorLast;
  FColorA = s->FColorA;
  FColorB = s->FColorB;
  FColorFlipped = s->FColorFlipped;
  FFillType = s->FFillType;
  FNrColors = s->FNrColors;
  FFrameStyle = s->FFrameStyle;
  FGridMode = s->FGridMode;
  FGridColor = s->FGridColor;
  Invalidate();
}

void TGradFill::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TGradFill*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

void TGradFill::SetColorFirst(TColor Value) {
  FColorFirst = Value;
  (FColorFlipped ? FColorB : FColorA) = Value;
  Invalidate();
}

void TGradFill::SetColorLast(TColor Value) {
  FColorLast = Value;
  (FColorFlipped ? FColorA : FColorB) = Value;
  Invalidate();
}

void TGradFill::SetColorFlipped(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    // The colours read just before are the published, already flipped ones: keep them and
    // put the pair in its unflipped order behind them.
    FColorFlipped = Value;
    FColorA = Value ? FColorLast : FColorFirst;
    FColorB = Value ? FColorFirst : FColorLast;
    return;
  }
  FColorFlipped = Value;
  FColorFirst = Value ? FColorB : FColorA;
  FColorLast = Value ? FColorA : FColorB;
  Invalidate();
}

void TGradFill::SeTGradType(TGradType Value) {
  if (Value == FFillType || Value > gtMidBandVert) return;
  FFillType = Value;
  Invalidate();
}

void TGradFill::SetNrColors(int Value) {
  FNrColors = std::clamp(Value, 1, kGradMaxColors);
  Invalidate();
}

void TGradFill::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle) return;
  FFrameStyle = Value;
  Invalidate();
}

void TGradFill::SetGridMode(TGridMode Value) {
  if (Value == FGridMode || Value > gmBoth) return;
  FGridMode = Value;
  Invalidate();
}

void TGradFill::SetGridColor(TColor Value) {
  if (Value == FGridColor) return;
  FGridColor = Value;
  Invalidate();
}

}  // namespace qel

// TColorButton: lighting under the pointer, the colour dialog, the keys.
#include "frame/QEL_qelcolors.h"
#include "selectors/QEL_Colbut.h"

namespace qel {

double LitLuminance(double L) {
  const double lit = L <= 0.3 ? L + 0.2 : (L + 1) / 2;
  return lit > 1 ? 1.0 : lit;
}

TColorButton::TColorButton(TComponent* AOwner) : TCustomPanel(AOwner) {}

TColorButton::~TColorButton() = default;

void TColorButton::SetColorDialog(TColorDialog* Value) {
  if (Value == FColorDialog) return;
  if (FColorDialog) FColorDialog->RemoveFreeNotification(this);
  FColorDialog = Value;
  if (Value) Value->FreeNotification(this);
}

void TColorButton::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FColorDialog) FColorDialog = nullptr;
}

TColor TColorButton::BaseColor() const {
  return FHovered && GetColor() == FLitColor ? FSavedColor : GetColor();
}

void TColorButton::CMMouseEnter(TMessage& Message) {
  TCustomPanel::CMMouseEnter(Message);
  if (FHovered) return;
  FHovered = true;
  FSavedColor = GetColor();
  double h = 0, s = 0, l = 0;
  ColorToHSL(FSavedColor, h, s, l);
  FLitColor = HSLtoColor(h, s, LitLuminance(l));
  SetColor(FLitColor);
}

// Leaving takes the lighting away. A colour set meanwhile (picked with the dialog or given by
// the host) is kept.
void TColorButton::CMMouseLeave(TMessage& Message) {
  TCustomPanel::CMMouseLeave(Message);
  if (!FHovered) return;
  FHovered = false;
  if (GetColor() == FLitColor) SetColor(FSavedColor);
}

void TColorButton::Click() {
  TCustomPanel::Click();
  if (!FColorDialog) return;
  // The dialog starts from the button's own colour, not from its lit look.
  FColorDialog->SetColor(BaseColor());
  if (!FColorDialog->Execute()) return;
  SetColor(FColorDialog->GetColor());
  // A choice is kept when the pointer leaves, even one that equals the lit colour.
  if (FHovered) FLitColor = clNone;
  GetFont()->SetColor(ColorToGray(GetColor()) <= 96 ? clWhite : clBlack);
  if (OnChange) OnChange(this);
}

void TColorButton::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomPanel::KeyDown(Key, Shift);
  if (Key == VK_SPACE && Shift.Empty()) {
    Key = 0;
    Click();
  }
}

}  // namespace qel

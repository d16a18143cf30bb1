#include "apps/gallery/DialogDemo.h"

#include "platform/controls/Properties.h"

namespace qel {

void TPanelColorButton::SetPanel(TCustomPanel* Value) {
  if (FPanel == Value) return;
  if (FPanel) FPanel->RemoveFreeNotification(this);
  FPanel = Value;
  if (Value) Value->FreeNotification(this);
}

void TPanelColorButton::SetDialog(TColorDialog* Value) {
  if (FDialog == Value) return;
  if (FDialog) FDialog->RemoveFreeNotification(this);
  FDialog = Value;
  if (Value) Value->FreeNotification(this);
}

void TPanelColorButton::Notification(TComponent* AComponent, TOperation Operation) {
  TButton::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPanel) FPanel = nullptr;
  if (AComponent == FDialog) FDialog = nullptr;
}

void TPanelColorButton::Click() {
  TButton::Click();
  if (!FPanel || !FDialog) return;
  FDialog->SetColor(FPanel->GetColor());
  if (!FDialog->Execute()) return;
  TColor c = FDialog->GetColor();
  FPanel->SetColor(c);
  // Light text on dark colours, so the caption stays readable.
  int grey = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
  FPanel->GetFont()->SetColor(grey <= 96 ? clWhite : clBlack);
  FPanel->SetCaption(ColorToString(c));
}

bool TDialogPanel::HoldsFocus() const {
  TForm* f = GetParentForm();
  return f && ContainsControl(f->FocusedControl());
}

void TDialogPanel::CMDialogKey(TMessage& Message) {
  if (HoldsFocus()) TPanel::CMDialogKey(Message);
}

void TDialogPanel::CMDialogChar(TMessage& Message) {
  if (HoldsFocus()) TPanel::CMDialogChar(Message);
}

void RegisterDialogDemoClasses() {
  RegisterDialogClasses();
  RegisterClass<TPanelColorButton>("TPanelColorButton", "TButton")
      .Component<TCustomPanel>("Panel", &TPanelColorButton::GetPanel, &TPanelColorButton::SetPanel)
      .Component<TColorDialog>("Dialog", &TPanelColorButton::GetDialog,
                               &TPanelColorButton::SetDialog);
  RegisterClass<TDialogPanel>("TDialogPanel", "TPanel");
}

}  // namespace qel

#include "apps/gallery/DialogDemo.h"

#include "platform/controls/Properties.h"
#include "platform/widgets/Menus.h"

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

void TDialogPanel::Loaded() {
  TPanel::Loaded();
  for (int i = 0; i < ControlCount(); ++i)
    if (auto* b = dynamic_cast<TButton*>(Controls(i)); b && !b->OnClick)
      b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
  Report("Click a button, or press Enter, Esc or an underlined letter");
}

std::string TDialogPanel::Status() const {
  TComponent* owner = GetOwner();
  auto* label = owner ? dynamic_cast<TLabel*>(owner->FindComponent("ClickStatus")) : nullptr;
  return label ? label->GetCaption() : std::string();
}

void TDialogPanel::Report(const std::string& Text) {
  TComponent* owner = GetOwner();
  if (auto* label = owner ? dynamic_cast<TLabel*>(owner->FindComponent("ClickStatus")) : nullptr)
    label->SetCaption(Text);
}

void TDialogPanel::ButtonClicked(TButton* Button) {
  const std::string name = StripHotkey(Button->GetCaption());
  ++FClicks;
  const std::string clicked =
      name + " clicked (" + std::to_string(FClicks) + (FClicks == 1 ? " click" : " clicks") + ")";
  Report(clicked);
  if (Button->GetTag() == 1) {
    ShowMessage("A message box from ShowMessage: Enter or Esc closes it.");
    Report(clicked + "; the message was closed");
  } else if (Button->GetTag() == 2) {
    const TModalResult r =
        MessageDlg("Save the settings before closing?", mtConfirmation, {mbYes, mbNo, mbCancel});
    Report(clicked + "; MessageDlg answered " + (r == mrYes ? "Yes" : r == mrNo ? "No" : "Cancel"));
  }
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

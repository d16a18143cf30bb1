#pragma once
// The buttons-and-dialogs page's helpers. TPanelColorButton is a push button that runs the colour
// dialog it names, preset with the colour of the panel it names, and colours the panel with the
// choice: the pattern a host follows with TColorDialog. TDialogPanel is a panel that behaves as a
// small dialog inside the page: Enter, Esc and the accelerators reach its buttons only while the
// focus is inside it, so the rest of the gallery keeps its keys. It reports every click of its
// buttons on its status label (the child named ClickStatus), and two of its buttons open the
// standard message boxes: Tag 1 ShowMessage, Tag 2 a MessageDlg question whose answer it reports.
#include <string>

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

class TPanelColorButton : public TButton {
 public:
  explicit TPanelColorButton(TComponent* AOwner) : TButton(AOwner) {}
  std::string ClassName() const override { return "TPanelColorButton"; }

  TCustomPanel* GetPanel() const { return FPanel; }
  void SetPanel(TCustomPanel* Value);
  TColorDialog* GetDialog() const { return FDialog; }
  void SetDialog(TColorDialog* Value);

  // The button's click, then the dialog; a confirmed colour goes to the panel, whose caption
  // names it.
  void Click() override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomPanel* FPanel = nullptr;
  TColorDialog* FDialog = nullptr;
};

class TDialogPanel : public TPanel {
 public:
  explicit TDialogPanel(TComponent* AOwner) : TPanel(AOwner) {}
  std::string ClassName() const override { return "TDialogPanel"; }
  void Loaded() override;
  // What the status label says now ("" without one).
  std::string Status() const;

 protected:
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  bool HoldsFocus() const;

 private:
  void ButtonClicked(TButton* Button);
  void Report(const std::string& Text);
  int FClicks = 0;
};

// Registers the dialogs, TPanelColorButton and TDialogPanel. Idempotent.
void RegisterDialogDemoClasses();

}  // namespace qel

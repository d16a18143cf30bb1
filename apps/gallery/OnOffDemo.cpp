#include "apps/gallery/OnOffDemo.h"

#include "apps/gallery/DemoControls.h"
#include "frame/QEL_qelcolors.h"
#include "indicators/QEL_onoffbut.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_Colbut.h"
#include "selectors/QEL_Colsel.h"

namespace qel {

namespace {
void SelectInPanel(TComponent* C) {
  auto* control = dynamic_cast<TControl*>(C);
  if (!control) return;
  if (auto* f = dynamic_cast<TSelectingForm*>(control->GetParentForm())) f->SelectComponent(C);
}
}  // namespace

// ---------------------------------------------------------------- TOnOffDemo

TOnOffDemo::TOnOffDemo(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 300, 24); }

void TOnOffDemo::Loaded() {
  TGraphicControl::Loaded();
  TComponent* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* b = dynamic_cast<TOnOffBut*>(owner->Components(i));
    if (!b) continue;
    // Any press selects the button, also beside its glyph; the report follows the click,
    // which comes with the release, when a speed button too has its final state.
    b->OnMouseDown = [b](TObject*, TMouseButton, TShiftState, int, int) { SelectInPanel(b); };
    b->OnClick = [this, b](TObject*) {
      FStatus = b->GetName() + " is " + (b->GetOnOff() ? "on" : "off");
      Invalidate();
    };
  }
}

void TOnOffDemo::Paint() { PaintStatusLine(Canvas(), GetClientRect(), GetFont(), FStatus); }

// ---------------------------------------------------------------- TColourDemo

TColourDemo::TColourDemo(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 300, 24); }

TColourDemo::~TColourDemo() { SetPanel(nullptr); }

void TColourDemo::SetPanel(TCustomPanel* Value) {
  if (Value == FPanel) return;
  if (FPanel) FPanel->RemoveFreeNotification(this);
  FPanel = Value;
  if (FPanel) FPanel->FreeNotification(this);
}

void TColourDemo::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPanel) FPanel = nullptr;
}

void TColourDemo::Show(TColor Colour, const std::string& From) {
  if (FPanel) {
    FPanel->SetColor(Colour);
    FPanel->GetFont()->SetColor(ColorToGray(Colour) <= 96 ? clWhite : clBlack);
    FPanel->SetCaption(ColorToString(Colour));
  }
  FStatus = From + " chose " + ColorToString(Colour);
  Invalidate();
}

void TColourDemo::Loaded() {
  TGraphicControl::Loaded();
  TComponent* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* sel = dynamic_cast<TColSel*>(c)) {
      if (sel->GetName() == "SystemColours") sel->LoadWindowsSystemPalette();
      if (sel->GetName() == "Colours") {
        // The first four entries can be changed: click their colour bar and drop the list.
        for (int k = 1; k <= 4; ++k) sel->SetArrayAllowEdit(k, true);
      }
      sel->OnEnter = [sel](TObject*) { SelectInPanel(sel); };
      sel->OnChange = [this, sel](TObject*) { Show(sel->GetSelColor(), sel->GetName()); };
    } else if (auto* button = dynamic_cast<TColorButton*>(c)) {
      button->OnMouseDown = [button](TObject*, TMouseButton, TShiftState, int, int) {
        SelectInPanel(button);
      };
      button->OnChange = [this, button](TObject*) { Show(button->GetColor(), button->GetName()); };
    }
  }
}

void TColourDemo::Paint() { PaintStatusLine(Canvas(), GetClientRect(), GetFont(), FStatus); }

void RegisterOnOffDemoClasses() {
  RegisterOnOffButClasses();
  RegisterColSelClasses();
  RegisterColorButtonClasses();
  RegisterClass<TOnOffDemo>("TOnOffDemo", "TGraphicControl");
  RegisterClass<TColourDemo>("TColourDemo", "TGraphicControl")
      .Component<TCustomPanel>("Panel", &TColourDemo::GetPanel, &TColourDemo::SetPanel);
}

}  // namespace qel

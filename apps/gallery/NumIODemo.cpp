#include "apps/gallery/NumIODemo.h"

#include "apps/gallery/DemoControls.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

TNumIOReadout::TNumIOReadout(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 300, 24);
}

void TNumIOReadout::Loaded() {
  TGraphicControl::Loaded();
  HookFields();
}

void TNumIOReadout::HookFields() {
  TComponent* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    if (auto* e = dynamic_cast<TNumIO*>(owner->Components(i))) {
      e->OnChange = [this, e](TObject*) { Follow(e); };
      e->OnEnter = [e](TObject*) {
        if (auto* form = dynamic_cast<TSelectingForm*>(e->GetParentForm()))
          form->SelectComponent(e);
      };
      continue;
    }
    auto* f = dynamic_cast<TNumIO2*>(owner->Components(i));
    if (!f) continue;
    if (f->GetName() == "SnapField") f->SnapValues = {1, 2, 5};
    f->OnChange = [this, f](TObject*) { Follow(f); };
    f->OnEnter = [f](TObject*) {
      if (auto* form = dynamic_cast<TSelectingForm*>(f->GetParentForm())) form->SelectComponent(f);
    };
  }
}

void TNumIOReadout::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FShown) FShown = nullptr;
}

void TNumIOReadout::Follow(TComponent* Field) {
  if (FShown != Field) {
    if (FShown) RemoveFreeNotification(FShown);
    FShown = Field;
    if (FShown) FreeNotification(FShown);
  }
  Invalidate();
}

const std::string& TNumIOReadout::Readout() const {
  // Read at the time of asking: the value or the range may have changed since the last
  // keystroke (from the property panel), and an old "out of range" must not linger.
  if (auto* f = dynamic_cast<TNumIO2*>(FShown))
    FReadout = f->GetName() + ".Value = " + FloatToStr(f->GetValue()) +
               (f->OutOfRange() ? "   (out of range)" : "");
  else if (auto* e = dynamic_cast<TNumIO*>(FShown))
    FReadout = e->GetName() + ": GetLabValue = " + FloatToStr(e->GetLabValue());
  return FReadout;
}

void TNumIOReadout::Paint() { PaintStatusLine(Canvas(), GetClientRect(), GetFont(), Readout()); }

void RegisterNumIODemoClasses() {
  RegisterNumIOClasses();
  RegisterClass<TNumIOReadout>("TNumIOReadout", "TGraphicControl");
}

}  // namespace qel

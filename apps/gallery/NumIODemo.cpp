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
      e->OnChange = [this, e](TObject*) { Show(e); };
      e->OnEnter = [e](TObject*) {
        if (auto* form = dynamic_cast<TSelectingForm*>(e->GetParentForm()))
          form->SelectComponent(e);
      };
      continue;
    }
    auto* f = dynamic_cast<TNumIO2*>(owner->Components(i));
    if (!f) continue;
    if (f->GetName() == "SnapField") f->SnapValues = {1, 2, 5};
    f->OnChange = [this, f](TObject*) { Show(f); };
    f->OnEnter = [f](TObject*) {
      if (auto* form = dynamic_cast<TSelectingForm*>(f->GetParentForm())) form->SelectComponent(f);
    };
  }
}

void TNumIOReadout::Show(const TNumIO2* Field) {
  FReadout = Field->GetName() + ".Value = " + FloatToStr(Field->GetValue()) +
             (Field->OutOfRange() ? "   (out of range)" : "");
  Invalidate();
}

void TNumIOReadout::Show(const TNumIO* Field) {
  FReadout = Field->GetName() + ": GetLabValue = " + FloatToStr(Field->GetLabValue());
  Invalidate();
}

void TNumIOReadout::Paint() { PaintStatusLine(Canvas(), GetClientRect(), GetFont(), FReadout); }

void RegisterNumIODemoClasses() {
  RegisterNumIOClasses();
  RegisterClass<TNumIOReadout>("TNumIOReadout", "TGraphicControl");
}

}  // namespace qel

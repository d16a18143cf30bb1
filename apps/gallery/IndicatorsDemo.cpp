#include "apps/gallery/IndicatorsDemo.h"

#include <algorithm>

#include "apps/gallery/DemoControls.h"
#include "indicators/QEL_gradfl.h"
#include "indicators/QEL_repsbut.h"
#include "platform/controls/Properties.h"

namespace qel {

namespace {
constexpr int kCountMax = 100;

void Select(TControl* C) {
  if (auto* f = dynamic_cast<TSelectingForm*>(C->GetParentForm())) f->SelectComponent(C);
}
}  // namespace

TIndicatorsDriver::TIndicatorsDriver(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 300, 22);
}

TIndicatorsDriver::~TIndicatorsDriver() {
  try {
    HookPage(false);
  } catch (const std::exception&) {
    // A bar that cannot restart its timer keeps no event of ours either way.
  }
  SetBar(nullptr);
}

void TIndicatorsDriver::SetBar(TProgBar* Value) {
  if (Value == FBar) return;
  if (FBar) FBar->RemoveFreeNotification(this);
  FBar = Value;
  if (FBar) FBar->FreeNotification(this);
  Invalidate();
}

void TIndicatorsDriver::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBar) FBar = nullptr;
}

void TIndicatorsDriver::Loaded() {
  TGraphicControl::Loaded();
  HookPage(true);
}

// Every event set here points back at the driver, so they are all cleared again when it goes.
void TIndicatorsDriver::HookPage(bool Hook) {
  TComponent* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* c = owner->Components(i);
    if (auto* b = dynamic_cast<TRepSpeedButton*>(c)) {
      const int by = b->GetName() == "MinusButton" ? -1 : b->GetName() == "PlusButton" ? 1 : 0;
      if (!Hook) {
        b->SetOnRepeatClick(nullptr);
        b->OnClick = nullptr;
      } else if (by != 0) {
        b->SetOnRepeatClick([this, by](TObject*) { Step(by, true); });
        b->OnClick = [this, by, b](TObject*) {
          Step(by, false);
          Select(b);
        };
      }
    } else if (auto* p = dynamic_cast<TProgBar*>(c)) {
      p->OnClick = Hook ? TNotifyEvent([p](TObject*) { Select(p); }) : TNotifyEvent();
      if (p != FBar) continue;
      // Round and round: past Max the bar starts again at Min.
      p->SetOnAutoInc(Hook ? TNotifyEvent([this, p](TObject*) {
        if (p->GetValue() > p->GetMax()) p->SetPBarValue(p->GetMin());
        Invalidate();
      })
                           : TNotifyEvent());
    } else if (auto* g = dynamic_cast<TGradFill*>(c)) {
      g->OnClick = Hook ? TNotifyEvent([g](TObject*) { Select(g); }) : TNotifyEvent();
    }
  }
}

void TIndicatorsDriver::Step(int By, bool Repeat) {
  FCount = std::clamp(FCount + By, 0, kCountMax);
  if (Repeat) ++FRepeats;
  if (TComponent* owner = GetOwner())
    if (auto* bar = dynamic_cast<TProgBar*>(owner->FindComponent("CountBar")))
      bar->SetPBarValue(FCount);
  Invalidate();
}

std::string TIndicatorsDriver::StatusText() const {
  std::string s = "Count " + std::to_string(FCount) + " (" + std::to_string(FRepeats) +
                  " by holding a button)   ";
  if (FBar)
    s += FBar->GetAutoInc() ? "click here to pause " + FBar->GetName()
                            : FBar->GetName() + " paused, click here to run it";
  return s;
}

void TIndicatorsDriver::Paint() {
  PaintStatusLine(Canvas(), GetClientRect(), GetFont(), StatusText());
}

void TIndicatorsDriver::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !FBar) return;
  FBar->SetAutoInc(!FBar->GetAutoInc());
  Invalidate();
}

void RegisterIndicatorsDemoClasses() {
  RegisterProgBarClasses();
  RegisterGradFillClasses();
  RegisterRepSpeedButtonClasses();
  RegisterPlatformClasses();
  RegisterClass<TIndicatorsDriver>("TIndicatorsDriver", "TGraphicControl")
      .Component<TProgBar>("Bar", &TIndicatorsDriver::GetBar, &TIndicatorsDriver::SetBar);
}

}  // namespace qel

// A measurement panel: a simulated pressure signal shown on an analog meter, a seven-segment
// readout and a progress bar, with two lamps that light when the signal leaves the band the
// operator sets in the two numeric fields. A timer drives the signal every 50 ms.
#include <cmath>
#include <cstdio>

#include "displays/QEL_sevenseg.h"
#include "examples/ExampleMain.h"
#include "indicators/QEL_ProgBar.h"
#include "indicators/QEL_onoffbut.h"
#include "meter/QEL_Meter.h"
#include "numio/QEL_NumIO2.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {
namespace {

class TPanelForm : public TForm {
 public:
  explicit TPanelForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Measurement panel");
    SetClientWidth(600);
    SetClientHeight(330);
    FMeter = new TMeter(this);
    FMeter->SetParent(this);
    FMeter->SetBounds(12, 12, 297, 209);
    FMeter->SetMeterLayout(mlCirc180);
    FMeter->SetMinValue(0);
    FMeter->SetMaxValue(100);
    FMeter->SetUnitLabel("kPa");
    FMeter->SetScaleBkVis(true);
    FMeter->SetScaleBkWidth(12);

    FReadout = new TSevenSeg(this);
    FReadout->SetParent(this);
    FReadout->SetBounds(324, 12, 266, 64);
    FReadout->SetNumDigits(5);

    FBar = new TProgBar(this);
    FBar->SetParent(this);
    FBar->SetBounds(324, 88, 266, 28);
    FBar->SetRange(0, 100);

    FLow = Field("Low", 20, 132);
    FHigh = Field("High", 80, 172);
    FLampLow = Lamp("below", 132);
    FLampHigh = Lamp("above", 172);
    FLow->OnChange = [this](TObject*) { ApplyBand(); };
    FHigh->OnChange = [this](TObject*) { ApplyBand(); };
    ApplyBand();

    auto* note = new TLabel(this);
    note->SetParent(this);
    note->SetBounds(12, 236, 576, 40);
    note->SetCaption("Type a limit into a field (or spin it) and watch the lamps and the meter's band.");

    FTimer = AllocateHWnd([this](TMessage& M) {
      if (M.Msg == WM_TIMER) Tick();
    });
    SetTimer(FTimer, 1, 50);
  }
  ~TPanelForm() override {
    KillTimer(FTimer, 1);
    DeallocateHWnd(FTimer);
  }

 private:
  TNumIO2* Field(const char* Caption, double Value, int Top) {
    auto* f = new TNumIO2(this);
    f->SetParent(this);
    f->SetBounds(324, Top, 164, 28);
    f->SetLeftText(Caption);
    f->SetRightText("kPa");
    f->SetRangeLow(0);
    f->SetRangeHigh(100);
    f->SetValue(Value);
    return f;
  }
  TOnOffBut* Lamp(const char* Caption, int Top) {
    auto* b = new TOnOffBut(this);
    b->SetParent(this);
    b->SetBounds(494, Top, 96, 28);
    b->SetButStyle(oobsBeveledLed);
    b->SetMouseAction(oomaNone);  // a lamp shows; it is not pressed
    b->SetRightText(Caption);
    b->SetOnOff(false);
    return b;
  }
  void ApplyBand() {
    const double lo = FLow->GetValue(), hi = FHigh->GetValue();
    FMeter->SetLowThreshold(std::min(lo, hi));
    FMeter->SetHighThreshold(std::max(lo, hi));
  }
  void Tick() {
    FTime += 0.05;
    // A slow swing with a faster ripple: it crosses both limits now and then.
    const double v = 50 + 38 * std::sin(FTime / 1.7) + 7 * std::sin(FTime * 3.3);
    FMeter->SetValue(v);
    FBar->SetPBarValue(v);
    char text[16];
    std::snprintf(text, sizeof text, "%5.1f", v);
    FReadout->SetCaption(text);
    FLampLow->SetOnOff(v < FMeter->GetThresholdLow());
    FLampHigh->SetOnOff(v > FMeter->GetThresholdHigh());
  }

  TMeter* FMeter;
  TSevenSeg* FReadout;
  TProgBar* FBar;
  TNumIO2* FLow;
  TNumIO2* FHigh;
  TOnOffBut* FLampLow;
  TOnOffBut* FLampHigh;
  HWND FTimer = 0;
  double FTime = 0;
};

}  // namespace
}  // namespace qel

int main(int argc, char** argv) {
  return qel::example::Run(argc, argv, "qel-measurement-panel", [] {
    qel::TPanelForm* form = nullptr;
    qel::Application->CreateForm(form);
    return form;
  });
}

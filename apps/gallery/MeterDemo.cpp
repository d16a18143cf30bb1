#include "apps/gallery/MeterDemo.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "apps/gallery/DemoControls.h"
#include "numio/QEL_NumIO.h"
#include "platform/rtl/NumText.h"

namespace qel {

void TMeterDriver::Loaded() {
  HookMeters();
  TTimerDriver::Loaded();
}

namespace {

constexpr TColor kKnobBackdrop = RGB(255, 0, 255);

// A dial face that brightens towards the top. The meter loads its pictures from files, so the
// page draws it, writes it to a private temporary folder, hands the name over and removes the
// file again (the meter keeps its own copy).
void GiveFace(TMeter* M) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir = fs::temp_directory_path(ec) / ("qel-gallery-" + std::to_string(getpid()));
  if (ec || !fs::create_directories(dir, ec)) return;
  TBitmap face(64, 64);
  TCanvas* c = face.Canvas();
  for (int y = 0; y < 64; ++y) {
    const int v = 200 + y * 50 / 63;
    c->Pen()->SetColor(RGB(static_cast<uint8_t>(v), static_cast<uint8_t>(v),
                           static_cast<uint8_t>(std::min(255, v + 8))));
    c->MoveTo(0, 63 - y);
    c->LineTo(64, 63 - y);
  }
  const fs::path facePath = dir / "face.png";
  try {
    face.SaveToFile(facePath.string());
    M->SetBGFillMode(bfStretch);
    M->SetBakGndFname(facePath.string());
  } catch (const std::exception&) {
    // A page without its picture is still a working page.
  }
  fs::remove_all(dir, ec);
}

// A round knob with a highlight, on a backdrop of the one colour that is nowhere in the knob:
// drawn transparent, the backdrop is left out.
std::unique_ptr<TBitmap> MakeKnob() {
  auto knob = std::make_unique<TBitmap>(25, 25);
  TCanvas* c = knob->Canvas();
  c->Brush()->SetColor(kKnobBackdrop);
  c->FillRect(Rect(0, 0, 25, 25));
  c->Pen()->SetColor(RGB(40, 40, 48));
  c->Brush()->SetColor(RGB(90, 90, 104));
  c->Ellipse(1, 1, 24, 24);
  c->Pen()->SetColor(RGB(170, 170, 190));
  c->Brush()->SetColor(RGB(170, 170, 190));
  c->Ellipse(6, 5, 12, 11);
  knob->SetTransparent(true);  // the bottom-left pixel's colour: the backdrop
  return knob;
}

}  // namespace

// Every meter of the page reports the pointer here and selects itself when clicked; the
// numeric field named ValueField sets the driven meter's Value, and the meter named
// ImageMeter gets a background and an anchor image.
void TMeterDriver::HookMeters() {
  TComponent* owner = GetOwner();
  if (!owner) return;
  if (auto* f = dynamic_cast<TNumIO2*>(owner->FindComponent("ValueField"))) {
    f->OnChange = [this, f](TObject*) {
      TMeter* meter = GetMeter();
      if (!meter) return;
      SetRunning(false);
      meter->SetValue(f->GetValue());
    };
  }
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    auto* m = dynamic_cast<TMeter*>(owner->Components(i));
    if (!m) continue;
    if (m->GetName() == "ImageMeter") {
      GiveFace(m);
      if (!FKnob) FKnob = MakeKnob();
      m->SetAnchorCovrd(false);
      m->OnMeterRendered = [this, m](TObject*, TCanvas* C) {
        const TMeterGeometry& g = m->Geometry();
        C->Draw(g.CX - FKnob->GetWidth() / 2, g.CY - FKnob->GetHeight() / 2, FKnob.get());
      };
    }
    m->OnMouseMoveInMeter = [this, m](TObject*, bool Within, TShiftState, double V) {
      FReadout =
          m->GetName() + ": " +
          (Within ? "pointer at " + StrFixed(V, 1, 3) : std::string("pointer off the scale"));
      Invalidate();
    };
    m->OnClick = [m](TObject*) {
      if (auto* f = dynamic_cast<TSelectingForm*>(m->GetParentForm())) f->SelectComponent(m);
    };
  }
}

void TMeterDriver::SetSpeed(double Value) {
  if (std::isnan(Value)) return;
  FSpeed = std::clamp(Value, 0.0, 50.0);
}

// A triangle wave over the scale, in the scale's own spacing (logarithmic ones too).
void TMeterDriver::Tick() {
  TMeter* meter = GetMeter();
  if (!meter) return;
  FPhase = std::fmod(FPhase + FSpeed / 100, 2.0);
  const double f = FPhase <= 1 ? FPhase : 2 - FPhase;
  const double lo = meter->GetMeterMinValue(), hi = meter->GetMeterMaxValue();
  const double v = meter->GetLogarithmic() && lo > 0
                       ? std::exp(std::log(lo) + f * (std::log(hi) - std::log(lo)))
                       : lo + f * (hi - lo);
  meter->SetValue(v);
}

std::string TMeterDriver::StatusText() const {
  TMeter* meter = GetMeter();
  const std::string state =
      meter ? (GetRunning() ? "sweeping " : "paused (click to sweep) ") + meter->GetName() + "   "
            : std::string();
  return state + FReadout;
}

void RegisterMeterDemoClasses() {
  RegisterMeterClasses();
  RegisterNumIOClasses();
  RegisterTimerDriverClass();
  RegisterClass<TMeterDriver>("TMeterDriver", "TTimerDriver")
      .Component<TMeter>("Meter", &TMeterDriver::GetMeter, &TMeterDriver::SetMeter)
      .Prop("Speed", &TMeterDriver::GetSpeed, &TMeterDriver::SetSpeed, 1.5);
}

}  // namespace qel

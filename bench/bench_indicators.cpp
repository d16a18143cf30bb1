// A full repaint of an 800 x 600 progress bar (colour-table gradient, grid, value text, frames)
// and of an 800 x 600 gradient fill (255 bands, grid, frame) into a bitmap through PaintTo,
// against the 60 Hz frame budget. Each benchmark reports ratio_value = processor time of the
// painting thread per repaint / 16.7 ms (the goal is 0.01 or less) and ratio_wall, the same with
// elapsed time, which includes whatever else the machine is doing at the time. offscreen_floor
// is what a bitmap of the control's own would cost at that size (made, filled once, copied
// out): the two paints draw straight onto the surface, which is already off-screen.
#include <benchmark/benchmark.h>

#include <functional>

#include "bench/FrameBudget.h"
#include "indicators/QEL_ProgBar.h"
#include "indicators/QEL_gradfl.h"

namespace {

constexpr int kW = 800, kH = 600;

// Times Paint of C into a bitmap of its size; Change runs before every frame, outside the clock.
void PaintFrames(benchmark::State& State, qel::TControl& C, const std::function<void()>& Change) {
  qel::TBitmap target(kW, kH);
  qel::bench::FrameBudgetLoop(State, Change, [&] {
    C.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(kH / 2));
  });
}

void BM_ProgBarPaint(benchmark::State& State) {
  qel::TProgBar p(nullptr);
  p.SetBounds(0, 0, kW, kH);
  p.SetColorGrad(true);
  p.SetColorMapMode(qel::cgmMove);
  p.SetGridDist(10);
  p.SetTextPosX(kW / 2);
  p.SetTextPosY(kH / 2);
  p.SetTextDecPl(1);
  double value = 0;
  // The bar grows every frame, as it does when progress is animated.
  PaintFrames(State, p, [&] {
    value = value >= 100 ? 0 : value + 0.7;
    p.SetPBarValue(value + 30);
  });
}

void BM_GradFillPaint(benchmark::State& State) {
  qel::TGradFill g(nullptr);
  g.SetBounds(0, 0, kW, kH);
  g.SeTGradType(qel::gtMidBandVert);
  g.SetNrColors(255);
  g.SetGridMode(qel::gmHoriz);
  g.SetFrameStyle(qel::fsRaised);
  bool flipped = false;
  PaintFrames(State, g, [&] { g.SetColorFlipped(flipped = !flipped); });
}

// The floor every paint through an off-screen bitmap stands on: the bitmap made, filled once
// and copied out, with nothing else drawn.
class TOffscreenFloor : public qel::TGraphicControl {
 public:
  TOffscreenFloor() : TGraphicControl(nullptr) { SetBounds(0, 0, kW, kH); }

 protected:
  void Paint() override {
    qel::TBitmap off(kW, kH);
    off.Canvas()->Brush()->SetColor(qel::clSilver);
    off.Canvas()->FillRect(qel::Rect(0, 0, kW, kH));
    Canvas()->Draw(0, 0, &off);
  }
};

void BM_OffscreenFloor(benchmark::State& State) {
  TOffscreenFloor f;
  PaintFrames(State, f, [] {});
}

}  // namespace

BENCHMARK(BM_OffscreenFloor)->Name("offscreen_floor")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgBarPaint)->Name("progbar_paint")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GradFillPaint)->Name("gradfill_paint")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

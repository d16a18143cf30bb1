// A full repaint of the meter (bands, ticks, labels, caption, both needles with a shadow, lamps,
// frame) into a bitmap through PaintTo, against the 60 Hz frame budget. Each benchmark reports
// ratio_value = processor time of the painting thread per repaint / 16.7 ms (the goal is 0.03 or
// less) and ratio_wall, the same with elapsed time, which includes whatever else the machine is
// doing at the time.
#include <benchmark/benchmark.h>

#include "bench/FrameBudget.h"

#include "meter/QEL_Meter.h"

namespace {

void SetUpMeter(qel::TMeter& M, int W, int H) {
  M.SetBounds(0, 0, W, H);
  M.SetMaxValue(100);
  M.SetMinValue(-20);
  M.SetLowThreshold(10);
  M.SetHighThreshold(80);
  M.SetScaleBkWidth(15);
  M.SetScaleBkVis(true);
  M.SetUnitLabel("kPa");
  M.SetValue2(30);
  M.GetNeedleLayoutSec()->SetVisible(true);
  M.GetNeedleLayout()->SetShadowDx(2);
  M.GetNeedleLayout()->SetShadowDy(2);
}

void PaintMeter(benchmark::State& State, int W, int H) {
  qel::TMeter m(nullptr);
  SetUpMeter(m, W, H);
  qel::TBitmap target(W, H);
  double value = 0;
  qel::bench::FrameBudgetLoop(
      State, [&] {
        // The needle moves every frame, as it does when a value is animated.
        value = value >= 100 ? -20 : value + 1.7;
        m.SetValue(value);
      },
      [&] {
        m.PaintTo(&target);
        benchmark::DoNotOptimize(target.ScanLine(H / 2));
      });
}

void BM_MeterPaintDefault(benchmark::State& State) { PaintMeter(State, 297, 209); }
void BM_MeterPaintLarge(benchmark::State& State) { PaintMeter(State, 800, 600); }

}  // namespace

BENCHMARK(BM_MeterPaintDefault)->Name("meter_paint_297x209")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MeterPaintLarge)->Name("meter_paint_800x600")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

// A full repaint of a default TNumIO2 with gauge and spin buttons (and left and right texts)
// into a bitmap through PaintTo, against the 60 Hz frame budget. Reports ratio_value = time per
// repaint / 16.7 ms; the goal is 0.01 or less.
#include <benchmark/benchmark.h>

#include <chrono>

#include "numio/QEL_NumIO.h"

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 60;

void BM_NumIO2Paint(benchmark::State& State) {
  qel::TNumIO2 n(nullptr);
  n.SetButVisible(true);
  n.SetGaugeVisible(true);
  n.SetHeight(40);
  n.SetLeftText("U");
  n.SetRightText("mV");
  qel::TBitmap target(n.GetWidth(), n.GetHeight());
  double value = 0;
  double seconds = 0;
  for (auto _ : State) {
    // The value changes every frame, as it does while the gauge is dragged.
    value = value >= 1000 ? 0 : value + 17.3;
    n.SetValue(value);
    const auto t0 = std::chrono::steady_clock::now();
    n.PaintTo(&target);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(target.ScanLine(20));
  }
  if (State.iterations() > 0)
    State.counters["ratio_value"] = seconds / State.iterations() / kFrameBudgetSeconds;
}

}  // namespace

BENCHMARK(BM_NumIO2Paint)->Name("numio2_paint")->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

#pragma once
// Paint benchmarks against the 60 Hz frame budget. FrameBudgetLoop runs Step (the change a frame
// brings) and Paint (the repaint being measured) once per iteration, times only Paint, and
// reports ratio_value = processor time of the painting thread per repaint / 16.7 ms and
// ratio_wall, the same with elapsed time (which includes whatever else the machine is doing).
#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>

namespace qel::bench {

constexpr double kFrameBudgetSeconds = 1.0 / 60;

inline double ThreadSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

template <class StepFn, class PaintFn>
void FrameBudgetLoop(benchmark::State& State, StepFn Step, PaintFn Paint) {
  double seconds = 0, cpuSeconds = 0;
  for (auto _ : State) {
    Step();
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = ThreadSeconds();
    Paint();
    cpuSeconds += ThreadSeconds() - c0;
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  if (State.iterations() > 0) {
    const double n = static_cast<double>(State.iterations());
    State.counters["ratio_value"] = cpuSeconds / n / kFrameBudgetSeconds;
    State.counters["ratio_wall"] = seconds / n / kFrameBudgetSeconds;
  }
}

}  // namespace qel::bench

// Painting a 1,000,000 x 20 grid scrolled to its last row against the same grid at its first
// row (RATIO grid_bottom_vs_top: cell positions must not cost more the further down the grid is
// scrolled), and one full paint of a 1024 x 768 grid against the 60 Hz frame budget (RATIO
// grid_paint_frame: the reference "benchmark" reports exactly 1/60 s per iteration), and the same
// at 800 x 600 as a figure (VALUE grid_paint_800x600 = time per paint / 16.7 ms). Every cell draws a short text, as the
// report list and the table editor do; the text has the same length on every row, so that the
// comparison measures finding the cells, not drawing longer numbers.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "platform/grids/Grids.h"

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 60;

void SetUpGrid(qel::TDrawGrid& G, int W, int H) {
  G.SetBounds(0, 0, W, H);
  G.SetColCount(20);
  G.SetRowCount(1000000);
  G.OnDrawCell = [&G](qel::TObject*, int ACol, int ARow, const qel::TRect& R, qel::TGridDrawState) {
    G.Canvas()->TextRect(R, R.Left + 2, R.Top + 2,
                         std::to_string(ARow % 1000 + 1000) + ":" + std::to_string(ACol + 10));
  };
}

void PaintAt(benchmark::State& State, bool LastRow) {
  qel::TDrawGrid g(nullptr);
  SetUpGrid(g, 800, 600);
  g.SetTopRow(LastRow ? g.GetRowCount() - 1 : g.GetFixedRows());
  qel::TBitmap target(800, 600);
  for (auto _ : State) {
    g.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(300));
  }
}

void BM_LastRow(benchmark::State& State) { PaintAt(State, true); }
void BM_FirstRow(benchmark::State& State) { PaintAt(State, false); }

// One full paint per iteration, scrolling one row down each time as a user scrolling would.
void FullPaint(benchmark::State& State, int W, int H) {
  qel::TDrawGrid g(nullptr);
  SetUpGrid(g, W, H);
  qel::TBitmap target(W, H);
  int top = g.GetFixedRows();
  for (auto _ : State) {
    g.SetTopRow(top);
    top = top + 1 < 900000 ? top + 1 : g.GetFixedRows();
    g.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(H / 2));
  }
}

void BM_FullPaint(benchmark::State& State) { FullPaint(State, 1024, 768); }

void BM_FullPaint800(benchmark::State& State) {
  const auto t0 = std::chrono::steady_clock::now();
  FullPaint(State, 800, 600);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (State.iterations() > 0)
    State.counters["ratio_value"] =
        seconds / static_cast<double>(State.iterations()) / kFrameBudgetSeconds;
}

// The frame budget itself, reported through manual timing so that the ratio script pairs it.
void BM_FrameBudget(benchmark::State& State) {
  for (auto _ : State) State.SetIterationTime(kFrameBudgetSeconds);
}

}  // namespace

BENCHMARK(BM_LastRow)->Name("grid_bottom_vs_top/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstRow)->Name("grid_bottom_vs_top/ref")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Name("grid_paint_frame/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint800)->Name("grid_paint_800x600")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameBudget)
    ->Name("grid_paint_frame/ref")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

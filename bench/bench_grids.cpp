// Painting a 1,000,000 x 20 grid scrolled to its last row against the same grid at its first
// row (RATIO grid_last_row: cell positions must not cost more the further down the grid is
// scrolled), and one full paint of an 800 x 600 grid against the 60 Hz frame budget
// (VALUE grid_paint_800x600 = time per paint / 16.7 ms). Every cell draws a short text, as the
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

void BM_FullPaint(benchmark::State& State) {
  qel::TDrawGrid g(nullptr);
  SetUpGrid(g, 800, 600);
  qel::TBitmap target(800, 600);
  double seconds = 0;
  for (auto _ : State) {
    const auto t0 = std::chrono::steady_clock::now();
    g.PaintTo(&target);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(target.ScanLine(300));
  }
  if (State.iterations() > 0)
    State.counters["ratio_value"] =
        seconds / static_cast<double>(State.iterations()) / kFrameBudgetSeconds;
}

}  // namespace

BENCHMARK(BM_LastRow)->Name("grid_last_row/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FirstRow)->Name("grid_last_row/ref")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Name("grid_paint_800x600")->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

// The tree view at scale: painting a fully expanded tree of 100,000 nodes scrolled to its last
// row against the same tree at its first row (RATIO treeview_bottom_vs_top: finding the visible
// rows must not cost more the further down the tree is scrolled), and one full paint at
// 1024 x 768 against the 60 Hz frame budget (RATIO treeview_paint_frame; the reference reports
// exactly 1/60 s per iteration). Scrolling walks a page down each iteration, as a user paging
// through the tree would, so a cache that only serves a still picture does not count.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/widgets/ComCtrls.h"

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 60;
constexpr int kBranches = 100;  // 100 branches of 999 leaves: 100,000 nodes, two levels

void Fill(qel::TTreeView& T, int W, int H) {
  T.SetBounds(0, 0, W, H);
  qel::TTreeNodes* items = T.GetItems();
  items->BeginUpdate();
  for (int b = 0; b < kBranches; ++b) {
    qel::TTreeNode* branch = items->Add(nullptr, "Branch " + std::to_string(b + 1000));
    for (int l = 0; l < 999; ++l) items->AddChild(branch, "Leaf " + std::to_string(l + 1000));
  }
  items->EndUpdate();
  T.FullExpand();
}

void PaintAt(benchmark::State& State, bool Bottom) {
  qel::TTreeView t(nullptr);
  Fill(t, 800, 600);
  qel::TTreeNodes* items = t.GetItems();
  const int count = items->GetCount();
  qel::TBitmap target(800, 600);
  int row = Bottom ? count - 1000 : 0;
  for (auto _ : State) {
    t.SetTopItem(items->GetItem(row));
    row = Bottom ? (row + 40 < count - 40 ? row + 40 : count - 1000) : (row + 40) % 1000;
    t.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(300));
  }
}

void BM_Bottom(benchmark::State& State) { PaintAt(State, true); }
void BM_Top(benchmark::State& State) { PaintAt(State, false); }

void BM_FullPaint(benchmark::State& State) {
  qel::TTreeView t(nullptr);
  Fill(t, 1024, 768);
  qel::TTreeNodes* items = t.GetItems();
  qel::TBitmap target(1024, 768);
  int row = 0;
  for (auto _ : State) {
    t.SetTopItem(items->GetItem(row));
    row = (row + 50) % (items->GetCount() - 100);
    t.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(300));
  }
}

void BM_FrameBudget(benchmark::State& State) {
  for (auto _ : State) State.SetIterationTime(kFrameBudgetSeconds);
}

}  // namespace

BENCHMARK(BM_Bottom)->Name("treeview_bottom_vs_top/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Top)->Name("treeview_bottom_vs_top/ref")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaint)->Name("treeview_paint_frame/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameBudget)
    ->Name("treeview_paint_frame/ref")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

// TStringArray: sorting a million rows against std::stable_sort over std::string columns with
// the same cell comparison, and the heap bytes a short cell costs.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "frame/QEL_dstruct.h"

namespace {

constexpr int kRows = 1000000;

// Three columns of 8-character cells: words from a small vocabulary (many ties, mixed case),
// decimal numbers, and free texts.
struct TData {
  std::array<std::vector<std::string>, 3> Cols;
  TData() {
    uint64_t s = 0x9E3779B97F4A7C15ull;
    auto next = [&s] {
      s ^= s << 13;
      s ^= s >> 7;
      s ^= s << 17;
      return s;
    };
    std::vector<std::string> words;
    for (int i = 0; i < 500; ++i) {
      std::string w;
      for (int k = 0; k < 8; ++k) {
        const char base = (next() & 1) ? 'A' : 'a';
        w.push_back(static_cast<char>(base + next() % 26));
      }
      words.push_back(w);
    }
    for (auto& c : Cols) c.reserve(kRows);
    for (int r = 0; r < kRows; ++r) {
      Cols[0].push_back(words[next() % words.size()]);
      char num[16];
      std::snprintf(num, sizeof num, "%8.2f", static_cast<double>(next() % 1000000) / 100);
      Cols[1].push_back(num);
      std::string t;
      for (int k = 0; k < 8; ++k) t.push_back(static_cast<char>('a' + next() % 26));
      Cols[2].push_back(t);
    }
  }
};

const TData& Data() {
  static const TData data;
  return data;
}

void BM_SortOurs(benchmark::State& state) {
  const TData& d = Data();
  qel::TStringArray a(3, kRows);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < kRows; ++r) a.SetString(c + 1, r + 1, d.Cols[c][r]);
  for (auto _ : state) {
    a.Sort(1, 2, true);  // every sort starts from the stored order
    benchmark::DoNotOptimize(a.GetSortOrder(1));
  }
}
BENCHMARK(BM_SortOurs)->Name("sort/ours")->Unit(benchmark::kMillisecond);

void BM_SortRef(benchmark::State& state) {
  const TData& d = Data();
  std::vector<int> idx(kRows);
  for (auto _ : state) {
    std::iota(idx.begin(), idx.end(), 0);
    std::stable_sort(idx.begin(), idx.end(), [&](int x, int y) {
      int c = qel::CompareSortCells(d.Cols[0][x], d.Cols[0][y]);
      if (c == 0) c = qel::CompareSortCells(d.Cols[1][x], d.Cols[1][y]);
      return c < 0;
    });
    benchmark::DoNotOptimize(idx.data());
  }
}
BENCHMARK(BM_SortRef)->Name("sort/ref")->Unit(benchmark::kMillisecond);

// Heap bytes per data cell of a million rows of three 8-character columns.
void BM_CellBytes(benchmark::State& state) {
  const TData& d = Data();
  double perCell = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    {
      qel::TStringArray a(3, kRows);
      for (int c = 0; c < 3; ++c)
        for (int r = 0; r < kRows; ++r) a.SetString(c + 1, r + 1, d.Cols[2][r]);
      const size_t after = mallinfo2().uordblks;
      perCell = static_cast<double>(after - before) / (3.0 * kRows);
    }
  }
  state.counters["ratio_value"] = perCell;
}
BENCHMARK(BM_CellBytes)->Name("cellbytes")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

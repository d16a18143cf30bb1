// Number texts of the numeric fields against the C++ and C libraries: reading a million texts
// with ScanFloatText vs std::from_chars, and writing fixed-point fields with FormatFloatField vs
// snprintf.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "numio/NumNotation.h"

namespace {

constexpr int kTexts = 1000000;

// Texts as a numeric field holds them: a few digits, a point, sometimes a sign or an exponent.
const std::vector<std::string>& NumericTexts() {
  static const std::vector<std::string> texts = [] {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> mant(-1000, 1000);
    std::uniform_int_distribution<int> kind(0, 3), decimals(0, 6), exp10(-30, 30);
    std::vector<std::string> out;
    out.reserve(kTexts);
    char buf[64];
    for (int i = 0; i < kTexts; ++i) {
      const int k = kind(rng);
      if (k == 3)
        std::snprintf(buf, sizeof buf, "%.*fe%d", decimals(rng), mant(rng), exp10(rng));
      else
        std::snprintf(buf, sizeof buf, "%.*f", decimals(rng), mant(rng));
      out.emplace_back(buf);
    }
    return out;
  }();
  return texts;
}

void BM_ScanFloatOurs(benchmark::State& state) {
  const auto& texts = NumericTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : texts) {
      int pos = 1;
      sum += qel::ScanFloatText(t, true, qel::kSepPoint, pos);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_ScanFloatOurs)->Name("scan_float/ours")->Unit(benchmark::kMillisecond);

void BM_ScanFloatRef(benchmark::State& state) {
  const auto& texts = NumericTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : texts) {
      double v = 0;
      std::from_chars(t.data(), t.data() + t.size(), v);
      sum += v;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_ScanFloatRef)->Name("scan_float/ref")->Unit(benchmark::kMillisecond);

// The full-precision path alone, to show what the fast path saves (not part of a ratio).
void BM_ScanFloatByVal(benchmark::State& state) {
  const auto& texts = NumericTexts();
  for (auto _ : state) {
    double sum = 0;
    for (const std::string& t : texts) {
      int pos = 1;
      sum += qel::ScanFloatTextByVal(t, true, qel::kSepPoint, pos);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kTexts);
}
BENCHMARK(BM_ScanFloatByVal)->Name("scan_float_by_val")->Unit(benchmark::kMillisecond);

const std::vector<double>& Values() {
  static const std::vector<double> values = [] {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> d(-1e6, 1e6);
    std::vector<double> out(100000);
    for (double& v : out) v = d(rng);
    return out;
  }();
  return values;
}

void BM_FormatFloatOurs(benchmark::State& state) {
  const auto& values = Values();
  for (auto _ : state) {
    size_t total = 0;
    for (double v : values) total += qel::FormatFloatField(10, 3, v).size();
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_FormatFloatOurs)->Name("format_float/ours")->Unit(benchmark::kMillisecond);

void BM_FormatFloatRef(benchmark::State& state) {
  const auto& values = Values();
  for (auto _ : state) {
    size_t total = 0;
    char buf[64];
    for (double v : values) {
      const int n = std::snprintf(buf, sizeof buf, "%10.3f", v);
      total += std::string(buf, static_cast<size_t>(n)).size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_FormatFloatRef)->Name("format_float/ref")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

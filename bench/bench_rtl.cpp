// The runtime's hot paths against the libraries they stand beside: reading number texts with
// Val vs std::from_chars, writing fixed notation with StrFixed vs snprintf, and sorting a
// string list vs std::stable_sort.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/NumText.h"
#include "platform/rtl/Strings.h"

namespace {

constexpr int kCount = 100000;

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> mant(-1000, 1000);
    std::uniform_int_distribution<int> decimals(0, 6), exp10(-30, 30), kind(0, 3);
    std::vector<std::string> out;
    char buf[64];
    for (int i = 0; i < kCount; ++i) {
      if (kind(rng) == 3)
        std::snprintf(buf, sizeof buf, "%.*fe%d", decimals(rng), mant(rng), exp10(rng));
      else
        std::snprintf(buf, sizeof buf, "%.*f", decimals(rng), mant(rng));
      out.emplace_back(buf);
    }
    return out;
  }();
  return texts;
}

const std::vector<long double>& Values() {
  static const std::vector<long double> values = [] {
    std::mt19937 rng(2);
    std::uniform_real_distribution<double> v(-1e6, 1e6);
    std::vector<long double> out;
    for (int i = 0; i < kCount; ++i) out.push_back(v(rng));
    return out;
  }();
  return values;
}

void BM_ValOurs(benchmark::State& state) {
  for (auto _ : state) {
    long double sum = 0;
    for (const std::string& t : Texts()) {
      long double x;
      int code;
      qel::Val(t, x, code);
      sum += x;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ValOurs)->Name("val/ours")->Unit(benchmark::kMillisecond);

void BM_ValRef(benchmark::State& state) {
  for (auto _ : state) {
    long double sum = 0;
    for (const std::string& t : Texts()) {
      long double x = 0;
      std::from_chars(t.data(), t.data() + t.size(), x);
      sum += x;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_ValRef)->Name("val/ref")->Unit(benchmark::kMillisecond);

void BM_StrFixedOurs(benchmark::State& state) {
  for (auto _ : state) {
    size_t len = 0;
    for (long double v : Values()) len += qel::StrFixed(v, 12, 3).size();
    benchmark::DoNotOptimize(len);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_StrFixedOurs)->Name("strfixed/ours")->Unit(benchmark::kMillisecond);

void BM_StrFixedRef(benchmark::State& state) {
  for (auto _ : state) {
    size_t len = 0;
    char buf[64];
    for (long double v : Values())
      len += std::string(buf, std::snprintf(buf, sizeof buf, "%12.3Lf", v)).size();
    benchmark::DoNotOptimize(len);
  }
  state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_StrFixedRef)->Name("strfixed/ref")->Unit(benchmark::kMillisecond);

void BM_SortOurs(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    qel::TStringList list;
    list.SetCaseSensitive(true);
    for (const std::string& t : Texts()) list.Add(t);
    state.ResumeTiming();
    list.Sort();
    benchmark::DoNotOptimize(list.Get(0));
  }
}
BENCHMARK(BM_SortOurs)->Name("stringlist_sort/ours")->Unit(benchmark::kMillisecond);

void BM_SortRef(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::string> v = Texts();
    state.ResumeTiming();
    std::stable_sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.front());
  }
}
BENCHMARK(BM_SortRef)->Name("stringlist_sort/ref")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

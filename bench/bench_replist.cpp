// The report-list store's exchange and sorting against their peers: a replist XML save and
// load of 100,000 rows x 10 columns against pugixml alone parsing and walking the same file, a
// CSV export and import against reading and splitting the same file with plain C++, and
// sorting 1,000,000 rows against std::stable_sort of the same cells.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <numeric>
#include <pugixml.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "replist/QEL_replist.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;
constexpr int kSortRows = 1000000;

std::string RandomWord(std::mt19937& Rng, int MinLen, int MaxLen) {
  std::uniform_int_distribution<int> len(MinLen, MaxLen), letter(0, 25), kind(0, 9);
  std::string s;
  const int n = len(Rng);
  for (int i = 0; i < n; ++i) s += static_cast<char>((kind(Rng) == 0 ? 'A' : 'a') + letter(Rng));
  return s;
}

// A measurement table: a label, names, numbers, a check column and some texts to escape.
qel::TRLData& ExchangeStore() {
  static std::unique_ptr<qel::TRLData> store = [] {
    auto d = std::make_unique<qel::TRLData>(nullptr);
    d->SetNrCols(kCols);
    d->SetNrRows(kRows);
    d->SetColCheckMode(2, qel::cmBox);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1000, 1000);
    char buf[32];
    for (int r = 1; r <= kRows; ++r) {
      d->SetElem(0, r, std::to_string(r));
      for (int c = 1; c <= kCols; ++c) {
        if (c % 3 == 0) {
          std::snprintf(buf, sizeof buf, "%.4f", value(rng));
          d->SetElem(c, r, buf);
        } else if (c == 5) {
          d->SetElem(c, r, "a \"quoted\", <b> & " + RandomWord(rng, 2, 6));
        } else {
          d->SetElem(c, r, RandomWord(rng, 3, 12));
        }
      }
      if (r % 2) d->SetElemChecked(2, r, true);
    }
    return d;
  }();
  return *store;
}

std::string TempPath(const char* Name) {
  return "/tmp/bench_replist_" + std::to_string(::getpid()) + "_" + Name;
}

void BM_XmlRoundTripOurs(benchmark::State& state) {
  qel::TRLData& src = ExchangeStore();
  const std::string path = TempPath("ours.xml");
  qel::TRLData dst(nullptr);
  for (auto _ : state) {
    src.SaveAsXMLFile(path, "bench");
    dst.LoadFromXMLFile(path, "bench");
    benchmark::DoNotOptimize(dst.GetNrOfRows());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_XmlRoundTripOurs)->Name("xml_roundtrip/ours")->Unit(benchmark::kMillisecond);

// The two halves of the round trip, to see where the time goes.
void BM_XmlSave(benchmark::State& state) {
  qel::TRLData& src = ExchangeStore();
  const std::string path = TempPath("save.xml");
  for (auto _ : state) src.SaveAsXMLFile(path, "bench");
  std::remove(path.c_str());
}
BENCHMARK(BM_XmlSave)->Name("xml_save")->Unit(benchmark::kMillisecond);

void BM_XmlText(benchmark::State& state) {
  qel::TRLData& src = ExchangeStore();
  for (auto _ : state) benchmark::DoNotOptimize(src.XMLText(true, "bench").size());
}
BENCHMARK(BM_XmlText)->Name("xml_text")->Unit(benchmark::kMillisecond);

void BM_XmlLoad(benchmark::State& state) {
  const std::string path = TempPath("load.xml");
  ExchangeStore().SaveAsXMLFile(path, "bench");
  qel::TRLData dst(nullptr);
  for (auto _ : state) {
    dst.LoadFromXMLFile(path, "bench");
    benchmark::DoNotOptimize(dst.GetNrOfRows());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_XmlLoad)->Name("xml_load")->Unit(benchmark::kMillisecond);

void BM_XmlRoundTripRef(benchmark::State& state) {
  const std::string path = TempPath("ref.xml");
  ExchangeStore().SaveAsXMLFile(path, "bench");
  for (auto _ : state) {
    pugi::xml_document doc;
    doc.load_file(path.c_str(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    size_t sum = 0;
    for (pugi::xml_node n : doc.child("replist").children()) {
      sum += std::strlen(n.child_value());
      sum += static_cast<size_t>(n.attribute("col").as_int() + n.attribute("row").as_int());
    }
    benchmark::DoNotOptimize(sum);
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_XmlRoundTripRef)->Name("xml_roundtrip/ref")->Unit(benchmark::kMillisecond);

void BM_CsvRoundTripOurs(benchmark::State& state) {
  qel::TRLData& src = ExchangeStore();
  const std::string path = TempPath("ours.csv");
  qel::TRLData dst(nullptr);
  for (auto _ : state) {
    src.ExportCSV(path, qel::csvSemicolon, true, true, 1, 1, kCols, kRows);
    dst.ImportCSV(path, qel::csvSemicolon, true);
    benchmark::DoNotOptimize(dst.GetNrOfRows());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_CsvRoundTripOurs)->Name("csv_roundtrip/ours")->Unit(benchmark::kMillisecond);

void BM_CsvRoundTripRef(benchmark::State& state) {
  const std::string path = TempPath("ref.csv");
  ExchangeStore().ExportCSV(path, qel::csvSemicolon, true, true, 1, 1, kCols, kRows);
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> fields;
    std::string field;
    for (const char ch : text) {
      if (ch == ';') {
        fields.push_back(std::move(field));
        field.clear();
      } else if (ch == '\n') {
        fields.push_back(std::move(field));
        field.clear();
        rows.push_back(std::move(fields));
        fields.clear();
      } else if (ch != '\r') {
        field += ch;
      }
    }
    benchmark::DoNotOptimize(rows.size());
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_CsvRoundTripRef)->Name("csv_roundtrip/ref")->Unit(benchmark::kMillisecond);

const std::vector<std::string>& SortCells() {
  static const std::vector<std::string> cells = [] {
    std::mt19937 rng(11);
    std::vector<std::string> out;
    out.reserve(kSortRows);
    for (int i = 0; i < kSortRows; ++i) out.push_back(RandomWord(rng, 4, 14));
    return out;
  }();
  return cells;
}

void BM_SortOurs(benchmark::State& state) {
  qel::TRLData d(nullptr);
  d.SetNrRows(kSortRows);
  const auto& cells = SortCells();
  for (int r = 1; r <= kSortRows; ++r) d.SetElem(1, r, cells[r - 1]);
  bool ascending = true;
  for (auto _ : state) {
    d.Sort(1, -1, ascending);
    ascending = !ascending;
    benchmark::DoNotOptimize(d.GetStorage()->GetSortOrder(1));
  }
}
BENCHMARK(BM_SortOurs)->Name("rl_sort/ours")->Unit(benchmark::kMillisecond);

void BM_SortRef(benchmark::State& state) {
  const auto& cells = SortCells();
  std::vector<int> order(cells.size());
  bool ascending = true;
  for (auto _ : state) {
    std::iota(order.begin(), order.end(), 0);
    if (ascending)
      std::stable_sort(order.begin(), order.end(),
                       [&](int a, int b) { return cells[a] < cells[b]; });
    else
      std::stable_sort(order.begin(), order.end(),
                       [&](int a, int b) { return cells[b] < cells[a]; });
    ascending = !ascending;
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_SortRef)->Name("rl_sort/ref")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The report-list store's exchange and sorting against their peers: a replist XML save and
// load of 100,000 rows x 10 columns against pugixml alone parsing and walking the same file, a
// CSV export and import against reading and splitting the same file with plain C++, and
// sorting 1,000,000 rows against std::stable_sort of the same cells. The files are kept in
// memory (tmpfs) where there is one; xml_save_disk shows the durable save on a disk. The view: a header click
// sorting 1,000,000 rows (the selection following its record) against std::stable_sort of the
// same keys (RATIO replist_header_sort), and one repaint of a 1,000,000-row list at 1024 x 768
// scrolled a row further each time against Qt 5's QTableView doing the same offscreen on a
// model of the same cells (RATIO replist_scroll_frame; without Qt the reference is the 60 Hz
// frame budget, exactly 1/60 s per iteration), and that repaint as a share of the frame budget
// (VALUE replist_scroll_frame_budget).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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

#ifdef QEL_HAVE_QT
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#endif

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

// Files go to memory (tmpfs) where there is one: a save flushes its file and folder to the
// device, and the time the device takes to confirm is the disk's, not the code's
// (xml_save_disk shows it).
std::string TempPath(const char* Name, bool Disk = false) {
  const char* folder = !Disk && ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(folder) + "/bench_replist_" + std::to_string(::getpid()) + "_" + Name;
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

void BM_XmlSaveDisk(benchmark::State& state) {
  qel::TRLData& src = ExchangeStore();
  const std::string path = TempPath("save.xml", true);
  for (auto _ : state) src.SaveAsXMLFile(path, "bench");
  std::remove(path.c_str());
}
BENCHMARK(BM_XmlSaveDisk)->Name("xml_save_disk")->Unit(benchmark::kMillisecond);

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

// A header click: the press in the middle of the first column's header.
void BM_HeaderSortOurs(benchmark::State& state) {
  qel::TReportListView v(nullptr);
  v.SetBounds(0, 0, 400, 300);
  v.SetNrCols(1);
  v.SetNrRows(kSortRows);
  const auto& cells = SortCells();
  for (int r = 1; r <= kSortRows; ++r) v.SetElem(1, r, cells[r - 1]);
  v.SetSuppressPaint(false);
  const qel::TRect h = v.CellRect(0, 0);
  const int x = (h.Left + h.Right) / 2, y = (h.Top + h.Bottom) / 2;
  for (auto _ : state) {
    v.MouseDown(qel::mbLeft, {}, x, y);
    v.MouseUp(qel::mbLeft, {}, x, y);
    benchmark::DoNotOptimize(v.Data()->GetStorage()->GetSortOrder(1));
  }
}
BENCHMARK(BM_HeaderSortOurs)->Name("replist_header_sort/ours")->Unit(benchmark::kMillisecond);

void BM_HeaderSortRef(benchmark::State& state) { BM_SortRef(state); }
BENCHMARK(BM_HeaderSortRef)->Name("replist_header_sort/ref")->Unit(benchmark::kMillisecond);

constexpr double kFrameBudgetSeconds = 1.0 / 60;

// A measurement list of a million rows: numbers, times, names, a check column, a password.
// Built once: Google Benchmark calls the function several times.
qel::TReportListView& ScrollList() {
  static std::unique_ptr<qel::TReportListView> list = [] {
    auto v = std::make_unique<qel::TReportListView>(nullptr);
    v->SetBounds(0, 0, 1024, 768);
    v->SetNrCols(8);
    v->SetNrRows(kSortRows);
    v->SetCommonHeaderVisible(true);
    v->SetColCheckMode(5, qel::cmBox);
    v->SetColumnIsPwd(7, true);
    v->SetColAlignment(2, qel::taRightJustify);
    const auto& words = SortCells();
    char buf[32];
    for (int r = 1; r <= kSortRows; ++r) {
      v->SetElem(1, r, std::to_string(r));
      std::snprintf(buf, sizeof buf, "%.3f", (int64_t{r} * 7919 % 200000) / 100.0);
      v->SetElem(2, r, buf);
      std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", r / 3600 % 24, r / 60 % 60, r % 60);
      v->SetElem(3, r, buf);
      v->SetElem(4, r, words[r - 1]);
      v->SetElem(5, r, r % 3 ? "passed" : "check");
      v->SetElemChecked(5, r, r % 2 == 0);
      v->SetElem(6, r, words[(r * 7) % kSortRows]);
      v->SetElem(7, r, "secret");
      v->SetElem(8, r, words[(r * 13) % kSortRows]);
      if (r % 50 == 0) v->SetRowEnabled(r, false);
    }
    v->SetRowColPattern(2);
    v->SetRowSelect(10, true);
    return v;
  }();
  return *list;
}

void ScrollFrame(benchmark::State& state, bool Budget) {
  qel::TReportListView& v = ScrollList();
  qel::TBitmap target(1024, 768);
  v.PaintTo(&target);
  int top = 1;
  const auto t0 = std::chrono::steady_clock::now();
  for (auto _ : state) {
    v.SetTopRow(top);
    top = top + 1 < 900000 ? top + 1 : 1;
    v.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(384));
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  if (Budget && state.iterations() > 0)
    state.counters["ratio_value"] =
        seconds / static_cast<double>(state.iterations()) / kFrameBudgetSeconds;
}
void BM_ScrollFrame(benchmark::State& state) { ScrollFrame(state, false); }
void BM_ScrollFrameBudget(benchmark::State& state) { ScrollFrame(state, true); }
BENCHMARK(BM_ScrollFrame)->Name("replist_scroll_frame/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollFrameBudget)->Name("replist_scroll_frame_budget")->Unit(benchmark::kMicrosecond);

#ifdef QEL_HAVE_QT
// The same cells, read from the same store, as a Qt model: texts, a check state, a masked
// password, right-aligned values.
class TListModel : public QAbstractTableModel {
 public:
  explicit TListModel(const qel::TStringArray* S) : FCells(S) {}
  int rowCount(const QModelIndex& = QModelIndex()) const override { return kSortRows; }
  int columnCount(const QModelIndex& = QModelIndex()) const override { return 8; }
  QVariant data(const QModelIndex& Index, int Role) const override {
    const int c = Index.column() + 1, r = Index.row() + 1;
    std::string_view t = FCells->GetStringView(c, r);
    if (Role == Qt::CheckStateRole && c == 5)
      return !t.empty() && t[0] != ' ' ? Qt::Checked : Qt::Unchecked;
    if (Role == Qt::TextAlignmentRole && c == 2) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (Role != Qt::DisplayRole) return QVariant();
    if (c == 7) return QStringLiteral("******");
    if (c == 5 && !t.empty()) t.remove_prefix(1);
    return QString::fromUtf8(t.data(), static_cast<int>(t.size()));
  }

 private:
  const qel::TStringArray* FCells;
};

void BM_ScrollFrameQt(benchmark::State& state) {
  qel::TReportListView& v = ScrollList();
  static int argc = 1;
  static char arg0[] = "bench_replist";
  static char* argv[] = {arg0, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
  TListModel model(v.Data()->GetStorage());
  QTableView view;
  view.setModel(&model);
  view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view.verticalHeader()->setDefaultSectionSize(v.GetDefaultRowHeight());
  view.verticalHeader()->hide();
  view.setShowGrid(false);
  view.setAlternatingRowColors(true);
  view.resize(1024, 768);
  view.show();
  QImage target(1024, 768, QImage::Format_ARGB32_Premultiplied);
  view.render(&target);
  int top = 0;
  for (auto _ : state) {
    view.verticalScrollBar()->setValue(top);
    top = top + 1 < 900000 ? top + 1 : 0;
    view.render(&target);
    benchmark::DoNotOptimize(target.scanLine(384));
  }
}
BENCHMARK(BM_ScrollFrameQt)->Name("replist_scroll_frame/ref")->Unit(benchmark::kMicrosecond);
#else
void BM_FrameBudget(benchmark::State& state) {
  for (auto _ : state) state.SetIterationTime(kFrameBudgetSeconds);
}
BENCHMARK(BM_FrameBudget)
    ->Name("replist_scroll_frame/ref")
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMicrosecond);
#endif

}  // namespace

BENCHMARK_MAIN();

// Sizes that used to take quadratic time or memory, as figures:
//   VALUE memo_100k_lines   seconds to read, write and destroy a form whose memo has 100,000 lines
//   VALUE components_100k   seconds to read, write and destroy a form of 100,000 panels
//   VALUE csv_empty_fields_peak  peak memory of importing 50 MB of empty CSV fields / file size
//   VALUE lines_newlines_peak    peak memory of loading 50 MB of line breaks / file size
// The goals are about a second for the first two and at most about 4 for the last two. Peak
// memory is measured in a child process (its maximum resident size before and after the read).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/widgets/StdCtrls.h"
#include "replist/QEL_replist.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point Since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

void ReadWriteDestroy(benchmark::State& State, const std::string& Text) {
  qel::ResetHeadlessApplication();
  qel::RegisterStdWidgetClasses();
  double total = 0;
  for (auto _ : State) {
    const auto t0 = std::chrono::steady_clock::now();
    std::unique_ptr<qel::TComponent> root(qel::CreateComponentFromText(Text, nullptr));
    benchmark::DoNotOptimize(qel::WriteComponentText(root.get()).size());
    root.reset();
    total += Seconds(t0);
  }
  State.counters["ratio_value"] = total / static_cast<double>(State.iterations());
}

void BM_Memo100k(benchmark::State& State) {
  std::string text = "object F: TForm\n  object M: TMemo\n    Lines.Strings = (\n";
  for (int i = 0; i < 100000; ++i) text += "      'line " + std::to_string(i) + "'\n";
  text += "    )\n  end\nend\n";
  ReadWriteDestroy(State, text);
}
BENCHMARK(BM_Memo100k)->Name("memo_100k_lines")->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Components100k(benchmark::State& State) {
  std::string text = "object F: TForm\n";
  for (int i = 0; i < 100000; ++i)
    text += "  object P" + std::to_string(i) + ": TPanel\n    Left = " + std::to_string(i % 500) +
            "\n  end\n";
  text += "end\n";
  ReadWriteDestroy(State, text);
}
BENCHMARK(BM_Components100k)->Name("components_100k")->Unit(benchmark::kMillisecond)->Iterations(1);

long MaxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Runs Read in a child and returns its peak memory growth over the file's size.
template <class Fn>
double PeakOverFile(const std::string& Path, size_t Bytes, Fn&& Read) {
  const pid_t pid = fork();
  if (pid == 0) {
    const long before = MaxRssKb();
    try {
      Read();
    } catch (...) {
      _exit(2);
    }
    const long after = MaxRssKb();
    // The growth in units of the file size, passed back through a small file.
    std::ofstream(Path + ".peak") << static_cast<double>(after - before) * 1024.0 / Bytes;
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  double v = -1;
  std::ifstream(Path + ".peak") >> v;
  std::remove((Path + ".peak").c_str());
  return v;
}

std::string MakeFile(const std::string& Name, char Ch, size_t Bytes, size_t LineLength) {
  const std::string path = "/tmp/qel-bench-" + std::to_string(getpid()) + "-" + Name;
  std::string line(LineLength - 1, Ch);
  line += '\n';
  std::ofstream f(path, std::ios::binary);
  for (size_t done = 0; done < Bytes; done += line.size()) f << line;
  return path;
}

void BM_CsvEmptyFields(benchmark::State& State) {
  constexpr size_t kBytes = 50u << 20;
  const std::string path = MakeFile("empty.csv", ',', kBytes, 20);
  double v = 0;
  for (auto _ : State)
    v = PeakOverFile(path, kBytes, [&] {
      qel::TRLData d(nullptr);
      d.ImportCSV(path, qel::csvComma, false);
    });
  std::remove(path.c_str());
  State.counters["ratio_value"] = v;
}
BENCHMARK(BM_CsvEmptyFields)->Name("csv_empty_fields_peak")->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LinesOfNewlines(benchmark::State& State) {
  constexpr size_t kBytes = 50u << 20;
  const std::string path = MakeFile("newlines.txt", '\n', kBytes, 1);
  double v = 0;
  for (auto _ : State)
    v = PeakOverFile(path, kBytes, [&] {
      qel::TRLData d(nullptr);
      d.LoadLinesFromFile(1, 1, path);
    });
  std::remove(path.c_str());
  State.counters["ratio_value"] = v;
}
BENCHMARK(BM_LinesOfNewlines)->Name("lines_newlines_peak")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

// A data logger: readings arrive as a CSV file (generated here, as a logging device would write
// it), are imported into a report list, filtered by a text typed into the box, sorted by any
// column with a click on its header, edited in place, and exported as an HTML table.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "examples/ExampleMain.h"
#include "platform/widgets/StdCtrls.h"
#include "replist/QEL_replist.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

// The device's log: one reading a minute over a day, with a warning now and then.
std::string WriteDeviceLog(const fs::path& Dir) {
  const fs::path file = Dir / "device-log.csv";
  std::ofstream out(file);
  out << "Time;Sensor;Temperature;Pressure;Status\n";
  for (int i = 0; i < 1440; ++i) {
    const double t = 21.5 + 4 * std::sin(i / 180.0) + 0.3 * std::sin(i * 1.7);
    const double p = 1013 + 6 * std::cos(i / 240.0);
    const bool warn = t > 25.2;
    char line[128];
    std::snprintf(line, sizeof line, "%02d:%02d;S%d;%.2f;%.1f;%s\n", i / 60, i % 60, 1 + i % 3, t,
                  p, warn ? "warning" : "ok");
    out << line;
  }
  return file.string();
}

class TLoggerForm : public TForm {
 public:
  explicit TLoggerForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Data logger");
    SetClientWidth(620);
    SetClientHeight(420);
    std::error_code ec;
    FDir = fs::temp_directory_path(ec) / ("qel-data-logger-" + std::to_string(getpid()));
    fs::create_directories(FDir, ec);

    FList = new TReportListView(this);
    FList->SetParent(this);
    FList->SetBounds(8, 44, 604, 330);
    FList->ImportCSV(WriteDeviceLog(FDir), csvSemicolon, true);
    FList->SetCommonHeader("Readings of one day");
    FList->SetDefaultRowHeight(18);
    FList->SetSortEnabled(true);  // a header click sorts by that column
    // Every column as wide as its texts, the last one taking what is left.
    FList->FitAllColWidths(FList->GetNrOfColumns(), true, 8, 200, 0);

    FFilter = new TEdit(this);
    FFilter->SetParent(this);
    FFilter->SetBounds(8, 10, 200, 24);
    FFilter->SetText("warning");
    Button("Filter", 216, [this] { ApplyFilter(); });
    Button("Show all", 304, [this] {
      FFilter->SetText("");
      ApplyFilter();
    });
    Button("Export HTML", 392, [this] { Export(); });

    FStatus = new TLabel(this);
    FStatus->SetParent(this);
    FStatus->SetBounds(8, 384, 604, 24);
    ApplyFilter();
  }
  ~TLoggerForm() override {
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }

 private:
  TButton* Button(const char* Caption, int Left, std::function<void()> Action) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetBounds(Left, 9, 84, 26);
    b->SetCaption(Caption);
    b->OnClick = [Action](TObject*) { Action(); };
    return b;
  }
  void ApplyFilter() {
    try {
      // Matching rows come first, sorted by temperature, warmest first; the others are
      // disabled and kept below them.
      const int found = FList->FilterAndSort(FFilter->GetText(), {2, 5}, false, fmSimple, 3, false);
      FStatus->SetCaption(std::to_string(found) + " of " + std::to_string(FList->GetNrOfRows()) +
                          " readings match \"" + FFilter->GetText() +
                          "\"; click a header to sort, double-click a cell to edit it");
    } catch (const std::exception& e) {
      FStatus->SetCaption(e.what());
    }
  }
  void Export() {
    const fs::path file = FDir / "readings.html";
    try {
      FList->ExportHTMLTable(file.string(), 1, 1, FList->GetNrOfColumns(), FList->GetNrOfRows(),
                             {}, 1, 2, 0, true, "Readings", "Readings of one day", "");
      FStatus->SetCaption("Exported to " + file.string());
    } catch (const std::exception& e) {
      FStatus->SetCaption(e.what());
    }
  }

  fs::path FDir;
  TReportListView* FList;
  TEdit* FFilter;
  TLabel* FStatus;
};

}  // namespace
}  // namespace qel

int main(int argc, char** argv) {
  return qel::example::Run(argc, argv, "qel-data-logger", [] {
    qel::TLoggerForm* form = nullptr;
    qel::Application->CreateForm(form);
    return form;
  });
}

// The report list's filter on arbitrary filter texts in all three modes: no crash; a refused
// expression or pattern raises EQELRepListError and changes nothing; otherwise the kept rows
// are enabled, come first, and their count is the result. Byte 0 picks the mode and the case
// sensitivity, the rest is the filter text.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "replist/QEL_replist.h"

namespace {

std::vector<std::string> Snapshot(qel::TReportListView& V) {
  std::vector<std::string> s;
  for (int r = 1; r <= V.GetNrOfRows(); ++r)
    s.push_back(V.GetElem(1, r) + (V.GetRowEnabled(r) ? "+" : "-"));
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0 || Size > 4096) return 0;
  const auto mode = static_cast<qel::TFilterMode>(Data[0] % 3);
  const bool caseSensitive = (Data[0] & 4) != 0;
  const std::string text(reinterpret_cast<const char*>(Data + 1), Size - 1);
  qel::TReportListView v(nullptr);
  v.SetNrCols(2);
  const char* cells[] = {"Pressure (kPa)",
                         "a+b",
                         "\"quoted\"",
                         "",
                         "Ärger ÄÖÜ",
                         "x OR y",
                         "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa!",
                         "tab\there",
                         "NOT this"};
  v.SetNrRows(static_cast<int>(std::size(cells)));
  for (int r = 1; r <= v.GetNrOfRows(); ++r) {
    v.SetElem(1, r, cells[r - 1]);
    v.SetElem(2, r, std::to_string(r));
  }
  v.SetRowEnabled(3, false);
  const std::vector<std::string> before = Snapshot(v);
  int kept = -1;
  try {
    kept = v.FilterAndSort(text, {}, caseSensitive, mode, 1, true);
  } catch (const qel::EQELRepListError& e) {
    QEL_FUZZ_CHECK(e.Message.find("position ") != std::string::npos);
    QEL_FUZZ_CHECK(Snapshot(v) == before);
    return 0;
  }
  QEL_FUZZ_CHECK(kept >= 0 && kept <= v.GetNrOfRows());
  QEL_FUZZ_CHECK(v.NumEnabledRows() == kept);
  for (int r = 1; r <= v.GetNrOfRows(); ++r) QEL_FUZZ_CHECK(v.GetRowEnabled(r) == (r <= kept));
  return 0;
}

// The CSV importer on arbitrary files: no crash or leak; a refused file leaves the store
// exactly as it was; an accepted one holds valid UTF-8, exports (markers included) and imports
// back to the same cells and names, and its lines load into a column. Byte 0 picks the delimiter and whether a header line is read.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/rtl/StrUtils.h"
#include "replist/QEL_replist.h"

namespace {

std::string TempName(const char* Tag) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/fuzz_rlcsv_" + std::to_string(::getpid()) +
         Tag;
}

void WriteAll(const std::string& Name, const uint8_t* Data, size_t Size) {
  std::FILE* f = std::fopen(Name.c_str(), "wb");
  QEL_FUZZ_CHECK(f != nullptr);
  if (Size) QEL_FUZZ_CHECK(std::fwrite(Data, 1, Size, f) == Size);
  std::fclose(f);
}

bool SameCells(const qel::TRLData& A, const qel::TRLData& B) {
  if (A.GetNrOfColumns() != B.GetNrOfColumns() || A.GetNrOfRows() != B.GetNrOfRows()) return false;
  for (int c = 1; c <= A.GetNrOfColumns(); ++c) {
    if (A.GetColName(c) != B.GetColName(c)) return false;
    for (int r = 1; r <= A.GetNrOfRows(); ++r)
      if (A.GetStoredElem(c, r) != B.GetStoredElem(c, r)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const auto delim = static_cast<qel::TCSVDelimiters>(Data[0] & 3);
  const bool header = (Data[0] & 4) != 0;
  const std::string in = TempName(".in"), out = TempName(".out");
  WriteAll(in, Data + 1, Size - 1);

  qel::TRLData d(nullptr);
  d.SetNrCols(2);
  d.SetNrRows(1);
  d.SetColCheckMode(1, qel::cmBox);
  d.SetElem(2, 1, "before");
  const std::string before = d.XMLText(true, "");
  try {
    d.ImportCSV(in, delim, header);
  } catch (const qel::EQELRLDataError&) {
    QEL_FUZZ_CHECK(d.XMLText(true, "") == before);
    std::remove(in.c_str());
    return 0;
  }
  QEL_FUZZ_CHECK(qel::IsValidUtf8(d.XMLText(true, "")));
  d.ExportCSV(out, delim, header, true, 1, 1, d.GetNrOfColumns(), d.GetNrOfRows());
  qel::TRLData e(nullptr);
  e.Assign(&d);
  e.ImportCSV(out, delim, header);
  QEL_FUZZ_CHECK(SameCells(d, e));

  // The same bytes as text lines: all loaded into a column, or refused leaving the store as it
  // was (an accepted CSV file is valid UTF-8, so its lines are too).
  const std::string lines = d.XMLText(true, "");
  const int n = d.LoadLinesFromFile(1, 2, in);
  QEL_FUZZ_CHECK(n >= 0 && (n == 0 || d.GetNrOfRows() >= n + 1));
  QEL_FUZZ_CHECK(n > 0 || d.XMLText(true, "") == lines);
  std::remove(in.c_str());
  std::remove(out.c_str());
  return 0;
}

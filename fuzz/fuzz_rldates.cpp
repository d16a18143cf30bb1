// Date texts of report-list cells read by a date picker's pattern (ScanDateTimeText): any
// pattern and text give a known result code, 0 on an error and a real date or time otherwise;
// a value written in one of the editor's usual patterns reads back unchanged.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "platform/widgets/DateTimePicker.h"
#include "replist/QEL_replist.h"

using namespace qel;

namespace {

constexpr const char* kPatterns[] = {
    "dd.MM.yyyy HH:mm:ss",        "yyyy-MM-dd",
    "d/M/yyyy h:mm:ss tt",        "dddd, d MMMM yyyy HH:mm:ss",
    "ddd dd MMM yyyy hh:mm:ss t", "'day' d 'of' MMMM yyyy, H:m:s",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > 512) return 0;
  // Free form: the pattern up to the first newline, the text behind it.
  const std::string all(reinterpret_cast<const char*>(Data), Size);
  const size_t nl = all.find('\n');
  const std::string pattern = all.substr(0, nl);
  const std::string text = nl == std::string::npos ? std::string() : all.substr(nl + 1);
  TDateTime v = 12345.5;
  const int e = ScanDateTimeText(text, pattern, v, 2026, Size > 0 ? Data[0] % 100 : 50);
  QEL_FUZZ_CHECK(e == kDateScanOk || e == kDateScanLiteral || e == kDateScanToken ||
                 e == kDateScanField);
  if (e != kDateScanOk) QEL_FUZZ_CHECK(v == 0);
  QEL_FUZZ_CHECK(std::isfinite(v) && v >= MinDateTime && v <= MaxDateTime + 1);

  // Round trip: the first bytes pick a pattern and a value to the second.
  if (Size >= 9) {
    uint32_t days = 0, secs = 0;
    std::memcpy(&days, Data + 1, 4);
    std::memcpy(&secs, Data + 5, 4);
    const TDateTime date = MinDateTime + days % 3652059;
    const TDateTime value = ComposeDateTime(date, (secs % 86400) / 86400.0);
    const std::string p = kPatterns[Data[0] % std::size(kPatterns)];
    const bool timeOfDay = p.find('H') != std::string::npos || p.find('h') != std::string::npos;
    const TDateTime shown = timeOfDay ? value : date;
    TDateTime back = 0;
    QEL_FUZZ_CHECK(ScanDateTimeText(FormatDTPattern(p, value), p, back, 2026, 50) == kDateScanOk);
    QEL_FUZZ_CHECK(std::fabs(back - shown) < 0.5 / 86400);
  }
  return 0;
}

// Date and time texts from outside: StrToDate, StrToDateTime, StrToTime and their Try forms. A
// date that was read is a real date, survives a write and a read back unchanged, and a failed
// read leaves the value alone.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/DateTime.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > 1024) return 0;
  // The first byte picks the settings: the default ISO-style order or day.month.year.
  TFormatSettings settings;
  if (Size > 0 && (Data[0] & 1)) {
    settings.ShortDateFormat = "dd/mm/yy";
    settings.DateSeparator = '.';
    settings.TwoDigitYearCenturyWindow = Data[0] >> 2;
  }
  const std::string s(reinterpret_cast<const char*>(Data), Size);
  const TDateTime sentinel = 12345.25;

  TDateTime d = sentinel;
  if (TryStrToDate(s, d, settings)) {
    if (!(d >= MinDateTime && d <= MaxDateTime) || d != std::trunc(d)) std::abort();
    int y, m, dd;
    DecodeDate(d, y, m, dd);
    if (EncodeDate(y, m, dd) != d) std::abort();
    TFormatSettings iso;
    TDateTime back = 0;
    if (!TryStrToDate(FormatDateTime("yyyy/mm/dd", d, iso), back, iso) || back != d) std::abort();
  } else if (d != sentinel) {
    std::abort();
  }

  TDateTime t = sentinel;
  if (TryStrToTime(s, t, settings)) {
    if (!(t >= 0 && t < 1)) std::abort();
  } else if (t != sentinel) {
    std::abort();
  }

  TDateTime dt = sentinel;
  if (TryStrToDateTime(s, dt, settings)) {
    if (!(dt >= MinDateTime - 1 && dt <= MaxDateTime)) std::abort();
    int y, m, dd, h, n, sec, ms;
    DecodeDateTime(dt, y, m, dd, h, n, sec, ms);
    TDateTime again = 0;
    if (!TryEncodeDate(y, m, dd, again) || h > 23) std::abort();
    (void)FormatDateTime("c dddd mmmm am/pm zzz", dt, settings);
  } else if (dt != sentinel) {
    std::abort();
  }

  // The text as a format: any text formats without harm.
  (void)FormatDateTime(s, 44197.5, settings);
  return 0;
}

// Number texts from outside: Val in both forms, StrToInt and StrToFloat. Positions stay in
// range, a failed read yields 0 or leaves the target alone, and the raising and the Try forms
// agree. Values that were read are written back by the formatters without harm.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumText.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > 4096) return 0;
  const std::string s(reinterpret_cast<const char*>(Data), Size);
  const int limit = static_cast<int>(s.size()) + 1;

  long double x = 1;
  int code = -1;
  Val(s, x, code);
  if (code < 0 || code > limit) std::abort();
  if (code != 0 && x != 0) std::abort();
  if (code == 0 && std::isnan(x)) std::abort();

  int32_t i = 1;
  Val(s, i, code);
  if (code < 0 || code > limit) std::abort();
  if (code != 0 && i != 0) std::abort();

  int32_t v = 7;
  const bool ok = TryStrToInt(s, v);
  if (!ok && v != 7) std::abort();
  try {
    if (StrToInt(s) != v || !ok) std::abort();
  } catch (const EConvertError&) {
    if (ok) std::abort();
  }

  long double f = 7;
  const bool fok = TryStrToFloat(s, f);
  if (!fok && f != 7) std::abort();
  if (fok && !std::isfinite(f)) std::abort();
  try {
    long double g = StrToFloat(s);
    if (!fok || !(g == f)) std::abort();
  } catch (const EConvertError&) {
    if (fok) std::abort();
  }

  if (code == 0 || fok) {
    const long double w = fok ? f : x;
    const int width = Size ? Data[0] % 40 : 0;
    const int decimals = Size > 1 ? Data[1] % 20 : 2;
    (void)StrFixed(w, width, decimals);
    (void)FloatToStr(w);
    const std::string sci = StrSci(w, width);
    if (std::isfinite(w) && sci.find('E') == std::string::npos) std::abort();
  }

  // The text as a format string: it may be refused, never crash.
  try {
    (void)Format(s, {42, "text", 2.5, -7LL, 1.0e300});
  } catch (const EConvertError&) {
  }
  return 0;
}

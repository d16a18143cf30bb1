// Number texts of the numeric fields: every acceptor, scanner and entry point on arbitrary input.
// Byte 0 picks the notation, byte 1 the separator choice, byte 2 the digit counts of the
// formatters; the rest is the text.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/QEL_errors.h"
#include "frame/QEL_univconst.h"
#include "fuzz/FuzzCheck.h"
#include "numio/NumNotation.h"

namespace {

bool InRange(double V) { return std::isfinite(V) && std::fabs(V) <= qel::uc_MaxDouble; }

void CheckPos(int Pos, const std::string& Text) {
  QEL_FUZZ_CHECK(Pos >= 1 && Pos <= static_cast<int>(Text.size()) + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  using namespace qel;
  if (Size > 4096) return 0;
  const uint8_t b0 = Size > 0 ? Data[0] : 0, b1 = Size > 1 ? Data[1] : 0,
                b2 = Size > 2 ? Data[2] : 0;
  const std::string text =
      Size > 3 ? std::string(reinterpret_cast<const char*>(Data) + 3, Size - 3) : std::string();
  const TInFormat fmt = static_cast<TInFormat>(b0 % 8);
  const uint8_t decPlaceSep = b1 % 5;  // the four choices and one beyond them
  const int sepMode = b1 % 5;          // 0 and 4 accept no separator in the scanner
  const int significant = 1 + b2 % 24;
  const int fixDecimals = b2 % 12;

  // Acceptors: never crash; a plain decimal text is always read to its end.
  ValidExpText(text, true, sepMode);
  ValidExpText(text, false, sepMode);
  ValidIntText(text);
  ValidHexText(text);
  ValidOctText(text);
  ValidBinText(text);
  if (ValidFloatText(text, sepMode) && sepMode != 0) {
    int pos = 1;
    ScanFloatText(text, false, sepMode, pos);
    QEL_FUZZ_CHECK(pos == static_cast<int>(text.size()) + 1);
  }

  // The decimal scanner: positions in range, values finite or clamped, and the fast path agrees
  // bit for bit with the full-precision path.
  for (bool exp : {true, false}) {
    int p1 = 1, p2 = 1;
    const double fast = ScanFloatText(text, exp, sepMode, p1);
    const double slow = ScanFloatTextByVal(text, exp, sepMode, p2);
    CheckPos(p1, text);
    QEL_FUZZ_CHECK(p1 == p2);
    QEL_FUZZ_CHECK(InRange(fast));
    QEL_FUZZ_CHECK(std::memcmp(&fast, &slow, sizeof fast) == 0);
  }

  for (int32_t (*scan)(const std::string&, int&) :
       {ScanIntText, ScanHexText, ScanOctText, ScanBinText}) {
    int pos = 1;
    scan(text, pos);
    CheckPos(pos, text);
  }

  // Entry points of the fields.
  NioCheckValidity(text, fmt, decPlaceSep, fixDecimals);
  const double v = NioGetValue(text, fmt);
  QEL_FUZZ_CHECK(InRange(v));
  try {
    NioGetIntValue(text, fmt, "Fuzz");
  } catch (const EQELNumIO2Error&) {
    QEL_FUZZ_CHECK(v > 2147483647.0 || v < -2147483648.0);
  }
  NioOutOfRange(text, fmt, -1, 1);

  double converted = 12345;
  const bool ok = ConvertNumString(text, converted, fmt, decPlaceSep);
  QEL_FUZZ_CHECK(InRange(converted));
  if (text.empty()) QEL_FUZZ_CHECK(!ok && converted == 12345);
  if (!ok && !text.empty()) QEL_FUZZ_CHECK(converted == 0);

  // The field formatter at any width (zero-filled when negative) and decimals count.
  const int width = static_cast<int8_t>(b2);
  const int decimals = static_cast<int>(b1 >> 3) - 3;
  const std::string field = FormatFloatField(width, decimals, v);
  QEL_FUZZ_CHECK(field.size() >= static_cast<size_t>(width < 0 ? -width : width));
  if (decimals >= 0 && width < 0) QEL_FUZZ_CHECK(field.find(' ') == std::string::npos);

  // What a field writes, it reads back and accepts.
  const std::string written = NioFormatValue(v, fmt, significant, fixDecimals);
  switch (fmt) {
    case itHex:
    case itOct:
    case itBin:
      QEL_FUZZ_CHECK(NioGetValue(written, fmt) == static_cast<int32_t>(NioBitPattern(v)));
      QEL_FUZZ_CHECK(NioCheckValidity(written, fmt, decPlaceSep, fixDecimals));
      break;
    case itFloat:
    case itFixPoint:
      QEL_FUZZ_CHECK(NioCheckValidity(written, fmt, 1, fixDecimals));
      break;
    case itExp:
      QEL_FUZZ_CHECK(written[0] == '*' || NioCheckValidity(written, fmt, 1, fixDecimals));
      break;
    default:
      break;
  }
  return 0;
}

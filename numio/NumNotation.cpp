#include "numio/NumNotation.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "frame/QEL_errors.h"
#include "frame/QEL_univconst.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

inline bool IsDigitChar(char Ch) { return Ch >= '0' && Ch <= '9'; }

inline char UpCase(char Ch) { return (Ch >= 'a' && Ch <= 'z') ? static_cast<char>(Ch - 32) : Ch; }

// Moves a start position into 1..length+1, so that no scan reads outside the text and the
// position arithmetic cannot overflow.
inline int ClampStart(int Pos, const std::string& Text) {
  const int64_t end = static_cast<int64_t>(Text.size()) + 1;
  if (Pos < 1) return 1;
  if (Pos > end) return static_cast<int>(std::min<int64_t>(end, std::numeric_limits<int>::max()));
  return Pos;
}

// Columns of the exponent automaton's table.
enum : int { colSep, colBlank, colSign, colDigit, colE, colOther };

// Rows are states 1..8; a column is picked by the character class (sep tested first).
constexpr int8_t kExpTable[8][6] = {
    //  sep blank sign digit  E  other
    {4, 1, 2, 3, -1, -1},    // 1 start
    {4, -1, -1, 3, -1, -1},  // 2 after sign
    {4, 9, 9, 3, 6, 9},      // 3 integer digits
    {-1, 9, 9, 5, 6, 9},     // 4 after separator
    {-1, 9, 9, 5, 6, 9},     // 5 fraction digits
    {-1, -1, 7, 8, -1, 9},   // 6 after "E"
    {-1, -1, -1, 8, -1, 9},  // 7 after exponent sign
    {9, 9, 9, 8, 9, 9},      // 8 exponent digits
};

inline int ExpColumn(char Up, bool ExpAllowed, int SepMode) {
  if (IsSepChar(Up, SepMode)) return colSep;
  if (Up == ' ') return colBlank;
  if (Up == '+' || Up == '-') return colSign;
  if (IsDigitChar(Up)) return colDigit;
  if (Up == 'E' && ExpAllowed) return colE;
  return colOther;
}

// Exponent magnitudes are only ever compared with kMaxExponent, so they saturate well above it.
constexpr int kExpSaturation = 100000;

// Runs the exponent automaton from Pos (already clamped), advancing Pos by one per step.
// After each step landing in 1..8 the exponent text is read as a number: above kMaxExponent
// either rejects (RejectBigExp, the acceptor) or just skips the character; otherwise
// Visit(upper-cased character, state before, state after) sees the character as collected.
// Returns the final state (9 or <= 0); Pos ends one past the character that ended the scan.
template <class TVisit>
int RunExpAutomaton(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos,
                    bool RejectBigExp, TVisit&& Visit) {
  const size_t len = Text.size();
  int state = 1;
  int expValue = 0;
  while (state >= 1 && state <= 8) {
    // 1-based: Pos is in 1..len while reading the text; past it the end reads as "Z".
    const char ch = static_cast<size_t>(Pos) <= len ? UpCase(Text[Pos - 1]) : 'Z';
    const int prev = state;
    state = kExpTable[prev - 1][ExpColumn(ch, ExpAllowed, SepMode)];
    ++Pos;
    if (state < 1 || state > 8) break;
    if (state == 8) {
      const int d = ch - '0';
      expValue = prev == 8 ? std::min(expValue * 10 + d, kExpSaturation) : d;
    }
    if (expValue > kMaxExponent) {
      if (RejectBigExp) state = -1;
      continue;
    }
    Visit(ch, prev, state);
  }
  return state;
}

// Exact powers of ten in the extended type (5^27 < 2^64, so up to 10^27 are exact).
static_assert(std::numeric_limits<long double>::digits >= 64,
              "the fast path needs a 64-bit mantissa for exact powers of ten");
constexpr int kMaxFastPow10 = 27;
const long double kPow10[kMaxFastPow10 + 1] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                               1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                               1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                               1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// What the fast path needs of the collected text: up to 19 significant mantissa digits and the
// decimal exponent. Anything beyond that is left to the Val path.
struct TFastScan {
  uint64_t Mantissa = 0;
  int SigDigits = 0;
  int FracDigits = 0;
  int ExpValue = 0;
  bool Negative = false;
  bool ExpNegative = false;
  bool TooLong = false;

  void operator()(char Ch, int Prev, int State) {
    switch (State) {
      case 2:
        Negative = Ch == '-';
        break;
      case 3:
      case 5: {  // both are entered by digits only
        if (State == 5) ++FracDigits;
        const int d = Ch - '0';
        if (SigDigits == 0 && d == 0) break;  // leading zeros carry no precision
        if (SigDigits >= 19) {
          TooLong = true;
          break;
        }
        Mantissa = Mantissa * 10 + static_cast<uint64_t>(d);
        ++SigDigits;
        break;
      }
      case 7:
        ExpNegative = Ch == '-';
        break;
      case 8:
        ExpValue = Prev == 8 ? ExpValue * 10 + (Ch - '0') : Ch - '0';
        break;
      default:
        break;
    }
  }
};

// The collected text: every character the automaton accepted, "," written as ".".
struct TCollect {
  std::string Text;
  void operator()(char Ch, int, int) { Text.push_back(Ch == ',' ? '.' : Ch); }
};

// A form of the collected text that any decimal reader takes: "[-]I.F[E<sign>X]" with "0"
// standing in for missing integer or fraction digits and an exponent without digits dropped.
std::string CanonicalNumber(const std::string& Collected) {
  std::string out, intPart, fracPart, expPart;
  char expSign = '+';
  bool negative = false;
  int part = 0;  // 0 integer digits, 1 fraction digits, 2 exponent
  for (char ch : Collected) {
    if (ch == '-' || ch == '+') {
      if (part == 2)
        expSign = ch;
      else
        negative = ch == '-';
    } else if (ch == '.') {
      part = 1;
    } else if (ch == 'E') {
      part = 2;
    } else if (IsDigitChar(ch)) {
      (part == 0 ? intPart : part == 1 ? fracPart : expPart).push_back(ch);
    }
  }
  if (negative) out.push_back('-');
  out += intPart.empty() ? "0" : intPart;
  out += '.';
  out += fracPart.empty() ? "0" : fracPart;
  if (!expPart.empty()) {
    out += 'E';
    out += expSign;
    out += expPart;
  }
  return out;
}

// Reads the collected text in extended precision; a text Val cannot take (no mantissa digit,
// an exponent without digits) is read through its canonical form, and 0 when even that fails.
long double ConvertCollected(std::string Collected) {
  if (!Collected.empty() && Collected.back() == '.') Collected.push_back('0');
  long double x = 0;
  int code = 0;
  Val(Collected, x, code);
  if (code != 0) {
    Val(CanonicalNumber(Collected), x, code);
    if (code != 0) x = 0;
  }
  return x;
}

// The common ending: clamp to the double range, and read every zero as +0.
inline double FinishScan(long double X) {
  if (!(X == X)) return 0;  // NaN cannot come from a collected text; read it as 0 all the same
  if (X > static_cast<long double>(uc_MaxDouble)) return uc_MaxDouble;
  if (X < -static_cast<long double>(uc_MaxDouble)) return -uc_MaxDouble;
  if (X == 0) return 0;
  return static_cast<double>(X);
}

double ScanBySlowPath(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos) {
  TCollect collect;
  const int state = RunExpAutomaton(Text, ExpAllowed, SepMode, Pos, false, collect);
  --Pos;  // back onto the character that ended the scan
  if (state != 9) return 0;
  return FinishScan(ConvertCollected(std::move(collect.Text)));
}

// Shared body of the unsigned-radix scanners; Radix 10 takes one sign first.
int32_t ScanRadix(const std::string& Text, int& Pos, uint32_t Radix, bool AllowSign,
                  bool SkipDollar) {
  Pos = ClampStart(Pos, Text);
  const int len =
      static_cast<int>(std::min<size_t>(Text.size(), std::numeric_limits<int>::max() - 1));
  // 1-based: skip blanks while before the last character.
  while (Pos < len && Text[Pos - 1] == ' ') ++Pos;
  bool negative = false;
  if (AllowSign && Pos <= len && (Text[Pos - 1] == '-' || Text[Pos - 1] == '+')) {
    negative = Text[Pos - 1] == '-';
    ++Pos;
  }
  uint32_t value = 0;  // unsigned, so that overflow wraps modulo 2^32 by definition
  while (Pos <= len) {
    const char ch = UpCase(Text[Pos - 1]);
    if (SkipDollar && ch == '$' && Pos == 1) {
      ++Pos;
      continue;
    }
    uint32_t d;
    if (IsDigitChar(ch))
      d = static_cast<uint32_t>(ch - '0');
    else if (ch >= 'A' && ch <= 'F')
      d = static_cast<uint32_t>(ch - 'A' + 10);
    else
      break;
    if (d >= Radix) break;
    value = value * Radix + d;
    ++Pos;
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

bool AllCharsIn(const std::string& Text, const char* Set) {
  if (Text.empty()) return false;
  for (char ch : Text)
    if (ch == '\0' || !std::strchr(Set, ch)) return false;
  return true;
}

std::string FormatDigits(uint32_t Value, int Count, int MaxCount, unsigned Bits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  Count = std::clamp(Count, 1, MaxCount);
  std::string out(static_cast<size_t>(Count), '0');
  const uint32_t mask = (1u << Bits) - 1;
  for (int i = Count - 1; i >= 0; --i) {  // least significant digit last
    out[static_cast<size_t>(i)] = kDigits[Value & mask];
    Value >>= Bits;
  }
  return out;
}

// The decimal value of a text that passed ValidIntText. Digits stop counting once the
// magnitude is beyond every 32-bit value, so the result is exact inside the 32-bit range and
// outside it on the correct side.
int64_t ReadValidIntText(const std::string& Text) {
  size_t i = 0;
  bool negative = false;
  if (Text[0] == '-' || Text[0] == '+') {
    negative = Text[0] == '-';
    i = 1;
  }
  int64_t v = 0;
  for (; i < Text.size() && v <= 2147483648LL; ++i) v = v * 10 + (Text[i] - '0');
  return negative ? -v : v;
}

inline bool FitsInt32(int64_t V) { return V >= -2147483648LL && V <= 2147483647LL; }

}  // namespace

int ResolveSepModeNumIO2(uint8_t DecPlaceSep) {
  if (DecPlaceSep == 0) return GetDecimalSeparator() == '.' ? kSepPoint : kSepComma;
  return DecPlaceSep;
}

int ResolveSepModeNumIO(uint8_t DecPlaceSep) {
  switch (DecPlaceSep) {
    case 0:
      return GetDecimalSeparator() == ',' ? kSepComma : kSepPoint;
    case 1:
      return kSepPoint;
    case 2:
      return kSepComma;
    default:
      return kSepPointOrComma;
  }
}

bool IsSepChar(char Ch, int SepMode) {
  switch (SepMode) {
    case kSepPoint:
      return Ch == '.';
    case kSepComma:
      return Ch == ',';
    case kSepPointOrComma:
      return Ch == '.' || Ch == ',';
    default:
      return false;
  }
}

int ExpNumberAutomatonStep(int State, char Ch, bool ExpAllowed, int SepMode) {
  if (State < 1 || State > 8) return -1;
  return kExpTable[State - 1][ExpColumn(UpCase(Ch), ExpAllowed, SepMode)];
}

int FloatAutomatonStep(int State, char Ch, int SepMode) {
  const bool sign = Ch == '+' || Ch == '-';
  const bool sep = IsSepChar(Ch, SepMode);
  const bool digit = IsDigitChar(Ch);
  switch (State) {
    case 0:
    case 1:
    case 3:
      if (sign) return State == 0 ? 1 : 5;
      if (sep) return 2;
      if (digit) return 3;
      return 5;
    case 2:
    case 4:
      return digit ? 4 : 5;
    default:
      return 5;
  }
}

bool ValidExpText(const std::string& Text, bool ExpAllowed, int SepMode) {
  if (Text.empty()) return false;
  if (SepMode == 0) SepMode = ResolveSepModeNumIO2(0);
  int pos = 1;
  return RunExpAutomaton(Text, ExpAllowed, SepMode, pos, true, [](char, int, int) {}) == 9;
}

double ScanFloatText(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos) {
  Pos = ClampStart(Pos, Text);
  const int start = Pos;
  TFastScan fast;
  const int state = RunExpAutomaton(Text, ExpAllowed, SepMode, Pos, false, fast);
  --Pos;  // back onto the character that ended the scan
  if (state != 9) return 0;
  // Without a non-zero mantissa digit the text is a zero whatever its exponent.
  if (fast.Mantissa == 0) return 0;
  const int e10 = (fast.ExpNegative ? -fast.ExpValue : fast.ExpValue) - fast.FracDigits;
  if (!fast.TooLong && e10 >= -kMaxFastPow10 && e10 <= kMaxFastPow10) {
    // Mantissa and power are exact in the extended type, so one multiplication or division
    // rounds exactly as a correctly rounded reading of the whole text does.
    long double x = static_cast<long double>(fast.Mantissa);
    x = e10 >= 0 ? x * kPow10[e10] : x / kPow10[-e10];
    return FinishScan(fast.Negative ? -x : x);
  }
  Pos = start;
  return ScanBySlowPath(Text, ExpAllowed, SepMode, Pos);
}

double ScanFloatTextByVal(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos) {
  Pos = ClampStart(Pos, Text);
  return ScanBySlowPath(Text, ExpAllowed, SepMode, Pos);
}

bool ValidFloatText(const std::string& Text, int SepMode) {
  if (Text.empty()) return false;
  if (SepMode == 0) SepMode = ResolveSepModeNumIO2(0);
  int state = 0;
  for (size_t i = 0; i < Text.size() && state != 5; ++i)
    state = FloatAutomatonStep(state, Text[i], SepMode);
  return state != 5;
}

bool ValidIntText(const std::string& Text) {
  if (Text.empty()) return false;
  if (Text.size() == 1) return IsDigitChar(Text[0]);
  if (!(Text[0] == '+' || Text[0] == '-' || IsDigitChar(Text[0]))) return false;
  return std::all_of(Text.begin() + 1, Text.end(), IsDigitChar);
}

bool ValidHexText(const std::string& Text) { return AllCharsIn(Text, "0123456789abcdefABCDEF"); }
bool ValidOctText(const std::string& Text) { return AllCharsIn(Text, "01234567"); }
bool ValidBinText(const std::string& Text) { return AllCharsIn(Text, "01"); }

int32_t ScanIntText(const std::string& Text, int& Pos) {
  if (Text.empty()) return 0;
  return ScanRadix(Text, Pos, 10, true, false);
}
int32_t ScanHexText(const std::string& Text, int& Pos) {
  return ScanRadix(Text, Pos, 16, false, true);
}
int32_t ScanOctText(const std::string& Text, int& Pos) {
  return ScanRadix(Text, Pos, 8, false, false);
}
int32_t ScanBinText(const std::string& Text, int& Pos) {
  return ScanRadix(Text, Pos, 2, false, false);
}

std::string FormatFloatField(int Width, int Decimals, double Value) {
  const int64_t absWidth = Width < 0 ? -static_cast<int64_t>(Width) : Width;
  std::string s;
  if (Decimals < 0) {
    // Str(x:W) with W = |Width| + 2 writes a four-digit exponent; the field shows two.
    s = StrSci(Value, static_cast<int>(std::min<int64_t>(absWidth + 2, 1 << 20)));
    const size_t n = s.size();
    if (n >= 6 && s[n - 6] == 'E' && (s[n - 5] == '+' || s[n - 5] == '-') &&
        IsDigitChar(s[n - 4]) && IsDigitChar(s[n - 3]) && IsDigitChar(s[n - 2]) &&
        IsDigitChar(s[n - 1])) {
      const bool fits = s[n - 4] == '0' && s[n - 3] == '0';
      s.erase(n - 4, 2);
      if (!fits) s.assign(s.size(), '*');  // an exponent of 100 or more cannot be shown
    }
  } else {
    s = StrFixed(Value, static_cast<int>(std::min<int64_t>(absWidth, 1 << 20)), Decimals);
  }
  if (Width < 0) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') s[i++] = '0';
    if (i < s.size() && s[i] == '-') {
      s[i] = '0';
      s[0] = '-';
    }
  }
  return s;
}

std::string FormatHexDigits(uint32_t Value, int Count) { return FormatDigits(Value, Count, 8, 4); }
std::string FormatOctDigits(uint32_t Value, int Count) { return FormatDigits(Value, Count, 11, 3); }
std::string FormatBinDigits(uint32_t Value, int Count) { return FormatDigits(Value, Count, 32, 1); }

uint32_t NioBitPattern(double Value) {
  const int64_t v = std::clamp<int64_t>(RoundToInt64(Value), -2147483648LL, 4294967295LL);
  return static_cast<uint32_t>(v);  // modulo 2^32: negative values give their pattern
}

bool NioCheckValidity(const std::string& Text, TInFormat Fmt, uint8_t DecPlaceSep,
                      int FixPointDecPlaces) {
  const int sepMode = ResolveSepModeNumIO2(DecPlaceSep);
  switch (Fmt) {
    case itExp:
      return ValidExpText(Text, true, sepMode);
    case itFloat:
      return ValidFloatText(Text, sepMode);
    case itFixPoint: {
      if (!ValidFloatText(Text, sepMode)) return false;
      // The separator, whichever of the accepted ones the text uses, must stand
      // FixPointDecPlaces characters before the end. A text without one passes when its length
      // equals FixPointDecPlaces, or, with no decimals at all, always (that is how such a field
      // writes its value). sepPos is 1-based, 0 for none.
      int64_t sepPos = 0;
      for (size_t i = 0; i < Text.size(); ++i)
        if (IsSepChar(Text[i], sepMode)) {
          sepPos = static_cast<int64_t>(i) + 1;
          break;
        }
      const int64_t len = static_cast<int64_t>(Text.size());
      if (sepPos == 0 && FixPointDecPlaces == 0) return true;
      return sepPos == len - FixPointDecPlaces;
    }
    case itInt:
      return ValidIntText(Text);
    case itHex:
      return ValidHexText(Text);
    case itOct:
      return ValidOctText(Text);
    case itBin:
      return ValidBinText(Text);
    case itDynamic:
      if (Text.empty()) return false;
      switch (Text[0]) {
        case '$':
          return ValidHexText(Text.substr(1));
        case '%':
          return ValidBinText(Text.substr(1));
        case '&':
          return ValidOctText(Text.substr(1));
        default:
          return ValidExpText(Text, true, sepMode);
      }
  }
  return false;
}

double NioGetValue(const std::string& Text, TInFormat Fmt) {
  int pos = 1;
  switch (Fmt) {
    case itExp:
    case itFloat:
    case itFixPoint:
      return ScanFloatText(Text, true, kSepPointOrComma, pos);
    case itInt: {
      if (!ValidIntText(Text)) return 0;  // the empty text included
      // Beyond the 32-bit range the value saturates at the end on the text's side.
      return static_cast<double>(
          std::clamp<int64_t>(ReadValidIntText(Text), -2147483648LL, 2147483647LL));
    }
    case itHex:
      return ScanHexText(Text, pos);
    case itOct:
      return ScanOctText(Text, pos);
    case itBin:
      return ScanBinText(Text, pos);
    case itDynamic:
      if (Text.empty()) return 0;
      switch (Text[0]) {
        case '$':
          return ScanHexText(Text.substr(1), pos);
        case '%':
          return ScanBinText(Text.substr(1), pos);
        case '&':
          return ScanOctText(Text.substr(1), pos);
        default:
          return ScanFloatText(Text, true, kSepPointOrComma, pos);
      }
  }
  return 0;
}

std::string NioFormatValue(double X, TInFormat Fmt, int SignificantDigits, int FixPointDecPlaces) {
  switch (Fmt) {
    case itExp:
      // Width SignificantDigits + 6 holds that many significant digits.
      return FormatFloatField(static_cast<int>(std::clamp<int64_t>(
                                  static_cast<int64_t>(SignificantDigits) + 6, 0, 1 << 20)),
                              -2, X);
    case itFloat:
    case itFixPoint:
      return FormatFloatField(1, FixPointDecPlaces, X);
    case itInt:
    case itDynamic:
      return IntToStr(RoundToInt64(X));
    case itHex:
      return FormatHexDigits(NioBitPattern(X), 8);
    case itOct:
      return FormatOctDigits(NioBitPattern(X), 11);
    case itBin:
      return FormatBinDigits(NioBitPattern(X), 32);
  }
  return std::string();
}

int32_t NioGetIntValue(const std::string& Text, TInFormat Fmt, const std::string& ComponentName) {
  const double v = NioGetValue(Text, Fmt);
  if (v > 2147483647.0 || v < -2147483648.0)
    throw EQELNumIO2Error(ComponentMessage(ComponentName, kIntegerOverflow));
  return RoundToInt(v);
}

bool NioOutOfRange(const std::string& Text, TInFormat Fmt, double RangeLow, double RangeHigh) {
  const double v = NioGetValue(Text, Fmt);
  return !(v >= RangeLow) || v > RangeHigh;
}

bool ConvertNumString(const std::string& Text, double& Value, TInFormat Fmt, uint8_t DecPlaceSep) {
  if (Text.empty()) return false;
  Value = 0;
  const int sepMode = ResolveSepModeNumIO(DecPlaceSep);
  const size_t first = Text.find_first_not_of(' ');
  if (first == std::string::npos) return true;  // all blanks read as 0
  std::string s = Text.substr(first);
  if (s.find(' ') != std::string::npos) return false;
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);

  TInFormat fmt = Fmt;
  std::string digits = s;  // the digit string of the radix notations
  if (Fmt == itDynamic) {
    switch (s[0]) {
      case '$':
        fmt = itHex;
        break;
      case '&':
        fmt = itOct;
        break;
      case '%':
        fmt = itBin;
        break;
      default:
        fmt = itExp;
        break;
    }
    if (fmt != itExp) {
      digits = s.substr(1);
      if (digits.empty()) return true;  // a lone prefix: typing goes on, the value is 0
    }
  }

  const int end =
      static_cast<int>(std::min<size_t>(s.size(), std::numeric_limits<int>::max() - 1)) + 1;
  int pos = 1;
  switch (fmt) {
    case itExp:
    case itDynamic: {
      // An unfinished exponent ("1e", "1e+") is dropped before reading.
      const size_t p = s.find('e');
      if (p != std::string::npos &&
          (p + 1 == s.size() || (p + 2 == s.size() && (s[p + 1] == '-' || s[p + 1] == '+'))))
        s.erase(p);
      const double v = ScanFloatText(s, true, sepMode, pos);
      if (pos != static_cast<int>(s.size()) + 1) return false;
      Value = v;
      return true;
    }
    case itFloat:
    case itFixPoint: {
      const double v = ScanFloatText(s, false, sepMode, pos);
      if (pos != end) return false;
      Value = v;
      return true;
    }
    case itInt: {
      const int32_t v = ScanIntText(s, pos);
      if (pos != end) return false;
      // The scanner wraps; a number beyond the 32-bit range is refused instead of misread.
      if (ValidIntText(s) && !FitsInt32(ReadValidIntText(s))) return false;
      Value = v;
      return true;
    }
    case itHex:
      if (!ValidHexText(digits)) return false;
      Value = ScanHexText(digits, pos);
      return true;
    case itOct:
      if (!ValidOctText(digits)) return false;
      Value = ScanOctText(digits, pos);
      return true;
    case itBin:
      if (!ValidBinText(digits)) return false;
      Value = ScanBinText(digits, pos);
      return true;
  }
  return false;
}

}  // namespace qel

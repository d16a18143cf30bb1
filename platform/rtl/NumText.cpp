#include "platform/rtl/NumText.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "platform/rtl/Exceptions.h"

namespace qel {

namespace {

std::atomic<char> gDecimalSeparator{'.'};
std::atomic<char> gThousandSeparator{','};

constexpr int kMaxField = 1024;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// snprintf of one long double with a precision, on the stack when it fits.
std::string Print(const char* Fmt, int Prec, long double A) {
  char buf[160];
  int n = std::snprintf(buf, sizeof buf, Fmt, Prec, A);
  if (n < static_cast<int>(sizeof buf)) return std::string(buf, static_cast<size_t>(n));
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), Fmt, Prec, A);
  s.resize(static_cast<size_t>(n));
  return s;
}

// A (> 0, finite) is m * 2^q with m odd; returns q. A negative q means the exact decimal
// expansion ends -q places after the point.
int BinaryExponent(long double A) {
  int e2 = 0;
  long double f = std::frexp(A, &e2);
  long double m = std::ldexp(f, LDBL_MANT_DIG);
  int q = e2 - LDBL_MANT_DIG;
  while (m != 0 && std::fmod(m, 2.0L) == 0) {
    m /= 2;
    ++q;
  }
  return q;
}

void IncrementDigits(std::string& N) {
  for (size_t i = N.size(); i-- > 0;) {
    if (N[i] != '9') {
      ++N[i];
      return;
    }
    N[i] = '0';
  }
  N.insert(N.begin(), '1');
}

// Rounding: printf rounds correctly but ties to even, so we print a few digits more than we
// keep and round ourselves, exact halves away from zero. Only a printed "5" followed by zeros is
// ambiguous (a true half, or a value a hair above or below it): then 25 more digits, and if
// those still show a half, the exact expansion decides.
// A (finite, >= 0) as a whole number of 10^-Decimals: the digits of that number ("0" for none).
std::string RoundFixed(long double A, int Decimals) {
  if (A == 0) return "0";
  const size_t d = static_cast<size_t>(Decimals);
  // The decimal point is whatever the locale prints; only digits are taken.
  auto split = [](const std::string& s, std::string& intPart, std::string& frac) {
    size_t p = s.find_first_not_of("0123456789");
    intPart = s.substr(0, p);
    size_t f = s.find_first_of("0123456789", p);
    frac = f == std::string::npos ? std::string() : s.substr(f);
  };
  // A short print decides almost always; only a printed "5000" needs more digits.
  std::string intPart, frac;
  bool up = false;
  for (int extra : {4, 25}) {
    split(Print("%.*Lf", Decimals + extra, A), intPart, frac);
    if (frac[d] != '5' || frac.find_first_not_of('0', d + 1) != std::string::npos) {
      up = frac[d] >= '5';
      break;
    }
    if (extra == 25) {
      const int q = BinaryExponent(A);
      if (q >= -(Decimals + 25)) {
        up = true;  // the print was exact: a true half
      } else {
        std::string xi, xf;
        split(Print("%.*Lf", -q, A), xi, xf);
        up = xf[d] >= '5';
      }
    }
  }
  std::string n = intPart + frac.substr(0, d);
  if (up) IncrementDigits(n);
  size_t nz = n.find_first_not_of('0');
  return nz == std::string::npos ? "0" : n.substr(nz);
}

std::string PadLeft(std::string S, int Width) {
  if (Width > 0 && S.size() < static_cast<size_t>(Width))
    S.insert(0, static_cast<size_t>(Width) - S.size(), ' ');
  return S;
}

bool AllZero(const std::string& Digits) {
  return Digits.find_first_not_of('0') == std::string::npos;
}

// Fixed notation without padding: digits, Sep, Decimals digits; "-" only for a nonzero result.
std::string FixedText(long double X, int Decimals, char Sep, char Thousands = 0) {
  std::string n = RoundFixed(std::fabs(X), Decimals);
  bool zero = AllZero(n);
  if (n.size() <= static_cast<size_t>(Decimals))
    n.insert(0, static_cast<size_t>(Decimals) + 1 - n.size(), '0');
  std::string intPart = n.substr(0, n.size() - static_cast<size_t>(Decimals));
  if (Thousands) {
    for (size_t i = intPart.size(); i > 3; i -= 3) intPart.insert(i - 3, 1, Thousands);
  }
  std::string s = intPart;
  if (Decimals > 0) {
    s += Sep;
    s += n.substr(n.size() - static_cast<size_t>(Decimals));
  }
  if (std::signbit(X) && !zero) s.insert(0, "-");
  return s;
}

// A (finite, > 0) rounded to Digits significant digits: the digits and the decimal exponent.
void SigDigits(long double A, int Digits, std::string& N, int& Exp) {
  auto parse = [](const std::string& s, std::string& digits, int& exp) {
    digits.clear();
    size_t i = 0;
    for (; i < s.size() && s[i] != 'e'; ++i)
      if (IsDigit(s[i])) digits += s[i];
    exp = i < s.size() ? std::atoi(s.c_str() + i + 1) : 0;
  };
  std::string d;
  const size_t keep = static_cast<size_t>(Digits);
  bool up = false;
  for (int extra : {4, 25}) {
    parse(Print("%.*Le", Digits - 1 + extra, A), d, Exp);
    if (d[keep] != '5' || d.find_first_not_of('0', keep + 1) != std::string::npos) {
      up = d[keep] >= '5';
      break;
    }
    if (extra == 25) {
      // The exact expansion has Exp + 1 - q significant digits (or Exp + 1 for an integer).
      const int q = BinaryExponent(A);
      const int total = q >= 0 ? Exp + 1 : Exp + 1 - q;
      if (total <= Digits + 25) {
        up = true;
      } else {
        std::string x;
        int ex = 0;
        parse(Print("%.*Le", total - 1, A), x, ex);
        up = x[keep] >= '5';
      }
    }
  }
  N = d.substr(0, keep);
  if (up) IncrementDigits(N);
  if (N.size() > keep) {
    N.resize(keep);
    ++Exp;
  }
}

std::string NonFiniteText(long double X, bool Classic) {
  if (std::isnan(X)) return Classic ? "Nan" : "NAN";
  if (Classic) return X > 0 ? "+Inf" : "-Inf";
  return X > 0 ? "INF" : "-INF";
}

// The general format of FloatToStr and %g: Precision significant digits, trailing zeros
// dropped, fixed notation for exponents -5..Precision-1, else "1.5E20" / "1E-7".
std::string GeneralText(long double X, int Precision, char Sep) {
  if (!std::isfinite(X)) return NonFiniteText(X, false);
  long double a = std::fabs(X);
  if (a == 0) return "0";
  std::string n;
  int e = 0;
  SigDigits(a, Precision, n, e);
  size_t last = n.find_last_not_of('0');
  n.resize(last + 1);
  std::string s;
  if (e >= -5 && e < Precision) {
    if (e >= 0) {
      if (n.size() < static_cast<size_t>(e) + 1)
        n.append(static_cast<size_t>(e) + 1 - n.size(), '0');
      s = n.substr(0, static_cast<size_t>(e) + 1);
      if (n.size() > static_cast<size_t>(e) + 1) s += Sep + n.substr(static_cast<size_t>(e) + 1);
    } else {
      s = std::string("0") + Sep + std::string(static_cast<size_t>(-e - 1), '0') + n;
    }
  } else {
    s = n.substr(0, 1);
    if (n.size() > 1) s += Sep + n.substr(1);
    s += "E" + std::to_string(e);
  }
  if (X < 0) s.insert(0, "-");
  return s;
}

// "%e": Precision significant digits, "E", the exponent's sign and at least three digits.
std::string ExpText(long double X, int Precision, char Sep) {
  if (!std::isfinite(X)) return NonFiniteText(X, false);
  long double a = std::fabs(X);
  std::string n(static_cast<size_t>(Precision), '0');
  int e = 0;
  if (a != 0) SigDigits(a, Precision, n, e);
  std::string s = n.substr(0, 1);
  if (Precision > 1) s += Sep + n.substr(1);
  std::string ed = std::to_string(e < 0 ? -e : e);
  if (ed.size() < 3) ed.insert(0, 3 - ed.size(), '0');
  s += (e < 0 ? "E-" : "E+") + ed;
  if (std::signbit(X) && a != 0) s.insert(0, "-");
  return s;
}

// The classic number scanner: leading blanks, sign, digits with an optional point, an optional
// exponent. Returns 0 or the 1-based position of the first bad character; Start and End delimit
// the number (without leading blanks and "+").
int ScanDecimal(const std::string& S, char Sep, size_t& Start, size_t& End) {
  const size_t n = S.size();
  size_t i = 0;
  while (i < n && (S[i] == ' ' || S[i] == '\t')) ++i;
  Start = i;
  if (i < n && (S[i] == '+' || S[i] == '-')) {
    if (S[i] == '+') Start = i + 1;
    ++i;
  }
  size_t mantissa = 0;
  while (i < n && IsDigit(S[i])) ++i, ++mantissa;
  if (i < n && S[i] == Sep) {
    ++i;
    while (i < n && IsDigit(S[i])) ++i, ++mantissa;
  }
  if (mantissa == 0) return static_cast<int>(i) + 1;
  if (i < n && (S[i] == 'e' || S[i] == 'E')) {
    ++i;
    if (i < n && (S[i] == '+' || S[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && IsDigit(S[i])) ++i, ++digits;
    if (digits == 0) return static_cast<int>(i) + 1;
  }
  End = i;
  return i == n ? 0 : static_cast<int>(i) + 1;
}

// Converts the checked number text T (C locale) in extended precision. Beyond the range the
// result is an infinity; below it, zero.
long double ConvertDecimal(const std::string& T) {
  long double x = 0;
  const char* b = T.data();
  const char* e = b + T.size();
  bool neg = b != e && *b == '-';
  auto res = std::from_chars(b, e, x, std::chars_format::general);
  if (res.ec != std::errc::result_out_of_range) return x;
  // Decide between overflow and underflow from the decimal magnitude.
  long long exp10 = 0;
  const char* p = b + (neg ? 1 : 0);
  long long intDigits = 0, leadingFrac = 0;
  bool seenNonZero = false, inFrac = false;
  for (; p != e && *p != 'e' && *p != 'E'; ++p) {
    if (*p == '.') {
      inFrac = true;
      continue;
    }
    if (!inFrac) {
      if (seenNonZero || *p != '0') ++intDigits, seenNonZero = true;
    } else if (!seenNonZero) {
      if (*p == '0')
        ++leadingFrac;
      else
        seenNonZero = true;
    }
  }
  if (p != e) {
    ++p;
    bool eneg = p != e && *p == '-';
    if (p != e && (*p == '+' || *p == '-')) ++p;
    for (; p != e; ++p) exp10 = std::min<long long>(exp10 * 10 + (*p - '0'), 1000000000LL);
    if (eneg) exp10 = -exp10;
  }
  long long magnitude = exp10 + (intDigits > 0 ? intDigits : -leadingFrac);
  long double r = magnitude > 0 ? std::numeric_limits<long double>::infinity() : 0.0L;
  return neg ? -r : r;
}

template <class T>
int ValInt(const std::string& S, T& X) {
  using U = std::make_unsigned_t<T>;
  const size_t n = S.size();
  X = 0;
  size_t i = 0;
  while (i < n && (S[i] == ' ' || S[i] == '\t')) ++i;
  bool neg = false;
  if (i < n && (S[i] == '+' || S[i] == '-')) neg = S[i++] == '-';
  bool hex = false;
  if (i < n && S[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  U acc = 0;
  size_t digits = 0;
  const U limit = static_cast<U>(std::numeric_limits<T>::max()) + (neg ? 1u : 0u);
  for (; i < n; ++i, ++digits) {
    char c = S[i];
    unsigned v;
    if (IsDigit(c))
      v = static_cast<unsigned>(c - '0');
    else if (hex && c >= 'a' && c <= 'f')
      v = static_cast<unsigned>(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F')
      v = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    if (hex) {
      // Hexadecimal is the bit pattern of the type: its width in digits, no more.
      if (acc > (std::numeric_limits<U>::max() >> 4)) return static_cast<int>(i) + 1;
      acc = static_cast<U>(acc * 16 + v);
    } else {
      if (acc > (limit - v) / 10) return static_cast<int>(i) + 1;
      acc = static_cast<U>(acc * 10 + v);
    }
  }
  if (digits == 0 || i != n) return static_cast<int>(i) + 1;
  if (neg) acc = static_cast<U>(U{0} - acc);
  X = static_cast<T>(acc);
  return 0;
}

std::string HexDigits(uint64_t V, int Digits) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string s;
  do {
    s.insert(s.begin(), kHex[V & 15]);
    V >>= 4;
  } while (V);
  Digits = std::min(Digits, kMaxField);
  if (s.size() < static_cast<size_t>(std::max(Digits, 0)))
    s.insert(0, static_cast<size_t>(Digits) - s.size(), '0');
  return s;
}

}  // namespace

std::string StrFixed(long double X, int Width, int Decimals) {
  Width = std::min(Width, kMaxField);
  if (Decimals < 0) return StrSci(X, Width);
  Decimals = std::min(Decimals, kMaxField);
  if (!std::isfinite(X)) return PadLeft(NonFiniteText(X, true), Width);
  return PadLeft(FixedText(X, Decimals, '.'), Width);
}

std::string StrSci(long double X, int Width) {
  Width = std::min(Width, kMaxField);
  if (!std::isfinite(X)) return PadLeft(NonFiniteText(X, true), Width);
  const int digits = std::clamp(Width - 8, 2, 18);
  long double a = std::fabs(X);
  std::string n(static_cast<size_t>(digits), '0');
  int e = 0;
  if (a != 0) SigDigits(a, digits, n, e);
  std::string s = (std::signbit(X) && a != 0) ? "-" : " ";
  s += n[0];
  s += '.';
  s += n.substr(1);
  s += e < 0 ? "E-" : "E+";
  std::string ed = std::to_string(e < 0 ? -e : e);
  s += std::string(ed.size() < 4 ? 4 - ed.size() : 0, '0') + ed;
  return PadLeft(s, Width);
}

void Val(const std::string& S, long double& X, int& Code) {
  size_t start = 0, end = 0;
  X = 0;
  Code = ScanDecimal(S, '.', start, end);
  if (Code == 0) X = ConvertDecimal(S.substr(start, end - start));
}

void Val(const std::string& S, int32_t& X, int& Code) { Code = ValInt(S, X); }

std::string IntToStr(int64_t Value) { return std::to_string(Value); }

std::string IntToHex(int32_t Value, int Digits) {
  return HexDigits(static_cast<uint32_t>(Value), Digits);
}
std::string IntToHex(uint32_t Value, int Digits) { return HexDigits(Value, Digits); }
std::string IntToHex(int64_t Value, int Digits) {
  return HexDigits(static_cast<uint64_t>(Value), Digits);
}
std::string IntToHex(uint64_t Value, int Digits) { return HexDigits(Value, Digits); }

int32_t StrToInt(const std::string& S) {
  int32_t v = 0;
  if (ValInt(S, v) != 0) throw EConvertError("'" + S + "' is not a valid integer value");
  return v;
}

int64_t StrToInt64(const std::string& S) {
  int64_t v = 0;
  if (ValInt(S, v) != 0) throw EConvertError("'" + S + "' is not a valid integer value");
  return v;
}

int32_t StrToIntDef(const std::string& S, int32_t Default) {
  int32_t v = 0;
  return ValInt(S, v) == 0 ? v : Default;
}

bool TryStrToInt(const std::string& S, int32_t& Value) {
  int32_t v = 0;
  if (ValInt(S, v) != 0) return false;
  Value = v;
  return true;
}

char GetDecimalSeparator() { return gDecimalSeparator.load(std::memory_order_relaxed); }
void SetDecimalSeparator(char Separator) {
  gDecimalSeparator.store(Separator, std::memory_order_relaxed);
}
char GetThousandSeparator() { return gThousandSeparator.load(std::memory_order_relaxed); }
void SetThousandSeparator(char Separator) {
  gThousandSeparator.store(Separator, std::memory_order_relaxed);
}

std::string FloatToStr(long double Value) { return GeneralText(Value, 15, GetDecimalSeparator()); }

bool TryStrToFloat(const std::string& S, long double& Value) {
  // Trailing blanks are allowed as well as leading ones; the number uses DecimalSeparator.
  std::string t = S;
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
  size_t start = 0, end = 0;
  if (ScanDecimal(t, GetDecimalSeparator(), start, end) != 0) return false;
  std::string c = t.substr(start, end - start);
  for (char& ch : c)
    if (ch == GetDecimalSeparator()) ch = '.';
  long double v = ConvertDecimal(c);
  if (!std::isfinite(v)) return false;  // beyond the extended range is not a value
  Value = v;
  return true;
}

long double StrToFloat(const std::string& S) {
  long double v = 0;
  if (!TryStrToFloat(S, v)) throw EConvertError("'" + S + "' is not a valid floating point value");
  return v;
}

std::string Format(const std::string& Fmt, std::initializer_list<TFormatArg> Args) {
  const TFormatArg* args = Args.begin();
  const size_t argc = Args.size();
  size_t next = 0;
  auto invalid = [&]() -> EConvertError {
    return EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
  };
  auto take = [&]() -> const TFormatArg& {
    if (next >= argc) throw EConvertError("No argument for format '" + Fmt + "'");
    return args[next++];
  };
  constexpr int kLimit = 4096;
  std::string out;
  const size_t n = Fmt.size();
  size_t i = 0;
  auto number = [&](int& v) -> bool {
    if (i < n && Fmt[i] == '*') {
      ++i;
      const TFormatArg& a = take();
      if (a.Kind() != TFormatArg::fakInt && a.Kind() != TFormatArg::fakUInt) throw invalid();
      int64_t w = a.Kind() == TFormatArg::fakInt
                      ? a.AsInt()
                      : static_cast<int64_t>(std::min<uint64_t>(a.AsUInt(), kLimit + 1));
      if (w > kLimit || w < -kLimit) throw invalid();
      v = static_cast<int>(w);
      return true;
    }
    if (i >= n || !IsDigit(Fmt[i])) return false;
    int64_t w = 0;
    while (i < n && IsDigit(Fmt[i])) {
      w = w * 10 + (Fmt[i++] - '0');
      if (w > kLimit) throw invalid();
    }
    v = static_cast<int>(w);
    return true;
  };
  while (i < n) {
    char c = Fmt[i++];
    if (c != '%') {
      out += c;
      continue;
    }
    if (i < n && Fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // An index "N:" comes first; a plain number without ":" is the width.
    int width = -1, prec = -1;
    bool left = false;
    if (i < n && IsDigit(Fmt[i])) {
      size_t save = i;
      int v = 0;
      number(v);
      if (i < n && Fmt[i] == ':') {
        next = static_cast<size_t>(v);
        ++i;
      } else {
        i = save;
      }
    }
    if (i < n && Fmt[i] == '-') {
      left = true;
      ++i;
    }
    if (number(width) && width < 0) {
      left = true;
      width = -width;
    }
    if (i < n && Fmt[i] == '.') {
      ++i;
      if (!number(prec)) prec = 0;
    }
    if (i >= n) throw invalid();
    char type = Fmt[i++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    std::string text;
    bool isString = false;
    const TFormatArg& a = (type == 'd' || type == 'u' || type == 'x' || type == 's' ||
                           type == 'f' || type == 'e' || type == 'g' || type == 'n' || type == 'p')
                              ? take()
                              : throw invalid();
    const bool isInt = a.Kind() == TFormatArg::fakInt || a.Kind() == TFormatArg::fakUInt;
    auto padDigits = [&](std::string d) {
      if (prec > 0 && d.size() < static_cast<size_t>(prec))
        d.insert(0, static_cast<size_t>(prec) - d.size(), '0');
      return d;
    };
    // The bit pattern of an integer argument for %u and %x.
    auto pattern = [&]() -> uint64_t {
      if (a.Kind() == TFormatArg::fakUInt) return a.AsUInt();
      return a.Is32() ? static_cast<uint32_t>(a.AsInt()) : static_cast<uint64_t>(a.AsInt());
    };
    const char sep = GetDecimalSeparator();
    switch (type) {
      case 'd':
        if (!isInt) throw invalid();
        if (a.Kind() == TFormatArg::fakUInt) {
          text = padDigits(std::to_string(a.AsUInt()));
        } else {
          int64_t v = a.AsInt();
          uint64_t mag = v < 0 ? uint64_t{0} - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
          text = (v < 0 ? "-" : "") + padDigits(std::to_string(mag));
        }
        break;
      case 'u':
        if (!isInt) throw invalid();
        text = padDigits(std::to_string(pattern()));
        break;
      case 'x':
        if (!isInt) throw invalid();
        text = padDigits(HexDigits(pattern(), 0));
        break;
      case 'p':
        if (a.Kind() != TFormatArg::fakPointer) throw invalid();
        text = HexDigits(reinterpret_cast<uintptr_t>(a.AsPointer()), 2 * sizeof(void*));
        break;
      case 's': {
        if (a.Kind() != TFormatArg::fakString) throw invalid();
        text = a.AsString();
        isString = true;
        if (prec >= 0) {
          // Cut after prec code points, never inside a UTF-8 sequence.
          size_t pos = 0;
          int count = 0;
          while (pos < text.size() && count < prec) {
            ++pos;
            while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80)
              ++pos;
            ++count;
          }
          text.resize(pos);
        }
        break;
      }
      case 'f':
      case 'n':
        if (a.Kind() != TFormatArg::fakFloat) throw invalid();
        if (!std::isfinite(a.AsFloat()))
          text = NonFiniteText(a.AsFloat(), false);
        else
          text = FixedText(a.AsFloat(), prec < 0 ? 2 : prec, sep,
                           type == 'n' ? GetThousandSeparator() : 0);
        break;
      case 'e':
        if (a.Kind() != TFormatArg::fakFloat) throw invalid();
        text = ExpText(a.AsFloat(), std::clamp(prec < 0 ? 15 : prec, 1, 18), sep);
        break;
      case 'g':
        if (a.Kind() != TFormatArg::fakFloat) throw invalid();
        text = GeneralText(a.AsFloat(), std::clamp(prec <= 0 ? 15 : prec, 1, 18), sep);
        break;
      default:
        throw invalid();
    }
    // Width counts code points, so a UTF-8 string lines up like an ASCII one.
    size_t len = text.size();
    if (isString) {
      len = 0;
      for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80) ++len;
    }
    if (width > 0 && len < static_cast<size_t>(width)) {
      std::string pad(static_cast<size_t>(width) - len, ' ');
      text = left ? text + pad : pad + text;
    }
    out += text;
  }
  return out;
}

}  // namespace qel

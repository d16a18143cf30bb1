#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/NumText.h"

namespace qel {
namespace {

const long double kNaN = std::numeric_limits<long double>::quiet_NaN();
const long double kInf = std::numeric_limits<long double>::infinity();

// Restores the separators a test changes, so later tests see the defaults.
struct SeparatorGuard {
  char Dec = GetDecimalSeparator();
  char Thou = GetThousandSeparator();
  ~SeparatorGuard() {
    SetDecimalSeparator(Dec);
    SetThousandSeparator(Thou);
  }
};

TEST(StrFixed, RoundsExactHalvesAwayFromZero) {
  EXPECT_EQ(StrFixed(2.5, 0, 0), "3");
  EXPECT_EQ(StrFixed(-2.5, 0, 0), "-3");
  EXPECT_EQ(StrFixed(3.5, 0, 0), "4");
  EXPECT_EQ(StrFixed(0.125, 0, 2), "0.13");
  EXPECT_EQ(StrFixed(0.5, 0, 0), "1");
  // 1.005 is stored just below the half, so it rounds down.
  EXPECT_EQ(StrFixed(1.005, 0, 2), "1.00");
  // A half in the last bits of the extended mantissa: 2^62 + 0.5.
  EXPECT_EQ(StrFixed(std::ldexp(1.0L, 62) + 0.5L, 0, 0), "4611686018427387905");
  // Just below a half must not round up even though printf at few digits shows "5".
  EXPECT_EQ(StrFixed(0.5L - std::ldexp(1.0L, -64), 0, 0), "0");
  EXPECT_EQ(StrFixed(0.5L - std::ldexp(1.0L, -64), 0, 19), "0.4999999999999999999");
  EXPECT_EQ(StrFixed(0.5L - std::ldexp(1.0L, -64), 0, 20), "0.49999999999999999995");
}

TEST(StrFixed, FieldWidthSignAndCarries) {
  EXPECT_EQ(StrFixed(123.456, 10, 2), "    123.46");
  EXPECT_EQ(StrFixed(12345.6, 3, 1), "12345.6");  // never cut
  EXPECT_EQ(StrFixed(-3.14159, 1, 2), "-3.14");
  EXPECT_EQ(StrFixed(9.995, 0, 1), "10.0");
  EXPECT_EQ(StrFixed(99.96, 6, 1), " 100.0");
  EXPECT_EQ(StrFixed(0.0004, 0, 3), "0.000");
  EXPECT_EQ(StrFixed(0.0005, 0, 2), "0.00");
  EXPECT_EQ(StrFixed(-0.001, 0, 2), "0.00");  // no "-0.00"
  EXPECT_EQ(StrFixed(-0.0, 0, 0), "0");
  EXPECT_EQ(StrFixed(7, 0, 0), "7");
  EXPECT_EQ(StrFixed(std::ldexp(1.0L, 70), 0, 0), "1180591620717411303424");
  EXPECT_EQ(StrFixed(1e20, 0, 1), "100000000000000000000.0");
  EXPECT_EQ(StrFixed(kNaN, 5, 2), "  Nan");
  EXPECT_EQ(StrFixed(kInf, 0, 2), "+Inf");
  EXPECT_EQ(StrFixed(-kInf, 6, 2), "  -Inf");
  EXPECT_EQ(StrFixed(1.5, 14, -1), StrSci(1.5, 14));
}

// Reference rounding on the exact decimal expansion, which glibc prints for enough digits.
std::string ReferenceFixed(long double x, int decimals) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.200Lf", std::fabs(x));
  std::string s = buf;
  size_t dot = s.find('.');
  std::string digits = s.substr(0, dot) + s.substr(dot + 1, decimals);
  char next = s[dot + 1 + decimals];
  if (next >= '5') {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0)
      digits.insert(digits.begin(), '1');
    else
      ++digits[i - 1];
  }
  std::string r = digits.substr(0, digits.size() - decimals);
  size_t nz = r.find_first_not_of('0');
  r = nz == std::string::npos ? "0" : r.substr(nz);
  if (decimals > 0) r += "." + digits.substr(digits.size() - decimals);
  bool zero = digits.find_first_not_of('0') == std::string::npos;
  return (x < 0 && !zero ? "-" : "") + r;
}

TEST(StrFixed, AgreesWithExactExpansionOnRandomValues) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 3000; ++i) {
    int exp2 = static_cast<int>(rng() % 100) - 40;
    long double m = static_cast<long double>(rng()) / 18446744073709551616.0L;
    long double x = std::ldexp(m, exp2) * ((rng() & 1) ? 1 : -1);
    // Snap some values onto halves at a random decimal to exercise the tie path.
    int decimals = static_cast<int>(rng() % 8);
    if (i % 3 == 0) x = std::floor(x * 8) / 8;
    ASSERT_EQ(StrFixed(x, 0, decimals), ReferenceFixed(x, decimals))
        << "x=" << static_cast<double>(x) << " d=" << decimals;
  }
}

// Reference scientific text from the exact expansion (exact for the magnitudes used below).
std::string ReferenceSci(long double x, int digits) {
  char buf[512];
  std::snprintf(buf, sizeof buf, "%.200Le", std::fabs(x));
  std::string s = buf;
  std::string all;
  size_t e = s.find('e');
  for (size_t i = 0; i < e; ++i)
    if (s[i] >= '0' && s[i] <= '9') all += s[i];
  int exp = std::atoi(s.c_str() + e + 1);
  std::string kept = all.substr(0, digits);
  if (all[digits] >= '5') {
    size_t i = kept.size();
    while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
    if (i == 0) {
      kept.insert(kept.begin(), '1');
      kept.pop_back();
      ++exp;
    } else {
      ++kept[i - 1];
    }
  }
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exp < 0 ? '-' : '+', exp < 0 ? -exp : exp);
  return std::string(x < 0 ? "-" : " ") + kept[0] + "." + kept.substr(1) + tail;
}

TEST(StrSci, AgreesWithExactExpansionOnRandomValues) {
  std::mt19937_64 rng(777);
  for (int i = 0; i < 3000; ++i) {
    int exp2 = static_cast<int>(rng() % 120) - 40;
    long double m = static_cast<long double>(rng() | 1) / 18446744073709551616.0L;
    int digits = 2 + static_cast<int>(rng() % 17);
    long double x = std::ldexp(m, exp2) * ((rng() & 1) ? 1 : -1);
    if (i % 3 == 0) x = std::ldexp(std::floor(std::ldexp(x, 6)), -6);  // short binary fractions
    if (x == 0) continue;
    ASSERT_EQ(StrSci(x, digits + 8), ReferenceSci(x, digits))
        << "x=" << static_cast<double>(x) << " digits=" << digits;
  }
}

TEST(StrSci, LayoutDigitsAndExponent) {
  EXPECT_EQ(StrSci(12.5, 14), " 1.25000E+0001");
  EXPECT_EQ(StrSci(-1.5, 14), "-1.50000E+0000");
  EXPECT_EQ(StrSci(0, 14), " 0.00000E+0000");
  EXPECT_EQ(StrSci(12.5, 10), " 1.3E+0001");  // two digits, the half goes up
  EXPECT_EQ(StrSci(12.5, 3), " 1.3E+0001");   // too narrow: widened to two digits
  EXPECT_EQ(StrSci(9.99999, 12), " 1.000E+0001");
  EXPECT_EQ(StrSci(1e-300, 14), " 1.00000E-0300");
  EXPECT_EQ(StrSci(1e150, 14), " 1.00000E+0150");
  EXPECT_EQ(StrSci(1e4000L, 14), " 1.00000E+4000");
  EXPECT_EQ(StrSci(-0.000123456789, 16), "-1.2345679E-0004");
  // Eighteen digits at most; a wider field right-aligns.
  EXPECT_EQ(StrSci(1, 30), "     1.00000000000000000E+0000");
  EXPECT_EQ(StrSci(kNaN, 14), "           Nan");
  EXPECT_EQ(StrSci(-kInf, 6), "  -Inf");
  EXPECT_EQ(StrSci(std::numeric_limits<long double>::denorm_min(), 12).substr(7), "-4951");
}

TEST(Val, ReadsExtendedAndReportsFirstBadPosition) {
  long double x = -1;
  int code = -1;
  Val("12.5", x, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(x, 12.5L);
  Val("  -1.5e3", x, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(x, -1500.0L);
  Val("0.1", x, code);
  EXPECT_EQ(x, 0.1L);  // extended precision, not the double 0.1
  Val("+.5", x, code);
  EXPECT_EQ(x, 0.5L);
  Val("5.", x, code);
  EXPECT_EQ(x, 5.0L);
  Val("1E4900", x, code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(std::isfinite(x));
  Val("1e99999", x, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(x, kInf);
  Val("-1e99999", x, code);
  EXPECT_EQ(x, -kInf);
  Val("1e-99999", x, code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(x, 0.0L);

  struct Bad {
    const char* Text;
    int Code;
  };
  for (Bad b : {Bad{"", 1}, Bad{"1.5x", 4}, Bad{"1e", 3}, Bad{"1e+", 4}, Bad{".", 2}, Bad{"-", 2},
                Bad{"1 ", 2}, Bad{"e5", 1}, Bad{"1,5", 2}, Bad{"--1", 2}, Bad{"1.2.3", 4},
                Bad{"inf", 1}, Bad{"0x10", 2}}) {
    x = 7;
    Val(b.Text, x, code);
    EXPECT_EQ(code, b.Code) << b.Text;
    EXPECT_EQ(x, 0.0L) << b.Text;
  }
}

TEST(Val, IntegersDecimalAndHexAtTheBoundaries) {
  int32_t v = 0;
  int code = -1;
  struct Case {
    const char* Text;
    int Code;
    int32_t Value;
  };
  for (Case c : {Case{"2147483647", 0, 2147483647}, Case{"-2147483648", 0, INT32_MIN},
                 Case{"2147483648", 10, 0}, Case{"-2147483649", 11, 0}, Case{"99999999999", 10, 0},
                 Case{"$FF", 0, 255}, Case{"$FFFFFFFF", 0, -1}, Case{"0x7fffffff", 0, INT32_MAX},
                 Case{"-$10", 0, -16}, Case{"$100000000", 10, 0}, Case{" 12", 0, 12},
                 Case{"12 ", 3, 0}, Case{"", 1, 0}, Case{"-", 2, 0}, Case{"$", 2, 0},
                 Case{"1.0", 2, 0}, Case{"+7", 0, 7}, Case{"$G", 2, 0}}) {
    Val(c.Text, v, code);
    EXPECT_EQ(code, c.Code) << c.Text;
    EXPECT_EQ(v, c.Value) << c.Text;
  }
}

TEST(StrToInt, OverflowAndJunkRaise) {
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  try {
    StrToInt("2147483648");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'2147483648' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt("-2147483649"), EConvertError);
  EXPECT_THROW(StrToInt("12a"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_EQ(StrToInt64("2147483648"), 2147483648LL);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToIntDef("x", 17), 17);
  int32_t v = 5;
  EXPECT_FALSE(TryStrToInt("1e3", v));
  EXPECT_EQ(v, 5);  // a failed read changes nothing
  EXPECT_TRUE(TryStrToInt("-0", v));
  EXPECT_EQ(v, 0);
}

TEST(IntText, DecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(uint64_t{0xABC}, -3), "ABC");
}

TEST(FloatToStr, FifteenDigitsGeneralFormat) {
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(-2.5), "-2.5");
  EXPECT_EQ(FloatToStr(0), "0");
  EXPECT_EQ(FloatToStr(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15), "1E15");
  EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
  EXPECT_EQ(FloatToStr(1e-5), "0.00001");
  EXPECT_EQ(FloatToStr(1.25e-6), "1.25E-6");
  EXPECT_EQ(FloatToStr(999999999999999.9), "1E15");  // the carry moves the exponent
  EXPECT_EQ(FloatToStr(kNaN), "NAN");
  EXPECT_EQ(FloatToStr(-kInf), "-INF");
  SeparatorGuard guard;
  SetDecimalSeparator(',');
  EXPECT_EQ(FloatToStr(2.5), "2,5");
}

TEST(StrToFloat, UsesDecimalSeparatorAndRefusesOverflow) {
  SeparatorGuard guard;
  EXPECT_EQ(StrToFloat(" 2.5 "), 2.5L);
  EXPECT_THROW(StrToFloat("1e99999"), EConvertError);
  try {
    StrToFloat("abc");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'abc' is not a valid floating point value");
  }
  SetDecimalSeparator(',');
  EXPECT_EQ(StrToFloat("1,5"), 1.5L);
  EXPECT_THROW(StrToFloat("1.5"), EConvertError);
  long double v = 3;
  EXPECT_FALSE(TryStrToFloat("", v));
  EXPECT_EQ(v, 3.0L);
}

TEST(Format, IntegersStringsAndFloats) {
  EXPECT_EQ(Format("%d %s %.2f", {42, "x", 3.5}), "42 x 3.50");
  EXPECT_EQ(Format("%5d|%-5d|", {42, 42}), "   42|42   |");
  EXPECT_EQ(Format("%.3d|%.3d", {5, -5}), "005|-005");
  EXPECT_EQ(Format("%x %X %.4x", {255, 255, 10}), "FF FF 000A");
  EXPECT_EQ(Format("%x %u", {-1, -1}), "FFFFFFFF 4294967295");
  EXPECT_EQ(Format("%x", {-1LL}), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Format("%*.*f|%-*d|", {8, 3, 3.14159, 4, 7}), "   3.142|7   |");
  EXPECT_EQ(Format("%f", {2.0 / 3}), "0.67");
  EXPECT_EQ(Format("%.0f", {2.5}), "3");
  EXPECT_EQ(Format("%e", {12345.678}), "1.23456780000000E+004");
  EXPECT_EQ(Format("%.3e", {-0.00012345}), "-1.23E-004");
  EXPECT_EQ(Format("%g|%g", {1e20, 0.5}), "1E20|0.5");
  EXPECT_EQ(Format("%n|%n|%.0n", {1234567.891, -1234.5, 999.5}), "1,234,567.89|-1,234.50|1,000");
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format("100%%", {}), "100%");
  EXPECT_EQ(Format("%.2s|%4s|%-3s|", {"ÄÖÜ", "Ä", "é"}), "ÄÖ|   Ä|é  |");
  EXPECT_EQ(Format("%s", {std::string("std")}), "std");
  // Plain C++ values convert without casts.
  EXPECT_EQ(Format("%d|%d|%u|%s|%.1f",
                   {true, static_cast<short>(3), sizeof(int32_t), std::string_view("sv"), 1.25f}),
            "1|3|4|sv|1.3");
  EXPECT_EQ(Format("%f", {kInf}), "INF");
  SeparatorGuard guard;
  SetDecimalSeparator(',');
  SetThousandSeparator('.');
  EXPECT_EQ(Format("%.1f %n", {2.25, 1234.5}), "2,3 1.234,50");
}

TEST(Format, BadSpecifiersAndMismatchesRaise) {
  try {
    Format("%d", {1.5});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Format '%d' invalid or incompatible with argument");
  }
  try {
    Format("%d %d", {1});
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "No argument for format '%d %d'");
  }
  EXPECT_THROW(Format("%f", {1}), EConvertError);
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("%q", {1}), EConvertError);
  EXPECT_THROW(Format("%", {}), EConvertError);
  EXPECT_THROW(Format("%5", {1}), EConvertError);
  EXPECT_THROW(Format("%99999d", {1}), EConvertError);
  EXPECT_THROW(Format("%*d", {"x", 1}), EConvertError);
  EXPECT_THROW(Format("%3:d", {1}), EConvertError);
}

}  // namespace
}  // namespace qel

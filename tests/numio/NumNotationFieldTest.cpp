// Writing numbers (FormatFloatField, the digit formatters) and the entry points the two numeric
// fields delegate to.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "frame/QEL_errors.h"
#include "frame/QEL_univconst.h"
#include "numio/NumNotation.h"

namespace qel {
namespace {

TEST(FormatFloatField, FixedNotationRoundingAndWidth) {
  struct Case {
    int Width, Decimals;
    double Value;
    const char* Text;
  };
  const Case cases[] = {
      {1, 2, -3.14159, "-3.14"}, {8, 2, -3.14159, "   -3.14"}, {1, 0, 12.4, "12"},
      {1, 3, 0.0005, "0.001"},   {1, 2, 2.675, "2.67"},  // 2.675 is stored below the half
      {1, 1, 0.25, "0.3"},       {4, 0, -7, "  -7"},           {1, 2, -0.001, "0.00"},
      {0, 2, 1.5, "1.50"},       {3, 4, 1.5, "1.5000"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatFloatField(c.Width, c.Decimals, c.Value), c.Text)
        << c.Width << ":" << c.Decimals << " " << c.Value;
}

TEST(FormatFloatField, NegativeWidthFillsWithZeros) {
  EXPECT_EQ(FormatFloatField(-8, 2, -3.14159), "-0003.14");
  EXPECT_EQ(FormatFloatField(-8, 2, 3.14159), "00003.14");
  EXPECT_EQ(FormatFloatField(-5, 0, -42), "-0042");
  EXPECT_EQ(FormatFloatField(-2, 2, -3.14159), "-3.14");  // already wider than the field
  EXPECT_EQ(FormatFloatField(-12, -2, 12.5), "01.25000E+01");
  EXPECT_EQ(FormatFloatField(-12, -2, -12.5), "-1.25000E+01");
  EXPECT_EQ(FormatFloatField(std::numeric_limits<int>::min(), 0, 1).size(), 1024u);
}

TEST(FormatFloatField, ScientificCutsTheExponentToTwoDigits) {
  EXPECT_EQ(FormatFloatField(12, -2, 12.5), " 1.25000E+01");
  EXPECT_EQ(FormatFloatField(12, -2, -1.5e-7), "-1.50000E-07");
  EXPECT_EQ(FormatFloatField(12, -2, 0), " 0.00000E+00");
  EXPECT_EQ(FormatFloatField(12, -2, 9.999994e99), " 9.99999E+99");
  EXPECT_EQ(FormatFloatField(9, -2, 123456), " 1.23E+05");
  // Three-digit exponents, also when only rounding brings the exponent to 100.
  EXPECT_EQ(FormatFloatField(12, -2, 1e150), std::string(12, '*'));
  EXPECT_EQ(FormatFloatField(12, -2, 1e-100), std::string(12, '*'));
  EXPECT_EQ(FormatFloatField(12, -2, 9.999999e99), std::string(12, '*'));
  EXPECT_EQ(FormatFloatField(12, -2, -uc_MaxDouble), std::string(12, '*'));
}

TEST(DigitFormatters, CountsArePaddedAndClamped) {
  EXPECT_EQ(FormatHexDigits(255, 4), "00FF");
  EXPECT_EQ(FormatHexDigits(0xABCDEF12u, 8), "ABCDEF12");
  EXPECT_EQ(FormatHexDigits(0xABCDEF12u, 2), "12");  // least significant digits kept
  EXPECT_EQ(FormatHexDigits(0xFFFFFFFFu, 20), "FFFFFFFF");
  EXPECT_EQ(FormatHexDigits(5, 0), "5");
  EXPECT_EQ(FormatHexDigits(5, -3), "5");
  EXPECT_EQ(FormatOctDigits(8, 3), "010");
  EXPECT_EQ(FormatOctDigits(0xFFFFFFFFu, 11), "37777777777");
  EXPECT_EQ(FormatOctDigits(0xFFFFFFFFu, 99), "37777777777");
  EXPECT_EQ(FormatBinDigits(5, 4), "0101");
  EXPECT_EQ(FormatBinDigits(0x80000000u, 40), "1" + std::string(31, '0'));
}

TEST(NioFormatValue, TextsOfEveryNotation) {
  EXPECT_EQ(NioFormatValue(12.5, itExp, 6, 2), " 1.25000E+01");
  EXPECT_EQ(NioFormatValue(1e150, itExp, 6, 2), std::string(12, '*'));
  EXPECT_EQ(NioFormatValue(12.5, itExp, 3, 2), " 1.25E+01");
  EXPECT_EQ(NioFormatValue(-3.14159, itFloat, 6, 3), "-3.142");
  EXPECT_EQ(NioFormatValue(2, itFixPoint, 6, 2), "2.00");
  EXPECT_EQ(NioFormatValue(2.5, itInt, 6, 2), "2");  // halves to the even neighbour
  EXPECT_EQ(NioFormatValue(3.5, itInt, 6, 2), "4");
  EXPECT_EQ(NioFormatValue(-2.5, itDynamic, 6, 2), "-2");
  EXPECT_EQ(NioFormatValue(1e10, itInt, 6, 2), "10000000000");
  EXPECT_EQ(NioFormatValue(-1, itBin, 6, 2), std::string(32, '1'));
  EXPECT_EQ(NioFormatValue(-1, itOct, 6, 2), "37777777777");
  EXPECT_EQ(NioFormatValue(-1, itHex, 6, 2), "FFFFFFFF");
  EXPECT_EQ(NioFormatValue(255.4, itHex, 6, 2), "000000FF");
  EXPECT_EQ(NioFormatValue(4294967295.0, itHex, 6, 2), "FFFFFFFF");
  EXPECT_EQ(NioFormatValue(1e20, itHex, 6, 2), "FFFFFFFF");  // saturates, no wrap to junk
  EXPECT_EQ(NioFormatValue(-1e20, itHex, 6, 2), "80000000");
  EXPECT_EQ(NioFormatValue(std::nan(""), itHex, 6, 2), "00000000");
}

TEST(NioGetValue, DecimalNotations) {
  for (TInFormat f : {itExp, itFloat, itFixPoint, itDynamic})
    for (const char* t : {"", "-", "+"}) EXPECT_EQ(NioGetValue(t, f), 0) << f << " '" << t << "'";
  EXPECT_EQ(NioGetValue("1,5", itFloat), 1.5);  // any separator reads
  EXPECT_EQ(NioGetValue("1.5e3", itFixPoint), 1500);
  EXPECT_EQ(NioGetValue("2.5 kg", itExp), 2.5);
  EXPECT_EQ(NioGetValue("1E", itExp), 1);
  EXPECT_EQ(NioGetValue("1E+", itExp), 1);
  EXPECT_EQ(NioGetValue("-7.5E-", itDynamic), -7.5);
  EXPECT_EQ(NioGetValue("1e9999", itExp), uc_MaxDouble);
}

TEST(NioGetValue, IntegerNotation) {
  EXPECT_EQ(NioGetValue("", itInt), 0);
  EXPECT_EQ(NioGetValue("-", itInt), 0);
  EXPECT_EQ(NioGetValue("12x", itInt), 0);
  EXPECT_EQ(NioGetValue("+0042", itInt), 42);
  EXPECT_EQ(NioGetValue("-2147483648", itInt), -2147483648.0);
  EXPECT_EQ(NioGetValue("99999999999", itInt), 2147483647.0);
  // A negative text beyond the range saturates on its own side.
  EXPECT_EQ(NioGetValue("-99999999999", itInt), -2147483648.0);
  EXPECT_EQ(NioGetValue("-" + std::string(40, '9'), itInt), -2147483648.0);
}

TEST(NioGetValue, RadixNotationsReadTheirTwosComplementPattern) {
  EXPECT_EQ(NioGetValue("$FF", itDynamic), 255);
  EXPECT_EQ(NioGetValue("$FFFFFFFF", itDynamic), -1);
  EXPECT_EQ(NioGetValue("%101", itDynamic), 5);
  EXPECT_EQ(NioGetValue("&17", itDynamic), 15);
  EXPECT_EQ(NioGetValue("$", itDynamic), 0);
  EXPECT_EQ(NioGetValue("FFFFFFFF", itHex), -1);
  EXPECT_EQ(NioGetValue("7fffffff", itHex), 2147483647);
  EXPECT_EQ(NioGetValue("37777777777", itOct), -1);
  EXPECT_EQ(NioGetValue(std::string(32, '1'), itBin), -1);
  EXPECT_EQ(NioGetValue("zz", itHex), 0);
  // Every value the fields write reads back as itself.
  for (double x : {0.0, 1.0, -1.0, 255.0, -2147483648.0, 2147483647.0, 123456789.0})
    for (TInFormat f : {itHex, itOct, itBin, itInt, itDynamic})
      EXPECT_EQ(NioGetValue(NioFormatValue(x, f, 6, 2), f), x) << f << " " << x;
}

TEST(NioGetIntValue, RoundsAndRaisesBeyond32Bits) {
  EXPECT_EQ(NioGetIntValue("2.5", itExp, "N"), 2);
  EXPECT_EQ(NioGetIntValue("3.5", itExp, "N"), 4);
  EXPECT_EQ(NioGetIntValue("-2147483648", itExp, "N"), INT32_MIN);
  EXPECT_EQ(NioGetIntValue("99999999999", itInt, "N"), INT32_MAX);
  EXPECT_EQ(NioGetIntValue("FFFFFFFF", itHex, "N"), -1);
  for (const char* t : {"2147483648", "2147483647.5", "-2147483649", "1e300"}) {
    try {
      NioGetIntValue(t, itExp, "NumIO1");
      ADD_FAILURE() << t << " did not raise";
    } catch (const EQELNumIO2Error& e) {
      EXPECT_EQ(e.Message, "Component \"NumIO1\": integer overflow");
    }
  }
}

TEST(NioOutOfRange, BoundsAreInside) {
  EXPECT_FALSE(NioOutOfRange("0", itFloat, 0, 10));
  EXPECT_FALSE(NioOutOfRange("10", itFloat, 0, 10));
  EXPECT_TRUE(NioOutOfRange("10.001", itFloat, 0, 10));
  EXPECT_TRUE(NioOutOfRange("-0.5", itFloat, 0, 10));
  EXPECT_FALSE(NioOutOfRange("5", itInt, 5, 5));
  EXPECT_TRUE(NioOutOfRange("5", itInt, std::nan(""), 10));  // "not at least" a NaN low end
  EXPECT_TRUE(NioOutOfRange("$FFFFFFFF", itDynamic, 0, 1e10));
}

TEST(ConvertNumString, DecimalNotations) {
  struct Case {
    const char* Text;
    TInFormat Fmt;
    uint8_t Sep;
    bool Ok;
    double Value;
  };
  const Case cases[] = {
      {" 12 3", itExp, 3, false, 0},
      {"1e+", itExp, 3, true, 1},
      {"   ", itExp, 3, true, 0},
      {"  12", itExp, 3, true, 12},
      {"1E-", itExp, 3, true, 1},
      {"-", itExp, 3, true, 0},
      {".", itFloat, 3, true, 0},
      {"1,5", itFloat, 1, false, 0},
      {"1,5", itFloat, 2, true, 1.5},
      {"1.5", itFloat, 2, false, 0},
      {"1e5", itFloat, 3, false, 0},
      {"1.25E2", itExp, 1, true, 125},
      {"12x", itExp, 3, false, 0},
      {"1e5x", itExp, 3, false, 0},
      {"e", itExp, 3, true, 0},
      {"2.5", itFixPoint, 3, true, 2.5},
      {"1e9999", itExp, 3, true, uc_MaxDouble},
      {"4.5", itDynamic, 3, true, 4.5},
  };
  for (const Case& c : cases) {
    double v = -99;
    EXPECT_EQ(ConvertNumString(c.Text, v, c.Fmt, c.Sep), c.Ok) << "'" << c.Text << "'";
    EXPECT_EQ(v, c.Value) << "'" << c.Text << "'";
  }
  double untouched = -99;
  EXPECT_FALSE(ConvertNumString("", untouched, itExp, 3));
  EXPECT_EQ(untouched, -99);
}

TEST(ConvertNumString, IntegerAndRadixNotations) {
  struct Case {
    const char* Text;
    TInFormat Fmt;
    bool Ok;
    double Value;
  };
  const Case cases[] = {
      {"123", itInt, true, 123},       {"-2147483648", itInt, true, -2147483648.0},
      {"2147483648", itInt, false, 0}, {"6442450943", itInt, false, 0},  // would wrap to INT_MAX
      {"12.5", itInt, false, 0},       {"-", itInt, true, 0},
      {"ff", itHex, true, 255},        {"FFFFFFFF", itHex, true, -1},
      {"fg", itHex, false, 0},         {"$ff", itHex, false, 0},
      {"17", itOct, true, 15},         {"18", itOct, false, 0},
      {"101", itBin, true, 5},         {"2", itBin, false, 0},
      {"$Ff", itDynamic, true, 255},   {"&17", itDynamic, true, 15},
      {"%101", itDynamic, true, 5},    {"%102", itDynamic, false, 0},
      {"$", itDynamic, true, 0},       {"  &", itDynamic, true, 0},
  };
  for (const Case& c : cases) {
    double v = -99;
    EXPECT_EQ(ConvertNumString(c.Text, v, c.Fmt, 3), c.Ok) << "'" << c.Text << "'";
    EXPECT_EQ(v, c.Value) << "'" << c.Text << "'";
  }
}

}  // namespace
}  // namespace qel

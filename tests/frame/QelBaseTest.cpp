// Shared enumerations, name tables, colour helpers and numeric helpers of the foundation unit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "frame/QEL_errors.h"
#include "frame/QEL_math1.h"
#include "frame/QEL_qelbase.h"
#include "frame/QEL_qelcolors.h"
#include "frame/QEL_stringl.h"

namespace qel {
namespace {

TEST(QelBase, ComponentMessagesAndErrorHierarchy) {
  EXPECT_EQ(ComponentMessage("NumIO1", kNoTimerAvailable),
            "Component \"NumIO1\": no timer available");
  try {
    throw EQELDStructError("x");
  } catch (const EQELError& e) {
    EXPECT_EQ(e.Message, "x");
  }
  static_assert(std::is_base_of_v<Exception, EQELProgBar>);
}

TEST(QelBase, SchemeFrameColoursFollowTheOrdinal) {
  EXPECT_EQ(SchemeFrameColors(csBWG).Shadow, 0x808080u);
  EXPECT_EQ(SchemeFrameColors(csBWG).Highlight, 0xFFFFFFu);
  EXPECT_EQ(SchemeFrameColors(csSystem).Shadow, 0x80000010u);
  EXPECT_EQ(SchemeFrameColors(static_cast<TColorScheme>(7)).Highlight, 0x80000014u);
}

TEST(QelBase, CsvDelimitersAndLogicOps) {
  EXPECT_EQ(CSVDelimiterChar(csvComma), ',');
  EXPECT_EQ(CSVDelimiterChar(csvSemicolon), ';');
  EXPECT_EQ(CSVDelimiterChar(csvTab), '\t');
  EXPECT_EQ(CSVDelimiterChar(csvSpace), ' ');
  for (bool a : {false, true})
    for (bool b : {false, true}) {
      EXPECT_EQ(ApplyLogicOp(loAnd, a, b), a && b);
      EXPECT_EQ(ApplyLogicOp(loOr, a, b), a || b);
      EXPECT_EQ(ApplyLogicOp(loXor, a, b), a != b);
      EXPECT_EQ(ApplyLogicOp(loNone, a, b), b);
    }
}

// The tables are read as short strings of fixed capacity, so every entry must keep its limit
// in characters (the accented month names are longer in bytes).
TEST(QelBase, NameTablesKeepTheirLengthLimits) {
  for (int lang = 0; lang < kLanguageCount; ++lang) {
    EXPECT_STREQ(MonthLong[lang][0], "");
    for (int m = 1; m <= 12; ++m) {
      EXPECT_GT(Utf8Length(MonthLong[lang][m]), 2) << lang << "/" << m;
      EXPECT_LE(Utf8Length(MonthLong[lang][m]), 10) << MonthLong[lang][m];
      EXPECT_GE(Utf8Length(MonthShort[lang][m]), 3) << lang << "/" << m;
      EXPECT_LE(Utf8Length(MonthShort[lang][m]), 4) << MonthShort[lang][m];
    }
    std::set<std::string> days;
    for (int d = 1; d <= 7; ++d) {
      EXPECT_GE(Utf8Length(WeekDayShort[lang][d]), 2);
      EXPECT_LE(Utf8Length(WeekDayShort[lang][d]), 3) << WeekDayShort[lang][d];
      EXPECT_LE(Utf8Length(WeekDayLong[lang][d]), 10) << WeekDayLong[lang][d];
      days.insert(WeekDayShort[lang][d]);
    }
    EXPECT_EQ(days.size(), 7u) << "weekday abbreviations must differ in language " << lang;
  }
  EXPECT_STREQ(MonthLong[lgGerman][3], "März");
  EXPECT_STREQ(MonthShort[lgFrench][8], "août");
  EXPECT_STREQ(WeekDayShort[lgSpanish][3], "mié");
  EXPECT_STREQ(WeekDayLong[lgEnglish][1], "Monday");  // weekday 1 is Monday
  EXPECT_STREQ(MonthLong[lgNeutral][12], MonthLong[lgEnglish][12]);
}

TEST(QelColors, GreyLevelAndMean) {
  EXPECT_EQ(ColorToGray(clBlack), 0);
  EXPECT_EQ(ColorToGray(clWhite), 255);
  EXPECT_EQ(ColorToGray(clRed), 76);    // 0.299 * 255
  EXPECT_EQ(ColorToGray(clLime), 150);  // 0.587 * 255
  EXPECT_EQ(ColorToGray(clBlue), 29);
  EXPECT_EQ(ColorToGray(clBtnShadow), ColorToGray(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(MeanColor(clBlack, clWhite), 0x7F7F7Fu);
  EXPECT_EQ(MeanColor(RGB(10, 20, 31), RGB(20, 40, 60)), RGB(15, 30, 45));
  EXPECT_EQ(MeanColor(clBtnFace, clBtnFace), ColorToRGB(clBtnFace));
}

TEST(QelColors, HslRoundTripsAndLightening) {
  for (TColor c : {clRed, clNavy, clOlive, clTeal, RGB(12, 200, 77), RGB(250, 3, 128), clGray}) {
    double h, s, l;
    ColorToHSL(c, h, s, l);
    EXPECT_GE(h, 0);
    EXPECT_LT(h, 360);
    EXPECT_EQ(HSLtoColor(h, s, l), c) << std::hex << c;
  }
  double h, s, l;
  ColorToHSL(clRed, h, s, l);
  EXPECT_DOUBLE_EQ(h, 0);
  EXPECT_DOUBLE_EQ(s, 1);
  EXPECT_DOUBLE_EQ(l, 0.5);
  ColorToHSL(clBlue, h, s, l);
  EXPECT_DOUBLE_EQ(h, 240);
  // Raising the lightness of a colour of lightness 0.2 to 0.4 keeps hue and saturation.
  const TColor dark = HSLtoColor(120, 0.5, 0.2);
  ColorToHSL(dark, h, s, l);
  EXPECT_NEAR(l, 0.2, 0.005);
  double h2, s2, l2;
  ColorToHSL(HSLtoColor(h, s, 0.4), h2, s2, l2);
  EXPECT_NEAR(l2, 0.4, 0.005);
  EXPECT_NEAR(h2, 120, 1);
  // Out-of-range arguments are clamped or wrapped, never undefined.
  EXPECT_EQ(HSLtoColor(480, 2, 0.5), HSLtoColor(120, 1, 0.5));
  EXPECT_EQ(HSLtoColor(std::nan(""), std::nan(""), 1.5), clWhite);
  EXPECT_EQ(HSLtoColor(-120, 1, 0.5), HSLtoColor(240, 1, 0.5));
}

TEST(QelColors, PredefinedColourRanges) {
  ASSERT_EQ(PredefinedColors.size(), 47u);
  EXPECT_EQ(PredefinedColors[0].Color, clBlack);
  EXPECT_EQ(PredefinedColors[15].Color, clWhite);
  std::set<TColor> colours;
  std::set<std::string> names;
  for (int i = 0; i < kPredefinedColorCount; ++i) {
    const bool system = (PredefinedColors[i].Color & 0xFF000000u) == 0x80000000u;
    EXPECT_EQ(system, i >= 20) << i;  // 16 basic and 4 further colours, then 27 system colours
    EXPECT_EQ(std::string(PredefinedColors[i].Name).substr(0, 2), "cl");
    colours.insert(PredefinedColors[i].Color);
    names.insert(PredefinedColors[i].Name);
  }
  EXPECT_EQ(colours.size(), 47u);
  EXPECT_EQ(names.size(), 47u);
}

TEST(QelMath, IntNegRoundsTowardNegativeInfinity) {
  EXPECT_EQ(IntNeg(2.7), 2);
  EXPECT_EQ(IntNeg(-2.3), -3);
  EXPECT_EQ(IntNeg(-3.0), -3);  // exact integers stay
  EXPECT_EQ(IntNeg(3.0), 3);
  EXPECT_EQ(IntNeg(-0.0), 0);
  EXPECT_EQ(IntNeg(std::log10(0.999999999 * 0.05)), -2);  // decade of the first log label
  EXPECT_EQ(IntNeg(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(IntNeg(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(IntNeg(std::nan("")), 0);
  EXPECT_EQ(IntNeg(-std::numeric_limits<double>::infinity()), std::numeric_limits<int>::min());
}

TEST(QelMath, RoundingHelpersSaturateAndRoundHalfToEven) {
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(3.5), 4);
  EXPECT_EQ(RoundToInt(-2.5), -2);
  EXPECT_EQ(RoundToInt(1e300), std::numeric_limits<int>::max());
  EXPECT_EQ(RoundToInt(-1e300), std::numeric_limits<int>::min());
  EXPECT_EQ(RoundToInt(std::nan("")), 0);
  EXPECT_EQ(RoundToInt64(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TruncToInt(-7.9), -7);
  EXPECT_EQ(TruncToInt(std::nan("")), 0);
  EXPECT_EQ(DivTrunc(-7, 2), -3);
  EXPECT_EQ(DivTrunc(7, 0), 0);
  EXPECT_EQ(MulDiv(10, 3, 4), 8);  // 7.5 rounds away from zero
  EXPECT_EQ(MulDiv(-10, 3, 4), -8);
  EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(QelMath, IsValidDecInt) {
  for (const char* ok : {"0", "-17", "+42", "  123  ", "2147483647", "-2147483648", "007"})
    EXPECT_TRUE(IsValidDecInt(ok)) << ok;
  for (const char* bad : {"", " ", "-", "+-1", "1.0", "1e3", "12a", "0x10", "2147483648",
                          "-2147483649", "99999999999999999999", "1 2"})
    EXPECT_FALSE(IsValidDecInt(bad)) << bad;
}

}  // namespace
}  // namespace qel

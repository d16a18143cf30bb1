// Reading numbers out of texts: the decimal scanner (against the C library and against its own
// full-precision path) and the integer scanners.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "frame/QEL_univconst.h"
#include "numio/NumNotation.h"

namespace qel {
namespace {

struct Scan {
  double Value;
  int Pos;
};

Scan ScanF(const std::string& Text, bool ExpAllowed = true, int SepMode = kSepPointOrComma,
           int Start = 1) {
  int pos = Start;
  const double v = ScanFloatText(Text, ExpAllowed, SepMode, pos);
  return {v, pos};
}

TEST(ScanFloatText, ValueAndStopPosition) {
  struct Case {
    const char* Text;
    bool ExpAllowed;
    double Value;
    int Pos;
  };
  const Case cases[] = {
      {"3.75xyz", true, 3.75, 5}, {"  -2", true, -2, 5},     {"1,5E-3", true, 1.5e-3, 7},
      {"1e5", false, 1, 2},       {"12 34", true, 12, 3},    {"1.5 7", true, 1.5, 4},
      {"-.5", true, -0.5, 4},     {".", true, 0, 2},         {"-.", true, 0, 3},
      {"12.", true, 12, 4},       {"1E", true, 1, 3},        {"1E+", true, 1, 4},
      {"1e-x", true, 1, 4},       {"2.5e+2,", true, 250, 7}, {"-", true, 0, 2},
      {"+", true, 0, 2},          {"", true, 0, 1},          {"x", true, 0, 1},
      {"--2", true, 0, 2},        {"1.5.3", true, 0, 4},     {".E5", true, 0, 4},
      {"1e+-3", true, 0, 4},      {"0.000", true, 0, 6},     {"1E-5000", true, 0, 8},
  };
  for (const Case& c : cases) {
    const Scan s = ScanF(c.Text, c.ExpAllowed);
    EXPECT_EQ(s.Value, c.Value) << c.Text;
    EXPECT_EQ(s.Pos, c.Pos) << c.Text;
  }
}

TEST(ScanFloatText, ClampsToTheDoubleRange) {
  EXPECT_EQ(ScanF("1E5000").Value, uc_MaxDouble);
  EXPECT_EQ(ScanF("1E5000").Pos, 7);  // the uncollected digits are still consumed
  EXPECT_EQ(ScanF("-1E5000").Value, -uc_MaxDouble);
  EXPECT_EQ(ScanF("1E309").Value, uc_MaxDouble);
  EXPECT_EQ(ScanF("-2e4200").Value, -uc_MaxDouble);
  EXPECT_EQ(ScanF("1.7976931348623157e308").Value, uc_MaxDouble);
  // A mantissa long enough to leave the extended range is clamped too.
  EXPECT_EQ(ScanF(std::string(900, '9') + "e4200").Value, uc_MaxDouble);
}

TEST(ScanFloatText, ExponentIsCutToTheDigitsThatKeepItInRange) {
  // "E5000" is collected as "E500": with a mantissa of 1e-600 the reading is 1e-100, neither the
  // clamp of the full exponent nor the 1e-600 of a dropped one.
  const std::string text = "0." + std::string(599, '0') + "1E5000";
  const Scan s = ScanF(text);
  EXPECT_DOUBLE_EQ(s.Value, 1e-100);
  EXPECT_EQ(s.Pos, static_cast<int>(text.size()) + 1);
}

TEST(ScanFloatText, ZeroReadsAsPositiveZero) {
  for (const char* t : {"-0", "-0.0", "-.", "-0e5", "-.e3"}) {
    const double v = ScanF(t).Value;
    EXPECT_EQ(v, 0) << t;
    EXPECT_FALSE(std::signbit(v)) << t;
  }
}

TEST(ScanFloatText, SepModeDecidesTheSeparator) {
  EXPECT_EQ(ScanF("1,5", true, kSepPoint).Value, 1);
  EXPECT_EQ(ScanF("1,5", true, kSepPoint).Pos, 2);
  EXPECT_EQ(ScanF("1,5", true, kSepComma).Value, 1.5);
  EXPECT_EQ(ScanF("1.5", true, kSepComma).Value, 1);
  EXPECT_EQ(ScanF("1.5", true, 0).Pos, 2);  // SepMode 0: no separator at all
}

TEST(ScanFloatText, StartPositionInsideAndOutsideTheText) {
  EXPECT_EQ(ScanF("ab12.5", true, kSepPoint, 3).Value, 12.5);
  EXPECT_EQ(ScanF("ab12.5", true, kSepPoint, 3).Pos, 7);
  // Outside 1..length+1 the start moves to the nearer end instead of reading out of bounds.
  EXPECT_EQ(ScanF("7", true, kSepPoint, 0).Value, 7);
  EXPECT_EQ(ScanF("7", true, kSepPoint, -5).Pos, 2);
  EXPECT_EQ(ScanF("7", true, kSepPoint, 1000).Value, 0);
  EXPECT_EQ(ScanF("7", true, kSepPoint, 1000).Pos, 2);
}

// A random text of the grammar: blanks, sign, digits, separator, digits, exponent.
std::string RandomNumberText(std::mt19937_64& rng, bool Plain) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); };
  std::string s;
  if (!Plain && pick(4) == 0) s.append(static_cast<size_t>(pick(3)), ' ');
  if (pick(3) == 0) s += pick(2) ? '-' : '+';
  const int intDigits = Plain ? pick(10) : pick(25);
  const int fracDigits = Plain ? pick(10) : pick(25);
  for (int i = 0; i < intDigits; ++i) s += static_cast<char>('0' + pick(10));
  if (fracDigits > 0 || pick(2) == 0) s += '.';
  for (int i = 0; i < fracDigits; ++i) s += static_cast<char>('0' + pick(10));
  if (intDigits + fracDigits == 0) s += static_cast<char>('1' + pick(9));
  if (pick(2) == 0) {
    s += pick(2) ? 'e' : 'E';
    if (pick(2) == 0) s += pick(2) ? '-' : '+';
    s += std::to_string(Plain ? pick(30) : pick(320));
  }
  return s;
}

TEST(ScanFloatText, AgreesWithTheCLibraryWithinOneUlp) {
  std::mt19937_64 rng(20261207);
  for (int i = 0; i < 5000; ++i) {
    const std::string text = RandomNumberText(rng, i % 2 == 0);
    const Scan s = ScanF(text, true, kSepPoint);
    ASSERT_EQ(s.Pos, static_cast<int>(text.size()) + 1) << text;
    double ref = std::strtod(text.c_str(), nullptr);
    if (std::isinf(ref)) ref = std::copysign(uc_MaxDouble, ref);
    if (ref == 0) {
      EXPECT_EQ(s.Value, 0) << text;
      continue;
    }
    const double lo = std::nextafter(ref, -INFINITY), hi = std::nextafter(ref, INFINITY);
    EXPECT_TRUE(s.Value >= lo && s.Value <= hi) << text << " ours " << s.Value << " ref " << ref;
  }
}

TEST(ScanFloatText, FastPathGivesExactlyTheValResult) {
  std::mt19937_64 rng(7);
  const char* extras[] = {"", "x", " ", ",5", "e", "e+", "E-7", ".", "1"};
  for (int i = 0; i < 5000; ++i) {
    std::string text = RandomNumberText(rng, i % 3 != 0) + extras[rng() % 9];
    if (i % 5 == 0)
      for (char& ch : text)
        if (ch == '.') ch = ',';
    for (bool exp : {true, false}) {
      int p1 = 1, p2 = 1;
      const double fast = ScanFloatText(text, exp, kSepPointOrComma, p1);
      const double slow = ScanFloatTextByVal(text, exp, kSepPointOrComma, p2);
      ASSERT_EQ(std::memcmp(&fast, &slow, sizeof fast), 0) << text << " " << fast << " " << slow;
      ASSERT_EQ(p1, p2) << text;
    }
  }
}

TEST(IntegerScanners, DecimalSignsBlanksAndStop) {
  struct Case {
    const char* Text;
    int Start;
    int32_t Value;
    int Pos;
  };
  const Case cases[] = {
      {"-12a", 1, -12, 4}, {"+7", 1, 7, 3}, {"  42", 1, 42, 5}, {"  ", 1, 0, 2},
      {"x", 1, 0, 1},      {"-", 1, 0, 2},  {"12", 2, 2, 3},    {"- 5", 1, 0, 2},
      {"", 1, 0, 1},       {"5", 0, 5, 2},  {"5", 9, 0, 2},
  };
  for (const Case& c : cases) {
    int pos = c.Start;
    EXPECT_EQ(ScanIntText(c.Text, pos), c.Value) << c.Text;
    EXPECT_EQ(pos, c.Pos) << c.Text;
  }
}

TEST(IntegerScanners, WrapModulo32Bits) {
  int pos = 1;
  EXPECT_EQ(ScanIntText("2147483648", pos), INT32_MIN);
  pos = 1;
  EXPECT_EQ(ScanIntText("-2147483648", pos), INT32_MIN);
  pos = 1;
  EXPECT_EQ(ScanIntText("4294967297", pos), 1);
  pos = 1;
  EXPECT_EQ(ScanHexText("FFFFFFFF", pos), -1);
  pos = 1;
  EXPECT_EQ(ScanHexText("1ffffffff", pos), -1);
  pos = 1;
  EXPECT_EQ(ScanHexText("100000000", pos), 0);
  pos = 1;
  EXPECT_EQ(ScanOctText("37777777777", pos), -1);
  pos = 1;
  EXPECT_EQ(ScanBinText(std::string(32, '1'), pos), -1);
  pos = 1;
  EXPECT_EQ(ScanBinText("1" + std::string(32, '0'), pos), 0);
}

TEST(IntegerScanners, RadixDigitsAndDollar) {
  struct Case {
    int32_t (*Fn)(const std::string&, int&);
    const char* Text;
    int32_t Value;
    int Pos;
  };
  const Case cases[] = {
      {ScanHexText, "$ff", 255, 4}, {ScanHexText, "aBg", 171, 3}, {ScanHexText, " $ff", 0, 2},
      {ScanHexText, "f$f", 15, 2},  {ScanHexText, "", 0, 1},      {ScanOctText, "178", 15, 3},
      {ScanOctText, " 7", 7, 3},    {ScanOctText, "$7", 0, 1},    {ScanBinText, "1012", 5, 4},
      {ScanBinText, " 1 ", 1, 3},   {ScanHexText, " ", 0, 1},     {ScanBinText, "  ", 0, 2},
  };
  for (const Case& c : cases) {
    int pos = 1;
    EXPECT_EQ(c.Fn(c.Text, pos), c.Value) << c.Text;
    EXPECT_EQ(pos, c.Pos) << c.Text;
  }
}

}  // namespace
}  // namespace qel

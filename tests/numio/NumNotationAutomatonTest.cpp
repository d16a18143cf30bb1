// The two decimal automata, state by state and column by column, and the acceptors built on
// them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numio/NumNotation.h"
#include "platform/rtl/NumText.h"

namespace qel {
namespace {

// Sets the system decimal separator for one test and puts the old one back.
class DecimalSeparatorScope {
 public:
  explicit DecimalSeparatorScope(char Sep) : FOld(GetDecimalSeparator()) {
    SetDecimalSeparator(Sep);
  }
  ~DecimalSeparatorScope() { SetDecimalSeparator(FOld); }

 private:
  char FOld;
};

// Representatives of each input column; several per column so that a transition keyed on one
// particular character (only "+", only "0") shows up.
const std::vector<std::vector<char>> kExpColumns = {
    {'.', ','},            // sep (SepMode 3)
    {' '},                 // blank
    {'+', '-'},            // sign
    {'0', '5', '9'},       // digit
    {'E', 'e'},            // "E"
    {'x', 'Z', '/', ':'},  // other (the ASCII neighbours of the digits included)
};

// The documented transitions, rows = states 1..8, columns as above, with the exponent allowed.
const int kExpExpected[8][6] = {
    {4, 1, 2, 3, -1, -1}, {4, -1, -1, 3, -1, -1}, {4, 9, 9, 3, 6, 9},     {-1, 9, 9, 5, 6, 9},
    {-1, 9, 9, 5, 6, 9},  {-1, -1, 7, 8, -1, 9},  {-1, -1, -1, 8, -1, 9}, {9, 9, 9, 8, 9, 9},
};

TEST(ExpNumberAutomaton, EveryStateAndColumnWithExponent) {
  for (int state = 1; state <= 8; ++state)
    for (size_t col = 0; col < kExpColumns.size(); ++col)
      for (char ch : kExpColumns[col])
        EXPECT_EQ(ExpNumberAutomatonStep(state, ch, true, kSepPointOrComma),
                  kExpExpected[state - 1][col])
            << "state " << state << " char '" << ch << "'";
}

TEST(ExpNumberAutomaton, EWithoutExponentIsAnOtherCharacter) {
  for (int state = 1; state <= 8; ++state)
    for (char ch : {'E', 'e'})
      EXPECT_EQ(ExpNumberAutomatonStep(state, ch, false, kSepPointOrComma),
                kExpExpected[state - 1][5])
          << "state " << state;
  // Everything else is unchanged by the flag.
  for (int state = 1; state <= 8; ++state)
    for (size_t col : {0u, 1u, 2u, 3u, 5u})
      for (char ch : kExpColumns[col])
        EXPECT_EQ(ExpNumberAutomatonStep(state, ch, false, kSepPointOrComma),
                  kExpExpected[state - 1][col]);
}

TEST(ExpNumberAutomaton, SeparatorNotInSepModeIsAnOtherCharacter) {
  struct Case {
    int SepMode;
    char Sep, NotSep;
  };
  for (Case c : {Case{kSepPoint, '.', ','}, Case{kSepComma, ',', '.'}})
    for (int state = 1; state <= 8; ++state) {
      EXPECT_EQ(ExpNumberAutomatonStep(state, c.Sep, true, c.SepMode), kExpExpected[state - 1][0]);
      EXPECT_EQ(ExpNumberAutomatonStep(state, c.NotSep, true, c.SepMode),
                kExpExpected[state - 1][5]);
    }
  for (int state = 1; state <= 8; ++state)
    for (char ch : {'.', ','}) {
      EXPECT_EQ(ExpNumberAutomatonStep(state, ch, true, 0), kExpExpected[state - 1][5]);
      EXPECT_EQ(ExpNumberAutomatonStep(state, ch, true, 7), kExpExpected[state - 1][5]);
    }
}

// Plain decimal automaton: columns sign, sep, digit, other.
TEST(FloatAutomaton, EveryStateAndColumn) {
  const std::vector<std::vector<char>> columns = {
      {'+', '-'}, {'.', ','}, {'0', '9'}, {'x', ' ', 'e', 'E', '/', ':'}};
  const int expected[5][4] = {{1, 2, 3, 5}, {5, 2, 3, 5}, {5, 5, 4, 5}, {5, 2, 3, 5}, {5, 5, 4, 5}};
  for (int state = 0; state <= 4; ++state)
    for (size_t col = 0; col < columns.size(); ++col)
      for (char ch : columns[col])
        EXPECT_EQ(FloatAutomatonStep(state, ch, kSepPointOrComma), expected[state][col])
            << "state " << state << " char '" << ch << "'";
  for (char ch : {'1', '.', '+'}) EXPECT_EQ(FloatAutomatonStep(5, ch, kSepPointOrComma), 5);
  // A separator outside SepMode behaves as "other".
  EXPECT_EQ(FloatAutomatonStep(3, ',', kSepPoint), 5);
  EXPECT_EQ(FloatAutomatonStep(3, '.', kSepComma), 5);
  EXPECT_EQ(FloatAutomatonStep(0, '.', 0), 5);
}

TEST(ValidExpText, DocumentedTexts) {
  for (const char* t : {"1,5E-3", "1.5E4200", "  -2", "1e", "1E+", "1E-", "12x", "1.5 7", ".", "-.",
                        "+3", "3.", ".5", "1e00004200", "0E-4200", "1.5e3,", "1 "})
    EXPECT_TRUE(ValidExpText(t, true, kSepPointOrComma)) << t;
  for (const char* t : {"1.5E4201", "1e42000", "--2", "e1", "E5", "", "-", "+", " ", "1,,5",
                        "1.5.3", "1e+-3", "1e 3", "1e.3", "x1", "- 2"})
    EXPECT_FALSE(ValidExpText(t, true, kSepPointOrComma)) << t;
}

TEST(ValidExpText, ExponentNotAllowedEndsTheNumberAtE) {
  EXPECT_TRUE(ValidExpText("1e5", false, kSepPoint));
  EXPECT_TRUE(ValidExpText("1.5E4201", false, kSepPoint));  // the exponent is never read
  EXPECT_FALSE(ValidExpText("e5", false, kSepPoint));
}

TEST(ValidExpText, SepModeZeroFollowsTheSystemSeparator) {
  {
    DecimalSeparatorScope sep(',');
    EXPECT_TRUE(ValidExpText(",5", true, 0));
    EXPECT_FALSE(ValidExpText(".5", true, 0));
    EXPECT_FALSE(ValidFloatText("1.5", 0));
    EXPECT_TRUE(ValidFloatText("1,5", 0));
  }
  DecimalSeparatorScope sep('.');
  EXPECT_TRUE(ValidExpText(".5", true, 0));
  EXPECT_FALSE(ValidExpText(",5", true, 0));
  EXPECT_TRUE(ValidFloatText("1.5", 0));
  EXPECT_FALSE(ValidFloatText("1,5", 0));
}

TEST(ValidFloatText, DocumentedTexts) {
  for (const char* t : {"-", "+", ".", "-.", "12.", ".5", "-0.25", "007"})
    EXPECT_TRUE(ValidFloatText(t, kSepPoint)) << t;
  for (const char* t : {"", "1.2.3", "1e5", " 1", "1-", "1 ", "+-1", "1.-", "x"})
    EXPECT_FALSE(ValidFloatText(t, kSepPoint)) << t;
  EXPECT_FALSE(ValidFloatText("1,5", kSepPoint));
  EXPECT_FALSE(ValidFloatText("1.5", kSepComma));
  EXPECT_TRUE(ValidFloatText("1,5", kSepComma));
  EXPECT_TRUE(ValidFloatText("1,5", kSepPointOrComma));
  EXPECT_TRUE(ValidFloatText("1.5", kSepPointOrComma));
  EXPECT_FALSE(ValidFloatText("1.5", 9));
}

TEST(DigitStrings, Acceptors) {
  for (const char* t : {"0", "-1", "+12", "0001"}) EXPECT_TRUE(ValidIntText(t)) << t;
  for (const char* t : {"", "-", "+", "x", "1-", "--1", " 1", "1.0"})
    EXPECT_FALSE(ValidIntText(t)) << t;
  EXPECT_TRUE(ValidHexText("09afAF"));
  for (const char* t : {"", "g", "$FF", "-1", "F F"}) EXPECT_FALSE(ValidHexText(t)) << t;
  EXPECT_TRUE(ValidOctText("01234567"));
  for (const char* t : {"", "8", "9", "-1"}) EXPECT_FALSE(ValidOctText(t)) << t;
  EXPECT_TRUE(ValidBinText("0110"));
  for (const char* t : {"", "2", "1 "}) EXPECT_FALSE(ValidBinText(t)) << t;
  EXPECT_FALSE(ValidHexText(std::string("1\0", 2)));
}

TEST(SepModeResolution, BothFields) {
  {
    DecimalSeparatorScope sep('.');
    EXPECT_EQ(ResolveSepModeNumIO2(0), kSepPoint);
    EXPECT_EQ(ResolveSepModeNumIO(0), kSepPoint);
  }
  {
    DecimalSeparatorScope sep(',');
    EXPECT_EQ(ResolveSepModeNumIO2(0), kSepComma);
    EXPECT_EQ(ResolveSepModeNumIO(0), kSepComma);
  }
  {
    // The two fields differ only for a separator that is neither "." nor ",".
    DecimalSeparatorScope sep(';');
    EXPECT_EQ(ResolveSepModeNumIO2(0), kSepComma);
    EXPECT_EQ(ResolveSepModeNumIO(0), kSepPoint);
  }
  for (uint8_t o : {1, 2, 3}) EXPECT_EQ(ResolveSepModeNumIO2(o), o);
  EXPECT_EQ(ResolveSepModeNumIO(1), kSepPoint);
  EXPECT_EQ(ResolveSepModeNumIO(2), kSepComma);
  EXPECT_EQ(ResolveSepModeNumIO(3), kSepPointOrComma);
  EXPECT_EQ(ResolveSepModeNumIO(200), kSepPointOrComma);
  EXPECT_EQ(ResolveSepModeNumIO2(200), 200);  // accepts no separator
}

TEST(CheckValidity, EveryNotation) {
  EXPECT_TRUE(NioCheckValidity("1.5e3", itExp, 3, 2));
  EXPECT_FALSE(NioCheckValidity("1.5e4201", itExp, 3, 2));
  EXPECT_TRUE(NioCheckValidity("1.5", itFloat, 1, 2));
  EXPECT_FALSE(NioCheckValidity("1,5", itFloat, 1, 2));
  EXPECT_FALSE(NioCheckValidity("1e5", itFloat, 3, 2));
  EXPECT_TRUE(NioCheckValidity("-12", itInt, 3, 2));
  EXPECT_FALSE(NioCheckValidity("1.0", itInt, 3, 2));
  EXPECT_TRUE(NioCheckValidity("fF", itHex, 3, 2));
  EXPECT_FALSE(NioCheckValidity("fg", itHex, 3, 2));
  EXPECT_TRUE(NioCheckValidity("17", itOct, 3, 2));
  EXPECT_FALSE(NioCheckValidity("18", itOct, 3, 2));
  EXPECT_TRUE(NioCheckValidity("10", itBin, 3, 2));
  EXPECT_FALSE(NioCheckValidity("12", itBin, 3, 2));
}

TEST(CheckValidity, FixPointDecimals) {
  for (const char* t : {"12.34", "12", "-1.25", ".25"})
    EXPECT_TRUE(NioCheckValidity(t, itFixPoint, 3, 2)) << t;
  for (const char* t : {"12.3", "1.234", "123", "", "1.2.3", "1a.34"})
    EXPECT_FALSE(NioCheckValidity(t, itFixPoint, 3, 2)) << t;
  // A comma field measures the decimals from its own separator.
  EXPECT_TRUE(NioCheckValidity("12,34", itFixPoint, 2, 2));
  EXPECT_TRUE(NioCheckValidity("12,34", itFixPoint, 3, 2));
  EXPECT_FALSE(NioCheckValidity("12,3", itFixPoint, 2, 2));
  // Without decimals the field writes plain integers; they must pass its own check.
  EXPECT_TRUE(NioCheckValidity(NioFormatValue(12.0, itFixPoint, 6, 0), itFixPoint, 3, 0));
  EXPECT_TRUE(NioCheckValidity("123", itFixPoint, 3, 0));
  EXPECT_TRUE(NioCheckValidity("123.", itFixPoint, 3, 0));
  EXPECT_FALSE(NioCheckValidity("12.3", itFixPoint, 3, 0));
  // What the field writes, it accepts.
  for (double x : {0.0, -3.14159, 1234.5, 0.005})
    EXPECT_TRUE(NioCheckValidity(NioFormatValue(x, itFixPoint, 6, 3), itFixPoint, 3, 3)) << x;
}

TEST(CheckValidity, DynamicPrefixes) {
  for (const char* t : {"$FF", "%101", "&17", "1.5e3", "-2"})
    EXPECT_TRUE(NioCheckValidity(t, itDynamic, 3, 2)) << t;
  for (const char* t : {"", "$", "%", "&", "$FG", "%102", "&18", "e5"})
    EXPECT_FALSE(NioCheckValidity(t, itDynamic, 3, 2)) << t;
}

}  // namespace
}  // namespace qel

#include <gtest/gtest.h>

#include "platform/rtl/StrUtils.h"

namespace qel {
namespace {

TEST(StrUtils, CaseAndTrimLeaveMultiByteTextAlone) {
  EXPECT_EQ(UpperCase("abc-äz"), "ABC-äZ");
  EXPECT_EQ(LowerCase("ÄBC"), "Äbc");
  EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
}

TEST(StrUtils, Comparisons) {
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_FALSE(SameText("Hello", "Hell"));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_EQ(CompareText("", ""), 0);
  EXPECT_LT(CompareStr("B", "a"), 0);  // byte order: upper case first
  EXPECT_GT(CompareStr("ä", "z"), 0);  // bytes compare unsigned
}

TEST(StrUtils, QuotingRoundTrips) {
  EXPECT_EQ(QuotedStr("It's"), "'It''s'");
  EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(AnsiDequotedStr("'It''s' tail", '\''), "It's");
  EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
  EXPECT_EQ(AnsiDequotedStr("'open", '\''), "'open");
  EXPECT_EQ(AnsiDequotedStr("''", '\''), "");
  for (std::string s : {"", "'", "''x''", "a'b"})
    EXPECT_EQ(AnsiDequotedStr(QuotedStr(s), '\''), s) << s;
}

TEST(StrUtils, ReplacePosCopy) {
  EXPECT_EQ(StringReplace("a-b-c", "-", "+", {}), "a+b-c");
  EXPECT_EQ(StringReplace("a-b-c", "-", "--", {rfReplaceAll}), "a--b--c");
  EXPECT_EQ(StringReplace("Abab", "AB", "x", {rfReplaceAll, rfIgnoreCase}), "xx");
  EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
  EXPECT_EQ(Pos("b", "abcb"), 2);
  EXPECT_EQ(Pos("b", "abcb", 3), 4);
  EXPECT_EQ(Pos("", "abc"), 0);
  EXPECT_EQ(Pos("x", "abc"), 0);
  EXPECT_EQ(Pos("c", "abc", 9), 0);
  EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
  EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
  EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
  EXPECT_EQ(Copy("abcdef", 7, 1), "");
  EXPECT_EQ(Copy("abcdef", 2, -1), "");
  EXPECT_EQ(StringOfChar('*', 3), "***");
  EXPECT_EQ(StringOfChar('*', -3), "");
}

TEST(StrUtils, Utf8NeverSplitsASequence) {
  const std::string s = "aä€😀b";  // 1, 2, 3, 4 and 1 bytes
  EXPECT_EQ(Utf8CodePointCount(s), 5);
  EXPECT_EQ(Utf8Truncate(s, 2), "aä");
  EXPECT_EQ(Utf8Truncate(s, 4), "aä€😀");
  EXPECT_EQ(Utf8Truncate(s, 99), s);
  EXPECT_EQ(Utf8Truncate(s, 0), "");
  EXPECT_EQ(Utf8Copy(s, 2, 2), "€😀");
  EXPECT_EQ(Utf8Offset(s, 3), 6u);
  // Malformed bytes count one each and are never glued to a neighbour.
  const std::string bad =
      "\xC3"
      "a\x80\xE2\x82";
  EXPECT_EQ(Utf8CodePointCount(bad), 5);
  EXPECT_TRUE(IsValidUtf8(s));
  EXPECT_FALSE(IsValidUtf8(bad));
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
}

}  // namespace
}  // namespace qel

namespace qel {
namespace {

TEST(StrUtilsUtf8, AppendUtf8EncodesEveryLengthAndReplacesWhatHasNoForm) {
  std::string s;
  for (char32_t c : {U'A', U'\u00e9', U'\u20ac', U'\U0001F600'}) AppendUtf8(s, c);
  EXPECT_EQ(s, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  std::string bad;
  AppendUtf8(bad, 0xD800);    // a lone surrogate
  AppendUtf8(bad, 0x110000);  // beyond Unicode
  EXPECT_EQ(bad, "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_TRUE(IsValidUtf8(bad));
}

}  // namespace
}  // namespace qel

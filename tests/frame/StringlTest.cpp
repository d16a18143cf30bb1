// String helpers, file-system helpers and line reading.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "frame/QEL_filesys.h"
#include "frame/QEL_streams.h"
#include "frame/QEL_stringl.h"

namespace qel {
namespace {

TEST(Stringl, Utf8LengthAndCutNeverSplitASequence) {
  EXPECT_EQ(Utf8Length("Grüße"), 5);
  EXPECT_EQ(Utf8Left("Grüße", 3), "Grü");
  EXPECT_EQ(Utf8Left("€€€", 2), "€€");
  EXPECT_EQ(Utf8Left("ab", 5), "ab");
  EXPECT_EQ(Utf8Left("ab", 0), "");
}

TEST(Stringl, StrffFixedAndExponential) {
  EXPECT_EQ(strff(3.14159, 1, 2), "3.14");
  EXPECT_EQ(strff(2.5, 6, 0), "     2");  // halves to even at the binary value
  EXPECT_EQ(strff(-1.005, 1, 1), "-1.0");
  EXPECT_EQ(strff(1500, 1, -2), "1.50E+003");
  EXPECT_EQ(strff(-0.00012, 12, -3), " -1.200E-004");
  EXPECT_EQ(strff(12.0, 2, 3), "12.000");  // a too small width widens
  EXPECT_EQ(strff(std::nan(""), 5, 2), "  NaN");
  EXPECT_EQ(strff(-std::numeric_limits<double>::infinity(), 1, 2), "-Inf");
  EXPECT_EQ(strff(1e300, 1, 0).size(), 301u);
}

// Decimals were capped at 40 although stored default values ask for up to 255 of them.
TEST(Stringl, StrffHonoursDecimalsUpTo255) {
  EXPECT_EQ(strff(0.5, 1, 100), "0.5" + std::string(99, '0'));
  EXPECT_EQ(strff(1.0, 1, 255).size(), 2u + 255u);
  EXPECT_EQ(strff(1.0, 1, 1000).size(), 2u + 255u);  // beyond the limit: the limit
  EXPECT_EQ(strff(1e308, 1, 255).size(), 309u + 1u + 255u);
  EXPECT_EQ(strff(2.0, 1, -60), "2." + std::string(60, '0') + "E+000");
  EXPECT_EQ(strff(2.0, 1, std::numeric_limits<int>::min()).size(), 2u + 255u + 5u);
}

TEST(Stringl, TokenizeCountsSeparatorsPlusOne) {
  std::vector<std::string> parts{"stale"};
  EXPECT_EQ(Tokenize("C:\\data\\run1\\", '\\', parts), 4);
  EXPECT_EQ(parts, (std::vector<std::string>{"C:", "data", "run1", ""}));
  EXPECT_EQ(Tokenize("one line", '\n', parts), 1);
  EXPECT_EQ(parts[0], "one line");
  EXPECT_EQ(Tokenize("", '|', parts), 1);
  EXPECT_EQ(parts[0], "");
  EXPECT_EQ(Tokenize("a||b", '|', parts), 3);
  EXPECT_EQ(parts[1], "");
}

TEST(Stringl, NumberedPos) {
  EXPECT_EQ(NumberedPos(".", "1.2.3", 1, 1), 2);
  EXPECT_EQ(NumberedPos(".", "1.2.3", 1, 2), 4);
  EXPECT_EQ(NumberedPos(".", "1.2.3", 1, 3), 0);
  EXPECT_EQ(NumberedPos(".", "1.2.3", 3, 1), 4);  // the search starts at position 3
  EXPECT_EQ(NumberedPos("aa", "aaaa", 1, 2), 3);  // occurrences do not overlap
  EXPECT_EQ(NumberedPos("AB", "xabyab", 1, 2, true), 5);
  EXPECT_EQ(NumberedPos("AB", "xabyab", 1, 1), 0);
  EXPECT_EQ(NumberedPos("", "abc", 1, 1), 0);
  EXPECT_EQ(NumberedPos("a", "abc", 1, 0), 0);
  EXPECT_EQ(NumberedPos("c", "abc", -5, 1), 3);
  EXPECT_EQ(NumberedPos("c", "abc", 99, 1), 0);
}

TEST(Stringl, PaddingStrippingAndReplacing) {
  EXPECT_EQ(LeftString("ab", 4), "ab  ");
  EXPECT_EQ(LeftString("Öl€x", 3), "Öl€");
  EXPECT_EQ(LeftString("Öl", 3), "Öl ");
  EXPECT_EQ(LeftString("x", 0), "");
  EXPECT_EQ(StripLeadingChars("  0012", " 0"), "12");
  EXPECT_EQ(StripTrailingChars("1.500", "0"), "1.5");
  EXPECT_EQ(StripTrailingChars("000", "0"), "");
  EXPECT_EQ(ReplaceCharInString("1,5,6", ',', '.'), "1.5.6");
  EXPECT_EQ(RemoveControlChars("a\tb\r\nc\x7f"
                               "d"),
            "abcd");
  EXPECT_EQ(RemoveControlChars("Größe"), "Größe");
  EXPECT_EQ(EnsureTrailingChar("a|b", '|'), "a|b|");
  EXPECT_EQ(EnsureTrailingChar("a|", '|'), "a|");
  EXPECT_EQ(EnsureTrailingChar("", '|'), "|");
  EXPECT_EQ(EnsureTrailingBkSlash("C:"), "C:\\");
  EXPECT_EQ(EnsureTrailingBkSlash("C:\\"), "C:\\");
}

TEST(Filesys, DirExistsAndParentDir) {
  const auto tmp = std::filesystem::temp_directory_path();
  EXPECT_TRUE(DirExists(tmp.string()));
  EXPECT_FALSE(DirExists((tmp / "qel-no-such-folder-8d1f").string()));
  EXPECT_FALSE(DirExists(""));
  EXPECT_EQ(ParentDir("/a/b"), "/a/");
  EXPECT_EQ(ParentDir("/a/b/"), "/a/");
  EXPECT_EQ(ParentDir("/a/"), "/");
  EXPECT_EQ(ParentDir("/"), "");
  EXPECT_EQ(ParentDir("C:\\data\\run\\"), "C:\\data\\");
  EXPECT_EQ(ParentDir("C:\\"), "");
  EXPECT_EQ(ParentDir("name"), "");
  EXPECT_EQ(ParentDir(""), "");
}

TEST(Filesys, InventPasswordLengthCharsetAndDistinctness) {
  EXPECT_EQ(InventPassword(0), "");
  EXPECT_EQ(InventPassword(-3), "");
  EXPECT_EQ(InventPassword(100000).size(), static_cast<size_t>(kMaxPasswordLength));
  std::set<std::string> seen;
  std::set<char> used;
  for (int i = 0; i < 200; ++i) {
    const std::string p = InventPassword(12);
    ASSERT_EQ(p.size(), 12u);
    for (char c : p) {
      ASSERT_NE(kPasswordChars.find(c), std::string_view::npos) << c;
      used.insert(c);
    }
    seen.insert(p);
  }
  EXPECT_EQ(seen.size(), 200u);  // 62^12 possibilities: a repeat means a broken source
  EXPECT_GT(used.size(), 55u);   // 2400 draws reach nearly every character
}

std::vector<std::string> ReadAll(const std::string& data, std::vector<bool>* ends = nullptr) {
  TStringStream s(data);
  std::vector<std::string> lines;
  bool atEnd = false;
  int guard = 0;
  do {
    lines.push_back(ReadLnStream(s, atEnd));
    if (ends) ends->push_back(atEnd);
  } while (!atEnd && ++guard < 100);
  return lines;
}

TEST(Streams, ReadLnStreamHandlesLfCrLfAndMissingFinalNewline) {
  EXPECT_EQ(ReadAll("a\nbb\nccc\n"), (std::vector<std::string>{"a", "bb", "ccc"}));
  EXPECT_EQ(ReadAll("a\r\nbb\r\n"), (std::vector<std::string>{"a", "bb"}));
  std::vector<bool> ends;
  EXPECT_EQ(ReadAll("x\ny", &ends), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(ends, (std::vector<bool>{false, true}));
  EXPECT_EQ(ReadAll(""), (std::vector<std::string>{""}));
  EXPECT_EQ(ReadAll("\n\n"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(ReadAll("a\rb\n"), (std::vector<std::string>{"a\rb"}));  // a lone CR is text
  const std::string longLine(2000, 'z');
  EXPECT_EQ(ReadAll(longLine + "\r\nend"), (std::vector<std::string>{longLine, "end"}));
}

TEST(Streams, ReadLnStreamLeavesThePositionAfterTheLine) {
  TStringStream s("first\r\nsecond");
  bool atEnd = true;
  EXPECT_EQ(ReadLnStream(s, atEnd), "first");
  EXPECT_FALSE(atEnd);
  EXPECT_EQ(s.GetPosition(), 7);
  EXPECT_EQ(ReadLnStream(s, atEnd, 3), "sec");  // pieces of at most MaxLen bytes
  EXPECT_FALSE(atEnd);
  EXPECT_EQ(ReadLnStream(s, atEnd, 3), "ond");
  EXPECT_TRUE(atEnd);
}

}  // namespace
}  // namespace qel

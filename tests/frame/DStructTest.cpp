// TStringArray (cells, attributes, sorting through the order index, hooks) and TBitFld.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "frame/QEL_dstruct.h"
#include "frame/QEL_stringl.h"

namespace qel {
namespace {

// The texts of column Col in shown order, rows 1..n.
std::vector<std::string> Column(const TStringArray& a, int Col) {
  std::vector<std::string> v;
  for (int r = 1; r <= a.NrOfRows(); ++r) v.push_back(a.GetString(Col, r));
  return v;
}

void Fill(TStringArray& a, const std::vector<std::vector<std::string>>& rows) {
  a.Resize(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      a.SetString(static_cast<int>(c + 1), static_cast<int>(r + 1), rows[r][c]);
}

TEST(ShortCell, InlineAndHeapTextsSurviveCopiesAndMoves) {
  TShortCell a, b;
  a.Assign("short");
  b.Assign(std::string(200, 'x'));
  TShortCell c(a), d(b);
  EXPECT_EQ(c.View(), "short");
  EXPECT_EQ(d.View(), std::string(200, 'x'));
  c = b;  // inline <- heap
  d = a;  // heap <- inline
  EXPECT_EQ(c.View(), std::string(200, 'x'));
  EXPECT_EQ(d.View(), "short");
  TShortCell e(std::move(c));
  EXPECT_EQ(e.View().size(), 200u);
  EXPECT_TRUE(c.Empty());
  e.Assign(std::string(15, 'y'));  // the first length that needs the heap
  EXPECT_EQ(e.View(), std::string(15, 'y'));
  e.Assign("");
  EXPECT_TRUE(e.Empty());
  // A piece of the cell's own text, inline and heap alike.
  e.Assign("0123456789abcdefghij");
  e.Assign(e.View().substr(2, 5));
  EXPECT_EQ(e.View(), "23456");
  e.Assign(e.View().substr(1));
  EXPECT_EQ(e.View(), "3456");
  e.Assign(std::string(40, 'q') + "tail");
  e.Assign(e.View().substr(4));
  EXPECT_EQ(e.View(), std::string(36, 'q') + "tail");
  e.Assign(std::string_view());  // an empty view without storage behind it
  EXPECT_TRUE(e.Empty());
}

TEST(StringArray, RowAndColumnZeroAndNeutralOutOfRange) {
  TStringArray a(2, 3);
  a.SetString(0, 0, "corner");
  a.SetString(0, 2, "label 2");
  a.SetString(2, 0, "head 2");
  a.SetString(2, 3, "last");
  EXPECT_EQ(a.GetString(0, 0), "corner");
  EXPECT_EQ(a.GetString(0, 2), "label 2");
  EXPECT_EQ(a.GetString(2, 0), "head 2");
  EXPECT_EQ(a.GetString(2, 3), "last");
  a.SetString(3, 1, "ignored");
  a.SetString(1, 4, "ignored");
  a.SetString(-1, 1, "ignored");
  EXPECT_EQ(a.GetString(3, 1), "");
  EXPECT_EQ(a.GetString(1, -1), "");
  EXPECT_EQ(a.GetRowAttrib(9), 0);
  EXPECT_EQ(a.GetColAttrib(-1), 0);
  a.SetRowAttrib(9, 5);
  a.SetColAttrib(3, 5);
  EXPECT_EQ(a.GetSortOrder(0), 0);
  EXPECT_EQ(a.GetSortOrder(4), 0);
}

TEST(StringArray, ResizeKeepsCellsAndAttributes) {
  TStringArray a;
  Fill(a, {{"a1", "b1"}, {"a2", "b2"}, {"a3", "b3"}});
  a.SetRowAttrib(2, 0x40);
  a.SetColAttrib(2, 0x80);
  a.Resize(4, 5);
  EXPECT_EQ(a.GetString(1, 3), "a3");
  EXPECT_EQ(a.GetString(2, 2), "b2");
  EXPECT_EQ(a.GetString(4, 5), "");
  EXPECT_EQ(a.GetRowAttrib(2), 0x40);
  EXPECT_EQ(a.GetColAttrib(2), 0x80);
  a.Resize(1, 2);
  EXPECT_EQ(a.NrOfColumns(), 1);
  EXPECT_EQ(a.NrOfRows(), 2);
  EXPECT_EQ(a.GetString(1, 2), "a2");
  EXPECT_EQ(a.GetString(2, 2), "");
  a.Resize(2, 3);  // cells removed by shrinking do not come back
  EXPECT_EQ(a.GetString(2, 2), "");
  EXPECT_EQ(a.GetString(1, 3), "");
  a.Resize(-4, -1);
  EXPECT_EQ(a.NrOfColumns(), 0);
  EXPECT_EQ(a.NrOfRows(), 0);
}

TEST(StringArray, CellsAreCutAt255CodePointsOnASequenceBoundary) {
  TStringArray a(1, 1);
  const std::string euros = [] {
    std::string s;
    for (int i = 0; i < 300; ++i) s += "€";  // three bytes each
    return s;
  }();
  a.SetString(1, 1, euros);
  EXPECT_EQ(Utf8Length(a.GetString(1, 1)), 255);
  EXPECT_EQ(a.GetString(1, 1).size(), 255u * 3);
  const std::string mixed = std::string(254, 'a') + "ü" + "tail";
  a.SetString(1, 1, mixed);
  EXPECT_EQ(a.GetString(1, 1), std::string(254, 'a') + "ü");
  a.SetString(1, 1, std::string(300, 'b'));
  EXPECT_EQ(a.GetString(1, 1), std::string(255, 'b'));
}

TEST(StringArray, InsertAndRemoveLines) {
  TStringArray a;
  Fill(a, {{"a1", "b1"}, {"a2", "b2"}});
  a.SetRowAttrib(2, 7);
  a.InsertRow(2);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a1", "", "a2"}));
  EXPECT_EQ(a.GetRowAttrib(2), 0);
  EXPECT_EQ(a.GetRowAttrib(3), 7);
  a.InsertRow(4);  // appends
  EXPECT_EQ(a.NrOfRows(), 4);
  a.InsertRow(6);  // beyond the end: ignored
  EXPECT_EQ(a.NrOfRows(), 4);
  a.RemoveRow(1);
  EXPECT_EQ(Column(a, 2), (std::vector<std::string>{"", "b2", ""}));
  a.SetColAttrib(2, 9);
  a.InsertColumn(1);
  EXPECT_EQ(a.NrOfColumns(), 3);
  EXPECT_EQ(a.GetString(3, 2), "b2");
  EXPECT_EQ(a.GetColAttrib(3), 9);
  EXPECT_EQ(a.GetString(1, 2), "");
  a.RemoveColumn(2);
  EXPECT_EQ(a.GetString(2, 2), "b2");
  a.RemoveColumn(0);  // column 0 stays
  EXPECT_EQ(a.NrOfColumns(), 2);
}

TEST(StringArray, SortNumbersByValueTextsIgnoringCase) {
  TStringArray a;
  Fill(a, {{"10"}, {"banana"}, {"9"}, {"Apple"}, {" -2.5e1 "}, {"apple"}, {"1e2"}});
  a.Sort(1, -1, true);
  EXPECT_EQ(Column(a, 1),
            (std::vector<std::string>{" -2.5e1 ", "9", "10", "1e2", "Apple", "apple", "banana"}));
  a.Sort(1, -1, false);
  // Descending reverses the order of unequal cells; equal ones keep their stored order.
  EXPECT_EQ(Column(a, 1),
            (std::vector<std::string>{"banana", "Apple", "apple", "1e2", "10", "9", " -2.5e1 "}));
}

TEST(StringArray, ComparisonIsAStrictWeakOrder) {
  // Mixing numeric and text comparison must not create cycles such as 9 < 10 < "1a" < 9.
  EXPECT_LT(CompareSortCells("9", "10"), 0);
  EXPECT_LT(CompareSortCells("10", "1a"), 0);
  EXPECT_LT(CompareSortCells("9", "1a"), 0);
  EXPECT_LT(CompareSortCells("999", ""), 0);  // numbers before texts, the empty text included
  EXPECT_LT(CompareSortCells("", "a"), 0);
  EXPECT_EQ(CompareSortCells("1.0", "1"), 0);
  EXPECT_EQ(CompareSortCells("ÄRGER", "ärger"), 0);  // Latin-1 capitals fold too
  EXPECT_LT(CompareSortCells("Zebra", "Ähre"), 0);
  for (const char* text : {"inf", "nan", "0x10", "1,5", "+-1", "1e", ".", "- 1"}) {
    double v;
    EXPECT_FALSE(ReadSortNumber(text, v)) << text;
  }
  double v = 0;
  EXPECT_TRUE(ReadSortNumber("+.5", v));
  EXPECT_DOUBLE_EQ(v, 0.5);
  EXPECT_TRUE(ReadSortNumber("1e999", v));
  EXPECT_TRUE(std::isinf(v));
}

TEST(StringArray, PreparedKeysSortAsTheComparisonDoes) {
  // Sorting without a hook works on keys made once per row; with a hook that leaves the texts
  // alone each comparison goes through CompareSortCells. Both must give the same order: texts
  // that differ only past the eighth byte, a Latin-1 capital across that boundary, prefixes,
  // a NUL, -0 and 0, infinities, numbers among texts and equal cells in both directions.
  const std::vector<std::string> texts = {
      "abcdefghij", "ABCDEFGHIk", "abcdefgh",   "abcdefg\xC3\x84x", "abcdefg\xC3\xA4",
      "abcdefgh\xC3\x84", "abcdefgh\xC3\xA4" "b", "-0",   "0",   "1e999", "-1e999", "12.5",
      "12,5",       "",           "abc",        std::string("ab\0c", 4), "ab",
      "ABCDEFGHIJ", "zzzzzzzzzzzzzzzzzzzzz", "ZZZZZZZZZZZZZZZZZZZZY", " 7 ", "\xC3\x97", "\xC3\xB7"};
  TStringArray keyed, compared;
  const int n = 3 * static_cast<int>(texts.size());
  for (TStringArray* a : {&keyed, &compared}) {
    a->Resize(3, n);
    for (int r = 1; r <= n; ++r) {
      a->SetString(1, r, texts[(r * 7) % texts.size()]);
      a->SetString(2, r, texts[(r * 5) % texts.size()]);
      a->SetString(3, r, std::to_string(r));
    }
  }
  compared.OnBeforeSortExchange = [](TObject*, std::string&, std::string&) {};
  for (const auto& [prim, sec, ascending] :
       std::vector<std::tuple<int, int, bool>>{{1, -1, true}, {1, -1, false}, {1, 2, true},
                                               {2, 1, false}, {3, -1, true}}) {
    keyed.Sort(prim, sec, ascending);
    compared.Sort(prim, sec, ascending);
    EXPECT_EQ(Column(keyed, 3), Column(compared, 3)) << prim << " " << sec << " " << ascending;
  }
}

TEST(StringArray, TiesGoToTheSecondaryColumnThenToTheStoredOrder) {
  TStringArray a;
  Fill(a,
       {{"b", "2", "r1"}, {"a", "3", "r2"}, {"B", "1", "r3"}, {"a", "3", "r4"}, {"b", "2", "r5"}});
  a.Sort(1, 2, true);
  EXPECT_EQ(Column(a, 3), (std::vector<std::string>{"r2", "r4", "r3", "r1", "r5"}));
  a.Sort(1, 2, false);
  EXPECT_EQ(Column(a, 3), (std::vector<std::string>{"r1", "r5", "r3", "r2", "r4"}));
  a.Sort(1, -1, true);  // without a secondary column only the stored order breaks ties
  EXPECT_EQ(Column(a, 3), (std::vector<std::string>{"r2", "r4", "r1", "r3", "r5"}));
  a.Sort(1, 99, true);  // an invalid secondary column counts as none
  EXPECT_EQ(Column(a, 3), (std::vector<std::string>{"r2", "r4", "r1", "r3", "r5"}));
  a.Sort(7, 1, true);  // an invalid primary column changes nothing
  EXPECT_EQ(Column(a, 3), (std::vector<std::string>{"r2", "r4", "r1", "r3", "r5"}));
}

TEST(StringArray, AttributesAndLabelsTravelWithTheirRows) {
  TStringArray a;
  Fill(a, {{"3"}, {"1"}, {"2"}});
  for (int r = 1; r <= 3; ++r) {
    a.SetRowAttrib(r, static_cast<uint8_t>(0x10 * r));
    a.SetString(0, r, "label " + std::to_string(r));
  }
  a.Sort(1, -1, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(a.GetRowAttrib(1), 0x20);
  EXPECT_EQ(a.GetRowAttrib(3), 0x10);
  EXPECT_EQ(a.GetString(0, 1), "label 2");
  EXPECT_EQ(a.GetSortOrder(1), 2);
  EXPECT_EQ(a.GetSortOrder(3), 1);
  // Writing through the sorted view writes the stored row shown there.
  a.SetRowAttrib(1, 0xC0);
  a.SetString(1, 1, "one");
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"3", "one", "2"}));
  EXPECT_EQ(a.GetRowAttrib(2), 0xC0);
}

TEST(StringArray, CommitSortingMakesTheOrderStoredSoUnSortKeepsIt) {
  TStringArray a;
  Fill(a, {{"c"}, {"a"}, {"b"}});
  a.SetRowAttrib(1, 1);
  a.Sort(1, -1, true);
  EXPECT_TRUE(a.IsSorted());
  a.CommitSorting();
  EXPECT_FALSE(a.IsSorted());
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(a.GetRowAttrib(3), 1);
  EXPECT_EQ(a.GetSortOrder(1), 1);
  // Without a commit UnSort goes back to the stored order.
  a.Sort(1, -1, false);
  EXPECT_EQ(a.GetString(1, 1), "c");
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringArray, RowChangesCommitAPendingSort) {
  TStringArray a;
  Fill(a, {{"c"}, {"a"}, {"b"}});
  a.Sort(1, -1, true);
  a.InsertRow(2);
  EXPECT_FALSE(a.IsSorted());
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"a", "", "b", "c"}));
  a.Sort(1, -1, false);
  a.RemoveRow(1);
  a.UnSort();
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"b", "a", ""}));
  a.Sort(1, -1, true);
  a.Resize(1, 2);  // the shown first two rows survive
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"", "a"}));
}

TEST(StringArray, SetSortOrderCopiesAnotherOrderAndStaysAPermutation) {
  TStringArray src;
  Fill(src, {{"d"}, {"b"}, {"a"}, {"c"}});
  src.Sort(1, -1, true);
  TStringArray dst;
  Fill(dst, {{"d"}, {"b"}, {"a"}, {"c"}});
  for (int r = 1; r <= 4; ++r) dst.SetSortOrder(r, src.GetSortOrder(r));
  EXPECT_EQ(Column(dst, 1), Column(src, 1));
  dst.SetSortOrder(1, 1);  // "d" moves to the top, "a" takes its old place
  EXPECT_EQ(Column(dst, 1), (std::vector<std::string>{"d", "b", "c", "a"}));
  dst.SetSortOrder(2, 9);  // out of range: ignored
  EXPECT_EQ(Column(dst, 1), (std::vector<std::string>{"d", "b", "c", "a"}));
  TStringArray copy;
  copy.Assign(dst);
  EXPECT_EQ(Column(copy, 1), Column(dst, 1));
  copy.UnSort();
  EXPECT_EQ(Column(copy, 1), (std::vector<std::string>{"d", "b", "a", "c"}));
}

TEST(StringArray, HooksReportChangesProgressAndComparedTexts) {
  TStringArray a;
  Fill(a, {{"x"}, {"y"}});
  int changes = 0;
  std::vector<int> progress;
  a.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &a);
    ++changes;
  };
  a.OnPercentDone = [&](TObject*, int p) { progress.push_back(p); };
  a.SetString(1, 1, "x");  // unchanged: no notification
  EXPECT_EQ(changes, 0);
  a.SetString(1, 1, "z");
  a.SetRowAttrib(1, 3);
  a.Resize(1, 3);
  a.Clear();
  EXPECT_EQ(changes, 4);
  a.SetString(1, 1, "3 May");
  a.SetString(1, 2, "12 April");
  a.SetString(1, 3, "1 June");
  // The hook replaces the compared texts by month keys; the cells keep their texts.
  a.OnBeforeSortExchange = [](TObject*, std::string& t1, std::string& t2) {
    auto key = [](const std::string& s) {
      return s.find("April") != std::string::npos ? "4"
             : s.find("May") != std::string::npos ? "5"
                                                  : "6";
    };
    t1 = key(t1);
    t2 = key(t2);
  };
  progress.clear();
  a.Sort(1, -1, true);
  EXPECT_EQ(Column(a, 1), (std::vector<std::string>{"12 April", "3 May", "1 June"}));
  EXPECT_EQ(progress, (std::vector<int>{0, 100}));
}

TEST(StringArray, UnusedColumnsCostNoCells) {
  TStringArray a(3, 1000);
  a.SetAllocRowsBy(0);
  EXPECT_EQ(a.GetAllocRowsBy(), 1);
  a.SetString(2, 500, "only");
  a.Sort(1, 3, true);  // empty columns sort as equal texts: the stored order stays
  EXPECT_EQ(a.GetString(2, 500), "only");
  a.Clear();
  EXPECT_EQ(a.GetString(2, 500), "");
  EXPECT_EQ(a.NrOfRows(), 1000);
}

TEST(BitFld, SetGetCountAndFirst) {
  TBitFld b(130);
  EXPECT_EQ(b.FirstTrueBit(), -1);
  b.SetBit(129, true);
  b.SetBit(64, true);
  b.SetBit(3, true);
  b.SetBit(130, true);  // out of range
  b.SetBit(-1, true);
  EXPECT_EQ(b.CountTrueBits(), 3);
  EXPECT_EQ(b.FirstTrueBit(), 3);
  EXPECT_TRUE(b.GetBit(64));
  EXPECT_FALSE(b.GetBit(130));
  b.SetBit(3, false);
  EXPECT_EQ(b.FirstTrueBit(), 64);
  b.SetSize(100);  // bit 129 goes, 64 stays
  EXPECT_EQ(b.CountTrueBits(), 1);
  b.SetSize(200);  // bits that come back are false
  EXPECT_FALSE(b.GetBit(129));
  b.Clear();
  EXPECT_EQ(b.CountTrueBits(), 0);
  EXPECT_EQ(b.GetSize(), 200);
  b.SetSize(-5);
  EXPECT_EQ(b.GetSize(), 0);
  EXPECT_EQ(b.FirstTrueBit(), -1);
}

}  // namespace
}  // namespace qel

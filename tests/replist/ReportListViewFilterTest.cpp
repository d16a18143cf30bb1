// FilterAndSort in its three modes, bad expressions and patterns, the host's filter hook, and a
// pattern that would make a backtracking matcher run for ages.
#include <gtest/gtest.h>

#include "tests/replist/ReportListViewFixture.h"

namespace qel::test {
namespace {

class ReportListViewFilterTest : public ReportListViewTest {
 protected:
  void SetUp() override {
    ReportListViewTest::SetUp();
    View->SetNrCols(2);
    const char* rows[][2] = {{"Pressure sensor", "kPa"}, {"Temperature probe", "degC"},
                             {"pressure valve", "bar"},  {"Flow meter", "l/min"},
                             {"Level gauge", "m"},       {"temperature alarm", "degC"}};
    View->SetNrRows(6);
    for (int r = 1; r <= 6; ++r)
      for (int c = 1; c <= 2; ++c) View->SetElem(c, r, rows[r - 1][c - 1]);
  }
  // The texts of column 1 as shown, kept rows first; disabled rows in brackets.
  std::string Shown() {
    std::string s;
    for (int r = 1; r <= View->GetNrOfRows(); ++r) {
      const std::string t = View->GetElem(1, r);
      s += View->GetRowEnabled(r) ? t : "[" + t + "]";
      s += ";";
    }
    return s;
  }
};

TEST_F(ReportListViewFilterTest, EachModeKeepsTheMatchingRowsFirst) {
  struct Case {
    std::string Text;
    TFilterMode Mode;
    bool CaseSensitive;
    std::vector<int> Columns;
    int Kept;
    std::string Want;
  };
  const Case cases[] = {
      {"pressure",
       fmSimple,
       false,
       {},
       2,
       "Pressure sensor;pressure valve;[Flow meter];[Level gauge];[temperature alarm];"
       "[Temperature probe];"},
      {"pressure",
       fmSimple,
       true,
       {},
       1,
       "pressure valve;[Flow meter];[Level gauge];[Pressure sensor];[temperature alarm];"
       "[Temperature probe];"},
      {"degc",
       fmSimple,
       false,
       {1},
       0,
       "[Flow meter];[Level gauge];[Pressure sensor];[pressure valve];[temperature alarm];"
       "[Temperature probe];"},
      {"temperature AND NOT alarm OR \"flow meter\"",
       fmBoolean,
       false,
       {},
       2,
       "Flow meter;Temperature probe;[Level gauge];[Pressure sensor];[pressure valve];"
       "[temperature alarm];"},
      {"(sensor or valve) degc",
       fmBoolean,
       false,
       {},
       0,
       "[Flow meter];[Level gauge];[Pressure sensor];[pressure valve];[temperature alarm];"
       "[Temperature probe];"},
      {"^[pt]",
       fmGrep,
       true,
       {1},
       2,
       "pressure valve;temperature alarm;[Flow meter];[Level gauge];[Pressure sensor];"
       "[Temperature probe];"},
      {"^[pt].*(sensor|probe)$",
       fmGrep,
       false,
       {},
       2,
       "Pressure sensor;Temperature probe;[Flow meter];[Level gauge];[pressure valve];"
       "[temperature alarm];"},
      {"",
       fmGrep,
       false,
       {},
       6,
       "Flow meter;Level gauge;Pressure sensor;pressure valve;temperature alarm;"
       "Temperature probe;"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Text);
    EXPECT_EQ(View->FilterAndSort(k.Text, k.Columns, k.CaseSensitive, k.Mode, 1, true), k.Kept);
    EXPECT_EQ(Shown(), k.Want);
    EXPECT_EQ(View->NumEnabledRows(), k.Kept);
  }
}

TEST_F(ReportListViewFilterTest, WithoutASortColumnTheGroupsKeepTheirOrder) {
  View->FilterAndSort("e", {2}, false, fmSimple, 0, true);
  EXPECT_EQ(Shown(),
            "Temperature probe;temperature alarm;[Pressure sensor];[pressure valve];[Flow meter];"
            "[Level gauge];");
}

TEST_F(ReportListViewFilterTest, BadExpressionsAndPatternsNameThePositionAndChangeNothing) {
  View->SetName("List");
  const std::string before = Shown();
  struct Case {
    std::string Text;
    TFilterMode Mode;
    std::string Message;
  };
  const Case cases[] = {
      {"(a or b", fmBoolean,
       "Component \"List\": filter expression, position 8: \")\" expected for \"(\" at "
       "position 1"},
      {"a and", fmBoolean,
       "Component \"List\": filter expression, position 6: a term is missing at the end"},
      {"a ) b", fmBoolean, "Component \"List\": filter expression, position 3: \")\" not expected"},
      {"x \"open", fmBoolean,
       "Component \"List\": filter expression, position 3: quoted phrase without closing quote"},
      {"or a", fmBoolean,
       "Component \"List\": filter expression, position 1: a term is missing before \"or\""},
      {std::string(300, '('), fmBoolean,
       "Component \"List\": filter expression, position 201: nested deeper than 200 levels"},
      {[] {
         std::string s;
         for (int i = 0; i < 1001; ++i) s += "a or ";
         return s;
       }(),
       fmBoolean,
       "Component \"List\": filter expression, position 5000: more than 2000 terms and "
       "operators"},
      {"ab(c", fmGrep, "Component \"List\": filter pattern, position 3: missing ): ab(c"},
      {"a**", fmGrep,
       "Component \"List\": filter pattern, position 2: bad repetition operator: **"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Text);
    try {
      View->FilterAndSort(k.Text, {}, false, k.Mode, 1, true);
      ADD_FAILURE() << "no error";
    } catch (const EQELRepListError& e) {
      EXPECT_EQ(e.Message, k.Message);
    }
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(View->GetSortColumn(), -1);
  }
}

TEST_F(ReportListViewFilterTest, TheHostHookCombinesWithTheTextMatch) {
  // The host finds rows 1 and 4 (by storage position at the time of the call).
  TLogicOp op = loOr;
  View->OnBeforeFilter = [&](TObject* S, int Row, bool& Found, TLogicOp& Combine) {
    EXPECT_EQ(S, View);
    Found = Row == 1 || Row == 4;
    Combine = op;
  };
  struct Case {
    TLogicOp Op;
    int Kept;
  };
  for (Case k : {Case{loOr, 3}, Case{loAnd, 1}, Case{loXor, 2}, Case{loNone, 2}}) {
    View->UnSort();
    View->EnableAllRows();
    op = k.Op;
    EXPECT_EQ(View->FilterAndSort("pressure", {1}, false, fmSimple, -1, true), k.Kept) << k.Op;
  }
}

TEST_F(ReportListViewFilterTest, ABacktrackingPatternOnAHundredThousandRowsEndsAtOnce) {
  View->SetNrCols(1);
  View->SetNrRows(100000);
  const std::string text = std::string(40, 'a') + "!";
  for (int r = 1; r <= 100000; ++r) View->SetElem(1, r, r == 77777 ? std::string(40, 'a') : text);
  // A backtracking matcher tries 2^40 ways to split the a's for every row.
  EXPECT_EQ(View->FilterAndSort("^(a+)+$", {}, true, fmGrep, -1, true), 1);
  EXPECT_EQ(View->GetElem(1, 1), std::string(40, 'a'));
  EXPECT_TRUE(View->GetRowEnabled(1));
  EXPECT_FALSE(View->GetRowEnabled(2));
}

}  // namespace
}  // namespace qel::test

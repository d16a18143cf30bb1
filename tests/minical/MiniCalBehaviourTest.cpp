// TMiniCal through its public face: date parts and their errors, stepping, the holiday list and
// its precedence, language, hints, layout, and a calendar on a form driven by mouse and keys.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "minical/QEL_MiniCal.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"

namespace qel {
namespace {

std::string Ymd(const TMiniCal& C) {
  return std::to_string(C.GetYear()) + "-" + std::to_string(C.GetMonth()) + "-" +
         std::to_string(C.GetDay());
}

// A calendar on a fixed date that counts its change events.
struct Cal {
  TMiniCal C{nullptr};
  int Changes = 0;
  Cal(int Y, int M, int D) {
    C.SetDate(EncodeDate(Y, M, D));
    C.OnChange = [this](TObject* Sender) {
      EXPECT_EQ(Sender, &C);
      ++Changes;
    };
  }
};

// ---------------------------------------------------------------- date parts

TEST(MiniCalDate, StepsKeepTheDayWhereTheTargetMonthHasIt) {
  struct {
    int Y, M, D;
    std::function<void(TMiniCal&)> Step;
    const char* Expected;
    int Changes;
  } cases[] = {
      {2024, 2, 29, [](TMiniCal& c) { c.PrevYear(); }, "2023-2-28", 2},
      {2024, 2, 29, [](TMiniCal& c) { c.NextYear(); }, "2025-2-28", 2},
      {2024, 2, 28, [](TMiniCal& c) { c.NextYear(); }, "2025-2-28", 1},
      {2023, 1, 31, [](TMiniCal& c) { c.NextMonth(); }, "2023-2-28", 1},
      {2024, 1, 31, [](TMiniCal& c) { c.NextMonth(); }, "2024-2-29", 1},
      {2024, 3, 31, [](TMiniCal& c) { c.PrevMonth(); }, "2024-2-29", 1},
      {2024, 12, 15, [](TMiniCal& c) { c.NextMonth(); }, "2025-1-15", 1},
      {2024, 1, 15, [](TMiniCal& c) { c.PrevMonth(); }, "2023-12-15", 1},
      {2024, 1, 31, [](TMiniCal& c) { c.MonthStep(3); }, "2024-4-30", 1},
      {2024, 5, 31, [](TMiniCal& c) { c.MonthStep(-14); }, "2023-3-31", 1},
      {2024, 5, 31, [](TMiniCal& c) { c.MonthStep(25); }, "2026-6-30", 1},
      {2023, 6, 30, [](TMiniCal& c) { c.MonthStep(0); }, "2023-6-30", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.LastDayOfMonth(); }, "2024-2-29", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.SetDay(1); }, "2024-2-1", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.SetDay(30); }, "2024-2-10", 1},  // beyond: ignored
      {2024, 2, 10, [](TMiniCal& c) { c.SetMonth(13); }, "2024-2-10", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.SetYear(-3); }, "2024-2-10", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.SetMonth(7); }, "2024-7-10", 1},
      {2024, 2, 10, [](TMiniCal& c) { c.SetYear(1999); }, "1999-2-10", 1},
  };
  int i = 0;
  for (auto& c : cases) {
    Cal k(c.Y, c.M, c.D);
    c.Step(k.C);
    EXPECT_EQ(Ymd(k.C), c.Expected) << "case " << i;
    EXPECT_EQ(k.Changes, c.Changes) << "case " << i;
    ++i;
  }
}

TEST(MiniCalDate, ImpossibleDatesRaiseTheConversionErrorAndKeepTheDate) {
  struct {
    int Y, M, D;
    std::function<void(TMiniCal&)> Step;
  } cases[] = {
      {2024, 2, 29, [](TMiniCal& c) { c.SetYear(2023); }},
      {2024, 3, 31, [](TMiniCal& c) { c.SetMonth(2); }},
      {2024, 3, 31, [](TMiniCal& c) { c.SetMonth(0); }},
      {2024, 3, 31, [](TMiniCal& c) { c.SetDay(0); }},
      {2024, 3, 31, [](TMiniCal& c) { c.SetYear(10000); }},
      {9999, 12, 31, [](TMiniCal& c) { c.NextMonth(); }},
      {9999, 12, 31, [](TMiniCal& c) { c.NextYear(); }},
      {1, 1, 1, [](TMiniCal& c) { c.PrevMonth(); }},
      {1, 5, 1, [](TMiniCal& c) { c.MonthStep(-2147483647); }},
      {1, 5, 1, [](TMiniCal& c) { c.MonthStep(2147483647); }},
  };
  for (auto& c : cases) {
    Cal k(c.Y, c.M, c.D);
    const TDateTime before = k.C.GetDate();
    EXPECT_THROW(c.Step(k.C), EConvertError) << c.Y << "-" << c.M << "-" << c.D;
    EXPECT_EQ(k.C.GetDate(), before);
    EXPECT_EQ(k.Changes, 0);
  }
}

TEST(MiniCalDate, SetDateKeepsTheTimeAndPartsDropIt) {
  Cal k(2024, 5, 5);
  const TDateTime v = EncodeDate(2024, 5, 6) + 0.75;
  k.C.SetDate(v);
  EXPECT_EQ(k.C.GetDate(), v);
  EXPECT_EQ(k.Changes, 1);
  k.C.SetDay(6);
  EXPECT_EQ(k.C.GetDate(), EncodeDate(2024, 5, 6));
  // Values the runtime cannot decode are not dates: ignored.
  k.C.SetDate(std::nan(""));
  k.C.SetDate(MaxDateTime + 5);
  k.C.SetDate(-1e300);
  EXPECT_EQ(k.C.GetDate(), EncodeDate(2024, 5, 6));
  EXPECT_EQ(k.Changes, 2);
}

TEST(MiniCalDate, FirstDayOfWeekAndDayColoursNotify) {
  Cal k(2024, 9, 1);  // a Sunday
  EXPECT_EQ(k.C.Page().CellOfDay(1), (TGridCoord{7, 2}));
  k.C.Set1stDayWeek(dwSun);
  EXPECT_EQ(k.C.Page().CellOfDay(1), (TGridCoord{1, 2}));
  k.C.Set1stDayWeek(dwSun);  // unchanged: no event
  k.C.Set1stDayWeek(static_cast<TDayOfWeek>(9));
  EXPECT_EQ(k.C.GetFirstDayOfWeek(), dwSun);
  EXPECT_EQ(k.Changes, 1);
  k.C.SetDayColors(dwSat, clRed);
  EXPECT_EQ(k.C.GetDayColors(dwSat), clRed);
  EXPECT_EQ(k.C.GetDayColors(dwSun), TColor(0xCCEEFF));
  EXPECT_EQ(k.Changes, 2);  // reading does not notify
}

// ---------------------------------------------------------------- holidays

TEST(MiniCalHolidayList, ListEntriesComeFirstThenTheFeasts) {
  TMiniCal c(nullptr);
  struct {
    int Y, M, D;
    bool Found;
    const char* Name;
  } defaults[] = {
      {2024, 3, 31, true, "Easter Day"},
      {2024, 4, 1, true, "Easter Monday"},
      {2024, 5, 9, true, "Ascension Day"},
      {2024, 5, 30, true, "Corpus Christi"},
      {2024, 12, 25, true, "Christmas Day"},
      {1999, 5, 1, true, "Labor Day"},
      {2024, 5, 2, false, ""},
      {2024, 6, 31, false, ""},
  };
  for (const auto& d : defaults) {
    std::string name = "stale";
    EXPECT_EQ(c.CheckHoliday(d.Y, d.M, d.D, name), d.Found) << d.M << "-" << d.D;
    EXPECT_EQ(name, d.Name);
  }
  c.SetShowMovHDays(false);
  std::string name;
  for (int d : {31}) EXPECT_FALSE(c.CheckHoliday(2024, 3, d, name));
  EXPECT_FALSE(c.CheckHoliday(2024, 5, 30, name));
  c.SetShowMovHDays(true);

  // The first matching row wins: over a later row and over a feast on the same day.
  c.AddRepeatHoliday(1, 5, "May Day");
  c.AddHoliday(31, 3, 2024, "Clock change");
  c.AddHoliday(31, 6, 2024, "Never");  // June has no 31st: stored, never found
  c.AddHoliday(20, 4, 2025, "Only 2025");
  EXPECT_EQ(c.GetNumHolidays(), 12);
  EXPECT_TRUE(c.CheckHoliday(2030, 5, 1, name));
  EXPECT_EQ(name, "Labor Day");
  EXPECT_TRUE(c.CheckHoliday(2024, 3, 31, name));
  EXPECT_EQ(name, "Clock change");
  EXPECT_TRUE(c.CheckHoliday(2025, 4, 20, name));
  EXPECT_EQ(name, "Only 2025");
  EXPECT_TRUE(c.CheckHoliday(2026, 4, 5, name));  // Easter 2026: not the list's year
  EXPECT_EQ(name, "Easter Day");

  int d = 0, m = 0, y = 0;
  bool rep = false;
  EXPECT_TRUE(c.RetrieveHoliday(9, d, m, y, rep, name));
  EXPECT_EQ(d, 1);
  EXPECT_EQ(m, 5);
  EXPECT_EQ(y, kRepeatYear);
  EXPECT_TRUE(rep);
  EXPECT_EQ(name, "May Day");
  EXPECT_TRUE(c.RetrieveHoliday(10, d, m, y, rep, name));
  EXPECT_EQ(y, 2024);
  EXPECT_FALSE(rep);
  d = -7;
  for (int index : {0, 13, -1}) EXPECT_FALSE(c.RetrieveHoliday(index, d, m, y, rep, name));
  EXPECT_EQ(d, -7);

  // A language change reloads the defaults; clearing leaves only the feasts.
  c.SetLanguage(lgGerman);
  EXPECT_EQ(c.GetNumHolidays(), 8);
  EXPECT_TRUE(c.CheckHoliday(2024, 1, 6, name));
  EXPECT_EQ(name, "Hl. Drei Könige");
  EXPECT_TRUE(c.CheckHoliday(2024, 5, 20, name));
  EXPECT_EQ(name, "Pfingstmontag");
  c.ClearHolidayList();
  EXPECT_EQ(c.GetNumHolidays(), 0);
  EXPECT_FALSE(c.CheckHoliday(2024, 12, 25, name));
  EXPECT_TRUE(c.CheckHoliday(2024, 3, 31, name));
  EXPECT_EQ(name, "Ostersonntag");
  // An ordinal without tables reads English.
  c.SetLanguage(static_cast<TLanguage>(7));
  EXPECT_TRUE(c.CheckHoliday(2024, 11, 1, name));
  EXPECT_EQ(name, "All Saints");
  EXPECT_EQ(c.CellText(1, 1), "Mon");
}

TEST(MiniCalHolidayList, HintFollowsTheSelectedHoliday) {
  Cal k(2024, 12, 25);
  EXPECT_EQ(k.C.GetHint(), "Christmas Day");
  k.C.SetDay(27);
  EXPECT_EQ(k.C.GetHint(), "");
  k.C.SetDay(26);
  EXPECT_EQ(k.C.GetHint(), "Boxing Day");
  k.C.SetIndicateHolidays(false);
  EXPECT_EQ(k.C.GetHint(), "");
  k.C.SetIndicateHolidays(true);
  // Switched off, the hint is the host's own.
  k.C.SetFShowHDayHint(false);
  EXPECT_EQ(k.C.GetHint(), "");
  k.C.SetHint("host text");
  k.C.SetDay(25);
  EXPECT_EQ(k.C.GetHint(), "host text");
  EXPECT_FALSE(k.C.GetShowHint());
  k.C.SetFShowHDayHint(true);
  EXPECT_TRUE(k.C.GetShowHint());
  EXPECT_EQ(k.C.GetHint(), "Christmas Day");
}

// ---------------------------------------------------------------- layout and texts

TEST(MiniCalLayout, SevenEqualColumnsAndRowsTheRestToTheFirst) {
  TMiniCal c(nullptr);
  struct {
    int W, H;
    bool Ctl3D;
    int ColW, RowH, Col0, Row0;
  } cases[] = {
      {300, 180, true, 36, 21, 36, 21},
      {300, 180, false, 36, 21, 39, 24},
      {400, 250, true, 49, 30, 45, 28},
      {10, 10, true, 0, 0, 0, 0},
  };
  for (const auto& s : cases) {
    c.SetCtl3D(s.Ctl3D);
    c.SetBounds(0, 0, s.W, s.H);
    EXPECT_EQ(c.GetDefaultColWidth(), s.ColW) << s.W;
    EXPECT_EQ(c.GetDefaultRowHeight(), s.RowH) << s.H;
    EXPECT_EQ(c.GetColWidths(0), s.Col0) << s.W;
    EXPECT_EQ(c.GetRowHeights(0), s.Row0) << s.H;
    if (s.W > 100) {
      EXPECT_TRUE(c.VertScrollBarRect().IsEmpty());
      EXPECT_TRUE(c.HorzScrollBarRect().IsEmpty());
    }
  }
  c.SetCtl3D(true);
  c.SetBounds(0, 0, 300, 180);
  // The title spans three cells and their lines; "#" covers rows 0 and 1.
  EXPECT_EQ(c.DrawRect(5, 0), (TRect{c.CellRect(3, 0).Left, 1, c.CellRect(5, 0).Right, 22}));
  EXPECT_EQ(c.DrawRect(0, 1), (TRect{1, 1, 37, c.CellRect(0, 1).Bottom}));
  EXPECT_EQ(c.DrawRect(2, 3), c.CellRect(2, 3));
}

TEST(MiniCalLayout, CellTextsInTheFourLanguages) {
  Cal k(2024, 3, 15);  // March 2024 starts on a Friday
  TMiniCal& c = k.C;
  EXPECT_EQ(c.CellText(5, 0), "Mar 2024");
  EXPECT_EQ(c.CellText(1, 0), "<<");
  EXPECT_EQ(c.CellText(2, 0), "<");
  EXPECT_EQ(c.CellText(6, 0), ">");
  EXPECT_EQ(c.CellText(7, 0), ">>");
  EXPECT_EQ(c.CellText(0, 1), "#");
  EXPECT_EQ(c.CellText(0, 2), "9");  // ISO week of 1 March 2024
  EXPECT_EQ(c.CellText(0, 7), "14");
  EXPECT_EQ(c.CellText(1, 2), "26");
  EXPECT_EQ(c.CellText(5, 2), "1");
  c.SetMonthShort(false);
  EXPECT_EQ(c.CellText(5, 0), "March 2024");
  struct {
    TLanguage L;
    const char* Title;
    const char* Mon;
    const char* Sun;
  } langs[] = {{lgGerman, "März 2024", "Mo", "So"},
               {lgFrench, "mars 2024", "lun", "dim"},
               {lgSpanish, "marzo 2024", "lun", "dom"},
               {lgEnglish, "March 2024", "Mon", "Sun"}};
  for (const auto& l : langs) {
    c.SetLanguage(l.L);
    EXPECT_EQ(c.CellText(5, 0), l.Title);
    EXPECT_EQ(c.CellText(1, 1), l.Mon);
    EXPECT_EQ(c.CellText(7, 1), l.Sun);
  }
  c.Set1stDayWeek(dwSun);
  EXPECT_EQ(c.CellText(1, 1), "Sun");
  EXPECT_EQ(c.CellText(2, 1), "Mon");
  EXPECT_EQ(c.CellText(6, 2), "1");
}

// ---------------------------------------------------------------- on a form

class MiniCalOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    C = new TMiniCal(Form);
    C->SetParent(Form);
    C->SetBounds(10, 10, 300, 180);
    C->SetToday(EncodeDate(2024, 3, 20) + 0.5);
    C->SetDate(EncodeDate(2024, 3, 15));
    C->OnChange = [this](TObject*) { ++Changes; };
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  void ClickCell(int Col, int Row, TMouseButton Button = mbLeft) {
    const TRect r = C->CellRect(Col, Row);
    THeadlessInput(Form).Click(10 + (r.Left + r.Right) / 2, 10 + (r.Top + r.Bottom) / 2, Button);
  }
  void Key(uint16_t K, TShiftState Shift = {}) { THeadlessInput(Form).PressKey(K, Shift); }
  // The grid's current cell is the one that shows the selected day.
  void ExpectCurrentOnDay() {
    const TGridCoord cell = C->Page().CellOfDay(C->GetDay());
    EXPECT_EQ(C->GetCol(), cell.X) << Ymd(*C);
    EXPECT_EQ(C->GetRow(), cell.Y) << Ymd(*C);
  }
  TForm* Form = nullptr;
  TMiniCal* C = nullptr;
  int Changes = 0;
};

TEST_F(MiniCalOnForm, TitleButtonsAndTodayButtons) {
  struct {
    int Col, Row;
    const char* Expected;
  } cases[] = {{1, 0, "2023-3-15"}, {2, 0, "2024-2-15"}, {6, 0, "2024-4-15"}, {7, 0, "2025-3-15"},
               {3, 0, "2024-3-15"}, {4, 0, "2024-3-15"}, {5, 0, "2024-3-15"}, {0, 1, "2024-3-20"},
               {0, 0, "2024-3-20"}, {0, 4, "2024-3-15"}, {3, 1, "2024-3-15"}};
  for (const auto& c : cases) {
    C->SetDate(EncodeDate(2024, 3, 15));
    Changes = 0;
    ClickCell(c.Col, c.Row);
    EXPECT_EQ(Ymd(*C), c.Expected) << c.Col << "," << c.Row;
    EXPECT_EQ(Changes, std::string(c.Expected) == "2024-3-15" ? 0 : 1) << c.Col << "," << c.Row;
  }
  // Today keeps its time of day.
  ClickCell(0, 1);
  EXPECT_EQ(C->GetDate(), EncodeDate(2024, 3, 20) + 0.5);
  // At the end of the years a step beeps and changes nothing.
  C->SetDate(EncodeDate(9999, 12, 31));
  HeadlessBackend()->Beeps.clear();
  ClickCell(7, 0);
  ClickCell(6, 0);
  EXPECT_EQ(Ymd(*C), "9999-12-31");
  EXPECT_EQ(HeadlessBackend()->Beeps.size(), 2u);
  EXPECT_TRUE(HeadlessBackend()->Errors.empty());
}

TEST_F(MiniCalOnForm, ClicksOnDaysFollowAutoSwitch) {
  // March 2024 from Monday: cell (1, 2) is 26 February, (7, 7) is 7 April.
  ClickCell(3, 4);
  EXPECT_EQ(Ymd(*C), "2024-3-13");
  EXPECT_EQ(Changes, 1);
  ExpectCurrentOnDay();
  ClickCell(1, 2);
  EXPECT_EQ(Ymd(*C), "2024-2-26");
  ExpectCurrentOnDay();
  C->SetDate(EncodeDate(2024, 3, 15));
  ClickCell(7, 7);
  EXPECT_EQ(Ymd(*C), "2024-4-7");
  ExpectCurrentOnDay();
  C->SetDate(EncodeDate(2024, 3, 15));
  C->SetAutoSwitch(false);
  Changes = 0;
  ClickCell(1, 2);
  ClickCell(7, 7);
  EXPECT_EQ(Ymd(*C), "2024-3-15");
  EXPECT_EQ(Changes, 0);
  ExpectCurrentOnDay();
  ClickCell(5, 2);  // an active day still selects
  EXPECT_EQ(Ymd(*C), "2024-3-1");
  // Only the left button counts.
  ClickCell(4, 4, mbRight);
  EXPECT_EQ(Ymd(*C), "2024-3-1");
  // A drag from a day does not walk the grid's focus away from it.
  THeadlessInput in(Form);
  const TRect a = C->CellRect(2, 3), b = C->CellRect(6, 6);
  in.Drag({10 + a.Left + 3, 10 + a.Top + 3}, {10 + b.Left + 3, 10 + b.Top + 3});
  EXPECT_EQ(Ymd(*C), "2024-3-5");
  ExpectCurrentOnDay();
}

TEST_F(MiniCalOnForm, KeysMoveDaysMonthsAndYears) {
  ClickCell(5, 4);  // focus, and 15 March
  ASSERT_TRUE(C->Focused());
  struct {
    uint16_t Key;
    TShiftState Shift;
    const char* Expected;
  } steps[] = {
      {VK_RIGHT, {}, "2024-3-16"},       {VK_LEFT, {}, "2024-3-15"},
      {VK_DOWN, {}, "2024-3-22"},        {VK_UP, {}, "2024-3-15"},
      {VK_END, {}, "2024-3-31"},         {VK_RIGHT, {}, "2024-4-1"},
      {VK_LEFT, {}, "2024-3-31"},        {VK_NEXT, {}, "2024-4-30"},
      {VK_PRIOR, {}, "2024-3-30"},       {VK_HOME, {}, "2024-3-1"},
      {VK_UP, {}, "2024-2-23"},          {VK_END, {}, "2024-2-29"},
      {VK_NEXT, {ssCtrl}, "2025-2-28"},  {VK_PRIOR, {ssCtrl}, "2024-2-28"},
      {VK_PRIOR, {ssCtrl}, "2023-2-28"}, {VK_DOWN, {ssShift}, "2023-3-7"},
  };
  for (const auto& s : steps) {
    Key(s.Key, s.Shift);
    EXPECT_EQ(Ymd(*C), s.Expected);
    ExpectCurrentOnDay();
  }
  C->SetDate(EncodeDate(9999, 12, 31));
  Key(VK_RIGHT);
  Key(VK_DOWN);
  EXPECT_EQ(Ymd(*C), "9999-12-31");
  C->SetDate(EncodeDate(1, 1, 1));
  Key(VK_LEFT);
  Key(VK_PRIOR);
  EXPECT_EQ(Ymd(*C), "1-1-1");
  EXPECT_TRUE(HeadlessBackend()->Errors.empty());
  // The host's OnKeyDown sees keys first and can take them.
  C->OnKeyDown = [](TObject*, uint16_t& K, TShiftState) {
    if (K == VK_RIGHT) K = 0;
  };
  Key(VK_RIGHT);
  EXPECT_EQ(Ymd(*C), "1-1-1");
}

// ---------------------------------------------------------------- copying and registration

TEST(MiniCalProperties, AssignCopiesDateListAndLooks) {
  Cal a(2024, 6, 9);
  a.C.SetLanguage(lgFrench);
  a.C.AddRepeatHoliday(14, 7, "Fête nationale");
  a.C.Set1stDayWeek(dwSun);
  a.C.SetColorHolidayBg(clLime);
  a.C.SetDayColors(dwWed, clYellow);
  a.C.SetCtl3D(false);
  TMiniCal b(nullptr);
  b.Assign(&a.C);
  EXPECT_EQ(Ymd(b), "2024-6-9");
  EXPECT_EQ(b.GetLanguage(), lgFrench);
  EXPECT_EQ(b.GetNumHolidays(), 9);
  std::string name;
  EXPECT_TRUE(b.CheckHoliday(2030, 7, 14, name));
  EXPECT_EQ(name, "Fête nationale");
  EXPECT_EQ(b.GetFirstDayOfWeek(), dwSun);
  EXPECT_EQ(b.GetColorHolidayBg(), clLime);
  EXPECT_EQ(b.GetDayColors(dwWed), clYellow);
  EXPECT_FALSE(b.GetCtl3D());
  EXPECT_EQ(b.GetColWidths(0), 39);
  EXPECT_EQ(b.Page().Offset, a.C.Page().Offset);
}

TEST(MiniCalProperties, RegisteredWithTheirDefaultsAndReadFromAForm) {
  RegisterMiniCalClasses();
  RegisterMiniCalClasses();  // twice changes nothing
  const TClassInfo* info = FindClassInfo("TMiniCal");
  ASSERT_NE(info, nullptr);
  TMiniCal fresh(nullptr);
  int checked = 0;
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&fresh)) continue;
    EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name << " = " << GetPropText(&fresh, *p);
    ++checked;
  }
  EXPECT_GT(checked, 20);
  EXPECT_FALSE(info->FindProperty("Day")->IsStored(&fresh));
  EXPECT_EQ(info->FindProperty("ColCount"), nullptr);

  const std::string text =
      "object Cal1: TMiniCal\n"
      "  Left = 4\n"
      "  Top = 5\n"
      "  Width = 320\n"
      "  Height = 200\n"
      "  FirstDayOfWeek = dwSun\n"
      "  Language = lgSpanish\n"
      "  ShowMovableHolidays = False\n"
      "  Ctl3D = False\n"
      "  ColorHolidayBg = clYellow\n"
      "end\n";
  std::unique_ptr<TMiniCal> c(CreateFromText<TMiniCal>(text, nullptr));
  EXPECT_EQ(c->GetFirstDayOfWeek(), dwSun);
  EXPECT_EQ(c->GetLanguage(), lgSpanish);
  EXPECT_FALSE(c->GetShowMovableHolidays());
  EXPECT_EQ(c->GetColorHolidayBg(), clYellow);
  EXPECT_EQ(c->GetColWidths(0), 320 + 5 - (39 + 2) * 7);
  std::string name;
  EXPECT_TRUE(c->CheckHoliday(2024, 12, 25, name));
  EXPECT_EQ(name, "Navidad");
  EXPECT_EQ(WriteComponentText(c.get()), text);

  // A hint of the host's own survives a round trip when the holiday hint is off.
  c->SetFShowHDayHint(false);
  c->SetHint("Pick a day");
  const std::string withHint = WriteComponentText(c.get());
  std::unique_ptr<TMiniCal> d(CreateFromText<TMiniCal>(withHint, nullptr));
  EXPECT_EQ(d->GetHint(), "Pick a day");
  EXPECT_FALSE(d->GetShowHolidayHint());
  EXPECT_EQ(WriteComponentText(d.get()), withHint);
}

}  // namespace
}  // namespace qel

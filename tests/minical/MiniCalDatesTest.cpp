// The calendar's date arithmetic without a control: Easter against a second, independent rule,
// the feasts tied to it, holiday names, the month page for every starting weekday, ISO week
// numbers across year ends and what a click on a day number selects.
#include <gtest/gtest.h>

#include <string>

#include "minical/QEL_MiniCal.h"
#include "platform/rtl/DateTime.h"

namespace qel {
namespace {

// The anonymous Gregorian algorithm (Meeus, Jones, Butcher), written independently of the
// Gauss rule the calendar uses.
void EasterByMeeus(int Y, int& Day, int& Month) {
  const int a = Y % 19, b = Y / 100, c = Y % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3;
  const int h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4;
  const int l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  Month = (h + l - 7 * m + 114) / 31;
  Day = (h + l - 7 * m + 114) % 31 + 1;
}

TEST(MiniCalEaster, KnownYears) {
  struct {
    int Year, Day, Month;
  } cases[] = {{2008, 23, 3}, {2024, 31, 3}, {2025, 20, 4}, {2038, 25, 4}, {2285, 22, 3},
               {1818, 22, 3}, {1943, 25, 4}, {2000, 23, 4}, {2019, 21, 4}, {1954, 18, 4}};
  for (const auto& c : cases) {
    int d = 0, m = 0;
    CalcEasterSunday(c.Year, d, m);
    EXPECT_EQ(d, c.Day) << c.Year;
    EXPECT_EQ(m, c.Month) << c.Year;
  }
}

TEST(MiniCalEaster, AgreesWithAnIndependentRuleFrom1583To4099) {
  for (int y = 1583; y <= 4099; ++y) {
    int d = 0, m = 0, d2 = 0, m2 = 0;
    CalcEasterSunday(y, d, m);
    EasterByMeeus(y, d2, m2);
    ASSERT_EQ(m * 100 + d, m2 * 100 + d2) << y;
  }
}

TEST(MiniCalEaster, ExtremeYearsGiveADateWithoutFault) {
  for (int y : {0, 1, 9999, -1, -2000000000, 2000000000, 2147483647}) {
    int d = 0, m = 0;
    CalcEasterSunday(y, d, m);  // UBSan watches the arithmetic
    if (y >= 0) {
      EXPECT_TRUE((m == 3 && d >= 22 && d <= 31) || (m == 4 && d >= 1 && d <= 25)) << y;
    }
  }
}

TEST(MiniCalHolidays, MovableFeastsOfTheirYearsInEveryLanguage) {
  // Easter 2024: 31 March; 2025: 20 April.
  struct {
    int Year, Month, Day, Feast;
  } cases[] = {{2024, 3, 31, 0},  {2024, 4, 1, 1},  {2024, 5, 9, 2},   {2024, 5, 19, 3},
               {2024, 5, 20, 4},  {2024, 5, 30, 5}, {2025, 4, 20, 0},  {2025, 4, 21, 1},
               {2025, 5, 29, 2},  {2025, 6, 8, 3},  {2025, 6, 9, 4},   {2025, 6, 19, 5},
               {2024, 3, 30, -1}, {2024, 4, 2, -1}, {2024, 5, 31, -1}, {2024, 7, 9, -1},
               {2024, 2, 29, -1}};
  for (const auto& c : cases)
    EXPECT_EQ(MovableFeastAt(c.Year, c.Month, c.Day), c.Feast)
        << c.Year << "-" << c.Month << "-" << c.Day;

  // Spot checks of the texts, several with characters beyond ASCII.
  EXPECT_STREQ(MovableFeastName(lgEnglish, 4), "Whit Monday");
  EXPECT_STREQ(MovableFeastName(lgGerman, 2), "Christi Himmelfahrt");
  EXPECT_STREQ(MovableFeastName(lgFrench, 3), "Dimanche de Pentecôte");
  EXPECT_STREQ(MovableFeastName(lgSpanish, 0), "Domingo de Resurrección");
  EXPECT_STREQ(MovableFeastName(lgSpanish, 5), "Corpus Cristi");
  EXPECT_STREQ(DefaultHolidayName(lgFrench, 6), "Immaculée Conception");
  EXPECT_STREQ(DefaultHolidayName(lgSpanish, 1), "Día de San Esteban");
  EXPECT_STREQ(DefaultHolidayName(lgGerman, 7), "Tag der Arbeit");
  EXPECT_STREQ(DefaultHolidayName(lgEnglish, 2), "New Year's Day");
  // Languages without tables of their own read English.
  EXPECT_STREQ(MovableFeastName(lgNeutral, 3), "Pentecost");
  EXPECT_STREQ(MovableFeastName(static_cast<TLanguage>(9), 0), "Easter Day");
  EXPECT_STREQ(MovableFeastName(lgEnglish, 6), "");
}

// ---------------------------------------------------------------- page model

TEST(MiniCalPage, MonthsStartingOnEachWeekday) {
  // 2024: January starts on a Monday, October a Tuesday, May a Wednesday, February a Thursday,
  // March a Friday, June a Saturday, September a Sunday.
  struct {
    int Month;
    TDayOfWeek First;
    int Offset;
    const char* FirstCell;  // the day shown in cell (1, 2)
    const char* LastCell;   // and in (7, 7)
    TGridCoord Day1;
  } cases[] = {
      {1, dwMon, 1, "1", "11", {1, 2}},  {10, dwMon, 0, "30", "10", {2, 2}},
      {5, dwMon, -1, "29", "9", {3, 2}}, {2, dwMon, -2, "29", "10", {4, 2}},
      {3, dwMon, -3, "26", "7", {5, 2}}, {6, dwMon, -4, "27", "7", {6, 2}},
      {9, dwMon, -5, "26", "6", {7, 2}}, {9, dwSun, 1, "1", "12", {1, 2}},
      {6, dwSun, -5, "26", "6", {7, 2}}, {1, dwSun, 0, "31", "10", {2, 2}},
      {1, dwTue, -5, "26", "5", {7, 2}}, {3, dwWed, -1, "28", "9", {3, 2}},
  };
  for (const auto& c : cases) {
    const TCalPage p = MakeCalPage(2024, c.Month, 1, c.First);
    SCOPED_TRACE(testing::Message() << "month " << c.Month << " first " << int(c.First));
    EXPECT_EQ(p.Offset, c.Offset);
    EXPECT_EQ(std::to_string(p.ShownDay(p.DayNumber(1, 2))), c.FirstCell);
    EXPECT_EQ(std::to_string(p.ShownDay(p.DayNumber(7, 7))), c.LastCell);
    EXPECT_EQ(p.CellOfDay(1), c.Day1);
    EXPECT_EQ(p.DayNumber(c.Day1.X, c.Day1.Y), 1);
    // Column weekdays follow the first day of the week, and day 1 sits under its weekday.
    EXPECT_EQ(p.ColumnWeekday(1), c.First);
    EXPECT_EQ(static_cast<int>(p.ColumnWeekday(c.Day1.X)) + 1,
              DayOfTheWeek(EncodeDate(2024, c.Month, 1)));
  }
}

TEST(MiniCalPage, EveryDayOfTheMonthIsInTheCellThatShowsIt) {
  for (int first = 0; first < 7; ++first)
    for (int m = 1; m <= 12; ++m) {
      const TCalPage p = MakeCalPage(2023, m, 1, static_cast<TDayOfWeek>(first));
      for (int d = 1; d <= p.DaysInMonth; ++d) {
        const TGridCoord c = p.CellOfDay(d);
        ASSERT_GE(c.X, 1);
        ASSERT_LE(c.X, 7);
        ASSERT_GE(c.Y, 2);
        ASSERT_LE(c.Y, 7);
        ASSERT_EQ(p.DayNumber(c.X, c.Y), d);
        ASSERT_EQ(static_cast<int>(p.ColumnWeekday(c.X)) + 1, DayOfTheWeek(EncodeDate(2023, m, d)));
      }
    }
}

TEST(MiniCalPage, IsoWeekNumbersAcrossYearEnds) {
  struct {
    int Year, Month, Row, Week;
  } cases[] = {
      {2021, 1, 2, 53},  // 1 January 2021, a Friday, belongs to 2020's last week
      {2021, 1, 3, 1},   {2020, 12, 6, 53}, {2024, 12, 6, 52}, {2024, 12, 7, 1},  // 5 Jan 2025
      {2026, 1, 2, 1},   {2027, 1, 2, 53},  {2016, 1, 2, 53},  {2015, 12, 6, 53},
      {2018, 12, 6, 52}, {2018, 12, 7, 1},
  };
  // Rows are the week of day 1 + 7 (row - 2), whatever the first weekday.
  for (const auto& c : cases) {
    const TCalPage p = MakeCalPage(c.Year, c.Month, 1, dwSun);
    EXPECT_EQ(p.WeekNumber(c.Row), c.Week) << c.Year << "-" << c.Month << " row " << c.Row;
  }
  // The last page of the last year reaches past what the runtime encodes.
  EXPECT_EQ(MakeCalPage(9999, 12, 1, dwMon).WeekNumber(7), 1);
  // Against the runtime's own week numbers for every row of two centuries of pages.
  for (int y = 1950; y <= 2150; ++y)
    for (int m = 1; m <= 12; ++m) {
      const TCalPage p = MakeCalPage(y, m, 1, dwWed);
      for (int r = 2; r <= 7; ++r)
        ASSERT_EQ(p.WeekNumber(r), WeekOfTheYear(EncodeDate(y, m, 1) + 7 * (r - 2)))
            << y << "-" << m << " row " << r;
    }
}

TEST(MiniCalPage, ClicksOnDayNumbersWithAndWithoutAutoSwitch) {
  struct {
    int Year, Month, N;
    bool Auto;
    bool Selects;
    int Y, M, D;
  } cases[] = {
      {2024, 3, 15, true, true, 2024, 3, 15},  {2024, 3, 15, false, true, 2024, 3, 15},
      {2024, 3, 0, true, true, 2024, 2, 29},   {2024, 3, -3, true, true, 2024, 2, 26},
      {2024, 3, 0, false, false, 0, 0, 0},     {2024, 3, 32, true, true, 2024, 4, 1},
      {2024, 3, 38, true, true, 2024, 4, 7},   {2024, 3, 32, false, false, 0, 0, 0},
      {2024, 1, 0, true, true, 2023, 12, 31},  {2024, 1, -5, true, true, 2023, 12, 26},
      {2024, 12, 33, true, true, 2025, 1, 2},  {2023, 2, 29, true, true, 2023, 3, 1},
      {2024, 2, 29, false, true, 2024, 2, 29},
  };
  for (const auto& c : cases) {
    const TCalPage p = MakeCalPage(c.Year, c.Month, 1, dwMon);
    int y = 0, m = 0, d = 0;
    EXPECT_EQ(ResolveDayClick(p, c.N, c.Auto, y, m, d), c.Selects)
        << c.Year << "-" << c.Month << " N " << c.N;
    if (c.Selects) {
      EXPECT_EQ(y, c.Y);
      EXPECT_EQ(m, c.M);
      EXPECT_EQ(d, c.D);
    }
  }
}

}  // namespace
}  // namespace qel

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/DateTime.h"

namespace qel {
namespace {

TEST(DateTime, EpochAndKnownSerials) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), MinDateTime);
  EXPECT_EQ(EncodeDate(9999, 12, 31), std::trunc(MaxDateTime));
  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 6, 0, 0, 0), 36526.25);
}

TEST(DateTime, LeapYearsAndMonthLengths) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2021, 4), 30);
  EXPECT_EQ(DaysInMonth(EncodeDate(2024, 2, 10)), 29);
  EXPECT_THROW(DaysInMonth(2021, 13), EConvertError);
}

TEST(DateTime, InvalidDatesAndTimesRaise) {
  TDateTime v = 42;
  for (auto [y, m, d] : {std::tuple{1900, 2, 29},
                         {2021, 2, 29},
                         {2021, 0, 1},
                         {2021, 13, 1},
                         {2021, 1, 0},
                         {2021, 4, 31},
                         {0, 1, 1},
                         {10000, 1, 1}}) {
    EXPECT_THROW(EncodeDate(y, m, d), EConvertError) << y << "-" << m << "-" << d;
    EXPECT_FALSE(TryEncodeDate(y, m, d, v));
  }
  EXPECT_EQ(v, 42);  // a failed encode leaves the value alone
  try {
    EncodeDate(2021, 2, 29);
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Invalid argument to date encode");
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL() << "hour 24 accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Invalid argument to time encode");
  }
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
  EXPECT_NO_THROW(EncodeTime(23, 59, 59, 999));
}

TEST(DateTime, EncodeDecodeRoundTrip) {
  auto check = [](TDateTime serial) {
    int y, m, d;
    DecodeDate(serial, y, m, d);
    ASSERT_EQ(EncodeDate(y, m, d), serial) << y << "-" << m << "-" << d;
  };
  for (int s = -30000; s < 80000; ++s) check(s);  // 1817..2119 day by day
  for (int s = static_cast<int>(MinDateTime); s <= MaxDateTime; s += 97) check(s);
  check(MinDateTime);
  check(std::trunc(MaxDateTime));
}

TEST(DateTime, NegativeValuesKeepTheTimeOfDay) {
  int y, m, d, h, n, s, ms;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ(std::tuple(y, m, d, h, n), std::tuple(1899, 12, 29, 6, 0));
  DecodeDateTime(-0.75, y, m, d, h, n, s, ms);
  EXPECT_EQ(std::tuple(y, m, d, h, n), std::tuple(1899, 12, 30, 18, 0));
  EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

TEST(DateTime, TimeRoundingNeverGivesHour24) {
  int y, m, d, h, n, s, ms;
  DecodeDateTime(EncodeDate(2021, 12, 31) + 0.999999999, y, m, d, h, n, s, ms);
  EXPECT_EQ(std::tuple(y, m, d, h, n, s, ms), std::tuple(2022, 1, 1, 0, 0, 0, 0));
  DecodeTime(EncodeTime(10, 20, 30, 456), h, n, s, ms);
  EXPECT_EQ(std::tuple(h, n, s, ms), std::tuple(10, 20, 30, 456));
}

TEST(DateTime, OutOfRangeDecodesAsZero) {
  int y = 1, m = 1, d = 1, h = 1, n = 1, s = 1, ms = 1;
  for (double v : {std::numeric_limits<double>::quiet_NaN(), 1e10, -1e10,
                   std::numeric_limits<double>::infinity()}) {
    DecodeDateTime(v, y, m, d, h, n, s, ms);
    EXPECT_EQ(std::tuple(y, m, d, h, n, s, ms), std::tuple(0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(DayOfWeek(v), 0);
    EXPECT_EQ(WeekOfTheYear(v), 0);
    EXPECT_NO_THROW(FormatDateTime("c dddd mmmm", v));
  }
}

TEST(DateTime, DayOfWeekAndIsoWeeksAtYearBoundaries) {
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);  // Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);  // Sunday, a negative serial
  EXPECT_EQ(DayOfWeek(EncodeDate(2021, 1, 4)), 2);    // Monday
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2021, 1, 3)), 7);
  EXPECT_EQ(DayOfTheWeek(EncodeDate(2021, 1, 4)), 1);
  struct Case {
    int Y, M, D, Week, WeekYear;
  };
  for (Case c :
       {Case{2020, 12, 31, 53, 2020}, Case{2021, 1, 3, 53, 2020}, Case{2021, 1, 4, 1, 2021},
        Case{2019, 12, 30, 1, 2020}, Case{2016, 1, 1, 53, 2015}, Case{2018, 12, 31, 1, 2019},
        Case{2021, 6, 15, 24, 2021}, Case{1, 1, 1, 1, 1}, Case{9999, 12, 31, 52, 9999}}) {
    int year = 0;
    EXPECT_EQ(WeekOfTheYear(EncodeDate(c.Y, c.M, c.D), year), c.Week) << c.Y << "-" << c.M;
    EXPECT_EQ(year, c.WeekYear) << c.Y << "-" << c.M << "-" << c.D;
  }
  EXPECT_EQ(ISOWeekNumber(EncodeDate(2021, 1, 4) + 0.9), 1);
}

TFormatSettings Slashes() {
  TFormatSettings s;
  s.DateSeparator = '/';
  s.ShortDateFormat = "d/m/yyyy";
  return s;
}

TEST(FormatDateTime, Tokens) {
  const TDateTime v = EncodeDateTime(2021, 1, 4, 13, 5, 9, 7);
  const TFormatSettings def;
  auto f = [&](const char* fmt) { return FormatDateTime(fmt, v, def); };
  EXPECT_EQ(f("d/m/yy"), "4-1-21");
  EXPECT_EQ(FormatDateTime("d/m/yy", v, Slashes()), "4/1/21");
  EXPECT_EQ(f("dd.mm.yyyy"), "04.01.2021");
  EXPECT_EQ(f("ddd dddd mmm mmmm"), "Mon Monday Jan January");
  EXPECT_EQ(f("h:m:s.z"), "13:5:9.7");  // m right after h is the minute
  EXPECT_EQ(f("hh:mm:ss.zzz"), "13:05:09.007");
  EXPECT_EQ(f("hh 'at' mm"), "13 at 05");
  EXPECT_EQ(f("hh nn mm"), "13 05 01");  // after n it is the month again
  EXPECT_EQ(f("mm"), "01");
  EXPECT_EQ(f("hh:nn am/pm"), "01:05 pm");
  EXPECT_EQ(f("h:nn AM/PM"), "1:05 PM");
  EXPECT_EQ(f("h a/p"), "1 p");
  EXPECT_EQ(f("h ampm"), "1 PM");
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0), def), "12 am");
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(12, 30, 0, 0), def), "12 pm");
  EXPECT_EQ(f("'d' \"mm\" d"), "d mm 4");
  EXPECT_EQ(f("'open"), "open");
  EXPECT_EQ(f("c"), "2021-01-04 13:05:09");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2021, 1, 4), def), "2021-01-04");
  EXPECT_EQ(f("ddddd"), "2021-01-04");
  EXPECT_EQ(f("dddddd"), "Monday, 4 January 2021");
  EXPECT_EQ(f("t|tt"), "13:05|13:05:09");
  EXPECT_EQ(f("yy yyy"), "21 2021");
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", EncodeDate(5, 3, 7), def), "07-03-0005");
  TFormatSettings loop;
  loop.ShortDateFormat = "c";  // formats naming each other must not recurse forever
  EXPECT_NO_THROW(FormatDateTime("c", v, loop));
}

TEST(FormatDateTime, DefaultSettingsAndShortcuts) {
  const TDateTime v = EncodeDateTime(1999, 12, 31, 23, 59, 58, 0);
  EXPECT_EQ(DateToStr(v), "1999-12-31");
  EXPECT_EQ(TimeToStr(v), "23:59:58");
  EXPECT_EQ(DateTimeToStr(v), "1999-12-31 23:59:58");
  TFormatSettings saved = GetFormatSettings();
  SetFormatSettings(Slashes());
  EXPECT_EQ(DateToStr(v), "31/12/1999");
  SetFormatSettings(saved);
}

// The year a two-digit text stands for: the one in the hundred years starting 50 years back.
int WindowYear(int twoDigits) {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  int base = y - 50;
  int r = base - base % 100 + twoDigits;
  return r < base ? r + 100 : r;
}

TEST(StrToDate, OrderSeparatorsAndCenturyWindow) {
  TDateTime v = 0;
  EXPECT_EQ(StrToDate("2021-01-04"), EncodeDate(2021, 1, 4));
  EXPECT_EQ(StrToDate(" 2021 - 1 - 4 "), EncodeDate(2021, 1, 4));
  EXPECT_EQ(StrToDate("0005-03-07"), EncodeDate(5, 3, 7));  // four digits: no window
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  EXPECT_EQ(StrToDate("01-04"), EncodeDate(y, 1, 4));
  TFormatSettings dmy = Slashes();
  dmy.DateSeparator = '.';
  ASSERT_TRUE(TryStrToDate("4.1.2021", v, dmy));
  EXPECT_EQ(v, EncodeDate(2021, 1, 4));
  for (int yy : {0, 21, 70, 80, 99}) {
    ASSERT_TRUE(TryStrToDate("1.2." + std::to_string(yy), v, dmy));
    EXPECT_EQ(v, EncodeDate(WindowYear(yy), 2, 1)) << yy;
  }
  TFormatSettings mdy = dmy;
  mdy.ShortDateFormat = "mm/dd/yyyy";
  ASSERT_TRUE(TryStrToDate("1.4.2021", v, mdy));
  EXPECT_EQ(v, EncodeDate(2021, 1, 4));
  try {
    StrToDate("2021-02-29");
    FAIL() << "accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'2021-02-29' is not a valid date");
  }
  v = 7;
  for (const char* bad : {"", "-", "2021", "2021--01-04", "99999-1-1", "2021-01-04x", "2021-1-4-5",
                          "2021/01/04", "2021-01-04 12:00", "a-b-c"})
    EXPECT_FALSE(TryStrToDate(bad, v)) << bad;
  EXPECT_EQ(v, 7);
}

TEST(StrToDate, TimesAndDateTimes) {
  EXPECT_DOUBLE_EQ(StrToDateTime("2021-01-04 13:05:09"), EncodeDateTime(2021, 1, 4, 13, 5, 9, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("2021-01-04 1:05 PM"), EncodeDateTime(2021, 1, 4, 13, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("2021-01-04"), EncodeDate(2021, 1, 4));
  EXPECT_DOUBLE_EQ(StrToDateTime("13:05"), EncodeTime(13, 5, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("1899-12-29 06:00"), -1.25);
  EXPECT_DOUBLE_EQ(StrToTime("13:05:09.5"), EncodeTime(13, 5, 9, 500));
  EXPECT_DOUBLE_EQ(StrToTime("12 AM"), 0.0);
  EXPECT_DOUBLE_EQ(StrToTime("12 pm"), 0.5);
  EXPECT_DOUBLE_EQ(StrToTime("7:30 a"), EncodeTime(7, 30, 0, 0));
  TDateTime v = 3;
  for (const char* bad : {"13 PM", "0 AM", "7", "7:60", "24:00", "7:30:15.1234", "7:", ""})
    EXPECT_FALSE(TryStrToTime(bad, v)) << bad;
  EXPECT_EQ(v, 3);
  try {
    StrToDateTime("2021-01-04 25:00");
    FAIL() << "accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'2021-01-04 25:00' is not a valid date and time");
  }
  EXPECT_THROW(StrToTime("x"), EConvertError);
}

TEST(DateTime, NowIsConsistent) {
  TDateTime before = Now();
  TDateTime d = Date(), t = Time();
  TDateTime after = Now();
  EXPECT_EQ(d, std::trunc(d));
  EXPECT_GE(t, 0.0);
  EXPECT_LT(t, 1.0);
  EXPECT_LE(before, after);
  EXPECT_GT(before, EncodeDate(2000, 1, 1));
}

}  // namespace
}  // namespace qel

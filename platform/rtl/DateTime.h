#pragma once
// Dates and times as the classic runtime keeps them: a TDateTime is a double counting days since
// 30 December 1899, its fraction the time of day. Days before that are negative, and there the
// fraction still is the time of day: -1.25 is 29 December 1899, 06:00. Valid years are 1..9999.
#include <array>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace qel {

using TDateTime = double;

// Days from 1 January 0001 (day 1) to 30 December 1899 (TDateTime 0).
constexpr int DateDelta = 693594;
constexpr int MSecsPerDay = 86400000;
constexpr TDateTime MinDateTime = -693593.0;         // 0001-01-01
constexpr TDateTime MaxDateTime = 2958465.99999999;  // 9999-12-31 23:59:59.999

// Names, separators and formats used by FormatDateTime and the date parsers. The defaults are
// English names and an ISO-style short date ("yyyy/mm/dd" with "-" as DateSeparator gives
// "2021-01-04"); "/" and ":" in a format stand for DateSeparator and TimeSeparator.
struct TFormatSettings {
  char DateSeparator = '-';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "yyyy/mm/dd";
  std::string LongDateFormat = "dddd, d mmmm yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
  std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames{"January",   "February", "March",    "April",
                                             "May",       "June",     "July",     "August",
                                             "September", "October",  "November", "December"};
  // Index 0 is Sunday, as DayOfWeek counts.
  std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
  // A year of one or two digits read by StrToDate is put into the century that makes it no
  // more than this many years before the current year (0: always the current century).
  int TwoDigitYearCenturyWindow = 50;
};

// The process-wide settings used by the overloads without a settings argument. Set them on the
// user-interface thread at start-up; reading returns a copy.
TFormatSettings GetFormatSettings();
void SetFormatSettings(const TFormatSettings& Settings);

bool IsLeapYear(int Year);
// Days of a month; EConvertError for a month outside 1..12.
int DaysInMonth(int Year, int Month);
int DaysInMonth(TDateTime Value);

// Raise EConvertError ("Invalid argument to date encode" / "... time encode") for a date or
// time that does not exist: 29 February of a common year, month or day 0, hour 24, ...
TDateTime EncodeDate(int Year, int Month, int Day);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value);
// Joins a date (whole days) and a time of day so that the fraction is the time whatever the sign.
TDateTime ComposeDateTime(TDateTime DatePart, TDateTime TimePart);

// The time is rounded to the millisecond; a time that rounds up to 24:00 is 00:00 of the next
// day. A value outside 0001-01-01..9999-12-31 (or NaN) decodes as the date 0-0-0 and time 0.
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec);
void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec,
                    int& MSec);

TDateTime Now();
TDateTime Date();
TDateTime Time();

// 1 = Sunday ... 7 = Saturday, as the classic runtime counts.
int DayOfWeek(TDateTime Value);
// ISO 8601: 1 = Monday ... 7 = Sunday.
int DayOfTheWeek(TDateTime Value);
// ISO 8601 week number (1..53); weeks start on Monday and week 1 holds the year's first
// Thursday, so early January may belong to the previous year's last week. Year receives the
// year the week belongs to.
int WeekOfTheYear(TDateTime Value);
int WeekOfTheYear(TDateTime Value, int& Year);
inline int ISOWeekNumber(TDateTime Value) { return WeekOfTheYear(Value); }

// Tokens: d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm mmmm (minutes when right
// after an h or hh token), yy yyyy, h hh (12-hour when the format holds am/pm, a/p or ampm),
// n nn, s ss, z zzz, t (short time) tt (long time), c (short date, and the long time unless it is
// midnight), am/pm and a/p (written in the case given), ampm (TimeAMString/TimePMString),
// / and : (the separators), "..." and '...' literals. Other characters are copied.
std::string FormatDateTime(const std::string& Format, TDateTime Value);
std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings);
std::string DateToStr(TDateTime Value);
std::string TimeToStr(TDateTime Value);
std::string DateTimeToStr(TDateTime Value);

// Dates are numbers separated by DateSeparator in the order of ShortDateFormat (day, month,
// year by its first letter); two numbers mean the current year. Times are h:n[:s[.z]] with an
// optional AM/PM. Leading and trailing blanks are allowed. The Str functions raise
// EConvertError ("'<text>' is not a valid date" / "... time" / "... date and time").
TDateTime StrToDate(const std::string& S);
TDateTime StrToTime(const std::string& S);
TDateTime StrToDateTime(const std::string& S);
bool TryStrToDate(const std::string& S, TDateTime& Value);
bool TryStrToTime(const std::string& S, TDateTime& Value);
bool TryStrToDateTime(const std::string& S, TDateTime& Value);
bool TryStrToDate(const std::string& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings);
bool TryStrToDateTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings);

}  // namespace qel

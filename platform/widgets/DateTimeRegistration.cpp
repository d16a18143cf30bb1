// Published properties of the date-time picker and the month calendar; dates in form files are
// ISO texts.
#include <cstdio>
#include <string>

#include "platform/controls/Properties.h"
#include "platform/rtl/DateTime.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace {
// Dates in form files are ISO texts ("2024-05-17", times "13:45:00"); an empty text is 0.
TFormatSettings FileSettings() {
  TFormatSettings s;
  s.DateSeparator = '-';
  s.TimeSeparator = ':';
  return s;
}

std::string DateText(TDateTime V) {
  return V == 0 ? std::string() : FormatDateTime("yyyy/mm/dd", V, FileSettings());
}

TDateTime DateFromText(const std::string& S) {
  if (S.empty()) return 0;
  int y = 0, m = 0, d = 0;
  char a = 0, b = 0;
  TDateTime v = 0;
  if (std::sscanf(S.c_str(), "%d%c%d%c%d", &y, &a, &m, &b, &d) != 5 || a != '-' || b != '-' ||
      !TryEncodeDate(y, m, d, v))
    throw EConvertError("'" + S + "' is not a valid date");
  return v;
}

std::string TimeText(TDateTime V) { return FormatDateTime("hh:nn:ss", V, FileSettings()); }

TDateTime TimeFromText(const std::string& S) {
  int h = 0, m = 0, s = 0;
  char a = 0, b = 0;
  TDateTime v = 0;
  if (std::sscanf(S.c_str(), "%d%c%d%c%d", &h, &a, &m, &b, &s) != 5 || a != ':' || b != ':' ||
      !TryEncodeTime(h, m, s, 0, v))
    throw EConvertError("'" + S + "' is not a valid time");
  return v;
}
}  // namespace

void RegisterDateTimeClasses() {
  RegisterStdWidgetClasses();
  RegisterEnum<TCalDayOfWeek>(
      "TCalDayOfWeek", {"dowMonday", "dowTuesday", "dowWednesday", "dowThursday", "dowFriday",
                        "dowSaturday", "dowSunday", "dowLocaleDefault"});
  RegisterEnum<TDateTimeKind>("TDateTimeKind", {"dtkDate", "dtkTime"});
  RegisterEnum<TDTDateFormat>("TDTDateFormat", {"dfShort", "dfLong"});
  RegisterEnum<TDTDateMode>("TDTDateMode", {"dmComboBox", "dmUpDown"});

  // Limits come before the date they clamp.
  RegisterClass<TMonthCalendar>("TMonthCalendar", "TCustomControl")
      .Default("TabStop", true)
      .Default("ParentColor", false)
      .Prop("FirstDayOfWeek", &TMonthCalendar::GetFirstDayOfWeek,
            &TMonthCalendar::SetFirstDayOfWeek, dowMonday)
      .Prop(
          "MinDate", [](const TMonthCalendar* C) { return DateText(C->GetMinDate()); },
          [](TMonthCalendar* C, const std::string& S) { C->SetMinDate(DateFromText(S)); },
          std::string())
      .Prop(
          "MaxDate", [](const TMonthCalendar* C) { return DateText(C->GetMaxDate()); },
          [](TMonthCalendar* C, const std::string& S) { C->SetMaxDate(DateFromText(S)); },
          std::string())
      .PropNoDefault(
          "Date", [](const TMonthCalendar* C) { return DateText(C->GetDate()); },
          [](TMonthCalendar* C, const std::string& S) { C->SetDate(DateFromText(S)); })
      .Prop("ShowToday", &TMonthCalendar::GetShowToday, &TMonthCalendar::SetShowToday, true)
      .Prop("ShowTodayCircle", &TMonthCalendar::GetShowTodayCircle,
            &TMonthCalendar::SetShowTodayCircle, true)
      .Prop("WeekNumbers", &TMonthCalendar::GetWeekNumbers, &TMonthCalendar::SetWeekNumbers, false);

  RegisterClass<TDateTimePicker>("TDateTimePicker", "TCustomControl")
      .Default("TabStop", true)
      .Default("ParentColor", false)
      .Prop("Kind", &TDateTimePicker::GetKind, &TDateTimePicker::SetKind, dtkDate)
      .Prop("Format", &TDateTimePicker::GetFormat, &TDateTimePicker::SetFormat, std::string())
      .Prop("DateFormat", &TDateTimePicker::GetDateFormat, &TDateTimePicker::SetDateFormat, dfShort)
      .Prop("DateMode", &TDateTimePicker::GetDateMode, &TDateTimePicker::SetDateMode, dmComboBox)
      .Prop(
          "MinDate", [](const TDateTimePicker* P) { return DateText(P->GetMinDate()); },
          [](TDateTimePicker* P, const std::string& S) { P->SetMinDate(DateFromText(S)); },
          std::string())
      .Prop(
          "MaxDate", [](const TDateTimePicker* P) { return DateText(P->GetMaxDate()); },
          [](TDateTimePicker* P, const std::string& S) { P->SetMaxDate(DateFromText(S)); },
          std::string())
      .PropNoDefault(
          "Date", [](const TDateTimePicker* P) { return DateText(P->GetDate()); },
          [](TDateTimePicker* P, const std::string& S) { P->SetDate(DateFromText(S)); })
      .PropNoDefault(
          "Time", [](const TDateTimePicker* P) { return TimeText(P->GetTime()); },
          [](TDateTimePicker* P, const std::string& S) { P->SetTime(TimeFromText(S)); })
      .Prop("ShowCheckbox", &TDateTimePicker::GetShowCheckbox, &TDateTimePicker::SetShowCheckbox,
            false)
      .Prop("Checked", &TDateTimePicker::GetChecked, &TDateTimePicker::SetChecked, true);
}

}  // namespace qel

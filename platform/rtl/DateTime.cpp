#include "platform/rtl/DateTime.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

constexpr int64_t kMaxDays = 3652059;  // 9999-12-31 counted from 0001-01-01 as day 1
constexpr int kDaysBefore[2][13] = {{0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
                                    {0, 0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335}};
constexpr int kMonthDays[2][13] = {{0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                   {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

std::mutex gSettingsLock;
TFormatSettings& Settings() {
  static TFormatSettings settings;
  return settings;
}

// Days since 0001-01-01 (which is day 1) and milliseconds of the day.
struct TTimeStamp {
  int64_t Days = 0;
  int MSecs = 0;
  bool Valid = false;
};

TTimeStamp ToTimeStamp(TDateTime V) {
  TTimeStamp ts;
  if (!std::isfinite(V) || V < MinDateTime - 1 || V > MaxDateTime + 1) return ts;
  double whole = std::trunc(V);
  ts.Days = TruncToInt64(whole) + DateDelta;
  ts.MSecs = static_cast<int>(RoundToInt64(std::fabs(V - whole) * MSecsPerDay));
  if (ts.MSecs >= MSecsPerDay) {
    // 23:59:59.9996 shows as the next midnight, not as hour 24.
    ts.MSecs -= MSecsPerDay;
    ++ts.Days;
  }
  ts.Valid = ts.Days >= 1 && ts.Days <= kMaxDays;
  return ts;
}

int64_t DaysOf(int Year, int Month, int Day) {
  int64_t i = Year - 1;
  return i * 365 + i / 4 - i / 100 + i / 400 + kDaysBefore[IsLeapYear(Year)][Month] + Day;
}

bool ValidDate(int Year, int Month, int Day) {
  return Year >= 1 && Year <= 9999 && Month >= 1 && Month <= 12 && Day >= 1 &&
         Day <= kMonthDays[IsLeapYear(Year)][Month];
}

void DecodeDays(int64_t T, int& Year, int& Month, int& Day) {
  constexpr int64_t D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  --T;
  int64_t y = 1 + (T / D400) * 400;
  T %= D400;
  int64_t i = T / D100, d = T % D100;
  if (i == 4) {  // the last day of a 400-year cycle
    --i;
    d += D100;
  }
  y += i * 100;
  y += (d / D4) * 4;
  d %= D4;
  i = d / D1;
  d %= D1;
  if (i == 4) {  // the last day of a leap cycle
    --i;
    d += D1;
  }
  y += i;
  Year = static_cast<int>(y);
  const int leap = IsLeapYear(Year);
  Month = 1;
  while (Month < 12 && d >= kDaysBefore[leap][Month + 1]) ++Month;
  Day = static_cast<int>(d - kDaysBefore[leap][Month]) + 1;
}

std::string Pad(int V, int Width) {
  std::string s = std::to_string(V < 0 ? -V : V);
  if (static_cast<int>(s.size()) < Width) s.insert(0, static_cast<size_t>(Width) - s.size(), '0');
  return s;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool StartsNoCase(const std::string& S, size_t I, const char* Word) {
  for (size_t k = 0; Word[k]; ++k)
    if (I + k >= S.size() || Upper(S[I + k]) != Upper(Word[k])) return false;
  return true;
}

// True when the format asks for a 12-hour clock: an am/pm, a/p or ampm outside quotes.
bool Uses12HourClock(const std::string& F) {
  for (size_t i = 0; i < F.size(); ++i) {
    char c = F[i];
    if (c == '"' || c == '\'') {
      size_t close = F.find(c, i + 1);
      if (close == std::string::npos) return false;
      i = close;
    } else if (StartsNoCase(F, i, "am/pm") || StartsNoCase(F, i, "a/p") ||
               StartsNoCase(F, i, "ampm")) {
      return true;
    }
  }
  return false;
}

struct TParts {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0, DayOfWeek = 0;
};

void AppendFormat(std::string& Out, const std::string& F, const TParts& P, const TFormatSettings& S,
                  int Depth) {
  // Nested formats (c, ddddd, t...) may name each other; two levels are all that make sense.
  if (Depth > 2) return;
  const bool twelve = Uses12HourClock(F);
  char lastToken = 0;
  size_t i = 0;
  while (i < F.size()) {
    const char c = F[i];
    char token = Upper(c);
    size_t count = 1;
    if (token >= 'A' && token <= 'Z') {
      while (i + count < F.size() && Upper(F[i + count]) == token) ++count;
      if (token == 'M' && lastToken == 'H') token = 'N';
      lastToken = token;
    }
    switch (token) {
      case 'Y':
        Out += count <= 2 ? Pad(P.Year % 100, 2) : Pad(P.Year, 4);
        break;
      case 'M':
        if (P.Month < 1) {
          Out += Pad(P.Month, count >= 2 ? 2 : 1);
        } else if (count == 1) {
          Out += std::to_string(P.Month);
        } else if (count == 2) {
          Out += Pad(P.Month, 2);
        } else {
          Out += (count == 3 ? S.ShortMonthNames : S.LongMonthNames)[P.Month - 1];
        }
        break;
      case 'D':
        if (count <= 2) {
          Out += Pad(P.Day, static_cast<int>(count));
        } else if (count <= 4) {
          if (P.DayOfWeek >= 1)
            Out += (count == 3 ? S.ShortDayNames : S.LongDayNames)[P.DayOfWeek - 1];
        } else {
          AppendFormat(Out, count == 5 ? S.ShortDateFormat : S.LongDateFormat, P, S, Depth + 1);
        }
        break;
      case 'H': {
        int h = P.Hour;
        if (twelve) {
          h %= 12;
          if (h == 0) h = 12;
        }
        Out += Pad(h, count >= 2 ? 2 : 1);
        break;
      }
      case 'N':
        Out += Pad(P.Min, count >= 2 ? 2 : 1);
        break;
      case 'S':
        Out += Pad(P.Sec, count >= 2 ? 2 : 1);
        break;
      case 'Z':
        Out += Pad(P.MSec, count >= 2 ? 3 : 1);
        break;
      case 'T':
        AppendFormat(Out, count == 1 ? S.ShortTimeFormat : S.LongTimeFormat, P, S, Depth + 1);
        break;
      case 'C':
        AppendFormat(Out, S.ShortDateFormat, P, S, Depth + 1);
        if (P.Hour || P.Min || P.Sec || P.MSec) {
          Out += ' ';
          AppendFormat(Out, S.LongTimeFormat, P, S, Depth + 1);
        }
        break;
      case 'A':
        if (StartsNoCase(F, i, "am/pm")) {
          Out += F.substr(P.Hour >= 12 ? i + 3 : i, 2);  // in the case the format gives
          count = 5;
        } else if (StartsNoCase(F, i, "a/p")) {
          Out += F[P.Hour >= 12 ? i + 2 : i];
          count = 3;
        } else if (StartsNoCase(F, i, "ampm")) {
          Out += P.Hour >= 12 ? S.TimePMString : S.TimeAMString;
          count = 4;
        } else {
          Out.append(F, i, count);
        }
        break;
      case '/':
        Out += S.DateSeparator;
        break;
      case ':':
        Out += S.TimeSeparator;
        break;
      case '"':
      case '\'': {
        size_t close = F.find(c, i + 1);
        if (close == std::string::npos) close = F.size();
        Out.append(F, i + 1, close - i - 1);
        count = close < F.size() ? close - i + 1 : close - i;
        break;
      }
      default:
        Out.append(F, i, count);
        break;
    }
    i += count;
  }
}

// A small scanner over the text being parsed.
struct TScanner {
  const std::string& S;
  size_t Pos = 0;

  void SkipBlanks() {
    while (Pos < S.size() && (S[Pos] == ' ' || S[Pos] == '\t')) ++Pos;
  }
  bool AtEnd() {
    SkipBlanks();
    return Pos >= S.size();
  }
  // Up to MaxDigits decimal digits; more are refused so that no value can overflow.
  bool Number(int& Value, int& Digits, int MaxDigits) {
    SkipBlanks();
    Value = 0;
    Digits = 0;
    while (Pos < S.size() && S[Pos] >= '0' && S[Pos] <= '9') {
      if (++Digits > MaxDigits) return false;
      Value = Value * 10 + (S[Pos++] - '0');
    }
    return Digits > 0;
  }
  bool Char(char C) {
    SkipBlanks();
    if (Pos < S.size() && S[Pos] == C) {
      ++Pos;
      return true;
    }
    return false;
  }
  bool Word(const std::string& W) {
    if (W.empty() || !StartsNoCase(S, Pos, W.c_str())) return false;
    Pos += W.size();
    return true;
  }
};

int CurrentYear() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

bool ScanDate(TScanner& Sc, const TFormatSettings& S, TDateTime& Value) {
  // The order comes from the first of d, m, y in the short date format.
  char order = 'Y';
  for (char c : S.ShortDateFormat) {
    char u = Upper(c);
    if (u == 'D' || u == 'M' || u == 'Y') {
      order = u;
      break;
    }
  }
  int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  if (!Sc.Number(n[0], digits[0], 4) || !Sc.Char(S.DateSeparator) || !Sc.Number(n[1], digits[1], 4))
    return false;
  int count = 2;
  size_t save = Sc.Pos;
  if (Sc.Char(S.DateSeparator)) {
    if (!Sc.Number(n[2], digits[2], 4)) return false;
    count = 3;
  } else {
    Sc.Pos = save;
  }
  int y = 0, m = 0, d = 0, yearDigits = 4;
  if (count == 2) {
    y = CurrentYear();
    if (order == 'D') {
      d = n[0];
      m = n[1];
    } else {
      m = n[0];
      d = n[1];
    }
  } else if (order == 'D') {
    d = n[0], m = n[1], y = n[2], yearDigits = digits[2];
  } else if (order == 'M') {
    m = n[0], d = n[1], y = n[2], yearDigits = digits[2];
  } else {
    y = n[0], m = n[1], d = n[2], yearDigits = digits[0];
  }
  if (yearDigits <= 2) {
    // The window holds the years from base to base + 99.
    const int base = CurrentYear() - std::max(S.TwoDigitYearCenturyWindow, 0);
    y += base - base % 100;
    if (S.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
  }
  return TryEncodeDate(y, m, d, Value);
}

bool ScanTime(TScanner& Sc, const TFormatSettings& S, TDateTime& Value) {
  int h = 0, m = 0, s = 0, ms = 0, digits = 0;
  if (!Sc.Number(h, digits, 2)) return false;
  bool hasMinutes = false;
  if (Sc.Char(S.TimeSeparator)) {
    if (!Sc.Number(m, digits, 2)) return false;
    hasMinutes = true;
    if (Sc.Char(S.TimeSeparator)) {
      if (!Sc.Number(s, digits, 2)) return false;
      if (Sc.Char('.')) {
        if (!Sc.Number(ms, digits, 3)) return false;
        for (; digits < 3; ++digits) ms *= 10;  // ".5" is half a second
      }
    }
  }
  Sc.SkipBlanks();
  int half = -1;  // 0 = AM, 1 = PM
  if (Sc.Word(S.TimeAMString) || Sc.Word("AM") || Sc.Word("A"))
    half = 0;
  else if (Sc.Word(S.TimePMString) || Sc.Word("PM") || Sc.Word("P"))
    half = 1;
  if (half >= 0) {
    if (h < 1 || h > 12) return false;
    h = h % 12 + (half == 1 ? 12 : 0);
  } else if (!hasMinutes) {
    return false;  // a lone number is no time
  }
  return TryEncodeTime(h, m, s, ms, Value);
}

}  // namespace

TFormatSettings GetFormatSettings() {
  std::lock_guard<std::mutex> lock(gSettingsLock);
  return Settings();
}

void SetFormatSettings(const TFormatSettings& NewSettings) {
  std::lock_guard<std::mutex> lock(gSettingsLock);
  Settings() = NewSettings;
}

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysInMonth(int Year, int Month) {
  if (Month < 1 || Month > 12) throw EConvertError("Invalid month " + std::to_string(Month));
  return kMonthDays[IsLeapYear(Year)][Month];
}

int DaysInMonth(TDateTime Value) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  return m ? DaysInMonth(y, m) : 0;
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
  if (!ValidDate(Year, Month, Day)) return false;
  Value = static_cast<TDateTime>(DaysOf(Year, Month, Day) - DateDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime v = 0;
  if (!TryEncodeDate(Year, Month, Day, v)) throw EConvertError("Invalid argument to date encode");
  return v;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Value) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    return false;
  Value = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  TDateTime v = 0;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, v))
    throw EConvertError("Invalid argument to time encode");
  return v;
}

TDateTime ComposeDateTime(TDateTime DatePart, TDateTime TimePart) {
  return DatePart < 0 ? DatePart - std::fabs(TimePart) : DatePart + std::fabs(TimePart);
}

TDateTime EncodeDateTime(int Year, int Month, int Day, int Hour, int Min, int Sec, int MSec) {
  return ComposeDateTime(EncodeDate(Year, Month, Day), EncodeTime(Hour, Min, Sec, MSec));
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  TTimeStamp ts = ToTimeStamp(Value);
  if (!ts.Valid) {
    Year = Month = Day = 0;
    return;
  }
  DecodeDays(ts.Days, Year, Month, Day);
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  TTimeStamp ts = ToTimeStamp(Value);
  int t = ts.Valid ? ts.MSecs : 0;
  Hour = t / 3600000;
  Min = t / 60000 % 60;
  Sec = t / 1000 % 60;
  MSec = t % 1000;
}

void DecodeDateTime(TDateTime Value, int& Year, int& Month, int& Day, int& Hour, int& Min, int& Sec,
                    int& MSec) {
  DecodeDate(Value, Year, Month, Day);
  DecodeTime(Value, Hour, Min, Sec, MSec);
}

TDateTime Now() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local{};
  localtime_r(&ts.tv_sec, &local);
  int sec = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second stays in its minute
  return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, sec, static_cast<int>(ts.tv_nsec / 1000000));
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  TDateTime n = Now();
  return n - std::trunc(n);
}

int DayOfWeek(TDateTime Value) {
  TTimeStamp ts = ToTimeStamp(Value);
  return ts.Valid ? static_cast<int>(ts.Days % 7) + 1 : 0;
}

int DayOfTheWeek(TDateTime Value) {
  int d = DayOfWeek(Value);
  return d == 0 ? 0 : d == 1 ? 7 : d - 1;
}

int WeekOfTheYear(TDateTime Value, int& Year) {
  TTimeStamp ts = ToTimeStamp(Value);
  if (!ts.Valid) {
    Year = 0;
    return 0;
  }
  // The week belongs to the year that holds its Thursday (0001-01-01 was a Monday).
  const int64_t isoDay = (ts.Days - 1) % 7 + 1;
  const int64_t thursday = ts.Days - isoDay + 4;
  int m, d;
  DecodeDays(thursday, Year, m, d);
  return static_cast<int>((thursday - DaysOf(Year, 1, 1)) / 7 + 1);
}

int WeekOfTheYear(TDateTime Value) {
  int year;
  return WeekOfTheYear(Value, year);
}

std::string FormatDateTime(const std::string& Format, TDateTime Value,
                           const TFormatSettings& Settings) {
  TParts p;
  DecodeDateTime(Value, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
  p.DayOfWeek = DayOfWeek(Value);
  std::string out;
  AppendFormat(out, Format.empty() ? std::string("c") : Format, p, Settings, 0);
  return out;
}

std::string FormatDateTime(const std::string& Format, TDateTime Value) {
  return FormatDateTime(Format, Value, GetFormatSettings());
}

std::string DateToStr(TDateTime Value) { return FormatDateTime("ddddd", Value); }
std::string TimeToStr(TDateTime Value) { return FormatDateTime("tt", Value); }
std::string DateTimeToStr(TDateTime Value) { return FormatDateTime("c", Value); }

bool TryStrToDate(const std::string& S, TDateTime& Value, const TFormatSettings& Settings) {
  TScanner sc{S};
  TDateTime v = 0;
  if (!ScanDate(sc, Settings, v) || !sc.AtEnd()) return false;
  Value = v;
  return true;
}

bool TryStrToTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings) {
  TScanner sc{S};
  TDateTime v = 0;
  if (!ScanTime(sc, Settings, v) || !sc.AtEnd()) return false;
  Value = v;
  return true;
}

bool TryStrToDateTime(const std::string& S, TDateTime& Value, const TFormatSettings& Settings) {
  TScanner sc{S};
  TDateTime d = 0, t = 0;
  if (ScanDate(sc, Settings, d)) {
    if (sc.AtEnd()) {
      Value = d;
      return true;
    }
    if (ScanTime(sc, Settings, t) && sc.AtEnd()) {
      Value = ComposeDateTime(d, t);
      return true;
    }
    return false;
  }
  return TryStrToTime(S, Value, Settings);
}

bool TryStrToDate(const std::string& S, TDateTime& Value) {
  return TryStrToDate(S, Value, GetFormatSettings());
}
bool TryStrToTime(const std::string& S, TDateTime& Value) {
  return TryStrToTime(S, Value, GetFormatSettings());
}
bool TryStrToDateTime(const std::string& S, TDateTime& Value) {
  return TryStrToDateTime(S, Value, GetFormatSettings());
}

TDateTime StrToDate(const std::string& S) {
  TDateTime v = 0;
  if (!TryStrToDate(S, v)) throw EConvertError("'" + S + "' is not a valid date");
  return v;
}

TDateTime StrToTime(const std::string& S) {
  TDateTime v = 0;
  if (!TryStrToTime(S, v)) throw EConvertError("'" + S + "' is not a valid time");
  return v;
}

TDateTime StrToDateTime(const std::string& S) {
  TDateTime v = 0;
  if (!TryStrToDateTime(S, v)) throw EConvertError("'" + S + "' is not a valid date and time");
  return v;
}

}  // namespace qel

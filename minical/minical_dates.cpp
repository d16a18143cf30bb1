// The calendar's date arithmetic: Easter, month lengths, the holiday names per language and the
// month page (which day each cell shows, week numbers, what a click selects). No control here.
#include <cstdint>

#include "minical/QEL_MiniCal.h"

namespace qel {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date, for any year (the runtime's own encoding
// stops at 9999, and the last page of that year reaches into the next one).
int64_t DaysFromCivil(int64_t Y, int M, int D) {
  Y -= M <= 2;
  const int64_t era = (Y >= 0 ? Y : Y - 399) / 400;
  const int64_t yoe = Y - era * 400;
  const int64_t doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int64_t YearFromDays(int64_t Z) {
  Z += 719468;
  const int64_t era = (Z >= 0 ? Z : Z - 146096) / 146097;
  const int64_t doe = Z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  return yoe + era * 400 + (mp >= 10 ? 1 : 0);
}

// 1 = Monday ... 7 = Sunday; 1970-01-01 was a Thursday.
int IsoWeekday(int64_t Days) { return static_cast<int>(((Days + 3) % 7 + 7) % 7) + 1; }

// ISO 8601: the week holding the Thursday of Days' week, counted in that Thursday's year.
int IsoWeek(int64_t Days) {
  const int64_t thursday = Days - IsoWeekday(Days) + 4;
  const int64_t jan1 = DaysFromCivil(YearFromDays(thursday), 1, 1);
  return static_cast<int>((thursday - jan1) / 7) + 1;
}

// Holiday texts, languages 1..4 (English, German, French, Spanish).
constexpr const char* kDefaultNames[4][kDefaultHolidayCount] = {
    {"Christmas Day", "Boxing Day", "New Year's Day", "Epiphany", "Assumption of Mary",
     "All Saints", "Immaculate Conception", "Labor Day"},
    {"Weihnachten", "Stephanitag", "Neujahrstag", "Hl. Drei Könige", "Maria Himmelfahrt",
     "Allerheiligen", "Maria Empfängnis", "Tag der Arbeit"},
    {"Noël", "Jour de boxe", "Nouvel An Jour", "Épiphanie", "Assomption", "La Toussaint",
     "Immaculée Conception", "Fête du Travail"},
    {"Navidad", "Día de San Esteban", "Día de Año Nuevo", "Epifanía", "Asunción",
     "Día de Todos los Santos", "Inmaculada Concepción", "Día del Trabajo"},
};

constexpr const char* kFeastNames[4][kMovableFeastCount] = {
    {"Easter Day", "Easter Monday", "Ascension Day", "Pentecost", "Whit Monday", "Corpus Christi"},
    {"Ostersonntag", "Ostermontag", "Christi Himmelfahrt", "Pfingstsonntag", "Pfingstmontag",
     "Fronleichnam"},
    {"Le jour de Pâques", "Lundi de Pâques", "Ascension du Christ", "Dimanche de Pentecôte",
     "Lundi de Pentecôte", "Corpus Christi"},
    {"Domingo de Resurrección", "Lunes de Pascua", "Ascensión de Cristo", "Domingo de Pentecostés",
     "Lunes de Pentecostés", "Corpus Cristi"},
};

}  // namespace

const std::array<TDayMonth, kDefaultHolidayCount> DefaultHolidayDates = {
    {{25, 12}, {26, 12}, {1, 1}, {6, 1}, {15, 8}, {1, 11}, {8, 12}, {1, 5}}};

const std::array<int, kMovableFeastCount> MovableFeastOffsets = {0, 1, 39, 49, 50, 60};

void CalcEasterSunday(int Year, int& Day, int& Month) {
  // 64-bit throughout, so that no year can overflow the sums below.
  const int64_t y = Year;
  const int64_t k = y / 100;
  const int64_t m = 15 + (3 * k + 3) / 4 - (8 * k + 13) / 25;
  const int64_t s = 2 - (3 * k + 3) / 4;
  const int64_t a = y % 19;
  const int64_t d = (19 * a + m) % 30;
  const int64_t r = (a / 11 + d) / 29;
  const int64_t og = 21 + d - r;  // paschal full moon, as a day of March
  const int64_t sz = 7 - (y + y / 4 + s) % 7;
  const int64_t oe = 7 - (og - sz) % 7;
  const int64_t os = og + oe;  // Easter Sunday as a day of March
  Month = os > 31 ? 4 : 3;
  Day = static_cast<int>(os > 31 ? os - 31 : os);
}

int CalDaysInMonth(int Year, int Month) {
  static constexpr int kDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Month < 1 || Month > 12) return 0;
  return kDays[Month] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

int CalLanguageIndex(TLanguage Language) {
  const int l = static_cast<int>(Language);
  return l >= 1 && l <= 4 ? l : 1;
}

const char* DefaultHolidayName(TLanguage Language, int Index) {
  if (Index < 0 || Index >= kDefaultHolidayCount) return "";
  return kDefaultNames[CalLanguageIndex(Language) - 1][Index];
}

const char* MovableFeastName(TLanguage Language, int Index) {
  if (Index < 0 || Index >= kMovableFeastCount) return "";
  return kFeastNames[CalLanguageIndex(Language) - 1][Index];
}

int MovableFeastAt(int Year, int Month, int Day) {
  if (Month < 3 || Month > 6) return -1;
  int ed = 0, em = 0;
  CalcEasterSunday(Year, ed, em);
  // Both dates as day numbers counted from 1 March.
  const int easter = em == 3 ? ed : ed + 31;
  static constexpr int kMonthStart[7] = {0, 0, 0, 0, 31, 61, 92};
  const int asked = Day + kMonthStart[Month];
  for (int i = 0; i < kMovableFeastCount; ++i)
    if (asked == easter + MovableFeastOffsets[i]) return i;
  return -1;
}

// ---------------------------------------------------------------- page model

int TCalPage::ShownDay(int N) const {
  if (N <= 0) return (Month == 1 ? 31 : CalDaysInMonth(Year, Month - 1)) + N;
  if (N > DaysInMonth) return N - DaysInMonth;
  return N;
}

TGridCoord TCalPage::CellOfDay(int D) const {
  const int k = D - Offset;  // cells from (1, 2), row by row
  return {k % 7 + 1, k / 7 + 2};
}

TDayOfWeek TCalPage::ColumnWeekday(int Col) const {
  return static_cast<TDayOfWeek>(((Col - 1 + FirstDayOfWeek) % 7 + 7) % 7);
}

int TCalPage::WeekNumber(int Row) const {
  return IsoWeek(DaysFromCivil(Year, Month, 1) + 7 * (Row - 2));
}

TCalPage MakeCalPage(int Year, int Month, int Day, TDayOfWeek First) {
  TCalPage p;
  p.Year = Year;
  p.Month = Month;
  p.Day = Day;
  p.FirstDayOfWeek = First;
  p.DaysInMonth = CalDaysInMonth(Year, Month);
  // r is the column of day 1 (0 standing for column 7), so day 1 always lies in row 2.
  const int w = IsoWeekday(DaysFromCivil(Year, Month, 1));
  const int r = (w - static_cast<int>(First) + 7) % 7;
  p.Offset = r == 0 ? -5 : 2 - r;
  return p;
}

bool ResolveDayClick(const TCalPage& Page, int N, bool AutoSwitch, int& Year, int& Month,
                     int& Day) {
  int y = Page.Year, m = Page.Month;
  if (AutoSwitch) {
    if (N < 1) {
      if (m == 1) {
        m = 12;
        --y;
        N += 31;
      } else {
        --m;
        N += CalDaysInMonth(y, m);
      }
    }
    if (N > CalDaysInMonth(y, m)) {
      N -= Page.DaysInMonth;
      if (++m > 12) {
        m = 1;
        ++y;
      }
    }
  }
  if (N < 1 || N > CalDaysInMonth(y, m)) return false;
  Year = y;
  Month = m;
  Day = N;
  return true;
}

}  // namespace qel

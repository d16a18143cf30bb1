#pragma once
// TMiniCal: a month calendar in an 8 x 8 grid. Row 0 holds the title with the buttons that step
// years and months, row 1 the weekday names, column 0 the ISO week numbers; the 42 day cells show
// the month with the ends of its neighbours. Holidays come from a list (eight yearly ones per
// language by default, more added by the host) and from the feasts tied to Easter.
//
// Where the code lives: minical_dates.cpp (Easter, month lengths, holiday names, the page model:
// pure date arithmetic, no control), QEL_MiniCal.cpp (date state, setters, stepping, holiday
// list, mouse, keys, resizing), minical_paint.cpp (the cells and the button frames),
// minical_register.cpp (published properties). docs/minical.md describes it all.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/QEL_matrix.h"
#include "frame/QEL_qelbase.h"
#include "platform/grids/Grids.h"
#include "platform/rtl/DateTime.h"

namespace qel {

enum TDayOfWeek : uint8_t { dwMon, dwTue, dwWed, dwThu, dwFri, dwSat, dwSun };

// ---------------------------------------------------------------- pure date logic

// Easter Sunday of the Gregorian calendar (Gauss's rule). Day and Month receive 22 March to
// 25 April for every year from 0 on; earlier years give a date of no meaning, never a fault.
void CalcEasterSunday(int Year, int& Day, int& Month);

// Gregorian length of a month; 0 for a month outside 1..12.
int CalDaysInMonth(int Year, int Month);

// The name tables hold languages 1..4 (English, German, French, Spanish); any other ordinal
// reads the English names.
int CalLanguageIndex(TLanguage Language);

// The eight yearly holidays loaded by default, in list order, and their names.
inline constexpr int kDefaultHolidayCount = 8;
struct TDayMonth {
  int Day;
  int Month;
};
extern const std::array<TDayMonth, kDefaultHolidayCount> DefaultHolidayDates;
const char* DefaultHolidayName(TLanguage Language, int Index);  // Index 0..7

// The feasts that move with Easter, by their distance in days from Easter Sunday, in the order
// they are tested.
inline constexpr int kMovableFeastCount = 6;
extern const std::array<int, kMovableFeastCount> MovableFeastOffsets;
const char* MovableFeastName(TLanguage Language, int Index);  // Index 0..5
// The index of the feast falling on the date, or -1. Only March to June can hold one.
int MovableFeastAt(int Year, int Month, int Day);

// The year-repeating marker of the holiday list's year column.
inline constexpr int kRepeatYear = -99999;

// One month page: which day each grid cell stands for. Day cells are columns 1..7 and rows 2..7;
// cell (c, r) stands for day number c + Offset - 1 + 7 (r - 2) of the month, which may lie
// before day 1 or after the last day (a day of a neighbouring month).
struct TCalPage {
  int Year = 1;
  int Month = 1;
  int Day = 1;
  TDayOfWeek FirstDayOfWeek = dwMon;
  int Offset = 1;  // -5..1: the day number of cell (1, 2)
  int DaysInMonth = 31;

  int DayNumber(int Col, int Row) const { return Col + Offset - 1 + 7 * (Row - 2); }
  bool IsActive(int N) const { return N >= 1 && N <= DaysInMonth; }
  // The day of its own month that day number N shows (January's previous month counts 31).
  int ShownDay(int N) const;
  // The cell that shows day D of the month.
  TGridCoord CellOfDay(int D) const;
  // The weekday shown in column Col (1..7).
  TDayOfWeek ColumnWeekday(int Col) const;
  // The ISO 8601 week number of row Row (2..7): the week of day 1 + 7 (Row - 2).
  int WeekNumber(int Row) const;
};
// The page of the month of Year-Month-Day (a valid date) with the week starting on First.
TCalPage MakeCalPage(int Year, int Month, int Day, TDayOfWeek First);

// What a click on day number N of the page selects. With AutoSwitch a day of a neighbouring
// month selects it there; without, only the page's own days count. False when the click selects
// nothing.
bool ResolveDayClick(const TCalPage& Page, int N, bool AutoSwitch, int& Year, int& Month, int& Day);

// ---------------------------------------------------------------- TMiniCal

class TMiniCal : public TCustomDrawGrid {
 public:
  explicit TMiniCal(TComponent* AOwner);
  ~TMiniCal() override;
  std::string ClassName() const override { return "TMiniCal"; }
  void Assign(const TPersistent* Source) override;

  // The date, with the time of day it was given (setting a part drops the time).
  TDateTime GetDate() const { return FDate; }
  // Stores the value as it is; NaN and values outside years 1..9999 are ignored.
  void SetDate(TDateTime Value);
  int GetDay() const;
  int GetMonth() const;
  int GetYear() const;
  // Each re-encodes the date from its parts; a part outside its range is ignored (the year
  // below 0, the month outside 0..12, the day outside 0..length of the month), and a combination
  // that is no date (29 February of a common year, month 0, day 0) raises EConvertError and
  // keeps the date.
  void SetDay(int Value);
  void SetMonth(int Value);
  void SetYear(int Value);

  void NextMonth() { MonthStep(1); }
  void PrevMonth() { MonthStep(-1); }
  void NextYear();
  void PrevYear();
  void LastDayOfMonth();
  // Moves by Delta months, keeping the day where the target month has it and taking the
  // target's last day otherwise. Delta 0 keeps the date and drops the time.
  void MonthStep(int Delta);

  TDayOfWeek GetFirstDayOfWeek() const { return FFirstDayOfWeek; }
  void Set1stDayWeek(TDayOfWeek Value);
  TLanguage GetLanguage() const { return FLanguage; }
  // Reloads the default holidays of the language: holidays added by the host are dropped.
  void SetLanguage(TLanguage Value);

  bool GetAutoSwitch() const { return FAutoSwitch; }
  void SetAutoSwitch(bool Value) { FAutoSwitch = Value; }
  bool GetIndicateHolidays() const { return FIndicateHolidays; }
  void SetIndicateHolidays(bool Value);
  bool GetShowHolidayHint() const { return FShowHolidayHint; }
  void SetFShowHDayHint(bool Value);
  bool GetShowMovableHolidays() const { return FShowMovableHolidays; }
  void SetShowMovHDays(bool Value);
  bool GetMarkToday() const { return FMarkToday; }
  void SetMarkToday(bool Value);
  bool GetShowMonthShort() const { return FShowMonthShort; }
  void SetMonthShort(bool Value);
  // Raised button frames on the title buttons; also changes how the rows share the height.
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool Value);

  TColor GetColorActiveMonth() const { return FColorActiveMonth; }
  void SetColorActiveMonth(TColor Value) { SetColorField(FColorActiveMonth, Value); }
  TColor GetColorInactiveMonth() const { return FColorInactiveMonth; }
  void SetColorInactiveMonth(TColor Value) { SetColorField(FColorInactiveMonth, Value); }
  TColor GetColorWeekNoBg() const { return FColorWeekNoBg; }
  void SetColorWeekNoBg(TColor Value) { SetColorField(FColorWeekNoBg, Value); }
  TColor GetColorWeekNoFg() const { return FColorWeekNoFg; }
  void SetColorWeekNoFg(TColor Value) { SetColorField(FColorWeekNoFg, Value); }
  TColor GetColorDayIdBg() const { return FColorDayIdBg; }
  void SetColorDayIdBg(TColor Value) { SetColorField(FColorDayIdBg, Value); }
  TColor GetColorDayIdFg() const { return FColorDayIdFg; }
  void SetColorDayIdFg(TColor Value) { SetColorField(FColorDayIdFg, Value); }
  TColor GetColorSelectedBg() const { return FColorSelectedBg; }
  void SetColorSelectedBg(TColor Value) { SetColorField(FColorSelectedBg, Value); }
  TColor GetColorSelectedFg() const { return FColorSelectedFg; }
  void SetColorSelectedFg(TColor Value) { SetColorField(FColorSelectedFg, Value); }
  TColor GetColorHolidayBg() const { return FColorHolidayBg; }
  void SetColorHolidayBg(TColor Value) { SetColorField(FColorHolidayBg, Value); }
  TColor GetColorHolidayFg() const { return FColorHolidayFg; }
  void SetColorHolidayFg(TColor Value) { SetColorField(FColorHolidayFg, Value); }
  TColor GetColorToday() const { return FColorToday; }
  void SetColorToday(TColor Value) { SetColorField(FColorToday, Value); }
  // The background of the day cells of one weekday. Setting it fires OnChange.
  TColor GetDayColors(TDayOfWeek Day) const;
  void SetDayColors(TDayOfWeek Day, TColor Value);

  // The holiday list. Nothing is validated: a day that a month lacks simply never matches.
  void AddHoliday(int Day, int Month, int Year, const std::string& HName);
  void AddRepeatHoliday(int Day, int Month, const std::string& HName);
  void ClearHolidayList();
  int GetNumHolidays() const { return FHolidays.NrOfRows(); }
  // Index 1..GetNumHolidays(); false (outputs untouched) outside. Year is kRepeatYear for a
  // holiday of every year.
  bool RetrieveHoliday(int Index, int& Day, int& Month, int& Year, bool& Repeated,
                       std::string& HName) const;
  // The first list entry for the date wins; then, with ShowMovableHolidays, the feasts tied
  // to Easter. HName is emptied first.
  bool CheckHoliday(int Year, int Month, int Day, std::string& HName) const;

  // Recomputes the page, moves the grid's current cell onto the selected day, sets the holiday
  // hint and invalidates.
  void UpdateCal();
  void Changed();

  // The page as it is drawn now.
  const TCalPage& Page() const { return FPage; }
  // The date that counts as today for the ring and the today buttons; the clock unless a test
  // or a host has fixed it (NaN returns to the clock).
  TDateTime GetToday() const;
  void SetToday(TDateTime Value);
  // The rectangle a cell is drawn into: the month title spans columns 3 to 5 (it is drawn by
  // column 5), the "#" button covers column 0 of rows 0 and 1; other cells are their own.
  TRect DrawRect(int ACol, int ARow) const;
  // The text of a cell as drawn (empty for the cells drawn by a neighbour).
  std::string CellText(int ACol, int ARow) const;

  TNotifyEvent OnChange;

  void Loaded() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  // The grid's own mouse and key handling may not move the current cell: it follows the date.
  bool SelectCell(int ACol, int ARow) override;

 private:
  void SetColorField(TColor& Field, TColor Value);
  void LoadDefaultHolidays();
  void UpdateLayout();
  // Re-encodes the date from parts (time dropped), then updates and notifies.
  void SetDateParts(int Year, int Month, int Day);
  void ClickCell(int ACol, int ARow);
  void StepDays(int Delta);
  // Runs a navigation step from the mouse or keyboard; a step past year 1 or 9999 beeps.
  template <class F>
  void Navigate(F Step);
  void DrawTitleCell(int ACol, const TRect& R);
  void DrawDayCell(int ACol, int ARow, const TRect& R);
  void DrawCentred(const TRect& R, const std::string& Text);
  void DrawBtnFrame(const TRect& R);

  TDateTime FDate = 0;
  TDateTime FToday;  // NaN: the clock
  TCalPage FPage;
  TIntMatrix FHolidays;
  std::vector<std::string> FHolidayNames;
  TLanguage FLanguage = lgEnglish;
  TDayOfWeek FFirstDayOfWeek = dwMon;
  bool FAutoSwitch = true;
  bool FIndicateHolidays = true;
  bool FShowHolidayHint = true;
  bool FShowMovableHolidays = true;
  bool FMarkToday = true;
  bool FShowMonthShort = true;
  bool FCtl3D = true;
  bool FSyncingCell = false;  // UpdateCal is moving the current cell
  TColor FColorActiveMonth = 0x000000;
  TColor FColorInactiveMonth = 0xC0C0C0;
  TColor FColorWeekNoBg = 0xC0C0C0;
  TColor FColorWeekNoFg = 0x000000;
  TColor FColorDayIdBg = 0xC0C0C0;
  TColor FColorDayIdFg = 0x000000;
  TColor FColorSelectedBg = 0xD0A040;
  TColor FColorSelectedFg = 0xFFFFFF;
  TColor FColorHolidayBg = 0x9BD8F1;
  TColor FColorHolidayFg = 0x0000C0;
  TColor FColorToday = 0x0000FF;
  std::array<TColor, 7> FDayColors{0xF8F8F8, 0xF8F8F8, 0xF8F8F8, 0xF8F8F8,
                                   0xF8F8F8, 0xBBDDEE, 0xCCEEFF};
};

// Registers TMiniCal and TDayOfWeek with the published properties. Idempotent.
void RegisterMiniCalClasses();

}  // namespace qel

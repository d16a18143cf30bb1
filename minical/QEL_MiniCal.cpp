// TMiniCal: the date and its parts, stepping, the holiday list, the page update, and the mouse,
// keys and resizing that drive them.
#include "minical/QEL_MiniCal.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/controls/Forms.h"

namespace qel {

TMiniCal::TMiniCal(TComponent* AOwner)
    : TCustomDrawGrid(AOwner), FToday(std::numeric_limits<double>::quiet_NaN()) {
  SetColCount(8);
  SetRowCount(8);
  SetFixedCols(1);
  SetFixedRows(2);
  SetGridLineWidth(1);
  SetBorderStyle(bsSingle);
  SetDefaultDrawing(false);
  SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goDrawFocusSelected});
  FDate = Now();
  LoadDefaultHolidays();
  SetBounds(GetLeft(), GetTop(), 300, 180);  // lays out the rows and columns
  UpdateCal();
}

TMiniCal::~TMiniCal() = default;

void TMiniCal::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TMiniCal*>(Source);
  if (!s) {
    TCustomDrawGrid::Assign(Source);
    return;
  }
  if (s == this) return;
  FDate = s->FDate;
  FToday = s->FToday;
  FHolidays = s->FHolidays;
  FHolidayNames = s->FHolidayNames;
  FLanguage = s->FLanguage;
  FFirstDayOfWeek = s->FFirstDayOfWeek;
  FAutoSwitch = s->FAutoSwitch;
  FIndicateHolidays = s->FIndicateHolidays;
  FShowHolidayHint = s->FShowHolidayHint;
  FShowMovableHolidays = s->FShowMovableHolidays;
  FMarkToday = s->FMarkToday;
  FShowMonthShort = s->FShowMonthShort;
  FColorActiveMonth = s->FColorActiveMonth;
  FColorInactiveMonth = s->FColorInactiveMonth;
  FColorWeekNoBg = s->FColorWeekNoBg;
  FColorWeekNoFg = s->FColorWeekNoFg;
  FColorDayIdBg = s->FColorDayIdBg;
  FColorDayIdFg = s->FColorDayIdFg;
  FColorSelectedBg = s->FColorSelectedBg;
  FColorSelectedFg = s->FColorSelectedFg;
  FColorHolidayBg = s->FColorHolidayBg;
  FColorHolidayFg = s->FColorHolidayFg;
  FColorToday = s->FColorToday;
  FDayColors = s->FDayColors;
  GetFont()->Assign(s->GetFont());
  if (FCtl3D != s->FCtl3D) {
    FCtl3D = s->FCtl3D;
    UpdateLayout();
  }
  UpdateCal();
}

// ---------------------------------------------------------------- the date

void TMiniCal::SetDate(TDateTime Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Value, y, m, d);
  if (y == 0) return;  // NaN or outside the years the runtime can encode
  FDate = Value;
  UpdateCal();
  Changed();
}

int TMiniCal::GetDay() const { return FPage.Day; }
int TMiniCal::GetMonth() const { return FPage.Month; }
int TMiniCal::GetYear() const { return FPage.Year; }

void TMiniCal::SetDateParts(int Year, int Month, int Day) {
  const TDateTime v = EncodeDate(Year, Month, Day);  // EConvertError leaves the date alone
  FDate = v;
  UpdateCal();
  Changed();
}

void TMiniCal::SetYear(int Value) {
  SetDateParts(Value >= 0 ? Value : FPage.Year, FPage.Month, FPage.Day);
}

void TMiniCal::SetMonth(int Value) {
  SetDateParts(FPage.Year, Value >= 0 && Value <= 12 ? Value : FPage.Month, FPage.Day);
}

void TMiniCal::SetDay(int Value) {
  const bool inRange = Value >= 0 && Value <= CalDaysInMonth(FPage.Year, FPage.Month);
  SetDateParts(FPage.Year, FPage.Month, inRange ? Value : FPage.Day);
}

void TMiniCal::LastDayOfMonth() { SetDay(FPage.DaysInMonth); }

void TMiniCal::NextYear() {
  // 29 February has no twin in the next year: step from the 28th.
  if (FPage.Month == 2 && FPage.Day == 29) SetDay(28);
  SetYear(FPage.Year + 1);
}

void TMiniCal::PrevYear() {
  if (FPage.Month == 2 && FPage.Day == 29) SetDay(28);
  SetYear(FPage.Year - 1);
}

void TMiniCal::MonthStep(int Delta) {
  // Whole months, so that a step of several months lands that many months away; the day is
  // kept where the target month has it.
  const int64_t t = int64_t(FPage.Year) * 12 + (FPage.Month - 1) + Delta;
  const int64_t y = t >= 0 ? t / 12 : -((-t + 11) / 12);
  const int m = static_cast<int>(t - y * 12) + 1;
  if (y < 1 || y > 9999) throw EConvertError("Invalid argument to date encode");
  const int yi = static_cast<int>(y);
  SetDate(EncodeDate(yi, m, std::min(FPage.Day, CalDaysInMonth(yi, m))));
}

void TMiniCal::StepDays(int Delta) {
  const TDateTime v = EncodeDate(FPage.Year, FPage.Month, FPage.Day) + Delta;
  int y = 0, m = 0, d = 0;
  DecodeDate(v, y, m, d);
  if (y == 0) throw EConvertError("Invalid argument to date encode");
  SetDate(v);
}

void TMiniCal::Set1stDayWeek(TDayOfWeek Value) {
  if (Value > dwSun || Value == FFirstDayOfWeek) return;
  FFirstDayOfWeek = Value;
  UpdateCal();
  Changed();
}

TDateTime TMiniCal::GetToday() const { return std::isnan(FToday) ? Now() : FToday; }

void TMiniCal::SetToday(TDateTime Value) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Value, y, m, d);
  FToday = y == 0 ? std::numeric_limits<double>::quiet_NaN() : Value;
  Invalidate();
}

void TMiniCal::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- language and flags

void TMiniCal::SetLanguage(TLanguage Value) {
  if (Value == FLanguage) return;
  FLanguage = Value;
  LoadDefaultHolidays();
  UpdateCal();
}

void TMiniCal::SetIndicateHolidays(bool Value) {
  if (Value == FIndicateHolidays) return;
  FIndicateHolidays = Value;
  UpdateCal();
}

void TMiniCal::SetFShowHDayHint(bool Value) {
  if (Value == FShowHolidayHint) return;
  FShowHolidayHint = Value;
  // A form file holds the host's own hint, read before this flag: keep it.
  if (!ComponentState().Contains(csLoading)) SetHint("");
  if (Value) SetShowHint(true);
  UpdateCal();
}

void TMiniCal::SetShowMovHDays(bool Value) {
  if (Value == FShowMovableHolidays) return;
  FShowMovableHolidays = Value;
  UpdateCal();
}

void TMiniCal::SetMarkToday(bool Value) {
  if (Value == FMarkToday) return;
  FMarkToday = Value;
  UpdateCal();
}

void TMiniCal::SetMonthShort(bool Value) {
  if (Value == FShowMonthShort) return;
  FShowMonthShort = Value;
  UpdateCal();
}

void TMiniCal::SetCtl3D(bool Value) {
  if (Value == FCtl3D) return;
  FCtl3D = Value;
  UpdateLayout();
  Invalidate();
}

void TMiniCal::SetColorField(TColor& Field, TColor Value) {
  if (Value == Field) return;
  Field = Value;
  Invalidate();
}

TColor TMiniCal::GetDayColors(TDayOfWeek Day) const {
  return Day <= dwSun ? FDayColors[Day] : FDayColors[dwMon];
}

void TMiniCal::SetDayColors(TDayOfWeek Day, TColor Value) {
  if (Day > dwSun || FDayColors[Day] == Value) return;
  FDayColors[Day] = Value;
  UpdateCal();
  Changed();
}

// ---------------------------------------------------------------- holidays

void TMiniCal::LoadDefaultHolidays() {
  FHolidayNames.clear();
  FHolidays.Resize(3, kDefaultHolidayCount);
  for (int i = 0; i < kDefaultHolidayCount; ++i) {
    FHolidays.SetVal(1, i + 1, DefaultHolidayDates[i].Day);
    FHolidays.SetVal(2, i + 1, DefaultHolidayDates[i].Month);
    FHolidays.SetVal(3, i + 1, kRepeatYear);
    FHolidayNames.emplace_back(DefaultHolidayName(FLanguage, i));
  }
}

void TMiniCal::AddHoliday(int Day, int Month, int Year, const std::string& HName) {
  const int row = FHolidays.NrOfRows() + 1;
  FHolidays.Resize(3, row);  // EOutOfMemory leaves the list as it was
  FHolidayNames.push_back(HName);
  FHolidays.SetVal(1, row, Day);
  FHolidays.SetVal(2, row, Month);
  FHolidays.SetVal(3, row, Year);
  UpdateCal();
}

void TMiniCal::AddRepeatHoliday(int Day, int Month, const std::string& HName) {
  AddHoliday(Day, Month, kRepeatYear, HName);
}

void TMiniCal::ClearHolidayList() {
  FHolidayNames.clear();
  FHolidays.Resize(3, 0);
  UpdateCal();
}

bool TMiniCal::RetrieveHoliday(int Index, int& Day, int& Month, int& Year, bool& Repeated,
                               std::string& HName) const {
  if (Index < 1 || Index > GetNumHolidays()) return false;
  Day = FHolidays.GetVal(1, Index);
  Month = FHolidays.GetVal(2, Index);
  Year = FHolidays.GetVal(3, Index);
  Repeated = Year == kRepeatYear;
  HName = FHolidayNames[Index - 1];
  return true;
}

bool TMiniCal::CheckHoliday(int Year, int Month, int Day, std::string& HName) const {
  HName.clear();
  for (int row = 1; row <= FHolidays.NrOfRows(); ++row) {
    if (FHolidays.At(1, row) != Day || FHolidays.At(2, row) != Month) continue;
    const int y = FHolidays.At(3, row);
    if (y != kRepeatYear && y != Year) continue;
    HName = FHolidayNames[row - 1];
    return true;
  }
  if (!FShowMovableHolidays) return false;
  const int feast = MovableFeastAt(Year, Month, Day);
  if (feast < 0) return false;
  HName = MovableFeastName(FLanguage, feast);
  return true;
}

// ---------------------------------------------------------------- page

void TMiniCal::UpdateCal() {
  int y = 0, m = 0, d = 0;
  DecodeDate(FDate, y, m, d);
  FPage = MakeCalPage(y, m, d, FFirstDayOfWeek);
  // The focused cell is the one the selected day is drawn in, so that focus drawing and the
  // grid's notion of the current cell agree with what the user sees.
  const TGridCoord cell = FPage.CellOfDay(d);
  FSyncingCell = true;
  MoveCurrent(cell.X, cell.Y, true, false);
  FSyncingCell = false;
  // While a form is read, the hint in the file may belong to the host: Loaded decides.
  if (FShowHolidayHint && !ComponentState().Contains(csLoading)) {
    std::string name;
    if (FIndicateHolidays && CheckHoliday(y, m, d, name))
      SetHint(name);
    else
      SetHint("");
  }
  Invalidate();
}

void TMiniCal::Loaded() {
  TCustomDrawGrid::Loaded();
  UpdateCal();
}

bool TMiniCal::SelectCell(int /*ACol*/, int /*ARow*/) { return FSyncingCell; }

// ---------------------------------------------------------------- input

template <class F>
void TMiniCal::Navigate(F Step) {
  try {
    Step();
  } catch (const EConvertError&) {
    // Beyond the years 1..9999 there is nothing to go to.
    MessageBeep(0);
  }
}

void TMiniCal::ClickCell(int ACol, int ARow) {
  if (ARow == 0 || (ARow == 1 && ACol == 0)) {
    switch (ARow == 1 ? 0 : ACol) {
      case 0:
        return Navigate([this] { SetDate(GetToday()); });
      case 1:
        return Navigate([this] { PrevYear(); });
      case 2:
        return Navigate([this] { PrevMonth(); });
      case 6:
        return Navigate([this] { NextMonth(); });
      case 7:
        return Navigate([this] { NextYear(); });
      default:
        return;  // the month title
    }
  }
  if (ACol < 1 || ARow < 2) return;
  int y = 0, m = 0, d = 0;
  if (ResolveDayClick(FPage, FPage.DayNumber(ACol, ARow), FAutoSwitch, y, m, d)) {
    Navigate([&] {
      FDate = EncodeDate(y, m, d);
      UpdateCal();
      Changed();
    });
    return;
  }
  UpdateCal();
}

void TMiniCal::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomDrawGrid::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TGridCoord cell = MouseCoord(X, Y);
  if (cell.X < 0 || cell.Y < 0) return;
  ClickCell(cell.X, cell.Y);
}

void TMiniCal::KeyDown(uint16_t& Key, TShiftState Shift) {
  // The host's OnKeyDown sees the key first; the grid's own cell keys do not apply here.
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  const bool ctrl = Shift.Contains(ssCtrl);
  switch (Key) {
    case VK_LEFT:
      Navigate([this] { StepDays(-1); });
      break;
    case VK_RIGHT:
      Navigate([this] { StepDays(1); });
      break;
    case VK_UP:
      Navigate([this] { StepDays(-7); });
      break;
    case VK_DOWN:
      Navigate([this] { StepDays(7); });
      break;
    case VK_PRIOR:
      Navigate([this, ctrl] { ctrl ? PrevYear() : PrevMonth(); });
      break;
    case VK_NEXT:
      Navigate([this, ctrl] { ctrl ? NextYear() : NextMonth(); });
      break;
    case VK_HOME:
      SetDay(1);
      break;
    case VK_END:
      LastDayOfMonth();
      break;
    default:
      return;
  }
  Key = 0;
}

// ---------------------------------------------------------------- layout

void TMiniCal::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateLayout();
}

void TMiniCal::UpdateLayout() {
  // The seven day columns and the seven lower rows share the space equally; column 0 and
  // row 0 take what is left.
  const int g = GetGridLineWidth();
  const int colW = std::max(0, (ClientWidth() - 7 * g) / 8);
  const int rowH = std::max(0, (ClientHeight() - 7 * g) / 8);
  const int f = FCtl3D ? 2 : 5;
  SetDefaultColWidth(colW);
  SetDefaultRowHeight(rowH);
  SetRowHeights(0, std::max(0, GetHeight() + f - (rowH + g + 1) * 7));
  SetColWidths(0, std::max(0, GetWidth() + f - (colW + g + 1) * 7));
}

}  // namespace qel

#pragma once
// The month calendar (TMonthCalendar) and the date-time picker (TDateTimePicker).
//
// Where the code lives: MonthCalendar.cpp (the calendar's page model, geometry, painting and
// navigation), DateTimePicker.cpp (display patterns, field-wise editing, the drop-down
// calendar, spin buttons); WidgetRegistration lives at the end of DateTimePicker.cpp.
// docs/datetimepicker.md records the choices.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/rtl/DateTime.h"

namespace qel {

// Raised for inconsistent date limits (a minimum after the maximum).
QEL_DECLARE_EXCEPTION(EDateTimeError, Exception)

enum TCalDayOfWeek : uint8_t {
  dowMonday,
  dowTuesday,
  dowWednesday,
  dowThursday,
  dowFriday,
  dowSaturday,
  dowSunday,
  dowLocaleDefault  // our locale starts weeks on Monday, as ISO 8601 does
};

// ---------------------------------------------------------------- TMonthCalendar

namespace widgetpaint {
class TPressRepeat;
}

// One month page: a title bar with the month and year between two paging arrows, a row of
// weekday names, a 6 x 7 grid of days (the neighbour months' days greyed), optionally the ISO
// week numbers at the left and a "Today: <date>" line below. The page always shows the month
// of Date; paging moves Date by a month (its day clamped to the month's length).
class TMonthCalendar : public TCustomControl {
 public:
  explicit TMonthCalendar(TComponent* AOwner);
  ~TMonthCalendar() override;
  std::string ClassName() const override { return "TMonthCalendar"; }

  // The selected day (whole days; a time of day given is dropped). Clamped to MinDate..MaxDate;
  // NaN leaves it unchanged. Setting it from the program fires no event.
  TDateTime GetDate() const { return FDate; }
  void SetDate(TDateTime Value);
  // Limits of Date, whole days; 0 means no limit. EDateTimeError when both are set and the
  // minimum lies after the maximum.
  TDateTime GetMinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  TCalDayOfWeek GetFirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(TCalDayOfWeek Value);
  bool GetShowToday() const { return FShowToday; }
  void SetShowToday(bool Value);
  bool GetShowTodayCircle() const { return FShowTodayCircle; }
  void SetShowTodayCircle(bool Value);
  bool GetWeekNumbers() const { return FWeekNumbers; }
  void SetWeekNumbers(bool Value);
  // The day the calendar calls today: the system date unless set (0 goes back to it). Setting
  // it keeps pictures stable in tests and lets a host run on another clock.
  TDateTime GetToday() const;
  void SetToday(TDateTime Value);

  // The size that shows everything at the current font (the constructor takes it).
  TSize PreferredSize() const;

  // ---- the page model and geometry, shared by painting and hit testing
  // The day shown in the top-left cell of the grid.
  TDateTime FirstShownDay() const;
  TRect TitleRect() const;
  TRect PrevButtonRect() const;
  TRect NextButtonRect() const;
  TRect HeaderRect() const;  // the weekday names
  // Row 0..5, column 0..6 of the grid.
  TRect DayCellRect(int Row, int Col) const;
  TRect WeekNumberRect(int Row) const;  // empty without WeekNumbers
  TRect TodayRect() const;              // empty without ShowToday
  // The day under a client point, false when the point is not on a day cell.
  bool DayAtPos(TPoint P, TDateTime& Day) const;
  // The day in the grid cell (Row, Col).
  TDateTime DayOfCell(int Row, int Col) const;
  // The ISO week number shown for grid row Row: the week of the row's middle day, so a row that
  // starts on Sunday takes the week most of its days belong to. 0 outside years 1..9999.
  int WeekNumberOfRow(int Row) const;
  // Whether Day lies within MinDate..MaxDate.
  bool InRange(TDateTime Day) const;

  // Moves the selection as the user does: by days or by months (clamped to the limits); fires
  // OnChange when the date changes.
  void StepDays(int Days);
  void StepMonths(int Months);

  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  // A press on a paging arrow pages at once and, held, again after 400 ms, then every 50 ms
  // while the pointer stays on the arrow; the release or a lost capture ends it.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void WndProc(TMessage& Message) override;

 protected:
  // A user's choice of a day by click or the Today line: selects it (OnChange) then calls
  // DayChosen. The drop-down of the picker closes there.
  void UserSelect(TDateTime Day);
  virtual void DayChosen() {}
  virtual void Change();
  void Paint() override;
  // The steps of Paint: the title with its paging buttons, the weekday names, the week
  // numbers, the days and the Today line; texts centred in a rectangle on the canvas's font.
  void PaintTitle(TCanvas* C, bool Enabled) const;
  void PaintWeekdayNames(TCanvas* C, bool Enabled) const;
  void PaintWeekNumbers(TCanvas* C) const;
  void PaintDays(TCanvas* C, bool Enabled, TColor Text) const;
  void PaintTodayLine(TCanvas* C, TColor Text) const;
  static void CentredText(TCanvas* C, const TRect& R, const std::string& S);
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  // The clamped date that would result from Value; NaN gives the current date.
  TDateTime Clamped(TDateTime Value) const;
  // Cell metrics from the font.
  int RowHeight() const;
  int CellWidth() const;
  int TitleHeight() const;
  int WeekColumnWidth() const;
  // Monday = 0 ... Sunday = 6 of the first grid column.
  int FirstColumnDay() const;

 private:
  bool SetDateUser(TDateTime Value);  // true when it changed (OnChange fired)
  void StopPaging();                  // ends a held paging arrow

  TDateTime FDate = 0;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  TDateTime FToday = 0;
  TCalDayOfWeek FFirstDayOfWeek = dowMonday;
  bool FShowToday = true;
  bool FShowTodayCircle = true;
  bool FWeekNumbers = false;
  int FHeldArrow = 0;  // -1 the previous-month arrow held down, 1 the next one, 0 none
  TPoint FHeldAt;      // the pointer while it is held
  std::unique_ptr<widgetpaint::TPressRepeat> FRepeat;
};

// ---------------------------------------------------------------- TDateTimePicker

enum TDateTimeKind : uint8_t { dtkDate, dtkTime };
enum TDTDateFormat : uint8_t { dfShort, dfLong };
enum TDTDateMode : uint8_t { dmComboBox, dmUpDown };

// What a piece of a display pattern stands for.
enum TDTFieldKind : uint8_t {
  fkLiteral,    // fixed text
  fkDay,        // d, dd
  fkDayName,    // ddd, dddd (steps the day within its Monday-to-Sunday week)
  fkMonth,      // M, MM
  fkMonthName,  // MMM, MMMM
  fkYear1,      // y: the last digit of the year
  fkYear2,      // yy
  fkYear4,      // yyyy (and yyy)
  fkHour12,     // h, hh
  fkHour24,     // H, HH
  fkMinute,     // m, mm
  fkSecond,     // s, ss
  fkAmPm        // t, tt
};

// One piece of a parsed display pattern: a field (Kind with the length of its token, so "dd"
// is fkDay with Length 2) or literal Text.
struct TDTPatternItem {
  TDTFieldKind Kind = fkLiteral;
  int Length = 0;
  std::string Text;
  bool operator==(const TDTPatternItem&) const = default;
};

// Splits a display pattern into fields and literals. Tokens: d dd ddd dddd, M MM MMM MMMM,
// y yy yyy yyyy, h hh, H HH, m mm, s ss, t tt; longer runs of a letter split into the longest
// tokens from the left ("ddddd" is dddd then d). '...' is a literal with '' for one quote (an
// unterminated quote runs to the end); every other character is literal. Adjacent literals
// are joined.
std::vector<TDTPatternItem> ParseDTPattern(const std::string& Pattern);
// The text of one item for Value (names from Settings).
std::string FormatDTItem(const TDTPatternItem& Item, TDateTime Value,
                         const TFormatSettings& Settings);
// The whole pattern applied to Value.
std::string FormatDTPattern(const std::string& Pattern, TDateTime Value);
// A run-time library format (FormatDateTime tokens, as in TFormatSettings) in the picker's
// tokens: months become M, minutes m, "/" and ":" the separators, am/pm markers t or tt (and
// hours 12-hour h), literals quoted; tokens without a field (z, ms) are dropped.
std::string DTPatternFromRtlFormat(const std::string& Format, const TFormatSettings& Settings);

class TDTCalendarWindow;

// An edit-like box that shows a date or a time through a display pattern and edits it field by
// field. One field is selected while the box has the focus; arrows, digits, letters, the
// wheel and the spin buttons change it. A date picker in dmComboBox mode opens a month
// calendar below itself; the calendar sits on the form above everything and holds the mouse
// capture while open, so a press anywhere else closes it.
class TDateTimePicker : public TCustomControl {
 public:
  explicit TDateTimePicker(TComponent* AOwner);
  ~TDateTimePicker() override;
  std::string ClassName() const override { return "TDateTimePicker"; }

  TDateTimeKind GetKind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  // The value: Date is its whole days, Time its time of day. Setting keeps the other part.
  // Values are clamped to MinDate..MaxDate (whole days); NaN is ignored; the program's
  // changes fire no event.
  TDateTime GetDateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  TDateTime GetDate() const;
  void SetDate(TDateTime Value);
  TDateTime GetTime() const;
  void SetTime(TDateTime Value);
  // Limits of the date part (whole days), 0 = none; EDateTimeError when the minimum lies after
  // the maximum.
  TDateTime GetMinDate() const { return FMinDate; }
  void SetMinDate(TDateTime Value);
  TDateTime GetMaxDate() const { return FMaxDate; }
  void SetMaxDate(TDateTime Value);
  // The display pattern; empty shows the short (or long, with dfLong) date for dtkDate and the
  // long time for dtkTime, taken from the format settings.
  const std::string& GetFormat() const { return FFormat; }
  void SetFormat(const std::string& Value);
  TDTDateFormat GetDateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat Value);
  TDTDateMode GetDateMode() const { return FDateMode; }
  void SetDateMode(TDTDateMode Value);
  bool GetShowCheckbox() const { return FShowCheckbox; }
  void SetShowCheckbox(bool Value);
  // With ShowCheckbox, unchecked means "no value": the text is greyed and refuses edits.
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value);
  bool GetDroppedDown() const { return FDropped; }
  void SetDroppedDown(bool Value);

  // The pattern in use (Format, or the one the settings give) and its pieces.
  std::string EffectivePattern() const;
  const std::vector<TDTPatternItem>& Items() const { return FItems; }
  // The shown text.
  std::string DisplayText() const;
  // The selected field: an index into Items(), -1 when the pattern has no field.
  int GetSelectedField() const { return FSelected; }
  void SetSelectedField(int Index);  // snaps to a field; commits typing in progress
  // Digits typed into the selected field that are not applied yet ("" when none).
  const std::string& PendingDigits() const { return FPending; }
  // The calendar that drops down (it lives with the picker, on the form only while open).
  TMonthCalendar* Calendar() const;

  // ---- geometry, shared by painting and hit testing
  TRect CheckboxRect() const;  // empty without ShowCheckbox
  TRect ButtonRect() const;    // the drop-down button, or both spin buttons
  TRect UpButtonRect() const;  // empty unless spin buttons show
  TRect DownButtonRect() const;
  TRect TextRect() const;  // where the text sits
  // The rectangle of item Index of Items() in client coordinates.
  TRect ItemRect(int Index) const;
  // The field under a client point (the nearest one on the text line), -1 when none.
  int FieldAtPos(TPoint P) const;
  bool HasSpinButtons() const { return FKind == dtkTime || FDateMode == dmUpDown; }
  bool HasDropDown() const { return !HasSpinButtons(); }
  // The calendar's bounds in form coordinates when it opens.
  TRect CalendarBounds() const;

  // Steps the selected field by Delta with wrap-around, as the arrow keys do.
  void StepField(int Delta);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

  // A held spin button steps again after RepeatDelay ms, then every RepeatInterval ms.
  static constexpr unsigned RepeatDelay = 400;
  static constexpr unsigned RepeatInterval = 80;

 protected:
  friend class TDTCalendarWindow;
  virtual void Change();    // fires OnChange
  virtual void DropDown();  // fires OnDropDown before the calendar opens
  virtual void CloseUp();   // fires OnCloseUp after it closed
  void Paint() override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  void CMWantSpecialKey(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void OpenCalendar();
  void CloseCalendar(bool Accept);
  // The user's new value: clamps, stores, repaints and fires OnChange when it differs.
  void UserSetValue(TDateTime Value);
  // Applies the typed digits to the selected field; returns whether anything was pending.
  bool CommitPending();
  void TypeDigit(int Digit);
  void TypeLetter(char32_t Ch);
  // The value range of field kind K for the current value (year limits follow Min/MaxDate).
  void FieldRange(TDTFieldKind K, int& Lo, int& Hi) const;
  int FieldValue(TDTFieldKind K) const;
  // The current value with field kind K set to V (the day clamped to the month's length).
  TDateTime WithField(TDTFieldKind K, int V) const;
  bool Editable() const;  // enabled, checked and with a field
  int NextField(int From, int Dir) const;
  void Relayout();
  TDateTime ClampValue(TDateTime Value) const;
  void RepeatTimer(TMessage& Message);
  void StopSpin();

 private:
  TDateTimeKind FKind = dtkDate;
  TDateTime FDateTime = 0;
  TDateTime FMinDate = 0;
  TDateTime FMaxDate = 0;
  std::string FFormat;
  TDTDateFormat FDateFormat = dfShort;
  TDTDateMode FDateMode = dmComboBox;
  bool FShowCheckbox = false;
  bool FChecked = true;
  bool FDropped = false;
  std::vector<TDTPatternItem> FItems;
  int FSelected = -1;
  std::string FPending;                    // digits typed into the selected field
  std::string FLetters;                    // letters typed into a name field, for prefix matching
  bool FAutoAdvanced = false;              // the last digit completed a field and moved on
  int FSpinPressed = 0;                    // 1 up, -1 down while a spin button is held
  bool FSpinOver = false;                  // the pointer is over the held spin button
  HWND FRepeatWnd = 0;                     // receives the spin buttons' repeat timer
  TDTCalendarWindow* FCalendar = nullptr;  // owned by the picker
};

// Registers the month calendar and the date-time picker (and the standard widgets they stand
// on) with the class registry. Idempotent.
void RegisterDateTimeClasses();

}  // namespace qel

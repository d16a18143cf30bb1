// The month calendar: the page model (which day each cell shows), its geometry, painting and
// navigation by keys, mouse and wheel.
#include <algorithm>
#include <cmath>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
constexpr int kBorder = 1;
constexpr int kMargin = 4;
constexpr int kGap = 2;  // between the title, the weekday row, the grid and the Today line

// Whole days of a value (toward zero, so negative dates keep their day: -1.25 is day -1).
TDateTime WholeDays(TDateTime V) { return std::trunc(V); }

// Monday = 0 ... Sunday = 6.
int WeekdayIndex(TDateTime Day) { return DayOfTheWeek(Day) - 1; }

bool InLibraryRange(TDateTime Day) { return Day >= MinDateTime && Day <= WholeDays(MaxDateTime); }
}  // namespace

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csClickEvents, csOpaque, csDoubleClicks, csCaptureMouse};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FDate = WholeDays(GetToday());
  TSize s = PreferredSize();
  SetBounds(0, 0, s.cx, s.cy);
  FRepeat = std::make_unique<wp::TPressRepeat>();
}

TMonthCalendar::~TMonthCalendar() = default;

// ---------------------------------------------------------------- properties

TDateTime TMonthCalendar::GetToday() const { return FToday != 0 ? FToday : WholeDays(qel::Date()); }

void TMonthCalendar::SetToday(TDateTime Value) {
  if (std::isnan(Value)) return;
  Value = WholeDays(std::clamp(Value, MinDateTime, MaxDateTime));
  if (Value == FToday) return;
  FToday = Value;
  Invalidate();
}

TDateTime TMonthCalendar::Clamped(TDateTime Value) const {
  if (std::isnan(Value)) return FDate;
  TDateTime v = WholeDays(std::clamp(Value, MinDateTime, MaxDateTime));
  if (FMinDate != 0) v = std::max(v, FMinDate);
  if (FMaxDate != 0) v = std::min(v, FMaxDate);
  return v;
}

bool TMonthCalendar::InRange(TDateTime Day) const {
  if (!InLibraryRange(Day)) return false;
  if (FMinDate != 0 && Day < FMinDate) return false;
  if (FMaxDate != 0 && Day > FMaxDate) return false;
  return true;
}

void TMonthCalendar::SetDate(TDateTime Value) {
  TDateTime v = Clamped(Value);
  if (v == FDate) return;
  FDate = v;
  Invalidate();
}

bool TMonthCalendar::SetDateUser(TDateTime Value) {
  TDateTime v = Clamped(Value);
  if (v == FDate) return false;
  FDate = v;
  Invalidate();
  Change();
  return true;
}

void TMonthCalendar::SetMinDate(TDateTime Value) {
  if (std::isnan(Value)) return;
  TDateTime v = Value == 0 ? 0 : WholeDays(std::clamp(Value, MinDateTime, MaxDateTime));
  if (v != 0 && FMaxDate != 0 && v > FMaxDate)
    throw EDateTimeError("Minimum date " + DateToStr(v) + " is after the maximum date " +
                         DateToStr(FMaxDate));
  FMinDate = v;
  FDate = Clamped(FDate);
  Invalidate();
}

void TMonthCalendar::SetMaxDate(TDateTime Value) {
  if (std::isnan(Value)) return;
  TDateTime v = Value == 0 ? 0 : WholeDays(std::clamp(Value, MinDateTime, MaxDateTime));
  if (v != 0 && FMinDate != 0 && v < FMinDate)
    throw EDateTimeError("Maximum date " + DateToStr(v) + " is before the minimum date " +
                         DateToStr(FMinDate));
  FMaxDate = v;
  FDate = Clamped(FDate);
  Invalidate();
}

void TMonthCalendar::SetFirstDayOfWeek(TCalDayOfWeek Value) {
  if (Value > dowLocaleDefault || Value == FFirstDayOfWeek) return;
  FFirstDayOfWeek = Value;
  Invalidate();
}

void TMonthCalendar::SetShowToday(bool Value) {
  if (Value == FShowToday) return;
  FShowToday = Value;
  Invalidate();
}

void TMonthCalendar::SetShowTodayCircle(bool Value) {
  if (Value == FShowTodayCircle) return;
  FShowTodayCircle = Value;
  Invalidate();
}

void TMonthCalendar::SetWeekNumbers(bool Value) {
  if (Value == FWeekNumbers) return;
  FWeekNumbers = Value;
  Invalidate();
}

void TMonthCalendar::Change() {
  if (OnChange) OnChange(this);
}

void TMonthCalendar::UserSelect(TDateTime Day) {
  if (!InRange(Day)) return;
  SetDateUser(Day);
  DayChosen();
}

// ---------------------------------------------------------------- page model and geometry

int TMonthCalendar::FirstColumnDay() const {
  return FFirstDayOfWeek == dowLocaleDefault ? 0 : static_cast<int>(FFirstDayOfWeek);
}

TDateTime TMonthCalendar::FirstShownDay() const {
  int y, m, d;
  DecodeDate(FDate, y, m, d);
  TDateTime first = EncodeDate(y, m, 1);
  int lead = (WeekdayIndex(first) - FirstColumnDay() + 7) % 7;
  // A month starting in the first column still shows a week of the month before, so there is
  // always a neighbour day to click at either end.
  if (lead == 0) lead = 7;
  return first - lead;
}

TDateTime TMonthCalendar::DayOfCell(int Row, int Col) const {
  return FirstShownDay() + Row * 7 + Col;
}

int TMonthCalendar::WeekNumberOfRow(int Row) const {
  TDateTime mid = DayOfCell(Row, 3);
  return InLibraryRange(mid) ? WeekOfTheYear(mid) : 0;
}

int TMonthCalendar::RowHeight() const {
  FCanvas->Font()->Assign(GetFont());
  return FCanvas->TextHeight("Wg") + 4;
}

int TMonthCalendar::TitleHeight() const { return RowHeight() + 6; }

int TMonthCalendar::WeekColumnWidth() const {
  if (!FWeekNumbers) return 0;
  FCanvas->Font()->Assign(GetFont());
  return FCanvas->TextWidth("00") + 8;
}

int TMonthCalendar::CellWidth() const {
  FCanvas->Font()->Assign(GetFont());
  int w = FCanvas->TextWidth("00");
  TFormatSettings fs = GetFormatSettings();
  for (const std::string& n : fs.ShortDayNames) w = std::max(w, FCanvas->TextWidth(n));
  int minimum = w + 8;
  // Cells share a wider control's width.
  int avail = GetWidth() - 2 * (kBorder + kMargin) - WeekColumnWidth();
  return std::max(minimum, avail / 7);
}

TSize TMonthCalendar::PreferredSize() const {
  FCanvas->Font()->Assign(GetFont());
  int w = FCanvas->TextWidth("00");
  TFormatSettings fs = GetFormatSettings();
  for (const std::string& n : fs.ShortDayNames) w = std::max(w, FCanvas->TextWidth(n));
  int rh = RowHeight();
  int width = 2 * (kBorder + kMargin) + WeekColumnWidth() + 7 * (w + 8);
  int height = 2 * kBorder + TitleHeight() + kGap + rh + kGap + 6 * rh + kMargin;
  if (FShowToday) height += kGap + rh;
  return {width, height};
}

TRect TMonthCalendar::TitleRect() const {
  return Rect(kBorder, kBorder, std::max(kBorder, GetWidth() - kBorder), kBorder + TitleHeight());
}

TRect TMonthCalendar::PrevButtonRect() const {
  TRect t = TitleRect();
  int s = t.Height() - 6;
  return Bounds(t.Left + 4, t.Top + 3, s, s);
}

TRect TMonthCalendar::NextButtonRect() const {
  TRect t = TitleRect();
  int s = t.Height() - 6;
  return Bounds(t.Right - 4 - s, t.Top + 3, s, s);
}

TRect TMonthCalendar::HeaderRect() const {
  int left = kBorder + kMargin + WeekColumnWidth();
  int top = TitleRect().Bottom + kGap;
  return Rect(left, top, left + 7 * CellWidth(), top + RowHeight());
}

TRect TMonthCalendar::DayCellRect(int Row, int Col) const {
  TRect h = HeaderRect();
  int cw = CellWidth(), rh = RowHeight();
  int top = h.Bottom + kGap + Row * rh;
  return Rect(h.Left + Col * cw, top, h.Left + (Col + 1) * cw, top + rh);
}

TRect TMonthCalendar::WeekNumberRect(int Row) const {
  if (!FWeekNumbers) return {};
  TRect c = DayCellRect(Row, 0);
  return Rect(kBorder + kMargin, c.Top, c.Left, c.Bottom);
}

TRect TMonthCalendar::TodayRect() const {
  if (!FShowToday) return {};
  TRect last = DayCellRect(5, 6);
  return Rect(kBorder + kMargin, last.Bottom + kGap, last.Right, last.Bottom + kGap + RowHeight());
}

bool TMonthCalendar::DayAtPos(TPoint P, TDateTime& Day) const {
  TRect first = DayCellRect(0, 0), last = DayCellRect(5, 6);
  if (P.X < first.Left || P.X >= last.Right || P.Y < first.Top || P.Y >= last.Bottom) return false;
  int col = (P.X - first.Left) / std::max(1, first.Width());
  int row = (P.Y - first.Top) / std::max(1, first.Height());
  Day = DayOfCell(std::clamp(row, 0, 5), std::clamp(col, 0, 6));
  return true;
}

// ---------------------------------------------------------------- navigation

void TMonthCalendar::StepDays(int Days) { SetDateUser(FDate + Days); }

void TMonthCalendar::StepMonths(int Months) {
  int y, m, d;
  DecodeDate(FDate, y, m, d);
  int index = y * 12 + (m - 1) + Months;
  int ny = index / 12, nm = index % 12 + 1;
  if (ny < 1) {
    SetDateUser(MinDateTime);
    return;
  }
  if (ny > 9999) {
    SetDateUser(MaxDateTime);
    return;
  }
  SetDateUser(EncodeDate(ny, nm, std::min(d, DaysInMonth(ny, nm))));
}

void TMonthCalendar::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int y, m, d;
  DecodeDate(FDate, y, m, d);
  switch (Key) {
    case VK_LEFT:
      StepDays(-1);
      break;
    case VK_RIGHT:
      StepDays(1);
      break;
    case VK_UP:
      StepDays(-7);
      break;
    case VK_DOWN:
      StepDays(7);
      break;
    case VK_PRIOR:
      StepMonths(Shift.Contains(ssCtrl) ? -12 : -1);
      break;
    case VK_NEXT:
      StepMonths(Shift.Contains(ssCtrl) ? 12 : 1);
      break;
    case VK_HOME:
      SetDateUser(EncodeDate(y, m, 1));
      break;
    case VK_END:
      SetDateUser(EncodeDate(y, m, DaysInMonth(y, m)));
      break;
    default:
      return;
  }
  Key = 0;
}

void TMonthCalendar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree()) return;
  StopPaging();
  TPoint p{X, Y};
  TDateTime day;
  int arrow = PrevButtonRect().Contains(p) ? -1 : NextButtonRect().Contains(p) ? 1 : 0;
  if (arrow != 0) {
    StepMonths(arrow);
    // Held only while the release is sure to come here: with the capture.
    if (!GetMouseCapture()) return;
    FHeldArrow = arrow;
    FHeldAt = p;
    FRepeat->Start([this] {
      TRect held = FHeldArrow < 0 ? PrevButtonRect() : NextButtonRect();
      if (FHeldArrow != 0 && held.Contains(FHeldAt)) StepMonths(FHeldArrow);
    });
  } else if (DayAtPos(p, day)) {
    UserSelect(day);
  } else if (TodayRect().Contains(p)) {
    UserSelect(Clamped(GetToday()));
  }
}

void TMonthCalendar::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  // Off the arrow the repeat pauses; back on it, it goes on.
  if (FHeldArrow != 0) FHeldAt = {X, Y};
}

void TMonthCalendar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) StopPaging();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TMonthCalendar::StopPaging() {
  FHeldArrow = 0;
  if (FRepeat) FRepeat->Stop();
}

void TMonthCalendar::WndProc(TMessage& Message) {
  // Without the capture the release may never come here.
  if (Message.Msg == WM_CAPTURECHANGED) StopPaging();
  TCustomControl::WndProc(Message);
}

void TMonthCalendar::WMCancelMode(TMessage& Message) {
  StopPaging();
  TCustomControl::WMCancelMode(Message);
}

bool TMonthCalendar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (WheelDelta != 0 && IsEnabledInTree()) StepMonths(WheelDelta > 0 ? -1 : 1);
  return true;
}

void TMonthCalendar::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TMonthCalendar::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  if (!IsEnabledInTree()) StopPaging();
  Invalidate();
}

void TMonthCalendar::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TMonthCalendar::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  Invalidate();
}

void TMonthCalendar::WMGetDlgCode(TMessage& Message) {
  TCustomControl::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTARROWS;
}

// ---------------------------------------------------------------- painting

void TMonthCalendar::Paint() {
  TCanvas* c = FCanvas.get();
  const TRect client = GetClientRect();
  const bool enabled = IsEnabledInTree();
  const TColor text = enabled ? GetFont()->GetColor() : clGrayText;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(client);
  c->Brush()->SetColor(clWindowFrame);
  c->FrameRect(client);
  c->Font()->Assign(GetFont());
  PaintTitle(c, enabled);
  PaintWeekdayNames(c, enabled);
  if (FWeekNumbers) PaintWeekNumbers(c);
  PaintDays(c, enabled, text);
  if (FShowToday) PaintTodayLine(c, text);
}

void TMonthCalendar::CentredText(TCanvas* C, const TRect& R, const std::string& S) {
  const int th = C->TextHeight("Wg");
  C->TextOut((R.Left + R.Right - C->TextWidth(S)) / 2, R.Top + (R.Height() - th) / 2, S);
}

// Month and year between the paging buttons.
void TMonthCalendar::PaintTitle(TCanvas* c, bool Enabled) const {
  int y, m, d;
  DecodeDate(FDate, y, m, d);
  const TRect title = TitleRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled ? clActiveCaption : clBtnShadow);
  c->FillRect(title);
  const TRect prev = PrevButtonRect(), next = NextButtonRect();
  wp::ButtonFace(c, prev, false);
  wp::Arrow(c, prev, 2, Enabled ? clBtnText : clGrayText);
  wp::ButtonFace(c, next, false);
  wp::Arrow(c, next, 3, Enabled ? clBtnText : clGrayText);
  c->Font()->SetStyle({fsBold});
  c->Font()->SetColor(clCaptionText);
  c->Brush()->SetStyle(bsClear);
  CentredText(c, title,
              GetFormatSettings().LongMonthNames[static_cast<size_t>(m - 1)] + " " +
                  std::to_string(y));
  c->Font()->Assign(GetFont());
}

// Weekday names, with a rule below them.
void TMonthCalendar::PaintWeekdayNames(TCanvas* c, bool Enabled) const {
  const TFormatSettings fs = GetFormatSettings();
  const TRect header = HeaderRect();
  c->Font()->SetColor(Enabled ? clActiveCaption : clGrayText);
  for (int col = 0; col < 7; ++col) {
    const int dow = (FirstColumnDay() + col) % 7;  // Monday = 0
    const TRect cell = DayCellRect(0, col);
    CentredText(c, Rect(cell.Left, header.Top, cell.Right, header.Bottom),
                fs.ShortDayNames[static_cast<size_t>((dow + 1) % 7)]);
  }
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(header.Left, header.Bottom);
  c->LineTo(header.Right, header.Bottom);
}

// Week numbers, with a rule to their right (the pen is still the header rule's).
void TMonthCalendar::PaintWeekNumbers(TCanvas* c) const {
  c->Font()->SetColor(clGrayText);
  for (int row = 0; row < 6; ++row)
    if (int w = WeekNumberOfRow(row); w > 0) CentredText(c, WeekNumberRect(row), std::to_string(w));
  const TRect w0 = WeekNumberRect(0), w5 = WeekNumberRect(5);
  c->MoveTo(w0.Right - 2, w0.Top);
  c->LineTo(w0.Right - 2, w5.Bottom);
}

void TMonthCalendar::PaintDays(TCanvas* c, bool Enabled, TColor Text) const {
  int y, m, d;
  DecodeDate(FDate, y, m, d);
  const TDateTime today = GetToday();
  for (int row = 0; row < 6; ++row) {
    for (int col = 0; col < 7; ++col) {
      const TDateTime day = DayOfCell(row, col);
      if (!InLibraryRange(day)) continue;
      int dy, dm, dd;
      DecodeDate(day, dy, dm, dd);
      const TRect cell = DayCellRect(row, col);
      const bool selected = day == FDate;
      TColor fc = (dm != m || !InRange(day)) ? clGrayText : Text;
      if (selected && Enabled) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clHighlight);
        c->FillRect(cell.Inflate(-1, 0));
        fc = clHighlightText;
      }
      c->Brush()->SetStyle(bsClear);
      c->Font()->SetColor(fc);
      CentredText(c, cell, std::to_string(dd));
      if (FShowTodayCircle && day == today) {
        c->Pen()->SetColor(clRed);
        c->Ellipse(cell.Left, cell.Top, cell.Right, cell.Bottom);
      }
      if (selected && Focused()) {
        c->Brush()->SetStyle(bsSolid);
        c->DrawFocusRect(cell.Inflate(-1, 0));
      }
    }
  }
}

void TMonthCalendar::PaintTodayLine(TCanvas* c, TColor Text) const {
  const int th = c->TextHeight("Wg");
  const TRect r = TodayRect();
  int x = r.Left + 2;
  if (FShowTodayCircle) {
    const int s = th - 2;
    const int top = r.Top + (r.Height() - s) / 2;
    c->Pen()->SetColor(clRed);
    c->Brush()->SetStyle(bsClear);
    c->Ellipse(x, top, x + 2 * s, top + s);
    x += 2 * s + 4;
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetStyle({fsBold});
  c->Font()->SetColor(Text);
  c->TextOut(x, r.Top + (r.Height() - th) / 2, "Today: " + DateToStr(GetToday()));
}

}  // namespace qel

// The date-time picker: construction, the value and its limits, and the calendar that drops
// down. The pattern language is in DateTimePattern.cpp, editing in DateTimeInput.cpp, geometry
// and painting in DateTimePaint.cpp, the published properties in DateTimeRegistration.cpp.
#include "platform/widgets/DateTimePicker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePickerImpl.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

using namespace dtp_impl;

// ---------------------------------------------------------------- TDateTimePicker

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks, csFramed};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  FDateTime = Now();
  FRepeatWnd = AllocateHWnd([this](TMessage& M) { RepeatTimer(M); });
  FCalendar = new TDTCalendarWindow(this);
  Relayout();
  FCanvas->Font()->Assign(GetFont());
  SetBounds(0, 0, 186, FCanvas->TextHeight("Wg") + 8);
}

TDateTimePicker::~TDateTimePicker() {
  if (FRepeatWnd) DeallocateHWnd(FRepeatWnd);
  // The calendar may sit on the form rather than on the picker; it goes with the picker.
  delete FCalendar;
}

void TDateTimePicker::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FCalendar) FCalendar = nullptr, FDropped = false;
}

TMonthCalendar* TDateTimePicker::Calendar() const { return FCalendar; }

// ---- value

TDateTime TDateTimePicker::ClampValue(TDateTime Value) const {
  if (std::isnan(Value)) return FDateTime;
  // By whole days: before the epoch a time of day makes the value more negative, so clamping
  // the value itself would take the time from every moment of 0001-01-01.
  TDateTime d = DatePart(std::clamp(Value, MinDateTime - 1, MaxDateTime));
  TDateTime t = std::isinf(Value) ? 0 : TimePart(Value);
  d = std::max(d, MinDateTime);
  if (FMinDate != 0 && d < FMinDate) d = FMinDate;
  if (FMaxDate != 0 && d > FMaxDate) d = FMaxDate;
  return std::min(ComposeDateTime(d, t), MaxDateTime);
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  TDateTime v = ClampValue(Value);
  FPending.clear();
  if (v == FDateTime) return;
  FDateTime = v;
  Invalidate();
}

TDateTime TDateTimePicker::GetDate() const { return DatePart(FDateTime); }
TDateTime TDateTimePicker::GetTime() const { return TimePart(FDateTime); }

void TDateTimePicker::SetDate(TDateTime Value) {
  if (std::isnan(Value)) return;
  SetDateTime(
      ComposeDateTime(DatePart(std::clamp(Value, MinDateTime, MaxDateTime)), TimePart(FDateTime)));
}

void TDateTimePicker::SetTime(TDateTime Value) {
  if (std::isnan(Value)) return;
  SetDateTime(ComposeDateTime(DatePart(FDateTime), TimePart(Value)));
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
  if (std::isnan(Value)) return;
  TDateTime v = Value == 0 ? 0 : DatePart(std::clamp(Value, MinDateTime, MaxDateTime));
  if (v != 0 && FMaxDate != 0 && v > FMaxDate)
    throw EDateTimeError("Minimum date " + DateToStr(v) + " is after the maximum date " +
                         DateToStr(FMaxDate));
  FMinDate = v;
  FDateTime = ClampValue(FDateTime);
  Invalidate();
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
  if (std::isnan(Value)) return;
  TDateTime v = Value == 0 ? 0 : DatePart(std::clamp(Value, MinDateTime, MaxDateTime));
  if (v != 0 && FMinDate != 0 && v < FMinDate)
    throw EDateTimeError("Maximum date " + DateToStr(v) + " is before the minimum date " +
                         DateToStr(FMinDate));
  FMaxDate = v;
  FDateTime = ClampValue(FDateTime);
  Invalidate();
}

void TDateTimePicker::UserSetValue(TDateTime Value) {
  TDateTime v = ClampValue(Value);
  if (v == FDateTime) {
    Invalidate();  // typed digits may have been shown in place of the field
    return;
  }
  FDateTime = v;
  Invalidate();
  Change();
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

void TDateTimePicker::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TDateTimePicker::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

// ---- the calendar

TRect TDateTimePicker::CalendarBounds() const {
  TForm* f = GetParentForm();
  TPoint o = f ? ClientToParent({0, 0}, f) : TPoint{GetLeft(), GetTop()};
  TSize s = FCalendar ? FCalendar->PreferredSize() : TSize{0, 0};
  int top = o.Y + GetHeight();
  // Below the box when it fits, else above it when there is room there.
  if (f && top + s.cy > f->ClientHeight() && o.Y - s.cy >= 0) top = o.Y - s.cy;
  int left = o.X;
  if (f && left + s.cx > f->ClientWidth()) left = std::max(0, f->ClientWidth() - s.cx);
  return Bounds(left, top, s.cx, s.cy);
}

void TDateTimePicker::OpenCalendar() {
  if (FDropped || !FCalendar || !HasDropDown() || !IsEnabledInTree()) return;
  if (FShowCheckbox && !FChecked) return;
  TForm* f = GetParentForm();
  if (!f) return;
  CommitPending();
  DropDown();
  if (!FCalendar || FDropped) return;  // the handler may have destroyed or opened it
  FDropped = true;
  FCalendar->GetFont()->Assign(GetFont());
  FCalendar->SetMinDate(0);
  FCalendar->SetMaxDate(0);
  FCalendar->SetMinDate(FMinDate);
  FCalendar->SetMaxDate(FMaxDate);
  FCalendar->SetDate(GetDate());
  FCalendar->SetParent(f);
  FCalendar->SetBoundsRect(CalendarBounds());
  FCalendar->SetVisible(true);
  FCalendar->BringToFront();
  f->SetCaptureControl(FCalendar);
  Invalidate();
}

void TDateTimePicker::CloseCalendar(bool Accept) {
  if (!FDropped) return;
  FDropped = false;
  if (FCalendar) {
    if (TForm* f = FCalendar->GetParentForm(); f && f->CaptureControl() == FCalendar)
      f->SetCaptureControl(nullptr);
    FCalendar->SetVisible(false);
    FCalendar->SetParent(nullptr);
  }
  Invalidate();
  if (Accept && FCalendar) UserSetValue(ComposeDateTime(FCalendar->GetDate(), GetTime()));
  CloseUp();
}

}  // namespace qel

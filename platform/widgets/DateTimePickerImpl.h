#pragma once
// Internal to the date-time picker's sources (pattern language, input, painting): shared
// helpers and the drop-down calendar window. Not part of the public API.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/rtl/DateTime.h"
#include "platform/widgets/DateTimePicker.h"

namespace qel::dtp_impl {

constexpr int kBorder = 2;
constexpr int kDropButtonWidth = 17;
constexpr int kSpinWidth = 15;
constexpr int kCheckSize = 13;

inline TDateTime DatePart(TDateTime V) { return std::trunc(V); }
// The time of day, also for days before the epoch (-1.25 is day -1 at 06:00).
inline TDateTime TimePart(TDateTime V) { return std::fabs(V - std::trunc(V)); }

// ASCII letters folded to lower case, for prefix matching of names.
inline std::string Folded(const std::string& S) {
  std::string r = S;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

inline bool StartsWith(const std::string& S, const std::string& Prefix) {
  return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

// A one- or two-digit year put into the century window of the format settings.
inline int WindowedYear(int TwoDigits, const TFormatSettings& S) {
  int y, m, d;
  DecodeDate(qel::Date(), y, m, d);
  int base = y - std::max(S.TwoDigitYearCenturyWindow, 0);
  int r = TwoDigits + base - base % 100;
  if (S.TwoDigitYearCenturyWindow > 0 && r < base) r += 100;
  return r;
}

}  // namespace qel::dtp_impl

namespace qel {

// The month calendar as the picker drops it down: on the form above everything, holding the
// capture; a chosen day closes it with that day, a press outside closes it without.
class TDTCalendarWindow : public TMonthCalendar {
 public:
  explicit TDTCalendarWindow(TDateTimePicker* Picker) : TMonthCalendar(Picker), FPicker(Picker) {
    SetTabStop(false);
    SetVisible(false);
    // The capture is taken when it opens and kept until it closes, not just while a button
    // is down.
    FControlStyle >> csCaptureMouse;
  }
  std::string ClassName() const override { return "TDTCalendarWindow"; }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    if (!GetClientRect().Contains({X, Y})) {
      FPicker->CloseCalendar(false);
      return;
    }
    TMonthCalendar::MouseDown(Button, Shift, X, Y);
  }

 protected:
  void DayChosen() override { FPicker->CloseCalendar(true); }
  void WMCancelMode(TMessage& Message) override {
    TMonthCalendar::WMCancelMode(Message);
    if (FPicker->FDropped) FPicker->CloseCalendar(false);
  }

 private:
  TDateTimePicker* FPicker;
};

}  // namespace qel

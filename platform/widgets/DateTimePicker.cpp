// The date-time picker: display patterns, field-wise editing, spin buttons and the calendar that
// drops down; and the registration of both date controls.
#include "platform/widgets/DateTimePicker.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/controls/Messages.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
constexpr int kBorder = 2;
constexpr int kDropButtonWidth = 17;
constexpr int kSpinWidth = 15;
constexpr int kCheckSize = 13;

TDateTime DatePart(TDateTime V) { return std::trunc(V); }
// The time of day, also for days before the epoch (-1.25 is day -1 at 06:00).
TDateTime TimePart(TDateTime V) { return std::fabs(V - std::trunc(V)); }

std::string Padded(int V, int Width) {
  std::string s = std::to_string(V < 0 ? -V : V);
  if (static_cast<int>(s.size()) < Width) s.insert(0, static_cast<size_t>(Width) - s.size(), '0');
  return V < 0 ? "-" + s : s;
}

bool IsPatternLetter(char C) {
  return C == 'd' || C == 'M' || C == 'y' || C == 'h' || C == 'H' || C == 'm' || C == 's' ||
         C == 't';
}

int MaxRun(char C) { return C == 'd' || C == 'M' || C == 'y' ? 4 : 2; }

TDTFieldKind KindOf(char C, int Length) {
  switch (C) {
    case 'd':
      return Length <= 2 ? fkDay : fkDayName;
    case 'M':
      return Length <= 2 ? fkMonth : fkMonthName;
    case 'y':
      return Length == 1 ? fkYear1 : Length == 2 ? fkYear2 : fkYear4;
    case 'h':
      return fkHour12;
    case 'H':
      return fkHour24;
    case 'm':
      return fkMinute;
    case 's':
      return fkSecond;
    default:
      return fkAmPm;
  }
}

void AddLiteral(std::vector<TDTPatternItem>& Items, const std::string& S) {
  if (S.empty()) return;
  if (!Items.empty() && Items.back().Kind == fkLiteral)
    Items.back().Text += S;
  else
    Items.push_back({fkLiteral, 0, S});
}

// ASCII letters folded to lower case, for prefix matching of names.
std::string Folded(const std::string& S) {
  std::string r = S;
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

bool StartsWith(const std::string& S, const std::string& Prefix) {
  return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

// A one- or two-digit year put into the century window of the format settings.
int WindowedYear(int TwoDigits, const TFormatSettings& S) {
  int y, m, d;
  DecodeDate(qel::Date(), y, m, d);
  int base = y - std::max(S.TwoDigitYearCenturyWindow, 0);
  int r = TwoDigits + base - base % 100;
  if (S.TwoDigitYearCenturyWindow > 0 && r < base) r += 100;
  return r;
}

// Appends picker literal text, quoting it when it holds a pattern letter or a quote.
void AppendLiteral(std::string& Out, const std::string& Text) {
  if (Text.empty()) return;
  bool quote =
      std::any_of(Text.begin(), Text.end(), [](char c) { return IsPatternLetter(c) || c == '\''; });
  if (!quote) {
    Out += Text;
    return;
  }
  // Right after another quoted literal (the end of a nested format) the quote is reopened
  // rather than a new one begun: "'a''b'" would read as a'b.
  if (!Out.empty() && Out.back() == '\'')
    Out.pop_back();
  else
    Out += '\'';
  for (char c : Text) {
    if (c == '\'') Out += '\'';
    Out += c;
  }
  Out += '\'';
}

// Appends a field token. One that follows a field of the same letter is parted from it by an
// empty quote ("H''H"), or the two would read as one longer token.
void AppendField(std::string& Out, const std::string& Token) {
  if (!Out.empty() && !Token.empty() && Out.back() == Token[0]) Out += "''";
  Out += Token;
}

bool HasAmPm(const std::string& F) {
  std::string f = Folded(F);
  return f.find("am/pm") != std::string::npos || f.find("a/p") != std::string::npos ||
         f.find("ampm") != std::string::npos;
}

void RtlToPicker(const std::string& F, const TFormatSettings& S, std::string& Out, int Depth) {
  if (Depth > 3) return;  // a settings format that refers to itself
  bool twelve = HasAmPm(F);
  bool afterHour = false;
  size_t i = 0, n = F.size();
  std::string lit;
  auto flush = [&] {
    AppendLiteral(Out, lit);
    lit.clear();
  };
  while (i < n) {
    char c = F[i];
    char lc = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    std::string rest = Folded(F.substr(i, 5));
    if (c == '"' || c == '\'') {
      size_t e = F.find(c, i + 1);
      lit += F.substr(i + 1, e == std::string::npos ? std::string::npos : e - i - 1);
      i = e == std::string::npos ? n : e + 1;
      continue;
    }
    if (c == '/') {
      lit += S.DateSeparator;
      ++i;
      continue;
    }
    if (c == ':') {
      lit += S.TimeSeparator;
      ++i;
      continue;
    }
    if (StartsWith(rest, "am/pm") || StartsWith(rest, "ampm")) {
      flush();
      AppendField(Out, "tt");
      i += StartsWith(rest, "ampm") ? 4 : 5;
      continue;
    }
    if (StartsWith(rest, "a/p")) {
      flush();
      AppendField(Out, "t");
      i += 3;
      continue;
    }
    if (lc != 'd' && lc != 'm' && lc != 'y' && lc != 'h' && lc != 'n' && lc != 's' && lc != 'z' &&
        lc != 't' && lc != 'c') {
      lit += c;
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && (F[j] == c || F[j] == static_cast<char>(lc - 'a' + 'A') || F[j] == lc)) ++j;
    int run = static_cast<int>(j - i);
    i = j;
    flush();
    switch (lc) {
      case 'c':
        RtlToPicker(S.ShortDateFormat, S, Out, Depth + 1);
        Out += ' ';
        RtlToPicker(S.LongTimeFormat, S, Out, Depth + 1);
        break;
      case 'd':
        if (run <= 4)
          AppendField(Out, std::string(static_cast<size_t>(run), 'd'));
        else
          RtlToPicker(run == 5 ? S.ShortDateFormat : S.LongDateFormat, S, Out, Depth + 1);
        break;
      case 'y':
        AppendField(Out, run <= 2 ? "yy" : "yyyy");
        break;
      case 'm':
        if (afterHour)
          AppendField(Out, run >= 2 ? "mm" : "m");
        else
          AppendField(Out, std::string(static_cast<size_t>(std::min(run, 4)), 'M'));
        break;
      case 'n':
        AppendField(Out, run >= 2 ? "mm" : "m");
        break;
      case 'h':
        AppendField(Out, std::string(run >= 2 ? 2 : 1, twelve ? 'h' : 'H'));
        break;
      case 's':
        AppendField(Out, run >= 2 ? "ss" : "s");
        break;
      case 't':
        RtlToPicker(run >= 2 ? S.LongTimeFormat : S.ShortTimeFormat, S, Out, Depth + 1);
        break;
      default:  // z: the picker has no millisecond field
        break;
    }
    afterHour = lc == 'h';
  }
  flush();
}
}  // namespace

// ---------------------------------------------------------------- display patterns

std::vector<TDTPatternItem> ParseDTPattern(const std::string& Pattern) {
  std::vector<TDTPatternItem> items;
  size_t i = 0, n = Pattern.size();
  while (i < n) {
    char c = Pattern[i];
    if (c == '\'') {
      std::string lit;
      ++i;
      while (i < n) {
        if (Pattern[i] == '\'') {
          if (i + 1 < n && Pattern[i + 1] == '\'') {
            lit += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        lit += Pattern[i++];
      }
      AddLiteral(items, lit);
      continue;
    }
    if (!IsPatternLetter(c)) {
      AddLiteral(items, std::string(1, c));
      ++i;
      continue;
    }
    size_t j = i;
    while (j < n && Pattern[j] == c) ++j;
    int run = static_cast<int>(j - i);
    while (run > 0) {
      int len = std::min(run, MaxRun(c));
      items.push_back({KindOf(c, len), len, std::string()});
      run -= len;
    }
    i = j;
  }
  return items;
}

std::string FormatDTItem(const TDTPatternItem& Item, TDateTime Value,
                         const TFormatSettings& Settings) {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(Value, y, mo, d, h, mi, s, ms);
  bool two = Item.Length >= 2;
  switch (Item.Kind) {
    case fkLiteral:
      return Item.Text;
    case fkDay:
      return Padded(d, two ? 2 : 1);
    case fkDayName: {
      if (mo < 1) return std::string();
      auto dow = static_cast<size_t>(DayOfWeek(Value) - 1);
      return Item.Length == 3 ? Settings.ShortDayNames[dow] : Settings.LongDayNames[dow];
    }
    case fkMonth:
      return Padded(mo, two ? 2 : 1);
    case fkMonthName:
      if (mo < 1) return std::string();
      return Item.Length == 3 ? Settings.ShortMonthNames[static_cast<size_t>(mo - 1)]
                              : Settings.LongMonthNames[static_cast<size_t>(mo - 1)];
    case fkYear1:
      return std::to_string(y % 10);
    case fkYear2:
      return Padded(y % 100, 2);
    case fkYear4:
      return Padded(y, 4);
    case fkHour12:
      return Padded(h % 12 == 0 ? 12 : h % 12, two ? 2 : 1);
    case fkHour24:
      return Padded(h, two ? 2 : 1);
    case fkMinute:
      return Padded(mi, two ? 2 : 1);
    case fkSecond:
      return Padded(s, two ? 2 : 1);
    case fkAmPm: {
      const std::string& full = h < 12 ? Settings.TimeAMString : Settings.TimePMString;
      return two || full.empty() ? full : full.substr(0, 1);
    }
  }
  return std::string();
}

std::string FormatDTPattern(const std::string& Pattern, TDateTime Value) {
  TFormatSettings fs = GetFormatSettings();
  std::string r;
  for (const TDTPatternItem& it : ParseDTPattern(Pattern)) r += FormatDTItem(it, Value, fs);
  return r;
}

std::string DTPatternFromRtlFormat(const std::string& Format, const TFormatSettings& Settings) {
  std::string out;
  RtlToPicker(Format, Settings, out, 0);
  return out;
}

// ---------------------------------------------------------------- the drop-down calendar

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

// ---- pattern and fields

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (Value > dtkTime || Value == FKind) return;
  if (FDropped) CloseCalendar(false);
  FKind = Value;
  Relayout();
}

void TDateTimePicker::SetFormat(const std::string& Value) {
  if (Value == FFormat) return;
  FFormat = Value;
  Relayout();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
  if (Value > dfLong || Value == FDateFormat) return;
  FDateFormat = Value;
  Relayout();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
  if (Value > dmUpDown || Value == FDateMode) return;
  if (FDropped) CloseCalendar(false);
  FDateMode = Value;
  Invalidate();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
  if (Value == FShowCheckbox) return;
  FShowCheckbox = Value;
  Invalidate();
}

void TDateTimePicker::SetChecked(bool Value) {
  if (Value == FChecked) return;
  FChecked = Value;
  FPending.clear();
  if (!Value && FDropped) CloseCalendar(false);
  Invalidate();
}

void TDateTimePicker::SetDroppedDown(bool Value) {
  if (Value)
    OpenCalendar();
  else
    CloseCalendar(false);
}

std::string TDateTimePicker::EffectivePattern() const {
  if (!FFormat.empty()) return FFormat;
  TFormatSettings fs = GetFormatSettings();
  if (FKind == dtkTime) return DTPatternFromRtlFormat(fs.LongTimeFormat, fs);
  return DTPatternFromRtlFormat(FDateFormat == dfLong ? fs.LongDateFormat : fs.ShortDateFormat, fs);
}

void TDateTimePicker::Relayout() {
  FItems = ParseDTPattern(EffectivePattern());
  FPending.clear();
  FLetters.clear();
  FSelected = NextField(-1, 1);
  Invalidate();
}

std::string TDateTimePicker::DisplayText() const {
  TFormatSettings fs = GetFormatSettings();
  std::string r;
  for (const TDTPatternItem& it : FItems) r += FormatDTItem(it, FDateTime, fs);
  return r;
}

int TDateTimePicker::NextField(int From, int Dir) const {
  int n = static_cast<int>(FItems.size());
  for (int i = From + Dir; i >= 0 && i < n; i += Dir)
    if (FItems[static_cast<size_t>(i)].Kind != fkLiteral) return i;
  return -1;
}

void TDateTimePicker::SetSelectedField(int Index) {
  CommitPending();
  int n = static_cast<int>(FItems.size());
  if (Index < 0 || Index >= n || FItems[static_cast<size_t>(Index)].Kind == fkLiteral) {
    // The field at or after Index, else the one before it.
    int from = std::clamp(Index, 0, n);
    int f = NextField(from - 1, 1);
    if (f < 0) f = NextField(from, -1);
    Index = f;
  }
  FLetters.clear();
  if (Index == FSelected) return;
  FSelected = Index;
  Invalidate();
}

bool TDateTimePicker::Editable() const {
  return IsEnabledInTree() && (!FShowCheckbox || FChecked) && FSelected >= 0;
}

void TDateTimePicker::FieldRange(TDTFieldKind K, int& Lo, int& Hi) const {
  int y, m, d;
  DecodeDate(FDateTime, y, m, d);
  switch (K) {
    case fkDay:
      Lo = 1, Hi = DaysInMonth(y, m);
      break;
    case fkDayName:
      Lo = 1, Hi = 7;
      break;
    case fkMonth:
    case fkMonthName:
      Lo = 1, Hi = 12;
      break;
    case fkYear1:
    case fkYear2:
    case fkYear4: {
      // With limits set, the years between them are the range, so wrapping stays inside.
      int mm, dd;
      Lo = 1, Hi = 9999;
      if (FMinDate != 0) DecodeDate(FMinDate, Lo, mm, dd);
      if (FMaxDate != 0) DecodeDate(FMaxDate, Hi, mm, dd);
      break;
    }
    case fkHour12:
      Lo = 1, Hi = 12;
      break;
    case fkHour24:
      Lo = 0, Hi = 23;
      break;
    case fkMinute:
    case fkSecond:
      Lo = 0, Hi = 59;
      break;
    case fkAmPm:
      Lo = 0, Hi = 1;
      break;
    default:
      Lo = Hi = 0;
      break;
  }
}

int TDateTimePicker::FieldValue(TDTFieldKind K) const {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(FDateTime, y, mo, d, h, mi, s, ms);
  switch (K) {
    case fkDay:
      return d;
    case fkDayName:
      return DayOfTheWeek(FDateTime);
    case fkMonth:
    case fkMonthName:
      return mo;
    case fkYear1:
    case fkYear2:
    case fkYear4:
      return y;
    case fkHour12:
      return h % 12 == 0 ? 12 : h % 12;
    case fkHour24:
      return h;
    case fkMinute:
      return mi;
    case fkSecond:
      return s;
    case fkAmPm:
      return h < 12 ? 0 : 1;
    default:
      return 0;
  }
}

TDateTime TDateTimePicker::WithField(TDTFieldKind K, int V) const {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(FDateTime, y, mo, d, h, mi, s, ms);
  switch (K) {
    case fkDay:
      d = V;
      break;
    case fkDayName:
      // Days are added to the date alone: before the epoch the time counts downwards.
      return ComposeDateTime(DatePart(FDateTime) + (V - DayOfTheWeek(FDateTime)),
                             TimePart(FDateTime));
    case fkMonth:
    case fkMonthName:
      mo = V;
      break;
    case fkYear1:
    case fkYear2:
    case fkYear4:
      y = V;
      break;
    case fkHour12:
      h = V % 12 + (h >= 12 ? 12 : 0);
      break;
    case fkHour24:
      h = V;
      break;
    case fkMinute:
      mi = V;
      break;
    case fkSecond:
      s = V;
      break;
    case fkAmPm:
      h = h % 12 + (V ? 12 : 0);
      break;
    default:
      return FDateTime;
  }
  y = std::clamp(y, 1, 9999);
  mo = std::clamp(mo, 1, 12);
  // A day that the new month or year lacks (31 April, 29 February) becomes its last day.
  d = std::clamp(d, 1, DaysInMonth(y, mo));
  return ComposeDateTime(EncodeDate(y, mo, d),
                         EncodeTime(std::clamp(h, 0, 23), std::clamp(mi, 0, 59),
                                    std::clamp(s, 0, 59), std::clamp(ms, 0, 999)));
}

void TDateTimePicker::StepField(int Delta) {
  if (!Editable()) return;
  CommitPending();
  TDTFieldKind k = FItems[static_cast<size_t>(FSelected)].Kind;
  int lo, hi;
  FieldRange(k, lo, hi);
  int span = hi - lo + 1;
  if (span <= 0) return;
  int v = FieldValue(k);
  v = lo + (((v - lo + Delta) % span) + span) % span;
  UserSetValue(WithField(k, v));
}

bool TDateTimePicker::CommitPending() {
  if (FPending.empty()) return false;
  std::string digits = FPending;
  FPending.clear();
  if (FSelected < 0) return true;
  TDTFieldKind k = FItems[static_cast<size_t>(FSelected)].Kind;
  int n = std::stoi(digits);
  int v = n;
  int lo, hi;
  FieldRange(k, lo, hi);
  switch (k) {
    case fkYear1:
      v = FieldValue(k) - FieldValue(k) % 10 + n;
      break;
    case fkYear2:
      v = WindowedYear(n, GetFormatSettings());
      break;
    case fkYear4:
      // Two digits or fewer mean a year of the century window, as date texts read.
      v = digits.size() <= 2 ? WindowedYear(n, GetFormatSettings()) : n;
      break;
    default:
      v = std::clamp(n, lo, hi);
      break;
  }
  UserSetValue(WithField(k, std::clamp(v, 1, 9999)));
  return true;
}

void TDateTimePicker::TypeDigit(int Digit) {
  if (!Editable()) {
    MessageBeep(MB_OK);
    return;
  }
  TDTFieldKind k = FItems[static_cast<size_t>(FSelected)].Kind;
  if (k == fkDayName || k == fkAmPm) {
    MessageBeep(MB_OK);
    return;
  }
  FLetters.clear();
  FPending += static_cast<char>('0' + Digit);
  int len = static_cast<int>(FPending.size());
  bool complete;
  switch (k) {
    case fkYear1:
      complete = true;
      break;
    case fkYear2:
      complete = len >= 2;
      break;
    case fkYear4:
      complete = len >= 4;
      break;
    default: {
      // Two digits at most; a first digit that no valid two-digit value starts with is the
      // whole value.
      int lo, hi;
      FieldRange(k, lo, hi);
      complete = len >= 2 || Digit * 10 > hi;
      break;
    }
  }
  if (!complete) {
    Invalidate();
    return;
  }
  CommitPending();
  int next = NextField(FSelected, 1);
  if (next >= 0) SetSelectedField(next);
  FAutoAdvanced = next >= 0;
}

void TDateTimePicker::TypeLetter(char32_t Ch) {
  if (!Editable()) {
    MessageBeep(MB_OK);
    return;
  }
  CommitPending();
  TDTFieldKind k = FItems[static_cast<size_t>(FSelected)].Kind;
  TFormatSettings fs = GetFormatSettings();
  char32_t low = edittext::FoldAscii(Ch);
  if (k == fkAmPm) {
    std::string am = Folded(fs.TimeAMString), pm = Folded(fs.TimePMString);
    if (low == 'a' || (!am.empty() && static_cast<unsigned char>(am[0]) == low))
      UserSetValue(WithField(k, 0));
    else if (low == 'p' || (!pm.empty() && static_cast<unsigned char>(pm[0]) == low))
      UserSetValue(WithField(k, 1));
    else
      MessageBeep(MB_OK);
    return;
  }
  if (k != fkMonthName && k != fkDayName) {
    MessageBeep(MB_OK);
    return;
  }
  // Names by prefix: letters typed in a row narrow the choice; a letter that fits no name
  // starts afresh, and the same single letter again moves on to the next name with it.
  std::vector<std::string> names;
  if (k == fkMonthName) {
    for (const std::string& s : fs.LongMonthNames) names.push_back(Folded(s));
  } else {
    for (int i = 1; i <= 7; ++i)
      names.push_back(Folded(fs.LongDayNames[static_cast<size_t>(i % 7)]));
  }
  int count = static_cast<int>(names.size());
  int cur = FieldValue(k) - 1;  // 0-based: January, or Monday
  auto find = [&](const std::string& Prefix, int From) {
    for (int step = 0; step < count; ++step) {
      int i = (From + step) % count;
      if (StartsWith(names[static_cast<size_t>(i)], Prefix)) return i;
    }
    return -1;
  };
  std::string letter = edittext::Encode(low);
  int hit = -1;
  if (!FLetters.empty()) {
    hit = find(FLetters + letter, cur);
    if (hit >= 0) FLetters += letter;
  }
  if (hit < 0) {
    hit = find(letter, cur + 1);
    FLetters = letter;
  }
  if (hit < 0) {
    FLetters.clear();
    MessageBeep(MB_OK);
    return;
  }
  UserSetValue(WithField(k, hit + 1));
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

// ---- geometry

TRect TDateTimePicker::ButtonRect() const {
  int w = GetWidth(), h = GetHeight();
  int bw = std::min(HasSpinButtons() ? kSpinWidth : kDropButtonWidth, std::max(0, w - 2 * kBorder));
  return Rect(w - kBorder - bw, kBorder, w - kBorder, std::max(kBorder, h - kBorder));
}

TRect TDateTimePicker::UpButtonRect() const {
  if (!HasSpinButtons()) return {};
  TRect b = ButtonRect();
  return Rect(b.Left, b.Top, b.Right, b.Top + b.Height() / 2);
}

TRect TDateTimePicker::DownButtonRect() const {
  if (!HasSpinButtons()) return {};
  TRect b = ButtonRect();
  return Rect(b.Left, b.Top + b.Height() / 2, b.Right, b.Bottom);
}

TRect TDateTimePicker::CheckboxRect() const {
  if (!FShowCheckbox) return {};
  int top = (GetHeight() - kCheckSize) / 2;
  return Bounds(kBorder + 2, top, kCheckSize, kCheckSize);
}

TRect TDateTimePicker::TextRect() const {
  int left = FShowCheckbox ? CheckboxRect().Right + 2 : kBorder + 1;
  TRect b = ButtonRect();
  return Rect(left, kBorder + 1, std::max(left, b.Left - 1),
              std::max(kBorder + 1, GetHeight() - kBorder - 1));
}

TRect TDateTimePicker::ItemRect(int Index) const {
  TRect t = TextRect();
  FCanvas->Font()->Assign(GetFont());
  int th = FCanvas->TextHeight("Wg");
  int top = t.Top + (t.Height() - th) / 2;
  TFormatSettings fs = GetFormatSettings();
  int x = t.Left + 2;
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n && i <= Index; ++i) {
    std::string s = i == FSelected && !FPending.empty()
                        ? FPending
                        : FormatDTItem(FItems[static_cast<size_t>(i)], FDateTime, fs);
    int w = FCanvas->TextWidth(s);
    if (i == Index) return Rect(x, top, x + w, top + th);
    x += w;
  }
  return {};
}

int TDateTimePicker::FieldAtPos(TPoint P) const {
  int best = -1, bestDist = 0;
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n; ++i) {
    if (FItems[static_cast<size_t>(i)].Kind == fkLiteral) continue;
    TRect r = ItemRect(i);
    int dist = P.X < r.Left ? r.Left - P.X : P.X >= r.Right ? P.X - r.Right + 1 : 0;
    if (best < 0 || dist < bestDist) best = i, bestDist = dist;
  }
  return best;
}

// ---- input

void TDateTimePicker::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  bool alt = Shift.Contains(ssAlt);
  bool dropKey = Key == VK_F4 || (alt && (Key == VK_DOWN || Key == VK_UP));
  if (FDropped) {
    if (Key == VK_RETURN || dropKey)
      CloseCalendar(true);
    else if (Key == VK_ESCAPE)
      CloseCalendar(false);
    else if (FCalendar)
      FCalendar->KeyDown(Key, Shift);
    Key = 0;
    return;
  }
  if (dropKey) {
    if (HasDropDown()) OpenCalendar();
    Key = 0;
    return;
  }
  if (Key == VK_SPACE && FShowCheckbox) {
    SetChecked(!FChecked);
    Change();
    Key = 0;
    return;
  }
  if (!Editable()) return;
  int lo, hi;
  TDTFieldKind k = FItems[static_cast<size_t>(FSelected)].Kind;
  switch (Key) {
    case VK_LEFT:
    case VK_RIGHT: {
      int next = NextField(FSelected, Key == VK_LEFT ? -1 : 1);
      if (next >= 0)
        SetSelectedField(next);
      else
        CommitPending();
      break;
    }
    case VK_UP:
      StepField(1);
      break;
    case VK_DOWN:
      StepField(-1);
      break;
    case VK_HOME:
    case VK_END:
      CommitPending();
      FieldRange(k, lo, hi);
      UserSetValue(WithField(k, Key == VK_HOME ? lo : hi));
      break;
    case VK_BACK:
      if (FPending.empty()) return;
      FPending.pop_back();
      Invalidate();
      break;
    case VK_ESCAPE:
      // Drops digits typed but not yet applied; otherwise Esc belongs to the dialog.
      if (FPending.empty()) return;
      FPending.clear();
      Invalidate();
      break;
    case VK_RETURN:
      if (!CommitPending()) return;
      break;
    default:
      return;
  }
  FAutoAdvanced = false;
  Key = 0;
}

void TDateTimePicker::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (Key < 0x20 || FDropped) return;
  if (Key == ' ' && FShowCheckbox) {
    Key = 0;  // the key-down toggled the box
    return;
  }
  if (Key >= '0' && Key <= '9') {
    TypeDigit(static_cast<int>(Key - '0'));
  } else if (Key < 0x80 && !std::isalpha(static_cast<int>(Key))) {
    // Typing the separator that follows the field finishes it: "5.3." enters day and month.
    // After a field completed itself the separator typed out of habit is taken silently.
    auto hasSep = [&](int Index) {
      return Index >= 0 && Index < static_cast<int>(FItems.size()) &&
             FItems[static_cast<size_t>(Index)].Kind == fkLiteral &&
             FItems[static_cast<size_t>(Index)].Text.find(static_cast<char>(Key)) !=
                 std::string::npos;
    };
    int next = Editable() ? NextField(FSelected, 1) : -1;
    bool habit = Editable() && FAutoAdvanced && FPending.empty() && hasSep(FSelected - 1);
    if (!habit && next >= 0 && hasSep(FSelected + 1))
      SetSelectedField(next);
    else if (!habit)
      MessageBeep(MB_OK);
  } else {
    TypeLetter(Key);
  }
  FAutoAdvanced = FAutoAdvanced && Key >= '0' && Key <= '9';
  Key = 0;
}

void TDateTimePicker::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !IsEnabledInTree()) return;
  if (CanFocus() && !Focused()) SetFocus();
  TPoint p{X, Y};
  if (CheckboxRect().Contains(p)) {
    SetChecked(!FChecked);
    Change();
    return;
  }
  if (HasDropDown() && ButtonRect().Contains(p)) {
    if (FDropped)
      CloseCalendar(false);
    else
      OpenCalendar();
    return;
  }
  if (UpButtonRect().Contains(p) || DownButtonRect().Contains(p)) {
    FSpinPressed = UpButtonRect().Contains(p) ? 1 : -1;
    FSpinOver = true;
    StepField(FSpinPressed);
    SetTimer(FRepeatWnd, 1, RepeatDelay);
    Invalidate();
    return;
  }
  FAutoAdvanced = false;
  if (TextRect().Contains(p) && (!FShowCheckbox || FChecked)) SetSelectedField(FieldAtPos(p));
}

void TDateTimePicker::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FSpinPressed == 0) return;
  // Sliding off the held button pauses the repeat (and shows it raised) until it comes back.
  TRect b = FSpinPressed > 0 ? UpButtonRect() : DownButtonRect();
  bool over = b.Contains({X, Y});
  if (over == FSpinOver) return;
  FSpinOver = over;
  Invalidate();
}

void TDateTimePicker::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  StopSpin();
}

void TDateTimePicker::StopSpin() {
  KillTimer(FRepeatWnd, 1);
  if (FSpinPressed == 0) return;
  FSpinPressed = 0;
  FSpinOver = false;
  Invalidate();
}

void TDateTimePicker::RepeatTimer(TMessage& Message) {
  if (Message.Msg != WM_TIMER) return;
  if (FSpinPressed == 0) {
    KillTimer(FRepeatWnd, 1);
    return;
  }
  SetTimer(FRepeatWnd, 1, RepeatInterval);
  if (FSpinOver) StepField(FSpinPressed);
}

void TDateTimePicker::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  StopSpin();
}

bool TDateTimePicker::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (WheelDelta != 0) StepField(WheelDelta > 0 ? 1 : -1);
  return true;
}

void TDateTimePicker::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  Invalidate();
}

void TDateTimePicker::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  if (!GetEnabled() && FDropped) CloseCalendar(false);
  Invalidate();
}

void TDateTimePicker::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TDateTimePicker::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  StopSpin();
  CommitPending();
  FLetters.clear();
  if (FDropped) CloseCalendar(false);
  Invalidate();
}

void TDateTimePicker::WMGetDlgCode(TMessage& Message) {
  TCustomControl::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TDateTimePicker::CMWantSpecialKey(TMessage& Message) {
  // Enter and Esc belong to the open calendar, or to digits typed but not applied yet.
  bool special = Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE;
  Message.Result = special && (FDropped || !FPending.empty()) ? 1 : 0;
}

// ---- painting

void TDateTimePicker::Paint() {
  TCanvas* c = FCanvas.get();
  TRect r = GetClientRect();
  bool enabled = IsEnabledInTree();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(enabled ? GetColor() : clBtnFace);
  c->FillRect(r);
  TRect f = r;
  wp::Frame3D(c, f, clBtnShadow, clBtnHighlight, 1);
  wp::Frame3D(c, f, clWindowFrame, clBtnFace, 1);

  if (FShowCheckbox) {
    TRect box = CheckboxRect();
    c->Brush()->SetColor(enabled ? clWindow : clBtnFace);
    c->FillRect(box);
    TRect fr = box;
    wp::Frame3D(c, fr, clBtnShadow, clBtnHighlight, 1);
    wp::Frame3D(c, fr, cl3DDkShadow, cl3DLight, 1);
    if (FChecked) {
      // A tick three pixels thick.
      c->Pen()->SetColor(enabled ? clWindowText : clGrayText);
      for (int i = 0; i < 3; ++i) {
        c->MoveTo(box.Left + 3, box.Top + 5 + i);
        c->LineTo(box.Left + 5, box.Top + 7 + i);
        c->LineTo(box.Left + 10, box.Top + 2 + i);
      }
    }
  }

  TColor arrow = enabled ? clBtnText : clGrayText;
  if (HasSpinButtons()) {
    TRect up = UpButtonRect(), down = DownButtonRect();
    wp::ButtonFace(c, up, FSpinPressed == 1 && FSpinOver);
    wp::Arrow(c, up, 0, arrow);
    wp::ButtonFace(c, down, FSpinPressed == -1 && FSpinOver);
    wp::Arrow(c, down, 1, arrow);
  } else {
    TRect b = ButtonRect();
    wp::ButtonFace(c, b, FDropped);
    wp::Arrow(c, b, 1, arrow);
  }

  TRect area = TextRect();
  if (area.IsEmpty()) return;
  c->SetClipRect(area);
  c->Font()->Assign(GetFont());
  bool live = enabled && (!FShowCheckbox || FChecked);
  TColor text = live ? GetFont()->GetColor() : clGrayText;
  TFormatSettings fs = GetFormatSettings();
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n; ++i) {
    TRect ir = ItemRect(i);
    bool sel = i == FSelected && live && Focused();
    std::string s = i == FSelected && !FPending.empty()
                        ? FPending
                        : FormatDTItem(FItems[static_cast<size_t>(i)], FDateTime, fs);
    if (sel) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->FillRect(ir);
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(sel ? clHighlightText : text);
    c->TextOut(ir.Left, ir.Top, s);
  }
  c->ResetClipRect();
}

// ---------------------------------------------------------------- registration

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

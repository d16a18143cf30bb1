// The picker's editing: field selection, stepping and typing (digits, names, a/p), keys, mouse,
// wheel, held spin buttons and focus.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePickerImpl.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

using namespace dtp_impl;

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

}  // namespace qel

// The date-time picker's display patterns and its field editing. A pattern from outside (a form
// file's Format, a translated settings format) must parse into well-formed items that write back
// to the same items, format without harm, and a picker showing it must take any keys: its value
// stays a real date inside its limits, stepping a date field keeps the time of day, a step up
// and back down returns to where it was, and every change the user makes fires OnChange.
//
// Input: 8 bytes of setup (flags, the date, the time, the limits; with flag bit 7 the limit
// bytes double as the date and time separators of the translation's settings), then the pattern
// up to a newline, then one key action a byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Messages.h"
#include "platform/widgets/DateTimePicker.h"

using namespace qel;

namespace {

[[noreturn]] void Fail(const char* What, const std::string& Pattern) {
  std::fprintf(stderr, "%s\n--- pattern ---\n%s\n", What, Pattern.c_str());
  std::abort();
}

char LetterOf(TDTFieldKind K) {
  switch (K) {
    case fkDay:
    case fkDayName:
      return 'd';
    case fkMonth:
    case fkMonthName:
      return 'M';
    case fkYear1:
    case fkYear2:
    case fkYear4:
      return 'y';
    case fkHour12:
      return 'h';
    case fkHour24:
      return 'H';
    case fkMinute:
      return 'm';
    case fkSecond:
      return 's';
    case fkAmPm:
      return 't';
    default:
      return 0;
  }
}

// The items written back as a pattern: every literal quoted, fields as their letters, and an
// empty quote between two fields of one letter so that they do not run together.
std::string WritePattern(const std::vector<TDTPatternItem>& Items) {
  std::string r;
  char last = 0;
  for (const TDTPatternItem& it : Items) {
    if (it.Kind != fkLiteral) {
      if (LetterOf(it.Kind) == last) r += "''";
      last = LetterOf(it.Kind);
      r.append(static_cast<size_t>(it.Length), last);
      continue;
    }
    last = 0;
    r += '\'';
    for (char c : it.Text) {
      if (c == '\'') r += '\'';
      r += c;
    }
    r += '\'';
  }
  return r;
}

// Only digit fields and separators: what the picker and the run-time library must show alike.
bool Plain(const std::string& F) {
  bool plain = F.find_first_of("aAcCtTzZ") == std::string::npos;
  for (char c : F)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
      plain = plain && std::string("dDmMyYhHnNsS").find(c) != std::string::npos;
  return plain;
}

// Settings (separators, a short date format) from the input, or null for the usual ones.
void CheckPattern(const std::string& Pattern, TDateTime Value, const uint8_t* Custom) {
  std::vector<TDTPatternItem> items = ParseDTPattern(Pattern);
  const TFormatSettings fs = GetFormatSettings();
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    const TDTPatternItem& it = items[i];
    if (it.Kind == fkLiteral) {
      if (it.Text.empty() || it.Length != 0) Fail("malformed literal", Pattern);
      if (i > 0 && items[i - 1].Kind == fkLiteral) Fail("adjacent literals", Pattern);
    } else {
      char c = LetterOf(it.Kind);
      int most = c == 'd' || c == 'M' || c == 'y' ? 4 : 2;
      if (it.Length < 1 || it.Length > most || !it.Text.empty()) Fail("malformed field", Pattern);
    }
    joined += FormatDTItem(it, Value, fs);
  }
  if (ParseDTPattern(WritePattern(items)) != items) Fail("written pattern reads differently", Pattern);
  if (FormatDTPattern(Pattern, Value) != joined) Fail("pattern formats unlike its items", Pattern);

  // The pattern as a run-time library format: the translation must read as a picker pattern,
  // and where both speak only digits and separators they must show the same text. With custom
  // settings the text after a \x01 is the short date format ("ddddd" names it); it may not name
  // itself, as the two stop such loops at different depths.
  std::string format = Pattern;
  TFormatSettings rs = fs;
  bool plain = true;
  if (Custom) {
    rs.DateSeparator = static_cast<char>(Custom[0]);
    rs.TimeSeparator = static_cast<char>(Custom[1]);
    size_t cut = format.find('\x01');
    if (cut != std::string::npos) {
      rs.ShortDateFormat = format.substr(cut + 1);
      format.erase(cut);
      std::string lower = rs.ShortDateFormat;
      for (char& c : lower) c = static_cast<char>(c == 'D' ? 'd' : c);
      plain = Plain(rs.ShortDateFormat) && lower.find("ddddd") == std::string::npos;
    }
  }
  std::string translated = DTPatternFromRtlFormat(format, rs);
  std::string shown = FormatDTPattern(translated, Value);
  // (An empty format means "c" to the run-time library.)
  plain = plain && !format.empty() && Plain(format);
  if (plain && shown != FormatDateTime(format, Value, rs))
    Fail(("translated pattern '" + translated + "' shows '" + shown + "', the format '" +
          FormatDateTime(format, Value, rs) + "'")
             .c_str(),
         Pattern);
}

TForm* TheForm() {
  static TForm* form = [] {
    ResetHeadlessApplication();
    RegisterDateTimeClasses();
    auto* f = new TForm(Application);
    f->SetBounds(0, 0, 400, 300);
    f->Show();
    Application->ProcessMessages();
    return f;
  }();
  return form;
}

constexpr uint16_t kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP,     VK_DOWN,  VK_HOME,  VK_END,
                              VK_BACK, VK_ESCAPE, VK_RETURN, VK_SPACE, VK_PRIOR, VK_NEXT};

bool IsDateField(TDTFieldKind K) {
  return K == fkDay || K == fkDayName || K == fkMonth || K == fkMonthName || K == fkYear1 ||
         K == fkYear2 || K == fkYear4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TForm* form = TheForm();
  if (Size < 8 || Size > 512) return 0;
  const uint8_t flags = Data[0];
  const double span = MaxDateTime - MinDateTime;
  const uint32_t dayBits = Data[1] | Data[2] << 8 | Data[3] << 16;
  const TDateTime day = std::trunc(MinDateTime + std::fmod(dayBits * 173.0, std::trunc(span) + 1));
  const int secs = (Data[4] | Data[5] << 8) * 2 % 86400;
  TDateTime value = ComposeDateTime(day, EncodeTime(secs / 3600, secs / 60 % 60, secs % 60, 0));

  size_t i = 8;
  std::string pattern;
  while (i < Size && Data[i] != '\n') pattern += static_cast<char>(Data[i++]);
  ++i;
  CheckPattern(pattern, value, flags & 128 ? Data + 6 : nullptr);

  auto* picker = new TDateTimePicker(form);
  picker->SetParent(form);
  picker->SetBounds(10, 10, 240, 23);
  picker->SetKind(flags & 1 ? dtkTime : dtkDate);
  picker->SetDateFormat(flags & 2 ? dfLong : dfShort);
  picker->SetDateMode(flags & 4 ? dmUpDown : dmComboBox);
  picker->SetShowCheckbox(flags & 8);
  TDateTime lo = 0, hi = 0;
  if (flags & 16) lo = std::max(MinDateTime, day - Data[6] * 3);
  if (flags & 32) hi = std::min(std::trunc(MaxDateTime), day + Data[7] * 3);
  if (lo == 0 && (flags & 16)) lo = 1;  // 0 means no limit
  if (hi == 0 && (flags & 32)) hi = 1;
  if (lo != 0 && hi != 0 && lo > hi) std::swap(lo, hi);
  picker->SetMinDate(lo);
  picker->SetMaxDate(hi);
  picker->SetDateTime(value);
  if (!(flags & 64)) picker->SetFormat(pattern);
  int changes = 0;
  picker->OnChange = [&changes](TObject*) { ++changes; };
  picker->SetFocus();
  THeadlessInput input(form);

  auto check = [&](const char* After) {
    TDateTime v = picker->GetDateTime();
    if (!(std::trunc(v) >= MinDateTime && v <= MaxDateTime))
      Fail((std::string("value out of range after ") + After).c_str(), pattern);
    if ((lo != 0 && picker->GetDate() < lo) || (hi != 0 && picker->GetDate() > hi))
      Fail((std::string("value outside the limits after ") + After).c_str(), pattern);
    int sel = picker->GetSelectedField();
    const auto& items = picker->Items();
    bool anyField = false;
    for (const auto& it : items) anyField = anyField || it.Kind != fkLiteral;
    if (sel < -1 || sel >= static_cast<int>(items.size()) ||
        (sel >= 0 && items[static_cast<size_t>(sel)].Kind == fkLiteral) || (sel < 0 && anyField))
      Fail((std::string("bad selected field after ") + After).c_str(), pattern);
    if (picker->PendingDigits().size() > 4 ||
        picker->PendingDigits().find_first_not_of("0123456789") != std::string::npos)
      Fail((std::string("bad pending digits after ") + After).c_str(), pattern);
    (void)picker->DisplayText();
  };
  check("setup");

  for (; i < Size; ++i) {
    const uint8_t b = Data[i];
    const TDateTime before = picker->GetDateTime();
    const int changesBefore = changes;
    const char* what = "a key";
    if (b < 12) {
      input.PressKey(kKeys[b]);
    } else if (b < 16) {
      if (b == 12) input.PressKey(VK_DOWN, {ssAlt});   // opens the calendar
      if (b == 13) input.PressKey(VK_F4);              // opens or closes it
      if (b == 14) input.WheelAt(20, 20, -WHEEL_DELTA);
      if (b == 15) input.WheelAt(20, 20, WHEEL_DELTA);
    } else if (b < 24) {
      // A step up and back down, on a field where that is reversible.
      what = "a step up and down";
      int sel = picker->GetSelectedField();
      if (sel < 0 || !picker->PendingDigits().empty() || picker->GetDroppedDown()) continue;
      TDTFieldKind k = picker->Items()[static_cast<size_t>(sel)].Kind;
      int y, m, d;
      DecodeDate(before, y, m, d);
      bool reversible = k == fkMinute || k == fkSecond || k == fkHour24 || k == fkHour12 ||
                        k == fkAmPm ||
                        ((k == fkDay || k == fkDayName) && lo == 0 && hi == 0 && y > 1 && y < 9999);
      picker->StepField(1);
      picker->StepField(-1);
      if (reversible && picker->IsEnabledInTree() && picker->GetChecked() &&
          picker->GetDateTime() != before)
        Fail("a step up and down does not return", pattern);
    } else if (b < 32) {
      picker->SetSelectedField(b - 24 + (b & 1 ? -3 : 0));
      what = "selecting a field";
    } else if (b < 0x80) {
      char32_t ch = b;
      input.TypeText(std::string(1, static_cast<char>(ch)));
      what = "typing";
    } else {
      static const char* const kOther[] = {"\xC3\xA9", "\xC3\x84", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
      input.TypeText(kOther[b & 3]);
      what = "typing a non-ASCII letter";
    }
    check(what);
    TDateTime after = picker->GetDateTime();
    if (after != before && changes == changesBefore) Fail("a user change fired no OnChange", pattern);
    // Date fields move the day only.
    int sel = picker->GetSelectedField();
    if (after != before && sel >= 0 && b < 12 && (kKeys[b] == VK_UP || kKeys[b] == VK_DOWN ||
                                                  kKeys[b] == VK_HOME || kKeys[b] == VK_END)) {
      TDTFieldKind k = picker->Items()[static_cast<size_t>(sel)].Kind;
      if (IsDateField(k) && std::fabs(picker->GetTime() - std::fabs(before - std::trunc(before))) > 1e-6)
        Fail("stepping a date field changed the time of day", pattern);
    }
  }
  Application->ProcessMessages();  // paints the picker (and the calendar, when open)
  delete picker;
  Application->ProcessMessages();
  return 0;
}

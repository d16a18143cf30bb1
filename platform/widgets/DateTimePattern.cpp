// The picker's pattern language: parsing a display pattern into fields and literals, writing a
// value through it, and translating the runtime's date formats into it.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/widgets/DateTimePickerImpl.h"

namespace qel {

namespace {

using dtp_impl::Folded;
using dtp_impl::StartsWith;

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

}  // namespace qel

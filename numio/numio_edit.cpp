// TNumIO: the check after every change of the edit's text, the value accessors, the setters
// and Assign.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "frame/QEL_univconst.h"
#include "numio/QEL_NumIO.h"
#include "platform/controls/Forms.h"

namespace qel {

namespace {

// The scientific text of the exp notations: six significant digits with a two-digit exponent
// (" 1.25000E+01"). The field formatter turns an exponent of 100 or more into asterisks, which
// no field could read back; such a value is written with its longer exponent instead.
std::string ExpText(double X) {
  std::string s = FormatFloatField(12, -2, X);
  if (s.empty() || s[0] != '*') return s;
  char buf[40];
  auto r = std::to_chars(buf, buf + sizeof buf, X, std::chars_format::scientific, 5);
  std::string t(buf, r.ptr);
  for (char& c : t)
    if (c == 'e') c = 'E';
  return X < 0 ? t : " " + t;
}

// Digits of a 32-bit pattern in base 2^Bits: at least 8, and as many as the pattern needs, so
// that every value the notation holds is written whole.
int PatternDigits(uint32_t Pattern, int Bits) {
  int n = 0;
  for (uint64_t p = Pattern; p != 0; p >>= Bits) ++n;
  return std::max(8, n);
}

}  // namespace

TNumIO::TNumIO(TComponent* AOwner) : TCustomEdit(AOwner) {
  // A field being designed accepts every number, one made at run time only 0 until the host
  // gives it a range.
  if (Designing()) {
    FRangeLow = -uc_MaxDouble;
    FRangeHigh = uc_MaxDouble;
  }
  FLastValid.clear();
  SetEditText("");
}

bool TNumIO::Designing() const {
  if (ComponentState().Contains(csDesigning)) return true;
  // A component takes its owner's design state.
  TComponent* owner = GetOwner();
  return owner && owner->ComponentState().Contains(csDesigning);
}

bool TNumIO::Quiet() const { return Designing() || ComponentState().Contains(csLoading); }

// ---------------------------------------------------------------- the check

void TNumIO::Change() {
  if (FSkipChange) {
    FSkipChange = false;
    return;
  }
  if (Quiet()) return;
  CheckText(true, true);
}

bool TNumIO::CheckText(bool User, bool Notify) {
  const std::string t = GetText();
  std::string shown = t;
  int caret = GetSelStart();
  double v = 0;
  bool ok = true;
  bool keepText = false;
  // The empty text stands for "no number" and reads as 0, like a lone sign: the user may clear
  // the field before typing a new number.
  if (!t.empty()) {
    if (FInputFormat == itFixPoint) {
      TFixOutcome r = FixPointCheck(t, caret, shown, v);
      ok = r == fxAccept;
      keepText = r == fxKeepText;
    } else {
      ok = ConvertNumString(t, v);
    }
    if (ok && !InRange(v)) ok = false;
  }

  if (keepText) {
    // The separator of a fixed-point field is kept: deleting it or typing another one leaves
    // the text as it was and only moves the caret (in front of it, or behind it).
    FSkipChange = true;
    bool withdrawn = User && WithdrawUserEdit();
    FSkipChange = false;
    if (!withdrawn) SetEditText(FLastValid);
    SetSelStart(caret);
    return false;
  }
  if (!ok) {
    FSkipChange = true;
    bool withdrawn = User && WithdrawUserEdit();
    FSkipChange = false;
    if (withdrawn) {
      if (FBeep) MessageBeep(0);
    } else {
      // A text set by the program: back to the last valid text.
      SetEditText(FLastValid);
    }
    return false;
  }
  FLastValid = shown;
  if (shown != t) {
    // The fixed-point form of what was typed is the outcome of the same edit: one undo step.
    FSkipChange = true;
    ReviseUserEdit(shown);
    FSkipChange = false;
    SetSelStart(caret);
  }
  if (Notify) TCustomEdit::Change();
  return true;
}

TNumIO::TFixOutcome TNumIO::FixPointCheck(const std::string& T, int& Caret, std::string& Shown,
                                          double& Value) const {
  const int sepMode = SepMode();
  auto findSep = [sepMode](const std::string& S, size_t From) {
    for (size_t i = From; i < S.size(); ++i)
      if (IsSepChar(S[i], sepMode)) return i;
    return std::string::npos;
  };
  size_t p = findSep(T, 0);
  if (p == std::string::npos) {
    // The last valid text with its separator deleted (Backspace behind it, Delete in front).
    size_t lp = findSep(FLastValid, 0);
    if (lp != std::string::npos && FLastValid.substr(0, lp) + FLastValid.substr(lp + 1) == T) {
      Caret = static_cast<int>(lp);
      return fxKeepText;
    }
  } else if (size_t q = findSep(T, p + 1); q != std::string::npos) {
    // A separator typed anywhere (the text is the last valid one with one separator more)
    // puts the caret behind the separator there; any other second separator is refused.
    size_t lp = findSep(FLastValid, 0);
    auto without = [&T](size_t i) { return T.substr(0, i) + T.substr(i + 1); };
    if (lp != std::string::npos && findSep(T, q + 1) == std::string::npos &&
        (without(p) == FLastValid || without(q) == FLastValid)) {
      Caret = static_cast<int>(lp) + 1;
      return fxKeepText;
    }
    return fxRefuse;
  }
  // Decimals beyond the count are cut off, not rounded.
  std::string s = T;
  if (p != std::string::npos && s.size() - p - 1 > static_cast<size_t>(FFixPointDecPlaces))
    s.erase(p + 1 + static_cast<size_t>(FFixPointDecPlaces));
  if (!ConvertNumString(s, Value)) return fxRefuse;
  const size_t first = s.find_first_not_of(' ');
  const std::string body = s.substr(first == std::string::npos ? s.size() : first);
  // A lone sign stays as typed, so a negative number can be started in an empty field.
  if (body == "-" || body == "+") {
    Shown = body;
    Caret = static_cast<int>(body.size());
    return fxAccept;
  }
  Shown = FormatFloatField(1, FFixPointDecPlaces, Value);
  // A typed minus stays in front of a zero ("-0.5" is typed through "-0").
  if (!body.empty() && body[0] == '-' && Shown[0] != '-') Shown.insert(0, "-");
  const char sep = WrittenSep();
  size_t shownSep = Shown.find('.');
  if (shownSep != std::string::npos) Shown[shownSep] = sep;
  if (shownSep == std::string::npos) shownSep = Shown.size();
  // The caret keeps its place relative to the separator.
  const int typedSep = static_cast<int>(p == std::string::npos ? s.size() : p);
  Caret =
      std::clamp(Caret - typedSep + static_cast<int>(shownSep), 0, static_cast<int>(Shown.size()));
  return fxAccept;
}

void TNumIO::Recheck(bool Notify) {
  FLastValid.clear();
  if (Quiet()) return;
  const std::string before = GetText();
  // A text the new rules refuse is cleared; that is a change of the text too.
  if (!CheckText(false, Notify) && Notify && GetText() != before) TCustomEdit::Change();
}

void TNumIO::Loaded() {
  TCustomEdit::Loaded();
  // The range was read property by property; its order holds only now.
  if (FRangeLow > FRangeHigh) std::swap(FRangeLow, FRangeHigh);
  // The form's own text is no change to announce.
  Recheck(false);
}

// ---------------------------------------------------------------- value

bool TNumIO::ConvertNumString(const std::string& AText, double& Value) const {
  return qel::ConvertNumString(AText, Value, FInputFormat, FDecPlaceSep);
}

double TNumIO::GetLabValue() const {
  std::string t = GetText();
  size_t c = t.find(',');
  if (c != std::string::npos) t[c] = '.';
  if (!t.empty() && t.back() == '.') t += '0';
  // A comma-only field: the comma just became a point, which its own reading refuses.
  const TDecPSep sep = SepMode() == kSepComma ? dpsBoth : FDecPlaceSep;
  double v = 0;
  return qel::ConvertNumString(t, v, FInputFormat, sep) ? v : 0;
}

void TNumIO::SetLabValue(double X) {
  if (std::isnan(X)) return;
  X = std::clamp(X, -uc_MaxDouble, uc_MaxDouble);
  std::string s;
  switch (FInputFormat) {
    case itExp:
    case itDynamic:
      s = ExpText(X);
      break;
    case itFloat:
      s = FormatFloatField(1, 8, X);
      break;
    case itFixPoint:
      s = FormatFloatField(1, FFixPointDecPlaces, X);
      break;
    case itInt:
      // The notation holds 32-bit integers: a larger value is written as the nearest end.
      s = FormatFloatField(1, 0, std::clamp(X, -2147483648.0, 2147483647.0));
      break;
    case itHex:
      s = FormatHexDigits(NioBitPattern(X), 8);
      break;
    case itOct: {
      uint32_t p = NioBitPattern(X);
      s = FormatOctDigits(p, PatternDigits(p, 3));
      break;
    }
    case itBin: {
      uint32_t p = NioBitPattern(X);
      s = FormatBinDigits(p, PatternDigits(p, 1));
      break;
    }
  }
  // The field writes the separator it accepts.
  if (WrittenSep() == ',') std::replace(s.begin(), s.end(), '.', ',');
  SetEditText(s);
}

void TNumIO::SetEditText(const std::string& Value) {
  FSkipChange = true;
  SetText(Value);
  FSkipChange = false;
  FLastValid = Value;
}

// ---------------------------------------------------------------- setters

void TNumIO::SetInputFormat(TInFormat Value) {
  if (Value > itDynamic || Value == FInputFormat) return;
  FInputFormat = Value;
  Recheck();
}

void TNumIO::SetDecPlaceSep(TDecPSep Value) {
  if (Value > dpsBoth || Value == FDecPlaceSep) return;
  FDecPlaceSep = Value;
  Recheck();
}

void TNumIO::SetFixPointDecPlaces(int Value) { FFixPointDecPlaces = std::clamp(Value, 1, 8); }

void TNumIO::SetRangeLow(double Value) {
  if (std::isnan(Value) || Value == FRangeLow) return;
  if (ComponentState().Contains(csLoading)) {
    FRangeLow = Value;  // Loaded puts the ends in order
    return;
  }
  if (Value >= FRangeHigh) {
    FRangeLow = FRangeHigh;
    FRangeHigh = Value;
  } else {
    FRangeLow = Value;
  }
  Recheck();
}

void TNumIO::SetRangeHigh(double Value) {
  if (std::isnan(Value) || Value == FRangeHigh) return;
  if (ComponentState().Contains(csLoading)) {
    FRangeHigh = Value;
    return;
  }
  if (Value > FRangeLow) {
    FRangeHigh = Value;
  } else {
    FRangeHigh = FRangeLow;
    FRangeLow = Value;
  }
  Recheck();
}

// ---------------------------------------------------------------- Assign

void TNumIO::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TNumIO*>(Source);
  if (!s) {
    TCustomEdit::Assign(Source);
    return;
  }
  if (s == this) return;
  FInputFormat = s->FInputFormat;
  FDecPlaceSep = s->FDecPlaceSep;
  FFixPointDecPlaces = s->FFixPointDecPlaces;
  FRangeLow = s->FRangeLow;
  FRangeHigh = s->FRangeHigh;
  FBeep = s->FBeep;
  Recheck();
}

void TNumIO::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TNumIO*>(Dest)) {
    d->Assign(this);
    return;
  }
  TCustomEdit::AssignTo(Dest);
}

}  // namespace qel

// TNumLab: number texts, setters and painting.
#include "displays/QEL_NumLab.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

// The sample whose height centres every text vertically (ascenders, descenders, accents).
const char* const kHeightSample = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

// 2^63: the first double beyond the 64-bit integer range.
constexpr double kInt64Limit = 9223372036854775808.0;

bool FitsInt64(double V) { return std::isfinite(V) && V < kInt64Limit && V >= -kInt64Limit; }

// Digits of |N| in Base, at least MinDigits of them (zero-padded), upper-case letters.
std::string Digits(uint64_t N, unsigned Base, int MinDigits) {
  std::string s;
  do {
    s.insert(s.begin(), "0123456789ABCDEF"[N % Base]);
    N /= Base;
  } while (N != 0);
  if (static_cast<int>(s.size()) < MinDigits) s.insert(0, MinDigits - s.size(), '0');
  return s;
}

// An integer text in Base with a leading minus for negative values: the label shows a value,
// not a register, so there is no two's-complement pattern.
std::string BasedInt(double V, unsigned Base, int MinDigits, const std::string& Overflow) {
  if (!FitsInt64(V)) return Overflow;
  const int64_t n = RoundToInt64(V);
  const uint64_t mag = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  std::string text = n < 0 ? "-" : "";
  text += Digits(mag, Base, MinDigits);
  return text;
}

// Decimal significant digits of |V| rounded to Sig digits, and the decimal exponent of the
// first one (V = 0.d1d2d3... * 10^(Exp+1)).
void SigDigits(double V, int Sig, std::string& Mantissa, int& Exp) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", Sig - 1, std::fabs(V));
  // buf is d[.ddd]e±xx: collect the digits before 'e', then the exponent.
  Mantissa.clear();
  const char* p = buf;
  for (; *p != 'e'; ++p)
    if (*p != '.') Mantissa += *p;
  Exp = std::atoi(p + 1);
}

// Engineering notation: the exponent a multiple of 3, Sig significant digits; with NoPoint the
// exponent is lowered (by multiples of 3) until the mantissa is a whole number.
std::string Engineering(double V, int Precision, bool NoPoint) {
  const int sig = Precision < 1 ? 1 : Precision;
  std::string digits;
  int exp = 0;
  SigDigits(V, sig, digits, exp);
  if (V == 0) {
    exp = 0;
    if (NoPoint) digits.assign(1, '0');  // nothing to shift in: a plain zero
  }
  // The exponent rounded down to a multiple of 3, for negative exponents too.
  int e3 = exp >= 0 ? exp / 3 * 3 : -((-exp + 2) / 3 * 3);
  if (NoPoint)
    while (exp - e3 + 1 < static_cast<int>(digits.size()))
      e3 -= 3;                         // digits after the point remain: shift them in
  const int intDigits = exp - e3 + 1;  // digits before the point, 1..3 (more with NoPoint)
  std::string m;
  if (intDigits >= static_cast<int>(digits.size())) {
    m = digits + std::string(intDigits - digits.size(), '0');
  } else {
    m = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
  }
  char e[16];
  std::snprintf(e, sizeof e, "E%c%03d", e3 < 0 ? '-' : '+', std::abs(e3));
  return (std::signbit(V) && V != 0 ? "-" : "") + m + e;
}

const char* const kDegree = "\xC2\xB0";  // U+00B0

// Degrees, minutes and seconds: Fields is 1 (degrees), 2 (and minutes) or 3 (and seconds); the
// last field carries Precision decimals, minutes and seconds have two integer digits. The
// value is rounded in units of the last decimal of the last field first, so that a carry never
// shows 60 minutes or seconds.
std::string Sexagesimal(double V, int Fields, int Precision, const std::string& Overflow) {
  if (!std::isfinite(V)) return Overflow;
  const int64_t frac = static_cast<int64_t>(std::llround(std::pow(10.0, Precision)));
  const int64_t per = Fields == 1 ? 1 : Fields == 2 ? 60 : 3600;
  const double units = std::nearbyint(std::fabs(V) * static_cast<double>(frac * per));
  if (!(units < 9.0e15)) return Overflow;  // beyond the exact integers of a double
  const int64_t u = static_cast<int64_t>(units);
  const std::string sign = std::signbit(V) && u != 0 ? "-" : "";
  // The last field: integer digits (padded to Pad), then the decimals.
  auto last = [&](int64_t n, int Pad) {
    std::string t = Digits(static_cast<uint64_t>(n / frac), 10, Pad);
    if (Precision > 0) {
      t += '.';
      t += Digits(static_cast<uint64_t>(n % frac), 10, Precision);
    }
    return t;
  };
  if (Fields == 1) return sign + last(u, 1) + kDegree;
  const int64_t sub = u % (60 * frac);    // minutes (2) or seconds (3) in units
  const int64_t above = u / (60 * frac);  // whole degrees (2) or whole minutes (3)
  if (Fields == 2) return sign + std::to_string(above) + kDegree + last(sub, 2) + "'";
  return sign + std::to_string(above / 60) + kDegree +
         Digits(static_cast<uint64_t>(above % 60), 10, 2) + "'" + last(sub, 2) + "\"";
}

}  // namespace

std::string NumLabFormat(TDisplay Type, double Value, int Precision, const std::string& DTFormat,
                         const std::string& StateText, const std::string& Overflow) {
  if (Type == dtState) return StateText;
  if (std::isnan(Value)) return Overflow;
  switch (Type) {
    case dtFloat:
      return std::isfinite(Value) ? Format("%*.*g", {1, Precision, Value}) : Overflow;
    case dtFixP:
      return std::isfinite(Value) ? Format("%*.*f", {1, Precision, Value}) : Overflow;
    case dtExp:
      return std::isfinite(Value) ? Format("%*.*e", {1, Precision, Value}) : Overflow;
    case dtInt:
      if (!FitsInt64(Value)) return Overflow;
      return Format("%*.*d", {1, 0, static_cast<long long>(RoundToInt64(Value))});
    case dtZeroInt:
      if (!FitsInt64(Value)) return Overflow;
      return Format("%*.*d", {1, Precision, static_cast<long long>(RoundToInt64(Value))});
    case dtHex:
      return BasedInt(Value, 16, Precision, Overflow);
    case dtOct:
      return BasedInt(Value, 8, Precision, Overflow);
    case dtBin:
      return BasedInt(Value, 2, Precision, Overflow);
    case dtDateTime:
      // Day 1 of year 1 to the last day of 9999: the calendar the date functions know.
      if (!(Value > -693594.0 && Value < 2958466.0)) return Overflow;
      return FormatDateTime(DTFormat, Value);
    case dtDeg:
      return Sexagesimal(Value, 1, Precision, Overflow);
    case dtDegMin:
      return Sexagesimal(Value, 2, Precision, Overflow);
    case dtDegMinSec:
      return Sexagesimal(Value, 3, Precision, Overflow);
    case dtEEng:
    case dtEEngNoDP:
      if (!std::isfinite(Value)) return Overflow;
      return Engineering(Value, Precision, Type == dtEEngNoDP);
    default:
      return Overflow;
  }
}

// ---------------------------------------------------------------- TNumLab

TNumLab::TNumLab(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 160, 28); }

TNumLab::~TNumLab() = default;

void TNumLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TNumLab*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  FLeftSpace = s->FLeftSpace;
  FEmpty = s->FEmpty;
  FLabelWidth = s->FLabelWidth;
  FPrecision = s->FPrecision;
  FLeftText = s->FLeftText;
  FRightText = s->FRightText;
  FFrameStyle = s->FFrameStyle;
  FAlignment = s->FAlignment;
  FLeftTextAlignment = s->FLeftTextAlignment;
  FRightTextAlignment = s->FRightTextAlignment;
  FOverflowIndicator = s->FOverflowIndicator;
  FValue = s->FValue;
  FStateText = s->FStateText;
  FTransparent = s->FTransparent;
  FColorLabBakG = s->FColorLabBakG;
  FColorLabText = s->FColorLabText;
  FColorOutBakG = s->FColorOutBakG;
  FColorOutText = s->FColorOutText;
  FColorShadow = s->FColorShadow;
  FColorHighlight = s->FColorHighlight;
  FColorScheme = s->FColorScheme;
  FDisplayType = s->FDisplayType;
  Changed();
}

void TNumLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TNumLab*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

void TNumLab::Changed() {
  if (FTransparent)
    Invalidate();  // the parent must repaint underneath first
  else
    Repaint();
}

// A setter body: compare, store, repaint.
#define QEL_NUMLAB_SET(Field) \
  if (Field == Value) return; \
  Field = Value;              \
  Changed();

void TNumLab::SetValue(double Value) {
  if (std::isnan(Value)) return;
  QEL_NUMLAB_SET(FValue)
}
void TNumLab::SetDisplayType(TDisplay Value) {
  if (Value > dtEEngNoDP) return;
  QEL_NUMLAB_SET(FDisplayType)
}
void TNumLab::SetPrecision(int Value) {
  if (Value < 0) return;
  if (Value > 15) Value = 15;
  QEL_NUMLAB_SET(FPrecision)
}
void TNumLab::SetComma(bool Value) { QEL_NUMLAB_SET(FComma) }
void TNumLab::SetForcePlusSign(bool Value) { QEL_NUMLAB_SET(FForcePlusSign) }
void TNumLab::SetEmpty(bool Value) { QEL_NUMLAB_SET(FEmpty) }
void TNumLab::SetOverflowIndicator(const std::string& Value) { QEL_NUMLAB_SET(FOverflowIndicator) }
void TNumLab::SetLeftText(const std::string& Value) { QEL_NUMLAB_SET(FLeftText) }
void TNumLab::SetRightText(const std::string& Value) { QEL_NUMLAB_SET(FRightText) }
void TNumLab::SetLeftSpace(int Value) {
  if (Value < 0) return;
  if (Value > GetWidth()) Value = GetWidth();
  QEL_NUMLAB_SET(FLeftSpace)
}
void TNumLab::SetLabelWidth(int Value) { QEL_NUMLAB_SET(FLabelWidth) }
void TNumLab::SetAlignment(TAlignment Value) { QEL_NUMLAB_SET(FAlignment) }
void TNumLab::SetLeftTextAlignment(TAlignment Value) { QEL_NUMLAB_SET(FLeftTextAlignment) }
void TNumLab::SetRightTextAlignment(TAlignment Value) { QEL_NUMLAB_SET(FRightTextAlignment) }
void TNumLab::SetFrameStyle(TFrameStyle Value) { QEL_NUMLAB_SET(FFrameStyle) }
void TNumLab::SetColorLabBakG(TColor Value) { QEL_NUMLAB_SET(FColorLabBakG) }
void TNumLab::SetColorLabText(TColor Value) { QEL_NUMLAB_SET(FColorLabText) }
void TNumLab::SetColorOutBakG(TColor Value) { QEL_NUMLAB_SET(FColorOutBakG) }
void TNumLab::SetColorOutText(TColor Value) { QEL_NUMLAB_SET(FColorOutText) }
void TNumLab::SetDTFormat(const std::string& Value) { QEL_NUMLAB_SET(FDTFormat) }
void TNumLab::SetStateText(const std::string& Value) { QEL_NUMLAB_SET(FStateText) }
#undef QEL_NUMLAB_SET

void TNumLab::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeColors c = SchemeFrameColors(Value);
  FColorShadow = c.Shadow;
  FColorHighlight = c.Highlight;
  Changed();
}

void TNumLab::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Invalidate();
}

void TNumLab::SetEnabled(bool Value) {
  if (Value == GetEnabled()) return;
  TGraphicControl::SetEnabled(Value);
  Changed();
}

std::string TNumLab::NumberText() const {
  if (FEmpty) return {};
  std::string s =
      NumLabFormat(FDisplayType, FValue, FPrecision, FDTFormat, FStateText, FOverflowIndicator);
  const bool plain = FDisplayType == dtHex || FDisplayType == dtDateTime ||
                     FDisplayType == dtState || FDisplayType == dtBin;
  if (plain) return s;
  // The runtime writes the system separator; the label shows the one it was asked for.
  for (char& ch : s)
    if (FComma && ch == '.')
      ch = ',';
    else if (!FComma && ch == ',')
      ch = '.';
  if (FForcePlusSign && FValue > 0) s.insert(s.begin(), '+');
  return s;
}

std::string TNumLab::DisplayedText(TCanvas* Canvas) const {
  if (FEmpty) return {};
  std::string s = NumberText();
  if (OnBeforeDisplay) OnBeforeDisplay(const_cast<TNumLab*>(this), s);
  if (FDisplayType != dtState && Canvas && Canvas->TextWidth(s) > FLabelWidth - 6)
    s = FOverflowIndicator;
  return s;
}

TRect TNumLab::LabelBoxRect() const {
  return Rect(FLeftSpace + 1, 0, FLeftSpace + FLabelWidth + 1, GetHeight() - 1);
}

TRect TNumLab::NumberClipRect() const {
  return Rect(FLeftSpace + 3, 2, FLeftSpace + FLabelWidth - 1, GetHeight() - 3);
}

void TNumLab::Paint() {
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  Render(off.Canvas());
  TCanvas* c = Canvas();
  if (FTransparent) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(ColorToRGB(FColorLabText) != ColorToRGB(clBlack) ? clWhite
                                                                          : FColorLabBakG);
    c->FillRect(Rect(FLeftSpace + 2, 2, FLeftSpace + FLabelWidth, h - 2));
    c->SetCopyMode(cmSrcAnd);
  } else {
    c->SetCopyMode(cmSrcCopy);
  }
  c->Draw(0, 0, &off);
  c->SetCopyMode(cmSrcCopy);
}

void TNumLab::Render(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const int ls = FLeftSpace, lw = FLabelWidth;
  const bool enabled = GetEnabled();
  C->Font()->Assign(GetFont());

  // 1. Background; white under transparency, so that SRCAND lets the parent show through.
  const TColor back = FTransparent ? clWhite : FColorOutBakG;
  C->Pen()->SetColor(back);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(back);
  C->FillRect(Rect(0, 0, w, h));

  const int ty = (h - C->TextHeight(kHeightSample)) / 2;
  C->Brush()->SetStyle(bsClear);
  auto outText = [&](int x, int shadowDx, const std::string& s) {
    if (!enabled) {
      C->Font()->SetColor(clWhite);
      C->TextOut(x + shadowDx, ty + 1, s);
      C->Font()->SetColor(clGray);
    } else {
      C->Font()->SetColor(FColorOutText);
    }
    C->TextOut(x, ty, s);
  };

  // 2. Left text.
  if (!FLeftText.empty()) {
    const int tw = C->TextWidth(FLeftText);
    int x = 7;
    if (FLeftTextAlignment == taRightJustify) x = ls - tw - 5;
    if (FLeftTextAlignment == taCenter) x = (ls - tw) / 2;
    outText(x, 1, FLeftText);
  }
  // 3. Right text; right-aligned, its embossed copy goes one pixel left to stay inside.
  if (!FRightText.empty()) {
    const int tw = C->TextWidth(FRightText);
    int x = ls + lw + 7;
    int dx = 1;
    if (FRightTextAlignment == taRightJustify) {
      x = w - tw - 6;
      dx = -1;
    }
    if (FRightTextAlignment == taCenter) x = (w - ls - lw - tw) / 2 + ls + lw + 1;
    outText(x, dx, FRightText);
  }

  // 4. Label box: filled and outlined, then the bevel of the frame style.
  TColor pen = FColorShadow;
  if (FFrameStyle == fsNone) pen = FColorLabBakG;
  if (FFrameStyle == fsEmbossed) pen = FColorHighlight;
  C->Pen()->SetColor(pen);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FColorLabBakG);
  C->Rectangle(LabelBoxRect());
  DrawFrame(C, FFrameStyle, ls + 1, 0, ls + lw, h - 2, clWhite, clSilver, clGray, clBlack, clBlack);

  // 5. Number.
  if (FEmpty) return;
  const std::string s = DisplayedText(C);
  const int tw = C->TextWidth(s);
  int x = ls + (lw - tw) / 2 + 2;
  if (FAlignment == taLeftJustify) x = ls + 4;
  if (FAlignment == taRightJustify) x = ls + lw - tw - 2;
  C->Font()->SetColor(enabled ? FColorLabText : clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  C->SetClipRect(NumberClipRect());
  C->TextOut(x, ty, s);
  C->ResetClipRect();
}

}  // namespace qel

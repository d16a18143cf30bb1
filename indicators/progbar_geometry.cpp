// The progress bar's arithmetic: colour mixing, the table index of a pixel line, the bar
// rectangle of each direction, the value text and the text origin. No drawing here.
#include <algorithm>
#include <cmath>

#include "indicators/QEL_ProgBar.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

TColor ProgBarMix(TColor A, TColor B, double X) {
  if (!(X >= 0)) X = 0;  // NaN too
  if (X > 1) X = 1;
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((A >> shift) & 0xFF), b = static_cast<int>((B >> shift) & 0xFF);
    out |= static_cast<TColor>(TruncToInt((b - a) * X + a) & 0xFF) << shift;
  }
  return out;
}

int ProgBarColorIndex(TColorMapping Mode, int64_t E, int64_t N, int64_t S) {
  constexpr double kLast = kProgBarColors - 1;
  int64_t k = 0;
  switch (Mode) {
    case cgmCover:
      k = RoundToInt64(E * kLast / S);
      break;
    case cgmStretch:
      k = N > 0 ? RoundToInt64(E * kLast / N) : 0;
      break;
    case cgmMove:
      k = RoundToInt64(E * kLast / S) - RoundToInt64((N - 1) * kLast / S) + (kProgBarColors - 1);
      break;
  }
  return static_cast<int>(std::clamp<int64_t>(k, 0, kProgBarColors - 1));
}

TProgBarRect ProgBarRect(TDirection Direction, int W, int H, int ML, int MR, int MT, int MB,
                         double Value, double Min, double Max) {
  TProgBarRect r;
  const bool vertical = Direction == drUp || Direction == drDown;
  r.Inner = vertical ? int64_t{H} - MT - MB : int64_t{W} - ML - MR;
  // An empty range, a value at or below Min, NaN anywhere or no inner room: no bar. (Below Min
  // the bar would otherwise reach backwards over the margin and the frame.)
  const double p = (Value - Min) / (Max - Min);
  if (Max == Min || !(p > 0) || r.Inner <= 0) {
    r.Length = 0;
  } else {
    // Limited far beyond any screen, so that the edges below cannot overflow.
    constexpr int64_t kFar = int64_t{1} << 40;
    r.Length = std::clamp<int64_t>(RoundToInt64(static_cast<double>(r.Inner) * p), 0, kFar);
  }
  // The filled part starts at the inner area's starting edge and runs towards the leading end.
  switch (Direction) {
    case drUp:
      r.Left = ML, r.Right = int64_t{W} - MR;
      r.Bottom = int64_t{H} - MB, r.Top = r.Bottom - r.Length;
      break;
    case drDown:
      r.Left = ML, r.Right = int64_t{W} - MR;
      r.Top = MT, r.Bottom = r.Top + r.Length;
      break;
    case drLeft:
      r.Top = MT, r.Bottom = int64_t{H} - MB;
      r.Right = int64_t{W} - MR, r.Left = r.Right - r.Length;
      break;
    case drRight:
    default:
      r.Top = MT, r.Bottom = int64_t{H} - MB;
      r.Left = ML, r.Right = r.Left + r.Length;
      break;
  }
  return r;
}

std::string ProgBarValueText(double Value, int DecPlaces) {
  DecPlaces = std::clamp(DecPlaces, -2, 10);
  if (DecPlaces >= 0) return StrFixed(Value, 1, DecPlaces);
  // The runtime's scientific notation at its narrowest: a sign place, two significant digits
  // and a four-digit exponent (" 1.3E+0001"). The blank sign place is dropped.
  std::string s = StrSci(Value, 1);
  if (!s.empty() && s[0] == ' ') s.erase(0, 1);
  if (DecPlaces == -2) return s;
  // Two exponent digits: the leading pair goes when it is "00"; an exponent that needs it
  // cannot be shown in two digits, and the text says so in stars rather than lie.
  const size_t n = s.size();
  if (n < 5 || !std::all_of(s.end() - 4, s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return s;
  const bool fits = s[n - 4] == '0' && s[n - 3] == '0';
  s.erase(n - 4, 2);
  if (!fits) s.assign(s.size(), '*');
  return s;
}

TPoint ProgBarTextOrigin(TAlignment Alignment, int AngleDeg, int X0, int Y0, int HW, int HH) {
  const double a = AngleDeg * 3.14159265358979323846 / 180.0;
  const double s = std::sin(a), c = std::cos(a);
  switch (Alignment) {
    case taLeftJustify:
      return {RoundToInt(-HH * s) + X0, RoundToInt(-HH * c) + Y0};
    case taRightJustify:
      return {RoundToInt(-2.0 * HW * c - HH * s) + X0, RoundToInt(2.0 * HW * s - HH * c) + Y0};
    case taCenter:
    default:
      return {RoundToInt(-HW * c - HH * s) + X0, RoundToInt(HW * s - HH * c) + Y0};
  }
}

}  // namespace qel

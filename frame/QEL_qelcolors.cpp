#include "frame/QEL_qelcolors.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/SafeMath.h"

namespace qel {

int ColorToGray(TColor Color) {
  const TColor c = ColorToRGB(Color);
  return (299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c) + 500) / 1000;
}

void ColorToHSL(TColor Color, double& H, double& S, double& L) {
  const TColor c = ColorToRGB(Color);
  const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double d = mx - mn;
  L = (mx + mn) / 2;
  if (d == 0) {
    H = 0;
    S = 0;
    return;
  }
  S = L <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
  double h;
  if (mx == r)
    h = (g - b) / d;
  else if (mx == g)
    h = (b - r) / d + 2;
  else
    h = (r - g) / d + 4;
  h *= 60;
  if (h < 0) h += 360;
  H = h;
}

namespace {
double HueToChannel(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}
double Clamp01(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }
uint8_t ToByte(double v) { return static_cast<uint8_t>(std::clamp(RoundToInt(v * 255), 0, 255)); }
}  // namespace

TColor HSLtoColor(double H, double S, double L) {
  S = Clamp01(S);
  L = Clamp01(L);
  if (!std::isfinite(H)) H = 0;
  H = std::fmod(H, 360.0);
  if (H < 0) H += 360;
  if (S == 0) return RGB(ToByte(L), ToByte(L), ToByte(L));
  const double q = L < 0.5 ? L * (1 + S) : L + S - L * S;
  const double p = 2 * L - q;
  const double h = H / 360;
  return RGB(ToByte(HueToChannel(p, q, h + 1.0 / 3)), ToByte(HueToChannel(p, q, h)),
             ToByte(HueToChannel(p, q, h - 1.0 / 3)));
}

TColor MeanColor(TColor C1, TColor C2) {
  const TColor a = ColorToRGB(C1), b = ColorToRGB(C2);
  return RGB(static_cast<uint8_t>((GetRValue(a) + GetRValue(b)) / 2),
             static_cast<uint8_t>((GetGValue(a) + GetGValue(b)) / 2),
             static_cast<uint8_t>((GetBValue(a) + GetBValue(b)) / 2));
}

// The first entries of the platform's colour-name table, so a name is spelt in one place.
const std::array<TPredefinedColor, kPredefinedColorCount> PredefinedColors = [] {
  static_assert(kPredefinedColorCount <= kColorIdentCount);
  std::array<TPredefinedColor, kPredefinedColorCount> a{};
  for (int i = 0; i < kPredefinedColorCount; ++i)
    a[i] = {kColorIdents[i].Value, kColorIdents[i].Name};
  return a;
}();

}  // namespace qel

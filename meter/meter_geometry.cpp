// The arithmetic of the meter: layouts, value <-> angle <-> pixel, label decimals, tick spacing
// and the tick sets of linear and logarithmic scales. No drawing here, so all of it can be
// tested without a surface.
#include <cmath>

#include "frame/QEL_math1.h"
#include "meter/QEL_Meter.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegPerRad = 57.29577951308232;
// Loops over ticks stop here whatever the floating-point arithmetic does (a step that vanishes
// against the size of the values would otherwise never advance).
constexpr int kMaxTicks = 4000;

double Clamp(double V, double Lo, double Hi) {
  // Written out rather than std::clamp: while a form is loading Lo may exceed Hi.
  if (V < Lo) V = Lo;
  if (V > Hi) V = Hi;
  return V;
}

bool UsesLog(const TMeterScale& S, double V) {
  return S.Logarithmic && V > 0 && S.Min > 0 && S.Max > 0;
}

}  // namespace

// ---------------------------------------------------------------- layouts

TMeterGeometry CalcMeterGeometry(TMeterLayout Layout, int W, int H, int RT, int RB, int RS) {
  TMeterGeometry g;
  g.R = static_cast<double>(H - RB - RT - 16);
  g.CX = DivTrunc(W, 2);
  g.CY = H - RB - 8;
  g.A = 90;
  switch (Layout) {
    case mlCirc90:
      break;
    case mlCirc120: {
      g.A = 120;
      // The end points lie at R sin 60 beside the centre: they must stay inside the side rims.
      double q = (W / 2.0 - RS - 8) * 1.1547;
      if (q < g.R) g.R = q;
      break;
    }
    case mlCirc180: {
      // A half circle standing on the centre, near the bottom rim like 90 and 120: the end
      // points lie R beside the centre.
      g.A = 180;
      double q = W / 2.0 - RS - 8;
      if (q < g.R) g.R = q;
      break;
    }
    case mlCirc270:
    case mlCirc300:
    case mlCirc360: {
      // The centre moves into the dial. The arc reaches R above the centre and, below it,
      // R cos(360 - A)/2 for the open layouts (cos 45 = 0.7071 for 270, cos 30 = 0.866 for
      // 300) and R for the full circle.
      g.A = Layout == mlCirc270 ? 270 : Layout == mlCirc300 ? 300 : 360;
      double below = Layout == mlCirc270 ? 1.7071 : Layout == mlCirc300 ? 1.866 : 2.0;
      g.R = static_cast<double>(DivTrunc(W, 2) - RS - 8);
      double q = (H - RT - RB - 16) / below;
      if (q < g.R) g.R = q;
      g.CY = RoundToInt(RT + 8 + g.R);
      break;
    }
  }
  return g;
}

// ---------------------------------------------------------------- value <-> angle

double MeterFraction(const TMeterScale& S, double V) {
  if (std::isnan(V) || std::isnan(S.Min) || std::isnan(S.Max)) return 0;
  V = Clamp(V, S.Min, S.Max);
  double f;
  if (UsesLog(S, V))
    f = (std::log(V) - std::log(S.Min)) / (std::log(S.Max) - std::log(S.Min));
  else
    f = (V - S.Min) / (S.Max - S.Min);
  return std::isfinite(f) ? f : 0;  // Min = Max
}

double MeterDrawAngle(const TMeterGeometry& G, const TMeterScale& S, double V) {
  return 90.0 + G.A / 2.0 - G.A * MeterFraction(S, V);
}

TPoint MeterPolarPoint(const TMeterGeometry& G, double PhiDeg, double Radius) {
  double phi = PhiDeg / kDegPerRad;
  return {RoundToInt(std::cos(phi) * Radius + G.CX), RoundToInt(G.CY - std::sin(phi) * Radius)};
}

// ---------------------------------------------------------------- labels

int CalcM(int DecPlaces, double A, double B) {
  if (DecPlaces != -2) return DecPlaces;
  double d = std::fabs(A - B);
  if (std::isnan(d) || d >= 1000000 || d <= 0.0001) return -1;
  if (d >= 100) return 0;
  return 2 - RoundToInt(std::log(d) / 2.5);
}

std::string MeterLabelText(double V, int Decimals) { return StrFixed(V, 1, Decimals); }

// ---------------------------------------------------------------- ticks

TTickSpacing CalcTickSpacing(int N, double Lo, double Hi) {
  TTickSpacing r;
  if (Hi == Lo || !std::isfinite(Lo) || !std::isfinite(Hi)) {
    r.T0 = std::isfinite(Lo) ? Lo : 0;
    return r;
  }
  if (N < 1) N = 1;
  // Extended precision, so that the boundary tolerances below mean what they say.
  using LD = long double;
  const LD lo = Lo, hi = Hi;
  const LD dir = lo < hi ? 1 : -1;
  LD e = std::log10(std::fabs(hi - lo) / N);
  LD g = e - std::trunc(e);
  if (std::fabs(g) < 1e-10L || std::fabs(g) > 0.9999999999L) {
    g = 0;
    e = std::nearbyint(e);
  }
  if (e < 0 && g != 0) e = e - 1;
  if (g < 0) g = g + 1;
  const LD log2 = std::log10(2.0L), log5 = std::log10(5.0L);
  if (g < log2 + 1e-10L) {
    e = std::trunc(e);
    r.Minor = 5;
  } else if (g < log5 + 1e-10L) {
    e = std::trunc(e) + log2;
    r.Minor = 4;
  } else {
    e = std::trunc(e) + log5;
    r.Minor = 5;
  }
  const LD step = dir * std::exp(e * std::log(10.0L));
  LD t0 = (std::trunc(lo / step) - 1) * step;
  for (int i = 0; i < kMaxTicks && dir * (lo - t0) > 0.001L * std::fabs(step); ++i) t0 += step;
  r.Step = static_cast<double>(step);
  r.T0 = static_cast<double>(t0);
  return r;
}

bool MeterSpansDecade(const TMeterScale& S) {
  return S.Logarithmic && S.Min > 0 && S.Max > 0 && std::fabs(std::log10(S.Max / S.Min)) >= 1;
}

std::vector<TScaleTick> MeterScaleTicks(const TMeterScale& S, int NrTicks, bool ShortTicks) {
  std::vector<TScaleTick> ticks;
  const TTickSpacing sp = CalcTickSpacing(NrTicks, S.Min, S.Max);
  const double step = sp.Step, t0 = sp.T0;

  // Minor ticks, between and beside the major ones. A zero step (Min = Max) has none.
  if (ShortTicks && step != 0) {
    const double minor = step / sp.Minor;
    const double base = t0 - step;
    for (int k = 0; k < kMaxTicks; ++k) {
      const double t = base + k * minor;
      const double q = (t - t0) / step;
      const bool onMajor = std::fabs(q - std::trunc(q)) <= 1e-5;
      if (!onMajor && !(t < S.Min)) ticks.push_back({t, false, false});
      if (base + (k + 1) * minor - S.Max > 0.001 * minor) break;
    }
  }

  if (MeterSpansDecade(S)) {
    // 1..9 times each power of ten within the scale; labels on 1, 2 and 5 unless the scale is
    // short enough to label every tick.
    const int k = IntNeg(std::log10(0.999999999 * S.Min));
    const bool labelAll = S.Max / S.Min < 10;
    // F x G is carried as one factor, so that it reaches the top decade of the widest scales
    // without passing through an overflowing G.
    double fg = std::pow(10.0, k);
    for (int decade = 0; decade < kMaxTicks / 9; ++decade) {
      for (int m = 1; m <= 9; ++m) {
        const double t = m * fg;
        if (t / 0.999999999 > S.Min && m * 0.999999999 * fg < S.Max)
          ticks.push_back({t, true, labelAll || m == 1 || m == 2 || m == 5});
      }
      fg = 10 * fg;
      if (0.999999999 * fg > S.Max) break;
    }
    return ticks;
  }

  // Linear major ticks (also a logarithmic scale of less than a decade: only its angles
  // differ). The first one is always placed.
  for (int k = 0; k < kMaxTicks; ++k) {
    ticks.push_back({t0 + k * step, true, true});
    if (step == 0 || t0 + (k + 1) * step - S.Max > 0.001 * step) break;
  }
  return ticks;
}

// ---------------------------------------------------------------- the meter's own helpers

double TMeter::CalcNeedleAngle(double Value) const {
  return 180.0 - (FGeometry.A / 2.0 - FGeometry.A * MeterFraction(Scale(), Value));
}

void TMeter::ConvertToPixelCoords(double Value, double Percent, int& X, int& Y) const {
  const double theta = CalcNeedleAngle(Value);
  const double alpha = (-90.0 - theta) * kPi / 180.0;
  const double r = 0.01 * Percent * FGeometry.R;
  X = RoundToInt(std::cos(alpha) * r + FGeometry.CX);
  Y = RoundToInt(FGeometry.CY - std::sin(alpha) * r);
}

bool TMeter::ConvertPixelToValue(int X, int Y, double& Value) const {
  const double dx = static_cast<double>(X) - FGeometry.CX;
  const double dy = static_cast<double>(Y) - FGeometry.CY;
  double beta;
  if (dx == 0)
    beta = dy > 0 ? kPi / 2 : 3 * kPi / 2;
  else {
    beta = std::atan(dy / dx);
    if (dx < 0) beta += kPi;
  }
  if (beta < 0) beta += 2 * kPi;
  if (beta > 2 * kPi) beta -= 2 * kPi;
  double d = beta * kDegPerRad - 90;
  if (d < 0) d += 360;
  const double a = FGeometry.A;
  const double start = 180 - a / 2, end = 180 + a / 2;
  if (d < start || d > end) {
    Value = 0;
    return false;
  }
  const double f = (d - start) / a;
  if (FLogarithmic && FMinValue > 0 && FMaxValue > 0)
    Value = std::exp(std::log(FMinValue) + f * (std::log(FMaxValue) - std::log(FMinValue)));
  else
    Value = f * (FMaxValue - FMinValue) + FMinValue;
  return true;
}

TNeedlePoints TMeter::NeedlePoints(const TNeedleLayout& L, double Value) const {
  const double cx = FGeometry.CX, cy = FGeometry.CY;
  const double len = L.GetPercentNeedleLength() * (FGeometry.R - 4) * 0.01;
  const double phi = MeterDrawAngle(FGeometry, Scale(), Value) / kDegPerRad;
  const double h = L.GetHeadAngle() / kDegPerRad;
  const double hs = L.GetHeadSize(), hm = L.GetHeadMidLeng();
  const int tipX = RoundToInt(std::cos(phi) * len + cx);
  const int tipY = RoundToInt(cy - std::sin(phi) * len);
  const double px = tipX, py = tipY;
  const double ts = std::sin(phi) * L.GetThickness() / 2;
  const double tc = std::cos(phi) * L.GetThickness() / 2;
  return {{
      {RoundToInt(px - std::cos(phi + h / 2) * hs), RoundToInt(std::sin(phi + h / 2) * hs + py)},
      {tipX, tipY},
      {RoundToInt(px - std::cos(phi - h / 2) * hs), RoundToInt(std::sin(phi - h / 2) * hs + py)},
      {RoundToInt((px - ts) - std::cos(phi) * hm), RoundToInt((py - tc) + std::sin(phi) * hm)},
      {RoundToInt(cx - ts), RoundToInt(cy - tc)},
      {RoundToInt(cx + ts), RoundToInt(cy + tc)},
      {RoundToInt((px + ts) - std::cos(phi) * hm), RoundToInt((py + tc) + std::sin(phi) * hm)},
  }};
}

TRect TMeter::HighLampRect() const {
  const int w = GetWidth();
  return Rect(w - FRimSide - 18, FRimTop + 8, w - FRimSide - 8, FRimTop + 18);
}

TRect TMeter::LowLampRect() const {
  return Rect(FRimSide + 8, FRimTop + 8, FRimSide + 18, FRimTop + 18);
}

int TMeter::BandOuterRadius() const { return RoundToInt(FGeometry.R + 4); }

int TMeter::BandInnerRadius() const {
  return RoundToInt((100 - FScaleBkWidth) * FGeometry.R / 100);
}

}  // namespace qel

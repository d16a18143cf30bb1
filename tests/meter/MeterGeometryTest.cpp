// The meter's arithmetic: layouts, value <-> angle <-> pixel, label decimals, tick spacing and
// the tick sets of linear and logarithmic scales.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "meter/QEL_Meter.h"

namespace qel {
namespace {

// ---------------------------------------------------------------- layouts

TEST(MeterLayout, DefaultMeterIsANinetyDegreeArcStandingOnTheBottomRim) {
  TMeter m(nullptr);
  EXPECT_EQ(m.GetWidth(), 297);
  EXPECT_EQ(m.GetHeight(), 209);
  const TMeterGeometry& g = m.Geometry();
  EXPECT_EQ(g.A, 90);
  EXPECT_DOUBLE_EQ(g.R, 175);
  EXPECT_EQ(g.CX, 148);
  EXPECT_EQ(g.CY, 191);
  EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(0), 135);
  EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(1), 225);
  int x = 0, y = 0;
  m.ConvertToPixelCoords(0.5, 100, x, y);
  EXPECT_EQ(x, 148);
  EXPECT_EQ(y, 16);
}

TEST(MeterLayout, OneTwentyAndThreeHundredKeepTheirEndsInsideTheSideRims) {
  TMeter m(nullptr);
  m.SetMeterLayout(mlCirc120);
  EXPECT_EQ(m.Geometry().A, 120);
  EXPECT_NEAR(m.Geometry().R, (148.5 - 18) * 1.1547, 1e-9);
  EXPECT_NEAR(m.Geometry().R, 150.69, 0.01);
  EXPECT_EQ(m.Geometry().CY, 191);

  m.SetMeterLayout(mlCirc300);
  EXPECT_EQ(m.Geometry().A, 300);
  EXPECT_NEAR(m.Geometry().R, 175 / 1.866, 1e-9);
  EXPECT_NEAR(m.Geometry().R, 93.78, 0.01);
  EXPECT_EQ(m.Geometry().CY, 110);
  EXPECT_EQ(m.Geometry().CX, 148);
}

TEST(MeterLayout, WideControlsLetTheHeightDecideAndNarrowOnesTheWidth) {
  // 120: the side limit only bites when it is smaller.
  TMeterGeometry g = CalcMeterGeometry(mlCirc120, 1000, 209, 8, 10, 10);
  EXPECT_DOUBLE_EQ(g.R, 175);
  g = CalcMeterGeometry(mlCirc300, 200, 1000, 8, 10, 10);
  EXPECT_DOUBLE_EQ(g.R, 100 - 18);
  EXPECT_EQ(g.CY, 8 + 8 + 82);
}

// Every layout but the 90-degree one (which only looks at the height) keeps the arc, sampled
// along its length, inside the rims whatever the size; the pivot lies where its anchor cover
// expects it.
TEST(MeterLayout, OpenAndFullCirclesStayInsideTheRimsForAnySize) {
  const int sizes[][2] = {{297, 209}, {100, 400}, {400, 100}, {60, 60}, {800, 600}, {150, 151}};
  for (TMeterLayout l : {mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360}) {
    for (auto& s : sizes) {
      const int w = s[0], h = s[1];
      const TMeterGeometry g = CalcMeterGeometry(l, w, h, 8, 10, 10);
      if (g.R <= 0) continue;
      for (int k = 0; k <= 360; ++k) {
        const double phi = 90 + g.A / 2.0 - g.A * k / 360.0;
        const TPoint p = MeterPolarPoint(g, phi, g.R);
        SCOPED_TRACE(testing::Message()
                     << "layout " << int(l) << " size " << w << "x" << h << " phi " << phi);
        EXPECT_GE(p.X, 10);
        EXPECT_LE(p.X, w - 10);
        EXPECT_GE(p.Y, 8);
        EXPECT_LE(p.Y, h - 10);
      }
    }
  }
  const TMeterGeometry g180 = CalcMeterGeometry(mlCirc180, 297, 209, 8, 10, 10);
  EXPECT_EQ(g180.A, 180);
  EXPECT_EQ(g180.CY, 191);  // near the bottom rim, as 90 and 120
  EXPECT_DOUBLE_EQ(g180.R, 148.5 - 18);
  const TMeterGeometry g270 = CalcMeterGeometry(mlCirc270, 297, 209, 8, 10, 10);
  EXPECT_EQ(g270.A, 270);
  EXPECT_NEAR(g270.R, 175 / 1.7071, 1e-9);
  EXPECT_EQ(g270.CY, 8 + 8 + 103);
  const TMeterGeometry g360 = CalcMeterGeometry(mlCirc360, 297, 209, 8, 10, 10);
  EXPECT_EQ(g360.A, 360);
  EXPECT_DOUBLE_EQ(g360.R, 87.5);
  EXPECT_EQ(g360.CY, 104);  // 103.5 rounds to even
}

TEST(MeterLayout, BoundsChangesRecomputeButRimChangesWaitForTheNextOne) {
  TMeter m(nullptr);
  m.SetBounds(0, 0, 400, 300);
  EXPECT_DOUBLE_EQ(m.Geometry().R, 300 - 10 - 8 - 16);
  EXPECT_EQ(m.Geometry().CX, 200);
  m.SetTRim(20);
  EXPECT_DOUBLE_EQ(m.Geometry().R, 266);
  m.SetWidth(401);
  EXPECT_DOUBLE_EQ(m.Geometry().R, 300 - 10 - 20 - 16);
  EXPECT_EQ(m.Geometry().CX, 200);  // 401 div 2
}

// ---------------------------------------------------------------- value <-> pixel

TEST(MeterConvert, PixelToValueAtTheEndsTheCentreAndBeyond) {
  TMeter m(nullptr);
  m.SetMinValue(-10);
  m.SetMaxValue(30);
  const TMeterGeometry& g = m.Geometry();
  double v = 99;
  // The start direction is 45 degrees up-left of the centre: dx = -dy.
  EXPECT_TRUE(m.ConvertPixelToValue(g.CX - 100, g.CY - 100, v));
  EXPECT_DOUBLE_EQ(v, -10);
  EXPECT_TRUE(m.ConvertPixelToValue(g.CX + 100, g.CY - 100, v));
  EXPECT_DOUBLE_EQ(v, 30);
  // One degree beyond either end.
  const double a = (135 + 1 + 90) / 57.29577951308232;
  EXPECT_FALSE(m.ConvertPixelToValue(g.CX + static_cast<int>(std::lround(1000 * std::cos(a))),
                                     g.CY - static_cast<int>(std::lround(1000 * std::sin(a))), v));
  EXPECT_EQ(v, 0);
  v = 99;
  EXPECT_FALSE(m.ConvertPixelToValue(g.CX + 1000, g.CY - 983, v));
  EXPECT_EQ(v, 0);
  // The centre itself reads as straight up: the middle of the scale.
  EXPECT_TRUE(m.ConvertPixelToValue(g.CX, g.CY, v));
  EXPECT_DOUBLE_EQ(v, 10);
  // Straight down lies outside a 90-degree arc.
  EXPECT_FALSE(m.ConvertPixelToValue(g.CX, g.CY + 5, v));
}

// Value -> pixel -> value comes back within what one pixel of the needle tip can resolve.
TEST(MeterConvert, RoundTripsAcrossTheArcOnLinearAndLogarithmicScales) {
  for (TMeterLayout l : {mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360}) {
    for (bool log : {false, true}) {
      TMeter m(nullptr);
      m.SetBounds(0, 0, 800, 600);
      m.SetMeterLayout(l);
      m.SetMaxValue(1000);
      m.SetMinValue(log ? 1 : -200);
      m.SetLogarithmic(log);
      const double r = m.Geometry().R;
      for (int k = 0; k <= 50; ++k) {
        const double f = k / 50.0;
        // Keep off the seam of the full circle, where both ends meet.
        const double fc = l == mlCirc360 ? 0.01 + 0.98 * f : f;
        const double value = log ? std::exp(std::log(1000.0) * fc) : -200 + 1200 * fc;
        int x = 0, y = 0;
        m.ConvertToPixelCoords(value, 100, x, y);
        double back = 0;
        SCOPED_TRACE(testing::Message() << "layout " << int(l) << " log " << log << " v " << value);
        ASSERT_TRUE(m.ConvertPixelToValue(x, y, back));
        // Half a pixel at radius R is this much of the arc.
        const double tolFraction = 1.0 / r * 57.3 / m.Geometry().A;
        const double got = log ? std::log(back) / std::log(1000.0) : (back + 200) / 1200;
        EXPECT_NEAR(got, fc, tolFraction);
      }
    }
  }
}

TEST(MeterConvert, ValuesBeyondTheScaleClampAndNaNOrADegenerateScaleGiveTheStart) {
  TMeter m(nullptr);
  EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(-5), 135);
  EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(5), 225);
  EXPECT_DOUBLE_EQ(m.CalcNeedleAngle(NAN), 135);
  EXPECT_EQ(MeterFraction({2, 2, false}, 2), 0);
  EXPECT_EQ(MeterFraction({2, 2, true}, 2), 0);
  // A logarithmic flag with a non-positive end falls back to the linear fraction.
  EXPECT_DOUBLE_EQ(MeterFraction({-1, 1, true}, 0), 0.5);
  EXPECT_DOUBLE_EQ(MeterFraction({1, 100, true}, 10), 0.5);
}

// ---------------------------------------------------------------- labels

TEST(MeterLabels, DecimalPlacesAndText) {
  EXPECT_EQ(CalcM(3, 0, 1), 3);
  EXPECT_EQ(CalcM(-2, 0, 2000000), -1);
  EXPECT_EQ(CalcM(-2, 1, 1.00001), -1);
  EXPECT_EQ(CalcM(-2, 0, 100), 0);
  EXPECT_EQ(CalcM(-2, 0, 1), 2);     // ln 1 = 0
  EXPECT_EQ(CalcM(-2, 0, 0.01), 4);  // ln 0.01 / 2.5 = -1.84
  EXPECT_EQ(CalcM(-2, 0, 50), 0);    // 3.91 / 2.5 = 1.56
  EXPECT_EQ(MeterLabelText(0.6, 1), "0.6");
  EXPECT_EQ(MeterLabelText(-5, 0), "-5");
  EXPECT_EQ(MeterLabelText(1000, 2), "1000.00");
  EXPECT_EQ(MeterLabelText(-1e-17, 1), "0.0");  // a tick that lands a hair below 0
}

// ---------------------------------------------------------------- tick spacing

struct SpacingCase {
  double Lo, Hi;
  int N;
  double Step, T0;
  int Minor;
};

TEST(MeterTicks, SpacingFollowsTheOneTwoFiveSeriesWithItsTolerances) {
  const SpacingCase cases[] = {
      {0, 1, 3, 0.2, 0, 4},         {0, 100, 3, 20, 0, 4},
      {-10, 10, 3, 5, -10, 5},      {0, 1, 2, 0.2, 0, 4},
      {0, 1, 5, 0.1, 0, 5},         {0, 1, 10, 0.1, 0, 5},
      {0, 1, 4, 0.2, 0, 4},         {0, 10, 3, 2, 0, 4},
      {0.05, 0.95, 3, 0.2, 0.2, 4}, {-1, 0, 3, 0.2, -1, 4},
      {3, 97, 7, 10, 10, 5},        {0, 1000, 21, 20, 0, 4},
      {1, 1000, 3, 200, 200, 4},    {-0.013, 0.017, 3, 0.01, -0.01, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lo << ".." << c.Hi << " n " << c.N);
    const TTickSpacing s = CalcTickSpacing(c.N, c.Lo, c.Hi);
    EXPECT_NEAR(s.Step, c.Step, 1e-12 * c.Step);
    EXPECT_NEAR(s.T0, c.T0, 1e-9 * c.Step);
    EXPECT_EQ(s.Minor, c.Minor);
    // Never above the ideal interval, so at least N intervals fit.
    EXPECT_LE(s.Step, (c.Hi - c.Lo) / c.N * (1 + 1e-12));
  }
}

TEST(MeterTicks, ADegenerateOrReversedRangeNeverLoops) {
  TTickSpacing s = CalcTickSpacing(3, 4, 4);
  EXPECT_EQ(s.Step, 0);
  EXPECT_EQ(s.T0, 4);
  EXPECT_EQ(s.Minor, 1);
  s = CalcTickSpacing(3, 1, 0);
  EXPECT_NEAR(s.Step, -0.2, 1e-15);
  EXPECT_EQ(MeterScaleTicks({4, 4, false}, 3, true).size(), 1u);
  // Values whose step vanishes against their size stop at the safety limit.
  EXPECT_LE(MeterScaleTicks({1e20, 1e20 + 65536, false}, 21, true).size(), 8001u);
}

std::vector<double> Values(const std::vector<TScaleTick>& Ticks, bool Major, bool LabelledOnly) {
  std::vector<double> r;
  for (const auto& t : Ticks)
    if (t.Major == Major && (!LabelledOnly || t.Labelled)) r.push_back(t.Value);
  return r;
}

void ExpectValues(const std::vector<double>& Got, const std::vector<double>& Want) {
  ASSERT_EQ(Got.size(), Want.size());
  for (size_t i = 0; i < Got.size(); ++i)
    EXPECT_NEAR(Got[i], Want[i], 1e-9 * (1 + std::fabs(Want[i])));
}

TEST(MeterTicks, LinearMajorAndMinorTicks) {
  auto t = MeterScaleTicks({0, 1, false}, 3, true);
  ExpectValues(Values(t, true, true), {0, 0.2, 0.4, 0.6, 0.8, 1.0});
  // Four minor intervals per 0.2, none on a major tick and none below Min.
  std::vector<double> minor;
  for (int k = 0; k < 5; ++k)
    for (int j = 1; j < 4; ++j) minor.push_back(0.2 * k + 0.05 * j);
  ExpectValues(Values(t, false, false), minor);

  t = MeterScaleTicks({-10, 10, false}, 3, true);
  ExpectValues(Values(t, true, true), {-10, -5, 0, 5, 10});
  EXPECT_EQ(Values(t, false, false).size(), 16u);

  t = MeterScaleTicks({0, 1, false}, 3, false);
  EXPECT_TRUE(Values(t, false, false).empty());
  // Ends that are not multiples of the step: the ticks stay inside.
  t = MeterScaleTicks({0.05, 0.95, false}, 3, false);
  ExpectValues(Values(t, true, true), {0.2, 0.4, 0.6, 0.8});
}

TEST(MeterTicks, LogarithmicScaleOfDecadesLabelsOneTwoFive) {
  auto t = MeterScaleTicks({1, 1000, true}, 3, false);
  std::vector<double> major;
  for (double d : {1.0, 10.0, 100.0})
    for (int m = 1; m <= 9; ++m) major.push_back(m * d);
  major.push_back(1000);
  ExpectValues(Values(t, true, false), major);
  ExpectValues(Values(t, true, true), {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000});

  // Exactly one decade, not starting on a power of ten: every tick inside, labels 1-2-5.
  t = MeterScaleTicks({3, 30, true}, 3, false);
  // The tolerance of a billionth keeps ticks that sit on the ends.
  ExpectValues(Values(t, true, false), {3, 4, 5, 6, 7, 8, 9, 10, 20, 30});
  ExpectValues(Values(t, true, true), {5, 10, 20});
  // Starting below a power of ten.
  t = MeterScaleTicks({0.5, 9.5, true}, 3, false);
  ExpectValues(Values(t, true, false), {0.5, 0.6, 0.7, 0.8, 0.9, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  ExpectValues(Values(t, true, true), {0.5, 1, 2, 5});
  // Minor ticks come from the linear spacing and stay within the scale.
  t = MeterScaleTicks({1, 1000, true}, 3, true);
  for (double v : Values(t, false, false)) {
    EXPECT_GE(v, 1);
    EXPECT_LE(v, 1000 * 1.001);
  }
}

TEST(MeterTicks, LogarithmicScaleOfLessThanADecadeUsesLinearTicks) {
  const TMeterScale s{2, 8, true};
  EXPECT_FALSE(MeterSpansDecade(s));
  auto t = MeterScaleTicks(s, 3, false);
  // An ideal interval of exactly 2 falls to a step of 1.
  ExpectValues(Values(t, true, true), {2, 3, 4, 5, 6, 7, 8});
  // ... placed at logarithmic angles: 4 is halfway between 2 and 8.
  TMeterGeometry g;
  g.A = 90;
  EXPECT_NEAR(MeterDrawAngle(g, s, 4), 90, 1e-12);
}

TEST(MeterTicks, AWideLogarithmicScaleEndsItsLoops) {
  auto t = MeterScaleTicks({1e-90, 1e290, true}, 21, true);
  EXPECT_GT(t.size(), 380u * 9);  // every decade up to the top one
  EXPECT_LT(t.size(), 10000u);
}

}  // namespace
}  // namespace qel

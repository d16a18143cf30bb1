// TMeter's setters, invariants, range events, loading, needle layouts, mouse tracking and the
// published properties.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "meter/QEL_Meter.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/Streams.h"

namespace qel {
namespace {

// Records the range events in order.
struct EventLog {
  std::vector<std::string> Events;
  void Attach(TMeter& M) {
    M.OnOverFlow = [this](TObject*) { Events.push_back("over"); };
    M.OnUnderFlow = [this](TObject*) { Events.push_back("under"); };
    M.OnNormalRange = [this](TObject*) { Events.push_back("normal"); };
  }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
};

using V = std::vector<std::string>;

// A meter on a shown headless form, so that repaints happen and can be counted.
class MeterOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 320, 240);
    M = new TMeter(Form);
    M->SetParent(Form);
    Form->Show();
    Application->ProcessMessages();
    M->OnMeterRendered = [this](TObject*, TCanvas*) { ++Paints; };
    Log.Attach(*M);
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  TForm* Form = nullptr;
  TMeter* M = nullptr;
  int Paints = 0;
  EventLog Log;
};

// ---------------------------------------------------------------- limits

TEST(MeterLimits, MinAndMaxPushEachOtherAndPullEverythingInside) {
  TMeter m(nullptr);
  m.SetMaxValue(10);
  m.SetValue(8);
  m.SetValue2(9);
  m.SetHighThreshold(7);
  m.SetLowThreshold(3);
  m.SetMinValue(5);
  EXPECT_EQ(m.GetMeterMinValue(), 5);
  EXPECT_EQ(m.GetThresholdLow(), 5);
  EXPECT_EQ(m.GetThresholdHigh(), 7);
  m.SetMinValue(12);  // beyond Max: Max follows one above
  EXPECT_EQ(m.GetMeterMaxValue(), 13);
  EXPECT_EQ(m.GetValue(), 12);
  EXPECT_EQ(m.GetValueSec(), 12);
  m.SetMaxValue(2);  // below Min: Min follows one below, everything comes down
  EXPECT_EQ(m.GetMeterMinValue(), 1);
  EXPECT_EQ(m.GetMeterMaxValue(), 2);
  EXPECT_EQ(m.GetValue(), 2);
  EXPECT_EQ(m.GetThresholdLow(), 2);
  EXPECT_EQ(m.GetThresholdHigh(), 2);
}

TEST(MeterLimits, LogarithmicGuardAndTheTenthRule) {
  TMeter m(nullptr);
  m.SetMaxValue(100);
  m.SetMinValue(8);
  m.SetLogarithmic(true);
  ASSERT_TRUE(m.GetLogarithmic());
  m.SetMaxValue(5);
  EXPECT_EQ(m.GetMeterMinValue(), 4);
  m.SetMaxValue(100);
  m.SetMinValue(8);
  m.SetMaxValue(0.5);  // 0.5 - 1 is not above 0: a tenth instead
  EXPECT_DOUBLE_EQ(m.GetMeterMinValue(), 0.05);
  // Arguments at or below 1e-100 change nothing.
  m.SetMinValue(0);
  m.SetMinValue(-3);
  m.SetMinValue(1e-100);
  m.SetLowThreshold(0);
  m.SetMaxValue(1e-100);
  EXPECT_DOUBLE_EQ(m.GetMeterMinValue(), 0.05);
  EXPECT_DOUBLE_EQ(m.GetMeterMaxValue(), 0.5);
  // A Max that would push Min to 1e-100 or below is refused too.
  m.SetMinValue(1e-99);
  m.SetMaxValue(5e-100);
  EXPECT_DOUBLE_EQ(m.GetMeterMaxValue(), 0.5);
  EXPECT_GT(m.GetMeterMinValue(), 1e-100);
  // Logarithmic needs both ends above 1e-100.
  TMeter lin(nullptr);
  lin.SetLogarithmic(true);  // Min is 0
  EXPECT_FALSE(lin.GetLogarithmic());
}

TEST(MeterLimits, NaNAndInfinitiesLeaveLimitsAloneButInfiniteValuesClamp) {
  TMeter m(nullptr);
  m.SetValue(0.5);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {nan, inf, -inf}) {
    m.SetMinValue(bad);
    m.SetMaxValue(bad);
  }
  m.SetValue(nan);
  m.SetValue2(nan);
  m.SetLowThreshold(nan);
  m.SetHighThreshold(nan);
  m.SetScaleBkWidth(nan);
  EXPECT_EQ(m.GetMeterMinValue(), 0);
  EXPECT_EQ(m.GetMeterMaxValue(), 1);
  EXPECT_EQ(m.GetValue(), 0.5);
  EXPECT_EQ(m.GetValueSec(), 0);
  EXPECT_EQ(m.GetThresholdLow(), 0);
  EXPECT_EQ(m.GetThresholdHigh(), 1);
  EXPECT_EQ(m.GetScaleBkWidth(), 0);
  m.SetValue(inf);
  EXPECT_EQ(m.GetValue(), 1);
  m.SetLowThreshold(-inf);
  EXPECT_EQ(m.GetThresholdLow(), 0);
  // Huge limits still leave a scale with a length.
  m.SetMinValue(1e300);
  EXPECT_LT(m.GetMeterMinValue(), m.GetMeterMaxValue());
  m.SetMaxValue(-1e300);
  EXPECT_LT(m.GetMeterMinValue(), m.GetMeterMaxValue());
}

TEST(MeterLimits, OtherClamps) {
  TMeter m(nullptr);
  m.SetNrTicks(0);
  EXPECT_EQ(m.GetMeterNrTicks(), 2);
  m.SetNrTicks(99);
  EXPECT_EQ(m.GetMeterNrTicks(), 21);
  m.SetDecPlaces(9);
  EXPECT_EQ(m.GetMeterDecPlaces(), 4);
  m.SetDecPlaces(-2);
  EXPECT_EQ(m.GetMeterDecPlaces(), 0);
  m.SetScaleBkWidth(150);
  EXPECT_EQ(m.GetScaleBkWidth(), 100);
  m.SetScaleBkWidth(-1);
  EXPECT_EQ(m.GetScaleBkWidth(), 0);
  m.SetSizeAnchor(-4);
  EXPECT_EQ(m.GetAnchorSize(), 0);
  m.SetColorScheme(csSystem);
  EXPECT_EQ(m.FrameDark(), clBtnShadow);
  EXPECT_EQ(m.FrameLight(), clBtnHighlight);
  m.SetColorScheme(csBWG);
  EXPECT_EQ(m.FrameDark(), clGray);
  EXPECT_EQ(m.FrameLight(), clWhite);
}

// Any sequence of setter calls keeps the invariants.
TEST(MeterLimits, RandomSetterSequencesKeepTheInvariants) {
  std::mt19937 rng(20261207);
  std::uniform_int_distribution<int> op(0, 7);
  std::uniform_real_distribution<double> val(-50, 150);
  std::uniform_int_distribution<int> special(0, 9);
  const double specials[] = {0,
                             1e-100,
                             1e-101,
                             -1e-300,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             1e300,
                             1};
  for (int run = 0; run < 40; ++run) {
    TMeter m(nullptr);
    for (int i = 0; i < 300; ++i) {
      const int s = special(rng);
      const double x = s < 8 ? specials[s] : val(rng);
      switch (op(rng)) {
        case 0:
          m.SetMinValue(x);
          break;
        case 1:
          m.SetMaxValue(x);
          break;
        case 2:
          m.SetValue(x);
          break;
        case 3:
          m.SetValue2(x);
          break;
        case 4:
          m.SetLowThreshold(x);
          break;
        case 5:
          m.SetHighThreshold(x);
          break;
        case 6:
          m.SetLogarithmic(s % 2 == 0);
          break;
        default:
          m.SetMinValue(val(rng) * 1e-3);
          break;
      }
      const double lo = m.GetMeterMinValue(), hi = m.GetMeterMaxValue();
      ASSERT_LT(lo, hi) << "step " << i;
      ASSERT_TRUE(std::isfinite(lo) && std::isfinite(hi));
      for (double v : {m.GetValue(), m.GetValueSec(), m.GetThresholdLow(), m.GetThresholdHigh()}) {
        ASSERT_GE(v, lo) << "step " << i;
        ASSERT_LE(v, hi) << "step " << i;
      }
      ASSERT_LE(m.GetThresholdLow(), m.GetThresholdHigh()) << "step " << i;
      if (m.GetLogarithmic()) {
        ASSERT_GT(lo, 1e-100);
        ASSERT_GT(hi, 1e-100);
      }
    }
  }
}

// ---------------------------------------------------------------- range events

TEST_F(MeterOnForm, ValueRaisesOneEventPerEffectiveChange) {
  M->SetLowThreshold(0.2);
  M->SetHighThreshold(0.8);
  Log.Take();
  M->SetValue(0.8);  // equal to the high threshold: overflow
  EXPECT_EQ(Log.Take(), V{"over"});
  EXPECT_TRUE(M->Overflow());
  M->SetValue(0.8);
  EXPECT_TRUE(Log.Take().empty());
  M->SetValue(0.5);
  EXPECT_EQ(Log.Take(), V{"normal"});
  EXPECT_FALSE(M->Overflow());
  M->SetValue(0.6);  // level-triggered: the same range again
  EXPECT_EQ(Log.Take(), V{"normal"});
  M->SetValue(0.2);  // equal to the low threshold: underflow
  EXPECT_EQ(Log.Take(), V{"under"});
  EXPECT_TRUE(M->Underflow());
  // Beyond the scale it clamps; the same clamped value twice is one change.
  M->SetValue(5);
  M->SetValue(7);
  EXPECT_EQ(Log.Take(), V{"over"});
  EXPECT_EQ(M->GetValue(), 1);
  // A hidden main needle keeps quiet but still clears the flags.
  M->GetNeedleLayout()->SetVisible(false);
  M->SetValue(0.1);
  EXPECT_TRUE(Log.Take().empty());
  EXPECT_FALSE(M->Overflow());
  EXPECT_FALSE(M->Underflow());
}

TEST_F(MeterOnForm, ThresholdsRaiseTheirOwnEventAndFollowEachOther) {
  M->SetValue(0.5);
  Log.Take();
  M->SetLowThreshold(0.6);  // the value now lies at or below the low threshold
  EXPECT_EQ(Log.Take(), V{"under"});
  EXPECT_TRUE(M->Underflow());
  M->SetLowThreshold(0.4);
  EXPECT_TRUE(Log.Take().empty());
  EXPECT_FALSE(M->Underflow());
  M->SetHighThreshold(0.3);  // below the low one: it comes down too
  EXPECT_EQ(M->GetThresholdLow(), 0.3);
  EXPECT_EQ(Log.Take(), V{"over"});
  M->SetLowThreshold(0.9);  // above the high one: it goes up too
  EXPECT_EQ(M->GetThresholdHigh(), 0.9);
  EXPECT_EQ(Log.Take(), V{"under"});
  M->SetHighThreshold(5);  // clamps to Max = 1
  EXPECT_EQ(M->GetThresholdHigh(), 1);
  M->SetHighThreshold(7);  // same clamped value: nothing
  EXPECT_TRUE(Log.Take().empty());
}

TEST_F(MeterOnForm, SecondValueRepaintsAndJudgesOnlyWhenItsNeedleShows) {
  Paints = 0;
  M->SetValue2(0.9);
  EXPECT_EQ(M->GetValueSec(), 0.9);
  EXPECT_EQ(Paints, 0);
  EXPECT_TRUE(Log.Take().empty());
  M->GetNeedleLayoutSec()->SetVisible(true);
  EXPECT_EQ(Paints, 1);
  M->SetValue2(1.0);
  EXPECT_EQ(Log.Take(), V{"over"});
  EXPECT_TRUE(M->Overflow());
  EXPECT_EQ(Paints, 2);
}

TEST_F(MeterOnForm, SettersRepaintOnlyWhenSomethingChanges) {
  Paints = 0;
  M->SetColorScale(clNavy);
  M->SetFrameStyle(fsRaised);
  M->SetNrTicks(3);
  M->SetValue(0);
  M->GetNeedleLayout()->SetNeedleLength(150);  // stored as 100, as it is
  EXPECT_EQ(Paints, 0);
  M->SetColorScale(clRed);
  M->SetNrTicks(5);
  M->GetNeedleLayout()->SetArrowAngle1(45);
  EXPECT_EQ(Paints, 3);
  M->SetScaleVis(true);  // the "always" setters
  M->SetUnitLabel("");
  EXPECT_EQ(Paints, 5);
  M->GetFontCaption()->SetSize(14);
  EXPECT_EQ(Paints, 6);
}

// ---------------------------------------------------------------- loading

TEST(MeterLoading, SettersOnlyStoreAndLoadedClampsValueAlone) {
  TMeter m(nullptr);
  EventLog log;
  log.Attach(m);
  m.Loading();
  m.SetValue(50);
  m.SetLowThreshold(-5);
  m.SetHighThreshold(40);
  m.SetMaxValue(10);
  m.SetMinValue(2);
  EXPECT_EQ(m.GetValue(), 50);
  EXPECT_EQ(m.GetThresholdLow(), -5);
  EXPECT_TRUE(log.Events.empty());
  m.Loaded();
  EXPECT_EQ(m.GetValue(), 10);
  EXPECT_EQ(m.GetThresholdLow(), -5);  // only Value is clamped
  EXPECT_EQ(m.GetThresholdHigh(), 40);
  EXPECT_TRUE(log.Events.empty());
}

TEST(MeterLoading, RimsReadAfterTheBoundsShapeTheLayout) {
  TMeter m(nullptr);
  m.Loading();
  m.SetBounds(0, 0, 400, 300);
  m.SetTRim(30);
  m.Loaded();
  EXPECT_DOUBLE_EQ(m.Geometry().R, 300 - 10 - 30 - 16);
}

TEST(MeterLoading, MissingImagesEmptyTheirNames) {
  TMeter m(nullptr);
  m.SetBakGndFname("/nonexistent/bkg.bmp");
  EXPECT_EQ(m.GetBackGroundImg(), "");
  m.SetACoverFname("/nonexistent/anchor.bmp");
  EXPECT_EQ(m.GetAnchorImage(), "");
  m.Loading();
  m.SetBakGndFname("/nonexistent/bkg.bmp");
  EXPECT_EQ(m.GetBackGroundImg(), "/nonexistent/bkg.bmp");
  m.Loaded();
  EXPECT_EQ(m.GetBackGroundImg(), "");
}

TEST(MeterImages, AnchorFileLoadsPictureAndAnAllBlackMask) {
  const std::string file = std::string(QEL_BINARY_DIR) + "/meter_anchor_test.bmp";
  TBitmap pic(6, 4);
  pic.Canvas()->Brush()->SetColor(clRed);
  pic.Canvas()->FillRect(Rect(0, 0, 6, 4));
  pic.SaveToFile(file);
  TMeter m(nullptr);
  m.SetACoverFname(file);
  EXPECT_EQ(m.GetAnchorImage(), file);
  EXPECT_EQ(m.AnchorBitmap()->GetWidth(), 6);
  EXPECT_EQ(m.AnchorBitmap()->Canvas()->GetPixel(2, 2), clRed);
  // A file that exists but is no picture: the name empties without an error.
  const std::string junk = std::string(QEL_BINARY_DIR) + "/meter_junk_test.bmp";
  {
    TFileStream f(junk, fmCreate);
    f.Write("junk", 4);
  }
  EXPECT_NO_THROW(m.SetACoverFname(junk));
  EXPECT_EQ(m.GetAnchorImage(), "");
  // The background reports it, and keeps no name for a picture it could not read.
  m.SetBakGndFname(file);
  EXPECT_EQ(m.BackgroundBitmap()->GetWidth(), 6);
  EXPECT_ANY_THROW(m.SetBakGndFname(junk));
  EXPECT_EQ(m.GetBackGroundImg(), "");
}

// ---------------------------------------------------------------- needle layouts

TEST(NeedleLayout, ClampsNotifiesOnceAndCopiesEveryField) {
  TNeedleLayout a;
  int changes = 0;
  a.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &a);
    ++changes;
  };
  a.SetNeedleLength(150);
  EXPECT_EQ(a.GetPercentNeedleLength(), 100);
  EXPECT_EQ(changes, 0);  // 100 already
  a.SetArrowAngle1(-5);
  EXPECT_EQ(a.GetHeadAngle(), 0);
  a.SetArrowAngle1(500);
  EXPECT_EQ(a.GetHeadAngle(), 180);
  EXPECT_EQ(changes, 2);
  a.SetArrowAngle1(180);
  EXPECT_EQ(changes, 2);

  TNeedleLayout b;
  b.SetColorFill(clRed);
  b.SetColorLine(clBlue);
  b.SetArrowSize1(11);
  b.SetArrowThick(3);
  b.SetNeedleLength(70);
  b.SetArrowAngle1(40);
  b.SetBackShift1(9);
  b.SetShadowDx(2);
  b.SetShadowDy(-3);
  b.SetShadowColor(clYellow);
  b.SetVisible(false);
  changes = 0;
  a.Assign(&b);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(a.GetColorBody(), clRed);
  EXPECT_EQ(a.GetColorOutline(), clBlue);
  EXPECT_EQ(a.GetHeadSize(), 11);
  EXPECT_EQ(a.GetThickness(), 3);
  EXPECT_EQ(a.GetPercentNeedleLength(), 70);
  EXPECT_EQ(a.GetHeadAngle(), 40);
  EXPECT_EQ(a.GetHeadMidLeng(), 9);
  EXPECT_EQ(a.GetShadowDx(), 2);
  EXPECT_EQ(a.GetShadowDy(), -3);
  EXPECT_EQ(a.GetShadowColor(), clYellow);
  EXPECT_FALSE(a.GetVisible());
  a.Assign(&b);
  EXPECT_EQ(changes, 1);

  TMeter m(nullptr);
  m.SetNeedle2Layout(&b);
  EXPECT_EQ(m.GetNeedleLayoutSec()->GetHeadMidLeng(), 9);
  EXPECT_TRUE(m.GetNeedleLayout()->GetVisible());
  EXPECT_FALSE(m.GetNeedleLayoutSec()->GetVisible());
}

// ---------------------------------------------------------------- mouse

TEST_F(MeterOnForm, MouseMoveReportsTheValueUnderThePointer) {
  M->SetMaxValue(100);
  M->SetLeft(10);
  std::vector<std::pair<bool, double>> seen;
  TShiftState lastShift;
  M->OnMouseMoveInMeter = [&](TObject* Sender, bool Within, TShiftState Shift, double Value) {
    EXPECT_EQ(Sender, M);
    seen.push_back({Within, Value});
    lastShift = Shift;
  };
  int plain = 0;
  M->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++plain; };
  THeadlessInput in(Form);
  const TMeterGeometry& g = M->Geometry();
  in.MouseMove(10 + g.CX, g.CY - 50);                  // straight up: the middle
  in.MouseMove(10 + g.CX - 60, g.CY - 60, {ssShift});  // the start
  in.MouseMove(10 + g.CX + 60, g.CY + 2);              // below the arc
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[0].first);
  EXPECT_DOUBLE_EQ(seen[0].second, 50);
  EXPECT_TRUE(seen[1].first);
  EXPECT_NEAR(seen[1].second, 0, 1e-9);
  EXPECT_FALSE(seen[2].first);
  EXPECT_EQ(seen[2].second, 0);
  EXPECT_FALSE(lastShift.Contains(ssShift));
  EXPECT_EQ(plain, 3);  // the framework's own event still fires
}

// ---------------------------------------------------------------- published properties

TEST(MeterProperties, RegisteredWithTheirDefaultsAndSetThroughTheRegistry) {
  RegisterMeterClasses();
  RegisterMeterClasses();  // twice changes nothing
  const TClassInfo* info = FindClassInfo("TMeter");
  ASSERT_NE(info, nullptr);
  TMeter m(nullptr);
  // Every property with a default is at its default on a fresh meter.
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&m)) continue;
    EXPECT_TRUE(p->IsDefault(&m)) << p->Name;
  }
  SetPropText(&m, *info->FindProperty("MeterLayout"), "mlCirc300");
  EXPECT_EQ(m.GetMeterLayout(), mlCirc300);
  EXPECT_EQ(m.Geometry().A, 300);
  SetPropText(&m, *info->FindProperty("MeterNrTicks"), "0");
  EXPECT_EQ(m.GetMeterNrTicks(), 2);
  TPropTarget t = ResolvePropPath(&m, "NeedleLayoutSec.Visible");
  ASSERT_NE(t.Prop, nullptr);
  SetPropText(t.Object, *t.Prop, "True");
  EXPECT_TRUE(m.GetNeedleLayoutSec()->GetVisible());
  t = ResolvePropPath(&m, "NeedleLayout.HeadAngle");
  EXPECT_EQ(GetPropText(t.Object, *t.Prop), "30");
  SetPropText(&m, *info->FindProperty("Caption"), "mV");
  EXPECT_EQ(m.GetCaption(), "mV");
}

// A meter read from a form file: setters only store while loading, Loaded clamps Value, and
// writing it back gives the same text.
TEST(MeterProperties, FormFileRoundTrip) {
  RegisterMeterClasses();
  const std::string text =
      "object Meter1: TMeter\n"
      "  Left = 4\n"
      "  Top = 5\n"
      "  Width = 400\n"
      "  Height = 300\n"
      "  MeterLayout = mlCirc270\n"
      "  Logarithmic = True\n"
      "  MeterMinValue = 2\n"
      "  MeterMaxValue = 2000\n"
      "  Value = 5000\n"
      "  ThresholdLow = 10\n"
      "  ThresholdHigh = 1500\n"
      "  RimTop = 20\n"
      "  Caption = 'Hz'\n"
      "  NeedleLayoutSec.Visible = True\n"
      "  NeedleLayoutSec.ColorBody = clLime\n"
      "end\n";
  std::unique_ptr<TMeter> m(CreateFromText<TMeter>(text, nullptr));
  EXPECT_EQ(m->GetName(), "Meter1");
  EXPECT_TRUE(m->GetLogarithmic());
  EXPECT_EQ(m->GetMeterMinValue(), 2);
  EXPECT_EQ(m->GetMeterMaxValue(), 2000);
  EXPECT_EQ(m->GetValue(), 2000);
  EXPECT_EQ(m->GetThresholdHigh(), 1500);
  EXPECT_EQ(m->GetCaption(), "Hz");
  EXPECT_EQ(m->Geometry().A, 270);
  EXPECT_NEAR(m->Geometry().R, (300 - 20 - 10 - 16) / 1.7071, 1e-9);
  EXPECT_TRUE(m->GetNeedleLayoutSec()->GetVisible());
  EXPECT_EQ(m->GetNeedleLayoutSec()->GetColorBody(), clLime);
  const std::string written = WriteComponentText(m.get());
  std::unique_ptr<TMeter> again(CreateFromText<TMeter>(written, nullptr));
  EXPECT_EQ(WriteComponentText(again.get()), written);
  EXPECT_EQ(again->GetValue(), 2000);
}

TEST(MeterAssign, CopiesValuesLookAndNeedlesButNotTheName) {
  TMeter a(nullptr), b(nullptr);
  a.SetName("A");
  b.SetBounds(0, 0, 500, 400);
  b.SetMeterLayout(mlCirc180);
  b.SetMaxValue(50);
  b.SetValue(40);
  b.SetColorScheme(csSystem);
  b.SetUnitLabel("V");
  b.GetNeedleLayoutSec()->SetVisible(true);
  a.Assign(&b);
  EXPECT_EQ(a.GetName(), "A");
  EXPECT_EQ(a.GetMeterLayout(), mlCirc180);
  EXPECT_EQ(a.GetMeterMaxValue(), 50);
  EXPECT_EQ(a.GetValue(), 40);
  EXPECT_TRUE(a.Overflow());
  EXPECT_EQ(a.FrameDark(), clBtnShadow);
  EXPECT_EQ(a.GetCaption(), "V");
  EXPECT_TRUE(a.GetNeedleLayoutSec()->GetVisible());
  // The layout follows a's own size, not b's.
  EXPECT_EQ(a.Geometry().CX, 148);
}

}  // namespace
}  // namespace qel

// TProgBar: the bar of every direction and degenerate range, the colour table and its three
// mappings at the pixels, grid, frames, value texts and their origin, setter ranges, the
// background picture, copying, the auto-increment timer in virtual time with its error, the
// published properties, and one golden sheet.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "indicators/QEL_ProgBar.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

constexpr TColor kMagenta = 0xFF00FF;

std::unique_ptr<TBitmap> Render(TProgBar& P) {
  auto b = std::make_unique<TBitmap>(P.GetWidth(), P.GetHeight());
  test::FillBitmap(*b, kMagenta);
  P.RenderTo(b->Canvas());
  return b;
}

class ProgBar : public ::testing::Test {
 protected:
  void SetUp() override { ResetHeadlessApplication(); }
  void TearDown() override { ResetHeadlessApplication(); }
};

// ---------------------------------------------------------------- geometry

TEST_F(ProgBar, DefaultBarRunsFromFourTo33) {
  TProgBar p(nullptr);
  const TProgBarRect r = p.BarRect();
  EXPECT_EQ(r.Left, 4);
  EXPECT_EQ(r.Right, 33);  // Round(292 * 0.1) + 4
  EXPECT_EQ(r.Top, 4);
  EXPECT_EQ(r.Bottom, 24);
  p.SetShowValue(false);
  auto b = Render(p);
  EXPECT_EQ(PixelAt(*b, 10, 12), clBlue);
  EXPECT_EQ(PixelAt(*b, 32, 12), clBlue);
  EXPECT_EQ(PixelAt(*b, 33, 12), clSilver);
}

TEST_F(ProgBar, EveryDirectionFillsFromItsStartingEdge) {
  struct Case {
    TDirection D;
    int W, H;
    int64_t L, T, R, B;
  };
  // A quarter of the inner length: 112 / 4 = 28 rows, 292 / 4 = 73 columns.
  const Case cases[] = {
      {drUp, 40, 120, 4, 88, 36, 116},
      {drDown, 40, 120, 4, 4, 36, 32},
      {drLeft, 300, 28, 223, 4, 296, 24},
      {drRight, 300, 28, 4, 4, 77, 24},
  };
  for (const Case& c : cases) {
    TProgBar p(nullptr);
    p.SetBounds(0, 0, c.W, c.H);
    p.SetDirection(c.D);
    p.SetPBarValue(25);
    p.SetShowValue(false);
    const TProgBarRect r = p.BarRect();
    EXPECT_EQ((std::array<int64_t, 4>{r.Left, r.Top, r.Right, r.Bottom}),
              (std::array<int64_t, 4>{c.L, c.T, c.R, c.B}))
        << int(c.D);
    // Solid bar: filled inside, background just past the leading end.
    auto b = Render(p);
    const int lx = static_cast<int>(c.D == drLeft ? c.L - 1 : c.D == drRight ? c.R : 20);
    const int ly = static_cast<int>(c.D == drUp ? c.T - 1 : c.D == drDown ? c.B : 14);
    EXPECT_EQ(PixelAt(*b, lx, ly), clSilver) << int(c.D);
    const int fx = static_cast<int>(c.D == drLeft ? c.L : c.D == drRight ? c.R - 1 : 20);
    const int fy = static_cast<int>(c.D == drUp ? c.T : c.D == drDown ? c.B - 1 : 14);
    EXPECT_EQ(PixelAt(*b, fx, fy), clBlue) << int(c.D);
  }
}

TEST_F(ProgBar, DegenerateRangesAndValuesOutside) {
  struct Case {
    double Min, Max, Value;
    int64_t Length;
  };
  const Case cases[] = {
      {50, 50, 50, 0},     // Min = Max: an empty bar
      {0, 100, -10, 0},    // below Min: nothing, not a bar backwards over the margin
      {0, 100, NAN, 29},   // NaN is refused: the value stays 10
      {0, 100, 150, 438},  // above Max: past the inner area
      {100, 0, 90, 29},    // Min above Max: the fraction runs the other way
      {0, 100, INFINITY, int64_t{1} << 40},  // held far out, without overflow
  };
  for (const Case& c : cases) {
    TProgBar p(nullptr);
    p.SetPBarMin(c.Min);
    p.SetPBarMax(c.Max);
    p.SetPBarValue(c.Value);
    EXPECT_EQ(p.BarRect().Length, c.Length) << c.Value;
    p.SetColorGrad(true);
    p.SetGridDist(5);
    auto b = Render(p);                                  // never crashes, whatever the length
    EXPECT_EQ(PixelAt(*b, 2, 14), clSilver) << c.Value;  // the left margin stays clear
  }
  TProgBar p(nullptr);
  p.SetRange(80, 20);
  EXPECT_EQ(p.GetMin(), 20);
  EXPECT_EQ(p.GetMax(), 80);
}

// ---------------------------------------------------------------- colours

TEST_F(ProgBar, ColourTableInterpolatesAndSingleEntriesStayUntilRecomputed) {
  TProgBar p(nullptr);
  EXPECT_EQ(p.GetBarColorElem(0), clBlue);
  EXPECT_EQ(p.GetBarColorElem(1), TColor{0xFE0000});     // blue Trunc(254.75)
  EXPECT_EQ(p.GetBarColorElem(512), TColor{0x7F007F});   // red Trunc(127.62), blue Trunc(127.38)
  EXPECT_EQ(p.GetBarColorElem(1022), TColor{0x0000FE});  // red Trunc(254.75), blue Trunc(0.25)
  EXPECT_EQ(p.GetBarColorElem(1023), clRed);
  EXPECT_EQ(p.GetBarColorElem(1024), clNone);
  EXPECT_EQ(p.GetBarColorElem(-1), clNone);
  p.SetBarColorElem(500, clLime);
  p.SetBarColorElem(5000, clLime);  // out of range: nothing
  EXPECT_EQ(p.GetBarColorElem(500), clLime);
  EXPECT_EQ(p.GetBarColorElem(499), ProgBarMix(clBlue, clRed, 499.0 / 1023));
  p.SetColorMax(clWhite);
  EXPECT_EQ(p.GetColorMax(), clWhite);
  EXPECT_EQ(p.GetBarColorElem(500), ProgBarMix(clBlue, clWhite, 500.0 / 1023));
  EXPECT_EQ(ProgBarMix(clBlack, clWhite, 2.0), clWhite);  // the mix is limited to 0..1
  EXPECT_EQ(ProgBarMix(clBlack, clWhite, -1), clBlack);
}

TEST_F(ProgBar, ColourIndexOfTheThreeMappings) {
  struct Case {
    TColorMapping Mode;
    int64_t E, N, S;
    int K;
  };
  const Case cases[] = {
      {cgmStretch, 0, 1, 292, 0},      // a one-line bar is entry 0
      {cgmStretch, 28, 29, 292, 988},  // the whole table in the filled part: 28 * 1023 / 29
      {cgmStretch, 14, 29, 292, 494},  // 14 * 1023 / 29 = 493.86
      {cgmCover, 0, 29, 292, 0},       {cgmCover, 28, 29, 292, 98},  // 28 * 1023 / 292 = 98.1
      {cgmCover, 291, 292, 292, 1019},  // a full bar shows the table to its end
      {cgmMove, 28, 29, 292, 1023},     // the leading end is always the last entry
      {cgmMove, 0, 29, 292, 925},       // 0 - 98 + 1023
      {cgmMove, 0, 600, 292, 0},        // limited below
      {cgmCover, 600, 601, 292, 1023},  // limited above
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgBarColorIndex(c.Mode, c.E, c.N, c.S), c.K)
        << int(c.Mode) << " e=" << c.E << " n=" << c.N;
}

TEST_F(ProgBar, GradientLinesTakeTheirTableColours) {
  for (TColorMapping mode : {cgmCover, cgmStretch, cgmMove}) {
    for (TDirection d : {drUp, drDown, drLeft, drRight}) {
      TProgBar p(nullptr);
      const bool vertical = d == drUp || d == drDown;
      if (vertical) p.SetBounds(0, 0, 30, 200);
      p.SetDirection(d);
      p.SetColorGrad(true);
      p.SetColorMapMode(mode);
      p.SetShowValue(false);
      p.SetPBarValue(40);
      const TProgBarRect r = p.BarRect();
      auto b = Render(p);
      for (int64_t e : {int64_t{2}, r.Length / 2, r.Length - 3}) {
        int x = 0, y = 0;
        if (d == drRight) x = static_cast<int>(r.Left + e), y = 12;
        if (d == drLeft) x = static_cast<int>(r.Right - 1 - e), y = 12;
        if (d == drUp) x = 12, y = static_cast<int>(r.Bottom - 1 - e);
        if (d == drDown) x = 12, y = static_cast<int>(r.Top + e);
        EXPECT_EQ(PixelAt(*b, x, y),
                  p.GetBarColorElem(ProgBarColorIndex(mode, e, r.Length, r.Inner)))
            << int(mode) << " dir " << int(d) << " e " << e;
      }
    }
  }
}

TEST_F(ProgBar, GridLinesOverTheFilledPart) {
  TProgBar p(nullptr);
  p.SetShowValue(false);
  p.SetPBarValue(50);  // columns 4..149
  p.SetGridDist(10);
  p.SetColorGrid(clLime);
  auto b = Render(p);
  EXPECT_EQ(PixelAt(*b, 14, 12), clLime);
  EXPECT_EQ(PixelAt(*b, 144, 12), clLime);
  EXPECT_EQ(PixelAt(*b, 15, 12), clBlue);
  EXPECT_EQ(PixelAt(*b, 154, 12), clSilver);  // beyond the bar: none
  p.SetGridDist(1);                           // 1 draws no grid
  b = Render(p);
  EXPECT_EQ(PixelAt(*b, 14, 12), clBlue);
  // Upwards the lines count from the bottom inner row.
  p.SetBounds(0, 0, 30, 120);
  p.SetDirection(drUp);
  p.SetGridDist(10);
  b = Render(p);  // rows 60..115 filled
  EXPECT_EQ(PixelAt(*b, 12, 105), clLime);
  EXPECT_EQ(PixelAt(*b, 12, 65), clLime);
  EXPECT_EQ(PixelAt(*b, 12, 55), clSilver);
  EXPECT_EQ(PixelAt(*b, 12, 104), clBlue);
}

// ---------------------------------------------------------------- frames

TEST_F(ProgBar, FramesOfEveryStyle) {
  // Pixels of the outer frame on a 300 x 28 bar: corners and both edges.
  struct Case {
    TFrameStyle Style;
    TColor TopLeft, Inner11, BottomRow, RightCol, InnerRight, CornerBL;
  };
  const Case cases[] = {
      {fsNone, clSilver, clSilver, clSilver, clSilver, clSilver, clSilver},
      {fsSimple, clGray, clSilver, clGray, clGray, clSilver, clGray},
      {fsLowered, clGray, clBlack, clWhite, clWhite, clGray, clSilver},
      {fsRaised, clGray, clWhite, clBlack, clBlack, clGray, clSilver},
      {fsEmbossed, clWhite, clGray, clGray, clGray, clWhite, clSilver},
      {fsEngraved, clGray, clWhite, clWhite, clWhite, clGray, clSilver},
  };
  for (const Case& c : cases) {
    TProgBar p(nullptr);
    p.SetShowValue(false);
    p.SetInnerFrameStyle(fsNone);
    p.SetOuterFrameStyle(c.Style);
    auto b = Render(p);
    EXPECT_EQ(PixelAt(*b, 0, 0), c.TopLeft) << int(c.Style);
    EXPECT_EQ(PixelAt(*b, 1, 1), c.Inner11) << int(c.Style);
    EXPECT_EQ(PixelAt(*b, 100, 27), c.BottomRow) << int(c.Style);
    EXPECT_EQ(PixelAt(*b, 299, 10), c.RightCol) << int(c.Style);
    EXPECT_EQ(PixelAt(*b, 298, 10), c.InnerRight) << int(c.Style);
    EXPECT_EQ(PixelAt(*b, 0, 27), c.CornerBL) << int(c.Style);
  }
  // The colour scheme gives the dark and light edges.
  TProgBar p(nullptr);
  p.SetColorScheme(csSystem);
  EXPECT_EQ(p.FrameDark(), clBtnShadow);
  EXPECT_EQ(p.FrameLight(), clBtnHighlight);
  p.SetShowValue(false);
  auto b = Render(p);
  EXPECT_EQ(PixelAt(*b, 0, 0), ColorToRGB(clBtnShadow) & 0xFFFFFF);
  EXPECT_EQ(PixelAt(*b, 4, 4), ColorToRGB(clBtnShadow) & 0xFFFFFF);  // the inner frame too
  EXPECT_EQ(PixelAt(*b, 5, 5), clBlack);
}

// ---------------------------------------------------------------- text

TEST_F(ProgBar, ValueTexts) {
  struct Case {
    double V;
    int Dec;
    const char* Text;
  };
  const Case cases[] = {
      {12.5, 2, "12.50"},       {10, 0, "10"},
      {-0.25, 1, "-0.3"},       {12.5, -2, "1.3E+0001"},
      {12.5, -1, "1.3E+01"},    {-0.004, -1, "-4.0E-03"},
      {0, -1, "0.0E+00"},       {2e150, -1, "*******"},  // the exponent does not fit in two digits
      {2e150, -2, "2.0E+0150"}, {12.5, 15, "12.5000000000"},  // limited to 10
  };
  for (const Case& c : cases) EXPECT_EQ(ProgBarValueText(c.V, c.Dec), c.Text) << c.V;
  TProgBar p(nullptr);
  p.SetPBarValue(12.5);
  p.SetTextDecPl(2);
  EXPECT_EQ(p.ValueText(), "12.50");
  p.OnShowValue = [](TObject*, std::string& T) { T += " %"; };
  EXPECT_EQ(p.ValueText(), "12.50 %");
}

TEST_F(ProgBar, TextOriginPutsTheReferencePointOnTheText) {
  struct Case {
    TAlignment A;
    int Angle;
    TPoint O;
  };
  // Half extents 20 x 6 about (100, 50).
  const Case cases[] = {
      {taLeftJustify, 0, {100, 44}}, {taCenter, 0, {80, 44}},  {taRightJustify, 0, {60, 44}},
      {taLeftJustify, 90, {94, 50}}, {taCenter, 90, {94, 70}}, {taRightJustify, 90, {94, 90}},
      {taCenter, 180, {120, 56}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProgBarTextOrigin(c.A, c.Angle, 100, 50, 20, 6), c.O) << int(c.A) << " " << c.Angle;
}

TEST_F(ProgBar, TextIsDrawnAtItsPositionAndCanBeHidden) {
  TProgBar p(nullptr);
  p.GetFont()->SetColor(clLime);
  p.SetTextPosX(150);
  // "10" centred on (150, 14): its ink lies round that point, nowhere else in the inner area.
  const TRect inner = Rect(40, 6, 294, 22);
  auto b = Render(p);
  const TRect ink = test::InkBounds(*b, inner, clSilver);
  EXPECT_GT(ink.Width(), 4);
  EXPECT_GE(ink.Left, 140);
  EXPECT_LE(ink.Right, 160);
  EXPECT_GE(ink.Top, 7);
  EXPECT_LE(ink.Bottom, 21);
  p.SetShowValue(false);
  b = Render(p);
  EXPECT_EQ(test::CountOtherPixels(*b, inner, clSilver), 0);
}

// ---------------------------------------------------------------- setters

TEST_F(ProgBar, SetterRanges) {
  TProgBar p(nullptr);
  p.SetTextDecPl(15);
  EXPECT_EQ(p.GetTextDecPlaces(), 10);
  p.SetTextDecPl(-5);
  EXPECT_EQ(p.GetTextDecPlaces(), -2);
  p.SetTextAngle(400);
  EXPECT_EQ(p.GetTextAngle(), 360);
  p.SetTextAngle(-3);
  EXPECT_EQ(p.GetTextAngle(), 0);
  p.SetTextPosX(1000);
  EXPECT_EQ(p.GetTextPosX(), 300);
  p.SetTextPosY(-4);
  EXPECT_EQ(p.GetTextPosY(), 0);
  p.SetTextPosY(1000);
  EXPECT_EQ(p.GetTextPosY(), 28);
  p.SetStartIv(5);
  EXPECT_EQ(p.GetStartInterval(), 10);
  p.SetRepeatIv(-1);
  EXPECT_EQ(p.GetRepeatInterval(), 10);
  p.SetAutoIncStep(0);
  EXPECT_EQ(p.GetAutoIncStep(), 1.0);
  p.SetAutoIncStep(NAN);
  EXPECT_EQ(p.GetAutoIncStep(), 1.0);
  p.SetAutoIncStep(-2.5);
  EXPECT_EQ(p.GetAutoIncStep(), -2.5);
  p.SetPBarMin(NAN);
  EXPECT_EQ(p.GetMin(), 0);
}

TEST_F(ProgBar, BackgroundPictureLoadsOrLeavesTheNameAsItWas) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "qel-progbar-test";
  fs::create_directories(dir);
  const std::string png = (dir / "bk.png").string(), junk = (dir / "junk.png").string();
  TBitmap pic(4, 4);
  test::FillBitmap(pic, clYellow);
  pic.SaveToFile(png);
  { std::ofstream(junk) << "not a picture"; }
  TProgBar p(nullptr);
  p.SetShowValue(false);
  p.SetPBarValue(0);
  p.SetBakGndFile(png);
  EXPECT_EQ(p.GetBackGroundImg(), png);
  auto b = Render(p);
  EXPECT_EQ(PixelAt(*b, 150, 12), clYellow);  // stretched over the inner area
  EXPECT_EQ(PixelAt(*b, 2, 12), clSilver);    // not over the margins
  p.SetBakGndFile(junk);
  EXPECT_EQ(p.GetBackGroundImg(), png);
  p.SetBakGndFile((dir / "missing.png").string());
  EXPECT_EQ(p.GetBackGroundImg(), png);
  EXPECT_EQ(PixelAt(*Render(p), 150, 12), clYellow);
  p.SetBakGndFile("");
  EXPECT_EQ(p.GetBackGroundImg(), "");
  EXPECT_EQ(PixelAt(*Render(p), 150, 12), clSilver);
  // From a form file the picture loads once the bar is complete; a bad one leaves no name.
  RegisterProgBarClasses();
  for (const std::string& name : {png, junk}) {
    std::unique_ptr<TProgBar> f(CreateFromText<TProgBar>(
        "object B: TProgBar\n  Value = 0\n  TextVisible = False\n  BackGroundImg = '" + name +
            "'\nend\n",
        nullptr));
    const bool good = name == png;
    EXPECT_EQ(f->GetBackGroundImg(), good ? png : "");
    EXPECT_EQ(PixelAt(*Render(*f), 150, 12), good ? clYellow : clSilver);
  }
  fs::remove_all(dir);
}

TEST_F(ProgBar, AssignCopiesTheListedValuesAndTheTable) {
  TProgBar a(nullptr), b(nullptr);
  b.SetPBarValue(42);
  b.SetRange(10, 90);
  b.SetDirection(drUp);
  b.SetColorScheme(csSystem);
  b.SetBarColorElem(7, clLime);
  b.SetTextDecPl(3);
  b.SetMarginLeft(9);
  b.SetAutoIncStep(5);  // not among the copied values
  a.SetName("A");
  a.Assign(&b);
  EXPECT_EQ(a.GetName(), "A");
  EXPECT_EQ(a.GetValue(), 42);
  EXPECT_EQ(a.GetMin(), 10);
  EXPECT_EQ(a.GetDirection(), drUp);
  EXPECT_EQ(a.FrameDark(), clBtnShadow);
  EXPECT_EQ(a.GetBarColorElem(7), clLime);
  EXPECT_EQ(a.GetTextDecPlaces(), 3);
  EXPECT_EQ(a.GetMarginLeft(), 9);
  EXPECT_EQ(a.GetAutoIncStep(), 1.0);
  TProgBar c(nullptr);
  b.AssignTo(&c);
  EXPECT_EQ(c.GetValue(), 42);
}

// ---------------------------------------------------------------- auto-increment

TEST_F(ProgBar, AutoIncrementInVirtualTime) {
  TProgBar p(nullptr);
  int ticks = 0;
  p.SetOnAutoInc([&](TObject* S) {
    EXPECT_EQ(S, &p);
    ++ticks;
  });
  EXPECT_FALSE(p.TimerRunning());  // only with AutoInc
  p.SetAutoIncStep(2.5);
  p.SetAutoInc(true);
  Application->AdvanceTime(1499);
  EXPECT_EQ(p.GetValue(), 10);
  Application->AdvanceTime(1);  // 1500: the first tick
  EXPECT_EQ(p.GetValue(), 12.5);
  Application->AdvanceTime(699);
  EXPECT_EQ(ticks, 1);
  Application->AdvanceTime(1);  // 2200, then every 700 ms
  Application->AdvanceTime(700);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(p.GetValue(), 17.5);
  p.SetAutoInc(false);
  EXPECT_FALSE(p.TimerRunning());
  Application->AdvanceTime(5000);
  EXPECT_EQ(ticks, 3);
  // No limit at Max.
  p.SetPBarValue(99);
  p.SetAutoInc(true);
  Application->AdvanceTime(1500);
  EXPECT_EQ(p.GetValue(), 101.5);
}

TEST_F(ProgBar, NoTimerAvailable) {
  TProgBar p(nullptr);
  p.SetName("Bar1");
  Application->SetTimersFail(true);
  try {
    p.SetAutoInc(true);
    FAIL() << "no error";
  } catch (const EQELProgBar& e) {
    EXPECT_EQ(std::string(e.what()), "Component \"Bar1\": no timer available");
  }
  // The first tick cannot switch to the repeat interval: the application hears of it.
  Application->SetTimersFail(false);
  p.SetAutoInc(false);
  p.SetAutoInc(true);
  Application->SetTimersFail(true);
  Application->AdvanceTime(1500);
  ASSERT_EQ(HeadlessBackend()->Errors.size(), 1u);
  EXPECT_EQ(HeadlessBackend()->Errors[0], "Component \"Bar1\": no timer available");
  Application->SetTimersFail(false);
}

TEST_F(ProgBar, DesignModeOnlyStoresTheTimerProperties) {
  TProgBar p(nullptr);
  p.SetDesigning(true);
  p.SetAutoInc(true);
  EXPECT_TRUE(p.GetAutoInc());
  EXPECT_FALSE(p.TimerRunning());
  Application->AdvanceTime(3000);
  EXPECT_EQ(p.GetValue(), 10);
}

// ---------------------------------------------------------------- properties and picture

TEST_F(ProgBar, FormFileRoundTripStartsTheTimerAfterLoading) {
  RegisterProgBarClasses();
  const std::string text =
      "object Bar1: TProgBar\n"
      "  Left = 0\n"
      "  Top = 0\n"
      "  Width = 200\n"
      "  Height = 40\n"
      "  Value = 30\n"
      "  Direction = drLeft\n"
      "  ColorMin = clLime\n"
      "  ShowColorGradient = True\n"
      "  ColorMapMode = cgmMove\n"
      "  TextPosX = 180\n"
      "  TextAlignment = taRightJustify\n"
      "  TextDecPlaces = -1\n"
      "  StartInterval = 100\n"
      "  AutoInc = True\n"
      "end\n";
  std::unique_ptr<TProgBar> p(CreateFromText<TProgBar>(text, nullptr));
  EXPECT_EQ(p->GetDirection(), drLeft);
  EXPECT_EQ(p->GetColorMin(), clLime);
  EXPECT_EQ(p->GetTextPosX(), 180);
  EXPECT_TRUE(p->TimerRunning());
  Application->AdvanceTime(100);
  EXPECT_EQ(p->GetValue(), 31);
  const std::string written = WriteComponentText(p.get());
  std::unique_ptr<TProgBar> again(CreateFromText<TProgBar>(written, nullptr));
  EXPECT_EQ(WriteComponentText(again.get()), written);
}

TEST_F(ProgBar, GoldenSheet) {
  // Eight bars: each direction, the three mappings, grid, solid, frames and scheme, text.
  TBitmap sheet(420, 260);
  test::FillBitmap(sheet, clWhite);
  auto place = [&](TProgBar& P, int X, int Y) {
    TBitmap b(P.GetWidth(), P.GetHeight());
    P.RenderTo(b.Canvas());
    sheet.Canvas()->Draw(X, Y, &b);
  };
  auto bar = [](int W, int H, TDirection D, double V) {
    auto p = std::make_unique<TProgBar>(nullptr);
    p->SetBounds(0, 0, W, H);
    p->SetDirection(D);
    p->SetPBarValue(V);
    p->SetShowValue(false);
    p->SetColorGrad(true);
    return p;
  };
  auto a = bar(300, 28, drRight, 70);
  a->SetColorMapMode(cgmCover);
  place(*a, 4, 4);
  auto b = bar(300, 28, drRight, 70);
  place(*b, 4, 36);
  auto c = bar(300, 28, drLeft, 70);
  c->SetColorMapMode(cgmMove);
  c->SetGridDist(12);
  c->SetColorMin(clYellow);
  c->SetColorMax(clGreen);
  place(*c, 4, 68);
  auto d = bar(300, 28, drRight, 55);
  d->SetColorGrad(false);
  d->SetOuterFrameStyle(fsEmbossed);
  d->SetInnerFrameStyle(fsSimple);
  d->SetColorScheme(csSystem);
  d->SetColorMargin(clTeal);
  d->SetGridDist(8);
  d->SetColorGrid(clWhite);
  place(*d, 4, 100);
  auto e = bar(300, 36, drRight, 64);
  e->SetShowValue(true);
  e->SetTextPosX(150);
  e->SetTextPosY(18);
  e->SetTextDecPl(1);
  e->GetFont()->SetSize(12);
  place(*e, 4, 132);
  auto f = bar(36, 240, drUp, 80);
  f->SetGridDist(10);
  place(*f, 320, 4);
  auto g = bar(36, 240, drDown, 45);
  g->SetColorMapMode(cgmCover);
  g->SetOuterFrameStyle(fsEngraved);
  place(*g, 364, 4);
  auto h = bar(300, 48, drLeft, 30);
  h->SetShowValue(true);
  h->SetTextAngle(20);
  h->SetAlignment(taLeftJustify);
  h->SetTextPosX(20);
  h->SetTextPosY(30);
  h->SetTextDecPl(-1);
  place(*h, 4, 176);
  // The value text is drawn anti-aliased (the bar asks for the default quality).
  test::ExpectMatchesGolden(sheet, "progbar_variants", 40);
}

}  // namespace
}  // namespace qel

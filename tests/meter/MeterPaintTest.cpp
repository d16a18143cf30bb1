// The meter's drawing probed at the pixels that matter: needle tip and shadow, the second
// needle, lamps by flag, bevel, frames, band ring radii, label and needle events, the empty
// paint of a control too small for its rims; and one golden image of three configurations.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "meter/QEL_Meter.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountPixels;
using test::PixelAt;

constexpr TColor kOrange = 0x0080FF;
constexpr TColor kMagenta = 0xFF00FF;

std::unique_ptr<TBitmap> Render(TMeter& M) {
  auto b = std::make_unique<TBitmap>(M.GetWidth(), M.GetHeight());
  test::FillBitmap(*b, kMagenta);
  M.PaintTo(b.get());
  return b;
}

TColor Face() { return ColorToRGB(clBtnFace); }

TEST(MeterPaint, NeedleTipShadowAndSecondNeedle) {
  TMeter m(nullptr);
  m.SetScaleVis(false);
  m.SetValue(0.5);
  // L = 100 % of (175 - 4): the tip is straight up at 191 - 171.
  const TNeedlePoints p = m.NeedlePoints(*m.GetNeedleLayout(), 0.5);
  EXPECT_EQ(p[1], (TPoint{148, 20}));
  EXPECT_EQ(p[4], p[5]);  // a shaft of no width
  EXPECT_EQ(p[3], p[6]);
  auto b = Render(m);
  EXPECT_EQ(PixelAt(*b, 148, 20), clBlack);
  EXPECT_EQ(PixelAt(*b, 148, 19), clWhite);
  EXPECT_EQ(PixelAt(*b, 148, 30), clSilver);  // inside the head

  m.GetNeedleLayout()->SetShadowDx(3);
  m.GetNeedleLayout()->SetShadowDy(3);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 145, 17), clGray);  // the shadow lies at minus the offsets
  EXPECT_EQ(PixelAt(*b, 148, 20), clBlack);

  // The second needle, beneath the main one, in its own layout.
  m.GetNeedleLayout()->SetShadowDx(0);
  m.SetValue2(1);
  m.GetNeedleLayoutSec()->SetColorFill(clLime);
  m.GetNeedleLayoutSec()->SetArrowThick(6);
  int x = 0, y = 0;
  m.ConvertToPixelCoords(1, 60, x, y);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, x, y), clWhite);
  m.GetNeedleLayoutSec()->SetVisible(true);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, x, y), clLime);
}

TEST(MeterPaint, LampsShowTheFlagsInTheirColours) {
  TMeter m(nullptr);
  EXPECT_EQ(m.HighLampRect(), Rect(269, 16, 279, 26));
  EXPECT_EQ(m.LowLampRect(), Rect(18, 16, 28, 26));
  m.SetValue(1);  // overflow
  auto b = Render(m);
  EXPECT_EQ(PixelAt(*b, 274, 20), clRed);
  EXPECT_EQ(PixelAt(*b, 23, 20), clGray);
  EXPECT_EQ(PixelAt(*b, 269, 16), clBlack);  // the outline
  EXPECT_EQ(PixelAt(*b, 278, 16), clBlack);
  EXPECT_EQ(PixelAt(*b, 274, 25), clWhite);   // lit lower edge
  EXPECT_EQ(PixelAt(*b, 274, 24), clSilver);  // and its inner line
  EXPECT_EQ(PixelAt(*b, 270, 20), clGray);    // shaded left edge
  m.SetValue(0);                              // underflow
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 274, 20), clGray);
  EXPECT_EQ(PixelAt(*b, 23, 20), clRed);
  m.SetLimWatLowOn(false);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 23, 20), clWhite);
}

TEST(MeterPaint, BevelAndAnchorCover) {
  TMeter m(nullptr);
  m.SetAnchorCovrd(false);
  auto b = Render(m);
  EXPECT_EQ(PixelAt(*b, 150, 199), clWhite);  // bottom edge, lit
  EXPECT_EQ(PixelAt(*b, 287, 100), clWhite);  // right edge, lit
  EXPECT_EQ(PixelAt(*b, 150, 8), clGray);     // top edge, shaded
  EXPECT_EQ(PixelAt(*b, 9, 100), clGray);     // left edge, shaded
  EXPECT_EQ(PixelAt(*b, 150, 204), Face());   // bottom rim cover
  EXPECT_EQ(PixelAt(*b, 4, 100), Face());     // side rim cover

  // A half disc on a stem for a pivot near the bottom; the stem interrupts the bevel.
  m.SetAnchorCovrd(true);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 148, 180), Face());  // inside the disc, over the needle
  EXPECT_EQ(PixelAt(*b, 150, 199), Face());
  EXPECT_EQ(PixelAt(*b, 100, 199), clWhite);
  EXPECT_EQ(PixelAt(*b, 171, 195), clGray);  // the stem's shaded right side
  EXPECT_EQ(PixelAt(*b, 124, 195), clWhite);

  // A round cap for a pivot inside the dial.
  m.SetMeterLayout(mlCirc300);
  b = Render(m);
  const int cy = m.Geometry().CY;
  EXPECT_EQ(PixelAt(*b, 148, cy), Face());
  EXPECT_EQ(PixelAt(*b, 148, cy + 30), clWhite);  // below the cap: the dial
}

TEST(MeterPaint, FrameStyles) {
  TMeter m(nullptr);
  struct Case {
    TFrameStyle Style;
    TColor Left, Top, Right, Bottom;
  };
  const Case cases[] = {
      {fsRaised, clWhite, clWhite, clGray, clGray},
      {fsLowered, clGray, clGray, clWhite, clWhite},
      {fsSimple, clWhite, clWhite, clWhite, clWhite},
      {fsEmbossed, clWhite, clWhite, clGray, clGray},
      {fsEngraved, clGray, clGray, clWhite, clWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Style));
    m.SetFrameStyle(c.Style);
    auto b = Render(m);
    EXPECT_EQ(PixelAt(*b, 0, 100), c.Left);
    EXPECT_EQ(PixelAt(*b, 100, 0), c.Top);
    EXPECT_EQ(PixelAt(*b, 296, 100), c.Right);
    EXPECT_EQ(PixelAt(*b, 100, 208), c.Bottom);
  }
  // The double bevels: a second line inside, in the other colour.
  m.SetFrameStyle(fsEmbossed);
  auto b = Render(m);
  EXPECT_EQ(PixelAt(*b, 1, 100), clGray);
  EXPECT_EQ(PixelAt(*b, 295, 100), clWhite);
  m.SetFrameStyle(fsNone);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 0, 100), Face());
  m.SetColorScheme(csSystem);
  m.SetFrameStyle(fsLowered);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 0, 100), ColorToRGB(clBtnShadow));
}

TEST(MeterPaint, BandsFormARingOfTheRightRadii) {
  TMeter m(nullptr);
  m.SetScaleVis(false);
  m.SetAnchorCovrd(false);
  m.SetLowThreshold(0.3);
  m.SetHighThreshold(0.7);
  m.SetValue(0.3);  // the needle points into the low band, not up
  m.SetScaleBkWidth(20);
  m.SetScaleBkVis(true);
  EXPECT_EQ(m.BandOuterRadius(), 179);
  EXPECT_EQ(m.BandInnerRadius(), 140);
  auto b = Render(m);
  // Straight up is the normal band: from R + 4 above the centre down to the inner disc.
  EXPECT_EQ(CountPixels(*b, Rect(148, 191 - 179, 149, 191 - 140), kOrange), 179 - 140);
  EXPECT_EQ(PixelAt(*b, 148, 191 - 180), clWhite);
  EXPECT_EQ(PixelAt(*b, 148, 191 - 140), clWhite);
  EXPECT_EQ(PixelAt(*b, 148, 8), clGray);  // the top edge of the bevel
  // The low and high bands at their own angles.
  int x = 0, y = 0;
  m.ConvertToPixelCoords(0.15, 95, x, y);
  EXPECT_EQ(PixelAt(*b, x, y), clLime);
  m.ConvertToPixelCoords(0.85, 95, x, y);
  EXPECT_EQ(PixelAt(*b, x, y), clRed);

  // A threshold on the end leaves its band out; a width of 0 gives a 4-pixel ring.
  m.SetLowThreshold(0);
  m.SetScaleBkWidth(0);
  b = Render(m);
  m.ConvertToPixelCoords(0.15, 101, x, y);
  EXPECT_EQ(PixelAt(*b, x, y), kOrange);
  m.ConvertToPixelCoords(0.5, 98, x, y);
  EXPECT_EQ(PixelAt(*b, x, y), clWhite);
  EXPECT_EQ(CountPixels(*b, Rect(148, 0, 149, 191), kOrange), 4);
}

TEST(MeterPaint, NothingIsDrawnWithoutRoomForTheArc) {
  TMeter m(nullptr);
  m.SetBounds(0, 0, 60, 30);  // R = 30 - 10 - 8 - 16 < 0
  ASSERT_LE(m.Geometry().R, 0);
  int events = 0;
  m.OnMeterRendered = [&](TObject*, TCanvas*) { ++events; };
  m.OnBeforeDrawNeedle = [&](TObject*, TCanvas*, bool&) { ++events; };
  auto b = Render(m);
  EXPECT_EQ(CountPixels(*b, Rect(0, 0, 60, 30), kMagenta), 60 * 30);
  EXPECT_EQ(events, 0);
  m.SetBounds(0, 0, 0, 0);
  TBitmap empty(4, 4);
  EXPECT_NO_FATAL_FAILURE(m.PaintTo(&empty));
}

TEST(MeterPaint, LabelAndNeedleEvents) {
  TMeter m(nullptr);
  m.SetAnchorCovrd(false);
  std::vector<std::string> labels;
  std::vector<TPoint> corners;
  m.OnBeforeDrawScaleLabel = [&](TObject* Sender, TCanvas* C, std::string& Text, int X, int Y) {
    EXPECT_EQ(Sender, &m);
    EXPECT_NE(C, nullptr);
    labels.push_back(Text);
    corners.push_back({X, Y});
    if (Text == "0.4") Text.clear();  // suppresses this label only
  };
  auto b = Render(m);
  EXPECT_EQ(labels, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8", "1.0"}));
  // The corner handed out is the top-left of the text centred on the label point.
  b->Canvas()->Font()->Assign(m.GetFont());
  const TSize ext = b->Canvas()->TextExtent("0.4");
  const TSize maxExt = b->Canvas()->TextExtent("1.0");
  const double phi = (90 + 45 - 90 * 0.4) / 57.29577951308232;
  const int cx =
      static_cast<int>(std::nearbyint(std::cos(phi) * (175 - (maxExt.cx / 2.0 + 15)) + 148));
  const int cy =
      static_cast<int>(std::nearbyint(191 - std::sin(phi) * (175 - (maxExt.cy / 2.0 + 15))));
  EXPECT_EQ(corners[2], (TPoint{cx - ext.cx / 2, cy - ext.cy / 2}));
  const TRect box = Bounds(corners[2].X, corners[2].Y, ext.cx, ext.cy);
  EXPECT_EQ(test::CountOtherPixels(*b, box, clWhite), 0);
  const TRect box6 = Bounds(corners[3].X, corners[3].Y, ext.cx, ext.cy);
  EXPECT_GT(test::CountOtherPixels(*b, box6, clWhite), 0);

  // A handler that draws the needle itself suppresses ours; the lamps still come after it.
  m.SetValue(0.5);
  m.SetScaleVis(false);
  m.OnBeforeDrawNeedle = [&](TObject*, TCanvas*, bool& Drawn) { Drawn = true; };
  std::vector<std::string> order;
  m.OnMeterRendered = [&](TObject*, TCanvas* C) {
    order.push_back("rendered");
    EXPECT_EQ(C->GetPixel(148, 20), clWhite);
  };
  b = Render(m);
  EXPECT_EQ(order.size(), 1u);
  EXPECT_EQ(PixelAt(*b, 148, 20), clWhite);
}

TEST(MeterPaint, AFullCircleLabelsItsSharedEndOnce) {
  TMeter m(nullptr);
  m.SetMeterLayout(mlCirc360);
  std::vector<std::string> labels;
  m.OnBeforeDrawScaleLabel = [&](TObject*, TCanvas*, std::string& Text, int, int) {
    labels.push_back(Text);
  };
  Render(m);
  EXPECT_EQ(labels, (std::vector<std::string>{"0.0", "0.2", "0.4", "0.6", "0.8"}));
  labels.clear();
  m.SetMeterLayout(mlCirc300);
  Render(m);
  EXPECT_EQ(labels.size(), 6u);
}

TEST(MeterPaint, BackgroundPictureInItsThreeFillModesAndTheAnchorPicture) {
  const std::string dir = QEL_BINARY_DIR;
  TBitmap pic(16, 16);
  pic.Canvas()->Brush()->SetColor(clRed);
  pic.Canvas()->FillRect(Rect(0, 0, 16, 16));
  pic.Canvas()->SetPixel(13, 13, clBlue);
  pic.SaveToFile(dir + "/meter_probe_bkg.png");
  TMeter m(nullptr);
  m.SetScaleVis(false);
  m.SetAnchorCovrd(false);
  m.SetLimWatHighOn(false);
  m.SetLimWatLowOn(false);
  m.SetValue(1);  // the needle points to the upper right, away from the probes
  m.SetBakGndFname(dir + "/meter_probe_bkg.png");
  ASSERT_FALSE(m.GetBackGroundImg().empty());
  auto b = Render(m);  // at its own size, on a white rectangle
  EXPECT_EQ(PixelAt(*b, 13, 13), clBlue);
  EXPECT_EQ(PixelAt(*b, 12, 12), clRed);
  EXPECT_EQ(PixelAt(*b, 40, 40), clWhite);
  m.SetBGFillMode(bfStretch);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 40, 40), clRed);
  EXPECT_EQ(PixelAt(*b, 250, 176), clBlue);  // (13, 13) stretched 297/16 x 209/16
  m.SetBGFillMode(bfTile);
  b = Render(m);
  EXPECT_EQ(PixelAt(*b, 16 * 3 + 13, 16 * 2 + 13), clBlue);
  EXPECT_EQ(PixelAt(*b, 40, 40), clRed);

  // The anchor picture lands opaque, centred on the pivot.
  TBitmap anchor(9, 7);
  anchor.Canvas()->Brush()->SetColor(clNavy);
  anchor.Canvas()->FillRect(Rect(0, 0, 9, 7));
  anchor.Canvas()->SetPixel(4, 3, clYellow);
  anchor.SaveToFile(dir + "/meter_probe_anchor.png");
  m.SetBakGndFname("");
  m.SetAnchorCovrd(true);
  m.SetACoverFname(dir + "/meter_probe_anchor.png");
  b = Render(m);
  const TMeterGeometry& g = m.Geometry();
  EXPECT_EQ(PixelAt(*b, g.CX, g.CY), clYellow);
  EXPECT_EQ(PixelAt(*b, g.CX - 4, g.CY - 3), clNavy);
  EXPECT_EQ(PixelAt(*b, g.CX + 4, g.CY + 3), clNavy);
  EXPECT_EQ(PixelAt(*b, g.CX + 5, g.CY), clWhite);
}

// Three configurations on one image: the default meter with bands and a caption; a 300-degree
// logarithmic meter with two needles and a shadow; a half circle on a tiled background picture
// with an anchor picture.
TEST(MeterGolden, ThreeConfigurations) {
  const std::string dir = QEL_BINARY_DIR;
  TBitmap tile(16, 16);
  tile.Canvas()->Brush()->SetColor(0xF0E8E0);
  tile.Canvas()->FillRect(Rect(0, 0, 16, 16));
  tile.Canvas()->Pen()->SetColor(0xD0C8C0);
  tile.Canvas()->MoveTo(0, 15);
  tile.Canvas()->LineTo(16, 15);
  tile.Canvas()->MoveTo(15, 0);
  tile.Canvas()->LineTo(15, 16);
  tile.SaveToFile(dir + "/meter_golden_tile.png");
  TBitmap anchor(21, 21);
  anchor.Canvas()->Brush()->SetColor(clNavy);
  anchor.Canvas()->FillRect(Rect(0, 0, 21, 21));
  anchor.Canvas()->Brush()->SetColor(clYellow);
  anchor.Canvas()->Ellipse(3, 3, 18, 18);
  anchor.SaveToFile(dir + "/meter_golden_anchor.png");

  TMeter a(nullptr), b(nullptr), c(nullptr);
  for (TMeter* m : {&a, &b, &c}) {
    m->GetFont()->SetQuality(fqNonAntialiased);
    m->GetFontCaption()->SetQuality(fqNonAntialiased);
  }
  a.SetMaxValue(100);
  a.SetMinValue(-20);
  a.SetHighThreshold(80);
  a.SetLowThreshold(10);
  a.SetScaleBkWidth(15);
  a.SetScaleBkVis(true);
  a.SetValue(63);
  a.SetUnitLabel("kPa");
  a.GetFontCaption()->SetSize(12);

  b.SetMeterLayout(mlCirc300);
  b.SetMaxValue(1000);
  b.SetMinValue(1);
  b.SetLogarithmic(true);
  b.SetFrameStyle(fsEmbossed);
  b.SetValue(300);
  b.SetValue2(20);
  b.GetNeedleLayout()->SetShadowDx(-3);
  b.GetNeedleLayout()->SetShadowDy(-2);
  b.GetNeedleLayout()->SetArrowThick(4);
  b.GetNeedleLayoutSec()->SetColorFill(clLime);
  b.GetNeedleLayoutSec()->SetNeedleLength(70);
  b.GetNeedleLayoutSec()->SetVisible(true);
  b.SetColorScale(clMaroon);

  c.SetMeterLayout(mlCirc180);
  c.SetBGFillMode(bfTile);
  c.SetBakGndFname(dir + "/meter_golden_tile.png");
  c.SetACoverFname(dir + "/meter_golden_anchor.png");
  c.SetNrTicks(8);
  c.SetDecPlaces(0);
  c.SetMaxValue(240);
  c.SetValue(170);
  c.SetFrameStyle(fsLowered);
  ASSERT_EQ(c.GetBackGroundImg(), dir + "/meter_golden_tile.png");
  ASSERT_EQ(c.GetAnchorImage(), dir + "/meter_golden_anchor.png");

  TBitmap page(3 * 297, 209);
  int x = 0;
  for (TMeter* m : {&a, &b, &c}) {
    auto one = Render(*m);
    page.Canvas()->Draw(x, 0, one.get());
    x += 297;
  }
  test::ExpectMatchesGolden(page, "meter_three_configurations");
}

}  // namespace
}  // namespace qel

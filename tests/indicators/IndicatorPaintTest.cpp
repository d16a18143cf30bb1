// The progress bar and the gradient fill paint straight onto their parent's surface. What lands
// there is exactly what RenderTo draws into a bitmap of their own: wherever the control sits,
// whatever the last paint or an OnPaint handler left on the control's canvas, and with every
// pixel of the control painted (the bar's background skips only what the bar paints itself).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "indicators/QEL_ProgBar.h"
#include "indicators/QEL_gradfl.h"
#include "platform/backends/headless/Headless.h"
#include "platform/widgets/ExtCtrls.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

constexpr TColor kMagenta = 0xFF00FF;
constexpr int kLeft = 13, kTop = 9;

// Leaves the control's canvas as a careless OnPaint handler might.
void Scribble(TCanvas* C) {
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetWidth(3);
  C->Pen()->SetStyle(psDash);
  C->Brush()->SetStyle(bsDiagCross);
  C->SetCopyMode(cmSrcInvert);
  C->SetStretchBltMode(HALFTONE);
}

// Paints C (already given its settings) on a magenta panel, twice, the canvas scribbled on in
// between, and compares the control's part with RenderTo on a magenta bitmap. No magenta may
// be left in the control.
void ExpectPaintMatchesRender(TGraphicControl& C, const std::function<void(TCanvas*)>& Render,
                              const std::string& What) {
  SCOPED_TRACE(What);
  const int w = C.GetWidth(), h = C.GetHeight();
  TBitmap ref(w, h);
  test::FillBitmap(ref, kMagenta);
  Render(ref.Canvas());
  EXPECT_EQ(test::CountPixels(ref, Rect(0, 0, w, h), kMagenta), 0) << "pixels left unpainted";

  TPanel panel(nullptr);
  panel.SetBounds(0, 0, w + 2 * kLeft, h + 2 * kTop);
  panel.SetBevelOuter(bvNone);
  panel.SetColor(kMagenta);
  C.SetParent(&panel);
  C.SetBounds(kLeft, kTop, w, h);
  TBitmap out(panel.GetWidth(), panel.GetHeight());
  for (int pass = 0; pass < 2; ++pass) {
    Scribble(C.Canvas());
    panel.PaintTo(&out);
    int differ = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        differ += test::PixelAt(out, kLeft + x, kTop + y) != test::PixelAt(ref, x, y);
    EXPECT_EQ(differ, 0) << "pass " << pass;
  }
  C.SetParent(nullptr);
}

class IndicatorPaint : public ::testing::Test {
 protected:
  void SetUp() override { ResetHeadlessApplication(); }
  void TearDown() override { ResetHeadlessApplication(); }
};

TEST_F(IndicatorPaint, ProgBarOnItsParentIsItsRendering) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "qel-indicator-paint-test";
  fs::create_directories(dir);
  const std::string png = (dir / "stripes.png").string();
  {
    TBitmap pic(3, 1);  // three columns that averaging would blend
    test::FillBitmap(pic, clBlack);
    pic.Canvas()->SetPixel(1, 0, clWhite);
    pic.SaveToFile(png);
  }
  struct Case {
    const char* What;
    int W, H;
    std::function<void(TProgBar&)> Set;
  };
  const Case cases[] = {
      {"default", 300, 28, [](TProgBar&) {}},
      {"past Max, moving table, grid, no margins", 160, 40,
       [](TProgBar& P) {
         P.SetPBarValue(150);
         P.SetColorGrad(true);
         P.SetColorMapMode(cgmMove);
         P.SetGridDist(7);
         P.SetMarginLeft(0), P.SetMarginRight(0), P.SetMarginTop(0), P.SetMarginBottom(0);
       }},
      {"leftwards, solid, grid, simple frames", 160, 40,
       [](TProgBar& P) {
         P.SetDirection(drLeft);
         P.SetPBarValue(55);
         P.SetGridDist(5);
         P.SetOuterFrameStyle(fsSimple), P.SetInnerFrameStyle(fsSimple);
       }},
      {"upwards, covering table, grid, turned text", 40, 60,
       [](TProgBar& P) {
         P.SetDirection(drUp);
         P.SetColorGrad(true);
         P.SetColorMapMode(cgmCover);
         P.SetPBarValue(70);
         P.SetGridDist(6);
         P.SetTextAngle(90);
       }},
      {"downwards past Max, uneven margins", 50, 70,
       [](TProgBar& P) {
         P.SetDirection(drDown);
         P.SetPBarValue(130);
         P.SetMarginLeft(3), P.SetMarginTop(2), P.SetMarginRight(9), P.SetMarginBottom(12);
       }},
      {"below Min", 160, 40, [](TProgBar& P) { P.SetPBarValue(-5); }},
      {"empty range", 160, 40, [](TProgBar& P) { P.SetRange(20, 20); }},
      {"margins wider than the control", 160, 40,
       [](TProgBar& P) {
         P.SetMarginLeft(100), P.SetMarginRight(100);
         P.SetPBarValue(50);
       }},
      {"margins taller than the control", 160, 40,
       [](TProgBar& P) {
         P.SetMarginTop(30), P.SetMarginBottom(30);
         P.SetPBarValue(50);
         P.SetColorGrad(true);
       }},
      {"background picture", 160, 40,
       [&](TProgBar& P) {
         P.SetBakGndFile(png);
         P.SetPBarValue(40);
       }},
  };
  for (const Case& c : cases) {
    TProgBar p(nullptr);
    p.SetBounds(0, 0, c.W, c.H);
    p.SetTextPosX(c.W / 2);
    p.SetTextPosY(c.H / 2);
    c.Set(p);
    ExpectPaintMatchesRender(p, [&](TCanvas* C) { p.RenderTo(C); }, c.What);
  }
  fs::remove_all(dir);
}

TEST_F(IndicatorPaint, GradFillOnItsParentIsItsRendering) {
  const TGradType types[] = {gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert};
  const TGridMode grids[] = {gmNone, gmHoriz, gmVert, gmBoth};
  const int counts[] = {1, 7, 255};
  for (TGradType t : types)
    for (TGridMode g : grids)
      for (int n : counts) {
        TGradFill f(nullptr);
        f.SetBounds(0, 0, 90, 70);
        f.SeTGradType(t);
        f.SetGridMode(g);
        f.SetNrColors(n);
        f.SetFrameStyle(n == 7 ? fsRaised : fsNone);
        // A handler that leaves the canvas in disorder does not spoil the next paint.
        f.OnPaint = [&](TObject*) { Scribble(f.Canvas()); };
        ExpectPaintMatchesRender(f, [&](TCanvas* C) { f.RenderTo(C); },
                                 std::to_string(t) + "/" + std::to_string(g) + "/" +
                                     std::to_string(n));
      }
}

}  // namespace
}  // namespace qel

// The gradient fill's bands (rectangles and colours), its grid at the band borders and its
// frame.
#include <algorithm>

#include "indicators/QEL_gradfl.h"
#include "indicators/paint_tools.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {
bool Across(TGradType Type) { return Type == gtHoriz || Type == gtMidBandHoriz; }
}  // namespace

TRect GradBandRect(TGradType Type, int K, int N, int W, int H) {
  if (N < 1) N = 1;
  if (Across(Type)) return Rect(0, MulDiv(K, H, N), W, MulDiv(K + 1, H, N));
  return Rect(MulDiv(K, W, N), 0, MulDiv(K + 1, W, N), H);
}

TColor GradBandColor(TGradType Type, int K, int N, TColor First, TColor Last) {
  const bool midBand = Type == gtMidBandHoriz || Type == gtMidBandVert;
  const int half = N / 2;
  // One band (or a middle band with no room to rise) is ColorFirst alone.
  if (N < 2 || (midBand && half < 1)) return First & 0xFFFFFF;
  int step = K, of = N;
  if (midBand) step = K <= half ? K : N - K - 1, of = half;
  TColor out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int a = static_cast<int>((First >> shift) & 0xFF);
    const int b = static_cast<int>((Last >> shift) & 0xFF);
    out |= static_cast<TColor>((a + MulDiv(step, b - a, of)) & 0xFF) << shift;
  }
  return out;
}

void TGradFill::Paint() {
  // Straight onto the form's surface, which is off-screen until the paint is over (a bitmap of
  // our own would only be copied over it pixel for pixel).
  RenderTo(Canvas());
  if (OnPaint) OnPaint(this);
}

void TGradFill::DrawGradient(TBitmap* Bitmap) const {
  if (Bitmap) RenderTo(Bitmap->Canvas());
}

// Within a vertical layout every pixel row is the same, and so is every row of one band of a
// horizontal layout: such a row is set once in a one-row bitmap (band colours, then the
// vertical grid lines) and stretched by whole pixels over its rows, so that each pixel is
// written once however narrow the bands are.
void TGradFill::RenderTo(TCanvas* C) const {
  if (!C) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  ResetCanvasTools(C);
  const int n = FNrColors;
  const TColor first = ColorToRGB(FColorFirst), last = ColorToRGB(FColorLast);
  const bool gridH = FGridMode == gmHoriz || FGridMode == gmBoth;
  const bool gridV = FGridMode == gmVert || FGridMode == gmBoth;
  TBitmap row(w, 1);
  TPixel* px = row.ScanLine(0);
  auto fill = [&](int From, int To, TColor Color) {
    std::fill(px + std::clamp(From, 0, w), px + std::clamp(To, 0, w), ColorToPixel(Color));
  };
  // Grid lines lie on the first pixel line of every band but the first; across the bands they
  // divide the other extent into as many parts.
  auto gridColumns = [&] {
    for (int k = 1; gridV && k < n; ++k) fill(MulDiv(k, w, n), MulDiv(k, w, n) + 1, FGridColor);
  };
  const int mode = SetStretchBltMode(C, COLORONCOLOR);
  C->SetCopyMode(cmSrcCopy);
  C->Brush()->SetStyle(bsSolid);
  if (Across(FFillType)) {
    for (int k = 0; k < n; ++k) {
      const TRect r = GradBandRect(FFillType, k, n, w, h);
      const TColor color = GradBandColor(FFillType, k, n, first, last);
      if (!gridV) {
        C->Brush()->SetColor(color);
        C->FillRect(r);
        continue;
      }
      fill(0, w, color);
      gridColumns();
      if (r.Top < r.Bottom) C->StretchDraw(r, &row);
    }
  } else {
    for (int k = 0; k < n; ++k) {
      const TRect r = GradBandRect(FFillType, k, n, w, h);
      fill(r.Left, r.Right, GradBandColor(FFillType, k, n, first, last));
    }
    gridColumns();
    C->StretchDraw(Rect(0, 0, w, h), &row);
  }
  SetStretchBltMode(C, mode);
  C->Brush()->SetColor(FGridColor);
  for (int k = 1; gridH && k < n; ++k) {
    const int y = MulDiv(k, h, n);
    C->FillRect(Rect(0, y, w, y + 1));
  }
  DrawFrame(C, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

}  // namespace qel

// The gradient fill's bands (rectangles and colours), its grid at the band borders and its
// frame, drawn into an off-screen bitmap that is copied out in one step.
#include "indicators/QEL_gradfl.h"
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
  const int w = GetWidth(), h = GetHeight();
  if (w > 0 && h > 0) {
    TBitmap off(w, h);
    DrawGradient(&off);
    TCanvas* c = Canvas();
    c->SetCopyMode(cmSrcCopy);
    c->Draw(0, 0, &off);
  }
  if (OnPaint) OnPaint(this);
}

void TGradFill::DrawGradient(TBitmap* Bitmap) const {
  if (Bitmap) RenderTo(Bitmap->Canvas());
}

void TGradFill::RenderTo(TCanvas* C) const {
  if (!C) return;
  const int w = GetWidth(), h = GetHeight();
  const int n = FNrColors;
  const TColor first = ColorToRGB(FColorFirst), last = ColorToRGB(FColorLast);
  C->Brush()->SetStyle(bsSolid);
  for (int k = 0; k < n; ++k) {
    C->Brush()->SetColor(GradBandColor(FFillType, k, n, first, last));
    C->FillRect(GradBandRect(FFillType, k, n, w, h));
  }
  // Grid lines on the first pixel line of every band but the first; across the bands the lines
  // divide the other extent into as many parts.
  if (FGridMode != gmNone) {
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(FGridColor);
    for (int k = 1; k < n; ++k) {
      if (FGridMode == gmHoriz || FGridMode == gmBoth) {
        const int y = MulDiv(k, h, n);
        C->MoveTo(0, y);
        C->LineTo(w, y);
      }
      if (FGridMode == gmVert || FGridMode == gmBoth) {
        const int x = MulDiv(k, w, n);
        C->MoveTo(x, 0);
        C->LineTo(x, h);
      }
    }
  }
  DrawFrame(C, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
}

}  // namespace qel

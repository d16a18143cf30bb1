#pragma once
// Internals shared by the canvas sources: raster operations, span painting, span collection.
// Not part of the public interface.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace qel::raster {

constexpr TPixel kRgbMask = 0x00FFFFFF;

// Every binary raster operation with a fixed pen colour P is, bit by bit, D' = (D & And) ^ Xor:
// Xor is the result for D = 0 and And marks the bits where D = 1 gives the other answer. One
// form covers all sixteen pen modes, and the fill loops stay branch-free.
struct Rop2 {
  TPixel And = 0;
  TPixel Xor = 0;
  bool IsCopy() const { return And == 0; }
  bool IsNop() const { return And == kRgbMask && Xor == 0; }
};
Rop2 MakeRop2(TPenMode Mode, TPixel Pen);

// What to put on the pixels of a span: a raster operation, optionally gated by an 8x8 hatch
// pattern aligned to the surface origin (pixels off the pattern are left alone).
struct Ink {
  Rop2 Op;
  const uint8_t* Hatch = nullptr;
  bool Visible = false;
};

// Paints pixels [X0, X1) of row Y; the caller has clipped the span.
void PaintSpan(const TSurface& S, int Y, int X0, int X1, const Ink& I);
// Solid copy fill of N pixels (the FillRect hot path).
void FillPixels(TPixel* P, size_t N, TPixel Value);

// The ink of the canvas brush under a pen mode (pmCopy for the plain fills).
Ink BrushInk(const TCanvas& C, TPenMode Mode);
Ink PenInk(const TCanvas& C);

// Rectangles kept in 64 bits so no coordinate arithmetic can overflow.
struct Box {
  int64_t L, T, R, B;  // pixels L..R-1 x T..B-1
  bool Empty() const { return R <= L || B <= T; }
};
Box ClipBox(const Box& A, const TRect& Clip);
// Tells the canvas's OnDrawn about a touched box given in surface coordinates.
void NotifyDrawn(const TCanvas& C, const Box& SurfaceBox);

// Per-row sets of closed pixel intervals over a band of rows, painted as their union so that
// overlapping pieces (joints of a wide polyline) touch each pixel once.
class SpanRows {
 public:
  SpanRows(int Top, int Bottom) : FTop(Top), FRows(std::max(0, Bottom - Top)) {}
  int Top() const { return FTop; }
  int Bottom() const { return FTop + static_cast<int>(FRows.size()); }
  void Add(int Y, int64_t X0, int64_t X1);  // closed interval, any order of calls
  // Paints the union of each row, clipped to Clip.
  void Paint(const TSurface& S, const TRect& Clip, const Ink& I);
  Box Bounds() const;

 private:
  int FTop;
  std::vector<std::vector<std::pair<int64_t, int64_t>>> FRows;
};

// A wide pen stroke from A to B (surface coordinates, width W >= 2, round caps) into Rows.
void AddWideSegment(SpanRows& Rows, int64_t AX, int64_t AY, int64_t BX, int64_t BY, int W);

// Walks the cosmetic line A->B (end excluded) with the classic tie rule, calling Plot(x, y, i)
// for the pixels inside Clip; i counts pixels from A, for style patterns.
template <class F>
void WalkLine(int64_t X0, int64_t Y0, int64_t X1, int64_t Y1, const TRect& Clip, F&& Plot);

// Strokes the chain of points (canvas coordinates) with the canvas pen, closing it when asked:
// cosmetic pens walk each segment without its end and carry the dash pattern across joints;
// wide pens paint the union of round-capped segments.
void StrokePath(TCanvas& C, std::span<const TPoint> Pts, bool Close);

// Cosmetic pen dash patterns as on/off run lengths, starting with "on".
struct StylePattern {
  std::vector<uint8_t> Bits;  // one entry per pixel of a period; empty for a solid pen
  bool On(int64_t Pos) const {
    return Bits.empty() || Bits[static_cast<size_t>(Pos % int64_t(Bits.size()))];
  }
};
StylePattern PatternFor(TPenStyle Style);

// ---------------------------------------------------------------- line walking

// The octants that round ties the other way, so that a line and its reverse light the same
// pixels: ties go up on flat lines and left on steep ones, whichever end the line starts from.
inline int LineBias(int64_t Dx, int64_t Dy) {
  int octant;
  if (Dy > 0)
    octant = Dx > 0 ? (Dx > Dy ? 1 : 2) : (-Dx > Dy ? 4 : 3);
  else
    octant = Dx < 0 ? (-Dx > -Dy ? 5 : 6) : (Dx > -Dy ? 8 : 7);
  return (octant == 3 || octant == 5 || octant == 6 || octant == 8) ? 1 : 0;
}

inline int64_t FloorDiv(__int128 A, __int128 B) {  // B > 0
  __int128 q = A / B;
  if ((A % B) != 0 && A < 0) --q;
  return static_cast<int64_t>(q);
}
inline int64_t CeilDiv(__int128 A, __int128 B) { return -FloorDiv(-A, B); }

template <class F>
void WalkLine(int64_t X0, int64_t Y0, int64_t X1, int64_t Y1, const TRect& Clip, F&& Plot) {
  const int64_t ddx = X1 - X0, ddy = Y1 - Y0;
  const bool xMajor = (ddx < 0 ? -ddx : ddx) > (ddy < 0 ? -ddy : ddy);
  const int bias = LineBias(ddx, ddy);
  // Work in (major, minor) axes; pixel i of the line sits at major0 + i*sMaj and
  // minor0 + sMin * k(i), k(i) = floor((2 i dMin + dMaj - 1 + bias) / (2 dMaj)).
  int64_t maj0 = xMajor ? X0 : Y0, min0 = xMajor ? Y0 : X0;
  int64_t dMaj = xMajor ? ddx : ddy, dMin = xMajor ? ddy : ddx;
  const int sMaj = dMaj < 0 ? -1 : 1, sMin = dMin < 0 ? -1 : 1;
  dMaj = dMaj < 0 ? -dMaj : dMaj;
  dMin = dMin < 0 ? -dMin : dMin;
  if (dMaj == 0) return;  // a line to its own start draws nothing
  const int64_t majLo = xMajor ? Clip.Left : Clip.Top,
                majHi = (xMajor ? Clip.Right : Clip.Bottom) - 1;
  const int64_t minLo = xMajor ? Clip.Top : Clip.Left,
                minHi = (xMajor ? Clip.Bottom : Clip.Right) - 1;
  if (majHi < majLo || minHi < minLo) return;
  // Steps whose major coordinate is inside the clip.
  int64_t i0 = 0, i1 = dMaj - 1;
  if (sMaj > 0) {
    i0 = std::max(i0, majLo - maj0);
    i1 = std::min(i1, majHi - maj0);
  } else {
    i0 = std::max(i0, maj0 - majHi);
    i1 = std::min(i1, maj0 - majLo);
  }
  if (i0 > i1) return;
  // Steps whose minor offset k lies in [kLo, kHi].
  int64_t kLo = sMin > 0 ? minLo - min0 : min0 - minHi;
  int64_t kHi = sMin > 0 ? minHi - min0 : min0 - minLo;
  if (kHi < 0) return;
  const __int128 m2 = 2 * static_cast<__int128>(dMaj);
  if (dMin == 0) {
    if (kLo > 0) return;
  } else {
    if (kLo > 0)
      i0 = std::max<int64_t>(i0,
                             CeilDiv(m2 * kLo - dMaj + 1 - bias, 2 * static_cast<__int128>(dMin)));
    i1 = std::min<int64_t>(i1, FloorDiv(m2 * (static_cast<__int128>(kHi) + 1) - dMaj - bias,
                                        2 * static_cast<__int128>(dMin)));
  }
  if (i0 > i1) return;
  int64_t k = FloorDiv(2 * static_cast<__int128>(i0) * dMin + dMaj - 1 + bias, m2);
  // The error term itself stays within +-2 dMaj; only its starting value needs 128 bits.
  int64_t err = static_cast<int64_t>(2 * static_cast<__int128>(dMin) - dMaj +
                                     2 * static_cast<__int128>(i0) * dMin -
                                     2 * static_cast<__int128>(k) * dMaj);
  int64_t maj = maj0 + sMaj * i0, mn = min0 + sMin * k;
  const int64_t addStep = 2 * dMin - 2 * dMaj, addFlat = 2 * dMin;
  for (int64_t i = i0; i <= i1; ++i) {
    if (xMajor)
      Plot(static_cast<int>(maj), static_cast<int>(mn), i);
    else
      Plot(static_cast<int>(mn), static_cast<int>(maj), i);
    if (err + bias > 0) {
      mn += sMin;
      err += addStep;
    } else {
      err += addFlat;
    }
    maj += sMaj;
  }
}

}  // namespace qel::raster

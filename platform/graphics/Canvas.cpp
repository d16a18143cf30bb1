// TCanvas: state, surface binding and clipping, pixels, lines, rectangles, fills.
// Shapes with curves and polygons are in CanvasShapes.cpp, block transfers in CanvasBlit.cpp.
#include <climits>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SafeMath.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qel {

namespace raster {

// The hatch patterns, one byte per row, the leftmost pixel in the top bit.
static const uint8_t kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // bsHorizontal
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},  // bsVertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // bsFDiagonal: "\"
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // bsBDiagonal: "/"
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08},  // bsCross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // bsDiagCross
};

Rop2 MakeRop2(TPenMode Mode, TPixel Pen) {
  const TPixel m = kRgbMask, p = Pen & m, np = ~Pen & m;
  TPixel f0 = 0, f1 = 0;  // the result for D = 0 and for D = 1, bit by bit
  switch (Mode) {
    case pmBlack:
      f0 = 0, f1 = 0;
      break;
    case pmWhite:
      f0 = m, f1 = m;
      break;
    case pmNop:
      f0 = 0, f1 = m;
      break;
    case pmNot:
      f0 = m, f1 = 0;
      break;
    case pmCopy:
      f0 = p, f1 = p;
      break;
    case pmNotCopy:
      f0 = np, f1 = np;
      break;
    case pmMergePenNot:
      f0 = m, f1 = p;
      break;  // P | ~D
    case pmMaskPenNot:
      f0 = p, f1 = 0;
      break;  // P & ~D
    case pmMergeNotPen:
      f0 = np, f1 = m;
      break;  // ~P | D
    case pmMaskNotPen:
      f0 = 0, f1 = np;
      break;  // ~P & D
    case pmMerge:
      f0 = p, f1 = m;
      break;  // P | D
    case pmNotMerge:
      f0 = np, f1 = 0;
      break;  // ~(P | D)
    case pmMask:
      f0 = 0, f1 = p;
      break;  // P & D
    case pmNotMask:
      f0 = m, f1 = np;
      break;  // ~(P & D)
    case pmXor:
      f0 = p, f1 = np;
      break;  // P ^ D
    case pmNotXor:
      f0 = np, f1 = p;
      break;  // ~(P ^ D)
  }
  return {f0 ^ f1, f0};
}

// The span loops are the fill rate of every primitive. Long runs go to the C library's wide
// fill (TPixel and wchar_t are both 32 bits here), which picks the widest vector stores the
// processor has at run time; short runs stay inline with SSE2 stores, at any optimisation level.
void FillPixels(TPixel* P, size_t N, TPixel Value) {
#if defined(__x86_64__)
  if (N >= 16384) {
    // Very long runs: the string store streams whole cache lines without reading them first.
    asm volatile("rep stosl" : "+D"(P), "+c"(N) : "a"(Value) : "memory");
    return;
  }
#endif
  if constexpr (sizeof(wchar_t) == sizeof(TPixel)) {
    if (N >= 64) {
      std::wmemset(reinterpret_cast<wchar_t*>(P), static_cast<wchar_t>(Value), N);
      return;
    }
  }
#if defined(__SSE2__)
  const __m128i v = _mm_set1_epi32(static_cast<int>(Value));
  for (; N >= 8; N -= 8, P += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P), v);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P + 4), v);
  }
  if (N >= 4) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P), v);
    N -= 4, P += 4;
  }
#endif
  while (N-- > 0) *P++ = Value;
}

static void RopPixels(TPixel* P, size_t N, Rop2 Op) {
#if defined(__SSE2__)
  const __m128i a = _mm_set1_epi32(static_cast<int>(Op.And));
  const __m128i x = _mm_set1_epi32(static_cast<int>(Op.Xor));
  for (; N >= 4; N -= 4, P += 4) {
    __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(P), _mm_xor_si128(_mm_and_si128(d, a), x));
  }
#endif
  for (; N > 0; --N, ++P) *P = (*P & Op.And) ^ Op.Xor;
}

void PaintSpan(const TSurface& S, int Y, int X0, int X1, const Ink& I) {
  if (X1 <= X0 || !I.Visible) return;
  TPixel* row = S.Row(Y);
  if (I.Hatch) {
    const unsigned bits = I.Hatch[Y & 7];
    if (bits == 0) return;
    for (int x = X0; x < X1; ++x)
      if (bits & (0x80u >> (x & 7))) row[x] = (row[x] & I.Op.And) ^ I.Op.Xor;
    return;
  }
  if (I.Op.IsCopy())
    FillPixels(row + X0, static_cast<size_t>(X1 - X0), I.Op.Xor);
  else if (!I.Op.IsNop())
    RopPixels(row + X0, static_cast<size_t>(X1 - X0), I.Op);
}

Ink BrushInk(const TCanvas& C, TPenMode Mode) {
  const TBrush* b = C.Brush();
  Ink ink;
  if (b->GetStyle() == bsClear) return ink;
  ink.Visible = true;
  ink.Op = MakeRop2(Mode, ColorToPixel(b->GetColor()));
  if (b->GetStyle() != bsSolid) ink.Hatch = kHatches[b->GetStyle() - bsHorizontal];
  return ink;
}

Ink PenInk(const TCanvas& C) {
  const TPen* p = C.Pen();
  Ink ink;
  if (p->GetStyle() == psClear) return ink;
  ink.Visible = true;
  ink.Op = MakeRop2(p->GetMode(), ColorToPixel(p->GetColor()));
  return ink;
}

Box ClipBox(const Box& A, const TRect& Clip) {
  Box r{std::max<int64_t>(A.L, Clip.Left), std::max<int64_t>(A.T, Clip.Top),
        std::min<int64_t>(A.R, Clip.Right), std::min<int64_t>(A.B, Clip.Bottom)};
  if (r.Empty()) return {0, 0, 0, 0};
  return r;
}

void NotifyDrawn(const TCanvas& C, const Box& SurfaceBox) {
  if (!C.OnDrawn) return;
  Box b = ClipBox(SurfaceBox, C.SurfaceClip());
  if (b.Empty()) return;
  TPoint o = C.Origin();
  C.OnDrawn(TRect{static_cast<int>(b.L - o.X), static_cast<int>(b.T - o.Y),
                  static_cast<int>(b.R - o.X), static_cast<int>(b.B - o.Y)});
}

void SpanRows::Add(int Y, int64_t X0, int64_t X1) {
  if (Y < FTop || Y >= Bottom()) return;
  if (X1 < X0) std::swap(X0, X1);
  FRows[static_cast<size_t>(Y - FTop)].emplace_back(X0, X1);
}

void SpanRows::Paint(const TSurface& S, const TRect& Clip, const Ink& I) {
  for (size_t r = 0; r < FRows.size(); ++r) {
    auto& row = FRows[r];
    if (row.empty()) continue;
    int y = FTop + static_cast<int>(r);
    if (y < Clip.Top || y >= Clip.Bottom) continue;
    std::sort(row.begin(), row.end());
    int64_t a = row[0].first, b = row[0].second;
    auto flush = [&] {
      int64_t x0 = std::max<int64_t>(a, Clip.Left), x1 = std::min<int64_t>(b + 1, Clip.Right);
      if (x0 < x1) PaintSpan(S, y, static_cast<int>(x0), static_cast<int>(x1), I);
    };
    for (size_t k = 1; k < row.size(); ++k) {
      if (row[k].first <= b + 1) {
        b = std::max(b, row[k].second);
      } else {
        flush();
        a = row[k].first;
        b = row[k].second;
      }
    }
    flush();
  }
}

Box SpanRows::Bounds() const {
  Box b{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
  for (size_t r = 0; r < FRows.size(); ++r)
    for (auto& s : FRows[r]) {
      int64_t y = FTop + static_cast<int64_t>(r);
      b = {std::min(b.L, s.first), std::min(b.T, y), std::max(b.R, s.second + 1),
           std::max(b.B, y + 1)};
    }
  if (b.Empty()) return {0, 0, 0, 0};
  return b;
}

// The pixels of a wide stroke are those whose centres lie within W/2 of the segment (a capsule:
// round caps and, along a polyline, round joins). Even widths have no centre pixel, so their
// stroke sits half a pixel up and left of the ideal line.
void AddWideSegment(SpanRows& Rows, int64_t AX, int64_t AY, int64_t BX, int64_t BY, int W) {
  const double shift = (W % 2 == 0) ? -0.5 : 0.0;
  const double ax = double(AX) + shift, ay = double(AY) + shift;
  const double bx = double(BX) + shift, by = double(BY) + shift;
  const double r = W / 2.0 - 1e-7;
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy, len = std::sqrt(len2);
  int64_t yTop = std::max<int64_t>(Rows.Top(), TruncToInt64(std::floor(std::min(ay, by) - r)));
  int64_t yBot =
      std::min<int64_t>(Rows.Bottom() - 1, TruncToInt64(std::ceil(std::max(ay, by) + r)));
  for (int64_t y = yTop; y <= yBot; ++y) {
    double lo = INFINITY, hi = -INFINITY;
    auto disc = [&](double cx, double cy) {
      double h = double(y) - cy;
      if (std::fabs(h) > r) return;
      double half = std::sqrt(r * r - h * h);
      lo = std::min(lo, cx - half);
      hi = std::max(hi, cx + half);
    };
    disc(ax, ay);
    disc(bx, by);
    if (len2 > 0) {
      // |dx (y - ay) - dy (x - ax)| <= r len and 0 <= dx (x - ax) + dy (y - ay) <= len2.
      double a = -INFINITY, b = INFINITY;
      double h = double(y) - ay;
      auto constrain = [&](double coef, double c0, double cLo, double cHi) {
        // cLo <= coef * x + c0 <= cHi
        if (coef == 0) {
          if (c0 < cLo || c0 > cHi) a = INFINITY, b = -INFINITY;
          return;
        }
        double x0 = (cLo - c0) / coef, x1 = (cHi - c0) / coef;
        if (x0 > x1) std::swap(x0, x1);
        a = std::max(a, x0);
        b = std::min(b, x1);
      };
      constrain(-dy, dx * h + dy * ax, -r * len, r * len);
      constrain(dx, -dx * ax + dy * h, 0, len2);
      if (a <= b) {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
      }
    }
    if (lo > hi) continue;
    int64_t x0 = TruncToInt64(std::ceil(lo)), x1 = TruncToInt64(std::floor(hi));
    if (x0 <= x1) Rows.Add(static_cast<int>(y), x0, x1);
  }
}

StylePattern PatternFor(TPenStyle Style) {
  static const uint8_t dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6},
                       dashDotDot[] = {9, 3, 3, 3, 3, 3};
  const uint8_t* runs = nullptr;
  size_t n = 0;
  switch (Style) {
    case psDash:
      runs = dash, n = 2;
      break;
    case psDot:
      runs = dot, n = 2;
      break;
    case psDashDot:
      runs = dashDot, n = 4;
      break;
    case psDashDotDot:
      runs = dashDotDot, n = 6;
      break;
    default:
      return {};
  }
  StylePattern p;
  for (size_t k = 0; k < n; ++k) p.Bits.insert(p.Bits.end(), runs[k], k % 2 == 0 ? 1 : 0);
  return p;
}

}  // namespace raster

using namespace raster;

// ---------------------------------------------------------------- state and binding

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()),
      FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetStretchBltMode(int Mode) {
  FStretchMode = Mode == HALFTONE ? HALFTONE : COLORONCOLOR;
}

static TRect ToRect(const Box& b) {
  auto c = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
  return {c(b.L), c(b.T), c(b.R), c(b.B)};
}

void TCanvas::UpdateEffectiveClip() {
  if (!HasSurface()) {
    FEffectiveClip = {};
    return;
  }
  TRect r = IntersectRect(FBindClip, TRect{0, 0, FSurface.Width, FSurface.Height});
  if (FHasUserClip) {
    Box user{int64_t{FUserClip.Left} + FOrigin.X, int64_t{FUserClip.Top} + FOrigin.Y,
             int64_t{FUserClip.Right} + FOrigin.X, int64_t{FUserClip.Bottom} + FOrigin.Y};
    Box b = ClipBox(user, r);
    r = b.Empty() ? TRect{} : ToRect(b);
  }
  FEffectiveClip = r;
}

void TCanvas::BindSurface(const TSurface& Surface, TPoint Origin, const TRect& Clip) {
  FSurface = Surface;
  FOrigin = Origin;
  FBindClip = Clip;
  FHasUserClip = false;
  FUserClip = {};
  UpdateEffectiveClip();
}

void TCanvas::UnbindSurface() {
  FSurface = {};
  FOrigin = {};
  FBindClip = {};
  FHasUserClip = false;
  FUserClip = {};
  UpdateEffectiveClip();
}

TRect TCanvas::GetClipRect() const {
  if (FEffectiveClip.IsEmpty()) return {};
  const TRect& c = FEffectiveClip;
  return ToRect({int64_t{c.Left} - FOrigin.X, int64_t{c.Top} - FOrigin.Y,
                 int64_t{c.Right} - FOrigin.X, int64_t{c.Bottom} - FOrigin.Y});
}

void TCanvas::SetClipRect(const TRect& R) {
  FUserClip = R;
  FHasUserClip = true;
  UpdateEffectiveClip();
}

void TCanvas::ResetClipRect() {
  FHasUserClip = false;
  FUserClip = {};
  UpdateEffectiveClip();
}

// ---------------------------------------------------------------- pixels

// Reading is allowed anywhere the binding lets this canvas see, whatever clip rectangle the
// caller has set for drawing.
TColor TCanvas::GetPixel(int X, int Y) const {
  if (!HasSurface()) return clNone;
  const TRect visible = IntersectRect(FBindClip, TRect{0, 0, FSurface.Width, FSurface.Height});
  int64_t x = int64_t{X} + FOrigin.X, y = int64_t{Y} + FOrigin.Y;
  if (x < visible.Left || x >= visible.Right || y < visible.Top || y >= visible.Bottom)
    return clNone;
  return PixelToColor(FSurface.Row(static_cast<int>(y))[x] & kRgbMask);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
  int64_t x = int64_t{X} + FOrigin.X, y = int64_t{Y} + FOrigin.Y;
  if (x < FEffectiveClip.Left || x >= FEffectiveClip.Right || y < FEffectiveClip.Top ||
      y >= FEffectiveClip.Bottom)
    return;
  FSurface.Row(static_cast<int>(y))[x] = ColorToPixel(Color);
  NotifyDrawn(*this, {x, y, x + 1, y + 1});
}

// ---------------------------------------------------------------- lines

namespace raster {

// One stroke of the pen along a chain of points (canvas coordinates), as Polyline, polygon and
// styled rectangle outlines draw it: cosmetic pens walk each segment with its end excluded and
// carry the dash pattern across joints; wide pens paint the union of round-capped segments.
void StrokePath(TCanvas& C, std::span<const TPoint> Pts, bool Close) {
  const TPen* pen = C.Pen();
  if (pen->GetStyle() == psClear || Pts.empty() || !C.HasSurface()) return;
  const TRect clip = C.SurfaceClip();
  if (clip.IsEmpty()) return;
  const TSurface& s = C.Surface();
  const TPoint o = C.Origin();
  const size_t n = Pts.size() + (Close && Pts.size() > 1 ? 1 : 0);
  auto pt = [&](size_t k) {
    const TPoint& p = Pts[k % Pts.size()];
    return std::pair<int64_t, int64_t>{int64_t{p.X} + o.X, int64_t{p.Y} + o.Y};
  };
  Box bounds{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
  for (size_t k = 0; k < n; ++k) {
    auto [x, y] = pt(k);
    bounds = {std::min(bounds.L, x), std::min(bounds.T, y), std::max(bounds.R, x + 1),
              std::max(bounds.B, y + 1)};
  }
  const int w = pen->GetWidth();
  if (w > 1) {
    // Wide pens draw solid, whatever their style, as the classic geometric pens do.
    SpanRows rows(clip.Top, clip.Bottom);
    if (n == 1) {
      auto [x, y] = pt(0);
      AddWideSegment(rows, x, y, x, y, w);
    }
    for (size_t k = 0; k + 1 < n; ++k) {
      auto [x0, y0] = pt(k);
      auto [x1, y1] = pt(k + 1);
      AddWideSegment(rows, x0, y0, x1, y1, w);
    }
    rows.Paint(s, clip, PenInk(C));
    NotifyDrawn(C, rows.Bounds());
    return;
  }
  const Ink ink = PenInk(C);
  const StylePattern pattern = PatternFor(pen->GetStyle());
  // Gaps of a styled pen show the background: the brush colour over a solid brush, nothing
  // over any other.
  Ink gap;
  if (!pattern.Bits.empty() && C.Brush()->GetStyle() == bsSolid) {
    gap.Visible = true;
    gap.Op = MakeRop2(pen->GetMode(), ColorToPixel(C.Brush()->GetColor()));
  }
  int64_t pos = 0;
  for (size_t k = 0; k + 1 < n; ++k) {
    auto [x0, y0] = pt(k);
    auto [x1, y1] = pt(k + 1);
    if (pattern.Bits.empty()) {
      const Rop2 op = ink.Op;
      if (op.IsCopy()) {
        WalkLine(x0, y0, x1, y1, clip, [&](int x, int y, int64_t) { s.Row(y)[x] = op.Xor; });
      } else {
        WalkLine(x0, y0, x1, y1, clip, [&](int x, int y, int64_t) {
          TPixel& d = s.Row(y)[x];
          d = (d & op.And) ^ op.Xor;
        });
      }
    } else {
      WalkLine(x0, y0, x1, y1, clip, [&](int x, int y, int64_t i) {
        const Ink& use = pattern.On(pos + i) ? ink : gap;
        if (!use.Visible) return;
        TPixel& d = s.Row(y)[x];
        d = (d & use.Op.And) ^ use.Op.Xor;
      });
      int64_t adx = x1 - x0, ady = y1 - y0;
      pos += std::max(adx < 0 ? -adx : adx, ady < 0 ? -ady : ady);
      pos %= static_cast<int64_t>(pattern.Bits.size());
    }
  }
  NotifyDrawn(C, bounds);
}

}  // namespace raster

void TCanvas::MoveTo(int X, int Y) { FPenPos = {X, Y}; }

void TCanvas::LineTo(int X, int Y) {
  TPoint pts[2] = {FPenPos, {X, Y}};
  StrokePath(*this, pts, false);
  FPenPos = {X, Y};
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
  if (Points.size() < 2) return;
  StrokePath(*this, Points, false);
}

// ---------------------------------------------------------------- rectangles

namespace {

void FillBox(TCanvas& C, Box B, const Ink& I) {
  if (!I.Visible) return;
  B = ClipBox(B, C.SurfaceClip());
  if (B.Empty()) return;
  const TSurface& s = C.Surface();
  if (!I.Hatch && I.Op.IsCopy()) {
    const size_t n = static_cast<size_t>(B.R - B.L);
    if (s.Stride == s.Width && n == static_cast<size_t>(s.Width)) {
      // Whole rows of a contiguous surface are one run.
      FillPixels(s.Row(static_cast<int>(B.T)), n * static_cast<size_t>(B.B - B.T), I.Op.Xor);
      return;
    }
    for (int64_t y = B.T; y < B.B; ++y) FillPixels(s.Row(static_cast<int>(y)) + B.L, n, I.Op.Xor);
    return;
  }
  for (int64_t y = B.T; y < B.B; ++y)
    PaintSpan(s, static_cast<int>(y), static_cast<int>(B.L), static_cast<int>(B.R), I);
}

// A one-pixel frame on the border pixels of B, each pixel painted once.
void FrameBox(TCanvas& C, const Box& B, const Ink& I) {
  if (B.Empty()) return;
  FillBox(C, {B.L, B.T, B.R, B.T + 1}, I);
  if (B.B - B.T > 1) FillBox(C, {B.L, B.B - 1, B.R, B.B}, I);
  if (B.B - B.T > 2) {
    FillBox(C, {B.L, B.T + 1, B.L + 1, B.B - 1}, I);
    if (B.R - B.L > 1) FillBox(C, {B.R - 1, B.T + 1, B.R, B.B - 1}, I);
  }
}

Box SurfaceBox(const TCanvas& C, int64_t L, int64_t T, int64_t R, int64_t B) {
  if (R < L) std::swap(L, R);
  if (B < T) std::swap(T, B);
  TPoint o = C.Origin();
  return {L + o.X, T + o.Y, R + o.X, B + o.Y};
}

}  // namespace

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  if (!HasSurface()) return;
  Box b = SurfaceBox(*this, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  const TPenStyle style = FPen->GetStyle();
  const int w = FPen->GetWidth();
  const Ink brush = BrushInk(*this, FPen->GetMode());
  if (style == psClear) {
    FillBox(*this, {b.L, b.T, b.R - 1, b.B - 1}, brush);
    NotifyDrawn(*this, {b.L, b.T, b.R - 1, b.B - 1});
    return;
  }
  if (w <= 1) {
    FillBox(*this, {b.L + 1, b.T + 1, b.R - 1, b.B - 1}, brush);
    if (PatternFor(style).Bits.empty()) {
      FrameBox(*this, b, PenInk(*this));
    } else {
      TPoint o = FOrigin;
      auto p = [&](int64_t x, int64_t y) {
        return TPoint{static_cast<int>(x - o.X), static_cast<int>(y - o.Y)};
      };
      if (b.R - b.L == 1 || b.B - b.T == 1) {
        // A one-pixel-thin rectangle is a line that includes both ends.
        TPoint pts[2] = {p(b.L, b.T), p(b.R - 1 + (b.B - b.T == 1), b.B - 1 + (b.B - b.T > 1))};
        StrokePath(*this, pts, false);
      } else {
        TPoint pts[4] = {p(b.L, b.T), p(b.R - 1, b.T), p(b.R - 1, b.B - 1), p(b.L, b.B - 1)};
        StrokePath(*this, pts, true);
      }
    }
    NotifyDrawn(*this, b);
    return;
  }
  // Wide pen: a ring centred on the outline (the extra pixel of an even width goes inside);
  // psInsideFrame pulls the whole ring inside the box.
  const int64_t dOut = (w - 1) / 2, dIn = (w - 1) - dOut;
  if (style == psInsideFrame) b = {b.L + dOut, b.T + dOut, b.R - dOut, b.B - dOut};
  if (b.Empty()) return;
  Box outer{b.L - dOut, b.T - dOut, b.R + dOut, b.B + dOut};
  Box inner{b.L + dIn + 1, b.T + dIn + 1, b.R - dIn - 1, b.B - dIn - 1};
  FillBox(*this, inner, brush);
  const Ink pen = PenInk(*this);
  if (inner.Empty()) {
    FillBox(*this, outer, pen);
  } else {
    FillBox(*this, {outer.L, outer.T, outer.R, inner.T}, pen);
    FillBox(*this, {outer.L, inner.B, outer.R, outer.B}, pen);
    FillBox(*this, {outer.L, inner.T, inner.L, inner.B}, pen);
    FillBox(*this, {inner.R, inner.T, outer.R, inner.B}, pen);
  }
  NotifyDrawn(*this, outer);
}

void TCanvas::FillRect(const TRect& R) {
  if (!HasSurface()) return;
  Box b = SurfaceBox(*this, R.Left, R.Top, R.Right, R.Bottom);
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;  // an inverted rectangle fills nothing
  FillBox(*this, b, BrushInk(*this, pmCopy));
  NotifyDrawn(*this, b);
}

void TCanvas::FrameRect(const TRect& R) {
  if (!HasSurface() || R.Right <= R.Left || R.Bottom <= R.Top) return;
  Box b = SurfaceBox(*this, R.Left, R.Top, R.Right, R.Bottom);
  FrameBox(*this, b, BrushInk(*this, pmCopy));
  NotifyDrawn(*this, b);
}

void TCanvas::DrawFocusRect(const TRect& R) {
  if (!HasSurface() || R.Right <= R.Left || R.Bottom <= R.Top) return;
  Box b = SurfaceBox(*this, R.Left, R.Top, R.Right, R.Bottom);
  const TRect clip = FEffectiveClip;
  // Every other pixel of the frame, on a checkerboard fixed to the surface, inverted: a second
  // call over the same rectangle restores what was there.
  auto band = [&](Box p) {
    p = ClipBox(p, clip);
    for (int64_t y = p.T; y < p.B; ++y) {
      TPixel* row = FSurface.Row(static_cast<int>(y));
      for (int64_t x = p.L + ((p.L + y) & 1); x < p.R; x += 2) row[x] ^= kRgbMask;
    }
  };
  band({b.L, b.T, b.R, b.T + 1});
  if (b.B - b.T > 1) band({b.L, b.B - 1, b.R, b.B});
  if (b.B - b.T > 2) {
    band({b.L, b.T + 1, b.L + 1, b.B - 1});
    if (b.R - b.L > 1) band({b.R - 1, b.T + 1, b.R, b.B - 1});
  }
  NotifyDrawn(*this, b);
}

// ---------------------------------------------------------------- flood fill

void TCanvas::FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle) {
  const TRect clip = FEffectiveClip;
  int64_t sx = int64_t{X} + FOrigin.X, sy = int64_t{Y} + FOrigin.Y;
  if (!HasSurface() ||
      !clip.Contains({static_cast<int>(std::clamp<int64_t>(sx, INT_MIN, INT_MAX)),
                      static_cast<int>(std::clamp<int64_t>(sy, INT_MIN, INT_MAX))}))
    return;
  const Ink ink = BrushInk(*this, pmCopy);
  if (!ink.Visible) return;
  const TPixel key = ColorToPixel(Color) & kRgbMask;
  const bool surface = FillStyle == fsSurface;
  auto inside = [&](TPixel p) { return ((p & kRgbMask) == key) == surface; };
  if (!inside(FSurface.Row(static_cast<int>(sy))[sx])) return;

  // The region is found first and painted afterwards, so that a brush of the very colour being
  // replaced cannot make the search run forever. Seeds go on an explicit stack.
  const int cw = clip.Width(), ch = clip.Height();
  std::vector<uint8_t> seen(static_cast<size_t>(cw) * ch, 0);
  auto seenAt = [&](int x, int y) -> uint8_t& {
    return seen[static_cast<size_t>(y - clip.Top) * cw + (x - clip.Left)];
  };
  struct Span {
    int Y, X0, X1;
  };
  std::vector<Span> spans;
  std::vector<TPoint> stack{{static_cast<int>(sx), static_cast<int>(sy)}};
  Box touched{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
  while (!stack.empty()) {
    TPoint p = stack.back();
    stack.pop_back();
    if (seenAt(p.X, p.Y)) continue;
    const TPixel* row = FSurface.Row(p.Y);
    int x0 = p.X, x1 = p.X;
    while (x0 > clip.Left && !seenAt(x0 - 1, p.Y) && inside(row[x0 - 1])) --x0;
    while (x1 + 1 < clip.Right && !seenAt(x1 + 1, p.Y) && inside(row[x1 + 1])) ++x1;
    std::memset(&seenAt(x0, p.Y), 1, static_cast<size_t>(x1 - x0 + 1));
    spans.push_back({p.Y, x0, x1 + 1});
    touched = {std::min<int64_t>(touched.L, x0), std::min<int64_t>(touched.T, p.Y),
               std::max<int64_t>(touched.R, x1 + 1), std::max<int64_t>(touched.B, p.Y + 1)};
    for (int ny : {p.Y - 1, p.Y + 1}) {
      if (ny < clip.Top || ny >= clip.Bottom) continue;
      const TPixel* nrow = FSurface.Row(ny);
      bool inRun = false;
      for (int x = x0; x <= x1; ++x) {
        bool ok = !seenAt(x, ny) && inside(nrow[x]);
        if (ok && !inRun) stack.push_back({x, ny});
        inRun = ok;
      }
    }
  }
  for (const Span& s : spans) PaintSpan(FSurface, s.Y, s.X0, s.X1, ink);
  NotifyDrawn(*this, touched);
}

}  // namespace qel

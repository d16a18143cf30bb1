// Polygons, ellipses, rounded rectangles, arcs, pies and chords.
#include <climits>
#include <cmath>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

using namespace raster;

namespace {

// ---------------------------------------------------------------- row-convex shapes

struct Span {
  int64_t L = 1, R = 0;  // closed; empty when R < L
  bool Empty() const { return R < L; }
};

// An ellipse inscribed in the pixels of B: a pixel belongs to it when its centre lies inside
// the ellipse through the outer edges of the box. The middle row(s) and column(s) always run
// from edge to edge, so the shape touches all four sides even when very flat or thin. Spans
// are mirrored from one half, which makes the shape exactly symmetric.
struct EllipseShape {
  Box B;
  Span Row(int64_t Y) const {
    if (B.Empty() || Y < B.T || Y >= B.B) return {};
    const int64_t w = B.R - B.L, h = B.B - B.T, m2 = B.L + B.R - 1;
    int64_t d = 2 * Y + 1 - (B.T + B.B);  // doubled distance of the row centre from the middle
    if (d < 0) d = -d;
    if (d <= 1) return {B.L, B.R - 1};
    const double f = double(d) / double(h);
    const double hw2 = double(w) * std::sqrt(std::max(0.0, 1.0 - f * f));
    int64_t right = TruncToInt64(std::floor((double(m2) + hw2) / 2.0));
    const int64_t mid = m2 >= 0 ? (m2 + 1) / 2 : -((-m2) / 2);  // ceil(m2 / 2)
    right = std::max(right, mid);
    return {m2 - right, right};
  }
  EllipseShape Inflate(int64_t D) const { return {{B.L - D, B.T - D, B.R + D, B.B + D}}; }
  Box Bounds() const { return B; }
};

// A rectangle whose corners are the quarters of an EW x EH ellipse.
struct RoundRectShape {
  Box B;
  int64_t EW, EH;
  Span Row(int64_t Y) const {
    if (B.Empty() || Y < B.T || Y >= B.B) return {};
    const int64_t ew = std::min(EW, B.R - B.L), eh = std::min(EH, B.B - B.T);
    if (ew <= 1 || eh <= 1) return {B.L, B.R - 1};
    const int64_t fromTop = Y - B.T, fromBottom = B.B - 1 - Y;
    int64_t ey;
    if (fromTop < eh / 2)
      ey = fromTop;
    else if (fromBottom < eh / 2)
      ey = eh - 1 - fromBottom;
    else
      return {B.L, B.R - 1};
    const Span corner = EllipseShape{{0, 0, ew, eh}}.Row(ey);
    return {B.L + corner.L, B.R - 1 - corner.L};
  }
  RoundRectShape Inflate(int64_t D) const {
    return {{B.L - D, B.T - D, B.R + D, B.B + D},
            std::max<int64_t>(0, EW + 2 * D),
            std::max<int64_t>(0, EH + 2 * D)};
  }
  Box Bounds() const { return B; }
};

// The pixels of a shape that have all four neighbours in it: the shape minus its outline.
template <class S>
Span Interior(const S& Shape, int64_t Y) {
  Span a = Shape.Row(Y - 1), b = Shape.Row(Y), c = Shape.Row(Y + 1);
  if (a.Empty() || b.Empty() || c.Empty()) return {};
  return {std::max({b.L + 1, a.L, c.L}), std::min({b.R - 1, a.R, c.R})};
}

// Clips [A, B] to the clip columns and paints it; Test, when given, narrows it to the (at most
// two) runs of the row where the test holds.
template <class T>
void PaintClosed(const TSurface& S, const TRect& Clip, int64_t Y, int64_t A, int64_t B,
                 const Ink& I, const T* Test) {
  if (!I.Visible || B < A) return;
  A = std::max<int64_t>(A, Clip.Left);
  B = std::min<int64_t>(B, int64_t{Clip.Right} - 1);
  if (B < A) return;
  const int y = static_cast<int>(Y);
  if (!Test) {
    PaintSpan(S, y, static_cast<int>(A), static_cast<int>(B + 1), I);
    return;
  }
  Span runs[2];
  const int n = Test->Runs(Y, A, B, runs);
  for (int k = 0; k < n; ++k)
    PaintSpan(S, y, static_cast<int>(runs[k].L), static_cast<int>(runs[k].R + 1), I);
}

struct NoTest {
  int Runs(int64_t, int64_t A, int64_t B, Span* Out) const {
    Out[0] = {A, B};
    return 1;
  }
};

// Fills and outlines a row-convex shape: the brush takes the interior, the pen the ring around
// it (one pixel for a cosmetic pen; for a wide pen, centred on the outline with the extra pixel
// of an even width inside). The two never overlap, so every pen mode behaves. BrushTest and
// PenTest narrow each part (pie sectors, chords).
template <class S, class BT, class PT>
Box PaintShape(TCanvas& C, const S& Shape, const BT* BrushTest, const PT* PenTest,
               bool UseBrush = true) {
  const TRect clip = C.SurfaceClip();
  const TSurface& surf = C.Surface();
  const TPen* pen = C.Pen();
  const Ink brush = UseBrush ? BrushInk(C, pen->GetMode()) : Ink{};
  if (pen->GetStyle() == psClear) {
    // Without a pen the filled shape is one pixel smaller on the right and at the bottom.
    S shrunk = Shape;
    shrunk.B.R -= 1;
    shrunk.B.B -= 1;
    Box b = ClipBox(shrunk.Bounds(), clip);
    for (int64_t y = b.T; y < b.B; ++y) {
      Span s = shrunk.Row(y);
      PaintClosed(surf, clip, y, s.L, s.R, brush, BrushTest);
    }
    return shrunk.Bounds();
  }
  const int w = pen->GetWidth();
  const int64_t dOut = (w - 1) / 2, dIn = (w - 1) - dOut;
  S base = Shape;
  if (pen->GetStyle() == psInsideFrame && w > 1) base = Shape.Inflate(-dOut);
  const S outer = base.Inflate(dOut), inner = base.Inflate(-dIn);
  const Ink ink = PenInk(C);
  Box b = ClipBox(outer.Bounds(), clip);
  for (int64_t y = b.T; y < b.B; ++y) {
    Span o = outer.Row(y), in = Interior(inner, y);
    if (o.Empty()) continue;
    if (in.Empty()) {
      PaintClosed(surf, clip, y, o.L, o.R, ink, PenTest);
      continue;
    }
    PaintClosed(surf, clip, y, in.L, in.R, brush, BrushTest);
    PaintClosed(surf, clip, y, o.L, in.L - 1, ink, PenTest);
    PaintClosed(surf, clip, y, in.R + 1, o.R, ink, PenTest);
  }
  return outer.Bounds();
}

Box NormalBox(const TCanvas& C, int X1, int Y1, int X2, int Y2) {
  int64_t l = X1, t = Y1, r = X2, b = Y2;
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  TPoint o = C.Origin();
  return {l + o.X, t + o.Y, r + o.X, b + o.Y};
}

// ---------------------------------------------------------------- sectors

using i128 = __int128;

// Directions in doubled pixel coordinates with y pointing up, so that "counter-clockwise"
// reads as on screen.
struct Vec {
  int64_t X, Y;
};
inline i128 Cross(Vec A, Vec B) { return i128(A.X) * B.Y - i128(A.Y) * B.X; }
inline i128 Dot(Vec A, Vec B) { return i128(A.X) * B.X + i128(A.Y) * B.Y; }

inline i128 FloorDiv128(i128 A, i128 B) {  // B > 0
  // Ordinary boxes keep both in 64 bits, where division is several times cheaper.
  if (A == static_cast<int64_t>(A) && B == static_cast<int64_t>(B)) {
    const int64_t a = static_cast<int64_t>(A), b = static_cast<int64_t>(B);
    int64_t q = a / b;
    if (a % b != 0 && a < 0) --q;
    return q;
  }
  i128 q = A / B;
  if (A % B != 0 && A < 0) --q;
  return q;
}

// The pixels x of [A, B] with Alpha * x + Beta >= 0: one side of a line on one row, solved
// exactly. The bound itself may lie far outside 64 bits; only the clamped result must fit.
Span HalfRow(i128 Alpha, i128 Beta, int64_t A, int64_t B) {
  if (Alpha == 0) return Beta >= 0 ? Span{A, B} : Span{};
  if (Alpha > 0) {
    const i128 lo = -FloorDiv128(Beta, Alpha);  // ceil(-Beta / Alpha)
    if (lo > B) return {};
    return {lo > A ? static_cast<int64_t>(lo) : A, B};
  }
  const i128 hi = FloorDiv128(Beta, -Alpha);
  if (hi < A) return {};
  return {A, hi < B ? static_cast<int64_t>(hi) : B};
}

// Writes S to Out unless it is empty; returns the number of runs written.
int Put(Span S, Span* Out) {
  if (S.Empty()) return 0;
  Out[0] = S;
  return 1;
}

struct Sector {
  int64_t CX2, CY2;  // doubled centre
  Vec S, E;
  int Kind;  // 0 full turn, 1 below half a turn, 2 beyond half a turn, 3 exactly half
  Vec At(int64_t X, int64_t Y) const { return {2 * X - CX2, CY2 - 2 * Y}; }
  // A pixel belongs to the sector when its doubled offset v from the centre has Cross(S, v) >= 0
  // and Cross(v, E) >= 0 (below half a turn), either of them (beyond), or the first (exactly
  // half); at the centre both are zero, so it always belongs. On a row each product is linear
  // in x, so each condition keeps one side of the row: one run, or two beyond half a turn.
  int Runs(int64_t Y, int64_t A, int64_t B, Span* Out) const {
    if (Kind == 0) return Put({A, B}, Out);
    const i128 vy = i128(CY2) - 2 * i128(Y);
    // Cross(S, v) = S.X * vy - S.Y * (2x - CX2)
    const Span s = HalfRow(-2 * i128(S.Y), i128(S.X) * vy + i128(S.Y) * CX2, A, B);
    if (Kind == 3) return Put(s, Out);
    // Cross(v, E) = (2x - CX2) * E.Y - vy * E.X
    const Span e = HalfRow(2 * i128(E.Y), -i128(CX2) * E.Y - vy * E.X, A, B);
    if (Kind == 1) return Put({std::max(s.L, e.L), std::min(s.R, e.R)}, Out);
    if (s.Empty()) return Put(e, Out);
    if (e.Empty()) return Put(s, Out);
    const Span& first = s.L <= e.L ? s : e;
    const Span& second = s.L <= e.L ? e : s;
    if (second.L <= first.R + 1) return Put({first.L, std::max(first.R, second.R)}, Out);
    Out[0] = first;
    Out[1] = second;
    return 2;
  }
};

Sector MakeSector(const Box& B, int64_t X3, int64_t Y3, int64_t X4, int64_t Y4) {
  Sector s;
  s.CX2 = B.L + B.R - 1;
  s.CY2 = B.T + B.B - 1;
  s.S = s.At(X3, Y3);
  s.E = s.At(X4, Y4);
  if (s.S.X == 0 && s.S.Y == 0) s.S = {1, 0};
  if (s.E.X == 0 && s.E.Y == 0) s.E = {1, 0};
  i128 c = Cross(s.S, s.E);
  if (c > 0)
    s.Kind = 1;
  else if (c < 0)
    s.Kind = 2;
  else
    s.Kind = Dot(s.S, s.E) > 0 ? 0 : 3;
  return s;
}

// Where the ray from the centre along V leaves the ellipse through the centres of the box's
// outer pixels.
TPoint RayEnd(const Box& B, const Sector& S, Vec V, const TPoint& Origin) {
  const double a2 = double(B.R - B.L - 1), b2 = double(B.B - B.T - 1);
  double t = 0;
  const double vx = double(V.X), vy = double(V.Y);
  double q = (a2 > 0 ? (vx / a2) * (vx / a2) : (vx != 0 ? INFINITY : 0)) +
             (b2 > 0 ? (vy / b2) * (vy / b2) : (vy != 0 ? INFINITY : 0));
  if (q > 0 && std::isfinite(q)) t = 1.0 / std::sqrt(q);
  const double x2 = double(S.CX2) + t * vx, y2 = double(S.CY2) - t * vy;
  // Round halves down, as the centre pixel does, so that a radius along an axis stays straight.
  return {RoundToInt(std::ceil(x2 / 2.0 - 0.5) - Origin.X),
          RoundToInt(std::ceil(y2 / 2.0 - 0.5) - Origin.Y)};
}

// A straight pen line that includes both of its ends (pie radii, chords).
void PenLineBothEnds(TCanvas& C, TPoint A, TPoint B) {
  TPoint pts[2] = {A, B};
  StrokePath(C, pts, false);
  if (C.Pen()->GetWidth() <= 1 && C.Pen()->GetStyle() != psClear) {
    TPoint end[2] = {B, {B.X + 1, B.Y}};
    StrokePath(C, end, false);
  }
}

enum class ArcKind { Arc, Pie, Chord };

void DrawArcShape(TCanvas& C, ArcKind Kind, int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4,
                  int Y4) {
  if (!C.HasSurface()) return;
  Box b = NormalBox(C, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  const TPoint o = C.Origin();
  const Sector sector =
      MakeSector(b, int64_t{X3} + o.X, int64_t{Y3} + o.Y, int64_t{X4} + o.X, int64_t{Y4} + o.Y);
  const TPoint p1 = RayEnd(b, sector, sector.S, o), p2 = RayEnd(b, sector, sector.E, o);
  const EllipseShape shape{b};
  Box drawn;
  if (Kind == ArcKind::Arc) {
    // An arc has no inside: only the pen ring within the sector.
    if (C.Pen()->GetStyle() == psClear) return;
    drawn = PaintShape(C, shape, static_cast<const NoTest*>(nullptr), &sector, false);
  } else if (Kind == ArcKind::Pie) {
    drawn = PaintShape(C, shape, &sector, &sector);
    if (sector.Kind != 0) {
      const TPoint centre{
          static_cast<int>(std::clamp<int64_t>(FloorDiv(sector.CX2, 2) - o.X, INT_MIN, INT_MAX)),
          static_cast<int>(std::clamp<int64_t>(FloorDiv(sector.CY2, 2) - o.Y, INT_MIN, INT_MAX))};
      PenLineBothEnds(C, centre, p1);
      PenLineBothEnds(C, centre, p2);
    }
  } else {
    // The chord keeps the side of the line p1 -> p2 that the arc runs through.
    struct ChordTest {
      Vec P1, D;
      const Sector* S;
      bool Full;
      // Cross(D, v - P1) <= 0, with v.X = 2x - CX2 linear in x along the row.
      int Runs(int64_t Y, int64_t A, int64_t B, Span* Out) const {
        if (Full) return Put({A, B}, Out);
        const i128 wy = i128(S->CY2) - 2 * i128(Y) - P1.Y;
        return Put(
            HalfRow(2 * i128(D.Y), -i128(D.X) * wy - i128(D.Y) * (i128(S->CX2) + P1.X), A, B), Out);
      }
    };
    Vec v1 = sector.At(int64_t{p1.X} + o.X, int64_t{p1.Y} + o.Y);
    Vec v2 = sector.At(int64_t{p2.X} + o.X, int64_t{p2.Y} + o.Y);
    ChordTest test{v1, {v2.X - v1.X, v2.Y - v1.Y}, &sector, sector.Kind == 0};
    drawn = PaintShape(C, shape, &test, &sector);
    if (sector.Kind != 0) PenLineBothEnds(C, p1, p2);
  }
  NotifyDrawn(C, drawn);
}

}  // namespace

// ---------------------------------------------------------------- ellipses and round rects

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  if (!HasSurface()) return;
  Box b = NormalBox(*this, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  const NoTest* none = nullptr;
  NotifyDrawn(*this, PaintShape(*this, EllipseShape{b}, none, none));
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  if (!HasSurface()) return;
  Box b = NormalBox(*this, X1, Y1, X2, Y2);
  if (b.Empty()) return;
  const NoTest* none = nullptr;
  const int64_t ew = X3, eh = Y3;
  RoundRectShape shape{b, ew < 0 ? -ew : ew, eh < 0 ? -eh : eh};
  NotifyDrawn(*this, PaintShape(*this, shape, none, none));
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawArcShape(*this, ArcKind::Arc, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawArcShape(*this, ArcKind::Pie, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

void TCanvas::Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  DrawArcShape(*this, ArcKind::Chord, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
}

// ---------------------------------------------------------------- polygons

void TCanvas::Polygon(std::span<const TPoint> Points) {
  if (!HasSurface() || Points.size() < 2) return;
  const TRect clip = FEffectiveClip;
  const Ink brush = BrushInk(*this, FPen->GetMode());
  Box bounds{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
  for (const TPoint& p : Points) {
    int64_t x = int64_t{p.X} + FOrigin.X, y = int64_t{p.Y} + FOrigin.Y;
    bounds = {std::min(bounds.L, x), std::min(bounds.T, y), std::max(bounds.R, x + 1),
              std::max(bounds.B, y + 1)};
  }
  if (brush.Visible && Points.size() >= 3 && !clip.IsEmpty()) {
    // Pixel (x, y) is inside when the point (x, y) is, by the alternate rule; points on a left
    // or top edge count, points on a right or bottom edge do not. Each edge walks down the
    // rows with an exact integer step (x = ceil(N / D), N kept as q*D - r).
    struct Edge {
      int64_t YTop, YEnd;  // rows YTop..YEnd-1
      int64_t Q, Rem, D, StepQ, StepR;
    };
    std::vector<Edge> edges;
    edges.reserve(Points.size());
    const int64_t rowLo = clip.Top, rowHi = clip.Bottom;  // rows rowLo..rowHi-1
    for (size_t k = 0; k < Points.size(); ++k) {
      const TPoint& p0 = Points[k];
      const TPoint& p1 = Points[(k + 1) % Points.size()];
      int64_t xa = int64_t{p0.X} + FOrigin.X, ya = int64_t{p0.Y} + FOrigin.Y;
      int64_t xb = int64_t{p1.X} + FOrigin.X, yb = int64_t{p1.Y} + FOrigin.Y;
      if (ya == yb) continue;
      if (ya > yb) std::swap(xa, xb), std::swap(ya, yb);
      int64_t top = std::max(ya, rowLo), end = std::min(yb, rowHi);
      if (top >= end) continue;
      Edge e;
      e.YTop = top;
      e.YEnd = end;
      e.D = yb - ya;
      const int64_t dx = xb - xa;
      e.StepQ = FloorDiv(dx, e.D);
      e.StepR = dx - e.StepQ * e.D;
      const __int128 n = __int128(xa) * e.D + __int128(top - ya) * dx;
      e.Q = CeilDiv(n, e.D);
      e.Rem = static_cast<int64_t>(__int128(e.Q) * e.D - n);
      edges.push_back(e);
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.YTop < b.YTop; });
    std::vector<Edge*> active;
    std::vector<int64_t> xs;
    size_t next = 0;
    int64_t y = edges.empty() ? rowHi : edges[0].YTop;
    for (; y < rowHi; ++y) {
      while (next < edges.size() && edges[next].YTop == y) active.push_back(&edges[next++]);
      active.erase(
          std::remove_if(active.begin(), active.end(), [y](const Edge* e) { return e->YEnd <= y; }),
          active.end());
      if (active.empty()) {
        if (next >= edges.size()) break;
        y = edges[next].YTop - 1;
        continue;
      }
      xs.clear();
      for (Edge* e : active) {
        xs.push_back(e->Q);
        // Step to the next row.
        e->Q += e->StepQ;
        e->Rem -= e->StepR;
        if (e->Rem < 0) {
          e->Rem += e->D;
          e->Q += 1;
        }
      }
      std::sort(xs.begin(), xs.end());
      for (size_t k = 0; k + 1 < xs.size(); k += 2) {
        int64_t x0 = std::max<int64_t>(xs[k], clip.Left);
        int64_t x1 = std::min<int64_t>(xs[k + 1], clip.Right);
        if (x0 < x1)
          PaintSpan(FSurface, static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1),
                    brush);
      }
    }
  }
  StrokePath(*this, Points, true);
  NotifyDrawn(*this, bounds);
}

}  // namespace qel

// Pies, chords and arcs against a pixel-by-pixel model: the library fills sectors a run at a
// time, solving each bounding line exactly per row; the model here tests every pixel of a plain
// ellipse against the sector instead, then adds the radii or the chord line. The two must agree
// on every pixel, whatever the box, points, pen, brush, origin and clip.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "platform/graphics/Graphics.h"
#include "platform/rtl/SafeMath.h"
#include "tests/platform/graphics/CanvasTestUtil.h"

namespace qel {
namespace {

using i128 = __int128;

// ---------------------------------------------------------------- the per-pixel model

struct Vec {
  int64_t X, Y;
};
i128 Cross(Vec A, Vec B) { return i128(A.X) * B.Y - i128(A.Y) * B.X; }
i128 Dot(Vec A, Vec B) { return i128(A.X) * B.X + i128(A.Y) * B.Y; }

struct BoxModel {
  int64_t L, T, R, B;
};

// Directions in doubled surface coordinates, y up.
struct SectorModel {
  int64_t CX2, CY2;
  Vec S, E;
  int Kind;  // 0 full turn, 1 below half a turn, 2 beyond, 3 exactly half
  Vec At(int64_t X, int64_t Y) const { return {2 * X - CX2, CY2 - 2 * Y}; }
  bool Contains(int64_t X, int64_t Y) const {
    Vec v = At(X, Y);
    if (v.X == 0 && v.Y == 0) return true;
    switch (Kind) {
      case 0:
        return true;
      case 1:
        return Cross(S, v) >= 0 && Cross(v, E) >= 0;
      case 2:
        return Cross(S, v) >= 0 || Cross(v, E) >= 0;
      default:
        return Cross(S, v) >= 0;
    }
  }
};

SectorModel MakeSectorModel(const BoxModel& B, int64_t X3, int64_t Y3, int64_t X4, int64_t Y4) {
  SectorModel s;
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

// Where a radius meets the ellipse through the centres of the box's outer pixels.
TPoint RayEndModel(const BoxModel& B, const SectorModel& S, Vec V, TPoint Origin) {
  const double a2 = double(B.R - B.L - 1), b2 = double(B.B - B.T - 1);
  double t = 0;
  const double vx = double(V.X), vy = double(V.Y);
  double q = (a2 > 0 ? (vx / a2) * (vx / a2) : (vx != 0 ? INFINITY : 0)) +
             (b2 > 0 ? (vy / b2) * (vy / b2) : (vy != 0 ? INFINITY : 0));
  if (q > 0 && std::isfinite(q)) t = 1.0 / std::sqrt(q);
  const double x2 = double(S.CX2) + t * vx, y2 = double(S.CY2) - t * vy;
  return {RoundToInt(std::ceil(x2 / 2.0 - 0.5) - Origin.X),
          RoundToInt(std::ceil(y2 / 2.0 - 0.5) - Origin.Y)};
}

int64_t FloorHalf(int64_t A) { return A >= 0 ? A / 2 : -((-A + 1) / 2); }

enum class Shape { Arc, Pie, Chord };

struct Case {
  Shape Kind;
  int X1, Y1, X2, Y2, X3, Y3, X4, Y4;
  int SurfW, SurfH;
  TPoint Origin;
  TRect BindClip;
  bool UserClip;
  TRect Clip;
  TPenStyle PenStyle;
  int PenWidth;
  bool ClearBrush;
};

std::string Describe(const Case& c) {
  std::ostringstream o;
  o << (c.Kind == Shape::Arc   ? "Arc"
        : c.Kind == Shape::Pie ? "Pie"
                               : "Chord")
    << "(" << c.X1 << "," << c.Y1 << "," << c.X2 << "," << c.Y2 << "," << c.X3 << "," << c.Y3 << ","
    << c.X4 << "," << c.Y4 << ") surface " << c.SurfW << "x" << c.SurfH << " origin " << c.Origin.X
    << "," << c.Origin.Y << " bind " << c.BindClip.Left << "," << c.BindClip.Top << ","
    << c.BindClip.Right << "," << c.BindClip.Bottom;
  if (c.UserClip)
    o << " clip " << c.Clip.Left << "," << c.Clip.Top << "," << c.Clip.Right << ","
      << c.Clip.Bottom;
  o << " pen style " << int(c.PenStyle) << " width " << c.PenWidth
    << (c.ClearBrush ? " clear brush" : "");
  return o.str();
}

void Setup(TCanvas& C, TBitmap& B, const Case& c) {
  C.BindSurface(B.Canvas()->Surface(), c.Origin, c.BindClip);
  if (c.UserClip) C.SetClipRect(c.Clip);
  C.Pen()->SetColor(clBlack);
  C.Pen()->SetStyle(c.PenStyle);
  C.Pen()->SetWidth(c.PenWidth);
  C.Brush()->SetColor(clRed);
  if (c.ClearBrush) C.Brush()->SetStyle(bsClear);
}

// The model: a whole ellipse with the same pen and brush, kept where the sector (pen ring and
// pie fill) or the chord's side (chord fill) holds, then the straight lines on top.
void DrawModel(TBitmap& Out, const Case& c) {
  TBitmap whole(c.SurfW, c.SurfH);
  testing::Fill(whole, clWhite);
  {
    TCanvas e;
    Setup(e, whole, c);
    e.Ellipse(c.X1, c.Y1, c.X2, c.Y2);
  }
  TCanvas C;
  Setup(C, Out, c);
  const TPoint o = c.Origin;
  BoxModel b{std::min<int64_t>(c.X1, c.X2) + o.X, std::min<int64_t>(c.Y1, c.Y2) + o.Y,
             std::max<int64_t>(c.X1, c.X2) + o.X, std::max<int64_t>(c.Y1, c.Y2) + o.Y};
  if (b.R <= b.L || b.B <= b.T) return;
  if (c.Kind == Shape::Arc && c.PenStyle == psClear) return;
  const SectorModel s = MakeSectorModel(b, int64_t{c.X3} + o.X, int64_t{c.Y3} + o.Y,
                                        int64_t{c.X4} + o.X, int64_t{c.Y4} + o.Y);
  const TPoint p1 = RayEndModel(b, s, s.S, o), p2 = RayEndModel(b, s, s.E, o);
  const Vec v1 = s.At(int64_t{p1.X} + o.X, int64_t{p1.Y} + o.Y);
  const Vec v2 = s.At(int64_t{p2.X} + o.X, int64_t{p2.Y} + o.Y);
  const Vec d{v2.X - v1.X, v2.Y - v1.Y};
  const TPixel pen = ColorToPixel(clBlack) & 0xFFFFFF, brush = ColorToPixel(clRed) & 0xFFFFFF;
  for (int y = 0; y < c.SurfH; ++y)
    for (int x = 0; x < c.SurfW; ++x) {
      const TPixel px = whole.ScanLine(y)[x];
      const TPixel rgb = px & 0xFFFFFF;
      bool keep = false;
      if (rgb == pen) {
        keep = s.Contains(x, y);
      } else if (rgb == brush && c.Kind != Shape::Arc) {
        if (c.Kind == Shape::Pie) {
          keep = s.Contains(x, y);
        } else {
          Vec v = s.At(x, y);
          keep = s.Kind == 0 || Cross(d, {v.X - v1.X, v.Y - v1.Y}) <= 0;
        }
      }
      if (keep) Out.ScanLine(y)[x] = px;
    }
  if (s.Kind == 0 || c.Kind == Shape::Arc) return;
  auto lineBothEnds = [&](TPoint A, TPoint B) {
    TPoint pts[2] = {A, B};
    C.Polyline(pts);
    if (C.Pen()->GetWidth() <= 1 && C.Pen()->GetStyle() != psClear) {
      TPoint end[2] = {B, {B.X + 1, B.Y}};
      C.Polyline(end);
    }
  };
  if (c.Kind == Shape::Pie) {
    const TPoint centre{
        static_cast<int>(std::clamp<int64_t>(FloorHalf(s.CX2) - o.X, INT_MIN, INT_MAX)),
        static_cast<int>(std::clamp<int64_t>(FloorHalf(s.CY2) - o.Y, INT_MIN, INT_MAX))};
    lineBothEnds(centre, p1);
    lineBothEnds(centre, p2);
  } else {
    lineBothEnds(p1, p2);
  }
}

void DrawLibrary(TBitmap& Out, const Case& c) {
  TCanvas C;
  Setup(C, Out, c);
  switch (c.Kind) {
    case Shape::Arc:
      C.Arc(c.X1, c.Y1, c.X2, c.Y2, c.X3, c.Y3, c.X4, c.Y4);
      break;
    case Shape::Pie:
      C.Pie(c.X1, c.Y1, c.X2, c.Y2, c.X3, c.Y3, c.X4, c.Y4);
      break;
    case Shape::Chord:
      C.Chord(c.X1, c.Y1, c.X2, c.Y2, c.X3, c.Y3, c.X4, c.Y4);
      break;
  }
}

// Returns the first differing pixel as text, or an empty string; counts drawn pixels.
std::string Compare(const Case& c, int* Drawn) {
  TBitmap model(c.SurfW, c.SurfH), lib(c.SurfW, c.SurfH);
  testing::Fill(model, clWhite);
  testing::Fill(lib, clWhite);
  DrawModel(model, c);
  DrawLibrary(lib, c);
  const TPixel white = ColorToPixel(clWhite);
  for (int y = 0; y < c.SurfH; ++y)
    for (int x = 0; x < c.SurfW; ++x) {
      if (lib.ScanLine(y)[x] != white) ++*Drawn;
      if (model.ScanLine(y)[x] != lib.ScanLine(y)[x]) {
        std::ostringstream o;
        o << Describe(c) << ": pixel " << x << "," << y << " model " << std::hex
          << model.ScanLine(y)[x] << " library " << lib.ScanLine(y)[x];
        return o.str();
      }
    }
  return {};
}

// ---------------------------------------------------------------- random cases

struct Gen {
  std::mt19937_64 R;
  int Int(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(R); }
  bool Chance(int Percent) { return Int(0, 99) < Percent; }

  // A coordinate near the surface, sometimes far away or extreme.
  int Coord(int Extent) {
    switch (Int(0, 9)) {
      case 0:
        return Int(-3, 3);
      case 1:
        return Int(-1000000, 1000000);
      case 2: {
        const int v[] = {INT_MIN, INT_MIN + 1, -1000000000, 1000000000, INT_MAX - 1, INT_MAX};
        return v[Int(0, 5)];
      }
      default:
        return Int(-Extent / 2, Extent + Extent / 2);
    }
  }

  Case Make() {
    Case c{};
    c.Kind = static_cast<Shape>(Int(0, 2));
    c.SurfW = Chance(20) ? Int(100, 260) : Int(1, 48);
    c.SurfH = Chance(20) ? Int(100, 200) : Int(1, 40);
    c.Origin = Chance(50) ? TPoint{0, 0} : TPoint{Int(-20, 20), Int(-20, 20)};
    const int ew = c.SurfW, eh = c.SurfH, ext = std::max(ew, eh);
    // The box: ordinary, tiny, huge or extreme, in either corner order.
    int x1, y1, x2, y2;
    switch (Int(0, 7)) {
      case 0:  // tiny
        x1 = Int(-4, c.SurfW + 4), y1 = Int(-4, c.SurfH + 4);
        x2 = x1 + Int(-4, 4), y2 = y1 + Int(-4, 4);
        break;
      case 1:  // huge, mostly off the surface
        x1 = Int(-5000, 0), y1 = Int(-5000, 0), x2 = Int(ext, 6000), y2 = Int(ext, 6000);
        break;
      case 2:
        x1 = Coord(ew), y1 = Coord(eh), x2 = Coord(ew), y2 = Coord(eh);
        break;
      default:  // across the surface, partly past its edges
        x1 = Int(-ew / 3, ew), y1 = Int(-eh / 3, eh);
        x2 = Int(-ew / 3, ew + ew / 3), y2 = Int(-eh / 3, eh + eh / 3);
        break;
    }
    if (Chance(50)) std::swap(x1, x2);
    if (Chance(50)) std::swap(y1, y2);
    c.X1 = x1, c.Y1 = y1, c.X2 = x2, c.Y2 = y2;
    // The radial points: anywhere, on the centre, equal, or on one line through the centre.
    const int64_t cx = (int64_t{x1} + x2) / 2, cy = (int64_t{y1} + y2) / 2;
    auto point = [&](int& X, int& Y) {
      switch (Int(0, 7)) {
        case 0:
          X = static_cast<int>(std::clamp<int64_t>(cx + Int(-1, 1), INT_MIN, INT_MAX));
          Y = static_cast<int>(std::clamp<int64_t>(cy + Int(-1, 1), INT_MIN, INT_MAX));
          break;
        case 1:
          X = Coord(ew), Y = Coord(eh);
          break;
        default:
          X = static_cast<int>(std::clamp<int64_t>(cx + Int(-ew, ew), INT_MIN, INT_MAX));
          Y = static_cast<int>(std::clamp<int64_t>(cy + Int(-eh, eh), INT_MIN, INT_MAX));
          break;
      }
    };
    point(c.X3, c.Y3);
    switch (Int(0, 5)) {
      case 0:  // the same point: a full turn
        c.X4 = c.X3, c.Y4 = c.Y3;
        break;
      case 1: {  // the same or the opposite direction: a full or a half turn
        const int64_t k = Int(-3, 3);
        c.X4 = static_cast<int>(std::clamp<int64_t>(cx + k * (c.X3 - cx), INT_MIN, INT_MAX));
        c.Y4 = static_cast<int>(std::clamp<int64_t>(cy + k * (c.Y3 - cy), INT_MIN, INT_MAX));
        break;
      }
      default:
        point(c.X4, c.Y4);
        break;
    }
    // Clips: mostly overlapping the surface, sometimes past its edges or empty.
    auto span = [&](int Extent, int& Lo, int& Hi) {
      Lo = Int(-Extent / 4, Extent - 1);
      Hi = Chance(5) ? Lo : Int(Lo + 1, Extent + Extent / 4 + 1);
    };
    c.BindClip = {0, 0, c.SurfW, c.SurfH};
    if (Chance(30)) {
      span(c.SurfW, c.BindClip.Left, c.BindClip.Right);
      span(c.SurfH, c.BindClip.Top, c.BindClip.Bottom);
    }
    c.UserClip = Chance(40);
    if (c.UserClip) {
      span(c.SurfW, c.Clip.Left, c.Clip.Right);
      span(c.SurfH, c.Clip.Top, c.Clip.Bottom);
      c.Clip.Left -= c.Origin.X, c.Clip.Right -= c.Origin.X;
      c.Clip.Top -= c.Origin.Y, c.Clip.Bottom -= c.Origin.Y;
    }
    const TPenStyle styles[] = {psSolid, psSolid, psSolid, psInsideFrame, psDash, psClear};
    c.PenStyle = styles[Int(0, 5)];
    c.PenWidth = Chance(50) ? 1 : Int(0, 9);
    c.ClearBrush = Chance(20);
    return c;
  }
};

TEST(CanvasSectorFill, MatchesThePerPixelModelOnRandomShapes) {
  Gen g{std::mt19937_64(0x5EC70Bu)};
  int64_t drawn = 0;
  int failures = 0, painted = 0;
  for (int i = 0; i < 12000 && failures < 5; ++i) {
    const Case c = g.Make();
    int n = 0;
    std::string diff = Compare(c, &n);
    drawn += n;
    painted += n > 0;
    if (!diff.empty()) {
      ADD_FAILURE() << "case " << i << ": " << diff;
      ++failures;
    }
  }
  // The cases must actually paint, or the comparison proves nothing.
  EXPECT_GT(drawn, 400000);
  EXPECT_GT(painted, 3000);
}

TEST(CanvasSectorFill, MatchesThePerPixelModelAroundTheCircle) {
  // Every start and end direction on a grid of points round a few boxes, odd and even sized,
  // so that each octant, the axes and the exact half turns are all met.
  int failures = 0;
  int64_t drawn = 0;
  const int boxes[][4] = {{2, 3, 41, 36}, {3, 3, 40, 39}, {40, 2, 1, 30}, {10, 18, 32, 19}};
  for (const auto& bx : boxes)
    for (int k = 0; k < 3 && failures < 5; ++k)
      for (int a = 0; a < 16; ++a)
        for (int e = 0; e < 16; ++e) {
          const double pa = a * M_PI / 8, pe = e * M_PI / 8 + (k == 2 ? 0.2 : 0);
          Case c{};
          c.Kind = static_cast<Shape>(k);
          c.X1 = bx[0], c.Y1 = bx[1], c.X2 = bx[2], c.Y2 = bx[3];
          const int cx = (bx[0] + bx[2]) / 2, cy = (bx[1] + bx[3]) / 2;
          c.X3 = cx + static_cast<int>(std::lround(30 * std::cos(pa)));
          c.Y3 = cy - static_cast<int>(std::lround(30 * std::sin(pa)));
          c.X4 = cx + static_cast<int>(std::lround(30 * std::cos(pe)));
          c.Y4 = cy - static_cast<int>(std::lround(30 * std::sin(pe)));
          c.SurfW = 44, c.SurfH = 42;
          c.BindClip = {0, 0, 44, 42};
          c.PenStyle = (a + e) % 3 == 0 ? psClear : psSolid;
          c.PenWidth = (a + e) % 2 ? 1 : 4;
          int n = 0;
          std::string diff = Compare(c, &n);
          drawn += n;
          if (!diff.empty()) {
            ADD_FAILURE() << diff;
            ++failures;
          }
        }
  EXPECT_GT(drawn, 100000);
}

}  // namespace
}  // namespace qel

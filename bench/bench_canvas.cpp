// Canvas hot paths side by side with their limits and peers: big fills against memset, small
// fills against pixman, lines and shapes against Cairo without antialiasing, nearest stretching
// against pixman's nearest scaling.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/graphics/Graphics.h"

#if QEL_HAVE_PIXMAN
#include <pixman.h>
#endif
#if QEL_HAVE_CAIRO
#include <cairo.h>
#endif

using namespace qel;

namespace {

constexpr int kW = 1920, kH = 1080;

void FillLargeOurs(benchmark::State& state) {
  TBitmap b(kW, kH);
  TColor colors[2] = {clRed, clBlue};
  int k = 0;
  for (auto _ : state) {
    b.Canvas()->Brush()->SetColor(colors[k++ & 1]);
    b.Canvas()->FillRect(Rect(0, 0, kW, kH));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kW} * kH * 4);
}
BENCHMARK(FillLargeOurs)->Name("fill_large/ours");

void FillLargeRef(benchmark::State& state) {
  std::vector<TPixel> px(size_t{kW} * kH);
  int k = 0;
  for (auto _ : state) {
    std::memset(px.data(), (k++ & 1) ? 0x40 : 0x80, px.size() * sizeof(TPixel));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kW} * kH * 4);
}
BENCHMARK(FillLargeRef)->Name("fill_large/ref");

// 16 x 16 rectangles over a 512 x 512 surface, 256 per iteration.
constexpr int kSmallSide = 512;

void FillSmallOurs(benchmark::State& state) {
  TBitmap b(kSmallSide, kSmallSide);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  for (auto _ : state) {
    for (int i = 0; i < 256; ++i) {
      int x = (i * 37) % (kSmallSide - 16), y = (i * 91) % (kSmallSide - 16);
      c->FillRect(Rect(x, y, x + 16, y + 16));
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FillSmallOurs)->Name("fill_small/ours");

#if QEL_HAVE_PIXMAN
void FillSmallRef(benchmark::State& state) {
  std::vector<uint32_t> px(size_t{kSmallSide} * kSmallSide, 0xFFFFFFFF);
  for (auto _ : state) {
    for (int i = 0; i < 256; ++i) {
      int x = (i * 37) % (kSmallSide - 16), y = (i * 91) % (kSmallSide - 16);
      pixman_fill(px.data(), kSmallSide, 32, x, y, 16, 16, 0x00FF0000);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FillSmallRef)->Name("fill_small/ref");
#endif

// 200-pixel lines from the centre in 32 directions: every octant, flat, steep and diagonal.
std::vector<std::pair<TPoint, TPoint>> LineSet() {
  std::vector<std::pair<TPoint, TPoint>> v;
  for (int i = 0; i < 32; ++i) {
    double a = i * 2 * M_PI / 32 + 0.1;
    v.push_back({{256, 256},
                 {256 + static_cast<int>(std::lround(200 * std::cos(a))),
                  256 + static_cast<int>(std::lround(200 * std::sin(a)))}});
  }
  return v;
}

void LinesOurs(benchmark::State& state) {
  TBitmap b(kSmallSide, kSmallSide);
  TCanvas* c = b.Canvas();
  auto lines = LineSet();
  for (auto _ : state) {
    for (auto& [p, q] : lines) {
      c->MoveTo(p.X, p.Y);
      c->LineTo(q.X, q.Y);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(LinesOurs)->Name("lines/ours");

// A star-shaped polygon of 11 points, about 300 pixels across.
std::vector<TPoint> PolygonPoints() {
  std::vector<TPoint> v;
  for (int i = 0; i < 11; ++i) {
    double a = i * 2 * M_PI / 11, r = (i % 2) ? 90 : 150;
    v.push_back({256 + static_cast<int>(std::lround(r * std::cos(a))),
                 256 + static_cast<int>(std::lround(r * std::sin(a)))});
  }
  return v;
}

void EllipseOurs(benchmark::State& state) {
  TBitmap b(kSmallSide, kSmallSide);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  for (auto _ : state) {
    c->Ellipse(56, 106, 456, 406);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(EllipseOurs)->Name("ellipse/ours");

void PolygonOurs(benchmark::State& state) {
  TBitmap b(kSmallSide, kSmallSide);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  auto pts = PolygonPoints();
  for (auto _ : state) {
    c->Polygon(pts);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PolygonOurs)->Name("polygon/ours");

// Three quarters of the same 400 x 300 ellipse, counter-clockwise from the right to the bottom:
// a sector beyond half a turn, so most rows carry two runs.
void PieOurs(benchmark::State& state) {
  TBitmap b(kSmallSide, kSmallSide);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clRed);
  for (auto _ : state) {
    c->Pie(56, 106, 456, 406, 456, 256, 256, 406);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PieOurs)->Name("pie_fill/ours");

#if QEL_HAVE_CAIRO
struct CairoTarget {
  cairo_surface_t* Surface;
  cairo_t* Cr;
  CairoTarget() {
    Surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSmallSide, kSmallSide);
    Cr = cairo_create(Surface);
    cairo_set_antialias(Cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_line_width(Cr, 1.0);
  }
  ~CairoTarget() {
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
  }
};

void LinesRef(benchmark::State& state) {
  CairoTarget t;
  auto lines = LineSet();
  cairo_set_source_rgb(t.Cr, 0, 0, 0);
  for (auto _ : state) {
    for (auto& [p, q] : lines) {
      cairo_move_to(t.Cr, p.X + 0.5, p.Y + 0.5);
      cairo_line_to(t.Cr, q.X + 0.5, q.Y + 0.5);
      cairo_stroke(t.Cr);
    }
    cairo_surface_flush(t.Surface);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(LinesRef)->Name("lines/ref");

void EllipseRef(benchmark::State& state) {
  CairoTarget t;
  for (auto _ : state) {
    cairo_save(t.Cr);
    cairo_translate(t.Cr, 256, 256);
    cairo_scale(t.Cr, 200, 150);
    cairo_arc(t.Cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(t.Cr);
    cairo_set_source_rgb(t.Cr, 1, 0, 0);
    cairo_fill_preserve(t.Cr);
    cairo_set_source_rgb(t.Cr, 0, 0, 0);
    cairo_stroke(t.Cr);
    cairo_surface_flush(t.Surface);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(EllipseRef)->Name("ellipse/ref");

void PolygonRef(benchmark::State& state) {
  CairoTarget t;
  auto pts = PolygonPoints();
  cairo_set_fill_rule(t.Cr, CAIRO_FILL_RULE_EVEN_ODD);
  for (auto _ : state) {
    cairo_move_to(t.Cr, pts[0].X + 0.5, pts[0].Y + 0.5);
    for (size_t i = 1; i < pts.size(); ++i) cairo_line_to(t.Cr, pts[i].X + 0.5, pts[i].Y + 0.5);
    cairo_close_path(t.Cr);
    cairo_set_source_rgb(t.Cr, 1, 0, 0);
    cairo_fill_preserve(t.Cr);
    cairo_set_source_rgb(t.Cr, 0, 0, 0);
    cairo_stroke(t.Cr);
    cairo_surface_flush(t.Surface);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PolygonRef)->Name("polygon/ref");

void PieRef(benchmark::State& state) {
  CairoTarget t;
  for (auto _ : state) {
    cairo_save(t.Cr);
    cairo_translate(t.Cr, 256, 256);
    cairo_scale(t.Cr, 200, 150);
    cairo_move_to(t.Cr, 0, 0);
    cairo_arc_negative(t.Cr, 0, 0, 1, 0, M_PI / 2);
    cairo_close_path(t.Cr);
    cairo_restore(t.Cr);
    cairo_set_source_rgb(t.Cr, 1, 0, 0);
    cairo_fill_preserve(t.Cr);
    cairo_set_source_rgb(t.Cr, 0, 0, 0);
    cairo_stroke(t.Cr);
    cairo_surface_flush(t.Surface);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(PieRef)->Name("pie_fill/ref");
#endif

// 312 x 432 into 50 x 70, as a thumbnail.
void FillPattern(TBitmap& B) {
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; x < B.GetWidth(); ++x)
      B.ScanLine(y)[x] = static_cast<TPixel>((x * 7919 + y * 104729) & 0xFFFFFF);
}

void StretchNearestOurs(benchmark::State& state) {
  TBitmap src(312, 432), dst(50, 70);
  FillPattern(src);
  for (auto _ : state) {
    StretchBlt(dst.Canvas(), 0, 0, 50, 70, src.Canvas(), 0, 0, 312, 432, cmSrcCopy);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(StretchNearestOurs)->Name("stretch_nearest/ours");

#if QEL_HAVE_PIXMAN
void StretchNearestRef(benchmark::State& state) {
  std::vector<uint32_t> s(312 * 432), d(50 * 70);
  for (int y = 0; y < 432; ++y)
    for (int x = 0; x < 312; ++x)
      s[y * 312 + x] = static_cast<uint32_t>((x * 7919 + y * 104729) & 0xFFFFFF);
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_x8r8g8b8, 312, 432, s.data(), 312 * 4);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, 50, 70, d.data(), 50 * 4);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(312.0 / 50),
                              pixman_double_to_fixed(432.0 / 70));
  pixman_image_set_transform(src, &t);
  pixman_image_set_filter(src, PIXMAN_FILTER_NEAREST, nullptr, 0);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, src, nullptr, dst, 0, 0, 0, 0, 0, 0, 50, 70);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(src);
  pixman_image_unref(dst);
}
BENCHMARK(StretchNearestRef)->Name("stretch_nearest/ref");
#endif

void StretchHalftone(benchmark::State& state) {
  TBitmap src(312, 432), dst(50, 70);
  FillPattern(src);
  dst.Canvas()->SetStretchBltMode(HALFTONE);
  for (auto _ : state) {
    StretchBlt(dst.Canvas(), 0, 0, 50, 70, src.Canvas(), 0, 0, 312, 432, cmSrcCopy);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(StretchHalftone)->Name("stretch_halftone");

}  // namespace

BENCHMARK_MAIN();

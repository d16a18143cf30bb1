// Scrolling a thumbnail strip of 100,000 slides by one page and repainting it, against the same
// on a strip of 10 slides (RATIO thumbnails_scroll; the goal is 1.2 or less). Both strips show
// the same slides per view and the host draws each picture on request, as the gallery page
// does, so any cost that grows with the number of slides shows as a ratio above 1.
#include <benchmark/benchmark.h>

#include <string>

#include "selectors/QEL_Thumbnails.h"

namespace {

// The host's picture for a slide: a colour field, a diagonal and the number.
void DrawPicture(int Id, qel::TBitmap* B) {
  B->SetSize(96, 64);
  qel::TCanvas* c = B->Canvas();
  c->Brush()->SetColor(static_cast<qel::TColor>(0x204080 + (Id % 64) * 0x020301));
  c->FillRect(qel::Rect(0, 0, 96, 64));
  c->Pen()->SetColor(qel::clWhite);
  c->MoveTo(0, 63);
  c->LineTo(96, 0);
  c->Brush()->SetStyle(qel::bsClear);
  c->TextOut(4, 2, std::to_string(Id));
  c->Brush()->SetStyle(qel::bsSolid);
}

// One column, three rows painted (2.9 in view): a page is two rows. The 10-slide strip walks
// 1, 3, 5, 7 and back, so every view is full as on the long strip.
void Scroll(benchmark::State& State, int Slides) {
  qel::TThumbnails t(nullptr);
  t.SetBounds(0, 0, 260, 400);
  t.SetFMax(Slides);
  int asked = 0;
  t.OnImageRequest = [&asked](qel::TObject*, int Id, qel::TImageRequestProcessing& How, int&,
                              qel::TBitmap* B) {
    How = qel::irpShowSlide;
    DrawPicture(Id, B);
    ++asked;
  };
  qel::TBitmap target(260, 400);
  const int page = (400 - 2 * qel::TThumbnails::kEdge) / t.Pitch();
  const int last = Slides - 2;  // the last first slide that still fills the view
  int first = Slides > 1000 ? Slides / 2 : 1;
  for (auto _ : State) {
    first = first + page > last ? 1 : first + page;
    t.SetFirstThumbIx(first);
    t.PaintTo(&target);
    benchmark::DoNotOptimize(target.ScanLine(200));
  }
  State.counters["requests_per_paint"] =
      State.iterations() ? static_cast<double>(asked) / static_cast<double>(State.iterations()) : 0;
}

void BM_Long(benchmark::State& State) { Scroll(State, 100000); }
void BM_Short(benchmark::State& State) { Scroll(State, 10); }

}  // namespace

BENCHMARK(BM_Long)->Name("thumbnails_scroll/ours")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Short)->Name("thumbnails_scroll/ref")->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

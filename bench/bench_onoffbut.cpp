// A full repaint of an on/off button (image and mask, four texts, the glyph with its
// see-through pixels, the frame) into a bitmap through PaintTo, opaque and transparent over a
// panel, against the 60 Hz frame budget. Each benchmark reports ratio_value = processor time of
// the painting thread per repaint / 16.7 ms and ratio_wall, the same with elapsed time.
#include <benchmark/benchmark.h>

#include "bench/FrameBudget.h"

#include "indicators/QEL_onoffbut.h"
#include "platform/widgets/ExtCtrls.h"

namespace {

void PaintButton(benchmark::State& State, bool Transparent) {
  qel::TPanel panel(nullptr);
  panel.SetBounds(0, 0, 160, 100);
  auto* b = new qel::TOnOffBut(&panel);
  b->SetParent(&panel);
  b->SetBounds(0, 0, 160, 100);
  b->SetButStyle(qel::oobsBulb);
  b->SetLeftText("Left");
  b->SetRightText("Right");
  b->SetTopText("Top");
  b->SetBottomText("Bottom");
  b->SetTransparent(Transparent);
  qel::TBitmap target(160, 100);
  qel::bench::FrameBudgetLoop(
      State, [&] {
        // The state flips every frame, as it does under a blinking lamp.
        on = !on;
        b->SetOnOff(on);
      },
      [&] {
        panel.PaintTo(&target);
        benchmark::DoNotOptimize(target.ScanLine(50));
      });
}

void BM_OnOffPaintOpaque(benchmark::State& State) { PaintButton(State, false); }
void BM_OnOffPaintTransparent(benchmark::State& State) { PaintButton(State, true); }

}  // namespace

BENCHMARK(BM_OnOffPaintOpaque)->Name("onoffbut_paint_160x100")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnOffPaintTransparent)
    ->Name("onoffbut_paint_transparent_160x100")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

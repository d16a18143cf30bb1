// Text drawing from the glyph cache against rendering the same glyphs with FreeType each time.
//  text_cached/ours: TCanvas::TextOut of a 40-character string, glyphs from the cache.
//  text_cached/ref:  FT_Load_Char + FT_Render_Glyph for the same 40 characters, no cache (and
//                    no compositing, so the reference is the cheaper side of the comparison).
#include <benchmark/benchmark.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/graphics/FontEngine.h"
#include "platform/graphics/Graphics.h"

namespace {

const std::string kText = "The quick brown fox jumps over 1234567.8";  // 40 characters

// The file fontconfig gives for Liberation Sans, the face the default font resolves to.
std::string LiberationSansFile() {
  std::string file;
  FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:style=Regular"));
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult res;
  if (FcPattern* m = FcFontMatch(nullptr, pat, &res)) {
    FcChar8* f = nullptr;
    if (FcPatternGetString(m, FC_FILE, 0, &f) == FcResultMatch) file = reinterpret_cast<char*>(f);
    FcPatternDestroy(m);
  }
  FcPatternDestroy(pat);
  return file;
}

void TextCachedOurs(benchmark::State& state) {
  qel::TBitmap b(320, 20);
  qel::TCanvas* c = b.Canvas();
  c->Brush()->SetStyle(qel::bsClear);
  c->TextOut(0, 0, kText);  // warm the cache
  for (auto _ : state) {
    c->TextOut(0, 0, kText);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
}

void TextCachedRef(benchmark::State& state) {
  FT_Library lib;
  FT_Init_FreeType(&lib);
  FT_Face face = nullptr;
  const std::string file = LiberationSansFile();
  if (FT_New_Face(lib, file.c_str(), 0, &face) != 0) {
    state.SkipWithError("Liberation Sans not found");
    FT_Done_FreeType(lib);
    return;
  }
  FT_Set_Pixel_Sizes(face, 0, 11);
  for (auto _ : state) {
    int sum = 0;
    for (char ch : kText) {
      FT_Load_Char(face, static_cast<unsigned char>(ch), FT_LOAD_DEFAULT);
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
      sum += face->glyph->bitmap.width;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kText.size()));
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
}

}  // namespace

BENCHMARK(TextCachedOurs)->Name("text_cached/ours");
BENCHMARK(TextCachedRef)->Name("text_cached/ref");

BENCHMARK_MAIN();

#include "platform/graphics/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

// The classic GUI faces were designed narrower than what fontconfig would pick for them
// (DejaVu Sans); layouts measured with them only fit in a metric-compatible sans.
struct TAlias {
  const char* Name;
  const char* Family;
};
constexpr TAlias kAliases[] = {
    {"ms sans serif", "Liberation Sans"},
    {"microsoft sans serif", "Liberation Sans"},
    {"ms shell dlg", "Liberation Sans"},
    {"ms shell dlg 2", "Liberation Sans"},
    {"tahoma", "Liberation Sans"},
    {"segoe ui", "Liberation Sans"},
    {"default", "Liberation Sans"},
    {"system", "Liberation Sans"},
    {"", "Liberation Sans"},
};

// Heights beyond this many pixels per em are clamped: glyph bitmaps grow with the square.
constexpr int kMaxEm = 600;
// The em of the default font, used for a height of 0.
constexpr int kDefaultEm = 11;

// The built-in 5x7 font (cell 6x8): seven rows per character, bit 4 is the leftmost column.
constexpr uint8_t kBuiltInGlyphs[95][7] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // space
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04},  // !
    {0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00},  // "
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A},  // #
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04},  // $
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03},  // %
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D},  // &
    {0x04, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00},  // '
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02},  // (
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08},  // )
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00},  // *
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00},  // +
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08},  // ,
    {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00},  // -
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C},  // .
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00},  // /
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},  // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},  // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},  // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},  // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},  // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},  // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},  // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},  // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},  // 9
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00},  // :
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08},  // ;
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02},  // <
    {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00},  // =
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08},  // >
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04},  // ?
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E},  // @
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E},  // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E},  // C
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C},  // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F},  // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10},  // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F},  // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11},  // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E},  // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},  // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11},  // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F},  // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11},  // M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},  // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10},  // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D},  // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11},  // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E},  // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},  // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E},  // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04},  // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A},  // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11},  // X
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04},  // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F},  // Z
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E},  // [
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00},  // backslash
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E},  // ]
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00},  // ^
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F},  // _
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00},  // `
    {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F},  // a
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E},  // b
    {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E},  // c
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F},  // d
    {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E},  // e
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08},  // f
    {0x00, 0x0F, 0x11, 0x11, 0x0F, 0x01, 0x0E},  // g
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11},  // h
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E},  // i
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C},  // j
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12},  // k
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E},  // l
    {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11},  // m
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11},  // n
    {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E},  // o
    {0x00, 0x00, 0x1E, 0x11, 0x1E, 0x10, 0x10},  // p
    {0x00, 0x00, 0x0D, 0x13, 0x0F, 0x01, 0x01},  // q
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10},  // r
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E},  // s
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06},  // t
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D},  // u
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04},  // v
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A},  // w
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11},  // x
    {0x00, 0x00, 0x11, 0x11, 0x0F, 0x01, 0x0E},  // y
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F},  // z
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02},  // {
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},  // |
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08},  // }
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00},  // ~
};
constexpr uint8_t kBuiltInBox[7] = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F};

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return r;
}

std::string Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

int CeilDiv(int64_t a, int64_t b) { return static_cast<int>((a + b - 1) / b); }

}  // namespace

char32_t NextCodePoint(std::string_view S, size_t& Pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(S[i]); };
  unsigned char c = byte(Pos);
  if (c < 0x80) {
    ++Pos;
    return c;
  }
  int len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((c & 0xE0) == 0xC0) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    ++Pos;
    return 0xFFFD;
  }
  if (Pos + len > S.size()) {
    ++Pos;
    return 0xFFFD;
  }
  for (int i = 1; i < len; ++i) {
    unsigned char t = byte(Pos + i);
    if ((t & 0xC0) != 0x80) {
      ++Pos;
      return 0xFFFD;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++Pos;
    return 0xFFFD;
  }
  Pos += len;
  return cp;
}

// ---------------------------------------------------------------- TFontInstance

TFontInstance::~TFontInstance() {
  if (FFace) FT_Done_Face(static_cast<FT_Face>(FFace));
}

const TGlyph& TFontInstance::Glyph(char32_t Code) {
  if (Code < 256) {
    std::unique_ptr<TGlyph>& slot = FLow[Code];
    if (!slot) {
      slot = Render(Code);
      ++FGlyphCount;
    }
    return *slot;
  }
  auto it = FHigh.find(Code);
  if (it != FHigh.end()) {
    if (it->second != FLru.begin()) FLru.splice(FLru.begin(), FLru, it->second);
    return *FLru.front().second;
  }
  if (FHigh.size() >= TFontEngine::kMaxHighGlyphs) {
    FHigh.erase(FLru.back().first);
    FLru.pop_back();
    --FGlyphCount;
  }
  FLru.emplace_front(Code, Render(Code));
  FHigh.emplace(Code, FLru.begin());
  ++FGlyphCount;
  return *FLru.front().second;
}

// Bitmap glyphs (the built-in font, fonts without outlines) are turned by sampling: each target
// pixel centre maps back into the upright glyph.
void TFontInstance::RotateCoverage(TGlyph& G) const {
  if (FOrientation == 0 || G.Width == 0 || G.Height == 0) return;
  const double c = FCos, s = FSin;
  // Upright pixel area relative to the pen: x in [L, L+W), y in [-T, -T+H) (y down).
  const double x0 = G.Left, y0 = -G.Top, x1 = G.Left + G.Width, y1 = -G.Top + G.Height;
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (double x : {x0, x1})
    for (double y : {y0, y1}) {
      // Counter-clockwise on screen with y down.
      double rx = x * c + y * s, ry = -x * s + y * c;
      minX = std::min(minX, rx), maxX = std::max(maxX, rx);
      minY = std::min(minY, ry), maxY = std::max(maxY, ry);
    }
  const int l = static_cast<int>(std::floor(minX)), t = static_cast<int>(std::floor(minY));
  const int w = static_cast<int>(std::ceil(maxX)) - l, h = static_cast<int>(std::ceil(maxY)) - t;
  std::vector<uint8_t> out(static_cast<size_t>(w) * h, 0);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      double px = l + i + 0.5, py = t + j + 0.5;
      double ux = px * c - py * s, uy = px * s + py * c;
      int si = static_cast<int>(std::floor(ux - x0)), sj = static_cast<int>(std::floor(uy - y0));
      if (si >= 0 && si < G.Width && sj >= 0 && sj < G.Height)
        out[static_cast<size_t>(j) * w + i] = G.Coverage[static_cast<size_t>(sj) * G.Width + si];
    }
  G.Left = l;
  G.Top = -t;
  G.Width = w;
  G.Height = h;
  G.Coverage = std::move(out);
}

std::unique_ptr<TGlyph> TFontInstance::RenderBuiltIn(char32_t Code) {
  auto g = std::make_unique<TGlyph>();
  const int s = FBuiltInScale;
  const uint8_t* rows = (Code >= 32 && Code < 127) ? kBuiltInGlyphs[Code - 32] : kBuiltInBox;
  g->Advance = 6 * s;
  if (Code != ' ') {
    g->Left = 0;
    g->Top = 7 * s;
    g->Width = 5 * s;
    g->Height = 7 * s;
    g->Coverage.assign(static_cast<size_t>(g->Width) * g->Height, 0);
    for (int y = 0; y < g->Height; ++y)
      for (int x = 0; x < g->Width; ++x)
        if (rows[y / s] & (0x10 >> (x / s)))
          g->Coverage[static_cast<size_t>(y) * g->Width + x] = 255;
    if (FKey.Style & (uint64_t{1} << fsBold)) {
      // Smear one pixel to the right, as the classic synthetic bold does.
      for (int y = 0; y < g->Height; ++y)
        for (int x = g->Width - 1; x > 0; --x)
          g->Coverage[y * g->Width + x] |= g->Coverage[y * g->Width + x - 1];
    }
    RotateCoverage(*g);
  }
  g->AdvanceX = static_cast<int64_t>(std::llround(g->Advance * 64.0 * FCos));
  g->AdvanceY = static_cast<int64_t>(std::llround(-g->Advance * 64.0 * FSin));
  return g;
}

std::unique_ptr<TGlyph> TFontInstance::Render(char32_t Code) {
  if (FBuiltInScale > 0 || !FFace) return RenderBuiltIn(Code);
  auto g = std::make_unique<TGlyph>();
  FT_Face face = static_cast<FT_Face>(FFace);
  FT_UInt index = FT_Get_Char_Index(face, Code);
  if (index == 0 && Code != 0xFFFD) index = FT_Get_Char_Index(face, 0xFFFD);
  const FT_Int32 target = FKey.Plain ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL;
  FT_Error err = FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | target);
  if (err) err = FT_Load_Glyph(face, index, target);
  if (err) return RenderBuiltIn(Code);
  FT_GlyphSlot slot = face->glyph;
  int advance = static_cast<int>((slot->advance.x + 32) >> 6);
  const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
  if (outline) {
    if (FEmbolden) {
      // Synthetic bold widens by about a twenty-fourth of the em, at least a pixel.
      FT_Pos strength = std::max<FT_Pos>(64, face->size->metrics.x_ppem * 64 / 24);
      strength = (strength + 32) & ~63;
      FT_Outline_EmboldenXY(&slot->outline, strength, 0);
      advance += static_cast<int>(strength >> 6);
    }
    if (FOblique) {
      FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};  // x += 0.2126 y
      FT_Outline_Transform(&slot->outline, &shear);
    }
    if (FOrientation != 0) {
      FT_Matrix rot{static_cast<FT_Fixed>(std::lround(FCos * 65536)),
                    static_cast<FT_Fixed>(std::lround(-FSin * 65536)),
                    static_cast<FT_Fixed>(std::lround(FSin * 65536)),
                    static_cast<FT_Fixed>(std::lround(FCos * 65536))};
      FT_Outline_Transform(&slot->outline, &rot);
    }
  }
  if (FT_Render_Glyph(slot, FKey.Plain ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0) {
    const FT_Bitmap& bm = slot->bitmap;
    g->Left = slot->bitmap_left;
    g->Top = slot->bitmap_top;
    g->Width = static_cast<int>(bm.width);
    g->Height = static_cast<int>(bm.rows);
    g->Coverage.assign(static_cast<size_t>(g->Width) * g->Height, 0);
    for (int y = 0; y < g->Height; ++y) {
      const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
      uint8_t* dst = g->Coverage.data() + static_cast<size_t>(y) * g->Width;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        for (int x = 0; x < g->Width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
        const unsigned levels = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
        for (int x = 0; x < g->Width; ++x)
          dst[x] = levels == 255 ? src[x] : static_cast<uint8_t>(src[x] * 255u / levels);
      }
    }
    if (!outline) RotateCoverage(*g);
  }
  g->Advance = advance;
  g->AdvanceX = static_cast<int64_t>(std::llround(advance * 64.0 * FCos));
  g->AdvanceY = static_cast<int64_t>(std::llround(-advance * 64.0 * FSin));
  return g;
}

// ---------------------------------------------------------------- TFontEngine

TFontEngine& TFontEngine::Instance() {
  static TFontEngine engine;
  return engine;
}

TFontEngine::TFontEngine() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) == 0) {
    FLibrary = lib;
    // The fonts' own TrueType instructions in both directions give the crisp stems GUI text at
    // 8 pt needs; the newer interpreter hints vertically only and leaves stems blurred.
    FT_UInt version = TT_INTERPRETER_VERSION_35;
    FT_Property_Set(lib, "truetype", "interpreter-version", &version);
  }
}

TFontEngine::~TFontEngine() {
  FInstances.clear();
  if (FLibrary) FT_Done_FreeType(static_cast<FT_Library>(FLibrary));
  // Returns fontconfig's configuration and caches, so leak checkers see a clean exit.
  if (FFontconfigReady) FcFini();
}

void TFontEngine::ClearCache() {
  FInstances.clear();
  FResolved.clear();
}

void TFontEngine::SetUseSystemFonts(bool Value) {
  if (Value == FUseSystemFonts) return;
  FUseSystemFonts = Value;
  ClearCache();
}

std::string TFontEngine::AliasOf(const std::string& Name) {
  const std::string key = Lower(Trimmed(Name));
  for (const TAlias& a : kAliases)
    if (key == a.Name) return a.Family;
  return Name;
}

bool TFontEngine::Resolve(const std::string& Name, bool Bold, bool Italic, TResolved& Out) {
  const std::string cacheKey = Lower(Name) + (Bold ? "|b" : "|") + (Italic ? "i" : "");
  if (auto it = FResolved.find(cacheKey); it != FResolved.end()) {
    Out = it->second;
    return !Out.File.empty();
  }
  if (!FFontconfigReady) FFontconfigReady = FcInit() == FcTrue;
  TResolved r;
  if (FFontconfigReady) {
    const std::string family = AliasOf(Name);
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &res);
    if (match) {
      FcChar8* file = nullptr;
      FcChar8* fam = nullptr;
      int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
      if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        r.File = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        if (FcPatternGetString(match, FC_FAMILY, 0, &fam) == FcResultMatch && fam)
          r.Family = reinterpret_cast<const char*>(fam);
        r.Index = index;
        r.Bold = weight >= FC_WEIGHT_DEMIBOLD;
        r.Italic = slant != FC_SLANT_ROMAN;
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
  }
  FResolved[cacheKey] = r;
  Out = r;
  return !r.File.empty();
}

std::string TFontEngine::ResolveFamily(const std::string& Name) {
  TFontKey key;
  key.Name = Name;
  key.Height = -kDefaultEm;
  return Get(key).FamilyName();
}

TFontInstance& TFontEngine::Get(const TFont& Font) {
  TFontKey key;
  key.Name = Font.GetName();
  key.Height = Font.GetHeight();
  key.Style = Font.GetStyle().Bits();
  key.Orientation = ((Font.GetOrientation() % 3600) + 3600) % 3600;
  key.Plain = Font.GetQuality() == fqDraft || Font.GetQuality() == fqNonAntialiased;
  return Get(key);
}

TFontInstance& TFontEngine::Get(const TFontKey& Key) {
  for (auto it = FInstances.begin(); it != FInstances.end(); ++it) {
    if (it->first == Key) {
      if (it != FInstances.begin()) FInstances.splice(FInstances.begin(), FInstances, it);
      return *FInstances.front().second;
    }
  }
  if (FInstances.size() >= kMaxInstances) FInstances.pop_back();
  FInstances.emplace_front(Key, Create(Key));
  return *FInstances.front().second;
}

std::unique_ptr<TFontInstance> TFontEngine::Create(const TFontKey& Key) {
  std::unique_ptr<TFontInstance> f(new TFontInstance);
  f->FKey = Key;
  f->FOrientation = ((Key.Orientation % 3600) + 3600) % 3600;
  const double a = f->FOrientation * std::numbers::pi / 1800.0;
  f->FCos = std::cos(a);
  f->FSin = std::sin(a);
  // Exact quarter turns keep glyphs on the pixel grid.
  if (f->FOrientation % 900 == 0) {
    f->FCos = std::round(f->FCos);
    f->FSin = std::round(f->FSin);
  }
  const bool bold = (Key.Style & (uint64_t{1} << fsBold)) != 0;
  const bool italic = (Key.Style & (uint64_t{1} << fsItalic)) != 0;
  bool ok = false;
  if (FUseSystemFonts && FLibrary) {
    TResolved r;
    if (Resolve(Key.Name, bold, italic, r)) ok = SetupFace(*f, r);
    // The family may be gone or unreadable: take whatever sans fontconfig has.
    if (!ok && Resolve("sans-serif", bold, italic, r)) ok = SetupFace(*f, r);
  }
  if (!ok) SetupBuiltIn(*f);
  return f;
}

bool TFontEngine::SetupFace(TFontInstance& F, const TResolved& R) {
  FT_Face face = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(FLibrary), R.File.c_str(), R.Index, &face) != 0)
    return false;
  const bool bold = (F.FKey.Style & (uint64_t{1} << fsBold)) != 0;
  const bool italic = (F.FKey.Style & (uint64_t{1} << fsItalic)) != 0;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return false;
  }
  const int upem = face->units_per_EM;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  int asc = face->ascender, desc = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    asc = os2->usWinAscent;
    desc = os2->usWinDescent;
  }
  asc = std::max(asc, 1);
  desc = std::max(desc, 0);
  // Negative heights give the em, positive ones the whole cell, as the classic font mapper.
  int em = kDefaultEm;
  const int h = F.FKey.Height;
  if (h < 0) {
    em = h == std::numeric_limits<int>::min() ? kMaxEm : -h;
  } else if (h > 0) {
    em = std::max(1, static_cast<int>(static_cast<int64_t>(h) * upem / (asc + desc)));
    while (em > 1 && CeilDiv(int64_t{asc} * std::min(em, kMaxEm), upem) +
                             CeilDiv(int64_t{desc} * std::min(em, kMaxEm), upem) >
                         h)
      --em;
  }
  em = std::clamp(em, 1, kMaxEm);
  if (FT_Set_Pixel_Sizes(face, 0, em) != 0) {
    FT_Done_Face(face);
    return false;
  }
  TFontMetrics& m = F.FMetrics;
  m.Ascent = CeilDiv(int64_t{asc} * em, upem);
  m.Descent = CeilDiv(int64_t{desc} * em, upem);
  m.Height = m.Ascent + m.Descent;
  m.InternalLeading = std::max(0, m.Height - em);
  const double scale = static_cast<double>(em) / upem;
  if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
    m.AveCharWidth = std::max(1, RoundToInt(os2->xAvgCharWidth * scale));
  m.MaxCharWidth = std::max(1, CeilDiv(int64_t{face->max_advance_width} * em, upem));
  const double ulPos =
      face->underline_position != 0 ? -face->underline_position * scale : em / 10.0;
  m.UnderlineSize = std::max(1, RoundToInt(face->underline_thickness * scale));
  // At least one row of space between the baseline and the line when the descent allows it,
  // so the line does not merge with the letters at small sizes.
  const int ulMin = m.Ascent + (m.Descent >= m.UnderlineSize + 2 ? 1 : 0);
  m.UnderlineTop = std::clamp(m.Ascent + RoundToInt(ulPos - m.UnderlineSize / 2.0), ulMin,
                              std::max(ulMin, m.Height - m.UnderlineSize));
  double soPos = em * 0.26, soSize = m.UnderlineSize;
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    soPos = os2->yStrikeoutPosition * scale;
    soSize = os2->yStrikeoutSize * scale;
  }
  m.StrikeOutSize = std::max(1, RoundToInt(soSize));
  m.StrikeOutTop = std::clamp(RoundToInt(m.Ascent - soPos - m.StrikeOutSize / 2.0), 0,
                              std::max(0, m.Ascent - m.StrikeOutSize));
  F.FFace = face;
  F.FFamily = R.Family.empty() ? std::string(face->family_name ? face->family_name : "") : R.Family;
  F.FEmbolden = bold && !R.Bold;
  F.FOblique = italic && !R.Italic;
  if (m.AveCharWidth == 0) m.AveCharWidth = std::max(1, F.Advance('x'));
  if (F.FEmbolden) m.MaxCharWidth += std::max(1, em / 24);
  return true;
}

void TFontEngine::SetupBuiltIn(TFontInstance& F) {
  if (F.FFace) {
    FT_Done_Face(static_cast<FT_Face>(F.FFace));
    F.FFace = nullptr;
  }
  const int h = F.FKey.Height;
  int em = h < 0   ? (h == std::numeric_limits<int>::min() ? kMaxEm : -h)
           : h > 0 ? h * 7 / 8
                   : kDefaultEm;
  em = std::clamp(em, 1, kMaxEm);
  const int s = std::max(1, RoundToInt(em / 7.0));
  F.FBuiltInScale = s;
  F.FFamily = "Built-in";
  TFontMetrics& m = F.FMetrics;
  m.Ascent = 7 * s;
  m.Descent = s;
  m.Height = 8 * s;
  m.InternalLeading = 0;
  m.AveCharWidth = 6 * s;
  m.MaxCharWidth = 6 * s;
  m.UnderlineTop = 7 * s;
  m.UnderlineSize = s;
  m.StrikeOutTop = 4 * s;
  m.StrikeOutSize = s;
}

}  // namespace qel

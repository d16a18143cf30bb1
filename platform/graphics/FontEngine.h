#pragma once
// The font engine behind TCanvas text: resolves a TFont to a face on disk (our alias table for
// the classic GUI faces first, then fontconfig), renders glyphs with FreeType and caches them per
// face, size, style, rotation and quality. One engine serves the process (an application
// service, used from the UI thread only). With no usable font at all a small built-in bitmap font
// takes over, so text never fails to draw.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace qel {

// One rendered glyph: 8-bit coverage (0 = none, 255 = full), placed relative to the pen
// position on the baseline (surface y grows downwards: row 0 lies at pen.y - Top).
struct TGlyph {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Coverage;  // Width * Height, row by row
  // The advance in 1/64 pixel along the (possibly rotated) text direction, y downwards.
  int64_t AdvanceX = 0;
  int64_t AdvanceY = 0;
  // The advance of the unrotated glyph in whole pixels (what TextWidth adds up).
  int Advance = 0;
};

// Metrics of a realised font in pixels, as the classic text metrics report them.
struct TFontMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // Ascent + Descent: the text cell
  int InternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  // Rows below the top of the cell where the lines start, and their thickness.
  int UnderlineTop = 0;
  int UnderlineSize = 1;
  int StrikeOutTop = 0;
  int StrikeOutSize = 1;
};

// What identifies a realised font; the glyph cache is kept per key.
struct TFontKey {
  std::string Name;
  int Height = 0;
  uint64_t Style = 0;   // TFontStyles bits
  int Orientation = 0;  // tenths of a degree, normalised to 0..3599
  bool Plain = false;   // monochrome rendering
  bool operator==(const TFontKey&) const = default;
};

class TFontFace;

// A font realised at one size, style, rotation and quality, with its glyph cache.
class TFontInstance {
 public:
  ~TFontInstance();
  const TFontMetrics& Metrics() const { return FMetrics; }
  // The glyph of a code point; the replacement glyph stands in for what the face lacks.
  const TGlyph& Glyph(char32_t Code);
  // The advance in whole pixels of the unrotated glyph.
  int Advance(char32_t Code) { return Glyph(Code).Advance; }
  // Text direction as a unit vector in surface coordinates (y down).
  double DirX() const { return FCos; }
  double DirY() const { return -FSin; }
  bool Rotated() const { return FOrientation != 0; }
  bool Plain() const { return FKey.Plain; }
  const std::string& FamilyName() const { return FFamily; }
  bool IsBuiltIn() const { return FBuiltInScale > 0; }
  // How many glyphs the cache holds now (for tests of the bound).
  size_t CachedGlyphs() const { return FGlyphCount; }

 private:
  friend class TFontEngine;
  TFontInstance() = default;
  std::unique_ptr<TGlyph> Render(char32_t Code);
  std::unique_ptr<TGlyph> RenderBuiltIn(char32_t Code);
  void RotateCoverage(TGlyph& G) const;

  TFontKey FKey;
  TFontMetrics FMetrics;
  std::string FFamily;
  void* FFace = nullptr;  // FT_Face, owned
  bool FEmbolden = false;
  bool FOblique = false;
  int FBuiltInScale = 0;  // > 0 when the built-in bitmap font stands in
  int FOrientation = 0;
  double FCos = 1, FSin = 0;

  // Latin-1 glyphs stay for the life of the instance; the rest are kept most-recently-used
  // first and the least recently used leaves when the cache is full.
  std::unique_ptr<TGlyph> FLow[256];
  using TLru = std::list<std::pair<char32_t, std::unique_ptr<TGlyph>>>;
  TLru FLru;
  std::unordered_map<char32_t, TLru::iterator> FHigh;
  size_t FGlyphCount = 0;
};

class TFontEngine {
 public:
  static constexpr size_t kMaxInstances = 48;
  static constexpr size_t kMaxHighGlyphs = 1024;  // per instance, beyond Latin-1

  static TFontEngine& Instance();
  ~TFontEngine();

  // The realised font for a TFont (cached; the pointer stays valid until the next call).
  TFontInstance& Get(const TFont& Font);
  TFontInstance& Get(const TFontKey& Key);

  // The family that a requested name resolves to ("Liberation Sans" for "MS Sans Serif").
  std::string ResolveFamily(const std::string& Name);
  // The first name of our alias table for Name, or Name itself when it has no alias.
  static std::string AliasOf(const std::string& Name);

  // With false every font resolves to the built-in bitmap font; tests use it to exercise the
  // last fallback. Clears the caches.
  void SetUseSystemFonts(bool Value);
  bool GetUseSystemFonts() const { return FUseSystemFonts; }
  void ClearCache();

 private:
  TFontEngine();
  struct TResolved {
    std::string File;
    int Index = 0;
    std::string Family;
    bool Bold = false;
    bool Italic = false;
  };
  bool Resolve(const std::string& Name, bool Bold, bool Italic, TResolved& Out);
  std::unique_ptr<TFontInstance> Create(const TFontKey& Key);
  bool SetupFace(TFontInstance& F, const TResolved& R);
  void SetupBuiltIn(TFontInstance& F);

  void* FLibrary = nullptr;  // FT_Library
  bool FUseSystemFonts = true;
  bool FFontconfigReady = false;
  std::list<std::pair<TFontKey, std::unique_ptr<TFontInstance>>> FInstances;  // MRU first
  std::unordered_map<std::string, TResolved> FResolved;
};

// Decodes one UTF-8 sequence at S[Pos] and moves Pos past it. Invalid, overlong, surrogate or
// truncated sequences yield U+FFFD and consume one byte.
char32_t NextCodePoint(std::string_view S, size_t& Pos);

}  // namespace qel

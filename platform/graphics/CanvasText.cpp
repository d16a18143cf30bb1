// Text on the canvas: TextOut, TextRect, the measuring calls and DrawText. Glyph coverage from
// the font engine is blended onto the surface with the font colour, clipped once per glyph to
// the effective clip of the canvas.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/graphics/FontEngine.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

// One character of a laid-out run: its code point, the advance it takes (tabs may be wider
// than their glyph) and whether it is underlined by a "&" prefix.
struct TRunChar {
  char32_t Code;
  int Advance;
  bool Underline;
};
using TRun = std::vector<TRunChar>;

int SatAdd(int a, int64_t b) {
  return static_cast<int>(
      std::clamp<int64_t>(a + b, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Offsets without overflow: callers may pass any coordinates.
TRect SatOffset(const TRect& R, int Dx, int Dy) {
  return {SatAdd(R.Left, Dx), SatAdd(R.Top, Dy), SatAdd(R.Right, Dx), SatAdd(R.Bottom, Dy)};
}

// Rotated geometry is computed in doubles; far-off coordinates are pulled into a range where
// the integer arithmetic that follows cannot overflow (nothing there is visible anyway).
int ClampCoord(double v) { return TruncToInt(std::clamp(v, -1e9, 1e9)); }

// Linear blend of two pixels by an 8-bit coverage, red and blue side by side in one word; the
// rounding is exactly that of (x + 127) / 255 per channel.
inline uint32_t Blend(uint32_t d, uint32_t s, uint32_t c) {
  const uint32_t ic = 255 - c;
  uint32_t rb = (d & 0xFF00FF) * ic + (s & 0xFF00FF) * c + 0x800080;
  rb = ((rb + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  uint32_t g = (d & 0xFF00) * ic + (s & 0xFF00) * c + 0x8000;
  g = ((g + ((g >> 8) & 0xFF00)) >> 8) & 0xFF00;
  return rb | g;
}

void FillSurface(const TSurface& S, const TRect& Clip, TRect R, TPixel P) {
  R = IntersectRect(R, Clip);
  for (int y = R.Top; y < R.Bottom; ++y) std::fill(S.Row(y) + R.Left, S.Row(y) + R.Right, P);
}

// Composites a glyph whose top-left pixel lands at (X, Y) in surface coordinates.
void BlitGlyph(const TSurface& S, const TRect& Clip, int64_t X, int64_t Y, const TGlyph& G,
               TPixel Color) {
  if (G.Width == 0 || G.Height == 0) return;
  const int64_t x0 = std::max<int64_t>(X, Clip.Left),
                x1 = std::min<int64_t>(X + G.Width, Clip.Right);
  const int64_t y0 = std::max<int64_t>(Y, Clip.Top),
                y1 = std::min<int64_t>(Y + G.Height, Clip.Bottom);
  if (x0 >= x1 || y0 >= y1) return;
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* cov = G.Coverage.data() + (y - Y) * G.Width + (x0 - X);
    TPixel* row = S.Row(static_cast<int>(y));
    for (int64_t x = x0; x < x1; ++x, ++cov) {
      const uint32_t c = *cov;
      if (c == 0) continue;
      row[x] = c == 255 ? Color : Blend(row[x], Color, c);
    }
  }
}

// Fills the pixels whose centres lie in the band A0 <= a < A1, B0 <= b < B1, where a runs along
// (Dx, Dy) and b along the perpendicular "down" direction from (Ox, Oy): the rotated cell, its
// underline and strike-out. Quarter turns give exact pixel rectangles.
TRect FillBand(const TSurface& S, const TRect& Clip, double Ox, double Oy, double Dx, double Dy,
               double A0, double A1, double B0, double B1, TPixel P, bool Paint) {
  const double nx = -Dy, ny = Dx;  // down: the text direction turned clockwise on screen
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  for (double a : {A0, A1})
    for (double b : {B0, B1}) {
      const double x = Ox + a * Dx + b * nx, y = Oy + a * Dy + b * ny;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  TRect box{ClampCoord(std::floor(minX)), ClampCoord(std::floor(minY)),
            ClampCoord(std::ceil(maxX) + 1), ClampCoord(std::ceil(maxY) + 1)};
  if (!Paint) return box;
  const TRect r = IntersectRect(box, Clip);
  for (int y = r.Top; y < r.Bottom; ++y) {
    TPixel* row = S.Row(y);
    const double py = y + 0.5 - Oy;
    for (int x = r.Left; x < r.Right; ++x) {
      const double px = x + 0.5 - Ox;
      const double a = px * Dx + py * Dy, b = px * nx + py * ny;
      if (a >= A0 && a < A1 && b >= B0 && b < B1) row[x] = P;
    }
  }
  return box;
}

TRun MakeRun(TFontInstance& F, const std::string& Text) {
  TRun run;
  run.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const char32_t c = NextCodePoint(Text, i);
    run.push_back({c, F.Advance(c), false});
  }
  return run;
}

int RunWidth(const TRun& Run) {
  int64_t w = 0;
  for (const TRunChar& c : Run) w += c.Advance;
  return static_cast<int>(std::min<int64_t>(w, std::numeric_limits<int>::max()));
}

// Draws a run with the top-left of its (unrotated) cell at canvas point (X, Y), confined to Clip
// (surface coordinates). Returns the touched area in canvas coordinates.
TRect DrawRun(TCanvas& C, TFontInstance& f, int X, int Y, const TRun& Run, const TRect& Clip,
              bool Opaque) {
  if (!C.HasSurface() || Run.empty()) return {};
  const TFontMetrics& m = f.Metrics();
  const TSurface& s = C.Surface();
  const TPixel ink = ColorToPixel(C.Font()->GetColor());
  const TPixel back = ColorToPixel(C.Brush()->GetColor());
  const TFontStyles style = C.Font()->GetStyle();
  const int width = RunWidth(Run);
  const int64_t sx = int64_t{X} + C.Origin().X, sy = int64_t{Y} + C.Origin().Y;
  TRect touched;

  if (!f.Rotated()) {
    const auto clampInt = [](int64_t v) {
      return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min() / 2,
                                                  std::numeric_limits<int>::max() / 2));
    };
    const int l = clampInt(sx), t = clampInt(sy);
    const TRect cell{l, t, clampInt(int64_t{l} + width), clampInt(int64_t{t} + m.Height)};
    touched = cell;
    if (Opaque) FillSurface(s, Clip, cell, back);
    int64_t pen = sx;
    const int64_t base = sy + m.Ascent;
    for (const TRunChar& rc : Run) {
      const TGlyph& g = f.Glyph(rc.Code);
      BlitGlyph(s, Clip, pen + g.Left, base - g.Top, g, ink);
      if (g.Width > 0)
        touched = UnionRect(
            touched, Bounds(clampInt(pen + g.Left), clampInt(base - g.Top), g.Width, g.Height));
      if (rc.Underline)
        FillSurface(s, Clip,
                    {clampInt(pen), t + m.UnderlineTop, clampInt(pen + rc.Advance),
                     t + m.UnderlineTop + m.UnderlineSize},
                    ink);
      pen += rc.Advance;
    }
    if (style.Contains(fsUnderline))
      FillSurface(s, Clip,
                  {cell.Left, t + m.UnderlineTop, cell.Right, t + m.UnderlineTop + m.UnderlineSize},
                  ink);
    if (style.Contains(fsStrikeOut))
      FillSurface(s, Clip,
                  {cell.Left, t + m.StrikeOutTop, cell.Right, t + m.StrikeOutTop + m.StrikeOutSize},
                  ink);
  } else {
    // Rotated about (X, Y): the cell turns with the text, the baseline origin lies Ascent "down"
    // from the origin along the turned vertical.
    const double dx = f.DirX(), dy = f.DirY();
    const double ox = static_cast<double>(sx), oy = static_cast<double>(sy);
    touched = FillBand(s, Clip, ox, oy, dx, dy, 0, width, 0, m.Height, back, Opaque);
    const double bx = ox - dy * m.Ascent, by = oy + dx * m.Ascent;
    // The pen advances in 1/64 pixel so long rotated strings do not drift.
    int64_t penX = std::llround(bx * 64), penY = std::llround(by * 64);
    int a = 0;
    for (const TRunChar& rc : Run) {
      const TGlyph& g = f.Glyph(rc.Code);
      const int64_t gx = (penX + 32) >> 6, gy = (penY + 32) >> 6;
      BlitGlyph(s, Clip, gx + g.Left, gy - g.Top, g, ink);
      if (rc.Underline)
        FillBand(s, Clip, ox, oy, dx, dy, a, a + rc.Advance, m.UnderlineTop,
                 m.UnderlineTop + m.UnderlineSize, ink, true);
      // Tabs and other widened characters move the pen by their run advance.
      penX += std::llround(rc.Advance * 64.0 * dx);
      penY += std::llround(rc.Advance * 64.0 * dy);
      a += rc.Advance;
    }
    if (style.Contains(fsUnderline))
      FillBand(s, Clip, ox, oy, dx, dy, 0, width, m.UnderlineTop, m.UnderlineTop + m.UnderlineSize,
               ink, true);
    if (style.Contains(fsStrikeOut))
      FillBand(s, Clip, ox, oy, dx, dy, 0, width, m.StrikeOutTop, m.StrikeOutTop + m.StrikeOutSize,
               ink, true);
    touched = touched.Inflate(2, 2);
  }
  return SatOffset(touched, -C.Origin().X, -C.Origin().Y);
}

void NotifyDrawn(TCanvas& C, const TRect& R) {
  if (C.OnDrawn && !R.IsEmpty()) C.OnDrawn(R);
}

TRect ToSurface(const TCanvas& C, const TRect& R) {
  return SatOffset(R, C.Origin().X, C.Origin().Y);
}

}  // namespace

// ---------------------------------------------------------------- TCanvas

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  if (!HasSurface() || Text.empty()) return;
  TFontInstance& f = TFontEngine::Instance().Get(*Font());
  const TRun run = MakeRun(f, Text);
  NotifyDrawn(*this, DrawRun(*this, f, X, Y, run, SurfaceClip(), Brush()->GetStyle() != bsClear));
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  if (!HasSurface()) return;
  const TRect clip = IntersectRect(SurfaceClip(), ToSurface(*this, R));
  if (clip.IsEmpty()) return;
  const bool opaque = Brush()->GetStyle() != bsClear;
  if (opaque) FillSurface(Surface(), clip, clip, ColorToPixel(Brush()->GetColor()));
  if (!Text.empty()) {
    TFontInstance& f = TFontEngine::Instance().Get(*Font());
    DrawRun(*this, f, X, Y, MakeRun(f, Text), clip, false);
  }
  NotifyDrawn(*this, SatOffset(clip, -Origin().X, -Origin().Y));
}

int TCanvas::TextWidth(const std::string& Text) { return TextExtent(Text).cx; }

int TCanvas::TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

TSize TCanvas::TextExtent(const std::string& Text) {
  TFontInstance& f = TFontEngine::Instance().Get(*Font());
  int64_t w = 0;
  for (size_t i = 0; i < Text.size();) w += f.Advance(NextCodePoint(Text, i));
  return {static_cast<int>(std::min<int64_t>(w, std::numeric_limits<int>::max())),
          f.Metrics().Height};
}

// ---------------------------------------------------------------- DrawText

namespace {

struct TLayoutChar {
  char32_t Code;
  bool Underline;
};

// Decodes the text, resolving "&" prefixes: "&&" is a literal "&", "&x" underlines x, and a
// final lone "&" is dropped.
std::vector<TLayoutChar> Decode(const std::string& Text, bool Prefix) {
  std::vector<TLayoutChar> out;
  out.reserve(Text.size());
  bool underlineNext = false;
  for (size_t i = 0; i < Text.size();) {
    const char32_t c = NextCodePoint(Text, i);
    if (Prefix && c == '&' && !underlineNext) {
      if (i < Text.size() && Text[i] == '&') {
        ++i;
        out.push_back({'&', false});
      } else {
        underlineNext = true;
      }
      continue;
    }
    out.push_back({c, underlineNext});
    underlineNext = false;
  }
  return out;
}

// Builds the run of one line, giving tabs their width up to the next stop when expanding.
TRun LineRun(TFontInstance& F, const std::vector<TLayoutChar>& Chars, size_t Begin, size_t End,
             int TabStop) {
  TRun run;
  int x = 0;
  for (size_t i = Begin; i < End; ++i) {
    char32_t c = Chars[i].Code;
    int adv;
    if (c == '\t' && TabStop > 0) {
      adv = TabStop - x % TabStop;
      c = ' ';
    } else {
      if (c == '\t') c = ' ';
      adv = F.Advance(c);
    }
    run.push_back({c, adv, Chars[i].Underline});
    x += adv;
  }
  return run;
}

// Cuts the run so that it and "..." fit in Width.
void AddEllipsis(TFontInstance& F, TRun& Run, int Width) {
  if (RunWidth(Run) <= Width) return;
  const int dot = F.Advance('.');
  while (!Run.empty() && RunWidth(Run) + 3 * dot > Width) Run.pop_back();
  for (int i = 0; i < 3; ++i) Run.push_back({'.', dot, false});
}

}  // namespace

int DrawText(TCanvas* Canvas, const std::string& Text, TRect& R, unsigned Format) {
  if (!Canvas) return 0;
  TFontInstance& f = TFontEngine::Instance().Get(*Canvas->Font());
  const TFontMetrics& m = f.Metrics();
  const bool single = Format & DT_SINGLELINE;
  const int tabStop = (Format & DT_EXPANDTABS) ? 8 * m.AveCharWidth : 0;
  std::vector<TLayoutChar> chars = Decode(Text, !(Format & DT_NOPREFIX));

  // Paragraphs end at "\n", "\r\n" or a lone "\r"; a final line break does not open a line.
  std::vector<std::pair<size_t, size_t>> paragraphs;
  {
    size_t start = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
      const char32_t c = chars[i].Code;
      if (c != '\n' && c != '\r') continue;
      if (single) {
        chars[i].Code = ' ';
        continue;
      }
      paragraphs.emplace_back(start, i);
      if (c == '\r' && i + 1 < chars.size() && chars[i + 1].Code == '\n') ++i;
      start = i + 1;
    }
    if (start < chars.size()) paragraphs.emplace_back(start, chars.size());
  }

  std::vector<TRun> lines;
  const int boxWidth = static_cast<int>(
      std::clamp<int64_t>(int64_t{R.Right} - R.Left, 0, std::numeric_limits<int>::max()));
  for (auto [b, e] : paragraphs) {
    if (!(Format & DT_WORDBREAK) || single) {
      lines.push_back(LineRun(f, chars, b, e, tabStop));
      continue;
    }
    // Greedy word wrap: break after the last blank that keeps the line within the box; a word
    // longer than the box stays whole on its own line, and blanks at a break are dropped.
    size_t lineStart = b;
    while (lineStart < e) {
      size_t lastBreak = lineStart, i = lineStart;
      int w = 0;
      bool broke = false;
      for (; i < e; ++i) {
        const char32_t c = chars[i].Code;
        w += (c == '\t' && tabStop > 0) ? tabStop - w % tabStop : f.Advance(c == '\t' ? ' ' : c);
        if (c == ' ' || c == '\t') {
          lastBreak = i;
        } else if (w > boxWidth && lastBreak > lineStart) {
          broke = true;
          break;
        }
      }
      size_t end = broke ? lastBreak : e;
      size_t trimmed = end;
      while (trimmed > lineStart && (chars[trimmed - 1].Code == ' ')) --trimmed;
      lines.push_back(LineRun(f, chars, lineStart, broke ? trimmed : end, tabStop));
      lineStart = end;
      while (broke && lineStart < e &&
             (chars[lineStart].Code == ' ' || chars[lineStart].Code == '\t'))
        ++lineStart;
    }
    if (b == e) lines.emplace_back();
  }
  if (Format & DT_END_ELLIPSIS)
    for (TRun& line : lines) AddEllipsis(f, line, boxWidth);

  const int lineHeight = m.Height;
  const int total = static_cast<int>(
      std::min<int64_t>(int64_t{lineHeight} * lines.size(), std::numeric_limits<int>::max() / 2));
  if (Format & DT_CALCRECT) {
    int widest = 0;
    for (const TRun& line : lines) widest = std::max(widest, RunWidth(line));
    R.Right = SatAdd(R.Left, widest);
    R.Bottom = SatAdd(R.Top, total);
    return total;
  }
  int top = R.Top;
  if (single && (Format & DT_VCENTER))
    top = SatAdd(R.Top, (int64_t{R.Bottom} - R.Top - lineHeight) / 2);
  else if (single && (Format & DT_BOTTOM))
    top = SatAdd(R.Bottom, -int64_t{lineHeight});
  if (!Canvas->HasSurface()) return total;

  const TRect clip = (Format & DT_NOCLIP)
                         ? Canvas->SurfaceClip()
                         : IntersectRect(Canvas->SurfaceClip(), ToSurface(*Canvas, R));
  const bool opaque = Canvas->Brush()->GetStyle() != bsClear;
  TRect touched;
  int y = top;
  for (const TRun& line : lines) {
    const int w = RunWidth(line);
    int x = R.Left;
    if (Format & DT_CENTER)
      x = SatAdd(R.Left, (int64_t{R.Right} - R.Left - w) / 2);
    else if (Format & DT_RIGHT)
      x = SatAdd(R.Right, -int64_t{w});
    if (!clip.IsEmpty())
      touched = UnionRect(touched, DrawRun(*Canvas, f, x, y, line, clip, opaque));
    y = SatAdd(y, lineHeight);
  }
  NotifyDrawn(*Canvas,
              IntersectRect(touched, SatOffset(clip, -Canvas->Origin().X, -Canvas->Origin().Y)));
  if (single && (Format & (DT_VCENTER | DT_BOTTOM))) return SatAdd(total, int64_t{top} - R.Top);
  return total;
}

}  // namespace qel

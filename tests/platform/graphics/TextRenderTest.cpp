// Text on the canvas: metrics, placement of the cell, backgrounds, clipping, rotation, quality.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>

#include "platform/graphics/FontEngine.h"
#include "platform/graphics/Graphics.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountOtherPixels;
using test::CountPixels;
using test::FillBitmap;
using test::InkBounds;
using test::PixelAt;

// A white bitmap with black text on a clear brush.
struct Sheet {
  TBitmap B;
  TCanvas* C;
  explicit Sheet(int W = 120, int H = 80) : B(W, H), C(B.Canvas()) {
    FillBitmap(B, clWhite);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
  }
};

const TFontMetrics& MetricsOf(TCanvas* C) {
  return TFontEngine::Instance().Get(*C->Font()).Metrics();
}

// ---------------------------------------------------------------- metrics and resolution

TEST(TextMetrics, DefaultFontIsLiberationSansAtEightPoint) {
  Sheet s;
  EXPECT_EQ(s.C->Font()->GetName(), "MS Sans Serif");
  EXPECT_EQ(TFontEngine::Instance().ResolveFamily("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(s.C->TextHeight("Ag"), 13);
  EXPECT_EQ(s.C->TextHeight(""), 13);  // the cell does not depend on the text
  const TFontMetrics& m = MetricsOf(s.C);
  EXPECT_EQ(m.Ascent, 10);
  EXPECT_EQ(m.Descent, 3);
  EXPECT_EQ(m.Height, m.Ascent + m.Descent);
  EXPECT_EQ(m.InternalLeading, 2);  // cell 13 for an em of 11
  EXPECT_GE(m.AveCharWidth, 4);
  EXPECT_LE(m.AveCharWidth, 7);
  EXPECT_GE(m.MaxCharWidth, m.AveCharWidth);
}

TEST(TextMetrics, ClassicFacesResolveToMetricCompatibleFamilies) {
  auto& e = TFontEngine::Instance();
  for (const char* n : {"Tahoma", "Segoe UI", "default", "System", "ms sans serif", "Arial"})
    EXPECT_EQ(e.ResolveFamily(n), "Liberation Sans") << n;
  EXPECT_EQ(e.ResolveFamily("Courier New"), "Liberation Mono");
  EXPECT_EQ(e.ResolveFamily("Times New Roman"), "Liberation Serif");
  // An unknown family still gives a real font, never nothing.
  EXPECT_FALSE(e.ResolveFamily("No Such Family 1234").empty());
}

TEST(TextMetrics, WidthIsTheSumOfAdvancesAndBoldIsWider) {
  Sheet s;
  const std::string text = "Hello, World 0123";
  int sum = 0;
  for (char ch : text) sum += s.C->TextWidth(std::string(1, ch));
  EXPECT_EQ(s.C->TextWidth(text), sum);  // no kerning
  EXPECT_EQ(s.C->TextWidth(""), 0);
  EXPECT_EQ(s.C->TextExtent(text), (TSize{sum, 13}));
  const int regular = s.C->TextWidth(text);
  s.C->Font()->SetStyle({fsBold});
  EXPECT_GT(s.C->TextWidth(text), regular);
  s.C->Font()->SetName("Courier New");
  s.C->Font()->SetStyle({});
  EXPECT_EQ(s.C->TextWidth("iiii"), s.C->TextWidth("WWWW"));  // monospaced
}

TEST(TextMetrics, NegativeHeightIsTheEmPositiveHeightTheCell) {
  Sheet s;
  s.C->Font()->SetSize(12);  // 16 px em
  EXPECT_EQ(s.C->Font()->GetHeight(), -16);
  const int cell12 = s.C->TextHeight("x");
  EXPECT_GE(cell12, 18);
  EXPECT_LE(cell12, 20);
  s.C->Font()->SetHeight(20);  // the whole cell
  EXPECT_LE(s.C->TextHeight("x"), 20);
  EXPECT_GE(s.C->TextHeight("x"), 18);
  s.C->Font()->SetHeight(0);  // the default size
  EXPECT_EQ(s.C->TextHeight("x"), 13);
  s.C->Font()->SetHeight(INT_MIN);  // absurd sizes are clamped, not crashed on
  EXPECT_GT(s.C->TextHeight("x"), 100);
}

TEST(TextMetrics, InvalidUtf8MeasuresAsReplacementCharacters) {
  Sheet s;
  const int fffd = s.C->TextWidth("\xEF\xBF\xBD");
  EXPECT_GT(fffd, 0);
  EXPECT_EQ(s.C->TextWidth("\xFF"), fffd);
  EXPECT_EQ(s.C->TextWidth("\xC3"), fffd);              // truncated sequence
  EXPECT_EQ(s.C->TextWidth("\xC0\xAF"), 2 * fffd);      // overlong: each byte replaced
  EXPECT_EQ(s.C->TextWidth("\xED\xA0\x80"), 3 * fffd);  // a surrogate
  EXPECT_EQ(s.C->TextWidth("\xC3\xA9"), s.C->TextWidth("\xC3\xA9"));
  EXPECT_NE(s.C->TextWidth("a\xC3\xA9"), s.C->TextWidth("a") + 2 * fffd);  // é is one glyph
}

TEST(TextMetrics, NextCodePointDecodesEveryLength) {
  const std::string t = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x90\x80\x80";
  size_t i = 0;
  EXPECT_EQ(NextCodePoint(t, i), U'A');
  EXPECT_EQ(NextCodePoint(t, i), U'\u00E9');
  EXPECT_EQ(NextCodePoint(t, i), U'\u20AC');
  EXPECT_EQ(NextCodePoint(t, i), U'\U0001F600');
  EXPECT_EQ(i, 10u);
  EXPECT_EQ(NextCodePoint(t, i), 0xFFFDu);  // beyond U+10FFFF
  EXPECT_EQ(i, 11u);
}

// ---------------------------------------------------------------- placement and background

TEST(TextOut, CellTopLeftIsAtTheGivenPoint) {
  Sheet s;
  s.C->TextOut(10, 7, "H");
  const TRect ink = InkBounds(s.B, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Left, 12);
  EXPECT_EQ(ink.Bottom, 7 + MetricsOf(s.C).Ascent);  // "H" stands on the baseline
  EXPECT_GE(ink.Top, 7 + 2);                         // internal leading above capitals
  EXPECT_LE(ink.Top, 7 + 3);
  Sheet g;
  g.C->TextOut(10, 7, "gjpqy");
  EXPECT_LE(InkBounds(g.B, clWhite).Bottom, 7 + 13);  // descenders stay in the cell
  EXPECT_GT(InkBounds(g.B, clWhite).Bottom, 7 + 10);
}

TEST(TextOut, SolidBrushFillsExactlyTheCell) {
  Sheet s;
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clRed);
  s.C->TextOut(5, 4, "Hi there");
  const TRect cell = Bounds(5, 4, s.C->TextWidth("Hi there"), 13);
  EXPECT_EQ(InkBounds(s.B, clWhite), cell);
  EXPECT_EQ(CountPixels(s.B, cell, clWhite), 0);
  EXPECT_GT(CountPixels(s.B, cell, clRed), cell.Width() * cell.Height() / 2);
}

TEST(TextOut, ClearBrushLeavesTheBackgroundAndThePen) {
  Sheet s;
  FillBitmap(s.B, clBlue);
  s.C->MoveTo(3, 4);
  s.C->TextOut(5, 4, "Hi there");
  EXPECT_EQ(s.C->GetPenPos(), (TPoint{3, 4}));
  const TRect cell = Bounds(5, 4, s.C->TextWidth("Hi there"), 13);
  EXPECT_GT(CountPixels(s.B, cell, clBlue), cell.Width() * cell.Height() / 2);
  EXPECT_EQ(CountPixels(s.B, cell, clWhite), 0);
  EXPECT_GT(CountOtherPixels(s.B, cell, clBlue), 20);
}

TEST(TextOut, FontColourIsBlendedByCoverage) {
  Sheet s;
  s.C->Font()->SetColor(clRed);
  s.C->Font()->SetSize(14);
  s.C->TextOut(2, 2, "Ogle");
  std::set<TColor> seen;
  for (int y = 0; y < s.B.GetHeight(); ++y)
    for (int x = 0; x < s.B.GetWidth(); ++x) seen.insert(PixelAt(s.B, x, y));
  EXPECT_TRUE(seen.count(clRed));
  for (TColor c : seen) {
    // Between white and red: red stays full, green and blue fall together.
    EXPECT_EQ(GetRValue(c), 255);
    EXPECT_EQ(GetGValue(c), GetBValue(c));
  }
  EXPECT_GT(seen.size(), 4u);  // anti-aliased edges
}

TEST(TextOut, PlainQualityHasOnlyTwoColours) {
  for (TFontQuality q : {fqNonAntialiased, fqDraft}) {
    Sheet s;
    s.C->Font()->SetQuality(q);
    s.C->Font()->SetSize(11);
    s.C->TextOut(2, 2, "Quality 8pt &%");
    s.C->Font()->SetOrientation(300);
    s.C->TextOut(10, 70, "Turned");
    EXPECT_EQ(
        CountPixels(s.B, {0, 0, 120, 80}, clWhite) + CountPixels(s.B, {0, 0, 120, 80}, clBlack),
        120 * 80);
    EXPECT_GT(CountPixels(s.B, {0, 0, 120, 80}, clBlack), 50);
  }
}

TEST(TextOut, UnderlineAndStrikeOutDrawFullWidthLines) {
  Sheet plain, under, strike;
  under.C->Font()->SetStyle({fsUnderline});
  strike.C->Font()->SetStyle({fsStrikeOut});
  plain.C->TextOut(4, 4, "ace");
  under.C->TextOut(4, 4, "ace");
  strike.C->TextOut(4, 4, "ace");
  const int w = plain.C->TextWidth("ace");
  const TFontMetrics& m = MetricsOf(plain.C);
  const int ul = 4 + m.UnderlineTop, so = 4 + m.StrikeOutTop;
  EXPECT_EQ(CountPixels(under.B, {4, ul, 4 + w, ul + 1}, clBlack), w);
  EXPECT_EQ(CountPixels(under.B, {0, ul, 4, ul + 1}, clWhite), 4);
  EXPECT_EQ(CountPixels(strike.B, {4, so, 4 + w, so + 1}, clBlack), w);
  EXPECT_LT(CountPixels(plain.B, {4, so, 4 + w, so + 1}, clBlack), w);
  EXPECT_GT(m.UnderlineTop, m.Ascent - 1);  // below the baseline
  EXPECT_LT(m.StrikeOutTop, m.Ascent);      // above it
}

TEST(TextOut, ItalicAndBoldChangeTheInk) {
  Sheet regular, italic, bold;
  italic.C->Font()->SetStyle({fsItalic});
  bold.C->Font()->SetStyle({fsBold});
  for (Sheet* s : {&regular, &italic, &bold}) s->C->TextOut(4, 4, "Illumination");
  const int inkRegular = CountOtherPixels(regular.B, {0, 0, 120, 80}, clWhite);
  EXPECT_GT(CountOtherPixels(bold.B, {0, 0, 120, 80}, clWhite), inkRegular);
  EXPECT_NE(test::AsciiArt(italic.B, {0, 0, 120, 20}, {{clWhite, '.'}}, '#'),
            test::AsciiArt(regular.B, {0, 0, 120, 20}, {{clWhite, '.'}}, '#'));
}

// ---------------------------------------------------------------- clipping

TEST(TextClip, RespectsTheCanvasClipExactly) {
  Sheet s;
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clLime);
  s.C->SetClipRect({8, 6, 30, 12});
  s.C->TextOut(2, 2, "Clipped text runs long");
  EXPECT_EQ(InkBounds(s.B, clWhite), (TRect{8, 6, 30, 12}));
  EXPECT_EQ(CountPixels(s.B, {8, 6, 30, 12}, clWhite), 0);
}

TEST(TextClip, CanvasOriginAndBindingClipApply) {
  TBitmap b(80, 50);
  FillBitmap(b, clWhite);
  TCanvas c;
  c.BindSurface(b.Surface(), {20, 10}, {20, 10, 50, 30});
  c.Font()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);
  c.TextOut(0, 0, "Origin moved text");
  EXPECT_EQ(InkBounds(b, clWhite), (TRect{20, 10, 50, 23}));
  TRect r{-5, 0, 100, 100};
  DrawText(&c, "Wide text in a control", r, DT_SINGLELINE);
  EXPECT_EQ(InkBounds(b, clWhite), (TRect{20, 10, 50, 23}));
}

TEST(TextClip, FarAwayCoordinatesDrawNothingAndNeverCrash) {
  Sheet s;
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clRed);
  for (int o : {0, 450, 900, 1800, 2700, -900, 3599}) {
    s.C->Font()->SetOrientation(o);
    s.C->TextOut(INT_MAX - 3, INT_MIN + 2, "far");
    s.C->TextOut(INT_MIN, INT_MAX, "far");
    s.C->TextRect({INT_MAX - 100, INT_MIN, INT_MAX, INT_MIN + 100}, INT_MAX, INT_MIN, "far");
    s.C->TextRect({INT_MIN, 0, 0, INT_MAX}, INT_MIN, INT_MAX, "far");  // an empty overlap
    TRect r{INT_MAX - 10, INT_MIN, INT_MAX, INT_MAX};
    DrawText(s.C, "far\naway", r, DT_CENTER | DT_WORDBREAK);
    TRect v{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    DrawText(s.C, "far", v, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_CALCRECT);
  }
  EXPECT_EQ(InkBounds(s.B, {0, 0, 120, 80}, clWhite), TRect{});
}

TEST(TextRect, FillsTheRectangleAndClipsTheText) {
  Sheet s;
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clAqua);
  const TRect r{10, 10, 30, 25};
  s.C->TextRect(r, 5, 8, "Text longer than the box");
  EXPECT_EQ(InkBounds(s.B, clWhite), r);
  EXPECT_EQ(CountPixels(s.B, r, clWhite), 0);
  EXPECT_GT(CountOtherPixels(s.B, r, clAqua), 5);
  Sheet t;  // with a clear brush only the clipped glyphs appear
  t.C->TextRect(r, 5, 8, "Text longer than the box");
  const TRect ink = InkBounds(t.B, clWhite);
  EXPECT_GE(ink.Left, r.Left);
  EXPECT_LE(ink.Right, r.Right);
  EXPECT_GE(ink.Top, r.Top);
}

// ---------------------------------------------------------------- rotation

// The cell turns about (X, Y): at 90 degrees the text runs upwards from Y and the cell lies to the
// right of X (its top edge on the line x = X).
TEST(TextRotation, QuarterTurnsPlaceTheCellAroundTheOrigin) {
  struct Case {
    int Orientation;
    TRect (*Cell)(int x, int y, int w, int h);
  };
  const Case cases[] = {
      {0,
       [](int x, int y, int w, int h) {
         return TRect{x, y, x + w, y + h};
       }},
      {900,
       [](int x, int y, int w, int h) {
         return TRect{x, y - w, x + h, y};
       }},
      {1800,
       [](int x, int y, int w, int h) {
         return TRect{x - w, y - h, x, y};
       }},
      {2700,
       [](int x, int y, int w, int h) {
         return TRect{x - h, y, x, y + w};
       }},
  };
  for (const Case& c : cases) {
    Sheet s(160, 160);
    s.C->Font()->SetOrientation(c.Orientation);
    s.C->Brush()->SetStyle(bsSolid);
    s.C->Brush()->SetColor(clYellow);
    const int w = s.C->TextWidth("Rotate");
    s.C->TextOut(80, 80, "Rotate");
    const TRect cell = c.Cell(80, 80, w, 13);
    EXPECT_EQ(InkBounds(s.B, clWhite), cell) << c.Orientation;
    EXPECT_EQ(CountPixels(s.B, cell, clWhite), 0) << c.Orientation;
    EXPECT_GT(CountOtherPixels(s.B, cell, clYellow), 20) << c.Orientation;
  }
}

TEST(TextRotation, NinetyDegreesReadsUpwards) {
  Sheet s(60, 120);
  s.C->Font()->SetOrientation(900);
  s.C->TextOut(20, 100, "L");
  // The "L" turned counter-clockwise: its foot (the long bar) lies along x = baseline - 1, and
  // its stem runs along the bottom, since the top of the letter now faces left.
  const TRect ink = InkBounds(s.B, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_EQ(ink.Right, 20 + MetricsOf(s.C).Ascent);
  EXPECT_GT(ink.Height(), ink.Width() / 2);
  EXPECT_LE(ink.Bottom, 100);
  const int stemRow = ink.Bottom - 1;
  EXPECT_GT(CountOtherPixels(s.B, {ink.Left, stemRow, ink.Right, stemRow + 1}, clWhite),
            ink.Width() / 2);
}

TEST(TextRotation, ObliqueAnglesStayNearTheirLineAndDoNotDrift) {
  Sheet s(200, 200);
  s.C->Font()->SetOrientation(450);
  const std::string text = "Diagonal text of some length";
  const int w = s.C->TextWidth(text);
  s.C->TextOut(20, 180, text);
  const TRect ink = InkBounds(s.B, clWhite);
  const double reach = w / std::sqrt(2.0);
  EXPECT_NEAR(ink.Right, 20 + reach + 13 / std::sqrt(2.0), 4);
  EXPECT_NEAR(ink.Top, 180 - reach, 4);
  EXPECT_GE(ink.Left, 20 - 1);
  EXPECT_LE(ink.Bottom, 180 + 13 / std::sqrt(2.0) + 2);
}

// ---------------------------------------------------------------- fallbacks and cache

struct BuiltInFont {
  BuiltInFont() { TFontEngine::Instance().SetUseSystemFonts(false); }
  ~BuiltInFont() { TFontEngine::Instance().SetUseSystemFonts(true); }
};

TEST(TextFallback, BuiltInBitmapFontDrawsWhenNoFontIsAvailable) {
  BuiltInFont builtIn;
  Sheet s(200, 100);
  EXPECT_TRUE(TFontEngine::Instance().Get(*s.C->Font()).IsBuiltIn());
  EXPECT_EQ(s.C->TextHeight("A"), 16);  // 5x7 in a 6x8 cell, doubled for an em of 11
  EXPECT_EQ(s.C->TextWidth("abc"), 36);
  s.C->TextOut(3, 3, "Abc \xE2\x82\xAC \xFF");
  EXPECT_EQ(InkBounds(s.B, clWhite).Top, 3);
  EXPECT_EQ(InkBounds(s.B, clWhite).Left, 3);
  EXPECT_EQ(
      CountPixels(s.B, {0, 0, 200, 100}, clWhite) + CountPixels(s.B, {0, 0, 200, 100}, clBlack),
      200 * 100);
  s.C->Font()->SetOrientation(900);
  s.C->Font()->SetStyle({fsBold, fsUnderline});
  s.C->TextOut(150, 90, "Up");
  EXPECT_LE(InkBounds(s.B, {100, 0, 200, 100}, clWhite).Bottom, 90);
}

TEST(TextFallback, GlyphCacheStaysBounded) {
  Sheet s;
  s.C->Font()->SetName("Liberation Sans");
  std::string text;
  for (char32_t c = 0x4E00; c < 0x4E00 + 1500; ++c) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
  text += "plain ascii";
  s.C->TextOut(0, 0, text);
  EXPECT_LE(TFontEngine::Instance().Get(*s.C->Font()).CachedGlyphs(),
            256 + TFontEngine::kMaxHighGlyphs);
  EXPECT_EQ(s.C->TextWidth(text), s.C->TextWidth(text));  // evicted glyphs come back the same
}

// ---------------------------------------------------------------- golden samples

TEST(TextGolden, FacesSizesStylesAndRotations) {
  TBitmap b(320, 200);
  FillBitmap(b, clWhite);
  TCanvas* c = b.Canvas();
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clBlack);
  struct Line {
    const char* Face;
    int Size;
    TFontStyles Style;
    TFontQuality Quality;
  };
  const Line lines[] = {
      {"MS Sans Serif", 8, {}, fqDefault},
      {"MS Sans Serif", 8, {fsBold}, fqDefault},
      {"Tahoma", 8, {fsItalic, fsUnderline}, fqDefault},
      {"Arial", 10, {fsStrikeOut}, fqDefault},
      {"Courier New", 9, {}, fqDefault},
      {"Times New Roman", 12, {fsBold, fsItalic}, fqDefault},
      {"MS Sans Serif", 8, {}, fqNonAntialiased},
      {"Arial", 14, {}, fqAntialiased},
  };
  int y = 2;
  for (const Line& l : lines) {
    c->Font()->SetName(l.Face);
    c->Font()->SetSize(l.Size);
    c->Font()->SetStyle(l.Style);
    c->Font()->SetQuality(l.Quality);
    c->TextOut(4, y, std::string(l.Face) + " " + std::to_string(l.Size) + " 0.123 Ag&");
    y += c->TextHeight("A") + 2;
  }
  c->Font()->SetName("MS Sans Serif");
  c->Font()->SetSize(8);
  c->Font()->SetStyle({});
  c->Font()->SetQuality(fqDefault);
  c->Brush()->SetColor(clSkyBlue);
  for (int o : {900, 450, 2700}) {
    c->Font()->SetOrientation(o);
    c->TextOut(o == 2700 ? 300 : o == 900 ? 250 : 262, o == 2700 ? 10 : 150, "Turned 123");
  }
  test::ExpectMatchesGolden(b, "text_samples");
}

}  // namespace
}  // namespace qel

// DrawText: alignment, line breaks, word wrap, prefixes, tabs, ellipsis, measuring, clipping.
#include <gtest/gtest.h>

#include "platform/graphics/Graphics.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::CountPixels;
using test::FillBitmap;
using test::InkBounds;

struct Sheet {
  TBitmap B;
  TCanvas* C;
  explicit Sheet(int W = 160, int H = 100) : B(W, H), C(B.Canvas()) {
    FillBitmap(B, clWhite);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(bsClear);
  }
  // The ink drawn by DrawText into R with the given format.
  TRect Ink(const std::string& Text, TRect R, unsigned Format) {
    FillBitmap(B, clWhite);
    DrawText(C, Text, R, Format);
    return InkBounds(B, clWhite);
  }
};

TEST(DrawTextAlign, HorizontalAlignmentPlacesTheLine) {
  Sheet s;
  const TRect r{10, 10, 150, 60};
  const int w = s.C->TextWidth("Align");
  const TRect left = s.Ink("Align", r, DT_LEFT);
  const TRect center = s.Ink("Align", r, DT_CENTER);
  const TRect right = s.Ink("Align", r, DT_RIGHT);
  EXPECT_NEAR(left.Left, 10, 1);
  EXPECT_NEAR(right.Right, 150, 1);
  EXPECT_NEAR(center.Left, 10 + (140 - w) / 2, 1);
  EXPECT_EQ(left.Top, center.Top);
  EXPECT_EQ(left.Width(), right.Width());
  EXPECT_EQ(center.Left - left.Left, (140 - w) / 2);
  EXPECT_EQ(right.Left - left.Left, 140 - w);
}

TEST(DrawTextAlign, VerticalAlignmentOnlyForSingleLines) {
  Sheet s;
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clYellow);
  const TRect r{0, 10, 100, 60};
  // With a solid brush the ink is exactly each line's cell.
  EXPECT_EQ(s.Ink("Mid", r, DT_SINGLELINE | DT_VCENTER).Top, 10 + (50 - 13) / 2);
  EXPECT_EQ(s.Ink("Low", r, DT_SINGLELINE | DT_BOTTOM).Bottom, 60);
  EXPECT_EQ(s.Ink("Top", r, DT_VCENTER).Top, 10);  // ignored without DT_SINGLELINE
  TRect q = r;
  EXPECT_EQ(DrawText(s.C, "Mid", q, DT_SINGLELINE | DT_VCENTER), (50 - 13) / 2 + 13);
  EXPECT_EQ(DrawText(s.C, "Top", q, DT_SINGLELINE), 13);
  EXPECT_EQ(q, r);  // only DT_CALCRECT changes the rectangle
}

TEST(DrawTextLines, LineBreaksStackCellsAndCalcRectMeasures) {
  Sheet s;
  for (const char* text :
       {"one\ntwo\nthree", "one\r\ntwo\r\nthree", "one\rtwo\rthree", "one\ntwo\nthree\n"}) {
    TRect r{5, 5, 6, 6};
    EXPECT_EQ(DrawText(s.C, text, r, DT_CALCRECT), 39) << text;
    EXPECT_EQ(r, (TRect{5, 5, 5 + s.C->TextWidth("three"), 5 + 39})) << text;
  }
  TRect single{0, 0, 0, 0};
  EXPECT_EQ(DrawText(s.C, "one\ntwo", single, DT_CALCRECT | DT_SINGLELINE), 13);
  EXPECT_EQ(single.Right, s.C->TextWidth("one two"));
  TRect empty{3, 4, 50, 50};
  EXPECT_EQ(DrawText(s.C, "", empty, DT_CALCRECT), 0);
  EXPECT_EQ(empty, (TRect{3, 4, 3, 4}));
  TRect blankLine{0, 0, 0, 0};
  EXPECT_EQ(DrawText(s.C, "a\n\nb", blankLine, DT_CALCRECT), 39);  // an empty line counts
  // Drawing puts each line one cell below the previous.
  s.C->Brush()->SetStyle(bsSolid);
  s.C->Brush()->SetColor(clSilver);
  EXPECT_EQ(s.Ink("ab\ncd", {10, 10, 100, 100}, 0),
            (TRect{10, 10, 10 + std::max(s.C->TextWidth("ab"), s.C->TextWidth("cd")), 36}));
}

TEST(DrawTextLines, WordBreakWrapsAtBlanksAndKeepsLongWordsWhole) {
  Sheet s;
  const std::string text = "alpha beta gamma delta";
  const int first = s.C->TextWidth("alpha beta"), second = s.C->TextWidth("gamma delta");
  TRect r{0, 0, std::max(first, second) + 2, 0};
  EXPECT_EQ(DrawText(s.C, text, r, DT_CALCRECT | DT_WORDBREAK), 26);
  EXPECT_EQ(r.Right, std::max(first, second));
  TRect exact{0, 0, first, 0};  // a line that fits exactly is not broken
  DrawText(s.C, "alpha beta", exact, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(exact.Bottom, 13);
  TRect narrow{0, 0, 10, 0};
  EXPECT_EQ(DrawText(s.C, text, narrow, DT_CALCRECT | DT_WORDBREAK), 4 * 13);
  // A word wider than the box stays whole.
  int widest = 0;
  for (const char* w : {"alpha", "beta", "gamma", "delta"})
    widest = std::max(widest, s.C->TextWidth(w));
  EXPECT_EQ(narrow.Right, widest);
  TRect wide{0, 0, 1000, 0};
  EXPECT_EQ(DrawText(s.C, text, wide, DT_CALCRECT | DT_WORDBREAK), 13);
  TRect paragraphs{0, 0, 10, 0};
  EXPECT_EQ(DrawText(s.C, "a b\nc", paragraphs, DT_CALCRECT | DT_WORDBREAK), 3 * 13);
  // Drawn lines start at the left edge: blanks at a break are dropped.
  const TRect ink = s.Ink("xx   yy", {20, 0, 20 + s.C->TextWidth("xx "), 60}, DT_WORDBREAK);
  EXPECT_NEAR(ink.Left, 20, 1);
  EXPECT_EQ(ink.Height() > 13, true);
}

TEST(DrawTextPrefix, AmpersandUnderlinesTheNextCharacter) {
  Sheet s;
  TRect r{0, 0, 0, 0};
  DrawText(s.C, "&File", r, DT_CALCRECT);
  EXPECT_EQ(r.Right, s.C->TextWidth("File"));
  r = {};
  DrawText(s.C, "Save && Quit", r, DT_CALCRECT);
  EXPECT_EQ(r.Right, s.C->TextWidth("Save & Quit"));
  r = {};
  DrawText(s.C, "&File", r, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r.Right, s.C->TextWidth("&File"));
  // The underline spans the advance of "F" only, below the baseline.
  s.Ink("&File", {0, 0, 100, 40}, 0);
  TBitmap withLine;
  withLine.Assign(&s.B);
  s.Ink("File", {0, 0, 100, 40}, 0);
  int diff = 0, minX = 1000, maxX = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (test::PixelAt(withLine, x, y) != test::PixelAt(s.B, x, y)) {
        ++diff;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        EXPECT_GE(y, 10);  // below the baseline
      }
  EXPECT_EQ(diff, s.C->TextWidth("F"));
  EXPECT_EQ(minX, 0);
  EXPECT_EQ(maxX, s.C->TextWidth("F") - 1);
}

TEST(DrawTextTabs, ExpandTabsStopsEveryEightAverageCharacters) {
  Sheet s;
  TRect r{0, 0, 0, 0};
  DrawText(s.C, "a\tb", r, DT_CALCRECT | DT_EXPANDTABS);
  // The stop is 8 average characters wide (the average width of the default font is 5 or 6).
  const int stop = r.Right - s.C->TextWidth("b");
  EXPECT_GE(stop, 8 * 4);
  EXPECT_LE(stop, 8 * 7);
  EXPECT_EQ(stop % 8, 0);
  r = {};
  DrawText(s.C, "\t\tb", r, DT_CALCRECT | DT_EXPANDTABS);
  EXPECT_EQ(r.Right, 2 * stop + s.C->TextWidth("b"));
  r = {};
  DrawText(s.C, "a\tb", r, DT_CALCRECT);  // without expansion a tab is one blank
  EXPECT_EQ(r.Right, s.C->TextWidth("a b"));
}

TEST(DrawTextClip, ClipsToTheRectangleUnlessNoClip) {
  Sheet s;
  const TRect r{10, 10, 40, 30};
  const std::string text = "Much too long for the box";
  const TRect clipped = s.Ink(text, r, DT_SINGLELINE);
  EXPECT_GE(clipped.Left, r.Left);
  EXPECT_LE(clipped.Right, r.Right);
  const TRect free = s.Ink(text, r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(free.Right, r.Right + 20);
}

TEST(DrawTextClip, EndEllipsisFitsTheBox) {
  Sheet s;
  const TRect r{0, 0, 60, 20};
  TRect calc = r;
  DrawText(s.C, "A rather long caption text", calc, DT_CALCRECT | DT_END_ELLIPSIS | DT_SINGLELINE);
  EXPECT_LE(calc.Right, 60);
  EXPECT_GT(calc.Right, 40);
  const TRect ink =
      s.Ink("A rather long caption text", r, DT_END_ELLIPSIS | DT_SINGLELINE | DT_NOCLIP);
  EXPECT_LE(ink.Right, 60);
  TRect shortText = r;
  DrawText(s.C, "Fits", shortText, DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_EQ(shortText.Right, s.C->TextWidth("Fits"));  // untouched when it fits
}

TEST(DrawTextGolden, AlignmentsWrapAndPrefix) {
  TBitmap b(240, 120);
  FillBitmap(b, clWhite);
  TCanvas* c = b.Canvas();
  c->Font()->SetColor(clBlack);
  c->Brush()->SetColor(clWhite);
  c->Pen()->SetColor(clGray);
  const TRect boxes[] = {
      {4, 4, 116, 40}, {124, 4, 236, 40}, {4, 44, 116, 116}, {124, 44, 236, 116}};
  for (const TRect& box : boxes) c->Rectangle(box.Inflate(1, 1));
  TRect r0 = boxes[0], r1 = boxes[1], r2 = boxes[2], r3 = boxes[3];
  c->Brush()->SetStyle(bsClear);
  DrawText(c, "&Centred, middle", r0, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  DrawText(c, "Right, bottom &&", r1, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
  DrawText(c, "Word wrapped text over a few lines in a box", r2, DT_WORDBREAK | DT_CENTER);
  DrawText(c, "Tab\tstop\nEllipsis for a rather long line of text", r3,
           DT_EXPANDTABS | DT_END_ELLIPSIS);
  test::ExpectMatchesGolden(b, "drawtext_layout");
}

}  // namespace
}  // namespace qel

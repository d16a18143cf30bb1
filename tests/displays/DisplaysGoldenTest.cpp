// Reviewed images of the three displays, each showing several variants on one bitmap.
#include <gtest/gtest.h>

#include "displays/QEL_NumLab.h"
#include "displays/QEL_RasterLab.h"
#include "displays/QEL_sevenseg.h"
#include "platform/backends/headless/Headless.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

// Paints Control into Sheet at (X, Y).
void Place(TControl& Control, TBitmap& Sheet, int X, int Y) { Control.PaintTo(&Sheet, X, Y); }

TEST(DisplaysGolden, NumLabVariants) {
  TBitmap sheet(340, 130);
  test::FillBitmap(sheet, clWhite);
  struct V {
    TDisplay Type;
    double Value;
    int Precision;
    const char* Left;
    const char* Right;
    TFrameStyle Frame;
    TAlignment Align;
  };
  const V v[] = {{dtFixP, 1234.5, 2, "U", "V", fsLowered, taCenter},
                 {dtEEng, 0.00012345, 3, "I", "A", fsRaised, taRightJustify},
                 {dtDegMinSec, 48.8584, 1, "lat", "N", fsEmbossed, taLeftJustify},
                 {dtHex, 48879, 6, "reg", "", fsSimple, taCenter},
                 {dtFixP, 1e12, 2, "big", "", fsEngraved, taCenter}};
  int y = 0;
  for (const V& x : v) {
    TNumLab n(nullptr);
    n.SetBounds(0, 0, 160, 26);
    n.SetDisplayType(x.Type);
    n.SetPrecision(x.Precision);
    n.SetValue(x.Value);
    n.SetLeftText(x.Left);
    n.SetRightText(x.Right);
    n.SetFrameStyle(x.Frame);
    n.SetAlignment(x.Align);
    Place(n, sheet, 0, y);
    n.SetColorLabBakG(clBlack);
    n.SetColorLabText(clLime);
    n.SetEnabled(y != 52);
    Place(n, sheet, 170, y);
    y += 26;
  }
  test::ExpectMatchesGolden(sheet, "displays_numlab");
}

TEST(DisplaysGolden, SevenSegVariants) {
  TBitmap sheet(440, 250);
  test::FillBitmap(sheet, clWhite);
  TSevenSeg a(nullptr);
  a.SetCaption("12.34");
  Place(a, sheet, 0, 0);
  TSevenSeg b(nullptr);
  b.SetBounds(0, 0, 216, 76);
  b.SetCaption("-8.:+\xC2\xB0");
  b.SetNumDigits(6);
  b.SetColorText(clLime);
  b.SetColorBackGnd(clBlack);
  b.SetFrameStyle(fsRaised);
  Place(b, sheet, 222, 0);
  TSevenSeg c(nullptr);
  c.SetBounds(0, 0, 436, 160);
  c.SetCaption("AbCdEF.");
  c.SetNumDigits(6);
  c.SetMargin(12);
  c.SetInterDigDist(8);
  c.SetColorText(clWhite);
  c.SetColorBackGnd(clNavy);
  Place(c, sheet, 0, 82);
  test::ExpectMatchesGolden(sheet, "displays_sevenseg");
}

TEST(DisplaysGolden, RasterLabVariants) {
  ResetHeadlessApplication();
  TBitmap sheet(420, 250);
  test::FillBitmap(sheet, clWhite);
  TRasterLab a(nullptr);
  a.SetText(
      "Text 0123 \xC3\x84\xC3\xA9\xC3\xB1\xC3\x9F \xC2\xB0"
      "C");
  a.SetAutoHeight(true);
  Place(a, sheet, 0, 0);
  TRasterLab b(nullptr);
  b.SetText("abcdefghijklmnopqrstuvwxyz {}[]?!");
  b.SetDotSize(2);
  b.SetCharBlockMode(rdbmOff);
  b.SetColorDotOn(clYellow);
  b.SetAutoHeight(true);
  b.SetFrameStyle(fsEmbossed);
  Place(b, sheet, 0, 55);
  TRasterLab c(nullptr);
  c.SetText("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  c.SetDotSize(2);
  c.SetProportional(false);
  c.SetCharBlockMode(rdbmRaster);
  c.SetColorDotOn(clRed);
  c.SetAutoHeight(true);
  c.SetAutoCenter(true);
  Place(c, sheet, 0, 100);
  TRasterLab d(nullptr);
  d.SetText(
      "\xC3\x80\xC3\x81\xC3\x82\xC3\x83\xC3\x85\xC3\x86\xC3\x87\xC3\x89\xC3\x8E\xC3\x98"
      "\xC3\xA5\xC3\xA6\xC3\xA7\xC3\xBF\xC2\xA9\xC2\xBD\xC2\xBF\xC2\xA7\xC2\xB5");
  d.SetDotSize(2);
  d.SetAutoHeight(true);
  d.SetFrameStyle(fsRaised);
  Place(d, sheet, 0, 145);
  TRasterLab e(nullptr);
  e.GetFont()->SetName("Arial");
  e.GetFont()->SetSize(10);
  e.SetText("Sampled Arial 42");
  e.SetDotSize(1);
  e.SetAutoHeight(true);
  e.SetFrameStyle(fsSimple);
  Place(e, sheet, 0, 190);
  test::ExpectMatchesGolden(sheet, "displays_rasterlab");
}

}  // namespace
}  // namespace qel

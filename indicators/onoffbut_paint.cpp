// TOnOffBut::Paint in its steps: image and mask, texts, glyph, frame, output.
#include <algorithm>

#include "indicators/QEL_onoffbut.h"

namespace qel {

namespace {
// The sample whose height sets the text height (the last three characters reach above the
// capitals and below the baseline).
constexpr const char* kSampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";
}  // namespace

void TOnOffBut::Paint() {
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  const TColor back = FTransparent ? clBlack : FColorBackgnd;

  // 1. The image on the background, the mask all white (white lets the parent through).
  TBitmap image(w, h);
  TCanvas* ic = image.Canvas();
  ic->Font()->Assign(GetFont());
  ic->Pen()->SetColor(back);
  ic->Brush()->SetColor(back);
  ic->Rectangle(0, 0, w, h);
  FMask->SetSize(w, h);
  TCanvas* mc = FMask->Canvas();
  mc->Font()->Assign(GetFont());
  mc->Font()->SetColor(clBlack);
  mc->Pen()->SetColor(clWhite);
  mc->Brush()->SetColor(clWhite);
  mc->Brush()->SetStyle(bsSolid);
  mc->Rectangle(0, 0, w, h);

  // 2. Texts, 3. glyph, 4. frame.
  PaintTexts(ic, mc, ic->TextHeight(kSampleText));
  PaintGlyph(image, *FMask);
  DrawFrame(ic, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, clBlack);
  DrawFrame(mc, FFrameStyle, 0, 0, w - 1, h - 1, clBlack, clBlack, clBlack, clBlack, clBlack);

  // 5. Out: plain, or the mask cutting a hole into what lies behind and the image (black
  // where the parent shows) merged into it.
  TCanvas* c = Canvas();
  if (!FTransparent) {
    c->SetCopyMode(cmSrcCopy);
    c->Draw(0, 0, &image);
    return;
  }
  c->SetCopyMode(cmSrcAnd);
  c->Draw(0, 0, FMask.get());
  c->SetCopyMode(cmSrcPaint);
  c->Draw(0, 0, &image);
  c->SetCopyMode(cmSrcCopy);
}

void TOnOffBut::PaintTexts(TCanvas* Image, TCanvas* Mask, int TextH) {
  const bool enabled = GetEnabled();
  const struct {
    const std::string& Text;
    TTextSide Side;
  } texts[] = {
      {FLeftText, tsLeft}, {FRightText, tsRight}, {FTopText, tsTop}, {FBottomText, tsBottom}};
  if (enabled) {
    Image->Font()->SetColor(FColorText);
  } else {
    Image->Brush()->SetStyle(bsClear);
    Mask->Brush()->SetStyle(bsClear);
  }
  for (const auto& t : texts) {
    if (t.Text.empty()) continue;
    const TPoint p = TextPosition(t.Side, Image->TextWidth(t.Text), TextH);
    if (enabled) {
      Image->TextOut(p.X, p.Y, t.Text);
      Mask->TextOut(p.X, p.Y, t.Text);
      continue;
    }
    // Engraved: a white copy one pixel down and right, the grey text over it.
    Image->Font()->SetColor(clWhite);
    Image->TextOut(p.X + 1, p.Y + 1, t.Text);
    Image->Font()->SetColor(clGray);
    Image->TextOut(p.X, p.Y, t.Text);
    Mask->TextOut(p.X + 1, p.Y + 1, t.Text);
    Mask->TextOut(p.X, p.Y, t.Text);
  }
}

void TOnOffBut::PaintGlyph(TBitmap& Image, TBitmap& Mask) const {
  const TBitmap* g = FGlyphs[OnOffGlyphIndex(FOnOff, GetEnabled())].get();
  const TRect r = GlyphRect();
  Image.Canvas()->SetCopyMode(cmSrcCopy);
  Image.Canvas()->CopyRect(r, g->Canvas(), Rect(0, 0, g->GetWidth(), g->GetHeight()));
  Mask.Canvas()->Brush()->SetStyle(bsSolid);
  Mask.Canvas()->Brush()->SetColor(clWhite);
  Mask.Canvas()->FillRect(r);
  // See-through pixels take the background on the image; the rest hide the parent on the mask.
  const TPixel seeThrough = ColorToPixel(kOnOffSeeThrough);
  const TPixel back = ColorToPixel(FTransparent ? clBlack : FColorBackgnd);
  const TPixel black = ColorToPixel(clBlack);
  const int x0 = std::max(0, r.Left), x1 = std::min(Image.GetWidth(), r.Right);
  const int y0 = std::max(0, r.Top), y1 = std::min(Image.GetHeight(), r.Bottom);
  for (int y = y0; y < y1; ++y) {
    TPixel* ip = Image.ScanLine(y);
    TPixel* mp = Mask.ScanLine(y);
    for (int x = x0; x < x1; ++x) {
      if ((ip[x] & 0xFFFFFF) == seeThrough)
        ip[x] = back;
      else
        mp[x] = black;
    }
  }
}

}  // namespace qel

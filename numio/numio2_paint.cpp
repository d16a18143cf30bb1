// TNumIO2 geometry and painting. The geometry helpers are the one source of every coordinate:
// Paint, hit testing and the caret/character mapping all call them.
#include <algorithm>
#include <cmath>
#include <limits>

#include "numio/QEL_NumIO2.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {
// Vertical centring measures this sample, so that every field of a font sits alike whatever
// its text.
const char* const kSampleText = "(8g]}\xC3\x9C\xC3\x84\xC2\xA7";

// TextBoxWidth has no limits; sums with it are taken in 64 bits and brought back to a range the
// canvas clips safely.
int Sat(int64_t V) {
  constexpr int64_t kLimit = int64_t{1} << 29;
  return static_cast<int>(std::clamp(V, -kLimit, kLimit));
}
}  // namespace

int TNumIO2::TextWidthOf(const std::string& S) const {
  if (!FMeasure) FMeasure = std::make_unique<TCanvas>();
  if (!FMeasure->Font()->SameAs(*GetFont())) FMeasure->Font()->Assign(GetFont());
  return FMeasure->TextWidth(S);
}

// ---------------------------------------------------------------- geometry

int TNumIO2::GaugeBand() const {
  return FGaugeVisible ? Sat(int64_t{FGaugeHeight} + FGaugeTopMargin + 1) : 0;
}

int TNumIO2::TextTop() const {
  if (!FMeasure) FMeasure = std::make_unique<TCanvas>();
  if (!FMeasure->Font()->SameAs(*GetFont())) FMeasure->Font()->Assign(GetFont());
  const int th = FMeasure->TextHeight(kSampleText);
  return Sat((int64_t{GetHeight()} - GaugeBand() - th) / 2);
}

TRect TNumIO2::TextBoxRect() const {
  return Rect(FLeftSpace, 0, Sat(int64_t{FLeftSpace} + FTextBoxWidth + 2),
              GetHeight() - GaugeBand());
}

TRect TNumIO2::NumberClipRect() const {
  return Rect(FLeftSpace + 3, 2, Sat(int64_t{FLeftSpace} + FTextBoxWidth - 1),
              GetHeight() - GaugeBand() - 3);
}

int TNumIO2::ButtonLeft() const { return Sat(int64_t{FLeftSpace} + FTextBoxWidth + FButSpace); }

TRect TNumIO2::ButtonRect() const {
  const int x0 = ButtonLeft(), h2 = FButHeight / 2;
  return Rect(x0, 0, Sat(int64_t{x0} + FButWidth + 1), 2 * h2 - 1);
}

TRect TNumIO2::GaugeRect() const {
  const int h = GetHeight();
  return Rect(FGaugeLeftMargin, Sat(int64_t{h} - FGaugeHeight - 1),
              Sat(int64_t{FGaugeLeftMargin} + FGaugeWidth), h - 1);
}

double TNumIO2::GaugeFraction() const {
  if (FRangeHigh == FRangeLow) return 1;
  const double f = (GetNioValue() - FRangeLow) / (FRangeHigh - FRangeLow);
  if (!(f >= 0)) return 0;  // NaN as well
  return f > 1 ? 1 : f;
}

int TNumIO2::GaugeBarRight() const {
  return Sat(int64_t{FGaugeLeftMargin} + RoundToInt(FGaugeWidth * GaugeFraction()));
}

int TNumIO2::NumberLeft() const {
  const int64_t tw = TextWidthOf(FText);
  switch (FAlignment) {
    case taLeftJustify:
      return FLeftSpace + 4;
    case taRightJustify:
      return Sat(int64_t{FLeftSpace} + FTextBoxWidth - tw - 2);
    default:
      return Sat(FLeftSpace + (int64_t{FTextBoxWidth} - tw) / 2 + 2);
  }
}

int TNumIO2::CaretOffset() const {
  const int64_t tw = TextWidthOf(FText);
  const int64_t w = TextWidthOf(FText.substr(0, ByteOffset(FText, FCaret)));
  switch (FAlignment) {
    case taLeftJustify:
      return Sat(w + 3);
    case taRightJustify:
      return Sat(int64_t{FTextBoxWidth} + w - tw - 3);
    default:
      return Sat(w + (int64_t{FTextBoxWidth} - tw) / 2 + 1);
  }
}

int TNumIO2::LeftTextLeft() const {
  const int tw = TextWidthOf(FLeftText);
  switch (FLeftTextAlignment) {
    case taLeftJustify:
      return 7;
    case taRightJustify:
      return FLeftSpace - tw - 5;
    default:
      return (FLeftSpace - tw) / 2;
  }
}

int TNumIO2::RightTextLeft() const {
  const int64_t tw = TextWidthOf(FRightText);
  const int64_t b = FButVisible ? int64_t{FButWidth} + FButSpace : 0;
  const int64_t start = int64_t{FLeftSpace} + b + FTextBoxWidth;
  switch (FRightTextAlignment) {
    case taLeftJustify:
      return Sat(start + 7);
    case taRightJustify:
      return Sat(GetWidth() - tw - 6);
    default:
      return Sat((GetWidth() - start - tw) / 2 + start + 1);
  }
}

int TNumIO2::CharPosToXCoords(int CharPos) const {
  CharPos = std::clamp(CharPos, 0, TextLength());
  const int64_t w = TextWidthOf(FText.substr(0, ByteOffset(FText, CharPos)));
  return Sat(NumberLeft() + w);
}

int TNumIO2::XCoordsToCharPos(int X) const {
  const int len = TextLength();
  if (len == 0) return 0;
  const int64_t tw = TextWidthOf(FText);
  const int64_t a = tw / len;
  if (a <= 0) {
    // Narrower than one pixel a character on average: measure every caret position and take
    // the nearest.
    int best = 0;
    int64_t bestDist = std::numeric_limits<int64_t>::max();
    for (int p = 0; p <= len; ++p) {
      const int px = CharPosToXCoords(p);
      const int64_t d = std::abs(int64_t{px} - X);
      // Among positions at one x (zero-width characters) a point right of them takes the last.
      if (d < bestDist || (d == bestDist && X >= px)) {
        best = p;
        bestDist = d;
      }
    }
    return best;
  }
  int64_t c;
  switch (FAlignment) {
    case taLeftJustify:
      c = int64_t{X} - FLeftSpace - 3;
      break;
    case taRightJustify:
      c = int64_t{X} + tw - FLeftSpace - FTextBoxWidth + 3;
      break;
    default:
      c = int64_t{X} - FLeftSpace - (int64_t{FTextBoxWidth} - tw) / 2 - 1;
      break;
  }
  if (c < 0) c = 0;
  // The average width may round the far end past the last character.
  return static_cast<int>(std::min<int64_t>((std::min(tw, c) + a / 2) / a, len));
}

// ---------------------------------------------------------------- painting

namespace {
void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
  C->MoveTo(X1, Y1);
  C->LineTo(X2, Y2);
}

// An outside text: in its colour on the outside background, or embossed when disabled.
void DrawOutsideText(TCanvas* C, const std::string& S, int X, int Y, TColor Color, TColor Back,
                     bool Enabled) {
  if (S.empty()) return;
  if (Enabled) {
    C->Brush()->SetColor(Back);
    C->Brush()->SetStyle(bsSolid);
    C->Font()->SetColor(Color);
    C->TextOut(X, Y, S);
    return;
  }
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(clWhite);
  C->TextOut(X + 1, Y + 1, S);
  C->Font()->SetColor(clGray);
  C->TextOut(X, Y, S);
  C->Brush()->SetStyle(bsSolid);
}

// The two bevel polylines of a frame style: left-top and right-bottom pens.
bool BevelPens(TFrameStyle Style, TColor Dark, TColor Shadow, TColor High, TColor& LeftTop,
               TColor& RightBottom) {
  switch (Style) {
    case fsLowered:
      LeftTop = Dark;
      RightBottom = High;
      return true;
    case fsRaised:
      LeftTop = High;
      RightBottom = Dark;
      return true;
    case fsEmbossed:
      LeftTop = RightBottom = Shadow;
      return true;
    case fsEngraved:
      LeftTop = RightBottom = High;
      return true;
    default:
      return false;
  }
}
}  // namespace

void TNumIO2::Paint() {
  if (FNotCreated) return;
  const int W = GetWidth(), H = GetHeight();
  if (W <= 0 || H <= 0) return;
  TBitmap bmp(W, H);
  TCanvas* c = bmp.Canvas();
  c->Font()->Assign(GetFont());
  PaintBackground(c);
  DrawOutsideText(c, FLeftText, LeftTextLeft(), TextTop(), FColorOutText, FColorOutBG,
                  GetEnabled());
  if (FButVisible) PaintSpinButtons(c);
  DrawOutsideText(c, FRightText, RightTextLeft(), TextTop(), FColorOutText, FColorOutBG,
                  GetEnabled());
  if (FGaugeVisible) PaintGauge(c);
  const TColor back = PaintTextBox(c);
  PaintNumber(c, back);
  PaintCaretAndSelection(c);
  Canvas()->Draw(0, 0, &bmp);
}

int TNumIO2::TextBoxBottom() const { return GetHeight() - GaugeBand(); }

void TNumIO2::PaintBackground(TCanvas* c) const {
  c->Pen()->SetColor(FColorOutBG);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FColorOutBG);
  c->Rectangle(0, 0, GetWidth(), GetHeight());
}

void TNumIO2::PaintSpinButtons(TCanvas* c) const {
  const int x0 = ButtonLeft(), bw = FButWidth, h2 = FButHeight / 2;
  c->Pen()->SetColor(clGray);
  c->Brush()->SetColor(FButColor);
  c->Rectangle(ButtonRect());
  Line(c, x0, h2 - 1, x0 + bw, h2 - 1);
  if (FBut3D) {
    c->Pen()->SetColor(clWhite);
    const TPoint lower[] = {{x0 + 1, 2 * h2 - 3}, {x0 + 1, h2}, {x0 + bw, h2}};
    c->Polyline(lower);
    const TPoint upper[] = {{x0 + 1, h2 - 2}, {x0 + 1, 1}, {x0 + bw, 1}};
    c->Polyline(upper);
    c->Pen()->SetColor(clBlack);
    const TPoint shade[] = {{x0 + 1, 2 * h2 - 1}, {x0 + bw + 1, 2 * h2 - 1}, {x0 + bw + 1, 1}};
    c->Polyline(shade);
  }
  // The two arrows, three rows each.
  c->Pen()->SetColor(GetEnabled() ? clBlack : clGray);
  const int cx = x0 + bw / 2, q = h2 / 2, d = h2 + q;
  Line(c, cx, q - 1, cx + 2, q - 1);
  Line(c, cx - 1, q, cx + 3, q);
  Line(c, cx - 2, q + 1, cx + 4, q + 1);
  Line(c, cx, d, cx + 2, d);
  Line(c, cx - 1, d - 1, cx + 3, d - 1);
  Line(c, cx - 2, d - 2, cx + 4, d - 2);
}

void TNumIO2::PaintGauge(TCanvas* c) const {
  const int H = GetHeight();
  const TRect gr = GaugeRect();
  c->Pen()->SetColor(FGaugeFrameStyle != fsNone ? FGaugeColorFrame : FGaugeColorBg);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(FGaugeColorBg);
  c->Rectangle(gr);
  const int barRight = GaugeBarRight();
  if (barRight > gr.Left) {
    const TColor bar = GetEnabled() ? FGaugeColor : clGray;
    c->Pen()->SetColor(bar);
    c->Brush()->SetColor(bar);
    c->Rectangle(gr.Left, gr.Top, barRight, gr.Bottom);
  }
  if (FGaugeFrameStyle == fsNone) return;
  TColor pen = FColFrameLow;
  if (FGaugeFrameStyle == fsSimple) pen = FGaugeColorFrame;
  if (FGaugeFrameStyle == fsEmbossed) pen = FColFrameHigh;
  c->Pen()->SetColor(pen);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(gr);
  c->Brush()->SetStyle(bsSolid);
  TColor lt, rb;
  if (BevelPens(FGaugeFrameStyle, FColFrameDark, FColFrameLow, FColFrameHigh, lt, rb)) {
    // A gauge read from a form file may be far larger than the control: no sum may overflow.
    const int64_t gl = FGaugeLeftMargin, gw = FGaugeWidth, gh = FGaugeHeight;
    const int l1 = Sat(gl + 1), r0 = Sat(gl + gw), r1 = Sat(gl + gw - 1);
    const int top = Sat(int64_t{H} - gh), above = Sat(int64_t{H} - gh - 1);
    c->Pen()->SetColor(lt);
    const TPoint ltp[] = {{l1, H - 3}, {l1, top}, {r1, top}};
    c->Polyline(ltp);
    c->Pen()->SetColor(rb);
    const TPoint rbp[] = {{l1, H - 1}, {r0, H - 1}, {r0, above}};
    c->Polyline(rbp);
  }
}

TColor TNumIO2::PaintTextBox(TCanvas* c) const {
  const bool enabled = GetEnabled();
  const int LS = FLeftSpace;
  const int boxRight = Sat(int64_t{LS} + FTextBoxWidth + 2);
  const int boxBottom = TextBoxBottom();
  TColor pen = FColFrameLow;
  if (FFrameStyle == fsNone) pen = enabled ? FColorBoxBG : clSilver;
  if (FFrameStyle == fsEmbossed) pen = FColFrameHigh;
  TColor back = FColorBoxBG;
  if (OutOfRange()) {
    back = FColorWarnBG;
    if (FFrameStyle == fsNone && enabled) pen = FColorWarnBG;
  }
  if (!enabled) back = clSilver;
  c->Pen()->SetColor(pen);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
  const bool flat = FFrameStyle == fsNone || FFrameStyle == fsSimple;
  c->Rectangle(LS, 0, boxRight, flat ? boxBottom : boxBottom - 1);
  TColor lt, rb;
  if (BevelPens(FFrameStyle, FColFrameDark, FColFrameLow, FColFrameHigh, lt, rb)) {
    c->Pen()->SetColor(lt);
    const TPoint ltp[] = {{LS + 1, boxBottom - 3}, {LS + 1, 1}, {boxRight - 1, 1}};
    c->Polyline(ltp);
    c->Pen()->SetColor(rb);
    const TPoint rbp[] = {{LS + 1, boxBottom - 1}, {boxRight, boxBottom - 1}, {boxRight, 0}};
    c->Polyline(rbp);
  }
  return back;
}

void TNumIO2::PaintNumber(TCanvas* c, TColor Back) const {
  c->Font()->SetColor(!GetEnabled() ? clGray : OutOfRange() ? FColorWarnText : FColorBoxText);
  c->Brush()->SetColor(Back);
  c->TextRect(NumberClipRect(), NumberLeft(), TextTop(), FText);
}

void TNumIO2::PaintCaretAndSelection(TCanvas* c) const {
  const int LS = FLeftSpace, boxBottom = TextBoxBottom();
  // Only the focused field shows a caret: typing goes there.
  const int m = CaretOffset();
  if (FCaretVisible && m > 0 && m < FTextBoxWidth && Focused()) {
    c->Pen()->SetColor(clBlack);
    Line(c, LS + m, 3, LS + m, boxBottom - 3);
  }
  // The selection, inverted in place.
  if (FSelBegin < FSelEnd && (Focused() || !FHideSelection)) {
    const int lo = LS, hi = Sat(int64_t{LS} + FTextBoxWidth);
    const int x1 = std::clamp(CharPosToXCoords(FSelBegin), lo, hi);
    const int x2 = std::clamp(CharPosToXCoords(FSelEnd), lo, hi);
    const TRect r = Rect(x1, 3, x2, boxBottom - 3);
    c->SetCopyMode(cmNotSrcCopy);
    c->CopyRect(r, c, r);
    c->SetCopyMode(cmSrcCopy);
  }
}

}  // namespace qel

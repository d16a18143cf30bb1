// TThumbnails' painting: the slides in view into an off-screen bitmap, each as the host asks,
// and the focus outline drawn straight onto the control as the pointer moves.
#include <algorithm>
#include <string>

#include "platform/rtl/SafeMath.h"
#include "selectors/QEL_Thumbnails.h"

namespace qel {

namespace {

void SetPenBrush(TCanvas* C, TColor Pen, TColor Brush) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Pen);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Brush);
}

void Frame(TCanvas* C, TFrameStyle Style, int L, int T, int R, int B) {
  DrawFrame(C, Style, L, T, R, B, clWhite, clSilver, clGray, clBlack, clBlack);
}

// Clears the flag however the paint ends (a host's handler may throw).
struct TPaintGuard {
  bool& Flag;
  explicit TPaintGuard(bool& F) : Flag(F) { Flag = true; }
  ~TPaintGuard() { Flag = false; }
};

}  // namespace

void TThumbnails::Paint() {
  if (FInPaint) return;
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TPaintGuard guard(FInPaint);
  TBitmap off(w, h);
  TCanvas* c = off.Canvas();
  c->Font()->Assign(GetFont());
  SetPenBrush(c, FColorBackGnd, FColorBackGnd);
  c->Rectangle(0, 0, w, h);
  TBitmap buffer;  // one for the whole pass: a host may leave a picture for the next slide

  if (OnFirstImageRequest) OnFirstImageRequest(this);
  const int p = Pitch(), nr = NumRows(), f = ScrollPixels();
  const int64_t first = FirstSlide();
  for (int i = 1; i <= FNumColumns; ++i) {
    for (int j = 1; j <= nr; ++j) {
      const int64_t s = first + int64_t{j - 1} * FNumColumns + i - 1;
      if (s < FMin || s > FMax) continue;
      PaintSlide(c, s, (i - 1) * p + kEdge, (j - 1) * p + FSlideDistance - f + kEdge, &buffer);
    }
  }
  if (OnLastImageRequest) OnLastImageRequest(this);

  if (FFocusLinewidth > 0 && FFocusedSlide != 0) PaintFocus(c, FFocusedSlide, FColorFocus);
  // Slides scrolled partly out hide under the two edge bands.
  SetPenBrush(c, FColorBackGnd, FColorBackGnd);
  c->Rectangle(0, 0, w, kEdge);
  c->Rectangle(0, h - kEdge, w, h);
  Frame(c, FFrameStyle, 0, 0, w - 2, h - 2);
  TCanvas* dest = Canvas();
  dest->SetCopyMode(cmSrcCopy);
  dest->Draw(0, 0, &off);
}

void TThumbnails::PaintSlide(TCanvas* C, int64_t S, int X0, int Y0, TBitmap* Buffer) {
  const int m = FSlideMargin;
  const int x1 = X0 + FSlideSize + 2 * m, y1 = Y0 + FSlideSize + 2 * m;
  const int id = static_cast<int>(S);
  TImageRequestProcessing how = irpShowEmpty;
  int markIt = -1;
  if (OnImageRequest) OnImageRequest(this, id, how, markIt, Buffer);

  if (how != irpShowNothing) {
    const TColor cover = GetSelectedSlide(id) ? FColorSelected : FColorCover;
    SetPenBrush(C, cover, cover);
    C->Rectangle(X0, Y0, x1 + 1, y1 + 1);
    Frame(C, FOuterFrameStyle, X0, Y0, x1, y1);
  }
  switch (how) {
    case irpShowEmpty: {
      SetPenBrush(C, clBlack, clWhite);
      C->Rectangle(X0 + m, Y0 + m + 20, x1 - m, y1 - m - 20);
      const std::string text = std::to_string(id);
      C->Brush()->SetStyle(bsClear);
      C->Font()->SetColor(clBlack);
      const TSize ext = C->TextExtent(text);
      C->TextOut((X0 + x1) / 2 - ext.cx / 2, (Y0 + y1) / 2 - ext.cy / 2, text);
      break;
    }
    case irpShowSlide: {
      const int bw = Buffer->GetWidth(), bh = Buffer->GetHeight();
      if (bw <= 0 || bh <= 0) break;
      // Scaled into the square keeping the proportions, centred along the shorter side.
      int l = X0 + m, t = Y0 + m, pw = FSlideSize, ph = FSlideSize;
      if (bw < bh) {
        pw = RoundToInt(static_cast<double>(bw) * FSlideSize / bh);
        l += (FSlideSize - pw) / 2;
      } else {
        ph = RoundToInt(static_cast<double>(bh) * FSlideSize / bw);
        t += (FSlideSize - ph) / 2;
      }
      SetStretchBltMode(C, FAntiAlias ? HALFTONE : COLORONCOLOR);
      StretchBlt(C, l, t, pw, ph, Buffer->Canvas(), 0, 0, bw, bh, cmSrcCopy);
      SetStretchBltMode(C, COLORONCOLOR);
      // The frame's outer line lies just outside the picture.
      Frame(C, FInnerFrameStyle, l - 1, t - 1, l + pw, t + ph);
      break;
    }
    case irpShowFrameOnly:
    case irpShowNothing:
      break;
  }
  if (markIt >= 0 && markIt < kMarkCount) {
    C->Pen()->SetColor(FColorMark);
    DrawMarkOnCanvas(C, static_cast<uint8_t>(markIt), X0 + 10, Y0 + 12);
  }
  if (OnSlideRendered) OnSlideRendered(this, C, X0, Y0, id);
}

void TThumbnails::PaintFocus(TCanvas* C, int S, TColor Color) const {
  if (S < FMin || S > FMax) return;
  int x = 0, y = 0;
  CalcSlidePos(S, x, y);
  const int w = GetWidth(), h = GetHeight();
  const int left = x + 2, right = x + 2 * FSlideMargin + FSlideSize;
  const int top = std::max(y + 2, 2);
  const int bottom = std::min(h - 3, y + 2 * FSlideMargin + FSlideSize - 2);
  if (top > bottom || left > w) return;  // out of view
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Color);
  for (int k = 1; k <= FFocusLinewidth; ++k) {
    const int l = left + k - 1, t = top + k - 1, r = right - k - 1, b = bottom - k + 1;
    if (l > r || t > b) break;
    DrawRectangle(C, l, t, r, b);
  }
  SetPenBrush(C, FColorBackGnd, FColorBackGnd);
  C->Rectangle(2, 2, w - 2, kEdge);
  C->Rectangle(2, h - kEdge, w - 2, h - 2);
}

void TThumbnails::HiLite(int S) { PaintFocus(Canvas(), S, FColorFocus); }

void TThumbnails::ResetLastHiLite() {
  PaintFocus(Canvas(), FFocusedSlide,
             GetSelectedSlide(FFocusedSlide) ? FColorSelected : FColorCover);
}

}  // namespace qel

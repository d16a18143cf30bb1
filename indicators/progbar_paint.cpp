// Painting the progress bar: margins and inner area, background picture, the bar (solid or
// from the colour table) with its grid, the inner and outer frames and the value text, into an
// off-screen bitmap that is copied out in one step.
#include <algorithm>

#include "indicators/QEL_ProgBar.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

void SetPenBrush(TCanvas* C, TColor Color) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(Color);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
}

// A 64-bit bar coordinate brought into int range just outside the surface; the canvas clips.
int Near(int64_t V, int Extent) {
  return static_cast<int>(std::clamp<int64_t>(V, -2, int64_t{Extent} + 2));
}

void Polyline(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->Pen()->SetColor(Color);
  auto it = Points.begin();
  C->MoveTo(it->X, it->Y);
  for (++it; it != Points.end(); ++it) C->LineTo(it->X, it->Y);
}

}  // namespace

void TProgBar::Paint() {
  if (!GetVisible() && !IsDesigning()) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  RenderTo(off.Canvas());
  TCanvas* c = Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->Draw(0, 0, &off);
}

void TProgBar::RenderTo(TCanvas* C) {
  if (!C) return;
  PaintBackground(C);
  PaintBar(C);
  const int w = GetWidth(), h = GetHeight();
  PaintFrame(C, FFrameStyleInner, FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
  PaintFrame(C, FFrameStyleOuter, 0, 0, w, h);
  if (FTextVisible) PaintText(C);
}

void TProgBar::PaintBackground(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const TRect inner = Rect(FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
  SetPenBrush(C, FColorMargin);
  C->Rectangle(0, 0, w, h);
  SetPenBrush(C, FColorBackGnd);
  C->Rectangle(inner.Left, inner.Top, inner.Right, inner.Bottom);
  if (!FBackGroundImg.empty() && inner.Right > inner.Left && inner.Bottom > inner.Top) {
    C->SetCopyMode(cmSrcCopy);
    C->StretchDraw(inner, FBkgBitmap.get());
  }
}

void TProgBar::PaintBar(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const TProgBarRect r = BarRect();
  const int64_t n = r.Length;
  const bool vertical = FDirection == drUp || FDirection == drDown;
  if (n > 0 && r.Inner > 0) {
    if (!FShowColorGradient) {
      SetPenBrush(C, FColors[0]);
      C->Rectangle(Near(r.Left, w), Near(r.Top, h), Near(r.Right, w), Near(r.Bottom, h));
    } else {
      // One pixel line per step along the bar, counted from its starting edge; only the lines
      // that land on the surface are drawn (a value far above Max makes the bar huge).
      C->Pen()->SetStyle(psSolid);
      const int extent = vertical ? h : w;
      // Position of line e along the direction: start + sign * e.
      int64_t start = 0, sign = 1;
      switch (FDirection) {
        case drUp:
          start = r.Bottom - 1, sign = -1;
          break;
        case drDown:
          start = r.Top;
          break;
        case drLeft:
          start = r.Right - 1, sign = -1;
          break;
        case drRight:
        default:
          start = r.Left;
          break;
      }
      int64_t eFrom = 0, eTo = n - 1;
      if (sign > 0) {
        eFrom = std::max<int64_t>(eFrom, -start);
        eTo = std::min<int64_t>(eTo, extent - 1 - start);
      } else {
        eFrom = std::max<int64_t>(eFrom, start - (extent - 1));
        eTo = std::min<int64_t>(eTo, start);
      }
      const int a0 = vertical ? Near(r.Left, w) : Near(r.Top, h);
      const int a1 = vertical ? Near(r.Right, w) : Near(r.Bottom, h);
      for (int64_t e = eFrom; e <= eTo; ++e) {
        const int pos = static_cast<int>(start + sign * e);
        C->Pen()->SetColor(FColors[ProgBarColorIndex(FColorMapMode, e, n, r.Inner)]);
        if (vertical) {
          C->MoveTo(a0, pos);
          C->LineTo(a1, pos);
        } else {
          C->MoveTo(pos, a0);
          C->LineTo(pos, a1);
        }
      }
    }
  }
  if (FGridDist <= 1) return;
  // The grid lies over the filled part, at GridDist from the inner area's starting edge.
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(FColorGrid);
  const int64_t g = FGridDist;
  switch (FDirection) {
    case drUp:
      for (int64_t y = int64_t{h} - FMarginBottom - 1; y >= r.Top && y >= 0; y -= g) {
        if (y >= h) continue;
        C->MoveTo(Near(r.Left, w), static_cast<int>(y));
        C->LineTo(Near(r.Right, w), static_cast<int>(y));
      }
      break;
    case drDown:
      for (int64_t y = FMarginTop; y <= r.Bottom - 1 && y < h; y += g) {
        if (y < 0) continue;
        C->MoveTo(Near(r.Left, w), static_cast<int>(y));
        C->LineTo(Near(r.Right, w), static_cast<int>(y));
      }
      break;
    case drLeft:
      for (int64_t x = int64_t{w} - FMarginRight - 1; x >= r.Left - 1 && x >= 0; x -= g) {
        if (x >= w) continue;
        C->MoveTo(static_cast<int>(x), Near(r.Top, h));
        C->LineTo(static_cast<int>(x), Near(r.Bottom, h));
      }
      break;
    case drRight:
    default:
      for (int64_t x = FMarginLeft; x <= r.Right && x < w; x += g) {
        if (x < 0) continue;
        C->MoveTo(static_cast<int>(x), Near(r.Top, h));
        C->LineTo(static_cast<int>(x), Near(r.Bottom, h));
      }
      break;
  }
}

void TProgBar::PaintFrame(TCanvas* C, TFrameStyle Style, int L, int T, int R, int B) const {
  const TColor black = clBlack, dark = FFrameDark, light = FFrameLight;
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsClear);
  auto closing = [&](TColor Pen) {
    C->Pen()->SetColor(Pen);
    C->Rectangle(L, T, R - 1, B - 1);
    C->SetPixel(L, B - 1, FColorMargin);
    C->SetPixel(R - 1, T, FColorMargin);
  };
  switch (Style) {
    case fsSimple:
      C->Pen()->SetColor(dark);
      C->Rectangle(L, T, R, B);
      break;
    case fsLowered:
    case fsRaised: {
      const bool lowered = Style == fsLowered;
      Polyline(C, lowered ? black : light, {{L + 1, B - 3}, {L + 1, T + 1}, {R - 1, T + 1}});
      Polyline(C, lowered ? light : black, {{L + 1, B - 1}, {R - 1, B - 1}, {R - 1, T}});
      closing(dark);
      break;
    }
    case fsEmbossed:
      C->Pen()->SetColor(dark);
      C->Rectangle(L + 1, T + 1, R, B);
      closing(light);
      break;
    case fsEngraved:
      C->Pen()->SetColor(light);
      C->Rectangle(L + 1, T + 1, R, B);
      closing(dark);
      break;
    default:
      break;
  }
  C->Brush()->SetStyle(bsSolid);
}

void TProgBar::PaintText(TCanvas* C) {
  TFont* f = C->Font();
  f->Assign(GetFont());
  f->SetOrientation(FTextAngle * 10);
  f->SetCharset(1);  // DEFAULT_CHARSET
  f->SetPitch(fpDefault);
  f->SetQuality(fqDefault);
  C->Brush()->SetStyle(bsClear);
  const std::string text = ValueText();
  const TSize e = C->TextExtent(text);
  const TPoint o = ProgBarTextOrigin(FTextAlignment, FTextAngle, FTextPosX, FTextPosY,
                                     DivTrunc(e.cx, 2), DivTrunc(e.cy, 2));
  C->TextOut(o.X, o.Y, text);
  C->Brush()->SetStyle(bsSolid);
}

}  // namespace qel

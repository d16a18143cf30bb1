// Painting the progress bar: margins and inner area, background picture, the bar (solid or
// from the colour table) with its grid, the inner and outer frames and the value text.
#include <algorithm>

#include "indicators/QEL_ProgBar.h"
#include "indicators/paint_tools.h"
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

// Fills F except the part under Hole, which is painted over next.
void FillAround(TCanvas* C, const TRect& F, const TRect& Hole) {
  const TRect x = IntersectRect(F, Hole);
  if (x.IsEmpty()) {
    C->FillRect(F);
    return;
  }
  C->FillRect(Rect(F.Left, F.Top, F.Right, x.Top));
  C->FillRect(Rect(F.Left, x.Bottom, F.Right, F.Bottom));
  C->FillRect(Rect(F.Left, x.Top, x.Left, x.Bottom));
  C->FillRect(Rect(x.Right, x.Top, F.Right, x.Bottom));
}

}  // namespace

void TProgBar::Paint() {
  if (!GetVisible() && !IsDesigning()) return;
  if (GetWidth() <= 0 || GetHeight() <= 0) return;
  // The form's surface is already an off-screen buffer, shown only after the paint: drawing
  // there directly looks the same as drawing into a bitmap of our own and copying it over, and
  // saves writing every pixel twice.
  RenderTo(Canvas());
}

void TProgBar::RenderTo(TCanvas* C) {
  if (!C) return;
  ResetCanvasTools(C);
  const TProgBarRect bar = BarRect();
  PaintBackground(C, BarCover(bar));
  PaintBar(C, bar);
  const int w = GetWidth(), h = GetHeight();
  PaintFrame(C, FFrameStyleInner, FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
  PaintFrame(C, FFrameStyleOuter, 0, 0, w, h);
  if (FTextVisible) PaintText(C);
}

// The pixels the bar paints over whatever lies beneath (every one of them, solid or from the
// table), within the control; empty when there is no bar.
TRect TProgBar::BarCover(const TProgBarRect& R) const {
  const int w = GetWidth(), h = GetHeight();
  if (R.Length <= 0 || R.Inner <= 0 || R.Left >= R.Right || R.Top >= R.Bottom) return {};
  return IntersectRect(Rect(Near(R.Left, w), Near(R.Top, h), Near(R.Right, w), Near(R.Bottom, h)),
                       Rect(0, 0, w, h));
}

void TProgBar::PaintBackground(TCanvas* C, const TRect& Cover) const {
  const int w = GetWidth(), h = GetHeight();
  const TRect inner = Rect(FMarginLeft, FMarginTop, w - FMarginRight, h - FMarginBottom);
  SetPenBrush(C, FColorMargin);
  const bool plain = FBackGroundImg.empty();
  if (inner.Left >= 0 && inner.Top >= 0 && inner.Left < inner.Right && inner.Top < inner.Bottom &&
      inner.Right <= w && inner.Bottom <= h) {
    // Each pixel is written once: the margins around the inner area, and without a picture
    // neither goes under the bar, which paints its own pixels next.
    const TRect hole = plain ? Cover : TRect{};
    FillAround(C, Rect(0, 0, w, inner.Top), hole);
    FillAround(C, Rect(0, inner.Bottom, w, h), hole);
    FillAround(C, Rect(0, inner.Top, inner.Left, inner.Bottom), hole);
    FillAround(C, Rect(inner.Right, inner.Top, w, inner.Bottom), hole);
    SetPenBrush(C, FColorBackGnd);
    FillAround(C, inner, hole);
  } else {
    C->Rectangle(0, 0, w, h);
    SetPenBrush(C, FColorBackGnd);
    C->Rectangle(inner.Left, inner.Top, inner.Right, inner.Bottom);
  }
  if (!plain && inner.Right > inner.Left && inner.Bottom > inner.Top) {
    C->SetCopyMode(cmSrcCopy);
    C->StretchDraw(inner, FBkgBitmap.get());
  }
}

void TProgBar::PaintBar(TCanvas* C, const TProgBarRect& r) const {
  if (FDirection == drUp || FDirection == drDown)
    PaintBarRows(C, r);
  else
    PaintBarColumns(C, r);
}

// Line e of the bar (0 at the starting edge) lies at Start + Sign * e along the direction; the
// range of e that lands inside 0..Extent - 1.
namespace {
struct TLineRun {
  int64_t Start = 0, Sign = 1, From = 0, To = -1;
};
TLineRun VisibleLines(int64_t Start, int64_t Sign, int64_t N, int Extent) {
  TLineRun run{Start, Sign, 0, N - 1};
  if (Sign > 0) {
    run.From = std::max<int64_t>(run.From, -Start);
    run.To = std::min<int64_t>(run.To, Extent - 1 - Start);
  } else {
    run.From = std::max<int64_t>(run.From, Start - (Extent - 1));
    run.To = std::min<int64_t>(run.To, Start);
  }
  return run;
}
}  // namespace

// Upwards and downwards every pixel row of the bar has one colour: each is one span fill.
void TProgBar::PaintBarRows(TCanvas* C, const TProgBarRect& R) const {
  const int w = GetWidth(), h = GetHeight();
  const int x0 = Near(R.Left, w), x1 = Near(R.Right, w);
  C->Brush()->SetStyle(bsSolid);
  if (R.Length > 0 && R.Inner > 0) {
    if (!FShowColorGradient) {
      SetPenBrush(C, FColors[0]);
      C->Rectangle(x0, Near(R.Top, h), x1, Near(R.Bottom, h));
    } else {
      const TLineRun run = FDirection == drUp ? VisibleLines(R.Bottom - 1, -1, R.Length, h)
                                              : VisibleLines(R.Top, 1, R.Length, h);
      for (int64_t e = run.From; e <= run.To; ++e) {
        const int y = static_cast<int>(run.Start + run.Sign * e);
        C->Brush()->SetColor(FColors[ProgBarColorIndex(FColorMapMode, e, R.Length, R.Inner)]);
        C->FillRect(Rect(x0, y, x1, y + 1));
      }
    }
  }
  if (FGridDist <= 1) return;
  // The grid lies over the filled part, every GridDist rows from the inner area's starting edge.
  C->Brush()->SetColor(FColorGrid);
  const int64_t g = FGridDist;
  if (FDirection == drUp) {
    for (int64_t y = int64_t{h} - FMarginBottom - 1; y >= R.Top && y >= 0; y -= g)
      if (y < h) C->FillRect(Rect(x0, static_cast<int>(y), x1, static_cast<int>(y) + 1));
  } else {
    for (int64_t y = FMarginTop; y <= R.Bottom - 1 && y < h; y += g)
      if (y >= 0) C->FillRect(Rect(x0, static_cast<int>(y), x1, static_cast<int>(y) + 1));
  }
}

// To the right and to the left every pixel row of the bar is the same: the first visible row is
// set pixel by pixel (bar colour, then the grid) and copied down, doubling the rows each time.
void TProgBar::PaintBarColumns(TCanvas* C, const TProgBarRect& R) const {
  const int w = GetWidth(), h = GetHeight();
  const bool right = FDirection != drLeft;
  const int64_t g = FGridDist > 1 ? FGridDist : 0;
  // The grid columns: from the inner area's starting edge every g pixels, up to one pixel past
  // the bar's leading end.
  const int64_t gridStart = right ? FMarginLeft : int64_t{w} - FMarginRight - 1;
  auto onGrid = [&](int64_t X) {
    if (g == 0) return false;
    if (right) return X >= gridStart && X <= R.Right && (X - gridStart) % g == 0;
    return X <= gridStart && X >= R.Left - 1 && (gridStart - X) % g == 0;
  };
  const int y0 = Near(R.Top, h), y1 = Near(R.Bottom, h);
  const int ys = std::max(0, y0), ye = std::min(h, y1);
  int xs = 0, xe = 0;  // the columns set here; none without a bar
  if (R.Length > 0 && R.Inner > 0 && ys < ye) {
    const TLineRun run =
        right ? VisibleLines(R.Left, 1, R.Length, w) : VisibleLines(R.Right - 1, -1, R.Length, w);
    if (run.From <= run.To) {
      const int64_t a = run.Start + run.Sign * run.From, b = run.Start + run.Sign * run.To;
      xs = static_cast<int>(std::min(a, b));
      xe = static_cast<int>(std::max(a, b)) + 1;
      TBitmap row(xe - xs, 1);
      TPixel* px = row.ScanLine(0);
      for (int64_t e = run.From; e <= run.To; ++e) {
        const int64_t x = run.Start + run.Sign * e;
        const TColor c = onGrid(x) ? FColorGrid
                         : FShowColorGradient
                             ? FColors[ProgBarColorIndex(FColorMapMode, e, R.Length, R.Inner)]
                             : FColors[0];
        px[x - xs] = ColorToPixel(c);
      }
      // Stretched by whole pixels, the one row becomes every row unchanged.
      const int mode = SetStretchBltMode(C, COLORONCOLOR);
      C->SetCopyMode(cmSrcCopy);
      C->StretchDraw(Rect(xs, ys, xe, ye), &row);
      SetStretchBltMode(C, mode);
    }
  }
  if (g == 0) return;
  // Grid columns beside the bar (the one past its leading end, or all of them without a bar).
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(FColorGrid);
  for (int64_t x = gridStart; right ? (x <= R.Right && x < w) : (x >= R.Left - 1 && x >= 0);
       x += right ? g : -g) {
    if (x < 0 || x >= w || (x >= xs && x < xe)) continue;
    C->FillRect(Rect(static_cast<int>(x), y0, static_cast<int>(x) + 1, y1));
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

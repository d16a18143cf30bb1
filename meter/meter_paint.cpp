// Painting the meter: background, bands, scale, caption, needles, rim covers, bevel and anchor,
// lamps, frame, in that order, into an off-screen bitmap that is copied out in one step.
#include <algorithm>
#include <array>
#include <cmath>

#include "meter/QEL_Meter.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

constexpr double kDegPerRad = 57.29577951308232;

void SetPenBrush(TCanvas* C, TColor Color) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(Color);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
}

void Line(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(Color);
  auto it = Points.begin();
  C->MoveTo(it->X, it->Y);
  for (++it; it != Points.end(); ++it) C->LineTo(it->X, it->Y);
}

// Continues the pen from where it stands.
void LineOn(TCanvas* C, TColor Color, std::initializer_list<TPoint> Points) {
  C->Pen()->SetColor(Color);
  for (const TPoint& p : Points) C->LineTo(p.X, p.Y);
}

// The direction point of a band or arc end: taken at radius R, each offset rounded on its own.
TPoint DirectionPoint(const TMeterGeometry& G, double PhiRad) {
  return {RoundToInt(std::cos(PhiRad) * G.R) + G.CX, G.CY - RoundToInt(std::sin(PhiRad) * G.R)};
}

// A box holding the sector of radius Radius swept counter-clockwise from From to To (radians),
// with room for the rounding of its direction points. The canvas tests every pixel of its clip
// against a sector, so clipping to this box saves most of the work and changes no pixel.
TRect SectorBox(const TMeterGeometry& G, int Radius, double From, double To) {
  constexpr double kTwoPi = 2 * 3.14159265358979323846;
  double sweep = std::fmod(To - From, kTwoPi);
  if (sweep < 0) sweep += kTwoPi;
  if (sweep < 1e-9) sweep = kTwoPi;   // the same direction twice is a full turn
  double l = 0, t = 0, r = 0, b = 0;  // relative to the centre, y up; the centre is inside
  auto take = [&](double a) {
    const double x = std::cos(a) * Radius, y = std::sin(a) * Radius;
    l = std::min(l, x);
    r = std::max(r, x);
    b = std::min(b, y);
    t = std::max(t, y);
  };
  take(From);
  take(From + sweep);
  const double start = std::ceil(From / (kTwoPi / 4));
  for (double k = start; k * (kTwoPi / 4) <= From + sweep; k += 1) take(k * (kTwoPi / 4));
  return Rect(G.CX + RoundToInt(l) - 2, G.CY - RoundToInt(t) - 2, G.CX + RoundToInt(r) + 3,
              G.CY - RoundToInt(b) + 3);
}

}  // namespace

void TMeter::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (!(FGeometry.R > 0) || w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  RenderTo(off.Canvas());
  TCanvas* c = Canvas();
  c->SetCopyMode(cmSrcCopy);
  c->Draw(0, 0, &off);
}

void TMeter::RenderTo(TCanvas* C) {
  if (!(FGeometry.R > 0) || !C) return;
  PaintBackground(C);
  if (FScaleBkVisible) PaintBands(C);
  C->Brush()->SetStyle(bsClear);
  if (FScaleVisible) PaintScale(C);

  // Caption, shown also when the scale is hidden.
  const std::string& caption = GetCaption();
  if (!caption.empty()) {
    C->Font()->Assign(FFontCaption.get());
    C->Brush()->SetStyle(bsClear);
    const TSize ext = C->TextExtent(caption);
    C->TextOut(FGeometry.CX - DivTrunc(ext.cx, 2),
               FGeometry.CY - RoundToInt(FGeometry.R / 3) - DivTrunc(ext.cy, 2), caption);
  }

  // The second needle lies beneath the main one.
  if (FNeedleLayoutSec->GetVisible()) PaintNeedle(C, *FNeedleLayoutSec, FValueSec);
  bool needleDrawn = false;
  if (OnBeforeDrawNeedle) OnBeforeDrawNeedle(this, C, needleDrawn);
  if (!needleDrawn) PaintNeedle(C, *FNeedleLayout, FValue);

  PaintCoversAndAnchor(C);
  PaintLamps(C);
  if (OnMeterRendered) OnMeterRendered(this, C);
  PaintFrame(C);
}

void TMeter::PaintBackground(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  if (FBackGroundImg.empty()) {
    C->Font()->Assign(GetFont());
    SetPenBrush(C, FColorBakG);
    C->Rectangle(0, 0, w, h);
    return;
  }
  const int bw = FBkgBitmap->GetWidth(), bh = FBkgBitmap->GetHeight();
  C->SetCopyMode(cmSrcCopy);
  switch (FBkgndFillMode) {
    case bfSimple:
      C->Rectangle(0, 0, w, h);
      C->StretchDraw(Rect(0, 0, bw, bh), FBkgBitmap.get());
      break;
    case bfStretch:
      C->StretchDraw(Rect(0, 0, w, h), FBkgBitmap.get());
      break;
    case bfTile: {
      if (bw <= 0 || bh <= 0) break;  // an empty picture has nothing to tile
      const int nx = DivTrunc(w - 1, bw) + 1, ny = DivTrunc(h - 1, bh) + 1;
      for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j)
          C->StretchDraw(Rect(bw * (i - 1), bh * (j - 1), bw * i, bh * j), FBkgBitmap.get());
      break;
    }
    default:
      break;
  }
}

void TMeter::PaintBands(TCanvas* C) const {
  const TMeterGeometry& g = FGeometry;
  const TMeterScale s = Scale();
  const double phiS = (90.0 + g.A / 2.0) / kDegPerRad;
  const double phiE = (90.0 - g.A / 2.0) / kDegPerRad;
  const double phiLow = MeterDrawAngle(g, s, FThresholdLow) / kDegPerRad;
  const double phiHigh = MeterDrawAngle(g, s, FThresholdHigh) / kDegPerRad;
  const int rOut = BandOuterRadius(), rIn = BandInnerRadius();
  auto band = [&](TColor Color, double From, double To) {
    if (!(std::fabs(From - To) > 1e-6)) return;
    SetPenBrush(C, Color);
    const TPoint a = DirectionPoint(g, From), b = DirectionPoint(g, To);
    const TRect saved = C->GetClipRect();
    const TRect box = IntersectRect(saved, SectorBox(g, rOut, From, To));
    // The inner disc painted next covers the square inscribed in it, so that part of the pie
    // need not be filled: the box is painted as up to four strips round it.
    const int h = TruncToInt(rIn / 1.41421356237) - 2;
    std::array<TRect, 4> parts{box};
    if (h > 4) {
      const TRect hole = Rect(g.CX - h, g.CY - h, g.CX + h, g.CY + h);
      parts = {Rect(box.Left, box.Top, box.Right, std::min(box.Bottom, hole.Top)),
               Rect(box.Left, std::max(box.Top, hole.Bottom), box.Right, box.Bottom),
               Rect(box.Left, std::max(box.Top, hole.Top), std::min(box.Right, hole.Left),
                    std::min(box.Bottom, hole.Bottom)),
               Rect(std::max(box.Left, hole.Right), std::max(box.Top, hole.Top), box.Right,
                    std::min(box.Bottom, hole.Bottom))};
    }
    for (const TRect& part : parts) {
      if (part.IsEmpty()) continue;
      C->SetClipRect(part);
      C->Pie(g.CX - rOut, g.CY - rOut, g.CX + rOut + 1, g.CY + rOut, a.X, a.Y, b.X, b.Y);
    }
    C->SetClipRect(saved);
  };
  band(FColorSclBkLow, phiLow, phiS);
  band(FColorSclBkNorm, phiHigh, phiLow);
  band(FColorSclBkHigh, phiE, phiHigh);
  SetPenBrush(C, FColorBakG);
  C->Ellipse(g.CX - rIn, g.CY - rIn, g.CX + rIn + 1, g.CY + rIn);
}

void TMeter::PaintScale(TCanvas* C) {
  const TMeterGeometry& g = FGeometry;
  const TMeterScale s = Scale();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(FColorScale);
  C->Brush()->SetStyle(bsClear);
  if (FMeterScaleLine) {
    const int ri = RoundToInt(g.R);
    const TPoint a = DirectionPoint(g, (90.0 - g.A / 2.0) / kDegPerRad);
    const TPoint b = DirectionPoint(g, (90.0 + g.A / 2.0) / kDegPerRad);
    // A full circle starts and ends in one direction, which the arc primitive reads as a
    // full turn.
    C->Arc(g.CX - ri, g.CY - ri, g.CX + ri + 1, g.CY + ri, a.X, a.Y, b.X, b.Y);
  }

  const std::vector<TScaleTick> ticks = MeterScaleTicks(s, FNrTicks, FShortTicks);
  for (const TScaleTick& t : ticks) {
    const double phi = MeterDrawAngle(g, s, t.Value);
    const TPoint p0 = MeterPolarPoint(g, phi, g.R);
    const TPoint p1 = MeterPolarPoint(g, phi, g.R - (t.Major ? 8 : 4));
    C->MoveTo(p0.X, p0.Y);
    C->LineTo(p1.X, p1.Y);
  }

  // Labels, measured against the widest text the scale can carry: its maximum.
  C->Font()->Assign(GetFont());
  const int decimals = CalcM(FDecPlaces, FMaxValue, FMinValue);
  const TSize maxExt = C->TextExtent(MeterLabelText(FMaxValue, decimals));
  const double lx = maxExt.cx / 2.0 + 15, ly = maxExt.cy / 2.0 + 15;
  // On a full circle the end of the scale falls on its start: one label there is enough.
  bool startLabelled = false;
  for (const TScaleTick& t : ticks) {
    if (!t.Labelled) continue;
    const double f = MeterFraction(s, t.Value);
    if (g.A >= 360 && f >= 1 - 1e-9 && startLabelled) continue;
    if (f <= 1e-9) startLabelled = true;
    const double phi = MeterDrawAngle(g, s, t.Value) / kDegPerRad;
    const int cx = RoundToInt(std::cos(phi) * (g.R - lx) + g.CX);
    const int cy = RoundToInt(g.CY - std::sin(phi) * (g.R - ly));
    std::string text = MeterLabelText(t.Value, decimals);
    if (OnBeforeDrawScaleLabel) {
      const TSize e = C->TextExtent(text);
      OnBeforeDrawScaleLabel(this, C, text, cx - DivTrunc(e.cx, 2), cy - DivTrunc(e.cy, 2));
    }
    if (text.empty()) continue;
    const TSize e = C->TextExtent(text);
    C->Brush()->SetStyle(bsClear);
    C->TextOut(cx - DivTrunc(e.cx, 2), cy - DivTrunc(e.cy, 2), text);
  }
}

void TMeter::PaintNeedle(TCanvas* C, const TNeedleLayout& L, double Value) const {
  TNeedlePoints pts = NeedlePoints(L, Value);
  const int dx = L.GetShadowDx(), dy = L.GetShadowDy();
  if (dx != 0 || dy != 0) {
    TNeedlePoints shadow = pts;
    for (TPoint& p : shadow) p = {p.X - dx, p.Y - dy};
    SetPenBrush(C, L.GetShadowColor());
    C->Polygon(shadow);
  }
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(L.GetColorOutline());
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(L.GetColorBody());
  C->Polygon(pts);
}

void TMeter::PaintCoversAndAnchor(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const int rs = FRimSide, rt = FRimTop, rb = FRimBottom;
  const int cx = FGeometry.CX, cy = FGeometry.CY, as = FAnchorSize;
  SetPenBrush(C, FColorCover);
  C->Rectangle(0, 0, rs - 1, h);
  C->Rectangle(0, 0, w, rt);
  C->Rectangle(w - rs, 0, w, h);
  C->Rectangle(0, h - rb, w, h);

  auto bevel = [&] {
    Line(C, clWhite, {{rs - 1, h - rb}, {w - rs, h - rb}, {w - rs, rt}});
    LineOn(C, clGray, {{rs - 1, rt}, {rs - 1, h - rb}});
  };

  if (!FAnchorCovered) {
    bevel();
    return;
  }
  if (!FAnchorImage.empty()) {
    bevel();
    const int bw = FAnchorBitmap->GetWidth(), bh = FAnchorBitmap->GetHeight();
    const int x = cx - DivTrunc(bw, 2), y = cy - DivTrunc(bh, 2);
    const TCopyMode saved = C->GetCopyMode();
    C->SetCopyMode(cmSrcAnd);
    C->Draw(x, y, FAnchorMask.get());
    C->SetCopyMode(cmSrcPaint);
    C->Draw(x, y, FAnchorBitmap.get());
    C->SetCopyMode(saved);
    return;
  }
  if (FMeterLayout == mlCirc270 || FMeterLayout == mlCirc300 || FMeterLayout == mlCirc360) {
    // A round cap over a pivot inside the dial, lit from the upper left.
    SetPenBrush(C, FColorCover);
    C->Ellipse(cx - as, cy - as, cx + as, cy + as);
    bevel();
    C->Pen()->SetColor(clWhite);
    C->Arc(cx - as, cy - as, cx + as, cy + as, cx + as, cy - as, cx - as, cy + as);
    C->Pen()->SetColor(clGray);
    C->Arc(cx - as, cy - as, cx + as, cy + as, cx - as, cy + as, cx + as, cy - as);
    return;
  }
  // A half disc on a stem down to the bottom rim, for a pivot near the bottom.
  SetPenBrush(C, FColorCover);
  C->Pie(cx - as, cy - as, cx + as, cy + as, w, cy, 0, cy);
  C->Rectangle(cx - as, cy, cx + as, h - rb);
  Line(C, clGray, {{cx + as - 1, cy}, {cx + as - 1, h - rb}});
  LineOn(C, clWhite, {{w - rs, h - rb}, {w - rs, rt}});
  LineOn(C, clGray, {{rs - 1, rt}, {rs - 1, h - rb}});
  LineOn(C, clWhite, {{cx - as, h - rb}, {cx - as, cy - 1}});
  C->Pen()->SetColor(clWhite);
  C->Arc(cx - as, cy - as, cx + as, cy + as, w, cy, 0, cy);
  C->Pen()->SetColor(clGray);
  C->Arc(cx - as, cy - as, cx + as, cy + as, cx + as, cy, cx + as, cy - as);
}

void TMeter::PaintLamps(TCanvas* C) const {
  const int w = GetWidth(), rs = FRimSide, rt = FRimTop;
  auto lamp = [&](const TRect& R, bool Active) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Active ? FLimWatchActColor : FLimWatchPsvColor);
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(clBlack);
    C->Rectangle(R);
  };
  if (FLimWatchHighOn) {
    const int r = w - rs;
    lamp(HighLampRect(), FOverflow);
    Line(C, clWhite, {{r - 17, rt + 17}, {r - 9, rt + 17}, {r - 9, rt + 8}});
    Line(C, clSilver, {{r - 16, rt + 16}, {r - 10, rt + 16}, {r - 10, rt + 9}});
    Line(C, clGray, {{r - 17, rt + 16}, {r - 17, rt + 9}, {r - 9, rt + 9}});
  }
  if (FLimWatchLowOn) {
    lamp(LowLampRect(), FUnderflow);
    Line(C, clWhite, {{rs + 9, rt + 17}, {rs + 17, rt + 17}, {rs + 17, rt + 8}});
    Line(C, clSilver, {{rs + 10, rt + 16}, {rs + 16, rt + 16}, {rs + 16, rt + 9}});
    Line(C, clGray, {{rs + 9, rt + 16}, {rs + 9, rt + 9}, {rs + 17, rt + 9}});
  }
}

void TMeter::PaintFrame(TCanvas* C) const {
  const int w = GetWidth(), h = GetHeight();
  const TColor dark = FFrameDark, light = FFrameLight;
  switch (FFrameStyle) {
    case fsSimple:
      Line(C, FColorBakG, {{0, h - 1}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}});
      break;
    case fsLowered:
      Line(C, dark, {{0, h - 1}, {0, 0}, {w - 1, 0}});
      LineOn(C, light, {{w - 1, h - 1}, {0, h - 1}});
      break;
    case fsRaised:
      Line(C, light, {{0, h - 1}, {0, 0}, {w - 1, 0}});
      LineOn(C, dark, {{w - 1, h - 1}, {0, h - 1}});
      break;
    case fsEmbossed:
    case fsEngraved: {
      const TColor a = FFrameStyle == fsEmbossed ? light : dark;
      const TColor b = FFrameStyle == fsEmbossed ? dark : light;
      Line(C, a, {{0, 0}, {w - 2, 0}, {w - 2, h - 2}, {0, h - 2}, {0, 0}});
      Line(C, b, {{1, h - 3}, {1, 1}, {w - 2, 1}});
      Line(C, b, {{1, h - 1}, {w - 1, h - 1}, {w - 1, 0}});
      break;
    }
    default:
      break;
  }
}

}  // namespace qel

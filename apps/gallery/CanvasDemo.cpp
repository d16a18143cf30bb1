#include "apps/gallery/CanvasDemo.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

constexpr int kCols = 4, kRows = 4;

void ResetTools(TCanvas* C) {
  C->Pen()->SetColor(clBlack);
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  C->Brush()->SetColor(clWhite);
  C->Brush()->SetStyle(bsSolid);
  C->SetCopyMode(cmSrcCopy);
  C->SetStretchBltMode(COLORONCOLOR);
}

// A cell with a caption; returns the drawing area below the caption.
TRect Cell(TCanvas* C, int Index, int Width, int Height, const std::string& Caption) {
  const int cw = Width / kCols, ch = Height / kRows;
  TRect r = Bounds((Index % kCols) * cw, (Index / kCols) * ch, cw, ch);
  C->ResetClipRect();
  ResetTools(C);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(r.Inflate(-4, -4));
  C->Brush()->SetColor(clBtnShadow);
  C->FrameRect(r.Inflate(-4, -4));
  // Each cell keeps its drawing to itself, whatever the page size.
  C->SetClipRect(r.Inflate(-5, -5));
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(clWindowText);
  C->TextOut(r.Left + 10, r.Top + 8, Caption);
  ResetTools(C);
  return {r.Left + 10, r.Top + 28, r.Right - 10, r.Bottom - 10};
}

// In 64 bits: a page may be two thousand million pixels wide.
TPoint Centre(const TRect& R) {
  return {static_cast<int>((int64_t(R.Left) + R.Right) / 2),
          static_cast<int>((int64_t(R.Top) + R.Bottom) / 2)};
}

// Saturates at the int range instead of wrapping.
TPoint OnCircle(TPoint C, double Radius, double Angle) {
  return {RoundToInt(C.X + Radius * std::cos(Angle)), RoundToInt(C.Y - Radius * std::sin(Angle))};
}

void MakeGradient(TBitmap& b, int W, int H) {
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      b.ScanLine(y)[x] = (static_cast<TPixel>(255 * x / std::max(1, W - 1)) << 16) |
                         (static_cast<TPixel>(255 * y / std::max(1, H - 1)) << 8) |
                         ((x / 4 + y / 4) % 2 ? 0xC0u : 0x40u);
}

}  // namespace

void DrawCanvasDemo(TCanvas* C, int Width, int Height) {
  ResetTools(C);
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(0, 0, Width, Height));
  int cell = 0;

  {  // lines in every direction
    TRect r = Cell(C, cell++, Width, Height, "LineTo octants");
    TPoint c = Centre(r);
    const int radius = std::min(r.Width(), r.Height()) / 2 - 2;
    for (int i = 0; i < 24; ++i) {
      C->Pen()->SetColor(i % 2 ? clNavy : clMaroon);
      C->MoveTo(c.X, c.Y);
      TPoint p = OnCircle(c, radius, i * M_PI / 12);
      C->LineTo(p.X, p.Y);
    }
  }
  {  // pen styles and widths
    TRect r = Cell(C, cell++, Width, Height, "Pen styles");
    const TPenStyle styles[] = {psSolid, psDash, psDot, psDashDot, psDashDotDot};
    int y = r.Top + 4;
    C->Brush()->SetStyle(bsClear);
    for (TPenStyle s : styles) {
      C->Pen()->SetStyle(s);
      C->MoveTo(r.Left, y);
      C->LineTo(r.Right, y);
      y += 10;
    }
    C->Pen()->SetStyle(psSolid);
    for (int w : {2, 4, 7}) {
      C->Pen()->SetWidth(w);
      C->Pen()->SetColor(clTeal);
      C->MoveTo(r.Left + 6, y + 4);
      C->LineTo(r.Right - 6, y + 4);
      y += w + 8;
    }
  }
  {  // rectangles
    TRect r = Cell(C, cell++, Width, Height, "Rectangles");
    C->Brush()->SetColor(clYellow);
    C->Rectangle(r.Left, r.Top, r.Left + 70, r.Top + 50);
    C->Pen()->SetWidth(5);
    C->Pen()->SetColor(clGreen);
    C->Brush()->SetColor(clLime);
    C->Rectangle(r.Left + 90, r.Top + 5, r.Right - 5, r.Top + 50);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clPurple);
    C->Brush()->SetColor(clFuchsia);
    C->RoundRect(r.Left, r.Top + 62, r.Left + 80, r.Bottom, 24, 24);
    C->Pen()->SetStyle(psDot);
    C->Brush()->SetColor(clSkyBlue);
    C->RoundRect(r.Left + 90, r.Top + 62, r.Right - 5, r.Bottom, 40, 20);
  }
  {  // ellipses
    TRect r = Cell(C, cell++, Width, Height, "Ellipse");
    C->Brush()->SetColor(clAqua);
    C->Ellipse(r.Left, r.Top, r.Left + 80, r.Bottom);
    C->Pen()->SetWidth(4);
    C->Pen()->SetColor(clBlue);
    C->Brush()->SetColor(clCream);
    C->Ellipse(r.Left + 90, r.Top + 4, r.Right - 4, r.Top + 60);
    C->Pen()->SetWidth(1);
    C->Pen()->SetColor(clRed);
    C->Brush()->SetStyle(bsClear);
    for (int k = 0; k < 5; ++k)
      C->Ellipse(r.Left + 95 + 4 * k, r.Top + 66 + 2 * k, r.Right - 4 * k, r.Bottom - 2 * k);
  }
  {  // arc, pie, chord
    TRect r = Cell(C, cell++, Width, Height, "Arc, Pie, Chord");
    const int w = r.Width() / 3 - 4, h = std::min(w, r.Height());
    TRect a = Bounds(r.Left, r.Top + 10, w, h), p = a.Offset(w + 6, 0), ch = p.Offset(w + 6, 0);
    C->Pen()->SetWidth(2);
    C->Arc(a.Left, a.Top, a.Right, a.Bottom, a.Right, a.Top, a.Left, a.Bottom);
    C->Pen()->SetWidth(1);
    C->Brush()->SetColor(clRed);
    C->Pie(p.Left, p.Top, p.Right, p.Bottom, p.Right, Centre(p).Y, Centre(p).X, p.Top);
    C->Brush()->SetColor(clYellow);
    C->Pie(p.Left, p.Top, p.Right, p.Bottom, Centre(p).X, p.Top, p.Right, Centre(p).Y);
    C->Brush()->SetColor(clLime);
    C->Chord(ch.Left, ch.Top, ch.Right, ch.Bottom, ch.Right, ch.Top, ch.Left, ch.Top + h / 3);
  }
  {  // polygons
    TRect r = Cell(C, cell++, Width, Height, "Polygons");
    TPoint c = Centre(r);
    c.X -= r.Width() / 4;
    const int radius = std::min(r.Width() / 4, r.Height() / 2) - 2;
    std::vector<TPoint> star;
    for (int i = 0; i < 5; ++i) star.push_back(OnCircle(c, radius, M_PI / 2 + i * 4 * M_PI / 5));
    C->Brush()->SetColor(clOlive);
    C->Polygon(star);
    TPoint d{c.X + r.Width() / 2, c.Y};
    std::vector<TPoint> rings = {
        {d.X - radius, d.Y - radius},         {d.X + radius, d.Y - radius},
        {d.X + radius, d.Y + radius},         {d.X - radius, d.Y + radius},
        {d.X - radius, d.Y - radius},         {d.X - radius / 2, d.Y - radius / 2},
        {d.X - radius / 2, d.Y + radius / 2}, {d.X + radius / 2, d.Y + radius / 2},
        {d.X + radius / 2, d.Y - radius / 2}, {d.X - radius / 2, d.Y - radius / 2}};
    C->Brush()->SetColor(clNavy);
    C->Pen()->SetColor(clRed);
    C->Polygon(rings);
  }
  {  // hatch brushes
    TRect r = Cell(C, cell++, Width, Height, "Hatches");
    const TBrushStyle hatches[] = {bsHorizontal, bsVertical, bsFDiagonal,
                                   bsBDiagonal,  bsCross,    bsDiagCross};
    const int w = r.Width() / 3, h = r.Height() / 2;
    for (int i = 0; i < 6; ++i) {
      C->Brush()->SetColor(i % 2 ? clMaroon : clNavy);
      C->Brush()->SetStyle(hatches[i]);
      C->Rectangle(Bounds(r.Left + (i % 3) * w, r.Top + (i / 3) * h, w - 6, h - 6));
    }
  }
  {  // pen modes
    TRect r = Cell(C, cell++, Width, Height, "Pen modes");
    C->Brush()->SetColor(clRed);
    C->FillRect(Rect(r.Left, r.Top, Centre(r).X, r.Bottom));
    C->Brush()->SetColor(clBlue);
    C->FillRect(Rect(Centre(r).X, r.Top, r.Right, r.Bottom));
    const TPenMode modes[] = {pmXor, pmNot, pmMask, pmMerge, pmNotXor};
    C->Pen()->SetWidth(6);
    C->Pen()->SetColor(clLime);
    int y = r.Top + 10;
    for (TPenMode m : modes) {
      C->Pen()->SetMode(m);
      C->MoveTo(r.Left + 10, y);
      C->LineTo(r.Right - 10, y);
      y += (r.Height() - 20) / 5;
    }
  }
  {  // flood fill
    TRect r = Cell(C, cell++, Width, Height, "FloodFill");
    C->Brush()->SetColor(clWhite);
    C->Ellipse(r.Left, r.Top, Centre(r).X - 4, r.Bottom);
    C->MoveTo(r.Left, Centre(r).Y);
    C->LineTo(Centre(r).X - 4, Centre(r).Y);
    C->Brush()->SetColor(clMoneyGreen);
    C->FloodFill(r.Left + r.Width() / 4, r.Top + 8, clWhite, fsSurface);
    C->Brush()->SetColor(clWhite);
    C->Rectangle(Centre(r).X + 4, r.Top, r.Right, r.Bottom);
    C->Ellipse(Centre(r).X + 14, r.Top + 10, r.Right - 10, r.Bottom - 10);
    C->Brush()->SetColor(clSkyBlue);
    C->FloodFill(Centre(r).X + 8, r.Top + 4, clBlack, fsBorder);
  }
  TBitmap sprite;
  MakeGradient(sprite, 40, 40);
  {  // copy modes
    TRect r = Cell(C, cell++, Width, Height, "Copy modes");
    const TCopyMode modes[] = {cmSrcCopy,   cmSrcAnd,     cmSrcPaint,
                               cmSrcInvert, cmNotSrcCopy, cmDstInvert};
    C->Brush()->SetColor(clYellow);
    C->FillRect(r);
    C->Brush()->SetColor(clPurple);
    C->FillRect(Rect(r.Left, Centre(r).Y, r.Right, r.Bottom));
    for (int i = 0; i < 6; ++i) {
      C->SetCopyMode(modes[i]);
      C->Draw(r.Left + (i % 3) * (r.Width() / 3), r.Top + (i / 3) * (r.Height() / 2) + 4, &sprite);
    }
  }
  {  // stretching
    TRect r = Cell(C, cell++, Width, Height, "Stretching");
    TBitmap big;
    MakeGradient(big, 160, 160);
    const int side = std::min(r.Width() / 2 - 6, r.Height());
    C->SetStretchBltMode(COLORONCOLOR);
    C->StretchDraw(Bounds(r.Left, r.Top, side, side), &sprite);
    C->SetStretchBltMode(HALFTONE);
    C->StretchDraw(Bounds(r.Left + side + 8, r.Top, side / 2, side / 2), &big);
    C->SetStretchBltMode(COLORONCOLOR);
    StretchBlt(C, r.Left + side + 8 + side / 2, r.Top + side / 2, -side / 2, side / 2, C,
               r.Left + side + 8, r.Top, side / 2, side / 2, cmSrcCopy);  // mirrored copy
  }
  {  // transparent bitmaps
    TRect r = Cell(C, cell++, Width, Height, "Transparency");
    C->Brush()->SetColor(clSilver);
    C->Brush()->SetStyle(bsDiagCross);
    C->FillRect(r);
    TBitmap mark(32, 32);
    mark.Canvas()->Brush()->SetColor(clFuchsia);
    mark.Canvas()->FillRect(Rect(0, 0, 32, 32));
    mark.Canvas()->Brush()->SetColor(clRed);
    mark.Canvas()->Pen()->SetWidth(3);
    mark.Canvas()->Ellipse(2, 2, 30, 30);
    mark.SetTransparent(true);
    const int step = std::max(8, (r.Width() - 40) / 3);
    for (int i = 0; i < 4; ++i) C->Draw(r.Left + 4 + i * step, r.Top + 4 + (i % 2) * 30, &mark);
    const int w = std::min(64, r.Width() / 2), h = std::min(56, r.Height() / 2);
    C->StretchDraw(Bounds(r.Right - w - 4, r.Bottom - h - 4, w, h), &mark);
  }
  {  // frames and focus rectangles
    TRect r = Cell(C, cell++, Width, Height, "Frames, focus");
    C->Brush()->SetColor(clNavy);
    C->FrameRect(r);
    C->Brush()->SetColor(clWindow);
    for (int k = 1; k < 5; ++k) C->DrawFocusRect(r.Inflate(-8 * k, -6 * k));
  }
  {  // system colours
    TRect r = Cell(C, cell++, Width, Height, "System colours");
    const TColor sys[] = {clBtnFace,  clBtnShadow, clBtnHighlight,  cl3DDkShadow,
                          cl3DLight,  clWindow,    clWindowText,    clHighlight,
                          clGrayText, clInfoBk,    clActiveCaption, clHotLight};
    const int w = r.Width() / 4, h = r.Height() / 3;
    for (int i = 0; i < 12; ++i) {
      C->Brush()->SetColor(sys[i]);
      C->Rectangle(Bounds(r.Left + (i % 4) * w, r.Top + (i / 4) * h, w - 4, h - 4));
    }
  }
  {  // clipping
    TRect r = Cell(C, cell++, Width, Height, "Clipping");
    TRect clip = r.Inflate(-10, -6);
    C->Brush()->SetColor(clCream);
    C->FillRect(clip);
    C->SetClipRect(clip);
    C->Pen()->SetColor(clMaroon);
    for (int i = 0; i < 12; ++i) {  // rays a thousand million pixels long
      C->MoveTo(Centre(r).X, Centre(r).Y);
      TPoint far = OnCircle(Centre(r), 1e9, i * M_PI / 6 + 0.2);
      C->LineTo(far.X, far.Y);
    }
    C->Brush()->SetColor(clTeal);
    C->Ellipse(Centre(r).X - 1000000, Centre(r).Y + 10, Centre(r).X + 1000000, 1000000);
  }
  {  // pixels
    TRect r = Cell(C, cell++, Width, Height, "Pixels");
    // Only the pixels that can show: a cell may be a thousand million pixels wide.
    TRect v = IntersectRect(r, C->GetClipRect());
    for (int y = v.Top; y < v.Bottom; ++y)
      for (int x = v.Left; x < v.Right; ++x)
        if (((x - r.Left) ^ (y - r.Top)) % 7 == 0)
          C->SetPixel(x, y, RGB(static_cast<uint8_t>(x * 3), static_cast<uint8_t>(y * 2), 128));
  }
  C->ResetClipRect();
  ResetTools(C);
}

}  // namespace qel

// TMarkSel's painting: the cells into an off-screen bitmap, and the highlight drawn straight
// onto the control as the pointer moves.
#include "selectors/QEL_marksel.h"

namespace qel {

namespace {
// What a disabled table shows, whatever its colour properties say.
constexpr TColor kDisabledSymbol = clGray;
constexpr TColor kDisabledBack = clSilver;
constexpr TColor kDisabledSelBack = 0xDEDEDE;

void SetPenBrush(TCanvas* C, TColor Pen, TColor Brush) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(Pen);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Brush);
}
}  // namespace

TMarkSel::TMarkColors TMarkSel::CurrentColors() const {
  if (GetEnabled()) return {FColorBackGnd, FColorMarks, FColorSelBG, FColorSelFG};
  return {kDisabledBack, kDisabledSymbol, kDisabledSelBack, kDisabledSymbol};
}

void TMarkSel::DrawSymbol(TCanvas* C, int Mark, TPoint Centre, TColor Color) const {
  C->Pen()->SetColor(Color);
  if (Mark == 0 && FShowZeroAsCross) {
    // Mark 0 always has the first cell, so the cross is placed in absolute terms.
    const int cw = CellWidth(), ch = CellHeight();
    C->MoveTo(4, 4);
    C->LineTo(cw + 1, ch + 1);
    C->MoveTo(4, ch);
    C->LineTo(cw + 1, 3);
    return;
  }
  DrawMarkOnCanvas(C, static_cast<uint8_t>(Mark), Centre.X + 2, Centre.Y + 2);
}

void TMarkSel::DrawCell(TCanvas* C, int Mark, TPoint Centre, bool ClearFirst) const {
  const TMarkColors col = CurrentColors();
  const bool selected = Mark == FSelected;
  if (selected) {
    SetPenBrush(C, col.SelFG, col.SelBG);
    C->Rectangle(SelectionRect(Centre));
  } else if (ClearFirst) {
    SetPenBrush(C, col.Back, col.Back);
    C->Rectangle(SelectionRect(Centre));
  }
  DrawSymbol(C, Mark, Centre, selected ? col.SelFG : col.Marks);
}

void TMarkSel::DrawHiLite(TCanvas* C, int Mark, TPoint Centre) const {
  SetPenBrush(C, FColorHiLiteBG, FColorHiLiteBG);
  C->Rectangle(HiLiteRect(Centre));
  DrawSymbol(C, Mark, Centre, FColorHiLiteSymbol);
}

void TMarkSel::MoveHiLite(int Mark) {
  TCanvas* c = Canvas();
  if (FHiLiteShown) {
    const TPoint old = MarkCentre(FLastHiLite);
    if (old.X >= 0) DrawCell(c, FLastHiLite, old, true);
  }
  const TPoint p = MarkCentre(Mark);
  FLastHiLite = Mark;
  FHiLiteShown = p.X >= 0;
  if (FHiLiteShown) DrawHiLite(c, Mark, p);
}

void TMarkSel::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap off(w, h);
  TCanvas* c = off.Canvas();
  const TMarkColors col = CurrentColors();
  SetPenBrush(c, col.Back, col.Back);
  c->Rectangle(0, 0, w, h);
  const int cw = CellWidth(), ch = CellHeight();
  int k = 0;
  for (int i = 0; i < kMarkCount; ++i) {
    if (!FVisible[static_cast<size_t>(i)]) continue;
    const TPoint centre{(k % FNrOfColumns) * cw + cw / 2, (k / FNrOfColumns) * ch + ch / 2};
    DrawCell(c, i, centre, false);
    ++k;
  }
  // A repaint keeps the highlight where the pointer is.
  if (FHiLiteShown && GetEnabled()) {
    const TPoint p = MarkCentre(FLastHiLite);
    if (p.X >= 0) DrawHiLite(c, FLastHiLite, p);
  }
  DrawFrame(c, FFrameStyle, 0, 0, w - 1, h - 1, clWhite, clSilver, clGray, clBlack, col.Marks);
  TCanvas* dest = Canvas();
  dest->SetCopyMode(cmSrcCopy);
  dest->Draw(0, 0, &off);
  if (OnPaint) OnPaint(this);
}

}  // namespace qel

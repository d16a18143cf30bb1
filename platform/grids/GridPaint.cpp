// The grid's cell loop, grid lines and scroll bars, and the draw grid's cell event.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/grids/Grids.h"
#include "platform/widgets/ScrollBarPaint.h"

namespace qel {

// The grid sizes its bars by its own constant; the look is the shared one, of one size.
static_assert(TCustomGrid::ScrollBarSize == widgetpaint::ScrollBarSize);

namespace {

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  if (R.IsEmpty()) return;
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

// A raised one-pixel edge, as buttons and header cells have.
void RaisedEdge(TCanvas* C, const TRect& R) {
  if (R.Width() < 2 || R.Height() < 2) return;
  Fill(C, {R.Left, R.Top, R.Right - 1, R.Top + 1}, clBtnHighlight);
  Fill(C, {R.Left, R.Top, R.Left + 1, R.Bottom - 1}, clBtnHighlight);
  Fill(C, {R.Left, R.Bottom - 1, R.Right, R.Bottom}, clBtnShadow);
  Fill(C, {R.Right - 1, R.Top, R.Right, R.Bottom}, clBtnShadow);
}

}  // namespace

void TCustomGrid::PaintLines(const TRect& R, bool Fixed) {
  TCanvas* c = Canvas();
  int lw = FGridLineWidth;
  if (lw <= 0) return;
  bool vert = FOptions.Contains(Fixed ? goFixedVertLine : goVertLine);
  bool horz = FOptions.Contains(Fixed ? goFixedHorzLine : goHorzLine);
  TColor line = Fixed ? clBlack : clSilver;
  // Without a line the gap keeps the cell's background, so cells look joined. A grid that
  // draws its cells itself (no DefaultDrawing) covers that gap with its own cell drawing.
  TColor gap = Fixed ? FFixedColor : GetColor();
  if (vert || FDefaultDrawing)
    Fill(c, {R.Right, R.Top, R.Right + lw, R.Bottom + lw}, vert ? line : gap);
  if (horz || FDefaultDrawing)
    Fill(c, {R.Left, R.Bottom, R.Right + lw, R.Bottom + lw}, horz ? line : gap);
}

void TCustomGrid::PaintScrollBar(bool Vertical) {
  widgetpaint::PaintScrollBar(Canvas(), Vertical ? VertScrollBarRect() : HorzScrollBarRect(),
                              Vertical, ScrollThumbRect(Vertical));
}

void TCustomGrid::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  if (client.IsEmpty()) return;
  if (FBorderStyle == bsSingle) {
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(client);
  }
  TRect area = CellArea();
  Fill(c, area, GetColor());
  c->Font()->Assign(GetFont());

  TAxisView h = View(false), v = View(true);
  // The on-screen indices of one axis within the pixels From..To that are to be painted: the
  // fixed ones, then the scrolled ones up to the last one that reaches into them. Only these
  // are visited, so the cost follows what shows, not the cell count or the control's size.
  // (An empty clip visits nothing: no cell starts before its end.)
  const TRect clip = IntersectRect(area, c->GetClipRect());
  auto onScreen = [](TAxisView a, int From, int To) {
    std::vector<int> list;
    a.End = std::min(a.End, To);
    int firstFixed = 0, first = a.First;
    if (From > a.Start) {
      const int at = IndexAt(a, From);
      const bool pastFixed = int64_t{From} - a.Start >= a.A->Pos(a.Fixed);
      if (pastFixed)
        firstFixed = a.Fixed;  // the fixed cells lie wholly before the pixels
      else if (at >= 0)
        firstFixed = at;
      if (at >= a.First)
        first = at;
      else if (at < 0 && pastFixed)
        first = a.A->GetCount();  // the pixels lie beyond the last cell
    }
    int from, to;
    auto run = [&](int Begin, int End) {
      for (int i = Begin; i < End && Span(a, i, from, to);) {
        list.push_back(i);
        const int64_t p = a.A->Pos(i);
        if (a.A->Pos(i + 1) > p) {
          ++i;
          continue;
        }
        // Cells without extent (size and line 0) take no pixel: of a run of them only the
        // first and the cell that ends the run are visited, so even a hundred million of them
        // cost what the window's size does.
        i = std::max(i + 1, a.A->FirstAtOrAfter(p + 1, i + 1) - 1);
      }
    };
    run(firstFixed, a.Fixed);
    run(first, a.A->GetCount());
    return list;
  };
  std::vector<int> cols = onScreen(h, clip.Left, clip.Right),
                   rows = onScreen(v, clip.Top, clip.Bottom);
  TGridRect sel = GetSelection();
  bool focused = Focused();
  bool rowSelect = FOptions.Contains(goRowSelect);

  for (int row : rows) {
    for (int col : cols) {
      TRect r = CellRect(col, row);
      if (r.Right < r.Left || r.Bottom < r.Top) continue;
      bool fixed = col < FFixedCols || row < FFixedRows;
      TGridDrawState state;
      if (fixed) {
        state << gdFixed;
      } else {
        bool isCurrent = col == FCurrent.X && row == FCurrent.Y;
        if (isCurrent && focused) state << gdFocused;
        // The focused cell shows as selected only where asked to, or within a whole row.
        if (sel.Contains(col, row) &&
            (!isCurrent || rowSelect || FOptions.Contains(goDrawFocusSelected) || !focused))
          state << gdSelected;
      }
      // A cell never draws over the scroll bars or the border.
      c->SetClipRect(IntersectRect(r.Inflate(FGridLineWidth, FGridLineWidth), area));
      c->Brush()->SetStyle(bsSolid);
      if (FDefaultDrawing) {
        TColor bg = fixed ? FFixedColor : state.Contains(gdSelected) ? clHighlight : GetColor();
        Fill(c, r, bg);
        c->Font()->SetColor(state.Contains(gdSelected) ? clHighlightText : GetFont()->GetColor());
        c->Brush()->SetColor(bg);
      }
      c->SetClipRect(IntersectRect(r, area));
      DrawCell(col, row, r, state);
      c->SetClipRect(IntersectRect(r.Inflate(FGridLineWidth, FGridLineWidth), area));
      if (FDefaultDrawing && fixed && FOptions.Contains(goFixedVertLine) &&
          FOptions.Contains(goFixedHorzLine))
        RaisedEdge(c, r);
      if (FDefaultDrawing && state.Contains(gdFocused) && !rowSelect) c->DrawFocusRect(r);
      PaintLines(r, fixed);
    }
  }
  c->ResetClipRect();
  Fill(c, IntersectRect(MoveIndicatorRect(), area), clBlack);
  PaintScrollBar(true);
  PaintScrollBar(false);
  widgetpaint::PaintScrollCorner(c, VertScrollBarRect(), HorzScrollBarRect());
}

void TCustomDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

void TCustomDrawGrid::ColumnMoved(int FromIndex, int ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TCustomDrawGrid::RowMoved(int FromIndex, int ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

}  // namespace qel

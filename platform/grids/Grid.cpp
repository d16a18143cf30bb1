// The grid core: sizes, geometry, selection, scrolling and moving. Input is in GridInput.cpp,
// painting in GridPaint.cpp.
#include <algorithm>

#include "platform/controls/Forms.h"
#include "platform/grids/Grids.h"
#include "platform/rtl/SafeMath.h"
#include "platform/widgets/ScrollBarPaint.h"

namespace qel {

// ---------------------------------------------------------------- TGridAxis

void TGridAxis::SetCount(int Value) {
  Value = std::max(0, Value);
  if (Value == FCount) return;
  FCount = Value;
  FSizes.erase(FSizes.lower_bound(FCount), FSizes.end());
  FDirty = true;
}

void TGridAxis::SetDefault(int Value) {
  FDefault = std::max(0, Value);
  FSizes.clear();
  FDirty = true;
}

int TGridAxis::GetSize(int Index) const {
  if (Index < 0 || Index >= FCount) return 0;
  auto it = FSizes.find(Index);
  return it == FSizes.end() ? FDefault : it->second;
}

void TGridAxis::SetSize(int Index, int Value) {
  if (Index < 0 || Index >= FCount) return;
  Value = std::max(0, Value);
  if (Value == FDefault)
    FSizes.erase(Index);
  else
    FSizes[Index] = Value;
  FDirty = true;
}

void TGridAxis::Move(int From, int To) {
  if (From < 0 || To < 0 || From >= FCount || To >= FCount || From == To) return;
  int lo = std::min(From, To), hi = std::max(From, To);
  std::map<int, int> moved;
  for (auto it = FSizes.lower_bound(lo); it != FSizes.end() && it->first <= hi;) {
    int i = it->first;
    int j = i == From ? To : From < To ? i - 1 : i + 1;
    moved[j] = it->second;
    it = FSizes.erase(it);
  }
  FSizes.merge(moved);
  FDirty = true;
}

void TGridAxis::Rebuild() const {
  FIdx.clear();
  FDelta.clear();
  int64_t sum = 0;
  for (const auto& [index, size] : FSizes) {
    FIdx.push_back(index);
    FDelta.push_back(sum);
    sum += size - FDefault;
  }
  FDelta.push_back(sum);
  FTotalDelta = sum;
  FDirty = false;
}

int64_t TGridAxis::Pos(int Index) const {
  if (FDirty || FDelta.empty()) Rebuild();
  Index = std::clamp(Index, 0, FCount);
  size_t k = std::lower_bound(FIdx.begin(), FIdx.end(), Index) - FIdx.begin();
  // In 64 bits throughout: a size and a line near 2^31 each, times 2^31 cells, still fit.
  return int64_t(Index) * (int64_t(FDefault) + FLine) + FDelta[k];
}

int TGridAxis::IndexAt(int64_t P) const {
  if (P < 0 || P >= Pos(FCount)) return -1;
  // The largest index starting at or before P; zero-sized cells before it are skipped.
  int lo = 0, hi = FCount - 1;
  while (lo < hi) {
    int mid = lo + (hi - lo + 1) / 2;
    if (Pos(mid) <= P)
      lo = mid;
    else
      hi = mid - 1;
  }
  return lo;
}

int TGridAxis::FirstAtOrAfter(int64_t P, int From) const {
  int lo = std::clamp(From, 0, FCount), hi = FCount;
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (Pos(mid) >= P)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

// ---------------------------------------------------------------- TCustomGrid

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle << csOpaque;
  FCols.SetDefault(64);
  FRows.SetDefault(24);
  FCols.SetCount(5);
  FRows.SetCount(5);
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 320, 120);
  FTimerWnd = AllocateHWnd([this](TMessage& M) { GridTimer(M); });
}

TCustomGrid::~TCustomGrid() {
  if (FTimerWnd) DeallocateHWnd(FTimerWnd);
}

void TCustomGrid::SetColCount(int Value) {
  Value = std::max(1, Value);
  if (Value == GetColCount()) return;
  int oldCols = GetColCount();
  if (Value <= FFixedCols) FFixedCols = Value - 1;
  FCols.SetCount(Value);
  ClampSelection();
  Invalidate();
  SizeChanged(oldCols, GetRowCount());
}

void TCustomGrid::SetRowCount(int Value) {
  Value = std::max(1, Value);
  if (Value == GetRowCount()) return;
  int oldRows = GetRowCount();
  if (Value <= FFixedRows) FFixedRows = Value - 1;
  FRows.SetCount(Value);
  ClampSelection();
  Invalidate();
  SizeChanged(GetColCount(), oldRows);
}

void TCustomGrid::SetFixedCols(int Value) {
  if (Value < 0 || Value >= GetColCount())
    throw EInvalidGridOperation("Fixed column count must be less than column count");
  if (Value == FFixedCols) return;
  FFixedCols = Value;
  ClampSelection();
  Invalidate();
}

void TCustomGrid::SetFixedRows(int Value) {
  if (Value < 0 || Value >= GetRowCount())
    throw EInvalidGridOperation("Fixed row count must be less than row count");
  if (Value == FFixedRows) return;
  FFixedRows = Value;
  ClampSelection();
  Invalidate();
}

int TCustomGrid::GetColWidths(int Index) const { return FCols.GetSize(Index); }
int TCustomGrid::GetRowHeights(int Index) const { return FRows.GetSize(Index); }

void TCustomGrid::SetColWidths(int Index, int Value) {
  if (Index < 0 || Index >= GetColCount() || FCols.GetSize(Index) == std::max(0, Value)) return;
  FCols.SetSize(Index, Value);
  ClampSelection();
  UpdateEditorBounds();
  ColWidthsChanged();
  Invalidate();
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
  if (Index < 0 || Index >= GetRowCount() || FRows.GetSize(Index) == std::max(0, Value)) return;
  FRows.SetSize(Index, Value);
  ClampSelection();
  UpdateEditorBounds();
  RowHeightsChanged();
  Invalidate();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
  Value = std::max(0, Value);
  if (Value == FCols.GetDefault()) return;
  FCols.SetDefault(Value);
  ClampSelection();
  ColWidthsChanged();
  Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
  Value = std::max(0, Value);
  if (Value == FRows.GetDefault()) return;
  FRows.SetDefault(Value);
  ClampSelection();
  RowHeightsChanged();
  Invalidate();
}

void TCustomGrid::SetGridLineWidth(int Value) {
  Value = std::clamp(Value, 0, 64);
  if (Value == FGridLineWidth) return;
  FGridLineWidth = Value;
  FCols.SetLine(Value);
  FRows.SetLine(Value);
  ClampSelection();
  Invalidate();
}

void TCustomGrid::SetFixedColor(TColor Value) {
  if (Value == FFixedColor) return;
  FFixedColor = Value;
  Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
  if (Value == FOptions) return;
  FOptions = Value;
  // Without range selection the selection is the focused cell alone.
  if (!FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  Invalidate();
}

void TCustomGrid::SetDefaultDrawing(bool Value) {
  if (Value == FDefaultDrawing) return;
  FDefaultDrawing = Value;
  Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
  Value = Value == bsNone ? bsNone : bsSingle;
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  ClampSelection();
  Invalidate();
}

void TCustomGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A larger window can show the last rows without empty space below them.
  if (GetColCount() > 0 && GetRowCount() > 0) {
    ClampSelection();
    UpdateEditorBounds();
  }
}

// ---------------------------------------------------------------- geometry

TRect TCustomGrid::InnerRect() const {
  TRect r = GetClientRect();
  if (FBorderStyle == bsSingle) r = r.Inflate(-1, -1);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

TCustomGrid::TBars TCustomGrid::ScrollBarsNeeded() const {
  TRect r = InnerRect();
  int64_t w = r.Width(), h = r.Height();
  int64_t needW = FCols.Pos(GetColCount()), needH = FRows.Pos(GetRowCount());
  TBars b;
  // Each bar takes room from the other direction, so decide twice.
  for (int pass = 0; pass < 2; ++pass) {
    b.Horz = needW > w - (b.Vert ? ScrollBarSize : 0) + FGridLineWidth;
    b.Vert = needH > h - (b.Horz ? ScrollBarSize : 0) + FGridLineWidth;
  }
  return b;
}

TRect TCustomGrid::CellArea() const {
  TRect r = InnerRect();
  TBars b = ScrollBarsNeeded();
  if (b.Vert) r.Right = std::max(r.Left, r.Right - ScrollBarSize);
  if (b.Horz) r.Bottom = std::max(r.Top, r.Bottom - ScrollBarSize);
  return r;
}

TRect TCustomGrid::VertScrollBarRect() const {
  TBars b = ScrollBarsNeeded();
  if (!b.Vert) return {};
  TRect r = InnerRect(), a = CellArea();
  return {a.Right, r.Top, r.Right, a.Bottom};
}

TRect TCustomGrid::HorzScrollBarRect() const {
  TBars b = ScrollBarsNeeded();
  if (!b.Horz) return {};
  TRect r = InnerRect(), a = CellArea();
  return {r.Left, a.Bottom, a.Right, r.Bottom};
}

TCustomGrid::TAxisView TCustomGrid::View(bool Vertical) const {
  TRect a = CellArea();
  if (Vertical) return {&FRows, FFixedRows, FTopLeft.Y, a.Top, a.Bottom};
  return {&FCols, FFixedCols, FTopLeft.X, a.Left, a.Right};
}

int TCustomGrid::FixedWidth() const { return ClampToInt(FCols.Pos(FFixedCols)); }
int TCustomGrid::FixedHeight() const { return ClampToInt(FRows.Pos(FFixedRows)); }

bool TCustomGrid::Span(const TAxisView& V, int Index, int& From, int& To) {
  if (Index < 0 || Index >= V.A->GetCount()) return false;
  int64_t from;
  if (Index < V.Fixed)
    from = V.Start + V.A->Pos(Index);
  else if (Index < V.First)
    return false;
  else
    from = V.Start + V.A->Pos(V.Fixed) + (V.A->Pos(Index) - V.A->Pos(V.First));
  if (from >= V.End) return false;
  From = ClampToInt(from);
  To = ClampToInt(from + V.A->GetSize(Index));
  return true;
}

int TCustomGrid::IndexAt(const TAxisView& V, int P) {
  if (P < V.Start || P >= V.End) return -1;
  int64_t off = int64_t(P) - V.Start, fixed = V.A->Pos(V.Fixed);
  if (off < fixed) return V.A->IndexAt(off);
  return V.A->IndexAt(V.A->Pos(V.First) + off - fixed);
}

int TCustomGrid::LastOnScreen(const TAxisView& V) {
  int i = IndexAt(V, V.End - 1);
  return i >= 0 ? i : V.A->GetCount() - 1;
}

int TCustomGrid::LineAt(const TAxisView& V, int P) {
  // The nearest trailing edge of an on-screen cell within the margin wins.
  int best = -1, bestDist = SizingMargin + 1;
  int first = IndexAt(V, std::max(V.Start, P - SizingMargin - 1));
  if (first < 0) first = P < V.Start ? -1 : LastOnScreen(V);
  if (first < 0) return -1;
  for (int i = first, n = 0; i < V.A->GetCount() && n < 64; ++i, ++n) {
    int from, to;
    if (!Span(V, i, from, to)) {
      if (i < V.Fixed) i = V.First - 1;  // jump from the fixed cells to the scrolled ones
      continue;
    }
    if (from > P + SizingMargin) break;
    // The line is drawn right after the cell; its middle is what the user aims at.
    int mid = to + V.A->GetLine() / 2;
    int d = std::abs(P - mid);
    if (d <= SizingMargin && d < bestDist) best = i, bestDist = d;
    if (i == V.Fixed - 1) i = V.First - 1;
  }
  return best;
}

int TCustomGrid::VisibleCount(const TAxisView& V) {
  int64_t avail = int64_t(V.End - V.Start) - V.A->Pos(V.Fixed);
  if (avail <= 0) return 0;
  // Cells wholly shown; a clipped trailing grid line does not hide its cell.
  int64_t limit = V.A->Pos(V.First) + avail + V.A->GetLine();
  int last = V.A->FirstAtOrAfter(limit + 1, V.First) - 1;
  return std::clamp(last - V.First, 0, V.A->GetCount() - V.First);
}

int TCustomGrid::VisibleColCount() const { return VisibleCount(View(false)); }
int TCustomGrid::VisibleRowCount() const { return VisibleCount(View(true)); }

int TCustomGrid::MaxFirst(bool Vertical) const {
  TAxisView v = View(Vertical);
  int n = v.A->GetCount();
  if (n <= v.Fixed) return v.Fixed;
  int64_t avail = int64_t(v.End - v.Start) - v.A->Pos(v.Fixed);
  int first = v.A->FirstAtOrAfter(v.A->Pos(n) - avail - v.A->GetLine(), v.Fixed);
  return std::clamp(first, v.Fixed, n - 1);
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
  int l, r, t, b;
  if (!Span(View(false), ACol, l, r) || !Span(View(true), ARow, t, b)) return {};
  return {l, t, r, b};
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
  int c = IndexAt(View(false), X), r = IndexAt(View(true), Y);
  if (c < 0 || r < 0) return {-1, -1};
  return {c, r};
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
  TGridCoord g = MouseCoord(X, Y);
  ACol = g.X;
  ARow = g.Y;
}

int TCustomGrid::GridWidth() const {
  TAxisView v = View(false);
  int64_t w = v.A->Pos(v.Fixed) + v.A->Pos(v.A->GetCount()) - v.A->Pos(v.First);
  return ClampToInt(std::min<int64_t>(w, v.End - v.Start));
}

int TCustomGrid::GridHeight() const {
  TAxisView v = View(true);
  int64_t h = v.A->Pos(v.Fixed) + v.A->Pos(v.A->GetCount()) - v.A->Pos(v.First);
  return ClampToInt(std::min<int64_t>(h, v.End - v.Start));
}

TRect TCustomGrid::ScrollThumbRect(bool Vertical) const {
  TRect bar = Vertical ? VertScrollBarRect() : HorzScrollBarRect();
  if (bar.IsEmpty()) return {};
  TRect tr = widgetpaint::ScrollTrackRect(bar, Vertical);
  int start = Vertical ? tr.Top : tr.Left;
  int track = Vertical ? tr.Height() : tr.Width();
  if (track <= 0) return {};
  TAxisView v = View(Vertical);
  int total = v.A->GetCount() - v.Fixed;
  int page = std::max(1, VisibleCount(v));
  int len = std::clamp(MulDiv(track, page, std::max(1, total)), std::min(8, track), track);
  int range = MaxFirst(Vertical) - v.Fixed;
  int off;
  if (FGridState == (Vertical ? gsVertThumb : gsHorzThumb) && FThumbPixel >= 0)
    off = std::clamp(FThumbPixel - start, 0, track - len);
  else
    off = range <= 0 ? 0 : ClampToInt(int64_t(track - len) * (v.First - v.Fixed) / range);
  start += off;
  return Vertical ? TRect{bar.Left, start, bar.Right, start + len}
                  : TRect{start, bar.Top, start + len, bar.Bottom};
}

int TCustomGrid::ThumbIndexAt(bool Vertical, int Pixel) const {
  TRect bar = Vertical ? VertScrollBarRect() : HorzScrollBarRect();
  TRect thumb = ScrollThumbRect(Vertical);
  TAxisView v = View(Vertical);
  if (bar.IsEmpty() || thumb.IsEmpty()) return v.First;
  TRect tr = widgetpaint::ScrollTrackRect(bar, Vertical);
  int start = Vertical ? tr.Top : tr.Left;
  int track = Vertical ? tr.Height() : tr.Width();
  int len = Vertical ? thumb.Height() : thumb.Width();
  int range = MaxFirst(Vertical) - v.Fixed;
  if (track - len <= 0 || range <= 0) return v.Fixed;
  double frac = std::clamp(double(Pixel - start) / (track - len), 0.0, 1.0);
  return v.Fixed + RoundToInt(frac * range);
}

TGridHitKind TCustomGrid::HitTestGrid(int X, int Y, bool* Vertical, int* Index) const {
  auto answer = [&](TGridHitKind k, bool vert, int index) {
    if (Vertical) *Vertical = vert;
    if (Index) *Index = index;
    return k;
  };
  TPoint p{X, Y};
  for (bool vert : {true, false}) {
    TRect bar = vert ? VertScrollBarRect() : HorzScrollBarRect();
    if (!bar.Contains(p)) continue;
    int pos = vert ? Y : X;
    TRect thumb = ScrollThumbRect(vert);
    if (widgetpaint::ScrollButtonRect(bar, vert, false).Contains(p))
      return answer(ghLineUp, vert, -1);
    if (widgetpaint::ScrollButtonRect(bar, vert, true).Contains(p))
      return answer(ghLineDown, vert, -1);
    if (thumb.Contains(p)) return answer(ghThumb, vert, -1);
    return answer(pos < (vert ? thumb.Top : thumb.Left) ? ghPageUp : ghPageDown, vert, -1);
  }
  TRect area = CellArea();
  if (!area.Contains(p)) return answer(ghNone, false, -1);
  if (FOptions.Contains(goColSizing) && Y < area.Top + FixedHeight()) {
    int c = LineAt(View(false), X);
    if (c >= 0) return answer(ghColLine, false, c);
  }
  if (FOptions.Contains(goRowSizing) && X < area.Left + FixedWidth()) {
    int r = LineAt(View(true), Y);
    if (r >= 0) return answer(ghRowLine, true, r);
  }
  TGridCoord g = MouseCoord(X, Y);
  return g.X >= 0 ? answer(ghCell, false, -1) : answer(ghNone, false, -1);
}

// ---------------------------------------------------------------- selection and scrolling

TGridRect TCustomGrid::GetSelection() const {
  TGridRect r{std::min(FAnchor.X, FCurrent.X), std::min(FAnchor.Y, FCurrent.Y),
              std::max(FAnchor.X, FCurrent.X), std::max(FAnchor.Y, FCurrent.Y)};
  if (FOptions.Contains(goRowSelect)) {
    r.Left = FFixedCols;
    r.Right = GetColCount() - 1;
  }
  return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
  TGridRect old = GetSelection();
  auto clampCol = [&](int c) { return std::clamp(c, FFixedCols, GetColCount() - 1); };
  auto clampRow = [&](int r) { return std::clamp(r, FFixedRows, GetRowCount() - 1); };
  FAnchor = {clampCol(Value.Left), clampRow(Value.Top)};
  FCurrent = {clampCol(Value.Right), clampRow(Value.Bottom)};
  if (!FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
  InvalidateGridRect(old);
  InvalidateGridRect(GetSelection());
  ScrollToCell(FCurrent.X, FCurrent.Y);
}

bool TCustomGrid::SelectCell(int ACol, int ARow) {
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, can);
  return can;
}

void TCustomGrid::TopLeftChanged() {
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
  ACol = std::clamp(ACol, FFixedCols, GetColCount() - 1);
  ARow = std::clamp(ARow, FFixedRows, GetRowCount() - 1);
  if (!FOptions.Contains(goRangeSelect)) MoveAnchor = true;
  TGridCoord target{ACol, ARow};
  if (target != FCurrent && !SelectCell(ACol, ARow)) return false;
  bool reopen = false;
  if (target != FCurrent && FEditorMode) {
    HideEditor();
    reopen = FOptions.Contains(goAlwaysShowEditor);
  }
  TGridRect old = GetSelection();
  TGridCoord oldCurrent = FCurrent;
  FCurrent = target;
  if (MoveAnchor) FAnchor = target;
  if (old != GetSelection()) {
    InvalidateGridRect(old);
    InvalidateGridRect(GetSelection());
  }
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(ACol, ARow);
  if (Show) ScrollToCell(ACol, ARow);
  if (reopen) ShowEditor();
  return true;
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop) {
  ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
  ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, MaxTopRow()));
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  FTopLeft = {ALeft, ATop};
  Invalidate();
  UpdateEditorBounds();
  TopLeftChanged();
}

void TCustomGrid::ScrollToCell(int ACol, int ARow) {
  // For each axis: scroll back to a cell before the first shown, or forward just far enough
  // that the cell's far edge is in view.
  auto first = [&](bool vert, int index) {
    TAxisView v = View(vert);
    if (index < v.Fixed) return v.First;
    if (index < v.First) return index;
    int64_t avail = int64_t(v.End - v.Start) - v.A->Pos(v.Fixed) + v.A->GetLine();
    if (v.A->Pos(index + 1) - v.A->Pos(v.First) <= avail) return v.First;
    return std::min(index, v.A->FirstAtOrAfter(v.A->Pos(index + 1) - avail, v.Fixed));
  };
  int left = FOptions.Contains(goRowSelect) ? FTopLeft.X : first(false, ACol);
  MoveTopLeft(left, first(true, ARow));
}

void TCustomGrid::ScrollBy(bool Vertical, int Delta) {
  // Indexes reach 2^31 - 1: the sum is taken in 64 bits and saturates at the int range (the
  // pixel clamp would cut a page step beyond row 2^30 back to it).
  int64_t target = int64_t(Vertical ? FTopLeft.Y : FTopLeft.X) + Delta;
  int t = int(std::clamp<int64_t>(target, INT32_MIN, INT32_MAX));
  if (Vertical)
    MoveTopLeft(FTopLeft.X, t);
  else
    MoveTopLeft(t, FTopLeft.Y);
}

void TCustomGrid::ClampSelection() {
  int cols = GetColCount(), rows = GetRowCount();
  auto fix = [&](TGridCoord& c) {
    c.X = std::clamp(c.X, FFixedCols, std::max(FFixedCols, cols - 1));
    c.Y = std::clamp(c.Y, FFixedRows, std::max(FFixedRows, rows - 1));
  };
  fix(FCurrent);
  fix(FAnchor);
  TGridCoord tl = FTopLeft;
  fix(tl);
  tl.X = std::min(tl.X, std::max(FFixedCols, MaxLeftCol()));
  tl.Y = std::min(tl.Y, std::max(FFixedRows, MaxTopRow()));
  if (tl != FTopLeft) {
    FTopLeft = tl;
    Invalidate();
    TopLeftChanged();
  }
}

// ---------------------------------------------------------------- moving rows and columns

namespace {
// Where index I ends up when the cell at From moves to To.
int MovedIndex(int I, int From, int To) {
  if (I == From) return To;
  if (From < To && I > From && I <= To) return I - 1;
  if (To < From && I >= To && I < From) return I + 1;
  return I;
}
}  // namespace

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex) {
  int n = GetColCount();
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= n || ToIndex >= n || FromIndex == ToIndex)
    return;
  HideEditor();
  FCols.Move(FromIndex, ToIndex);
  FCurrent.X = MovedIndex(FCurrent.X, FromIndex, ToIndex);
  FAnchor.X = MovedIndex(FAnchor.X, FromIndex, ToIndex);
  ClampSelection();
  ColumnMoved(FromIndex, ToIndex);
  Invalidate();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex) {
  int n = GetRowCount();
  if (FromIndex < 0 || ToIndex < 0 || FromIndex >= n || ToIndex >= n || FromIndex == ToIndex)
    return;
  HideEditor();
  FRows.Move(FromIndex, ToIndex);
  FCurrent.Y = MovedIndex(FCurrent.Y, FromIndex, ToIndex);
  FAnchor.Y = MovedIndex(FAnchor.Y, FromIndex, ToIndex);
  ClampSelection();
  RowMoved(FromIndex, ToIndex);
  Invalidate();
}

TRect TCustomGrid::MoveIndicatorRect() const {
  bool cols = FGridState == gsColMoving, rows = FGridState == gsRowMoving;
  if ((!cols && !rows) || FMoveTo < 0 || FMoveTo == FMoveFrom) return {};
  TAxisView v = View(rows);
  int from, to;
  if (!Span(v, FMoveTo, from, to)) return {};
  // The bar marks the edge the moved cell will lie against.
  int at = FMoveTo < FMoveFrom ? from - 1 : to;
  TRect a = CellArea();
  return rows ? TRect{a.Left, at - 1, a.Left + GridWidth(), at + 2}
              : TRect{at - 1, a.Top, at + 2, a.Top + GridHeight()};
}

// ---------------------------------------------------------------- invalidation

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
  TRect r = CellRect(ACol, ARow);
  if (!r.IsEmpty()) InvalidateRect(r.Inflate(FGridLineWidth, FGridLineWidth));
}

void TCustomGrid::InvalidateGridRect(const TGridRect& R) {
  TAxisView h = View(false), v = View(true);
  auto span = [](const TAxisView& a, int lo, int hi, int& from, int& to) {
    if (lo >= a.Fixed) lo = std::max(lo, a.First);
    hi = std::min(hi, LastOnScreen(a));
    int f0, t0, f1, t1;
    if (lo > hi || !Span(a, lo, f0, t0) || !Span(a, hi, f1, t1)) return false;
    from = f0;
    to = t1 + a.A->GetLine();
    return true;
  };
  int l, r, t, b;
  if (span(h, R.Left, R.Right, l, r) && span(v, R.Top, R.Bottom, t, b))
    InvalidateRect(Rect(l, t, r, b));
}

void TCustomGrid::InvalidateCol(int ACol) {
  InvalidateGridRect({ACol, 0, ACol, GetRowCount() - 1});
}

void TCustomGrid::InvalidateRow(int ARow) {
  InvalidateGridRect({0, ARow, GetColCount() - 1, ARow});
}

}  // namespace qel

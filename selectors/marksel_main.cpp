// TMarkSel's properties, cell geometry and mouse handling.
#include <algorithm>

#include "platform/rtl/SafeMath.h"
#include "selectors/QEL_marksel.h"

namespace qel {

TMarkSel::TMarkSel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FVisible.fill(true);
  SetBounds(GetLeft(), GetTop(), 236, 178);
}

TMarkSel::~TMarkSel() = default;

void TMarkSel::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TMarkSel*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FVisible = s->FVisible;
  FSelected = s->FSelected;
  FNrOfColumns = s->FNrOfColumns;
  FNrOfRows = s->FNrOfRows;
  FColorBackGnd = s->FColorBackGnd;
  FColorMarks = s->FColorMarks;
  FColorHiLiteBG = s->FColorHiLiteBG;
  FColorHiLiteSymbol = s->FColorHiLiteSymbol;
  FColorSelBG = s->FColorSelBG;
  FColorSelFG = s->FColorSelFG;
  FFrameStyle = s->FFrameStyle;
  FShowZeroAsCross = s->FShowZeroAsCross;
  // The highlight belongs to the pointer over this control, not to the source.
  FHiLiteShown = false;
  TGraphicControl::SetEnabled(s->GetEnabled());
  Invalidate();
}

void TMarkSel::Changed() { Invalidate(); }

// ---------------------------------------------------------------- visibility

bool TMarkSel::GetVis(int I) const {
  if (I < 0 || I >= kMarkCount) I = 0;
  return FVisible[static_cast<size_t>(I)];
}

void TMarkSel::SetVis(int I, bool Visible) {
  // Mark 0 stays, so the table is never empty and the nearest mark always exists.
  if (I < 1 || I >= kMarkCount || FVisible[static_cast<size_t>(I)] == Visible) return;
  FVisible[static_cast<size_t>(I)] = Visible;
  Changed();
}

void TMarkSel::ShowAllMarks() {
  std::fill(FVisible.begin() + 1, FVisible.end(), true);
  Changed();
}

void TMarkSel::HideAllMarks() {
  std::fill(FVisible.begin() + 1, FVisible.end(), false);
  Changed();
}

// ---------------------------------------------------------------- geometry

int TMarkSel::CellWidth() const { return std::max(0, DivTrunc(GetWidth() - 4, FNrOfColumns)); }
int TMarkSel::CellHeight() const { return std::max(0, DivTrunc(GetHeight() - 4, FNrOfRows)); }

std::vector<int> TMarkSel::VisibleMarks() const {
  std::vector<int> marks;
  for (int i = 0; i < kMarkCount; ++i)
    if (FVisible[static_cast<size_t>(i)]) marks.push_back(i);
  return marks;
}

TPoint TMarkSel::MarkCentre(int Mark) const {
  if (Mark < 0 || Mark >= kMarkCount || !FVisible[static_cast<size_t>(Mark)]) return {-1, -1};
  int k = 0;  // cell index: the visible marks before this one
  for (int i = 0; i < Mark; ++i) k += FVisible[static_cast<size_t>(i)] ? 1 : 0;
  const int cw = CellWidth(), ch = CellHeight();
  return {(k % FNrOfColumns) * cw + cw / 2, (k / FNrOfColumns) * ch + ch / 2};
}

int TMarkSel::NearestMark(int X, int Y) const {
  const int cw = CellWidth(), ch = CellHeight();
  int best = 0;
  int64_t bestDist = 10000000000LL;
  int k = 0;
  for (int i = 0; i < kMarkCount; ++i) {
    if (!FVisible[static_cast<size_t>(i)]) continue;
    const int64_t dx = static_cast<int64_t>(X) - ((k % FNrOfColumns) * cw + cw / 2);
    const int64_t dy = static_cast<int64_t>(Y) - ((k / FNrOfColumns) * ch + ch / 2);
    const int64_t d = dx * dx + dy * dy;
    if (d < bestDist) {
      bestDist = d;
      best = i;
    }
    ++k;
  }
  return best;
}

TRect TMarkSel::SelectionRect(TPoint C) const {
  const int hw = CellWidth() / 2, hh = CellHeight() / 2;
  return Rect(C.X - hw + 3, C.Y - hh + 3, C.X + hw + 3, C.Y + hh + 3);
}

TRect TMarkSel::HiLiteRect(TPoint C) const {
  const int hw = CellWidth() / 2, hh = CellHeight() / 2;
  return Rect(C.X - hw + 4, C.Y - hh + 4, C.X + hw + 2, C.Y + hh + 2);
}

// ---------------------------------------------------------------- properties

void TMarkSel::SetNrCols(int Value) {
  if (Value < 1 || Value > 51 || Value == FNrOfColumns) return;
  FNrOfColumns = Value;
  Changed();
}

void TMarkSel::SetNrRows(int Value) {
  if (Value < 1 || Value > 51 || Value == FNrOfRows) return;
  FNrOfRows = Value;
  Changed();
}

void TMarkSel::SetSelected(int Value) {
  if (Value < -1 || Value > 51 || Value == FSelected) return;
  FSelected = Value;
  Changed();
}

void TMarkSel::SetColorBackGnd(TColor Value) {
  if (Store(FColorBackGnd, Value)) Changed();
}
void TMarkSel::SetColorMarks(TColor Value) {
  if (Store(FColorMarks, Value)) Changed();
}
void TMarkSel::SetColorHiLiteBG(TColor Value) {
  if (Store(FColorHiLiteBG, Value)) Changed();
}
void TMarkSel::SetColorHiLiteSymbol(TColor Value) {
  if (Store(FColorHiLiteSymbol, Value)) Changed();
}
void TMarkSel::SetColorSelBG(TColor Value) {
  if (Store(FColorSelBG, Value)) Changed();
}
void TMarkSel::SetColorSelFG(TColor Value) {
  if (Store(FColorSelFG, Value)) Changed();
}
void TMarkSel::SetFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyle, Value)) Changed();
}

void TMarkSel::SetZeroAsCross(bool Value) {
  FShowZeroAsCross = Value;
  Invalidate();
}

void TMarkSel::SetEnabled(bool Value) {
  TGraphicControl::SetEnabled(Value);
  if (!Value) FHiLiteShown = false;  // a disabled table follows no pointer
  Invalidate();
}

// ---------------------------------------------------------------- mouse

void TMarkSel::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!GetEnabled()) return;
  const int m = NearestMark(X, Y);
  if (m != FLastHiLite || !FHiLiteShown) MoveHiLite(m);
}

void TMarkSel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) PickAt(X, Y, false);
}

void TMarkSel::WMLButtonDblClk(TMessage& Message) {
  TGraphicControl::WMLButtonDblClk(Message);
  const TPoint p = LParamToPoint(Message.LParam);
  PickAt(p.X, p.Y, true);
}

void TMarkSel::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  // The highlight follows the pointer; once it has gone, the cell shows as painted.
  if (!FHiLiteShown) return;
  FHiLiteShown = false;
  const TPoint c = MarkCentre(FLastHiLite);
  if (c.X >= 0) DrawCell(Canvas(), FLastHiLite, c, true);
}

void TMarkSel::PickAt(int X, int Y, bool Double) {
  if (X == -1 && Y == -1) return;
  const int m = NearestMark(X, Y);
  FSelected = m;
  const TMarkClickEvent& handler = Double ? OnMarkDblClick : OnMarkClick;
  if (handler) handler(this, X, Y, m);
  FLastHiLite = FSelected;
  FHiLiteShown = GetEnabled() && FSelected >= 0;
  Invalidate();
}

}  // namespace qel

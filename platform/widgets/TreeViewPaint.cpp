// The tree view's rows, geometry, scrolling, scroll bars and painting. Painting, hit testing
// and scrolling all go through the same geometry helpers, so a button is hit where it is drawn.
#include <algorithm>

#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/ScrollBarPaint.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
constexpr int kScrollBarSize = wp::ScrollBarSize;
constexpr int kTextGap = 2;   // between the indent and the text cell
constexpr int kTextPad = 2;   // inside the text cell, on both sides of the text
constexpr int kRowExtra = 3;  // a row is the font's cell plus this
constexpr int kHScrollStep = 16;
constexpr int64_t kMaxColumnX = 1 << 28;

// Dotted lines with their dots fixed to the content, so scrolling does not make them crawl.
// OX, OY: where content (0, 0) is in client coordinates.
void DotV(TCanvas* C, int X, int Y0, int Y1, int OX, int OY, TColor Color) {
  for (int y = Y0; y < Y1; ++y)
    if (((X - OX) + (y - OY)) % 2 == 0) C->SetPixel(X, y, Color);
}
void DotH(TCanvas* C, int X0, int X1, int Y, int OX, int OY, TColor Color) {
  for (int x = X0; x < X1; ++x)
    if (((x - OX) + (Y - OY)) % 2 == 0) C->SetPixel(x, Y, Color);
}
}  // namespace

// ---------------------------------------------------------------- rows

void TCustomTreeView::EnsureRows() const {
  if (FRowsValid) return;
  FRowsValid = true;
  FRows.clear();
  FContentWidth = 0;
  TCanvas* c = FCanvas.get();
  c->Font()->Assign(GetFont());
  std::vector<std::pair<const std::vector<TTreeNode*>*, size_t>> stack;
  stack.push_back({&FItems->FRoot->FChildren, 0});
  while (!stack.empty()) {
    auto& [list, i] = stack.back();
    if (i >= list->size()) {
      stack.pop_back();
      continue;
    }
    TTreeNode* n = (*list)[i++];
    n->FRow = static_cast<int>(FRows.size());
    FRows.push_back(n);
    if (n->FTextWidth < 0) n->FTextWidth = c->TextWidth(n->FText);
    int right = ColumnX(n) + kTextGap + n->FTextWidth + 2 * kTextPad + kTextGap;
    FContentWidth = std::max(FContentWidth, right);
    if (n->FExpanded && !n->FChildren.empty()) stack.push_back({&n->FChildren, 0});
  }
  // Keep the node that was at the top there; a node hidden by a collapse gives way to its
  // nearest visible parent.
  if (FTopNode) {
    TTreeNode* t = FTopNode;
    while (t && !t->IsVisible()) t = t->GetParent();
    if (t) FTopRow = t->FRow;
  }
  FTopRow = std::max(0, FTopRow);
  FTopNode = RowNode(ClampTop(FTopRow));
}

void TCustomTreeView::NodeTextChanged(TTreeNode* Node) {
  int oldWidth = Node->FTextWidth;
  Node->FTextWidth = -1;
  if (FRowsValid && Node->IsVisible()) {
    // A rename changes one row's width only; the rows stay unless the widest row shrank.
    int extra = ColumnX(Node) + 2 * kTextGap + 2 * kTextPad;
    int right = extra + TextWidthOf(Node);
    if (oldWidth < 0 || (extra + oldWidth >= FContentWidth && right < FContentWidth))
      FRowsValid = false;
    else
      FContentWidth = std::max(FContentWidth, right);
  }
  if (FItems->FUpdateCount == 0) Invalidate();
}

int TCustomTreeView::RowCount() const {
  EnsureRows();
  return static_cast<int>(FRows.size());
}

TTreeNode* TCustomTreeView::RowNode(int Row) const {
  EnsureRows();
  if (Row < 0 || Row >= static_cast<int>(FRows.size())) return nullptr;
  return FRows[static_cast<size_t>(Row)];
}

int TCustomTreeView::NodeColumn(const TTreeNode* Node) const {
  return Node->FLevel + (FShowRoot && (FShowLines || FShowButtons) ? 1 : 0);
}

int TCustomTreeView::ColumnX(const TTreeNode* Node) const {
  // Very deep trees with a wide indent would overflow; rows that far right are never seen.
  return static_cast<int>(std::min<int64_t>(int64_t{NodeColumn(Node)} * FIndent, kMaxColumnX));
}

int TCustomTreeView::TextWidthOf(TTreeNode* Node) const {
  EnsureRows();
  if (Node->FTextWidth < 0) {
    FCanvas->Font()->Assign(GetFont());
    Node->FTextWidth = FCanvas->TextWidth(Node->FText);
  }
  return Node->FTextWidth;
}

int TCustomTreeView::ContentWidth() const {
  EnsureRows();
  return FContentWidth;
}

// ---------------------------------------------------------------- geometry

int TCustomTreeView::RowHeight() const {
  if (FRowHeight <= 0) {
    FCanvas->Font()->Assign(GetFont());
    FRowHeight = std::max(1, FCanvas->TextHeight("Wg") + kRowExtra);
  }
  return FRowHeight;
}

TRect TCustomTreeView::InnerRect() const {
  int b = FBorderStyle == bsNone ? 0 : 2;
  TRect r = GetClientRect().Inflate(-b, -b);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TCustomTreeView::ScrollBarsNeeded(bool& V, bool& H) const {
  TRect r = InnerRect();
  int64_t rowsHeight = static_cast<int64_t>(RowCount()) * RowHeight();
  int content = ContentWidth();
  V = rowsHeight > r.Height();
  H = content > r.Width() - (V ? kScrollBarSize : 0);
  if (H && !V) V = rowsHeight > r.Height() - kScrollBarSize;
}

TRect TCustomTreeView::RowsArea() const {
  TRect r = InnerRect();
  bool v, h;
  ScrollBarsNeeded(v, h);
  if (v) r.Right = std::max(r.Left, r.Right - kScrollBarSize);
  if (h) r.Bottom = std::max(r.Top, r.Bottom - kScrollBarSize);
  return r;
}

int TCustomTreeView::VisibleRowCount() const { return RowsArea().Height() / RowHeight(); }

int TCustomTreeView::ClampTop(int Top) const {
  // With no whole row in view the last row may still be the top one.
  return std::clamp(Top, 0, std::max(0, RowCount() - std::max(1, VisibleRowCount())));
}

int TCustomTreeView::TopRow() const {
  EnsureRows();
  return ClampTop(FTopRow);
}

void TCustomTreeView::SetTopRow(int Value) {
  Value = ClampTop(Value);
  if (Value == TopRow() && FTopNode == RowNode(Value)) return;
  if (FEditNode) EndEditing(false);
  FTopRow = Value;
  FTopNode = RowNode(Value);
  Invalidate();
}

TTreeNode* TCustomTreeView::GetTopItem() const { return RowNode(TopRow()); }

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  if (!Value) return;
  FItems->CheckNode(Value);
  if (!Value->IsVisible()) return;
  EnsureRows();
  SetTopRow(Value->FRow);
}

int TCustomTreeView::MaxScrollX() const { return std::max(0, ContentWidth() - RowsArea().Width()); }

int TCustomTreeView::GetScrollX() const { return std::clamp(FScrollX, 0, MaxScrollX()); }

void TCustomTreeView::SetScrollX(int Value) {
  Value = std::clamp(Value, 0, MaxScrollX());
  if (Value == GetScrollX() && Value == FScrollX) return;
  if (FEditNode) EndEditing(false);
  FScrollX = Value;
  Invalidate();
}

void TCustomTreeView::ScrollIntoView(const TTreeNode* Node) {
  if (!Node || !Node->IsVisible()) return;
  EnsureRows();
  int row = Node->FRow, top = TopRow(), vis = std::max(1, VisibleRowCount());
  if (row < top)
    SetTopRow(row);
  else if (row >= top + vis)
    SetTopRow(row - vis + 1);
}

TRect TCustomTreeView::TextRect(const TTreeNode* Node) const {
  if (!Node || Node->FOwner != FItems.get() || !Node->IsVisible()) return {};
  EnsureRows();
  TRect a = RowsArea();
  int rh = RowHeight();
  int y = a.Top + (Node->FRow - TopRow()) * rh;
  int x = a.Left - GetScrollX() + ColumnX(Node) + kTextGap;
  int w = TextWidthOf(const_cast<TTreeNode*>(Node)) + 2 * kTextPad;
  return Rect(x, y, x + w, y + rh);
}

TRect TCustomTreeView::ButtonRect(const TTreeNode* Node) const {
  if (!FShowButtons || !Node || (!Node->FHasChildren && Node->FChildren.empty())) return {};
  int col = NodeColumn(Node);
  if (col < 1) return {};
  TRect t = TextRect(Node);
  if (t.IsEmpty()) return {};
  int cx = t.Left - kTextGap - FIndent + FIndent / 2;
  int cy = t.Top + RowHeight() / 2;
  return Rect(cx - 4, cy - 4, cx + 5, cy + 5);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  TRect a = RowsArea();
  if (!a.Contains({X, Y})) return nullptr;
  return RowNode(TopRow() + (Y - a.Top) / RowHeight());
}

THitTests TCustomTreeView::GetHitTestInfoAt(int X, int Y) const {
  THitTests r;
  TRect c = GetClientRect();
  if (X < c.Left) r << htToLeft;
  if (X >= c.Right) r << htToRight;
  if (Y < c.Top) r << htAbove;
  if (Y >= c.Bottom) r << htBelow;
  if (!r.Empty()) return r;
  TTreeNode* n = GetNodeAt(X, Y);
  if (!n) return {htNowhere};
  TRect t = TextRect(n);
  if (X >= t.Right) return {htOnRight};
  if (X >= t.Left) return {htOnItem, htOnLabel};
  // The whole indent column of the button takes the click, not only the small box.
  TRect b = ButtonRect(n);
  if (!b.IsEmpty() && X >= t.Left - kTextGap - FIndent) return {htOnButton};
  return {htOnIndent};
}

// ---------------------------------------------------------------- scroll bars

TRect TCustomTreeView::VScrollBarRect() const {
  bool v, h;
  ScrollBarsNeeded(v, h);
  if (!v) return {};
  TRect r = InnerRect();
  int bottom = h ? r.Bottom - kScrollBarSize : r.Bottom;
  return Rect(std::max(r.Left, r.Right - kScrollBarSize), r.Top, r.Right, std::max(r.Top, bottom));
}

TRect TCustomTreeView::HScrollBarRect() const {
  bool v, h;
  ScrollBarsNeeded(v, h);
  if (!h) return {};
  TRect r = InnerRect();
  int right = v ? r.Right - kScrollBarSize : r.Right;
  return Rect(r.Left, std::max(r.Top, r.Bottom - kScrollBarSize), std::max(r.Left, right),
              r.Bottom);
}

namespace {
// The vertical bar is the lists' shared one: rows are its items.
wp::TListScrollBar VerticalBar(const TCustomTreeView* T) {
  wp::TListScrollBar b;
  b.Bar = T->VScrollBarRect();
  b.Count = T->RowCount();
  b.Visible = std::max(1, T->VisibleRowCount());
  b.Top = T->TopRow();
  return b;
}
}  // namespace

TRect TCustomTreeView::VThumbRect() const {
  TRect bar = VScrollBarRect();
  return bar.IsEmpty() ? TRect{} : VerticalBar(this).Thumb();
}

TRect TCustomTreeView::HThumbRect() const {
  TRect bar = HScrollBarRect();
  if (bar.IsEmpty()) return {};
  int maxX = MaxScrollX(), w = RowsArea().Width();
  TRect tr = wp::ScrollTrackRect(bar, false);
  int track = tr.Width();
  if (maxX <= 0 || track < 8) return {};
  int len = std::max(8, static_cast<int>(static_cast<int64_t>(track) * w / (w + maxX)));
  int pos = static_cast<int>(static_cast<int64_t>(track - len) * GetScrollX() / maxX);
  int left = tr.Left + pos;
  return Rect(left, bar.Top, left + len, bar.Bottom);
}

bool TCustomTreeView::ScrollBarMouseDown(int X, int Y) {
  TRect v = VScrollBarRect(), h = HScrollBarRect();
  TPoint p{X, Y};
  if (v.Contains(p)) {
    wp::TListScrollBar bar = VerticalBar(this);
    int page = std::max(1, VisibleRowCount() - 1);
    switch (bar.HitTest(p)) {
      case wp::lsLineUp:
        SetTopRow(TopRow() - 1);
        break;
      case wp::lsLineDown:
        SetTopRow(TopRow() + 1);
        break;
      case wp::lsPageUp:
        SetTopRow(TopRow() - page);
        break;
      case wp::lsPageDown:
        SetTopRow(TopRow() + page);
        break;
      case wp::lsThumb:
        FThumbDrag = 1;
        FThumbGrab = Y - bar.Thumb().Top;
        break;
      case wp::lsNone:
        break;
    }
    return true;
  }
  if (!h.Contains(p)) {
    // The corner between two bars belongs to neither and does nothing.
    TRect inner = InnerRect();
    return !v.IsEmpty() && !h.IsEmpty() && X >= v.Left && Y >= h.Top && inner.Contains(p);
  }
  TRect thumb = HThumbRect();
  int delta = 0;
  if (wp::ScrollButtonRect(h, false, false).Contains(p)) {
    delta = -kHScrollStep;
  } else if (wp::ScrollButtonRect(h, false, true).Contains(p)) {
    delta = kHScrollStep;
  } else if (!thumb.IsEmpty()) {
    int page = std::max(kHScrollStep, RowsArea().Width() * 3 / 4);
    if (X < thumb.Left) {
      delta = -page;
    } else if (X >= thumb.Right) {
      delta = page;
    } else {
      FThumbDrag = 2;
      FThumbGrab = X - thumb.Left;
    }
  }
  if (delta != 0) SetScrollX(GetScrollX() + delta);
  return true;
}

void TCustomTreeView::DragThumb(int X, int Y) {
  if (FThumbDrag == 1) {
    if (VScrollBarRect().IsEmpty()) return;
    SetTopRow(VerticalBar(this).TopForThumb(Y - FThumbGrab));
    return;
  }
  TRect bar = HScrollBarRect(), thumb = HThumbRect();
  if (bar.IsEmpty() || thumb.IsEmpty()) return;
  TRect tr = wp::ScrollTrackRect(bar, false);
  int room = std::max(1, tr.Width() - thumb.Width());
  int at = std::clamp(X - tr.Left - FThumbGrab, 0, room);
  SetScrollX(static_cast<int>((static_cast<int64_t>(at) * MaxScrollX() + room / 2) / room));
}

void TCustomTreeView::PaintScrollBars(TCanvas* C) const {
  TRect v = VScrollBarRect(), h = HScrollBarRect();
  if (!v.IsEmpty()) wp::PaintListScrollBar(C, VerticalBar(this));
  wp::PaintScrollBar(C, h, false, HThumbRect());
  wp::PaintScrollCorner(C, v, h);
}

// ---------------------------------------------------------------- painting

void TCustomTreeView::PlaceEditor() {
  if (!FEditNode || !FEditor) return;
  TRect t = TextRect(FEditNode);
  TRect a = RowsArea();
  if (t.IsEmpty()) return;
  // Room to type past the current text, but not past the rows.
  int right = std::min(a.Right, std::max(t.Right + 24, t.Left + 64));
  FEditor->SetBounds(t.Left - 1, t.Top - 2, std::max(16, right - t.Left + 2), t.Height() + 4);
}

void TCustomTreeView::Paint() {
  TCanvas* c = FCanvas.get();
  c->Font()->Assign(GetFont());
  TRect client = GetClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(client);
  if (FBorderStyle != bsNone) {
    TRect r = client;
    wp::Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    wp::Frame3D(c, r, cl3DDkShadow, cl3DLight, 1);
  }
  EnsureRows();
  TRect a = RowsArea();
  if (!a.IsEmpty()) {
    c->SetClipRect(a);
    int rh = RowHeight();
    int top = TopRow();
    int last = std::min(static_cast<int>(FRows.size()), top + a.Height() / rh + 1);
    for (int row = top; row < last; ++row)
      PaintRow(c, FRows[static_cast<size_t>(row)], a.Top + (row - top) * rh);
    c->ResetClipRect();
  }
  PaintScrollBars(c);
}

void TCustomTreeView::PaintRow(TCanvas* C, TTreeNode* Node, int Y) const {
  TRect a = RowsArea();
  int rh = RowHeight();
  int base = a.Left - GetScrollX();
  int originY = Y - Node->FRow * rh;  // content y 0 in client coordinates
  int col = NodeColumn(Node);
  int cy = Y + rh / 2;
  TColor lineColor = clBtnShadow;
  if (FShowLines) {
    // The lines of the parents that have more siblings below pass through this row.
    TRect clip = C->GetClipRect();
    for (TTreeNode* p = Node->GetParent(); p; p = p->GetParent()) {
      int px = base + ColumnX(p) - FIndent + FIndent / 2;
      if (px < clip.Left) break;  // the rest lie further left, out of view
      if (NodeColumn(p) >= 1 && p->GetNextSibling() && px < clip.Right)
        DotV(C, px, Y, Y + rh, base, originY, lineColor);
    }
    if (col >= 1) {
      int cx = base + ColumnX(Node) - FIndent + FIndent / 2;
      if (Node->GetParent() || Node->GetPrevSibling()) DotV(C, cx, Y, cy, base, originY, lineColor);
      if (Node->GetNextSibling()) DotV(C, cx, cy, Y + rh, base, originY, lineColor);
      DotH(C, std::max(cx, clip.Left), std::min(base + ColumnX(Node) + kTextGap, clip.Right), cy,
           base, originY, lineColor);
    }
  }
  TRect b = ButtonRect(Node);
  if (!b.IsEmpty()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clWindow);
    C->FillRect(b);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(b);
    int bx = b.Left + 4, by = b.Top + 4;
    C->Brush()->SetColor(clWindowText);
    C->FillRect(Rect(bx - 2, by, bx + 3, by + 1));
    if (!Node->FExpanded || Node->FChildren.empty()) C->FillRect(Rect(bx, by - 2, bx + 1, by + 3));
  }
  if (Node == FEditNode) return;  // the editor covers the text
  TRect t = TextRect(Node);
  bool focused = Focused();
  bool selected = Node == FSelected && (focused || !FHideSelection);
  TColor text = IsEnabledInTree() ? GetFont()->GetColor() : clGrayText;
  if (selected) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(focused ? clHighlight : clBtnFace);
    C->FillRect(t);
    if (focused) text = clHighlightText;
  }
  bool hot = FHotTrack && Node == FHot;
  if (hot) {
    TFontStyles st = C->Font()->GetStyle();
    st << fsUnderline;
    C->Font()->SetStyle(st);
    if (!(selected && focused)) text = clHotLight;
  }
  C->Font()->SetColor(text);
  C->Brush()->SetStyle(bsClear);
  C->TextOut(t.Left + kTextPad, Y + (rh - C->TextHeight("Wg")) / 2, Node->FText);
  if (hot) C->Font()->SetStyle(GetFont()->GetStyle());
  if (focused && Node == FSelected) C->DrawFocusRect(t);
}

}  // namespace qel

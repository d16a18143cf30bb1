// The panel: bevels, border, caption, and a client area that aligned children keep inside.
#include <algorithm>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csOpaque,          csDoubleClicks, csReplicatable};
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

TCustomPanel::~TCustomPanel() = default;

int TCustomPanel::FrameSize() const {
  int s = FBorderStyle == bsSingle ? 1 : 0;
  if (FBevelOuter != bvNone) s += FBevelWidth;
  s += FBorderWidth;
  if (FBevelInner != bvNone) s += FBevelWidth;
  return s;
}

TRect TCustomPanel::EdgeRect() const {
  TRect r = GetClientRect();
  int w = FBevelKind == bkNone ? 0 : FBevelKind == bkFlat ? 1 : 2;
  if (FBevelEdges.Contains(beLeft)) r.Left += w;
  if (FBevelEdges.Contains(beTop)) r.Top += w;
  if (FBevelEdges.Contains(beRight)) r.Right -= w;
  if (FBevelEdges.Contains(beBottom)) r.Bottom -= w;
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

TRect TCustomPanel::InnerRect() const {
  int s = FrameSize();
  TRect r = EdgeRect().Inflate(-s, -s);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TCustomPanel::AlignControls(TControl* AControl, TRect& ARect) {
  // Aligned children fill what the bevels leave, never the bevels themselves.
  TRect inner = InnerRect();
  ARect = Rect(std::max(ARect.Left, inner.Left), std::max(ARect.Top, inner.Top),
               std::max(std::max(ARect.Left, inner.Left), std::min(ARect.Right, inner.Right)),
               std::max(std::max(ARect.Top, inner.Top), std::min(ARect.Bottom, inner.Bottom)));
  TCustomControl::AlignControls(AControl, ARect);
}

void TCustomPanel::Paint() {
  TCanvas* c = FCanvas.get();
  TRect r = GetClientRect();
  if (FBevelKind != bkNone) {
    // The edge rings, each side only where BevelEdges asks: top-left colour, bottom-right colour.
    const TColor rings[3][4] = {{clBtnShadow, clBtnHighlight, clBtnHighlight, clBtnShadow},
                                {cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow},
                                {clBtnShadow, clBtnShadow, 0, 0}};
    const TColor* ring = rings[FBevelKind - 1];
    int count = FBevelKind == bkFlat ? 1 : 2;
    c->Brush()->SetStyle(bsSolid);
    for (int i = 0; i < count; ++i) {
      TRect o = GetClientRect();
      // Ring i sits i pixels in from every side that has an edge.
      if (FBevelEdges.Contains(beLeft)) o.Left += i;
      if (FBevelEdges.Contains(beTop)) o.Top += i;
      if (FBevelEdges.Contains(beRight)) o.Right -= i;
      if (FBevelEdges.Contains(beBottom)) o.Bottom -= i;
      c->Brush()->SetColor(ring[2 * i]);
      if (FBevelEdges.Contains(beLeft)) c->FillRect(Rect(o.Left, o.Top, o.Left + 1, o.Bottom));
      if (FBevelEdges.Contains(beTop)) c->FillRect(Rect(o.Left, o.Top, o.Right, o.Top + 1));
      c->Brush()->SetColor(ring[2 * i + 1]);
      if (FBevelEdges.Contains(beRight)) c->FillRect(Rect(o.Right - 1, o.Top, o.Right, o.Bottom));
      if (FBevelEdges.Contains(beBottom))
        c->FillRect(Rect(o.Left, o.Bottom - 1, o.Right, o.Bottom));
    }
    r = EdgeRect();
  }
  auto bevel = [&](TPanelBevel B) {
    if (B == bvNone) return;
    TColor top = B == bvLowered ? clBtnShadow : B == bvRaised ? clBtnHighlight : GetColor();
    TColor bottom = B == bvLowered ? clBtnHighlight : B == bvRaised ? clBtnShadow : GetColor();
    wp::Frame3D(c, r, top, bottom, FBevelWidth);
  };
  if (FBorderStyle == bsSingle) wp::Frame3D(c, r, clWindowFrame, clWindowFrame, 1);
  bevel(FBevelOuter);
  wp::Frame3D(c, r, GetColor(), GetColor(), FBorderWidth);
  bevel(FBevelInner);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetColor());
  c->FillRect(r);
  if (GetCaption().empty()) return;
  c->Font()->Assign(GetFont());
  c->Brush()->SetStyle(bsClear);
  unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (FAlignment == taCenter) flags |= DT_CENTER;
  if (FAlignment == taRightJustify) flags |= DT_RIGHT;
  wp::DrawCaption(c, GetCaption(), r, flags, IsEnabledInTree());
}

void TCustomPanel::FrameChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  Value = std::clamp(Value, 1, kMaxControlCoord);
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
  Value = std::clamp(Value, 0, kMaxControlCoord);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelKind(TBevelKind Value) {
  if (FBevelKind == Value) return;
  FBevelKind = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelEdges(TBevelEdges Value) {
  if (FBevelEdges == Value) return;
  FBevelEdges = Value;
  FrameChanged();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}

void TCustomPanel::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

}  // namespace qel

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

TRect TCustomPanel::InnerRect() const {
  int s = FrameSize();
  TRect r = GetClientRect().Inflate(-s, -s);
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
  TRect text = r;
  if (!IsEnabledInTree()) {
    TRect lit = text.Offset(1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawText(c, GetCaption(), lit, flags);
    c->Font()->SetColor(clBtnShadow);
  }
  DrawText(c, GetCaption(), text, flags);
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
  Value = std::max(1, Value);
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
  Value = std::max(0, Value);
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

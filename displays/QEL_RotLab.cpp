// TRotLab: placement of the rotated caption, measuring, painting and the setters.
#include "displays/QEL_RotLab.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

// Angles are kept as given; drawing only needs them modulo a turn (and an orientation in
// tenths of a degree must not overflow for huge values).
int NormalAngle(int Angle) {
  const int a = Angle % 360;
  return a < 0 ? a + 360 : a;
}

double Radians(int Angle) { return NormalAngle(Angle) / 180.0 * std::numbers::pi; }

}  // namespace

TPoint RotLabTextOrigin(TAlignment Alignment, int Angle, TPoint Anchor, int Width, int Height) {
  const int hw = Width / 2, hh = Height / 2;
  const double a = Radians(Angle), s = std::sin(a), c = std::cos(a);
  // Along the baseline the text runs (cos a, -sin a); "down" in the text is (sin a, cos a).
  // Step back half the cell height across the text, and 0, hw or 2hw along it.
  const int along = Alignment == taLeftJustify ? 0 : Alignment == taCenter ? hw : 2 * hw;
  return {Anchor.X + RoundToInt(-along * c - hh * s), Anchor.Y + RoundToInt(along * s - hh * c)};
}

TRect RotLabTextBounds(TPoint Origin, int Angle, int Width, int Height) {
  const double a = Radians(Angle), s = std::sin(a), c = std::cos(a);
  const double xs[4] = {0, Width * c, Height * s, Width * c + Height * s};
  const double ys[4] = {0, -Width * s, Height * c, -Width * s + Height * c};
  const auto [x0, x1] = std::minmax_element(xs, xs + 4);
  const auto [y0, y1] = std::minmax_element(ys, ys + 4);
  // A corner a rounding error past a pixel edge must not add a pixel.
  constexpr double eps = 1e-9;
  return Rect(
      Origin.X + TruncToInt(std::floor(*x0 + eps)), Origin.Y + TruncToInt(std::floor(*y0 + eps)),
      Origin.X + TruncToInt(std::ceil(*x1 - eps)), Origin.Y + TruncToInt(std::ceil(*y1 - eps)));
}

// ---------------------------------------------------------------- TRotLab

TRotLab::TRotLab(TComponent* AOwner) : TCustomLabel(AOwner) {
  // The caption is placed about the anchor, not in a text rectangle: the label keeps the size
  // it is given.
  SetAutoSize(false);
  TCustomLabel::SetAlignment(taCenter);
  TCustomLabel::SetTransparent(true);
  TControl::SetColor(clBtnFace);
  GetFont()->SetName("Arial");
  GetFont()->SetSize(11);
  SetBounds(GetLeft(), GetTop(), 200, 200);  // Resize centres the anchor
}

TRotLab::~TRotLab() = default;

void TRotLab::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TRotLab*>(Source);
  if (!s) {
    TCustomLabel::Assign(Source);
    return;
  }
  FAutoCenter = s->FAutoCenter;
  FFrameStyle = s->FFrameStyle;
  FTextAngle = s->FTextAngle;
  FPosX = s->FPosX;
  FPosY = s->FPosY;
  FAntiAlias = s->FAntiAlias;
  TCustomLabel::SetAlignment(s->GetAlignment());
  TCustomLabel::SetTransparent(s->GetTransparent());
  // The copied anchor is the source's middle; this label's middle may lie elsewhere.
  if (FAutoCenter) Centre();
  Invalidate();
}

void TRotLab::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRotLab*>(Dest))
    d->Assign(this);
  else
    TCustomLabel::AssignTo(Dest);
}

void TRotLab::Changed() {
  if (GetTransparent())
    Invalidate();  // the parent must paint underneath first
  else
    Repaint();
}

void TRotLab::Centre() {
  FPosX = GetWidth() / 2;
  FPosY = GetHeight() / 2;
}

void TRotLab::SetTextAngle(int Value) {
  if (Value == FTextAngle) return;
  FTextAngle = Value;
  AdjustBounds();  // an auto-sized label fits the turned caption, as it does after loading
  Changed();
}

void TRotLab::SetPosX(int Value) {
  if (Value == FPosX) return;
  // While loading, the value is kept whatever the order of the lines; Loaded re-centres.
  if (FAutoCenter && !ComponentState().Contains(csLoading))
    Centre();
  else
    FPosX = Value;
  Changed();
}

void TRotLab::SetPosY(int Value) {
  if (Value == FPosY) return;
  if (FAutoCenter && !ComponentState().Contains(csLoading))
    Centre();
  else
    FPosY = Value;
  Changed();
}

void TRotLab::SetAlignment(TAlignment Value) {
  if (Value == GetAlignment() || Value > taCenter) return;
  TCustomLabel::SetAlignment(Value);
  Changed();
}

void TRotLab::SetAutoCenter(bool Value) {
  if (Value == FAutoCenter) return;
  FAutoCenter = Value;
  if (Value) Centre();
  Changed();
}

void TRotLab::SetAntiAlias(bool Value) {
  if (Value == FAntiAlias) return;
  FAntiAlias = Value;
  Changed();
}

void TRotLab::SetTransparent(bool Value) {
  if (Value == GetTransparent()) return;
  TCustomLabel::SetTransparent(Value);
  Changed();
}

void TRotLab::SetColor(TColor Value) {
  const bool same = Value == GetColor();
  TControl::SetColor(Value);  // clears ParentColor even when the colour stays
  if (!same) Changed();
}

void TRotLab::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  Changed();
}

void TRotLab::Loaded() {
  TCustomLabel::Loaded();
  if (FAutoCenter) Centre();
}

void TRotLab::Resize() {
  if (FAutoCenter) {
    Centre();
    Changed();
  }
  TCustomLabel::Resize();  // OnResize stays free for the host
}

void TRotLab::MakeRotatedFont(TFont* Font) const {
  Font->Assign(GetFont());
  Font->SetOrientation(NormalAngle(FTextAngle) * 10);
  Font->SetQuality(FAntiAlias ? fqAntialiased : fqNonAntialiased);
}

TSize TRotLab::CaptionExtent() const {
  TCanvas c;
  MakeRotatedFont(c.Font());
  return c.TextExtent(GetCaption());
}

TPoint TRotLab::TextOrigin() const {
  const TSize e = CaptionExtent();
  return RotLabTextOrigin(GetAlignment(), FTextAngle, Anchor(), e.cx, e.cy);
}

TRect TRotLab::TextBounds() const {
  const TSize e = CaptionExtent();
  return RotLabTextBounds(TextOrigin(), FTextAngle, e.cx, e.cy);
}

void TRotLab::DoDrawText(TRect& Rect, unsigned Flags) {
  if ((Flags & DT_CALCRECT) != 0) {
    // Measuring only: the extent of the rotated caption, so that auto size and layout get
    // what the label really draws.
    const TRect b = TextBounds();
    Rect.Right = Rect.Left + b.Width();
    Rect.Bottom = Rect.Top + b.Height();
    return;
  }
  const std::string text = GetCaption();
  if (text.empty()) return;
  TCanvas* c = Canvas();
  MakeRotatedFont(c->Font());
  c->Brush()->SetStyle(bsClear);
  const TSize e = c->TextExtent(text);
  const TPoint o = RotLabTextOrigin(GetAlignment(), FTextAngle, Anchor(), e.cx, e.cy);
  if (IsEnabledInTree()) {
    c->TextOut(o.X, o.Y, text);
    return;
  }
  // Embossed, lit from the top left whatever the angle.
  c->Font()->SetColor(clBtnHighlight);
  c->TextOut(o.X + 1, o.Y + 1, text);
  c->Font()->SetColor(clBtnShadow);
  c->TextOut(o.X, o.Y, text);
}

void TRotLab::Paint() {
  if (!GetVisible() && !ComponentState().Contains(csDesigning)) return;
  TCustomLabel::Paint();
  DrawFrame(Canvas(), FFrameStyle, 0, 0, GetWidth() - 1, GetHeight() - 1, clWhite, clSilver, clGray,
            clBlack, clBlack);
}

}  // namespace qel

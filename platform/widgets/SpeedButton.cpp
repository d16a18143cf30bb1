// The speed button: pressing and releasing, groups, the flat hot look, glyph and caption layout.
#include <algorithm>

#include "platform/widgets/Buttons.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  // Without click events from the framework: the button decides on release whether it clicked.
  // Without double clicks: two quick presses are two clicks (a toggle flips twice).
  FControlStyle = {csCaptureMouse};
  FGlyph->OnChange = [this](TObject* Sender) { GlyphChanged(Sender); };
  SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

// ---------------------------------------------------------------- properties

void TSpeedButton::GlyphChanged(TObject*) {
  // A strip of square images says how many it holds.
  int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
  if (h > 0 && w % h == 0 && w / h >= 1 && w / h <= 4) FNumGlyphs = w / h;
  Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* Value) {
  if (Value)
    FGlyph->Assign(Value);
  else
    FGlyph->SetSize(0, 0);
  GlyphChanged(FGlyph.get());
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  if (Value < 1 || Value > 4 || Value == FNumGlyphs) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  Value = std::max(-1, Value);
  if (FMargin == Value) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  Value = std::max(-1, Value);
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value)
    FControlStyle >> csOpaque;
  else
    FControlStyle << csOpaque;
  Invalidate();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The last button of a group stays down unless the group allows all up.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  if (!GetEnabled()) FState = bsDisabled;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (Value == 0 && FDown) {
    FDown = false;
    FState = GetEnabled() ? bsUp : bsDisabled;
    Invalidate();
  }
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !GetParent()) return;
  TMessage m;
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = static_cast<WPARAM>(FGroupIndex);
  m.LParam = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
  GetParent()->Broadcast(m);
}

void TSpeedButton::CMButtonPressed(TMessage& Message) {
  if (static_cast<int>(Message.WParam) != FGroupIndex) return;
  auto* sender = dynamic_cast<TSpeedButton*>(reinterpret_cast<TControl*>(Message.LParam));
  if (!sender || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FState = GetEnabled() ? bsUp : bsDisabled;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TSpeedButton::WndProc(TMessage& Message) {
  if (Message.Msg == CM_BUTTONPRESSED) {
    CMButtonPressed(Message);
    return;
  }
  if (Message.Msg == CM_DIALOGCHAR) {
    CMDialogChar(Message);
    if (Message.Result != 0) return;
  }
  TGraphicControl::WndProc(Message);
}

void TSpeedButton::CMDialogChar(TMessage& Message) {
  // Alt+x (or x where the focused control takes no characters) presses the button whose
  // caption marks x. It acts as a whole click: a grouped button toggles as under the mouse.
  char32_t accel = AccelCharOf(GetCaption());
  auto ch = static_cast<char32_t>(Message.WParam);
  if (ch >= 'A' && ch <= 'Z') ch = ch - 'A' + 'a';
  if (accel == 0 || ch != accel || !GetEnabled() || !GetVisible() || !GetParent() ||
      !GetParent()->Showing())
    return;
  if (FGroupIndex != 0) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  Message.Result = 1;
  Click();
}

// ---------------------------------------------------------------- mouse

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !GetEnabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
  TButtonState s = FDown ? bsExclusive : (inside ? bsDown : bsUp);
  if (s != FState) {
    FState = s;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FDragging) return;
  FDragging = false;
  bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (inside) {
    // A grouped button toggles; going up needs AllowAllUp (SetDown refuses otherwise).
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (Message.LParam != 0 || !GetEnabled()) return;
  FMouseInControl = true;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (Message.LParam != 0) return;
  FMouseInControl = false;
  if (FFlat) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  FState = !GetEnabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
  if (!GetEnabled()) {
    FMouseInControl = false;
    FDragging = false;
  }
  Invalidate();
}

void TSpeedButton::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
}

void TSpeedButton::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  Invalidate();
}

// ---------------------------------------------------------------- layout and painting

TSize TSpeedButton::GlyphSize() const {
  if (FGlyph->Empty()) return {0, 0};
  return {FGlyph->GetWidth() / FNumGlyphs, FGlyph->GetHeight()};
}

void TSpeedButton::CalcLayout(TPoint& GlyphPos, TRect& TextBounds) const {
  TSize client{GetWidth(), GetHeight()};
  TSize glyph = GlyphSize();
  TSize text{0, 0};
  if (!GetCaption().empty()) {
    TCanvas* c = Canvas();
    c->Font()->Assign(GetFont());
    TRect r = Rect(0, 0, client.cx, 0);
    DrawText(c, GetCaption(), r, DT_CALCRECT | DT_SINGLELINE);
    text = {r.Width(), r.Height()};
  }
  bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
  int room = horizontal ? client.cx : client.cy;
  int g = horizontal ? glyph.cx : glyph.cy, t = horizontal ? text.cx : text.cy;
  int margin = FMargin, spacing = FSpacing;
  // Spacing means nothing without both a glyph and a caption.
  if (g == 0 || t == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (room - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (room - (g + spacing + t) + 1) / 2;
    }
  } else if (spacing == -1) {
    spacing = (room - (margin + g) - t) / 2;
  }
  switch (FLayout) {
    case blGlyphLeft:
      GlyphPos = {margin, (client.cy - glyph.cy + 1) / 2};
      TextBounds =
          Bounds(GlyphPos.X + glyph.cx + spacing, (client.cy - text.cy + 1) / 2, text.cx, text.cy);
      break;
    case blGlyphRight:
      GlyphPos = {client.cx - margin - glyph.cx, (client.cy - glyph.cy + 1) / 2};
      TextBounds =
          Bounds(GlyphPos.X - spacing - text.cx, (client.cy - text.cy + 1) / 2, text.cx, text.cy);
      break;
    case blGlyphTop:
      GlyphPos = {(client.cx - glyph.cx + 1) / 2, margin};
      TextBounds =
          Bounds((client.cx - text.cx + 1) / 2, GlyphPos.Y + glyph.cy + spacing, text.cx, text.cy);
      break;
    case blGlyphBottom:
      GlyphPos = {(client.cx - glyph.cx + 1) / 2, client.cy - margin - glyph.cy};
      TextBounds =
          Bounds((client.cx - text.cx + 1) / 2, GlyphPos.Y - spacing - text.cy, text.cx, text.cy);
      break;
  }
}

void TSpeedButton::DrawGlyph(TCanvas* C, TPoint At) const {
  TSize size = GlyphSize();
  if (size.cx == 0) return;
  bool disabled = !IsEnabledInTree();
  TButtonState s = disabled ? bsDisabled : FState;
  int index = static_cast<int>(s);
  bool emboss = false;
  if (index >= FNumGlyphs) {
    emboss = s == bsDisabled;
    index = 0;
  }
  TColor key = FGlyph->GetTransparentColor() & 0xFFFFFF;
  const TCanvas* src = FGlyph->Canvas();
  int x0 = index * size.cx;
  for (int y = 0; y < size.cy; ++y) {
    for (int x = 0; x < size.cx; ++x) {
      TColor p = src->GetPixel(x0 + x, y) & 0xFFFFFF;
      if (p == key) continue;
      if (!emboss) {
        C->SetPixel(At.X + x, At.Y + y, p);
        continue;
      }
      // Embossed: the glyph's dark pixels as a highlight shifted down-right under a shadow.
      int lum = ((p & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + ((p >> 16) & 0xFF) * 11) / 100;
      if (lum >= 192) continue;
      C->SetPixel(At.X + x + 1, At.Y + y + 1, ColorToRGB(clBtnHighlight));
    }
  }
  if (!emboss) return;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) {
      TColor p = src->GetPixel(x0 + x, y) & 0xFFFFFF;
      if (p == key) continue;
      int lum = ((p & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + ((p >> 16) & 0xFF) * 11) / 100;
      if (lum < 192) C->SetPixel(At.X + x, At.Y + y, ColorToRGB(clBtnShadow));
    }
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = GetClientRect();
  bool enabled = IsEnabledInTree();
  TButtonState s = enabled ? FState : bsDisabled;
  bool pressed = s == bsDown || s == bsExclusive;
  if (!FFlat) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    if (pressed) {
      wp::Frame3D(c, r, cl3DDkShadow, clBtnHighlight, 1);
      wp::Frame3D(c, r, clBtnShadow, cl3DLight, 1);
    } else {
      wp::Frame3D(c, r, clBtnHighlight, cl3DDkShadow, 1);
      wp::Frame3D(c, r, cl3DLight, clBtnShadow, 1);
    }
  } else {
    if (!FTransparent || s == bsExclusive) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clBtnFace);
      c->FillRect(r);
    }
    if (pressed)
      wp::Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    else if (FMouseInControl && enabled)
      wp::Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
  }
  // Held down (not just pressed): the classic light checker behind the content.
  if (s == bsExclusive && !(FFlat && FMouseInControl && FDragging))
    wp::Checker(c, r, clBtnFace, clBtnHighlight);
  int off = pressed ? 1 : 0;
  TPoint glyphPos;
  TRect textBounds;
  CalcLayout(glyphPos, textBounds);
  DrawGlyph(c, {glyphPos.X + off, glyphPos.Y + off});
  if (GetCaption().empty()) return;
  c->Font()->Assign(GetFont());
  c->Brush()->SetStyle(bsClear);
  TRect tr = textBounds.Offset(off, off);
  unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  wp::DrawCaption(c, GetCaption(), tr, flags, enabled);
}

}  // namespace qel

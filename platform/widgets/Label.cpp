// The label: caption layout, auto size through DoDrawText, accelerator focus.
#include <algorithm>

#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

char32_t AccelCharOf(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    char32_t c = edittext::Decode(Caption, static_cast<int>(i) + 1);
    return edittext::FoldAscii(c);
  }
  return 0;
}

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle << csOpaque << csReplicatable;
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

TCustomLabel::~TCustomLabel() = default;

unsigned TCustomLabel::DrawTextFlags() const {
  unsigned f = DT_EXPANDTABS;
  if (FAlignment == taRightJustify) f |= DT_RIGHT;
  if (FAlignment == taCenter) f |= DT_CENTER;
  if (FWordWrap) f |= DT_WORDBREAK;
  if (!FShowAccelChar) f |= DT_NOPREFIX;
  return f;
}

void TCustomLabel::DoDrawText(TRect& Rect, unsigned Flags) {
  std::string text = GetCaption();
  // An empty caption still measures one line high, so an auto-sized label does not vanish.
  if ((Flags & DT_CALCRECT) != 0 && (text.empty() || (FShowAccelChar && text == "&"))) text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* c = Canvas();
  c->Font()->Assign(GetFont());
  c->Brush()->SetStyle(bsClear);
  if ((Flags & DT_CALCRECT) != 0) {
    DrawText(c, text, Rect, Flags);
    return;
  }
  wp::DrawCaption(c, text, Rect, Flags, IsEnabledInTree());
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect client = GetClientRect();
  if (!GetTransparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(GetColor());
    c->FillRect(client);
  }
  unsigned flags = DrawTextFlags();
  TRect r = client;
  if (FLayout != tlTop) {
    // Measure with the same width, then place the text block in the client height.
    TRect calc = client;
    DoDrawText(calc, flags | DT_CALCRECT);
    int h = calc.Height();
    int dy = FLayout == tlBottom ? client.Height() - h : (client.Height() - h) / 2;
    r.Top += dy;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || FAdjusting || FComponentState.Contains(csLoading)) return;
  FAdjusting = true;
  TRect r = GetClientRect();
  // Without wrapping the label grows to its text; with wrapping it keeps its width.
  if (!FWordWrap) r.Right = r.Left;
  DoDrawText(r, (DrawTextFlags() & ~(DT_RIGHT | DT_CENTER)) | DT_CALCRECT);
  // An aligned label keeps the side its alignment gives it, hidden or not (a hidden one is
  // aligned again only when shown, and a form file read back aligns it at once).
  const TAlign a = GetAlign();
  const bool alignedWidth = a == alTop || a == alBottom || a == alClient;
  const bool alignedHeight = a == alLeft || a == alRight || a == alClient;
  int w = FWordWrap || alignedWidth ? GetWidth() : r.Width();
  int h = alignedHeight ? GetHeight() : r.Height();
  int x = GetLeft();
  // The edge the alignment names stays put.
  if (FAlignment == taRightJustify) x += GetWidth() - w;
  if (FAlignment == taCenter) x += (GetWidth() - w) / 2;
  SetBounds(x, GetTop(), w, h);
  FAdjusting = false;
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (GetTransparent() == Value) return;
  if (Value)
    FControlStyle >> csOpaque;
  else
    FControlStyle << csOpaque;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::CMTextChanged(TMessage& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::CMEnabledChanged(TMessage& Message) {
  TGraphicControl::CMEnabledChanged(Message);
  Invalidate();
}

void TCustomLabel::WndProc(TMessage& Message) {
  // Alt+x (or x alone where the focused control takes no characters) reaches every control as
  // CM_DIALOGCHAR; the label hands the focus to its FocusControl.
  if (Message.Msg == CM_DIALOGCHAR && FShowAccelChar && FFocusControl && GetEnabled()) {
    char32_t ch = static_cast<char32_t>(Message.WParam);
    if (ch >= 'A' && ch <= 'Z') ch = ch - 'A' + 'a';
    char32_t accel = AccelCharOf(GetCaption());
    if (accel != 0 && ch == accel && FFocusControl->CanFocus()) {
      FFocusControl->SetFocus();
      Message.Result = 1;
      return;
    }
  }
  TGraphicControl::WndProc(Message);
}

}  // namespace qel

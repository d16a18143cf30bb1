// The picker's geometry (button, spin and check-box rectangles, field positions) and painting.
#include <algorithm>

#include "platform/widgets/DateTimePickerImpl.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;
using namespace dtp_impl;

// ---- geometry

TRect TDateTimePicker::ButtonRect() const {
  int w = GetWidth(), h = GetHeight();
  int bw = std::min(HasSpinButtons() ? kSpinWidth : kDropButtonWidth, std::max(0, w - 2 * kBorder));
  return Rect(w - kBorder - bw, kBorder, w - kBorder, std::max(kBorder, h - kBorder));
}

TRect TDateTimePicker::UpButtonRect() const {
  if (!HasSpinButtons()) return {};
  TRect b = ButtonRect();
  return Rect(b.Left, b.Top, b.Right, b.Top + b.Height() / 2);
}

TRect TDateTimePicker::DownButtonRect() const {
  if (!HasSpinButtons()) return {};
  TRect b = ButtonRect();
  return Rect(b.Left, b.Top + b.Height() / 2, b.Right, b.Bottom);
}

TRect TDateTimePicker::CheckboxRect() const {
  if (!FShowCheckbox) return {};
  int top = (GetHeight() - kCheckSize) / 2;
  return Bounds(kBorder + 2, top, kCheckSize, kCheckSize);
}

TRect TDateTimePicker::TextRect() const {
  int left = FShowCheckbox ? CheckboxRect().Right + 2 : kBorder + 1;
  TRect b = ButtonRect();
  return Rect(left, kBorder + 1, std::max(left, b.Left - 1),
              std::max(kBorder + 1, GetHeight() - kBorder - 1));
}

TRect TDateTimePicker::ItemRect(int Index) const {
  TRect t = TextRect();
  FCanvas->Font()->Assign(GetFont());
  int th = FCanvas->TextHeight("Wg");
  int top = t.Top + (t.Height() - th) / 2;
  TFormatSettings fs = GetFormatSettings();
  int x = t.Left + 2;
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n && i <= Index; ++i) {
    std::string s = i == FSelected && !FPending.empty()
                        ? FPending
                        : FormatDTItem(FItems[static_cast<size_t>(i)], FDateTime, fs);
    int w = FCanvas->TextWidth(s);
    if (i == Index) return Rect(x, top, x + w, top + th);
    x += w;
  }
  return {};
}

int TDateTimePicker::FieldAtPos(TPoint P) const {
  int best = -1, bestDist = 0;
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n; ++i) {
    if (FItems[static_cast<size_t>(i)].Kind == fkLiteral) continue;
    TRect r = ItemRect(i);
    int dist = P.X < r.Left ? r.Left - P.X : P.X >= r.Right ? P.X - r.Right + 1 : 0;
    if (best < 0 || dist < bestDist) best = i, bestDist = dist;
  }
  return best;
}

// ---- painting

void TDateTimePicker::Paint() {
  TCanvas* c = FCanvas.get();
  TRect r = GetClientRect();
  bool enabled = IsEnabledInTree();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(enabled ? GetColor() : clBtnFace);
  c->FillRect(r);
  TRect f = r;
  wp::Frame3D(c, f, clBtnShadow, clBtnHighlight, 1);
  wp::Frame3D(c, f, clWindowFrame, clBtnFace, 1);

  if (FShowCheckbox) {
    TRect box = CheckboxRect();
    c->Brush()->SetColor(enabled ? clWindow : clBtnFace);
    c->FillRect(box);
    TRect fr = box;
    wp::Frame3D(c, fr, clBtnShadow, clBtnHighlight, 1);
    wp::Frame3D(c, fr, cl3DDkShadow, cl3DLight, 1);
    if (FChecked) {
      // A tick three pixels thick.
      c->Pen()->SetColor(enabled ? clWindowText : clGrayText);
      for (int i = 0; i < 3; ++i) {
        c->MoveTo(box.Left + 3, box.Top + 5 + i);
        c->LineTo(box.Left + 5, box.Top + 7 + i);
        c->LineTo(box.Left + 10, box.Top + 2 + i);
      }
    }
  }

  TColor arrow = enabled ? clBtnText : clGrayText;
  if (HasSpinButtons()) {
    TRect up = UpButtonRect(), down = DownButtonRect();
    wp::ButtonFace(c, up, FSpinPressed == 1 && FSpinOver);
    wp::Arrow(c, up, 0, arrow);
    wp::ButtonFace(c, down, FSpinPressed == -1 && FSpinOver);
    wp::Arrow(c, down, 1, arrow);
  } else {
    TRect b = ButtonRect();
    wp::ButtonFace(c, b, FDropped);
    wp::Arrow(c, b, 1, arrow);
  }

  TRect area = TextRect();
  if (area.IsEmpty()) return;
  c->SetClipRect(area);
  c->Font()->Assign(GetFont());
  bool live = enabled && (!FShowCheckbox || FChecked);
  TColor text = live ? GetFont()->GetColor() : clGrayText;
  TFormatSettings fs = GetFormatSettings();
  int n = static_cast<int>(FItems.size());
  for (int i = 0; i < n; ++i) {
    TRect ir = ItemRect(i);
    bool sel = i == FSelected && live && Focused();
    std::string s = i == FSelected && !FPending.empty()
                        ? FPending
                        : FormatDTItem(FItems[static_cast<size_t>(i)], FDateTime, fs);
    if (sel) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->FillRect(ir);
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(sel ? clHighlightText : text);
    c->TextOut(ir.Left, ir.Top, s);
  }
  c->ResetClipRect();
}

}  // namespace qel

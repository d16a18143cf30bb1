// TColSel's items: a colour bar (with an edit mark on editable entries) and the name.
#include <cmath>

#include "selectors/QEL_Colsel.h"

namespace qel {

void TColSel::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  const int entry = Index + 1;
  const TColor colour = InRange(entry) ? FColors[entry] : clBlack;
  const bool enabled = IsEnabledInTree();
  const int cbw = FColorBarWidth;
  int l = Rect.Left;
  const int t = Rect.Top, r = Rect.Right, b = Rect.Bottom;
  const TColor savedBrush = c->Brush()->GetColor();
  const TColor savedFont = c->Font()->GetColor();
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psSolid);
  c->Brush()->SetStyle(bsSolid);

  // 1. The colour bar; a grey outline on silver when disabled.
  if (cbw > 0) {
    if (enabled) {
      c->Brush()->SetColor(colour);
    } else {
      c->Pen()->SetColor(clSilver);
      c->Brush()->SetColor(clSilver);
      c->Rectangle(l - 1, t - 1, l + cbw + 3, b + 1);
      c->Pen()->SetColor(clGray);
    }
    c->Rectangle(l + 3, t + 2, l + cbw + 3, b - 2);
    if (InRange(entry) && FAllowEdit[entry] && cbw > 11 && enabled) {
      // The edit mark, in black on light colours and white on dark ones.
      const TColor rgb = ColorToRGB(colour);
      const double cr = GetRValue(rgb), cg = GetGValue(rgb), cb = GetBValue(rgb);
      const double v = std::sqrt(cr * cr + 2 * cg * cg + cb * cb) / 2;
      c->Pen()->SetColor(v > 180 ? clBlack : clWhite);
      const TPoint mark[] = {{l + 5, t + 4},  {l + 5, b - 5}, {l + 8, b - 5}, {l + 11, b - 8},
                             {l + 11, t + 7}, {l + 8, t + 4}, {l + 5, t + 4}};
      c->Polyline(mark);
      c->Pen()->SetColor(clBlack);
    }
  }

  // 2. The name's colours. A selected item shows its name in the highlight colours, so that the
  // open list shows where the choice is.
  if (!enabled) {
    c->Font()->SetColor(clGray);
    c->Brush()->SetColor(clSilver);
  } else if (State.Contains(odSelected)) {
    c->Font()->SetColor(clHighlightText);
    c->Brush()->SetColor(clHighlight);
  } else {
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(GetColor());
  }

  // 3. The name, vertically centred, beside the bar.
  l += cbw + 3;
  const std::string name = InRange(entry) ? FNames[entry] : std::string();
  c->TextRect(qel::Rect(l, t, r, b), l + 3, t + (b - t - c->TextHeight(name)) / 2, name);

  // 4. The canvas as it was.
  c->Brush()->SetColor(savedBrush);
  c->Font()->SetColor(savedFont);
}

// The framework shows a disabled box as plain grey text; the selector keeps its colour bar.
void TColSel::Paint() {
  TCustomComboBox::Paint();
  if (IsEnabledInTree() || GetItemIndex() < 0) return;
  PaintItem(TCustomControl::Canvas(), GetItemIndex(), EditRect(),
            TOwnerDrawState{odComboBoxEdit, odDisabled, odGrayed});
}

}  // namespace qel

// Shared widget drawing: frames, button faces, arrows, checker fills.
#include "platform/widgets/WidgetPaint.h"

#include <algorithm>

namespace qel::widgetpaint {

void Frame3D(TCanvas* C, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  for (int i = 0; i < Width && !Rect.IsEmpty(); ++i) {
    int l = Rect.Left, t = Rect.Top, r = Rect.Right - 1, b = Rect.Bottom - 1;
    C->Pen()->SetColor(TopColor);
    C->MoveTo(l, b);
    C->LineTo(l, t);
    C->LineTo(r, t);
    C->Pen()->SetColor(BottomColor);
    C->LineTo(r, b);
    C->LineTo(l - 1, b);
    Rect = Rect.Inflate(-1, -1);
  }
}

void ButtonFace(TCanvas* C, const TRect& R, bool Pressed) {
  TRect r = R;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  if (Pressed) {
    Frame3D(C, r, clBtnShadow, clBtnShadow, 1);
  } else {
    Frame3D(C, r, clBtnHighlight, cl3DDkShadow, 1);
    Frame3D(C, r, clBtnFace, clBtnShadow, 1);
  }
}

void Arrow(TCanvas* C, const TRect& R, int Direction, TColor Color) {
  int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  int s = std::max(1, std::min(R.Width(), R.Height()) / 4);
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  // Row by row, so the triangle is crisp whatever its size.
  for (int i = 0; i < s; ++i) {
    int half = i;
    switch (Direction) {
      case 0:
        C->FillRect(Rect(cx - half, cy - s / 2 + i, cx + half + 1, cy - s / 2 + i + 1));
        break;
      case 1:
        C->FillRect(Rect(cx - half, cy + s / 2 - i, cx + half + 1, cy + s / 2 - i + 1));
        break;
      case 2:
        C->FillRect(Rect(cx - s / 2 + i, cy - half, cx - s / 2 + i + 1, cy + half + 1));
        break;
      default:
        C->FillRect(Rect(cx + s / 2 - i, cy - half, cx + s / 2 - i + 1, cy + half + 1));
        break;
    }
  }
}

void Checker(TCanvas* C, const TRect& R, TColor Color1, TColor Color2) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color1);
  C->FillRect(R);
  TColor c2 = ColorToRGB(Color2);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left + ((R.Left + y) & 1); x < R.Right; x += 2) C->SetPixel(x, y, c2);
}

}  // namespace qel::widgetpaint

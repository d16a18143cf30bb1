// TNTabEd drawing: the number text, data cells with their marks and selection, heading cells with
// the highlight of the current line, the corner with the cell cursor or the comment label.
#include <cmath>

#include "ntabed/QEL_ntabed.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {

// Nine nines with the point D digits from the right, and the smallest magnitude that still
// shows a digit with D decimals: the range of the fixed notation for D = 0..8.
constexpr double kFixedLimit[9] = {999999999.0, 9999999.9, 999999.99, 99999.999, 9999.9999,
                                   999.99999,   99.999999, 9.9999999, 0.99999999};
constexpr double kFixedLow[9] = {1.0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8};

constexpr TColor kCommentColor = 0x808000;

}  // namespace

std::string NTabNumberText(double X, int DecPlaces, int NumWidth) {
  const int d = DecPlaces;
  if (d >= 0 && d <= 8) {
    const double a = std::fabs(X);
    if (a <= kFixedLimit[d] && (a >= kFixedLow[d] || X == 0)) return StrFixed(X, NumWidth, d);
  }
  std::string s = StrSci(X, NumWidth + 8);
  // Four exponent digits at the end: two of them are enough, or none fit at all.
  const size_t n = s.size();
  if (n >= 6 && (s[n - 5] == '+' || s[n - 5] == '-') && s[n - 6] == 'E') {
    const bool fits = s[n - 4] == '0' && s[n - 3] == '0';
    s.erase(n - 4, 2);
    if (!fits) s.assign(s.size(), '*');
  }
  return s;
}

std::string TNTabEd::CellText(int C, int R) const {
  const uint8_t s = FData->GetCellState(C, R);
  if (s & dtsEmpty) return {};
  if (s & dtsNoNumber) return "-nan-";
  const double x = FData->GetElem(C, R);
  const uint8_t scale = FData->GetMScaleType(C);
  if (IsNominalScale(scale)) {
    const int v = RoundToInt(x);
    if (v >= 1 && v <= kMaxNominalValue) {
      std::string id = FData->GetNominalID(C, v);
      if (!id.empty()) return id;
    }
    return std::string(MScaleTypeNames[scale]) + ":" + IntToStr(v);
  }
  return NTabNumberText(x, GetDecPlaces(C), FNumWidth);
}

// ---------------------------------------------------------------- Paint

void TNTabEd::Paint() {
  if (FSuppressPaint || FBusy) return;
  // The row height follows the font before the cells are laid out for this frame.
  if (FOptRowHeight) ApplyOptimalRowHeight();
  TCustomGrid::Paint();
  if (!FOutline.IsEmpty()) {
    TCanvas* c = Canvas();
    c->ResetClipRect();
    c->Pen()->SetMode(pmNot);
    c->Pen()->SetWidth(1);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(FOutline);
    c->Pen()->SetMode(pmCopy);
    c->Brush()->SetStyle(bsSolid);
  }
}

void TNTabEd::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState) {
  if (ACol == 0 && ARow == 0)
    DrawCornerCell(ARect);
  else if (ACol <= FRA || ARow <= FCA)
    DrawHeadingCell(ACol, ARow, ARect);
  else
    DrawDataCell(ACol, ARow, ARect);
}

void TNTabEd::DrawDataCell(int ACol, int ARow, const TRect& ARect) {
  const int c = ACol - FRA, r = ARow - FCA;
  TCanvas* cv = Canvas();
  std::string text = CellText(c, r);
  const uint8_t s = FData->GetCellState(c, r);
  const bool selected = GetSelection().Contains(ACol, ARow);
  const bool a = s & dtsMarkedA, b = s & dtsMarkedB;
  TColor fg = a && b     ? FColorMarkedBoth
              : a        ? FColorMarkedA
              : b        ? FColorMarkedB
              : selected ? FColorRngSelFG
                         : FColorNormal;
  TColor bg = selected ? FColorRngSelBG : GetColor();
  TFontStyles style = GetFont()->GetStyle();
  if ((a || b) && FBoldMarks) style << fsBold;
  if (OnBeforeRenderCell) OnBeforeRenderCell(this, c, r, text, fg, bg, style);
  // The grid gave the canvas the control's font for this paint; only colour and style change.
  cv->Font()->SetColor(fg);
  cv->Font()->SetStyle(style);
  cv->Brush()->SetStyle(bsSolid);
  cv->Brush()->SetColor(bg);
  cv->TextRect(ARect, ARect.Left + 2, ARect.Top + 1, text);
}

void TNTabEd::DrawHeadingCell(int ACol, int ARow, TRect R) {
  // Shrunk by a pixel all round, so the raised edge of the heading stays whole.
  if (R.Width() > 0) R.Left += 1, R.Right -= 1;
  if (R.Height() > 0) R.Top += 1, R.Bottom -= 1;
  const TGridRect sel = GetSelection();
  std::string text;
  bool highlight = false;
  int dy = 1;
  if (ACol <= FRA && ARow <= FCA) {
    if (ARow == 0 && ACol == 1) text = "Attrib";
    if (ARow == 1 && ACol == 0) text = "Attribute";
  } else if (ACol <= FRA) {
    const int r = ARow - FCA;
    text = ACol == 0 ? FData->GetRowName(r) : IntToStr(FData->GetRowAttrib(r));
    if (ACol == 0) dy = 0;
    highlight = ARow == sel.Top;
  } else {
    const int c = ACol - FRA;
    text = ARow == 0 ? FData->GetColName(c) : IntToStr(FData->GetColAttrib(c));
    highlight = ACol == sel.Left;
  }
  if (text.empty()) return;
  TCanvas* cv = Canvas();
  cv->Font()->SetColor(highlight ? FColorSelected : FColorNormal);
  TFontStyles st = GetFont()->GetStyle();
  if (highlight && FBoldSelHeads) st << fsBold;
  cv->Font()->SetStyle(st);
  cv->Brush()->SetStyle(bsClear);
  TRect clip = R;
  clip.Right -= 2;
  cv->TextRect(clip, R.Left + 2, R.Top + dy, text);
  cv->Font()->SetStyle(GetFont()->GetStyle());
  cv->Brush()->SetStyle(bsSolid);
}

void TNTabEd::DrawCornerCell(const TRect& ARect) {
  TCanvas* cv = Canvas();
  cv->Font()->SetStyle(GetFont()->GetStyle());
  cv->Brush()->SetStyle(bsSolid);
  if (FCommentMode) {
    cv->Brush()->SetColor(kCommentColor);
    cv->FillRect(ARect);
    cv->Font()->SetColor(clWhite);
    cv->TextOut(ARect.Left + 2, ARect.Top + 1, "Comment:");
    return;
  }
  cv->Brush()->SetColor(clWindow);
  cv->FillRect(ARect);
  if (!FShowCellCursor) return;
  TGridCoord g = FCursorCell;
  if (g.X < 0) {
    const TGridRect s = GetSelection();
    g = {s.Left, s.Top};
  }
  cv->Font()->SetColor(FColorNormal);
  cv->Font()->SetStyle({});
  cv->TextOut(ARect.Left + 3, ARect.Top + 2, IntToStr(g.X - FRA) + ":" + IntToStr(g.Y - FCA));
}

}  // namespace qel

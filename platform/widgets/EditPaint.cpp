// The edit's geometry (lines, positions, scrolling) and its painting. Painting, hit testing and
// scrolling all go through the same helpers, so where a character is drawn is where a click on
// it lands.
#include <algorithm>

#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace et = edittext;

TCanvas* TCustomEdit::MeasureCanvas() const {
  FCanvas->Font()->Assign(GetFont());
  return FCanvas.get();
}

int TCustomEdit::BorderSize() const { return FBorderStyle == bsNone ? 0 : 2; }

TRect TCustomEdit::TextArea() const {
  // Two pixels of air on the left and right, so the text clears the frame and the caret at
  // either end stays visible.
  int b = BorderSize();
  TRect r = GetClientRect().Inflate(-b, -b);
  r.Left += 2;
  r.Right -= 2;
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

int TCustomEdit::LineHeight() const { return std::max(1, MeasureCanvas()->TextHeight("Wg")); }

std::vector<TCustomEdit::TEditLine> TCustomEdit::DisplayLines() const {
  return {TEditLine{0, static_cast<int>(GetText().size())}};
}

int TCustomEdit::LineOfPos(const std::vector<TEditLine>& Lines, int Pos) const {
  // The last line starting at or before Pos: at a wrap point the caret sits on the next line.
  int idx = 0;
  for (int i = 0; i < static_cast<int>(Lines.size()); ++i)
    if (Lines[static_cast<size_t>(i)].Start <= Pos) idx = i;
  return idx;
}

std::string TCustomEdit::Shown(int From, int To) const {
  const std::string& t = GetText();
  From = std::clamp(From, 0, static_cast<int>(t.size()));
  To = std::clamp(To, From, static_cast<int>(t.size()));
  if (FPasswordChar == 0)
    return t.substr(static_cast<size_t>(From), static_cast<size_t>(To - From));
  std::string mask = et::Encode(FPasswordChar), r;
  for (int p = From; p < To; p = NextPos(p)) r += mask;
  return r;
}

int TCustomEdit::TextX(const TEditLine& Line, int Pos) const {
  return MeasureCanvas()->TextWidth(Shown(Line.Start, std::min(Pos, Line.End)));
}

int TCustomEdit::PosAtX(const TEditLine& Line, int X) const {
  // Advances add up (no kerning), so the widths are summed one character at a time.
  TCanvas* c = MeasureCanvas();
  int x = 0;
  for (int p = Line.Start; p < Line.End;) {
    int q = std::min(NextPos(p), Line.End);
    int w = c->TextWidth(Shown(p, q));
    if (X < x + (w + 1) / 2) return p;
    x += w;
    p = q;
  }
  return Line.End;
}

int TCustomEdit::LineLeft(const TEditLine& Line) const {
  TRect a = TextArea();
  int off = 0;
  if (FAlignment != taLeftJustify) {
    int room = a.Width() - 1 - TextX(Line, Line.End);
    if (room > 0) off = FAlignment == taRightJustify ? room : room / 2;
  }
  return a.Left - FScrollX + off;
}

int TCustomEdit::FirstLineY() const {
  TRect a = TextArea();
  if (!IsMultiLine()) return a.Top + std::max(0, (a.Height() - LineHeight()) / 2);
  return a.Top - FTopLine * LineHeight();
}

int TCustomEdit::PosAtPoint(TPoint P) const {
  std::vector<TEditLine> lines = DisplayLines();
  int lh = LineHeight();
  int dy = P.Y - FirstLineY();
  int idx = dy < 0 ? 0 : dy / lh;
  idx = std::clamp(idx, 0, static_cast<int>(lines.size()) - 1);
  const TEditLine& line = lines[static_cast<size_t>(idx)];
  return PosAtX(line, P.X - LineLeft(line));
}

TRect TCustomEdit::CaretRect() const {
  std::vector<TEditLine> lines = DisplayLines();
  int idx = LineOfPos(lines, FCaret);
  const TEditLine& line = lines[static_cast<size_t>(idx)];
  int x = LineLeft(line) + TextX(line, FCaret);
  int y = FirstLineY() + idx * LineHeight();
  return Rect(x, y, x + 1, y + LineHeight());
}

void TCustomEdit::ScrollToCaret() {
  std::vector<TEditLine> lines = DisplayLines();
  const TEditLine& line = lines[static_cast<size_t>(LineOfPos(lines, FCaret))];
  int w = TextArea().Width();
  int total = TextX(line, line.End);
  int cx = TextX(line, FCaret);
  // Runs off an edge jump by a third of the width, so typing on does not scroll every key.
  if (cx - FScrollX < 0)
    FScrollX = std::max(0, cx - w / 3);
  else if (cx - FScrollX > w - 1)
    FScrollX = cx - (w - 1) + w / 3;
  FScrollX = std::clamp(FScrollX, 0, std::max(0, total - (w - 1)));
}

// ---------------------------------------------------------------- painting

namespace {
// The classic sunken field: shadow over highlight outside, dark shadow over light inside.
void SunkenFrame(TCanvas* C, const TRect& R) {
  auto line = [C](TColor Col, int X1, int Y1, int X2, int Y2) {
    C->Pen()->SetColor(Col);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetWidth(1);
  int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
  line(clBtnShadow, l, b - 1, l, t);
  line(clBtnShadow, l, t, r, t);
  line(clBtnHighlight, r, t, r, b);
  line(clBtnHighlight, r, b, l - 1, b);
  line(cl3DDkShadow, l + 1, b - 2, l + 1, t + 1);
  line(cl3DDkShadow, l + 1, t + 1, r - 1, t + 1);
  line(cl3DLight, r - 1, t + 1, r - 1, b - 1);
  line(cl3DLight, r - 1, b - 1, l, b - 1);
}
}  // namespace

void TCustomEdit::Paint() {
  TCanvas* c = FCanvas.get();
  c->Font()->Assign(GetFont());
  TRect client = GetClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(GetEnabled() ? GetColor() : clBtnFace);
  c->FillRect(client);
  if (FBorderStyle != bsNone) SunkenFrame(c, client);
  PaintLines(c);
  PaintScrollBars(c);
}

void TCustomEdit::PaintLines(TCanvas* C) const {
  TRect area = TextArea();
  if (area.IsEmpty()) return;
  C->SetClipRect(area);
  std::vector<TEditLine> lines = DisplayLines();
  int lh = LineHeight();
  int y0 = FirstLineY();
  bool enabled = IsEnabledInTree();
  bool showSel = FCaret != FAnchor && (Focused() || !FHideSelection);
  TColor text = enabled ? GetFont()->GetColor() : clGrayText;
  int from = SelFrom(), to = SelTo();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    int y = y0 + i * lh;
    if (y + lh <= area.Top) continue;
    if (y >= area.Bottom) break;
    const TEditLine& line = lines[static_cast<size_t>(i)];
    int x = LineLeft(line);
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(text);
    C->TextOut(x, y, Shown(line.Start, line.End));
    if (!showSel) continue;
    int a = std::clamp(from, line.Start, line.End), b = std::clamp(to, line.Start, line.End);
    // A selection running over the line break shows a little block after the line.
    bool overBreak = from <= line.End && to > line.End;
    if (a == b && !overBreak) continue;
    int xa = x + TextX(line, a), xb = x + TextX(line, b);
    if (overBreak) xb += std::max(3, C->TextWidth(" "));
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clHighlight);
    C->FillRect(Rect(xa, y, xb, y + lh));
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clHighlightText);
    C->TextOut(xa, y, Shown(a, b));
  }
  if (CaretShown()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(GetFont()->GetColor());
    C->FillRect(CaretRect());
  }
  C->ResetClipRect();
}

}  // namespace qel

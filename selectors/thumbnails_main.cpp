// TThumbnails' properties, selection, scrolling, geometry and mouse handling.
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "platform/rtl/SafeMath.h"
#include "selectors/QEL_Thumbnails.h"

namespace qel {

namespace {

int64_t FloorDiv(int64_t A, int64_t B) {
  int64_t q = A / B;
  if ((A % B != 0) && ((A < 0) != (B < 0))) --q;
  return q;
}

int SaturateInt(int64_t V) {
  return static_cast<int>(
      std::clamp<int64_t>(V, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TThumbnails::TThumbnails(TComponent* AOwner) : TGraphicControl(AOwner) {
  SizeSelection();
  SetBounds(GetLeft(), GetTop(), 260, 400);
}

TThumbnails::~TThumbnails() = default;

void TThumbnails::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TThumbnails*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FFrameStyle = s->FFrameStyle;
  FOuterFrameStyle = s->FOuterFrameStyle;
  FInnerFrameStyle = s->FInnerFrameStyle;
  FColorBackGnd = s->FColorBackGnd;
  FColorScheme = s->FColorScheme;
  FFrameDark = s->FFrameDark;
  FFrameLight = s->FFrameLight;
  FSlideSize = s->FSlideSize;
  FSlideDistance = s->FSlideDistance;
  FSlideMargin = s->FSlideMargin;
  FMin = s->FMin;
  FMax = s->FMax;
  SizeSelection();
  OnImageRequest = s->OnImageRequest;
  OnImageClick = s->OnImageClick;
  OnImageDblClick = s->OnImageDblClick;
  OnFocusChange = s->OnFocusChange;
  OnFirstImageRequest = s->OnFirstImageRequest;
  OnLastImageRequest = s->OnLastImageRequest;
  OnSlideRendered = s->OnSlideRendered;
  FAntiAlias = s->FAntiAlias;
  FColorCover = s->FColorCover;
  FColorSelected = s->FColorSelected;
  FColorFocus = s->FColorFocus;
  FColorMark = s->FColorMark;
  FFocusedSlide = s->FFocusedSlide;
  FFocusLinewidth = s->FFocusLinewidth;
  // The position is taken as it stands, then fitted to this control's column count.
  FPosition = s->FPosition;
  FNumColumns = s->FNumColumns;
  UpdateColumns();
  Invalidate();
}

void TThumbnails::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TThumbnails*>(Dest)) {
    d->Assign(this);
    return;
  }
  TGraphicControl::AssignTo(Dest);
}

void TThumbnails::Loaded() {
  TGraphicControl::Loaded();
  FSlideSize = std::max(50, std::min(FSlideSize, GetWidth()));
  UpdateColumns();
  SetFirstThumbIx(FPosition);
  Invalidate();
}

void TThumbnails::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  UpdateColumns();
}

// ---------------------------------------------------------------- range and selection

int64_t TThumbnails::BitOf(int64_t S) const {
  if (S < FMin || S > FMax) return -1;
  return S - FMin;
}

void TThumbnails::SizeSelection() {
  const int64_t n = std::max<int64_t>(0, int64_t{FMax} - FMin + 1);
  FSelection.SetSize(static_cast<int>(std::min(n, kMaxSlides)));
}

void TThumbnails::SetFMin(int Value) {
  int64_t max = FMax;
  if (Value > max) max = Value;  // the range follows a Min set beyond it
  if (max - Value + 1 > kMaxSlides) Value = static_cast<int>(max - kMaxSlides + 1);
  if (Value == FMin && max == FMax) return;
  FMin = Value;
  FMax = static_cast<int>(max);
  SizeSelection();
  SetFirstThumbIx(FPosition);  // back inside the range
  Invalidate();
}

void TThumbnails::SetFMax(int Value) {
  if (Value < 1) Value = 1;
  const int64_t cap = int64_t{FMin} + kMaxSlides - 1;
  if (Value > cap) Value = static_cast<int>(cap);
  if (Value == FMax) return;
  FMax = Value;
  SizeSelection();
  SetFirstThumbIx(FPosition);
  Invalidate();
}

void TThumbnails::SetSlideSelectMode(TSlideSelectMode Value) {
  if (!Store(FSlideSelectMode, Value)) return;
  FSelection.Clear();
  FHasLastClicked = false;
  Invalidate();
}

bool TThumbnails::GetSelectedSlide(int S) const {
  const int64_t b = BitOf(S);
  return b >= 0 && b < FSelection.GetSize() && FSelection.GetBit(static_cast<int>(b));
}

void TThumbnails::SetSelectedSlide(int S, bool B) {
  const int64_t b = BitOf(S);
  if (b < 0 || b >= FSelection.GetSize() || FSelection.GetBit(static_cast<int>(b)) == B) return;
  FSelection.SetBit(static_cast<int>(b), B);
  Invalidate();
}

void TThumbnails::ResetAllSelections() {
  FSelection.Clear();
  Invalidate();
}

int TThumbnails::FirstSelectedSlide() const {
  return SaturateInt(int64_t{FSelection.FirstTrueBit()} + FMin);
}

int TThumbnails::NumSlidesSelected() const { return FSelection.CountTrueBits(); }

// ---------------------------------------------------------------- scrolling

void TThumbnails::SetFirstThumbIx(double X) {
  if (std::isnan(X)) return;
  const double hi = std::max(FMin, FMax);
  X = std::clamp(X, static_cast<double>(FMin), hi);
  // Rows start at Min, Min + NC, ...: R is the first slide of X's row.
  const int64_t nc = FNumColumns;
  const int64_t r = FMin + nc * FloorDiv(static_cast<int64_t>(std::floor(X)) - FMin, nc);
  const double pos =
      static_cast<double>(r) + (X - static_cast<double>(r)) / static_cast<double>(nc);
  if (pos == FPosition) return;
  FPosition = pos;
  Invalidate();
}

void TThumbnails::ScrollRows(double Rows) {
  if (std::isnan(Rows)) return;
  // Back from the position to the slide index it stands for, then on by whole rows.
  const double first = std::floor(FPosition);
  const double index = first + (FPosition - first) * FNumColumns;
  SetFirstThumbIx(index + Rows * FNumColumns);
}

void TThumbnails::UpdateColumns() {
  const int nc = std::max(1, DivTrunc(GetWidth() + FSlideDistance - 20, Pitch()));
  if (nc == FNumColumns) return;
  FNumColumns = nc;
  SetFirstThumbIx(FPosition);
  Invalidate();
}

// ---------------------------------------------------------------- geometry

int TThumbnails::NumRows() const { return std::max(0, GetHeight() / Pitch()) + 1; }

int64_t TThumbnails::FirstSlide() const { return static_cast<int64_t>(std::floor(FPosition)); }

int TThumbnails::ScrollPixels() const {
  return RoundToInt((FPosition - std::floor(FPosition)) * Pitch());
}

bool TThumbnails::SlideAt(int X, int Y, int& S) const {
  S = 0;
  const int p = Pitch();
  const int box = FSlideSize + 2 * FSlideMargin;
  if (X < kEdge || X > GetWidth() - kEdge || Y < kEdge || Y > GetHeight() - kEdge) return false;
  const int c = (X - kEdge) / p;
  if (!(p * c + kEdge <= X && X <= p * c + box + kEdge) || c + 1 > FNumColumns) return false;
  const int f = ScrollPixels();
  const int g = DivTrunc(Y + f - FSlideDistance - kEdge, p);
  const int top = p * g + FSlideDistance - f + kEdge;
  if (!(top <= Y && Y <= top + box) || g < 0) return false;
  const int64_t s = FirstSlide() + int64_t{g} * FNumColumns + c;
  if (s < FMin || s > FMax) return false;
  S = static_cast<int>(s);
  return true;
}

int TThumbnails::CalcSlideIndex(int X, int Y) const {
  int s = 0;
  return SlideAt(X, Y, s) ? s : 0;
}

void TThumbnails::CalcSlidePos(int S, int& X, int& Y) const {
  const int64_t d = S - FirstSlide();
  const int64_t row = FloorDiv(d, FNumColumns);
  const int64_t col = d - row * FNumColumns;
  const int64_t p = Pitch();
  X = SaturateInt(p * col + kEdge);
  Y = SaturateInt(p * row + FSlideDistance - ScrollPixels() + kEdge);
}

// ---------------------------------------------------------------- look

void TThumbnails::SetBaseSize(int Value) {
  // The upper limit first, so a narrow control still gets slides of 50 pixels. A form may
  // give the width after the size: Loaded applies the width limit then.
  const bool loading = ComponentState().Contains(csLoading);
  Value = std::max(50, loading ? Value : std::min(Value, GetWidth()));
  if (!Store(FSlideSize, Value)) return;
  UpdateColumns();
  Invalidate();
}

void TThumbnails::SetSlideDist(int Value) {
  if (!Store(FSlideDistance, std::clamp(Value, 0, 100))) return;
  UpdateColumns();
  Invalidate();
}

void TThumbnails::SetSlideMargin(int Value) {
  if (!Store(FSlideMargin, std::clamp(Value, 0, 100))) return;
  UpdateColumns();
  Invalidate();
}

void TThumbnails::SetHiliteThickn(int Value) {
  if (Store(FFocusLinewidth, std::clamp(Value, 0, 10))) Invalidate();
}

void TThumbnails::SetColorBackGnd(TColor Value) {
  if (Store(FColorBackGnd, Value)) Invalidate();
}
void TThumbnails::SetColorCover(TColor Value) {
  if (Store(FColorCover, Value)) Invalidate();
}
void TThumbnails::SetColorSelected(TColor Value) {
  if (Store(FColorSelected, Value)) Invalidate();
}
void TThumbnails::SetColorFocus(TColor Value) {
  if (Store(FColorFocus, Value)) Invalidate();
}
void TThumbnails::SetColorMark(TColor Value) {
  if (Store(FColorMark, Value)) Invalidate();
}
void TThumbnails::SetColorScheme(TColorScheme Value) {
  if (!Store(FColorScheme, Value)) return;
  const TSchemeColors c = SchemeFrameColors(Value);
  FFrameDark = c.Shadow;
  FFrameLight = c.Highlight;
  Invalidate();
}
void TThumbnails::SetFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyle, Value)) Invalidate();
}
void TThumbnails::SetOuterFrameStyle(TFrameStyle Value) {
  if (Store(FOuterFrameStyle, Value)) Invalidate();
}
void TThumbnails::SetInnerFrameStyle(TFrameStyle Value) {
  if (Store(FInnerFrameStyle, Value)) Invalidate();
}
void TThumbnails::SetAntiAlias(bool Value) {
  if (Store(FAntiAlias, Value)) Invalidate();
}

// ---------------------------------------------------------------- mouse

void TThumbnails::MoveFocus(int S) {
  if (S == FFocusedSlide) return;
  ResetLastHiLite();
  HiLite(S);
  FFocusedSlide = S;
  if (OnFocusChange) OnFocusChange(this);
}

void TThumbnails::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (FFocusLinewidth == 0) return;
  MoveFocus(CalcSlideIndex(X, Y));
}

void TThumbnails::CMMouseLeave(TMessage& Message) {
  TGraphicControl::CMMouseLeave(Message);
  // No slide is under a pointer that has left.
  if (FFocusLinewidth > 0) MoveFocus(0);
}

void TThumbnails::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) ClickAt(X, Y, Shift);
}

void TThumbnails::ClickAt(int X, int Y, TShiftState Shift) {
  if (X == -1 && Y == -1) return;
  if (FSlideSelectMode != ssmMultiple) FAfterDblClick = false;
  int s = 0;
  const bool hit = SlideAt(X, Y, s);
  switch (FSlideSelectMode) {
    case ssmSingle:
      FSelection.Clear();
      if (hit) {
        FSelection.SetBit(static_cast<int>(BitOf(s)), true);
        FLastClicked = s;
        FHasLastClicked = true;
      }
      Invalidate();
      break;
    case ssmMultiple:
      // The second release of a double click leaves the slide as the first one made it.
      if (!hit || std::exchange(FAfterDblClick, false)) break;
      if (Shift.Contains(ssShift) && FHasLastClicked) {
        const int64_t a = BitOf(std::min(FLastClicked, s)), b = BitOf(std::max(FLastClicked, s));
        for (int64_t i = std::max<int64_t>(a, 0); i <= b; ++i)
          FSelection.SetBit(static_cast<int>(i), true);
      } else {
        const int bit = static_cast<int>(BitOf(s));
        FSelection.SetBit(bit, !FSelection.GetBit(bit));
        FLastClicked = s;
        FHasLastClicked = true;
      }
      Invalidate();
      break;
    case ssmDisabled:
      break;
  }
  if (OnImageClick) OnImageClick(this, X, Y, s);
}

void TThumbnails::WMLButtonDblClk(TMessage& Message) {
  TGraphicControl::WMLButtonDblClk(Message);
  FAfterDblClick = true;
  const TPoint p = LParamToPoint(Message.LParam);
  if (OnImageDblClick) OnImageDblClick(this, p.X, p.Y, CalcSlideIndex(p.X, p.Y));
}

bool TThumbnails::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TGraphicControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  // One row a notch; the slide under the pointer changes with the rows.
  ScrollRows(-static_cast<double>(WheelDelta) / 120.0);
  if (FFocusLinewidth > 0) {
    const TPoint p = ScreenToClient(MousePos);
    MoveFocus(CalcSlideIndex(p.X, p.Y));
  }
  return true;
}

}  // namespace qel

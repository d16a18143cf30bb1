// Shared widget drawing: frames, button faces, arrows, checker fills; the drop-down lists'
// scroll bar and the held-button repeat.
#include "platform/widgets/WidgetPaint.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/controls/Forms.h"
#include "platform/widgets/ScrollBarPaint.h"

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
  // Only the part that can show: the track of a scroll bar is as long as its control, which
  // may be millions of pixels.
  const TRect r = IntersectRect(R, C->GetClipRect());
  if (r.IsEmpty()) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color1);
  C->FillRect(r);
  TColor c2 = ColorToRGB(Color2);
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left + ((r.Left + y) & 1); x < r.Right; x += 2) C->SetPixel(x, y, c2);
}

bool ListKeyTarget(uint16_t Key, int Current, int Visible, int Count, bool HomeEnd, int& Target) {
  const int page = std::max(1, Visible - 1);
  switch (Key) {
    case VK_UP:
      Target = Current < 0 ? 0 : Current - 1;
      break;
    case VK_DOWN:
      Target = Current + 1;
      break;
    case VK_PRIOR:
      Target = Current < 0 ? 0 : Current - page;
      break;
    case VK_NEXT:
      Target = Current + page;
      break;
    case VK_HOME:
      if (!HomeEnd) return false;
      Target = 0;
      break;
    case VK_END:
      if (!HomeEnd) return false;
      Target = Count - 1;
      break;
    default:
      return false;
  }
  Target = Count > 0 ? std::clamp(Target, 0, Count - 1) : -1;
  return true;
}

int ListTopShowing(int Index, int Top, int Visible) {
  if (Index < Top) return Index;
  if (Index >= Top + Visible) return Index - Visible + 1;
  return Top;
}

int ClampListTop(int Top, int Visible, int Count) {
  return std::clamp(Top, 0, std::max(0, Count - Visible));
}

void DrawCaption(TCanvas* C, const std::string& Text, TRect R, unsigned Flags, bool Enabled) {
  if (!Enabled) {
    TRect lit = R.Offset(1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C, Text, lit, Flags);
    C->Font()->SetColor(clBtnShadow);
  }
  DrawText(C, Text, R, Flags);
}

// ---------------------------------------------------------------- held-button repeat

namespace {
constexpr uintptr_t kRepeatTimer = 1;
}

TPressRepeat::~TPressRepeat() {
  if (FWnd) DeallocateHWnd(FWnd);
}

void TPressRepeat::Start(std::function<void()> Step) {
  if (!FWnd) FWnd = AllocateHWnd([this](TMessage& M) { Timer(M); });
  FStep = std::move(Step);
  FDelaying = true;
  FActive = FWnd && SetTimer(FWnd, kRepeatTimer, DelayMs) != 0;
}

void TPressRepeat::Stop() {
  if (FActive) KillTimer(FWnd, kRepeatTimer);
  FActive = false;
  FDelaying = false;
}

void TPressRepeat::Timer(TMessage& Message) {
  if (Message.Msg != WM_TIMER || Message.WParam != kRepeatTimer) return;
  if (!FActive) {
    KillTimer(FWnd, kRepeatTimer);
    return;
  }
  if (FDelaying) {
    FDelaying = false;
    SetTimer(FWnd, kRepeatTimer, IntervalMs);
  }
  // A copy, and nothing after it: the step may stop, restart or even destroy its owner.
  std::function<void()> step = FStep;
  if (step) step();
}

// ---------------------------------------------------------------- list scroll bar

TRect TListScrollBar::UpButton() const { return ScrollButtonRect(Bar, true, false); }

TRect TListScrollBar::DownButton() const { return ScrollButtonRect(Bar, true, true); }

TRect TListScrollBar::Track() const { return ScrollTrackRect(Bar, true); }

int TListScrollBar::MaxTop() const { return std::max(0, Count - std::max(1, Visible)); }

TRect TListScrollBar::Thumb() const {
  TRect t = Track();
  int track = t.Height();
  if (Count <= 0 || track <= 8) return {};
  int vis = std::clamp(Visible, 1, Count);
  int h = std::max(8, static_cast<int>(static_cast<int64_t>(track) * vis / Count));
  int range = MaxTop();
  int top = std::clamp(Top, 0, range);
  int y = t.Top + (range > 0 ? static_cast<int>(static_cast<int64_t>(track - h) * top / range) : 0);
  return Rect(t.Left, y, t.Right, y + h);
}

TListScrollPart TListScrollBar::HitTest(TPoint P) const {
  if (!Bar.Contains(P)) return lsNone;
  if (UpButton().Contains(P)) return lsLineUp;
  if (DownButton().Contains(P)) return lsLineDown;
  TRect th = Thumb();
  if (th.IsEmpty()) return P.Y < (Bar.Top + Bar.Bottom) / 2 ? lsPageUp : lsPageDown;
  if (th.Contains(P)) return lsThumb;
  return P.Y < th.Top ? lsPageUp : lsPageDown;
}

int TListScrollBar::TopForThumb(int ThumbTop) const {
  TRect t = Track(), th = Thumb();
  int space = t.Height() - th.Height();
  int range = MaxTop();
  if (th.IsEmpty() || space <= 0 || range <= 0) return 0;
  int64_t offset = std::clamp(ThumbTop - t.Top, 0, space);
  // Rounded to the nearest item, so the thumb lands where it was let go.
  return static_cast<int>(std::clamp<int64_t>((offset * range + space / 2) / space, 0, range));
}

int TListScrollBar::StepTop(TListScrollPart Part) const {
  switch (Part) {
    case lsLineUp:
      return Top - 1;
    case lsLineDown:
      return Top + 1;
    case lsPageUp:
      return Top - Visible;
    case lsPageDown:
      return Top + Visible;
    default:
      return Top;
  }
}

void PaintListScrollBar(TCanvas* C, const TListScrollBar& Bar) {
  PaintScrollBar(C, Bar.Bar, true, Bar.Thumb());
}

// ---------------------------------------------------------------- list scroll bar input

TListScrollInput::TListScrollInput(std::function<TListScrollBar()> Bar,
                                   std::function<void(int Top)> Scroll)
    : FBar(std::move(Bar)), FScroll(std::move(Scroll)) {}

bool TListScrollInput::Press(TPoint P) {
  Cancel();
  TListScrollBar bar = FBar();
  if (bar.Bar.IsEmpty() || !bar.Bar.Contains(P)) return false;
  FPart = bar.HitTest(P);
  FAt = P;
  if (FPart == lsThumb) {
    FGrab = P.Y - bar.Thumb().Top;
  } else if (FPart != lsNone) {
    FScroll(bar.StepTop(FPart));
    FRepeat.Start([this] { Step(); });
  }
  return true;
}

void TListScrollInput::Move(TPoint P) {
  FAt = P;
  if (FPart == lsThumb) DragTo(P.Y);
}

void TListScrollInput::Release(TPoint P) {
  if (FPart == lsThumb) DragTo(P.Y);
  Cancel();
}

void TListScrollInput::Cancel() {
  FRepeat.Stop();
  FPart = lsNone;
}

void TListScrollInput::DragTo(int Y) {
  TListScrollBar bar = FBar();
  // Items that changed under the drag can leave no thumb to follow.
  if (bar.Thumb().IsEmpty()) {
    FPart = lsNone;
    return;
  }
  FScroll(bar.TopForThumb(Y - FGrab));
}

void TListScrollInput::Step() {
  TListScrollBar bar = FBar();
  // Only while the pointer is on the part pressed: on the thumb, the track's paging is done.
  if (bar.HitTest(FAt) == FPart) FScroll(bar.StepTop(FPart));
}

}  // namespace qel::widgetpaint

// The memo: line layout with word wrap, vertical navigation and scrolling, scroll bars, and the
// Lines view of its text.
#include <algorithm>
#include <cstdint>

#include "platform/rtl/StrUtils.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/ScrollBarPaint.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace et = edittext;
namespace wp = widgetpaint;

namespace {
constexpr int kScrollBarSize = wp::ScrollBarSize;

// Normalises any mix of LF, CR LF and CR to CR LF.
std::string NormaliseBreaks(const std::string& S) {
  std::string r;
  r.reserve(S.size() + S.size() / 16);
  for (size_t i = 0; i < S.size(); ++i) {
    char c = S[i];
    if (c == '\r') {
      if (i + 1 < S.size() && S[i + 1] == '\n') ++i;
      r += "\r\n";
    } else if (c == '\n') {
      r += "\r\n";
    } else {
      r += c;
    }
  }
  return r;
}
}  // namespace

// ---------------------------------------------------------------- TMemoStrings

std::vector<std::string>& TMemoStrings::Lines() const {
  if (FSplit) return FLines;
  FLines.clear();
  const std::string& t = FMemo->GetText();
  size_t i = 0;
  const size_t n = t.size();
  while (i < n) {
    size_t end = t.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      FLines.emplace_back(t, i);
      break;
    }
    FLines.emplace_back(t, i, end - i);
    i = end + 1;
    if (t[end] == '\r' && i < n && t[i] == '\n') ++i;
  }
  // A final line break ends the last line; it does not start an empty one.
  FSplit = true;
  return FLines;
}

void TMemoStrings::Changed(bool KeepsLines) {
  if (FUpdating) {
    FPending = true;
    return;
  }
  size_t size = 0;
  for (const std::string& l : FLines) size += l.size() + 2;
  std::string t;
  t.reserve(size);
  for (const std::string& l : FLines) {
    t += l;
    t += "\r\n";
  }
  FJoining = true;
  try {
    FMemo->SetText(t);
  } catch (...) {
    FJoining = false;
    FSplit = false;
    throw;
  }
  FJoining = false;
  // A line holding a break of its own splits into more lines when read back from the text.
  FSplit = KeepsLines;
}

void TMemoStrings::SetUpdateState(bool Updating) {
  FUpdating = Updating;
  if (!Updating && FPending) {
    FPending = false;
    bool keeps = true;
    for (const std::string& l : FLines)
      if (l.find_first_of("\r\n") != std::string::npos) keeps = false;
    Changed(keeps);
  }
}

int TMemoStrings::GetCount() const { return static_cast<int>(Lines().size()); }

std::string TMemoStrings::Get(int Index) const {
  const auto& l = Lines();
  CheckIndex(Index, static_cast<int>(l.size()));
  return l[static_cast<size_t>(Index)];
}

void TMemoStrings::Put(int Index, const std::string& S) {
  auto& l = Lines();
  CheckIndex(Index, static_cast<int>(l.size()));
  l[static_cast<size_t>(Index)] = S;
  Changed(S.find_first_of("\r\n") == std::string::npos);
}

void TMemoStrings::Clear() {
  Lines().clear();
  Changed(true);
}

void TMemoStrings::Delete(int Index) {
  auto& l = Lines();
  CheckIndex(Index, static_cast<int>(l.size()));
  l.erase(l.begin() + Index);
  Changed(true);
}

void TMemoStrings::Insert(int Index, const std::string& S) {
  auto& l = Lines();
  CheckIndex(Index, static_cast<int>(l.size()) + 1);
  l.insert(l.begin() + Index, S);
  Changed(S.find_first_of("\r\n") == std::string::npos);
}

// ---------------------------------------------------------------- TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner)
    : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
  SetAutoSelect(false);
  SetBounds(GetLeft(), GetTop(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::WndProc(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) FLines->TextChanged();
  TCustomEdit::WndProc(Message);
}

std::string TCustomMemo::FilterInput(const std::string& S) const {
  std::string r = NormaliseBreaks(S);
  if (GetCharCase() == ecUpperCase) return UpperCase(r);
  if (GetCharCase() == ecLowerCase) return LowerCase(r);
  return r;
}

void TCustomMemo::KeyPress(char32_t& Key) {
  if (Key == 13 && FWantReturns) {
    TWinControl::KeyPress(Key);
    if (Key == 0) return;
    UserReplace("\r\n");
    Key = 0;
    return;
  }
  if (Key == 9 && FWantTabs) {
    TWinControl::KeyPress(Key);
    if (Key == 0) return;
    UserReplace("\t");
    Key = 0;
    return;
  }
  TCustomEdit::KeyPress(Key);
}

void TCustomMemo::WMGetDlgCode(TMessage& Message) {
  TCustomEdit::WMGetDlgCode(Message);
  if (FWantReturns) Message.Result |= DLGC_WANTALLKEYS;
  if (FWantTabs) Message.Result |= DLGC_WANTTAB;
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  FScrollX = 0;
  ScrollToCaret();
  Invalidate();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  ScrollToCaret();
  Invalidate();
}

TRect TCustomMemo::VScrollBarRect() const {
  if (FScrollBars != ssVertical && FScrollBars != ssBoth) return {};
  int b = BorderSize();
  TRect c = GetClientRect().Inflate(-b, -b);
  int bottom = FScrollBars == ssBoth ? c.Bottom - kScrollBarSize : c.Bottom;
  return Rect(std::max(c.Left, c.Right - kScrollBarSize), c.Top, c.Right, std::max(c.Top, bottom));
}

TRect TCustomMemo::HScrollBarRect() const {
  if (FScrollBars != ssHorizontal && FScrollBars != ssBoth) return {};
  int b = BorderSize();
  TRect c = GetClientRect().Inflate(-b, -b);
  int right = FScrollBars == ssBoth ? c.Right - kScrollBarSize : c.Right;
  return Rect(c.Left, std::max(c.Top, c.Bottom - kScrollBarSize), std::max(c.Left, right),
              c.Bottom);
}

TRect TCustomMemo::TextArea() const {
  int b = BorderSize();
  TRect r = GetClientRect().Inflate(-b, -b);
  if (!VScrollBarRect().IsEmpty()) r.Right -= kScrollBarSize;
  if (!HScrollBarRect().IsEmpty()) r.Bottom -= kScrollBarSize;
  r.Left += 2;
  r.Right -= 1;
  r.Top += 1;
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

std::vector<TCustomEdit::TEditLine> TCustomMemo::DisplayLines() const {
  const std::string& t = GetText();
  int width = TextArea().Width() - 1;
  const TFont* f = GetFont();
  std::string key = std::to_string(width) + '|' + (FWordWrap ? "w" : "n") + '|' +
                    std::to_string(static_cast<uint32_t>(GetPasswordChar())) + '|' + f->GetName() +
                    '|' + std::to_string(f->GetHeight()) + '|' +
                    std::to_string(f->GetStyle().Bits()) + '|' +
                    std::to_string(static_cast<int>(f->GetPitch()));
  if (key == FLayoutKey && t == FLayoutText && !FLayoutLines.empty()) return FLayoutLines;
  std::vector<TEditLine> lines;
  int n = static_cast<int>(t.size());
  TCanvas* c = MeasureCanvas();
  int s = 0;
  while (true) {
    int e = s;
    while (e < n && t[static_cast<size_t>(e)] != '\r' && t[static_cast<size_t>(e)] != '\n') ++e;
    if (!FWordWrap || width <= 0) {
      lines.push_back({s, e});
    } else {
      // Break after the last blank that still fits; a word longer than the line is cut where
      // it stops fitting (at least one character per line, so layout always progresses).
      int p = s;
      while (true) {
        int x = 0, q = p, lastBreak = -1;
        while (q < e) {
          int nq = et::Next(t, q);
          int w = c->TextWidth(Shown(q, nq));
          if (x + w > width && q > p) break;
          x += w;
          if (t[static_cast<size_t>(q)] == ' ' || t[static_cast<size_t>(q)] == '\t') lastBreak = nq;
          q = nq;
        }
        if (q >= e) {
          lines.push_back({p, e});
          break;
        }
        // Blanks at the break stay on this line (they may overhang the edge).
        int brk = q;
        if (t[static_cast<size_t>(q)] == ' ' || t[static_cast<size_t>(q)] == '\t') {
          while (brk < e &&
                 (t[static_cast<size_t>(brk)] == ' ' || t[static_cast<size_t>(brk)] == '\t'))
            ++brk;
        } else if (lastBreak > p) {
          brk = lastBreak;
        }
        lines.push_back({p, brk});
        if (brk >= e) break;
        p = brk;
      }
    }
    if (e >= n) break;
    s = e + (t[static_cast<size_t>(e)] == '\r' && e + 1 < n && t[static_cast<size_t>(e) + 1] == '\n'
                 ? 2
                 : 1);
    if (s >= n) {
      lines.push_back({n, n});  // the empty line after a final break
      break;
    }
  }
  FLayoutKey = key;
  FLayoutText = t;
  FLayoutLines = lines;
  return lines;
}

int TCustomMemo::VisibleLineCount() const {
  return std::max(1, TextArea().Height() / LineHeight());
}

int TCustomMemo::ContentWidth() const {
  int w = 0;
  for (const TEditLine& l : DisplayLines()) w = std::max(w, TextX(l, l.End));
  return w;
}

int TCustomMemo::MaxScrollX() const {
  if (FWordWrap) return 0;
  return std::max(0, ContentWidth() - (TextArea().Width() - 1));
}

void TCustomMemo::SetTopLine(int Value) {
  int count = static_cast<int>(DisplayLines().size());
  Value = std::clamp(Value, 0, std::max(0, count - VisibleLineCount()));
  if (Value == FTopLine) return;
  FTopLine = Value;
  Invalidate();
}

void TCustomMemo::ScrollToCaret() {
  std::vector<TEditLine> lines = DisplayLines();
  int idx = LineOfPos(lines, FCaret);
  int vis = VisibleLineCount();
  if (idx < FTopLine) FTopLine = idx;
  if (idx >= FTopLine + vis) FTopLine = idx - vis + 1;
  FTopLine = std::clamp(FTopLine, 0, std::max(0, static_cast<int>(lines.size()) - vis));
  if (FWordWrap) {
    FScrollX = 0;
    return;
  }
  int w = TextArea().Width();
  const TEditLine& line = lines[static_cast<size_t>(idx)];
  int cx = TextX(line, FCaret);
  if (cx - FScrollX < 0)
    FScrollX = std::max(0, cx - w / 3);
  else if (cx - FScrollX > w - 1)
    FScrollX = cx - (w - 1) + w / 3;
  FScrollX = std::clamp(FScrollX, 0, MaxScrollX());
}

bool TCustomMemo::NavigateKey(uint16_t Key, TShiftState Shift) {
  if (Shift.Contains(ssCtrl) && Key != VK_UP && Key != VK_DOWN) return false;
  if (Key != VK_UP && Key != VK_DOWN && Key != VK_PRIOR && Key != VK_NEXT && Key != VK_HOME &&
      Key != VK_END)
    return false;
  std::vector<TEditLine> lines = DisplayLines();
  int count = static_cast<int>(lines.size());
  int idx = LineOfPos(lines, FCaret);
  const TEditLine& line = lines[static_cast<size_t>(idx)];
  bool extend = Shift.Contains(ssShift);
  // A line that wraps ends where the next begins; stopping there would show the caret on the
  // next line, so positions on it stop one character short.
  auto lineEnd = [&](int I) {
    const TEditLine& l = lines[static_cast<size_t>(I)];
    bool wraps = I + 1 < count && lines[static_cast<size_t>(I) + 1].Start == l.End;
    return wraps && l.End > l.Start ? PrevPos(l.End) : l.End;
  };
  if (Key == VK_HOME) {
    FGoalX = -1;
    MoveCaret(line.Start, extend);
    return true;
  }
  if (Key == VK_END) {
    FGoalX = -1;
    MoveCaret(lineEnd(idx), extend);
    return true;
  }
  if (Shift.Contains(ssCtrl)) {
    // Ctrl+Up/Down scroll the view by a line without moving the caret.
    SetTopLine(FTopLine + (Key == VK_UP ? -1 : 1));
    return true;
  }
  int goal = FGoalX >= 0 ? FGoalX : LineLeft(line) + FScrollX + TextX(line, FCaret);
  int step = Key == VK_UP ? -1 : Key == VK_DOWN ? 1 : 0;
  int page = std::max(1, VisibleLineCount() - 1);
  if (Key == VK_PRIOR) step = -page;
  if (Key == VK_NEXT) step = page;
  int target = std::clamp(idx + step, 0, count - 1);
  if (target == idx) {
    // Past the first or last line: to the start or end of the text, as users expect.
    MoveCaret(step < 0 ? 0 : static_cast<int>(GetText().size()), extend);
    FGoalX = -1;
    return true;
  }
  if (Key == VK_PRIOR || Key == VK_NEXT) FTopLine += target - idx;
  const TEditLine& tl = lines[static_cast<size_t>(target)];
  int p = PosAtX(tl, goal - (LineLeft(tl) + FScrollX));
  p = std::min(p, lineEnd(target));
  MoveCaret(p, extend);
  FGoalX = goal;
  return true;
}

TPoint TCustomMemo::GetCaretPos() const {
  const std::string& t = GetText();
  int line = 0, start = 0;
  for (int i = 0; i < FCaret; ++i)
    if (t[static_cast<size_t>(i)] == '\n' ||
        (t[static_cast<size_t>(i)] == '\r' &&
         (i + 1 >= static_cast<int>(t.size()) || t[static_cast<size_t>(i) + 1] != '\n'))) {
      ++line;
      start = i + 1;
    }
  return {
      Utf8CodePointCount(t.substr(static_cast<size_t>(start), static_cast<size_t>(FCaret - start))),
      line};
}

void TCustomMemo::SetCaretPos(TPoint Value) {
  const std::string& t = GetText();
  int n = static_cast<int>(t.size());
  int p = 0;
  for (int line = 0; line < Value.Y && p < n;) {
    while (p < n && t[static_cast<size_t>(p)] != '\r' && t[static_cast<size_t>(p)] != '\n') ++p;
    if (p >= n) break;
    p = NextPos(p);
    ++line;
  }
  for (int col = 0; col < Value.X && p < n && t[static_cast<size_t>(p)] != '\r' &&
                    t[static_cast<size_t>(p)] != '\n';
       ++col)
    p = et::Next(t, p);
  FGoalX = -1;
  MoveCaret(p, false);
}

// ---------------------------------------------------------------- wheel and scroll bars

bool TCustomMemo::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  // Three lines a notch; a partial notch of a fine wheel still moves one line.
  int lines = WheelDelta * 3 / WHEEL_DELTA;
  if (lines == 0 && WheelDelta != 0) lines = WheelDelta > 0 ? 1 : -1;
  int count = static_cast<int>(DisplayLines().size());
  if (count <= VisibleLineCount()) return false;
  SetTopLine(FTopLine - lines);
  return true;
}

TRect TCustomMemo::VThumbRect() const {
  TRect bar = VScrollBarRect();
  if (bar.IsEmpty()) return {};
  int count = static_cast<int>(DisplayLines().size()), vis = VisibleLineCount();
  TRect tr = wp::ScrollTrackRect(bar, true);
  int track = tr.Height();
  if (count <= vis || track < 8) return {};
  int len = std::max(8, static_cast<int>(int64_t{track} * vis / count));
  int pos = static_cast<int>(int64_t{track - len} * FTopLine / std::max(1, count - vis));
  int top = tr.Top + pos;
  return Rect(bar.Left, top, bar.Right, top + len);
}

TRect TCustomMemo::HThumbRect() const {
  TRect bar = HScrollBarRect();
  if (bar.IsEmpty()) return {};
  int maxX = MaxScrollX(), w = TextArea().Width();
  TRect tr = wp::ScrollTrackRect(bar, false);
  int track = tr.Width();
  if (maxX <= 0 || track < 8) return {};
  int len = std::max(8, static_cast<int>(int64_t{track} * w / (int64_t{w} + maxX)));
  int pos = static_cast<int>(int64_t{track - len} * FScrollX / maxX);
  int left = tr.Left + pos;
  return Rect(left, bar.Top, left + len, bar.Bottom);
}

void TCustomMemo::PaintScrollBars(TCanvas* C) const {
  // A bar the text does not need stays, as the style asks, but cannot scroll.
  TRect v = VScrollBarRect(), h = HScrollBarRect(), vt = VThumbRect(), ht = HThumbRect();
  wp::PaintScrollBar(C, v, true, vt, !vt.IsEmpty());
  wp::PaintScrollBar(C, h, false, ht, !ht.IsEmpty());
  wp::PaintScrollCorner(C, v, h);
}

void TCustomMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TRect v = VScrollBarRect(), h = HScrollBarRect();
  TPoint p{X, Y};
  if (Button == mbLeft && (v.Contains(p) || h.Contains(p))) {
    if (CanFocus() && !Focused()) SetFocus();
    bool vertical = v.Contains(p);
    TRect bar = vertical ? v : h;
    TRect thumb = vertical ? VThumbRect() : HThumbRect();
    int at = vertical ? Y : X;
    int lineStep = vertical ? 1 : 16;
    int pageStep =
        vertical ? std::max(1, VisibleLineCount() - 1) : std::max(16, TextArea().Width() * 3 / 4);
    int delta = 0;
    if (wp::ScrollButtonRect(bar, vertical, false).Contains(p)) {
      delta = -lineStep;
    } else if (wp::ScrollButtonRect(bar, vertical, true).Contains(p)) {
      delta = lineStep;
    } else if (!thumb.IsEmpty()) {
      int ts = vertical ? thumb.Top : thumb.Left, te = vertical ? thumb.Bottom : thumb.Right;
      if (at < ts) {
        delta = -pageStep;
      } else if (at >= te) {
        delta = pageStep;
      } else {
        FThumbDrag = vertical ? 1 : 2;
        FThumbGrab = at - ts;
      }
    }
    if (vertical) {
      SetTopLine(FTopLine + delta);
    } else if (delta != 0) {
      FScrollX = std::clamp(FScrollX + delta, 0, MaxScrollX());
      Invalidate();
    }
    return;
  }
  TCustomEdit::MouseDown(Button, Shift, X, Y);
}

void TCustomMemo::MouseMove(TShiftState Shift, int X, int Y) {
  if (FThumbDrag != 0) {
    bool vertical = FThumbDrag == 1;
    TRect bar = vertical ? VScrollBarRect() : HScrollBarRect();
    TRect thumb = vertical ? VThumbRect() : HThumbRect();
    if (bar.IsEmpty() || thumb.IsEmpty()) return;
    TRect tr = wp::ScrollTrackRect(bar, vertical);
    int track = vertical ? tr.Height() : tr.Width();
    int len = vertical ? thumb.Height() : thumb.Width();
    int at = (vertical ? Y - tr.Top : X - tr.Left) - FThumbGrab;
    int room = std::max(1, track - len);
    at = std::clamp(at, 0, room);
    if (vertical) {
      int range = static_cast<int>(DisplayLines().size()) - VisibleLineCount();
      SetTopLine((at * range + room / 2) / room);
    } else {
      FScrollX = std::clamp((at * MaxScrollX() + room / 2) / room, 0, MaxScrollX());
      Invalidate();
    }
    return;
  }
  TCustomEdit::MouseMove(Shift, X, Y);
}

void TCustomMemo::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FThumbDrag = 0;
  TCustomEdit::MouseUp(Button, Shift, X, Y);
}

void TCustomMemo::WMCancelMode(TMessage& Message) {
  // The release will not come (the window lost the activation): the thumb stays where it is.
  FThumbDrag = 0;
  TCustomEdit::WMCancelMode(Message);
}

}  // namespace qel

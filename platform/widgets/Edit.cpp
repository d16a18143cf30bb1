// The edit's text model: selection, keys, mouse, clipboard, undo and the blinking caret.
#include <algorithm>

#include "platform/rtl/StrUtils.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace et = edittext;

namespace {
constexpr uintptr_t kCaretTimer = 1;
constexpr uintptr_t kDragScrollTimer = 2;
constexpr unsigned kDragScrollMs = 60;
constexpr unsigned kCaretBlinkMs = 500;

// Code point index of a byte offset.
int CodePoints(const std::string& S, int Bytes) {
  return Utf8CodePointCount(S.substr(0, static_cast<size_t>(std::max(0, Bytes))));
}
}  // namespace

TCustomEdit::TCustomEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  // The edit paints its whole face, so the framework need not erase it first.
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csFramed, csOpaque};
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetCursor(crIBeam);
  FCaretWnd = AllocateHWnd([this](TMessage& M) { CaretTimer(M); });
  SetBounds(0, 0, 121, 21);
  AdjustHeight();
}

TCustomEdit::~TCustomEdit() {
  delete FStandardMenu;
  if (FCaretWnd) DeallocateHWnd(FCaretWnd);
}

// ---------------------------------------------------------------- positions

int TCustomEdit::NextPos(int Pos) const {
  const std::string& t = GetText();
  if (Pos < static_cast<int>(t.size()) - 1 && t[static_cast<size_t>(Pos)] == '\r' &&
      t[static_cast<size_t>(Pos) + 1] == '\n')
    return Pos + 2;
  return et::Next(t, Pos);
}

int TCustomEdit::PrevPos(int Pos) const {
  const std::string& t = GetText();
  if (Pos >= 2 && t[static_cast<size_t>(Pos) - 1] == '\n' &&
      t[static_cast<size_t>(Pos) - 2] == '\r')
    return Pos - 2;
  return et::Prev(t, Pos);
}

// Ctrl+Right: over the rest of the current word (or run of punctuation), then over blanks, so
// the caret lands at the start of the next word.
int TCustomEdit::WordRight(int Pos) const {
  const std::string& t = GetText();
  int n = static_cast<int>(t.size());
  if (Pos >= n) return n;
  int cls = et::CharClass(et::Decode(t, Pos));
  if (cls != 0)
    while (Pos < n && et::CharClass(et::Decode(t, Pos)) == cls) Pos = NextPos(Pos);
  while (Pos < n && et::CharClass(et::Decode(t, Pos)) == 0) {
    // A line break ends the step in a memo: the next line starts a new word.
    if (t[static_cast<size_t>(Pos)] == '\r' || t[static_cast<size_t>(Pos)] == '\n') {
      if (cls == 0) Pos = NextPos(Pos);
      break;
    }
    Pos = NextPos(Pos);
  }
  return Pos;
}

// Ctrl+Left: back over blanks, then to the start of the word before them.
int TCustomEdit::WordLeft(int Pos) const {
  const std::string& t = GetText();
  if (Pos <= 0) return 0;
  int p = Pos;
  while (p > 0 && et::CharClass(et::Decode(t, PrevPos(p))) == 0) {
    char c = t[static_cast<size_t>(p) - 1];
    if ((c == '\n' || c == '\r') && p != Pos) return p;
    p = PrevPos(p);
  }
  if (p == 0) return 0;
  int cls = et::CharClass(et::Decode(t, PrevPos(p)));
  while (p > 0 && et::CharClass(et::Decode(t, PrevPos(p))) == cls) p = PrevPos(p);
  return p;
}

// ---------------------------------------------------------------- selection

int TCustomEdit::GetSelStart() const { return CodePoints(GetText(), SelFrom()); }
int TCustomEdit::GetSelLength() const {
  return CodePoints(GetText(), SelTo()) - CodePoints(GetText(), SelFrom());
}
int TCustomEdit::GetTextLen() const { return Utf8CodePointCount(GetText()); }

void TCustomEdit::SetSelStart(int Value) {
  const std::string& t = GetText();
  int p = static_cast<int>(Utf8Offset(t, std::max(0, Value)));
  // Never between CR and LF.
  if (p > 0 && p < static_cast<int>(t.size()) && t[static_cast<size_t>(p)] == '\n' &&
      t[static_cast<size_t>(p) - 1] == '\r')
    --p;
  FGoalX = -1;
  MoveCaret(p, false);
}

void TCustomEdit::SetSelLength(int Value) {
  const std::string& t = GetText();
  int start = CodePoints(t, SelFrom());
  int endCp = std::clamp(start + Value, 0, Utf8CodePointCount(t));
  int p = static_cast<int>(Utf8Offset(t, endCp));
  if (p > 0 && p < static_cast<int>(t.size()) && t[static_cast<size_t>(p)] == '\n' &&
      t[static_cast<size_t>(p) - 1] == '\r')
    p += Value < 0 ? -1 : 1;
  FAnchor = SelFrom();
  FCaret = p;
  ScrollToCaret();
  RestartCaret();
  Invalidate();
}

std::string TCustomEdit::GetSelText() const {
  return GetText().substr(static_cast<size_t>(SelFrom()), static_cast<size_t>(SelTo() - SelFrom()));
}

void TCustomEdit::SetSelText(const std::string& Value) { ReplaceSelection(Value, false); }

void TCustomEdit::SelectAll() {
  FAnchor = 0;
  FCaret = static_cast<int>(GetText().size());
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::ClearSelection() {
  if (FReadOnly || SelFrom() == SelTo()) return;
  ReplaceSelection("", true);
}

void TCustomEdit::MoveCaret(int Pos, bool Extend) {
  FTypingRun = false;
  FCaret = std::clamp(Pos, 0, static_cast<int>(GetText().size()));
  if (!Extend) FAnchor = FCaret;
  ScrollToCaret();
  RestartCaret();
  Invalidate();
}

// ---------------------------------------------------------------- changing the text

std::string TCustomEdit::FilterInput(const std::string& S) const {
  // A single line keeps no line breaks: pasted lines run together.
  std::string r;
  r.reserve(S.size());
  for (char c : S)
    if (c != '\r' && c != '\n') r += c;
  if (FCharCase == ecUpperCase) return UpperCase(r);
  if (FCharCase == ecLowerCase) return LowerCase(r);
  return r;
}

bool TCustomEdit::UserReplace(std::string S) {
  if (FReadOnly) return false;
  S = FilterInput(S);
  if (FMaxLength > 0) {
    int room = FMaxLength - (GetTextLen() - GetSelLength());
    if (room <= 0 && !S.empty()) {
      // Full: typing changes nothing (deleting still works).
      if (SelFrom() == SelTo()) return false;
      S.clear();
    } else {
      S = Utf8Truncate(S, room);
    }
  }
  if (S.empty() && SelFrom() == SelTo()) return false;
  ReplaceSelection(S, true);
  return !FWithdrawn;
}

void TCustomEdit::ReplaceSelection(const std::string& S, bool User) {
  std::string t = GetText();
  int from = SelFrom(), to = SelTo();
  bool merge = User && FTypingRun && FCanUndo && from == to && from == FCaret;
  if (User)
    FBefore = {t,           FUndoText, FCaret,     FAnchor,  FUndoCaret,
               FUndoAnchor, FCanUndo,  FTypingRun, FModified};
  FTypingRun = false;
  if (User && !merge) {
    FUndoText = t;
    FUndoCaret = FCaret;
    FUndoAnchor = FAnchor;
    FCanUndo = true;
  }
  // A replacement by the program cannot be undone, and an older step no longer fits the text.
  if (!User) FCanUndo = false;
  if (User) FModified = true;
  t.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), S);
  // The caret goes after the inserted text before the change is announced, so Change sees it.
  FCaret = FAnchor = from + static_cast<int>(S.size());
  FGoalX = -1;
  FWithdrawn = false;
  FAnnouncing = User;
  FInternalChange = true;
  SetText(t);
  FInternalChange = false;
  FAnnouncing = false;
  FBefore = TEditBefore();  // only needed while the edit is announced
}

bool TCustomEdit::WithdrawUserEdit() {
  if (!FAnnouncing) return false;
  FAnnouncing = false;
  FWithdrawn = true;
  TEditBefore b = std::move(FBefore);
  FCaret = b.Caret;
  FAnchor = b.Anchor;
  FInternalChange = true;
  SetText(b.Text);
  FInternalChange = false;
  FUndoText = std::move(b.UndoText);
  FUndoCaret = b.UndoCaret;
  FUndoAnchor = b.UndoAnchor;
  FCanUndo = b.CanUndo;
  FTypingRun = b.TypingRun;
  FModified = b.Modified;
  FGoalX = -1;
  ScrollToCaret();
  RestartCaret();
  Invalidate();
  return true;
}

void TCustomEdit::ReviseUserEdit(const std::string& S) {
  // Nothing to withdraw any more: the revision is the edit's outcome.
  FAnnouncing = false;
  FInternalChange = true;
  SetText(S);
  FInternalChange = false;
}

void TCustomEdit::Undo() {
  if (!FCanUndo || FReadOnly) return;
  FTypingRun = false;
  std::string redo = GetText();
  int redoCaret = FCaret, redoAnchor = FAnchor;
  FBefore = {redo, FUndoText, FCaret, FAnchor, FUndoCaret, FUndoAnchor, FCanUndo, false, FModified};
  FCaret = FUndoCaret;
  FAnchor = FUndoAnchor;
  // The undo step swaps before the text is announced, so a withdrawal restores it whole.
  std::string undoText = std::move(FUndoText);
  FUndoText = redo;
  FUndoCaret = redoCaret;
  FUndoAnchor = redoAnchor;
  FModified = true;
  FWithdrawn = false;
  FAnnouncing = true;
  FInternalChange = true;
  SetText(undoText);
  FInternalChange = false;
  FAnnouncing = false;
  FBefore = TEditBefore();
}

void TCustomEdit::CMTextChanged(TMessage& Message) {
  TCustomControl::CMTextChanged(Message);
  const std::string& t = GetText();
  int n = static_cast<int>(t.size());
  bool internal = FInternalChange;
  FInternalChange = false;
  if (!internal) {
    // Text set by the program: the caret stays where it was when it still fits (descendants
    // that correct typed text rely on that), the selection goes, and so do undo and Modified.
    // A user edit still being announced can no longer be withdrawn.
    FAnnouncing = false;
    FCaret = et::Snap(t, std::min(FCaret, n));
    if (FCaret > 0 && FCaret < n && t[static_cast<size_t>(FCaret)] == '\n' &&
        t[static_cast<size_t>(FCaret) - 1] == '\r')
      --FCaret;
    FAnchor = FCaret;
    FCanUndo = false;
    FModified = false;
    FGoalX = -1;
  }
  FCaret = std::clamp(FCaret, 0, n);
  FAnchor = std::clamp(FAnchor, 0, n);
  ScrollToCaret();
  RestartCaret();
  Invalidate();
  Change();
}

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------- clipboard

void TCustomEdit::CopyToClipboard() {
  // A masked field never gives its text away.
  if (FPasswordChar != 0 || SelFrom() == SelTo()) return;
  Clipboard()->SetAsText(GetSelText());
}

void TCustomEdit::CutToClipboard() {
  if (FPasswordChar != 0 || FReadOnly || SelFrom() == SelTo()) return;
  Clipboard()->SetAsText(GetSelText());
  ReplaceSelection("", true);
}

void TCustomEdit::PasteFromClipboard() {
  if (FReadOnly || !Clipboard()->HasFormat(CF_TEXT)) return;
  UserReplace(Clipboard()->GetAsText());
}

// ---------------------------------------------------------------- properties

void TCustomEdit::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  Invalidate();
}

void TCustomEdit::SetMaxLength(int Value) { FMaxLength = std::max(0, Value); }

void TCustomEdit::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  AdjustHeight();
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  if (Value != ecNormal)
    SetText(Value == ecUpperCase ? UpperCase(GetText()) : LowerCase(GetText()));
}

void TCustomEdit::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::AdjustHeight() {
  if (!FAutoSize || IsMultiLine() || FComponentState.Contains(csLoading)) return;
  // The font's cell plus the frame and a pixel of air above and below the text.
  int h = LineHeight() + 2 * BorderSize() + (FBorderStyle == bsNone ? 0 : 4);
  if (h != GetHeight()) SetHeight(h);
}

void TCustomEdit::Loaded() {
  TCustomControl::Loaded();
  AdjustHeight();
  ScrollToCaret();
}

void TCustomEdit::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  AdjustHeight();
  ScrollToCaret();
  Invalidate();
}

void TCustomEdit::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

void TCustomEdit::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  ScrollToCaret();
}

// ---------------------------------------------------------------- focus and caret

void TCustomEdit::RestartCaret() {
  // Every move shows the caret at once and starts a fresh blink period.
  if (!Focused()) return;
  FCaretOn = true;
  SetTimer(FCaretWnd, kCaretTimer, kCaretBlinkMs);
}

void TCustomEdit::CaretTimer(TMessage& Message) {
  if (Message.Msg != WM_TIMER) return;
  if (Message.WParam == kDragScrollTimer) {
    DragScrollStep();
    return;
  }
  if (!Focused()) {
    KillTimer(FCaretWnd, kCaretTimer);
    FCaretOn = false;
    return;
  }
  FCaretOn = !FCaretOn;
  TRect r = CaretRect();
  InvalidateRect(r);
}

void TCustomEdit::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  // Tabbing in selects everything; a click that focused the control then places the caret.
  // The focus coming back from a popup menu (WParam: the control that had it), or with the
  // window after a dialog closed, is no entry: the next key must not replace the whole text.
  FFocusReturning = FLeftWithWindow;
  FLeftWithWindow = false;
  if (FAutoSelect && !IsMultiLine() && !FFocusReturning &&
      !IsPopupMenuWindow(reinterpret_cast<const TControl*>(Message.WParam)))
    SelectAll();
  FCaretOn = true;
  SetTimer(FCaretWnd, kCaretTimer, kCaretBlinkMs);
  Invalidate();
}

void TCustomEdit::CMEnter(TMessage& Message) {
  FLeftWithWindow = false;
  TCustomControl::CMEnter(Message);
}

void TCustomEdit::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  // No control named: the form lost the activation and keeps this control as its focus.
  FLeftWithWindow = Message.WParam == 0;
  FFocusReturning = false;
  KillTimer(FCaretWnd, kCaretTimer);
  KillTimer(FCaretWnd, kDragScrollTimer);
  FCaretOn = false;
  FSelecting = false;
  Invalidate();
}

void TCustomEdit::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
}

// ---------------------------------------------------------------- keys

void TCustomEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  const std::string& t = GetText();
  int n = static_cast<int>(t.size());
  auto move = [&](int Pos) {
    FGoalX = -1;
    MoveCaret(Pos, shift);
    Key = 0;
  };
  if (NavigateKey(Key, Shift)) {
    Key = 0;
    return;
  }
  switch (Key) {
    case VK_LEFT:
      // Without Shift, a selection collapses to its left end.
      if (!shift && !ctrl && FCaret != FAnchor) return move(SelFrom());
      return move(ctrl ? WordLeft(FCaret) : PrevPos(FCaret));
    case VK_RIGHT:
      if (!shift && !ctrl && FCaret != FAnchor) return move(SelTo());
      return move(ctrl ? WordRight(FCaret) : NextPos(FCaret));
    case VK_HOME:
      if (!IsMultiLine() || ctrl) return move(0);
      break;
    case VK_END:
      if (!IsMultiLine() || ctrl) return move(n);
      break;
    case VK_DELETE:
      if (shift && !ctrl) {
        CutToClipboard();
      } else if (FCaret == FAnchor) {
        if (FReadOnly || FCaret >= n) break;
        FAnchor = ctrl ? WordRight(FCaret) : NextPos(FCaret);
        UserReplace("");
      } else {
        UserReplace("");
      }
      Key = 0;
      break;
    case VK_BACK:
      // Ctrl+Backspace takes the word before the caret (plain Backspace arrives as a character).
      if (!ctrl) break;
      if (!FReadOnly) {
        if (FCaret == FAnchor) FAnchor = WordLeft(FCaret);
        UserReplace("");
      }
      Key = 0;
      break;
    case VK_INSERT:
      if (ctrl && !shift) CopyToClipboard();
      if (shift && !ctrl) PasteFromClipboard();
      Key = 0;
      break;
    default:
      break;
  }
}

void TCustomEdit::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  switch (Key) {
    case 0:
      return;
    case 1:  // Ctrl+A
      SelectAll();
      break;
    case 3:  // Ctrl+C
      CopyToClipboard();
      break;
    case 22:  // Ctrl+V
      PasteFromClipboard();
      break;
    case 24:  // Ctrl+X
      CutToClipboard();
      break;
    case 26:  // Ctrl+Z
      Undo();
      break;
    case 8:  // Backspace
      if (FReadOnly) break;
      if (FCaret == FAnchor) {
        if (FCaret == 0) break;
        FAnchor = PrevPos(FCaret);
      }
      UserReplace("");
      break;
    case 127:  // DEL as a character types nothing
      break;
    default:
      if (Key < 32) return;
      if (UserReplace(et::Encode(Key))) FTypingRun = true;
      break;
  }
  Key = 0;
}

// ---------------------------------------------------------------- mouse

void TCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbRight) {
    // A right click works on what it points at: it focuses the edit and keeps a selection it
    // lands in (the menu's commands act on it), else it places the caret there.
    if (CanFocus() && !Focused()) SetFocus();
    if (!TextArea().Contains({X, Y})) return;
    int p = PosAtPoint({X, Y});
    if (SelFrom() == SelTo() || p < SelFrom() || p > SelTo()) {
      FGoalX = -1;
      MoveCaret(p, false);
    }
    return;
  }
  if (Button != mbLeft) return;
  if (CanFocus() && !Focused()) SetFocus();
  int p = PosAtPoint({X, Y});
  FGoalX = -1;
  if (Shift.Contains(ssDouble)) {
    // A double click selects the word (or run of blanks or punctuation) under the pointer;
    // dragging on extends by whole words.
    const std::string& t = GetText();
    int n = static_cast<int>(t.size());
    int from = p, to = p;
    int probe = p < n ? p : PrevPos(p);
    if (n > 0) {
      int cls = et::CharClass(et::Decode(t, probe));
      bool lineBreak =
          t[static_cast<size_t>(probe)] == '\r' || t[static_cast<size_t>(probe)] == '\n';
      if (!lineBreak) {
        from = probe;
        to = probe;
        while (from > 0 && et::CharClass(et::Decode(t, PrevPos(from))) == cls &&
               t[static_cast<size_t>(from) - 1] != '\n')
          from = PrevPos(from);
        while (to < n && et::CharClass(et::Decode(t, to)) == cls &&
               t[static_cast<size_t>(to)] != '\r' && t[static_cast<size_t>(to)] != '\n')
          to = NextPos(to);
      }
    }
    FWordAnchorFrom = from;
    FWordAnchorTo = to;
    FAnchor = from;
    FCaret = to;
    FWordSelecting = true;
    FSelecting = true;
    ScrollToCaret();
    RestartCaret();
    Invalidate();
    return;
  }
  FWordSelecting = false;
  FSelecting = true;
  MoveCaret(p, Shift.Contains(ssShift));
}

void TCustomEdit::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!FSelecting) return;
  FDragPoint = {X, Y};
  TRect a = TextArea();
  bool outside = X < a.Left || X >= a.Right || (IsMultiLine() && (Y < a.Top || Y >= a.Bottom));
  if (outside)
    SetTimer(FCaretWnd, kDragScrollTimer, kDragScrollMs);
  else
    KillTimer(FCaretWnd, kDragScrollTimer);
  int p = PosAtPoint({X, Y});
  if (FWordSelecting) {
    if (p < FWordAnchorFrom) {
      FAnchor = FWordAnchorTo;
      FCaret = WordLeft(NextPos(p)) <= p ? WordLeft(NextPos(p)) : p;
    } else if (p > FWordAnchorTo) {
      FAnchor = FWordAnchorFrom;
      FCaret = WordRight(PrevPos(p)) >= p ? WordRight(PrevPos(p)) : p;
    } else {
      FAnchor = FWordAnchorFrom;
      FCaret = FWordAnchorTo;
    }
    ScrollToCaret();
    RestartCaret();
    Invalidate();
    return;
  }
  MoveCaret(p, true);
}

// While a selecting drag stands outside the text, the selection keeps growing a character (or
// a line) per tick in that direction, so a long text can be selected without moving on.
void TCustomEdit::DragScrollStep() {
  TRect a = TextArea();
  if (!FSelecting || a.Contains(FDragPoint) ||
      (!IsMultiLine() && FDragPoint.X >= a.Left && FDragPoint.X < a.Right)) {
    KillTimer(FCaretWnd, kDragScrollTimer);
    return;
  }
  if (IsMultiLine() && (FDragPoint.Y < a.Top || FDragPoint.Y >= a.Bottom)) {
    NavigateKey(FDragPoint.Y < a.Top ? VK_UP : VK_DOWN, {ssShift});
    return;
  }
  if (FDragPoint.X < a.Left)
    MoveCaret(PrevPos(FCaret), true);
  else if (FDragPoint.X >= a.Right)
    MoveCaret(NextPos(FCaret), true);
}

void TCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FSelecting = false;
    FWordSelecting = false;
    KillTimer(FCaretWnd, kDragScrollTimer);
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

int TCustomEdit::CharFromPos(TPoint P) const { return CodePoints(GetText(), PosAtPoint(P)); }

}  // namespace qel

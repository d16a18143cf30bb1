// The masked edit: typing into slots, blanking instead of deleting, filtered paste, a caret that
// never rests on a literal, Esc back to the text from focus-in, and validation on exit.
#include <algorithm>

#include "platform/controls/Messages.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/Mask.h"

namespace qel {

namespace {

std::vector<char32_t> Decode(const std::string& S) {
  std::vector<char32_t> r;
  int n = static_cast<int>(S.size());
  for (int p = 0; p < n; p = edittext::Next(S, p)) {
    char32_t c = edittext::Decode(S, p);
    // What has no UTF-8 form (surrogates, beyond U+10FFFF) is stored as U+FFFD, as it would be
    // written: a mask position then always reads back as what it holds.
    r.push_back((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? 0xFFFD : c);
  }
  return r;
}

std::string Encode(const std::vector<char32_t>& Cps, size_t From = 0, size_t To = SIZE_MAX) {
  std::string r;
  for (size_t i = From; i < std::min(To, Cps.size()); ++i) AppendUtf8(r, Cps[i]);
  return r;
}

int ByteOf(const std::string& S, int CodePoint) {
  return static_cast<int>(Utf8Offset(S, std::max(0, CodePoint)));
}

int CodePointOf(const std::string& S, int Byte) {
  return Utf8CodePointCount(S.substr(0, static_cast<size_t>(std::max(0, Byte))));
}

}  // namespace

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

TCustomMaskEdit::~TCustomMaskEdit() = default;

// ---------------------------------------------------------------- mask and text

void TCustomMaskEdit::SetEditMask(const std::string& Value) {
  if (Value == FEditMask) return;
  std::string value = GetText();
  FEditMask = Value;
  FMask = TMaskPattern(Value);
  if (IsMasked())
    TControl::SetText(FMask.DisplayText(value));
  else
    TControl::SetText(value);
  if (IsMasked() && SelFrom() == SelTo()) MoveCaretTo(SnapCaret(CaretCodePoint()), false);
  Invalidate();
}

std::string TCustomMaskEdit::GetText() const {
  return IsMasked() ? FMask.ValueText(GetEditText()) : TControl::GetText();
}

void TCustomMaskEdit::SetText(const std::string& Value) {
  // A text of the mask's shape is taken as it is; CMTextChanged formats anything else.
  TControl::SetText(Value);
}

void TCustomMaskEdit::CMTextChanged(TMessage& Message) {
  if (IsMasked() && !FConforming && !FMask.Conforms(GetEditText())) {
    // Whatever set the text (Text through a base pointer, a form file, Clear), the control only
    // ever holds a display text: anything else is read as a value.
    FConforming = true;
    TControl::SetText(FMask.DisplayText(GetEditText()));
    FConforming = false;
    return;
  }
  TCustomEdit::CMTextChanged(Message);
  if (IsMasked() && FCaret == FAnchor) {
    const std::string& t = GetEditText();
    FCaret = FAnchor = ByteOf(t, SnapCaret(CodePointOf(t, FCaret)));
  }
}

// ---------------------------------------------------------------- positions

int TCustomMaskEdit::CaretCodePoint() const { return CodePointOf(GetEditText(), FCaret); }

int TCustomMaskEdit::SnapCaret(int P) const {
  int last = FMask.PrevEditable(FMask.Length());
  if (last < 0) return std::clamp(P, 0, FMask.Length());
  if (P > last) return last + 1;
  return FMask.NextEditable(P);
}

void TCustomMaskEdit::MoveCaretTo(int P, bool Extend) {
  FGoalX = -1;
  MoveCaret(ByteOf(GetEditText(), P), Extend);
}

// ---------------------------------------------------------------- editing

std::string TCustomMaskEdit::BlankRange(const std::string& Display, int From, int To) const {
  std::vector<char32_t> d = Decode(Display);
  for (int p = std::max(0, From); p < To && p < static_cast<int>(d.size()); ++p)
    if (FMask.IsEditable(p)) d[static_cast<size_t>(p)] = FMask.GetBlank();
  return Encode(d);
}

std::string TCustomMaskEdit::FillFrom(const std::string& Display, int P, const std::string& S,
                                      int& Caret) const {
  std::vector<char32_t> d = Decode(Display);
  int n = static_cast<int>(d.size());
  int p = FMask.NextEditable(P);
  int litFrom = P;  // literals between the last slot filled and the next one
  for (char32_t c : Decode(S)) {
    if (p >= n) break;
    if (c == '\r' || c == '\n') continue;
    // The text may carry the literals itself ("12/05/2020" into a date): step over them.
    bool literal = false;
    for (int q = litFrom; q < p; ++q)
      if (FMask.LiteralAt(q) == c) {
        litFrom = q + 1;
        literal = true;
        break;
      }
    if (literal) continue;
    // Spaces in a pasted text separate its parts; the blank character leaves a slot empty.
    if (c == ' ') continue;
    char32_t f = c;
    if (c == FMask.GetBlank()) {
      f = FMask.GetBlank();
    } else {
      if (FMask.CaseAt(p) == mcAsTyped && GetCharCase() != ecNormal)
        f = GetCharCase() == ecUpperCase ? MaskUpperCase(f) : MaskLowerCase(f);
      if (!FMask.CharFits(p, f)) continue;
    }
    d[static_cast<size_t>(p)] = f;
    litFrom = p + 1;
    p = FMask.NextEditable(p + 1);
  }
  Caret = SnapCaret(p);
  return Encode(d);
}

void TCustomMaskEdit::ApplyEdit(const std::string& Display, int Caret) {
  const std::string t = GetEditText();
  if (Display != t) {
    // Replace only the code points that differ, so undo and the change notification see an edit
    // of the right extent.
    std::vector<char32_t> a = Decode(t), b = Decode(Display);
    size_t pre = 0;
    while (pre < a.size() && pre < b.size() && a[pre] == b[pre]) ++pre;
    size_t suf = 0;
    while (suf < a.size() - pre && suf < b.size() - pre &&
           a[a.size() - 1 - suf] == b[b.size() - 1 - suf])
      ++suf;
    FAnchor = ByteOf(t, static_cast<int>(pre));
    FCaret = ByteOf(t, static_cast<int>(a.size() - suf));
    ReplaceSelection(Encode(b, pre, b.size() - suf), true);
  }
  MoveCaretTo(Caret, false);
}

void TCustomMaskEdit::TypeChar(char32_t C) {
  if (GetReadOnly()) return;
  const std::string& t = GetEditText();
  int from = CodePointOf(t, SelFrom()), to = CodePointOf(t, SelTo());
  std::string d = from != to ? BlankRange(t, from, to) : t;
  int p = FMask.NextEditable(from);
  if (p >= FMask.Length()) {
    MessageBeep(0);
    return;
  }
  if (C == ' ') {
    // A space is how an unfilled slot reads in the value: typing one blanks the slot.
    ApplyEdit(BlankRange(d, p, p + 1), SnapCaret(p + 1));
    return;
  }
  char32_t c = C;
  if (FMask.CaseAt(p) == mcAsTyped && GetCharCase() != ecNormal)
    c = GetCharCase() == ecUpperCase ? MaskUpperCase(c) : MaskLowerCase(c);
  if (!FMask.CharFits(p, c)) {
    // Typing a literal the caret has just stepped over (the '/' of "12/") is no mistake.
    for (int q = p - 1; q >= 0 && !FMask.IsEditable(q); --q)
      if (FMask.LiteralAt(q) == C && from == to) return;
    MessageBeep(0);
    return;
  }
  std::vector<char32_t> v = Decode(d);
  v[static_cast<size_t>(p)] = c;
  ApplyEdit(Encode(v), SnapCaret(p + 1));
}

void TCustomMaskEdit::DeleteChars(bool Backward) {
  if (GetReadOnly()) return;
  const std::string& t = GetEditText();
  int from = CodePointOf(t, SelFrom()), to = CodePointOf(t, SelTo());
  if (from != to) {
    ApplyEdit(BlankRange(t, from, to), SnapCaret(from));
    return;
  }
  int p = Backward ? FMask.PrevEditable(from) : FMask.NextEditable(from);
  if (p < 0 || p >= FMask.Length()) return;
  ApplyEdit(BlankRange(t, p, p + 1), p);
}

void TCustomMaskEdit::SetSelText(const std::string& Value) {
  if (!IsMasked()) return TCustomEdit::SetSelText(Value);
  const std::string& t = GetEditText();
  int from = CodePointOf(t, SelFrom()), to = CodePointOf(t, SelTo());
  int caret = from;
  std::string d = FillFrom(from != to ? BlankRange(t, from, to) : t, from, Value, caret);
  bool modified = GetModified();
  ApplyEdit(d, caret);
  // The program's edit is not the user's: it leaves Modified as it was.
  SetModified(modified);
}

void TCustomMaskEdit::ClearSelection() {
  if (!IsMasked()) return TCustomEdit::ClearSelection();
  if (GetReadOnly() || SelFrom() == SelTo()) return;
  DeleteChars(false);
}

void TCustomMaskEdit::CutToClipboard() {
  if (!IsMasked()) return TCustomEdit::CutToClipboard();
  if (GetPasswordChar() != 0 || GetReadOnly() || SelFrom() == SelTo()) return;
  Clipboard()->SetAsText(GetSelText());
  DeleteChars(false);
}

void TCustomMaskEdit::PasteFromClipboard() {
  if (!IsMasked()) return TCustomEdit::PasteFromClipboard();
  if (GetReadOnly() || !Clipboard()->HasFormat(CF_TEXT)) return;
  const std::string& t = GetEditText();
  int from = CodePointOf(t, SelFrom()), to = CodePointOf(t, SelTo());
  int caret = from;
  std::string d =
      FillFrom(from != to ? BlankRange(t, from, to) : t, from, Clipboard()->GetAsText(), caret);
  ApplyEdit(d, caret);
}

// ---------------------------------------------------------------- validation

void TCustomMaskEdit::ValidateEdit() {
  if (!IsMasked()) return;
  int missing = FMask.FirstMissing(GetEditText());
  if (missing < 0) return;
  MoveCaretTo(missing, false);
  ValidateError();
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EMaskEditError(
      "Incomplete entry: every required position of the field must be filled in. Complete the "
      "entry or press Esc to undo the changes.");
}

void TCustomMaskEdit::CMExit(TMessage& Message) {
  // A popup menu taking the focus for a moment (the context menu) is no leaving of the field.
  TForm* f = GetParentForm();
  TWinControl* to = f ? f->FocusedControl() : nullptr;
  FMenuExit = to && dynamic_cast<TPopupMenu*>(to->GetOwner()) != nullptr;
  if (FMenuExit) return TCustomEdit::CMExit(Message);
  // An untouched field is left alone, so tabbing through an empty form never traps the user.
  // ValidateEdit checks only a mask here; a derived edit may check an unmasked text too.
  if (ValidatesOnExit() && GetModified()) {
    try {
      ValidateEdit();
    } catch (...) {
      // The focus stays (comes back) here, with the caret on the slot to fill.
      int caret = CaretCodePoint();
      if (CanFocus() && !Focused()) {
        FRefocusing = true;
        SetFocus();
        FRefocusing = false;
      }
      MoveCaretTo(caret, false);
      throw;
    }
  }
  TCustomEdit::CMExit(Message);
}

void TCustomMaskEdit::WMSetFocus(TMessage& Message) {
  TCustomEdit::WMSetFocus(Message);
  bool back = FMenuExit;
  FMenuExit = false;
  // Coming back from a failed exit, from the context menu or with the window (a dialog closed)
  // keeps the text Esc returns to.
  if (FRefocusing || back || FocusReturning() || !IsMasked()) return;
  FFocusText = GetEditText();
  FFocusModified = GetModified();
  // An empty field starts at its first slot rather than with its blanks selected.
  if (GetEditText() == FMask.EmptyText()) MoveCaretTo(SnapCaret(0), false);
}

// ---------------------------------------------------------------- keys and mouse

void TCustomMaskEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (!IsMasked()) return TCustomEdit::KeyDown(Key, Shift);
  bool shift = Shift.Contains(ssShift), ctrl = Shift.Contains(ssCtrl);
  bool mine = ((Key == VK_LEFT || Key == VK_RIGHT) && !shift) ||
              (Key == VK_DELETE && !(shift && !ctrl)) || (Key == VK_BACK && ctrl) ||
              (Key == VK_ESCAPE && GetEditText() != FFocusText && Focused());
  if (!mine) {
    // Home, End, the word steps with Shift, the clipboard keys (which reach the mask-aware
    // operations) and the rest: the edit's own handling, then the caret comes off any literal.
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == 0 && FCaret == FAnchor) MoveCaretTo(SnapCaret(CaretCodePoint()), false);
    return;
  }
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  int cur = CaretCodePoint();
  const std::string& t = GetEditText();
  switch (Key) {
    case VK_LEFT: {
      int target;
      if (FCaret != FAnchor)
        target = SnapCaret(CodePointOf(t, SelFrom()));
      else if (ctrl)
        target = SnapCaret(CodePointOf(t, WordLeft(FCaret)));
      else
        target = cur;
      // Stepping left never lands back where it started because of a literal.
      if (FCaret == FAnchor && target >= cur) {
        int prev = FMask.PrevEditable(cur);
        target = prev >= 0 ? prev : cur;
      }
      MoveCaretTo(target, false);
      break;
    }
    case VK_RIGHT:
      if (FCaret != FAnchor)
        MoveCaretTo(SnapCaret(CodePointOf(t, SelTo())), false);
      else if (ctrl)
        MoveCaretTo(SnapCaret(std::max(cur + 1, CodePointOf(t, WordRight(FCaret)))), false);
      else
        MoveCaretTo(SnapCaret(cur + 1), false);
      break;
    case VK_DELETE:
      DeleteChars(false);
      break;
    case VK_BACK:
      DeleteChars(true);
      break;
    case VK_ESCAPE: {
      // Back to the text the control had when it gained the focus, as one undoable step.
      bool modified = FFocusModified;
      ApplyEdit(FFocusText, SnapCaret(0));
      SetModified(modified);
      SelectAll();
      break;
    }
    default:
      break;
  }
  Key = 0;
}

void TCustomMaskEdit::KeyPress(char32_t& Key) {
  // The clipboard and undo keys reach the mask-aware operations through the edit's own
  // handling, as does everything without a mask.
  if (!IsMasked() || Key == 1 || Key == 3 || Key == 22 || Key == 24 || Key == 26)
    return TCustomEdit::KeyPress(Key);
  TCustomControl::KeyPress(Key);
  switch (Key) {
    case 0:
      return;
    case 8:  // Backspace
      DeleteChars(true);
      break;
    case 127:  // Ctrl+Backspace: word deletion has no meaning between slots
      break;
    default:
      if (Key < 32) return;
      TypeChar(Key);
      break;
  }
  Key = 0;
}

void TCustomMaskEdit::Undo() {
  TCustomEdit::Undo();
  if (IsMasked() && FCaret == FAnchor) MoveCaretTo(SnapCaret(CaretCodePoint()), false);
}

void TCustomMaskEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomEdit::MouseDown(Button, Shift, X, Y);
  if (IsMasked() && Button == mbLeft && FCaret == FAnchor && !Shift.Contains(ssDouble))
    MoveCaretTo(SnapCaret(CaretCodePoint()), false);
}

void TCustomMaskEdit::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomEdit::MouseUp(Button, Shift, X, Y);
  if (IsMasked() && Button == mbLeft && FCaret == FAnchor)
    MoveCaretTo(SnapCaret(CaretCodePoint()), false);
}

}  // namespace qel

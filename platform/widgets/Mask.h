#pragma once
// Edit masks: the text engine (TMaskPattern, FormatMaskText and the MaskGet* helpers, in
// MaskText.cpp, free of controls) and the masked edit (TCustomMaskEdit, TMaskEdit, in
// MaskEdit.cpp). docs/masks.md describes the mask language and the decisions taken.
//
// A mask has up to three parts separated by ';': the pattern, the save-literals flag ('0': the
// value leaves the literals out) and the blank character shown in unfilled slots ('_' by
// default). Positions in a mask count code points: the pattern's slots and literals in order.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

// What a position of a mask takes.
enum TMaskCharKind : uint8_t {
  mkLiteral,      // a fixed character the user cannot change
  mkLetter,       // L: a letter, required
  mkLetterOpt,    // l: a letter, optional
  mkAlphaNum,     // A: a letter or digit, required
  mkAlphaNumOpt,  // a: a letter or digit, optional
  mkAny,          // C: any character, required
  mkAnyOpt,       // c: any character, optional
  mkDigit,        // 0: a digit, required
  mkDigitOpt,     // 9: a digit, optional
  mkDigitSign     // #: a digit, '+' or '-', optional
};

// How a slot changes the case of what goes into it (> and < in the pattern).
enum TMaskCase : uint8_t { mcAsTyped, mcUpper, mcLower };

// Raised by TCustomMaskEdit::ValidateEdit when a required position is unfilled.
class EMaskEditError : public Exception {
 public:
  using Exception::Exception;
};

// A mask parsed once. Positions (0-based) count code points of the display text, which has
// exactly Length() code points: literals where the pattern has them, and in each slot the
// character typed there or the blank character. The value of a display text is its slots (and,
// with the save-literals flag, its literals) with unfilled slots as spaces, trailing spaces
// trimmed (leading ones with '!').
class TMaskPattern {
 public:
  TMaskPattern() = default;
  explicit TMaskPattern(const std::string& EditMask);

  // No pattern: nothing is masked.
  bool IsEmpty() const { return FItems.empty(); }
  int Length() const { return static_cast<int>(FItems.size()); }
  bool GetSaveLiterals() const { return FSaveLiterals; }
  char32_t GetBlank() const { return FBlank; }
  // '!' in the pattern: leading blanks are trimmed from the value and a short value is placed
  // at the end of the display text.
  bool GetTrimLeading() const { return FTrimLeading; }

  TMaskCharKind KindAt(int P) const;  // mkLiteral outside the mask
  TMaskCase CaseAt(int P) const;
  char32_t LiteralAt(int P) const;  // 0 for slots
  bool IsEditable(int P) const;     // P is a slot the user types into
  bool IsRequired(int P) const;     // ... that must be filled
  int SlotCount() const;
  // The first slot at or after P (Length() when there is none) and the last slot before P
  // (-1 when there is none).
  int NextEditable(int P) const;
  int PrevEditable(int P) const;
  // Whether C may go into slot P; on success C becomes what the slot stores (case applied).
  // The blank character and the space never fit: they mean an unfilled slot.
  bool CharFits(int P, char32_t& C) const;

  // All slots blank.
  std::string EmptyText() const;
  // The display text for a value (see FormatMaskText).
  std::string DisplayText(const std::string& Value) const;
  // The value of a display text, as Text returns it (per the save-literals flag).
  std::string ValueText(const std::string& Display) const;
  // The display text without its literals and with spaces for the blanks, untrimmed.
  std::string StripLiterals(const std::string& Display) const;
  // Display has exactly the mask's shape: its length, the literals in place, and in each slot
  // the blank or a character that fits it.
  bool Conforms(const std::string& Display) const;
  // The first required slot left blank in Display (-1 when every one is filled).
  int FirstMissing(const std::string& Display) const;
  bool IsComplete(const std::string& Display) const { return FirstMissing(Display) < 0; }
  // Whether slot P of Display holds a character.
  bool IsFilled(const std::string& Display, int P) const;

 private:
  struct TItem {
    TMaskCharKind Kind = mkLiteral;
    TMaskCase Case = mcAsTyped;
    char32_t Literal = 0;
  };
  std::vector<TItem> FItems;
  bool FSaveLiterals = true;
  char32_t FBlank = '_';
  bool FTrimLeading = false;
};

// The display text of Value under EditMask: a value with the literals (save-literals flag '1')
// or without them ('0'); characters that do not fit their slot leave it blank. An empty mask
// returns Value unchanged.
std::string FormatMaskText(const std::string& EditMask, const std::string& Value);
// The save-literals flag of a mask (true when the part is absent or anything but '0').
bool MaskGetMaskSave(const std::string& EditMask);
// The blank character of a mask ('_' when the part is absent or empty).
char32_t MaskGetMaskBlank(const std::string& EditMask);
// The pattern part of a mask, up to the first ';' that is not escaped.
std::string MaskGetPattern(const std::string& EditMask);
// The mask's letters: Unicode letters of the common scripts (Latin, Greek, Cyrillic, Armenian,
// Hebrew, Arabic, the CJK ideographs, kana and Hangul), and their simple case mappings (Latin,
// Greek, Cyrillic; other letters map to themselves).
bool MaskIsLetter(char32_t C);
char32_t MaskUpperCase(char32_t C);
char32_t MaskLowerCase(char32_t C);

// ---------------------------------------------------------------- TCustomMaskEdit

// An edit whose text follows an edit mask. With an empty EditMask it is a plain TCustomEdit.
// With a mask the control's text is the display text (EditText: literals and blanks in place);
// typing overwrites slots and steps over literals, Backspace and Delete blank slots instead of
// removing them, a paste is filtered through the mask, and the caret rests only before a slot
// or right after the last one. Text is the value (per the save-literals flag). Leaving the
// control with an incomplete text raises EMaskEditError and keeps the focus; Esc gives back the
// text the control had when it gained the focus.
class TCustomMaskEdit : public TCustomEdit {
 public:
  explicit TCustomMaskEdit(TComponent* AOwner);
  ~TCustomMaskEdit() override;
  std::string ClassName() const override { return "TCustomMaskEdit"; }

  const std::string& GetEditMask() const { return FEditMask; }
  // Changing the mask keeps the value: the old Text is formatted into the new mask.
  void SetEditMask(const std::string& Value);
  bool IsMasked() const { return !FMask.IsEmpty(); }
  const TMaskPattern& Mask() const { return FMask; }
  // The display text; setting it takes a text of the mask's shape as it is and formats any
  // other text as a value.
  const std::string& GetEditText() const { return TControl::GetText(); }
  void SetEditText(const std::string& Value) { TControl::SetText(Value); }
  // The value (without a mask: the text). Through a TControl or TCustomEdit pointer Text is the
  // display text; a text of another shape set that way is formatted as a value.
  std::string GetText() const;
  void SetText(const std::string& Value);
  // Raises EMaskEditError (through ValidateError) when the user changed the text and left a
  // required slot unfilled; the caret goes to that slot first.
  virtual void ValidateEdit();

  // The editing operations, mask-aware (the TCustomEdit ones with an empty mask); the edit's
  // keys and its standard context menu reach them through the base class.
  void SetSelText(const std::string& Value) override;
  void ClearSelection() override;
  void CutToClipboard() override;
  void PasteFromClipboard() override;
  // Undoes as the edit does, then puts the caret back on a slot.
  void Undo() override;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  // Beeps and raises EMaskEditError; the message tells how to go on.
  virtual void ValidateError();
  // Whether focus-out validates (the grid's editor validates when its cell is left instead).
  virtual bool ValidatesOnExit() const { return true; }
  void CMTextChanged(TMessage& Message) override;
  void CMExit(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;

  // Masked editing, in code point positions of the display text.
  int CaretCodePoint() const;
  // Where the caret may rest nearest to P: before a slot or right after the last slot.
  int SnapCaret(int P) const;
  void MoveCaretTo(int P, bool Extend);
  // Blanks the slots in [From, To).
  std::string BlankRange(const std::string& Display, int From, int To) const;
  // Puts S into the slots from P on, skipping what does not fit and the literals S carries.
  // Returns the display text and, in Caret, where typing goes on.
  std::string FillFrom(const std::string& Display, int P, const std::string& S, int& Caret) const;
  // Makes Display the text as an edit by the user (undoable, Modified) with the caret at
  // code point Caret.
  void ApplyEdit(const std::string& Display, int Caret);
  void TypeChar(char32_t C);
  void DeleteChars(bool Backward);

 private:
  std::string FEditMask;
  TMaskPattern FMask;
  std::string FFocusText;  // the display text when the focus came, for Esc
  bool FFocusModified = false;
  bool FConforming = false;         // CMTextChanged is formatting a text of another shape
  bool FRefocusing = false;         // a failed exit is taking the focus back
  bool FMenuExit = false;           // the focus went to a popup menu, and comes back from it
};

class TMaskEdit : public TCustomMaskEdit {
 public:
  explicit TMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {}
  std::string ClassName() const override { return "TMaskEdit"; }
};

// Registers TCustomMaskEdit and TMaskEdit (after the standard widgets); idempotent.
void RegisterMaskClasses();

}  // namespace qel

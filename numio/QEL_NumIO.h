#pragma once
// The numeric entry fields: TNumIO2 (self-drawn, with spin buttons and gauge, QEL_NumIO2.h) and
// TNumIO (built on the platform's edit, below). The notation logic both fields share is
// numio/NumNotation.h.
#include <cstdint>
#include <string>

#include "frame/QEL_qelbase.h"
#include "numio/NumNotation.h"
#include "numio/QEL_NumIO2.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

// TNumIO: a numeric entry field that is an ordinary edit. The edit does the typing, caret,
// selection, clipboard, context menu and undo; after every change of the text the field checks
// it, and a text that is no number of the notation, or whose value lies outside
// RangeLow..RangeHigh (0 always passes), is withdrawn: the field returns to the text before the
// change (undo step and selection included) and beeps when Beep is set. In itFixPoint the field
// keeps FixPointDecPlaces decimals: further decimals are cut, the text is written back in that
// form, and deleting the separator or typing a second one only moves the caret.
//
// Where the code lives: numio_edit.cpp (the check, values, setters, Assign),
// numio_edit_register.cpp (published properties). docs/numio.md records the choices.
class TNumIO : public TCustomEdit {
 public:
  explicit TNumIO(TComponent* AOwner);
  std::string ClassName() const override { return "TNumIO"; }

  // From another TNumIO: the notation, separator, decimals, range and Beep (not the text);
  // then the text is checked against them. Anything else goes to the framework.
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // ---- notation and range; a change forgets the last valid text and checks the text again
  TInFormat GetInputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat Value);
  TDecPSep GetDecPlaceSep() const { return FDecPlaceSep; }
  void SetDecPlaceSep(TDecPSep Value);
  int GetFixPointDecPlaces() const { return FFixPointDecPlaces; }
  // 0 or below becomes 1, 9 or more becomes 8; the text is not touched.
  void SetFixPointDecPlaces(int Value);
  double GetRangeLow() const { return FRangeLow; }
  // A value at or above RangeHigh swaps the roles: the old RangeHigh becomes RangeLow.
  void SetRangeLow(double Value);
  double GetRangeHigh() const { return FRangeHigh; }
  // A value at or below RangeLow swaps the roles: the old RangeLow becomes RangeHigh.
  void SetRangeHigh(double Value);
  bool GetBeep() const { return FBeep; }
  void SetBeep(bool Value) { FBeep = Value; }

  // ---- value
  // The number the text stands for; 0 for an empty or unreadable text. A comma-only field
  // reads its comma; hexadecimal, octal and binary texts read as 32-bit two's complement.
  double GetLabValue() const;
  // Writes X in the notation (NaN is ignored, infinities are clamped) through SetEditText.
  void SetLabValue(double X);
  // Sets the text without the check (the host knows what it writes); the text counts as the
  // last valid one. OnChange does not fire.
  void SetEditText(const std::string& Value);
  // Whether the whole of AText is a number of this field's notation and separator choice
  // (leading blanks allowed); Value receives it. See qel::ConvertNumString.
  bool ConvertNumString(const std::string& AText, double& Value) const;
  // The text the field returns to when a change is refused.
  const std::string& LastValidText() const { return FLastValid; }

  void Loaded() override;

 protected:
  // The check, after every change of the text; fires OnChange for an accepted change.
  void Change() override;

 private:
  enum TFixOutcome : uint8_t { fxRefuse, fxAccept, fxKeepText };
  bool Designing() const;
  bool Quiet() const;  // designing or loading: the check waits
  // Checks the text; User: a user edit is being announced and may be withdrawn; Notify: an
  // accepted text fires OnChange. Returns whether the text was accepted.
  bool CheckText(bool User, bool Notify);
  // itFixPoint: judges T, giving the text to show, its value and where the caret goes.
  TFixOutcome FixPointCheck(const std::string& T, int& Caret, std::string& Shown,
                            double& Value) const;
  // Forgets the last valid text and checks the text again (the setters, Assign, Loaded).
  void Recheck(bool Notify = true);
  bool InRange(double V) const { return V == 0 || (V >= FRangeLow && V <= FRangeHigh); }
  int SepMode() const { return ResolveSepModeNumIO(FDecPlaceSep); }
  // The separator the field writes: "," for a comma-only field, else ".".
  char WrittenSep() const { return SepMode() == kSepComma ? ',' : '.'; }

  TInFormat FInputFormat = itDynamic;
  TDecPSep FDecPlaceSep = dpsSystem;
  int FFixPointDecPlaces = 2;
  double FRangeLow = 0;
  double FRangeHigh = 0;
  bool FBeep = false;
  std::string FLastValid;
  bool FSkipChange = false;  // the text is being set by the field itself
};

// Registers TNumIO with the class registry (RegisterNumIOClasses calls it). Idempotent.
void RegisterNumIOEditClasses();

}  // namespace qel

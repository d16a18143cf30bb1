#pragma once
// TColSel: a drop-down list of up to 47 colours, each item a colour bar and the colour's name,
// filled from the predefined colour table or by the host. Entries marked editable open the
// colour dialog when the list is dropped with a click on their colour bar.
//
// Where the code lives: colsel_list.cpp (entries, palettes, selection, mouse and the dialog),
// colsel_paint.cpp (DrawItem), colsel_register.cpp (published properties). docs/colours.md
// describes the item layout and the decisions taken.
#include <array>
#include <functional>
#include <string>

#include "platform/widgets/StdCtrls.h"

namespace qel {

// Offered every name the selector builds for an entry; the handler may change it.
using TOnColorNameChangeEvent = std::function<void(TObject* Sender, std::string& ColorName)>;

inline constexpr int kColSelMaxColors = 47;

class TColSel : public TCustomComboBox {
 public:
  explicit TColSel(TComponent* AOwner);
  ~TColSel() override;
  std::string ClassName() const override { return "TColSel"; }
  void Loaded() override;

  // Rebuilds the items from the first NumColors entries and selects the selected entry.
  void LoadColorsIntoComboList();
  // The palettes: 16 basic colours, those and 4 more, all 47, the 27 system colours.
  void LoadBasicVGAPalette();
  void LoadExtendedPalette();
  void LoadStandardPalette();
  void LoadWindowsSystemPalette();

  int GetNumColors() const { return FNumColors; }
  void SetNumColors(int Value);  // 1..47, else ignored
  int GetColorBarWidth() const { return FColorBarWidth; }
  void SetColorBarWidth(int Value);  // below 0 ignored

  // Entries are numbered 1..NumColors; outside that getters give 0, empty or false and setters
  // do nothing.
  TColor GetArrayColor(int Index) const;
  void SetArrayColor(int Index, TColor Value);
  std::string GetArrayColorName(int Index) const;
  void SetArrayColorName(int Index, const std::string& Name);
  bool GetArrayAllowEdit(int Index) const;
  void SetArrayAllowEdit(int Index, bool Value);
  void SetAllColorEditFlags();
  void ResetAllColorEditFlags();

  // The selected entry (1-based) and its colour and name; the name is empty while no item is
  // selected.
  int SelectedEntry() const;
  TColor GetSelColor() const;
  std::string GetSelColorID() const;
  // Selects the first entry of the same RGB value, or else puts Value into the selected entry.
  void SetSelColor(TColor Value);

  void SetEnabled(bool Value) override;
  // Whether the last pointer move over the box was on the colour bar.
  bool BarHit() const { return FBarHit; }

  TOnColorNameChangeEvent OnColorNameChange;

  void Click() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void DropDown() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void Paint() override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  bool InRange(int Index) const { return Index >= 1 && Index <= FNumColors; }
  // The name of a colour as the selector builds it, offered to OnColorNameChange.
  std::string OfferedName(TColor Color);
  // Loads entries 1..Count from predefined colours First.. and lists them.
  void LoadPalette(int First, int Count);
  // Item texts follow the names; the box and an open list repaint.
  void RefreshItems();

  std::array<TColor, kColSelMaxColors + 1> FColors{};  // index 0 unused
  std::array<std::string, kColSelMaxColors + 1> FNames;
  std::array<bool, kColSelMaxColors + 1> FAllowEdit{};
  int FNumColors = 20;
  int FSelEntry = 1;
  int FColorBarWidth = 30;
  bool FBarHit = false;
};

// Registers TColSel with the property registry. Idempotent.
void RegisterColSelClasses();

}  // namespace qel

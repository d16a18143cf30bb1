// TColSel's entries, palettes, selection, pointer tracking and the colour dialog of editable
// entries.
#include <memory>

#include "frame/QEL_qelcolors.h"
#include "platform/widgets/Dialogs.h"
#include "selectors/QEL_Colsel.h"

namespace qel {

TColSel::TColSel(TComponent* AOwner) : TCustomComboBox(AOwner) {
  SetStyle(csOwnerDrawFixed);
  for (int i = 1; i <= kColSelMaxColors; ++i) {
    FColors[i] = PredefinedColors[i - 1].Color;
    FNames[i] = ColorToString(FColors[i]);
  }
  // Listed at once, so that a selector made in code works without a form loader.
  LoadColorsIntoComboList();
}

TColSel::~TColSel() = default;

void TColSel::Loaded() {
  TCustomComboBox::Loaded();
  LoadColorsIntoComboList();
}

// ---------------------------------------------------------------- the list

void TColSel::LoadColorsIntoComboList() {
  TStrings* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  // Item i shows entry i + 1, and its text is that entry's name, so that typing a letter finds
  // the entry whose name it starts.
  for (int i = 1; i <= FNumColors; ++i) items->Add(FNames[i]);
  items->EndUpdate();
  SetItemIndex(FSelEntry - 1);
}

void TColSel::RefreshItems() {
  TStrings* items = GetItems();
  if (items->GetCount() == FNumColors) {
    for (int i = 1; i <= FNumColors; ++i)
      if (items->Get(i - 1) != FNames[i]) items->Put(i - 1, FNames[i]);
    // The box's text follows the selected item's.
    if (GetItemIndex() >= 0) SetItemIndex(GetItemIndex());
  } else {
    LoadColorsIntoComboList();
  }
  Invalidate();
  if (GetDroppedDown() && ListControl()) ListControl()->Invalidate();
}

std::string TColSel::OfferedName(TColor Color) {
  std::string name = ColorToString(Color);
  if (OnColorNameChange) OnColorNameChange(this, name);
  return name;
}

void TColSel::LoadPalette(int First, int Count) {
  FSelEntry = 1;
  FNumColors = Count;
  for (int i = 1; i <= Count; ++i) {
    FColors[i] = PredefinedColors[First + i - 1].Color;
    FNames[i] = OfferedName(FColors[i]);
  }
  LoadColorsIntoComboList();
}

void TColSel::LoadBasicVGAPalette() { LoadPalette(0, 16); }
void TColSel::LoadExtendedPalette() { LoadPalette(0, 20); }
void TColSel::LoadStandardPalette() { LoadPalette(0, 47); }
void TColSel::LoadWindowsSystemPalette() { LoadPalette(20, 27); }

void TColSel::SetNumColors(int Value) {
  if (Value < 1 || Value > kColSelMaxColors) return;
  FNumColors = Value;
  FSelEntry = 1;
  LoadColorsIntoComboList();
}

void TColSel::SetColorBarWidth(int Value) {
  if (Value == FColorBarWidth || Value < 0) return;
  FColorBarWidth = Value;
  RefreshItems();
}

// ---------------------------------------------------------------- entries

TColor TColSel::GetArrayColor(int Index) const { return InRange(Index) ? FColors[Index] : 0; }

void TColSel::SetArrayColor(int Index, TColor Value) {
  if (!InRange(Index)) return;
  FColors[Index] = Value;
  FNames[Index] = OfferedName(Value);
  RefreshItems();
}

std::string TColSel::GetArrayColorName(int Index) const {
  return InRange(Index) ? FNames[Index] : std::string();
}

void TColSel::SetArrayColorName(int Index, const std::string& Name) {
  if (!InRange(Index)) return;
  FNames[Index] = Name;
  RefreshItems();
}

bool TColSel::GetArrayAllowEdit(int Index) const { return InRange(Index) && FAllowEdit[Index]; }

void TColSel::SetArrayAllowEdit(int Index, bool Value) {
  if (!InRange(Index)) return;
  FAllowEdit[Index] = Value;
  RefreshItems();
}

void TColSel::SetAllColorEditFlags() {
  FAllowEdit.fill(true);
  RefreshItems();
}

void TColSel::ResetAllColorEditFlags() {
  FAllowEdit.fill(false);
  RefreshItems();
}

// ---------------------------------------------------------------- selection

// The list's selection is the truth once there is one: a host may set ItemIndex directly.
int TColSel::SelectedEntry() const {
  const int i = GetItemIndex();
  return i >= 0 && i < FNumColors ? i + 1 : FSelEntry;
}

TColor TColSel::GetSelColor() const { return FColors[SelectedEntry()]; }

std::string TColSel::GetSelColorID() const {
  return GetItemIndex() < 0 ? std::string() : FNames[SelectedEntry()];
}

void TColSel::SetSelColor(TColor Value) {
  const TColor want = ColorToRGB(Value);
  for (int i = 1; i <= FNumColors; ++i) {
    if (ColorToRGB(FColors[i]) == want) {
      FSelEntry = i;
      SetItemIndex(i - 1);
      RefreshItems();
      return;
    }
  }
  FSelEntry = SelectedEntry();
  FColors[FSelEntry] = Value;
  FNames[FSelEntry] = OfferedName(want);
  RefreshItems();
}

void TColSel::SetEnabled(bool Value) {
  TCustomComboBox::SetEnabled(Value);
  RefreshItems();
}

void TColSel::Click() {
  if (GetItemIndex() >= 0) FSelEntry = GetItemIndex() + 1;
  TCustomComboBox::Click();
}

// ---------------------------------------------------------------- pointer and dialog

void TColSel::MouseMove(TShiftState Shift, int X, int Y) {
  FBarHit = X < FColorBarWidth;
  TCustomComboBox::MouseMove(Shift, X, Y);
}

// A bar hit belongs to the pointer: leaving the box or opening the list from the keyboard
// must not open the dialog.
void TColSel::CMMouseLeave(TMessage& Message) {
  FBarHit = false;
  TCustomComboBox::CMMouseLeave(Message);
}

void TColSel::KeyDown(uint16_t& Key, TShiftState Shift) {
  FBarHit = false;
  TCustomComboBox::KeyDown(Key, Shift);
}

void TColSel::DropDown() {
  const int entry = GetItemIndex() + 1;
  if (FBarHit && InRange(entry) && FAllowEdit[entry]) {
    FBarHit = false;
    auto dialog = std::make_unique<TColorDialog>(this);
    dialog->SetColor(FColors[entry]);
    if (dialog->Execute()) {
      FSelEntry = entry;
      FColors[entry] = dialog->GetColor();
      std::string name = ColorToString(ColorToRGB(FColors[entry]));
      Change();
      if (OnColorNameChange) OnColorNameChange(this, name);
      FNames[entry] = name;
    }
    dialog.reset();
    RefreshItems();
  }
  TCustomComboBox::DropDown();
}

}  // namespace qel

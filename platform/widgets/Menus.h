#pragma once
// Popup menus: the item tree (TMenuItem) and the menu that pops it up (TPopupMenu).
//
// An open menu is one control per level (the root and every open submenu), placed on the form
// above every other control. The root level holds the mouse capture, so a press outside closes
// the menu, and the keyboard focus, so the menu keys reach it; the focus goes back to the
// control that had it when the menu closes. Menus.cpp; docs/widgets.md records the choices.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/graphics/Graphics.h"

namespace qel {

class TPopupMenu;
QEL_DECLARE_EXCEPTION(EMenuError, Exception)
class TMenuLevelWindow;

// ---------------------------------------------------------------- shortcuts

// A key with its modifiers in one number: the virtual key in the low byte, plus scShift, scCtrl
// and scAlt. 0 is "no shortcut".
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

// Key with the Shift, Ctrl and Alt of Shift; 0 for a key above 255.
TShortCut ShortCut(uint16_t Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Del", "F5", "Ctrl+Shift+Z", "Alt+Enter": modifiers in the order Ctrl, Alt,
// Shift, then the key's English name from our own table; "" for 0 or a key without a name.
std::string ShortCutToText(TShortCut ShortCut);
// The inverse, ignoring case and blanks around "+"; 0 for text it cannot read.
TShortCut TextToShortCut(const std::string& Text);

// One entry of a menu; its own items form its submenu. Caption "-" makes a separator; "&x"
// marks x as the accelerator. An item destroys the items under it; destroying an item takes it
// out of its parent.
class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  std::string ClassName() const override { return "TMenuItem"; }

  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  bool GetChecked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group under the same parent.
  void SetChecked(bool Value);
  bool GetRadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  uint8_t GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(uint8_t Value) { FGroupIndex = Value; }
  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  // The picture drawn at the item's left (created on first use; an empty bitmap draws nothing).
  TBitmap* GetBitmap();
  const TBitmap* GetBitmap() const { return FBitmap.get(); }
  void SetBitmap(const TBitmap* Value);
  bool HasBitmap() const { return FBitmap && !FBitmap->Empty(); }
  // The key that chooses the item without opening the menu; shown at the item's right.
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }

  // The submenu.
  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const;  // raises EListError out of range
  TMenuItem* GetParent() const { return FParent; }
  int GetMenuIndex() const;
  int IndexOf(const TMenuItem* Item) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);  // raises EListError out of range
  // Takes the item out of the submenu and destroys it.
  void Delete(int Index);
  // Takes the item out of the submenu; the caller (or its owner) keeps it.
  void Remove(TMenuItem* Item);
  void Clear();
  // The item of this submenu whose caption, without "&", equals ACaption (ignoring case).
  TMenuItem* Find(const std::string& ACaption) const;
  bool IsLine() const { return FCaption == "-"; }
  // Can be highlighted and chosen: visible, enabled and not a separator.
  bool Selectable() const { return FVisible && FEnabled && !IsLine(); }

  // Fires OnClick (when enabled).
  virtual void Click();
  TNotifyEvent OnClick;

  // In a form file an item is written inside its menu or its parent item.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  // Raises EComponentError when Value is neither a popup menu nor a menu item.
  void SetParentComponent(TComponent* Value) override;
  int ParentComponentIndex() const override { return GetMenuIndex(); }

 private:
  std::string FCaption;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  bool FRadioItem = false;
  uint8_t FGroupIndex = 0;
  TShortCut FShortCut = 0;
  std::string FHint;
  std::unique_ptr<TBitmap> FBitmap;
  TMenuItem* FParent = nullptr;
  std::vector<TMenuItem*> FItems;
  friend class TPopupMenu;
  TPopupMenu* FMenu = nullptr;  // set on a menu's root item only
};

// The caption as shown: "&&" becomes "&", a single "&" disappears.
std::string StripHotkey(const std::string& Caption);

// A menu popped up at a point, by the program or by a right click on a control whose PopupMenu
// it is. Under a real backend Popup returns when the menu has closed; under the headless one
// it returns at once with the menu open, for the test to drive.
class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  std::string ClassName() const override { return "TPopupMenu"; }

  TMenuItem* GetItems() const { return FItems.get(); }
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The control the menu was last popped up for by a right click.
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);

  // Shows the menu with its top-left at (X, Y), screen coordinates, on the form under that
  // point (the modal form while one runs). Fires OnPopup first.
  virtual void Popup(int X, int Y);
  // Closes the menu (and its submenus) without a choice.
  void CloseMenu();
  // Clicks the enabled, visible item (in enabled, visible submenus; not one that opens a
  // submenu) whose ShortCut is Key with Shift, and returns true; false when none takes it.
  // OnPopup runs first, but only when some item carries that shortcut at all, so handlers that
  // set Enabled there decide for shortcuts too without running on every key.
  bool IsShortCut(uint16_t Key, TShiftState Shift);

  // ---- the open menu, for drawing, hit testing and tests
  bool IsOpen() const { return !FLevels.empty(); }
  int LevelCount() const { return static_cast<int>(FLevels.size()); }
  // The control showing level L (0 = the root), the item whose submenu it shows, its
  // highlighted item (-1 none) and an item's rectangle in that control's client coordinates.
  TCustomControl* LevelControl(int L) const;
  TMenuItem* LevelItem(int L) const;
  int LevelHighlight(int L) const;
  TRect ItemRect(int L, int Index) const;
  // The item rectangle in form coordinates (for tests and pointer placement).
  TRect ItemFormRect(int L, int Index) const;
  TForm* MenuForm() const { return FForm; }

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;  // after the menu closed, before the chosen item's OnClick

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenuLevelWindow;
  // Layout of one level's item: its top and height in the level's client coordinates.
  struct TLevel {
    TMenuLevelWindow* Window = nullptr;
    TMenuItem* Item = nullptr;
    int Highlight = -1;
    std::vector<int> Tops;  // per item of Item (invisible ones: -1)
    std::vector<int> Heights;
  };
  // Opens a level for Item's submenu with its top-left near P (form coordinates).
  void OpenLevel(TMenuItem* Item, TPoint P, int ParentRight, int ParentLeft);
  void CloseLevelsFrom(int L);
  void Layout(TLevel& Level, TSize& Size) const;
  // The level and item at a form point; false outside every level.
  bool HitTest(TPoint P, int& L, int& Index) const;
  void Highlight(int L, int Index);
  void OpenSubmenu(int L);
  void Choose(TMenuItem* Item);
  void MenuKey(uint16_t Key);
  void MenuChar(char32_t Ch);
  void MouseDownAt(TPoint P);
  void MouseMoveAt(TPoint P);
  void MouseUpAt(TPoint P);
  void Paint(int L, TCanvas* C) const;
  int NextSelectable(const TLevel& Level, int From, int Step) const;

  std::unique_ptr<TMenuItem> FItems;
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  std::vector<TLevel> FLevels;
  TForm* FForm = nullptr;
  TWinControl* FPrevFocus = nullptr;  // gets the focus back when the menu closes
  bool FTracking = false;             // the pointer worked in the menu: a release may choose
  bool FClosing = false;              // levels are being torn down
  bool FFocusLeaving = false;         // the focus left for elsewhere: it is not given back
};

// Sets Application->OnPopupMenu so that a right click on a control with a PopupMenu pops it up
// at the pointer, and Application->OnMenuShortCut so that forms offer keys to the menus (done
// by every TPopupMenu's creation; callable any time).
void InstallPopupMenuHook();
// Whether C is a level of an open popup menu (it holds the focus while the menu is open).
bool IsPopupMenuWindow(const TControl* C);

}  // namespace qel

// Popup menus: the item tree, the level controls of an open menu, keys and mouse.
#include "platform/widgets/Menus.h"

#include <algorithm>
#include <cctype>

#include "platform/controls/Backend.h"
#include "platform/controls/Messages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

namespace wp = widgetpaint;

namespace {
constexpr int kFrame = 3;  // raised frame and padding around the items
constexpr int kSeparatorHeight = 8;
constexpr int kGutter = 20;      // left part for check marks and bitmaps
constexpr int kArrowWidth = 16;  // right part for the submenu arrow

constexpr int kShortCutGap = 16;  // between the caption and the shortcut column

std::string Lower(std::string S) {
  for (char& c : S) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return S;
}

// The names of keys that are not a letter, a digit or a function key.
struct TKeyName {
  uint16_t Key;
  const char* Name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "Backspace"}, {VK_TAB, "Tab"},        {VK_RETURN, "Enter"}, {VK_PAUSE, "Pause"},
    {VK_ESCAPE, "Esc"},     {VK_SPACE, "Space"},    {VK_PRIOR, "PgUp"},   {VK_NEXT, "PgDn"},
    {VK_END, "End"},        {VK_HOME, "Home"},      {VK_LEFT, "Left"},    {VK_UP, "Up"},
    {VK_RIGHT, "Right"},    {VK_DOWN, "Down"},      {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
    {VK_APPS, "Menu"},      {VK_MULTIPLY, "Num *"}, {VK_ADD, "Num +"},    {VK_SUBTRACT, "Num -"},
    {VK_DECIMAL, "Num ."},  {VK_DIVIDE, "Num /"},   {VK_OEM_1, ";"},      {VK_OEM_PLUS, "="},
    {VK_OEM_COMMA, ","},    {VK_OEM_MINUS, "-"},    {VK_OEM_PERIOD, "."}, {VK_OEM_2, "/"},
    {VK_OEM_3, "`"},        {VK_OEM_4, "["},        {VK_OEM_5, "\\"},     {VK_OEM_6, "]"},
    {VK_OEM_7, "'"},
};
constexpr uint16_t kLastFunctionKey = VK_F1 + 23;  // F24

std::string KeyName(uint16_t Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
    return std::string(1, static_cast<char>(Key));
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return "Num " + std::to_string(Key - VK_NUMPAD0);
  if (Key >= VK_F1 && Key <= kLastFunctionKey) return "F" + std::to_string(Key - VK_F1 + 1);
  for (const TKeyName& k : kKeyNames)
    if (k.Key == Key) return k.Name;
  return {};
}

// The key a name stands for (already lower-cased), 0 when none.
uint16_t KeyOfName(const std::string& Name) {
  if (Name.size() == 1 && std::isalnum(static_cast<unsigned char>(Name[0])))
    return static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(Name[0])));
  for (uint16_t k = VK_NUMPAD0; k <= VK_NUMPAD9; ++k)
    if (Lower(KeyName(k)) == Name) return k;
  for (uint16_t k = VK_F1; k <= kLastFunctionKey; ++k)
    if (Lower(KeyName(k)) == Name) return k;
  for (const TKeyName& k : kKeyNames)
    if (Lower(k.Name) == Name) return k.Key;
  return 0;
}

bool CarriesShortCut(const TMenuItem* Item, TShortCut SC) {
  for (int i = 0; i < Item->Count(); ++i) {
    const TMenuItem* it = Item->Items(i);
    if (it->GetShortCut() == SC || CarriesShortCut(it, SC)) return true;
  }
  return false;
}

// The item that takes SC: enabled and visible, under enabled and visible parents only.
TMenuItem* FindShortCut(const TMenuItem* Item, TShortCut SC) {
  for (int i = 0; i < Item->Count(); ++i) {
    TMenuItem* it = Item->Items(i);
    if (!it->GetVisible() || !it->GetEnabled() || it->IsLine()) continue;
    if (it->Count() > 0) {
      if (TMenuItem* found = FindShortCut(it, SC)) return found;
    } else if (it->GetShortCut() == SC) {
      return it;
    }
  }
  return nullptr;
}
}  // namespace

// ---------------------------------------------------------------- shortcuts

TShortCut ShortCut(uint16_t Key, TShiftState Shift) {
  if (Key == 0 || Key > 0xFF) return 0;
  TShortCut r = Key;
  if (Shift.Contains(ssShift)) r |= scShift;
  if (Shift.Contains(ssCtrl)) r |= scCtrl;
  if (Shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift) {
  Key = ShortCut & 0xFF;
  Shift = {};
  if (ShortCut & scShift) Shift << ssShift;
  if (ShortCut & scCtrl) Shift << ssCtrl;
  if (ShortCut & scAlt) Shift << ssAlt;
}

std::string ShortCutToText(TShortCut ShortCut) {
  std::string key = KeyName(ShortCut & 0xFF);
  if (key.empty()) return {};
  std::string r;
  if (ShortCut & scCtrl) r += "Ctrl+";
  if (ShortCut & scAlt) r += "Alt+";
  if (ShortCut & scShift) r += "Shift+";
  return r + key;
}

TShortCut TextToShortCut(const std::string& Text) {
  std::string rest = Lower(Trim(Text));
  TShortCut mods = 0;
  // Modifiers in any order, each once, each followed by "+"; what is left names the key.
  for (;;) {
    TShortCut m = 0;
    size_t len = 0;
    for (auto [name, bit] : {std::pair<const char*, TShortCut>{"ctrl", scCtrl},
                             {"control", scCtrl},
                             {"shift", scShift},
                             {"alt", scAlt}}) {
      size_t n = std::char_traits<char>::length(name);
      if (rest.compare(0, n, name) == 0 && Trim(rest.substr(n)).starts_with('+')) {
        m = bit;
        len = n;
        break;
      }
    }
    if (m == 0) break;
    if (mods & m) return 0;
    mods |= m;
    rest = Trim(rest.substr(len));
    rest = Trim(rest.substr(1));
  }
  uint16_t key = KeyOfName(rest);
  return key == 0 ? 0 : static_cast<TShortCut>(key | mods);
}

std::string StripHotkey(const std::string& Caption) {
  std::string r;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&') {
      if (i + 1 < Caption.size() && Caption[i + 1] == '&') r += '&', ++i;
      continue;
    }
    r += Caption[i];
  }
  return r;
}

// ---------------------------------------------------------------- TMenuItem

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  if (FParent) FParent->Remove(this);
  // Children go with their parent; each one leaves its owner as it is destroyed.
  while (!FItems.empty()) {
    TMenuItem* c = FItems.back();
    FItems.pop_back();
    c->FParent = nullptr;
    delete c;
  }
}

void TMenuItem::SetChecked(bool Value) {
  FChecked = Value;
  if (!Value || !FRadioItem || !FParent) return;
  for (TMenuItem* s : FParent->FItems)
    if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex) s->FChecked = false;
}

void TMenuItem::SetRadioItem(bool Value) {
  FRadioItem = Value;
  if (Value && FChecked) SetChecked(true);
}

TBitmap* TMenuItem::GetBitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TMenuItem::SetBitmap(const TBitmap* Value) {
  if (!Value) {
    FBitmap.reset();
    return;
  }
  GetBitmap()->Assign(Value);
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TMenuItem::GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* menu = dynamic_cast<TPopupMenu*>(Value)) {
    menu->GetItems()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(Value)) {
    item->Add(this);
  } else if (Value) {
    throw EComponentError("A menu item cannot be placed in " + Value->ClassName());
  } else if (FParent) {
    FParent->Remove(this);
  }
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Index < 0 || Index > Count())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  // An item inside its own submenu would make the tree a loop.
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError("Menu inserted twice");
  if (Item->FParent) Item->FParent->Remove(Item);
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FRadioItem && Item->FChecked) Item->SetChecked(true);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  Remove(item);
  delete item;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  while (!FItems.empty()) Delete(Count() - 1);
}

TMenuItem* TMenuItem::Find(const std::string& ACaption) const {
  std::string want = Lower(StripHotkey(ACaption));
  for (TMenuItem* i : FItems)
    if (Lower(StripHotkey(i->FCaption)) == want) return i;
  return nullptr;
}

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

// ---------------------------------------------------------------- level windows

// One level of an open menu. It paints its items; the root level also takes the capture and
// the focus and hands every mouse and key message to the menu, which hit-tests all levels.
class TMenuLevelWindow : public TCustomControl {
 public:
  TMenuLevelWindow(TPopupMenu* Menu, int Level) : TCustomControl(Menu), FLevel(Level), FMenu(Menu) {
    FControlStyle = {csOpaque};
    SetColor(clMenu);
  }
  std::string ClassName() const override { return "TMenuLevelWindow"; }
  int FLevel;

  void MouseDown(TMouseButton, TShiftState, int X, int Y) override {
    FMenu->MouseDownAt(ToForm(X, Y));
  }
  void MouseMove(TShiftState, int X, int Y) override { FMenu->MouseMoveAt(ToForm(X, Y)); }
  void MouseUp(TMouseButton, TShiftState, int X, int Y) override { FMenu->MouseUpAt(ToForm(X, Y)); }
  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    // Alt+x types no character, yet in an open menu it means the item marked x, as x alone.
    if (Shift.Contains(ssAlt) && !Shift.Contains(ssCtrl) &&
        ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')))
      FMenu->MenuChar(Key >= 'A' && Key <= 'Z' ? Key - 'A' + 'a' : Key);
    else
      FMenu->MenuKey(Key);
    Key = 0;
  }
  void KeyPress(char32_t& Key) override {
    TCustomControl::KeyPress(Key);
    if (Key == 0) return;
    FMenu->MenuChar(Key);
    Key = 0;
  }

 protected:
  void Paint() override { FMenu->Paint(FLevel, TCustomControl::Canvas()); }
  void WMGetDlgCode(TMessage& Message) override {
    Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
  }
  void CMWantSpecialKey(TMessage& Message) override { Message.Result = 1; }
  // A right-button release may choose an item, which closes the menu and deletes this window:
  // nothing may follow it, and a menu has no context menu of its own to ask for anyway.
  void WMRButtonUp(TMessage& Message) override {
    TPoint p = LParamToPoint(Message.LParam);
    MouseUp(mbRight, KeysToShiftState(Message.WParam), p.X, p.Y);
  }
  void WMKillFocus(TMessage& Message) override {
    TCustomControl::WMKillFocus(Message);
    // The focus went elsewhere (a click into another window, a program's SetFocus).
    if (FLevel == 0 && !FMenu->FClosing && FMenu->IsOpen()) {
      // Closing destroys this window: only the menu may be touched afterwards.
      TPopupMenu* menu = FMenu;
      menu->FFocusLeaving = true;
      menu->CloseMenu();
      menu->FFocusLeaving = false;
    }
  }
  void WMCancelMode(TMessage& Message) override {
    TCustomControl::WMCancelMode(Message);
    if (FMenu->IsOpen()) FMenu->CloseMenu();
  }

 private:
  TPoint ToForm(int X, int Y) const { return {X + GetLeft(), Y + GetTop()}; }
  TPopupMenu* FMenu;
};

// ---------------------------------------------------------------- TPopupMenu

void InstallPopupMenuHook() {
  if (!Application) return;
  Application->OnPopupMenu = [](TPopupMenu* Menu, TControl* Control, TPoint ScreenPos) {
    if (!Menu || !Menu->GetAutoPopup()) return;
    Menu->SetPopupComponent(Control);
    Menu->Popup(ScreenPos.X, ScreenPos.Y);
  };
  Application->OnMenuShortCut = [](TPopupMenu* Menu, uint16_t Key, TShiftState Shift) {
    return Menu && Menu->IsShortCut(Key, Shift);
  };
}

bool IsPopupMenuWindow(const TControl* C) {
  return dynamic_cast<const TMenuLevelWindow*>(C) != nullptr;
}

TPopupMenu::TPopupMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
  if (Application && (!Application->OnPopupMenu || !Application->OnMenuShortCut))
    InstallPopupMenuHook();
}

bool TPopupMenu::IsShortCut(uint16_t Key, TShiftState Shift) {
  TShortCut sc = ShortCut(Key, Shift * TShiftState{ssShift, ssCtrl, ssAlt});
  if (sc == 0 || !CarriesShortCut(FItems.get(), sc)) return false;
  if (OnPopup) OnPopup(this);
  TMenuItem* item = FindShortCut(FItems.get(), sc);
  if (!item) return false;
  item->Click();
  return true;
}

TPopupMenu::~TPopupMenu() {
  FClosing = true;
  for (TLevel& l : FLevels) {
    TMenuLevelWindow* w = l.Window;
    l.Window = nullptr;
    delete w;
  }
  FLevels.clear();
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  if (FPrevFocus) FPrevFocus->RemoveFreeNotification(this);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupComponent) FPopupComponent = nullptr;
  if (AComponent == FPrevFocus) FPrevFocus = nullptr;
  // A level control destroyed from outside (its form went away): the menu is gone with it.
  for (size_t i = 0; i < FLevels.size(); ++i) {
    if (FLevels[i].Window == AComponent) {
      FLevels[i].Window = nullptr;
      if (!FClosing) {
        FClosing = true;
        CloseLevelsFrom(0);
        FClosing = false;
      }
      break;
    }
  }
}

TCustomControl* TPopupMenu::LevelControl(int L) const {
  return L >= 0 && L < LevelCount() ? FLevels[static_cast<size_t>(L)].Window : nullptr;
}
TMenuItem* TPopupMenu::LevelItem(int L) const {
  return L >= 0 && L < LevelCount() ? FLevels[static_cast<size_t>(L)].Item : nullptr;
}
int TPopupMenu::LevelHighlight(int L) const {
  return L >= 0 && L < LevelCount() ? FLevels[static_cast<size_t>(L)].Highlight : -1;
}

TRect TPopupMenu::ItemRect(int L, int Index) const {
  if (L < 0 || L >= LevelCount()) return {};
  const TLevel& lv = FLevels[static_cast<size_t>(L)];
  if (Index < 0 || Index >= static_cast<int>(lv.Tops.size()) || lv.Tops[Index] < 0) return {};
  int w = lv.Window ? lv.Window->GetWidth() : 0;
  return Rect(kFrame, lv.Tops[Index], w - kFrame, lv.Tops[Index] + lv.Heights[Index]);
}

TRect TPopupMenu::ItemFormRect(int L, int Index) const {
  TRect r = ItemRect(L, Index);
  TCustomControl* w = LevelControl(L);
  if (r.IsEmpty() || !w) return {};
  return Rect(r.Left + w->GetLeft(), r.Top + w->GetTop(), r.Right + w->GetLeft(),
              r.Bottom + w->GetTop());
}

void TPopupMenu::Layout(TLevel& Level, TSize& Size) const {
  TCanvas* c = FForm->Canvas();
  c->Font()->Assign(FForm->GetFont());
  int th = c->TextHeight("Wg");
  int n = Level.Item->Count();
  Level.Tops.assign(static_cast<size_t>(n), -1);
  Level.Heights.assign(static_cast<size_t>(n), 0);
  int y = kFrame, textW = 0, shortCutW = 0, gutter = kGutter;
  for (int i = 0; i < n; ++i) {
    TMenuItem* it = Level.Item->Items(i);
    if (!it->GetVisible()) continue;
    int h = th + 6;
    if (it->IsLine()) {
      h = kSeparatorHeight;
    } else {
      textW = std::max(textW, c->TextWidth(StripHotkey(it->GetCaption())));
      if (it->GetShortCut() != 0)
        shortCutW = std::max(shortCutW, c->TextWidth(ShortCutToText(it->GetShortCut())));
      if (it->HasBitmap()) {
        h = std::max(h, it->GetBitmap()->GetHeight() + 4);
        gutter = std::max(gutter, it->GetBitmap()->GetWidth() + 6);
      }
    }
    Level.Tops[static_cast<size_t>(i)] = y;
    Level.Heights[static_cast<size_t>(i)] = h;
    y += h;
  }
  if (shortCutW > 0) textW += kShortCutGap + shortCutW;
  Size = {2 * kFrame + gutter + textW + 8 + kArrowWidth, y + kFrame};
}

void TPopupMenu::Popup(int X, int Y) {
  CloseMenu();
  // The form under the point; a running modal form takes all input, so the menu goes there.
  TForm* form = Application->ModalForm();
  if (!form) {
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TForm* f = Screen->Forms(i);
      if (!f->Showing()) continue;
      TPoint p = f->ScreenToClient({X, Y});
      if (f->GetClientRect().Contains(p) && (!form || f == Screen->GetActiveForm())) form = f;
    }
  }
  if (!form) form = Screen->GetActiveForm();
  if (!form || !form->Showing()) return;
  if (OnPopup) OnPopup(this);
  if (FItems->Count() == 0) return;
  FForm = form;
  TWinControl* prev = form->FocusedControl();
  if (FPrevFocus) FPrevFocus->RemoveFreeNotification(this);
  FPrevFocus = prev;
  if (prev) prev->FreeNotification(this);
  FTracking = false;
  OpenLevel(FItems.get(), form->ScreenToClient({X, Y}), -1, -1);
  if (!IsOpen()) return;
  if (FLevels[0].Window->CanFocus()) FLevels[0].Window->SetFocus();
  form->SetCaptureControl(FLevels[0].Window);
  // A real event loop runs until the menu closes, as the classic call returns after the
  // choice; the headless backend has no events to wait for.
  if (Application->Backend() && Application->Backend()->RealTime())
    while (IsOpen() && !Application->Terminated()) Application->HandleMessage();
}

void TPopupMenu::OpenLevel(TMenuItem* Item, TPoint P, int ParentRight, int ParentLeft) {
  TLevel lv;
  lv.Item = Item;
  TSize sz;
  Layout(lv, sz);
  int fw = FForm->ClientWidth(), fh = FForm->ClientHeight();
  int x = P.X, y = P.Y;
  // Keep it on the form: a submenu flips to the parent's left side, the root shifts left.
  if (x + sz.cx > fw) x = ParentLeft >= 0 ? ParentLeft - sz.cx + kFrame : fw - sz.cx;
  if (ParentRight >= 0 && x < 0) x = std::max(0, fw - sz.cx);
  if (y + sz.cy > fh) y = fh - sz.cy;
  x = std::max(0, x);
  y = std::max(0, y);
  auto* w = new TMenuLevelWindow(this, LevelCount());
  lv.Window = w;
  FLevels.push_back(lv);
  w->SetBounds(x, y, sz.cx, sz.cy);
  w->SetParent(FForm);
  w->BringToFront();
}

void TPopupMenu::CloseLevelsFrom(int L) {
  while (LevelCount() > std::max(L, 0)) {
    TMenuLevelWindow* w = FLevels.back().Window;
    FLevels.pop_back();
    if (w) {
      if (FForm && FForm->CaptureControl() == w) FForm->SetCaptureControl(nullptr);
      delete w;
    }
  }
}

void TPopupMenu::CloseMenu() {
  if (!IsOpen() || FClosing) return;
  FClosing = true;
  TForm* form = FForm;
  // The focus goes back where it was while the levels still exist, so the control sees it
  // come from the menu (an edit then keeps its selection rather than selecting everything).
  if (!FFocusLeaving && FPrevFocus && form && form->Showing() && FPrevFocus->CanFocus() &&
      FPrevFocus != form)
    FPrevFocus->SetFocus();
  CloseLevelsFrom(0);
  FClosing = false;
  if (FPrevFocus) FPrevFocus->RemoveFreeNotification(this);
  FPrevFocus = nullptr;
  if (OnClose) OnClose(this);
}

bool TPopupMenu::HitTest(TPoint P, int& L, int& Index) const {
  for (int l = LevelCount() - 1; l >= 0; --l) {
    const TLevel& lv = FLevels[static_cast<size_t>(l)];
    if (!lv.Window || !lv.Window->BoundsRect().Contains(P)) continue;
    L = l;
    Index = -1;
    for (int i = 0; i < static_cast<int>(lv.Tops.size()); ++i)
      if (ItemFormRect(l, i).Contains(P)) Index = i;
    return true;
  }
  return false;
}

void TPopupMenu::Highlight(int L, int Index) {
  TLevel& lv = FLevels[static_cast<size_t>(L)];
  if (lv.Highlight == Index) return;
  lv.Highlight = Index;
  if (lv.Window) lv.Window->Invalidate();
}

void TPopupMenu::OpenSubmenu(int L) {
  TLevel& lv = FLevels[static_cast<size_t>(L)];
  if (lv.Highlight < 0) return;
  TMenuItem* it = lv.Item->Items(lv.Highlight);
  if (!it->Selectable() || it->Count() == 0) return;
  if (LevelCount() > L + 1 && FLevels[static_cast<size_t>(L) + 1].Item == it) return;
  CloseLevelsFrom(L + 1);
  TRect r = ItemFormRect(L, lv.Highlight);
  TRect b = lv.Window->BoundsRect();
  OpenLevel(it, {b.Right - kFrame, r.Top - kFrame}, b.Right, b.Left);
}

int TPopupMenu::NextSelectable(const TLevel& Level, int From, int Step) const {
  int n = Level.Item->Count();
  if (n == 0) return -1;
  int i = From;
  for (int k = 0; k < n; ++k) {
    i = From < 0 && k == 0 ? (Step > 0 ? 0 : n - 1) : (i + Step + n) % n;
    if (Level.Item->Items(i)->Selectable()) return i;
  }
  return -1;
}

void TPopupMenu::Choose(TMenuItem* Item) {
  if (!Item || !Item->Selectable() || Item->Count() > 0) return;
  CloseMenu();
  Item->Click();
}

void TPopupMenu::MenuKey(uint16_t Key) {
  if (!IsOpen()) return;
  int L = LevelCount() - 1;
  TLevel& lv = FLevels[static_cast<size_t>(L)];
  switch (Key) {
    case VK_UP:
    case VK_DOWN:
      Highlight(L, NextSelectable(lv, lv.Highlight, Key == VK_DOWN ? 1 : -1));
      break;
    case VK_HOME:
      Highlight(L, NextSelectable(lv, -1, 1));
      break;
    case VK_END:
      Highlight(L, NextSelectable(lv, -1, -1));
      break;
    case VK_RIGHT:
      if (lv.Highlight >= 0 && lv.Item->Items(lv.Highlight)->Count() > 0) {
        OpenSubmenu(L);
        if (LevelCount() > L + 1) {
          TLevel& sub = FLevels.back();
          Highlight(LevelCount() - 1, NextSelectable(sub, -1, 1));
        }
      }
      break;
    case VK_LEFT:
      if (L > 0) CloseLevelsFrom(L);
      break;
    case VK_ESCAPE:
      if (L > 0)
        CloseLevelsFrom(L);
      else
        CloseMenu();
      break;
    case VK_RETURN:
      if (lv.Highlight < 0) break;
      if (lv.Item->Items(lv.Highlight)->Count() > 0)
        MenuKey(VK_RIGHT);
      else
        Choose(lv.Item->Items(lv.Highlight));
      break;
    default:
      break;
  }
}

void TPopupMenu::MenuChar(char32_t Ch) {
  if (!IsOpen() || Ch >= 0x80 || Ch < 0x20) return;
  int L = LevelCount() - 1;
  TMenuItem* parent = FLevels[static_cast<size_t>(L)].Item;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* it = parent->Items(i);
    if (!it->Selectable() || AccelCharOf(it->GetCaption()) != edittext::FoldAscii(Ch)) continue;
    Highlight(L, i);
    if (it->Count() > 0)
      MenuKey(VK_RIGHT);
    else
      Choose(it);
    return;
  }
}

void TPopupMenu::MouseDownAt(TPoint P) {
  int L, i;
  if (!HitTest(P, L, i)) {
    CloseMenu();  // a press outside ends the menu; the press itself is not passed on
    return;
  }
  FTracking = true;
  MouseMoveAt(P);
}

void TPopupMenu::MouseMoveAt(TPoint P) {
  int L, i;
  if (!HitTest(P, L, i)) return;
  FTracking = true;
  TLevel& lv = FLevels[static_cast<size_t>(L)];
  int target = i >= 0 && lv.Item->Items(i)->Selectable() ? i : -1;
  // Moving back onto the item whose submenu is open keeps it; any other item closes it.
  if (LevelCount() > L + 1 && (target < 0 || lv.Item->Items(target) != FLevels[L + 1].Item)) {
    if (target >= 0) CloseLevelsFrom(L + 1);
  }
  if (target >= 0) {
    Highlight(L, target);
    OpenSubmenu(L);
  }
}

void TPopupMenu::MouseUpAt(TPoint P) {
  int L, i;
  if (!FTracking || !HitTest(P, L, i) || i < 0) return;
  TMenuItem* it = FLevels[static_cast<size_t>(L)].Item->Items(i);
  if (it->Count() > 0) {
    Highlight(L, i);
    OpenSubmenu(L);
  } else {
    Choose(it);
  }
}

void TPopupMenu::Paint(int L, TCanvas* C) const {
  if (L < 0 || L >= LevelCount()) return;
  const TLevel& lv = FLevels[static_cast<size_t>(L)];
  TRect r = lv.Window->GetClientRect();
  C->Brush()->SetColor(clMenu);
  C->FillRect(r);
  TRect f = r;
  wp::Frame3D(C, f, clBtnFace, cl3DDkShadow, 1);
  wp::Frame3D(C, f, clBtnHighlight, clBtnShadow, 1);
  C->Font()->Assign(FForm->GetFont());
  for (int i = 0; i < lv.Item->Count(); ++i) {
    TRect ir = ItemRect(L, i);
    if (ir.IsEmpty()) continue;
    TMenuItem* it = lv.Item->Items(i);
    if (it->IsLine()) {
      int y = ir.Top + ir.Height() / 2 - 1;
      C->Pen()->SetColor(clBtnShadow);
      C->MoveTo(ir.Left + 1, y);
      C->LineTo(ir.Right - 1, y);
      C->Pen()->SetColor(clBtnHighlight);
      C->MoveTo(ir.Left + 1, y + 1);
      C->LineTo(ir.Right - 1, y + 1);
      continue;
    }
    bool hi = i == lv.Highlight;
    C->Brush()->SetColor(hi ? clHighlight : clMenu);
    C->FillRect(ir);
    int gutter = kGutter;
    for (int k = 0; k < lv.Item->Count(); ++k)
      if (lv.Item->Items(k)->HasBitmap())
        gutter = std::max(gutter, lv.Item->Items(k)->GetBitmap()->GetWidth() + 6);
    TColor fg = !it->GetEnabled() ? clGrayText : hi ? clHighlightText : clMenuText;
    if (it->HasBitmap()) {
      const TBitmap* b = it->GetBitmap();
      int by = ir.Top + (ir.Height() - b->GetHeight()) / 2;
      C->Draw(ir.Left + 3, by, b);
      if (it->GetChecked()) {
        TRect fr = Rect(ir.Left + 1, by - 1, ir.Left + 5 + b->GetWidth(), by + b->GetHeight() + 1);
        wp::Frame3D(C, fr, clBtnShadow, clBtnHighlight, 1);
      }
    } else if (it->GetChecked()) {
      int cx = ir.Left + gutter / 2, cy = ir.Top + ir.Height() / 2;
      C->Pen()->SetColor(fg);
      C->Brush()->SetColor(fg);
      if (it->GetRadioItem()) {
        C->Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
      } else {
        // A tick three pixels thick: down-right from the left, then up to the right.
        for (int d = 0; d < 3; ++d) {
          C->MoveTo(cx - 4, cy - 2 + d);
          C->LineTo(cx - 2, cy + d);
          C->LineTo(cx + 4, cy - 6 + d);
        }
      }
    }
    TRect tr = Rect(ir.Left + gutter + 2, ir.Top, ir.Right - kArrowWidth, ir.Bottom);
    // The shortcut sits right-aligned before the arrow column, so shortcuts form a column of
    // their own whatever the captions' widths (Layout made room for the widest of both).
    std::string shortCut = it->GetShortCut() != 0 ? ShortCutToText(it->GetShortCut()) : "";
    auto drawTexts = [&](TRect R) {
      TRect r2 = R;
      DrawText(C, it->GetCaption(), R, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
      if (!shortCut.empty())
        DrawText(C, shortCut, r2, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    };
    C->Brush()->SetStyle(bsClear);
    if (!it->GetEnabled() && !hi) {
      // The embossed look of a disabled entry: a light copy one pixel down-right.
      C->Font()->SetColor(clBtnHighlight);
      drawTexts(Rect(tr.Left + 1, tr.Top + 1, tr.Right + 1, tr.Bottom + 1));
    }
    C->Font()->SetColor(fg);
    drawTexts(tr);
    C->Brush()->SetStyle(bsSolid);
    if (it->Count() > 0)
      wp::Arrow(C, Rect(ir.Right - kArrowWidth, ir.Top, ir.Right, ir.Bottom), 3, fg);
  }
}

}  // namespace qel

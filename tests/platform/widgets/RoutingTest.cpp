// How a form routes keys: shortcuts to the popup menus from the focused control up to the form
// (OnShortCut first), and Alt accelerators to the controls whose captions mark them.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/widgets/Buttons.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

// Form (menu) > Panel (menu) > Edit (menu), and a second edit on the form without a menu.
class ShortCutRouting : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 200, 80);
    Edit = new TEdit(Form);
    Edit->SetParent(Panel);
    Edit->SetBounds(10, 10, 150, 21);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 120, 150, 21);
    for (auto [menu, name] :
         {std::pair{&EditMenu, "edit"}, {&PanelMenu, "panel"}, {&FormMenu, "form"}}) {
      *menu = new TPopupMenu(Form);
      Items[name] = AddItem((*menu)->GetItems(), std::string(name) + " save", "Ctrl+S");
    }
    Edit->SetPopupMenu(EditMenu);
    Panel->SetPopupMenu(PanelMenu);
    Form->SetPopupMenu(FormMenu);
    ShowForm();
    Edit->SetFocus();
  }
  TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption, const char* Keys) {
    auto* it = new TMenuItem(Form);
    it->SetCaption(Caption);
    it->SetShortCut(TextToShortCut(Keys));
    it->OnClick = [this, Caption](TObject*) { Clicked.push_back(Caption); };
    Parent->Add(it);
    return it;
  }
  TPanel* Panel = nullptr;
  TEdit* Edit = nullptr;
  TEdit* Other = nullptr;
  TPopupMenu* EditMenu = nullptr;
  TPopupMenu* PanelMenu = nullptr;
  TPopupMenu* FormMenu = nullptr;
  std::map<std::string, TMenuItem*> Items;
  std::vector<std::string> Clicked;
};

TEST_F(ShortCutRouting, FocusedControlsMenuComesBeforeItsParentsAndTheForms) {
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked, std::vector<std::string>{"edit save"});
  Edit->SetPopupMenu(nullptr);
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "panel save");
  Panel->SetPopupMenu(nullptr);
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "form save");
  // A control outside the panel reaches the form's menu directly.
  Edit->SetPopupMenu(EditMenu);
  Other->SetFocus();
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "form save");
  EXPECT_EQ(Clicked.size(), 4u);
  // Only the exact modifiers match.
  Input().PressKey('S', {ssCtrl, ssShift});
  Input().PressKey('S', {ssAlt, ssCtrl});
  EXPECT_EQ(Clicked.size(), 4u);
}

TEST_F(ShortCutRouting, DisabledOrHiddenItemsAndSubmenusPassTheKeyOn) {
  Items["edit"]->SetEnabled(false);
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "panel save");
  Items["panel"]->SetVisible(false);
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "form save");
  // Items in submenus take keys only while every level above them is enabled and visible.
  TMenuItem* sub = AddItem(EditMenu->GetItems(), "Tools", "");
  AddItem(sub, "refresh", "F5");
  Input().PressKey(VK_F5);
  EXPECT_EQ(Clicked.back(), "refresh");
  sub->SetEnabled(false);
  Input().PressKey(VK_F5);
  sub->SetEnabled(true);
  sub->SetVisible(false);
  Input().PressKey(VK_F5);
  EXPECT_EQ(Clicked.size(), 3u);
  // A separator never takes a key, and an item with a submenu is no command of its own.
  sub->SetVisible(true);
  sub->SetShortCut(TextToShortCut("F6"));
  Input().PressKey(VK_F6);
  EXPECT_EQ(Clicked.size(), 3u);
  // The program can ask a menu directly.
  EXPECT_TRUE(EditMenu->IsShortCut(VK_F5, {}));
  EXPECT_FALSE(EditMenu->IsShortCut(VK_F7, {}));
  EXPECT_EQ(Clicked.back(), "refresh");
}

TEST_F(ShortCutRouting, ATakenKeyTypesNothingAndAnUnclaimedKeyStaysTheEdits) {
  AddItem(FormMenu->GetItems(), "capital a", "Shift+A");
  Other->SetFocus();
  Other->SetText("x");
  Other->SetSelStart(1);
  Input().PressKey('A', {ssShift});
  EXPECT_EQ(Clicked.back(), "capital a");
  EXPECT_EQ(Other->GetText(), "x");
  EXPECT_TRUE(Form->InputKeyDown('A', {ssShift}));  // a backend then sends no character
  // Ctrl+C belongs to the edit while no menu item claims it ...
  Other->SelectAll();
  Input().PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "x");
  Input().TypeText("b");
  EXPECT_EQ(Other->GetText(), "b");
  // ... and to the item once one does.
  Clipboard()->Clear();
  AddItem(FormMenu->GetItems(), "menu copy", "Ctrl+C");
  Other->SelectAll();
  Input().PressKey('C', {ssCtrl});
  EXPECT_EQ(Clicked.back(), "menu copy");
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
}

TEST_F(ShortCutRouting, OnShortCutRunsFirstAndOnPopupOnlyForKeysTheMenuCarries) {
  std::vector<std::string> order;
  Form->OnShortCut = [&](TObject* Sender, uint16_t Key, TShiftState Shift, bool& Handled) {
    EXPECT_EQ(Sender, Form);
    order.push_back("form " + ShortCutToText(ShortCut(Key, Shift)));
    Handled = Key == 'S';
  };
  int popups = 0;
  EditMenu->OnPopup = [&](TObject*) {
    ++popups;
    Items["edit"]->SetEnabled(false);  // an update handler deciding the item cannot run now
  };
  Input().PressKey('S', {ssCtrl});
  EXPECT_TRUE(Clicked.empty());
  EXPECT_EQ(popups, 0);
  Input().PressKey('Q', {ssCtrl});
  EXPECT_EQ(popups, 0);  // no item carries Ctrl+Q: the menu's handler is not bothered
  Form->OnShortCut = nullptr;
  Input().PressKey('S', {ssCtrl});
  EXPECT_EQ(popups, 1);
  // The handler disabled the edit's item, so the key went on to the panel's menu.
  EXPECT_EQ(Clicked, std::vector<std::string>{"panel save"});
  // Offered once per key; the modifier keys alone are never offered.
  EXPECT_EQ(order, (std::vector<std::string>{"form Ctrl+S", "form Ctrl+Q"}));
}

TEST_F(ShortCutRouting, AnOpenMenuKeepsTheKeysToItself) {
  TPoint s = Form->ClientToScreen({60, 60});
  PanelMenu->Popup(s.X, s.Y);
  ASSERT_TRUE(PanelMenu->IsOpen());
  Input().PressKey('S', {ssCtrl});
  EXPECT_TRUE(Clicked.empty());
  EXPECT_TRUE(PanelMenu->IsOpen());
  // Alt+x in an open menu chooses the item x marks, as x alone does.
  AddItem(PanelMenu->GetItems(), "&Print", "");
  PanelMenu->CloseMenu();
  PanelMenu->Popup(s.X, s.Y);
  Input().PressKey('P', {ssAlt});
  EXPECT_EQ(Clicked, std::vector<std::string>{"&Print"});
  EXPECT_FALSE(PanelMenu->IsOpen());
  EXPECT_TRUE(Backend()->Beeps.empty());
}

TEST_F(ShortCutRouting, AnOpenComboListKeepsEscFromTheMenus) {
  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 160, 120, 21);
  combo->GetItems()->Add("one");
  AddItem(FormMenu->GetItems(), "escape", "Esc");
  combo->SetFocus();
  combo->SetDroppedDown(true);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_TRUE(Clicked.empty());
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Clicked, std::vector<std::string>{"escape"});
}

// ---------------------------------------------------------------- accelerators

class Accelerators : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    First = new TEdit(Form);
    First->SetParent(Form);
    First->SetBounds(80, 10, 120, 21);
    First->SetText("one");
    Panel = new TPanel(Form);
    Panel->SetParent(Form);
    Panel->SetBounds(0, 40, 300, 100);
    Label = new TLabel(Form);
    Label->SetParent(Panel);
    Label->SetBounds(10, 10, 60, 13);
    Label->SetCaption("&Name:");
    Second = new TEdit(Form);
    Second->SetParent(Panel);
    Second->SetBounds(80, 8, 120, 21);
    Label->SetFocusControl(Second);
    Run = new TSpeedButton(Form);
    Run->SetParent(Panel);
    Run->SetBounds(10, 50, 60, 24);
    Run->SetCaption("&Run 2");
    Run->OnClick = [this](TObject*) { ++Runs; };
    ShowForm();
    First->SetFocus();
    First->SetSelStart(3);
  }
  TEdit* First = nullptr;
  TPanel* Panel = nullptr;
  TLabel* Label = nullptr;
  TEdit* Second = nullptr;
  TSpeedButton* Run = nullptr;
  int Runs = 0;
};

TEST_F(Accelerators, AltLetterOfALabelFocusesItsControlAndTypesNothing) {
  EXPECT_TRUE(Form->InputKeyDown('N', {ssAlt}));  // a backend then sends no character
  EXPECT_TRUE(Second->Focused());
  EXPECT_EQ(First->GetText(), "one");
  First->SetFocus();
  Input().PressKey('N', {ssAlt, ssShift});
  EXPECT_TRUE(Second->Focused());
  EXPECT_TRUE(Backend()->Beeps.empty());
  // A plain n is typed into the edit, which wants characters.
  Input().PressKey('N');
  EXPECT_EQ(Second->GetText(), "n");
}

TEST_F(Accelerators, AltLetterClicksASpeedButtonAndToggleAGroupedOne) {
  Input().PressKey('R', {ssAlt});
  EXPECT_EQ(Runs, 1);
  EXPECT_EQ(First->GetText(), "one");
  EXPECT_TRUE(First->Focused());  // a speed button takes no focus
  Run->SetGroupIndex(1);
  Run->SetAllowAllUp(true);
  Input().PressKey('R', {ssAlt});
  EXPECT_TRUE(Run->GetDown());
  EXPECT_EQ(Runs, 2);
  Input().PressKey('R', {ssAlt});
  EXPECT_FALSE(Run->GetDown());
  // Disabled or hidden, the button does not answer; the beep says nobody did.
  Run->SetEnabled(false);
  Input().PressKey('R', {ssAlt});
  Run->SetEnabled(true);
  Run->SetVisible(false);
  Input().PressKey('R', {ssAlt});
  EXPECT_EQ(Runs, 3);
  EXPECT_EQ(Backend()->Beeps.size(), 2u);
}

TEST_F(Accelerators, PlainLetterReachesAcceleratorsOnlyWhereNoCharactersAreWanted) {
  Input().PressKey('R');
  EXPECT_EQ(Runs, 0);
  EXPECT_EQ(First->GetText(), "oner");
  // A form without a focusable control: the letter goes to the accelerators.
  delete First;
  delete Second;
  First = Second = nullptr;
  Input().PressKey('R');
  EXPECT_EQ(Runs, 1);
}

TEST_F(Accelerators, UnknownAcceleratorBeepsAndAltAloneDoesNothing) {
  EXPECT_TRUE(Form->InputKeyDown('Q', {ssAlt}));
  EXPECT_EQ(Backend()->Beeps.size(), 1u);
  Input().PressKey('7', {ssAlt});
  EXPECT_EQ(Backend()->Beeps.size(), 2u);
  EXPECT_EQ(First->GetText(), "one");
  EXPECT_TRUE(First->Focused());
  Input().PressKey(VK_MENU, {ssAlt});
  Input().KeyDown(VK_MENU, {ssAlt});
  Input().KeyUp(VK_MENU);
  EXPECT_EQ(Backend()->Beeps.size(), 2u);
  EXPECT_TRUE(First->Focused());
  EXPECT_EQ(First->GetText(), "one");
  // Ctrl+Alt (AltGr on many keyboards) is no accelerator.
  Form->InputKeyDown('N', {ssCtrl, ssAlt});
  EXPECT_TRUE(First->Focused());
  EXPECT_EQ(Backend()->Beeps.size(), 2u);
}

TEST_F(Accelerators, AMenuShortcutOnAltLetterComesBeforeTheAccelerator) {
  auto* menu = new TPopupMenu(Form);
  auto* item = new TMenuItem(Form);
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  item->SetShortCut(TextToShortCut("Alt+N"));
  menu->GetItems()->Add(item);
  Form->SetPopupMenu(menu);
  Input().PressKey('N', {ssAlt});
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(First->Focused());
  // A digit accelerator works like a letter.
  Run->SetCaption("Run &2");
  Input().PressKey('2', {ssAlt});
  EXPECT_EQ(Runs, 1);
}

}  // namespace
}  // namespace qel::test

// Popup menus: the item tree, navigation by keys and mouse with submenus, separators and
// disabled items, choosing, closing, right clicks on controls, modal forms.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Messages.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class MenusTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Menu = new TPopupMenu(Form);
    Menu->SetName("PopupDTAction");
    // Mark (submenu: Range, Column), -, Clear (disabled), Copy, Paste
    Mark = AddItem(Menu->GetItems(), "&Mark");
    for (const char* s : {"Range", "Column"}) AddItem(Mark, s);
    AddItem(Menu->GetItems(), "-");
    AddItem(Menu->GetItems(), "C&lear")->SetEnabled(false);
    AddItem(Menu->GetItems(), "&Copy");
    AddItem(Menu->GetItems(), "&Paste");
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 100, 21);
  }
  TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption) {
    auto* it = new TMenuItem(Form);
    it->SetCaption(Caption);
    it->OnClick = [this, Caption](TObject* Sender) {
      EXPECT_EQ(static_cast<TMenuItem*>(Sender)->GetCaption(), Caption);
      Chosen.push_back(StripHotkey(Caption));
    };
    Parent->Add(it);
    return it;
  }
  TPoint Centre(const TRect& R) const { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
  TPoint ItemPoint(int L, int I) const { return Centre(Menu->ItemFormRect(L, I)); }
  void Open(int X = 50, int Y = 40) {
    TPoint s = Form->ClientToScreen({X, Y});
    Menu->Popup(s.X, s.Y);
  }
  TPopupMenu* Menu = nullptr;
  TMenuItem* Mark = nullptr;
  TEdit* Edit = nullptr;
  std::vector<std::string> Chosen;
};

TEST_F(MenusTest, ItemTreeAddsInsertsFindsAndDeletes) {
  TMenuItem* root = Menu->GetItems();
  EXPECT_EQ(root->Count(), 5);
  EXPECT_EQ(root->Find("copy"), root->Items(3));
  EXPECT_EQ(root->Find("Clear"), root->Items(2));
  EXPECT_EQ(root->Find("nothing"), nullptr);
  EXPECT_TRUE(root->Items(1)->IsLine());
  EXPECT_EQ(Mark->Items(1)->GetParent(), Mark);
  auto* first = new TMenuItem(nullptr);
  first->SetCaption("First");
  root->Insert(0, first);
  EXPECT_EQ(root->Items(0), first);
  EXPECT_EQ(Mark->GetMenuIndex(), 1);
  EXPECT_THROW(root->Items(99), EListError);
  EXPECT_THROW(root->Insert(99, new TMenuItem(Form)), EListError);
  root->Delete(0);  // frees the item
  EXPECT_EQ(root->Items(0), Mark);
  // Destroying an item takes it out of its parent and takes its submenu with it.
  delete Mark;
  EXPECT_EQ(root->Count(), 4);
  EXPECT_TRUE(root->Items(0)->IsLine());
  EXPECT_EQ(StripHotkey("Save && &Quit"), "Save & Quit");
}

TEST_F(MenusTest, RadioItemsOfAGroupCheckOneAtATime) {
  TMenuItem* root = Menu->GetItems();
  std::vector<TMenuItem*> r;
  for (int i = 0; i < 3; ++i) {
    r.push_back(AddItem(root, "r" + std::to_string(i)));
    r.back()->SetRadioItem(true);
    r.back()->SetGroupIndex(i < 2 ? 1 : 2);
  }
  r[0]->SetChecked(true);
  r[2]->SetChecked(true);
  r[1]->SetChecked(true);
  EXPECT_FALSE(r[0]->GetChecked());
  EXPECT_TRUE(r[1]->GetChecked());
  EXPECT_TRUE(r[2]->GetChecked());  // another group
}

TEST_F(MenusTest, PopupShowsTheMenuAtThePointAndTakesTheKeys) {
  ShowForm();
  Edit->SetFocus();
  int popups = 0;
  Menu->OnPopup = [&](TObject* Sender) {
    EXPECT_EQ(Sender, Menu);
    ++popups;
  };
  Open(50, 40);
  ASSERT_TRUE(Menu->IsOpen());
  EXPECT_EQ(popups, 1);
  TControl* w = Menu->LevelControl(0);
  EXPECT_EQ(w->GetParent(), Form);
  EXPECT_EQ(w->GetLeft(), 50);
  EXPECT_EQ(w->GetTop(), 40);
  EXPECT_EQ(Form->Controls(Form->ControlCount() - 1), w);
  EXPECT_EQ(Form->CaptureControl(), w);
  EXPECT_EQ(Menu->LevelHighlight(0), -1);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_TRUE(Edit->Focused());  // the focus came back
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(MenusTest, ArrowsSkipSeparatorsAndDisabledItemsAndWrap) {
  ShowForm();
  Open();
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Menu->LevelHighlight(0), 0);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Menu->LevelHighlight(0), 3);  // over the separator and the disabled Clear
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Menu->LevelHighlight(0), 0);  // wrapped
  Input().PressKey(VK_UP);
  EXPECT_EQ(Menu->LevelHighlight(0), 4);
  Input().PressKey(VK_UP);
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Chosen, std::vector<std::string>{"Copy"});
}

TEST_F(MenusTest, SubmenuOpensWithRightAndClosesWithLeftAndEsc) {
  ShowForm();
  Open();
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  EXPECT_EQ(Menu->LevelItem(1), Mark);
  EXPECT_EQ(Menu->LevelHighlight(1), 0);
  // The submenu sits at the right of its item.
  EXPECT_GE(Menu->LevelControl(1)->GetLeft(), Menu->LevelControl(0)->GetLeft() + 10);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Menu->LevelCount(), 1);
  Input().PressKey(VK_RETURN);  // Enter on a submenu item opens it
  ASSERT_EQ(Menu->LevelCount(), 2);
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Menu->LevelCount(), 1);
  EXPECT_TRUE(Menu->IsOpen());
  Input().PressKey(VK_RIGHT);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Chosen, std::vector<std::string>{"Column"});
}

TEST_F(MenusTest, AcceleratorLetterChoosesTheItem) {
  ShowForm();
  Open();
  Input().TypeText("l");  // Clear is disabled: nothing happens
  EXPECT_TRUE(Menu->IsOpen());
  Input().TypeText("p");
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Chosen, std::vector<std::string>{"Paste"});
}

TEST_F(MenusTest, HoverOpensSubmenusAndAClickChoosesOnce) {
  ShowForm();
  Open();
  TPoint m = ItemPoint(0, 0);
  Input().MouseMove(m.X, m.Y);
  EXPECT_EQ(Menu->LevelHighlight(0), 0);
  ASSERT_EQ(Menu->LevelCount(), 2);
  TPoint col = ItemPoint(1, 1);
  Input().MouseMove(col.X, col.Y);
  EXPECT_EQ(Menu->LevelHighlight(1), 1);
  Input().Click(col.X, col.Y);
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(Chosen, std::vector<std::string>{"Column"});
  // Moving onto another top-level item closes the submenu.
  Open();
  Input().MouseMove(m.X, m.Y);
  ASSERT_EQ(Menu->LevelCount(), 2);
  TPoint copy = ItemPoint(0, 3);
  Input().MouseMove(copy.X, copy.Y);
  EXPECT_EQ(Menu->LevelCount(), 1);
  EXPECT_EQ(Menu->LevelHighlight(0), 3);
}

TEST_F(MenusTest, SeparatorsAndDisabledItemsAreNotChosenByClicks) {
  ShowForm();
  Open();
  TPoint sep = ItemPoint(0, 1), clear = ItemPoint(0, 2);
  Input().Click(sep.X, sep.Y);
  Input().Click(clear.X, clear.Y);
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_TRUE(Chosen.empty());
  EXPECT_EQ(Menu->LevelHighlight(0), -1);
}

TEST_F(MenusTest, ClickOutsideClosesWithoutChoosingAndIsNotPassedOn) {
  ShowForm();
  int editDowns = 0;
  Edit->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++editDowns; };
  int closes = 0;
  Menu->OnClose = [&](TObject*) { ++closes; };
  Open(150, 100);
  Input().Click(20, 15);  // on the edit
  EXPECT_FALSE(Menu->IsOpen());
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(editDowns, 0);
  EXPECT_TRUE(Chosen.empty());
}

TEST_F(MenusTest, ReleaseWithoutTrackingDoesNotChoose) {
  // A menu opened from a button press gets the release of that press; it must not choose.
  ShowForm();
  Open(50, 40);
  TPoint p = ItemPoint(0, 3);
  Input().MouseUp(p.X, p.Y);
  EXPECT_TRUE(Menu->IsOpen());
  EXPECT_TRUE(Chosen.empty());
}

TEST_F(MenusTest, MenuNearTheFormEdgeStaysOnTheForm) {
  ShowForm();
  Open(310, 230);
  TControl* w = Menu->LevelControl(0);
  EXPECT_LE(w->GetLeft() + w->GetWidth(), Form->ClientWidth());
  EXPECT_LE(w->GetTop() + w->GetHeight(), Form->ClientHeight());
  EXPECT_GE(w->GetLeft(), 0);
}

TEST_F(MenusTest, RightClickOnAControlPopsItsMenuAtThePointer) {
  Edit->SetPopupMenu(Menu);
  ShowForm();
  TPoint p = At(Edit, 20, 5);
  Input().Click(p.X, p.Y, mbRight);
  ASSERT_TRUE(Menu->IsOpen());
  EXPECT_EQ(Menu->GetPopupComponent(), Edit);
  EXPECT_EQ(Menu->LevelControl(0)->GetLeft(), p.X);
  EXPECT_EQ(Menu->LevelControl(0)->GetTop(), p.Y);
  TPoint copy = ItemPoint(0, 3);
  Input().Click(copy.X, copy.Y);
  EXPECT_EQ(Chosen, std::vector<std::string>{"Copy"});
  // Without AutoPopup the right click does nothing.
  Menu->SetAutoPopup(false);
  Input().Click(p.X, p.Y, mbRight);
  EXPECT_FALSE(Menu->IsOpen());
}

TEST_F(MenusTest, MenuWorksOnAModalForm) {
  ShowForm();
  auto* dlg = new TForm(Application);
  dlg->SetBounds(0, 0, 200, 150);
  auto* ok = new TEdit(dlg);
  ok->SetParent(dlg);
  Application->OnModalShow = [&](TForm* F) {
    THeadlessInput in(F);
    TPoint s = F->ClientToScreen({20, 20});
    Menu->Popup(s.X, s.Y);
    ASSERT_TRUE(Menu->IsOpen());
    EXPECT_EQ(Menu->MenuForm(), F);
    in.PressKey(VK_END);
    in.PressKey(VK_RETURN);
    F->SetModalResult(Chosen.empty() ? mrCancel : mrOk);
  };
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  EXPECT_EQ(Chosen, std::vector<std::string>{"Paste"});
}

TEST_F(MenusTest, CheckedItemsAndBitmapsArePainted) {
  TMenuItem* copy = Menu->GetItems()->Items(3);
  copy->SetChecked(true);
  TMenuItem* paste = Menu->GetItems()->Items(4);
  paste->GetBitmap()->SetSize(12, 12);
  paste->GetBitmap()->Canvas()->Brush()->SetColor(clBlue);
  paste->GetBitmap()->Canvas()->FillRect(Rect(0, 0, 12, 12));
  ShowForm();
  Open(20, 20);
  const TBitmap& s = Surface();
  TRect rc = Menu->ItemFormRect(0, 3), rp = Menu->ItemFormRect(0, 4);
  // The tick is drawn in the gutter in the text colour; the bitmap at the left of its item.
  bool tick = false;
  for (int x = rc.Left; x < rc.Left + 20; ++x)
    for (int y = rc.Top; y < rc.Bottom; ++y)
      if (PixelAt(s, x, y) == ColorToRGB(clMenuText)) tick = true;
  EXPECT_TRUE(tick);
  int by = rp.Top + (rp.Height() - 12) / 2;
  EXPECT_EQ(PixelAt(s, rp.Left + 3, by), ColorToRGB(clBlue));
  EXPECT_EQ(PixelAt(s, rp.Left + 14, by + 11), ColorToRGB(clBlue));
  // A highlighted item is filled with the highlight colour.
  Input().PressKey(VK_HOME);
  TRect r0 = Menu->ItemFormRect(0, 0);
  EXPECT_EQ(PixelAt(Surface(), r0.Right - 2, r0.Top + 1), ColorToRGB(clHighlight));
}

TEST_F(MenusTest, DestroyingTheFormOrTheMenuWhileOpenIsSafe) {
  ShowForm();
  Open();
  delete Menu;
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  Menu = new TPopupMenu(Form);
  AddItem(Menu->GetItems(), "x");
  Open();
  ASSERT_TRUE(Menu->IsOpen());
  delete Form;  // takes the level control with it, and the menu it owns
  Form = nullptr;
}

// Items nest inside their menu and parent items in a form file, in menu order; reading the text
// builds the same tree, and an item cannot be nested where no menu is.
TEST_F(MenusTest, ItemsNestInFormFilesInMenuOrder) {
  RegisterStdWidgetClasses();
  RegisterMenuAndComboClasses();
  Form->SetName("Root");
  Edit->SetName("Edit1");
  int n = 0;
  for (TMenuItem* it : {Mark, Mark->Items(0), Mark->Items(1)}) it->SetName("Item" + std::to_string(++n));
  for (int i = 1; i < Menu->GetItems()->Count(); ++i)
    Menu->GetItems()->Items(i)->SetName("Item" + std::to_string(++n));
  // Moved to the front after creation: the text must follow the menu, not the creation order.
  TMenuItem* last = Menu->GetItems()->Items(Menu->GetItems()->Count() - 1);
  Menu->GetItems()->Insert(0, last);
  last->SetShortCut(TextToShortCut("Ctrl+V"));
  Edit->SetPopupMenu(Menu);
  const std::string text = WriteComponentText(Form);
  EXPECT_NE(text.find("object PopupDTAction: TPopupMenu\n    object Item7: TMenuItem"), std::string::npos)
      << text;
  EXPECT_NE(text.find("      object Item2: TMenuItem"), std::string::npos) << text;

  // Not owned by the application, which already holds a form of that name.
  std::unique_ptr<TForm> owned(new TForm(nullptr));
  TForm* copy = owned.get();
  ReadComponentText(copy, text);
  auto* menu = static_cast<TPopupMenu*>(copy->FindComponent("PopupDTAction"));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->GetItems()->Count(), 5);
  EXPECT_EQ(menu->GetItems()->Items(0)->GetCaption(), "&Paste");
  EXPECT_EQ(menu->GetItems()->Items(0)->GetShortCut(), TextToShortCut("Ctrl+V"));
  EXPECT_EQ(menu->GetItems()->Items(1)->GetCaption(), "&Mark");
  ASSERT_EQ(menu->GetItems()->Items(1)->Count(), 2);
  EXPECT_EQ(menu->GetItems()->Items(1)->Items(1)->GetCaption(), "Column");
  EXPECT_EQ(menu->GetItems()->Items(1)->Items(1)->GetParentComponent(), menu->GetItems()->Items(1));
  EXPECT_EQ(menu->GetItems()->Items(0)->GetParentComponent(), menu);
  EXPECT_EQ(static_cast<TControl*>(copy->FindComponent("Edit1"))->GetPopupMenu(), menu);
  EXPECT_EQ(WriteComponentText(copy), text);

  std::unique_ptr<TForm> badForm(new TForm(nullptr));
  TForm* bad = badForm.get();
  EXPECT_THROW(ReadComponentText(bad,
                                 "object F: TForm\n  object P: TPanel\n"
                                 "    object I: TMenuItem\n    end\n  end\nend\n"),
               EFormFileError);
  EXPECT_EQ(bad->ComponentCount(), 0);
}

TEST_F(MenusTest, AnItemCannotGoIntoItsOwnSubmenu) {
  EXPECT_THROW(Mark->Items(0)->Add(Mark), EMenuError);
  EXPECT_THROW(Mark->Add(Mark), EMenuError);
  EXPECT_EQ(Mark->GetParent(), Menu->GetItems());
  EXPECT_EQ(Mark->Count(), 2);
}

}  // namespace
}  // namespace qel::test

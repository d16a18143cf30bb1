// The edit's standard context menu: opening by right click, Shift+F10 and the menu key, which
// commands are enabled in which situation, what each does, and the menus that win over it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

const std::vector<std::string> kCaptions = {"&Undo",  "-",       "Cu&t", "&Copy",
                                            "&Paste", "&Delete", "-",    "Select &All"};

class EditMenu : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 200, 21);
    Edit->SetText("hello world");
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 50, 200, 21);
    ShowForm();
    Other->SetFocus();
  }
  // The form point of the boundary before code point Index (vertically centred).
  TPoint CharPoint(int Index) {
    int keepStart = Edit->GetSelStart(), keepLen = Edit->GetSelLength();
    Edit->SetSelStart(Index);
    TRect c = Edit->CaretRect();
    Edit->SetSelStart(keepStart);
    Edit->SetSelLength(keepLen);
    return At(Edit, c.Left, (c.Top + c.Bottom) / 2);
  }
  void RightClick(TPoint P) { Input().Click(P.X, P.Y, mbRight); }
  TPopupMenu* Menu() const { return Edit->StandardMenu(); }
  std::string Enabled() const {
    std::string r;
    for (int i = 0; i < Menu()->GetItems()->Count(); ++i) {
      TMenuItem* it = Menu()->GetItems()->Items(i);
      if (!it->IsLine()) r += it->GetEnabled() ? "1" : "0";
    }
    return r;  // Undo, Cut, Copy, Paste, Delete, Select All
  }
  void Choose(const std::string& Caption) {
    ASSERT_TRUE(Menu() && Menu()->IsOpen());
    int i = Menu()->GetItems()->IndexOf(Menu()->GetItems()->Find(Caption));
    TRect r = Menu()->ItemFormRect(0, i);
    Input().Click((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TEdit* Edit = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(EditMenu, RightClickFocusesTheEditAndOpensTheStandardMenuAtThePointer) {
  EXPECT_EQ(Menu(), nullptr);
  TPoint p = CharPoint(3);
  RightClick(p);
  ASSERT_NE(Menu(), nullptr);
  EXPECT_TRUE(Menu()->IsOpen());
  EXPECT_EQ(Menu()->GetPopupComponent(), Edit);
  std::vector<std::string> captions;
  for (int i = 0; i < Menu()->GetItems()->Count(); ++i)
    captions.push_back(Menu()->GetItems()->Items(i)->GetCaption());
  EXPECT_EQ(captions, kCaptions);
  EXPECT_EQ(Menu()->LevelControl(0)->GetLeft(), p.X);
  EXPECT_EQ(Menu()->LevelControl(0)->GetTop(), p.Y);
  // The menu holds the focus while open; Esc gives it back to the edit, selection intact.
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Menu()->IsOpen());
  EXPECT_TRUE(Edit->Focused());
  // The focusing click found everything selected (AutoSelect) and landed inside it.
  EXPECT_EQ(Edit->GetSelLength(), 11);
}

TEST_F(EditMenu, RightClickKeepsASelectionItLandsInAndPlacesTheCaretElsewhere) {
  Edit->SetFocus();
  Edit->SetSelStart(0);
  Edit->SetSelLength(5);  // "hello"
  RightClick(CharPoint(2));
  EXPECT_EQ(Edit->GetSelStart(), 0);
  EXPECT_EQ(Edit->GetSelLength(), 5);
  Input().PressKey(VK_ESCAPE);
  RightClick(CharPoint(8));
  EXPECT_EQ(Edit->GetSelStart(), 8);
  EXPECT_EQ(Edit->GetSelLength(), 0);
  EXPECT_EQ(Enabled(), "000001");  // nothing selected, clipboard empty: only select all
}

TEST_F(EditMenu, CommandsAreEnabledOnlyWhereTheyApply) {
  Edit->SetFocus();
  auto openWith = [&](int Start, int Length) {
    if (Menu() && Menu()->IsOpen()) Menu()->CloseMenu();
    Edit->SetSelStart(Start);
    Edit->SetSelLength(Length);
    RightClick(CharPoint(Start));
    return Enabled();
  };
  EXPECT_EQ(openWith(0, 5), "011011");  // a selection: cut, copy, delete, select all
  Clipboard()->SetAsText("paste me");
  EXPECT_EQ(openWith(0, 5), "011111");
  EXPECT_EQ(openWith(3, 0), "000101");
  Edit->SetReadOnly(true);  // copying and selecting still work
  EXPECT_EQ(openWith(0, 5), "001001");
  Edit->SetReadOnly(false);
  Edit->SetPasswordChar('*');  // a masked field gives nothing away
  EXPECT_EQ(openWith(0, 5), "000111");
  Edit->SetPasswordChar(0);
  Menu()->CloseMenu();
  Input().TypeText("x");  // replaces the selection: undo becomes possible
  EXPECT_EQ(openWith(0, 0), "100101");
  Menu()->CloseMenu();
  Edit->SetText("");
  Clipboard()->Clear();
  EXPECT_EQ(openWith(0, 0), "000000");
}

TEST_F(EditMenu, EachCommandActsOnTheSelectionTheMenuWasOpenedFor) {
  Edit->SetFocus();
  Edit->SetSelStart(6);
  Edit->SetSelLength(5);  // "world"
  RightClick(CharPoint(7));
  Choose("Copy");
  EXPECT_EQ(Clipboard()->GetAsText(), "world");
  EXPECT_TRUE(Edit->Focused());
  // The focus coming back from the menu keeps the selection (no select-all on the way back).
  EXPECT_EQ(Edit->GetSelText(), "world");
  Clipboard()->SetAsText("there");
  RightClick(CharPoint(7));
  Choose("Paste");
  EXPECT_EQ(Edit->GetText(), "hello there");
  RightClick(CharPoint(2));
  Choose("Undo");
  EXPECT_EQ(Edit->GetText(), "hello world");
  Edit->SetSelStart(0);
  Edit->SetSelLength(6);
  RightClick(CharPoint(1));
  Choose("Cut");
  EXPECT_EQ(Edit->GetText(), "world");
  EXPECT_EQ(Clipboard()->GetAsText(), "hello ");
  Edit->SetSelStart(0);
  Edit->SetSelLength(1);
  RightClick(CharPoint(0));
  Choose("Delete");
  EXPECT_EQ(Edit->GetText(), "orld");
  EXPECT_EQ(Clipboard()->GetAsText(), "hello ");
  RightClick(CharPoint(2));
  Choose("Select All");
  EXPECT_EQ(Edit->GetSelLength(), 4);
  EXPECT_TRUE(Edit->GetModified());
  // A disabled command does nothing when its row is clicked.
  Edit->SetReadOnly(true);
  RightClick(CharPoint(1));
  Choose("Cut");
  EXPECT_EQ(Edit->GetText(), "orld");
}

TEST_F(EditMenu, ShiftF10AndTheMenuKeyOpenTheFocusedControlsMenuAtTheCaret) {
  Edit->SetFocus();
  Edit->SetSelStart(4);
  Input().PressKey(VK_F10, {ssShift});
  ASSERT_NE(Menu(), nullptr);
  ASSERT_TRUE(Menu()->IsOpen());
  TRect caret = Edit->CaretRect();
  EXPECT_EQ(Menu()->LevelControl(0)->GetLeft(), At(Edit, caret.Left, 0).X);
  EXPECT_EQ(Menu()->LevelControl(0)->GetTop(), At(Edit, 0, caret.Bottom).Y);
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Edit->GetSelStart(), 4);
  Input().PressKey(VK_APPS);
  EXPECT_TRUE(Menu()->IsOpen());
  Input().PressKey(VK_ESCAPE);
  // F10 alone and Ctrl+menu key are other keys.
  Input().PressKey(VK_F10);
  Input().PressKey(VK_APPS, {ssCtrl});
  EXPECT_FALSE(Menu()->IsOpen());
  // An own PopupMenu replaces the standard one; from the keyboard it opens at the caret too.
  auto* own = new TPopupMenu(Form);
  auto* item = new TMenuItem(Form);
  item->SetCaption("Own");
  own->GetItems()->Add(item);
  Edit->SetPopupMenu(own);
  Input().PressKey(VK_APPS);
  EXPECT_TRUE(own->IsOpen());
  EXPECT_FALSE(Menu()->IsOpen());
  EXPECT_EQ(own->GetPopupComponent(), Edit);
  EXPECT_EQ(own->LevelControl(0)->GetLeft(), At(Edit, caret.Left, 0).X);
}

TEST_F(EditMenu, FromTheKeyboardOtherControlsOpenTheirMenuOrTheirParentsAtTheirTopLeft) {
  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(40, 100, 120, 21);
  combo->SetStyle(csDropDownList);
  auto* menu = new TPopupMenu(Form);
  auto* item = new TMenuItem(Form);
  item->SetCaption("Form item");
  menu->GetItems()->Add(item);
  Form->SetPopupMenu(menu);
  combo->SetFocus();
  Input().PressKey(VK_APPS);
  ASSERT_TRUE(menu->IsOpen());
  EXPECT_EQ(menu->GetPopupComponent(), combo);  // found on the form, opened for the combo
  EXPECT_EQ(menu->LevelControl(0)->GetLeft(), 40);
  EXPECT_EQ(menu->LevelControl(0)->GetTop(), 100);
  Input().PressKey(VK_ESCAPE);
  EXPECT_TRUE(combo->Focused());
}

TEST_F(EditMenu, OnContextPopupSeesWhereAndCanKeepTheMenuShut) {
  std::vector<TPoint> seen;
  bool handle = true;
  Edit->OnContextPopup = [&](TObject* Sender, TPoint MousePos, bool& Handled) {
    EXPECT_EQ(Sender, Edit);
    seen.push_back(MousePos);
    Handled = handle;
  };
  RightClick(At(Edit, 30, 5));
  EXPECT_EQ(Menu(), nullptr);
  Input().PressKey(VK_APPS);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (TPoint{30, 5}));   // client coordinates of the click
  EXPECT_EQ(seen[1], (TPoint{-1, -1}));  // asked for from the keyboard
  handle = false;
  Input().PressKey(VK_APPS);
  ASSERT_NE(Menu(), nullptr);
  EXPECT_TRUE(Menu()->IsOpen());
}

TEST_F(EditMenu, MemoHasItAndAComboBoxesOwnMenuWinsOverItsEdits) {
  auto* memo = new TMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(10, 90, 200, 60);
  memo->SetText("line one\r\nline two");
  Input().Click(At(memo, 20, 20).X, At(memo, 20, 20).Y, mbRight);
  ASSERT_NE(memo->StandardMenu(), nullptr);
  EXPECT_TRUE(memo->StandardMenu()->IsOpen());
  memo->StandardMenu()->CloseMenu();
  EXPECT_TRUE(memo->Focused());  // the click focused it; the menu gave the focus back

  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 160, 150, 21);
  TCustomEdit* inner = combo->EditControl();
  ASSERT_NE(inner, nullptr);
  TPoint p = At(inner, 10, 5);
  Input().Click(p.X, p.Y, mbRight);
  ASSERT_NE(inner->StandardMenu(), nullptr);
  EXPECT_TRUE(inner->StandardMenu()->IsOpen());
  inner->StandardMenu()->CloseMenu();
  EXPECT_TRUE(inner->Focused());
  auto* own = new TPopupMenu(Form);
  auto* item = new TMenuItem(Form);
  item->SetCaption("Combo");
  own->GetItems()->Add(item);
  combo->SetPopupMenu(own);
  Input().Click(p.X, p.Y, mbRight);
  EXPECT_TRUE(own->IsOpen());
  EXPECT_FALSE(inner->StandardMenu()->IsOpen());
}

TEST_F(EditMenu, DestroyingTheEditWithItsMenuOpenLeavesNothingBehind) {
  RightClick(CharPoint(1));
  ASSERT_TRUE(Menu()->IsOpen());
  int before = Form->ControlCount();
  delete Edit;
  Edit = nullptr;
  EXPECT_EQ(Form->ControlCount(), before - 2);  // the edit and the menu's level
  Input().PressKey(VK_ESCAPE);
  Input().Click(100, 100);
  EXPECT_TRUE(Backend()->Errors.empty());
}

}  // namespace
}  // namespace qel::test

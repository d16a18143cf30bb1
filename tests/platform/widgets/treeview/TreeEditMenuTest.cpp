// The tree's label editor and the edit's own context menu: a right click in the editor opened the
// menu, the menu took the focus, and the editor took that for leaving: it committed and hid, so
// the chosen command acted on a hidden editor and the focus came back to nobody.
#include <gtest/gtest.h>

#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/treeview/TreeFixture.h"

namespace qel::test {
namespace {

class TreeEditMenu : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    Build({"Pressure", "\tInlet", "Temperature"});
    Focus();
    Tree->SetSelected(Node("Pressure"));
    Input().PressKey(VK_F2);
    Editor = Tree->GetEditControl();
    ASSERT_NE(Editor, nullptr);
    ASSERT_TRUE(Editor->Focused());
  }
  void RightClickEditor() {
    TPoint p = At(Editor, 4, Editor->GetHeight() / 2);
    Input().Click(p.X, p.Y, mbRight);
  }
  void Choose(const std::string& Caption) {
    TPopupMenu* menu = Editor->StandardMenu();
    ASSERT_TRUE(menu && menu->IsOpen());
    int i = menu->GetItems()->IndexOf(menu->GetItems()->Find(Caption));
    TRect r = menu->ItemFormRect(0, i);
    Input().Click((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TCustomEdit* Editor = nullptr;
};

TEST_F(TreeEditMenu, TheEditorStaysOpenWhileItsMenuIsOpen) {
  RightClickEditor();
  ASSERT_NE(Editor->StandardMenu(), nullptr);
  EXPECT_TRUE(Editor->StandardMenu()->IsOpen());
  EXPECT_TRUE(Tree->IsEditing());
  EXPECT_TRUE(Editor->GetVisible());
  // Esc closes the menu only; the editor has the focus again and keeps what it had.
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Editor->StandardMenu()->IsOpen());
  EXPECT_TRUE(Tree->IsEditing());
  EXPECT_TRUE(Editor->Focused());
  EXPECT_EQ(Editor->GetText(), "Pressure");
  EXPECT_EQ(Node("Pressure")->GetText(), "Pressure");
}

TEST_F(TreeEditMenu, ACommandFromTheMenuActsOnTheOpenEditor) {
  Editor->SelectAll();
  RightClickEditor();
  Choose("Cu&t");
  ASSERT_TRUE(Tree->IsEditing());
  ASSERT_TRUE(Editor->Focused());
  EXPECT_EQ(Editor->GetText(), "");
  EXPECT_EQ(Clipboard()->GetAsText(), "Pressure");
  // Typing goes on in the editor, and Enter commits what it holds.
  Input().TypeText("Druck");
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_TRUE(Tree->Focused());
  EXPECT_EQ(Tree->GetItems()->Item(0)->GetText(), "Druck");
}

TEST_F(TreeEditMenu, LeavingForAnotherControlStillCommits) {
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(220, 10, 80, 21);
  Input().TypeText("P1");
  other->SetFocus();
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_EQ(Tree->GetItems()->Item(0)->GetText(), "P1");
}

}  // namespace
}  // namespace qel::test

// Choosing a menu item with the right button: the release chose the item and closed the menu,
// which deleted the level window still handling that release, and the window then went on to
// ask for its own context menu (a use after free, caught by AddressSanitizer in the gallery).
#include <gtest/gtest.h>

#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class MenuRightClick : public WidgetTest {
 protected:
  // The middle of item Index of the open menu's first level, in form coordinates.
  static TPoint ItemPoint(TPopupMenu* Menu, int Index) {
    TRect r = Menu->ItemFormRect(0, Index);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
};

TEST_F(MenuRightClick, TheEditsMenuTakesARightClickOnAnItem) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 200, 21);
  edit->SetText("hello world");
  ShowForm();
  edit->SetSelStart(3);
  TPoint at = At(edit, 30, 10);
  Input().Click(at.X, at.Y, mbRight);
  TPopupMenu* menu = edit->StandardMenu();
  ASSERT_TRUE(menu && menu->IsOpen());
  int selectAll = menu->GetItems()->IndexOf(menu->GetItems()->Find("Select &All"));
  TPoint p = ItemPoint(menu, selectAll);
  Input().Click(p.X, p.Y, mbRight);
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->GetSelLength(), 11);
  // The release opened no second menu either.
  EXPECT_FALSE(menu->IsOpen());
}

TEST_F(MenuRightClick, APanelsMenuItemRunsOnceOnARightClick) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 200, 100);
  auto* menu = new TPopupMenu(Form);
  int clicks = 0;
  for (const char* caption : {"&First", "&Second"}) {
    auto* item = new TMenuItem(menu);
    item->SetCaption(caption);
    item->OnClick = [&clicks](TObject*) { ++clicks; };
    menu->GetItems()->Add(item);
  }
  panel->SetPopupMenu(menu);
  ShowForm();
  TPoint at = At(panel, 20, 20);
  Input().Click(at.X, at.Y, mbRight);
  ASSERT_TRUE(menu->IsOpen());
  TPoint p = ItemPoint(menu, 1);
  Input().Click(p.X, p.Y, mbRight);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(menu->IsOpen());
}

}  // namespace
}  // namespace qel::test

// The grid's pick list repeats its held scroll-bar parts as the combo list does, and a lost
// capture, closing the list or the editor, or destroying the grid leaves no timer behind.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/Messages.h"
#include "platform/grids/Grids.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class TPickGrid : public TDrawGrid {
 public:
  using TDrawGrid::TDrawGrid;

 protected:
  TEditStyle GetEditStyle(int, int) override { return esPickList; }
  void GetPickListItems(int, int, TStrings& Items) override {
    for (int i = 0; i < 50; ++i) Items.Add("value " + std::to_string(i));
  }
};

class PickListRepeat : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Form->SetBounds(0, 0, 360, 320);
    Grid = new TPickGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 300, 100);
    Grid->SetOptions(Grid->GetOptions() << goEditing);
    ShowForm();
    Input().PressKey(VK_F2);
    E = Grid->InplaceEditor();
    ASSERT_TRUE(E);
    Idle = Application->TimerCount();  // the editor's caret
    Input().PressKey(VK_DOWN, {ssAlt});
    ASSERT_TRUE(E->GetDroppedDown());
    TRect b = E->PickListBounds(), sb = E->PickScrollBarRect();
    Down = {b.Left + (sb.Left + sb.Right) / 2, b.Top + sb.Bottom - 4};
    Input().MouseMove(Down.X, Down.Y);
    Input().MouseDown(Down.X, Down.Y);
  }
  TPickGrid* Grid = nullptr;
  TInplaceEdit* E = nullptr;
  TPoint Down;  // the down arrow, held from the start
  int Idle = 0;
};

TEST_F(PickListRepeat, AHeldArrowRepeatsAfterTheDelayAndStopsOnRelease) {
  EXPECT_EQ(E->PickTopIndex(), 1);
  Application->AdvanceTime(399);
  EXPECT_EQ(E->PickTopIndex(), 1);
  Application->AdvanceTime(1);
  EXPECT_EQ(E->PickTopIndex(), 2);
  Application->AdvanceTime(250);
  EXPECT_EQ(E->PickTopIndex(), 7);
  Input().MouseUp(Down.X, Down.Y);
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(E->PickTopIndex(), 7);
  EXPECT_TRUE(E->GetDroppedDown());
}

TEST_F(PickListRepeat, LosingTheCaptureClosingOrDestroyingStopsTheTimer) {
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Form->SetCaptureControl(Grid);
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(E->PickTopIndex(), 1);

  Form->SetCaptureControl(E->PickListControl());
  Input().MouseDown(Down.X, Down.Y);
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Input().PressKey(VK_ESCAPE);  // the list closes, the editor stays
  EXPECT_FALSE(E->GetDroppedDown());
  EXPECT_EQ(Application->TimerCount(), Idle);
  Input().MouseUp(Down.X, Down.Y);

  Input().PressKey(VK_DOWN, {ssAlt});
  Input().MouseDown(Down.X, Down.Y);
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Grid->SetEditorMode(false);
  // Nothing runs any more: neither the list's repeat nor the hidden editor's caret.
  EXPECT_EQ(Application->TimerCount(), 0);

  Grid->SetEditorMode(true);
  Input().PressKey(VK_DOWN, {ssAlt});
  Input().MouseDown(Down.X, Down.Y);
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  delete Grid;
  EXPECT_EQ(Application->TimerCount(), 0);
  Application->AdvanceTime(1000);  // nothing fires into the freed list
}

}  // namespace
}  // namespace qel::test

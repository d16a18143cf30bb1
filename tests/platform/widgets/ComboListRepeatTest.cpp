// The combo box's drop-down list: held arrows and track repeat on the application's clock (a
// step on the press, then after 400 ms and every 50 ms), paging stops where the thumb reaches
// the pointer, and release, sliding off, a lost capture, closing or destroying stop it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/controls/Messages.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

constexpr int kArrow = 16;  // the arrow buttons' height
constexpr int kCount = 60;

class ComboListRepeat : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Form->SetBounds(0, 0, 320, 300);
    Combo = new TComboBox(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 150, 21);
    Combo->SetStyle(csDropDownList);
    for (int i = 0; i < kCount; ++i) Combo->GetItems()->Add("item " + std::to_string(i));
    Combo->SetItemIndex(0);
    ShowForm();
    Combo->SetFocus();
    Idle = Application->TimerCount();
    Combo->SetDroppedDown(true);
    ASSERT_EQ(Combo->ListTopIndex(), 0);
  }
  // Y in list coordinates, at the middle of the bar, in form coordinates.
  TPoint OnBar(int Y) const {
    TRect sb = Combo->ListScrollBarRect();
    TControl* l = Combo->ListControl();
    return {l->GetLeft() + (sb.Left + sb.Right) / 2, l->GetTop() + Y};
  }
  TPoint DownArrow() const { return OnBar(Combo->ListScrollBarRect().Bottom - 4); }
  void Press(TPoint P) {
    Input().MouseMove(P.X, P.Y);
    Input().MouseDown(P.X, P.Y);
  }
  int Top() const { return Combo->ListTopIndex(); }

  TComboBox* Combo = nullptr;
  int Idle = 0;  // timers running before the list opened
};

TEST_F(ComboListRepeat, AHeldArrowStepsOnTheDelayAndIntervalAndStopsOnRelease) {
  TPoint p = DownArrow();
  Press(p);
  EXPECT_EQ(Top(), 1);
  Application->AdvanceTime(399);
  EXPECT_EQ(Top(), 1);
  Application->AdvanceTime(1);
  EXPECT_EQ(Top(), 2);
  Application->AdvanceTime(49);
  EXPECT_EQ(Top(), 2);
  Application->AdvanceTime(501);
  EXPECT_EQ(Top(), 13);
  Input().MouseUp(p.X, p.Y);
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(Top(), 13);
  EXPECT_TRUE(Combo->GetDroppedDown());  // the bar chooses nothing
  EXPECT_EQ(Combo->GetItemIndex(), 0);
}

TEST_F(ComboListRepeat, SlidingOffTheArrowPausesTheRepeat) {
  TPoint down = DownArrow(), up = OnBar(Combo->ListScrollBarRect().Top + 4);
  Press(down);
  Application->AdvanceTime(400);
  Input().MouseMove(up.X, up.Y);  // another part: the held arrow does not step there
  Application->AdvanceTime(500);
  EXPECT_EQ(Top(), 2);
  Input().MouseMove(down.X, down.Y);
  Application->AdvanceTime(100);
  EXPECT_EQ(Top(), 4);
  Input().MouseUp(down.X, down.Y);
}

TEST_F(ComboListRepeat, HeldTrackPagesUntilTheThumbReachesThePointer) {
  TRect sb = Combo->ListScrollBarRect();
  int vis = Combo->ListVisibleCount(), maxTop = kCount - vis;
  int track = sb.Height() - 2 * kArrow, h = std::max(8, track * vis / kCount);
  auto thumbTop = [&](int Top) { return sb.Top + kArrow + (track - h) * Top / maxTop; };
  int y = sb.Top + kArrow + track * 2 / 3;  // below the thumb, short of the end
  Press(OnBar(y));
  EXPECT_EQ(Top(), vis);
  Application->AdvanceTime(400);
  EXPECT_EQ(Top(), 2 * vis);
  Application->AdvanceTime(3000);
  int stopped = Top();
  // The pointer is no longer below the thumb, and was a page ago.
  EXPECT_EQ(Combo->ListThumbRect().Top, thumbTop(stopped));
  EXPECT_LT(y, thumbTop(stopped) + h);
  EXPECT_GE(y, thumbTop(stopped - vis) + h);
  EXPECT_LT(stopped, maxTop);
  EXPECT_EQ(stopped % vis, 0);
  // Below the thumb again, paging goes on to the end.
  TPoint low = OnBar(sb.Bottom - kArrow - 1);
  Input().MouseMove(low.X, low.Y);
  Application->AdvanceTime(3000);
  EXPECT_EQ(Top(), maxTop);
  Input().MouseUp(low.X, low.Y);
  EXPECT_EQ(Application->TimerCount(), Idle);
}

TEST_F(ComboListRepeat, ClosingLosingTheCaptureOrDestroyingStopsTheTimer) {
  Press(DownArrow());
  Application->AdvanceTime(400);
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Application->TimerCount(), Idle);

  Combo->SetDroppedDown(true);
  Press(DownArrow());
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  Form->SetCaptureControl(Combo);
  EXPECT_EQ(Application->TimerCount(), Idle);
  int top = Top();
  Application->AdvanceTime(1000);
  EXPECT_EQ(Top(), top);

  Form->SetCaptureControl(Combo->ListControl());
  Press(DownArrow());
  ASSERT_EQ(Application->TimerCount(), Idle + 1);
  delete Combo;
  EXPECT_EQ(Application->TimerCount(), Idle);
  Application->AdvanceTime(1000);  // nothing fires into the freed list
}

}  // namespace
}  // namespace qel::test

// The drop-down list's scroll bar: dragging the thumb scrolls live, release ends the drag, Esc
// closes the list mid-drag, and clicks on the track page.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/Messages.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

constexpr int kArrow = 16;  // the height of the scroll bar's arrow buttons

class ComboThumb : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Form->SetBounds(0, 0, 320, 300);
    Combo = new TComboBox(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 150, 21);
    Combo->SetStyle(csDropDownList);
    for (int i = 0; i < 40; ++i) Combo->GetItems()->Add("item " + std::to_string(i));
    Combo->SetItemIndex(0);
    ShowForm();
    Combo->SetFocus();
    Combo->SetDroppedDown(true);
  }
  // Scroll bar geometry in form coordinates, from the box's published geometry.
  TRect Bar() const {
    TRect sb = Combo->ListScrollBarRect();
    TControl* l = Combo->ListControl();
    return Rect(sb.Left + l->GetLeft(), sb.Top + l->GetTop(), sb.Right + l->GetLeft(),
                sb.Bottom + l->GetTop());
  }
  int TrackTop() const { return Bar().Top + kArrow; }
  int Track() const { return Bar().Height() - 2 * kArrow; }
  int ThumbHeight() const { return std::max(8, Track() * Combo->ListVisibleCount() / 40); }
  int Room() const { return Track() - ThumbHeight(); }
  int X() const { return (Bar().Left + Bar().Right) / 2; }
  int MaxTop() const { return 40 - Combo->ListVisibleCount(); }
  TComboBox* Combo = nullptr;
};

TEST_F(ComboThumb, DraggingTheThumbScrollsTheListLiveAndReleaseEndsIt) {
  ASSERT_TRUE(Combo->ListHasScrollBar());
  ASSERT_EQ(Combo->ListTopIndex(), 0);
  int grabY = TrackTop() + 4;  // inside the thumb, which sits at the top of the track
  Input().MouseMove(X(), grabY);
  Input().MouseDown(X(), grabY);
  Input().MouseMove(X(), grabY + Room() / 2);
  EXPECT_NEAR(Combo->ListTopIndex(), MaxTop() / 2, 1);
  Input().MouseMove(X(), grabY + Room());
  EXPECT_EQ(Combo->ListTopIndex(), MaxTop());
  // Past the ends the thumb stops; sideways off the bar the drag goes on.
  Input().MouseMove(X() + 80, grabY + Room() + 200);
  EXPECT_EQ(Combo->ListTopIndex(), MaxTop());
  Input().MouseMove(X(), grabY - 300);
  EXPECT_EQ(Combo->ListTopIndex(), 0);
  Input().MouseMove(X(), grabY + Room() / 4);
  int top = Combo->ListTopIndex();
  EXPECT_NEAR(top, MaxTop() / 4, 1);
  Input().MouseUp(X(), grabY + Room() / 4);
  // Released: the list stays open with nothing chosen, and moving no longer scrolls.
  EXPECT_TRUE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  Input().MouseMove(X(), grabY + Room());
  EXPECT_EQ(Combo->ListTopIndex(), top);
  // The thumb is drawn where the list now is: the dragged-to place, not the top of the track.
  int thumbTop = TrackTop() + Room() * top / MaxTop();
  TColor face = ColorToRGB(clBtnFace);
  EXPECT_EQ(PixelAt(Surface(), X(), thumbTop + ThumbHeight() / 2), face);
}

TEST_F(ComboThumb, EscWhileDraggingClosesTheListWithoutAChoice) {
  int grabY = TrackTop() + 3;
  Input().MouseMove(X(), grabY);
  Input().MouseDown(X(), grabY);
  Input().MouseMove(X(), grabY + Room() / 2);
  int listIndex = Combo->ListIndex();
  EXPECT_GT(Combo->ListTopIndex(), 0);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  EXPECT_EQ(listIndex, 0);
  // The rest of the gesture reaches the box, not a drag that no longer exists.
  Input().MouseMove(X(), grabY + Room());
  Input().MouseUp(X(), grabY + Room());
  EXPECT_FALSE(Combo->GetDroppedDown());
  Combo->SetDroppedDown(true);
  Input().MouseMove(X(), grabY + Room() / 2);
  EXPECT_EQ(Combo->ListTopIndex(), 0);
  EXPECT_TRUE(Backend()->Errors.empty());
}

TEST_F(ComboThumb, TrackClicksPageAndArrowsStep) {
  int vis = Combo->ListVisibleCount();
  int below = TrackTop() + Track() - 3;
  Input().Click(X(), below);
  EXPECT_EQ(Combo->ListTopIndex(), vis);
  Input().Click(X(), below);
  EXPECT_EQ(Combo->ListTopIndex(), 2 * vis);
  Input().Click(X(), TrackTop() + 1);  // above the thumb, which has moved down
  EXPECT_EQ(Combo->ListTopIndex(), vis);
  Input().Click(X(), Bar().Bottom - 3);
  EXPECT_EQ(Combo->ListTopIndex(), vis + 1);
  Input().Click(X(), Bar().Top + 3);
  EXPECT_EQ(Combo->ListTopIndex(), vis);
  // Paging never chose anything and left the list open.
  EXPECT_TRUE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 0);
}

}  // namespace
}  // namespace qel::test

// The combo box driven through injected input: opening the list by mouse and keys, choosing,
// Esc, closing by a click elsewhere, letter jumps, the wheel, the edit part, owner drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Messages.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class ComboBoxTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Combo = new TComboBox(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 120, 0);
    for (const char* s : {"alpha", "beta", "gamma", "delta", "bravo", "echo"})
      Combo->GetItems()->Add(s);
    Combo->OnChange = [this](TObject*) { ++Changes; };
    Combo->OnClick = [this](TObject*) { ++Clicks; };
    Combo->OnDropDown = [this](TObject*) { ++Drops; };
    Combo->OnCloseUp = [this](TObject*) { ++CloseUps; };
  }
  void ListStyle() { Combo->SetStyle(csDropDownList); }
  TPoint ButtonCentre() {
    TRect b = Combo->ButtonRect();
    return At(Combo, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  }
  // The centre of list item I in form coordinates.
  TPoint ItemPoint(int I) {
    TRect r = Combo->ListItemRect(I);
    TRect lb = Combo->ListBounds();
    return {lb.Left + (r.Left + r.Right) / 2, lb.Top + (r.Top + r.Bottom) / 2};
  }
  TComboBox* Combo = nullptr;
  int Changes = 0, Clicks = 0, Drops = 0, CloseUps = 0;
};

TEST_F(ComboBoxTest, ButtonClickOpensTheListOverTheFormAndChoosingAnItemClosesIt) {
  ListStyle();
  ShowForm();
  TPoint b = ButtonCentre();
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(Combo->GetDroppedDown());
  EXPECT_EQ(Drops, 1);
  TControl* list = Combo->ListControl();
  EXPECT_EQ(list->GetParent(), Form);
  EXPECT_EQ(Form->Controls(Form->ControlCount() - 1), list);  // above every other control
  EXPECT_EQ(list->GetTop(), Combo->GetTop() + Combo->GetHeight());
  TPoint p = ItemPoint(2);
  Input().MouseMove(p.X, p.Y);
  EXPECT_EQ(Combo->ListIndex(), 2);
  EXPECT_EQ(Combo->GetItemIndex(), -1);  // hovering only highlights
  Input().Click(p.X, p.Y);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  EXPECT_EQ(Combo->GetText(), "gamma");
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(CloseUps, 1);
  EXPECT_EQ(list->GetParent(), nullptr);
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(ComboBoxTest, PressDragReleaseOnAnItemChoosesIt) {
  ListStyle();
  ShowForm();
  TPoint b = ButtonCentre(), p = ItemPoint(4);
  Input().Drag(b, p);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetText(), "bravo");
}

TEST_F(ComboBoxTest, ClickElsewhereOrOnTheBoxAgainClosesWithoutChange) {
  ListStyle();
  Combo->SetItemIndex(1);
  ShowForm();
  TPoint b = ButtonCentre();
  Input().Click(b.X, b.Y);
  Input().MouseMove(ItemPoint(3).X, ItemPoint(3).Y);
  Input().Click(300, 220);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  Input().Click(b.X, b.Y);
  ASSERT_TRUE(Combo->GetDroppedDown());
  Input().Click(b.X, b.Y);  // the button toggles
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(CloseUps, 2);
}

TEST_F(ComboBoxTest, KeysOpenMoveChooseAndEscRestores) {
  ListStyle();
  Combo->SetItemIndex(0);
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->ListIndex(), 0);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Combo->ListIndex(), 2);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  EXPECT_EQ(Changes, 0);

  Input().PressKey(VK_F4);
  ASSERT_TRUE(Combo->GetDroppedDown());
  Input().PressKey(VK_END);
  EXPECT_EQ(Combo->ListIndex(), 5);
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Combo->ListIndex(), 5);  // six items all shown: a page is five steps
  Input().PressKey(VK_UP);
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), 4);
  EXPECT_EQ(Changes, 1);
}

TEST_F(ComboBoxTest, EnterAndEscWhileOpenDoNotReachTheForm) {
  ListStyle();
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_F4);
  // Enter is wanted by the open list; nothing else (a default button) sees it first.
  EXPECT_EQ(Combo->Perform(CM_WANTSPECIALKEY, VK_RETURN), 1);
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Combo->Perform(CM_WANTSPECIALKEY, VK_RETURN), 0);
}

TEST_F(ComboBoxTest, ClosedArrowsAndWheelStepTheSelectionWithEvents) {
  ListStyle();
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_END);
  EXPECT_EQ(Combo->GetItemIndex(), 5);
  Input().PressKey(VK_DOWN);  // stays on the last item, no event
  EXPECT_EQ(Changes, 3);
  TPoint c = At(Combo, 5, 5);
  Input().WheelAt(c.X, c.Y, WHEEL_DELTA);
  EXPECT_EQ(Combo->GetItemIndex(), 4);
  Input().WheelAt(c.X, c.Y, -WHEEL_DELTA);
  EXPECT_EQ(Combo->GetItemIndex(), 5);
  EXPECT_EQ(Changes, 5);
  EXPECT_EQ(Clicks, 5);
}

TEST_F(ComboBoxTest, TypingALetterJumpsToTheNextItemStartingWithIt) {
  ListStyle();
  ShowForm();
  Combo->SetFocus();
  Input().TypeText("b");
  EXPECT_EQ(Combo->GetText(), "beta");
  Input().TypeText("B");
  EXPECT_EQ(Combo->GetText(), "bravo");
  Input().TypeText("b");  // wraps around
  EXPECT_EQ(Combo->GetText(), "beta");
  Input().TypeText("z");  // no such item: unchanged
  EXPECT_EQ(Combo->GetText(), "beta");
  Input().PressKey(VK_F4);
  Input().TypeText("e");
  EXPECT_EQ(Combo->ListIndex(), 5);
  EXPECT_EQ(Combo->GetItemIndex(), 1);  // only highlighted while open
  EXPECT_EQ(Changes, 3);
}

TEST_F(ComboBoxTest, LongListScrollsToKeepTheHighlightVisible) {
  ListStyle();
  for (int i = 0; i < 20; ++i) Combo->GetItems()->Add("item" + std::to_string(i));
  Combo->SetDropDownCount(5);
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_F4);
  ASSERT_TRUE(Combo->ListHasScrollBar());
  EXPECT_EQ(Combo->ListControl()->GetHeight(), 5 * Combo->GetItemHeight() + 2);
  for (int i = 0; i < 7; ++i) Input().PressKey(VK_DOWN);
  EXPECT_EQ(Combo->ListIndex(), 6);
  EXPECT_EQ(Combo->ListTopIndex(), 2);
  Input().PressKey(VK_END);
  EXPECT_EQ(Combo->ListTopIndex(), 21);
  // The wheel over the open list scrolls it without moving the highlight.
  // (The pointer rests on the scroll bar, where hovering highlights nothing.)
  TRect lb = Combo->ListBounds();
  TRect sb = Combo->ListScrollBarRect();
  Input().WheelAt(lb.Left + sb.Left + 3, lb.Top + sb.Top + 30, WHEEL_DELTA);
  EXPECT_EQ(Combo->ListTopIndex(), 18);
  EXPECT_EQ(Combo->ListIndex(), 25);
  // A click on the scroll bar's up arrow scrolls and keeps the list open.
  Input().Click(lb.Left + sb.Left + 3, lb.Top + sb.Top + 3);
  EXPECT_TRUE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->ListTopIndex(), 17);
}

// A list one item high still pages: a page is never less than one item, in the open list and
// in the closed box.
TEST_F(ComboBoxTest, PageKeysMoveAtLeastOneItemInAOneRowList) {
  ListStyle();
  Combo->SetDropDownCount(1);
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Combo->GetItemIndex(), 0);
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Combo->GetItemIndex(), 1);
  Input().PressKey(VK_F4);
  ASSERT_TRUE(Combo->GetDroppedDown());
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Combo->ListIndex(), 2);
  EXPECT_EQ(Combo->ListTopIndex(), 2);
  Input().PressKey(VK_PRIOR);
  Input().PressKey(VK_PRIOR);
  EXPECT_EQ(Combo->ListIndex(), 0);
  EXPECT_EQ(Combo->ListTopIndex(), 0);
}

TEST_F(ComboBoxTest, EditableStyleTypesTextAndPicksMatchingItem) {
  ShowForm();
  Combo->SetFocus();
  ASSERT_NE(Combo->EditControl(), nullptr);
  EXPECT_TRUE(Combo->EditControl()->Focused());
  Input().TypeText("delta");
  EXPECT_EQ(Combo->GetText(), "delta");
  EXPECT_EQ(Combo->GetItemIndex(), 3);
  EXPECT_EQ(Changes, 5);
  Input().TypeText("x");
  EXPECT_EQ(Combo->GetText(), "deltax");
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  // The list chooses into the edit.
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(Combo->GetDroppedDown());
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Combo->GetText(), "alpha");
  EXPECT_EQ(Combo->EditControl()->GetText(), "alpha");
  // The program's text shows in the edit.
  Combo->SetText("free text");
  EXPECT_EQ(Combo->EditControl()->GetText(), "free text");
  EXPECT_EQ(Combo->GetItemIndex(), -1);
}

TEST_F(ComboBoxTest, TabAndShiftTabPassThroughTheEditableBox) {
  auto* before = new TEdit(Form);
  before->SetParent(Form);
  before->SetBounds(10, 60, 80, 21);
  before->SetTabOrder(0);
  auto* after = new TEdit(Form);
  after->SetParent(Form);
  after->SetBounds(10, 90, 80, 21);
  ShowForm();
  before->SetFocus();
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Combo->EditControl()->Focused());
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(after->Focused());
  Input().PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(Combo->EditControl()->Focused());
  Input().PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(before->Focused());
  // A press on the button focuses the edit and opens the list.
  TPoint b = ButtonCentre();
  Input().Click(b.X, b.Y);
  EXPECT_TRUE(Combo->EditControl()->Focused());
  EXPECT_TRUE(Combo->GetDroppedDown());
}

TEST_F(ComboBoxTest, FormFileRoundTripKeepsStyleItemsAndSelection) {
  RegisterMenuAndComboClasses();
  Combo->SetName("Combo1");
  ListStyle();
  Combo->SetDropDownCount(3);
  Combo->SetItemIndex(3);
  std::string text = WriteComponentText(Form);
  auto* copy = CreateFromText<TForm>(text, nullptr);
  std::unique_ptr<TForm> guard(copy);
  auto* c2 = dynamic_cast<TComboBox*>(copy->FindComponent("Combo1"));
  ASSERT_NE(c2, nullptr);
  EXPECT_EQ(c2->GetStyle(), csDropDownList);
  EXPECT_EQ(c2->GetItems()->GetCount(), 6);
  EXPECT_EQ(c2->GetDropDownCount(), 3);
  EXPECT_EQ(c2->GetText(), "delta");
  EXPECT_EQ(c2->GetItemIndex(), 3);
  EXPECT_EQ(WriteComponentText(copy), text);
}

TEST_F(ComboBoxTest, DisabledBoxDoesNotOpenAndKeepsItsColour) {
  Combo->SetColor(TColor(0xE0E0E0));
  EXPECT_EQ(Combo->EditControl()->GetColor(), TColor(0xE0E0E0));
  ListStyle();
  Combo->SetEnabled(false);
  ShowForm();
  TPoint b = ButtonCentre();
  Input().Click(b.X, b.Y);
  Combo->SetDroppedDown(true);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Drops, 0);
  TRect e = Combo->EditRect();
  TPoint p = At(Combo, e.Right - 2, e.Top + 1);
  EXPECT_EQ(PixelAt(Surface(), p.X, p.Y), TColor(0xE0E0E0));
}

TEST_F(ComboBoxTest, ListStyleTextIsAlwaysAnItem) {
  ListStyle();
  Combo->SetText("gamma");
  EXPECT_EQ(Combo->GetItemIndex(), 2);
  Combo->SetText("nothing");
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  EXPECT_EQ(Combo->GetText(), "");
  Combo->SetItemIndex(99);
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  Combo->SetItemIndex(5);
  Combo->GetItems()->Delete(5);
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  EXPECT_EQ(Combo->GetText(), "");
}

TEST_F(ComboBoxTest, SortedKeepsTheSelectedText) {
  Combo->SetItemIndex(2);  // gamma
  Combo->SetSorted(true);
  EXPECT_EQ(Combo->GetItems()->Get(0), "alpha");
  EXPECT_EQ(Combo->GetItems()->Get(1), "beta");
  EXPECT_EQ(Combo->GetText(), "gamma");
  EXPECT_EQ(Combo->GetItems()->Get(Combo->GetItemIndex()), "gamma");
}

// Records every DrawItem call; draws a colour bar so the pixels can be checked.
class TDrawnCombo : public TCustomComboBox {
 public:
  using TCustomComboBox::TCustomComboBox;
  struct TCall {
    int Index;
    TRect Rect;
    TOwnerDrawState State;
  };
  std::vector<TCall> Calls;

 protected:
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override {
    Calls.push_back({Index, Rect, State});
    Canvas()->Brush()->SetColor(Index == 0 ? clRed : clLime);
    Canvas()->FillRect(Rect);
  }
};

TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnByDrawItemInTheListAndTheBox) {
  auto* c = new TDrawnCombo(Form);
  c->SetParent(Form);
  c->SetStyle(csOwnerDrawFixed);
  c->SetBounds(10, 100, 100, 0);
  c->GetItems()->Add("one");
  c->GetItems()->Add("two");
  c->SetItemIndex(0);
  ShowForm();
  c->SetFocus();
  Application->ProcessMessages();
  c->Calls.clear();
  c->Repaint();
  ASSERT_FALSE(c->Calls.empty());
  EXPECT_EQ(c->Calls.back().Index, 0);
  EXPECT_TRUE(c->Calls.back().State.Contains(odComboBoxEdit));
  EXPECT_TRUE(c->Calls.back().State.Contains(odFocused));
  TRect e = c->EditRect();
  TPoint ep = At(c, e.Left + 2, e.Top + 2);
  EXPECT_EQ(PixelAt(Surface(), ep.X, ep.Y), ColorToRGB(clRed));

  c->Calls.clear();
  Input().PressKey(VK_F4);
  Application->ProcessMessages();
  bool sawOne = false;
  for (auto& call : c->Calls)
    if (call.Index == 1) {
      sawOne = true;
      EXPECT_FALSE(call.State.Contains(odComboBoxEdit));
      EXPECT_FALSE(call.State.Contains(odSelected));
      EXPECT_EQ(call.Rect.Height(), c->GetItemHeight());
    }
  EXPECT_TRUE(sawOne);
  // Item 1 is drawn into the list, not the box.
  TRect lb = c->ListBounds();
  TRect r1 = c->ListItemRect(1);
  EXPECT_EQ(PixelAt(Surface(), lb.Left + r1.Left + 3, lb.Top + r1.Top + 3), ColorToRGB(clLime));
}

TEST_F(ComboBoxTest, OnDrawItemReplacesTheDefaultDrawing) {
  Combo->SetStyle(csOwnerDrawFixed);
  std::vector<int> drawn;
  Combo->OnDrawItem = [&](TObject* Sender, int Index, const TRect&, TOwnerDrawState) {
    EXPECT_EQ(Sender, Combo);
    drawn.push_back(Index);
  };
  ShowForm();
  Combo->SetDroppedDown(true);
  Application->ProcessMessages();
  std::sort(drawn.begin(), drawn.end());
  drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  Combo->SetDroppedDown(false);
  EXPECT_EQ(CloseUps, 1);
}

TEST_F(ComboBoxTest, ListOpensAboveWhenThereIsNoRoomBelow) {
  ListStyle();
  Combo->SetTop(200);
  ShowForm();
  Combo->SetDroppedDown(true);
  TRect lb = Combo->ListBounds();
  EXPECT_EQ(lb.Bottom, 200);
  EXPECT_EQ(Combo->ListControl()->GetTop(), lb.Top);
}

TEST_F(ComboBoxTest, DestroyingTheOpenComboLeavesTheFormClean) {
  ListStyle();
  ShowForm();
  Combo->SetDroppedDown(true);
  int n = Form->ControlCount();
  delete Combo;
  EXPECT_EQ(Form->ControlCount(), n - 2);
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  Input().Click(100, 100);  // no stale capture or hover
}

TEST_F(ComboBoxTest, EmptyListOpensAndClosesSafely) {
  ListStyle();
  Combo->GetItems()->Clear();
  ShowForm();
  Combo->SetFocus();
  Input().PressKey(VK_F4);
  Input().PressKey(VK_DOWN);
  Input().TypeText("a");
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Combo->GetDroppedDown());
  EXPECT_EQ(Combo->GetItemIndex(), -1);
  EXPECT_EQ(Changes, 0);
}

}  // namespace
}  // namespace qel::test

// The user switching to another application (or another of our forms) ends what was in
// progress: drop-downs and menus close without a choice, a held button lets go (no timer left),
// the form deactivates and, on return, activates again with the focus where it was.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/Messages.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class TPickGrid : public TDrawGrid {
 public:
  using TDrawGrid::TDrawGrid;
  int Edits = 0;  // values that reached the cells

 protected:
  TEditStyle GetEditStyle(int, int) override { return esPickList; }
  void GetPickListItems(int, int, TStrings& Items) override {
    for (int i = 0; i < 20; ++i) Items.Add("value " + std::to_string(i));
  }
  void SetEditText(int, int, const std::string&) override { ++Edits; }
};

// Counts the focus messages: each one in must be matched by one out.
class TCountingTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  int Ins = 0, Outs = 0;

 protected:
  void WMSetFocus(TMessage& Message) override {
    ++Ins;
    TTreeView::WMSetFocus(Message);
  }
  void WMKillFocus(TMessage& Message) override {
    ++Outs;
    TTreeView::WMKillFocus(Message);
  }
};

class Deactivation : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Form->SetBounds(0, 0, 400, 320);
    Form->OnActivate = [this](TObject*) { ++Activations; };
    Form->OnDeactivate = [this](TObject*) { ++Deactivations; };
  }
  // Away and back, checking the form's state on each side.
  void AwayAndBack() {
    Input().SwitchAway();
    EXPECT_FALSE(Form->Active());
    EXPECT_EQ(Screen->GetActiveForm(), nullptr);
    EXPECT_EQ(Form->CaptureControl(), nullptr);
    Input().SwitchBack();
    EXPECT_TRUE(Form->Active());
  }
  int Activations = 0;
  int Deactivations = 0;
};

TEST_F(Deactivation, TheComboListClosesWithoutAChoice) {
  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 10, 150, 21);
  combo->SetStyle(csDropDownList);
  for (int i = 0; i < 30; ++i) combo->GetItems()->Add("item " + std::to_string(i));
  combo->SetItemIndex(2);
  int changes = 0;
  combo->OnChange = combo->OnSelect = [&](TObject*) { ++changes; };
  ShowForm();
  Activations = 0;
  combo->SetDroppedDown(true);
  Input().PressKey(VK_DOWN);  // a highlight in the list is no choice yet
  ASSERT_TRUE(combo->GetDroppedDown());
  ASSERT_EQ(Form->CaptureControl(), combo->ListControl());
  Input().SwitchAway();
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_FALSE(combo->ListControl()->GetVisible());
  EXPECT_EQ(combo->GetItemIndex(), 2);
  EXPECT_EQ(changes, 0);
  Input().SwitchBack();
  EXPECT_TRUE(combo->Focused());
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_EQ(Activations, 1);
  EXPECT_EQ(Deactivations, 1);
}

TEST_F(Deactivation, TheGridPickListClosesWithoutAChoice) {
  auto* grid = new TPickGrid(Form);
  grid->SetParent(Form);
  grid->SetBounds(10, 10, 300, 100);
  grid->SetOptions(grid->GetOptions() << goEditing);
  ShowForm();
  Input().PressKey(VK_F2);
  TInplaceEdit* e = grid->InplaceEditor();
  ASSERT_TRUE(e);
  std::string text = e->GetText();
  Input().PressKey(VK_DOWN, {ssAlt});
  Input().PressKey(VK_DOWN);
  ASSERT_TRUE(e->GetDroppedDown());
  AwayAndBack();
  EXPECT_FALSE(e->GetDroppedDown());
  EXPECT_EQ(e->GetText(), text);
  EXPECT_EQ(grid->Edits, 0);
  EXPECT_TRUE(e->Focused());  // editing goes on where it was
  EXPECT_EQ(Deactivations, 1);
}

TEST_F(Deactivation, TheDropDownCalendarClosesAndItsHeldArrowStops) {
  auto* picker = new TDateTimePicker(Form);
  picker->SetParent(Form);
  picker->SetDateTime(EncodeDate(2024, 3, 5));
  int changes = 0;
  picker->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  picker->SetFocus();
  int idle = Application->TimerCount();
  picker->SetDroppedDown(true);
  TMonthCalendar* c = picker->Calendar();
  TRect b = c->NextButtonRect();
  TPoint p = At(c, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  Input().MouseMove(p.X, p.Y);
  Input().MouseDown(p.X, p.Y);
  ASSERT_EQ(Application->TimerCount(), idle + 1);
  ASSERT_NE(c->GetDate(), EncodeDate(2024, 3, 5));
  Input().SwitchAway();
  EXPECT_FALSE(picker->GetDroppedDown());
  EXPECT_EQ(Application->TimerCount(), idle);
  Input().MouseUp(p.X, p.Y);  // the release comes late, to no one
  Application->AdvanceTime(1000);
  Input().SwitchBack();
  EXPECT_EQ(picker->GetDateTime(), EncodeDate(2024, 3, 5));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(picker->Focused());
  EXPECT_FALSE(picker->GetDroppedDown());
}

TEST_F(Deactivation, APopupMenuClosesWithoutAChoiceAndTheEditKeepsItsSelection) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 120, 21);
  edit->SetText("hello world");
  auto* menu = new TPopupMenu(Form);
  int clicks = 0;
  for (const char* s : {"Cut", "Copy"}) {
    auto* it = new TMenuItem(Form);
    it->SetCaption(s);
    it->OnClick = [&](TObject*) { ++clicks; };
    menu->GetItems()->Add(it);
  }
  ShowForm();
  ASSERT_TRUE(edit->Focused());
  edit->SetSelStart(2);
  edit->SetSelLength(3);
  TPoint s = Form->ClientToScreen({40, 60});
  menu->Popup(s.X, s.Y);
  Input().PressKey(VK_DOWN);
  ASSERT_TRUE(menu->IsOpen());
  AwayAndBack();
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->GetSelStart(), 2);
  EXPECT_EQ(edit->GetSelLength(), 3);
  EXPECT_EQ(Deactivations, 1);
}

TEST_F(Deactivation, TheTreeLabelEditorEndsAndTheTreeKeepsTheFocus) {
  auto* tree = new TCountingTree(Form);
  tree->SetParent(Form);
  tree->SetBounds(10, 10, 200, 150);
  TTreeNode* n = tree->GetItems()->Add(nullptr, "first");
  ShowForm();
  ASSERT_TRUE(tree->StartEditing(n));
  tree->GetEditControl()->SetText("renamed");
  Input().SwitchAway();
  EXPECT_FALSE(tree->IsEditing());
  EXPECT_FALSE(tree->Focused());
  // Leaving the editor gave the focus back to the tree: it left with the window as well.
  EXPECT_EQ(Form->FocusedControl(), tree);
  EXPECT_EQ(tree->Ins, tree->Outs);
  EXPECT_EQ(n->GetText(), "renamed");  // what was typed is kept, as on any leaving
  Input().SwitchBack();
  EXPECT_TRUE(tree->Focused());
  EXPECT_EQ(tree->Ins, tree->Outs + 1);
  EXPECT_EQ(Activations, 2);  // the show, then the return
}

TEST_F(Deactivation, AMemoThumbDragStops) {
  auto* memo = new TMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(10, 10, 200, 120);
  TStringList many;
  for (int i = 0; i < 60; ++i) many.Add("row " + std::to_string(i));
  memo->SetLines(&many);
  memo->SetScrollBars(ssVertical);
  ShowForm();
  TRect t = memo->VThumbRect();
  TPoint grab = At(memo, t.Left + 8, t.Top + 2);
  Input().MouseMove(grab.X, grab.Y);
  Input().MouseDown(grab.X, grab.Y);
  Input().MouseMove(grab.X, grab.Y + 20);
  int top = memo->GetTopLine();
  ASSERT_GT(top, 0);
  Input().SwitchAway();
  Input().SwitchBack();
  // The button came up elsewhere: moving over the bar no longer drags the thumb.
  Input().MouseMove(grab.X, grab.Y + 60);
  EXPECT_EQ(memo->GetTopLine(), top);
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(Deactivation, AHeldGridScrollArrowStopsAndLeavesNoTimer) {
  auto* grid = new TDrawGrid(Form);
  grid->SetParent(Form);
  grid->SetBounds(10, 10, 300, 200);
  grid->SetRowCount(200);
  ShowForm();
  int idle = Application->TimerCount();
  TRect vb = grid->VertScrollBarRect();
  TPoint down = At(grid, vb.Left + 8, vb.Bottom - 4);
  Input().MouseDown(down.X, down.Y);
  Application->AdvanceTime(TCustomGrid::RepeatDelayMs);
  int top = grid->GetTopRow();
  ASSERT_EQ(Application->TimerCount(), idle + 1);
  Input().SwitchAway();
  EXPECT_EQ(Application->TimerCount(), idle);
  Application->AdvanceTime(1000);
  EXPECT_EQ(grid->GetTopRow(), top);
  Input().SwitchBack();
  Application->AdvanceTime(1000);
  EXPECT_EQ(grid->GetTopRow(), top);
  EXPECT_EQ(Application->TimerCount(), idle);
}

TEST_F(Deactivation, TheFocusReturnsWithoutReselectingAnAutoSelectEdit) {
  auto* first = new TEdit(Form);
  first->SetParent(Form);
  first->SetBounds(10, 10, 120, 21);
  auto* second = new TEdit(Form);
  second->SetParent(Form);
  second->SetBounds(10, 40, 120, 21);
  second->SetText("some text");
  int enters = 0;
  second->OnEnter = [&](TObject*) { ++enters; };
  ShowForm();
  Input().Click(At(second, 30, 8).X, At(second, 30, 8).Y);
  ASSERT_TRUE(second->Focused());
  second->SetSelStart(4);
  enters = 0;
  Activations = Deactivations = 0;
  AwayAndBack();
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(second->GetSelStart(), 4);
  EXPECT_EQ(second->GetSelLength(), 0);
  EXPECT_EQ(enters, 0);  // coming back is no entering
  EXPECT_EQ(Activations, 1);
  EXPECT_EQ(Deactivations, 1);
  // A second report of the same loss changes nothing.
  Input().SwitchAway();
  Input().SwitchAway();
  EXPECT_EQ(Deactivations, 2);
  Input().SwitchBack();
  Input().TypeText("X");  // typing goes on at the caret, not over the whole text
  EXPECT_EQ(second->GetText(), "someX text");
}

TEST_F(Deactivation, AModalFormStaysModalWhileInactive) {
  auto* dialog = new TForm(Application);
  dialog->SetBounds(0, 0, 200, 100);
  auto* edit = new TEdit(dialog);
  edit->SetParent(dialog);
  int deacts = 0;
  dialog->OnDeactivate = [&](TObject*) { ++deacts; };
  ShowForm();
  Application->OnModalShow = [&](TForm* F) {
    THeadlessInput in(F);
    in.SwitchAway();
    EXPECT_FALSE(F->Active());
    EXPECT_EQ(Application->ModalForm(), F);
    EXPECT_TRUE(F->GetVisible());
    EXPECT_FALSE(Form->Active());  // the form below does not take over
    in.SwitchBack();
    EXPECT_TRUE(F->Active());
    EXPECT_TRUE(edit->Focused());
    F->SetModalResult(mrOk);
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(deacts, 2);  // the switch, then the close
  EXPECT_TRUE(Form->Active());
}

TEST_F(Deactivation, AnotherOfOurFormsTakingTheFocusEndsTheDropDownAndCapture) {
  auto* combo = new TComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 10, 150, 21);
  combo->SetStyle(csDropDownList);
  for (int i = 0; i < 5; ++i) combo->GetItems()->Add("item " + std::to_string(i));
  ShowForm();
  auto* other = new TForm(Application);
  other->SetBounds(50, 50, 200, 100);
  auto* otherEdit = new TEdit(other);
  otherEdit->SetParent(other);
  other->Show();
  Form->NativeActivated();
  ASSERT_TRUE(Form->Active());
  combo->SetDroppedDown(true);
  ASSERT_EQ(Form->CaptureControl(), combo->ListControl());
  // As a backend reports it: the old window's loss, then the new one's gain.
  Form->NativeDeactivated();
  other->NativeActivated();
  Application->ProcessMessages();
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  EXPECT_EQ(Screen->GetActiveForm(), other);
  EXPECT_TRUE(otherEdit->Focused());
  // The other way round (the gain reported first) ends it as well.
  Form->NativeActivated();
  combo->SetDroppedDown(true);
  other->NativeActivated();
  Form->NativeDeactivated();
  EXPECT_FALSE(combo->GetDroppedDown());
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  EXPECT_TRUE(other->Active());
  Form->NativeActivated();
  EXPECT_TRUE(combo->Focused());
  EXPECT_FALSE(other->Active());
}

}  // namespace
}  // namespace qel::test

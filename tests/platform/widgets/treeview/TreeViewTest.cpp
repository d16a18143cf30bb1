// The tree view driven through injected input: every navigation key, type-ahead, buttons and
// labels hit by the mouse (also after scrolling), the wheel and the scroll bars, label editing,
// a large tree, and the look.
#include <gtest/gtest.h>

#include "platform/controls/Messages.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/treeview/TreeFixture.h"

namespace qel::test {
namespace {

class TreeViewTest : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    Build({"Animals", "\tBirds", "\t\tEagle", "\t\tRobin", "\tCats", "\tDogs", "Plants", "\tFerns",
           "\tTrees", "Rocks"});
  }
  void Press(uint16_t Key, TShiftState Shift = {}) { Input().PressKey(Key, Shift); }
};

// ---------------------------------------------------------------- keys

TEST_F(TreeViewTest, ArrowsHomeEndAndPagesMoveThroughTheShownRows) {
  Focus();
  Press(VK_DOWN);  // nothing selected: the first row
  EXPECT_EQ(SelectedText(), "Animals");
  Press(VK_DOWN);
  EXPECT_EQ(SelectedText(), "Plants");  // collapsed branches are skipped
  Press(VK_END);
  EXPECT_EQ(SelectedText(), "Rocks");
  Press(VK_UP);
  EXPECT_EQ(SelectedText(), "Plants");
  Press(VK_HOME);
  EXPECT_EQ(SelectedText(), "Animals");
  Press(VK_UP);  // stays at the top
  EXPECT_EQ(SelectedText(), "Animals");
  Tree->FullExpand();
  int page = Tree->VisibleRowCount() - 1;
  ASSERT_GT(page, 1);
  Press(VK_NEXT);
  EXPECT_EQ(Tree->GetSelected(), Tree->RowNode(page));
  Press(VK_NEXT);
  Press(VK_NEXT);
  EXPECT_EQ(SelectedText(), "Rocks");
  EXPECT_EQ(Tree->TopRow(), Tree->RowCount() - Tree->VisibleRowCount());  // kept in view
  Press(VK_PRIOR);
  EXPECT_EQ(Tree->GetSelected(), Tree->RowNode(Tree->RowCount() - 1 - page));
  Press(VK_PRIOR);
  Press(VK_PRIOR);
  EXPECT_EQ(SelectedText(), "Animals");
  EXPECT_EQ(Tree->TopRow(), 0);
  EXPECT_EQ(Changes.size(), 9u);
}

TEST_F(TreeViewTest, LeftAndRightCollapseExpandAndStepBetweenParentAndChild) {
  Focus();
  Tree->SetSelected(Node("Animals"));
  Press(VK_RIGHT);  // expands
  EXPECT_TRUE(Node("Animals")->GetExpanded());
  EXPECT_EQ(SelectedText(), "Animals");
  Press(VK_RIGHT);  // to the first child
  EXPECT_EQ(SelectedText(), "Birds");
  Press(VK_RIGHT);
  Press(VK_RIGHT);
  EXPECT_EQ(SelectedText(), "Eagle");
  Press(VK_RIGHT);  // a leaf: nothing
  EXPECT_EQ(SelectedText(), "Eagle");
  Press(VK_LEFT);  // a leaf: to the parent
  EXPECT_EQ(SelectedText(), "Birds");
  Press(VK_LEFT);  // expanded: collapses
  EXPECT_FALSE(Node("Birds")->GetExpanded());
  EXPECT_EQ(SelectedText(), "Birds");
  Press(VK_LEFT);
  EXPECT_EQ(SelectedText(), "Animals");
  Press(VK_LEFT);
  EXPECT_FALSE(Node("Animals")->GetExpanded());
  Press(VK_LEFT);  // top level, collapsed: stays
  EXPECT_EQ(SelectedText(), "Animals");
}

TEST_F(TreeViewTest, CtrlArrowsScrollWithoutSelectingAndBackspaceGoesToTheParent) {
  std::vector<std::string> lines{"top"};
  for (int i = 0; i < 40; ++i)
    lines.push_back("\tchild " + std::to_string(i) + " of a wide branch");
  Build(lines);
  Tree->SetBounds(10, 10, 120, 150);
  Tree->FullExpand();
  Focus();
  Tree->SetSelected(Node("child 3 of a wide branch"));
  Changes.clear();
  Press(VK_DOWN, {ssCtrl});
  Press(VK_DOWN, {ssCtrl});
  EXPECT_EQ(Tree->TopRow(), 2);
  Press(VK_NEXT, {ssCtrl});
  EXPECT_EQ(Tree->TopRow(), 2 + Tree->VisibleRowCount() - 1);
  Press(VK_END, {ssCtrl});
  EXPECT_EQ(Tree->TopRow(), Tree->RowCount() - Tree->VisibleRowCount());
  Press(VK_HOME, {ssCtrl});
  EXPECT_EQ(Tree->TopRow(), 0);
  Press(VK_RIGHT, {ssCtrl});
  EXPECT_EQ(Tree->GetScrollX(), 16);
  Press(VK_LEFT, {ssCtrl});
  EXPECT_EQ(Tree->GetScrollX(), 0);
  EXPECT_TRUE(Changes.empty());
  Press(VK_BACK);
  EXPECT_EQ(SelectedText(), "top");
  Press(VK_BACK);  // the top level has no parent
  EXPECT_EQ(SelectedText(), "top");
}

TEST_F(TreeViewTest, KeypadPlusMinusAndStarExpandCollapseAndExpandAllBelow) {
  Focus();
  Tree->SetSelected(Node("Animals"));
  Press(VK_MULTIPLY);
  EXPECT_TRUE(Node("Animals")->GetExpanded());
  EXPECT_TRUE(Node("Birds")->GetExpanded());
  EXPECT_FALSE(Node("Plants")->GetExpanded());
  Press(VK_SUBTRACT);
  EXPECT_FALSE(Node("Animals")->GetExpanded());
  EXPECT_TRUE(Node("Birds")->GetExpanded());  // remembered inside
  Press(VK_ADD);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Animals", "Birds", "Eagle", "Robin", "Cats", "Dogs",
                                              "Plants", "Rocks"}));
  EXPECT_EQ(SelectedText(), "Animals");  // the typed +, - and * searched nothing
}

TEST_F(TreeViewTest, TypeAheadFindsByFirstLettersAndResetsAfterAPause) {
  Focus();
  Tree->FullExpand();
  Input().TypeText("r");
  EXPECT_EQ(SelectedText(), "Robin");
  Input().TypeText("r");  // the same letter again: the next match
  EXPECT_EQ(SelectedText(), "Rocks");
  Input().TypeText("r");  // wraps
  EXPECT_EQ(SelectedText(), "Robin");
  Application->AdvanceTime(1500);
  Input().TypeText("tr");
  EXPECT_EQ(SelectedText(), "Trees");
  Input().TypeText("x");  // no match: stays
  EXPECT_EQ(SelectedText(), "Trees");
  Application->AdvanceTime(1500);
  Input().TypeText("CA");  // case does not matter
  EXPECT_EQ(SelectedText(), "Cats");
}

TEST_F(TreeViewTest, EnterAndEscapeAreLeftToTheDialog) {
  Focus();
  LRESULT code = Tree->Perform(WM_GETDLGCODE);
  EXPECT_TRUE(code & DLGC_WANTARROWS);
  EXPECT_FALSE(code & DLGC_WANTALLKEYS);
  EXPECT_FALSE(code & DLGC_WANTTAB);
  uint16_t key = VK_RETURN;
  Tree->KeyDown(key, {});
  EXPECT_EQ(key, VK_RETURN);
  key = VK_ESCAPE;
  Tree->KeyDown(key, {});
  EXPECT_EQ(key, VK_ESCAPE);
}

// ---------------------------------------------------------------- mouse

TEST_F(TreeViewTest, ButtonsToggleLabelsSelectAndTheIndentDoesNothing) {
  Focus();
  TTreeNode* animals = Node("Animals");
  TPoint b = ButtonPoint(animals);
  Input().Click(b.X, b.Y);
  EXPECT_TRUE(animals->GetExpanded());
  EXPECT_EQ(Tree->GetSelected(), nullptr);  // the button does not select
  TTreeNode* birds = Node("Birds");
  EXPECT_TRUE(Tree->GetHitTestInfoAt(Tree->ButtonRect(birds).Left, Tree->ButtonRect(birds).Top)
                  .Contains(htOnButton));
  TPoint t = TextPoint(birds);
  Input().Click(t.X, t.Y);
  EXPECT_EQ(Tree->GetSelected(), birds);
  ASSERT_EQ(Changes.size(), 1u);
  EXPECT_EQ(Changes[0], birds);
  // Left of Cats (a leaf) is indent, not a button.
  TRect cats = Node("Cats")->DisplayRect(true);
  TPoint indent = At(Tree, cats.Left - 8, cats.Top + 4);
  EXPECT_TRUE(Tree->GetHitTestInfoAt(cats.Left - 8, cats.Top + 4).Contains(htOnIndent));
  Input().Click(indent.X, indent.Y);
  EXPECT_EQ(Tree->GetSelected(), birds);
  TPoint right = At(Tree, cats.Right + 5, cats.Top + 4);
  EXPECT_TRUE(Tree->GetHitTestInfoAt(cats.Right + 5, cats.Top + 4).Contains(htOnRight));
  Input().Click(right.X, right.Y);
  EXPECT_EQ(Tree->GetSelected(), birds);
  Input().Click(b.X, b.Y);  // collapses again
  EXPECT_FALSE(animals->GetExpanded());
  EXPECT_EQ(Tree->GetSelected(), animals);  // the selection left the hidden branch
}

TEST_F(TreeViewTest, HotTrackFollowsThePointerWithAHandOverLabels) {
  Focus();
  TPoint p = TextPoint(Node("Plants"));
  Input().MouseMove(p.X, p.Y);
  EXPECT_EQ(Tree->HotNode(), nullptr);  // off by default
  TPoint c = At(Tree, 0, 0);
  EXPECT_EQ(Tree->GetCursorAt(p.X - c.X, p.Y - c.Y), crDefault);
  Tree->SetHotTrack(true);
  Input().MouseMove(p.X + 1, p.Y);
  EXPECT_EQ(Tree->HotNode(), Node("Plants"));
  EXPECT_EQ(Tree->GetCursorAt(p.X - c.X, p.Y - c.Y), crHandPoint);
  TRect r = Node("Plants")->DisplayRect(true);
  TPoint right = At(Tree, r.Right + 10, r.Top + 3);
  Input().MouseMove(right.X, right.Y);
  EXPECT_EQ(Tree->HotNode(), nullptr);
  Input().MouseMove(p.X, p.Y);
  Input().Leave();
  EXPECT_EQ(Tree->HotNode(), nullptr);
}

TEST_F(TreeViewTest, DoubleClickTogglesExpansion) {
  Focus();
  int dbl = 0;
  Tree->OnDblClick = [&](TObject*) { ++dbl; };
  TPoint p = TextPoint(Node("Plants"));
  Input().DoubleClick(p.X, p.Y);
  EXPECT_TRUE(Node("Plants")->GetExpanded());
  EXPECT_EQ(SelectedText(), "Plants");
  EXPECT_EQ(dbl, 1);
  Input().DoubleClick(p.X, p.Y);
  EXPECT_FALSE(Node("Plants")->GetExpanded());
  Application->AdvanceTime(2000);
  EXPECT_FALSE(Tree->IsEditing());  // a double click is no slow second click
}

TEST_F(TreeViewTest, HitTestingFollowsVerticalAndHorizontalScrolling) {
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) {
    lines.push_back("node " + std::to_string(i));
    lines.push_back("\tchild of " + std::to_string(i) + " with a long text that is wider");
  }
  Build(lines);
  Tree->SetBounds(10, 10, 150, 120);
  Focus();
  Tree->SetTopRow(12);
  EXPECT_EQ(Tree->GetTopItem()->GetText(), "node 12");
  TTreeNode* n13 = Node("node 13");
  TPoint b = ButtonPoint(n13);
  Input().Click(b.X, b.Y);
  EXPECT_TRUE(n13->GetExpanded());
  EXPECT_EQ(Tree->GetTopItem()->GetText(), "node 12");  // the top stays put
  ASSERT_FALSE(Tree->HScrollBarRect().IsEmpty());
  Tree->SetScrollX(30);
  EXPECT_EQ(Tree->GetScrollX(), 30);
  TTreeNode* child = Node("child of 13 with a long text that is wider");
  TRect r = child->DisplayRect(true);
  EXPECT_EQ(r.Left, Tree->RowsArea().Left + 2 * Tree->GetIndent() + 2 - 30);
  TPoint t = TextPoint(child);
  Input().Click(t.X, t.Y);
  EXPECT_EQ(Tree->GetSelected(), child);
  // The button moved left with the rows: its old place is now indent of node 14.
  TTreeNode* n14 = Node("node 14");
  TRect nb = Tree->ButtonRect(n14);
  EXPECT_EQ(nb.Left, Tree->RowsArea().Left + Tree->GetIndent() / 2 - 4 - 30);
  EXPECT_EQ(Tree->GetNodeAt(5, n14->DisplayRect(false).Top + 2), n14);
  EXPECT_EQ(Tree->GetNodeAt(5, Tree->RowsArea().Bottom + 1), nullptr);
}

TEST_F(TreeViewTest, TheWheelAndTheScrollBarScroll) {
  std::vector<std::string> lines;
  for (int i = 0; i < 50; ++i) lines.push_back("row " + std::to_string(i));
  Build(lines);
  Focus();
  TRect bar = Tree->VScrollBarRect();
  ASSERT_FALSE(bar.IsEmpty());
  EXPECT_TRUE(Tree->HScrollBarRect().IsEmpty());
  TPoint mid = At(Tree, 50, 50);
  Input().WheelAt(mid.X, mid.Y, -WHEEL_DELTA);
  EXPECT_EQ(Tree->TopRow(), 3);
  Input().WheelAt(mid.X, mid.Y, WHEEL_DELTA * 2);
  EXPECT_EQ(Tree->TopRow(), 0);
  // Arrow buttons step a row, the track pages.
  TPoint down = At(Tree, bar.Left + 8, bar.Bottom - 8);
  Input().Click(down.X, down.Y);
  EXPECT_EQ(Tree->TopRow(), 1);
  TPoint track = At(Tree, bar.Left + 8, bar.Bottom - 20);
  Input().Click(track.X, track.Y);
  EXPECT_EQ(Tree->TopRow(), 1 + Tree->VisibleRowCount() - 1);
  // Dragging the thumb to the end of the track shows the last rows.
  TRect thumb = Tree->VThumbRect();
  TPoint from = At(Tree, thumb.Left + 8, thumb.Top + 2);
  TPoint to = At(Tree, thumb.Left + 8, bar.Bottom + 40);
  Input().Drag(from, to);
  EXPECT_EQ(Tree->TopRow(), Tree->RowCount() - Tree->VisibleRowCount());
  thumb = Tree->VThumbRect();
  EXPECT_EQ(thumb.Bottom, bar.Bottom - 16);
  Input().Drag(At(Tree, thumb.Left + 8, thumb.Bottom - 2), At(Tree, thumb.Left + 8, bar.Top - 40));
  EXPECT_EQ(Tree->TopRow(), 0);
  EXPECT_EQ(Tree->GetSelected(), nullptr);  // scrolling selects nothing
}

// ---------------------------------------------------------------- label editing

TEST_F(TreeViewTest, F2EditsEnterCommitsThroughOnEditedAndEscCancels) {
  Focus();
  Tree->SetSelected(Node("Rocks"));
  std::string seen;
  Tree->OnEdited = [&](TObject*, TTreeNode*, std::string& S) {
    seen = S;
    S += "!";
  };
  Press(VK_F2);
  ASSERT_TRUE(Tree->IsEditing());
  TCustomEdit* ed = Tree->GetEditControl();
  ASSERT_NE(ed, nullptr);
  EXPECT_TRUE(ed->Focused());
  EXPECT_EQ(ed->GetSelText(), "Rocks");
  Input().TypeText("Stones");
  Press(VK_RETURN);
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_EQ(seen, "Stones");
  EXPECT_EQ(SelectedText(), "Stones!");
  EXPECT_TRUE(Tree->Focused());
  Press(VK_F2);
  Input().TypeText("Pebbles");
  Press(VK_ESCAPE);
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_EQ(SelectedText(), "Stones!");
  EXPECT_TRUE(Tree->Focused());
  // Leaving the editor commits.
  Press(VK_F2);
  Input().TypeText("Gravel");
  Tree->SetFocus();
  EXPECT_EQ(SelectedText(), "Gravel!");
}

TEST_F(TreeViewTest, OnEditingAndReadOnlyRefuseEditing) {
  Focus();
  Tree->SetSelected(Node("Plants"));
  Tree->OnEditing = [](TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "Plants"; };
  Press(VK_F2);
  EXPECT_FALSE(Tree->IsEditing());
  Tree->SetSelected(Node("Rocks"));
  Tree->SetReadOnly(true);
  Press(VK_F2);
  EXPECT_FALSE(Tree->IsEditing());
  Tree->SetReadOnly(false);
  Node("Rocks")->EditText();
  EXPECT_TRUE(Tree->IsEditing());
  Tree->SetReadOnly(true);  // stops the edit without taking it
  EXPECT_FALSE(Tree->IsEditing());
}

TEST_F(TreeViewTest, ASlowSecondClickOnTheSelectedNodeOpensTheEditor) {
  Focus();
  TPoint p = TextPoint(Node("Plants"));
  Input().Click(p.X, p.Y);
  Application->AdvanceTime(1000);
  EXPECT_FALSE(Tree->IsEditing());  // the first click only selects
  Input().Click(p.X, p.Y);
  EXPECT_FALSE(Tree->IsEditing());  // not yet: it may become a double click
  Application->AdvanceTime(600);
  ASSERT_TRUE(Tree->IsEditing());
  EXPECT_EQ(Tree->EditingNode(), Node("Plants"));
  Press(VK_ESCAPE);
  EXPECT_FALSE(Tree->IsEditing());
}

// ---------------------------------------------------------------- a large tree

TEST_F(TreeViewTest, AHundredThousandNodesScrollAndNavigate) {
  TTreeNodes* items = Tree->GetItems();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < 1000; ++i) {
    TTreeNode* p = items->AddChild(nullptr, "group " + std::to_string(i));
    for (int k = 0; k < 99; ++k) items->AddChild(p, "item " + std::to_string(i * 100 + k));
  }
  items->EndUpdate();
  ASSERT_EQ(items->Count(), 100000);
  Tree->FullExpand();
  ASSERT_EQ(Tree->RowCount(), 100000);
  Focus();
  Press(VK_END);
  EXPECT_EQ(SelectedText(), "item 99998");
  EXPECT_EQ(Tree->TopRow(), 100000 - Tree->VisibleRowCount());
  EXPECT_EQ(items->Item(99999), Tree->GetSelected());
  EXPECT_EQ(Tree->GetSelected()->GetAbsoluteIndex(), 99999);
  for (int i = 0; i < 200; ++i) Tree->SetTopRow(i * 500);
  EXPECT_EQ(Tree->GetTopItem(), items->Item(99500));
  Surface();
  Tree->SetSelected(items->Item(50000));
  Press(VK_LEFT);
  EXPECT_EQ(SelectedText(), "group 500");
  Press(VK_LEFT);
  EXPECT_EQ(Tree->RowCount(), 100000 - 99);
}

TEST_F(TreeViewTest, DegenerateSizesAndVeryDeepTreesStaySound) {
  Focus();
  Tree->SetBounds(10, 10, 0, 0);
  Tree->FullExpand();
  Press(VK_END);
  EXPECT_EQ(SelectedText(), "Rocks");
  EXPECT_EQ(Tree->GetTopItem(), Node("Rocks"));
  EXPECT_EQ(Tree->GetNodeAt(0, 0), nullptr);
  Surface();
  // A chain ten thousand levels deep with the widest indent: no recursion, no overflow.
  Tree->SetBounds(10, 10, 200, 150);
  Tree->SetIndent(5000);
  EXPECT_EQ(Tree->GetIndent(), 1000);
  TTreeNode* n = nullptr;
  for (int i = 0; i < 10000; ++i) n = Tree->GetItems()->AddChild(n, "level " + std::to_string(i));
  Tree->SetSelected(n);
  EXPECT_TRUE(n->IsVisible());
  EXPECT_EQ(n->GetLevel(), 9999);
  EXPECT_GT(Tree->GetScrollX(), -1);
  Tree->SetScrollX(1 << 30);
  EXPECT_GT(Tree->GetScrollX(), 1000000);
  Surface();
  Tree->GetItems()->Clear();
  EXPECT_EQ(Tree->GetItems()->Count(), 0);
}

// ---------------------------------------------------------------- the look

TEST_F(TreeViewTest, LinesButtonsSelectionAndHotTrackLook) {
  Tree->SetBounds(4, 4, 190, 150);
  Tree->SetHotTrack(true);
  Node("Animals")->Expand(false);
  Node("Birds")->Expand(false);
  Node("Plants")->SetHasChildren(true);
  Focus();
  Tree->SetSelected(Node("Robin"));
  TPoint hot = TextPoint(Node("Cats"));
  Input().MouseMove(hot.X, hot.Y);
  ASSERT_EQ(Tree->HotNode(), Node("Cats"));
  const TBitmap& s = Surface();
  TBitmap shot;
  shot.SetSize(198, 158);
  shot.Canvas()->CopyRect(Rect(0, 0, 198, 158), Form->Surface()->Canvas(), Rect(0, 0, 198, 158));
  (void)s;
  ExpectMatchesGolden(shot, "treeview_look");
  // The 9x9 button box sits centred in the indent column of its node.
  TRect b = Tree->ButtonRect(Node("Birds"));
  EXPECT_EQ(b.Width(), 9);
  EXPECT_EQ(b.Height(), 9);
  TRect t = Node("Robin")->DisplayRect(true);
  TPoint o = At(Tree, 0, 0);
  EXPECT_EQ(PixelAt(*Form->Surface(), o.X + t.Left + 1, o.Y + t.Top + 1),
            ColorToRGB(clHighlight) & 0xFFFFFF);
}

TEST_F(TreeViewTest, ScrollBarsNoLinesNoRootAndAnUnfocusedSelectionLook) {
  std::vector<std::string> lines;
  for (int i = 0; i < 12; ++i) {
    lines.push_back("branch " + std::to_string(i));
    lines.push_back("\ta leaf with a long text " + std::to_string(i));
  }
  Build(lines);
  Tree->SetBounds(4, 4, 140, 110);
  Tree->FullExpand();
  Tree->SetTopRow(3);
  Tree->SetScrollX(12);
  auto* plain = new TTreeView(Form);
  plain->SetParent(Form);
  plain->SetBounds(150, 4, 110, 110);
  plain->GetItems()->SetNodeLines({"one", "\ttwo", "\t\tthree", "four"});
  plain->FullExpand();
  plain->SetShowLines(false);
  plain->SetShowRoot(false);
  plain->SetBorderStyle(bsNone);
  plain->SetHideSelection(false);
  Focus();
  plain->SetSelected(plain->GetItems()->Item(1));
  Tree->SetSelected(Node("branch 2"));  // the tree has the focus, the plain one shows btnface
  ASSERT_FALSE(Tree->VScrollBarRect().IsEmpty());
  ASSERT_FALSE(Tree->HScrollBarRect().IsEmpty());
  Surface();
  TBitmap shot;
  shot.SetSize(264, 118);
  shot.Canvas()->CopyRect(Rect(0, 0, 264, 118), Form->Surface()->Canvas(), Rect(0, 0, 264, 118));
  ExpectMatchesGolden(shot, "treeview_variants");
}

TEST_F(TreeViewTest, HideSelectionShowsTheSelectionInButtonFaceOnlyWhenOff) {
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(220, 10, 80, 20);
  Focus();
  Tree->SetSelected(Node("Rocks"));
  other->SetFocus();
  TRect t = Node("Rocks")->DisplayRect(true);
  TPoint p = At(Tree, t.Left + 1, t.Top + 1);
  EXPECT_EQ(PixelAt(Surface(), p.X, p.Y), ColorToRGB(clWindow) & 0xFFFFFF);
  Tree->SetHideSelection(false);
  EXPECT_EQ(PixelAt(Surface(), p.X, p.Y), ColorToRGB(clBtnFace) & 0xFFFFFF);
}

}  // namespace
}  // namespace qel::test

// The node model: adding in every position, index order, navigation, lazy children through
// OnExpanding, the allow flags, deletion (selection, events, handlers that delete), sorting and
// the nodes as lines in form files.
#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/StrUtils.h"
#include "tests/platform/widgets/treeview/TreeFixture.h"

namespace qel::test {
namespace {

using TreeNodesTest = TreeTest;

TEST_F(TreeNodesTest, AddingInEveryPositionGivesDepthFirstIndexOrder) {
  TTreeNodes* items = Tree->GetItems();
  TTreeNode* b = items->Add(nullptr, "b");
  TTreeNode* d = items->Add(b, "d");
  TTreeNode* a = items->AddFirst(d, "a");
  TTreeNode* c = items->Insert(d, "c");
  TTreeNode* b2 = items->AddChild(b, "b2");
  TTreeNode* b1 = items->AddChildFirst(b, "b1");
  TTreeNode* b1x = items->AddChildObject(b1, "b1x", reinterpret_cast<void*>(42));
  TTreeNode* e = items->Insert(nullptr, "e");
  ASSERT_EQ(items->Count(), 8);
  std::vector<std::string> order;
  for (int i = 0; i < items->Count(); ++i) {
    order.push_back(items->Item(i)->GetText());
    EXPECT_EQ(items->Item(i)->GetAbsoluteIndex(), i);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"a", "b", "b1", "b1x", "b2", "c", "d", "e"}));
  EXPECT_EQ(items->GetFirstNode(), a);
  EXPECT_EQ(b->Count(), 2);
  EXPECT_EQ(b->Item(1), b2);
  EXPECT_EQ(b2->GetIndex(), 1);
  EXPECT_EQ(b1x->GetLevel(), 2);
  EXPECT_EQ(b1x->GetParent(), b1);
  EXPECT_EQ(b->GetParent(), nullptr);
  EXPECT_EQ(b1x->GetData(), reinterpret_cast<void*>(42));
  EXPECT_TRUE(b->GetHasChildren());
  EXPECT_FALSE(c->GetHasChildren());
  EXPECT_EQ(c->GetPrevSibling(), b);
  EXPECT_EQ(c->GetNextSibling(), d);
  EXPECT_EQ(e->GetNextSibling(), nullptr);
  EXPECT_TRUE(b1x->HasAsParent(b));
  // GetNext walks the same order as the index; GetPrev walks it back.
  std::vector<std::string> walk;
  for (TTreeNode* n = items->GetFirstNode(); n; n = n->GetNext()) walk.push_back(n->GetText());
  EXPECT_EQ(walk, order);
  EXPECT_EQ(d->GetPrev(), c);
  EXPECT_EQ(c->GetPrev(), b2);
  // Only the top level shows while everything is collapsed.
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
  b->Expand(false);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "b1", "b2", "c", "d", "e"}));
}

TEST_F(TreeNodesTest, BadIndexesAndForeignNodesRaise) {
  Build({"a", "\tb"});
  EXPECT_THROW(Tree->GetItems()->Item(2), EListError);
  EXPECT_THROW(Tree->GetItems()->Item(-1), EListError);
  EXPECT_THROW(Node("a")->Item(1), EListError);
  TTreeView other(nullptr);
  TTreeNode* x = other.GetItems()->Add(nullptr, "x");
  EXPECT_THROW(Tree->GetItems()->AddChild(x, "y"), ETreeViewError);
  EXPECT_THROW(Tree->GetItems()->Delete(x), ETreeViewError);
  EXPECT_THROW(Tree->SetSelected(x), ETreeViewError);
  EXPECT_EQ(other.GetItems()->Count(), 1);
}

// ---------------------------------------------------------------- lazy children

TEST_F(TreeNodesTest, LazyChildrenArriveThroughOnExpandingAndShow) {
  TTreeNode* root = Tree->GetItems()->Add(nullptr, "C:");
  root->SetHasChildren(true);
  EXPECT_FALSE(Tree->ButtonRect(root).IsEmpty());  // a button before any child exists
  int expanding = 0, expanded = 0;
  Tree->OnExpanding = [&](TObject*, TTreeNode* N, bool& Allow) {
    ++expanding;
    EXPECT_TRUE(Allow);
    if (N->Count() == 0)
      for (const char* s : {"bin", "etc", "usr"})
        Tree->GetItems()->AddChild(N, s)->SetHasChildren(true);
  };
  Tree->OnExpanded = [&](TObject*, TTreeNode* N) {
    ++expanded;
    EXPECT_TRUE(N->GetExpanded());
  };
  root->SetExpanded(true);
  EXPECT_EQ(expanding, 1);
  EXPECT_EQ(expanded, 1);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"C:", "bin", "etc", "usr"}));
  EXPECT_FALSE(Tree->ButtonRect(Node("etc")).IsEmpty());
}

TEST_F(TreeNodesTest, AHandlerThatDeletesAndReAddsTheChildrenMidExpansionIsSafe) {
  Build({"root", "\told1", "\t\tdeep", "\told2"});
  TTreeNode* root = Node("root");
  TTreeNode* deep = Node("deep");
  Node("old1")->Expand(false);
  root->Collapse(false);
  Tree->SetSelected(root);
  int deletions = 0;
  Tree->OnDeletion = [&](TObject*, TTreeNode*) { ++deletions; };
  Tree->OnExpanding = [&](TObject*, TTreeNode* N, bool&) {
    N->DeleteChildren();
    Tree->GetItems()->AddChild(N, "new1");
    Tree->GetItems()->AddChild(N, "new2");
  };
  (void)deep;
  root->Expand(false);
  EXPECT_EQ(deletions, 3);
  EXPECT_TRUE(root->GetExpanded());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"root", "new1", "new2"}));
  EXPECT_EQ(Tree->GetItems()->Count(), 3);
  // Expanding again runs the handler again on the fresh children.
  root->Collapse(false);
  root->Expand(true);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"root", "new1", "new2"}));
  EXPECT_EQ(deletions, 5);
}

TEST_F(TreeNodesTest, ExpandingToNothingDropsTheButtonAndDeletingTheNodeInTheHandlerIsSafe) {
  Build({"empty", "doomed"});
  TTreeNode* empty = Node("empty");
  empty->SetHasChildren(true);
  Node("doomed")->SetHasChildren(true);
  bool expandedFired = false;
  Tree->OnExpanded = [&](TObject*, TTreeNode*) { expandedFired = true; };
  Tree->OnExpanding = [&](TObject*, TTreeNode* N, bool&) {
    if (N->GetText() == "doomed") N->Delete();
  };
  empty->Expand(false);
  EXPECT_FALSE(empty->GetExpanded());
  EXPECT_FALSE(empty->GetHasChildren());
  EXPECT_TRUE(Tree->ButtonRect(empty).IsEmpty());
  Node("doomed")->Expand(true);
  EXPECT_FALSE(expandedFired);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"empty"}));
}

// ---------------------------------------------------------------- allow flags

TEST_F(TreeNodesTest, AllowFlagsVetoExpansionCollapseAndChange) {
  Build({"a", "\ta1", "b", "\tb1"});
  TTreeNode* a = Node("a");
  TTreeNode* b = Node("b");
  int expanded = 0, collapsed = 0;
  Tree->OnExpanding = [](TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "a"; };
  Tree->OnExpanded = [&](TObject*, TTreeNode*) { ++expanded; };
  Tree->OnCollapsing = [](TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "b"; };
  Tree->OnCollapsed = [&](TObject*, TTreeNode*) { ++collapsed; };
  Tree->OnChanging = [](TObject*, TTreeNode* N, bool& Allow) { Allow = N->GetText() != "b1"; };
  a->Expand(false);
  EXPECT_FALSE(a->GetExpanded());
  Tree->FullExpand();
  EXPECT_FALSE(a->GetExpanded());
  EXPECT_TRUE(b->GetExpanded());
  EXPECT_EQ(expanded, 1);
  b->Collapse(false);
  EXPECT_TRUE(b->GetExpanded());
  EXPECT_EQ(collapsed, 0);
  Tree->SetSelected(a);
  ASSERT_EQ(Changes.size(), 1u);
  Tree->SetSelected(Node("b1"));
  EXPECT_EQ(Tree->GetSelected(), a);
  EXPECT_EQ(Changes.size(), 1u);
  // The user is refused the same way.
  Focus();
  TPoint p = TextPoint(Node("b1"));
  Input().Click(p.X, p.Y);
  EXPECT_EQ(Tree->GetSelected(), a);
  EXPECT_EQ(Changes.size(), 1u);
}

// A descendant overrides the steps instead of assigning events.
class TGuardedTree : public TTreeView {
 public:
  using TTreeView::TTreeView;
  int Expands = 0, Changes = 0;

 protected:
  bool CanExpand(TTreeNode* Node) override {
    if (Node->Count() == 0) GetItems()->AddChild(Node, "loaded");
    return TTreeView::CanExpand(Node);
  }
  void Expand(TTreeNode* Node) override {
    ++Expands;
    TTreeView::Expand(Node);
  }
  bool CanChange(TTreeNode* Node) override { return Node == nullptr || Node->GetLevel() > 0; }
  void Change(TTreeNode* Node) override {
    ++Changes;
    TTreeView::Change(Node);
  }
};

TEST_F(TreeNodesTest, TheVirtualStepsCarryTheEventsForDescendants) {
  auto* t = new TGuardedTree(Form);
  t->SetParent(Form);
  TTreeNode* top = t->GetItems()->Add(nullptr, "top");
  top->SetHasChildren(true);
  bool fired = false;
  t->OnExpanded = [&](TObject*, TTreeNode*) { fired = true; };
  top->Expand(false);
  EXPECT_EQ(top->Count(), 1);
  EXPECT_EQ(t->Expands, 1);
  EXPECT_TRUE(fired);
  t->SetSelected(top);
  EXPECT_EQ(t->GetSelected(), nullptr);
  t->SetSelected(top->GetFirstChild());
  EXPECT_EQ(t->GetSelected(), top->GetFirstChild());
  EXPECT_EQ(t->Changes, 1);
}

TEST_F(TreeNodesTest, CollapsingAParentOfTheSelectionMovesItToTheParent) {
  Build({"a", "\ta1", "\t\ta11"});
  Tree->FullExpand();
  Tree->SetSelected(Node("a11"));
  Changes.clear();
  Node("a")->Collapse(false);
  EXPECT_EQ(SelectedText(), "a");
  ASSERT_EQ(Changes.size(), 1u);
  EXPECT_EQ(Changes[0], Node("a"));
  Tree->FullExpand();
  EXPECT_EQ(Rows().size(), 3u);
  Tree->FullCollapse();
  EXPECT_EQ(Rows(), (std::vector<std::string>{"a"}));
  EXPECT_FALSE(Node("a1")->GetExpanded());
}

// ---------------------------------------------------------------- deletion

TEST_F(TreeNodesTest, DeletingTheSelectedNodeMovesTheSelectionAndNotifiesOnce) {
  Build({"a", "b", "\tb1", "\tb2", "\tb3", "c"});
  Tree->FullExpand();
  Tree->SetSelected(Node("b2"));
  Changes.clear();
  Node("b2")->Delete();  // the next sibling
  EXPECT_EQ(SelectedText(), "b3");
  EXPECT_EQ(Changes.size(), 1u);
  Node("b3")->Delete();  // the last child: the previous sibling
  EXPECT_EQ(SelectedText(), "b1");
  Node("b1")->Delete();  // the only child: the parent
  EXPECT_EQ(SelectedText(), "b");
  EXPECT_FALSE(Node("b")->GetHasChildren());
  EXPECT_EQ(Changes.size(), 3u);
  Tree->GetItems()->AddChild(Node("c"), "c1");
  Tree->SetSelected(Node("c1"));
  Changes.clear();
  Node("c")->Delete();  // a parent of the selection: the sibling before it (none after)
  EXPECT_EQ(SelectedText(), "b");
  EXPECT_EQ(Changes.size(), 1u);
  Tree->GetItems()->Clear();
  EXPECT_EQ(Tree->GetSelected(), nullptr);
  EXPECT_EQ(Changes.size(), 2u);
  EXPECT_EQ(Changes.back(), nullptr);
  EXPECT_EQ(Tree->GetItems()->Count(), 0);
  EXPECT_EQ(Tree->RowCount(), 0);
}

TEST_F(TreeNodesTest, DeletionNotifiesEveryNodeChildrenFirstAndHandlersMayDeleteMore) {
  Build({"a", "\ta1", "\t\ta11", "\ta2", "b", "c"});
  std::vector<std::string> seen;
  Tree->OnDeletion = [&](TObject*, TTreeNode* N) {
    seen.push_back(N->GetText());
    // Handlers may reach for other nodes and even delete them, or the one being deleted.
    if (N->GetText() == "a2") Node("c")->Delete();
    N->Delete();
    if (N->GetText() == "a") {
      EXPECT_EQ(N->GetParent(), nullptr);
    }
  };
  Node("a")->Delete();
  EXPECT_EQ(seen, (std::vector<std::string>{"a11", "a1", "a2", "a", "c"}));
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(), (std::vector<std::string>{"b"}));
  EXPECT_EQ(Tree->GetItems()->Count(), 1);
}

TEST_F(TreeNodesTest, DeletionsAskedForDuringClearOrDeleteChildrenHappenAndErrorsStillFree) {
  Build({"a", "\ta1", "\ta2", "b", "c"});
  Tree->OnDeletion = [&](TObject*, TTreeNode* N) {
    if (N->GetText() == "a2") Node("b")->Delete();
  };
  Node("a")->DeleteChildren();
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(), (std::vector<std::string>{"a", "c"}));
  EXPECT_FALSE(Node("a")->GetHasChildren());
  // A handler that throws: every node still goes, then the error comes out.
  Tree->GetItems()->AddChild(Node("c"), "c1");
  int calls = 0;
  Tree->OnDeletion = [&](TObject*, TTreeNode*) {
    ++calls;
    throw EInvalidOperation("refused");
  };
  EXPECT_THROW(Tree->GetItems()->Clear(), EInvalidOperation);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(Tree->GetItems()->Count(), 0);
  EXPECT_EQ(Tree->RowCount(), 0);
}

TEST_F(TreeNodesTest, DeletingNodesTheTreeHoldsLeavesNoDanglingReferences) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back("n" + std::to_string(i));
  Build(lines);
  Tree->SetHotTrack(true);
  Focus();
  Tree->SetTopRow(20);
  TTreeNode* top = Tree->GetTopItem();
  ASSERT_EQ(top->GetText(), "n20");
  TPoint p = TextPoint(Node("n21"));
  Input().MouseMove(p.X, p.Y);
  ASSERT_EQ(Tree->HotNode(), Node("n21"));
  Tree->SetSelected(Node("n22"));
  ASSERT_TRUE(Tree->StartEditing(Node("n22")));
  Node("n20")->Delete();
  Node("n21")->Delete();
  Node("n22")->Delete();
  EXPECT_EQ(Tree->HotNode(), nullptr);
  EXPECT_FALSE(Tree->IsEditing());
  EXPECT_EQ(SelectedText(), "n23");
  EXPECT_EQ(Tree->GetTopItem()->GetText(), "n23");
  Surface();  // paints with what is left
  Input().MouseMove(p.X, p.Y);
  EXPECT_EQ(Tree->HotNode(), Node("n24"));  // rows moved up under the pointer
}

TEST_F(TreeNodesTest, RenamingANodeUpdatesItsCellAndTheWidthOfTheRows) {
  Build({"short", "a much longer text than the other", "\thidden child with a very long text"});
  int wide = Tree->ContentWidth();
  TTreeNode* longNode = Node("a much longer text than the other");
  longNode->SetText("x");
  int narrow = Tree->ContentWidth();
  EXPECT_LT(narrow, wide);
  TTreeNode* shortNode = Node("short");
  shortNode->SetText("short but now the longest text of them all");
  EXPECT_GT(Tree->ContentWidth(), wide);
  EXPECT_GT(shortNode->DisplayRect(true).Width(), longNode->DisplayRect(true).Width());
  // A collapsed child counts once it shows.
  Node("hidden child with a very long text")
      ->SetText("hidden child with an even longer text, really");
  int before = Tree->ContentWidth();
  longNode->Expand(false);
  EXPECT_GT(Tree->ContentWidth(), before);
}

// ---------------------------------------------------------------- sorting

TEST_F(TreeNodesTest, AlphaSortAndCustomSortOrderSiblings) {
  Build({"pear", "\tz", "\tA", "apple", "Fig", "\tb", "\ta"});
  Tree->AlphaSort(false);
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(),
            (std::vector<std::string>{"apple", "Fig", "\tb", "\ta", "pear", "\tz", "\tA"}));
  Tree->AlphaSort(true);
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(),
            (std::vector<std::string>{"apple", "Fig", "\ta", "\tb", "pear", "\tA", "\tz"}));
  EXPECT_EQ(Node("pear")->GetIndex(), 2);
  EXPECT_EQ(Node("z")->GetAbsoluteIndex(), 6);
  // By length, longest first, with the data passed through.
  Tree->CustomSort(
      [](TTreeNode* A, TTreeNode* B, intptr_t Dir) {
        return static_cast<int>(Dir) *
               (static_cast<int>(A->GetText().size()) - static_cast<int>(B->GetText().size()));
      },
      -1, false);
  EXPECT_EQ(Tree->GetItems()->Item(0)->GetText(), "apple");
  EXPECT_EQ(Tree->GetItems()->Item(1)->GetText(), "pear");
  EXPECT_EQ(Tree->GetItems()->Item(4)->GetText(), "Fig");
  EXPECT_EQ(Node("Fig")->GetIndex(), 2);
  // OnCompare replaces the text comparison of AlphaSort: reverse order.
  Tree->OnCompare = [](TObject*, TTreeNode* A, TTreeNode* B, intptr_t, int& C) {
    C = CompareText(B->GetText(), A->GetText());
  };
  Node("Fig")->AlphaSort();
  EXPECT_EQ(Node("Fig")->GetFirstChild()->GetText(), "b");
}

// ---------------------------------------------------------------- lines and form files

TEST_F(TreeNodesTest, NodeLinesReadTabsOrSpacesAndClampJumps) {
  Build({"top", "  two deep", "\tone", "", "   ", " x\r", "next"});
  EXPECT_EQ(Tree->GetItems()->GetNodeLines(),
            (std::vector<std::string>{"top", "\ttwo deep", "\tone", "\tx", "next"}));
  EXPECT_EQ(Node("two deep")->GetParent(), Node("top"));
  auto list = std::make_unique<TStringList>();
  Tree->GetItems()->SaveToStrings(list.get());
  EXPECT_EQ(list->Count(), 5);
  list->Add("\tlast");
  Tree->GetItems()->LoadFromStrings(list.get());
  EXPECT_EQ(Node("last")->GetParent(), Node("next"));
}

TEST_F(TreeNodesTest, ItemsAndPropertiesRoundTripThroughFormFiles) {
  Tree->SetName("Tree1");
  Build({"Sensors", "\tPressure", "\t\tP1 'inlet'", "\tTemperature", "Actuators"});
  Tree->SetIndent(24);
  Tree->SetShowLines(false);
  Tree->SetHotTrack(true);
  Tree->SetHideSelection(false);
  Tree->SetBorderStyle(bsNone);
  ShowForm();
  Tree->GetItems()->Item(0)->EditText();  // the editor it keeps is no part of the form file
  Tree->EndEditing(true);
  Tree->SetReadOnly(true);
  std::string text = WriteComponentText(Form);
  EXPECT_NE(text.find("Items.Strings = ("), std::string::npos) << text;
  EXPECT_EQ(text.find("TTreeEdit"), std::string::npos) << text;
  EXPECT_EQ(text.find("ShowButtons"), std::string::npos);  // the default is not written
  auto* copy = CreateFromText<TForm>(text, nullptr);
  std::unique_ptr<TForm> guard(copy);
  auto* t2 = dynamic_cast<TTreeView*>(copy->FindComponent("Tree1"));
  ASSERT_NE(t2, nullptr);
  EXPECT_EQ(t2->GetItems()->GetNodeLines(), Tree->GetItems()->GetNodeLines());
  EXPECT_EQ(t2->GetItems()->Item(2)->GetLevel(), 2);
  EXPECT_EQ(t2->GetIndent(), 24);
  EXPECT_FALSE(t2->GetShowLines());
  EXPECT_TRUE(t2->GetHotTrack());
  EXPECT_TRUE(t2->GetReadOnly());
  EXPECT_FALSE(t2->GetHideSelection());
  EXPECT_EQ(t2->GetBorderStyle(), bsNone);
  EXPECT_EQ(WriteComponentText(copy), text);
}

TEST_F(TreeNodesTest, RegistrationIsIdempotentAndPublishesTheLook) {
  RegisterTreeViewClasses();
  RegisterTreeViewClasses();
  const TClassInfo& info = GetClassInfo("TTreeView");
  for (const char* p :
       {"Items", "ShowButtons", "ShowLines", "ShowRoot", "Indent", "HotTrack", "ReadOnly",
        "HideSelection", "BorderStyle", "AutoExpand", "Color", "TabStop"})
    EXPECT_NE(info.FindProperty(p), nullptr) << p;
  int items = 0;
  for (const TPropInfo* p : info.Properties()) items += p->Name == "Items";
  EXPECT_EQ(items, 1);
  std::unique_ptr<TComponent> c(info.Create(Form));
  auto* t = dynamic_cast<TTreeView*>(c.get());
  ASSERT_NE(t, nullptr);
  SetPropText(t, *info.FindProperty("Indent"), "0");
  EXPECT_EQ(t->GetIndent(), 1);  // at least one pixel
  SetPropText(t, *info.FindProperty("Items"), "a\n\tb");
  EXPECT_EQ(t->GetItems()->Count(), 2);
  EXPECT_EQ(GetPropText(t, *info.FindProperty("Items")), "a\n\tb");
}

}  // namespace
}  // namespace qel::test

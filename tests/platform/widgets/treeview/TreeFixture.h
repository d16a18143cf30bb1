#pragma once
// A tree view on a shown headless form, with helpers that build trees from text and point at
// parts of a node's row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/widgets/ComCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {

class TreeTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    RegisterTreeViewClasses();
    Tree = new TTreeView(Form);
    Tree->SetParent(Form);
    Tree->SetBounds(10, 10, 200, 150);
    Tree->OnChange = [this](TObject*, TTreeNode* N) { Changes.push_back(N); };
  }
  // Lines as TTreeNodes::SetNodeLines reads them (one tab per level).
  void Build(const std::vector<std::string>& Lines) { Tree->GetItems()->SetNodeLines(Lines); }
  TTreeNode* Node(const std::string& Text) const {
    for (int i = 0; i < Tree->GetItems()->Count(); ++i)
      if (Tree->GetItems()->Item(i)->GetText() == Text) return Tree->GetItems()->Item(i);
    ADD_FAILURE() << "no node " << Text;
    return nullptr;
  }
  // Form points: the middle of a node's text and of its button.
  TPoint TextPoint(const TTreeNode* N) const {
    TRect r = N->DisplayRect(true);
    return At(Tree, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  TPoint ButtonPoint(const TTreeNode* N) const {
    TRect r = Tree->ButtonRect(N);
    return At(Tree, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // The texts of the rows as shown now.
  std::vector<std::string> Rows() const {
    std::vector<std::string> r;
    for (int i = 0; i < Tree->RowCount(); ++i) r.push_back(Tree->RowNode(i)->GetText());
    return r;
  }
  std::string SelectedText() const {
    return Tree->GetSelected() ? Tree->GetSelected()->GetText() : std::string("<none>");
  }
  void Focus() {
    ShowForm();
    Tree->SetFocus();
  }

  TTreeView* Tree = nullptr;
  std::vector<TTreeNode*> Changes;
};

}  // namespace qel::test

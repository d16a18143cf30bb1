#include "apps/gallery/TreeDemo.h"

#include <algorithm>

#include "platform/controls/Properties.h"

namespace qel {

namespace {
// What the levels of the generated plant are called.
const char* const kLevelNames[] = {"Site", "Hall", "Rack", "Channel"};
constexpr int kLevels = 4;
}  // namespace

TLazyTreeDemo::TLazyTreeDemo(TComponent* AOwner) : TTreeView(AOwner) { Reset(); }

void TLazyTreeDemo::SetBranching(int Value) {
  Value = std::clamp(Value, 1, 50);
  if (Value == FBranching) return;
  FBranching = Value;
  Reset();
}

void TLazyTreeDemo::Loaded() {
  TTreeView::Loaded();
  Reset();
}

void TLazyTreeDemo::Reset() {
  TTreeNodes* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  TTreeNode* root = items->AddChild(nullptr, "Plant (opened on demand)");
  root->SetHasChildren(true);
  items->EndUpdate();
  root->Expand(false);  // the sites show at once; everything below loads when opened
}

bool TLazyTreeDemo::CanExpand(TTreeNode* Node) {
  // A branch is read afresh every time it opens; closing and opening it again shows that the
  // children are replaced while the tree expands.
  TTreeNodes* items = GetItems();
  items->BeginUpdate();
  Node->DeleteChildren();
  int level = Node->GetLevel();
  if (level < kLevels) {
    for (int i = 1; i <= FBranching; ++i) {
      std::string name = std::string(kLevelNames[level]) + " " + std::to_string(i);
      TTreeNode* c = items->AddChild(Node, name);
      c->SetHasChildren(level + 1 < kLevels);
    }
  }
  items->EndUpdate();
  return TTreeView::CanExpand(Node);
}

void RegisterTreeDemoClasses() {
  RegisterTreeViewClasses();
  RegisterClass<TLazyTreeDemo>("TLazyTreeDemo", "TTreeView")
      .Prop("Branching", &TLazyTreeDemo::GetBranching, &TLazyTreeDemo::SetBranching, 6);
}

}  // namespace qel

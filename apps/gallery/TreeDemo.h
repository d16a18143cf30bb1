#pragma once
// The tree page's lazy tree: a TTreeView whose branches are filled in only when they are first
// expanded, the way a folder browser reads a directory when it is opened.
#include <string>

#include "platform/widgets/ComCtrls.h"

namespace qel {

class TLazyTreeDemo : public TTreeView {
 public:
  explicit TLazyTreeDemo(TComponent* AOwner);
  std::string ClassName() const override { return "TLazyTreeDemo"; }
  // How many children each generated branch gets.
  int GetBranching() const { return FBranching; }
  void SetBranching(int Value);
  void Loaded() override;

 protected:
  bool CanExpand(TTreeNode* Node) override;

 private:
  void Reset();
  int FBranching = 6;
};

// Registers the tree view classes and TLazyTreeDemo. Idempotent.
void RegisterTreeDemoClasses();

}  // namespace qel

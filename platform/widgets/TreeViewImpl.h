#pragma once
// Internal to the tree view's sources (node model and view): not part of the public API.
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/widgets/ComCtrls.h"

namespace qel::treeview_impl {

[[noreturn]] inline void IndexError(int Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Keeps a watched node pointer for the lifetime of a scope: a handler that deletes the node
// clears the pointer instead of leaving it dangling.
class TNodeGuard {
 public:
  TNodeGuard(TTreeNodes* Nodes, TTreeNode*& Slot) : FNodes(Nodes), FSlot(&Slot) {
    FNodes->Watch(FSlot);
  }
  ~TNodeGuard() { FNodes->Unwatch(FSlot); }
  TNodeGuard(const TNodeGuard&) = delete;
  TNodeGuard& operator=(const TNodeGuard&) = delete;

 private:
  TTreeNodes* FNodes;
  TTreeNode** FSlot;
};

}  // namespace qel::treeview_impl

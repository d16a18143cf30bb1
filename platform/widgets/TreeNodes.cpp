// The tree view's node model: TTreeNode (text, data, children, expansion, moving) and TTreeNodes
// (adding, deleting, the index order, node lines in form files).
#include <algorithm>
#include <exception>

#include "platform/rtl/StrUtils.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/TreeViewImpl.h"

namespace qel {

using treeview_impl::IndexError;
using treeview_impl::TNodeGuard;

// ---------------------------------------------------------------- TTreeNode

TCustomTreeView* TTreeNode::GetTreeView() const { return FOwner->GetOwner(); }

void TTreeNode::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  FOwner->FOwner->NodeTextChanged(this);
}

TTreeNode* TTreeNode::GetParent() const { return FParent == FOwner->FRoot ? nullptr : FParent; }

TTreeNode* TTreeNode::GetItem(int Index) const {
  if (Index < 0 || Index >= GetCount()) IndexError(Index);
  return FChildren[static_cast<size_t>(Index)];
}

int TTreeNode::GetAbsoluteIndex() const {
  FOwner->BuildIndex();
  return FAbsIndex;
}

TTreeNode* TTreeNode::GetFirstChild() const { return FChildren.empty() ? nullptr : FChildren[0]; }
TTreeNode* TTreeNode::GetLastChild() const {
  return FChildren.empty() ? nullptr : FChildren.back();
}

TTreeNode* TTreeNode::GetNextSibling() const {
  if (!FParent) return nullptr;
  size_t i = static_cast<size_t>(FIndex) + 1;
  return i < FParent->FChildren.size() ? FParent->FChildren[i] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  if (!FParent || FIndex == 0) return nullptr;
  return FParent->FChildren[static_cast<size_t>(FIndex) - 1];
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren[0];
  for (const TTreeNode* n = this; n && n != FOwner->FRoot; n = n->FParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
  TTreeNode* p = GetPrevSibling();
  if (!p) return GetParent();
  while (!p->FChildren.empty()) p = p->FChildren.back();
  return p;
}

TTreeNode* TTreeNode::GetNextVisible() const {
  if (!IsVisible()) return nullptr;
  if (FExpanded && !FChildren.empty()) return FChildren[0];
  for (const TTreeNode* n = this; n && n != FOwner->FRoot; n = n->FParent)
    if (TTreeNode* s = n->GetNextSibling()) return s;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
  if (!IsVisible()) return nullptr;
  TTreeNode* p = GetPrevSibling();
  if (!p) return GetParent();
  while (p->FExpanded && !p->FChildren.empty()) p = p->FChildren.back();
  return p;
}

TTreeNode* TTreeNode::GetNextChild(const TTreeNode* Value) const {
  return Value && Value->FParent == this ? Value->GetNextSibling() : nullptr;
}

TTreeNode* TTreeNode::GetPrevChild(const TTreeNode* Value) const {
  return Value && Value->FParent == this ? Value->GetPrevSibling() : nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* Value) const {
  if (!Value) return false;
  for (const TTreeNode* p = GetParent(); p; p = p->GetParent())
    if (p == Value) return true;
  return false;
}

bool TTreeNode::IsVisible() const {
  for (const TTreeNode* p = GetParent(); p; p = p->GetParent())
    if (!p->FExpanded) return false;
  return !FDeleting;
}

void TTreeNode::SetExpanded(bool Value) {
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(bool Recurse) { FOwner->FOwner->NodeExpand(this, Recurse); }
void TTreeNode::Collapse(bool Recurse) { FOwner->FOwner->NodeCollapse(this, Recurse); }

void TTreeNode::SetHasChildren(bool Value) {
  if (FHasChildren == Value) return;
  FHasChildren = Value;
  FOwner->FOwner->NodesChanged();
}

bool TTreeNode::GetSelected() const { return FOwner->FOwner->FSelected == this; }

void TTreeNode::SetSelected(bool Value) {
  TCustomTreeView* tree = FOwner->FOwner;
  if (Value)
    tree->SetSelected(this);
  else if (tree->FSelected == this)
    tree->SetSelected(nullptr);
}

void TTreeNode::Delete() { FOwner->Delete(this); }

void TTreeNode::DeleteChildren() {
  if (FChildren.empty()) return;
  if (FOwner->FNotifying > 0) {
    for (TTreeNode* c : std::vector<TTreeNode*>(FChildren)) FOwner->Delete(c);
    return;
  }
  FOwner->DoDelete(FChildren, false);
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* tree = FOwner->FOwner;
  std::vector<TTreeNode*> chain;
  for (TTreeNode* p = GetParent(); p; p = p->GetParent()) chain.push_back(p);
  TTreeNode* self = this;
  TNodeGuard guard(FOwner, self);
  for (auto it = chain.rbegin(); it != chain.rend() && self; ++it) {
    TTreeNode* p = *it;
    if (p->FExpanded) continue;
    if (!tree->NodeExpand(p, false)) return;  // refused, or p went away
  }
  if (self) tree->ScrollIntoView(self);
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* tree = FOwner->FOwner;
  TRect t = tree->TextRect(this);
  if (t.IsEmpty() || TextOnly) return t;
  TRect a = tree->RowsArea();
  return Rect(a.Left, t.Top, a.Right, t.Bottom);
}

void TTreeNode::EditText() { FOwner->FOwner->StartEditing(this); }

void TTreeNode::EndEdit(bool Cancel) {
  if (FOwner->FOwner->FEditNode == this) FOwner->FOwner->EndEditing(Cancel);
}

bool TTreeNode::AlphaSort(bool Recurse) {
  TCustomTreeView* tree = FOwner->FOwner;
  FOwner->SortChildren(
      this,
      [tree](TTreeNode* A, TTreeNode* B) {
        int r = 0;
        if (tree->OnCompare)
          tree->OnCompare(tree, A, B, 0, r);
        else
          r = CompareText(A->FText, B->FText);
        return r;
      },
      Recurse);
  return true;
}

bool TTreeNode::CustomSort(std::function<int(TTreeNode*, TTreeNode*, intptr_t)> Compare,
                           intptr_t Data, bool Recurse) {
  if (!Compare) return AlphaSort(Recurse);
  FOwner->SortChildren(
      this, [&Compare, Data](TTreeNode* A, TTreeNode* B) { return Compare(A, B, Data); }, Recurse);
  return true;
}

// ---------------------------------------------------------------- TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner), FRoot(new TTreeNode(this)) {
  if (!AOwner) throw ETreeViewError("Tree nodes need a tree view");
  FRoot->FLevel = -1;
  FRoot->FExpanded = true;
}

TTreeNodes::~TTreeNodes() {
  // Freed without OnDeletion: the handlers' objects may already be gone while the tree dies.
  std::vector<TTreeNode*> stack{FRoot};
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    for (TTreeNode* c : n->FChildren) stack.push_back(c);
    delete n;
  }
}

TTreeNode* TTreeNodes::GetItem(int Index) const {
  if (Index < 0 || Index >= FCount) IndexError(Index);
  BuildIndex();
  return FIndexList[static_cast<size_t>(Index)];
}

TTreeNode* TTreeNodes::GetFirstNode() const { return FRoot->GetFirstChild(); }

void TTreeNodes::BuildIndex() const {
  if (FIndexValid) return;
  FIndexList.clear();
  FIndexList.reserve(static_cast<size_t>(FCount));
  std::vector<TTreeNode*> stack;
  for (auto it = FRoot->FChildren.rbegin(); it != FRoot->FChildren.rend(); ++it)
    stack.push_back(*it);
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    n->FAbsIndex = static_cast<int>(FIndexList.size());
    FIndexList.push_back(n);
    for (auto it = n->FChildren.rbegin(); it != n->FChildren.rend(); ++it) stack.push_back(*it);
  }
  FIndexValid = true;
}

void TTreeNodes::CheckNode(const TTreeNode* Node) const {
  if (Node && Node->FOwner != this) throw ETreeViewError("Node belongs to another tree");
}

void TTreeNodes::Changed() {
  FIndexValid = false;
  FOwner->NodesChanged();
}

TTreeNode* TTreeNodes::ParentOf(TTreeNode* Sibling) const {
  CheckNode(Sibling);
  return Sibling ? Sibling->FParent : FRoot;
}

TTreeNode* TTreeNodes::InternalAdd(TTreeNode* Parent, int Index, const std::string& S, void* Ptr) {
  if (Parent->FDeleting) throw ETreeViewError("Cannot add a node to a node being deleted");
  auto* n = new TTreeNode(this);
  n->FParent = Parent;
  n->FLevel = Parent->FLevel + 1;
  n->FText = S;
  n->FData = Ptr;
  Index = std::clamp(Index, 0, Parent->GetCount());
  Parent->FChildren.insert(Parent->FChildren.begin() + Index, n);
  for (size_t i = static_cast<size_t>(Index); i < Parent->FChildren.size(); ++i)
    Parent->FChildren[i]->FIndex = static_cast<int>(i);
  if (Parent != FRoot) Parent->FHasChildren = true;
  ++FCount;
  Changed();
  return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const std::string& S) {
  return AddObject(Sibling, S, nullptr);
}
TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  TTreeNode* p = ParentOf(Sibling);
  return InternalAdd(p, p->GetCount(), S, Ptr);
}
TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const std::string& S) {
  return AddObjectFirst(Sibling, S, nullptr);
}
TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  return InternalAdd(ParentOf(Sibling), 0, S, Ptr);
}
TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const std::string& S) {
  return InsertObject(Sibling, S, nullptr);
}
TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr) {
  TTreeNode* p = ParentOf(Sibling);
  return InternalAdd(p, Sibling ? Sibling->FIndex : p->GetCount(), S, Ptr);
}
TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const std::string& S) {
  return AddChildObject(Parent, S, nullptr);
}
TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr) {
  CheckNode(Parent);
  TTreeNode* p = Parent ? Parent : FRoot;
  return InternalAdd(p, p->GetCount(), S, Ptr);
}
TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const std::string& S) {
  return AddChildObjectFirst(Parent, S, nullptr);
}
TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr) {
  CheckNode(Parent);
  return InternalAdd(Parent ? Parent : FRoot, 0, S, Ptr);
}

void TTreeNodes::Watch(TTreeNode** Slot) { FWatches.push_back(Slot); }

void TTreeNodes::Unwatch(TTreeNode** Slot) {
  auto it = std::find(FWatches.rbegin(), FWatches.rend(), Slot);
  if (it != FWatches.rend()) FWatches.erase(std::next(it).base());
}

void TTreeNodes::FreeNode(TTreeNode* Node) {
  for (TTreeNode** w : FWatches)
    if (*w == Node) *w = nullptr;
  delete Node;
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node) return;
  CheckNode(Node);
  if (Node->FDeleting) return;
  if (FNotifying > 0) {
    // An OnDeletion handler asked: the subtree being notified is half gone, so this waits.
    FPendingDeletes.push_back(Node);
    Watch(&FPendingDeletes.back());
    return;
  }
  DoDelete({Node}, false);
}

void TTreeNodes::Clear() {
  if (FRoot->FChildren.empty()) return;
  if (FNotifying > 0) {
    for (TTreeNode* c : std::vector<TTreeNode*>(FRoot->FChildren)) Delete(c);
    return;
  }
  DoDelete(FRoot->FChildren, true);
}

void TTreeNodes::DoDelete(const std::vector<TTreeNode*>& TopsIn, bool Clearing) {
  std::vector<TTreeNode*> tops;
  for (TTreeNode* t : TopsIn)
    if (t && !t->FDeleting) tops.push_back(t);
  if (tops.empty()) return;
  // Children before their parents, so a handler freeing Data sees the leaves first.
  std::vector<TTreeNode*> order;
  for (TTreeNode* t : tops) {
    std::vector<std::pair<TTreeNode*, size_t>> stack{{t, 0}};
    t->FDeleting = true;
    while (!stack.empty()) {
      auto& [n, i] = stack.back();
      if (i < n->FChildren.size()) {
        TTreeNode* c = n->FChildren[i++];
        c->FDeleting = true;
        stack.push_back({c, 0});
      } else {
        order.push_back(n);
        stack.pop_back();
      }
    }
  }
  TTreeNode* oldSel = FOwner->FSelected;
  FOwner->BeforeDetach(Clearing ? nullptr : tops[0]);
  bool selChanged = FOwner->FSelected != oldSel;
  // Unlink from the parents.
  std::vector<TTreeNode*> parents;
  for (TTreeNode* t : tops)
    if (std::find(parents.begin(), parents.end(), t->FParent) == parents.end())
      parents.push_back(t->FParent);
  for (TTreeNode* p : parents) {
    std::erase_if(p->FChildren, [](TTreeNode* c) { return c->FDeleting; });
    for (size_t i = 0; i < p->FChildren.size(); ++i) p->FChildren[i]->FIndex = static_cast<int>(i);
    if (p->FChildren.empty() && p != FRoot) p->FHasChildren = false;
  }
  FCount -= static_cast<int>(order.size());
  Changed();
  std::exception_ptr failure;
  ++FNotifying;
  for (TTreeNode* n : order) {
    try {
      FOwner->Delete(n);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  --FNotifying;
  for (TTreeNode* n : order) FreeNode(n);
  if (selChanged) FOwner->SelectionLost(FOwner->FSelected, true);
  // Now the deletions the handlers asked for, whichever way this one started.
  while (FNotifying == 0 && !FPendingDeletes.empty()) {
    TTreeNode* n = FPendingDeletes.front();
    Unwatch(&FPendingDeletes.front());
    FPendingDeletes.pop_front();
    try {
      if (n && !n->FDeleting) DoDelete({n}, false);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  if (failure) std::rethrow_exception(failure);
}

void TTreeNodes::BeginUpdate() { ++FUpdateCount; }

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) FOwner->NodesChanged();
}

void TTreeNodes::SortChildren(TTreeNode* Parent,
                              const std::function<int(TTreeNode*, TTreeNode*)>& Compare,
                              bool Recurse) {
  TTreeNode* p = Parent ? Parent : FRoot;
  std::vector<TTreeNode*> stack{p};
  while (!stack.empty()) {
    TTreeNode* n = stack.back();
    stack.pop_back();
    std::stable_sort(n->FChildren.begin(), n->FChildren.end(),
                     [&Compare](TTreeNode* A, TTreeNode* B) { return Compare(A, B) < 0; });
    for (size_t i = 0; i < n->FChildren.size(); ++i) {
      n->FChildren[i]->FIndex = static_cast<int>(i);
      if (Recurse) stack.push_back(n->FChildren[i]);
    }
  }
  Changed();
}

bool TTreeNodes::AlphaSort(bool Recurse) { return FRoot->AlphaSort(Recurse); }

bool TTreeNodes::CustomSort(std::function<int(TTreeNode*, TTreeNode*, intptr_t)> Compare,
                            intptr_t Data, bool Recurse) {
  return FRoot->CustomSort(std::move(Compare), Data, Recurse);
}

std::vector<std::string> TTreeNodes::GetNodeLines() const {
  BuildIndex();
  std::vector<std::string> lines;
  lines.reserve(FIndexList.size());
  for (TTreeNode* n : FIndexList)
    lines.push_back(std::string(static_cast<size_t>(n->FLevel), '\t') + n->FText);
  return lines;
}

void TTreeNodes::SetNodeLines(const std::vector<std::string>& Lines) {
  BeginUpdate();
  try {
    Clear();
    TTreeNode* last = nullptr;
    for (const std::string& line : Lines) {
      size_t depth = 0;
      while (depth < line.size() && (line[depth] == '\t' || line[depth] == ' ')) ++depth;
      std::string text = line.substr(depth);
      // Every CR a CRLF text left at the end goes: a text that kept one would lose it on the
      // next read, and a line of blanks and CRs is as blank as one without (the writer would
      // write its node as an empty line, which the next read skips).
      while (text.ends_with('\r')) text.pop_back();
      if (text.empty()) continue;  // blank
      int level = static_cast<int>(std::min<size_t>(depth, 1000000));
      TTreeNode* parent = last;
      // A line may go at most one level below the line before it.
      while (parent && parent->FLevel >= level) parent = parent->GetParent();
      last = AddChild(parent, text);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::SaveToStrings(TStrings* Strings) const {
  Strings->Clear();
  for (const std::string& s : GetNodeLines()) Strings->Add(s);
}

void TTreeNodes::LoadFromStrings(const TStrings* Strings) {
  std::vector<std::string> lines;
  for (int i = 0; i < Strings->Count(); ++i) lines.push_back(Strings->Get(i));
  SetNodeLines(lines);
}

}  // namespace qel

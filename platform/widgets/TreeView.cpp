// The tree view's node model (TTreeNode, TTreeNodes) and its behaviour: expansion, selection,
// deletion, sorting, keys, mouse, label editing and the published properties.
#include <algorithm>
#include <exception>

#include "platform/controls/Messages.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/StrUtils.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

namespace {
constexpr uintptr_t kEditTimer = 1;
// A second click on the selected node opens the editor once the double-click time has passed
// without a second press.
constexpr unsigned kEditDelayMs = 500;
// Type-ahead letters belong to one search while they come within this time of each other.
constexpr int64_t kTypeAheadResetMs = 1000;

[[noreturn]] void IndexError(int Index) {
  throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

// Keeps a watched node pointer for the lifetime of a scope.
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

bool StartsWithNoCase(const std::string& Text, const std::string& Prefix) {
  if (Prefix.size() > Text.size()) return false;
  return LowerCase(Text.substr(0, Prefix.size())) == LowerCase(Prefix);
}
}  // namespace

// ---------------------------------------------------------------- the in-place editor

// The label editor: Enter commits, Esc cancels, leaving it commits. It stays a child of the
// tree between edits (hidden), so ending an edit from its own key handler destroys nothing.
class TTreeEdit : public TCustomEdit {
 public:
  explicit TTreeEdit(TCustomTreeView* Tree) : TCustomEdit(Tree), FTree(Tree) {
    SetAutoSize(false);
    SetTabStop(false);
    SetVisible(false);
  }
  std::string ClassName() const override { return "TTreeEdit"; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
      bool cancel = Key == VK_ESCAPE;
      Key = 0;
      FTree->EndEditing(cancel);
      return;
    }
    TCustomEdit::KeyDown(Key, Shift);
  }

 protected:
  void CMWantSpecialKey(TMessage& Message) override {
    Message.Result = Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE ? 1 : 0;
  }
  void WMGetDlgCode(TMessage& Message) override {
    TCustomEdit::WMGetDlgCode(Message);
    Message.Result |= DLGC_WANTALLKEYS;
  }
  void WMKillFocus(TMessage& Message) override {
    TCustomEdit::WMKillFocus(Message);
    // The editor's own context menu takes the focus while open and gives it back after the
    // command: that is no leaving, or Cut or Paste would act on an editor already gone.
    auto* to = reinterpret_cast<const TControl*>(Message.WParam);
    if (FTree->IsEditing() && !IsPopupMenuWindow(to)) FTree->EndEditing(false);
  }

 private:
  TCustomTreeView* FTree;
};

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

// ---------------------------------------------------------------- TCustomTreeView

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  FItems = std::make_unique<TTreeNodes>(this);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  FTimerWnd = AllocateHWnd([this](TMessage& M) { EditTimer(M); });
  SetBounds(0, 0, 121, 97);
}

TCustomTreeView::~TCustomTreeView() {
  if (FTimerWnd) DeallocateHWnd(FTimerWnd);
  FEditNode = nullptr;
  // The editor goes first: it must not call back into a tree that is half gone.
  delete FEditor;
  FEditor = nullptr;
  FItems.reset();
}

TCursor TCustomTreeView::GetCursorAt(int X, int Y) const {
  // Hot tracking makes the labels links.
  if (FHotTrack && GetCursor() == crDefault && GetHitTestInfoAt(X, Y).Contains(htOnLabel))
    return crHandPoint;
  return TCustomControl::GetCursorAt(X, Y);
}

void TCustomTreeView::NodesChanged() {
  FRowsValid = false;
  if (!FItems || FItems->FUpdateCount > 0) return;
  Invalidate();
}

void TCustomTreeView::BeforeDetach(TTreeNode* Top) {
  if (FHot && FHot->FDeleting) FHot = nullptr;
  if (FPressNode && FPressNode->FDeleting) CancelPendingEdit();
  if (FEditNode && FEditNode->FDeleting) EndEditing(true);
  if (FTopNode && FTopNode->FDeleting) FTopNode = nullptr;
  if (!FSelected || !FSelected->FDeleting) return;
  TTreeNode* next = nullptr;
  if (Top) {
    // The topmost node going away above the selection decides where it lands: a surviving
    // sibling after it, else one before it, else its parent.
    TTreeNode* t = FSelected;
    while (t->FParent && t->FParent->FDeleting) t = t->FParent;
    TTreeNode* p = t->FParent;
    for (size_t i = static_cast<size_t>(t->FIndex) + 1; !next && i < p->FChildren.size(); ++i)
      if (!p->FChildren[i]->FDeleting) next = p->FChildren[i];
    for (int i = t->FIndex - 1; !next && i >= 0; --i)
      if (!p->FChildren[static_cast<size_t>(i)]->FDeleting)
        next = p->FChildren[static_cast<size_t>(i)];
    if (!next && p != FItems->FRoot) next = p;
  }
  FSelected = next;
}

void TCustomTreeView::SelectionLost(TTreeNode* NewSelection, bool Notify) {
  Invalidate();
  if (Notify) Change(NewSelection);
}

// ---- the overridable steps

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, Node, allow);
  return allow;
}
void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}
bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, allow);
  return allow;
}
void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}
bool TCustomTreeView::CanChange(TTreeNode* Node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, Node, allow);
  return allow;
}
void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}
void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}
bool TCustomTreeView::CanEdit(TTreeNode* Node) {
  bool allow = !FReadOnly;
  if (allow && OnEditing) OnEditing(this, Node, allow);
  return allow;
}
void TCustomTreeView::Edit(TTreeNode* Node, std::string& S) {
  if (OnEdited) OnEdited(this, Node, S);
}

// ---- expansion

bool TCustomTreeView::NodeExpand(TTreeNode* Node, bool Recurse) {
  if (!Node) return false;
  FItems->CheckNode(Node);
  if (Node->FDeleting) return false;
  TTreeNode* n = Node;
  TNodeGuard guard(FItems.get(), n);
  bool expanded = n->FExpanded && !n->FChildren.empty();
  if (!n->FExpanded && (n->FHasChildren || !n->FChildren.empty())) {
    // The handler may fill in the children now, replace them, or even delete the node.
    bool allow = CanExpand(n);
    if (!n) return false;
    if (allow) {
      if (n->FChildren.empty()) {
        n->FHasChildren = false;  // nothing came: the button goes
        NodesChanged();
      } else {
        n->FExpanded = true;
        NodesChanged();
        Expand(n);
        expanded = n != nullptr;
      }
    }
  }
  if (Recurse && n)
    for (int i = 0; n && i < n->GetCount(); ++i)
      NodeExpand(n->FChildren[static_cast<size_t>(i)], true);
  return expanded && n;
}

bool TCustomTreeView::NodeCollapse(TTreeNode* Node, bool Recurse) {
  if (!Node) return false;
  FItems->CheckNode(Node);
  if (Node->FDeleting) return false;
  TTreeNode* n = Node;
  TNodeGuard guard(FItems.get(), n);
  bool collapsed = !n->FExpanded;
  if (n->FExpanded) {
    bool allow = CanCollapse(n);
    if (!n) return false;
    if (allow) {
      n->FExpanded = false;
      if (FEditNode && FEditNode->HasAsParent(n)) EndEditing(false);
      NodesChanged();
      // The selection cannot hide inside a collapsed branch: it moves to the branch.
      if (FSelected && FSelected->HasAsParent(n)) InternalSelect(n, false);
      if (n) Collapse(n);
      collapsed = true;
    }
  }
  if (Recurse && n)
    for (int i = 0; n && i < n->GetCount(); ++i)
      NodeCollapse(n->FChildren[static_cast<size_t>(i)], true);
  return collapsed && n;
}

void TCustomTreeView::FullExpand() {
  for (int i = 0; i < FItems->FRoot->GetCount(); ++i)
    NodeExpand(FItems->FRoot->FChildren[static_cast<size_t>(i)], true);
}

void TCustomTreeView::FullCollapse() {
  for (int i = 0; i < FItems->FRoot->GetCount(); ++i)
    NodeCollapse(FItems->FRoot->FChildren[static_cast<size_t>(i)], true);
}

void TCustomTreeView::ToggleNode(TTreeNode* Node) {
  if (!Node) return;
  if (Node->FExpanded)
    NodeCollapse(Node, false);
  else
    NodeExpand(Node, false);
}

// ---- selection

bool TCustomTreeView::InternalSelect(TTreeNode* Node, bool AskFirst) {
  if (Node == FSelected) return true;
  FItems->CheckNode(Node);
  if (Node && Node->FDeleting) return false;
  TTreeNode* n = Node;
  TNodeGuard guard(FItems.get(), n);
  if (AskFirst && !CanChange(n)) return false;
  if (Node && !n) return false;  // the handler deleted it
  FSelected = n;
  Invalidate();
  Change(n);
  return true;
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (Value == FSelected) return;
  TTreeNode* n = Value;
  FItems->CheckNode(n);
  TNodeGuard guard(FItems.get(), n);
  if (n) n->MakeVisible();
  if (Value && !n) return;
  InternalSelect(n, true);
}

bool TCustomTreeView::UserSelect(TTreeNode* Node) {
  if (!Node) return false;
  TTreeNode* n = Node;
  TNodeGuard guard(FItems.get(), n);
  if (!InternalSelect(n, true) || !n) return false;
  if (FAutoExpand) NodeExpand(n, false);
  if (n) ScrollIntoView(n);
  return true;
}

// ---- properties

void TCustomTreeView::SetShowButtons(bool Value) {
  if (FShowButtons == Value) return;
  FShowButtons = Value;
  NodesChanged();
}
void TCustomTreeView::SetShowLines(bool Value) {
  if (FShowLines == Value) return;
  FShowLines = Value;
  NodesChanged();
}
void TCustomTreeView::SetShowRoot(bool Value) {
  if (FShowRoot == Value) return;
  FShowRoot = Value;
  NodesChanged();
}
void TCustomTreeView::SetIndent(int Value) {
  Value = std::clamp(Value, 1, 1000);
  if (FIndent == Value) return;
  FIndent = Value;
  NodesChanged();
}
void TCustomTreeView::SetHotTrack(bool Value) {
  if (FHotTrack == Value) return;
  FHotTrack = Value;
  if (!Value) FHot = nullptr;
  Invalidate();
}
void TCustomTreeView::SetReadOnly(bool Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (Value) {
    CancelPendingEdit();
    EndEditing(true);
  }
}
void TCustomTreeView::SetHideSelection(bool Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  Invalidate();
}
void TCustomTreeView::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  Invalidate();
}

// ---- label editing

bool TCustomTreeView::IsEditing() const { return FEditNode != nullptr; }
TCustomEdit* TCustomTreeView::GetEditControl() const { return FEditNode ? FEditor : nullptr; }

bool TCustomTreeView::StartEditing(TTreeNode* Node) {
  if (!Node || FReadOnly) return false;
  FItems->CheckNode(Node);
  if (Node->FDeleting) return false;
  CancelPendingEdit();
  if (FEditNode) EndEditing(false);
  TTreeNode* n = Node;
  TNodeGuard guard(FItems.get(), n);
  n->MakeVisible();
  if (!n || !n->IsVisible() || !CanEdit(n) || !n) return false;
  if (!FEditor) {
    FEditor = new TTreeEdit(this);
    FEditor->SetParent(this);
  }
  FEditNode = n;
  FEditor->SetFont(GetFont());
  FEditor->SetText(n->FText);
  PlaceEditor();
  FEditor->Show();
  FEditor->SelectAll();
  if (FEditor->CanFocus()) FEditor->SetFocus();
  return true;
}

void TCustomTreeView::EndEditing(bool Cancel) {
  if (!FEditNode || FEnding) return;
  FEnding = true;
  TTreeNode* n = FEditNode;
  TNodeGuard guard(FItems.get(), n);
  FEditNode = nullptr;
  std::string s = FEditor->GetText();
  if (FEditor->Focused() && CanFocus()) SetFocus();
  FEditor->Hide();
  FEnding = false;
  if (Cancel || !n) return;
  Edit(n, s);
  if (n) n->SetText(s);
}

void TCustomTreeView::CancelPendingEdit() {
  if (FEditPending && FTimerWnd) KillTimer(FTimerWnd, kEditTimer);
  FEditPending = false;
  FPressNode = nullptr;
}

void TCustomTreeView::EditTimer(TMessage& Message) {
  if (Message.Msg != WM_TIMER) return;
  KillTimer(FTimerWnd, kEditTimer);
  TTreeNode* n = FPressNode;
  bool pending = FEditPending;
  FEditPending = false;
  FPressNode = nullptr;
  if (pending && n && n == FSelected && Focused()) StartEditing(n);
}

// ---- keys

void TCustomTreeView::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCustomTreeView::KeyDown(uint16_t& Key, TShiftState Shift) {
  FSkipChar = false;
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0 || IsEditing()) return;
  EnsureRows();
  int count = static_cast<int>(FRows.size());
  TTreeNode* sel = FSelected;
  int row = sel && sel->IsVisible() ? sel->FRow : -1;
  int page = std::max(1, VisibleRowCount() - 1);
  if (Shift.Contains(ssCtrl)) {
    // Ctrl with the moving keys scrolls the view and leaves the selection where it is.
    switch (Key) {
      case VK_UP:
        SetTopRow(TopRow() - 1);
        break;
      case VK_DOWN:
        SetTopRow(TopRow() + 1);
        break;
      case VK_PRIOR:
        SetTopRow(TopRow() - page);
        break;
      case VK_NEXT:
        SetTopRow(TopRow() + page);
        break;
      case VK_HOME:
        SetTopRow(0);
        break;
      case VK_END:
        SetTopRow(count);
        break;
      case VK_LEFT:
        SetScrollX(GetScrollX() - 16);
        break;
      case VK_RIGHT:
        SetScrollX(GetScrollX() + 16);
        break;
      default:
        return;
    }
    Key = 0;
    return;
  }
  TTreeNode* target = nullptr;
  bool handled = true;
  switch (Key) {
    case VK_BACK:
      target = sel ? sel->GetParent() : nullptr;
      break;
    case VK_UP:
      target = row < 0 ? RowNode(0) : RowNode(row - 1);
      break;
    case VK_DOWN:
      target = row < 0 ? RowNode(0) : RowNode(row + 1);
      break;
    case VK_HOME:
      target = RowNode(0);
      break;
    case VK_END:
      target = RowNode(count - 1);
      break;
    case VK_PRIOR:
      target = RowNode(std::max(0, row - page));
      break;
    case VK_NEXT:
      target = RowNode(std::min(count - 1, std::max(0, row + page)));
      break;
    case VK_LEFT:
      if (!sel) {
        target = RowNode(0);
      } else if (sel->FExpanded && !sel->FChildren.empty()) {
        NodeCollapse(sel, false);
      } else {
        target = sel->GetParent();
      }
      break;
    case VK_RIGHT:
      if (!sel) {
        target = RowNode(0);
      } else if (!sel->FExpanded || sel->FChildren.empty()) {
        if (sel->FHasChildren || !sel->FChildren.empty()) NodeExpand(sel, false);
      } else {
        target = sel->GetFirstChild();
      }
      break;
    case VK_ADD:
      if (sel) NodeExpand(sel, false);
      FSkipChar = true;
      break;
    case VK_SUBTRACT:
      if (sel) NodeCollapse(sel, false);
      FSkipChar = true;
      break;
    case VK_MULTIPLY:
      if (sel) NodeExpand(sel, true);
      FSkipChar = true;
      break;
    case VK_F2:
      if (sel) StartEditing(sel);
      break;
    default:
      handled = false;
  }
  if (!handled) return;
  Key = 0;
  FSearch.clear();
  if (target && target != sel) UserSelect(target);
  if (FSelected && !target) ScrollIntoView(FSelected);
}

void TCustomTreeView::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  if (FSkipChar) {
    FSkipChar = false;
    Key = 0;
    return;
  }
  if (Key < 32 || Key == 127 || IsEditing()) return;
  TypeAhead(Key);
  Key = 0;
}

void TCustomTreeView::TypeAhead(char32_t Ch) {
  int64_t now = Application->GetTickCount();
  if (now - FSearchTime > kTypeAheadResetMs) FSearch.clear();
  FSearchTime = now;
  FSearch += edittext::Encode(Ch);
  EnsureRows();
  int count = static_cast<int>(FRows.size());
  if (count == 0) return;
  // One letter (or the same letter again and again) steps to the next match; a longer prefix
  // keeps the current node while it still matches.
  std::string key = FSearch;
  std::string first = edittext::Encode(edittext::Decode(FSearch, 0));
  bool repeated = true;
  for (size_t p = 0; p < FSearch.size(); p += first.size())
    if (FSearch.compare(p, first.size(), first) != 0) repeated = false;
  int cur = FSelected && FSelected->IsVisible() ? FSelected->FRow : -1;
  int start = cur;
  if (repeated) {
    key = first;
    start = cur + 1;
  }
  start = std::max(0, start);
  for (int k = 0; k < count; ++k) {
    TTreeNode* n = FRows[static_cast<size_t>((start + k) % count)];
    if (StartsWithNoCase(n->FText, key)) {
      if (n != FSelected) UserSelect(n);
      return;
    }
  }
}

// ---- mouse

void TCustomTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  bool wasFocused = Focused();
  if (CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && ScrollBarMouseDown(X, Y)) return;
  TTreeNode* n = GetNodeAt(X, Y);
  if (!n) return;
  THitTests ht = GetHitTestInfoAt(X, Y);
  if (Button == mbLeft && ht.Contains(htOnButton)) {
    CancelPendingEdit();
    ToggleNode(n);
    return;
  }
  if (Button == mbLeft && Shift.Contains(ssDouble)) {
    CancelPendingEdit();
    if (ht.Contains(htOnItem)) ToggleNode(n);
    return;
  }
  if (!ht.Contains(htOnItem)) return;
  bool wasSelected = n == FSelected && wasFocused;
  CancelPendingEdit();
  if (Button != mbLeft) return;
  if (!UserSelect(n)) return;
  if (wasSelected && !FReadOnly && ht.Contains(htOnLabel)) {
    FPressNode = n;
    FEditPending = true;
  }
}

void TCustomTreeView::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FThumbDrag != 0) {
    DragThumb(X, Y);
    return;
  }
  if (!FHotTrack) return;
  TTreeNode* n = GetHitTestInfoAt(X, Y).Contains(htOnLabel) ? GetNodeAt(X, Y) : nullptr;
  if (n == FHot) return;
  FHot = n;
  Invalidate();
}

void TCustomTreeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) FThumbDrag = 0;
  if (Button == mbLeft && FEditPending && FPressNode) {
    if (!FTimerWnd || SetTimer(FTimerWnd, kEditTimer, kEditDelayMs) == 0) {
      // Without a timer the slow click cannot be told from a double click: edit now.
      TTreeNode* n = FPressNode;
      FEditPending = false;
      FPressNode = nullptr;
      StartEditing(n);
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomTreeView::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (FHot) {
    FHot = nullptr;
    Invalidate();
  }
}

bool TCustomTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  if (handled) return true;
  int rows = WheelDelta * 3 / WHEEL_DELTA;
  if (rows == 0 && WheelDelta != 0) rows = WheelDelta > 0 ? 1 : -1;
  if (RowCount() <= VisibleRowCount()) return false;
  SetTopRow(TopRow() - rows);
  return true;
}

// ---- focus and messages

void TCustomTreeView::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  Invalidate();
}

void TCustomTreeView::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  FSearch.clear();
  Invalidate();
}

void TCustomTreeView::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  FRowHeight = 0;
  for (TTreeNode* n = FItems->GetFirstNode(); n; n = n->GetNext()) n->FTextWidth = -1;
  if (FEditNode) FEditor->SetFont(GetFont());
  NodesChanged();
}

void TCustomTreeView::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  Invalidate();
}

void TCustomTreeView::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  if (FEditNode) PlaceEditor();
  Invalidate();
}

void TCustomTreeView::Loaded() {
  TCustomControl::Loaded();
  NodesChanged();
}

// ---------------------------------------------------------------- registration

void RegisterTreeViewClasses() {
  RegisterStdWidgetClasses();
  auto builder =
      RegisterClass<TCustomTreeView>("TCustomTreeView", "TCustomControl")
          .Default("TabStop", true)
          .Default("ParentColor", false)
          .Default("Color", clWindow)
          .Prop("AutoExpand", &TCustomTreeView::GetAutoExpand, &TCustomTreeView::SetAutoExpand,
                false)
          .Prop("BorderStyle", &TCustomTreeView::GetBorderStyle, &TCustomTreeView::SetBorderStyle,
                bsSingle)
          .Prop("HideSelection", &TCustomTreeView::GetHideSelection,
                &TCustomTreeView::SetHideSelection, true)
          .Prop("HotTrack", &TCustomTreeView::GetHotTrack, &TCustomTreeView::SetHotTrack, false)
          .Prop("Indent", &TCustomTreeView::GetIndent, &TCustomTreeView::SetIndent, 19)
          .Prop("ReadOnly", &TCustomTreeView::GetReadOnly, &TCustomTreeView::SetReadOnly, false)
          .Prop("ShowButtons", &TCustomTreeView::GetShowButtons, &TCustomTreeView::SetShowButtons,
                true)
          .Prop("ShowLines", &TCustomTreeView::GetShowLines, &TCustomTreeView::SetShowLines, true)
          .Prop("ShowRoot", &TCustomTreeView::GetShowRoot, &TCustomTreeView::SetShowRoot, true);
  // The nodes as lines (one tab per level), written "Items.Strings = (...)" like any list.
  auto items = std::make_unique<TPropInfo>();
  items->Name = "Items";
  items->Kind = pkStrings;
  items->HasDefault = true;  // empty
  items->GetLines = [](const TPersistent* I) {
    auto* t = dynamic_cast<const TCustomTreeView*>(I);
    if (!t) detail::WrongInstance(I);
    return t->GetItems()->GetNodeLines();
  };
  items->SetLines = [](TPersistent* I, const std::vector<std::string>& Lines) {
    auto* t = dynamic_cast<TCustomTreeView*>(I);
    if (!t) detail::WrongInstance(I);
    t->GetItems()->SetNodeLines(Lines);
  };
  detail::AddProperty(builder.Info(), std::move(items));
  RegisterClass<TTreeView>("TTreeView", "TCustomTreeView");
}

}  // namespace qel

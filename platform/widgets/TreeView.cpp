// The tree view's behaviour: expansion, selection, deletion, sorting, keys, mouse and label
// editing. The node model is in TreeNodes.cpp, painting in TreeViewPaint.cpp, the published
// properties in TreeViewRegistration.cpp.
#include <algorithm>
#include <exception>

#include "platform/controls/Messages.h"
#include "platform/rtl/StrUtils.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/widgets/TreeViewImpl.h"

namespace qel {

using treeview_impl::TNodeGuard;

namespace {
constexpr uintptr_t kEditTimer = 1;
// A second click on the selected node opens the editor once the double-click time has passed
// without a second press.
constexpr unsigned kEditDelayMs = 500;
// Type-ahead letters belong to one search while they come within this time of each other.
constexpr int64_t kTypeAheadResetMs = 1000;

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
  const bool handled = Shift.Contains(ssCtrl) ? ScrollKey(Key) : NodeKey(Key);
  if (handled) Key = 0;
}

// Ctrl with the moving keys scrolls the view and leaves the selection where it is.
bool TCustomTreeView::ScrollKey(uint16_t Key) {
  const int page = std::max(1, VisibleRowCount() - 1);
  switch (Key) {
    case VK_UP:
      SetTopRow(TopRow() - 1);
      return true;
    case VK_DOWN:
      SetTopRow(TopRow() + 1);
      return true;
    case VK_PRIOR:
      SetTopRow(TopRow() - page);
      return true;
    case VK_NEXT:
      SetTopRow(TopRow() + page);
      return true;
    case VK_HOME:
      SetTopRow(0);
      return true;
    case VK_END:
      SetTopRow(static_cast<int>(FRows.size()));
      return true;
    case VK_LEFT:
      SetScrollX(GetScrollX() - 16);
      return true;
    case VK_RIGHT:
      SetScrollX(GetScrollX() + 16);
      return true;
    default:
      return false;
  }
}

TTreeNode* TCustomTreeView::KeyTarget(uint16_t Key, bool& Handled) {
  const int count = static_cast<int>(FRows.size());
  TTreeNode* sel = FSelected;
  const int row = sel && sel->IsVisible() ? sel->FRow : -1;
  const int page = std::max(1, VisibleRowCount() - 1);
  Handled = true;
  switch (Key) {
    case VK_BACK:
      return sel ? sel->GetParent() : nullptr;
    case VK_UP:
      return row < 0 ? RowNode(0) : RowNode(row - 1);
    case VK_DOWN:
      return row < 0 ? RowNode(0) : RowNode(row + 1);
    case VK_HOME:
      return RowNode(0);
    case VK_END:
      return RowNode(count - 1);
    case VK_PRIOR:
      return RowNode(std::max(0, row - page));
    case VK_NEXT:
      return RowNode(std::min(count - 1, std::max(0, row + page)));
    default:
      Handled = false;
      return nullptr;
  }
}

// The keys that move the selection, open and close nodes, or start a rename.
bool TCustomTreeView::NodeKey(uint16_t Key) {
  TTreeNode* sel = FSelected;
  bool handled = false;
  TTreeNode* target = KeyTarget(Key, handled);
  if (!handled) {
    handled = true;
    switch (Key) {
      case VK_LEFT:
        if (!sel)
          target = RowNode(0);
        else if (sel->FExpanded && !sel->FChildren.empty())
          NodeCollapse(sel, false);
        else
          target = sel->GetParent();
        break;
      case VK_RIGHT:
        if (!sel)
          target = RowNode(0);
        else if (sel->FExpanded && !sel->FChildren.empty())
          target = sel->GetFirstChild();
        else if (sel->FHasChildren || !sel->FChildren.empty())
          NodeExpand(sel, false);
        break;
      case VK_ADD:
      case VK_SUBTRACT:
      case VK_MULTIPLY:
        // The keypad's +, - and * expand, collapse and expand all; their characters type nothing.
        if (sel && Key == VK_SUBTRACT)
          NodeCollapse(sel, false);
        else if (sel)
          NodeExpand(sel, Key == VK_MULTIPLY);
        FSkipChar = true;
        break;
      case VK_F2:
        if (sel) StartEditing(sel);
        break;
      default:
        return false;
    }
  }
  FSearch.clear();
  if (target && target != sel) UserSelect(target);
  if (FSelected && !target) ScrollIntoView(FSelected);
  return true;
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

}  // namespace qel

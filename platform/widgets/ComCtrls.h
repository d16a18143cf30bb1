#pragma once
// The common controls: the tree view (TTreeNode, TTreeNodes, TCustomTreeView, TTreeView), and
// through DateTimePicker.h the month calendar and the date-time picker.
//
// Where the code lives: TreeView.cpp (the node model, expansion, selection, keys, mouse, label
// editing, registration), TreeViewPaint.cpp (row layout, scrolling, scroll bars, painting).
// docs/treeview.md records the choices.
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/widgets/DateTimePicker.h"

namespace qel {

QEL_DECLARE_EXCEPTION(ETreeViewError, Exception)

class TTreeNodes;
class TCustomTreeView;
class TCustomEdit;

enum THitTest : uint8_t {
  htAbove,
  htBelow,
  htNowhere,
  htOnItem,
  htOnButton,
  htOnIcon,
  htOnIndent,
  htOnLabel,
  htOnRight,
  htOnStateIcon,
  htToLeft,
  htToRight
};
using THitTests = TSet<THitTest>;

enum TNodeAttachMode : uint8_t { naAdd, naAddFirst, naAddChild, naAddChildFirst, naInsert };

// ---------------------------------------------------------------- TTreeNode

// One node of a tree view. Nodes are created and destroyed only through their TTreeNodes;
// a pointer to a node stays valid until the node is deleted.
class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  TTreeNodes* GetOwner() const { return FOwner; }
  TCustomTreeView* GetTreeView() const;

  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  void* GetData() const { return FData; }
  void SetData(void* Value) { FData = Value; }

  // nullptr for a node on the top level.
  TTreeNode* GetParent() const;
  // 0 for the top level.
  int GetLevel() const { return FLevel; }
  int GetCount() const { return static_cast<int>(FChildren.size()); }
  int Count() const { return GetCount(); }
  // The child at Index; raises EListError for an index out of range.
  TTreeNode* GetItem(int Index) const;
  TTreeNode* Item(int Index) const { return GetItem(Index); }
  // Position among its siblings.
  int GetIndex() const { return FIndex; }
  // Position in the whole tree in depth-first order (Items->Item(AbsoluteIndex) is this node).
  int GetAbsoluteIndex() const;

  TTreeNode* GetFirstChild() const;
  TTreeNode* GetLastChild() const;
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // Depth-first order through the whole tree, collapsed or not.
  TTreeNode* GetNext() const;
  TTreeNode* GetPrev() const;
  // The next and previous rows of the tree as shown (only through expanded parents).
  TTreeNode* GetNextVisible() const;
  TTreeNode* GetPrevVisible() const;
  TTreeNode* GetNextChild(const TTreeNode* Value) const;
  TTreeNode* GetPrevChild(const TTreeNode* Value) const;
  // Whether Value is this node's parent, grandparent, ...
  bool HasAsParent(const TTreeNode* Value) const;
  // Whether every parent is expanded (the node has a row).
  bool IsVisible() const;

  bool GetExpanded() const { return FExpanded; }
  // Expanding fires OnExpanding/OnExpanded through the tree, collapsing OnCollapsing/OnCollapsed.
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  // A button is shown when this is set, even before the children are there (they may be added
  // when the node expands). Adding a child sets it; deleting the last child clears it.
  bool GetHasChildren() const { return FHasChildren; }
  void SetHasChildren(bool Value);

  bool GetSelected() const;
  void SetSelected(bool Value);
  // In a single-selection tree the focused node is the selected one.
  bool GetFocused() const { return GetSelected(); }
  void SetFocused(bool Value) { SetSelected(Value); }
  bool GetDeleting() const { return FDeleting; }

  void Delete();
  void DeleteChildren();
  // Expands every parent and scrolls the tree so the node's row shows.
  void MakeVisible();
  // The node's row (TextOnly: its text cell) in client coordinates; empty when the node has no
  // row because a parent is collapsed.
  TRect DisplayRect(bool TextOnly) const;
  void EditText();
  void EndEdit(bool Cancel);

  // Sorts the children by text (or OnCompare), with Recurse the grandchildren too.
  bool AlphaSort(bool Recurse = false);
  bool CustomSort(std::function<int(TTreeNode*, TTreeNode*, intptr_t)> Compare, intptr_t Data,
                  bool Recurse = false);

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}
  ~TTreeNode() = default;

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;  // the hidden root for the top level
  std::vector<TTreeNode*> FChildren;
  std::string FText;
  void* FData = nullptr;
  int FIndex = 0;
  int FLevel = 0;
  int FAbsIndex = 0;    // valid while the owner's index list is current
  int FRow = -1;        // row in the tree's visible-row list while that is current
  int FTextWidth = -1;  // cached width of the text in the tree's font, -1 unknown
  bool FExpanded = false;
  bool FHasChildren = false;
  bool FDeleting = false;
};

// ---------------------------------------------------------------- TTreeNodes

// The nodes of a tree view. Item(Index) counts in depth-first order, the order a fully
// expanded tree shows them.
class TTreeNodes : public TPersistent {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes() override;
  std::string ClassName() const override { return "TTreeNodes"; }
  TCustomTreeView* GetOwner() const { return FOwner; }

  int GetCount() const { return FCount; }
  int Count() const { return FCount; }
  // Raises EListError "List index out of bounds (N)" outside 0..Count-1.
  TTreeNode* GetItem(int Index) const;
  TTreeNode* Item(int Index) const { return GetItem(Index); }
  TTreeNode* GetFirstNode() const;

  // Sibling-relative additions: a new last (first) sibling of Sibling, or of the top level when
  // Sibling is nullptr; Insert puts the node just before Sibling (at the end of the top level
  // when nullptr).
  TTreeNode* Add(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const std::string& S);
  TTreeNode* AddObjectFirst(TTreeNode* Sibling, const std::string& S, void* Ptr);
  TTreeNode* Insert(TTreeNode* Sibling, const std::string& S);
  TTreeNode* InsertObject(TTreeNode* Sibling, const std::string& S, void* Ptr);
  // A new last (first) child of Parent; nullptr means the top level.
  TTreeNode* AddChild(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const std::string& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const std::string& S);
  TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const std::string& S, void* Ptr);

  // Deletes Node and everything below it (OnDeletion fires for each, children first). Safe
  // from any event handler: a node that is already being deleted is left alone, and deletions
  // asked for while OnDeletion runs happen right after it.
  void Delete(TTreeNode* Node);
  void Clear();

  // Batches changes: the tree rebuilds its rows and repaints once, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  bool AlphaSort(bool Recurse = true);
  bool CustomSort(std::function<int(TTreeNode*, TTreeNode*, intptr_t)> Compare, intptr_t Data,
                  bool Recurse = true);

  // The tree as text lines: one node a line, one leading tab per level. Reading accepts tabs
  // or spaces (each one a level); a line deeper than one below the line before it becomes a
  // child of that line. Blank lines are skipped.
  std::vector<std::string> GetNodeLines() const;
  void SetNodeLines(const std::vector<std::string>& Lines);
  void SaveToStrings(TStrings* Strings) const;
  void LoadFromStrings(const TStrings* Strings);

  // Keeps *Slot pointing at a node or nullptr: when the node it holds is freed, the slot is
  // cleared. For code that calls event handlers which may delete the node it works on.
  void Watch(TTreeNode** Slot);
  void Unwatch(TTreeNode** Slot);

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InternalAdd(TTreeNode* Parent, int Index, const std::string& S, void* Ptr);
  TTreeNode* ParentOf(TTreeNode* Sibling) const;
  void CheckNode(const TTreeNode* Node) const;
  void DoDelete(const std::vector<TTreeNode*>& Tops, bool Clearing);
  void Changed();  // structure changed: index list and rows are stale
  void BuildIndex() const;
  void SortChildren(TTreeNode* Parent, const std::function<int(TTreeNode*, TTreeNode*)>& Compare,
                    bool Recurse);
  void FreeNode(TTreeNode* Node);

  TCustomTreeView* FOwner;
  TTreeNode* FRoot;  // hidden; its children are the top level
  int FCount = 0;
  int FUpdateCount = 0;
  mutable std::vector<TTreeNode*> FIndexList;
  mutable bool FIndexValid = true;
  std::vector<TTreeNode**> FWatches;
  int FNotifying = 0;                     // OnDeletion handlers running
  std::list<TTreeNode*> FPendingDeletes;  // deletions asked for during them (watched slots)
};

// ---------------------------------------------------------------- TCustomTreeView

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent =
    std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, std::string& S)>;
using TTVCompareEvent = std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2,
                                           intptr_t Data, int& Compare)>;

// A tree of text nodes with +/- buttons, dotted lines, keyboard and mouse navigation, label
// editing and drawn scroll bars. Only the rows in view are painted; the list of visible rows is
// kept until expansion or the structure changes, so scrolling a large tree costs nothing per
// node.
class TCustomTreeView : public TCustomControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  std::string ClassName() const override { return "TCustomTreeView"; }

  TTreeNodes* GetItems() const { return FItems.get(); }
  TTreeNodes* Items() const { return FItems.get(); }

  TTreeNode* GetSelected() const { return FSelected; }
  // Selects Node (nullptr: none) through OnChanging/OnChange; a veto leaves the selection.
  void SetSelected(TTreeNode* Value);
  TTreeNode* GetTopItem() const;
  void SetTopItem(TTreeNode* Value);
  // The node whose row holds client point (X, Y), or nullptr.
  TTreeNode* GetNodeAt(int X, int Y) const;
  THitTests GetHitTestInfoAt(int X, int Y) const;
  void FullExpand();
  void FullCollapse();
  bool AlphaSort(bool Recurse = true) { return FItems->AlphaSort(Recurse); }
  bool CustomSort(std::function<int(TTreeNode*, TTreeNode*, intptr_t)> Compare, intptr_t Data,
                  bool Recurse = true) {
    return FItems->CustomSort(std::move(Compare), Data, Recurse);
  }

  // Label editing: opens the in-place editor on Node (OnEditing may refuse; ReadOnly refuses).
  bool StartEditing(TTreeNode* Node);
  // Ends editing; Cancel drops what was typed, otherwise OnEdited sees the text and the node
  // takes it.
  void EndEditing(bool Cancel);
  bool IsEditing() const;
  TTreeNode* EditingNode() const { return FEditNode; }
  TCustomEdit* GetEditControl() const;

  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool Value);
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool Value);
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool Value);
  // Pixels per level, 1..1000 (values outside are clamped).
  int GetIndent() const { return FIndent; }
  void SetIndent(int Value);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Expands a node when it is selected by the user (keys and clicks).
  bool GetAutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool Value) { FAutoExpand = Value; }

  // ---- geometry, shared by painting, hit testing and scrolling (client coordinates)
  int RowHeight() const;
  TRect RowsArea() const;             // where rows are drawn (inside the border and scroll bars)
  int VisibleRowCount() const;        // whole rows that fit
  int RowCount() const;               // rows of the tree as expanded now
  TTreeNode* RowNode(int Row) const;  // nullptr out of range
  int TopRow() const;
  void SetTopRow(int Value);
  int GetScrollX() const;
  void SetScrollX(int Value);
  int ContentWidth() const;                       // widest row, pixels
  TRect ButtonRect(const TTreeNode* Node) const;  // the 9x9 box, empty when none is shown
  TRect TextRect(const TTreeNode* Node) const;    // the text cell, empty without a row
  TRect VScrollBarRect() const;
  TRect HScrollBarRect() const;
  TRect VThumbRect() const;
  TRect HThumbRect() const;
  TTreeNode* HotNode() const { return FHot; }

  TTVChangingEvent OnChanging;
  TTVChangedEvent OnChange;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVExpandedEvent OnDeletion;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVCompareEvent OnCompare;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  TCursor GetCursorAt(int X, int Y) const override;
  void Loaded() override;

 protected:
  friend class TTreeNode;
  friend class TTreeNodes;
  friend class TTreeEdit;
  // The steps behind the events; a descendant overrides them to add its own behaviour.
  virtual bool CanExpand(TTreeNode* Node);             // OnExpanding
  virtual void Expand(TTreeNode* Node);                // OnExpanded
  virtual bool CanCollapse(TTreeNode* Node);           // OnCollapsing
  virtual void Collapse(TTreeNode* Node);              // OnCollapsed
  virtual bool CanChange(TTreeNode* Node);             // OnChanging
  virtual void Change(TTreeNode* Node);                // OnChange
  virtual void Delete(TTreeNode* Node);                // OnDeletion
  virtual bool CanEdit(TTreeNode* Node);               // OnEditing
  virtual void Edit(TTreeNode* Node, std::string& S);  // OnEdited

  void Paint() override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

 private:
  // The steps of KeyDown: Ctrl scrolls, the other keys act on the nodes; true when used.
  bool ScrollKey(uint16_t Key);
  bool NodeKey(uint16_t Key);
  // The node a moving key selects (Handled false for a key that is not one).
  TTreeNode* KeyTarget(uint16_t Key, bool& Handled);
  // Node model callbacks (TreeView.cpp).
  bool NodeExpand(TTreeNode* Node, bool Recurse);
  bool NodeCollapse(TTreeNode* Node, bool Recurse);
  void NodesChanged();  // structure or expansion changed
  void NodeTextChanged(TTreeNode* Node);
  void BeforeDetach(TTreeNode* Top);  // a subtree is about to leave the tree
  void SelectionLost(TTreeNode* NewSelection, bool Notify);
  // The user's selection: through OnChanging/OnChange, with AutoExpand, made visible.
  bool UserSelect(TTreeNode* Node);
  bool InternalSelect(TTreeNode* Node, bool AskFirst);
  void ToggleNode(TTreeNode* Node);
  void TypeAhead(char32_t Ch);
  void EditTimer(TMessage& Message);
  void CancelPendingEdit();

  // Rows and geometry (TreeViewPaint.cpp).
  void EnsureRows() const;
  int NodeColumn(const TTreeNode* Node) const;
  int ColumnX(const TTreeNode* Node) const;  // content x where the node's column starts
  int TextWidthOf(TTreeNode* Node) const;
  int ClampTop(int Top) const;
  int MaxScrollX() const;
  void ScrollIntoView(const TTreeNode* Node);
  void ScrollBarsNeeded(bool& V, bool& H) const;
  TRect InnerRect() const;  // the client inside the border
  void PaintRow(TCanvas* C, TTreeNode* Node, int Y) const;
  void PaintScrollBars(TCanvas* C) const;
  bool ScrollBarMouseDown(int X, int Y);
  void DragThumb(int X, int Y);
  void PlaceEditor();

  std::unique_ptr<TTreeNodes> FItems;
  TTreeNode* FSelected = nullptr;
  TTreeNode* FHot = nullptr;
  TTreeNode* FEditNode = nullptr;
  mutable TTreeNode* FTopNode = nullptr;  // the node shown at the top, kept over rebuilds
  TTreeNode* FPressNode = nullptr;        // the node a pending slow-click edit is for
  mutable int FTopRow = 0;
  int FScrollX = 0;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  int FIndent = 19;
  bool FHotTrack = false;
  bool FReadOnly = false;
  bool FHideSelection = true;
  bool FAutoExpand = false;
  TBorderStyle FBorderStyle = bsSingle;
  // The visible-row list and what depends on it; rebuilt on demand after NodesChanged.
  mutable std::vector<TTreeNode*> FRows;
  mutable bool FRowsValid = false;
  mutable int FContentWidth = 0;
  mutable int FRowHeight = 0;  // 0: measure again
  // Scroll bar thumb dragging: 1 vertical, 2 horizontal, 0 none.
  int FThumbDrag = 0;
  int FThumbGrab = 0;
  // Type-ahead search: the letters so far and when the last one came (virtual clock).
  std::string FSearch;
  int64_t FSearchTime = 0;
  bool FSkipChar = false;  // the key just handled types a character that must not search
  // A click on the already selected node starts a timer; editing opens when it fires unless a
  // double click came first.
  HWND FTimerWnd = 0;
  bool FEditPending = false;
  bool FWasSelectedOnDown = false;
  TCustomEdit* FEditor = nullptr;  // created on first use, kept hidden between edits
  bool FEnding = false;
};

class TTreeView : public TCustomTreeView {
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
  std::string ClassName() const override { return "TTreeView"; }
};

// Registers the tree view with the class registry (idempotent). Its nodes are published as
// Items: one line per node, leading tabs giving the level (see TTreeNodes::GetNodeLines).
void RegisterTreeViewClasses();

}  // namespace qel

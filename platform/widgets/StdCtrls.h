#pragma once
// The standard text controls: the single-line edit (TCustomEdit, TEdit), the multi-line memo
// (TCustomMemo, TMemo) and the label (TCustomLabel, TLabel).
//
// Where the code lives: Edit.cpp (text model, keys, mouse, clipboard, caret), EditPaint.cpp
// (layout of the lines, scrolling, painting, the memo's scroll bars), Memo.cpp (the memo and its
// Lines), Label.cpp; WidgetRegistration.cpp registers the published properties of every
// widget. docs/widgets.md records the choices.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/rtl/Strings.h"
#include "platform/widgets/DropDownList.h"

namespace qel {

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// ---------------------------------------------------------------- TCustomEdit

// A single-line text editor. The text is the control's Text (UTF-8); positions exposed to users
// (SelStart, SelLength) count code points, while the editor works on byte offsets internally and
// never lets a position fall inside a multi-byte sequence (or between CR and LF in a memo).
class TCustomEdit : public TCustomControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  ~TCustomEdit() override;
  std::string ClassName() const override { return "TCustomEdit"; }

  // Selection, in code points. SelStart moves the caret there (clamped) and clears the selection;
  // SelLength extends the selection from SelStart (negative lengths select backwards).
  int GetSelStart() const;
  void SetSelStart(int Value);
  int GetSelLength() const;
  void SetSelLength(int Value);
  std::string GetSelText() const;
  // Replaces the selection as if typed (limits and ReadOnly do not apply to the program).
  // The editing operations are virtual so that an edit with rules of its own (a masked edit)
  // keeps them whatever calls it: keys, the standard context menu or a base pointer.
  virtual void SetSelText(const std::string& Value);
  void SelectAll();
  virtual void ClearSelection();
  void Clear() { SetText(""); }
  // Length of the text in code points.
  int GetTextLen() const;

  void CopyToClipboard();
  virtual void CutToClipboard();
  virtual void PasteFromClipboard();
  bool CanUndo() const { return FCanUndo; }
  // One level: undoing twice restores the state before the first undo.
  virtual void Undo();
  void ClearUndo() { FCanUndo = false; }

  bool GetModified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Most code points the user can type or paste; 0 means no limit. The program may set longer.
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool GetAutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  char32_t GetPasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(char32_t Value);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  TEditCharCase GetCharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // Where lines sit when they are narrower than the text area.
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // Whether the caret is drawn now (it blinks every 500 ms while the control has the focus).
  bool CaretShown() const { return FCaretOn && Focused(); }
  // The caret rectangle in client coordinates (where it is drawn when shown).
  TRect CaretRect() const;
  // Horizontal scroll offset of the text, in pixels.
  int GetScrollX() const { return FScrollX; }
  // The byte offset of the caret and of the selection anchor (the fixed end).
  int CaretPos() const { return FCaret; }
  int AnchorPos() const { return FAnchor; }
  // The code point position nearest to a client point.
  int CharFromPos(TPoint P) const;
  // The standard context menu (Undo, Cut, Copy, Paste, Delete, Select All) shown on a right
  // click, Shift+F10 or the menu key when the edit has no PopupMenu of its own; nullptr until it
  // first opens. EditMenu.cpp.
  TPopupMenu* StandardMenu() const { return FStandardMenu; }

  TNotifyEvent OnChange;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Loaded() override;

 protected:
  // Called after every change of the text, by the user or the program; fires OnChange. The hook
  // descendants override to check or transform what was typed.
  virtual void Change();

  // One displayed line: bytes [Start, End) of the text (End excludes a line break).
  struct TEditLine {
    int Start = 0;
    int End = 0;
  };

  // ---- geometry (EditPaint.cpp), shared by painting, hit testing and scrolling
  int BorderSize() const;          // pixels of the frame on each side
  virtual TRect TextArea() const;  // where text is drawn, in client coordinates
  int LineHeight() const;          // the font's cell height
  // The displayed lines; one line for the edit, the wrapped or split lines for a memo.
  virtual std::vector<TEditLine> DisplayLines() const;
  int LineOfPos(const std::vector<TEditLine>& Lines, int Pos) const;
  // What is drawn for bytes [From, To) of the text (the password mask, when set).
  std::string Shown(int From, int To) const;
  int TextX(const TEditLine& Line, int Pos) const;  // pixel offset of Pos from the line start
  int PosAtX(const TEditLine& Line, int X) const;   // nearest boundary to pixel offset X
  int PosAtPoint(TPoint P) const;                   // byte position at a client point
  int LineLeft(const TEditLine& Line) const;        // client x where the line's text starts
  int FirstLineY() const;                           // client y of the first visible line
  TCanvas* MeasureCanvas() const;

  // ---- editing (Edit.cpp)
  // Byte positions: the next/previous character boundary (CR LF counts as one character).
  int NextPos(int Pos) const;
  int PrevPos(int Pos) const;
  int WordRight(int Pos) const;
  int WordLeft(int Pos) const;
  // Moves the caret; with Extend the anchor stays (a selection grows), otherwise both move.
  void MoveCaret(int Pos, bool Extend);
  // Replaces the selection with S as the user would: refuses when ReadOnly, cuts S to MaxLength.
  // Returns whether the text changed.
  bool UserReplace(std::string S);
  // Replaces the selection with S (no checks), keeps undo when User.
  void ReplaceSelection(const std::string& S, bool User);
  // For a descendant's Change that judges the user's edit being announced (typed, deleted,
  // pasted, cut or undone): WithdrawUserEdit puts back the text, selection, undo step and
  // Modified flag from before it, as if it had not happened (false when no user edit is being
  // announced). ReviseUserEdit makes S the outcome of that edit: the undo step stays, so Undo
  // returns to the text before it; the caret stays where it is, within S. Both announce the
  // text they set through Change again.
  bool WithdrawUserEdit();
  void ReviseUserEdit(const std::string& S);
  // Filters text on its way in: line breaks, case.
  virtual std::string FilterInput(const std::string& S) const;
  virtual void ScrollToCaret();
  void RestartCaret();
  void AdjustHeight();
  virtual bool IsMultiLine() const { return false; }
  // Vertical navigation (the memo); the edit ignores it.
  virtual bool NavigateKey(uint16_t, TShiftState) { return false; }
  int SelFrom() const { return FCaret < FAnchor ? FCaret : FAnchor; }
  int SelTo() const { return FCaret < FAnchor ? FAnchor : FCaret; }

  void Paint() override;
  void PaintLines(TCanvas* C) const;
  virtual void PaintScrollBars(TCanvas*) const {}

  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMEnter(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  bool DefaultContextMenu(TPoint ScreenPos) override;
  TPoint KeyboardContextPoint() const override;
  // True while the focus is one that came back with the form's window (after a dialog or another
  // window had the keys) rather than entering the control: nothing was selected anew.
  bool FocusReturning() const { return FFocusReturning; }

  int FCaret = 0;   // byte offset of the caret (the moving end of the selection)
  int FAnchor = 0;  // byte offset of the fixed end
  int FScrollX = 0;
  int FTopLine = 0;  // first displayed line (memo)
  int FGoalX = -1;   // remembered x for vertical moves (memo), -1 when none
  bool FSelecting = false;
  bool FWordSelecting = false;  // dragging after a double click extends by words
  int FWordAnchorFrom = 0, FWordAnchorTo = 0;
  TPoint FDragPoint;  // where a selecting drag last was, for scrolling while it stands outside

 private:
  void CaretTimer(TMessage& Message);
  void DragScrollStep();
  void UpdateStandardMenu();

  bool FModified = false;
  bool FReadOnly = false;
  int FMaxLength = 0;
  bool FAutoSelect = true;
  bool FLeftWithWindow = false;  // the focus went with the window, to no other control
  bool FFocusReturning = false;
  bool FAutoSize = true;
  TBorderStyle FBorderStyle = bsSingle;
  char32_t FPasswordChar = 0;
  bool FHideSelection = true;
  TEditCharCase FCharCase = ecNormal;
  TAlignment FAlignment = taLeftJustify;
  bool FCaretOn = false;
  HWND FCaretWnd = 0;
  bool FInternalChange = false;  // the text is being replaced by an edit (keep caret and undo)
  bool FCanUndo = false;
  // Typing in one run is one undo step: set while the caret stays where the last typed
  // character went.
  bool FTypingRun = false;
  std::string FUndoText;
  int FUndoCaret = 0, FUndoAnchor = 0;
  // The state a user edit found, kept while the edit is announced (WithdrawUserEdit).
  struct TEditBefore {
    std::string Text, UndoText;
    int Caret = 0, Anchor = 0, UndoCaret = 0, UndoAnchor = 0;
    bool CanUndo = false, TypingRun = false, Modified = false;
  };
  TEditBefore FBefore;
  bool FAnnouncing = false;             // a user edit is being announced through Change
  bool FWithdrawn = false;              // the edit being made was withdrawn by Change
  TPopupMenu* FStandardMenu = nullptr;  // owned by the edit, made on first use
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
  std::string ClassName() const override { return "TEdit"; }
};

// ---------------------------------------------------------------- TCustomMemo

class TCustomMemo;

// The memo's lines: a live view of the memo's text, so a change through either shows in both.
// The lines are split from the text once and kept until the text changes; between BeginUpdate
// and EndUpdate changes go to the lines alone and the text is joined once at the end, so
// filling a memo line by line takes linear time.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  std::string ClassName() const override { return "TMemoStrings"; }
  int GetCount() const override;
  std::string Get(int Index) const override;
  void Put(int Index, const std::string& S) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  // Told by the memo when its text changed from elsewhere.
  void TextChanged() {
    if (!FJoining) FSplit = false;
  }

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  std::vector<std::string>& Lines() const;
  // Writes the lines back as the memo's text (at once, or at EndUpdate while updating).
  void Changed(bool KeepsLines);
  TCustomMemo* FMemo;
  mutable std::vector<std::string> FLines;
  mutable bool FSplit = false;  // FLines holds the lines of the text
  bool FUpdating = false;
  bool FPending = false;  // the text is behind FLines
  bool FJoining = false;
};

// A multi-line editor. Line breaks in Text are CR LF (any of LF, CR LF, CR is accepted on the way
// in and stored as CR LF); Lines shows the text line by line.
class TCustomMemo : public TCustomEdit {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  std::string ClassName() const override { return "TCustomMemo"; }

  TStrings* GetLines() const { return FLines.get(); }
  void SetLines(const TStrings* Value) { FLines->Assign(Value); }
  bool GetWantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool GetWantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TScrollStyle GetScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  // The caret as line and column (0-based; the column counts code points).
  TPoint GetCaretPos() const;
  void SetCaretPos(TPoint Value);
  // First displayed line; setting scrolls (clamped).
  int GetTopLine() const { return FTopLine; }
  void SetTopLine(int Value);
  int VisibleLineCount() const;
  int DisplayLineCount() const { return static_cast<int>(DisplayLines().size()); }

  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyPress(char32_t& Key) override;

  // Scroll bar geometry (client coordinates; empty when the bar is not shown).
  TRect VScrollBarRect() const;
  TRect HScrollBarRect() const;
  TRect VThumbRect() const;
  TRect HThumbRect() const;

 protected:
  TRect TextArea() const override;
  std::vector<TEditLine> DisplayLines() const override;
  std::string FilterInput(const std::string& S) const override;
  void ScrollToCaret() override;
  bool IsMultiLine() const override { return true; }
  bool NavigateKey(uint16_t Key, TShiftState Shift) override;
  void PaintScrollBars(TCanvas* C) const override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;
  int MaxScrollX() const;
  int ContentWidth() const;
  void WndProc(TMessage& Message) override;

 private:
  std::unique_ptr<TMemoStrings> FLines;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = ssNone;
  // Dragging a scroll bar thumb: 1 vertical, 2 horizontal, 0 none.
  int FThumbDrag = 0;
  int FThumbGrab = 0;
  // The wrapped layout of the text, kept until the text, width or font changes: navigation,
  // hit testing and painting ask for it many times per key.
  mutable std::vector<TEditLine> FLayoutLines;
  mutable std::string FLayoutKey;
  mutable std::string FLayoutText;
};

class TMemo : public TCustomMemo {
 public:
  explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
  std::string ClassName() const override { return "TMemo"; }
};

// ---------------------------------------------------------------- TCustomLabel

// A caption drawn on the parent's surface. With AutoSize it takes the size of its text (measured
// through DoDrawText with DT_CALCRECT, so a descendant that draws differently measures itself).
class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);
  ~TCustomLabel() override;
  std::string ClassName() const override { return "TCustomLabel"; }

  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TTextLayout GetLayout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool GetTransparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool GetShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

  void WndProc(TMessage& Message) override;
  void Loaded() override;

 protected:
  // Draws (or, with DT_CALCRECT in Flags, only measures: Rect then receives the text's extent)
  // the caption in Rect. The disabled look is an embossed highlight/shadow pair.
  virtual void DoDrawText(TRect& Rect, unsigned Flags);
  // The DrawText flags for the current alignment, wrapping and accelerator setting.
  unsigned DrawTextFlags() const;
  virtual void AdjustBounds();
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  TTextLayout FLayout = tlTop;
  bool FAutoSize = true;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
  bool FAdjusting = false;
};

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
  std::string ClassName() const override { return "TLabel"; }
};

// ---------------------------------------------------------------- TButton
//
// The push button lives in Button.cpp; docs/dialogs.md records its choices.

// A windowed push button. It clicks on a left-button release inside it, on Space (released),
// on its "&x" accelerator, on Enter when it is the active default and on Esc when it is the
// cancel button. A click sets the parent form's ModalResult to the button's own (when not
// mrNone) before OnClick runs.
class TButton : public TCustomControl {
 public:
  explicit TButton(TComponent* AOwner);
  ~TButton() override;
  std::string ClassName() const override { return "TButton"; }

  // Enter anywhere on the form clicks a Default button, unless the focused control wants Enter
  // or another button has the focus (Enter then clicks that one).
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool Value);
  bool GetCancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }

  // Whether Enter clicks this button now, which it shows with a dark outer frame: it has the
  // focus, or it is Default and no other button has the focus.
  bool IsActiveDefault() const;
  // Whether it is drawn pressed in now (the mouse held inside it, or Space held).
  bool IsPressed() const { return (FMouseDown && FMouseInside) || FSpaceDown; }

  void Click() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyUp(uint16_t& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 protected:
  void Paint() override;
  void CMDialogKey(TMessage& Message) override;
  void CMDialogChar(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;

 private:
  // The look of the default buttons of the form depends on which button has the focus.
  void InvalidateDefaultButtons();
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
  bool FMouseDown = false;    // the left button went down on us and is still held
  bool FMouseInside = false;  // ... and the pointer is inside
  bool FSpaceDown = false;
};

// The character that "&x" marks in Caption (lower-cased ASCII), 0 when none.
char32_t AccelCharOf(const std::string& Caption);

// Registers the published properties of the edit, memo, label, panel and speed button with the
// class registry (idempotent).
void RegisterStdWidgetClasses();

}  // namespace qel

// ---------------------------------------------------------------- TCustomComboBox
//
// The combo box lives in ComboBox.cpp; docs/widgets.md describes the drop-down list.

namespace qel {

enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed };
enum TOwnerDrawStateItem : uint8_t {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

class TCustomComboBox;
using TDrawItemEvent =
    std::function<void(TObject* Sender, int Index, const TRect& Rect, TOwnerDrawState State)>;

// A text field with a list that drops down below it. csDropDown edits the text in an embedded
// edit; csDropDownList and csOwnerDrawFixed only choose from Items (the latter drawn by
// DrawItem). csSimple is kept for the ordinal order of the style names and behaves as
// csDropDown. The open list is a control placed on the form above every other control; while
// open it holds the mouse capture, so a press anywhere else closes it.
class TCustomComboBox : public TCustomControl, private TDropDownListClient {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  std::string ClassName() const override { return "TCustomComboBox"; }

  TComboBoxStyle GetStyle() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  TStrings* GetItems() const { return FItems.get(); }
  void SetItems(const TStrings* Value) { FItems->Assign(Value); }
  // -1 when nothing is selected. Setting it shows the item's text; it fires no event.
  int GetItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int GetDropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);  // at least 1
  bool GetDroppedDown() const { return FDropped; }
  void SetDroppedDown(bool Value);
  // Height of one list item; the box itself is ItemHeight + 6 high.
  int GetItemHeight() const;
  void SetItemHeight(int Value);
  bool GetSorted() const { return FItems->GetSorted(); }
  void SetSorted(bool Value);
  int GetMaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  // The text of the box: the edit's text in csDropDown, the selected item's otherwise (setting
  // it there selects the item with that text, or none).
  std::string GetComboText() const { return GetText(); }
  void SetComboText(const std::string& Value) { SetText(Value); }
  void Clear();
  // The canvas items are drawn on: the open list's canvas while it paints an item, the box's
  // own otherwise (DrawItem overrides draw with it).
  TCanvas* Canvas() const;

  // While the list is open: the highlighted item and the first one shown.
  int ListIndex() const { return FListIndex; }
  int ListTopIndex() const { return FListTop; }
  TCustomControl* ListControl() const { return FList; }
  TCustomEdit* EditControl() const { return FEdit; }

  // ---- geometry, shared by painting and hit testing
  TRect ButtonRect() const;  // the arrow button, client coordinates
  TRect EditRect() const;    // where the text (or the drawn item) sits
  // The list's bounds in form coordinates, and an item's rectangle in list coordinates.
  TRect ListBounds() const;
  TRect ListItemRect(int Index) const;
  int ListVisibleCount() const;
  bool ListHasScrollBar() const;
  TRect ListScrollBarRect() const;  // list coordinates; empty without a scroll bar
  TRect ListThumbRect() const;      // its thumb, list coordinates; empty when there is none
  // The item at a point of the list, -1 outside the items.
  int ListItemAt(TPoint P) const;

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;
  TNotifyEvent OnSelect;
  TDrawItemEvent OnDrawItem;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  friend class TComboEdit;
  // Draws one item in Rect on Canvas(): calls OnDrawItem when assigned, else the default look.
  // Used for every item in csOwnerDrawFixed.
  virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
  virtual void DropDown();  // fires OnDropDown just before the list opens
  virtual void CloseUp();   // fires OnCloseUp after it closed
  virtual void Change();    // fires OnChange
  virtual void Select();    // a choice by the user: OnSelect when set, else Change
  void Paint() override;
  void CMTextChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMWantSpecialKey(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // Draws item Index as the list and the closed box show it, owner drawn or not.
  void PaintItem(TCanvas* C, int Index, const TRect& Rect, TOwnerDrawState State);
  // The keys of the box and the open list; Key becomes 0 when used.
  void ComboKey(uint16_t& Key, TShiftState Shift);
  // Opens or closes the list; Accept takes the highlighted item as the choice.
  void OpenList();
  void CloseList(bool Accept);
  // Makes Index the user's choice: selects it and fires OnClick and the change events.
  void ChooseItem(int Index);
  void SetListIndex(int Index);
  void ScrollListTo(int Top);
  void ItemsChanged();
  bool HasEdit() const { return FStyle == csDropDown || FStyle == csSimple; }
  bool OwnerDrawn() const { return FStyle == csOwnerDrawFixed; }
  // The next item (after the highlighted or selected one, wrapping) whose text starts with Ch.
  int FindByFirstChar(char32_t Ch, int From) const;

 private:
  void UpdateEdit();
  void PlaceEdit();
  // The open list's side of the box.
  widgetpaint::TListScrollBar DropDownScrollBar() const override;
  void DropDownScrollTo(int Top) override { ScrollListTo(Top); }
  int DropDownItemAt(TPoint P) const override { return ListItemAt(P); }
  void DropDownHighlight(int Index) override { SetListIndex(Index); }
  void DropDownClose(bool Accept) override { CloseList(Accept); }
  bool DropDownIsOpen() const override { return FDropped; }
  void DropDownPaintItems(TCanvas* C) override;
  TColor DropDownColor() const override { return GetColor(); }
  TFont* DropDownFont() const override { return GetFont(); }

  TComboBoxStyle FStyle = csDropDown;
  std::unique_ptr<TStringList> FItems;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  int FItemHeight = 0;  // 0: from the font
  int FMaxLength = 0;
  bool FDropped = false;
  int FListIndex = -1;
  int FListTop = 0;
  TCustomEdit* FEdit = nullptr;    // csDropDown only; a child owned by the box
  TDropDownList* FList = nullptr;  // on the form while open, owned by the box
  mutable TCanvas* FDrawCanvas = nullptr;
  bool FSyncing = false;  // text flowing between the box and its edit
};

class TComboBox : public TCustomComboBox {
 public:
  explicit TComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {}
  std::string ClassName() const override { return "TComboBox"; }
};

// Registers the combo box and the popup menu classes with the class registry (idempotent).
void RegisterMenuAndComboClasses();

}  // namespace qel

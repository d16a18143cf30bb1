#pragma once
// The grid core: a scrollable table of cells drawn by the grid's own cell loop, with fixed
// (header) rows and columns, keyboard and mouse navigation, range selection, line dragging to
// size rows and columns, and scroll bars the grid draws itself. TDrawGrid leaves the contents of
// each cell to OnDrawCell; the report list, the table editor and the calendar derive from
// TCustomGrid and override DrawCell.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

struct TGridCoord {
  int X = 0;  // column
  int Y = 0;  // row
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, inclusive on all sides.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Contains(int ACol, int ARow) const {
    return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
  }
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

enum TGridOption : uint8_t {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

// What a mouse drag is doing right now.
enum TGridState : uint8_t {
  gsNormal,
  gsSelecting,
  gsRowSizing,
  gsColSizing,
  gsRowMoving,
  gsColMoving,
  gsVertThumb,
  gsHorzThumb,
  gsScrollRepeat  // a scroll-bar arrow or track held down
};

// The part of a grid under a point, as hit testing sees it.
enum TGridHitKind : uint8_t {
  ghNone,
  ghCell,
  ghColLine,  // the grid line after a column, in the fixed rows (column sizing)
  ghRowLine,  // the grid line after a row, in the fixed columns (row sizing)
  ghLineUp,   // scroll bar arrows, tracks and thumbs
  ghLineDown,
  ghPageUp,
  ghPageDown,
  ghThumb
};

using TDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect,
                                          TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;

using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, std::string& Value)>;
using TSetEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::string& Value)>;

using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// How the in-place editor of a cell looks: a plain edit, an edit with a "..." button that calls
// EditButtonClick, or an edit with a drop-down button and a list of values to choose from.
enum TEditStyle : uint8_t { esSimple, esEllipsis, esPickList };

// Sizes along one axis: a default size plus a sparse set of exceptions, with prefix sums of the
// exceptions' differences, so the position of any cell and the cell at any position cost
// O(log n) whatever the count. Positions include one grid line after every cell.
class TGridAxis {
 public:
  int GetCount() const { return FCount; }
  void SetCount(int Value);
  int GetDefault() const { return FDefault; }
  void SetDefault(int Value);  // drops the exceptions, as the classic grid does
  int GetLine() const { return FLine; }
  void SetLine(int Value) { FLine = Value; }
  int GetSize(int Index) const;
  void SetSize(int Index, int Value);
  // Moves the size of cell From to To, shifting the cells between by one.
  void Move(int From, int To);
  // Start of cell Index (0..Count) from the start of cell 0.
  int64_t Pos(int Index) const;
  // The cell whose extent (cell and its line) holds position P (0 <= P < Pos(Count)); -1 outside.
  int IndexAt(int64_t P) const;
  // The smallest index I >= From with Pos(I) >= P (Count when there is none).
  int FirstAtOrAfter(int64_t P, int From) const;

 private:
  void Rebuild() const;
  int FCount = 0;
  int FDefault = 24;
  int FLine = 1;
  std::map<int, int> FSizes;  // index -> size, only where it differs from the default
  mutable bool FDirty = false;
  mutable std::vector<int> FIdx;        // exception indices in order
  mutable std::vector<int64_t> FDelta;  // sum of (size - default) of exceptions before FIdx[k]
  mutable int64_t FTotalDelta = 0;
};

class TCustomGrid;
class TInplaceEditButton;

// The edit a grid lays over its focused cell while editing. It hands the keys that move between
// cells back to the grid and reports every change of its text (the value, per the cell's edit
// mask) to the grid. With a mask it edits as a TMaskEdit does, and the grid validates it when
// the cell is left: an incomplete entry raises EMaskEditError and keeps the editor open. For
// esEllipsis and esPickList cells a button (a sibling control on the grid) takes the right end of
// the cell; for esPickList it opens a list of the cell's values under the cell, placed on the form
// above every other control and holding the mouse capture while open, so a press elsewhere closes
// it.
class TInplaceEdit : public TCustomMaskEdit, private TDropDownListClient {
 public:
  explicit TInplaceEdit(TCustomGrid* AGrid);
  ~TInplaceEdit() override;
  std::string ClassName() const override { return "TInplaceEdit"; }
  TCustomGrid* GetGrid() const { return FGrid; }
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

  // What the grid answered for the cell being edited when the editor opened on it.
  // (GetEditMask, from TCustomMaskEdit, is the cell's mask.)
  TEditStyle GetEditStyle() const { return FEditStyle; }
  // The button beside the edit (nullptr before the first esEllipsis/esPickList cell).
  TCustomControl* ButtonControl() const;
  // The pick list: open or closed, its items (filled from GetPickListItems on opening), the
  // highlighted item, the first one shown, and the list control while it is open.
  bool GetDroppedDown() const { return FDropped; }
  void DropDown();            // opens the list (esPickList only)
  void CloseUp(bool Accept);  // closes it; Accept puts the highlighted item in the cell
  const TStrings& PickItems() const;
  int PickIndex() const { return FPickIndex; }
  int PickTopIndex() const { return FPickTop; }
  TCustomControl* PickListControl() const;
  // The list's bounds in form coordinates, an item's rectangle in list coordinates, the item
  // at a point of the list (-1 outside the items) and how many items show at once.
  TRect PickListBounds() const;
  TRect PickItemRect(int Index) const;
  int PickItemAt(TPoint P) const;
  int PickVisibleCount() const;
  int PickItemHeight() const;
  // More items than DropDownRows: the list draws a scroll bar at its right (list coordinates;
  // empty without one) with arrow buttons, a track that pages and a thumb that drags.
  bool PickHasScrollBar() const;
  TRect PickScrollBarRect() const;
  TRect PickThumbRect() const;

  static constexpr int ButtonWidth = 16;
  static constexpr int DefaultDropDownRows = 8;
  // The most items the pick list shows at once (at least 1); an open list takes the new count.
  int GetDropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value);

 protected:
  void Change() override;
  // Leaving the cell validates (the grid does it); a focus lost while editing validates here.
  bool ValidatesOnExit() const override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  int FDropDownRows = DefaultDropDownRows;
  friend class TCustomGrid;
  friend class TInplaceEditButton;
  void SetPickIndex(int Index);
  void ScrollPickTo(int Top);
  widgetpaint::TListScrollBar PickScrollBar() const;
  // The open list's side of the editor.
  widgetpaint::TListScrollBar DropDownScrollBar() const override { return PickScrollBar(); }
  void DropDownScrollTo(int Top) override { ScrollPickTo(Top); }
  int DropDownItemAt(TPoint P) const override { return PickItemAt(P); }
  void DropDownHighlight(int Index) override { SetPickIndex(Index); }
  void DropDownClose(bool Accept) override { CloseUp(Accept); }
  bool DropDownIsOpen() const override { return FDropped; }
  void DropDownPaintItems(TCanvas* C) override;
  TColor DropDownColor() const override { return clWindow; }
  TFont* DropDownFont() const override { return GetFont(); }
  void ButtonPressed();
  TCustomGrid* FGrid;
  bool FLoading = false;  // the grid is filling in the cell's text: not a user change
  TEditStyle FEditStyle = esSimple;
  TInplaceEditButton* FButton = nullptr;  // owned by this editor, parented to the grid
  TDropDownList* FPickList = nullptr;     // owned by this editor, on the form while open
  std::unique_ptr<TStringList> FPickItems;
  bool FDropped = false;
  int FPickIndex = -1;
  int FPickTop = 0;
};

class TCustomGrid : public TCustomControl {
 public:
  explicit TCustomGrid(TComponent* AOwner);
  ~TCustomGrid() override;
  std::string ClassName() const override { return "TCustomGrid"; }

  // Dimensions. Counts keep at least one scrollable row and column beyond the fixed ones.
  int GetColCount() const { return FCols.GetCount(); }
  void SetColCount(int Value);
  int GetRowCount() const { return FRows.GetCount(); }
  void SetRowCount(int Value);
  int GetFixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);  // EInvalidGridOperation when not below ColCount
  int GetFixedRows() const { return FFixedRows; }
  void SetFixedRows(int Value);
  int GetColWidths(int Index) const;
  void SetColWidths(int Index, int Value);
  int GetRowHeights(int Index) const;
  void SetRowHeights(int Index, int Value);
  int GetDefaultColWidth() const { return FCols.GetDefault(); }
  void SetDefaultColWidth(int Value);
  int GetDefaultRowHeight() const { return FRows.GetDefault(); }
  void SetDefaultRowHeight(int Value);
  int GetGridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(int Value);
  TColor GetFixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  TGridOptions GetOptions() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  bool GetDefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(bool Value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);  // bsNone or bsSingle

  // The focused cell and the selection.
  int GetCol() const { return FCurrent.X; }
  void SetCol(int Value) { FocusCell(Value, FCurrent.Y, true); }
  int GetRow() const { return FCurrent.Y; }
  void SetRow(int Value) { FocusCell(FCurrent.X, Value, true); }
  TGridRect GetSelection() const;
  void SetSelection(const TGridRect& Value);

  // Scrolling: the first scrollable row and column shown after the fixed ones.
  int GetTopRow() const { return FTopLeft.Y; }
  void SetTopRow(int Value) { MoveTopLeft(FTopLeft.X, Value); }
  int GetLeftCol() const { return FTopLeft.X; }
  void SetLeftCol(int Value) { MoveTopLeft(Value, FTopLeft.Y); }
  // Scrollable cells wholly visible from LeftCol / TopRow.
  int VisibleColCount() const;
  int VisibleRowCount() const;
  // The furthest the view scrolls: the tail of the rows (columns) fills the cell area.
  int MaxTopRow() const { return MaxFirst(true); }
  int MaxLeftCol() const { return MaxFirst(false); }

  // Geometry (client coordinates). CellRect is empty for a cell that is not on screen.
  TRect CellRect(int ACol, int ARow) const;
  TGridCoord MouseCoord(int X, int Y) const;  // {-1, -1} outside the cells
  void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
  // The extent of the drawn cells, at most the cell area.
  int GridWidth() const;
  int GridHeight() const;
  // The client area left for cells once the border and the scroll bars are taken away.
  TRect CellArea() const;
  TRect VertScrollBarRect() const;  // empty when there is no vertical scroll bar
  TRect HorzScrollBarRect() const;
  TRect ScrollThumbRect(bool Vertical) const;
  TGridHitKind HitTestGrid(int X, int Y, bool* Vertical = nullptr, int* Index = nullptr) const;

  // Moves a column (row) and its size to another index, the others shifting by one; the focused
  // cell and the selection anchor follow the cells they were on. Calls ColumnMoved (RowMoved).
  void MoveColumn(int FromIndex, int ToIndex);
  void MoveRow(int FromIndex, int ToIndex);

  void InvalidateGrid() { Invalidate(); }
  void InvalidateCell(int ACol, int ARow);
  void InvalidateCol(int ACol);
  void InvalidateRow(int ARow);

  TGridState GetGridState() const { return FGridState; }

  // The in-place editor (goEditing): F2 or Enter opens it on the focused cell, typing a character
  // opens it with that character, Enter closes it, Esc closes it restoring the text it had.
  bool GetEditorMode() const { return FEditorMode; }
  void SetEditorMode(bool Value);
  void ShowEditor();
  void HideEditor();
  TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }

  TSelectCellEvent OnSelectCell;
  TNotifyEvent OnTopLeftChanged;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // crSizeWE over a column line that sizes (goColSizing) and while sizing a column, crSizeNS
  // likewise for rows; the control's Cursor elsewhere.
  TCursor GetCursorAt(int X, int Y) const override;

  static constexpr int ScrollBarSize = 16;
  static constexpr int SizingMargin = 3;          // pixels either side of a line that start sizing
  static constexpr int MinCellSize = 4;           // smallest size a drag leaves a row or column
  static constexpr int WheelLines = 3;            // rows per wheel notch
  static constexpr unsigned RepeatDelayMs = 400;  // a held scroll-bar part starts repeating
  static constexpr unsigned RepeatIntervalMs = 50;  // and then repeats this often
  static constexpr unsigned DragScrollMs = 60;      // selection growth outside the cells

 protected:
  void Paint() override;
  // Draws one cell's contents; the grid has already filled the background when DefaultDrawing.
  virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
  virtual bool SelectCell(int ACol, int ARow);
  virtual void TopLeftChanged();
  virtual void ColumnMoved(int /*FromIndex*/, int /*ToIndex*/) {}
  virtual void RowMoved(int /*FromIndex*/, int /*ToIndex*/) {}
  virtual void ColWidthsChanged() {}
  virtual void RowHeightsChanged() {}
  // The text the editor starts with, and where each edit of it goes.
  virtual std::string GetEditText(int /*ACol*/, int /*ARow*/) { return {}; }
  virtual void SetEditText(int /*ACol*/, int /*ARow*/, const std::string& /*Value*/) {}
  // The mask the editor keeps for a cell (asked each time the editor opens on it; the grid
  // applies none itself), the editor's style for the cell, and the values of an esPickList
  // cell's list (Items arrives empty).
  virtual std::string GetEditMask(int /*ACol*/, int /*ARow*/) { return {}; }
  virtual TEditStyle GetEditStyle(int /*ACol*/, int /*ARow*/) { return esSimple; }
  virtual void GetPickListItems(int /*ACol*/, int /*ARow*/, TStrings& /*Items*/) {}
  // Makes the in-place editor when the editor first shows; a grid with an editor of its own (a
  // different pick-list length, other keys) overrides it. The grid owns what it returns.
  virtual TInplaceEdit* CreateEditor();
  // The button of an esEllipsis cell was clicked (or Ctrl+Enter pressed in its editor).
  virtual void EditButtonClick() {}
  virtual bool CanEditShow() const;
  virtual void SizeChanged(int /*OldColCount*/, int /*OldRowCount*/) {}

  void WMGetDlgCode(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMCancelMode(TMessage& Message) override;

  // Moves the focus to a cell (clamped to the scrollable cells); MoveAnchor starts a new
  // selection there, otherwise the selection stretches from the anchor (goRangeSelect).
  // Returns false when SelectCell refused it.
  bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
  void FocusCell(int ACol, int ARow, bool MoveAnchor) { MoveCurrent(ACol, ARow, MoveAnchor, true); }
  void MoveTopLeft(int ALeft, int ATop);
  void ScrollToCell(int ACol, int ARow);  // brings the cell wholly into view
  int FixedWidth() const;                 // pixels of the fixed columns, lines included
  int FixedHeight() const;

  TGridAxis FCols, FRows;

 private:
  struct TBars {
    bool Vert = false, Horz = false;
  };
  // Positions are 64-bit along an axis; on screen they are pixels.
  static int ClampToInt(int64_t V) {
    return int(std::clamp<int64_t>(V, INT32_MIN / 2, INT32_MAX / 2));
  }
  TBars ScrollBarsNeeded() const;
  TRect InnerRect() const;  // client rect minus the border
  // One axis as it lies on screen: the sizes, the fixed count, the first scrolled cell and the
  // pixel range of the cell area along it.
  struct TAxisView {
    const TGridAxis* A;
    int Fixed, First, Start, End;
  };
  TAxisView View(bool Vertical) const;
  static bool Span(const TAxisView& V, int Index, int& From, int& To);
  static int IndexAt(const TAxisView& V, int P);
  static int LineAt(const TAxisView& V, int P);  // the cell whose trailing line is near P, or -1
  static int VisibleCount(const TAxisView& V);
  static int LastOnScreen(const TAxisView& V);
  int MaxFirst(bool Vertical) const;
  int ThumbIndexAt(bool Vertical, int Pixel) const;
  void ScrollBy(bool Vertical, int Delta);
  void InvalidateGridRect(const TGridRect& R);
  void ClampSelection();
  void PaintScrollBar(bool Vertical);
  void PaintLines(const TRect& R, bool Fixed);

  int FFixedCols = 1, FFixedRows = 1;
  int FGridLineWidth = 1;
  TColor FFixedColor = clBtnFace;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  bool FDefaultDrawing = true;
  TBorderStyle FBorderStyle = bsSingle;
  TGridCoord FCurrent{1, 1};
  TGridCoord FAnchor{1, 1};
  TGridCoord FTopLeft{1, 1};
  TGridState FGridState = gsNormal;
  int FSizingIndex = -1;                 // the row or column being sized
  int FSizingStart = 0;                  // client position where that row or column starts
  int FThumbGrab = 0;                    // pointer offset inside the thumb while dragging it
  int FThumbPixel = -1;                  // thumb position while dragging without thumb tracking
  TInplaceEdit* FInplaceEdit = nullptr;  // owned as a child control, made on first use
  bool FEditorMode = false;
  bool FHidingEditor = false;  // HideEditor is handing the focus back to the grid
  std::string FEditOriginal;   // the cell's text when editing began, for Esc

  static constexpr uintptr_t kRepeatTimer = 1;
  static constexpr uintptr_t kDragScrollTimer = 2;
  HWND FTimerWnd = 0;
  TGridHitKind FRepeatKind = ghNone;
  bool FRepeatVert = false;
  TPoint FDragPoint;                 // last pointer position of a drag, for the timers
  int FMoveFrom = -1, FMoveTo = -1;  // a row or column being dragged to a new place
  TRect MoveIndicatorRect() const;
  void ScrollPart(TGridHitKind Kind, bool Vertical);
  void SelectToward(TPoint P);
  void StopTimers();
  void GridTimer(TMessage& Message);

  friend class TInplaceEdit;
  void UpdateEditorBounds();
  void CancelEdit();
  void CloseEditor();  // HideEditor without validating the entry
};

// A grid that hands the drawing of each cell to OnDrawCell.
class TCustomDrawGrid : public TCustomGrid {
 public:
  explicit TCustomDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}
  std::string ClassName() const override { return "TCustomDrawGrid"; }
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TGetEditEvent OnGetEditMask;
  TNotifyEvent OnEditButtonClick;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;

 protected:
  void ColumnMoved(int FromIndex, int ToIndex) override;
  void RowMoved(int FromIndex, int ToIndex) override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  std::string GetEditMask(int ACol, int ARow) override;
  void EditButtonClick() override;
};

class TDrawGrid : public TCustomDrawGrid {
 public:
  explicit TDrawGrid(TComponent* AOwner) : TCustomDrawGrid(AOwner) {}
  std::string ClassName() const override { return "TDrawGrid"; }
};

// Raised for impossible grid settings (fixed cells filling the whole grid, negative counts).
class EInvalidGridOperation : public Exception {
 public:
  using Exception::Exception;
};

// Registers TCustomGrid, TCustomDrawGrid and TDrawGrid with their published properties.
void RegisterGridClasses();

}  // namespace qel

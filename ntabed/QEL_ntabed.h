#pragma once
// TNTabEd: the numeric table editor. A grid that shows and edits a TDataTable (its own, or one
// the host hands over with AssignAnotherDataMatrix): values, a state byte per cell (no number,
// empty, locked, mark A, mark B), names and attributes of columns and rows, a comment, decimal
// places per column; two built-in popup menus for marking, clearing, copying, pasting,
// extracting numbers from clipboard text and editing headings.
//
// Grid layout: grid column 0 holds the row names, grid column 1 the row attributes while they
// show (RA = 1); grid row 0 the column names, grid row 1 the column attributes while they show
// (CA = 1). Table column c is grid column c + RA, table row r grid row r + CA.
//
// Sources: QEL_ntabed.cpp (binding, dimensions, accessors, events), ntabed_layout.cpp (widths,
// heights, decimal places, attribute lines, scrolling), ntabed_paint.cpp (number text, cells,
// cell cursor), ntabed_edit.cpp (in-place editing, keys, mouse, heading and comment editors),
// ntabed_clipboard.cpp (copy, paste, extraction, clipboard text analysis), ntabed_menus.cpp
// (the two popup menus and their commands), ntabed_register.cpp. docs/ntabed.md has the record.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/QEL_datatable.h"
#include "frame/QEL_errors.h"
#include "frame/QEL_qelbase.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

using TBeforePopupEvent = std::function<void(TObject* Sender, TPopupMenu* PMenu)>;
using TBeforeRenderCellEvent =
    std::function<void(TObject* Sender, int colix, int rowix, std::string& Text, TColor& ColorText,
                       TColor& ColorBakg, TFontStyles& FontStyles)>;

// ---------------------------------------------------------------- pure helpers

// The text of a value in a data cell: fixed notation with DecPlaces decimals, right-aligned in
// at least NumWidth characters, while the value fits in nine significant digits; otherwise
// exponent notation in NumWidth + 8 characters with a two-digit exponent ("*" all over when the
// exponent needs more). DecPlaces -1, 9 and 10 always give exponent notation.
std::string NTabNumberText(double X, int DecPlaces, int NumWidth);

// Reads one number of clipboard text from Pos (1-based; "." and "," both separate decimals,
// exponents allowed) and leaves Pos on the character that ended it. Unreadable text gives 0;
// the result lies within +-uc_MaxDouble.
double ScanClipNumber(const std::string& Text, int& Pos);

// Visits every number of a clipboard text with its place: I counts the numbers within a line,
// J the line feeds before it (both from 0). Tabs, carriage returns and commas separate numbers
// like blanks. Returns the count of numbers visited.
int64_t ForEachClipNumber(std::string_view Text,
                          const std::function<void(int I, int J, double Value)>& Visit);

// The columns and rows that extracting Text fills: the most numbers in any line and the line
// of the last number, plus one. False (and 1 x 1) when the text holds no number.
bool ClipTextMatrixSize(std::string_view Text, int& NCols, int& NRows);

// Writes the numbers of Text into Table from (Left, Top) on (1-based), leaving cell states as
// they are and skipping numbers that fall outside the table. MaxI and MaxJ receive the largest
// offsets read (-1 when none). Returns the count of numbers read.
int64_t ExtractClipNumbers(TDataTable& Table, int Left, int Top, std::string_view Text, int& MaxI,
                           int& MaxJ);

// ---------------------------------------------------------------- TNTabEd

class TNTabEd : public TCustomGrid {
 public:
  explicit TNTabEd(TComponent* AOwner);
  ~TNTabEd() override;
  std::string ClassName() const override { return "TNTabEd"; }

  // ---- data binding
  TDataTable* DataTable() const { return FData; }
  bool OwnsDataTable() const { return FOwnTable != nullptr; }
  // Shows the host's table (nullptr is ignored). The editor's own table is freed; the host's
  // table outlives the editor, which detaches from it on destruction.
  void AssignAnotherDataMatrix(TDataTable* Table);
  void CopyContentsFrom(const TNTabEd* Editor);
  void CopyCellStatesFrom(const TNTabEd* Editor);

  // ---- dimensions
  int GetNrCols() const { return FData->NrOfColumns(); }
  void SetNrCols(int N);
  int GetNrRows() const { return FData->NrOfRows(); }
  void SetNrRows(int N);
  int NrOfColumns() const { return GetNrCols(); }
  int NrOfRows() const { return GetNrRows(); }
  void Redimension(int NCols, int NRows);
  void InsertColumn(int C);
  void RemoveColumn(int C);
  void InsertRow(int R);
  void RemoveRow(int R);
  void MirrorColumns();
  void MirrorRows();
  void Clear();

  // ---- names, attributes, comment
  void SetColName(int C, std::string_view Name);
  std::string GetColName(int C) const;
  void SetRowName(int R, std::string_view Name);
  std::string GetRowName(int R) const;
  void SetColAttrib(int C, int A);
  int GetColAttrib(int C) const;
  void SetRowAttrib(int R, int A);
  int GetRowAttrib(int R) const;
  int FindColIndex(std::string_view Name) const;  // first match ignoring case, 0 when none
  int FindRowIndex(std::string_view Name) const;
  std::string GetComment() const { return FData->GetComment(); }
  void SetComment(const std::string& Text);

  // ---- values and states
  double GetElem(int C, int R) const { return FData->GetElem(C, R); }
  void SetElem(int C, int R, double X) { FData->SetElem(C, R, X); }
  void Fill(double X) { FData->Matrix().Fill(X); }
  void FillMarkedCells(double X, uint8_t Mask);
  uint8_t GetCellState(int C, int R) const { return FData->GetCellState(C, R); }
  void SetCellState(int C, int R, uint8_t State);
  bool GetIsEmpty(int C, int R) const { return GetCellState(C, R) & dtsEmpty; }
  void SetIsEmpty(int C, int R, bool Empty);
  bool GetIsNumber(int C, int R) const {
    return (GetCellState(C, R) & (dtsNoNumber | dtsEmpty)) == 0;
  }
  bool GetElemMarkedA(int C, int R) const { return GetCellState(C, R) & dtsMarkedA; }
  void SetElemMarkedA(int C, int R, bool Marked);
  bool GetElemMarkedB(int C, int R) const { return GetCellState(C, R) & dtsMarkedB; }
  void SetElemMarkedB(int C, int R, bool Marked);
  bool IfRowMarked(int R) const;
  bool IfColumnMarked(int C) const;
  bool IfAnyMarked() const;
  int64_t NrOfMarkedDataA() const;
  int64_t NrOfMarkedDataB() const;
  void UnMarkAllElems();
  void MarkAllElemsA();
  void MarkAllElemsB();
  void InvertCellStates(uint8_t Mask) { FData->InvertCellStates(Mask); }
  void ExchangeMarkings() { FData->ExchangeMarkings(); }

  // ---- sorting (decimal places travel with their columns)
  void SortCols(int KeyRow, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                bool WithHeadings);
  void SortRows(int KeyCol, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                bool WithHeadings);
  void SortColAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortRowAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortColNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortColNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                    int RowHigh);
  void SortRowNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortRowNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                    int RowHigh);

  // ---- layout
  int GetDecPlaces(int C) const;
  void SetDecPlaces(int C, int N);
  // C > 0 a table column, 0 the row names, C < 0 the row attributes.
  int GetColWidths(int C) const;
  void SetColWidths(int C, int W);
  int AutoColWidth(int C, bool WithHeader, int Extra);
  // R > 0 a table row, 0 the column names, R < 0 the column attributes.
  void SetRowHeight(int R, int H);
  int AutoRowHeight(int R, int Extra);
  int GetDefColWidth() const { return GetDefaultColWidth(); }
  void SetDefColWidth(int W);
  bool GetRowAttVis() const { return FRA == 1; }
  void SetRowAttVis(bool Value);
  bool GetColAttVis() const { return FCA == 1; }
  void SetColAttVis(bool Value);
  int GetLeftCol() const { return TCustomGrid::GetLeftCol() - FRA; }
  void SetLeftCol(int C);
  int GetTopRow() const { return TCustomGrid::GetTopRow() - FCA; }
  void SetTopRow(int R);
  bool GetSuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool B);
  // Grid coordinates of a table cell and back.
  int GridCol(int C) const { return C + FRA; }
  int GridRow(int R) const { return R + FCA; }
  // The selection in table indices (Left, Top, Right, Bottom).
  TGridRect TableSelection() const;
  void SetTableSelection(const TGridRect& R);

  // ---- look
  TColor GetColorBackground() const { return FColorBackground; }
  void SetColorBackground(TColor Value);
  TColor GetColorFixed() const { return FColorFixed; }
  void SetColorFixed(TColor Value);
  TColor GetColorNormal() const { return FColorNormal; }
  void SetColorNormal(TColor Value);
  TColor GetColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value);
  TColor GetColorMarkedA() const { return FColorMarkedA; }
  void SetColorMarkedA(TColor Value);
  TColor GetColorMarkedB() const { return FColorMarkedB; }
  void SetColorMarkedB(TColor Value);
  TColor GetColorMarkedBoth() const { return FColorMarkedBoth; }
  void SetColorMarkedBoth(TColor Value);
  TColor GetColorRangeSelFG() const { return FColorRngSelFG; }
  void SetFColorRngSelFG(TColor Value);
  TColor GetColorRangeSelBG() const { return FColorRngSelBG; }
  void SetFColorRngSelBG(TColor Value);
  bool GetBoldMarks() const { return FBoldMarks; }
  void SetBoldMarks(bool Value);
  bool GetBoldSelHeads() const { return FBoldSelHeads; }
  void SetBoldSelHeads(bool Value);
  int GetNumWidth() const { return FNumWidth; }
  void SetNumWidth(int Value);
  bool GetOptimizeRowHeight() const { return FOptRowHeight; }
  void SetOptRowHeight(bool Value);
  bool GetShowCellCursor() const { return FShowCellCursor; }
  void SetShowCellCursor(bool Value);
  // Shows the table indices of a grid cell in the corner cell.
  void DisplayCellCursor(int ACol, int ARow);

  // ---- editing behaviour
  bool GetAutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool Value) { FAutoAdvance = Value; }
  TOrientation GetAutoAdvanceDir() const { return FAutoAdvanceDir; }
  void SetAutoAdvanceDir(TOrientation Value) { FAutoAdvanceDir = Value; }
  bool GetBlockInternalPopup() const { return FBlockInternalPopup; }
  void SetBlockInternalPopup(bool Value) { FBlockInternalPopup = Value; }
  bool GetCommentEditingAllowed() const { return FCommentEditingAllowed; }
  void SetCommentEditingAllowed(bool Value) { FCommentEditingAllowed = Value; }
  bool GetClipboardUseFullPrec() const { return FClipboardUseFullPrec; }
  void SetClipboardUseFullPrec(bool Value) { FClipboardUseFullPrec = Value; }
  int GetNomEditDropDownCount() const { return FNomEditDropDownCount; }
  void SetDropdownCount(int Value);
  bool GetDataReadOnly() const { return FDataReadOnly; }
  void SetDataReadOnly(bool Value);
  bool CommentMode() const { return FCommentMode; }
  bool NameEditorOpen() const { return FNameEditOpen; }
  TCustomEdit* NameEditor() const { return FNameEdit; }
  TCustomMemo* CommentEditor() const { return FCommentEdit; }
  TGridCoord ClickedCell() const { return FClickedCell; }

  // ---- menus
  TPopupMenu* DataMenu() const { return FPopupD; }
  TPopupMenu* HeadingMenu() const { return FPopupH; }
  static constexpr int kDataItems = 12;
  static constexpr int kHeadItems = 5;
  static constexpr int kSubItems = 4;
  TMenuItem* DataItem(int Index) const;                // 1..12, nullptr outside
  TMenuItem* HeadingItem(int Index) const;             // 1..5
  TMenuItem* SubItem(int DataIndex, int Index) const;  // under data items 1..4, items 1..4
  void SetPopupDCaption(int Index, std::string_view Text);
  std::string GetPopupDCaption(int Index) const;
  void SetPopupHCaption(int Index, std::string_view Text);
  std::string GetPopupHCaption(int Index) const;
  void SetPopupMCaption(int Index, std::string_view Text);
  std::string GetPopupMCaption(int Index) const;
  void SetPopupUCaption(int Index, std::string_view Text);
  std::string GetPopupUCaption(int Index) const;
  int GetPopupDMask() const { return FPopupDMask; }
  void SetPopupDMask(int M);
  int GetPopupHMask() const { return FPopupHMask; }
  void SetPopupHMask(int M);

  // ---- clipboard and commands (what the menu items run; public for hosts and tests)
  bool InternalClipboardFilled() const { return FClipFilled; }
  const TDataTable& InternalClipboard() const { return *FClip; }
  void CopyToClipboard();
  void PasteFromClipboard();
  void ExtractFromClipboard();
  bool GetClipMatrixSize(int& NCols, int& NRows) const;
  // The clipboard text of the current selection (what Copy puts on the system clipboard).
  std::string SelectionText() const;
  enum TMarkScope : uint8_t { msRange, msColumn, msRow, msAll };
  void MarkCells(uint8_t Bit, bool Set, TMarkScope Scope);
  void ClearSelectedCells(TObject* Sender);
  void ToggleEmptyState();
  void SelectAllCells();
  void StepPrecision(int C);  // the Change Precision step: 10, 9, ..., 0, -1, 10

  // ---- change notifications (each fires only when neither suppression flag is set)
  void ChangedData();
  void ChangedHeading();
  void ChangedAttrib();
  void ChangedLayout();
  void ChangedCellStates();
  void ChangedSelection();
  void ChangedSetup();

  TNotifyEvent OnChange;
  TNotifyEvent OnHeadingChanged;
  TNotifyEvent OnAttributeChanged;
  TNotifyEvent OnLayoutChanged;
  TNotifyEvent OnCellStateChanged;
  TNotifyEvent OnSelectionChanged;
  TNotifyEvent OnChangeSetup;
  TOnPercentDoneEvent OnPercentDone;
  TBeforePopupEvent OnBeforePopup;
  TBeforeRenderCellEvent OnBeforeRenderCell;
  TNotifyEvent OnPaste;
  TNotifyEvent OnClear;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;

  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 protected:
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  void TopLeftChanged() override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;
  TEditStyle GetEditStyle(int ACol, int ARow) override;
  void GetPickListItems(int ACol, int ARow, TStrings& Items) override;
  TInplaceEdit* CreateEditor() override;
  bool CanEditShow() const override;
  void WMGetDlgCode(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;

 private:
  // A bulk change of values: the busy flag is set and the table's data-changed notification
  // detached while it lives (also when an exception leaves), so one event follows at the end.
  class TQuietData {
   public:
    explicit TQuietData(TNTabEd& E)
        : FEd(E), FBusy(E.FBusy), FSaved(std::move(E.FData->OnDataChanged)) {
      E.FData->OnDataChanged = nullptr;
      E.FBusy = true;
    }
    ~TQuietData() {
      FEd.FData->OnDataChanged = std::move(FSaved);
      FEd.FBusy = FBusy;
    }
    TQuietData(const TQuietData&) = delete;
    TQuietData& operator=(const TQuietData&) = delete;

   private:
    TNTabEd& FEd;
    bool FBusy;
    TNotifyEvent FSaved;
  };
  int64_t CountStateBits(uint8_t Mask) const;

  // Table notifications.
  void DataHasChanged();
  void SetupHasChanged();
  void DataHasBeenResized(int OldCols, int OldRows, int NewCols, int NewRows);
  void NTPercDone(int Percent);
  void ExchangeDuringSort(int Kind, int I1, int I2);
  void AttachTable(TDataTable* Table);
  void DetachTable(TDataTable* Table);
  void ResizeDecPlaces(int OldCols, int NewCols);
  void ResizeTable(int NCols, int NRows);  // EQELNTabedError when memory runs out
  [[noreturn]] void RaiseError(const char* Ending) const;

  // Editing helpers.
  bool IsDataCell(int ACol, int ARow) const { return ACol > FRA && ARow > FCA; }
  bool CellLocked(int ACol, int ARow) const;  // grid coordinates; fixed cells count as locked
  bool CurrentCellLocked() const;
  bool IsNominalColumn(int C) const { return IsNominalScale(FData->GetMScaleType(C)); }
  void SetEditing(bool On);
  void AdvanceAfterEntry();
  void CheckSelectionChanged();
  void OpenCommentMode();
  void CloseCommentMode(bool Store);
  void OpenNameEditor();
  void CloseNameEditor(bool Store);
  void NameEditorKeyDown(uint16_t& Key);
  void CommentEditorKeyDown(uint16_t& Key, TShiftState Shift);

  // Painting helpers.
  void DrawDataCell(int ACol, int ARow, const TRect& ARect);
  void DrawHeadingCell(int ACol, int ARow, TRect ARect);
  void DrawCornerCell(const TRect& ARect);
  std::string CellText(int C, int R) const;
  void ApplyOptimalRowHeight();

  // Menus.
  void BuildMenus();
  void PrepareHeadingMenu(bool ColumnHeading);
  void DataMenuPopup();
  void PopupAt(TPopupMenu* Menu, int X, int Y);
  void OutlineHeading(const TRect& R);
  void RunMarkCommand(int Item, int Sub);
  void HeadingSelect();
  void HeadingInsert();
  void HeadingDelete();
  void ChangePrecisionCommand();
  void ToggleReadOnlyCommand();

  TDataTable* FData = nullptr;
  std::unique_ptr<TDataTable> FOwnTable;
  std::vector<int8_t> FDecPlaces;  // index C - 1
  std::unique_ptr<TDataTable> FClip;
  bool FClipFilled = false;
  int FRA = 1, FCA = 0;
  int FRowAttWidth = 32;
  TGridRect FSelRemembered{-1, -1, -1, -1};
  bool FSuppressPaint = false;
  bool FBusy = false;
  bool FSortRunning = false;

  TColor FColorBackground = clWindow;
  TColor FColorFixed = clBtnFace;
  TColor FColorNormal = 0x002000;
  TColor FColorSelected = 0x404040;
  TColor FColorMarkedA = 0x0000FF;
  TColor FColorMarkedB = 0xFF0000;
  TColor FColorMarkedBoth = 0xCC00BB;
  TColor FColorRngSelFG = 0x80552C;
  TColor FColorRngSelBG = 0xF8E8E0;
  bool FBoldMarks = true;
  bool FBoldSelHeads = true;
  int FNumWidth = 1;
  bool FOptRowHeight = false;
  bool FShowCellCursor = true;
  TGridCoord FCursorCell{-1, -1};  // the cell the corner shows, grid coordinates

  bool FAutoAdvance = true;
  TOrientation FAutoAdvanceDir = orVertical;
  bool FBlockInternalPopup = false;
  bool FCommentEditingAllowed = true;
  bool FClipboardUseFullPrec = true;
  int FNomEditDropDownCount = 8;
  bool FDataReadOnly = false;

  TGridCoord FClickedCell{-1, -1};
  TGridCoord FPressCell{-1, -1};  // the cell of the previous press
  TPoint FPressPos{-1, -1};
  bool FSecondClick = false;   // the current press hit the cell of the previous one
  TEdit* FNameEdit = nullptr;  // children of the grid, not made while designing
  TMemo* FCommentEdit = nullptr;
  bool FNameEditOpen = false;
  bool FCommentMode = false;
  bool FSwallowReturn = false;  // an editor just closed on Enter: its character is not ours
  TGridCoord FNameEditCell{-1, -1};
  TRect FOutline;  // a heading outlined while its menu is open (empty: none)

  TPopupMenu* FPopupD = nullptr;  // owned through the component tree
  TPopupMenu* FPopupH = nullptr;
  std::array<TMenuItem*, kDataItems> FDItems{};
  std::array<std::array<TMenuItem*, kSubItems>, 4> FSubItems{};
  std::array<TMenuItem*, kHeadItems> FHItems{};
  int FPopupDMask = -1;
  int FPopupHMask = -1;
  bool FHeadingIsColumn = true;
};

// Registers TNTabEd with its published properties. Idempotent.
void RegisterNTabEdClasses();

}  // namespace qel

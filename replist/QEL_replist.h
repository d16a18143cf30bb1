#pragma once
// The report list unit: the data store TRLData (declared in QEL_replist_data.h) and its view
// TReportListView, a draw grid that shows a store it owns: an optional common header, a row of
// column headers with a sort indicator, and one grid row per data row with per-column
// alignment, password masking, check boxes or radio buttons, shading bands, selected,
// highlighted and disabled rows, an empty-list message and an inter-row indicator line.
//
// Where the code lives: replist_view.cpp (store ownership, index mapping, properties,
// pass-through operations, structure, column widths, Assign), replist_viewpaint.cpp (cells,
// headers, Paint), replist_viewinput.cpp (selection, mouse, keys, in-place editing),
// replist_filter.cpp (FilterAndSort and its three matchers), replist_rowedit.cpp (the row-entry
// editor and its date scanner), replist_register.cpp (published properties).
// docs/replist-view.md describes the view, docs/replist-rowedit.md the row-entry editor.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Forms.h"
#include "platform/grids/Grids.h"
#include "platform/rtl/DateTime.h"
#include "replist/QEL_replist_data.h"

namespace qel {

// How FilterAndSort reads its filter text: a plain substring, a boolean expression of terms
// (AND, OR, NOT, parentheses, quoted phrases), or a regular expression matched in linear time.
enum TFilterMode : uint8_t { fmSimple, fmBoolean, fmGrep };

// Lets the host change the colours, the font style and the text of the data cell (Col, Row)
// before it is drawn.
using TRenderCellEvent =
    std::function<void(TObject* Sender, int Col, int Row, TColor& PenColor, TColor& BrushColor,
                       TColor& FontColor, TFontStyles& FontStyles, std::string& Text)>;
// Lets the host replace the text that GetElem returns for (Col, Row).
using TReadCellEvent = std::function<void(TObject* Sender, int Col, int Row, std::string& Text)>;
// A check mark is about to change (State: the new state, may be changed) or has changed.
using TCheckStateChangeEvent = std::function<void(TObject* Sender, bool& State, int Col, int Row)>;
// A cursor key (VK_PRIOR .. VK_DOWN) moved the selection.
using TCursorKeyActionEvent = std::function<void(TObject* Sender, uint16_t Key)>;
// Called for every row while filtering: Found is the host's own finding and
// CombineWithInternalSearch how it joins the text match: loOr (the default) keeps rows either
// finds, loAnd rows both find, loXor rows exactly one finds, loNone the host's finding alone.
using TBeforeFilterEvent =
    std::function<void(TObject* Sender, int Row, bool& Found, TLogicOp& CombineWithInternalSearch)>;
// Lets the host give the row-entry editor another column format for column Col of row Row.
using TRequestEditFormatEvent =
    std::function<void(TObject* Sender, int Col, int Row, std::string& Format)>;

// What ScanDateTimeText reports: success, a literal of the pattern the text does not begin
// with, a run of pattern letters that is no token ("yyy"), a field that is not a number or a
// name, or fields that make no date or time (31 February, hour 25).
inline constexpr int kDateScanOk = 0;
inline constexpr int kDateScanLiteral = -1;
inline constexpr int kDateScanToken = -2;
inline constexpr int kDateScanField = -3;

// Reads Text by a date picker's display pattern (tokens yyyy yy, MMMM MMM MM M, dddd ddd dd d,
// HH H, hh h, mm m, ss s, tt t; '...' literals with '' for a quote; other characters literal),
// consuming the text from the front; English month and weekday names, letter case ignored.
// Value receives the date (when a year, month or day was read; missing parts are the current
// year, January, the first) plus the time, or 0 on an error. A two-digit year falls into the
// century window: the hundred years from CurrentYear - CenturyWindow on (window 0: the
// current century). Returns kDateScanOk or one of the error codes above.
int ScanDateTimeText(const std::string& Text, const std::string& Pattern, TDateTime& Value,
                     int CurrentYear, int CenturyWindow);
// The same with today's year and the format settings' TwoDigitYearCenturyWindow.
int ScanDateTimeText(const std::string& Text, const std::string& Pattern, TDateTime& Value);

class TReportListView : public TCustomDrawGrid {
 public:
  explicit TReportListView(TComponent* AOwner);
  ~TReportListView() override;
  std::string ClassName() const override { return "TReportListView"; }

  void Assign(const TPersistent* Source) override;

  // The store the view shows and owns.
  TRLData* Data() const { return FData.get(); }

  // ---- index mapping
  // Header rows: the common header (when visible) and the column headers (when visible).
  int CountHeadRows() const;
  int GridRowOfDataRow(int R) const { return R + CountHeadRows() - 1; }
  int DataRowOfGridRow(int G) const { return G - CountHeadRows() + 1; }
  // The data column (1-based) shown at display position P (0-based); 0 beyond the columns.
  int DataColAt(int P) const;
  // The display position (0-based) of data column C; -1 when it is not shown.
  int DisplayPosOf(int C) const;

  // ---- counts and texts
  int GetNrOfColumns() const { return FData->GetNrOfColumns(); }
  void SetNrCols(int N);
  int GetNrOfRows() const { return FData->GetNrOfRows(); }
  void SetNrRows(int N);
  const std::string& GetCommonHeader() const { return FData->GetCommonHeader(); }
  void SetCommonHeader(const std::string& S);
  std::string GetComment() const { return FData->GetComment(); }
  void SetComment(const std::string& S) { FData->SetComment(S); }
  std::string GetDataID() const { return FData->GetDataID(); }
  void SetDataID(const std::string& S) { FData->SetDataID(S); }

  // ---- cells
  // The store's text, then OnReadCell.
  std::string GetElem(int C, int R);
  void SetElem(int C, int R, const std::string& S) { FData->SetElem(C, R, S); }
  long double GetAsNumber(int C, int R) const;
  std::string GetCellDefaultValue(int C, int R) const { return FData->GetCellDefaultValue(C, R); }
  int ColumnIndex(const std::string& Name, bool Partial) const {
    return FData->ColumnIndex(Name, Partial);
  }

  // ---- columns
  std::string GetColName(int C) const { return FData->GetColName(C); }
  void SetColName(int C, const std::string& S);
  std::string GetColumnFormat(int C) const { return FData->GetColumnFormat(C); }
  void SetColumnFormat(int C, const std::string& S);
  TAlignment GetColAlignment(int C) const;
  void SetColAlignment(int C, TAlignment A);
  bool GetColumnEditable(int C) const;
  void SetColumnEditable(int C, bool B);
  bool GetColumnIsPwd(int C) const;
  void SetColumnIsPwd(int C, bool B);
  // The data column shown at display position P (1-based); 0 out of range.
  int GetColOrder(int P) const;
  // Display position i shows data column Order[i]; false (and nothing changed) unless Order has
  // NrOfColumns entries; an entry out of range is skipped and makes the result false.
  bool SetColumnOrder(const std::vector<int>& Order);
  int GetColWidths(int C) const;  // C is a display position, 1-based
  void SetColWidths(int C, int W);

  // ---- check columns
  bool GetCheckedCol(int C) const { return FData->GetCheckedCol(C); }
  void SetCheckedCol(int C, bool B);
  TCheckMode GetColCheckMode(int C) const { return FData->GetColCheckMode(C); }
  void SetColCheckMode(int C, TCheckMode M);
  bool GetElemChecked(int C, int R) const { return FData->GetElemChecked(C, R); }
  void SetElemChecked(int C, int R, bool B) { FData->SetElemChecked(C, R, B); }
  void SetAllCheckmarksOfCol(int C, bool B);
  void SetAllCheckmarksOfCol(int C, bool B, bool SkipDisabled);
  void InvertAllCheckmarksOfCol(int C);
  void InvertAllCheckmarksOfCol(int C, bool SkipDisabled);
  int CountCheckedElemsInCol(int C) const { return FData->CountCheckedElemsInCol(C); }
  int CountCheckedElemsInRow(int R) const { return FData->CountCheckedElemsInRow(R); }
  int FirstCheckedElemInCol(int C) const { return FData->FirstCheckedElemInCol(C); }
  int FirstCheckedElemInRow(int R) const { return FData->FirstCheckedElemInRow(R); }
  bool GetROCheckmarks() const { return FROCheckmarks; }
  void SetROCheckmarks(bool B);

  // ---- sorting and filtering
  int GetSortColumn() const { return FData->GetSortColumn(); }
  int GetSortColumnSec() const { return FData->GetSortColumnSec(); }
  void SetSortColumnSec(int C);
  bool GetSortOrder() const { return FData->GetSortOrder(); }
  void Sort(int ColPrim, int ColSec, bool Ascending);
  void UnSort();
  // Keeps (enables) the rows whose text in one of Columns (none: every column) matches
  // FilterText read as Mode says, disables the others, and orders the kept rows first, each
  // group by SortColumn (1..NrOfColumns; otherwise in the present order). An empty FilterText
  // keeps every row. A bad expression or pattern raises EQELRepListError naming its position
  // and changes nothing. Returns the number of rows kept.
  int FilterAndSort(const std::string& FilterText, const std::vector<int>& Columns,
                    bool CaseSensitive, TFilterMode Mode, int SortColumn, bool Ascending);
  // Whether a click on the header of columns FirstCol..LastCol sorts (SortEnabled decides
  // for all columns first).
  void SortEnabledState(int FirstCol, int LastCol, bool Enabled);
  bool GetColSortEnabled(int C) const;

  // ---- structure
  int AddRow();
  int InsertRow(int R);
  int InsertColumn(int C);
  void RemoveRow(int R);
  void RemoveColumn(int C);
  void RemoveEmptyRows();
  void Fill(const std::string& S);
  void Clear();
  void CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header, bool Tabs) {
    FData->CopyToClipBoard(ColLow, RowLow, ColHigh, RowHigh, Header, Tabs);
  }
  void CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                       const std::string& Separator) {
    FData->CopyToClipBoard(ColLow, RowLow, ColHigh, RowHigh, Header, Separator);
  }

  // ---- file exchange: the store's, with the grid re-applied after every read
  void ReadFromXMLString(const std::string& XML, const std::string& DataID);
  void ReadFromXMLStream(TStream& Stream, const std::string& DataID);
  void ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID);
  void LoadFromXMLFile(const std::string& FName, const std::string& DataID);
  void WriteToOpenXMLFile(std::FILE* F, bool XMLDeclaration, const std::string& DataID) {
    FData->WriteToOpenXMLFile(F, XMLDeclaration, DataID);
  }
  void WriteToXMLStream(TStream& Stream, bool XMLDeclaration, const std::string& DataID) {
    FData->WriteToXMLStream(Stream, XMLDeclaration, DataID);
  }
  void SaveAsXMLFile(const std::string& FName, const std::string& DataID) {
    FData->SaveAsXMLFile(FName, DataID);
  }
  void ImportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames);
  void ExportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames,
                 bool StoredTexts, int ColLow, int RowLow, int ColHigh, int RowHigh) {
    FData->ExportCSV(FName, Delimiter, ColumnNames, StoredTexts, ColLow, RowLow, ColHigh, RowHigh);
  }
  int LoadLinesFromFile(int Col, int FirstRow, const std::string& FName);
  void ExportHTMLTable(const std::string& FName, int ColLow, int RowLow, int ColHigh, int RowHigh,
                       const std::vector<int>& ColWidths, int Border, int CellPadding,
                       int CellSpacing, bool Header, const std::string& Title,
                       const std::string& Caption, const std::string& Style) {
    FData->ExportHTMLTable(FName, ColLow, RowLow, ColHigh, RowHigh, ColWidths, Border, CellPadding,
                           CellSpacing, Header, Title, Caption, Style);
  }
  void BeforeHTMLExport(std::string& Text, int Col, int Row);

  // ---- selection and enabling (data indices)
  int GetRowSelectMode() const { return FRowSelectMode; }
  void SetRowSelectMode(int M);
  bool GetUseCtrlForMultiSel() const { return FUseCtrlForMultiSel; }
  void SetUseCtrlForMultiSel(bool B) { FUseCtrlForMultiSel = B; }
  void SelectRow(int R);
  void SelectAllRows();
  void DeselectAllRows();
  void SelectColumn(int C);
  void SelectAllColumns();
  void DeselectAllColumns();
  bool GetRowSelect(int R) const;
  void SetRowSelect(int R, bool B);
  bool GetColSelect(int C) const;
  void SetColSelect(int C, bool B);
  bool GetRowEnabled(int R) const;
  void SetRowEnabled(int R, bool B);
  void EnableAllRows();
  void DisableAllRows();
  int NumSelectedRows() const;
  int NumSelectedColumns() const;
  int NumEnabledRows() const;
  int FirstSelectedRow() const;
  int FirstSelectedColumn() const;
  // (display position + 1, data row) under a client point; the row is 0 outside the rows, -1
  // on the column headers, -2 on the common header.
  TGridCoord MouseCell(int X, int Y) const;
  void CenterScrollAndSelect(int R);

  // ---- scrolling (data indices)
  int GetTopRow() const { return TCustomGrid::GetTopRow() - CountHeadRows() + 1; }
  void SetTopRow(int R);
  int GetLeftCol() const { return TCustomGrid::GetLeftCol() + 1; }
  void SetLeftCol(int C);
  int GetVisibleColCount() const { return VisibleColCount(); }
  int GetVisibleRowCount() const { return VisibleRowCount(); }

  // ---- column widths
  int DetermineMaxColWidth(int C, bool IncludeHeader);
  void AutoColWidth(int C, bool IncludeHeader, int Margin);
  void AutoColWidth(int C, bool IncludeHeader, int Margin, int MaxWidth);
  void ExpandColWidth(int C, int Reserve);
  void FitAllColWidths(int ExpandCol, bool IncludeHeader, int Margin, int MaxWidth, int Reserve);

  // ---- row-entry editor (replist_rowedit.cpp)
  // Edits every cell of data row Row in a dialog of its own at screen position (X, Y), one
  // labelled control per column as its format says, with the caption "Editing Row " Row and the
  // buttons "OK" and "Cancel". OK (or Enter) writes the controls back into the row and returns
  // mrOk; Cancel (or Esc, or closing) leaves the row as it was and returns mrCancel. A row out
  // of range shows nothing and returns mrNone.
  TModalResult EditRowEntries(int Row, int X, int Y);
  TModalResult EditRowEntries(int Row, int X, int Y, const std::string& Caption,
                              const std::string& OKCaption, const std::string& CancelCaption);
  // Puts the controls into the host's Form at offset (X, Y), without buttons, empties its
  // caption, grows it to fit and shows it modally; the host sets its ModalResult (Enter in a
  // control gives mrOk).
  TModalResult EditRowEntries(int Row, TForm* Form, int X, int Y);
  // The common worker; Form nullptr builds the dialog's own form.
  TModalResult EditRowEntriesIntern(int Row, TForm* Form, int X, int Y, const std::string& Caption,
                                    const std::string& OKCaption, const std::string& CancelCaption);
  // The form of the row-entry editor while it runs, nullptr otherwise.
  TForm* RowEditForm() const { return FRowEditForm; }

  // ---- painting
  bool GetSuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool B);
  int GetInterRowIndi() const { return FInterRowIndi; }
  void SetInterRowIndi(int R);

  // ---- published look
  bool GetAutoAdvance() const { return FAutoAdvance; }
  void SetAutoAdvance(bool B) { FAutoAdvance = B; }
  TColor GetColorText() const { return FColorText; }
  void SetColorText(TColor C) { SetLook(FColorText, C); }
  TColor GetColorBkgdNormal() const { return FColorBkgdNormal; }
  void SetColorBkgdNormal(TColor C) { SetLook(FColorBkgdNormal, C); }
  TColor GetColorBkgdShaded() const { return FColorBkgdShaded; }
  void SetColorBkgdShaded(TColor C) { SetLook(FColorBkgdShaded, C); }
  int GetRowColPattern() const { return FRowColPattern; }
  void SetRowColPattern(int N) { SetLook(FRowColPattern, N); }
  TColor GetColorHigh() const { return FColorHigh; }
  void SetColorHigh(TColor C) { SetLook(FColorHigh, C); }
  TColor GetColorHighText() const { return FColorHighText; }
  void SetColorHighText(TColor C) { SetLook(FColorHighText, C); }
  int GetHighLightRow() const { return FHighLightRow; }
  void SetHighLightRow(int R) { SetLook(FHighLightRow, R); }
  int GetHighLightColumn() const { return FHighLightColumn; }
  void SetHighLightColumn(int C) { SetLook(FHighLightColumn, C); }
  bool GetHighLightBold() const { return FHighLightBold; }
  void SetHighLightBold(bool B) { SetLook(FHighLightBold, B); }
  TColor GetColorSelectedRow() const { return FColorSelectedRow; }
  void SetColorSelectedRow(TColor C) { SetLook(FColorSelectedRow, C); }
  TColor GetColorSelectedRowText() const { return FColorSelectedRowText; }
  void SetColorSelectedRowText(TColor C) { SetLook(FColorSelectedRowText, C); }
  TColor GetColorSelectedCol() const { return FColorSelectedCol; }
  void SetColorSelectedCol(TColor C) { SetLook(FColorSelectedCol, C); }
  TColor GetColorSelectedColText() const { return FColorSelectedColText; }
  void SetColorSelectedColText(TColor C) { SetLook(FColorSelectedColText, C); }
  TColor GetColorSelectedBoth() const { return FColorSelectedBoth; }
  void SetColorSelectedBoth(TColor C) { SetLook(FColorSelectedBoth, C); }
  TColor GetColorSelectedBothText() const { return FColorSelectedBothText; }
  void SetColorSelectedBothText(TColor C) { SetLook(FColorSelectedBothText, C); }
  TColor GetColorDisabledBkgd() const { return FColorDisabledBkgd; }
  void SetColorDisabledBkgd(TColor C) { SetLook(FColorDisabledBkgd, C); }
  TColor GetColorDisabledText() const { return FColorDisabledText; }
  void SetColorDisabledText(TColor C) { SetLook(FColorDisabledText, C); }
  TColor GetColorColumnHd() const { return FColorColumnHd; }
  void SetColorColumnHd(TColor C);
  TColor GetColorColumnHdText() const { return FColorColumnHdText; }
  void SetColorColumnHdText(TColor C) { SetLook(FColorColumnHdText, C); }
  TColor GetColorCommonHd() const { return FColorCommonHd; }
  void SetColorCommonHd(TColor C) { SetLook(FColorCommonHd, C); }
  TColor GetColorCommonHdText() const { return FColorCommonHdText; }
  void SetColorCommonHdText(TColor C) { SetLook(FColorCommonHdText, C); }
  TColor GetColorEmptyMsg() const { return FColorEmptyMsg; }
  void SetColorEmptyMsg(TColor C) { SetLook(FColorEmptyMsg, C); }
  TAlignment GetCommonHeaderAlignment() const { return FHdAlign; }
  void SetHdAlign(TAlignment A);
  bool GetCommonHeaderVisible() const { return FCommonHeaderVisible; }
  void SetCommonHeaderVisible(bool B);
  int GetCommonHeaderHeight() const { return FCommonHeaderHeight; }
  void SetCommonHeaderHeight(int H);
  bool GetColumnHeadersVisible() const { return FColumnHeadersVisible; }
  void SetColumnHeadersVisible(bool B);
  int GetColumnHeadersHeight() const { return FColumnHeadersHeight; }
  void SetColumnHeadersHeight(int H);
  void SetDefaultColWidth(int W);
  void SetDefaultRowHeight(int H);
  const std::string& GetEmptyMessage() const { return FEmptyMessage; }
  void SetEmptyMessage(const std::string& S) { SetLook(FEmptyMessage, S); }
  bool GetFixedFirstColumn() const { return FFixedFirstColumn; }
  void SetFixedFirstColumn(bool B);
  TColor GetInterRowIndicatorColor() const { return FInterRowIndicatorColor; }
  void SetInterRowIndicatorColor(TColor C) { SetLook(FInterRowIndicatorColor, C); }
  int GetInterRowIndicatorWidth() const { return FInterRowIndicatorWidth; }
  void SetInterRowIndicatorWidth(int W) { SetLook(FInterRowIndicatorWidth, W); }
  bool GetShowEmptyCheckBoxes() const { return FShowEmptyCheckBoxes; }
  void SetShowEmptyCheckBoxes(bool B) { SetLook(FShowEmptyCheckBoxes, B); }
  bool GetSortEnabled() const { return FSortEnabled; }
  void SetSortEnabled(bool B) { FSortEnabled = B; }

  // ---- geometry shared by painting, hit testing and the tests
  // The rectangle a data cell fills (the grid's, widened over a line the grid does not draw).
  TRect OuterCellRect(int ACol, int ARow) const;
  // Where the cell's text goes.
  static TRect TextRectOf(const TRect& CellR) {
    return {CellR.Left + 4, CellR.Top + 2, CellR.Right - 6, CellR.Bottom};
  }
  // The text a data cell shows after masking and shortening (marker still in front in a check
  // column); Canvas measures it with the cell's font.
  std::string ShortenedCellText(TCanvas* Canvas, int C, const std::string& Stored) const;
  // The right edge of the last visible column (the headers end there).
  int HeaderEnd() const;

  // ---- notifications
  void Changed();
  void ChangedSetup();
  void ChangedSelection();

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void DblClick() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void Loaded() override;

  static constexpr int kCheckBoxRoom = 16;  // text moves this far right in a check column
  static constexpr int kCheckClickWidth = 18;
  static constexpr int kHeaderEdgeMargin = 4;  // header clicks this close to an edge do not sort
  static constexpr int kSortIndicatorRoom = 13;

  TRenderCellEvent OnBeforeRenderCell;
  TReadCellEvent OnReadCell;
  TNotifyEvent OnChange;
  TNotifyEvent OnChangeSetup;
  TNotifyEvent OnSelectedChange;
  TOnPercentDoneEvent OnPercentDone;
  TBeforeSortExchgEvent OnBeforeSortExchange;
  TBeforeHTMLExportEvent OnBeforeHTMLExport;
  TCheckStateChangeEvent OnBeforeCheckedChange;
  TCheckStateChangeEvent OnCheckedChange;
  TCursorKeyActionEvent OnCursorKeyAction;
  TBeforeFilterEvent OnBeforeFilter;
  TRequestEditFormatEvent OnRequestEditFormat;

 protected:
  void AssignTo(TPersistent* Dest) const override;
  void CreateWnd() override;
  void Paint() override;
  void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
  bool SelectCell(int ACol, int ARow) override;
  void TopLeftChanged() override;
  std::string GetEditText(int ACol, int ARow) override;
  void SetEditText(int ACol, int ARow, const std::string& Value) override;

 private:
  template <class V>
  void SetLook(V& Field, const V& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint_();
    ChangedSetup();
  }
  void Repaint_();  // invalidates unless painting is suppressed
  void StorageChanged();
  void InstallHooks();
  void SyncSortHook();
  void ApplyRowCount();
  void ApplyColCount();
  void ApplyHeaderHeights();
  void ResetColumnOrder();
  void ResizeColumnArrays(int N);
  bool ValidCol(int C) const { return C >= 1 && C <= GetNrOfColumns(); }
  bool ValidRow(int R) const { return R >= 1 && R <= GetNrOfRows(); }
  uint8_t RowAttr(int R) const;
  void SetRowAttr(int R, uint8_t A);
  void SetAllRowBits(uint8_t Bit, bool On);
  void SelectOnlyRow(int R);  // without notifying or repainting
  void SetHeaderVisible(bool& Field, bool B);
  void AfterRead();
  // Sorting by a click on the header of data column C; the selected record stays selected.
  void HeaderSort(int C);
  // Moves the grid selection onto data row R (all columns), scrolling it into view.
  void MoveGridSelectionTo(int R);
  void DrawDataCell(int ACol, int ARow, const TRect& ARect);
  void DrawCommonHeader(const TRect& ARect);
  void DrawColumnHeader(int ACol, const TRect& ARect);
  void PaintEmptyMessage();
  void PaintInterRowIndicator();
  TFontStyles CellFontStyles(bool Highlight) const;
  // Enter and Esc in a control of the row-entry editor end it with OK or Cancel.
  void RowEditKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);

  std::unique_ptr<TRLData> FData;
  // Per data column 1..NrOfColumns (entry 0 unused).
  std::vector<TAlignment> FColAlign;
  std::vector<uint8_t> FColEditable;
  std::vector<uint8_t> FColPwd;
  std::vector<uint8_t> FColSortEnabled;
  // Display position -> 0-based data column.
  std::vector<int> FColOrder;

  TForm* FRowEditForm = nullptr;  // while the row-entry editor runs
  bool FSuppressPaint = true;     // until the window exists
  bool FROCheckmarks = false;
  int FInterRowIndi = 0;
  int FAnchorRow = 1;
  TPoint FLastMouse;
  int FRowSelectMode = 1;
  bool FUseCtrlForMultiSel = true;
  bool FSortEnabled = true;
  bool FAutoAdvance = false;

  TColor FColorText = 0x002000;
  TColor FColorBkgdNormal = 0xFFFFFF;
  TColor FColorBkgdShaded = 0xF0EFE8;
  int FRowColPattern = 1;
  TColor FColorHigh = 0xCC9966;
  TColor FColorHighText = 0xFFFFFF;
  int FHighLightRow = 0;
  int FHighLightColumn = 0;
  bool FHighLightBold = false;
  TColor FColorSelectedRow = 0x94BAED;
  TColor FColorSelectedRowText = 0x800000;
  TColor FColorSelectedCol = 0;
  TColor FColorSelectedColText = 0;
  TColor FColorSelectedBoth = 0;
  TColor FColorSelectedBothText = 0;
  TColor FColorDisabledBkgd = 0xF0F0F0;
  TColor FColorDisabledText = 0xC0C0C0;
  TColor FColorColumnHd = clBtnFace;
  TColor FColorColumnHdText = 0;
  TColor FColorCommonHd = clBtnFace;
  TColor FColorCommonHdText = 0;
  TColor FColorEmptyMsg = 0;
  TAlignment FHdAlign = taCenter;
  bool FCommonHeaderVisible = false;
  int FCommonHeaderHeight = 20;
  bool FColumnHeadersVisible = true;
  int FColumnHeadersHeight = 20;
  std::string FEmptyMessage;
  bool FFixedFirstColumn = false;
  TColor FInterRowIndicatorColor = 0x0000FF;
  int FInterRowIndicatorWidth = 3;
  bool FShowEmptyCheckBoxes = true;
};

// Registers TRLData and TReportListView with their published properties. Idempotent.
void RegisterRepListClasses();

}  // namespace qel

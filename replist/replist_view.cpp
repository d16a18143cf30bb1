// TReportListView: the owned store and its hooks, index mapping, counts and header heights,
// properties, pass-through operations, structural changes, column widths and Assign.
#include <algorithm>
#include <new>

#include "platform/controls/Forms.h"
#include "replist/QEL_replist.h"
#include "replist/replist_view_batch.h"

namespace qel {

namespace {

constexpr int kMinHeaderHeight = 8;
constexpr int kMaxHeaderHeight = 127;

}  // namespace

// ---------------------------------------------------------------- lifecycle

TReportListView::TReportListView(TComponent* AOwner) : TCustomDrawGrid(AOwner) {
  FData = std::make_unique<TRLData>(nullptr);
  try {
    ResizeColumnArrays(5);
  } catch (const std::bad_alloc&) {
    throw EQELRepListError(ComponentMessage(GetName(), kFailedToInitializeTableEditor));
  }
  SetDefaultDrawing(false);
  TCustomGrid::SetColCount(5);
  TCustomGrid::SetFixedCols(0);
  FData->SetNrCols(5);
  FData->SetNrRows(4);
  ResetColumnOrder();
  SetFixedColor(FColorColumnHd);
  SetOptions({goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect, goThumbTracking});
  InstallHooks();
  ApplyRowCount();
  TCustomGrid::SetTopRow(CountHeadRows());
  SetColor(clWindow);
}

TReportListView::~TReportListView() = default;

void TReportListView::InstallHooks() {
  TStringArray* s = FData->GetStorage();
  s->OnChange = [this](TObject*) { StorageChanged(); };
  auto progress = [this](TObject*, int Percent) {
    if (OnPercentDone) OnPercentDone(this, Percent);
  };
  s->OnPercentDone = progress;
  FData->OnPercentDone = progress;
  FData->OnBeforeHTMLExport = [this](TObject*, std::string& Text, int Col, int Row) {
    BeforeHTMLExport(Text, Col, Row);
  };
}

void TReportListView::SyncSortHook() {
  // Only an assigned event goes into the store: without one it keeps its fast comparison.
  if (OnBeforeSortExchange)
    FData->OnBeforeSortExchange = [this](TObject*, std::string& A, std::string& B) {
      if (OnBeforeSortExchange) OnBeforeSortExchange(this, A, B);
    };
  else
    FData->OnBeforeSortExchange = nullptr;
}

void TReportListView::CreateWnd() {
  TCustomDrawGrid::CreateWnd();
  SetSuppressPaint(false);
}

void TReportListView::Loaded() {
  TCustomDrawGrid::Loaded();
  ApplyRowCount();
}

void TReportListView::BeforeHTMLExport(std::string& Text, int Col, int Row) {
  if (OnBeforeHTMLExport) OnBeforeHTMLExport(this, Text, Col, Row);
}

// ---------------------------------------------------------------- notifications

void TReportListView::Changed() {
  if (OnChange) OnChange(this);
}

void TReportListView::ChangedSetup() {
  if (OnChangeSetup) OnChangeSetup(this);
}

void TReportListView::ChangedSelection() {
  if (OnSelectedChange) OnSelectedChange(this);
}

void TReportListView::StorageChanged() {
  Changed();
  Repaint_();
}

void TReportListView::Repaint_() {
  if (!FSuppressPaint) Invalidate();
}

void TReportListView::SetSuppressPaint(bool B) {
  if (B == FSuppressPaint) return;
  FSuppressPaint = B;
  if (!B) Invalidate();
}

// ---------------------------------------------------------------- index mapping

int TReportListView::CountHeadRows() const {
  return (FCommonHeaderVisible ? 1 : 0) + (FColumnHeadersVisible ? 1 : 0);
}

int TReportListView::DataColAt(int P) const {
  if (P < 0 || P >= static_cast<int>(FColOrder.size()) || P >= GetNrOfColumns()) return 0;
  return FColOrder[P] + 1;
}

int TReportListView::DisplayPosOf(int C) const {
  for (int p = 0; p < static_cast<int>(FColOrder.size()) && p < GetNrOfColumns(); ++p)
    if (FColOrder[p] + 1 == C) return p;
  return -1;
}

int TReportListView::GetColOrder(int P) const { return DataColAt(P - 1); }

void TReportListView::ResetColumnOrder() {
  FColOrder.resize(static_cast<size_t>(std::max(GetNrOfColumns(), 1)));
  for (size_t i = 0; i < FColOrder.size(); ++i) FColOrder[i] = static_cast<int>(i);
}

bool TReportListView::SetColumnOrder(const std::vector<int>& Order) {
  const int n = GetNrOfColumns();
  if (static_cast<int>(Order.size()) != n) return false;
  bool ok = true;
  for (int i = 0; i < n; ++i) {
    if (Order[i] < 1 || Order[i] > n) {
      ok = false;
      continue;
    }
    FColOrder[i] = Order[i] - 1;
  }
  Repaint_();
  ChangedSetup();
  return ok;
}

int TReportListView::GetColWidths(int C) const {
  if (C < 1 || C > static_cast<int>(FColOrder.size())) return 0;
  return TCustomGrid::GetColWidths(FColOrder[C - 1]);
}

void TReportListView::SetColWidths(int C, int W) {
  if (C >= 1 && C <= static_cast<int>(FColOrder.size()))
    TCustomGrid::SetColWidths(FColOrder[C - 1], W);
  ChangedSetup();
}

// ---------------------------------------------------------------- per-column arrays

void TReportListView::ResizeColumnArrays(int N) {
  const size_t size = static_cast<size_t>(std::max(N, 1)) + 1;
  FColAlign.resize(size, taLeftJustify);
  FColEditable.resize(size, 0);
  FColPwd.resize(size, 0);
  FColSortEnabled.resize(size, 1);
}

TAlignment TReportListView::GetColAlignment(int C) const {
  return ValidCol(C) ? FColAlign[C] : taLeftJustify;
}

void TReportListView::SetColAlignment(int C, TAlignment A) {
  if (!ValidCol(C) || FColAlign[C] == A) return;
  FColAlign[C] = A;
  Changed();
  Repaint_();
}

bool TReportListView::GetColumnEditable(int C) const { return ValidCol(C) && FColEditable[C]; }

void TReportListView::SetColumnEditable(int C, bool B) {
  if (ValidCol(C)) FColEditable[C] = B;
}

bool TReportListView::GetColumnIsPwd(int C) const { return ValidCol(C) && FColPwd[C]; }

void TReportListView::SetColumnIsPwd(int C, bool B) {
  if (!ValidCol(C) || bool(FColPwd[C]) == B) return;
  FColPwd[C] = B;
  Changed();
  Repaint_();
}

bool TReportListView::GetColSortEnabled(int C) const { return ValidCol(C) && FColSortEnabled[C]; }

void TReportListView::SortEnabledState(int FirstCol, int LastCol, bool Enabled) {
  if (FirstCol > LastCol) std::swap(FirstCol, LastCol);
  FirstCol = std::max(FirstCol, 1);
  LastCol = std::min(LastCol, GetNrOfColumns());
  for (int c = FirstCol; c <= LastCol; ++c) FColSortEnabled[c] = Enabled;
}

// ---------------------------------------------------------------- counts and header heights

void TReportListView::ApplyColCount() {
  const int fixed = FFixedFirstColumn ? 1 : 0;
  const int cols = std::max(GetNrOfColumns(), fixed + 1);
  TCustomGrid::SetColCount(cols);
  TCustomGrid::SetFixedCols(std::min(fixed, cols - 1));
}

void TReportListView::ApplyRowCount() {
  const int head = CountHeadRows();
  const int rows = std::max(head + GetNrOfRows(), head + 1);
  TCustomGrid::SetRowCount(rows);
  TCustomGrid::SetFixedRows(head);
  ApplyHeaderHeights();
}

void TReportListView::ApplyHeaderHeights() {
  if (FCommonHeaderVisible && FColumnHeadersVisible) {
    SetRowHeights(0, FCommonHeaderHeight);
    SetRowHeights(1, FColumnHeadersHeight);
    return;
  }
  SetRowHeights(0, FCommonHeaderVisible    ? FCommonHeaderHeight
                   : FColumnHeadersVisible ? FColumnHeadersHeight
                                           : GetDefaultRowHeight());
  if (GetRowCount() >= 2) SetRowHeights(1, GetDefaultRowHeight());
}

void TReportListView::SetNrCols(int N) {
  if (std::max(N, 1) == GetNrOfColumns()) return;
  const int oldLast = TCustomGrid::GetColCount() - 1;
  const int width = TCustomGrid::GetColWidths(oldLast);
  try {
    ResizeColumnArrays(std::max(N, 1));
  } catch (const std::bad_alloc&) {
    throw EQELRepListError(ComponentMessage(GetName(), kNotEnoughMemory));
  }
  const int oldCount = GetNrOfColumns();
  FData->SetNrCols(N);
  const int n = GetNrOfColumns();
  for (int c = oldCount + 1; c <= n; ++c) {
    FColAlign[c] = taLeftJustify;
    FColEditable[c] = 0;
    FColPwd[c] = 0;
    FColSortEnabled[c] = 1;
  }
  ApplyColCount();
  for (int c = oldLast; c < TCustomGrid::GetColCount(); ++c) TCustomGrid::SetColWidths(c, width);
  ResetColumnOrder();
  TCustomGrid::SetTopRow(CountHeadRows());
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetNrRows(int N) {
  if (std::max(N, 0) == GetNrOfRows()) return;
  FData->SetNrRows(N);
  TCustomGrid::SetSelection({0, CountHeadRows(), 0, CountHeadRows()});
  ApplyRowCount();
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetHeaderVisible(bool& Field, bool B) {
  if (B == Field) return;
  Field = B;
  // Fixed rows go first when they shrink, so the grid never holds more fixed rows than rows.
  TCustomGrid::SetFixedRows(std::min(TCustomGrid::GetFixedRows(), CountHeadRows()));
  ApplyRowCount();
  Changed();
  Repaint_();
}

void TReportListView::SetCommonHeaderVisible(bool B) { SetHeaderVisible(FCommonHeaderVisible, B); }

void TReportListView::SetColumnHeadersVisible(bool B) {
  SetHeaderVisible(FColumnHeadersVisible, B);
}

void TReportListView::SetCommonHeaderHeight(int H) {
  H = std::clamp(H, kMinHeaderHeight, kMaxHeaderHeight);
  if (H == FCommonHeaderHeight) return;
  FCommonHeaderHeight = H;
  ApplyHeaderHeights();
  Repaint_();
}

void TReportListView::SetColumnHeadersHeight(int H) {
  H = std::clamp(H, kMinHeaderHeight, kMaxHeaderHeight);
  if (H == FColumnHeadersHeight) return;
  FColumnHeadersHeight = H;
  ApplyHeaderHeights();
  Repaint_();
}

void TReportListView::SetDefaultColWidth(int W) {
  if (W == GetDefaultColWidth()) return;
  TCustomGrid::SetDefaultColWidth(W);
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetDefaultRowHeight(int H) {
  if (H == GetDefaultRowHeight()) return;
  TCustomGrid::SetDefaultRowHeight(H);
  ApplyHeaderHeights();
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetFixedFirstColumn(bool B) {
  if (B == FFixedFirstColumn) return;
  FFixedFirstColumn = B;
  ApplyColCount();
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetColorColumnHd(TColor C) {
  if (C == FColorColumnHd) return;
  FColorColumnHd = C;
  SetFixedColor(C);
  Repaint_();
  ChangedSetup();
}

void TReportListView::SetHdAlign(TAlignment A) {
  if (A == FHdAlign) return;
  FHdAlign = A;
  Changed();
  Repaint_();
}

void TReportListView::SetCommonHeader(const std::string& S) {
  if (S == FData->GetCommonHeader()) return;
  FData->SetCommonHeader(S);
  Changed();
  Repaint_();
}

void TReportListView::SetROCheckmarks(bool B) {
  if (B == FROCheckmarks) return;
  FROCheckmarks = B;
  Repaint_();
}

void TReportListView::SetInterRowIndi(int R) {
  if (R == FInterRowIndi) return;
  FInterRowIndi = std::max(R, 0);
  Repaint_();
}

void TReportListView::SetSortColumnSec(int C) {
  if (C < -1 || C > GetNrOfColumns()) return;
  FData->SetSortColumnSec(C);
  ChangedSetup();
}

// ---------------------------------------------------------------- pass-through operations

std::string TReportListView::GetElem(int C, int R) {
  std::string text = FData->GetElem(C, R);
  if (OnReadCell) OnReadCell(this, C, R, text);
  return text;
}

long double TReportListView::GetAsNumber(int C, int R) const {
  try {
    return FData->GetAsNumber(C, R);
  } catch (const EQELDStructError&) {
    throw EQELDStructError("Class TReportListView: invalid numeric string: [" + std::to_string(C) +
                           "," + std::to_string(R) + "]: " + FData->GetStoredElem(C, R));
  }
}

void TReportListView::SetColName(int C, const std::string& S) {
  FData->SetColName(C, S);
  Changed();
  Repaint_();
}

void TReportListView::SetColumnFormat(int C, const std::string& S) {
  FData->SetColumnFormat(C, S);
  Changed();
  Repaint_();
}

void TReportListView::SetCheckedCol(int C, bool B) {
  FData->SetCheckedCol(C, B);
  Changed();
  Repaint_();
}

void TReportListView::SetColCheckMode(int C, TCheckMode M) {
  FData->SetColCheckMode(C, M);
  Changed();
  Repaint_();
}

void TReportListView::SetAllCheckmarksOfCol(int C, bool B) {
  TPaintBatch batch(this);
  FData->SetAllCheckmarksOfCol(C, B);
}

void TReportListView::SetAllCheckmarksOfCol(int C, bool B, bool SkipDisabled) {
  if (GetColCheckMode(C) != cmBox && B) return;  // a radio column can only be cleared
  TPaintBatch batch(this);
  FData->SetAllCheckmarksOfColIntern(C, B, SkipDisabled);
}

void TReportListView::InvertAllCheckmarksOfCol(int C) {
  TPaintBatch batch(this);
  FData->InvertAllCheckmarksOfCol(C);
}

void TReportListView::InvertAllCheckmarksOfCol(int C, bool SkipDisabled) {
  TPaintBatch batch(this);
  FData->InvertAllCheckmarksOfColIntern(C, SkipDisabled);
}

void TReportListView::Sort(int ColPrim, int ColSec, bool Ascending) {
  SyncSortHook();
  FData->Sort(ColPrim, ColSec, Ascending);
  Repaint_();
}

void TReportListView::UnSort() {
  FData->UnSort();
  Repaint_();
}

// ---------------------------------------------------------------- structure

int TReportListView::AddRow() {
  HideEditor();
  SetNrRows(GetNrOfRows() + 1);
  return GetNrOfRows();
}

int TReportListView::InsertRow(int R) {
  if (R <= 0) return R;
  HideEditor();
  if (R <= GetNrOfRows()) {
    FData->InsertRow(R);
    ApplyRowCount();
    ChangedSetup();
  } else {
    SetNrRows(GetNrOfRows() + 1);
    R = GetNrOfRows();
  }
  FData->UnSort();  // the order index no longer describes the rows
  return R;
}

int TReportListView::InsertColumn(int C) {
  if (C <= 0) return C;
  HideEditor();
  const int n = GetNrOfColumns();
  if (C > n) {
    SetNrCols(n + 1);
    return GetNrOfColumns();
  }
  ResizeColumnArrays(n + 1);
  FData->InsertColumn(C);
  for (int k = n + 1; k > C; --k) {
    FColAlign[k] = FColAlign[k - 1];
    FColEditable[k] = FColEditable[k - 1];
    FColPwd[k] = FColPwd[k - 1];
    FColSortEnabled[k] = FColSortEnabled[k - 1];
  }
  FColAlign[C] = taLeftJustify;
  FColEditable[C] = 0;
  FColPwd[C] = 0;
  FColSortEnabled[C] = 1;
  ApplyColCount();
  ResetColumnOrder();
  Repaint_();
  ChangedSetup();
  return C;
}

void TReportListView::RemoveRow(int R) {
  if (!ValidRow(R)) return;
  HideEditor();
  // The row the user sees goes: a pending sort order is made the stored order first, so the
  // index can never point at a removed row.
  FData->GetStorage()->CommitSorting();
  if (CountHeadRows() == 2 && GetNrOfRows() == 1) {
    for (int c = 0; c <= GetNrOfColumns(); ++c) FData->SetElem(c, 1, "");
    FData->SetNrRows(0);
  } else {
    FData->RemoveRow(R);
  }
  ApplyRowCount();
  Repaint_();
  ChangedSetup();
}

void TReportListView::RemoveColumn(int C) {
  if (!ValidCol(C)) return;
  HideEditor();
  const int n = GetNrOfColumns();
  for (int k = C; k < n; ++k) {
    FColAlign[k] = FColAlign[k + 1];
    FColEditable[k] = FColEditable[k + 1];
    FColPwd[k] = FColPwd[k + 1];
    FColSortEnabled[k] = FColSortEnabled[k + 1];
  }
  FData->RemoveColumn(C);
  ApplyColCount();
  ResetColumnOrder();
  Repaint_();
  ChangedSetup();
}

void TReportListView::RemoveEmptyRows() {
  TPaintBatch batch(this);
  for (int r = GetNrOfRows(); r >= 1; --r) {
    bool empty = true;
    for (int c = 0; c <= GetNrOfColumns() && empty; ++c) empty = FData->GetElem(c, r).empty();
    if (empty) RemoveRow(r);
  }
}

void TReportListView::Fill(const std::string& S) {
  TPaintBatch batch(this);
  FData->Fill(S);
}

void TReportListView::Clear() {
  HideEditor();
  FData->Clear();
  std::fill(FColAlign.begin(), FColAlign.end(), taLeftJustify);
  std::fill(FColEditable.begin(), FColEditable.end(), 0);
  std::fill(FColPwd.begin(), FColPwd.end(), 0);
  std::fill(FColSortEnabled.begin(), FColSortEnabled.end(), 1);
  ResetColumnOrder();
  Repaint_();
}

// ---------------------------------------------------------------- file exchange

void TReportListView::AfterRead() {
  ResizeColumnArrays(GetNrOfColumns());
  ApplyColCount();
  ResetColumnOrder();
  ApplyRowCount();
  Repaint_();
  ChangedSetup();
}

void TReportListView::ReadFromXMLString(const std::string& XML, const std::string& DataID) {
  HideEditor();
  FData->ReadFromXMLString(XML, DataID);
  AfterRead();
}

void TReportListView::ReadFromXMLStream(TStream& Stream, const std::string& DataID) {
  HideEditor();
  FData->ReadFromXMLStream(Stream, DataID);
  AfterRead();
}

void TReportListView::ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID) {
  HideEditor();
  FData->ReadFromOpenXMLFile(F, DataID);
  AfterRead();
}

void TReportListView::LoadFromXMLFile(const std::string& FName, const std::string& DataID) {
  HideEditor();
  FData->LoadFromXMLFile(FName, DataID);
  AfterRead();
}

void TReportListView::ImportCSV(const std::string& FName, TCSVDelimiters Delimiter,
                                bool ColumnNames) {
  HideEditor();
  FData->ImportCSV(FName, Delimiter, ColumnNames);
  AfterRead();
}

int TReportListView::LoadLinesFromFile(int Col, int FirstRow, const std::string& FName) {
  HideEditor();
  const int n = FData->LoadLinesFromFile(Col, FirstRow, FName);
  AfterRead();
  return n;
}

// ---------------------------------------------------------------- scrolling

void TReportListView::SetTopRow(int R) {
  const int head = CountHeadRows();
  const int g = std::clamp(R + head - 1, head, head + std::max(GetNrOfRows(), 1) - 1);
  TCustomGrid::SetTopRow(g);
}

void TReportListView::SetLeftCol(int C) {
  C = std::max(std::min(C, GetNrOfColumns()), TCustomGrid::GetFixedCols() + 1);
  TCustomGrid::SetLeftCol(C - 1);
}

void TReportListView::TopLeftChanged() {
  Repaint_();
  TCustomDrawGrid::TopLeftChanged();
}

void TReportListView::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomDrawGrid::SetBounds(ALeft, ATop, AWidth, AHeight);
  Repaint_();
}

// ---------------------------------------------------------------- column widths

int TReportListView::DetermineMaxColWidth(int C, bool IncludeHeader) {
  if (!ValidCol(C)) return 10;
  TCanvas* c = Canvas();
  c->Font()->Assign(GetFont());
  const bool italic = GetFont()->GetStyle().Contains(fsItalic);
  int widest = 0;
  TStringArray* s = FData->GetStorage();
  for (int r = 1; r <= GetNrOfRows(); ++r) {
    const std::string_view cell = s->GetStringView(C, r);
    if (!cell.empty()) widest = std::max(widest, c->TextWidth(std::string(cell)));
  }
  if (GetColCheckMode(C) == cmBox) widest += kCheckBoxRoom;
  if (italic) widest += 2;
  if (IncludeHeader) {
    int w = c->TextWidth(GetColName(C));
    if (C == GetSortColumn()) w += kSortIndicatorRoom;
    if (italic) w += 2;
    widest = std::max(widest, w);
  }
  return widest + 10;
}

void TReportListView::AutoColWidth(int C, bool IncludeHeader, int Margin) {
  const int p = DisplayPosOf(C);
  if (p < 0) return;
  TCustomGrid::SetColWidths(p, std::max(DetermineMaxColWidth(C, IncludeHeader) + Margin, 4));
  ChangedSetup();
}

void TReportListView::AutoColWidth(int C, bool IncludeHeader, int Margin, int MaxWidth) {
  const int p = DisplayPosOf(C);
  if (p < 0) return;
  TCustomGrid::SetColWidths(
      p, std::min(MaxWidth, std::max(DetermineMaxColWidth(C, IncludeHeader) + Margin, 4)));
  ChangedSetup();
}

void TReportListView::ExpandColWidth(int C, int Reserve) {
  const int p = DisplayPosOf(C);
  if (p < 0) return;
  int others = 0;
  for (int k = 0; k < TCustomGrid::GetColCount(); ++k)
    if (k != p) others += TCustomGrid::GetColWidths(k);
  const int w = CellArea().Width() - Reserve - others;
  TCustomGrid::SetColWidths(p, w > 15 ? w : 16);
  ChangedSetup();
}

void TReportListView::FitAllColWidths(int ExpandCol, bool IncludeHeader, int Margin, int MaxWidth,
                                      int Reserve) {
  TPaintBatch batch(this);
  for (int c = 1; c <= GetNrOfColumns(); ++c)
    if (c != ExpandCol) AutoColWidth(c, IncludeHeader, Margin, MaxWidth);
  ExpandColWidth(ExpandCol, Reserve);
}

// ---------------------------------------------------------------- Assign

void TReportListView::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TReportListView*>(Source);
  if (!src) {
    TCustomDrawGrid::Assign(Source);
    return;
  }
  if (src == this) return;
  FAutoAdvance = src->FAutoAdvance;
  FLastMouse = src->FLastMouse;
  FAnchorRow = src->FAnchorRow;
  FRowSelectMode = src->FRowSelectMode;
  FSortEnabled = src->FSortEnabled;
  SetEnabled(src->GetEnabled());
  FColorText = src->FColorText;
  FColorBkgdNormal = src->FColorBkgdNormal;
  FColorBkgdShaded = src->FColorBkgdShaded;
  FRowColPattern = src->FRowColPattern;
  FColorSelectedRow = src->FColorSelectedRow;
  FColorSelectedRowText = src->FColorSelectedRowText;
  FColorSelectedCol = src->FColorSelectedCol;
  FColorSelectedColText = src->FColorSelectedColText;
  FColorSelectedBoth = src->FColorSelectedBoth;
  FColorSelectedBothText = src->FColorSelectedBothText;
  FColorHigh = src->FColorHigh;
  FColorHighText = src->FColorHighText;
  FHighLightBold = src->FHighLightBold;
  FHighLightRow = src->FHighLightRow;
  FHighLightColumn = src->FHighLightColumn;
  FHdAlign = src->FHdAlign;
  FCommonHeaderVisible = src->FCommonHeaderVisible;
  FColorCommonHd = src->FColorCommonHd;
  FColorCommonHdText = src->FColorCommonHdText;
  FColumnHeadersVisible = src->FColumnHeadersVisible;
  FColorColumnHd = src->FColorColumnHd;
  SetFixedColor(FColorColumnHd);
  FColorColumnHdText = src->FColorColumnHdText;
  FShowEmptyCheckBoxes = src->FShowEmptyCheckBoxes;
  FInterRowIndi = src->FInterRowIndi;
  FInterRowIndicatorColor = src->FInterRowIndicatorColor;
  FInterRowIndicatorWidth = src->FInterRowIndicatorWidth;
  FFixedFirstColumn = src->FFixedFirstColumn;
  OnChange = src->OnChange;
  OnChangeSetup = src->OnChangeSetup;
  OnSelectedChange = src->OnSelectedChange;
  OnCheckedChange = src->OnCheckedChange;
  OnBeforeCheckedChange = src->OnBeforeCheckedChange;
  OnGetEditText = src->OnGetEditText;
  OnSetEditText = src->OnSetEditText;
  OnPercentDone = src->OnPercentDone;
  OnBeforeRenderCell = src->OnBeforeRenderCell;
  OnBeforeSortExchange = src->OnBeforeSortExchange;
  OnBeforeHTMLExport = src->OnBeforeHTMLExport;
  OnBeforeFilter = src->OnBeforeFilter;
  OnMouseWheelDown = src->OnMouseWheelDown;
  OnMouseWheelUp = src->OnMouseWheelUp;
  // The store's Assign replaces its storage; the new one keeps this view's hooks.
  FData->Assign(src->FData.get());
  SyncSortHook();  // the store took the source's hook, which belongs to the source view
  ResizeColumnArrays(GetNrOfColumns());
  ApplyRowCount();
  ApplyColCount();
  FColAlign = src->FColAlign;
  FColEditable = src->FColEditable;
  FColPwd = src->FColPwd;
  FColSortEnabled = src->FColSortEnabled;
  FColOrder = src->FColOrder;
  SetSuppressPaint(src->FSuppressPaint);
  Invalidate();
}

void TReportListView::AssignTo(TPersistent* Dest) const {
  if (auto* v = dynamic_cast<TReportListView*>(Dest)) {
    v->Assign(this);
    return;
  }
  TCustomDrawGrid::AssignTo(Dest);
}

}  // namespace qel

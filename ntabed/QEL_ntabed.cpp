// TNTabEd: construction, the binding to the data table, dimensions, lines, names, attributes,
// values and cell states, sorting, and the change events.
#include "ntabed/QEL_ntabed.h"

#include <algorithm>
#include <new>

#include "frame/QEL_stringl.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

// Sets or clears the bits of Mask in a state byte.
inline uint8_t WithBits(uint8_t State, uint8_t Mask, bool On) {
  return On ? uint8_t(State | Mask) : uint8_t(State & ~Mask);
}

// Restores a flag when a scope ends, also when an exception leaves it.
class TFlagScope {
 public:
  TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FOld(Flag) { FFlag = Value; }
  ~TFlagScope() { FFlag = FOld; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FOld;
};

}  // namespace

TNTabEd::TNTabEd(TComponent* AOwner) : TCustomGrid(AOwner) {
  SetFixedCols(2);
  FBusy = true;
  SetDefaultRowHeight(24);
  SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
  BuildMenus();
  if (!(ComponentState().Contains(csDesigning))) {
    FNameEdit = new TEdit(this);
    FNameEdit->SetParent(this);
    FNameEdit->SetVisible(false);
    FNameEdit->SetBounds(0, 0, 160, 22);
    FNameEdit->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState) { NameEditorKeyDown(Key); };
    FCommentEdit = new TMemo(this);
    FCommentEdit->SetParent(this);
    FCommentEdit->SetVisible(false);
    FCommentEdit->OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState Shift) {
      CommentEditorKeyDown(Key, Shift);
    };
  }
  TCustomGrid::SetColWidths(1, FRowAttWidth);
  TCustomGrid::SetColWidths(0, 80);
  FClip = std::make_unique<TDataTable>();
  FOwnTable = std::make_unique<TDataTable>();
  FData = FOwnTable.get();
  // The table takes the size of the grid's initial cells: 5 x 5 less the headings.
  FData->Resize(GetColCount() - 2, GetRowCount() - 1);
  FData->Matrix().Fill(0);
  try {
    FDecPlaces.assign(static_cast<size_t>(FData->NrOfColumns()), 3);
  } catch (const std::bad_alloc&) {
    FOwnTable.reset();
    FData = nullptr;
    RaiseError("\": failed to initialize table editor (out of memory)");
  }
  AttachTable(FData);
  SetColorBackground(clWindow);
  TCustomGrid::SetFixedColor(FColorFixed);
  FBusy = false;
}

TNTabEd::~TNTabEd() {
  // A host's table lives on: it must not call back into an editor that is gone.
  if (!FOwnTable && FData) DetachTable(FData);
  FData = nullptr;
}

void TNTabEd::RaiseError(const char* Ending) const {
  throw EQELNTabedError("Component \"" + GetName() + Ending);
}

// ---------------------------------------------------------------- binding

void TNTabEd::AttachTable(TDataTable* Table) {
  Table->OnDataChanged = [this](TObject*) { DataHasChanged(); };
  Table->OnSetupChanged = [this](TObject*) { SetupHasChanged(); };
  Table->OnDataResized = [this](TObject*, int OC, int OR, int NC, int NR) {
    DataHasBeenResized(OC, OR, NC, NR);
  };
  Table->OnPercentDone = [this](TObject*, int Percent) { NTPercDone(Percent); };
  Table->OnSortExchange = [this](TObject*, int Kind, int I1, int I2, int, int) {
    ExchangeDuringSort(Kind, I1, I2);
  };
}

void TNTabEd::DetachTable(TDataTable* Table) {
  Table->OnDataChanged = nullptr;
  Table->OnSetupChanged = nullptr;
  Table->OnDataResized = nullptr;
  Table->OnPercentDone = nullptr;
  Table->OnSortExchange = nullptr;
}

void TNTabEd::AssignAnotherDataMatrix(TDataTable* Table) {
  if (!Table || Table == FData) return;
  HideEditor();
  const int oldCols = FData->NrOfColumns(), oldRows = FData->NrOfRows();
  if (FOwnTable)
    FOwnTable.reset();
  else
    DetachTable(FData);
  FData = Table;
  AttachTable(FData);
  DataHasBeenResized(oldCols, oldRows, FData->NrOfColumns(), FData->NrOfRows());
  ChangedSetup();
  Invalidate();
}

void TNTabEd::CopyContentsFrom(const TNTabEd* Editor) {
  if (!Editor || Editor == this) return;
  const TDataTable& src = *Editor->FData;
  {
    TFlagScope busy(FBusy, true);
    HideEditor();
    FData->Resize(src.NrOfColumns(), src.NrOfRows());
    FData->Matrix() = src.Matrix();
    for (int c = 1; c <= src.NrOfColumns(); ++c) {
      for (int r = 1; r <= src.NrOfRows(); ++r) FData->SetCellState(c, r, src.GetCellState(c, r));
      FData->SetColName(c, src.GetColName(c));
      FData->SetColAttrib(c, src.GetColAttrib(c));
    }
    for (int r = 1; r <= src.NrOfRows(); ++r) {
      FData->SetRowName(r, src.GetRowName(r));
      FData->SetRowAttrib(r, src.GetRowAttrib(r));
    }
    FDecPlaces = Editor->FDecPlaces;
    FData->SetFComment(src.GetComment());
  }
  ChangedSetup();
  ChangedData();
  ChangedCellStates();
  Invalidate();
}

void TNTabEd::CopyCellStatesFrom(const TNTabEd* Editor) {
  if (!Editor || Editor == this) return;
  const TDataTable& src = *Editor->FData;
  const int nc = std::min(NrOfColumns(), src.NrOfColumns());
  const int nr = std::min(NrOfRows(), src.NrOfRows());
  for (int c = 1; c <= nc; ++c)
    for (int r = 1; r <= nr; ++r) FData->SetCellState(c, r, src.GetCellState(c, r));
  Invalidate();
  ChangedCellStates();
}

// ---------------------------------------------------------------- table notifications

void TNTabEd::DataHasChanged() {
  ChangedData();
  Invalidate();
}

void TNTabEd::SetupHasChanged() {
  ChangedSetup();
  Invalidate();
}

void TNTabEd::ResizeDecPlaces(int OldCols, int NewCols) {
  const int8_t last = OldCols >= 1 && OldCols <= int(FDecPlaces.size())
                          ? FDecPlaces[static_cast<size_t>(OldCols - 1)]
                          : int8_t(3);
  try {
    FDecPlaces.resize(static_cast<size_t>(std::max(NewCols, 0)), last);
  } catch (const std::bad_alloc&) {
    RaiseError("\": not enough memory on heap");
  }
}

void TNTabEd::DataHasBeenResized(int OldCols, int OldRows, int NewCols, int NewRows) {
  const int lastWidth = TCustomGrid::GetColWidths(GetColCount() - 1);
  SetColCount(NewCols + FRA + 1);
  for (int g = OldCols + FRA + 1; g <= NewCols + FRA; ++g) TCustomGrid::SetColWidths(g, lastWidth);
  (void)OldRows;
  SetRowCount(NewRows + FCA + 1);
  ResizeDecPlaces(OldCols, NewCols);
  Invalidate();
}

void TNTabEd::NTPercDone(int Percent) {
  if (OnPercentDone) OnPercentDone(this, Percent);
}

void TNTabEd::ExchangeDuringSort(int Kind, int I1, int I2) {
  if (!FSortRunning || Kind != kExchangeColumns) return;
  if (I1 < 1 || I2 < 1 || I1 > int(FDecPlaces.size()) || I2 > int(FDecPlaces.size())) return;
  std::swap(FDecPlaces[static_cast<size_t>(I1 - 1)], FDecPlaces[static_cast<size_t>(I2 - 1)]);
}

// ---------------------------------------------------------------- change events

#define QEL_NTABED_CHANGED(Method, Event) \
  void TNTabEd::Method() {                \
    if (FSuppressPaint || FBusy) return;  \
    if (Event) Event(this);               \
  }
QEL_NTABED_CHANGED(ChangedData, OnChange)
QEL_NTABED_CHANGED(ChangedHeading, OnHeadingChanged)
QEL_NTABED_CHANGED(ChangedAttrib, OnAttributeChanged)
QEL_NTABED_CHANGED(ChangedLayout, OnLayoutChanged)
QEL_NTABED_CHANGED(ChangedCellStates, OnCellStateChanged)
QEL_NTABED_CHANGED(ChangedSelection, OnSelectionChanged)
QEL_NTABED_CHANGED(ChangedSetup, OnChangeSetup)
#undef QEL_NTABED_CHANGED

// ---------------------------------------------------------------- dimensions

void TNTabEd::ResizeTable(int NCols, int NRows) {
  try {
    FData->Resize(NCols, NRows);
  } catch (const EOutOfMemory&) {
    RaiseError("\": not enough memory on heap");  // the table keeps its size
  } catch (const std::bad_alloc&) {
    RaiseError("\": not enough memory on heap");
  }
}

void TNTabEd::SetNrCols(int N) {
  N = std::max(N, 1);
  if (N == NrOfColumns()) return;
  {
    TFlagScope busy(FBusy, true);
    ResizeTable(N, NrOfRows());  // the resize notification lays out the grid
  }
  ChangedSetup();
}

void TNTabEd::SetNrRows(int N) {
  N = std::max(N, 1);
  if (N == NrOfRows()) return;
  {
    TFlagScope busy(FBusy, true);
    ResizeTable(NrOfColumns(), N);
  }
  ChangedSetup();
}

void TNTabEd::Redimension(int NCols, int NRows) {
  NCols = std::max(NCols, 1);
  NRows = std::max(NRows, 1);
  {
    TFlagScope busy(FBusy, true);
    ResizeTable(NCols, NRows);
  }
  ChangedSetup();
  Invalidate();
}

void TNTabEd::InsertColumn(int C) {
  if (C < 1 || C > NrOfColumns() + 1) return;
  std::vector<int8_t> dec = FDecPlaces;
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->InsertColumn(C);
    // The new column takes the decimals of the one it displaces (or of the last one).
    const int8_t d =
        dec.empty() ? int8_t(3) : dec[static_cast<size_t>(std::min<int>(C, int(dec.size())) - 1)];
    dec.insert(dec.begin() + (C - 1), d);
    FDecPlaces = std::move(dec);
  }
  Invalidate();
}

void TNTabEd::RemoveColumn(int C) {
  if (C < 1 || C > NrOfColumns() || NrOfColumns() < 2) return;
  std::vector<int8_t> dec = FDecPlaces;
  {
    TFlagScope quiet(FSuppressPaint, true);
    HideEditor();
    FData->RemoveColumn(C);
    dec.erase(dec.begin() + (C - 1));
    FDecPlaces = std::move(dec);
  }
  Invalidate();
}

void TNTabEd::InsertRow(int R) {
  if (R < 1 || R > NrOfRows() + 1) return;
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->InsertRow(R);
  }
  Invalidate();
}

void TNTabEd::RemoveRow(int R) {
  if (R < 1 || R > NrOfRows() || NrOfRows() < 2) return;
  {
    TFlagScope quiet(FSuppressPaint, true);
    HideEditor();
    FData->RemoveRow(R);
  }
  Invalidate();
}

void TNTabEd::MirrorColumns() {
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->MirrorColumns();
    std::reverse(FDecPlaces.begin(), FDecPlaces.end());
  }
  Invalidate();
}

void TNTabEd::MirrorRows() {
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->MirrorRows();
  }
  Invalidate();
}

void TNTabEd::Clear() {
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->Clear();
    for (int c = 1; c <= NrOfColumns(); ++c) FData->SetColName(c, "C-" + IntToStr(c));
    for (int r = 1; r <= NrOfRows(); ++r) FData->SetRowName(r, "R-" + IntToStr(r));
    std::fill(FDecPlaces.begin(), FDecPlaces.end(), int8_t(3));
  }
  Invalidate();
}

// ---------------------------------------------------------------- names and attributes

void TNTabEd::SetColName(int C, std::string_view Name) {
  if (C < 1 || C > NrOfColumns()) return;
  FData->SetColName(C, Name);  // the table cuts to 50 characters
  ChangedHeading();
  Invalidate();
}

std::string TNTabEd::GetColName(int C) const {
  return C < 1 || C > NrOfColumns() ? std::string() : FData->GetColName(C);
}

void TNTabEd::SetRowName(int R, std::string_view Name) {
  if (R < 1 || R > NrOfRows()) return;
  FData->SetRowName(R, Name);
  ChangedHeading();
  Invalidate();
}

std::string TNTabEd::GetRowName(int R) const {
  return R < 1 || R > NrOfRows() ? std::string() : FData->GetRowName(R);
}

void TNTabEd::SetColAttrib(int C, int A) {
  if (C < 1 || C > NrOfColumns()) return;
  FData->SetColAttrib(C, static_cast<uint8_t>(std::clamp(A, 0, 255)));
  Invalidate();
  ChangedAttrib();
}

int TNTabEd::GetColAttrib(int C) const {
  return C < 1 || C > NrOfColumns() ? 0 : FData->GetColAttrib(C);
}

void TNTabEd::SetRowAttrib(int R, int A) {
  if (R < 1 || R > NrOfRows()) return;
  FData->SetRowAttrib(R, static_cast<uint8_t>(std::clamp(A, 0, 255)));
  Invalidate();
  ChangedAttrib();
}

int TNTabEd::GetRowAttrib(int R) const {
  return R < 1 || R > NrOfRows() ? 0 : FData->GetRowAttrib(R);
}

int TNTabEd::FindColIndex(std::string_view Name) const {
  for (int c = 1; c <= NrOfColumns(); ++c)
    if (SameText(FData->GetColName(c), std::string(Name))) return c;
  return 0;
}

int TNTabEd::FindRowIndex(std::string_view Name) const {
  for (int r = 1; r <= NrOfRows(); ++r)
    if (SameText(FData->GetRowName(r), std::string(Name))) return r;
  return 0;
}

void TNTabEd::SetComment(const std::string& Text) {
  FData->SetFComment(RemoveControlChars(Text));
  ChangedData();
}

// ---------------------------------------------------------------- values and states

void TNTabEd::FillMarkedCells(double X, uint8_t Mask) {
  {
    TFlagScope quiet(FSuppressPaint, true);
    FData->FillMarkedCells(X, Mask);
  }
  Invalidate();
}

void TNTabEd::SetCellState(int C, int R, uint8_t State) {
  FData->SetCellState(C, R, State);
  InvalidateCell(GridCol(C), GridRow(R));
  ChangedCellStates();
}

void TNTabEd::SetIsEmpty(int C, int R, bool Empty) {
  FData->SetCellState(C, R, WithBits(FData->GetCellState(C, R), dtsEmpty, Empty));
  ChangedCellStates();
}

void TNTabEd::SetElemMarkedA(int C, int R, bool Marked) {
  if (C >= 1 && C <= NrOfColumns() && R >= 1 && R <= NrOfRows())
    FData->SetCellState(C, R, WithBits(FData->GetCellState(C, R), dtsMarkedA, Marked));
  Invalidate();
  ChangedCellStates();
}

void TNTabEd::SetElemMarkedB(int C, int R, bool Marked) {
  if (C >= 1 && C <= NrOfColumns() && R >= 1 && R <= NrOfRows())
    FData->SetCellState(C, R, WithBits(FData->GetCellState(C, R), dtsMarkedB, Marked));
  Invalidate();
  ChangedCellStates();
}

bool TNTabEd::IfRowMarked(int R) const {
  if (R < 1 || R > NrOfRows()) return false;
  for (int c = 1; c <= NrOfColumns(); ++c)
    if (FData->GetCellState(c, R) & (dtsMarkedA | dtsMarkedB)) return true;
  return false;
}

bool TNTabEd::IfColumnMarked(int C) const {
  if (C < 1 || C > NrOfColumns()) return false;
  for (int r = 1; r <= NrOfRows(); ++r)
    if (FData->GetCellState(C, r) & (dtsMarkedA | dtsMarkedB)) return true;
  return false;
}

bool TNTabEd::IfAnyMarked() const {
  for (int r = 1; r <= NrOfRows(); ++r)
    if (IfRowMarked(r)) return true;
  return false;
}

int64_t TNTabEd::CountStateBits(uint8_t Mask) const {
  int64_t n = 0;
  for (int c = 1; c <= NrOfColumns(); ++c)
    for (int r = 1; r <= NrOfRows(); ++r) n += (FData->GetCellState(c, r) & Mask) != 0;
  return n;
}

int64_t TNTabEd::NrOfMarkedDataA() const { return CountStateBits(dtsMarkedA); }
int64_t TNTabEd::NrOfMarkedDataB() const { return CountStateBits(dtsMarkedB); }

void TNTabEd::UnMarkAllElems() {
  {
    TFlagScope busy(FBusy, true);
    for (int c = 1; c <= NrOfColumns(); ++c)
      for (int r = 1; r <= NrOfRows(); ++r)
        FData->SetCellState(c, r,
                            WithBits(FData->GetCellState(c, r), dtsMarkedA | dtsMarkedB, false));
  }
  Invalidate();
  ChangedCellStates();
}

void TNTabEd::MarkAllElemsA() { MarkCells(dtsMarkedA, true, msAll); }
void TNTabEd::MarkAllElemsB() { MarkCells(dtsMarkedB, true, msAll); }

// ---------------------------------------------------------------- sorting

#define QEL_NTABED_SORT(Call)               \
  do {                                      \
    HideEditor();                           \
    TFlagScope running(FSortRunning, true); \
    Call;                                   \
  } while (0)

void TNTabEd::SortCols(int KeyRow, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                       bool WithHeadings) {
  QEL_NTABED_SORT(
      FData->SortCols(KeyRow, Ascending, ColLow, RowLow, ColHigh, RowHigh, WithHeadings));
}

void TNTabEd::SortRows(int KeyCol, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                       bool WithHeadings) {
  QEL_NTABED_SORT(
      FData->SortRows(KeyCol, Ascending, ColLow, RowLow, ColHigh, RowHigh, WithHeadings));
}

void TNTabEd::SortColAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  QEL_NTABED_SORT(FData->SortColAttributes(Ascending, ColLow, RowLow, ColHigh, RowHigh));
}

void TNTabEd::SortRowAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  QEL_NTABED_SORT(FData->SortRowAttributes(Ascending, ColLow, RowLow, ColHigh, RowHigh));
}

void TNTabEd::SortColNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  SortColNames(Ascending, false, ColLow, RowLow, ColHigh, RowHigh);
}

void TNTabEd::SortColNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                           int RowHigh) {
  QEL_NTABED_SORT(FData->SortColNames(Ascending, CaseSensitive, ColLow, RowLow, ColHigh, RowHigh));
}

void TNTabEd::SortRowNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  SortRowNames(Ascending, false, ColLow, RowLow, ColHigh, RowHigh);
}

void TNTabEd::SortRowNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                           int RowHigh) {
  QEL_NTABED_SORT(FData->SortRowNames(Ascending, CaseSensitive, ColLow, RowLow, ColHigh, RowHigh));
}
#undef QEL_NTABED_SORT

// ---------------------------------------------------------------- marks over a scope

void TNTabEd::MarkCells(uint8_t Bit, bool Set, TMarkScope Scope) {
  TGridRect s = TableSelection();
  int c0 = s.Left, c1 = s.Right, r0 = s.Top, r1 = s.Bottom;
  if (Scope == msColumn || Scope == msAll) r0 = 1, r1 = NrOfRows();
  if (Scope == msRow || Scope == msAll) c0 = 1, c1 = NrOfColumns();
  c0 = std::max(c0, 1), r0 = std::max(r0, 1);
  c1 = std::min(c1, NrOfColumns()), r1 = std::min(r1, NrOfRows());
  {
    TFlagScope busy(FBusy, true);
    for (int c = c0; c <= c1; ++c)
      for (int r = r0; r <= r1; ++r)
        FData->SetCellState(c, r, WithBits(FData->GetCellState(c, r), Bit, Set));
  }
  Invalidate();
  ChangedCellStates();
}

}  // namespace qel

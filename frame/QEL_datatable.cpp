#include "frame/QEL_datatable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

#include "frame/QEL_dstruct.h"
#include "frame/QEL_stringl.h"

namespace qel {

const std::array<const char*, kMScaleTypeCount> MScaleTypeNames = {"undefined", "nominal",
                                                                   "ordinal", "interval", "ratio"};

namespace {
bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}
bool EqualIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}
}  // namespace

void TDataTable::DataChanged() {
  if (OnDataChanged) OnDataChanged(this);
}

void TDataTable::Resized(int OldCols, int OldRows) {
  if (OnDataResized) OnDataResized(this, OldCols, OldRows, NrOfColumns(), NrOfRows());
}

void TDataTable::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TDataTable*>(Source);
  if (src == nullptr) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  FValues = src->FValues;
  FStates = src->FStates;
  FColInfo = src->FColInfo;
  FRowInfo = src->FRowInfo;
  FComment = src->FComment;
  if (oldCols != NrOfColumns() || oldRows != NrOfRows()) Resized(oldCols, oldRows);
  if (OnSetupChanged) OnSetupChanged(this);
  DataChanged();
}

void TDataTable::Resize(int Cols, int Rows) {
  Cols = std::max(Cols, 0);
  Rows = std::max(Rows, 0);
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  if (Cols == oldCols && Rows == oldRows) return;
  FValues.Resize(Cols, Rows);
  try {
    FStates.Resize(Cols, Rows);
    FColInfo.resize(Cols);
    FRowInfo.resize(Rows);
  } catch (...) {
    FValues.Resize(oldCols, oldRows);
    FStates.Resize(oldCols, oldRows);
    FColInfo.resize(oldCols);
    FRowInfo.resize(oldRows);
    throw EOutOfMemory("Not enough memory for a data table of " + std::to_string(Cols) + " x " +
                       std::to_string(Rows));
  }
  Resized(oldCols, oldRows);
}

void TDataTable::Clear() {
  FValues.Fill(0);
  FStates.Fill(dtsEmpty);
  for (auto& c : FColInfo) {
    c.Name.clear();
    c.Attrib = 0;
  }
  for (auto& r : FRowInfo) r = TRowInfo();
  DataChanged();
}

void TDataTable::SetElem(int Col, int Row, double Value) {
  if (!FValues.InRange(Col, Row) || SameBits(FValues.At(Col, Row), Value)) return;
  FValues.At(Col, Row) = Value;
  DataChanged();
}

bool TDataTable::GetIsNumber(int Col, int Row) const {
  return FValues.InRange(Col, Row) && (FStates.At(Col, Row) & (dtsNoNumber | dtsEmpty)) == 0;
}

std::string TDataTable::GetColName(int Col) const {
  return Col >= 1 && Col <= NrOfColumns() ? FColInfo[Col - 1].Name : std::string();
}
void TDataTable::SetColName(int Col, std::string_view Name) {
  if (Col >= 1 && Col <= NrOfColumns()) FColInfo[Col - 1].Name = Utf8Left(Name, kMaxLineNameChars);
}
std::string TDataTable::GetRowName(int Row) const {
  return Row >= 1 && Row <= NrOfRows() ? FRowInfo[Row - 1].Name : std::string();
}
void TDataTable::SetRowName(int Row, std::string_view Name) {
  if (Row >= 1 && Row <= NrOfRows()) FRowInfo[Row - 1].Name = Utf8Left(Name, kMaxLineNameChars);
}
uint8_t TDataTable::GetColAttrib(int Col) const {
  return Col >= 1 && Col <= NrOfColumns() ? FColInfo[Col - 1].Attrib : 0;
}
void TDataTable::SetColAttrib(int Col, uint8_t Attrib) {
  if (Col >= 1 && Col <= NrOfColumns()) FColInfo[Col - 1].Attrib = Attrib;
}
uint8_t TDataTable::GetRowAttrib(int Row) const {
  return Row >= 1 && Row <= NrOfRows() ? FRowInfo[Row - 1].Attrib : 0;
}
void TDataTable::SetRowAttrib(int Row, uint8_t Attrib) {
  if (Row >= 1 && Row <= NrOfRows()) FRowInfo[Row - 1].Attrib = Attrib;
}

int TDataTable::FindColIndex(std::string_view Name) const {
  for (size_t i = 0; i < FColInfo.size(); ++i)
    if (FColInfo[i].Name == Name) return static_cast<int>(i) + 1;
  return 0;
}
int TDataTable::FindRowIndex(std::string_view Name) const {
  for (size_t i = 0; i < FRowInfo.size(); ++i)
    if (FRowInfo[i].Name == Name) return static_cast<int>(i) + 1;
  return 0;
}

void TDataTable::InvertCellStates(uint8_t Mask) {
  for (int c = 1; c <= NrOfColumns(); ++c)
    for (int r = 1; r <= NrOfRows(); ++r) FStates.At(c, r) ^= Mask;
  DataChanged();
}

void TDataTable::UnmarkAllCells() {
  for (int c = 1; c <= NrOfColumns(); ++c)
    for (int r = 1; r <= NrOfRows(); ++r) FStates.At(c, r) &= ~(dtsMarkedA | dtsMarkedB);
  DataChanged();
}

void TDataTable::ExchangeMarkings() {
  for (int c = 1; c <= NrOfColumns(); ++c)
    for (int r = 1; r <= NrOfRows(); ++r) {
      uint8_t& s = FStates.At(c, r);
      const uint8_t a = s & dtsMarkedA, b = s & dtsMarkedB;
      s = static_cast<uint8_t>((s & ~(dtsMarkedA | dtsMarkedB)) | (a ? dtsMarkedB : 0) |
                               (b ? dtsMarkedA : 0));
    }
  DataChanged();
}

void TDataTable::FillMarkedCells(double Value, uint8_t Mask) {
  for (int c = 1; c <= NrOfColumns(); ++c)
    for (int r = 1; r <= NrOfRows(); ++r)
      if (FStates.At(c, r) & Mask) {
        FValues.At(c, r) = Value;
        FStates.At(c, r) &= ~(dtsNoNumber | dtsEmpty);
      }
  DataChanged();
}

void TDataTable::InsertColumn(int Col) {
  if (Col < 1 || Col > NrOfColumns() + 1) return;
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  FValues.InsertColumn(Col);
  FStates.InsertColumn(Col);
  FColInfo.insert(FColInfo.begin() + (Col - 1), TColInfo());
  Resized(oldCols, oldRows);
  DataChanged();
}

void TDataTable::InsertRow(int Row) {
  if (Row < 1 || Row > NrOfRows() + 1) return;
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  FValues.InsertRow(Row);
  FStates.InsertRow(Row);
  FRowInfo.insert(FRowInfo.begin() + (Row - 1), TRowInfo());
  Resized(oldCols, oldRows);
  DataChanged();
}

void TDataTable::RemoveColumn(int Col) {
  if (Col < 1 || Col > NrOfColumns()) return;
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  FValues.RemoveColumn(Col);
  FStates.RemoveColumn(Col);
  FColInfo.erase(FColInfo.begin() + (Col - 1));
  Resized(oldCols, oldRows);
  DataChanged();
}

void TDataTable::RemoveRow(int Row) {
  if (Row < 1 || Row > NrOfRows()) return;
  const int oldCols = NrOfColumns(), oldRows = NrOfRows();
  FValues.RemoveRow(Row);
  FStates.RemoveRow(Row);
  FRowInfo.erase(FRowInfo.begin() + (Row - 1));
  Resized(oldCols, oldRows);
  DataChanged();
}

void TDataTable::MirrorColumns() {
  const int n = NrOfColumns();
  for (int i = 1; i <= n / 2; ++i) {
    FValues.ExchangeColumns(i, n + 1 - i);
    FStates.ExchangeColumns(i, n + 1 - i);
  }
  std::reverse(FColInfo.begin(), FColInfo.end());
  Resized(n, NrOfRows());
  DataChanged();
}

void TDataTable::MirrorRows() {
  const int n = NrOfRows();
  for (int i = 1; i <= n / 2; ++i) {
    FValues.ExchangeRows(i, n + 1 - i);
    FStates.ExchangeRows(i, n + 1 - i);
  }
  std::reverse(FRowInfo.begin(), FRowInfo.end());
  Resized(NrOfColumns(), n);
  DataChanged();
}

uint8_t TDataTable::GetMScaleType(int Col) const {
  return Col >= 1 && Col <= NrOfColumns() ? FColInfo[Col - 1].ScaleType : 0;
}

void TDataTable::SetMScaleType(int Col, uint8_t ScaleType) {
  if (Col < 1 || Col > NrOfColumns() || ScaleType >= kMScaleTypeCount) return;
  if (FColInfo[Col - 1].ScaleType == ScaleType) return;
  FColInfo[Col - 1].ScaleType = ScaleType;
  if (OnSetupChanged) OnSetupChanged(this);
}

std::string TDataTable::GetNominalID(int Col, int Value) const {
  if (Col < 1 || Col > NrOfColumns() || Value < 1 || Value > kMaxNominalValue) return {};
  const auto& ids = FColInfo[Col - 1].NominalIDs;
  return ids.empty() ? std::string() : ids[Value];
}

void TDataTable::SetNominalID(int Col, int Value, std::string_view ID) {
  if (Col < 1 || Col > NrOfColumns() || Value < 1 || Value > kMaxNominalValue) return;
  auto& ids = FColInfo[Col - 1].NominalIDs;
  const std::string text = Utf8Left(ID, kMaxNominalIDChars);
  if (ids.empty()) {
    if (text.empty()) return;
    ids.resize(kMaxNominalValue + 1);
  }
  if (ids[Value] == text) return;
  ids[Value] = text;
  if (OnSetupChanged) OnSetupChanged(this);
}

int TDataTable::OrdinalOfNominalID(int Col, std::string_view Text, bool IgnoreCase) const {
  if (Col < 1 || Col > NrOfColumns()) return 0;
  const auto& ids = FColInfo[Col - 1].NominalIDs;
  const std::string_view t = Trim(Text);
  if (ids.empty() || t.empty()) return 0;
  for (int v = 1; v <= kMaxNominalValue; ++v) {
    const std::string_view id = Trim(ids[v]);
    if (id.empty()) continue;
    if (IgnoreCase ? EqualIgnoreCase(id, t) : id == t) return v;
  }
  return 0;
}

// ---------------------------------------------------------------- sorting

bool TDataTable::ClampRange(int& ColLow, int& RowLow, int& ColHigh, int& RowHigh) const {
  ColLow = std::max(ColLow, 1);
  RowLow = std::max(RowLow, 1);
  ColHigh = std::min(ColHigh, NrOfColumns());
  RowHigh = std::min(RowHigh, NrOfRows());
  return ColLow <= ColHigh && RowLow <= RowHigh;
}

void TDataTable::ExchangeLines(bool Columns, int A, int B, int OtherLow, int OtherHigh,
                               bool WithHeadings) {
  if (Columns) {
    for (int r = OtherLow; r <= OtherHigh; ++r) {
      std::swap(FValues.At(A, r), FValues.At(B, r));
      std::swap(FStates.At(A, r), FStates.At(B, r));
    }
    if (WithHeadings) std::swap(FColInfo[A - 1], FColInfo[B - 1]);
  } else {
    for (int c = OtherLow; c <= OtherHigh; ++c) {
      std::swap(FValues.At(c, A), FValues.At(c, B));
      std::swap(FStates.At(c, A), FStates.At(c, B));
    }
    if (WithHeadings) std::swap(FRowInfo[A - 1], FRowInfo[B - 1]);
  }
  if (OnSortExchange)
    OnSortExchange(this, Columns ? kExchangeColumns : kExchangeRows, A, B, OtherLow, OtherHigh);
}

void TDataTable::ApplyPermutation(bool Columns, int Low, const std::vector<int>& Perm, int OtherLow,
                                  int OtherHigh, bool WithHeadings) {
  const int m = static_cast<int>(Perm.size());
  std::vector<int> at(m), where(m);  // at[position] = original line, where[line] = position
  std::iota(at.begin(), at.end(), 0);
  std::iota(where.begin(), where.end(), 0);
  const int step = std::max(m / 100, 1);
  for (int k = 0; k < m; ++k) {
    const int j = where[Perm[k] - Low];
    if (j != k) {
      ExchangeLines(Columns, Low + k, Low + j, OtherLow, OtherHigh, WithHeadings);
      std::swap(at[k], at[j]);
      where[at[k]] = k;
      where[at[j]] = j;
    }
    if (OnPercentDone && (k + 1) % step == 0 && k + 1 < m) OnPercentDone(this, (k + 1) * 100 / m);
  }
}

template <class Less>
void TDataTable::SortLines(bool Columns, int Low, int High, int OtherLow, int OtherHigh,
                           bool WithHeadings, Less less) {
  if (OnPercentDone) OnPercentDone(this, 0);
  std::vector<int> perm(High - Low + 1);
  std::iota(perm.begin(), perm.end(), Low);
  std::stable_sort(perm.begin(), perm.end(), less);
  ApplyPermutation(Columns, Low, perm, OtherLow, OtherHigh, WithHeadings);
  if (OnPercentDone) OnPercentDone(this, 100);
  DataChanged();
}

namespace {
// Numbers first, by value in the asked direction; cells without a number after them in
// their old order.
struct TValueLess {
  std::vector<double> Value;
  std::vector<char> IsNumber;
  int Low;
  bool Ascending;
  bool operator()(int a, int b) const {
    const bool na = IsNumber[a - Low], nb = IsNumber[b - Low];
    if (na && nb)
      return Ascending ? Value[a - Low] < Value[b - Low] : Value[b - Low] < Value[a - Low];
    return na && !nb;
  }
};
int CompareNames(const std::string& a, const std::string& b, bool CaseSensitive) {
  return CaseSensitive ? a.compare(b) : CompareSortCells(a, b);
}
}  // namespace

void TDataTable::SortCols(int KeyRow, bool Ascending, int ColLow, int RowLow, int ColHigh,
                          int RowHigh, bool WithHeadings) {
  if (KeyRow < 1 || KeyRow > NrOfRows() || !ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  TValueLess less{{}, {}, ColLow, Ascending};
  for (int c = ColLow; c <= ColHigh; ++c) {
    less.Value.push_back(FValues.At(c, KeyRow));
    less.IsNumber.push_back(GetIsNumber(c, KeyRow) && !std::isnan(FValues.At(c, KeyRow)));
  }
  SortLines(true, ColLow, ColHigh, RowLow, RowHigh, WithHeadings, less);
}

void TDataTable::SortRows(int KeyCol, bool Ascending, int ColLow, int RowLow, int ColHigh,
                          int RowHigh, bool WithHeadings) {
  if (KeyCol < 1 || KeyCol > NrOfColumns() || !ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  TValueLess less{{}, {}, RowLow, Ascending};
  for (int r = RowLow; r <= RowHigh; ++r) {
    less.Value.push_back(FValues.At(KeyCol, r));
    less.IsNumber.push_back(GetIsNumber(KeyCol, r) && !std::isnan(FValues.At(KeyCol, r)));
  }
  SortLines(false, RowLow, RowHigh, ColLow, ColHigh, WithHeadings, less);
}

void TDataTable::SortColAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh,
                                   int RowHigh) {
  if (!ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  std::vector<uint8_t> key;
  for (int c = ColLow; c <= ColHigh; ++c) key.push_back(FColInfo[c - 1].Attrib);
  SortLines(true, ColLow, ColHigh, RowLow, RowHigh, true, [&](int a, int b) {
    return Ascending ? key[a - ColLow] < key[b - ColLow] : key[b - ColLow] < key[a - ColLow];
  });
}

void TDataTable::SortRowAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh,
                                   int RowHigh) {
  if (!ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  std::vector<uint8_t> key;
  for (int r = RowLow; r <= RowHigh; ++r) key.push_back(FRowInfo[r - 1].Attrib);
  SortLines(false, RowLow, RowHigh, ColLow, ColHigh, true, [&](int a, int b) {
    return Ascending ? key[a - RowLow] < key[b - RowLow] : key[b - RowLow] < key[a - RowLow];
  });
}

void TDataTable::SortColNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow,
                              int ColHigh, int RowHigh) {
  if (!ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  std::vector<std::string> key;
  for (int c = ColLow; c <= ColHigh; ++c) key.push_back(FColInfo[c - 1].Name);
  SortLines(true, ColLow, ColHigh, RowLow, RowHigh, true, [&](int a, int b) {
    const int c = CompareNames(key[a - ColLow], key[b - ColLow], CaseSensitive);
    return Ascending ? c < 0 : c > 0;
  });
}

void TDataTable::SortRowNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow,
                              int ColHigh, int RowHigh) {
  if (!ClampRange(ColLow, RowLow, ColHigh, RowHigh)) return;
  std::vector<std::string> key;
  for (int r = RowLow; r <= RowHigh; ++r) key.push_back(FRowInfo[r - 1].Name);
  SortLines(false, RowLow, RowHigh, ColLow, ColHigh, true, [&](int a, int b) {
    const int c = CompareNames(key[a - RowLow], key[b - RowLow], CaseSensitive);
    return Ascending ? c < 0 : c > 0;
  });
}

}  // namespace qel

#include "frame/QEL_dstruct.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "frame/QEL_stringl.h"

namespace qel {

// ---------------------------------------------------------------- cell comparison

bool ReadSortNumber(std::string_view Text, double& Value) {
  size_t b = 0, e = Text.size();
  while (b < e && (Text[b] == ' ' || Text[b] == '\t')) ++b;
  while (e > b && (Text[e - 1] == ' ' || Text[e - 1] == '\t')) --e;
  if (b == e) return false;
  size_t m = b;  // the first mantissa character
  if (Text[b] == '+')
    m = ++b;  // from_chars takes "-" but not "+"
  else if (Text[b] == '-')
    m = b + 1;
  if (m >= e || !((Text[m] >= '0' && Text[m] <= '9') || Text[m] == '.')) return false;
  const char* first = Text.data() + b;
  const char* last = Text.data() + e;
  double v = 0;
  const auto r = std::from_chars(first, last, v, std::chars_format::general);
  if (r.ptr != last) return false;
  if (r.ec == std::errc::result_out_of_range) {
    // Beyond the double range: strtod gives the saturated value (or 0 for underflow).
    v = std::strtod(std::string(first, last).c_str(), nullptr);
  } else if (r.ec != std::errc()) {
    return false;
  }
  Value = v;
  return true;
}

namespace {

// Folds ASCII capitals and the Latin-1 capitals (UTF-8 C3 80..C3 9E but the multiplication
// sign) to small letters; Text[I] is looked at with its lead byte.
inline unsigned char FoldAt(std::string_view Text, size_t I) {
  const auto c = static_cast<unsigned char>(Text[I]);
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c >= 0x80 && c <= 0x9E && c != 0x97 && I > 0 &&
      static_cast<unsigned char>(Text[I - 1]) == 0xC3)
    return c + 0x20;
  return c;
}

int CompareTextCI(std::string_view A, std::string_view B) {
  const size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    if (A[i] == B[i]) continue;
    const unsigned char a = FoldAt(A, i), b = FoldAt(B, i);
    if (a != b) return a < b ? -1 : 1;
  }
  return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

struct TSortKey {
  std::string_view Text;
  double Number = 0;
  bool IsNumber = false;
};

inline TSortKey MakeKey(std::string_view Text) {
  TSortKey k;
  k.Text = Text;
  k.IsNumber = ReadSortNumber(Text, k.Number);
  return k;
}

inline int CompareKeys(const TSortKey& A, const TSortKey& B) {
  if (A.IsNumber && B.IsNumber) return A.Number < B.Number ? -1 : (B.Number < A.Number ? 1 : 0);
  if (A.IsNumber) return -1;
  if (B.IsNumber) return 1;
  return CompareTextCI(A.Text, B.Text);
}

}  // namespace

int CompareSortCells(std::string_view A, std::string_view B) {
  return CompareKeys(MakeKey(A), MakeKey(B));
}

// ---------------------------------------------------------------- TShortCell

TShortCell::TShortCell(const TShortCell& Other) {
  FData[kTag] = 0;
  Assign(Other.View());
}

TShortCell::TShortCell(TShortCell&& Other) noexcept {
  std::memcpy(FData, Other.FData, sizeof FData);
  Other.FData[kTag] = 0;
}

TShortCell& TShortCell::operator=(const TShortCell& Other) {
  if (this != &Other) Assign(Other.View());
  return *this;
}

TShortCell& TShortCell::operator=(TShortCell&& Other) noexcept {
  if (this != &Other) {
    Release();
    std::memcpy(FData, Other.FData, sizeof FData);
    Other.FData[kTag] = 0;
  }
  return *this;
}

void TShortCell::Release() noexcept {
  if (FData[kTag] == kHeap) {
    char* p;
    std::memcpy(&p, FData, sizeof p);
    delete[] p;
  }
  FData[kTag] = 0;
}

std::string_view TShortCell::View() const {
  if (FData[kTag] != kHeap) return {reinterpret_cast<const char*>(FData), FData[kTag]};
  const char* p;
  uint16_t len;
  std::memcpy(&p, FData, sizeof p);
  std::memcpy(&len, FData + sizeof p, sizeof len);
  return {p, len};
}

void TShortCell::Assign(std::string_view Text) {
  if (Text.size() < kTag) {
    // Text may be a piece of this very cell, even of its heap block: copy before releasing.
    // An empty view may carry a null pointer, which memcpy must not see even for no bytes.
    unsigned char copy[kTag];
    if (!Text.empty()) std::memcpy(copy, Text.data(), Text.size());
    Release();
    std::memcpy(FData, copy, Text.size());
    FData[kTag] = static_cast<unsigned char>(Text.size());
    return;
  }
  // Allocate before releasing, so a failed allocation leaves the old text.
  const auto len = static_cast<uint16_t>(std::min<size_t>(Text.size(), 65535));
  char* p = new char[len];
  std::memcpy(p, Text.data(), len);
  Release();
  std::memcpy(FData, &p, sizeof p);
  std::memcpy(FData + sizeof p, &len, sizeof len);
  FData[kTag] = kHeap;
}

// ---------------------------------------------------------------- TStringArray

void TStringArray::Changed() {
  if (OnChange) OnChange(this);
}

size_t TStringArray::Capacity(size_t Needed) const {
  const size_t step = static_cast<size_t>(FAllocRowsBy);
  return (Needed + step - 1) / step * step;
}

std::vector<TShortCell>& TStringArray::Materialize(int Col) {
  auto& column = FCells[Col];
  if (column.empty()) {
    std::vector<TShortCell> fresh;
    fresh.reserve(Capacity(static_cast<size_t>(FNrRows) + 1));
    fresh.resize(static_cast<size_t>(FNrRows) + 1);
    column.swap(fresh);
  }
  return column;
}

void TStringArray::Assign(const TStringArray& Source) {
  if (&Source == this) return;
  FCells = Source.FCells;
  FColAttr = Source.FColAttr;
  FRowAttr = Source.FRowAttr;
  FOrder = Source.FOrder;
  FRank = Source.FRank;
  FNrCols = Source.FNrCols;
  FNrRows = Source.FNrRows;
  FAllocRowsBy = Source.FAllocRowsBy;
  Changed();
}

void TStringArray::Resize(int Cols, int Rows) {
  Cols = std::clamp(Cols, 0, std::numeric_limits<int>::max() - 1);
  Rows = std::clamp(Rows, 0, std::numeric_limits<int>::max() - 1);
  if (Cols == FNrCols && Rows == FNrRows) return;
  if (Rows != FNrRows) CommitSorting();
  const size_t rowsNeeded = static_cast<size_t>(Rows) + 1;
  try {
    // Everything that can fail happens before the first change, so a failure keeps the size.
    for (int c = 0; c <= std::min(Cols, FNrCols); ++c)
      if (!FCells[c].empty() && FCells[c].capacity() < rowsNeeded)
        FCells[c].reserve(Capacity(rowsNeeded));
    FRowAttr.reserve(rowsNeeded);
    FCells.reserve(static_cast<size_t>(Cols) + 1);
    FColAttr.reserve(static_cast<size_t>(Cols) + 1);
  } catch (const std::bad_alloc&) {
    throw EQELDStructError("TStringArray: not enough memory for " + std::to_string(Cols) + " x " +
                           std::to_string(Rows) + " cells");
  }
  FCells.resize(static_cast<size_t>(Cols) + 1);
  FColAttr.resize(static_cast<size_t>(Cols) + 1);
  for (auto& column : FCells) {
    if (column.empty()) continue;
    column.resize(rowsNeeded);
    if (column.capacity() > Capacity(rowsNeeded) + FAllocRowsBy) column.shrink_to_fit();
  }
  FRowAttr.resize(rowsNeeded);
  FNrCols = Cols;
  FNrRows = Rows;
  Changed();
}

void TStringArray::Clear() {
  for (auto& column : FCells) std::vector<TShortCell>().swap(column);
  std::fill(FColAttr.begin(), FColAttr.end(), 0);
  std::fill(FRowAttr.begin(), FRowAttr.end(), 0);
  FOrder.clear();
  FRank.clear();
  Changed();
}

std::string_view TStringArray::GetStringView(int Col, int Row) const {
  if (!ValidCol(Col) || !ValidRow(Row)) return {};
  const auto& column = FCells[Col];
  if (column.empty()) return {};
  return column[Stored(Row)].View();
}

void TStringArray::SetString(int Col, int Row, std::string_view Text) {
  if (!ValidCol(Col) || !ValidRow(Row)) return;
  std::string cut;
  if (Text.size() > static_cast<size_t>(kMaxCellChars)) {
    cut = Utf8Left(Text, kMaxCellChars);  // only texts above 255 bytes can be too long
    Text = cut;
  }
  if (GetStringView(Col, Row) == Text) return;
  if (Text.empty() && FCells[Col].empty()) return;
  Materialize(Col)[Stored(Row)].Assign(Text);
  Changed();
}

void TStringArray::InsertColumn(int Col) {
  if (Col < 1 || Col > FNrCols + 1) return;
  FCells.insert(FCells.begin() + Col, std::vector<TShortCell>());
  FColAttr.insert(FColAttr.begin() + Col, 0);
  ++FNrCols;
  Changed();
}

void TStringArray::InsertRow(int Row) {
  if (Row < 1 || Row > FNrRows + 1 || FNrRows == std::numeric_limits<int>::max() - 1) return;
  CommitSorting();
  for (auto& column : FCells)
    if (!column.empty()) column.insert(column.begin() + Row, TShortCell());
  FRowAttr.insert(FRowAttr.begin() + Row, 0);
  ++FNrRows;
  Changed();
}

void TStringArray::RemoveColumn(int Col) {
  if (Col < 1 || Col > FNrCols) return;
  FCells.erase(FCells.begin() + Col);
  FColAttr.erase(FColAttr.begin() + Col);
  --FNrCols;
  Changed();
}

void TStringArray::RemoveRow(int Row) {
  if (Row < 1 || Row > FNrRows) return;
  CommitSorting();
  for (auto& column : FCells)
    if (!column.empty()) column.erase(column.begin() + Row);
  FRowAttr.erase(FRowAttr.begin() + Row);
  --FNrRows;
  Changed();
}

uint8_t TStringArray::GetColAttrib(int Col) const { return ValidCol(Col) ? FColAttr[Col] : 0; }

void TStringArray::SetColAttrib(int Col, uint8_t Attrib) {
  if (!ValidCol(Col) || FColAttr[Col] == Attrib) return;
  FColAttr[Col] = Attrib;
  Changed();
}

uint8_t TStringArray::GetRowAttrib(int Row) const {
  return ValidRow(Row) ? FRowAttr[Stored(Row)] : 0;
}

void TStringArray::SetRowAttrib(int Row, uint8_t Attrib) {
  if (!ValidRow(Row) || FRowAttr[Stored(Row)] == Attrib) return;
  FRowAttr[Stored(Row)] = Attrib;
  Changed();
}

void TStringArray::EnsureOrder() {
  if (!FOrder.empty()) return;
  FOrder.resize(static_cast<size_t>(FNrRows) + 1);
  for (int i = 0; i <= FNrRows; ++i) FOrder[i] = i;
  FRank = FOrder;
}

namespace {

// A cell reduced once per sort to what orders it, so that a comparison is mostly one integer
// comparison: numbers as their value's bits in an order-preserving form, texts case-folded with
// their first eight bytes packed big-endian into Head (the rest in a shared arena). Comparing
// two keys gives the same result as CompareSortCells on the two texts: folding depends only
// on the byte and its predecessor, and a byte folds to 0xC3 only when it is 0xC3, so comparing
// folded texts bytewise is the same as folding while comparing.
struct TCellKey {
  uint64_t Head = 0;
  uint32_t Row = 0;
  uint16_t Len = 0;     // folded text bytes (a cell holds at most 65535)
  uint8_t IsText = 0;   // numbers (0) come before texts (1)
};
static_assert(sizeof(TCellKey) == 16);

class TCellKeys {
 public:
  // Keys of rows 1..N of Column (empty: every cell empty), indexed by stored row.
  void Build(const std::vector<TShortCell>& Column, size_t N) {
    FKeys.assign(N + 1, TCellKey{});
    FTailAt.assign(N + 1, 0);
    for (size_t r = 0; r <= N; ++r) FKeys[r].Row = static_cast<uint32_t>(r), FKeys[r].IsText = 1;
    if (Column.empty()) return;
    for (size_t r = 1; r <= N; ++r) {
      const std::string_view text = Column[r].View();
      TCellKey& k = FKeys[r];
      double v;
      if (ReadSortNumber(text, v)) {
        if (v == 0) v = 0;  // -0 equals 0
        const uint64_t bits = std::bit_cast<uint64_t>(v);
        k.Head = bits >> 63 ? ~bits : bits | (uint64_t{1} << 63);
        k.IsText = 0;
        continue;
      }
      k.Len = static_cast<uint16_t>(text.size());
      uint64_t head = 0;
      for (size_t i = 0; i < 8; ++i) head = head << 8 | (i < text.size() ? FoldAt(text, i) : 0);
      k.Head = head;
      if (text.size() > 8) {
        FTailAt[r] = FTails.size();
        for (size_t i = 8; i < text.size(); ++i) FTails += static_cast<char>(FoldAt(text, i));
      }
    }
  }
  const TCellKey& operator[](size_t Row) const { return FKeys[Row]; }
  std::vector<TCellKey>& Keys() { return FKeys; }

  int Compare(const TCellKey& A, const TCellKey& B) const {
    if (A.IsText != B.IsText) return A.IsText < B.IsText ? -1 : 1;
    if (A.Head != B.Head) return A.Head < B.Head ? -1 : 1;
    if (!A.IsText) return 0;
    // Equal heads: the shorter text is a prefix of the other within the first eight bytes
    // (padding is zero, as the longer text's bytes then are).
    const size_t tail = std::min(A.Len, B.Len);
    if (tail > 8) {
      const int c = std::memcmp(FTails.data() + FTailAt[A.Row], FTails.data() + FTailAt[B.Row],
                                tail - 8);
      if (c != 0) return c < 0 ? -1 : 1;
    }
    return A.Len < B.Len ? -1 : (A.Len > B.Len ? 1 : 0);
  }

 private:
  std::vector<TCellKey> FKeys;
  std::vector<size_t> FTailAt;  // where a row's folded bytes beyond the eighth start in FTails
  std::string FTails;
};

}  // namespace

void TStringArray::Sort(int ColPrim, int ColSec, bool Ascending) {
  if (!ValidCol(ColPrim)) return;
  if (!ValidCol(ColSec) || ColSec == ColPrim) ColSec = -1;
  if (OnPercentDone) OnPercentDone(this, 0);
  const size_t n = static_cast<size_t>(FNrRows);
  std::vector<int> order(n + 1);
  order[0] = 0;
  if (OnBeforeSortExchange) {
    // The handler sees the texts of each comparison, so nothing can be prepared beforehand.
    for (size_t i = 0; i <= n; ++i) order[i] = static_cast<int>(i);
    auto textOf = [&](int col, int row) {
      return FCells[col].empty() ? std::string_view() : FCells[col][row].View();
    };
    auto cmpHook = [&](int col, int a, int b) {
      std::string ta(textOf(col, a)), tb(textOf(col, b));
      OnBeforeSortExchange(this, ta, tb);
      return CompareSortCells(ta, tb);
    };
    const int sign = Ascending ? 1 : -1;
    std::stable_sort(order.begin() + 1, order.end(), [&](int a, int b) {
      int c = cmpHook(ColPrim, a, b);
      if (c == 0 && ColSec >= 0) c = cmpHook(ColSec, a, b);
      return sign * c < 0;
    });
  } else {
    // Keys are made once per row and sorted themselves, in stored order to start with, so the
    // stable sort keeps equal rows in that order.
    TCellKeys prim, sec;
    prim.Build(FCells[ColPrim], n);
    if (ColSec >= 0) sec.Build(FCells[ColSec], n);
    auto cmp = [&](const TCellKey& a, const TCellKey& b) {
      int c = prim.Compare(a, b);
      if (c == 0 && ColSec >= 0) c = sec.Compare(sec[a.Row], sec[b.Row]);
      return c;
    };
    std::vector<TCellKey>& keys = prim.Keys();
    if (Ascending)
      std::stable_sort(keys.begin() + 1, keys.end(),
                       [&](const TCellKey& a, const TCellKey& b) { return cmp(a, b) < 0; });
    else
      std::stable_sort(keys.begin() + 1, keys.end(),
                       [&](const TCellKey& a, const TCellKey& b) { return cmp(a, b) > 0; });
    for (size_t i = 1; i <= n; ++i) order[i] = static_cast<int>(keys[i].Row);
  }
  FRank.assign(n + 1, 0);
  for (size_t i = 0; i <= n; ++i) FRank[order[i]] = static_cast<int>(i);
  FOrder = std::move(order);
  if (OnPercentDone) OnPercentDone(this, 100);
  Changed();
}

void TStringArray::UnSort() {
  if (FOrder.empty()) return;
  FOrder.clear();
  FRank.clear();
  Changed();
}

void TStringArray::CommitSorting() {
  if (FOrder.empty()) return;
  // The shown content stays the same, so no change is reported.
  for (auto& column : FCells) {
    if (column.empty()) continue;
    std::vector<TShortCell> moved;
    moved.reserve(column.capacity());
    for (int r = 0; r <= FNrRows; ++r) moved.push_back(std::move(column[FOrder[r]]));
    column.swap(moved);
  }
  std::vector<uint8_t> attr(FRowAttr.size());
  for (int r = 0; r <= FNrRows; ++r) attr[r] = FRowAttr[FOrder[r]];
  FRowAttr.swap(attr);
  FOrder.clear();
  FRank.clear();
}

int TStringArray::GetSortOrder(int Row) const {
  if (Row < 1 || Row > FNrRows) return 0;
  return Stored(Row);
}

void TStringArray::SetSortOrder(int Row, int StoredRow) {
  if (Row < 1 || Row > FNrRows || StoredRow < 1 || StoredRow > FNrRows) return;
  if (Stored(Row) == StoredRow) return;
  EnsureOrder();
  const int other = FRank[StoredRow];
  std::swap(FOrder[Row], FOrder[other]);
  FRank[FOrder[Row]] = Row;
  FRank[FOrder[other]] = other;
  Changed();
}

// ---------------------------------------------------------------- TBitFld

void TBitFld::SetSize(int Size) {
  if (Size < 0) Size = 0;
  FWords.resize((static_cast<size_t>(Size) + 63) / 64);
  if (Size % 64 != 0 && !FWords.empty()) FWords.back() &= (uint64_t{1} << (Size % 64)) - 1;
  FSize = Size;
}

void TBitFld::Clear() { std::fill(FWords.begin(), FWords.end(), 0); }

bool TBitFld::GetBit(int Index) const {
  if (Index < 0 || Index >= FSize) return false;
  return (FWords[Index / 64] >> (Index % 64)) & 1u;
}

void TBitFld::SetBit(int Index, bool Value) {
  if (Index < 0 || Index >= FSize) return;
  const uint64_t bit = uint64_t{1} << (Index % 64);
  if (Value)
    FWords[Index / 64] |= bit;
  else
    FWords[Index / 64] &= ~bit;
}

int TBitFld::CountTrueBits() const {
  int n = 0;
  for (uint64_t w : FWords) n += std::popcount(w);
  return n;
}

int TBitFld::FirstTrueBit() const {
  for (size_t i = 0; i < FWords.size(); ++i)
    if (FWords[i] != 0) return static_cast<int>(i * 64) + std::countr_zero(FWords[i]);
  return -1;
}

}  // namespace qel

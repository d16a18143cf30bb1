#pragma once
// Data structures of the foundation package: the string matrix TStringArray and the bit field
// TBitFld.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/QEL_errors.h"
#include "frame/QEL_qelbase.h"
#include "platform/rtl/Classes.h"

namespace qel {

// The longest cell text in characters (code points).
inline constexpr int kMaxCellChars = 255;

// Called by TStringArray::Sort before it compares two cells, with the two texts it is about to
// compare; the handler may replace either by the key it wants them sorted by (a date turned
// into "2024-05-03", say). Texts left alone sort as they are. The cells keep their texts.
using TBeforeSortExchgEvent =
    std::function<void(TObject* Sender, std::string& Text1, std::string& Text2)>;

// Reads a cell as a number for sorting: the whole text, apart from leading and trailing blanks,
// must be a decimal number (optional sign, digits with an optional "." and fraction, optional
// exponent). "inf", "nan", hexadecimal and "1,5" are texts.
bool ReadSortNumber(std::string_view Text, double& Value);
// The sorting order of two cells (< 0, 0, > 0): two numbers compare by value; a number comes
// before a text; two texts compare case-insensitively (ASCII and Latin-1 letters folded).
int CompareSortCells(std::string_view A, std::string_view B);

// One cell: texts up to 15 bytes live inside the 16-byte cell, longer ones on the heap.
class TShortCell {
 public:
  TShortCell() { FData[kTag] = 0; }
  TShortCell(const TShortCell& Other);
  TShortCell(TShortCell&& Other) noexcept;
  TShortCell& operator=(const TShortCell& Other);
  TShortCell& operator=(TShortCell&& Other) noexcept;
  ~TShortCell() { Release(); }

  std::string_view View() const;
  void Assign(std::string_view Text);  // Text must be at most 65535 bytes
  bool Empty() const { return FData[kTag] == 0; }

 private:
  static constexpr int kTag = 15;
  static constexpr unsigned char kHeap = 0xFF;
  void Release() noexcept;
  alignas(8) unsigned char FData[16];
};
static_assert(sizeof(TShortCell) == 16);

// A matrix of short texts (at most 255 characters each) with columns 0..NrOfColumns and rows
// 0..NrOfRows: column 0 and row 0 hold labels beside the 1-based data. Each row and each
// column has an attribute byte. Rows are addressed through a sort-order index: Sort arranges the
// index, not the stored rows, so a row's cells and attribute byte always travel together;
// UnSort returns to the stored order and CommitSorting makes the sorted order the stored one.
// Out-of-range indices are ignored by setters and read as "" or 0 by getters.
//
// Storage: a column that never held a non-empty text costs nothing; the others hold one
// 16-byte cell per row.
class TStringArray : public TObject {
 public:
  TStringArray() = default;
  TStringArray(int Cols, int Rows) { Resize(Cols, Rows); }
  std::string ClassName() const override { return "TStringArray"; }

  // Copies cells, attributes, the sort-order index and the allocation step; not the events.
  void Assign(const TStringArray& Source);

  int NrOfColumns() const { return FNrCols; }
  int NrOfRows() const { return FNrRows; }

  // Keeps the cells that still fit; new cells are empty, new attributes 0. A pending sort
  // order is committed first when the row count changes. Negative counts count as 0. Raises
  // EQELDStructError when the memory cannot be had, keeping the previous size.
  void Resize(int Cols, int Rows);
  // Empties every cell, zeroes every attribute and drops the sort order; the size stays.
  void Clear();

  std::string GetString(int Col, int Row) const { return std::string(GetStringView(Col, Row)); }
  // The text in place; valid until the array changes.
  std::string_view GetStringView(int Col, int Row) const;
  // Stores Text cut to 255 characters.
  void SetString(int Col, int Row, std::string_view Text);

  // Inserts an empty column before Col (1..NrOfColumns + 1, so the last position appends).
  void InsertColumn(int Col);
  // Inserts an empty row before Row (1..NrOfRows + 1); commits a pending sort order first.
  void InsertRow(int Row);
  void RemoveColumn(int Col);  // 1..NrOfColumns
  void RemoveRow(int Row);     // 1..NrOfRows; commits a pending sort order first

  uint8_t GetColAttrib(int Col) const;
  void SetColAttrib(int Col, uint8_t Attrib);
  uint8_t GetRowAttrib(int Row) const;
  void SetRowAttrib(int Row, uint8_t Attrib);

  // Row storage grows in steps of N rows (N below 1 counts as 1).
  void SetAllocRowsBy(int N) { FAllocRowsBy = N < 1 ? 1 : N; }
  int GetAllocRowsBy() const { return FAllocRowsBy; }

  // Orders rows 1..NrOfRows by column ColPrim (0..NrOfColumns; otherwise nothing happens), ties
  // by ColSec (ignored when out of range, e.g. -1), remaining ties by the stored order. The
  // order starts from the stored order, not from an earlier sort. Cells compare as
  // CompareSortCells says (after OnBeforeSortExchange when assigned). OnPercentDone reports 0 and
  // 100; OnChange follows.
  void Sort(int ColPrim, int ColSec, bool Ascending);
  void UnSort();
  void CommitSorting();
  bool IsSorted() const { return !FOrder.empty(); }
  // The stored row shown at Row (1..NrOfRows; row 0 gives 0 as does a row out of range).
  int GetSortOrder(int Row) const;
  // Shows stored row StoredRow at Row; the row that showed it before takes Row's old stored row,
  // so the index stays a permutation. Calling it for rows 1..n with another array's
  // GetSortOrder reproduces that array's order.
  void SetSortOrder(int Row, int StoredRow);

  TNotifyEvent OnChange;
  TBeforeSortExchgEvent OnBeforeSortExchange;
  TOnPercentDoneEvent OnPercentDone;

 private:
  int Stored(int Row) const { return FOrder.empty() ? Row : FOrder[Row]; }
  bool ValidCol(int Col) const { return Col >= 0 && Col <= FNrCols; }
  bool ValidRow(int Row) const { return Row >= 0 && Row <= FNrRows; }
  size_t Capacity(size_t Needed) const;
  std::vector<TShortCell>& Materialize(int Col);
  void EnsureOrder();
  void Changed();

  int FNrCols = 0;
  int FNrRows = 0;
  int FAllocRowsBy = 10;
  // FCells[c] is empty (every cell of the column empty) or holds NrOfRows + 1 stored rows.
  std::vector<std::vector<TShortCell>> FCells{1};
  std::vector<uint8_t> FColAttr = std::vector<uint8_t>(1);
  std::vector<uint8_t> FRowAttr = std::vector<uint8_t>(1);  // by stored row
  std::vector<int> FOrder;  // shown row -> stored row; empty while unsorted
  std::vector<int> FRank;   // stored row -> shown row
};

// A field of bits 0..Size-1.
class TBitFld {
 public:
  TBitFld() = default;
  explicit TBitFld(int Size) { SetSize(Size); }
  // Keeps the bits that still fit; new bits are false. Negative sizes count as 0.
  void SetSize(int Size);
  int GetSize() const { return FSize; }
  void Clear();  // every bit false
  bool GetBit(int Index) const;
  void SetBit(int Index, bool Value);
  int CountTrueBits() const;
  int FirstTrueBit() const;  // -1 when no bit is set

 private:
  std::vector<uint64_t> FWords;
  int FSize = 0;
};

}  // namespace qel

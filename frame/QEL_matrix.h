#pragma once
// Matrices of the numerics package: TMatrix (double) and TIntMatrix (32-bit integers), with
// 1-based columns and rows, column first. Out-of-range reads give 0 and out-of-range writes are
// ignored. Sizes beyond what memory allows raise EOutOfMemory and keep the previous size.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "platform/rtl/Exceptions.h"

namespace qel {

template <class T>
class TMatrixOf {
 public:
  TMatrixOf() = default;
  TMatrixOf(int Cols, int Rows) { Resize(Cols, Rows); }

  int NrOfColumns() const { return FCols; }
  int NrOfRows() const { return FRows; }

  // Keeps the values that still fit; new elements are 0. Negative counts count as 0.
  void Resize(int Cols, int Rows) {
    Cols = std::max(Cols, 0);
    Rows = std::max(Rows, 0);
    if (Cols == FCols && Rows == FRows) return;
    if (Cols != 0 && Rows > std::numeric_limits<int32_t>::max() / Cols)
      throw EOutOfMemory("Matrix of " + std::to_string(Cols) + " x " + std::to_string(Rows) +
                         " elements is too large");
    std::vector<T> data;
    try {
      data.assign(static_cast<size_t>(Cols) * static_cast<size_t>(Rows), T{});
    } catch (const std::bad_alloc&) {
      throw EOutOfMemory("Not enough memory for a matrix of " + std::to_string(Cols) + " x " +
                         std::to_string(Rows) + " elements");
    }
    const int keepC = std::min(Cols, FCols), keepR = std::min(Rows, FRows);
    for (int c = 0; c < keepC; ++c)
      std::copy_n(FData.begin() + static_cast<ptrdiff_t>(c) * FRows, keepR,
                  data.begin() + static_cast<ptrdiff_t>(c) * Rows);
    FData.swap(data);
    FCols = Cols;
    FRows = Rows;
  }
  void SetNRows(int Rows) { Resize(FCols, Rows); }
  void SetNCols(int Cols) { Resize(Cols, FRows); }

  bool InRange(int Col, int Row) const {
    return Col >= 1 && Col <= FCols && Row >= 1 && Row <= FRows;
  }
  T GetVal(int Col, int Row) const { return InRange(Col, Row) ? FData[Index(Col, Row)] : T{}; }
  void SetVal(int Col, int Row, T Value) {
    if (InRange(Col, Row)) FData[Index(Col, Row)] = Value;
  }
  // Unchecked access for loops that have checked their bounds.
  T& At(int Col, int Row) { return FData[Index(Col, Row)]; }
  const T& At(int Col, int Row) const { return FData[Index(Col, Row)]; }

  void Fill(T Value) { std::fill(FData.begin(), FData.end(), Value); }

  // Structural changes used by the data table; indices as in TDataTable.
  void InsertColumn(int Col) {  // 1..NrOfColumns + 1
    if (Col < 1 || Col > FCols + 1) return;
    FData.insert(FData.begin() + static_cast<ptrdiff_t>(Col - 1) * FRows, FRows, T{});
    ++FCols;
  }
  void RemoveColumn(int Col) {
    if (Col < 1 || Col > FCols) return;
    auto first = FData.begin() + static_cast<ptrdiff_t>(Col - 1) * FRows;
    FData.erase(first, first + FRows);
    --FCols;
  }
  void InsertRow(int Row) {  // 1..NrOfRows + 1
    if (Row < 1 || Row > FRows + 1) return;
    std::vector<T> data(static_cast<size_t>(FCols) * (FRows + 1), T{});
    for (int c = 0; c < FCols; ++c)
      for (int r = 0; r < FRows; ++r)
        data[static_cast<size_t>(c) * (FRows + 1) + (r < Row - 1 ? r : r + 1)] =
            FData[static_cast<size_t>(c) * FRows + r];
    FData.swap(data);
    ++FRows;
  }
  void RemoveRow(int Row) {
    if (Row < 1 || Row > FRows) return;
    std::vector<T> data(static_cast<size_t>(FCols) * (FRows - 1));
    for (int c = 0; c < FCols; ++c)
      for (int r = 0, k = 0; r < FRows; ++r)
        if (r != Row - 1)
          data[static_cast<size_t>(c) * (FRows - 1) + k++] = FData[Index(c + 1, r + 1)];
    FData.swap(data);
    --FRows;
  }
  void ExchangeColumns(int C1, int C2) {
    if (C1 < 1 || C1 > FCols || C2 < 1 || C2 > FCols || C1 == C2) return;
    std::swap_ranges(FData.begin() + Index(C1, 1), FData.begin() + Index(C1, 1) + FRows,
                     FData.begin() + Index(C2, 1));
  }
  void ExchangeRows(int R1, int R2) {
    if (R1 < 1 || R1 > FRows || R2 < 1 || R2 > FRows || R1 == R2) return;
    for (int c = 1; c <= FCols; ++c) std::swap(At(c, R1), At(c, R2));
  }

  // The elements column by column.
  const std::vector<T>& Data() const { return FData; }

 private:
  size_t Index(int Col, int Row) const {
    return static_cast<size_t>(Col - 1) * static_cast<size_t>(FRows) + static_cast<size_t>(Row - 1);
  }
  int FCols = 0;
  int FRows = 0;
  std::vector<T> FData;  // column-major
};

using TMatrix = TMatrixOf<double>;
using TIntMatrix = TMatrixOf<int32_t>;

}  // namespace qel

#pragma once
// TDataTable: the numeric data table behind the table editor. A matrix of doubles addressed by
// column and row (1-based, column first) with a state byte per cell, a name and an attribute
// byte per column and per row, a measurement scale type and nominal identifiers per column, a
// comment, and five notification slots. Out-of-range indices are ignored by setters and read
// as 0 or "" by getters.
//
// Notifications, in the order they fire (each only when assigned):
//   Resize (size changed)                    OnDataResized
//   InsertColumn/Row, RemoveColumn/Row,
//   MirrorColumns/Rows                       OnDataResized (old and new size), OnDataChanged
//   Clear, SetElem (value changed), InvertCellStates, UnmarkAllCells, ExchangeMarkings,
//   FillMarkedCells                          OnDataChanged
//   SetMScaleType, SetNominalID (changed)    OnSetupChanged
//   sorts                                    OnPercentDone(0), then per exchanged pair
//                                            OnSortExchange with progress between, then
//                                            OnPercentDone(100), OnDataChanged
//   Assign                                   OnDataResized (size changed), OnSetupChanged,
//                                            OnDataChanged
// Cell states, names, attributes, the comment and the data matrix reached through Matrix()
// change silently: their callers repaint as they see fit.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/QEL_matrix.h"
#include "frame/QEL_qelbase.h"
#include "platform/rtl/Classes.h"

namespace qel {

// Cell-state bits. A cell holds a number when the first two are clear.
inline constexpr uint8_t dtsNoNumber = 0x01;  // no valid number
inline constexpr uint8_t dtsEmpty = 0x02;     // empty
inline constexpr uint8_t dtsLocked = 0x10;    // locked against editing
inline constexpr uint8_t dtsMarkedA = 0x40;
inline constexpr uint8_t dtsMarkedB = 0x80;

// Measurement scale of a column; nominal and ordinal columns carry nominal identifiers.
enum TMScaleType : uint8_t { mstUndefined, mstNominal, mstOrdinal, mstInterval, mstRatio };
inline constexpr int kMScaleTypeCount = 5;
extern const std::array<const char*, kMScaleTypeCount> MScaleTypeNames;
inline bool IsNominalScale(uint8_t ScaleType) {
  return ScaleType == mstNominal || ScaleType == mstOrdinal;
}

inline constexpr int kMaxLineNameChars = 50;   // column and row names
inline constexpr int kMaxNominalValue = 150;   // nominal values 1..150
inline constexpr int kMaxNominalIDChars = 10;  // identifier texts

// What OnSortExchange reports: two columns (I1, I2) exchanged over rows I3..I4, or two rows
// (I1, I2) exchanged over columns I3..I4.
inline constexpr int kExchangeColumns = 1;
inline constexpr int kExchangeRows = 2;

using TDataResizeEvent =
    std::function<void(TObject* Sender, int OldCols, int OldRows, int NewCols, int NewRows)>;
using TSortExchangeEvent =
    std::function<void(TObject* Sender, int Kind, int I1, int I2, int I3, int I4)>;

class TDataTable : public TPersistent {
 public:
  TDataTable() = default;
  TDataTable(int Cols, int Rows) { Resize(Cols, Rows); }
  std::string ClassName() const override { return "TDataTable"; }
  // From another TDataTable: everything but the notification slots.
  void Assign(const TPersistent* Source) override;

  int NrOfColumns() const { return FValues.NrOfColumns(); }
  int NrOfRows() const { return FValues.NrOfRows(); }
  // Keeps what still fits; new cells hold 0 with state 0, new lines have empty names and
  // attribute 0. Raises EOutOfMemory when the memory cannot be had, keeping the size.
  void Resize(int Cols, int Rows);
  // Values 0 with state dtsEmpty, names empty, attributes 0; size, scale types, nominal
  // identifiers and comment stay.
  void Clear();

  double GetElem(int Col, int Row) const { return FValues.GetVal(Col, Row); }
  void SetElem(int Col, int Row, double Value);  // the state is left as it is
  bool GetIsNumber(int Col, int Row) const;
  TMatrix& Matrix() { return FValues; }
  const TMatrix& Matrix() const { return FValues; }

  std::string GetColName(int Col) const;
  void SetColName(int Col, std::string_view Name);  // cut to 50 characters
  std::string GetRowName(int Row) const;
  void SetRowName(int Row, std::string_view Name);
  uint8_t GetColAttrib(int Col) const;
  void SetColAttrib(int Col, uint8_t Attrib);
  uint8_t GetRowAttrib(int Row) const;
  void SetRowAttrib(int Row, uint8_t Attrib);
  // 1-based index of the first column (row) of that name, 0 when none has it.
  int FindColIndex(std::string_view Name) const;
  int FindRowIndex(std::string_view Name) const;

  uint8_t GetCellState(int Col, int Row) const { return FStates.GetVal(Col, Row); }
  void SetCellState(int Col, int Row, uint8_t State) { FStates.SetVal(Col, Row, State); }
  void InvertCellStates(uint8_t Mask);  // state ^= Mask in every cell
  void UnmarkAllCells();                // clears both mark bits
  void ExchangeMarkings();              // swaps the mark A and mark B bits
  // Every cell with a state bit of Mask set gets Value and becomes a number (the no-number and
  // empty bits are cleared).
  void FillMarkedCells(double Value, uint8_t Mask);

  void InsertColumn(int Col);  // 1..NrOfColumns + 1
  void InsertRow(int Row);     // 1..NrOfRows + 1
  void RemoveColumn(int Col);  // 1..NrOfColumns
  void RemoveRow(int Row);     // 1..NrOfRows
  void MirrorColumns();        // the last column becomes the first, with its headings
  void MirrorRows();

  uint8_t GetMScaleType(int Col) const;
  void SetMScaleType(int Col, uint8_t ScaleType);  // values beyond mstRatio are ignored
  // The identifier of nominal value Value (1..150) of a column, "" when there is none.
  std::string GetNominalID(int Col, int Value) const;
  void SetNominalID(int Col, int Value, std::string_view ID);  // cut to 10 characters
  // The nominal value whose identifier is Text (blanks around it ignored), 0 when none.
  int OrdinalOfNominalID(int Col, std::string_view Text, bool IgnoreCase) const;

  const std::string& GetComment() const { return FComment; }
  void SetFComment(std::string_view Text) { FComment = Text; }

  // Sorts the columns ColLow..ColHigh by their values in row KeyRow (numbers by value, cells
  // without a number last in either direction; ties keep their order). Only the cells of rows
  // RowLow..RowHigh move, and with WithHeadings the columns' names, attributes, scale types and
  // nominal identifiers too. Ranges are clamped to the table.
  void SortCols(int KeyRow, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                bool WithHeadings);
  void SortRows(int KeyCol, bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh,
                bool WithHeadings);
  // By attribute or by name; the headings always travel. Names compare as report-list cells
  // (numbers by value, then texts case-insensitively) unless CaseSensitive.
  void SortColAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortRowAttributes(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh);
  void SortColNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
    SortColNames(Ascending, false, ColLow, RowLow, ColHigh, RowHigh);
  }
  void SortColNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                    int RowHigh);
  void SortRowNames(bool Ascending, int ColLow, int RowLow, int ColHigh, int RowHigh) {
    SortRowNames(Ascending, false, ColLow, RowLow, ColHigh, RowHigh);
  }
  void SortRowNames(bool Ascending, bool CaseSensitive, int ColLow, int RowLow, int ColHigh,
                    int RowHigh);

  TNotifyEvent OnDataChanged;
  TNotifyEvent OnSetupChanged;
  TDataResizeEvent OnDataResized;
  TOnPercentDoneEvent OnPercentDone;
  TSortExchangeEvent OnSortExchange;

 private:
  struct TColInfo {
    std::string Name;
    uint8_t Attrib = 0;
    uint8_t ScaleType = mstUndefined;
    std::vector<std::string> NominalIDs;  // empty, or 151 entries (index 0 unused)
  };
  struct TRowInfo {
    std::string Name;
    uint8_t Attrib = 0;
  };
  // Puts the lines Low..High (1-based) into the order Perm (Perm[k] = the line that goes to
  // position Low + k) by pairwise exchanges, each reported through OnSortExchange.
  void ApplyPermutation(bool Columns, int Low, const std::vector<int>& Perm, int OtherLow,
                        int OtherHigh, bool WithHeadings);
  void ExchangeLines(bool Columns, int A, int B, int OtherLow, int OtherHigh, bool WithHeadings);
  template <class Less>
  void SortLines(bool Columns, int Low, int High, int OtherLow, int OtherHigh, bool WithHeadings,
                 Less less);
  bool ClampRange(int& ColLow, int& RowLow, int& ColHigh, int& RowHigh) const;
  void DataChanged();
  void Resized(int OldCols, int OldRows);

  TMatrix FValues;
  TMatrixOf<uint8_t> FStates;
  std::vector<TColInfo> FColInfo;  // index Col - 1
  std::vector<TRowInfo> FRowInfo;  // index Row - 1
  std::string FComment;
};

}  // namespace qel

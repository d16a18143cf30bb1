// TMatrix, TIntMatrix and TDataTable: sizes, cell states, headings, notifications, sorting.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "frame/QEL_datatable.h"
#include "frame/QEL_matrix.h"

namespace qel {
namespace {

TEST(Matrix, ResizeKeepsValuesAndFillSetsAll) {
  TMatrix m(2, 3);
  m.SetVal(2, 3, 7.5);
  m.SetVal(1, 1, -1);
  m.Resize(4, 5);
  EXPECT_EQ(m.GetVal(2, 3), 7.5);
  EXPECT_EQ(m.GetVal(1, 1), -1);
  EXPECT_EQ(m.GetVal(4, 5), 0);
  m.Resize(1, 1);
  EXPECT_EQ(m.GetVal(1, 1), -1);
  EXPECT_EQ(m.GetVal(2, 3), 0);  // out of range reads 0
  m.SetVal(0, 1, 3);             // ignored
  m.Resize(3, 2);
  m.Fill(4.25);
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 2; ++r) EXPECT_EQ(m.GetVal(c, r), 4.25);
  m.Resize(-1, 5);
  EXPECT_EQ(m.NrOfColumns(), 0);
  EXPECT_EQ(m.NrOfRows(), 5);
  EXPECT_THROW(m.Resize(1 << 20, 1 << 20), EOutOfMemory);
  EXPECT_EQ(m.NrOfRows(), 5);  // a failed resize keeps the size
}

TEST(Matrix, IntMatrixAsAHolidayList) {
  TIntMatrix h;
  h.Resize(3, 2);
  h.SetVal(1, 1, 25);
  h.SetVal(2, 1, 12);
  h.SetVal(3, 1, -99999);
  h.SetNRows(4);
  EXPECT_EQ(h.NrOfRows(), 4);
  EXPECT_EQ(h.GetVal(3, 1), -99999);
  EXPECT_EQ(h.GetVal(1, 4), 0);
  h.SetNRows(0);
  EXPECT_EQ(h.GetVal(1, 1), 0);
}

TEST(Matrix, LineOperations) {
  TIntMatrix m(2, 3);  // column c, row r holds 10 c + r
  for (int c = 1; c <= 2; ++c)
    for (int r = 1; r <= 3; ++r) m.SetVal(c, r, 10 * c + r);
  m.InsertRow(2);
  EXPECT_EQ(m.GetVal(2, 1), 21);
  EXPECT_EQ(m.GetVal(2, 2), 0);
  EXPECT_EQ(m.GetVal(2, 4), 23);
  m.RemoveRow(1);
  EXPECT_EQ(m.GetVal(1, 3), 13);
  m.InsertColumn(1);
  EXPECT_EQ(m.GetVal(3, 3), 23);
  m.RemoveColumn(2);
  EXPECT_EQ(m.GetVal(2, 1), 0);
  EXPECT_EQ(m.GetVal(2, 3), 23);
  m.ExchangeColumns(1, 2);
  EXPECT_EQ(m.GetVal(1, 3), 23);
  m.ExchangeRows(1, 3);
  EXPECT_EQ(m.GetVal(1, 1), 23);
}

// Records every notification of a table as text, in order.
struct TRecorder {
  std::vector<std::string> Log;
  void Attach(TDataTable& t) {
    t.OnDataChanged = [this](TObject*) { Log.push_back("data"); };
    t.OnSetupChanged = [this](TObject*) { Log.push_back("setup"); };
    t.OnDataResized = [this](TObject*, int oc, int orw, int nc, int nr) {
      Log.push_back("resized " + std::to_string(oc) + "x" + std::to_string(orw) + "->" +
                    std::to_string(nc) + "x" + std::to_string(nr));
    };
    t.OnPercentDone = [this](TObject*, int p) { Log.push_back("percent " + std::to_string(p)); };
    t.OnSortExchange = [this](TObject*, int k, int a, int b, int c, int d) {
      Log.push_back("exchange " + std::to_string(k) + " " + std::to_string(a) + " " +
                    std::to_string(b) + " " + std::to_string(c) + " " + std::to_string(d));
    };
  }
  std::vector<std::string> Take() { return std::exchange(Log, {}); }
};

using Log = std::vector<std::string>;

TEST(DataTable, NotificationsFireInTheDocumentedOrder) {
  TDataTable t;
  TRecorder rec;
  rec.Attach(t);
  t.Resize(3, 4);
  EXPECT_EQ(rec.Take(), (Log{"resized 0x0->3x4"}));
  t.Resize(3, 4);
  EXPECT_EQ(rec.Take(), Log{});
  t.InsertColumn(4);
  EXPECT_EQ(rec.Take(), (Log{"resized 3x4->4x4", "data"}));
  t.RemoveRow(2);
  EXPECT_EQ(rec.Take(), (Log{"resized 4x4->4x3", "data"}));
  t.InsertRow(9);  // outside 1..NrOfRows + 1: nothing at all
  t.RemoveColumn(0);
  EXPECT_EQ(rec.Take(), Log{});
  t.MirrorColumns();
  EXPECT_EQ(rec.Take(), (Log{"resized 4x3->4x3", "data"}));
  t.SetElem(1, 1, 2.5);
  t.SetElem(1, 1, 2.5);  // unchanged
  EXPECT_EQ(rec.Take(), (Log{"data"}));
  t.SetCellState(1, 1, dtsMarkedA);
  t.SetColName(1, "x");
  t.SetRowAttrib(1, 4);
  t.SetFComment("c");
  EXPECT_EQ(rec.Take(), Log{});
  t.SetMScaleType(2, mstNominal);
  t.SetNominalID(2, 3, "red");
  t.SetNominalID(2, 3, "red");
  EXPECT_EQ(rec.Take(), (Log{"setup", "setup"}));
  t.InvertCellStates(dtsLocked);
  t.UnmarkAllCells();
  t.ExchangeMarkings();
  t.FillMarkedCells(1, dtsMarkedB);
  t.Clear();
  EXPECT_EQ(rec.Take(), (Log{"data", "data", "data", "data", "data"}));
  TDataTable other(2, 2);
  t.Assign(&other);
  EXPECT_EQ(rec.Take(), (Log{"resized 4x3->2x2", "setup", "data"}));
}

TEST(DataTable, SortReportsEveryExchangeThenProgressAndData) {
  TDataTable t(3, 2);
  t.SetElem(1, 1, 30);
  t.SetElem(2, 1, 10);
  t.SetElem(3, 1, 20);
  TRecorder rec;
  rec.Attach(t);
  t.SortCols(1, true, 1, 1, 3, 2, true);
  // 30 10 20 -> 10 30 20 -> 10 20 30
  EXPECT_EQ(rec.Take(), (Log{"percent 0", "exchange 1 1 2 1 2", "percent 33", "exchange 1 2 3 1 2",
                             "percent 66", "percent 100", "data"}));
}

TEST(DataTable, CellStatesAndBulkStateOperations) {
  TDataTable t(2, 2);
  EXPECT_TRUE(t.GetIsNumber(1, 1));
  t.SetCellState(1, 1, dtsNoNumber | dtsMarkedA);
  t.SetCellState(2, 1, dtsEmpty | dtsMarkedB | 0x04);
  t.SetCellState(1, 2, dtsMarkedA | dtsMarkedB);
  EXPECT_FALSE(t.GetIsNumber(1, 1));
  EXPECT_FALSE(t.GetIsNumber(2, 1));
  EXPECT_FALSE(t.GetIsNumber(3, 1));  // outside the table
  t.ExchangeMarkings();
  EXPECT_EQ(t.GetCellState(1, 1), dtsNoNumber | dtsMarkedB);
  EXPECT_EQ(t.GetCellState(2, 1), dtsEmpty | dtsMarkedA | 0x04);  // other bits are kept
  EXPECT_EQ(t.GetCellState(1, 2), dtsMarkedA | dtsMarkedB);
  t.FillMarkedCells(9.5, dtsMarkedA);
  EXPECT_EQ(t.GetElem(2, 1), 9.5);
  EXPECT_TRUE(t.GetIsNumber(2, 1));  // a filled cell holds a number
  EXPECT_EQ(t.GetElem(1, 1), 0);
  t.InvertCellStates(dtsLocked);
  EXPECT_EQ(t.GetCellState(2, 2), dtsLocked);
  t.UnmarkAllCells();
  EXPECT_EQ(t.GetCellState(1, 2), dtsLocked);
  t.Matrix().Fill(3);
  EXPECT_EQ(t.GetElem(2, 2), 3);
  t.SetColName(1, "keep?");
  t.Clear();
  EXPECT_EQ(t.GetElem(2, 2), 0);
  EXPECT_EQ(t.GetCellState(1, 1), dtsEmpty);
  EXPECT_EQ(t.GetColName(1), "");
  EXPECT_EQ(t.NrOfColumns(), 2);
}

TEST(DataTable, NamesAttributesAndNominalIdentifiers) {
  TDataTable t(2, 2);
  t.SetColName(1, std::string(60, 'n'));
  EXPECT_EQ(t.GetColName(1), std::string(50, 'n'));
  t.SetRowName(2, "Zeile ü");
  EXPECT_EQ(t.FindRowIndex("Zeile ü"), 2);
  EXPECT_EQ(t.FindRowIndex("none"), 0);
  t.SetColName(3, "ignored");
  EXPECT_EQ(t.GetColName(3), "");
  t.SetColAttrib(2, 255);
  EXPECT_EQ(t.GetColAttrib(2), 255);
  EXPECT_EQ(t.GetRowAttrib(0), 0);
  EXPECT_STREQ(MScaleTypeNames[t.GetMScaleType(1)], "undefined");
  t.SetMScaleType(1, mstOrdinal);
  t.SetMScaleType(1, 99);  // unknown types are ignored
  EXPECT_EQ(t.GetMScaleType(1), mstOrdinal);
  EXPECT_TRUE(IsNominalScale(t.GetMScaleType(1)));
  t.SetNominalID(1, 1, "low");
  t.SetNominalID(1, 150, "extremely high");  // cut to 10 characters
  t.SetNominalID(1, 151, "beyond");
  EXPECT_EQ(t.GetNominalID(1, 150), "extremely ");
  EXPECT_EQ(t.GetNominalID(1, 151), "");
  EXPECT_EQ(t.GetNominalID(2, 1), "");
  EXPECT_EQ(t.OrdinalOfNominalID(1, " LOW ", true), 1);
  EXPECT_EQ(t.OrdinalOfNominalID(1, "LOW", false), 0);
  EXPECT_EQ(t.OrdinalOfNominalID(1, "", true), 0);
  EXPECT_EQ(t.OrdinalOfNominalID(9, "low", true), 0);
}

TEST(DataTable, InsertRemoveAndMirrorMoveHeadingsWithTheirLines) {
  TDataTable t(3, 2);
  for (int c = 1; c <= 3; ++c) {
    t.SetColName(c, "C" + std::to_string(c));
    t.SetElem(c, 1, c);
  }
  t.SetCellState(3, 1, dtsMarkedA);
  t.MirrorColumns();
  EXPECT_EQ(t.GetColName(1), "C3");
  EXPECT_EQ(t.GetElem(1, 1), 3);
  EXPECT_EQ(t.GetCellState(1, 1), dtsMarkedA);
  t.InsertColumn(2);
  EXPECT_EQ(t.GetColName(2), "");
  EXPECT_EQ(t.GetColName(3), "C2");
  t.RemoveColumn(1);
  EXPECT_EQ(t.GetColName(3), "C1");
  t.SetRowName(1, "R1");
  t.SetRowName(2, "R2");
  t.MirrorRows();
  EXPECT_EQ(t.GetRowName(1), "R2");
  EXPECT_EQ(t.GetElem(3, 2), 1);
}

TEST(DataTable, SortRowsByValuesPutsNonNumbersLastInBothDirections) {
  TDataTable t(2, 5);
  const double v[] = {3, 1, 2, 7, 1};
  for (int r = 1; r <= 5; ++r) {
    t.SetElem(1, r, v[r - 1]);
    t.SetElem(2, r, r);  // remembers the original row
    t.SetRowName(r, "R" + std::to_string(r));
  }
  t.SetCellState(1, 4, dtsEmpty);  // the 7 is not a number
  t.SortRows(1, false, 1, 1, 2, 5, true);
  std::vector<double> order;
  for (int r = 1; r <= 5; ++r) order.push_back(t.GetElem(2, r));
  EXPECT_EQ(order, (std::vector<double>{1, 3, 2, 5, 4}));
  EXPECT_EQ(t.GetRowName(5), "R4");
  EXPECT_EQ(t.GetCellState(1, 5), dtsEmpty);
  t.SortRows(2, true, 1, 1, 2, 5, false);  // headings stay without WithHeadings
  EXPECT_EQ(t.GetElem(2, 1), 1);
  EXPECT_EQ(t.GetRowName(1), "R1");
  EXPECT_EQ(t.GetRowName(5), "R4");
}

TEST(DataTable, SortColumnsWithinABlockAndByAttributesAndNames) {
  TDataTable t(4, 3);
  for (int c = 1; c <= 4; ++c) {
    for (int r = 1; r <= 3; ++r) t.SetElem(c, r, 10 * c + r);
    t.SetColAttrib(c, static_cast<uint8_t>(5 - c));
  }
  t.SetColName(1, "b");
  t.SetColName(2, "C-10");
  t.SetColName(3, "C-9");
  t.SetColName(4, "A");
  // Only rows 2..3 of columns 2..4 move; row 1 stays.
  t.SortCols(2, false, 2, 2, 4, 3, false);
  EXPECT_EQ(t.GetElem(2, 1), 21);
  EXPECT_EQ(t.GetElem(2, 2), 42);
  EXPECT_EQ(t.GetElem(4, 3), 23);
  EXPECT_EQ(t.GetColName(2), "C-10");
  t.SortColAttributes(true, 1, 1, 4, 3);
  EXPECT_EQ(t.GetColAttrib(1), 1);
  EXPECT_EQ(t.GetColName(1), "A");
  EXPECT_EQ(t.GetElem(1, 1), 41);
  t.SortColNames(true, 1, 1, 4, 3);
  EXPECT_EQ(t.GetColName(1), "A");
  EXPECT_EQ(t.GetColName(2), "b");
  EXPECT_EQ(t.GetColName(3), "C-10");  // texts, not numbers: "C-1" sorts before "C-9"
  t.SortColNames(true, true, 1, 1, 4, 3);
  EXPECT_EQ(t.GetColName(4), "b");        // byte order puts small letters last
  t.SortCols(9, true, 1, 1, 4, 3, true);  // a key row outside the table changes nothing
  EXPECT_EQ(t.GetColName(4), "b");
}

}  // namespace
}  // namespace qel

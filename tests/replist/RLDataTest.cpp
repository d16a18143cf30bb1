// The report-list store: defaults, columns, check marks, structure, values, defaults of new
// cells, sorting, clipboard copies and Assign.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/Forms.h"
#include "platform/rtl/Strings.h"
#include "replist/QEL_replist.h"

namespace qel {
namespace {

// A store of Cols x Rows whose cell (c, r) holds "c<c>r<r>".
std::unique_ptr<TRLData> MakeStore(int Cols, int Rows) {
  auto d = std::make_unique<TRLData>(nullptr);
  d->SetNrCols(Cols);
  d->SetNrRows(Rows);
  for (int r = 1; r <= Rows; ++r)
    for (int c = 1; c <= Cols; ++c)
      d->SetElem(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
  return d;
}

TEST(RLDataDefaults, NewStoreHasOneColumnNoRowsAndTheHeader) {
  TRLData d(nullptr);
  EXPECT_EQ(d.GetNrOfColumns(), 1);
  EXPECT_EQ(d.GetNrOfRows(), 0);
  EXPECT_EQ(d.GetColName(1), "C-1");
  EXPECT_EQ(d.GetCommonHeader(), "QEL Report Listview");
  EXPECT_EQ(d.GetSortColumn(), -1);
  EXPECT_EQ(d.GetSortColumnSec(), -1);
  EXPECT_TRUE(d.GetSortOrder());
  EXPECT_TRUE(d.GetHeaderSortDirection());
  EXPECT_EQ(d.GetColCheckMode(1), cmNone);
  EXPECT_EQ(d.GetWorkTotal(), 1);
  EXPECT_EQ(d.GetProgressStep(), 1);
}

TEST(RLDataColumns, CountSetterClampsAndNamesOnlyNewColumns) {
  TRLData d(nullptr);
  d.SetNrCols(0);
  EXPECT_EQ(d.GetNrOfColumns(), 1);
  d.SetNrCols(2);
  d.SetColName(1, "Alpha");
  d.SetColName(2, "Beta");
  d.SetNrCols(4);
  EXPECT_EQ(d.GetColName(1), "Alpha");
  EXPECT_EQ(d.GetColName(2), "Beta");
  EXPECT_EQ(d.GetColName(3), "C-3");
  EXPECT_EQ(d.GetColName(4), "C-4");
  d.SetNrRows(7);
  EXPECT_EQ(d.GetWorkTotal(), 35);
  EXPECT_EQ(d.GetProgressStep(), 1);
  d.SetNrRows(-3);
  EXPECT_EQ(d.GetNrOfRows(), 0);
}

TEST(RLDataColumns, NamesAndFormatsAreCutAtCharacterBoundaries) {
  TRLData d(nullptr);
  std::string name;
  for (int i = 0; i < 60; ++i) name += "\xC3\xA4";  // a-umlaut, two bytes
  d.SetColName(1, name);
  EXPECT_EQ(d.GetColName(1), name.substr(0, 100));
  d.SetColumnFormat(1, std::string(90, 'x'));
  EXPECT_EQ(d.GetColumnFormat(1).size(), 80u);
  d.SetColName(5, "ignored");
  EXPECT_EQ(d.GetColName(5), "");
}

TEST(RLDataColumns, ColumnIndexSearchesFromTheLastColumn) {
  TRLData d(nullptr);
  d.SetNrCols(3);
  d.SetColName(1, "Name");
  d.SetColName(2, "Surname");
  d.SetColName(3, "Age");
  EXPECT_EQ(d.ColumnIndex("name", true), 2);
  EXPECT_EQ(d.ColumnIndex("NAME", false), 1);
  EXPECT_EQ(d.ColumnIndex("weight", true), -1);
}

TEST(RLDataCells, OutOfRangeIsIgnoredAndColumnZeroIsALabel) {
  TRLData d(nullptr);
  d.SetNrRows(2);
  d.SetElem(0, 1, "label");
  d.SetElem(2, 1, "nope");
  d.SetElem(1, 3, "nope");
  EXPECT_EQ(d.GetElem(0, 1), "label");
  EXPECT_EQ(d.GetElem(2, 1), "");
  EXPECT_EQ(d.GetElem(1, 0), "");
  d.SetElem(1, 1, std::string(300, 'a'));
  EXPECT_EQ(d.GetElem(1, 1).size(), 255u);
}

TEST(RLDataCheckModes, TurningAColumnOnAndOffKeepsTheTexts) {
  TRLData d(nullptr);
  d.SetNrRows(3);
  d.SetElem(1, 1, "a");
  d.SetElem(1, 3, "b");
  int changes = 0;
  d.GetStorage()->OnChange = [&](TObject*) { ++changes; };
  d.SetColCheckMode(1, cmBox);
  EXPECT_EQ(changes, 0) << "the rewrite runs with the change notification off";
  EXPECT_TRUE(d.GetStorage()->OnChange) << "and the notification comes back";
  EXPECT_EQ(d.GetStoredElem(1, 1), " a");
  EXPECT_EQ(d.GetStoredElem(1, 2), "");
  EXPECT_EQ(d.GetStoredElem(1, 3), " b");
  EXPECT_EQ(d.GetElem(1, 1), "a");
  EXPECT_EQ(d.GetElem(1, 2), "");
  EXPECT_TRUE(d.GetCheckedCol(1));
  d.SetElemChecked(1, 1, true);
  EXPECT_EQ(d.GetStoredElem(1, 1), "Xa");
  d.SetColCheckMode(1, cmNone);
  EXPECT_EQ(d.GetStoredElem(1, 1), "a");
  EXPECT_EQ(d.GetStoredElem(1, 2), "");
  EXPECT_EQ(d.GetStoredElem(1, 3), "b");
  EXPECT_FALSE(d.GetElemChecked(1, 1)) << "a column without check mode has no marks";
}

TEST(RLDataCheckModes, BoxToRadioClearsAndRadioToBoxKeeps) {
  TRLData d(nullptr);
  d.SetNrRows(3);
  d.SetColCheckMode(1, cmBox);
  d.SetElemChecked(1, 1, true);
  d.SetElemChecked(1, 2, true);
  d.SetColCheckMode(1, cmRadio);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
  EXPECT_FALSE(d.GetCheckedCol(1));
  d.SetElemChecked(1, 1, true);
  d.SetElemChecked(1, 3, true);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
  EXPECT_EQ(d.FirstCheckedElemInCol(1), 3);
  d.SetAllCheckmarksOfCol(1, true);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 1) << "a radio column cannot be checked wholesale";
  d.SetColCheckMode(1, cmBox);
  EXPECT_TRUE(d.GetElemChecked(1, 3));
  d.SetAllCheckmarksOfCol(1, false);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 0);
}

TEST(RLDataCheckModes, MarkersAndSetElemInCheckColumns) {
  TRLData d(nullptr);
  d.SetNrCols(3);
  d.SetNrRows(4);
  d.SetColCheckMode(2, cmBox);
  d.SetElem(2, 1, "x");
  EXPECT_EQ(d.GetStoredElem(2, 1), " x") << "an empty cell gets a blank marker";
  d.SetElemChecked(2, 1, true);
  d.SetElem(2, 1, "y");
  EXPECT_EQ(d.GetStoredElem(2, 1), "Xy") << "the marker survives a new text";
  d.SetElemChecked(2, 2, true);
  EXPECT_EQ(d.GetStoredElem(2, 2), "X");
  d.SetElemChecked(1, 1, true);
  EXPECT_EQ(d.GetStoredElem(1, 1), "") << "no marks outside check columns";
  d.SetColCheckMode(3, cmBox);
  d.SetElemChecked(3, 2, true);
  EXPECT_EQ(d.CountCheckedElemsInRow(2), 2);
  EXPECT_EQ(d.FirstCheckedElemInRow(2), 2);
  EXPECT_EQ(d.FirstCheckedElemInRow(3), 0);
  EXPECT_EQ(d.FirstCheckedElemInRow(9), 0);
  // A multi-byte first character is a marker too, and is removed whole.
  d.GetStorage()->SetString(2, 3, "\xC3\xA4rest");
  EXPECT_TRUE(d.GetElemChecked(2, 3));
  EXPECT_EQ(d.GetElem(2, 3), "rest");
}

TEST(RLDataCheckModes, InvertAndSkipDisabledRows) {
  TRLData d(nullptr);
  d.SetNrRows(4);
  d.SetColCheckMode(1, cmBox);
  d.SetElemChecked(1, 1, true);
  d.GetStorage()->SetString(1, 2, "Qtext");  // checked by a marker other than X
  d.SetElem(1, 3, "t");
  d.GetStorage()->SetRowAttrib(4, kRowDisabledBit);
  d.InvertAllCheckmarksOfColIntern(1, true);
  EXPECT_EQ(d.GetStoredElem(1, 1), " ");
  EXPECT_EQ(d.GetStoredElem(1, 2), "Xtext") << "any marker other than X inverts to X";
  EXPECT_EQ(d.GetStoredElem(1, 3), "Xt");
  EXPECT_EQ(d.GetStoredElem(1, 4), "") << "the disabled row is left alone";
  d.InvertAllCheckmarksOfCol(1);
  EXPECT_EQ(d.GetStoredElem(1, 4), "X");
  d.SetAllCheckmarksOfColIntern(1, false, true);
  EXPECT_EQ(d.GetStoredElem(1, 4), "X");
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 1);
  d.SetColCheckMode(1, cmRadio);
  d.InvertAllCheckmarksOfCol(1);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 0) << "only box columns invert";
  d.SetAllCheckmarksOfColIntern(1, true, false);
  EXPECT_EQ(d.CountCheckedElemsInCol(1), 4) << "the internal variant does not test the mode";
}

TEST(RLDataStructure, InsertAndRemoveColumns) {
  auto d = MakeStore(3, 2);
  d->SetColName(2, "two");
  d->SetColumnFormat(2, "[i]rix2");
  d->SetColCheckMode(3, cmBox);
  d->InsertColumn(2);
  EXPECT_EQ(d->GetNrOfColumns(), 4);
  EXPECT_EQ(d->GetColName(2), "");
  EXPECT_EQ(d->GetColName(3), "two");
  EXPECT_EQ(d->GetColumnFormat(3), "[i]rix2");
  EXPECT_EQ(d->GetColCheckMode(4), cmBox);
  EXPECT_EQ(d->GetElem(3, 1), "c2r1");
  d->InsertColumn(5);
  EXPECT_EQ(d->GetNrOfColumns(), 4) << "InsertColumn cannot append";
  d->RemoveColumn(2);
  EXPECT_EQ(d->GetColName(2), "two");
  EXPECT_EQ(d->GetColCheckMode(3), cmBox);
  EXPECT_EQ(d->GetNrOfColumns(), 3);

  auto one = MakeStore(1, 2);
  one->SetElem(0, 1, "lab");
  one->SetColName(1, "only");
  one->RemoveColumn(1);
  EXPECT_EQ(one->GetNrOfColumns(), 0);
  EXPECT_EQ(one->GetStorage()->GetString(1, 1), "");
  EXPECT_EQ(one->GetColName(1), "");
  one->SetNrCols(2);
  EXPECT_EQ(one->GetColName(1), "C-1");
  EXPECT_EQ(one->GetColName(2), "C-2");
}

TEST(RLDataStructure, RowsInsertRemoveCopyAndEmptyRows) {
  auto d = MakeStore(2, 3);
  d->InsertRow(2);
  EXPECT_EQ(d->GetNrOfRows(), 4);
  EXPECT_EQ(d->GetElem(1, 2), "");
  EXPECT_EQ(d->GetElem(1, 3), "c1r2");
  d->InsertRow(5);
  EXPECT_EQ(d->GetNrOfRows(), 4);
  // Removing beyond either end changes nothing (a loose bound would drop the last row).
  for (int r : {0, 5, -1}) {
    d->RemoveRow(r);
    EXPECT_EQ(d->GetNrOfRows(), 4) << r;
    EXPECT_EQ(d->GetElem(1, 4), "c1r3") << r;
  }
  d->GetStorage()->SetRowAttrib(3, kRowDisabledBit | kRowSelectedBit);
  d->CopyRow(3, 2);
  EXPECT_EQ(d->GetElem(2, 2), "c2r2");
  EXPECT_EQ(d->GetStorage()->GetRowAttrib(2), kRowDisabledBit | kRowSelectedBit);
  d->SetElem(1, 1, "");
  d->SetElem(2, 1, "");
  d->RemoveEmptyRows();
  EXPECT_EQ(d->GetNrOfRows(), 3);
  EXPECT_EQ(d->GetElem(1, 1), "c1r2");
  // A row with only a label is not empty.
  d->SetNrRows(4);
  d->SetElem(0, 4, "label");
  d->RemoveEmptyRows();
  EXPECT_EQ(d->GetNrOfRows(), 4);

  auto single = MakeStore(2, 1);
  single->GetStorage()->SetRowAttrib(1, kRowDisabledBit);
  single->RemoveRow(1);
  EXPECT_EQ(single->GetNrOfRows(), 0);
  single->SetNrRows(1);
  EXPECT_EQ(single->GetElem(1, 1), "");
  EXPECT_EQ(single->GetStorage()->GetRowAttrib(1), 0);
}

TEST(RLDataStructure, SettingNoRowsBlanksTheFirstRowButKeepsMarkers) {
  auto d = MakeStore(2, 2);
  d->SetColCheckMode(2, cmBox);
  d->SetElemChecked(2, 1, true);
  d->SetNrRows(0);
  d->SetNrRows(1);
  EXPECT_EQ(d->GetElem(1, 1), "");
  EXPECT_EQ(d->GetStoredElem(2, 1), "X");
}

TEST(RLDataStructure, FillAndClear) {
  auto d = MakeStore(2, 3);
  d->SetColCheckMode(2, cmBox);
  d->SetElemChecked(2, 1, true);
  d->SetElem(2, 3, "");
  d->GetStorage()->SetString(2, 3, "");
  d->Fill("f");
  EXPECT_EQ(d->GetStoredElem(1, 2), "f");
  EXPECT_EQ(d->GetStoredElem(2, 1), "Xf");
  EXPECT_EQ(d->GetStoredElem(2, 2), " f");
  EXPECT_EQ(d->GetStoredElem(2, 3), " f") << "an empty check cell stays unchecked";
  d->SetColName(1, "x");
  d->Sort(1, -1, true);
  d->Clear();
  EXPECT_EQ(d->GetNrOfRows(), 3);
  EXPECT_EQ(d->GetNrOfColumns(), 2);
  EXPECT_EQ(d->GetColName(1), "C-1");
  EXPECT_EQ(d->GetColCheckMode(2), cmNone);
  EXPECT_EQ(d->GetElem(1, 1), "");
  EXPECT_EQ(d->GetSortColumn(), -1);
}

TEST(RLDataValues, GetAsNumber) {
  TRLData d(nullptr);
  d.SetNrCols(2);
  d.SetNrRows(7);
  d.SetElem(1, 1, "  3,5 ");
  EXPECT_DOUBLE_EQ(static_cast<double>(d.GetAsNumber(1, 1)), 3.5);
  EXPECT_EQ(d.GetAsNumber(1, 2), 0);
  d.SetElem(1, 3, "-1.25e2");
  EXPECT_DOUBLE_EQ(static_cast<double>(d.GetAsNumber(1, 3)), -125.0);
  d.SetElem(2, 7, "abc");
  try {
    d.GetAsNumber(2, 7);
    FAIL() << "no exception";
  } catch (const EQELDStructError& e) {
    EXPECT_EQ(e.Message, "Class TRLData: invalid numeric string: [2,7]: abc");
  }
  d.SetColCheckMode(1, cmBox);
  d.SetElemChecked(1, 1, true);
  EXPECT_DOUBLE_EQ(static_cast<double>(d.GetAsNumber(1, 1)), 3.5) << "the marker is skipped";
  d.SetElem(1, 4, "x1");
  try {
    d.GetAsNumber(1, 4);
    FAIL() << "no exception";
  } catch (const EQELDStructError& e) {
    EXPECT_EQ(e.Message, "Class TRLData: invalid numeric string: [1,4]:  x1")
        << "the message shows the stored text, marker included";
  }
}

TEST(RLDataValues, DefaultValuesPerTypeLetter) {
  TRLData d(nullptr);
  d.SetNrCols(1);
  auto def = [&](const std::string& Format, int Row) {
    d.SetColumnFormat(1, Format);
    return d.GetCellDefaultValue(1, Row);
  };
  EXPECT_EQ(def("[i][80]rix4", 7), "0007");
  EXPECT_EQ(def("[i]rix2", 12345), "45") << "higher digits are dropped";
  EXPECT_EQ(def("[i]rix0", 7), "7");
  EXPECT_EQ(def("[i]rix3", -7), "-007");
  EXPECT_EQ(def("[i]RIX 3", 7), "007");
  EXPECT_EQ(def("[i]42", 7), "42");
  EXPECT_EQ(def("[h]rix2", 255), "FF");
  EXPECT_EQ(def("[h]rix2", 256), "00");
  EXPECT_EQ(def("[h]rix12", 255), "000000FF") << "at most 8 digits";
  EXPECT_EQ(def("[h]rix0", 10), "A");
  EXPECT_EQ(def("[h]rix4", -1), "FFFF");
  EXPECT_EQ(def("[f]rix2", 7), "7.00");
  EXPECT_EQ(def("[e]rix+1", 3), "3.0");
  EXPECT_EQ(def("[f]1.5", 3), "1.5");
  EXPECT_EQ(def("[c:5][120]red|green|blue", 1), "red");
  EXPECT_EQ(def("[l]one", 1), "one");
  EXPECT_EQ(def("[dyyyy-mm-dd]2024-01-02", 1), "2024-01-02");
  EXPECT_EQ(def("[s]plain", 1), "plain");
  EXPECT_EQ(def("[#i]rix4", 7), "") << "read-only columns have no default";
  EXPECT_EQ(def("[x]abc", 1), "");
  EXPECT_EQ(def("[i]", 1), "");
  EXPECT_EQ(def("no brackets", 1), "");
  EXPECT_EQ(def("[i]rix999999999999", 1).size(), 255u) << "absurd widths stay a cell";
  const std::string pwd = def("[s]$pwd$8", 1);
  EXPECT_EQ(pwd.size(), 8u);
  for (char ch : pwd) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)));
  EXPECT_NE(def("[s]$PWD$ 16", 1), def("[s]$PWD$ 16", 1)) << "invented afresh each time";
  EXPECT_EQ(d.GetCellDefaultValue(5, 1), "");
}

TEST(RLDataSort, SortsThroughTheOrderIndexWithTheHookAndAttributes) {
  auto d = MakeStore(2, 4);
  const char* keys[] = {"", "delta", "alpha", "charlie", "bravo"};
  for (int r = 1; r <= 4; ++r) d->SetElem(1, r, keys[r]);
  d->GetStorage()->SetRowAttrib(2, kRowSelectedBit);  // "alpha"
  int calls = 0;
  TObject* sender = nullptr;
  d->OnBeforeSortExchange = [&](TObject* S, std::string& A, std::string& B) {
    ++calls;
    sender = S;
    // Sort by the last letter instead.
    A = A.empty() ? A : A.substr(A.size() - 1);
    B = B.empty() ? B : B.substr(B.size() - 1);
  };
  d->Sort(1, -1, true);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(sender, d.get());
  EXPECT_EQ(d->GetSortColumn(), 1);
  // alpha(a) delta(a) charlie(e) bravo(o): ties keep the stored order.
  EXPECT_EQ(d->GetElem(1, 1), "delta");
  EXPECT_EQ(d->GetElem(1, 2), "alpha");
  EXPECT_EQ(d->GetElem(1, 3), "charlie");
  EXPECT_EQ(d->GetElem(1, 4), "bravo");
  EXPECT_EQ(d->GetElem(2, 2), "c2r2") << "the row's cells travel together";
  EXPECT_EQ(d->GetStorage()->GetRowAttrib(2), kRowSelectedBit) << "and so does its attribute";
  d->UnSort();
  EXPECT_EQ(d->GetSortColumn(), -1);
  EXPECT_EQ(d->GetElem(1, 1), "delta");
  EXPECT_EQ(d->GetElem(1, 2), "alpha");
  d->OnBeforeSortExchange = nullptr;
  d->Sort(1, 2, false);
  EXPECT_TRUE(d->GetStorage()->OnBeforeSortExchange) << "the store's hook is back after a sort";
  EXPECT_EQ(d->GetElem(1, 1), "delta");
  EXPECT_EQ(d->GetElem(1, 4), "alpha");
  EXPECT_FALSE(d->GetSortOrder());
  EXPECT_EQ(d->GetSortColumnSec(), 2);
  d->RemoveRow(1);  // commits the sorted order
  EXPECT_FALSE(d->GetStorage()->IsSorted());
  EXPECT_EQ(d->GetElem(1, 1), "charlie");
}

TEST(RLDataClipboard, FixedWidthTabAndSeparatorLayouts) {
  TRLData d(nullptr);
  d.SetNrCols(2);
  d.SetNrRows(2);
  d.SetColName(1, "Name");
  d.SetColName(2, "OK");
  d.SetColCheckMode(2, cmBox);
  d.SetElem(1, 1, "Al");
  d.SetElem(1, 2, "Bernadette");
  d.SetElem(2, 1, "yes");
  d.SetElemChecked(2, 1, true);
  // Widths: column 1 = 10 (Bernadette), column 2 = 4 (the stored "Xyes" counts its marker).
  EXPECT_EQ(d.ClipboardText(1, 1, 2, 2, true, false),
            "Name       OK   \n\nAl         yes  \nBernadette      \n");
  EXPECT_EQ(d.ClipboardText(1, 1, 2, 2, false, true), "Al\tyes\nBernadette\t\n");
  EXPECT_EQ(d.ClipboardText(1, 1, 2, 2, true, true), "Name\tOK\n\nAl\tyes\nBernadette\t\n");
  EXPECT_EQ(d.ClipboardText(1, 2, 2, 2, true, std::string(" | ")), "Name | OK\n\nBernadette | \n");
  d.CopyToClipBoard(1, 1, 1, 1, false, ";");
  EXPECT_EQ(Clipboard()->GetAsText(), "Al\n") << "a literal separator picks the separator copy";
  d.CopyToClipBoard(1, 1, 2, 1, false, true);
  EXPECT_EQ(Clipboard()->GetAsText(), "Al\tyes\n");
  d.CopyToClipBoard(0, 0, 99, 99, false, std::string(","));
  EXPECT_EQ(Clipboard()->GetAsText(), ",Al,yes\n,Bernadette,\n") << "ranges are clamped";
}

TEST(RLDataAssign, CopiesContentsOrderAndSetupButNotTheHtmlHook) {
  auto src = MakeStore(3, 4);
  src->SetName("Src");
  src->SetColName(2, "two");
  src->SetColumnFormat(3, "[i]rix3");
  src->SetColCheckMode(3, cmRadio);
  src->SetElemChecked(3, 2, true);
  src->SetElem(0, 4, "label4");
  src->SetComment("note");
  src->SetDataID("ID7");
  src->SetCommonHeader("Head");
  src->SetHeaderSortDirection(false);
  src->GetStorage()->SetRowAttrib(4, kRowDisabledBit);
  src->GetStorage()->SetColAttrib(1, kColSelectedBit);
  src->OnBeforeHTMLExport = [](TObject*, std::string&, int, int) {};
  src->OnBeforeSortExchange = [](TObject*, std::string&, std::string&) {};
  src->Sort(1, -1, false);  // pending order: rows reversed

  TRLData dst(nullptr);
  int changes = 0;
  dst.GetStorage()->OnChange = [&](TObject*) { ++changes; };
  dst.Assign(src.get());
  EXPECT_GT(changes, 0) << "the new storage keeps the installed change hook";
  EXPECT_EQ(dst.GetNrOfColumns(), 3);
  EXPECT_EQ(dst.GetNrOfRows(), 4);
  EXPECT_EQ(dst.GetWorkTotal(), 16);
  EXPECT_EQ(dst.GetColName(2), "two");
  EXPECT_EQ(dst.GetColumnFormat(3), "[i]rix3");
  EXPECT_EQ(dst.GetColCheckMode(3), cmRadio);
  EXPECT_EQ(dst.GetComment(), "note");
  EXPECT_EQ(dst.GetDataID(), "ID7");
  EXPECT_EQ(dst.GetCommonHeader(), "Head");
  EXPECT_FALSE(dst.GetHeaderSortDirection());
  EXPECT_EQ(dst.GetSortColumn(), 1);
  EXPECT_FALSE(dst.GetSortOrder());
  for (int r = 1; r <= 4; ++r)
    for (int c = 0; c <= 3; ++c) EXPECT_EQ(dst.GetStoredElem(c, r), src->GetStoredElem(c, r));
  EXPECT_EQ(dst.GetElem(0, 1), "label4");
  EXPECT_EQ(dst.GetStorage()->GetRowAttrib(1), kRowDisabledBit);
  EXPECT_EQ(dst.GetStorage()->GetColAttrib(1), kColSelectedBit);
  EXPECT_TRUE(dst.OnBeforeSortExchange);
  EXPECT_FALSE(dst.OnBeforeHTMLExport);
  dst.UnSort();
  EXPECT_EQ(dst.GetElem(1, 1), "c1r1") << "the pending sort came along, not a committed one";

  TRLData viaAssignTo(nullptr);
  src->SetName("");
  static_cast<TPersistent*>(&viaAssignTo)->Assign(src.get());
  EXPECT_EQ(viaAssignTo.GetDataID(), "ID7");
  TStringList notAStore;
  EXPECT_THROW(viaAssignTo.Assign(&notAStore), EConvertError);
}

}  // namespace
}  // namespace qel

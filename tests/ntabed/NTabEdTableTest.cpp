// TNTabEd's binding to its table, dimensions and lines, names, attributes, states, widths,
// decimal places, events with their suppression, and the registered properties.
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "tests/ntabed/NTabEdFixture.h"

namespace qel::test {
namespace {

// Counts the editor's change events by name.
struct EventLog {
  std::vector<std::string> Events;
  void Attach(TNTabEd& E) {
    auto add = [this](const char* N) { return [this, N](TObject*) { Events.push_back(N); }; };
    E.OnChange = add("change");
    E.OnHeadingChanged = add("heading");
    E.OnAttributeChanged = add("attrib");
    E.OnLayoutChanged = add("layout");
    E.OnCellStateChanged = add("states");
    E.OnSelectionChanged = add("selection");
    E.OnChangeSetup = add("setup");
  }
  std::vector<std::string> Take() { return std::exchange(Events, {}); }
};
using V = std::vector<std::string>;

TEST_F(NTabEdTest, GridLayoutFollowsTheTableAndTheAttributeLines) {
  EXPECT_EQ(Ed->GetColCount(), 3 + 1 + 1);
  EXPECT_EQ(Ed->GetRowCount(), 4 + 0 + 1);
  EXPECT_EQ(Ed->GetFixedCols(), 2);
  Ed->SetColAttVis(true);
  EXPECT_EQ(Ed->GetRowCount(), 4 + 1 + 1);
  EXPECT_EQ(Ed->GetFixedRows(), 2);
  EXPECT_EQ(Ed->GridRow(1), 2);
  Ed->SetRowAttVis(false);
  EXPECT_EQ(Ed->GetColCount(), 3 + 1);
  EXPECT_EQ(Ed->GetFixedCols(), 1);
  EXPECT_EQ(Ed->GridCol(1), 1);
}

TEST_F(NTabEdTest, NewColumnsTakeWidthAndDecimalsOfTheLastAndLinesInsertAndRemoveInRange) {
  Ed->SetColWidths(3, 91);
  Ed->SetDecPlaces(3, 5);
  Ed->SetNrCols(5);
  EXPECT_EQ(Ed->GetColWidths(4), 91);
  EXPECT_EQ(Ed->GetColWidths(5), 91);
  EXPECT_EQ(Ed->GetDecPlaces(5), 5);
  EXPECT_EQ(Ed->GetColCount(), 5 + 2);

  TNTabEd one(nullptr);
  one.SetNrCols(1);
  one.RemoveColumn(1);  // the last column stays
  EXPECT_EQ(one.NrOfColumns(), 1);
  Ed->InsertRow(Ed->NrOfRows() + 2);  // beyond the end: nothing
  EXPECT_EQ(Ed->NrOfRows(), 4);
  Ed->InsertRow(Ed->NrOfRows() + 1);  // appends
  EXPECT_EQ(Ed->NrOfRows(), 5);
  EXPECT_EQ(Ed->GetRowCount(), 6);
  Ed->RemoveRow(1);
  EXPECT_EQ(Ed->NrOfRows(), 4);

  // Decimal places travel with their columns through insertion, removal and mirroring.
  Ed->SetDecPlaces(1, 0);
  Ed->SetDecPlaces(2, 7);
  Ed->InsertColumn(2);
  EXPECT_EQ(Ed->GetDecPlaces(1), 0);
  EXPECT_EQ(Ed->GetDecPlaces(3), 7);
  Ed->RemoveColumn(1);
  EXPECT_EQ(Ed->GetDecPlaces(2), 7);
  Ed->MirrorColumns();
  EXPECT_EQ(Ed->GetDecPlaces(Ed->NrOfColumns() - 1), 7);
}

TEST_F(NTabEdTest, SizesBeyondMemoryRaiseTheEditorsErrorAndKeepTheTable) {
  Ed->SetElem(3, 4, 2.5);
  try {
    Ed->Redimension(100000, 100000);
    FAIL() << "no error";
  } catch (const EQELNTabedError& E) {
    EXPECT_EQ(E.Message, "Component \"Tab1\": not enough memory on heap");
  }
  EXPECT_THROW(Ed->SetNrRows(1 << 30), EQELNTabedError);
  EXPECT_EQ(Ed->NrOfColumns(), 3);
  EXPECT_EQ(Ed->NrOfRows(), 4);
  EXPECT_EQ(Ed->GetColCount(), 5);
  EXPECT_EQ(Ed->GetElem(3, 4), 2.5);
}

TEST_F(NTabEdTest, ClearNamesLinesAndResetsDecimals) {
  Ed->SetDecPlaces(2, 8);
  Ed->SetElem(1, 1, 4.5);
  Ed->Clear();
  EXPECT_EQ(Ed->GetColName(2), "C-2");
  EXPECT_EQ(Ed->GetRowName(3), "R-3");
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(Ed->GetDecPlaces(c), 3);
  EXPECT_EQ(Ed->GetElem(1, 1), 0);
}

TEST_F(NTabEdTest, SettersClampOrIgnoreAndFireTheirEvents) {
  EventLog log;
  log.Attach(*Ed);
  struct Case {
    int In, Stored;
  };
  for (Case c : {Case{-5, -1}, Case{12, 10}, Case{4, 4}}) {
    Ed->SetDecPlaces(1, c.In);
    EXPECT_EQ(Ed->GetDecPlaces(1), c.Stored) << c.In;
  }
  EXPECT_EQ(log.Take(), (V{"layout", "layout", "layout"}));
  Ed->SetDecPlaces(9, 2);  // outside the table: ignored
  EXPECT_EQ(Ed->GetDecPlaces(9), 0);
  EXPECT_TRUE(log.Take().empty());
  Ed->SetNumWidth(21);
  EXPECT_EQ(Ed->GetNumWidth(), 1);
  EXPECT_EQ(log.Take(), V{"layout"});

  Ed->SetColName(1, std::string(60, 'x'));
  EXPECT_EQ(Ed->GetColName(1), std::string(50, 'x'));
  Ed->SetRowName(9, "none");
  EXPECT_EQ(Ed->GetRowName(9), "");
  EXPECT_EQ(log.Take(), V{"heading"});
  Ed->SetColAttrib(2, 300);
  Ed->SetRowAttrib(4, 17);
  EXPECT_EQ(Ed->GetColAttrib(2), 255);
  EXPECT_EQ(Ed->GetRowAttrib(4), 17);
  EXPECT_EQ(Ed->GetRowAttrib(5), 0);
  EXPECT_EQ(log.Take(), (V{"attrib", "attrib"}));
  Ed->SetComment("one\ttwo\r\nthree");
  EXPECT_EQ(Ed->GetComment(), "onetwothree");
  EXPECT_EQ(log.Take(), V{"change"});

  Ed->SetSuppressPaint(true);
  Ed->SetColName(2, "quiet");
  Ed->SetElemMarkedA(1, 1, true);
  EXPECT_TRUE(log.Take().empty());
  Ed->SetSuppressPaint(false);
  Ed->SetNrRows(7);
  EXPECT_EQ(log.Take(), V{"setup"});
}

TEST_F(NTabEdTest, CellStatesAndMarks) {
  Ed->SetElemMarkedA(2, 3, true);
  Ed->SetElemMarkedB(2, 3, true);
  Ed->SetElemMarkedB(1, 4, true);
  Ed->SetElemMarkedA(7, 7, true);  // outside: nothing stored
  EXPECT_EQ(Ed->GetCellState(2, 3), dtsMarkedA | dtsMarkedB);
  EXPECT_TRUE(Ed->IfRowMarked(3));
  EXPECT_FALSE(Ed->IfRowMarked(2));
  EXPECT_FALSE(Ed->IfRowMarked(0));
  EXPECT_TRUE(Ed->IfColumnMarked(1));
  EXPECT_FALSE(Ed->IfColumnMarked(3));
  EXPECT_EQ(Ed->NrOfMarkedDataA(), 1);
  EXPECT_EQ(Ed->NrOfMarkedDataB(), 2);
  Ed->SetIsEmpty(3, 1, true);
  EXPECT_TRUE(Ed->GetIsEmpty(3, 1));
  EXPECT_FALSE(Ed->GetIsNumber(3, 1));
  Ed->SetCellState(3, 2, dtsLocked | dtsNoNumber | 0x04);
  EXPECT_EQ(Ed->GetCellState(3, 2), dtsLocked | dtsNoNumber | 0x04);
  Ed->UnMarkAllElems();
  EXPECT_FALSE(Ed->IfAnyMarked());
  EXPECT_EQ(Ed->GetCellState(3, 2), dtsLocked | dtsNoNumber | 0x04);  // other bits kept
  Ed->MarkAllElemsB();
  EXPECT_EQ(Ed->NrOfMarkedDataB(), 12);
  Ed->ExchangeMarkings();
  EXPECT_EQ(Ed->NrOfMarkedDataA(), 12);
  EXPECT_EQ(Ed->NrOfMarkedDataB(), 0);
  Ed->FillMarkedCells(2.5, dtsMarkedA);
  EXPECT_EQ(Ed->GetElem(3, 4), 2.5);
}

TEST_F(NTabEdTest, WidthsOfTheHeadingColumnsAndAttributeLinesKeepDataWidths) {
  Ed->SetColWidths(1, 50);
  Ed->SetColWidths(2, 70);
  Ed->SetColWidths(3, 90);
  Ed->SetColWidths(-1, 40);
  EXPECT_EQ(Ed->GetColWidths(-1), 40);
  EXPECT_EQ(Ed->GetColWidths(0), 80);
  Ed->SetRowAttVis(false);
  EXPECT_EQ(Ed->GetColWidths(-1), 0);
  Ed->SetRowAttVis(true);
  EXPECT_EQ(Ed->GetColWidths(-1), 40);
  EXPECT_EQ(Ed->GetColWidths(1), 50);
  EXPECT_EQ(Ed->GetColWidths(2), 70);
  EXPECT_EQ(Ed->GetColWidths(3), 90);
  Ed->SetDefColWidth(55);
  EXPECT_EQ(Ed->GetColWidths(0), 80);
  EXPECT_EQ(Ed->GetColWidths(-1), 40);
  EXPECT_EQ(Ed->GetColWidths(2), 55);
  // AutoColWidth measures the widest value text.
  Ed->SetElem(2, 1, 12345.5);
  const int w = Ed->AutoColWidth(2, false, 0);
  EXPECT_EQ(w, Ed->Canvas()->TextWidth("12345.500") + 8);
  EXPECT_EQ(Ed->GetColWidths(2), w);
  EXPECT_EQ(Ed->AutoColWidth(7, true, 0), 8);  // no such column: the bare margin
}

TEST_F(NTabEdTest, NamesAreFoundIgnoringCase) {
  Ed->Clear();
  Ed->SetColName(3, "Volts");
  EXPECT_EQ(Ed->FindColIndex("VOLTS"), 3);
  EXPECT_EQ(Ed->FindColIndex("amps"), 0);
  EXPECT_EQ(Ed->FindRowIndex("r-2"), 2);
}

TEST_F(NTabEdTest, HostTableIsShownAndLeftAliveAndDetached) {
  auto host = std::make_unique<TDataTable>(6, 9);
  host->SetElem(6, 9, 42);
  {
    auto* e = new TNTabEd(nullptr);
    e->AssignAnotherDataMatrix(host.get());
    EXPECT_FALSE(e->OwnsDataTable());
    EXPECT_EQ(e->NrOfColumns(), 6);
    EXPECT_EQ(e->GetColCount(), 6 + 2);
    EXPECT_EQ(e->GetRowCount(), 10);
    EXPECT_EQ(e->GetDecPlaces(6), 3);
    host->Resize(8, 9);  // the host's own changes reach the grid
    EXPECT_EQ(e->GetColCount(), 8 + 2);
    delete e;
  }
  // The editor is gone; the table neither calls it nor has lost anything.
  host->SetElem(1, 1, 1);
  host->Resize(2, 2);
  EXPECT_EQ(host->GetElem(1, 1), 1);
}

TEST_F(NTabEdTest, CopyContentsAndStatesFromAnotherEditor) {
  TNTabEd src(nullptr);
  src.Redimension(4, 2);
  src.SetElem(4, 2, 9.25);
  src.SetCellState(1, 1, dtsMarkedB);
  src.SetColName(2, "B");
  src.SetRowAttrib(2, 7);
  src.SetDecPlaces(4, 1);
  src.SetComment("note");
  Ed->CopyContentsFrom(&src);
  EXPECT_EQ(Ed->NrOfColumns(), 4);
  EXPECT_EQ(Ed->NrOfRows(), 2);
  EXPECT_EQ(Ed->GetElem(4, 2), 9.25);
  EXPECT_EQ(Ed->GetCellState(1, 1), dtsMarkedB);
  EXPECT_EQ(Ed->GetColName(2), "B");
  EXPECT_EQ(Ed->GetRowAttrib(2), 7);
  EXPECT_EQ(Ed->GetDecPlaces(4), 1);
  EXPECT_EQ(Ed->GetComment(), "note");

  TNTabEd small(nullptr);
  small.Redimension(1, 1);
  small.SetCellState(1, 1, dtsMarkedA);
  Ed->CopyCellStatesFrom(&small);
  EXPECT_EQ(Ed->GetCellState(1, 1), dtsMarkedA);
  EXPECT_EQ(Ed->GetElem(4, 2), 9.25);
}

TEST_F(NTabEdTest, SortingColumnsCarriesTheirDecimalPlaces) {
  Ed->Redimension(3, 2);
  Ed->SetElem(1, 1, 30);
  Ed->SetElem(2, 1, 10);
  Ed->SetElem(3, 1, 20);
  Ed->SetDecPlaces(1, 0);
  Ed->SetDecPlaces(2, 1);
  Ed->SetDecPlaces(3, 2);
  Ed->SortCols(1, true, 1, 1, 3, 2, true);
  EXPECT_EQ(Ed->GetElem(1, 1), 10);
  EXPECT_EQ(Ed->GetElem(3, 1), 30);
  EXPECT_EQ(Ed->GetDecPlaces(1), 1);
  EXPECT_EQ(Ed->GetDecPlaces(2), 2);
  EXPECT_EQ(Ed->GetDecPlaces(3), 0);
  // Sorting rows leaves the decimal places where they are.
  Ed->SortRows(1, false, 1, 1, 3, 2, true);
  EXPECT_EQ(Ed->GetDecPlaces(1), 1);
}

TEST_F(NTabEdTest, ScrollPositionIsInTableIndices) {
  Ed->Redimension(40, 500);
  int scrolls = 0;
  Ed->OnTopLeftChanged = [&](TObject*) { ++scrolls; };
  Show();
  Ed->SetSuppressPaint(true);  // scrolls are reported all the same
  Ed->SetTopRow(100);
  Ed->SetSuppressPaint(false);
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(Ed->GetTopRow(), 100);
  EXPECT_EQ(Ed->TCustomGrid::GetTopRow(), 100);
  Ed->SetLeftCol(0);  // clamped to the first column
  EXPECT_EQ(Ed->GetLeftCol(), 1);
}

TEST_F(NTabEdTest, RegisteredDefaultsMatchAFreshEditorAndAFormRoundTrips) {
  RegisterNTabEdClasses();
  RegisterNTabEdClasses();
  const TClassInfo& info = GetClassInfo("TNTabEd");
  TNTabEd fresh(nullptr);
  for (const TPropInfo* p : info.Properties()) {
    if (!p->HasDefault || p->Kind == pkClass) continue;
    EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name << " is " << GetPropText(&fresh, *p);
  }
  Ed->SetNrCols(6);
  Ed->SetRowAttVis(false);
  Ed->SetColAttVis(true);
  Ed->SetFColorRngSelBG(clYellow);
  Ed->SetNumWidth(4);
  Ed->SetAutoAdvanceDir(orHorizontal);
  Ed->SetComment("table of readings");
  Form->SetName("Main");
  const std::string text = WriteComponentText(Form);
  std::unique_ptr<TComponent> copy(CreateComponentFromText(text, nullptr));
  auto* e = dynamic_cast<TNTabEd*>(copy->FindComponent("Tab1"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->NrOfColumns(), 6);
  EXPECT_FALSE(e->GetRowAttVis());
  EXPECT_TRUE(e->GetColAttVis());
  EXPECT_EQ(e->GetColCount(), 6 + 1);
  EXPECT_EQ(e->GetRowCount(), 4 + 2);
  EXPECT_EQ(e->GetColorRangeSelBG(), clYellow);
  EXPECT_EQ(e->GetNumWidth(), 4);
  EXPECT_EQ(e->GetAutoAdvanceDir(), orHorizontal);
  EXPECT_EQ(e->GetComment(), "table of readings");
  EXPECT_EQ(WriteComponentText(copy.get()), text);
}

}  // namespace
}  // namespace qel::test

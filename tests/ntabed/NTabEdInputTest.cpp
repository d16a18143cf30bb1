// TNTabEd driven through injected input: typing numbers and nominal identifiers, Enter with
// AutoAdvance, locking, first and second clicks, the heading and data menus, the comment mode.
#include <string>
#include <vector>

#include "tests/ntabed/NTabEdFixture.h"

namespace qel::test {
namespace {

TEST_F(NTabEdTest, TypedNumbersTakeCommaAndBlanksAndBadTextSetsNoNumber) {
  Show();
  // Every keystroke reaches the cell: "1e999" leaves the value "1e99" had, marked no number.
  struct Case {
    const char* Typed;
    double Value;
    bool Number;
  };
  const Case cases[] = {{"3,5", 3.5, true},   {" -12.25 ", -12.25, true}, {"1e3", 1000, true},
                        {"   ", 1000, false}, {"abc", 1000, false},       {"1e999", 1e99, false}};
  for (const Case& c : cases) {
    Ed->SetTableSelection({2, 2, 2, 2});
    Input().TypeText(c.Typed);
    Input().PressKey(VK_RETURN);
    EXPECT_EQ(Ed->GetElem(2, 2), c.Value) << c.Typed;
    EXPECT_EQ(Ed->GetCellState(2, 2) & dtsNoNumber, c.Number ? 0 : dtsNoNumber) << c.Typed;
    Ed->SetCellState(2, 2, 0);
  }
}

TEST_F(NTabEdTest, EnterAdvancesDownOrRightAndStoresTheEntry) {
  Show();
  for (TOrientation dir : {orVertical, orHorizontal}) {
    Ed->SetAutoAdvanceDir(dir);
    ClickCell(1, 1);
    Input().TypeText("7,25");
    Input().PressKey(VK_RETURN);
    EXPECT_EQ(Ed->GetElem(1, 1), 7.25);
    EXPECT_FALSE(Ed->GetEditorMode());
    const TGridRect s = Ed->TableSelection();
    EXPECT_EQ(s.Left, dir == orVertical ? 1 : 2);
    EXPECT_EQ(s.Top, dir == orVertical ? 2 : 1);
    // Enter on a cell that is not being edited moves on as well.
    Input().PressKey(VK_RETURN);
    EXPECT_EQ(Ed->TableSelection().Left, dir == orVertical ? 1 : 3);
    EXPECT_EQ(Ed->TableSelection().Top, dir == orVertical ? 3 : 1);
  }
  Ed->SetAutoAdvance(false);
  ClickCell(2, 2);
  Input().TypeText("5");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetElem(2, 2), 5);
  EXPECT_EQ(Ed->TableSelection().Top, 2);
}

TEST_F(NTabEdTest, NominalColumnsTakeIdentifiersAndIntegers) {
  TDataTable* t = Ed->DataTable();
  t->SetMScaleType(2, mstNominal);
  t->SetNominalID(2, 1, "red");
  t->SetNominalID(2, 2, "green");
  t->SetNominalID(2, 5, "blue");
  Show();
  Ed->SetCellState(2, 1, dtsMarkedA | dtsNoNumber);
  ClickCell(2, 1);
  Input().TypeText("GREEN");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetElem(2, 1), 2);
  EXPECT_EQ(Ed->GetCellState(2, 1), 0);  // a known identifier: marks go too

  Ed->SetCellState(2, 2, dtsMarkedA | dtsNoNumber);
  ClickCell(2, 2);
  Input().TypeText("7");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetElem(2, 2), 7);
  EXPECT_EQ(Ed->GetCellState(2, 2), dtsMarkedA);  // an integer: marks stay

  ClickCell(2, 3);
  Input().TypeText("purple");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetCellState(2, 3) & dtsNoNumber, dtsNoNumber);

  // The editor of a nominal cell is a pick list of the identifiers in ordinal order.
  Ed->SetTableSelection({2, 1, 2, 1});
  Input().PressKey(VK_F2);
  ASSERT_TRUE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->InplaceEditor()->GetEditStyle(), esPickList);
  EXPECT_EQ(Ed->InplaceEditor()->GetText(), "green");
  Input().PressKey(VK_F4);
  ASSERT_TRUE(Ed->InplaceEditor()->GetDroppedDown());
  const TStrings& items = Ed->InplaceEditor()->PickItems();
  ASSERT_EQ(items.GetCount(), 3);
  EXPECT_EQ(items.Get(2), "blue");
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetElem(2, 1), 5);
}

TEST_F(NTabEdTest, LockedCellsAndReadOnlyRefuseEditingButNotNavigation) {
  Show();
  Ed->SetElem(1, 2, 4);
  Ed->SetCellState(1, 2, dtsLocked);
  ClickCell(1, 2);
  Input().TypeText("9");
  EXPECT_FALSE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->GetElem(1, 2), 4);
  Input().PressKey(VK_F2);
  EXPECT_FALSE(Ed->GetEditorMode());
  Input().PressKey(VK_RIGHT);
  EXPECT_EQ(Ed->TableSelection().Left, 2);

  Ed->SetDataReadOnly(true);
  ClickCell(3, 3);
  ClickCell(3, 3);
  Input().TypeText("1");
  EXPECT_FALSE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->GetElem(3, 3), 0);
  Ed->SetDataReadOnly(false);
  Input().TypeText("1");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetElem(3, 3), 1);
}

TEST_F(NTabEdTest, FirstClickSelectsSecondClickEdits) {
  Ed->SetElem(2, 3, 1.5);
  Show();
  ClickCell(2, 3);
  EXPECT_FALSE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->ClickedCell(), (TGridCoord{Ed->GridCol(2), Ed->GridRow(3)}));
  ClickCell(2, 3);
  ASSERT_TRUE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->InplaceEditor()->GetText(), "1.500");
  ClickCell(3, 3);  // elsewhere: a first click again
  EXPECT_FALSE(Ed->GetEditorMode());
}

TEST_F(NTabEdTest, SelectionChangesAreReportedAndTheCornerShowsTheCursor) {
  int changes = 0;
  Ed->OnSelectionChanged = [&](TObject*) { ++changes; };
  Show();
  TPoint a = CellCenter(1, 1), b = CellCenter(3, 2);
  Input().Drag(a, b);
  EXPECT_GE(changes, 1);
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{1, 1, 3, 2}));
  changes = 0;
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(changes, 1);
}

TEST_F(NTabEdTest, MarkCommandsOverRangeColumnRowAndAll) {
  Ed->Redimension(4, 5);
  Show();
  struct Case {
    const char* Item;
    const char* Sub;
    int64_t A, B;
  };
  // Selection: columns 2..3, rows 2..4 (6 cells).
  const Case cases[] = {{"Mark as type A", "Range", 6, 0}, {"Mark as type B", "Column", 6, 10},
                        {"Mark as type A", "Row", 12, 10}, {"Unmark type B", "Row", 12, 4},
                        {"Unmark type A", "Column", 6, 4}, {"Mark as type B", "All", 6, 20},
                        {"Unmark type A", "All", 0, 20}};
  int stateEvents = 0;
  Ed->OnCellStateChanged = [&](TObject*) { ++stateEvents; };
  for (const Case& c : cases) {
    SelectRange(2, 2, 3, 4);
    DataCommand(2, 2, c.Item, c.Sub);
    EXPECT_EQ(Ed->NrOfMarkedDataA(), c.A) << c.Item << " " << c.Sub;
    EXPECT_EQ(Ed->NrOfMarkedDataB(), c.B) << c.Item << " " << c.Sub;
  }
  EXPECT_EQ(stateEvents, 7);
  DataCommand(1, 1, "Unmark All");
  EXPECT_FALSE(Ed->IfAnyMarked());
}

TEST_F(NTabEdTest, ClearToggleEmptySelectAllAndReadOnlyCommands) {
  Ed->Fill(8);
  Show();
  SelectRange(1, 1, 2, 2);
  DataCommand(1, 1, "Toggle Empty State");
  EXPECT_TRUE(Ed->GetIsEmpty(2, 2));
  EXPECT_FALSE(Ed->GetIsEmpty(3, 2));
  Ed->SetCellState(1, 1, dtsMarkedA | dtsEmpty);
  DataCommand(1, 1, "Clear");
  EXPECT_EQ(Ed->GetElem(1, 1), 0);
  EXPECT_EQ(Ed->GetCellState(1, 1), 0);
  EXPECT_EQ(Ed->GetElem(3, 1), 8);
  // A host's OnClear replaces the built-in clearing.
  int cleared = 0;
  Ed->OnClear = [&](TObject* Sender) {
    ++cleared;
    EXPECT_EQ(Sender, Ed->DataItem(6));
  };
  Ed->SetTableSelection({3, 3, 3, 3});
  DataCommand(3, 3, "Clear");
  EXPECT_EQ(cleared, 1);
  EXPECT_EQ(Ed->GetElem(3, 3), 8);

  DataCommand(2, 2, "Select All");
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{1, 1, 3, 4}));
  DataCommand(2, 2, "Data Read-Only");
  EXPECT_TRUE(Ed->GetDataReadOnly());
  ClickCell(2, 2, mbRight);
  EXPECT_TRUE(Ed->DataItem(9)->GetChecked());
  EXPECT_FALSE(Ed->DataItem(6)->GetEnabled());
  EXPECT_FALSE(Ed->DataItem(10)->GetEnabled());
  EXPECT_TRUE(Ed->DataItem(9)->HasBitmap());
  Ed->DataMenu()->CloseMenu();
}

TEST_F(NTabEdTest, MenusStayShutForAHostMenuOrWhenBlocked) {
  Show();
  int before = 0;
  Ed->OnBeforePopup = [&](TObject*, TPopupMenu*) { ++before; };
  Ed->SetBlockInternalPopup(true);
  ClickCell(1, 1, mbRight);
  ClickCell(1, 0, mbRight);
  EXPECT_FALSE(Ed->DataMenu()->IsOpen());
  EXPECT_FALSE(Ed->HeadingMenu()->IsOpen());
  Ed->SetBlockInternalPopup(false);
  ClickCell(1, 1, mbRight);
  EXPECT_TRUE(Ed->DataMenu()->IsOpen());
  EXPECT_EQ(before, 1);
}

TEST_F(NTabEdTest, ChangePrecisionCyclesAndReopensTheMenu) {
  Show();
  Ed->SetDecPlaces(2, 1);
  const int expected[] = {0, -1, 10, 9};
  ClickCell(2, 0, mbRight);
  for (int d : expected) {
    ChooseItem(Ed->HeadingMenu(), 0, "Change Precision");
    EXPECT_EQ(Ed->GetDecPlaces(2), d);
    EXPECT_TRUE(Ed->HeadingMenu()->IsOpen());
  }
  Ed->HeadingMenu()->CloseMenu();
  // On a row heading the step is not offered.
  ClickCell(0, 2, mbRight);
  EXPECT_FALSE(Ed->HeadingItem(2)->GetEnabled());
  EXPECT_EQ(Ed->GetPopupHCaption(3), "Select Row");
  Ed->HeadingMenu()->CloseMenu();
}

TEST_F(NTabEdTest, InsertDeleteAndSelectLinesFromTheirHeadings) {
  Show();
  Ed->Clear();
  Ed->SetElem(2, 1, 22);
  HeadingCommand(2, 0, "Insert Column");
  EXPECT_EQ(Ed->NrOfColumns(), 4);
  EXPECT_EQ(Ed->GetColName(2), "(...)");
  EXPECT_EQ(Ed->GetColName(3), "C-2");
  EXPECT_EQ(Ed->GetElem(3, 1), 22);
  HeadingCommand(0, 3, "Insert Row");
  EXPECT_EQ(Ed->NrOfRows(), 5);
  EXPECT_EQ(Ed->GetRowName(3), "(...)");
  EXPECT_EQ(Ed->GetRowName(4), "R-3");
  int setups = 0;
  Ed->OnChangeSetup = [&](TObject*) { ++setups; };
  HeadingCommand(1, 0, "Delete Column");
  EXPECT_EQ(Ed->NrOfColumns(), 3);
  EXPECT_EQ(Ed->GetColName(1), "(...)");
  EXPECT_EQ(setups, 1);
  HeadingCommand(2, 0, "Select Column");
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{2, 1, 2, 5}));
  HeadingCommand(0, 4, "Select Row");
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{1, 4, 3, 4}));
  // Masks and read-only take items away.
  Ed->SetPopupHMask(0x1F & ~8);
  Ed->SetDataReadOnly(true);
  ClickCell(2, 0, mbRight);
  EXPECT_FALSE(Ed->HeadingItem(4)->GetEnabled());
  EXPECT_FALSE(Ed->HeadingItem(5)->GetEnabled());
  EXPECT_TRUE(Ed->HeadingItem(3)->GetEnabled());
  Ed->HeadingMenu()->CloseMenu();
}

TEST_F(NTabEdTest, EditHeadingStoresNamesAndAttributes) {
  Ed->SetColAttVis(true);
  Show();
  struct Case {
    int C, R;  // table indices; 0 = heading line, -1 = attribute line
    const char* Typed;
    bool Enter;
  };
  auto open = [&](int C, int R) {
    const int gc = C > 0 ? Ed->GridCol(C) : C == 0 ? 0 : 1;
    const int gr = R > 0 ? Ed->GridRow(R) : R == 0 ? 0 : 1;
    TPoint p = GridCellCenter(gc, gr);
    Input().Click(p.X, p.Y, mbRight);
    ChooseItem(Ed->HeadingMenu(), 0, "Edit Heading");
    ASSERT_TRUE(Ed->NameEditorOpen());
  };
  int headings = 0;
  Ed->OnHeadingChanged = [&](TObject*) { ++headings; };
  const Case cases[] = {{2, 0, "Speed", true}, {0, 3, "Third", true}, {3, -1, "300", true},
                        {-1, 2, "12.6", true}, {1, -1, "x1", true},   {0, 1, "Lost", false}};
  for (const Case& c : cases) {
    open(c.C, c.R);
    Input().PressKey(VK_END);
    for (int i = 0; i < 12; ++i) Input().PressKey(VK_BACK);
    Input().TypeText(c.Typed);
    Input().PressKey(c.Enter ? VK_RETURN : VK_ESCAPE);
    EXPECT_FALSE(Ed->NameEditorOpen());
  }
  EXPECT_EQ(Ed->GetColName(2), "Speed");
  EXPECT_EQ(Ed->GetRowName(3), "Third");
  EXPECT_EQ(Ed->GetColAttrib(3), 255);
  EXPECT_EQ(Ed->GetRowAttrib(2), 13);
  EXPECT_EQ(Ed->GetColAttrib(1), 0);  // not a number: nothing stored
  EXPECT_EQ(Ed->GetRowName(1), "");
  EXPECT_GE(headings, 4);
}

TEST_F(NTabEdTest, CommentModeStoresOnEnterAndDiscardsOnEscOrCornerClick) {
  Show();
  int changes = 0;
  Ed->OnChange = [&](TObject*) { ++changes; };
  ClickCell(0, 0, mbRight);
  ASSERT_TRUE(Ed->CommentMode());
  EXPECT_TRUE(Ed->CommentEditor()->GetVisible());
  EXPECT_EQ(Ed->CommentEditor()->GetLeft(), Ed->GetColWidths(0));
  const TGridRect sel = Ed->TableSelection();
  Input().TypeText("calibrated");
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Ed->CommentMode());
  EXPECT_EQ(Ed->GetComment(), "calibrated");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Ed->TableSelection(), sel);  // the closing Enter does not advance the grid

  ClickCell(0, 0, mbRight);
  Input().TypeText(" twice");  // the caret starts after the text
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Ed->GetComment(), "calibrated");
  ClickCell(0, 0, mbRight);
  Input().TypeText("!");
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Ed->GetComment(), "calibrated!");
  ClickCell(0, 0, mbRight);
  Input().TypeText(" thrice");
  ClickCell(0, 0);
  EXPECT_FALSE(Ed->CommentMode());
  EXPECT_EQ(Ed->GetComment(), "calibrated!");

  Ed->SetCommentEditingAllowed(false);
  ClickCell(0, 0, mbRight);
  EXPECT_FALSE(Ed->CommentMode());
}

TEST_F(NTabEdTest, PopupCaptionsAndMasks) {
  Ed->SetPopupDCaption(7, "Kopieren");
  Ed->SetPopupMCaption(2, "Spalte");
  Ed->SetPopupUCaption(4, std::string(70, 'u'));
  Ed->SetPopupHCaption(9, "ignored");
  EXPECT_EQ(Ed->GetPopupDCaption(7), "Kopieren");
  EXPECT_EQ(Ed->SubItem(2, 2)->GetCaption(), "Spalte");
  EXPECT_EQ(Ed->GetPopupMCaption(2), "Spalte");
  EXPECT_EQ(Ed->GetPopupUCaption(4), std::string(50, 'u'));
  EXPECT_EQ(Ed->SubItem(4, 4)->GetCaption(), std::string(50, 'u'));
  EXPECT_EQ(Ed->GetPopupHCaption(9), "");
  EXPECT_EQ(Ed->GetPopupDCaption(0), "");
  int setups = 0;
  Ed->OnChangeSetup = [&](TObject*) { ++setups; };
  Ed->SetPopupDMask(0xFFF & ~(1 << 6));
  EXPECT_FALSE(Ed->DataItem(7)->GetEnabled());
  EXPECT_TRUE(Ed->DataItem(8)->GetEnabled());
  EXPECT_EQ(setups, 1);
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

TEST_F(NTabEdTest, HostMenuTakesTheRightClickAndBeforePopupNamesTheMenu) {
  Show();
  std::vector<TPopupMenu*> menus;
  Ed->OnBeforePopup = [&](TObject* Sender, TPopupMenu* M) {
    EXPECT_EQ(Sender, Ed);
    menus.push_back(M);
  };
  ClickCell(1, 1, mbRight);
  Ed->DataMenu()->CloseMenu();
  ClickCell(0, 2, mbRight);
  Ed->HeadingMenu()->CloseMenu();
  EXPECT_EQ(menus, (std::vector<TPopupMenu*>{Ed->DataMenu(), Ed->HeadingMenu()}));
  EXPECT_EQ(Ed->DataMenu()->GetName(), "PopupDTAction");
  EXPECT_EQ(Ed->HeadingMenu()->GetName(), "PopupHTAction");

  auto* host = new TPopupMenu(Form);
  host->GetItems()->Add(new TMenuItem(host));
  Ed->SetPopupMenu(host);
  ClickCell(2, 2, mbRight);
  ClickCell(2, 0, mbRight);
  EXPECT_FALSE(Ed->DataMenu()->IsOpen());
  EXPECT_FALSE(Ed->HeadingMenu()->IsOpen());
  EXPECT_EQ(menus.size(), 2u);
  host->CloseMenu();
}

TEST_F(NTabEdTest, KeysOnALockedCellAreDroppedAndEscClosesTheEditor) {
  Ed->Fill(3);
  Show();
  ClickCell(2, 2);
  Input().TypeText("8");
  ASSERT_TRUE(Ed->GetEditorMode());
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Ed->GetEditorMode());
  EXPECT_EQ(Ed->GetElem(2, 2), 3);  // Esc gave the cell its text back
  int selections = 0;
  Ed->OnSelectionChanged = [&](TObject*) { ++selections; };
  Ed->SetCellState(2, 2, dtsLocked);
  Input().PressKey(VK_DELETE);
  Input().PressKey(VK_HOME);  // dropped on a locked cell
  EXPECT_EQ(Ed->TableSelection().Left, 2);
  EXPECT_EQ(selections, 0);
  Input().PressKey(VK_LEFT);  // arrows still move, and every key reports the selection
  EXPECT_EQ(Ed->TableSelection().Left, 1);
  EXPECT_EQ(selections, 1);
  Input().WheelAt(CellCenter(1, 1).X, CellCenter(1, 1).Y, -120);
  EXPECT_EQ(selections, 2);
}

TEST_F(NTabEdTest, ProgressOfTheTablesSortsReachesTheHost) {
  std::vector<int> percents;
  Ed->OnPercentDone = [&](TObject* Sender, int P) {
    EXPECT_EQ(Sender, Ed);
    percents.push_back(P);
  };
  Ed->SortRows(1, true, 1, 1, 3, 4, true);
  ASSERT_GE(percents.size(), 2u);
  EXPECT_EQ(percents.front(), 0);
  EXPECT_EQ(percents.back(), 100);
}

TEST_F(NTabEdTest, OptimizedRowHeightFollowsTheFont) {
  Show();
  Ed->GetFont()->SetSize(20);
  Ed->SetOptRowHeight(true);
  Application->ProcessMessages();
  const int h = Ed->Canvas()->TextHeight("9GMg") + 2 + 2;
  EXPECT_EQ(Ed->GetDefaultRowHeight(), h);
  Ed->SetColAttVis(true);  // the attribute row takes the height of the name row
  EXPECT_EQ(Ed->GetRowHeights(1), Ed->GetRowHeights(0));
  Ed->SetRowHeight(-1, 40);
  Ed->SetRowHeight(2, 33);
  Ed->SetRowHeight(99, 50);  // beyond the rows: ignored
  EXPECT_EQ(Ed->GetRowHeights(1), 40);
  EXPECT_EQ(Ed->GetRowHeights(Ed->GridRow(2)), 33);
}

}  // namespace
}  // namespace qel::test

// TNTabEd's clipboards: the text Copy writes, Paste placement with values and states, the number
// scanner, Extract from Clipboard against GetClipMatrixSize.
#include <cmath>
#include <string>
#include <vector>

#include "frame/QEL_univconst.h"
#include "tests/ntabed/NTabEdFixture.h"

namespace qel::test {
namespace {

TEST_F(NTabEdTest, CopyWritesBlankLedTabSeparatedRowsWithHashesForNonNumbers) {
  Ed->SetElem(1, 1, 1.5);
  Ed->SetElem(2, 1, 2);
  Ed->SetElem(1, 2, -0.25);
  Ed->SetIsEmpty(2, 2, true);
  Show();
  SelectRange(1, 1, 2, 2);
  DataCommand(1, 1, "Copy");
  EXPECT_EQ(Clipboard()->GetAsText(),
            "  1.5000000000000E+0000\t 2.0000000000000E+0000\r\n"
            " -2.5000000000000E-0001\t####\r\n");
  EXPECT_TRUE(Ed->InternalClipboardFilled());
  Ed->SetClipboardUseFullPrec(false);
  Ed->SetDecPlaces(2, -1);
  Ed->SetCellState(1, 2, dtsNoNumber);
  EXPECT_EQ(Ed->SelectionText(), " 1.500\t 2.0E+0000\r\n ####\t####\r\n");
}

TEST_F(NTabEdTest, PasteWritesValuesAndStatesAtTheSelectionAndSkipsWhatFallsOutside) {
  Ed->Redimension(4, 4);
  Ed->SetElem(1, 1, 11);
  Ed->SetElem(2, 1, 21);
  Ed->SetElem(1, 2, 12);
  Ed->SetCellState(2, 2, dtsMarkedB | dtsEmpty);
  Show();
  // Paste is offered only once something was copied.
  ClickCell(1, 1, mbRight);
  EXPECT_FALSE(Ed->DataItem(8)->GetEnabled());
  Ed->DataMenu()->CloseMenu();
  SelectRange(1, 1, 2, 2);
  DataCommand(1, 1, "Copy");
  int pastes = 0;
  Ed->OnPaste = [&](TObject*) { ++pastes; };
  ClickCell(3, 3);
  DataCommand(3, 3, "Paste");
  EXPECT_EQ(pastes, 1);
  EXPECT_EQ(Ed->GetElem(3, 3), 11);
  EXPECT_EQ(Ed->GetElem(4, 3), 21);
  EXPECT_EQ(Ed->GetElem(3, 4), 12);
  EXPECT_EQ(Ed->GetCellState(4, 4), dtsMarkedB | dtsEmpty);
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{3, 3, 4, 4}));
  // At the corner only the cell inside the table is written.
  ClickCell(4, 4);
  DataCommand(4, 4, "Paste");
  EXPECT_EQ(Ed->GetElem(4, 4), 11);
  EXPECT_EQ(Ed->NrOfColumns(), 4);
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{4, 4, 4, 4}));
}

TEST(NTabEdScanner, ReadsSignsSeparatorsAndExponentsAndStopsWhereTheNumberEnds) {
  struct Case {
    const char* Text;
    double Value;
    int End;  // 1-based position left on the character that ended the number
  };
  const Case cases[] = {{"12.5 ", 12.5, 5},
                        {"  -3,25x", -3.25, 8},
                        {"+.5 ", 0.5, 4},
                        {"7. ", 7, 3},
                        {"1e3 ", 1000, 4},
                        {"2E-2;", 0.02, 5},
                        {"1.2.3", 0, 4},
                        {"-x", 0, 2},
                        {"1e+ ", 0, 4},
                        {"5e4.1", 50000, 4},
                        {"1e99999 ", uc_MaxDouble, 8},
                        {"-1e4300 ", -uc_MaxDouble, 8},
                        {"3", 3, 2}};
  for (const Case& c : cases) {
    int pos = 1;
    EXPECT_EQ(ScanClipNumber(c.Text, pos), c.Value) << c.Text;
    EXPECT_EQ(pos, c.End) << c.Text;
  }
}

TEST(NTabEdClipText, MatrixSizeIsWhatExtractionFills) {
  struct Case {
    const char* Text;
    bool Any;
    int Cols, Rows;
    int64_t Numbers;
  };
  const Case cases[] = {
      {"1 2 3", true, 3, 1, 3},
      {"1\t2\r\n3\t4\r\n", true, 2, 2, 4},
      {"1,5;2\n\n7\n", true, 3, 3, 4},  // a comma separates numbers; an empty line counts
      {"x=1 y=-2.5e1\nz=.25", true, 2, 2, 3},
      {"no numbers here", false, 1, 1, 0},
      {"", false, 1, 1, 0},
      {"####\t3\r\n", true, 1, 1, 1},
  };
  for (const Case& c : cases) {
    int nc = 0, nr = 0;
    EXPECT_EQ(ClipTextMatrixSize(c.Text, nc, nr), c.Any) << c.Text;
    EXPECT_EQ(nc, c.Cols) << c.Text;
    EXPECT_EQ(nr, c.Rows) << c.Text;
    int64_t n = ForEachClipNumber(c.Text, [&](int I, int J, double) {
      EXPECT_LT(I, nc);
      EXPECT_LT(J, nr);
    });
    EXPECT_EQ(n, c.Numbers) << c.Text;
  }
}

TEST_F(NTabEdTest, ExtractFillsFromTheSelectionAgainstGetClipMatrixSize) {
  Ed->Redimension(4, 4);
  Ed->SetCellState(2, 2, dtsMarkedA);
  Show();
  int nc = 0, nr = 0;
  EXPECT_FALSE(Ed->GetClipMatrixSize(nc, nr));  // no text at all
  EXPECT_EQ(nc, 1);
  EXPECT_EQ(nr, 1);
  Clipboard()->SetAsText("Time\tA\tB\r\n0.5\t1,25e1\t-3\r\n1.5\t4\t5\r\n");
  ASSERT_TRUE(Ed->GetClipMatrixSize(nc, nr));
  EXPECT_EQ(nc, 4);  // "1,25e1" gives two numbers, as extraction reads it
  EXPECT_EQ(nr, 3);  // the heading line holds no number, yet its line feed counts
  int changes = 0, pastes = 0;
  Ed->OnChange = [&](TObject*) { ++changes; };
  Ed->OnPaste = [&](TObject*) { ++pastes; };
  ClickCell(2, 1);
  DataCommand(2, 1, "Extract from Clipboard");
  EXPECT_EQ(Ed->GetElem(2, 2), 0.5);
  EXPECT_EQ(Ed->GetElem(3, 2), 1);                // "1,25e1": the comma splits it into 1 ...
  EXPECT_EQ(Ed->GetElem(4, 2), 25e1);             // ... and 25e1
  EXPECT_EQ(Ed->GetCellState(2, 2), dtsMarkedA);  // states stay
  EXPECT_EQ(Ed->GetElem(2, 3), 1.5);
  EXPECT_EQ(Ed->GetElem(4, 3), 5);
  // "-3" fell past the right edge and was skipped; the selection stays inside the table.
  EXPECT_EQ(Ed->TableSelection(), (TGridRect{2, 1, 4, 3}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(pastes, 1);
  EXPECT_EQ(Ed->NrOfColumns(), 4);
}

}  // namespace
}  // namespace qel::test

// TNTabEd's drawing: the number text with its switch to exponent notation, cell texts and
// colours from the states, the host's last word, heading highlights, and one golden sheet.
#include <cmath>
#include <limits>
#include <string>

#include "tests/ntabed/NTabEdFixture.h"
#include "tests/support/Golden.h"

namespace qel::test {
namespace {

TEST(NTabEdNumberText, FixedWhileNineDigitsFitElseExponent) {
  struct Case {
    double X;
    int D, W;
    const char* Text;
  };
  const Case cases[] = {
      {1234.5678, 2, 1, "1234.57"},   {1234.5678, 6, 1, " 1.2E+03"},
      {0.0004, 3, 1, " 4.0E-04"},     {0, 3, 1, "0.000"},
      {0.5, 0, 1, " 5.0E-01"},        {1e120, 3, 1, "********"},
      {-2.5, 1, 6, "  -2.5"},         {999999999, 0, 1, "999999999"},
      {1000000000, 0, 1, " 1.0E+09"}, {12.5, -1, 4, " 1.250E+01"},
      {12.5, 9, 1, " 1.3E+01"},       {0.99999999, 8, 1, "0.99999999"},
      {-1e-5, 5, 1, "-0.00001"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NTabNumberText(c.X, c.D, c.W), c.Text) << c.X << " " << c.D << " " << c.W;
}

// The colour of the first pixel of glyph ink in a cell (its text colour), clNone when blank.
// The outer two pixels (edges, focus rectangle) are not looked at.
TColor InkIn(const TBitmap& B, const TRect& R, TColor Background) {
  for (int y = R.Top + 2; y < R.Bottom - 2; ++y)
    for (int x = R.Left + 2; x < R.Right - 2; ++x) {
      TColor p = PixelAt(B, x, y);
      if (p != Background) return p;
    }
  return clNone;
}

class NTabEdPaint : public NTabEdTest {
 protected:
  void SetUp() override {
    NTabEdTest::SetUp();
    Ed->GetFont()->SetQuality(fqNonAntialiased);
    Ed->Clear();
    Ed->InvertCellStates(dtsEmpty);  // Clear leaves every cell empty
    Ed->Fill(1);
  }
  TRect FormCell(int C, int R) const {
    TRect r = Ed->CellRect(Ed->GridCol(C), Ed->GridRow(R));
    TPoint o = Ed->ClientToParent({0, 0}, Form);
    return {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
  }
  const TBitmap& Surface() {
    Application->ProcessMessages();
    return *Form->Surface();
  }
};

TEST_F(NTabEdPaint, TextColoursFollowMarksAndSelection) {
  Ed->SetCellState(1, 2, dtsMarkedA);
  Ed->SetCellState(2, 2, dtsMarkedB);
  Ed->SetCellState(3, 2, dtsMarkedA | dtsMarkedB);
  Ed->SetColorNormal(clGreen);
  Show();
  Ed->SetTableSelection({1, 3, 2, 3});
  const TBitmap& s = Surface();
  struct Case {
    int C, R;
    TColor Ink, Back;
  };
  const Case cases[] = {{1, 2, 0x0000FF, clWhite},  {2, 2, 0xFF0000, clWhite},
                        {3, 2, 0xCC00BB, clWhite},  {1, 1, clGreen, clWhite},
                        {1, 3, 0x80552C, 0xF8E8E0}, {2, 3, 0x80552C, 0xF8E8E0}};
  for (const Case& c : cases) {
    TRect r = FormCell(c.C, c.R);
    EXPECT_EQ(PixelAt(s, r.Right - 2, r.Bottom - 2), c.Back) << c.C << "," << c.R;
    EXPECT_EQ(InkIn(s, r, c.Back), c.Ink) << c.C << "," << c.R;
  }
}

TEST_F(NTabEdPaint, EmptyNanNominalAndHostTexts) {
  TDataTable* t = Ed->DataTable();
  t->SetMScaleType(3, mstNominal);
  t->SetNominalID(3, 2, "on");
  Ed->SetElem(3, 1, 2);
  Ed->SetElem(3, 2, 200);
  Ed->SetIsEmpty(1, 1, true);
  Ed->SetCellState(2, 1, dtsNoNumber);
  std::vector<std::string> seen;
  Ed->OnBeforeRenderCell = [&](TObject*, int C, int R, std::string& Text, TColor& Fg, TColor& Bg,
                               TFontStyles&) {
    if (R == 1 || (C == 3 && R == 2)) seen.push_back(Text);
    if (C == 2 && R == 4) Text = "host", Fg = clRed, Bg = clYellow;
  };
  Show();
  const TBitmap& s = Surface();
  // Only the on-screen cells are asked, and each once per paint.
  const std::string scale = std::string(MScaleTypeNames[mstNominal]) + ":200";
  EXPECT_EQ(seen, (std::vector<std::string>{"", "-nan-", "on", scale}));
  TRect r = FormCell(2, 4);
  EXPECT_EQ(PixelAt(s, r.Right - 2, r.Bottom - 2), clYellow);
  EXPECT_EQ(InkIn(s, r, clYellow), clRed);
  EXPECT_EQ(InkIn(s, FormCell(1, 1), 0xF8E8E0), clNone);  // empty (and selected): no text
}

TEST_F(NTabEdPaint, HeadingsOfTheCurrentCellAreHighlightedAndTheCornerShowsIt) {
  Show();
  Input().Click(CellCenter(2, 3).X, CellCenter(2, 3).Y);
  const TBitmap& s = Surface();
  auto ink = [&](int GC, int GR) {
    TRect r = Ed->CellRect(GC, GR);
    TPoint o = Ed->ClientToParent({0, 0}, Form);
    r = {r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y};
    return InkIn(s, r, ColorToRGB(clBtnFace));
  };
  EXPECT_EQ(ink(Ed->GridCol(2), 0), 0x404040);  // ColorSelected
  EXPECT_EQ(ink(Ed->GridCol(1), 0), 0x002000);  // ColorNormal
  EXPECT_EQ(ink(0, Ed->GridRow(3)), 0x404040);
  EXPECT_EQ(ink(1, Ed->GridRow(3)), 0x404040);  // the row attribute too
  EXPECT_EQ(ink(0, Ed->GridRow(2)), 0x002000);
  // The corner: "2:3" in ColorNormal on the window colour.
  TRect corner = Ed->CellRect(0, 0);
  EXPECT_EQ(InkIn(s, corner, clWhite), 0x002000);
  Ed->SetShowCellCursor(false);
  EXPECT_EQ(InkIn(Surface(), corner, clWhite), clNone);
}

TEST_F(NTabEdPaint, BoldHeadingsOfTheCurrentCell) {
  Show();
  auto inkCount = [&] {
    TRect r = Ed->CellRect(Ed->GridCol(1), 0);
    TPoint o = Ed->ClientToParent({0, 0}, Form);
    r = {r.Left + o.X + 2, r.Top + o.Y + 2, r.Right + o.X - 2, r.Bottom + o.Y - 2};
    return CountPixels(Surface(), r, 0x404040);
  };
  const int bold = inkCount();
  Ed->SetBoldSelHeads(false);
  const int plain = inkCount();
  EXPECT_GT(plain, 0);
  EXPECT_GT(bold, plain);
}

TEST_F(NTabEdPaint, SuppressPaintDrawsNothingUntilReleased) {
  Show();
  TRect r = FormCell(3, 3);
  Ed->SetSuppressPaint(true);
  Ed->SetElem(3, 3, 5);
  Ed->SetCellState(3, 3, dtsMarkedA);
  Ed->Invalidate();
  EXPECT_EQ(InkIn(Surface(), r, clWhite), 0x002000);  // still the old picture
  Ed->SetSuppressPaint(false);
  EXPECT_EQ(InkIn(Surface(), r, clWhite), 0x0000FF);
}

TEST_F(NTabEdPaint, GoldenSheet) {
  Form->SetBounds(0, 0, 700, 380);
  Ed->SetBounds(0, 0, 340, 180);
  Ed->SetDefColWidth(64);
  Ed->SetColWidths(0, 44);
  Ed->Redimension(3, 5);
  Ed->SetColName(1, "Volts");
  Ed->SetColName(2, "Amps");
  Ed->SetColName(3, "Kind");
  TDataTable* t = Ed->DataTable();
  t->SetMScaleType(3, mstNominal);
  t->SetNominalID(3, 1, "low");
  t->SetNominalID(3, 2, "high");
  const double volts[] = {1.5, -12.25, 0.0004, 1e120, 230};
  for (int r = 1; r <= 5; ++r) {
    Ed->SetElem(1, r, volts[r - 1]);
    Ed->SetElem(2, r, r * 0.125);
    Ed->SetElem(3, r, r % 3);
    Ed->SetRowAttrib(r, r * 10);
  }
  Ed->SetDecPlaces(2, 1);
  Ed->SetCellState(2, 2, dtsMarkedA);
  Ed->SetCellState(2, 3, dtsMarkedB);
  Ed->SetCellState(2, 4, dtsMarkedA | dtsMarkedB);
  Ed->SetCellState(1, 5, dtsEmpty);
  Ed->SetCellState(3, 5, dtsNoNumber);
  Ed->SetTableSelection({1, 2, 2, 3});

  // A second editor: attribute row shown, row attributes hidden, comment mode open.
  auto* e2 = new TNTabEd(Form);
  e2->SetParent(Form);
  e2->SetBounds(350, 0, 340, 180);
  e2->GetFont()->SetQuality(fqNonAntialiased);
  e2->SetRowAttVis(false);
  e2->SetColAttVis(true);
  e2->Clear();
  e2->SetColAttrib(2, 7);
  e2->SetElem(1, 1, 3.14159);
  e2->SetDecPlaces(1, -1);
  e2->SetNumWidth(6);

  // A third: scrolled far into a big table, bold marks off.
  auto* e3 = new TNTabEd(Form);
  e3->SetParent(Form);
  e3->SetBounds(0, 190, 690, 180);
  e3->GetFont()->SetQuality(fqNonAntialiased);
  e3->Redimension(50, 100000);
  e3->SetBoldMarks(false);
  for (int c = 1; c <= 50; ++c)
    for (int r = 99990; r <= 100000; ++r) e3->SetElem(c, r, c * 1000 + r % 100);
  e3->SetCellState(3, 99998, dtsMarkedA);
  e3->SetTopRow(99996);
  e3->SetLeftCol(2);
  Show();
  e2->SetFocus();
  Application->ProcessMessages();
  TPoint corner = e2->ClientToParent({5, 5}, Form);
  Input().Click(corner.X, corner.Y, mbRight);
  ASSERT_TRUE(e2->CommentMode());
  Input().TypeText("note");
  ExpectMatchesGolden(Surface(), "ntabed_sheet");
}

}  // namespace
}  // namespace qel::test

// TMarkSel: the layout of visible marks, the nearest-mark rule, the setters' limits, the
// pointer highlight, clicks, painting and the published properties.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_marksel.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

std::unique_ptr<TBitmap> Render(TMarkSel& M) {
  auto b = std::make_unique<TBitmap>(M.GetWidth(), M.GetHeight());
  test::FillBitmap(*b, clLime);
  M.PaintTo(b.get());
  return b;
}

// At the default 236 x 178 the cells are 29 x 29.
TEST(MarkSelLayout, HiddenMarksTakeNoCellAndTheNearestVisibleOneIsPicked) {
  TMarkSel m(nullptr);
  ASSERT_EQ(m.CellWidth(), 29);
  ASSERT_EQ(m.CellHeight(), 29);
  for (int i = 3; i <= 51; ++i) m.SetVis(i, false);
  EXPECT_EQ(m.VisibleMarks(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(m.MarkCentre(0), (TPoint{14, 14}));
  EXPECT_EQ(m.MarkCentre(2), (TPoint{72, 14}));
  EXPECT_EQ(m.MarkCentre(3), (TPoint{-1, -1}));
  struct Case {
    int X, Y, Mark;
  } cases[] = {{0, 0, 0}, {28, 100, 0}, {29, 170, 1}, {57, 0, 1}, {58, 14, 2}, {235, 177, 2}};
  for (const Case& c : cases) EXPECT_EQ(m.NearestMark(c.X, c.Y), c.Mark) << c.X << "," << c.Y;
  // Halfway between the centres of 0 and 1 the lower index wins.
  EXPECT_EQ(m.NearestMark(28, 14) == 0 || m.NearestMark(29, 14) == 1, true);
  EXPECT_EQ(m.NearestMark(28, 14), 0);  // 14 from mark 0, 15 from mark 1
  m.ShowAllMarks();
  EXPECT_EQ(m.MarkCentre(8), (TPoint{14, 43}));  // the second row
  EXPECT_EQ(m.MarkCentre(51), (TPoint{3 * 29 + 14, 6 * 29 + 14}));
}

TEST(MarkSelLayout, ANarrowControlPutsAColumnOnOneCentre) {
  TMarkSel m(nullptr);
  m.SetBounds(0, 0, 10, 178);  // narrower than 4 + 8 columns
  EXPECT_EQ(m.CellWidth(), 0);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(m.MarkCentre(i).X, 0) << i;
  EXPECT_EQ(m.NearestMark(9, 0), 0);  // every cell of the row is as near; the first wins
  m.SetBounds(0, 0, 0, 0);
  EXPECT_EQ(m.NearestMark(5, 5), 0);
  EXPECT_EQ(Render(m)->GetWidth(), 0);  // paints nothing, divides by nothing
}

TEST(MarkSelSetters, LimitsAreKept) {
  TMarkSel m(nullptr);
  m.SetVis(0, false);
  EXPECT_TRUE(m.GetVis(0));
  m.HideAllMarks();
  EXPECT_EQ(m.VisibleMarks(), (std::vector<int>{0}));
  EXPECT_TRUE(m.GetVis(-5));  // out of range reads mark 0
  EXPECT_TRUE(m.GetVis(52));
  m.SetVis(52, true);
  m.SetVis(51, true);
  EXPECT_EQ(m.VisibleMarks(), (std::vector<int>{0, 51}));
  struct Case {
    void (TMarkSel::*Set)(int);
    int (TMarkSel::*Get)() const;
    int Value, Expected;
  } cases[] = {
      {&TMarkSel::SetNrCols, &TMarkSel::GetNrOfColumns, 52, 8},
      {&TMarkSel::SetNrCols, &TMarkSel::GetNrOfColumns, 0, 8},
      {&TMarkSel::SetNrCols, &TMarkSel::GetNrOfColumns, 51, 51},
      {&TMarkSel::SetNrRows, &TMarkSel::GetNrOfRows, -1, 6},
      {&TMarkSel::SetNrRows, &TMarkSel::GetNrOfRows, 1, 1},
      {&TMarkSel::SetSelected, &TMarkSel::GetSelected, 52, -1},
      {&TMarkSel::SetSelected, &TMarkSel::GetSelected, -2, -1},
      {&TMarkSel::SetSelected, &TMarkSel::GetSelected, 51, 51},
      {&TMarkSel::SetSelected, &TMarkSel::GetSelected, -1, -1},
  };
  for (const Case& c : cases) {
    (m.*c.Set)(c.Value);
    EXPECT_EQ((m.*c.Get)(), c.Expected) << c.Value;
  }
}

// ---------------------------------------------------------------- on a form

class MarkSelOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 240);
    M = new TMarkSel(Form);
    M->SetBounds(10, 10, 236, 178);
    M->SetParent(Form);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  // The colour on the form surface at control point (X, Y).
  TColor At(int X, int Y) { return PixelAt(*Form->Surface(), 10 + X, 10 + Y); }
  TForm* Form = nullptr;
  TMarkSel* M = nullptr;
};

TEST_F(MarkSelOnForm, ThePointerHighlightsTheNearestMarkAndLeavingRestoresIt) {
  THeadlessInput in(Form);
  const TRect hi = M->HiLiteRect(M->MarkCentre(9));
  in.MouseMove(10 + 43, 10 + 43);  // mark 9's centre
  EXPECT_EQ(M->HiLitedMark(), 9);
  EXPECT_EQ(At(hi.Left, hi.Top), clRed);
  EXPECT_EQ(At(hi.Right - 1, hi.Bottom - 1), clRed);
  in.MouseMove(10 + 43, 10 + 72);  // on to mark 17
  EXPECT_EQ(M->HiLitedMark(), 17);
  EXPECT_EQ(At(hi.Left, hi.Top), ColorToRGB(clBtnFace));
  const TRect hi17 = M->HiLiteRect(M->MarkCentre(17));
  EXPECT_EQ(At(hi17.Left + 1, hi17.Top + 1), clRed);
  // A repaint keeps it; leaving takes it away.
  M->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(At(hi17.Left + 1, hi17.Top + 1), clRed);
  in.MouseMove(290, 230);
  in.Leave();
  EXPECT_EQ(M->HiLitedMark(), -1);
  EXPECT_EQ(At(hi17.Left + 1, hi17.Top + 1), ColorToRGB(clBtnFace));
}

TEST_F(MarkSelOnForm, ClicksSelectTheNearestMarkAndReportIt) {
  for (int i = 3; i <= 51; ++i) M->SetVis(i, false);
  struct Ev {
    int X, Y, Mark;
    bool Double;
  };
  std::vector<Ev> seen;
  M->OnMarkClick = [&](TObject* S, int X, int Y, int Mark) {
    EXPECT_EQ(S, M);
    seen.push_back({X, Y, Mark, false});
  };
  M->OnMarkDblClick = [&](TObject*, int X, int Y, int Mark) { seen.push_back({X, Y, Mark, true}); };
  THeadlessInput in(Form);
  in.Click(10 + 200, 10 + 150);  // far right and down: still the nearest of three
  EXPECT_EQ(M->GetSelected(), 2);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].X, 200);
  EXPECT_EQ(seen[0].Mark, 2);
  // The selected mark is highlighted after the repaint.
  EXPECT_EQ(M->HiLitedMark(), 2);
  seen.clear();
  in.DoubleClick(10 + 40, 10 + 10);
  EXPECT_EQ(M->GetSelected(), 1);
  ASSERT_GE(seen.size(), 2u);
  bool doubled = false;
  for (const Ev& e : seen) doubled = doubled || (e.Double && e.Mark == 1 && e.X == 40);
  EXPECT_TRUE(doubled);
  // The right button selects nothing.
  in.Click(10 + 14, 10 + 14, mbRight);
  EXPECT_EQ(M->GetSelected(), 1);
}

TEST_F(MarkSelOnForm, SelectionBoxCrossAndDisabledColours) {
  M->SetSelected(9);
  Application->ProcessMessages();
  const TPoint c9 = M->MarkCentre(9);
  const TRect box = M->SelectionRect(c9);
  EXPECT_EQ(box, Rect(c9.X - 14 + 3, c9.Y - 14 + 3, c9.X + 14 + 3, c9.Y + 14 + 3));
  EXPECT_EQ(At(box.Left, box.Top), clNavy);           // the pen
  EXPECT_EQ(At(box.Left + 1, box.Top + 1), clWhite);  // the brush
  // Mark 0 as a cross: its first line starts at (4, 4) and ends before (CW + 1, CH + 1).
  EXPECT_EQ(At(4, 4), clBlack);
  EXPECT_EQ(At(29, 29), clBlack);
  EXPECT_EQ(At(4, 29), clBlack);
  M->SetZeroAsCross(false);
  Application->ProcessMessages();
  EXPECT_EQ(At(4, 4), ColorToRGB(clBtnFace));
  M->SetEnabled(false);
  Application->ProcessMessages();
  EXPECT_EQ(At(box.Left, box.Top), clGray);
  EXPECT_EQ(At(box.Left + 1, box.Top + 1), static_cast<TColor>(0xDEDEDE));
  EXPECT_EQ(At(120, 2), clSilver);
  // The pointer no longer highlights.
  THeadlessInput in(Form);
  in.MouseMove(10 + 43, 10 + 43);
  EXPECT_EQ(M->HiLitedMark(), -1);
}

// ---------------------------------------------------------------- copying, registry

TEST(MarkSelProperties, AssignCopiesAndTheRegistryKnowsTheDefaults) {
  RegisterMarkSelClasses();
  RegisterMarkSelClasses();
  const TClassInfo* info = FindClassInfo("TMarkSel");
  ASSERT_NE(info, nullptr);
  TMarkSel a(nullptr), b(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&a)) continue;
    EXPECT_TRUE(p->IsDefault(&a)) << p->Name;
  }
  a.SetVis(7, false);
  a.SetSelected(12);
  a.SetNrCols(5);
  a.SetColorHiLiteBG(clYellow);
  a.SetFrameStyle(fsRaised);
  a.SetZeroAsCross(false);
  b.Assign(&a);
  EXPECT_FALSE(b.GetVis(7));
  EXPECT_EQ(b.GetSelected(), 12);
  EXPECT_EQ(b.GetNrOfColumns(), 5);
  EXPECT_EQ(b.GetColorHiLiteBG(), clYellow);
  EXPECT_EQ(b.GetFrameStyle(), fsRaised);
  EXPECT_FALSE(b.GetShowZeroAsCross());
  SetPropText(&b, *info->FindProperty("NrOfRows"), "60");  // out of range: ignored
  EXPECT_EQ(b.GetNrOfRows(), 6);
}

// Three tables side by side: the default with a selection, hidden marks in five columns with
// other colours and a raised frame, and a disabled one.
TEST(MarkSelGolden, ThreeTables) {
  TMarkSel a(nullptr), b(nullptr), c(nullptr);
  a.SetSelected(10);
  for (int i = 1; i <= 51; i += 2) b.SetVis(i, false);
  b.SetNrCols(5);
  b.SetNrRows(6);
  b.SetColorBackGnd(0xE8F0F0);
  b.SetColorMarks(clMaroon);
  b.SetFrameStyle(fsRaised);
  b.SetSelected(0);
  c.SetSelected(3);
  c.SetEnabled(false);
  TBitmap page(3 * 236, 178);
  int x = 0;
  for (TMarkSel* m : {&a, &b, &c}) {
    page.Canvas()->Draw(x, 0, Render(*m).get());
    x += 236;
  }
  test::ExpectMatchesGolden(page, "marksel_tables");
}

}  // namespace
}  // namespace qel

// Edit masks in the grid's in-place editor (typing through the cell's mask, validation when the
// cell is left, Esc) and the pick list's own scroll bar (arrows, track paging, thumb dragging,
// the wheel, its look).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grids/Grids.h"
#include "platform/widgets/Mask.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

// Column 1 holds times ("00:00", literals kept), column 2 phone numbers without literals,
// column 3 no mask; column 4 picks from many values.
class TMaskGrid : public TDrawGrid {
 public:
  using TDrawGrid::TDrawGrid;
  int PickCount = 20;
  int EditorRows = 0;  // when set, the editor this grid makes shows that many pick-list rows
  int EditorsMade = 0;

 protected:
  TInplaceEdit* CreateEditor() override {
    TInplaceEdit* e = TDrawGrid::CreateEditor();
    if (EditorRows > 0) e->SetDropDownRows(EditorRows);
    ++EditorsMade;
    return e;
  }
  TEditStyle GetEditStyle(int ACol, int) override { return ACol == 4 ? esPickList : esSimple; }
  void GetPickListItems(int, int, TStrings& Items) override {
    for (int i = 0; i < PickCount; ++i) Items.Add("item " + std::to_string(i));
  }
};

class GridMaskTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Grid = new TMaskGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(10, 10, 300, 150);
    Grid->SetColCount(5);
    Grid->SetRowCount(10);
    Grid->SetDefaultColWidth(60);
    Cells.assign(10, std::vector<std::string>(5));
    Cells[1][1] = "08:15";
    Grid->OnGetEditText = [this](TObject*, int C, int R, std::string& V) { V = Cells[R][C]; };
    Grid->OnSetEditText = [this](TObject*, int C, int R, const std::string& V) { Cells[R][C] = V; };
    Grid->OnGetEditMask = [](TObject*, int C, int, std::string& V) {
      if (C == 1) V = "00:00;1;_";
      if (C == 2) V = "(999) 000-0000;0;_";
    };
    Grid->SetOptions(Grid->GetOptions() << goEditing);
  }
  TMaskGrid* Grid = nullptr;
  std::vector<std::vector<std::string>> Cells;
};

TEST_F(GridMaskTest, TheEditorTypesThroughTheCellsMaskAndHandsOnTheValue) {
  ShowForm();
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->IsMasked());
  EXPECT_EQ(e->GetEditMask(), "00:00;1;_");
  EXPECT_EQ(e->GetEditText(), "08:15");
  Input().PressKey(VK_HOME);
  Input().TypeText("2359");
  EXPECT_EQ(e->GetEditText(), "23:59");
  EXPECT_EQ(Cells[1][1], "23:59");  // every change reaches the cell at once
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());

  // A character typed on the grid opens the editor through the mask; the value without
  // literals reaches the cell.
  Grid->SetCol(2);
  Input().TypeText("5551234567");
  ASSERT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(e->GetEditText(), "(555) 123-4567");
  EXPECT_EQ(Cells[1][2], "5551234567");
  Input().PressKey(VK_RETURN);

  // The next cell's value is not formatted into the previous cell's mask.
  Cells[1][3] = "free text";
  Grid->SetCol(3);
  Input().PressKey(VK_F2);
  EXPECT_FALSE(e->IsMasked());
  EXPECT_EQ(e->GetText(), "free text");
  Input().PressKey(VK_RETURN);
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  EXPECT_EQ(e->GetEditText(), "(555) 123-4567");
}

TEST_F(GridMaskTest, AnIncompleteEntryKeepsTheEditorOpenUntilCompletedOrCancelled) {
  ShowForm();
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(e->GetEditText(), "_8:15");
  // Enter, moving down and a click on another cell all leave the cell: each is refused.
  Input().PressKey(VK_RETURN);
  EXPECT_TRUE(Grid->GetEditorMode());
  ASSERT_EQ(Backend()->Errors.size(), 1u);
  EXPECT_NE(Backend()->Errors[0].find("Incomplete entry"), std::string::npos);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Grid->GetRow(), 1);
  EXPECT_TRUE(Grid->GetEditorMode());
  TRect r = Grid->CellRect(3, 4);
  TPoint p = At(Grid, r.Left + 5, r.Top + 5);
  Input().Click(p.X, p.Y);
  EXPECT_EQ(Grid->GetCol(), 1);
  EXPECT_EQ(Grid->GetRow(), 1);
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(Backend()->Errors.size(), 3u);
  EXPECT_EQ(e->GetSelStart(), 0);  // on the slot to fill
  // Completing it lets the move happen.
  Input().TypeText("1");
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Grid->GetRow(), 2);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][1], "18:15");
  EXPECT_EQ(Backend()->Errors.size(), 3u);

  // Esc gives the cell its old text back, incomplete entry or not.
  Grid->SetRow(1);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_END);
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Cells[1][1], "18:1");
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_EQ(Cells[1][1], "18:15");
  EXPECT_EQ(Backend()->Errors.size(), 3u);
}

TEST_F(GridMaskTest, AnUntouchedIncompleteCellClosesAndFocusLeavingWhileEditingValidates) {
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 180, 100, 21);
  ShowForm();
  // An empty time cell opened and closed without typing is no entry.
  Grid->SetRow(2);
  Input().PressKey(VK_F2);
  TInplaceEdit* e = Grid->InplaceEditor();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->GetEditText(), "__:__");
  Input().PressKey(VK_RETURN);
  EXPECT_FALSE(Grid->GetEditorMode());
  EXPECT_TRUE(Backend()->Errors.empty());
  // Typing half a time and clicking another control: the focus stays in the editor.
  Input().TypeText("1");
  ASSERT_TRUE(Grid->GetEditorMode());
  TPoint p = At(other, 5, 5);
  Input().Click(p.X, p.Y);
  EXPECT_TRUE(e->Focused());
  EXPECT_TRUE(Grid->GetEditorMode());
  EXPECT_EQ(Backend()->Errors.size(), 1u);
  Input().TypeText("234");
  Input().Click(p.X, p.Y);
  EXPECT_TRUE(other->Focused());
  EXPECT_EQ(Cells[2][1], "12:34");
}

TEST_F(GridMaskTest, LeftAndRightLeaveTheCellAtTheMasksFirstAndLastSlot) {
  Grid->OnGetEditMask = [](TObject*, int, int, std::string& V) { V = "(999)"; };
  Cells[1][2] = "(123)";
  ShowForm();
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Grid->InplaceEditor()->GetSelStart(), 1);
  Input().PressKey(VK_LEFT);  // nothing editable before: on to the cell at the left
  EXPECT_EQ(Grid->GetCol(), 1);
  Grid->SetCol(2);
  Input().PressKey(VK_F2);
  Input().PressKey(VK_END);
  EXPECT_EQ(Grid->InplaceEditor()->GetSelStart(), 4);  // before ')', after the last slot
  Input().PressKey(VK_RIGHT);
  EXPECT_EQ(Grid->GetCol(), 3);
}

// ---------------------------------------------------------------- the pick list's scroll bar

class GridPickScrollTest : public GridMaskTest {
 protected:
  void Open() {
    ShowForm();
    Grid->SetCol(4);
    Input().PressKey(VK_F2);
    E = Grid->InplaceEditor();
    ASSERT_TRUE(E);
    Input().PressKey(VK_DOWN, {ssAlt});
    ASSERT_TRUE(E->GetDroppedDown());
  }
  // A point of the list in form coordinates.
  TPoint InList(int X, int Y) {
    TRect b = E->PickListBounds();
    return {b.Left + X, b.Top + Y};
  }
  TInplaceEdit* E = nullptr;
};

TEST_F(GridPickScrollTest, ArrowsTrackThumbAndWheelScrollTheList) {
  Open();
  EXPECT_TRUE(E->PickHasScrollBar());
  TRect sb = E->PickScrollBarRect();
  TRect lb = E->PickListBounds();
  EXPECT_EQ(sb.Right, lb.Width() - 1);
  EXPECT_EQ(sb.Width(), 16);
  EXPECT_EQ(sb.Top, 1);
  EXPECT_EQ(sb.Bottom, lb.Height() - 1);
  EXPECT_EQ(E->PickItemRect(0).Right, sb.Left);  // items stop at the bar
  EXPECT_EQ(E->PickVisibleCount(), TInplaceEdit::DefaultDropDownRows);
  EXPECT_EQ(E->PickTopIndex(), 0);
  int cx = (sb.Left + sb.Right) / 2;

  // The down arrow scrolls by one item; the release chooses nothing and the list stays open.
  TPoint down = InList(cx, sb.Bottom - 4);
  Input().Click(down.X, down.Y);
  EXPECT_EQ(E->PickTopIndex(), 1);
  EXPECT_TRUE(E->GetDroppedDown());
  EXPECT_EQ(Cells[1][4], "");
  TPoint up = InList(cx, sb.Top + 4);
  Input().Click(up.X, up.Y);
  Input().Click(up.X, up.Y);  // already at the top: stays there
  EXPECT_EQ(E->PickTopIndex(), 0);

  // A click in the track below the thumb pages down; above it pages up.
  TRect th = E->PickThumbRect();
  ASSERT_FALSE(th.IsEmpty());
  EXPECT_EQ(th.Top, sb.Top + 16);
  TPoint below = InList(cx, th.Bottom + 2);
  Input().Click(below.X, below.Y);
  EXPECT_EQ(E->PickTopIndex(), 8);
  th = E->PickThumbRect();
  TPoint above = InList(cx, th.Top - 2);
  Input().Click(above.X, above.Y);
  EXPECT_EQ(E->PickTopIndex(), 0);

  // Dragging the thumb to the bottom of the track shows the last items; back up, the first.
  th = E->PickThumbRect();
  TPoint grab = InList(cx, th.Top + 2);
  Input().Drag(grab, InList(cx, sb.Bottom - 1), mbLeft, {}, 6);
  EXPECT_EQ(E->PickTopIndex(), 20 - TInplaceEdit::DefaultDropDownRows);
  EXPECT_EQ(E->PickThumbRect().Bottom, sb.Bottom - 16);
  EXPECT_TRUE(E->GetDroppedDown());
  th = E->PickThumbRect();
  grab = InList(cx, th.Top + 2);
  Input().Drag(grab, InList(cx, th.Top + 2 - (th.Top - sb.Top - 16) / 2), mbLeft, {}, 3);
  EXPECT_GT(E->PickTopIndex(), 0);
  EXPECT_LT(E->PickTopIndex(), 20 - TInplaceEdit::DefaultDropDownRows);
  Input().Drag(InList(cx, E->PickThumbRect().Top + 1), InList(cx, 0), mbLeft, {}, 3);
  EXPECT_EQ(E->PickTopIndex(), 0);

  // The wheel scrolls three items a notch, clamped at the end.
  TPoint item = InList(5, 5);
  Input().WheelAt(item.X, item.Y, -120);
  EXPECT_EQ(E->PickTopIndex(), 3);
  for (int i = 0; i < 10; ++i) Input().WheelAt(item.X, item.Y, -120);
  EXPECT_EQ(E->PickTopIndex(), 12);

  // Choosing an item still works beside the bar.
  TRect ir = E->PickItemRect(13);
  TPoint pick = InList(ir.Left + 5, (ir.Top + ir.Bottom) / 2);
  Input().Click(pick.X, pick.Y);
  EXPECT_FALSE(E->GetDroppedDown());
  EXPECT_EQ(Cells[1][4], "item 13");
}

TEST_F(GridPickScrollTest, FewItemsNeedNoBarAndTheBarLooksLikeTheComboBoxs) {
  Grid->PickCount = TInplaceEdit::DefaultDropDownRows;
  Open();
  EXPECT_FALSE(E->PickHasScrollBar());
  EXPECT_TRUE(E->PickScrollBarRect().IsEmpty());
  EXPECT_EQ(E->PickItemRect(0).Right, E->PickListBounds().Width() - 1);
  Input().PressKey(VK_ESCAPE);
  Input().PressKey(VK_ESCAPE);
  Grid->PickCount = 30;
  Input().PressKey(VK_F2);
  Input().PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(E->GetDroppedDown());
  Input().PressKey(VK_NEXT);  // the highlight moves a page and the view follows it
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(E->PickIndex(), 13);  // from none highlighted: 6, then 13
  EXPECT_EQ(E->PickTopIndex(), 6);
  TRect lb = E->PickListBounds();
  TBitmap shot;
  shot.SetSize(lb.Width(), lb.Height());
  shot.Canvas()->CopyRect(Rect(0, 0, lb.Width(), lb.Height()), Surface().Canvas(), lb);
  ExpectMatchesGolden(shot, "grid_picklist_scrollbar");
}

// A grid's own editor comes from CreateEditor, once; its pick-list length holds, and a length
// changed while the list is open resizes the list and keeps the highlight in view.
TEST_F(GridPickScrollTest, AGridsOwnEditorSetsThePickListLength) {
  Grid->EditorRows = 3;
  Open();
  EXPECT_EQ(Grid->EditorsMade, 1);
  EXPECT_EQ(E->GetDropDownRows(), 3);
  EXPECT_EQ(E->PickVisibleCount(), 3);
  const int itemHeight = E->PickItemHeight();
  EXPECT_EQ(E->PickListBounds().Height(), 3 * itemHeight + 2);
  EXPECT_EQ(E->PickListControl()->GetHeight(), 3 * itemHeight + 2);
  for (int i = 0; i < 10; ++i) Input().PressKey(VK_DOWN);
  EXPECT_EQ(E->PickIndex(), 9);
  EXPECT_EQ(E->PickTopIndex(), 7);
  E->SetDropDownRows(0);  // at least one row
  EXPECT_EQ(E->GetDropDownRows(), 1);
  EXPECT_EQ(E->PickListControl()->GetHeight(), itemHeight + 2);
  EXPECT_EQ(E->PickTopIndex(), 9);
  E->SetDropDownRows(50);  // more rows than items: the list shows them all from the top
  EXPECT_EQ(E->PickVisibleCount(), 20);
  EXPECT_EQ(E->PickTopIndex(), 0);
  EXPECT_FALSE(E->PickHasScrollBar());
  Input().PressKey(VK_ESCAPE);
  Input().PressKey(VK_ESCAPE);
  Input().PressKey(VK_F2);
  EXPECT_EQ(Grid->EditorsMade, 1);  // the editor is made once and reused
}

}  // namespace
}  // namespace qel::test

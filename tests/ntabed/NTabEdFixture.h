#pragma once
// A table editor on a shown headless form, with helpers that drive it as a user does: clicks on
// cells by table indices, typing, and choosing items of the built-in popup menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ntabed/QEL_ntabed.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"

namespace qel::test {

class NTabEdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 640, 400);
    Ed = new TNTabEd(Form);
    Ed->SetName("Tab1");
    Ed->SetParent(Form);
    Ed->SetBounds(0, 0, 600, 360);
  }
  void TearDown() override { ResetHeadlessApplication(); }

  void Show() {
    Form->Show();
    Application->ProcessMessages();
    Ed->SetFocus();
    Application->ProcessMessages();
  }
  THeadlessInput& Input() {
    if (!FInput) FInput = std::make_unique<THeadlessInput>(Form);
    return *FInput;
  }
  // The middle of a grid cell in form coordinates.
  TPoint GridCellCenter(int ACol, int ARow) const {
    TRect r = Ed->CellRect(ACol, ARow);
    EXPECT_FALSE(r.IsEmpty()) << ACol << "," << ARow;
    return Ed->ClientToParent({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}, Form);
  }
  // The middle of the cell of a table column and row (0 stands for the heading line).
  TPoint CellCenter(int C, int R) const {
    const int gc = C == 0 ? 0 : Ed->GridCol(C), gr = R == 0 ? 0 : Ed->GridRow(R);
    return GridCellCenter(gc, gr);
  }
  void ClickCell(int C, int R, TMouseButton B = mbLeft, TShiftState S = {}) {
    TPoint p = CellCenter(C, R);
    Input().Click(p.X, p.Y, B, S);
  }
  void ShiftClickCell(int C, int R) { ClickCell(C, R, mbLeft, {ssShift}); }
  // Selects a table range with a click and a shift click.
  void SelectRange(int C1, int R1, int C2, int R2) {
    ClickCell(C1, R1);
    ShiftClickCell(C2, R2);
  }
  // Opens the cell's editor with two clicks and types Text, then Enter.
  void TypeIntoCell(int C, int R, const std::string& Text) {
    ClickCell(C, R);
    Input().TypeText(Text);
    Input().PressKey(VK_RETURN);
  }
  // Clicks the item with the given caption (without "&") at level L of an open menu.
  void ChooseItem(TPopupMenu* M, int L, const std::string& Caption) {
    ASSERT_TRUE(M->IsOpen()) << "menu not open for " << Caption;
    TMenuItem* parent = M->LevelItem(L);
    int idx = -1;
    for (int i = 0; i < parent->Count(); ++i)
      if (StripHotkey(parent->Items(i)->GetCaption()) == Caption) idx = i;
    ASSERT_GE(idx, 0) << Caption;
    TRect r = M->ItemFormRect(L, idx);
    Input().MouseMove((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    Input().Click((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // Right-clicks a data cell and chooses Item, then Sub in its submenu when given.
  void DataCommand(int C, int R, const std::string& Item, const std::string& Sub = "") {
    ClickCell(C, R, mbRight);
    ChooseItem(Ed->DataMenu(), 0, Item);
    if (!Sub.empty()) ChooseItem(Ed->DataMenu(), 1, Sub);
    Application->ProcessMessages();
  }
  // Right-clicks a heading (C = 0: the row heading of R; R = 0: the column heading of C).
  void HeadingCommand(int C, int R, const std::string& Item) {
    ClickCell(C, R, mbRight);
    ChooseItem(Ed->HeadingMenu(), 0, Item);
    Application->ProcessMessages();
  }

  TForm* Form = nullptr;
  TNTabEd* Ed = nullptr;

 private:
  std::unique_ptr<THeadlessInput> FInput;
};

}  // namespace qel::test

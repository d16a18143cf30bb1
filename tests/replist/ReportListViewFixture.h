#pragma once
// A report-list view on a shown headless form, with helpers that find cells on the surface.
#include <gtest/gtest.h>

#include <string>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "replist/QEL_replist.h"
#include "tests/support/Golden.h"

namespace qel::test {

class ReportListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 480, 360);
    View = new TReportListView(Form);
    View->SetParent(Form);
    View->SetBounds(10, 10, 420, 300);
    Input = std::make_unique<THeadlessInput>(Form);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    Input.reset();
    ResetHeadlessApplication();
  }
  // Fills cell (c, r) with "c<c>r<r>" for the given size.
  void FillNamed(int Cols, int Rows) {
    View->SetNrCols(Cols);
    View->SetNrRows(Rows);
    for (int r = 1; r <= Rows; ++r)
      for (int c = 1; c <= Cols; ++c)
        View->SetElem(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
  }
  // The grid rectangle of data cell (display position P, data row R) in form coordinates.
  TRect CellOnForm(int P, int R) const {
    TRect r = View->CellRect(P, View->GridRowOfDataRow(R));
    return r.Offset(View->GetLeft(), View->GetTop());
  }
  TRect HeaderOnForm(int P) const {
    TRect r = View->CellRect(P, View->CountHeadRows() - 1);
    return r.Offset(View->GetLeft(), View->GetTop());
  }
  TPoint Mid(const TRect& R) const { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
  const TBitmap& Surface() {
    Application->ProcessMessages();
    return *Form->Surface();
  }
  TColor Px(int X, int Y) { return PixelAt(Surface(), X, Y); }
  // A point in the cell's right part, where short texts never reach.
  TColor CellBackground(int P, int R) {
    TRect c = CellOnForm(P, R);
    return Px(c.Right - 3, c.Bottom - 2);
  }
  void ClickCell(int P, int R, int Dx = -1, TShiftState Shift = {}) {
    TRect c = CellOnForm(P, R);
    Input->Click(Dx < 0 ? Mid(c).X : c.Left + Dx, Mid(c).Y, mbLeft, Shift);
  }
  std::string SelectedRows() const {
    std::string s;
    for (int r = 1; r <= View->GetNrOfRows(); ++r)
      if (View->GetRowSelect(r)) s += std::to_string(r) + " ";
    return s;
  }

  TForm* Form = nullptr;
  TReportListView* View = nullptr;
  std::unique_ptr<THeadlessInput> Input;
};

}  // namespace qel::test

// The per-position cursor hook: the screen asks the hovered control which cursor the pointer's
// position needs, falling back to the parents when the control answers crDefault.
#include "Probes.h"

namespace qel::test {
namespace {

using CursorHookTest = ControlsTest;

// A control whose left half shows one cursor and whose right half defers to its parent.
class TSplitCursorControl : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  TCursor GetCursorAt(int X, int Y) const override {
    Asked.push_back({X, Y});
    return X < GetWidth() / 2 ? crSizeWE : crDefault;
  }
  mutable std::vector<TPoint> Asked;
};

TEST_F(CursorHookTest, TheHoveredControlChoosesTheCursorForEachPosition) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 200, 200);
  auto* panel = new TWinControl(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 150, 150);
  panel->SetCursor(crCross);
  auto* c = new TSplitCursorControl(panel);
  c->SetParent(panel);
  c->SetBounds(20, 20, 100, 50);
  form->Show();
  THeadlessInput in(form);
  // Form (35, 40) is control (5, 10): the left half.
  in.MouseMove(35, 40);
  EXPECT_EQ(Backend()->Cursors.back(), crSizeWE);
  ASSERT_FALSE(c->Asked.empty());
  EXPECT_EQ(c->Asked.back().X, 5);
  EXPECT_EQ(c->Asked.back().Y, 10);
  // The right half answers crDefault: the parent's cursor shows.
  in.MouseMove(110, 40);
  EXPECT_EQ(Backend()->Cursors.back(), crCross);
  EXPECT_EQ(c->Asked.back().X, 80);
  in.MouseMove(36, 41);
  EXPECT_EQ(Backend()->Cursors.back(), crSizeWE);
  // The screen's cursor still overrides any control.
  Screen->SetCursor(crHourGlass);
  in.MouseMove(37, 41);
  EXPECT_EQ(Backend()->Cursors.back(), crHourGlass);
  Screen->SetCursor(crDefault);
  delete form;
}

TEST_F(CursorHookTest, ByDefaultTheHookAnswersTheControlsCursor) {
  TGraphicControl c(nullptr);
  EXPECT_EQ(c.GetCursorAt(0, 0), crDefault);
  c.SetCursor(crIBeam);
  EXPECT_EQ(c.GetCursorAt(3, 4), crIBeam);
  EXPECT_EQ(c.GetCursorAt(-50, 900), crIBeam);
}

}  // namespace
}  // namespace qel::test

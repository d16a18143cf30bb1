#pragma once
// Answers the colour dialog from inside the modal hook: clicks swatch Index of the basic colours
// and confirms, or cancels.
#include <gtest/gtest.h>

#include "platform/backends/headless/Headless.h"
#include "platform/widgets/Dialogs.h"

namespace qel::test {

inline void PickBasicColour(TForm* F, int Index, bool Ok) {
  THeadlessInput in(F);
  auto* grid = dynamic_cast<TColorSwatchGrid*>(F->FindComponent("BasicColors"));
  ASSERT_NE(grid, nullptr);
  const TRect r = grid->CellRect(Index);
  const TPoint p = grid->ClientToParent({r.Left + 3, r.Top + 3}, F);
  Application->AdvanceTime(1000);  // the click is no double click of an earlier one
  in.Click(p.X, p.Y);
  dynamic_cast<TButton*>(F->FindComponent(Ok ? "OKButton" : "CancelButton"))->Click();
}

}  // namespace qel::test

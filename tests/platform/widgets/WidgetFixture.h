#pragma once
// A shown form under the headless backend with an input driver, for the widget tests.
#include <gtest/gtest.h>

#include <memory>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "tests/support/Golden.h"

namespace qel::test {

class WidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 320, 240);
    Form->SetColor(clBtnFace);
  }
  void TearDown() override { ResetHeadlessApplication(); }
  // Shows the form (controls get their handles and the first tab stop the focus).
  void ShowForm() {
    Form->Show();
    Application->ProcessMessages();
  }
  THeadlessInput& Input() {
    if (!FInput) FInput = std::make_unique<THeadlessInput>(Form);
    return *FInput;
  }
  THeadlessBackend* Backend() { return HeadlessBackend(); }
  // The form surface as it is now (after repainting whatever is dirty).
  const TBitmap& Surface() {
    Application->ProcessMessages();
    return *Form->Surface();
  }
  // A point of a control's client area in form coordinates.
  TPoint At(const TControl* C, int X, int Y) const { return C->ClientToParent({X, Y}, Form); }

  TForm* Form = nullptr;

 private:
  std::unique_ptr<THeadlessInput> FInput;
};

}  // namespace qel::test

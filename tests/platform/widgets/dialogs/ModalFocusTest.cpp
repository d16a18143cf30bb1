// Faults found by driving the gallery in real windows, reproduced headless.
//
// A modal dialog that ends must hand the keyboard back to the window that was active before:
// on an X server without a window manager the focus of a closed window reverts to nobody, so
// the backend has to be told which window takes over, or every key is lost until a click.
#include <gtest/gtest.h>

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class ModalFocusTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    RegisterDialogClasses();
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 100, 21);
    ShowForm();
    Backend()->ClearRecords();
  }
  TEdit* Edit = nullptr;
};

TEST_F(ModalFocusTest, ColourDialogGivesTheKeyboardBackToItsOwnersWindow) {
  auto* dialog = new TColorDialog(Form);
  TForm* seen = nullptr;
  Application->OnModalShow = [&](TForm* F) {
    seen = F;
    // While it runs, nothing has asked for the main window yet.
    EXPECT_TRUE(Backend()->Activated.empty());
    THeadlessInput(F).PressKey(VK_ESCAPE);
  };
  EXPECT_FALSE(dialog->Execute());
  ASSERT_NE(seen, nullptr);
  ASSERT_EQ(Backend()->Activated.size(), 1u);
  EXPECT_EQ(Backend()->Activated.back(), Form);
  EXPECT_EQ(Screen->GetActiveForm(), Form);
  // The edit that had the focus has it again, and typing reaches it.
  EXPECT_TRUE(Edit->Focused());
  Edit->SetText("");
  Input().TypeText("ok");
  EXPECT_EQ(Edit->GetText(), "ok");
}

TEST_F(ModalFocusTest, MessageBoxGivesTheKeyboardBack) {
  Application->OnModalShow = [](TForm* F) { THeadlessInput(F).PressKey(VK_RETURN); };
  EXPECT_EQ(MessageDlg("Saved.", mtInformation, {mbOK}), mrOk);
  ASSERT_EQ(Backend()->Activated.size(), 1u);
  EXPECT_EQ(Backend()->Activated.back(), Form);
}

TEST_F(ModalFocusTest, NestedDialogsHandTheKeyboardDownTheStack) {
  auto* outer = new TForm(Application);
  outer->SetBounds(0, 0, 200, 100);
  std::vector<TForm*> whileOuter;
  Application->OnModalShow = [&](TForm* F) {
    if (F != outer) {
      THeadlessInput(F).PressKey(VK_ESCAPE);
      return;
    }
    // A message box over the first dialog: closing it gives the keys to the first dialog.
    MessageDlg("Really?", mtConfirmation, {mbYes, mbNo});
    whileOuter = Backend()->Activated;
    outer->SetModalResult(mrOk);
  };
  EXPECT_EQ(outer->ShowModal(), mrOk);
  ASSERT_EQ(whileOuter.size(), 1u);
  EXPECT_EQ(whileOuter[0], outer);
  ASSERT_EQ(Backend()->Activated.size(), 2u);
  EXPECT_EQ(Backend()->Activated.back(), Form);
  delete outer;
}

TEST_F(ModalFocusTest, TheFormActiveBeforeTheDialogTakesOverNotTheOneShownLast) {
  // A tool window shown after the main form, then the main form active again: the dialog the
  // main form opens must give the keys back to it, not to the tool window.
  auto* tool = new TForm(Application);
  tool->SetBounds(400, 0, 100, 100);
  tool->Show();
  Form->NativeActivated();
  ASSERT_EQ(Screen->GetActiveForm(), Form);
  Backend()->ClearRecords();
  Application->OnModalShow = [](TForm* F) { THeadlessInput(F).PressKey(VK_ESCAPE); };
  MessageDlg("Overwrite?", mtConfirmation, {mbYes, mbNo});
  EXPECT_EQ(Screen->GetActiveForm(), Form);
  ASSERT_EQ(Backend()->Activated.size(), 1u);
  EXPECT_EQ(Backend()->Activated.back(), Form);
  EXPECT_TRUE(Edit->Focused());
  delete tool;
}

// Coming back from a dialog is no entry into the edit: the caret stays where the user left it
// and the next key inserts there instead of replacing the whole text.
TEST_F(ModalFocusTest, AnEditKeepsItsCaretWhenADialogCloses) {
  Edit->SetText("Pressure sensor 3");
  Edit->SetFocus();
  ASSERT_TRUE(Edit->Focused());
  Edit->SetSelStart(8);
  Application->OnModalShow = [](TForm* F) { THeadlessInput(F).PressKey(VK_ESCAPE); };
  MessageDlg("Calibrate now?", mtConfirmation, {mbYes, mbNo});
  ASSERT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->GetSelStart(), 8);
  EXPECT_EQ(Edit->GetSelLength(), 0);
  Input().TypeText("X");
  EXPECT_EQ(Edit->GetText(), "PressureX sensor 3");
}

TEST_F(ModalFocusTest, EnteringAgainAfterADialogStillSelectsEverything) {
  auto* second = new TEdit(Form);
  second->SetParent(Form);
  second->SetBounds(10, 40, 100, 21);
  Edit->SetText("first");
  Edit->SetFocus();
  Edit->SetSelStart(2);
  Application->OnModalShow = [](TForm* F) { THeadlessInput(F).PressKey(VK_ESCAPE); };
  MessageDlg("Note", mtInformation, {mbOK});
  Input().PressKey(VK_TAB);
  ASSERT_TRUE(second->Focused());
  Input().PressKey(VK_TAB, {ssShift});
  ASSERT_TRUE(Edit->Focused());
  EXPECT_EQ(Edit->GetSelLength(), 5);
}

TEST_F(ModalFocusTest, AMaskEditKeepsWhatEscReturnsToAcrossADialog) {
  auto* phone = new TMaskEdit(Form);
  phone->SetParent(Form);
  phone->SetBounds(10, 40, 150, 21);
  phone->SetEditMask("(999) 000-0000;0;_");
  phone->SetText("5551234567");
  phone->SetFocus();
  phone->SetSelStart(1);
  Input().TypeText("4");  // (455) 123-4567
  ASSERT_EQ(phone->GetEditText(), "(455) 123-4567");
  Application->OnModalShow = [](TForm* F) { THeadlessInput(F).PressKey(VK_ESCAPE); };
  MessageDlg("Check the number", mtWarning, {mbOK});
  ASSERT_TRUE(phone->Focused());
  // Esc still undoes the whole visit to the field, not just what followed the dialog.
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(phone->GetEditText(), "(555) 123-4567");
}

TEST_F(ModalFocusTest, HidingAnInactiveFormMovesNoFocus) {
  auto* other = new TForm(Application);
  other->SetBounds(400, 0, 100, 100);
  other->Show();
  Form->NativeActivated();  // the user clicks back into the main window
  ASSERT_EQ(Screen->GetActiveForm(), Form);
  Backend()->ClearRecords();
  other->Hide();
  EXPECT_TRUE(Backend()->Activated.empty());
  EXPECT_EQ(Screen->GetActiveForm(), Form);
  delete other;
}

}  // namespace
}  // namespace qel::test

// The message boxes: their buttons and results, the default and cancel buttons, the layout of
// long texts, their look, and the error dialog the application shows its errors in.
#include <gtest/gtest.h>

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class MessageDialogTest : public WidgetTest {};

TEST_F(MessageDialogTest, ButtonsAnswerWithTheirResults) {
  // Enter takes the default (Yes), Esc the cancel button (No without Cancel), letters their own.
  std::vector<uint16_t> keys;
  std::vector<TShiftState> shifts;
  Application->OnModalShow = [&](TForm* F) {
    THeadlessInput in(F);
    in.PressKey(keys.front(), shifts.front());
    keys.erase(keys.begin());
    shifts.erase(shifts.begin());
  };
  keys = {VK_RETURN, VK_ESCAPE, 'N', 'A', 'R', 'O'};
  shifts = {{}, {}, {}, {}, {}, {ssAlt}};
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, {mbYes, mbNo}), mrYes);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, {mbYes, mbNo}), mrNo);
  EXPECT_EQ(MessageDlg("Save?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrNo);
  EXPECT_EQ(MessageDlg("Disk?", mtError, {mbAbort, mbRetry, mbIgnore}), mrAbort);
  EXPECT_EQ(MessageDlg("Disk?", mtError, {mbAbort, mbRetry, mbIgnore}), mrRetry);
  EXPECT_EQ(MessageDlg("Copy?", mtConfirmation, {mbYes, mbNoToAll}), mrNoToAll);  // Alt+O
  // Esc with Cancel present is Cancel; a lone OK answers Esc too.
  keys = {VK_ESCAPE, VK_ESCAPE};
  shifts = {{}, {}};
  EXPECT_EQ(MessageDlg("Go on?", mtWarning, {mbOK, mbCancel}), mrCancel);
  EXPECT_EQ(MessageDlg("Done", mtInformation, {mbOK}), mrOk);
  // A box without buttons still gets OK; closing it is Cancel.
  Application->OnModalShow = [](TForm* F) {
    EXPECT_NE(F->FindComponent("OK"), nullptr);
    EXPECT_EQ(F->ControlCount(), 3);  // icon, text, OK
    F->Close();
  };
  EXPECT_EQ(MessageDlg("Nothing", mtWarning, {}), mrCancel);
  EXPECT_EQ(Screen->FormCount(), 1);  // the box went away each time
}

TEST_F(MessageDialogTest, CaptionsDefaultsAndNames) {
  Application->Title = "Meter tool";
  auto check = [](TMsgDlgType T, TMsgDlgButtons B, const std::string& Caption,
                  const std::string& Default, const std::string& Cancel) {
    std::unique_ptr<TForm> f(CreateMessageDialog("Text & more", T, B));
    EXPECT_EQ(f->GetCaption(), Caption);
    EXPECT_EQ(f->GetBorderStyle(), bsDialog);
    EXPECT_EQ(f->FindComponent("Message")->GetName(), "Message");
    EXPECT_EQ(dynamic_cast<TControl*>(f->FindComponent("Message"))->GetCaption(), "Text & more");
    EXPECT_EQ(f->FindComponent("Image") != nullptr, T != mtCustom);
    for (int i = 0; i < f->ComponentCount(); ++i)
      if (auto* b = dynamic_cast<TButton*>(f->Components(i))) {
        EXPECT_EQ(b->GetDefault(), b->GetName() == Default) << b->GetName();
        EXPECT_EQ(b->GetCancel(), b->GetName() == Cancel) << b->GetName();
      }
    EXPECT_EQ(f->GetActiveControl(), f->FindComponent(Default));
  };
  check(mtWarning, {mbOK, mbCancel}, "Warning", "OK", "Cancel");
  check(mtError, {mbAbort, mbRetry, mbIgnore}, "Error", "Abort", "");
  check(mtInformation, {mbOK}, "Information", "OK", "OK");
  check(mtConfirmation, {mbYes, mbNo, mbCancel, mbHelp}, "Confirm", "Yes", "Cancel");
  check(mtCustom, {mbNoToAll, mbYesToAll, mbAll}, "Meter tool", "All", "");
}

TEST_F(MessageDialogTest, LongTextWrapsAndTheFormFitsIt) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "measurement ";
  std::unique_ptr<TForm> f(CreateMessageDialog(text, mtInformation, {mbOK}));
  auto* label = dynamic_cast<TLabel*>(f->FindComponent("Message"));
  auto* ok = dynamic_cast<TButton*>(f->FindComponent("OK"));
  EXPECT_LE(label->GetWidth(), 360);
  EXPECT_GT(label->GetHeight(), 30);  // several lines
  EXPECT_GT(ok->GetTop(), label->GetTop() + label->GetHeight());
  EXPECT_LE(label->GetLeft() + label->GetWidth(), f->ClientWidth());
  EXPECT_LE(ok->GetTop() + ok->GetHeight(), f->ClientHeight());
  // The buttons sit centred.
  EXPECT_NEAR(ok->GetLeft() + ok->GetWidth() / 2, f->ClientWidth() / 2, 1);
}

TEST_F(MessageDialogTest, ShowMessageWaitsForOk) {
  Application->Title = "Gallery";
  std::string caption;
  Application->OnModalShow = [&](TForm* F) {
    caption = F->GetCaption();
    dynamic_cast<TButton*>(F->FindComponent("OK"))->Click();
  };
  ShowMessage("Saved.");
  EXPECT_EQ(caption, "Gallery");
}

// A refused entry reaches the application's handler; with the widgets' hook it shows in our
// own error box (and in the backend's log), Enter or Esc closes it and the focus is back on
// the field. An error raised while the box is up is only logged; without the hook the
// backend's native box has it.
TEST_F(MessageDialogTest, ApplicationErrorsShowInTheErrorDialogAndTheFocusReturns) {
  auto* date = new TMaskEdit(Form);
  date->SetParent(Form);
  date->SetBounds(10, 10, 120, 21);
  date->SetEditMask("00/00/0000;1;_");
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 40, 120, 21);
  const std::string refused = "Incomplete entry: every required position of the field must be "
                              "filled in. Complete the entry or press Esc to undo the changes.";
  for (uint16_t key : {VK_RETURN, VK_ESCAPE}) {
    SCOPED_TRACE(key);
    InstallErrorDialogHook();
    ShowForm();
    date->SetFocus();
    Backend()->Errors.clear();
    int shown = 0;
    Application->OnModalShow = [&](TForm* F) {
      ++shown;
      EXPECT_EQ(F->GetCaption(), "Error");
      auto* text = dynamic_cast<TControl*>(F->FindComponent("Message"));
      ASSERT_NE(text, nullptr);
      EXPECT_EQ(text->GetCaption(), refused);
      EXPECT_TRUE(F->Active());
      Application->ShowException(Exception("while the box is up"));
      THeadlessInput(F).PressKey(key);
    };
    Input().TypeText("12");
    Input().PressKey(VK_TAB);  // leaving the half-filled date is refused
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Backend()->Errors, (std::vector<std::string>{refused, "while the box is up"}));
    EXPECT_EQ(Application->ModalForm(), nullptr);
    EXPECT_TRUE(Form->Active());
    EXPECT_TRUE(date->Focused());
    date->SetText("");
    date->SetModified(false);
  }
  Application->OnShowError = nullptr;
  int shown = 0;
  Application->OnModalShow = [&](TForm*) { ++shown; };
  Backend()->Errors.clear();
  Application->ShowException(Exception("native"));
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(Backend()->Errors, std::vector<std::string>{"native"});
}

TEST_F(MessageDialogTest, Looks) {
  Application->OnModalShow = [](TForm* F) {
    Application->ProcessMessages();
    ExpectMatchesGolden(*F->Surface(), "dialogs_message_confirm");
  };
  MessageDlg("Replace the calibration table?", mtConfirmation, {mbYes, mbNo, mbCancel});
}

}  // namespace
}  // namespace qel::test

// The masked edit driven through injected input: typing into slots and over literals, blanking
// with Backspace and Delete, selections, paste, case, the caret's resting places, validation on
// exit, Esc, the plain-edit behaviour without a mask, registration and the look mid-entry.
#include <gtest/gtest.h>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/Mask.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class MaskEditTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Edit = new TMaskEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 21);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 60, 100, 21);
  }
  void Show(const std::string& Mask) {
    Edit->SetEditMask(Mask);
    ShowForm();
    ASSERT_TRUE(Edit->Focused());
  }
  TPoint OtherPoint() { return At(Other, 5, 5); }
  TMaskEdit* Edit = nullptr;
  TEdit* Other = nullptr;
};

TEST_F(MaskEditTest, TypingFillsSlotsAndStepsOverLiterals) {
  Show("!99/99/0000;1;_");
  EXPECT_EQ(Edit->GetEditText(), "__-__-____");
  EXPECT_EQ(Edit->GetSelStart(), 0);  // an empty field starts at its first slot
  EXPECT_EQ(Edit->GetSelLength(), 0);
  Input().TypeText("1205");
  EXPECT_EQ(Edit->GetEditText(), "12-05-____");
  EXPECT_EQ(Edit->GetSelStart(), 6);  // past the second literal already
  Input().TypeText("2020");
  EXPECT_EQ(Edit->GetEditText(), "12-05-2020");
  EXPECT_EQ(Edit->GetText(), "12-05-2020");
  EXPECT_EQ(Edit->GetSelStart(), 10);
  EXPECT_TRUE(Edit->GetModified());
  // Full: another character has nowhere to go.
  size_t beeps = Backend()->Beeps.size();
  Input().TypeText("9");
  EXPECT_EQ(Edit->GetEditText(), "12-05-2020");
  EXPECT_EQ(Backend()->Beeps.size(), beeps + 1);

  // Typing overwrites; a character that does not fit is refused with a beep; the literal just
  // stepped over may be typed too ("3-" goes through silently).
  Input().PressKey(VK_HOME);
  Input().TypeText("x");
  EXPECT_EQ(Edit->GetEditText(), "12-05-2020");
  EXPECT_EQ(Backend()->Beeps.size(), beeps + 2);
  Input().TypeText("31-");
  EXPECT_EQ(Edit->GetEditText(), "31-05-2020");
  EXPECT_EQ(Backend()->Beeps.size(), beeps + 2);
  EXPECT_EQ(Edit->GetSelStart(), 3);
  // A space empties the slot and moves on.
  Input().TypeText(" ");
  EXPECT_EQ(Edit->GetEditText(), "31-_5-2020");
  EXPECT_EQ(Edit->GetText(), "31- 5-2020");
}

TEST_F(MaskEditTest, BackspaceAndDeleteBlankSlotsInsteadOfRemoving) {
  Show("(999) 000-0000;0;_");
  Input().TypeText("5551234");
  EXPECT_EQ(Edit->GetEditText(), "(555) 123-4___");
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "(555) 123-____");
  EXPECT_EQ(Edit->GetSelStart(), 10);  // on the slot just blanked
  Input().PressKey(VK_BACK);           // over the '-'
  EXPECT_EQ(Edit->GetEditText(), "(555) 12_-____");
  EXPECT_EQ(Edit->GetSelStart(), 8);
  // Backspace over ") " lands on the slot before them.
  Edit->SetSelStart(6);
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "(55_) 12_-____");
  EXPECT_EQ(Edit->GetSelStart(), 3);
  // Delete blanks the slot at the caret and stays.
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Edit->GetSelStart(), 1);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Edit->GetEditText(), "(_5_) 12_-____");
  EXPECT_EQ(Edit->GetSelStart(), 1);
  EXPECT_EQ(Edit->GetText(), " 5 12");
  // Backspace at the first slot does nothing.
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "(_5_) 12_-____");
  // Ctrl+Z undoes the last step.
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetEditText(), "(55_) 12_-____");
}

TEST_F(MaskEditTest, SelectionsAreBlankedByTypingDeletingAndCutting) {
  Show("00:00:00;1;_");
  Edit->SetText("12:34:56");
  Edit->SetSelStart(1);
  Edit->SetSelLength(4);  // "2:34"
  Input().TypeText("9");
  EXPECT_EQ(Edit->GetEditText(), "19:__:56");
  EXPECT_EQ(Edit->GetSelStart(), 3);
  EXPECT_EQ(Edit->GetSelLength(), 0);
  Edit->SetSelStart(0);
  Edit->SetSelLength(8);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Edit->GetEditText(), "__:__:__");
  EXPECT_EQ(Edit->GetSelStart(), 0);
  Edit->SetText("12:34:56");
  Edit->SetSelStart(3);
  Edit->SetSelLength(5);
  Input().PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "34:56");
  EXPECT_EQ(Edit->GetEditText(), "12:__:__");
  // A refused character leaves the selection's text alone.
  Edit->SelectAll();
  Input().TypeText("a");
  EXPECT_EQ(Edit->GetEditText(), "12:__:__");
}

TEST_F(MaskEditTest, PasteIsFilteredThroughTheMask) {
  Show("(999) 000-0000;0;_");
  Clipboard()->SetAsText("(555) 123-4567");
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Edit->GetEditText(), "(555) 123-4567");
  EXPECT_EQ(Edit->GetText(), "5551234567");
  // Junk between the digits is dropped; the paste overwrites from the selection on.
  Edit->SelectAll();
  Clipboard()->SetAsText("tel: 0 4 x 2");
  Input().PressKey(VK_INSERT, {ssShift});
  EXPECT_EQ(Edit->GetEditText(), "(042) ___-____");
  EXPECT_EQ(Edit->GetSelStart(), 6);
  // More than fits stops at the last slot.
  Edit->SetSelStart(10);
  Clipboard()->SetAsText("98765");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Edit->GetEditText(), "(042) ___-9876");
  // Shift+Delete cuts through the mask too: the slots blank, the literals stay.
  Edit->SetSelStart(1);
  Edit->SetSelLength(3);
  Input().PressKey(VK_DELETE, {ssShift});
  EXPECT_EQ(Clipboard()->GetAsText(), "042");
  EXPECT_EQ(Edit->GetEditText(), "(___) ___-9876");
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetEditText(), "(042) ___-9876");
  // The program's SetSelText goes through the mask too, and is no user edit.
  Edit->SetModified(false);
  Edit->SetSelStart(6);
  Edit->SetSelText("1a23");
  EXPECT_EQ(Edit->GetEditText(), "(042) 123-9876");
  EXPECT_FALSE(Edit->GetModified());
  // Read-only refuses pastes and typing.
  Edit->SetReadOnly(true);
  Edit->SelectAll();
  Edit->PasteFromClipboard();
  Input().TypeText("1");
  EXPECT_EQ(Edit->GetEditText(), "(042) 123-9876");
}

TEST_F(MaskEditTest, TheCaretNeverRestsOnALiteral) {
  Show("(999) 000-0000;1;_");
  Edit->SetText("(555) 123-4567");
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Edit->GetSelStart(), 1);
  Input().PressKey(VK_END);
  EXPECT_EQ(Edit->GetSelStart(), 14);
  Edit->SetSelStart(6);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Edit->GetSelStart(), 3);
  Input().PressKey(VK_RIGHT);
  EXPECT_EQ(Edit->GetSelStart(), 6);
  Input().PressKey(VK_LEFT, {ssCtrl});
  EXPECT_LT(Edit->GetSelStart(), 6);
  EXPECT_TRUE(Edit->Mask().IsEditable(Edit->GetSelStart()));
  // A click on ") " puts the caret before the next slot.
  Edit->SetSelStart(4);
  int x4 = Edit->CaretRect().Left;
  Edit->SetSelStart(1);
  TPoint p = At(Edit, x4 + 1, Edit->GetHeight() / 2);
  Input().Click(p.X, p.Y);
  EXPECT_EQ(Edit->GetSelStart(), 6);
  // Shift+arrows still select across literals.
  Input().PressKey(VK_LEFT, {ssShift});
  Input().PressKey(VK_LEFT, {ssShift});
  EXPECT_EQ(Edit->GetSelLength(), 2);
  EXPECT_EQ(Edit->GetSelText(), ") ");
}

TEST_F(MaskEditTest, TheContextMenuCutsPastesAndDeletesThroughTheMask) {
  Show("00:00:00;1;_");
  Edit->SetText("12:34:56");
  Edit->SetSelStart(3);
  Edit->SetSelLength(2);
  TPoint p = At(Edit, 20, 5);
  Input().Click(p.X, p.Y, mbRight);
  // The edit's standard menu: its entries reach the mask-aware operations.
  TPopupMenu* menu = Edit->StandardMenu();
  ASSERT_TRUE(menu);
  ASSERT_TRUE(menu->IsOpen());
  auto entry = [&](const std::string& Caption) -> TMenuItem* {
    for (int i = 0; i < menu->GetItems()->Count(); ++i)
      if (menu->GetItems()->Items(i)->GetCaption() == Caption) return menu->GetItems()->Items(i);
    return nullptr;
  };
  ASSERT_TRUE(entry("Cu&t"));
  EXPECT_TRUE(entry("Cu&t")->GetEnabled());
  menu->CloseMenu();
  entry("Cu&t")->Click();
  EXPECT_EQ(Clipboard()->GetAsText(), "34");
  EXPECT_EQ(Edit->GetEditText(), "12:__:56");
  Edit->SetSelStart(0);
  Edit->SetSelLength(1);
  entry("&Delete")->Click();
  EXPECT_EQ(Edit->GetEditText(), "_2:__:56");
  Clipboard()->SetAsText("9:87");
  Input().Click(p.X, p.Y, mbRight);  // entries are enabled as the menu opens
  menu->CloseMenu();
  EXPECT_TRUE(Edit->Focused());
  EXPECT_TRUE(Backend()->Errors.empty());  // the menu taking the focus is no exit
  Edit->SetSelStart(1);
  ASSERT_TRUE(entry("&Paste")->GetEnabled());
  entry("&Paste")->Click();
  EXPECT_EQ(Edit->GetEditText(), "_9:87:56");
  // Without a mask the edit's own menu shows.
  Edit->SetEditMask("");
  Input().Click(p.X, p.Y, mbRight);
  EXPECT_TRUE(Edit->StandardMenu());
}

TEST_F(MaskEditTest, CaseConversionTrimmingSaveFlagAndBlankCharacter) {
  Show(">LL<ll<>L;1;*");
  EXPECT_EQ(Edit->GetEditText(), "*****");
  Input().TypeText("abCDe");
  EXPECT_EQ(Edit->GetEditText(), "ABcde");
  Input().PressKey('Z', {ssCtrl});
  Edit->SetEditMask(">LL<ll<>L;1;*");
  Edit->SetText("\u00e9\u00f6\u00c4\u0416x");
  EXPECT_EQ(Edit->GetEditText(), "\u00c9\u00d6\u00e4\u0436x");
  // Typed letters outside ASCII take one slot each, in the slot's case.
  Input().PressKey(VK_HOME);
  Input().TypeText("\u00fe\u0394");
  EXPECT_EQ(Edit->GetEditText(), "\u00de\u0394\u00e4\u0436x");
  EXPECT_EQ(Edit->GetSelStart(), 2);
  Input().TypeText("\u039b");
  EXPECT_EQ(Edit->GetEditText(), "\u00de\u0394\u03bb\u0436x");

  // '!' keeps a short value at the end and trims the leading blanks of the value.
  Edit->SetEditMask("!9999;0;_");
  Edit->SetText("42");
  EXPECT_EQ(Edit->GetEditText(), "__42");
  EXPECT_EQ(Edit->GetText(), "42");
  // The save-literals flag decides what Text carries.
  Edit->SetEditMask("00-00;0;_");
  Edit->SetText("1234");
  EXPECT_EQ(Edit->GetEditText(), "12-34");
  EXPECT_EQ(Edit->GetText(), "1234");
  Edit->SetEditMask("00-00;1;_");  // a new mask keeps the value
  EXPECT_EQ(Edit->GetEditText(), "12-34");
  EXPECT_EQ(Edit->GetText(), "12-34");
  // Text set through the base class is formatted as a value too.
  static_cast<TControl*>(Edit)->SetText("9876");
  EXPECT_EQ(Edit->GetEditText(), "98-76");
  Edit->Clear();
  EXPECT_EQ(Edit->GetEditText(), "__-__");
  EXPECT_TRUE(Edit->IsMasked());
  // Without the mask the value stays as the plain text.
  Edit->SetEditMask("");
  EXPECT_FALSE(Edit->IsMasked());
  EXPECT_EQ(Edit->GetText(), "  -");
  EXPECT_EQ(Edit->GetEditText(), Edit->GetText());
}

TEST_F(MaskEditTest, LeavingAnIncompleteEntryRaisesAndKeepsTheFocus) {
  Show("!99/99/0000;1;_");
  // Untouched, the empty field lets the focus go.
  TPoint other = OtherPoint();
  Input().Click(other.X, other.Y);
  EXPECT_TRUE(Other->Focused());
  EXPECT_TRUE(Backend()->Errors.empty());
  Input().PressKey(VK_TAB, {ssShift});
  ASSERT_TRUE(Edit->Focused());

  Input().TypeText("120");
  Input().Click(other.X, other.Y);
  EXPECT_TRUE(Edit->Focused());
  ASSERT_EQ(Backend()->Errors.size(), 1u);
  EXPECT_NE(Backend()->Errors[0].find("Incomplete entry"), std::string::npos);
  EXPECT_EQ(Edit->GetEditText(), "12-0_-____");
  EXPECT_EQ(Edit->GetSelStart(), 6);  // on the first unfilled required slot (the year)
  // Tab is refused the same way.
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Backend()->Errors.size(), 2u);

  // The program can ask at any time; the exception is our own class.
  EXPECT_THROW(Edit->ValidateEdit(), EMaskEditError);
  try {
    Edit->ValidateEdit();
  } catch (const Exception& E) {
    EXPECT_NE(E.Message.find("Esc"), std::string::npos);
  }
  Input().TypeText("202");
  EXPECT_THROW(Edit->ValidateEdit(), EMaskEditError);  // every digit of the year is required
  Input().TypeText("0");
  EXPECT_NO_THROW(Edit->ValidateEdit());  // the optional day digit may stay empty
  Input().Click(other.X, other.Y);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(Backend()->Errors.size(), 2u);
  EXPECT_EQ(Edit->GetText(), "12-0 -2020");
}

TEST_F(MaskEditTest, AnIncompleteFocusedEditDiesOrHidesWithoutRaising) {
  Show("00:00;1;_");
  Input().TypeText("1");
  // Hiding the form and destroying the control are no exits the user could complete.
  Form->Hide();
  Form->Show();
  Application->ProcessMessages();
  delete Edit;
  Edit = nullptr;
  Application->ProcessMessages();
  EXPECT_TRUE(Backend()->Errors.empty());
}

TEST_F(MaskEditTest, EscGivesBackTheTextFromFocusIn) {
  Edit->SetEditMask("00:00;1;_");
  Edit->SetText("08:15");
  ShowForm();
  ASSERT_TRUE(Edit->Focused());
  Input().PressKey(VK_HOME);
  Input().TypeText("23");
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetEditText(), "2_:15");
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Edit->GetEditText(), "08:15");
  EXPECT_FALSE(Edit->GetModified());
  // Restored, the field lets the focus go without a complaint.
  TPoint other = OtherPoint();
  Input().Click(other.X, other.Y);
  EXPECT_TRUE(Other->Focused());
  EXPECT_TRUE(Backend()->Errors.empty());
  // Esc on an unchanged field is not the field's: it changes nothing.
  Input().PressKey(VK_TAB, {ssShift});
  ASSERT_TRUE(Edit->Focused());
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Edit->GetEditText(), "08:15");
  // The restore is one undoable step.
  Input().PressKey(VK_END);
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_ESCAPE);
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetEditText(), "08:1_");
}

TEST_F(MaskEditTest, WithoutAMaskItIsAPlainEdit) {
  ShowForm();
  ASSERT_TRUE(Edit->Focused());
  EXPECT_FALSE(Edit->IsMasked());
  Input().TypeText("a/b");
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Edit->GetText(), "a");
  EXPECT_EQ(Edit->GetEditText(), "a");
  Clipboard()->SetAsText("xyz");
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "axyz");
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Edit->GetText(), "axyz");
  EXPECT_NO_THROW(Edit->ValidateEdit());
  TPoint other = OtherPoint();
  Input().Click(other.X, other.Y);
  EXPECT_TRUE(Other->Focused());
}

TEST_F(MaskEditTest, RegisteredAndRoundTripsThroughAFormFile) {
  RegisterMaskClasses();
  RegisterMaskClasses();  // idempotent
  ASSERT_TRUE(FindClassInfo("TMaskEdit"));
  Edit->SetName("Date");
  Edit->SetEditMask("!99/99/0000;1;_");
  Edit->SetText("01-02-2003");
  std::string text = WriteComponentText(Edit);
  EXPECT_NE(text.find("EditMask = '!99/99/0000;1;_'"), std::string::npos) << text;
  EXPECT_NE(text.find("Text = '01-02-2003'"), std::string::npos) << text;
  std::unique_ptr<TMaskEdit> copy(CreateFromText<TMaskEdit>(text, nullptr));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetEditMask(), "!99/99/0000;1;_");
  EXPECT_EQ(copy->GetEditText(), "01-02-2003");
  EXPECT_EQ(copy->GetText(), "01-02-2003");
}

TEST_F(MaskEditTest, LooksLikeAnEditMidEntry) {
  Form->SetBounds(0, 0, 180, 70);
  Edit->SetBounds(8, 8, 150, 21);
  Other->SetBounds(8, 38, 150, 21);
  auto* phone = new TMaskEdit(Form);
  phone->SetParent(Form);
  phone->SetBounds(8, 38, 150, 21);
  phone->SetEditMask("(999) 000-0000;0;*");
  phone->SetText("0301234");
  Other->SetVisible(false);
  Show("!99/99/0000;1;_");
  Input().TypeText("240");
  Application->AdvanceTime(0);
  ASSERT_TRUE(Edit->CaretShown());
  ExpectMatchesGolden(Surface(), "maskedit_mid_entry");
}

}  // namespace
}  // namespace qel::test

// The push button: clicks from the mouse, Space, accelerators, Enter for the default and Esc for
// the cancel button, the modal result, and its look in every state.
#include <gtest/gtest.h>

#include "platform/widgets/Dialogs.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class ButtonTest : public WidgetTest {
 protected:
  TButton* NewButton(const std::string& Caption, int X, int Y) {
    auto* b = new TButton(Form);
    b->SetParent(Form);
    b->SetBounds(X, Y, 75, 25);
    b->SetCaption(Caption);
    b->OnClick = [this, b](TObject* Sender) {
      EXPECT_EQ(Sender, b);
      Clicked.push_back(b->GetCaption());
    };
    return b;
  }
  TEdit* NewEdit(int X, int Y) {
    auto* e = new TEdit(Form);
    e->SetParent(Form);
    e->SetBounds(X, Y, 100, 21);
    return e;
  }
  void ClickOn(TControl* C) {
    Application->AdvanceTime(1000);  // never a double click
    TPoint p = At(C, 10, 10);
    Input().Click(p.X, p.Y);
  }
  std::vector<std::string> Clicked;
};

TEST_F(ButtonTest, MouseClicksOnReleaseInsideOnly) {
  auto* b = NewButton("Go", 10, 10);
  ShowForm();
  Input().MouseDown(20, 20);
  EXPECT_TRUE(b->IsPressed());
  EXPECT_TRUE(b->Focused());  // a press focuses the button
  EXPECT_TRUE(Clicked.empty());
  Input().MouseMove(200, 200);  // dragged off: up again, still captured
  EXPECT_FALSE(b->IsPressed());
  Input().MouseMove(30, 20);  // and back in: pressed again
  EXPECT_TRUE(b->IsPressed());
  Input().MouseUp(30, 20);
  EXPECT_EQ(Clicked.size(), 1u);
  EXPECT_FALSE(b->IsPressed());
  // Released outside: no click.
  Application->AdvanceTime(1000);
  Input().MouseDown(20, 20);
  Input().MouseMove(200, 200);
  Input().MouseUp(200, 200);
  EXPECT_EQ(Clicked.size(), 1u);
  // The right button does nothing; two quick presses are two clicks.
  Input().Click(20, 20, mbRight);
  EXPECT_EQ(Clicked.size(), 1u);
  Application->AdvanceTime(1000);
  Input().DoubleClick(20, 20);
  EXPECT_EQ(Clicked.size(), 3u);
}

TEST_F(ButtonTest, SpaceClicksOnReleaseAndFocusLossCancelsIt) {
  auto* a = NewButton("A", 10, 10);
  NewButton("B", 100, 10);
  ShowForm();
  ASSERT_TRUE(a->Focused());
  Input().KeyDown(VK_SPACE);
  EXPECT_TRUE(a->IsPressed());
  EXPECT_TRUE(Clicked.empty());
  Input().KeyUp(VK_SPACE);
  EXPECT_EQ(Clicked, std::vector<std::string>{"A"});
  EXPECT_FALSE(a->IsPressed());
  // Space held while the focus moves on: the release elsewhere clicks nothing.
  Input().KeyDown(VK_SPACE);
  Input().PressKey(VK_TAB);
  Input().KeyUp(VK_SPACE);
  EXPECT_FALSE(a->IsPressed());
  EXPECT_EQ(Clicked.size(), 1u);
  // A full key press (with the space character it types) clicks once.
  Input().PressKey(VK_SPACE);
  EXPECT_EQ(Clicked, (std::vector<std::string>{"A", "B"}));
}

TEST_F(ButtonTest, EnterClicksTheDefaultUnlessAButtonOrTheFocusedControlTakesIt) {
  auto* edit = NewEdit(10, 10);
  auto* ok = NewButton("OK", 10, 50);
  ok->SetDefault(true);
  auto* other = NewButton("Other", 100, 50);
  auto* memo = new TMemo(Form);
  memo->SetParent(Form);
  memo->SetBounds(10, 100, 100, 50);
  ShowForm();
  edit->SetFocus();
  EXPECT_TRUE(ok->IsActiveDefault());
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Clicked, std::vector<std::string>{"OK"});
  // Another button focused: Enter is its own, and the default frame moves to it.
  other->SetFocus();
  EXPECT_FALSE(ok->IsActiveDefault());
  EXPECT_TRUE(other->IsActiveDefault());
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Clicked.back(), "Other");
  // A memo wants Enter for itself.
  memo->SetFocus();
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Clicked.size(), 2u);
  // With a modifier Enter is not a dialog key; a disabled default does nothing.
  edit->SetFocus();
  Input().PressKey(VK_RETURN, {ssCtrl});
  EXPECT_EQ(Clicked.size(), 2u);
  ok->SetEnabled(false);
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Clicked.size(), 2u);
}

TEST_F(ButtonTest, EscapeClicksTheCancelButtonAndModalResultReachesTheForm) {
  auto* edit = NewEdit(10, 10);
  auto* cancel = NewButton("Cancel", 10, 50);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  auto* yes = NewButton("Yes", 100, 50);
  yes->SetModalResult(mrYes);
  auto* plain = NewButton("Plain", 200, 50);
  ShowForm();
  edit->SetFocus();
  Input().PressKey(VK_ESCAPE);
  EXPECT_EQ(Clicked, std::vector<std::string>{"Cancel"});
  EXPECT_EQ(Form->GetModalResult(), mrCancel);
  ClickOn(yes);
  EXPECT_EQ(Form->GetModalResult(), mrYes);
  // A button without a result leaves the form's result alone.
  ClickOn(plain);
  EXPECT_EQ(Form->GetModalResult(), mrYes);
  // OnClick runs after the result is set, so it can overrule it.
  yes->OnClick = [this](TObject*) { Form->SetModalResult(mrNone); };
  yes->Click();
  EXPECT_EQ(Form->GetModalResult(), mrNone);
}

TEST_F(ButtonTest, ButtonsEndAModalForm) {
  auto* dlg = new TForm(Application);
  dlg->SetBounds(0, 0, 200, 100);
  auto* ok = new TButton(dlg);
  ok->SetParent(dlg);
  ok->SetName("OK");
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  auto* cancel = new TButton(dlg);
  cancel->SetParent(dlg);
  cancel->SetLeft(100);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  uint16_t key = VK_RETURN;
  Application->OnModalShow = [&key](TForm* F) { THeadlessInput(F).PressKey(key); };
  EXPECT_EQ(dlg->ShowModal(), mrOk);
  key = VK_ESCAPE;
  EXPECT_EQ(dlg->ShowModal(), mrCancel);
}

TEST_F(ButtonTest, AcceleratorsClickWithAltAndAloneWhereCharactersAreNotWanted) {
  auto* edit = NewEdit(10, 10);
  auto* save = NewButton("&Save", 10, 50);
  NewButton("&Quit", 100, 50);
  ShowForm();
  save->SetFocus();
  // The focused button takes no characters: the letter alone clicks (either case).
  Input().PressKey('Q');
  EXPECT_EQ(Clicked, std::vector<std::string>{"&Quit"});
  Input().PressKey('S', {ssShift});
  EXPECT_EQ(Clicked.back(), "&Save");
  // In an edit the letter is typed instead.
  edit->SetFocus();
  Input().PressKey('Q');
  EXPECT_EQ(edit->GetText(), "q");
  EXPECT_EQ(Clicked.size(), 2u);
  // The Alt+letter path reaches the buttons as CM_DIALOGCHAR.
  EXPECT_NE(Form->Perform(CM_DIALOGCHAR, 'q'), 0);
  EXPECT_EQ(Clicked.back(), "&Quit");
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 'x'), 0);
  // "&&" is a literal ampersand, not an accelerator; disabled buttons do not answer.
  save->SetCaption("Save && go");
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 's'), 0);
  save->SetCaption("&Save");
  save->SetEnabled(false);
  EXPECT_EQ(Form->Perform(CM_DIALOGCHAR, 's'), 0);
}

TEST_F(ButtonTest, DisablingWhilePressedDropsThePress) {
  auto* b = NewButton("Go", 10, 10);
  ShowForm();
  Input().MouseDown(20, 20);
  ASSERT_TRUE(b->IsPressed());
  b->SetEnabled(false);
  EXPECT_FALSE(b->IsPressed());
  Input().MouseUp(20, 20);
  EXPECT_TRUE(Clicked.empty());
  // A disabled button ignores presses altogether.
  ClickOn(b);
  EXPECT_TRUE(Clicked.empty());
}

TEST_F(ButtonTest, LooksInTheirStates) {
  Form->SetBounds(0, 0, 360, 40);
  auto* normal = NewButton("Normal", 5, 8);
  auto* def = NewButton("&Default", 85, 8);
  def->SetDefault(true);
  auto* pressed = NewButton("Pressed", 165, 8);
  auto* off = NewButton("Disabled", 245, 8);
  off->SetEnabled(false);
  (void)normal;
  ShowForm();
  // The pressed button holds the focus (and so the default frame moves to it).
  TPoint p = At(pressed, 10, 10);
  Input().MouseDown(p.X, p.Y);
  ExpectMatchesGolden(Surface(), "dialogs_buttons_pressed");
  Input().MouseUp(p.X, p.Y);
  // Focus on a plain edit: the default button wears its frame; nothing has a focus rectangle.
  auto* edit = NewEdit(330, 8);
  edit->SetWidth(25);
  edit->SetFocus();
  ExpectMatchesGolden(Surface(), "dialogs_buttons");
  // Probes that do not depend on the font: the default frame is dark all round, a plain
  // button's top-left edge is the highlight.
  EXPECT_EQ(PixelAt(Surface(), 85, 8), ColorToRGB(cl3DDkShadow) & 0xFFFFFF);
  EXPECT_EQ(PixelAt(Surface(), 85 + 74, 8 + 24), ColorToRGB(cl3DDkShadow) & 0xFFFFFF);
  EXPECT_EQ(PixelAt(Surface(), 5, 8), ColorToRGB(clBtnHighlight) & 0xFFFFFF);
}

}  // namespace
}  // namespace qel::test

// The single-line edit driven through injected input: typing, selecting, word steps, clipboard,
// limits, undo, change notification, scrolling and the caret.
#include <gtest/gtest.h>

#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class EditTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Edit = new TEdit(Form);
    Edit->SetParent(Form);
    Edit->SetBounds(10, 10, 150, 21);
    Edit->OnChange = [this](TObject*) { ++Changes; };
  }
  // Clicks on the boundary before code point K (found where the caret would be drawn).
  void ClickAt(int K, TShiftState Shift = {}) {
    TPoint p = BoundaryPoint(K);
    Input().Click(p.X, p.Y, mbLeft, Shift);
  }
  TPoint BoundaryPoint(int K) {
    int s = Edit->GetSelStart(), l = Edit->GetSelLength();
    Edit->SetSelStart(K);
    TRect r = Edit->CaretRect();
    Edit->SetSelStart(s);
    Edit->SetSelLength(l);
    return At(Edit, r.Left, r.Top + r.Height() / 2);
  }
  TEdit* Edit = nullptr;
  int Changes = 0;
};

TEST_F(EditTest, TypingInsertsAtTheCaretAndFiresChangePerCharacter) {
  ShowForm();
  ASSERT_TRUE(Edit->Focused());
  Input().TypeText("hello");
  EXPECT_EQ(Edit->GetText(), "hello");
  EXPECT_EQ(Edit->GetSelStart(), 5);
  EXPECT_EQ(Changes, 5);
  EXPECT_TRUE(Edit->GetModified());
  Input().PressKey(VK_HOME);
  Input().TypeText(">");
  EXPECT_EQ(Edit->GetText(), ">hello");
  Input().PressKey(VK_END);
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Edit->GetText(), "hell");
  EXPECT_EQ(Changes, 8);
  // Backspace at the start and Delete at the end change nothing and announce nothing.
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_END);
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Changes, 8);
}

TEST_F(EditTest, ShiftArrowsSelectAndTypingReplacesTheSelection) {
  ShowForm();
  Input().TypeText("abcdef");
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_LEFT, {ssShift});
  Input().PressKey(VK_LEFT, {ssShift});
  EXPECT_EQ(Edit->GetSelStart(), 3);
  EXPECT_EQ(Edit->GetSelLength(), 2);
  EXPECT_EQ(Edit->GetSelText(), "de");
  // The anchor stays: going right again shrinks the selection from the moving end.
  Input().PressKey(VK_RIGHT, {ssShift});
  EXPECT_EQ(Edit->GetSelText(), "e");
  Input().PressKey(VK_HOME, {ssShift});
  EXPECT_EQ(Edit->GetSelText(), "abcde");
  Input().TypeText("X");
  EXPECT_EQ(Edit->GetText(), "Xf");
  // Left without Shift collapses a selection to its start instead of moving.
  Input().PressKey(VK_END, {ssShift});
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Edit->GetSelStart(), 1);
  EXPECT_EQ(Edit->GetSelLength(), 0);
}

TEST_F(EditTest, CtrlArrowsStepByWords) {
  ShowForm();
  Input().TypeText("one two,  three");
  Input().PressKey(VK_HOME);
  std::vector<int> stops;
  for (int i = 0; i < 5; ++i) {
    Input().PressKey(VK_RIGHT, {ssCtrl});
    stops.push_back(Edit->GetSelStart());
  }
  EXPECT_EQ(stops, (std::vector<int>{4, 7, 10, 15, 15}));
  stops.clear();
  for (int i = 0; i < 5; ++i) {
    Input().PressKey(VK_LEFT, {ssCtrl});
    stops.push_back(Edit->GetSelStart());
  }
  EXPECT_EQ(stops, (std::vector<int>{10, 7, 4, 0, 0}));
  Input().PressKey(VK_END);
  Input().PressKey(VK_LEFT, {ssCtrl, ssShift});
  EXPECT_EQ(Edit->GetSelText(), "three");
  Input().PressKey(VK_DELETE);
  Input().PressKey(VK_DELETE, {ssCtrl});  // nothing after the caret
  EXPECT_EQ(Edit->GetText(), "one two,  ");
  Input().PressKey(VK_BACK, {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "one two");
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_DELETE, {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "two");
}

TEST_F(EditTest, MouseClickPlacesTheCaretDragAndShiftClickSelect) {
  Edit->SetText("alpha beta gamma");
  ShowForm();
  ClickAt(3);
  EXPECT_EQ(Edit->GetSelStart(), 3);
  EXPECT_EQ(Edit->GetSelLength(), 0);
  ClickAt(9, {ssShift});
  EXPECT_EQ(Edit->GetSelText(), "ha bet");
  TPoint from = BoundaryPoint(6), to = BoundaryPoint(12);
  Input().Drag(from, to);
  EXPECT_EQ(Edit->GetSelText(), "beta g");
  // Dragging backwards selects the same way, the caret at the pointer.
  Input().Drag(to, from);
  EXPECT_EQ(Edit->GetSelText(), "beta g");
  EXPECT_EQ(Edit->GetSelStart(), 6);
  // Beyond the ends the nearest end is taken.
  Input().Click(At(Edit, Edit->GetWidth() - 4, 8).X, At(Edit, 0, 8).Y);
  EXPECT_EQ(Edit->GetSelStart(), 16);
}

TEST_F(EditTest, DoubleClickSelectsTheWord) {
  Edit->SetText("alpha beta, gamma");
  ShowForm();
  TPoint mid = BoundaryPoint(8);
  Input().DoubleClick(mid.X, mid.Y);
  EXPECT_EQ(Edit->GetSelText(), "beta");
  TPoint g = BoundaryPoint(14);
  Input().DoubleClick(g.X, g.Y);
  EXPECT_EQ(Edit->GetSelText(), "gamma");
}

TEST_F(EditTest, ClipboardRoundTrips) {
  ShowForm();
  Input().TypeText("copy me");
  Input().PressKey('A', {ssCtrl});
  EXPECT_EQ(Edit->GetSelLength(), 7);
  Input().PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "copy me");
  Input().PressKey(VK_END);
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "copy mecopy me");
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_RIGHT, {ssShift, ssCtrl});
  Input().PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "copy ");
  EXPECT_EQ(Edit->GetText(), "mecopy me");
  // Line breaks of pasted text are dropped: a single line keeps one line.
  Clipboard()->SetAsText("one\r\ntwo\nthree");
  Edit->SelectAll();
  Input().PressKey(VK_INSERT, {ssShift});
  EXPECT_EQ(Edit->GetText(), "onetwothree");
  // Ctrl+Insert copies, Shift+Delete cuts.
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_RIGHT, {ssShift});
  Input().PressKey(VK_INSERT, {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "o");
  Input().PressKey(VK_DELETE, {ssShift});
  EXPECT_EQ(Edit->GetText(), "netwothree");
}

TEST_F(EditTest, MaxLengthCountsCodePointsAndNeverSplitsOne) {
  Edit->SetMaxLength(4);
  ShowForm();
  Input().TypeText("aäöüß");
  EXPECT_EQ(Edit->GetText(), "aäöü");
  EXPECT_EQ(Edit->GetTextLen(), 4);
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetText(), "aä");
  Clipboard()->SetAsText("€😀€");
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "aä€😀");
  // Replacing a selection frees its room first.
  Input().PressKey(VK_LEFT, {ssShift});
  Input().TypeText("xy");
  EXPECT_EQ(Edit->GetText(), "aä€x");
  // The program may set a longer text.
  Edit->SetText("too long for it");
  EXPECT_EQ(Edit->GetText(), "too long for it");
}

TEST_F(EditTest, CaretStepsOverWholeCodePoints) {
  ShowForm();
  Input().TypeText("aé€😀b");
  EXPECT_EQ(Edit->GetTextLen(), 5);
  Input().PressKey(VK_LEFT);
  Input().PressKey(VK_LEFT, {ssShift});
  EXPECT_EQ(Edit->GetSelText(), "😀");
  Input().PressKey(VK_LEFT);  // collapses to the start of the selection
  EXPECT_EQ(Edit->GetSelStart(), 3);
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Edit->GetText(), "aé😀b");
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Edit->GetText(), "aéb");
  Edit->SetSelStart(2);
  Edit->SetSelLength(-1);
  EXPECT_EQ(Edit->GetSelText(), "é");
  EXPECT_EQ(Edit->GetSelStart(), 1);
}

TEST_F(EditTest, UndoTakesBackATypingRunAndUndoAgainRedoes) {
  ShowForm();
  Input().TypeText("abc");
  Input().PressKey(VK_LEFT);
  Input().TypeText("X");
  EXPECT_EQ(Edit->GetText(), "abXc");
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "abc");
  EXPECT_EQ(Edit->GetSelStart(), 2);
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "abXc");
  Edit->SetSelStart(4);
  Input().PressKey(VK_BACK);
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "abXc");
  // Text set by the program cannot be undone, and clears Modified.
  Edit->SetText("fresh");
  EXPECT_FALSE(Edit->CanUndo());
  EXPECT_FALSE(Edit->GetModified());
  Input().PressKey('Z', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "fresh");
}

TEST_F(EditTest, ChangeFiresOncePerChangeWhoeverMakesIt) {
  ShowForm();
  Edit->SetText("one");
  EXPECT_EQ(Changes, 1);
  Edit->SetText("one");  // no change, no notification
  EXPECT_EQ(Changes, 1);
  Edit->SelectAll();
  Edit->SetSelText("two");
  EXPECT_EQ(Changes, 2);
  Clipboard()->SetAsText("abc");
  Edit->PasteFromClipboard();
  EXPECT_EQ(Changes, 3);
  Edit->Clear();
  EXPECT_EQ(Changes, 4);
  Edit->Undo();
  EXPECT_EQ(Changes, 4);            // Clear set the text as the program: nothing to undo
  Input().PressKey('A', {ssCtrl});  // selecting is no change
  EXPECT_EQ(Changes, 4);
}

TEST_F(EditTest, ReadOnlyRefusesEditsButCopies) {
  Edit->SetText("fixed text");
  Edit->SetReadOnly(true);
  ShowForm();
  Changes = 0;
  Input().PressKey(VK_END);
  Input().TypeText("more");
  Input().PressKey(VK_BACK);
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_DELETE);
  Clipboard()->SetAsText("pasted");
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "fixed text");
  EXPECT_EQ(Changes, 0);
  Input().PressKey(VK_RIGHT, {ssShift, ssCtrl});
  Input().PressKey('X', {ssCtrl});
  EXPECT_EQ(Edit->GetText(), "fixed text");
  EXPECT_EQ(Clipboard()->GetAsText(), "pasted");
  Input().PressKey('C', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "fixed ");
}

TEST_F(EditTest, PasswordCharMasksAndKeepsTheTextOffTheClipboard) {
  Edit->SetPasswordChar(U'*');
  ShowForm();
  Input().TypeText("secret");
  EXPECT_EQ(Edit->GetText(), "secret");
  Clipboard()->SetAsText("before");
  Input().PressKey('A', {ssCtrl});
  Input().PressKey('C', {ssCtrl});
  Input().PressKey('X', {ssCtrl});
  EXPECT_EQ(Clipboard()->GetAsText(), "before");
  EXPECT_EQ(Edit->GetText(), "secret");
}

TEST_F(EditTest, LongTextScrollsToKeepTheCaretVisible) {
  Edit->SetWidth(60);
  ShowForm();
  Input().TypeText("a rather long line that cannot fit");
  TRect c = Edit->CaretRect();
  EXPECT_GT(Edit->GetScrollX(), 0);
  EXPECT_GE(c.Left, 2);
  EXPECT_LT(c.Right, Edit->GetWidth() - 2);
  Input().PressKey(VK_HOME);
  EXPECT_EQ(Edit->GetScrollX(), 0);
  EXPECT_EQ(Edit->CaretRect().Left, 4);
  Input().PressKey(VK_END);
  c = Edit->CaretRect();
  EXPECT_GE(c.Left, 2);
  EXPECT_LT(c.Right, Edit->GetWidth() - 2);
  // A shorter text gives back the scrolled room.
  Edit->SetText("short");
  EXPECT_EQ(Edit->GetScrollX(), 0);
}

TEST_F(EditTest, DragHeldOutsideKeepsSelectingStepByStep) {
  Edit->SetWidth(60);
  Edit->SetText("0123456789abcdefghijklmnopqrstuvwxyz");
  ShowForm();
  Input().PressKey(VK_HOME);  // focusing selected all and scrolled to the end
  ASSERT_EQ(Edit->GetScrollX(), 0);
  Input().MouseDown(At(Edit, 4, 10).X, At(Edit, 4, 10).Y);
  Input().MouseMove(At(Edit, 62, 10).X, At(Edit, 62, 10).Y);
  int first = Edit->GetSelLength();
  EXPECT_GT(first, 0);
  Application->AdvanceTime(600);  // ten steps of 60 ms
  EXPECT_EQ(Edit->GetSelLength(), first + 10);
  EXPECT_LT(Edit->CaretRect().Right, Edit->GetWidth() - 2);
  // Back inside, or released: no more steps.
  Input().MouseUp(At(Edit, 62, 10).X, At(Edit, 62, 10).Y);
  int held = Edit->GetSelLength();
  Application->AdvanceTime(600);
  EXPECT_EQ(Edit->GetSelLength(), held);
  EXPECT_EQ(Edit->GetSelStart(), 0);
}

TEST_F(EditTest, CaretBlinksInVirtualTimeOnlyWhileFocused) {
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  ShowForm();
  ASSERT_TRUE(Edit->Focused());
  TRect r = Edit->CaretRect();
  TPoint probe = At(Edit, r.Left, r.Top + r.Height() / 2);
  auto caretInk = [&] { return PixelAt(Surface(), probe.X, probe.Y) == ColorToRGB(clWindowText); };
  EXPECT_TRUE(Edit->CaretShown());
  EXPECT_TRUE(caretInk());
  Application->AdvanceTime(499);
  EXPECT_TRUE(caretInk());
  Application->AdvanceTime(1);
  EXPECT_FALSE(Edit->CaretShown());
  EXPECT_FALSE(caretInk());
  Application->AdvanceTime(500);
  EXPECT_TRUE(caretInk());
  Application->AdvanceTime(500);
  EXPECT_FALSE(caretInk());
  // A key shows the caret at once and starts a fresh period.
  Input().PressKey(VK_HOME);
  EXPECT_TRUE(Edit->CaretShown());
  Application->AdvanceTime(499);
  EXPECT_TRUE(Edit->CaretShown());
  // Focus elsewhere: the caret stops, and only the focused edit keeps a timer.
  other->SetFocus();
  Application->AdvanceTime(2000);
  EXPECT_FALSE(Edit->CaretShown());
  EXPECT_FALSE(caretInk());
  EXPECT_TRUE(other->CaretShown());
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Edit->Focused());
  EXPECT_TRUE(caretInk());
}

TEST_F(EditTest, AutoSelectSelectsAllOnTabButAClickPlacesTheCaret) {
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  other->SetText("second");
  Edit->SetText("first");
  ShowForm();
  Input().PressKey(VK_TAB);
  ASSERT_TRUE(other->Focused());
  EXPECT_EQ(other->GetSelText(), "second");
  Input().PressKey(VK_TAB);
  Input().Click(At(other, 6, 10).X, At(other, 6, 10).Y);
  EXPECT_EQ(other->GetSelLength(), 0);
  other->SetAutoSelect(false);
  Input().PressKey(VK_TAB);
  Input().PressKey(VK_TAB);
  EXPECT_EQ(other->GetSelLength(), 0);
}

TEST_F(EditTest, AutoSizeFollowsTheFontAndBorder) {
  int h8 = Edit->GetHeight();
  Edit->GetFont()->SetSize(16);
  EXPECT_GT(Edit->GetHeight(), h8 + 8);
  int h16 = Edit->GetHeight();
  Edit->SetBorderStyle(bsNone);
  EXPECT_EQ(Edit->GetHeight(), h16 - 8);
  Edit->SetAutoSize(false);
  Edit->SetHeight(50);
  Edit->GetFont()->SetSize(8);
  EXPECT_EQ(Edit->GetHeight(), 50);
}

// A descendant that checks every change, as numeric fields do: anything but digits is put back.
class TDigitEdit : public TEdit {
 public:
  using TEdit::TEdit;
  std::string Valid;
  int Rejected = 0;
  bool Skip = false;  // the change our own correction causes is not checked again

 protected:
  void Change() override {
    if (Skip) {
      Skip = false;
      return;
    }
    const std::string& t = GetText();
    if (t.find_first_not_of("0123456789") != std::string::npos) {
      ++Rejected;
      int c = GetSelStart();
      SetSelStart(c - 1);
      Skip = true;
      SetText(Valid);
      return;
    }
    Valid = t;
    TEdit::Change();
  }
};

TEST_F(EditTest, ChangeOverrideCanPutTheTextBackAndKeepTheCaret) {
  auto* d = new TDigitEdit(Form);
  d->SetParent(Form);
  d->SetBounds(10, 50, 150, 21);
  int changes = 0;
  d->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  d->SetFocus();
  Input().TypeText("12");
  Input().PressKey(VK_LEFT);
  Input().TypeText("x");
  EXPECT_EQ(d->GetText(), "12");
  EXPECT_EQ(d->GetSelStart(), 1);
  EXPECT_EQ(d->Rejected, 1);
  Input().TypeText("5");
  EXPECT_EQ(d->GetText(), "152");
  EXPECT_EQ(changes, 3);
}

TEST_F(EditTest, DisabledEditTakesNoInputAndLooksDisabled) {
  Edit->SetText("off");
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  Edit->SetEnabled(false);
  ShowForm();
  EXPECT_FALSE(Edit->Focused());
  Input().Click(At(Edit, 20, 10).X, At(Edit, 20, 10).Y);
  EXPECT_FALSE(Edit->Focused());
  TPoint inside = At(Edit, 4, 4);
  EXPECT_EQ(PixelAt(Surface(), inside.X, inside.Y), ColorToRGB(clBtnFace));
  // The text is grey: no ink of the normal text colour inside the frame.
  TRect inner =
      Bounds(Edit->GetLeft() + 3, Edit->GetTop() + 3, Edit->GetWidth() - 6, Edit->GetHeight() - 6);
  EXPECT_EQ(CountPixels(Surface(), inner, ColorToRGB(clWindowText)), 0);
  EXPECT_GT(CountOtherPixels(Surface(), inner, ColorToRGB(clBtnFace)), 3);
  EXPECT_EQ(Edit->GetCursor(), crIBeam);
}

TEST_F(EditTest, SelectionIsHiddenWithoutFocusUnlessHideSelectionIsOff) {
  Edit->SetText("selected");
  auto* other = new TEdit(Form);
  other->SetParent(Form);
  other->SetBounds(10, 50, 150, 21);
  ShowForm();
  Edit->SelectAll();
  TRect box = Bounds(Edit->GetLeft(), Edit->GetTop(), Edit->GetWidth(), Edit->GetHeight());
  TColor hl = ColorToRGB(clHighlight);
  EXPECT_GT(CountPixels(Surface(), box, hl), 20);
  other->SetFocus();
  EXPECT_EQ(CountPixels(Surface(), box, hl), 0);
  Edit->SetHideSelection(false);
  EXPECT_GT(CountPixels(Surface(), box, hl), 20);
}

}  // namespace
}  // namespace qel::test

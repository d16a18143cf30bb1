// The memo: Lines and Text in step, line breaks, vertical navigation, wrapping and scrolling.
#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/FormFiles.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class MemoTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Memo = new TMemo(Form);
    Memo->SetParent(Form);
    Memo->SetBounds(10, 10, 200, 100);
  }
  TPoint Caret() const { return Memo->GetCaretPos(); }
  TMemo* Memo = nullptr;
};

TEST_F(MemoTest, LinesAndTextStayInStep) {
  TStrings* lines = Memo->GetLines();
  EXPECT_EQ(lines->Count(), 0);
  lines->Add("one");
  lines->Add("two");
  EXPECT_EQ(Memo->GetText(), "one\r\ntwo\r\n");
  EXPECT_EQ(lines->Count(), 2);
  Memo->SetText("a\nb\r\nc");
  ASSERT_EQ(lines->Count(), 3);
  EXPECT_EQ(lines->Get(1), "b");
  EXPECT_EQ(lines->Get(2), "c");
  lines->Put(1, "B");
  EXPECT_EQ(Memo->GetText(), "a\r\nB\r\nc\r\n");
  lines->Delete(0);
  lines->Insert(2, "d");
  EXPECT_EQ(lines->GetText(), "B\r\nc\r\nd\r\n");
  EXPECT_THROW(lines->Get(3), EStringListError);
  TStringList other;
  other.Add("x");
  other.Add("y");
  Memo->SetLines(&other);
  EXPECT_EQ(Memo->GetText(), "x\r\ny\r\n");
  lines->Clear();
  EXPECT_EQ(Memo->GetText(), "");
}

TEST_F(MemoTest, EnterBreaksTheLineAndArrowsCrossLineBreaksAsOneStep) {
  ShowForm();
  ASSERT_TRUE(Memo->Focused());
  Input().TypeText("ab");
  Input().PressKey(VK_RETURN);
  Input().TypeText("cd");
  EXPECT_EQ(Memo->GetText(), "ab\r\ncd");
  EXPECT_EQ(Memo->GetLines()->Count(), 2);
  EXPECT_EQ(Caret(), (TPoint{2, 1}));
  Input().PressKey(VK_HOME);
  Input().PressKey(VK_LEFT);
  EXPECT_EQ(Caret(), (TPoint{2, 0}));
  EXPECT_EQ(Memo->GetSelStart(), 2);
  Input().PressKey(VK_RIGHT, {ssShift});
  EXPECT_EQ(Memo->GetSelText(), "\r\n");
  Input().PressKey(VK_DELETE);
  EXPECT_EQ(Memo->GetText(), "abcd");
  Input().PressKey(VK_RETURN);
  Input().PressKey(VK_BACK);
  EXPECT_EQ(Memo->GetText(), "abcd");
  // Without WantReturns, Enter is the dialog's.
  Memo->SetWantReturns(false);
  Input().PressKey(VK_RETURN);
  EXPECT_EQ(Memo->GetText(), "abcd");
}

TEST_F(MemoTest, UpAndDownKeepTheColumnTheyStartedFrom) {
  Memo->SetText("abcdef\r\nxy\r\nlonger line");
  ShowForm();
  Memo->SetCaretPos({4, 0});
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Caret(), (TPoint{2, 1}));
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Caret().Y, 2);
  EXPECT_NEAR(Caret().X, 4, 1);  // back near the remembered column, by pixels
  Input().PressKey(VK_UP, {ssShift});
  EXPECT_EQ(Caret().Y, 1);
  EXPECT_GT(Memo->GetSelLength(), 0);
  Input().PressKey(VK_END);
  EXPECT_EQ(Caret(), (TPoint{2, 1}));
  Input().PressKey(VK_UP);
  Input().PressKey(VK_UP);  // past the first line: to the start
  EXPECT_EQ(Memo->GetSelStart(), 0);
  Input().PressKey(VK_END, {ssCtrl});
  EXPECT_EQ(Memo->GetSelStart(), Memo->GetTextLen());
}

TEST_F(MemoTest, PagingAndTheWheelScrollByLines) {
  TStringList many;
  for (int i = 0; i < 50; ++i) many.Add("line " + std::to_string(i));
  Memo->SetLines(&many);
  ShowForm();
  int visible = Memo->VisibleLineCount();
  ASSERT_GT(visible, 2);
  ASSERT_LT(visible, 50);
  Memo->SetCaretPos({0, 0});
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Caret().Y, visible - 1);
  Input().PressKey(VK_NEXT);
  EXPECT_EQ(Caret().Y, 2 * (visible - 1));
  int top = Memo->GetTopLine();
  EXPECT_GE(Caret().Y, top);
  EXPECT_LT(Caret().Y, top + visible);
  // The wheel scrolls the view without moving the caret.
  TPoint c = Caret();
  Input().WheelAt(At(Memo, 50, 50).X, At(Memo, 50, 50).Y, -WHEEL_DELTA);
  EXPECT_EQ(Memo->GetTopLine(), top + 3);
  EXPECT_EQ(Caret(), c);
  for (int i = 0; i < 30; ++i) Input().Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Memo->GetTopLine(), 51 - visible);  // the empty line after the last break counts
  Input().PressKey(VK_PRIOR);
  EXPECT_EQ(Caret().Y, c.Y - (visible - 1));
  EXPECT_GE(Caret().Y, Memo->GetTopLine());
  // Ctrl+Home brings the start into view.
  Input().PressKey(VK_HOME, {ssCtrl});
  EXPECT_EQ(Memo->GetTopLine(), 0);
}

TEST_F(MemoTest, WordWrapBreaksAtBlanksAndNavigatesDisplayLines) {
  Memo->SetText("the quick brown fox jumps over the lazy dog again and again");
  ShowForm();
  int wrapped = Memo->DisplayLineCount();
  EXPECT_GT(wrapped, 1);
  EXPECT_EQ(Memo->GetLines()->Count(), 1);
  Memo->SetCaretPos({0, 0});
  Input().PressKey(VK_END);
  // End stops at the end of the display line, before the blank where it wrapped.
  int end1 = Memo->GetSelStart();
  EXPECT_GT(end1, 5);
  EXPECT_LT(end1, Memo->GetTextLen());
  std::string t = Memo->GetText();
  EXPECT_EQ(t[static_cast<size_t>(end1)], ' ');
  Input().PressKey(VK_DOWN);
  EXPECT_GT(Memo->GetSelStart(), end1);
  Memo->SetWordWrap(false);
  EXPECT_EQ(Memo->DisplayLineCount(), 1);
  Input().PressKey(VK_END, {ssCtrl});
  EXPECT_GT(Memo->GetScrollX(), 0);
  TRect c = Memo->CaretRect();
  EXPECT_LT(c.Right, Memo->GetWidth() - 2);
}

TEST_F(MemoTest, ScrollBarTakesRoomAndPagesOnClicks) {
  TStringList many;
  for (int i = 0; i < 40; ++i) many.Add("row " + std::to_string(i));
  Memo->SetLines(&many);
  Memo->SetScrollBars(ssVertical);
  ShowForm();
  TRect bar = Memo->VScrollBarRect();
  ASSERT_FALSE(bar.IsEmpty());
  EXPECT_EQ(bar.Right, Memo->GetWidth() - 2);
  TRect thumb = Memo->VThumbRect();
  ASSERT_FALSE(thumb.IsEmpty());
  // Down arrow: a line; the track below the thumb: a page; dragging the thumb to the end.
  TPoint down = At(Memo, bar.Left + 8, bar.Bottom - 4);
  Input().Click(down.X, down.Y);
  EXPECT_EQ(Memo->GetTopLine(), 1);
  TPoint track = At(Memo, bar.Left + 8, bar.Bottom - 24);
  Application->AdvanceTime(1000);  // not a double click
  Input().Click(track.X, track.Y);
  EXPECT_EQ(Memo->GetTopLine(), 1 + Memo->VisibleLineCount() - 1);
  thumb = Memo->VThumbRect();
  Input().Drag(At(Memo, thumb.Left + 8, thumb.Top + 2), At(Memo, thumb.Left + 8, bar.Bottom));
  EXPECT_EQ(Memo->GetTopLine(), 41 - Memo->VisibleLineCount());
  // Typed text never runs under the bar.
  Memo->SetCaretPos({0, 0});
  EXPECT_LT(Memo->CaretRect().Right, bar.Left);
}

TEST_F(MemoTest, TabLeavesUnlessWantTabs) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 150, 100, 21);
  ShowForm();
  ASSERT_TRUE(Memo->Focused());
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(edit->Focused());
  Memo->SetWantTabs(true);
  Memo->SetFocus();
  Input().PressKey(VK_TAB);
  EXPECT_TRUE(Memo->Focused());
  EXPECT_EQ(Memo->GetText(), "\t");
}

TEST_F(MemoTest, PasteKeepsLineBreaksAsCrLf) {
  ShowForm();
  Clipboard()->SetAsText("one\ntwo\rthree");
  Input().PressKey('V', {ssCtrl});
  EXPECT_EQ(Memo->GetText(), "one\r\ntwo\r\nthree");
  EXPECT_EQ(Memo->GetLines()->Count(), 3);
  // Double click on a word of the second line selects it alone.
  Memo->SetCaretPos({1, 1});
  TRect c = Memo->CaretRect();
  TPoint p = At(Memo, c.Left, c.Top + 3);
  Input().DoubleClick(p.X, p.Y);
  EXPECT_EQ(Memo->GetSelText(), "two");
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

TEST_F(MemoTest, ZeroSizedEditorsStillEditAndPaint) {
  Memo->SetBounds(10, 10, 0, 0);
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetAutoSize(false);
  edit->SetBounds(10, 120, 0, 0);
  ShowForm();
  Memo->SetFocus();
  Input().TypeText("a b");
  Input().PressKey(VK_RETURN);
  Input().PressKey(VK_UP);
  Input().PressKey(VK_NEXT);
  Input().Wheel(-WHEEL_DELTA);
  EXPECT_EQ(Memo->GetText(), "a b\r\n");
  edit->SetFocus();
  Input().TypeText("xyz");
  Input().PressKey(VK_HOME);
  EXPECT_EQ(edit->GetText(), "xyz");
  EXPECT_EQ(edit->GetScrollX(), 0);
  TBitmap bmp(4, 4);
  edit->PaintTo(&bmp);
  Memo->PaintTo(&bmp);
  Application->AdvanceTime(1000);
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

TEST_F(MemoTest, HorizontalBarScrollsUnwrappedLines) {
  Memo->SetWordWrap(false);
  Memo->SetScrollBars(ssBoth);
  Memo->SetText("a line far too long to be shown whole in a memo of this width, really\r\nshort");
  ShowForm();
  TRect bar = Memo->HScrollBarRect();
  ASSERT_FALSE(bar.IsEmpty());
  EXPECT_EQ(bar.Right, Memo->VScrollBarRect().Left);
  ASSERT_FALSE(Memo->HThumbRect().IsEmpty());
  EXPECT_TRUE(Memo->VThumbRect().IsEmpty());  // everything fits vertically
  TPoint right = At(Memo, bar.Right - 4, bar.Top + 8);
  Input().Click(right.X, right.Y);
  EXPECT_EQ(Memo->GetScrollX(), 16);
  TRect thumb = Memo->HThumbRect();
  Input().Drag(At(Memo, thumb.Left + 2, bar.Top + 8), At(Memo, bar.Right, bar.Top + 8));
  int most = Memo->GetScrollX();
  EXPECT_GT(most, 16);
  Application->AdvanceTime(1000);
  Input().Click(right.X, right.Y);
  EXPECT_EQ(Memo->GetScrollX(), most);  // already at the end
}

TEST_F(MemoTest, DragHeldBelowSelectsLineByLine) {
  TStringList many;
  for (int i = 0; i < 30; ++i) many.Add("entry " + std::to_string(i));
  Memo->SetLines(&many);
  ShowForm();
  Memo->SetCaretPos({0, 0});
  TPoint start = At(Memo, 6, 6);
  Input().MouseDown(start.X, start.Y);
  Input().MouseMove(start.X, At(Memo, 6, Memo->GetHeight() + 10).Y);
  int line = Memo->GetCaretPos().Y;
  Application->AdvanceTime(300);  // five steps of 60 ms
  EXPECT_EQ(Memo->GetCaretPos().Y, line + 5);
  EXPECT_GT(Memo->GetTopLine(), 0);
  Input().MouseUp(start.X, At(Memo, 6, Memo->GetHeight() + 10).Y);
  EXPECT_EQ(Memo->GetSelStart(), 0);
  EXPECT_GT(Memo->GetSelLength(), 0);
}

}  // namespace
}  // namespace qel::test

namespace qel::test {
namespace {

// The lines are split once and kept: every change from the text's side, the keyboard's or the
// lines' own must show on the other side, and a bulk change joins the text once.
TEST_F(MemoTest, KeptLinesFollowEveryChange) {
  TStrings* lines = Memo->GetLines();
  lines->Add("one");
  EXPECT_EQ(lines->Get(0), "one");
  Memo->SetText("x\ry");  // from the text's side
  ASSERT_EQ(lines->Count(), 2);
  EXPECT_EQ(lines->Get(1), "y");
  lines->Insert(1, "a\nb");  // a line holding a break becomes two
  EXPECT_EQ(Memo->GetText(), "x\r\na\nb\r\ny\r\n");
  ASSERT_EQ(lines->Count(), 4);
  EXPECT_EQ(lines->Get(2), "b");
  ShowForm();
  Memo->SetFocus();
  Memo->SetCaretPos({1, 3});
  Input().TypeText("!");  // from the keyboard
  EXPECT_EQ(lines->Get(3), "y!");
  lines->BeginUpdate();
  lines->Clear();
  for (int i = 0; i < 3; ++i) lines->Add("n" + std::to_string(i));
  EXPECT_EQ(lines->Get(2), "n2");
  EXPECT_EQ(Memo->GetText(), "x\r\na\nb\r\ny!\r\n") << "the text follows at EndUpdate";
  lines->EndUpdate();
  EXPECT_EQ(Memo->GetText(), "n0\r\nn1\r\nn2\r\n");
  lines->Delete(0);
  lines->Put(0, "p");
  EXPECT_EQ(Memo->GetText(), "p\r\nn2\r\n");
}

// A memo of 100,000 lines goes through a form file and back: reading, writing and destroying
// must each take linear time (a quadratic one would not finish).
TEST_F(MemoTest, HundredThousandLinesReadWriteAndGo) {
  RegisterStdWidgetClasses();
  std::string text = "object F: TForm\n  object M: TMemo\n    Lines.Strings = (\n";
  for (int i = 0; i < 100000; ++i) text += "      'line " + std::to_string(i) + "'\n";
  text += "    )\n  end\nend\n";
  std::unique_ptr<TComponent> root(CreateComponentFromText(text, nullptr));
  auto* memo = dynamic_cast<TMemo*>(root->FindComponent("M"));
  ASSERT_NE(memo, nullptr);
  ASSERT_EQ(memo->GetLines()->Count(), 100000);
  EXPECT_EQ(memo->GetLines()->Get(99999), "line 99999");
  const std::string written = WriteComponentText(root.get());
  EXPECT_NE(written.find("      'line 99999')\n"), std::string::npos);
  root.reset();
}

}  // namespace
}  // namespace qel::test

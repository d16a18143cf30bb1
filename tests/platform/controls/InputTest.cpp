// Mouse and keyboard routing through a form: hit testing, capture, double clicks, enter/leave,
// the wheel, focus, tab order, key preview and dialog keys.
#include "Probes.h"

namespace qel::test {
namespace {

class InputTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    A = Make("a", 10, 10);
    B = Make("b", 110, 10);
    C = Make("c", 210, 10);
    Form->Show();
    In = std::make_unique<THeadlessInput>(Form);
    Log.clear();
  }
  void TearDown() override {
    In.reset();
    delete Form;
    ControlsTest::TearDown();
  }
  TProbe* Make(const std::string& Tag, int X, int Y, TWinControl* Parent = nullptr) {
    auto* p = new TProbe(Form, &Log, Tag);
    p->SetParent(Parent ? Parent : Form);
    p->SetBounds(X, Y, 80, 80);
    return p;
  }
  // What happened since the last call, without the repaints.
  std::vector<std::string> Take() {
    std::vector<std::string> r;
    for (auto& e : Log)
      if (e.size() < 6 || e.compare(e.size() - 6, 6, ".paint") != 0) r.push_back(e);
    Log.clear();
    return r;
  }
  TLog Log;
  TForm* Form = nullptr;
  TProbe *A = nullptr, *B = nullptr, *C = nullptr;
  std::unique_ptr<THeadlessInput> In;
};

using V = std::vector<std::string>;

TEST_F(InputTest, ShowingFocusesTheFirstTabStop) {
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(Form->GetActiveControl(), A);
  EXPECT_EQ(Screen->GetActiveForm(), Form);
}

TEST_F(InputTest, ClickGoesToTheTopmostEnabledVisibleControlInItsCoordinates) {
  auto* over = new TGraphicProbe(Form, &Log, "g");
  over->SetParent(Form);
  over->SetBounds(100, 0, 30, 30);  // graphic controls lie below windowed ones
  In->Click(115, 15);
  EXPECT_EQ(Take(), (V{"b.mouseenter", "a.killfocus", "a.exit", "b.enter", "b.setfocus",
                       "b.down0@5,5", "b.click", "b.up0@5,5"}));
  In->Click(105, 5);  // only the graphic control is there
  EXPECT_EQ(Take(), (V{"b.mouseleave", "g.click"}));
  B->SetEnabled(false);  // disabling the focused control takes the focus away
  EXPECT_EQ(Take(), (V{"b.killfocus", "b.exit"}));
  In->Click(150, 50);  // disabled: the form below gets it
  EXPECT_EQ(Take(), (V{}));
  B->SetEnabled(true);
  B->SetVisible(false);
  In->Click(150, 50);
  EXPECT_EQ(Take(), (V{}));
}

TEST_F(InputTest, CaptureSendsTheReleaseOutsideToThePressedControl) {
  In->MouseMove(20, 20);
  In->MouseDown(20, 20);
  EXPECT_EQ(Form->CaptureControl(), A);
  Take();
  In->MouseMove(250, 50);  // over C, captured by A
  In->MouseUp(250, 50);
  V got = Take();
  // A hears of the move and the release in its own coordinates; no click outside it.
  EXPECT_EQ(got, (V{"a.mouseleave", "c.mouseenter", "a.up0@240,40"}));
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

TEST_F(InputTest, DragReportsMovesWithTheButtonHeldToThePressedControl) {
  V moves;
  A->OnMouseMove = [&](TObject*, TShiftState S, int X, int Y) {
    moves.push_back(std::string(S.Contains(ssLeft) ? "L" : "-") + (S.Contains(ssShift) ? "S" : "") +
                    std::to_string(X) + "," + std::to_string(Y));
  };
  In->Drag({20, 20}, {260, 60}, mbLeft, {ssShift}, 2);
  EXPECT_EQ(moves, (V{"-S10,10", "LS130,30", "LS250,50"}));
  V got = Take();
  EXPECT_EQ(got.back(), "a.up0@250,50");
  EXPECT_EQ(std::count(got.begin(), got.end(), "a.click"), 0);  // released outside: no click
}

TEST_F(InputTest, DoubleClickNeedsTimeAndDistanceWithinLimits) {
  In->DoubleClick(20, 20);
  EXPECT_EQ(Take(), (V{"a.mouseenter", "a.down0@10,10", "a.click", "a.up0@10,10", "a.dblclick",
                       "a.down0d@10,10", "a.up0@10,10"}));
  // A third press is an ordinary one again.
  In->Click(20, 20);
  EXPECT_EQ(Take(), (V{"a.down0@10,10", "a.click", "a.up0@10,10"}));
  // Too slow.
  Application->AdvanceTime(1000);
  In->Click(20, 20);
  Application->AdvanceTime(501);
  In->Click(20, 20);
  EXPECT_EQ(Take(), (V{"a.down0@10,10", "a.click", "a.up0@10,10", "a.down0@10,10", "a.click",
                       "a.up0@10,10"}));
  // Within time, 4 pixels away is still a double click, 5 is not.
  Application->AdvanceTime(1000);
  In->Click(20, 20);
  In->Click(24, 24);
  V got = Take();
  EXPECT_EQ(got[3], "a.dblclick");
  Application->AdvanceTime(1000);
  In->Click(20, 20);
  In->Click(25, 20);
  got = Take();
  EXPECT_EQ(std::count(got.begin(), got.end(), "a.dblclick"), 0);
  // Without csDoubleClicks the second press is a plain press.
  Application->AdvanceTime(1000);
  TControlStyle s = A->GetControlStyle();
  A->SetControlStyle(s - TControlStyle{csDoubleClicks});
  In->DoubleClick(20, 20);
  got = Take();
  EXPECT_EQ(std::count(got.begin(), got.end(), "a.click"), 2);
  EXPECT_EQ(std::count(got.begin(), got.end(), "a.dblclick"), 0);
}

TEST_F(InputTest, EnterAndLeaveFollowThePointer) {
  int parentNotices = 0;
  auto* panel = new TWinControl(Form);
  panel->SetParent(Form);
  panel->SetBounds(0, 100, 300, 100);
  auto* inner = Make("i", 10, 10, panel);
  (void)inner;
  panel->OnMouseEnter = [&](TObject*) { ++parentNotices; };
  In->MouseMove(20, 20);
  In->MouseMove(30, 30);
  In->MouseMove(150, 50);
  In->MouseMove(20, 120);
  In->Leave();
  EXPECT_EQ(Take(), (V{"a.mouseenter", "a.mouseleave", "b.mouseenter", "b.mouseleave",
                       "i.mouseenter", "i.mouseleave"}));
  EXPECT_EQ(parentNotices, 0);  // the panel hears of its child with LParam set, not as itself
}

TEST_F(InputTest, WheelGoesToTheControlUnderThePointerAndBubblesUp) {
  std::vector<std::string> seen;
  auto* panel = new TWinControl(Form);
  panel->SetParent(Form);
  panel->SetBounds(0, 100, 300, 100);
  auto* inner = Make("i", 10, 10, panel);
  inner->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    seen.push_back("i.down");
    Handled = false;
  };
  panel->OnMouseWheelDown = [&](TObject*, TShiftState S, TPoint P, bool& Handled) {
    seen.push_back(std::string("panel.down") + (S.Contains(ssCtrl) ? "+ctrl" : "") + "@" +
                   std::to_string(P.X) + "," + std::to_string(P.Y));
    Handled = true;
  };
  Form->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    seen.push_back("form.down");
    Handled = true;
  };
  A->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& Handled) {
    seen.push_back("a.up");
    Handled = true;
  };
  In->WheelAt(20, 120, -WHEEL_DELTA, {ssCtrl});
  In->WheelAt(20, 20, WHEEL_DELTA);  // A has focus anyway; the pointer decides
  In->WheelAt(150, 150, 60);         // half a notch: nothing yet
  In->WheelAt(150, 150, -60);
  EXPECT_EQ(seen, (V{"i.down", "panel.down+ctrl@20,120", "a.up"}));
}

TEST_F(InputTest, ClickFocusesTabStopControlsOnlyAndFocusEventsComeInOrder) {
  B->SetTabStop(false);
  In->Click(150, 50);
  EXPECT_TRUE(A->Focused());
  B->SetTabStop(true);
  Application->AdvanceTime(1000);  // not a double click
  Take();
  In->Click(150, 50);
  V got = Take();
  V expectStart{"a.killfocus", "a.exit", "b.enter", "b.setfocus"};
  ASSERT_GE(got.size(), expectStart.size());
  EXPECT_EQ(V(got.begin(), got.begin() + 4), expectStart);
  EXPECT_TRUE(B->Focused());
}

TEST_F(InputTest, TabOrderRenumbersAndTabSkipsWhatCannotTakeTheFocus) {
  EXPECT_EQ(A->GetTabOrder(), 0);
  EXPECT_EQ(C->GetTabOrder(), 2);
  C->SetTabOrder(0);
  EXPECT_EQ(C->GetTabOrder(), 0);
  EXPECT_EQ(A->GetTabOrder(), 1);
  EXPECT_EQ(B->GetTabOrder(), 2);
  B->SetTabOrder(99);  // out of range: last
  EXPECT_EQ(B->GetTabOrder(), 2);
  // Order now C, A, B. Focus is on A.
  In->PressKey(VK_TAB);
  EXPECT_TRUE(B->Focused());
  In->PressKey(VK_TAB);
  EXPECT_TRUE(C->Focused());  // wraps
  In->PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(B->Focused());
  A->SetEnabled(false);
  In->PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(C->Focused());  // A skipped
  A->SetEnabled(true);
  A->SetVisible(false);
  B->SetTabStop(false);
  In->PressKey(VK_TAB);
  EXPECT_TRUE(C->Focused());  // nothing else to go to
  // Removing a control renumbers the rest.
  delete A;
  A = nullptr;
  EXPECT_EQ(C->GetTabOrder(), 0);
  EXPECT_EQ(B->GetTabOrder(), 1);
  // The Tab key that moved the focus types no tab character.
  V got = Take();
  EXPECT_EQ(std::count(got.begin(), got.end(), "c.char9"), 0);
}

TEST_F(InputTest, TabIntoAContainerReachesItsChildren) {
  auto* panel = new TWinControl(Form);
  panel->SetParent(Form);
  panel->SetBounds(0, 100, 300, 100);
  auto* inner = Make("i", 10, 10, panel);
  int panelEnter = 0;
  panel->OnEnter = [&](TObject*) { ++panelEnter; };
  C->SetFocus();
  In->PressKey(VK_TAB);
  EXPECT_TRUE(inner->Focused());
  EXPECT_EQ(panelEnter, 1);  // the container hears the focus come in
  In->PressKey(VK_TAB);
  EXPECT_TRUE(A->Focused());
}

TEST_F(InputTest, ControlsClaimArrowsAndTabThroughTheirDialogCode) {
  In->PressKey(VK_RIGHT);  // arrows move between siblings by default
  EXPECT_TRUE(B->Focused());
  B->DlgCode = DLGC_WANTARROWS;
  Take();
  In->PressKey(VK_RIGHT);
  EXPECT_TRUE(B->Focused());
  In->PressKey(VK_TAB);
  EXPECT_TRUE(C->Focused());
  C->DlgCode = DLGC_WANTTAB | DLGC_WANTALLKEYS;
  Take();
  In->PressKey(VK_TAB);
  In->PressKey(VK_RETURN);
  EXPECT_TRUE(C->Focused());
  EXPECT_EQ(Take(), (V{"c.keydown9", "c.char9", "c.keydown13", "c.char13"}));
}

TEST_F(InputTest, KeyPreviewLetsTheFormSeeAndEatKeysFirst) {
  V order;
  Form->OnKeyDown = [&](TObject*, uint16_t& Key, TShiftState) {
    order.push_back("form" + std::to_string(Key));
    if (Key == 'X') Key = 0;
  };
  Form->OnKeyPress = [&](TObject*, char32_t& Ch) {
    if (Ch == U'q') Ch = U'Q';
  };
  In->PressKey('K');
  EXPECT_TRUE(order.empty());  // preview off
  Form->SetKeyPreview(true);
  Take();
  In->PressKey('K');
  In->PressKey('X');
  In->PressKey('Q');
  EXPECT_EQ(order, (V{"form75", "form88", "form81"}));
  // The form saw K first; X was eaten (its character still comes, as the window system makes
  // it); q reached the control changed.
  EXPECT_EQ(Take(), (V{"a.keydown75", "a.char107", "a.char120", "a.keydown81", "a.char81"}));
}

TEST_F(InputTest, AFocusedControlThatHandlesKeysItselfPassesThemToThePreviewingForm) {
  Form->SetKeyPreview(true);
  V seen;
  Form->OnKeyDown = [&](TObject*, uint16_t& Key, TShiftState) {
    seen.push_back(std::to_string(Key));
  };
  A->EatInCN = true;
  A->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { seen.push_back("never"); };
  // The control's own key handling forwards CN_KEYDOWN to its parent, as editors do.
  In->KeyDown('7');
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(A->GetParent()->Perform(CN_KEYDOWN, '7', ShiftStateToKeyData({})), 0);
  EXPECT_EQ(seen, (V{"55"}));
  EXPECT_TRUE(A->Focused());  // not taken for a dialog key
  EXPECT_EQ(Take(), (V{"a.cn55"}));
}

TEST_F(InputTest, TypedTextArrivesAsCodePointsIncludingNonAscii) {
  std::u32string got;
  A->OnKeyPress = [&](TObject*, char32_t& Ch) { got.push_back(Ch); };
  In->TypeText("aZ,ä€😀");
  EXPECT_EQ(got, U"aZ,ä€😀");
  EXPECT_THROW(In->TypeText("\xC3"), EConvertError);
  EXPECT_THROW(In->TypeText("\xC0\x80"), EConvertError);  // overlong
}

TEST_F(InputTest, WmNextDlgCtlFromAControlMovesTheFocus) {
  A->Perform(WM_NEXTDLGCTL, 0, 0);
  EXPECT_TRUE(B->Focused());
  B->Perform(WM_NEXTDLGCTL, 1, 0);
  EXPECT_TRUE(A->Focused());
}

TEST_F(InputTest, FocusRulesAndErrors) {
  B->SetEnabled(false);
  EXPECT_FALSE(B->CanFocus());
  try {
    B->SetFocus();
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Cannot focus a disabled or invisible window");
  }
  TWinControl loose(nullptr);
  EXPECT_FALSE(loose.CanFocus());
  // Hiding the focused control hands the focus back to the form.
  A->SetVisible(false);
  EXPECT_EQ(Form->GetActiveControl(), nullptr);
  EXPECT_EQ(Form->FocusedControl(), Form);
  EXPECT_EQ(Take(), (V{"a.killfocus", "a.exit"}));
}

TEST_F(InputTest, RightClickAsksForThePopupMenuOfTheNearestControlWithOne) {
  EXPECT_EQ(Form->CaptureControl(), nullptr);
  bool asked = false;
  Application->OnPopupMenu = [&](TPopupMenu*, TControl* C, TPoint Pos) {
    asked = true;
    EXPECT_EQ(C, A);
    EXPECT_EQ(Pos, (TPoint{20, 20}));
  };
  In->Click(20, 20, mbRight);
  EXPECT_FALSE(asked);  // no menu anywhere
  Application->OnPopupMenu = nullptr;
}

TEST_F(InputTest, ModalFormBlocksInputToOtherForms) {
  auto* dlg = new TForm(nullptr);
  TModalResult r = mrNone;
  Application->OnModalShow = [&](TForm* F) {
    EXPECT_EQ(F, dlg);
    EXPECT_EQ(Application->ModalForm(), dlg);
    In->Click(20, 20);  // the main form is disabled meanwhile
    F->SetModalResult(mrOk);
  };
  r = dlg->ShowModal();
  EXPECT_EQ(r, mrOk);
  EXPECT_FALSE(dlg->GetVisible());
  V got = Take();
  EXPECT_EQ(std::count(got.begin(), got.end(), "a.click"), 0);
  delete dlg;
}

TEST_F(InputTest, ExceptionsFromInputHandlersReachTheApplicationNotTheCaller) {
  A->OnClick = [](TObject*) { throw EConvertError("bad click"); };
  A->OnKeyPress = [](TObject*, char32_t&) { throw EConvertError("bad key"); };
  EXPECT_NO_THROW(In->Click(20, 20));
  EXPECT_NO_THROW(In->PressKey('A'));
  EXPECT_EQ(Backend()->Errors, (V{"bad click", "bad key"}));
  EXPECT_EQ(Form->CaptureControl(), nullptr);  // the release still ended the capture
}

TEST_F(InputTest, FocusingIntoAnotherFormActivatesItAndReturningKeepsTheFocus) {
  auto* other = new TForm(nullptr);
  auto* x = new TProbe(other, &Log, "x");
  x->SetParent(other);
  auto* y = new TProbe(other, &Log, "y");
  y->SetParent(other);
  other->Show();  // x, first in tab order, gets the focus
  EXPECT_EQ(Take(), (V{"a.killfocus", "x.enter", "x.setfocus"}));
  Form->Show();  // already shown: just activates again, A keeps the focus without a new enter
  EXPECT_EQ(Take(), (V{"x.killfocus", "a.setfocus"}));
  y->SetFocus();
  EXPECT_EQ(Screen->GetActiveForm(), other);
  EXPECT_TRUE(y->Focused());
  EXPECT_FALSE(A->Focused());
  EXPECT_EQ(Take(), (V{"a.killfocus", "y.enter", "y.setfocus"}));
  delete other;  // the first form takes over, with its focused control
  EXPECT_EQ(Screen->GetActiveForm(), Form);
  EXPECT_TRUE(A->Focused());
  EXPECT_EQ(Take(), (V{"a.setfocus"}));
}

TEST_F(InputTest, DrivingAHiddenFormIsAnError) {
  Form->Hide();
  EXPECT_THROW(In->Click(20, 20), EInvalidOperation);
  EXPECT_THROW(In->PressKey(VK_TAB), EInvalidOperation);
}

// A control may free itself in its right-button release handler (a menu closing on its choice
// does); the context-menu request that follows the release must then not reach it.
class TFreedOnRightRelease : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbRight) delete this;
  }
};

TEST_F(InputTest, AControlFreedByItsRightReleaseIsNotTouchedAgain) {
  auto* c = new TFreedOnRightRelease(Form);
  c->SetParent(Form);
  c->SetBounds(10, 100, 50, 50);
  TComponentWatch watch(c);
  In->Click(30, 120, mbRight);
  EXPECT_TRUE(watch.Gone());
  In->Click(30, 120, mbRight);  // the form forgot it: the click lands on the form
  EXPECT_EQ(Form->CaptureControl(), nullptr);
}

}  // namespace
}  // namespace qel::test

// TNumIO2 driven as a user drives it: typed keys in every notation, the clipboard, the mouse on
// the text, the spin buttons and the gauge, the caret timer in virtual time; and its setters,
// Assign and published properties.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "numio/QEL_NumIO.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"

namespace qel {
namespace {

// A field at (10, 10) on a shown headless form, focused, with a second focusable field below.
class NumIO2Input : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 200);
    N = new TNumIO2(Form);
    N->SetName("NumIO1");
    N->SetParent(Form);
    N->SetBounds(10, 10, 200, 28);
    Other = new TNumIO2(Form);
    Other->SetParent(Form);
    Other->SetBounds(10, 100, 200, 28);
    Form->Show();
    Application->ProcessMessages();
    N->SetFocus();
    N->OnChange = [this](TObject*) { ++Changes; };
    In = std::make_unique<THeadlessInput>(Form);
  }
  void TearDown() override {
    In.reset();
    delete Form;
    ResetHeadlessApplication();
  }
  int Beeps() const { return static_cast<int>(HeadlessBackend()->Beeps.size()); }
  void Type(const std::string& S) { In->TypeText(S); }
  void Ctrl(uint16_t Key) { In->PressKey(Key, {ssCtrl}); }
  // Form coordinates of a point of the field.
  void ClickAt(int X, int Y) { In->Click(N->GetLeft() + X, N->GetTop() + Y); }

  TForm* Form = nullptr;
  TNumIO2* N = nullptr;
  TNumIO2* Other = nullptr;
  std::unique_ptr<THeadlessInput> In;
  int Changes = 0;
};

// ---------------------------------------------------------------- defaults

TEST(NumIO2Defaults, ConstructorSetsEveryInitialValue) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  EXPECT_EQ(n.GetWidth(), 160);
  EXPECT_EQ(n.GetHeight(), 28);
  EXPECT_EQ(n.GetText(), "");
  EXPECT_EQ(n.GetValue(), 0);
  EXPECT_EQ(n.GetInputFormat(), itFloat);
  EXPECT_EQ(n.GetDecPlaceSep(), dpsBoth);
  EXPECT_EQ(n.GetFixPointDecPlaces(), 2);
  EXPECT_EQ(n.GetSignificantDigits(), 6);
  EXPECT_EQ(n.GetRangeLow(), 0);
  EXPECT_EQ(n.GetRangeHigh(), 1000);
  EXPECT_EQ(n.GetLeftSpace(), 35);
  EXPECT_EQ(n.GetTextBoxWidth(), 80);
  EXPECT_EQ(n.GetAlignment(), taCenter);
  EXPECT_EQ(n.GetLeftTextAlignment(), taRightJustify);
  EXPECT_EQ(n.GetRightTextAlignment(), taLeftJustify);
  EXPECT_FALSE(n.GetButVisible());
  EXPECT_TRUE(n.GetBut3D());
  EXPECT_EQ(n.GetButWidth(), 18);
  EXPECT_EQ(n.GetButHeight(), 28);
  EXPECT_EQ(n.GetButSpace(), 3);
  EXPECT_EQ(n.GetButIncrem(), 1.0);
  EXPECT_EQ(n.GetButColor(), clSilver);
  EXPECT_FALSE(n.GetGaugeVisible());
  EXPECT_EQ(n.GetGaugeHeight(), 8);
  EXPECT_EQ(n.GetGaugeWidth(), 82);
  EXPECT_EQ(n.GetGaugeLeftMargin(), 35);
  EXPECT_EQ(n.GetGaugeTopMargin(), 3);
  EXPECT_EQ(n.GetGaugeFrameStyle(), fsLowered);
  EXPECT_EQ(n.GetGaugeColor(), clNavy);
  EXPECT_EQ(n.GetFrameStyle(), fsLowered);
  EXPECT_EQ(n.GetColorOutBG(), clBtnFace);
  EXPECT_EQ(n.GetColorWarnBG(), static_cast<TColor>(0x6088FFF0));
  EXPECT_EQ(n.GetColorWarnText(), clRed);
  EXPECT_EQ(n.FrameColorShadow(), clGray);
  EXPECT_EQ(n.FrameColorHighlight(), clWhite);
  EXPECT_TRUE(n.GetHideSelection());
  EXPECT_FALSE(n.GetReadOnly());
  EXPECT_FALSE(n.GetBeep());
  EXPECT_TRUE(n.GetTabStop());
}

// ---------------------------------------------------------------- typing

TEST_F(NumIO2Input, FloatTakesOneSeparatorAndBeepsOnTheSecondOnlyWhenAsked) {
  Type("1.5");
  EXPECT_EQ(N->GetText(), "1.5");
  EXPECT_EQ(N->GetCaretPos(), 3);
  EXPECT_EQ(Changes, 3);
  Type(".");
  EXPECT_EQ(N->GetText(), "1.5");
  EXPECT_EQ(Beeps(), 0);
  EXPECT_EQ(Changes, 3);
  N->SetBeep(true);
  Type(".x");
  EXPECT_EQ(N->GetText(), "1.5");
  ASSERT_EQ(Beeps(), 2);  // the refused "." and the key outside the table
  EXPECT_EQ(HeadlessBackend()->Beeps[0], 0xFFFFu);
  EXPECT_DOUBLE_EQ(N->GetValue(), 1.5);
}

TEST_F(NumIO2Input, IntegerAcceptsALoneSignButNotTwo) {
  N->SetInputFormat(itInt);
  EXPECT_EQ(N->GetText(), "0");  // the empty field's value, rewritten in the new notation
  N->SetText("");
  N->SetBeep(true);
  Type("-");
  EXPECT_EQ(N->GetText(), "-");
  Type("-");
  EXPECT_EQ(N->GetText(), "-");
  EXPECT_EQ(Beeps(), 1);
  Type("42.");
  EXPECT_EQ(N->GetText(), "-42");
  EXPECT_EQ(N->GetNioIntValue(), -42);
}

TEST_F(NumIO2Input, ExponentNotationReadsWhatWasTyped) {
  N->SetInputFormat(itExp);
  N->SetText("");
  Type("1.5e-3");
  EXPECT_EQ(N->GetText(), "1.5E-3");
  EXPECT_DOUBLE_EQ(N->GetValue(), 0.0015);
  N->SetInputFormat(itFloat);  // the value survives a change of notation
  EXPECT_EQ(N->GetText(), "0.00");
}

TEST_F(NumIO2Input, RadixNotationsTakeOnlyTheirDigits) {
  N->SetInputFormat(itHex);
  N->SetText("");
  Type("fF");
  EXPECT_EQ(N->GetText(), "FF");
  EXPECT_EQ(N->GetValue(), 255);
  Type("G");  // not in the key table
  EXPECT_EQ(N->GetText(), "FF");
  N->SetText("FFFFFFFF");
  EXPECT_EQ(N->GetValue(), -1);  // the two's-complement pattern

  N->SetInputFormat(itBin);
  EXPECT_EQ(N->GetText(), std::string(32, '1'));
  N->SetText("");
  Type("1021");
  EXPECT_EQ(N->GetText(), "101");
  EXPECT_EQ(N->GetValue(), 5);

  N->SetInputFormat(itOct);
  N->SetText("");
  Type("1789");
  EXPECT_EQ(N->GetText(), "17");
  EXPECT_EQ(N->GetValue(), 15);
}

TEST_F(NumIO2Input, DynamicPrefixesComeFromShiftedDigits) {
  N->SetInputFormat(itDynamic);
  N->SetText("");
  Type("$ff");
  EXPECT_EQ(N->GetText(), "$FF");
  EXPECT_EQ(N->GetValue(), 255);
  N->SetText("");
  Type("%101");
  EXPECT_EQ(N->GetValue(), 5);
  N->SetText("");
  Type("&17");  // Shift+7 on this keyboard
  EXPECT_EQ(N->GetValue(), 15);
  N->SetText("");
  In->PressKey('6', {ssShift});
  Type("7");
  EXPECT_EQ(N->GetText(), "&7");
  N->SetText("");
  Type("$$");
  EXPECT_EQ(N->GetText(), "$");  // a lone prefix stands while typing; a second one does not
  EXPECT_EQ(N->GetValue(), 0);
  N->SetText("&");  // but it is no number to assign
  EXPECT_EQ(N->GetText(), "$");
}

TEST_F(NumIO2Input, KeypadKeysTypeDigitsSignsAndTheSeparatorTheFieldTakes) {
  for (uint16_t k : {VK_SUBTRACT, VK_NUMPAD1, VK_NUMPAD2, VK_DECIMAL, VK_NUMPAD5}) In->PressKey(k);
  EXPECT_EQ(N->GetText(), "-12,5");  // either separator is taken by default
  N->SetText("");
  N->SetDecPlaceSep(dpsPoint);
  for (uint16_t k : {VK_NUMPAD7, VK_DECIMAL, VK_NUMPAD5}) In->PressKey(k);
  EXPECT_EQ(N->GetText(), "7.5");
}

TEST_F(NumIO2Input, FixedPointOverwritesTheDecimals) {
  N->SetInputFormat(itFixPoint);
  N->SetText("12.34");
  In->PressKey(VK_HOME);
  In->PressKey(VK_RIGHT);
  In->PressKey(VK_RIGHT);
  EXPECT_EQ(N->GetSelEnd() - N->GetSelBegin(), 0);  // in front of the "." nothing is selected
  In->PressKey(VK_RIGHT);
  EXPECT_EQ(N->GetCaretPos(), 3);
  EXPECT_EQ(N->GetSelBegin(), 3);
  EXPECT_EQ(N->GetSelEnd(), 4);  // the "3" waits to be overwritten
  Type("9");
  EXPECT_EQ(N->GetText(), "12.94");
  EXPECT_EQ(N->GetSelBegin(), 4);
  EXPECT_EQ(N->GetSelEnd(), 5);
  Type("7");
  EXPECT_EQ(N->GetText(), "12.97");
  Type("1");  // behind the last decimal nothing is left to overwrite
  EXPECT_EQ(N->GetText(), "12.97");
  EXPECT_LE(N->GetSelEnd(), 5);
  In->PressKey(VK_HOME);
  Type("3");
  EXPECT_EQ(N->GetText(), "312.97");
}

TEST_F(NumIO2Input, ClipboardCopyCutAndPaste) {
  N->SetText("123.5");
  N->SetSelBegin(1);
  N->SetSelEnd(3);
  Ctrl('C');
  EXPECT_EQ(Clipboard()->GetAsText(), "23");
  EXPECT_EQ(N->GetText(), "123.5");
  EXPECT_EQ(N->GetSelBegin(), 1);  // copying keeps the selection
  EXPECT_EQ(N->GetSelEnd(), 3);
  Ctrl('X');
  EXPECT_EQ(N->GetText(), "1.5");
  EXPECT_EQ(N->GetCaretPos(), 1);
  EXPECT_EQ(Changes, 1);
  Clipboard()->SetAsText("77\r\n");  // a copied cell brings its line break along
  Ctrl('V');
  EXPECT_EQ(N->GetText(), "177.5");
  EXPECT_EQ(N->GetCaretPos(), 3);
  Clipboard()->SetAsText("abc");
  N->SetBeep(true);
  Ctrl('V');
  EXPECT_EQ(N->GetText(), "177.5");
  EXPECT_EQ(Beeps(), 1);
  Ctrl('Q');  // any other Ctrl key beeps
  EXPECT_EQ(Beeps(), 2);
}

TEST_F(NumIO2Input, CuttingOrDeletingEverythingLeavesAFormattedZero) {
  N->SetText("42.5");
  N->SetSelBegin(0);
  N->SetSelEnd(4);
  Ctrl('X');
  EXPECT_EQ(N->GetText(), "0.00");
  EXPECT_EQ(N->GetCaretPos(), 0);
  N->SetInputFormat(itInt);
  N->SetText("123");
  N->SetSelBegin(0);
  N->SetSelEnd(3);
  In->PressKey(VK_BACK);
  EXPECT_EQ(N->GetText(), "0");
  // Without a selection the last character simply goes.
  In->PressKey(VK_END);
  In->PressKey(VK_BACK);
  EXPECT_EQ(N->GetText(), "");
  In->PressKey(VK_BACK);  // nothing before the caret
  EXPECT_EQ(N->GetText(), "");
}

TEST_F(NumIO2Input, CaretKeysStayInsideTheText) {
  Type("12");
  In->PressKey(VK_RIGHT);
  EXPECT_EQ(N->GetCaretPos(), 2);
  In->PressKey(VK_HOME);
  In->PressKey(VK_LEFT);
  In->PressKey(VK_UP);
  EXPECT_EQ(N->GetCaretPos(), 0);
  In->PressKey(VK_DOWN);
  EXPECT_EQ(N->GetCaretPos(), 1);
  In->PressKey(VK_DELETE);
  EXPECT_EQ(N->GetText(), "1");
  const int before = Changes;
  In->PressKey(VK_END);
  In->PressKey(VK_DELETE);  // nothing after the caret
  EXPECT_EQ(Changes, before);
}

TEST_F(NumIO2Input, TabMovesTheFocusOnAndShiftTabBack) {
  In->PressKey(VK_TAB);
  EXPECT_TRUE(Other->Focused());
  EXPECT_EQ(N->GetText(), "");
  In->PressKey(VK_TAB, {ssShift});
  EXPECT_TRUE(N->Focused());
}

TEST_F(NumIO2Input, ReadOnlyOnlyCopies) {
  N->SetText("12");
  N->SetReadOnly(true);
  N->SetButVisible(true);
  N->SetGaugeVisible(true);
  Type("3");
  In->PressKey(VK_BACK);
  EXPECT_EQ(N->GetText(), "12");
  N->SetSelBegin(0);
  N->SetSelEnd(2);
  Ctrl('X');
  EXPECT_EQ(N->GetText(), "12");
  Ctrl('C');
  EXPECT_EQ(Clipboard()->GetAsText(), "12");
  ClickAt(N->ButtonLeft() + 5, 5);
  ClickAt(N->GetGaugeLeftMargin() + 70, N->GetHeight() - 3);
  EXPECT_EQ(N->GetText(), "12");
  EXPECT_EQ(Changes, 0);
}

TEST_F(NumIO2Input, ShiftAndCtrlFlagsDoNotOutliveTheFocus) {
  In->KeyDown(VK_CONTROL, {ssCtrl});
  Other->SetFocus();  // Ctrl is released while the other field has the focus
  In->KeyUp(VK_CONTROL);
  N->SetFocus();
  Type("5");
  EXPECT_EQ(N->GetText(), "5");
}

TEST_F(NumIO2Input, PreviewingFormSeesKeysFirstAndOnce) {
  Form->SetKeyPreview(true);
  int previews = 0;
  Form->OnKeyDown = [&](TObject*, uint16_t& Key, TShiftState) {
    ++previews;
    if (Key == '7') Key = 0;  // the form keeps this one
  };
  int own = 0;
  N->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++own; };
  Type("17");
  EXPECT_EQ(N->GetText(), "1");
  EXPECT_EQ(previews, 2);
  EXPECT_EQ(own, 1);
}

// ---------------------------------------------------------------- mouse

TEST_F(NumIO2Input, ClickAndDragInTheTextPlaceCaretAndSelect) {
  N->SetAlignment(taLeftJustify);
  N->SetText("12345");
  ClickAt(N->CharPosToXCoords(2), 10);
  EXPECT_EQ(N->GetCaretPos(), 2);
  EXPECT_TRUE(N->Focused());
  EXPECT_EQ(N->GetSelBegin(), N->GetSelEnd());
  const int y = N->GetTop() + 10;
  In->Drag({N->GetLeft() + N->CharPosToXCoords(4), y}, {N->GetLeft() + N->CharPosToXCoords(1), y});
  EXPECT_EQ(N->GetSelBegin(), 1);
  EXPECT_EQ(N->GetSelEnd(), 4);  // dragging back past the press keeps the press as an end
  Type("9");
  EXPECT_EQ(N->GetText(), "195");
  ClickAt(N->GetLeftSpace() - 20, 10);  // left of the text: position 0
  EXPECT_EQ(N->GetCaretPos(), 0);
  ClickAt(N->GetLeftSpace() + N->GetTextBoxWidth(), 10);
  EXPECT_EQ(N->GetCaretPos(), 3);
}

TEST_F(NumIO2Input, SpinButtonsStepAndClampToTheRange) {
  N->SetButVisible(true);
  N->SetRangeHigh(6.5);
  N->SetValue(5);
  const int bx = N->ButtonLeft() + 5;
  ClickAt(bx, 5);
  EXPECT_EQ(N->GetText(), "6.00");
  EXPECT_EQ(Changes, 1);
  ClickAt(bx, 5);
  EXPECT_EQ(N->GetText(), "6.50");
  ClickAt(bx, N->GetButHeight() - 3);
  EXPECT_EQ(N->GetText(), "5.50");
  N->SetButIncrem(10);
  ClickAt(bx, N->GetButHeight() - 3);
  EXPECT_EQ(N->GetText(), "0.00");
  EXPECT_EQ(Changes, 4);
}

TEST_F(NumIO2Input, SpinButtonsWalkTheSnapValues) {
  N->SetButVisible(true);
  N->SnapValues = {5, 1, 2};  // any order: stepping goes by size
  const int bx = N->ButtonLeft() + 5, up = 5, down = N->GetButHeight() - 3;
  struct Case {
    double From;
    int Y;
    const char* Expect;
  };
  for (const Case& c : {Case{2, up, "5.00"}, Case{2, down, "1.00"}, Case{3, up, "5.00"},
                        Case{3, down, "2.00"}, Case{5, up, "5.00"}, Case{1, down, "1.00"},
                        Case{1.004, down, "1.00"}, Case{4.999, up, "5.00"}}) {
    N->SetValue(c.From);
    ClickAt(bx, c.Y);
    EXPECT_EQ(N->GetText(), c.Expect) << "from " << c.From << (c.Y == up ? " up" : " down");
  }
}

TEST_F(NumIO2Input, GaugeClickDragAndRelease) {
  N->SetGaugeVisible(true);
  std::vector<double> dragged;
  N->OnGaugeChange = [&](TObject*, TShiftState, double V) { dragged.push_back(V); };
  const int gy = N->GetHeight() - 4, gl = N->GetGaugeLeftMargin();
  In->MouseDown(N->GetLeft() + gl + 41, N->GetTop() + gy);
  EXPECT_EQ(N->GetValue(), 500);
  EXPECT_EQ(Changes, 0);  // the release reports the change
  In->MouseMove(N->GetLeft() + gl + 82, N->GetTop() + gy, {ssLeft});
  In->MouseMove(N->GetLeft() + gl + 200, N->GetTop() + gy, {ssLeft});  // beyond: ignored
  ASSERT_EQ(dragged.size(), 1u);
  EXPECT_EQ(dragged[0], 1000);
  In->MouseUp(N->GetLeft() + gl + 82, N->GetTop() + gy);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(N->GetText(), "1000.00");
  ClickAt(gl - 1, gy);  // left of the gauge a press does nothing
  EXPECT_EQ(N->GetValue(), 1000);
}

TEST_F(NumIO2Input, GaugeSnapsToTheNearestEntryWithinTheRange) {
  N->SetGaugeVisible(true);
  N->SnapValues = {100, 300, 1500};
  const int gy = N->GetHeight() - 4, gl = N->GetGaugeLeftMargin();
  ClickAt(gl + 16, gy);  // about 195: nearer to 100... by a hair
  EXPECT_EQ(N->GetValue(), 100);
  ClickAt(gl + 17, gy);  // about 207
  EXPECT_EQ(N->GetValue(), 300);
  ClickAt(gl + 82, gy);  // 1000 snaps to 1500, which the range cuts back
  EXPECT_EQ(N->GetValue(), 1000);
  N->SnapValues = {42};
  ClickAt(gl + 5, gy);
  EXPECT_EQ(N->GetValue(), 42);
}

// ---------------------------------------------------------------- caret timer

TEST_F(NumIO2Input, CaretBlinksWhileFocusedAndStopsWithoutFocus) {
  EXPECT_TRUE(N->GetCaretVisible());
  Application->AdvanceTime(499);
  EXPECT_TRUE(N->GetCaretVisible());
  Application->AdvanceTime(1);
  EXPECT_FALSE(N->GetCaretVisible());
  Application->AdvanceTime(500);
  EXPECT_TRUE(N->GetCaretVisible());
  Other->SetFocus();
  EXPECT_FALSE(N->GetCaretVisible());
  Application->AdvanceTime(5000);
  EXPECT_FALSE(N->GetCaretVisible());
  // The other field blinks now, on its own window.
  EXPECT_TRUE(Other->GetCaretVisible());
  Application->AdvanceTime(500);
  EXPECT_FALSE(Other->GetCaretVisible());
}

TEST_F(NumIO2Input, ReadOnlyStopsTheCaretAndEditingStartsItAgain) {
  N->SetReadOnly(true);
  EXPECT_FALSE(N->GetCaretVisible());
  Application->AdvanceTime(2000);
  EXPECT_FALSE(N->GetCaretVisible());
  N->SetReadOnly(false);
  EXPECT_TRUE(N->GetCaretVisible());
  Application->AdvanceTime(500);
  EXPECT_FALSE(N->GetCaretVisible());
}

TEST_F(NumIO2Input, NoTimerAvailableNamesTheComponent) {
  Application->SetTimersFail(true);
  try {
    N->SetFocus();
    FAIL() << "no exception";
  } catch (const EQELNumIO2Error& e) {
    EXPECT_EQ(e.Message, "Component \"NumIO1\": no timer available");
  }
  EXPECT_THROW(TNumIO2 fresh(nullptr), EQELNumIO2Error);
  Application->SetTimersFail(false);
}

TEST(NumIO2Lifetime, DestructionFreesTheTimer) {
  ResetHeadlessApplication();
  const int before = Application->TimerCount();
  auto* n = new TNumIO2(nullptr);
  EXPECT_EQ(Application->TimerCount(), before + 1);
  delete n;
  EXPECT_EQ(Application->TimerCount(), before);
  Application->AdvanceTime(2000);  // nothing left to tick into a freed field
}

// ---------------------------------------------------------------- setters

TEST(NumIO2Setters, RangeSettersKeepLowAtMostHigh) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetRangeLow(2000);
  EXPECT_EQ(n.GetRangeHigh(), 2000);
  n.SetRangeHigh(-5);
  EXPECT_EQ(n.GetRangeLow(), -5);
  EXPECT_EQ(n.GetRangeHigh(), -5);
  n.SetRangeLow(std::nan(""));
  n.SetRangeHigh(std::nan(""));
  EXPECT_EQ(n.GetRangeLow(), -5);
  EXPECT_EQ(n.GetRangeHigh(), -5);
  n.SetText("-5");
  EXPECT_FALSE(n.OutOfRange());
  n.SetText("-5.01");
  EXPECT_TRUE(n.OutOfRange());
  n.SetRangeHigh(std::numeric_limits<double>::infinity());
  n.SetText("1e300");  // not a float text
  EXPECT_EQ(n.GetText(), "-5.01");
}

TEST(NumIO2Setters, LimitsOfTheLayoutProperties) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetLeftSpace(500);
  EXPECT_EQ(n.GetLeftSpace(), 160);
  n.SetLeftSpace(-1);
  EXPECT_EQ(n.GetLeftSpace(), 160);
  n.SetButWidth(3);
  EXPECT_EQ(n.GetButWidth(), 8);
  n.SetButWidth(99);
  EXPECT_EQ(n.GetButWidth(), 50);
  n.SetButSpace(-4);
  EXPECT_EQ(n.GetButSpace(), 0);
  n.SetButHeight(5);
  EXPECT_EQ(n.GetButHeight(), 18);
  n.SetButHeight(99);
  EXPECT_EQ(n.GetButHeight(), 28);
  n.SetHeight(10);
  EXPECT_EQ(n.GetHeight(), 18);
  EXPECT_EQ(n.GetButHeight(), 18);
  n.SetHeight(40);
  n.SetGaugeHeight(100);
  EXPECT_EQ(n.GetGaugeHeight(), 40 - 3 - 18);
  n.SetGaugeHeight(1);
  EXPECT_EQ(n.GetGaugeHeight(), 3);
  n.SetGaugeTopMargin(100);
  EXPECT_EQ(n.GetGaugeTopMargin(), 40 - 3 - 18);
  n.SetGaugeWidth(1000);
  EXPECT_EQ(n.GetGaugeWidth(), 160 - 35);
  n.SetGaugeLeftMargin(100);
  EXPECT_EQ(n.GetGaugeLeftMargin(), 160 - 125);
  n.SetGaugeWidth(2);
  EXPECT_EQ(n.GetGaugeWidth(), 10);
  // A narrow control still keeps a gauge at least 10 wide, so a press never divides by 0.
  n.SetWidth(20);
  n.SetGaugeLeftMargin(50);
  n.SetGaugeWidth(50);
  EXPECT_GE(n.GetGaugeWidth(), 10);
  EXPECT_TRUE(std::isfinite(n.GaugeValueAt(5)));
}

TEST(NumIO2Setters, DigitCountsRewriteTheValue) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetValue(3.14159);
  EXPECT_EQ(n.GetText(), "3.14");
  n.SetFixPointDecPlaces(0);
  EXPECT_EQ(n.GetFixPointDecPlaces(), 2);
  n.SetFixPointDecPlaces(4);
  EXPECT_EQ(n.GetText(), "3.1400");  // the value as shown before
  n.SetFixPointDecPlaces(40);
  EXPECT_EQ(n.GetFixPointDecPlaces(), 15);
  n.SetInputFormat(itExp);
  n.SetValue(12.5);
  EXPECT_EQ(n.GetText(), " 1.25000E+01");
  n.SetSignificantDigits(3);
  EXPECT_EQ(n.GetText(), " 1.25E+01");
  n.SetSignificantDigits(-1);
  EXPECT_EQ(n.GetSignificantDigits(), 3);
  n.SetValue(std::nan(""));
  EXPECT_EQ(n.GetText(), " 1.25E+01");
}

TEST(NumIO2Setters, AutoSizeFollowsTheFont) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetAutoSize(true);
  TCanvas c;
  c.Font()->Assign(n.GetFont());
  EXPECT_EQ(n.GetHeight(), std::max(18, c.TextHeight("E0") + 6));
  n.GetFont()->SetSize(24);
  c.Font()->Assign(n.GetFont());
  EXPECT_GT(c.TextHeight("E0") + 6, 28);
  EXPECT_EQ(n.GetHeight(), c.TextHeight("E0") + 6);
  n.SetAutoSize(false);
  n.SetHeight(60);
  EXPECT_EQ(n.GetHeight(), 60);
}

TEST(NumIO2Setters, TextIsJudgedByTheNotation) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetText("12.5");
  n.SetSelBegin(2);
  n.SetText("1x");
  EXPECT_EQ(n.GetText(), "12.5");
  EXPECT_EQ(n.GetCaretPos(), 2);
  n.SetText("7");
  EXPECT_EQ(n.GetCaretPos(), 0);
  n.SetText("");
  EXPECT_EQ(n.GetText(), "");
}

TEST(NumIO2Setters, SelectionSettersClampAndMoveTheCaret) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetText("1234");
  n.SetSelEnd(99);
  EXPECT_EQ(n.GetSelEnd(), 4);
  EXPECT_EQ(n.GetCaretPos(), 4);
  n.SetSelBegin(2);
  EXPECT_EQ(n.GetSelBegin(), 2);
  EXPECT_EQ(n.GetCaretPos(), 2);
  n.SetSelBegin(-3);
  EXPECT_EQ(n.GetSelBegin(), 0);
  n.SetSelEnd(1);
  n.SetSelBegin(3);  // pushes the end along
  EXPECT_EQ(n.GetSelEnd(), 3);
  n.SetSelEnd(1);  // pulls the beginning back
  EXPECT_EQ(n.GetSelBegin(), 1);
  // A shorter value written later keeps the positions inside the text.
  n.SetSelEnd(4);
  n.SetValue(1);
  EXPECT_LE(n.GetSelEnd(), 4);
  EXPECT_LE(n.GetCaretPos(), static_cast<int>(n.GetText().size()));
}

TEST(NumIO2Setters, SeparatorChangeRewritesTheText) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetText("1,5");
  n.SetDecPlaceSep(dpsPoint);
  EXPECT_EQ(n.GetText(), "1.5");
  n.SetDecPlaceSep(dpsComma);
  EXPECT_EQ(n.GetText(), "1,5");
  n.SetDecPlaceSep(dpsBoth);  // either is fine: nothing is rewritten
  EXPECT_EQ(n.GetText(), "1,5");
  EXPECT_DOUBLE_EQ(n.GetValue(), 1.5);
}

TEST(NumIO2Setters, IntValueOverflowNamesTheComponent) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  n.SetName("Volts");
  n.SetText("2147483647");
  EXPECT_EQ(n.GetNioIntValue(), 2147483647);
  n.SetText("-2147483648.4");
  EXPECT_THROW(n.GetNioIntValue(), EQELNumIO2Error);
  n.SetText("3000000000");
  try {
    n.GetNioIntValue();
    FAIL() << "no exception";
  } catch (const EQELNumIO2Error& e) {
    EXPECT_EQ(e.Message, "Component \"Volts\": integer overflow");
  }
}

TEST(NumIO2Setters, CaretPositionOfANarrowTextIsMeasured) {
  ResetHeadlessApplication();
  TNumIO2 n(nullptr);
  // A digit followed by combining marks: valid in itExp ("other" ends the number), ten
  // characters, yet hardly wider than the digit.
  n.SetInputFormat(itExp);
  n.SetAlignment(taLeftJustify);
  std::string narrow = "1";
  for (int i = 0; i < 9; ++i) narrow += "\xCC\x81";
  n.SetText(narrow);
  ASSERT_EQ(n.GetText(), narrow);
  TCanvas c;
  c.Font()->Assign(n.GetFont());
  ASSERT_LT(c.TextWidth(n.GetText()), 10) << "the font is not narrow enough for this case";
  for (int x = -50; x < 300; x += 7) {
    const int p = n.XCoordsToCharPos(x);
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 10);
  }
  EXPECT_EQ(n.XCoordsToCharPos(-50), 0);
  EXPECT_EQ(n.XCoordsToCharPos(300), 10);
}

TEST(NumIO2Assign, CopiesLookValueButtonsAndGauge) {
  ResetHeadlessApplication();
  TNumIO2 a(nullptr), b(nullptr);
  a.SetInputFormat(itInt);
  a.SetText("77");
  a.SetLeftText("U");
  a.SetRightText("V");
  a.SetRangeHigh(50);
  a.SetButVisible(true);
  a.SetButWidth(30);
  a.SetGaugeVisible(true);
  a.SetGaugeColor(clRed);
  a.SetColorScheme(csSystem);
  a.SetReadOnly(true);
  a.SnapValues = {1, 2};
  b.Assign(&a);
  EXPECT_EQ(b.GetInputFormat(), itInt);
  EXPECT_EQ(b.GetText(), "77");
  EXPECT_EQ(b.GetLeftText(), "U");
  EXPECT_EQ(b.GetRightText(), "V");
  EXPECT_EQ(b.GetRangeHigh(), 50);
  EXPECT_TRUE(b.OutOfRange());
  EXPECT_TRUE(b.GetButVisible());
  EXPECT_EQ(b.GetButWidth(), 30);
  EXPECT_TRUE(b.GetGaugeVisible());
  EXPECT_EQ(b.GetGaugeColor(), clRed);
  EXPECT_EQ(b.FrameColorShadow(), clBtnShadow);
  EXPECT_TRUE(b.GetReadOnly());
  EXPECT_EQ(b.SnapValues, a.SnapValues);
  TNumIO2 c(nullptr);
  a.AssignTo(&c);
  EXPECT_EQ(c.GetText(), "77");
  TFont f;
  EXPECT_THROW(c.Assign(&f), EConvertError);
}

// ---------------------------------------------------------------- published properties

TEST(NumIO2Registry, EveryOwnPropertyRoundTripsThroughItsText) {
  ResetHeadlessApplication();
  RegisterNumIOClasses();
  RegisterNumIOClasses();
  const TClassInfo& info = GetClassInfo("TNumIO2");
  TNumIO2 n(nullptr);
  n.SetHeight(40);  // room for the default gauge height, which 28 would cut to 7
  const std::string framework = " Height Width Enabled Font TabStop ";
  for (const char* name : {"InputFormat",
                           "DecPlaceSep",
                           "FixPointDecPlaces",
                           "SignificantDigits",
                           "RangeLow",
                           "RangeHigh",
                           "Text",
                           "Value",
                           "LeftText",
                           "RightText",
                           "LeftSpace",
                           "TextBoxWidth",
                           "Alignment",
                           "LeftTextAlignment",
                           "RightTextAlignment",
                           "ButVisible",
                           "But3D",
                           "ButWidth",
                           "ButHeight",
                           "ButSpace",
                           "ButIncrem",
                           "ButColor",
                           "GaugeVisible",
                           "GaugeHeight",
                           "GaugeWidth",
                           "GaugeLeftMargin",
                           "GaugeTopMargin",
                           "GaugeFrameStyle",
                           "GaugeColor",
                           "GaugeColorBg",
                           "GaugeColorFrame",
                           "FrameStyle",
                           "ColorBoxBG",
                           "ColorBoxText",
                           "ColorOutBG",
                           "ColorOutText",
                           "ColorWarnBG",
                           "ColorWarnText",
                           "ColorScheme",
                           "HideSelection",
                           "AutoSize",
                           "ReadOnly",
                           "Beep",
                           "Height",
                           "Width",
                           "Enabled",
                           "Font",
                           "TabStop"}) {
    const TPropInfo* p = info.FindProperty(name);
    ASSERT_NE(p, nullptr) << name;
    if (p->Kind == pkClass) continue;
    const std::string text = GetPropText(&n, *p);
    SetPropText(&n, *p, text);
    EXPECT_EQ(GetPropText(&n, *p), text) << name;
    if (framework.find(std::string(" ") + name + " ") == std::string::npos) {
      EXPECT_FALSE(p->IsDefault(&n)) << name << " carries no stream default";
    }
  }
  SetPropText(&n, *info.FindProperty("InputFormat"), "itHex");
  SetPropText(&n, *info.FindProperty("Value"), "255");
  EXPECT_EQ(n.GetText(), "000000FF");
}

TEST(NumIO2Registry, FormFileRoundTripKeepsTheField) {
  ResetHeadlessApplication();
  RegisterNumIOClasses();
  TForm owner(nullptr);
  auto* n = CreateFromText<TNumIO2>(
      "object Volts: TNumIO2\n"
      "  Left = 4\n  Top = 4\n  Width = 200\n  Height = 40\n"
      "  InputFormat = itFixPoint\n  FixPointDecPlaces = 3\n"
      "  RangeLow = 1\n  RangeHigh = 2\n  Text = '1.500'\n"
      "  GaugeVisible = True\n  GaugeLeftMargin = 120\n  GaugeWidth = 70\n"
      "  ButHeight = 40\n  RightText = 'V'\nend\n",
      &owner);
  ASSERT_NE(n, nullptr);
  // Width and margin are kept as read, whatever their order.
  EXPECT_EQ(n->GetGaugeLeftMargin(), 120);
  EXPECT_EQ(n->GetGaugeWidth(), 70);
  EXPECT_EQ(n->GetButHeight(), 40);
  EXPECT_EQ(n->GetText(), "1.500");
  EXPECT_DOUBLE_EQ(n->GetValue(), 1.5);
  const std::string text = WriteComponentText(n);
  TForm owner2(nullptr);
  auto* m = CreateFromText<TNumIO2>(text, &owner2);
  EXPECT_EQ(WriteComponentText(m), text);
}

// A resize leaves the gauge and the spaces beyond what their setters would take now; a form
// file brings them back as they were, and even absurd values from a file paint.
TEST(NumIO2Registry, FormFileKeepsAGaugeTheControlOutgrew) {
  ResetHeadlessApplication();
  RegisterNumIOClasses();
  TForm owner(nullptr);
  auto* n = new TNumIO2(&owner);
  n->SetName("Big");
  n->SetBounds(0, 0, 300, 90);
  n->SetGaugeVisible(true);
  n->SetGaugeHeight(40);
  n->SetGaugeWidth(250);
  n->SetLeftSpace(280);
  n->SetBounds(0, 0, 120, 28);
  ASSERT_EQ(n->GetGaugeHeight(), 40);
  n->SetGaugeHeight(40);  // the value held is kept, not judged again
  EXPECT_EQ(n->GetGaugeHeight(), 40);
  const std::string text = WriteComponentText(n);
  TForm owner2(nullptr);
  auto* m = CreateFromText<TNumIO2>(text, &owner2);
  EXPECT_EQ(m->GetGaugeHeight(), 40);
  EXPECT_EQ(m->GetGaugeWidth(), 250);
  EXPECT_EQ(m->GetLeftSpace(), 280);
  EXPECT_EQ(WriteComponentText(m), text);
  TForm owner3(nullptr);
  auto* huge = CreateFromText<TNumIO2>(
      "object Huge: TNumIO2\n  GaugeVisible = True\n  GaugeHeight = 2147483647\n"
      "  GaugeWidth = 2147483647\n  GaugeLeftMargin = 2147483647\n"
      "  GaugeTopMargin = 2147483647\n  GaugeFrameStyle = fsRaised\n"
      "  LeftSpace = 2147483647\n  Text = '12'\nend\n",
      &owner3);
  TBitmap b(huge->GetWidth(), huge->GetHeight());
  huge->PaintTo(&b);  // no overflow (the sanitizers watch)
  EXPECT_EQ(huge->GetGaugeHeight(), kMaxControlCoord);
}

}  // namespace
}  // namespace qel

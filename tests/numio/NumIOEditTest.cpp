// TNumIO driven as a user drives an edit: typing, deleting, pasting and undoing in every
// notation, with the range check, the fixed-point cut and the beeps; then its value accessors,
// setters, Assign and loading from a form file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "frame/QEL_univconst.h"
#include "numio/QEL_NumIO.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {
namespace {

class NumIOEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    RegisterNumIOClasses();
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 300, 120);
    N = new TNumIO(Form);
    N->SetName("NumIO1");
    N->SetParent(Form);
    N->SetBounds(10, 10, 150, 21);
    N->SetBeep(true);
    Form->Show();
    Application->ProcessMessages();
    N->SetFocus();
    In = std::make_unique<THeadlessInput>(Form);
  }
  void TearDown() override {
    In.reset();
    ResetHeadlessApplication();
  }
  int Beeps() const { return static_cast<int>(HeadlessBackend()->Beeps.size()); }

  // Plays a script: "<BS>", "<DEL>", "<LEFT>", "<RIGHT>", "<HOME>", "<END>", "<ALL>" (Ctrl+A),
  // "<UNDO>" (Ctrl+Z), "<PASTE>" (Ctrl+V), "<CUT>" (Ctrl+X); any other character is typed.
  void Play(const std::string& Script) {
    for (size_t i = 0; i < Script.size();) {
      if (Script[i] == '<') {
        size_t e = Script.find('>', i);
        std::string k = Script.substr(i + 1, e - i - 1);
        i = e + 1;
        if (k == "BS")
          In->PressKey(VK_BACK);
        else if (k == "DEL")
          In->PressKey(VK_DELETE);
        else if (k == "LEFT")
          In->PressKey(VK_LEFT);
        else if (k == "RIGHT")
          In->PressKey(VK_RIGHT);
        else if (k == "HOME")
          In->PressKey(VK_HOME);
        else if (k == "END")
          In->PressKey(VK_END);
        else if (k == "ALL")
          In->PressKey('A', {ssCtrl});
        else if (k == "UNDO")
          In->PressKey('Z', {ssCtrl});
        else if (k == "PASTE")
          In->PressKey('V', {ssCtrl});
        else if (k == "CUT")
          In->PressKey('X', {ssCtrl});
        else
          ADD_FAILURE() << "unknown key " << k;
        continue;
      }
      In->TypeText(std::string(1, Script[i]));
      ++i;
    }
  }

  TForm* Form = nullptr;
  TNumIO* N = nullptr;
  std::unique_ptr<THeadlessInput> In;
};

// ---------------------------------------------------------------- typing sequences

struct TTypingCase {
  const char* Name;
  TInFormat Fmt;
  TDecPSep Sep;
  double Low, High;
  const char* Start;  // set with SetEditText, caret at its end
  const char* Clip;   // clipboard text, for <PASTE>
  const char* Script;
  const char* Text;  // what the field shows afterwards
  int Caret;         // SelStart afterwards
  int Beeps;
};

const TTypingCase kTyping[] = {
    // A change that leaves the range is undone with a beep; typing goes on from there.
    {"IntBeyondRangeUndone", itInt, dpsPoint, 0, 100, "", "", "500", "50", 2, 1},
    {"IntBeyondRangeThenOn", itInt, dpsPoint, 0, 100, "", "", "500<BS>1", "51", 2, 1},
    {"IntLoneSignStands", itInt, dpsPoint, 0, 100, "", "", "-5", "-", 1, 1},
    {"IntSecondSignRefused", itInt, dpsPoint, -100, 100, "", "", "--5", "-5", 2, 1},
    {"IntZeroPassesOutsideRange", itInt, dpsPoint, 10, 20, "", "", "00", "00", 2, 0},
    {"IntLetterRefused", itInt, dpsPoint, 0, 100, "", "", "4x2", "42", 2, 1},
    {"IntClearedByBackspace", itInt, dpsPoint, 0, 100, "42", "", "<BS><BS>", "", 0, 0},
    // Decimal notations and the separator choice.
    {"FloatSecondPointRefused", itFloat, dpsPoint, -10, 10, "", "", "1.5.2", "1.52", 4, 1},
    {"FloatCommaRefusedByPointOnly", itFloat, dpsPoint, -10, 100, "", "", "1,5", "15", 2, 1},
    {"FloatPointRefusedByCommaOnly", itFloat, dpsComma, -10, 100, "", "", "1.5,2", "15,2", 4, 1},
    {"FloatNoExponent", itFloat, dpsBoth, 0, 1e9, "", "", "1e5", "15", 2, 1},
    {"ExpUnfinishedExponentStands", itExp, dpsPoint, 0, 1e6, "", "", "1e-", "1e-", 3, 0},
    {"ExpBeyondRangeUndone", itExp, dpsPoint, 0, 1e6, "", "", "1e57", "1e5", 3, 1},
    // Radix notations read as 32-bit two's complement.
    {"HexBeyondRangeUndone", itHex, dpsPoint, 0, 1000, "", "", "fff", "ff", 2, 1},
    {"HexAllOnesIsMinusOne", itHex, dpsPoint, -10, 10, "", "FFFFFFFF", "<PASTE>", "FFFFFFFF", 8, 0},
    {"BinTwoRefused", itBin, dpsPoint, 0, 1000, "", "", "1021", "101", 3, 1},
    {"DynamicPrefixes", itDynamic, dpsPoint, 0, 300, "", "", "$f<ALL>%101<ALL>&17", "&17", 3, 0},
    {"DynamicHexBeyondRange", itDynamic, dpsPoint, 0, 300, "", "", "$fff", "$ff", 3, 1},
    {"DynamicLonePrefixStands", itDynamic, dpsPoint, 0, 300, "", "", "%", "%", 1, 0},
    // Pasting is one change: all or nothing, the selection comes back when refused.
    {"PasteRefusedAsAWhole", itInt, dpsPoint, 0, 1000, "12", "3x", "<PASTE>", "12", 2, 1},
    {"PasteBeyondRange", itInt, dpsPoint, 0, 1000, "12", "345", "<PASTE>", "12", 2, 1},
    {"CutToEmpty", itInt, dpsPoint, 0, 1000, "12", "", "<ALL><CUT>", "", 0, 0},
    // Undo takes back the user's steps; a refused change leaves the undo step alone.
    {"UndoTypingRun", itInt, dpsPoint, 0, 100, "", "", "42<UNDO>", "", 0, 0},
    {"UndoAfterRefusedKey", itInt, dpsPoint, 0, 100, "", "", "500<UNDO>", "", 0, 1},
    {"UndoAfterRefusedPaste", itInt, dpsPoint, 0, 100, "", "7x", "42<PASTE><UNDO>", "", 0, 1},
    {"UndoTwiceRedoes", itInt, dpsPoint, 0, 100, "", "", "42<UNDO><UNDO>", "42", 2, 0},
    // Fixed point: the text keeps FixPointDecPlaces (2) decimals.
    {"FixTypedNumber", itFixPoint, dpsPoint, 0, 1000, "", "", "12", "12.00", 2, 0},
    {"FixThirdDecimalCut", itFixPoint, dpsPoint, 0, 1000, "", "", "1.234", "1.23", 4, 0},
    {"FixCutNotRounded", itFixPoint, dpsPoint, 0, 1000, "", "", "1.239", "1.23", 4, 0},
    {"FixTypingOverDecimals", itFixPoint, dpsPoint, 0, 1000, "12.34", "", "<LEFT><LEFT>9", "12.93",
     4, 0},
    {"FixBackspaceKeepsSeparator", itFixPoint, dpsPoint, 0, 1000, "12.34", "", "<LEFT><LEFT><BS>",
     "12.34", 2, 0},
    {"FixDeleteKeepsSeparator", itFixPoint, dpsPoint, 0, 1000, "12.34", "",
     "<HOME><RIGHT><RIGHT><DEL>", "12.34", 2, 0},
    {"FixSeparatorStepsOver", itFixPoint, dpsPoint, 0, 1000, "12.34", "", "<HOME><RIGHT><RIGHT>.",
     "12.34", 3, 0},
    {"FixSeparatorAnywhereStepsOver", itFixPoint, dpsPoint, 0, 1000, "12.34", "", "<HOME>.",
     "12.34", 3, 0},
    {"FixSecondSeparatorPastedRefused", itFixPoint, dpsPoint, 0, 1000, "12.34", "1.5",
     "<HOME><PASTE>", "12.34", 0, 1},
    {"FixNegativeFromEmpty", itFixPoint, dpsPoint, -10, 10, "", "", "-0.5", "-0.50", 4, 0},
    {"FixCommaField", itFixPoint, dpsComma, 0, 1000, "", "", "3,14159", "3,14", 4, 0},
    {"FixBeyondRange", itFixPoint, dpsPoint, 0, 100, "", "", "999", "99.00", 2, 1},
    {"FixPasteCut", itFixPoint, dpsPoint, 0, 100, "", "2.71828", "<PASTE>", "2.71", 4, 0},
    {"FixUndoWholeNumber", itFixPoint, dpsPoint, 0, 100, "", "", "12<UNDO>", "", 0, 0},
    {"FixLettersRefused", itFixPoint, dpsPoint, 0, 100, "", "", "1a", "1.00", 1, 1},
};

class NumIOTyping : public NumIOEdit, public ::testing::WithParamInterface<TTypingCase> {};

TEST_P(NumIOTyping, EndsWithTextCaretAndBeeps) {
  const TTypingCase& c = GetParam();
  N->SetInputFormat(c.Fmt);
  N->SetDecPlaceSep(c.Sep);
  N->SetRangeLow(c.Low);
  N->SetRangeHigh(c.High);
  N->SetEditText(c.Start);
  N->SetSelStart(N->GetTextLen());
  Clipboard()->SetAsText(c.Clip);
  HeadlessBackend()->ClearRecords();
  Play(c.Script);
  EXPECT_EQ(N->GetText(), c.Text);
  EXPECT_EQ(N->GetSelStart(), c.Caret);
  EXPECT_EQ(N->GetSelLength(), 0);
  EXPECT_EQ(Beeps(), c.Beeps);
  // What the field shows is what it returns to.
  EXPECT_EQ(N->LastValidText(), N->GetText());
}

INSTANTIATE_TEST_SUITE_P(Scripts, NumIOTyping, ::testing::ValuesIn(kTyping),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(NumIOEdit, OnChangeFiresForAcceptedChangesOnly) {
  int changes = 0;
  N->OnChange = [&](TObject*) { ++changes; };
  N->SetInputFormat(itInt);
  N->SetRangeHigh(100);
  changes = 0;
  Play("50");
  EXPECT_EQ(changes, 2);
  Play("0");  // refused
  EXPECT_EQ(changes, 2);
  N->SetLabValue(7);  // the host's own text
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(N->GetText(), "7");
  // The fixed-point form of a change is announced once, with the text as shown.
  N->SetInputFormat(itFixPoint);
  std::string seen;
  N->OnChange = [&](TObject*) { seen += N->GetText() + ";"; };
  N->SetEditText("");
  Play("3");
  EXPECT_EQ(seen, "3.00;");
}

// Random editing in every notation: whatever the user does, the field shows a number of its
// notation inside its range (or 0, or a lone sign, prefix or separator that typing goes on
// from), and that text is the one it returns to.
TEST_F(NumIOEdit, RandomEditingKeepsTheTextValid) {
  std::mt19937 rng(20261208);
  const std::string alphabet = "0123456789.,-+eE$%&abfxz ";
  const std::vector<std::string> keys = {"<BS>",  "<DEL>", "<LEFT>", "<RIGHT>", "<HOME>",
                                         "<END>", "<ALL>", "<UNDO>", "<PASTE>", "<CUT>"};
  auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
  N->SetBeep(false);
  HeadlessBackend()->ClearRecords();
  for (int fmt = itExp; fmt <= itDynamic; ++fmt) {
    for (TDecPSep sep : {dpsPoint, dpsComma, dpsBoth}) {
      N->SetInputFormat(static_cast<TInFormat>(fmt));
      N->SetDecPlaceSep(sep);
      N->SetRangeLow(-500);
      N->SetRangeHigh(fmt == itHex || fmt == itOct || fmt == itBin ? 4000 : 500);
      N->SetEditText("");
      int numbers = 0;  // steps that ended on a text with a digit
      for (int step = 0; step < 300; ++step) {
        std::string clip;
        for (size_t i = pick(6); i > 0; --i) clip += alphabet[pick(alphabet.size())];
        Clipboard()->SetAsText(clip);
        if (pick(3) == 0)
          Play(keys[pick(keys.size())]);
        else
          Play(std::string(1, alphabet[pick(alphabet.size())]));
        const std::string t = N->GetText();
        ASSERT_EQ(N->LastValidText(), t) << fmt << " " << int(sep);
        if (t.empty()) continue;
        if (t.find_first_of("0123456789") != std::string::npos) ++numbers;
        double v = 0;
        ASSERT_TRUE(N->ConvertNumString(t, v)) << "'" << t << "' in " << fmt;
        ASSERT_TRUE(v == 0 || (v >= -500 && v <= N->GetRangeHigh())) << t;
        ASSERT_TRUE(std::isfinite(N->GetLabValue())) << t;
        if (fmt == itFixPoint && t != "-" && t != "+") {
          const size_t p = t.find_first_of(sep == dpsComma ? "," : sep == dpsPoint ? "." : ".,");
          ASSERT_NE(p, std::string::npos) << t;
          ASSERT_EQ(t.size() - p - 1, 2u) << t;
          ASSERT_DOUBLE_EQ(N->GetLabValue(), v) << t;
        }
      }
      // The walk went through numbers, not only through the empty field.
      EXPECT_GT(numbers, 50) << fmt << " " << int(sep);
      EXPECT_EQ(Beeps(), 0);  // Beep is off
    }
  }
}

// ---------------------------------------------------------------- text set by the program

TEST_F(NumIOEdit, ProgramTextIsCheckedWithoutBeep) {
  N->SetInputFormat(itFloat);
  N->SetRangeHigh(10);
  N->SetText("2.5");
  EXPECT_EQ(N->LastValidText(), "2.5");
  HeadlessBackend()->ClearRecords();
  N->SetText("25");  // out of range: back to the last valid text
  EXPECT_EQ(N->GetText(), "2.5");
  N->SetText("x");
  EXPECT_EQ(N->GetText(), "2.5");
  EXPECT_EQ(Beeps(), 0);
  // In itFixPoint the program's text is brought into form too.
  N->SetInputFormat(itFixPoint);
  N->SetText("1.239");
  EXPECT_EQ(N->GetText(), "1.23");
}

TEST_F(NumIOEdit, NotationChangeForgetsTheLastValidText) {
  int changes = 0;
  N->SetInputFormat(itFloat);
  N->SetRangeHigh(100);
  N->SetText("12.5");
  N->OnChange = [&](TObject*) { ++changes; };
  N->SetInputFormat(itInt);  // "12.5" is no integer: cleared, and that is a change
  EXPECT_EQ(N->GetText(), "");
  EXPECT_EQ(N->LastValidText(), "");
  EXPECT_EQ(changes, 1);
  N->SetText("12");
  N->SetRangeHigh(10);  // "12" now outside: cleared
  EXPECT_EQ(N->GetText(), "");
  N->SetText("8");
  N->SetDecPlaceSep(dpsComma);  // still valid: kept
  EXPECT_EQ(N->GetText(), "8");
  EXPECT_EQ(N->LastValidText(), "8");
}

// ---------------------------------------------------------------- range and decimals

TEST(NumIOSetters, RangeEndsSwapWhenCrossed) {
  ResetHeadlessApplication();
  struct TStep {
    bool Low;
    double Value;
    double ExpLow, ExpHigh;
  };
  const std::vector<TStep> steps = {
      {false, 5, 0, 5},   // a run-time field starts at 0..0
      {true, 10, 5, 10},  // RangeLow above RangeHigh: the old high becomes the low
      {true, 2, 2, 10},   // an ordinary low
      {false, 1, 1, 2},   // RangeHigh below RangeLow: the old low becomes the high
      {true, 2, 2, 2},    // a low equal to the high: an empty-width range
      {false, 7, 2, 7},   {true, NAN, 2, 7},  // NaN changes nothing
      {false, NAN, 2, 7}, {true, -INFINITY, -INFINITY, 7},
  };
  TNumIO n(nullptr);
  for (const TStep& s : steps) {
    if (s.Low)
      n.SetRangeLow(s.Value);
    else
      n.SetRangeHigh(s.Value);
    EXPECT_EQ(n.GetRangeLow(), s.ExpLow) << (s.Low ? "low " : "high ") << s.Value;
    EXPECT_EQ(n.GetRangeHigh(), s.ExpHigh) << (s.Low ? "low " : "high ") << s.Value;
  }
  for (auto [in, out] :
       std::vector<std::pair<int, int>>{{12, 8}, {9, 8}, {0, 1}, {-3, 1}, {5, 5}}) {
    n.SetFixPointDecPlaces(in);
    EXPECT_EQ(n.GetFixPointDecPlaces(), out) << in;
  }
}

TEST(NumIOSetters, DesignedFieldAcceptsEveryNumber) {
  ResetHeadlessApplication();
  TComponent owner(nullptr);
  owner.SetDesigning(true);
  auto* n = new TNumIO(&owner);
  EXPECT_EQ(n->GetRangeLow(), -uc_MaxDouble);
  EXPECT_EQ(n->GetRangeHigh(), uc_MaxDouble);
  TNumIO runtime(nullptr);
  EXPECT_EQ(runtime.GetRangeLow(), 0);
  EXPECT_EQ(runtime.GetRangeHigh(), 0);
}

TEST(NumIOSetters, AssignCopiesNotationAndRangeNotText) {
  ResetHeadlessApplication();
  TNumIO a(nullptr), b(nullptr);
  a.SetInputFormat(itFixPoint);
  a.SetDecPlaceSep(dpsComma);
  a.SetFixPointDecPlaces(3);
  a.SetRangeHigh(50);
  a.SetRangeLow(-50);
  a.SetBeep(true);
  a.SetText("1,5");
  b.SetInputFormat(itInt);
  b.SetText("0");
  b.Assign(&a);
  EXPECT_EQ(b.GetInputFormat(), itFixPoint);
  EXPECT_EQ(b.GetDecPlaceSep(), dpsComma);
  EXPECT_EQ(b.GetFixPointDecPlaces(), 3);
  EXPECT_EQ(b.GetRangeLow(), -50);
  EXPECT_EQ(b.GetRangeHigh(), 50);
  EXPECT_TRUE(b.GetBeep());
  EXPECT_EQ(b.GetText(), "0,000");  // its own text, checked against the copied rules
  TNumIO c(nullptr);
  a.AssignTo(&c);
  EXPECT_EQ(c.GetRangeHigh(), 50);
}

// ---------------------------------------------------------------- SetLabValue / GetLabValue

struct TLabValueCase {
  TInFormat Fmt;
  TDecPSep Sep;
  int Dec;
  double Value;
  const char* Text;
  double ReadBack;
};

TEST(NumIOValue, SetLabValueWritesEachNotationAndReadsBack) {
  ResetHeadlessApplication();
  const TLabValueCase cases[] = {
      {itExp, dpsPoint, 2, 12.5, " 1.25000E+01", 12.5},
      {itExp, dpsPoint, 2, -0.000123456, "-1.23456E-04", -0.000123456},
      {itExp, dpsPoint, 2, 1e150, " 1.00000E+150", 1e150},  // no asterisks: readable
      {itExp, dpsPoint, 2, -2.5e-200, "-2.50000E-200", -2.5e-200},
      {itDynamic, dpsPoint, 2, 0, " 0.00000E+00", 0},
      {itExp, dpsComma, 2, 12.5, " 1,25000E+01", 12.5},
      {itFloat, dpsPoint, 2, 3.14159, "3.14159000", 3.14159},
      {itFloat, dpsComma, 2, -1.5, "-1,50000000", -1.5},
      {itFixPoint, dpsPoint, 3, 2.0, "2.000", 2.0},
      {itFixPoint, dpsPoint, 1, 2.25, "2.3", 2.3},
      {itInt, dpsPoint, 2, 42.0, "42", 42},
      {itInt, dpsPoint, 2, -7.0, "-7", -7},
      {itInt, dpsPoint, 2, 1e12, "2147483647", 2147483647.0},
      {itHex, dpsPoint, 2, 255, "000000FF", 255},
      {itHex, dpsPoint, 2, -1, "FFFFFFFF", -1},
      {itHex, dpsPoint, 2, 2.5, "00000002", 2},  // halves to even
      {itOct, dpsPoint, 2, 15, "00000017", 15},
      {itOct, dpsPoint, 2, -1, "37777777777", -1},
      {itOct, dpsPoint, 2, 16777216, "100000000", 16777216},
      {itBin, dpsPoint, 2, 5, "00000101", 5},
      {itBin, dpsPoint, 2, 1000, "1111101000", 1000},
      {itBin, dpsPoint, 2, -2, "11111111111111111111111111111110", -2},
  };
  for (const TLabValueCase& c : cases) {
    TNumIO n(nullptr);
    n.SetInputFormat(c.Fmt);
    n.SetDecPlaceSep(c.Sep);
    n.SetFixPointDecPlaces(c.Dec);
    n.SetLabValue(c.Value);
    EXPECT_EQ(n.GetText(), c.Text) << int(c.Fmt) << " " << c.Value;
    EXPECT_DOUBLE_EQ(n.GetLabValue(), c.ReadBack) << int(c.Fmt) << " " << c.Value;
  }
  TNumIO n(nullptr);
  n.SetInputFormat(itFloat);
  n.SetLabValue(1.5);
  n.SetLabValue(NAN);  // ignored
  EXPECT_EQ(n.GetText(), "1.50000000");
}

TEST(NumIOValue, GetLabValueReadsWhatTheUserSees) {
  ResetHeadlessApplication();
  struct TCase {
    TInFormat Fmt;
    TDecPSep Sep;
    const char* Text;
    double Value;
  };
  const TCase cases[] = {
      {itFloat, dpsComma, "1,5", 1.5},  // a comma-only field reads its comma
      {itFloat, dpsPoint, "1,5", 1.5},  // the first comma reads as a point
      {itFloat, dpsPoint, "12.", 12},
      {itFloat, dpsBoth, "-", 0},
      {itFloat, dpsBoth, "", 0},
      {itFloat, dpsBoth, "abc", 0},
      {itExp, dpsPoint, "1e", 1},
      {itExp, dpsComma, "2,5E3", 2500},
      {itFixPoint, dpsComma, "3,14", 3.14},
      {itInt, dpsPoint, "-17", -17},
      {itHex, dpsPoint, "FFFFFFFF", -1},
      {itHex, dpsPoint, "7fffffff", 2147483647},
      {itHex, dpsPoint, "80000000", -2147483648.0},
      {itOct, dpsPoint, "37777777777", -1},
      {itBin, dpsPoint, "11111111111111111111111111111111", -1},
      {itDynamic, dpsPoint, "$FFFFFFFE", -2},
      {itDynamic, dpsPoint, "&17", 15},
      {itDynamic, dpsPoint, "%101", 5},
      {itDynamic, dpsPoint, "$", 0},
  };
  for (const TCase& c : cases) {
    TNumIO n(nullptr);
    n.SetInputFormat(c.Fmt);
    n.SetDecPlaceSep(c.Sep);
    n.SetEditText(c.Text);
    EXPECT_DOUBLE_EQ(n.GetLabValue(), c.Value) << c.Text << " in " << int(c.Fmt);
  }
}

// ---------------------------------------------------------------- form files

// Defaults and text read-back are the registry sweep's; this is what the field adds: a fixed-point
// text set as a property takes the field's decimals.
TEST(NumIOForms, FixedPointTextSetAsAPropertyTakesTheDecimals) {
  ResetHeadlessApplication();
  RegisterNumIOClasses();
  TNumIO n(nullptr);
  const TClassInfo& info = GetClassInfo("TNumIO");
  SetPropText(&n, *info.FindProperty("InputFormat"), "itFixPoint");
  SetPropText(&n, *info.FindProperty("RangeHigh"), "10");
  SetPropText(&n, *info.FindProperty("Text"), "2.5");
  EXPECT_EQ(n.GetText(), "2.50");
}

TEST(NumIOForms, TextIsCheckedOnceTheRangeIsReadAndQuietly) {
  ResetHeadlessApplication();
  RegisterNumIOClasses();
  TForm form(nullptr);
  form.SetName("F");
  auto* n = new TNumIO(&form);
  n->SetName("N");
  n->SetParent(&form);
  int changes = 0;
  n->OnChange = [&](TObject*) { ++changes; };
  // The text comes first and the low end lies above the start's high end: neither may get
  // lost, and the form's own text is no change to announce.
  ReadComponentText(&form,
                    "object F: TForm\n"
                    "  object N: TNumIO\n"
                    "    Text = '50'\n"
                    "    InputFormat = itInt\n"
                    "    RangeLow = 10\n"
                    "    RangeHigh = 100\n"
                    "  end\n"
                    "end\n");
  EXPECT_EQ(n->GetRangeLow(), 10);
  EXPECT_EQ(n->GetRangeHigh(), 100);
  EXPECT_EQ(n->GetText(), "50");
  EXPECT_EQ(n->LastValidText(), "50");
  EXPECT_EQ(changes, 0);
  // Written back, it reads the same.
  TComponent owner(nullptr);
  auto* copy = CreateFromText<TNumIO>(WriteComponentText(n), &owner);
  EXPECT_EQ(copy->GetInputFormat(), itInt);
  EXPECT_EQ(copy->GetRangeLow(), 10);
  EXPECT_EQ(copy->GetRangeHigh(), 100);
  EXPECT_EQ(copy->GetText(), "50");
}

}  // namespace
}  // namespace qel

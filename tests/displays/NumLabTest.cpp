// TNumLab: the number text of every display type, the separator and plus-sign steps, the
// overflow indicator with and without the host shortening the text, setter rules, and the
// painted label (box, texts, transparency) probed at its pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "displays/QEL_NumLab.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/DateTime.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using test::PixelAt;

std::string Text(TDisplay Type, double V, int Precision) {
  TNumLab n(nullptr);
  n.SetDisplayType(Type);
  n.SetPrecision(Precision);
  n.SetValue(V);
  return n.NumberText();
}

TEST(NumLabText, FixedPointSeparatorAndPlusSign) {
  TNumLab n(nullptr);
  n.SetValue(1234.5);
  EXPECT_EQ(n.NumberText(), "1234.50");
  n.SetComma(true);
  EXPECT_EQ(n.NumberText(), "1234,50");
  n.SetComma(false);
  n.SetForcePlusSign(true);
  EXPECT_EQ(n.NumberText(), "+1234.50");
  n.SetValue(-1);
  EXPECT_EQ(n.NumberText(), "-1.00");
  n.SetValue(0);
  EXPECT_EQ(n.NumberText(), "0.00");
}

TEST(NumLabText, RuntimeTypesFloatExpInt) {
  EXPECT_EQ(Text(dtInt, 2.5, 2), "2");  // halves to even
  EXPECT_EQ(Text(dtInt, 3.5, 2), "4");
  EXPECT_EQ(Text(dtInt, -2.5, 2), "-2");
  EXPECT_EQ(Text(dtFloat, 0.5, 3), "0.5");
  EXPECT_EQ(Text(dtFloat, 2, 3), "2");
  EXPECT_EQ(Text(dtExp, 1234.5, 3), "1.23E+003");
}

TEST(NumLabText, IntegerBasesAndZeroPadding) {
  EXPECT_EQ(Text(dtHex, 255, 0), "FF");
  EXPECT_EQ(Text(dtHex, 255, 4), "00FF");
  EXPECT_EQ(Text(dtHex, -31, 0), "-1F");
  EXPECT_EQ(Text(dtHex, 10.5, 0), "A");  // rounded halves to even first
  EXPECT_EQ(Text(dtBin, 5, 0), "101");
  EXPECT_EQ(Text(dtBin, 5, 8), "00000101");
  EXPECT_EQ(Text(dtOct, 64, 2), "100");
  EXPECT_EQ(Text(dtOct, 8, 4), "0010");
  EXPECT_EQ(Text(dtZeroInt, 7, 3), "007");
  EXPECT_EQ(Text(dtZeroInt, -7, 3), "-007");
  EXPECT_EQ(Text(dtZeroInt, 1234, 2), "1234");  // Precision is a minimum, never a cut
}

// A text equal to the overflow indicator used to skip the separator and plus-sign steps: an
// ordinary value lost its comma, an overflowed positive value its "+".
TEST(NumLabText, IndicatorLookalikeStillGetsCommaAndPlus) {
  TNumLab n(nullptr);
  n.SetOverflowIndicator("1.50");
  n.SetValue(1.5);
  n.SetComma(true);
  EXPECT_EQ(n.NumberText(), "1,50");
  n.SetComma(false);
  n.SetOverflowIndicator("***");
  n.SetForcePlusSign(true);
  n.SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(n.NumberText(), "+***");
}

TEST(NumLabText, PlusSignOnlyWhereTheTypeTakesIt) {
  TNumLab n(nullptr);
  n.SetForcePlusSign(true);
  n.SetValue(7);
  n.SetPrecision(3);
  n.SetDisplayType(dtZeroInt);
  EXPECT_EQ(n.NumberText(), "+007");
  n.SetDisplayType(dtHex);
  EXPECT_EQ(n.NumberText(), "007");
  n.SetDisplayType(dtBin);
  EXPECT_EQ(n.NumberText(), "111");
  n.SetDisplayType(dtOct);
  EXPECT_EQ(n.NumberText(), "+007");
}

TEST(NumLabText, DateAndState) {
  TNumLab n(nullptr);
  n.SetDisplayType(dtDateTime);
  n.SetValue(EncodeDate(2024, 3, 5));
  EXPECT_EQ(n.NumberText(), "Mar-05, 2024");
  n.SetDTFormat("yyyy-mm-dd");
  n.SetComma(true);  // the date keeps its own separators
  n.SetDTFormat("dd.mm.yyyy");
  EXPECT_EQ(n.NumberText(), "05.03.2024");
  n.SetValue(1e12);  // beyond the calendar
  EXPECT_EQ(n.NumberText(), "*********");

  n.SetDisplayType(dtState);
  EXPECT_EQ(n.NumberText(), "undefined");
  n.SetStateText("valve open");
  n.SetValue(std::numeric_limits<double>::infinity());
  EXPECT_EQ(n.NumberText(), "valve open");
}

TEST(NumLabText, DegreesMinutesSeconds) {
  EXPECT_EQ(Text(dtDeg, 12.5, 2), "12.50\xC2\xB0");
  EXPECT_EQ(Text(dtDegMin, 12.5, 1),
            "12\xC2\xB0"
            "30.0'");
  EXPECT_EQ(Text(dtDegMin, 3.0 + 5.0 / 60, 0),
            "3\xC2\xB0"
            "05'");
  // 12 deg 30 min 15.3 s.
  EXPECT_EQ(Text(dtDegMinSec, 12 + 30.0 / 60 + 15.3 / 3600, 1),
            "12\xC2\xB0"
            "30'15.3\"");
  // Rounding carries into minutes and degrees instead of showing 60.
  EXPECT_EQ(Text(dtDegMinSec, 12.9999999, 0),
            "13\xC2\xB0"
            "00'00\"");
  EXPECT_EQ(Text(dtDegMin, 1.99999, 1),
            "2\xC2\xB0"
            "00.0'");
  EXPECT_EQ(Text(dtDeg, -0.5, 1), "-0.5\xC2\xB0");
  EXPECT_EQ(Text(dtDeg, -0.01, 0), "0\xC2\xB0");  // no minus on a rounded zero
  TNumLab n(nullptr);
  n.SetDisplayType(dtDeg);
  n.SetComma(true);
  n.SetValue(1.25);
  EXPECT_EQ(n.NumberText(), "1,25\xC2\xB0");
}

TEST(NumLabText, EngineeringNotation) {
  EXPECT_EQ(Text(dtEEng, 12345, 3), "12.3E+003");
  EXPECT_EQ(Text(dtEEng, 0.00012345, 3), "123E-006");
  EXPECT_EQ(Text(dtEEng, 999.96, 3), "1.00E+003");  // the rounding carry moves the exponent
  EXPECT_EQ(Text(dtEEng, 0, 3), "0.00E+000");
  EXPECT_EQ(Text(dtEEng, -1500, 2), "-1.5E+003");
  EXPECT_EQ(Text(dtEEng, 4.7e-9, 0), "5E-009");  // Precision 0 keeps one digit
  EXPECT_EQ(Text(dtEEngNoDP, 12345, 3), "12300E+000");
  EXPECT_EQ(Text(dtEEngNoDP, 0.0012345, 3), "1230E-006");
  EXPECT_EQ(Text(dtEEngNoDP, 123000, 3), "123E+003");
  EXPECT_EQ(Text(dtEEngNoDP, 0, 2), "0E+000");
}

TEST(NumLabText, ValuesBeyondTheTypeShowTheIndicator) {
  EXPECT_EQ(Text(dtInt, 1e19, 0), "*********");
  EXPECT_EQ(Text(dtInt, -9.3e18, 0), "*********");
  EXPECT_EQ(Text(dtInt, 9.2e18, 0), "9200000000000000000");
  EXPECT_EQ(Text(dtHex, 1e30, 0), "*********");
  EXPECT_EQ(Text(dtFixP, std::numeric_limits<double>::infinity(), 2), "*********");
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (int t = dtFloat; t <= dtEEngNoDP; ++t)
    if (t != dtState) {
      EXPECT_EQ(NumLabFormat(TDisplay(t), nan, 2, "yyyy", "s", "ovf"), "ovf") << t;
    }
}

TEST(NumLabSetters, RangesAndNaN) {
  TNumLab n(nullptr);
  n.SetPrecision(-1);
  EXPECT_EQ(n.GetPrecision(), 2);
  n.SetPrecision(40);
  EXPECT_EQ(n.GetPrecision(), 15);
  n.SetValue(3);
  n.SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(n.GetValue(), 3);
  n.SetLeftSpace(-5);
  EXPECT_EQ(n.GetLeftSpace(), 35);
  n.SetLeftSpace(1000);
  EXPECT_EQ(n.GetLeftSpace(), 160);
  n.SetColorScheme(csSystem);
  EXPECT_EQ(n.GetFrameShadow(), clBtnShadow);
  EXPECT_EQ(n.GetFrameHighlight(), clBtnHighlight);
}

TEST(NumLabSetters, AssignCopiesTheListedValues) {
  TNumLab a(nullptr), b(nullptr);
  a.SetValue(42);
  a.SetDisplayType(dtHex);
  a.SetLeftText("U");
  a.SetColorScheme(csSystem);
  a.SetOverflowIndicator("#");
  a.SetLabelWidth(50);
  b.Assign(&a);
  EXPECT_EQ(b.NumberText(), "2A");
  EXPECT_EQ(b.GetLeftText(), "U");
  EXPECT_EQ(b.GetFrameShadow(), clBtnShadow);
  EXPECT_EQ(b.GetOverflowIndicator(), "#");
  EXPECT_EQ(b.GetLabelWidth(), 50);
}

TEST(NumLabOverflow, WidthAndTheHostsShorterText) {
  TNumLab n(nullptr);
  TBitmap b(160, 28);
  b.Canvas()->Font()->Assign(n.GetFont());
  n.SetValue(123456789.25);
  n.SetLabelWidth(30);
  EXPECT_GT(b.Canvas()->TextWidth(n.NumberText()), 24);
  EXPECT_EQ(n.DisplayedText(b.Canvas()), "*********");
  std::string seen;
  n.OnBeforeDisplay = [&](TObject* Sender, std::string& Text) {
    EXPECT_EQ(Sender, &n);
    seen = Text;
    Text = "1M";
  };
  EXPECT_EQ(n.DisplayedText(b.Canvas()), "1M");
  EXPECT_EQ(seen, "123456789.25");
  // A handler that lengthens the text gets the indicator; a state text never does.
  n.OnBeforeDisplay = [](TObject*, std::string& Text) { Text += " plus a long unit"; };
  n.SetValue(1);
  EXPECT_EQ(n.DisplayedText(b.Canvas()), "*********");
  n.SetDisplayType(dtState);
  n.SetStateText("a state much wider than the box");
  EXPECT_EQ(n.DisplayedText(b.Canvas()), "a state much wider than the box plus a long unit");
  n.SetEmpty(true);
  EXPECT_EQ(n.DisplayedText(b.Canvas()), "");
}

// Paints the label on a magenta bitmap.
std::unique_ptr<TBitmap> Render(TNumLab& N) {
  auto b = std::make_unique<TBitmap>(N.GetWidth(), N.GetHeight());
  test::FillBitmap(*b, 0xFF00FF);
  N.PaintTo(b.get());
  return b;
}

TEST(NumLabPaint, BoxFrameTextsAndNumber) {
  TNumLab n(nullptr);
  n.GetFont()->SetQuality(fqNonAntialiased);  // pure colours to count
  n.SetColorLabBakG(clYellow);
  n.SetColorOutBakG(clAqua);
  n.SetValue(8);
  n.SetLeftText("U");
  n.SetRightText("V");
  auto b = Render(n);
  const TRect box = n.LabelBoxRect();  // 36..115 x 0..26, lowered bevel
  EXPECT_EQ(PixelAt(*b, 5, 5), clAqua);
  EXPECT_EQ(PixelAt(*b, 159, 27), clAqua);
  EXPECT_EQ(PixelAt(*b, box.Left, 10), clGray);        // shaded outer edge
  EXPECT_EQ(PixelAt(*b, box.Right - 1, 10), clWhite);  // lit outer edge
  EXPECT_EQ(PixelAt(*b, box.Left + 4, 5), clYellow);
  EXPECT_EQ(PixelAt(*b, 100, 27), clAqua);  // the box ends above the last two rows
  // Number, left and right text in black, each in its own area.
  EXPECT_GT(test::CountPixels(*b, Rect(box.Left + 3, 2, box.Right - 2, 25), clBlack), 5);
  EXPECT_GT(test::CountPixels(*b, Rect(0, 0, 35, 28), clBlack), 3);
  EXPECT_GT(test::CountPixels(*b, Rect(box.Right + 1, 0, 160, 28), clBlack), 3);
  // Empty: frame and texts, no number.
  n.SetEmpty(true);
  b = Render(n);
  EXPECT_EQ(test::CountPixels(*b, Rect(box.Left + 3, 2, box.Right - 2, 25), clBlack), 0);
}

TEST(NumLabPaint, AlignmentMovesTheNumber) {
  TNumLab n(nullptr);
  n.SetValue(1);
  n.SetAlignment(taLeftJustify);
  TRect ink = test::InkBounds(*Render(n), n.NumberClipRect(), ColorToRGB(clBtnFace));
  EXPECT_LE(ink.Left, 35 + 5);
  n.SetAlignment(taRightJustify);
  ink = test::InkBounds(*Render(n), n.NumberClipRect(), ColorToRGB(clBtnFace));
  EXPECT_GE(ink.Right, 35 + 80 - 4);
}

class NumLabOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 200, 60);
    Form->SetColor(clLime);
    N = new TNumLab(Form);
    N->GetFont()->SetQuality(fqNonAntialiased);
    N->SetParent(Form);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete Form;
    ResetHeadlessApplication();
  }
  TColor At(int X, int Y) { return PixelAt(*Form->Surface(), X, Y); }
  TForm* Form = nullptr;
  TNumLab* N = nullptr;
};

TEST_F(NumLabOnForm, TransparentLetsTheParentShowOutsideTheBox) {
  EXPECT_EQ(At(5, 5), ColorToRGB(clBtnFace));
  N->SetColorLabBakG(clYellow);
  N->SetTransparent(true);
  Application->ProcessMessages();
  EXPECT_EQ(At(5, 5), clLime);     // the white background ANDs away
  EXPECT_EQ(At(45, 5), clYellow);  // the box is filled, then ANDed with itself
  N->SetTransparent(false);
  Application->ProcessMessages();
  EXPECT_EQ(At(5, 5), ColorToRGB(clBtnFace));
}

TEST_F(NumLabOnForm, DisabledTextIsEmbossed) {
  N->SetLeftText("W");
  Application->ProcessMessages();
  EXPECT_EQ(test::CountPixels(*Form->Surface(), Rect(0, 0, 35, 28), clGray), 0);
  N->SetEnabled(false);
  Application->ProcessMessages();
  EXPECT_GT(test::CountPixels(*Form->Surface(), Rect(0, 0, 35, 28), clGray), 3);
  EXPECT_GT(test::CountPixels(*Form->Surface(), Rect(0, 0, 35, 28), clWhite), 3);
}

}  // namespace
}  // namespace qel

// TColorButton: the lighting under the pointer, the colour picked through the modal dialog
// hook (kept when the pointer leaves), the readable caption colour, the dialog going away, and
// one golden sheet.
#include <gtest/gtest.h>

#include "frame/QEL_qelcolors.h"
#include "platform/controls/Properties.h"
#include "selectors/QEL_Colbut.h"
#include "tests/platform/widgets/WidgetFixture.h"
#include "tests/selectors/ColSelDialogScript.h"

namespace qel::test {
namespace {

TEST(ColorButtonLight, LuminanceRises) {
  const struct {
    double L, Lit;
  } cases[] = {{0.0, 0.2}, {0.2, 0.4}, {0.3, 0.5}, {0.4, 0.7}, {0.6, 0.8}, {1.0, 1.0}};
  for (const auto& c : cases) EXPECT_NEAR(LitLuminance(c.L), c.Lit, 1e-12) << c.L;
}

class ColorButtonOnForm : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Dialog = new TColorDialog(Form);
    Button = new TColorButton(Form);
    Button->SetParent(Form);
    Button->SetBounds(20, 20, 120, 40);
    Button->SetColor(RGB(40, 60, 120));
    Button->SetColorDialog(Dialog);
    ShowForm();
  }
  void Enter() { Input().MouseMove(60, 40); }
  void Leave() { Input().MouseMove(300, 200); }
  // Runs a click with the dialog answered by picking basic colour Index (or cancelling).
  void ClickAndAnswer(int Index, bool Ok) {
    Application->OnModalShow = [this, Index, Ok](TForm* F) {
      Preset = Dialog->GetColor();
      PickBasicColour(F, Index, Ok);
    };
    Input().Click(60, 40);
  }
  TColorDialog* Dialog = nullptr;
  TColorButton* Button = nullptr;
  TColor Preset = 0;
};

TEST_F(ColorButtonOnForm, PointerLightsTheColourAndLeavingRestoresIt) {
  const TColor base = Button->GetColor();
  double h, s, l;
  ColorToHSL(base, h, s, l);
  Enter();
  EXPECT_EQ(Button->GetColor(), HSLtoColor(h, s, LitLuminance(l)));
  EXPECT_EQ(Button->BaseColor(), base);
  Enter();  // a second move inside changes nothing
  EXPECT_EQ(Button->GetColor(), HSLtoColor(h, s, LitLuminance(l)));
  Leave();
  EXPECT_EQ(Button->GetColor(), base);
  // A colour the host sets while the pointer is over the button stays when it leaves.
  Enter();
  Button->SetColor(clOlive);
  Leave();
  EXPECT_EQ(Button->GetColor(), clOlive);
}

TEST_F(ColorButtonOnForm, APickedColourIsKeptAndTheCaptionStaysReadable) {
  int changes = 0;
  Button->OnChange = [&](TObject*) { ++changes; };
  const TColor base = Button->GetColor();
  ClickAndAnswer(3, false);  // cancelled
  EXPECT_EQ(Preset, base);   // the dialog starts from the colour, not its lit look
  EXPECT_EQ(changes, 0);
  Leave();
  EXPECT_EQ(Button->GetColor(), base);

  for (int swatch : {0, 7, 40, 47}) {
    SCOPED_TRACE(swatch);
    const TColor picked = TColorDialog::BasicColors()[swatch];
    ClickAndAnswer(swatch, true);
    EXPECT_EQ(Button->GetColor(), picked);
    EXPECT_EQ(Button->GetFont()->GetColor(), ColorToGray(picked) <= 96 ? clWhite : clBlack);
    Leave();
    EXPECT_EQ(Button->GetColor(), picked);
  }
  EXPECT_EQ(changes, 4);
}

TEST_F(ColorButtonOnForm, ADestroyedDialogIsForgotten) {
  delete Dialog;
  EXPECT_EQ(Button->GetColorDialog(), nullptr);
  int shown = 0;
  Application->OnModalShow = [&](TForm*) { ++shown; };
  Input().Click(60, 40);
  EXPECT_EQ(shown, 0);
}

TEST_F(ColorButtonOnForm, RegisteredWithItsDialogReference) {
  RegisterColorButtonClasses();
  const TClassInfo* info = FindClassInfo("TColorButton");
  ASSERT_NE(info, nullptr);
  TColorButton fresh(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&fresh)) continue;
    EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name;
  }
  Dialog->SetName("Dlg");
  EXPECT_EQ(GetPropText(Button, *info->FindProperty("ColorDialog")), "Dlg");
  // The published colour is the button's own, not its lit look.
  Enter();
  EXPECT_NE(Button->GetColor(), RGB(40, 60, 120));
  EXPECT_EQ(GetPropText(Button, *info->FindProperty("Color")), ColorToString(RGB(40, 60, 120)));
}

TEST_F(ColorButtonOnForm, GoldenSheet) {
  Button->SetCaption("Lit");
  auto add = [&](int Left, TColor C, const char* Caption) {
    auto* b = new TColorButton(Form);
    b->SetParent(Form);
    b->SetBounds(Left, 80, 90, 40);
    b->SetColor(C);
    b->SetCaption(Caption);
    return b;
  };
  add(10, clBtnFace, "Face");
  add(110, clNavy, "Navy")->GetFont()->SetColor(clWhite);
  add(210, clYellow, "Yellow")->SetBevelOuter(bvLowered);
  Enter();
  ExpectMatchesGolden(Surface(), "selectors_colorbutton", 200);
}

}  // namespace
}  // namespace qel::test

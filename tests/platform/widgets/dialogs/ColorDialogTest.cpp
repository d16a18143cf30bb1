// The colour dialog scripted through the modal hook: swatches, typed RGB and HSL values, the
// custom colours, the options, the keys; and the hue/saturation/luminance conversion.
#include <gtest/gtest.h>

#include <functional>

#include "platform/controls/Properties.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/ExtCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

template <class T>
T* Find(TForm* F, const std::string& Name) {
  auto* c = dynamic_cast<T*>(F->FindComponent(Name));
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

class ColorDialogTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Dialog = new TColorDialog(Form);
  }
  // Runs the dialog with Script filling in its form.
  bool Run(std::function<void(TForm*, THeadlessInput&)> Script) {
    Application->OnModalShow = [Script](TForm* F) {
      THeadlessInput in(F);
      Script(F, in);
    };
    return Dialog->Execute();
  }
  static void ClickCell(TForm* F, THeadlessInput& In, const std::string& Grid, int Index) {
    auto* g = Find<TColorSwatchGrid>(F, Grid);
    TRect r = g->CellRect(Index);
    TPoint p = g->ClientToParent({r.Left + r.Width() / 2, r.Top + r.Height() / 2}, F);
    Application->AdvanceTime(1000);
    In.Click(p.X, p.Y);
  }
  static void Type(TForm* F, THeadlessInput& In, const std::string& Edit, const std::string& Text) {
    Find<TWinControl>(F, Edit)->SetFocus();
    In.PressKey('A', {ssCtrl});  // select all, then type over it
    In.TypeText(Text);
  }
  static std::string EditText(TForm* F, const std::string& Name) {
    return Find<TControl>(F, Name)->GetText();
  }
  TColorDialog* Dialog = nullptr;
};

TEST_F(ColorDialogTest, OkWithAPickedSwatchStoresItsColour) {
  Dialog->SetColor(clRed);
  bool shown = false, closed = false;
  Dialog->OnShow = [&](TObject* S) {
    EXPECT_EQ(S, Dialog);
    EXPECT_NE(Dialog->Form(), nullptr);
    shown = true;
  };
  Dialog->OnClose = [&](TObject*) { closed = true; };
  TColor picked = TColorDialog::BasicColors()[13];
  bool ok = Run([&](TForm* F, THeadlessInput& In) {
    EXPECT_EQ(F->GetCaption(), "Color");
    EXPECT_EQ(F->GetBorderStyle(), bsDialog);
    EXPECT_EQ(F->GetOwner(), Dialog);
    // The preset is selected among the basic colours and the grid has the focus.
    auto* basic = Find<TColorSwatchGrid>(F, "BasicColors");
    EXPECT_EQ(basic->GetCellColor(basic->GetItemIndex()), clRed);
    EXPECT_TRUE(basic->Focused());
    ClickCell(F, In, "BasicColors", 13);
    EXPECT_EQ(basic->GetItemIndex(), 13);
    EXPECT_EQ(EditText(F, "RedEdit"), std::to_string(GetRValue(picked)));
    Find<TButton>(F, "OKButton")->Click();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), picked);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(closed);
  // The form belongs to one run only.
  EXPECT_EQ(Dialog->Form(), nullptr);
  EXPECT_EQ(Dialog->ComponentCount(), 0);
}

TEST_F(ColorDialogTest, CancelEscapeAndClosingLeaveTheColour) {
  Dialog->SetColor(clBlue);
  EXPECT_FALSE(Run([](TForm* F, THeadlessInput& In) {
    ClickCell(F, In, "BasicColors", 0);
    Find<TButton>(F, "CancelButton")->Click();
  }));
  EXPECT_EQ(Dialog->GetColor(), clBlue);
  EXPECT_FALSE(Run([](TForm* F, THeadlessInput& In) {
    ClickCell(F, In, "BasicColors", 0);
    In.PressKey(VK_ESCAPE);
  }));
  EXPECT_FALSE(Run([](TForm* F, THeadlessInput& In) {
    ClickCell(F, In, "BasicColors", 0);
    F->NativeCloseRequest();
  }));
  // A hook that sets nothing: the run ends cancelled.
  EXPECT_FALSE(Run([](TForm*, THeadlessInput&) {}));
  EXPECT_EQ(Dialog->GetColor(), clBlue);
}

TEST_F(ColorDialogTest, TypedRgbUpdatesHslAndEnterConfirms) {
  Dialog->SetOptions({cdFullOpen});
  bool ok = Run([](TForm* F, THeadlessInput& In) {
    Type(F, In, "RedEdit", "12");
    Type(F, In, "GreenEdit", "200");
    Type(F, In, "BlueEdit", "99");
    THueSatLum h = ColorToHueSatLum(RGB(12, 200, 99));
    EXPECT_EQ(EditText(F, "HueEdit"), std::to_string(h.Hue));
    EXPECT_EQ(EditText(F, "SatEdit"), std::to_string(h.Sat));
    EXPECT_EQ(EditText(F, "LumEdit"), std::to_string(h.Lum));
    auto* field = Find<THueSatField>(F, "ColorField");
    EXPECT_EQ(field->GetHue(), h.Hue);
    EXPECT_EQ(field->GetSat(), h.Sat);
    EXPECT_EQ(Find<TLumBar>(F, "LumBar")->GetLum(), h.Lum);
    EXPECT_EQ(Find<TColorPreview>(F, "ColorPreview")->GetSwatchColor(), RGB(12, 200, 99));
    In.PressKey(VK_RETURN);  // from within an edit: the default button
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), RGB(12, 200, 99));
}

TEST_F(ColorDialogTest, TypedHslUpdatesRgbAndKeepsHueThroughBlack) {
  Dialog->SetOptions({cdFullOpen});
  bool ok = Run([](TForm* F, THeadlessInput& In) {
    Type(F, In, "HueEdit", "80");
    Type(F, In, "SatEdit", "240");
    Type(F, In, "LumEdit", "60");
    EXPECT_EQ(EditText(F, "RedEdit"), "0");
    EXPECT_EQ(EditText(F, "GreenEdit"), "128");
    EXPECT_EQ(EditText(F, "BlueEdit"), "0");
    // Down to black and back: the hue and saturation typed are still there.
    Type(F, In, "LumEdit", "0");
    EXPECT_EQ(EditText(F, "GreenEdit"), "0");
    EXPECT_EQ(EditText(F, "HueEdit"), "80");
    Type(F, In, "LumEdit", "120");
    EXPECT_EQ(EditText(F, "GreenEdit"), "255");
    Find<TButton>(F, "OKButton")->Click();
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), clLime);
}

TEST_F(ColorDialogTest, EditsTakeDigitsOnlyAndClamp) {
  Dialog->SetOptions({cdFullOpen});
  Run([](TForm* F, THeadlessInput& In) {
    Type(F, In, "RedEdit", "3x0");
    EXPECT_EQ(EditText(F, "RedEdit"), "30");
    EXPECT_FALSE(HeadlessBackend()->Beeps.empty());  // the refused letter beeps
    In.TypeText("0");
    EXPECT_EQ(EditText(F, "RedEdit"), "255");  // 300 is beyond the range
    Type(F, In, "HueEdit", "250");
    EXPECT_EQ(EditText(F, "HueEdit"), "239");
    Type(F, In, "SatEdit", "999");
    EXPECT_EQ(EditText(F, "SatEdit"), "240");
    // Pasted text keeps its digits only.
    Clipboard()->SetAsText("1a2");
    Find<TWinControl>(F, "GreenEdit")->SetFocus();
    In.PressKey('A', {ssCtrl});
    In.PressKey('V', {ssCtrl});
    EXPECT_EQ(EditText(F, "GreenEdit"), "12");
    // Emptied and left, an edit reads 0.
    Type(F, In, "BlueEdit", "");
    In.PressKey(VK_BACK);
    In.PressKey(VK_TAB);
    EXPECT_EQ(EditText(F, "BlueEdit"), "0");
  });
}

TEST_F(ColorDialogTest, FieldAndBarFollowTheMouse) {
  Dialog->SetOptions({cdFullOpen});
  Dialog->SetColor(clGray);
  bool ok = Run([](TForm* F, THeadlessInput& In) {
    auto* field = Find<THueSatField>(F, "ColorField");
    auto* bar = Find<TLumBar>(F, "LumBar");
    // The top-left corner of the field is hue 0 at full saturation.
    TPoint p = field->ClientToParent(field->PointOf(0, 240), F);
    In.Click(p.X, p.Y);
    EXPECT_EQ(field->GetHue(), 0);
    EXPECT_EQ(field->GetSat(), 240);
    EXPECT_EQ(EditText(F, "HueEdit"), "0");
    EXPECT_EQ(EditText(F, "SatEdit"), "240");
    // The luminance bar at its middle: red, lit as the pixel there says (the bar has fewer
    // pixels than luminance steps).
    int y = bar->PointerY(120);
    TPoint q = bar->ClientToParent({5, y}, F);
    Application->AdvanceTime(1000);
    In.Click(q.X, q.Y);
    int lum = bar->LumAt(y);
    EXPECT_NEAR(lum, 120, 1);
    EXPECT_EQ(bar->GetLum(), lum);
    EXPECT_EQ(EditText(F, "LumEdit"), std::to_string(lum));
    TColor red = HueSatLumToColor(0, 240, lum);
    EXPECT_EQ(EditText(F, "RedEdit"), std::to_string(GetRValue(red)));
    EXPECT_EQ(EditText(F, "GreenEdit"), std::to_string(GetGValue(red)));
    // Dragging past the field's edge clamps.
    TPoint from = field->ClientToParent(field->PointOf(100, 100), F);
    Application->AdvanceTime(1000);
    In.Drag(from, {from.X + 400, from.Y + 400});
    EXPECT_EQ(field->GetHue(), 239);
    EXPECT_EQ(field->GetSat(), 0);
    // Arrow keys step the focused field and bar.
    field->SetFocus();
    In.PressKey(VK_LEFT);
    In.PressKey(VK_UP);
    EXPECT_EQ(field->GetHue(), 238);
    EXPECT_EQ(field->GetSat(), 1);
    bar->SetFocus();
    In.PressKey(VK_DOWN, {ssCtrl});
    EXPECT_EQ(bar->GetLum(), lum - 10);
    In.PressKey(VK_HOME);
    EXPECT_EQ(EditText(F, "LumEdit"), "240");
    F->SetModalResult(mrOk);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), clWhite);
}

TEST_F(ColorDialogTest, CustomColoursAreAddedAndWrittenBack) {
  Dialog->GetCustomColors()->Add("ColorA=0000FF");  // red: the value's hex digits, blue first
  Dialog->GetCustomColors()->Add("ColorC=$123456");
  Dialog->GetCustomColors()->Add("Other=kept");
  Dialog->SetColor(static_cast<TColor>(0x123456));
  bool ok = Run([](TForm* F, THeadlessInput& In) {
    auto* custom = Find<TColorSwatchGrid>(F, "CustomColors");
    EXPECT_EQ(custom->GetCellColor(0), clRed);
    EXPECT_EQ(custom->GetCellColor(1), clWhite);
    // The preset colour is a custom one here: that swatch is selected.
    EXPECT_EQ(custom->GetItemIndex(), 2);
    EXPECT_FALSE(Find<TButton>(F, "AddButton")->GetVisible());
    // Open the right half with its accelerator and add two colours.
    In.PressKey('D', {ssAlt});
    EXPECT_TRUE(Find<TButton>(F, "AddButton")->GetVisible());
    ClickCell(F, In, "CustomColors", 5);  // the slot to fill
    Type(F, In, "RedEdit", "1");
    Type(F, In, "GreenEdit", "2");
    Type(F, In, "BlueEdit", "3");
    Find<TButton>(F, "AddButton")->Click();
    EXPECT_EQ(custom->GetCellColor(5), RGB(1, 2, 3));
    EXPECT_EQ(custom->GetItemIndex(), 6);  // the next addition goes on
    Type(F, In, "BlueEdit", "4");
    In.PressKey('A', {ssAlt});
    EXPECT_EQ(custom->GetCellColor(6), RGB(1, 2, 4));
    F->SetModalResult(mrOk);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), RGB(1, 2, 4));
  TStrings* cc = Dialog->GetCustomColors();
  EXPECT_EQ(cc->GetValue("ColorA"), "0000FF");
  EXPECT_EQ(cc->GetValue("ColorC"), "123456");
  EXPECT_EQ(cc->GetValue("ColorF"), "030201");
  EXPECT_EQ(cc->GetValue("ColorG"), "040201");
  EXPECT_EQ(cc->GetValue("ColorP"), "FFFFFF");
  EXPECT_EQ(cc->GetValue("Other"), "kept");
  // Kept on cancel too: the palette is the user's, the choice is not.
  EXPECT_FALSE(Run([](TForm* F, THeadlessInput&) {
    Find<TColorSwatchGrid>(F, "CustomColors")->SetCellColor(15, clNavy);
    F->Close();
  }));
  EXPECT_EQ(cc->GetValue("ColorP"), "800000");
  EXPECT_EQ(Dialog->GetColor(), RGB(1, 2, 4));
}

TEST_F(ColorDialogTest, BadCustomColourTextIsReportedBeforeShowing) {
  Dialog->GetCustomColors()->Add("ColorB=12G456");
  bool hookRan = false;
  try {
    Run([&](TForm*, THeadlessInput&) { hookRan = true; });
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message, "Invalid custom color ColorB = '12G456'");
  }
  EXPECT_FALSE(hookRan);
  EXPECT_EQ(Dialog->Form(), nullptr);
  EXPECT_EQ(Application->ModalForm(), nullptr);
}

TEST_F(ColorDialogTest, OptionsChooseTheStartingShape) {
  auto widthWith = [this](TColorDialogOptions O, bool& DefineEnabled) {
    Dialog->SetOptions(O);
    int w = 0;
    Run([&](TForm* F, THeadlessInput&) {
      w = F->ClientWidth();
      DefineEnabled = Find<TButton>(F, "DefineButton")->GetEnabled();
    });
    return w;
  };
  bool define = false;
  int compact = widthWith({}, define);
  EXPECT_TRUE(define);
  int full = widthWith({cdFullOpen}, define);
  EXPECT_GT(full, compact);
  EXPECT_FALSE(define);  // already open
  EXPECT_EQ(widthWith({cdPreventFullOpen}, define), compact);
  EXPECT_FALSE(define);
  // Preventing wins over opening; help and the colour kinds change nothing here.
  EXPECT_EQ(widthWith({cdFullOpen, cdPreventFullOpen}, define), compact);
  EXPECT_EQ(widthWith({cdShowHelp, cdSolidColor, cdAnyColor}, define), compact);
  EXPECT_TRUE(define);
}

TEST_F(ColorDialogTest, KeyboardMovesBetweenSwatchesAndControls) {
  Dialog->SetColor(TColorDialog::BasicColors()[9]);
  bool ok = Run([](TForm* F, THeadlessInput& In) {
    auto* basic = Find<TColorSwatchGrid>(F, "BasicColors");
    ASSERT_EQ(basic->GetItemIndex(), 9);
    In.PressKey(VK_RIGHT);
    EXPECT_EQ(basic->GetItemIndex(), 10);
    In.PressKey(VK_DOWN);
    EXPECT_EQ(basic->GetItemIndex(), 18);
    In.PressKey(VK_UP);
    In.PressKey(VK_UP);
    In.PressKey(VK_UP);  // stays in the top row
    EXPECT_EQ(basic->GetItemIndex(), 2);
    In.PressKey(VK_END);
    EXPECT_EQ(basic->GetItemIndex(), 47);
    In.PressKey(VK_RIGHT);  // stays at the end
    EXPECT_EQ(basic->GetItemIndex(), 47);
    // Tab goes on to the custom colours, then the buttons.
    In.PressKey(VK_TAB);
    EXPECT_TRUE(Find<TWinControl>(F, "CustomColors")->Focused());
    In.PressKey(VK_SPACE);  // picks the first custom colour (white)
    EXPECT_EQ(basic->GetItemIndex(), -1);
    In.PressKey(VK_TAB);
    EXPECT_TRUE(Find<TWinControl>(F, "DefineButton")->Focused());
    // A letter alone is an accelerator where the focus takes no characters.
    In.PressKey('B');
    EXPECT_TRUE(basic->Focused());
    EXPECT_EQ(basic->GetItemIndex(), -1);  // the custom choice took the selection
    In.PressKey(VK_RIGHT);                 // so the arrows start at the first swatch
    EXPECT_EQ(basic->GetItemIndex(), 0);
    In.PressKey(VK_RIGHT);
    In.PressKey(VK_RETURN);
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(Dialog->GetColor(), TColorDialog::BasicColors()[1]);
}

TEST_F(ColorDialogTest, RunningTwiceAtOnceIsRefused) {
  bool refused = false;
  Run([&](TForm* F, THeadlessInput&) {
    try {
      Dialog->Execute();
    } catch (const EInvalidOperation& E) {
      refused = E.Message == "Dialog is already running";
    }
    F->SetModalResult(mrOk);
  });
  EXPECT_TRUE(refused);
}

TEST_F(ColorDialogTest, DestroyingTheOwnerTakesTheDialog) {
  // The colour button pattern: a host owns a dialog, presets it, runs it, reads it.
  auto* host = new TPanel(Form);
  auto* dlg = new TColorDialog(host);
  dlg->SetColor(clYellow);
  Application->OnModalShow = [](TForm* F) { F->SetModalResult(mrOk); };
  EXPECT_TRUE(dlg->Execute());
  EXPECT_EQ(dlg->GetColor(), clYellow);
  delete host;  // takes the dialog with it (ASan checks)
}

TEST_F(ColorDialogTest, RegisteredWithItsProperties) {
  RegisterDialogClasses();
  RegisterDialogClasses();  // idempotent
  const TClassInfo& ci = GetClassInfo("TColorDialog");
  auto* d = dynamic_cast<TColorDialog*>(ci.Create(Form));
  ASSERT_NE(d, nullptr);
  SetPropText(d, *ci.FindProperty("Color"), "clRed");
  SetPropText(d, *ci.FindProperty("Options"), "[cdFullOpen,cdSolidColor]");
  EXPECT_EQ(d->GetColor(), clRed);
  EXPECT_EQ(d->GetOptions(), (TColorDialogOptions{cdFullOpen, cdSolidColor}));
  EXPECT_NE(ci.FindProperty("CustomColors"), nullptr);
  const TClassInfo& bi = GetClassInfo("TButton");
  auto* b = dynamic_cast<TButton*>(bi.Create(Form));
  ASSERT_NE(b, nullptr);
  SetPropText(b, *bi.FindProperty("ModalResult"), "1");
  SetPropText(b, *bi.FindProperty("Default"), "True");
  SetPropText(b, *bi.FindProperty("Cancel"), "True");
  EXPECT_EQ(b->GetModalResult(), mrOk);
  EXPECT_TRUE(b->GetDefault());
  EXPECT_TRUE(b->GetCancel());
  EXPECT_TRUE(bi.FindProperty("TabStop")->IsDefault(b));
}

TEST_F(ColorDialogTest, LooksOfTheForm) {
  Dialog->SetColor(TColorDialog::BasicColors()[18]);
  Dialog->GetCustomColors()->Add("ColorA=4080C0");
  Run([](TForm* F, THeadlessInput&) {
    Application->ProcessMessages();
    ExpectMatchesGolden(*F->Surface(), "dialogs_color_compact");
  });
  // Open, with a custom colour chosen: the cross-hair and the pointer stand inside.
  Dialog->SetOptions({cdFullOpen});
  Dialog->SetColor(static_cast<TColor>(0x4080C0));
  Run([](TForm* F, THeadlessInput&) {
    Application->ProcessMessages();
    ExpectMatchesGolden(*F->Surface(), "dialogs_color_full");
  });
}

// ---------------------------------------------------------------- conversion

TEST(HueSatLumTest, KnownValues) {
  EXPECT_EQ(ColorToHueSatLum(clRed), (THueSatLum{0, 240, 120}));
  EXPECT_EQ(ColorToHueSatLum(clLime), (THueSatLum{80, 240, 120}));
  EXPECT_EQ(ColorToHueSatLum(clBlue), (THueSatLum{160, 240, 120}));
  EXPECT_EQ(ColorToHueSatLum(clYellow), (THueSatLum{40, 240, 120}));
  EXPECT_EQ(ColorToHueSatLum(clWhite), (THueSatLum{160, 0, 240}));
  EXPECT_EQ(ColorToHueSatLum(clBlack), (THueSatLum{160, 0, 0}));
  EXPECT_EQ(HueSatLumToColor(0, 240, 120), clRed);
  EXPECT_EQ(HueSatLumToColor(120, 240, 120), clAqua);
  EXPECT_EQ(HueSatLumToColor(200, 240, 120), clFuchsia);
  EXPECT_EQ(HueSatLumToColor(0, 240, 60), clMaroon);
  EXPECT_EQ(HueSatLumToColor(123, 0, 240), clWhite);  // no saturation: grey whatever the hue
  // Out-of-range input clamps, hue wraps.
  EXPECT_EQ(HueSatLumToColor(240, 240, 120), clRed);
  EXPECT_EQ(HueSatLumToColor(-40, 999, 120), clFuchsia);
  EXPECT_EQ(HueSatLumToColor(0, 240, 300), clWhite);
  // System colours are resolved first.
  EXPECT_EQ(ColorToHueSatLum(clBtnFace), ColorToHueSatLum(ColorToRGB(clBtnFace)));
}

TEST(HueSatLumTest, RoundTripsAreExactWhereATripleExists) {
  // Hue has 40 steps per sector where a channel has up to 255 (six per step at full chroma): a
  // colour converts back within three per channel, and exactly wherever a nearby triple does it.
  for (int r = 0; r < 256; r += 7)
    for (int g = 0; g < 256; g += 7)
      for (int b = 0; b < 256; b += 7) {
        TColor c = RGB(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
        TColor back = HueSatLumToColor(ColorToHueSatLum(c));
        ASSERT_LE(std::abs(GetRValue(back) - r), 3) << std::hex << c;
        ASSERT_LE(std::abs(GetGValue(back) - g), 3) << std::hex << c;
        ASSERT_LE(std::abs(GetBValue(back) - b), 3) << std::hex << c;
      }
  // The basic palette and the VGA colours all round-trip.
  for (TColor c : TColorDialog::BasicColors()) EXPECT_EQ(HueSatLumToColor(ColorToHueSatLum(c)), c);
  for (TColor c : {clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver})
    EXPECT_EQ(HueSatLumToColor(ColorToHueSatLum(c)), c);
  // Every colour some triple gives converts back to a triple giving exactly that colour, dark and
  // nearly grey ones included.
  for (int h = 0; h < 240; h += 3)
    for (int s = 0; s <= 240; s += 6)
      for (int l = 0; l <= 240; l += 5) {
        TColor c = HueSatLumToColor(h, s, l);
        ASSERT_EQ(HueSatLumToColor(ColorToHueSatLum(c)), c) << h << " " << s << " " << l;
      }
}

TEST(HueSatLumTest, BasicPaletteHoldsTheVgaColours) {
  const auto& basic = TColorDialog::BasicColors();
  ASSERT_EQ(basic.size(), 48u);
  for (TColor c : {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray, clSilver,
                   clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite})
    EXPECT_NE(std::find(basic.begin(), basic.end(), c), basic.end()) << std::hex << c;
  EXPECT_EQ(TColorDialog::CustomColorName(0), "ColorA");
  EXPECT_EQ(TColorDialog::CustomColorName(15), "ColorP");
  EXPECT_THROW(TColorDialog::CustomColorName(16), EListError);
}

}  // namespace
}  // namespace qel::test

// TColSel: the entries and their order in the list, the palettes, the name event, range rules,
// SetSelColor, the colour dialog of editable entries through the modal hook, the item drawing
// (bar, edit mark, name) and one golden sheet.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/QEL_qelcolors.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/Dialogs.h"
#include "selectors/QEL_Colsel.h"
#include "tests/platform/widgets/WidgetFixture.h"
#include "tests/selectors/ColSelDialogScript.h"

namespace qel::test {
namespace {

std::vector<std::string> Items(const TColSel& S) {
  std::vector<std::string> out;
  for (int i = 0; i < S.GetItems()->GetCount(); ++i) out.push_back(S.GetItems()->Get(i));
  return out;
}

TEST(ColSelList, ItemsListTheEntriesInOrderAndFollowTheirNames) {
  TColSel s(nullptr);
  ASSERT_EQ(s.GetItems()->GetCount(), 20);
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(s.GetArrayColor(i), PredefinedColors[i - 1].Color);
    EXPECT_EQ(s.GetArrayColorName(i), ColorToString(PredefinedColors[i - 1].Color));
    EXPECT_EQ(s.GetItems()->Get(i - 1), s.GetArrayColorName(i));
  }
  EXPECT_EQ(s.GetItemIndex(), 0);
  EXPECT_EQ(s.GetSelColor(), PredefinedColors[0].Color);
  s.SetArrayColorName(3, "Signal");
  EXPECT_EQ(s.GetArrayColorName(3), "Signal");
  EXPECT_EQ(Items(s)[2], "Signal");
  s.SetArrayColor(2, 0x123456);
  EXPECT_EQ(Items(s)[1], "$00123456");
}

TEST(ColSelList, PalettesTakeTheirRangesOfThePredefinedTable) {
  struct Case {
    std::function<void(TColSel&)> Load;
    int Count, First;
  };
  const Case cases[] = {{&TColSel::LoadBasicVGAPalette, 16, 0},
                        {&TColSel::LoadExtendedPalette, 20, 0},
                        {&TColSel::LoadStandardPalette, 47, 0},
                        {&TColSel::LoadWindowsSystemPalette, 27, 20}};
  for (const Case& c : cases) {
    TColSel s(nullptr);
    s.SetSelColor(PredefinedColors[5].Color);  // the palette puts the selection back on 1
    std::vector<std::string> offered;
    s.OnColorNameChange = [&](TObject* Sender, std::string& Name) {
      EXPECT_EQ(Sender, &s);
      offered.push_back(Name);
      Name = "my " + Name;
    };
    c.Load(s);
    EXPECT_EQ(s.GetNumColors(), c.Count);
    EXPECT_EQ(s.GetItems()->GetCount(), c.Count);
    EXPECT_EQ(offered.size(), static_cast<size_t>(c.Count));
    EXPECT_EQ(s.GetItemIndex(), 0);
    for (int i = 1; i <= c.Count; ++i) {
      const TColor want = PredefinedColors[c.First + i - 1].Color;
      EXPECT_EQ(s.GetArrayColor(i), want);
      EXPECT_EQ(s.GetArrayColorName(i), "my " + ColorToString(want));
    }
  }
}

TEST(ColSelList, OutOfRangeIndexesAndCountsChangeNothing) {
  TColSel s(nullptr);
  s.SetNumColors(5);
  EXPECT_EQ(s.GetItems()->GetCount(), 5);
  for (int n : {0, -1, 48, 1000}) {
    s.SetNumColors(n);
    EXPECT_EQ(s.GetNumColors(), 5) << n;
  }
  for (int i : {0, -1, 6, 47, 1 << 30}) {
    SCOPED_TRACE(i);
    s.SetArrayColor(i, clRed);
    s.SetArrayColorName(i, "x");
    s.SetArrayAllowEdit(i, true);
    EXPECT_EQ(s.GetArrayColor(i), 0u);
    EXPECT_EQ(s.GetArrayColorName(i), "");
    EXPECT_FALSE(s.GetArrayAllowEdit(i));
  }
  s.SetColorBarWidth(-4);
  EXPECT_EQ(s.GetColorBarWidth(), 30);
  s.SetAllColorEditFlags();
  EXPECT_TRUE(s.GetArrayAllowEdit(5));
  s.ResetAllColorEditFlags();
  EXPECT_FALSE(s.GetArrayAllowEdit(5));
}

TEST(ColSelList, SetSelColorSelectsAMatchOrOverwritesTheSelectedEntry) {
  TColSel s(nullptr);
  s.LoadBasicVGAPalette();
  int white = 0;
  for (int i = 1; i <= 16; ++i)
    if (s.GetArrayColor(i) == clWhite) white = i;
  ASSERT_GT(white, 0);
  ASSERT_EQ(ColorToRGB(clBtnHighlight), clWhite);
  // A system colour matches the entry of its RGB value.
  s.SetSelColor(clBtnHighlight);
  EXPECT_EQ(s.SelectedEntry(), white);
  EXPECT_EQ(s.GetItemIndex(), white - 1);
  EXPECT_EQ(s.GetSelColorID(), "clWhite");
  // One that is not listed replaces the selected entry instead of adding one.
  std::string offered;
  s.OnColorNameChange = [&](TObject*, std::string& Name) { offered = Name; };
  s.SetSelColor(0x00123456);
  EXPECT_EQ(s.GetNumColors(), 16);
  EXPECT_EQ(s.SelectedEntry(), white);
  EXPECT_EQ(s.GetArrayColor(white), 0x00123456u);
  EXPECT_EQ(s.GetSelColorID(), "$00123456");
  EXPECT_EQ(offered, "$00123456");
  EXPECT_EQ(Items(s)[white - 1], "$00123456");
  // A host choosing the item directly is followed.
  s.SetItemIndex(2);
  EXPECT_EQ(s.GetSelColor(), s.GetArrayColor(3));
  s.SetItemIndex(-1);
  EXPECT_EQ(s.GetSelColorID(), "");
}

TEST(ColSelList, RegisteredAndReadFromAFormFile) {
  RegisterColSelClasses();
  RegisterColSelClasses();
  const TClassInfo* info = FindClassInfo("TColSel");
  ASSERT_NE(info, nullptr);
  TColSel fresh(nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(&fresh)) continue;
    EXPECT_TRUE(p->IsDefault(&fresh)) << p->Name;
  }
  std::unique_ptr<TForm> f(CreateFromText<TForm>(
      "object F: TForm\n  object Sel: TColSel\n  Left = 0\n  Top = 0\n  Width = 150\n"
      "  Height = 21\n  NumColors = 16\n  ColorBarWidth = 24\n  SelColor = clRed\n  end\nend\n",
      nullptr));
  auto* s = dynamic_cast<TColSel*>(f->FindComponent("Sel"));
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetItems()->GetCount(), 16);
  EXPECT_EQ(s->GetSelColor(), clRed);
  EXPECT_EQ(s->GetColorBarWidth(), 24);
  const std::string written = WriteComponentText(f.get());
  std::unique_ptr<TForm> again(CreateFromText<TForm>(written, nullptr));
  EXPECT_EQ(dynamic_cast<TColSel*>(again->FindComponent("Sel"))->GetSelColor(), clRed);
  EXPECT_EQ(WriteComponentText(again.get()), written);
}

// ---------------------------------------------------------------- on a form

class ColSelOnForm : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    Sel = new TColSel(Form);
    Sel->SetParent(Form);
    Sel->SetBounds(10, 10, 180, 21);
    ShowForm();
  }
  // Moves the pointer to X of the box (box coordinates) and presses there.
  void PressBoxAt(int X) {
    const TPoint p = At(Sel, X, Sel->GetHeight() / 2);
    Input().MouseMove(p.X, p.Y);
    Input().MouseDown(p.X, p.Y);
    Input().MouseUp(p.X, p.Y);
  }
  TColSel* Sel = nullptr;
};

TEST_F(ColSelOnForm, ABarClickOnAnEditableEntryEditsItsColourWithTheDialog) {
  Sel->SetArrayAllowEdit(1, true);
  int changes = 0, shown = 0;
  Sel->OnChange = [&](TObject*) { ++changes; };
  std::vector<std::string> offered;
  Sel->OnColorNameChange = [&](TObject*, std::string& Name) { offered.push_back(Name); };
  const TColor picked = TColorDialog::BasicColors()[13];
  Application->OnModalShow = [&](TForm* F) {
    ++shown;
    PickBasicColour(F, 13, true);
  };
  PressBoxAt(10);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(Sel->GetArrayColor(1), picked);
  EXPECT_EQ(Sel->GetSelColor(), picked);
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], ColorToString(ColorToRGB(picked)));
  EXPECT_EQ(Sel->GetItems()->Get(0), offered[0]);
  EXPECT_TRUE(Sel->GetDroppedDown());  // the list opens after the dialog
  Input().PressKey(VK_ESCAPE);
  EXPECT_FALSE(Sel->GetDroppedDown());

  // Cancelled: nothing changes. Beside the bar, on a fixed entry or from the keyboard: no dialog.
  Application->OnModalShow = [&](TForm* F) {
    ++shown;
    PickBasicColour(F, 3, false);
  };
  PressBoxAt(10);
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(Sel->GetArrayColor(1), picked);
  EXPECT_EQ(changes, 1);
  Input().PressKey(VK_ESCAPE);
  PressBoxAt(100);
  EXPECT_EQ(shown, 2);
  Input().PressKey(VK_ESCAPE);
  const TPoint bar = At(Sel, 10, 10);
  Input().MouseMove(bar.X, bar.Y);
  Input().PressKey(VK_F4);
  EXPECT_TRUE(Sel->GetDroppedDown());
  EXPECT_EQ(shown, 2);
  Input().PressKey(VK_ESCAPE);
  Sel->SetArrayAllowEdit(1, false);
  PressBoxAt(10);
  EXPECT_EQ(shown, 2);
}

TEST_F(ColSelOnForm, ChoosingAnItemSelectsItsEntry) {
  int changes = 0;
  Sel->OnChange = [&](TObject*) { ++changes; };
  Sel->SetFocus();
  Input().PressKey(VK_DOWN);
  Input().PressKey(VK_DOWN);
  EXPECT_EQ(Sel->SelectedEntry(), 3);
  EXPECT_EQ(Sel->GetSelColor(), PredefinedColors[2].Color);
  EXPECT_EQ(changes, 2);
}

// Item texts are the entries' names in entry order, so typing a letter lands on the entry
// whose name starts with it.
TEST_F(ColSelOnForm, TypingALetterFindsTheEntryOfThatName) {
  Sel->OnColorNameChange = [](TObject*, std::string& Name) {
    if (Name.rfind("cl", 0) == 0) Name.erase(0, 2);
  };
  Sel->LoadBasicVGAPalette();
  Sel->SetFocus();
  Input().TypeText("r");
  EXPECT_EQ(Sel->GetSelColorID(), "Red");
  EXPECT_EQ(Sel->GetSelColor(), clRed);
  Input().TypeText("w");
  EXPECT_EQ(Sel->GetSelColor(), clWhite);
}

// The closed box draws the selected item in EditRect: probe the bar, the edit mark and where
// the name starts.
TEST_F(ColSelOnForm, ItemDrawingFollowsBarWidthEditFlagAndBrightness) {
  Form->SetActiveControl(nullptr);  // a focused box would show the name highlighted
  ASSERT_FALSE(Sel->Focused());
  const TRect e = Sel->EditRect();
  auto probe = [&](int X, int Y) {
    return PixelAt(Surface(), Sel->GetLeft() + X, Sel->GetTop() + Y);
  };
  const int l = e.Left, t = e.Top, b = e.Bottom;
  struct Case {
    TColor Colour;
    int Bar;
    bool Editable;
    TColor Mark;  // at the mark's left edge; the colour itself where there is no mark
  };
  const Case cases[] = {
      {clNavy, 30, true, clWhite},                                // dark: white mark
      {clYellow, 30, true, clBlack},                              // light: black mark
      {clNavy, 30, false, clNavy},   {clNavy, 11, true, clNavy},  // too narrow for a mark
      {clNavy, 12, true, clWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Colour << " bar " << c.Bar);
    Sel->SetArrayColor(1, c.Colour);
    Sel->SetColorBarWidth(c.Bar);
    Sel->SetArrayAllowEdit(1, c.Editable);
    EXPECT_EQ(probe(l + 3, t + 2), clBlack);  // the bar's outline
    EXPECT_EQ(probe(l + 4, b - 4), c.Colour);
    EXPECT_EQ(probe(l + 5, (t + b) / 2), c.Mark);
    EXPECT_EQ(probe(l + c.Bar + 3, (t + b) / 2), ColorToRGB(clWindow));  // name area
  }
  // No bar at all: the name's area starts at once.
  Sel->SetColorBarWidth(0);
  EXPECT_EQ(CountPixels(Surface(), Bounds(Sel->GetLeft() + l, Sel->GetTop() + t, 3, b - t), clNavy),
            0);
  const TRect ink = InkBounds(
      Surface(),
      Rect(Sel->GetLeft() + l, Sel->GetTop() + t, Sel->GetLeft() + e.Right, Sel->GetTop() + b),
      ColorToRGB(clWindow));
  EXPECT_EQ(ink.Left, Sel->GetLeft() + l + 6);
}

TEST_F(ColSelOnForm, GoldenSheet) {
  Form->SetBounds(0, 0, 420, 260);
  Sel->SetArrayAllowEdit(1, true);
  auto add = [&](int Top, std::function<void(TColSel*)> Set) {
    auto* s = new TColSel(Form);
    s->SetParent(Form);
    s->SetBounds(220, Top, 180, 21);
    s->SetTabStop(false);
    Set(s);
  };
  add(40, [](TColSel* s) {
    s->SetSelColor(clYellow);
    s->SetArrayAllowEdit(s->SelectedEntry(), true);
  });
  add(70, [](TColSel* s) {
    s->SetColorBarWidth(0);
    s->SetSelColor(clRed);
  });
  add(100, [](TColSel* s) {
    s->SetColorBarWidth(11);
    s->SetAllColorEditFlags();
  });
  add(130, [](TColSel* s) {
    s->SetSelColor(clTeal);
    s->SetEnabled(false);
  });
  add(160, [](TColSel* s) { s->LoadWindowsSystemPalette(); });
  Sel->SetDropDownCount(10);
  Sel->SetFocus();
  Input().PressKey(VK_F4);
  Input().PressKey(VK_DOWN);
  ExpectMatchesGolden(Surface(), "selectors_colsel", 300);
}

}  // namespace
}  // namespace qel::test

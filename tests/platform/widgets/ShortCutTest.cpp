// Shortcut numbers and their text: every key class, modifiers, case, nonsense, the published
// property, and the shortcut column of an open menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/controls/Messages.h"
#include "platform/controls/Properties.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

TEST(ShortCutText, NamesEveryKeyClassWithModifiersInOneOrder) {
  EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {ssShift})), "Shift+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, {})), "F5");
  EXPECT_EQ(ShortCutToText(ShortCut('Z', {ssShift, ssCtrl})), "Ctrl+Shift+Z");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, {ssAlt})), "Alt+Enter");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, {ssShift, ssAlt, ssCtrl})), "Ctrl+Alt+Shift+F12");
  EXPECT_EQ(ShortCutToText(ShortCut('7', {ssAlt})), "Alt+7");
  EXPECT_EQ(ShortCutToText(VK_F1 + 23), "F24");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_NUMPAD3, {ssCtrl})), "Ctrl+Num 3");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_ADD, {})), "Num +");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_PRIOR, {})), "PgUp");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_LEFT, {ssCtrl})), "Ctrl+Left");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_ESCAPE, {})), "Esc");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, {ssAlt})), "Alt+Backspace");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_2, {ssCtrl})), "Ctrl+/");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_5, {})), "\\");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_OEM_MINUS, {ssCtrl})), "Ctrl+-");
  // Nothing, and keys our table has no name for, have no text.
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(ShortCutToText(scCtrl), "");
  EXPECT_EQ(ShortCutToText(ShortCut(0xE5, {ssCtrl})), "");
}

TEST(ShortCutText, EveryNamedShortCutReadsBackToItself) {
  int named = 0;
  for (int key = 1; key <= 0xFF; ++key) {
    for (TShortCut mods : {0, 0x2000, 0x4000, 0x6000, 0x8000, 0xA000, 0xC000, 0xE000}) {
      auto sc = static_cast<TShortCut>(key | mods);
      std::string text = ShortCutToText(sc);
      if (text.empty()) continue;
      ++named;
      EXPECT_EQ(TextToShortCut(text), sc) << text;
    }
  }
  // Letters, digits, 24 function keys, the numeric pad and the named keys, with 8 modifier sets.
  EXPECT_GE(named, (26 + 10 + 24 + 10 + 30) * 8);
}

TEST(ShortCutText, ReadingIgnoresCaseAndBlanksAndRefusesWhatItCannotRead) {
  TShortCut ctrlShiftZ = ShortCut('Z', {ssCtrl, ssShift});
  EXPECT_EQ(TextToShortCut("ctrl+shift+z"), ctrlShiftZ);
  EXPECT_EQ(TextToShortCut("  Shift + CTRL + Z "), ctrlShiftZ);
  EXPECT_EQ(TextToShortCut("Control+Shift+Z"), ctrlShiftZ);
  EXPECT_EQ(TextToShortCut("alt+enter"), ShortCut(VK_RETURN, {ssAlt}));
  EXPECT_EQ(TextToShortCut("Ctrl+Num +"), ShortCut(VK_ADD, {ssCtrl}));
  EXPECT_EQ(TextToShortCut("Shift+-"), ShortCut(VK_OEM_MINUS, {ssShift}));
  EXPECT_EQ(TextToShortCut("f10"), VK_F10);
  for (const char* bad :
       {"", "Ctrl", "Ctrl+", "Ctrl+Ctrl+S", "Hyper+S", "F25", "F0", "SS", "Ctrl S", "+S", "Num 10"})
    EXPECT_EQ(TextToShortCut(bad), 0) << bad;
}

TEST(ShortCutText, KeyAndShiftPackAndUnpack) {
  EXPECT_EQ(ShortCut('S', {ssCtrl}), scCtrl | 'S');
  // Mouse buttons and double clicks in the shift state are no part of a shortcut.
  EXPECT_EQ(ShortCut('S', {ssCtrl, ssLeft, ssDouble}), scCtrl | 'S');
  EXPECT_EQ(ShortCut(0, {ssCtrl}), 0);
  EXPECT_EQ(ShortCut(0x100, {}), 0);
  uint16_t key = 0;
  TShiftState shift;
  ShortCutToKey(ShortCut(VK_F7, {ssAlt, ssShift}), key, shift);
  EXPECT_EQ(key, VK_F7);
  EXPECT_EQ(shift, (TShiftState{ssAlt, ssShift}));
}

TEST(ShortCutText, PublishedPropertyIsTheTextAndRefusesNonsense) {
  RegisterMenuAndComboClasses();
  TMenuItem item(nullptr);
  const TClassInfo* info = ClassInfoOf(&item);
  ASSERT_NE(info, nullptr);
  const TPropInfo* prop = info->FindProperty("ShortCut");
  ASSERT_NE(prop, nullptr);
  EXPECT_TRUE(prop->IsDefault(&item));
  SetPropText(&item, *prop, "ctrl+s");
  EXPECT_EQ(item.GetShortCut(), scCtrl | 'S');
  EXPECT_EQ(GetPropText(&item, *prop), "Ctrl+S");
  EXPECT_FALSE(prop->IsDefault(&item));
  EXPECT_THROW(SetPropText(&item, *prop, "Ctrl+Banana"), EPropertyError);
  EXPECT_EQ(item.GetShortCut(), scCtrl | 'S');
  SetPropText(&item, *prop, "");
  EXPECT_EQ(item.GetShortCut(), 0);
}

class MenuShortCutLook : public WidgetTest {};

bool Dark(TColor C) { return (C & 0xFF) + ((C >> 8) & 0xFF) + ((C >> 16) & 0xFF) < 240; }

TEST_F(MenuShortCutLook, OpenMenuShowsShortcutsRightAlignedInTheirOwnColumn) {
  Form->SetBounds(0, 0, 260, 200);
  ShowForm();
  auto* menu = new TPopupMenu(Form);
  auto add = [&](TMenuItem* Parent, const char* Caption, const char* Keys) {
    auto* it = new TMenuItem(Form);
    it->SetCaption(Caption);
    it->SetShortCut(TextToShortCut(Keys));
    Parent->Add(it);
    return it;
  };
  TMenuItem* root = menu->GetItems();
  add(root, "&Open...", "Ctrl+O");
  add(root, "&Save", "Ctrl+S");
  add(root, "-", "");
  add(root, "&Undo", "Ctrl+Z")->SetEnabled(false);
  add(root, "&Redo", "Ctrl+Shift+Z");
  add(root, "&Properties", "Alt+Enter");
  add(root, "Re&fresh", "F5")->SetChecked(true);
  TMenuItem* more = add(root, "&More", "");
  add(more, "Nothing", "");
  TPoint s = Form->ClientToScreen({10, 10});
  menu->Popup(s.X, s.Y);
  ASSERT_TRUE(menu->IsOpen());
  // The widest caption plus the widest shortcut, with room between them.
  TCanvas* c = Form->Canvas();
  c->Font()->Assign(Form->GetFont());
  int need = c->TextWidth("Properties") + c->TextWidth("Ctrl+Shift+Z");
  EXPECT_GT(menu->LevelControl(0)->GetWidth(), need + 20);
  // Every shortcut ends at the same right edge: the rightmost dark pixel of each row agrees.
  auto rightmostInk = [&](int Index) {
    TRect r = menu->ItemFormRect(0, Index);
    int best = -1;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Dark(PixelAt(Surface(), x, y))) best = std::max(best, x);
    return best;
  };
  int right = rightmostInk(0);
  EXPECT_GT(right, 0);
  for (int i : {1, 4, 6}) EXPECT_NEAR(rightmostInk(i), right, 2) << i;
  ExpectMatchesGolden(Surface(), "keys_menu_shortcuts");
}

}  // namespace
}  // namespace qel::test

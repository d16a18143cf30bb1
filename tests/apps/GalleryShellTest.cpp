// The gallery shell driven headless: the page list follows mouse and keys, every embedded page
// builds, the property panel edits through the registry and reports refused values, and the
// animation runs on window timers.
#include <gtest/gtest.h>

#include "apps/gallery/GalleryForm.h"
#include "apps/gallery/GridDemo.h"
#include "apps/gallery/MenuDemo.h"
#include "platform/controls/Messages.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/backends/headless/Headless.h"

namespace qel::test {
namespace {

class GalleryShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    RegisterGalleryClasses();
    Application->CreateForm(Form);
    Form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override { ResetHeadlessApplication(); }

  int PageIndex(const std::string& Stem) const {
    for (int i = 0; i < Form->PageCount(); ++i)
      if (Form->PageSource(i).Stem == Stem) return i;
    return -1;
  }
  // Centre of a row of the property panel, in form coordinates.
  TPoint PanelRow(const std::string& Path) const {
    TPropertyPanel* p = Form->Panel();
    for (int i = 0; i < p->RowCount(); ++i)
      if (p->RowPath(i) == Path) {
        p->SetRowIndex(i);
        TRect r = p->RowRect(i);
        return {p->GetLeft() + p->GetWidth() - 60, p->GetTop() + (r.Top + r.Bottom) / 2};
      }
    ADD_FAILURE() << "no row " << Path;
    return {};
  }

  TGalleryForm* Form = nullptr;
};

TEST_F(GalleryShellTest, EveryEmbeddedPageBuildsAndShowsItsFirstComponent) {
  ASSERT_GE(Form->PageCount(), 3);
  EXPECT_EQ(Form->PageSource(0).Stem, "drawing");
  EXPECT_EQ(Form->PageSource(0).Title, "Drawing");
  for (int i = 0; i < Form->PageCount(); ++i) {
    Form->ShowPage(i);
    ASSERT_NE(Form->Page(), nullptr);
    EXPECT_EQ(Form->Page()->GetCaption(), Form->PageSource(i).Title);
    EXPECT_EQ(Form->Panel()->Subject(), Form->Page()->Components(0));
    EXPECT_EQ(Form->List()->GetItemIndex(), i);
  }
  // Only one page lives at a time.
  int pages = 0;
  for (int i = 0; i < Form->ComponentCount(); ++i)
    pages += dynamic_cast<TGalleryPage*>(Form->Components(i)) ? 1 : 0;
  EXPECT_EQ(pages, 1);
}

TEST_F(GalleryShellTest, PageListFollowsClicksAndArrowKeys) {
  THeadlessInput in(Form);
  TRect row = Form->List()->ItemRect(PageIndex("animation"));
  in.Click(row.Left + 20, row.Top + 5);
  EXPECT_EQ(Form->CurrentPage(), PageIndex("animation"));
  EXPECT_EQ(Form->Page()->GetName(), "AnimationPage");
  EXPECT_TRUE(Form->List()->Focused());
  in.PressKey(VK_DOWN);
  EXPECT_EQ(Form->Page()->GetName(), "ShapesPage");
  in.PressKey(VK_HOME);
  EXPECT_EQ(Form->CurrentPage(), 0);
  in.PressKey(VK_UP);  // stays on the first page
  EXPECT_EQ(Form->CurrentPage(), 0);
  in.PressKey(VK_END);
  EXPECT_EQ(Form->CurrentPage(), Form->PageCount() - 1);
}

TEST_F(GalleryShellTest, PropertyPanelWritesThroughTheRegistry) {
  Form->ShowPage(PageIndex("shapes"));
  auto* ellipse = dynamic_cast<TShapeView*>(Form->Page()->FindComponent("RedEllipse"));
  ASSERT_NE(ellipse, nullptr);
  Form->SelectComponent(ellipse);
  THeadlessInput in(Form);

  // Select the row, type a new value, Enter.
  TPoint p = PanelRow("Brush.Color");
  in.Click(p.X, p.Y);
  in.TypeText("clNavy");
  EXPECT_TRUE(Form->Panel()->Editing());
  in.PressKey(VK_RETURN);
  EXPECT_EQ(ellipse->GetBrush()->GetColor(), clNavy);
  EXPECT_FALSE(Form->Panel()->Editing());
  EXPECT_EQ(Form->Panel()->Message(), "RedEllipse.Brush.Color = clNavy");

  // A refused value stays in the editor with the reason shown; Escape gives up.
  p = PanelRow("Width");
  in.Click(p.X, p.Y);
  in.TypeText("wide");
  in.PressKey(VK_RETURN);
  EXPECT_EQ(ellipse->GetWidth(), 200);
  EXPECT_TRUE(Form->Panel()->MessageIsError());
  EXPECT_EQ(Form->Panel()->Message(), "Invalid property value for Width: wide");
  EXPECT_TRUE(Form->Panel()->Editing());
  in.PressKey(VK_ESCAPE);
  EXPECT_FALSE(Form->Panel()->Editing());

  // Backspace removes whole characters; a double click steps an enumeration.
  p = PanelRow("Caption");
  in.Click(p.X, p.Y);
  in.TypeText("Größe");
  in.PressKey(VK_BACK);
  EXPECT_EQ(Form->Panel()->EditText(), "Größ");
  in.PressKey(VK_RETURN);
  EXPECT_EQ(ellipse->GetCaption(), "Größ");
  p = PanelRow("Shape");
  in.DoubleClick(p.X, p.Y);
  EXPECT_EQ(ellipse->GetShape(), skRoundRect);
  EXPECT_FALSE(Form->Panel()->Editing());

  // Clicking a component on the page shows its properties.
  TPoint square{Form->Page()->GetLeft() + 300, Form->Page()->GetTop() + 100};
  in.Click(square.X, square.Y);
  EXPECT_EQ(Form->Panel()->Subject(), Form->Page()->FindComponent("BlueSquare"));
}

TEST_F(GalleryShellTest, AnimationRunsOnTimersAndPausesOnClick) {
  Form->ShowPage(PageIndex("animation"));
  auto* orbit = dynamic_cast<TOrbitView*>(Form->Page()->FindComponent("FastOrbit"));
  ASSERT_NE(orbit, nullptr);
  Application->AdvanceTime(400);
  EXPECT_EQ(orbit->Ticks(), 10);  // Interval 40 ms
  EXPECT_DOUBLE_EQ(orbit->Angle(), 95.0);
  THeadlessInput in(Form);
  TPoint at = orbit->ClientToParent({orbit->GetWidth() / 2, orbit->GetHeight() / 2}, Form);
  in.Click(at.X, at.Y);
  EXPECT_FALSE(orbit->GetRunning());
  Application->AdvanceTime(400);
  EXPECT_EQ(orbit->Ticks(), 10);
  // Leaving the page stops its timers with it.
  int timers = Application->TimerCount();
  Form->ShowPage(PageIndex("drawing"));
  EXPECT_LT(Application->TimerCount(), timers);
}

// The standard-controls page's menu comes from its form file, items nested with their shortcut
// keys: a right click on the panel opens it, a choice changes the panel, and the shortcut keys
// work from an edit on the page without taking the edit's own keys.
TEST_F(GalleryShellTest, ThePagesMenuOpensOnTheRightClickAndItsShortcutsWork) {
  Form->ShowPage(PageIndex("widgets"));
  auto* panel = dynamic_cast<TMenuDemoPanel*>(Form->Page()->FindComponent("RaisedPanel"));
  auto* menu = dynamic_cast<TPopupMenu*>(Form->Page()->FindComponent("PanelMenu"));
  auto* edit = dynamic_cast<TEdit*>(Form->Page()->FindComponent("NameEdit"));
  ASSERT_TRUE(panel && menu && edit);
  ASSERT_EQ(menu->GetItems()->Count(), 5);
  EXPECT_EQ(menu->GetItems()->Items(4)->Count(), 3);
  EXPECT_TRUE(menu->GetItems()->Items(1)->GetChecked());  // the panel is centred
  THeadlessInput in(Form);
  TPoint at = panel->ClientToParent({20, 20}, Form);
  in.Click(at.X, at.Y, mbRight);
  ASSERT_TRUE(menu->IsOpen());
  TRect item = menu->ItemFormRect(0, 2);
  in.Click((item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2);
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(panel->GetAlignment(), taRightJustify);
  EXPECT_EQ(panel->GetCaption(), "Chose Align right (Ctrl+R)");
  EXPECT_TRUE(menu->GetItems()->Items(2)->GetChecked());
  EXPECT_FALSE(menu->GetItems()->Items(1)->GetChecked());

  edit->SetFocus();
  edit->SelectAll();
  in.PressKey('L', {ssCtrl, ssShift});
  EXPECT_EQ(panel->GetBevelOuter(), bvLowered);
  in.PressKey('C', {ssCtrl});  // no item claims Ctrl+C: the edit copies
  EXPECT_EQ(Clipboard()->GetAsText(), edit->GetText());
  EXPECT_EQ(panel->GetCaption(), "Chose Lowered (Ctrl+Shift+L)");
}

// The grid page edits its time column through a mask and its unit column from a pick list.
TEST_F(GalleryShellTest, TheGridPageEditsTimesThroughAMaskAndUnitsFromAList) {
  Form->ShowPage(PageIndex("grid"));
  auto* grid = dynamic_cast<TDemoGrid*>(Form->Page()->FindComponent("Readings"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->CellText(1, 0), "Time");
  EXPECT_EQ(grid->CellText(1, 14), "01:05");
  THeadlessInput in(Form);
  grid->SetFocus();
  grid->SetCol(1);
  grid->SetRow(3);
  in.PressKey(VK_F2);
  ASSERT_NE(grid->InplaceEditor(), nullptr);
  EXPECT_TRUE(grid->InplaceEditor()->IsMasked());
  in.PressKey(VK_HOME);
  in.TypeText("7x45");  // the letter does not fit a digit slot
  in.PressKey(VK_RETURN);
  EXPECT_FALSE(grid->GetEditorMode());
  EXPECT_EQ(grid->CellText(1, 3), "74:50");

  grid->SetCol(2);
  in.PressKey(VK_F2);
  in.PressKey(VK_DOWN, {ssAlt});
  ASSERT_TRUE(grid->InplaceEditor()->GetDroppedDown());
  EXPECT_EQ(grid->InplaceEditor()->PickItems().GetCount(), 10);
  EXPECT_EQ(grid->InplaceEditor()->PickIndex(), 2);  // the cell's unit, "A"
  in.PressKey(VK_NEXT);  // a page further down: the last unit
  in.PressKey(VK_RETURN);
  EXPECT_FALSE(grid->InplaceEditor()->GetDroppedDown());
  in.PressKey(VK_RETURN);
  EXPECT_EQ(grid->CellText(2, 3), "%");
}

}  // namespace
}  // namespace qel::test

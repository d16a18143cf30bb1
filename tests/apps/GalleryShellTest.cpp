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
  TPropertyPanel* panel = Form->Panel();
  THeadlessInput in(Form);

  // Typing on a row starts a new value in a real edit: Home, arrows and selection work.
  TPoint p = PanelRow("Width");
  in.Click(p.X, p.Y);
  in.TypeText("777.5");
  ASSERT_TRUE(panel->Editing());
  EXPECT_TRUE(panel->Editor()->Focused());
  in.PressKey(VK_HOME);
  in.TypeText("X");
  in.PressKey(VK_RIGHT);
  in.PressKey(VK_RIGHT, {ssShift});
  in.PressKey(VK_RIGHT, {ssShift});
  in.TypeText("1");
  EXPECT_EQ(panel->EditText(), "X71.5");
  in.PressKey('Z', {ssCtrl});  // undo
  EXPECT_EQ(panel->EditText(), "X777.5");
  in.PressKey('A', {ssCtrl});
  in.TypeText("wide");
  // A refused value is explained in the message dialog; Enter closes it and the edit stays.
  std::string shown;
  Application->OnModalShow = [&](TForm* F) {
    auto* text = dynamic_cast<TControl*>(F->FindComponent("Message"));
    shown = text ? text->GetCaption() : "?";
    THeadlessInput(F).PressKey(VK_RETURN);
  };
  in.PressKey(VK_RETURN);
  EXPECT_EQ(shown, "Invalid property value for Width: wide");
  EXPECT_EQ(ellipse->GetWidth(), 200);
  EXPECT_TRUE(panel->MessageIsError());
  EXPECT_EQ(panel->Message(), "Invalid property value for Width: wide");
  EXPECT_TRUE(panel->Editing());
  EXPECT_TRUE(panel->Editor()->Focused());
  in.PressKey(VK_ESCAPE);
  EXPECT_FALSE(panel->Editing());
  EXPECT_TRUE(panel->Focused());

  // Typing on a colour row starts a text value too (Enter would drop the named colours down).
  PanelRow("Brush.Color");
  in.TypeText("clNavy");
  in.PressKey(VK_RETURN);
  EXPECT_EQ(ellipse->GetBrush()->GetColor(), clNavy);
  EXPECT_FALSE(panel->Editing());
  EXPECT_EQ(panel->Message(), "RedEllipse.Brush.Color = clNavy");

  // Enumerations choose from their drop-down: Enter opens it, Down and Enter choose.
  PanelRow("Shape");
  panel->SetFocus();
  in.PressKey(VK_RETURN);
  ASSERT_TRUE(panel->Choice()->GetDroppedDown());
  EXPECT_EQ(panel->Choice()->GetText(), "skEllipse");
  in.PressKey(VK_DOWN);
  in.PressKey(VK_RETURN);
  EXPECT_EQ(ellipse->GetShape(), skRoundRect);
  EXPECT_FALSE(panel->Editing());
  // A double click steps it; the component list chooses another component.
  p = PanelRow("Shape");
  in.DoubleClick(p.X, p.Y);
  EXPECT_NE(ellipse->GetShape(), skRoundRect);
  TComboBox* list = panel->ComponentList();
  int square = -1;
  for (int i = 0; i < list->GetItems()->Count(); ++i)
    if (list->GetItems()->Get(i).rfind("BlueSquare:", 0) == 0) square = i;
  ASSERT_GE(square, 0);
  list->SetFocus();
  list->SetItemIndex(square - 1);
  in.PressKey(VK_DOWN);
  EXPECT_EQ(panel->Subject(), Form->Page()->FindComponent("BlueSquare"));
}

// A press on any component of any page shows its properties (the deepest component the page
// owns under the pointer).
TEST_F(GalleryShellTest, AClickSelectsEveryComponentOnEveryPage) {
  Application->OnModalShow = [](TForm* F) { F->SetModalResult(mrCancel); };
  for (int i = 0; i < Form->PageCount(); ++i) {
    Form->ShowPage(i);
    TGalleryPage* page = Form->Page();
    std::vector<TControl*> parts;
    for (int k = 0; k < page->ComponentCount(); ++k)
      if (auto* c = dynamic_cast<TControl*>(page->Components(k))) parts.push_back(c);
    for (TControl* c : parts) {
      SCOPED_TRACE(Form->PageSource(i).Stem + "/" + c->GetName());
      if (!c->GetVisible() || c->GetWidth() < 4 || c->GetHeight() < 4) continue;
      TPoint at = c->ClientToParent({c->GetWidth() / 2, c->GetHeight() / 2}, Form);
      if (!page->GetClientRect().Contains(page->ParentToClient(at, Form))) continue;
      Form->SelectComponent(page);
      THeadlessInput in(Form);
      in.MouseDown(at.X, at.Y);
      auto* got = dynamic_cast<TControl*>(Form->Panel()->Subject());
      in.MouseUp(at.X, at.Y);
      if (Form->CaptureControl()) in.PressKey(VK_ESCAPE);  // a list the click dropped down
      ASSERT_NE(got, nullptr);
      bool within = false;
      for (TControl* k = got; k; k = k->GetParent()) within = within || k == c;
      EXPECT_TRUE(within) << "got " << got->GetName();
      if (Form->Page() != page) break;  // a click that changed the page ends this page's sweep
    }
  }
}

// The drawing demo as large as a control may be paints what shows, not the whole cell: the
// repaint ends (it used to walk every pixel of its tiles). Two thousand million pixels, beyond
// what a control takes, is refused with the reason instead.
TEST_F(GalleryShellTest, TheDrawingPagePaintsOnlyWhatShowsAtAnyWidth) {
  Form->ShowPage(PageIndex("drawing"));
  TPropertyPanel* panel = Form->Panel();
  ASSERT_EQ(panel->Subject()->GetName(), "CanvasDemo");
  auto rowOf = [panel](const std::string& Path) {
    for (int i = 0; i < panel->RowCount(); ++i)
      if (panel->RowPath(i) == Path) return i;
    return -1;
  };
  ASSERT_GE(rowOf("Width"), 0);
  int dialogs = 0;
  Application->OnModalShow = [&dialogs](TForm* F) {
    ++dialogs;
    F->SetModalResult(mrOk);
  };
  EXPECT_FALSE(panel->Apply(rowOf("Width"), "2000000000"));
  EXPECT_EQ(dialogs, 1);  // the reason is shown in the error dialog
  EXPECT_NE(panel->Message().find("out of range"), std::string::npos) << panel->Message();
  const std::string largest = std::to_string(kMaxControlCoord);
  for (const auto& [path, value] : std::vector<std::pair<std::string, std::string>>{
           {"Align", "alNone"}, {"Width", largest}, {"Height", largest}}) {
    ASSERT_GE(rowOf(path), 0) << path;
    EXPECT_TRUE(panel->Apply(rowOf(path), value)) << panel->Message();
  }
  auto* demo = dynamic_cast<TControl*>(panel->Subject());
  EXPECT_EQ(demo->GetWidth(), kMaxControlCoord);
  demo->Invalidate();
  Application->ProcessMessages();
  EXPECT_TRUE(Form->DirtyRects().empty());
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
  in.TypeText("1x45");  // the letter does not fit a digit slot
  in.PressKey(VK_RETURN);
  EXPECT_FALSE(grid->GetEditorMode());
  EXPECT_EQ(grid->CellText(1, 3), "14:50");

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

// The gallery shell driven headless: the page list follows mouse and keys, every embedded page
// builds, the property panel edits through the registry and reports refused values, and the
// animation runs on window timers.
#include <gtest/gtest.h>

#include <set>

#include "Process.h"
#include "apps/gallery/GalleryForm.h"
#include "apps/gallery/GridDemo.h"
#include "apps/gallery/MenuDemo.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Messages.h"
#include "platform/widgets/Menus.h"
#include "platform/widgets/StdCtrls.h"
#include "platform/backends/headless/Headless.h"

namespace qel::test {
namespace {

// What C paints at its size.
std::unique_ptr<TBitmap> Picture(TControl* C) {
  auto b = std::make_unique<TBitmap>(C->GetWidth(), C->GetHeight());
  C->PaintTo(b.get());
  return b;
}

// The pixels in which A and B differ (all of them when the sizes differ).
int Differ(const TBitmap& A, const TBitmap& B) {
  if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight())
    return std::max(A.GetWidth() * A.GetHeight(), B.GetWidth() * B.GetHeight());
  int n = 0;
  for (int y = 0; y < A.GetHeight(); ++y)
    for (int x = 0; x < A.GetWidth(); ++x)
      n += (A.ScanLine(y)[x] & 0xFFFFFF) != (B.ScanLine(y)[x] & 0xFFFFFF);
  return n;
}

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
  // The shapes page with its red ellipse in the inspector.
  TShapeView* ShowTheEllipse() {
    Form->ShowPage(PageIndex("shapes"));
    auto* ellipse = dynamic_cast<TShapeView*>(Form->Page()->FindComponent("RedEllipse"));
    if (ellipse) Form->SelectComponent(ellipse);
    return ellipse;
  }
  // Chooses Item in the inspector's open drop-down with the keys.
  void Choose(const std::string& Item) {
    TInspectorChoice* choice = Form->Panel()->Choice();
    int target = -1;
    for (int i = 0; i < choice->GetItems()->Count(); ++i)
      if (choice->GetItems()->Get(i) == Item) target = i;
    ASSERT_GE(target, 0) << Item;
    THeadlessInput in(Form);
    for (int at = choice->GetItemIndex(); at != target; at += at < target ? 1 : -1)
      in.PressKey(at < target ? VK_DOWN : VK_UP);
    in.PressKey(VK_RETURN);
  }
  // Selects row Path of the property panel; -1 when there is none.
  int SelectRow(const std::string& Path) const {
    TPropertyPanel* p = Form->Panel();
    for (int i = 0; i < p->RowCount(); ++i)
      if (p->RowPath(i) == Path) {
        p->SetRowIndex(i);
        return i;
      }
    ADD_FAILURE() << "no row " << Path;
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
  TShapeView* ellipse = ShowTheEllipse();
  ASSERT_NE(ellipse, nullptr);
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

// The inspector's set editor: the drop-down lists every member with its state, a choice
// toggles that member and the list stays open for the next; Esc ends it.
TEST_F(GalleryShellTest, TheSetEditorTogglesOneMemberPerChoice) {
  TShapeView* ellipse = ShowTheEllipse();
  ASSERT_NE(ellipse, nullptr);
  TPropertyPanel* panel = Form->Panel();
  THeadlessInput in(Form);
  ASSERT_GE(SelectRow("Font.Style"), 0);
  panel->SetFocus();
  in.PressKey(VK_RETURN);
  TInspectorChoice* choice = panel->Choice();
  ASSERT_TRUE(choice->GetDroppedDown());
  std::vector<std::string> items;
  for (int i = 0; i < choice->GetItems()->Count(); ++i) items.push_back(choice->GetItems()->Get(i));
  EXPECT_EQ(items, (std::vector<std::string>{"[x] fsBold", "[ ] fsItalic", "[ ] fsUnderline",
                                             "[ ] fsStrikeOut"}));
  struct Step {
    int Item;
    TFontStyles Style;
    const char* Shown;
  } steps[] = {
      {1, {fsBold, fsItalic}, "[x] fsItalic"},
      {0, {fsItalic}, "[ ] fsBold"},
      {3, {fsItalic, fsStrikeOut}, "[x] fsStrikeOut"},
      {1, {fsStrikeOut}, "[ ] fsItalic"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Shown);
    ASSERT_TRUE(choice->GetDroppedDown());
    Choose(choice->GetItems()->Get(s.Item));
    EXPECT_EQ(ellipse->GetFont()->GetStyle(), s.Style);
    EXPECT_TRUE(panel->Editing());
    EXPECT_EQ(choice->GetItems()->Get(s.Item), s.Shown);
    EXPECT_EQ(choice->GetItemIndex(), s.Item);
  }
  EXPECT_EQ(panel->RowValue(panel->GetRowIndex()), "[fsStrikeOut]");
  in.PressKey(VK_ESCAPE);  // closes the list
  EXPECT_TRUE(panel->Editing());
  in.PressKey(VK_ESCAPE);
  EXPECT_FALSE(panel->Editing());
  EXPECT_TRUE(panel->Focused());
  EXPECT_EQ(ellipse->GetFont()->GetStyle(), TFontStyles{fsStrikeOut});
}

// The colour editor: named colours in a drop-down with the current one chosen, a colour
// without a name listed as itself, and "Custom..." running the colour dialog, whose OK applies
// and whose Cancel leaves the colour.
TEST_F(GalleryShellTest, TheColourEditorOffersNamedColoursAndTheDialog) {
  Form->ShowPage(PageIndex("animation"));
  auto* slow = dynamic_cast<TOrbitView*>(Form->Page()->FindComponent("SlowOrbit"));
  ASSERT_NE(slow, nullptr);
  Form->SelectComponent(slow);
  TPropertyPanel* panel = Form->Panel();
  TInspectorChoice* choice = panel->Choice();
  THeadlessInput in(Form);
  auto open = [&](const std::string& Path) {
    ASSERT_GE(SelectRow(Path), 0);
    panel->SetFocus();
    in.PressKey(VK_RETURN);
    ASSERT_TRUE(choice->GetDroppedDown());
  };
  auto indexOf = [&](const std::string& Item) {
    for (int i = 0; i < choice->GetItems()->Count(); ++i)
      if (choice->GetItems()->Get(i) == Item) return i;
    return -1;
  };

  open("BallColor");
  EXPECT_EQ(choice->GetText(), "clAqua");
  EXPECT_EQ(choice->GetItems()->Get(choice->GetItems()->Count() - 1), "Custom...");
  Choose("clBlue");
  EXPECT_EQ(slow->GetBallColor(), clBlue);
  EXPECT_FALSE(panel->Editing());

  // $00402010 has no name: the list holds it, chosen, before "Custom...".
  open("Color");
  EXPECT_EQ(choice->GetText(), "$00402010");
  EXPECT_EQ(indexOf("$00402010"), choice->GetItems()->Count() - 2);

  struct Case {
    TModalResult Result;
    TColor Expected;
  } cases[] = {{mrCancel, static_cast<TColor>(0x402010)}, {mrOk, RGB(18, 52, 86)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Result);
    if (!panel->Editing()) open("Color");
    int shown = 0;
    Application->OnModalShow = [&](TForm* F) {
      ++shown;
      int values[] = {18, 52, 86};
      const char* names[] = {"RedEdit", "GreenEdit", "BlueEdit"};
      for (int k = 0; k < 3; ++k) {
        auto* e = dynamic_cast<TCustomEdit*>(F->FindComponent(names[k]));
        ASSERT_NE(e, nullptr) << names[k];
        e->SetText(std::to_string(values[k]));
      }
      F->SetModalResult(c.Result);
    };
    Choose("Custom...");
    Application->OnModalShow = nullptr;
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(slow->GetColor(), c.Expected);
    EXPECT_FALSE(panel->Editing());
  }
}

// "Save page as..." writes the page as a form file that reads back to the same picture: every
// page right after it opens, and after a second of its timers except the views that move on
// them (orbits, the scrolling ticker) and the folder tree, whose sample folders are made at run
// time. The name is asked for in a dialog; an existing file is replaced only when confirmed.
TEST_F(GalleryShellTest, ASavedPageReadsBackToTheSamePicture) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("qel_savepage_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::set<std::string> moving = {"animation", "displays"};
  for (int i = 0; i < Form->PageCount(); ++i) {
    const std::string stem = Form->PageSource(i).Stem;
    if (stem == "foldertree") continue;
    SCOPED_TRACE(stem);
    Form->ShowPage(i);
    for (int ms : {0, 1000}) {
      if (ms > 0 && moving.count(stem)) continue;
      Application->AdvanceTime(ms);
      Application->ProcessMessages();
      std::string file = (dir / (stem + ".qfm")).string();
      Form->SavePage(file);
      auto shown = Picture(Form->Page());
      std::unique_ptr<TComponent> root(CreateComponentFromFile(file, nullptr));
      auto* read = dynamic_cast<TControl*>(root.get());
      ASSERT_NE(read, nullptr);
      int differ = Differ(*shown, *Picture(read));
      EXPECT_EQ(differ, 0) << "after " << ms << " ms";
    }
  }

  // Through the dialog: the page's stem is offered; Enter saves, then replacing asks first.
  Form->ShowPage(PageIndex("shapes"));
  std::string file = (dir / "chosen.qfm").string();
  std::vector<std::string> dialogs;
  TModalResult replace = mrNo;
  Application->OnModalShow = [&](TForm* F) {
    dialogs.push_back(F->GetCaption());
    if (auto* edit = dynamic_cast<TEdit*>(F->FindComponent("FileName"))) {
      EXPECT_EQ(edit->GetText(), "shapes.qfm");
      edit->SetText(file);
      THeadlessInput(F).PressKey(VK_RETURN);
    } else {
      F->SetModalResult(replace);
    }
  };
  THeadlessInput in(Form);
  Form->List()->SetFocus();
  in.PressKey('S', {ssCtrl});
  ASSERT_TRUE(fs::exists(file));
  EXPECT_EQ(Form->Panel()->Message(), "Saved the page as " + file);
  EXPECT_NE(ReadText(file).find("object RedEllipse: TShapeView"), std::string::npos);
  fs::resize_file(file, 0);
  in.Click(Form->SaveButton()->ClientToParent({10, 10}, Form).X,
           Form->SaveButton()->ClientToParent({10, 10}, Form).Y);
  EXPECT_EQ(fs::file_size(file), 0u) << "replaced without asking";
  replace = mrYes;
  Form->SavePageAs();
  EXPECT_GT(fs::file_size(file), 0u);
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Save page as", "Save page as", "Confirm",
                                               "Save page as", "Confirm"}));
  // A file that cannot be made is reported, in the dialog and the message line.
  file = (dir / "missing" / "page.qfm").string();
  dialogs.clear();
  Form->SavePageAs();
  EXPECT_EQ(dialogs, (std::vector<std::string>{"Save page as", "Error"}));
  EXPECT_TRUE(Form->Panel()->MessageIsError());
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// qel-render --form draws a saved page as the gallery shows it: a standard-controls page, a
// component page and the report list.
TEST_F(GalleryShellTest, QelRenderDrawsASavedPageAsTheGalleryShowsIt) {
  namespace fs = std::filesystem;
  const std::string render = std::string(QEL_BINARY_DIR) + "/apps/qel-render";
  ASSERT_TRUE(fs::exists(render)) << render << " is not built";
  fs::path dir = fs::temp_directory_path() / ("qel_saverender_" + std::to_string(getpid()));
  fs::create_directories(dir);
  for (const char* stem : {"widgets", "meter", "replist"}) {
    SCOPED_TRACE(stem);
    Form->ShowPage(PageIndex(stem));
    Application->ProcessMessages();
    std::string file = (dir / (std::string(stem) + ".qfm")).string();
    std::string png = (dir / (std::string(stem) + ".png")).string();
    Form->SavePage(file);
    auto shown = Picture(Form->Page());
    TRunResult r = RunCommand({render, "--form", file, "-o", png}, {"QEL_BACKEND=headless"}, 60000);
    ASSERT_EQ(r.Exit, 0) << r.Output;
    TBitmap drawn;
    drawn.LoadFromFile(png);
    int differ = Differ(*shown, drawn);
    EXPECT_EQ(differ, 0);
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

// The page area: at the default size every page shows whole; at the least size the pages
// wider or taller than the view scroll, by the bars' arrows and track and by the wheel, never
// past the page's edges. The window does not shrink below its least size.
TEST_F(GalleryShellTest, ThePageAreaScrollsPagesLargerThanTheView) {
  TPageArea* area = Form->Area();
  for (int i = 0; i < Form->PageCount(); ++i) {
    Form->ShowPage(i);
    EXPECT_TRUE(area->HorzBarRect().IsEmpty() && area->VertBarRect().IsEmpty())
        << Form->PageSource(i).Stem << " is cut at the default size";
    // The margins: the page keeps clear of the list and the inspector.
    TPoint at = Form->Page()->ClientToParent({0, 0}, Form);
    EXPECT_EQ(at.X, TGalleryForm::kListWidth + TPageArea::kMargin);
    EXPECT_EQ(at.X + Form->Page()->GetWidth() + TPageArea::kMargin, Form->Panel()->GetLeft());
  }
  Form->SetClientWidth(100);
  Form->SetClientHeight(100);
  EXPECT_EQ(Form->ClientWidth(), TGalleryForm::kMinClientWidth);
  EXPECT_EQ(Form->ClientHeight(), Form->MinClientHeight());
  Application->ProcessMessages();

  Form->ShowPage(PageIndex("replist"));
  TSize least = area->Least();
  TRect view = area->ViewRect();
  ASSERT_GT(least.cx + 2 * TPageArea::kMargin, view.Width());
  TRect horz = area->HorzBarRect(), vert = area->VertBarRect();
  ASSERT_FALSE(horz.IsEmpty());
  EXPECT_EQ(area->MaxScroll().X, least.cx + 2 * TPageArea::kMargin - view.Width());
  EXPECT_EQ(Form->Page()->GetWidth(), least.cx);
  THeadlessInput in(Form);
  auto press = [&](TPoint P) {  // area coordinates
    TPoint f = area->ClientToParent(P, Form);
    in.Click(f.X, f.Y);
  };
  struct Case {
    const char* What;
    TPoint At;
    TPoint Expected;
  } cases[] = {
      {"right arrow", {horz.Right - 4, horz.Top + 4}, {TPageArea::kStep, 0}},
      {"left arrow", {horz.Left + 4, horz.Top + 4}, {0, 0}},
      {"track", {horz.Right - TPageArea::kBarSize - 2, horz.Top + 4},
       {std::min(area->MaxScroll().X, view.Width() / TPageArea::kStep * TPageArea::kStep), 0}},
  };
  for (const Case& c : cases) {
    press(c.At);
    EXPECT_EQ(area->ScrollPos(), c.Expected) << c.What;
    EXPECT_EQ(Form->Page()->GetLeft(), TPageArea::kMargin - c.Expected.X) << c.What;
  }
  area->SetScrollPos({1 << 30, 1 << 30});
  EXPECT_EQ(area->ScrollPos(), area->MaxScroll());
  // Scrolled to its far edge, the page's right margin meets the view's edge.
  EXPECT_EQ(Form->Page()->GetLeft() + Form->Page()->GetWidth() + TPageArea::kMargin, view.Width());
  if (!vert.IsEmpty()) {
    area->SetScrollPos({0, 0});
    TPoint f = Form->Page()->ClientToParent({20, 10}, Form);  // on the title band
    Form->InputMouseWheel(-WHEEL_DELTA, {}, f.X, f.Y);
    EXPECT_EQ(area->ScrollPos().Y, std::min(3 * TPageArea::kStep, area->MaxScroll().Y));
  }
  // Back at the default size the page fits again: no bars, nothing scrolled.
  Form->SetClientWidth(TGalleryForm::kDefaultClientWidth);
  Form->SetClientHeight(TGalleryForm::kDefaultClientHeight);
  EXPECT_TRUE(area->HorzBarRect().IsEmpty() && area->VertBarRect().IsEmpty());
  EXPECT_EQ(area->ScrollPos(), (TPoint{0, 0}));
}

}  // namespace
}  // namespace qel::test

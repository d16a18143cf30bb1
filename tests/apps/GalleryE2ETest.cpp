// The gallery in a real window: under a private Xvfb, a click on the page list and a key press
// must change what the window shows; the inspector edits with its keys and drop-down, refused
// values show in our own error dialog, and a huge drawing stays responsive. Skipped where Xvfb,
// xdotool or ImageMagick is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Process.h"
#include "apps/gallery/GalleryForm.h"
#include "platform/backends/headless/Headless.h"
#include "platform/graphics/Graphics.h"

namespace qel::test {
namespace {

namespace fs = std::filesystem;

const std::string kGallery = std::string(QEL_BINARY_DIR) + "/apps/qel-gallery";

// Share of the pixels in R that Pred accepts.
double Share(const TBitmap& B, TRect R, const std::function<bool(TPixel)>& Pred) {
  R = IntersectRect(R, Rect(0, 0, B.GetWidth(), B.GetHeight()));
  if (R.IsEmpty()) return 0;
  int hits = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) hits += Pred(B.ScanLine(y)[x]) ? 1 : 0;
  return static_cast<double>(hits) / (R.Width() * R.Height());
}

bool NearBlack(TPixel P) {
  return ((P >> 16) & 0xFF) < 40 && ((P >> 8) & 0xFF) < 40 && (P & 0xFF) < 40;
}
bool PureRed(TPixel P) { return (P & 0xFFFFFF) == 0xFF0000; }

class GalleryE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"})
      if (!HaveProgram(tool))
        GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
    ASSERT_TRUE(fs::exists(kGallery)) << kGallery << " is not built";
    FDir = fs::temp_directory_path() / ("qel_e2e_" + std::to_string(getpid()));
    fs::create_directories(FDir);
    ASSERT_TRUE(StartX()) << "no free display for Xvfb";
  }
  void TearDown() override {
    FGallery.Stop();
    FX.Stop();
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }

  // Xvfb on the first display number nobody uses; ready once its socket exists.
  bool StartX() {
    for (int n = 90; n < 190; ++n) {
      std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
      if (fs::exists(lock) || fs::exists(sock)) continue;
      if (!FX.Start(
              {"Xvfb", ":" + std::to_string(n), "-screen", "0", "1280x800x24", "-nolisten", "tcp"},
              {}, (FDir / "xvfb.log").string()))
        return false;
      for (int i = 0; i < 250 && FX.Running(); ++i) {
        if (fs::exists(sock)) {
          FDisplay = ":" + std::to_string(n);
          return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
      FX.Stop();  // someone took the number meanwhile: try the next one
    }
    return false;
  }

  std::vector<std::string> Env() const {
    return {"DISPLAY=" + FDisplay, "QEL_BACKEND=sdl", "QEL_NO_DIALOGS=1"};
  }

  TRunResult X(std::vector<std::string> Argv) { return RunCommand(Argv, Env(), 10000); }

  // Screenshots the window until Check accepts one (or the deadline passes); the last one is
  // kept in Shot.
  bool WaitForShot(const std::function<bool(const TBitmap&)>& Check, int TimeoutMs = 6000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
    std::string file = (FDir / "shot.png").string();
    do {
      if (X({"import", "-window", FWindow, "png:" + file}).Exit == 0) {
        try {
          Shot.LoadFromFile(file);
          if (Check(Shot)) return true;
        } catch (const std::exception&) {
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < end);
    return false;
  }

  // Starts the gallery (on Page, when given) and waits for its window; the window's size
  // is what the layout below is computed for.
  void StartGallery(const std::string& Page = "") {
    std::vector<std::string> argv = {kGallery};
    if (!Page.empty()) argv.insert(argv.end(), {"--page", Page});
    ASSERT_TRUE(FGallery.Start(argv, Env(), (FDir / "gallery.log").string()));
    TRunResult search =
        X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "QEL gallery"});
    ASSERT_EQ(search.Exit, 0) << "the gallery window did not appear\n"
                              << ReadText((FDir / "gallery.log").string());
    FWindow = search.Output.substr(0, search.Output.find('\n'));
    ASSERT_TRUE(WaitForShot([](const TBitmap& B) { return B.GetWidth() > 1; }));
    FSize = {Shot.GetWidth(), Shot.GetHeight()};
  }

  // Runs Fn on the gallery laid out headless at the real window's size showing Page: the
  // same code places everything, so its coordinates are the window's.
  template <class F>
  auto Headless(const std::string& Page, F&& Fn) {
    ResetHeadlessApplication();
    RegisterGalleryClasses();
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    form->SetClientWidth(FSize.cx);
    form->SetClientHeight(FSize.cy);
    form->Show();
    for (int i = 0; i < form->PageCount(); ++i)
      if (form->PageSource(i).Stem == Page) form->ShowPage(i);
    Application->ProcessMessages();
    auto result = Fn(form);
    ResetHeadlessApplication();
    return result;
  }
  // The middle of the page list's row for Page.
  TPoint PageRow(const std::string& Page) {
    return Headless(Page, [](TGalleryForm* F) {
      TRect r = F->List()->ItemRect(F->CurrentPage());
      return F->List()->ClientToParent({r.Left + 40, (r.Top + r.Bottom) / 2}, F);
    });
  }
  // Component Name of Page in window coordinates (empty when there is none).
  TRect ControlRect(const std::string& Page, const std::string& Name) {
    return Headless(Page, [&Name](TGalleryForm* F) {
      auto* c = dynamic_cast<TControl*>(F->Page()->FindComponent(Name));
      if (!c) return TRect{};
      TPoint at = c->ClientToParent({0, 0}, F);
      return Rect(at.X, at.Y, at.X + c->GetWidth(), at.Y + c->GetHeight());
    });
  }
  // Where the inspector shows row Path of the first component of Page (in the value column).
  TPoint InspectorRow(const std::string& Page, const std::string& Path) {
    return Headless(Page, [&Path](TGalleryForm* F) {
      TPropertyPanel* panel = F->Panel();
      for (int i = 0; i < panel->RowCount(); ++i)
        if (panel->RowPath(i) == Path) {
          panel->SetRowIndex(i);
          TRect r = panel->RowRect(i);
          return panel->ClientToParent({r.Right - 40, (r.Top + r.Bottom) / 2}, F);
        }
      return TPoint{-1, -1};
    });
  }
  // The window of our own dialog captioned Caption, or "" when none shows within the wait.
  std::string DialogWindow(const std::string& Caption) {
    TRunResult r = X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + Caption + "$"});
    return r.Exit == 0 ? r.Output.substr(0, r.Output.find('\n')) : std::string();
  }
  bool DialogGone(const std::string& Caption) {
    for (int i = 0; i < 50; ++i) {
      if (X({"xdotool", "search", "--onlyvisible", "--name", "^" + Caption + "$"}).Exit != 0)
        return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  void Click(TPoint P) {
    ASSERT_EQ(X({"xdotool", "mousemove", "--window", FWindow, std::to_string(P.X),
                 std::to_string(P.Y), "click", "1"})
                  .Exit,
              0);
  }

  fs::path FDir;
  TChild FX;
  TChild FGallery;
  std::string FDisplay;
  std::string FWindow;
  TBitmap Shot;
  TSize FSize{0, 0};
};

// The middle of R, Half pixels each way.
TRect Centre(const TRect& R, int HalfW, int HalfH) {
  TPoint c{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  return Rect(c.X - HalfW, c.Y - HalfH, c.X + HalfW, c.Y + HalfH);
}

// Whether B shows Expected at R (window coordinates), pixel for pixel.
bool Shows(const TBitmap& B, const TBitmap& Expected, TPoint At) {
  if (At.X + Expected.GetWidth() > B.GetWidth() || At.Y + Expected.GetHeight() > B.GetHeight())
    return false;
  for (int y = 0; y < Expected.GetHeight(); ++y)
    for (int x = 0; x < Expected.GetWidth(); ++x)
      if ((B.ScanLine(At.Y + y)[At.X + x] & 0xFFFFFF) != (Expected.ScanLine(y)[x] & 0xFFFFFF))
        return false;
  return true;
}

// A click on the page list and a key press change what the window shows. Where things are is
// taken from the gallery laid out headless at the window's size.
TEST_F(GalleryE2E, ClickAndKeyChangeThePage) {
  StartGallery();
  // The middle of the fast orbit: black on the animation page, light panels on the drawing page.
  const TRect probe = Centre(ControlRect("animation", "FastOrbit"), 40, 30);
  const TRect ellipse = ControlRect("shapes", "RedEllipse");
  const TRect red = Rect(ellipse.Left + 50, ellipse.Top + 15, ellipse.Right - 50, ellipse.Top + 45);
  ASSERT_FALSE(probe.IsEmpty() || ellipse.IsEmpty());
  ASSERT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, probe, NearBlack) < 0.3; }))
      << "no drawing page at start";

  Click(PageRow("animation"));
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, probe, NearBlack) > 0.9; }))
      << "the click did not show the animation page";

  // The list has the focus now; Down moves to "Shapes" with its red ellipse.
  X({"xdotool", "windowfocus", "--sync", FWindow});
  ASSERT_EQ(X({"xdotool", "key", "Down"}).Exit, 0);
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, red, PureRed) > 0.8; }))
      << "the key did not show the shapes page";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// The colour dialog in a real modal loop: a swatch and Enter colour the sample panel; then the
// keyboard must be back in the gallery (Alt+C opens the dialog again), and Esc leaves the panel.
// In the dialog the basic red swatch is at (18, 76).
TEST_F(GalleryE2E, ColourDialogRunsModallyAndGivesTheKeysBack) {
  StartGallery("dialogs");
  const TRect panel = Centre(ControlRect("dialogs", "SamplePanel"), 40, 12);
  const TRect pick = ControlRect("dialogs", "PickButton");
  ASSERT_FALSE(panel.IsEmpty() || pick.IsEmpty());
  auto red = [&](const TBitmap& B) { return Share(B, panel, PureRed) > 0.9; };
  ASSERT_TRUE(WaitForShot([&](const TBitmap& B) { return !red(B); }));

  auto dialogWindow = [&] { return DialogWindow("Color"); };
  Click(Centre(pick, 0, 0).TopLeft());
  std::string dialog = dialogWindow();
  ASSERT_FALSE(dialog.empty()) << "the colour dialog did not open";
  ASSERT_EQ(X({"xdotool", "mousemove", "--window", dialog, "18", "76", "click", "1"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  EXPECT_TRUE(WaitForShot(red)) << "OK did not colour the panel";

  // No click in between: the closed dialog must have handed the keyboard back.
  ASSERT_EQ(X({"xdotool", "key", "alt+c"}).Exit, 0);
  dialog = dialogWindow();
  ASSERT_FALSE(dialog.empty()) << "Alt+C did not reach the gallery after the dialog";
  ASSERT_EQ(X({"xdotool", "key", "Escape"}).Exit, 0);
  EXPECT_TRUE(DialogGone("Color")) << "Esc did not end the dialog";
  EXPECT_TRUE(WaitForShot(red)) << "Esc changed the panel";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// A click selects a component on every page: the inspector's component list then shows what
// the same click shows headless. The component is the last one the page owns that a click
// selects without opening anything (found headless, so new pages are covered as they come).
TEST_F(GalleryE2E, AClickSelectsAComponentOnEveryPage) {
  StartGallery();
  struct TTarget {
    std::string Page, Name;
    TPoint Row;        // the page's row in the page list
    TPoint At;         // the click
    TPoint ListAt;     // the inspector's component list, window coordinates
    std::shared_ptr<TBitmap> Expected;  // the list as the click leaves it
    TPoint TitleAt;                     // the page's title band, window coordinates
    std::shared_ptr<TBitmap> Title;
  };
  std::vector<TTarget> targets;
  std::string single;  // the pages of one component: nothing else to select
  std::vector<std::string> stems = Headless("", [](TGalleryForm* F) {
    std::vector<std::string> s;
    for (int i = 0; i < F->PageCount(); ++i) s.push_back(F->PageSource(i).Stem);
    return s;
  });
  for (const std::string& stem : stems) {
    Headless(stem, [&](TGalleryForm* F) {
      int dialogs = 0;
      Application->OnModalShow = [&dialogs](TForm* D) {
        ++dialogs;
        D->SetModalResult(mrCancel);
      };
      TGalleryPage* page = F->Page();
      if (page->ComponentCount() < 2) single += " " + stem;
      for (int k = page->ComponentCount() - 1; k > 0; --k) {
        auto* c = dynamic_cast<TControl*>(page->Components(k));
        if (!c || !c->GetVisible() || c->GetWidth() < 6 || c->GetHeight() < 6) continue;
        TPoint at = c->ClientToParent({c->GetWidth() / 2, c->GetHeight() / 2}, F);
        if (!F->Area()->ViewRect().Contains(F->Area()->ParentToClient(at, F))) continue;
        TPropertyPanel* panel = F->Panel();
        TPoint titleAt = page->ClientToParent({0, 0}, F);
        auto title = std::make_shared<TBitmap>(page->GetWidth(), TGalleryPage::kTitleHeight);
        {
          TBitmap whole(F->GetWidth(), F->GetHeight());
          F->PaintTo(&whole);
          title->Canvas()->CopyRect(Rect(0, 0, title->GetWidth(), title->GetHeight()),
                                    whole.Canvas(),
                                    Rect(titleAt.X, titleAt.Y, titleAt.X + title->GetWidth(),
                                         titleAt.Y + title->GetHeight()));
        }
        F->SelectComponent(page->Components(0));
        dialogs = 0;
        THeadlessInput in(F);
        in.Click(at.X, at.Y);
        Application->ProcessMessages();
        if (dialogs > 0 || F->CaptureControl() || panel->Subject() != c) continue;
        TComboBox* list = panel->ComponentList();
        TRect row = F->List()->ItemRect(F->CurrentPage());
        TPoint rowAt = F->List()->ClientToParent({row.Left + 40, (row.Top + row.Bottom) / 2}, F);
        TTarget t{stem, c->GetName(), rowAt, at, list->ClientToParent({0, 0}, F), {}, titleAt, title};
        TBitmap whole(F->GetWidth(), F->GetHeight());
        F->PaintTo(&whole);
        t.Expected = std::make_shared<TBitmap>(list->GetWidth(), list->GetHeight());
        t.Expected->Canvas()->CopyRect(Rect(0, 0, list->GetWidth(), list->GetHeight()), whole.Canvas(),
                                      Rect(t.ListAt.X, t.ListAt.Y, t.ListAt.X + list->GetWidth(),
                                           t.ListAt.Y + list->GetHeight()));
        targets.push_back(std::move(t));
        break;
      }
      Application->OnModalShow = nullptr;
      return 0;
    });
  }
  std::string missing;
  for (const std::string& stem : stems)
    if (std::none_of(targets.begin(), targets.end(), [&](const TTarget& t) { return t.Page == stem; }))
      missing += " " + stem;
  EXPECT_EQ(missing, single) << "pages without a component a click selects";
  for (const TTarget& t : targets) {
    SCOPED_TRACE(t.Page + "/" + t.Name);
    Click(t.Row);
    ASSERT_TRUE(WaitForShot([&](const TBitmap& B) { return Shows(B, *t.Title, t.TitleAt); }))
        << "the page did not show";
    Click(t.At);
    EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Shows(B, *t.Expected, t.ListAt); }))
        << "the inspector does not show " << t.Name;
  }
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// The inspector chooses an enumeration from its drop-down: a click selects the row, Enter opens
// its list, Down and Enter choose the next value, and the page shows it.
TEST_F(GalleryE2E, TheInspectorChoosesAnEnumFromItsDropDown) {
  StartGallery("shapes");
  TPoint row = InspectorRow("shapes", "Shape");
  ASSERT_GE(row.X, 0);
  const TRect ellipse = ControlRect("shapes", "RedEllipse");
  std::shared_ptr<TBitmap> expected = Headless("shapes", [&](TGalleryForm* F) {
    dynamic_cast<TShapeView*>(F->Page()->FindComponent("RedEllipse"))->SetShape(skRoundRect);
    TBitmap whole(F->GetWidth(), F->GetHeight());
    F->PaintTo(&whole);
    auto b = std::make_shared<TBitmap>(ellipse.Width(), ellipse.Height());
    b->Canvas()->CopyRect(Rect(0, 0, ellipse.Width(), ellipse.Height()), whole.Canvas(), ellipse);
    return b;
  });
  Click(row);
  ASSERT_EQ(X({"xdotool", "key", "--delay", "60", "Return", "Down", "Return"}).Exit, 0);
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Shows(B, *expected, ellipse.TopLeft()); }))
      << "the ellipse did not become a rounded rectangle";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// A refused value in the inspector shows the error dialog; Enter closes it and the keys are the
// inspector's again (Home and typing edit the value, Enter applies it).
TEST_F(GalleryE2E, ARefusedValueShowsTheErrorDialogAndEnterClosesIt) {
  StartGallery("shapes");
  TPoint width = InspectorRow("shapes", "Width");
  ASSERT_GE(width.X, 0);
  Click(width);
  ASSERT_EQ(X({"xdotool", "type", "--delay", "30", "wide"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  std::string dialog = DialogWindow("Error");
  ASSERT_FALSE(dialog.empty()) << "no error dialog for a refused value";
  ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  EXPECT_TRUE(DialogGone("Error")) << "Enter did not close the error dialog";
  // Back in the edit: Home, then a digit before the refused text, still refused; Esc ends it.
  ASSERT_EQ(X({"xdotool", "key", "ctrl+a"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "type", "--delay", "30", "150"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "key", "Home"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "type", "--delay", "30", "2"}).Exit, 0);
  ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  EXPECT_TRUE(DialogGone("Error")) << "2150 was refused";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// The drawing demo made as wide as a control may be keeps the window responsive: the next page
// shows at once.
TEST_F(GalleryE2E, AHugeDrawingStaysResponsive) {
  StartGallery("drawing");
  TPoint align = InspectorRow("drawing", "Align"), width = InspectorRow("drawing", "Width");
  ASSERT_GE(width.X, 0);
  for (auto [at, text] : {std::pair{align, "alNone"}, std::pair{width, "4194304"}}) {
    Click(at);
    ASSERT_EQ(X({"xdotool", "type", "--delay", "30", text}).Exit, 0);
    ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  }
  EXPECT_TRUE(DialogGone("Error")) << "a value was refused";
  const TRect probe = Centre(ControlRect("animation", "FastOrbit"), 40, 30);
  Click(PageRow("animation"));
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, probe, NearBlack) > 0.9; }))
      << "the window stopped answering";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

}  // namespace
}  // namespace qel::test

// The gallery in a real window: under a private Xvfb, a click on the page list and a key press
// must change what the window shows; the inspector edits with its keys and drop-down, refused
// values show in our own error dialog, and a huge drawing stays responsive. Skipped where Xvfb,
// xdotool or ImageMagick is missing.
#include <gtest/gtest.h>

#include <functional>

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

  // Starts the gallery on Page and waits for its window.
  void StartGallery(const std::string& Page) {
    ASSERT_TRUE(FGallery.Start({kGallery, "--page", Page}, Env(), (FDir / "gallery.log").string()));
    TRunResult search =
        X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "QEL gallery"});
    ASSERT_EQ(search.Exit, 0) << ReadText((FDir / "gallery.log").string());
    FWindow = search.Output.substr(0, search.Output.find('\n'));
    ASSERT_TRUE(WaitForShot([](const TBitmap& B) { return B.GetWidth() == 1000; }));
  }
  // Where the inspector shows row Path of the first component of Page (window coordinates, in
  // the value column), laid out by the same code headless.
  static TPoint InspectorRow(const std::string& Page, const std::string& Path) {
    ResetHeadlessApplication();
    RegisterGalleryClasses();
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    TPoint at{-1, -1};
    for (int i = 0; i < form->PageCount(); ++i)
      if (form->PageSource(i).Stem == Page) form->ShowPage(i);
    TPropertyPanel* panel = form->Panel();
    for (int i = 0; i < panel->RowCount(); ++i)
      if (panel->RowPath(i) == Path) {
        panel->SetRowIndex(i);
        TRect r = panel->RowRect(i);
        at = {panel->GetLeft() + r.Right - 40, panel->GetTop() + (r.Top + r.Bottom) / 2};
      }
    ResetHeadlessApplication();
    return at;
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
};

// Window coordinates of the gallery: page list 0..160, page 160..720 (title band 40 high),
// property panel 720..1000; rows of the page list start at 28 and are 24 high.
TEST_F(GalleryE2E, ClickAndKeyChangeThePage) {
  ASSERT_TRUE(FGallery.Start({kGallery}, Env(), (FDir / "gallery.log").string()));
  TRunResult search = X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "QEL gallery"});
  ASSERT_EQ(search.Exit, 0) << "the gallery window did not appear\n"
                            << ReadText((FDir / "gallery.log").string());
  FWindow = search.Output.substr(0, search.Output.find('\n'));

  // The drawing page first: its lower middle is light panels, not black.
  const TRect probe = Rect(540, 500, 700, 600);
  ASSERT_TRUE(WaitForShot([&](const TBitmap& B) {
    return B.GetWidth() == 1000 && B.GetHeight() == 680 && Share(B, probe, NearBlack) < 0.3;
  })) << "no drawing page at start";

  // A click on "Animation": the orbit's black background fills the probe.
  ASSERT_EQ(X({"xdotool", "mousemove", "--window", FWindow, "80", "64", "click", "1"}).Exit, 0);
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, probe, NearBlack) > 0.9; }))
      << "the click did not show the animation page";

  // The list has the focus now; Down moves to "Shapes" with its red ellipse.
  X({"xdotool", "windowfocus", "--sync", FWindow});
  ASSERT_EQ(X({"xdotool", "key", "Down"}).Exit, 0);
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) {
    return Share(B, Rect(230, 110, 330, 150), PureRed) > 0.8;
  })) << "the key did not show the shapes page";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// The colour dialog in a real modal loop: a swatch and Enter colour the sample panel; then the
// keyboard must be back in the gallery (Alt+C opens the dialog again), and Esc leaves the panel.
// Window coordinates: the sample panel spans 188..428 x 176..286, "Choose colour..." is at
// (510, 188); in the dialog the basic red swatch is at (18, 76).
TEST_F(GalleryE2E, ColourDialogRunsModallyAndGivesTheKeysBack) {
  ASSERT_TRUE(FGallery.Start({kGallery, "--page", "dialogs"}, Env(),
                             (FDir / "gallery.log").string()));
  TRunResult search = X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "QEL gallery"});
  ASSERT_EQ(search.Exit, 0) << ReadText((FDir / "gallery.log").string());
  FWindow = search.Output.substr(0, search.Output.find('\n'));
  const TRect panel = Rect(195, 180, 290, 210);
  auto red = [&](const TBitmap& B) { return Share(B, panel, PureRed) > 0.9; };
  ASSERT_TRUE(WaitForShot([&](const TBitmap& B) { return B.GetWidth() == 1000 && !red(B); }));

  auto dialogWindow = [&] {
    TRunResult r = X({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Color$"});
    return r.Exit == 0 ? r.Output.substr(0, r.Output.find('\n')) : std::string();
  };
  ASSERT_EQ(X({"xdotool", "mousemove", "--window", FWindow, "510", "188", "click", "1"}).Exit, 0);
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
  bool gone = false;
  for (int i = 0; i < 50 && !gone; ++i) {
    gone = X({"xdotool", "search", "--onlyvisible", "--name", "^Color$"}).Exit != 0;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_TRUE(gone) << "Esc did not end the dialog";
  EXPECT_TRUE(WaitForShot(red)) << "Esc changed the panel";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

// A refused value in the inspector shows the error dialog; Enter closes it and the keys are the
// inspector's again (Home and typing edit the value, Enter applies it).
TEST_F(GalleryE2E, ARefusedValueShowsTheErrorDialogAndEnterClosesIt) {
  TPoint width = InspectorRow("shapes", "Width");
  ASSERT_GE(width.X, 0);
  StartGallery("shapes");
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
  TPoint align = InspectorRow("drawing", "Align"), width = InspectorRow("drawing", "Width");
  ASSERT_GE(width.X, 0);
  StartGallery("drawing");
  for (auto [at, text] : {std::pair{align, "alNone"}, std::pair{width, "4194304"}}) {
    Click(at);
    ASSERT_EQ(X({"xdotool", "type", "--delay", "30", text}).Exit, 0);
    ASSERT_EQ(X({"xdotool", "key", "Return"}).Exit, 0);
  }
  EXPECT_TRUE(DialogGone("Error")) << "a value was refused";
  const TRect probe = Rect(540, 500, 690, 600);
  Click({80, 64});  // "Animation"
  EXPECT_TRUE(WaitForShot([&](const TBitmap& B) { return Share(B, probe, NearBlack) > 0.9; }))
      << "the window stopped answering";
  EXPECT_TRUE(FGallery.Running()) << ReadText((FDir / "gallery.log").string());
}

}  // namespace
}  // namespace qel::test

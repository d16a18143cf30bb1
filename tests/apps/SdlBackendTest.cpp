// The SDL backend on SDL's dummy video driver (no display needed): synthetic SDL events must
// arrive as the framework's keys, characters, mouse and window changes; clipboard and clock
// work.
#if QEL_HAVE_SDL
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/backends/headless/Headless.h"
#include "platform/backends/sdl/SdlBackend.h"
#include "platform/controls/Forms.h"

namespace qel::test {
namespace {

// Records what reaches it.
class TProbe : public TCustomControl {
 public:
  explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) { SetTabStop(true); }
  std::vector<std::string> Log;
  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    Log.push_back("down " + std::to_string(Key) + (Shift.Contains(ssShift) ? " shift" : ""));
  }
  void KeyPress(char32_t& Key) override {
    Log.push_back("char " + std::to_string(static_cast<uint32_t>(Key)));
  }
  void MouseDown(TMouseButton Button, TShiftState, int X, int Y) override {
    Log.push_back("mouse " + std::to_string(Button) + " " + std::to_string(X) + "," +
                  std::to_string(Y));
  }
  bool DoMouseWheel(TShiftState, int Delta, TPoint) override {
    Log.push_back("wheel " + std::to_string(Delta));
    return true;
  }
};

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    try {
      Application->ResetServices(std::make_unique<TSdlBackend>());
    } catch (const Exception& e) {
      GTEST_SKIP() << "SDL cannot start here: " << e.Message;
    }
    Form = new TForm(Application);
    Form->SetBounds(0, 0, 200, 100);
    Probe = new TProbe(Form);
    Probe->SetParent(Form);
    Probe->SetBounds(10, 10, 100, 50);
    Form->Show();
    Form->SetActiveControl(Probe);
    Application->ProcessMessages();
    Window = SDL_GetWindowID(SDL_GetKeyboardFocus());
    for (uint32_t id = 1; !Window && id < 16; ++id)
      if (SDL_GetWindowFromID(id)) Window = id;
    ASSERT_NE(Window, 0u);
  }
  void TearDown() override { ResetHeadlessApplication(); }

  void Push(SDL_Event E) {
    SDL_PushEvent(&E);
    Application->ProcessMessages();
  }
  void Key(SDL_Keycode K, bool Down, uint16_t Mod = KMOD_NONE) {
    SDL_SetModState(static_cast<SDL_Keymod>(Mod));
    SDL_Event e{};
    e.type = Down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = Window;
    e.key.keysym.sym = K;
    e.key.keysym.mod = Mod;
    Push(e);
  }
  void Text(const char* S) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = Window;
    std::snprintf(e.text.text, sizeof e.text.text, "%s", S);
    Push(e);
  }

  TForm* Form = nullptr;
  TProbe* Probe = nullptr;
  uint32_t Window = 0;
};

TEST_F(SdlBackendTest, KeysAndTextBecomeKeyDownAndCharacters) {
  Key(SDLK_a, true, KMOD_LSHIFT);
  Text("A");
  Key(SDLK_a, false, KMOD_LSHIFT);
  Key(SDLK_RETURN, true);  // no text event comes for Enter: the character is made from the key
  Key(SDLK_F5, true);
  Text("ü€");  // an input method's text, one character per code point
  Key(SDLK_c, true, KMOD_LCTRL);
  Text("c");  // text typed with Ctrl is a shortcut, not a character
  SDL_SetModState(KMOD_NONE);
  std::vector<std::string> expected = {"down 65 shift", "char 65",  "down 13",
                                       "char 13",       "down 116", "char 252",
                                       "char 8364",     "down 67",  "char 3"};
  EXPECT_EQ(Probe->Log, expected);
}

TEST_F(SdlBackendTest, MouseAndWheelReachTheControlUnderThePointer) {
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = Window;
  e.button.button = SDL_BUTTON_RIGHT;
  e.button.x = 30;
  e.button.y = 25;
  Push(e);
  e.type = SDL_MOUSEBUTTONUP;
  Push(e);
  SDL_Event w{};
  w.type = SDL_MOUSEWHEEL;
  w.wheel.windowID = Window;
  w.wheel.y = -2;
  w.wheel.mouseX = 30;
  w.wheel.mouseY = 25;
  Push(w);
  std::vector<std::string> expected = {"mouse 1 20,15", "wheel -240"};
  EXPECT_EQ(Probe->Log, expected);
}

TEST_F(SdlBackendTest, WindowEventsResizeAndCloseTheForm) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = Window;
  e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
  e.window.data1 = 320;
  e.window.data2 = 240;
  Push(e);
  EXPECT_EQ(Form->GetWidth(), 320);
  EXPECT_EQ(Form->Surface()->GetHeight(), 240);
  bool asked = false;
  Form->OnCloseQuery = [&](TObject*, bool& CanClose) {
    asked = true;
    CanClose = false;
  };
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  Push(e);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(Form->GetVisible());
}

TEST_F(SdlBackendTest, ClipboardClockAndCursor) {
  Clipboard()->SetAsText("grüße");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetAsText(), "grüße");
  int64_t t0 = GetTickCount();
  SDL_Delay(20);
  EXPECT_GE(GetTickCount() - t0, 15);
  Screen->SetCursor(crHourGlass);  // must not fail on a driver without cursors
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Application->Backend()->Name(), "sdl");
}

}  // namespace
}  // namespace qel::test
#endif

#include "platform/backends/sdl/SdlBackend.h"

#include <SDL.h>

#include <cstdio>

#include "platform/controls/Forms.h"

namespace qel {

namespace {

TShiftState ModState() {
  TShiftState s;
  SDL_Keymod m = SDL_GetModState();
  if (m & KMOD_SHIFT) s << ssShift;
  if (m & KMOD_CTRL) s << ssCtrl;
  if (m & KMOD_ALT) s << ssAlt;
  return s;
}

TShiftState FullShiftState() {
  TShiftState s = ModState();
  uint32_t b = SDL_GetMouseState(nullptr, nullptr);
  if (b & SDL_BUTTON_LMASK) s << ssLeft;
  if (b & SDL_BUTTON_RMASK) s << ssRight;
  if (b & SDL_BUTTON_MMASK) s << ssMiddle;
  return s;
}

bool ToButton(uint8_t SdlButton, TMouseButton& B) {
  switch (SdlButton) {
    case SDL_BUTTON_LEFT:
      B = mbLeft;
      return true;
    case SDL_BUTTON_RIGHT:
      B = mbRight;
      return true;
    case SDL_BUTTON_MIDDLE:
      B = mbMiddle;
      return true;
    default:
      return false;
  }
}

// The classic virtual key of an SDL key (layout-aware for letters and digits); 0 when none.
uint16_t ToVirtualKey(SDL_Keycode K) {
  if (K >= SDLK_a && K <= SDLK_z) return static_cast<uint16_t>('A' + (K - SDLK_a));
  if (K >= SDLK_0 && K <= SDLK_9) return static_cast<uint16_t>('0' + (K - SDLK_0));
  if (K >= SDLK_F1 && K <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (K - SDLK_F1));
  if (K >= SDLK_KP_1 && K <= SDLK_KP_9) return static_cast<uint16_t>(VK_NUMPAD1 + (K - SDLK_KP_1));
  switch (K) {
    case SDLK_KP_0:
      return VK_NUMPAD0;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_END:
      return VK_END;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_LGUI:
      return VK_LWIN;
    case SDLK_RGUI:
      return VK_RWIN;
    case SDLK_APPLICATION:
      return VK_APPS;
    case SDLK_PAUSE:
      return VK_PAUSE;
    case SDLK_CAPSLOCK:
      return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDLK_SCROLLLOCK:
      return VK_SCROLL;
    case SDLK_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDLK_HELP:
      return VK_HELP;
    case SDLK_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDLK_KP_PLUS:
      return VK_ADD;
    case SDLK_KP_MINUS:
      return VK_SUBTRACT;
    case SDLK_KP_PERIOD:
      return VK_DECIMAL;
    case SDLK_KP_DIVIDE:
      return VK_DIVIDE;
    case SDLK_SEMICOLON:
      return VK_OEM_1;
    case SDLK_EQUALS:
      return VK_OEM_PLUS;
    case SDLK_COMMA:
      return VK_OEM_COMMA;
    case SDLK_MINUS:
      return VK_OEM_MINUS;
    case SDLK_PERIOD:
      return VK_OEM_PERIOD;
    case SDLK_SLASH:
      return VK_OEM_2;
    case SDLK_BACKQUOTE:
      return VK_OEM_3;
    case SDLK_LEFTBRACKET:
      return VK_OEM_4;
    case SDLK_BACKSLASH:
      return VK_OEM_5;
    case SDLK_RIGHTBRACKET:
      return VK_OEM_6;
    case SDLK_QUOTE:
      return VK_OEM_7;
    default:
      return 0;
  }
}

SDL_SystemCursor ToSystemCursor(TCursor C) {
  switch (C) {
    case crCross:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crIBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case crSizeNESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNS:
    case crVSplit:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeNWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crSizeWE:
    case crHSplit:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case crHourGlass:
    case crSQLWait:
      return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStart:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    case crNo:
    case crNoDrop:
      return SDL_SYSTEM_CURSOR_NO;
    case crHandPoint:
      return SDL_SYSTEM_CURSOR_HAND;
    case crSizeAll:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

// Decodes one UTF-8 code point at S (advancing it); malformed bytes come out as U+FFFD.
char32_t NextCodePoint(const char*& S) {
  auto u = static_cast<unsigned char>(*S++);
  if (u < 0x80) return u;
  int extra = u >= 0xF0 ? 3 : u >= 0xE0 ? 2 : u >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = u & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    auto c = static_cast<unsigned char>(*S);
    if ((c & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (c & 0x3F);
    ++S;
  }
  return cp;
}

}  // namespace

TSdlBackend::TSdlBackend() {
  // The software renderer presents through the window surface, which works on every X server
  // (Xvfb included); an SDL_RENDER_DRIVER set in the environment still wins.
  SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) throw Exception(std::string("SDL: ") + SDL_GetError());
  SDL_StartTextInput();
  FStart = SDL_GetTicks64();
}

TSdlBackend::~TSdlBackend() {
  for (auto& [form, w] : FWindows) {
    if (w.Texture) SDL_DestroyTexture(w.Texture);
    if (w.Renderer) SDL_DestroyRenderer(w.Renderer);
    if (w.Window) SDL_DestroyWindow(w.Window);
  }
  for (SDL_Cursor* c : FCursors)
    if (c) SDL_FreeCursor(c);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
}

int64_t TSdlBackend::TickCount() { return static_cast<int64_t>(SDL_GetTicks64() - FStart); }

bool TSdlBackend::WaitForEvents(int TimeoutMs) {
  if (TimeoutMs == 0) {
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0;
  }
  if (TimeoutMs < 0) return SDL_WaitEvent(nullptr) == 1;
  return SDL_WaitEventTimeout(nullptr, TimeoutMs) == 1;
}

void TSdlBackend::PumpEvents() {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    try {
      Dispatch(e);
    } catch (...) {
      Application->HandleException(nullptr);
    }
  }
}

TForm* TSdlBackend::FormOfWindow(uint32_t WindowID) const {
  SDL_Window* w = SDL_GetWindowFromID(WindowID);
  if (!w) return nullptr;
  for (const auto& [form, win] : FWindows)
    if (win.Window == w) return form;
  return nullptr;
}

bool TSdlBackend::AcceptsInput(TForm* Form) const {
  TForm* modal = Application->ModalForm();
  return Form && (!modal || modal == Form);
}

void TSdlBackend::Dispatch(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      if (TForm* main = Application->GetMainForm())
        main->NativeCloseRequest();
      else
        Application->Terminate();
      return;
    case SDL_WINDOWEVENT: {
      TForm* f = FormOfWindow(e.window.windowID);
      if (!f) return;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          if (AcceptsInput(f)) f->NativeCloseRequest();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          f->NativeResized(e.window.data1, e.window.data2);
          break;
        case SDL_WINDOWEVENT_MOVED:
          f->NativeMoved(e.window.data1, e.window.data2);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (TForm* modal = Application->ModalForm(); modal && modal != f) {
            if (auto it = FWindows.find(modal); it != FWindows.end())
              SDL_RaiseWindow(it->second.Window);
          } else {
            f->NativeActivated();
          }
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Also when another of our windows takes the focus: its FOCUS_GAINED activates it.
          f->NativeDeactivated();
          break;
        case SDL_WINDOWEVENT_LEAVE:
          f->InputMouseLeave();
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          if (auto it = FWindows.find(f); it != FWindows.end()) Redraw(it->second);
          break;
        default:
          break;
      }
      return;
    }
    case SDL_MOUSEMOTION: {
      TForm* f = FormOfWindow(e.motion.windowID);
      if (AcceptsInput(f)) f->InputMouseMove(FullShiftState(), e.motion.x, e.motion.y);
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      TForm* f = FormOfWindow(e.button.windowID);
      TMouseButton b;
      if (!ToButton(e.button.button, b)) return;
      if (!AcceptsInput(f)) {
        if (TForm* modal = Application->ModalForm())
          if (auto it = FWindows.find(modal); it != FWindows.end())
            SDL_RaiseWindow(it->second.Window);
        return;
      }
      if (e.type == SDL_MOUSEBUTTONDOWN)
        f->InputMouseDown(b, FullShiftState(), e.button.x, e.button.y);
      else
        f->InputMouseUp(b, FullShiftState(), e.button.x, e.button.y);
      return;
    }
    case SDL_MOUSEWHEEL: {
      TForm* f = FormOfWindow(e.wheel.windowID);
      if (!AcceptsInput(f) || e.wheel.y == 0) return;
      int dy = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      f->InputMouseWheel(dy * WHEEL_DELTA, FullShiftState(), e.wheel.mouseX, e.wheel.mouseY);
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      TForm* f = FormOfWindow(e.key.windowID);
      uint16_t key = ToVirtualKey(e.key.keysym.sym);
      if (!AcceptsInput(f) || key == 0) return;
      TShiftState shift = ModState();
      if (e.type == SDL_KEYUP) {
        f->InputKeyUp(key, shift);
        return;
      }
      FSuppressText = f->InputKeyDown(key, shift);
      // SDL sends no text for Enter, Tab, Backspace, Escape and Ctrl+letter; the framework's
      // controls expect those characters, so they are made here from the key.
      char32_t ch = KeyToChar(key, shift);
      if (!FSuppressText && ch != 0 && (ch < 0x20 || ch == 0x7F)) f->InputChar(ch, shift);
      return;
    }
    case SDL_TEXTINPUT: {
      TForm* f = FormOfWindow(e.text.windowID);
      bool suppress = FSuppressText;
      FSuppressText = false;
      TShiftState shift = ModState();
      // Text typed with Ctrl held is a shortcut, handled as a key above.
      if (!AcceptsInput(f) || suppress || (shift.Contains(ssCtrl) && !shift.Contains(ssAlt)))
        return;
      for (const char* p = e.text.text; *p;) f->InputChar(NextCodePoint(p), shift);
      return;
    }
    default:
      return;
  }
}

void TSdlBackend::CreateNativeWindow(TForm* Form) {
  if (FWindows.count(Form)) return;
  uint32_t flags = SDL_WINDOW_HIDDEN;
  TFormBorderStyle bs = Form->GetBorderStyle();
  if (bs == bsSizeable || bs == bsSizeToolWin) flags |= SDL_WINDOW_RESIZABLE;
  if (bs == bsNone) flags |= SDL_WINDOW_BORDERLESS;
  int w = Form->GetWidth() > 0 ? Form->GetWidth() : 1;
  int h = Form->GetHeight() > 0 ? Form->GetHeight() : 1;
  TWindow win;
  win.Window =
      SDL_CreateWindow(Form->GetCaption().c_str(), Form->GetLeft(), Form->GetTop(), w, h, flags);
  if (!win.Window) throw EOutOfResources(std::string("SDL: ") + SDL_GetError());
  win.Renderer = SDL_CreateRenderer(win.Window, -1, 0);
  if (!win.Renderer) win.Renderer = SDL_CreateRenderer(win.Window, -1, SDL_RENDERER_SOFTWARE);
  if (!win.Renderer) {
    std::string err = SDL_GetError();
    SDL_DestroyWindow(win.Window);
    throw EOutOfResources("SDL: " + err);
  }
  FWindows[Form] = win;
  SetNativeMinSize(Form, Form->GetMinSize());
}

void TSdlBackend::SetNativeMinSize(TForm* Form, TSize Size) {
  auto it = FWindows.find(Form);
  if (it != FWindows.end() && Size.cx > 0 && Size.cy > 0)
    SDL_SetWindowMinimumSize(it->second.Window, Size.cx, Size.cy);
}

void TSdlBackend::DestroyNativeWindow(TForm* Form) {
  auto it = FWindows.find(Form);
  if (it == FWindows.end()) return;
  if (it->second.Texture) SDL_DestroyTexture(it->second.Texture);
  SDL_DestroyRenderer(it->second.Renderer);
  SDL_DestroyWindow(it->second.Window);
  FWindows.erase(it);
}

void TSdlBackend::ShowNativeWindow(TForm* Form, bool Visible) {
  auto it = FWindows.find(Form);
  if (it == FWindows.end()) return;
  if (Visible) {
    SDL_ShowWindow(it->second.Window);
    SDL_RaiseWindow(it->second.Window);
  } else {
    SDL_HideWindow(it->second.Window);
  }
}

void TSdlBackend::SetNativeBounds(TForm* Form, const TRect& Bounds) {
  auto it = FWindows.find(Form);
  if (it == FWindows.end()) return;
  SDL_SetWindowPosition(it->second.Window, Bounds.Left, Bounds.Top);
  SDL_SetWindowSize(it->second.Window, Bounds.Width() > 0 ? Bounds.Width() : 1,
                    Bounds.Height() > 0 ? Bounds.Height() : 1);
}

void TSdlBackend::SetNativeCaption(TForm* Form, const std::string& Caption) {
  auto it = FWindows.find(Form);
  if (it != FWindows.end()) SDL_SetWindowTitle(it->second.Window, Caption.c_str());
}

void TSdlBackend::ActivateNativeWindow(TForm* Form) {
  auto it = FWindows.find(Form);
  if (it == FWindows.end() || !(SDL_GetWindowFlags(it->second.Window) & SDL_WINDOW_SHOWN)) return;
  // Raising asks a window manager; the input focus is for X servers without one (Xvfb), where
  // the focus of a closed dialog reverts to nobody.
  SDL_RaiseWindow(it->second.Window);
  SDL_SetWindowInputFocus(it->second.Window);
}

void TSdlBackend::Redraw(TWindow& W) {
  if (!W.Texture) return;
  SDL_RenderCopy(W.Renderer, W.Texture, nullptr, nullptr);
  SDL_RenderPresent(W.Renderer);
}

void TSdlBackend::Present(TForm* Form, const TBitmap& Surface, std::span<const TRect> Rects) {
  auto it = FWindows.find(Form);
  if (it == FWindows.end()) return;
  TWindow& w = it->second;
  int sw = Surface.GetWidth(), sh = Surface.GetHeight();
  if (sw <= 0 || sh <= 0) return;
  bool full = false;
  if (!w.Texture || w.TexWidth != sw || w.TexHeight != sh) {
    // The surface changed size: a new texture, filled completely.
    if (w.Texture) SDL_DestroyTexture(w.Texture);
    w.Texture =
        SDL_CreateTexture(w.Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, sw, sh);
    if (!w.Texture) return;
    w.TexWidth = sw;
    w.TexHeight = sh;
    full = true;
  }
  auto upload = [&](TRect r) {
    r = IntersectRect(r, Rect(0, 0, sw, sh));
    if (r.IsEmpty()) return;
    SDL_Rect dst{r.Left, r.Top, r.Width(), r.Height()};
    SDL_UpdateTexture(w.Texture, &dst, Surface.ScanLine(r.Top) + r.Left,
                      static_cast<int>(sw * sizeof(TPixel)));
  };
  if (full)
    upload(Rect(0, 0, sw, sh));
  else
    for (const TRect& r : Rects) upload(r);
  Redraw(w);
}

bool TSdlBackend::ClipboardHasText() { return SDL_HasClipboardText() == SDL_TRUE; }

std::string TSdlBackend::GetClipboardText() {
  char* t = SDL_GetClipboardText();
  std::string s = t ? t : "";
  SDL_free(t);
  return s;
}

void TSdlBackend::SetClipboardText(const std::string& Text) { SDL_SetClipboardText(Text.c_str()); }

void TSdlBackend::ClearClipboard() { SDL_SetClipboardText(""); }

void TSdlBackend::SetCursor(TCursor Cursor) {
  if (Cursor == crNone) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_ShowCursor(SDL_ENABLE);
  SDL_SystemCursor id = ToSystemCursor(Cursor);
  size_t slot = static_cast<size_t>(id);
  if (slot >= FCursors.size()) return;
  if (!FCursors[slot]) FCursors[slot] = SDL_CreateSystemCursor(id);
  if (FCursors[slot]) SDL_SetCursor(FCursors[slot]);
}

void TSdlBackend::LogError(const std::string& Message) {
  std::fprintf(stderr, "%s\n", Message.c_str());
}

void TSdlBackend::ShowError(const std::string& Message) {
  std::fprintf(stderr, "%s\n", Message.c_str());
  // Unattended runs (tests, scripts) must not stop at a dialog nobody can close.
  if (!SDL_getenv("QEL_NO_DIALOGS"))
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, Application->Title.c_str(), Message.c_str(),
                             nullptr);
}

TSize TSdlBackend::ScreenSize() {
  SDL_Rect r;
  if (SDL_GetDisplayBounds(0, &r) != 0) return {1280, 1024};
  return {r.w, r.h};
}

void RegisterSdlBackend() {
  RegisterBackend("sdl", [] { return std::make_unique<TSdlBackend>(); });
}

}  // namespace qel

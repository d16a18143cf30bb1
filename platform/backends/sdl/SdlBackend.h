#pragma once
// The SDL2 backend: one native window per shown form, the form surface presented through a
// streaming texture updated by dirty rectangles, SDL input translated to the framework's mouse,
// key and character input, the wall clock, the system clipboard and system cursors.
// docs/backends.md describes the translation.
#include <array>
#include <map>
#include <memory>
#include <string>

#include "platform/controls/Backend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace qel {

class TSdlBackend : public TBackend {
 public:
  // Initialises SDL video; raises Exception "SDL: <reason>" when there is no display.
  TSdlBackend();
  ~TSdlBackend() override;
  std::string Name() const override { return "sdl"; }

  bool RealTime() const override { return true; }
  int64_t TickCount() override;
  bool WaitForEvents(int TimeoutMs) override;
  void PumpEvents() override;

  void CreateNativeWindow(TForm* Form) override;
  void DestroyNativeWindow(TForm* Form) override;
  void ShowNativeWindow(TForm* Form, bool Visible) override;
  void SetNativeBounds(TForm* Form, const TRect& Bounds) override;
  void SetNativeCaption(TForm* Form, const std::string& Caption) override;
  void SetNativeMinSize(TForm* Form, TSize Size) override;
  void ActivateNativeWindow(TForm* Form) override;
  void Present(TForm* Form, const TBitmap& Surface, std::span<const TRect> Rects) override;

  bool ClipboardHasText() override;
  std::string GetClipboardText() override;
  void SetClipboardText(const std::string& Text) override;
  void ClearClipboard() override;
  void SetCursor(TCursor Cursor) override;
  // SDL has no system beep; beeps are dropped (the headless backend records them for tests).
  void Beep(unsigned) override {}
  void ShowError(const std::string& Message) override;
  void LogError(const std::string& Message) override;
  TSize ScreenSize() override;

 private:
  struct TWindow {
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
    int TexWidth = 0;
    int TexHeight = 0;
  };
  void Dispatch(const SDL_Event& E);
  TForm* FormOfWindow(uint32_t WindowID) const;
  // Input to other windows is dropped while a modal form runs.
  bool AcceptsInput(TForm* Form) const;
  void Redraw(TWindow& W);

  std::map<TForm*, TWindow> FWindows;
  std::array<SDL_Cursor*, 32> FCursors{};
  uint64_t FStart = 0;
  // A key that was consumed as a dialog key must not type its character.
  bool FSuppressText = false;
};

// Makes "sdl" selectable (QEL_BACKEND=sdl or Application->SetBackend(CreateBackend("sdl"))).
void RegisterSdlBackend();

}  // namespace qel

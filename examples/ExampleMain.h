#pragma once
// What every example program shares: a real window through SDL when a display is there, or
// with --screenshot FILE the window's first seconds rendered headless to a PNG.
//
//   <example> [--screenshot FILE]
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/Backend.h"
#include "platform/controls/Forms.h"
#if QEL_HAVE_SDL
#include "platform/backends/sdl/SdlBackend.h"
#endif

namespace qel::example {

// Builds the example's form (owned by the application) and runs it. Make is called once the
// backend is chosen; Seconds of virtual time pass before a screenshot, so animations show.
inline int Run(int argc, char** argv, const char* Name, const std::function<TForm*()>& Make,
               int Seconds = 2) {
  std::string shot;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      shot = argv[++i];
    } else {
      std::fprintf(stderr, "usage: %s [--screenshot FILE]\n", Name);
      return 2;
    }
  }
  try {
    Application->Title = Name;
    std::unique_ptr<TBackend> backend;
#if QEL_HAVE_SDL
    RegisterSdlBackend();
    if (shot.empty()) {
      try {
        backend = CreateBackend("sdl");
      } catch (const Exception& e) {
        std::printf("%s: no display (%s); writing a screenshot instead\n", Name,
                    e.Message.c_str());
      }
    }
#endif
    if (!backend) {
      if (shot.empty()) shot = std::string(Name) + ".png";
      Application->SetBackend(std::make_unique<THeadlessBackend>());
    } else {
      Application->SetBackend(std::move(backend));
    }
    TForm* form = Make();
    form->Show();
    if (!shot.empty()) {
      Application->ProcessMessages();
      Application->AdvanceTime(Seconds * 1000);
      Application->ProcessMessages();
      TBitmap bmp(form->GetWidth(), form->GetHeight());
      form->PaintTo(&bmp);
      bmp.SaveToFile(shot);
      std::printf("%s: wrote %s\n", Name, shot.c_str());
      return 0;
    }
    Application->Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", Name, e.what());
    return 1;
  }
  return 0;
}

}  // namespace qel::example

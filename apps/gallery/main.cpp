// qel-gallery: every page live in a window (SDL), or with --screenshot DIR each page rendered
// headless to DIR/<page>.png. Without a display it falls back to the screenshots.
//
//   qel-gallery [--page NAME] [--screenshot DIR]
//
// QEL_BACKEND chooses the backend ("sdl", "headless"); unset, the gallery takes SDL when a
// display is there.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "apps/gallery/GalleryForm.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/Backend.h"
#include "platform/rtl/StrUtils.h"
#if QEL_HAVE_SDL
#include "platform/backends/sdl/SdlBackend.h"
#endif

namespace {

int PageIndex(const qel::TGalleryForm& Form, const std::string& Name) {
  for (int i = 0; i < Form.PageCount(); ++i)
    if (qel::SameText(Form.PageSource(i).Stem, Name) ||
        qel::SameText(Form.PageSource(i).Title, Name))
      return i;
  return -1;
}

// Renders every page headless. Animated pages run for a second of virtual time first, so the
// picture shows them moving.
int WriteScreenshots(const std::string& Dir) {
  using namespace qel;
  Application->SetBackend(std::make_unique<THeadlessBackend>());
  std::filesystem::create_directories(Dir);
  TGalleryForm* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  for (int i = 0; i < form->PageCount(); ++i) {
    form->ShowPage(i);
    Application->ProcessMessages();
    Application->AdvanceTime(1000);
    TBitmap shot(form->GetWidth(), form->GetHeight());
    form->PaintTo(&shot);
    std::string file = (std::filesystem::path(Dir) / (form->PageSource(i).Stem + ".png")).string();
    shot.SaveToFile(file);
    std::printf("qel-gallery: wrote %s\n", file.c_str());
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr, "usage: qel-gallery [--page NAME] [--screenshot DIR]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qel;
  // The forms go while the fonts and other statics they use are still there.
  struct TFormsGo {
    ~TFormsGo() {
      if (Application) Application->DestroyComponents();
    }
  } formsGo;
  std::string shotDir, page;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
      shotDir = argv[++i];
    else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc)
      page = argv[++i];
    else
      return Usage();
  }
  try {
    Application->Title = "QEL gallery";
    RegisterGalleryClasses();
#if QEL_HAVE_SDL
    RegisterSdlBackend();
#endif
    if (!shotDir.empty()) return WriteScreenshots(shotDir);

    const char* chosen = std::getenv("QEL_BACKEND");
    if (chosen && *chosen) {
      Application->Initialize();
    } else {
      std::unique_ptr<TBackend> backend;
      std::string why = "no windowing backend in this build";
#if QEL_HAVE_SDL
      try {
        backend = CreateBackend("sdl");
      } catch (const Exception& e) {
        why = e.Message;
      }
#endif
      if (!backend) {
        std::printf("qel-gallery: no display (%s); writing the pages as PNG files instead\n",
                    why.c_str());
        return WriteScreenshots("out/gallery");
      }
      Application->SetBackend(std::move(backend));
    }
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    if (!page.empty()) {
      int index = PageIndex(*form, page);
      if (index < 0) {
        std::fprintf(stderr, "qel-gallery: no page \"%s\"\n", page.c_str());
        return 2;
      }
      form->ShowPage(index);
    }
    Application->Run();
    if (!Application->Backend()->RealTime())
      std::printf("qel-gallery: the %s backend shows no window; try --screenshot DIR\n",
                  Application->Backend()->Name().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qel-gallery: %s\n", e.what());
    return 1;
  }
  return 0;
}

#include "apps/gallery/SelectorsDemo.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <system_error>

#include "apps/gallery/DemoControls.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/SafeMath.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

// ---------------------------------------------------------------- the readout

TSelectorReadout::TSelectorReadout(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle << csOpaque;
  SetBounds(0, 0, 400, 24);
}

void TSelectorReadout::Loaded() {
  TGraphicControl::Loaded();
  if (!ComponentState().Contains(csDesigning)) Hook();
}

void TSelectorReadout::SetReadout(const std::string& Text) {
  if (Text == FReadout) return;
  FReadout = Text;
  Invalidate();
}

void TSelectorReadout::Paint() {
  PaintStatusLine(Canvas(), Rect(0, 0, GetWidth(), GetHeight()), GetFont(), FReadout);
}

void TSelectorReadout::SelectOnClick(TControl* Control) {
  TNotifyEvent before = Control->OnClick;
  Control->OnClick = [Control, before](TObject* Sender) {
    if (before) before(Sender);
    if (auto* f = dynamic_cast<TSelectingForm*>(Control->GetParentForm()))
      f->SelectComponent(Control);
  };
}

namespace {

// The components of the page (the readout's owner) of class T, in creation order.
template <class T>
std::vector<T*> PageComponents(TComponent* Owner) {
  std::vector<T*> found;
  if (!Owner) return found;
  for (int i = 0; i < Owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<T*>(Owner->Components(i))) found.push_back(c);
  return found;
}

template <class T>
T* PageComponent(TComponent* Owner, const std::string& Name) {
  return Owner ? dynamic_cast<T*>(Owner->FindComponent(Name)) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------- mark selector page

void TMarkSelDemo::Hook() {
  SetReadout("Move the pointer over a table and click a mark");
  for (TMarkSel* m : PageComponents<TMarkSel>(GetOwner())) {
    if (m->GetName() == "HiddenMarks") {
      // Only the filled symbols are offered there.
      for (int i = 1; i < kMarkCount; ++i)
        if (std::string(MarkName(static_cast<uint8_t>(i))).find("filled") == std::string::npos)
          m->SetVis(i, false);
    }
    m->OnMarkClick = [this, m](TObject*, int, int, int Mark) {
      SetReadout(m->GetName() + ": mark " + std::to_string(Mark) + " (" +
                 MarkName(static_cast<uint8_t>(Mark)) + ")");
    };
    m->OnMarkDblClick = [this, m](TObject*, int, int, int Mark) {
      SetReadout(m->GetName() + ": mark " + std::to_string(Mark) + " double-clicked");
    };
    SelectOnClick(m);
  }
}

// ---------------------------------------------------------------- thumbnails page

void TThumbnailsDemo::DrawSlide(int Id, TBitmap* Buffer) {
  const bool portrait = Id % 3 == 0;
  const int w = portrait ? 60 : 96, h = portrait ? 84 : 64;
  Buffer->SetSize(w, h);
  TCanvas* c = Buffer->Canvas();
  // Hue walks round the circle every 36 slides; eight bands from light to dark.
  const double hue = (Id % 36) * 10.0 * std::numbers::pi / 180;
  for (int b = 0; b < 8; ++b) {
    const double light = 1.0 - b * 0.07;
    auto chan = [&](double phase) {
      const double v = (0.55 + 0.45 * std::cos(hue + phase)) * 235 * light;
      return static_cast<uint8_t>(std::clamp(RoundToInt(v), 0, 255));
    };
    c->Brush()->SetColor(RGB(chan(0), chan(2.094), chan(4.189)));
    c->FillRect(Rect(0, b * h / 8, w, (b + 1) * h / 8));
  }
  c->Pen()->SetColor(clWhite);
  for (int x = 0; x < w; ++x) {
    const int y = h / 2 - RoundToInt(h / 4.0 * std::sin((x + Id) * 0.2));
    if (x == 0)
      c->MoveTo(x, y);
    else
      c->LineTo(x, y);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clWhite);
  c->Font()->SetStyle({fsBold});
  c->TextOut(4, 2, std::to_string(Id));
  c->Brush()->SetStyle(bsSolid);
}

void TThumbnailsDemo::Report(TThumbnails* T, const std::string& What) {
  SetReadout(T->GetName() + ": " + What + "; " + std::to_string(T->NumSlidesSelected()) +
             " selected of " + std::to_string(T->GetMax() - T->GetMin() + 1));
}

void TThumbnailsDemo::Hook() {
  SetReadout("Click selects; on the right a click toggles and Shift+click adds a range");
  std::vector<TThumbnails*> strips = PageComponents<TThumbnails>(GetOwner());
  for (TThumbnails* t : strips) {
    t->OnImageRequest = [](TObject*, int Id, TImageRequestProcessing& How, int& Mark,
                           TBitmap* Buffer) {
      if (Id % 25 == 0) return;  // an empty card now and then: the host has no picture
      How = irpShowSlide;
      DrawSlide(Id, Buffer);
      if (Id % 7 == 0) Mark = 9;
    };
    t->OnFocusChange = [this, t](TObject*) {
      const int f = t->GetFocusedSlide();
      Report(t,
             f ? "pointer on slide " + std::to_string(f) : std::string("pointer off the slides"));
    };
    t->OnImageClick = [this, t](TObject*, int, int, int Id) {
      Report(t, Id ? "clicked slide " + std::to_string(Id) : std::string("clicked between slides"));
    };
    t->OnImageDblClick = [this, t](TObject*, int, int, int Id) {
      Report(t, "double-clicked slide " + std::to_string(Id));
    };
    SelectOnClick(t);
  }
  TThumbnails* main = strips.empty() ? nullptr : strips.front();
  if (!main) return;
  // A page: the whole rows in view (a part of a row stays in sight).
  auto page = [main] {
    return std::max(1, (main->GetHeight() - 2 * TThumbnails::kEdge) / main->Pitch());
  };
  struct TWire {
    const char* Name;
    std::function<void()> Act;
  } wires[] = {
      {"PageUp", [main, page] { main->ScrollRows(-page()); }},
      {"PageDown", [main, page] { main->ScrollRows(page()); }},
      {"ToStart", [main] { main->SetFirstThumbIx(main->GetMin()); }},
      {"ToEnd", [main] { main->SetFirstThumbIx(main->GetMax()); }},
  };
  for (const TWire& w : wires)
    if (auto* b = PageComponent<TButton>(GetOwner(), w.Name)) {
      std::function<void()> act = w.Act;
      b->OnClick = [this, main, act](TObject*) {
        act();
        Report(main, "first slide " + std::to_string(static_cast<long long>(
                                          std::floor(main->GetFirstThumbIx()))));
      };
    }
}

// ---------------------------------------------------------------- folder tree page

TFolderTreeDemo::~TFolderTreeDemo() {
  // Only the folder this page made goes, links inside it are not followed.
  if (!FSampleDir.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(FSampleDir, ec);
  }
}

void TFolderTreeDemo::MakeSample() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path dir =
      fs::temp_directory_path(ec) / ("qel-gallery-folders-" + std::to_string(getpid()));
  if (ec || !fs::create_directories(dir, ec)) return;
  FSampleDir = dir.string();
  for (const char* d :
       {"Measurements/2025/January", "Measurements/2025/February", "Measurements/2026",
        "Reports/Drafts", "Reports/Final", "Calibration", "Scripts/old", "empty"})
    fs::create_directories(dir / d, ec);
  std::ofstream(dir / "empty" / "readme.txt") << "A folder with a file and no subfolder.\n";
  // A link back up: shown, but a leaf.
  fs::create_directory_symlink(dir, dir / "Measurements" / "back to sample", ec);
}

void TFolderTreeDemo::Hook() {
  auto* tree = PageComponent<TFolderTree>(GetOwner(), "Folders");
  if (!tree) return;
  MakeSample();
  tree->OnDirChanged = [this, tree](TObject*) { SetReadout(tree->GetCurrentPath()); };
  SelectOnClick(tree);
  if (!FSampleDir.empty()) tree->SelectPath(FSampleDir);
  if (TTreeNode* s = tree->GetSelected()) {
    s->Expand(false);
    tree->SetTopItem(s);  // the sample at the top, the machine's folders above it
  }
  SetReadout(tree->GetCurrentPath());
  auto* name = PageComponent<TEdit>(GetOwner(), "FolderName");
  if (auto* b = PageComponent<TButton>(GetOwner(), "CreateFolder"))
    b->OnClick = [this, tree, name](TObject*) {
      const std::string n = name && !name->GetText().empty()
                                ? name->GetText()
                                : "New folder " + std::to_string(++FMade);
      if (!tree->MakeSubFolder(n)) SetReadout("\"" + n + "\" was not created");
    };
  if (auto* b = PageComponent<TButton>(GetOwner(), "RemoveFolder"))
    b->OnClick = [this, tree](TObject*) {
      const std::string p = tree->GetCurrentPath();
      if (!tree->RemoveSelectedFolder()) SetReadout(p + " was not removed (only empty folders go)");
    };
  if (auto* b = PageComponent<TButton>(GetOwner(), "RefreshTree"))
    b->OnClick = [this, tree](TObject*) {
      tree->RefreshTree();
      SetReadout(tree->GetCurrentPath() + " (refreshed)");
    };
}

void RegisterSelectorsDemoClasses() {
  RegisterMarkSelClasses();
  RegisterThumbnailsClasses();
  RegisterFolderTreeClasses();
  RegisterStdWidgetClasses();
  RegisterClass<TSelectorReadout>("TSelectorReadout", "TGraphicControl");
  RegisterClass<TMarkSelDemo>("TMarkSelDemo", "TSelectorReadout");
  RegisterClass<TThumbnailsDemo>("TThumbnailsDemo", "TSelectorReadout");
  RegisterClass<TFolderTreeDemo>("TFolderTreeDemo", "TSelectorReadout");
}

}  // namespace qel

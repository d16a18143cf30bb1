// qel-render: renders one control to PNG, headless.
//
//   qel-render TClass [--size WxH] [--set Name=Value]... -o out.png
//   qel-render --form file.qfm -o out.png
//   qel-render --describe TClass      the published properties as a Markdown table
//
// --set takes the same texts as the gallery's property panel (dotted names reach nested
// objects: --set Font.Size=12). The properties are set while the control is loading, as a form
// file would, and Loaded runs afterwards. A form file's root is rendered at its own size.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "apps/gallery/DemoControls.h"
#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: qel-render TClass [--size WxH] [--set Name=Value]... -o out.png\n"
               "       qel-render --form file.qfm -o out.png\n"
               "       qel-render --list\n"
               "       qel-render --describe TClass\n");
  return 2;
}

const char* KindName(qel::TPropKind K) {
  switch (K) {
    case qel::pkInteger:
      return "integer";
    case qel::pkFloat:
      return "number";
    case qel::pkBool:
      return "Boolean";
    case qel::pkString:
      return "text";
    case qel::pkColor:
      return "TColor";
    case qel::pkEnum:
      return "enumeration";
    case qel::pkSet:
      return "set";
    case qel::pkClass:
      return "object";
    case qel::pkComponent:
      return "component";
    case qel::pkStrings:
      return "lines";
  }
  return "";
}

// The class's published properties, its own first, then those it inherits, each with its type
// and the value a new instance has (what a form file leaves out).
void Describe(const qel::TClassInfo& Info) {
  using namespace qel;
  std::unique_ptr<TComponent> probe(Info.Create ? Info.Create(nullptr) : nullptr);
  std::printf("| property | type | default | declared by |\n|---|---|---|---|\n");
  for (const TPropInfo* p : Info.Properties()) {
    const TClassInfo* owner = &Info;
    for (const TClassInfo* c = &Info; c; c = c->Parent)
      for (const auto& own : c->OwnProps)
        if (own.get() == p) owner = c;
    std::string type = p->Enum ? p->Enum->TypeName : KindName(p->Kind);
    if (p->Kind == pkClass)
      if (const TClassInfo* oc = p->ObjectClass()) type = oc->Name;
    std::string value = probe && p->Kind != pkClass ? GetPropText(probe.get(), *p) : "";
    if (value.size() > 40) value = value.substr(0, 37) + "...";
    for (char& ch : value)
      if (ch == '|' || ch == '\n') ch = ' ';
    std::printf("| `%s` | %s | %s | %s |\n", p->Name.c_str(), type.c_str(),
                value.empty() ? "" : ("`" + value + "`").c_str(), owner->Name.c_str());
  }
}

bool ParseSize(const std::string& S, int& W, int& H) {
  size_t x = S.find_first_of("xX");
  if (x == std::string::npos) return false;
  char* end = nullptr;
  long w = std::strtol(S.c_str(), &end, 10);
  if (end != S.c_str() + x) return false;
  long h = std::strtol(S.c_str() + x + 1, &end, 10);
  if (*end || w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  W = static_cast<int>(w);
  H = static_cast<int>(h);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qel;
  std::string cls, formFile, out;
  std::vector<std::pair<std::string, std::string>> sets;
  int width = 0, height = 0;
  bool list = false;
  std::string describe;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    bool more = i + 1 < argc;
    if ((a == "-o" || a == "--output") && more) {
      out = argv[++i];
    } else if (a == "--form" && more) {
      formFile = argv[++i];
    } else if (a == "--size" && more) {
      if (!ParseSize(argv[++i], width, height)) {
        std::fprintf(stderr, "qel-render: bad size \"%s\" (expected WxH)\n", argv[i]);
        return 2;
      }
    } else if (a == "--set" && more) {
      std::string s = argv[++i];
      size_t eq = s.find('=');
      if (eq == std::string::npos || eq == 0) {
        std::fprintf(stderr, "qel-render: bad --set \"%s\" (expected Name=Value)\n", s.c_str());
        return 2;
      }
      sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    } else if (a == "--describe" && more) {
      describe = argv[++i];
    } else if (a == "--list") {
      list = true;
    } else if (!a.empty() && a[0] != '-' && cls.empty()) {
      cls = a;
    } else {
      return Usage();
    }
  }
  try {
    Application->SetBackend(std::make_unique<THeadlessBackend>());
    RegisterGalleryClasses();
    if (list) {
      for (const TClassInfo* c : RegisteredClasses())
        if (c->Create) std::printf("%s\n", c->Name.c_str());
      return 0;
    }
    if (!describe.empty()) {
      Describe(GetClassInfo(describe));
      return 0;
    }
    if (out.empty() || cls.empty() == formFile.empty()) return Usage();

    std::unique_ptr<TComponent> root;
    if (!formFile.empty()) {
      if (!sets.empty() || width) return Usage();
      root.reset(CreateComponentFromFile(formFile, nullptr));
    } else {
      const TClassInfo& info = GetClassInfo(cls);
      if (!info.Create) throw EClassNotFound("Class " + cls + " cannot be created");
      root.reset(info.Create(nullptr));
      root->Loading();
      for (const auto& [name, value] : sets) {
        TPropTarget t = ResolvePropPath(root.get(), name);
        SetPropText(t.Object, *t.Prop, value);
      }
      root->Loaded();
    }
    auto* control = dynamic_cast<TControl*>(root.get());
    if (!control)
      throw EInvalidOperation(root->ClassName() + " is not a control; nothing to render");
    if (width) control->SetBounds(0, 0, width, height);
    if (control->GetWidth() < 1 || control->GetHeight() < 1)
      throw EInvalidOperation("The control has no area (" + std::to_string(control->GetWidth()) +
                              "x" + std::to_string(control->GetHeight()) + "); give --size WxH");
    // Timers must not move anything: the picture is the state right after loading.
    TBitmap bmp(control->GetWidth(), control->GetHeight());
    control->PaintTo(&bmp);
    bmp.SaveToFile(out);
    std::printf("qel-render: wrote %s (%dx%d)\n", out.c_str(), bmp.GetWidth(), bmp.GetHeight());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qel-render: %s\n", e.what());
    return 1;
  }
  return 0;
}

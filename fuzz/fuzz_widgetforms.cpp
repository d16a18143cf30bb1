// Form files with the standard controls: the same contract as fuzz_formfile (any text reads or
// fails with EFormFileError, never crashes or leaks, and a read form writes text that reads back
// and writes the same text again), with the widget classes registered so their properties are
// read: a tree view's node lines, a picker's pattern and dates, a mask, a colour dialog's custom
// colours, popup menus with nested items and shortcut texts, and controls referring to them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/widgets/ComCtrls.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/Dialogs.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"

namespace {

// A huge form is a huge surface: that is memory, not parsing, so such inputs are not run.
bool HasHugeSize(const qel::TFormObject& O) {
  for (const auto& p : O.Props)
    if ((p.Path.find("Width") != std::string::npos || p.Path.find("Height") != std::string::npos) &&
        p.Value.Type == qel::TFormValue::fvInteger && (p.Value.Int > 4096 || p.Value.Int < -4096))
      return true;
  for (const auto& c : O.Children)
    if (HasHugeSize(c)) return true;
  return false;
}

[[noreturn]] void Fail(const char* What, const std::string& Text) {
  std::fprintf(stderr, "%s\n--- text ---\n%s\n", What, Text.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool ready = [] {
    qel::ResetHeadlessApplication();
    qel::RegisterTreeViewClasses();
    qel::RegisterDateTimeClasses();
    qel::RegisterDialogClasses();
    qel::RegisterMaskClasses();
    qel::RegisterMenuAndComboClasses();
    return true;
  }();
  (void)ready;
  if (Size > 1 << 16) return 0;
  std::string text(reinterpret_cast<const char*>(Data), Size);
  try {
    if (HasHugeSize(qel::ParseFormText(text))) return 0;
  } catch (const qel::EFormFileError&) {
    return 0;
  }
  std::unique_ptr<qel::TComponent> root;
  try {
    root.reset(qel::CreateComponentFromText(text, nullptr));
  } catch (const qel::EFormFileError& e) {
    if (e.Line < 1) Fail("error without a line", text);
    return 0;
  }
  std::string first = qel::WriteComponentText(root.get());
  std::unique_ptr<qel::TComponent> again;
  try {
    again.reset(qel::CreateComponentFromText(first, nullptr));
  } catch (const qel::Exception& e) {
    Fail(("written text does not read back: " + e.Message).c_str(), first);
  }
  std::string second = qel::WriteComponentText(again.get());
  if (first != second) Fail("second write differs", first + "\n--- second ---\n" + second);
  return 0;
}

#pragma once
// The contract every form-file fuzz target checks, whatever classes it registers: any text reads
// or fails with EFormFileError (with a line), never crashes or leaks, paints (into a small
// bitmap) without overflow, and a read form writes text that reads back and writes the same
// text again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"

namespace qel::fuzz {

// A huge root is a huge surface when shown: that is memory, not parsing. The root is painted
// into a small bitmap instead of being shown, so only its own size is checked; the components
// in it may be as large, as far off and as many as the file says.
inline bool HasHugeSize(const TFormObject& O) {
  for (const auto& p : O.Props)
    if ((p.Path.find("Width") != std::string::npos || p.Path.find("Height") != std::string::npos) &&
        p.Value.Type == TFormValue::fvInteger && (p.Value.Int > 4096 || p.Value.Int < -4096))
      return true;
  return false;
}

[[noreturn]] inline void Fail(const char* What, const std::string& Text) {
  std::fprintf(stderr, "%s\n--- text ---\n%s\n", What, Text.c_str());
  std::abort();
}

inline int CheckFormRoundTrip(const uint8_t* Data, size_t Size) {
  if (Size > 1 << 16) return 0;
  std::string text(reinterpret_cast<const char*>(Data), Size);
  try {
    if (HasHugeSize(ParseFormText(text))) return 0;
  } catch (const EFormFileError&) {
    return 0;
  }
  std::unique_ptr<TComponent> root;
  try {
    root.reset(CreateComponentFromText(text, nullptr));
  } catch (const EFormFileError& e) {
    if (e.Line < 1) Fail("error without a line", text);
    return 0;
  }
  // What was read is painted, at a bounded surface, so that its geometry is exercised.
  if (auto* ctl = dynamic_cast<TControl*>(root.get())) {
    TBitmap bmp;
    bmp.SetSize(160, 120);
    ctl->PaintTo(&bmp);
  }
  std::string first = WriteComponentText(root.get());
  std::unique_ptr<TComponent> again;
  try {
    again.reset(CreateComponentFromText(first, nullptr));
  } catch (const Exception& e) {
    Fail(("written text does not read back: " + e.Message).c_str(), first);
  }
  std::string second = WriteComponentText(again.get());
  if (first != second) Fail("second write differs", first + "\n--- second ---\n" + second);
  return 0;
}

}  // namespace qel::fuzz

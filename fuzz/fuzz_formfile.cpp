// Form files are outside input: any text must read or fail with EFormFileError, never crash or
// leak, and what the writer makes of a read form must read back and write the same text again.
#include <cstdint>

#include "fuzz/FormRoundTrip.h"
#include "platform/backends/headless/Headless.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static const bool ready = [] {
    qel::ResetHeadlessApplication();
    qel::RegisterPlatformClasses();
    return true;
  }();
  (void)ready;
  return qel::fuzz::CheckFormRoundTrip(Data, Size);
}

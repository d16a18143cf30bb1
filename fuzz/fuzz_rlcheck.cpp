// Recognition of replist documents on arbitrary text: no crash; the stream is left inside its
// bounds; a document recognised for some identifier is recognised for any (an empty one).
// Byte 0 gives the length of the identifier taken from the following bytes.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "replist/QEL_replist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const size_t idLen = std::min<size_t>(Data[0] % 16, Size - 1);
  const std::string id(reinterpret_cast<const char*>(Data + 1), idLen);
  const std::string text(reinterpret_cast<const char*>(Data + 1 + idLen), Size - 1 - idLen);
  qel::TStringStream s(text);
  const bool withId = qel::CheckIfValidReplist(s, id);
  QEL_FUZZ_CHECK(s.GetPosition() >= 0 && s.GetPosition() <= static_cast<int64_t>(text.size()));
  qel::TStringStream t(text);
  const bool any = qel::CheckIfValidReplist(t, "");
  QEL_FUZZ_CHECK(!withId || any);
  return 0;
}

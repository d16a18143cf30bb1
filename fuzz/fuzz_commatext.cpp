// Delimited texts from outside: CommaText and DelimitedText parse, and what the list writes
// parses back to the same lines and writes the same text again. Text (line breaks) as well.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/Strings.h"

using namespace qel;

namespace {

void Configure(TStringList& L, uint8_t Mode) {
  L.SetStrictDelimiter(Mode & 1);
  if (Mode & 2) {
    L.SetDelimiter(';');
    L.SetQuoteChar('\'');
  }
  if (Mode & 4) L.SetDelimiter(' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0 || Size > 4096) return 0;
  const uint8_t mode = Data[0];
  const std::string s(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  const bool comma = (mode & 8) == 0;

  TStringList a, b;
  Configure(a, mode);
  Configure(b, mode);
  comma ? a.SetCommaText(s) : a.SetDelimitedText(s);
  const std::string written = comma ? a.GetCommaText() : a.GetDelimitedText();
  comma ? b.SetCommaText(written) : b.SetDelimitedText(written);
  if (!a.Equals(b)) std::abort();
  if ((comma ? b.GetCommaText() : b.GetDelimitedText()) != written) std::abort();

  TStringList c, d;
  c.SetText(s);
  d.SetText(c.GetText());
  if (!c.Equals(d)) std::abort();
  return 0;
}

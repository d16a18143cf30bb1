// Edit masks and texts from outside: any mask parses, any value formats into a display text of
// the mask's shape, and display -> value -> display gives the same display text back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/StrUtils.h"
#include "platform/widgets/Mask.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size > 4096) return 0;
  // The mask is everything up to the first line feed, the text the rest.
  const std::string in(reinterpret_cast<const char*>(Data), Size);
  const size_t cut = in.find('\n');
  const std::string mask = in.substr(0, cut);
  const std::string text = cut == std::string::npos ? std::string() : in.substr(cut + 1);

  const TMaskPattern m(mask);
  const std::string shown = FormatMaskText(mask, text);
  if (m.IsEmpty()) {
    if (shown != text) std::abort();
    return 0;
  }
  const int n = m.Length();
  // The display text has one code point per slot and literal, in the mask's shape.
  if (Utf8CodePointCount(shown) != n || !IsValidUtf8(shown)) std::abort();
  if (!m.Conforms(shown)) std::abort();
  if (m.DisplayText(text) != shown) std::abort();
  // Display -> value -> display is the identity.
  const std::string value = m.ValueText(shown);
  if (m.DisplayText(value) != shown) std::abort();
  if (Utf8CodePointCount(value) > n) std::abort();
  // Completeness agrees with the first missing slot, which is a required one.
  const int missing = m.FirstMissing(shown);
  if (m.IsComplete(shown) != (missing < 0)) std::abort();
  if (missing >= 0 && (!m.IsRequired(missing) || m.IsFilled(shown, missing))) std::abort();
  // Slot stepping stays in range and lands on slots.
  int slots = 0;
  for (int p = 0; p <= n; ++p) {
    const int next = m.NextEditable(p), prev = m.PrevEditable(p);
    if (next < p || next > n || (next < n && !m.IsEditable(next))) std::abort();
    if (prev < -1 || prev >= p || (prev >= 0 && !m.IsEditable(prev))) std::abort();
    if (p < n && m.IsEditable(p)) ++slots;
  }
  if (slots != m.SlotCount()) std::abort();
  // Whatever fits a slot is stored as something that still fits it, unchanged the second time.
  for (int p = 0; p < n && p < 64; ++p) {
    for (char32_t c : {U'a', U'Z', U'5', U'-', U'\u00e9', U'\u0416', U'_', U' '}) {
      char32_t once = c;
      if (!m.CharFits(p, once)) continue;
      char32_t twice = once;
      if (!m.CharFits(p, twice) || twice != once || once == m.GetBlank()) std::abort();
    }
  }
  return 0;
}

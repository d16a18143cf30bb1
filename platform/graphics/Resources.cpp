#include "platform/graphics/Resources.h"

#include <cctype>

namespace qel {

std::span<const std::uint8_t> FindResource(std::string_view name) {
  for (const detail::EmbeddedResource* r = detail::kEmbeddedResources; r->Name; ++r) {
    std::string_view n(r->Name);
    if (n.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < n.size() && same; ++i)
      same = std::toupper(static_cast<unsigned char>(n[i])) ==
             std::toupper(static_cast<unsigned char>(name[i]));
    if (same) return {r->Data, r->Size};
  }
  return {};
}

}  // namespace qel

#pragma once
// Named binary resources compiled into the library from resources/ (see cmake/EmbedResources.cmake).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qel {
namespace detail {
struct EmbeddedResource {
  const char* Name;
  const std::uint8_t* Data;
  std::size_t Size;
};
// Terminated by an entry whose Name is null.
extern const EmbeddedResource kEmbeddedResources[];
}  // namespace detail

// The bytes of the resource with this name (case-insensitive), or an empty span.
std::span<const std::uint8_t> FindResource(std::string_view name);
}  // namespace qel

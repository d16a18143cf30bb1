#pragma once
// The gallery pages (apps/gallery/pages/*.qfm), compiled into the program at build time by
// cmake/EmbedTexts.cmake, in file-name order.
#include <cstddef>
#include <cstdint>

namespace qel {

struct TEmbeddedText {
  const char* Name;  // file name without extension
  const std::uint8_t* Data;
  std::size_t Size;
};
// Ends with an entry whose Name is nullptr.
extern const TEmbeddedText kGalleryPages[];

}  // namespace qel

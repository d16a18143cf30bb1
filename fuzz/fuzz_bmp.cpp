// Fuzzes reading BMP files: every header version, depth and compression, through
// TBitmap::LoadFromMemory. A failed load must leave the bitmap exactly as it was; a successful one
// must give sane dimensions and survive a write and re-read unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace {

std::vector<qel::TPixel> Pixels(const qel::TBitmap& B) {
  std::vector<qel::TPixel> v;
  for (int y = 0; y < B.GetHeight(); ++y)
    v.insert(v.end(), B.ScanLine(y), B.ScanLine(y) + B.GetWidth());
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  qel::TBitmap b(3, 2);
  b.ScanLine(0)[1] = 0x123456;
  b.ScanLine(1)[2] = 0x80ABCDEF;
  const std::vector<qel::TPixel> before = Pixels(b);
  try {
    b.LoadFromMemory({Data, Size});
  } catch (const qel::EInvalidGraphic&) {
    if (b.GetWidth() != 3 || b.GetHeight() != 2 || Pixels(b) != before) std::abort();
    return 0;
  }
  const int64_t w = b.GetWidth(), h = b.GetHeight();
  if (w < 1 || h < 1 || w > 32768 || h > 32768 || w * h > (int64_t{1} << 28)) std::abort();
  if (w * h <= 4096) {
    const std::vector<qel::TPixel> loaded = Pixels(b);
    qel::TMemoryStream m;
    b.SaveToStream(m);
    qel::TBitmap again;
    again.LoadFromMemory({m.Memory(), static_cast<size_t>(m.GetSize())});
    if (Pixels(again) != loaded) std::abort();
  }
  return 0;
}

// Fuzzes reading PNG files (through libpng) via TBitmap::LoadFromMemory.
// A failed load must leave the bitmap exactly as it was; a successful one must give sane
// dimensions and survive a write and re-read unchanged. Chunk checksums are repaired before
// loading, so mutations reach the decoder instead of stopping at the CRC check.
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

uint32_t Crc32(const uint8_t* P, size_t N) {
  uint32_t c = 0xFFFFFFFF;
  for (size_t i = 0; i < N; ++i) {
    c ^= P[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
  }
  return ~c;
}

void RepairChecksums(std::vector<uint8_t>& D) {
  size_t pos = 8;
  while (pos + 12 <= D.size()) {
    const uint64_t len =
        (uint64_t{D[pos]} << 24) | (D[pos + 1] << 16) | (D[pos + 2] << 8) | D[pos + 3];
    if (len > D.size() - pos - 12) break;
    const uint32_t crc = Crc32(D.data() + pos + 4, 4 + len);
    uint8_t* c = D.data() + pos + 8 + len;
    c[0] = crc >> 24, c[1] = crc >> 16, c[2] = crc >> 8, c[3] = crc;
    pos += 12 + len;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  qel::TBitmap b(3, 2);
  b.ScanLine(0)[1] = 0x123456;
  b.ScanLine(1)[2] = 0x80ABCDEF;
  const std::vector<qel::TPixel> before = Pixels(b);
  try {
    std::vector<uint8_t> bytes(Data, Data + Size);
    RepairChecksums(bytes);
    b.LoadFromMemory(bytes);
  } catch (const qel::EInvalidGraphic&) {
    if (b.GetWidth() != 3 || b.GetHeight() != 2 || Pixels(b) != before) std::abort();
    return 0;
  }
  const int64_t w = b.GetWidth(), h = b.GetHeight();
  if (w < 1 || h < 1 || w > 32768 || h > 32768 || w * h > (int64_t{1} << 28)) std::abort();
  if (w * h <= 4096) {
    const std::vector<qel::TPixel> loaded = Pixels(b);
    qel::TMemoryStream m;
    b.SaveToPngStream(m);
    qel::TBitmap again;
    again.LoadFromMemory({m.Memory(), static_cast<size_t>(m.GetSize())});
    if (Pixels(again) != loaded) std::abort();
  }
  return 0;
}

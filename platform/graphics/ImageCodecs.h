#pragma once
// BMP and PNG coding between bytes and 32-bit pixels, behind TBitmap's load and save calls
// (ImageFiles.cpp). Decoders check every size and offset against the data, raise
// EInvalidGraphic for anything broken or unsupported and never touch a bitmap themselves.
//
// Alpha: the canvas treats pixels as 0x00RRGGBB, so an opaque pixel must keep a zero top byte.
// Images with an alpha channel therefore store its complement there (top byte = 255 - alpha):
// 0 is opaque, 0xFF fully transparent. Encoders write an alpha channel only when some pixel is
// not opaque.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Color.h"

namespace qel::image {

// The largest side and area a decoder accepts (the area keeps one image at 1 GiB).
constexpr int kMaxSide = 32768;
constexpr int64_t kMaxArea = int64_t{1} << 28;

struct TImage {
  int Width = 0;
  int Height = 0;
  std::vector<TPixel> Pixels;  // Width * Height, top row first
};

bool IsBmp(std::span<const uint8_t> Data);
bool IsPng(std::span<const uint8_t> Data);

// Decode into Out and return the number of bytes the image occupies from the start of Data.
size_t DecodeBmp(std::span<const uint8_t> Data, TImage& Out);
size_t DecodePng(std::span<const uint8_t> Data, TImage& Out);

// Rows of Stride pixels. BMP is 24-bit (widely readable) when every pixel is opaque, otherwise
// 32-bit with an alpha mask. PNG is RGB, or RGBA when some pixel is not opaque.
std::vector<uint8_t> EncodeBmp(const TPixel* Pixels, int Width, int Height, int Stride);
std::vector<uint8_t> EncodePng(const TPixel* Pixels, int Width, int Height, int Stride);

}  // namespace qel::image

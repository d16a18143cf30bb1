// TBitmap: storage, size, rows, transparency and drawing. File formats live in ImageFiles.cpp.
#include <new>

#include "platform/graphics/Graphics.h"

namespace qel {

namespace {
// The largest side and area we agree to allocate (the area cap keeps one bitmap at 1 GiB).
constexpr int kMaxSide = 32768;
constexpr int64_t kMaxArea = int64_t{1} << 28;
constexpr TPixel kWhitePixel = 0x00FFFFFF;
}  // namespace

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>()) { Rebind(); }

TBitmap::TBitmap(int Width, int Height) : TBitmap() { SetSize(Width, Height); }

TBitmap::~TBitmap() = default;

void TBitmap::Rebind() {
  if (FWidth > 0 && FHeight > 0)
    FCanvas->BindSurface(Surface(), TPoint{0, 0}, TRect{0, 0, FWidth, FHeight});
  else
    FCanvas->UnbindSurface();
}

void TBitmap::SetSize(int Width, int Height) {
  if (Width < 0) Width = 0;
  if (Height < 0) Height = 0;
  if (Width == 0 || Height == 0) Width = Height = 0;  // an empty bitmap has no pixels at all
  if (Width == FWidth && Height == FHeight) return;
  if (Width > kMaxSide || Height > kMaxSide || int64_t{Width} * Height > kMaxArea)
    throw EOutOfResources("Out of system resources");
  std::vector<TPixel> pixels;
  try {
    pixels.assign(static_cast<size_t>(Width) * static_cast<size_t>(Height), kWhitePixel);
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("Out of system resources");
  }
  int keepW = std::min(Width, FWidth), keepH = std::min(Height, FHeight);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(FPixels.data() + static_cast<size_t>(y) * FWidth, keepW,
                pixels.data() + static_cast<size_t>(y) * Width);
  FPixels.swap(pixels);
  FWidth = Width;
  FHeight = Height;
  Rebind();
  Changed();
}

TPixel* TBitmap::ScanLine(int Y) {
  if (Y < 0 || Y >= FHeight) throw ERangeError("Scan line index out of range");
  return FPixels.data() + static_cast<size_t>(Y) * FWidth;
}

const TPixel* TBitmap::ScanLine(int Y) const {
  if (Y < 0 || Y >= FHeight) throw ERangeError("Scan line index out of range");
  return FPixels.data() + static_cast<size_t>(Y) * FWidth;
}

void TBitmap::Assign(const TPersistent* Source) {
  if (Source == nullptr) {  // assigning nothing empties the bitmap
    FreeImage();
    return;
  }
  auto* bmp = dynamic_cast<const TBitmap*>(Source);
  if (!bmp) {
    TGraphic::Assign(Source);
    return;
  }
  if (bmp == this) return;
  std::vector<TPixel> pixels;
  try {
    pixels = bmp->FPixels;
  } catch (const std::bad_alloc&) {
    throw EOutOfResources("Out of system resources");
  }
  FPixels.swap(pixels);
  FWidth = bmp->FWidth;
  FHeight = bmp->FHeight;
  FPixelFormat = bmp->FPixelFormat;
  FTransparentColor = bmp->FTransparentColor;
  FTransparentMode = bmp->FTransparentMode;
  FTransparent = bmp->FTransparent;
  Rebind();
  Changed();
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentMode == tmFixed) return FTransparentColor;
  if (FWidth == 0 || FHeight == 0) return clDefault;
  return PixelToColor(FPixels[static_cast<size_t>(FHeight - 1) * FWidth] & 0x00FFFFFF);
}

void TBitmap::SetTransparentColor(TColor Value) {
  TTransparentMode mode = Value == clDefault ? tmAuto : tmFixed;
  if (FTransparentColor == Value && FTransparentMode == mode) return;
  FTransparentColor = Value;
  FTransparentMode = mode;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (FTransparentMode == Value) return;
  // Fixing the mode keeps the colour that applies right now.
  if (Value == tmFixed) FTransparentColor = GetTransparentColor();
  FTransparentMode = Value;
  Changed();
}

}  // namespace qel

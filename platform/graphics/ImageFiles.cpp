// BMP and PNG files for TBitmap. Decoding goes into a temporary image that replaces the bitmap's
// pixels only when the whole file was read, so a broken file changes nothing.
#include <png.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageCodecs.h"
#include "platform/graphics/Resources.h"

namespace qel {
namespace image {

namespace {

[[noreturn]] void Fail(const std::string& Message) { throw EInvalidGraphic(Message); }

// Little-endian fields, each read checked against the data.
struct TReader {
  std::span<const uint8_t> D;
  uint32_t U8(size_t Off) const {
    if (Off >= D.size()) Fail("BMP data is truncated");
    return D[Off];
  }
  uint32_t U16(size_t Off) const { return U8(Off) | (U8(Off + 1) << 8); }
  uint32_t U32(size_t Off) const { return U16(Off) | (U16(Off + 2) << 16); }
  int32_t I32(size_t Off) const { return static_cast<int32_t>(U32(Off)); }
};

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

// One channel of a bit-field pixel, scaled to 8 bits.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint64_t Max = 0;
  explicit TChannel(uint32_t M) : Mask(M) {
    if (M == 0) return;
    Shift = std::countr_zero(M);
    Max = (uint64_t{M} >> Shift);
  }
  uint32_t Get(uint32_t V) const {
    if (Max == 0) return 0;
    return static_cast<uint32_t>(((V & Mask) >> Shift) * 255 / Max);
  }
};

TPixel Rgb(uint32_t R, uint32_t G, uint32_t B) { return (R << 16) | (G << 8) | B; }

void PutU16(std::vector<uint8_t>& V, uint32_t X) {
  V.push_back(static_cast<uint8_t>(X));
  V.push_back(static_cast<uint8_t>(X >> 8));
}
void PutU32(std::vector<uint8_t>& V, uint32_t X) {
  PutU16(V, X & 0xFFFF);
  PutU16(V, X >> 16);
}

bool AnyTranslucent(const TPixel* Pixels, int Width, int Height, int Stride) {
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      if (Pixels[static_cast<size_t>(y) * Stride + x] >> 24) return true;
  return false;
}

void CheckSize(int64_t W, int64_t H, const char* Format) {
  if (W <= 0 || H <= 0) Fail(std::string(Format) + " image has no pixels");
  if (W > kMaxSide || H > kMaxSide || W * H > kMaxArea)
    Fail(std::string(Format) + " image is too large (" + std::to_string(W) + " x " +
         std::to_string(H) + ")");
}

}  // namespace

bool IsBmp(std::span<const uint8_t> Data) {
  return Data.size() >= 2 && Data[0] == 'B' && Data[1] == 'M';
}

bool IsPng(std::span<const uint8_t> Data) {
  return Data.size() >= 8 && png_sig_cmp(Data.data(), 0, 8) == 0;
}

// ---------------------------------------------------------------- BMP reading

size_t DecodeBmp(std::span<const uint8_t> Data, TImage& Out) {
  const TReader r{Data};
  if (!IsBmp(Data)) Fail("Not a BMP image");
  if (Data.size() < 14 + 12) Fail("BMP data is truncated");
  const uint32_t offBits = r.U32(10);
  const uint32_t hs = r.U32(14);
  if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124)
    Fail("BMP header size " + std::to_string(hs) + " is not supported");
  if (14 + size_t{hs} > Data.size()) Fail("BMP data is truncated");
  int64_t w, h;
  uint32_t bpp, comp = kBiRgb, clrUsed = 0;
  if (hs == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
    w = r.U16(18);
    h = static_cast<int16_t>(r.U16(20));
    bpp = r.U16(24);
  } else {
    w = r.I32(18);
    h = r.I32(22);
    bpp = r.U16(28);
    comp = r.U32(30);
    clrUsed = r.U32(46);
  }
  const bool topDown = h < 0;
  h = h < 0 ? -h : h;
  CheckSize(w, h, "BMP");
  const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
  if (!paletted && bpp != 16 && bpp != 24 && bpp != 32)
    Fail("BMP bit depth " + std::to_string(bpp) + " is not supported");
  const bool fields = comp == kBiBitfields || comp == kBiAlphaBitfields;
  const bool rle = comp == kBiRle8 || comp == kBiRle4;
  if (!(comp == kBiRgb || (comp == kBiRle8 && bpp == 8) || (comp == kBiRle4 && bpp == 4) ||
        (fields && (bpp == 16 || bpp == 32))))
    Fail("BMP compression " + std::to_string(comp) + " is not supported at " + std::to_string(bpp) +
         " bits");
  if (rle && topDown) Fail("BMP with RLE compression cannot be top-down");

  // Bit fields: inside the header from version 3 on, otherwise right after it.
  size_t afterHeader = 14 + size_t{hs};
  uint32_t rMask = 0, gMask = 0, bMask = 0, aMask = 0;
  if (bpp == 16) rMask = 0x7C00, gMask = 0x03E0, bMask = 0x001F;
  if (bpp == 32) rMask = 0xFF0000, gMask = 0xFF00, bMask = 0xFF;
  if (fields) {
    const size_t at = hs >= 52 ? 54 : afterHeader;
    rMask = r.U32(at), gMask = r.U32(at + 4), bMask = r.U32(at + 8);
    if (hs >= 56 || comp == kBiAlphaBitfields) aMask = r.U32(at + 12);
    if (hs == 40) afterHeader += comp == kBiAlphaBitfields ? 16 : 12;
  }

  std::vector<TPixel> palette;
  if (paletted) {
    const uint32_t maxColors = 1u << bpp;
    uint32_t n = (clrUsed == 0 || clrUsed > maxColors) ? maxColors : clrUsed;
    const size_t entry = hs == 12 ? 3 : 4;
    // Writers often store only the colours they use (always so with the core header): the
    // palette ends where the pixels begin.
    if (offBits > afterHeader) n = std::min<uint32_t>(n, (offBits - afterHeader) / entry);
    if (afterHeader + n * entry > Data.size()) Fail("BMP palette is truncated");
    palette.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
      const size_t at = afterHeader + i * entry;
      palette[i] = Rgb(Data[at + 2], Data[at + 1], Data[at]);
    }
  }
  if (offBits < 14 + hs || offBits >= Data.size()) Fail("BMP pixel data offset is out of range");

  const size_t width = static_cast<size_t>(w), height = static_cast<size_t>(h);
  const auto colour = [&](uint32_t index) {
    if (index >= palette.size()) Fail("BMP palette index out of range");
    return palette[index];
  };
  std::vector<TPixel> px;
  size_t end = offBits;

  if (!rle) {
    const size_t stride = (width * bpp + 31) / 32 * 4;
    const size_t avail = Data.size() - offBits;
    // The last row may lack its padding.
    const size_t need = stride * (height - 1) + (width * bpp + 7) / 8;
    if (need > avail) Fail("BMP pixel data is truncated");
    px.resize(width * height);
    const TChannel cr(rMask), cg(gMask), cb(bMask), ca(aMask);
    bool anyAlpha = false;
    for (size_t row = 0; row < height; ++row) {
      const uint8_t* s = Data.data() + offBits + row * stride;
      TPixel* d = px.data() + (topDown ? row : height - 1 - row) * width;
      switch (bpp) {
        case 1:
          for (size_t x = 0; x < width; ++x) d[x] = colour((s[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          for (size_t x = 0; x < width; ++x) d[x] = colour((s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
          break;
        case 8:
          for (size_t x = 0; x < width; ++x) d[x] = colour(s[x]);
          break;
        case 24:
          for (size_t x = 0; x < width; ++x) d[x] = Rgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
          break;
        case 16:
        case 32:
          for (size_t x = 0; x < width; ++x) {
            const uint32_t v = bpp == 16 ? uint32_t{s[2 * x]} | (uint32_t{s[2 * x + 1]} << 8)
                                         : uint32_t{s[4 * x]} | (uint32_t{s[4 * x + 1]} << 8) |
                                               (uint32_t{s[4 * x + 2]} << 16) |
                                               (uint32_t{s[4 * x + 3]} << 24);
            d[x] = Rgb(cr.Get(v), cg.Get(v), cb.Get(v));
            if (aMask) {
              const uint32_t a = ca.Get(v);
              anyAlpha |= a != 0;
              d[x] |= (255 - a) << 24;
            }
          }
          break;
      }
    }
    // Many writers leave an alpha channel all zero, meaning "not used": that image is opaque.
    if (aMask && !anyAlpha)
      for (TPixel& p : px) p &= 0x00FFFFFF;
    end = std::min(Data.size(), offBits + stride * height);
  } else {
    // Run-length data expands; bound the image by what the data could plausibly describe.
    const size_t avail = Data.size() - offBits;
    if (width * height > (size_t{1} << 20) + avail * 1024)
      Fail("BMP image is too large for its RLE data");
    px.assign(width * height, 0);
    size_t pos = offBits, x = 0, row = 0;  // row counts from the bottom
    bool done = false;
    const auto put = [&](uint32_t index) {
      if (x >= width || row >= height) Fail("BMP RLE data runs past the image");
      px[(height - 1 - row) * width + x++] = colour(index);
    };
    const bool four = comp == kBiRle4;
    while (!done && pos + 1 < Data.size()) {
      const uint32_t n = Data[pos], c = Data[pos + 1];
      pos += 2;
      if (n > 0) {
        for (uint32_t i = 0; i < n; ++i) put(four ? ((i & 1) ? c & 15 : c >> 4) : c);
      } else if (c == 0) {
        x = 0;
        ++row;
      } else if (c == 1) {
        done = true;
      } else if (c == 2) {
        if (pos + 1 >= Data.size()) Fail("BMP RLE data is truncated");
        x += Data[pos];
        row += Data[pos + 1];
        pos += 2;
        if (x > width || row > height) Fail("BMP RLE data runs past the image");
      } else {
        const size_t bytes = four ? (c + 1) / 2 : c;
        if (pos + bytes > Data.size()) Fail("BMP RLE data is truncated");
        for (uint32_t i = 0; i < c; ++i)
          put(four ? ((i & 1) ? Data[pos + i / 2] & 15 : Data[pos + i / 2] >> 4) : Data[pos + i]);
        pos += (bytes + 1) & ~size_t{1};  // absolute runs are padded to a 16-bit boundary
      }
    }
    if (!done && row < height) Fail("BMP RLE data is truncated");
    end = std::min(pos, Data.size());
  }
  Out.Width = static_cast<int>(w);
  Out.Height = static_cast<int>(h);
  Out.Pixels = std::move(px);
  return end;
}

// ---------------------------------------------------------------- BMP writing

std::vector<uint8_t> EncodeBmp(const TPixel* Pixels, int Width, int Height, int Stride) {
  if (Width <= 0 || Height <= 0) Fail("Cannot save an empty image");
  const bool alpha = AnyTranslucent(Pixels, Width, Height, Stride);
  const uint32_t bpp = alpha ? 32 : 24;
  const uint32_t hs = alpha ? 108 : 40;
  const size_t rowBytes = (size_t{static_cast<unsigned>(Width)} * bpp + 31) / 32 * 4;
  const size_t image = rowBytes * static_cast<size_t>(Height);
  const size_t off = 14 + hs;
  std::vector<uint8_t> v;
  v.reserve(off + image);
  v.push_back('B');
  v.push_back('M');
  PutU32(v, static_cast<uint32_t>(std::min<size_t>(off + image, 0xFFFFFFFF)));
  PutU32(v, 0);
  PutU32(v, static_cast<uint32_t>(off));
  PutU32(v, hs);
  PutU32(v, static_cast<uint32_t>(Width));
  PutU32(v, static_cast<uint32_t>(Height));  // bottom-up, the most widely read layout
  PutU16(v, 1);
  PutU16(v, bpp);
  PutU32(v, alpha ? kBiBitfields : kBiRgb);
  PutU32(v, static_cast<uint32_t>(std::min<size_t>(image, 0xFFFFFFFF)));
  PutU32(v, 3780);  // 96 dpi in pixels per metre
  PutU32(v, 3780);
  PutU32(v, 0);
  PutU32(v, 0);
  if (alpha) {
    PutU32(v, 0x00FF0000);
    PutU32(v, 0x0000FF00);
    PutU32(v, 0x000000FF);
    PutU32(v, 0xFF000000);
    PutU32(v, 0x73524742);     // 'sRGB'
    v.insert(v.end(), 48, 0);  // end points and gamma, unused with sRGB
  }
  for (int y = Height - 1; y >= 0; --y) {
    const TPixel* s = Pixels + static_cast<size_t>(y) * Stride;
    const size_t start = v.size();
    for (int x = 0; x < Width; ++x) {
      const TPixel p = s[x];
      v.push_back(static_cast<uint8_t>(p));
      v.push_back(static_cast<uint8_t>(p >> 8));
      v.push_back(static_cast<uint8_t>(p >> 16));
      if (alpha) v.push_back(static_cast<uint8_t>(255 - (p >> 24)));
    }
    v.resize(start + rowBytes, 0);
  }
  return v;
}

// ---------------------------------------------------------------- PNG

namespace {

struct TPngContext {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
  size_t Pos = 0;
  std::vector<uint8_t>* Output = nullptr;
  char Error[160] = "";
};

void PngRead(png_structp Png, png_bytep Out, size_t Count) {
  auto* c = static_cast<TPngContext*>(png_get_io_ptr(Png));
  if (Count > c->Size - c->Pos) png_error(Png, "PNG data is truncated");
  std::memcpy(Out, c->Data + c->Pos, Count);
  c->Pos += Count;
}

void PngWrite(png_structp Png, png_bytep In, size_t Count) {
  auto* c = static_cast<TPngContext*>(png_get_io_ptr(Png));
  c->Output->insert(c->Output->end(), In, In + Count);
}

void PngFlush(png_structp) {}

[[noreturn]] void PngError(png_structp Png, png_const_charp Message) {
  auto* c = static_cast<TPngContext*>(png_get_error_ptr(Png));
  std::snprintf(c->Error, sizeof c->Error, "%s", Message ? Message : "unknown error");
  png_longjmp(Png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// A separate frame for allocations, so a bad_alloc unwinds only through C++ frames.
[[gnu::noinline]] void AllocateRows(TImage& Out, std::vector<png_bytep>& Rows, png_uint_32 W,
                                    png_uint_32 H) {
  Out.Pixels.assign(size_t{W} * H, 0);
  Rows.resize(H);
  for (png_uint_32 y = 0; y < H; ++y)
    Rows[y] = reinterpret_cast<png_bytep>(Out.Pixels.data() + size_t{y} * W);
}

// libpng reports errors by longjmp; nothing in this frame has a destructor, so jumping back to
// the setjmp here skips no cleanup. Returns false with the message in C.Error.
bool ReadPngCore(TPngContext& C, png_structp Png, png_infop Info, TImage& Out,
                 std::vector<png_bytep>& Rows) {
  if (setjmp(png_jmpbuf(Png))) return false;
  png_set_read_fn(Png, &C, PngRead);
  png_set_user_limits(Png, kMaxSide, kMaxSide);
  png_set_chunk_malloc_max(Png, 8u << 20);
  png_read_info(Png, Info);
  png_uint_32 w = 0, h = 0;
  int depth = 0, type = 0, interlace = 0;
  png_get_IHDR(Png, Info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
  // Deflate expands at most about 1032:1, and a pixel takes at least one bit.
  if (uint64_t{w} * h > uint64_t{kMaxArea} || uint64_t{w} * h > 65536 + uint64_t{C.Size} * 8400) {
    std::snprintf(C.Error, sizeof C.Error, "PNG image is too large (%u x %u)", w, h);
    return false;
  }
  if (depth == 16) png_set_strip_16(Png);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(Png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(Png);
  if (png_get_valid(Png, Info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(Png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(Png);
  png_set_bgr(Png);  // B, G, R, A in memory: 0xAARRGGBB as a little-endian word
  png_set_filler(Png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(Png);
  png_read_update_info(Png, Info);
  if (png_get_rowbytes(Png, Info) != size_t{w} * 4) {
    std::snprintf(C.Error, sizeof C.Error, "PNG pixel layout is not supported");
    return false;
  }
  AllocateRows(Out, Rows, w, h);
  png_read_image(Png, Rows.data());
  png_read_end(Png, nullptr);
  Out.Width = static_cast<int>(w);
  Out.Height = static_cast<int>(h);
  return true;
}

bool WritePngCore(TPngContext& C, png_structp Png, png_infop Info, const TPixel* Pixels, int W,
                  int H, int Stride, bool Alpha, uint8_t* Row) {
  if (setjmp(png_jmpbuf(Png))) return false;
  png_set_write_fn(Png, &C, PngWrite, PngFlush);
  png_set_IHDR(Png, Info, static_cast<png_uint_32>(W), static_cast<png_uint_32>(H), 8,
               Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(Png, Info);
  for (int y = 0; y < H; ++y) {
    const TPixel* s = Pixels + static_cast<size_t>(y) * Stride;
    uint8_t* d = Row;
    for (int x = 0; x < W; ++x) {
      const TPixel p = s[x];
      *d++ = static_cast<uint8_t>(p >> 16);
      *d++ = static_cast<uint8_t>(p >> 8);
      *d++ = static_cast<uint8_t>(p);
      if (Alpha) *d++ = static_cast<uint8_t>(255 - (p >> 24));
    }
    png_write_row(Png, Row);
  }
  png_write_end(Png, nullptr);
  return true;
}

}  // namespace

size_t DecodePng(std::span<const uint8_t> Data, TImage& Out) {
  if (!IsPng(Data)) Fail("Not a PNG image");
  TPngContext c;
  c.Data = Data.data();
  c.Size = Data.size();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &c, PngError, PngWarning);
  if (!png) Fail("PNG reader could not be created");
  png_infop info = png_create_info_struct(png);
  TImage img;
  std::vector<png_bytep> rows;
  bool ok = false;
  try {
    ok = info && ReadPngCore(c, png, info, img, rows);
  } catch (...) {
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    throw;
  }
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  if (!ok) Fail(std::string("Invalid PNG image: ") + c.Error);
  // The alpha byte becomes its complement, so opaque pixels read 0x00RRGGBB.
  for (TPixel& p : img.Pixels) p ^= 0xFF000000;
  Out = std::move(img);
  return c.Pos;
}

std::vector<uint8_t> EncodePng(const TPixel* Pixels, int Width, int Height, int Stride) {
  if (Width <= 0 || Height <= 0) Fail("Cannot save an empty image");
  const bool alpha = AnyTranslucent(Pixels, Width, Height, Stride);
  std::vector<uint8_t> out;
  std::vector<uint8_t> row(static_cast<size_t>(Width) * 4);
  TPngContext c;
  c.Output = &out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &c, PngError, PngWarning);
  if (!png) Fail("PNG writer could not be created");
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  try {
    ok = info && WritePngCore(c, png, info, Pixels, Width, Height, Stride, alpha, row.data());
  } catch (...) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    throw;
  }
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!ok) Fail(std::string("PNG image could not be written: ") + c.Error);
  return out;
}

}  // namespace image

// ---------------------------------------------------------------- TBitmap

namespace {

bool EndsWithPng(const std::string& Name) {
  if (Name.size() < 4) return false;
  std::string ext = Name.substr(Name.size() - 4);
  for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ext == ".png";
}

// A stream holding an image larger than this is refused before reading it.
constexpr int64_t kMaxImageBytes = int64_t{1} << 30;

}  // namespace

void TBitmap::LoadFromMemory(std::span<const uint8_t> Data) {
  image::TImage img;
  if (Data.empty()) throw EInvalidGraphic("Image data is empty");
  if (image::IsBmp(Data))
    image::DecodeBmp(Data, img);
  else if (image::IsPng(Data))
    image::DecodePng(Data, img);
  else
    throw EInvalidGraphic("Unknown image format (neither BMP nor PNG)");
  // All checks passed: swap the new pixels in.
  FPixels.swap(img.Pixels);
  FWidth = img.Width;
  FHeight = img.Height;
  Rebind();
  Changed();
}

void TBitmap::LoadFromStream(TStream& Stream) {
  const int64_t start = Stream.GetPosition();
  const int64_t left = Stream.GetSize() - start;
  if (left <= 0) throw EInvalidGraphic("Image data is empty");
  if (left > kMaxImageBytes) throw EInvalidGraphic("Image data is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(left));
  int64_t got = 0;
  while (got < left) {
    const int64_t n = Stream.Read(bytes.data() + got, left - got);
    if (n <= 0) break;
    got += n;
  }
  bytes.resize(static_cast<size_t>(got));
  const std::span<const uint8_t> data(bytes);
  image::TImage img;
  size_t used = 0;
  try {
    if (data.empty()) throw EInvalidGraphic("Image data is empty");
    if (image::IsBmp(data))
      used = image::DecodeBmp(data, img);
    else if (image::IsPng(data))
      used = image::DecodePng(data, img);
    else
      throw EInvalidGraphic("Unknown image format (neither BMP nor PNG)");
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
  // The stream is left just past the image, so images can follow one another.
  Stream.SetPosition(start + static_cast<int64_t>(used));
  FPixels.swap(img.Pixels);
  FWidth = img.Width;
  FHeight = img.Height;
  Rebind();
  Changed();
}

void TBitmap::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
  try {
    LoadFromStream(f);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic(FileName + ": " + e.Message);
  }
}

void TBitmap::SaveToStream(TStream& Stream) const {
  const std::vector<uint8_t> bytes = image::EncodeBmp(FPixels.data(), FWidth, FHeight, FWidth);
  Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::SaveToPngStream(TStream& Stream) const {
  const std::vector<uint8_t> bytes = image::EncodePng(FPixels.data(), FWidth, FHeight, FWidth);
  Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  // Encoded first, so a failure leaves no half-written file behind.
  const std::vector<uint8_t> bytes =
      EndsWithPng(FileName) ? image::EncodePng(FPixels.data(), FWidth, FHeight, FWidth)
                            : image::EncodeBmp(FPixels.data(), FWidth, FHeight, FWidth);
  TFileStream f(FileName, fmCreate);
  f.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TBitmap::LoadFromResourceName(const std::string& Name) {
  const std::span<const uint8_t> data = FindResource(Name);
  if (data.empty()) throw EResNotFound("Resource " + Name + " not found");
  LoadFromMemory(data);
}

}  // namespace qel

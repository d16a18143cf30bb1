// BMP and PNG files: every depth and layout read, round trips, and broken data that must raise
// EInvalidGraphic without touching the bitmap.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/graphics/Graphics.h"
#include "platform/graphics/ImageCodecs.h"
#include "platform/graphics/Resources.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(Bytes& v, uint32_t x) {
  Put16(v, x & 0xFFFF);
  Put16(v, x >> 16);
}

// A BMP file put together field by field. Rows are given as they lie in the file (bottom row
// first unless the height is negative), padding included.
struct BmpLayout {
  uint32_t HeaderSize = 40;
  int32_t Width = 0;
  int32_t Height = 0;
  uint16_t Bpp = 24;
  uint32_t Compression = 0;
  std::vector<uint32_t> Palette{};  // 0x00RRGGBB
  std::vector<uint32_t> Masks{};  // written after a 40-byte header, or inside a longer one
  uint32_t ColorsUsed = 0;
  Bytes Pixels{};
};

Bytes MakeBmp(const BmpLayout& s) {
  Bytes h;
  if (s.HeaderSize == 12) {
    Put32(h, 12);
    Put16(h, static_cast<uint32_t>(s.Width));
    Put16(h, static_cast<uint32_t>(s.Height));
    Put16(h, 1);
    Put16(h, s.Bpp);
  } else {
    Put32(h, s.HeaderSize);
    Put32(h, static_cast<uint32_t>(s.Width));
    Put32(h, static_cast<uint32_t>(s.Height));
    Put16(h, 1);
    Put16(h, s.Bpp);
    Put32(h, s.Compression);
    Put32(h, static_cast<uint32_t>(s.Pixels.size()));
    Put32(h, 2835);
    Put32(h, 2835);
    Put32(h, s.ColorsUsed);
    Put32(h, 0);
    if (s.HeaderSize > 40) {
      for (size_t i = 0; i < 4; ++i) Put32(h, i < s.Masks.size() ? s.Masks[i] : 0);
      h.resize(s.HeaderSize, 0);
    } else {
      for (uint32_t m : s.Masks) Put32(h, m);
    }
  }
  for (uint32_t c : s.Palette) {
    h.push_back(static_cast<uint8_t>(c));
    h.push_back(static_cast<uint8_t>(c >> 8));
    h.push_back(static_cast<uint8_t>(c >> 16));
    if (s.HeaderSize != 12) h.push_back(0);
  }
  Bytes f{'B', 'M'};
  Put32(f, static_cast<uint32_t>(14 + h.size() + s.Pixels.size()));
  Put32(f, 0);
  Put32(f, static_cast<uint32_t>(14 + h.size()));
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), s.Pixels.begin(), s.Pixels.end());
  return f;
}

// The pixels of a bitmap as TPixel rows, top first.
std::vector<TPixel> PixelsOf(const TBitmap& b) {
  std::vector<TPixel> v;
  for (int y = 0; y < b.GetHeight(); ++y)
    v.insert(v.end(), b.ScanLine(y), b.ScanLine(y) + b.GetWidth());
  return v;
}

std::vector<TPixel> Loaded(const Bytes& data) {
  TBitmap b;
  b.LoadFromMemory(data);
  return PixelsOf(b);
}

uint32_t Crc32(const uint8_t* p, size_t n) {
  uint32_t c = 0xFFFFFFFF;
  for (size_t i = 0; i < n; ++i) {
    c ^= p[i];
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320 & (0 - (c & 1)));
  }
  return ~c;
}

constexpr TPixel R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0x000000;

// ---------------------------------------------------------------- BMP depths

TEST(BmpRead, PalettedDepths) {
  BmpLayout one{.Width = 3, .Height = 2, .Bpp = 1, .Palette = {K, W}};
  one.Pixels = {0b01000000, 0, 0, 0, 0b10100000, 0, 0, 0};  // bottom row, then top row
  EXPECT_EQ(Loaded(MakeBmp(one)), (std::vector<TPixel>{W, K, W, K, W, K}));

  BmpLayout four{.Width = 3, .Height = 1, .Bpp = 4, .Palette = {K, R, G, B}, .ColorsUsed = 4};
  four.Pixels = {0x12, 0x30, 0, 0};
  EXPECT_EQ((Loaded(MakeBmp(four))), (std::vector<TPixel>{R, G, B}));

  BmpLayout eight{.Width = 2, .Height = 2, .Bpp = 8, .Palette = {K, R, G, B, W}, .ColorsUsed = 5};
  eight.Pixels = {1, 2, 0, 0, 3, 4, 0, 0};
  EXPECT_EQ((Loaded(MakeBmp(eight))), (std::vector<TPixel>{B, W, R, G}));

  // The old core header: 16-bit sizes and 3-byte palette entries.
  BmpLayout core{.HeaderSize = 12, .Width = 2, .Height = 1, .Bpp = 8, .Palette = {R, G}};
  core.Pixels = {1, 0, 0, 0};
  EXPECT_EQ((Loaded(MakeBmp(core))), (std::vector<TPixel>{G, R}));
}

TEST(BmpRead, DirectColourDepths) {
  BmpLayout s555{.Width = 3, .Height = 1, .Bpp = 16};
  s555.Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0};  // red, green, blue in 5-5-5
  EXPECT_EQ((Loaded(MakeBmp(s555))), (std::vector<TPixel>{R, G, B}));

  BmpLayout s565{
      .Width = 2, .Height = 1, .Bpp = 16, .Compression = 3, .Masks = {0xF800, 0x07E0, 0x001F}};
  s565.Pixels = {0xE0, 0x07, 0x10, 0x84};  // full green; 0x8410 = half of each
  EXPECT_EQ((Loaded(MakeBmp(s565))), (std::vector<TPixel>{G, 0x838183}));

  BmpLayout s24{.Width = 2, .Height = 2, .Bpp = 24};
  s24.Pixels = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0,   // bottom row
                0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0, 0};  // top row
  EXPECT_EQ((Loaded(MakeBmp(s24))), (std::vector<TPixel>{0x302010, 0x605040, 0x030201, 0x060504}));

  BmpLayout s32{.Width = 1, .Height = 1, .Bpp = 32};
  s32.Pixels = {0x11, 0x22, 0x33, 0x99};  // the fourth byte of BI_RGB is unused
  EXPECT_EQ((Loaded(MakeBmp(s32))), (std::vector<TPixel>{0x332211}));

  // A V5 header with an alpha mask keeps the alpha (as its complement in the top byte).
  BmpLayout v5{.HeaderSize = 124,
               .Width = 2,
               .Height = 1,
               .Bpp = 32,
               .Compression = 3,
               .Masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}};
  v5.Pixels = {0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x40};
  EXPECT_EQ((Loaded(MakeBmp(v5))), (std::vector<TPixel>{0x00332211, 0xBF665544}));
  // ... but an alpha channel that is zero everywhere means "not used".
  v5.Pixels = {0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0};
  EXPECT_EQ((Loaded(MakeBmp(v5))), (std::vector<TPixel>{0x332211, 0x665544}));

  BmpLayout swapped{.HeaderSize = 108,
                    .Width = 1,
                    .Height = 1,
                    .Bpp = 32,
                    .Compression = 3,
                    .Masks = {0x000000FF, 0x0000FF00, 0x00FF0000}};
  swapped.Pixels = {0x11, 0x22, 0x33, 0x00};
  EXPECT_EQ((Loaded(MakeBmp(swapped))), (std::vector<TPixel>{0x112233}));
}

TEST(BmpRead, TopDownAndShortLastRow) {
  BmpLayout s{.Width = 1, .Height = -2, .Bpp = 24};
  s.Pixels = {0xFF, 0, 0, 0, 0, 0, 0xFF};  // top row first; the last row lacks its padding
  EXPECT_EQ((Loaded(MakeBmp(s))), (std::vector<TPixel>{B, R}));
}

TEST(BmpRead, RunLengthEncoded) {
  BmpLayout rle8{.Width = 4, .Height = 3, .Bpp = 8, .Compression = 1, .Palette = {K, R, G, B}};
  rle8.Pixels = {
      3, 1, 0, 0,        // bottom row: three red, end of line
      0, 3, 2, 3, 1, 0,  // absolute run of 3 (padded), then
      0, 0,              // end of line
      0, 2, 1, 0,        // delta: one right in the top row
      2, 3, 0, 1,        // two blue, end of bitmap
  };
  EXPECT_EQ((Loaded(MakeBmp(rle8))), (std::vector<TPixel>{K, B, B, K, G, B, R, K, R, R, R, K}));

  BmpLayout rle4{.Width = 6, .Height = 1, .Bpp = 4, .Compression = 2, .Palette = {K, R, G, B}};
  rle4.Pixels = {3, 0x12, 0, 3, 0x30, 0x20, 0, 1};  // R G R, then absolute B K G
  EXPECT_EQ((Loaded(MakeBmp(rle4))), (std::vector<TPixel>{R, G, R, B, K, G}));
}

// ---------------------------------------------------------------- broken BMP

// A bitmap with known content, to check that failed loads change nothing.
struct Witness {
  TBitmap Bitmap{2, 2};
  Witness() {
    Bitmap.ScanLine(0)[0] = 0x123456;
    Bitmap.ScanLine(1)[1] = 0x654321;
  }
  void ExpectRejected(const Bytes& Data, const char* What) {
    const std::vector<TPixel> before = PixelsOf(Bitmap);
    EXPECT_THROW(Bitmap.LoadFromMemory(Data), EInvalidGraphic) << What;
    EXPECT_EQ(Bitmap.GetWidth(), 2) << What;
    EXPECT_EQ(Bitmap.GetHeight(), 2) << What;
    EXPECT_EQ(PixelsOf(Bitmap), before) << What;
  }
};

TEST(BmpBroken, MalformedFilesRaiseAndLeaveTheBitmap) {
  Witness w;
  w.ExpectRejected({}, "empty");
  w.ExpectRejected({'B', 'M'}, "signature only");
  w.ExpectRejected({'G', 'I', 'F', '8', '9', 'a'}, "unknown format");

  BmpLayout base{.Width = 2, .Height = 2, .Bpp = 8, .Palette = {K, R}, .ColorsUsed = 2};
  base.Pixels = {0, 1, 0, 0, 1, 0, 0, 0};
  ASSERT_NO_THROW(Loaded(MakeBmp(base)));
  const auto variant = [&](const std::function<void(BmpLayout&)>& change) {
    BmpLayout s = base;
    change(s);
    return MakeBmp(s);
  };
  w.ExpectRejected(variant([](BmpLayout& s) { s.Pixels[1] = 5; }), "palette index out of range");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Width = 100000; }), "huge width");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Height = INT32_MIN; }), "height INT_MIN");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Width = -2; }), "negative width");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Height = 0; }), "zero height");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Width = s.Height = 32768; }),
                   "area beyond the data");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Bpp = 7; }), "bit depth");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Compression = 4; }), "JPEG compression");
  w.ExpectRejected(variant([](BmpLayout& s) { s.Compression = 2; }), "RLE4 at 8 bits");
  w.ExpectRejected(variant([](BmpLayout& s) { s.HeaderSize = 99; }), "header size");
  Bytes offset = MakeBmp(base);
  offset[10] = 0xF0, offset[11] = 0xFF;  // pixel data offset far beyond the end
  w.ExpectRejected(offset, "data offset");

  // Every truncation of a valid file is refused (but for the padding of the last row).
  const Bytes whole = MakeBmp(base);
  for (size_t n = 0; n < whole.size() - 2; ++n)
    w.ExpectRejected(Bytes(whole.begin(), whole.begin() + n), "truncated");
}

TEST(BmpBroken, RunLengthOverrunsRaise) {
  Witness w;
  BmpLayout s{.Width = 4, .Height = 2, .Bpp = 8, .Compression = 1, .Palette = {K, R}};
  s.Pixels = {5, 1, 0, 1};  // a run of five in a row of four
  w.ExpectRejected(MakeBmp(s), "run past the row");
  s.Pixels = {0, 2, 0, 9, 1, 1, 0, 1};  // delta beyond the top
  w.ExpectRejected(MakeBmp(s), "delta past the image");
  s.Pixels = {0, 0, 0, 0, 0, 0, 2, 1};  // more rows than the image has
  w.ExpectRejected(MakeBmp(s), "rows past the image");
  s.Pixels = {0, 5, 1, 1};  // absolute run without its data
  w.ExpectRejected(MakeBmp(s), "absolute run truncated");
  s.Pixels = {2, 1};  // ends before covering the image, without end-of-bitmap
  w.ExpectRejected(MakeBmp(s), "no end of bitmap");
  s.Width = 30000, s.Height = 30000, s.Pixels = {0, 1};
  w.ExpectRejected(MakeBmp(s), "huge image from a few bytes");
  s = {.Width = 4, .Height = -2, .Bpp = 8, .Compression = 1, .Palette = {K, R}};
  s.Pixels = {0, 1};
  w.ExpectRejected(MakeBmp(s), "top-down RLE");
}

// ---------------------------------------------------------------- writing and round trips

std::unique_ptr<TBitmap> Pattern(int Width, int Height) {
  auto p = std::make_unique<TBitmap>(Width, Height);
  TBitmap& b = *p;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      b.ScanLine(y)[x] = static_cast<TPixel>((x * 37 + y * 11) & 0xFF) << 16 |
                         static_cast<TPixel>((x * 5 + y * 53) & 0xFF) << 8 |
                         static_cast<TPixel>((x ^ y) * 7 & 0xFF);
  return p;
}

TEST(ImageRoundTrip, BmpIs24BitWhenOpaqueAndKeepsEveryPixel) {
  for (int w : {1, 2, 3, 4, 5, 17}) {
    auto owned = Pattern(w, 3);
    const TBitmap& src = *owned;
    TMemoryStream m;
    src.SaveToStream(m);
    ASSERT_GE(m.GetSize(), 54);
    EXPECT_EQ(m.Memory()[28], 24);  // bits per pixel
    EXPECT_EQ(m.GetSize(), 54 + ((w * 3 + 3) & ~3) * 3);
    m.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(m);
    EXPECT_EQ(back.GetWidth(), w);
    EXPECT_EQ(PixelsOf(back), PixelsOf(src)) << w;
  }
}

TEST(ImageRoundTrip, TranslucentPixelsKeepTheirAlphaInBothFormats) {
  auto owned = Pattern(3, 2);
  TBitmap& src = *owned;
  src.ScanLine(0)[1] |= 0x80000000;  // half transparent
  src.ScanLine(1)[2] |= 0xFF000000;  // fully transparent
  TMemoryStream bmp, png;
  src.SaveToStream(bmp);
  src.SaveToPngStream(png);
  EXPECT_EQ(bmp.Memory()[28], 32);
  for (TMemoryStream* m : {&bmp, &png}) {
    m->SetPosition(0);
    TBitmap back;
    back.LoadFromStream(*m);
    EXPECT_EQ(PixelsOf(back), PixelsOf(src));
  }
}

TEST(ImageRoundTrip, PngKeepsEveryPixel) {
  auto owned = Pattern(33, 7);
  const TBitmap& src = *owned;
  TMemoryStream m;
  src.SaveToPngStream(m);
  EXPECT_TRUE(image::IsPng({m.Memory(), static_cast<size_t>(m.GetSize())}));
  m.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(m);
  EXPECT_EQ(PixelsOf(back), PixelsOf(src));
}

TEST(ImageRoundTrip, StreamsHoldImagesOneAfterAnother) {
  auto pa = Pattern(2, 2), pb = Pattern(5, 1);
  const TBitmap &a = *pa, &b = *pb;
  TMemoryStream m;
  a.SaveToPngStream(m);
  b.SaveToStream(m);
  a.SaveToStream(m);
  m.SetPosition(0);
  TBitmap x;
  x.LoadFromStream(m);
  EXPECT_EQ(PixelsOf(x), PixelsOf(a));
  x.LoadFromStream(m);
  EXPECT_EQ(PixelsOf(x), PixelsOf(b));
  x.LoadFromStream(m);
  EXPECT_EQ(PixelsOf(x), PixelsOf(a));
  EXPECT_EQ(m.GetPosition(), m.GetSize());
  const int64_t end = m.GetPosition();
  EXPECT_THROW(x.LoadFromStream(m), EInvalidGraphic);
  EXPECT_EQ(m.GetPosition(), end);
}

TEST(ImageRoundTrip, FilesChooseTheFormatByExtension) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("qel_image_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto owned = Pattern(6, 4);
  const TBitmap& src = *owned;
  src.SaveToFile((dir / "a.PNG").string());
  src.SaveToFile((dir / "a.bmp").string());
  TBitmap p, b;
  p.LoadFromFile((dir / "a.PNG").string());
  b.LoadFromFile((dir / "a.bmp").string());
  EXPECT_EQ(PixelsOf(p), PixelsOf(src));
  EXPECT_EQ(PixelsOf(b), PixelsOf(src));
  TMemoryStream raw;
  raw.LoadFromFile((dir / "a.PNG").string());
  EXPECT_EQ(raw.Memory()[1], 'P');
  EXPECT_THROW(p.LoadFromFile((dir / "missing.png").string()), EFOpenError);
  {
    TFileStream junk((dir / "junk.bmp").string(), fmCreate);
    junk.WriteBuffer("BMxx", 4);
  }
  try {
    p.LoadFromFile((dir / "junk.bmp").string());
    ADD_FAILURE() << "junk loaded";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message.find("junk.bmp"), std::string::npos) << e.Message;
  }
  EXPECT_EQ(PixelsOf(p), PixelsOf(src));
  TBitmap empty;
  EXPECT_THROW(empty.SaveToFile((dir / "empty.png").string()), EInvalidGraphic);
  EXPECT_FALSE(fs::exists(dir / "empty.png"));
  fs::remove_all(dir);
}

// ---------------------------------------------------------------- PNG colour types

// Writes a PNG with libpng directly, to cover colour types our own writer never produces.
Bytes WritePng(int Width, int Height, int ColorType, int Depth, const std::vector<Bytes>& Rows,
               const std::vector<png_color>& Palette = {}, const Bytes& Trans = {},
               bool Interlaced = false) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep d, size_t n) {
        auto* o = static_cast<Bytes*>(png_get_io_ptr(p));
        o->insert(o->end(), d, d + n);
      },
      nullptr);
  png_set_IHDR(png, info, Width, Height, Depth, ColorType,
               Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!Palette.empty()) png_set_PLTE(png, info, Palette.data(), static_cast<int>(Palette.size()));
  if (!Trans.empty())
    png_set_tRNS(png, info, Trans.data(), static_cast<int>(Trans.size()), nullptr);
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const Bytes& r : Rows) rows.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngRead, EveryColourTypeBecomes32Bit) {
  EXPECT_EQ((Loaded(WritePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {{0x00, 0x80}}))),
            (std::vector<TPixel>{0x000000, 0x808080}));
  EXPECT_EQ((Loaded(WritePng(3, 1, PNG_COLOR_TYPE_GRAY, 1, {{0b10100000}}))),
            (std::vector<TPixel>{W, K, W}));
  EXPECT_EQ((Loaded(WritePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{0x40, 0x00}}))),
            (std::vector<TPixel>{0xFF404040}));
  EXPECT_EQ(
      (Loaded(WritePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}}))),
      (std::vector<TPixel>{0x12569A}));
  EXPECT_EQ((Loaded(WritePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {{1, 0}}, {{255, 0, 0}, {0, 0, 255}},
                             {0x20}))),
            (std::vector<TPixel>{B, 0xDFFF0000}));
  EXPECT_EQ((Loaded(WritePng(2, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x10}}, {{1, 2, 3}, {4, 5, 6}}))),
            (std::vector<TPixel>{0x040506, 0x010203}));
  std::vector<Bytes> rows;
  std::vector<TPixel> expect;
  for (int y = 0; y < 9; ++y) {
    rows.emplace_back();
    for (int x = 0; x < 10; ++x) {
      rows.back().insert(rows.back().end(), {uint8_t(x * 20), uint8_t(y * 20), 7});
      expect.push_back(TPixel(x * 20) << 16 | TPixel(y * 20) << 8 | 7);
    }
  }
  EXPECT_EQ((Loaded(WritePng(10, 9, PNG_COLOR_TYPE_RGB, 8, rows, {}, {}, true))), expect);
}

TEST(PngBroken, MalformedFilesRaiseAndLeaveTheBitmap) {
  Witness w;
  TMemoryStream m;
  Pattern(4, 3)->SaveToPngStream(m);
  const Bytes whole(m.Memory(), m.Memory() + m.GetSize());
  for (size_t n = 0; n < whole.size(); ++n)
    w.ExpectRejected(Bytes(whole.begin(), whole.begin() + n), "truncated PNG");
  Bytes badCrc = whole;
  badCrc[29] ^= 1;  // the IHDR checksum
  w.ExpectRejected(badCrc, "IHDR checksum");
  Bytes huge = WritePng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{0}});
  // A 100000 x 1 header with a correct checksum: beyond the side limit.
  huge[16] = 0, huge[17] = 0x01, huge[18] = 0x86, huge[19] = 0xA0;
  const uint32_t crc = static_cast<uint32_t>(Crc32(huge.data() + 12, 17));
  huge[29] = crc >> 24, huge[30] = crc >> 16, huge[31] = crc >> 8, huge[32] = crc;
  w.ExpectRejected(huge, "huge PNG");
  Bytes big = huge;  // 20000 x 20000 within the side limit, but far beyond what the data holds
  big[16] = 0, big[17] = 0, big[18] = 0x4E, big[19] = 0x20;
  big[20] = 0, big[21] = 0, big[22] = 0x4E, big[23] = 0x20;
  const uint32_t crc2 = static_cast<uint32_t>(Crc32(big.data() + 12, 17));
  big[29] = crc2 >> 24, big[30] = crc2 >> 16, big[31] = crc2 >> 8, big[32] = crc2;
  w.ExpectRejected(big, "PNG larger than its data");
}

// ---------------------------------------------------------------- resources

TEST(ImageResources, EmbeddedSelfTestPatternLoadsByName) {
  EXPECT_FALSE(FindResource("test_pattern").empty());
  EXPECT_TRUE(FindResource("no_such_resource").empty());
  TBitmap b;
  b.LoadFromResourceName("Test_Pattern");
  ASSERT_EQ(b.GetWidth(), 4);
  ASSERT_EQ(b.GetHeight(), 3);
  EXPECT_EQ(PixelsOf(b), (std::vector<TPixel>{R, G, B, W, K, 0x808080, 0xFFFF00, 0x00FFFF,
                                              0x7F102030, 0xFF102030, 0xC86432, 0x010203}));
  try {
    b.LoadFromResourceName("NOPE");
    ADD_FAILURE() << "loaded a missing resource";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, "Resource NOPE not found");
  }
  EXPECT_EQ(b.GetWidth(), 4);
}

}  // namespace
}  // namespace qel

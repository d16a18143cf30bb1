#include "tests/support/Golden.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/rtl/Streams.h"

namespace qel::test {

namespace {

bool Regenerating() {
  const char* v = std::getenv("QEL_REGENERATE_GOLDEN");
  return v && std::string(v) == "1";
}

std::string Hex(TPixel p) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", p);
  return buf;
}

}  // namespace

std::string GoldenDir() { return std::string(QEL_SOURCE_DIR) + "/tests/golden"; }

void ExpectMatchesGolden(const TBitmap& Bitmap, const std::string& Name, int TextPixelBudget) {
  namespace fs = std::filesystem;
  const std::string ref = GoldenDir() + "/" + Name + ".png";
  const std::string actual = GoldenDir() + "/" + Name + "_actual.png";
  if (Regenerating()) {
    fs::create_directories(GoldenDir());
    Bitmap.SaveToFile(ref);
    std::error_code ec;
    fs::remove(actual, ec);
    return;
  }
  if (!fs::exists(ref)) {
    Bitmap.SaveToFile(actual);
    ADD_FAILURE() << "no reference image " << ref << " (wrote " << actual
                  << "; set QEL_REGENERATE_GOLDEN=1 to create references)";
    return;
  }
  TBitmap expected;
  expected.LoadFromFile(ref);
  std::ostringstream why;
  if (expected.GetWidth() != Bitmap.GetWidth() || expected.GetHeight() != Bitmap.GetHeight()) {
    why << "size " << Bitmap.GetWidth() << "x" << Bitmap.GetHeight() << ", reference "
        << expected.GetWidth() << "x" << expected.GetHeight();
  } else {
    int count = 0, fx = -1, fy = -1;
    TPixel fa = 0, fe = 0;
    for (int y = 0; y < Bitmap.GetHeight(); ++y) {
      const TPixel* a = Bitmap.ScanLine(y);
      const TPixel* e = expected.ScanLine(y);
      for (int x = 0; x < Bitmap.GetWidth(); ++x)
        if (a[x] != e[x]) {
          if (count++ == 0) fx = x, fy = y, fa = a[x], fe = e[x];
        }
    }
    if (count <= TextPixelBudget) {
      std::error_code ec;
      fs::remove(actual, ec);
      return;
    }
    why << count << " pixels differ (budget " << TextPixelBudget << "); first at (" << fx << ", "
        << fy << "): " << Hex(fa) << ", reference " << Hex(fe);
  }
  Bitmap.SaveToFile(actual);
  ADD_FAILURE() << "golden image " << Name << ": " << why.str() << " (wrote " << actual << ")";
}

TColor PixelAt(const TBitmap& Bitmap, int X, int Y) {
  if (X < 0 || Y < 0 || X >= Bitmap.GetWidth() || Y >= Bitmap.GetHeight()) return clNone;
  return PixelToColor(Bitmap.ScanLine(Y)[X] & 0x00FFFFFF);
}

std::string AsciiArt(const TBitmap& Bitmap, const TRect& R, const std::map<TColor, char>& Legend,
                     char Other) {
  std::string s;
  for (int y = R.Top; y < R.Bottom; ++y) {
    for (int x = R.Left; x < R.Right; ++x) {
      const TColor c = PixelAt(Bitmap, x, y);
      if (c == clNone) {
        s += ' ';
        continue;
      }
      auto it = Legend.find(c);
      s += it == Legend.end() ? Other : it->second;
    }
    s += '\n';
  }
  return s;
}

TRect InkBounds(const TBitmap& Bitmap, const TRect& R, TColor Background) {
  const TRect r = IntersectRect(R, {0, 0, Bitmap.GetWidth(), Bitmap.GetHeight()});
  TRect ink;
  bool any = false;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (PixelAt(Bitmap, x, y) != Background) {
        if (!any) ink = {x, y, x + 1, y + 1};
        ink = UnionRect(ink, {x, y, x + 1, y + 1});
        any = true;
      }
  return ink;
}

TRect InkBounds(const TBitmap& Bitmap, TColor Background) {
  return InkBounds(Bitmap, {0, 0, Bitmap.GetWidth(), Bitmap.GetHeight()}, Background);
}

int CountPixels(const TBitmap& Bitmap, const TRect& R, TColor Color) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) n += PixelAt(Bitmap, x, y) == Color;
  return n;
}

int CountOtherPixels(const TBitmap& Bitmap, const TRect& R, TColor Color) {
  const TRect r = IntersectRect(R, {0, 0, Bitmap.GetWidth(), Bitmap.GetHeight()});
  return r.Width() * r.Height() - CountPixels(Bitmap, r, Color);
}

void FillBitmap(TBitmap& Bitmap, TColor Color) {
  const TPixel p = ColorToPixel(Color);
  for (int y = 0; y < Bitmap.GetHeight(); ++y)
    std::fill_n(Bitmap.ScanLine(y), Bitmap.GetWidth(), p);
}

}  // namespace qel::test

// Paints a meter headless and checks a pixel of its needle: proof that headers, libraries,
// fonts and resources of an installed qel work from outside its tree.
#include <qel/meter/QEL_Meter.h>
#include <qel/platform/graphics/Graphics.h>

#include <cstdio>

int main() {
  qel::TMeter meter(nullptr);
  meter.SetBounds(0, 0, 297, 209);
  meter.SetValue(0.5);
  qel::TBitmap bmp(297, 209);
  meter.PaintTo(&bmp);
  // Halfway up the scale the needle points straight up from the pivot.
  int x = 0, y = 0;
  meter.ConvertToPixelCoords(0.5, 50, x, y);
  const qel::TColor c = bmp.Canvas()->GetPixel(x, y);
  if (c == qel::clWhite) {
    std::fprintf(stderr, "qel-consumer: no needle at (%d, %d)\n", x, y);
    return 1;
  }
  std::printf("qel-consumer: meter painted, needle at (%d, %d)\n", x, y);
  return 0;
}

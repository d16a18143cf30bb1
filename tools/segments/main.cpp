// Draws the six segment bitmaps of the seven-segment display with our own canvas and writes
// them as PNG into the resources folder (default: resources/ of the source tree). Each bitmap
// holds one shape in black on white; the display recolours the shape by flood fill, so every
// shape must be one 4-connected area (the colon: two, filled at their own points).
//
//   qel-segments [output-folder]
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"

using namespace qel;

namespace {

using TBmp = std::unique_ptr<TBitmap>;

TBmp Blank(int W, int H) {
  auto b = std::make_unique<TBitmap>(W, H);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, W, H));
  b->Canvas()->Brush()->SetColor(clBlack);
  b->Canvas()->Pen()->SetColor(clBlack);
  return b;
}

// The slant of every upright piece: 37 pixels to the right over the 197-pixel rise between
// the lower and the upper vertical segment of the master cell.
double SlantX(double Rise) { return Rise * 37.0 / 197.0; }

// A vertical segment: a slanted hexagon, pointed at both ends, 30 pixels across.
TBmp Vertical() {
  TBmp b = Blank(68, 190);
  auto xc = [](double y) { return static_cast<int>(16 + SlantX(189 - y) + 0.5); };
  const std::vector<TPoint> p = {{xc(2), 2},     {xc(17) + 15, 17},   {xc(172) + 15, 172},
                                 {xc(187), 187}, {xc(172) - 15, 172}, {xc(17) - 15, 17}};
  b->Canvas()->Polygon(p);
  return b;
}

// A horizontal segment: a hexagon pointed at both ends, 30 pixels high.
TBmp Horizontal() {
  TBmp b = Blank(200, 38);
  const std::vector<TPoint> p = {{3, 19}, {19, 4}, {181, 4}, {196, 19}, {181, 34}, {19, 34}};
  b->Canvas()->Polygon(p);
  return b;
}

TBmp Dot() {
  TBmp b = Blank(38, 38);
  b->Canvas()->Ellipse(4, 4, 34, 34);
  return b;
}

// A plus: the middle segment crossed by a slanted upright bar of the same weight.
TBmp Plus() {
  TBmp b = Blank(200, 190);
  const std::vector<TPoint> bar = {{23, 95}, {39, 80}, {161, 80}, {177, 95}, {161, 110}, {39, 110}};
  b->Canvas()->Polygon(bar);
  auto xc = [](double y) { return static_cast<int>(100 - SlantX(95) + SlantX(189 - y) + 0.5); };
  const std::vector<TPoint> up = {{xc(12), 12},   {xc(27) + 15, 27},   {xc(163) + 15, 163},
                                  {xc(178), 178}, {xc(163) - 15, 163}, {xc(27) - 15, 27}};
  b->Canvas()->Polygon(up);
  return b;
}

// A colon: two round dots on the slant, lower left and upper right.
TBmp Colon() {
  TBmp b = Blank(68, 190);
  b->Canvas()->Ellipse(4, 158, 33, 187);
  b->Canvas()->Ellipse(36, 4, 65, 33);
  return b;
}

// A degree sign: a ring whose left side passes through (25, height div 2).
TBmp Degree() {
  TBmp b = Blank(160, 138);
  b->Canvas()->Ellipse(14, 8, 136, 130);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->Pen()->SetColor(clWhite);
  b->Canvas()->Ellipse(40, 34, 110, 104);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir = argc > 1 ? argv[1] : QEL_SOURCE_DIR "/resources";
  struct Piece {
    const char* File;
    TBmp Bitmap;
  };
  Piece pieces[] = {{"segvert", Vertical()}, {"seghorz", Horizontal()}, {"segdot", Dot()},
                    {"segplus", Plus()},     {"segcolon", Colon()},     {"segdeg", Degree()}};
  for (Piece& p : pieces) {
    const std::string path = dir + "/" + p.File + ".png";
    p.Bitmap->SaveToFile(path);
    std::printf("%s %dx%d\n", path.c_str(), p.Bitmap->GetWidth(), p.Bitmap->GetHeight());
  }
  return 0;
}

#pragma once
// A small anti-aliasing rasteriser for the on/off button's glyph sets: a drawing is a stack of
// layers, each a shape (an inside test in pixel coordinates, y down) and a fill (solid or
// gradient, with alpha). Every pixel is sampled on a 6 x 6 grid and the samples are composited
// layer over layer. The result goes onto the see-through colour: where a pixel is mostly
// uncovered it becomes the see-through colour, and a partly covered edge pixel is blended
// against the button face, the background the glyphs are usually seen on.
#include <functional>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace qel::glyphs {

struct RGBA {
  double R = 0, G = 0, B = 0, A = 0;  // 0..1, not premultiplied
};
// 0xRRGGBB as written in colour pickers, with an alpha.
RGBA Hex(unsigned RGB, double Alpha = 1.0);
RGBA Mix(RGBA A, RGBA B, double T);

struct Pt {
  double X = 0, Y = 0;
};

using Shape = std::function<bool(double X, double Y)>;
using Fill = std::function<RGBA(double X, double Y)>;

// ---- shapes
Shape Circle(double CX, double CY, double R);
Shape Ellipse(double CX, double CY, double RX, double RY);
Shape RoundRect(double X0, double Y0, double X1, double Y1, double Radius);
Shape Polygon(std::vector<Pt> Points);  // even-odd rule
// A line of Width along Points with round joints and ends; Closed joins the last to the first.
Shape Stroke(std::vector<Pt> Points, double Width, bool Closed = false);
// An arc of radius R round (CX, CY) from angle A0 to A1 (degrees, clockwise on screen from the
// positive x axis), Width wide, round ends.
Shape Arc(double CX, double CY, double R, double A0, double A1, double Width);
Shape Ring(double CX, double CY, double R0, double R1);
Shape Minus(Shape A, Shape B);
Shape Union(Shape A, Shape B);
Shape Intersect(Shape A, Shape B);

// Points turned by Degrees (clockwise on screen) about (CX, CY).
std::vector<Pt> Rotate(std::vector<Pt> Points, double CX, double CY, double Degrees);
// Points mirrored about the vertical line x = CX.
std::vector<Pt> MirrorX(std::vector<Pt> Points, double CX);

// ---- fills
Fill Solid(RGBA C);
// C0 at (X0, Y0) to C1 at (X1, Y1), constant across.
Fill Linear(double X0, double Y0, RGBA C0, double X1, double Y1, RGBA C1);
// C0 at (CX, CY) to C1 at distance R and beyond.
Fill Radial(double CX, double CY, double R, RGBA C0, RGBA C1);

class Drawing {
 public:
  Drawing(int Width, int Height) : FWidth(Width), FHeight(Height) {}
  void Add(Shape S, Fill F) { FLayers.push_back({std::move(S), std::move(F)}); }
  void Add(Shape S, RGBA C) { Add(std::move(S), Solid(C)); }
  // Where the layers are looked up for a pixel position: lets one design serve turned or
  // mirrored sets.
  void SetMap(std::function<Pt(double X, double Y)> Map) { FMap = std::move(Map); }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Renders into Target at (X, Y). Disabled washes the colours out to light greys.
  void RenderInto(TBitmap& Target, int X, int Y, bool Disabled) const;

 private:
  struct Layer {
    Shape S;
    Fill F;
  };
  int FWidth, FHeight;
  std::vector<Layer> FLayers;
  std::function<Pt(double X, double Y)> FMap;
};

}  // namespace qel::glyphs

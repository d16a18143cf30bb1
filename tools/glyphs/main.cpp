// Draws every glyph set of the on/off button and writes it as PNG into the resources folder
// (default: resources/ of the source tree). Each set is one bitmap of four quadrants: on and off
// across the top, their disabled looks below. The sets share one palette, one ink for outlines,
// light from the top left and the same lens and metal treatment, so they read as one family.
//
//   qel-glyphs [output-folder]
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "indicators/QEL_onoffbut.h"
#include "tools/glyphs/Raster.h"

using namespace qel;
using namespace qel::glyphs;

namespace {

// ---------------------------------------------------------------- palette

const RGBA kInk = Hex(0x3A3F47);
const RGBA kWhite = Hex(0xFFFFFF);
const RGBA kPaper0 = Hex(0xFFFFFF), kPaper1 = Hex(0xE1E5EA);    // boxes, top to bottom
const RGBA kMetal0 = Hex(0xFBFCFD), kMetal1 = Hex(0xC2C8D0);    // raised metal, lit to shaded
const RGBA kGroove0 = Hex(0x8E96A1), kGroove1 = Hex(0xC6CBD2);  // sunk metal
const RGBA kBlue0 = Hex(0x4C9BF0), kBlue1 = Hex(0x1D5FC2);
const RGBA kGreen0 = Hex(0x56D879), kGreen1 = Hex(0x1E9440);
const RGBA kRed0 = Hex(0xF2766B), kRed1 = Hex(0xB8291F);
const RGBA kGreenLit = Hex(0x46F07F), kRedLit = Hex(0xFF4B3E);

RGBA Alpha(RGBA C, double A) {
  C.A = A;
  return C;
}

Fill Vertical(double Y0, RGBA C0, double Y1, RGBA C1) { return Linear(0, Y0, C0, 0, Y1, C1); }
Fill Diagonal(double X0, double Y0, RGBA C0, double X1, double Y1, RGBA C1) {
  return Linear(X0, Y0, C0, X1, Y1, C1);
}

// A round lens lit from the top left: body gradient and a soft highlight.
void Lens(Drawing& D, double CX, double CY, double R, RGBA Light, RGBA Dark, double Shine) {
  D.Add(Circle(CX, CY, R), Radial(CX - R * 0.3, CY - R * 0.35, R * 1.35, Light, Dark));
  D.Add(Ellipse(CX - R * 0.28, CY - R * 0.45, R * 0.45, R * 0.28), Alpha(kWhite, Shine));
}

// A raised key cap with the ink outline.
void KeyCap(Drawing& D, double X0, double Y0, double X1, double Y1, double R) {
  D.Add(RoundRect(X0, Y0, X1, Y1, R), kInk);
  D.Add(RoundRect(X0 + 1, Y0 + 1, X1 - 1, Y1 - 1, R - 0.8),
        Diagonal(X0, Y0, kMetal0, X1, Y1, kMetal1));
}

// ---------------------------------------------------------------- the sets

Drawing Checkbox(bool On) {
  Drawing d(16, 16);
  d.Add(RoundRect(1, 1, 15, 15, 2.6), kInk);
  if (On) {
    d.Add(RoundRect(2, 2, 14, 14, 1.7), Vertical(2, kBlue0, 14, kBlue1));
    d.Add(Stroke({{4.3, 8.1}, {6.9, 10.8}, {11.8, 5.1}}, 2.0), kWhite);
  } else {
    d.Add(RoundRect(2, 2, 14, 14, 1.7), Vertical(2, kPaper0, 14, kPaper1));
  }
  return d;
}

Drawing RadioBut(bool On) {
  Drawing d(14, 14);
  d.Add(Circle(7, 7, 6.5), kInk);
  if (On) {
    d.Add(Circle(7, 7, 5.5), Vertical(1.5, kBlue0, 12.5, kBlue1));
    d.Add(Circle(7, 7, 2.3), kWhite);
  } else {
    d.Add(Circle(7, 7, 5.5), Vertical(1.5, kPaper0, 12.5, kPaper1));
  }
  return d;
}

// The slide switches are designed lying (30 x 18, on to the right); the standing sets turn the
// design so that on is at the top.
void TurnUpright(Drawing& D) {
  D.SetMap([](double X, double Y) { return Pt{30 - Y, X}; });
}

// The "I" of the on side, upright in either lie of the switch, centred at (X, 9).
Shape OnMark(double X, bool Upright, double Width) {
  if (Upright) return Stroke({{X - 3.2, 9}, {X + 3.2, 9}}, Width);
  return Stroke({{X, 5.8}, {X, 12.2}}, Width);
}

// A metal slider in a sunk track; the uncovered part of the track carries I or O.
Drawing Slide(bool On, bool Upright) {
  Drawing d(Upright ? 18 : 30, Upright ? 30 : 18);
  if (Upright) TurnUpright(d);
  d.Add(RoundRect(0.5, 0.5, 29.5, 17.5, 3), kInk);
  d.Add(RoundRect(1.5, 1.5, 28.5, 16.5, 2.2), Vertical(1.5, kGroove0, 16.5, kGroove1));
  const RGBA mark = Hex(0xF1F3F5);
  if (On)
    d.Add(OnMark(8, Upright, 1.5), mark);
  else
    d.Add(Ring(22, 9, 2.0, 3.3), mark);
  const double k0 = On ? 14.5 : 1.5, k1 = On ? 28.5 : 15.5, kc = (k0 + k1) / 2;
  d.Add(RoundRect(k0, 1.5, k1, 16.5, 2.2), kInk);
  d.Add(RoundRect(k0 + 1, 2.5, k1 - 1, 15.5, 1.5), Vertical(2.5, kMetal0, 15.5, kMetal1));
  for (double dx : {-2.5, 0.0, 2.5}) {
    d.Add(Stroke({{kc + dx + 0.6, 5.6}, {kc + dx + 0.6, 12.4}}, 0.9), Alpha(kWhite, 0.9));
    d.Add(Stroke({{kc + dx, 5.5}, {kc + dx, 12.5}}, 0.9), Hex(0x808894));
  }
  return d;
}

// A pill-shaped switch, green when on and red when off, with a round white knob.
Drawing ColSlide(bool On, bool Upright) {
  Drawing d(Upright ? 18 : 30, Upright ? 30 : 18);
  if (Upright) TurnUpright(d);
  d.Add(RoundRect(0.5, 0.5, 29.5, 17.5, 8.5), kInk);
  d.Add(RoundRect(1.5, 1.5, 28.5, 16.5, 7.5),
        On ? Vertical(1.5, kGreen0, 16.5, kGreen1) : Vertical(1.5, kRed0, 16.5, kRed1));
  if (On)
    d.Add(OnMark(8.5, Upright, 1.6), kWhite);
  else
    d.Add(Ring(21, 9, 2.0, 3.4), kWhite);
  const double kc = On ? 20.5 : 9.5;
  d.Add(Circle(kc + 0.4, 9.7, 6.9), Alpha(Hex(0x000000), 0.28));
  d.Add(Circle(kc, 9, 6.6), Vertical(2.4, kWhite, 15.6, Hex(0xD5DAE0)));
  d.Add(Ring(kc, 9, 6.0, 6.6), Alpha(kInk, 0.35));
  return d;
}

Drawing LedRedGreen(bool On) {
  Drawing d(14, 14);
  d.Add(Circle(7, 7, 6.5), kInk);
  if (On)
    Lens(d, 7, 7, 5.6, Hex(0xC4FFCF), Hex(0x12A43C), 0.75);
  else
    Lens(d, 7, 7, 5.6, Hex(0xFFC0B6), Hex(0xC0281C), 0.75);
  return d;
}

Drawing BeveledLed(bool On) {
  Drawing d(17, 17);
  const double c = 8.5;
  d.Add(Circle(c, c, 8.2), kInk);
  d.Add(Circle(c, c, 7.3), Diagonal(2, 2, kWhite, 15, 15, Hex(0x7E8794)));
  d.Add(Circle(c, c, 5.9), Diagonal(2, 2, Hex(0x7E8794), 15, 15, kWhite));
  d.Add(Circle(c, c, 4.9), kInk);
  if (On)
    Lens(d, c, c, 4.2, Hex(0xFFD6CE), Hex(0xE0241A), 0.8);
  else
    Lens(d, c, c, 4.2, Hex(0x8E403A), Hex(0x3E0F0C), 0.3);
  return d;
}

// A key cap with a block arrow pointing at Degrees (0 up, clockwise); green when on, red off.
Drawing Arrow(bool On, double Degrees) {
  Drawing d(25, 25);
  KeyCap(d, 0.5, 0.5, 24.5, 24.5, 4);
  const std::vector<Pt> up = {{12.5, 3.6}, {21.2, 12.4}, {16.2, 12.4}, {16.2, 21.4},
                              {8.8, 21.4}, {8.8, 12.4},  {3.8, 12.4}};
  const std::vector<Pt> p = Rotate(up, 12.5, 12.5, Degrees);
  d.Add(Polygon(p), On ? Vertical(3, kGreen0, 22, kGreen1) : Vertical(3, kRed0, 22, kRed1));
  d.Add(Stroke(p, 1.2, true), kInk);
  return d;
}

// A pedestrian light: a lit green walking figure when on, a lit red standing one when off.
Drawing TrafficLight(bool On) {
  Drawing d(31, 31);
  d.Add(RoundRect(0.5, 0.5, 30.5, 30.5, 5), kInk);
  d.Add(RoundRect(1.5, 1.5, 29.5, 29.5, 4.2), Vertical(1.5, Hex(0x5A606A), 29.5, Hex(0x2A2E34)));
  d.Add(Circle(15.5, 15.5, 12.2), Hex(0x15171A));
  d.Add(Circle(15.5, 15.5, 11.4), Radial(15.5, 15.5, 11.4, Hex(0x2A2E35), Hex(0x0D0F12)));
  const RGBA lit = On ? kGreenLit : kRedLit;
  d.Add(Circle(15.5, 16, 11.4), Radial(15.5, 16, 11.4, Alpha(lit, 0.35), Alpha(lit, 0)));
  if (On) {
    d.Add(Circle(16.3, 7.6, 2.2), lit);
    d.Add(Stroke({{15.9, 11}, {15.2, 17.6}}, 3.4), lit);
    d.Add(Stroke({{16.6, 11.8}, {19.4, 16.2}}, 1.8), lit);
    d.Add(Stroke({{14.6, 11.8}, {11.9, 16.0}}, 1.8), lit);
    d.Add(Stroke({{15.4, 17.4}, {18.4, 21.2}, {19.6, 25.0}}, 2.1), lit);
    d.Add(Stroke({{15.0, 17.4}, {13.0, 21.4}, {11.2, 24.6}}, 2.1), lit);
  } else {
    d.Add(Circle(15.5, 7.4, 2.2), lit);
    d.Add(RoundRect(13.2, 10.3, 17.8, 18.6, 1.2), lit);
    d.Add(Stroke({{12.2, 11.4}, {11.9, 17.6}}, 1.8), lit);
    d.Add(Stroke({{18.8, 11.4}, {19.1, 17.6}}, 1.8), lit);
    d.Add(Stroke({{14.5, 18}, {14.5, 25}}, 2.0), lit);
    d.Add(Stroke({{16.5, 18}, {16.5, 25}}, 2.0), lit);
  }
  d.Add(Ellipse(11.5, 8.6, 4.6, 2.2), Alpha(kWhite, 0.12));
  return d;
}

// A smiley laughing when on and sad when off, in one face colour or green/red.
Drawing Smiley(bool On, bool RedGreen) {
  Drawing d(18, 18);
  RGBA rim = Hex(0x8A6500), light = Hex(0xFFF59A), dark = Hex(0xF0B400);
  if (RedGreen) {
    rim = On ? Hex(0x1E6B2E) : Hex(0x8A1F17);
    light = On ? Hex(0xBDF7B0) : Hex(0xFFB8AA);
    dark = On ? Hex(0x2EA846) : Hex(0xD6372A);
  }
  d.Add(Circle(9, 9, 8.6), rim);
  d.Add(Circle(9, 9, 7.7), Radial(7, 6, 10.5, light, dark));
  d.Add(Ellipse(6.6, 4.7, 2.6, 1.2), Alpha(kWhite, 0.45));
  const RGBA feature = Hex(0x3A2A10);
  d.Add(Ellipse(6.4, 7.0, 1.0, 1.5), feature);
  d.Add(Ellipse(11.6, 7.0, 1.0, 1.5), feature);
  if (On)
    d.Add(Arc(9, 9.2, 4.6, 28, 152, 1.5), feature);
  else
    d.Add(Arc(9, 16.4, 4.4, -145, -35, 1.5), feature);
  return d;
}

// A light bulb: glowing with rays when on, clear glass when off.
Drawing Bulb(bool On) {
  Drawing d(39, 49);
  const double cx = 19.5, cy = 18.5;
  if (On) {
    for (double a = -180; a <= 0; a += 30) {
      const double r = a * 3.14159265358979 / 180;
      d.Add(Stroke({{cx + 14.6 * std::cos(r), cy + 14.6 * std::sin(r)},
                    {cx + 18.0 * std::cos(r), cy + 18.0 * std::sin(r)}},
                   1.7),
            Hex(0xFFB000));
    }
  }
  const Shape outer =
      Union(Circle(cx, cy, 13.6), Polygon({{11.4, 26}, {27.6, 26}, {24.9, 34.6}, {14.1, 34.6}}));
  const Shape glass =
      Union(Circle(cx, cy, 12.7), Polygon({{12.2, 26}, {26.8, 26}, {24.1, 34}, {14.9, 34}}));
  d.Add(outer, On ? Hex(0xB07A00) : kInk);
  d.Add(glass, On ? Radial(cx, 20, 15, Hex(0xFFFDE6), Hex(0xFFCB1A))
                  : Radial(cx - 3, 15, 16, kWhite, Hex(0xB4BCC7)));
  if (On) d.Add(Circle(cx, 21, 6), Radial(cx, 21, 6, Alpha(kWhite, 0.85), Alpha(kWhite, 0)));
  const RGBA wire = On ? Hex(0x9A7B3A) : Hex(0x7D8590);
  d.Add(Stroke({{17.2, 34}, {16.6, 22}}, 0.9), wire);
  d.Add(Stroke({{21.8, 34}, {22.4, 22}}, 0.9), wire);
  d.Add(Stroke({{16.6, 22},
                {17.6, 19.4},
                {18.5, 22},
                {19.5, 19.4},
                {20.5, 22},
                {21.4, 19.4},
                {22.4, 22}},
               1.0),
        On ? Hex(0xFF6A00) : Hex(0x5F6670));
  d.Add(Ellipse(14.2, 13, 2.8, 4.6), Alpha(kWhite, On ? 0.4 : 0.6));
  // Screw base and contact.
  d.Add(RoundRect(13.6, 34, 25.4, 44.2, 1.5), kInk);
  d.Add(RoundRect(14.5, 34.6, 24.5, 43.4, 1.0),
        Linear(14.5, 0, Hex(0xEDEFF2), 24.5, 0, Hex(0x858D98)));
  for (double y : {37.4, 40.6})
    d.Add(Stroke({{14.6, y + 0.8}, {24.4, y - 0.8}}, 0.9), Hex(0x59616C));
  d.Add(RoundRect(16.6, 43.6, 22.4, 47.6, 1.6), kInk);
  return d;
}

// A push button with a lamp behind its lens: amber and bright when on, dull when off.
Drawing ButLamp(bool On) {
  Drawing d(49, 24);
  d.Add(RoundRect(0.5, 0.5, 48.5, 23.5, 4.5), kInk);
  d.Add(RoundRect(1.5, 1.5, 47.5, 22.5, 3.7), Vertical(1.5, Hex(0xD8DDE3), 22.5, Hex(0x7B838E)));
  d.Add(RoundRect(4, 4, 45, 20, 2.6), kInk);
  if (On)
    d.Add(RoundRect(5, 5, 44, 19, 1.8), Radial(24.5, 12, 22, Hex(0xFFF7CC), Hex(0xFF980A)));
  else
    d.Add(RoundRect(5, 5, 44, 19, 1.8), Vertical(5, Hex(0xA08052), 19, Hex(0x5A4222)));
  d.Add(RoundRect(7, 6, 42, 10.5, 2), Alpha(kWhite, On ? 0.45 : 0.2));
  return d;
}

// A drive's front with its activity lamp on the left (mirrored for the right-hand set).
Drawing DiskLamp(bool On, bool Right) {
  Drawing d(48, 16);
  if (Right) d.SetMap([](double X, double Y) { return Pt{48 - X, Y}; });
  d.Add(RoundRect(0.5, 0.5, 47.5, 15.5, 2.2), Hex(0x6E6A60));
  d.Add(RoundRect(1.5, 1.5, 46.5, 14.5, 1.5), Vertical(1.5, Hex(0xF2EFE8), 14.5, Hex(0xC5BFB1)));
  d.Add(RoundRect(14, 6.5, 44, 9.5, 1.4), Hex(0x3A3730));
  d.Add(Stroke({{14.5, 10.3}, {43.5, 10.3}}, 0.8), Alpha(kWhite, 0.7));
  if (On)
    d.Add(Ellipse(7, 8, 6.2, 5.2), Radial(7, 8, 6.2, Alpha(kRedLit, 0.45), Alpha(kRedLit, 0)));
  d.Add(RoundRect(3.5, 5, 10.5, 11, 1.6), kInk);
  if (On)
    d.Add(RoundRect(4.3, 5.8, 9.7, 10.2, 1.1), Radial(6, 7, 5, Hex(0xFFD8CC), Hex(0xF0301E)));
  else
    d.Add(RoundRect(4.3, 5.8, 9.7, 10.2, 1.1), Vertical(5.8, Hex(0x7E4038), 10.2, Hex(0x4A1612)));
  return d;
}

// ---- the five spare sets, 24 x 24

// A round power key with the power symbol, lit green when on.
Drawing User1(bool On) {
  Drawing d(24, 24);
  d.Add(Circle(12, 12, 11.4), kInk);
  d.Add(Circle(12, 12, 10.5), Diagonal(3, 3, kMetal0, 21, 21, Hex(0xB9C0C9)));
  d.Add(Circle(12, 12, 8.6), Diagonal(3, 3, Hex(0xC6CCD4), 21, 21, Hex(0xF4F5F7)));
  const RGBA sym = On ? Hex(0x17B045) : Hex(0x7D8590);
  if (On)
    d.Add(Circle(12, 12, 8.6), Radial(12, 12, 8.6, Alpha(kGreenLit, 0.35), Alpha(kGreenLit, 0)));
  d.Add(Arc(12, 12.8, 5.2, -58, 238, 2.0), sym);
  d.Add(Stroke({{12, 5.0}, {12, 11.4}}, 2.0), sym);
  return d;
}

// A toggle lever on a plate: up when on, down when off; a small lamp shows green when on.
Drawing User2(bool On) {
  Drawing d(24, 24);
  KeyCap(d, 1.5, 1.5, 22.5, 22.5, 3.5);
  d.Add(Circle(19, 5, 2.3), kInk);
  if (On)
    Lens(d, 19, 5, 1.6, Hex(0xC4FFCF), Hex(0x12A43C), 0.7);
  else
    d.Add(Circle(19, 5, 1.6), Hex(0x59616C));
  d.Add(Circle(12, 12, 5.2), kInk);
  d.Add(Circle(12, 12, 4.4), Radial(10.5, 10.5, 6, kWhite, Hex(0x8C949E)));
  const Pt end = On ? Pt{12, 4.6} : Pt{12, 19.4};
  d.Add(Stroke({{12, 12}, end}, 3.4), kInk);
  d.Add(Stroke({{12, 12}, end}, 1.8), Linear(10, 0, kWhite, 14, 0, Hex(0x9AA2AD)));
  d.Add(Circle(end.X, end.Y, 2.7), kInk);
  d.Add(Circle(end.X, end.Y, 1.9), Radial(end.X - 0.7, end.Y - 0.7, 2.6, kWhite, Hex(0x9AA2AD)));
  return d;
}

// A loudspeaker sounding when on, crossed out when off.
Drawing User3(bool On) {
  Drawing d(24, 24);
  const std::vector<Pt> body = {{2.5, 8.5},   {7, 8.5},  {12.5, 3.5},
                                {12.5, 20.5}, {7, 15.5}, {2.5, 15.5}};
  d.Add(Polygon(body), Vertical(3.5, Hex(0x6A7280), 20.5, Hex(0x2E333B)));
  d.Add(Stroke(body, 1.1, true), kInk);
  if (On) {
    d.Add(Arc(12.5, 12, 4.6, -48, 48, 1.7), kBlue1);
    d.Add(Arc(12.5, 12, 8.2, -50, 50, 1.7), kBlue1);
  } else {
    d.Add(Stroke({{15.5, 8.5}, {21.5, 15.5}}, 2.0), kRed1);
    d.Add(Stroke({{21.5, 8.5}, {15.5, 15.5}}, 2.0), kRed1);
  }
  return d;
}

// A padlock, shut when on and open when off.
Drawing User4(bool On) {
  Drawing d(24, 24);
  const double lift = On ? 0 : 3.2;
  const Pt l0 = {7, 10.8 - lift};
  const Shape shackleOut =
      Union(Arc(12, 8 - lift, 5, 180, 360, 2.8),
            Union(Stroke({{17, 8 - lift}, {17, 11.5}}, 2.8), Stroke({{7, 8 - lift}, l0}, 2.8)));
  const Shape shackleIn =
      Union(Arc(12, 8 - lift, 5, 180, 360, 1.3),
            Union(Stroke({{17, 8 - lift}, {17, 11.5}}, 1.3), Stroke({{7, 8 - lift}, l0}, 1.3)));
  d.Add(shackleOut, kInk);
  d.Add(shackleIn, Linear(5, 0, kWhite, 19, 0, Hex(0x9AA2AD)));
  d.Add(RoundRect(4, 10.5, 20, 22.5, 2.2), kInk);
  d.Add(RoundRect(5, 11.5, 19, 21.5, 1.5), Vertical(11.5, Hex(0xFFDA6A), 21.5, Hex(0xC8890B)));
  d.Add(Circle(12, 15.3, 1.7), Hex(0x5A3A00));
  d.Add(Polygon({{11.2, 15.6}, {12.8, 15.6}, {13.3, 19.2}, {10.7, 19.2}}), Hex(0x5A3A00));
  return d;
}

// A star, filled gold when on and hollow when off.
Drawing User5(bool On) {
  Drawing d(24, 24);
  std::vector<Pt> star;
  for (int k = 0; k < 10; ++k) {
    const double a = (-90 + 36 * k) * 3.14159265358979 / 180, r = k % 2 ? 4.5 : 10.8;
    star.push_back({12 + r * std::cos(a), 12.8 + r * std::sin(a)});
  }
  if (On) {
    d.Add(Polygon(star), Radial(10, 9, 12, Hex(0xFFF2A6), Hex(0xF2A900)));
    d.Add(Stroke(star, 1.2, true), Hex(0x946400));
  } else {
    d.Add(Polygon(star), Vertical(2, kPaper0, 22, kPaper1));
    d.Add(Stroke(star, 1.2, true), kInk);
  }
  return d;
}

std::function<Drawing(bool)> Design(TOnOffButStyle S) {
  switch (S) {
    case oobsCheckbox:
      return Checkbox;
    case oobsRadioBut:
      return RadioBut;
    case oobsSlideTB:
      return [](bool On) { return Slide(On, true); };
    case oobsSlideLR:
      return [](bool On) { return Slide(On, false); };
    case oobsColSlideTB:
      return [](bool On) { return ColSlide(On, true); };
    case oobsColSlideLR:
      return [](bool On) { return ColSlide(On, false); };
    case oobsLedRedGreen:
      return LedRedGreen;
    case oobsArrowTopRgt:
      return [](bool On) { return Arrow(On, On ? 0 : 90); };
    case oobsArrowUpDown:
      return [](bool On) { return Arrow(On, On ? 0 : 180); };
    case oobsArrowLeftRight:
      return [](bool On) { return Arrow(On, On ? 90 : 270); };
    case oobsTrafficLPed:
      return TrafficLight;
    case oobsBeveledLed:
      return BeveledLed;
    case oobsSmileyYellow:
      return [](bool On) { return Smiley(On, false); };
    case oobsSmileyRedGrn:
      return [](bool On) { return Smiley(On, true); };
    case oobsBulb:
      return Bulb;
    case oobsButLamp:
      return ButLamp;
    case oobsHDLeft:
      return [](bool On) { return DiskLamp(On, false); };
    case oobsHDRight:
      return [](bool On) { return DiskLamp(On, true); };
    case oobsUser1:
      return User1;
    case oobsUser2:
      return User2;
    case oobsUser3:
      return User3;
    case oobsUser4:
      return User4;
    case oobsUser5:
      return User5;
    case oobsUser:
      break;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : QEL_SOURCE_DIR "/resources";
  int failures = 0;
  for (int s = 0; s < kOnOffStyleCount; ++s) {
    const TOnOffGlyphSet& set = kOnOffGlyphSets[s];
    auto design = Design(static_cast<TOnOffButStyle>(s));
    if (!set.Resource || !design) continue;
    const Drawing on = design(true), off = design(false);
    const int gw = set.Width / 2, gh = set.Height / 2;
    if (on.Width() != gw || on.Height() != gh || off.Width() != gw || off.Height() != gh) {
      std::fprintf(stderr, "%s: drawn %dx%d, the set needs %dx%d\n", set.Resource, on.Width(),
                   on.Height(), gw, gh);
      ++failures;
      continue;
    }
    TBitmap b(set.Width, set.Height);
    on.RenderInto(b, 0, 0, false);
    off.RenderInto(b, gw, 0, false);
    on.RenderInto(b, 0, gh, true);
    off.RenderInto(b, gw, gh, true);
    std::string name = set.Resource;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string path = dir + "/" + name + ".png";
    b.SaveToFile(path);
    std::printf("%s %dx%d\n", path.c_str(), set.Width, set.Height);
  }
  return failures ? 1 : 0;
}

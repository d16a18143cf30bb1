#pragma once
// Colour helpers: grey level, HSL conversion, the mean of two colours and the table of named
// colours that colour pickers offer. System colours are resolved through ColorToRGB first.
#include <array>

#include "platform/graphics/Color.h"

namespace qel {

// Perceived brightness 0..255: (299 R + 587 G + 114 B) / 1000, rounded.
int ColorToGray(TColor Color);

// Hue in degrees 0..<360 (0 for greys), saturation and lightness in 0..1.
void ColorToHSL(TColor Color, double& H, double& S, double& L);
// The inverse; H is taken modulo 360, S and L are clamped to 0..1 (NaN counts as 0).
TColor HSLtoColor(double H, double S, double L);

// The colour halfway between two colours, each channel (a + b) / 2 truncated.
TColor MeanColor(TColor C1, TColor C2);

struct TPredefinedColor {
  TColor Color;
  const char* Name;  // the colour's identifier, "clRed"
};

// Entries 0..15: the 16 basic colours; 16..19: four further colours; 20..46: 27 system colours.
inline constexpr int kPredefinedColorCount = 47;
extern const std::array<TPredefinedColor, kPredefinedColorCount> PredefinedColors;

}  // namespace qel

#pragma once
// Drawing helpers the widgets share: 3D frames, raised button faces, arrows. Internal to
// platform/widgets.
#include "platform/graphics/Graphics.h"

namespace qel::widgetpaint {

// Draws Width one-pixel rings, TopColor on the top and left, BottomColor on the right and bottom,
// and shrinks Rect by what it drew (the classic Frame3D).
void Frame3D(TCanvas* C, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// A push-button face filling R: raised, or sunken (one dark ring) when Pressed.
void ButtonFace(TCanvas* C, const TRect& R, bool Pressed);
// A small filled triangle centred in R pointing 0 up, 1 down, 2 left, 3 right.
void Arrow(TCanvas* C, const TRect& R, int Direction, TColor Color);
// Fills R with the classic checker of Color1 and Color2 (pressed-in toggle buttons, scroll bar
// tracks); the pattern is anchored to the canvas origin so neighbouring fills line up.
void Checker(TCanvas* C, const TRect& R, TColor Color1, TColor Color2);

}  // namespace qel::widgetpaint

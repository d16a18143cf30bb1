#pragma once
// The canvas demonstration page of the gallery: every drawing primitive, labelled.
#include "platform/graphics/Graphics.h"

namespace qel {

void DrawCanvasDemo(TCanvas* Canvas, int Width, int Height);

}  // namespace qel

#pragma once
// The one scroll bar look of every scrolling control (grid, memo, tree view, the drop-down
// lists): 16 pixels thick as at 96 dpi, raised button-face arrow buttons, a dithered track and a
// raised thumb. Each control keeps its own scroll arithmetic and hands its bar and thumb here;
// the arrow buttons' rectangles come from here too, so hit testing agrees with the drawing.
// Internal to platform/widgets and platform/grids.
#include "platform/graphics/Graphics.h"

namespace qel::widgetpaint {

constexpr int ScrollBarSize = 16;  // the bar's thickness and the length of its arrow buttons

// The arrow button at the start (Second false: up or left) or end of a bar lying in Bar: square,
// or half the bar each when the bar is shorter than two of them.
TRect ScrollButtonRect(const TRect& Bar, bool Vertical, bool Second);
// The track between the two buttons (where the thumb moves and a press pages).
TRect ScrollTrackRect(const TRect& Bar, bool Vertical);
// Draws the bar: track, both arrow buttons and, when not empty, the thumb. A bar that cannot
// scroll (Enabled false) shows its arrows embossed in grey and no thumb.
void PaintScrollBar(TCanvas* C, const TRect& Bar, bool Vertical, const TRect& Thumb,
                    bool Enabled = true);
// The square where a vertical and a horizontal bar meet, in the button face (nothing when
// either bar is missing).
void PaintScrollCorner(TCanvas* C, const TRect& VertBar, const TRect& HorzBar);

}  // namespace qel::widgetpaint

#pragma once
// Drawing helpers the widgets share: 3D frames, raised button faces, arrows. Internal to
// platform/widgets.
#include <cstdint>
#include <string>

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
// DrawText of a caption in the canvas font's colour, or, when not Enabled, embossed: a highlight
// copy one pixel down-right under the text in the shadow colour.
void DrawCaption(TCanvas* C, const std::string& Text, TRect R, unsigned Flags, bool Enabled);

// ---- the vertical scroll bar of a drop-down list (combo box list, grid pick list)

constexpr int ListScrollBarWidth = 16;  // the bar's width and the height of its arrow buttons

enum TListScrollPart : uint8_t { lsNone, lsLineUp, lsLineDown, lsPageUp, lsPageDown, lsThumb };

// The bar of a list showing Visible of Count items from Top, laid in Bar. Painting, hit testing
// and thumb dragging all read their rectangles from here.
struct TListScrollBar {
  TRect Bar;
  int Count = 0;
  int Visible = 1;
  int Top = 0;

  TRect UpButton() const;
  TRect DownButton() const;
  TRect Track() const;  // between the buttons
  // The thumb, sized to the visible share (at least 8 pixels); empty when the track is too short.
  TRect Thumb() const;
  int MaxTop() const;
  // The part under P (lsPageUp/lsPageDown: the track above/below the thumb).
  TListScrollPart HitTest(TPoint P) const;
  // The first item shown when the thumb's top edge is at ThumbTop (clamped).
  int TopForThumb(int ThumbTop) const;
};

void PaintListScrollBar(TCanvas* C, const TListScrollBar& Bar);

}  // namespace qel::widgetpaint

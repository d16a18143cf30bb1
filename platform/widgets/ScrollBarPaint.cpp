// The shared scroll bar drawing.
#include "platform/widgets/ScrollBarPaint.h"

#include <algorithm>

#include "platform/widgets/WidgetPaint.h"

namespace qel::widgetpaint {

// The drop-down lists size their bar by this older name; both must stay one size.
static_assert(ListScrollBarWidth == ScrollBarSize);

TRect ScrollButtonRect(const TRect& Bar, bool Vertical, bool Second) {
  const int len = std::min(ScrollBarSize, (Vertical ? Bar.Height() : Bar.Width()) / 2);
  if (Vertical)
    return Second ? Rect(Bar.Left, Bar.Bottom - len, Bar.Right, Bar.Bottom)
                  : Rect(Bar.Left, Bar.Top, Bar.Right, Bar.Top + len);
  return Second ? Rect(Bar.Right - len, Bar.Top, Bar.Right, Bar.Bottom)
                : Rect(Bar.Left, Bar.Top, Bar.Left + len, Bar.Bottom);
}

TRect ScrollTrackRect(const TRect& Bar, bool Vertical) {
  const TRect a = ScrollButtonRect(Bar, Vertical, false), b = ScrollButtonRect(Bar, Vertical, true);
  return Vertical ? Rect(Bar.Left, a.Bottom, Bar.Right, b.Top)
                  : Rect(a.Right, Bar.Top, b.Left, Bar.Bottom);
}

void PaintScrollBar(TCanvas* C, const TRect& Bar, bool Vertical, const TRect& Thumb, bool Enabled) {
  if (Bar.IsEmpty()) return;
  // The classic dither of face and highlight, so the track reads as a groove, not a surface.
  Checker(C, ScrollTrackRect(Bar, Vertical), clBtnFace, clBtnHighlight);
  for (bool second : {false, true}) {
    const TRect b = ScrollButtonRect(Bar, Vertical, second);
    if (b.IsEmpty()) continue;
    ButtonFace(C, b, false);
    const int dir = Vertical ? (second ? 1 : 0) : (second ? 3 : 2);
    if (Enabled) {
      Arrow(C, b, dir, clBtnText);
    } else {
      // Embossed: a highlight copy one pixel down-right under the shadow-coloured arrow.
      Arrow(C, b.Offset(1, 1), dir, clBtnHighlight);
      Arrow(C, b, dir, clBtnShadow);
    }
  }
  if (Enabled && !Thumb.IsEmpty()) ButtonFace(C, Thumb, false);
}

void PaintScrollCorner(TCanvas* C, const TRect& VertBar, const TRect& HorzBar) {
  if (VertBar.IsEmpty() || HorzBar.IsEmpty()) return;
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect(VertBar.Left, HorzBar.Top, VertBar.Right, HorzBar.Bottom));
}

}  // namespace qel::widgetpaint

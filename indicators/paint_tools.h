#pragma once
// Shared by the indicator paints, which draw straight onto the control's canvas.
#include "platform/graphics/Graphics.h"

namespace qel {

// Pen, brush, copy and stretch modes as a fresh canvas has them. The control's canvas keeps whatever the
// last paint or an OnPaint handler left there, and the paints rely on these.
inline void ResetCanvasTools(TCanvas* C) {
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetWidth(1);
  C->Pen()->SetStyle(psSolid);
  C->Brush()->SetStyle(bsSolid);
  C->SetCopyMode(cmSrcCopy);
  C->SetStretchBltMode(COLORONCOLOR);
}

}  // namespace qel

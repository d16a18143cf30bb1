// Frame, mark and rectangle drawing on a canvas.
#include <utility>

#include "frame/QEL_qelbase.h"
#include "platform/graphics/Graphics.h"

namespace qel {
namespace {

// Keeps the brush of a canvas and puts it back, so helpers may paint runs with it.
class TBrushKeeper {
 public:
  explicit TBrushKeeper(TCanvas* Canvas)
      : FBrush(Canvas->Brush()), FColor(FBrush->GetColor()), FStyle(FBrush->GetStyle()) {}
  ~TBrushKeeper() {
    FBrush->SetColor(FColor);
    FBrush->SetStyle(FStyle);
  }
  TBrushKeeper(const TBrushKeeper&) = delete;
  TBrushKeeper& operator=(const TBrushKeeper&) = delete;

 private:
  TBrush* FBrush;
  TColor FColor;
  TBrushStyle FStyle;
};

// Inclusive horizontal and vertical runs; an empty run (end before start) paints nothing.
void HRun(TCanvas* C, TColor Color, int X1, int X2, int Y) {
  if (X2 < X1) return;
  C->Brush()->SetColor(Color);
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(Rect(X1, Y, X2 + 1, Y + 1));
}
void VRun(TCanvas* C, TColor Color, int X, int Y1, int Y2) {
  if (Y2 < Y1) return;
  C->Brush()->SetColor(Color);
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(Rect(X, Y1, X + 1, Y2 + 1));
}
// The outline of an inclusive rectangle.
void Outline(TCanvas* C, TColor Color, int L, int T, int R, int B) {
  HRun(C, Color, L, R, T);
  HRun(C, Color, L, R, B);
  VRun(C, Color, L, T, B);
  VRun(C, Color, R, T, B);
}

// The two-pixel bevel shared by the lowered and raised styles: the outer top-left edge and the
// inner bottom-right edge in Shadow (one outline of L..R-1 x T..B-1), the inner top-left edge in
// Inner, the outer bottom-right edge in Outer. The corners (L, B) and (R, T) stay untouched.
void Bevel(TCanvas* C, int L, int T, int R, int B, TColor Shadow, TColor Inner, TColor Outer) {
  Outline(C, Shadow, L, T, R - 1, B - 1);
  VRun(C, Inner, L + 1, T + 1, B - 2);
  HRun(C, Inner, L + 1, R - 2, T + 1);
  HRun(C, Outer, L + 1, R, B);
  VRun(C, Outer, R, T + 1, B);
}

}  // namespace

void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor C1, TColor /*C2*/, TColor C3, TColor C4, TColor C5) {
  if (Canvas == nullptr || Style == fsNone || Style > fsEngraved) return;
  if (Right < Left) std::swap(Left, Right);
  if (Bottom < Top) std::swap(Top, Bottom);
  TBrushKeeper keep(Canvas);
  switch (Style) {
    case fsSimple:
      Outline(Canvas, C3, Left, Top, Right, Bottom);
      break;
    case fsLowered:
      Bevel(Canvas, Left, Top, Right, Bottom, C3, C4, C1);
      break;
    case fsRaised:
      Bevel(Canvas, Left, Top, Right, Bottom, C3, C1, C5);
      break;
    case fsEmbossed:
    case fsEngraved: {
      // Two nested outlines offset by one pixel: the lit one outside top-left for the ridge,
      // the shaded one there for the groove. The outline drawn second wins where they cross.
      const TColor first = Style == fsEmbossed ? C3 : C1;
      const TColor second = Style == fsEmbossed ? C1 : C3;
      Outline(Canvas, first, Left + 1, Top + 1, Right, Bottom);
      Outline(Canvas, second, Left, Top, Right - 1, Bottom - 1);
      break;
    }
    default:
      break;
  }
}

void DrawMarkOnCanvas(TCanvas* Canvas, uint8_t MarkType, int X, int Y) {
  if (Canvas == nullptr || MarkType >= kMarkCount) return;
  const TMarkMask& m = MarkMask(MarkType);
  TBrushKeeper keep(Canvas);
  const TColor color = Canvas->Pen()->GetColor();
  for (int y = 0; y < static_cast<int>(m.size()); ++y) {
    uint32_t bits = m[y];
    int x = 0;
    while (bits != 0) {
      while ((bits & 1u) == 0) {
        bits >>= 1;
        ++x;
      }
      int start = x;
      while ((bits & 1u) != 0) {
        bits >>= 1;
        ++x;
      }
      HRun(Canvas, color, X - kMarkRadius + start, X - kMarkRadius + x - 1, Y - kMarkRadius + y);
    }
  }
}

void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom) {
  if (Canvas == nullptr) return;
  if (Right < Left) std::swap(Left, Right);
  if (Bottom < Top) std::swap(Top, Bottom);
  // A closed chain of end-exclusive segments touches every outline pixel exactly once, so an
  // inverting pen draws a clean outline; a single point needs its pixel set by hand.
  Canvas->MoveTo(Left, Top);
  Canvas->LineTo(Right, Top);
  Canvas->LineTo(Right, Bottom);
  Canvas->LineTo(Left, Bottom);
  Canvas->LineTo(Left, Top);
  if (Left == Right && Top == Bottom) Canvas->SetPixel(Right, Bottom, Canvas->Pen()->GetColor());
}

}  // namespace qel

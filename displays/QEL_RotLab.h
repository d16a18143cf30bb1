#pragma once
// TRotLab: a label whose caption is drawn rotated by any angle about an anchor point, with an
// optional frame round the control. The framework label paints the background and calls
// DoDrawText; this class replaces the text drawing with a rotated font and its own placement.
// docs/displays.md gives the placement of each alignment and the measuring rule.
#include <cstdint>
#include <string>

#include "frame/QEL_qelbase.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

// Where the top-left corner of the unrotated text cell must go so that the point of the text
// that Alignment names lies on the anchor (left: the start, centre: the middle, right: the end,
// each half-way up the cell). Width and Height are the text's advance width and cell height;
// Angle is in degrees, counter-clockwise. Free, so that tests and hosts place text the same way.
TPoint RotLabTextOrigin(TAlignment Alignment, int Angle, TPoint Anchor, int Width, int Height);
// The smallest pixel rectangle holding the rotated cell whose unrotated top-left corner is
// Origin (exclusive right and bottom).
TRect RotLabTextBounds(TPoint Origin, int Angle, int Width, int Height);

class TRotLab : public TCustomLabel {
 public:
  explicit TRotLab(TComponent* AOwner);
  ~TRotLab() override;
  std::string ClassName() const override { return "TRotLab"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  int GetTextAngle() const { return FTextAngle; }
  void SetTextAngle(int Value);  // degrees, counter-clockwise; any value, drawn modulo 360
  int GetPosX() const { return FPosX; }
  void SetPosX(int Value);  // re-centres instead while AutoCenter is set
  int GetPosY() const { return FPosY; }
  void SetPosY(int Value);
  // Which point of the text lies on the anchor (hides the label's setter: same storage, but
  // this one repaints by the rotated label's rule).
  void SetAlignment(TAlignment Value);
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  bool GetAntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool Value);
  // Also switches the framework label's own transparency.
  void SetTransparent(bool Value);
  void SetColor(TColor Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);

  // Geometry shared by painting, measuring and tests, for the caption in the rotated font:
  // the anchor, the unrotated cell's top-left corner and the rotated cell's bounding box.
  TPoint Anchor() const { return {FPosX, FPosY}; }
  TPoint TextOrigin() const;
  TRect TextBounds() const;

  void Loaded() override;
  void Resize() override;

 protected:
  void DoDrawText(TRect& Rect, unsigned Flags) override;
  void Paint() override;

 private:
  // The control's font turned by TextAngle, in the quality AntiAlias asks for.
  void MakeRotatedFont(TFont* Font) const;
  TSize CaptionExtent() const;  // advance width and cell height in the rotated font
  void Centre();
  void Changed();  // invalidate when transparent, otherwise paint at once

  int FTextAngle = 0;
  int FPosX = 10;
  int FPosY = 10;
  bool FAutoCenter = true;
  bool FAntiAlias = true;
  TFrameStyle FFrameStyle = fsLowered;
};

// Registers the published properties of TRotLab (after the standard widgets and the frame
// enumerations it builds on). Idempotent.
void RegisterRotLabClasses();

}  // namespace qel

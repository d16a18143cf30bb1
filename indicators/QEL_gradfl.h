#pragma once
// TGradFill: a graphic control that fills its area with a stepped colour gradient of NrColors
// bands between two colours, either running across the control or rising to a middle band and
// falling again, with an optional grid at the band borders and a frame round it; typically a
// background panel.
//
// Where the code lives: gradfl_paint.cpp (band geometry and colours: pure arithmetic, and the
// drawing), QEL_gradfl.cpp (properties and setters), gradfl_register.cpp (published
// properties). docs/indicators.md describes the bands and the decisions taken.
#include <cstdint>
#include <string>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

// Horizontal stripes changing downwards, vertical stripes changing to the right, and the two
// layouts that reach ColorLast in the middle band and fall back towards both edges.
enum TGradType : uint8_t { gtHoriz, gtVert, gtMidBandHoriz, gtMidBandVert };
// Grid lines over the gradient: none, horizontal, vertical, both.
enum TGridMode : uint8_t { gmNone, gmHoriz, gmVert, gmBoth };

inline constexpr int kGradMaxColors = 255;

// Band K of N: its rectangle in a control of W x H, and its colour running from First towards
// Last (explicit colours; system colours must be resolved first).
TRect GradBandRect(TGradType Type, int K, int N, int W, int H);
TColor GradBandColor(TGradType Type, int K, int N, TColor First, TColor Last);

class TGradFill : public TGraphicControl {
 public:
  explicit TGradFill(TComponent* AOwner);
  std::string ClassName() const override { return "TGradFill"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  TColor GetColorFirst() const { return FColorFirst; }
  void SetColorFirst(TColor Value);
  TColor GetColorLast() const { return FColorLast; }
  void SetColorLast(TColor Value);
  // Exchanges what ColorFirst and ColorLast return; the pair keeps its unflipped order.
  bool GetColorFlipped() const { return FColorFlipped; }
  void SetColorFlipped(bool Value);
  TGradType GetFillType() const { return FFillType; }
  void SeTGradType(TGradType Value);
  int GetNrColors() const { return FNrColors; }
  void SetNrColors(int Value);  // limited to 1..255
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TGridMode GetGridMode() const { return FGridMode; }
  void SetGridMode(TGridMode Value);
  TColor GetGridColor() const { return FGridColor; }
  void SetGridColor(TColor Value);

  // Draws the bands, the grid and the frame into Bitmap (of the control's size or larger).
  void DrawGradient(TBitmap* Bitmap) const;
  void RenderTo(TCanvas* C) const;

  TNotifyEvent OnPaint;

 protected:
  void Paint() override;

 private:
  TColor FColorFirst = clMaroon;
  TColor FColorLast = clYellow;
  TColor FColorA = clMaroon;  // the pair in unflipped order
  TColor FColorB = clYellow;
  bool FColorFlipped = false;
  TGradType FFillType = gtHoriz;
  int FNrColors = 16;
  TFrameStyle FFrameStyle = fsNone;
  TGridMode FGridMode = gmNone;
  TColor FGridColor = clNavy;
};

// Registers TGradFill, TGradType and TGridMode with the property registry. Idempotent.
void RegisterGradFillClasses();

}  // namespace qel

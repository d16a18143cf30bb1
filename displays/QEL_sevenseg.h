#pragma once
// TSevenSeg: a short caption as slanted seven-segment digits. Each glyph is composed from the
// segment bitmaps (resources SEGVERT, SEGHORZ, SEGDOT, SEGPLUS, SEGCOLON, SEGDEG, drawn
// by tools/segments) on a large master cell, scaled once into a cache of 21 cells at the
// current cell size, then copied cell by cell. docs/displays.md describes the bitmaps.
#include <memory>
#include <string>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

class TSevenSeg : public TGraphicControl {
 public:
  // The characters of the cache cells, in cell order (the degree sign is code 176).
  static constexpr char32_t kCacheChars[21] = {'0', '1', '2', '3', '4', '5', '6',
                                               '7', '8', '9', '-', '+', ':', 0xB0,
                                               'A', 'B', 'C', 'D', 'E', 'F', '.'};
  static constexpr int kMasterWidth = 312;
  static constexpr int kMasterHeight = 432;

  explicit TSevenSeg(TComponent* AOwner);
  ~TSevenSeg() override;
  std::string ClassName() const override { return "TSevenSeg"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  const std::string& GetCaption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int GetNumDigits() const { return FNumDigits; }
  void SetNumDigits(int Value);  // 1..32, anything else ignored
  TColor GetColorText() const { return FColorText; }
  void SetColorText(TColor Value);
  TColor GetColorBackGnd() const { return FColorBackGnd; }
  void SetColorBackGnd(TColor Value);
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);  // 0..Height div 2 - 1
  int GetInterDigDist() const { return FInterDigDist; }
  void SetInterDigDist(int Value);  // 0..255
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TColor GetFrameShadow() const { return FColorShadow; }
  TColor GetFrameHighlight() const { return FColorHighlight; }

  // Geometry: the cell width cw, the cell (and cache) height, and where digit J goes.
  int CellWidth() const;
  int CellHeight() const;
  TRect DigitRect(int J) const;
  // The segment colour actually used: ColorText, with white moved to 0xFEFEFE (pure white
  // marks the surround of the segment bitmaps).
  TColor SegmentColor() const;
  // What cell J shows: the cache index (-1 for an empty cell) and whether it has a point.
  struct TCell {
    int Index = -1;
    bool Point = false;
  };
  std::vector<TCell> Cells() const;
  // The image cache (21 cells side by side); empty when the cells have no area.
  const TBitmap* Cache() const { return FCache.get(); }

 protected:
  void Paint() override;
  void Resize() override;

 private:
  void BuildCache();
  void Colourise();
  void Compose(char32_t Ch, bool Point);

  std::string FCaption = "8.8.8.8.";
  int FNumDigits = 4;
  TColor FColorText = clRed;
  TColor FColorBackGnd = 0x333333;
  int FMargin = 8;
  int FInterDigDist = 2;
  TFrameStyle FFrameStyle = fsLowered;
  TColorScheme FColorScheme = csBWG;
  TColor FColorShadow = clGray;
  TColor FColorHighlight = clWhite;

  enum { sgVert, sgHorz, sgDot, sgPlus, sgColon, sgDeg, sgCount };
  std::unique_ptr<TBitmap> FSeg[sgCount];
  std::unique_ptr<TBitmap> FMaster;
  std::unique_ptr<TBitmap> FCache;
  int FBuiltWidth = -1, FBuiltHeight = -1;
};

// Registers the published properties of TNumLab, TSevenSeg and TRasterLab (idempotent).
void RegisterDisplayClasses();

}  // namespace qel

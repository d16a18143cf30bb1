#pragma once
// TRasterLab: a text as a dot-matrix display (an LED message board). Every character is a bit
// pattern whose set bits are drawn as square dots of DotSize pixels, DotSpacing pixels apart.
// The patterns come from the built-in 7 x 12 raster (font name "default") or are sampled from
// any other font. The text can scroll in four directions under a timer.
// docs/displays.md describes the raster font and the scroll rules.
#include <cstdint>
#include <string>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Graphics.h"

namespace qel {

// A character raster, copied as a whole. Rows[code][r] bit j set = a dot in column j of row r;
// FirstCol/LastCol are the columns of the glyph that hold dots (codes 32..255).
struct TRDCharMatrix {
  int Width = 0;   // the widest glyph, in dots
  int Height = 0;  // dot rows
  uint8_t FirstCol[256] = {};
  uint8_t LastCol[256] = {};
  uint32_t Rows[256][32] = {};
};

// The built-in 7 x 12 raster.
const TRDCharMatrix& DefaultRasterFont();

enum TRDBlockMode : uint8_t { rdbmOff, rdbmOn, rdbmRaster };
enum TRDScrollMode : uint8_t { rdsmOff, rdsmLeft, rdsmRight, rdsmDown, rdsmUp };

class TRasterLab : public TGraphicControl {
 public:
  explicit TRasterLab(TComponent* AOwner);
  ~TRasterLab() override;
  std::string ClassName() const override { return "TRasterLab"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;
  void Loaded() override;

  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);
  int GetDotSize() const { return FDotSize; }
  void SetDotSize(int Value);  // 1..32
  int GetDotSpacing() const { return FDotSpacing; }
  void SetDotSpacing(int Value);  // 0..3
  int GetPosX() const { return FPosX; }
  void SetPosX(int Value);
  int GetPosY() const { return FPosY; }
  void SetPosY(int Value);
  bool GetProportional() const { return FProportional; }
  void SetProportional(bool Value);
  TRDBlockMode GetCharBlockMode() const { return FCharBlockMode; }
  void SetCharBlockMode(TRDBlockMode Value);
  TColor GetColorDotOn() const { return FColorDotOn; }
  void SetColorDotOn(TColor Value);
  TColor GetColorDotOff() const { return FColorDotOff; }
  void SetColorDotOff(TColor Value);
  TColor GetColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TColor GetFrameShadow() const { return FColorShadow; }
  TColor GetFrameHighlight() const { return FColorHighlight; }
  bool GetAutoHeight() const { return FAutoHeight; }
  void SetAutoHeight(bool Value);
  bool GetAutoCenter() const { return FAutoCenter; }
  void SetAutoCenter(bool Value);
  TRDScrollMode GetScrollMode() const { return FScrollMode; }
  void SetScrollMode(TRDScrollMode Value);
  int GetScrollInterval() const { return FScrollInterval; }
  void SetScrollInterval(int Value);  // at least 10 ms
  int GetScrollIncrement() const { return FScrollIncrement; }
  void SetScrollIncrement(int Value);  // magnitude, at least 1
  bool GetScrollLoop() const { return FScrollLoop; }
  void SetScrollLoop(bool Value);
  // Setting the tick event restarts the timer, as the other scroll settings do.
  void SetOnScrollTimer(TNotifyEvent Value);
  const TNotifyEvent& GetOnScrollTimer() const { return FOnScrollTimer; }
  TNotifyEvent OnScrollLoopRestart;

  const TRDCharMatrix& GetCharMatrix() const { return FMatrix; }
  void SetCharMatrix(const TRDCharMatrix& Value);
  // Rebuilds the raster from Font: the built-in one for "default", else sampled.
  void CreateBitFont();

  // Geometry shared by painting, sizing and scrolling.
  int Pitch() const { return FDotSize + FDotSpacing; }
  // The frame's width as the auto height counts it: 0, 1 (styles 1..3) or 2 (4, 5).
  int FrameWidth() const;
  // Sum over the characters of their cells, in pixels (proportional or fixed pitch).
  int CalcTextBitLength() const;
  // The length the drawn text covers, blank columns included (what scrolling moves out).
  int DrawnTextLength() const { return CalcTextBitLength() + 1; }
  int HorzOffset() const { return FHOffset; }
  int VertOffset() const { return FVOffset; }
  // The raster code of each character of Text: code points up to 255 are their own code, any
  // other shows as '?'.
  std::vector<uint8_t> TextCodes() const;
  bool TimerRunning() const { return FTimerOn; }

 protected:
  void Paint() override;
  void Resize() override;
  void CMFontChanged(TMessage& Message) override;

 private:
  void Render(TCanvas* C) const;
  int PaintChar(TCanvas* C, int X, int Y, uint8_t Code) const;
  void PaintString(TCanvas* C) const;
  void PaintFrame(TCanvas* C) const;
  void AdjustHeight();
  void AdjustCenter();
  void ApplyAutoSizeAndCentre();  // adjusts height and centre when their flags are set
  void RestartTimer();
  void StopTimer();
  void TimerWndProc(TMessage& Message);
  void ScrollStep();

  std::string FText = "Text";
  int FDotSize = 3;
  int FDotSpacing = 1;
  int FPosX = 1, FPosY = 1;
  bool FProportional = true;
  TRDBlockMode FCharBlockMode = rdbmOn;
  TColor FColorDotOn = clLime;
  TColor FColorDotOff = 0x404040;
  TColor FColorLabBakG = clBlack;
  TFrameStyle FFrameStyle = fsLowered;
  TColorScheme FColorScheme = csBWG;
  TColor FColorShadow = clGray;
  TColor FColorHighlight = clWhite;
  bool FAutoHeight = false;
  bool FAutoCenter = false;
  TRDScrollMode FScrollMode = rdsmOff;
  int FScrollInterval = 100;
  int FScrollIncrement = 1;
  bool FScrollLoop = true;
  TNotifyEvent FOnScrollTimer;
  TRDCharMatrix FMatrix;
  int FHOffset = 0, FVOffset = 0;
  HWND FWnd = 0;
  bool FTimerOn = false;
};

// Registers the published properties of TNumLab, TSevenSeg and TRasterLab (idempotent).
void RegisterDisplayClasses();

}  // namespace qel

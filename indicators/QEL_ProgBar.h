#pragma once
// TProgBar: a progress bar drawn as a graphic control. The bar is proportional to Value between
// Min and Max inside four margins, filled with one colour or with a gradient from a table of
// 1024 colours (three ways of laying the table onto the bar), optionally over a stretched
// background bitmap and with grid lines, framed inside and out, with a value text that can be
// rotated. It can advance itself on a timer (auto-increment).
//
// Where the code lives: progbar_geometry.cpp (the bar rectangle, colour index, value text and
// text origin: pure arithmetic, no drawing), QEL_ProgBar.cpp (properties, setters, loading,
// auto-increment on the repeat timer of repsbut_timer.h), progbar_paint.cpp (Paint in its
// steps), progbar_register.cpp (published properties).
// docs/indicators.md describes the formulas, paint steps and the decisions taken.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "frame/QEL_errors.h"
#include "frame/QEL_qelbase.h"
#include "platform/controls/Forms.h"
#include "platform/graphics/Graphics.h"

namespace qel {

class TRepeatTimer;

// How the colour table lies on the bar: over the whole inner length, uncovered by the bar
// (cover); squeezed into the filled part (stretch); at the inner length's scale with its last
// entry at the bar's leading end (move).
enum TColorMapping : uint8_t { cgmCover, cgmStretch, cgmMove };

using TBeforeShowValueEvent = std::function<void(TObject* Sender, std::string& ValueText)>;

// ---------------------------------------------------------------- pure helpers

inline constexpr int kProgBarColors = 1024;

// The colour at X (limited to 0..1) between A and B, each of red, green and blue truncated on
// its own; the byte above blue is 0.
TColor ProgBarMix(TColor A, TColor B, double X);

// Table index of the E-th pixel line of a bar N lines long on an inner length of S lines,
// limited to 0..1023. S must be above 0.
int ProgBarColorIndex(TColorMapping Mode, int64_t E, int64_t N, int64_t S);

// The bar of a control W x H with the given margins. Lead is the bar's length in pixels along
// its direction (0 or less: no bar); the rectangle runs from the starting edge of the inner
// area towards the leading end and may pass beyond the inner area (a value above Max).
// Coordinates are 64-bit: a huge Value must not overflow them.
struct TProgBarRect {
  int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int64_t Length = 0;  // filled pixel lines (N)
  int64_t Inner = 0;   // inner length along the direction (S)
};
TProgBarRect ProgBarRect(TDirection Direction, int W, int H, int ML, int MR, int MT, int MB,
                         double Value, double Min, double Max);

// The shown text of Value with DecPlaces decimals (-2..10): fixed notation for 0 and more,
// exponential notation with a two-digit exponent for -1 and with the full four-digit exponent
// for -2. A two-digit exponent that cannot hold the value turns every character into '*'.
std::string ProgBarValueText(double Value, int DecPlaces);

// Where the text of half extents HW x HH starts so that its left-edge middle, centre or
// right-edge middle lies at (X0, Y0) along a baseline turned by AngleDeg counter-clockwise.
TPoint ProgBarTextOrigin(TAlignment Alignment, int AngleDeg, int X0, int Y0, int HW, int HH);

// ---------------------------------------------------------------- TProgBar

class TProgBar : public TGraphicControl {
 public:
  explicit TProgBar(TComponent* AOwner);
  ~TProgBar() override;
  std::string ClassName() const override { return "TProgBar"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;
  void Loaded() override;

  // ---- value and range (no clamping, Min may exceed Max)
  double GetValue() const { return FValue; }
  void SetPBarValue(double Value);
  double GetMin() const { return FMin; }
  void SetPBarMin(double Value);
  double GetMax() const { return FMax; }
  void SetPBarMax(double Value);
  // Min = the smaller, Max = the larger of A and B.
  void SetRange(double A, double B);
  TDirection GetDirection() const { return FDirection; }
  void SetDirection(TDirection Value);
  // The bar as Paint draws it.
  TProgBarRect BarRect() const;

  // ---- colours
  TColor GetColorMin() const { return FColors[0]; }
  void SetColorMin(TColor Value);
  TColor GetColorMax() const { return FColors[kProgBarColors - 1]; }
  void SetColorMax(TColor Value);
  // One table entry; I outside 0..1023 reads clNone and writes nothing.
  TColor GetBarColorElem(int I) const;
  void SetBarColorElem(int I, TColor Value);
  bool GetShowColorGradient() const { return FShowColorGradient; }
  void SetColorGrad(bool Value);
  TColorMapping GetColorMapMode() const { return FColorMapMode; }
  void SetColorMapMode(TColorMapping Value);
  TColor GetColorBackGnd() const { return FColorBackGnd; }
  void SetColorBakG(TColor Value);
  TColor GetColorMargin() const { return FColorMargin; }
  void SetColorMargin(TColor Value);
  TColor GetColorGrid() const { return FColorGrid; }
  void SetColorGrid(TColor Value);
  int GetGridDist() const { return FGridDist; }
  void SetGridDist(int Value);

  // ---- layout and frames
  int GetMarginLeft() const { return FMarginLeft; }
  void SetMarginLeft(int Value);
  int GetMarginRight() const { return FMarginRight; }
  void SetMarginRight(int Value);
  int GetMarginTop() const { return FMarginTop; }
  void SetMarginTop(int Value);
  int GetMarginBottom() const { return FMarginBottom; }
  void SetMarginBottom(int Value);
  TFrameStyle GetFrameStyleOuter() const { return FFrameStyleOuter; }
  void SetOuterFrameStyle(TFrameStyle Value);
  TFrameStyle GetFrameStyleInner() const { return FFrameStyleInner; }
  void SetInnerFrameStyle(TFrameStyle Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TColor FrameDark() const { return FFrameDark; }
  TColor FrameLight() const { return FFrameLight; }
  // A picture file stretched into the inner area; a name that does not load is not taken.
  const std::string& GetBackGroundImg() const { return FBackGroundImg; }
  void SetBakGndFile(const std::string& Value);
  const TBitmap* BackgroundBitmap() const { return FBkgBitmap.get(); }

  // ---- text
  bool GetTextVisible() const { return FTextVisible; }
  void SetShowValue(bool Value);
  int GetTextPosX() const { return FTextPosX; }
  void SetTextPosX(int Value);  // clamped to 0..Width
  int GetTextPosY() const { return FTextPosY; }
  void SetTextPosY(int Value);  // clamped to 0..Height
  TAlignment GetTextAlignment() const { return FTextAlignment; }
  void SetAlignment(TAlignment Value);
  int GetTextAngle() const { return FTextAngle; }
  void SetTextAngle(int Value);  // clamped to 0..360
  int GetTextDecPlaces() const { return FTextDecPlaces; }
  void SetTextDecPl(int Value);  // clamped to -2..10
  // The text Paint shows: Value formatted, then passed through OnShowValue.
  std::string ValueText();

  // ---- auto-increment
  bool GetAutoInc() const { return FAutoInc; }
  void SetAutoInc(bool Value);
  double GetAutoIncStep() const { return FAutoIncStep; }
  void SetAutoIncStep(double Value);  // 0 and NaN are ignored
  int GetStartInterval() const { return FStartInterval; }
  void SetStartIv(int Value);  // at least 10
  int GetRepeatInterval() const { return FRepeatInterval; }
  void SetRepeatIv(int Value);  // at least 10
  const TNotifyEvent& GetOnAutoInc() const { return FOnAutoInc; }
  void SetOnAutoInc(TNotifyEvent Value);
  bool TimerRunning() const;

  TBeforeShowValueEvent OnShowValue;

  // Draws the whole bar into C (origin at the control's top-left), as Paint does into its
  // off-screen bitmap.
  void RenderTo(TCanvas* C);

 protected:
  void Paint() override;
  // One tick: the first switches to the repeat interval; then Value grows by the step and
  // OnAutoInc follows.
  void DoTimer();
  virtual void AutoIncEvent();
  void InitTimer();
  void UpdateTimer();

 private:
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  void RecomputeTable();
  // Paint steps (progbar_paint.cpp).
  TRect BarCover(const TProgBarRect& R) const;
  void PaintBackground(TCanvas* C, const TRect& Cover) const;
  void PaintBar(TCanvas* C, const TProgBarRect& R) const;
  void PaintBarRows(TCanvas* C, const TProgBarRect& R) const;
  void PaintBarColumns(TCanvas* C, const TProgBarRect& R) const;
  void PaintFrame(TCanvas* C, TFrameStyle Style, int L, int T, int R, int B) const;
  void PaintText(TCanvas* C);

  double FValue = 10.0;
  double FMin = 0.0;
  double FMax = 100.0;
  TDirection FDirection = drRight;
  std::array<TColor, kProgBarColors> FColors{};
  bool FShowColorGradient = false;
  TColorMapping FColorMapMode = cgmStretch;
  TColor FColorBackGnd = clSilver;
  TColor FColorMargin = clSilver;
  TColor FColorGrid = clBlack;
  int FGridDist = 0;
  int FMarginLeft = 4;
  int FMarginRight = 4;
  int FMarginTop = 4;
  int FMarginBottom = 4;
  TFrameStyle FFrameStyleOuter = fsRaised;
  TFrameStyle FFrameStyleInner = fsLowered;
  TColorScheme FColorScheme = csBWG;
  TColor FFrameDark = clGray;
  TColor FFrameLight = clWhite;
  std::string FBackGroundImg;
  std::unique_ptr<TBitmap> FBkgBitmap;
  bool FTextVisible = true;
  int FTextPosX = 14;
  int FTextPosY = 14;
  TAlignment FTextAlignment = taCenter;
  int FTextAngle = 0;
  int FTextDecPlaces = 0;
  bool FAutoInc = false;
  double FAutoIncStep = 1.0;
  int FStartInterval = 1500;
  int FRepeatInterval = 700;
  TNotifyEvent FOnAutoInc;
  std::unique_ptr<TRepeatTimer> FTimer;
};

// Registers TProgBar and TColorMapping with the property registry. Idempotent.
void RegisterProgBarClasses();

}  // namespace qel

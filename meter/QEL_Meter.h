#pragma once
// TMeter: an analog panel meter with a circular scale (ticks, labels, optional threshold bands),
// one or two needles, limit-watch lamps and a frame. TNeedleLayout describes how a needle looks.
//
// Where the code lives: meter_geometry.cpp (layouts, value <-> angle <-> pixel, tick spacing and
// tick sets: pure arithmetic, no drawing), QEL_Meter.cpp (properties, setters, loading, events,
// images, mouse), meter_paint.cpp (Paint in its steps), meter_register.cpp (published
// properties). docs/meter.md describes layouts, formulas, paint steps and events.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

// The scale layouts; the number is the angle the scale arc spans, in degrees.
enum TMeterLayout : uint8_t { mlCirc90, mlCirc120, mlCirc180, mlCirc270, mlCirc300, mlCirc360 };

// ---------------------------------------------------------------- pure geometry

// The derived geometry of a meter: arc angle A (degrees), radius R of the arc (the outer end of
// every tick, pixels) and the centre (CX, CY), the needle's pivot, in control coordinates.
struct TMeterGeometry {
  int A = 90;
  double R = 0;
  int CX = 0;
  int CY = 0;
};

// The layout parameters for a control of W x H pixels with the given rims.
TMeterGeometry CalcMeterGeometry(TMeterLayout Layout, int W, int H, int RimTop, int RimBottom,
                                 int RimSide);

// The scale of a meter as the arithmetic sees it.
struct TMeterScale {
  double Min = 0;
  double Max = 1;
  bool Logarithmic = false;
};

// Position of V along the scale, 0 at Min and 1 at Max, V clamped to the scale first. The
// logarithmic formula is used only when V, Min and Max are all above 0; a scale with Min = Max
// (or a NaN anywhere) gives 0, so nothing downstream divides by zero.
double MeterFraction(const TMeterScale& Scale, double V);
// The drawing angle of V, degrees counter-clockwise from the positive x axis:
// 90 + A/2 - A * fraction.
double MeterDrawAngle(const TMeterGeometry& G, const TMeterScale& Scale, double V);
// The point at Radius and drawing angle Phi (degrees), each coordinate rounded halves to even.
TPoint MeterPolarPoint(const TMeterGeometry& G, double PhiDeg, double Radius);

// Decimal places of the scale labels: DecPlaces itself unless it is -2 (automatic), which
// picks them from |A - B|; -1 asks for scientific notation.
int CalcM(int DecPlaces, double A, double B);
// A label's text: V in fixed notation with Decimals decimals, '.' as the point, no padding.
std::string MeterLabelText(double V, int Decimals);

// The major tick step of a scale from Lo to Hi with about N intervals: a 1-2-5 step never above
// the ideal interval, the first tick T0 (the first multiple of Step not below Lo by more than a
// thousandth of a step) and the number of minor intervals per step.
struct TTickSpacing {
  double Step = 0;
  double T0 = 0;
  int Minor = 1;
};
TTickSpacing CalcTickSpacing(int N, double Lo, double Hi);

// One tick of the scale: its value, whether it is major, whether a major tick carries a label.
struct TScaleTick {
  double Value = 0;
  bool Major = false;
  bool Labelled = false;
};
// Every tick of the scale in drawing order: the minor ticks first (when ShortTicks), then the
// major ticks with their labels. A logarithmic scale of at least one decade puts its major ticks
// on 1..9 times the powers of ten; one of less than a decade uses the linear ticks.
std::vector<TScaleTick> MeterScaleTicks(const TMeterScale& Scale, int NrTicks, bool ShortTicks);
// Whether a logarithmic scale spans at least one decade (and can be treated as logarithmic).
bool MeterSpansDecade(const TMeterScale& Scale);

// ---------------------------------------------------------------- TNeedleLayout

class TNeedleLayout : public TPersistent {
 public:
  TNeedleLayout() = default;
  std::string ClassName() const override { return "TNeedleLayout"; }
  // Copies every published field from another needle layout, then tells OnChange once if
  // anything differed.
  void Assign(const TPersistent* Source) override;

  TColor GetColorBody() const { return FColorBody; }
  void SetColorFill(TColor Value);
  TColor GetColorOutline() const { return FColorOutline; }
  void SetColorLine(TColor Value);
  int GetHeadSize() const { return FHeadSize; }
  void SetArrowSize1(int Value);
  int GetThickness() const { return FThickness; }
  void SetArrowThick(int Value);
  int GetPercentNeedleLength() const { return FPercentNeedleLength; }
  void SetNeedleLength(int Value);  // clamped to 0..100
  int GetHeadAngle() const { return FHeadAngle; }
  void SetArrowAngle1(int Value);  // clamped to 0..180
  int GetHeadMidLeng() const { return FHeadMidLeng; }
  void SetBackShift1(int Value);
  int GetShadowDx() const { return FShadowDx; }
  void SetShadowDx(int Value);
  int GetShadowDy() const { return FShadowDy; }
  void SetShadowDy(int Value);
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);

  TNotifyEvent OnChange;

 protected:
  void Changed();

 private:
  template <class V>
  void Update(V& Field, V Value);

  TColor FColorBody = clSilver;
  TColor FColorOutline = clBlack;
  int FHeadSize = 20;
  int FThickness = 0;
  int FPercentNeedleLength = 100;
  int FHeadAngle = 30;
  int FHeadMidLeng = 20;
  int FShadowDx = 0;
  int FShadowDy = 0;
  TColor FShadowColor = clGray;
  bool FVisible = true;
};

// ---------------------------------------------------------------- TMeter

using TBeforeDrawNeedleEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, bool& NeedleDrawn)>;
using TmtBeforeDrawScaleLabelEvent = std::function<void(
    TObject* Sender, TCanvas* Canvas, std::string& CurrentTickLabel, int ChartX, int ChartY)>;
using TMeterRenderedEvent = std::function<void(TObject* Sender, TCanvas* Canvas)>;
using TMouseMoveInMeterEvent =
    std::function<void(TObject* Sender, bool WithinRange, TShiftState Shift, double MeterValue)>;

// The seven corners of a needle polygon: head edge, tip, other head edge, shaft meets head,
// shaft at the pivot (two), shaft meets head on the other side.
using TNeedlePoints = std::array<TPoint, 7>;

class TMeter : public TGraphicControl {
 public:
  explicit TMeter(TComponent* AOwner);
  ~TMeter() override;
  std::string ClassName() const override { return "TMeter"; }
  void Assign(const TPersistent* Source) override;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Loaded() override;

  // ---- geometry (derived, recomputed on bounds and layout changes)
  void CalcMeterLayoutParams();
  const TMeterGeometry& Geometry() const { return FGeometry; }
  TMeterScale Scale() const { return {FMinValue, FMaxValue, FLogarithmic}; }
  // Needle angle of Value: degrees clockwise from straight down (180 is straight up).
  double CalcNeedleAngle(double Value) const;
  // The pixel at Percent per cent of R along the radius that points at Value.
  void ConvertToPixelCoords(double Value, double Percent, int& X, int& Y) const;
  // The value whose radius passes through (X, Y); false (and Value 0) outside the arc's sector.
  bool ConvertPixelToValue(int X, int Y, double& Value) const;
  // The needle polygon for Layout pointing at Value (shadow offsets not applied).
  TNeedlePoints NeedlePoints(const TNeedleLayout& Layout, double Value) const;
  // The two limit lamps (rectangles as drawn) and the band ring radii.
  TRect HighLampRect() const;
  TRect LowLampRect() const;
  int BandOuterRadius() const;
  int BandInnerRadius() const;

  // ---- scale and values
  TMeterLayout GetMeterLayout() const { return FMeterLayout; }
  void SetMeterLayout(TMeterLayout Value);
  double GetMeterMinValue() const { return FMinValue; }
  void SetMinValue(double Value);
  double GetMeterMaxValue() const { return FMaxValue; }
  void SetMaxValue(double Value);
  double GetValue() const { return FValue; }
  void SetValue(double Value);
  double GetValueSec() const { return FValueSec; }
  void SetValue2(double Value);
  double GetThresholdLow() const { return FThresholdLow; }
  void SetLowThreshold(double Value);
  double GetThresholdHigh() const { return FThresholdHigh; }
  void SetHighThreshold(double Value);
  bool GetLogarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool Value);
  int GetMeterNrTicks() const { return FNrTicks; }
  void SetNrTicks(int Value);
  bool GetMeterShortTicks() const { return FShortTicks; }
  void SetShortTicks(bool Value);
  int GetMeterDecPlaces() const { return FDecPlaces; }
  void SetDecPlaces(int Value);
  int GetRimTop() const { return FRimTop; }
  void SetTRim(int Value);
  int GetRimBottom() const { return FRimBottom; }
  void SetBRim(int Value);
  int GetRimSide() const { return FRimSide; }
  void SetSRim(int Value);
  // The last range decision (colours the lamps).
  bool Overflow() const { return FOverflow; }
  bool Underflow() const { return FUnderflow; }

  // ---- appearance
  void SetUnitLabel(const std::string& Value);  // Caption
  TFont* GetFontCaption() const { return FFontCaption.get(); }
  void SetFontCaption(const TFont* Value);
  TColor GetColorBakG() const { return FColorBakG; }
  void SetColorBakG(TColor Value);
  TColor GetColorCover() const { return FColorCover; }
  void SetColorCover(TColor Value);
  TColor GetColorScale() const { return FColorScale; }
  void SetColorScale(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TColor GetColorSclBkLow() const { return FColorSclBkLow; }
  void SetColorBakgLow(TColor Value);
  TColor GetColorSclBkNorm() const { return FColorSclBkNorm; }
  void SetColorBakgNorm(TColor Value);
  TColor GetColorSclBkHigh() const { return FColorSclBkHigh; }
  void SetColorBakgHigh(TColor Value);
  bool GetScaleBkVisible() const { return FScaleBkVisible; }
  void SetScaleBkVis(bool Value);
  double GetScaleBkWidth() const { return FScaleBkWidth; }
  void SetScaleBkWidth(double Value);  // clamped to 0..100
  bool GetScaleVisible() const { return FScaleVisible; }
  void SetScaleVis(bool Value);
  bool GetMeterScaleLine() const { return FMeterScaleLine; }
  void SetScaleLine(bool Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  bool GetLimWatchHighOn() const { return FLimWatchHighOn; }
  void SetLimWatHighOn(bool Value);
  bool GetLimWatchLowOn() const { return FLimWatchLowOn; }
  void SetLimWatLowOn(bool Value);
  TColor GetLimWatchActColor() const { return FLimWatchActColor; }
  void SetLimWatActCol(TColor Value);
  TColor GetLimWatchPsvColor() const { return FLimWatchPsvColor; }
  void SetLimWatPsvCol(TColor Value);
  bool GetAnchorCovered() const { return FAnchorCovered; }
  void SetAnchorCovrd(bool Value);
  int GetAnchorSize() const { return FAnchorSize; }
  void SetSizeAnchor(int Value);  // below 0 counts as 0
  const std::string& GetAnchorImage() const { return FAnchorImage; }
  void SetACoverFname(const std::string& Value);
  const std::string& GetBackGroundImg() const { return FBackGroundImg; }
  void SetBakGndFname(const std::string& Value);
  TBkgFill GetBkgndFillMode() const { return FBkgndFillMode; }
  void SetBGFillMode(TBkgFill Value);
  TNeedleLayout* GetNeedleLayout() const { return FNeedleLayout.get(); }
  void SetNeedleLayout(const TNeedleLayout* Value);
  TNeedleLayout* GetNeedleLayoutSec() const { return FNeedleLayoutSec.get(); }
  void SetNeedle2Layout(const TNeedleLayout* Value);
  // The frame colours that go with the colour scheme.
  TColor FrameDark() const { return FFrameDark; }
  TColor FrameLight() const { return FFrameLight; }
  // The loaded images (10 x 10 white until a file is loaded).
  const TBitmap* BackgroundBitmap() const { return FBkgBitmap.get(); }
  const TBitmap* AnchorBitmap() const { return FAnchorBitmap.get(); }

  // The needle layouts' change handler.
  void StyleChanged(TObject* Sender);

  // ---- events
  TNotifyEvent OnOverFlow;
  TNotifyEvent OnUnderFlow;
  TNotifyEvent OnNormalRange;
  TBeforeDrawNeedleEvent OnBeforeDrawNeedle;
  TmtBeforeDrawScaleLabelEvent OnBeforeDrawScaleLabel;
  TMeterRenderedEvent OnMeterRendered;
  TMouseMoveInMeterEvent OnMouseMoveInMeter;

  // Draws steps 1 to 12 of the meter into Canvas (origin at the control's top-left), as Paint
  // does into its off-screen bitmap. Nothing when the control is too small for its rims.
  void RenderTo(TCanvas* Canvas);

 protected:
  void Paint() override;
  void WMMouseMove(TMessage& Message) override;
  virtual void MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue);
  void DoOverFlowEvent();
  void DoUnderFlowEvent();
  void DoNormalRangeEvent();

 private:
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  // Repaints at once (the meter is cheap to draw); nothing while loading.
  void RepaintMeter();
  // Sets the flag and raises the range event that fits V.
  void ClassifyValue(double V);
  double ClampToScale(double V) const;
  void LoadAnchor();
  void LoadBackground();
  // Paint steps (meter_paint.cpp).
  void PaintBackground(TCanvas* C) const;
  void PaintBands(TCanvas* C) const;
  void PaintScale(TCanvas* C);
  void PaintNeedle(TCanvas* C, const TNeedleLayout& Layout, double Value) const;
  void PaintCoversAndAnchor(TCanvas* C) const;
  void PaintLamps(TCanvas* C) const;
  void PaintFrame(TCanvas* C) const;

  TMeterGeometry FGeometry;
  TMeterLayout FMeterLayout = mlCirc90;
  double FMinValue = 0.0;
  double FMaxValue = 1.0;
  double FValue = 0.0;
  double FValueSec = 0.0;
  double FThresholdLow = 0.0;
  double FThresholdHigh = 1.0;
  bool FLogarithmic = false;
  int FNrTicks = 3;
  bool FShortTicks = true;
  int FDecPlaces = 1;
  int FRimTop = 8;
  int FRimBottom = 10;
  int FRimSide = 10;
  bool FOverflow = false;
  bool FUnderflow = false;

  std::unique_ptr<TFont> FFontCaption;
  TColor FColorBakG = clWhite;
  TColor FColorCover = clBtnFace;
  TColor FColorScale = clNavy;
  TColorScheme FColorScheme = csBWG;
  TColor FFrameDark = clGray;
  TColor FFrameLight = clWhite;
  TColor FColorSclBkLow = clLime;
  TColor FColorSclBkNorm = static_cast<TColor>(0x0080FF);
  TColor FColorSclBkHigh = clRed;
  bool FScaleBkVisible = false;
  double FScaleBkWidth = 0.0;
  bool FScaleVisible = true;
  bool FMeterScaleLine = true;
  TFrameStyle FFrameStyle = fsRaised;
  bool FLimWatchHighOn = true;
  bool FLimWatchLowOn = true;
  TColor FLimWatchActColor = clRed;
  TColor FLimWatchPsvColor = clGray;
  bool FAnchorCovered = true;
  int FAnchorSize = 24;
  std::string FAnchorImage;
  std::string FBackGroundImg;
  TBkgFill FBkgndFillMode = bfSimple;
  std::unique_ptr<TNeedleLayout> FNeedleLayout;
  std::unique_ptr<TNeedleLayout> FNeedleLayoutSec;
  std::unique_ptr<TBitmap> FBkgBitmap;
  std::unique_ptr<TBitmap> FAnchorBitmap;
  std::unique_ptr<TBitmap> FAnchorMask;
};

// Registers TMeter, TNeedleLayout and their enumerations with the property registry.
// Idempotent.
void RegisterMeterClasses();

}  // namespace qel

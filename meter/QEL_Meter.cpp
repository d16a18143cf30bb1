// TMeter's properties, setters, loading, range events, images and mouse tracking, and
// TNeedleLayout.
#include "meter/QEL_Meter.h"

#include <cmath>

#include "platform/rtl/FileSys.h"

namespace qel {

namespace {
// Below this a limit of a logarithmic scale is refused: its logarithm would be meaningless.
constexpr double kLogFloor = 1e-100;
}  // namespace

// ---------------------------------------------------------------- TNeedleLayout

void TNeedleLayout::Changed() {
  if (OnChange) OnChange(this);
}

template <class V>
void TNeedleLayout::Update(V& Field, V Value) {
  if (Field == Value) return;
  Field = Value;
  Changed();
}

void TNeedleLayout::SetColorFill(TColor Value) { Update(FColorBody, Value); }
void TNeedleLayout::SetColorLine(TColor Value) { Update(FColorOutline, Value); }
void TNeedleLayout::SetArrowSize1(int Value) { Update(FHeadSize, Value); }
void TNeedleLayout::SetArrowThick(int Value) { Update(FThickness, Value); }
void TNeedleLayout::SetNeedleLength(int Value) {
  Update(FPercentNeedleLength, Value < 0 ? 0 : Value > 100 ? 100 : Value);
}
void TNeedleLayout::SetArrowAngle1(int Value) {
  Update(FHeadAngle, Value < 0 ? 0 : Value > 180 ? 180 : Value);
}
void TNeedleLayout::SetBackShift1(int Value) { Update(FHeadMidLeng, Value); }
void TNeedleLayout::SetShadowDx(int Value) { Update(FShadowDx, Value); }
void TNeedleLayout::SetShadowDy(int Value) { Update(FShadowDy, Value); }
void TNeedleLayout::SetShadowColor(TColor Value) { Update(FShadowColor, Value); }
void TNeedleLayout::SetVisible(bool Value) { Update(FVisible, Value); }

void TNeedleLayout::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TNeedleLayout*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  const bool differs = FColorBody != s->FColorBody || FColorOutline != s->FColorOutline ||
                       FHeadSize != s->FHeadSize || FThickness != s->FThickness ||
                       FPercentNeedleLength != s->FPercentNeedleLength ||
                       FHeadAngle != s->FHeadAngle || FHeadMidLeng != s->FHeadMidLeng ||
                       FShadowDx != s->FShadowDx || FShadowDy != s->FShadowDy ||
                       FShadowColor != s->FShadowColor || FVisible != s->FVisible;
  FColorBody = s->FColorBody;
  FColorOutline = s->FColorOutline;
  FHeadSize = s->FHeadSize;
  FThickness = s->FThickness;
  FPercentNeedleLength = s->FPercentNeedleLength;
  FHeadAngle = s->FHeadAngle;
  FHeadMidLeng = s->FHeadMidLeng;
  FShadowDx = s->FShadowDx;
  FShadowDy = s->FShadowDy;
  FShadowColor = s->FShadowColor;
  FVisible = s->FVisible;
  if (differs) Changed();
}

// ---------------------------------------------------------------- TMeter: life

TMeter::TMeter(TComponent* AOwner) : TGraphicControl(AOwner) {
  // The caption is a unit label, not the component's name.
  FControlStyle = FControlStyle - TControlStyle{csSetCaption};
  FNeedleLayout = std::make_unique<TNeedleLayout>();
  FNeedleLayoutSec = std::make_unique<TNeedleLayout>();
  FNeedleLayoutSec->SetVisible(false);
  FNeedleLayout->OnChange = [this](TObject* Sender) { StyleChanged(Sender); };
  FNeedleLayoutSec->OnChange = [this](TObject* Sender) { StyleChanged(Sender); };
  FFontCaption = std::make_unique<TFont>();
  FFontCaption->Assign(GetFont());
  FFontCaption->OnChange = [this](TObject*) { RepaintMeter(); };
  FBkgBitmap = std::make_unique<TBitmap>(10, 10);
  FAnchorBitmap = std::make_unique<TBitmap>(10, 10);
  FAnchorMask = std::make_unique<TBitmap>(10, 10);
  SetBounds(GetLeft(), GetTop(), 297, 209);  // computes the layout
}

TMeter::~TMeter() = default;

void TMeter::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TMeter*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FMeterLayout = s->FMeterLayout;
  FMinValue = s->FMinValue;
  FMaxValue = s->FMaxValue;
  FValue = s->FValue;
  FValueSec = s->FValueSec;
  FThresholdLow = s->FThresholdLow;
  FThresholdHigh = s->FThresholdHigh;
  FLogarithmic = s->FLogarithmic;
  FNrTicks = s->FNrTicks;
  FShortTicks = s->FShortTicks;
  FDecPlaces = s->FDecPlaces;
  FRimTop = s->FRimTop;
  FRimBottom = s->FRimBottom;
  FRimSide = s->FRimSide;
  FOverflow = s->FOverflow;
  FUnderflow = s->FUnderflow;
  SetText(s->GetCaption());
  GetFont()->Assign(s->GetFont());
  FFontCaption->Assign(s->FFontCaption.get());
  FColorBakG = s->FColorBakG;
  FColorCover = s->FColorCover;
  FColorScale = s->FColorScale;
  FColorScheme = s->FColorScheme;
  FFrameDark = s->FFrameDark;
  FFrameLight = s->FFrameLight;
  FColorSclBkLow = s->FColorSclBkLow;
  FColorSclBkNorm = s->FColorSclBkNorm;
  FColorSclBkHigh = s->FColorSclBkHigh;
  FScaleBkVisible = s->FScaleBkVisible;
  FScaleBkWidth = s->FScaleBkWidth;
  FScaleVisible = s->FScaleVisible;
  FMeterScaleLine = s->FMeterScaleLine;
  FFrameStyle = s->FFrameStyle;
  FLimWatchHighOn = s->FLimWatchHighOn;
  FLimWatchLowOn = s->FLimWatchLowOn;
  FLimWatchActColor = s->FLimWatchActColor;
  FLimWatchPsvColor = s->FLimWatchPsvColor;
  FAnchorCovered = s->FAnchorCovered;
  FAnchorSize = s->FAnchorSize;
  FAnchorImage = s->FAnchorImage;
  FBackGroundImg = s->FBackGroundImg;
  FBkgndFillMode = s->FBkgndFillMode;
  FBkgBitmap->Assign(s->FBkgBitmap.get());
  FAnchorBitmap->Assign(s->FAnchorBitmap.get());
  FAnchorMask->Assign(s->FAnchorMask.get());
  FNeedleLayout->Assign(s->FNeedleLayout.get());
  FNeedleLayoutSec->Assign(s->FNeedleLayoutSec.get());
  CalcMeterLayoutParams();
  RepaintMeter();
}

void TMeter::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  CalcMeterLayoutParams();
}

void TMeter::CalcMeterLayoutParams() {
  FGeometry =
      CalcMeterGeometry(FMeterLayout, GetWidth(), GetHeight(), FRimTop, FRimBottom, FRimSide);
}

void TMeter::Loaded() {
  TGraphicControl::Loaded();
  // Rims read after the bounds count too.
  CalcMeterLayoutParams();
  if (FValue < FMinValue) FValue = FMinValue;
  if (FValue > FMaxValue) FValue = FMaxValue;
  if (!FBackGroundImg.empty()) {
    try {
      FBkgBitmap->LoadFromFile(FBackGroundImg);
    } catch (const std::exception&) {
      FBackGroundImg.clear();
    }
  }
  if (!FAnchorImage.empty()) LoadAnchor();
  RepaintMeter();
}

void TMeter::RepaintMeter() {
  if (IsLoading()) return;
  Repaint();
}

void TMeter::StyleChanged(TObject*) { RepaintMeter(); }

// ---------------------------------------------------------------- scale and values

void TMeter::SetMeterLayout(TMeterLayout Value) {
  if (Value == FMeterLayout) return;
  FMeterLayout = Value;
  CalcMeterLayoutParams();
  RepaintMeter();
}

void TMeter::SetMinValue(double Value) {
  // A scale needs finite ends; NaN and infinities leave it as it is.
  if (!std::isfinite(Value)) return;
  if (FLogarithmic && !(Value > kLogFloor)) return;
  if (IsLoading()) {
    FMinValue = Value;
    return;
  }
  if (Value == FMinValue) return;
  FMinValue = Value;
  if (!(FMaxValue > Value)) FMaxValue = Value + 1;
  // Min + 1 rounds back to Min for huge values; the scale must still have a length.
  if (!(FMaxValue > FMinValue)) FMaxValue = std::nextafter(FMinValue, HUGE_VAL);
  if (FValue < FMinValue) FValue = FMinValue;
  if (FValueSec < FMinValue) FValueSec = FMinValue;
  if (FThresholdLow < FMinValue) FThresholdLow = FMinValue;
  if (FThresholdHigh < FMinValue) FThresholdHigh = FMinValue;
  RepaintMeter();
}

void TMeter::SetMaxValue(double Value) {
  if (!std::isfinite(Value)) return;
  if (FLogarithmic && !(Value > kLogFloor)) return;
  if (IsLoading()) {
    FMaxValue = Value;
    return;
  }
  if (Value == FMaxValue) return;
  // A logarithmic scale pushed below its floor by a tiny Max cannot keep Min above 1e-100.
  if (FLogarithmic && Value <= FMinValue && !(Value - 1 > 0) && !(Value / 10 > kLogFloor)) return;
  FMaxValue = Value;
  if (Value <= FMinValue) {
    FMinValue = Value - 1;
    if (FLogarithmic && !(FMinValue > 0)) FMinValue = Value / 10;
  }
  // Max - 1 rounds back to Max for huge values; the scale must still have a length.
  if (!(FMinValue < FMaxValue)) FMinValue = std::nextafter(FMaxValue, -HUGE_VAL);
  if (FValue > FMaxValue) FValue = FMaxValue;
  if (FValueSec > FMaxValue) FValueSec = FMaxValue;
  if (FThresholdLow > FMaxValue) FThresholdLow = FMaxValue;
  if (FThresholdHigh > FMaxValue) FThresholdHigh = FMaxValue;
  RepaintMeter();
}

void TMeter::SetLogarithmic(bool Value) {
  if (IsLoading()) {
    FLogarithmic = Value;
    return;
  }
  if (Value == FLogarithmic) return;
  FLogarithmic = Value && FMinValue > kLogFloor && FMaxValue > kLogFloor;
  RepaintMeter();
}

void TMeter::ClassifyValue(double V) {
  if (V >= FThresholdHigh) {
    FOverflow = true;
    DoOverFlowEvent();
  } else if (V > FThresholdLow) {
    DoNormalRangeEvent();
  } else {
    FUnderflow = true;
    DoUnderFlowEvent();
  }
}

double TMeter::ClampToScale(double V) const {
  if (V < FMinValue) V = FMinValue;
  if (V > FMaxValue) V = FMaxValue;
  return V;
}

// A value that lands where the needle already is changes nothing, so an out-of-range value
// set twice raises its event once.
void TMeter::SetValue(double Value) {
  if (std::isnan(Value)) return;
  if (IsLoading()) {
    FValue = Value;
    return;
  }
  if (Value == FValue) return;
  Value = ClampToScale(Value);
  if (Value == FValue) return;
  FValue = Value;
  FOverflow = false;
  FUnderflow = false;
  if (FNeedleLayout->GetVisible()) ClassifyValue(FValue);
  RepaintMeter();
}

void TMeter::SetValue2(double Value) {
  if (std::isnan(Value)) return;
  if (IsLoading()) {
    FValueSec = Value;
    return;
  }
  if (Value == FValueSec) return;
  Value = ClampToScale(Value);
  if (Value == FValueSec) return;
  FValueSec = Value;
  // Both needles share the two flags: the lamps show the last needle moved.
  FOverflow = false;
  FUnderflow = false;
  if (!FNeedleLayoutSec->GetVisible()) return;
  ClassifyValue(FValueSec);
  RepaintMeter();
}

void TMeter::SetLowThreshold(double Value) {
  if (std::isnan(Value)) return;
  if (FLogarithmic && !(Value > kLogFloor)) return;
  if (IsLoading()) {
    FThresholdLow = Value;
    return;
  }
  if (Value == FThresholdLow) return;
  Value = ClampToScale(Value);
  if (Value == FThresholdLow) return;
  FThresholdLow = Value;
  if (FThresholdLow > FThresholdHigh) FThresholdHigh = FThresholdLow;
  FUnderflow = false;
  if (FValue <= FThresholdLow) {
    FUnderflow = true;
    DoUnderFlowEvent();
  }
  RepaintMeter();
}

void TMeter::SetHighThreshold(double Value) {
  if (std::isnan(Value)) return;
  if (FLogarithmic && !(Value > kLogFloor)) return;
  if (IsLoading()) {
    FThresholdHigh = Value;
    return;
  }
  if (Value == FThresholdHigh) return;
  Value = ClampToScale(Value);
  if (Value == FThresholdHigh) return;
  FThresholdHigh = Value;
  if (FThresholdHigh < FThresholdLow) FThresholdLow = FThresholdHigh;
  FOverflow = false;
  if (FValue >= FThresholdHigh) {
    FOverflow = true;
    DoOverFlowEvent();
  }
  RepaintMeter();
}

void TMeter::DoOverFlowEvent() {
  if (OnOverFlow) OnOverFlow(this);
}
void TMeter::DoUnderFlowEvent() {
  if (OnUnderFlow) OnUnderFlow(this);
}
void TMeter::DoNormalRangeEvent() {
  if (OnNormalRange) OnNormalRange(this);
}

void TMeter::SetNrTicks(int Value) {
  if (Value == FNrTicks) return;
  FNrTicks = Value < 2 ? 2 : Value > 21 ? 21 : Value;
  RepaintMeter();
}

void TMeter::SetDecPlaces(int Value) {
  if (Value == FDecPlaces) return;
  FDecPlaces = Value < 0 ? 0 : Value > 4 ? 4 : Value;
  RepaintMeter();
}

// The rims repaint but move the layout only at the next bounds or layout change.
void TMeter::SetTRim(int Value) {
  if (Value == FRimTop) return;
  FRimTop = Value;
  RepaintMeter();
}
void TMeter::SetBRim(int Value) {
  if (Value == FRimBottom) return;
  FRimBottom = Value;
  RepaintMeter();
}
void TMeter::SetSRim(int Value) {
  if (Value == FRimSide) return;
  FRimSide = Value;
  RepaintMeter();
}

// ---------------------------------------------------------------- appearance

void TMeter::SetUnitLabel(const std::string& Value) {
  SetText(Value);
  RepaintMeter();
}

void TMeter::SetFontCaption(const TFont* Value) {
  if (!Value || Value == FFontCaption.get()) return;
  FFontCaption->Assign(Value);  // its change handler repaints
}

void TMeter::SetColorBakG(TColor Value) {
  if (Store(FColorBakG, Value)) RepaintMeter();
}
void TMeter::SetColorCover(TColor Value) {
  if (Store(FColorCover, Value)) RepaintMeter();
}
void TMeter::SetColorScale(TColor Value) {
  if (Store(FColorScale, Value)) RepaintMeter();
}
void TMeter::SetColorBakgLow(TColor Value) {
  if (Store(FColorSclBkLow, Value)) RepaintMeter();
}
void TMeter::SetColorBakgNorm(TColor Value) {
  if (Store(FColorSclBkNorm, Value)) RepaintMeter();
}
void TMeter::SetColorBakgHigh(TColor Value) {
  if (Store(FColorSclBkHigh, Value)) RepaintMeter();
}
void TMeter::SetLimWatActCol(TColor Value) {
  if (Store(FLimWatchActColor, Value)) RepaintMeter();
}
void TMeter::SetLimWatPsvCol(TColor Value) {
  if (Store(FLimWatchPsvColor, Value)) RepaintMeter();
}
void TMeter::SetLimWatHighOn(bool Value) {
  if (Store(FLimWatchHighOn, Value)) RepaintMeter();
}
void TMeter::SetLimWatLowOn(bool Value) {
  if (Store(FLimWatchLowOn, Value)) RepaintMeter();
}
void TMeter::SetAnchorCovrd(bool Value) {
  if (Store(FAnchorCovered, Value)) RepaintMeter();
}
void TMeter::SetSizeAnchor(int Value) {
  if (Store(FAnchorSize, Value < 0 ? 0 : Value)) RepaintMeter();
}
void TMeter::SetShortTicks(bool Value) {
  if (Store(FShortTicks, Value)) RepaintMeter();
}
void TMeter::SetScaleLine(bool Value) {
  if (Store(FMeterScaleLine, Value)) RepaintMeter();
}
void TMeter::SetFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyle, Value)) RepaintMeter();
}

void TMeter::SetScaleBkVis(bool Value) {
  FScaleBkVisible = Value;
  RepaintMeter();
}
void TMeter::SetScaleVis(bool Value) {
  FScaleVisible = Value;
  RepaintMeter();
}
void TMeter::SetBGFillMode(TBkgFill Value) {
  FBkgndFillMode = Value;
  RepaintMeter();
}

void TMeter::SetScaleBkWidth(double Value) {
  if (std::isnan(Value)) return;
  FScaleBkWidth = Value < 0 ? 0 : Value > 100 ? 100 : Value;
  RepaintMeter();
}

void TMeter::SetColorScheme(TColorScheme Value) {
  if (Value == FColorScheme) return;
  FColorScheme = Value;
  const TSchemeColors c = SchemeFrameColors(Value);
  FFrameDark = c.Shadow;
  FFrameLight = c.Highlight;
  RepaintMeter();
}

void TMeter::SetNeedleLayout(const TNeedleLayout* Value) {
  if (Value) FNeedleLayout->Assign(Value);  // a change repaints through StyleChanged
}

void TMeter::SetNeedle2Layout(const TNeedleLayout* Value) {
  if (Value) FNeedleLayoutSec->Assign(Value);
}

// ---------------------------------------------------------------- images

void TMeter::LoadAnchor() {
  try {
    FAnchorBitmap->LoadFromFile(FAnchorImage);
    FAnchorMask->LoadFromFile(FAnchorImage);
  } catch (const std::exception&) {
    FAnchorImage.clear();
    return;
  }
  // An all-black mask ANDed in clears the pixels the anchor image then ORs into: the image
  // lands opaque.
  for (int y = 0; y < FAnchorMask->GetHeight(); ++y) {
    TPixel* row = FAnchorMask->ScanLine(y);
    std::fill(row, row + FAnchorMask->GetWidth(), TPixel{0});
  }
}

void TMeter::SetBakGndFname(const std::string& Value) {
  if (IsLoading()) {
    FBackGroundImg = Value;  // loaded in Loaded
    return;
  }
  if (!Value.empty() && FileExists(Value)) {
    FBackGroundImg = Value;
    try {
      FBkgBitmap->LoadFromFile(Value);
    } catch (...) {
      // The name stays only with its picture loaded.
      FBackGroundImg.clear();
      throw;
    }
  } else {
    FBackGroundImg.clear();
  }
  RepaintMeter();
}

void TMeter::SetACoverFname(const std::string& Value) {
  if (IsLoading()) {
    FAnchorImage = Value;
    return;
  }
  if (!Value.empty() && FileExists(Value)) {
    FAnchorImage = Value;
    LoadAnchor();
  } else {
    FAnchorImage.clear();
  }
  RepaintMeter();
}

// ---------------------------------------------------------------- mouse

void TMeter::WMMouseMove(TMessage& Message) {
  TGraphicControl::WMMouseMove(Message);
  const TPoint p = LParamToPoint(Message.LParam);
  double v = 0;
  const bool within = ConvertPixelToValue(p.X, p.Y, v);
  MouseMoveInMeter(within, KeysToShiftState(Message.WParam), v);
}

void TMeter::MouseMoveInMeter(bool WithinRange, TShiftState Shift, double MeterValue) {
  if (OnMouseMoveInMeter) OnMouseMoveInMeter(this, WithinRange, Shift, MeterValue);
}

}  // namespace qel

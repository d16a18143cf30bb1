// TProgBar's properties, setters, loading, copying and the auto-increment timer.
#include "indicators/QEL_ProgBar.h"

#include <algorithm>
#include <cmath>

#include "indicators/repsbut_timer.h"

namespace qel {

// ---------------------------------------------------------------- life

TProgBar::TProgBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  FTimer = std::make_unique<TRepeatTimer>(
      this, [this] { DoTimer(); },
      [this] { throw EQELProgBar(ComponentMessage(GetName(), kNoTimerAvailable)); });
  FColors[0] = clBlue;
  FColors[kProgBarColors - 1] = clRed;
  RecomputeTable();
  FBkgBitmap = std::make_unique<TBitmap>(10, 10);
  SetBounds(GetLeft(), GetTop(), 300, 28);
}

TProgBar::~TProgBar() = default;  // the timer ends with its window

void TProgBar::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TProgBar*>(Source);
  if (!s) {
    TGraphicControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FFrameStyleOuter = s->FFrameStyleOuter;
  FFrameStyleInner = s->FFrameStyleInner;
  FValue = s->FValue;
  FMin = s->FMin;
  FMax = s->FMax;
  FColorMargin = s->FColorMargin;
  FFrameDark = s->FFrameDark;
  FFrameLight = s->FFrameLight;
  FColorScheme = s->FColorScheme;
  FDirection = s->FDirection;
  FColors = s->FColors;
  FColorBackGnd = s->FColorBackGnd;
  FShowColorGradient = s->FShowColorGradient;
  FColorGrid = s->FColorGrid;
  FGridDist = s->FGridDist;
  FColorMapMode = s->FColorMapMode;
  FMarginLeft = s->FMarginLeft;
  FMarginRight = s->FMarginRight;
  FMarginTop = s->FMarginTop;
  FMarginBottom = s->FMarginBottom;
  // The name goes with its picture, or it would name one the copy does not show.
  FBackGroundImg = s->FBackGroundImg;
  FBkgBitmap->Assign(s->FBkgBitmap.get());
  FTextPosX = s->FTextPosX;
  FTextPosY = s->FTextPosY;
  FTextDecPlaces = s->FTextDecPlaces;
  FTextAngle = s->FTextAngle;
  FTextAlignment = s->FTextAlignment;
  OnShowValue = s->OnShowValue;
  FTextVisible = s->FTextVisible;
  Invalidate();
}

void TProgBar::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TProgBar*>(Dest))
    d->Assign(this);
  else
    TGraphicControl::AssignTo(Dest);
}

void TProgBar::Loaded() {
  TGraphicControl::Loaded();
  // The text position was read before or after the size: judge it now.
  FTextPosX = std::clamp(FTextPosX, 0, std::max(0, GetWidth()));
  FTextPosY = std::clamp(FTextPosY, 0, std::max(0, GetHeight()));
  if (!FBackGroundImg.empty()) {
    const std::string name = FBackGroundImg;
    FBackGroundImg.clear();
    SetBakGndFile(name);
  }
  if (FAutoInc && !IsDesigning()) InitTimer();
  Invalidate();
}

// ---------------------------------------------------------------- value and range

void TProgBar::SetPBarValue(double Value) {
  if (std::isnan(Value) || !Store(FValue, Value)) return;
  Invalidate();
}

void TProgBar::SetPBarMin(double Value) {
  if (std::isnan(Value) || !Store(FMin, Value)) return;
  Invalidate();
}

void TProgBar::SetPBarMax(double Value) {
  if (std::isnan(Value) || !Store(FMax, Value)) return;
  Invalidate();
}

void TProgBar::SetRange(double A, double B) {
  if (std::isnan(A) || std::isnan(B)) return;
  FMin = std::min(A, B);
  FMax = std::max(A, B);
  Invalidate();
}

void TProgBar::SetDirection(TDirection Value) {
  if (Store(FDirection, Value)) Invalidate();
}

TProgBarRect TProgBar::BarRect() const {
  return ProgBarRect(FDirection, GetWidth(), GetHeight(), FMarginLeft, FMarginRight, FMarginTop,
                     FMarginBottom, FValue, FMin, FMax);
}

// ---------------------------------------------------------------- colours

void TProgBar::RecomputeTable() {
  const TColor a = FColors[0], b = FColors[kProgBarColors - 1];
  for (int i = 1; i < kProgBarColors - 1; ++i)
    FColors[i] = ProgBarMix(a, b, static_cast<double>(i) / (kProgBarColors - 1));
}

void TProgBar::SetColorMin(TColor Value) {
  FColors[0] = Value;
  RecomputeTable();
  Invalidate();
}

void TProgBar::SetColorMax(TColor Value) {
  FColors[kProgBarColors - 1] = Value;
  RecomputeTable();
  Invalidate();
}

TColor TProgBar::GetBarColorElem(int I) const {
  if (I < 0 || I >= kProgBarColors) return clNone;
  return FColors[I];
}

void TProgBar::SetBarColorElem(int I, TColor Value) {
  if (I < 0 || I >= kProgBarColors) return;
  FColors[I] = Value;
}

void TProgBar::SetColorGrad(bool Value) {
  if (Store(FShowColorGradient, Value)) Invalidate();
}
void TProgBar::SetColorMapMode(TColorMapping Value) {
  if (Value > cgmMove) return;
  if (Store(FColorMapMode, Value)) Invalidate();
}
void TProgBar::SetColorBakG(TColor Value) {
  if (Store(FColorBackGnd, Value)) Invalidate();
}
void TProgBar::SetColorMargin(TColor Value) {
  if (Store(FColorMargin, Value)) Invalidate();
}
void TProgBar::SetColorGrid(TColor Value) {
  if (Store(FColorGrid, Value)) Invalidate();
}
void TProgBar::SetGridDist(int Value) {
  if (Store(FGridDist, Value)) Invalidate();
}

// ---------------------------------------------------------------- layout and frames

void TProgBar::SetMarginLeft(int Value) {
  if (Store(FMarginLeft, Value)) Invalidate();
}
void TProgBar::SetMarginRight(int Value) {
  if (Store(FMarginRight, Value)) Invalidate();
}
void TProgBar::SetMarginTop(int Value) {
  if (Store(FMarginTop, Value)) Invalidate();
}
void TProgBar::SetMarginBottom(int Value) {
  if (Store(FMarginBottom, Value)) Invalidate();
}
void TProgBar::SetOuterFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyleOuter, Value)) Invalidate();
}
void TProgBar::SetInnerFrameStyle(TFrameStyle Value) {
  if (Store(FFrameStyleInner, Value)) Invalidate();
}

void TProgBar::SetColorScheme(TColorScheme Value) {
  if (!Store(FColorScheme, Value)) return;
  const TSchemeColors c = SchemeFrameColors(Value);
  FFrameDark = c.Shadow;
  FFrameLight = c.Highlight;
  Invalidate();
}

void TProgBar::SetBakGndFile(const std::string& Value) {
  if (IsLoading()) {
    FBackGroundImg = Value;  // loaded in Loaded, once the control is complete
    return;
  }
  if (Value.empty()) {
    FBackGroundImg.clear();
  } else {
    // Loaded aside first: a file that fails leaves the picture shown so far untouched.
    TBitmap picture;
    try {
      picture.LoadFromFile(Value);
      FBkgBitmap->Assign(&picture);
      FBackGroundImg = Value;
    } catch (const std::exception&) {
      // Not a picture we can read: the name stays as it was.
    }
  }
  Invalidate();
}

// ---------------------------------------------------------------- text

void TProgBar::SetShowValue(bool Value) {
  FTextVisible = Value;
  Invalidate();
}

void TProgBar::SetTextPosX(int Value) {
  FTextPosX = IsLoading() ? Value : std::clamp(Value, 0, std::max(0, GetWidth()));
  Invalidate();
}

void TProgBar::SetTextPosY(int Value) {
  FTextPosY = IsLoading() ? Value : std::clamp(Value, 0, std::max(0, GetHeight()));
  Invalidate();
}

void TProgBar::SetAlignment(TAlignment Value) {
  if (Store(FTextAlignment, Value)) Invalidate();
}

void TProgBar::SetTextAngle(int Value) {
  FTextAngle = std::clamp(Value, 0, 360);
  Invalidate();
}

void TProgBar::SetTextDecPl(int Value) {
  FTextDecPlaces = std::clamp(Value, -2, 10);
  Invalidate();
}

std::string TProgBar::ValueText() {
  std::string text = ProgBarValueText(FValue, FTextDecPlaces);
  if (OnShowValue) OnShowValue(this, text);
  return text;
}

// ---------------------------------------------------------------- auto-increment

void TProgBar::InitTimer() { FTimer->Start(FStartInterval, FAutoInc); }

void TProgBar::UpdateTimer() { FTimer->Repeat(FRepeatInterval, FAutoInc); }

bool TProgBar::TimerRunning() const { return FTimer->Running(); }

void TProgBar::SetAutoInc(bool Value) {
  if (!Store(FAutoInc, Value) || IsDesigning() || IsLoading()) return;
  if (Value)
    InitTimer();
  else
    UpdateTimer();  // without AutoInc: stops
}

void TProgBar::SetAutoIncStep(double Value) {
  if (std::isnan(Value) || Value == 0) return;
  FAutoIncStep = Value;
}

void TProgBar::SetStartIv(int Value) {
  if (!Store(FStartInterval, std::max(10, Value)) || IsDesigning() || IsLoading()) return;
  InitTimer();
}

void TProgBar::SetRepeatIv(int Value) {
  if (!Store(FRepeatInterval, std::max(10, Value)) || IsDesigning() || IsLoading()) return;
  UpdateTimer();
}

void TProgBar::SetOnAutoInc(TNotifyEvent Value) {
  FOnAutoInc = std::move(Value);
  if (!IsDesigning() && !IsLoading()) UpdateTimer();
}

void TProgBar::DoTimer() {
  if (FTimer->FirstTick()) UpdateTimer();
  AutoIncEvent();
  if (FOnAutoInc) FOnAutoInc(this);
}

void TProgBar::AutoIncEvent() {
  // No limit: the host decides what happens past Max (OnAutoInc).
  FValue += FAutoIncStep;
  Invalidate();
}

}  // namespace qel

#include "apps/gallery/DemoControls.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "apps/gallery/CanvasDemo.h"
#include "apps/gallery/DialogDemo.h"
#include "apps/gallery/GridDemo.h"
#include "apps/gallery/MenuDemo.h"
#include "apps/gallery/IndicatorsDemo.h"
#include "apps/gallery/MeterDemo.h"
#include "apps/gallery/MiniCalDemo.h"
#include "apps/gallery/OnOffDemo.h"
#include "apps/gallery/NTabEdDemo.h"
#include "apps/gallery/NumIODemo.h"
#include "apps/gallery/RepListDemo.h"
#include "apps/gallery/RotLabDemo.h"
#include "apps/gallery/SelectorsDemo.h"
#include "apps/gallery/TreeDemo.h"
#include "apps/gallery/WidgetsDemo.h"
#include "displays/QEL_NumLab.h"
#include "displays/QEL_RasterLab.h"
#include "displays/QEL_sevenseg.h"
#include "platform/rtl/SafeMath.h"
#include "platform/widgets/DateTimePicker.h"
#include "platform/widgets/Mask.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {

void PaintStatusLine(TCanvas* C, const TRect& Rect, const TFont* Font, const std::string& Text) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(Rect);
  C->Font()->Assign(Font);
  C->Brush()->SetStyle(bsClear);
  C->TextOut(Rect.Left + 4, Rect.Top + (Rect.Height() - C->TextHeight("0")) / 2, Text);
}

namespace {

void NotifySelected(TControl* Control) {
  if (auto* f = dynamic_cast<TSelectingForm*>(Control->GetParentForm()))
    f->SelectComponent(Control);
}

}  // namespace

// ---------------------------------------------------------------- TGalleryPage

TGalleryPage::TGalleryPage(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentColor(false);
  // The face colour: bevels and embossed text need it (on white their light edges vanish).
  SetColor(clBtnFace);
  SetBounds(0, 0, 400, 300);
}

void TGalleryPage::SetDescription(const std::string& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  Invalidate();
}

void TGalleryPage::AlignControls(TControl* AControl, TRect& ARect) {
  ARect.Top = std::min(ARect.Bottom, ARect.Top + kTitleHeight);
  TCustomControl::AlignControls(AControl, ARect);
}

void TGalleryPage::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(Rect(0, 0, GetWidth(), kTitleHeight));
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(0, kTitleHeight - 1);
  c->LineTo(GetWidth(), kTitleHeight - 1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(GetFont());
  c->Font()->SetSize(11);
  c->Font()->SetStyle({fsBold});
  c->TextOut(10, 3, GetCaption());
  c->Font()->SetSize(8);
  c->Font()->SetStyle({});
  c->TextOut(10, 22, FDescription);
}

void TGalleryPage::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  // On the gallery's form the press was seen first and may have chosen a disabled control or
  // a label over the page.
  if (auto* f = dynamic_cast<TSelectingForm*>(GetParentForm()); f && f->SelectsOnPress()) return;
  NotifySelected(this);
}

// ---------------------------------------------------------------- TCanvasDemoView

TCanvasDemoView::TCanvasDemoView(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle << csOpaque;
  SetBounds(0, 0, 200, 150);
}

void TCanvasDemoView::Paint() { DrawCanvasDemo(Canvas(), GetWidth(), GetHeight()); }

void TCanvasDemoView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  NotifySelected(this);
}

// ---------------------------------------------------------------- TOrbitView

TOrbitView::TOrbitView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetParentColor(false);
  SetColor(clBlack);
  SetBounds(0, 0, 200, 200);
  FWnd = AllocateHWnd([this](TMessage& M) {
    if (M.Msg == WM_TIMER) Tick();
  });
  UpdateTimer();
}

TOrbitView::~TOrbitView() { DeallocateHWnd(FWnd); }

void TOrbitView::UpdateTimer() {
  KillTimer(FWnd, 1);
  if (!FRunning || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning))
    return;
  if (SetTimer(FWnd, 1, static_cast<unsigned>(FInterval)) == 0)
    throw EComponentError("Component \"" + GetName() + "\": no timer available");
}

void TOrbitView::Loaded() {
  TCustomControl::Loaded();
  UpdateTimer();
}

void TOrbitView::SetRunning(bool Value) {
  if (Value == FRunning) return;
  FRunning = Value;
  UpdateTimer();
}

void TOrbitView::SetInterval(int Value) {
  Value = std::max(10, Value);
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TOrbitView::SetSpeed(double Value) {
  if (std::isnan(Value)) return;
  FSpeed = std::clamp(Value, -180.0, 180.0);
}

void TOrbitView::SetBallColor(TColor Value) {
  if (Value == FBallColor) return;
  FBallColor = Value;
  Invalidate();
}

void TOrbitView::SetTrailLength(int Value) {
  Value = std::clamp(Value, 0, 64);
  if (Value == FTrailLength) return;
  FTrailLength = Value;
  Invalidate();
}

void TOrbitView::Tick() {
  FAngle = std::fmod(FAngle + FSpeed, 360.0);
  ++FTicks;
  Invalidate();
}

TPoint TOrbitView::BallAt(double Degrees) const {
  double r = std::min(GetWidth(), GetHeight()) * 0.35;
  double a = Degrees * std::numbers::pi / 180;
  return {RoundToInt(GetWidth() / 2.0 + r * std::cos(a)),
          RoundToInt(GetHeight() / 2.0 - r * std::sin(a))};
}

void TOrbitView::Paint() {
  TCanvas* c = Canvas();
  int w = GetWidth(), h = GetHeight();
  int r = RoundToInt(std::min(w, h) * 0.35);
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clGray);
  c->Ellipse(w / 2 - r, h / 2 - r, w / 2 + r + 1, h / 2 + r + 1);
  TColor ball = ColorToRGB(FBallColor);
  TColor back = ColorToRGB(GetColor());
  // The trail: older positions smaller and closer to the background colour.
  for (int i = FTrailLength; i >= 0; --i) {
    double f = FTrailLength ? 1.0 - static_cast<double>(i) / (FTrailLength + 1) : 1.0;
    auto mix = [&](int shift) {
      double v = ((back >> shift) & 0xFF) * (1 - f) + ((ball >> shift) & 0xFF) * f;
      return static_cast<TColor>(std::clamp(RoundToInt(v), 0, 255)) << shift;
    };
    TColor col = mix(0) | mix(8) | mix(16);
    TPoint p = BallAt(FAngle - i * FSpeed);
    int s = std::max(2, RoundToInt(10 * f));
    c->Pen()->SetColor(col);
    c->Brush()->SetColor(col);
    c->Ellipse(p.X - s, p.Y - s, p.X + s + 1, p.Y + s + 1);
  }
  c->Brush()->SetStyle(bsClear);
  c->Font()->Assign(GetFont());
  c->Font()->SetColor(clWhite);
  c->TextOut(6, 4, (FRunning ? "running, tick " : "paused, tick ") + std::to_string(FTicks));
}

void TOrbitView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) SetRunning(!FRunning);
  Invalidate();
  NotifySelected(this);
}

// ---------------------------------------------------------------- TShapeView

TShapeView::TShapeView(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
  SetBounds(0, 0, 80, 60);
}

void TShapeView::SetShape(TShapeKind Value) {
  if (Value == FShape) return;
  FShape = Value;
  Invalidate();
}

void TShapeView::Paint() {
  TCanvas* c = Canvas();
  c->Pen()->Assign(FPen.get());
  c->Brush()->Assign(FBrush.get());
  int w = GetWidth(), h = GetHeight();
  switch (FShape) {
    case skRectangle:
      c->Rectangle(0, 0, w, h);
      break;
    case skEllipse:
      c->Ellipse(0, 0, w, h);
      break;
    case skRoundRect:
      c->RoundRect(0, 0, w, h, w / 4, h / 4);
      break;
    case skTriangle: {
      TPoint pts[] = {{w / 2, 0}, {w - 1, h - 1}, {0, h - 1}};
      c->Polygon(pts);
      break;
    }
    case skDiamond: {
      TPoint pts[] = {{w / 2, 0}, {w - 1, h / 2}, {w / 2, h - 1}, {0, h / 2}};
      c->Polygon(pts);
      break;
    }
  }
  const std::string& text = GetCaption();
  if (!text.empty()) {
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(GetFont());
    c->TextOut((w - c->TextWidth(text)) / 2, (h - c->TextHeight(text)) / 2, text);
  }
}

void TShapeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  NotifySelected(this);
}

// ---------------------------------------------------------------- registration

void RegisterGalleryClasses() {
  RegisterPlatformClasses();
  RegisterStdWidgetClasses();  // the standard-controls page
  RegisterMenuAndComboClasses();
  RegisterWidgetsDemoClasses();  // the masked edits of the standard-controls page
  RegisterMenuDemoClasses();  // the standard-controls page's menu panel
  RegisterDateTimeClasses();  // the date and time page
  RegisterGridDemoClasses();     // the grid page
  RegisterTreeDemoClasses();  // the tree view page
  RegisterNumIODemoClasses();  // the numeric-field page
  RegisterDisplayClasses();    // the displays page
  RegisterRotLabDemoClasses();  // the rotated-label page
  RegisterMeterDemoClasses();  // the meter page
  RegisterMiniCalDemoClasses();  // the mini calendar page
  RegisterSelectorsDemoClasses();  // the mark selector, thumbnails and folder tree pages
  RegisterIndicatorsDemoClasses();  // the indicators page
  RegisterNTabEdDemoClasses();  // the table editor page
  RegisterRepListDemoClasses();  // the report-list page
  RegisterDialogDemoClasses();  // the buttons-and-dialogs page
  RegisterOnOffDemoClasses();  // the on/off button and colours pages
  RegisterEnum<TShapeKind>("TShapeKind",
                           {"skRectangle", "skEllipse", "skRoundRect", "skTriangle", "skDiamond"});
  RegisterClass<TGalleryPage>("TGalleryPage", "TCustomControl")
      .Default("Color", clBtnFace)
      .Default("ParentColor", false)
      .Prop("Caption", &TGalleryPage::GetCaption, &TGalleryPage::SetCaption, std::string())
      .Prop("Description", &TGalleryPage::GetDescription, &TGalleryPage::SetDescription,
            std::string());
  RegisterClass<TCanvasDemoView>("TCanvasDemoView", "TGraphicControl");
  RegisterClass<TOrbitView>("TOrbitView", "TCustomControl")
      .Default("Color", clBlack)
      .Default("ParentColor", false)
      .Color("BallColor", &TOrbitView::GetBallColor, &TOrbitView::SetBallColor, clRed)
      .Prop("Interval", &TOrbitView::GetInterval, &TOrbitView::SetInterval, 40)
      .Prop("Running", &TOrbitView::GetRunning, &TOrbitView::SetRunning, true)
      .Prop("Speed", &TOrbitView::GetSpeed, &TOrbitView::SetSpeed, 6.0)
      .Prop("TrailLength", &TOrbitView::GetTrailLength, &TOrbitView::SetTrailLength, 12);
  RegisterClass<TShapeView>("TShapeView", "TGraphicControl")
      .Prop("Caption", &TShapeView::GetCaption, &TShapeView::SetCaption, std::string())
      .Enum("Shape", &TShapeView::GetShape, &TShapeView::SetShape, skRectangle)
      .Object("Pen", &TShapeView::GetPen)
      .Object("Brush", &TShapeView::GetBrush);
}

}  // namespace qel

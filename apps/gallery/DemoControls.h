#pragma once
// The gallery's own demonstration controls, registered like any component so that pages are
// form files and the property panel edits them: a page with a title band, the canvas drawing
// demonstration, a timer-driven orbit animation and a shape. qel-render uses them too.
#include <memory>
#include <string>

#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"

namespace qel {

// Fills Rect in the button face and writes Text in Font, vertically centred, 4 pixels in: the
// one-line status the demo readouts and timer-driven views show.
void PaintStatusLine(TCanvas* C, const TRect& Rect, const TFont* Font, const std::string& Text);

// A gallery page: a title band on top (Caption, Description); aligned children fill the rest.
class TGalleryPage : public TCustomControl {
 public:
  explicit TGalleryPage(TComponent* AOwner);
  std::string ClassName() const override { return "TGalleryPage"; }
  const std::string& GetDescription() const { return FDescription; }
  void SetDescription(const std::string& Value);
  static constexpr int kTitleHeight = 40;

 protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& ARect) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  std::string FDescription;
};

// Paints the canvas demonstration (every drawing primitive) at its size.
class TCanvasDemoView : public TGraphicControl {
 public:
  explicit TCanvasDemoView(TComponent* AOwner);
  std::string ClassName() const override { return "TCanvasDemoView"; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// A ball circling on a window timer, trailing fading copies of itself; a click pauses it.
class TOrbitView : public TCustomControl {
 public:
  explicit TOrbitView(TComponent* AOwner);
  ~TOrbitView() override;
  std::string ClassName() const override { return "TOrbitView"; }

  bool GetRunning() const { return FRunning; }
  void SetRunning(bool Value);
  int GetInterval() const { return FInterval; }
  void SetInterval(int Value);  // milliseconds, at least 10
  double GetSpeed() const { return FSpeed; }
  void SetSpeed(double Value);  // degrees per tick; NaN is ignored
  TColor GetBallColor() const { return FBallColor; }
  void SetBallColor(TColor Value);
  int GetTrailLength() const { return FTrailLength; }
  void SetTrailLength(int Value);  // 0..64
  double Angle() const { return FAngle; }
  int Ticks() const { return FTicks; }
  void Loaded() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void UpdateTimer();
  void Tick();
  TPoint BallAt(double Degrees) const;

  HWND FWnd = 0;
  bool FRunning = true;
  int FInterval = 40;
  double FSpeed = 6;
  TColor FBallColor = clRed;
  int FTrailLength = 12;
  double FAngle = 0;
  int FTicks = 0;
};

enum TShapeKind : uint8_t { skRectangle, skEllipse, skRoundRect, skTriangle, skDiamond };

// A shape drawn with its own pen and brush, with its caption in the middle.
class TShapeView : public TGraphicControl {
 public:
  explicit TShapeView(TComponent* AOwner);
  std::string ClassName() const override { return "TShapeView"; }
  TShapeKind GetShape() const { return FShape; }
  void SetShape(TShapeKind Value);
  TPen* GetPen() const { return FPen.get(); }
  TBrush* GetBrush() const { return FBrush.get(); }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TShapeKind FShape = skRectangle;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
};

// Registers the platform classes and the gallery's own. Idempotent.
void RegisterGalleryClasses();

// A form that shows the properties of the demonstration control clicked last (the gallery's
// main form). The controls ask their parent form; on any other form a click only does its own
// thing.
class TSelectingForm : public TForm {
 public:
  using TForm::TForm;
  virtual void SelectComponent(TComponent* Component) = 0;
  // True when the form selects what a press lands on by itself (before the control gets it).
  virtual bool SelectsOnPress() const { return false; }
};

}  // namespace qel

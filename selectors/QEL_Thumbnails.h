#pragma once
// TThumbnails: a scrollable table of square slides numbered Min..Max. The control holds no
// pictures: for every slide it draws it asks the host (OnImageRequest) what to show and scales
// the picture the host leaves in a buffer bitmap. Painting and hit-testing work only on the
// rows in view, so a strip of 100,000 slides costs what a strip of ten does.
//
// Where the code lives: thumbnails_main.cpp (properties, selection, scrolling, geometry,
// mouse), thumbnails_paint.cpp (Paint in its steps, the focus outline),
// thumbnails_register.cpp (published properties). docs/selectors.md has the formulas.
#include <cstdint>
#include <functional>
#include <string>

#include "frame/QEL_dstruct.h"
#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/graphics/Graphics.h"

namespace qel {

enum TSlideSelectMode : uint8_t { ssmDisabled, ssmSingle, ssmMultiple };
enum TImageRequestProcessing : uint8_t {
  irpShowEmpty,
  irpShowSlide,
  irpShowFrameOnly,
  irpShowNothing
};

using TImageRequestEvent =
    std::function<void(TObject* Sender, int ThumbID, TImageRequestProcessing& HowToProcess,
                       int& MarkIt, TBitmap* ImgBuffer)>;
using TImageClickEvent = std::function<void(TObject* Sender, int X, int Y, int ThumbID)>;
using TSlideRenderedEvent =
    std::function<void(TObject* Sender, TCanvas* Canvas, int X, int Y, int ThumbID)>;

class TThumbnails : public TGraphicControl {
 public:
  // The most slides a strip holds (Max - Min + 1): the selection keeps one bit per slide.
  static constexpr int64_t kMaxSlides = int64_t{1} << 26;
  // The band at each edge that slides scroll under.
  static constexpr int kEdge = 10;

  explicit TThumbnails(TComponent* AOwner);
  ~TThumbnails() override;
  std::string ClassName() const override { return "TThumbnails"; }
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Fits SlideSize to the width read with it, then the columns and the position.
  void Loaded() override;

  // ---- range and selection
  int GetMin() const { return FMin; }
  void SetFMin(int Value);  // above Max raises Max to it
  int GetMax() const { return FMax; }
  void SetFMax(int Value);  // below 1 becomes 1
  TSlideSelectMode GetSlideSelectMode() const { return FSlideSelectMode; }
  void SetSlideSelectMode(TSlideSelectMode Value);
  bool GetSelectedSlide(int S) const;  // false outside Min..Max
  void SetSelectedSlide(int S, bool B);
  void ResetAllSelections();
  int FirstSelectedSlide() const;  // Min - 1 when none is selected
  int NumSlidesSelected() const;

  // ---- scrolling: the integer part of the position is the first slide of the top row, the
  // fraction the part of a row scrolled out at the top
  double GetFirstThumbIx() const { return FPosition; }
  void SetFirstThumbIx(double X);
  // Scrolls by Rows rows (negative: up), as the wheel does.
  void ScrollRows(double Rows);

  // ---- geometry (shared by painting, hit-testing and the focus outline)
  int Pitch() const { return FSlideSize + FSlideDistance + 2 * FSlideMargin; }
  int NumColumns() const { return FNumColumns; }
  int NumRows() const;  // rows painted: height div pitch + 1
  // The slide under (X, Y): true with S set, false in a gap, outside the strip or the range.
  bool SlideAt(int X, int Y, int& S) const;
  // The slide under (X, Y), 0 for none.
  int CalcSlideIndex(int X, int Y) const;
  // Top-left of slide S's cover as painted now (it may be out of view).
  void CalcSlidePos(int S, int& X, int& Y) const;
  // Draws the focus outline round slide S straight onto the control, and takes it away again.
  void HiLite(int S);
  void ResetLastHiLite();
  int GetFocusedSlide() const { return FFocusedSlide; }

  // ---- look
  int GetSlideSize() const { return FSlideSize; }
  void SetBaseSize(int Value);  // 50..Width (the width limit waits for Loaded in a form)
  int GetSlideDistance() const { return FSlideDistance; }
  void SetSlideDist(int Value);  // 0..100
  int GetSlideMargin() const { return FSlideMargin; }
  void SetSlideMargin(int Value);  // 0..100
  int GetFocusLinewidth() const { return FFocusLinewidth; }
  void SetHiliteThickn(int Value);  // 0..10; 0 switches focus tracking off
  TColor GetColorBackGnd() const { return FColorBackGnd; }
  void SetColorBackGnd(TColor Value);
  TColor GetColorCover() const { return FColorCover; }
  void SetColorCover(TColor Value);
  TColor GetColorSelected() const { return FColorSelected; }
  void SetColorSelected(TColor Value);
  TColor GetColorFocus() const { return FColorFocus; }
  void SetColorFocus(TColor Value);
  TColor GetColorMark() const { return FColorMark; }
  void SetColorMark(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TFrameStyle GetOuterFrameStyle() const { return FOuterFrameStyle; }
  void SetOuterFrameStyle(TFrameStyle Value);
  TFrameStyle GetInnerFrameStyle() const { return FInnerFrameStyle; }
  void SetInnerFrameStyle(TFrameStyle Value);
  bool GetAntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool Value);
  TColor FrameDark() const { return FFrameDark; }
  TColor FrameLight() const { return FFrameLight; }

  // ---- events
  TImageRequestEvent OnImageRequest;
  TImageClickEvent OnImageClick;
  TImageClickEvent OnImageDblClick;
  TSlideRenderedEvent OnSlideRendered;
  TNotifyEvent OnFocusChange;
  TNotifyEvent OnFirstImageRequest;
  TNotifyEvent OnLastImageRequest;

  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 protected:
  void Paint() override;
  void WMLButtonDblClk(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  // Bit index of slide S (S - Min), -1 outside the range.
  int64_t BitOf(int64_t S) const;
  void SizeSelection();
  // Recomputes the column count from the width and re-applies the position to it.
  void UpdateColumns();
  // The integer part of the position (the first slide of the top row) and the pixels of the
  // top row scrolled out.
  int64_t FirstSlide() const;
  int ScrollPixels() const;
  // Paint steps (thumbnails_paint.cpp).
  void PaintSlide(TCanvas* C, int64_t S, int X0, int Y0, TBitmap* Buffer);
  void PaintFocus(TCanvas* C, int S, TColor Color) const;
  void MoveFocus(int S);
  void ClickAt(int X, int Y, TShiftState Shift);

  int FMin = 1;
  int FMax = 100;
  TBitFld FSelection;
  TSlideSelectMode FSlideSelectMode = ssmSingle;
  int FLastClicked = 0;
  bool FHasLastClicked = false;
  bool FAfterDblClick = false;
  double FPosition = 1.0;
  int FSlideSize = 120;
  int FSlideDistance = 2;
  int FSlideMargin = 7;
  int FNumColumns = 2;
  int FFocusedSlide = 0;
  int FFocusLinewidth = 1;
  TColor FColorBackGnd = clBtnFace;
  TColor FColorCover = clSilver;
  TColor FColorSelected = clNavy;
  TColor FColorFocus = clBlue;
  TColor FColorMark = clBlack;
  TColorScheme FColorScheme = csBWG;
  TColor FFrameDark = clGray;
  TColor FFrameLight = clWhite;
  TFrameStyle FFrameStyle = fsLowered;
  TFrameStyle FOuterFrameStyle = fsRaised;
  TFrameStyle FInnerFrameStyle = fsLowered;
  bool FAntiAlias = false;
  bool FInPaint = false;
};

// Registers TThumbnails and its enumerations with the property registry. Idempotent.
void RegisterThumbnailsClasses();

}  // namespace qel

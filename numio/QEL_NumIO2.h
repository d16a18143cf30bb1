#pragma once
// TNumIO2: a self-drawn single-line numeric entry field. From left to right: an optional left
// text (a label), the text box with the number, its caret and selection, optional spin buttons
// and an optional right text (a unit); an optional gauge along the bottom shows the value
// between RangeLow and RangeHigh and can be clicked or dragged. Every keystroke is checked
// against the notation rules of numio/NumNotation.h; a value outside the range shows in the
// warning colours.
//
// Where the code lives: numio2.cpp (properties, setters, value and text, Assign, the caret
// timer), numio2_input.cpp (keys, mouse, gauge, spin buttons), numio2_paint.cpp (geometry and
// Paint), numio2_register.cpp (published properties). docs/numio2.md describes the design.
//
// Character positions (caret, SelBegin, SelEnd) count characters (code points) before the
// position: 0 is in front of the text, the text's length behind it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame/QEL_errors.h"
#include "frame/QEL_qelbase.h"
#include "numio/NumNotation.h"
#include "platform/controls/Controls.h"

namespace qel {

// Gauge moved by a drag: the shift state of the move and the value the field holds now.
using TOnGaugeChangeEvent =
    std::function<void(TObject* Sender, TShiftState Shift, double GaugeValue)>;

class TNumIO2 : public TCustomControl {
 public:
  explicit TNumIO2(TComponent* AOwner);
  ~TNumIO2() override;
  std::string ClassName() const override { return "TNumIO2"; }

  // Copies the published look and value (buttons, gauge and SnapValues included) from another
  // TNumIO2, then repaints; anything else goes to the framework.
  void Assign(const TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) const override;

  // ---- value and text
  double GetValue() const { return GetNioValue(); }
  void SetValue(double Value) { SetNioValue(Value); }
  double GetNioValue() const;
  // Writes Value in the current notation; NaN leaves the field unchanged.
  void SetNioValue(double Value);
  // Raises EQELNumIO2Error "Component "<Name>": integer overflow" outside the 32-bit range.
  int32_t GetNioIntValue() const;
  bool CheckValidity(const std::string& AText) const;
  bool OutOfRange() const;
  const std::string& GetText() const { return FText; }
  // Taken when empty or valid for the notation (caret and selection go to 0), else ignored.
  void SetText(const std::string& Value);

  // ---- notation
  TInFormat GetInputFormat() const { return FInputFormat; }
  void SetInputFormat(TInFormat Value);
  TDecPSep GetDecPlaceSep() const { return FDecPlaceSep; }
  void SetDecPlaceSep(TDecPSep Value);
  int GetFixPointDecPlaces() const { return FFixPointDecPlaces; }
  void SetFixPointDecPlaces(int Value);  // 0 or below ignored, capped at 15
  int GetSignificantDigits() const { return FSignificantDigits; }
  void SetSignificantDigits(int Value);  // 0 or below ignored, capped at 15
  double GetRangeLow() const { return FRangeLow; }
  void SetRangeLow(double Value);  // RangeHigh follows when it would lie below
  double GetRangeHigh() const { return FRangeHigh; }
  void SetRangeHigh(double Value);  // RangeLow follows when it would lie above

  // ---- texts and layout
  const std::string& GetLeftText() const { return FLeftText; }
  void SetLeftText(const std::string& Value);
  const std::string& GetRightText() const { return FRightText; }
  void SetRightText(const std::string& Value);
  int GetLeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int Value);  // negative ignored, capped at Width
  int GetTextBoxWidth() const { return FTextBoxWidth; }
  void SetTextBoxWidth(int Value);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TAlignment GetLeftTextAlignment() const { return FLeftTextAlignment; }
  void SetLeftTextAlignment(TAlignment Value);
  TAlignment GetRightTextAlignment() const { return FRightTextAlignment; }
  void SetRightTextAlignment(TAlignment Value);

  // ---- spin buttons
  bool GetButVisible() const { return FButVisible; }
  void SetButVisible(bool Value);
  bool GetBut3D() const { return FBut3D; }
  void SetBut3D(bool Value);
  int GetButWidth() const { return FButWidth; }
  void SetButWidth(int Value);  // 8..50
  int GetButHeight() const { return FButHeight; }
  void SetButHeight(int Value);  // 18..Height
  int GetButSpace() const { return FButSpace; }
  void SetButSpace(int Value);  // 0..50
  double GetButIncrem() const { return FButIncrem; }
  void SetButIncrem(double Value);
  TColor GetButColor() const { return FButColor; }
  void SetButColor(TColor Value);

  // ---- gauge
  bool GetGaugeVisible() const { return FGaugeVisible; }
  void SetGaugeVisible(bool Value);
  int GetGaugeHeight() const { return FGaugeHeight; }
  void SetGaugeHeight(int Value);  // 3..Height - GaugeTopMargin - 18
  int GetGaugeWidth() const { return FGaugeWidth; }
  void SetGaugeWidth(int Value);  // 10..Width - GaugeLeftMargin
  int GetGaugeLeftMargin() const { return FGaugeLeftMargin; }
  void SetGaugeLeftMargin(int Value);  // 0..Width - GaugeWidth
  int GetGaugeTopMargin() const { return FGaugeTopMargin; }
  void SetGaugeTopMargin(int Value);  // 0..Height - GaugeHeight - 18
  TFrameStyle GetGaugeFrameStyle() const { return FGaugeFrameStyle; }
  void SetGaugeFrameStyle(TFrameStyle Value);
  TColor GetGaugeColor() const { return FGaugeColor; }
  void SetGaugeColor(TColor Value);
  TColor GetGaugeColorBg() const { return FGaugeColorBg; }
  void SetGaugeColorBg(TColor Value);
  TColor GetGaugeColorFrame() const { return FGaugeColorFrame; }
  void SetGaugeColorFrame(TColor Value);

  // ---- look
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  TColor GetColorBoxBG() const { return FColorBoxBG; }
  void SetColorBoxBG(TColor Value);
  TColor GetColorBoxText() const { return FColorBoxText; }
  void SetColorBoxText(TColor Value);
  TColor GetColorOutBG() const { return FColorOutBG; }
  void SetColorOutBG(TColor Value);
  TColor GetColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor Value);
  TColor GetColorWarnBG() const { return FColorWarnBG; }
  void SetColorWarnBG(TColor Value);
  TColor GetColorWarnText() const { return FColorWarnText; }
  void SetColorWarnText(TColor Value);
  TColorScheme GetColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme Value);
  // The frame colours that go with the scheme: dark edge, shaded edge, lit edge.
  TColor FrameColorDark() const { return FColFrameDark; }
  TColor FrameColorShadow() const { return FColFrameLow; }
  TColor FrameColorHighlight() const { return FColFrameHigh; }

  // ---- behaviour
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  bool GetBeep() const { return FBeep; }
  void SetBeep(bool Value);

  // ---- caret and selection
  int GetCaretPos() const { return FCaret; }
  bool GetCaretVisible() const { return FCaretVisible; }
  int GetSelBegin() const { return FSelBegin; }
  int GetSelEnd() const { return FSelEnd; }
  // Clamped to 0..length; SetSelBegin moves the caret there and pushes SelEnd up to it,
  // SetSelEnd moves the caret there and pulls SelBegin down to it.
  void SetSelBegin(int Value);
  void SetSelEnd(int Value);
  // The x of the caret in front of character position CharPos, and the caret position nearest
  // to X (client coordinates).
  int CharPosToXCoords(int CharPos) const;
  int XCoordsToCharPos(int X) const;

  // Focuses the field and restarts the caret timer (unless ReadOnly).
  void SetFocus() override;

  // When not empty, gauge clicks snap to the nearest entry and the spin buttons step from
  // entry to entry (in ascending order).
  std::vector<double> SnapValues;

  TNotifyEvent OnChange;
  TOnGaugeChangeEvent OnGaugeChange;

  // ---- geometry, shared by painting, hit testing and tests (control coordinates)
  // Height of the gauge band at the bottom (0 without gauge).
  int GaugeBand() const;
  // The y of every text line.
  int TextTop() const;
  // The text box (its outline included): LeftSpace..LeftSpace + TextBoxWidth + 2, 0..H - g.
  TRect TextBoxRect() const;
  // Where the number is clipped to.
  TRect NumberClipRect() const;
  // Left edge of the spin buttons, and their outline rectangle.
  int ButtonLeft() const;
  TRect ButtonRect() const;
  // The gauge background rectangle, and the right end of the bar for the current value.
  TRect GaugeRect() const;
  int GaugeBarRight() const;
  // Position of the value between RangeLow and RangeHigh, 0..1 (1 for an empty range).
  double GaugeFraction() const;
  // The value a gauge press at X stands for (snapped, clamped to the range).
  double GaugeValueAt(int X) const;
  // Offset of the caret line from LeftSpace.
  int CaretOffset() const;
  // Left x of the number, the left text and the right text.
  int NumberLeft() const;
  int LeftTextLeft() const;
  int RightTextLeft() const;

  // Framework steps.
  void Click() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void SetEnabled(bool Value) override;
  void Loaded() override;

 protected:
  void Paint() override;
  // The steps of Paint, in drawing order; PaintTextBox answers the box's background colour.
  void PaintBackground(TCanvas* c) const;
  void PaintSpinButtons(TCanvas* c) const;
  void PaintGauge(TCanvas* c) const;
  TColor PaintTextBox(TCanvas* c) const;
  void PaintNumber(TCanvas* c, TColor Back) const;
  void PaintCaretAndSelection(TCanvas* c) const;
  int TextBoxBottom() const;  // the box ends above the gauge band
  void CreateWnd() override;
  void CNKeyDown(TMessage& Message) override;
  void CNKeyUp(TMessage& Message) override;
  void WMKeyDown(TMessage& Message) override;
  void WMSetFocus(TMessage& Message) override;
  void WMKillFocus(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  // Fires OnChange.
  virtual void Changed();

 private:
  enum TPressZone : uint8_t { pzNone, pzText, pzGauge, pzButtons };

  // Repaints at once (nothing while loading).
  void RepaintNow();
  void UpdateTimer();
  void StopCaret();
  void CaretWndProc(TMessage& Message);
  void AdjustAutoSize();
  void ClampLayout();
  void ClampCaret();
  void WriteValue(double Value);  // SetNioValue without the repaint
  void DoBeep() const;
  // Keys.
  void HandleKey(uint16_t Key, TShiftState Shift);
  // The steps of a key: Ctrl with a letter (true when the selection stays), an editing key,
  // and the check that takes or undoes what they did to the text.
  bool ClipboardKey(uint16_t Key);
  void EditKey(uint16_t Key, bool Shift);
  struct TEditState {
    std::string Text;
    int Caret, SelBegin, SelEnd;
  };
  void FinishKey(const TEditState& Before, bool KeepSelection);
  void InsertText(const std::string& S);
  bool Standing(const std::string& S) const;
  void DeleteSelection();
  bool HasSelection() const { return FSelBegin < FSelEnd; }
  std::string SelectedText() const;
  void CopySelection() const;
  // Mouse.
  void GaugeTo(int X);
  void SpinStep(bool Up);
  double SnapNearest(double V) const;
  int TextWidthOf(const std::string& S) const;
  int TextLength() const;  // characters (code points)
  // Code points of S, and the byte offset of character position CharPos (clamped).
  static int CharCount(const std::string& S);
  static size_t ByteOffset(const std::string& S, int CharPos);

  std::string FText;
  TInFormat FInputFormat = itFloat;
  TDecPSep FDecPlaceSep = dpsBoth;
  int FFixPointDecPlaces = 2;
  int FSignificantDigits = 6;
  double FRangeLow = 0;
  double FRangeHigh = 1000;
  std::string FLeftText;
  std::string FRightText;
  int FLeftSpace = 35;
  int FTextBoxWidth = 80;
  TAlignment FAlignment = taCenter;
  TAlignment FLeftTextAlignment = taRightJustify;
  TAlignment FRightTextAlignment = taLeftJustify;
  bool FButVisible = false;
  bool FBut3D = true;
  int FButWidth = 18;
  int FButHeight = 28;
  int FButSpace = 3;
  double FButIncrem = 1.0;
  TColor FButColor = clSilver;
  bool FGaugeVisible = false;
  int FGaugeHeight = 8;
  int FGaugeWidth = 82;
  int FGaugeLeftMargin = 35;
  int FGaugeTopMargin = 3;
  TFrameStyle FGaugeFrameStyle = fsLowered;
  TColor FGaugeColor = clNavy;
  TColor FGaugeColorBg = clSilver;
  TColor FGaugeColorFrame = clGray;
  TFrameStyle FFrameStyle = fsLowered;
  TColor FColorBoxBG = clWhite;
  TColor FColorBoxText = clBlack;
  TColor FColorOutBG = clBtnFace;
  TColor FColorOutText = clBlack;
  TColor FColorWarnBG = static_cast<TColor>(0x6088FFF0);
  TColor FColorWarnText = clRed;
  TColorScheme FColorScheme = csBWG;
  TColor FColFrameDark = clBlack;
  TColor FColFrameLow = clGray;
  TColor FColFrameHigh = clWhite;
  bool FHideSelection = true;
  bool FAutoSize = false;
  bool FReadOnly = false;
  bool FBeep = false;

  int FCaret = 0;
  int FSelBegin = 0;
  int FSelEnd = 0;
  int FSelAnchor = 0;  // where a mouse selection started
  bool FCaretVisible = false;
  bool FShiftHeld = false;
  bool FCtrlHeld = false;
  bool FGaugeDrag = false;
  TPressZone FPressZone = pzNone;
  bool FNotCreated = true;  // no painting until the window exists
  HWND FCaretWnd = 0;
  mutable std::unique_ptr<TCanvas> FMeasure;  // measures text in the control's font
};

// Registers TNumIO2 and its enumerations with the class registry. Idempotent.
void RegisterNumIOClasses();

}  // namespace qel

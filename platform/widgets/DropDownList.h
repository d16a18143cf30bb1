#pragma once
// The list that drops down from a combo box or a grid cell's pick list: a control put on the form
// above everything while open, holding the capture so that a press outside closes it. All state
// (items, highlight, first item shown) stays in the control it belongs to; the list paints its
// frame and scroll bar and turns the mouse into that control's calls.
#include "platform/controls/Forms.h"
#include "platform/widgets/WidgetPaint.h"

namespace qel {

// What a drop-down list asks of the control it belongs to.
class TDropDownListClient {
 public:
  virtual ~TDropDownListClient() = default;
  // The list's scroll bar as it stands now (an empty Bar without one); its Top is the first
  // item shown.
  virtual widgetpaint::TListScrollBar DropDownScrollBar() const = 0;
  // Shows item Top first (the client clamps).
  virtual void DropDownScrollTo(int Top) = 0;
  // The item under P (list coordinates), -1 where there is none.
  virtual int DropDownItemAt(TPoint P) const = 0;
  virtual void DropDownHighlight(int Index) = 0;
  // Closes the list, taking the highlighted item when Accept.
  virtual void DropDownClose(bool Accept) = 0;
  virtual bool DropDownIsOpen() const = 0;
  // Paints the visible items on C; the list has painted its frame and background.
  virtual void DropDownPaintItems(TCanvas* C) = 0;
  virtual TColor DropDownColor() const = 0;
  virtual TFont* DropDownFont() const = 0;
};

class TDropDownList : public TCustomControl {
 public:
  TDropDownList(TComponent* AOwner, TDropDownListClient* Client);
  std::string ClassName() const override { return "TDropDownList"; }

  // Puts the list on Form at Bounds (form coordinates), above everything, with the capture.
  void Open(TForm* Form, const TRect& Bounds);
  // Takes it off the form again and gives the capture back.
  void Close();
  // Ends a press on the scroll bar: a thumb drag, a held arrow or track.
  void EndScrollPress() { FBarInput.Cancel(); }
  bool ScrollPressed() const { return FBarInput.Pressed(); }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;
  void WMCancelMode(TMessage& Message) override;

 private:
  TDropDownListClient* FClient;
  widgetpaint::TListScrollInput FBarInput;
};

}  // namespace qel

// The drop-down list shared by the combo box and the grid's pick list.
#include "platform/widgets/DropDownList.h"

#include "platform/controls/Messages.h"

namespace qel {

TDropDownList::TDropDownList(TComponent* AOwner, TDropDownListClient* Client)
    : TCustomControl(AOwner),
      FClient(Client),
      FBarInput([Client] { return Client->DropDownScrollBar(); },
                [Client](int Top) { Client->DropDownScrollTo(Top); }) {
  FControlStyle = {csOpaque};
  SetColor(clWindow);
  SetVisible(false);
}

void TDropDownList::Open(TForm* Form, const TRect& Bounds) {
  SetParent(Form);
  SetBoundsRect(Bounds);
  SetVisible(true);
  BringToFront();
  Form->SetCaptureControl(this);
}

void TDropDownList::Close() {
  FBarInput.Cancel();
  if (TForm* f = GetParentForm(); f && f->CaptureControl() == this) f->SetCaptureControl(nullptr);
  SetVisible(false);
  SetParent(nullptr);
}

void TDropDownList::MouseDown(TMouseButton Button, TShiftState, int X, int Y) {
  FBarInput.Cancel();
  if (!GetClientRect().Contains({X, Y})) {
    // A press anywhere else (the owner's own button too) closes without a choice.
    FClient->DropDownClose(false);
    return;
  }
  // A press on the bar scrolls (held, it repeats); its release chooses nothing.
  if (Button == mbLeft && FBarInput.Press({X, Y})) return;
  const int i = FClient->DropDownItemAt({X, Y});
  if (i >= 0) FClient->DropDownHighlight(i);
}

void TDropDownList::MouseMove(TShiftState, int X, int Y) {
  if (FBarInput.Pressed()) {
    FBarInput.Move({X, Y});
    return;
  }
  const int i = FClient->DropDownItemAt({X, Y});
  if (i >= 0) FClient->DropDownHighlight(i);
}

void TDropDownList::MouseUp(TMouseButton Button, TShiftState, int X, int Y) {
  const bool scroll = FBarInput.Pressed();
  FBarInput.Release({X, Y});
  if (Button != mbLeft || scroll || !FClient->DropDownIsOpen()) return;
  const int i = FClient->DropDownItemAt({X, Y});
  if (i < 0) return;
  FClient->DropDownHighlight(i);
  FClient->DropDownClose(true);
}

bool TDropDownList::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
  FClient->DropDownScrollTo(FClient->DropDownScrollBar().Top + (WheelDelta > 0 ? -3 : 3));
  return true;
}

void TDropDownList::WndProc(TMessage& Message) {
  // Without the capture the release would never come here: a held part stops now.
  if (Message.Msg == WM_CAPTURECHANGED) FBarInput.Cancel();
  TCustomControl::WndProc(Message);
}

void TDropDownList::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(FClient->DropDownFont());
  const TRect r = GetClientRect();
  c->Brush()->SetColor(clWindowFrame);
  c->FrameRect(r);
  c->Brush()->SetColor(FClient->DropDownColor());
  c->FillRect(Rect(1, 1, r.Right - 1, r.Bottom - 1));
  FClient->DropDownPaintItems(c);
  widgetpaint::PaintListScrollBar(c, FClient->DropDownScrollBar());
}

void TDropDownList::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  FBarInput.Cancel();
  if (FClient->DropDownIsOpen()) FClient->DropDownClose(false);
}

}  // namespace qel

// TNumIO2: construction, properties and their setters, value and text, Assign, the caret timer.
#include <algorithm>
#include <cmath>

#include "frame/QEL_stringl.h"
#include "numio/QEL_NumIO2.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/NumText.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {
constexpr uintptr_t kCaretTimer = 1;
constexpr unsigned kCaretInterval = 500;
constexpr int kMinHeight = 18;

bool IsUtf8Continuation(char C) { return (static_cast<unsigned char>(C) & 0xC0) == 0x80; }

// The separator character a TDecPSep choice writes: "," for comma, the locale's for system,
// "." otherwise.
char SepCharOf(TDecPSep Sep) {
  switch (Sep) {
    case dpsComma:
      return ',';
    case dpsSystem:
      return GetDecimalSeparator();
    default:
      return '.';
  }
}
}  // namespace

// ---------------------------------------------------------------- life cycle

TNumIO2::TNumIO2(TComponent* AOwner) : TCustomControl(AOwner) {
  // The field's text is its number, never its name.
  FControlStyle >> csSetCaption;
  SetTabStop(true);
  SetBounds(GetLeft(), GetTop(), 160, 28);
  FButHeight = GetHeight();
  SetColorScheme(csBWG);
  FCaretWnd = AllocateHWnd([this](TMessage& M) { CaretWndProc(M); });
  try {
    UpdateTimer();
  } catch (...) {
    DeallocateHWnd(FCaretWnd);
    FCaretWnd = 0;
    throw;
  }
}

TNumIO2::~TNumIO2() {
  if (FCaretWnd) {
    KillTimer(FCaretWnd, kCaretTimer);
    DeallocateHWnd(FCaretWnd);
    FCaretWnd = 0;
  }
}

void TNumIO2::CreateWnd() {
  TCustomControl::CreateWnd();
  FNotCreated = false;
}

void TNumIO2::Loaded() {
  TCustomControl::Loaded();
  // The button height follows the control's height, as a resize keeps it; the gauge and the
  // spaces stay as read (up to the largest control coordinate), since a running control keeps
  // them through a resize too and the form file holds what it had.
  ClampLayout();
  AdjustAutoSize();
  ClampCaret();
  RepaintNow();
}

void TNumIO2::RepaintNow() {
  if (ComponentState().Contains(csLoading)) return;
  Repaint();
}

void TNumIO2::Changed() {
  if (OnChange) OnChange(this);
}

void TNumIO2::DoBeep() const {
  if (FBeep) MessageBeep(0xFFFF);
}

// ---------------------------------------------------------------- text helpers

int TNumIO2::CharCount(const std::string& S) {
  int n = 0;
  for (char c : S)
    if (!IsUtf8Continuation(c)) ++n;
  return n;
}

size_t TNumIO2::ByteOffset(const std::string& S, int CharPos) {
  if (CharPos <= 0) return 0;
  int n = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    if (IsUtf8Continuation(S[i])) continue;
    if (n == CharPos) return i;
    ++n;
  }
  return S.size();
}

int TNumIO2::TextLength() const { return CharCount(FText); }

void TNumIO2::ClampCaret() {
  const int len = TextLength();
  FCaret = std::clamp(FCaret, 0, len);
  FSelBegin = std::clamp(FSelBegin, 0, len);
  FSelEnd = std::clamp(FSelEnd, FSelBegin, len);
  FSelAnchor = std::clamp(FSelAnchor, 0, len);
}

// ---------------------------------------------------------------- value and text

double TNumIO2::GetNioValue() const { return NioGetValue(FText, FInputFormat); }

void TNumIO2::WriteValue(double Value) {
  FText = NioFormatValue(Value, FInputFormat, FSignificantDigits, FFixPointDecPlaces);
  // The caret and selection stay where they were, as far as the new text reaches.
  ClampCaret();
}

void TNumIO2::SetNioValue(double Value) {
  if (std::isnan(Value)) return;
  WriteValue(Value);
  RepaintNow();
}

int32_t TNumIO2::GetNioIntValue() const { return NioGetIntValue(FText, FInputFormat, GetName()); }

bool TNumIO2::CheckValidity(const std::string& AText) const {
  return NioCheckValidity(AText, FInputFormat, FDecPlaceSep, FFixPointDecPlaces);
}

bool TNumIO2::OutOfRange() const {
  return NioOutOfRange(FText, FInputFormat, FRangeLow, FRangeHigh);
}

void TNumIO2::SetText(const std::string& Value) {
  if (Value == FText) return;
  if (!Value.empty() && !CheckValidity(Value)) return;
  FText = Value;
  FCaret = FSelBegin = FSelEnd = FSelAnchor = 0;
  RepaintNow();
}

// ---------------------------------------------------------------- notation

void TNumIO2::SetInputFormat(TInFormat Value) {
  if (Value == FInputFormat || Value > itDynamic) return;
  const double v = GetNioValue();
  FInputFormat = Value;
  WriteValue(v);
  RepaintNow();
}

void TNumIO2::SetDecPlaceSep(TDecPSep Value) {
  if (Value == FDecPlaceSep || Value > dpsBoth) return;
  if (Value != dpsBoth) {
    const char newCh = SepCharOf(Value);
    if (FDecPlaceSep == dpsBoth) {
      FText = ReplaceCharInString(ReplaceCharInString(FText, '.', newCh), ',', newCh);
    } else {
      const char oldCh = SepCharOf(FDecPlaceSep);
      if (oldCh != newCh) FText = ReplaceCharInString(FText, oldCh, newCh);
    }
  }
  FDecPlaceSep = Value;
  RepaintNow();
}

void TNumIO2::SetFixPointDecPlaces(int Value) {
  if (Value <= 0) return;
  Value = std::min(Value, 15);
  if (Value == FFixPointDecPlaces) return;
  const double v = GetNioValue();
  FFixPointDecPlaces = Value;
  WriteValue(v);
  RepaintNow();
}

void TNumIO2::SetSignificantDigits(int Value) {
  if (Value <= 0) return;
  Value = std::min(Value, 15);
  if (Value == FSignificantDigits) return;
  const double v = GetNioValue();
  FSignificantDigits = Value;
  WriteValue(v);
  RepaintNow();
}

void TNumIO2::SetRangeLow(double Value) {
  if (std::isnan(Value) || Value == FRangeLow) return;
  FRangeLow = Value;
  if (FRangeHigh < FRangeLow) FRangeHigh = FRangeLow;
  RepaintNow();
}

void TNumIO2::SetRangeHigh(double Value) {
  if (std::isnan(Value) || Value == FRangeHigh) return;
  FRangeHigh = Value;
  if (FRangeLow > FRangeHigh) FRangeLow = FRangeHigh;
  RepaintNow();
}

// ---------------------------------------------------------------- texts and layout

void TNumIO2::SetLeftText(const std::string& Value) {
  if (Value == FLeftText) return;
  FLeftText = Value;
  RepaintNow();
}

void TNumIO2::SetRightText(const std::string& Value) {
  if (Value == FRightText) return;
  FRightText = Value;
  RepaintNow();
}

void TNumIO2::SetLeftSpace(int Value) {
  if (Value < 0 || Value == FLeftSpace) return;
  if (!ComponentState().Contains(csLoading)) Value = std::min(Value, GetWidth());
  if (Value == FLeftSpace) return;
  FLeftSpace = Value;
  RepaintNow();
}

void TNumIO2::SetTextBoxWidth(int Value) {
  if (Value == FTextBoxWidth) return;
  FTextBoxWidth = Value;
  RepaintNow();
}

void TNumIO2::SetAlignment(TAlignment Value) {
  if (Value == FAlignment || Value > taCenter) return;
  FAlignment = Value;
  RepaintNow();
}

void TNumIO2::SetLeftTextAlignment(TAlignment Value) {
  if (Value == FLeftTextAlignment || Value > taCenter) return;
  FLeftTextAlignment = Value;
  RepaintNow();
}

void TNumIO2::SetRightTextAlignment(TAlignment Value) {
  if (Value == FRightTextAlignment || Value > taCenter) return;
  FRightTextAlignment = Value;
  RepaintNow();
}

// ---------------------------------------------------------------- spin buttons

void TNumIO2::SetButVisible(bool Value) {
  if (Value == FButVisible) return;
  FButVisible = Value;
  RepaintNow();
}

void TNumIO2::SetBut3D(bool Value) {
  if (Value == FBut3D) return;
  FBut3D = Value;
  RepaintNow();
}

void TNumIO2::SetButWidth(int Value) {
  Value = std::clamp(Value, 8, 50);
  if (Value == FButWidth) return;
  FButWidth = Value;
  RepaintNow();
}

void TNumIO2::SetButHeight(int Value) {
  if (!ComponentState().Contains(csLoading)) Value = std::min(Value, GetHeight());
  Value = std::max(Value, kMinHeight);
  if (Value == FButHeight) return;
  FButHeight = Value;
  RepaintNow();
}

void TNumIO2::SetButSpace(int Value) {
  Value = std::clamp(Value, 0, 50);
  if (Value == FButSpace) return;
  FButSpace = Value;
  RepaintNow();
}

void TNumIO2::SetButIncrem(double Value) {
  if (std::isnan(Value) || Value == FButIncrem) return;
  FButIncrem = Value;
  RepaintNow();
}

void TNumIO2::SetButColor(TColor Value) {
  if (Value == FButColor) return;
  FButColor = Value;
  RepaintNow();
}

// ---------------------------------------------------------------- gauge

// The upper limits come first and the lower ones win, so a control too small for its gauge
// still keeps a gauge that hit testing can divide by. The limits judge a new value: the value
// the control already holds is kept as it is, as it is when the control is resized (the
// initial gauge height of 8 is one more than the initial height of 28 allows).
void TNumIO2::SetGaugeVisible(bool Value) {
  if (Value == FGaugeVisible) return;
  FGaugeVisible = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeHeight(int Value) {
  if (Value == FGaugeHeight) return;
  if (!ComponentState().Contains(csLoading))
    Value = std::min<int64_t>(Value, int64_t{GetHeight()} - FGaugeTopMargin - kMinHeight);
  Value = std::max(Value, 3);
  if (Value == FGaugeHeight) return;
  FGaugeHeight = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeWidth(int Value) {
  if (Value == FGaugeWidth) return;
  if (!ComponentState().Contains(csLoading))
    Value = std::min<int64_t>(Value, int64_t{GetWidth()} - FGaugeLeftMargin);
  Value = std::max(Value, 10);
  if (Value == FGaugeWidth) return;
  FGaugeWidth = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeLeftMargin(int Value) {
  if (Value == FGaugeLeftMargin) return;
  if (!ComponentState().Contains(csLoading))
    Value = std::min<int64_t>(Value, int64_t{GetWidth()} - FGaugeWidth);
  Value = std::max(Value, 0);
  if (Value == FGaugeLeftMargin) return;
  FGaugeLeftMargin = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeTopMargin(int Value) {
  if (Value == FGaugeTopMargin) return;
  if (!ComponentState().Contains(csLoading))
    Value = std::min<int64_t>(Value, int64_t{GetHeight()} - FGaugeHeight - kMinHeight);
  Value = std::max(Value, 0);
  if (Value == FGaugeTopMargin) return;
  FGaugeTopMargin = Value;
  RepaintNow();
}

void TNumIO2::ClampLayout() {
  FButHeight = static_cast<int>(
      std::max<int64_t>(std::min<int64_t>(FButHeight, GetHeight()), kMinHeight));
  // No running field holds a size beyond the largest control coordinate; a file's absurd value
  // stops there, which keeps the layout's sums far from overflowing.
  for (int* v : {&FLeftSpace, &FGaugeHeight, &FGaugeWidth, &FGaugeLeftMargin, &FGaugeTopMargin})
    *v = std::min(*v, kMaxControlCoord);
}

void TNumIO2::SetGaugeFrameStyle(TFrameStyle Value) {
  if (Value == FGaugeFrameStyle || Value > fsEngraved) return;
  FGaugeFrameStyle = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeColor(TColor Value) {
  if (Value == FGaugeColor) return;
  FGaugeColor = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeColorBg(TColor Value) {
  if (Value == FGaugeColorBg) return;
  FGaugeColorBg = Value;
  RepaintNow();
}

void TNumIO2::SetGaugeColorFrame(TColor Value) {
  if (Value == FGaugeColorFrame) return;
  FGaugeColorFrame = Value;
  RepaintNow();
}

// ---------------------------------------------------------------- look

void TNumIO2::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle || Value > fsEngraved) return;
  FFrameStyle = Value;
  RepaintNow();
}

void TNumIO2::SetColorBoxBG(TColor Value) {
  if (Value == FColorBoxBG) return;
  FColorBoxBG = Value;
  RepaintNow();
}

void TNumIO2::SetColorBoxText(TColor Value) {
  if (Value == FColorBoxText) return;
  FColorBoxText = Value;
  RepaintNow();
}

void TNumIO2::SetColorOutBG(TColor Value) {
  if (Value == FColorOutBG) return;
  FColorOutBG = Value;
  RepaintNow();
}

void TNumIO2::SetColorOutText(TColor Value) {
  if (Value == FColorOutText) return;
  FColorOutText = Value;
  RepaintNow();
}

void TNumIO2::SetColorWarnBG(TColor Value) {
  if (Value == FColorWarnBG) return;
  FColorWarnBG = Value;
  RepaintNow();
}

void TNumIO2::SetColorWarnText(TColor Value) {
  if (Value == FColorWarnText) return;
  FColorWarnText = Value;
  RepaintNow();
}

void TNumIO2::SetColorScheme(TColorScheme Value) {
  FColorScheme = Value;
  const TSchemeColors c = SchemeFrameColors(Value);
  FColFrameLow = c.Shadow;
  FColFrameHigh = c.Highlight;
  RepaintNow();
}

// ---------------------------------------------------------------- behaviour

void TNumIO2::SetHideSelection(bool Value) {
  if (Value == FHideSelection) return;
  FHideSelection = Value;
  RepaintNow();
}

void TNumIO2::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  AdjustAutoSize();
  RepaintNow();
}

void TNumIO2::AdjustAutoSize() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  TCanvas* c = FMeasure ? FMeasure.get() : nullptr;
  if (!c) {
    FMeasure = std::make_unique<TCanvas>();
    c = FMeasure.get();
  }
  c->Font()->Assign(GetFont());
  SetHeight(c->TextHeight("E0") + 6);
}

void TNumIO2::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  FReadOnly = Value;
  if (FReadOnly)
    StopCaret();
  else
    UpdateTimer();
  RepaintNow();
}

void TNumIO2::SetBeep(bool Value) { FBeep = Value; }

// ---------------------------------------------------------------- framework properties

void TNumIO2::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AHeight = std::max(AHeight, kMinHeight);
  if (AHeight < FButHeight) FButHeight = AHeight;
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TNumIO2::SetEnabled(bool Value) {
  if (Value == GetEnabled()) return;
  TCustomControl::SetEnabled(Value);
  RepaintNow();
}

void TNumIO2::CMFontChanged(TMessage& Message) {
  TCustomControl::CMFontChanged(Message);
  AdjustAutoSize();
  RepaintNow();
}

// ---------------------------------------------------------------- selection

void TNumIO2::SetSelBegin(int Value) {
  Value = std::clamp(Value, 0, TextLength());
  FSelBegin = Value;
  FCaret = Value;
  if (FSelEnd < Value) FSelEnd = Value;
  RepaintNow();
}

void TNumIO2::SetSelEnd(int Value) {
  Value = std::clamp(Value, 0, TextLength());
  FSelEnd = Value;
  FCaret = Value;
  if (FSelBegin > Value) FSelBegin = Value;
  RepaintNow();
}

// ---------------------------------------------------------------- Assign

void TNumIO2::Assign(const TPersistent* Source) {
  const auto* s = dynamic_cast<const TNumIO2*>(Source);
  if (!s) {
    TCustomControl::Assign(Source);
    return;
  }
  if (s == this) return;
  FLeftSpace = s->FLeftSpace;
  FTextBoxWidth = s->FTextBoxWidth;
  FFixPointDecPlaces = s->FFixPointDecPlaces;
  FSignificantDigits = s->FSignificantDigits;
  FLeftText = s->FLeftText;
  FRightText = s->FRightText;
  FFrameStyle = s->FFrameStyle;
  FAlignment = s->FAlignment;
  FLeftTextAlignment = s->FLeftTextAlignment;
  FRightTextAlignment = s->FRightTextAlignment;
  FColorBoxBG = s->FColorBoxBG;
  FColorBoxText = s->FColorBoxText;
  FColorOutBG = s->FColorOutBG;
  FColorOutText = s->FColorOutText;
  FColFrameDark = s->FColFrameDark;
  FColFrameLow = s->FColFrameLow;
  FColFrameHigh = s->FColFrameHigh;
  FColorScheme = s->FColorScheme;
  FInputFormat = s->FInputFormat;
  FText = s->FText;
  FCaret = s->FCaret;
  FSelBegin = s->FSelBegin;
  FSelEnd = s->FSelEnd;
  FSelAnchor = s->FSelAnchor;
  FCaretVisible = s->FCaretVisible;
  FColorWarnBG = s->FColorWarnBG;
  FColorWarnText = s->FColorWarnText;
  FDecPlaceSep = s->FDecPlaceSep;
  FHideSelection = s->FHideSelection;
  FRangeLow = s->FRangeLow;
  FRangeHigh = s->FRangeHigh;
  FBeep = s->FBeep;
  FAutoSize = s->FAutoSize;
  // Buttons and gauge belong to the look as much as the rest.
  FButVisible = s->FButVisible;
  FBut3D = s->FBut3D;
  FButWidth = s->FButWidth;
  FButHeight = s->FButHeight;
  FButSpace = s->FButSpace;
  FButIncrem = s->FButIncrem;
  FButColor = s->FButColor;
  FGaugeVisible = s->FGaugeVisible;
  FGaugeHeight = s->FGaugeHeight;
  FGaugeWidth = s->FGaugeWidth;
  FGaugeLeftMargin = s->FGaugeLeftMargin;
  FGaugeTopMargin = s->FGaugeTopMargin;
  FGaugeFrameStyle = s->FGaugeFrameStyle;
  FGaugeColor = s->FGaugeColor;
  FGaugeColorBg = s->FGaugeColorBg;
  FGaugeColorFrame = s->FGaugeColorFrame;
  SnapValues = s->SnapValues;
  // The held-key flags describe the keyboard while the source had the focus; they are not
  // copied, so a key released elsewhere cannot stay held here. ReadOnly runs the timer rule.
  if (s->FReadOnly != FReadOnly) {
    FReadOnly = s->FReadOnly;
    if (FReadOnly) StopCaret();
  }
  ClampCaret();
  AdjustAutoSize();
  RepaintNow();
}

void TNumIO2::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TNumIO2*>(Dest)) {
    d->Assign(this);
    return;
  }
  TCustomControl::AssignTo(Dest);
}

// ---------------------------------------------------------------- caret timer

void TNumIO2::UpdateTimer() {
  KillTimer(FCaretWnd, kCaretTimer);
  FCaretVisible = true;
  if (SetTimer(FCaretWnd, kCaretTimer, kCaretInterval) == 0)
    throw EQELNumIO2Error(ComponentMessage(GetName(), kNoTimerAvailable));
  RepaintNow();
}

void TNumIO2::StopCaret() {
  KillTimer(FCaretWnd, kCaretTimer);
  FCaretVisible = false;
}

void TNumIO2::CaretWndProc(TMessage& Message) {
  if (Message.Msg != WM_TIMER) {
    Message.Result = DefWindowProc(FCaretWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  try {
    if (Focused()) {
      FCaretVisible = !FCaretVisible;
    } else {
      StopCaret();
    }
    RepaintNow();
  } catch (...) {
    Application->HandleException(this);
  }
}

void TNumIO2::SetFocus() {
  TCustomControl::SetFocus();
  if (!FReadOnly) UpdateTimer();
}

void TNumIO2::Click() {
  if (CanFocus() && !Focused()) TCustomControl::SetFocus();
  if (!FReadOnly) UpdateTimer();
  TCustomControl::Click();
}

void TNumIO2::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  if (!FReadOnly) UpdateTimer();
  RepaintNow();
}

void TNumIO2::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  // Keys released while another control has the focus never reach us.
  FShiftHeld = FCtrlHeld = false;
  StopCaret();
  RepaintNow();
}

}  // namespace qel

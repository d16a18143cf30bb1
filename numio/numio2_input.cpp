// TNumIO2 input: the key table with Ctrl and Shift, the clipboard, the mouse on the text band,
// the gauge and the spin buttons.
#include <algorithm>
#include <cmath>

#include "numio/QEL_NumIO2.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

namespace {
bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

// Pasted text loses the blanks and line breaks around it (a copied spreadsheet cell ends in
// one), which no notation accepts.
std::string TrimPasted(const std::string& S) {
  size_t b = 0, e = S.size();
  while (b < e && IsBlank(S[b])) ++b;
  while (e > b && IsBlank(S[e - 1])) --e;
  return S.substr(b, e - b);
}
}  // namespace

// ---------------------------------------------------------------- editing steps

// A typed text stands when it is a number of the notation or on the way to one: empty, a lone
// sign, or (in itDynamic) a lone prefix, without which no prefixed number could be typed.
bool TNumIO2::Standing(const std::string& S) const {
  if (S.empty() || S == "-" || S == "+") return true;
  if (FInputFormat == itDynamic && (S == "$" || S == "%" || S == "&")) return true;
  return CheckValidity(S);
}

std::string TNumIO2::SelectedText() const {
  if (!HasSelection()) return std::string();
  const size_t b = ByteOffset(FText, FSelBegin), e = ByteOffset(FText, FSelEnd);
  return FText.substr(b, e - b);
}

void TNumIO2::CopySelection() const {
  if (HasSelection()) Clipboard()->SetAsText(SelectedText());
}

void TNumIO2::DeleteSelection() {
  const size_t b = ByteOffset(FText, FSelBegin), e = ByteOffset(FText, FSelEnd);
  FText.erase(b, e - b);
  FCaret = FSelEnd = FSelBegin;
  // An emptied box shows a formatted zero rather than nothing.
  if (FText.empty()) WriteValue(0);
}

void TNumIO2::InsertText(const std::string& S) {
  if (HasSelection()) {
    const size_t b = ByteOffset(FText, FSelBegin), e = ByteOffset(FText, FSelEnd);
    FText.erase(b, e - b);
    FCaret = FSelEnd = FSelBegin;
  }
  FText.insert(ByteOffset(FText, FCaret), S);
  FCaret += CharCount(S);
}

// ---------------------------------------------------------------- keys

void TNumIO2::CNKeyDown(TMessage& Message) {
  // A form that previews keys sees them first, and may eat them.
  TForm* f = GetParentForm();
  if (f && f->GetKeyPreview() && GetParent() &&
      GetParent()->Perform(CN_KEYDOWN, Message.WParam, Message.LParam) != 0) {
    Message.Result = 1;
    return;
  }
  // Result 0: the key goes on to WM_KEYDOWN (OnKeyDown) and its character to OnKeyPress.
  Message.Result = 0;
  if (ComponentState().Contains(csDesigning)) return;
  HandleKey(static_cast<uint16_t>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

void TNumIO2::CNKeyUp(TMessage& Message) {
  if (Message.WParam == VK_SHIFT) FShiftHeld = false;
  if (Message.WParam == VK_CONTROL) FCtrlHeld = false;
  TCustomControl::CNKeyUp(Message);
}

void TNumIO2::WMKeyDown(TMessage& Message) {
  // The previewing form saw this key in CNKeyDown already; only our own OnKeyDown is left.
  TForm* f = GetParentForm();
  if (f && f->GetKeyPreview() && !FControlStyle.Contains(csNoStdEvents)) {
    auto key = static_cast<uint16_t>(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key != 0) DefaultHandler(Message);
    return;
  }
  TCustomControl::WMKeyDown(Message);
}

void TNumIO2::HandleKey(uint16_t Key, TShiftState Shift) {
  if (Key == VK_SHIFT) {
    FShiftHeld = true;
    return;
  }
  if (Key == VK_CONTROL) {
    FCtrlHeld = true;
    return;
  }
  const bool ctrl = FCtrlHeld || Shift.Contains(ssCtrl);
  const bool shift = FShiftHeld || Shift.Contains(ssShift);
  if (FReadOnly) {
    if (ctrl && Key == 'C') CopySelection();
    return;
  }
  if (!ctrl && Key == VK_TAB) {
    if (GetParent()) GetParent()->Perform(WM_NEXTDLGCTL, shift ? 1 : 0, 0);
    return;
  }
  const TEditState before{FText, FCaret, FSelBegin, FSelEnd};
  bool keepSelection = false;
  if (ctrl)
    keepSelection = ClipboardKey(Key);
  else
    EditKey(Key, shift);
  FinishKey(before, keepSelection);
}

bool TNumIO2::ClipboardKey(uint16_t Key) {
  switch (Key) {
    case 'C':
      CopySelection();
      return true;
    case 'V':
      if (Clipboard()->HasFormat(CF_TEXT)) {
        // The paste goes in at the caret; the selection stays as it is.
        const std::string s = TrimPasted(Clipboard()->GetAsText());
        FText.insert(ByteOffset(FText, FCaret), s);
        FCaret += CharCount(s);
      }
      return false;
    case 'X':
      if (HasSelection()) {
        CopySelection();
        DeleteSelection();
      }
      return false;
    default:
      DoBeep();
      return false;
  }
}

void TNumIO2::EditKey(uint16_t Key, bool Shift) {
  switch (Key) {
    case VK_BACK:
      if (HasSelection()) {
        DeleteSelection();
      } else if (FCaret > 0) {
        const size_t b = ByteOffset(FText, FCaret - 1), e = ByteOffset(FText, FCaret);
        FText.erase(b, e - b);
        --FCaret;
      }
      break;
    case VK_END:
      FCaret = TextLength();
      break;
    case VK_HOME:
      FCaret = 0;
      break;
    case VK_LEFT:
    case VK_UP:
      if (FCaret > 0) --FCaret;
      break;
    case VK_RIGHT:
    case VK_DOWN:
      if (FCaret < TextLength()) ++FCaret;
      break;
    case VK_DELETE:
      if (HasSelection()) {
        DeleteSelection();
      } else if (FCaret < TextLength()) {
        const size_t b = ByteOffset(FText, FCaret), e = ByteOffset(FText, FCaret + 1);
        FText.erase(b, e - b);
      }
      break;
    case VK_ADD:
    case VK_OEM_PLUS:
      InsertText("+");
      break;
    case VK_SUBTRACT:
    case VK_OEM_MINUS:
      InsertText("-");
      break;
    case VK_DECIMAL:
      // The keypad's separator key types the separator the field takes: a point-only field
      // would refuse the comma.
      InsertText(ResolveSepModeNumIO2(FDecPlaceSep) == kSepPoint ? "." : ",");
      break;
    case VK_OEM_COMMA:
      InsertText(",");
      break;
    case VK_OEM_PERIOD:
      InsertText(".");
      break;
    default:
      if (Key >= '0' && Key <= '9') {
        char c = static_cast<char>(Key);
        if (Shift && c == '4') c = '$';
        if (Shift && c == '5') c = '%';
        if (Shift && c == '6') c = '&';
        // A US keyboard types "&" with Shift+7; taking it too loses no prefix.
        if (Shift && c == '7') c = '&';
        InsertText(std::string(1, c));
      } else if (Key >= 'A' && Key <= 'F') {
        InsertText(std::string(1, static_cast<char>(Key)));
      } else if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) {
        InsertText(std::string(1, static_cast<char>('0' + (Key - VK_NUMPAD0))));
      } else {
        DoBeep();
      }
      break;
  }
}

void TNumIO2::FinishKey(const TEditState& Before, bool KeepSelection) {
  // A text the notation cannot grow into is refused whole, with a beep.
  if (FText != Before.Text && !Standing(FText)) {
    FText = Before.Text;
    FCaret = Before.Caret;
    FSelBegin = Before.SelBegin;
    FSelEnd = Before.SelEnd;
    DoBeep();
  }
  ClampCaret();
  if (!KeepSelection) {
    const int len = TextLength();
    if (FInputFormat == itFixPoint && FCaret > len - FFixPointDecPlaces - 1 && FCaret < len) {
      // In the decimals the next digit is selected, so typing overwrites it.
      FSelBegin = FCaret;
      FSelEnd = FCaret + 1;
    } else {
      FSelBegin = FSelEnd = FCaret;
    }
    FSelAnchor = FCaret;
  }
  FCaretVisible = true;
  if (FText != Before.Text) Changed();
  RepaintNow();
}

// ---------------------------------------------------------------- mouse

double TNumIO2::SnapNearest(double V) const {
  double best = V, bestDist = INFINITY;
  bool found = false;
  for (double s : SnapValues) {
    if (std::isnan(s)) continue;
    const double d = std::fabs(s - V);
    if (!found || d < bestDist) {
      best = s;
      bestDist = d;
      found = true;
    }
  }
  return best;
}

double TNumIO2::GaugeValueAt(int X) const {
  // GaugeWidth is at least 10; the guard keeps a hand-made zero from dividing.
  const double w = FGaugeWidth > 0 ? FGaugeWidth : 1;
  double v = FRangeLow + (X - FGaugeLeftMargin) / w * (FRangeHigh - FRangeLow);
  if (!SnapValues.empty()) v = SnapNearest(v);
  return std::clamp(v, FRangeLow, FRangeHigh);
}

void TNumIO2::GaugeTo(int X) {
  WriteValue(GaugeValueAt(X));
  FGaugeDrag = true;
}

void TNumIO2::SpinStep(bool Up) {
  const double v = GetNioValue();
  double nv;
  std::vector<double> snaps;
  for (double s : SnapValues)
    if (!std::isnan(s)) snaps.push_back(s);
  if (snaps.empty()) {
    nv = std::clamp(Up ? v + FButIncrem : v - FButIncrem, FRangeLow, FRangeHigh);
  } else {
    // Stepping walks the entries in ascending order from the one nearest to the value; a value
    // on an entry (within the shown decimals) moves to its neighbour.
    std::sort(snaps.begin(), snaps.end());
    size_t i = 0;
    for (size_t k = 1; k < snaps.size(); ++k)
      if (std::fabs(snaps[k] - v) < std::fabs(snaps[i] - v)) i = k;
    const double e = std::pow(10.0, -FFixPointDecPlaces);
    if (!Up && snaps[i] + e >= v && i > 0) --i;
    if (Up && snaps[i] - e <= v && i + 1 < snaps.size()) ++i;
    nv = snaps[i];
  }
  WriteValue(nv);
}

void TNumIO2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (!FReadOnly) FCaretVisible = true;
    const int bandBottom = GetHeight() - GaugeBand();
    FPressZone = pzNone;
    if (Y > 0 && Y < bandBottom) {
      FCaret = FSelBegin = FSelEnd = FSelAnchor = XCoordsToCharPos(X);
      FPressZone = pzText;
      RepaintNow();
    }
    if (FGaugeVisible && Y > bandBottom && X >= FGaugeLeftMargin &&
        int64_t{X} <= int64_t{FGaugeLeftMargin} + FGaugeWidth) {
      FPressZone = pzGauge;
      // A read-only field shows its value; neither gauge nor buttons change it.
      if (!FReadOnly) {
        GaugeTo(X);
        RepaintNow();
      }
    }
    const int x0 = ButtonLeft();
    if (FButVisible && X > x0 && int64_t{X} < int64_t{x0} + FButWidth && Y > 0 && Y < FButHeight) {
      FPressZone = pzButtons;
      if (!FReadOnly) {
        SpinStep(Y <= FButHeight / 2);
        RepaintNow();
        Changed();
      }
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TNumIO2::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssLeft)) {
    if (FPressZone == pzText) {
      // The selection spans from where the press was to the pointer, either way round.
      const int p = XCoordsToCharPos(X);
      FSelBegin = std::min(FSelAnchor, p);
      FSelEnd = std::max(FSelAnchor, p);
      RepaintNow();
    } else if (FPressZone == pzGauge && !FReadOnly && X >= FGaugeLeftMargin - 1 &&
               int64_t{X} <= int64_t{FGaugeLeftMargin} + FGaugeWidth + 1) {
      GaugeTo(X);
      RepaintNow();
      if (OnGaugeChange) OnGaugeChange(this, Shift, GetNioValue());
    }
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TNumIO2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FPressZone = pzNone;
    if (FGaugeDrag) {
      FGaugeDrag = false;
      Changed();
    }
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

}  // namespace qel

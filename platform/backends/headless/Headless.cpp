#include "platform/backends/headless/Headless.h"

#include <algorithm>

namespace qel {

void THeadlessBackend::CreateNativeWindow(TForm* Form) {
  if (std::find(NativeWindows.begin(), NativeWindows.end(), Form) == NativeWindows.end())
    NativeWindows.push_back(Form);
}

void THeadlessBackend::DestroyNativeWindow(TForm* Form) { std::erase(NativeWindows, Form); }

void THeadlessBackend::ShowNativeWindow(TForm*, bool) {}

void THeadlessBackend::Present(TForm* Form, const TBitmap&, std::span<const TRect> Rects) {
  for (const TRect& r : Rects) Presented.push_back({Form, r});
}

void THeadlessBackend::SetClipboardText(const std::string& Text) {
  FClipText = Text;
  FHasText = true;
}

void THeadlessBackend::ClearClipboard() {
  FClipText.clear();
  FHasText = false;
}

void THeadlessBackend::ClearRecords() {
  Beeps.clear();
  Cursors.clear();
  Errors.clear();
  Presented.clear();
  Activated.clear();
}

std::unique_ptr<TBackend> CreateDefaultBackend() { return std::make_unique<THeadlessBackend>(); }

THeadlessBackend* HeadlessBackend() {
  return dynamic_cast<THeadlessBackend*>(Application->Backend());
}

void ResetHeadlessApplication() {
  Application->ResetServices(std::make_unique<THeadlessBackend>());
}

// ---------------------------------------------------------------- THeadlessInput

namespace {

TShiftStateItem ButtonItem(TMouseButton B) {
  return B == mbRight ? ssRight : B == mbMiddle ? ssMiddle : ssLeft;
}

// Decodes UTF-8 strictly; raises EConvertError at the first malformed sequence.
std::vector<char32_t> DecodeUtf8(const std::string& S) {
  std::vector<char32_t> out;
  size_t i = 0;
  while (i < S.size()) {
    auto c = static_cast<unsigned char>(S[i]);
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > S.size())
      throw EConvertError("Invalid UTF-8 text at byte " + std::to_string(i));
    char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k < len; ++k) {
      auto cc = static_cast<unsigned char>(S[i + static_cast<size_t>(k)]);
      if ((cc & 0xC0) != 0x80)
        throw EConvertError("Invalid UTF-8 text at byte " + std::to_string(i));
      cp = (cp << 6) | (cc & 0x3F);
    }
    constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      throw EConvertError("Invalid UTF-8 text at byte " + std::to_string(i));
    out.push_back(cp);
    i += static_cast<size_t>(len);
  }
  return out;
}

// The modifier keys a shift state holds down, in the order a hand presses them.
std::vector<uint16_t> ModifierKeys(TShiftState Shift) {
  std::vector<uint16_t> keys;
  if (Shift.Contains(ssCtrl)) keys.push_back(VK_CONTROL);
  if (Shift.Contains(ssAlt)) keys.push_back(VK_MENU);
  if (Shift.Contains(ssShift)) keys.push_back(VK_SHIFT);
  return keys;
}

}  // namespace

void THeadlessInput::Settle() { Application->ProcessMessages(); }

void THeadlessInput::Check() const {
  if (!FForm || !FForm->GetVisible())
    throw EInvalidOperation("Form '" + (FForm ? FForm->GetName() : std::string()) +
                            "' is not shown");
}

void THeadlessInput::MouseMove(int X, int Y, TShiftState Shift) {
  Check();
  FPos = {X, Y};
  FForm->InputMouseMove(Shift + FButtons, X, Y);
  Settle();
}

void THeadlessInput::MouseDown(int X, int Y, TMouseButton Button, TShiftState Shift) {
  Check();
  FPos = {X, Y};
  FButtons << ButtonItem(Button);
  FForm->InputMouseDown(Button, Shift + FButtons, X, Y);
  Settle();
}

void THeadlessInput::MouseUp(int X, int Y, TMouseButton Button, TShiftState Shift) {
  Check();
  FPos = {X, Y};
  FButtons >> ButtonItem(Button);
  FForm->InputMouseUp(Button, Shift + FButtons, X, Y);
  Settle();
}

void THeadlessInput::Click(int X, int Y, TMouseButton Button, TShiftState Shift) {
  if (FPos != TPoint{X, Y}) MouseMove(X, Y, Shift);
  MouseDown(X, Y, Button, Shift);
  MouseUp(X, Y, Button, Shift);
}

void THeadlessInput::DoubleClick(int X, int Y, TShiftState Shift) {
  Click(X, Y, mbLeft, Shift);
  Click(X, Y, mbLeft, Shift);
}

void THeadlessInput::Drag(TPoint From, TPoint To, TMouseButton Button, TShiftState Shift,
                          int Steps) {
  if (FPos != From) MouseMove(From.X, From.Y, Shift);
  MouseDown(From.X, From.Y, Button, Shift);
  Steps = std::max(1, Steps);
  for (int i = 1; i <= Steps; ++i)
    MouseMove(From.X + (To.X - From.X) * i / Steps, From.Y + (To.Y - From.Y) * i / Steps, Shift);
  MouseUp(To.X, To.Y, Button, Shift);
}

void THeadlessInput::Wheel(int Delta, TShiftState Shift) { WheelAt(FPos.X, FPos.Y, Delta, Shift); }

void THeadlessInput::WheelAt(int X, int Y, int Delta, TShiftState Shift) {
  Check();
  if (FPos != TPoint{X, Y}) MouseMove(X, Y, Shift);
  FForm->InputMouseWheel(Delta, Shift + FButtons, X, Y);
  Settle();
}

void THeadlessInput::Leave() {
  Check();
  FForm->InputMouseLeave();
  Settle();
}

void THeadlessInput::SwitchAway() {
  Check();
  FForm->NativeDeactivated();
  Settle();
}

void THeadlessInput::SwitchBack() {
  Check();
  FForm->NativeActivated();
  Settle();
}

void THeadlessInput::KeyDown(uint16_t Key, TShiftState Shift) {
  Check();
  FForm->InputKeyDown(Key, Shift);
  Settle();
}

void THeadlessInput::KeyUp(uint16_t Key, TShiftState Shift) {
  Check();
  FForm->InputKeyUp(Key, Shift);
  Settle();
}

void THeadlessInput::PressKey(uint16_t Key, TShiftState Shift) {
  Check();
  std::vector<uint16_t> mods = ModifierKeys(Shift);
  TShiftState held;
  for (uint16_t m : mods) {
    held << (m == VK_CONTROL ? ssCtrl : m == VK_MENU ? ssAlt : ssShift);
    FForm->InputKeyDown(m, held);
  }
  bool consumed = FForm->InputKeyDown(Key, Shift);
  if (!consumed)
    if (char32_t ch = KeyToChar(Key, Shift)) FForm->InputChar(ch, Shift);
  FForm->InputKeyUp(Key, Shift);
  for (auto it = mods.rbegin(); it != mods.rend(); ++it) {
    held >> (*it == VK_CONTROL ? ssCtrl : *it == VK_MENU ? ssAlt : ssShift);
    FForm->InputKeyUp(*it, held);
  }
  Settle();
}

void THeadlessInput::TypeText(const std::string& Utf8) {
  Check();
  for (char32_t cp : DecodeUtf8(Utf8)) {
    TKeyStroke k = CharToKey(cp);
    if (k.Key != 0 && KeyToChar(k.Key, k.Shift) == cp) {
      PressKey(k.Key, k.Shift);
    } else {
      FForm->InputChar(cp);
      Settle();
    }
  }
}

}  // namespace qel

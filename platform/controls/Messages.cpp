#include "platform/controls/Messages.h"

#include <algorithm>

namespace qel {

LPARAM PointToLParam(TPoint P) {
  return MAKELPARAM(std::clamp(P.X, -32768, 32767), std::clamp(P.Y, -32768, 32767));
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s << ssShift;
  if (Keys & MK_CONTROL) s << ssCtrl;
  if (Keys & MK_ALT) s << ssAlt;
  if (Keys & MK_LBUTTON) s << ssLeft;
  if (Keys & MK_RBUTTON) s << ssRight;
  if (Keys & MK_MBUTTON) s << ssMiddle;
  return s;
}

WPARAM ShiftStateToKeys(TShiftState Shift) {
  WPARAM k = 0;
  if (Shift.Contains(ssShift)) k |= MK_SHIFT;
  if (Shift.Contains(ssCtrl)) k |= MK_CONTROL;
  if (Shift.Contains(ssAlt)) k |= MK_ALT;
  if (Shift.Contains(ssLeft)) k |= MK_LBUTTON;
  if (Shift.Contains(ssRight)) k |= MK_RBUTTON;
  if (Shift.Contains(ssMiddle)) k |= MK_MBUTTON;
  return k;
}

// Bits 16-23 carry the shift-state bits; bit 29 repeats Alt as the classic key data does.
LPARAM ShiftStateToKeyData(TShiftState Shift) {
  uint32_t d = 1u | (static_cast<uint32_t>(Shift.Bits() & 0xFF) << 16);
  if (Shift.Contains(ssAlt)) d |= 1u << 29;
  return static_cast<LPARAM>(d);
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  auto d = static_cast<uint32_t>(KeyData);
  TShiftState s = TShiftState::FromBits((d >> 16) & 0xFF);
  if (d & (1u << 29)) s << ssAlt;
  return s;
}

namespace {

// The US layout's punctuation keys: unshifted and shifted characters.
struct TOemKey {
  uint16_t Key;
  char Plain;
  char Shifted;
};
constexpr TOemKey kOemKeys[] = {
    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

char32_t KeyToChar(uint16_t Key, TShiftState Shift) {
  if (Shift.Contains(ssAlt)) return 0;
  bool shift = Shift.Contains(ssShift);
  if (Shift.Contains(ssCtrl)) {
    if (Key >= 'A' && Key <= 'Z') return static_cast<char32_t>(Key - 'A' + 1);
    return 0;
  }
  if (Key >= 'A' && Key <= 'Z') return shift ? Key : static_cast<char32_t>(Key - 'A' + 'a');
  if (Key >= '0' && Key <= '9')
    return shift ? static_cast<char32_t>(kShiftedDigits[Key - '0']) : Key;
  if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9) return static_cast<char32_t>('0' + Key - VK_NUMPAD0);
  switch (Key) {
    case VK_SPACE:
      return U' ';
    case VK_RETURN:
      return U'\r';
    case VK_TAB:
      return U'\t';
    case VK_BACK:
      return 8;
    case VK_ESCAPE:
      return 27;
    case VK_MULTIPLY:
      return U'*';
    case VK_ADD:
      return U'+';
    case VK_SUBTRACT:
      return U'-';
    case VK_DECIMAL:
      return U'.';
    case VK_DIVIDE:
      return U'/';
    default:
      break;
  }
  for (const auto& k : kOemKeys)
    if (k.Key == Key) return static_cast<char32_t>(shift ? k.Shifted : k.Plain);
  return 0;
}

TKeyStroke CharToKey(char32_t Ch) {
  if (Ch >= 'a' && Ch <= 'z') return {static_cast<uint16_t>(Ch - 'a' + 'A'), {}};
  if (Ch >= 'A' && Ch <= 'Z') return {static_cast<uint16_t>(Ch), {ssShift}};
  if (Ch >= '0' && Ch <= '9') return {static_cast<uint16_t>(Ch), {}};
  for (int d = 0; d < 10; ++d)
    if (Ch == static_cast<char32_t>(kShiftedDigits[d]))
      return {static_cast<uint16_t>('0' + d), {ssShift}};
  switch (Ch) {
    case U' ':
      return {VK_SPACE, {}};
    case U'\r':
    case U'\n':
      return {VK_RETURN, {}};
    case U'\t':
      return {VK_TAB, {}};
    case 8:
      return {VK_BACK, {}};
    case 27:
      return {VK_ESCAPE, {}};
    default:
      break;
  }
  for (const auto& k : kOemKeys) {
    if (Ch == static_cast<char32_t>(k.Plain)) return {k.Key, {}};
    if (Ch == static_cast<char32_t>(k.Shifted)) return {k.Key, {ssShift}};
  }
  return {};
}

}  // namespace qel

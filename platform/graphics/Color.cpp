// System colours and colour names.
#include "platform/graphics/Color.h"

#include <cctype>
#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

// The look we ship: a light grey face with a blue selection. Index 25 is unused (black).
constexpr TColor kSystemColors[kSystemColorCount] = {
    RGB(200, 200, 200),  // clScrollBar
    RGB(0, 99, 177),     // clBackground
    RGB(153, 180, 209),  // clActiveCaption
    RGB(191, 205, 219),  // clInactiveCaption
    RGB(240, 240, 240),  // clMenu
    RGB(255, 255, 255),  // clWindow
    RGB(100, 100, 100),  // clWindowFrame
    RGB(0, 0, 0),        // clMenuText
    RGB(0, 0, 0),        // clWindowText
    RGB(0, 0, 0),        // clCaptionText
    RGB(180, 180, 180),  // clActiveBorder
    RGB(244, 247, 252),  // clInactiveBorder
    RGB(171, 171, 171),  // clAppWorkSpace
    RGB(0, 120, 215),    // clHighlight
    RGB(255, 255, 255),  // clHighlightText
    RGB(240, 240, 240),  // clBtnFace
    RGB(160, 160, 160),  // clBtnShadow
    RGB(109, 109, 109),  // clGrayText
    RGB(0, 0, 0),        // clBtnText
    RGB(67, 78, 84),     // clInactiveCaptionText
    RGB(255, 255, 255),  // clBtnHighlight
    RGB(105, 105, 105),  // cl3DDkShadow
    RGB(227, 227, 227),  // cl3DLight
    RGB(0, 0, 0),        // clInfoText
    RGB(255, 255, 225),  // clInfoBk
    RGB(0, 0, 0),        // (unused)
    RGB(0, 102, 204),    // clHotLight
    RGB(185, 209, 234),  // clGradientActiveCaption
    RGB(215, 228, 242),  // clGradientInactiveCaption
};

// The integer forms a colour may be written in: "$hex", "0xhex", "xhex" or decimal with an
// optional sign. Values wrap to 32 bits as a 32-bit integer would hold them.
bool ParseColorNumber(const std::string& S, TColor& Value) {
  size_t i = 0, n = S.size();
  while (i < n && std::isspace(static_cast<unsigned char>(S[i]))) ++i;
  while (n > i && std::isspace(static_cast<unsigned char>(S[n - 1]))) --n;
  bool neg = false;
  if (i < n && (S[i] == '+' || S[i] == '-')) neg = S[i++] == '-';
  int base = 10;
  if (i < n && S[i] == '$') {
    base = 16, ++i;
  } else if (i + 1 < n && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
    base = 16, i += 2;
  } else if (i < n && (S[i] == 'x' || S[i] == 'X')) {
    base = 16, ++i;
  }
  if (i >= n) return false;
  uint64_t v = 0;
  for (; i < n; ++i) {
    int c = static_cast<unsigned char>(S[i]), d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    v = v * base + d;
    // Beyond 32 bits is out of range for a colour, as for any 32-bit integer.
    if (base == 10 ? v > (neg ? 0x80000000ull : 0x7FFFFFFFull) : v > 0xFFFFFFFFull) return false;
  }
  Value = static_cast<TColor>(neg ? (0 - v) : v);
  return true;
}

}  // namespace

TColor ColorToRGB(TColor Color) {
  if ((Color & 0xFF000000u) == clSystemColor) {
    TColor index = Color & 0x00FFFFFFu;
    return index < static_cast<TColor>(kSystemColorCount) ? kSystemColors[index] : clBlack;
  }
  if (Color == clNone || Color == clDefault) return clBlack;
  return Color & 0x00FFFFFFu;
}

bool ColorToIdent(TColor Color, std::string& Ident) {
  for (const TColorIdent& c : kColorIdents)
    if (c.Value == Color) {
      Ident = c.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const std::string& Ident, TColor& Color) {
  for (const TColorIdent& c : kColorIdents)
    if (SameText(Ident, c.Name)) {
      Color = c.Value;
      return true;
    }
  return false;
}

std::string ColorToString(TColor Color) {
  std::string ident;
  if (ColorToIdent(Color, ident)) return ident;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(Color));
  return buf;
}

TColor StringToColor(const std::string& S) {
  TColor c;
  if (IdentToColor(S, c)) return c;
  if (ParseColorNumber(S, c)) return c;
  throw EConvertError("'" + S + "' is not a valid integer value");
}

}  // namespace qel

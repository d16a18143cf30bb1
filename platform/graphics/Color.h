#pragma once
// Colour values. A TColor holds red in the lowest byte, then green and blue (0x00BBGGRR); a top
// byte of 0x80 names a system colour by index (0x80000005 = the window background). Pixels of
// surfaces are stored as 0x00RRGGBB (see TPixel), so converting swaps red and blue.
#include <cstdint>
#include <string>

namespace qel {

using TColor = uint32_t;
using TPixel = uint32_t;  // 0x00RRGGBB in memory, as a 32-bit device-independent bitmap

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colour indices (COLOR_*), and their TColor names.
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clBackground = 0x80000001;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clInactiveCaption = 0x80000003;
constexpr TColor clMenu = 0x80000004;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowFrame = 0x80000006;
constexpr TColor clMenuText = 0x80000007;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clCaptionText = 0x80000009;
constexpr TColor clActiveBorder = 0x8000000A;
constexpr TColor clInactiveBorder = 0x8000000B;
constexpr TColor clAppWorkSpace = 0x8000000C;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInactiveCaptionText = 0x80000013;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;
constexpr TColor clHotLight = 0x8000001A;
constexpr TColor clGradientActiveCaption = 0x8000001B;
constexpr TColor clGradientInactiveCaption = 0x8000001C;
constexpr int kSystemColorCount = 29;  // indices 0..28 (index 25 is unused and reads as black)

// Resolves a system colour through the table of the look we ship; explicit colours pass
// through unchanged (the top byte cleared). clNone and clDefault resolve to black.
TColor ColorToRGB(TColor Color);

inline uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c); }
inline uint8_t GetGValue(TColor c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t GetBValue(TColor c) { return static_cast<uint8_t>(c >> 16); }
constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// Between a resolved TColor and the stored pixel layout.
inline TPixel ColorToPixel(TColor c) {
  c = ColorToRGB(c);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline TColor PixelToColor(TPixel p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// The one table of colour identifiers, for form files, pickers and the colour lists of the
// components: the 16 basic colours, four further ones, the 27 system colours in index order
// (entries 0..46, the classic list of predefined colours), then clHotLight, clNone and
// clDefault. A value has one name, so writing and reading agree.
struct TColorIdent {
  TColor Value;
  const char* Name;
};
inline constexpr int kColorIdentCount = 50;
inline constexpr TColorIdent kColorIdents[kColorIdentCount] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clHotLight, "clHotLight"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

// "clRed" for named colours, otherwise "$00BBGGRR" (eight hexadecimal digits).
std::string ColorToString(TColor Color);
// Accepts a colour name ("clRed", case-insensitive), "$hex" or a decimal number; raises
// EConvertError for anything else.
TColor StringToColor(const std::string& S);
bool ColorToIdent(TColor Color, std::string& Ident);
bool IdentToColor(const std::string& Ident, TColor& Color);

}  // namespace qel

#pragma once
// Number text as the classic runtime writes and reads it. Everything here uses the C locale
// ("." as the decimal point) except where DecimalSeparator is named.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <variant>

namespace qel {

// Str(x:Width:Decimals): fixed notation with Decimals digits after ".", rounded to nearest,
// right-aligned in at least Width characters (no "." when Decimals is 0).
std::string StrFixed(long double X, int Width, int Decimals);
// Str(x:Width): scientific notation: a sign position (blank or "-"), one digit, ".", further
// digits, "E", the exponent sign and four exponent digits; Width characters hold Width - 8
// significant digits (at least 2; a smaller Width is widened). NaN and infinities are written
// as "Nan", "+Inf", "-Inf", right-aligned.
std::string StrSci(long double X, int Width);
// Val(S, X, Code): reads a decimal number with optional exponent in extended precision (C
// locale; leading blanks allowed). Code is 0 on success, otherwise the 1-based position of the
// first bad character (then X is 0). Values beyond the extended range read as infinity.
void Val(const std::string& S, long double& X, int& Code);
void Val(const std::string& S, int32_t& X, int& Code);

std::string IntToStr(int64_t Value);
std::string IntToHex(uint64_t Value, int Digits);
// 32-bit signed; raises EConvertError ("'<text>' is not a valid integer value") on junk or
// overflow. Accepts leading blanks, a sign, and "$" or "0x" hexadecimal.
int32_t StrToInt(const std::string& S);
int64_t StrToInt64(const std::string& S);
int32_t StrToIntDef(const std::string& S, int32_t Default);
bool TryStrToInt(const std::string& S, int32_t& Value);

// The decimal separator written by FloatToStr/Format and read by StrToFloat; "." by default.
char GetDecimalSeparator();
void SetDecimalSeparator(char Separator);

// Shortest text with up to 15 significant digits, as the classic FloatToStr (general format:
// fixed when the exponent is within -5..14, otherwise "1.5E20" style).
std::string FloatToStr(long double Value);
// Raises EConvertError ("'<text>' is not a valid floating point value").
long double StrToFloat(const std::string& S);
bool TryStrToFloat(const std::string& S, long double& Value);

// Format with %d %u %x %s %f %e %g %n %m %p-style specifiers: "%[index:][-][width][.prec]type",
// where width and precision may be "*" (taken from the arguments). %n is fixed notation with
// thousands separators. A mismatch between specifier and argument raises EConvertError
// ("Format '<fmt>' invalid or incompatible with argument").
using TFormatArg = std::variant<int64_t, uint64_t, long double, std::string, const void*>;
std::string Format(const std::string& Fmt, std::initializer_list<TFormatArg> Args);

}  // namespace qel

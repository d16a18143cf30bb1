#pragma once
// Number text as the classic runtime writes and reads it. Everything here uses the C locale
// ("." as the decimal point) except where DecimalSeparator is named.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qel {

// Str(x:Width:Decimals): fixed notation with Decimals digits after ".", rounded to nearest with
// exact halves away from zero (2.5 -> "3", 0.125 -> "0.13"), right-aligned in at least Width
// characters (no "." when Decimals is 0). A value that rounds to zero carries no "-". A negative
// Decimals count gives the scientific notation of StrSci(X, Width). Width and Decimals are capped
// at 1024.
std::string StrFixed(long double X, int Width, int Decimals);
// Str(x:Width): scientific notation: a sign position (blank or "-"), one digit, ".", further
// digits, "E", the exponent sign and four exponent digits; Width characters hold Width - 8
// significant digits (at least 2, at most 18 — the precision of the extended type; a smaller
// Width is widened, a larger one right-aligns). StrSci(12.5, 14) == " 1.25000E+0001".
// NaN and infinities are written as "Nan", "+Inf", "-Inf", right-aligned.
std::string StrSci(long double X, int Width);
// Val(S, X, Code): reads a decimal number with optional exponent in extended precision (C
// locale; leading blanks allowed). Code is 0 on success, otherwise the 1-based position of the
// first bad character (then X is 0). Values beyond the extended range read as infinity.
void Val(const std::string& S, long double& X, int& Code);
void Val(const std::string& S, int32_t& X, int& Code);

std::string IntToStr(int64_t Value);
// Upper-case hexadecimal with at least Digits digits; a negative value is written as its
// two's-complement pattern of the argument's width (IntToHex(-1, 2) == "FFFFFFFF").
std::string IntToHex(int32_t Value, int Digits);
std::string IntToHex(uint32_t Value, int Digits);
std::string IntToHex(int64_t Value, int Digits);
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

// The thousands separator written by %n; "," by default.
char GetThousandSeparator();
void SetThousandSeparator(char Separator);

// One argument of Format. Converting constructors let a call pass plain values:
// Format("%d %s %.2f", {42, "x", 3.5}). A 32-bit integer remembers its width so that %x and %u
// write a negative value as its 32-bit pattern, as the classic runtime does.
class TFormatArg {
 public:
  enum TKind : uint8_t { fakInt, fakUInt, fakFloat, fakString, fakPointer };
  TFormatArg(int V) : FKind(fakInt), FInt(V), FIs32(true) {}
  TFormatArg(long V) : FKind(fakInt), FInt(V) {}
  TFormatArg(long long V) : FKind(fakInt), FInt(V) {}
  TFormatArg(unsigned V) : FKind(fakUInt), FUInt(V), FIs32(true) {}
  TFormatArg(unsigned long V) : FKind(fakUInt), FUInt(V) {}
  TFormatArg(unsigned long long V) : FKind(fakUInt), FUInt(V) {}
  TFormatArg(double V) : FKind(fakFloat), FFloat(V) {}
  TFormatArg(long double V) : FKind(fakFloat), FFloat(V) {}
  TFormatArg(const char* V) : FKind(fakString), FString(V ? V : "") {}
  TFormatArg(std::string V) : FKind(fakString), FString(std::move(V)) {}
  TFormatArg(std::string_view V) : FKind(fakString), FString(V) {}
  TFormatArg(const void* V) : FKind(fakPointer), FPointer(V) {}

  TKind Kind() const { return FKind; }
  int64_t AsInt() const { return FInt; }
  uint64_t AsUInt() const { return FUInt; }
  long double AsFloat() const { return FFloat; }
  const std::string& AsString() const { return FString; }
  const void* AsPointer() const { return FPointer; }
  bool Is32() const { return FIs32; }

 private:
  TKind FKind;
  int64_t FInt = 0;
  uint64_t FUInt = 0;
  long double FFloat = 0;
  std::string FString;
  const void* FPointer = nullptr;
  bool FIs32 = false;
};

// Format with %d %u %x %s %f %e %g %n %p specifiers: "%[index:][-][width][.prec]type", where
// width and precision may be "*" (taken from the arguments) and "%%" writes "%".
// %d/%u/%x take integers (precision = minimum digits), %s strings (precision = maximum code
// points), %f %e %g %n floating-point values (%n: fixed with thousands separators), %p pointers.
// Index, width and precision above 4096 are refused as invalid.
// A bad specifier or a mismatch between specifier and argument raises EConvertError
// ("Format '<fmt>' invalid or incompatible with argument"); a missing argument raises
// EConvertError ("No argument for format '<fmt>'").
std::string Format(const std::string& Fmt, std::initializer_list<TFormatArg> Args);

}  // namespace qel

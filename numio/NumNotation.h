#pragma once
// Number notations of the numeric entry fields: the acceptors that decide on every keystroke
// whether a text is a well-formed number, the scanners that read the value out of a text, and
// the formatters that write a value back. Nothing here touches a window; the two field
// components (TNumIO2, TNumIO) only delegate to the entry points at the end of this header.
//
// Character positions are 1-based throughout (position 1 is the first character, length + 1
// is just past the end), because the algorithms are defined that way and the fields expose
// positions to their users in the same terms.
#include <cstdint>
#include <string>

namespace qel {

// The notation of a numeric field (published property InputFormat).
enum TInFormat : uint8_t {
  itExp,       // decimal number with optional exponent
  itFloat,     // decimal number without exponent
  itFixPoint,  // decimal number with a fixed count of decimals
  itInt,       // signed decimal integer
  itHex,       // hexadecimal digits
  itOct,       // octal digits
  itBin,       // binary digits
  itDynamic    // "$" hexadecimal, "&" octal, "%" binary, anything else as itExp
};

// SepMode: the set of decimal separators the acceptors and scanners take. Any other value
// accepts no separator at all.
inline constexpr int kSepPoint = 1;         // only "."
inline constexpr int kSepComma = 2;         // only ","
inline constexpr int kSepPointOrComma = 3;  // "." or ","

// The largest exponent magnitude a decimal text may carry.
inline constexpr int kMaxExponent = 4200;

// TDecPSep ordinal (0 system, 1 point, 2 comma, 3 point or comma) to SepMode, as TNumIO2 resolves
// it: 0 gives kSepPoint when the system separator is ".", else kSepComma; other ordinals pass on.
int ResolveSepModeNumIO2(uint8_t DecPlaceSep);
// The same as TNumIO resolves it: 0 gives kSepComma when the system separator is ",", else
// kSepPoint; 1 gives kSepPoint, 2 kSepComma, anything else kSepPointOrComma.
int ResolveSepModeNumIO(uint8_t DecPlaceSep);
// True when Ch is a separator of SepMode.
bool IsSepChar(char Ch, int SepMode);

// One step of the exponent number automaton. States: 1 start, 2 after sign, 3 integer digits,
// 4 after separator, 5 fraction digits, 6 after "E", 7 after exponent sign, 8 exponent digits,
// 9 end (accept), -1 reject. Ch is upper-cased here; callers pass "Z" for the end of the text.
// A state outside 1..8 has no transitions and gives -1.
int ExpNumberAutomatonStep(int State, char Ch, bool ExpAllowed, int SepMode);

// One step of the plain decimal automaton behind ValidFloatText (raw characters, no blanks).
// States: 0 start, 1 after sign, 3 integer digits, 2 after separator, 4 fraction digits,
// 5 reject. A state outside 0..4 gives 5.
int FloatAutomatonStep(int State, char Ch, int SepMode);

// A decimal number with optional exponent starts the text (what follows the number is not
// looked at, so "12x" passes). SepMode 0 resolves the system separator as TNumIO2 does.
bool ValidExpText(const std::string& Text, bool ExpAllowed, int SepMode);

// Reads the decimal number starting at Pos (1-based; a start outside 1..length+1 is moved to
// the nearer end) and leaves Pos on the first character not consumed (length + 1 when the scan
// ran to the end). A rejected text reads as 0. The value is clamped to +-uc_MaxDouble; a zero
// reads as +0. An exponent is cut to the digits that keep it at or below 4200; a mantissa
// without digits reads as 0 and an exponent without digits ("1E", "1E+") is ignored. SepMode is
// taken as given here (0 accepts no separator).
double ScanFloatText(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos);
// ScanFloatText without the short-text fast path: always converts the collected text through
// the runtime's extended-precision Val. Gives identical results; kept for tests and benchmarks.
double ScanFloatTextByVal(const std::string& Text, bool ExpAllowed, int SepMode, int& Pos);

// The whole text is a decimal number without exponent and without blanks; a lone sign or
// separator passes ("-", "-.", "12.", ".5"). SepMode 0 resolves as TNumIO2 does.
bool ValidFloatText(const std::string& Text, int SepMode);

// Digit strings. ValidIntText allows one leading "+" or "-" (but not alone).
bool ValidIntText(const std::string& Text);
bool ValidHexText(const std::string& Text);
bool ValidOctText(const std::string& Text);
bool ValidBinText(const std::string& Text);

// Integer scanners: skip blanks (but not one in the last position), then read digits up to the
// first character that does not belong, leaving Pos on it. Accumulation wraps modulo 2^32 and
// the result is the 32-bit two's-complement value ("FFFFFFFF" reads as -1). ScanIntText takes
// one sign; ScanHexText skips a "$" at position 1.
int32_t ScanIntText(const std::string& Text, int& Pos);
int32_t ScanHexText(const std::string& Text, int& Pos);
int32_t ScanOctText(const std::string& Text, int& Pos);
int32_t ScanBinText(const std::string& Text, int& Pos);

// Writes Value in a field of |Width| characters. Decimals >= 0: fixed notation rounded to that
// many decimals (no separator for 0). Decimals < 0 (the fields pass -2): scientific notation
// with |Width| - 6 significant digits and a two-digit exponent (" 1.25000E+01"); an exponent of
// 100 or more turns the whole field into "*". A negative Width fills the leading blanks with
// "0", keeping a "-" in front. The separator written is always ".".
std::string FormatFloatField(int Width, int Decimals, double Value);

// Exactly Count digits (clamped to 1..8, 1..11, 1..32) of the unsigned pattern, leading zeros.
std::string FormatHexDigits(uint32_t Value, int Count);
std::string FormatOctDigits(uint32_t Value, int Count);
std::string FormatBinDigits(uint32_t Value, int Count);

// The 32-bit pattern the hexadecimal, octal and binary fields write for a value: rounded (halves
// to even), then saturated to -2^31..2^32-1 so that both the signed and the unsigned reading of
// a pattern write back as it (-1 and 4294967295 both give FFFFFFFF). NaN gives 0.
uint32_t NioBitPattern(double Value);

// ---- Entry points of the numeric fields -------------------------------------------------

// TNumIO2.CheckValidity: is Text acceptable for the notation? DecPlaceSep is the TDecPSep
// ordinal. For itFixPoint the separator must stand FixPointDecPlaces characters before the end.
bool NioCheckValidity(const std::string& Text, TInFormat Fmt, uint8_t DecPlaceSep,
                      int FixPointDecPlaces);
// TNumIO2.GetNioValue: the value Text stands for (never raises; unreadable text gives 0).
double NioGetValue(const std::string& Text, TInFormat Fmt);
// TNumIO2.SetNioValue: the text that a field in notation Fmt shows for X.
std::string NioFormatValue(double X, TInFormat Fmt, int SignificantDigits, int FixPointDecPlaces);
// TNumIO2.GetNioIntValue: NioGetValue rounded (halves to even); raises EQELNumIO2Error
// ("Component \"<Name>\": integer overflow") outside the 32-bit range.
int32_t NioGetIntValue(const std::string& Text, TInFormat Fmt, const std::string& ComponentName);
// TNumIO2.OutOfRange: the value is not at least RangeLow, or above RangeHigh.
bool NioOutOfRange(const std::string& Text, TInFormat Fmt, double RangeLow, double RangeHigh);

// TNumIO.ConvertNumString: true when the whole of Text is a number of notation Fmt (leading
// blanks allowed, no other blank); Value receives it (0 on failure, untouched for an empty
// Text). A lone sign, separator or itDynamic prefix is accepted as 0 so that typing can go on.
bool ConvertNumString(const std::string& Text, double& Value, TInFormat Fmt, uint8_t DecPlaceSep);

}  // namespace qel

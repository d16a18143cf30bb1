#pragma once
// String helpers. Texts are UTF-8; lengths given in characters count code points and no cut
// splits a multi-byte sequence. Positions are 1-based byte positions, 0 meaning "none".
#include <string>
#include <string_view>
#include <vector>

namespace qel {

// Number of code points of a UTF-8 text, counted by the bytes that begin one.
int Utf8Length(std::string_view Text);
// The first N code points of Text (all of it when shorter; "" for N <= 0).
std::string Utf8Left(std::string_view Text, int N);

// Value in fixed notation with Decimals digits after the point, rounded to nearest, right-
// aligned in at least Width characters; Decimals < 0 writes exponential notation with
// -Decimals digits after the point ("1.50E+003"). NaN and infinities read "NaN", "+Inf", "-Inf".
// At most kStrffMaxDecimals digits are written after the point.
constexpr int kStrffMaxDecimals = 255;
std::string strff(double Value, int Width, int Decimals);

// Splits Text at every Separator into Parts (replacing its contents) and returns their count:
// the number of separators plus one, so "" gives one empty part and "a\" gives "a" and "".
int Tokenize(std::string_view Text, char Separator, std::vector<std::string>& Parts);

// Position of the N-th occurrence of Sub in Text, searching from position Start (1-based;
// values below 1 count as 1). Occurrences do not overlap. 0 when there is none, when N < 1 or
// when Sub is empty. IgnoreCase folds ASCII letters.
int NumberedPos(std::string_view Sub, std::string_view Text, int Start, int N,
                bool IgnoreCase = false);

// Text left-justified in exactly N characters: padded with blanks, or cut to N characters.
std::string LeftString(std::string_view Text, int N);

// Text without the leading (trailing) characters that occur in Chars.
std::string StripLeadingChars(std::string_view Text, std::string_view Chars);
std::string StripTrailingChars(std::string_view Text, std::string_view Chars);

// Every OldChar replaced by NewChar.
std::string ReplaceCharInString(std::string_view Text, char OldChar, char NewChar);

// Text without control characters (bytes 0..31 and 127).
std::string RemoveControlChars(std::string_view Text);

// Text with Ch appended unless it already ends with Ch (an empty text becomes Ch).
std::string EnsureTrailingChar(std::string_view Text, char Ch);
std::string EnsureTrailingBkSlash(std::string_view Text);

}  // namespace qel

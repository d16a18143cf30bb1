#pragma once
// String helpers of the classic runtime, on UTF-8 std::string. Case mapping and case-insensitive
// comparison act on ASCII letters only, so multi-byte sequences pass through untouched.
// Positions are 1-based where the classic routines are (Pos, Copy), byte-based like them; the
// Utf8 helpers count code points.
#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"

namespace qel {

std::string UpperCase(const std::string& S);
std::string LowerCase(const std::string& S);
// Remove blanks and control characters (bytes up to ' ') at either or both ends.
std::string Trim(const std::string& S);
std::string TrimLeft(const std::string& S);
std::string TrimRight(const std::string& S);

// ASCII case-insensitive equality and ordering (< 0, 0, > 0).
bool SameText(const std::string& A, const std::string& B);
int CompareText(const std::string& A, const std::string& B);
// Byte-wise ordering (< 0, 0, > 0).
int CompareStr(const std::string& A, const std::string& B);

// 'It''s' style quoting: Quote doubled inside, added at both ends.
std::string QuotedStr(const std::string& S);
std::string AnsiQuotedStr(const std::string& S, char Quote);
// Removes the quoting of AnsiQuotedStr. Text after the closing quote is dropped; a text that
// does not start with Quote, or whose closing quote is missing, is returned unchanged.
std::string AnsiDequotedStr(const std::string& S, char Quote);

enum TReplaceFlag : uint8_t { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag>;
// Replaces the first (or every, with rfReplaceAll) occurrence of OldPattern; an empty pattern
// replaces nothing.
std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags);

// 1-based byte position of the first Sub in S at or after Offset; 0 when absent or Sub is empty.
int Pos(const std::string& Sub, const std::string& S, int Offset = 1);
// Count bytes from the 1-based Index, clamped to the string (Index < 1 counts from 1).
std::string Copy(const std::string& S, int Index, int Count);
std::string StringOfChar(char C, int Count);

// UTF-8: a code point is a lead byte with its continuation bytes; a malformed byte counts as one
// code point on its own, so no helper ever splits a well-formed sequence.
int Utf8CodePointCount(const std::string& S);
// Appends code point Cp in UTF-8; surrogates and values beyond U+10FFFF, which have no UTF-8
// form, append U+FFFD instead.
void AppendUtf8(std::string& S, char32_t Cp);
// Byte offset of the code point with the 0-based index (S.size() when beyond the end).
size_t Utf8Offset(const std::string& S, int CodePointIndex);
// The first MaxCodePoints code points (all of S when it is shorter; nothing for <= 0).
std::string Utf8Truncate(const std::string& S, int MaxCodePoints);
// Count code points from the 0-based Index.
std::string Utf8Copy(const std::string& S, int Index, int Count);
bool IsValidUtf8(const std::string& S);

}  // namespace qel

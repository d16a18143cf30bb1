#pragma once
// Helpers of the report-list exchange (internal to replist/): whole-file reading, writing
// through a temporary file that replaces the target only when complete, and markup escaping.
#include <cstdint>
#include <string>
#include <string_view>

namespace qel::rlfiles {

// Reads the whole file into Data. False (with the system's reason in Error) when the file
// cannot be opened or read.
bool ReadWholeFile(const std::string& FName, std::string& Data, std::string& Error);

// Writes Data to a new file beside FName, flushes it to the disk and renames it over FName, so
// an interrupted save leaves any previous FName intact. An existing FName's permissions are
// kept. Raises EQELRLDataError with the message Who + "cannot write \"FName\": reason".
void WriteFileAtomically(const std::string& FName, std::string_view Data, const std::string& Who);

// Where escaped text goes. XML: '&', '<', '>' as entities and control characters as character
// references (CR too, which a parser would otherwise normalise; NUL, which XML cannot hold, is
// left out); in a double-quoted attribute also '"', TAB and LF. HTML: '&', '<', '>', '"' and
// '\'' as entities; control characters but TAB, LF and CR, and DEL, become U+FFFD, since HTML
// text may not hold them.
enum TMarkupContext : uint8_t { mcXmlText, mcXmlAttribute, mcHtml };
void AppendEscaped(std::string& Out, std::string_view S, TMarkupContext Context);

// The 1-based line of byte Offset in Text.
int LineOfOffset(std::string_view Text, size_t Offset);

}  // namespace qel::rlfiles

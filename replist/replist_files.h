#pragma once
// File helpers of the report-list exchange (internal to replist/): whole-file reading and
// writing through a temporary file that replaces the target only when complete.
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

// The 1-based line of byte Offset in Text.
int LineOfOffset(std::string_view Text, size_t Offset);

}  // namespace qel::rlfiles

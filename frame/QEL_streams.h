#pragma once
// Reading text lines from streams.
#include <string>

#include "platform/rtl/Streams.h"

namespace qel {

// Reads the next line from the stream's position: the text up to a LF, without the LF and
// without a CR right before it (so LF and CR LF endings both read). AtEnd becomes true when
// nothing follows the line, so a last line without a newline is returned with AtEnd set, and
// "a\n" gives one line "a". An empty stream gives "" with AtEnd set. A line longer than MaxLen
// bytes is returned in pieces of MaxLen bytes (MaxLen below 1 means no limit).
std::string ReadLnStream(TStream& Stream, bool& AtEnd, int MaxLen = 0);

}  // namespace qel

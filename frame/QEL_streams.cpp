#include "frame/QEL_streams.h"

#include <cstring>

namespace qel {

std::string ReadLnStream(TStream& Stream, bool& AtEnd, int MaxLen) {
  std::string line;
  char buf[512];
  bool sawLF = false;
  for (;;) {
    int64_t want = sizeof buf;
    if (MaxLen > 0) {
      const int64_t room = static_cast<int64_t>(MaxLen) - static_cast<int64_t>(line.size());
      if (room <= 0) break;
      // One byte beyond the room lets a LF right after a full piece end the line.
      if (room + 1 < want) want = room + 1;
    }
    const int64_t got = Stream.Read(buf, want);
    if (got <= 0) break;
    const char* lf = static_cast<const char*>(std::memchr(buf, '\n', static_cast<size_t>(got)));
    int64_t take = lf ? lf - buf : got;
    if (MaxLen > 0) {
      const int64_t room = static_cast<int64_t>(MaxLen) - static_cast<int64_t>(line.size());
      if (take > room) {
        take = room;
        lf = nullptr;
      }
    }
    line.append(buf, static_cast<size_t>(take));
    const int64_t used = take + (lf ? 1 : 0);
    if (used < got) Stream.Seek(used - got, soCurrent);  // give back what belongs to later lines
    if (lf) {
      sawLF = true;
      break;
    }
  }
  if (sawLF && !line.empty() && line.back() == '\r') line.pop_back();
  // Peek one byte to tell whether anything follows.
  char probe;
  if (Stream.Read(&probe, 1) == 1) {
    Stream.Seek(-1, soCurrent);
    AtEnd = false;
  } else {
    AtEnd = true;
  }
  return line;
}

}  // namespace qel

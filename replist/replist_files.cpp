// Helpers of the report-list exchange: whole-file reading, write-then-rename saving, escaping.
#include "replist/replist_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "frame/QEL_errors.h"
#include "frame/QEL_filesys.h"

namespace qel::rlfiles {

bool ReadWholeFile(const std::string& FName, std::string& Data, std::string& Error) {
  const int fd = ::open(FName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Error = std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    Error = std::strerror(EISDIR);
    return false;
  }
  std::string data;
  if (st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) {
      data.append(buf, static_cast<size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      Error = std::strerror(errno);
      ::close(fd);
      return false;
    }
  }
  ::close(fd);
  Data.swap(data);
  return true;
}

void WriteFileAtomically(const std::string& FName, std::string_view Data, const std::string& Who) {
  auto fail = [&](int err) {
    throw EQELRLDataError(Who + "cannot write \"" + FName + "\": " + std::strerror(err));
  };
  if (FName.empty()) fail(ENOENT);
  // O_EXCL with our own random name (rather than mkstemp) lets the umask give a new file its
  // usual permissions.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    temp = FName + ".tmp-" + InventPassword(8);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) fail(errno);
  }
  if (fd < 0) fail(EEXIST);
  struct stat st {};
  if (::stat(FName.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
  size_t done = 0;
  int err = 0;
  while (done < Data.size()) {
    const ssize_t n =
        ::write(fd, Data.data() + done, std::min<size_t>(Data.size() - done, 1 << 20));
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      err = n < 0 ? errno : ENOSPC;
      break;
    }
  }
  if (err == 0 && ::fsync(fd) != 0 && errno != EINVAL) err = errno;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && ::rename(temp.c_str(), FName.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp.c_str());
    fail(err);
  }
}

int LineOfOffset(std::string_view Text, size_t Offset) {
  Offset = std::min(Offset, Text.size());
  return 1 + static_cast<int>(std::count(Text.begin(), Text.begin() + Offset, '\n'));
}

namespace {

// What happens to a byte: copied, or replaced by a text from the context's table.
enum TEscapeAction : uint8_t { eaCopy, eaEntity, eaCharRef, eaDrop, eaReplacement };

struct TEscapeTable {
  std::array<uint8_t, 256> Action{};
};

constexpr TEscapeTable MakeTable(TMarkupContext Context) {
  TEscapeTable t;
  const bool html = Context == mcHtml;
  for (int c = 0; c < 0x20; ++c) t.Action[c] = html ? eaReplacement : eaCharRef;
  if (html) {
    t.Action['\t'] = t.Action['\n'] = t.Action['\r'] = eaCopy;
    t.Action[0x7F] = eaReplacement;
    t.Action['"'] = t.Action['\''] = eaEntity;
  } else {
    t.Action[0] = eaDrop;
    if (Context == mcXmlText) t.Action['\t'] = t.Action['\n'] = eaCopy;
    if (Context == mcXmlAttribute) t.Action['"'] = eaEntity;
  }
  t.Action['&'] = t.Action['<'] = t.Action['>'] = eaEntity;
  return t;
}

constexpr TEscapeTable kEscapeTables[] = {MakeTable(mcXmlText), MakeTable(mcXmlAttribute),
                                          MakeTable(mcHtml)};

const char* Entity(unsigned char Ch) {
  switch (Ch) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return "&#39;";
  }
}

}  // namespace

void AppendEscaped(std::string& Out, std::string_view S, TMarkupContext Context) {
  // Most texts need nothing, so the scan is a table lookup per byte and runs are copied whole.
  const auto& action = kEscapeTables[Context].Action;
  size_t start = 0;
  for (size_t i = 0; i < S.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(S[i]);
    if (action[ch] == eaCopy) continue;
    Out.append(S.data() + start, i - start);
    start = i + 1;
    switch (action[ch]) {
      case eaEntity:
        Out += Entity(ch);
        break;
      case eaCharRef: {
        char num[8];
        std::snprintf(num, sizeof num, "&#%u;", ch);
        Out += num;
        break;
      }
      case eaReplacement:
        Out += "\xEF\xBF\xBD";
        break;
      default:
        break;  // dropped
    }
  }
  Out.append(S.data() + start, S.size() - start);
}

}  // namespace qel::rlfiles

// File helpers of the report-list exchange: whole-file reading and write-then-rename saving.
#include "replist/replist_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

}  // namespace qel::rlfiles

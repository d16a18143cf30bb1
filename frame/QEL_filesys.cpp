#include "frame/QEL_filesys.h"

#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/rtl/Exceptions.h"

namespace qel {

bool DirExists(const std::string& Path) {
  if (Path.empty()) return false;
  std::error_code ec;
  return std::filesystem::is_directory(Path, ec);
}

std::string ParentDir(std::string_view Path) {
  auto isSep = [](char c) { return c == '/' || c == '\\'; };
  size_t end = Path.size();
  if (end > 0 && isSep(Path[end - 1])) --end;  // the folder's own trailing separator
  while (end > 0 && !isSep(Path[end - 1])) --end;
  return std::string(Path.substr(0, end));
}

namespace {
// Fills Buf from getrandom(2), falling back to /dev/urandom where the call is missing.
void SecureRandomBytes(unsigned char* Buf, size_t Len) {
  size_t done = 0;
  while (done < Len) {
    const ssize_t n = getrandom(Buf + done, Len - done, 0);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == ENOSYS) break;
    throw EInOutError("InventPassword: no random source available");
  }
  if (done == Len) return;
  const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EInOutError("InventPassword: no random source available");
  while (done < Len) {
    const ssize_t n = ::read(fd, Buf + done, Len - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (!(n < 0 && errno == EINTR)) {
      ::close(fd);
      throw EInOutError("InventPassword: no random source available");
    }
  }
  ::close(fd);
}
}  // namespace

std::string InventPassword(int N) {
  if (N <= 0) return {};
  if (N > kMaxPasswordLength) N = kMaxPasswordLength;
  const size_t k = kPasswordChars.size();
  // Bytes at or above the largest multiple of k are rejected, so every character is equally
  // likely.
  const unsigned limit = static_cast<unsigned>(256 / k * k);
  std::string s;
  s.reserve(N);
  unsigned char buf[64];
  while (static_cast<int>(s.size()) < N) {
    SecureRandomBytes(buf, sizeof buf);
    for (unsigned char b : buf) {
      if (b >= limit) continue;
      s.push_back(kPasswordChars[b % k]);
      if (static_cast<int>(s.size()) == N) break;
    }
  }
  return s;
}

}  // namespace qel

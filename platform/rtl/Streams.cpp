#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>

namespace qel {

namespace {

std::string OsError(int Err) { return std::strerror(Err); }

// The new position of a seek, or -1 when it would lie before the start or overflow.
int64_t SeekTarget(int64_t Offset, TSeekOrigin Origin, int64_t Position, int64_t Size) {
  int64_t base = Origin == soBeginning ? 0 : Origin == soCurrent ? Position : Size;
  int64_t target = 0;
  if (__builtin_add_overflow(base, Offset, &target) || target < 0) return -1;
  return target;
}

[[noreturn]] void SeekError() { throw EStreamError("Stream seek before the start"); }

// Shared by the memory and string streams: both keep their bytes in a contiguous container.
template <class Container>
int64_t ReadFrom(const Container& Data, int64_t& Position, void* Buffer, int64_t Count) {
  int64_t size = static_cast<int64_t>(Data.size());
  if (Count <= 0 || Position >= size) return 0;
  int64_t n = std::min(Count, size - Position);
  std::memcpy(Buffer, Data.data() + Position, static_cast<size_t>(n));
  Position += n;
  return n;
}

// Writing past the end fills the gap with zeros. A write the memory cannot hold writes nothing,
// so WriteBuffer reports it.
template <class Container>
int64_t WriteTo(Container& Data, int64_t& Position, const void* Buffer, int64_t Count) {
  if (Count <= 0) return 0;
  int64_t end = 0;
  if (__builtin_add_overflow(Position, Count, &end)) return 0;
  try {
    if (end > static_cast<int64_t>(Data.size())) Data.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    return 0;
  } catch (const std::length_error&) {
    return 0;
  }
  std::memcpy(Data.data() + Position, Buffer, static_cast<size_t>(Count));
  Position = end;
  return Count;
}

template <class Container>
void Resize(Container& Data, int64_t& Position, int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  try {
    Data.resize(static_cast<size_t>(NewSize));
  } catch (const std::exception&) {
    throw EOutOfMemory("Out of memory");
  }
  if (Position > NewSize) Position = NewSize;
}

}  // namespace

// --- TStream

int64_t TStream::GetSize() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {
  throw EStreamError("The size of a " + ClassName() + " cannot be changed");
}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count < 0 || (Count > 0 && Read(Buffer, Count) != Count))
    throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count < 0 || (Count > 0 && Write(Buffer, Count) != Count))
    throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.GetSize();
  }
  if (Count < 0) throw EReadError("Stream read error");
  constexpr int64_t kChunk = 64 * 1024;
  std::vector<uint8_t> buffer(static_cast<size_t>(std::min(Count, kChunk)));
  int64_t left = Count;
  while (left > 0) {
    int64_t n = std::min(left, kChunk);
    Source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= n;
  }
  return Count;
}

// --- TFileStream

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : FFileName(FileName) {
  // The share bits of the classic modes have no meaning here: POSIX files are not locked.
  const bool create = (Mode & 0xFF00) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenRead:
        flags |= O_RDONLY;
        break;
      case fmOpenWrite:
        flags |= O_WRONLY;
        break;
      case fmOpenReadWrite:
        flags |= O_RDWR;
        break;
      default:
        throw EFOpenError("Cannot open file \"" + FileName + "\". Invalid open mode");
    }
  }
  do {
    FHandle = ::open(FileName.c_str(), flags, 0666);
  } while (FHandle < 0 && errno == EINTR);
  int err = errno;
  if (FHandle >= 0) {
    struct stat st {};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      err = EISDIR;
    }
  }
  if (FHandle < 0) {
    if (create) throw EFCreateError("Cannot create file \"" + FileName + "\". " + OsError(err));
    throw EFOpenError("Cannot open file \"" + FileName + "\". " + OsError(err));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* Buffer, int64_t Count) {
  int64_t done = 0;
  auto* p = static_cast<uint8_t*>(Buffer);
  while (done < Count) {
    ssize_t n =
        ::read(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(Count - done, 1 << 30)));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError("Cannot read file \"" + FFileName + "\". " + OsError(errno));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* Buffer, int64_t Count) {
  int64_t done = 0;
  const auto* p = static_cast<const uint8_t*>(Buffer);
  while (done < Count) {
    ssize_t n =
        ::write(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(Count - done, 1 << 30)));
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EWriteError("Cannot write file \"" + FFileName + "\". " + OsError(errno));
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(FHandle, static_cast<off_t>(Offset), whence);
  if (r < 0) {
    if (errno == EINVAL) SeekError();
    throw EStreamError("Cannot seek in file \"" + FFileName + "\". " + OsError(errno));
  }
  return static_cast<int64_t>(r);
}

void TFileStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) throw EStreamError("Invalid stream size");
  int64_t pos = GetPosition();
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0)
    throw EStreamError("Cannot change the size of file \"" + FFileName + "\". " + OsError(errno));
  if (pos > NewSize) Seek(NewSize, soBeginning);
}

// --- TMemoryStream

int64_t TMemoryStream::Read(void* Buffer, int64_t Count) {
  return ReadFrom(FData, FPosition, Buffer, Count);
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  return WriteTo(FData, FPosition, Buffer, Count);
}

int64_t TMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t target = SeekTarget(Offset, Origin, FPosition, GetSize());
  if (target < 0) SeekError();
  FPosition = target;
  return FPosition;
}

void TMemoryStream::SetSize(int64_t NewSize) { Resize(FData, FPosition, NewSize); }

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  // Read into a fresh buffer first so a failed load leaves the stream as it was.
  TMemoryStream loaded;
  Stream.SetPosition(0);
  int64_t size = Stream.GetSize();
  loaded.SetSize(size);
  if (size > 0) Stream.ReadBuffer(loaded.FData.data(), size);
  FData.swap(loaded.FData);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& Stream) {
  if (!FData.empty()) Stream.WriteBuffer(FData.data(), GetSize());
}

void TMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream file(FileName, fmCreate);
  SaveToStream(file);
}

// --- TStringStream

int64_t TStringStream::Read(void* Buffer, int64_t Count) {
  return ReadFrom(FData, FPosition, Buffer, Count);
}

int64_t TStringStream::Write(const void* Buffer, int64_t Count) {
  return WriteTo(FData, FPosition, Buffer, Count);
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int64_t target = SeekTarget(Offset, Origin, FPosition, GetSize());
  if (target < 0) SeekError();
  FPosition = target;
  return FPosition;
}

void TStringStream::SetSize(int64_t NewSize) { Resize(FData, FPosition, NewSize); }

std::string TStringStream::ReadString(int64_t Count) {
  int64_t size = GetSize();
  if (Count <= 0 || FPosition >= size) return {};
  int64_t n = std::min(Count, size - FPosition);
  std::string s = FData.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
  FPosition += n;
  return s;
}

void TStringStream::WriteString(const std::string& S) {
  WriteBuffer(S.data(), static_cast<int64_t>(S.size()));
}

}  // namespace qel

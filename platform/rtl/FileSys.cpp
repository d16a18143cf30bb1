#include "platform/rtl/FileSys.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace qel {

struct TSearchState {
  std::string Dir;
  std::vector<TSearchRec> Entries;
  size_t Next = 0;
};

namespace {

bool IsDelimiter(char c) { return c == '/' || c == '\\'; }

size_t LastDelimiter(const std::string& S) {
  size_t p = S.find_last_of("/\\");
  return p;
}

bool StatPath(const std::string& Path, struct stat& St) {
  return !Path.empty() && ::stat(Path.c_str(), &St) == 0;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t CodePointEnd(const std::string& S, size_t I) {
  ++I;
  while (I < S.size() && (static_cast<unsigned char>(S[I]) & 0xC0) == 0x80) ++I;
  return I;
}

TDateTime FromTimeT(time_t T) {
  tm local{};
  if (!localtime_r(&T, &local)) return 0;
  TDateTime d = 0, t = 0;
  if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, d)) return 0;
  TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0, t);
  return ComposeDateTime(d, t);
}

int Advance(TSearchRec& F) {
  TSearchState* st = F.FindHandle.get();
  if (!st || st->Next >= st->Entries.size()) return ENOENT;
  std::shared_ptr<TSearchState> keep = F.FindHandle;
  F = st->Entries[st->Next++];
  F.FindHandle = keep;
  return 0;
}

}  // namespace

bool FileExists(const std::string& FileName) {
  struct stat st {};
  return StatPath(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Dir) {
  struct stat st {};
  return StatPath(Dir, st) && S_ISDIR(st.st_mode);
}

bool ForceDirectories(const std::string& Dir) {
  std::string d = ExcludeTrailingPathDelimiter(Dir);
  if (d.empty()) {
    if (!Dir.empty()) return DirectoryExists(Dir);  // the root
    throw EInOutError("Cannot create directory");
  }
  if (DirectoryExists(d)) return true;
  std::string parent = ExtractFileDir(d);
  if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
  return CreateDir(d) || DirectoryExists(d);
}

bool CreateDir(const std::string& Dir) { return !Dir.empty() && ::mkdir(Dir.c_str(), 0777) == 0; }

bool RemoveDir(const std::string& Dir) { return !Dir.empty() && ::rmdir(Dir.c_str()) == 0; }

bool DeleteFile(const std::string& FileName) {
  return !FileName.empty() && ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // The file system cannot refuse the replacement itself: check first.
  struct stat st {};
  if (::lstat(NewName.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

std::string GetCurrentDir() {
  std::string buf(256, '\0');
  while (!::getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
  buf.resize(std::char_traits<char>::length(buf.c_str()));
  return buf;
}

bool SetCurrentDir(const std::string& Dir) { return !Dir.empty() && ::chdir(Dir.c_str()) == 0; }

bool MatchesMask(const std::string& Name, const std::string& Mask) {
  // Iterative wildcard matching with one backtrack point: linear in practice, never recursive.
  size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
  while (n < Name.size()) {
    if (m < Mask.size() && Mask[m] == '*') {
      starM = ++m;
      starN = n;
    } else if (m < Mask.size() && Mask[m] == '?') {
      ++m;
      n = CodePointEnd(Name, n);
    } else if (m < Mask.size() && Lower(Mask[m]) == Lower(Name[n])) {
      ++m;
      ++n;
    } else if (starM != std::string::npos) {
      m = starM;
      n = starN = CodePointEnd(Name, starN);
    } else {
      return false;
    }
  }
  while (m < Mask.size() && Mask[m] == '*') ++m;
  // "*.*" also matches a name without a dot.
  if (m + 2 == Mask.size() && Mask[m] == '.' && Mask[m + 1] == '*') return true;
  if (m + 1 == Mask.size() && Mask[m] == '.' && Name.find('.') == std::string::npos) return true;
  return m == Mask.size();
}

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  auto state = std::make_shared<TSearchState>();
  std::string dir = ExtractFilePath(Path);
  std::string mask = ExtractFileName(Path);
  if (mask.empty()) return ENOENT;
  state->Dir = dir;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return errno;
  const int excluded = ~Attr & (faHidden | faSysFile | faDirectory | faVolumeID);
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == ".." || !MatchesMask(name, mask)) continue;
    std::string full = dir + name;
    struct stat st {};
    int attr = 0;
    if (::lstat(full.c_str(), &st) != 0) continue;  // vanished meanwhile
    if (S_ISLNK(st.st_mode)) {
      attr |= faSymLink;
      struct stat target {};
      if (::stat(full.c_str(), &target) == 0) st = target;  // describe what the link names
    }
    if (S_ISDIR(st.st_mode))
      attr |= faDirectory;
    else if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
      attr |= faSysFile;  // devices, pipes, sockets
    else
      attr |= faArchive;
    if (name[0] == '.') attr |= faHidden;
    if ((st.st_mode & 0222) == 0) attr |= faReadOnly;
    if (attr & excluded) continue;
    TSearchRec r;
    r.Name = name;
    r.Size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
    r.Attr = attr;
    r.Time = FromTimeT(st.st_mtime);
    state->Entries.push_back(std::move(r));
  }
  ::closedir(d);
  std::sort(state->Entries.begin(), state->Entries.end(),
            [](const TSearchRec& a, const TSearchRec& b) { return a.Name < b.Name; });
  F.FindHandle = state;
  int r = Advance(F);
  if (r != 0) FindClose(F);
  return r;
}

int FindNext(TSearchRec& F) { return Advance(F); }

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

std::string ExtractFilePath(const std::string& FileName) {
  size_t p = LastDelimiter(FileName);
  return p == std::string::npos ? std::string() : FileName.substr(0, p + 1);
}

std::string ExtractFileDir(const std::string& FileName) {
  size_t p = LastDelimiter(FileName);
  if (p == std::string::npos) return {};
  if (p == 0) return FileName.substr(0, 1);  // the root stays "/"
  return FileName.substr(0, p);
}

std::string ExtractFileName(const std::string& FileName) {
  size_t p = LastDelimiter(FileName);
  return p == std::string::npos ? FileName : FileName.substr(p + 1);
}

std::string ExtractFileExt(const std::string& FileName) {
  size_t p = FileName.find_last_of("./\\");
  if (p == std::string::npos || FileName[p] != '.') return {};
  return FileName.substr(p);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  size_t p = FileName.find_last_of("./\\");
  if (p == std::string::npos || FileName[p] != '.') return FileName + Extension;
  return FileName.substr(0, p) + Extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& Path) {
  if (!Path.empty() && IsDelimiter(Path.back())) return Path;
  return Path + '/';
}

std::string ExcludeTrailingPathDelimiter(const std::string& Path) {
  if (!Path.empty() && IsDelimiter(Path.back())) return Path.substr(0, Path.size() - 1);
  return Path;
}

std::string ExpandFileName(const std::string& FileName) {
  if (FileName.empty()) return {};
  std::string path = FileName;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path[0] != '/') path = IncludeTrailingPathDelimiter(GetCurrentDir()) + path;
  std::vector<std::string> parts;
  size_t i = 0;
  while (i <= path.size()) {
    size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string r;
  for (const std::string& p : parts) r += "/" + p;
  if (r.empty()) r = "/";
  // A trailing delimiter names a directory; keep it.
  if (IsDelimiter(FileName.back()) && r != "/") r += '/';
  return r;
}

}  // namespace qel

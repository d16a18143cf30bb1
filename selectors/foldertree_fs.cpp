// TFolderTree's view of the file system: the path style, listing and sorting the subfolders of
// a folder, and the test that keeps symbolic links from looping.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "frame/QEL_filesys.h"
#include "platform/rtl/FileSys.h"
#include "platform/rtl/StrUtils.h"
#include "selectors/QEL_FolderTree.h"

namespace qel {

// ---------------------------------------------------------------- path style

namespace {

#ifdef _WIN32
constexpr TFolderPathStyle kNativeStyle{'\\', '/', false};
#else
constexpr TFolderPathStyle kNativeStyle{'/', 0, true};
#endif

bool IsDriveSpec(std::string_view S) {
  return S.size() >= 2 && S[1] == ':' &&
         ((S[0] >= 'A' && S[0] <= 'Z') || (S[0] >= 'a' && S[0] <= 'z'));
}

}  // namespace

const TFolderPathStyle& NativePathStyle() { return kNativeStyle; }

std::string TFolderPathStyle::RootFor(const std::string& CurrentDir) const {
  if (Separator == '/') return "/";
  const char drive = IsDriveSpec(CurrentDir) ? static_cast<char>(CurrentDir[0] & ~0x20) : 'C';
  return std::string(1, drive) + ":" + Separator;
}

std::string TFolderPathStyle::WithTrailing(std::string_view Path) const {
  std::string s(Path);
  if (s.empty() || s.back() != Separator) s += Separator;
  return s;
}

std::string TFolderPathStyle::WithoutTrailing(std::string_view Path) const {
  std::string s(Path);
  while (s.size() > 1 && s.back() == Separator) {
    if (Separator == '\\' && s.size() == 3 && IsDriveSpec(s)) break;  // "C:\" stays
    s.pop_back();
  }
  return s;
}

bool TFolderPathStyle::IsAbsolute(std::string_view Name) const {
  if (Name.empty()) return false;
  if (Name[0] == Separator || (OtherSeparator && Name[0] == OtherSeparator)) return true;
  return Separator == '\\' && IsDriveSpec(Name);
}

std::string TFolderPathStyle::Folded(std::string_view Path) const {
  return CaseSensitive ? std::string(Path) : LowerCase(std::string(Path));
}

// ---------------------------------------------------------------- loops

namespace {

// The real location of Path (links resolved), "" when it cannot be found.
std::string RealPath(const std::string& Path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::canonical(Path, ec);
  return ec ? std::string() : p.string();
}

// Whether Above is Below or one of its parent folders (both real paths).
bool IsAtOrAbove(const std::string& Above, const std::string& Below) {
  if (Above == Below) return true;
  std::string prefix = Above;
  if (prefix.empty() || prefix.back() != kNativeStyle.Separator) prefix += kNativeStyle.Separator;
  return Below.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool IsFolderLoop(const std::string& Path) {
  const TFolderPathStyle& st = kNativeStyle;
  const std::string path = st.WithoutTrailing(Path);
  const std::string real = RealPath(path);
  if (real.empty()) return false;
  // The shown folders above it, from its parent up to the root.
  const std::string root = st.RootFor(path);
  std::string up = path;
  bool parent = true;
  while (up.size() > root.size()) {
    const size_t cut = up.find_last_of(st.Separator);
    if (cut == std::string::npos) break;
    up = cut + 1 <= root.size() ? root : up.substr(0, cut);
    const std::string r = RealPath(up);
    if (r.empty()) continue;
    if (r == real) return true;  // it is one of the folders on its own path
    // A link to a folder at or above its parent's real place leads back into that parent.
    if (parent && IsAtOrAbove(real, r)) return true;
    parent = false;
  }
  return false;
}

bool HasSubFolder(const std::string& Dir) {
  DIR* d = ::opendir(Dir.c_str());
  if (!d) return false;  // unreadable: shown as a leaf
  const std::string base = kNativeStyle.WithTrailing(Dir);
  bool found = false;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    if (e->d_type == DT_DIR) {
      found = true;
      break;
    }
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      struct stat st {};
      if (::stat((base + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
        found = true;
        break;
      }
    }
  }
  ::closedir(d);
  return found;
}

// ---------------------------------------------------------------- listing

void TFolderTree::LoadDirNamesAndSort(const std::string& Dir, TStrings* List) {
  if (!List) return;
  const TFolderPathStyle& st = kNativeStyle;
  const std::string dir = st.WithTrailing(Dir);
  struct TEntry {
    std::string Key, Name;
    TObject* Object;
  };
  std::vector<TEntry> entries;
  TSearchRec sr;
  if (FindFirst(dir + "*.*", faDirectory, sr) != 0) return;
  do {
    if ((sr.Attr & faDirectory) == 0 || sr.Name.empty() || sr.Name[0] == '.') continue;
    const std::string full = dir + sr.Name;
    TObject* mark = nullptr;
    // A link that loops back is a leaf; so is a folder that cannot be read.
    const bool loop = (sr.Attr & faSymLink) != 0 && IsFolderLoop(full);
    if (!loop && HasSubFolder(full)) mark = kHasSubFolders;
    entries.push_back({LowerCase(sr.Name), sr.Name, mark});
  } while (FindNext(sr) == 0);
  FindClose(sr);
  // Whatever the list held before is sorted with the new names.
  for (int i = List->Count() - 1; i >= 0; --i)
    entries.insert(entries.begin(), {LowerCase(List->Get(i)), List->Get(i), List->GetObject(i)});
  // Stable: names equal in lower case keep their order, as exchanging neighbours would.
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TEntry& A, const TEntry& B) { return A.Key < B.Key; });
  List->BeginUpdate();
  List->Clear();
  for (const TEntry& e : entries) List->AddObject(e.Name, e.Object);
  List->EndUpdate();
}

bool TFolderTree::GetSubDirs(const std::string& Path, TStrings* List) {
  if (!DirExists(Path)) return false;
  LoadDirNamesAndSort(Path, List);
  return List && List->Count() > 0;
}

bool TFolderTree::GetSubDirs(TTreeNode* Node, TStrings* List) {
  if (!Node) return false;
  return GetSubDirs(PathOfNode(Node), List);
}

}  // namespace qel

#pragma once
// File-system helpers of the classic runtime. Paths use "/"; the path-splitting helpers also
// accept "\" as a separator. Functions that report success return false on failure and leave
// errno set; nothing here raises except ForceDirectories with an empty name.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/DateTime.h"

namespace qel {

bool FileExists(const std::string& FileName);  // exists and is not a directory
bool DirectoryExists(const std::string& Dir);
// Creates Dir and any missing parents; true when the directory exists afterwards. Raises
// EInOutError ("Cannot create directory") for an empty name.
bool ForceDirectories(const std::string& Dir);
bool CreateDir(const std::string& Dir);
bool RemoveDir(const std::string& Dir);        // only an empty directory
bool DeleteFile(const std::string& FileName);  // never a directory
// Never replaces an existing NewName (the classic rule); false then.
bool RenameFile(const std::string& OldName, const std::string& NewName);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& Dir);

// File attributes as the classic runtime numbers them. A name starting with "." is hidden; a
// file nobody may write is read-only.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faSymLink = 0x40;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
  std::string Name;  // the name alone, without the path
  int64_t Size = 0;
  int Attr = 0;
  TDateTime Time = 0;  // last modification, local time
  // The rest of the search, owned here; FindClose releases it.
  std::shared_ptr<struct TSearchState> FindHandle;
};

// Searches Path ("dir/*.txt", "*.*", "dir/name") for entries whose attributes are allowed by
// Attr: normal files always match; hidden entries, directories and special files only when
// Attr holds faHidden, faDirectory or faSysFile. "*" matches any run of characters (so "*.*"
// matches every name, with or without a dot), "?" one character; matching ignores ASCII case.
// "." and ".." are never returned. The entries come in name order. Returns 0 when an entry was
// found, otherwise an error number (ENOENT when nothing matches).
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);
// The mask matching used by FindFirst.
bool MatchesMask(const std::string& Name, const std::string& Mask);

std::string ExtractFilePath(const std::string& FileName);  // "a/b/c.txt" -> "a/b/"
std::string ExtractFileDir(const std::string& FileName);   // "a/b/c.txt" -> "a/b"
std::string ExtractFileName(const std::string& FileName);  // "a/b/c.txt" -> "c.txt"
std::string ExtractFileExt(const std::string& FileName);   // "a/b/c.txt" -> ".txt"
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
std::string IncludeTrailingPathDelimiter(const std::string& Path);
std::string ExcludeTrailingPathDelimiter(const std::string& Path);
// The absolute path with "." and ".." resolved against the current directory (no symbolic
// links are followed); "\" becomes "/".
std::string ExpandFileName(const std::string& FileName);

}  // namespace qel

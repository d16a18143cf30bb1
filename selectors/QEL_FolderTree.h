#pragma once
// TFolderTree: a tree view of the folders of the file system, loaded lazily. A folder gets its
// children only when it is expanded; until then one placeholder child gives it an expand
// button when it has subfolders. The tree keeps the path of the selected folder and reports
// its changes, and can select a path, refresh itself, create a subfolder and remove an empty
// selected folder.
//
// Paths go through one path style (TFolderPathStyle): the root "/" and the separator "/" on
// POSIX systems, a drive root such as "C:\" with "\" on Windows. Hidden folders (names
// starting with ".") are not shown; unreadable folders show as leaves; a symbolic link to a
// folder is shown, but one that leads back to a folder above it is a leaf, so no branch loops.
//
// Where the code lives: foldertree_fs.cpp (the path style, listing and sorting folders, the loop
// test), foldertree_main.cpp (the tree: expansion, selection, the operations),
// foldertree_register.cpp (published properties). docs/selectors.md has the decisions.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/Strings.h"
#include "platform/widgets/ComCtrls.h"

namespace qel {

// The one place that knows how this system writes folder paths.
struct TFolderPathStyle {
  char Separator;       // '/' or '\'
  char OtherSeparator;  // the one a user may type for it ('\' is no separator on POSIX: 0)
  bool CaseSensitive;   // whether two names differing in case are two folders
  // The root of the tree for a current directory: "/" or the drive root "C:\".
  std::string RootFor(const std::string& CurrentDir) const;
  // Path with one separator at the end.
  std::string WithTrailing(std::string_view Path) const;
  // Path without separators at the end (a root keeps its own).
  std::string WithoutTrailing(std::string_view Path) const;
  // Whether Name is an absolute path (a leading separator, a drive).
  bool IsAbsolute(std::string_view Name) const;
  // The form in which two paths are compared.
  std::string Folded(std::string_view Path) const;
};
// The style of the system the program runs on.
const TFolderPathStyle& NativePathStyle();

// The marker a folder's list entry carries when the folder has subfolders of its own.
inline TObject* const kHasSubFolders = reinterpret_cast<TObject*>(intptr_t{-1});
// The data of a node whose children have been listed.
inline void* const kFolderLoaded = reinterpret_cast<void*>(uintptr_t{0xA5F016ED});
// The text of the placeholder child.
inline constexpr const char* kPlaceholderText = "Child";

// Whether the folder at Path (as the tree shows it) leads back to a folder above it: its real
// location is that of one of the folders on its path, or lies above its parent's. Such a
// folder is shown as a leaf.
bool IsFolderLoop(const std::string& Path);
// Whether the folder Dir has a shown subfolder (one not starting with "."); false when it
// cannot be read.
bool HasSubFolder(const std::string& Dir);

class TFolderTree : public TCustomTreeView {
 public:
  explicit TFolderTree(TComponent* AOwner);
  ~TFolderTree() override;
  std::string ClassName() const override { return "TFolderTree"; }
  void Loaded() override;

  // The path of the selected folder, always ending in the separator.
  const std::string& GetCurrentPath() const { return FCurrentPath; }

  // Clears the tree and adds the root with one placeholder.
  void BuildMainTree();
  // Whether the folder exists and has subfolders; List gets them (see LoadDirNamesAndSort).
  bool GetSubDirs(const std::string& Path, TStrings* List);
  bool GetSubDirs(TTreeNode* Node, TStrings* List);
  // Adds the shown subfolders of Dir to List, sorted by their lower-case names (names that
  // differ only in case keep the order of the listing); a folder with subfolders of its own
  // carries kHasSubFolders as its object. List is left as it was when Dir cannot be read.
  void LoadDirNamesAndSort(const std::string& Dir, TStrings* List);
  // Rebuilds the tree down to Path, expands the folders on the way and selects the deepest
  // one shown. False (nothing changed) when Path is no folder.
  bool SelectPath(const std::string& Path);
  // Rebuilds the tree down to the current path or, when that has gone, its nearest existing
  // parent.
  bool RefreshTree();
  // Creates Name (nested folders separated by the separator) in the selected folder and
  // selects it. Refuses names that could leave the selected folder: a ".." part, an absolute
  // path, control characters and the characters " < > |.
  bool MakeSubFolder(const std::string& Name);
  // Removes the selected folder when it is empty (never the root, never recursively) and
  // selects its parent.
  bool RemoveSelectedFolder();
  // Back to the root, collapsed.
  void Reset();
  // The folder path of Node, ending in the separator ("" for nullptr).
  std::string PathOfNode(const TTreeNode* Node) const;
  void DirHasChanged();

  // Published.
  TColor GetColor() const { return FEnabledColor; }
  void SetColor(TColor Value);
  void SetEnabled(bool Value) override;
  bool GetOldTreeStyle() const { return FOldTreeStyle; }
  void SetUseOldStyle(bool Value) { FOldTreeStyle = Value; }

  TNotifyEvent OnDirChanged;

 protected:
  bool CanExpand(TTreeNode* Node) override;
  void Change(TTreeNode* Node) override;
  void CreateWnd() override;

 private:
  // Lists Node's folder into its children (once; the loaded marker says it was done).
  void LoadChildren(TTreeNode* Node);
  TTreeNode* Root() const;

  std::string FCurrentPath;
  TColor FEnabledColor = clWindow;
  bool FOldTreeStyle = true;
  int FDirChanges = 0;  // counts OnDirChanged reports, so one change is reported once
};

// Registers TFolderTree with the property registry. Idempotent.
void RegisterFolderTreeClasses();

}  // namespace qel

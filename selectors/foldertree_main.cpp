// TFolderTree: lazy expansion, the current path and its change event, and the operations on
// the tree (selecting a path, refreshing, creating and removing folders).
#include <vector>

#include "frame/QEL_filesys.h"
#include "frame/QEL_stringl.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/FileSys.h"
#include "selectors/QEL_FolderTree.h"

namespace qel {

namespace {

// Puts the hourglass up while a folder is read and the previous cursor back afterwards, also
// when reading throws.
class THourGlass {
 public:
  THourGlass() : FOld(Screen->GetCursor()) { Screen->SetCursor(crHourGlass); }
  ~THourGlass() { Screen->SetCursor(FOld); }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

 private:
  TCursor FOld;
};

// Path made absolute against the current folder, with empty and "." parts dropped and ".."
// taking away the part before it, in the native style.
std::string NormalizedPath(const std::string& Path) {
  const TFolderPathStyle& st = NativePathStyle();
  std::string p = Path;
  if (st.OtherSeparator)
    for (char& c : p)
      if (c == st.OtherSeparator) c = st.Separator;
  if (!st.IsAbsolute(p)) p = st.WithTrailing(GetCurrentDir()) + p;
  const std::string root = st.RootFor(p);
  std::vector<std::string> parts;
  Tokenize(std::string_view(p).substr(root.size() - 1), st.Separator, parts);
  std::vector<std::string> kept;
  for (const std::string& s : parts) {
    if (s.empty() || s == ".") continue;
    if (s == "..") {
      if (!kept.empty()) kept.pop_back();
      continue;
    }
    kept.push_back(s);
  }
  std::string out = root;
  for (const std::string& s : kept) out += s + st.Separator;
  return out;
}

}  // namespace

TFolderTree::TFolderTree(TComponent* AOwner) : TCustomTreeView(AOwner) {
  SetReadOnly(true);
  FEnabledColor = TCustomTreeView::GetColor();
  BuildMainTree();
}

TFolderTree::~TFolderTree() = default;

void TFolderTree::Loaded() {
  TCustomTreeView::Loaded();
  // Black would hide the black names.
  SetColor(FEnabledColor == clBlack ? clWhite : FEnabledColor);
  FullCollapse();
}

void TFolderTree::CreateWnd() {
  TCustomTreeView::CreateWnd();
  // The first window starts at the root; a path chosen before keeps its place.
  if (FCurrentPath.empty()) Reset();
}

TTreeNode* TFolderTree::Root() const { return GetItems()->GetFirstNode(); }

// ---------------------------------------------------------------- colour and enabling

void TFolderTree::SetColor(TColor Value) {
  FEnabledColor = Value;
  if (GetEnabled()) TCustomTreeView::SetColor(Value);
}

void TFolderTree::SetEnabled(bool Value) {
  TCustomTreeView::SetColor(Value ? FEnabledColor : clBtnFace);
  TCustomTreeView::SetEnabled(Value);
}

// ---------------------------------------------------------------- nodes

void TFolderTree::BuildMainTree() {
  TTreeNodes* items = GetItems();
  items->BeginUpdate();
  items->Clear();
  TTreeNode* root = items->AddChild(nullptr, NativePathStyle().RootFor(GetCurrentDir()));
  items->AddChild(root, kPlaceholderText);
  items->EndUpdate();
}

std::string TFolderTree::PathOfNode(const TTreeNode* Node) const {
  if (!Node) return {};
  const TFolderPathStyle& st = NativePathStyle();
  std::vector<const TTreeNode*> chain;
  for (const TTreeNode* n = Node; n; n = n->GetParent()) chain.push_back(n);
  std::string path;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    path = it == chain.rbegin() ? (*it)->GetText() : st.WithTrailing(path) + (*it)->GetText();
  return st.WithTrailing(path);
}

void TFolderTree::LoadChildren(TTreeNode* Node) {
  if (Node->GetData() == kFolderLoaded) return;
  const std::string path = PathOfNode(Node);
  TStringList list;
  // A folder reached through a link back to one above it is a leaf: its branch would repeat.
  if (Node->GetParent() == nullptr || !IsFolderLoop(path)) LoadDirNamesAndSort(path, &list);
  TTreeNodes* items = GetItems();
  items->BeginUpdate();
  Node->DeleteChildren();
  if (list.Count() > 0) {
    Node->SetData(kFolderLoaded);
    for (int i = 0; i < list.Count(); ++i) {
      TTreeNode* child = items->AddChild(Node, list.Get(i));
      if (list.GetObject(i) == kHasSubFolders) items->AddChild(child, kPlaceholderText);
    }
  }
  items->EndUpdate();
}

bool TFolderTree::CanExpand(TTreeNode* Node) {
  if (!ComponentState().Contains(csDesigning)) {
    THourGlass wait;
    LoadChildren(Node);
  }
  return TCustomTreeView::CanExpand(Node);
}

void TFolderTree::Change(TTreeNode* Node) {
  TTreeNode* sel = GetSelected();
  if (!sel) {
    // The tree is being cleared or rebuilt: the path stays until a folder is selected again.
    TCustomTreeView::Change(Node);
    return;
  }
  Click();
  const std::string old = FCurrentPath;
  FCurrentPath = PathOfNode(sel);
  TCustomTreeView::Change(Node);
  if (FCurrentPath != old) DirHasChanged();
}

void TFolderTree::DirHasChanged() {
  ++FDirChanges;
  if (OnDirChanged) OnDirChanged(this);
}

// ---------------------------------------------------------------- operations

bool TFolderTree::SelectPath(const std::string& Path) {
  if (Path.empty()) return false;
  const TFolderPathStyle& st = NativePathStyle();
  const std::string path = NormalizedPath(Path);
  if (!DirExists(path)) return false;
  const std::string wanted = st.Folded(path);
  BuildMainTree();
  std::vector<std::string> parts;
  const int n = Tokenize(path, st.Separator, parts);
  TTreeNode* matched = nullptr;
  std::string prefix;
  for (int k = 1; k <= n - 1; ++k) {
    prefix += parts[static_cast<size_t>(k - 1)] + st.Separator;
    const std::string folded = wanted.substr(0, prefix.size());
    // Only the children of the last folder matched can carry the longer prefix.
    TTreeNode* found = nullptr;
    for (TTreeNode* c = matched ? matched->GetFirstChild() : Root(); c; c = c->GetNextSibling())
      if (st.Folded(PathOfNode(c)) == folded) {
        found = c;
        break;
      }
    if (!found) break;
    matched = found;
    matched->Expand(false);
  }
  if (matched) SetSelected(matched);
  if (CanFocus()) SetFocus();
  return true;
}

bool TFolderTree::RefreshTree() {
  const std::string kept = FCurrentPath;
  const int reported = FDirChanges;
  std::string path = kept;
  bool ok = SelectPath(path);
  while (!ok && !path.empty()) {
    path = ParentDir(path);
    ok = SelectPath(path);
  }
  // Selecting the ancestor has already told the host when the path moved.
  if (FCurrentPath != kept && FDirChanges == reported) DirHasChanged();
  return ok;
}

bool TFolderTree::MakeSubFolder(const std::string& Name) {
  TTreeNode* sel = GetSelected();
  if (!sel) return false;
  const TFolderPathStyle& st = NativePathStyle();
  for (unsigned char c : Name)
    if (c < 32 || c == '"' || c == '<' || c == '>' || c == '|') return false;
  std::string name = Name;
  if (st.OtherSeparator) {
    for (char& c : name)
      if (c == st.OtherSeparator) c = st.Separator;
  } else if (name.find('\\') != std::string::npos) {
    return false;  // a separator elsewhere; here it would make a strangely named folder
  }
  if (st.IsAbsolute(name) || (st.Separator == '\\' && name.find(':') != std::string::npos))
    return false;
  while (!name.empty() && name.back() == st.Separator) name.pop_back();
  std::vector<std::string> parts;
  Tokenize(name, st.Separator, parts);
  bool any = false;
  for (const std::string& p : parts) {
    if (p == "..") return false;  // nothing is ever made outside the selected folder
    any = any || (!p.empty() && p != ".");
  }
  if (!any) return false;
  const std::string target = PathOfNode(sel) + name;
  bool made = false;
  try {
    made = ForceDirectories(target);
  } catch (const Exception&) {
    made = false;
  }
  if (!made) return false;
  SelectPath(target);
  return true;
}

bool TFolderTree::RemoveSelectedFolder() {
  TTreeNode* sel = GetSelected();
  if (!sel || !sel->GetParent()) return false;
  const TFolderPathStyle& st = NativePathStyle();
  const std::string parent = PathOfNode(sel->GetParent());
  // RemoveDir takes only an empty folder, and never what a link points to.
  const bool ok = RemoveDir(st.WithoutTrailing(PathOfNode(sel)));
  Application->ProcessMessages();
  if (ok && SelectPath(parent))
    if (TTreeNode* p = GetSelected()) p->SetData(nullptr);  // listed again when next opened
  return ok;
}

void TFolderTree::Reset() {
  const std::string kept = FCurrentPath;
  FCurrentPath = NativePathStyle().RootFor(GetCurrentDir());
  BuildMainTree();
  FullCollapse();
  if (FCurrentPath != kept) DirHasChanged();
}

}  // namespace qel

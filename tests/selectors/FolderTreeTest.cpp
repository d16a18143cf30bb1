// TFolderTree on a temporary folder tree: listing and sorting, placeholders and lazy
// expansion, selecting paths, creating and removing folders (and refusing what could escape),
// refreshing after an outside deletion, symbolic-link loops, unreadable folders, colours and a
// golden picture.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/headless/Headless.h"
#include "platform/controls/FormFiles.h"
#include "platform/controls/Forms.h"
#include "platform/controls/Properties.h"
#include "platform/rtl/FileSys.h"
#include "selectors/QEL_FolderTree.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

// A folder tree under a fresh temporary folder that everybody may read, removed afterwards:
//   alpha/ (a1/, a2/)   Beta/ (inner/)   beta/   Gamma/   empty/ (a file only)   .hidden/
class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetHeadlessApplication();
    char tmpl[] = "/tmp/qel-foldertree-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    Base = tmpl;
    ::chmod(Base.c_str(), 0755);
    for (const char* d :
         {"alpha/a1", "alpha/a2", "Beta/inner", "beta", "Gamma", "empty", ".hidden"})
      fs::create_directories(Base + "/" + d);
    std::ofstream(Base + "/empty/file.txt") << "x";
    std::ofstream(Base + "/note.txt") << "x";
    Tree = std::make_unique<TFolderTree>(nullptr);
    Tree->OnDirChanged = [this](TObject*) { Changes.push_back(Tree->GetCurrentPath()); };
  }
  void TearDown() override {
    Tree.reset();
    std::error_code ec;
    fs::permissions(Base, fs::perms::all, ec);
    for (auto& e :
         fs::recursive_directory_iterator(Base, fs::directory_options::skip_permission_denied, ec))
      if (!e.is_symlink())
        fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(Base, ec);
    ResetHeadlessApplication();
  }
  std::string P(const std::string& Rel = "") const { return Base + "/" + Rel; }
  // The child of Node named Text, or nullptr.
  static TTreeNode* Child(TTreeNode* Node, const std::string& Text) {
    for (TTreeNode* c = Node ? Node->GetFirstChild() : nullptr; c; c = c->GetNextSibling())
      if (c->GetText() == Text) return c;
    return nullptr;
  }
  static std::vector<std::string> Texts(TTreeNode* Node) {
    std::vector<std::string> t;
    for (TTreeNode* c = Node->GetFirstChild(); c; c = c->GetNextSibling())
      t.push_back(c->GetText());
    return t;
  }
  std::string Base;
  std::unique_ptr<TFolderTree> Tree;
  std::vector<std::string> Changes;
};

using V = std::vector<std::string>;

TEST_F(FolderTreeTest, ListingSortsByLowerCaseKeepsCaseTwinsInOrderAndMarksSubfolders) {
  TStringList list;
  Tree->LoadDirNamesAndSort(Base, &list);
  // Byte order would put Beta, Gamma before alpha; equal lower-case names keep the listing's
  // order (Beta before beta).
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(V({list.Get(0), list.Get(1), list.Get(2), list.Get(3), list.Get(4)}),
            (V{"alpha", "Beta", "beta", "empty", "Gamma"}));
  EXPECT_EQ(list.GetObject(0), kHasSubFolders);
  EXPECT_EQ(list.GetObject(1), kHasSubFolders);
  EXPECT_EQ(list.GetObject(2), nullptr);
  EXPECT_EQ(list.GetObject(3), nullptr);  // only a file and no "." folders count
  TStringList none;
  EXPECT_FALSE(Tree->GetSubDirs(P("missing"), &none));
  EXPECT_FALSE(Tree->GetSubDirs(P("beta"), &none));
  EXPECT_TRUE(Tree->GetSubDirs(P("alpha"), &none));
  EXPECT_EQ(none.Count(), 2);
}

TEST_F(FolderTreeTest, PlaceholdersUntilExpandedThenTheFoldersLoadOnce) {
  ASSERT_TRUE(Tree->SelectPath(Base));
  TTreeNode* sel = Tree->GetSelected();
  ASSERT_NE(sel, nullptr);
  EXPECT_EQ(Tree->GetCurrentPath(), Base + "/");
  EXPECT_EQ(Tree->PathOfNode(sel), Base + "/");
  EXPECT_EQ(Tree->Items()->GetFirstNode()->GetText(), "/");
  EXPECT_EQ(Texts(sel), (V{"alpha", "Beta", "beta", "empty", "Gamma"}));
  EXPECT_EQ(sel->GetData(), kFolderLoaded);
  TTreeNode* alpha = Child(sel, "alpha");
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(Texts(alpha), (V{kPlaceholderText}));
  EXPECT_NE(alpha->GetData(), kFolderLoaded);
  EXPECT_EQ(Child(sel, "beta")->GetCount(), 0);  // no subfolders: no button
  EXPECT_FALSE(Child(sel, "empty")->GetHasChildren());
  // A folder made now appears only after the branch is read again.
  fs::create_directories(P("alpha/a3"));
  alpha->Expand(false);
  EXPECT_EQ(Texts(alpha), (V{"a1", "a2", "a3"}));
  EXPECT_EQ(alpha->GetData(), kFolderLoaded);
  fs::create_directories(P("alpha/a4"));
  alpha->Collapse(false);
  alpha->Expand(false);
  EXPECT_EQ(Texts(alpha), (V{"a1", "a2", "a3"}));
  // The hourglass shows while a folder is read, and goes again.
  auto& cursors = HeadlessBackend()->Cursors;
  EXPECT_NE(std::find(cursors.begin(), cursors.end(), crHourGlass), cursors.end());
  EXPECT_EQ(Screen->GetCursor(), crDefault);
}

TEST_F(FolderTreeTest, SelectPathReportsChangesAndRefusesWhatIsNoFolder) {
  ASSERT_TRUE(Tree->SelectPath(P("alpha/a1")));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/a1/"));
  EXPECT_EQ(Tree->GetSelected()->GetText(), "a1");
  EXPECT_EQ(Changes, (V{P("alpha/a1/")}));
  const int nodes = Tree->Items()->Count();
  struct Case {
    std::string Path;
  } refused[] = {{P("missing")}, {P("note.txt")}, {P("ALPHA")}, {""}};
  for (const Case& c : refused) EXPECT_FALSE(Tree->SelectPath(c.Path)) << c.Path;
  EXPECT_EQ(Tree->Items()->Count(), nodes);
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/a1/"));
  // Dots and doubled separators are resolved; the same path again reports nothing.
  ASSERT_TRUE(Tree->SelectPath(Base + "//alpha/./a2/../a1/"));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/a1/"));
  EXPECT_EQ(Changes.size(), 1u);
  // A relative path is taken from the current folder.
  const std::string cwd = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Base));
  EXPECT_TRUE(Tree->SelectPath("Beta/inner"));
  SetCurrentDir(cwd);
  EXPECT_EQ(Tree->GetCurrentPath(), P("Beta/inner/"));
  EXPECT_EQ(Changes.size(), 2u);
  Tree->Reset();
  EXPECT_EQ(Tree->GetCurrentPath(), "/");
  EXPECT_EQ(Tree->Items()->Count(), 2);  // the root and its placeholder
  EXPECT_EQ(Changes.back(), "/");
}

TEST_F(FolderTreeTest, MakeSubFolderCreatesNestedFoldersAndRefusesEscapingNames) {
  EXPECT_FALSE(Tree->MakeSubFolder("x"));  // nothing selected
  ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  EXPECT_TRUE(Tree->MakeSubFolder("a/b/"));
  EXPECT_TRUE(fs::is_directory(P("alpha/a/b")));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/a/b/"));
  EXPECT_EQ(Tree->GetSelected()->GetText(), "b");
  ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  const char* refused[] = {"../evil",     "a/../../evil", "..",        "/tmp/evil",
                           "a\\..\\evil", "bad|name",     "bad<name",  "bad>name",
                           "bad\"name",   "ctl\x01name",  "tab\tname", "",
                           "///",         "./",           "a/.."};
  for (const char* name : refused) {
    EXPECT_FALSE(Tree->MakeSubFolder(name)) << name;
    EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/")) << name;
  }
  EXPECT_FALSE(fs::exists(P("evil")));
  EXPECT_FALSE(fs::exists(P("alpha/a\\..\\evil")));
  EXPECT_FALSE(fs::exists("/tmp/evil"));
  // A file in the way: false, nothing selected elsewhere.
  std::ofstream(P("alpha/file")) << "x";
  EXPECT_FALSE(Tree->MakeSubFolder("file/sub"));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/"));
}

// Names made of dots, separators and a few letters, at random: whatever is accepted lands
// inside the selected folder, and nothing appears next to it or above it.
TEST_F(FolderTreeTest, NoNameCreatesAnythingOutsideTheSelectedFolder) {
  ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  auto entries = [](const std::string& Dir) {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> baseBefore = entries(Base);
  const std::string parent = fs::path(Base).parent_path().string();
  const std::string alphabet = "./\\x:";
  uint32_t seed = 12345;
  int accepted = 0;
  for (int i = 0; i < 400; ++i) {
    std::string name;
    const int len = 1 + static_cast<int>((seed >> 8) % 9);
    for (int k = 0; k < len; ++k) {
      seed = seed * 1664525u + 1013904223u;
      name += alphabet[(seed >> 16) % alphabet.size()];
    }
    if (Tree->MakeSubFolder(name)) {
      ++accepted;
      const std::string made = fs::weakly_canonical(Tree->GetCurrentPath()).string();
      EXPECT_EQ(made.rfind(P("alpha"), 0), 0u) << name << " -> " << made;
    }
    ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  }
  EXPECT_GT(accepted, 20);  // the names that stay inside are made
  EXPECT_EQ(entries(Base), baseBefore);
  for (const char* n : {"x", "xx", "x.", ".x", "x:"})
    EXPECT_FALSE(fs::exists(parent + "/" + n)) << n;
}

TEST_F(FolderTreeTest, RemoveTakesOnlyAnEmptyFolderAndNeverTheRoot) {
  EXPECT_FALSE(Tree->RemoveSelectedFolder());  // nothing selected
  Tree->SetSelected(Tree->Items()->GetFirstNode());
  EXPECT_FALSE(Tree->RemoveSelectedFolder());  // the root
  ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  EXPECT_FALSE(Tree->RemoveSelectedFolder());  // not empty
  EXPECT_TRUE(fs::is_directory(P("alpha/a1")));
  ASSERT_TRUE(Tree->SelectPath(P("alpha/a2")));
  EXPECT_TRUE(Tree->RemoveSelectedFolder());
  EXPECT_FALSE(fs::exists(P("alpha/a2")));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/"));
  EXPECT_EQ(Texts(Tree->GetSelected()), (V{"a1"}));
  // A link to a folder is not removed, nor what it points to.
  fs::create_directory_symlink(P("beta"), P("alpha/link"));
  ASSERT_TRUE(Tree->SelectPath(P("alpha/link")));
  EXPECT_FALSE(Tree->RemoveSelectedFolder());
  EXPECT_TRUE(fs::is_symlink(P("alpha/link")));
  EXPECT_TRUE(fs::is_directory(P("beta")));
}

TEST_F(FolderTreeTest, RefreshAfterAnOutsideDeletionSelectsTheNearestAncestor) {
  fs::create_directories(P("alpha/a1/deep/deeper"));
  ASSERT_TRUE(Tree->SelectPath(P("alpha/a1/deep/deeper")));
  Changes.clear();
  EXPECT_TRUE(Tree->RefreshTree());  // nothing changed: same place, no report
  EXPECT_TRUE(Changes.empty());
  fs::remove_all(P("alpha/a1"));
  EXPECT_TRUE(Tree->RefreshTree());
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/"));
  EXPECT_EQ(Changes, (V{P("alpha/")}));  // reported once
  EXPECT_EQ(Texts(Tree->GetSelected()), (V{"a2"}));
}

TEST_F(FolderTreeTest, LinksAreShownButALoopIsALeaf) {
  fs::create_directory_symlink(Base, P("alpha/up"));             // back to the base
  fs::create_directory_symlink(P("alpha"), P("alpha/a1/self"));  // back to its grandparent
  fs::create_directory_symlink(P("Beta"), P("alpha/across"));    // a sibling branch: fine
  fs::create_directory_symlink(P("alpha/a2"), P("Gamma/side"));
  ASSERT_TRUE(Tree->SelectPath(P("alpha")));
  TTreeNode* alpha = Tree->GetSelected();
  EXPECT_EQ(Texts(alpha), (V{"a1", "a2", "across", "up"}));
  EXPECT_EQ(Child(alpha, "up")->GetCount(), 0);
  EXPECT_EQ(Texts(Child(alpha, "across")), (V{kPlaceholderText}));
  Child(alpha, "up")->Expand(false);
  EXPECT_EQ(Child(alpha, "up")->GetCount(), 0);
  Child(alpha, "across")->Expand(false);
  EXPECT_EQ(Texts(Child(alpha, "across")), (V{"inner"}));
  TTreeNode* a1 = Child(alpha, "a1");
  a1->Expand(false);
  EXPECT_EQ(Texts(a1), (V{"self"}));
  EXPECT_FALSE(Child(a1, "self")->GetHasChildren());
  // Selecting through a loop stops where the tree stops: nothing repeats.
  EXPECT_TRUE(Tree->SelectPath(P("alpha/up/alpha/up")));
  EXPECT_EQ(Tree->GetCurrentPath(), P("alpha/up/"));
  EXPECT_TRUE(IsFolderLoop(P("alpha/up/")));
  EXPECT_FALSE(IsFolderLoop(P("alpha/across/")));
  EXPECT_FALSE(IsFolderLoop(P("Gamma/side")));
  EXPECT_FALSE(IsFolderLoop(P("missing")));
}

// The two path styles, the Windows one exercised here too.
TEST(FolderPathStyle, RootsSeparatorsAndCase) {
  const TFolderPathStyle posix{'/', 0, true}, win{'\\', '/', false};
  struct Case {
    const TFolderPathStyle& St;
    std::string In, Root, With, Without;
    bool Absolute;
  } cases[] = {
      {posix, "/usr/lib//", "/", "/usr/lib//", "/usr/lib", true},
      {posix, "/", "/", "/", "/", true},
      {posix, "a\\b", "/", "a\\b/", "a\\b", false},
      {win, "d:\\data\\", "D:\\", "d:\\data\\", "d:\\data", true},
      {win, "C:\\", "C:\\", "C:\\", "C:\\", true},
      {win, "/x", "C:\\", "/x\\", "/x", true},
      {win, "rel", "C:\\", "rel\\", "rel", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.St.RootFor(c.In), c.Root) << c.In;
    EXPECT_EQ(c.St.WithTrailing(c.In), c.With) << c.In;
    EXPECT_EQ(c.St.WithoutTrailing(c.In), c.Without) << c.In;
    EXPECT_EQ(c.St.IsAbsolute(c.In), c.Absolute) << c.In;
  }
  EXPECT_EQ(win.Folded("C:\\Data"), "c:\\data");
  EXPECT_EQ(posix.Folded("/Data"), "/Data");
  EXPECT_EQ(&NativePathStyle(), &NativePathStyle());
  EXPECT_EQ(NativePathStyle().Separator, '/');
}

// Tests run as root, who may read anything: the unreadable folder is looked at as nobody.
class AsNobody {
 public:
  AsNobody() : FSwitched(::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0) {}
  ~AsNobody() {
    if (FSwitched) {
      [[maybe_unused]] int r = ::seteuid(0);
      r = ::setegid(0);
    }
  }
  bool Ok() const { return FSwitched || ::geteuid() != 0; }

 private:
  bool FSwitched;
};

TEST_F(FolderTreeTest, AnUnreadableFolderIsALeafWithoutAnError) {
  fs::create_directories(P("locked/inside"));
  ::chmod(P("locked").c_str(), 0);
  {
    AsNobody nobody;
    if (!nobody.Ok()) GTEST_SKIP() << "cannot take another user's rights";
    ASSERT_TRUE(Tree->SelectPath(Base));
    TTreeNode* locked = Child(Tree->GetSelected(), "locked");
    ASSERT_NE(locked, nullptr);
    EXPECT_EQ(locked->GetCount(), 0);
    locked->Expand(false);
    EXPECT_EQ(locked->GetCount(), 0);
    TStringList list;
    Tree->LoadDirNamesAndSort(P("locked"), &list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(Tree->SelectPath(P("locked")));
    EXPECT_EQ(Tree->GetCurrentPath(), P("locked/"));
  }
  EXPECT_TRUE(HeadlessBackend()->Errors.empty());
}

TEST_F(FolderTreeTest, ColourEnablingAndLoading) {
  RegisterFolderTreeClasses();
  const TClassInfo* info = FindClassInfo("TFolderTree");
  ASSERT_NE(info, nullptr);
  for (const TPropInfo* p : info->Properties()) {
    if (p->Kind == pkClass || !p->HasDefault || !p->IsStored(Tree.get())) continue;
    EXPECT_TRUE(p->IsDefault(Tree.get())) << p->Name;
  }
  EXPECT_TRUE(Tree->GetReadOnly());
  Tree->SetColor(clYellow);
  Tree->SetEnabled(false);
  EXPECT_EQ(Tree->TCustomTreeView::GetColor(), clBtnFace);
  EXPECT_EQ(Tree->GetColor(), clYellow);  // what is stored and written
  Tree->SetColor(clAqua);
  EXPECT_EQ(Tree->TCustomTreeView::GetColor(), clBtnFace);
  Tree->SetEnabled(true);
  EXPECT_EQ(Tree->TCustomTreeView::GetColor(), clAqua);
  std::unique_ptr<TFolderTree> loaded(CreateFromText<TFolderTree>(
      "object Folders: TFolderTree\n  Color = clBlack\n  OldTreeStyle = False\nend\n", nullptr));
  EXPECT_EQ(loaded->GetColor(), clWhite);  // black would hide the names
  EXPECT_FALSE(loaded->GetOldTreeStyle());
  EXPECT_EQ(loaded->Items()->Count(), 2);
}

// The sample branch as a user sees it, and disabled. The branch sorts last under /tmp, so the
// rows below it are the root's next folders.
TEST_F(FolderTreeTest, GoldenLook) {
  const std::string base = "/tmp/~~qel-foldertree-golden";
  std::error_code ec;
  fs::remove_all(base, ec);
  for (const char* d : {"Data/2025", "Data/2026", "Reports", "Scripts/old", "empty"})
    fs::create_directories(base + "/" + d);
  TBitmap page(2 * 220, 150);
  int x = 0;
  for (bool enabled : {true, false}) {
    TFolderTree t(nullptr);
    t.GetFont()->SetQuality(fqNonAntialiased);
    t.SetBounds(0, 0, 220, 150);
    ASSERT_TRUE(t.SelectPath(base + "/Data"));
    t.SetHideSelection(false);
    t.SetTopItem(t.GetSelected()->GetParent());
    t.SetScrollX(0);
    t.SetEnabled(enabled);
    TBitmap one(220, 150);
    // Only the branch's rows: the rest of the tree below depends on the machine.
    const int rows = 7;  // the branch, Data with its two, Reports, Scripts, empty
    t.PaintTo(&one);
    one.Canvas()->Brush()->SetColor(clWhite);
    one.Canvas()->FillRect(Rect(0, 2 + rows * t.RowHeight(), 220, 150));
    one.Canvas()->FillRect(t.VScrollBarRect());
    one.Canvas()->FillRect(t.HScrollBarRect());
    page.Canvas()->Draw(x, 0, &one);
    x += 220;
  }
  fs::remove_all(base, ec);
  test::ExpectMatchesGolden(page, "foldertree_look");
}

}  // namespace
}  // namespace qel

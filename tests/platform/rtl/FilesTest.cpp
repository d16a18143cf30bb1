// Text files and the file-system helpers, each test in its own temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/rtl/FileSys.h"
#include "platform/rtl/TextFile.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    Dir = (fs::temp_directory_path() /
           ("qel_files_" + std::to_string(::getpid()) + "_" + std::to_string(counter++)))
              .string() +
          "/";
    fs::create_directories(Dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(Dir, ec);
  }
  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(Dir + name, std::ios::binary) << bytes;
  }
  std::string Bytes(const std::string& name) {
    std::ifstream in(Dir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string Dir;
};

TEST_F(FilesTest, TextFileReadsEveryLineEnd) {
  Put("in.txt", "one\ntwo\r\nthree\rfour\r\n\r\nlast");
  TTextFile f(Dir + "in.txt");
  f.Reset();
  std::vector<std::string> lines;
  while (!f.Eof()) lines.push_back(f.ReadLn());
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four", "", "last"}));
  std::string line = "keep";
  EXPECT_FALSE(f.ReadLn(line));
  EXPECT_EQ(line, "keep");
  try {
    f.ReadLn();
    FAIL() << "read past the end";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message, "Read beyond end of file \"" + Dir + "in.txt\"");
  }
  f.CloseFile();
  EXPECT_EQ(f.Mode(), tfmClosed);
}

TEST_F(FilesTest, TextFileWritesAndAppends) {
  TTextFile f;
  f.AssignFile(Dir + "out.txt");
  f.Rewrite();
  f.WriteLn("a");
  f.Write("b");
  f.WriteLn();
  f.CloseFile();
  EXPECT_EQ(Bytes("out.txt"), "a\r\nb\r\n");
  f.SetLineBreak("\n");
  f.Append();
  f.WriteLn("c");
  f.CloseFile();
  EXPECT_EQ(Bytes("out.txt"), "a\r\nb\r\nc\n");
  f.Rewrite();  // empties the file
  f.CloseFile();
  EXPECT_EQ(Bytes("out.txt"), "");
}

TEST_F(FilesTest, TextFileFailuresRaise) {
  TTextFile f(Dir + "missing.txt");
  try {
    f.Reset();
    FAIL() << "opened a missing file";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message,
              "Cannot open file \"" + Dir + "missing.txt\" for reading. No such file or directory");
  }
  EXPECT_THROW(f.Append(), EInOutError);  // append needs an existing file
  EXPECT_FALSE(FileExists(Dir + "missing.txt"));
  EXPECT_THROW(f.ReadLn(), EInOutError);
  EXPECT_THROW(f.CloseFile(), EInOutError);
  TTextFile dir(Dir);
  EXPECT_THROW(dir.Reset(), EInOutError);
  TTextFile nested(Dir + "no/such/dir.txt");
  EXPECT_THROW(nested.Rewrite(), EInOutError);
  TTextFile unnamed;
  EXPECT_THROW(unnamed.Reset(), EInOutError);

  Put("x.txt", "x");
  TTextFile g(Dir + "x.txt");
  g.Reset();
  try {
    g.WriteLn("no");
    FAIL() << "wrote to an input file";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message, "File not open for output");
  }
  EXPECT_THROW(g.AssignFile("other"), EInOutError);
  g.CloseFile();
  g.Rewrite();
  EXPECT_THROW(g.Eof(), EInOutError);
  if (fs::exists("/dev/full")) {
    TTextFile full("/dev/full");
    full.Rewrite();
    // A full disk is not a silent success, whether the write or the flush meets it.
    EXPECT_THROW(
        {
          full.WriteLn("x");
          full.Flush();
        },
        EInOutError);
  }
}

TEST_F(FilesTest, DirectoriesAndFiles) {
  const std::string deep = Dir + "a/b/c";
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));  // already there
  EXPECT_FALSE(FileExists(deep));
  EXPECT_THROW(ForceDirectories(""), EInOutError);
  Put("a/file", "x");
  EXPECT_FALSE(ForceDirectories(Dir + "a/file/sub"));
  EXPECT_FALSE(CreateDir(deep));
  EXPECT_TRUE(CreateDir(Dir + "d"));
  EXPECT_FALSE(RemoveDir(Dir + "a"));  // not empty
  EXPECT_TRUE(RemoveDir(deep));
  EXPECT_TRUE(FileExists(Dir + "a/file"));
  EXPECT_FALSE(DeleteFile(Dir + "d"));  // a directory is no file
  Put("one", "1");
  Put("two", "2");
  EXPECT_FALSE(RenameFile(Dir + "one", Dir + "two"));  // never replaces
  EXPECT_EQ(Bytes("two"), "2");
  EXPECT_TRUE(RenameFile(Dir + "one", Dir + "three"));
  EXPECT_FALSE(FileExists(Dir + "one"));
  EXPECT_TRUE(DeleteFile(Dir + "three"));
  EXPECT_FALSE(DeleteFile(Dir + "three"));

  const std::string saved = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Dir + "a"));
  EXPECT_EQ(IncludeTrailingPathDelimiter(GetCurrentDir()), fs::canonical(Dir + "a").string() + "/");
  EXPECT_TRUE(FileExists("file"));
  EXPECT_EQ(ExpandFileName("b/../file"), fs::canonical(Dir + "a/file").string());
  ASSERT_TRUE(SetCurrentDir(saved));
  EXPECT_FALSE(SetCurrentDir(Dir + "nowhere"));
}

TEST_F(FilesTest, FindFirstMasksAndAttributes) {
  Put("b.txt", "12345");
  Put("A.TXT", "");
  Put("c.dat", "");
  Put("noext", "");
  Put(".hidden.txt", "");
  fs::create_directories(Dir + "sub.txt");
  auto names = [&](const std::string& mask, int attr) {
    std::vector<std::string> r;
    TSearchRec sr;
    if (FindFirst(Dir + mask, attr, sr) == 0) {
      do r.push_back(sr.Name);
      while (FindNext(sr) == 0);
      FindClose(sr);
    }
    return r;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(names("*.txt", 0), (V{"A.TXT", "b.txt"}));
  EXPECT_EQ(names("*.txt", faDirectory), (V{"A.TXT", "b.txt", "sub.txt"}));
  EXPECT_EQ(names("*.txt", faAnyFile), (V{".hidden.txt", "A.TXT", "b.txt", "sub.txt"}));
  EXPECT_EQ(names("*.*", 0), (V{"A.TXT", "b.txt", "c.dat", "noext"}));
  EXPECT_EQ(names("?.dat", 0), (V{"c.dat"}));
  EXPECT_EQ(names("*", faDirectory).size(), 5u);  // never "." or ".."
  EXPECT_EQ(names("B.TXT", 0), (V{"b.txt"}));

  TSearchRec sr;
  ASSERT_EQ(FindFirst(Dir + "b.txt", faAnyFile, sr), 0);
  EXPECT_EQ(sr.Size, 5);
  EXPECT_EQ(sr.Attr & faDirectory, 0);
  EXPECT_GT(sr.Time, EncodeDate(2000, 1, 1));
  EXPECT_NE(FindNext(sr), 0);
  FindClose(sr);
  ASSERT_EQ(FindFirst(Dir + "sub.txt", faDirectory, sr), 0);
  EXPECT_NE(sr.Attr & faDirectory, 0);
  ::chmod((Dir + "c.dat").c_str(), 0444);
  ASSERT_EQ(FindFirst(Dir + "c.dat", 0, sr), 0);
  EXPECT_NE(sr.Attr & faReadOnly, 0);
  EXPECT_EQ(FindFirst(Dir + "*.none", faAnyFile, sr), ENOENT);
  EXPECT_EQ(FindFirst(Dir + "nowhere/*.*", faAnyFile, sr), ENOENT);
  EXPECT_NE(FindNext(sr), 0);  // after a failed search there is nothing more
}

TEST(FileNames, SplittingHelpers) {
  EXPECT_EQ(ExtractFilePath("a/b/c.txt"), "a/b/");
  EXPECT_EQ(ExtractFilePath("a\\b\\c.txt"), "a\\b\\");
  EXPECT_EQ(ExtractFilePath("c.txt"), "");
  EXPECT_EQ(ExtractFileDir("a/b/c.txt"), "a/b");
  EXPECT_EQ(ExtractFileDir("/c.txt"), "/");
  EXPECT_EQ(ExtractFileName("a/b\\c.txt"), "c.txt");
  EXPECT_EQ(ExtractFileName("a/b/"), "");
  EXPECT_EQ(ExtractFileExt("a/b/c.tar.gz"), ".gz");
  EXPECT_EQ(ExtractFileExt("a.b/c"), "");
  EXPECT_EQ(ExtractFileExt(".bashrc"), ".bashrc");
  EXPECT_EQ(ChangeFileExt("a/b.c", ".txt"), "a/b.txt");
  EXPECT_EQ(ChangeFileExt("a.b/c", ".txt"), "a.b/c.txt");
  EXPECT_EQ(ChangeFileExt("x.txt", ""), "x");
  EXPECT_EQ(IncludeTrailingPathDelimiter("a"), "a/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("a\\"), "a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("a/"), "a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("a"), "a");
  EXPECT_EQ(ExpandFileName("/x/./y/../z"), "/x/z");
  EXPECT_EQ(ExpandFileName("/../.."), "/");
  EXPECT_EQ(ExpandFileName("\\x\\y\\"), "/x/y/");
  EXPECT_EQ(ExpandFileName(""), "");
}

TEST(FileNames, Masks) {
  EXPECT_TRUE(MatchesMask("report.TXT", "*.txt"));
  EXPECT_TRUE(MatchesMask("noext", "*.*"));
  EXPECT_TRUE(MatchesMask("a.b.c", "*.c"));
  EXPECT_FALSE(MatchesMask("a.b.c", "*.b"));
  EXPECT_TRUE(MatchesMask("äb", "?b"));  // ? is one character, not one byte
  EXPECT_FALSE(MatchesMask("ab", "?"));
  EXPECT_TRUE(MatchesMask("", "*"));
  EXPECT_TRUE(MatchesMask("abcabcabd", "*abd"));
  EXPECT_FALSE(MatchesMask(std::string(2000, 'a'), std::string(30, '*') + "b"));
}

}  // namespace
}  // namespace qel

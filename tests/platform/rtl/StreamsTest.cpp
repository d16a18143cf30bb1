#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/rtl/Streams.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    Path = fs::temp_directory_path() /
           ("qel_streams_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    fs::create_directories(Path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string File(const std::string& name) const { return (Path / name).string(); }
  fs::path Path;
};

std::string ReadAll(TStream& s) {
  std::string out(static_cast<size_t>(s.GetSize()), '\0');
  s.SetPosition(0);
  s.ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
  return out;
}

TEST(MemoryStream, PartialReadsAndSeekingPastTheEnd) {
  TMemoryStream m;
  m.WriteBuffer("abcdef", 6);
  EXPECT_EQ(m.GetPosition(), 6);
  EXPECT_EQ(m.Seek(-2, soEnd), 4);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 8), 2);  // only what is there
  EXPECT_EQ(std::string(buf, 2), "ef");
  EXPECT_EQ(m.Read(buf, 8), 0);
  // Past the end: reading gives nothing, writing fills the gap with zeros.
  EXPECT_EQ(m.Seek(10, soBeginning), 10);
  EXPECT_EQ(m.Read(buf, 1), 0);
  m.WriteBuffer("Z", 1);
  EXPECT_EQ(m.GetSize(), 11);
  EXPECT_EQ(ReadAll(m), std::string("abcdef\0\0\0\0Z", 11));
}

TEST(MemoryStream, ShortReadBufferAndBadSeekRaise) {
  TMemoryStream m;
  m.WriteBuffer("abc", 3);
  m.SetPosition(1);
  char buf[4];
  EXPECT_THROW(m.ReadBuffer(buf, 4), EReadError);
  m.SetPosition(1);
  EXPECT_THROW(m.Seek(-2, soCurrent), EStreamError);
  EXPECT_EQ(m.GetPosition(), 1);  // a refused seek does not move
  EXPECT_THROW(m.Seek(INT64_MAX, soEnd), EStreamError);
  EXPECT_THROW(m.SetSize(-1), EStreamError);
  EXPECT_THROW(m.ReadBuffer(buf, -1), EReadError);
  m.ReadBuffer(buf, 0);  // nothing asked, nothing to report
}

TEST(MemoryStream, SizeCopyLoadAndSave) {
  TMemoryStream m;
  m.WriteBuffer("0123456789", 10);
  m.SetSize(4);
  EXPECT_EQ(m.GetPosition(), 4);  // clamped to the new end
  EXPECT_EQ(ReadAll(m), "0123");

  TStringStream src("hello world");
  src.SetPosition(5);
  TMemoryStream dst;
  EXPECT_EQ(dst.CopyFrom(src, 0), 11);  // 0 copies everything from the start
  EXPECT_EQ(ReadAll(dst), "hello world");
  src.SetPosition(6);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(src, 5), 5);
  EXPECT_EQ(ReadAll(part), "world");
  src.SetPosition(8);
  EXPECT_THROW(part.CopyFrom(src, 5), EReadError);

  TMemoryStream loaded;
  loaded.WriteBuffer("old", 3);
  loaded.LoadFromStream(src);
  EXPECT_EQ(loaded.GetPosition(), 0);
  EXPECT_EQ(ReadAll(loaded), "hello world");
  EXPECT_THROW(loaded.LoadFromFile("/nonexistent/qel/file"), EFOpenError);
  EXPECT_EQ(ReadAll(loaded), "hello world");  // a failed load keeps the data

  TStringStream out;
  loaded.SetPosition(3);
  loaded.SaveToStream(out);  // the whole stream, whatever the position
  EXPECT_EQ(out.DataString(), "hello world");
  loaded.Clear();
  EXPECT_EQ(loaded.GetSize(), 0);
  EXPECT_EQ(loaded.GetPosition(), 0);
}

TEST(StringStream, ReadWriteStrings) {
  TStringStream s("abcdef");
  s.SetPosition(2);
  EXPECT_EQ(s.ReadString(3), "cde");
  EXPECT_EQ(s.ReadString(10), "f");
  EXPECT_EQ(s.ReadString(10), "");
  EXPECT_EQ(s.ReadString(-1), "");
  s.SetPosition(1);
  s.WriteString("XY");
  EXPECT_EQ(s.DataString(), "aXYdef");
  s.Seek(2, soEnd);
  s.WriteString("!");
  EXPECT_EQ(s.DataString(), std::string("aXYdef\0\0!", 9));
  s.SetSize(2);
  EXPECT_EQ(s.DataString(), "aX");
  EXPECT_EQ(s.GetPosition(), 2);
}

TEST(FileStream, CreateWriteReopenAndTruncate) {
  TempDir dir;
  const std::string name = dir.File("data.bin");
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("line one\n", 9);
    EXPECT_EQ(f.GetSize(), 9);
    EXPECT_EQ(f.GetPosition(), 9);  // the size query does not move
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.Seek(5, soBeginning);
    f.WriteBuffer("ONE", 3);
    f.SetSize(8);
    EXPECT_EQ(ReadAll(f), "line ONE");
    f.Seek(20, soBeginning);
    f.WriteBuffer("!", 1);
    EXPECT_EQ(f.GetSize(), 21);
  }
  TMemoryStream m;
  m.LoadFromFile(name);
  EXPECT_EQ(ReadAll(m), std::string("line ONE") + std::string(12, '\0') + "!");
  m.SaveToFile(dir.File("copy.bin"));
  EXPECT_EQ(fs::file_size(dir.File("copy.bin")), 21u);
}

TEST(FileStream, FailuresRaiseWithTheFileName) {
  TempDir dir;
  const std::string missing = dir.File("missing.txt");
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message, "Cannot open file \"" + missing + "\". No such file or directory");
  }
  EXPECT_THROW(TFileStream(dir.File("no/dir/x"), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.Path.string(), fmOpenRead), EFOpenError);
  EXPECT_THROW(TFileStream(missing, 3), EFOpenError);

  { TFileStream create(dir.File("ro.txt"), fmCreate); }
  TFileStream ro(dir.File("ro.txt"), fmOpenRead);
  // A write the system refuses is an error, not a short count.
  EXPECT_THROW(ro.WriteBuffer("x", 1), EWriteError);
  EXPECT_THROW(ro.Seek(-1, soBeginning), EStreamError);
  char c;
  EXPECT_THROW(ro.ReadBuffer(&c, 1), EReadError);
}

}  // namespace
}  // namespace qel

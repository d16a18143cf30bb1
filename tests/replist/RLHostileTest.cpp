// Hostile input and awkward targets for the report-list store's files: declared sizes that the
// content does not pay for, other encodings and broken UTF-8, things that are no regular file,
// and saves through links, onto read-only or shared files and with names near the longest.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "replist/QEL_replist.h"
#include "tests/replist/TempFolder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

class RLHostileTest : public test::TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    FStore.SetName("Store1");
    FStore.SetNrCols(2);
    FStore.SetNrRows(2);
    FStore.SetElem(1, 1, "before");
    FBefore = FStore.XMLText(true, "");
  }
  // The message of the store's error raised by Action, or "no error"; the store must be as it
  // was either way.
  template <class Fn>
  std::string FailureOf(Fn&& Action) {
    std::string message = "no error";
    try {
      Action();
    } catch (const EQELRLDataError& e) {
      message = e.Message;
    }
    EXPECT_EQ(FStore.XMLText(true, ""), FBefore) << message;
    return message;
  }
  TRLData FStore{nullptr};
  std::string FBefore;
};

std::string Doc(int Cols, int Rows, const std::string& Cells) {
  return "<replist signature=\"qelwidget\"><numcols>" + std::to_string(Cols) +
         "</numcols><numrows>" + std::to_string(Rows) + "</numrows>" + Cells + "</replist>";
}

std::string CellsInColumns(int From, int To, int Row) {
  std::string s;
  for (int c = From; c <= To; ++c)
    s += "<cell col=\"" + std::to_string(c) + "\" row=\"" + std::to_string(Row) + "\">x</cell>";
  return s;
}

// ---------------------------------------------------------------- memory follows content

TEST_F(RLHostileTest, DeclaredSizesMustBePaidForByTheContent) {
  struct Case {
    int Cols, Rows, TextCols;
    bool Accepted;
  };
  // 10^8 rows cost 100 MB of row bytes alone and pass; each column with a text there costs
  // 1.6 GB more, which a few bytes may not ask for.
  for (const Case& k :
       {Case{20, 100000000, 1, false}, Case{20, 100000000, 20, false}, Case{20, 2000000, 1, true},
        Case{1000, 1000, 1000, true}, Case{1, 100000000, 0, true}}) {
    const std::string xml = Doc(k.Cols, k.Rows, CellsInColumns(1, k.TextCols, k.Rows));
    TRLData d(nullptr);
    d.SetElem(1, 1, "old");
    try {
      d.ReadFromXMLString(xml, "");
      EXPECT_TRUE(k.Accepted) << k.Cols << " x " << k.Rows;
      EXPECT_EQ(d.GetNrOfRows(), k.Rows);
      if (k.TextCols > 0) {
        EXPECT_EQ(d.GetElem(k.TextCols, k.Rows), "x");
      }
    } catch (const EQELRLDataError& e) {
      EXPECT_FALSE(k.Accepted) << e.Message;
      EXPECT_NE(e.Message.find("MiB, more than the document may ask for"), std::string::npos)
          << e.Message;
      EXPECT_EQ(d.GetNrOfRows(), 0);
    }
  }
}

// A stream that records the largest single write.
class TChunkStream : public TStream {
 public:
  int64_t Read(void*, int64_t) override { return 0; }
  int64_t Write(const void* Buffer, int64_t Count) override {
    Text.append(static_cast<const char*>(Buffer), static_cast<size_t>(Count));
    Largest = std::max(Largest, Count);
    ++Writes;
    return Count;
  }
  int64_t Seek(int64_t, TSeekOrigin) override { return static_cast<int64_t>(Text.size()); }
  std::string Text;
  int64_t Largest = 0;
  int Writes = 0;
};

TEST_F(RLHostileTest, DocumentsAreWrittenAsAStreamNotBuiltWhole) {
  TRLData d(nullptr);
  d.SetNrCols(3);
  d.SetNrRows(100000);
  for (int r = 1; r <= d.GetNrOfRows(); r += 3)
    d.SetElem(r % 4, r, "text of row " + std::to_string(r));
  TChunkStream s;
  d.WriteToXMLStream(s, true, "");
  EXPECT_EQ(s.Text, d.XMLText(true, ""));
  EXPECT_GT(s.Text.size(), 1000000u);
  EXPECT_LE(s.Largest, 200000) << "a save holds only a small piece of the document at a time";
  EXPECT_GT(s.Writes, 10);
  // The saved file is the same text, and reads back.
  d.SaveAsXMLFile(Path("big.xml"), "");
  EXPECT_EQ(ReadFile(Path("big.xml")), s.Text);
  TRLData back(nullptr);
  back.LoadFromXMLFile(Path("big.xml"), "");
  EXPECT_EQ(back.XMLText(true, ""), s.Text);
}

// ---------------------------------------------------------------- encodings

std::string Utf16(const std::string& Ascii, bool LittleEndian, bool Bom) {
  std::string s = Bom ? (LittleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (const char ch : Ascii) {
    s += LittleEndian ? std::string{ch, '\0'} : std::string{'\0', ch};
  }
  return s;
}

TEST_F(RLHostileTest, DeclaredEncodingsAreConverted) {
  const std::string body =
      "<replist signature=\"qelwidget\"><numcols>1</numcols><numrows>1</numrows>"
      "<cell col=\"1\" row=\"1\">@</cell></replist>";
  auto with = [&](const std::string& Cell) {
    std::string b = body;
    b.replace(b.find('@'), 1, Cell);
    return b;
  };
  // UTF-16 and UTF-32 texts are built from the ASCII body, the cell written as a reference.
  std::string utf32;
  for (const char ch : with("&#x1F600;")) utf32 += std::string{ch, '\0', '\0', '\0'};
  struct Case {
    const char* Name;
    std::string Xml;
    std::string Cell;
  };
  const std::vector<Case> cases = {
      {"Latin-1", "<?xml version='1.0' encoding='ISO-8859-1'?>\n" + with("Gr\xFC\xDF\xE9"),
       "Gr\xC3\xBC\xC3\x9F\xC3\xA9"},
      {"latin1 lower case", "<?xml version=\"1.0\" encoding=\"latin1\"?>" + with("\xA9"),
       "\xC2\xA9"},
      {"UTF-8 declared", "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + with("\xC3\xBC"),
       "\xC3\xBC"},
      {"UTF-16LE with BOM", Utf16(with("&#xFC;"), true, true), "\xC3\xBC"},
      {"UTF-16BE without BOM", Utf16(with("a"), false, false), "a"},
      {"UTF-32LE", utf32, "\xF0\x9F\x98\x80"},
  };
  for (const Case& k : cases) {
    TRLData d(nullptr);
    d.ReadFromXMLString(k.Xml, "");
    EXPECT_EQ(d.GetElem(1, 1), k.Cell) << k.Name;
    // What is saved again is UTF-8, as its declaration says.
    TRLData again(nullptr);
    again.ReadFromXMLString(d.XMLText(true, ""), "");
    EXPECT_EQ(again.GetElem(1, 1), k.Cell) << k.Name;
  }
}

TEST_F(RLHostileTest, BrokenTextIsRefusedNamingTheLine) {
  const std::string head =
      "<?xml version=\"1.0\"?>\n<replist signature=\"qelwidget\">\n<numcols>1</numcols>"
      "<numrows>1</numrows>\n";
  struct Case {
    std::string Xml;
    const char* Expected;
  };
  const std::vector<Case> cases = {
      {head + "<cell col=\"1\" row=\"1\">a\xFF</cell></replist>",
       "XML text, line 4: the text is not valid UTF-8"},
      {head + "<comment>\xC0\xAF</comment></replist>", "line 4: the text is not valid UTF-8"},
      {head + "\n<cell col=\"1\" row=\"1\">\xED\xA0\x80</cell></replist>", "line 5"},
      {head + "<cell col=\"1\" row=\"1\">" + std::string(70000, '\x80') + "</cell></replist>",
       "line 4: the text is not valid UTF-8"},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + Doc(1, 1, ""),
       "line 1: the encoding \"windows-1252\" is not supported"},
      {Utf16("<replist>", true, true) + std::string("\x00\xD8", 2) +
           Utf16("</replist>", true, false),
       "line 1: the text is not valid UTF-16"},
      {Utf16("<replist/>", true, true) + "x", "the text is not valid UTF-16"},
  };
  for (const Case& k : cases)
    EXPECT_NE(FailureOf([&] { FStore.ReadFromXMLString(k.Xml, ""); }).find(k.Expected),
              std::string::npos)
        << k.Expected;
}

TEST_F(RLHostileTest, CharacterReferencesAndTheCellLimit) {
  struct Case {
    std::string Cell;
    std::string Stored;
  };
  const std::vector<Case> cases = {
      {"a&#0;b&#x0;c", "abc"},  // a reference to NUL drops only itself
      {"&#1;&#x1F;&#13;", "\x01\x1F\r"},
      {"&lt;&amp;&gt;&quot;&apos;", "<&>\"'"},
      {"&#xD800;&nosuch;&", "&#xD800;&nosuch;&"},  // no character: kept as written
      {"a<![CDATA[&#0;]]>b", "a&#0;b"},
      {std::string(300, 'a'), std::string(255, 'a')},
  };
  std::string many;
  for (int i = 0; i < 300; ++i) many += "\xE2\x82\xAC";
  std::string cut;
  for (int i = 0; i < 255; ++i) cut += "\xE2\x82\xAC";
  for (const Case& k :
       {cases[0], cases[1], cases[2], cases[3], cases[4], cases[5], Case{many, cut},
        // Every UTF-8 length, leading zeros, and no second decoding of what a reference gave.
        Case{"&#233;&#x20AC;&#128512;&#x00041;&amp;lt;", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "A&lt;"}}) {
    TRLData d(nullptr);
    d.ReadFromXMLString(Doc(1, 1, "<cell col=\"1\" row=\"1\">" + k.Cell + "</cell>"), "");
    EXPECT_EQ(d.GetElem(1, 1), k.Stored) << k.Cell;
    TRLData again(nullptr);
    again.ReadFromXMLString(d.XMLText(true, ""), "");
    EXPECT_EQ(again.GetElem(1, 1), k.Stored) << "round trip of " << k.Cell;
  }
}

TEST_F(RLHostileTest, CsvAndLinesRefuseBrokenUtf8) {
  WriteFile(Path("bad.csv"), "a,b\nc,d\xE9\n");
  EXPECT_NE(FailureOf([&] {
              FStore.ImportCSV(Path("bad.csv"), csvComma, false);
            }).find("line 2: the text is not valid UTF-8"),
            std::string::npos);
  EXPECT_NE(FailureOf([&] {
              FStore.LoadLinesFromFile(1, 1, Path("bad.csv"));
            }).find("line 2: the text is not valid UTF-8"),
            std::string::npos);
}

// ---------------------------------------------------------------- what is read

TEST_F(RLHostileTest, OnlyRegularFilesAreRead) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_directory(Path("dir"));
  for (const std::string& name : {Path("fifo"), std::string("/dev/zero"), Path("dir")}) {
    const std::string expected = name == Path("dir") ? "Is a directory" : "not a regular file";
    for (int op = 0; op < 3; ++op) {
      const std::string message = FailureOf([&] {
        if (op == 0) FStore.LoadFromXMLFile(name, "");
        if (op == 1) FStore.ImportCSV(name, csvComma, false);
        if (op == 2) FStore.LoadLinesFromFile(1, 1, name);
      });
      EXPECT_NE(message.find("cannot open: " + expected), std::string::npos) << message;
    }
    EXPECT_THROW(CheckIfValidReplist(name, ""), EInOutError) << name;
  }
}

// ---------------------------------------------------------------- saves

TEST_F(RLHostileTest, SavesFollowSymbolicLinks) {
  WriteFile(Path("real.xml"), "old");
  fs::create_directory(Path("sub"));
  fs::create_symlink("real.xml", Path("link.xml"));       // relative
  fs::create_symlink("../link.xml", Path("sub/chain"));   // a chain through a folder
  fs::create_symlink(Path("new.xml"), Path("dangling"));  // absolute, nothing there yet
  for (const char* name : {"link.xml", "sub/chain", "dangling"}) {
    FStore.SaveAsXMLFile(Path(name), "");
    EXPECT_TRUE(fs::is_symlink(Path(name))) << name << " stays a link";
    EXPECT_EQ(ReadFile(Path(name)), FBefore) << name;
  }
  EXPECT_EQ(ReadFile(Path("real.xml")), FBefore);
  EXPECT_EQ(ReadFile(Path("new.xml")), FBefore);
  fs::create_symlink("loop2", Path("loop1"));
  fs::create_symlink("loop1", Path("loop2"));
  EXPECT_NE(FailureOf([&] {
              FStore.SaveAsXMLFile(Path("loop1"), "");
            }).find("Too many levels of symbolic links"),
            std::string::npos);
  EXPECT_EQ(FileCount(), 7u) << "no temporary file is left";
}

TEST_F(RLHostileTest, HardLinkedAndReadOnlyTargetsAreRefused) {
  WriteFile(Path("one"), "old");
  fs::create_hard_link(Path("one"), Path("two"));
  EXPECT_NE(FailureOf([&] { FStore.SaveAsXMLFile(Path("one"), ""); })
                .find("cannot write \"" + Path("one") +
                      "\": the file has 2 hard links, which a save would separate"),
            std::string::npos);
  EXPECT_EQ(ReadFile(Path("two")), "old");
  // Mode 0444 is refused by everybody, root included; the rest of the user's rules come from
  // the system, which lets root write anything.
  WriteFile(Path("ro"), "old");
  ::chmod(Path("ro").c_str(), 0444);
  EXPECT_NE(FailureOf([&] {
              FStore.ExportCSV(Path("ro"), csvComma, true, false, 0, 1, 2, 2);
            }).find("the file is read-only"),
            std::string::npos);
  EXPECT_EQ(ReadFile(Path("ro")), "old");
  EXPECT_EQ(FileCount(), 3u);
}

TEST_F(RLHostileTest, SavesKeepModeOwnerAndGroup) {
  const mode_t mask = ::umask(022);
  for (const mode_t mode : {0600, 0640, 0604, 0660, 0700, 02755}) {
    WriteFile(Path("f"), "old");
    ASSERT_EQ(::chmod(Path("f").c_str(), mode), 0);
    FStore.SaveAsXMLFile(Path("f"), "");
    struct stat st {};
    ASSERT_EQ(::stat(Path("f").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
  }
  ::umask(mask);
  if (::geteuid() != 0) GTEST_SKIP() << "keeping another owner can be shown only as root";
  WriteFile(Path("owned"), "old");
  ASSERT_EQ(::chown(Path("owned").c_str(), 4242, 4343), 0);
  ASSERT_EQ(::chmod(Path("owned").c_str(), 0640), 0);
  FStore.SaveAsXMLFile(Path("owned"), "");
  struct stat st {};
  ASSERT_EQ(::stat(Path("owned").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4242u);
  EXPECT_EQ(st.st_gid, 4343u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadFile(Path("owned")), FBefore);
}

TEST_F(RLHostileTest, TargetNamesUpToTheLongestAreSaved) {
  for (const size_t length : {size_t{5}, size_t{242}, size_t{243}, size_t{250}, size_t{255}}) {
    const std::string name = Path(std::string(length - 4, 'n') + ".xml");
    FStore.SaveAsXMLFile(name, "");
    EXPECT_EQ(ReadFile(name), FBefore) << length;
    fs::remove(name);
  }
  EXPECT_EQ(FileCount(), 0u);
  EXPECT_THROW(FStore.SaveAsXMLFile(Path(std::string(256, 'n')), ""), EQELRLDataError);
  EXPECT_EQ(FileCount(), 0u);
}

}  // namespace
}  // namespace qel

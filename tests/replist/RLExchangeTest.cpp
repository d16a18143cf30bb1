// The report-list store's file exchange: XML documents and their recognition, CSV, text lines
// and HTML tables, with the nastiest texts, failed reads that must change nothing, and
// independent readers (Python's csv and html.parser) where python3 is present.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frame/QEL_streams.h"
#include "replist/QEL_replist.h"
#include "tests/replist/TempFolder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& S, int N) {
  std::string r;
  for (int i = 0; i < N; ++i) r += S;
  return r;
}

// Texts that break careless writers and readers.
const std::vector<std::string>& NastyTexts() {
  static const std::vector<std::string> texts = {
      "say \"hi\"",
      "a,b;c\td e",
      "<tag> & </replist> &amp; ]]>",
      "line1\nline2",
      "crlf\r\nend\r",
      "Gr\xC3\xBC\xC3\x9F"
      "e, \xC3\x98rsted \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC",
      Repeat("\xC3\xA4", 255),
      "  leading and trailing  ",
      " ",
      "\"",
      "id=\"x\" <replist qelwidget",
      "ctl\x01\x1F"
      "end",
      "=1+2",
      "",
  };
  return texts;
}

// Every stored text and setting that a file must carry.
void ExpectSameStore(const TRLData& A, const TRLData& B, bool Labels = true) {
  ASSERT_EQ(A.GetNrOfColumns(), B.GetNrOfColumns());
  ASSERT_EQ(A.GetNrOfRows(), B.GetNrOfRows());
  for (int c = 1; c <= A.GetNrOfColumns(); ++c) {
    EXPECT_EQ(A.GetColName(c), B.GetColName(c)) << "column " << c;
    EXPECT_EQ(A.GetColumnFormat(c), B.GetColumnFormat(c)) << "column " << c;
    EXPECT_EQ(A.GetColCheckMode(c), B.GetColCheckMode(c)) << "column " << c;
  }
  for (int r = 1; r <= A.GetNrOfRows(); ++r)
    for (int c = Labels ? 0 : 1; c <= A.GetNrOfColumns(); ++c)
      EXPECT_EQ(A.GetStoredElem(c, r), B.GetStoredElem(c, r)) << "cell " << c << "," << r;
}

// Column 1 plain texts, 2 a box column, 3 a radio column, 4 more texts; labels in column 0.
std::unique_ptr<TRLData> NastyStore() {
  auto d = std::make_unique<TRLData>(nullptr);
  const auto& t = NastyTexts();
  const int n = static_cast<int>(t.size());
  d->SetNrCols(4);
  d->SetNrRows(n);
  d->SetColCheckMode(2, cmBox);
  d->SetColCheckMode(3, cmRadio);
  for (int r = 1; r <= n; ++r) {
    d->SetElem(0, r, "row " + t[(r + 3) % n]);
    d->SetElem(1, r, t[r - 1]);
    if (r % 3 != 0) d->SetElem(2, r, t[(r + 1) % n]);  // every third check cell stays empty
    if (r % 2 == 0) d->SetElemChecked(2, r, true);
    d->SetElem(3, r, t[(r + 5) % n]);
    d->SetElem(4, r, t[(r + 7) % n]);
  }
  d->SetElemChecked(3, 4, true);
  d->SetColName(1, "Name, \"quoted\" <b>");
  d->SetColName(2,
                "\xC3\x9C"
                "bersicht;\tTab");
  d->SetColName(3, "");
  d->SetColumnFormat(1, "[c:5][120]red|green|<blue>");
  d->SetColumnFormat(4, "[i]rix4");
  d->SetComment("multi\nline & <comment>");
  d->SetCommonHeader("Header \"A\" & <B>");
  d->SetDataID("Res & \"Q\"");
  return d;
}

using RLFileTest = test::TempFolderTest;

// Runs python3 with Script (given the file name as argv[1]); the script prints one line per
// row with the fields in hexadecimal UTF-8, separated by ",". Returns false when python3 is
// absent.
bool RunPython(const std::string& Script, const std::string& File, const std::string& OutFile,
               std::vector<std::vector<std::string>>& Rows) {
  if (std::system("python3 -c 'import csv, html.parser' >/dev/null 2>&1") != 0) return false;
  std::ofstream(OutFile + ".py") << Script;
  const std::string cmd = "python3 '" + OutFile + ".py' '" + File + "' > '" + OutFile + "'";
  if (std::system(cmd.c_str()) != 0) return false;
  std::ifstream in(OutFile);
  std::string line;
  Rows.clear();
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream ss(line);
    std::string hex;
    while (std::getline(ss, hex, ',')) {
      std::string bytes;
      for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
      fields.push_back(bytes);
    }
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    Rows.push_back(fields);
  }
  return true;
}

// ---------------------------------------------------------------- XML

TEST_F(RLFileTest, XmlRoundTripOfTheNastiestStore) {
  auto src = NastyStore();
  src->SetElem(2, 3, "");  // the marker alone
  const std::string xml = src->XMLText(true, "");
  TRLData back(nullptr);
  back.ReadFromXMLString(xml, "res & \"q\"");
  ExpectSameStore(*src, back);
  EXPECT_EQ(back.GetComment(), src->GetComment());
  EXPECT_EQ(back.GetCommonHeader(), src->GetCommonHeader());
  EXPECT_EQ(back.GetDataID(), src->GetDataID());
  EXPECT_EQ(back.GetElem(1, 7), Repeat("\xC3\xA4", 255));
  EXPECT_EQ(back.GetStoredElem(2, 9), "") << "an empty check cell stays empty";
  EXPECT_EQ(back.GetStoredElem(2, 3), " ") << "a marker-only cell keeps its blank";

  // Through a file, and again: the second save reads back the same.
  src->SaveAsXMLFile(Path("a.xml"), "");
  TRLData fromFile(nullptr);
  fromFile.LoadFromXMLFile(Path("a.xml"), "");
  ExpectSameStore(*src, fromFile);
  EXPECT_EQ(fromFile.XMLText(true, ""), xml);
  EXPECT_EQ(FileCount(), 1u) << "no temporary file is left behind";

  // Progress runs from 0 to 100 without going back, for the writer and the reader.
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<int> percents;
    TRLData& d = pass == 0 ? *src : fromFile;
    d.OnPercentDone = [&](TObject* Sender, int Percent) {
      EXPECT_EQ(Sender, &d);
      percents.push_back(Percent);
    };
    if (pass == 0)
      d.SaveAsXMLFile(Path("a.xml"), "");
    else
      d.LoadFromXMLFile(Path("a.xml"), "");
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.front(), 0);
    EXPECT_EQ(percents.back(), 100);
  }
}

TEST_F(RLFileTest, WrittenDocumentsAreRecognisedByTheirIdentifier) {
  auto src = NastyStore();
  src->SaveAsXMLFile(Path("a.xml"), "");
  EXPECT_TRUE(CheckIfValidReplist(Path("a.xml"), src->GetDataID()));
  EXPECT_TRUE(CheckIfValidReplist(Path("a.xml"), ""));
  EXPECT_FALSE(CheckIfValidReplist(Path("a.xml"), "other"));
  // The DataID argument of a writer overrides the store's identifier.
  TStringStream s;
  src->WriteToXMLStream(s, false, "Given");
  s.SetPosition(0);
  EXPECT_TRUE(CheckIfValidReplist(s, "given"));
  s.SetPosition(0);
  EXPECT_FALSE(CheckIfValidReplist(s, src->GetDataID()));
  EXPECT_EQ(s.DataString().rfind("<?xml", 0), std::string::npos) << "no declaration asked for";
  TRLData back(nullptr);
  EXPECT_THROW(back.ReadFromXMLString(s.DataString(), "res"), EQELRLDataError);
  back.ReadFromXMLString(s.DataString(), " GIVEN ");
  EXPECT_EQ(back.GetDataID(), "Given");
}

TEST_F(RLFileTest, RecognitionFollowsTheRootLineRule) {
  WriteFile(Path("r.xml"),
            "<?xml version=\"1.0\"?>\n<REPLIST Type=\"QELWidget\" ID=\"Results \">\n</replist>\n");
  EXPECT_TRUE(CheckIfValidReplist(Path("r.xml"), "results"));
  EXPECT_TRUE(CheckIfValidReplist(Path("r.xml"), " RESULTS "));
  EXPECT_TRUE(CheckIfValidReplist(Path("r.xml"), ""));
  EXPECT_FALSE(CheckIfValidReplist(Path("r.xml"), "result"));
  WriteFile(Path("n.xml"), "<replist id=\"Results\">\n<qelwidget/>\n");
  EXPECT_FALSE(CheckIfValidReplist(Path("n.xml"), "")) << "the signature must be on the line";
  WriteFile(Path("e.xml"), "");
  EXPECT_FALSE(CheckIfValidReplist(Path("e.xml"), ""));
  EXPECT_THROW(CheckIfValidReplist(Path("missing.xml"), ""), EInOutError);

  // Only the first matching line counts; the stream stays right after it.
  TStringStream s("junk\n<replist qelwidget id=\"one\">\n<replist qelwidget id=\"two\">\nafter\n");
  EXPECT_TRUE(CheckIfValidReplist(s, "two"));
  s.SetPosition(0);
  EXPECT_TRUE(CheckIfValidReplist(s, "one"));
  bool atEnd = false;
  EXPECT_EQ(ReadLnStream(s, atEnd), "<replist qelwidget id=\"two\">");
}

TEST_F(RLFileTest, StreamsAndOpenFilesHoldDocumentsAmongOtherText) {
  auto a = NastyStore();
  TRLData b(nullptr);
  b.SetNrRows(1);
  b.SetElem(1, 1, "second");
  TStringStream s;
  s.WriteString("host line\n");
  a->WriteToXMLStream(s, false, "");
  b.WriteToXMLStream(s, false, "B");
  s.WriteString("trailer\n");
  s.SetPosition(0);
  bool atEnd = false;
  EXPECT_EQ(ReadLnStream(s, atEnd), "host line");
  TRLData r1(nullptr), r2(nullptr);
  r1.ReadFromXMLStream(s, "");
  r2.ReadFromXMLStream(s, "b");
  EXPECT_EQ(ReadLnStream(s, atEnd), "trailer");
  ExpectSameStore(*a, r1);
  EXPECT_EQ(r2.GetElem(1, 1), "second");

  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  a->WriteToOpenXMLFile(f, true, "");
  std::fputs("tail\n", f);
  std::rewind(f);
  TRLData r3(nullptr);
  r3.ReadFromOpenXMLFile(f, "");
  char buf[16] = {};
  ASSERT_NE(std::fgets(buf, sizeof buf, f), nullptr);
  EXPECT_STREQ(buf, "tail\n");
  std::fclose(f);
  ExpectSameStore(*a, r3);
  EXPECT_THROW(r3.ReadFromOpenXMLFile(nullptr, ""), EQELRLDataError);
}

TEST_F(RLFileTest, XmlCellsInEveryWrittenFormAndTheFirstFaultInOrder) {
  const std::string head =
      "<replist signature=\"qelwidget\">\n<numcols>2</numcols>\n<numrows>2</numrows>\n";
  struct Case {
    std::string Cells;
    std::string Cell22;  // the text read into column 2 of row 2
  };
  const std::vector<Case> cases = {
      {"<cell row=\"2\" col=\"2\">a</cell>", "a"},             // attributes in any order
      {"<cell COL=\"2\" Row=\"2\">a</cell>", "a"},             // names in any letter case
      {"<cell x=\"1\" col=\"2\" row=\"2\">a</cell>", "a"},   // other attributes first
      {"<cell COL=\"1\" col=\"2\" row=\"2\">a</cell>", "a"}, // the exact name wins
      {"<cell col=\" &#50;\" row=\"+2\">a</cell>", "a"},       // references, sign and blanks
      {"<cell col=\"2\" row=\"2\">a<!--x-->b&amp;<![CDATA[&lt;]]></cell>", "ab&&lt;"},
      {"<cell col=\"2\" row=\"2\"><b>x</b></cell>", ""},
      {"<cell col=\"2\" row=\"2\">x</cell><cell col=\"2\" row=\"2\"/>", ""},  // the last counts
  };
  for (const Case& k : cases) {
    TRLData d(nullptr);
    d.ReadFromXMLString(head + k.Cells + "</replist>", "");
    EXPECT_EQ(d.GetElem(2, 2), k.Cell22) << k.Cells;
  }
  // A column fault of a cell with a text is found before anything else; otherwise the first
  // fault in the document is named.
  struct Fault {
    std::string Body;
    std::string Expected;
  };
  for (const Fault& f : {
           Fault{"<cell col=\"1\" row=\"9\"/>\n<cell col=\"7\" row=\"1\">t</cell>",
                 "line 5: cell: attribute col is not in 0..2"},
           Fault{"<cell col=\"7\" row=\"1\"/>\n<cell col=\"1\" row=\"9\">t</cell>",
                 "line 4: cell: attribute col is not in 0..2"},
           Fault{"<checkedcolumn col=\"1\">5</checkedcolumn>\n<cell col=\"1\" row=\"9\"/>",
                 "line 4: checkedcolumn is not 0, 1 or 2"},
           Fault{"<cell col=\"1\" row=\"9\"/>\n<colname col=\"0\">n</colname>",
                 "line 4: cell: attribute row is not in 1..2"},
       }) {
    TRLData d(nullptr);
    try {
      d.ReadFromXMLString(head + f.Body + "</replist>", "");
      ADD_FAILURE() << "no error for " << f.Body;
    } catch (const EQELRLDataError& e) {
      EXPECT_NE(e.Message.find(f.Expected), std::string::npos) << e.Message;
    }
  }
}

TEST_F(RLFileTest, XmlReadFailuresNameTheLineAndChangeNothing) {
  auto d = NastyStore();
  const std::string before = d->XMLText(true, "");
  auto expectUnchanged = [&] { EXPECT_EQ(d->XMLText(true, ""), before); };
  auto messageOf = [&](const std::string& Xml) {
    try {
      d->ReadFromXMLString(Xml, "");
    } catch (const EQELRLDataError& e) {
      return e.Message;
    }
    return std::string("no error");
  };
  d->SetName("Store1");
  const std::string good = NastyStore()->XMLText(true, "");
  EXPECT_NE(messageOf(good.substr(0, good.size() / 2)).find("Component \"Store1\": XML text, line"),
            std::string::npos);
  expectUnchanged();
  const std::string head =
      "<replist signature=\"qelwidget\">\n<numcols>2</numcols>\n<numrows>2</numrows>\n";
  EXPECT_NE(
      messageOf(
          head +
          "<cell col=\"1\" row=\"1\">a</cell>\n<cell col=\"3\" row=\"1\">b</cell>\n</replist>")
          .find("line 5: cell: attribute col is not in 0..2"),
      std::string::npos);
  EXPECT_NE(messageOf(head + "<cell col=\"1\" row=\"0\">a</cell></replist>").find("line 4"),
            std::string::npos);
  EXPECT_NE(messageOf(head + "<cell col=\"1\">a</cell></replist>").find("row"), std::string::npos);
  EXPECT_NE(messageOf(head + "<checkedcolumn col=\"1\">3</checkedcolumn></replist>").find("line 4"),
            std::string::npos);
  EXPECT_NE(messageOf("<replist signature=\"qelwidget\"><numrows>1</numrows></replist>")
                .find("numcols is missing"),
            std::string::npos);
  EXPECT_NE(
      messageOf("<replist><numcols>-1</numcols><numrows>1</numrows></replist>").find("numcols"),
      std::string::npos);
  EXPECT_NE(messageOf("<replist><numcols>99999999999</numcols><numrows>1</numrows></replist>")
                .find("numcols"),
            std::string::npos);
  EXPECT_NE(messageOf("<other/>").find("no replist element"), std::string::npos);
  EXPECT_NE(messageOf("").find("XML text, line 1: "), std::string::npos);
  expectUnchanged();
  try {
    d->LoadFromXMLFile(Path("missing.xml"), "");
    ADD_FAILURE() << "no error";
  } catch (const EQELRLDataError& e) {
    EXPECT_NE(e.Message.find(Path("missing.xml")), std::string::npos);
  }
  expectUnchanged();
}

TEST_F(RLFileTest, XmlReaderAcceptsLooseButValidDocuments) {
  TRLData d(nullptr);
  // Counts after the cells, unknown elements, a BOM, CDATA, comments splitting a text, and a
  // document with no columns left.
  d.ReadFromXMLString(
      "\xEF\xBB\xBF<replist signature='qelwidget' id='X'><future a=\"1\"/>"
      "<cell row=\"2\" col=\"1\"><![CDATA[<raw>]]></cell>"
      "<cell col=\"0\" row=\"1\">a<!-- c -->b</cell>"
      "<numrows> 2 </numrows><numcols>1</numcols></replist>",
      "x");
  EXPECT_EQ(d.GetNrOfRows(), 2);
  EXPECT_EQ(d.GetElem(1, 2), "<raw>");
  EXPECT_EQ(d.GetElem(0, 1), "ab");
  EXPECT_EQ(d.GetColName(1), "C-1");
  EXPECT_EQ(d.GetCommonHeader(), "");
  d.RemoveColumn(1);
  TRLData none(nullptr);
  none.ReadFromXMLString(d.XMLText(false, ""), "");
  EXPECT_EQ(none.GetNrOfColumns(), 0);
  EXPECT_EQ(none.GetNrOfRows(), 2);
  // A NUL cannot be written in XML: it is left out and the rest of the cell survives.
  TRLData z(nullptr);
  z.SetNrRows(1);
  z.SetElem(1, 1, std::string("a\0b", 3));
  TRLData zb(nullptr);
  zb.ReadFromXMLString(z.XMLText(true, ""), "");
  EXPECT_EQ(zb.GetElem(1, 1), "ab");
}

TEST_F(RLFileTest, SavingNeverDamagesWhatIsThere) {
  TRLData d(nullptr);
  d.SetNrRows(1);
  d.SetElem(1, 1, "new");
  WriteFile(Path("keep.xml"), "old");
  ::chmod(Path("keep.xml").c_str(), 0640);
  d.SaveAsXMLFile(Path("keep.xml"), "");
  struct stat st {};
  ASSERT_EQ(::stat(Path("keep.xml").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u) << "the file keeps its permissions";
  // A save onto a folder fails at the rename: the folder and its contents stay, no temporary
  // file is left.
  fs::create_directory(Path("dir"));
  WriteFile(Path("dir/inside"), "x");
  EXPECT_THROW(d.SaveAsXMLFile(Path("dir"), ""), EQELRLDataError);
  EXPECT_EQ(ReadFile(Path("dir/inside")), "x");
  EXPECT_EQ(FileCount(), 2u);
  EXPECT_THROW(d.SaveAsXMLFile(Path("no/such/dir/f.xml"), ""), EQELRLDataError);
  EXPECT_THROW(d.ExportCSV(Path("no/such/f.csv"), csvComma, true, false, 1, 1, 1, 1),
               EQELRLDataError);
}

// ---------------------------------------------------------------- CSV

TEST_F(RLFileTest, CsvRoundTripWithEveryDelimiter) {
  auto src = NastyStore();
  for (TCSVDelimiters delim : {csvComma, csvSemicolon, csvTab, csvSpace}) {
    SCOPED_TRACE(static_cast<int>(delim));
    src->ExportCSV(Path("a.csv"), delim, true, true, 1, 1, 99, 99);
    // Importing into a store with the same set-up restores the check columns from the markers.
    TRLData back(nullptr);
    back.SetNrCols(4);
    back.SetColCheckMode(2, cmBox);
    back.SetColCheckMode(3, cmRadio);
    back.SetColumnFormat(1, src->GetColumnFormat(1));
    back.SetColumnFormat(4, src->GetColumnFormat(4));
    back.ImportCSV(Path("a.csv"), delim, true);
    ExpectSameStore(*src, back, false);
  }
}

TEST_F(RLFileTest, CsvExportLayout) {
  TRLData d(nullptr);
  d.SetNrCols(2);
  d.SetNrRows(3);
  d.SetColName(1, "A");
  d.SetColName(2, "B");
  d.SetColCheckMode(2, cmBox);
  d.SetElem(0, 1, "L1");
  d.SetElem(1, 1, "x,y");
  d.SetElem(2, 1, "q\"q");
  d.SetElemChecked(2, 1, true);
  d.SetElem(1, 2, "two\nlines");
  d.ExportCSV(Path("l.csv"), csvComma, true, false, 0, 1, 2, 2);
  EXPECT_EQ(ReadFile(Path("l.csv")), ",A,B\r\nL1,\"x,y\",\"q\"\"q\"\r\n,\"two\nlines\",\r\n");
  d.ExportCSV(Path("s.csv"), csvSemicolon, false, true, 2, 1, 2, 3);
  EXPECT_EQ(ReadFile(Path("s.csv")), "\"Xq\"\"q\"\r\n\"\"\r\n\"\"\r\n")
      << "an empty field alone on its line is quoted so that the line is not blank";
  TRLData back(nullptr);
  back.ImportCSV(Path("s.csv"), csvSemicolon, false);
  EXPECT_EQ(back.GetNrOfRows(), 3);
  EXPECT_EQ(back.GetNrOfColumns(), 1);
  EXPECT_EQ(back.GetElem(1, 1), "Xq\"q");
}

TEST_F(RLFileTest, CsvImportDetails) {
  TRLData d(nullptr);
  d.SetComment("kept");
  d.SetNrCols(3);
  d.SetColName(1, "old1");
  d.SetColCheckMode(1, cmBox);
  d.SetColumnFormat(2, "[i]");
  WriteFile(Path("b.csv"), "\xEF\xBB\xBFN1;N2\n\n1;\"2\"\r\n" + std::string(300, 'w') + ";\n");
  d.ImportCSV(Path("b.csv"), csvSemicolon, true);
  EXPECT_EQ(d.GetNrOfColumns(), 2);
  EXPECT_EQ(d.GetNrOfRows(), 2) << "the BOM is skipped and blank lines are no records";
  EXPECT_EQ(d.GetColName(1), "N1");
  EXPECT_EQ(d.GetColCheckMode(1), cmBox) << "existing columns keep their set-up";
  EXPECT_EQ(d.GetColumnFormat(2), "[i]");
  EXPECT_EQ(d.GetStoredElem(1, 1), "1");
  EXPECT_EQ(d.GetElem(1, 2).size(), 254u) << "255 stored characters, the first the marker";
  EXPECT_EQ(d.GetElem(2, 2), "");
  EXPECT_EQ(d.GetComment(), "kept");

  WriteFile(Path("plain.csv"), "a,b,c\n");
  d.ImportCSV(Path("plain.csv"), csvComma, false);
  EXPECT_EQ(d.GetNrOfColumns(), 3);
  EXPECT_EQ(d.GetNrOfRows(), 1);
  EXPECT_EQ(d.GetColName(1), "N1") << "without a header line the names stay";
  EXPECT_EQ(d.GetColName(3), "C-3");
  EXPECT_EQ(d.GetColCheckMode(3), cmNone);
}

TEST_F(RLFileTest, CsvReadFailuresNameTheLineAndChangeNothing) {
  auto d = NastyStore();
  d->SetName("Store2");
  const std::string before = d->XMLText(true, "");
  auto messageOf = [&](const std::string& Csv) {
    WriteFile(Path("bad.csv"), Csv);
    try {
      d->ImportCSV(Path("bad.csv"), csvComma, false);
    } catch (const EQELRLDataError& e) {
      return e.Message;
    }
    return std::string("no error");
  };
  EXPECT_EQ(messageOf("a,b\nc,d\n\"multi\nline\",x\ne\n"),
            "Component \"Store2\": file \"" + Path("bad.csv") +
                "\", line 5: the record has 1 fields, the first has 2");
  EXPECT_NE(messageOf("a,b\n\"open,b\nmore\n").find("line 2: a quoted field is not closed"),
            std::string::npos);
  EXPECT_NE(messageOf("\"a\"x,b\n").find("line 1: a character follows"), std::string::npos);
  EXPECT_NE(messageOf("a,b\n1,2,3\n").find("line 2"), std::string::npos);
  EXPECT_EQ(d->XMLText(true, ""), before);
  EXPECT_THROW(d->ImportCSV(Path("missing.csv"), csvComma, false), EQELRLDataError);
  EXPECT_EQ(d->XMLText(true, ""), before);
}

TEST_F(RLFileTest, CsvExportReadsTheSameInPython) {
  auto src = NastyStore();
  src->ExportCSV(Path("p.csv"), csvSemicolon, true, false, 0, 1, 99, 99);
  const std::string script =
      "import csv, sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
      "    for row in csv.reader(f, delimiter=';'):\n"
      "        print(','.join(x.encode('utf-8').hex() for x in row))\n";
  std::vector<std::vector<std::string>> rows;
  if (!RunPython(script, Path("p.csv"), Path("p.out"), rows)) GTEST_SKIP() << "no python3";
  ASSERT_EQ(rows.size(), static_cast<size_t>(src->GetNrOfRows()) + 1);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(rows[0][c], src->GetColName(c));
  for (int r = 1; r <= src->GetNrOfRows(); ++r) {
    ASSERT_EQ(rows[r].size(), 5u) << "row " << r;
    for (int c = 0; c <= 4; ++c) EXPECT_EQ(rows[r][c], src->GetElem(c, r)) << c << "," << r;
  }
}

// ---------------------------------------------------------------- text lines

TEST_F(RLFileTest, LoadLinesFillsAColumnAndAddsRows) {
  TRLData d(nullptr);
  d.SetNrCols(2);
  d.SetNrRows(2);
  d.SetColCheckMode(2, cmBox);
  d.SetElem(2, 1, "keep");
  d.SetElemChecked(2, 2, true);
  WriteFile(Path("l.txt"), "\xEF\xBB\xBFone\r\ntwo\n\n" + std::string(300, 'z') + "\n");
  EXPECT_EQ(d.LoadLinesFromFile(2, 2, Path("l.txt")), 4);
  EXPECT_EQ(d.GetNrOfRows(), 5);
  EXPECT_EQ(d.GetElem(2, 1), "keep");
  EXPECT_EQ(d.GetStoredElem(2, 2), "Xone") << "the marker of a check cell stays";
  EXPECT_EQ(d.GetStoredElem(2, 3), " two");
  EXPECT_EQ(d.GetElem(2, 4), "");
  EXPECT_EQ(d.GetElem(2, 5).size(), 254u);
  EXPECT_EQ(d.LoadLinesFromFile(3, 1, Path("l.txt")), 0);
  EXPECT_EQ(d.LoadLinesFromFile(0, 1, Path("l.txt")), 4);
  EXPECT_EQ(d.GetElem(0, 1), "one");
  EXPECT_THROW(d.LoadLinesFromFile(1, 1, Path("missing.txt")), EQELRLDataError);
}

// ---------------------------------------------------------------- HTML

TEST_F(RLFileTest, HtmlExportParsesToTheSameTexts) {
  auto src = NastyStore();
  int calls = 0;
  src->OnBeforeHTMLExport = [&](TObject* Sender, std::string& Text, int Col, int Row) {
    ++calls;
    EXPECT_EQ(Sender, src.get());
    if (Col == 4 && Row == 2) Text = "<replaced> & \"changed\"";
  };
  src->ExportHTMLTable(Path("t.html"), 0, 1, 4, 99, {40, 0, 120}, 1, 2, 3, true, "Title <&>",
                       "Caption \"c\"", "td { color: red } </style><script>");
  EXPECT_EQ(calls, 5 * (src->GetNrOfRows() + 1));
  const std::string html = ReadFile(Path("t.html"));
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_EQ(html.find("</style><script>"), std::string::npos) << "the style cannot escape";
  EXPECT_NE(html.find("<col style=\"width: 40px\"><col><col style=\"width: 120px\"><col><col>"),
            std::string::npos);
  EXPECT_NE(html.find("border-spacing: 3px; border: 1px"), std::string::npos);
  EXPECT_NE(html.find("padding: 2px"), std::string::npos);

  const std::string script =
      "import sys\n"
      "from html.parser import HTMLParser\n"
      "class P(HTMLParser):\n"
      "    def __init__(self):\n"
      "        super().__init__(); self.rows=[]; self.cell=None; self.other=None\n"
      "    def handle_starttag(self, tag, attrs):\n"
      "        if tag == 'tr': self.rows.append([])\n"
      "        elif tag in ('td', 'th'): self.cell = ''\n"
      "        elif tag in ('title', 'caption'): self.other = (tag, '')\n"
      "    def handle_endtag(self, tag):\n"
      "        if tag in ('td', 'th'): self.rows[-1].append(self.cell); self.cell = None\n"
      "        elif tag in ('title', 'caption'): self.rows.append([self.other[1]]); "
      "self.other=None\n"
      "    def handle_data(self, data):\n"
      "        if self.cell is not None: self.cell += data\n"
      "        elif self.other is not None: self.other = (self.other[0], self.other[1] + data)\n"
      "p = P()\n"
      "p.feed(open(sys.argv[1], encoding='utf-8', newline='').read()); p.close()\n"
      "for r in p.rows: print(','.join(x.encode('utf-8').hex() for x in r))\n";
  std::vector<std::vector<std::string>> rows;
  if (!RunPython(script, Path("t.html"), Path("t.out"), rows)) GTEST_SKIP() << "no python3";
  ASSERT_EQ(rows.size(), static_cast<size_t>(src->GetNrOfRows()) + 3);
  EXPECT_EQ(rows[0][0], "Title <&>");
  EXPECT_EQ(rows[1][0], "Caption \"c\"");
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(rows[2][c], src->GetColName(c));
  for (int r = 1; r <= src->GetNrOfRows(); ++r) {
    ASSERT_EQ(rows[r + 2].size(), 5u) << "row " << r;
    for (int c = 0; c <= 4; ++c) {
      std::string want = c == 4 && r == 2 ? "<replaced> & \"changed\"" : src->GetElem(c, r);
      // Control characters become the replacement character; an HTML reader sees CR as is.
      for (size_t p = 0; (p = want.find_first_of("\x01\x1F", p)) != std::string::npos; p += 3)
        want.replace(p, 1, "\xEF\xBF\xBD");
      EXPECT_EQ(rows[r + 2][c], want) << c << "," << r;
    }
  }
}

TEST_F(RLFileTest, HtmlExportDefaultsAndEmptyRanges) {
  TRLData d(nullptr);
  d.SetNrRows(1);
  d.SetElem(1, 1, "v");
  const std::string html = d.HTMLText(1, 1, 1, 1, {}, -5, -1, -1, false, "", "", "");
  EXPECT_NE(html.find("<title>QEL Report Listview</title>"), std::string::npos);
  EXPECT_EQ(html.find("<caption>"), std::string::npos);
  EXPECT_EQ(html.find("<thead>"), std::string::npos);
  EXPECT_NE(html.find("border: 0px"), std::string::npos);
  EXPECT_NE(html.find("<tr><td>v</td></tr>"), std::string::npos);
  const std::string none = d.HTMLText(3, 1, 2, 1, {}, 0, 0, 0, true, "", "", "");
  EXPECT_EQ(none.find("<td>"), std::string::npos);
}

}  // namespace
}  // namespace qel

// CSV import and export, loading text lines, and the HTML table export of TRLData. The formats
// are described in docs/report-list-files.md.
#include <algorithm>
#include <array>
#include <deque>
#include <limits>

#include "frame/QEL_stringl.h"
#include "replist/QEL_replist_data.h"
#include "replist/replist_files.h"

namespace qel {

namespace {

constexpr int kMaxCsvColumns = 100000;

std::string_view SkipBom(std::string_view S) {
  if (S.substr(0, 3) == "\xEF\xBB\xBF") S.remove_prefix(3);
  return S;
}

// The bytes that end an unquoted field (the delimiter and line breaks) and, with Quote, the
// quote too: the bytes that make a written field quoted. A table, as every byte is looked at.
std::array<bool, 256> CsvStops(char Delim, bool Quote) {
  std::array<bool, 256> t{};
  t[static_cast<unsigned char>(Delim)] = t['\n'] = t['\r'] = true;
  if (Quote) t['"'] = true;
  return t;
}

void AppendCsvField(std::string& Out, std::string_view S, const std::array<bool, 256>& Special,
                    bool Alone) {
  // An empty field alone on its line is quoted, or the reader would take the line for blank.
  // A leading byte order mark would be skipped as the file's own by a reader.
  bool quote = (Alone && S.empty()) || S.substr(0, 3) == "\xEF\xBB\xBF";
  for (const char ch : S)
    if (Special[static_cast<unsigned char>(ch)]) {
      quote = true;
      break;
    }
  if (!quote) {
    Out += S;
    return;
  }
  Out += '"';
  for (const char ch : S) {
    if (ch == '"') Out += '"';
    Out += ch;
  }
  Out += '"';
}

// An RFC 4180 reader: fields separated by Delim, records ended by CR LF, LF or CR; a quoted
// field may hold delimiters, line breaks and doubled quotes. Lines without any character are
// skipped. A quote inside an unquoted field is taken as it is.
class TCsvReader {
 public:
  TCsvReader(std::string_view Text, char Delim)
      : FText(Text), FDelim(Delim), FStops(CsvStops(Delim, false)) {}

  // Reads the next record into Fields; false at the end. Raises through Fail on a malformed
  // quoted field. The fields are valid until the next call: most lie in the text, those with
  // doubled quotes are put together in the reader.
  template <class FailFn>
  bool Next(std::vector<std::string_view>& Fields, int& Line, FailFn&& Fail) {
    while (FPos < FText.size() && (FText[FPos] == '\n' || FText[FPos] == '\r')) SkipBreak();
    if (FPos >= FText.size()) return false;
    Line = FLine;
    size_t n = 0;
    for (;;) {
      if (n == Fields.size()) Fields.emplace_back();
      std::string_view& field = Fields[n++];
      if (FPos < FText.size() && FText[FPos] == '"') {
        const int openLine = FLine;
        ++FPos;
        std::string* built = nullptr;  // set once a doubled quote is met
        for (;;) {
          const size_t q = FText.find('"', FPos);
          if (q == std::string_view::npos) Fail(openLine, "a quoted field is not closed");
          const std::string_view part = FText.substr(FPos, q - FPos);
          FLine += static_cast<int>(std::count(part.begin(), part.end(), '\n'));
          FPos = q + 1;
          const bool doubled = FPos < FText.size() && FText[FPos] == '"';
          if (!built && !doubled) {
            field = part;
            break;
          }
          if (!built) {
            // A deque keeps its strings in place as it grows, so earlier fields stay valid.
            if (FBuilt.size() < n) FBuilt.resize(n);
            built = &FBuilt[n - 1];
            built->clear();
          }
          built->append(part);
          if (!doubled) break;
          *built += '"';
          ++FPos;
        }
        if (built) field = *built;
        if (FPos < FText.size() && FText[FPos] != FDelim && FText[FPos] != '\n' &&
            FText[FPos] != '\r')
          Fail(FLine, "a character follows the closing quote of a field");
      } else {
        size_t e = FPos;
        while (e < FText.size() && !FStops[static_cast<unsigned char>(FText[e])]) ++e;
        field = FText.substr(FPos, e - FPos);
        FPos = e;
      }
      if (FPos < FText.size() && FText[FPos] == FDelim) {
        ++FPos;
        if (n >= static_cast<size_t>(kMaxCsvColumns)) Fail(FLine, "too many fields");
        continue;
      }
      if (FPos < FText.size()) SkipBreak();
      break;
    }
    Fields.resize(n);
    return true;
  }

 private:
  void SkipBreak() {
    if (FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n') ++FPos;
    ++FPos;
    ++FLine;
  }
  std::string_view FText;
  char FDelim;
  std::array<bool, 256> FStops;
  size_t FPos = 0;
  int FLine = 1;
  std::deque<std::string> FBuilt;  // by field number
};

}  // namespace

// ---------------------------------------------------------------- CSV

void TRLData::ImportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames) {
  const std::string source = "file \"" + FName + "\"";
  std::string data, error;
  if (!rlfiles::ReadWholeFile(FName, data, error)) ReadError(source, 0, "cannot open: " + error);
  const auto fail = [&](int Line, const char* What) { ReadError(source, Line, What); };
  const std::string_view text = SkipBom(data);
  const size_t bad = rlfiles::FirstInvalidUtf8(text);
  if (bad != std::string_view::npos)
    ReadError(source, rlfiles::LineOfOffset(text, bad), "the text is not valid UTF-8");
  const char delim = CSVDelimiterChar(Delimiter);

  // Two passes over the text: the first checks it and sizes the table, the second stores the
  // fields straight into it, so nothing but the file and the table is ever held.
  std::vector<std::string_view> fields;
  std::vector<std::string> names;
  std::vector<bool> textColumn;
  int line = 0, cols = -1, rows = 0;
  {
    TCsvReader reader(text, delim);
    bool first = true;
    while (reader.Next(fields, line, fail)) {
      if (cols < 0) {
        cols = static_cast<int>(fields.size());
        textColumn.assign(static_cast<size_t>(cols) + 1, false);
      }
      if (static_cast<int>(fields.size()) != cols)
        ReadError(source, line,
                  "the record has " + std::to_string(fields.size()) + " fields, the first has " +
                      std::to_string(cols));
      if (first && ColumnNames) {
        names.assign(fields.begin(), fields.end());
      } else {
        if (rows == std::numeric_limits<int>::max() / (cols + 1)) fail(line, "too many records");
        for (size_t i = 0; i < fields.size(); ++i)
          if (!fields[i].empty()) textColumn[i + 1] = true;
        ++rows;
      }
      first = false;
    }
  }
  if (cols < 0) cols = 1;  // an empty file gives one empty column
  const auto textColumns = std::count(textColumn.begin(), textColumn.end(), true);
  if (!rlfiles::WithinReadBudget(rows, textColumns, data.size()))
    ReadError(source, 0, "the table would need more memory than the file may ask for");

  TRLData fresh(nullptr);
  try {
    fresh.FStorage->SetAllocRowsBy(FStorage->GetAllocRowsBy());
    fresh.SetNrCols(cols);
    fresh.SetNrRows(rows);
  } catch (const std::exception&) {  // std::bad_alloc, or the store's or storage's own
    ReadError(source, 0, "not enough memory for the table");
  }
  // The columns that were there keep their set-up; the texts around the table stay.
  for (int c = 1; c <= std::min(cols, FNrOfColumns); ++c) {
    fresh.FColNames[c] = FColNames[c];
    fresh.FColFormats[c] = FColFormats[c];
    fresh.FCheckModes[c] = FCheckModes[c];
  }
  for (int c = 1; c <= static_cast<int>(names.size()); ++c) fresh.SetColName(c, names[c - 1]);
  fresh.FCommonHeader = FCommonHeader;
  fresh.FComment = FComment;
  fresh.FDataID = FDataID;
  try {
    TCsvReader reader(text, delim);
    if (ColumnNames) reader.Next(fields, line, fail);
    for (int r = 1; r <= rows && reader.Next(fields, line, fail); ++r)
      for (int c = 1; c <= cols; ++c) fresh.FStorage->SetString(c, r, fields[c - 1]);
  } catch (const std::bad_alloc&) {
    ReadError(source, 0, "not enough memory for the texts");
  }
  TakeOver(fresh);
}

void TRLData::ExportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames,
                        bool StoredTexts, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  const char delim = CSVDelimiterChar(Delimiter);
  const int c0 = std::max(ColLow, 0), c1 = std::min(ColHigh, FNrOfColumns);
  const int r0 = std::max(RowLow, 1), r1 = std::min(RowHigh, FNrOfRows);
  rlfiles::WriteFileAtomically(
      FName,
      [&](const rlfiles::TChunkSink& Sink) {
        EmitCSV(Sink, delim, ColumnNames, StoredTexts, c0, r0, c1, r1);
      },
      ComponentMessage(GetName(), "\": "));
}

void TRLData::EmitCSV(const std::function<void(std::string_view)>& Sink, char delim,
                      bool ColumnNames, bool StoredTexts, int c0, int r0, int c1, int r1) const {
  rlfiles::TChunkedWriter writer(Sink);
  std::string& out = writer.Buffer();
  const std::array<bool, 256> special = CsvStops(delim, true);
  if (c0 <= c1) {
    const bool alone = c0 == c1;
    if (ColumnNames) {
      for (int c = c0; c <= c1; ++c) {
        if (c > c0) out += delim;
        AppendCsvField(out, GetColName(c), special, alone);
      }
      out += "\r\n";
    }
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) {
        if (c > c0) out += delim;
        std::string_view s = FStorage->GetStringView(c, r);
        if (!StoredTexts && IsCheckCol(c) && !s.empty()) {
          size_t n = 1;
          while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
          s.remove_prefix(n);
        }
        AppendCsvField(out, s, special, alone);
      }
      out += "\r\n";
      writer.Poll();
    }
  }
  writer.Flush();
}

// ---------------------------------------------------------------- text lines

int TRLData::LoadLinesFromFile(int Col, int FirstRow, const std::string& FName) {
  const std::string source = "file \"" + FName + "\"";
  std::string data, error;
  if (!rlfiles::ReadWholeFile(FName, data, error)) ReadError(source, 0, "cannot open: " + error);
  if (Col < 0 || Col > FNrOfColumns || FirstRow < 1) return 0;
  const std::string_view text = SkipBom(data);
  const size_t bad = rlfiles::FirstInvalidUtf8(text);
  if (bad != std::string_view::npos)
    ReadError(source, rlfiles::LineOfOffset(text, bad), "the text is not valid UTF-8");
  // The lines are counted first and then stored one by one: no list of them is ever held.
  int64_t lines = std::count(text.begin(), text.end(), '\n');
  if (!text.empty() && text.back() != '\n') ++lines;  // a last line without its break
  if (lines == 0) return 0;
  const int64_t last = static_cast<int64_t>(FirstRow) + lines - 1;
  if (last * (FNrOfColumns + 1) > std::numeric_limits<int>::max())
    ReadError(source, 0, "too many lines for the table");
  const int n = static_cast<int>(lines);
  if (last > FNrOfRows) SetNrRows(static_cast<int>(last));
  std::string_view rest = text;
  for (int i = 0; i < n; ++i) {
    const size_t lf = rest.find('\n');
    std::string_view line = rest.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    SetElem(Col, FirstRow + i, std::string(line));
    rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
  }
  return n;
}

// ---------------------------------------------------------------- HTML

void TRLData::BeforeHTMLExport(std::string& Text, int Col, int Row) {
  if (OnBeforeHTMLExport) OnBeforeHTMLExport(this, Text, Col, Row);
}

std::string TRLData::HTMLText(int ColLow, int RowLow, int ColHigh, int RowHigh,
                              const std::vector<int>& ColWidths, int Border, int CellPadding,
                              int CellSpacing, bool Header, const std::string& Title,
                              const std::string& Caption, const std::string& Style) {
  const int c0 = std::max(ColLow, 0), c1 = std::min(ColHigh, FNrOfColumns);
  const int r0 = std::max(RowLow, 1), r1 = std::min(RowHigh, FNrOfRows);
  const std::string border = std::to_string(std::max(Border, 0));
  std::string out;
  out += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  rlfiles::AppendEscaped(out, Title.empty() ? FCommonHeader : Title, rlfiles::mcHtml);
  out += "</title>\n<style>\ntable.replist { border-collapse: separate; border-spacing: ";
  out += std::to_string(std::max(CellSpacing, 0));
  out += "px; border: " + border + "px solid #808080; }\n";
  out += "table.replist th, table.replist td { border: " + border + "px solid #808080; padding: ";
  out += std::to_string(std::max(CellPadding, 0));
  out += "px; text-align: left; vertical-align: top; white-space: pre-wrap; }\n";
  // A style text cannot end the style element early.
  std::string style = Style;
  for (size_t p = 0; (p = style.find("</", p)) != std::string::npos; p += 3)
    style.replace(p, 2, "<\\/");
  if (!style.empty()) out += style + "\n";
  out += "</style>\n</head>\n<body>\n<table class=\"replist\">\n";
  if (!Caption.empty()) {
    out += "<caption>";
    rlfiles::AppendEscaped(out, Caption, rlfiles::mcHtml);
    out += "</caption>\n";
  }
  if (c0 <= c1) {
    out += "<colgroup>";
    for (int c = c0; c <= c1; ++c) {
      const size_t i = static_cast<size_t>(c - c0);
      if (i < ColWidths.size() && ColWidths[i] >= 1)
        out += "<col style=\"width: " + std::to_string(ColWidths[i]) + "px\">";
      else
        out += "<col>";
    }
    out += "</colgroup>\n";
  }
  std::string text;
  if (Header) {
    out += "<thead>\n<tr>";
    for (int c = c0; c <= c1; ++c) {
      text = GetColName(c);
      BeforeHTMLExport(text, c, 0);
      out += "<th scope=\"col\">";
      rlfiles::AppendEscaped(out, text, rlfiles::mcHtml);
      out += "</th>";
    }
    out += "</tr>\n</thead>\n";
  }
  out += "<tbody>\n";
  for (int r = r0; r <= r1; ++r) {
    out += "<tr>";
    for (int c = c0; c <= c1; ++c) {
      text = GetElem(c, r);
      BeforeHTMLExport(text, c, r);
      out += c == 0 ? "<th scope=\"row\">" : "<td>";
      rlfiles::AppendEscaped(out, text, rlfiles::mcHtml);
      out += c == 0 ? "</th>" : "</td>";
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n</body>\n</html>\n";
  return out;
}

void TRLData::ExportHTMLTable(const std::string& FName, int ColLow, int RowLow, int ColHigh,
                              int RowHigh, const std::vector<int>& ColWidths, int Border,
                              int CellPadding, int CellSpacing, bool Header,
                              const std::string& Title, const std::string& Caption,
                              const std::string& Style) {
  rlfiles::WriteFileAtomically(FName,
                               HTMLText(ColLow, RowLow, ColHigh, RowHigh, ColWidths, Border,
                                        CellPadding, CellSpacing, Header, Title, Caption, Style),
                               ComponentMessage(GetName(), "\": "));
}

}  // namespace qel

// CSV import and export, loading text lines, and the HTML table export of TRLData. The formats
// are described in docs/report-list-files.md.
#include <algorithm>
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

void AppendCsvField(std::string& Out, std::string_view S, char Delim, bool Alone) {
  // An empty field alone on its line is quoted, or the reader would take the line for blank.
  // A leading byte order mark would be skipped as the file's own by a reader.
  bool quote = (Alone && S.empty()) || S.substr(0, 3) == "\xEF\xBB\xBF";
  for (const char ch : S)
    if (ch == Delim || ch == '"' || ch == '\n' || ch == '\r') {
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
  TCsvReader(std::string_view Text, char Delim) : FText(Text), FDelim(Delim) {}

  // Reads the next record into Fields; false at the end. Raises through Fail on a malformed
  // quoted field.
  template <class FailFn>
  bool Next(std::vector<std::string>& Fields, int& Line, FailFn&& Fail) {
    while (FPos < FText.size() && (FText[FPos] == '\n' || FText[FPos] == '\r')) SkipBreak();
    if (FPos >= FText.size()) return false;
    Line = FLine;
    size_t n = 0;
    for (;;) {
      if (n == Fields.size()) Fields.emplace_back();
      std::string& field = Fields[n++];
      field.clear();
      if (FPos < FText.size() && FText[FPos] == '"') {
        const int openLine = FLine;
        ++FPos;
        for (;;) {
          const size_t q = FText.find('"', FPos);
          if (q == std::string_view::npos) Fail(openLine, "a quoted field is not closed");
          const std::string_view part = FText.substr(FPos, q - FPos);
          FLine += static_cast<int>(std::count(part.begin(), part.end(), '\n'));
          field.append(part);
          FPos = q + 1;
          if (FPos < FText.size() && FText[FPos] == '"') {
            field += '"';
            ++FPos;
            continue;
          }
          break;
        }
        if (FPos < FText.size() && FText[FPos] != FDelim && FText[FPos] != '\n' &&
            FText[FPos] != '\r')
          Fail(FLine, "a character follows the closing quote of a field");
      } else {
        size_t e = FPos;
        while (e < FText.size() && FText[e] != FDelim && FText[e] != '\n' && FText[e] != '\r') ++e;
        field.assign(FText.data() + FPos, e - FPos);
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
  size_t FPos = 0;
  int FLine = 1;
};

}  // namespace

// ---------------------------------------------------------------- CSV

void TRLData::ImportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames) {
  const std::string source = "file \"" + FName + "\"";
  std::string data, error;
  if (!rlfiles::ReadWholeFile(FName, data, error)) ReadError(source, 0, "cannot open: " + error);
  const auto fail = [&](int Line, const char* What) { ReadError(source, Line, What); };

  TCsvReader reader(SkipBom(data), CSVDelimiterChar(Delimiter));
  std::vector<std::string> fields, names, cells;
  int line = 0, cols = -1, rows = 0;
  bool first = true;
  while (reader.Next(fields, line, fail)) {
    if (cols < 0) cols = static_cast<int>(fields.size());
    if (static_cast<int>(fields.size()) != cols)
      ReadError(source, line,
                "the record has " + std::to_string(fields.size()) + " fields, the first has " +
                    std::to_string(cols));
    if (first && ColumnNames) {
      names = fields;
    } else {
      if (rows == std::numeric_limits<int>::max() / (cols + 1)) fail(line, "too many records");
      for (auto& f : fields) cells.push_back(std::move(f));
      ++rows;
    }
    first = false;
  }
  if (cols < 0) cols = 1;  // an empty file gives one empty column

  TRLData fresh(nullptr);
  try {
    fresh.FStorage->SetAllocRowsBy(FStorage->GetAllocRowsBy());
    fresh.SetNrCols(cols);
    fresh.SetNrRows(rows);
  } catch (const EQELRLDataError&) {
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
  size_t k = 0;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c) fresh.FStorage->SetString(c, r, cells[k++]);
  TakeOver(fresh);
}

void TRLData::ExportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames,
                        bool StoredTexts, int ColLow, int RowLow, int ColHigh, int RowHigh) {
  const char delim = CSVDelimiterChar(Delimiter);
  const int c0 = std::max(ColLow, 0), c1 = std::min(ColHigh, FNrOfColumns);
  const int r0 = std::max(RowLow, 1), r1 = std::min(RowHigh, FNrOfRows);
  std::string out;
  if (c0 <= c1) {
    const bool alone = c0 == c1;
    if (ColumnNames) {
      for (int c = c0; c <= c1; ++c) {
        if (c > c0) out += delim;
        AppendCsvField(out, GetColName(c), delim, alone);
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
        AppendCsvField(out, s, delim, alone);
      }
      out += "\r\n";
    }
  }
  rlfiles::WriteFileAtomically(FName, out, ComponentMessage(GetName(), "\": "));
}

// ---------------------------------------------------------------- text lines

int TRLData::LoadLinesFromFile(int Col, int FirstRow, const std::string& FName) {
  const std::string source = "file \"" + FName + "\"";
  std::string data, error;
  if (!rlfiles::ReadWholeFile(FName, data, error)) ReadError(source, 0, "cannot open: " + error);
  if (Col < 0 || Col > FNrOfColumns || FirstRow < 1) return 0;
  std::vector<std::string_view> lines;
  std::string_view text = SkipBom(data);
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
  }
  const int n = static_cast<int>(std::min<size_t>(lines.size(), std::numeric_limits<int>::max()));
  if (n == 0) return 0;
  const int64_t last = static_cast<int64_t>(FirstRow) + n - 1;
  if (last * (FNrOfColumns + 1) > std::numeric_limits<int>::max())
    ReadError(source, 0, "too many lines for the table");
  if (last > FNrOfRows) SetNrRows(static_cast<int>(last));
  for (int i = 0; i < n; ++i) SetElem(Col, FirstRow + i, std::string(lines[i]));
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

#pragma once
// TRLData, the non-visual store behind the report list: a matrix of short text cells with
// per-column names, formats and check modes, a comment, a data identifier, a common header and
// the sort state, plus its exchange with replist XML documents, CSV files and HTML tables.
// Cells, attribute bytes and the sort order live in an owned TStringArray.
//
// Where the code lives: replist_data.cpp (the store), replist_xml.cpp (XML documents and their
// recognition), replist_exchange.cpp (CSV, text lines, HTML). docs/report-list-files.md describes
// the three file formats.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/QEL_dstruct.h"
#include "frame/QEL_errors.h"
#include "frame/QEL_qelbase.h"
#include "platform/controls/Controls.h"
#include "platform/rtl/Streams.h"

namespace qel {

// Whether a column shows check boxes (cmBox) or radio buttons (cmRadio).
enum TCheckMode : uint8_t { cmNone, cmBox, cmRadio };

// The elements of a replist XML document; kRepListXmlTags holds their tag texts.
enum TRepListXmlTag : uint8_t {
  xmlNumCols,
  xmlNumRows,
  xmlColName,
  xmlCheckedColumn,
  xmlCommonHd,
  xmlColumnFormat,
  xmlCell,
  xmlComment,
  xmlEndReplist,
  xmlInvalid
};
inline constexpr const char* kRepListXmlTags[] = {
    "numcols",      "numrows", "colname", "checkedcolumn", "commonheader",
    "columnformat", "cell",    "comment", "/replist",      "invalidtag"};
// The tag of an element name (case-insensitive); xmlInvalid for any other name.
TRepListXmlTag RepListXmlTagOf(std::string_view Name);

// Longest column name and column format, in characters.
inline constexpr int kMaxColNameChars = 50;
inline constexpr int kMaxColFormatChars = 80;

// Attribute bits: a selected row or column, a disabled row.
inline constexpr uint8_t kRowSelectedBit = 0x80;
inline constexpr uint8_t kRowDisabledBit = 0x40;
inline constexpr uint8_t kColSelectedBit = 0x80;

// Lets the host replace the text written for the cell at (Col, Row) of an HTML table; Row is 0
// for the column names of the header row.
using TBeforeHTMLExportEvent =
    std::function<void(TObject* Sender, std::string& Text, int Col, int Row)>;

// True when the file (stream, from its position) holds a replist root line whose identifier
// matches DataID (letter case and surrounding blanks do not matter; an empty DataID accepts any).
// The file form raises EInOutError when the file cannot be read; the stream form leaves the
// stream after the matching line.
bool CheckIfValidReplist(const std::string& FName, const std::string& DataID);
bool CheckIfValidReplist(TStream& Stream, const std::string& DataID);

class TRLData : public TComponent {
 public:
  explicit TRLData(TComponent* AOwner);
  ~TRLData() override;
  std::string ClassName() const override { return "TRLData"; }

  void Assign(const TPersistent* Source) override;

  // ---- counts and texts
  int GetNrOfColumns() const { return FNrOfColumns; }
  void SetNrCols(int N);
  int GetNrOfRows() const { return FNrOfRows; }
  void SetNrRows(int N);
  const std::string& GetCommonHeader() const { return FCommonHeader; }
  void SetCommonHeader(const std::string& S);
  const std::string& GetComment() const { return FComment; }
  void SetComment(const std::string& S) { FComment = S; }
  const std::string& GetDataID() const { return FDataID; }
  void SetDataID(const std::string& S) { FDataID = S; }

  // ---- sort state
  int GetSortColumn() const { return FSortColumn; }
  int GetSortColumnSec() const { return FSortColumnSec; }
  void SetSortColumnSec(int C) { FSortColumnSec = C; }
  bool GetSortOrder() const { return FSortOrder; }
  // Direction state of sorting by a click on a column header.
  bool GetHeaderSortDirection() const { return FHeaderSortDir; }
  void SetHeaderSortDirection(bool B) { FHeaderSortDir = B; }

  // ---- columns
  std::string GetColName(int C) const;
  void SetColName(int C, const std::string& S);
  std::string GetColumnFormat(int C) const;
  void SetColumnFormat(int C, const std::string& S);
  // The highest column whose name equals (Partial: contains) Name, case-insensitively; -1.
  int ColumnIndex(const std::string& Name, bool Partial) const;

  // ---- cells (column 0 is the row label)
  std::string GetElem(int C, int R) const;
  void SetElem(int C, int R, const std::string& S);
  // The stored text, check marker included.
  std::string GetStoredElem(int C, int R) const;

  // ---- check columns
  bool GetCheckedCol(int C) const;
  void SetCheckedCol(int C, bool B);
  TCheckMode GetColCheckMode(int C) const;
  void SetColCheckMode(int C, TCheckMode M);
  bool GetElemChecked(int C, int R) const;
  void SetElemChecked(int C, int R, bool B);
  void SetAllCheckmarksOfCol(int C, bool B);
  void SetAllCheckmarksOfColIntern(int C, bool B, bool SkipDisabled);
  void InvertAllCheckmarksOfCol(int C);
  void InvertAllCheckmarksOfColIntern(int C, bool SkipDisabled);
  int CountCheckedElemsInCol(int C) const;
  int CountCheckedElemsInRow(int R) const;
  int FirstCheckedElemInCol(int C) const;
  int FirstCheckedElemInRow(int R) const;

  // ---- structure
  void InsertColumn(int C);
  void RemoveColumn(int C);
  void InsertRow(int R);
  void RemoveRow(int R);
  void RemoveEmptyRows();
  void CopyRow(int Src, int Dst);
  void Fill(const std::string& S);
  void Clear();

  // ---- values
  // The cell as a number ("," read as "."; empty reads 0); raises EQELDStructError otherwise.
  long double GetAsNumber(int C, int R) const;
  // The default value of a new cell of column C in row R, from the column format.
  std::string GetCellDefaultValue(int C, int R) const;

  // ---- sorting
  void Sort(int ColPrim, int ColSec, bool Ascending);
  void UnSort();

  // ---- clipboard copies (columns may start at 0; ranges are clamped to the table)
  // Fixed-width (Tabs false) or tab-separated (Tabs true).
  void CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header, bool Tabs);
  void CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                       const std::string& Separator);
  // A string literal must not pick the bool overload.
  void CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                       const char* Separator) {
    CopyToClipBoard(ColLow, RowLow, ColHigh, RowHigh, Header, std::string(Separator));
  }
  // The texts the copies put on the clipboard.
  std::string ClipboardText(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                            bool Tabs) const;
  std::string ClipboardText(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                            const std::string& Separator) const;

  // ---- XML documents. The readers raise EQELRLDataError (naming the source and the line) for
  // a malformed document, or one whose identifier does not match a non-empty DataID, and then
  // leave the store as it was. A successful read replaces the cells, counts, names, formats,
  // check modes, comment, common header and data identifier and leaves the store unsorted.
  // The writers write DataID as the identifier, or the store's data identifier when DataID is
  // empty; with XMLDeclaration they begin with the "<?xml ...?>" line, without it they write
  // the replist element alone (to embed it in a larger text the host writes).
  void ReadFromXMLString(const std::string& XML, const std::string& DataID);
  // Reads from the position up to the line holding the end tag and leaves the stream (file)
  // after that line.
  void ReadFromXMLStream(TStream& Stream, const std::string& DataID);
  void ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID);
  void LoadFromXMLFile(const std::string& FName, const std::string& DataID);
  void WriteToOpenXMLFile(std::FILE* F, bool XMLDeclaration, const std::string& DataID);
  void WriteToXMLStream(TStream& Stream, bool XMLDeclaration, const std::string& DataID);
  // Writes to a temporary file beside FName and renames it over FName when complete.
  void SaveAsXMLFile(const std::string& FName, const std::string& DataID);
  // The document as a string.
  std::string XMLText(bool XMLDeclaration, const std::string& DataID) const;

  // ---- CSV (RFC 4180 quoting). ImportCSV replaces rows and columns with the records of the
  // file (a UTF-8 byte order mark is skipped; with ColumnNames the first record holds the
  // names); columns that existed keep their format and check mode, and in a check column a
  // field is the stored text, marker first. ExportCSV writes columns ColLow..ColHigh (0 = row
  // labels) of rows RowLow..RowHigh, clamped to the table, with a first line of column names
  // when ColumnNames, and check columns as stored (marker first) when StoredTexts, else as seen.
  void ImportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames);
  void ExportCSV(const std::string& FName, TCSVDelimiters Delimiter, bool ColumnNames,
                 bool StoredTexts, int ColLow, int RowLow, int ColHigh, int RowHigh);
  // Puts line i (0-based) of the text file FName into cell (Col, FirstRow + i), adding rows as
  // needed; returns the number of lines. Col must be 0..NrOfColumns, FirstRow at least 1.
  int LoadLinesFromFile(int Col, int FirstRow, const std::string& FName);

  // ---- HTML: an HTML5 document with one table of columns ColLow..ColHigh (0 = row labels)
  // and rows RowLow..RowHigh, clamped to the table. ColWidths[i] is the pixel width of the i-th
  // exported column (missing or below 1: automatic). Border, CellPadding and CellSpacing are
  // pixels (below 0 count as 0). Header adds a row of column names. Title goes to the page
  // title (the common header when empty), Caption to the table caption (none when empty), Style
  // is CSS appended to the page's style sheet. Each text passes BeforeHTMLExport.
  void ExportHTMLTable(const std::string& FName, int ColLow, int RowLow, int ColHigh, int RowHigh,
                       const std::vector<int>& ColWidths, int Border, int CellPadding,
                       int CellSpacing, bool Header, const std::string& Title,
                       const std::string& Caption, const std::string& Style);
  std::string HTMLText(int ColLow, int RowLow, int ColHigh, int RowHigh,
                       const std::vector<int>& ColWidths, int Border, int CellPadding,
                       int CellSpacing, bool Header, const std::string& Title,
                       const std::string& Caption, const std::string& Style);
  void BeforeHTMLExport(std::string& Text, int Col, int Row);

  // ---- storage and bookkeeping
  // The storage; the readers and Assign replace it by a new one that keeps the hooks.
  TStringArray* GetStorage() const { return FStorage.get(); }
  int GetWorkTotal() const { return FWorkTotal; }
  int GetProgressStep() const { return FProgressStep; }

  TBeforeSortExchgEvent OnBeforeSortExchange;
  TBeforeHTMLExportEvent OnBeforeHTMLExport;
  TOnPercentDoneEvent OnPercentDone;

 protected:
  void AssignTo(TPersistent* Dest) const override;
  // Installed as the storage's before-exchange hook.
  void BeforeSortExchange(TObject* Sender, std::string& Text, std::string& Text2);

 private:
  bool ValidCol(int C) const { return C >= 1 && C <= FNrOfColumns; }
  bool ValidCell(int C, int R) const {
    return C >= 0 && C <= FNrOfColumns && R >= 1 && R <= FNrOfRows;
  }
  bool IsCheckCol(int C) const { return ValidCol(C) && FCheckModes[C] != cmNone; }
  void SetMarker(int C, int R, bool Checked);
  void RecomputeWork();
  void ResizeColumnArrays(int N);
  void InstallStorage(std::unique_ptr<TStringArray> Storage);
  void TakeOver(TRLData& Fresh);
  [[noreturn]] void ReadError(const std::string& Source, int Line, const std::string& What) const;
  void ReadXMLDocument(std::string& Text, const std::function<std::string()>& Pristine,
                       const std::string& DataID, const std::string& Source);
  void EmitXML(bool XMLDeclaration, const std::string& DataID,
               const std::function<void(std::string_view)>& Sink) const;
  void EmitCSV(const std::function<void(std::string_view)>& Sink, char Delim, bool ColumnNames,
               bool StoredTexts, int C0, int R0, int C1, int R1) const;

  int FNrOfColumns = 1;
  int FNrOfRows = 0;
  std::string FCommonHeader = "QEL Report Listview";
  std::string FComment;
  std::string FDataID;
  int FSortColumn = -1;
  int FSortColumnSec = -1;
  bool FSortOrder = true;
  bool FHeaderSortDir = true;
  // Indexed by column 1..NrOfColumns; entry 0 unused. At least two entries, so the storage's
  // column 1 keeps its entries when the only column has been removed.
  std::vector<std::string> FColNames;
  std::vector<std::string> FColFormats;
  std::vector<TCheckMode> FCheckModes;
  int FWorkTotal = 1;
  int FProgressStep = 1;
  std::unique_ptr<TStringArray> FStorage;
};

// The default value that the default text Default of a column of type Letter gives in row R:
// the first item of a choice list, the row number for "rix" N, an invented password for
// "$pwd$" N, else the text itself (at most 255 characters). GetCellDefaultValue and the
// row-entry editor share it.
std::string ResolveDefaultText(char Letter, std::string_view Default, int R);

}  // namespace qel

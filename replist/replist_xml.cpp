// Replist XML documents: the writer, the reader (pugixml) and the recognition of a document by
// its root line. The layout is described in docs/report-list-files.md.
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <deque>
#include <limits>
#include <pugixml.hpp>

#include "frame/QEL_streams.h"
#include "platform/rtl/StrUtils.h"
#include "replist/QEL_replist_data.h"
#include "replist/replist_files.h"

namespace qel {

namespace {

// What the reader accepts; beyond these a document is refused rather than allowed to exhaust
// the memory.
constexpr int kMaxReadColumns = 100000;
constexpr int kMaxReadRows = 100000000;

constexpr const char* kSignature = "qelwidget";
constexpr const char* kFormatVersion = "1";

using rlfiles::LowerAscii;

std::string_view StripBlanks(std::string_view S) {
  while (!S.empty() && S.front() == ' ') S.remove_prefix(1);
  while (!S.empty() && S.back() == ' ') S.remove_suffix(1);
  return S;
}

// Identifiers compare without letter case and surrounding blanks; an empty wanted one accepts
// any.
bool IdentifierMatches(std::string_view Found, std::string_view Wanted) {
  const std::string want = LowerAscii(StripBlanks(Wanted));
  return want.empty() || LowerAscii(StripBlanks(Found)) == want;
}

// The identifier of a root line (already lower case), or false when the line is none.
bool RootLineIdentifier(std::string_view Lower, std::string& Id) {
  if (Lower.find("<replist") == std::string_view::npos ||
      Lower.find(kSignature) == std::string_view::npos)
    return false;
  Id.clear();
  const size_t p = Lower.find("id=\"");
  if (p != std::string_view::npos) {
    const std::string_view rest = Lower.substr(p + 4);
    Id.clear();
    rlfiles::AppendDecoded(Id, StripBlanks(rest.substr(0, rest.find('"'))));
  }
  return true;
}

bool LineMatches(const std::string& Line, const std::string& DataID) {
  std::string id;
  return RootLineIdentifier(LowerAscii(Line), id) && IdentifierMatches(id, DataID);
}

void AppendElement(std::string& Out, const char* Tag, std::string_view Text) {
  Out += "  <";
  Out += Tag;
  Out += '>';
  rlfiles::AppendEscaped(Out, Text, rlfiles::mcXmlText);
  Out += "</";
  Out += Tag;
  Out += ">\n";
}

void AppendColumnElement(std::string& Out, const char* Tag, int Col, std::string_view Text) {
  Out += "  <";
  Out += Tag;
  Out += " col=\"";
  Out += std::to_string(Col);
  Out += "\">";
  rlfiles::AppendEscaped(Out, Text, rlfiles::mcXmlText);
  Out += "</";
  Out += Tag;
  Out += ">\n";
}

bool ParseInt(std::string_view S, int& V) {
  S = StripBlanks(S);
  if (!S.empty() && S.front() == '+') S.remove_prefix(1);
  const auto r = std::from_chars(S.data(), S.data() + S.size(), V);
  return !S.empty() && r.ec == std::errc() && r.ptr == S.data() + S.size();
}

// The attribute form, twice per cell: plain digits are read at once, anything else the slow
// way.
bool ParseInt(const char* S, int& V) {
  int64_t v = 0;
  const char* p = S;
  while (*p >= '0' && *p <= '9' && p - S < 10) v = v * 10 + (*p++ - '0');
  if (*p == 0 && p != S && v <= std::numeric_limits<int>::max()) {
    V = static_cast<int>(v);
    return true;
  }
  return ParseInt(std::string_view(S), V);
}

// The element's text: all its character data, however split by comments, with the references
// of the parsed pieces decoded (the parser leaves them to us, so that "&#0;" drops only itself).
// The parser keeps character data that comes first as the element's own value (see kParse), and
// further pieces as children. Scratch holds the text when it has to be built.
std::string_view ElementText(pugi::xml_node Node, std::string& Scratch) {
  const char* value = Node.value();
  const pugi::xml_node first = Node.first_child();
  if (first.empty() && !std::strchr(value, '&')) return value;
  if (!*value && first.type() == pugi::node_cdata && first.next_sibling().empty())
    return first.value();
  Scratch.clear();
  rlfiles::AppendDecoded(Scratch, value);
  for (pugi::xml_node n = first; n; n = n.next_sibling())
    if (n.type() == pugi::node_pcdata)
      rlfiles::AppendDecoded(Scratch, n.value());
    else if (n.type() == pugi::node_cdata)
      Scratch += n.value();
  return Scratch;
}

// An attribute's value with its references decoded.
std::string AttributeText(pugi::xml_attribute A) {
  std::string r;
  rlfiles::AppendDecoded(r, A.value());
  return r;
}

// Whether an element holds any character data (a cell that would store a text).
bool HasText(pugi::xml_node Node) {
  if (*Node.value()) return true;
  for (pugi::xml_node n = Node.first_child(); n; n = n.next_sibling())
    if ((n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) && *n.value()) return true;
  return false;
}

std::string ElementText(pugi::xml_node Node) {
  std::string scratch;
  return std::string(ElementText(Node, scratch));
}

// How documents are parsed. References are decoded by us (ElementText), not by the parser, which
// would end a text at the NUL of "&#0;". Character data that comes first in an element is kept
// as the element's value rather than as a node of its own: a cell then costs one node, not two.
constexpr unsigned kParse = (pugi::parse_default & ~pugi::parse_escapes) |
                            pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

// Exact comparison of short zero-terminated names, inline: it runs twice per cell.
bool SameName(const char* A, const char* B) {
  while (*A && *A == *B) ++A, ++B;
  return *A == *B;
}

pugi::xml_attribute FindAttribute(pugi::xml_node Node, const char* Name) {
  for (pugi::xml_attribute a = Node.first_attribute(); a; a = a.next_attribute())
    if (SameName(a.name(), Name)) return a;
  for (pugi::xml_attribute a = Node.first_attribute(); a; a = a.next_attribute())
    if (strcasecmp(a.name(), Name) == 0) return a;
  return {};
}

// The tag of an element, with the common case (our own lower-case cell) decided at once.
TRepListXmlTag TagOf(pugi::xml_node Node) {
  const char* name = Node.name();
  if (SameName(name, "cell")) return xmlCell;
  return RepListXmlTagOf(name);
}

}  // namespace

// ---------------------------------------------------------------- recognition

bool CheckIfValidReplist(const std::string& FName, const std::string& DataID) {
  std::string error;
  std::FILE* f = rlfiles::OpenRegularFile(FName, error);
  if (!f) throw EInOutError("Cannot open file \"" + FName + "\": " + error);
  std::string line;
  bool found = false;
  bool failed = false;
  for (;;) {
    line.clear();
    int ch;
    while ((ch = std::getc(f)) != EOF && ch != '\n') line += static_cast<char>(ch);
    if (ch == EOF && std::ferror(f)) {
      failed = true;
      break;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (LineMatches(line, DataID)) {
      found = true;
      break;
    }
    if (ch == EOF) break;
  }
  std::fclose(f);
  if (failed) throw EInOutError("Cannot read file \"" + FName + "\"");
  return found;
}

bool CheckIfValidReplist(TStream& Stream, const std::string& DataID) {
  bool atEnd = false;
  while (!atEnd) {
    const std::string line = ReadLnStream(Stream, atEnd);
    if (LineMatches(line, DataID)) return true;
  }
  return false;
}

// ---------------------------------------------------------------- writing

void TRLData::EmitXML(bool XMLDeclaration, const std::string& DataID,
                      const std::function<void(std::string_view)>& Sink) const {
  const std::string& id = DataID.empty() ? FDataID : DataID;
  // The text goes out in pieces: a store of any size that could be made can be saved.
  rlfiles::TChunkedWriter writer(Sink);
  std::string& out = writer.Buffer();
  if (XMLDeclaration) out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // The whole root tag on one line, the identifier first: that line is what recognises us.
  out += "<replist id=\"";
  rlfiles::AppendEscaped(out, id, rlfiles::mcXmlAttribute);
  out += "\" signature=\"";
  out += kSignature;
  out += "\" version=\"";
  out += kFormatVersion;
  out += "\">\n";
  AppendElement(out, kRepListXmlTags[xmlNumCols], std::to_string(FNrOfColumns));
  AppendElement(out, kRepListXmlTags[xmlNumRows], std::to_string(FNrOfRows));
  AppendElement(out, kRepListXmlTags[xmlCommonHd], FCommonHeader);
  AppendElement(out, kRepListXmlTags[xmlComment], FComment);
  for (int c = 1; c <= FNrOfColumns; ++c) {
    AppendColumnElement(out, kRepListXmlTags[xmlColName], c, FColNames[c]);
    AppendColumnElement(out, kRepListXmlTags[xmlColumnFormat], c, FColFormats[c]);
    AppendColumnElement(out, kRepListXmlTags[xmlCheckedColumn], c,
                        std::to_string(static_cast<int>(FCheckModes[c])));
    writer.Poll();
  }
  int done = 0;
  // Room for the tags and the escaped text of a full cell (four bytes per character at most).
  constexpr size_t kLineText = 4 * kMaxCellChars;
  char line[64 + rlfiles::kMaxEscapedBytesPerByte * kLineText] = "  <cell col=\"";
  for (int r = 1; r <= FNrOfRows; ++r) {
    for (int c = 0; c <= FNrOfColumns; ++c) {
      const std::string_view s = FStorage->GetStringView(c, r);
      if (s.empty()) continue;
      // The line is put together in place and appended at once: this runs once per cell.
      char* p = line + 13;  // after the fixed start
      p = std::to_chars(p, p + 11, c).ptr;
      std::memcpy(p, "\" row=\"", 7);
      p = std::to_chars(p + 7, p + 18, r).ptr;
      std::memcpy(p, "\">", 2);
      p += 2;
      if (s.size() > kLineText) {  // beyond what a cell is given, but never refused
        out.append(line, static_cast<size_t>(p - line));
        rlfiles::AppendEscaped(out, s, rlfiles::mcXmlText);
        out.append("</cell>\n", 8);
        continue;
      }
      p = rlfiles::EscapeTo(p, s, rlfiles::mcXmlText);
      std::memcpy(p, "</cell>\n", 8);
      out.append(line, static_cast<size_t>(p + 8 - line));
    }
    writer.Poll();
    done += FNrOfColumns + 1;
    if (OnPercentDone && done % FProgressStep <= FNrOfColumns)
      const_cast<TRLData*>(this)->OnPercentDone(const_cast<TRLData*>(this),
                                                static_cast<int>(100LL * done / FWorkTotal));
  }
  out += "</replist>\n";
  writer.Flush();
  if (OnPercentDone) OnPercentDone(const_cast<TRLData*>(this), 100);
}

std::string TRLData::XMLText(bool XMLDeclaration, const std::string& DataID) const {
  std::string text;
  EmitXML(XMLDeclaration, DataID, [&](std::string_view Chunk) { text += Chunk; });
  return text;
}

void TRLData::WriteToXMLStream(TStream& Stream, bool XMLDeclaration, const std::string& DataID) {
  EmitXML(XMLDeclaration, DataID, [&](std::string_view Chunk) {
    Stream.WriteBuffer(Chunk.data(), static_cast<int64_t>(Chunk.size()));
  });
}

void TRLData::WriteToOpenXMLFile(std::FILE* F, bool XMLDeclaration, const std::string& DataID) {
  const std::string who = ComponentMessage(GetName(), "\": ");
  if (!F) throw EQELRLDataError(who + "no open file to write to");
  EmitXML(XMLDeclaration, DataID, [&](std::string_view Chunk) {
    if (std::fwrite(Chunk.data(), 1, Chunk.size(), F) != Chunk.size())
      throw EQELRLDataError(who + "cannot write the open file: " + std::strerror(errno));
  });
  if (std::fflush(F) != 0)
    throw EQELRLDataError(who + "cannot write the open file: " + std::strerror(errno));
}

void TRLData::SaveAsXMLFile(const std::string& FName, const std::string& DataID) {
  rlfiles::WriteFileAtomically(
      FName, [&](const rlfiles::TChunkSink& Sink) { EmitXML(true, DataID, Sink); },
      ComponentMessage(GetName(), "\": "));
}

// ---------------------------------------------------------------- reading

void TRLData::ReadError(const std::string& Source, int Line, const std::string& What) const {
  const std::string where = Line > 0 ? ", line " + std::to_string(Line) : std::string();
  throw EQELRLDataError(ComponentMessage(GetName(), "\": ") + Source + where + ": " + What);
}

void TRLData::ReadXMLDocument(std::string& Text, const std::function<std::string()>& Pristine,
                              const std::string& DataID, const std::string& Source) {
  const size_t fileBytes = Text.size();
  size_t skipped = 0, badAt = 0;
  bool converted = false;
  std::string error;
  if (!rlfiles::DecodeXmlToUtf8(Text, skipped, converted, error, badAt))
    ReadError(Source, rlfiles::LineOfOffset(Text, badAt), error);
  // A converted text is counted in as converted; otherwise the parser rewrites the text in
  // place, so the line of an error is counted in the original, which is fetched only then.
  const std::string convertedCopy = converted ? Text : std::string();
  pugi::xml_document doc;
  const pugi::xml_parse_result res = doc.load_buffer_inplace(
      Text.data() + skipped, Text.size() - skipped, kParse, pugi::encoding_utf8);
  auto lineOf = [&](ptrdiff_t Offset) {
    const size_t at = skipped + static_cast<size_t>(std::max<ptrdiff_t>(Offset, 0));
    return converted ? rlfiles::LineOfOffset(convertedCopy, at)
                     : rlfiles::LineOfOffset(Pristine(), at);
  };
  if (!res) ReadError(Source, lineOf(res.offset), res.description());

  pugi::xml_node root;
  for (pugi::xml_node n = doc.first_child(); n && !root; n = n.next_sibling())
    if (n.type() == pugi::node_element && strcasecmp(n.name(), "replist") == 0) root = n;
  if (!root) ReadError(Source, 1, "no replist element");
  const std::string id = AttributeText(FindAttribute(root, "id"));
  if (!IdentifierMatches(id, DataID))
    ReadError(Source, lineOf(root.offset_debug()),
              "the identifier \"" + id + "\" is not \"" + DataID + "\"");

  // The counts first, wherever they stand, so that every other element can be checked.
  // The first of each counts; the writer puts both at the top, so the search ends there.
  int cols = -1, rows = -1;
  for (pugi::xml_node n = root.first_child(); n && (cols < 0 || rows < 0); n = n.next_sibling()) {
    if (n.type() != pugi::node_element) continue;
    const TRepListXmlTag tag = TagOf(n);
    if (tag != xmlNumCols && tag != xmlNumRows) continue;
    if ((tag == xmlNumCols ? cols : rows) >= 0) continue;
    int v = 0;
    const int limit = tag == xmlNumCols ? kMaxReadColumns : kMaxReadRows;
    if (!ParseInt(ElementText(n), v) || v < 0 || v > limit)
      ReadError(
          Source, lineOf(n.offset_debug()),
          std::string(kRepListXmlTags[tag]) + " is not a count in 0.." + std::to_string(limit));
    (tag == xmlNumCols ? cols : rows) = v;
  }
  if (cols < 0) ReadError(Source, lineOf(root.offset_debug()), "numcols is missing");
  if (rows < 0) ReadError(Source, lineOf(root.offset_debug()), "numrows is missing");
  if (static_cast<int64_t>(rows) * (cols + 1) > std::numeric_limits<int>::max())
    ReadError(Source, lineOf(root.offset_debug()), "the table is too large");

  // Reads a column or row attribute; false (with the complaint in What) when it is missing or
  // out of Low..High.
  auto attributeIn = [&](pugi::xml_node n, pugi::xml_attribute a, const char* Name, int Low,
                         int High, int& v, std::string& What) {
    if (a && (ParseInt(a.value(), v) || ParseInt(std::string_view(AttributeText(a)), v)) &&
        v >= Low && v <= High)
      return true;
    What = std::string(n.name()) + ": attribute " + Name + " is not in " + std::to_string(Low) +
           ".." + std::to_string(High);
    return false;
  };

  // One walk over the elements gathers every cell and setting. A fault in a cell's column that
  // holds a text is raised at once, as the memory budget depends on it; every other fault is
  // raised after the budget and the table have been granted, the first in the document first.
  struct TCellRef {
    const char* Text;
    uint32_t Len;
    int Col, Row;
  };
  struct TSetting {
    pugi::xml_node Node;
    TRepListXmlTag Tag;
    int Col, Mode;
  };
  std::vector<TCellRef> cells;
  std::vector<TSetting> settings;
  std::deque<std::string> built;  // texts put together from several pieces
  pugi::xml_node faultAt;
  std::string fault, what;
  auto noteFault = [&](pugi::xml_node n) {
    if (!faultAt) {
      faultAt = n;
      fault = what;
    }
  };
  std::vector<bool> textColumn(static_cast<size_t>(cols) + 1);
  int64_t textColumns = 0;
  try {
    // A cell element takes at least 20 bytes of the document, so this is never too much.
    cells.reserve(std::min(fileBytes / 20, static_cast<size_t>(rows) * (cols + 1)));
    std::string scratch;
    for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
      // Every call into the parser's library costs, and this loop makes several per cell: the
      // name alone tells the elements, as the text, comment and CDATA nodes the parser keeps
      // have empty names (processing instructions and declarations are not kept).
      const TRepListXmlTag tag = TagOf(n);
      if (tag == xmlInvalid) continue;
      if (tag == xmlCell) {
        // The attributes as FindAttribute picks them: the first of the exact name, else the
        // first whose name differs only in letter case. Our own writer puts col and row first,
        // which settles both at once.
        pugi::xml_attribute col = n.first_attribute();
        pugi::xml_attribute row = col.next_attribute();
        if (!SameName(col.name(), "col") || !SameName(row.name(), "row")) {
          col = FindAttribute(n, "col");
          row = FindAttribute(n, "row");
        }
        // The text: one piece of character data is the element's value (see kParse) and lies
        // in the parsed document, where its references are decoded over it (decoding never
        // lengthens); several pieces are put together apart.
        std::string_view text;
        bool hasText = false;
        if (n.first_child().empty()) {
          char* value = const_cast<char*>(n.value());  // our own buffer, or a static ""
          const size_t size = std::strlen(value);
          hasText = size > 0;
          text = {value, size};
          if (std::memchr(value, '&', size))
            text = {value, static_cast<size_t>(rlfiles::DecodeTo(value, text) - value)};
        } else {
          hasText = HasText(n);
          built.push_back(std::string(ElementText(n, scratch)));
          text = built.back();
        }
        // Plain digits in range are taken at once; anything else goes the careful way (a
        // missing attribute reads as an empty value).
        int c = 0, r = 0;
        if (!(ParseInt(col.value(), c) && c >= 0 && c <= cols) &&
            !attributeIn(n, col, "col", 0, cols, c, what)) {
          if (hasText) ReadError(Source, lineOf(n.offset_debug()), what);
          noteFault(n);
          continue;
        }
        if (hasText && !textColumn[static_cast<size_t>(c)]) {
          textColumn[static_cast<size_t>(c)] = true;
          ++textColumns;
        }
        if (!(ParseInt(row.value(), r) && r >= 1 && r <= rows) &&
            !attributeIn(n, row, "row", 1, rows, r, what)) {
          noteFault(n);
          continue;
        }
        cells.push_back({text.data(), static_cast<uint32_t>(text.size()), c, r});
        continue;
      }
      if (faultAt) continue;  // settings after a fault are never applied
      TSetting s{n, tag, 0, 0};
      switch (tag) {
        case xmlColName:
        case xmlColumnFormat:
        case xmlCheckedColumn:
          if (!attributeIn(n, FindAttribute(n, "col"), "col", 1, cols, s.Col, what)) {
            noteFault(n);
            continue;
          }
          if (tag == xmlCheckedColumn &&
              (!ParseInt(ElementText(n, scratch), s.Mode) || s.Mode < cmNone || s.Mode > cmRadio)) {
            what = "checkedcolumn is not 0, 1 or 2";
            noteFault(n);
            continue;
          }
          break;
        case xmlCommonHd:
        case xmlComment:
          break;
        default:
          continue;  // the counts were read above; unknown elements are left for newer readers
      }
      settings.push_back(s);
    }
  } catch (const std::bad_alloc&) {
    ReadError(Source, lineOf(root.offset_debug()), "not enough memory for the texts");
  }

  // The storage costs memory for every declared row of each column that holds a text: what
  // the document carries must pay for it, or a few bytes could ask for gigabytes.
  if (!rlfiles::WithinReadBudget(rows, textColumns, fileBytes))
    ReadError(Source, lineOf(root.offset_debug()),
              "the table of " + std::to_string(cols) + " columns and " + std::to_string(rows) +
                  " rows would need " +
                  std::to_string(rlfiles::TableBytes(rows, textColumns) >> 20) +
                  " MiB, more than the document may ask for");

  TRLData fresh(nullptr);
  try {
    fresh.FStorage->SetAllocRowsBy(FStorage->GetAllocRowsBy());
    fresh.SetNrCols(std::max(cols, 1));
    fresh.SetNrRows(rows);
    if (cols == 0) {
      fresh.FColNames[1].clear();
      fresh.FNrOfColumns = 0;
      fresh.RecomputeWork();
    }
  } catch (const std::exception&) {  // std::bad_alloc, or the store's or storage's own
    ReadError(Source, lineOf(root.offset_debug()), "not enough memory for the table");
  }
  if (faultAt) ReadError(Source, lineOf(faultAt.offset_debug()), fault);
  fresh.FDataID = id;
  fresh.FCommonHeader.clear();  // a document without the element has an empty header
  if (OnPercentDone) OnPercentDone(this, 0);
  try {
    for (const TCellRef& k : cells)
      fresh.FStorage->SetString(k.Col, k.Row, std::string_view(k.Text, k.Len));
    std::string scratch;
    for (const TSetting& s : settings) {
      switch (s.Tag) {
        case xmlColName:
          fresh.SetColName(s.Col, std::string(ElementText(s.Node, scratch)));
          break;
        case xmlColumnFormat:
          fresh.SetColumnFormat(s.Col, std::string(ElementText(s.Node, scratch)));
          break;
        case xmlCheckedColumn:
          // The cells arrive with their markers, so the mode is recorded without rewriting them.
          fresh.FCheckModes[s.Col] = static_cast<TCheckMode>(s.Mode);
          break;
        case xmlCommonHd:
          fresh.FCommonHeader = ElementText(s.Node, scratch);
          break;
        case xmlComment:
          fresh.FComment = ElementText(s.Node, scratch);
          break;
        default:
          break;
      }
    }
  } catch (const std::bad_alloc&) {
    ReadError(Source, lineOf(root.offset_debug()), "not enough memory for the texts");
  }
  TakeOver(fresh);
  if (OnPercentDone) OnPercentDone(this, 100);
}

void TRLData::ReadFromXMLString(const std::string& XML, const std::string& DataID) {
  std::string text = XML;
  ReadXMLDocument(
      text, [&] { return XML; }, DataID, "XML text");
}

namespace {

bool IsEndLine(const std::string& Line) {
  return LowerAscii(Line).find("</replist") != std::string::npos;
}

}  // namespace

void TRLData::ReadFromXMLStream(TStream& Stream, const std::string& DataID) {
  std::string text;
  bool atEnd = false;
  while (!atEnd) {
    const std::string line = ReadLnStream(Stream, atEnd);
    text += line;
    text += '\n';
    if (IsEndLine(line)) break;
  }
  const std::string pristine = text;
  ReadXMLDocument(
      text, [&] { return pristine; }, DataID, "stream");
}

void TRLData::ReadFromOpenXMLFile(std::FILE* F, const std::string& DataID) {
  if (!F) ReadError("open file", 1, "no open file to read from");
  std::string text, line;
  for (;;) {
    line.clear();
    int ch;
    while ((ch = std::getc(F)) != EOF && ch != '\n') line += static_cast<char>(ch);
    if (ch == EOF && std::ferror(F)) ReadError("open file", 1, std::strerror(errno));
    text += line;
    text += '\n';
    if (ch == EOF || IsEndLine(line)) break;
  }
  const std::string pristine = text;
  ReadXMLDocument(
      text, [&] { return pristine; }, DataID, "open file");
}

void TRLData::LoadFromXMLFile(const std::string& FName, const std::string& DataID) {
  std::string text, error;
  const std::string source = "file \"" + FName + "\"";
  if (!rlfiles::ReadWholeFile(FName, text, error)) ReadError(source, 0, "cannot open: " + error);
  ReadXMLDocument(
      text,
      [&] {
        std::string again, ignored;
        rlfiles::ReadWholeFile(FName, again, ignored);
        return again;
      },
      DataID, source);
}

}  // namespace qel

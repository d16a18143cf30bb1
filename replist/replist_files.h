#pragma once
// Helpers of the report-list exchange (internal to replist/): whole-file reading, writing
// through a temporary file that replaces the target only when complete, text encodings and
// markup escaping.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace qel::rlfiles {

// Reads the whole file into Data. False (with the reason in Error) when the file cannot be
// opened or read, or is no regular file: a FIFO would block and a device never end.
bool ReadWholeFile(const std::string& FName, std::string& Data, std::string& Error);

// Opens FName for reading as a C stream, refusing what is no regular file as ReadWholeFile
// does. Null with the reason in Error.
std::FILE* OpenRegularFile(const std::string& FName, std::string& Error);

// Receives the text of a file piece by piece.
using TChunkSink = std::function<void(std::string_view)>;
// Produces a file's text into the sink it is given.
using TFileProducer = std::function<void(const TChunkSink&)>;

// Saves what Produce writes as FName:
// - a symbolic link is followed (to the end of a chain) and the file it names is replaced, so
//   the link stays a link;
// - an existing target must be a regular file the user may write and that has write permission
//   for somebody (a read-only file is refused even for root), and it must not have other hard
//   links (replacing it would silently separate them);
// - the text goes to a short-named new file in the target's folder, is flushed to the disk,
//   given the target's owner, group and mode (failures are reported), renamed over the target,
//   and then the folder is flushed, so an interrupted save leaves the previous file intact.
// Raises EQELRLDataError with the message Who + "cannot write \"FName\": reason" and removes
// the temporary file on any failure; exceptions from Produce pass through after that cleanup.
void WriteFileAtomically(const std::string& FName, const TFileProducer& Produce,
                         const std::string& Who);
void WriteFileAtomically(const std::string& FName, std::string_view Data, const std::string& Who);

// Collects chunks in a buffer and hands them to a sink in pieces of about kChunkBytes, so
// writers can append small texts cheaply without ever holding a whole document.
class TChunkedWriter {
 public:
  static constexpr size_t kChunkBytes = 1 << 16;
  explicit TChunkedWriter(const TChunkSink& Sink) : FSink(Sink) { FBuf.reserve(kChunkBytes * 2); }
  std::string& Buffer() { return FBuf; }
  // Passes the buffer on when it is full enough.
  void Poll() {
    if (FBuf.size() >= kChunkBytes) Flush();
  }
  void Flush() {
    if (!FBuf.empty()) FSink(FBuf);
    FBuf.clear();
  }

 private:
  const TChunkSink& FSink;
  std::string FBuf;
};

// Byte offset of the first byte that is not part of well-formed UTF-8 (overlong forms,
// surrogates and values beyond U+10FFFF included), or npos when Text is valid.
size_t FirstInvalidUtf8(std::string_view Text);

// Makes an XML document UTF-8: a UTF-16 or UTF-32 text (known by its byte order mark, or by
// the zero bytes beside its first "<") or an 8-bit text whose XML declaration names ISO-8859-1
// is converted in place (Converted true); a UTF-8 text stays and is checked, its byte order
// mark skipped by Start. False with the reason in Error and the offset of the fault in
// ErrorOffset (in Text as it is then) for an encoding that is not supported or a text that is
// not valid in its encoding.
bool DecodeXmlToUtf8(std::string& Text, size_t& Start, bool& Converted, std::string& Error,
                     size_t& ErrorOffset);

// Where escaped text goes. XML: '&', '<', '>' as entities and control characters as character
// references (CR too, which a parser would otherwise normalise; NUL, which XML cannot hold, is
// left out); in a double-quoted attribute also '"', TAB and LF. HTML: '&', '<', '>', '"' and
// '\'' as entities; control characters but TAB, LF and CR, and DEL, become U+FFFD, since HTML
// text may not hold them.
enum TMarkupContext : uint8_t { mcXmlText, mcXmlAttribute, mcHtml };
void AppendEscaped(std::string& Out, std::string_view S, TMarkupContext Context);
// Writes S escaped to Out, which has room for kMaxEscapedBytesPerByte bytes per byte of S;
// returns the end of what it wrote.
inline constexpr size_t kMaxEscapedBytesPerByte = 6;  // "&quot;"
char* EscapeTo(char* Out, std::string_view S, TMarkupContext Context);

// Appends S to Out with its XML references decoded: the five named entities and numeric
// references to Unicode scalar values. A reference to 0, which XML cannot hold, is dropped on
// its own; anything that is no valid reference is kept as it stands.
void AppendDecoded(std::string& Out, std::string_view S);
// Writes S decoded to Out, which may be S itself (decoding never lengthens a text); returns the
// end of what it wrote.
char* DecodeTo(char* Out, std::string_view S);

// S with its ASCII letters in lower case (the names and words of our formats are ASCII).
std::string LowerAscii(std::string_view S);

// The 1-based line of byte Offset in Text.
int LineOfOffset(std::string_view Text, size_t Offset);

// What the readers accept of a declared table: its stored cells cost 16 bytes per row for
// every column that holds a text, plus a byte per row. The table may take kReadMemoryBase
// bytes, plus kReadMemoryPerByte for every byte of the file it came from, so a small file cannot
// declare a huge table.
inline constexpr uint64_t kReadMemoryBase = uint64_t{256} << 20;
inline constexpr uint64_t kReadMemoryPerByte = 16;
// Bytes the storage of Rows rows with TextColumns columns holding text takes.
inline uint64_t TableBytes(int64_t Rows, int64_t TextColumns) {
  return static_cast<uint64_t>(Rows + 1) * static_cast<uint64_t>(1 + 16 * TextColumns);
}
inline bool WithinReadBudget(int64_t Rows, int64_t TextColumns, size_t FileBytes) {
  return TableBytes(Rows, TextColumns) <=
         kReadMemoryBase + kReadMemoryPerByte * static_cast<uint64_t>(FileBytes);
}

}  // namespace qel::rlfiles

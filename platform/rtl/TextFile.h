#pragma once
// Line-by-line text files with the classic AssignFile / Reset / Rewrite / Append / ReadLn /
// WriteLn / Eof / CloseFile life cycle. Reading accepts LF, CRLF and CR line ends; writing ends
// lines with LineBreak ("\r\n" by default, as TStrings writes). Every failure raises EInOutError
// with a message naming the file.
#include <cstdio>
#include <string>

#include "platform/rtl/Exceptions.h"

namespace qel {

enum TTextFileMode : uint8_t { tfmClosed, tfmInput, tfmOutput };

class TTextFile {
 public:
  TTextFile() = default;
  explicit TTextFile(const std::string& FileName) : FFileName(FileName) {}
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;
  // Closes an open file; an error while flushing is lost here, so call CloseFile to see it.
  ~TTextFile();

  // Names the file; the file must be closed.
  void AssignFile(const std::string& FileName);
  const std::string& FileName() const { return FFileName; }
  // Opens for reading from the start.
  void Reset();
  // Creates or empties the file and opens it for writing.
  void Rewrite();
  // Opens an existing file for writing at its end.
  void Append();
  // Flushes and closes; closing a closed file is an error, as the classic runtime reports.
  void CloseFile();
  TTextFileMode Mode() const { return FMode; }

  // Reads the next line without its line end. Reading at the end raises EInOutError
  // ("Read beyond end of file \"<name>\""); the bool form returns false there instead.
  std::string ReadLn();
  bool ReadLn(std::string& Line);
  bool Eof();

  void Write(const std::string& S);
  void WriteLn(const std::string& S = std::string());
  void Flush();

  const std::string& GetLineBreak() const { return FLineBreak; }
  void SetLineBreak(const std::string& S) { FLineBreak = S; }

 private:
  void Open(const char* Mode, TTextFileMode NewMode, const char* What);
  void Require(TTextFileMode Needed) const;
  [[noreturn]] void Fail(const std::string& What, int Err) const;

  std::string FFileName;
  std::string FLineBreak = "\r\n";
  FILE* FFile = nullptr;
  TTextFileMode FMode = tfmClosed;
};

}  // namespace qel

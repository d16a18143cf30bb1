#include "platform/rtl/TextFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace qel {

TTextFile::~TTextFile() {
  if (FFile) std::fclose(FFile);
}

void TTextFile::Fail(const std::string& What, int Err) const {
  // What holds "%" where the file name goes.
  std::string msg = What;
  size_t at = msg.find('%');
  if (at != std::string::npos) msg.replace(at, 1, "\"" + FFileName + "\"");
  if (Err) msg += ". " + std::string(std::strerror(Err));
  throw EInOutError(msg);
}

void TTextFile::AssignFile(const std::string& FileName) {
  if (FMode != tfmClosed) Fail("Cannot rename the open file %", 0);
  FFileName = FileName;
}

void TTextFile::Open(const char* Mode, TTextFileMode NewMode, const char* What) {
  // Reopening an open file closes it first, as the classic runtime does.
  if (FFile) {
    std::fclose(FFile);
    FFile = nullptr;
    FMode = tfmClosed;
  }
  if (FFileName.empty()) throw EInOutError("No file name assigned");
  FFile = std::fopen(FFileName.c_str(), Mode);
  int err = errno;
  if (FFile) {
    struct stat st {};
    if (::fstat(fileno(FFile), &st) == 0 && S_ISDIR(st.st_mode)) {
      std::fclose(FFile);
      FFile = nullptr;
      err = EISDIR;
    }
  }
  if (!FFile) Fail(What, err);
  FMode = NewMode;
}

void TTextFile::Reset() { Open("rb", tfmInput, "Cannot open file % for reading"); }
void TTextFile::Rewrite() { Open("wb", tfmOutput, "Cannot create file %"); }

void TTextFile::Append() {
  // Append needs an existing file: "r+b" fails when it is missing, then we move to the end.
  Open("r+b", tfmOutput, "Cannot open file % for appending");
  if (std::fseek(FFile, 0, SEEK_END) != 0) Fail("Cannot open file % for appending", errno);
}

void TTextFile::CloseFile() {
  if (!FFile) throw EInOutError("File not open");
  int r = std::fclose(FFile);
  int err = errno;
  FFile = nullptr;
  FMode = tfmClosed;
  if (r != 0) Fail("Cannot close file %", err);
}

void TTextFile::Require(TTextFileMode Needed) const {
  if (FMode == tfmClosed) throw EInOutError("File not open");
  if (FMode != Needed)
    throw EInOutError(Needed == tfmInput ? "File not open for input" : "File not open for output");
}

bool TTextFile::Eof() {
  Require(tfmInput);
  int c = std::getc(FFile);
  if (c == EOF) {
    if (std::ferror(FFile)) Fail("Cannot read file %", errno);
    return true;
  }
  std::ungetc(c, FFile);
  return false;
}

bool TTextFile::ReadLn(std::string& Line) {
  Require(tfmInput);
  std::string s;
  int c = std::getc(FFile);
  if (c == EOF) {
    if (std::ferror(FFile)) Fail("Cannot read file %", errno);
    return false;
  }
  while (c != EOF && c != '\n' && c != '\r') {
    s += static_cast<char>(c);
    c = std::getc(FFile);
  }
  if (c == '\r') {
    int next = std::getc(FFile);
    if (next != '\n' && next != EOF) std::ungetc(next, FFile);
  }
  if (std::ferror(FFile)) Fail("Cannot read file %", errno);
  Line = std::move(s);
  return true;
}

std::string TTextFile::ReadLn() {
  std::string line;
  if (!ReadLn(line)) Fail("Read beyond end of file %", 0);
  return line;
}

void TTextFile::Write(const std::string& S) {
  Require(tfmOutput);
  if (!S.empty() && std::fwrite(S.data(), 1, S.size(), FFile) != S.size())
    Fail("Cannot write file %", errno);
}

void TTextFile::WriteLn(const std::string& S) {
  Write(S);
  Write(FLineBreak);
}

void TTextFile::Flush() {
  Require(tfmOutput);
  if (std::fflush(FFile) != 0) Fail("Cannot write file %", errno);
}

}  // namespace qel

#pragma once
// The stream family. TStream is the abstract byte stream; the concrete streams are file,
// memory and string streams. Reads and writes move Position; ReadBuffer/WriteBuffer raise
// EReadError/EWriteError when fewer bytes move than asked. Seeking before the start raises
// EStreamError and leaves the position; seeking past the end is allowed, and a write there fills
// the gap with zeros. An operating-system failure of a file stream raises (EReadError,
// EWriteError, EStreamError) rather than being reported as a short transfer.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

namespace qel {

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
 public:
  std::string ClassName() const override { return "TStream"; }
  // Reads up to Count bytes; returns how many were read (0 at the end).
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  // Writes up to Count bytes; returns how many were written.
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Moves the position; returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t GetPosition() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
  virtual int64_t GetSize();
  // Streams that cannot change size raise EStreamError.
  virtual void SetSize(int64_t NewSize);

  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source (all of it from its start when Count is 0); returns the count.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

// Open modes of TFileStream, as the classic file modes.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
 public:
  // Raises EFOpenError (or EFCreateError with fmCreate) naming the file when it cannot be opened.
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  std::string ClassName() const override { return "TFileStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
};

class TMemoryStream : public TStream {
 public:
  std::string ClassName() const override { return "TMemoryStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  void Clear();
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);
  const uint8_t* Memory() const { return FData.data(); }
  uint8_t* Memory() { return FData.data(); }

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

class TStringStream : public TStream {
 public:
  explicit TStringStream(std::string Data = {}) : FData(std::move(Data)) {}
  std::string ClassName() const override { return "TStringStream"; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t GetSize() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t NewSize) override;
  const std::string& DataString() const { return FData; }
  // Reads Count bytes (or the rest) from the position as a string.
  std::string ReadString(int64_t Count);
  void WriteString(const std::string& S);

 private:
  std::string FData;
  int64_t FPosition = 0;
};

}  // namespace qel

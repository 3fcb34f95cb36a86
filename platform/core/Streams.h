#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Exception.h"
#include "platform/core/UniqueFd.h"

namespace platform {

// A stream that cannot do what was asked of it.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};

// ReadBuffer got fewer bytes than it asked for, or the OS refused a read: "Stream read error".
class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// WriteBuffer wrote fewer bytes than it was given, or the OS refused a write: "Stream write error".
class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

// Origins of Seek. A plain enum with a fixed type, so that a caller's out-of-range origin is representable
// and can be refused by the stream.
enum TSeekOrigin : uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// A sequence of bytes with a position. Derived streams implement Read, Write and Seek; everything else is
// built on those three. Seek returns the new position, or -1 (position unchanged) when the origin is
// unknown or the target lies before the start or beyond the largest 64-bit position. Seeking past the end
// is allowed; a later Write extends the stream there.
class TStream {
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;
  virtual ~TStream() = default;

  // Reads up to Count bytes at the position; returns how many were read (0 at the end).
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  // Writes Count bytes at the position; returns how many were written.
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t Pos) { Seek(Pos, soFromBeginning); }
  // The stream's length; the base finds it by seeking to the end and back.
  virtual int64_t Size();
  // Truncates or extends the stream; a position beyond the new size moves to its end. The base raises
  // EStreamError: a stream that can change its size overrides it.
  virtual void SetSize(int64_t NewSize);

  // Read and Write that raise EReadError / EWriteError unless all Count bytes were moved.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);

  // Copies Count bytes from Source's position to this stream's position; Count 0 copies the whole of
  // Source from its start. Returns the number of bytes copied; raises EReadError when Source ends early.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

// TFileStream modes: one access mode or fmCreate, or-ed with one share flag. Share flags are accepted for
// the callers' sake and have no effect on this platform.
constexpr uint16_t fmCreate = 0xFF00;  // create the file, or empty an existing one; opened for reading and writing
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A stream on an open file, which it owns and closes. Raises EFCreateError ("Cannot create file "%s". %s")
// or EFOpenError ("Cannot open file "%s". %s"), with the OS reason, when the file cannot be had.
// Writes go straight to the file; an OS failure in Read or Write raises EReadError / EWriteError.
class TFileStream : public TStream {
public:
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;

  const std::string& FileName() const { return fileName_; }

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;

private:
  std::string fileName_;
  UniqueFd fd_;
};

// A stream held in memory. Memory() stays valid until the next change of size.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;

  char* Memory() { return data_.data(); }
  const char* Memory() const { return data_.data(); }
  void Clear();

  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t NewSize) override;

  // Replace the content with the whole of Stream (from its start) or of a file, and rewind; the file
  // variant raises EFOpenError.
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  // Write the whole content to Stream at its position, or replace a file atomically (EFCreateError).
  void SaveToStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);

protected:
  std::string data_;  // any bytes; a string so that TStringStream can hand it out as text
  int64_t position_ = 0;
};

// A memory stream whose bytes are read and written as a string, for text built in memory.
class TStringStream : public TMemoryStream {
public:
  explicit TStringStream(std::string AString = {});

  const std::string& DataString() const { return data_; }
  // Up to Count bytes from the position, which moves past them.
  std::string ReadString(int64_t Count);
  // Writes the bytes of AString at the position.
  void WriteString(const std::string& AString);
};

}  // namespace platform

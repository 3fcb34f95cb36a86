#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Exception.h"

namespace platform {

class TStringList;

// A section name, key or value that cannot be written without corrupting the file: the write is refused
// and the file left as it was.
class EIniFileException : public Exception {
public:
  using Exception::Exception;
};

// Settings in sections of name=value lines. The typed reads and writes are built on ReadString and
// WriteString:
// - ReadInteger: decimal, or hexadecimal after "$" or "0x"; anything else gives the default.
// - ReadBool: read as an integer, 0 false and any other number true; a missing or non-numeric value gives
//   the default. WriteBool writes "1" or "0".
// - ReadFloat and WriteFloat use the format settings' decimal separator.
class TCustomIniFile {
public:
  explicit TCustomIniFile(std::string FileName) : fileName_(std::move(FileName)) {}
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;
  virtual ~TCustomIniFile() = default;

  const std::string& FileName() const { return fileName_; }

  virtual std::string ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) const = 0;
  virtual void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) = 0;
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  double ReadFloat(const std::string& Section, const std::string& Ident, double Default) const;
  void WriteFloat(const std::string& Section, const std::string& Ident, double Value);

  // Replace the contents of Strings with the key names of a section, the section names, or the
  // name=value lines of a section; in file order.
  virtual void ReadSection(const std::string& Section, TStringList& Strings) const = 0;
  virtual void ReadSections(TStringList& Strings) const = 0;
  virtual void ReadSectionValues(const std::string& Section, TStringList& Strings) const = 0;
  // A section with a header (ReadSections lists it), and a key of a section (ReadSection lists it).
  virtual bool SectionExists(const std::string& Section) const;
  virtual bool ValueExists(const std::string& Section, const std::string& Ident) const;
  virtual void EraseSection(const std::string& Section) = 0;
  virtual void DeleteKey(const std::string& Section, const std::string& Ident) = 0;
  // Writes changes that are still held in memory.
  virtual void UpdateFile() = 0;

private:
  std::string fileName_;
};

class IniDocument;

// The rules of both INI classes below:
// - Section names and keys are compared ignoring ASCII case and surrounding blanks; the first section of
//   a name and the first key of a name in it win, later duplicates are not seen.
// - A key line is "key=value"; a line without "=" is a key with an empty value. Values are trimmed and
//   lose one pair of matching surrounding quotes (" or '). Lines starting with ";" are comments; lines
//   before the first section belong to none. A UTF-8 byte order mark that starts the file is skipped by
//   the readers and kept by the writes.
// - Sections are listed once each, keys once per section, in file order; SectionExists is true for a
//   section that has a header, even with no keys.
// - Writes keep every other line byte for byte (comments, blank lines, duplicates, odd lines). A changed
//   key keeps its line's place, its spelling of the key and its line end; a new key goes after the last
//   key of its section, a new section at the end of the file. New lines end like the file's first line
//   (CR LF in a new file). DeleteKey removes every line of the key in the section it reads from;
//   EraseSection removes every section of that name with all its lines, so neither leaves a duplicate
//   that would then be seen.
// - WriteString refuses (EIniFileException) a section name that is empty or holds "]" or a line break, a
//   key that is empty, holds "=" or a line break or begins with "[" or ";", and a value that holds a line
//   break. Values are written as they stand, without added quotes.
// - A missing file reads as empty; a file that exists but cannot be opened or read, or that is no regular
//   file (a FIFO, a device, a folder), raises EFOpenError naming it, without waiting; a failed write raises
//   EFCreateError and leaves the file untouched. No length limits.

// An INI file read and written on disk at every call, as the Windows profile functions do: each read opens,
// reads and closes the file; each write reads the file fresh (so changes made by another process meanwhile
// are kept), changes it and replaces it atomically (a reader sees the old or the new file, never a part);
// a write that changes no byte leaves the file alone. Two processes writing the same file at the same
// moment are not serialised: the later replace wins. Each write costs a flush to disk, so a long run of
// writes that belong together goes through TMemIniFile.
class TIniFile : public TCustomIniFile {
public:
  using TCustomIniFile::TCustomIniFile;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStringList& Strings) const override;
  void ReadSections(TStringList& Strings) const override;
  void ReadSectionValues(const std::string& Section, TStringList& Strings) const override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  void UpdateFile() override {}  // every write is on disk already

private:
  IniDocument Load() const;
  void Store(const IniDocument& document);
};

// An INI file read once, when the object is made; reads and writes then work in memory with the same
// rules, and UpdateFile writes the whole set of changes with one atomic replace. Only UpdateFile writes:
// changes not written by it are dropped with the object (a destructor cannot report a failed write).
// A read finds its key through an index of the section (built at the first read after the section
// changed), so reading every key of a section of n keys costs O(n), not O(n^2).
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(std::string FileName);
  ~TMemIniFile() override;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) const override;
  void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
  void ReadSection(const std::string& Section, TStringList& Strings) const override;
  void ReadSections(TStringList& Strings) const override;
  void ReadSectionValues(const std::string& Section, TStringList& Strings) const override;
  // Replaces the whole section (comments and odd lines in it included) by the key=value lines, in one
  // pass: a key given twice keeps its first place and takes its last value, as WriteString one by one
  // would leave it. A missing section is added at the end. Refuses (EIniFileException) what
  // WriteString refuses, before anything changes.
  void WriteSection(const std::string& Section, const std::vector<std::pair<std::string, std::string>>& Values);
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  // Writes the file when something changed since it was read or last written; EFCreateError keeps the
  // changes in memory for another try.
  void UpdateFile() override;

private:
  std::unique_ptr<IniDocument> document_;
  bool modified_ = false;
};

}  // namespace platform

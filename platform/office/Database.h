#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/FormatSettings.h"

namespace platform {

// The database facade of the grid's import: a connection and a record set over an SQLite file, in the
// order connection.Open(file), recordSet.Open(connection, query), then FieldCount and FieldName, and
// while not Eof the FieldText of each field and MoveNext; Close on both (the destructors close too).
//
// The connection only ever reads: the file is opened read-only (a missing file is an error, never a new
// empty database), file names are never taken as URIs, the connection runs in SQLite's defensive mode
// with an untrusted schema, and an authorizer admits only reading. A query must be exactly one reading
// statement. A locked database is waited for up to the busy time-out. Every failure raises EOleException
// naming the file, with SQLite's own message where SQLite gave one.
class DatabaseConnection {
public:
  DatabaseConnection();
  ~DatabaseConnection();
  DatabaseConnection(const DatabaseConnection&) = delete;
  DatabaseConnection& operator=(const DatabaseConnection&) = delete;

  void Open(const std::string& fileName);
  void Close();
  bool IsOpen() const;
  const std::string& FileName() const { return fileName_; }
  // How long a statement waits for another process's lock; 5000 ms unless set before Open.
  void SetBusyTimeoutMs(int timeoutMs) { busyTimeoutMs_ = timeoutMs; }

  struct Handle;

private:
  friend class RecordSet;
  std::string fileName_;
  int busyTimeoutMs_ = 5000;
  std::unique_ptr<Handle> handle_;
};

class RecordSet {
public:
  RecordSet();
  ~RecordSet();
  RecordSet(const RecordSet&) = delete;
  RecordSet& operator=(const RecordSet&) = delete;

  // Runs the query on the connection, which must stay open while the record set is; positions on the
  // first record.
  void Open(DatabaseConnection& connection, const std::string& query);
  void Close();

  int FieldCount() const { return static_cast<int>(names_.size()); }
  const std::string& FieldName(int index) const { return names_.at(static_cast<size_t>(index)); }
  // The number of records is not known before they are read: always -1, as a forward-only cursor says.
  int64_t RecordCount() const { return -1; }
  bool Eof() const { return eof_; }
  // The current record's field as text: NULL empty, integers in decimal, reals as FloatToStr gives them
  // under the settings, texts as stored, a blob as its bytes when they are valid UTF-8 and else empty.
  std::string FieldText(int index) const;
  std::string FieldText(int index, const TFormatSettings& settings) const;
  void MoveNext();

  struct Statement;

private:
  void Step();

  DatabaseConnection* connection_ = nullptr;
  std::unique_ptr<Statement> statement_;
  std::vector<std::string> names_;
  bool eof_ = true;
};

}  // namespace platform

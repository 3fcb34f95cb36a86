#include "platform/office/Database.h"

#include <sqlite3.h>

#include "platform/core/Files.h"
#include "platform/core/StrUtils.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Xml.h"

namespace platform {

struct DatabaseConnection::Handle {
  sqlite3* db = nullptr;
  ~Handle() {
    if (db) sqlite3_close_v2(db);
  }
};

struct RecordSet::Statement {
  sqlite3_stmt* statement = nullptr;
  ~Statement() {
    if (statement) sqlite3_finalize(statement);
  }
};

namespace {

// Admits what a reading statement does and nothing else (no ATTACH, PRAGMA, transaction or write).
int ReadOnlyAuthorizer(void*, int action, const char*, const char*, const char*, const char*) {
  switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
      return SQLITE_OK;
    default:
      return SQLITE_DENY;
  }
}

// The rest of a query after its first statement holds only blanks and comments.
bool OnlyBlanksAndComments(const char* rest) {
  const std::string_view text(rest);
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' || text[i] == '\f' || text[i] == ';') {
      ++i;
    } else if (text.compare(i, 2, "--") == 0) {
      const size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
    } else if (text.compare(i, 2, "/*") == 0) {
      const size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() : end + 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

DatabaseConnection::DatabaseConnection() = default;
DatabaseConnection::~DatabaseConnection() = default;

bool DatabaseConnection::IsOpen() const { return handle_ != nullptr; }

void DatabaseConnection::Open(const std::string& fileName) {
  Close();
  fileName_ = fileName;
  if (!FileExists(fileName)) throw EOleException(fileName, "the file does not exist");
  auto handle = std::make_unique<Handle>();
  // Read-only: SQLite neither creates the file nor writes a journal; no SQLITE_OPEN_URI, so a name
  // such as "file:x?mode=rwc" is only a file name.
  const int opened =
      sqlite3_open_v2(fileName.c_str(), &handle->db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  if (opened != SQLITE_OK) {
    const std::string message = handle->db ? sqlite3_errmsg(handle->db) : sqlite3_errstr(opened);
    throw EOleException(fileName, message);
  }
  sqlite3* db = handle->db;
  sqlite3_extended_result_codes(db, 1);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
  sqlite3_busy_timeout(db, busyTimeoutMs_);
  // Reading the schema now tells a file that is no database at the connection, not at the first query.
  char* error = nullptr;
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw EOleException(fileName, message);
  }
  sqlite3_set_authorizer(db, ReadOnlyAuthorizer, nullptr);
  handle_ = std::move(handle);
}

void DatabaseConnection::Close() { handle_.reset(); }

RecordSet::RecordSet() = default;
RecordSet::~RecordSet() = default;

void RecordSet::Open(DatabaseConnection& connection, const std::string& query) {
  Close();
  if (!connection.IsOpen()) throw EOleException(connection.FileName(), "the connection is not open");
  sqlite3* db = connection.handle_->db;
  const std::string& fileName = connection.FileName();
  auto statement = std::make_unique<Statement>();
  const char* rest = nullptr;
  if (sqlite3_prepare_v2(db, query.c_str(), static_cast<int>(query.size()), &statement->statement, &rest) !=
      SQLITE_OK) {
    // The authorizer refuses the actions of writing statements while SQLite prepares them.
    if (sqlite3_errcode(db) == SQLITE_AUTH)
      throw EOleException(fileName, "only a reading statement is accepted (" + std::string(sqlite3_errmsg(db)) + ")");
    throw EOleException(fileName, sqlite3_errmsg(db));
  }
  if (!statement->statement) throw EOleException(fileName, "the query holds no statement");
  if (rest && !OnlyBlanksAndComments(rest)) throw EOleException(fileName, "only one statement is accepted");
  if (!sqlite3_stmt_readonly(statement->statement))
    throw EOleException(fileName, "only a reading statement is accepted");
  const int columns = sqlite3_column_count(statement->statement);
  for (int i = 0; i < columns; ++i) {
    const char* name = sqlite3_column_name(statement->statement, i);
    names_.emplace_back(name ? name : "");
  }
  connection_ = &connection;
  statement_ = std::move(statement);
  eof_ = false;
  Step();
}

void RecordSet::Step() {
  const int result = sqlite3_step(statement_->statement);
  if (result == SQLITE_ROW) return;
  eof_ = true;
  if (result != SQLITE_DONE) {
    const std::string message = sqlite3_errmsg(connection_->handle_->db);
    throw EOleException(connection_->FileName(), message);
  }
}

void RecordSet::MoveNext() {
  if (eof_) throw EOleException(connection_ ? connection_->FileName() : std::string(), "the record set is at its end");
  Step();
}

std::string RecordSet::FieldText(int index) const { return FieldText(index, FormatSettings()); }

std::string RecordSet::FieldText(int index, const TFormatSettings& settings) const {
  if (eof_ || index < 0 || index >= FieldCount())
    throw EOleException(connection_ ? connection_->FileName() : std::string(), "no field " + IntToStr(index));
  sqlite3_stmt* statement = statement_->statement;
  switch (sqlite3_column_type(statement, index)) {
    case SQLITE_INTEGER:
      return IntToStr(sqlite3_column_int64(statement, index));
    case SQLITE_FLOAT:
      return FloatToStr(sqlite3_column_double(statement, index), settings);
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
      return std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, index)));
    }
    case SQLITE_BLOB: {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, index));
      const std::string_view blob(bytes ? bytes : "", static_cast<size_t>(sqlite3_column_bytes(statement, index)));
      return IsValidUtf8(blob) ? std::string(blob) : std::string();
    }
    default:
      return {};
  }
}

void RecordSet::Close() {
  statement_.reset();
  names_.clear();
  eof_ = true;
  connection_ = nullptr;
}

}  // namespace platform

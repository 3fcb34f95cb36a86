#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "OfficeTestSupport.h"
#include "platform/office/Database.h"
#include "platform/office/OfficeError.h"

using namespace platform;
using office_test::TempFolder;

namespace {

// Makes the database with the sqlite3 command-line tool from the SQL text.
void MakeDatabase(const TempFolder& folder, const std::string& database, const std::string& sql) {
  office_test::WriteFile(folder / "setup.sql", sql);
  const SpawnResult result =
      SpawnAndWait({"sqlite3", {database, ".read " + (folder / "setup.sql")}, folder.Path().string(), {}});
  ASSERT_EQ(result.error, 0) << "sqlite3 could not be started (scripts/setup.sh installs it)";
  ASSERT_EQ(result.exitCode, 0);
}

const char* const kFixture = R"(
CREATE TABLE Hosts (id INTEGER, name TEXT, ratio REAL, untyped, data BLOB);
INSERT INTO Hosts VALUES (1, 'alpha', 0.5, NULL, x'C3A4');
INSERT INTO Hosts VALUES (9223372036854775807, 'Grüße
zwei', 1e-7, NULL, x'FF00');
INSERT INTO Hosts VALUES (-5, '', -2.25, 'text in an untyped column', NULL);
CREATE TABLE "Städte" ("Größe" INTEGER, "Name" TEXT);
INSERT INTO "Städte" VALUES (3, 'Köln');
CREATE VIEW Positive AS SELECT name, ratio FROM Hosts WHERE ratio > 0;
CREATE TABLE Big (n INTEGER, label TEXT, half REAL);
INSERT INTO Big WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000)
  SELECT x, 'row ' || x, x * 0.5 FROM c;
)";

std::vector<std::vector<std::string>> ReadAll(const std::string& file, const std::string& query,
                                              std::vector<std::string>* names = nullptr,
                                              const TFormatSettings& settings = TFormatSettings()) {
  DatabaseConnection connection;
  connection.Open(file);
  RecordSet records;
  records.Open(connection, query);
  EXPECT_EQ(records.RecordCount(), -1);
  if (names)
    for (int i = 0; i < records.FieldCount(); ++i) names->push_back(records.FieldName(i));
  std::vector<std::vector<std::string>> rows;
  while (!records.Eof()) {
    rows.emplace_back();
    for (int i = 0; i < records.FieldCount(); ++i) rows.back().push_back(records.FieldText(i, settings));
    records.MoveNext();
  }
  records.Close();
  connection.Close();
  return rows;
}

std::string Refusal(const std::string& file, const std::string& query) {
  try {
    ReadAll(file, query);
  } catch (const EOleException& error) {
    EXPECT_EQ(error.FileName(), file);
    return error.Reason();
  }
  return "accepted";
}

}  // namespace

class DatabaseImport : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder();
    MakeDatabase(*folder_, *folder_ / "hosts.db", kFixture);
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  static std::string File() { return *folder_ / "hosts.db"; }
  static TempFolder* folder_;
};
TempFolder* DatabaseImport::folder_ = nullptr;

TEST_F(DatabaseImport, ReadsEveryTypeAsText) {
  std::vector<std::string> names;
  const auto rows = ReadAll(File(), "SELECT * FROM Hosts", &names);
  EXPECT_EQ(names, (std::vector<std::string>{"id", "name", "ratio", "untyped", "data"}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "alpha", "0.5", "", "\xC3\xA4"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"9223372036854775807",
                                               "Gr\xC3\xBC\xC3\x9F"
                                               "e\nzwei",
                                               "1E-7", "", ""}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"-5", "", "-2.25", "text in an untyped column", ""}));
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  EXPECT_EQ(ReadAll(File(), "SELECT ratio FROM Hosts", nullptr, comma)[2][0], "-2,25");
}

TEST_F(DatabaseImport, ReadsNonAsciiNamesViewsAndManyRows) {
  std::vector<std::string> names;
  EXPECT_EQ(ReadAll(File(),
                    "SELECT * FROM \"St\xC3\xA4"
                    "dte\"",
                    &names),
            (std::vector<std::vector<std::string>>{{"3", "K\xC3\xB6ln"}}));
  EXPECT_EQ(names, (std::vector<std::string>{"Gr\xC3\xB6\xC3\x9F"
                                             "e",
                                             "Name"}));
  EXPECT_EQ(ReadAll(File(), "SELECT * FROM Positive").size(), 2u);
  const auto big = ReadAll(File(), "SELECT * FROM Big");
  ASSERT_EQ(big.size(), 100000u);
  EXPECT_EQ(big.back(), (std::vector<std::string>{"100000", "row 100000", "50000"}));
  EXPECT_EQ(big[2], (std::vector<std::string>{"3", "row 3", "1.5"}));
}

TEST_F(DatabaseImport, AnEmptyResultHasFieldsAndIsAtItsEnd) {
  DatabaseConnection connection;
  connection.Open(File());
  RecordSet records;
  records.Open(connection, "SELECT * FROM Hosts WHERE 0");
  EXPECT_EQ(records.FieldCount(), 5);
  EXPECT_TRUE(records.Eof());
}

TEST_F(DatabaseImport, RefusesWhatIsNotOneReadingStatement) {
  EXPECT_EQ(Refusal(File(), "SELECT * FROM Nowhere"), "no such table: Nowhere");
  EXPECT_EQ(Refusal(File(), "SELEKT 1"), "near \"SELEKT\": syntax error");
  EXPECT_EQ(Refusal(File(), "SELECT 1; SELECT 2"), "only one statement is accepted");
  EXPECT_EQ(Refusal(File(), "SELECT 1; -- a comment\n /* and another */ ;"), "accepted");
  EXPECT_EQ(Refusal(File(), "DELETE FROM Hosts"), "only a reading statement is accepted (not authorized)");
  EXPECT_EQ(Refusal(File(), "INSERT INTO Hosts VALUES (1, 2, 3, 4, 5)"),
            "only a reading statement is accepted (not authorized)");
  EXPECT_EQ(Refusal(File(), "SELECT 1; DROP TABLE Hosts"), "only one statement is accepted");
  EXPECT_EQ(Refusal(File(), ""), "the query holds no statement");
  EXPECT_EQ(Refusal(File(), "ATTACH '" + (*folder_ / "other.db") + "' AS other"),
            "only a reading statement is accepted (not authorized)");
  EXPECT_FALSE(std::filesystem::exists(*folder_ / "other.db"));
  EXPECT_EQ(Refusal(File(), "PRAGMA journal_mode = WAL"), "only a reading statement is accepted (not authorized)");
}

TEST_F(DatabaseImport, NeverChangesTheFile) {
  struct stat before {};
  ASSERT_EQ(stat(File().c_str(), &before), 0);
  const std::string bytes = office_test::ReadFile(File());
  ReadAll(File(), "SELECT * FROM Hosts");
  EXPECT_EQ(ReadAll(File(), "SELECT count(*), sum(n) FROM Big"),
            (std::vector<std::vector<std::string>>{{"100000", "5000050000"}}));
  Refusal(File(), "DELETE FROM Hosts");
  struct stat after {};
  ASSERT_EQ(stat(File().c_str(), &after), 0);
  EXPECT_EQ(office_test::ReadFile(File()), bytes);
  EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
  for (const char* suffix : {"-journal", "-wal", "-shm"})
    EXPECT_FALSE(std::filesystem::exists(File() + suffix)) << suffix;
}

TEST(DatabaseConnectionTest, AMissingFileIsAnErrorAndIsNotCreated) {
  TempFolder folder;
  DatabaseConnection connection;
  try {
    connection.Open(folder / "missing.db");
    FAIL();
  } catch (const EOleException& error) {
    EXPECT_EQ(error.FileName(), folder / "missing.db");
    EXPECT_EQ(error.Reason(), "the file does not exist");
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "missing.db"));
  EXPECT_FALSE(connection.IsOpen());
  // A URI is only a file name.
  EXPECT_THROW(connection.Open("file:" + (folder / "uri.db") + "?mode=rwc"), EOleException);
  EXPECT_FALSE(std::filesystem::exists(folder / "uri.db"));
}

TEST(DatabaseConnectionTest, AFileThatIsNoDatabaseIsAnError) {
  TempFolder folder;
  office_test::WriteFile(folder / "text.db", std::string(4096, 'x'));
  DatabaseConnection connection;
  try {
    connection.Open(folder / "text.db");
    FAIL();
  } catch (const EOleException& error) {
    EXPECT_EQ(error.Reason(), "file is not a database");
  }
}

// The host grid exported to and imported from CSV files through the main window's menu items.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "configurator/HostListFile.h"
#include "configurator/tests/ConfFormFixture.h"
#include "platform/dialogs/FileDialogForm.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::StartsWith;

const std::string kOn = SwitchCellText(true), kOff = SwitchCellText(false);
const std::string kUnknown = StateCellText(6), kAnswering = StateCellText(8);

// Three hosts, one with a command that holds quotes and the delimiter; the user's home in the test's
// folder.
class CsvExchangeTest : public ConfFormTest {
protected:
  void SetUp() override {
    ConfFormTest::SetUp();
    home_ = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("HOME", (folder_ + "/home").c_str(), 1);
    std::filesystem::create_directories(folder_ + "/home");
    WriteIni(
        "[Hosts]\r\nrouter=\r\nprinter.local=\r\n10.0.0.7=\r\n"
        "[RunOnDisconnected]\r\nrouter=/opt/v/scripts/down.sh\r\n10.0.0.7=down.sh\r\n"
        "[Show]\r\nrouter=0\r\n10.0.0.7=6\r\n[Enabled]\r\nrouter=0\r\n");
    Start();
    Grid().SetCells(2, 2, "\"/opt/my scripts/up.sh\" --to \"ops;admins\"");
  }
  void TearDown() override {
    ConfFormTest::TearDown();
    ::setenv("HOME", home_.c_str(), 1);
  }

  platform::TMenuItem& Item(const char* name) { return dynamic_cast<platform::TMenuItem&>(*form_->FindComponent(name)); }
  std::string File(const char* name) const { return folder_ + "/home/" + name; }
  void Export(const std::string& file) {
    dialogs_.AnswerFile(file);
    Item("SpeichernalsXLS1").Click();
  }
  void Import(const std::string& file) {
    dialogs_.AnswerFile(file);
    Item("LadenausExcel1").Click();
    Settle();
  }
  // Every cell, row by row, and the column widths.
  std::vector<std::string> AllCells() {
    std::vector<std::string> cells;
    for (int row = 0; row < Grid().RowCount(); ++row)
      for (int col = 0; col < Grid().ColCount(); ++col) cells.push_back(Grid().Cells(col, row));
    return cells;
  }
  std::vector<int> Widths() {
    std::vector<int> widths;
    for (int col = 0; col < Grid().ColCount(); ++col) widths.push_back(Grid().ColWidths(col));
    return widths;
  }

  std::string home_;
};

TEST_F(CsvExchangeTest, AnExportedFileReadsBackWithEveryCellAndTheStatesUnknown) {
  for (int row = 1; row <= 3; ++row) {
    Grid().SetCells(6, row, kAnswering);
    Grid().SetCells(7, row, std::to_string(row * 10));
  }
  const std::vector<std::string> exported = AllCells();
  Export(File("hosts.csv"));
  ASSERT_EQ(dialogs_.FileDialogs().size(), 1u);
  const platform::TFileDialogRequest& save = dialogs_.FileDialogs()[0];
  EXPECT_EQ(save.Kind, platform::TFileDialogKind::Save);
  EXPECT_EQ(save.Title, "CSV - Speichern");
  EXPECT_EQ(save.Filter, "Kommatext - Datei|*.csv");
  EXPECT_EQ(save.FileName, "pwdsave");
  EXPECT_EQ(platform::ExpandDialogFolder(save.InitialDir), folder_ + "/home");
  const std::string text = platform::ReadFileBytes(File("hosts.csv"));
  EXPECT_THAT(text, StartsWith("Host;Ausführen wenn Host nicht erreichbar;Ausführen wenn Host erreichbar ist;"
                               "Darstellung;An/Aus;Statusänderung;Status;Zeit\r\n"));
  EXPECT_FALSE(form_->btnSave->Enabled()) << "an export changes nothing";

  // Another list in the grid, then the file back.
  form_->btnInsertClick(nullptr);
  Grid().SetCells(0, 4, "other");
  Grid().SetCells(0, 1, "changed");
  Import(File("hosts.csv"));
  const platform::TFileDialogRequest& load = dialogs_.FileDialogs()[1];
  EXPECT_EQ(load.Kind, platform::TFileDialogKind::Open);
  EXPECT_EQ(load.Title, "CSV - Datei laden");
  EXPECT_EQ(platform::ExpandDialogFolder(load.InitialDir), folder_ + "/home");
  std::vector<std::string> expected = exported;
  for (int row = 1; row <= 3; ++row) expected[static_cast<size_t>(row * 8 + 6)] = kUnknown;
  EXPECT_THAT(AllCells(), ElementsAreArray(expected));
  EXPECT_THAT(RowCells(2), ElementsAre("printer.local", "", "\"/opt/my scripts/up.sh\" --to \"ops;admins\"", "normal",
                                       kOn, kOn));
  EXPECT_TRUE(dialogs_.Messages().empty());
  EXPECT_TRUE(form_->btnSave->Enabled()) << "the imported list is to be saved";
  EXPECT_TRUE(form_->Speichern1->Enabled());
  EXPECT_TRUE(form_->btnRemove->Enabled());

  // Saved, the imported rows are the host list (no service runs: it is not started).
  dialogs_.AnswerMessage(platform::mbNo);
  form_->btnSaveClick(nullptr);
  EXPECT_THAT(Ini(), ::testing::HasSubstr("[Hosts]\r\nrouter=\r\nprinter.local=\r\n10.0.0.7=\r\n"));
  Settle();
  Screenshot(form_->BackendWindow(), "csv-imported");
}

// The data rows are emptied before the load, and the grid keeps its eight columns.
TEST_F(CsvExchangeTest, ANarrowFileLeavesNoOldTextAndAWideOneLosesItsSurplusColumnsWithANotice) {
  platform::WriteFileAtomic(File("narrow.csv"), "Name;Down;Up;Look;On\r\nalpha;a.sh;;normal;" + kOff + "\r\n");
  Import(File("narrow.csv"));
  ASSERT_EQ(Grid().RowCount(), 2);
  EXPECT_EQ(Grid().ColCount(), 8);
  EXPECT_THAT(RowCells(1), ElementsAre("alpha", "a.sh", "", "normal", kOff, ""));
  EXPECT_EQ(Grid().Cells(6, 1), kUnknown);
  EXPECT_EQ(Grid().Cells(7, 1), "");
  EXPECT_EQ(Grid().Cells(0, 0), "Name");
  EXPECT_EQ(Grid().Cells(5, 0), "Statusänderung") << "the header row keeps what the file does not replace";
  EXPECT_TRUE(dialogs_.Messages().empty());
  EXPECT_FALSE(form_->btnRemove->Enabled()) << "one data row";

  platform::WriteFileAtomic(File("wide.csv"), "H;1;2;3;4;5;6;7;8;9\r\nbeta;;;;;;;;x;y\r\ngamma\r\n");
  dialogs_.AnswerFile(File("wide.csv"));
  dialogs_.AnswerMessage(platform::mbOK);
  Item("LadenausExcel1").Click();
  EXPECT_EQ(Grid().ColCount(), 8);
  ASSERT_EQ(Grid().RowCount(), 3);
  EXPECT_EQ(Grid().Cells(0, 2), "gamma");
  EXPECT_EQ(Grid().Cells(7, 1), "");
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_EQ(dialogs_.Messages()[0].Text, "Die Datei hat 10 Spalten; nur die ersten 8 wurden geladen.");
  EXPECT_TRUE(form_->btnRemove->Enabled());
}

// A file that cannot be read, or one without a host row, leaves the list as it was.
TEST_F(CsvExchangeTest, AFailedImportPutsTheListBackAndSaysWhy) {
  std::filesystem::create_directories(File("folder.csv"));
  platform::WriteFileAtomic(File("empty.csv"), "");
  platform::WriteFileAtomic(File("header.csv"), "Host;Down;Up\r\n");
  Grid().SetColWidths(1, 97);
  const std::vector<std::string> cells = AllCells();
  const std::vector<int> widths = Widths();
  const struct {
    const char* file;
    const char* reason;
  } cases[] = {
      {"folder.csv", "Cannot open file "},
      {"gone.csv", "Cannot open file "},
      {"empty.csv", "die Datei enthält unter ihrer Kopfzeile keine Hostzeile."},
      {"header.csv", "die Datei enthält unter ihrer Kopfzeile keine Hostzeile."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    platform::TScriptedDialogService dialogs;
    dialogs.AnswerFile(File(c.file));
    dialogs.AnswerMessage(platform::mbOK);
    Item("LadenausExcel1").Click();
    Settle();
    EXPECT_THAT(AllCells(), ElementsAreArray(cells));
    EXPECT_THAT(Widths(), ElementsAreArray(widths));
    EXPECT_EQ(Grid().FixedRows(), 1);
    ASSERT_EQ(dialogs.Messages().size(), 1u);
    EXPECT_EQ(dialogs.Messages()[0].Type, platform::mtError);
    EXPECT_THAT(dialogs.Messages()[0].Text,
                StartsWith(std::string("Die CSV-Datei wurde nicht geladen, die Liste ist unverändert: ") + c.reason));
    EXPECT_FALSE(form_->btnSave->Enabled());
  }
}

TEST_F(CsvExchangeTest, CancelledDialogsChangeNothing) {
  const std::vector<std::string> cells = AllCells();
  dialogs_.AnswerCancel();
  Item("SpeichernalsXLS1").Click();
  dialogs_.AnswerCancel();
  Item("LadenausExcel1").Click();
  Settle();
  EXPECT_EQ(dialogs_.FileDialogs().size(), 2u);
  EXPECT_THAT(AllCells(), ElementsAreArray(cells));
  EXPECT_FALSE(form_->btnSave->Enabled());
  EXPECT_TRUE(std::filesystem::is_empty(folder_ + "/home"));
}

// An editor left open would write its text into the imported list when it closes, and the export would
// miss what the user typed.
TEST_F(CsvExchangeTest, TheOpenEditorIsEndedBeforeTheExportAndBeforeTheImport) {
  platform::WriteFileAtomic(File("other.csv"), "Host\r\nfresh\r\n");
  for (const bool import : {false, true}) {
    SCOPED_TRACE(import ? "import" : "export");
    Stop();
    Start();
    TypeInCell(0, 1, "typed");
    ASSERT_TRUE(Grid().EditActive());
    if (import) {
      Import(File("other.csv"));
      EXPECT_EQ(Grid().Cells(0, 1), "fresh");
    } else {
      Export(File("hosts.csv"));
      EXPECT_THAT(platform::ReadFileBytes(File("hosts.csv")), ::testing::HasSubstr("\r\ntyped;"));
    }
    EXPECT_FALSE(Grid().EditActive());
  }
}

}  // namespace
}  // namespace configurator::testing

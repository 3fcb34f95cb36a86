// The main window's start and close: the host list loaded into the grid, the placement of the last
// session, and what closing asks and writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "configurator/HostListFile.h"
#include "configurator/WindowPlacement.h"
#include "configurator/tests/ConfFormFixture.h"

namespace configurator::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kOn = SwitchCellText(true), kOff = SwitchCellText(false);

TEST_F(ConfFormTest, TheFirstStartWithoutHostListShowsOneFreshRowAndWritesOnlyTheLanguage) {
  Start();
  EXPECT_EQ(form_->BoundsRect(), (platform::TRect{10, 10, 810, 610}));
  EXPECT_EQ(form_->Caption(), "Velmora - Konfigurator");
  EXPECT_EQ(form_->ClassName(), "TForm1");
  EXPECT_FALSE(form_->English());
  ASSERT_EQ(Grid().RowCount(), 2);
  EXPECT_THAT(RowCells(1), ElementsAre("", "", "", "normal", kOn, kOn));
  EXPECT_FALSE(form_->btnRemove->Enabled());
  EXPECT_FALSE(form_->entf->Enabled());
  EXPECT_FALSE(form_->btnSave->Enabled());
  EXPECT_TRUE(form_->Deutsch1->Checked());
  EXPECT_EQ(Ini(), "[Options]\r\nisEnglish=0\r\n");
  EXPECT_EQ(form_->Intervall, 120);
  EXPECT_TRUE(form_->Logging);
  EXPECT_EQ(form_->StatusHTMLDir, platform::ExeDir());
  EXPECT_EQ(form_->StatusHTMLFilename, "index.htm");
  EXPECT_EQ(form_->AndockPanel->Height(), 600 / 2 - 20);
  EXPECT_TRUE(dialogs_.Messages().empty());
}

TEST_F(ConfFormTest, TheHostsLoadInFileOrderWithTheWordsOfTheInterfaceLanguage) {
  WriteIni(
      "[Hosts]\r\nrouter=\r\nprinter.local=\r\n10.0.0.7=\r\n"
      "[RunOnDisconnected]\r\nrouter=/opt/v/scripts/down.sh\r\n"
      "[RunOnConnected]\r\nprinter.local=/opt/v/scripts/up.sh\r\n"
      "[Show]\r\nrouter=0\r\nprinter.local=5\r\n10.0.0.7=6\r\n"
      "[Enabled]\r\nrouter=0\r\n"
      "[WaitForStatusChange]\r\nprinter.local=0\r\n");
  for (const char* language : {"DE", "ENG"}) {
    SCOPED_TRACE(language);
    Start(language);
    const bool english = std::string(language) == "ENG";
    ASSERT_EQ(Grid().RowCount(), 4);
    EXPECT_THAT(RowCells(1), ElementsAre("router", "/opt/v/scripts/down.sh", "", english ? "hide" : "verborgen", kOff, kOn));
    EXPECT_THAT(RowCells(2), ElementsAre("printer.local", "", "/opt/v/scripts/up.sh", "normal", kOn, kOff));
    EXPECT_THAT(RowCells(3), ElementsAre("10.0.0.7", "", "", english ? "minimize" : "minimiert", kOn, kOn));
    EXPECT_TRUE(form_->btnRemove->Enabled());
    EXPECT_EQ(Grid().LeftCol(), 0) << "the host column is in view";
    EXPECT_EQ(Grid().Col(), 0);
    EXPECT_EQ(Grid().Cells(1, 0), english ? "Start on Disconnected" : "Ausführen wenn Host nicht erreichbar");
    EXPECT_EQ(form_->Caption(), english ? "Velmora - Configurator" : "Velmora - Konfigurator");
    EXPECT_EQ(form_->English(), english);
    EXPECT_THAT(Ini(), HasSubstr(english ? "isEnglish=1" : "isEnglish=0"));
    Stop();
  }
}

TEST(WindowPlacementTest, BoundsAreBroughtInsideTheWorkAreaAndTheMinimumSize) {
  const platform::TRect area{0, 0, 1024, 728};
  const struct {
    platform::TRect stored, fitted;
  } cases[] = {
      {{10, 10, 810, 610}, {10, 10, 810, 610}},          // inside: kept
      {{-5000, -40, -4200, 560}, {0, 0, 800, 600}},       // off to the left and top
      {{900, 700, 1700, 1300}, {224, 128, 1024, 728}},    // off to the right and bottom
      {{0, 0, 3000, 2000}, {0, 0, 1024, 728}},            // larger than the work area
      {{50, 50, 60, 60}, {50, 50, 530, 410}},             // below the minimum size
  };
  for (const auto& c : cases) EXPECT_EQ(FitIntoWorkArea(c.stored, area, 480, 360), c.fitted);
  EXPECT_EQ(FitLogPanelHeight(5000, 50, 300), 300);
  EXPECT_EQ(FitLogPanelHeight(10, 50, 300), 50);
  EXPECT_EQ(FitLogPanelHeight(200, 50, 20), 50);
}

TEST_F(ConfFormTest, AStoredPlacementOffTheScreenAndAHugeLogPanelAreBroughtBack) {
  WriteIni("[Window]\r\nLeft=-3000\r\nTop=5000\r\nWidth=700\r\nHeight=500\r\n[Options]\r\nLogPanel=90000\r\n");
  Start();
  const platform::TRect area = platform::Screen().WorkAreaRect();
  EXPECT_EQ(form_->BoundsRect(), (platform::TRect{area.Left, area.Bottom - 500, area.Left + 700, area.Bottom}));
  EXPECT_GE(form_->gridPanel->Height(), 100);
  EXPECT_GE(form_->AndockPanel->Height(), 50);
}

TEST_F(ConfFormTest, ClosingWithoutEditsAsksNothingAndWritesOptionsPlacementAndColumnWidths) {
  WriteIni("; kept\r\n[Hosts]\r\nrouter=\r\n[RunOnConnected]\r\nrouter=up.sh\r\n[Other]\r\nx = 1\r\n");
  Start();
  form_->SetBounds(30, 40, 700, 500);
  form_->Intervall = 60;
  EXPECT_TRUE(CloseForm());
  EXPECT_TRUE(dialogs_.Messages().empty());
  const std::string ini = Ini();
  EXPECT_THAT(ini, HasSubstr("; kept\r\n[Hosts]\r\nrouter=\r\n[RunOnConnected]\r\nrouter=up.sh\r\n[Other]\r\nx = 1\r\n"));
  EXPECT_THAT(ini, HasSubstr("[Options]\r\nisEnglish=0\r\nLogPanel=280\r\nIntervall=60\r\nLogging=1\r\nWebStatus=0\r\n"
                             "StatusHTMLFilename=index.htm\r\nStatusHTMLDir=" + platform::ExeDir() + "\r\n"));
  EXPECT_THAT(ini, HasSubstr("[Window]\r\nLeft=30\r\nTop=40\r\nWidth=700\r\nHeight=500\r\nisMax=0\r\n"));
  EXPECT_THAT(ini, HasSubstr("[GridSize]\r\nCol0=50\r\n"));
}

TEST_F(ConfFormTest, AMaximisedWindowWritesIsMaxAndKeepsTheLastNormalBounds) {
  WriteIni("[Window]\r\nLeft=20\r\nTop=30\r\nWidth=640\r\nHeight=480\r\n");
  Start();
  form_->SetWindowState(platform::TWindowState::wsMaximized);
  Settle();
  EXPECT_TRUE(CloseForm());
  EXPECT_THAT(Ini(), HasSubstr("[Window]\r\nLeft=20\r\nTop=30\r\nWidth=640\r\nHeight=480\r\nisMax=1\r\n"));
}

TEST_F(ConfFormTest, ClosingWithUnsavedEditsAndARowWithoutHostStaysOpen) {
  Start();
  Grid().SetCells(1, 1, "down.sh");
  form_->btnSave->SetEnabled(true);
  dialogs_.AnswerMessage(platform::mbYes);
  dialogs_.AnswerMessage(platform::mbOK);
  EXPECT_FALSE(CloseForm());
  ASSERT_EQ(dialogs_.Messages().size(), 2u);
  EXPECT_EQ(dialogs_.Messages()[0].Text, "Änderungen speichern?");
  EXPECT_EQ(dialogs_.Messages()[1].Text, "Sie muessen einen Hostnamen angeben");
  EXPECT_FALSE(form_->SaveOk());
  EXPECT_TRUE(form_->btnSave->Enabled());
  EXPECT_TRUE(form_->Speichern1->Enabled());
  EXPECT_THAT(Ini(), ::testing::Not(HasSubstr("[Hosts]")));
}

TEST_F(ConfFormTest, ClosingEndsTheOpenEditorSoItsTextIsAskedForAndSaved) {
  Start();
  Grid().SetCells(1, 1, "down.sh");
  TypeInCell(0, 1, "router");
  ASSERT_TRUE(Grid().EditActive());
  dialogs_.AnswerMessage(platform::mbYes);
  dialogs_.AnswerMessage(platform::mbNo);  // the saved list is not handed to a service: none runs
  EXPECT_TRUE(CloseForm());
  ASSERT_EQ(dialogs_.Messages().size(), 2u);
  EXPECT_THAT(Ini(), HasSubstr("[Hosts]\r\nrouter=\r\n"));
  EXPECT_THAT(Ini(), HasSubstr("[RunOnDisconnected]\r\nrouter=down.sh\r\n"));
}

TEST_F(ConfFormTest, AnsweringNoClosesWithoutSaving) {
  Start();
  Grid().SetCells(0, 1, "router");
  form_->btnSave->SetEnabled(true);
  dialogs_.AnswerMessage(platform::mbNo);
  EXPECT_TRUE(CloseForm());
  EXPECT_THAT(Ini(), ::testing::Not(HasSubstr("router")));
}

// A program folder that cannot be written: one notice at start, and closing still closes.
TEST_F(ConfFormTest, AnUnwritableProgramFolderGivesOneNoticeAndNeverKeepsTheWindowOpen) {
  platform::OverrideExeFileName(folder_ + "/missing/program");
  dialogs_.AnswerMessage(platform::mbOK);
  Start();
  ASSERT_EQ(dialogs_.Messages().size(), 1u);
  EXPECT_THAT(dialogs_.Messages()[0].Text, HasSubstr("HostList.ini kann im Programmverzeichnis nicht geschrieben werden"));
  EXPECT_THAT(RowCells(1), ElementsAre("", "", "", "normal", kOn, kOn));
  EXPECT_TRUE(CloseForm());
  EXPECT_EQ(dialogs_.Messages().size(), 1u);
}

}  // namespace
}  // namespace configurator::testing

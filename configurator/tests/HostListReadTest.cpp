#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "configurator/tests/HostListTestSupport.h"
#include "platform/core/Exception.h"
#include "platform/core/tests/TempFolder.h"

namespace configurator::testing {
namespace {

TEST(ShowModeTest, CodesGiveTheWordsOfTheInterfaceLanguageAndOddCodesAreNormal) {
  struct Case {
    int code;
    const char* english;
    const char* german;
  };
  for (const Case& c : {Case{0, "hide", "verborgen"}, Case{1, "normal", "normal"}, Case{3, "maximize", "maximiert"},
                        Case{6, "minimize", "minimiert"}, Case{2, "normal", "normal"}, Case{5, "normal", "normal"},
                        Case{-1, "normal", "normal"}, Case{7, "normal", "normal"}}) {
    EXPECT_EQ(ShowModeToText(c.code, true), c.english) << c.code;
    EXPECT_EQ(ShowModeToText(c.code, false), c.german) << c.code;
  }
}

TEST(ShowModeTest, WordsOfEitherLanguageGiveTheirCodeOnlyAsSpelled) {
  struct Case {
    const char* word;
    int code;
  };
  for (const Case& c : {Case{"hide", 0}, Case{"verborgen", 0}, Case{"maximize", 3}, Case{"maximiert", 3},
                        Case{"minimize", 6}, Case{"minimiert", 6}, Case{"normal", 1}, Case{"Hide", 1},
                        Case{" hide", 1}, Case{"MINIMIERT", 1}, Case{"", 1}, Case{"3", 1}}) {
    EXPECT_EQ(TextToShowMode(c.word), c.code) << c.word;
  }
}

TEST(SwitchCellTest, TheCellTextsAndWhatCountsAsOn) {
  EXPECT_EQ(SwitchCellText(true), "<p align=\"center\"><IMG src=\"idx:1\" align=\"center\"></p>");
  EXPECT_EQ(SwitchCellText(false), "<p align=\"center\"><IMG src=\"idx:0\" align=\"center\"></p>");
  EXPECT_TRUE(SwitchCellIsOn(SwitchCellText(true)));
  EXPECT_FALSE(SwitchCellIsOn(SwitchCellText(false)));
  EXPECT_TRUE(SwitchCellIsOn("anything idx:1 anywhere"));
  EXPECT_FALSE(SwitchCellIsOn(""));
  EXPECT_FALSE(SwitchCellIsOn("IDX:1"));
}

TEST(ReadHostEntriesTest, AMissingFileGivesNoHosts) {
  platform::TempFolder folder;
  EXPECT_TRUE(ReadHostEntries(folder.File("HostList.ini")).empty());
}

// Every form of every attribute, looked up by name as the INI file compares keys, with the
// configurator's defaults where a value is missing or no number.
TEST(ReadHostEntriesTest, EveryAttributeFormReadsWithTheConfiguratorsDefaults) {
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  WriteLines(path, {"[Options]", "Intervall=60",
                    "[Hosts]", "plain=", "  spaced  =", "ALL=", "missing=", "odd=", "weird=", "plain=again",
                    "; a comment", "valued=ignored", "umlaut-ä=",
                    "[RunOnConnected]", "plain=up.sh", "spaced=  up now.sh  ", "all=\"quoted up\"", "odd=x",
                    "weird='single'", "umlaut-ä=grüß.sh",
                    "[RunOnDisconnected]", "PLAIN = down.sh", "ALL=\"a\" b \"c\"", "weird=\"",
                    "[Show]", "plain=0", "spaced=3", "all=6", "odd=2", "weird=abc", "valued=5", "umlaut-ä=$3",
                    "[Enabled]", "plain=0", "spaced=1", "all=2", "odd=abc", "weird=", "valued=-1",
                    "[WaitForStatusChange]", "plain=0", "spaced=7", "odd=", "weird=0x0", "all=0",
                    "[GridSize]", "Col0=100"});
  const std::vector<THostEntry> expected{
      {"plain", "down.sh", "up.sh", 0, false, false},
      {"spaced", "", "up now.sh", 3, true, true},
      {"ALL", "a\" b \"c", "quoted up", 6, true, false},
      {"missing", "", "", 1, true, true},
      {"odd", "", "x", 1, true, true},
      {"weird", "\"", "single", 1, true, false},
      {"valued", "", "", 1, true, true},
      {"umlaut-ä", "", "grüß.sh", 3, true, true},
  };
  EXPECT_EQ(ReadHostEntries(path), expected);
}

TEST(ReadHostEntriesTest, MissingHostSectionsGiveTheDefaultsAndNoHostsSectionGivesNoHosts) {
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  WriteLines(path, {"[Hosts]", "alpha="});
  EXPECT_EQ(ReadHostEntries(path), (std::vector<THostEntry>{{"alpha", "", "", 1, true, true}}));
  WriteLines(path, {"[Options]", "Logging=1", "[RunOnConnected]", "alpha=up.sh", "[Enabled]", "alpha=1"});
  EXPECT_TRUE(ReadHostEntries(path).empty());
}

TEST(ReadHostEntriesTest, AFileThatCannotBeReadRaisesNamingIt) {
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);  // a folder in the file's place
  try {
    ReadHostEntries(path);
    FAIL() << "no exception";
  } catch (const platform::EFOpenError& e) {
    EXPECT_NE(e.Message().find(path), std::string::npos) << e.Message();
  }
}

}  // namespace
}  // namespace configurator::testing

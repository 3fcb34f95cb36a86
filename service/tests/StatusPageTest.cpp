#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/Files.h"
#include "platform/app/Window.h"
#include "platform/core/tests/FifoWriters.h"
#include "service/tests/TarvonexFixture.h"

namespace velmora::testing {
namespace {

// Two hosts: alpha answers, beta does not. With WebStatus on the page is index.htm in the folder.
class StatusPageTest : public TarvonexTest {
protected:
  void WriteTwoHosts(const Lines& options) {
    Lines lines = {"[Options]", "isEnglish=1", "Intervall=5"};
    lines.insert(lines.end(), options.begin(), options.end());
    lines.insert(lines.end(), {"[Hosts]", "alpha=", "beta="});
    WriteHostList(lines);
    network->Script("alpha", {Echo(4)});
    network->Script("beta", {Silent()});
  }
  void WriteTemplates(const std::string& page, const std::string& row) const {
    platform::WriteFileAtomic(folder.File("status1.vdr"), page);
    platform::WriteFileAtomic(folder.File("status2.vdr"), row);
  }
  std::string Page() const { return platform::ReadFileBytes(folder.File("index.htm")); }

  static constexpr const char* kUp = R"(<Font FACE="Webdings" SIZE=4 Color="#00FF00"><p align="center">a</p></Font>)";
  static constexpr const char* kDown =
      R"(<Font FACE="Webdings" SIZE=4 Color="#FF0000"><p align="center"><b>x</b></p></Font>)";
  static constexpr const char* kNoAnswer =
      R"(<Font FACE="Webdings" SIZE=4 Color="#000000"><p align="center">x</p></FONT>)";
  static std::string Time(int ms) {
    return R"(<Font FACE="Arial" SIZE=2 Color="#000000"><p align="center">)" + std::to_string(ms) + " ms</p></FONT>";
  }
};

TEST_F(StatusPageTest, TheFirstCheckShowsTheStartValuesAndTheNoAnswerCellForHostsNotYetChecked) {
  WriteTwoHosts({"WebStatus=1"});
  // Tags with and without parameters, unknown tags, a tag name in lower case, and "<" without "#".
  WriteTemplates("<html a<b <#UNKNOWN p>\r\n<#CONTENT x \"y z\">\r\n</html>",
                 "[<#HOSTNAME>|<#STATUS 1 2>|<#ROUNDTRIP>|<#hostname>|<#>]\r\n");
  Start();
  RunUntil(10700);  // beta's start-up ping takes 5 s; alpha's first check at 10 s writes the page
  // before alpha's known state changes
  EXPECT_EQ(Page(), "<html a<b \r\n[alpha|" + std::string(kDown) + "|" + Time(4) + "||]\r\n[beta|" + kUp + "|" +
                        kNoAnswer + "||]\r\n\r\n</html>");
  RunUntil(21100);  // beta's check: 5 s time-out, then the page
  EXPECT_EQ(Page(), "<html a<b \r\n[alpha|" + std::string(kUp) + "|" + Time(4) + "||]\r\n[beta|" + kUp + "|" +
                        kNoAnswer + "||]\r\n\r\n</html>");
}

TEST_F(StatusPageTest, ARowWithoutTagsRepeatsAndAPageWithoutContentStaysAsItIs) {
  WriteTwoHosts({"WebStatus=1"});
  WriteTemplates("<p><#HOSTNAME></p><#STATUS>", "<tr/>");
  Start();
  RunUntil(10700);
  EXPECT_EQ(Page(), "<p></p>");
  WriteTemplates("<table><#CONTENT></table>", "<tr/>");
  RunUntil(21100);
  EXPECT_EQ(Page(), "<table><tr/><tr/></table>");
}

TEST_F(StatusPageTest, HostNamesAreWrittenAsHtmlText) {
  WriteHostList({"[Options]", "WebStatus=1", "[Hosts]", "a&b<c>\"d\"="});
  network->Script("a&b<c>\"d\"", {Echo()});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>");
  Start();
  RunUntil(10700);
  EXPECT_EQ(Page(), "a&amp;b&lt;c&gt;&quot;d&quot;");
}

TEST_F(StatusPageTest, StopRewritesThePageAndThenDeletesIt) {
  WriteTwoHosts({"WebStatus=1"});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  Start();
  RunUntil(10700);
  EXPECT_EQ(Page(), "alpha;beta;");
  Stop();
  EXPECT_FALSE(platform::FileExists(folder.File("index.htm")));
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
}

TEST_F(StatusPageTest, WithWebStatusOffNoPageIsWrittenOrDeleted) {
  WriteTwoHosts({});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  platform::WriteFileAtomic(folder.File("index.htm"), "someone else's page");
  Start();
  RunUntil(22000);
  Stop();
  EXPECT_EQ(Page(), "someone else's page");
  EXPECT_EQ(LogLines().size(), 7u);  // the start, the two first-round lines, the stop
}

TEST_F(StatusPageTest, TheDirectoryAndFileNameAreJoinedAsTheyStand) {
  // No separator is added: a folder without its trailing slash becomes part of the file name.
  WriteTwoHosts({"WebStatus=1", "StatusHTMLDir=" + folder.File("www"), "StatusHTMLFilename=status.html"});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  Start();
  RunUntil(10700);
  EXPECT_EQ(platform::ReadFileBytes(folder.File("wwwstatus.html")), "alpha;beta;");
}

TEST_F(StatusPageTest, ARelativeFolderIsTakenFromTheExecutablesFolderNotTheWorkingDirectory) {
  ASSERT_EQ(::mkdir(folder.File("www").c_str(), 0755), 0);
  WriteTwoHosts({"WebStatus=1", "StatusHTMLDir=www/"});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  Start();
  RunUntil(10700);
  EXPECT_EQ(platform::ReadFileBytes(folder.File("www/index.htm")), "alpha;beta;");
  Stop();
  EXPECT_FALSE(platform::FileExists(folder.File("www/index.htm")));
}

TEST_F(StatusPageTest, AMissingTemplateOrFolderIsLoggedAndTheChecksGoOn) {
  WriteTwoHosts({"WebStatus=1", "StatusHTMLDir=" + folder.File("missing/")});
  platform::WriteFileAtomic(folder.File("status1.vdr"), "<#CONTENT>");
  Start();
  RunUntil(10700);
  Lines log = LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_EQ(log[3], At(5) + folder.File("status2.vdr") + " not existent");
  EXPECT_EQ(log[4], At(5) + "Service Execute");
  // The row template is missing: the page cannot be produced.
  EXPECT_NE(log[5].find(folder.File("status2.vdr")), std::string::npos) << log[5];
  EXPECT_EQ(log[6], At(10) + "alpha connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>");

  // With both templates the page still cannot be written into a missing folder; the old page stays.
  platform::WriteFileAtomic(folder.File("status2.vdr"), "<#HOSTNAME>");
  RunUntil(21100);
  log = LogLines();
  ASSERT_EQ(log.size(), 9u);
  EXPECT_NE(log[7].find(folder.File("missing/index.htm")), std::string::npos) << log[7];
  EXPECT_EQ(log[8], At(21) + "beta disconnected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>");
}

// A FIFO as the row template held the service in the page's writing for ever, serving no stop. It is
// now refused at once, naming the file, and the checks go on.
TEST_F(StatusPageTest, ARowTemplateThatIsAFifoIsLoggedAndTheChecksGoOn) {
  WriteTwoHosts({"WebStatus=1"});
  platform::WriteFileAtomic(folder.File("status1.vdr"), "<#CONTENT>");
  ASSERT_EQ(::mkfifo(folder.File("status2.vdr").c_str(), 0600), 0);
  const platform::FifoWriters writers(folder.File("status2.vdr"));
  Start();
  RunUntil(10700);
  const Lines log = LogLines();
  ASSERT_EQ(log.size(), 7u);
  EXPECT_NE(log[5].find("\"" + folder.File("status2.vdr") + "\". It is not a regular file."), std::string::npos)
      << log[5];
  EXPECT_EQ(log[6], At(10) + "alpha connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>");
  EXPECT_FALSE(platform::FileExists(folder.File("www/index.htm")));
}

TEST_F(StatusPageTest, AFailedWriteLeavesTheOldPageWhole) {
  WriteTwoHosts({"WebStatus=1"});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  Start();
  RunUntil(10700);
  ASSERT_EQ(Page(), "alpha;beta;");
  platform::DeleteFile(folder.File("status1.vdr"));
  RunUntil(21100);
  EXPECT_EQ(Page(), "alpha;beta;");
}

// A symbolic link in status.ini's place had its target read into the new status.ini. Links in the
// place of status.ini and of the page are now replaced by the files, and their targets left alone.
TEST_F(StatusPageTest, SymbolicLinksInThePlaceOfStatusIniAndThePageAreReplaced) {
  WriteTwoHosts({"WebStatus=1"});
  WriteTemplates("<#CONTENT>", "<#HOSTNAME>;");
  const std::string secret = "[Secret]\r\nkey=1\r\n";
  platform::WriteFileAtomic(folder.File("secret"), secret);
  ::chmod(folder.File("secret").c_str(), 0600);
  Start();
  RunUntil(6000);  // the settings are loaded: status.ini was deleted
  for (const char* name : {"status.ini", "index.htm"}) ASSERT_EQ(::symlink("secret", folder.File(name).c_str()), 0);
  RunUntil(10700);
  EXPECT_EQ(Page(), "alpha;beta;");
  EXPECT_EQ(platform::ReadFileBytes(folder.File("status.ini")).find("Secret"), std::string::npos);
  EXPECT_EQ(platform::ReadFileBytes(folder.File("secret")), secret);
  for (const char* name : {"status.ini", "index.htm"}) EXPECT_FALSE(platform::IsSymbolicLink(folder.File(name)));
}

}  // namespace
}  // namespace velmora::testing

#include "service/EventLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace velmora {
namespace {

// Lines "line 1" ... "line count", each ended by CR LF.
std::string NumberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

class EventLogTest : public ::testing::Test {
protected:
  void SetUp() override { platform::UseVirtualClock(1'700'000'000'000, 0); }
  void TearDown() override { platform::UseRealClock(); }

  std::string Log() const { return platform::ReadFileBytes(folder.File(kLogFileName)); }
  std::string OldLog() const { return platform::ReadFileBytes(folder.File(kOldLogFileName)); }
  void WriteLog(const std::string& text) const { platform::WriteFileAtomic(folder.File(kLogFileName), text); }
  std::string Folder() const { return folder.File(""); }

  platform::TempFolder folder;
};

TEST_F(EventLogTest, FirstLineCreatesTheLogAndLaterLinesAppendWithCrLf) {
  EXPECT_TRUE(AppendLogLine(Folder(), "first", "rotated"));
  EXPECT_EQ(Log(), "first\r\n");
  EXPECT_TRUE(AppendLogLine(Folder(), "Dienst ausführen", "rotated"));
  EXPECT_EQ(Log(), "first\r\nDienst ausführen\r\n");
  EXPECT_FALSE(platform::FileExists(folder.File(kOldLogFileName)));
}

TEST_F(EventLogTest, LinesSplitAtAnyBreakAreWrittenBackWithCrLf) {
  WriteLog("a\nb\rc");
  AppendLogLine(Folder(), "d", "rotated");
  EXPECT_EQ(Log(), "a\r\nb\r\nc\r\nd\r\n");
}

TEST_F(EventLogTest, TheLineThatPassesTheLimitGoesToTheOldLogWithAllOthers) {
  struct Case {
    int linesBefore;
    bool rotates;
  } cases[] = {{999, false}, {1000, true}, {5000, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.linesBefore);
    platform::DeleteFile(folder.File(kOldLogFileName));
    WriteLog(NumberedLines(c.linesBefore));
    ASSERT_TRUE(AppendLogLine(Folder(), "line " + std::to_string(c.linesBefore + 1), "new Logfile was created"));
    if (c.rotates) {
      EXPECT_EQ(OldLog(), NumberedLines(c.linesBefore + 1));
      EXPECT_EQ(Log(), "new Logfile was created\r\n");
    } else {
      EXPECT_EQ(Log(), NumberedLines(c.linesBefore + 1));
      EXPECT_FALSE(platform::FileExists(folder.File(kOldLogFileName)));
    }
  }
}

TEST_F(EventLogTest, AFailedRotationLeavesTheLogWholeAndTheNextLineTriesAgain) {
  WriteLog(NumberedLines(1000));
  ASSERT_EQ(::mkdir(folder.File(kOldLogFileName).c_str(), 0755), 0);
  EXPECT_FALSE(AppendLogLine(Folder(), "line 1001", "rotated"));
  EXPECT_EQ(Log(), NumberedLines(1000));

  ASSERT_EQ(::rmdir(folder.File(kOldLogFileName).c_str()), 0);
  EXPECT_TRUE(AppendLogLine(Folder(), "line 1001", "rotated"));
  EXPECT_EQ(OldLog(), NumberedLines(1001));
  EXPECT_EQ(Log(), "rotated\r\n");
}

TEST_F(EventLogTest, ASaveThatFailsTwiceWaitsOneSecondThenDropsTheLine) {
  // A folder in the log's place cannot be read, and cannot be replaced by a file.
  ASSERT_EQ(::mkdir(folder.File(kLogFileName).c_str(), 0755), 0);
  const int64_t before = platform::MonotonicMs();
  EXPECT_TRUE(AppendLogLine(Folder(), "lost", "rotated"));
  EXPECT_EQ(platform::MonotonicMs() - before, 1000);
  EXPECT_TRUE(platform::DirectoryExists(folder.File(kLogFileName)));
}

}  // namespace
}  // namespace velmora

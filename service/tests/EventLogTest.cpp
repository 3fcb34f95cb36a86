#include "service/EventLog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/tests/FileAccessAs.h"
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
  TEventLog log;
};

TEST_F(EventLogTest, FirstLineCreatesTheLogAndLaterLinesAppendWithCrLf) {
  EXPECT_TRUE(log.Append(Folder(), "first", "rotated", true).written);
  EXPECT_EQ(Log(), "first\r\n");
  EXPECT_TRUE(log.Append(Folder(), "Dienst ausführen", "rotated", true).written);
  EXPECT_EQ(Log(), "first\r\nDienst ausführen\r\n");
  EXPECT_FALSE(platform::FileExists(folder.File(kOldLogFileName)));
}

// Every line rewrote the whole log. Lines now go to its end and the lines already there stay byte for
// byte; they are counted as the string list splits them, once, and again after a change by someone else.
TEST_F(EventLogTest, LinesAreAddedAtTheEndAndCountedAtAnyBreak) {
  WriteLog("a\nb\rc");
  log.Append(Folder(), "d", "rotated", true);
  EXPECT_EQ(Log(), "a\nb\rc\r\nd\r\n");
  WriteLog(NumberedLines(998) + "half");
  ASSERT_TRUE(log.Append(Folder(), "line 1000", "rotated", true).written);
  EXPECT_EQ(Log(), NumberedLines(998) + "half\r\nline 1000\r\n");
  ASSERT_TRUE(log.Append(Folder(), "line 1001", "rotated", true).written);
  EXPECT_EQ(OldLog(), NumberedLines(998) + "half\r\nline 1000\r\nline 1001\r\n");
  EXPECT_EQ(Log(), "rotated\r\n");
}

// One line of 100 MB made every later line a rewrite of 100 MB. A line is now cut at its bound, marked,
// never inside a UTF-8 sequence.
TEST_F(EventLogTest, ALongLineIsCutAndMarked) {
  const std::string mark = kCutMark;
  const std::string kept(kMaxLogLineBytes - mark.size() - 1, 'x');
  const std::string longLine = kept + "\xC3\xA4" + std::string(1'000'000, 'y');
  ASSERT_TRUE(log.Append(Folder(), longLine, "rotated", true).written);
  ASSERT_TRUE(log.Append(Folder(), std::string(kMaxLogLineBytes, 'z'), "rotated", true).written);
  EXPECT_EQ(Log(), kept + mark + "\r\n" + std::string(kMaxLogLineBytes, 'z') + "\r\n");
}

// A symbolic link in the log's place had its target's content copied into the new log. The link is now
// replaced by a new log, and its target neither read nor written.
TEST_F(EventLogTest, ASymbolicLinkInTheLogsPlaceIsReplacedByANewLog) {
  platform::WriteFileAtomic(folder.File("secret"), "secret\r\n");
  for (const char* target : {"secret", "missing"}) {
    SCOPED_TRACE(target);
    platform::DeleteFile(folder.File(kLogFileName));
    ASSERT_EQ(::symlink(target, folder.File(kLogFileName).c_str()), 0);
    const TLogAppend result = log.Append(Folder(), "first", "rotated", true);
    EXPECT_TRUE(result.written);
    EXPECT_TRUE(result.linkReplaced);
    EXPECT_EQ(Log(), "first\r\n");
    EXPECT_EQ(platform::ReadFileBytes(folder.File("secret")), "secret\r\n");
    EXPECT_FALSE(platform::PathExists(folder.File("missing")));
  }
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
    const std::string line = "line " + std::to_string(c.linesBefore + 1);
    ASSERT_TRUE(log.Append(Folder(), line, "new Logfile was created", true).written);
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
  EXPECT_FALSE(log.Append(Folder(), "line 1001", "rotated", true).written);
  EXPECT_EQ(Log(), NumberedLines(1000));

  ASSERT_EQ(::rmdir(folder.File(kOldLogFileName).c_str()), 0);
  EXPECT_TRUE(log.Append(Folder(), "line 1001", "rotated", true).written);
  EXPECT_EQ(OldLog(), NumberedLines(1001));
  EXPECT_EQ(Log(), "rotated\r\n");
}

TEST_F(EventLogTest, ASaveThatFailsIsTriedOnceMoreASecondLaterWhenAsked) {
  const std::string missingFolder = folder.File("missing/");
  for (bool retry : {true, false}) {
    SCOPED_TRACE(retry);
    const int64_t before = platform::MonotonicMs();
    const TLogAppend result = log.Append(missingFolder, "lost", "rotated", retry);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.failure.find("events.log"), std::string::npos) << result.failure;
    EXPECT_EQ(platform::MonotonicMs() - before, retry ? 1000 : 0);
  }
}

// A log that cannot be read was wiped at every line (keeping its mode 000), and a folder in its place
// stalled every line by a second. Now it is kept aside under a free name and a new log begins at once.
TEST_F(EventLogTest, AnUnreadableLogIsKeptAsideAndANewOneBegun) {
  ASSERT_EQ(::mkdir(folder.File(kLogFileName).c_str(), 0755), 0);
  const int64_t before = platform::MonotonicMs();
  TLogAppend result = log.Append(Folder(), "first", "rotated", true);
  EXPECT_EQ(platform::MonotonicMs(), before);
  EXPECT_TRUE(result.written);
  EXPECT_EQ(result.setAsideAs, folder.File("events.log.unreadable"));
  EXPECT_TRUE(platform::DirectoryExists(folder.File("events.log.unreadable")));
  EXPECT_EQ(Log(), "first\r\n");

  // Another one: the name is taken, so it gets a number.
  ASSERT_TRUE(platform::DeleteFile(folder.File(kLogFileName)));
  ASSERT_EQ(::mkdir(folder.File(kLogFileName).c_str(), 0755), 0);
  result = log.Append(Folder(), "second", "rotated", true);
  EXPECT_EQ(result.setAsideAs, folder.File("events.log.unreadable.1"));
  EXPECT_EQ(Log(), "second\r\n");
  EXPECT_TRUE(log.Append(Folder(), "third", "rotated", true).setAsideAs.empty());
  EXPECT_EQ(Log(), "second\r\nthird\r\n");
}

TEST_F(EventLogTest, ALogItsUserMayNotReadIsKeptWhole) {
  ASSERT_EQ(::chmod(Folder().c_str(), 0777), 0);
  WriteLog("old line\r\n");
  ASSERT_EQ(::chmod(folder.File(kLogFileName).c_str(), 0), 0);
  TLogAppend result;
  if (!platform::RunWithFileAccessOf(platform::kNobodyUid, platform::kNobodyGid,
                                     [&] { result = log.Append(Folder(), "new line", "rotated", true); }))
    GTEST_SKIP() << "needs root to act as another user";
  EXPECT_TRUE(result.written);
  EXPECT_EQ(platform::ReadFileBytes(folder.File("events.log.unreadable")), "old line\r\n");
  EXPECT_EQ(Log(), "new line\r\n");
  struct stat st{};
  ASSERT_EQ(::stat(folder.File(kLogFileName).c_str(), &st), 0);
  EXPECT_NE(st.st_mode & 0600, 0u);
}

}  // namespace
}  // namespace velmora

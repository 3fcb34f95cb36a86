#include "mailer/ErrorLog.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/core/Files.h"

namespace quillet {
namespace {

TEST(ErrorLogTest, EachRunStartsTheLogAfreshAndAppendsItsLaterMessagesWhole) {
  const std::string folder = std::filesystem::temp_directory_path() / ("quillet-log-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = folder + "/fehler.log";
  platform::WriteFileAtomic(path, "from an earlier day");

  TErrorLog firstRun(path);
  EXPECT_TRUE(firstRun.Write("550 No such user\r\n"));
  EXPECT_TRUE(firstRun.Write("Zeitüberschreitung"));
  EXPECT_EQ(platform::ReadFileBytes(path), "550 No such user\r\nZeitüberschreitung");

  TErrorLog secondRun(path);
  EXPECT_TRUE(secondRun.Write("Verbindung fehlgeschlagen"));
  EXPECT_EQ(platform::ReadFileBytes(path), "Verbindung fehlgeschlagen");

  // A log that cannot be written says so, and is begun afresh once it can be.
  TErrorLog thirdRun(folder + "/missing/fehler.log");
  EXPECT_FALSE(thirdRun.Write("lost"));
  std::filesystem::create_directories(folder + "/missing");
  platform::WriteFileAtomic(folder + "/missing/fehler.log", "old");
  EXPECT_TRUE(thirdRun.Write("kept"));
  EXPECT_EQ(platform::ReadFileBytes(folder + "/missing/fehler.log"), "kept");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillet

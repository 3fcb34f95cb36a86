#include "mailer/QuilletParameters.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/FifoWriters.h"

namespace quillet {
namespace {

struct ScanCase {
  std::vector<std::string> arguments;  // after the program path
  int matches;
  std::vector<std::string> to;
  std::string subject;
  std::string body;  // the body's text
  mailnet::TSubType subType = mailnet::mtPlain;
};

class QuilletParametersTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(folder_);
    platform::WriteFileAtomic(folder_ + "/body.txt", "aus Datei\r\nZeile 2\r\n");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string folder_ = std::filesystem::temp_directory_path() / ("quillet-params-" + std::to_string(::getpid()));
};

TEST_F(QuilletParametersTest, ScanFindsTheSwitchesAndTheirValues) {
  const std::string file = folder_ + "/body.txt";
  const ScanCase cases[] = {
      {{"-a", "x", "-s", "y"}, 2, {"x"}, "y", ""},
      // A value is tested as a switch too: -s is -a's recipient and takes -b as its subject.
      {{"-a", "-s", "-b", "x"}, 3, {"-s"}, "-b", "x\r\n"},
      // Upper-case switches count; values keep their case.
      {{"-A", "Admin@X", "-S", "Betreff", "-BTXT", file}, 3, {"Admin@X"}, "Betreff", "aus Datei\r\nZeile 2\r\n"},
      // -btxt after -b replaces the -b lines; -bhtml also makes the body HTML.
      {{"-a", "x", "-b", "eins", "-btxt", file}, 3, {"x"}, "", "aus Datei\r\nZeile 2\r\n"},
      {{"-a", "x", "-b", "eins", "-bhtml", file}, 3, {"x"}, "", "aus Datei\r\nZeile 2\r\n", mailnet::mtHtml},
      // -b before -btxt: each switch is compared whole, so "-btxt" is no "-b".
      {{"-btxt", file, "-b", "zwei"}, 2, {}, "", "aus Datei\r\nZeile 2\r\nzwei\r\n"},
      // Repeated -a and -b; a switch as the last parameter takes an empty value.
      {{"-a", "x", "-a", "y", "-b", "1", "-b"}, 4, {"x", "y"}, "", "1\r\n\r\n"},
      {{"-x", "-a"}, 1, {""}, "", ""},
  };
  for (const ScanCase& c : cases) {
    mailnet::TMlSMTP smtp(nullptr);
    std::vector<std::string> params{"/opt/velmora/quillet"};
    params.insert(params.end(), c.arguments.begin(), c.arguments.end());
    SCOPED_TRACE(::testing::PrintToString(c.arguments));

    EXPECT_EQ(ApplyParameters(params, smtp), c.matches);

    mailnet::TPostMessage& message = smtp.PostMessage();
    std::vector<std::string> to;
    for (int i = 0; i < message.ToAddress().Count(); ++i) to.push_back(message.ToAddress().Strings(i));
    EXPECT_EQ(to, c.to);
    EXPECT_EQ(message.Subject, c.subject);
    EXPECT_EQ(message.Body().Text(), c.body);
    EXPECT_EQ(smtp.SubType, c.subType);
    // The subject also dates the mail and names the program as its mailer.
    EXPECT_EQ(message.Date.empty(), c.subject.empty());
    EXPECT_EQ(message.LocalProgram, c.subject.empty() ? "" : platform::ExeFileName());
  }
}

TEST_F(QuilletParametersTest, AMissingBodyFileRaisesTheFileError) {
  mailnet::TMlSMTP smtp(nullptr);
  EXPECT_THROW(ApplyParameters({"quillet", "-a", "x", "-btxt", folder_ + "/missing.txt"}, smtp), platform::Exception);
}

// Only a regular file up to the limit is read: a FIFO without a writer, /dev/zero or a folder would
// block or fill the memory. The FIFO's opener keeps a blocked reader from hanging the test.
TEST_F(QuilletParametersTest, ABodyFileMustBeARegularFileWithinTheLimit) {
  const std::string fifo = folder_ + "/fifo", large = folder_ + "/large.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  platform::WriteFileAtomic(large, "");
  std::filesystem::resize_file(large, MaxBodyFileBytes + 1);
  {
    const platform::FifoWriters writers(fifo);
    for (const std::string& file : {fifo, folder_, large, std::string("/dev/zero")}) {
      for (const char* type : {"-btxt", "-bhtml"}) {
        SCOPED_TRACE(file + " " + type);
        mailnet::TMlSMTP smtp(nullptr);
        EXPECT_THROW(ApplyParameters({"quillet", "-a", "x", type, file}, smtp), platform::EFOpenError);
      }
    }
  }

  std::filesystem::resize_file(large, MaxBodyFileBytes);
  mailnet::TMlSMTP smtp(nullptr);
  ApplyParameters({"quillet", "-a", "x", "-btxt", large}, smtp);
  EXPECT_EQ(smtp.PostMessage().Body().Count(), 1);
}

}  // namespace
}  // namespace quillet

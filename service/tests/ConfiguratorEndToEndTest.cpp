// The real velmora program with a configurator window of this test process in the same folder: the
// notifications, the reset request and the status page. Only loopback is pinged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <regex>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/app/Application.h"
#include "platform/app/tests/PumpUntil.h"
#include "service/tests/ConfiguratorWindow.h"
#include "service/tests/VelmoraProcess.h"

namespace velmora::testing {
namespace {

using Lines = std::vector<std::string>;
using platform::PumpUntil;

// What check_status_page.py found in a page: its problems and its rows' cells, as JSON.
std::string CheckPage(const std::string& checker, const std::string& page) {
  const std::string command = "/usr/bin/python3 '" + checker + "' '" + page + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string output;
  char buffer[4096];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

// The number of time cells in a page of the sample templates; 0 while there is no page.
int RoundTripCells(const std::string& page) {
  if (!platform::FileExists(page)) return 0;
  const std::string text = platform::ReadFileBytes(page);
  int cells = 0;
  for (size_t at = text.find(" ms</p>"); at != std::string::npos; at = text.find(" ms</p>", at + 1)) ++cells;
  return cells;
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class ConfiguratorEndToEndTest : public ::testing::Test {
protected:
  void TearDown() override { platform::OverrideExeFileName(""); }
  platform::TempFolder folder;
};

TEST_F(ConfiguratorEndToEndTest, TheConfiguratorIsNotifiedAndItsResetIsServed) {
  platform::WriteFileAtomic(folder.File("HostList.ini"),
                            "[Options]\r\nisEnglish=1\r\nIntervall=5\r\nWebStatus=1\r\n"
                            "[Hosts]\r\n127.0.0.1=\r\nlocalhost=\r\n");
  VelmoraProcess velmora(folder.File(""));
  const std::string checker = platform::ExeDir() + "check_status_page.py";
  // From here this process belongs to the folder's window station, as a configurator beside the service.
  platform::OverrideExeFileName(folder.File("ordelin"));
  ConfiguratorWindow configurator("Velmora - Configurator");
  velmora.Start();

  auto received = [&](int wParam) {
    return std::count(configurator.received.begin(), configurator.received.end(), wParam) > 0;
  };
  // The waits allow for a loaded machine: each step takes the service 5.5 s at most.
  ASSERT_TRUE(PumpUntil([&] { return received(0) && received(1); }, 20000)) << velmora.Output();
  ASSERT_TRUE(PumpUntil([&] { return velmora.Lines("status.ini").size() == 6; }, 20000)) << velmora.Output();
  // The page follows status.ini after 500 ms; then both hosts have a round trip cell.
  ASSERT_TRUE(PumpUntil([&] { return RoundTripCells(folder.File("index.htm")) == 2; }, 20000)) << velmora.Output();

  // One row per host, both with a round trip. The page of a check shows the checked host's state from
  // before it, so localhost shows down until the check after its first one (5.5 s later), which a slow
  // machine may reach before the page is read.
  const std::string page = CheckPage(checker, folder.File("index.htm"));
  EXPECT_TRUE(std::regex_match(page, std::regex(R"(\{"problems": \[\], "rows": \[\["127\.0\.0\.1", "a", "\d+ ms"\], )"
                                                R"(\["localhost", "[ax]", "\d+ ms"\]\]\}\n)")))
      << page;

  platform::BroadcastMessage(platform::RegisterWindowMessage(TTarvonex::ResetRequestMessage), 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Contains(velmora.LogMessages(), "Read new Settings"); }, 20000))
      << velmora.Output();
  const Lines messages = velmora.LogMessages();
  EXPECT_TRUE(Contains(messages, "Service is resetting"));
  // status.ini is deleted by the reset and written again by the first check after it.
  ASSERT_TRUE(PumpUntil([&] { return velmora.Lines("status.ini").size() == 4; }, 20000)) << velmora.Output();
  const Lines status = velmora.Lines("status.ini");
  EXPECT_EQ(Lines(status.begin(), status.begin() + 3), (Lines{"[Hosts]", "127.0.0.1=1", "[RoundTrip]"}));

  EXPECT_EQ(velmora.Terminate(), 0) << velmora.Output();
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
  EXPECT_FALSE(platform::FileExists(folder.File("index.htm")));
  EXPECT_EQ(velmora.LogMessages().back(), "---------------------------Service stopped---------------------------");
}

}  // namespace
}  // namespace velmora::testing

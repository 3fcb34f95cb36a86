// The real velmora program on the real clock, watching a host in network namespaces that the test makes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <memory>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"
#include "service/icmp/tests/TestNetworks.h"
#include "service/tests/VelmoraProcess.h"

namespace velmora::testing {
namespace {

using Lines = std::vector<std::string>;

// Runs a shell command in the calling thread's network namespace.
void Shell(const std::string& command) { ASSERT_EQ(std::system(command.c_str()), 0) << command; }

// The far end of the test networks, made to answer echo requests; its link goes down and up.
class FarHost {
public:
  explicit FarHost(const TestNetworks& networks) : networks_(networks) {
    networks_.RunInFar([] { Shell("sysctl -q -w net.ipv4.icmp_echo_ignore_all=0"); });
  }
  void SetLink(const char* state) const {
    networks_.RunInFar([state] {
      Shell(std::string("for link in $(ip -o link show type veth | awk -F': ' '{print $2}' | cut -d@ -f1); do "
                        "ip link set \"$link\" ") +
            state + "; done");
    });
  }
  static constexpr const char* Address = TestNetworks::SilentHost;

private:
  const TestNetworks& networks_;
};

// A command that appends its name and its argument to actions.txt in its folder.
void WriteRecorder(const platform::TempFolder& folder, const std::string& name) {
  platform::WriteFileAtomic(folder.File(name),
                            "#!/bin/sh\necho \"" + name + " $1\" >> \"$(dirname \"$0\")/actions.txt\"\n");
  ::chmod(folder.File(name).c_str(), 0755);
}

TEST(EndToEndTest, AHostThatGoesDownAndComesBackRunsBothCommands) {
  const std::string unavailable = TestNetworks::Unavailable();
  if (!unavailable.empty()) GTEST_SKIP() << "network namespaces: " << unavailable;
  TestNetworks networks;
  FarHost far(networks);
  const std::string host = FarHost::Address;

  platform::TempFolder folder;
  WriteRecorder(folder, "down.sh");
  WriteRecorder(folder, "up.sh");
  platform::WriteFileAtomic(folder.File("HostList.ini"),
                            "[Options]\r\nisEnglish=1\r\nIntervall=5\r\n[Hosts]\r\n" + host +
                                "=\r\n[RunOnDisconnected]\r\n" + host + "=down.sh\r\n[RunOnConnected]\r\n" + host +
                                "=up.sh\r\n[WaitForStatusChange]\r\n" + host + "=1\r\n");
  VelmoraProcess velmora(folder.File(""));
  networks.RunInNear([&] { velmora.Start(); });

  // The service's own timing is about 45 s in all; each wait allows for a loaded machine, and for a
  // link change that comes after the next check has pinged (one check later, 5.5 s).
  // First check 5.5 s after the start: the host answers, and in the first round that acts at once.
  int seen = velmora.WaitForMessage(host + " connected", 0, 20000);
  ASSERT_GE(seen, 0) << velmora.Output();
  far.SetLink("down");
  // The next check 5 s later: 5 s time-out, the status write, 10 s to the second ping, its time-out and
  // the second status write: 26 s.
  seen = velmora.WaitForMessage(host + " disconnected", static_cast<size_t>(seen), 40000);
  ASSERT_GE(seen, 0) << velmora.Output();
  far.SetLink("up");
  // 5 s to the next check, the status write and 10 s to the second ping: 15.5 s.
  seen = velmora.WaitForMessage(host + " connected", static_cast<size_t>(seen), 30000);
  ASSERT_GE(seen, 0) << velmora.Output();

  EXPECT_EQ(velmora.Terminate(), 0) << velmora.Output();
  EXPECT_EQ(velmora.LogMessages(),
            (Lines{"---------------------------Service is Starting up---------------------------",
                   "Watching Enabled " + host, "Service Execute", host + " connected",
                   "Status of " + host + " changed => checking again in 10 Sec.", host + " disconnected",
                   "Status of " + host + " changed => checking again in 10 Sec.", host + " connected",
                   "---------------------------Service stopped---------------------------"}));
  // The commands run detached; the last one may finish after the service has stopped.
  EXPECT_EQ(velmora.WaitForLines("actions.txt", 3), (Lines{"up.sh " + host, "down.sh " + host, "up.sh " + host}));
  EXPECT_FALSE(platform::FileExists(folder.File("status.ini")));
}

TEST(EndToEndTest, InstallWritesTheUnitOfTheServiceAndUninstallRemovesIt) {
  platform::TempFolder folder;
  VelmoraProcess velmora(folder.File(""));
  const std::string units = folder.File("units");
  ASSERT_EQ(::mkdir(units.c_str(), 0755), 0);
  const std::string run = "VELMORA_UNIT_DIR='" + units + "' '" + folder.File("velmora") + "' ";
  ASSERT_EQ(std::system((run + "/INSTALL SILENT >/dev/null").c_str()), 0);
  const std::string unit = platform::ReadFileBytes(units + "/Tarvonex.service");
  EXPECT_NE(unit.find("Description=Velmora\n"), std::string::npos) << unit;
  EXPECT_NE(unit.find("network-online.target"), std::string::npos) << unit;
  EXPECT_NE(unit.find(folder.File("velmora")), std::string::npos) << unit;
  ASSERT_EQ(std::system((run + "-uninstall >/dev/null").c_str()), 0);
  EXPECT_FALSE(platform::FileExists(units + "/Tarvonex.service"));
}

}  // namespace
}  // namespace velmora::testing

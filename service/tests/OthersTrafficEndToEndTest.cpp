// The real velmora program, as root (raw socket) and as a user that net.ipv4.ping_group_range allows
// (the kernel's ICMP datagram socket), in network namespaces full of ICMP traffic that is not the
// answer to its pings: it reports a host as up only on that host's own echo reply.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"
#include "service/icmp/tests/IcmpNoise.h"
#include "service/icmp/tests/TestNetworks.h"
#include "service/tests/VelmoraProcess.h"

namespace velmora::testing {
namespace {

using Lines = std::vector<std::string>;
using Side = TestNetworks::Side;
using Kind = IcmpNoise::Kind;
using RunAs = VelmoraProcess::RunAs;

constexpr const char* Loopback = "127.0.0.1";

std::string UserName(RunAs runAs) { return runAs == RunAs::Caller ? "AsRoot" : "AsUserNobody"; }

class OthersTrafficEndToEndTest : public ::testing::TestWithParam<RunAs> {
protected:
  void SetUp() override {
    const std::string unavailable = TestNetworks::Unavailable();
    if (!unavailable.empty()) GTEST_SKIP() << "network namespaces: " << unavailable;
    networks_ = std::make_unique<TestNetworks>();
  }

  // Runs the service in the near namespace on the hosts down and up (in this order, every 5 s), until
  // it has checked each of them twice after its start-up pass; returns its log. The first round logs
  // each host's state, found the same by the start-up pass and the first check; the second round logs
  // nothing while both stay as they are.
  Lines WatchTwoRounds(const std::string& down, const std::string& up) {
    platform::WriteFileAtomic(folder_.File("HostList.ini"), "[Options]\r\nisEnglish=1\r\nIntervall=5\r\n[Hosts]\r\n" +
                                                                down + "=\r\n" + up + "=\r\n");
    VelmoraProcess velmora(folder_.File(""));
    networks_->RunInNear([&] { velmora.Start(GetParam()); });
    // The start-up pass waits 5 s for the host that is down, the first round checks it after 5 s and
    // waits 5 s, then 5 s to the check of the other one; each wait allows for a loaded machine.
    EXPECT_GE(velmora.WaitForMessage(up + " connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>", 0,
                                     40000),
              0)
        << velmora.Output();
    // The second round: 5 s, the 5 s wait for the host that is down, 5 s, the other host.
    std::this_thread::sleep_for(std::chrono::milliseconds(17000));
    EXPECT_EQ(velmora.Terminate(), 0) << velmora.Output();
    return velmora.LogMessages();
  }

  static Lines ExpectedLog(const std::string& down, const std::string& up) {
    return {"---------------------------Service is Starting up---------------------------",
            "Watching Enabled " + down,
            "Watching Enabled " + up,
            "Service Execute",
            down + " disconnected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>",
            up + " connected, but no Action, depending on Switch <WAITFORSTATUSCHANGE>",
            "---------------------------Service stopped---------------------------"};
  }

  std::unique_ptr<TestNetworks> networks_;
  platform::TempFolder folder_;
};

// The far host ignores echo requests; meanwhile a second pinger floods 127.0.0.1, the far host itself
// pings the service's address and sprays redirects at it, all with every sequence number in turn.
TEST_P(OthersTrafficEndToEndTest, ASilentHostIsDownWhileOthersPingAndLoopbackIsUp) {
  IcmpNoise secondPinger(*networks_, Side::Near, Kind::EchoRequests, Loopback);
  IcmpNoise silentHostPinging(*networks_, Side::Far, Kind::EchoRequests, TestNetworks::NearAddress);
  IcmpNoise redirects(*networks_, Side::Far, Kind::Redirects, TestNetworks::NearAddress);
  EXPECT_EQ(WatchTwoRounds(TestNetworks::SilentHost, Loopback), ExpectedLog(TestNetworks::SilentHost, Loopback));
}

// The service's own address with echo answers off (a raw socket sees its own requests to it), and the
// far host answering, while the far host sprays redirects at the service.
TEST_P(OthersTrafficEndToEndTest, TheServicesOwnAddressWithEchoOffIsDownAndAnAnsweringHostIsUp) {
  networks_->SetEchoAnswered(Side::Near, false);
  networks_->SetEchoAnswered(Side::Far, true);
  IcmpNoise redirects(*networks_, Side::Far, Kind::Redirects, TestNetworks::NearAddress);
  EXPECT_EQ(WatchTwoRounds(TestNetworks::NearAddress, TestNetworks::SilentHost),
            ExpectedLog(TestNetworks::NearAddress, TestNetworks::SilentHost));
}

INSTANTIATE_TEST_SUITE_P(RootAndUser, OthersTrafficEndToEndTest, ::testing::Values(RunAs::Caller, RunAs::Nobody),
                         [](const ::testing::TestParamInfo<RunAs>& info) { return UserName(info.param); });

}  // namespace

// Names the parameter in the test's output.
void PrintTo(RunAs runAs, std::ostream* out) { *out << UserName(runAs); }

}  // namespace velmora::testing

// The network-namespace helper of the tests: what a killed run leaves behind must neither make a later
// run fail nor stay, and runs at the same time must not take each other's namespaces.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "service/icmp/tests/TestNetworks.h"

namespace velmora::testing {
namespace {

bool NamespaceExists(const std::string& name) { return std::filesystem::exists("/run/netns/" + name); }

TEST(TestNetworksTest, LeftoversOfKilledRunsNeitherCollideNorStay) {
  if (!TestNetworks::Unavailable().empty()) GTEST_SKIP() << TestNetworks::Unavailable();
  // What runs killed earlier left: with the names of an older helper, of a process whose id is ours
  // again, and with a process tag that is no longer any process's.
  const std::string pid = std::to_string(::getpid());
  const std::vector<std::string> leftovers = {"velmora-icmp-near-" + pid, "velmora-icmp-far-" + pid,
                                              "velmora-icmp-near-" + pid + "-1-0"};
  for (const std::string& name : leftovers) ASSERT_EQ(std::system(("ip netns add " + name).c_str()), 0) << name;
  // A namespace of a run that goes on (its tag is that of a running process) is not taken for a leftover.
  const std::string running = "velmora-icmp-near-" + TestNetworks::ProcessTag("1") + "-0";
  ASSERT_EQ(std::system(("ip netns add " + running).c_str()), 0);

  {
    TestNetworks networks;
    for (const std::string& name : leftovers) EXPECT_FALSE(NamespaceExists(name)) << name;
    EXPECT_TRUE(NamespaceExists(running));
  }
  std::system(("ip netns del " + running).c_str());
  for (const std::string& name : leftovers) std::system(("ip netns del " + name + " >/dev/null 2>&1").c_str());
}

TEST(TestNetworksTest, TwoAtOnceEachKeepTheirOwn) {
  if (!TestNetworks::Unavailable().empty()) GTEST_SKIP() << TestNetworks::Unavailable();
  TestNetworks first;
  TestNetworks second;
  for (const TestNetworks* networks : {&first, &second}) {
    bool joined = false;
    networks->RunInNear([&] { joined = true; });
    EXPECT_TRUE(joined);
  }
}

}  // namespace
}  // namespace velmora::testing

#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <stop_token>
#include <thread>

namespace velmora::testing {

// Two network namespaces made for a test and removed with it, joined by a veth pair. Nothing of the
// machine's own network or settings is touched; every packet stays inside the two namespaces. Their
// names are this process's own (see OwnName); making them first removes what killed runs left.
//   near: 192.0.2.1/24, loopback up, unprivileged ICMP sockets allowed for every group; a route to
//         198.51.100.0/24 through far.
//   far:  192.0.2.2/24, ignores echo requests, forwards, and answers every packet for 198.51.100.0/24
//         with a host-unreachable message; unprivileged ICMP sockets not allowed.
class TestNetworks {
public:
  static constexpr const char* NearAddress = "192.0.2.1";
  static constexpr const char* SilentHost = "192.0.2.2";
  static constexpr const char* UnreachableHost = "198.51.100.7";

  // Why the namespaces cannot be made here, or "" when they can.
  static std::string Unavailable() {
    if (::geteuid() != 0) return "needs root to create network namespaces";
    if (std::system("ip -V >/dev/null 2>&1") != 0) return "needs the ip command (iproute2)";
    return "";
  }

  TestNetworks() : near_(OwnName("near")), far_(OwnName("far")) {
    RemoveLeftovers();
    try {
      Run("ip netns add " + near_);
      Run("ip netns add " + far_);
      Run("ip link add vnear netns " + near_ + " type veth peer name vfar netns " + far_);
      Run("ip -n " + near_ + " link set lo up");
      Run("ip -n " + near_ + " addr add 192.0.2.1/24 dev vnear");
      Run("ip -n " + near_ + " link set vnear up");
      Run("ip -n " + near_ + " route add 198.51.100.0/24 via 192.0.2.2");
      Run("ip -n " + far_ + " addr add 192.0.2.2/24 dev vfar");
      Run("ip -n " + far_ + " link set vfar up");
      Run("ip -n " + far_ + " route add unreachable 198.51.100.0/24");
      Run("ip netns exec " + near_ + " sysctl -q -w 'net.ipv4.ping_group_range=0 2147483647'");
      Run("ip netns exec " + far_ +
          " sysctl -q -w net.ipv4.icmp_echo_ignore_all=1 net.ipv4.ip_forward=1 net.ipv4.icmp_ratelimit=0");
    } catch (...) {
      Remove();
      throw;
    }
  }
  TestNetworks(const TestNetworks&) = delete;
  TestNetworks& operator=(const TestNetworks&) = delete;
  ~TestNetworks() { Remove(); }

  enum class Side { Near, Far };

  // Switches the kernel's answers to echo requests on or off for every address of side.
  void SetEchoAnswered(Side side, bool answered) const {
    Run("ip netns exec " + Name(side) + " sysctl -q -w net.ipv4.icmp_echo_ignore_all=" + (answered ? "0" : "1"));
  }

  // Runs body on a thread that joined the namespace, so the sockets it creates live there; rethrows.
  void RunInNear(const std::function<void()>& body) const { RunIn(near_, body); }
  void RunInFar(const std::function<void()>& body) const { RunIn(far_, body); }

  // Starts body on a thread that joined the namespace of side; it runs until it returns, and should
  // return soon once its stop token is set (the thread is joined when it is destroyed).
  std::jthread StartIn(Side side, std::function<void(std::stop_token)> body) const {
    return std::jthread([name = Name(side), body = std::move(body)](std::stop_token stop) {
      Join(name);
      body(stop);
    });
  }

  // "<pid>-<start>", start being the process's start time in clock ticks since boot; "" when no process
  // pid runs. No two processes since boot have the same tag, whatever process ids come round again.
  static std::string ProcessTag(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    if (pid.empty() || !std::getline(stat, line)) return "";
    // The command name in parentheses may hold blanks; the state after it is field 3, the start time field 22.
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string field;
    for (int number = 3; number <= 22; ++number) fields >> field;
    return pid + "-" + field;
  }

private:
  static constexpr std::string_view kPrefix = "velmora-icmp-";

  // kPrefix, the side, this process's tag and a count of the namespaces it made: no other run, here or in
  // another worktree, nor a leftover of a killed one, has this name.
  static std::string OwnName(const std::string& side) {
    static std::atomic<int> made{0};
    return std::string(kPrefix) + side + "-" + ProcessTag(std::to_string(::getpid())) + "-" + std::to_string(made++);
  }

  // Removes the namespaces of runs that ended without removing them (killed): those whose tag is no
  // running process's, and those of the older names (kPrefix, the side and a bare process id) whose
  // process has gone or is this one. Other runs' namespaces stay.
  static void RemoveLeftovers() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/run/netns", error)) {
      const std::string name = entry.path().filename().string();
      const size_t side = name.find('-', kPrefix.size());
      if (!name.starts_with(kPrefix) || side == std::string::npos) continue;
      const std::string owner = name.substr(side + 1);
      const std::string pid = owner.substr(0, owner.find('-'));
      if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
      const std::string running = ProcessTag(pid);
      const bool leftover = owner == pid ? running.empty() || pid == std::to_string(::getpid())
                                         : !owner.starts_with(running + "-");
      if (leftover) std::system(("ip netns del " + name + " >/dev/null 2>&1").c_str());
    }
  }

  const std::string& Name(Side side) const { return side == Side::Near ? near_ : far_; }

  static void Run(const std::string& command) {
    if (std::system((command + " >/dev/null 2>&1").c_str()) != 0) throw std::runtime_error("failed: " + command);
  }

  // Moves the calling thread into the network namespace name.
  static void Join(const std::string& name) {
    int descriptor = ::open(("/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) throw std::runtime_error("cannot open namespace " + name);
    int joined = ::setns(descriptor, CLONE_NEWNET);
    ::close(descriptor);
    if (joined != 0) throw std::runtime_error("cannot join namespace " + name);
  }

  static void RunIn(const std::string& name, const std::function<void()>& body) {
    std::exception_ptr failure;
    std::thread worker([&] {
      try {
        Join(name);
        body();
      } catch (...) {
        failure = std::current_exception();
      }
    });
    worker.join();
    if (failure) std::rethrow_exception(failure);
  }

  // Deleting a namespace destroys the veth end inside it, and with it the pair.
  void Remove() const {
    std::system(("ip netns del " + near_ + " >/dev/null 2>&1").c_str());
    std::system(("ip netns del " + far_ + " >/dev/null 2>&1").c_str());
  }

  std::string near_;
  std::string far_;
};

}  // namespace velmora::testing

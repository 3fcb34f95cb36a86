// Pings of 127.0.0.1, one after another, on both kinds of ICMP socket: the raw socket that root uses and
// the kernel's datagram socket that a user whom net.ipv4.ping_group_range allows uses.
// - TNxIcmpClient, as the service pings: a socket of its own for every ping (created, filtered, its time
//   to live set, the request sent, the reply waited for and decoded, the socket closed);
// - the floor: one socket for the whole loop, and per ping only sendto, poll and recv; and the floor of
//   the service's design, which opens and closes a socket for every ping;
// - iputils ping as root and as the user nobody, at its steady state: two runs of different lengths are
//   timed and the difference divided by the difference of their pings, which takes out its start-up.
// Each reports the wall time per ping; the CPU column (and for ping the counter cpu_per_ping_us, its
// own CPU time) the processor time per ping.
//
// Run as root, the program moves into a network namespace of its own with only loopback, so that no
// other program's ICMP traffic reaches its raw sockets, and chooses per benchmark which groups may open
// datagram sockets there (iputils ping takes the datagram socket wherever it may). Without root only
// the datagram benchmarks run, where the machine's ping_group_range allows them.
#include <benchmark/benchmark.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "service/icmp/IcmpEcho.h"
#include "service/icmp/NxIcmpClient.h"
#include "service/icmp/NxSocketTransport.h"

namespace {

using platform::RawSocketMode;

constexpr int Pings = 1000;
bool ownNetwork = false;

// Which groups may open ICMP datagram sockets in the benchmark's namespace: every group, or every group
// but root's (so that iputils ping, run as root, takes the raw socket).
enum class DatagramSockets { ForAll, NotForRoot };
void AllowDatagramSockets(DatagramSockets who) {
  if (ownNetwork) std::ofstream("/proc/sys/net/ipv4/ping_group_range") << (who == DatagramSockets::ForAll ? "0" : "1") << " 2147483647\n";
}

const char* ModeName(RawSocketMode mode) { return mode == RawSocketMode::RawFirst ? "raw" : "datagram"; }

void ClientPing(benchmark::State& state, RawSocketMode mode) {
  AllowDatagramSockets(DatagramSockets::ForAll);
  velmora::TNxIcmpClient client;
  client.SetTransport(std::make_unique<velmora::TNxSocketTransport>(mode));
  client.Host = "127.0.0.1";
  client.ReceiveTimeout = 1000;
  int answered = 0;
  try {
    for (auto _ : state) {
      client.Ping();
      if (client.ReplyStatus().Outcome == velmora::TReplyOutcome::Echo) ++answered;
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
  }
  state.counters["answered"] = answered;
  state.SetLabel(ModeName(mode));
}
BENCHMARK_CAPTURE(ClientPing, raw, RawSocketMode::RawFirst)
    ->Name("TNxIcmpClient raw socket (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ClientPing, datagram, RawSocketMode::DatagramOnly)
    ->Name("TNxIcmpClient datagram socket (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);

// The least a pinger must do: a request out and its reply in, on one socket for the whole loop
// (sendto, poll, recv per ping), or, as the service's design has it, on a socket of its own for every
// ping (socket, its time to live set, sendto, poll, recv, close). The raw socket lets only echo replies
// through, so it is woken once per ping as the datagram socket is.
enum class Sockets { OneForAll, OnePerPing };

int OpenIcmpSocket(bool raw) {
  const int descriptor = ::socket(AF_INET, (raw ? SOCK_RAW : SOCK_DGRAM) | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (descriptor >= 0 && raw) {
    icmp_filter onlyReplies{~1u};
    ::setsockopt(descriptor, SOL_RAW, ICMP_FILTER, &onlyReplies, sizeof onlyReplies);
  }
  return descriptor;
}

void FloorPing(benchmark::State& state, RawSocketMode mode, Sockets sockets) {
  AllowDatagramSockets(DatagramSockets::ForAll);
  const bool raw = mode == RawSocketMode::RawFirst;
  int descriptor = OpenIcmpSocket(raw);
  if (descriptor < 0) {
    state.SkipWithError("no ICMP socket");
    return;
  }
  sockaddr_in loopback{};
  loopback.sin_family = AF_INET;
  loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::array<uint8_t, 1024> reply{};
  uint16_t sequence = 0;
  int answered = 0;
  for (auto _ : state) {
    if (sockets == Sockets::OnePerPing) {
      descriptor = OpenIcmpSocket(raw);
      const int ttl = 128;
      ::setsockopt(descriptor, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);
    }
    const velmora::TEchoRequest request = velmora::BuildEchoRequest(0x4242, ++sequence, 0, "");
    ::sendto(descriptor, request.data(), request.size(), 0, reinterpret_cast<const sockaddr*>(&loopback), sizeof loopback);
    pollfd watched{descriptor, POLLIN, 0};
    if (::poll(&watched, 1, 1000) == 1 && ::recv(descriptor, reply.data(), reply.size(), 0) > 0) ++answered;
    if (sockets == Sockets::OnePerPing) ::close(descriptor);
  }
  if (sockets == Sockets::OneForAll) ::close(descriptor);
  state.counters["answered"] = answered;
  state.SetLabel(ModeName(mode));
}
BENCHMARK_CAPTURE(FloorPing, raw, RawSocketMode::RawFirst, Sockets::OneForAll)
    ->Name("floor: one socket, raw (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloorPing, datagram, RawSocketMode::DatagramOnly, Sockets::OneForAll)
    ->Name("floor: one socket, datagram (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloorPing, rawPerPing, RawSocketMode::RawFirst, Sockets::OnePerPing)
    ->Name("floor: a socket per ping, raw (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FloorPing, datagramPerPing, RawSocketMode::DatagramOnly, Sockets::OnePerPing)
    ->Name("floor: a socket per ping, datagram (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);

struct RunCost {
  double wallSeconds = 0;
  double cpuSeconds = 0;  // of the child processes
  bool ok = false;
};

double ChildrenCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

RunCost RunPing(const std::string& prefix, int count, const std::string& interval) {
  const std::string command =
      prefix + "ping -n -q -c " + std::to_string(count) + " -i " + interval + " 127.0.0.1 >/dev/null 2>&1";
  const double cpuBefore = ChildrenCpuSeconds();
  const auto started = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
  return {wall.count(), ChildrenCpuSeconds() - cpuBefore, status == 0};
}

// iputils ping with the smallest interval it allows: 0 for root; 2 ms for any other user, which bounds
// its wall time per ping from below, so its CPU time is the figure to compare there.
void IputilsPing(benchmark::State& state, bool asNobody) {
  if (!asNobody && ::geteuid() != 0) {
    state.SkipWithError("needs root");
    return;
  }
  AllowDatagramSockets(asNobody ? DatagramSockets::ForAll : DatagramSockets::NotForRoot);
  const std::string prefix = asNobody && ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups -- " : "";
  const std::string interval = asNobody ? "0.002" : "0";
  // Without the 2 ms pauses the runs are short, and a longer difference keeps the machine's other work
  // from showing in it.
  constexpr int ShortRun = 200;
  const int extra = asNobody ? Pings : 10 * Pings;
  for (auto _ : state) {
    const RunCost shortRun = RunPing(prefix, ShortRun, interval);
    const RunCost longRun = RunPing(prefix, ShortRun + extra, interval);
    if (!shortRun.ok || !longRun.ok) {
      state.SkipWithError("ping failed");
      return;
    }
    const double wallPerPing = (longRun.wallSeconds - shortRun.wallSeconds) / extra;
    state.SetIterationTime(wallPerPing);
    state.counters["cpu_per_ping_us"] = (longRun.cpuSeconds - shortRun.cpuSeconds) / extra * 1e6;
    state.counters["startup_ms"] = (shortRun.wallSeconds - ShortRun * wallPerPing) * 1e3;
  }
  state.SetLabel(std::string(asNobody ? "as nobody, " : "as root, ") + "-i " + interval);
}
BENCHMARK_CAPTURE(IputilsPing, root, false)
    ->Name("iputils ping, steady state (per ping)")->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(IputilsPing, nobody, true)
    ->Name("iputils ping as nobody, steady state (per ping)")->Iterations(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A network namespace with only loopback, for this process and the pings it starts.
void EnterOwnNetwork() {
  if (::geteuid() != 0 || ::unshare(CLONE_NEWNET) != 0) return;
  ownNetwork = std::system("ip link set lo up") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  EnterOwnNetwork();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

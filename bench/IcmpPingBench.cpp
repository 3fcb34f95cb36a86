// 1000 pings of 127.0.0.1 through TNxIcmpClient, and iputils ping doing the same 1000 pings in the same
// run, each reported as the mean time per ping.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <regex>
#include <string>

#include "service/icmp/NxIcmpClient.h"

namespace {

constexpr int Pings = 1000;

void ClientPingLoopback(benchmark::State& state) {
  velmora::TNxIcmpClient client;
  client.Host = "127.0.0.1";
  client.ReceiveTimeout = 1000;
  int answered = 0;
  for (auto _ : state) {
    client.Ping();
    if (client.ReplyStatus().ByteCount > 0) ++answered;
  }
  state.counters["answered"] = answered;
}
BENCHMARK(ClientPingLoopback)->Name("TNxIcmpClient 127.0.0.1 (per ping)")->Iterations(Pings)->Unit(benchmark::kMicrosecond);

// iputils ping with the smallest interval allowed (0 for root, 2 ms otherwise); the time reported is the
// whole run divided by the pings, beside ping's own mean round trip.
void IputilsPingLoopback(benchmark::State& state) {
  const std::string interval = ::geteuid() == 0 ? "0" : "0.002";
  const std::string command = "ping -c " + std::to_string(Pings) + " -i " + interval + " -q 127.0.0.1 2>&1";
  for (auto _ : state) {
    const auto started = std::chrono::steady_clock::now();
    FILE* ping = ::popen(command.c_str(), "r");
    if (ping == nullptr) {
      state.SkipWithError("cannot start ping");
      return;
    }
    std::string output;
    char chunk[512];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, ping)) > 0;) output.append(chunk, n);
    const int status = ::pclose(ping);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (status != 0) {
      state.SkipWithError(("ping failed: " + output).c_str());
      return;
    }
    state.SetIterationTime(elapsed.count() / Pings);
    std::smatch match;
    if (std::regex_search(output, match, std::regex(R"((\d+) received)"))) state.counters["answered"] = std::stod(match[1]);
    if (std::regex_search(output, match, std::regex(R"(= [\d.]+/([\d.]+)/)"))) {
      state.counters["rtt_avg_us"] = std::stod(match[1]) * 1000;
    }
  }
  state.SetLabel("ping -c 1000 -i " + interval + " -q");
}
BENCHMARK(IputilsPingLoopback)
    ->Name("iputils ping 127.0.0.1 (per ping)")
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The check cycle: the start-up pass, one host per timer tick, the confirmation of a change and the
// command run for it.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <mutex>

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/IniFile.h"
#include "platform/net/Resolver.h"
#include "platform/net/SocketError.h"
#include "service/HostCommand.h"
#include "service/ServiceFiles.h"
#include "service/icmp/NxException.h"
#include "service/Unit1.h"

namespace velmora {

namespace {

constexpr uint32_t kFirstRoundTickMs = 5000;
constexpr uint32_t kConfirmationWaitMs = 10000;
constexpr int kDefaultIntervalSeconds = 30;
constexpr int kShortestIntervalSeconds = 5;
// How often a busy check or start-up pass serves what is pending for its thread.
constexpr uint32_t kServeStepMs = 200;

}  // namespace

void TTarvonex::PingHost(const std::string& host) {
  icmp->Host = host;
  pingResult = kPingPending;
  try {
    icmp->Ping("", 0);
  } catch (const ENxSocketError& e) {
    pingResult = -1;
    if (e.LastError() == platform::WsaEAcces) ReportPingRefused(host, e.Message());
    if (e.LastError() == platform::WsaHostNotFound || e.LastError() == platform::WsaNoData) ReportOnlyIpv6(host);
  } catch (const std::exception&) {
    pingResult = -1;
  }
  // The client is synchronous: when Ping returns, OnReply has run. A ping that neither replied nor
  // raised has no answer to wait for.
  if (pingResult == kPingPending) pingResult = -1;
}

// A service that may open no ICMP socket (a user other than root, without the kernel's permission for
// unprivileged pings) sees every host as not answering. The log shows only that, so the reason goes once
// to the service host's messages (standard error, which the journal keeps).
void TTarvonex::ReportPingRefused(const std::string& host, std::string message) {
  if (pingRefusalReported) return;
  pingRefusalReported = true;
  for (size_t at = message.find("\r\n"); at != std::string::npos; at = message.find("\r\n", at)) message.replace(at, 2, " ");
  LogMessage("Cannot ping " + host + ": " + message +
             " A service that runs as a user other than root pings only when net.ipv4.ping_group_range allows its "
             "group.");
}

// An IPv4 lookup finds nothing for an IPv6 address or a name with only IPv6 addresses. The host then
// counts as disconnected like any other; the log says why, once per host until the settings are read again.
void TTarvonex::ReportOnlyIpv6(const std::string& host) {
  if (onlyIpv6Reported.contains(host) || !platform::HasOnlyIpv6Addresses(host)) return;
  onlyIpv6Reported.insert(host);
  WriteLog(host + Text(texts::OnlyIpv6));
}

void TTarvonex::icmpReply(TNxIcmpClient* ASender, const TReplyStatus& AReplyStatus) {
  // Only an echo reply is an answer. A router's "unreachable" or "time exceeded" report about the host
  // means that the host itself did not answer.
  if (AReplyStatus.ByteCount == 0 || AReplyStatus.Outcome != TReplyOutcome::Echo) {
    pingResult = -1;
  } else {
    pingResult = static_cast<int32_t>(AReplyStatus.RoundTripMs);
  }
}

// Raised out of a ping or a wait when a stop or pause has been asked for; the start-up pass and the
// tick catch it. Not an exception of the class library, so nothing on the way takes it for a failure.
struct HaltRequested {};

bool TTarvonex::Halted() {
  using platform::TCurrentStatus;
  const TCurrentStatus status = Status();
  return Terminated() || ServiceThread()->StopOrPauseQueued() || status == TCurrentStatus::csStopPending ||
         status == TCurrentStatus::csPausePending || status == TCurrentStatus::csPaused;
}

void TTarvonex::ServeWhileBusy() {
  ServiceThread()->ProcessRequests(false);
  if (Halted()) throw HaltRequested{};
}

bool TTarvonex::ServedWithoutHalt() {
  try {
    ServeWhileBusy();
    return true;
  } catch (const HaltRequested&) {
    return false;
  }
}

void TTarvonex::WaitServing(uint32_t ms) {
  const int64_t end = platform::MonotonicMs() + ms;
  for (int64_t left = ms; left > 0; left = end - platform::MonotonicMs()) {
    platform::Sleep(static_cast<uint32_t>(std::min<int64_t>(left, kServeStepMs)));
    ServeWhileBusy();
  }
}

void TTarvonex::StartupPass() {
  // The start value of each host is the opposite of what it shows now, so that its first check
  // counts it as changed (unless it changed in between).
  knownState.assign(static_cast<size_t>(hostList.Count()), 0);
  Timer1->SetEnabled(false);
  startValuesMissing = true;
  try {
    for (int i = 0; i < hostList.Count(); ++i) {
      ServeWhileBusy();
      PingHost(hostList.Strings(i));
      knownState[static_cast<size_t>(i)] = pingResult < 0 ? 1 : 0;
    }
  } catch (const HaltRequested&) {
    return;
  }
  startValuesMissing = false;
  Timer1->SetInterval(kFirstRoundTickMs);
}

void TTarvonex::Timer1Timer(platform::TObject* Sender) {
  std::lock_guard lock(serviceLock);
  // A tick that waited for the lock while the service paused or stopped finds the timer off (and, after
  // a stop, the settings released): it checks nothing.
  if (Terminated() || !Timer1->Enabled()) return;
  Timer1->SetEnabled(false);
  try {
    if (resetRequested) {
      WriteLog(Text(texts::ReadNewSettings));
      ReleaseSettings();
      LoadSettings();
      roundIndex = 0;
      resetRequested = false;
    } else if (startValuesMissing) {
      StartupPass();
    } else {
      CheckHost();
    }
  } catch (const HaltRequested&) {
    // The check is abandoned: its host is the next one checked after continue.
  } catch (const platform::Exception& e) {
    // The round index stays, so the same host is checked again at the next tick; a reset that failed
    // is tried again.
    WriteLog(e.Message());
  } catch (const std::exception& e) {
    WriteLog(e.what());
  }
  // Decided here, under the lock, from the service's state: a stop or pause asked for during the tick
  // (or a reset that found nothing to watch and stopped the service) leaves the timer off, and only
  // continue switches it on again.
  if (!Halted()) Timer1->SetEnabled(true);
}

void TTarvonex::CheckHost() {
  const std::string h = hostList.Strings(roundIndex);
  platform::TIniFile hostListIni(FileInExeFolder(kHostListFile));
  int interval = hostListIni.ReadInteger("Options", "Intervall", kDefaultIntervalSeconds);
  if (interval <= kShortestIntervalSeconds) interval = kShortestIntervalSeconds;
  PingHost(h);
  uint8_t newState;
  bool disturbance = false;
  if (pingResult == -1) {
    WriteStatus(h, 0, -1);
    if (ConfirmChange(roundIndex, 0, hostListIni.ReadBool("WaitForStatusChange", h, false), disturbance)) {
      RunAction(hostListIni.ReadString("RunOnDisconnected", h, ""), hostListIni.ReadInteger("Show", h, 1), h);
      WriteStatus(h, 0, pingResult);
      WriteLog(h + Text(texts::Disconnected));
    }
    newState = 0;
  } else {
    WriteStatus(h, 1, pingResult);
    if (ConfirmChange(roundIndex, 1, hostListIni.ReadBool("WaitForStatusChange", h, false), disturbance)) {
      RunAction(hostListIni.ReadString("RunOnConnected", h, ""), hostListIni.ReadInteger("Show", h, 1), h);
      WriteLog(h + Text(texts::Connected));
    }
    newState = 1;
  }
  if (!disturbance) knownState[static_cast<size_t>(roundIndex)] = newState;

  ++roundIndex;
  if (firstRound) Timer1->SetInterval(kFirstRoundTickMs);
  if (roundIndex > hostList.Count() - 1) {
    roundIndex = 0;
    Timer1->SetInterval(static_cast<uint32_t>(std::min<int64_t>(int64_t{interval} * 1000, UINT32_MAX)));
    firstRound = false;
  }
}

bool TTarvonex::ConfirmChange(int index, uint8_t newState, bool wait, bool& disturbance) {
  const std::string host = hostList.Strings(index);
  disturbance = false;
  if (knownState[static_cast<size_t>(index)] == newState) return false;
  if (!firstRound) {
    WriteLog(Text(texts::StatusOf) + host + Text(texts::ChangedCheckingAgain));
    WaitServing(kConfirmationWaitMs);
    PingHost(host);
    const uint8_t confirmedState = pingResult >= 0 ? 1 : 0;
    if (confirmedState != newState) {
      WriteLog(Text(texts::Disturbance));
      disturbance = true;
      return false;
    }
    return true;
  }
  if (wait) return true;
  WriteLog(host + Text(newState == 1 ? texts::ConnectedNoAction : texts::DisconnectedNoAction));
  return false;
}

void TTarvonex::RunAction(const std::string& command, int showCode, const std::string& host) {
  if (command.empty()) return;
  // No command starts once a stop or pause has been asked for, also one that arrived just now.
  ServeWhileBusy();
  if (StartHostCommand(command, host, showCode) <= 32) WriteLog(command + Text(texts::CouldNotBeStarted));
}

}  // namespace velmora

#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/PageProducer.h"
#include "platform/core/StringList.h"
#include "platform/service/Service.h"
#include "platform/app/ApplicationEvents.h"
#include "platform/app/Component.h"
#include "platform/app/Messages.h"
#include "platform/app/Timer.h"
#include "service/EventLog.h"
#include "platform/core/SectionValues.h"
#include "service/ServiceTexts.h"
#include "service/WriteFailures.h"
#include "service/icmp/NxIcmpClient.h"

namespace velmora {

// The Velmora service: pings the hosts of HostList.ini one per tick of Timer1, confirms every change of
// a host's state by a second ping ten seconds later, starts the command configured for the new state,
// and records everything in events.log, status.ini and, when switched on, an HTML status page. Every file
// it uses lies in the executable's folder. Create it on the main thread: its timer and its hook for the
// reset message run in that thread's message loop.
//
// Threads: the service thread runs the start, execute, stop, pause and continue handlers (the execute
// handler loads the settings and then serves control requests once a second); the main thread runs every
// check and every reset, and the reload handler (SIGHUP). One re-entrant lock, taken by each check, by
// loading and releasing the settings, by the stop, pause and continue handlers and by every log line and
// status write, guards the host list, the states, the flags and the timer's switch.
//
// A stop or pause does not wait for the work that holds the lock: the start-up pass and a check serve
// what is pending for their thread at least every 200 ms while they wait (a ping, the confirmation's ten
// seconds), and give up as soon as a stop or pause has been asked for. An abandoned check runs no command
// and leaves the host's known state and the round as they were; an abandoned start-up pass is done again
// at the first tick after continue.
//
// A failed write of status.ini, the page or events.log never stops the checks; each is reported once on
// standard error (and in the log when the log can be written) until a write of that file succeeds again.
//
// The order of one check (Timer1Timer): ping the host; write its state to status.ini, notify the
// configurator and rewrite the page; if the state differs from the known one, confirm it by a second ping
// ten seconds later (not in the first round after a start or reset); on a confirmed change start the
// host's command and log it; then re-arm the timer.
class TTarvonex : public platform::TService {
public:
  explicit TTarvonex(platform::TComponent* AOwner);
  ~TTarvonex() override;

  // Handlers of the service framework and of the components.
  void ServiceStart(platform::TService* Sender, bool& Started);
  void ServiceExecute(platform::TService* Sender);
  void ServiceStop(platform::TService* Sender, bool& Stopped);
  void ServicePause(platform::TService* Sender, bool& Paused);
  void ServiceContinue(platform::TService* Sender, bool& Continued);
  void ServiceReload(platform::TService* Sender);
  void ApplicationEvents1Message(platform::MSG& Msg, bool& Handled);
  void Timer1Timer(platform::TObject* Sender);
  void icmpReply(TNxIcmpClient* ASender, const TReplyStatus& AReplyStatus);
  void PageProducer1HTMLTag(platform::TPageProducer& Sender, const std::string& TagString,
                            const std::vector<std::string>& TagParams, std::string& ReplaceText);
  void PageProducer2HTMLTag(platform::TPageProducer& Sender, const std::string& TagString,
                            const std::vector<std::string>& TagParams, std::string& ReplaceText);

  // The components; the service owns them (and destroys them with itself).
  platform::TTimer* Timer1;
  platform::TApplicationEvents* ApplicationEvents1;
  platform::TPageProducer PageProducer1;  // the page, from status1.vdr
  platform::TPageProducer PageProducer2;  // one row per host, from status2.vdr
  TNxIcmpClient* icmp;

  // The names under which the two window messages between the service and the configurator are registered.
  static constexpr const char* StatusNotifyMessage = "4E0D112F-5444-4876-AD3C-6BA23D58CA70";
  static constexpr const char* ResetRequestMessage = "77846BBD-1D2A-4322-8E8D-749718755CB7";

private:
  bool ReadLanguage();
  void LoadSettings();
  void ReleaseSettings();
  void StartupPass();
  void CheckHost();
  void PingHost(const std::string& host);
  // A stop or pause has been asked for: queued, being served, or in force.
  bool Halted();
  // Serves what is pending for the calling thread (control requests on the service thread, messages and
  // signals on the main thread); raises HaltRequested (Unit1Check.cpp) when the service is Halted.
  void ServeWhileBusy();
  // Serves as above; false when the service is Halted.
  bool ServedWithoutHalt();
  // Waits ms on the platform clock, serving as above every 200 ms.
  void WaitServing(uint32_t ms);
  // Tells once per run, on standard error, that a ping was refused the socket it needs.
  void ReportPingRefused(const std::string& host, std::string message);
  // Logs once per host that it is not pinged because it has only IPv6 addresses, when that is so.
  void ReportOnlyIpv6(const std::string& host);
  // Whether the check of the host at index acts on newState; disturbance tells that a change seen was
  // not confirmed by the second ping, so the host keeps its known state.
  bool ConfirmChange(int index, uint8_t newState, bool wait, bool& disturbance);
  void RunAction(const std::string& command, int showCode, const std::string& host);
  // Writes a line to the log, after the lines of reset requests still pending (RequestReset).
  void WriteLog(const std::string& text);
  // Notes a reset request (SIGHUP or the configurator's message) for the next tick and logs it, without
  // waiting for the service lock.
  void RequestReset();
  // Reports a failed write of one of the service's files, once until it clears (TWriteFailures).
  void ReportWriteFailure(const std::string& file, const std::string& error);
  void WriteStatus(const std::string& host, int state, int32_t roundTrip);
  // Posts the status message with wParam to the configurator's main window, when one runs.
  void NotifyConfigurator(platform::WPARAM wParam);
  // Produces the page and puts it in place of the old one; a failure is reported and keeps the old page.
  void WritePage();

  std::string Text(const TTextPair& pair) const { return pair.In(isEnglish); }
  // A file of the service: the executable's folder followed by the name.
  std::string FileInExeFolder(const std::string& name) const;

  static constexpr int32_t kPingPending = -999;

  bool isEnglish = true;
  int32_t pingResult = 0;
  uint32_t statusNotifyId = 0;
  uint32_t resetRequestId = 0;
  platform::TStringList hostList;  // the watched hosts in HostList.ini order
  bool firstRound = false;
  std::vector<uint8_t> knownState;  // per host of hostList: 1 connected, 0 disconnected
  std::string exePath;
  bool logging = false;
  bool webStatus = false;
  bool resetRequested = false;
  // Reset requests that came while another thread held the service lock, whose lines are not yet logged.
  std::atomic<int> resetLinesPending{0};
  std::string pagePath;
  int32_t pageRow = 0;
  // The index into hostList of the next host to check. The process has one service, so it lives here.
  int roundIndex = 0;
  bool pingRefusalReported = false;
  std::set<std::string> onlyIpv6Reported;  // the hosts that ReportOnlyIpv6 has logged
  // The start-up pass was abandoned for a stop or pause: the next tick does it again before any check.
  bool startValuesMissing = false;
  // status.ini's round trips, read for the page being produced.
  platform::TSectionValues pageRoundTrips;
  TWriteFailures writeFailures;
  TEventLog eventLog;

  platform::RecursiveClockMutex serviceLock;
};

}  // namespace velmora

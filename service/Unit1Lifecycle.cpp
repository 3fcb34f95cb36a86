// The service's lifecycle: start, execute, stop, pause and continue, loading and releasing the settings,
// and the reset request.
#include <mutex>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/Paths.h"
#include "platform/app/Window.h"
#include "service/EventLog.h"
#include "service/ServiceFiles.h"
#include "service/Unit1.h"

namespace velmora {

namespace {

constexpr int kLinesBetweenServes = 100;

// A host name as the log shows it: each NUL byte as "\0".
std::string WithNulShown(std::string name) {
  for (size_t at = name.find('\0'); at != std::string::npos; at = name.find('\0', at)) name.replace(at, 1, "\\0");
  return name;
}

}  // namespace

void TTarvonex::ServiceStart(platform::TService* Sender, bool& Started) { Started = true; }

void TTarvonex::ServiceExecute(platform::TService* Sender) {
  statusNotifyId = platform::RegisterWindowMessage(StatusNotifyMessage);
  resetRequestId = platform::RegisterWindowMessage(ResetRequestMessage);
  exePath = platform::ExeFileName();
  // What writes that a killed process of ours left behind; this instance alone writes these files.
  for (const char* file : {kLogFileName, kOldLogFileName, kStatusFile})
    platform::RemoveAtomicWriteLeftovers(FileInExeFolder(file));
  try {
    LoadSettings();
    if (hostList.Count() == 0) {
      WriteLog(Text(texts::NothingToWatchEnd));
    } else if (!Terminated()) {
      WriteLog(Text(texts::ServiceExecute));
      {
        std::lock_guard lock(serviceLock);
        // A pause served during the start-up pass keeps the timer off until continue.
        if (!Halted()) Timer1->SetEnabled(true);
      }
      while (!Terminated()) {
        platform::Sleep(1000);
        ServiceThread()->ProcessRequests(false);
      }
    }
  } catch (...) {
    ReleaseSettings();
    throw;
  }
  ReleaseSettings();
}

// Stop, pause and continue hold the service lock from their line to the timer switch, so a tick that
// fell due meanwhile waits for them and then finds the timer as they left it.
void TTarvonex::ServiceStop(platform::TService* Sender, bool& Stopped) {
  std::lock_guard lock(serviceLock);
  WriteLog(Text(texts::ServiceStopped));
  Stopped = true;
  Timer1->SetEnabled(false);
}

void TTarvonex::ServicePause(platform::TService* Sender, bool& Paused) {
  std::lock_guard lock(serviceLock);
  WriteLog(Text(texts::ServicePaused));
  WriteStatus("", 0, 0);
  Paused = true;
  Timer1->SetEnabled(false);
}

void TTarvonex::ServiceContinue(platform::TService* Sender, bool& Continued) {
  std::lock_guard lock(serviceLock);
  WriteLog(Text(texts::ServiceContinued));
  WriteStatus("", 0, 0);
  Continued = true;
  Timer1->SetEnabled(true);
}

void TTarvonex::ApplicationEvents1Message(platform::MSG& Msg, bool& Handled) {
  if (resetRequestId == 0 || Msg.message != resetRequestId) return;
  RequestReset();
  Handled = true;
}

// SIGHUP, the daemons' "reload", asks for the same as the configurator's reset request.
void TTarvonex::ServiceReload(platform::TService* Sender) { RequestReset(); }

void TTarvonex::RequestReset() {
  resetRequested = true;
  // The start-up pass holds the service lock on the service thread for as long as its pings take. The
  // main thread must not wait for it here: its loop reads the stop and pause signals. The line is then
  // written before the next line of the log, by whoever holds the lock next.
  std::unique_lock lock(serviceLock, std::try_to_lock);
  if (lock.owns_lock()) {
    WriteLog(Text(texts::ServiceResetting));
  } else {
    ++resetLinesPending;
  }
  // The configurator waits for an answer after its request: it gets one at once, whether or not the
  // line was logged (Logging off, or the lock held elsewhere).
  NotifyConfigurator(0);
}

bool TTarvonex::ReadLanguage() {
  return platform::TIniFile(FileInExeFolder(kHostListFile)).ReadBool("Options", "isEnglish", false);
}

void TTarvonex::LoadSettings() {
  std::lock_guard lock(serviceLock);
  isEnglish = ReadLanguage();
  platform::DeleteFile(FileInExeFolder(kStatusFile));
  hostList.Clear();
  knownState.clear();
  onlyIpv6Reported.clear();

  // Read once: the host list may be long, and every read of a TIniFile reads the whole file again.
  platform::TMemIniFile hostListIni(FileInExeFolder(kHostListFile));
  logging = hostListIni.ReadBool("Options", "Logging", true);
  const std::string fileName = hostListIni.ReadString("Options", "StatusHTMLFilename", "index.htm");
  // A relative folder, like every file name of the service, is taken from the executable's folder, not
  // from the working directory (which systemd sets to "/").
  std::string dir = hostListIni.ReadString("Options", "StatusHTMLDir", "");
  if (dir.empty() || (dir.front() != '/' && dir.front() != '\\')) dir = FileInExeFolder(dir);
  pagePath = dir + fileName;
  webStatus = hostListIni.ReadBool("Options", "WebStatus", false);
  WriteLog(Text(texts::ServiceStartingUp));

  platform::TStringList listed;
  hostListIni.ReadSection("Hosts", listed);
  // A long list takes a while to log: stop and pause are served every kLinesBetweenServes lines. Once one
  // is asked for, the rest of the list is not logged (it is still made whole) and the start-up pass waits
  // for the first tick after continue.
  int logged = 0;
  bool halted = false;
  auto logListLine = [&](const std::string& line) {
    if (!halted && ++logged % kLinesBetweenServes == 0) halted = !ServedWithoutHalt();
    if (!halted) WriteLog(line);
  };
  // Refused and disabled hosts are logged in list order and left out; the others are appended, so the
  // list is made in one pass however many hosts are left out. A name with a NUL byte is refused: no
  // lookup can take it whole.
  const platform::TSectionValues enabled(hostListIni, "Enabled");
  for (int i = 0; i < listed.Count(); ++i) {
    const std::string& host = listed.StoredString(i);
    if (host.find('\0') != std::string::npos) {
      logListLine(Text(texts::NulInHostName) + WithNulShown(host));
    } else if (!enabled.ReadBool(host, true)) {
      logListLine(Text(texts::WatchingDisabled) + host);
    } else {
      hostList.Add(host);
    }
  }
  for (int i = 0; i < hostList.Count(); ++i) logListLine(Text(texts::WatchingEnabled) + hostList.Strings(i));
  firstRound = true;

  if (hostList.Count() == 0) {
    WriteLog(Text(texts::NotSoMuchToWatch));
    WriteLog(Text(texts::StartItAgain));
    DoStop();
  } else if (halted) {
    startValuesMissing = true;
  } else {
    StartupPass();
  }

  if (webStatus) {
    PageProducer1.SetHTMLFile(FileInExeFolder(kPageTemplateFile));
    PageProducer2.SetHTMLFile(FileInExeFolder(kRowTemplateFile));
    for (const platform::TPageProducer* producer : {&PageProducer1, &PageProducer2}) {
      if (!platform::FileExists(producer->HTMLFile())) WriteLog(producer->HTMLFile() + Text(texts::NotExistent));
    }
  }
}

void TTarvonex::ReleaseSettings() {
  std::lock_guard lock(serviceLock);
  platform::DeleteFile(FileInExeFolder(kStatusFile));
  WriteStatus("", 0, 0);
  if (webStatus) {
    const std::string page = platform::ResolvePath(pagePath);
    if (platform::FileExists(page)) platform::DeleteFile(page);
  }
  hostList.Clear();
  knownState.clear();
}

}  // namespace velmora

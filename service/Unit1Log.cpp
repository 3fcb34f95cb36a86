// The event log: one line per event in events.log, rotated into events_old.log past 1000 lines; the
// configurator is told of every line.
#include <mutex>

#include "platform/core/DateTime.h"
#include "service/EventLog.h"
#include "service/Unit1.h"

namespace velmora {

void TTarvonex::WriteLog(const std::string& text) {
  std::lock_guard lock(serviceLock);
  for (int n = resetLinesPending.exchange(0); n > 0; --n) WriteLog(Text(texts::ServiceResetting));
  if (!logging) return;
  const std::string stamp = platform::DateTimeToStr(platform::Now()) + " => ";
  // While the log is known to fail (a full disk), a line is not tried a second time a second later.
  const bool failing = writeFailures.Failing(kLogFileName);
  const TLogAppend result =
      eventLog.Append(FileInExeFolder(""), stamp + text, stamp + Text(texts::NewLogfileCreated), !failing);
  if (result.linkReplaced) {
    LogMessage(std::string(kLogFileName) +
               " was a symbolic link; a new log replaced it, and the link's target was neither read nor written.");
  }
  if (!result.setAsideAs.empty()) {
    LogMessage(std::string(kLogFileName) + " could not be read; it was kept as " + result.setAsideAs +
               " and a new log begun.");
  }
  if (!result.written) {
    if (writeFailures.Failed(kLogFileName, result.failure)) LogMessage(result.failure);
    return;
  }
  writeFailures.Succeeded(kLogFileName);
  NotifyConfigurator(1);
}

}  // namespace velmora

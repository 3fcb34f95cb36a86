// The event log: one line per event in events.log, rotated into events_old.log past 1000 lines; the
// configurator is told of every line.
#include <mutex>

#include "platform/core/DateTime.h"
#include "service/EventLog.h"
#include "service/Unit1.h"

namespace velmora {

void TTarvonex::WriteLog(const std::string& text) {
  std::lock_guard lock(serviceLock);
  if (!logging) return;
  const std::string line = platform::DateTimeToStr(platform::Now()) + " => " + text;
  if (AppendLogLine(FileInExeFolder(""), line, Text(texts::NewLogfileCreated))) NotifyConfigurator(1);
}

}  // namespace velmora

// The event log: one line per event in events.log, rotated into events_old.log past 1000 lines.
#include <mutex>

#include "platform/core/DateTime.h"
#include "service/EventLog.h"
#include "service/Unit1.h"

namespace velmora {

void TTarvonex::WriteLog(const std::string& text) {
  std::lock_guard lock(serviceLock);
  if (!logging) return;
  const std::string line = platform::DateTimeToStr(platform::Now()) + " => " + text;
  AppendLogLine(FileInExeFolder(""), line, Text(texts::NewLogfileCreated));
}

}  // namespace velmora

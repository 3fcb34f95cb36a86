// The status of the hosts: status.ini after every check.
#include <mutex>

#include "platform/core/Clock.h"
#include "platform/core/IniFile.h"
#include "service/ServiceFiles.h"
#include "service/Unit1.h"

namespace velmora {

void TTarvonex::WriteStatus(const std::string& host, int state, int32_t roundTrip) {
  std::lock_guard lock(serviceLock);
  if (!host.empty()) {
    platform::TIniFile status(FileInExeFolder(kStatusFile));
    status.WriteInteger("Hosts", host, state);
    status.WriteInteger("RoundTrip", host, roundTrip);
    platform::Sleep(500);
  }
}

}  // namespace velmora

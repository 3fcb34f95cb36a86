#pragma once

namespace velmora {

// The files of the service, each in the executable's folder (events.log: EventLog.h).
inline constexpr const char* kHostListFile = "HostList.ini";
inline constexpr const char* kStatusFile = "status.ini";

}  // namespace velmora

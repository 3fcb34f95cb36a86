#pragma once

namespace velmora {

// The files of the service, each in the executable's folder (events.log: EventLog.h).
inline constexpr const char* kHostListFile = "HostList.ini";
inline constexpr const char* kStatusFile = "status.ini";
inline constexpr const char* kPageTemplateFile = "status1.vdr";
inline constexpr const char* kRowTemplateFile = "status2.vdr";

}  // namespace velmora

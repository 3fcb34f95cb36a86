#pragma once

namespace velmora {

// The files of the service, each in the executable's folder (events.log: EventLog.h).
inline constexpr const char* kHostListFile = "HostList.ini";
inline constexpr const char* kStatusFile = "status.ini";
inline constexpr const char* kPageTemplateFile = "status1.vdr";
inline constexpr const char* kRowTemplateFile = "status2.vdr";
// Not a file name: how failures of the status page's file (StatusHTMLDir + StatusHTMLFilename) are told apart.
inline constexpr const char* kPageFile = "the status page";

}  // namespace velmora

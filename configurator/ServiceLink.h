#pragma once

// What the configurator shares with the service, which it never links: the files in the program folder,
// the two registered window messages and the service's application window.
namespace configurator {

inline constexpr const char* kStatusFileName = "status.ini";
inline constexpr const char* kEventLogFileName = "events.log";
// The names under which the service registers its status message and its reset request.
inline constexpr const char* kStatusNotifyMessageName = "4E0D112F-5444-4876-AD3C-6BA23D58CA70";
inline constexpr const char* kResetRequestMessageName = "77846BBD-1D2A-4322-8E8D-749718755CB7";
// The running service's application window in the window station: the application's class, captioned
// with the program's name. A killed service leaves status.ini behind, but never this window.
inline constexpr const char* kServiceWindowClass = "TApplication";
inline constexpr const char* kServiceWindowCaption = "velmora";
// The scripts beside the programs that start and stop the service.
inline constexpr const char* kStartScript = "startService.bat";
inline constexpr const char* kStopScript = "stopService.bat";

}  // namespace configurator

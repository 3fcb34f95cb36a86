#pragma once

#include <string>

namespace velmora {

// The service's event log on disk: events.log and, after a rotation, events_old.log, both in one folder.
// The whole file is read and rewritten for every line, and every rewrite replaces the file atomically,
// so a crash or a full disk in the middle of it leaves the previous log whole.
//
// Appending a line: events.log is loaded (a missing or unreadable one counts as empty) and the line added.
// When the log then holds more than kMaxLogLines lines, all of them go to events_old.log and events.log
// starts again with `rotationLine` alone. events.log is saved; a failed save is tried once more after
// 1000 ms on the platform clock, and then the line is given up.
//
// Returns false when writing events_old.log failed: the call then ends without touching events.log, and
// the next line tries the rotation again. Never raises. Not synchronised: the caller serialises calls.
bool AppendLogLine(const std::string& folder, const std::string& line, const std::string& rotationLine);

inline constexpr int kMaxLogLines = 1000;
inline constexpr const char* kLogFileName = "events.log";
inline constexpr const char* kOldLogFileName = "events_old.log";

}  // namespace velmora

#pragma once

#include <string>

namespace velmora {

// What became of a line given to AppendLogLine.
struct TLogAppend {
  bool written = false;    // the line is on disk: in events.log, or in events_old.log after a rotation
  std::string failure;     // when not written: the error of the write that failed
  std::string setAsideAs;  // the name under which an events.log that could not be read was kept, if one was
};

// The service's event log on disk: events.log and, after a rotation, events_old.log, both in one folder.
// The whole file is read and rewritten for every line, and every rewrite replaces the file atomically,
// so a crash or a full disk in the middle of it leaves the previous log whole.
//
// Appending a line: events.log is loaded and the line added. A missing events.log counts as empty; one
// that exists but cannot be read (no read permission, a folder in its place) is kept aside under
// events.log.unreadable (events.log.unreadable.1, .2, ... when that name is taken) and a new log begins;
// when it cannot be moved either, the line is not written, so the old log is never overwritten. When the
// log then holds more than kMaxLogLines lines, all of them go to events_old.log and events.log starts
// again with `rotationLine` alone. events.log is saved; with `retry` a failed save is tried once more
// after 1000 ms on the platform clock, and then the line is given up.
//
// A failure to write events_old.log ends the call without touching events.log, and the next line tries
// the rotation again. Never raises. Not synchronised: the caller serialises calls.
TLogAppend AppendLogLine(const std::string& folder, const std::string& line, const std::string& rotationLine,
                         bool retry);

inline constexpr int kMaxLogLines = 1000;
inline constexpr const char* kLogFileName = "events.log";
inline constexpr const char* kOldLogFileName = "events_old.log";

}  // namespace velmora

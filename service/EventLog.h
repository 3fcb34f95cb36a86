#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// What became of a line given to TEventLog::Append.
struct TLogAppend {
  bool written = false;    // the line is on disk: in events.log, or in events_old.log after a rotation
  std::string failure;     // when not written: the error of the write that failed
  std::string setAsideAs;  // the name under which an events.log that could not be read was kept, if one was
  bool linkReplaced = false;  // events.log was a symbolic link, which a new log replaced
};

// The service's event log on disk: events.log and, after a rotation, events_old.log, both in one folder.
//
// Appending a line costs what the line costs: it is added to the end of events.log with one write, so a
// crash of the process never leaves part of a line (a write that the disk takes only in part is cut off
// again). The log's line count is kept from the last append; the file is read to count its lines only
// when someone else changed it since (or at the first line of the process). Lines are split as the
// string list splits them: at CR LF, CR or LF. A line longer than kMaxLogLineBytes is cut to that length
// and ends with kCutMark. Lines already in the log are kept byte for byte; one that lacks its line end
// gets one before the new line.
//
// A missing events.log is begun anew. A symbolic link in its place is replaced by a new log: its target is
// neither read nor written. One that exists but cannot be read (no read permission, a folder or a FIFO in
// its place) is kept aside under events.log.unreadable (events.log.unreadable.1, .2, ... when that name
// is taken) and a new log begins; when it cannot be moved either, the line is not written, so the old log
// is never overwritten. When the log then holds more than kMaxLogLines lines, events.log (flushed to disk
// first) becomes events_old.log, replacing it in one step, and a new events.log starts with
// `rotationLine` alone. With `retry` a failed write is tried once more after 1000 ms on the platform
// clock, and then the line is given up.
//
// A failure to rename events.log to events_old.log takes the line out of events.log again and ends the
// call, and the next line tries the rotation again. Never raises. Not synchronised: the caller serialises
// calls, and only one process writes the log (the service's instance lock).
class TEventLog {
public:
  TLogAppend Append(const std::string& folder, const std::string& line, const std::string& rotationLine, bool retry);

private:
  TLogAppend TryAppend(const std::string& folder, const std::string& line, const std::string& rotationLine);

  // The log as the last append left it; another file, or another size, means that someone else changed it.
  struct TKnownLog {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = -1;
    int lines = 0;
  } known_;
};

// A line cut to kMaxLogLineBytes with kCutMark at its end, never inside a UTF-8 sequence; shorter lines
// as they are.
std::string CutLogLine(const std::string& line);

inline constexpr int kMaxLogLines = 1000;
inline constexpr size_t kMaxLogLineBytes = 2000;
inline constexpr const char* kCutMark = " [cut]";
inline constexpr const char* kLogFileName = "events.log";
inline constexpr const char* kOldLogFileName = "events_old.log";

}  // namespace velmora

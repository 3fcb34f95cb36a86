#include "service/EventLog.h"

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"

namespace velmora {

namespace {

// "" when saved, else the error.
std::string Save(const platform::TStringList& lines, const std::string& path) {
  try {
    lines.SaveToFile(path);
    return {};
  } catch (const platform::Exception& e) {
    return e.Message();
  }
}

// Moves an unreadable log out of the way under the first free name; "" when it cannot be moved.
std::string SetAside(const std::string& logPath) {
  std::string name = logPath + ".unreadable";
  for (int number = 1; platform::PathExists(name); ++number) name = logPath + ".unreadable." + std::to_string(number);
  return platform::RenameFile(logPath, name) ? name : "";
}

}  // namespace

TLogAppend AppendLogLine(const std::string& folder, const std::string& line, const std::string& rotationLine,
                         bool retry) {
  const std::string logPath = folder + kLogFileName;
  TLogAppend result;
  platform::TStringList lines;
  if (platform::PathExists(logPath)) {
    try {
      lines.LoadFromFile(logPath);
    } catch (const platform::Exception& e) {
      lines.Clear();
      result.setAsideAs = SetAside(logPath);
      if (result.setAsideAs.empty()) {
        result.failure = e.Message() + " It cannot be moved aside either.";
        return result;
      }
    }
  }
  lines.Add(line);
  if (lines.Count() > kMaxLogLines) {
    result.failure = Save(lines, folder + kOldLogFileName);
    if (!result.failure.empty()) return result;
    lines.Clear();
    lines.Add(rotationLine);
  }
  result.failure = Save(lines, logPath);
  if (!result.failure.empty() && retry) {
    platform::Sleep(1000);
    result.failure = Save(lines, logPath);
  }
  result.written = result.failure.empty();
  return result;
}

}  // namespace velmora

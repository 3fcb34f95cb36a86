#include "service/EventLog.h"

#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"

namespace velmora {

namespace {

bool TrySave(const platform::TStringList& lines, const std::string& path) {
  try {
    lines.SaveToFile(path);
    return true;
  } catch (const platform::Exception&) {
    return false;
  }
}

}  // namespace

bool AppendLogLine(const std::string& folder, const std::string& line, const std::string& rotationLine) {
  const std::string logPath = folder + kLogFileName;
  platform::TStringList lines;
  if (platform::FileExists(logPath)) {
    try {
      lines.LoadFromFile(logPath);
    } catch (const platform::Exception&) {
      lines.Clear();
    }
  }
  lines.Add(line);
  if (lines.Count() > kMaxLogLines) {
    if (!TrySave(lines, folder + kOldLogFileName)) return false;
    lines.Clear();
    lines.Add(rotationLine);
  }
  if (!TrySave(lines, logPath)) {
    platform::Sleep(1000);
    TrySave(lines, logPath);
  }
  return true;
}

}  // namespace velmora

#include "service/EventLog.h"

#include <memory>

#include "platform/core/AppendFile.h"
#include "platform/core/Clock.h"
#include "platform/core/Files.h"

namespace velmora {

namespace {

// Moves an unreadable log out of the way under the first free name; "" when it cannot be moved.
std::string SetAside(const std::string& logPath) {
  std::string name = logPath + ".unreadable";
  for (int number = 1; platform::PathExists(name); ++number) name = logPath + ".unreadable." + std::to_string(number);
  return platform::RenameFile(logPath, name) ? name : "";
}

// The lines of a text as the string list splits it: at CR LF, CR or LF, a last line without its end
// counted too.
int CountLines(const std::string& text) {
  int lines = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') ++lines;
  }
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') ++lines;
  return lines;
}

bool EndsLine(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::string CutLogLine(const std::string& line) {
  if (line.size() <= kMaxLogLineBytes) return line;
  size_t end = kMaxLogLineBytes - std::char_traits<char>::length(kCutMark);
  // Not inside a UTF-8 sequence: back to the byte that begins it.
  for (int back = 0; back < 3 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80; ++back) --end;
  return line.substr(0, end) + kCutMark;
}

TLogAppend TEventLog::Append(const std::string& folder, const std::string& line, const std::string& rotationLine,
                             bool retry) {
  TLogAppend result = TryAppend(folder, line, rotationLine);
  if (!result.written && retry && result.setAsideAs.empty()) {
    platform::Sleep(1000);
    const bool linkReplaced = result.linkReplaced;
    result = TryAppend(folder, line, rotationLine);
    result.linkReplaced = result.linkReplaced || linkReplaced;
  }
  return result;
}

TLogAppend TEventLog::TryAppend(const std::string& folder, const std::string& line, const std::string& rotationLine) {
  const std::string logPath = folder + kLogFileName;
  TLogAppend result;
  auto log = std::make_unique<platform::TAppendFile>(logPath);
  if (log->Opened() == platform::TAppendFile::TOpened::SymbolicLink && platform::DeleteFile(logPath)) {
    result.linkReplaced = true;
    log = std::make_unique<platform::TAppendFile>(logPath);
  }
  if (log->Opened() != platform::TAppendFile::TOpened::Yes && platform::PathExists(logPath)) {
    result.setAsideAs = SetAside(logPath);
    if (result.setAsideAs.empty()) {
      result.failure = log->Error() + " It cannot be moved aside either.";
      return result;
    }
    log = std::make_unique<platform::TAppendFile>(logPath);
  }
  if (log->Opened() != platform::TAppendFile::TOpened::Yes) {
    result.failure = log->Error();
    return result;
  }

  const platform::TFileIdentity before = log->Identity();
  std::string bytes = CutLogLine(line) + "\r\n";
  if (!(before == platform::TFileIdentity{known_.device, known_.inode, known_.size})) {
    // Changed by someone else, or not yet seen by this process: its lines are counted once.
    std::string content;
    if (!log->ReadAll(content)) {
      result.failure = log->Error();
      return result;
    }
    known_.lines = CountLines(content);
    if (!content.empty() && !EndsLine(content.back())) bytes.insert(0, "\r\n");
  }
  known_.size = -1;  // unknown until the append below succeeds
  if (!log->Append(bytes)) {
    result.failure = log->Error();
    return result;
  }
  const int lines = known_.lines + CountLines(bytes) - (bytes.starts_with("\r\n") ? 1 : 0);
  result.written = true;
  if (lines <= kMaxLogLines) {
    known_ = {before.device, before.inode, before.size + static_cast<int64_t>(bytes.size()), lines};
    return result;
  }

  // The rotation: the whole log, this line included, becomes events_old.log in one step.
  if (!log->Flush() || !platform::RenameFile(logPath, folder + kOldLogFileName)) {
    result.failure = log->Error().empty() ? "Cannot rename file \"" + logPath + "\" to \"" + folder +
                                                kOldLogFileName + "\"."
                                          : log->Error();
    log->CutTo(before.size);
    result.written = false;
    return result;
  }
  platform::TAppendFile fresh(logPath);
  // When the new log cannot be begun, the next line begins it: this one is in events_old.log.
  if (fresh.Opened() == platform::TAppendFile::TOpened::Yes && fresh.Append(CutLogLine(rotationLine) + "\r\n")) {
    const platform::TFileIdentity now = fresh.Identity();
    known_ = {now.device, now.inode, now.size, 1};
  }
  return result;
}

}  // namespace velmora

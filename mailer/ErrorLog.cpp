#include "mailer/ErrorLog.h"

#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace quillet {

bool TErrorLog::Write(const std::string& message) {
  try {
    std::string content;
    if (written_ && platform::FileExists(path_)) content = platform::ReadFileBytes(path_);
    platform::WriteFileAtomic(path_, content + message);
  } catch (const platform::Exception&) {
    return false;
  }
  written_ = true;
  return true;
}

bool WriteErrorLog(const std::string& message) {
  static TErrorLog log(platform::ExeDir() + "fehler.log");  // the exception hook runs on the main thread only
  return log.Write(message);
}

}  // namespace quillet

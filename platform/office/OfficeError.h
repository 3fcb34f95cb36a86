#pragma once

#include <string>

#include "platform/core/Exception.h"

namespace platform {

// The automation exception: every failure of the office facades (spreadsheet, word processor, database)
// that is not one of the grid's own messages. The message is "<file>: <reason>" (the reason alone when
// no file is concerned yet); both parts stay readable on their own.
class EOleException : public Exception {
public:
  EOleException(std::string fileName, std::string reason)
      : Exception(fileName.empty() ? reason : fileName + ": " + reason),
        fileName_(std::move(fileName)),
        reason_(std::move(reason)) {}

  const std::string& FileName() const noexcept { return fileName_; }
  const std::string& Reason() const noexcept { return reason_; }

private:
  std::string fileName_;
  std::string reason_;
};

}  // namespace platform

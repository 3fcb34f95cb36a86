#pragma once

#include <exception>
#include <string>

namespace platform {

// Root of every exception class of the system. Handlers that catch "any failure" catch this class and
// show or log Message() unchanged.
class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

private:
  std::string message_;
};

// A text that cannot be converted to the number or date that was asked for.
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// A file that cannot be opened, created, read or written; the message names the file.
class EFileError : public Exception {
public:
  using Exception::Exception;
};

class EFOpenError : public EFileError {
public:
  using EFileError::EFileError;
};

class EFCreateError : public EFileError {
public:
  using EFileError::EFileError;
};

// An index outside a list's bounds.
class EListError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace platform

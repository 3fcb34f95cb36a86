#pragma once

#include <string>

#include "platform/core/Exception.h"

namespace velmora {

// The exceptions of the ICMP client and its socket layer. The service's ping step counts every one of
// them as no answer.

// Root exception class of the socket units.
class ENxException : public platform::Exception {
public:
  using Exception::Exception;
};

// Failures that are part of normal operation and need no message box.
class ENxSilentException : public ENxException {
public:
  using ENxException::ENxException;
};

class ENxConnClosedGracefully : public ENxSilentException {
public:
  ENxConnClosedGracefully() : ENxSilentException("Connection Closed Gracefully.") {}
};

// A failed socket call, with its Winsock error code and the text "Socket Error # <code>\r\n<text>".
class ENxSocketError : public ENxException {
public:
  explicit ENxSocketError(int AErrorCode);
  int LastError() const { return lastError_; }

private:
  int lastError_;
};

class ENxSocketHandleError : public ENxException {
public:
  using ENxException::ENxException;
};

class ENxPackageSizeTooBig : public ENxSocketHandleError {
public:
  ENxPackageSizeTooBig() : ENxSocketHandleError("Package Size Too Big.") {}
};

class ENxNotAllBytesSent : public ENxSocketHandleError {
public:
  ENxNotAllBytesSent() : ENxSocketHandleError("Not all bytes sent.") {}
};

}  // namespace velmora

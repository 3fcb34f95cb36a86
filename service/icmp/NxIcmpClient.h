#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "service/icmp/IcmpEcho.h"
#include "service/icmp/NxRawClient.h"

namespace velmora {

class TNxIcmpClient;

using TOnReplyEvent = std::function<void(TNxIcmpClient* ASender, const TReplyStatus& AReplyStatus)>;

// The ICMP echo client: Ping sends one echo request to Host and waits, at most ReceiveTimeout ms, for
// the datagram that answers it; then OnReply gets the outcome. Each ping runs in this order: build the
// request, resolve Host and send, wait and decode, close the socket, OnReply, advance the sequence number.
// Not safe for concurrent pings: its owner serialises them.
class TNxIcmpClient : public TNxRawClient {
public:
  explicit TNxIcmpClient(platform::TComponent* AOwner = nullptr);  // Protocol 1 (ICMP), ReceiveTimeout 5000 ms

  // One echo with payload AData; a non-zero ASequence first replaces the current sequence number. No
  // reply in time is a normal outcome (ByteCount 0). Raises the socket layer's exceptions and
  // ENxIcmpException; then OnReply is not called, the sequence number stays and the socket stays open for
  // the next ping.
  void Ping(const std::string& AData = "", uint16_t ASequence = 0);

  // The outcome of the last ping, kept until the next one.
  const TReplyStatus& ReplyStatus() const { return replyStatus_; }
  // The data of the last accepted echo reply (the payload behind the tick count).
  const std::string& ReplyData() const { return replyData_; }

  TOnReplyEvent OnReply;

private:
  // Receives and decodes datagrams until one answers the request or ATimeOut ms have passed.
  TReplyStatus ReceiveReply(int ATimeOut);

  uint16_t sequence_ = 3489;  // wraps at 65536
  TEchoRequest request_{};
  std::array<uint8_t, 1024> receiveBuffer_{};
  TReplyStatus replyStatus_;
  std::string replyData_;
};

}  // namespace velmora

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
// the datagram that answers it (DecodeReply says which one does); then OnReply gets the outcome. Each
// ping runs in this order: build the request, resolve Host and send, wait and decode, close the socket,
// OnReply, advance the sequence number. Not safe for concurrent pings: its owner serialises them.
//
// The sequence number starts at an unpredictable value, so that pingers in other processes do not send
// the same numbers, and every ping, answered or failed, leaves the next one a number of its own.
class TNxIcmpClient : public TNxRawClient {
public:
  explicit TNxIcmpClient(platform::TComponent* AOwner = nullptr);  // Protocol 1 (ICMP), ReceiveTimeout 5000 ms

  // One echo with payload AData; a non-zero ASequence first replaces the current sequence number. No
  // reply in time is a normal outcome (ByteCount 0). Raises the socket layer's exceptions; then OnReply
  // is not called, and the socket is closed and the sequence number advanced, so that nothing that
  // arrives for the failed ping can answer the next one.
  void Ping(const std::string& AData = "", uint16_t ASequence = 0);

  // The outcome of the last ping, kept until the next one.
  const TReplyStatus& ReplyStatus() const { return replyStatus_; }
  // The data of the last accepted echo reply (the payload behind the tick count).
  const std::string& ReplyData() const { return replyData_; }

  TOnReplyEvent OnReply;

private:
  // Receives and decodes datagrams until one answers ASent or ATimeOut ms have passed.
  TReplyStatus ReceiveReply(const TSentEcho& ASent, int ATimeOut);

  uint16_t sequence_;  // wraps at 65536
  TEchoRequest request_{};
  std::array<uint8_t, 1024> receiveBuffer_{};
  TReplyStatus replyStatus_;
  std::string replyData_;
};

}  // namespace velmora

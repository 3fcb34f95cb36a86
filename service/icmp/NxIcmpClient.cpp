#include "service/icmp/NxIcmpClient.h"

#include <cstdint>
#include <span>

#include "service/icmp/NxGlobal.h"

namespace velmora {

TNxIcmpClient::TNxIcmpClient(platform::TComponent* AOwner) : TNxRawClient(AOwner) {
  Protocol = 1;
  ReceiveTimeout = 5000;
}

void TNxIcmpClient::Ping(const std::string& AData, uint16_t ASequence) {
  if (ASequence != 0) sequence_ = ASequence;
  request_ = BuildEchoRequest(static_cast<uint16_t>(CurrentProcessId()), sequence_, Ticks(), AData);
  const uint32_t started = Ticks();
  Send(Host, Port, request_);
  replyStatus_ = ReceiveReply(ReceiveTimeout);
  replyStatus_.RoundTripMs = GetTickDiff(started, Ticks());
  CloseSocket();
  if (OnReply) OnReply(this, replyStatus_);
  ++sequence_;
}

TReplyStatus TNxIcmpClient::ReceiveReply(int ATimeOut) {
  receiveBuffer_.fill(0);
  const uint32_t started = Ticks();
  int remaining = ATimeOut;
  TReplyStatus reply;
  for (;;) {
    const int received = ReceiveBuffer(receiveBuffer_, remaining);
    if (DecodeReply(std::span<const uint8_t>(receiveBuffer_).first(static_cast<size_t>(received)), sequence_, reply,
                    replyData_)) {
      return reply;
    }
    const int64_t left = int64_t{ATimeOut} - GetTickDiff(started, Ticks());
    // Only datagrams of others came: that is a time-out like no datagram at all.
    if (left <= 0) return TimedOutStatus(sequence_);
    remaining = static_cast<int>(left);
  }
}

}  // namespace velmora

#include "service/icmp/NxIcmpClient.h"

#include <cstdint>
#include <span>

#include "platform/core/Random.h"
#include "service/icmp/NxGlobal.h"
#include "service/icmp/NxStack.h"

namespace velmora {

TNxIcmpClient::TNxIcmpClient(platform::TComponent* AOwner)
    : TNxRawClient(AOwner), sequence_(static_cast<uint16_t>(platform::UnpredictableNumber())) {
  Protocol = 1;
  ReceiveTimeout = 5000;
  ReceivedIcmpTypes = AnswerIcmpTypes;
}

void TNxIcmpClient::Ping(const std::string& AData, uint16_t ASequence) {
  if (ASequence != 0) sequence_ = ASequence;
  const uint16_t identifier = static_cast<uint16_t>(CurrentProcessId());
  request_ = BuildEchoRequest(identifier, sequence_, Ticks(), AData);
  const uint32_t started = Ticks();
  try {
    const std::string address = Send(Host, Port, request_);
    replyStatus_ = ReceiveReply({TNxStack::StringToTInAddr(address), SentEchoIdentifier(identifier), sequence_},
                                ReceiveTimeout);
  } catch (...) {
    // What was queued for this ping goes with the socket; the next ping asks with another number.
    CloseSocket();
    ++sequence_;
    throw;
  }
  replyStatus_.RoundTripMs = GetTickDiff(started, Ticks());
  CloseSocket();
  if (OnReply) OnReply(this, replyStatus_);
  ++sequence_;
}

TReplyStatus TNxIcmpClient::ReceiveReply(const TSentEcho& ASent, int ATimeOut) {
  receiveBuffer_.fill(0);
  const uint32_t started = Ticks();
  int remaining = ATimeOut;
  TReplyStatus reply;
  for (;;) {
    const int received = ReceiveBuffer(receiveBuffer_, remaining);
    if (DecodeReply(std::span<const uint8_t>(receiveBuffer_).first(static_cast<size_t>(received)), ASent, reply,
                    replyData_)) {
      return reply;
    }
    const int64_t left = int64_t{ATimeOut} - GetTickDiff(started, Ticks());
    // Only datagrams of others came: that is a time-out like no datagram at all.
    if (left <= 0) return TimedOutStatus(ASent.Sequence);
    remaining = static_cast<int>(left);
  }
}

}  // namespace velmora

#include "service/icmp/NxRawBase.h"

#include <algorithm>

#include "platform/core/Clock.h"
#include "service/icmp/NxSocketTransport.h"

namespace velmora {

TNxRawBase::TNxRawBase(platform::TComponent* AOwner) : TNxComponent(AOwner), transport_(std::make_unique<TNxSocketTransport>()) {}

TNxRawBase::~TNxRawBase() { transport_->Close(); }

void TNxRawBase::SetTransport(std::unique_ptr<TNxRawTransport> ATransport) {
  transport_->Close();
  transport_ = std::move(ATransport);
}

void TNxRawBase::GetSocket() { transport_->Open(Protocol, TTL, ReceivedIcmpTypes); }

int TNxRawBase::ReceiveBuffer(std::span<uint8_t> ABuffer, int ATimeOut) {
  if (ABuffer.empty()) return 0;
  if (ATimeOut < 0) ATimeOut = ReceiveTimeout;
  if (!OnWaiting) return transport_->ReceiveWithin(ABuffer, ATimeOut);
  const int64_t deadline = platform::MonotonicMs() + ATimeOut;
  for (;;) {
    // OnWaiting may end past the deadline; a negative time-out would wait without limit.
    const int64_t left = std::max<int64_t>(deadline - platform::MonotonicMs(), 0);
    const int received = transport_->ReceiveWithin(ABuffer, static_cast<int>(std::min<int64_t>(left, kWaitStepMs)));
    if (received > 0 || left <= kWaitStepMs) return received;
    OnWaiting();
  }
}

std::string TNxRawBase::Send(const std::string& AHost, int APort, std::span<const uint8_t> ABuffer) {
  GetSocket();
  return transport_->SendTo(AHost, APort, ABuffer);
}

uint16_t TNxRawBase::SentEchoIdentifier(uint16_t AWritten) { return transport_->SentEchoIdentifier(AWritten); }

void TNxRawBase::CloseSocket() { transport_->Close(); }

}  // namespace velmora

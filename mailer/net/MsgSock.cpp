#include "mailer/net/MsgSock.h"

#include <algorithm>
#include <cstring>

#include "mailer/net/WinsockErrorText.h"
#include "platform/net/HostLookup.h"
#include "platform/net/SocketError.h"
#include "platform/app/Application.h"

namespace mailnet {

namespace {

constexpr int kNotConnected = 10057;

// The value of the line's leading decimal digits (at most 10), 0 when it begins with none; values
// above 32767 are no reply number.
int LeadingNumber(const std::string& line) {
  long long value = 0;
  for (size_t i = 0; i < line.size() && i < 10 && line[i] >= '0' && line[i] <= '9'; ++i) {
    value = value * 10 + (line[i] - '0');
  }
  if (value > 32767) throw ESockError(InvalidReplyText(line));
  return static_cast<int>(value);
}

}  // namespace

std::string InvalidReplyText(const std::string& line) { return "Ungültige Antwort des Servers: " + line; }

TMsgSock::TimeOutScope::TimeOutScope(TMsgSock& sock) : sock_(sock) {
  if (sock_.timeOutScopes_++ == 0) sock_.TimerOn();
}

TMsgSock::TimeOutScope::~TimeOutScope() {
  if (--sock_.timeOutScopes_ == 0) sock_.TimerOff();
}

TMsgSock::TMsgSock(platform::TComponent* AOwner) : TComponent(AOwner), timer_(new TThreadTimer(this)) {
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { TimerFired(); };
}

TMsgSock::~TMsgSock() {
  interruption_ = Interruption::Cancelled;
  socketWatch_.Reset();
  writableWatch_.Reset();
  lookupWatch_.Reset();
}

void TMsgSock::StatusMessage(int Level, const std::string& Text) {
  if (ReportLevel < Level) return;
  status_ = Text;
  try {
    if (OnStatus) OnStatus(this, Text);
  } catch (...) {
    // A status display must not break the operation it reports on.
  }
}

// A time-out belongs to the step it ended; a cancel holds until the next Connect.
void TMsgSock::TimerOn() {
  StatusMessage(8, "Zeitgeber An");
  if (interruption_ == Interruption::TimedOut) interruption_ = Interruption::None;
  timer_->SetEnabled(false);
  if (TimeOut <= 0) return;
  timer_->SetInterval(static_cast<platform::UINT>(TimeOut));
  timer_->SetEnabled(true);
}

void TMsgSock::TimerOff() { timer_->SetEnabled(false); }

void TMsgSock::TimerFired() {
  TimerOff();
  if (interruption_ == Interruption::None) interruption_ = Interruption::TimedOut;
}

void TMsgSock::WaitUntil(const std::function<bool()>& done) {
  platform::Application().HandleMessagesUntil([&] { return interruption_ != Interruption::None || done(); });
  if (!done() && platform::Application().Terminated() && interruption_ == Interruption::None) {
    interruption_ = Interruption::Cancelled;  // the program is ending
  }
}

// Raises the time-out or abort error of an interrupted wait. The component stays cancelled after a
// time-out too: the dialogue it broke off cannot go on.
void TMsgSock::RaiseIfInterrupted(const std::string& operation) {
  switch (interruption_) {
    case Interruption::None: return;
    case Interruption::TimedOut:
      interruption_ = Interruption::Cancelled;
      throw ESockError("Zeitüberschreitung bei " + operation);
    case Interruption::Cancelled: throw EAbortError(operation + " abgebrochen");
  }
}

void TMsgSock::RaiseSocketError(int code) {
  lastError_ = code;
  throw ESockError(WinsockErrorText(code));
}

void TMsgSock::WatchSocket(unsigned events) {
  socketWatch_ = platform::MessageQueue::Current().RegisterWaitHandle(socket_.Descriptor(), events,
                                                                      [this](unsigned) { SocketEvent(); });
}

// The loop found the socket ready: a connect ended, data came, or the peer closed the connection.
void TMsgSock::SocketEvent() {
  if (state_ != State::Connecting) {
    if (state_ == State::Connected) ReadAvailable();
    return;
  }
  socketWatch_.Reset();
  int result = socket_.ConnectResult();
  if (result != 0) lastError_ = result;
  state_ = result == 0 ? State::Connected : State::Idle;
}

size_t TMsgSock::InputLimit() const {
  return std::max(static_cast<size_t>(std::max(MaxLineLength, 0)) + 2, kIoBufferSize);
}

// Takes what the socket holds into the input, up to the input's limit; at the limit the watch ends
// until ReadLn takes bytes. A close of the peer (or a reset) ends the watch; the socket is closed at once
// when no byte of the input is left, else when ReadLn has taken the last. The bytes go straight into the
// input, never through the I/O buffer: this runs inside the waits of a stream send, whose chunk in that
// buffer is still being sent.
void TMsgSock::ReadAvailable() {
  for (;;) {
    size_t room = InputLimit() - std::min(InputLimit(), Pending());
    if (room == 0) {
      socketWatch_.Reset();
      return;
    }
    size_t want = std::min(room, kIoBufferSize);
    size_t had = input_.size();
    input_.resize(had + want);
    int error = 0;
    long n = socket_.Receive(input_.data() + had, want, error);
    input_.resize(had + static_cast<size_t>(std::max(n, 0L)));
    if (n > 0) continue;
    if (n < 0 && error == platform::WsaEWouldBlock) return;
    if (n < 0) lastError_ = error;
    state_ = State::PeerClosed;
    socketWatch_.Reset();
    if (Pending() == 0) CloseAfterPeer();
    return;
  }
}

// The index past the LF of the next line in the input, or npos. Bytes already searched are not
// searched again.
size_t TMsgSock::LineEnd() {
  const char* from = input_.data() + inputStart_ + inputScanned_;
  const void* lf = std::memchr(from, '\n', Pending() - inputScanned_);
  if (lf == nullptr) {
    inputScanned_ = Pending();
    return std::string::npos;
  }
  return static_cast<size_t>(static_cast<const char*>(lf) - input_.data()) + 1;
}

// Takes count bytes from the front of the input. The taken bytes are dropped from the string only once
// they are at least as many as those left, so every byte is moved a bounded number of times.
std::string TMsgSock::TakeInput(size_t count) {
  std::string taken = input_.substr(inputStart_, count);
  inputStart_ += count;
  inputScanned_ = 0;
  if (inputStart_ >= Pending()) {
    input_.erase(0, inputStart_);
    inputStart_ = 0;
  }
  if (state_ == State::Connected && !socketWatch_.Active()) WatchSocket(platform::kWaitReadable);
  if (state_ == State::PeerClosed && Pending() == 0) CloseAfterPeer();
  return taken;
}

std::vector<platform::IpAddress> TMsgSock::Resolve() {
  platform::IpAddress address;
  if (platform::ParseIpAddress(Host, address)) return {address};
  state_ = State::Resolving;
  lookup_ = std::make_unique<platform::HostLookup>(Host);
  lookupWatch_ = platform::MessageQueue::Current().RegisterWaitHandle(
      lookup_->ReadyDescriptor(), platform::kWaitReadable, [this](unsigned) { lookupWatch_.Reset(); });
  {
    TimeOutScope timer(*this);
    WaitUntil([this] { return lookup_->Finished(); });
  }
  lookupWatch_.Reset();
  state_ = State::Idle;
  std::unique_ptr<platform::HostLookup> lookup = std::move(lookup_);
  if (!lookup->Finished()) RaiseIfInterrupted("Host-Lookup");
  platform::HostAddresses result = lookup->Result();
  if (result.error != 0) {
    lastError_ = result.error;
    StatusMessage(8, "Host-Lookup fehlgeschlagen");
    return {};
  }
  if (OnHostResolved) OnHostResolved(this);
  return result.addresses;
}

// Connects a fresh socket of the address's family; false (socket closed) when the connect failed or
// the wait was interrupted.
bool TMsgSock::ConnectTo(const platform::IpAddress& address) {
  int error = 0;
  socket_ = platform::TcpSocket::Open(error, address.family);
  if (error != 0) {
    lastError_ = error;
    return false;
  }
  state_ = State::Connecting;
  int result = socket_.StartConnect(address, static_cast<uint16_t>(Port));
  if (result == platform::WsaEWouldBlock) {
    WatchSocket(platform::kWaitWritable);
    WaitUntil([this] { return state_ != State::Connecting; });
  } else {
    if (result != 0) lastError_ = result;
    state_ = result == 0 ? State::Connected : State::Idle;
  }
  socketWatch_.Reset();
  if (state_ == State::Connected) {
    WatchSocket(platform::kWaitReadable);
    return true;
  }
  state_ = State::Idle;
  socket_.Close();
  return false;
}

void TMsgSock::NotifyConnected() {
  try {
    if (OnConnect) OnConnect(this);
  } catch (...) {
    platform::Application().HandleCurrentException();
  }
}

void TMsgSock::Connect() {
  interruption_ = Interruption::None;
  if (state_ != State::Idle) throw ESockError("Bereits verbunden");
  StatusMessage(8, "Herstellen der Verbindung");
  input_.clear();
  inputStart_ = inputScanned_ = 0;

  std::vector<platform::IpAddress> addresses;
  bool invalidHostCalled = false;
  for (;;) {
    addresses = Resolve();
    if (!addresses.empty()) break;
    if (OnInvalidHost && !invalidHostCalled) {
      invalidHostCalled = true;
      bool handled = false;
      OnInvalidHost(handled);
      if (handled) continue;
    }
    throw ESockError("Null Externe Adresse");
  }

  {
    TimeOutScope timer(*this);
    for (const platform::IpAddress& address : addresses) {
      if (ConnectTo(address)) {
        NotifyConnected();
        return;
      }
      if (interruption_ != Interruption::None) break;
    }
  }
  if (OnConnectionFailed) OnConnectionFailed(this);
  if (interruption_ == Interruption::None) throw ESockError("Verbindung fehlgeschlagen");
  RaiseIfInterrupted("Verbindung");
}

void TMsgSock::CloseSocket() {
  StatusMessage(4, "Verbindung schließen");
  state_ = State::Idle;
  socketWatch_.Reset();
  writableWatch_.Reset();
  socket_.Close();
  if (OnDisconnect) OnDisconnect(this);
}

void TMsgSock::CloseAfterPeer() {
  try {
    CloseSocket();
  } catch (...) {
    // The peer's close is no error of the operation that noticed it; OnDisconnect's failure stays there.
  }
}

void TMsgSock::Disconnect() { CloseSocket(); }

void TMsgSock::CertifyConnect() {
  if (Connected()) return;
  ConnectionRequired();
  throw platform::Exception("Nicht verbunden");
}

void TMsgSock::SendAll(const char* data, size_t count) {
  TimeOutScope timer(*this);
  while (count > 0) {
    RaiseIfInterrupted("Socket-send");
    if (!Connected()) RaiseSocketError(kNotConnected);
    int error = 0;
    long sent = socket_.Send(data, count, error);
    if (sent > 0) {
      data += sent;
      count -= static_cast<size_t>(sent);
    } else if (sent == 0) {
      throw ESockError("Socket-send: keine Daten gesendet");
    } else if (error == platform::WsaEWouldBlock) {
      // The send buffer is full: wait in the loop until the socket takes data again.
      writableWatch_ = platform::MessageQueue::Current().RegisterWaitHandle(
          socket_.Descriptor(), platform::kWaitWritable, [this](unsigned) { writableWatch_.Reset(); });
      WaitUntil([this] { return !writableWatch_.Active() || !Connected(); });
      writableWatch_.Reset();
    } else {
      RaiseSocketError(error);
    }
  }
}

void TMsgSock::Write(const std::string& Text) {
  StatusMessage(4, Text);
  SendAll(Text.data(), Text.size());
}

void TMsgSock::Writeln(const std::string& Text) {
  StatusMessage(8, "Writeln");
  Write(Text + "\r\n");
}

std::string TMsgSock::ReadLn() {
  StatusMessage(8, "ReadLn");
  TimeOutScope timer(*this);
  const size_t longest = static_cast<size_t>(std::max(MaxLineLength, 0));
  const auto tooLong = [longest] {
    return ESockError("Zeile des Servers länger als " + std::to_string(longest) + " Bytes");
  };
  for (;;) {
    size_t end = LineEnd();
    if (end != std::string::npos) {
      size_t length = end - inputStart_;
      size_t text = length - 1 - (length >= 2 && input_[end - 2] == '\r' ? 1 : 0);
      if (text > longest) throw tooLong();
      return TakeInput(length);
    }
    if (Pending() >= longest + 2) throw tooLong();  // even a CR at its end leaves more than longest bytes
    if (state_ != State::Connected) return TakeInput(Pending());
    RaiseIfInterrupted("Socket-readln");
    WaitUntil([this, longest] {
      return LineEnd() != std::string::npos || state_ != State::Connected || Pending() >= longest + 2;
    });
  }
}

int TMsgSock::Transaction(const std::string& Command) {
  StatusMessage(8, "Transaktion");
  Writeln(Command);
  lastReply_ = ReadLn();
  StatusMessage(1, lastReply_);
  replyNumber_ = LeadingNumber(lastReply_);
  return replyNumber_;
}

void TMsgSock::SendBuffer(const char* data, size_t count) {
  StatusMessage(4, "Puffer senden");
  SendAll(data, count);
  PacketSent();
  platform::Application().ProcessMessages();
}

void TMsgSock::SendStream(platform::TStream& Stream) {
  Stream.SetPosition(0);
  for (;;) {
    int64_t count = Stream.Read(ioBuffer_.data(), static_cast<int64_t>(ioBuffer_.size()));
    if (count <= 0) break;
    SendBuffer(ioBuffer_.data(), static_cast<size_t>(count));
  }
}

}  // namespace mailnet

#include "mailer/net/MsgSock.h"

#include <algorithm>

#include "mailer/net/WinsockErrorText.h"
#include "platform/net/HostLookup.h"
#include "platform/net/SocketError.h"
#include "platform/ui/Application.h"

namespace mailnet {

namespace {

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

// Runs the time-out timer for one wait.
class TimeOutScope {
public:
  explicit TimeOutScope(TMsgSock& sock) : sock_(sock) { sock_.TimerOn(); }
  TimeOutScope(const TimeOutScope&) = delete;
  TimeOutScope& operator=(const TimeOutScope&) = delete;
  ~TimeOutScope() { sock_.TimerOff(); }

private:
  TMsgSock& sock_;
};

TMsgSock::TMsgSock(platform::TComponent* AOwner) : TComponent(AOwner), timer_(new TThreadTimer(this)) {
  timer_->SetEnabled(false);
  timer_->OnTimer = [this](TObject*) { TimerFired(); };
  OpenSocket();
}

TMsgSock::~TMsgSock() {
  cancel_ = true;
  socketWatch_.Reset();
  writableWatch_.Reset();
  lookupWatch_.Reset();
}

void TMsgSock::OpenSocket() {
  int error = 0;
  socket_ = platform::TcpSocket::Open(error);
  if (error != 0) {
    lastError_ = error;
    throw ESockError("Die Initialisierung der Windows-Sockets ist fehlgeschlagen");
  }
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

void TMsgSock::TimerOn() {
  StatusMessage(8, "Zeitgeber An");
  timedOut_ = false;
  timer_->SetEnabled(false);
  if (TimeOut <= 0) return;
  timer_->SetInterval(static_cast<platform::UINT>(TimeOut));
  timer_->SetEnabled(true);
}

void TMsgSock::TimerOff() { timer_->SetEnabled(false); }

void TMsgSock::TimerFired() {
  TimerOff();
  timedOut_ = true;
  lookupDone_ = true;
  Cancel();
}

void TMsgSock::WaitUntil(const std::function<bool()>& done) {
  platform::Application().HandleMessagesUntil([&] { return cancel_ || done(); });
  if (!done() && platform::Application().Terminated()) cancel_ = true;  // the program is ending
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
// Exceptions of the handlers called from here are swallowed, as the loop's caller cannot act on them.
void TMsgSock::SocketEvent() {
  try {
    if (!connecting_) {
      ReadAvailable();
      return;
    }
    connecting_ = false;
    int result = socket_.ConnectResult();
    lastEventSucceeded_ = result == 0;
    if (result != 0) {
      lastError_ = result;
      socketWatch_.Reset();
      return;
    }
    connected_ = true;
    WatchSocket(platform::kWaitReadable);
    if (OnConnect) OnConnect(this);
  } catch (...) {
  }
}

// Takes everything the socket holds into the input. A close of the peer (or a reset) ends the watch;
// the socket is closed at once when no byte of the input is left, else when ReadLn has taken the last.
// The bytes go straight into the input, never through the I/O buffer: this runs inside the waits of a
// stream send, whose chunk in that buffer is still being sent.
void TMsgSock::ReadAvailable() {
  for (;;) {
    int error = 0;
    size_t had = input_.size();
    input_.resize(had + kIoBufferSize);
    long n = socket_.Receive(input_.data() + had, kIoBufferSize, error);
    input_.resize(had + static_cast<size_t>(std::max(n, 0L)));
    if (n > 0) continue;
    if (n < 0 && error == platform::WsaEWouldBlock) return;
    if (n < 0) lastError_ = error;
    lastEventSucceeded_ = n == 0;
    peerClosed_ = true;
    socketWatch_.Reset();
    if (input_.empty() && connected_) CloseAfterPeer();
    return;
  }
}

platform::Ipv4Address TMsgSock::Resolve() {
  platform::Ipv4Address address{};
  if (platform::ParseDottedAddress(Host, address)) return address;
  lookupDone_ = false;
  lookup_ = std::make_unique<platform::HostLookup>(Host);
  lookupWatch_ = platform::MessageQueue::Current().RegisterWaitHandle(
      lookup_->ReadyDescriptor(), platform::kWaitReadable, [this](unsigned) {
        lookupDone_ = true;
        lookupWatch_.Reset();
      });
  {
    TimeOutScope timer(*this);
    // A lookup that could not get its descriptor is finished before any signal could come.
    WaitUntil([this] { return lookupDone_ || lookup_->Finished(); });
  }
  lookupWatch_.Reset();
  std::unique_ptr<platform::HostLookup> lookup = std::move(lookup_);
  if (timedOut_) throw ESockError("Zeitüberschreitung bei Host-Lookup");
  if (!lookup->Finished()) throw EAbortError("Host-Lookup abgebrochen");
  platform::ResolveResult result = lookup->Result();
  if (result.error != 0) {
    lastError_ = result.error;
    StatusMessage(8, "Host-Lookup fehlgeschlagen");
    return {};
  }
  if (OnHostResolved) OnHostResolved(this);
  return result.address;
}

void TMsgSock::Connect() {
  cancel_ = false;
  if (connected_) throw ESockError("Bereits verbunden");
  StatusMessage(8, "Herstellen der Verbindung");
  if (!socket_.IsValid()) OpenSocket();
  input_.clear();
  peerClosed_ = false;

  bool invalidHostCalled = false;
  for (;;) {
    address_ = Resolve();
    if (address_ != platform::Ipv4Address{}) break;
    if (OnInvalidHost && !invalidHostCalled) {
      invalidHostCalled = true;
      bool handled = false;
      OnInvalidHost(handled);
      if (handled) continue;
    }
    throw ESockError("Null Externe Adresse");
  }

  int result = socket_.StartConnect(address_, static_cast<uint16_t>(Port));
  if (result == 0) {
    connected_ = true;
    WatchSocket(platform::kWaitReadable);
    if (OnConnect) OnConnect(this);
    return;
  }
  if (result == platform::WsaEWouldBlock) {
    connecting_ = true;
    WatchSocket(platform::kWaitWritable);
    TimeOutScope timer(*this);
    WaitUntil([this] { return !connecting_; });
  } else {
    lastError_ = result;
  }
  connecting_ = false;
  if (connected_) return;

  // A socket whose connect failed cannot connect again: the next attempt gets a fresh one.
  socketWatch_.Reset();
  socket_.Close();
  try {
    OpenSocket();
  } catch (const ESockError&) {
    // Connect opens one when it finds none.
  }
  if (OnConnectionFailed) OnConnectionFailed(this);
  if (timedOut_) throw ESockError("Zeitüberschreitung bei Verbindung");
  if (cancel_) throw EAbortError("Verbindung abgebrochen");
  throw ESockError("Verbindung fehlgeschlagen");
}

void TMsgSock::CloseSocket() {
  StatusMessage(4, "Verbindung schließen");
  connected_ = false;
  connecting_ = false;
  socketWatch_.Reset();
  writableWatch_.Reset();
  socket_.Close();
  try {
    OpenSocket();
  } catch (const ESockError&) {
    // Connect opens one when it finds none.
  }
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
  if (connected_) return;
  ConnectionRequired();
  throw platform::Exception("Nicht verbunden");
}

void TMsgSock::SendAll(const char* data, size_t count) {
  TimeOutScope timer(*this);
  while (count > 0) {
    if (cancel_) throw EAbortError("Socket-send abgebrochen");
    int error = 0;
    long sent = socket_.Send(data, count, error);
    if (sent > 0) {
      data += sent;
      count -= static_cast<size_t>(sent);
    } else if (sent == 0) {
      throw ESockError("Socket-send: keine Daten gesendet");
    } else if (error == platform::WsaEWouldBlock) {
      // The send buffer is full: wait in the loop until the socket takes data again.
      writable_ = false;
      writableWatch_ = platform::MessageQueue::Current().RegisterWaitHandle(
          socket_.Descriptor(), platform::kWaitWritable, [this](unsigned) {
            writable_ = true;
            writableWatch_.Reset();
          });
      WaitUntil([this] { return writable_; });
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
  for (;;) {
    size_t lf = input_.find('\n');
    bool ended = lf == std::string::npos && (peerClosed_ || !connected_);
    if (lf != std::string::npos || ended) {
      size_t count = ended ? input_.size() : lf + 1;
      std::string line = input_.substr(0, count);
      input_.erase(0, count);
      if (peerClosed_ && input_.empty() && connected_) CloseAfterPeer();
      return line;
    }
    if (cancel_) throw EAbortError("Socket-readln abgebrochen");
    WaitUntil([this] { return input_.find('\n') != std::string::npos || peerClosed_ || !connected_; });
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

void TMsgSock::SendStream(platform::TStream& Stream) {
  Stream.SetPosition(0);
  for (;;) {
    int64_t count = Stream.Read(ioBuffer_.data(), static_cast<int64_t>(ioBuffer_.size()));
    if (count <= 0) break;
    StatusMessage(4, "Puffer senden");
    SendAll(ioBuffer_.data(), static_cast<size_t>(count));
    PacketSent();
    platform::Application().ProcessMessages();
  }
}

}  // namespace mailnet

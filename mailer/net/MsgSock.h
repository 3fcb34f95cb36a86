#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Exception.h"
#include "platform/core/Streams.h"
#include "platform/net/IpAddress.h"
#include "platform/net/TcpSocket.h"
#include "platform/app/Component.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/Timer.h"

namespace platform {
class HostLookup;
}

namespace mailnet {

using platform::TNotifyEvent;
using platform::TObject;

// A failure of the socket layer; the message is the layer's (German) text or a Winsock error text.
class ESockError : public platform::Exception {
public:
  using Exception::Exception;
};

// A wait that was cancelled (by Cancel or Abort): an ordinary error, not a silent abort.
class EAbortError : public ESockError {
public:
  using ESockError::ESockError;
};

using THandlerEvent = std::function<void(bool& Handled)>;
using TOnHostResolved = std::function<void(TObject* Sender)>;
using TOnStatus = std::function<void(TObject* Sender, const std::string& Status)>;

// The time-out timer of the socket component: the platform's timer component, firing OnTimer every
// Interval ms on its owner's thread while Enabled.
class TThreadTimer : public platform::TTimer {
public:
  using TTimer::TTimer;
};

// The text of the error raised for a server reply that is no reply ("Ungültige Antwort des Servers: "
// and the line).
std::string InvalidReplyText(const std::string& line);

// A TCP client component driven by the thread's message loop. The socket is non-blocking and registered
// with the loop; every wait (host lookup, connect, read, send) runs the loop until its condition holds,
// sleeping on the socket, a timer or a message in the meantime, so the handlers of other components run
// inside a wait. Single thread: everything runs on the thread that created the component.
//
// TimeOut (ms, 0 = none) bounds each step through TThreadTimer: a host lookup, a connect (to all the
// host's addresses together), a ReadLn, a send, or a step that a descendant makes of several of them
// (TimeOutScope). A time-out raises ESockError "Zeitüberschreitung bei ..."; a cancel raises EAbortError
// "... abgebrochen". Either leaves the component cancelled until the next Connect.
//
// Input is read in linear time and bounded: reading stops while the input holds MaxLineLength + 2 bytes
// (at least 64 KiB) not yet taken, and ReadLn refuses a longer line.
//
// Order of use: Connect (lookup, connect), then Write/Writeln/ReadLn/Transaction/SendStream, then
// Disconnect. After a close (Disconnect or the peer's) Connect works again.
class TMsgSock : public platform::TComponent {
public:
  explicit TMsgSock(platform::TComponent* AOwner);
  ~TMsgSock() override;

  std::string Host;
  int Port = 0;
  int TimeOut = 0;  // ms for each step; 0 waits without limit
  int ReportLevel = 1;
  int MaxLineLength = 1 << 20;  // the longest line ReadLn hands out, without its CR LF

  TNotifyEvent OnDisconnect;
  TNotifyEvent OnConnect;  // its exceptions go to the application's exception hook
  TNotifyEvent OnConnectionFailed;
  THandlerEvent OnInvalidHost;
  TOnHostResolved OnHostResolved;
  TOnStatus OnStatus;

  // Resolves Host (a numeric IPv4 or IPv6 address directly, a name through a lookup off this thread) and
  // connects to Port, trying the host's addresses in the resolver's order. Raises ESockError "Bereits
  // verbunden", "Zeitüberschreitung bei Host-Lookup", "Null Externe Adresse", "Zeitüberschreitung bei
  // Verbindung", "Verbindung fehlgeschlagen", or EAbortError "Host-Lookup abgebrochen" /
  // "Verbindung abgebrochen".
  virtual void Connect();
  // Closes the connection and calls OnDisconnect.
  virtual void Disconnect();
  // Calls ConnectionRequired and raises "Nicht verbunden" unless connected.
  void CertifyConnect();

  // Sends every byte of Text (ESockError for a socket failure, a time-out or a send that took nothing).
  void Write(const std::string& Text);
  void Writeln(const std::string& Text);
  // One line through its LF, CR LF included. When the peer closed the connection it returns what came
  // before the close: "" when nothing came, a line without LF when the peer closed in the middle of it.
  // A line longer than MaxLineLength raises ESockError "Zeile des Servers länger als <n> Bytes".
  std::string ReadLn();
  // Writeln(Command), then ReadLn into LastReply; ReplyNumber is the value of the line's leading digits
  // (0 without digits). Returns ReplyNumber.
  int Transaction(const std::string& Command);
  // Rewinds Stream and sends all of it in chunks of the I/O buffer's size, calling PacketSent after each.
  void SendStream(platform::TStream& Stream);

  // End the running wait with its abort error.
  void Cancel() { interruption_ = Interruption::Cancelled; }
  void Abort() { Cancel(); }

  // Keeps Text as the status and passes it to OnStatus when ReportLevel >= Level (1 server replies,
  // 4 sends and closes, 8 every step). Exceptions from the handler are swallowed.
  void StatusMessage(int Level, const std::string& Text);

  // Connected from the connect until the close; after the peer's close until ReadLn took the last byte.
  bool Connected() const { return state_ == State::Connected || state_ == State::PeerClosed; }
  const std::string& LastReply() const { return lastReply_; }
  int ReplyNumber() const { return replyNumber_; }
  const std::string& Status() const { return status_; }
  int LastErrorNo() const { return lastError_; }

protected:
  // Makes the waits of its lifetime one step under one time-out; a scope inside another is part of it.
  class TimeOutScope {
  public:
    explicit TimeOutScope(TMsgSock& sock);
    TimeOutScope(const TimeOutScope&) = delete;
    TimeOutScope& operator=(const TimeOutScope&) = delete;
    ~TimeOutScope();

  private:
    TMsgSock& sock_;
  };

  // Called when an operation needs a connection that is not there.
  virtual void ConnectionRequired() {}
  // Called after each send of SendStream and SendBuffer.
  virtual void PacketSent() {}

  // Sends one chunk of a stream of data as SendStream does: all of it, PacketSent, pending messages.
  void SendBuffer(const char* data, size_t count);
  // Closes the socket (connection reset) and calls OnDisconnect.
  void CloseSocket();
  void ClearCancel() { interruption_ = Interruption::None; }

private:
  static constexpr size_t kIoBufferSize = 65536;

  // Where the connection stands.
  enum class State {
    Idle,        // no connection: new, closed, or a connect that failed
    Resolving,   // Connect waits for the host lookup
    Connecting,  // Connect waits for the connection to one address
    Connected,
    PeerClosed,  // the peer closed the connection; the input still holds bytes for ReadLn
  };
  // Why a wait ends before its condition holds.
  enum class Interruption { None, Cancelled, TimedOut };

  std::vector<platform::IpAddress> Resolve();
  bool ConnectTo(const platform::IpAddress& address);
  void NotifyConnected();
  void WatchSocket(unsigned events);
  void SocketEvent();
  void ReadAvailable();
  size_t Pending() const { return input_.size() - inputStart_; }
  size_t InputLimit() const;
  size_t LineEnd();
  std::string TakeInput(size_t count);
  void CloseAfterPeer();
  void SendAll(const char* data, size_t count);
  void WaitUntil(const std::function<bool()>& done);
  void RaiseIfInterrupted(const std::string& operation);
  void TimerOn();
  void TimerOff();
  void TimerFired();
  void RaiseSocketError(int code);

  std::array<char, kIoBufferSize> ioBuffer_{};
  platform::TcpSocket socket_;
  platform::WaitRegistration socketWatch_;
  platform::WaitRegistration writableWatch_;
  std::unique_ptr<platform::HostLookup> lookup_;
  platform::WaitRegistration lookupWatch_;
  TThreadTimer* timer_;  // owned through the owner tree
  int timeOutScopes_ = 0;
  std::string input_;      // bytes received; those before inputStart_ were taken by ReadLn
  size_t inputStart_ = 0;
  size_t inputScanned_ = 0;  // bytes from inputStart_ on known to hold no LF
  std::string lastReply_;
  std::string status_;
  int replyNumber_ = 0;
  int lastError_ = 0;
  State state_ = State::Idle;
  Interruption interruption_ = Interruption::None;
};

}  // namespace mailnet

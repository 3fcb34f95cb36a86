#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/core/Exception.h"
#include "platform/core/Streams.h"
#include "platform/net/Ipv4Address.h"
#include "platform/net/TcpSocket.h"
#include "platform/ui/Component.h"
#include "platform/ui/MessageQueue.h"
#include "platform/ui/Timer.h"

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

// A wait that was cancelled (by Cancel, Abort or the time-out): an ordinary error, not a silent abort.
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
// inside a wait. TimeOut (ms, 0 = none) bounds each wait through TThreadTimer; a time-out cancels the
// wait. Socket events (connect done, data, the peer's close) are handled when the loop reports the
// socket ready. Single thread: everything runs on the thread that created the component.
//
// Order of use: Connect (lookup, connect), then Write/Writeln/ReadLn/Transaction/SendStream, then
// Disconnect. After a close (Disconnect or the peer's) a fresh socket is ready, so Connect works again.
class TMsgSock : public platform::TComponent {
public:
  explicit TMsgSock(platform::TComponent* AOwner);
  ~TMsgSock() override;

  std::string Host;
  int Port = 0;
  int TimeOut = 0;  // ms for each wait; 0 waits without limit
  int ReportLevel = 1;

  TNotifyEvent OnDisconnect;
  TNotifyEvent OnConnect;
  TNotifyEvent OnConnectionFailed;
  THandlerEvent OnInvalidHost;
  TOnHostResolved OnHostResolved;
  TOnStatus OnStatus;

  // Resolves Host (a dotted address directly, a name through a lookup off this thread) and connects to
  // Port. Raises ESockError "Bereits verbunden", "Zeitüberschreitung bei Host-Lookup", "Null Externe
  // Adresse", "Zeitüberschreitung bei Verbindung", "Verbindung fehlgeschlagen", or EAbortError
  // "Host-Lookup abgebrochen" / "Verbindung abgebrochen".
  virtual void Connect();
  // Closes the connection and calls OnDisconnect.
  virtual void Disconnect();
  // Calls ConnectionRequired and raises "Nicht verbunden" unless connected.
  void CertifyConnect();

  // Sends every byte of Text (EAbortError "Socket-send abgebrochen" on a cancel, ESockError for a socket
  // failure or a send that took nothing).
  void Write(const std::string& Text);
  void Writeln(const std::string& Text);
  // One line through its LF, CR LF included. When the peer closed the connection it returns what came
  // before the close: "" when nothing came, a line without LF when the peer closed in the middle of it.
  // A cancel raises EAbortError "Socket-readln abgebrochen".
  std::string ReadLn();
  // Writeln(Command), then ReadLn into LastReply; ReplyNumber is the value of the line's leading digits
  // (0 without digits). Returns ReplyNumber.
  int Transaction(const std::string& Command);
  // Rewinds Stream and sends all of it in chunks of the I/O buffer's size, calling PacketSent after each.
  void SendStream(platform::TStream& Stream);

  // End the running wait with its abort error.
  void Cancel() { cancel_ = true; }
  void Abort() { Cancel(); }

  // Keeps Text as the status and passes it to OnStatus when ReportLevel >= Level (1 server replies,
  // 4 sends and closes, 8 every step). Exceptions from the handler are swallowed.
  void StatusMessage(int Level, const std::string& Text);

  bool Connected() const { return connected_; }
  const std::string& LastReply() const { return lastReply_; }
  int ReplyNumber() const { return replyNumber_; }
  const std::string& Status() const { return status_; }
  int LastErrorNo() const { return lastError_; }

protected:
  // Called when an operation needs a connection that is not there.
  virtual void ConnectionRequired() {}
  // Called after each send of SendStream.
  virtual void PacketSent() {}

  // Closes the socket (connection reset), calls OnDisconnect and opens a fresh socket.
  void CloseSocket();
  void ClearCancel() { cancel_ = false; }

private:
  static constexpr size_t kIoBufferSize = 65536;

  void OpenSocket();
  platform::Ipv4Address Resolve();
  void WatchSocket(unsigned events);
  void SocketEvent();
  void ReadAvailable();
  void CloseAfterPeer();
  void SendAll(const char* data, size_t count);
  void WaitUntil(const std::function<bool()>& done);
  void TimerOn();
  void TimerOff();
  void TimerFired();
  void RaiseSocketError(int code);

  friend class TimeOutScope;

  std::array<char, kIoBufferSize> ioBuffer_{};
  platform::TcpSocket socket_;
  platform::WaitRegistration socketWatch_;
  platform::WaitRegistration writableWatch_;
  std::unique_ptr<platform::HostLookup> lookup_;
  platform::WaitRegistration lookupWatch_;
  TThreadTimer* timer_;  // owned through the owner tree
  platform::Ipv4Address address_{};
  std::string input_;  // bytes received and not yet taken by ReadLn
  std::string lastReply_;
  std::string status_;
  int replyNumber_ = 0;
  int lastError_ = 0;
  bool connected_ = false;
  bool connecting_ = false;
  bool peerClosed_ = false;
  bool writable_ = false;
  bool cancel_ = false;
  bool timedOut_ = false;
  bool lookupDone_ = false;
  bool lastEventSucceeded_ = false;
};

}  // namespace mailnet

#include "mailer/net/Mlsmtp.h"

#include "mailer/net/MimeHeader.h"
#include "platform/net/HostLookup.h"

namespace mailnet {

namespace {

constexpr char kPeerClosed[] = "Die Verbindung wurde vom Server beendet";

// Sets the busy flag for a scope and clears it at the end unless it was set before.
class BusyScope {
public:
  explicit BusyScope(bool& flag) : flag_(flag), owner_(!flag) { flag_ = true; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
  ~BusyScope() { Release(); }

  void Release() {
    if (owner_) flag_ = false;
    owner_ = false;
  }

private:
  bool& flag_;
  bool owner_;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A reply line: three digits, then a blank, "-" or the line end; a continuation line may instead begin
// with a blank. The line must end with its LF: a line without one was cut by the peer's close.
void CheckReplyLine(const std::string& line, bool first) {
  if (line.empty() || line.back() != '\n') throw platform::Exception(kPeerClosed);
  if (!first && line[0] == ' ') return;
  bool digits = line.size() >= 4 && IsDigit(line[0]) && IsDigit(line[1]) && IsDigit(line[2]);
  char after = digits ? line[3] : 'x';
  if (!digits || (after != ' ' && after != '-' && after != '\r' && after != '\n')) {
    throw ESockError(InvalidReplyText(line));
  }
}

bool IsContinued(const std::string& line) { return line[0] == ' ' || (line.size() > 3 && line[3] == '-'); }

}  // namespace

TMlSMTP::TMlSMTP(platform::TComponent* AOwner) : TMsgSock(AOwner) { Port = 25; }

TMlSMTP::Reply TMlSMTP::CompleteReply(std::string line) {
  CheckReplyLine(line, true);
  Reply reply{std::stoi(line.substr(0, 3)), line, line};
  while (IsContinued(line)) {
    line = ReadLn();
    CheckReplyLine(line, false);
    reply.text += line;
  }
  return reply;
}

TMlSMTP::Reply TMlSMTP::Command(const std::string& command) {
  inSync_ = false;
  Transaction(command);
  Reply reply = CompleteReply(LastReply());
  inSync_ = true;
  return reply;
}

void TMlSMTP::EndSession() noexcept {
  try {
    if (Connected() && inSync_) {
      ClearCancel();
      Command("QUIT");
    }
  } catch (...) {
    // Saying goodbye is a courtesy; the error that ended the session is the one that counts.
  }
  try {
    if (Connected()) CloseSocket();
  } catch (...) {
    // Likewise for a failing OnDisconnect.
  }
}

void TMlSMTP::Connect() {
  BusyScope busy(busy_);
  CheckNoControlChars("UserID", UserID);
  TMsgSock::Connect();
  try {
    inSync_ = false;
    Reply greeting = CompleteReply(ReadLn());
    inSync_ = true;
    if (greeting.number >= 400) throw platform::Exception(greeting.text);
    bool authenticationFailedCalled = false;
    for (;;) {
      CheckNoControlChars("UserID", UserID);  // OnAuthenticationFailed may have set another
      if (Command("HELO " + (UserID.empty() ? platform::LocalHostName() : UserID)).number < 300) break;
      if (OnAuthenticationFailed && !authenticationFailedCalled) {
        authenticationFailedCalled = true;
        bool handled = false;
        OnAuthenticationFailed(handled);
        if (handled) continue;
      }
      throw platform::Exception("Die Authentifizierung ist fehlgeschlagen");
    }
  } catch (...) {
    EndSession();
    throw;
  }
  busy.Release();
  if (OnConnect) OnConnect(this);
}

void TMlSMTP::CheckHeader() {
  bool incompleteCalled = false;
  for (;;) {
    bool hasSender = !postMessage_.FromAddress.empty();
    bool hasRecipient = postMessage_.ToAddress().Count() + postMessage_.ToCarbonCopy().Count() +
                            postMessage_.ToBlindCarbonCopy().Count() > 0;
    if (hasSender && hasRecipient) return;
    if (!OnHeaderIncomplete || incompleteCalled) break;
    incompleteCalled = true;
    bool handled = false;
    OnHeaderIncomplete(handled, hasSender ? 2 : 1);
    if (!handled) break;
    AssembleMessage();  // the handler changed the message: the header lines follow it
  }
  throw platform::Exception("Header nicht vollständig");
}

void TMlSMTP::SendMail() {
  if (busy_) return;
  BusyScope busy(busy_);
  try {
    AssembleMessage();
    CertifyConnect();
    CheckHeader();
    if (OnSendStart) OnSendStart(this);

    Reply reply = Command("RSET");
    if (reply.number >= 400) throw platform::Exception(reply.text);
    reply = Command("MAIL FROM:<" + postMessage_.FromAddress + ">");
    if (reply.number >= 400) throw platform::Exception(reply.text);
    for (platform::TStringList* list : {&postMessage_.ToAddress(), &postMessage_.ToCarbonCopy(),
                                        &postMessage_.ToBlindCarbonCopy()}) {
      for (int i = 0; i < list->Count(); ++i) {
        std::string address = ExtractAddress(list->Strings(i));
        if (address.empty()) continue;
        if (Command("RCPT TO:<" + address + ">").number > 300 && OnRecipientNotFound) {
          OnRecipientNotFound(list->Strings(i));
        }
      }
    }
    reply = Command("DATA");
    if (reply.number >= 400) throw platform::Exception(reply.text);

    inSync_ = false;  // until the reply to "." the server reads message data
    Write(finalHeader_.Text() + "\r\n\r\n");
    SendStream(body_);
    reply = Command(".");
    if (reply.number >= 400) {
      if (OnFailure) OnFailure(this);
      throw platform::Exception(reply.text);
    }
    if (ClearParams) ClearParameters();
  } catch (...) {
    EndSession();
    throw;
  }
  busy.Release();
  if (OnSuccess) OnSuccess(this);
}

void TMlSMTP::Disconnect() {
  if (!Connected()) return;
  ClearCancel();
  try {
    Reply reply = Command("QUIT");
    if (reply.number > 339) throw platform::Exception(reply.text);
  } catch (...) {
    try {
      if (Connected()) CloseSocket();
    } catch (...) {
      // The reply's error is the one to report.
    }
    throw;
  }
  if (Connected()) CloseSocket();  // unless the server closed first: the connection went with it
}

TMlSMTP::Reply TMlSMTP::CommandOrEndSession(const std::string& command) {
  try {
    return Command(command);
  } catch (...) {
    EndSession();
    throw;
  }
}

bool TMlSMTP::Verify(const std::string& Address) {
  CertifyConnect();
  CheckNoControlChars("VRFY", Address);
  return CommandOrEndSession("VRFY " + Address).number < 252;
}

bool TMlSMTP::ExpandList(const std::string& List) {
  if (busy_) return false;
  BusyScope busy(busy_);
  CertifyConnect();
  CheckNoControlChars("EXPN", List);
  Reply reply = CommandOrEndSession("EXPN " + List);
  if (reply.number >= 400) return false;
  if (OnMailListReturn) OnMailListReturn(reply.firstLine);
  return true;
}

std::string TMlSMTP::ExtractAddress(const std::string& Entry) {
  size_t open = Entry.find('<');
  if (open != std::string::npos) {
    size_t close = Entry.find('>', open + 1);
    return Entry.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  }
  size_t colon = Entry.find(':');
  if (colon != std::string::npos) return Entry.substr(colon + 1);
  return Entry;
}

void TMlSMTP::ClearParameters() {
  postMessage_.ToAddress().Clear();
  postMessage_.ToCarbonCopy().Clear();
  postMessage_.ToBlindCarbonCopy().Clear();
  postMessage_.Attachments().Clear();
}

void TMlSMTP::ConnectionRequired() {
  if (!OnConnectionRequired) return;
  bool handled = false;
  OnConnectionRequired(handled);
}

void TMlSMTP::PacketSent() {
  if (OnPacketSent) OnPacketSent(this);
}

}  // namespace mailnet

#include "mailer/net/Mlsmtp.h"

#include "mailer/net/MessageDataStream.h"
#include "mailer/net/MimeHeader.h"
#include "platform/core/Ascii.h"
#include "platform/net/HostLookup.h"

namespace mailnet {

namespace {

constexpr char kPeerClosed[] = "Die Verbindung wurde vom Server beendet";
constexpr int kMaxReplyLine = 4096;  // octets of a reply line without its CR LF; RFC 5321 asks for 512
constexpr int kMaxReplyLines = 100;

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

// A reply line: a code of three digits (the first from 2 to 5, as SMTP's replies have), then a blank,
// "-" or the line end; a continuation line has the code of the first line. The line must end with its
// LF: a line without one was cut by the peer's close.
void CheckReplyLine(const std::string& line, const std::string& first) {
  if (line.empty() || line.back() != '\n') throw platform::Exception(kPeerClosed);
  bool code = line.size() >= 4 && line[0] >= '2' && line[0] <= '5' && platform::IsAsciiDigit(line[1]) && platform::IsAsciiDigit(line[2]);
  char after = code ? line[3] : 'x';
  if (!code || (after != ' ' && after != '-' && after != '\r' && after != '\n') || line.compare(0, 3, first, 0, 3) != 0) {
    throw ESockError(InvalidReplyText(line));
  }
}

bool IsContinued(const std::string& line) { return line[3] == '-'; }


// Raises unless the reply is the one expected (a number, or 200 for any 2xx): a refusal (4xx, 5xx) with
// the server's text, anything else as an invalid reply.
void Require(const std::string& text, int number, int expected) {
  if (number == expected || (expected == 200 && number / 100 == 2)) return;
  if (number >= 400) throw platform::Exception(text);
  throw ESockError(InvalidReplyText(text));
}

}  // namespace

TMlSMTP::TMlSMTP(platform::TComponent* AOwner) : TMsgSock(AOwner) {
  Port = 25;
  MaxLineLength = kMaxReplyLine;
}

TMlSMTP::Reply TMlSMTP::CompleteReply(std::string line) {
  CheckReplyLine(line, line);
  Reply reply{std::stoi(line.substr(0, 3)), line, line};
  for (int lines = 1; IsContinued(line); ++lines) {
    if (lines == kMaxReplyLines) {
      throw ESockError("Antwort des Servers länger als " + std::to_string(kMaxReplyLines) + " Zeilen");
    }
    line = ReadLn();
    CheckReplyLine(line, reply.firstLine);
    reply.text += line;
  }
  return reply;
}

TMlSMTP::Reply TMlSMTP::Command(const std::string& command) {
  CheckAscii("Befehl", command);
  inSync_ = false;
  TimeOutScope step(*this);
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
  CheckAscii("UserID", UserID);
  TMsgSock::Connect();
  try {
    inSync_ = false;
    Reply greeting;
    {
      TimeOutScope step(*this);
      greeting = CompleteReply(ReadLn());
    }
    inSync_ = true;
    Require(greeting.text, greeting.number, 220);
    bool authenticationFailedCalled = false;
    for (;;) {
      CheckNoControlChars("UserID", UserID);  // OnAuthenticationFailed may have set another
      const Reply hello = Command("HELO " + (UserID.empty() ? platform::LocalHostName() : UserID));
      if (hello.number / 100 == 2) break;
      if (OnAuthenticationFailed && !authenticationFailedCalled) {
        authenticationFailedCalled = true;
        bool handled = false;
        OnAuthenticationFailed(handled);
        if (handled) continue;
      }
      throw platform::Exception("Die Authentifizierung ist fehlgeschlagen: " + hello.text);
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
  refusedRecipients_.clear();
  try {
    AssembleMessage();
    CertifyConnect();
    CheckHeader();
    if (OnSendStart) OnSendStart(this);

    Reply reply = Command("RSET");
    Require(reply.text, reply.number, 200);
    reply = Command("MAIL FROM:<" + postMessage_.FromAddress + ">");
    Require(reply.text, reply.number, 200);
    for (const Recipient& recipient : recipients_) {
      reply = Command("RCPT TO:<" + recipient.address + ">");
      if (reply.number <= 300) continue;
      refusedRecipients_.push_back({recipient.address, reply.text});
      if (OnRecipientNotFound) OnRecipientNotFound(recipient.entry);
    }
    // Without a recipient the server has nobody to deliver to: the refusals are the error.
    if (!recipients_.empty() && refusedRecipients_.size() == recipients_.size()) {
      throw platform::Exception(RefusedRecipientsText(refusedRecipients_));
    }
    reply = Command("DATA");
    Require(reply.text, reply.number, 354);

    inSync_ = false;  // until the reply to "." the server reads message data
    TMessageDataStream data([this](const char* bytes, size_t count) { SendBuffer(bytes, count); });
    WriteMessage(data);
    data.Flush();
    attachments_.clear();
    reply = Command(".");
    if (reply.number >= 400 && OnFailure) OnFailure(this);
    Require(reply.text, reply.number, 200);
    if (ClearParams) ClearParameters();
  } catch (...) {
    attachments_.clear();
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
  CheckAscii("VRFY", Address);
  return CommandOrEndSession("VRFY " + Address).number < 252;
}

bool TMlSMTP::ExpandList(const std::string& List) {
  if (busy_) return false;
  BusyScope busy(busy_);
  CertifyConnect();
  CheckNoControlChars("EXPN", List);
  CheckAscii("EXPN", List);
  Reply reply = CommandOrEndSession("EXPN " + List);
  if (reply.number >= 400) return false;
  if (OnMailListReturn) OnMailListReturn(reply.firstLine);
  return true;
}

std::string RefusedRecipientsText(const std::vector<TRefusedRecipient>& refused) {
  std::string text;
  for (const TRefusedRecipient& recipient : refused) {
    text += "Empfänger " + recipient.Address + " abgelehnt: " + recipient.Reply;
  }
  return text;
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

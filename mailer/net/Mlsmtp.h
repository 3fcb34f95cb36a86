#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "mailer/net/MlExtstr.h"
#include "mailer/net/MlUUE.h"
#include "mailer/net/MsgSock.h"
#include "platform/core/Streams.h"
#include "platform/core/StringList.h"

namespace mailnet {

// Content-Type of a message without attachments.
enum TSubType { mtPlain, mtEnriched, mtSgml, mtTabSeperated, mtHtml };

// The message that TMlSMTP sends. FromAddress is an addr-spec; recipient entries and ReplyTo are an
// addr-spec, "display name <addr-spec>" or a prefix and ":" before it (see ParseMailbox); Attachments are
// file names. Setting a list copies the lines.
class TPostMessage {
public:
  std::string FromAddress;
  std::string FromName;
  platform::TStringList& ToAddress() { return toAddress_; }
  platform::TStringList& ToCarbonCopy() { return toCarbonCopy_; }
  platform::TStringList& ToBlindCarbonCopy() { return toBlindCarbonCopy_; }
  platform::TStringList& Body() { return body_; }
  platform::TStringList& Attachments() { return attachments_; }
  void SetToAddress(const platform::TStringList& Value) { toAddress_.Assign(Value); }
  void SetToCarbonCopy(const platform::TStringList& Value) { toCarbonCopy_.Assign(Value); }
  void SetToBlindCarbonCopy(const platform::TStringList& Value) { toBlindCarbonCopy_.Assign(Value); }
  void SetBody(const platform::TStringList& Value) { body_.Assign(Value); }
  void SetAttachments(const platform::TStringList& Value) { attachments_.Assign(Value); }
  std::string Subject;
  std::string LocalProgram;  // the X-Mailer header
  std::string Date;  // kept when it is a valid mail date-time; otherwise the Date header is the send time
  std::string ReplyTo;

private:
  platform::TStringList toAddress_;
  platform::TStringList toCarbonCopy_;
  platform::TStringList toBlindCarbonCopy_;
  platform::TStringList body_;
  platform::TStringList attachments_;
};

// A recipient that the server refused, with the server's whole reply (CR LF included).
struct TRefusedRecipient {
  std::string Address;
  std::string Reply;
};

// "Empfänger <address> abgelehnt: <reply>" for each refused recipient, one after the other.
std::string RefusedRecipientsText(const std::vector<TRefusedRecipient>& refused);

using TRecipientNotFound = std::function<void(const std::string& Recipient)>;
using THeaderInComplete = std::function<void(bool& handled, int hiType)>;
using TFileItem = std::function<void(const std::string& Filename)>;
using TMailListReturn = std::function<void(const std::string& MailAddress)>;

// The client side of SMTP (no authentication, no encryption, no extensions) on the message-driven socket.
// A session runs in this order:
//   new TMlSMTP(owner); set Host, PostMessage, ...
//   Connect     connect the socket, read the greeting (220), HELO with UserID (this machine's host name
//               when UserID is empty) until a 2xx reply
//   SendMail    assemble FinalHeader and check every address (nothing is sent for a message that fails),
//               then RSET, MAIL FROM, RCPT TO for every To, CC and BCC entry, DATA (354), the header, the
//               body and the attachments streamed from their files, "." (repeatable on one connection);
//               a recipient refused (a reply above 300) is listed in RefusedRecipients and the mail goes
//               to the others; when every one is refused, no DATA is sent and the refusals are the error
//   Disconnect  QUIT and close
// A HELO that stays refused raises "Die Authentifizierung ist fehlgeschlagen: " and the server's reply.
// Every reply is read whole: lines of three digits and a blank, "-" or the line end, each of at most
// 4096 octets, continued by "NNN-" with the same code, at most 100 lines. Anything else, an empty line
// or one cut by the peer's close is an error. Each command with its whole reply is one step under
// TimeOut. RSET, MAIL FROM and "." must be answered 2xx; the error text of a refusal (4xx, 5xx) is the
// server's whole reply, CR LF included; any other reply is an invalid reply. A failed Connect or SendMail
// (or a VRFY or EXPN without a whole reply) ends the session: QUIT when the last reply came whole, then
// the connection is closed, and the original error goes on to the caller. The busy flag is set while
// Connect or SendMail runs; a SendMail called meanwhile returns at once.
class TMlSMTP : public TMsgSock {
public:
  explicit TMlSMTP(platform::TComponent* AOwner);

  std::string UserID;
  UUMethods EncodeType = uuMime;
  bool ClearParams = true;
  TSubType SubType = mtPlain;
  std::string Charset = "us-ascii";

  TPostMessage& PostMessage() { return postMessage_; }
  TExStringList& FinalHeader() { return finalHeader_; }

  // After greeting and HELO succeeded; hides the socket's OnConnect, which fires on the bare connect.
  TNotifyEvent OnConnect;
  TNotifyEvent OnPacketSent;
  THandlerEvent OnConnectionRequired;
  TRecipientNotFound OnRecipientNotFound;
  THeaderInComplete OnHeaderIncomplete;  // hiType 1: no sender; 2: no recipient
  TNotifyEvent OnSendStart;
  TNotifyEvent OnSuccess;
  TNotifyEvent OnFailure;  // the server refused the message after its data
  TFileItem OnEncodeStart;
  TFileItem OnEncodeEnd;
  TFileItem OnAttachmentNotFound;
  TMailListReturn OnMailListReturn;
  THandlerEvent OnAuthenticationFailed;

  void Connect() override;
  void SendMail();
  void Disconnect() override;

  // VRFY: true when the server knows the address (reply below 252).
  bool Verify(const std::string& Address);
  // EXPN: passes the reply's first line to OnMailListReturn; false when refused or busy.
  bool ExpandList(const std::string& List);

  // The address of a recipient entry as it stands, unchecked: the text between "<" and ">", else the
  // text after ":", else the entry.
  static std::string ExtractAddress(const std::string& Entry);
  // Clears To, CC, BCC and Attachments.
  void ClearParameters();

  bool Busy() const { return busy_; }
  // The recipients that the server refused in the last SendMail, in the order they were sent.
  const std::vector<TRefusedRecipient>& RefusedRecipients() const { return refusedRecipients_; }

protected:
  void ConnectionRequired() override;
  void PacketSent() override;

private:
  struct Reply {
    int number = 0;
    std::string firstLine;
    std::string text;  // every line of the reply, each with its line end
  };
  struct Recipient {
    std::string entry;    // as the list holds it, for OnRecipientNotFound
    std::string address;  // its addr-spec
  };
  struct Attachment {
    std::string entry;  // the file name as the list holds it
    std::unique_ptr<platform::TStream> file;
  };

  // The message assembly (MlsmtpAssembly.cpp): FinalHeader, the recipients, the text part, the opened
  // attachments; then the message data written from them during DATA.
  void AssembleMessage();
  void CheckMessageText();
  void AddRecipients(const char* what, platform::TStringList& list, std::vector<std::string>* headerEntries);
  void WriteMessage(platform::TStream& data);
  void WriteText(platform::TStream& data);
  void WriteAttachment(platform::TStream& data, Attachment& attachment);

  Reply Command(const std::string& command);
  // Command for VRFY and EXPN: a failure (no whole reply) ends the session, as the rest of the reply
  // would otherwise be taken for the reply to the next command.
  Reply CommandOrEndSession(const std::string& command);
  Reply CompleteReply(std::string line);
  void CheckHeader();
  void EndSession() noexcept;

  TPostMessage postMessage_;
  TExStringList finalHeader_;
  std::vector<Recipient> recipients_;
  std::vector<TRefusedRecipient> refusedRecipients_;
  std::string textHeader_;  // the Content-Type (and transfer encoding) lines of the text, each with CR LF
  bool textQuotedPrintable_ = false;  // the body goes out quoted-printable
  bool textUtf8_ = false;             // under utf-8: the body is made valid UTF-8 as it goes out
  std::vector<Attachment> attachments_;
  std::string boundary_;
  bool busy_ = false;
  bool inSync_ = false;  // the last command's reply came whole: the server waits for the next command
};

}  // namespace mailnet

// TMlSMTP's message assembly: the header lines in their order, the recipients, the text part's labels
// and the opened attachments, checked before anything is sent; then, during DATA, the message data
// written into a TMessageDataStream (which dot-stuffs every line): the body line by line from the
// message's list (so the message must not change during a send) and the attachments encoded straight
// from their files, so a message of any size passes through buffers of a fixed size.
//
// Pure-ASCII text keeps the traditional layout. Text with bytes of 0x80 and above (or with a body line
// too long for SMTP, or a NUL) is labelled and encoded: the body as quoted-printable under the charset
// utf-8 (or the one set, when it is not us-ascii), the subject, X-Mailer and display names as encoded
// words; text labelled utf-8 that is no valid UTF-8 is read as Windows-1252. The body is sent as given:
// each line ends with CR LF (a bare CR or LF inside a line becomes a line break of its own), the
// message's body starts right after the header's empty line, and in a multipart message the text part
// keeps its last line break (the CR LF before a boundary line belongs to the boundary).

#include <random>

#include "mailer/net/MailAddress.h"
#include "mailer/net/MailDate.h"
#include "mailer/net/MimeHeader.h"
#include "mailer/net/MlS_Stream.h"
#include "mailer/net/Mlsmtp.h"
#include "mailer/net/QuotedPrintable.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Utf8.h"
#include "platform/net/HostLookup.h"

namespace mailnet {

namespace {

constexpr char kCrLf[] = "\r\n";

const char* ContentType(TSubType type) {
  switch (type) {
    case mtEnriched: return "text/enriched";
    case mtSgml: return "text/sgml";
    case mtTabSeperated: return "text/tab-separated-values";
    case mtHtml: return "text/html";
    case mtPlain: break;
  }
  return "text/plain";
}

// Calls `line` for each of the body's lines, with any CR or LF inside a list line taken as a line break
// of its own; nothing is copied (a body file is one list line).
template <class LineFunction>
void ForEachBodyLine(const platform::TStringList& body, LineFunction line) {
  for (int i = 0; i < body.Count(); ++i) {
    std::string_view text = body.StoredString(i);
    for (size_t at; (at = text.find_first_of("\r\n")) != std::string_view::npos;) {
      line(text.substr(0, at));
      text.remove_prefix(at + (text.compare(at, 2, kCrLf) == 0 ? 2 : 1));
    }
    line(text);
  }
}

bool NeedsQuotedPrintable(const platform::TStringList& body) {
  bool needed = false;
  ForEachBodyLine(body, [&](std::string_view line) {
    needed = needed || !IsAscii(line) || line.size() > kMaxLineOctets || line.find('\0') != std::string_view::npos;
  });
  return needed;
}

bool AllAscii(const platform::TStringList& body) {
  for (int i = 0; i < body.Count(); ++i) {
    if (!IsAscii(body.StoredString(i))) return false;
  }
  return true;
}

// "====================54535", six random letters from a to y, "====": a new one for every message.
std::string NewBoundary() {
  std::random_device random;
  std::uniform_int_distribution<int> letter(0, 24);
  std::string boundary = "====================54535";
  for (int i = 0; i < 6; ++i) boundary += static_cast<char>('a' + letter(random));
  return boundary + "====";
}

// "<time.random@host>": the send time and 64 random bits, at this machine's name (or "localhost"
// when that name cannot stand in an address).
std::string NewMessageId() {
  std::random_device random;
  uint64_t bits = (uint64_t{random()} << 32) | random();
  std::string unique = platform::HexDigits(static_cast<uint64_t>(platform::UnixTimeMs()), 1) + "." +
                       platform::HexDigits(bits, 16);
  std::string id = unique + "@" + platform::LocalHostName();
  return "<" + (IsAddrSpec(id) ? id : unique + "@localhost") + ">";
}

std::string BaseName(const std::string& fileName) {
  size_t slash = fileName.find_last_of("/\\");
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

// The file name for a UU begin line, which has no way to say its encoding: each character outside
// ASCII becomes "_".
std::string AsciiFileName(const std::string& name) {
  std::string ascii;
  for (size_t at = 0; at < name.size(); at = platform::NextCodePoint(name, at)) {
    ascii += static_cast<uint8_t>(name[at]) < 0x80 ? name[at] : '_';
  }
  return ascii;
}

// How much of a body line is encoded at a time.
constexpr size_t kLinePiece = 65536;

// The end of the next piece of `line` from `from`, at most kLinePiece long, cut where no valid UTF-8
// sequence spans the cut: before a byte that is no continuation byte, or after three continuation bytes
// in a row (no sequence has more). Reading each piece as UTF-8 then gives what the whole line gives.
size_t Utf8PieceEnd(std::string_view line, size_t from) {
  if (line.size() - from <= kLinePiece) return line.size();
  const auto continuation = [&](size_t at) { return (static_cast<uint8_t>(line[at]) & 0xC0) == 0x80; };
  size_t end = from + kLinePiece;
  for (int back = 0; back < 3 && continuation(end); ++back) --end;
  return end;
}

void CheckList(const char* what, const platform::TStringList& list) {
  for (int i = 0; i < list.Count(); ++i) CheckNoControlChars(what, list.Strings(i));
}

}  // namespace

// Header values and addresses go into header lines and commands: a CR or LF there would end them early.
void TMlSMTP::CheckMessageText() {
  TPostMessage& m = postMessage_;
  CheckNoControlChars("FromAddress", m.FromAddress);
  CheckNoControlChars("FromName", m.FromName);
  CheckList("To", m.ToAddress());
  CheckList("CC", m.ToCarbonCopy());
  CheckList("BCC", m.ToBlindCarbonCopy());
  CheckList("Attachments", m.Attachments());
  CheckNoControlChars("Subject", m.Subject);
  CheckNoControlChars("LocalProgram", m.LocalProgram);
  CheckNoControlChars("Date", m.Date);
  CheckNoControlChars("ReplyTo", m.ReplyTo);
  CheckNoControlChars("Charset", Charset);
  CheckAscii("Charset", Charset);
  if (!m.FromAddress.empty()) CheckAddrSpec("FromAddress", m.FromAddress, m.FromAddress);
}

// Every entry's mailbox is checked; its address joins the recipients, and (for To and CC) the entry as
// the header shows it joins headerEntries. Empty entries are left out.
void TMlSMTP::AddRecipients(const char* what, platform::TStringList& list, std::vector<std::string>* headerEntries) {
  for (int i = 0; i < list.Count(); ++i) {
    if (platform::Trim(list.Strings(i)).empty()) continue;
    TMailbox mailbox = ParseMailbox(what, list.Strings(i));
    recipients_.push_back({list.Strings(i), mailbox.Address});
    if (headerEntries != nullptr) headerEntries->push_back(HeaderMailbox(mailbox, Charset));
  }
}

void TMlSMTP::AssembleMessage() {
  CheckMessageText();
  TPostMessage& m = postMessage_;
  std::vector<std::string> to, cc;
  recipients_.clear();
  AddRecipients("To", m.ToAddress(), &to);
  AddRecipients("CC", m.ToCarbonCopy(), &cc);
  AddRecipients("BCC", m.ToBlindCarbonCopy(), nullptr);

  finalHeader_.Clear();
  std::string fromName = Phrase(m.FromName, Charset);
  if (fromName.starts_with("=?")) fromName += ' ';  // an encoded word must stand apart from the "<"
  finalHeader_.Add("From: " + fromName + "<" + m.FromAddress + ">");
  if (!to.empty()) finalHeader_.Add(AddressListLine("To", to));
  if (!cc.empty()) finalHeader_.Add(AddressListLine("CC", cc));
  finalHeader_.SetValues("Subject", HeaderText("Subject", m.Subject, Charset));
  finalHeader_.SetValues("X-Mailer", HeaderText("X-Mailer", m.LocalProgram, Charset));
  if (!platform::Trim(m.ReplyTo).empty()) {
    finalHeader_.SetValues("Reply-To", HeaderMailbox(ParseMailbox("ReplyTo", m.ReplyTo), Charset));
  }
  finalHeader_.SetValues("Date", IsMailDateTime(m.Date) ? m.Date : LocalMailDateTime(platform::UnixTimeMs()));
  finalHeader_.SetValues("Message-ID", NewMessageId());
  finalHeader_.Add("Mime-Version: 1.0");

  const bool quotedPrintable = NeedsQuotedPrintable(m.Body());
  const std::string charset = AllAscii(m.Body()) ? Charset : EightBitCharset(Charset);
  const std::string textType = std::string("Content-Type: ") + ContentType(SubType) + "; charset=" + charset;
  const std::string textEncoding = "Content-Transfer-Encoding: quoted-printable";
  textHeader_ = textType + kCrLf + (quotedPrintable ? textEncoding + kCrLf : "");
  textQuotedPrintable_ = quotedPrintable;
  textUtf8_ = platform::SameText(charset, "utf-8");

  attachments_.clear();
  if (m.Attachments().Count() == 0) {
    finalHeader_.Add(textType);
    if (quotedPrintable) finalHeader_.Add(textEncoding);
    return;
  }
  boundary_ = NewBoundary();
  finalHeader_.Add("Content-Type: multipart/mixed; boundary=\"" + boundary_ + "\"");
  // Every file is opened now, so that a missing one fails the send before anything of it is sent.
  for (int i = 0; i < m.Attachments().Count(); ++i) {
    const std::string& entry = m.Attachments().Strings(i);
    try {
      attachments_.push_back({entry, std::make_unique<platform::TFileStream>(platform::ResolvePath(entry), platform::fmOpenRead)});
    } catch (const platform::EFOpenError&) {
      attachments_.clear();
      if (OnAttachmentNotFound) OnAttachmentNotFound(entry);
      throw;
    }
  }
}

void TMlSMTP::WriteMessage(platform::TStream& data) {
  const std::string header = finalHeader_.Text() + kCrLf;
  data.WriteBuffer(header.data(), static_cast<int64_t>(header.size()));
  if (attachments_.empty()) return WriteText(data);
  const std::string text = "--" + boundary_ + kCrLf + textHeader_ + kCrLf;
  data.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
  WriteText(data);
  for (Attachment& attachment : attachments_) WriteAttachment(data, attachment);
  const std::string end = kCrLf + std::string("--") + boundary_ + "--" + kCrLf;
  data.WriteBuffer(end.data(), static_cast<int64_t>(end.size()));
}

// The body lines as they go into the message, each with CR LF, a piece of a line at a time.
void TMlSMTP::WriteText(platform::TStream& data) {
  const auto write = [&](std::string_view text) { data.WriteBuffer(text.data(), static_cast<int64_t>(text.size())); };
  TQuotedPrintableLine encoder([&](std::string_view encoded) {
    write(encoded);
    write(kCrLf);
  });
  ForEachBodyLine(postMessage_.Body(), [&](std::string_view line) {
    size_t from = 0;
    do {
      const size_t end = Utf8PieceEnd(line, from);
      const std::string_view piece = line.substr(from, end - from);
      const std::string valid = textUtf8_ ? Utf8Text(piece) : std::string(piece);
      if (textQuotedPrintable_) encoder.Add(valid, end == line.size());
      else write(valid);
      from = end;
    } while (from < line.size());
    if (!textQuotedPrintable_) write(kCrLf);
  });
}

// One attachment part, encoded from its file as it is sent. The transfer encoding line names the
// encoding used: base64, or x-uuencode with the begin and end lines that UU decoders look for.
void TMlSMTP::WriteAttachment(platform::TStream& data, Attachment& attachment) {
  const std::string name = BaseName(attachment.entry);
  std::string head = kCrLf + std::string("--") + boundary_ + kCrLf;
  head += "Content-Type: application/octet-stream; " + FileNameParameter("name", name) + kCrLf;
  head += EncodeType == uuCode ? "Content-Transfer-Encoding: x-uuencode" : "Content-Transfer-Encoding: base64";
  head += kCrLf;
  head += "Content-Disposition: attachment; " + FileNameParameter("filename", name) + kCrLf + kCrLf;
  if (EncodeType == uuCode) head += "begin 644 " + AsciiFileName(name) + kCrLf;
  data.WriteBuffer(head.data(), static_cast<int64_t>(head.size()));
  if (OnEncodeStart) OnEncodeStart(attachment.entry);
  {
    TMlBufferStream input(*attachment.file);
    TMlUUProcessor encoder(nullptr);
    encoder.Method = EncodeType;
    encoder.InputStream = &input;
    encoder.OutputStream = &data;
    encoder.Encode();
  }
  if (EncodeType == uuCode) data.WriteBuffer("end\r\n", 5);
  if (OnEncodeEnd) OnEncodeEnd(attachment.entry);
}

}  // namespace mailnet

// TMlSMTP's message assembly: the header lines in their order and the body stream for the DATA phase.
//
// Pure-ASCII mail keeps the traditional layout byte for byte. Mail with bytes of 0x80 and above (or with
// a body line too long for SMTP, or a NUL) is labelled and encoded: the body as quoted-printable under
// the charset utf-8 (or the one set, when it is not us-ascii), the subject, X-Mailer and the display
// names of sender, recipients and Reply-To as encoded words. Every body line goes through WriteDataLine, which dot-stuffs it, so no line of the
// message can end the data early.

#include <random>

#include "mailer/net/MailDate.h"
#include "mailer/net/MimeHeader.h"
#include "mailer/net/MlS_Stream.h"
#include "mailer/net/Mlsmtp.h"
#include "mailer/net/QuotedPrintable.h"
#include "platform/core/Clock.h"
#include "platform/core/Paths.h"

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

// The body's lines with any CR or LF inside a line taken as a line break of its own.
std::vector<std::string> BodyLines(const platform::TStringList& body) {
  std::vector<std::string> lines;
  for (int i = 0; i < body.Count(); ++i) {
    std::string line = body.Strings(i);
    size_t start = 0;
    for (size_t at; (at = line.find_first_of("\r\n", start)) != std::string::npos;) {
      lines.push_back(line.substr(start, at - start));
      start = at + (line.compare(at, 2, kCrLf) == 0 ? 2 : 1);
    }
    lines.push_back(line.substr(start));
  }
  return lines;
}

bool NeedsQuotedPrintable(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!IsAscii(line) || line.size() > kMaxLineOctets || line.find('\0') != std::string::npos) return true;
  }
  return false;
}

bool AllAscii(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!IsAscii(line)) return false;
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

std::string BaseName(const std::string& fileName) {
  size_t slash = fileName.find_last_of("/\\");
  return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::vector<std::string> HeaderAddresses(const platform::TStringList& list, const std::string& charset) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.Count(); ++i) entries.push_back(HeaderAddress(list.Strings(i), charset));
  return entries;
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
}

void TMlSMTP::AssembleMessage() {
  CheckMessageText();
  TPostMessage& m = postMessage_;
  finalHeader_.Clear();
  finalHeader_.Add("From: " + HeaderAddress(m.FromName + "<" + m.FromAddress + ">", Charset));
  if (m.ToAddress().Count() > 0) finalHeader_.Add(AddressListLine("To", HeaderAddresses(m.ToAddress(), Charset)));
  if (m.ToCarbonCopy().Count() > 0) {
    finalHeader_.Add(AddressListLine("CC", HeaderAddresses(m.ToCarbonCopy(), Charset)));
  }
  finalHeader_.SetValues("Subject", HeaderText("Subject", m.Subject, Charset));
  finalHeader_.SetValues("X-Mailer", HeaderText("X-Mailer", m.LocalProgram, Charset));
  finalHeader_.SetValues("Reply-To", HeaderAddress(m.ReplyTo, Charset));
  if (!m.Date.empty()) {
    finalHeader_.SetValues("Date", IsMailDateTime(m.Date) ? m.Date : MailDateTime(platform::UnixTimeMs()));
  }
  finalHeader_.Add("Mime-Version: 1.0");

  const std::vector<std::string> lines = BodyLines(m.Body());
  const bool quotedPrintable = NeedsQuotedPrintable(lines);
  const std::string charset = AllAscii(lines) ? Charset : EightBitCharset(Charset);
  const std::string textType = std::string("Content-Type: ") + ContentType(SubType) + "; charset=" + charset;
  const std::string textEncoding = "Content-Transfer-Encoding: quoted-printable";

  body_.Clear();
  if (m.Attachments().Count() == 0) {
    finalHeader_.Add(textType);
    if (quotedPrintable) finalHeader_.Add(textEncoding);
    WriteBody(lines, quotedPrintable);
    return;
  }
  boundary_ = NewBoundary();
  finalHeader_.Add("Content-Type: multipart/mixed; boundary=\"" + boundary_ + "\"");
  WriteDataLine("--" + boundary_);
  WriteDataLine(textType);
  if (quotedPrintable) WriteDataLine(textEncoding);
  WriteDataLine("");
  WriteBody(lines, quotedPrintable);
  for (int i = 0; i < m.Attachments().Count(); ++i) WriteAttachment(m.Attachments().Strings(i));
  WriteDataLine("--" + boundary_ + "--");
}

void TMlSMTP::WriteDataLine(std::string_view line) {
  if (line.starts_with('.')) body_.WriteBuffer(".", 1);
  body_.WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
  body_.WriteBuffer(kCrLf, 2);
}

void TMlSMTP::WriteBody(const std::vector<std::string>& lines, bool quotedPrintable) {
  for (const std::string& line : lines) {
    if (!quotedPrintable) {
      WriteDataLine(line);
      continue;
    }
    for (const std::string& encoded : QuotedPrintableLines(line)) WriteDataLine(encoded);
  }
}

// One attachment part. The transfer encoding line names the encoding used: base64, or x-uuencode with
// the begin and end lines that UU decoders look for.
void TMlSMTP::WriteAttachment(const std::string& fileName) {
  const std::string name = BaseName(fileName);
  WriteDataLine("--" + boundary_);
  WriteDataLine("Content-Type: application/octet-stream; " + FileNameParameter("name", name));
  WriteDataLine(EncodeType == uuCode ? "Content-Transfer-Encoding: x-uuencode" : "Content-Transfer-Encoding: base64");
  WriteDataLine("Content-Disposition: attachment; " + FileNameParameter("filename", name));
  WriteDataLine("");
  if (OnEncodeStart) OnEncodeStart(fileName);

  std::unique_ptr<platform::TFileStream> file;
  try {
    file = std::make_unique<platform::TFileStream>(platform::ResolvePath(fileName), platform::fmOpenRead);
  } catch (const platform::EFOpenError&) {
    if (OnAttachmentNotFound) OnAttachmentNotFound(fileName);
    throw;
  }
  attachment_.Clear();
  {
    TMlBufferStream input(*file);
    TMlUUProcessor encoder(nullptr);
    encoder.Method = EncodeType;
    encoder.InputStream = &input;
    encoder.OutputStream = &attachment_;
    encoder.Encode();
  }
  if (OnEncodeEnd) OnEncodeEnd(fileName);

  if (EncodeType == uuCode) WriteDataLine("begin 644 " + name);
  std::string_view encoded(attachment_.Memory(), static_cast<size_t>(attachment_.Size()));
  for (size_t start = 0, end; (end = encoded.find(kCrLf, start)) != std::string_view::npos; start = end + 2) {
    WriteDataLine(encoded.substr(start, end - start));
  }
  if (EncodeType == uuCode) WriteDataLine("end");
}

}  // namespace mailnet

#include "mailer/net/MailAddress.h"

#include <algorithm>

#include "mailer/net/MimeHeader.h"
#include "platform/core/Ascii.h"
#include "platform/core/Exception.h"
#include "platform/core/StrUtils.h"

namespace mailnet {

namespace {

constexpr size_t kMaxLocalPart = 64;
constexpr size_t kMaxDomain = 255;

// Words of atom characters joined by single dots.
bool IsDotAtom(std::string_view text) {
  if (text.empty() || text.front() == '.' || text.back() == '.' || text.find("..") != std::string_view::npos) {
    return false;
  }
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '.' || IsAtomText(c); });
}

// A quoted string of printable ASCII and blanks, with "\" before any such character it quotes.
bool IsQuotedString(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  bool escaped = false;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c < 0x20 || c > 0x7E || (c == '"' && !escaped)) return false;
    escaped = c == '\\' && !escaped;
  }
  return !escaped;
}

bool IsHostName(std::string_view text) {
  if (text.empty()) return false;
  size_t start = 0;
  for (;;) {
    size_t dot = text.find('.', start);
    std::string_view label = text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    if (!std::all_of(label.begin(), label.end(), [](char c) { return c == '-' || platform::IsAsciiAlnum(c); })) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

bool IsAddressLiteral(std::string_view text) {
  if (text.size() < 3 || text.front() != '[' || text.back() != ']') return false;
  return std::all_of(text.begin() + 1, text.end() - 1,
                     [](char c) { return c > 0x20 && c <= 0x7E && c != '[' && c != ']' && c != '\\'; });
}

// The position of the first c in text outside quoted strings, or npos.
size_t FindUnquoted(std::string_view text, char c) {
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (quoted && text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && text[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

// The text of a quoted string without its quotes and escapes.
std::string Unquoted(std::string_view text) {
  std::string plain;
  for (size_t i = 1; i + 1 < text.size(); ++i) {
    if (text[i] == '\\') ++i;
    plain += text[i];
  }
  return plain;
}

}  // namespace

bool IsAddrSpec(std::string_view text) {
  size_t at = text.rfind('@');
  if (at == std::string_view::npos) return false;
  std::string_view local = text.substr(0, at), domain = text.substr(at + 1);
  return local.size() <= kMaxLocalPart && domain.size() <= kMaxDomain &&
         (IsDotAtom(local) || IsQuotedString(local)) && (IsHostName(domain) || IsAddressLiteral(domain));
}

void CheckAddrSpec(std::string_view what, std::string_view address, std::string_view shown) {
  CheckAscii(what, address);
  if (!IsAddrSpec(address)) throw platform::Exception("Ungültige Adresse in " + std::string(what) + ": " + std::string(shown));
}

TMailbox ParseMailbox(std::string_view what, std::string_view entry) {
  TMailbox mailbox;
  std::string_view address = entry;
  size_t open = FindUnquoted(entry, '<');
  if (open != std::string_view::npos) {
    size_t close = FindUnquoted(entry.substr(open), '>');
    bool onlyBlanksAfter = close != std::string_view::npos && platform::Trim(entry.substr(open + close + 1)).empty();
    address = onlyBlanksAfter ? entry.substr(open + 1, close - 1) : std::string_view();
    std::string name = platform::Trim(entry.substr(0, open));
    mailbox.DisplayName = IsQuotedString(name) ? Unquoted(name) : name;
  } else if (size_t colon = FindUnquoted(entry, ':'); colon != std::string_view::npos) {
    address = entry.substr(colon + 1);
  }
  mailbox.Address = platform::Trim(address);
  CheckAddrSpec(what, mailbox.Address, entry);
  return mailbox;
}

std::string HeaderMailbox(const TMailbox& mailbox, std::string_view charset) {
  if (platform::Trim(mailbox.DisplayName).empty()) return mailbox.Address;
  return Phrase(mailbox.DisplayName, charset) + " <" + mailbox.Address + ">";
}

}  // namespace mailnet

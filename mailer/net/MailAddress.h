#pragma once

#include <string>
#include <string_view>

// Addresses as SMTP without extensions carries them and as RFC 5322 readers take them.
namespace mailnet {

// An address entry taken apart: the display name (empty when there is none) and the addr-spec.
struct TMailbox {
  std::string DisplayName;
  std::string Address;
};

// True when text is an addr-spec that a plain SMTP command can carry: ASCII only; a local part of at
// most 64 octets, a dot-atom or a quoted string; "@"; a domain of at most 255 octets, host-name labels
// (letters, digits, inner hyphens) separated by dots or an address literal in brackets.
bool IsAddrSpec(std::string_view text);

// Raises platform::Exception unless address is such an addr-spec: "8-Bit-Zeichen in <what> (ohne
// SMTPUTF8 nicht möglich)" for bytes of 0x80 and above, else "Ungültige Adresse in <what>: <shown>".
void CheckAddrSpec(std::string_view what, std::string_view address, std::string_view shown);

// Takes an address entry apart: "addr-spec", "display name <addr-spec>" (the name as typed or as a
// quoted string), or a prefix and ":" before the addr-spec ("SMTP:a@b.org"). Blanks around the parts are
// dropped. Raises as CheckAddrSpec (showing the whole entry) for an address that is no addr-spec and for
// anything but blanks after the ">".
TMailbox ParseMailbox(std::string_view what, std::string_view entry);

// The mailbox as an entry of an address header: "phrase <address>" (see Phrase), or the address alone
// when there is no display name.
std::string HeaderMailbox(const TMailbox& mailbox, std::string_view charset);

}  // namespace mailnet

#include "mailer/net/MailAddress.h"

#include "gtest/gtest.h"
#include "mailer/net/tests/RaisesText.h"
#include "platform/core/Exception.h"

namespace mailnet {
namespace {

TEST(MailAddress, AddrSpecs) {
  for (const char* good : {"a@b", "x@a.org", "first.last+tag@sub.example.org", "!#$%&'*+-/=?^_`{|}~@x.org",
                           "\"Doe, John\"@x.org", "\"a b@c <d>\"@x.org", "\"q\\\"uote\\\\\"@x.org", "a@[192.0.2.1]",
                           "a@[IPv6:2001:db8::1]", "a@x-y.org"}) {
    EXPECT_TRUE(IsAddrSpec(good)) << good;
  }
  for (const std::string& bad : std::vector<std::string>{
           "", "plain", "@x.org", "a@", "a@@x.org", "a b@x.org", "a@x .org", "<a@x.org>", "a@x.org>", "a@b> NOTIFY=SUCCESS",
           " a@b", ".a@x.org", "a.@x.org", "a..b@x.org", "a@-x.org", "a@x-.org", "a@x..org", "a@x_y.org", "a,b@x.org",
           "\"a\"b\"@x.org", "\"a\\\"@x.org", "\"tab\there\"@x.org", "a@[1.2.3.4", "j\xC3\xB6rg@x.org",
           std::string(65, 'l') + "@x.org", "a@" + std::string(64, 'd') + ".org", std::string("a\0b@x.org", 9)}) {
    EXPECT_FALSE(IsAddrSpec(bad)) << bad;
  }
  EXPECT_TRUE(IsAddrSpec(std::string(64, 'l') + "@x.org"));
}

TEST(MailAddress, EntriesTakenApart) {
  struct Case {
    std::string entry, name, address;
  };
  for (const Case& k : std::vector<Case>{
           {"x@a.org", "", "x@a.org"},
           {"  x@a.org ", "", "x@a.org"},
           {"Yvonne <y@b.org>", "Yvonne", "y@b.org"},
           {"Yvonne<y@b.org>  ", "Yvonne", "y@b.org"},
           {"\"Doe, John\" <j@b.org>", "Doe, John", "j@b.org"},
           {"\"Say \\\"hi\\\"\" <j@b.org>", "Say \"hi\"", "j@b.org"},
           {"\"a <b>\" <c@d.org>", "a <b>", "c@d.org"},
           {"<c@d.org>", "", "c@d.org"},
           {"< c@d.org >", "", "c@d.org"},
           {"SMTP:c@c.org", "", "c@c.org"},
           {"Group: a@b", "", "a@b"},
           {"\"x:y\"@d.org", "", "\"x:y\"@d.org"},
           {"Name <\"odd>addr\"@d.org>", "Name", "\"odd>addr\"@d.org"},
       }) {
    TMailbox mailbox = ParseMailbox("To", k.entry);
    EXPECT_EQ(mailbox.DisplayName, k.name) << k.entry;
    EXPECT_EQ(mailbox.Address, k.address) << k.entry;
  }
}

TEST(MailAddress, BadEntriesAreRefusedWithTheEntry) {
  for (const char* bad : {"Name <a@b> <evil@x>", "Q <evil@x>, other <a@b.org>", "a@b> NOTIFY=SUCCESS", "Name <a@b",
                          "Name <>", "a@b.org, c@d.org", "Name <a@b.org> trailing", "<a@b.org> NOTIFY=NEVER",
                          "Name <a b@c.org>", "just a name"}) {
    EXPECT_RAISES(ParseMailbox("To", bad), platform::Exception, std::string("Ungültige Adresse in To: ") + bad);
  }
  EXPECT_RAISES(ParseMailbox("CC", "J\xC3\xB6rg <j\xC3\xB6rg@x.org>"), platform::Exception,
                "8-Bit-Zeichen in CC (ohne SMTPUTF8 nicht möglich)");
  EXPECT_NO_THROW(ParseMailbox("CC", "J\xC3\xB6rg <j@x.org>"));  // an 8-bit name is encoded, not refused
}

TEST(MailAddress, HeaderMailboxes) {
  EXPECT_EQ(HeaderMailbox({"", "x@a.org"}, "us-ascii"), "x@a.org");
  EXPECT_EQ(HeaderMailbox({"Yvonne", "y@b.org"}, "us-ascii"), "Yvonne <y@b.org>");
  EXPECT_EQ(HeaderMailbox({"Doe, John", "j@b.org"}, "us-ascii"), "\"Doe, John\" <j@b.org>");
  EXPECT_EQ(HeaderMailbox({"J\xC3\xB6rg", "j@b.org"}, "us-ascii"), "=?utf-8?B?SsO2cmc=?= <j@b.org>");
}

}  // namespace
}  // namespace mailnet

#include "mailer/net/MimeHeader.h"

#include "gtest/gtest.h"
#include "mailer/net/MailDate.h"
#include "mailer/net/QuotedPrintable.h"
#include "platform/core/Exception.h"

namespace mailnet {
namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

TEST(QuotedPrintable, Cases) {
  struct Case {
    std::string line;
    std::vector<std::string> lines;
  };
  for (const Case& k : std::vector<Case>{
           {"", {""}},
           {"plain text", {"plain text"}},
           {"a=b", {"a=3Db"}},
           {"trailing ", {"trailing=20"}},
           {"tab\tinside\t", {"tab\tinside=09"}},
           {"Gr\xC3\xBC\xC3\x9F" "e", {"Gr=C3=BC=C3=9Fe"}},
           {std::string("nul\0x", 5), {"nul=00x"}},
           {std::string(76, 'a'), {std::string(76, 'a')}},
           {std::string(77, 'a'), {std::string(75, 'a') + "=", "aa"}},
       }) {
    EXPECT_EQ(QuotedPrintableLines(k.line), k.lines) << k.line;
  }
  // An encoded byte is never split by a soft break, and no line passes 76 characters.
  std::vector<std::string> lines = QuotedPrintableLines(std::string(200, '\xE4'));
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LE(lines[i].size(), 76u);
    bool soft = i + 1 < lines.size();  // "=XX" groups, then the soft break's "=" on all but the last
    EXPECT_EQ(lines[i].size() % 3, soft ? 1u : 0u) << lines[i];
  }
}

TEST(MailDate, FormatInTheZoneGiven) {
  EXPECT_EQ(MailDateTime(0, 0), "Thu, 01 Jan 1970 00:00:00 +0000");
  EXPECT_EQ(MailDateTime(1709647387123, 0), "Tue, 05 Mar 2024 14:03:07 +0000");
  EXPECT_EQ(MailDateTime(1709647387123, 60), "Tue, 05 Mar 2024 15:03:07 +0100");
  EXPECT_EQ(MailDateTime(1709647387123, -15 * 60 - 30), "Mon, 04 Mar 2024 22:33:07 -1530");  // the day before
}

// The process's zone decides the offset: Berlin's winter and summer time, written without the zone
// data files (a POSIX TZ rule).
TEST(MailDate, LocalTimeCarriesItsOffset) {
  std::string saved = getenv("TZ") != nullptr ? getenv("TZ") : "";
  bool hadZone = getenv("TZ") != nullptr;
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  EXPECT_EQ(LocalMailDateTime(1709647387123), "Tue, 05 Mar 2024 15:03:07 +0100");
  EXPECT_EQ(LocalMailDateTime(1720188187000), "Fri, 05 Jul 2024 16:03:07 +0200");
  if (hadZone) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST(MailDate, OnlyRealMomentsAreMailDates) {
  for (const char* good : {"Tue, 05 Mar 2024 14:03:07 +0100", "5 Mar 2024 14:03 -0500", "Thu, 29 Feb 2024 23:59:60 +0000",
                           "31 Dec 1999 00:00:00 -2359"}) {
    EXPECT_TRUE(IsMailDateTime(good)) << good;
  }
  for (const char* bad : {"05.03.2024", "Tue, 05 Mar 2024 14:03:07", "Mon, 99 Feb 2024 99:99 +9999",
                          "29 Feb 2023 10:00 +0000", "31 Apr 2024 10:00 +0000", "5 Mar 2024 24:00 +0000",
                          "5 Mar 2024 10:60 +0000", "5 Mar 2024 10:00:61 +0000", "5 Mar 2024 10:00 +0160",
                          "Mon, 05 Mar 2024 14:03:07 +0100", "0 Mar 2024 10:00 +0000"}) {
    EXPECT_FALSE(IsMailDateTime(bad)) << bad;
  }
}

TEST(MimeHeader, ControlCharactersAreRefused) {
  EXPECT_NO_THROW(CheckNoControlChars("Subject", "tab\tand \xC3\xBCmlaut"));
  for (const char* bad : {"a\r\nRCPT TO:<x>", "a\nb", "a\rb", "bell\x07", "del\x7F"}) {
    try {
      CheckNoControlChars("Subject", bad);
      ADD_FAILURE() << bad;
    } catch (const platform::Exception& e) {
      EXPECT_EQ(e.Message(), "Unzulässiges Steuerzeichen in Subject");
    }
  }
}

TEST(MimeHeader, EncodedWordsKeepCharactersWhole) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "\xE2\x82\xAC";  // 40 euro signs of three bytes each
  std::vector<std::string> words = Split(EncodedWords(text, "utf-8"), "\r\n ");
  EXPECT_EQ(words.size(), 3u);
  for (const std::string& word : words) {
    EXPECT_LE(word.size(), 75u);
    EXPECT_TRUE(word.starts_with("=?utf-8?B?") && word.ends_with("?=")) << word;
  }
  EXPECT_EQ(EncodedWords("\xC3\xBC", "utf-8"), "=?utf-8?B?w7w=?=");
}

TEST(MimeHeader, HeaderValues) {
  EXPECT_EQ(HeaderText("Subject", "Rechner xy", "us-ascii"), "Rechner xy");
  EXPECT_EQ(HeaderText("Subject", "f\xC3\xBCr", "us-ascii"), "=?utf-8?B?ZsO8cg==?=");
  EXPECT_EQ(HeaderText("Subject", "f\xC3\xBCr", "iso-8859-15"), "=?iso-8859-15?B?ZsO8cg==?=");
  EXPECT_TRUE(HeaderText("Subject", std::string(990, 'a'), "us-ascii").starts_with("=?us-ascii?B?"));

  // ASCII that a reader would decode as an encoded word is encoded itself.
  EXPECT_EQ(HeaderText("Subject", "=?utf-8?B?SGFja2Vk?=", "us-ascii"), "=?us-ascii?B?PT91dGYtOD9CP1NHRmphMlZrPz0=?=");
  EXPECT_EQ(HeaderText("Subject", "a =? b", "us-ascii"), "a =? b");

  EXPECT_EQ(FileNameParameter("name", "a \"b\".txt"), "name=\"a \\\"b\\\".txt\"");
  EXPECT_EQ(FileNameParameter("filename", "\xC3\xBC b.txt"), "filename*=utf-8''%C3%BC%20b.txt");
}

TEST(MimeHeader, DisplayNamesBecomePhrases) {
  struct Case {
    std::string name, phrase;
  };
  for (const Case& k : std::vector<Case>{
           {"Quillet", "Quillet"},
           {"  John  Q Public ", "\"John  Q Public\""},
           {"John Q Public", "John Q Public"},
           {"Doe, John", "\"Doe, John\""},
           {"J. Doe", "\"J. Doe\""},
           {"Q <evil@x>, other", "\"Q <evil@x>, other\""},
           {"say \"hi\" \\o/", "\"say \\\"hi\\\" \\\\o/\""},
           {"J\xC3\xB6rg", "=?utf-8?B?SsO2cmc=?="},
           {"=?utf-8?B?SGFja2Vk?=", "=?us-ascii?B?PT91dGYtOD9CP1NHRmphMlZrPz0=?="},
           {"", ""},
       }) {
    EXPECT_EQ(Phrase(k.name, "us-ascii"), k.phrase) << k.name;
  }
}

TEST(MimeHeader, AddressListFoldsOnlyPastTheLineLimit) {
  EXPECT_EQ(AddressListLine("To", {"x@a.org", "y@b.org"}), "To: x@a.org,y@b.org");
  std::vector<std::string> many(100, std::string(20, 'r') + "@example.org");
  std::string line = AddressListLine("CC", many);
  std::vector<std::string> lines = Split(line, "\r\n");
  EXPECT_GT(lines.size(), 1u);
  for (const std::string& l : lines) EXPECT_LE(l.size(), 78u);
  // Unfolding (removing each CR LF and the blank after it) gives the unfolded line back.
  std::string expected = "CC: ";
  for (size_t i = 0; i < many.size(); ++i) expected += (i ? "," : "") + many[i];
  std::string unfolded;
  for (size_t i = 0; i < lines.size(); ++i) unfolded += i ? lines[i].substr(1) : lines[i];
  EXPECT_EQ(unfolded, expected);
}

}  // namespace
}  // namespace mailnet

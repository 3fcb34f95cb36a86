#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configurator/HostListFile.h"
#include "configurator/tests/HostListTestSupport.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace configurator::testing {
namespace {

struct RefusalCase {
  std::vector<THostEntry> rows;
  int row;
  const char* english;
  const char* german;
};

// The first row that cannot be stored is named in the interface language, and Save refuses the whole
// list without touching a byte of the file.
TEST(HostRefusalTest, TheFirstBadRowIsNamedAndTheFileKeepsEveryByte) {
  const char* hostMessageEn =
      ": the host name may not contain \"=\", a line break or a NUL byte, nor begin with \"[\" or \";\"";
  const char* hostMessageDe =
      ": der Hostname darf kein \"=\", keinen Zeilenumbruch und kein NUL-Byte enthalten und nicht mit \"[\" oder "
      "\";\" beginnen";
  const std::vector<RefusalCase> cases{
      {{Host("ok"), Host("")}, 2, "Sorry, but you should give me a HostName", "Sie muessen einen Hostnamen angeben"},
      {{Host(" \t ")}, 1, "Sorry, but you should give me a HostName", "Sie muessen einen Hostnamen angeben"},
      {{Host("a", "", "")}, 1, "You should enter something in Column 2 and 3",
       "Sie muessen alle ausfuerbaren Dateien angeben (Spalte 2 und 3 ist leer)"},
      {{Host("a=b")}, 1, hostMessageEn, hostMessageDe},
      {{Host("ok"), Host("a\nb")}, 2, hostMessageEn, hostMessageDe},
      {{Host("a\rb")}, 1, hostMessageEn, hostMessageDe},
      {{Host(std::string("a\0b", 3))}, 1, hostMessageEn, hostMessageDe},
      {{Host(" [a]")}, 1, hostMessageEn, hostMessageDe},
      {{Host(";a")}, 1, hostMessageEn, hostMessageDe},
      {{Host("a", "x\ny")}, 1, ": a command may not contain a line break or a NUL byte",
       ": ein Befehl darf keinen Zeilenumbruch und kein NUL-Byte enthalten"},
      {{Host("a", "", std::string("x\0", 2))}, 1, ": a command may not contain a line break or a NUL byte",
       ": ein Befehl darf keinen Zeilenumbruch und kein NUL-Byte enthalten"},
      {{Host("Srv1"), Host("other"), Host("srv1 ")}, 3, ": the host name is already in row 1",
       ": der Hostname steht schon in Zeile 1"},
  };
  platform::TempFolder folder;
  const std::string path = folder.File("HostList.ini");
  const std::string before = "[Options]\nLogging=0\n[Hosts]\nkept=\n[Show]\nkept=3\n";
  platform::WriteFileAtomic(path, before, platform::Durability::Unflushed);
  for (const RefusalCase& c : cases) {
    const std::string prefix = c.english[0] == ':' ? "Row " + std::to_string(c.row) : "";
    const std::string prefixDe = c.german[0] == ':' ? "Zeile " + std::to_string(c.row) : "";
    const auto english = ValidateHostEntries(c.rows, true);
    const auto german = ValidateHostEntries(c.rows, false);
    ASSERT_TRUE(english && german) << c.english;
    EXPECT_EQ(english->row, c.row) << c.english;
    EXPECT_EQ(english->message, prefix + c.english);
    EXPECT_EQ(german->message, prefixDe + c.german);
    try {
      SaveHostEntries(path, c.rows);
      ADD_FAILURE() << "saved: " << c.english;
    } catch (const platform::Exception& e) {
      EXPECT_NE(e.Message().find(english->message), std::string::npos) << e.Message();
    }
    EXPECT_EQ(platform::ReadFileBytes(path), before) << c.english;
  }
}

TEST(HostRefusalTest, RowsThatMayBeStoredPass) {
  EXPECT_FALSE(ValidateHostEntries({}, true));
  EXPECT_FALSE(ValidateHostEntries({Host("a", "down.sh", ""), Host("b", "", "up.sh"), Host("Müller"),
                                    Host("MÜLLER"), Host("a b"), Host("x]"), Host("\"q\"")},
                                   true));
}

}  // namespace
}  // namespace configurator::testing

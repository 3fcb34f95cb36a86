#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/core/Files.h"
#include "platform/core/IniFile.h"
#include "platform/core/StringList.h"
#include "platform/core/tests/TempFolder.h"

namespace platform {
namespace {

using Values = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> SectionLines(const TCustomIniFile& ini, const std::string& section) {
  TStringList list;
  ini.ReadSectionValues(section, list);
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

// A whole section written in one pass reads as the same values written one by one, and every other
// line of the file stays as it was.
TEST(IniWriteSectionTest, ReadsAsWritingEachValue) {
  TempFolder folder;
  const std::string before = "; hosts\r\n[Hosts]\r\nold=\r\n; note\r\n[Options]\r\nIntervall=60\r\n";
  WriteFileAtomic(folder.File("a.ini"), before);
  WriteFileAtomic(folder.File("b.ini"), before);
  const Values values = {{"beta", ""}, {"alpha", "1"}, {" BETA ", "2"}, {"gamma", "x y"}};
  TMemIniFile whole(folder.File("a.ini"));
  whole.WriteSection("hosts", values);
  whole.WriteSection("New", {{"k", "v"}});
  whole.UpdateFile();
  TMemIniFile single(folder.File("b.ini"));
  single.EraseSection("Hosts");
  for (const auto& [key, value] : values) single.WriteString("Hosts", key, value);
  single.WriteString("New", "k", "v");

  const TMemIniFile reread(folder.File("a.ini"));
  EXPECT_EQ(SectionLines(reread, "Hosts"), SectionLines(single, "Hosts"));
  EXPECT_EQ(SectionLines(reread, "Hosts"), (std::vector<std::string>{"beta=2", "alpha=1", "gamma=x y"}));
  EXPECT_EQ(ReadFileBytes(folder.File("a.ini")),
            "; hosts\r\n[hosts]\r\nbeta=2\r\nalpha=1\r\ngamma=x y\r\n[Options]\r\nIntervall=60\r\n[New]\r\nk=v\r\n");
  EXPECT_EQ(reread.ReadString("new", "K", ""), "v");

  // What WriteString refuses, in the section's name or in any of its entries, changes nothing.
  const std::vector<std::pair<std::string, Values>> refused = {
      {"Hosts", {{"fine", "1"}, {"bad", "line\nbreak"}}}, {"Hosts", {{"fine", "1"}, {"a=b", "1"}}},
      {"Hosts", {{"fine", "1"}, {" ;note", "1"}}},        {"Ho]sts", {{"fine", "1"}}},
      {" ", {{"fine", "1"}}},                             {"Hosts", {{"fine", "1"}, {"", "1"}}}};
  for (const auto& [section, entries] : refused) {
    EXPECT_THROW(whole.WriteSection(section, entries), EIniFileException) << section << " " << entries.back().first;
    EXPECT_EQ(whole.ReadString(section, "fine", "none"), "none") << section;
  }
}

// The index of a section follows every change of it.
TEST(IniWriteSectionTest, LookupsSeeEveryChange) {
  TempFolder folder;
  WriteFileAtomic(folder.File("c.ini"), "[S]\r\na=1\r\nA=2\r\n b = \"3\" \r\n");
  TMemIniFile ini(folder.File("c.ini"));
  EXPECT_EQ(ini.ReadString("s", "A", ""), "1");  // the first of a name
  EXPECT_EQ(ini.ReadString("S", "b", ""), "3");
  ini.WriteString("S", "a", "9");
  EXPECT_EQ(ini.ReadString("S", "a", ""), "9");
  ini.DeleteKey("S", "b");
  EXPECT_EQ(ini.ReadString("S", "b", "gone"), "gone");
  ini.WriteSection("S", {{"c", "4"}});
  EXPECT_EQ(ini.ReadString("S", "a", "gone"), "gone");
  EXPECT_EQ(ini.ReadInteger("S", "c", 0), 4);
  ini.EraseSection("S");
  EXPECT_EQ(ini.ReadString("S", "c", "gone"), "gone");
}

}  // namespace
}  // namespace platform

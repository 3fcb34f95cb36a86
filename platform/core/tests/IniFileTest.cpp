#include "platform/core/IniFile.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/core/FormatSettings.h"
#include "platform/core/Files.h"
#include "platform/core/StringList.h"
#include "platform/core/UniqueFd.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/core/tests/TextTestSettings.h"

namespace platform {
namespace {

// Every kind of line the readers must cope with, CR LF ended.
const std::string kSample =
    "; written by hand\r\n"
    "orphan=before any section\r\n"
    "[Options]\r\n"
    "  Intervall = 60 \r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mixed=\"x'\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$10\r\n"
    "Negative=-7\r\n"
    "Zero=0\r\n"
    "Two=2\r\n"
    "Word=yes\r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "dup=first\r\n"
    "DUP=second\r\n"
    "Utf8=Grüße, 日本\r\n"
    "\r\n"
    "[ hosts ]\r\n"
    "a.example=\r\n"
    "[HOSTS]\r\n"
    "hidden=1\r\n"
    "[Odd]\r\n"
    "[unclosed\r\n"
    "=no key\r\n"
    "  ; indented comment\r\n"
    "k = v ; not a comment\r\n";

std::vector<std::string> Lines(const TStringList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

// Both classes must follow the same rules; each test runs on both.
using IniFactory = std::function<std::unique_ptr<TCustomIniFile>(const std::string&)>;
const std::vector<std::pair<const char*, IniFactory>> kKinds = {
    {"TIniFile", [](const std::string& name) { return std::make_unique<TIniFile>(name); }},
    {"TMemIniFile", [](const std::string& name) { return std::make_unique<TMemIniFile>(name); }},
};

TEST(IniFileTest, ReadsFollowTheProfileRules) {
  TempFolder folder;
  std::string name = folder.File("sample.ini");
  WriteFileAtomic(name, kSample);
  for (auto& [kind, make] : kKinds) {
    std::unique_ptr<TCustomIniFile> ini = make(name);
    struct Case {
      const char* section;
      const char* key;
      const char* expected;
    } strings[] = {
        {"options", "INTERVALL", "60"},       // case, blanks around key and value
        {" Options ", " Intervall ", "60"},   // blanks around the names asked for
        {"Options", "Quoted", "  spaced  "},  // one pair of quotes goes, what they hold stays
        {"Options", "Single", "x"},
        {"Options", "Mixed", "\"x'"},  // quotes that do not match stay
        {"Options", "Empty", ""},      // present and empty: not the default
        {"Options", "NoEquals", ""},
        {"Options", "dup", "first"},  // first match wins
        {"Options", "Utf8", "Grüße, 日本"},
        {"Options", "Missing", "default"},
        {"Hosts", "a.example", ""},
        {"Hosts", "hidden", "default"},  // in a second [Hosts], which is never seen
        {"Odd", "k", "v ; not a comment"},
        {"Odd", "", "default"},
        {"", "orphan", "default"},  // lines before the first section belong to none
        {"Nowhere", "k", "default"},
    };
    for (const Case& c : strings) {
      EXPECT_EQ(ini->ReadString(c.section, c.key, "default"), c.expected) << kind << " " << c.section << "/" << c.key;
    }

    struct IntCase {
      const char* key;
      int defaultValue;
      int expected;
    } integers[] = {{"Intervall", 0, 60}, {"Hex", 0, 31},  {"Dollar", 0, 16}, {"Negative", 0, -7},
                    {"Word", 5, 5},       {"Empty", 5, 5}, {"Missing", 5, 5}, {"Quoted", 5, 5}};
    for (const IntCase& c : integers) {
      EXPECT_EQ(ini->ReadInteger("Options", c.key, c.defaultValue), c.expected) << kind << " " << c.key;
    }

    struct BoolCase {
      const char* key;
      bool defaultValue;
      bool expected;
    } bools[] = {{"Zero", true, false}, {"Two", false, true},    {"Hex", false, true},       {"Negative", false, true},
                 {"Word", true, true},  {"Word", false, false},  {"Missing", true, true},    {"Empty", false, false}};
    for (const BoolCase& c : bools) {
      EXPECT_EQ(ini->ReadBool("Options", c.key, c.defaultValue), c.expected) << kind << " " << c.key;
    }

    TStringList list;
    list.Add("stale");
    ini->ReadSections(list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Options", "hosts", "Odd"})) << kind;
    ini->ReadSection("OPTIONS", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Intervall", "Quoted", "Single", "Mixed", "Hex", "Dollar",
                                                     "Negative", "Zero", "Two", "Word", "Empty", "NoEquals", "dup",
                                                     "Utf8"}))
        << kind;
    ini->ReadSectionValues("odd", list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"k=v ; not a comment"})) << kind;
    ini->ReadSection("Nowhere", list);
    EXPECT_EQ(list.Count(), 0) << kind;

    EXPECT_TRUE(ini->SectionExists("ODD")) << kind;
    EXPECT_FALSE(ini->SectionExists("unclosed")) << kind;
    EXPECT_TRUE(ini->ValueExists("options", "EMPTY")) << kind;
    EXPECT_FALSE(ini->ValueExists("options", "Missing")) << kind;
  }
}

TEST(IniFileTest, WritesKeepEveryOtherLineByteForByte) {
  TempFolder folder;
  for (auto& [kind, make] : kKinds) {
    std::string name = folder.File(std::string(kind) + ".ini");
    WriteFileAtomic(name, kSample);
    std::unique_ptr<TCustomIniFile> ini = make(name);
    ini->WriteString("OPTIONS", "intervall", "30");  // keeps the key as written and the line's place
    ini->WriteInteger("Options", "New", 5);          // after the last key, before the blank line
    ini->DeleteKey("options", "DUP");                // every line of the key
    ini->EraseSection("HOSTS");                      // every section of the name
    ini->WriteString("Odd", "k2", "x");
    ini->WriteBool("Fresh", "On", true);  // a new section at the end
    ini->WriteFloat("Fresh", "Ratio", 2.5);
    ini->UpdateFile();
    EXPECT_EQ(ReadFileBytes(name),
              "; written by hand\r\n"
              "orphan=before any section\r\n"
              "[Options]\r\n"
              "  Intervall=30\r\n"
              "Quoted=\"  spaced  \"\r\n"
              "Single='x'\r\n"
              "Mixed=\"x'\r\n"
              "Hex=0x1F\r\n"
              "Dollar=$10\r\n"
              "Negative=-7\r\n"
              "Zero=0\r\n"
              "Two=2\r\n"
              "Word=yes\r\n"
              "Empty=\r\n"
              "NoEquals\r\n"
              "Utf8=Grüße, 日本\r\n"
              "New=5\r\n"
              "\r\n"
              "[Odd]\r\n"
              "[unclosed\r\n"
              "=no key\r\n"
              "  ; indented comment\r\n"
              "k = v ; not a comment\r\n"
              "k2=x\r\n"
              "[Fresh]\r\n"
              "On=1\r\n"
              "Ratio=2.5\r\n")
        << kind;
    EXPECT_EQ(ini->ReadString("Options", "dup", "gone"), "gone") << kind;
    EXPECT_FALSE(ini->SectionExists("hosts")) << kind;
  }
}

TEST(IniFileTest, NewLinesFollowTheFilesOwnLineEnds) {
  TempFolder folder;
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"[A]\nx=1\n", "[A]\nx=1\ny=2\n[B]\nz=3\n"},
      {"[A]\nx=1", "[A]\nx=1\ny=2\n[B]\nz=3\n"},  // a last line without a break gets one
      {"[A]", "[A]\r\ny=2\r\n[B]\r\nz=3\r\n"},
      {"[A]\rx=1\r", "[A]\rx=1\ry=2\r[B]\rz=3\r"},
      {"", "[A]\r\ny=2\r\n[B]\r\nz=3\r\n"},
  };
  for (auto& [kind, make] : kKinds) {
    for (const Case& c : cases) {
      std::string name = folder.File("ends.ini");
      if (*c.before) WriteFileAtomic(name, c.before);
      else DeleteFile(name);
      std::unique_ptr<TCustomIniFile> ini = make(name);
      ini->WriteString("A", "y", "2");
      ini->WriteString("B", "z", "3");
      ini->UpdateFile();
      EXPECT_EQ(ReadFileBytes(name), c.after) << kind << " " << ::testing::PrintToString(c.before);
    }
  }
}

// Editors on the desktop may start a UTF-8 file with a byte order mark. It must not hide the first
// section (a write would then add a second one that shadows nothing and loses the first), and it stays.
TEST(IniFileTest, AByteOrderMarkDoesNotHideTheFirstSection) {
  TempFolder folder;
  const std::string mark = "\xEF\xBB\xBF";
  for (auto& [kind, make] : kKinds) {
    std::string name = folder.File(std::string(kind) + ".ini");
    WriteFileAtomic(name, mark + "[Options]\r\nIntervall=60\r\n");
    std::unique_ptr<TCustomIniFile> ini = make(name);
    EXPECT_EQ(ini->ReadInteger("options", "Intervall", 0), 60) << kind;
    TStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(Lines(sections), std::vector<std::string>{"Options"}) << kind;
    ini->WriteInteger("Options", "Intervall", 30);
    ini->UpdateFile();
    EXPECT_EQ(ReadFileBytes(name), mark + "[Options]\r\nIntervall=30\r\n") << kind;
  }
}

TEST(IniFileTest, RefusesWhatWouldCorruptTheFile) {
  TempFolder folder;
  std::string name = folder.File("refuse.ini");
  WriteFileAtomic(name, kSample);
  struct Case {
    std::string section, key, value;
  } cases[] = {
      {"S", "a=b", "v"},  {"S", "[a", "v"},   {"S", ";a", "v"},  {"S", " ;a", "v"},     {"S", "a\nb", "v"},
      {"S", "a\rb", "v"}, {"S", "", "v"},     {"S", "  ", "v"},  {"S]", "k", "v"},      {"S\n", "k", "v"},
      {"", "k", "v"},     {"S", "k", "a\r\nb"}, {"S", "k", "a\n"}, {"Options", "Hex", "\r"},
  };
  for (auto& [kind, make] : kKinds) {
    std::unique_ptr<TCustomIniFile> ini = make(name);
    for (const Case& c : cases) {
      EXPECT_THROW(ini->WriteString(c.section, c.key, c.value), EIniFileException)
          << kind << " " << ::testing::PrintToString(c.section + "|" + c.key + "|" + c.value);
    }
    ini->UpdateFile();
    EXPECT_EQ(ReadFileBytes(name), kSample) << kind;
  }
  try {
    TIniFile(name).WriteString("S", "a=b", "v");
    FAIL() << "no EIniFileException";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot write to the INI file \"" + name +
                               "\": the key \"a=b\" is empty, holds \"=\" or a line break, or begins with \"[\" or \";\"");
  }
}

TEST(IniFileTest, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
  TempFolder folder;
  std::string name = folder.File("new.ini");
  for (auto& [kind, make] : kKinds) {
    DeleteFile(name);
    std::unique_ptr<TCustomIniFile> ini = make(name);
    EXPECT_EQ(ini->ReadInteger("Options", "Intervall", 30), 30);
    TStringList sections;
    ini->ReadSections(sections);
    EXPECT_EQ(sections.Count(), 0);
    ini->DeleteKey("Options", "Intervall");
    ini->EraseSection("Options");
    ini->UpdateFile();
    EXPECT_FALSE(FileExists(name)) << kind << ": nothing to write";
    ini->WriteString("Options", "Intervall", "45");
    ini->UpdateFile();
    EXPECT_EQ(ReadFileBytes(name), "[Options]\r\nIntervall=45\r\n") << kind;
  }
  TIniFile inFolderThatIsMissing(folder.File("none/new.ini"));
  EXPECT_THROW(inFolderThatIsMissing.WriteString("S", "k", "v"), EFCreateError);
  TIniFile aFolder(folder.File(""));
  EXPECT_THROW(aFolder.ReadString("S", "k", ""), EFOpenError);  // exists but cannot be read: not "empty"
}

// A FIFO in an INI file's place blocked its reader for ever (and with a writer failed as
// "basic_string::_M_create"); /dev/zero read as empty. Each is now refused at once, naming the file.
TEST(IniFileTest, AnythingButARegularFileIsRefusedAtOnceNamingTheFile) {
  TempFolder folder;
  const std::string fifo = folder.File("fifo.ini");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string device = folder.File("zero.ini");
  ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
  auto expectRefused = [](const std::string& name) {
    for (auto& [kind, make] : kKinds) {
      SCOPED_TRACE(std::string(kind) + " " + name);
      try {
        make(name)->ReadString("S", "k", "");
        ADD_FAILURE() << "read";
      } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + name + "\". It is not a regular file.");
      }
    }
  };
  expectRefused(fifo);
  expectRefused(device);
  // A writer that holds the FIFO open and writes nothing.
  UniqueFd writer(::open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
  ASSERT_TRUE(writer.IsValid());
  expectRefused(fifo);

  WriteFileAtomic(folder.File("target.ini"), "[S]\r\nk=v\r\n");
  ASSERT_EQ(::symlink("target.ini", folder.File("link.ini").c_str()), 0);
  EXPECT_EQ(TIniFile(folder.File("link.ini")).ReadString("S", "k", ""), "v");  // a link to a regular file is one
}

// TIniFile reads the file at every call and each write starts from the file as it is now; TMemIniFile
// reads once and writes only when UpdateFile is called.
TEST(IniFileTest, WriteThroughAgainstInMemory) {
  TempFolder folder;
  std::string name = folder.File("shared.ini");
  WriteFileAtomic(name, "[Options]\r\nIntervall=60\r\n");
  TIniFile direct(name);
  TMemIniFile memory(name);
  WriteFileAtomic(name, "[Options]\r\nIntervall=90\r\n[Hosts]\r\nadded.by.another.process=\r\n");
  EXPECT_EQ(direct.ReadInteger("Options", "Intervall", 0), 90);
  EXPECT_EQ(memory.ReadInteger("Options", "Intervall", 0), 60);

  direct.WriteInteger("Options", "Logging", 1);
  EXPECT_EQ(ReadFileBytes(name), "[Options]\r\nIntervall=90\r\nLogging=1\r\n[Hosts]\r\nadded.by.another.process=\r\n");

  memory.WriteString("Options", "Intervall", "120");
  EXPECT_EQ(direct.ReadInteger("Options", "Intervall", 0), 90);  // not on disk before UpdateFile
  memory.UpdateFile();
  EXPECT_EQ(ReadFileBytes(name), "[Options]\r\nIntervall=120\r\n");

  TMemIniFile unwritable(folder.File("none/x.ini"));
  unwritable.WriteString("S", "k", "v");
  EXPECT_THROW(unwritable.UpdateFile(), EFCreateError);
  EXPECT_EQ(unwritable.ReadString("S", "k", ""), "v");  // the changes stay for another try
}

TEST(IniFileTest, FloatsUseTheDecimalSeparator) {
  TempFolder folder;
  std::string name = folder.File("float.ini");
  FormatSettings() = testing::GermanSettings();
  TIniFile ini(name);
  ini.WriteFloat("S", "f", 1.25);
  EXPECT_EQ(ini.ReadString("S", "f", ""), "1,25");
  EXPECT_EQ(ini.ReadFloat("S", "f", 0), 1.25);
  ini.WriteString("S", "g", "1.25");
  EXPECT_EQ(ini.ReadFloat("S", "g", -1), -1);
  ResetFormatSettings();
}

}  // namespace
}  // namespace platform

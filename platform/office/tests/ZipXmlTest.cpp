#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "OfficeTestSupport.h"
#include "platform/core/Clock.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Xml.h"
#include "platform/office/ZipArchive.h"

using namespace platform;
using office_test::TempFolder;

namespace {

std::string Archive(const std::vector<std::pair<std::string, std::string>>& entries) {
  ZipWriter writer("test.zip");
  for (const auto& [name, bytes] : entries) writer.Add(name, bytes);
  return writer.Finish();
}

std::string Patterned(size_t size) {
  std::string text;
  text.reserve(size);
  for (size_t i = 0; text.size() < size; ++i) text += "row " + std::to_string(i * 7919 % 100003) + "\n";
  text.resize(size);
  return text;
}

size_t Find(const std::string& bytes, uint32_t signature, size_t from = 0) {
  char pattern[4];
  std::memcpy(pattern, &signature, 4);
  return bytes.find(std::string(pattern, 4), from);
}

void Put32(std::string& bytes, size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

constexpr uint32_t kLocalHeader = 0x04034b50, kCentralHeader = 0x02014b50, kEndOfDirectory = 0x06054b50;

template <typename F>
std::string ExpectRefused(F&& f) {
  try {
    f();
  } catch (const EOleException& error) {
    EXPECT_EQ(error.FileName(), "test.zip");
    return error.Reason();
  }
  ADD_FAILURE() << "no EOleException";
  return {};
}

}  // namespace

TEST(ZipArchive, WritesAndReadsEntriesInOrder) {
  const std::string big = Patterned(300000);
  ZipReader reader(Archive({{"a.txt", "hello"}, {"dir/big.txt", big}, {"empty", ""}}), "test.zip");
  ASSERT_EQ(reader.Entries().size(), 3u);
  EXPECT_EQ(reader.Entries()[0].name, "a.txt");
  EXPECT_EQ(reader.Entries()[1].name, "dir/big.txt");
  EXPECT_LT(reader.Entries()[1].compressedSize, big.size() / 2);
  EXPECT_EQ(reader.Read(0), "hello");
  EXPECT_EQ(reader.Read(reader.Find("dir/big.txt")), big);
  EXPECT_EQ(reader.Read(2), "");
  EXPECT_EQ(reader.Find("missing"), -1);
}

TEST(ZipArchive, TimestampsComeFromThePlatformClockSoOutputIsDeterministic) {
  const int64_t when = 1700000000000;  // 2023-11-14 22:13:20 UTC
  UseVirtualClock(when);
  const std::string first = Archive({{"a", "x"}, {"b", Patterned(5000)}});
  AdvanceVirtualClock(0);
  const std::string second = Archive({{"a", "x"}, {"b", Patterned(5000)}});
  UseRealClock();
  EXPECT_EQ(first, second);
  ZipReader reader(first, "test.zip");
  // DOS times hold even seconds of local time; libzip converts both ways in the same zone.
  EXPECT_NEAR(static_cast<double>(reader.Entries()[0].modifiedUnix), when / 1000.0, 2.0);
}

TEST(ZipArchive, CopyRawKeepsTheCompressedBytes) {
  const std::string text = Patterned(100000);
  ZipReader source(Archive({{"keep.xml", text}, {"change.xml", "old"}}), "test.zip");
  ZipWriter writer("test.zip");
  writer.CopyRaw(source, 0);
  writer.Add("change.xml", "new");
  const std::string bytes = writer.Finish();
  ZipReader copy(bytes, "test.zip");
  EXPECT_EQ(copy.Entries()[0].compressedSize, source.Entries()[0].compressedSize);
  EXPECT_EQ(copy.Entries()[0].crc, source.Entries()[0].crc);
  EXPECT_EQ(copy.Entries()[0].modifiedUnix, source.Entries()[0].modifiedUnix);
  EXPECT_EQ(copy.Read(0), text);
  EXPECT_EQ(copy.Read(1), "new");
}

TEST(ZipArchive, ReadsDataDescriptorsZip64AndStoredEntriesThatPythonWrites) {
  TempFolder folder;
  office_test::RunPython(folder, "zips", R"(
import io, zipfile
class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)
with open(sys.argv[1], 'wb') as raw:
    with zipfile.ZipFile(Unseekable(raw), 'w', zipfile.ZIP_DEFLATED) as z:   # data descriptors
        with z.open('streamed.txt', 'w', force_zip64=True) as f:               # and ZIP64 extra fields
            f.write(b'streamed ' * 1000)
        z.writestr(zipfile.ZipInfo('stored.txt'), b'stored bytes', compress_type=zipfile.ZIP_STORED)
)",
                         {folder / "python.zip"});
  ZipReader reader(office_test::ReadFile(folder / "python.zip"), "test.zip");
  ASSERT_EQ(reader.Entries().size(), 2u);
  std::string streamed;
  for (int i = 0; i < 1000; ++i) streamed += "streamed ";
  EXPECT_EQ(reader.Read(0), streamed);
  EXPECT_EQ(reader.Read(1), "stored bytes");
}

TEST(ZipArchive, RefusesHostileArchivesInBoundedTime) {
  const auto start = std::chrono::steady_clock::now();
  const std::string good = Archive({{"a.xml", Patterned(4000)}, {"b.xml", "b"}});

  // An entry that claims 4 GB.
  std::string huge = good;
  Put32(huge, Find(huge, kCentralHeader) + 24, 0xFFFFFFF0u);
  EXPECT_NE(ExpectRefused([&] { ZipReader reader(huge, "test.zip"); }).find("claims 4294967280 bytes"),
            std::string::npos);

  // An entry that inflates beyond the size that it claims.
  std::string liar = good;
  Put32(liar, Find(liar, kCentralHeader) + 24, 10);
  Put32(liar, Find(liar, kLocalHeader) + 22, 10);
  ExpectRefused([&] {
    ZipReader reader(liar, "test.zip");
    reader.Read(0);
  });

  // A truncated central directory: half of it gone, the end record kept.
  const size_t central = Find(good, kCentralHeader), end = Find(good, kEndOfDirectory);
  const std::string truncated = good.substr(0, central + (end - central) / 2) + good.substr(end);
  ExpectRefused([&] { ZipReader reader(truncated, "test.zip"); });
  ExpectRefused([&] { ZipReader reader(good.substr(0, good.size() - 10), "test.zip"); });
  ExpectRefused([&] { ZipReader reader("PK\x03\x04 not really", "test.zip"); });

  // An encrypted entry (the flag set in both headers).
  std::string encrypted = good;
  encrypted[Find(encrypted, kLocalHeader) + 6] |= 1;
  encrypted[Find(encrypted, kCentralHeader) + 8] |= 1;
  EXPECT_NE(ExpectRefused([&] { ZipReader reader(encrypted, "test.zip"); }).find("encrypted"), std::string::npos);

  // Too many entries, and more bytes together than the limit.
  ZipLimits few;
  few.maxEntries = 1;
  ExpectRefused([&] { ZipReader reader(good, "test.zip", few); });
  ZipLimits small;
  small.maxTotalBytes = 1000;
  ExpectRefused([&] { ZipReader reader(good, "test.zip", small); });
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ZipArchive, RefusesARatioBomb) {
  TempFolder folder;
  office_test::RunPython(folder, "bomb", R"(
import zipfile
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr('xl/worksheets/sheet1.xml', b'\0' * (64 << 20))
)",
                         {folder / "bomb.zip"});
  const std::string bytes = office_test::ReadFile(folder / "bomb.zip");
  EXPECT_LT(bytes.size(), 200000u);
  EXPECT_NE(ExpectRefused([&] { ZipReader reader(bytes, "test.zip"); }).find("ratio"), std::string::npos);
}

namespace {

struct Recorder : XmlHandler {
  std::string events;
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    events += "<" + std::string(LocalName(name));
    for (const char** p = attributes.Pairs(); *p; p += 2)
      if (std::string_view(p[0]).substr(0, 5) != "xmlns") events += " " + std::string(LocalName(p[0])) + "=" + p[1];
    events += ">";
  }
  void EndElement(std::string_view name) override { events += "</" + std::string(LocalName(name)) + ">"; }
  void Text(std::string_view text) override { events += text; }
};

std::string XmlError(const std::string& xml) {
  Recorder recorder;
  try {
    ParseXml(xml, recorder, "test.xlsx", "part");
  } catch (const EOleException& error) {
    return error.Message();
  }
  return "parsed: " + recorder.events;
}

}  // namespace

TEST(Xml, MatchesLocalNamesOfTransitionalAndStrictDocuments) {
  for (const std::string xml :
       {"<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData "
        "r:id=\"7\"/></worksheet>",
        "<x:worksheet xmlns:x=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"><x:sheetData "
        "r:id=\"7\"/></x:worksheet>"}) {
    Recorder recorder;
    ParseXml(xml, recorder, "f", "p");
    EXPECT_EQ(recorder.events, "<worksheet><sheetData id=7></sheetData></worksheet>");
  }
}

TEST(Xml, RefusesEntityDeclarationsAndExternalEntities) {
  const auto start = std::chrono::steady_clock::now();
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
  for (int i = 1; i < 10; ++i)
    laughs += "<!ENTITY lol" + std::to_string(i) + " \"" + [&] {
      std::string refs;
      for (int k = 0; k < 10; ++k) refs += "&lol" + (i == 1 ? std::string() : std::to_string(i - 1)) + ";";
      return refs;
    }() + "\">";
  laughs += "]><lolz>&lol9;</lolz>";
  EXPECT_NE(XmlError(laughs).find("test.xlsx: part, line 1: entity declarations are refused"), std::string::npos);
  EXPECT_NE(XmlError("<!DOCTYPE a [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><a>&e;</a>").find("refused"),
            std::string::npos);
  EXPECT_EQ(XmlError("<a>&undefined;</a>").find("parsed"), std::string::npos);
  EXPECT_EQ(XmlError("<a><b></a>").find("parsed"), std::string::npos);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Xml, WriterEscapesAndReplacesWhatXmlCannotHold) {
  XmlWriter writer;
  writer.Open("a");
  writer.Attribute("v", "q\"<&>\n\t");
  writer.Text("x<y & z>\x01\xff\xC3\xA4\n");
  writer.Empty("b", {{"c", "1"}});
  writer.Close();
  const std::string& xml = writer.Bytes();
  EXPECT_NE(xml.find("<a v=\"q&quot;&lt;&amp;&gt;&#10;&#9;\">x&lt;y &amp; z&gt;\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA4\n<b "
                     "c=\"1\"/></a>"),
            std::string::npos)
      << xml;
  Recorder recorder;
  ParseXml(xml, recorder, "f", "p");
  EXPECT_EQ(recorder.events, "<a v=q\"<&>\n\t>x<y & z>\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA4\n<b c=1></b></a>");
  EXPECT_EQ(ValidUtf8("a\xC3\x28z\xE2\x82"), "a\xEF\xBF\xBD(z\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // a surrogate
}

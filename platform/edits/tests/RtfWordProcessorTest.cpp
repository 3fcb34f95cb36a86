#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/core/Spawn.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/edits/RtfReader.h"

namespace platform {
namespace {

// Rich text as a real word processor writes it: LibreOffice (installed by scripts/setup.sh) converts a
// small document made here into RTF, which must load with its text, styles, table and umlauts.
TEST(RtfWordProcessorTest, ADocumentConvertedByLibreOfficeLoadsWithItsTextAndStyles) {
  const TempFolder folder;
  const std::filesystem::path dir = folder.File("");
  std::ofstream(dir / "doc.html") << "<html><head><meta charset=\"utf-8\"></head><body>\n"
                                     "<p>Normal <b>fett</b> <i>kursiv</i> <font color=\"#ff0000\">rot</font> "
                                     "<font color=\"#0000ff\"><b>blau</b></font> Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln</p>\n"
                                     "<table border=\"1\"><tr><td>Zelle \xC3\x84</td><td>Zelle \xC3\x9F</td></tr>"
                                     "<tr><td>x</td><td>y</td></tr></table>\n"
                                     "<p align=\"center\">Mitte</p>\n</body></html>\n";
  // A profile of its own, so that no other office process or earlier run is in the way. The first start
  // of a fresh profile on a loaded machine now and then reports the source as unreadable: a second
  // conversion, with the profile made by then, settles it.
  SpawnResult result;
  for (int attempt = 0; attempt < 2 && !std::filesystem::exists(dir / "doc.rtf"); ++attempt) {
    result = SpawnAndWait({"soffice",
                           {"-env:UserInstallation=file://" + (dir / "profile").string(), "--headless",
                            "--infilter=HTML (StarWriter)", "--convert-to", "rtf:Rich Text Format", "--outdir",
                            dir.string(), (dir / "doc.html").string()},
                           dir.string(),
                           {"HOME=" + dir.string()}});
    ASSERT_EQ(result.error, 0) << "soffice could not be started: is libreoffice-writer-nogui installed (scripts/setup.sh)?";
  }
  ASSERT_EQ(result.exitCode, 0);
  std::ifstream file(dir / "doc.rtf", std::ios::binary);
  const std::string rtf((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(LooksLikeRtf(rtf)) << rtf.substr(0, 200);

  TRichCharFormat defaults;
  const TRichText doc = ReadRtf(rtf, defaults);
  const std::string& text = doc.Text();
  for (const char* expected : {"Normal fett kursiv rot blau Gr\xC3\xBC\xC3\x9F" "e aus K\xC3\xB6ln\r\n",
                               "Zelle \xC3\x84\tZelle \xC3\x9F\r\nx\ty\r\n", "Mitte"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
  auto format = [&](std::string_view part) {
    const size_t at = text.find(part);
    uint32_t shared = 0;
    const TRichCharFormat f = doc.CommonFormat(at, at + part.size(), shared);
    EXPECT_EQ(shared, rfmAll) << part;
    return f;
  };
  EXPECT_EQ(format("Normal").Style, TFontStyles{});
  EXPECT_EQ(format("fett").Style, TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(format("kursiv").Style, TFontStyles{TFontStyle::fsItalic});
  EXPECT_EQ(format("rot").Color, static_cast<TColor>(0x0000FF));
  EXPECT_EQ(format("blau").Color, static_cast<TColor>(0xFF0000));
  EXPECT_EQ(format("blau").Style, TFontStyles{TFontStyle::fsBold});
  EXPECT_EQ(doc.Alignment(doc.ParagraphOf(text.find("Mitte"))), TAlignment::taCenter);
  EXPECT_EQ(doc.Alignment(0), TAlignment::taLeftJustify);
}

}  // namespace
}  // namespace platform

#include <gtest/gtest.h>

#include <string>

#include "platform/edits/RtfReader.h"
#include "platform/edits/RtfWriter.h"

namespace platform {
namespace {

TRichCharFormat Plain() {
  TRichCharFormat f;
  f.FaceName = "Arial";
  f.Height = 200;
  return f;
}

// The text of [from, to) must all have `expected` in the attributes of `mask`.
void ExpectFormat(const TRichText& doc, std::string_view part, const TRichCharFormat& expected, uint32_t mask) {
  const size_t from = doc.Text().find(part);
  ASSERT_NE(from, std::string::npos) << part;
  uint32_t shared = 0;
  const TRichCharFormat f = doc.CommonFormat(from, from + part.size(), shared);
  EXPECT_EQ(shared & mask, mask) << part;
  if (mask & rfmFace) {
    EXPECT_EQ(f.FaceName, expected.FaceName) << part;
  }
  if (mask & rfmHeight) {
    EXPECT_EQ(f.Height, expected.Height) << part;
  }
  if (mask & rfmColor) {
    EXPECT_EQ(f.Color, expected.Color) << part;
  }
  if (mask & (rfmBold | rfmItalic | rfmUnderline | rfmStrikeOut)) {
    EXPECT_EQ(f.Style, expected.Style) << part;
  }
  if (mask & rfmOffset) {
    EXPECT_EQ(f.Offset, expected.Offset) << part;
  }
}

// A document with every attribute of the subset, built through the model.
TRichText StyledDocument() {
  TRichText doc;
  doc.SetDefaultFormat(Plain());
  auto add = [&](std::string_view text, auto change) {
    TRichCharFormat f = Plain();
    change(f);
    doc.Append(text, f);
  };
  add("plain ", [](TRichCharFormat&) {});
  add("bold ", [](TRichCharFormat& f) { f.Style = {TFontStyle::fsBold}; });
  add("italic ", [](TRichCharFormat& f) { f.Style = {TFontStyle::fsItalic}; });
  add("under ", [](TRichCharFormat& f) { f.Style = {TFontStyle::fsUnderline}; });
  add("struck", [](TRichCharFormat& f) { f.Style = {TFontStyle::fsStrikeOut}; });
  add("\r\n", [](TRichCharFormat&) {});
  add("big\t", [](TRichCharFormat& f) { f.Height = 360; });
  add("Courier", [](TRichCharFormat& f) { f.FaceName = "Courier New"; });
  add(" red{\\}", [](TRichCharFormat& f) { f.Color = clRed; });
  add("\r\n", [](TRichCharFormat&) {});
  add("x", [](TRichCharFormat&) {});
  add("2", [](TRichCharFormat& f) { f.Offset = 60; });
  add("i", [](TRichCharFormat& f) { f.Offset = -60; });
  add("\v\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", [](TRichCharFormat&) {});  // line break, ä, €, an emoji
  doc.SetAlignment(0, 0, TAlignment::taCenter);
  doc.SetAlignment(doc.Text().size(), doc.Text().size(), TAlignment::taRightJustify);
  return doc;
}

TEST(RtfTest, TheSubsetSurvivesARoundTrip) {
  const TRichText doc = StyledDocument();
  const std::string rtf = WriteRtf(doc);
  const TRichText back = ReadRtf(rtf, Plain());
  EXPECT_EQ(back.Text(), doc.Text());
  ASSERT_EQ(back.ParagraphCount(), 3);
  EXPECT_EQ(back.Alignment(0), TAlignment::taCenter);
  EXPECT_EQ(back.Alignment(1), TAlignment::taLeftJustify);
  EXPECT_EQ(back.Alignment(2), TAlignment::taRightJustify);
  for (size_t pos = 0; pos < doc.Text().size(); pos = doc.RunEnd(pos)) {
    const size_t end = doc.RunEnd(pos);
    uint32_t shared = 0;
    EXPECT_EQ(back.CommonFormat(pos, end, shared), doc.FormatAt(pos)) << doc.Text().substr(pos, end - pos);
    EXPECT_EQ(shared, rfmAll);
  }
  // Western characters keep a code-page fallback for readers without Unicode.
  EXPECT_NE(rtf.find("\\u228\\'e4"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\u8364\\'80"), std::string::npos) << rtf;
}

TEST(RtfTest, ReadsCodePagesUnicodeAndSkipsWhatItDoesNotShow) {
  struct Case {
    const char* rtf;
    const char* text;
  };
  const Case cases[] = {
      {R"({\rtf1\ansi\ansicpg1252 Gr\'fc\'dfe \'80})", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
      {R"({\rtf1\pca Gr\'81\'e1e \'8e})", "Gr\xC3\xBC\xC3\x9F" "e \xC3\x84"},
      {R"({\rtf1\ansi\ansicpg850 \'94})", "\xC3\xB6"},
      // \uN replaces its fallback; \uc2 makes the fallback two characters; a group ends the count.
      {R"({\rtf1 a\u252?b\uc2\u246\'f6xc{\u228?}d})", "a\xC3\xBC" "b\xC3\xB6" "c\xC3\xA4" "d"},
      {R"({\rtf1 \u-10179?\u-8704?})", "\xF0\x9F\x98\x80"},  // a surrogate pair
      {R"({\rtf1 {\*\unknown hidden}{\stylesheet{\s1 Normal;}}{\info{\title T}}\foo12 shown\par})", "shown\r\n"},
      {R"({\rtf1 {\*\fldinst HYPERLINK "x"}{\fldrslt link}})", "link"},
      {R"({\rtf1 a\cell b\cell\row c})", "a\tb\r\nc"},
      {R"({\rtf1 a\tab b\line c\~d\{\}\\})", "a\tb\vc\xC2\xA0" "d{}\\"},
      {"plain\nlines", "plain\r\nlines"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadRtf(c.rtf, Plain()).Text(), c.text) << c.rtf;
}

TEST(RtfTest, ReadsFontAndColourTablesAndCharacterFormats) {
  const TRichText doc = ReadRtf(
      R"({\rtf1\ansi\deff1{\fonttbl{\f0\fswiss Arial;}{\f1\froman\fcharset0 Times New Roman{\*\falt Times};}})"
      R"({\colortbl;\red255\green0\blue0;\red0\green0\blue128;})"
      R"(\pard\qc deflt \f0\fs28\cf2 navy {\b\i bold} \ul u\ulnone n \strike s\strike0 {\super up} {\sub dn})"
      R"( \plain back\par})",
      Plain());
  TRichCharFormat f = Plain();
  f.FaceName = "Times New Roman";
  ExpectFormat(doc, "deflt", f, rfmAll);
  f.FaceName = "Arial";
  f.Height = 280;
  f.Color = 0x800000;
  ExpectFormat(doc, "navy", f, rfmAll);
  f.Style = {TFontStyle::fsBold, TFontStyle::fsItalic};
  ExpectFormat(doc, "bold", f, rfmAll);
  f.Style = {TFontStyle::fsUnderline};
  ExpectFormat(doc, "u", f, rfmAll);
  f.Style = {TFontStyle::fsStrikeOut};
  ExpectFormat(doc, "s", f, rfmAll);
  f.Style = {};
  f.Offset = 280 / 3;
  ExpectFormat(doc, "up", f, rfmOffset);
  f.Offset = -280 / 3;
  ExpectFormat(doc, "dn", f, rfmOffset);
  f = Plain();
  f.FaceName = "Times New Roman";
  ExpectFormat(doc, "back", f, rfmAll);
  EXPECT_EQ(doc.Alignment(0), TAlignment::taCenter);
}

TEST(RtfTest, MalformedInputGivesWhatWasReadSoFar) {
  struct Case {
    std::string rtf;
    std::string text;
  };
  const std::string deep = "{\\rtf1 a" + std::string(100000, '{') + "hidden" + std::string(100000, '}') + "b}";
  const Case cases[] = {
      {"{\\rtf1 open {\\b bold", "open bold"},               // unbalanced, truncated
      {"{\\rtf1 end} after", "end"},                          // text after the document's group
      {"{\\rtf1 a}}}}b", "a"},                                // extra closing braces
      {"{\\rtf1 \\fs99999999999999999999 big\\'4", "big"},   // a huge number, a cut \'hh
      {"{\\rtf1 x\\", "x"},                                   // a cut control word
      {"{\\rtf1 \\u99999999999?y}", "y"},                     // a \u beyond 16 bits, its fallback skipped
      {"{\\rtf1 \\" + std::string(5000, 'z') + " w}", "w"},  // an endless control word
      {deep, "ab"},
      {"{\\rtf1 a" + std::string(300, '{') + "\\}\\{x" + std::string(300, '}') + "b}", "ab"},  // escaped braces deep down
      {"{\\rtf1 {\\pict\\bin6 }}{{{ }c}", "c"},           // binary data that looks like braces
      {"{\\rtf1 d\\bin99999999999", "d"},                   // binary data cut short
  };
  for (const Case& c : cases) EXPECT_EQ(ReadRtf(c.rtf, Plain()).Text(), c.text) << c.rtf.substr(0, 60);
  EXPECT_EQ(ReadRtf("{\\rtf1 \\fs99999999999 x}", Plain()).FormatAt(0).Height, 32760);
}

TEST(RtfTest, EditingKeepsFormatsAndParagraphAlignments) {
  TRichText doc = StyledDocument();
  const size_t bold = doc.Text().find("bold");
  TRichCharFormat red = Plain();
  red.Color = clRed;
  doc.SetFormat(bold, bold + 2, red, rfmColor);
  uint32_t shared = 0;
  TRichCharFormat f = doc.CommonFormat(bold, bold + 4, shared);
  EXPECT_TRUE(f.Style.Contains(TFontStyle::fsBold));
  EXPECT_EQ(shared, rfmAll & ~rfmColor);
  // Joining the first two paragraphs keeps the first one's alignment; a range copied and put back
  // restores the text, its formats and its alignments.
  const size_t firstBreak = doc.Text().find("\r\n");
  const TRichText removed = doc.Range(firstBreak, firstBreak + 2);
  doc.Replace(firstBreak, firstBreak + 2, "", Plain());
  ASSERT_EQ(doc.ParagraphCount(), 2);
  EXPECT_EQ(doc.Alignment(0), TAlignment::taCenter);
  EXPECT_EQ(doc.Alignment(1), TAlignment::taRightJustify);
  doc.Insert(firstBreak, removed);
  EXPECT_EQ(doc.Text(), StyledDocument().Text());
  EXPECT_EQ(WriteRtf(doc), WriteRtf([&] {
              TRichText expected = StyledDocument();
              expected.SetFormat(bold, bold + 2, red, rfmColor);
              return expected;
            }()));
  // Replacing half a line break takes the whole break.
  doc.Replace(firstBreak + 1, firstBreak + 1, "", Plain());
  doc.Replace(firstBreak, firstBreak + 1, "", Plain());
  EXPECT_EQ(doc.Text().find('\n'), doc.Text().find("\r\n") + 1);
}

}  // namespace
}  // namespace platform

#include <gtest/gtest.h>

#include "OfficeTestSupport.h"
#include "platform/office/OfficeError.h"
#include "platform/office/WordDocument.h"
#include "platform/office/ZipArchive.h"

using namespace platform;
using office_test::TempFolder;

TEST(WordDocumentTest, ColumnWidthsComeFromTheGridAndShrinkToTheTextWidth) {
  auto document = WordDocument::Add();
  WordTable& table = document->AddTable(2, 3);
  table.SetColumnWidth(1, 100);
  table.SetColumnWidth(3, 200);
  EXPECT_EQ(document->ColumnWidthsTwips(), (std::vector<int>{1500, 64 * 15, 3000}));
  // A4 with 2 cm margins leaves 170 mm, 9638 twips: 10 columns of 100 pixels (15000 twips) shrink.
  WordTable& wide = document->AddTable(1, 10);
  for (int c = 1; c <= 10; ++c) wide.SetColumnWidth(c, 100);
  const std::vector<int> widths = document->ColumnWidthsTwips();
  int total = 0;
  for (const int width : widths) {
    EXPECT_EQ(width, widths[0]);
    total += width;
  }
  EXPECT_LE(total, 9638);
  EXPECT_GE(total, 9628);
  EXPECT_THROW(wide.Cell(2, 1), EOleException);
  EXPECT_THROW(document->AddTable(0, 1), EOleException);
}

TEST(WordDocumentTest, WritesOneParagraphPerLineWithTheAlignment) {
  TempFolder folder;
  auto document = WordDocument::Add();
  WordTable& table = document->AddTable(1, 2);
  table.Cell(1, 1).InsertAfter("one\r\ntwo\nthree & <four>");
  table.Cell(1, 2).InsertAfter("a\tb");
  table.Cell(1, 2).SetAlignment(ParagraphAlignment::Center);
  document->SaveAs(folder / "t.docx");
  ZipReader zip(office_test::ReadFile(folder / "t.docx"), "t.docx");
  const std::string xml = zip.Read(zip.Find("word/document.xml"));
  EXPECT_NE(
      xml.find("<w:p><w:r><w:t xml:space=\"preserve\">one</w:t></w:r></w:p><w:p><w:r><w:t xml:space=\"preserve\">two"
               "</w:t></w:r></w:p><w:p><w:r><w:t xml:space=\"preserve\">three &amp; &lt;four&gt;</w:t></w:r></w:p>"),
      std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:t xml:space=\"preserve\">a</w:t><w:tab/>"),
            std::string::npos)
      << xml;
  EXPECT_NE(xml.find("<w:pgSz w:w=\"11906\" w:h=\"16838\"/>"), std::string::npos) << xml;
}

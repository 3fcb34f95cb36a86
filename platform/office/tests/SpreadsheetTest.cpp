#include <gtest/gtest.h>

#include "OfficeTestSupport.h"
#include "platform/core/DateTime.h"
#include "platform/core/Files.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Spreadsheet.h"
#include "platform/office/XlsxParts.h"
#include "platform/office/ZipArchive.h"

using namespace platform;
using office_test::TempFolder;

TEST(Spreadsheet, ColumnLettersAndReferences) {
  const struct {
    int column;
    const char* letters;
  } cases[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnLetters(c.column), c.letters);
    int column = 0, row = 0;
    EXPECT_TRUE(ParseCellReference(std::string(c.letters) + "7", column, row));
    EXPECT_EQ(column, c.column);
    EXPECT_EQ(row, 7);
  }
  int column, row;
  EXPECT_TRUE(ParseCellReference("$XFD$1048576", column, row));
  for (const char* bad : {"XFE1", "A1048577", "A0", "1", "A", "AAAA1", "A1B", "", "A-1"})
    EXPECT_FALSE(ParseCellReference(bad, column, row)) << bad;
  CellRange range;
  ASSERT_TRUE(ParseRangeAddress("$B$3:$D$7", range));
  EXPECT_EQ(range.ColumnCount(), 3);
  EXPECT_EQ(range.RowCount(), 5);
}

TEST(Spreadsheet, ATextIsWrittenAsANumberOnlyInItsCanonicalForm) {
  TFormatSettings dot;
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  const struct {
    const char* text;
    const TFormatSettings& settings;
    bool number;
  } cases[] = {{"42", dot, true},    {"-3", dot, true},     {"1.5", dot, true},   {"1E20", dot, true},
               {"007", dot, false},  {"1.000", dot, false}, {" 1", dot, false},   {"1 ", dot, false},
               {"+1", dot, false},   {"1,5", dot, false},   {"1,5", comma, true}, {"1.5", comma, false},
               {"=1+2", dot, false}, {"1e20", dot, false},  {"", dot, false},     {"0x10", dot, false},
               {".5", dot, false},   {"0.5", dot, true},    {"NAN", dot, false},  {"INF", dot, false}};
  for (const auto& c : cases) {
    double number;
    EXPECT_EQ(IsCanonicalNumber(c.text, c.settings, number), c.number) << c.text;
  }
}

TEST(Spreadsheet, OoxmlEscapesRoundTrip) {
  for (const std::string& text :
       std::vector<std::string>{"plain", std::string("a\x01z\x1F", 4), "_x0041_", "tab\tline\n", "x_y_"}) {
    EXPECT_EQ(UnescapeOoxml(EscapeOoxml(text)), text);
  }
  EXPECT_EQ(EscapeOoxml("\x01"), "_x0001_");
  EXPECT_EQ(EscapeOoxml("_x0041_"), "_x005F_x0041_");
  EXPECT_EQ(UnescapeOoxml("_x0041_B"), "AB");
}

TEST(Spreadsheet, DateFormatsAndSystems) {
  for (const char* code : {"yyyy-mm-dd", "d/m/yy h:mm", "[h]:mm", "mmm", "[$-409]dddd", "hh:mm:ss AM/PM"})
    EXPECT_TRUE(IsDateFormatCode(code)) << code;
  for (const char* code : {"General", "0.00", "0.00E+00", "#,##0", "\"day\" 0", "[Red]0", "@", "0\\d"})
    EXPECT_FALSE(IsDateFormatCode(code)) << code;
  EXPECT_TRUE(IsBuiltInDateFormat(14));
  EXPECT_FALSE(IsBuiltInDateFormat(2));
  EXPECT_DOUBLE_EQ(SerialToDateTime(45352, false), EncodeDate(2024, 3, 1));
  EXPECT_DOUBLE_EQ(SerialToDateTime(1, false), EncodeDate(1900, 1, 1));
  EXPECT_DOUBLE_EQ(SerialToDateTime(43890, true), EncodeDate(2024, 3, 1));
}

TEST(Spreadsheet, WritesAndReadsBackEveryKindOfText) {
  TempFolder folder;
  const std::string file = folder / "book.xlsx";
  const std::vector<std::vector<std::string>> values{{"Name", "42", "1.5", "007"},
                                                     {"two\nlines",
                                                      "Gr\xC3\xBC\xC3\x9F"
                                                      "e",
                                                      "=SUM(A1)", std::string("c\x01t", 3)},
                                                     {"", "_x0041_", "bad \xFF byte", "-0.25"}};
  {
    auto book = Workbook::Add();
    EXPECT_TRUE(book->IsNew());
    Worksheet& sheet = book->AddWorksheet();
    EXPECT_EQ(sheet.Name(), "Sheet1");
    sheet.SetName("Hosts");
    sheet.SetRangeValue("A1:D3", values);
    book->AddWorksheet();
    EXPECT_THROW(book->Sheet(2).SetName("hosts"), EOleException);
    EXPECT_THROW(book->Sheet(2).SetName("a/b"), EOleException);
    EXPECT_THROW(book->Save(), EOleException);
    book->SaveAs(file);
  }
  auto book = Workbook::Open(file);
  EXPECT_FALSE(book->IsNew());
  ASSERT_EQ(book->SheetCount(), 2);
  EXPECT_EQ(book->ActiveSheet().Name(), "Sheet2");
  Worksheet* sheet = book->SheetByName("Hosts");
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(book->SheetByName("hosts"), nullptr);
  EXPECT_EQ(sheet->UsedRangeAddress(), "$A$1:$D$3");
  const auto read = sheet->RangeValue("A1:D3");
  EXPECT_EQ(read[0][1].kind, CellKind::Number);
  EXPECT_EQ(read[0][1].number, 42);
  EXPECT_EQ(read[0][3].kind, CellKind::Text);
  EXPECT_EQ(read[2][0].kind, CellKind::Empty);
  EXPECT_EQ(read[2][3].number, -0.25);
  for (size_t r = 0; r < values.size(); ++r)
    for (size_t c = 0; c < values[r].size(); ++c) {
      const std::string expected = values[r][c] == "bad \xFF byte" ? "bad \xEF\xBF\xBD byte" : values[r][c];
      EXPECT_EQ(read[r][c].Text(TFormatSettings()), expected) << r << "," << c;
    }
  EXPECT_EQ(book->Sheet(2).UsedRangeAddress(), "$A$1");
  EXPECT_TRUE(book->Sheet(2).IsEmpty());
}

TEST(Spreadsheet, MissingLegacyAndDamagedFilesRaiseTheAutomationException) {
  TempFolder folder;
  EXPECT_EQ(Workbook::OpenIfExists(folder / "none.xlsx"), nullptr);
  try {
    Workbook::Open(folder / "none.xlsx");
    FAIL();
  } catch (const EOleException& error) {
    EXPECT_EQ(error.FileName(), folder / "none.xlsx");
    EXPECT_EQ(error.Reason(), "the file does not exist");
  }
  office_test::WriteFile(folder / "old.xls",
                         std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'));
  try {
    Workbook::Open(folder / "old.xls");
    FAIL();
  } catch (const EOleException& error) {
    EXPECT_NE(error.Reason().find("save it as .xlsx"), std::string::npos);
  }
  office_test::WriteFile(folder / "text.xlsx", "just text");
  EXPECT_THROW(Workbook::Open(folder / "text.xlsx"), EOleException);
}

namespace {

// A package with the given worksheet part, a shared string table and the workbook around them.
// A strict package with the given worksheet parts (the sheets "S" in xl/worksheets/s.xml, then "S2" in
// s2.xml and so on), a shared string table, styles and a calculation chain.
std::string PackageWithSheets(const std::vector<std::string>& sheetXmls, const std::string& sharedXml = "",
                              bool date1904 = false) {
  std::string sheets, relationships;
  for (size_t i = 0; i < sheetXmls.size(); ++i) {
    const std::string number = i == 0 ? "" : std::to_string(i + 1), id = i == 0 ? "rId1" : "rIdS" + number;
    sheets += "<x:sheet name=\"S" + number + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"" + id + "\"/>";
    relationships += "<Relationship Id=\"" + id +
                     "\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet\" "
                     "Target=\"/xl/worksheets/s" + number + ".xml\"/>";
  }
  ZipWriter zip("test.xlsx");
  zip.Add("[Content_Types].xml",
          "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
          "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
          "<Override PartName=\"/xl/calcChain.xml\" "
          "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/></Types>");
  zip.Add(
      "_rels/.rels",
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"r\" "
      "Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/officeDocument\" "
      "Target=\"xl/workbook.xml\"/></Relationships>");
  zip.Add("xl/workbook.xml", std::string("<x:workbook xmlns:x=\"http://purl.oclc.org/ooxml/spreadsheetml/main\" "
                                         "xmlns:r=\"http://purl.oclc.org/ooxml/officeDocument/relationships\">") +
                                 (date1904 ? "<x:workbookPr date1904=\"1\"/>" : "") +
                                 "<x:sheets>" + sheets + "</x:sheets></x:workbook>");
  zip.Add("xl/_rels/workbook.xml.rels",
          "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + relationships +
          "<Relationship Id=\"rId2\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/sharedStrings\" "
          "Target=\"strings.xml\"/>"
          "<Relationship Id=\"rId3\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/styles\" "
          "Target=\"styles.xml\"/>"
          "<Relationship Id=\"rId4\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/calcChain\" "
          "Target=\"calcChain.xml\"/>"
          "</Relationships>");
  zip.Add("xl/calcChain.xml", "<calcChain><c r=\"C1\" i=\"1\"/></calcChain>");
  zip.Add("xl/strings.xml", sharedXml.empty() ? "<sst/>" : sharedXml);
  zip.Add("xl/styles.xml",
          "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"dd/mm/yyyy hh:mm\"/></numFmts>"
          "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/><xf "
          "numFmtId=\"2\"/></cellXfs></styleSheet>");
  for (size_t i = 0; i < sheetXmls.size(); ++i)
    zip.Add("xl/worksheets/s" + (i == 0 ? "" : std::to_string(i + 1)) + ".xml", sheetXmls[i]);
  return zip.Finish();
}

// The same with one worksheet part.
std::string PackageWith(const std::string& sheetXml, const std::string& sharedXml = "", bool date1904 = false) {
  return PackageWithSheets({sheetXml}, sharedXml, date1904);
}

}  // namespace

TEST(Spreadsheet, ReadsStrictPartsRichRunsSparseCellsAndCellsWithoutReferences) {
  TempFolder folder;
  const std::string file = folder / "strict.xlsx";
  office_test::WriteFile(
      file,
      PackageWith(
          "<x:worksheet xmlns:x=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"><x:sheetData>"
          "<x:row r=\"3\"><x:c r=\"B3\" t=\"s\"><x:v>0</x:v></x:c><x:c t=\"s\"><x:v>1</x:v></x:c>"
          "<x:c t=\"b\"><x:v>1</x:v></x:c></x:row>"
          "<x:row><x:c r=\"C4\" t=\"e\"><x:v>#DIV/0!</x:v></x:c><x:c r=\"D4\"><x:f>1+2</x:f><x:v>3</x:v></x:c>"
          "<x:c r=\"E4\" t=\"str\"><x:f>\"a\"&amp;\"b\"</x:f><x:v>ab</x:v></x:c></x:row>"
          "<x:row r=\"7\"><x:c r=\"B7\" s=\"1\"><x:v>45352</x:v></x:c><x:c r=\"C7\" s=\"2\"><x:v>45352.5</x:v></x:c>"
          "<x:c r=\"D7\" s=\"3\"><x:v>2.50</x:v></x:c><x:c r=\"E7\" t=\"inlineStr\"><x:is><x:r><x:t>in</x:t></x:r>"
          "<x:r><x:t>line</x:t></x:r></x:is></x:c><x:c r=\"F7\" s=\"1\"/></x:row>"
          "</x:sheetData></x:worksheet>",
          "<sst><si><r><t>rich </t></r><r><rPr><b/></rPr><t>runs</t></r><rPh><t>phonetic</t></rPh></si>"
          "<si><t>second_x000A_line</t></si></sst>"));
  auto book = Workbook::Open(file);
  Worksheet& sheet = book->ActiveSheet();
  EXPECT_EQ(sheet.UsedRangeAddress(), "$B$3:$E$7");
  const auto values = sheet.RangeValue("B3:E7");
  ASSERT_EQ(values.size(), 5u);
  TFormatSettings settings;
  EXPECT_EQ(values[0][0].text, "rich runs");
  EXPECT_EQ(values[0][1].text, "second\nline");
  EXPECT_EQ(values[0][2].Text(settings), "True");
  EXPECT_EQ(values[1][1].kind, CellKind::Error);
  EXPECT_EQ(values[1][1].Text(settings), "");
  EXPECT_EQ(values[1][2].number, 3);
  EXPECT_EQ(values[1][3].text, "ab");
  EXPECT_EQ(values[4][0].kind, CellKind::Date);
  EXPECT_EQ(values[4][0].Text(settings), "2024-03-01");
  EXPECT_EQ(values[4][1].Text(settings), "2024-03-01 12:00:00");
  EXPECT_EQ(values[4][2].Text(settings), "2.5");
  EXPECT_EQ(values[4][3].text, "inline");
  EXPECT_EQ(values[2][0].kind, CellKind::Empty);
}

TEST(Spreadsheet, Reads1904Dates) {
  TempFolder folder;
  office_test::WriteFile(folder / "mac.xlsx",
                         PackageWith("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" s=\"1\"><v>43890</v></c></row>"
                                     "</sheetData></worksheet>",
                                     "", true));
  auto book = Workbook::Open(folder / "mac.xlsx");
  EXPECT_EQ(book->ActiveSheet().UsedRangeAddress(), "$A$1");
  EXPECT_DOUBLE_EQ(book->ActiveSheet().RangeValue("A1")[0][0].number, EncodeDate(2024, 3, 1));
}

TEST(Spreadsheet, RefusesReferencesBeyondTheSheetAndMissingStrings) {
  TempFolder folder;
  const struct {
    const char* sheet;
    const char* reason;
  } cases[] = {
      {"<worksheet><sheetData><row><c r=\"XFE1\"><v>1</v></c></row></sheetData></worksheet>",
       "XFE1 is beyond XFD1048576"},
      {"<worksheet><sheetData><row><c r=\"A1048577\"><v>1</v></c></row></sheetData></worksheet>", "beyond XFD1048576"},
      {"<worksheet><sheetData><row r=\"1048577\"/></sheetData></worksheet>", "beyond the sheet's 1048576 rows"},
      {"<worksheet><sheetData><row><c r=\"A1\" t=\"s\"><v>5</v></c></row></sheetData></worksheet>", "shared string"},
      {"<worksheet><sheetData><row><c r=\"A1\"><v>1</v></row></sheetData></worksheet>", "mismatched tag"},
  };
  for (const auto& c : cases) {
    office_test::WriteFile(folder / "bad.xlsx", PackageWith(c.sheet));
    auto book = Workbook::Open(folder / "bad.xlsx");
    try {
      book->ActiveSheet().UsedRange();
      ADD_FAILURE() << c.sheet;
    } catch (const EOleException& error) {
      EXPECT_NE(error.Reason().find(c.reason), std::string::npos) << error.Message();
    }
  }
}

TEST(Spreadsheet, ASheetThatFailedToReadFailsAgainAndNeverReadsAsEmpty) {
  TempFolder folder;
  office_test::WriteFile(folder / "bad.xlsx",
                         PackageWith("<worksheet><sheetData><row><c r=\"A1\" t=\"s\"><v>5</v></c></row></sheetData></worksheet>"));
  auto book = Workbook::Open(folder / "bad.xlsx");
  EXPECT_THROW(book->ActiveSheet().UsedRange(), EOleException);
  EXPECT_THROW(book->ActiveSheet().IsEmpty(), EOleException);
}

TEST(Spreadsheet, TheSharedTextThatASheetsCellsCopyIsBounded) {
  // Cells that all refer to one long shared string: a few bytes of XML each, a copy of the string each.
  const std::vector<std::string> shared{std::string(1000, 'x')};
  std::string xml = "<worksheet><sheetData><row r=\"1\">";
  for (int c = 1; c <= 100; ++c) xml += "<c r=\"" + ColumnLetters(c) + "1\" t=\"s\"><v>0</v></c>";
  xml += "</row></sheetData></worksheet>";
  SheetStyles styles;
  EXPECT_EQ(ReadSheetPart(xml, shared, styles, "f", "p").cells.size(), 100u);
  EXPECT_EQ(ReadSheetPart(xml, shared, styles, "f", "p", 100000).cells.size(), 100u);
  try {
    ReadSheetPart(xml, shared, styles, "f", "p", 99999);
    ADD_FAILURE();
  } catch (const EOleException& error) {
    EXPECT_NE(error.Reason().find("shared string text"), std::string::npos) << error.Message();
  }
}

TEST(Spreadsheet, TheSharedTextThatTheCellsOfAllSheetsCopyIsBoundedForTheWorkbook) {
  // Two sheets whose cells refer to one long shared string, each below the bound, both together above it.
  std::string text(1 << 20, 'x');
  uint32_t state = 1;  // letters that do not compress beyond the zip reader's ratio
  for (char& c : text) c = static_cast<char>('a' + (state = state * 1103515245 + 12345) % 26);
  const std::string shared = "<sst><si><t>" + text + "</t></si></sst>";
  const int cellsPerSheet = static_cast<int>(kMaxWorkbookSharedText >> 20) / 2 + 1;
  std::string sheet = "<worksheet><sheetData><row r=\"1\">";
  for (int c = 1; c <= cellsPerSheet; ++c) sheet += "<c r=\"" + ColumnLetters(c) + "1\" t=\"s\"><v>0</v></c>";
  sheet += "</row></sheetData></worksheet>";
  TempFolder folder;
  office_test::WriteFile(folder / "many.xlsx", PackageWithSheets({sheet, sheet}, shared));
  auto book = Workbook::Open(folder / "many.xlsx");
  EXPECT_EQ(book->Sheet(1).UsedRange().right, cellsPerSheet);
  try {
    book->Sheet(2).UsedRange();
    ADD_FAILURE();
  } catch (const EOleException& error) {
    EXPECT_NE(error.Reason().find("shared string text"), std::string::npos) << error.Message();
  }
}

TEST(Spreadsheet, WritingIntoAnOpenedWorkbookKeepsTheRestAndDropsTheCalculationChain) {
  TempFolder folder;
  const std::string file = folder / "keep.xlsx";
  {
    std::string bytes = PackageWith(
        "<worksheet><dimension ref=\"A1:C3\"/><sheetData><row r=\"1\" ht=\"30\" customHeight=\"1\"><c "
        "r=\"A1\"><v>1</v></c>"
        "<c r=\"C1\" s=\"3\"><f>A1*2</f><v>2</v></c></row><row r=\"3\"><c r=\"B3\" "
        "t=\"s\"><v>0</v></c><c><v>9</v></c></row>"
        "</sheetData><mergeCells count=\"1\"><mergeCell ref=\"A5:B6\"/></mergeCells></worksheet>",
        "<sst><si><t>shared</t></si></sst>");
    office_test::WriteFile(file, bytes);
  }
  auto book = Workbook::Open(file);
  Worksheet& sheet = book->ActiveSheet();
  sheet.SetRangeValue("B1:C2", {{"x", "7"}, {"", "y"}});
  book->Save();
  const std::string written = office_test::ReadFile(file);
  ZipReader zip(written, "keep.xlsx");
  const std::string xml = zip.Read(zip.Find("xl/worksheets/s.xml"));
  EXPECT_NE(xml.find("<dimension ref=\"A1:C3\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<row r=\"1\" ht=\"30\" customHeight=\"1\"><c r=\"A1\"><v>1</v></c>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<c r=\"C1\" s=\"3\"><v>7</v></c>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<c r=\"B3\" t=\"s\"><v>0</v></c><c r=\"C3\"><v>9</v></c>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<mergeCells count=\"1\"><mergeCell ref=\"A5:B6\"/></mergeCells></worksheet>"), std::string::npos);
  EXPECT_EQ(xml.find("A1*2"), std::string::npos);
  EXPECT_EQ(zip.Find("xl/calcChain.xml"), -1);
  EXPECT_EQ(zip.Read(zip.Find("xl/_rels/workbook.xml.rels")).find("calcChain"), std::string::npos);
  EXPECT_EQ(zip.Read(zip.Find("[Content_Types].xml")).find("calcChain"), std::string::npos);
  EXPECT_NE(zip.Read(zip.Find("[Content_Types].xml")).find("<Default Extension=\"xml\""), std::string::npos);
  auto again = Workbook::Open(file);
  const auto values = again->ActiveSheet().RangeValue("A1:C3");
  EXPECT_EQ(values[0][1].text, "x");
  EXPECT_EQ(values[0][2].number, 7);
  EXPECT_EQ(values[1][2].text, "y");
  EXPECT_EQ(values[2][1].text, "shared");
  EXPECT_EQ(values[2][2].number, 9);
  // A sheet added to an opened workbook gets its part, relationship and content type.
  again->AddWorksheet().SetRangeValue("A1", {{"new"}});
  again->Save();
  auto third = Workbook::Open(file);
  ASSERT_EQ(third->SheetCount(), 2);
  EXPECT_EQ(third->Sheet(2).Name(), "Sheet2");
  EXPECT_EQ(third->Sheet(2).RangeValue("A1")[0][0].text, "new");
  EXPECT_EQ(third->Sheet(1).RangeValue("B3")[0][0].text, "shared");
}

TEST(Spreadsheet, ASheetAddedToAnOpenedWorkbookStaysThroughFurtherSaves) {
  TempFolder folder;
  const std::string file = folder / "twice.xlsx";
  office_test::WriteFile(file, PackageWith("<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"
                                           "</sheetData></worksheet>"));
  auto book = Workbook::Open(file);
  book->AddWorksheet().SetRangeValue("A1", {{"new"}});
  // A save that fails, then two that succeed, the second after a change to the first sheet.
  EXPECT_THROW(book->SaveAs(folder / "missing/x.xlsx"), EOleException);
  book->Save();
  book->Sheet(1).SetRangeValue("B1", {{"2"}});
  book->Save();
  auto again = Workbook::Open(file);
  ASSERT_EQ(again->SheetCount(), 2);
  EXPECT_EQ(again->Sheet(2).RangeValue("A1")[0][0].text, "new");
  EXPECT_EQ(again->Sheet(1).RangeValue("B1")[0][0].number, 2);
}

TEST(Spreadsheet, AWrittenBackSheetReadsAsTheOriginal) {
  // Odd structures that the sheet fuzzer met: nested sheetData and rows, cells outside rows, duplicates,
  // a dimension after the cells, empty elements everywhere.
  const std::vector<std::string> sheets{
      "<x:worksheet xmlns:x=\"http://purl.oclc.org/ooxml/spreadsheetml/main\"><x:sheetData><x:row>l<x:sheetData><x:row>"
      "<x:c r=\"B1\" t=\"str\"><x:v>a_x0001_b</x:v></x:c><x:c t=\"d\"><x:v>2024-03-01T12:30:00</x:v></x:c></x:row>"
      "</x:sheetData><x:c r=\"B1\" "
      "t=\"str\"><x:v>a</x:v></x:c><x:c><x:v>2</x:v></x:c></x:row></x:sheetData></x:worksheet>",
      "<worksheet><sheetData><c r=\"A1\"><v>1</v></c><row><c r=\"A1\"><v>1</v></c><c r=\"A1\"><v>2</v></c><c/></row>"
      "<row r=\"5\"/><row><c><c><v>9</v></c></c></row></sheetData><dimension ref=\"Z9\"/></worksheet>",
      "<worksheet><dimension/><sheetData/><sheetData><row><c r=\"A1\"><v>1</v></c></row></sheetData></worksheet>",
  };
  SheetStyles styles;
  for (const std::string& xml : sheets) {
    const SheetPart part = ReadSheetPart(xml, {}, styles, "f", "p");
    const std::string written = WriteSheetPart(part, xml);
    const SheetPart again = ReadSheetPart(written, {}, styles, "f", "p");
    ASSERT_EQ(again.cells.size(), part.cells.size()) << written;
    for (size_t i = 0; i < part.cells.size(); ++i) {
      EXPECT_EQ(again.cells[i].row, part.cells[i].row);
      EXPECT_EQ(again.cells[i].column, part.cells[i].column);
      EXPECT_EQ(again.cells[i].value.Text(TFormatSettings()), part.cells[i].value.Text(TFormatSettings())) << written;
    }
  }
}

// The office facades against the programs that read and write the same files: openpyxl, LibreOffice
// headless, python-docx and the sqlite3 tool (scripts/setup.sh installs them).
#include <gtest/gtest.h>

#include "OfficeTestSupport.h"
#include "platform/core/DateTime.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Spreadsheet.h"
#include "platform/office/WordDocument.h"
#include "platform/office/ZipArchive.h"

using namespace platform;
using office_test::RunPython;
using office_test::TempFolder;

TEST(OfficePeers, OpenpyxlReadsWhatTheFacadeWrites) {
  TempFolder folder;
  {
    auto book = Workbook::Add();
    Worksheet& hosts = book->AddWorksheet();
    hosts.SetName("Hosts \xC3\xA4");
    hosts.SetRangeValue("A1:C5", {{"Name", "42", "1.5"},
                                  {"007", "1.000", "-3"},
                                  {"two\nlines",
                                   "Gr\xC3\xBC\xC3\x9F"
                                   "e \xE2\x98\x83",
                                   "=SUM(A1)"},
                                  {std::string("c\x01t", 3), "1E20", "bad \xFF"},
                                  {"", "True", "0.1"}});
    book->AddWorksheet().SetName("Second");
    book->Sheet(2).SetRangeValue("B2", {{"only"}});
    book->SaveAs(folder / "ours.xlsx");
  }
  RunPython(folder, "read", R"(
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['Hosts ä', 'Second'], wb.sheetnames
ws = wb['Hosts ä']
def check(ref, value, kind):
    cell = ws[ref]
    assert cell.value == value and type(cell.value) is kind, (ref, cell.value, type(cell.value))
check('A1', 'Name', str); check('B1', 42, int); check('C1', 1.5, float)
check('A2', '007', str); check('B2', '1.000', str); check('C2', -3, int)
check('A3', 'two\nlines', str); check('B3', 'Grüße ☃', str); check('C3', '=SUM(A1)', str)
assert ws['C3'].data_type == 's', ws['C3'].data_type
check('A4', 'c_x0001_t', str)     # OOXML's escape, which openpyxl leaves as it is
check('B4', 1e20, float); check('C4', 'bad \ufffd', str)
assert ws['A5'].value is None
check('B5', 'True', str); check('C5', 0.1, float)
assert ws.max_row == 5 and ws.max_column == 3, (ws.max_row, ws.max_column)
assert wb['Second']['B2'].value == 'only'
)",
            {folder / "ours.xlsx"});
}

TEST(OfficePeers, WritingIntoAnOpenpyxlWorkbookKeepsEverythingElse) {
  TempFolder folder;
  RunPython(folder, "make", R"(
import openpyxl
from openpyxl.styles import Font, PatternFill
wb = openpyxl.Workbook()
data = wb.active
data.title = 'Data'
data['A1'] = 'keep'
data['B2'] = '=1+2'
data['C3'] = 5
data['C3'].font = Font(bold=True, color='FF0000')
data['C3'].fill = PatternFill('solid', fgColor='00FF00')
data.merge_cells('D1:E2')
data.column_dimensions['A'].width = 30
data['F10'] = 'outside'
other = wb.create_sheet('Other')
other['A1'] = 'untouched'
other['B1'] = 3.25
wb.save(sys.argv[1])
)",
            {folder / "theirs.xlsx"});
  const std::string before = office_test::ReadFile(folder / "theirs.xlsx");
  {
    auto book = Workbook::Open(folder / "theirs.xlsx");
    Worksheet* data = book->SheetByName("Data");
    ASSERT_NE(data, nullptr);
    data->SetRangeValue("A2:C3", {{"x", "y", "z"}, {"1", "2", "3"}});
    // A sheet that the workbook does not have yet, as saving into a named sheet adds it.
    Worksheet& added = book->AddWorksheet();
    added.SetName("Neu");
    added.SetRangeValue("A1:B1", {{"neu", "4.5"}});
    book->Save();
  }
  ZipReader original(before, "theirs.xlsx"), saved(office_test::ReadFile(folder / "theirs.xlsx"), "theirs.xlsx");
  const int otherBefore = original.Find("xl/worksheets/sheet2.xml"),
            otherAfter = saved.Find("xl/worksheets/sheet2.xml");
  ASSERT_GE(otherBefore, 0);
  ASSERT_GE(otherAfter, 0);
  EXPECT_EQ(original.Read(otherBefore), saved.Read(otherAfter));
  EXPECT_EQ(original.Entries()[otherBefore].compressedSize, saved.Entries()[otherAfter].compressedSize);
  EXPECT_EQ(original.Entries()[otherBefore].crc, saved.Entries()[otherAfter].crc);
  EXPECT_EQ(original.Read(original.Find("xl/styles.xml")), saved.Read(saved.Find("xl/styles.xml")));
  RunPython(folder, "check", R"(
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['Data', 'Other', 'Neu'], wb.sheetnames
assert wb['Neu']['A1'].value == 'neu' and wb['Neu']['B1'].value == 4.5
data = wb['Data']
assert data['A1'].value == 'keep'
assert data['F10'].value == 'outside'
assert [data[r].value for r in ('A2', 'B2', 'C2', 'A3', 'B3', 'C3')] == ['x', 'y', 'z', 1, 2, 3]
assert data['C3'].font.bold and data['C3'].font.color.rgb == '00FF0000', data['C3'].font
assert data['C3'].fill.fgColor.rgb == '0000FF00', data['C3'].fill.fgColor
assert [str(r) for r in data.merged_cells.ranges] == ['D1:E2'], data.merged_cells.ranges
assert data.column_dimensions['A'].width == 30, data.column_dimensions['A'].width
other = wb['Other']
assert other['A1'].value == 'untouched' and other['B1'].value == 3.25
)",
            {folder / "theirs.xlsx"});
}

TEST(OfficePeers, ReadsWhatOpenpyxlWrites) {
  TempFolder folder;
  RunPython(folder, "fixtures", R"(
import datetime, openpyxl
from openpyxl.utils.datetime import CALENDAR_MAC_1904
wb = openpyxl.Workbook()
first = wb.active
first.title = 'First'
first['A1'] = 'not active'
values = wb.create_sheet('Values')
values.append(['text', 42, 2.5, True, False, '#DIV/0!', datetime.datetime(2024, 3, 1, 12, 30), datetime.date(2024, 3, 1),
               'Grüße\nzwei', 1e-7])
values['A2'] = 'shared'
values['B2'] = 'shared'
sparse = wb.create_sheet('Sparse')
sparse['B3'] = 'top left'
sparse['D7'] = 7
sparse['C5'] = None
one = wb.create_sheet('One')
one['C2'] = 'alone'
wb.active = 2
wb.save(sys.argv[1])
mac = openpyxl.Workbook()
mac.epoch = CALENDAR_MAC_1904
mac.active['A1'] = datetime.date(2024, 3, 1)
mac.save(sys.argv[2])
)",
            {folder / "fixtures.xlsx", folder / "mac.xlsx"});
  auto book = Workbook::Open(folder / "fixtures.xlsx");
  ASSERT_EQ(book->SheetCount(), 4);
  EXPECT_EQ(book->ActiveSheet().Name(), "Sparse");
  EXPECT_EQ(book->ActiveSheet().UsedRangeAddress(), "$B$3:$D$7");
  const auto sparse = book->ActiveSheet().RangeValue("B3:D7");
  ASSERT_EQ(sparse.size(), 5u);
  ASSERT_EQ(sparse[0].size(), 3u);
  EXPECT_EQ(sparse[0][0].text, "top left");
  EXPECT_EQ(sparse[4][2].number, 7);
  EXPECT_EQ(book->SheetByName("values"), nullptr);
  ASSERT_NE(book->SheetByName("One"), nullptr);
  EXPECT_EQ(book->SheetByName("One")->UsedRangeAddress(), "$C$2");
  Worksheet& values = *book->SheetByName("Values");
  EXPECT_EQ(values.UsedRangeAddress(), "$A$1:$J$2");
  const auto row = values.RangeValue("A1:J2");
  TFormatSettings settings;
  const std::vector<std::string> texts{"text",
                                       "42",
                                       "2.5",
                                       "True",
                                       "False",
                                       "",
                                       "2024-03-01 12:30:00",
                                       "2024-03-01",
                                       "Gr\xC3\xBC\xC3\x9F"
                                       "e\nzwei",
                                       "1E-7"};
  for (size_t c = 0; c < texts.size(); ++c) EXPECT_EQ(row[0][c].Text(settings), texts[c]) << c;
  EXPECT_EQ(row[0][3].kind, CellKind::Boolean);
  EXPECT_EQ(row[0][5].kind, CellKind::Error);
  EXPECT_EQ(row[0][5].text, "#DIV/0!");
  EXPECT_EQ(row[0][6].kind, CellKind::Date);
  EXPECT_EQ(row[1][0].text, "shared");
  EXPECT_EQ(row[1][1].text, "shared");
  auto mac = Workbook::Open(folder / "mac.xlsx");
  const auto date = mac->ActiveSheet().RangeValue("A1");
  EXPECT_EQ(date[0][0].kind, CellKind::Date);
  EXPECT_DOUBLE_EQ(date[0][0].number, EncodeDate(2024, 3, 1));
}

TEST(OfficePeers, PythonDocxReadsTheExportedTable) {
  TempFolder folder;
  {
    auto document = WordDocument::Add();
    DocumentPageSetup letterLandscape;
    letterLandscape.paperWidth = 2794;
    letterLandscape.paperHeight = 2159;
    letterLandscape.marginLeft = letterLandscape.marginRight = 254;
    document->SetPageSetup(letterLandscape);
    WordTable& table = document->AddTable(3, 3);
    const std::vector<int> pixels{120, 64, 90};
    for (int c = 1; c <= 3; ++c) table.SetColumnWidth(c, pixels[static_cast<size_t>(c - 1)]);
    const char* texts[3][3] = {{"Host", "Count", "State"},
                               {"alpha.example", "12", "up"},
                               {"Gr\xC3\xBC\xC3\x9F"
                                "e\nzweite Zeile",
                                "7", ""}};
    for (int r = 1; r <= 3; ++r)
      for (int c = 1; c <= 3; ++c) {
        table.Cell(r, c).InsertAfter(texts[r - 1][c - 1]);
        if (c == 2 && r > 1) table.Cell(r, c).SetAlignment(ParagraphAlignment::Right);
        if (c == 3) table.Cell(r, c).SetAlignment(ParagraphAlignment::Center);
      }
    document->SaveAs(folder / "export.docx");
  }
  RunPython(folder, "read_table", R"(
import docx
from docx.enum.text import WD_ALIGN_PARAGRAPH
from docx.enum.section import WD_ORIENT
d = docx.Document(sys.argv[1])
assert len(d.tables) == 1, len(d.tables)
t = d.tables[0]
assert len(t.rows) == 3 and len(t.columns) == 3, (len(t.rows), len(t.columns))
texts = [[c.text for c in row.cells] for row in t.rows]
assert texts == [['Host', 'Count', 'State'], ['alpha.example', '12', 'up'], ['Grüße\nzweite Zeile', '7', '']], texts
multi = t.cell(2, 0)
assert [p.text for p in multi.paragraphs] == ['Grüße', 'zweite Zeile'], [p.text for p in multi.paragraphs]
assert t.cell(0, 1).paragraphs[0].alignment is None
assert t.cell(1, 1).paragraphs[0].alignment == WD_ALIGN_PARAGRAPH.RIGHT
assert t.cell(2, 2).paragraphs[0].alignment == WD_ALIGN_PARAGRAPH.CENTER
assert [c.width.twips if hasattr(c.width, 'twips') else c.width / 635 for c in t.columns] == [1800, 960, 1350], \
    [c.width for c in t.columns]
s = d.sections[0]
assert s.orientation == WD_ORIENT.LANDSCAPE
assert abs(s.page_width.mm - 279.4) < 0.1 and abs(s.page_height.mm - 215.9) < 0.1, (s.page_width.mm, s.page_height.mm)
assert abs(s.left_margin.mm - 25.4) < 0.1
)",
            {folder / "export.docx"});
}

TEST(OfficePeers, LibreOfficeReadsAndWritesTheSameFiles) {
  TempFolder folder;
  // A workbook that LibreOffice converts from a flat OpenDocument spreadsheet that the test writes.
  office_test::WriteFile(folder / "calc.fods", R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" office:version="1.2"
 office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
<number:date-style style:name="N37"><number:year number:style="long"/><number:text>-</number:text>
<number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/></number:date-style>
<style:style style:name="ce1" style:family="table-cell" style:data-style-name="N37"/>
</office:automatic-styles>
<office:body><office:spreadsheet>
<table:table table:name="Messwerte">
<table:table-row><table:table-cell office:value-type="string"><text:p>Köln</text:p></table:table-cell>
<table:table-cell office:value-type="float" office:value="2.5"><text:p>2.5</text:p></table:table-cell>
<table:table-cell table:formula="of:=[.B1]*4" office:value-type="float" office:value="10"><text:p>10</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>eins</text:p><text:p>zwei</text:p></table:table-cell>
<table:table-cell table:style-name="ce1" office:value-type="date" office:date-value="2024-03-01"><text:p>2024-03-01</text:p></table:table-cell>
<table:table-cell table:formula="of:=&quot;a&quot;&amp;&quot;b&quot;" office:value-type="string" office:string-value="ab"><text:p>ab</text:p></table:table-cell>
</table:table-row>
</table:table></office:spreadsheet></office:body></office:document>
)");
  office_test::ConvertWithLibreOffice(folder, folder / "calc.fods", "xlsx", folder / "calc.xlsx");
  if (HasFatalFailure()) return;
  {
    auto book = Workbook::Open(folder / "calc.xlsx");
    Worksheet& sheet = book->ActiveSheet();
    EXPECT_EQ(sheet.Name(), "Messwerte");
    EXPECT_EQ(sheet.UsedRangeAddress(), "$A$1:$C$2");
    const auto values = sheet.RangeValue("A1:C2");
    TFormatSettings settings;
    EXPECT_EQ(values[0][0].text, "K\xC3\xB6ln");
    EXPECT_EQ(values[0][1].number, 2.5);
    EXPECT_EQ(values[0][2].number, 10);
    EXPECT_EQ(values[1][0].text, "eins\nzwei");
    EXPECT_EQ(values[1][1].kind, CellKind::Date);
    EXPECT_EQ(values[1][1].Text(settings), "2024-03-01");
    EXPECT_EQ(values[1][2].text, "ab");
  }

  // Our workbook to CSV and our document to text.
  {
    auto book = Workbook::Add();
    book->AddWorksheet().SetRangeValue("A1:C3",
                                       {{"Name", "42", "007"}, {"two\nlines", "1.5", "=1+2"}, {"\xC3\xA4", "", "-3"}});
    book->SaveAs(folder / "ours.xlsx");
    auto document = WordDocument::Add();
    WordTable& table = document->AddTable(2, 2);
    table.Cell(1, 1).InsertAfter("Host");
    table.Cell(1, 2).InsertAfter("St\xC3\xA4nde");
    table.Cell(2, 1).InsertAfter("alpha");
    table.Cell(2, 2).InsertAfter("eins\nzwei");
    document->SaveAs(folder / "ours.docx");
  }
  office_test::ConvertWithLibreOffice(folder, folder / "ours.xlsx", "csv:Text - txt - csv (StarCalc):44,34,76,1",
                                      folder / "ours.csv");
  if (HasFatalFailure()) return;
  // LibreOffice quotes the cells that hold texts: "007" and "=1+2" stayed texts, 42 and 1.5 are numbers.
  EXPECT_EQ(office_test::ReadFile(folder / "ours.csv"),
            "\"Name\",42,\"007\"\n\"two\nlines\",1.5,\"=1+2\"\n\"\xC3\xA4\",,-3\n");
  office_test::ConvertWithLibreOffice(folder, folder / "ours.docx", "txt:Text (encoded):UTF8", folder / "ours.txt");
  if (HasFatalFailure()) return;
  const std::string text = office_test::ReadFile(folder / "ours.txt");
  for (const char* expected : {"Host", "St\xC3\xA4nde", "alpha", "eins", "zwei"})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in " << text;
  EXPECT_LT(text.find("Host"), text.find("alpha"));
  EXPECT_LT(text.find("eins"), text.find("zwei"));
}

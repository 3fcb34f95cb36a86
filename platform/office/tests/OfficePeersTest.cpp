// The office facades against the programs that read and write the same files: openpyxl, LibreOffice
// headless, python-docx and the sqlite3 tool (scripts/setup.sh installs them).
#include <gtest/gtest.h>

#include "OfficeTestSupport.h"
#include "platform/core/DateTime.h"
#include "platform/office/OfficeError.h"
#include "platform/office/Spreadsheet.h"
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
                                  {"two\nlines", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x98\x83", "=SUM(A1)"},
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
)", {folder / "ours.xlsx"});
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
)", {folder / "theirs.xlsx"});
  const std::string before = office_test::ReadFile(folder / "theirs.xlsx");
  {
    auto book = Workbook::Open(folder / "theirs.xlsx");
    Worksheet* data = book->SheetByName("Data");
    ASSERT_NE(data, nullptr);
    data->SetRangeValue("A2:C3", {{"x", "y", "z"}, {"1", "2", "3"}});
    book->Save();
  }
  ZipReader original(before, "theirs.xlsx"), saved(office_test::ReadFile(folder / "theirs.xlsx"), "theirs.xlsx");
  const int otherBefore = original.Find("xl/worksheets/sheet2.xml"), otherAfter = saved.Find("xl/worksheets/sheet2.xml");
  ASSERT_GE(otherBefore, 0);
  ASSERT_GE(otherAfter, 0);
  EXPECT_EQ(original.Read(otherBefore), saved.Read(otherAfter));
  EXPECT_EQ(original.Entries()[otherBefore].compressedSize, saved.Entries()[otherAfter].compressedSize);
  EXPECT_EQ(original.Entries()[otherBefore].crc, saved.Entries()[otherAfter].crc);
  EXPECT_EQ(original.Read(original.Find("xl/styles.xml")), saved.Read(saved.Find("xl/styles.xml")));
  RunPython(folder, "check", R"(
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
assert wb.sheetnames == ['Data', 'Other'], wb.sheetnames
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
)", {folder / "theirs.xlsx"});
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
)", {folder / "fixtures.xlsx", folder / "mac.xlsx"});
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
  const std::vector<std::string> texts{"text", "42", "2.5", "True", "False", "", "2024-03-01 12:30:00", "2024-03-01",
                                       "Gr\xC3\xBC\xC3\x9F" "e\nzwei", "1E-7"};
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

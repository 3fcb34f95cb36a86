#include <random>
#include <sstream>
#include <string>

#include "grid/tests/GridFileFixture.h"
#include "platform/office/tests/OfficeTestSupport.h"

// The grid's CSV files as other programs read and write them: Python's csv module and LibreOffice.
// Cells cross between the two sides as lines of hexadecimal fields, which neither side can misread.

namespace velmora::testing {
namespace {

class GridCsvPeers : public GridFileTest {
protected:
  std::string Path(const std::string& name) const { return folder_ / name; }

  static std::string Hex(const Table& table) {
    std::string out;
    for (const auto& row : table) {
      for (size_t c = 0; c < row.size(); ++c) {
        if (c > 0) out += ' ';
        out += '.';  // an empty cell is a lone dot
        for (unsigned char b : row[c]) out += "0123456789abcdef"[b >> 4], out += "0123456789abcdef"[b & 15];
      }
      out += '\n';
    }
    return out;
  }
  static Table FromHex(const std::string& text) {
    Table table;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      auto& row = table.emplace_back();
      std::istringstream fields(line);
      for (std::string field; fields >> field;) {
        std::string cell;
        for (size_t i = 1; i + 1 < field.size(); i += 2) cell += static_cast<char>(std::stoi(field.substr(i, 2), nullptr, 16));
        row.push_back(cell);
      }
    }
    return table;
  }
  // The cells as the grid reads them: each LF without CR before it becomes CR LF.
  static Table AsRead(Table table) {
    for (auto& row : table)
      for (auto& cell : row) {
        std::string out;
        for (size_t i = 0; i < cell.size(); ++i) {
          if (cell[i] == '\n' && (i == 0 || cell[i - 1] != '\r')) out += '\r';
          out += cell[i];
        }
        cell = out;
      }
    return table;
  }

  office_test::TempFolder folder_;
};

constexpr const char* kHexReader = R"(
def cells(name):
    return [[bytes.fromhex(f[1:]).decode('utf-8') for f in line.split(' ')] for line in open(name).read().splitlines()]
)";

TEST_F(GridCsvPeers, PythonReadsWhatTheGridWrites) {
  const std::vector<std::string> alphabet = {";", ",", "\"", "\r\n", "^", "~", " ", "\xC3\xBC", "a", "0", ""};
  std::mt19937 random(7);
  Table table(40, std::vector<std::string>(4));
  for (auto& row : table)
    for (auto& cell : row)
      for (int n = static_cast<int>(random() % 5); n > 0; --n) cell += alphabet[random() % alphabet.size()];
  for (bool quoteAll : {false, true}) {
    Fill(table);
    grid_->FieldDelimiter = ';';
    grid_->QuoteAllFields = quoteAll;
    grid_->SaveToCSV(Path("grid.csv"));
    office_test::WriteFile(Path("cells.hex"), Hex(table));
    office_test::RunPython(folder_, "read", std::string(kHexReader) + R"(
import csv
rows = list(csv.reader(open('grid.csv', newline='', encoding='utf-8'), delimiter=';'))
expected = [[c.replace('\r\n', '\n') for c in row] for row in cells('cells.hex')]
assert rows == expected, (rows, expected)
)");
  }
}

TEST_F(GridCsvPeers, GridReadsWhatPythonWrites) {
  office_test::RunPython(folder_, "write", R"(
import csv
rows = [['Host', 'K\u00fchl "cold"', ''], ['a;b', 'line\nbreak', '007'], ['', 'x\r\ny', ' blank '], ['\u20ac', '', '']]
with open('python.csv', 'w', newline='', encoding='utf-8') as f:
    csv.writer(f).writerows(rows)
with open('cells.hex', 'w') as f:
    f.write(''.join(' '.join('.' + c.encode('utf-8').hex() for c in row) + '\n' for row in rows))
)");
  Fill({{""}});
  grid_->LoadFromCSV(Path("python.csv"));  // "," detected
  EXPECT_EQ(Cells(), AsRead(FromHex(office_test::ReadFile(Path("cells.hex")))));
}

TEST_F(GridCsvPeers, GridReadsWhatLibreOfficeWrites) {
  office_test::RunPython(folder_, "sheet", R"(
import openpyxl
rows = [['Host', 'Befehl', 'Modus'], ['m\u00fcnchen', 'say "hi"; run', 'zwei\nZeilen'], ['0042', '', '\u00e4\u00f6\u00fc']]
book = openpyxl.Workbook()
for row in rows:
    book.active.append(row)
book.save('sheet.xlsx')
with open('cells.hex', 'w') as f:
    f.write(''.join(' '.join('.' + c.encode('utf-8').hex() for c in row) + '\n' for row in rows))
)");
  office_test::ConvertWithLibreOffice(folder_, Path("sheet.xlsx"), "csv:Text - txt - csv (StarCalc):59,34,76",
                                      Path("sheet.csv"));
  Fill({{""}});
  grid_->LoadFromCSV(Path("sheet.csv"));  // ";" detected
  EXPECT_EQ(Cells(), AsRead(FromHex(office_test::ReadFile(Path("cells.hex"))))) << office_test::ReadFile(Path("sheet.csv"));
}

}  // namespace
}  // namespace velmora::testing

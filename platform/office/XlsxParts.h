#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/FormatSettings.h"
#include "platform/office/Spreadsheet.h"

namespace platform {

// (internal) The readers and writers of the parts of an XLSX package that the spreadsheet facade uses.

// OOXML's escape of characters that XML cannot hold: "_x0001_" stands for U+0001, "_x005F_" for "_".
std::string UnescapeOoxml(std::string_view text);
// Escapes the control characters but tab and line feed, and a "_" that would otherwise start an escape.
std::string EscapeOoxml(std::string_view text);

// Which cell formats (indexes into cellXfs) show their numbers as dates, and the date system.
struct SheetStyles {
  std::vector<bool> dateFormat;
  bool date1904 = false;
};
SheetStyles ReadStyles(std::string_view xml, const std::string& fileName);
bool IsDateFormatCode(std::string_view code);
bool IsBuiltInDateFormat(int id);
// Days of the spreadsheet's serial number in the class library's TDateTime.
double SerialToDateTime(double serial, bool date1904);

std::vector<std::string> ReadSharedStrings(std::string_view xml, const std::string& fileName);

struct SheetCell {
  int32_t row = 0, column = 0;
  int32_t style = -1;                 // the s attribute, -1 without
  uint32_t rawBegin = 0, rawEnd = 0;  // the cell's bytes in the original part; both 0 for a written cell
  bool rawHasReference = true;
  CellValue value;
};

// What the reader learns of a worksheet part: its cells in row and column order, and where the parts
// that saving rewrites lie.
struct SheetPart {
  std::vector<SheetCell> cells;
  std::map<int, std::string> rowAttributes;  // row -> its attributes as written, without r and spans
  std::string prefix;                        // of the qualified names: "" or "x:"
  bool hasSheetData = false, sheetDataEmpty = false;
  uint64_t sheetDataBegin = 0, sheetDataContent = 0, sheetDataClose = 0, sheetDataEnd = 0;
  bool hasDimension = false;
  uint64_t dimensionBegin = 0, dimensionEnd = 0;
  uint64_t sharedText = 0;  // the bytes of shared strings that its cells took copies of
};

// The shared strings' bytes that the cells of all sheets of one workbook take copies of together:
// without a bound, a small file whose cells all refer to one long string would fill the memory, and
// so would many sheets that each stay below a bound of their own.
constexpr uint64_t kMaxWorkbookSharedText = 512ull << 20;

// Reads a worksheet part; cells that hold no value are kept only when they have a style (a cell without
// a reference follows the one before it in its row). References beyond XFD1048576 and shared strings
// beyond sharedTextLimit (what the workbook's other sheets left of its bound) raise EOleException.
SheetPart ReadSheetPart(std::string_view xml, const std::vector<std::string>& sharedStrings, const SheetStyles& styles,
                        const std::string& fileName, const std::string& partName,
                        uint64_t sharedTextLimit = kMaxWorkbookSharedText);

// The value that a text written into a cell becomes: a number when the text is the canonical form of
// one under the settings, else the text with invalid UTF-8 replaced.
CellValue WrittenValue(std::string_view text, const TFormatSettings& settings);
// Appends a written cell (prefix as SheetPart::prefix): a number, an inline string or, for an empty
// value, the cell with its style alone.
void AppendWrittenCell(std::string& out, std::string_view prefix, int row, int column, int style,
                       const CellValue& value);
// The worksheet part with the cells of `part`: with the original part (whose SheetPart it is), the bytes
// around the cells are kept, the dimension updated and the cells that were not written copied as they
// were; without one (empty `original`, a SheetPart that has no sheetData) a new part.
std::string WriteSheetPart(const SheetPart& part, std::string_view original);

// True and the number when FloatToStr(number, settings) gives the text back.
bool IsCanonicalNumber(std::string_view text, const TFormatSettings& settings, double& number);

}  // namespace platform

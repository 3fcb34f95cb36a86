#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/FormatSettings.h"

namespace platform {

// The spreadsheet facade: the calls that the grid's office exchange makes of a spreadsheet application,
// answered by reading and writing XLSX files natively. Every failure raises EOleException naming the
// file; a legacy binary workbook is refused with "save it as .xlsx".
//
// Order of use: open a workbook (Open, or OpenIfExists, which tells a missing file by nullptr) or add a
// new one (Add); find its sheets (ActiveSheet, Sheet, SheetByName) or add one (AddWorksheet, SetName);
// read a sheet's UsedRange and then the values of a range, or write values into a range; Save (an opened
// workbook) or SaveAs (a new one); Close. A workbook owns its sheets; the references stay valid until
// the workbook is destroyed.

enum class CellKind { Empty, Number, Text, Boolean, Error, Date };

// One value as a range gives it: numbers, dates (TDateTime days, from a date number format in either
// date system), booleans, texts, and error values ("#DIV/0!") in `text`.
struct CellValue {
  CellKind kind = CellKind::Empty;
  double number = 0;  // Number, Date (TDateTime), Boolean (0 or 1)
  std::string text;   // Text, Error

  // The value as the grid stores it: numbers in the general format and dates as DateTimeToStr give them
  // under the settings, booleans as "True" and "False", errors and empties as "".
  std::string Text() const;
  std::string Text(const TFormatSettings& settings) const;
};

// A rectangle of cells, 1-based and inclusive; columns 1..16384 (A..XFD), rows 1..1048576.
struct CellRange {
  int left = 1, top = 1, right = 1, bottom = 1;
  int ColumnCount() const { return right - left + 1; }
  int RowCount() const { return bottom - top + 1; }
};

constexpr int kMaxSheetColumns = 16384;
constexpr int kMaxSheetRows = 1048576;

// "A" for 1, "Z" for 26, "AA" for 27, "XFD" for 16384.
std::string ColumnLetters(int column);
// "B3" or "$B$3" to column 2, row 3; false when it is no reference within XFD1048576.
bool ParseCellReference(std::string_view reference, int& column, int& row);
// "A1:D10", "$A$1:$D$10" or a single cell "B3".
bool ParseRangeAddress(std::string_view address, CellRange& range);

class Workbook;

class Worksheet {
public:
  ~Worksheet();
  const std::string& Name() const { return name_; }
  // Renames the sheet; a name that a workbook cannot hold (empty, longer than 31, one of []:*?/\, or the
  // name of another sheet regardless of case) raises EOleException.
  void SetName(const std::string& name);

  // The rectangle of the cells that hold a value, as "$A$1:$D$10" ("$B$3" for one cell, "$A$1" for none).
  std::string UsedRangeAddress();
  CellRange UsedRange();
  bool IsEmpty();

  // The values of the range, row by row.
  std::vector<std::vector<CellValue>> RangeValue(const CellRange& range);
  std::vector<std::vector<CellValue>> RangeValue(std::string_view address);
  // Writes texts into the range starting at its top left (rows of `values` beyond the range and
  // columns beyond it are ignored, missing ones empty the cells). A text becomes a number only when it is
  // the canonical form of a number under the settings (FloatToStr gives it back), so "007", "1.000" and
  // " 1" stay texts, as does a text starting with "=". Overwritten cells keep their style.
  void SetRangeValue(const CellRange& range, const std::vector<std::vector<std::string>>& values);
  void SetRangeValue(const CellRange& range, const std::vector<std::vector<std::string>>& values,
                     const TFormatSettings& settings);
  void SetRangeValue(std::string_view address, const std::vector<std::vector<std::string>>& values);

  struct Data;  // the cells and what saving needs of the original part

private:
  friend class Workbook;
  Worksheet(Workbook& workbook, std::string name);
  void Load();

  Workbook& workbook_;
  std::string name_;
  std::unique_ptr<Data> data_;
};

class Workbook {
public:
  ~Workbook();
  // Opens an XLSX file; a missing file raises EOleException as any other failure does.
  static std::unique_ptr<Workbook> Open(const std::string& fileName);
  // As Open, but nullptr when there is no such file.
  static std::unique_ptr<Workbook> OpenIfExists(const std::string& fileName);
  // A new workbook without sheets; saving it without adding one writes one empty sheet.
  static std::unique_ptr<Workbook> Add();

  bool IsNew() const;
  const std::string& FileName() const { return fileName_; }

  int SheetCount() const { return static_cast<int>(sheets_.size()); }
  // From 1 to SheetCount; EOleException outside.
  Worksheet& Sheet(int index);
  // The sheet whose name equals `name` exactly, or nullptr.
  Worksheet* SheetByName(std::string_view name);
  // The active sheet; a workbook without sheets raises EOleException.
  Worksheet& ActiveSheet();
  // Adds a sheet named "Sheet<n>" after the others and makes it the active sheet.
  Worksheet& AddWorksheet();

  // Writes an opened workbook back to its file: everything the calls did not change is kept (other
  // sheets' parts byte for byte, the written sheet's other cells and the styles); the calculation chain is
  // dropped. The file is replaced atomically. Save on a new workbook raises EOleException.
  void Save();
  void SaveAs(const std::string& fileName);
  // Ends the use of the workbook without saving.
  void Close();

  struct Package;  // the opened file: its zip entries and parts

private:
  friend class Worksheet;
  Workbook();
  std::string Build();
  [[noreturn]] void Fail(const std::string& reason) const;

  std::string fileName_;
  std::unique_ptr<Package> package_;  // null for a new workbook
  std::vector<std::unique_ptr<Worksheet>> sheets_;
  int active_ = 0;
  bool sheetsChanged_ = false;  // added or renamed since opening
};

}  // namespace platform

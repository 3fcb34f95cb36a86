#include <algorithm>
#include <string>
#include <vector>

#include "grid/CsvFormat.h"
#include "grid/DovAdiz.h"
#include "grid/ExUtil.h"
#include "grid/GridTextFiles.h"

// The CSV files of the grid: the export range written one line per row, and files read into the grid
// from its first non-fixed cell or into new rows at its end.

using namespace platform;

namespace velmora {

namespace {

TProgressSteps FileProgress(VUraRazuduVova& grid) {
  return TProgressSteps([&grid](int percent) {
    if (grid.OnFileProgress) grid.OnFileProgress(&grid, static_cast<int16_t>(percent));
  });
}

std::string CsvText(VUraRazuduVova& grid) {
  TCsvWriteStyle style;
  style.Delimiter = grid.FieldDelimiter == '\0' ? ',' : grid.FieldDelimiter;
  style.JavaStyle = grid.JavaStyleCSV;
  style.QuoteEmptyFields = grid.QuoteEmptyFields;
  style.QuoteAllFields = grid.QuoteAllFields;
  // With ExportHiddenCols the range runs over real columns, widened by the hidden ones.
  const int lastCol = grid.GetSaveEndCol() + (grid.ExportHiddenCols ? grid.NumHiddenColumns() : 0);
  TProgressSteps progress = FileProgress(grid);
  std::string text;
  for (int r = grid.GetSaveStartRow(); r <= grid.GetSaveEndRow(); ++r) {
    for (int c = grid.GetSaveStartCol(); c <= lastCol; ++c) {
      if (c > grid.GetSaveStartCol()) text += style.Delimiter;
      std::string cell = grid.SaveCell(grid.ExportHiddenCols ? c : grid.RealColIndex(c), r);
      if (grid.OemConvert) StringToOem(cell);
      AppendCsvField(text, cell, style);
    }
    text += "\r\n";
    if (grid.OnFileProgress) progress.Step(r, grid.RowCount() - 1);
  }
  return text;
}

enum class TCsvTarget { Load, Insert };

void ReadCsv(VUraRazuduVova& grid, const std::string& FileName, TCsvTarget target) {
  std::string text = ReadGridTextFile(FileName, "Cannot open file " + FileName);
  if (grid.OemConvert) OemToString(text);
  const char delimiter = grid.FieldDelimiter != '\0' ? grid.FieldDelimiter : DetectCsvDelimiter(text);
  const std::vector<std::vector<std::string>> records = ReadCsvRecords(text, delimiter, grid.JavaStyleCSV);
  text.clear();

  const int colOffset = grid.ExportFixedCells ? 0 : grid.FixedCols();
  const int rowOffset = grid.ExportFixedCells || target == TCsvTarget::Insert ? 0 : grid.FixedRows();
  const int firstRow = (target == TCsvTarget::Insert ? grid.RowCount() : 0) + rowOffset;
  const int lineCount = static_cast<int>(records.size());
  size_t widest = 0;
  for (const auto& fields : records) widest = std::max(widest, fields.size());
  {
    VUraRazuduVova::UpdateGuard lock(grid);
    grid.SetRowCount(firstRow + lineCount);
    // Fields go to real columns: the store must hold colOffset + widest of them.
    const int missing = colOffset + static_cast<int>(widest) - grid.StorageColCount();
    if (missing > 0) grid.SetColCount(grid.ColCount() + missing);
    TProgressSteps progress = FileProgress(grid);
    for (int t = 0; t < lineCount; ++t) {
      const std::vector<std::string>& fields = records[t];
      for (size_t k = 0; k < fields.size(); ++k) grid.SetCells(colOffset + static_cast<int>(k), firstRow + t, fields[k]);
      if (grid.OnFileProgress) progress.Step(t + 1, lineCount);
    }
  }
  grid.CellsChanged(TRect{0, 0, grid.ColCount(), grid.RowCount()});
  grid.CellsLoaded();
}

}  // namespace

void VUraRazuduVova::SaveToCSV(const std::string& FileName) {
  WriteGridFile(FileName, CsvText(*this), TGridFileWrite::Replace);
}

void VUraRazuduVova::AppendToCSV(const std::string& FileName) {
  WriteGridFile(FileName, CsvText(*this), TGridFileWrite::Append);
}

void VUraRazuduVova::LoadFromCSV(const std::string& FileName) { ReadCsv(*this, FileName, TCsvTarget::Load); }

void VUraRazuduVova::InsertFromCSV(const std::string& FileName) { ReadCsv(*this, FileName, TCsvTarget::Insert); }

}  // namespace velmora

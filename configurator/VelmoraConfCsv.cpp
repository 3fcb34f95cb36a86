// The host grid exported to and imported from CSV files (";" as the delimiter, the header row included).
#include <vector>

#include "configurator/ConfExchangeTexts.h"
#include "configurator/VelmoraConf.h"
#include "platform/dialogs/Dialogs.h"

namespace configurator {

namespace {

constexpr int kColumns = 8, kStateCol = 6, kStateUnknownImage = 6;

// The texts, counts and column widths of the grid, to put back after an import that failed.
class TGridContent {
public:
  explicit TGridContent(velmora::VUraRazuduVova& grid)
      : grid_(grid), cols_(grid.ColCount()), rows_(grid.RowCount()), fixedRows_(grid.FixedRows()) {
    widths_.reserve(static_cast<size_t>(cols_));
    for (int c = 0; c < cols_; ++c) widths_.push_back(grid.ColWidths(c));
    cells_.reserve(static_cast<size_t>(cols_) * static_cast<size_t>(rows_));
    for (int r = 0; r < rows_; ++r)
      for (int c = 0; c < cols_; ++c) cells_.push_back(grid.Cells(c, r));
  }

  void Restore() const {
    velmora::VUraRazuduVova::UpdateGuard lock(grid_);
    grid_.SetColCount(cols_);
    grid_.SetRowCount(rows_);
    grid_.SetFixedRows(fixedRows_);
    for (int c = 0; c < cols_; ++c) grid_.SetColWidths(c, widths_[static_cast<size_t>(c)]);
    for (int r = 0; r < rows_; ++r)
      for (int c = 0; c < cols_; ++c) grid_.SetCells(c, r, cells_[static_cast<size_t>(r) * cols_ + c]);
  }

private:
  velmora::VUraRazuduVova& grid_;
  int cols_, rows_, fixedRows_;
  std::vector<int> widths_;
  std::vector<std::string> cells_;
};

}  // namespace

// The open editor is ended first, so that the file holds what the grid shows.
void TForm1::SpeichernalsXLS1Click(platform::TObject* Sender) {
  EndCellEdit();
  Grid->ExportFixedCells = true;
  if (!dlgExcelSave->Execute()) return;
  try {
    Grid->SaveToCSV(dlgExcelSave->FileName);
  } catch (const platform::Exception& e) {
    platform::MessageDlg(texts::ExportFailed.In(English_) + e.Message(), platform::mtError, {platform::mbOK}, 0);
  }
}

// An import replaces the list: it counts as an edit. One that fails puts the list back as it was and
// says why; a file wider than the grid loses its surplus columns, and the user is told.
void TForm1::LadenausExcel1Click(platform::TObject* Sender) {
  EndCellEdit();
  if (!dlgExcelLoad->Execute()) return;
  const TGridContent before(*Grid);
  int fileColumns = 0;
  try {
    fileColumns = LoadHostCsv(dlgExcelLoad->FileName);
  } catch (const platform::Exception& e) {
    before.Restore();
    platform::MessageDlg(texts::ImportFailed.In(English_) + e.Message(), platform::mtError, {platform::mbOK}, 0);
    return;
  }
  MarkChanged();
  SetRemoveEnabled(Grid->RowCount() > 2);
  if (fileColumns > kColumns) {
    platform::MessageDlg(texts::ColumnsDropped.In(English_) + std::to_string(fileColumns) +
                             texts::ColumnsDroppedEnd.In(English_),
                         platform::mtWarning, {platform::mbOK}, 0);
  }
}

// The file's first line lands in the header row. The data rows are emptied first, so that a file with
// fewer columns leaves no old text beside its own; every state is unknown until the next refresh.
int TForm1::LoadHostCsv(const std::string& fileName) {
  Grid->ClearRows(Grid->FixedRows(), Grid->RowCount() - Grid->FixedRows());
  Grid->ExportFixedCells = true;
  Grid->LoadFromCSV(fileName);
  if (Grid->RowCount() < 2) throw platform::Exception(texts::ImportHasNoHosts.In(English_));
  const int fileColumns = Grid->ColCount();
  if (fileColumns != kColumns) Grid->SetColCount(kColumns);
  Grid->AutoSizeColumns(false, 5);
  for (int row = 1; row < Grid->RowCount(); ++row) Grid->SetCells(kStateCol, row, StateCellText(kStateUnknownImage));
  return fileColumns;
}

}  // namespace configurator

#pragma once

#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace velmora::testing {

using Table = std::vector<std::vector<std::string>>;

// The grid of DovAdizTest with a folder for its files and the cells as a table of rows.
class GridFileTest : public DovAdizTest {
protected:
  // Sizes the grid to the table (no fixed cells unless the test sets them after) and fills it.
  void Fill(const Table& table) {
    grid_->UnHideColumnsAll();
    grid_->SetFixedRows(0);
    grid_->SetFixedCols(0);
    grid_->SetRowCount(static_cast<int>(table.size()));
    grid_->SetColCount(static_cast<int>(table.empty() ? 1 : table[0].size()));
    for (size_t r = 0; r < table.size(); ++r)
      for (size_t c = 0; c < table[r].size(); ++c) grid_->SetCells(static_cast<int>(c), static_cast<int>(r), table[r][c]);
  }
  // The cells of every real column and display row.
  Table Cells() const {
    Table table(static_cast<size_t>(grid_->RowCount()));
    for (int r = 0; r < grid_->RowCount(); ++r)
      for (int c = 0; c < grid_->StorageColCount(); ++c) table[r].push_back(grid_->Cells(c, r));
    return table;
  }
  std::string File(const std::string& name) const { return folder_.File(name); }
  std::string Bytes(const std::string& name) const { return platform::ReadFileBytes(File(name)); }
  void Write(const std::string& name, const std::string& bytes) const { platform::WriteFileAtomic(File(name), bytes); }

  platform::TempFolder folder_;
};

}  // namespace velmora::testing

#include <memory>
#include <string>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

std::unique_ptr<platform::TStringList> Lines(std::initializer_list<const char*> lines) {
  auto list = std::make_unique<platform::TStringList>();
  for (const char* line : lines) list->Add(line);
  return list;
}

TEST_F(DovAdizTest, ColumnHeadersAreClearedFirstAndBreakLines) {
  grid_->SetColumnHeaders(*Lines({"", "Host\\nname", "On connect", "Mode", "Watch"}));
  EXPECT_EQ(grid_->Cells(1, 0), "Host\rname");
  EXPECT_EQ(grid_->Cells(4, 0), "Watch");
  grid_->SetColumnHeaders(*Lines({"#", "Host"}));
  EXPECT_EQ(grid_->Cells(0, 0), "#");
  EXPECT_EQ(grid_->Cells(1, 0), "Host");
  EXPECT_EQ(grid_->Cells(2, 0), "");
  EXPECT_EQ(grid_->Cells(4, 0), "");
  // A change of the list shows it again.
  grid_->ColumnHeaders().Add("Command");
  EXPECT_EQ(grid_->Cells(2, 0), "Command");
}

TEST_F(DovAdizTest, ColumnHeadersReachHiddenRealColumns) {
  grid_->SetStorageColCount(7);
  grid_->SetColumnHeaders(*Lines({"0", "1", "2", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(grid_->Cells(6, 0), "6");
  grid_->SetColCount(7);
  EXPECT_EQ(grid_->Cells(6, 0), "6");
}

TEST_F(DovAdizTest, HeadersNeedFixedRowsAndColumns) {
  grid_->SetFixedRows(0);
  grid_->SetFixedCols(0);
  grid_->SetCells(1, 0, "data");
  grid_->SetColumnHeaders(*Lines({"a", "b"}));
  grid_->SetRowHeaders(*Lines({"a", "b"}));
  EXPECT_EQ(grid_->Cells(1, 0), "data");
  EXPECT_EQ(grid_->Cells(0, 1), "");
  // The Always flag counts as a fixed row.
  grid_->FixedRowAlways = true;
  grid_->ShowColumnHeaders();
  EXPECT_EQ(grid_->Cells(1, 0), "b");
}

TEST_F(DovAdizTest, ShorterRowHeadersLeaveTheOlderTextsAtRunTime) {
  grid_->SetRowHeaders(*Lines({"", "first", "second", "third"}));
  EXPECT_EQ(grid_->Cells(0, 3), "third");
  grid_->SetRowHeaders(*Lines({"", "one"}));
  EXPECT_EQ(grid_->Cells(0, 1), "one");
  EXPECT_EQ(grid_->Cells(0, 3), "third");
  grid_->ClearRowHeaders();
  EXPECT_EQ(grid_->Cells(0, 3), "");
}

}  // namespace
}  // namespace velmora::testing

#include <string>
#include <vector>

#include "grid/DovAdizClasses.h"
#include "grid/tests/DovAdizFixture.h"
#include "platform/ui/FormLoader.h"

namespace velmora::testing {
namespace {

class DovAdizFilterTest : public DovAdizTest {
protected:
  void AddCondition(int16_t column, const std::string& condition, bool caseSensitive = true) {
    TFilterData* data = grid_->Filter().Add();
    data->Column = column;
    data->Condition = condition;
    data->CaseSensitive = caseSensitive;
  }
  // Data rows under the fixed rows (and above footers rows) with these texts in columns 1 and 2, every
  // other cell naming its column and row ("c3r2"), so that a row's whole contents can be followed.
  void Fill(int fixedRows, const std::vector<std::pair<std::string, std::string>>& rows, int footers = 0) {
    grid_->SetFixedFooters(0);
    grid_->SetRowCount(fixedRows + static_cast<int>(rows.size()) + footers);
    grid_->SetFixedRows(fixedRows);
    grid_->SetFixedFooters(footers);
    for (int r = 0; r < grid_->RowCount(); ++r)
      for (int c = 0; c < grid_->ColCount(); ++c) grid_->SetCells(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
    for (size_t i = 0; i < rows.size(); ++i) {
      grid_->SetCells(1, fixedRows + static_cast<int>(i), rows[i].first);
      grid_->SetCells(2, fixedRows + static_cast<int>(i), rows[i].second);
    }
  }
  // Every cell, row by row, as the grid shows them.
  std::vector<std::vector<std::string>> Shown() const {
    std::vector<std::vector<std::string>> cells(static_cast<size_t>(grid_->RowCount()));
    for (int r = 0; r < grid_->RowCount(); ++r)
      for (int c = 0; c < grid_->ColCount(); ++c) cells[static_cast<size_t>(r)].push_back(grid_->Cells(c, r));
    return cells;
  }
  // Column 1 of the data rows shown.
  std::vector<std::string> ShownHosts() const {
    std::vector<std::string> hosts;
    for (int r = grid_->FixedRows(); r < grid_->RowCount() - grid_->FixedFooters(); ++r) hosts.push_back(grid_->Cells(1, r));
    return hosts;
  }
};

using Hosts = std::vector<std::string>;

struct MatchCase {
  const char* name;
  const char* host;    // column 1
  const char* state;   // column 2
  bool caseSensitive;  // of the condition on column 1
  bool matches;
};

// The filter "router*" on column 1 and "up" on column 2: a row passes only when both hold.
TEST_F(DovAdizFilterTest, ARowMatchesWhenEveryConditionHolds) {
  const MatchCase cases[] = {
      {"both hold", "router-1", "up", true, true},
      {"only the first holds", "router-1", "down", true, false},
      {"only the second holds", "printer", "up", true, false},
      {"neither holds", "printer", "down", true, false},
      {"case counts when sensitive", "ROUTER-1", "up", true, false},
      {"case does not count otherwise", "ROUTER-1", "up", false, true},
  };
  for (const MatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->Filter().Clear();
    AddCondition(1, "router*", c.caseSensitive);
    AddCondition(2, "up");
    grid_->SetCells(1, 3, c.host);
    grid_->SetCells(2, 3, c.state);
    EXPECT_EQ(grid_->MatchFilter(3), c.matches);
  }
}

TEST_F(DovAdizFilterTest, AnEmptyFilterMatchesEveryRow) {
  for (int r = 0; r < grid_->RowCount(); ++r) EXPECT_TRUE(grid_->MatchFilter(r)) << r;
}

TEST_F(DovAdizFilterTest, TheConditionsAreAnOwnedCollectionInTheirOrder) {
  TFilter& filter = grid_->Filter();
  EXPECT_EQ(filter.Owner(), grid_);
  TFilterData* last = filter.Add();
  TFilterData* first = filter.Insert(0);
  ASSERT_EQ(filter.Count(), 2);
  EXPECT_EQ(filter.Items(0), first);
  EXPECT_EQ(filter.Items(1), last);
  EXPECT_TRUE(first->CaseSensitive);
  EXPECT_EQ(first->Column, 0);

  TFilter other(nullptr);
  TFilterData* replacement = other.Add();
  replacement->Column = 3;
  replacement->Condition = ">5";
  replacement->CaseSensitive = false;
  filter.SetItems(1, *replacement);
  EXPECT_EQ(filter.Items(1), last) << "the condition is copied into, not replaced";
  EXPECT_EQ(last->Column, 3);
  EXPECT_EQ(last->Condition, ">5");
  EXPECT_FALSE(last->CaseSensitive);
  EXPECT_THROW(filter.Items(2), platform::EListError);
}

TEST_F(DovAdizFilterTest, AFormResourceGivesTheFilterItsConditions) {
  PublishDovAdizClasses();
  platform::TForm form(nullptr);
  platform::ReadFormText(form,
                         "F: TForm { G: VUraRazuduVova {\n"
                         "  Filter = items { { Column = 1  Condition = \"router*\" }\n"
                         "                   { Column = 2  Condition = \"up\"  CaseSensitive = False } }\n"
                         "} }",
                         "filter", {});
  const TFilter& filter = dynamic_cast<VUraRazuduVova&>(*form.FindComponent("G")).Filter();
  ASSERT_EQ(filter.Count(), 2);
  EXPECT_EQ(filter.Items(0)->Column, 1);
  EXPECT_EQ(filter.Items(0)->Condition, "router*");
  EXPECT_TRUE(filter.Items(0)->CaseSensitive);
  EXPECT_EQ(filter.Items(1)->Column, 2);
  EXPECT_EQ(filter.Items(1)->Condition, "up");
  EXPECT_FALSE(filter.Items(1)->CaseSensitive);
}

TEST_F(DovAdizFilterTest, ActivatingHidesTheRowsThatFailAnyConditionAndKeepsTheirCells) {
  Fill(1, {{"router-1", "up"}, {"router-2", "down"}, {"printer", "up"}, {"router-3", "up"}});
  AddCondition(1, "router*");
  AddCondition(2, "up");
  grid_->SetFilterActive(true);
  EXPECT_TRUE(grid_->FilterActive());
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-3"}));
  EXPECT_EQ(grid_->RowCount(), 3);
  EXPECT_TRUE(grid_->IsHiddenRow(2));
  EXPECT_TRUE(grid_->IsHiddenRow(3));
  EXPECT_EQ(grid_->RealRowIndex(2), 4);
  ASSERT_NE(grid_->HiddenRow(3), nullptr);
  EXPECT_TRUE(grid_->HiddenRow(3)->Causes.Filter);
  EXPECT_EQ(grid_->HiddenRow(3)->Cell(1), "printer");
}

TEST_F(DovAdizFilterTest, AnEmptyFilterHidesNothing) {
  Fill(1, {{"router-1", "up"}, {"router-2", "down"}});
  const auto before = Shown();
  grid_->SetFilterActive(true);
  EXPECT_EQ(Shown(), before);
  grid_->SetFilterActive(false);
  EXPECT_EQ(Shown(), before);
}

struct NothingPassesCase {
  const char* name;
  int fixedRows;
  int footers;
  bool fixedRowAlways;
  bool blankRow;
};

// No row passes: the blank data row keeps the fixed rows, under them and above the footers; turning
// the filter off takes it away and shows every row as it was, with the fixed rows of before.
TEST_F(DovAdizFilterTest, WhenNoRowPassesABlankRowStandsInUntilTheFilterIsOff) {
  const NothingPassesCase cases[] = {
      {"one fixed row", 1, 0, false, true},
      {"no fixed row", 0, 0, false, true},
      {"a fixed row and a footer", 1, 1, false, true},
      {"FixedRowAlways: no blank row, both fixed rows come back", 2, 0, true, false},
  };
  for (const NothingPassesCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->FixedRowAlways = c.fixedRowAlways;
    Fill(c.fixedRows, {{"printer", "up"}, {"scanner", "down"}, {"camera", "up"}}, c.footers);
    const auto before = Shown();
    AddCondition(1, "router*");

    grid_->SetFilterActive(true);
    ASSERT_EQ(grid_->RowCount(), c.fixedRows + c.footers + (c.blankRow ? 1 : 0));
    if (c.blankRow) {
      EXPECT_EQ(grid_->TBaseGrid::FixedRows(), c.fixedRows);
      for (int col = 0; col < grid_->ColCount(); ++col) EXPECT_EQ(grid_->Cells(col, c.fixedRows), "") << col;
      for (int r = 0; r < c.fixedRows; ++r) EXPECT_EQ(grid_->Cells(0, r), before[r][0]);
      EXPECT_EQ(grid_->Cells(0, grid_->RowCount() - 1), c.footers ? before.back()[0] : "");
    }

    grid_->SetFilterActive(false);
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(grid_->TBaseGrid::FixedRows(), c.fixedRows);
    EXPECT_EQ(grid_->NumHiddenRows(), 0);
    grid_->Filter().Clear();
  }
}

TEST_F(DovAdizFilterTest, TurningTheFilterOffShowsOnlyTheRowsItHid) {
  Fill(1, {{"router-1", "up"}, {"router-2", "down"}, {"printer", "up"}, {"router-3", "up"}});
  grid_->HideRow(2);  // router-2, hidden before the filter
  AddCondition(1, "router*");
  grid_->SetFilterActive(true);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-3"}));
  grid_->SetFilterActive(false);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "printer", "router-3"}));
  EXPECT_TRUE(grid_->IsHiddenRow(2));
  grid_->UnHideRowsAll();
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-2", "printer", "router-3"}));
}

// A node's rows and the filter's keep apart: a contracted node stays contracted through the filter, and
// expanding it shows only the rows it hid, not those that the filter or the program hid.
TEST_F(DovAdizFilterTest, AContractedNodeAndTheFilterEachShowOnlyTheRowsTheyHid) {
  Fill(1, {{"router-1", "up"}, {"router-2", "up"}, {"printer", "up"}, {"switch", "up"}, {"router-3", "up"}});
  grid_->AddNode(1, 3);  // router-1 holds router-2, printer and switch
  grid_->ContractNode(1);
  AddCondition(1, "router*");
  grid_->SetFilterActive(true);
  grid_->SetFilterActive(false);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-3"}));
  EXPECT_TRUE(grid_->GetNodeState(1));

  grid_->ExpandNode(1);
  grid_->SetFilterActive(true);  // printer and switch fail
  grid_->HideRow(2);             // router-2, hidden by the program
  grid_->ContractNode(1);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-3"}));
  grid_->ExpandNode(1);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-3"}));
  grid_->SetFilterActive(false);
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "printer", "switch", "router-3"}));
  grid_->UnHideRowsAll();
  EXPECT_EQ(ShownHosts(), (Hosts{"router-1", "router-2", "printer", "switch", "router-3"}));
}

// Whatever the order of filtering and of contracting or expanding nested nodes, a row shows exactly when
// the filter (while on) takes it and no contracted node holds it: every sequence of five steps, checked
// after each step.
TEST_F(DovAdizFilterTest, RowsShowWhenNeitherTheFilterNorAContractedNodeHidesThem) {
  const Hosts hosts{"router-1", "router-2", "printer", "router-4", "switch", "router-3"};
  const auto matches = [](const std::string& host) { return host.starts_with("router"); };
  constexpr int kOuter = 1, kOuterSpan = 4, kInner = 3, kInnerSpan = 1;  // real rows
  for (int sequence = 0; sequence < 243; ++sequence) {
    std::vector<std::pair<std::string, std::string>> rows;
    for (const std::string& host : hosts) rows.emplace_back(host, "up");
    grid_->SetFilterActive(false);
    grid_->UnHideRowsAll();
    Fill(1, rows);
    grid_->AddNode(kOuter, kOuterSpan);
    grid_->AddNode(kInner, kInnerSpan);
    grid_->Filter().Clear();
    AddCondition(1, "router*");
    bool filtered = false, outer = false, inner = false;
    std::string steps;
    for (int step = 0, code = sequence; step < 5; ++step, code /= 3) {
      switch (code % 3) {
        case 0: filtered = !filtered; grid_->SetFilterActive(filtered); steps += filtered ? "F+" : "F-"; break;
        case 1: outer = !outer; grid_->SetNodeState(kOuter, outer); steps += outer ? "O+" : "O-"; break;
        default: inner = !inner; grid_->SetNodeState(kInner, inner); steps += inner ? "I+" : "I-"; break;
      }
      Hosts expected;
      for (int r = 1; r <= static_cast<int>(hosts.size()); ++r) {
        const bool inOuter = outer && r > kOuter && r <= kOuter + kOuterSpan;
        const bool inInner = inner && r > kInner && r <= kInner + kInnerSpan;
        if ((!filtered || matches(hosts[r - 1])) && !inOuter && !inInner) expected.push_back(hosts[r - 1]);
      }
      ASSERT_EQ(ShownHosts(), expected) << steps;
    }
  }
}

struct ProgressCase {
  int dataRows;
  std::vector<int> progress;
};

TEST_F(DovAdizFilterTest, TheProgressRisesOnceForEveryDataRowToExactlyOneHundred) {
  const ProgressCase cases[] = {
      {4, {25, 50, 75, 100}},
      {3, {33, 67, 100}},
      {1, {100}},
      {0, {}},
  };
  std::vector<int> heard;
  grid_->OnFilterProgress = [&](platform::TObject* sender, int16_t progress) {
    EXPECT_EQ(sender, grid_);
    heard.push_back(progress);
  };
  for (const ProgressCase& c : cases) {
    SCOPED_TRACE(c.dataRows);
    // Every other row fails: hidden runs do not make rows count twice.
    std::vector<std::pair<std::string, std::string>> rows;
    for (int i = 0; i < c.dataRows; ++i) rows.push_back({i % 2 ? "printer" : "router", "up"});
    Fill(1, rows, 1);
    AddCondition(1, "router");
    heard.clear();
    grid_->ApplyFilter();
    EXPECT_EQ(heard, c.progress);
    grid_->UnHideRowsAll();
    grid_->Filter().Clear();
  }
}

}  // namespace
}  // namespace velmora::testing

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
};

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

}  // namespace
}  // namespace velmora::testing

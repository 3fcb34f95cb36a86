#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"

namespace velmora::testing {
namespace {

using platform::TBitmap;

// A caller's bitmap that tells when it is destroyed.
class TTrackedBitmap : public TBitmap {
public:
  explicit TTrackedBitmap(bool& alive) : alive_(alive) { alive_ = true; }
  ~TTrackedBitmap() override { alive_ = false; }

private:
  bool& alive_;
};

using CellGraphicsTest = DovAdizTest;

TEST_F(CellGraphicsTest, KindsAndRemovalByKind) {
  EXPECT_EQ(grid_->GetCellType(1, 1), TCellType::ctEmpty);
  EXPECT_FALSE(grid_->FreeCellGraphic(1, 1));
  EXPECT_EQ(grid_->CreateCellGraphic(1, 1)->CellType(), TCellType::ctNone);

  grid_->CreateIcon(1, 1, TCellHAlign::haLeft, TCellVAlign::vaTop);
  EXPECT_EQ(grid_->GetCellType(1, 1), TCellType::ctIcon);
  EXPECT_FALSE(grid_->RemoveBitmap(1, 1));
  EXPECT_EQ(grid_->GetBitmap(1, 1), nullptr);
  EXPECT_TRUE(grid_->RemoveIcon(1, 1));
  EXPECT_EQ(grid_->GetCellType(1, 1), TCellType::ctEmpty);

  TBitmap* made = grid_->CreateBitmap(2, 3, true, TCellHAlign::haRight, TCellVAlign::vaCenter);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(grid_->GetBitmap(2, 3), made);
  EXPECT_TRUE(grid_->GetCellGraphic(2, 3)->Transparent);
  EXPECT_EQ(grid_->GetCellGraphic(2, 3)->HAlign, TCellHAlign::haRight);
  // Outside the grid nothing is made.
  EXPECT_EQ(grid_->CreateBitmap(9, 9, false, TCellHAlign::haLeft, TCellVAlign::vaTop), nullptr);
}

// Every way a cell goes frees the graphics the grid made (the leak check of the sanitizer build shows
// any left) and leaves the objects that Add was handed alive.
TEST_F(CellGraphicsTest, EveryWayACellGoesFreesOwnedAndKeepsBorrowed) {
  const std::vector<std::pair<std::string, std::function<void(TTestDovAdiz&)>>> ways = {
      {"RemoveRows", [](TTestDovAdiz& g) { g.RemoveRows(1, 3); }},
      {"RemoveCols", [](TTestDovAdiz& g) { g.RemoveCols(1, 3); }},
      {"lower RowCount", [](TTestDovAdiz& g) { g.SetRowCount(1); }},
      {"lower ColCount", [](TTestDovAdiz& g) { g.SetColCount(1); }},
      {"Clear", [](TTestDovAdiz& g) { g.Clear(); }},
      {"ClearRect", [](TTestDovAdiz& g) { g.ClearRect(0, 0, 4, 5); }},
      {"hidden rows cleared", [](TTestDovAdiz& g) { g.HideRows(1, 3), g.Clear(); }},
      {"hidden rows cut off", [](TTestDovAdiz& g) { g.HideRows(2, 3), g.SetRowCount(2); }},
      {"replaced", [](TTestDovAdiz& g) {
         for (int r = 1; r <= 3; ++r)
           for (int c = 1; c <= 3; ++c) g.CreateCellGraphic(c, r);
       }},
      {"destructor", [](TTestDovAdiz& g) { g.HideRow(2), delete &g; }},
      {"hidden row column removed", [](TTestDovAdiz& g) { g.HideRow(2), g.RemoveCols(2, 1); }},
  };
  for (const auto& [name, way] : ways) {
    SCOPED_TRACE(name);
    auto* grid = new TTestDovAdiz(form_.get());
    grid->SetColCount(5);
    grid->SetRowCount(6);
    bool alive = false;
    auto borrowed = std::make_unique<TTrackedBitmap>(alive);
    for (int r = 1; r <= 3; ++r) {
      grid->AddBitmap(1, r, borrowed.get(), false, TCellHAlign::haLeft, TCellVAlign::vaTop);
      grid->CreateBitmap(2, r, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
      grid->CreatePicture(3, r, false, TStretchMode::Stretch, 0, TCellHAlign::haLeft, TCellVAlign::vaTop);
    }
    const bool destroys = name == "destructor";
    way(*grid);
    EXPECT_TRUE(alive);
    if (!destroys) delete grid;
    EXPECT_TRUE(alive);
  }
}

// A graphic moves with its row through hiding and showing, and frees nothing on the way.
TEST_F(CellGraphicsTest, GraphicTravelsWithItsHiddenRow) {
  TBitmap* made = grid_->CreateBitmap(1, 3, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
  grid_->HideRow(2);
  EXPECT_EQ(grid_->GetBitmap(1, 2), made);
  grid_->HideRow(3);
  grid_->UnHideRowsAll();
  EXPECT_EQ(grid_->GetBitmap(1, 3), made);
}

}  // namespace
}  // namespace velmora::testing

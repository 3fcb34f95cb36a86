#include <memory>
#include <string>
#include <vector>

#include "grid/tests/DovAdizFixture.h"
#include "platform/ui/ImgList.h"

namespace velmora::testing {
namespace {

using platform::TBitmap;
using platform::TPoint;
using H = TCellHAlign;
using V = TCellVAlign;

class CellGraphicSizesTest : public DovAdizTest {
protected:
  void SetUp() override {
    DovAdizTest::SetUp();
    images_ = std::make_unique<platform::TCustomImageList>(nullptr);  // 16 x 16
    grid_->SetImages(images_.get());
  }
  void TearDown() override {
    grid_->SetImages(nullptr);
    DovAdizTest::TearDown();
  }
  std::unique_ptr<platform::TCustomImageList> images_;
};

// The test font at 8 points advances 5 pixels a character and is 11 pixels high.
TEST_F(CellGraphicSizesTest, SizesForAutoSizeAndForPrinting) {
  static TBitmap bitmap(7, 5);  // borrowed: it must outlive the grid's last paint
  platform::TStringList items;
  items.Add("ab"), items.Add("cde");
  grid_->SetColWidths(1, 50);
  grid_->SetRowHeights(1, 30);
  struct Case {
    const char* name;
    std::string text;
    std::function<void()> add;
    TPoint screen, print;  // the print size for a cell of 100 x 60 at factor 2
  };
  const auto bitmapAt = [&](H align) {
    return [&, align] { grid_->AddBitmap(1, 1, &bitmap, false, align, V::vaTop); };
  };
  const Case cases[] = {
      {"none", "t", [] {}, {0, 0}, {0, 0}},
      {"bitmap right of a text", "t", bitmapAt(H::haRight), {0, 5}, {7, 5}},
      {"bitmap before a text", "t", bitmapAt(H::haBeforeText), {7, 5}, {7, 5}},
      {"bitmap after a text", "t", bitmapAt(H::haAfterText), {7, 5}, {7, 5}},
      {"bitmap right, no text", "", bitmapAt(H::haRight), {7, 5}, {7, 5}},
      {"list image left of a text", "t", [&] { grid_->AddImageIdx(1, 1, 0, H::haLeft, V::vaTop); }, {0, 16}, {0, 16}},
      {"check box", "t", [&] { grid_->AddCheckBox(1, 1, true, false); }, {15, 15}, {15, 15}},
      {"radio, horizontal", "", [&] { grid_->AddRadio(1, 1, 1, 0, &items); }, {10 + 12 + 15 + 12, 11}, {49, 11}},
      {"radio, vertical", "", [&] { grid_->AddRadio(1, 1, 0, 0, &items); }, {12 + 15, 2 * 11}, {27, 22}},
      {"images, horizontal", "",
       [&] {
         grid_->AddMultiImage(1, 1, 0, H::haLeft, V::vaTop);
         for (int i : {1, 2, 3}) grid_->GetCellImages(1, 1)->Add(i);
       },
       {48, 16}, {48, 16}},
      {"images, vertical", "",
       [&] {
         grid_->AddMultiImage(1, 1, 1, H::haLeft, V::vaTop);
         grid_->GetCellImages(1, 1)->Add(0);
       },
       {16, 16}, {16, 16}},
      {"picture stretched", "",
       [&] {
         grid_->CreatePicture(1, 1, false, TStretchMode::Stretch, 10, H::haLeft, V::vaTop)->Bitmap().SetSize(4, 4);
       },
       {40, 20}, {45, 25}},
      {"picture of its own size", "",
       [&] {
         grid_->CreatePicture(1, 1, false, TStretchMode::noStretch, 0, H::haLeft, V::vaTop)->Bitmap().SetSize(9, 3);
       },
       {9, 3}, {5, 2}},
      {"button", "t", [&] { grid_->AddButton(1, 1, 30, 12, "Go", H::haLeft, V::vaTop); }, {30, 12}, {30, 12}},
      {"rotated text", "t", [&] { grid_->AddRotated(1, 1, 90, "t"); }, {0, 0}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->FreeCellGraphic(1, 1);
    grid_->SetCells(1, 1, c.text);
    c.add();
    EXPECT_EQ(grid_->GetCellGraphicSize(1, 1), c.screen);
    EXPECT_EQ(grid_->GetPrintGraphicSize(1, 1, 100, 60, 2.0), c.print);
  }
  // A factor not above 0 leaves the size alone rather than dividing by it.
  EXPECT_EQ(grid_->GetPrintGraphicSize(1, 1, 100, 60, 0.0), (TPoint{0, 0}));
  grid_->CreatePicture(1, 1, false, TStretchMode::noStretch, 0, H::haLeft, V::vaTop)->Bitmap().SetSize(9, 3);
  EXPECT_EQ(grid_->GetPrintGraphicSize(1, 1, 100, 60, 0.0), (TPoint{9, 3}));
  // Without the image list, list images take no room.
  grid_->AddImageIdx(2, 1, 0, H::haBeforeText, V::vaTop);
  grid_->SetImages(nullptr);
  EXPECT_EQ(grid_->GetCellGraphicSize(2, 1), (TPoint{0, 0}));
}

TEST_F(CellGraphicSizesTest, TheImageACellShows) {
  static TBitmap bitmap(2, 2);  // borrowed: it must outlive the grid's last paint
  grid_->AddImageIdx(1, 1, 3, H::haLeft, V::vaTop);
  grid_->SetCells(1, 2, "5");
  grid_->AddDataImage(1, 2, 2, H::haLeft, V::vaTop);
  grid_->SetCells(1, 3, "five");
  grid_->AddDataImage(1, 3, 2, H::haLeft, V::vaTop);
  grid_->AddMultiImage(1, 4, 0, H::haLeft, V::vaTop);
  grid_->GetCellImages(1, 4)->Add(4);
  grid_->GetCellImages(1, 4)->Add(1);
  grid_->AddMultiImage(1, 5, 0, H::haLeft, V::vaTop);
  grid_->AddBitmap(2, 1, &bitmap, false, H::haLeft, V::vaTop);
  const std::vector<std::pair<TPoint, int>> cases = {
      {{1, 1}, 3}, {{1, 2}, 7}, {{1, 3}, -1}, {{1, 4}, 4}, {{1, 5}, -1}, {{2, 1}, -1}, {{3, 1}, -1}};
  for (const auto& [cell, index] : cases) EXPECT_EQ(grid_->GetCellImageIdx(cell.X, cell.Y), index) << cell.Y;
}

TEST_F(CellGraphicSizesTest, SortingByImagesOrdersTheImageIndices) {
  grid_->OnGetFormat = [](platform::TObject*, int, TSortStyle& s, std::string&, std::string&) {
    s = TSortStyle::ssImages;
  };
  const int indices[] = {3, 1, -1, 2, 0};
  for (int r = 1; r <= 5; ++r) {
    grid_->SetCells(2, r, "r" + std::to_string(r));
    if (indices[r - 1] >= 0) grid_->AddImageIdx(1, r, indices[r - 1], H::haLeft, V::vaTop);
  }
  grid_->SortSettings().Column = 1;
  grid_->QSort();
  std::vector<int> order;
  std::string rows;
  for (int r = 1; r <= 5; ++r) {
    order.push_back(grid_->GetCellImageIdx(1, r));
    rows += grid_->Cells(2, r);
  }
  EXPECT_EQ(order, (std::vector<int>{-1, 0, 1, 2, 3}));
  EXPECT_EQ(rows, "r3r5r2r4r1");  // each image with its row
}

TEST_F(CellGraphicSizesTest, AutoSizeAddsTheGraphicBesideTheText) {
  static TBitmap bitmap(7, 5);  // borrowed: it must outlive the grid's last paint
  grid_->SetCells(1, 1, "abcd");  // 20 pixels
  grid_->AddBitmap(1, 1, &bitmap, false, H::haBeforeText, V::vaTop);
  grid_->SetCells(1, 2, "abcde");  // 25 pixels: the graphic makes row 1 the widest
  grid_->SetCells(2, 1, "abcd");
  grid_->AddBitmap(2, 1, &bitmap, false, H::haRight, V::vaTop);
  grid_->AddCheckBox(3, 2, false, false);  // an empty cell: the box alone
  grid_->AutoSizeColumns(false, 0);
  EXPECT_EQ(grid_->ColWidths(1), 2 + 20 + 7 + 4);
  EXPECT_EQ(grid_->ColWidths(2), 2 + 20 + 4);
  EXPECT_EQ(grid_->ColWidths(3), 2 + 15 + 4);
}

}  // namespace
}  // namespace velmora::testing

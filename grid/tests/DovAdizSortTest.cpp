#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "grid/tests/DovAdizFixture.h"
#include "platform/core/Ascii.h"
#include "platform/ui/ImgList.h"

namespace velmora::testing {
namespace {

using platform::clRed;
using platform::TColor;

// One display row as the sort must keep it together.
struct RowImage {
  std::vector<std::string> texts;  // every real column, hidden ones too
  TColor color;
  int height;
  bool mark;
  friend bool operator==(const RowImage&, const RowImage&) = default;
};

class DovAdizSortTest : public DovAdizTest {
protected:
  int RealCols() const { return grid_->ColCount() + grid_->NumHiddenColumns(); }
  RowImage Image(int r) const {
    RowImage image{{}, grid_->GetColors(2, r), grid_->RowHeights(r), grid_->RowSelect(r)};
    for (int c = 0; c < RealCols(); ++c) image.texts.push_back(grid_->Cells(c, r));
    return image;
  }
  std::vector<RowImage> Images() const {
    std::vector<RowImage> images;
    for (int r = 0; r < grid_->RowCount(); ++r) images.push_back(Image(r));
    return images;
  }
  void SetColumn(int c, const std::vector<std::string>& texts) {
    grid_->SetRowCount(static_cast<int>(texts.size()) + 1);
    for (size_t i = 0; i < texts.size(); ++i) grid_->SetCells(c, static_cast<int>(i) + 1, texts[i]);
  }
  std::vector<std::string> Column(int c) const {
    std::vector<std::string> texts;
    for (int r = 1; r < grid_->RowCount(); ++r) texts.push_back(grid_->Cells(c, r));
    return texts;
  }
  void UseStyle(TSortStyle style) {
    grid_->OnGetFormat = [style](platform::TObject*, int, TSortStyle& s, std::string&, std::string&) { s = style; };
  }
};

using Texts = std::vector<std::string>;

TEST_F(DovAdizSortTest, StylesOrderTheirTexts) {
  struct Case {
    const char* name;
    TSortStyle style;
    TSortDirection direction;
    Texts in, out;
  };
  const Case cases[] = {
      {"numeric", TSortStyle::ssNumeric, TSortDirection::sdAscending, {"2", "10", "1"}, {"1", "2", "10"}},
      {"alphabetic", TSortStyle::ssAlphabetic, TSortDirection::sdAscending, {"2", "10", "1"}, {"1", "10", "2"}},
      {"numeric descending", TSortStyle::ssNumeric, TSortDirection::sdDescending, {"2", "10", "1"}, {"10", "2", "1"}},
      // Texts that are no numbers follow the numbers, ordered among themselves; "" counts as 0.
      {"numeric with texts", TSortStyle::ssNumeric, TSortDirection::sdAscending, {"abc", "5", "", "-1.5", "Abc"},
       {"-1.5", "", "5", "Abc", "abc"}},
      {"automatic numbers", TSortStyle::ssAutomatic, TSortDirection::sdAscending, {"9", "", "100"}, {"", "9", "100"}},
      {"automatic mixed is alphabetic", TSortStyle::ssAutomatic, TSortDirection::sdAscending, {"9", "x", "100"},
       {"100", "9", "x"}},
      {"no case", TSortStyle::ssAlphaNoCase, TSortDirection::sdAscending, {"b", "A", "a", "B"}, {"A", "a", "b", "B"}},
      {"markup", TSortStyle::ssHTML, TSortDirection::sdAscending, {"<b>b</b>", "c", "<i>a</i>"},
       {"<i>a</i>", "<b>b</b>", "c"}},
      {"date", TSortStyle::ssDate, TSortDirection::sdAscending, {"03.01.2020", "no date", "01.02.2019"},
       {"01.02.2019", "03.01.2020", "no date"}},
      {"short date US", TSortStyle::ssShortDateUS, TSortDirection::sdAscending, {"02/01/2020", "01/02/2020"},
       {"01/02/2020", "02/01/2020"}},
      {"financial", TSortStyle::ssFinancial, TSortDirection::sdAscending, {"1,000.5", "999", "12,000"},
       {"999", "1,000.5", "12,000"}},
  };
  platform::FormatSettings().DateSeparator = '.';
  platform::FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  grid_->SortSettings().Full = false;
  for (const Case& c : cases) {
    SetColumn(1, c.in);
    UseStyle(c.style);
    grid_->SortSettings().Column = 1;
    grid_->SortSettings().Direction = c.direction;
    grid_->QSort();
    EXPECT_EQ(Column(1), c.out) << c.name;
  }
}

TEST_F(DovAdizSortTest, BlanksStayAtTheirEndInBothDirections) {
  grid_->SortSettings().IgnoreBlanks = true;
  grid_->SortSettings().Column = 1;
  for (auto pos : {TSortBlankPosition::blLast, TSortBlankPosition::blFirst}) {
    grid_->SortSettings().BlankPos = pos;
    for (auto dir : {TSortDirection::sdAscending, TSortDirection::sdDescending}) {
      SetColumn(1, {"", "b", "", "a", "c"});
      grid_->SortSettings().Direction = dir;
      grid_->QSort();
      const Texts sorted = dir == TSortDirection::sdAscending ? Texts{"a", "b", "c"} : Texts{"c", "b", "a"};
      const Texts expected = pos == TSortBlankPosition::blFirst ? Texts{"", "", sorted[0], sorted[1], sorted[2]}
                                                                : Texts{sorted[0], sorted[1], sorted[2], "", ""};
      EXPECT_EQ(Column(1), expected);
    }
  }
}

TEST_F(DovAdizSortTest, FixedFooterAndHeaderTextsStayAndTheCurrentRowFollowsOnlyWhenAsked) {
  for (bool follow : {false, true}) {
    SetColumn(1, {"d", "c", "b", "a", "footer"});
    for (int r = 0; r < grid_->RowCount(); ++r) grid_->SetCells(0, r, "h" + std::to_string(r));
    grid_->SetFixedFooters(1);
    grid_->SortSettings().NormalCellsOnly = true;
    grid_->SortSettings().Column = 1;
    grid_->Navigation().MoveRowOnSort = follow;
    grid_->SetRow(1);  // "d"
    grid_->QSort();
    EXPECT_EQ(Column(1), (Texts{"a", "b", "c", "d", "footer"}));
    EXPECT_EQ(Column(0), (Texts{"h1", "h2", "h3", "h4", "h5"}));
    EXPECT_EQ(grid_->Cells(1, grid_->Row()), follow ? "d" : "a");
    grid_->SetFixedFooters(0);
  }
}

TEST_F(DovAdizSortTest, HeaderClicksSortAscendingThenToggle) {
  grid_->SortSettings().Show = true;
  SetColumn(2, {"b", "c", "a"});
  SetColumn(3, {"2", "1", "3"});
  int clicked = -1;
  grid_->OnClickSort = [&](platform::TObject*, int ACol) { clicked = ACol; };
  grid_->ClickSort(2, false);
  EXPECT_EQ(Column(2), (Texts{"a", "b", "c"}));
  EXPECT_EQ(clicked, 2);
  grid_->ClickSort(2, false);
  EXPECT_EQ(Column(2), (Texts{"c", "b", "a"}));
  grid_->ClickSort(3, false);
  EXPECT_EQ(Column(3), (Texts{"1", "2", "3"}));
  EXPECT_EQ(grid_->SortSettings().Direction, TSortDirection::sdAscending);
  grid_->OnCanSort = [](platform::TObject*, int, bool& DoSort) { DoSort = false; };
  grid_->ClickSort(3, false);
  EXPECT_EQ(Column(3), (Texts{"1", "2", "3"}));
}

TEST_F(DovAdizSortTest, IndexedSortNeedsAnIndexAndHonoursEachDirection) {
  SetColumn(1, {"a", "b", "a", "b"});
  SetColumn(2, {"1", "2", "3", "4"});
  const std::vector<RowImage> before = Images();
  EXPECT_THROW(grid_->QSortIndexed(), EDovAdizError);
  EXPECT_EQ(Images(), before);
  grid_->SortIndexes().AddIndex(1, true);
  grid_->SortIndexes().AddIndex(2, false);
  grid_->QSortIndexed();
  EXPECT_EQ(Column(2), (Texts{"3", "1", "4", "2"}));
}

// The model: a stable sort of whole rows by the key column, ties by the following real columns
// up to the last but one, in each style as the grid defines it.
int ModelCompare(const RowImage& a, const RowImage& b, int col, TSortStyle style, int sign, bool blanks,
                 bool blanksLast) {
  const std::string &x = a.texts[col], &y = b.texts[col];
  if (blanks && x.empty() != y.empty()) return (x.empty() == blanksLast) ? 1 : -1;
  auto number = [](const std::string& s, double& v) {
    if (s.empty()) return v = 0, true;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return *end == '\0';
  };
  // dd.mm.yyyy as one increasing number.
  auto date = [](const std::string& s, double& v) {
    int d = 0, m = 0, y = 0;
    char tail = 0;
    if (s.empty()) return v = 0, true;
    if (std::sscanf(s.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &tail) != 3) return false;
    return v = y * 10000 + m * 100 + d, true;
  };
  int r = 0;
  if (style == TSortStyle::ssNumeric || style == TSortStyle::ssDate) {
    const auto value = style == TSortStyle::ssNumeric ? +number : +date;
    double vx = 0, vy = 0;
    const bool nx = value(x, vx), ny = value(y, vy);
    r = nx && ny ? (vx < vy ? -1 : vy < vx) : nx != ny ? (nx ? -1 : 1) : x.compare(y);
  } else if (style == TSortStyle::ssAlphaNoCase) {
    r = platform::UpperCase(x).compare(platform::UpperCase(y));
  } else {
    r = x.compare(y);
  }
  return sign * ((r > 0) - (r < 0));
}

TEST_F(DovAdizSortTest, RandomSortsMatchAStableModelAndKeepRowsWhole) {
  std::mt19937 random(36);
  // Texts alike in their first 8 or 16 bytes or shorter, and -0 beside 0.
  const Texts texts = {"", "", "1", "2", "10", "-3", "1.5", "abc", "Abc", "b", "x y", "abcdefgh", "abcdefgh2",
                       "abcdefgh10", "abcdefghijklmnop", "abcdefghijklmnop1", "abcdefghijklmnoP2", "-0", "0"};
  const Texts dates = {"", "", "03.01.2020", "01.02.2019", "31.12.2019", "01.02.2019", "no date", "abc"};
  platform::FormatSettings().DateSeparator = '.';
  platform::FormatSettings().ShortDateFormat = "dd.mm.yyyy";
  for (int round = 0; round < 64; ++round) {
    const auto style = std::array{TSortStyle::ssNumeric, TSortStyle::ssAlphabetic, TSortStyle::ssAlphaNoCase,
                                  TSortStyle::ssDate}[round % 4];
    const Texts& pool = style == TSortStyle::ssDate ? dates : texts;
    const int sign = round / 4 % 2 == 0 ? 1 : -1;
    const bool full = round / 8 % 2 == 0, blanks = round / 16 % 2 == 0, blanksLast = round / 32 % 2 == 0;
    const int rows = 2 + static_cast<int>(random() % 60);
    // Without property objects the sort reads the store directly.
    const bool colours = random() % 2 == 0;
    grid_->UnHideColumnsAll();
    grid_->SetColCount(6);
    grid_->SetRowCount(rows + 2);
    grid_->SetFixedFooters(1);
    for (int r = 0; r < grid_->RowCount(); ++r) {
      grid_->SetCells(0, r, "r" + std::to_string(r));
      for (int c = 1; c < 6; ++c) grid_->SetCells(c, r, pool[random() % pool.size()]);
      if (colours) grid_->SetColors(2, r, random() % 3 == 0 ? clRed : platform::clNone);
      grid_->SetRowHeights(r, 18 + static_cast<int>(random() % 5));
      grid_->SetRowSelect(r, random() % 4 == 0);
    }
    grid_->HideColumn(4);  // moves with its rows all the same
    UseStyle(style);
    grid_->SortSettings().Column = 1 + static_cast<int>(random() % 3);
    grid_->SortSettings().Direction = sign > 0 ? TSortDirection::sdAscending : TSortDirection::sdDescending;
    grid_->SortSettings().Full = full;
    grid_->SortSettings().IgnoreBlanks = blanks;
    grid_->SortSettings().BlankPos = blanksLast ? TSortBlankPosition::blLast : TSortBlankPosition::blFirst;
    grid_->Navigation().MoveRowOnSort = true;
    const int current = 1 + static_cast<int>(random() % rows);
    grid_->SetRow(current);

    const std::vector<RowImage> before = Images();
    std::vector<RowImage> expected = before;
    const int key = grid_->SortSettings().Column, lastTie = RealCols() - 2;
    std::stable_sort(expected.begin() + 1, expected.end() - 1, [&](const RowImage& a, const RowImage& b) {
      for (int c = key; c == key || (full && c <= lastTie); ++c)
        if (const int r = ModelCompare(a, b, c, style, sign, blanks, blanksLast)) return r < 0;
      return false;
    });
    grid_->QSort();
    ASSERT_EQ(Images(), expected) << "round " << round;
    for (int r = 0; r < grid_->RowCount(); ++r)
      ASSERT_EQ(Image(r), before[grid_->sortXRef_.GetInteger(r)]) << "cross-reference, round " << round;
    EXPECT_EQ(grid_->Cells(0, grid_->Row()), before[current].texts[0]) << "round " << round;
    EXPECT_FALSE(grid_->GetLockFlag());
  }
}

TEST_F(DovAdizSortTest, SortByColumnIsStableOnItsColumnAlone) {
  SetColumn(1, {"b", "a", "b", "a"});
  SetColumn(2, {"4", "3", "2", "1"});
  grid_->SortByColumn(1);
  EXPECT_EQ(Column(2), (Texts{"3", "1", "4", "2"}));
}

// Rows that tie on their key and on every following column cost about one comparison a row, however
// many share a key, and keep their order.
TEST_F(DovAdizSortTest, RowsTiedOnEveryColumnCostAboutOneComparisonARow) {
  const int rows = 4096;
  grid_->SetColCount(6);
  grid_->SetRowCount(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    grid_->SetCells(1, r, std::to_string(r % 2) + ".5");
    grid_->SetCells(5, r, std::to_string(r));  // past the last column that ties compare
  }
  grid_->SortSettings().Column = 1;
  const int columns = grid_->StorageColCount() - 2;  // the key column and the ties' columns after it
  const int before = grid_->SortCompares();
  grid_->QSort();
  EXPECT_LE(grid_->SortCompares() - before, 2 * rows * columns);
  EXPECT_EQ(grid_->Cells(1, 1), "0.5");
  EXPECT_EQ(grid_->Cells(1, rows), "1.5");
  for (int r = 2; r <= rows; ++r) {
    if (grid_->Cells(1, r) == grid_->Cells(1, r - 1)) {
      ASSERT_LT(std::stoi(grid_->Cells(5, r - 1)), std::stoi(grid_->Cells(5, r))) << "row " << r;
    }
  }
}

TEST_F(DovAdizSortTest, EveryStyleIsATotalOrder) {
  std::mt19937 random(7);
  const Texts pool = {"", "1", "-2.5", "10", "abc", "ABC", "01.02.2020", "3/4/2021", "<b>x</b>", "1,000", "zz"};
  grid_->SetRowCount(40);
  for (int r = 0; r < 40; ++r) grid_->SetCells(1, r, pool[random() % pool.size()]);
  for (int s = 0; s <= static_cast<int>(TSortStyle::ssImages); ++s) {
    UseStyle(static_cast<TSortStyle>(s));
    for (int i = 0; i < 300; ++i) {
      const int a = 1 + random() % 39, b = 1 + random() % 39, c = 1 + random() % 39;
      const int ab = grid_->Compare(1, a, b);
      ASSERT_EQ(ab, -grid_->Compare(1, b, a)) << "style " << s;
      if (ab <= 0 && grid_->Compare(1, b, c) <= 0) {
        ASSERT_LE(grid_->Compare(1, a, c), 0) << "style " << s;
      }
    }
  }
}

TEST_F(DovAdizSortTest, InconsistentOrRaisingComparisonsLoseNoRow) {
  grid_->SetRowCount(300);
  for (int r = 1; r < 300; ++r) grid_->SetCells(1, r, std::to_string(r % 17));
  UseStyle(TSortStyle::ssCustom);
  std::mt19937 random(1);
  grid_->OnCustomCompare = [&](platform::TObject*, const std::string&, const std::string&, int& Res) {
    Res = static_cast<int>(random() % 3) - 1;
  };
  std::vector<RowImage> before = Images();
  grid_->QSort();
  std::vector<RowImage> after = Images();
  auto byTexts = [](const RowImage& a, const RowImage& b) { return a.texts < b.texts; };
  std::sort(before.begin(), before.end(), byTexts);
  std::sort(after.begin(), after.end(), byTexts);
  EXPECT_EQ(after, before);

  int calls = 0;
  grid_->OnCustomCompare = [&](platform::TObject*, const std::string&, const std::string&, int&) {
    if (++calls == 500) throw platform::Exception("refused");
  };
  before = Images();
  EXPECT_THROW(grid_->QSort(), platform::Exception);
  EXPECT_EQ(Images(), before);
  EXPECT_FALSE(grid_->GetLockFlag());
  EXPECT_EQ(grid_->RowCount(), 300);
  EXPECT_EQ(grid_->ColCount(), 5);
}

TEST_F(DovAdizSortTest, ImagesSortByTheirIndexAfterCellsWithout) {
  auto* images = new platform::TImageList(form_.get());
  grid_->SetGridImages(images);
  SetColumn(1, {"c", "a", "none", "b"});
  const int indices[] = {7, 2, -1, 5};
  for (int r = 1; r <= 4; ++r)
    if (indices[r - 1] >= 0) grid_->AddImageIdx(1, r, indices[r - 1], TCellHAlign::haLeft, TCellVAlign::vaTop);
  UseStyle(TSortStyle::ssImages);
  grid_->QSort();
  EXPECT_EQ(Column(1), (Texts{"none", "a", "b", "c"}));
  int index = -1;
  EXPECT_TRUE(grid_->GetImageIdx(1, 4, index));
  EXPECT_EQ(index, 7);
}

// The order is applied in one step; the swaps counted are those of its cycles.
TEST_F(DovAdizSortTest, BlocksInOneRowMoveWithItAndTallerOnesAreSplit) {
  SetColumn(1, {"c", "a", "d", "b"});
  grid_->MergeCells(2, 1, 2, 1);  // within row "c"
  grid_->MergeCells(2, 3, 2, 2);  // over rows "d" and "b"
  grid_->SortSettings().Column = 1;
  const int swaps = grid_->SortSwaps();
  grid_->QSort();
  EXPECT_EQ(Column(1), (Texts{"a", "b", "c", "d"}));
  EXPECT_EQ(grid_->SortSwaps() - swaps, 3);  // one cycle of four rows
  EXPECT_EQ(grid_->FullCell(3, 3), platform::TRect(2, 3, 3, 3));
  for (int r : {1, 2, 4}) EXPECT_FALSE(grid_->IsMergedCell(2, r)) << r;
}

TEST_F(DovAdizSortTest, HiddenRowsKeepTheirPlace) {
  SetColumn(1, {"c", "b", "hidden", "a"});
  grid_->HideRow(3);
  grid_->QSort();
  EXPECT_EQ(Column(1), (Texts{"a", "b", "c"}));
  grid_->UnHideRowsAll();
  EXPECT_EQ(grid_->Cells(1, 3), "hidden");
}

}  // namespace
}  // namespace velmora::testing

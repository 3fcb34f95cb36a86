#include <climits>
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

TEST_F(CellGraphicsTest, CheckBoxToggleTable) {
  struct Case {
    const char* name;
    bool data;
    bool state;         // a plain check box's state
    const char* text;   // a data check box's text
    bool trueIsX;       // OnGetCheckTrue makes "X" the true text
    bool readOnly;      // GetCellReadOnly refuses
    bool ask;
    bool toggled;
    bool stateAfter;
    const char* textAfter;
  };
  const Case cases[] = {
      {"plain on", false, true, "", false, false, true, true, false, ""},
      {"plain off", false, false, "", false, false, true, true, true, ""},
      {"data Y", true, false, "Y", false, false, true, true, false, "N"},
      {"data other text", true, false, "maybe", false, false, true, true, true, "Y"},
      {"data empty", true, false, "", false, false, true, true, true, "Y"},
      {"data with handler", true, false, "X", true, false, true, true, false, "N"},
      {"data Y with handler", true, false, "Y", true, false, true, true, true, "X"},
      {"read-only asked", false, true, "", false, true, true, false, true, ""},
      {"read-only not asked", false, true, "", false, true, false, true, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->OnGetCheckTrue = nullptr;
    grid_->OnCanEditCell = nullptr;
    if (c.trueIsX) grid_->OnGetCheckTrue = [](platform::TObject*, int, int, std::string& v) { v = "X"; };
    if (c.readOnly) grid_->OnCanEditCell = [](platform::TObject*, int, int, bool& can) { can = false; };
    grid_->SetCells(1, 1, c.text);
    grid_->AddCheckBox(1, 1, c.state, c.data);
    EXPECT_EQ(grid_->ToggleCheck(1, 1, c.ask), c.toggled);
    bool state = !c.stateAfter;
    EXPECT_TRUE(grid_->GetCheckBoxState(1, 1, state));
    EXPECT_EQ(state, c.stateAfter);
    if (c.data) {
      EXPECT_EQ(grid_->Cells(1, 1), c.textAfter);
    }
  }
}

TEST_F(CellGraphicsTest, CheckBoxKindsAndQueries) {
  bool state = false;
  grid_->CreateBitmap(2, 2, false, TCellHAlign::haLeft, TCellVAlign::vaTop);
  EXPECT_FALSE(grid_->GetCheckBoxState(2, 2, state));
  EXPECT_FALSE(grid_->ToggleCheckBox(2, 2));
  grid_->SetVAlignment(TVAlignment::vtaBottom);
  grid_->AddCheckBox(1, 1, false, true);
  const TCellGraphic* box = grid_->GetCellGraphic(1, 1);
  EXPECT_EQ(box->HAlign, TCellHAlign::haBeforeText);
  EXPECT_EQ(box->VAlign, TCellVAlign::vaBottom);
  EXPECT_TRUE(box->Transparent);
  EXPECT_TRUE(grid_->HasCheckBox(1, 1) && grid_->HasDataCheckBox(1, 1) && grid_->HasStaticEdit(1, 1));
  // The queries of a merged block look at its base cell.
  grid_->MergeCells(1, 1, 2, 2);
  EXPECT_TRUE(grid_->HasCheckBox(2, 2));
  grid_->SplitCells(1, 1);
  EXPECT_TRUE(grid_->RemoveCheckBox(1, 1));
  EXPECT_FALSE(grid_->HasStaticEdit(1, 1));
}

TEST_F(CellGraphicsTest, RadioStepping) {
  platform::TStringList items;
  items.Add("a"), items.Add("b"), items.Add("c");
  // A stored index steps and wraps; the cell text follows.
  grid_->AddRadio(1, 1, 0, 1, &items);
  std::vector<int> seen;
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(grid_->ToggleRadio(1, 1, true));
    int index = -9;
    grid_->GetRadioIdx(1, 1, index);
    seen.push_back(index);
  }
  EXPECT_EQ(seen, (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(grid_->Cells(1, 1), "b");
  // A negative index follows the cell text.
  grid_->SetCells(2, 1, "c");
  grid_->AddRadio(2, 1, 1, -1, &items);
  EXPECT_TRUE(grid_->ToggleRadio(2, 1, false));
  EXPECT_EQ(grid_->Cells(2, 1), "a");
  EXPECT_TRUE(grid_->GetCellGraphic(2, 1)->State);
  // Strings that shrank below the index start again at the first.
  EXPECT_TRUE(grid_->SetRadioIdx(1, 1, 2));
  items.Delete(2);
  EXPECT_TRUE(grid_->ToggleRadio(1, 1, false));
  EXPECT_EQ(grid_->Cells(1, 1), "a");
  // No strings: nothing.
  platform::TStringList* made = grid_->CreateRadio(3, 1, 0, 0);
  grid_->SetCells(3, 1, "keep");
  EXPECT_FALSE(grid_->ToggleRadio(3, 1, false));
  EXPECT_EQ(grid_->Cells(3, 1), "keep");
  made->Add("x");
  EXPECT_TRUE(grid_->ToggleRadio(3, 1, false));
  EXPECT_EQ(grid_->Cells(3, 1), "x");
  EXPECT_EQ(grid_->GetRadioStrings(3, 1), made);
  EXPECT_FALSE(grid_->SetRadioIdx(4, 1, 0));
  EXPECT_TRUE(grid_->RemoveRadio(1, 1));
  EXPECT_EQ(items.Count(), 2);
  // The borrowed items go before the grid paints again.
  EXPECT_TRUE(grid_->RemoveRadio(2, 1));
}

TEST_F(CellGraphicsTest, NodeCountFollowsEveryWayANodeGoes) {
  grid_->SetCol(0);
  grid_->AddNode(1, 2);
  EXPECT_EQ(grid_->Col(), 1);
  grid_->AddNode(1, 3);
  EXPECT_EQ(grid_->NodeCount(), 1);
  EXPECT_EQ(grid_->GetNodeSpan(1), 3);
  grid_->AddNode(4, 0);
  EXPECT_EQ(grid_->NodeCount(), 2);
  EXPECT_TRUE(grid_->RemoveNode(4));
  EXPECT_FALSE(grid_->RemoveNode(4));
  EXPECT_EQ(grid_->NodeCount(), 1);
  grid_->RemoveRows(1, 1);
  EXPECT_EQ(grid_->NodeCount(), 0);
  EXPECT_FALSE(grid_->HasNodes());
  grid_->AddNode(2, 0);
  grid_->HideRow(2);
  grid_->Clear();
  EXPECT_FALSE(grid_->HasNodes());
  EXPECT_EQ(grid_->GetNodeSpan(1), -1);
}

TEST_F(CellGraphicsTest, SpanTypesAndIndentOfTwoNodes) {
  grid_->SetRowCount(8);
  grid_->AddNode(2, 2);  // rows 3, 4
  grid_->AddNode(5, 0);  // rows 6, 7
  const int types[] = {0, 0, 0, 2, 1, 0, 2, 1};
  const int indents[] = {0, 0, 0, 16, 16, 0, 16, 16};
  for (int r = 0; r < 8; ++r) {
    SCOPED_TRACE(r);
    EXPECT_EQ(grid_->GetNodeSpanType(r), types[r]);
    EXPECT_EQ(grid_->NodeIndent(r), indents[r]);
  }
}

// Rows 1..8 under an outer node at 1, with an inner node at 3 holding 4 and 5; a footer row below.
TEST_F(CellGraphicsTest, NestedContractAndExpandRestoreTheExactRows) {
  grid_->SetRowCount(11);
  grid_->SetFixedFooters(1);
  for (int r = 0; r < 11; ++r) grid_->SetCells(1, r, "r" + std::to_string(r));
  grid_->AddNode(1, 20);
  grid_->AddNode(3, 2);
  const auto texts = [&] {
    std::string all;
    for (int r = 0; r < grid_->RowCount(); ++r) all += grid_->Cells(1, r) + " ";
    return all;
  };
  const std::string original = texts();
  grid_->ContractNode(3);
  EXPECT_EQ(texts(), "r0 r1 r2 r3 r6 r7 r8 r9 r10 ");
  // The outer span is clamped before the footer row.
  grid_->ContractNode(1);
  EXPECT_EQ(texts(), "r0 r1 r10 ");
  grid_->ExpandNode(1);
  EXPECT_EQ(texts(), "r0 r1 r2 r3 r6 r7 r8 r9 r10 ");
  EXPECT_TRUE(grid_->GetNodeState(grid_->DisplRowIndex(3)));
  grid_->ContractAll();
  EXPECT_EQ(texts(), "r0 r1 r10 ");
  grid_->ExpandAll();
  EXPECT_EQ(texts(), original);
  EXPECT_EQ(grid_->NumHiddenRows(), 0);
}

TEST_F(CellGraphicsTest, RotatedAnglesAreBroughtIntoOneTurn) {
  const std::pair<int, int> cases[] = {{-90, 270}, {725, 5}, {360, 360}, {720, 360}, {-360, 0},
                                       {INT_MIN, 232}, {INT_MAX, 127}, {0, 0}};
  for (const auto& [angle, stored] : cases) {
    SCOPED_TRACE(angle);
    grid_->AddRotated(1, 1, angle, "turned");
    int got = -1;
    EXPECT_TRUE(grid_->IsRotated(1, 1, got));
    EXPECT_EQ(got, stored);
  }
  EXPECT_EQ(grid_->Cells(1, 1), "turned");
}

TEST_F(CellGraphicsTest, PictureSizeOverTheStretchModes) {
  using M = TStretchMode;
  struct Case {
    M mode;
    int cellW, cellH, w, h, padding;
    platform::TPoint size;
  };
  const Case cases[] = {
      {M::noStretch, 50, 40, 100, 20, 0, {100, 20}},  {M::Stretch, 50, 40, 100, 20, 10, {40, 30}},
      {M::StretchWithAspectRatio, 50, 40, 100, 20, 0, {50, 10}},
      {M::StretchWithAspectRatio, 100, 20, 10, 10, 0, {20, 20}},
      {M::Shrink, 50, 40, 20, 20, 0, {20, 20}},       {M::Shrink, 50, 40, 100, 20, 0, {50, 40}},
      {M::ShrinkWithAspectRatio, 50, 40, 20, 20, 0, {20, 20}},
      {M::ShrinkWithAspectRatio, 50, 40, 100, 20, 0, {50, 10}},
      // Padding larger than the cell leaves no room.
      {M::noStretch, 10, 10, 8, 8, 30, {8, 8}},       {M::Stretch, 10, 10, 8, 8, 30, {0, 0}},
      {M::StretchWithAspectRatio, 10, 10, 8, 8, 30, {0, 0}}, {M::Shrink, 10, 10, 8, 8, 30, {0, 0}},
      {M::ShrinkWithAspectRatio, 10, 10, 8, 8, 30, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(c.mode) << " padding " << c.padding);
    EXPECT_EQ(VUraRazuduVova::GetPictureSize(c.cellW, c.cellH, c.w, c.h, c.padding, c.mode), c.size);
  }
}

TEST_F(CellGraphicsTest, ButtonsCommentsProgressAndMarkers) {
  {
    TBitmap glyph(4, 3);
    grid_->AddBitButton(1, 1, 30, 12, "Go", glyph, TCellHAlign::haLeft, TCellVAlign::vaTop);
  }
  const TCellGraphic* button = grid_->GetCellGraphic(1, 1);
  EXPECT_EQ(button->Bitmap.Get()->Width(), 4);
  EXPECT_TRUE(grid_->HasButton(1, 1));
  grid_->GetCellGraphic(1, 1)->ButtonPos = {-5, 2};
  const platform::TRect cell = grid_->GetCellRect(1, 1);
  EXPECT_EQ(grid_->ButtonRect(1, 1), (platform::TRect{cell.Left - 5, cell.Top + 2, cell.Left + 25, cell.Top + 14}));
  grid_->PushButton(1, 1, true);
  EXPECT_TRUE(button->State);
  EXPECT_TRUE(grid_->RemoveButton(1, 1));

  grid_->AddComment(2, 1, "two\nlines");
  std::string comment;
  EXPECT_TRUE(grid_->IsComment(2, 1, comment));
  EXPECT_EQ(comment, "two\r\nlines");

  grid_->AddProgress(3, 1, platform::clRed, platform::clBlue);
  EXPECT_EQ(grid_->GetCellGraphic(3, 1)->Progress.Background, platform::clBlue);
  EXPECT_FALSE(grid_->GetCellGraphic(3, 1)->State);

  uint16_t m1 = 9, m2 = 9;
  grid_->AddMarker(3, 1, 1, 2);
  grid_->AddMarker(4, 1, 3, 4);
  grid_->RemoveMarker(3, 1);
  EXPECT_EQ(grid_->GetCellType(3, 1), TCellType::ctProgress);
  grid_->GetMarker(3, 1, m1, m2);
  EXPECT_EQ(m1 + m2, 0);
  grid_->RemoveMarker(4, 1);
  EXPECT_EQ(grid_->GetCellGraphic(4, 1), nullptr);
  // Image kinds need the grid's image list.
  grid_->AddImageIdx(4, 2, 1, TCellHAlign::haLeft, TCellVAlign::vaTop);
  EXPECT_EQ(grid_->GetCellType(4, 2), TCellType::ctEmpty);
}

}  // namespace
}  // namespace velmora::testing

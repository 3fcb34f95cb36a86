// Pictures of the grid's looks for a person to look at (artefacts/grid/paint_*.png): each shows
// several small grids on one form, in a real face, so a person can read them. The tests check only
// what holds in any face; the pixel tests with exact numbers are DovAdizPaintTest.cpp.

#include <string>

#include "grid/tests/GridPaintFixture.h"

namespace velmora::testing {
namespace {

using platform::RGB;
using platform::TRect;

class PaintPicturesTest : public GridPaintTest {
protected:
  void SetUp() override {
    GridPaintTest::SetUp();
    delete grid_;
    grid_ = nullptr;
    form_->SetBounds(100, 100, 820, 420);
    Settle();
  }
  // A grid of 5 x 7 (one fixed row and column) with host data, at the given place on the form.
  TTestDovAdiz* Place(int left, int top, int width = 260, int height = 130) {
    auto* grid = new TTestDovAdiz(form_.get());
    grid->SetParent(form_.get());
    grid->SetBounds(left, top, width, height);
    grid->Font().SetName("Arial");
    grid->Font().SetSize(8);
    grid->FixedFont().SetName("Arial");
    grid->FixedFont().SetSize(8);
    grid->SetColCount(5);
    grid->SetRowCount(7);
    grid->SetDefaultRowHeight(18);
    grid->SetColWidths(0, 24);
    grid->SetColWidths(1, 78);
    const char* heads[] = {"", "Host", "State", "Time", "Watch"};
    const char* hosts[] = {"router", "printer", "storage", "backup", "camera", "switch"};
    const char* states[] = {"up", "down", "up", "up", "down", "up"};
    for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, heads[c]);
    for (int r = 1; r < 7; ++r) {
      grid->SetCells(0, r, std::to_string(r));
      grid->SetCells(1, r, hosts[r - 1]);
      grid->SetCells(2, r, states[r - 1]);
      grid->SetCells(3, r, std::to_string(r * 3) + " ms");
      grid->SetCells(4, r, r % 2 ? "on" : "off");
    }
    return grid;
  }
};

TEST_F(PaintPicturesTest, LooksFlatAndRaised) {
  int i = 0;
  for (TGridLook look : {TGridLook::glSoft, TGridLook::glStandard}) {
    for (bool flat : {false, true}) {
      TTestDovAdiz* grid = Place(10 + (i % 2) * 400, 10 + (i / 2) * 200, 380, 150);
      grid->Look = look;
      grid->SetFlat(flat);
      grid->Bands().SetActive(i == 3);
      ++i;
    }
  }
  SaveArtefact("paint_looks");
}

TEST_F(PaintPicturesTest, Selections) {
  TTestDovAdiz* focused = Place(10, 10);
  focused->SetSelection({1, 2, 3, 4});
  TTestDovAdiz* unfocused = Place(280, 10);
  unfocused->SetSelection({1, 2, 3, 4});
  TTestDovAdiz* hidden = Place(550, 10);
  hidden->SetShowSelection(false);
  hidden->SetSelection({1, 2, 3, 4});
  TTestDovAdiz* rectangle = Place(10, 150);
  rectangle->SetSelectionRectangle(true);
  rectangle->SetSelection({1, 2, 3, 4});
  TTestDovAdiz* disjunct = Place(280, 150);
  disjunct->MouseActions().DisjunctRowSelect = true;
  disjunct->SetRowSelect(2, true);
  disjunct->SetRowSelect(4, true);
  disjunct->SetRowSelect(5, true);
  TTestDovAdiz* pending = Place(550, 150);
  pending->FocusCell(2, 3, true);
  pending->EditPending = true;
  pending->SetGridLineColor(RGB(200, 0, 0));
  focused->SetFocus();
  Settle();
  EXPECT_EQ(PixelOf(*focused, focused->CellRect(1, 2).Left + 2, focused->CellRect(1, 2).Bottom - 3),
            platform::ColorToRGB(platform::clHighlight));
  EXPECT_EQ(PixelOf(*hidden, hidden->CellRect(1, 2).Left + 2, hidden->CellRect(1, 2).Bottom - 3),
            platform::ColorToRGB(hidden->Color()));
  SaveArtefact("paint_selections");
}

TEST_F(PaintPicturesTest, BackgroundsBandsAndMergedBlocks) {
  platform::TBitmap tile(24, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      tile.Canvas().SetPixels(x, y, (x / 12 + y / 12) % 2 ? RGB(230, 240, 255) : RGB(255, 250, 225));
  TTestDovAdiz* tiled = Place(10, 10, 260, 180);
  tiled->SetRowCount(30);
  for (int r = 7; r < 30; ++r) {
    tiled->SetCells(0, r, std::to_string(r));
    tiled->SetCells(2, r, r % 4 ? "up" : "down");
    tiled->SetCells(3, r, std::to_string(r * 3) + " ms");
  }
  tiled->BackGround().SetBitmap(tile);
  tiled->SetTopRow(5);
  tiled->SetLeftCol(2);
  TTestDovAdiz* fixedBitmap = Place(280, 10, 260, 180);
  fixedBitmap->BackGround().SetDisplay(TBackgroundDisplay::bdFixed);
  fixedBitmap->BackGround().SetLeft(20);
  fixedBitmap->BackGround().SetTop(4);
  fixedBitmap->BackGround().SetBitmap(tile);
  TTestDovAdiz* fixedCells = Place(550, 10, 260, 180);
  fixedCells->BackGround().SetCells(TBackgroundCells::bcFixed);
  fixedCells->BackGround().SetBitmap(tile);
  TTestDovAdiz* banded = Place(10, 200, 260, 180);
  banded->SetRowCount(12);
  banded->SetFixedFooters(1);
  banded->SetFixedRightCols(1);
  banded->Bands().SetActive(true);
  banded->Bands().SetPrimaryLength(2);
  banded->SetCells(1, 11, "Total");
  TTestDovAdiz* merged = Place(280, 200, 260, 180);
  merged->SetRowCount(20);
  merged->SetCells(1, 2, "a block of 2 x 6");
  merged->MergeCells(1, 2, 2, 6);
  merged->GetCellProperties(1, 2)->SetBrushColor(RGB(255, 255, 200));
  merged->SetCells(0, 0, "merged");
  merged->SetTopRow(4);
  TTestDovAdiz* borders = Place(550, 200, 260, 180);
  borders->OnGetCellBorder = [](platform::TObject*, int ARow, int ACol, platform::TPen& APen, TCellBorders& B) {
    if (ARow == 3 && ACol >= 1 && ACol <= 3) {
      B = {TCellBorder::cbTop, TCellBorder::cbBottom};
      APen.SetColor(platform::clBlue);
      APen.SetWidth(2);
    }
  };
  SaveArtefact("paint_backgrounds");
}

TEST_F(PaintPicturesTest, SortIndicatorsURLsRichTextAndRotatedText) {
  TTestDovAdiz* plain = Place(10, 10);
  plain->SortSettings().Show = true;
  plain->SortSettings().Column = 1;
  TTestDovAdiz* down = Place(280, 10);
  down->SortSettings().Show = true;
  down->SortSettings().Column = 2;
  down->SortSettings().Direction = TSortDirection::sdDescending;
  down->SetCells(2, 0, "<b>State</b>");
  TTestDovAdiz* indexed = Place(550, 10);
  indexed->SortSettings().Show = true;
  indexed->SortSettings().IndexShow = true;
  indexed->SortSettings().Column = 1;
  indexed->SortIndexes().AddIndex(1, true);
  indexed->SortIndexes().AddIndex(3, false);
  indexed->OnGetAlignment = [](platform::TObject*, int ARow, int ACol, platform::TAlignment& H, TVAlignment& V) {
    if (ARow == 0) V = TVAlignment::vtaCenter;
    if (ARow == 0 && ACol == 3) H = platform::TAlignment::taRightJustify;
  };
  indexed->SetRowHeights(0, 30);
  TTestDovAdiz* urls = Place(10, 150, 260, 200);
  urls->URLShow = true;
  urls->SetColWidths(1, 120);
  urls->SetCells(1, 1, "http://router.local");
  urls->SetCells(1, 2, "mailto:admin@example.org");
  urls->SetCells(1, 3, "<a href=\"x\">anchor</a> and <i>markup</i>");
  urls->SetCells(1, 4, "=1+2 (formula)");
  urls->SetCells(1, 5, R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red200\green0\blue0;})"
                       R"(\f0\fs16 rich {\b bold} {\cf1 red}\par})");
  urls->SetRowHeights(5, 30);
  TTestDovAdiz* full = Place(280, 150, 260, 200);
  full->URLShow = true;
  full->URLFull = true;
  full->SetColWidths(1, 120);
  full->SetCells(1, 1, "http://router.local");
  full->SetWordWrap(true);
  full->SetRowHeights(2, 40);
  full->SetCells(1, 2, "a text that wraps over two lines");
  full->OnIsPasswordCell = [](platform::TObject*, int ARow, int ACol, bool& P) { P = ARow == 3 && ACol == 1; };
  full->SetCells(1, 3, "secret");
  TTestDovAdiz* rotated = Place(550, 150, 260, 200);
  rotated->SetRowHeights(2, 60);
  rotated->SetCells(2, 2, "rotated");
  rotated->OnGetCellColor = [](platform::TObject*, int ARow, int ACol, platform::TGridDrawState, platform::TBrush&,
                               platform::TFont& F) {
    if (ARow == 2 && ACol == 2) F.SetOrientation(900);
  };
  rotated->OnGetAlignment = [](platform::TObject*, int ARow, int ACol, platform::TAlignment&, TVAlignment& V) {
    if (ARow == 2 && ACol == 2) V = TVAlignment::vtaBottom;
  };
  SaveArtefact("paint_sort_urls_rich");
}

TEST_F(PaintPicturesTest, EveryFooterStyle) {
  int i = 0;
  for (TFooterStyle style :
       {TFooterStyle::fsFixedLastRow, TFooterStyle::fsColumnPreview, TFooterStyle::fsCustomPreview}) {
    TTestDovAdiz* grid = Place(10 + i * 270, 10, 260, 160);
    grid->SetRowCount(8);
    grid->SetCells(1, 7, "6 hosts");
    grid->SetCells(3, 7, "63 ms");
    grid->FocusCell(1, 3, true);
    grid->FloatingFooter().SetFooterStyle(style);
    grid->FloatingFooter().SetColumn(1);
    grid->FloatingFooter().SetCustomTemplate("Host <b><#1></b> is <i><#2></i>, <#3>");
    grid->FloatingFooter().SetVisible(true);
    ++i;
  }
  SaveArtefact("paint_footers");
}

TEST_F(PaintPicturesTest, CellGraphicsBesideTheirText) {
  const TControlStyle styles[] = {TControlStyle::csClassic, TControlStyle::csFlat, TControlStyle::csWinXP,
                                  TControlStyle::csBoxed, TControlStyle::raDUR};
  int i = 0;
  for (TControlStyle style : styles) {
    TTestDovAdiz* grid = Place(10 + (i % 3) * 270, 10 + (i / 3) * 140);
    ++i;
    grid->ControlLook().SetControlStyle(style);
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    grid->OnCanEditCell = [](platform::TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow % 2 == 1 && ARow < 3; };
    grid->AddCheckBox(1, 3, true, false);
    grid->AddCheckBox(1, 4, false, false);
    grid->SetRowHeights(5, 36);
    platform::TStringList* items = grid->CreateRadio(2, 5, 1, 0);
    items->Add("a"), items->Add("b");
    platform::TStringList* across = grid->CreateRadio(3, 5, 0, 1);
    across->Add("x"), across->Add("y");
    grid->SetColWidths(3, 70);
    grid->AddProgress(3, 1, platform::clNavy, platform::clWhite);
    grid->SetCells(3, 1, "37");
    grid->AddProgress(3, 2, platform::clGreen, platform::clWhite);
    grid->SetCells(3, 2, "100");
    grid->AddProgress(3, 3, platform::clNavy, platform::clWhite);
    grid->SetCells(3, 3, "0");
    grid->AddComment(2, 1, "note");
    grid->AddButton(4, 1, 40, 16, "Ping", TCellHAlign::haAfterText, TCellVAlign::vaCenter);
    grid->AddRotated(2, 3, 90, "up");
  }
  TTestDovAdiz* nodes = Place(550, 150);
  nodes->CellNode().SetShowTree(true);
  nodes->AddNode(1, 2);
  nodes->AddNode(4, 0);
  nodes->ContractNode(nodes->RealRowIndex(4));
  nodes->SetColWidths(0, 30);
  SaveArtefact("paint_cell_graphics");
}

// One sheet: each placed graphic kind (a bitmap, a button) in every horizontal place (columns) and
// vertical place (rows) beside the text "ping"; then the kinds that fill their cell, a vertical radio
// group in a row too short for it, and fixed cells as buttons with one held down; then that grid
// panning, with its marker.
TEST_F(PaintPicturesTest, GraphicKindsInEveryPlace) {
  form_->SetBounds(100, 100, 900, 560);
  const TCellHAlign across[] = {TCellHAlign::haLeft, TCellHAlign::haCenter, TCellHAlign::haRight,
                                TCellHAlign::haBeforeText, TCellHAlign::haAfterText};
  const TCellVAlign down[] = {TCellVAlign::vaTop, TCellVAlign::vaCenter, TCellVAlign::vaBottom,
                              TCellVAlign::vaUnderText, TCellVAlign::vaAboveText};
  const char* acrossNames[] = {"left", "center", "right", "before", "after"};
  const char* downNames[] = {"top", "center", "bottom", "under", "above"};
  for (int kind = 0; kind < 2; ++kind) {
    TTestDovAdiz* grid = Place(10 + kind * 440, 10, 430, 6 * 40 + 8);
    grid->SetColCount(6);
    grid->SetRowCount(6);
    grid->SetDefaultRowHeight(40);
    grid->SetColWidths(0, 50);
    for (int c = 1; c < 6; ++c) {
      grid->SetColWidths(c, 74);
      grid->SetCells(c, 0, acrossNames[c - 1]);
    }
    grid->SetRowHeights(0, 18);
    for (int r = 1; r < 6; ++r) {
      grid->SetCells(0, r, downNames[r - 1]);
      for (int c = 1; c < 6; ++c) {
        grid->SetCells(c, r, "ping");
        if (kind == 0) {
          grid->CreateBitmap(c, r, true, across[c - 1], down[r - 1])->LoadFromResourceName("ZGLEAFOPEN");
        } else {
          grid->AddButton(c, r, 26, 14, "Go", across[c - 1], down[r - 1]);
        }
      }
    }
  }
  TTestDovAdiz* whole = Place(10, 270, 640, 130);
  whole->SetColCount(8);
  whole->SetRowCount(3);
  whole->SetDefaultRowHeight(44);
  whole->SetRowHeights(0, 18);
  const char* heads[] = {"", "radios", "across", "short", "progress", "turned", "comment", "check"};
  for (int c = 0; c < 8; ++c) {
    whole->SetCells(c, 0, heads[c]);
    if (c > 0) whole->SetColWidths(c, 76);
  }
  whole->SetRowHeights(2, 22);
  for (int r = 1; r < 3; ++r) {
    platform::TStringList* items = whole->CreateRadio(1, r, 1, 0);
    items->Add("one"), items->Add("two"), items->Add("three");
    platform::TStringList* row = whole->CreateRadio(2, r, 0, 1);
    row->Add("a"), row->Add("b");
    platform::TStringList* spill = whole->CreateRadio(3, r, 2, 0);
    for (const char* item : {"p", "q", "r", "s"}) spill->Add(item);
    whole->AddProgress(4, r, platform::clNavy, platform::clWhite);
    whole->SetCells(4, r, r == 1 ? "40" : "85");
    whole->SetCells(5, r, "up");
    whole->AddRotated(5, r, r == 1 ? 90 : 45, "up");
    whole->SetCells(6, r, "note");
    whole->AddComment(6, r, "a comment");
    whole->AddCheckBox(7, r, r == 1, false);
  }
  TTestDovAdiz* buttons = Place(10, 410, 400, 120);
  buttons->FixedAsButtons = true;
  buttons->SetOptions(buttons->Options() + platform::TGridOption::goFixedVertLine +
                      platform::TGridOption::goFixedHorzLine);
  Settle();
  Input().MouseDown(platform::TMouseButtonKind::Left, buttons->ClientToScreen({24 + 78 + 30, 8}));
  SaveArtefact("paint_graphic_places");
  Input().MouseUp(platform::TMouseButtonKind::Left, buttons->ClientToScreen({24 + 78 + 30, 8}));
  // Panning both ways from the middle of the host column: its marker shows where it began.
  buttons->IntelliPan = TIntelliPan::ipBoth;
  Input().MouseDown(platform::TMouseButtonKind::Middle, buttons->ClientToScreen({60, 50}));
  Input().MouseUp(platform::TMouseButtonKind::Middle, buttons->ClientToScreen({60, 50}));
  SaveArtefact("paint_pan_marker");
  Input().MouseDown(platform::TMouseButtonKind::Middle, buttons->ClientToScreen({60, 50}));
  Input().MouseUp(platform::TMouseButtonKind::Middle, buttons->ClientToScreen({60, 50}));
  Settle();
}

}  // namespace
}  // namespace velmora::testing

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "grid/DovAdizSettings.h"
#include "grid/DovAdizTypes.h"
#include "grid/tests/BaseGridFixture.h"
#include "platform/app/PublishedClasses.h"
#include "platform/core/StrUtils.h"
#include "platform/ui/FormLoader.h"

namespace velmora::testing {
namespace {

using platform::TBitmap;
using platform::TColor;

// An owner with no grid behind it: counts what the settings ask of it.
class FakeOwner : public GridSettingsOwner {
public:
  void InvalidateGrid() override { ++invalidations; }
  int FixedRowCount() const override { return fixedRows; }
  bool LoadingResource() const override { return loading; }
  void StretchRightColumn() override { ++stretches; }

  int invalidations = 0;
  int stretches = 0;
  int fixedRows = 1;
  bool loading = false;
};

// Every settings object, made on one owner as the grid makes them.
struct AllSettings {
  explicit AllSettings(GridSettingsOwner& owner)
      : CellNode(owner), ColumnSize(owner), SortSettings(owner), ControlLook(owner), Bands(owner), BackGround(owner),
        FloatingFooter(owner) {}

  TCellNode CellNode;
  TSizeWhileTyping SizeWhileTyping;
  TMouseActions MouseActions;
  TColumnSize ColumnSize;
  TNavigation Navigation;
  TMarkupSettings HTMLSettings;
  TPrintSettings PrintSettings;
  TSortSettings SortSettings;
  TControlLook ControlLook;
  TBands Bands;
  TBackGround BackGround;
  TFloatingFooter FloatingFooter;
  TDragDropSettings DragDropSettings;
};

// A value as text, so that one table holds flags, numbers, colours, enumerations and strings.
template <class V>
std::string Text(const V& value) {
  if constexpr (std::is_same_v<V, std::string>)
    return '"' + value + '"';
  else
    return std::to_string(static_cast<int64_t>(value));
}

struct Default {
  const char* property;
  std::string actual;
  std::string expected;
};

TEST(GridSettingsTest, StartWithTheirDefaults) {
  FakeOwner owner;
  const AllSettings s(owner);
  const std::string empty = Text(std::string());
  const std::string no = Text(false);
  const std::string yes = Text(true);
  const std::vector<Default> defaults = {
      {"CellNode.Color", Text(s.CellNode.Color), Text(0xC0C0C0)},
      {"CellNode.NodeType", Text(s.CellNode.NodeType()), Text(TNodeType::cnFlat)},
      {"CellNode.NodeColor", Text(s.CellNode.NodeColor), Text(0x000000)},
      {"CellNode.ExpandGlyph empty", Text(s.CellNode.ExpandGlyph().Empty()), yes},
      {"CellNode.ContractGlyph empty", Text(s.CellNode.ContractGlyph().Empty()), yes},
      {"CellNode.ShowTree", Text(s.CellNode.ShowTree()), no},
      {"SizeWhileTyping.Height", Text(s.SizeWhileTyping.Height), no},
      {"SizeWhileTyping.Width", Text(s.SizeWhileTyping.Width), no},
      {"MouseActions.AllColumnSize", Text(s.MouseActions.AllColumnSize), no},
      {"MouseActions.AllRowSize", Text(s.MouseActions.AllRowSize), no},
      {"MouseActions.AllSelect", Text(s.MouseActions.AllSelect), no},
      {"MouseActions.CaretPositioning", Text(s.MouseActions.CaretPositioning), no},
      {"MouseActions.ColSelect", Text(s.MouseActions.ColSelect), no},
      {"MouseActions.DirectComboDrop", Text(s.MouseActions.DirectComboDrop), no},
      {"MouseActions.DirectEdit", Text(s.MouseActions.DirectEdit), no},
      {"MouseActions.DisjunctRowSelect", Text(s.MouseActions.DisjunctRowSelect), no},
      {"MouseActions.RowSelect", Text(s.MouseActions.RowSelect), no},
      {"MouseActions.SizeFixedCol", Text(s.MouseActions.SizeFixedCol), no},
      {"ColumnSize.Save", Text(s.ColumnSize.Save), no},
      {"ColumnSize.Key", Text(s.ColumnSize.Key), empty},
      {"ColumnSize.Section", Text(s.ColumnSize.Section), empty},
      {"ColumnSize.Stretch", Text(s.ColumnSize.Stretch()), no},
      {"ColumnSize.SynchWithGrid", Text(s.ColumnSize.SynchWithGrid), no},
      {"ColumnSize.Location", Text(s.ColumnSize.Location), Text(TColumnSizeLocation::clRegistry)},
      {"Navigation.AllowInsertRow", Text(s.Navigation.AllowInsertRow), no},
      {"Navigation.AllowDeleteRow", Text(s.Navigation.AllowDeleteRow), no},
      {"Navigation.AdvanceOnEnter", Text(s.Navigation.AdvanceOnEnter), no},
      {"Navigation.AdvanceInsert", Text(s.Navigation.AdvanceInsert), no},
      {"Navigation.AutoGotoWhenSorted", Text(s.Navigation.AutoGotoWhenSorted), no},
      {"Navigation.AutoGotoIncremental", Text(s.Navigation.AutoGotoIncremental), no},
      {"Navigation.AutoComboDropSize", Text(s.Navigation.AutoComboDropSize), no},
      {"Navigation.AllowClipboardShortCuts", Text(s.Navigation.AllowClipboardShortCuts), no},
      {"Navigation.AllowSmartClipboard", Text(s.Navigation.AllowSmartClipboard), no},
      {"Navigation.AllowRTFClipboard", Text(s.Navigation.AllowRTFClipboard), no},
      {"Navigation.AllowClipboardAlways", Text(s.Navigation.AllowClipboardAlways), no},
      {"Navigation.AdvanceAuto", Text(s.Navigation.AdvanceAuto), no},
      {"Navigation.CursorWalkEditor", Text(s.Navigation.CursorWalkEditor), no},
      {"Navigation.MoveRowOnSort", Text(s.Navigation.MoveRowOnSort), no},
      {"Navigation.ImproveMaskSel", Text(s.Navigation.ImproveMaskSel), no},
      {"Navigation.AlwaysEdit", Text(s.Navigation.AlwaysEdit), no},
      {"Navigation.LineFeedOnEnter", Text(s.Navigation.LineFeedOnEnter), no},
      {"Navigation.AllowClipboardColGrow", Text(s.Navigation.AllowClipboardColGrow), yes},
      {"Navigation.AllowClipboardRowGrow", Text(s.Navigation.AllowClipboardRowGrow), yes},
      {"Navigation.CopyHTMLTagsToClipboard", Text(s.Navigation.CopyHTMLTagsToClipboard), yes},
      {"Navigation.AdvanceDirection", Text(s.Navigation.AdvanceDirection), Text(TAdvanceDirection::adLeftRight)},
      {"Navigation.InsertPosition", Text(s.Navigation.InsertPosition), Text(TInsertPosition::pInsertBefore)},
      {"Navigation.HomeEndKey", Text(s.Navigation.HomeEndKey), Text(THomeEndAction::heFirstLastColumn)},
      {"HTMLSettings.BorderSize", Text(s.HTMLSettings.BorderSize), Text(1)},
      {"HTMLSettings.CellSpacing", Text(s.HTMLSettings.CellSpacing), Text(0)},
      {"HTMLSettings.CellPadding", Text(s.HTMLSettings.CellPadding), Text(0)},
      {"HTMLSettings.SaveColor", Text(s.HTMLSettings.SaveColor), yes},
      {"HTMLSettings.SaveFonts", Text(s.HTMLSettings.SaveFonts), yes},
      {"HTMLSettings.FooterFile", Text(s.HTMLSettings.FooterFile), empty},
      {"HTMLSettings.HeaderFile", Text(s.HTMLSettings.HeaderFile), empty},
      {"HTMLSettings.TableStyle", Text(s.HTMLSettings.TableStyle), empty},
      {"HTMLSettings.PrefixTag", Text(s.HTMLSettings.PrefixTag), empty},
      {"HTMLSettings.SuffixTag", Text(s.HTMLSettings.SuffixTag), empty},
      {"HTMLSettings.Width", Text(s.HTMLSettings.Width), Text(100)},
      {"HTMLSettings column widths", Text(s.HTMLSettings.ColWidths.Count()), Text(0)},
      {"PrintSettings.PageNumSep", Text(s.PrintSettings.PageNumSep), Text(std::string("/"))},
      {"PrintSettings.DateFormat", Text(s.PrintSettings.DateFormat), Text(std::string("dd/mm/yyyy"))},
      {"PrintSettings.TitleLines", Text(s.PrintSettings.TitleLines().Count()), Text(0)},
      {"PrintSettings.FooterSize", Text(s.PrintSettings.FooterSize), Text(0)},
      {"PrintSettings.HeaderSize", Text(s.PrintSettings.HeaderSize), Text(0)},
      {"PrintSettings.Time", Text(s.PrintSettings.Time), Text(TPrintPosition::ppNone)},
      {"PrintSettings.Date", Text(s.PrintSettings.Date), Text(TPrintPosition::ppNone)},
      {"PrintSettings.PageNr", Text(s.PrintSettings.PageNr), Text(TPrintPosition::ppNone)},
      {"PrintSettings.Title", Text(s.PrintSettings.Title), Text(TPrintPosition::ppNone)},
      {"PrintSettings.TitleText", Text(s.PrintSettings.TitleText), empty},
      {"PrintSettings.Borders", Text(s.PrintSettings.Borders), Text(TPrintBorders::pbNoborder)},
      {"PrintSettings.BorderStyle", Text(s.PrintSettings.BorderStyle), Text(platform::TPenStyle::psSolid)},
      {"PrintSettings.Centered", Text(s.PrintSettings.Centered), no},
      {"PrintSettings.RepeatFixedRows", Text(s.PrintSettings.RepeatFixedRows), no},
      {"PrintSettings.RepeatFixedCols", Text(s.PrintSettings.RepeatFixedCols), no},
      {"PrintSettings.LeftSize", Text(s.PrintSettings.LeftSize), Text(0)},
      {"PrintSettings.RightSize", Text(s.PrintSettings.RightSize), Text(0)},
      {"PrintSettings.ColumnSpacing", Text(s.PrintSettings.ColumnSpacing), Text(0)},
      {"PrintSettings.RowSpacing", Text(s.PrintSettings.RowSpacing), Text(0)},
      {"PrintSettings.TitleSpacing", Text(s.PrintSettings.TitleSpacing), Text(0)},
      {"PrintSettings.Orientation", Text(s.PrintSettings.Orientation), Text(TPrinterOrientation::poPortrait)},
      {"PrintSettings.PagePrefix", Text(s.PrintSettings.PagePrefix), empty},
      {"PrintSettings.PageSuffix", Text(s.PrintSettings.PageSuffix), empty},
      {"PrintSettings.FixedWidth", Text(s.PrintSettings.FixedWidth), Text(0)},
      {"PrintSettings.FixedHeight", Text(s.PrintSettings.FixedHeight), Text(0)},
      {"PrintSettings.UseFixedHeight", Text(s.PrintSettings.UseFixedHeight), no},
      {"PrintSettings.UseFixedWidth", Text(s.PrintSettings.UseFixedWidth), no},
      {"PrintSettings.FitToPage", Text(s.PrintSettings.FitToPage), Text(TFitToPage::fpNever)},
      {"PrintSettings.JobName", Text(s.PrintSettings.JobName), empty},
      {"PrintSettings.NoAutoSize", Text(s.PrintSettings.NoAutoSize), no},
      {"PrintSettings.PrintGraphics", Text(s.PrintSettings.PrintGraphics), no},
      {"SortSettings.Full", Text(s.SortSettings.Full), yes},
      {"SortSettings.AutoFormat", Text(s.SortSettings.AutoFormat), yes},
      {"SortSettings.AutoColumnMerge", Text(s.SortSettings.AutoColumnMerge), no},
      {"SortSettings.Show", Text(s.SortSettings.Show), no},
      {"SortSettings.IndexShow", Text(s.SortSettings.IndexShow), no},
      {"SortSettings.SingleColumn", Text(s.SortSettings.SingleColumn), no},
      {"SortSettings.IgnoreBlanks", Text(s.SortSettings.IgnoreBlanks), no},
      {"SortSettings.FixedCols", Text(s.SortSettings.FixedCols), no},
      {"SortSettings.NormalCellsOnly", Text(s.SortSettings.NormalCellsOnly), no},
      {"SortSettings.Column", Text(s.SortSettings.Column), Text(0)},
      {"SortSettings.Row", Text(s.SortSettings.Row()), Text(0)},
      {"SortSettings.BlankPos", Text(s.SortSettings.BlankPos), Text(TSortBlankPosition::blFirst)},
      {"SortSettings.Direction", Text(s.SortSettings.Direction), Text(TSortDirection::sdAscending)},
      {"SortSettings.UpGlyph empty", Text(s.SortSettings.UpGlyph().Empty()), yes},
      {"SortSettings.DownGlyph empty", Text(s.SortSettings.DownGlyph().Empty()), yes},
      {"ControlLook.CheckSize", Text(s.ControlLook.CheckSize()), Text(15)},
      {"ControlLook.RadioSize", Text(s.ControlLook.RadioSize()), Text(10)},
      {"ControlLook.Color", Text(s.ControlLook.Color()), Text(0x000000)},
      {"ControlLook.ControlStyle", Text(s.ControlLook.ControlStyle()), Text(TControlStyle::csClassic)},
      {"ControlLook.FlatButton", Text(s.ControlLook.FlatButton()), no},
      {"ControlLook.CheckedGlyph empty", Text(s.ControlLook.CheckedGlyph().Empty()), yes},
      {"ControlLook.UnCheckedGlyph empty", Text(s.ControlLook.UnCheckedGlyph().Empty()), yes},
      {"ControlLook.RadioOnGlyph empty", Text(s.ControlLook.RadioOnGlyph().Empty()), yes},
      {"ControlLook.RadioOffGlyph empty", Text(s.ControlLook.RadioOffGlyph().Empty()), yes},
      {"Bands.Active", Text(s.Bands.Active()), no},
      {"Bands.PrimaryColor", Text(s.Bands.PrimaryColor()), Text(0x80000018)},
      {"Bands.PrimaryLength", Text(s.Bands.PrimaryLength()), Text(1)},
      {"Bands.SecondaryColor", Text(s.Bands.SecondaryColor()), Text(0x80000005)},
      {"Bands.SecondaryLength", Text(s.Bands.SecondaryLength()), Text(1)},
      {"Bands.Print", Text(s.Bands.Print), no},
      {"Bands period", Text(s.Bands.Period()), Text(2)},
      {"BackGround.Top", Text(s.BackGround.Top()), Text(0)},
      {"BackGround.Left", Text(s.BackGround.Left()), Text(0)},
      {"BackGround.Display", Text(s.BackGround.Display()), Text(TBackgroundDisplay::bdTile)},
      {"BackGround.Cells", Text(s.BackGround.Cells()), Text(TBackgroundCells::bcNormal)},
      {"BackGround.Bitmap empty", Text(s.BackGround.Bitmap().Empty()), yes},
      {"FloatingFooter.Visible", Text(s.FloatingFooter.Visible()), no},
      {"FloatingFooter.FooterStyle", Text(s.FloatingFooter.FooterStyle()), Text(TFooterStyle::fsFixedLastRow)},
      {"FloatingFooter.Column", Text(s.FloatingFooter.Column()), Text(0)},
      {"FloatingFooter.Color", Text(s.FloatingFooter.Color()), Text(0x8000000F)},
      {"FloatingFooter.CustomTemplate", Text(s.FloatingFooter.CustomTemplate()), empty},
      {"FloatingFooter height", Text(s.FloatingFooter.Height()), Text(21)},
      {"DragDropSettings.OleAcceptFiles", Text(s.DragDropSettings.OleAcceptFiles), no},
      {"DragDropSettings.OleAcceptText", Text(s.DragDropSettings.OleAcceptText), no},
      {"DragDropSettings.OleDropTarget", Text(s.DragDropSettings.OleDropTarget), no},
      {"DragDropSettings.OleDropSource", Text(s.DragDropSettings.OleDropSource), no},
      {"DragDropSettings.OleEntireRows", Text(s.DragDropSettings.OleEntireRows), no},
      {"DragDropSettings.OleInsertRows", Text(s.DragDropSettings.OleInsertRows), no},
      {"DragDropSettings.OleRemoveRows", Text(s.DragDropSettings.OleRemoveRows), no},
      {"DragDropSettings.OleDropRTF", Text(s.DragDropSettings.OleDropRTF), no},
  };
  for (const Default& d : defaults) EXPECT_EQ(d.actual, d.expected) << d.property;
  EXPECT_EQ(owner.invalidations, 0);
  EXPECT_EQ(owner.stretches, 0);
}

// The settings of a base grid on a shown form: invalidating reaches the real window.
class GridOwner : public GridSettingsOwner {
public:
  explicit GridOwner(TBaseGrid& grid) : grid_(grid) {}
  void InvalidateGrid() override { grid_.Invalidate(); }
  int FixedRowCount() const override { return grid_.FixedRows(); }
  bool LoadingResource() const override { return grid_.ComponentState().Contains(platform::csLoading); }
  void StretchRightColumn() override { ++stretches; }

  int stretches = 0;

private:
  TBaseGrid& grid_;
};

class GridSettingsPaintTest : public BaseGridTest {
protected:
  void SetUp() override {
    BaseGridTest::SetUp();
    owner_ = std::make_unique<GridOwner>(*grid_);
    settings_ = std::make_unique<AllSettings>(*owner_);
  }

  // Whether the change made the grid paint again.
  bool Paints(const std::function<void(AllSettings&)>& change) {
    Settle();
    const uint32_t before = grid_->PaintCounter();
    change(*settings_);
    Settle();
    return grid_->PaintCounter() != before;
  }

  std::unique_ptr<GridOwner> owner_;
  std::unique_ptr<AllSettings> settings_;
};

TBitmap Glyph() { return TBitmap(2, 2); }

TEST_F(GridSettingsPaintTest, SettersRepaintTheGridOrOnlyStore) {
  struct Case {
    const char* setter;
    std::function<void(AllSettings&)> change;
    bool paints;
  };
  const std::vector<Case> cases = {
      {"CellNode.NodeType changed", [](AllSettings& s) { s.CellNode.SetNodeType(TNodeType::cn3D); }, true},
      {"CellNode.NodeType same", [](AllSettings& s) { s.CellNode.SetNodeType(TNodeType::cn3D); }, false},
      {"CellNode.ShowTree changed", [](AllSettings& s) { s.CellNode.SetShowTree(true); }, true},
      {"CellNode.ShowTree same", [](AllSettings& s) { s.CellNode.SetShowTree(true); }, false},
      {"CellNode.ExpandGlyph", [](AllSettings& s) { s.CellNode.SetExpandGlyph(Glyph()); }, false},
      {"CellNode.ContractGlyph", [](AllSettings& s) { s.CellNode.SetContractGlyph(Glyph()); }, false},
      {"ColumnSize.Stretch", [](AllSettings& s) { s.ColumnSize.SetStretch(true); }, false},
      {"SortSettings.Row", [](AllSettings& s) { s.SortSettings.SetRow(1); }, false},
      {"SortSettings.UpGlyph", [](AllSettings& s) { s.SortSettings.SetUpGlyph(Glyph()); }, false},
      {"SortSettings.DownGlyph", [](AllSettings& s) { s.SortSettings.SetDownGlyph(Glyph()); }, false},
      {"PrintSettings.Font", [](AllSettings& s) { s.PrintSettings.SetFont(platform::TFont()); }, false},
      {"PrintSettings.TitleLines", [](AllSettings& s) { s.PrintSettings.SetTitleLines(platform::TStringList()); }, false},
      {"ControlLook.CheckSize", [](AllSettings& s) { s.ControlLook.SetCheckSize(15); }, true},
      {"ControlLook.RadioSize", [](AllSettings& s) { s.ControlLook.SetRadioSize(12); }, true},
      {"ControlLook.Color", [](AllSettings& s) { s.ControlLook.SetColor(platform::clRed); }, true},
      {"ControlLook.ControlStyle", [](AllSettings& s) { s.ControlLook.SetControlStyle(TControlStyle::csFlat); }, true},
      {"ControlLook.FlatButton", [](AllSettings& s) { s.ControlLook.SetFlatButton(false); }, true},
      {"ControlLook.CheckedGlyph", [](AllSettings& s) { s.ControlLook.SetCheckedGlyph(Glyph()); }, true},
      {"ControlLook.UnCheckedGlyph", [](AllSettings& s) { s.ControlLook.SetUnCheckedGlyph(Glyph()); }, true},
      {"ControlLook.RadioOnGlyph", [](AllSettings& s) { s.ControlLook.SetRadioOnGlyph(Glyph()); }, true},
      {"ControlLook.RadioOffGlyph", [](AllSettings& s) { s.ControlLook.SetRadioOffGlyph(Glyph()); }, true},
      {"Bands.PrimaryColor inactive", [](AllSettings& s) { s.Bands.SetPrimaryColor(platform::clRed); }, false},
      {"Bands.PrimaryLength inactive", [](AllSettings& s) { s.Bands.SetPrimaryLength(2); }, false},
      {"Bands.SecondaryColor inactive", [](AllSettings& s) { s.Bands.SetSecondaryColor(platform::clRed); }, false},
      {"Bands.SecondaryLength inactive", [](AllSettings& s) { s.Bands.SetSecondaryLength(2); }, false},
      {"Bands.Active", [](AllSettings& s) { s.Bands.SetActive(true); }, true},
      {"Bands.Active same", [](AllSettings& s) { s.Bands.SetActive(true); }, true},
      {"Bands.PrimaryColor active", [](AllSettings& s) { s.Bands.SetPrimaryColor(platform::clBlue); }, true},
      {"Bands.PrimaryLength active", [](AllSettings& s) { s.Bands.SetPrimaryLength(3); }, true},
      {"Bands.SecondaryColor active", [](AllSettings& s) { s.Bands.SetSecondaryColor(platform::clBlue); }, true},
      {"Bands.SecondaryLength active", [](AllSettings& s) { s.Bands.SetSecondaryLength(3); }, true},
      {"Bands.Active off", [](AllSettings& s) { s.Bands.SetActive(false); }, true},
      {"BackGround.Top", [](AllSettings& s) { s.BackGround.SetTop(0); }, true},
      {"BackGround.Left", [](AllSettings& s) { s.BackGround.SetLeft(4); }, true},
      {"BackGround.Display", [](AllSettings& s) { s.BackGround.SetDisplay(TBackgroundDisplay::bdFixed); }, true},
      {"BackGround.Cells", [](AllSettings& s) { s.BackGround.SetCells(TBackgroundCells::bcFixed); }, true},
      {"BackGround.Bitmap", [](AllSettings& s) { s.BackGround.SetBitmap(Glyph()); }, true},
      {"FloatingFooter.Visible", [](AllSettings& s) { s.FloatingFooter.SetVisible(true); }, false},
      {"FloatingFooter.FooterStyle",
       [](AllSettings& s) { s.FloatingFooter.SetFooterStyle(TFooterStyle::fsColumnPreview); }, false},
      {"FloatingFooter.Column", [](AllSettings& s) { s.FloatingFooter.SetColumn(2); }, false},
      {"FloatingFooter.Color", [](AllSettings& s) { s.FloatingFooter.SetColor(platform::clRed); }, false},
      {"FloatingFooter.CustomTemplate", [](AllSettings& s) { s.FloatingFooter.SetCustomTemplate("x"); }, false},
      {"FloatingFooter height", [](AllSettings& s) { s.FloatingFooter.SetHeight(25); }, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Paints(c.change), c.paints) << c.setter;
}

// Stretch hands over to the grid at once, on and off alike; the grid decides whether to stretch.
TEST(GridSettingsTest, StretchAsksTheGridToStretchAtOnce) {
  FakeOwner owner;
  TColumnSize columnSize(owner);
  columnSize.SetStretch(true);
  EXPECT_TRUE(columnSize.Stretch());
  EXPECT_EQ(owner.stretches, 1);
  columnSize.SetStretch(false);
  EXPECT_FALSE(columnSize.Stretch());
  EXPECT_EQ(owner.stretches, 2);
}

TEST(GridSettingsTest, GlyphsFontsAndListsAreCopiedIn) {
  FakeOwner owner;
  TCellNode node(owner);
  TPrintSettings print;
  {
    TBitmap glyph(3, 2);
    node.SetExpandGlyph(glyph);
    platform::TFont font;
    font.SetName("Arial");
    print.SetHeaderFont(font);
    platform::TStringList lines;
    lines.Add("A");
    print.SetTitleLines(lines);
    glyph.SetSize(1, 1);
    font.SetName("Courier New");
    lines.Add("B");
  }
  EXPECT_EQ(node.ExpandGlyph().Width(), 3);
  EXPECT_EQ(print.HeaderFont().Name(), "Arial");
  EXPECT_EQ(print.TitleLines().Text(), "A\r\n");
}

TEST(GridSettingsTest, SortRowAboveTheFixedRowsIsRefusedUnlessAResourceLoads) {
  struct Case {
    int fixedRows;
    bool loading;
    int row;
    bool accepted;
  };
  const Case cases[] = {
      {1, false, 0, true}, {1, false, 1, true}, {1, false, 2, false}, {0, false, 0, true},
      {0, false, 1, false}, {3, false, 3, true}, {1, true, 5, true},
  };
  for (const Case& c : cases) {
    FakeOwner owner;
    owner.fixedRows = c.fixedRows;
    owner.loading = c.loading;
    TSortSettings sort(owner);
    sort.SetRow(0);
    const std::string label =
        "row " + std::to_string(c.row) + " with " + std::to_string(c.fixedRows) + " fixed rows" + (c.loading ? ", loading" : "");
    if (c.accepted) {
      EXPECT_NO_THROW(sort.SetRow(c.row)) << label;
      EXPECT_EQ(sort.Row(), c.row) << label;
      continue;
    }
    try {
      sort.SetRow(c.row);
      ADD_FAILURE() << label << " was taken";
    } catch (const EDovAdizError& e) {
      EXPECT_STREQ(e.what(), "Sort row should be smaller than number of fixed rows") << label;
    }
    EXPECT_EQ(sort.Row(), 0) << label;
  }
}

// The period always divides; without rows in either band nothing is banded.
TEST(GridSettingsTest, BandPeriodFollowsTheLengthsAndNeverReachesZero) {
  struct Case {
    int primary;
    int secondary;
    int period;
    bool banding;
  };
  const Case cases[] = {{1, 1, 2, true}, {2, 3, 5, true}, {3, 0, 3, true}, {0, 0, 1, false}, {-2, 1, 1, true}, {1, -1, 1, true},
                        {-1, -1, 1, false}};
  for (const Case& c : cases) {
    FakeOwner owner;
    TBands bands(owner);
    bands.SetActive(true);
    bands.SetPrimaryLength(c.primary);
    bands.SetSecondaryLength(c.secondary);
    const std::string label = std::to_string(c.primary) + " + " + std::to_string(c.secondary);
    EXPECT_EQ(bands.Period(), c.period) << label;
    EXPECT_EQ(bands.Banding(), c.banding) << label;
    EXPECT_GE(bands.PrimaryLength(), 0) << label;
    EXPECT_GE(bands.SecondaryLength(), 0) << label;
    bands.SetActive(false);
    EXPECT_FALSE(bands.Banding()) << label;
  }
}

// A component that holds every settings object as the grid does, published the way the grid publishes
// its own: what a form resource gives reaches the objects.
class TSettingsHolder : public platform::TComponent, public GridSettingsOwner {
public:
  explicit TSettingsHolder(platform::TComponent* AOwner) : TComponent(AOwner), settings(*this) {}

  void InvalidateGrid() override {}
  int FixedRowCount() const override { return 1; }
  bool LoadingResource() const override { return ComponentState().Contains(platform::csLoading); }

  AllSettings settings;
};

void PublishSettingsHolder() {
  PublishGridSettingsClasses();
  using H = TSettingsHolder;
  platform::TClassPublisher<H, platform::TComponent>("TSettingsHolder")
      .Object("CellNode", [](H& h) -> TCellNode& { return h.settings.CellNode; })
      .Object("SizeWhileTyping", [](H& h) -> TSizeWhileTyping& { return h.settings.SizeWhileTyping; })
      .Object("MouseActions", [](H& h) -> TMouseActions& { return h.settings.MouseActions; })
      .Object("ColumnSize", [](H& h) -> TColumnSize& { return h.settings.ColumnSize; })
      .Object("Navigation", [](H& h) -> TNavigation& { return h.settings.Navigation; })
      .Object("HTMLSettings", [](H& h) -> TMarkupSettings& { return h.settings.HTMLSettings; })
      .Object("PrintSettings", [](H& h) -> TPrintSettings& { return h.settings.PrintSettings; })
      .Object("SortSettings", [](H& h) -> TSortSettings& { return h.settings.SortSettings; })
      .Object("ControlLook", [](H& h) -> TControlLook& { return h.settings.ControlLook; })
      .Object("Bands", [](H& h) -> TBands& { return h.settings.Bands; })
      .Object("BackGround", [](H& h) -> TBackGround& { return h.settings.BackGround; })
      .Object("FloatingFooter", [](H& h) -> TFloatingFooter& { return h.settings.FloatingFooter; })
      .Object("DragDropSettings", [](H& h) -> TDragDropSettings& { return h.settings.DragDropSettings; });
}

std::string HexBytes(const std::string& bytes) {
  std::string hex;
  for (unsigned char byte : bytes) hex += platform::IntToHex(byte, 2);
  return hex;
}

TEST(GridSettingsTest, FormResourceSetsTheNestedSettings) {
  PublishSettingsHolder();
  const std::string glyph = HexBytes(TBitmap(4, 3).SaveToBytes());
  TSettingsHolder holder(nullptr);
  platform::ReadFormText(holder,
                         "Grid1: TSettingsHolder {\n"
                         "  CellNode.NodeType = cnLeaf  CellNode.Color = clRed  CellNode.ExpandGlyph = bytes(" +
                             glyph +
                             ")\n"
                             "  SizeWhileTyping.Width = True\n"
                             "  MouseActions.DirectEdit = True  MouseActions.DisjunctRowSelect = True\n"
                             "  ColumnSize.Save = True  ColumnSize.Section = \"GridSize\"  ColumnSize.Location = clIniFile\n"
                             "  ColumnSize.Stretch = True\n"
                             "  Navigation.InsertPosition = pInsertAfter  Navigation.AdvanceDirection = adTopBottom\n"
                             "  Navigation.HomeEndKey = heFirstLastRow  Navigation.AllowClipboardColGrow = False\n"
                             "  HTMLSettings.Width = 80  HTMLSettings.TableStyle = \"x\"\n"
                             "  PrintSettings.Font.Name = \"Arial\"  PrintSettings.FooterFont.Size = 12\n"
                             "  PrintSettings.TitleLines = list(\"A\", \"B\")  PrintSettings.Orientation = poLandscape\n"
                             "  PrintSettings.BorderStyle = psDot  PrintSettings.Borders = pbAround  PrintSettings.Date = ppTopRight\n"
                             "  PrintSettings.FitToPage = fpShrink\n"
                             "  SortSettings.Row = 3  SortSettings.BlankPos = blLast  SortSettings.Direction = sdDescending\n"
                             "  ControlLook.ControlStyle = csTheme  ControlLook.CheckSize = 13  ControlLook.RadioOffGlyph = bytes(" +
                             glyph +
                             ")\n"
                             "  Bands.Active = True  Bands.PrimaryColor = clInfoBk  Bands.SecondaryLength = 0\n"
                             "  BackGround.Display = bdFixed  BackGround.Cells = bcFixed  BackGround.Left = 7\n"
                             "  FloatingFooter.FooterStyle = fsCustomPreview  FloatingFooter.Color = clWindow\n"
                             "  DragDropSettings.OleDropRTF = True\n"
                             "}\n",
                         "settings", {});
  const AllSettings& s = holder.settings;
  EXPECT_EQ(s.CellNode.NodeType(), TNodeType::cnLeaf);
  EXPECT_EQ(s.CellNode.Color, platform::clRed);
  EXPECT_EQ(s.CellNode.ExpandGlyph().Width(), 4);
  EXPECT_TRUE(s.SizeWhileTyping.Width);
  EXPECT_TRUE(s.MouseActions.DirectEdit);
  EXPECT_TRUE(s.MouseActions.DisjunctRowSelect);
  EXPECT_TRUE(s.ColumnSize.Save);
  EXPECT_EQ(s.ColumnSize.Section, "GridSize");
  EXPECT_EQ(s.ColumnSize.Location, TColumnSizeLocation::clIniFile);
  EXPECT_TRUE(s.ColumnSize.Stretch());
  EXPECT_EQ(s.Navigation.InsertPosition, TInsertPosition::pInsertAfter);
  EXPECT_EQ(s.Navigation.AdvanceDirection, TAdvanceDirection::adTopBottom);
  EXPECT_EQ(s.Navigation.HomeEndKey, THomeEndAction::heFirstLastRow);
  EXPECT_FALSE(s.Navigation.AllowClipboardColGrow);
  EXPECT_EQ(s.HTMLSettings.Width, 80);
  EXPECT_EQ(s.HTMLSettings.TableStyle, "x");
  EXPECT_EQ(s.PrintSettings.Font().Name(), "Arial");
  EXPECT_EQ(s.PrintSettings.FooterFont().Size(), 12);
  EXPECT_EQ(s.PrintSettings.TitleLines().Text(), "A\r\nB\r\n");
  EXPECT_EQ(s.PrintSettings.Orientation, TPrinterOrientation::poLandscape);
  EXPECT_EQ(s.PrintSettings.BorderStyle, platform::TPenStyle::psDot);
  EXPECT_EQ(s.PrintSettings.Borders, TPrintBorders::pbAround);
  EXPECT_EQ(s.PrintSettings.Date, TPrintPosition::ppTopRight);
  EXPECT_EQ(s.PrintSettings.FitToPage, TFitToPage::fpShrink);
  EXPECT_EQ(s.SortSettings.Row(), 3);  // above the one fixed row: not checked while the resource loads
  EXPECT_EQ(s.SortSettings.BlankPos, TSortBlankPosition::blLast);
  EXPECT_EQ(s.SortSettings.Direction, TSortDirection::sdDescending);
  EXPECT_EQ(s.ControlLook.ControlStyle(), TControlStyle::csTheme);
  EXPECT_EQ(s.ControlLook.CheckSize(), 13);
  EXPECT_EQ(s.ControlLook.RadioOffGlyph().Height(), 3);
  EXPECT_TRUE(s.Bands.Active());
  EXPECT_EQ(s.Bands.PrimaryColor(), platform::clInfoBk);
  EXPECT_EQ(s.Bands.Period(), 1);
  EXPECT_EQ(s.BackGround.Display(), TBackgroundDisplay::bdFixed);
  EXPECT_EQ(s.BackGround.Cells(), TBackgroundCells::bcFixed);
  EXPECT_EQ(s.BackGround.Left(), 7);
  EXPECT_EQ(s.FloatingFooter.FooterStyle(), TFooterStyle::fsCustomPreview);
  EXPECT_EQ(s.FloatingFooter.Color(), platform::clWindow);
  EXPECT_TRUE(s.DragDropSettings.OleDropRTF);

  // Once loaded, the sort row is checked again; the footer height is not published.
  EXPECT_THROW(holder.settings.SortSettings.SetRow(3), EDovAdizError);
  EXPECT_THROW(platform::ReadFormText(holder, "Grid1: TSettingsHolder { FloatingFooter.Height = 30 }\n", "height", {}),
               platform::EFormResourceError);
}

}  // namespace
}  // namespace velmora::testing

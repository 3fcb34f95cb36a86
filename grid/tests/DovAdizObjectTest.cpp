#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/DovAdiz.h"
#include "grid/tests/BaseGridFixture.h"
#include "platform/core/Clock.h"
#include "platform/core/IniFile.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/ScrollBars.h"

namespace velmora::testing {
namespace {

using platform::TColor;
using platform::TForm;
using platform::TGridState;
using platform::TObject;
using platform::TRect;

// The grid object with the protected hooks a test reaches, counting its grid timer's ticks.
class TObjectGrid : public VUraRazuduVova {
public:
  using VUraRazuduVova::VUraRazuduVova;
  using VUraRazuduVova::CalcSizingState;
  using VUraRazuduVova::SkipNextInvalidate;
  int timerTicks = 0;

protected:
  void WndProc(platform::TMessage& Message) override {
    if (Message.Msg == platform::WM_TIMER && Message.WParam == 111) ++timerTicks;
    VUraRazuduVova::WndProc(Message);
  }
};

// A shown form with the grid object on it, in the test font.
class DovAdizObjectTest : public platform::FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    form_ = ShowForm(320, 200);
    form_->Font().SetName(platform::kTestFontName);
    grid_ = new TObjectGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetBounds(0, 0, 320, 200);
    Settle();
  }

  // The paint passes that the loop runs for the grid from now until it is idle.
  uint32_t PaintsWhileSettling() {
    const uint32_t before = grid_->PaintCounter();
    Settle();
    return grid_->PaintCounter() - before;
  }

  std::unique_ptr<TForm> form_;
  TObjectGrid* grid_ = nullptr;
};

TEST(DovAdizDefaultsTest, TheConstructorSetsThePublishedDefaults) {
  VUraRazuduVova grid(nullptr);
  struct Case {
    const char* name;
    int64_t actual;
    int64_t expected;
  };
  const Case cases[] = {
      {"EnableWheel", grid.EnableWheel, true},
      {"EnableHTML", grid.EnableHTML, true},
      {"IntelliZoom", grid.IntelliZoom, true},
      {"HideFocusRect", grid.HideFocusRect, false},
      {"FixedAsButtons", grid.FixedAsButtons, false},
      {"ScrollType", static_cast<int>(grid.ScrollType()), static_cast<int>(TScrollType::ssNormal)},
      {"HintColor", grid.HintColor, 0x80000018},
      {"URLColor", grid.URLColor, 0xFF0000},
      {"ScrollColor", grid.ScrollColor(), 0x1FFFFFFF},
      {"ScrollWidth", grid.ScrollWidth(), platform::GetSystemMetrics(platform::SM_CXVSCROLL)},
      {"DefaultRowHeight", grid.DefaultRowHeight(), 21},
      {"FloatingFooter height", grid.FloatingFooter().Height(), 21},
      {"Look", static_cast<int>(grid.Look), static_cast<int>(TGridLook::glSoft)},
      {"IntegralHeigth", grid.IntegralHeigth(), false},
      {"FixedRowAlways", grid.FixedRowAlways, false},
      {"FixedColAlways", grid.FixedColAlways, false},
      {"ActiveCellShow", grid.ActiveCellShow, false},
      {"SizeWithForm", grid.SizeWithForm, false},
      {"MaxEditLength", grid.MaxEditLength(), 0},
      {"ActiveCellFont bold", grid.ActiveCellFont().Style().Contains(platform::TFontStyle::fsBold), true},
      {"GridImages", grid.GridImages() != nullptr, false},
      {"PictureContainer", grid.PictureContainer() != nullptr, false},
      {"GetLockFlag", grid.GetLockFlag(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.name;

  struct TextCase {
    const char* name;
    std::string actual;
    std::string expected;
  };
  const TextCase texts[] = {
      {"check-box true text", grid.CheckTrue, "Y"},
      {"check-box false text", grid.CheckFalse, "N"},
      {"Font.Name", grid.Font().Name(), "Tahoma"},
      {"FixedFont.Name", grid.FixedFont().Name(), "Tahoma"},
      {"GetVersionString", grid.GetVersionString(), "2.0 November, 2001"},
  };
  for (const TextCase& c : texts) EXPECT_EQ(c.actual, c.expected) << c.name;
  EXPECT_EQ(grid.GetVersionNr() & 0xFFFF, 2);  // major
  EXPECT_EQ(grid.GetVersionNr() >> 16, 0);     // minor
}

TEST_F(DovAdizObjectTest, IntegralHeigthKeepsWholeRowsAndNeverANegativeHeight) {
  const int hbar = platform::GetSystemMetrics(platform::SM_CYHSCROLL);
  struct Case {
    int colCount;  // 3 columns of 64 fit into 320 pixels; 20 need the horizontal scroll bar
    int rowHeight;
    int height;
    int expected;
  };
  const Case cases[] = {
      {20, 21, 100, 83},                    // 100 - 100 mod 21 - 1
      {3, 21, 100, 100 + 21 - 16 - 1 - hbar},
      {20, 21, 10, 0},                      // 10 - 10 - 1 would be negative
      {20, 0, 100, 100},                    // no row height: no adjustment
  };
  grid_->SetIntegralHeight(true);
  for (const Case& c : cases) {
    grid_->SetColCount(c.colCount);
    grid_->SetDefaultRowHeight(c.rowHeight);
    grid_->SetBounds(0, 0, 320, c.height);
    EXPECT_EQ(grid_->Height(), c.expected) << c.colCount << " columns, rows of " << c.rowHeight << ", " << c.height;
  }

  grid_->SetIntegralHeight(false);
  grid_->SetBounds(0, 0, 320, 100);
  grid_->SetColCount(20);
  grid_->SetDefaultRowHeight(21);
  grid_->SetIntegralHeight(true);  // takes effect at once
  EXPECT_EQ(grid_->Height(), 83);
}

TEST_F(DovAdizObjectTest, TheUpdateLockNestsAndHoldsBackPainting) {
  grid_->BeginUpdate();
  grid_->BeginUpdate();
  grid_->SetCells(1, 1, "a");
  grid_->Invalidate();
  EXPECT_TRUE(grid_->GetLockFlag());
  EXPECT_EQ(PaintsWhileSettling(), 0u);
  grid_->EndUpdate();
  EXPECT_TRUE(grid_->GetLockFlag());
  EXPECT_EQ(PaintsWhileSettling(), 0u);
  grid_->EndUpdate();  // at 0 the whole grid is painted again
  EXPECT_FALSE(grid_->GetLockFlag());
  EXPECT_EQ(PaintsWhileSettling(), 1u);

  grid_->EndUpdate();  // without BeginUpdate: stays at 0 and repaints
  EXPECT_FALSE(grid_->GetLockFlag());
  EXPECT_EQ(PaintsWhileSettling(), 1u);

  grid_->SetLockFlag(true);
  grid_->SetLockFlag(true);
  grid_->ResetUpdate();
  EXPECT_FALSE(grid_->GetLockFlag());

  // A guard ends its lock when an exception leaves the scope, and does nothing once the grid is gone.
  try {
    VUraRazuduVova::UpdateGuard guard(*grid_);
    EXPECT_TRUE(grid_->GetLockFlag());
    throw platform::Exception("handler failed");
  } catch (const platform::Exception&) {
  }
  EXPECT_FALSE(grid_->GetLockFlag());
  EXPECT_EQ(PaintsWhileSettling(), 1u);
  {
    VUraRazuduVova::UpdateGuard guard(*grid_);
    delete grid_;
    grid_ = nullptr;
  }
}

TEST_F(DovAdizObjectTest, InvalidateSkipsOnceWhenAsked) {
  grid_->SkipNextInvalidate();
  grid_->Invalidate();
  EXPECT_EQ(PaintsWhileSettling(), 0u);
  grid_->Invalidate();
  EXPECT_EQ(PaintsWhileSettling(), 1u);
}

// Records the order in which it hears of changes.
class TRecordingNotifier : public TGridChangeNotifier {
public:
  TRecordingNotifier(platform::TComponent* owner, std::string name, std::vector<std::string>& log)
      : TGridChangeNotifier(owner), name_(std::move(name)), log_(log) {}
  void CellsChanged(const TRect& R) override {
    log_.push_back(name_ + " " + std::to_string(R.Left) + "," + std::to_string(R.Top));
  }

private:
  std::string name_;
  std::vector<std::string>& log_;
};

TEST_F(DovAdizObjectTest, CellsChangedReachesTheEventThenTheNotifiersInRegistrationOrder) {
  std::vector<std::string> log;
  grid_->OnCellsChanged = [&](TObject* Sender, const TRect& R) {
    EXPECT_EQ(Sender, grid_);
    log.push_back("event " + std::to_string(R.Left) + "," + std::to_string(R.Top));
  };
  auto other = ShowForm();  // notifiers may live on another form
  auto* second = new TRecordingNotifier(other.get(), "second", log);
  auto* first = new TRecordingNotifier(form_.get(), "first", log);
  auto* third = new TRecordingNotifier(other.get(), "third", log);
  grid_->RegisterNotifier(second);
  grid_->RegisterNotifier(first);
  grid_->RegisterNotifier(second);  // once only
  grid_->RegisterNotifier(third);
  grid_->CellsChanged({1, 2, 3, 4});
  EXPECT_EQ(log, (std::vector<std::string>{"event 1,2", "second 1,2", "first 1,2", "third 1,2"}));

  log.clear();
  grid_->UnRegisterNotifier(first);
  delete third;  // dropped through its free notification
  other.reset();
  grid_->CellsChanged({0, 0, 0, 0});
  EXPECT_EQ(log, (std::vector<std::string>{"event 0,0"}));
  delete first;
}

TEST_F(DovAdizObjectTest, CustomisationPointsStartFromTheirDefaultsAndAskTheirEvents) {
  std::string value;
  grid_->GetCheckTrue(1, 1, value);
  EXPECT_EQ(value, "Y");
  grid_->GetCheckFalse(1, 1, value);
  EXPECT_EQ(value, "N");
  grid_->OnGetCheckTrue = [](TObject*, int ACol, int ARow, std::string& Value) {
    Value += "es " + std::to_string(ACol) + std::to_string(ARow);
  };
  grid_->GetCheckTrue(2, 3, value);
  EXPECT_EQ(value, "Yes 23");

  // Grid-level events take the row before the column.
  std::vector<std::string> asked;
  grid_->OnIsFixedCell = [&](TObject*, int ARow, int ACol, bool& IsFixed) {
    asked.push_back(std::to_string(ARow) + "," + std::to_string(ACol));
    IsFixed = ACol == 3;
  };
  grid_->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = ARow != ACol; };
  grid_->OnGetEditorType = [](TObject*, int ACol, int ARow, TEditorType& AEditor) {
    if (ACol == 2) AEditor = TEditorType::edComboList;
  };
  bool fixed = false;
  grid_->GetCellFixed(3, 2, fixed);
  EXPECT_TRUE(fixed);
  grid_->GetCellFixed(0, 2, fixed);  // the fixed column
  EXPECT_TRUE(fixed);
  EXPECT_EQ(asked, std::vector<std::string>{"2,3"});
  bool canEdit = true;
  grid_->GetCellReadOnly(2, 2, canEdit);
  EXPECT_FALSE(canEdit);
  TEditorType editor = TEditorType::edNormal;
  grid_->GetCellEditor(2, 1, editor);
  EXPECT_EQ(editor, TEditorType::edComboList);

  // Row 0 of a one-row grid with FixedRowAlways is fixed without asking.
  asked.clear();
  grid_->SetRowCount(1);
  grid_->FixedRowAlways = true;
  grid_->GetCellFixed(2, 0, fixed);
  EXPECT_TRUE(fixed);
  EXPECT_TRUE(asked.empty());
}

TEST_F(DovAdizObjectTest, TheActiveCellsHeadersTakeTheActiveCellFont) {
  grid_->ActiveCellShow = true;
  grid_->ActiveCellFont().SetColor(platform::clRed);
  grid_->SetCol(2);
  grid_->SetRow(3);
  struct Case {
    int col;
    int row;
    bool header;
  };
  const Case cases[] = {{0, 3, true}, {2, 0, true}, {0, 2, false}, {1, 0, false}, {2, 3, false}};
  for (const Case& c : cases) {
    platform::TBrush brush;
    platform::TFont font;
    grid_->GetCellColor(c.col, c.row, {}, brush, font);
    EXPECT_EQ(font.Color() == platform::clRed, c.header) << c.col << "," << c.row;
  }
}

TEST_F(DovAdizObjectTest, SizingByMouseAsksTheSizeEvents) {
  grid_->SetOptions(grid_->Options() + platform::TGridOption::goColSizing + platform::TGridOption::goRowSizing);
  std::vector<int> asked;
  bool allow = false;
  grid_->OnColumnSize = [&](TObject*, int ACol, bool& Allow) {
    asked.push_back(ACol);
    Allow = allow;
  };
  TGridState state;
  int index = 0;
  int pos = 0;
  int ofs = 0;
  const int border = grid_->ColWidths(0) + grid_->ColWidths(1);  // between columns 1 and 2
  grid_->CalcSizingState(border, 5, state, index, pos, ofs);
  EXPECT_EQ(state, TGridState::gsNormal);
  allow = true;
  grid_->CalcSizingState(border, 5, state, index, pos, ofs);
  EXPECT_EQ(state, TGridState::gsColSizing);
  EXPECT_EQ(asked, (std::vector<int>{1, 1}));

  grid_->OnRowSize = [](TObject*, int, bool& Allow) { Allow = false; };
  grid_->CalcSizingState(5, grid_->RowHeights(0), state, index, pos, ofs);
  EXPECT_EQ(state, TGridState::gsNormal);
}

TEST_F(DovAdizObjectTest, TheGridTimerRunsWhileTheWindowExists) {
  const auto halfSeconds = [this](int n) {
    for (int i = 0; i < n; ++i) {
      platform::Sleep(500);
      Settle();
    }
  };
  halfSeconds(3);
  EXPECT_EQ(grid_->timerTicks, 3);
  grid_->SetParent(nullptr);  // the window goes
  halfSeconds(3);
  EXPECT_EQ(grid_->timerTicks, 3);
}

// Two grids on one form, freed in either order, and the form's own handlers around them.
TEST_F(DovAdizObjectTest, TheFormsResizeChainSurvivesGridsFreedInEitherOrder) {
  for (bool firstGoesFirst : {true, false}) {
    SCOPED_TRACE(firstGoesFirst ? "first grid freed first" : "second grid freed first");
    auto form = ShowForm(300, 200);
    int formHandler = 0;
    form->OnResize = [&](TObject*) { ++formHandler; };
    auto* first = new VUraRazuduVova(form.get());
    first->SetParent(form.get());
    auto* second = new VUraRazuduVova(form.get());
    second->SetParent(form.get());
    first->SizeWithForm = true;
    first->SetBounds(0, 0, 100, 80);
    form->SetBounds(100, 100, 320, 210);
    EXPECT_EQ(formHandler, 1);
    EXPECT_EQ(first->Width(), 120);
    EXPECT_EQ(first->Height(), 90);

    delete (firstGoesFirst ? first : second);
    form->SetBounds(100, 100, 330, 220);
    EXPECT_EQ(formHandler, 2);
    delete (firstGoesFirst ? second : first);
    form->SetBounds(100, 100, 340, 230);
    EXPECT_EQ(formHandler, 3);
  }

  // A handler that the form sets after the grid hooked stays when the grid goes.
  auto form = ShowForm(300, 200);
  auto* grid = new VUraRazuduVova(form.get());
  int later = 0;
  form->OnResize = [&](TObject*) { ++later; };
  delete grid;
  form->SetBounds(100, 100, 310, 210);
  EXPECT_EQ(later, 1);

  // A grid without a form owner leaves every OnResize alone; one freed with its form touches nothing.
  { VUraRazuduVova loose(nullptr); }
  auto owner = ShowForm();
  new VUraRazuduVova(owner.get());
  EXPECT_TRUE(owner->OnResize);
  owner.reset();
}

TEST_F(DovAdizObjectTest, AnImageListFreedOnAnotherFormIsDroppedBeforeThePaint) {
  auto other = ShowForm();
  auto* images = new platform::TImageList(other.get());
  grid_->SetGridImages(images);
  EXPECT_EQ(grid_->GridImages(), images);
  other.reset();
  EXPECT_EQ(grid_->GridImages(), nullptr);
  grid_->Invalidate();
  EXPECT_EQ(PaintsWhileSettling(), 1u);
}

TEST_F(DovAdizObjectTest, ColumnWidthsGoToTheirIniFileAndComeBackWithTheWindow) {
  const std::string ini = folder_ + "/HostList.ini";
  const auto keep = [&](VUraRazuduVova& grid) {
    grid.ColumnSize().Save = true;
    grid.ColumnSize().Key = ini;
    grid.ColumnSize().Section = "GridSize";
    grid.ColumnSize().Location = TColumnSizeLocation::clIniFile;
  };
  keep(*grid_);
  grid_->SetColCount(3);
  grid_->SetColWidths(0, 50);
  grid_->SetColWidths(2, 120);
  delete grid_;
  grid_ = nullptr;
  EXPECT_EQ(platform::TIniFile(ini).ReadInteger("GridSize", "Col2", -1), 120);

  auto* again = new VUraRazuduVova(form_.get());
  keep(*again);
  again->SetColCount(3);
  again->SetParent(form_.get());  // the window is made: the widths are read
  EXPECT_EQ(again->ColWidths(0), 50);
  EXPECT_EQ(again->ColWidths(1), 64);
  EXPECT_EQ(again->ColWidths(2), 120);
}

TEST_F(DovAdizObjectTest, TheDestructorHandsAFailedSaveOfTheWidthsToTheExceptionHook) {
  std::vector<std::string> handled;
  platform::Application().OnException = [&](const platform::Exception& E) { handled.push_back(E.what()); };
  grid_->ColumnSize().Save = true;
  grid_->ColumnSize().Key = folder_ + "/no such folder/HostList.ini";
  grid_->ColumnSize().Section = "GridSize";
  grid_->ColumnSize().Location = TColumnSizeLocation::clIniFile;
  EXPECT_NO_THROW(delete grid_);
  grid_ = nullptr;
  platform::Application().OnException = nullptr;
  ASSERT_EQ(handled.size(), 1u);
  EXPECT_NE(handled[0].find("HostList.ini"), std::string::npos) << handled[0];
}

}  // namespace
}  // namespace velmora::testing

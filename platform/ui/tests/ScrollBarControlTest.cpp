#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/FormLoader.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/VirtualKeys.h"
#include "platform/ui/tests/ScrollFixture.h"

namespace platform {
namespace {

// A horizontal scroll bar 150 x 16 below the box: arrows of 16, a track of 118.
class ScrollBarControlTest : public ScrollTest {
protected:
  void SetUp() override {
    ScrollTest::SetUp();
    bar = new TScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(10, 170, 150, 16);
    bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) {
      static const char* const kNames[] = {"LineUp", "LineDown", "PageUp", "PageDown", "Position",
                                           "Track",  "Top",      "Bottom", "EndScroll"};
      events.push_back(std::string(kNames[static_cast<int>(code)]) + " " + std::to_string(pos));
    };
    bar->OnChange = [this](TObject*) { events.push_back("Change " + std::to_string(bar->Position())); };
    Settle();
  }

  TScrollBar* bar = nullptr;
  std::vector<std::string> events;
};

TEST_F(ScrollBarControlTest, PositionStaysWhereTheBarCanShowIt) {
  const struct {
    const char* what;
    int page, min, max, position;
    int want;
    bool refused;
  } cases[] = {
      {"inside", 0, 0, 100, 40, 40, false},
      {"below min", 0, 0, 100, -3, 0, false},
      {"above max", 0, 0, 100, 300, 100, false},
      {"with a page: max - page + 1", 10, 0, 100, 100, 91, false},
      {"negative range", 10, -100, -1, 0, -10, false},
      {"page as large as the range", 101, 0, 100, 50, 0, false},
      {"max below min", 0, 10, 5, 7, 0, true},
      {"range shorter than the page", 20, 0, 9, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    bar->SetParams(0, 0, 1000);
    bar->SetPageSize(c.page);
    if (c.refused) {
      EXPECT_THROW(bar->SetParams(c.position, c.min, c.max), EInvalidOperation);
      continue;
    }
    bar->SetParams(c.position, c.min, c.max);
    EXPECT_EQ(bar->Position(), c.want);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    GetScrollInfo(bar->Handle(), SB_CTL, info);
    EXPECT_EQ(info.nPos, c.want) << "the bar shows the position";
  }
  EXPECT_THROW(bar->SetPageSize(5000), EInvalidOperation);
}

TEST_F(ScrollBarControlTest, ArrowsTrackAndKeysMoveByTheirChangesAndReport) {
  bar->SetParams(50, 0, 100);
  bar->SetSmallChange(2);
  bar->SetLargeChange(25);
  bar->SetPageSize(10);
  events.clear();
  Input().Click(At(*bar, 145, 8));  // the right arrow
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"LineDown 52", "Change 52", "EndScroll 52"}));
  EXPECT_TRUE(bar->Focused());
  events.clear();
  Input().Click(At(*bar, 20, 8));  // the track left of the thumb
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"PageUp 27", "Change 27", "EndScroll 27"}));
  events.clear();
  Input().PressKey(VK_END);
  Input().PressKey(VK_RIGHT);
  Input().PressKey(VK_HOME);
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"Bottom 91", "Change 91", "EndScroll 91", "LineDown 91", "EndScroll 91",
                                              "Top 0", "Change 0", "EndScroll 0"}));
}

TEST_F(ScrollBarControlTest, TheThumbTracksAndAHandlerMayChangeWhereItGoes) {
  // Track x 16..134 (118 pixels) with a square thumb: 102 pixels for positions 0..100.
  bar->SetParams(0, 0, 100);
  bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) {
    events.push_back(std::to_string(static_cast<int>(code)) + " " + std::to_string(pos));
    pos -= pos % 10;  // the handler allows tens only
  };
  Input().MouseDown(TMouseButtonKind::Left, At(*bar, 20, 8));
  Input().MouseMove(At(*bar, 71, 8), bsLeft);  // 51 pixels: position 50
  Input().MouseMove(At(*bar, 77, 8), bsLeft);  // 57 pixels: position 56
  Input().MouseUp(TMouseButtonKind::Left, At(*bar, 77, 8));
  Settle();
  EXPECT_EQ(events, (std::vector<std::string>{"5 50", "Change 50", "5 56", "4 56", "8 50"}));
  EXPECT_EQ(bar->Position(), 50);
}

TEST_F(ScrollBarControlTest, FormResourcesMakeVerticalBarsWithTheirParameters) {
  bar->SetKind(TScrollBarKind::sbVertical);  // width and height swap
  EXPECT_EQ(bar->BoundsRect(), Rect(10, 170, 26, 320));
  delete bar;
  ReadFormText(*form,
               "Form1: TForm {\n"
               "  Bar: TScrollBar {\n"
               "    Left = 170\n    Top = 10\n    Width = 16\n    Height = 150\n    Kind = sbVertical\n"
               "    Max = 50\n    PageSize = 5\n    Position = 48\n    LargeChange = 5\n  }\n"
               "}\n",
               "test form", {});
  auto* loaded = dynamic_cast<TScrollBar*>(form->FindComponent("Bar"));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->Kind(), TScrollBarKind::sbVertical);
  EXPECT_EQ(loaded->Height(), 150) << "loading keeps the stored size";
  EXPECT_EQ(loaded->Position(), 46);
  EXPECT_EQ(loaded->LargeChange(), 5);
  Settle();
  ExpectLooksLike("scroll_bar_control");
}

}  // namespace
}  // namespace platform

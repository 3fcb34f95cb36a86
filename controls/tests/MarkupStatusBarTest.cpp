#include "controls/MarkupStatusBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "controls/tests/LabelFixture.h"
#include "platform/core/Clock.h"
#include "platform/core/DateTime.h"
#include "platform/core/Files.h"
#include "platform/shell/tests/RecordingLauncher.h"
#include "platform/ui/VirtualKeys.h"

namespace controls {
namespace {

using platform::Rect;
using Style = TMarkupStatusPanelStyle;

TEST(ProgressStyleTest, CaptionAndFilledPartCountFromMinAndStayInTheBar) {
  struct Case {
    int min, max, position;
    TProgressIndication indication;
    std::string caption;
    int filled;  // of 100 pixels
  };
  const auto pct = TProgressIndication::piPercentage;
  const Case cases[] = {
      {0, 10, 5, pct, "50%", 50},
      {0, 10, 0, pct, "0%", 0},
      {5, 10, 5, pct, "0%", 0},  // Position at Min: nothing done yet
      {5, 10, 10, pct, "100%", 100},
      {0, 8, 1, pct, "12%", 12},  // 12.5: halves go to the even neighbour
      {0, 8, 3, pct, "38%", 38},  // 37.5
      {0, 200, 1, pct, "0%", 0},  // 0.5
      {0, 200, 3, pct, "2%", 2},  // 1.5
      {0, 0, 0, pct, "0%", 0},  // Max equal to Min: an empty bar
      {3, 3, 7, pct, "0%", 0},
      {10, 0, 5, pct, "0%", 0},  // Max below Min
      {0, 10, 15, pct, "150%", 100},  // beyond Max: the bar stays full
      {0, 10, -3, pct, "-30%", 0},
      {INT_MIN, INT_MAX, INT_MAX, pct, "100%", 100},
      {0, 10, 7, TProgressIndication::piAbsolute, "7", 70},
      {0, 10, 7, TProgressIndication::piNone, "", 70},
  };
  TMarkupStatusBar bar(nullptr);
  TProgressStyle& p = bar.Panels().Add()->Progress();
  for (const Case& c : cases) {
    p.SetMin(c.min);
    p.SetMax(c.max);
    p.SetPosition(c.position);
    p.SetIndication(c.indication);
    EXPECT_EQ(p.Caption(), c.caption) << c.min << ".." << c.max << " at " << c.position;
    EXPECT_EQ(p.FilledWidth(100), c.filled) << c.min << ".." << c.max << " at " << c.position;
  }
}

TEST(MarkupStatusBarWindowTest, OnlyTheFirst128PanelsGetParts) {
  struct Case {
    int panels;
    int parts;
  };
  for (const Case c : {Case{0, 1}, Case{1, 1}, Case{128, 128}, Case{129, 128}, Case{300, 128}}) {
    TMarkupStatusBar bar(nullptr);
    for (int i = 0; i < c.panels; ++i) bar.Panels().Add()->SetWidth(10);
    std::vector<int> edges(300);
    EXPECT_EQ(bar.Perform(platform::SB_GETPARTS, edges.size(), reinterpret_cast<platform::LPARAM>(edges.data())),
              c.parts)
        << c.panels;
    EXPECT_EQ(edges[static_cast<size_t>(c.parts - 1)], -1) << "the last part reaches the end";
    if (c.parts > 1) {
      EXPECT_EQ(edges[static_cast<size_t>(c.parts - 2)], 10 * (c.parts - 1));
    }
  }
}

// A 400-pixel form with the bar along its bottom (client y 41 to 60), in the test font of 12 pixels
// (6 per character). Panel i's item rectangle starts at the sum of the widths before it + 1 and at
// bar y 3.
class MarkupStatusBarTest : public test::LabelTest {
protected:
  void SetUp() override {
    LabelTest::SetUp();
    Show(400, 60);
    bar_ = new TMarkupStatusBar(form_.get());
    bar_->SetParent(form_.get());
    bar_->Font().SetName(platform::kTestFontName);
    bar_->Font().SetHeight(-12);
    Settle();
  }
  TMarkupStatusPanel* AddPanel(Style style, int width, const std::string& text = "") {
    TMarkupStatusPanel* panel = bar_->Panels().Add();
    panel->SetStyle(style);
    panel->SetWidth(width);
    panel->SetText(text);
    return panel;
  }
  // Advances the virtual clock by ms and lets the loop handle the timer ticks and paint.
  void Wait(int ms) {
    for (int t = 0; t < ms; t += 100) {
      platform::Sleep(100);
      Settle();
    }
  }
  int BarTop() const { return bar_->Top(); }
  int Ink(const platform::TRect& barRect) {
    const platform::TRect r = Rect(barRect.Left, BarTop() + barRect.Top, barRect.Right, BarTop() + barRect.Bottom);
    return r.Width() * r.Height() - Count(platform::clBtnFace, r);
  }

  TMarkupStatusBar* bar_ = nullptr;
};

TEST_F(MarkupStatusBarTest, PanelsUnderPointsAndAnchorsUnderPoints) {
  AddPanel(Style::psText, 50, "left");
  AddPanel(Style::psHTML, 150, "<a href=\"host1\">host</a> <A title=\"x\" href=\"mailto:a@example.org\">mail</A>");
  AddPanel(Style::psHTML, 100, "plain");
  Settle();
  // Panel 1's item rectangle starts at x 51; "host" covers 52..75, "mail" 82..105.
  struct Case {
    int x, y;
    int panel;
    std::string anchor;
  };
  const Case cases[] = {
      {-1, 10, -1, ""},    {0, 10, 0, ""},         {50, 10, 0, ""},  // the border belongs to the lower index
      {51, 10, 1, ""},     {60, 10, 1, "host1"},   {78, 10, 1, ""},
      {90, 10, 1, "mailto:a@example.org"},  // the target after href, not the first quoted value
      {200, 10, 1, ""},    {201, 10, 2, ""},       {380, 10, 2, ""},  // the last panel takes the rest
      {399, 10, -1, ""},  // the size grip
      {60, 1, 1, ""},  // above the text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(bar_->GetPanel(c.x), c.panel) << c.x;
    EXPECT_EQ(bar_->IsAnchor(c.x, c.y), c.anchor) << c.x << "," << c.y;
  }
}

TEST_F(MarkupStatusBarTest, AnchorsShowInURLColorAndClicksOpenLinksOrRaiseTheEvent) {
  bar_->SetURLColor(platform::clRed);
  AddPanel(Style::psHTML, 400,
           "<a href=\"host1\">host</a> <a href=\"Mail: mailto:a@example.org\">mail</a> "
           "<a href=\"https://example.org/\">web</a> plain");  // x 2..25, 32..55, 62..79
  Settle();
  EXPECT_GT(Count(platform::clRed, Rect(2, BarTop() + 3, 80, BarTop() + 19)), 0);
  EXPECT_EQ(Count(platform::clBlue, Rect(0, BarTop(), 400, 60)), 0);

  // The shell opens links with xdg-open from the PATH: a stand-in that the recorder catches.
  const std::string bin = folder_ + "/bin";
  std::filesystem::create_directories(bin);
  platform::WriteFileAtomic(bin + "/xdg-open", "#!/bin/sh\n");
  std::filesystem::permissions(bin + "/xdg-open", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (bin + ":" + path).c_str(), 1);
  platform::RecordingLauncher launcher;
  std::vector<std::string> clicked, entered, left;
  bar_->OnAnchorClick = [&](TMarkupStatusBar*, const std::string& a) { clicked.push_back(a); };
  bar_->OnAnchorEnter = [&](TMarkupStatusBar*, const std::string& a) { entered.push_back(a); };
  bar_->OnAnchorExit = [&](TMarkupStatusBar*, const std::string& a) { left.push_back(a); };
  for (int x : {10, 40, 70, 100}) {
    Input().MouseMove(At(*form_, x, BarTop() + 10));
    Settle();
    EXPECT_EQ(bar_->Cursor(), x < 80 ? platform::crHandPoint : platform::crDefault) << x;
    Input().Click(At(*form_, x, BarTop() + 10));
    Settle();
  }
  ::setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(clicked, std::vector<std::string>{"host1"});
  EXPECT_EQ(launcher.Opened(), (std::vector<std::string>{"Mail: mailto:a@example.org", "https://example.org/"}));
  EXPECT_EQ(entered, (std::vector<std::string>{"host1", "Mail: mailto:a@example.org", "https://example.org/"}));
  EXPECT_EQ(left, std::vector<std::string>{""});
}

TEST_F(MarkupStatusBarTest, BlinkTextShowsForSixTicksAndHidesForFive) {
  AddPanel(Style::psHTML, 400, "<BLINK>Alert</BLINK>");
  Settle();
  const auto text = Rect(2, 3, 40, 18);
  ASSERT_GT(Ink(text), 0);
  // Time in ms after the start, the counter then and whether the text shows.
  struct Case {
    int ms, counter;
    bool shown;
  };
  const Case cases[] = {{100, 1, true},   {500, 5, true},   {600, 6, false}, {1000, 10, false},
                        {1100, 0, true},  {1600, 5, true},  {1700, 6, false}, {2100, 10, false},
                        {2200, 0, true}};
  int now = 0;
  for (const Case& c : cases) {
    Wait(c.ms - now);
    now = c.ms;
    EXPECT_EQ(bar_->BlinkCounter(), c.counter) << c.ms;
    EXPECT_EQ(Ink(text) > 0, c.shown) << c.ms;
  }
}

TEST_F(MarkupStatusBarTest, LockPanelsFollowTheKeysWithinATick) {
  struct Case {
    Style style;
    int key;
    std::string text;
  };
  const Case cases[] = {{Style::psNumLock, platform::VK_NUMLOCK, "NUM"},
                        {Style::psCapsLock, platform::VK_CAPITAL, "CAP"},
                        {Style::psScrollLock, platform::VK_SCROLL, "SCRL"}};
  for (const Case& c : cases) AddPanel(c.style, 50);
  Wait(100);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(bar_->Panels().Items(i)->Text(), "") << i;
    EXPECT_EQ(Ink(Rect(50 * i + 2, 3, 50 * i + 46, 18)), 0) << i;
  }
  for (const Case& c : cases) {
    Input().SetKeyToggled(c.key, true);
    Wait(100);
    for (int i = 0; i < 3; ++i) {
      const bool on = platform::GetKeyState(cases[i].key) & 1;
      EXPECT_EQ(bar_->Panels().Items(i)->Text(), on ? cases[i].text : "") << c.text << " panel " << i;
      EXPECT_EQ(Ink(Rect(50 * i + 2, 3, 50 * i + 46, 18)) > 0, on) << c.text << " panel " << i;
    }
  }
  for (const Case& c : cases) Input().SetKeyToggled(c.key, false);
  Wait(100);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(bar_->Panels().Items(i)->Text(), "");
}

TEST_F(MarkupStatusBarTest, ClockPanelsFormatTheVirtualTime) {
  TMarkupStatusPanel* date = AddPanel(Style::psDate, 100);
  date->SetDateFormat("dd.mm.yyyy");
  TMarkupStatusPanel* time = AddPanel(Style::psTime, 100);
  Wait(100);
  const platform::TDateTime now = platform::Now();
  EXPECT_EQ(date->Text(), platform::FormatDateTime("dd.mm.yyyy", now));
  EXPECT_EQ(time->Text(), platform::FormatDateTime("hh:mm:ss", now));
  const std::string before = time->Text();
  Wait(1000);
  EXPECT_NE(time->Text(), before);
}

TEST_F(MarkupStatusBarTest, ProgressPanelFillsItsShareOfTheBar) {
  TMarkupStatusPanel* panel = AddPanel(Style::psProgress, 400);
  TProgressStyle& p = panel->Progress();
  p.SetColor(platform::clRed);
  p.SetBackGround(platform::clWhite);
  p.SetIndication(TProgressIndication::piNone);
  p.SetMin(2);
  p.SetMax(12);
  struct Case {
    int position;
    int percent;
  };
  for (const Case c : {Case{2, 0}, Case{7, 50}, Case{12, 100}, Case{20, 100}, Case{0, 0}}) {
    p.SetPosition(c.position);
    Settle();
    int red = 0, white = 0;
    for (int x = 0; x < 400; ++x) {
      red += Pixel(x, BarTop() + 8) == platform::clRed;
      white += Pixel(x, BarTop() + 8) == platform::clWhite;
    }
    EXPECT_GT(red + white, 300) << c.position;
    EXPECT_NEAR(red, (red + white) * c.percent / 100, 1) << c.position;
  }
}

TEST_F(MarkupStatusBarTest, OwnerDrawnPanelsAreDrawnByTheEvent) {
  AddPanel(Style::psText, 100, "text");
  AddPanel(Style::psOwnerDraw, 100);
  std::vector<platform::TRect> rects;
  bar_->OnDrawPanel = [&](TMarkupStatusBar* bar, TMarkupStatusPanel* panel, const platform::TRect& r) {
    EXPECT_EQ(panel->Index(), 1);
    rects.push_back(r);
    bar->Canvas().Brush().SetColor(platform::clGreen);
    bar->Canvas().FillRect(r);
  };
  Settle();
  ASSERT_FALSE(rects.empty());
  EXPECT_EQ(rects.back().Left, 101);
  EXPECT_GT(Count(platform::clGreen, Rect(100, BarTop(), 200, 60)), 0);
  EXPECT_EQ(Count(platform::clGreen, Rect(0, BarTop(), 100, 60)), 0);
}

// A bar as the configurator shows it: markup with an anchor, a centred image, progress, the date and
// time, the lock keys and an owner-drawn panel.
TEST_F(MarkupStatusBarTest, ReferenceScreenshot) {
  form_->SetBounds(100, 100, 700, 60);
  platform::TImageList images(nullptr);
  platform::TBitmap picture;
  picture.SetSize(16, 16);
  for (TColor color : {platform::clRed, platform::clGreen}) {
    picture.Canvas().Brush().SetColor(color);
    picture.Canvas().FillRect(Rect(0, 0, 16, 16));
    images.Add(picture, nullptr);
  }
  bar_->SetImages(&images);
  AddPanel(Style::psHTML, 150, "<b>Service:</b> <a href=\"host1\">host1</a>");
  AddPanel(Style::psHTML, 25, "<p align=\"center\"><IMG src=\"idx:1\">")->SetBevel(TMarkupStatusPanelBevel::pbNone);
  TProgressStyle& progress = AddPanel(Style::psProgress, 100)->Progress();
  progress.SetMax(10);
  progress.SetPosition(4);
  AddPanel(Style::psDate, 80)->SetAlignment(platform::TAlignment::taCenter);
  AddPanel(Style::psTime, 70)->SetAlignment(platform::TAlignment::taCenter);
  AddPanel(Style::psNumLock, 50)->SetAlignment(platform::TAlignment::taCenter);
  AddPanel(Style::psCapsLock, 50)->SetAlignment(platform::TAlignment::taCenter);
  AddPanel(Style::psOwnerDraw, 60);
  AddPanel(Style::psText, 100, "Wait for Service");
  bar_->OnDrawPanel = [](TMarkupStatusBar* bar, TMarkupStatusPanel*, const platform::TRect& r) {
    bar->Canvas().Brush().SetColor(platform::clYellow);
    bar->Canvas().FillRect(r);
  };
  Input().SetKeyToggled(platform::VK_NUMLOCK, true);
  Wait(100);
  Screenshot("markupstatusbar");
  Input().SetKeyToggled(platform::VK_NUMLOCK, false);
  // The image sits centred in its 25-pixel panel.
  int left = 400, right = 0, top = 60, bottom = 0;
  for (int y = BarTop(); y < 60; ++y) {
    for (int x = 150; x < 175; ++x) {
      if (Pixel(x, y) != platform::clGreen) continue;
      left = std::min(left, x), right = std::max(right, x + 1), top = std::min(top, y), bottom = std::max(bottom, y + 1);
    }
  }
  // The panel's 20 pixels of text room start at x 152; the item is 15 pixels high.
  EXPECT_EQ(platform::Rect(left, top - BarTop(), right, bottom - BarTop()), platform::Rect(154, 3, 170, 18));
}

}  // namespace
}  // namespace controls

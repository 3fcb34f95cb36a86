#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace platform {
namespace {

// A replacement hint window class that records how the application uses it.
class RecordingHintWindow : public THintWindow {
public:
  explicit RecordingHintWindow(TComponent* owner) : THintWindow(owner) {}
  static inline std::vector<std::string> calls;

  TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override {
    calls.push_back("calc " + AHint);
    return Rect(0, 0, 50, 20);
  }
  void ActivateHint(TRect Rect, const std::string& AHint) override {
    calls.push_back("activate " + AHint + " at " + std::to_string(Rect.Left) + "," + std::to_string(Rect.Top));
    THintWindow::ActivateHint(Rect, AHint);
  }
};

class HintTest : public FormTest {
protected:
  void SetUp() override {
    FormTest::SetUp();
    RecordingHintWindow::calls.clear();
    Screen().HintFont().SetName(kTestFontName);
  }
  void TearDown() override {
    ApplicationHints().SetHintWindowClass({});
    ApplicationHints().OnShowHint = nullptr;
    FormTest::TearDown();
  }
  // Runs the loop until the clock has advanced by ms.
  static void Wait(int64_t ms) {
    int64_t until = MonotonicMs() + ms;
    WindowHandle clock("TWaitClock", "", WindowKind::Hidden, nullptr);
    SetTimer(clock.Handle(), 1, static_cast<UINT>(ms));
    Application().HandleMessagesUntil([&] { return MonotonicMs() >= until; });
  }
};

TEST_F(HintTest, AHintShowsAfterHintPauseThroughTheReplacedClassWithTheTextOnShowHintGives) {
  ApplicationHints().SetHintWindowClass(HintWindowClassOf<RecordingHintWindow>());
  ApplicationHints().SetHintPause(500);
  ApplicationHints().SetHintHidePause(2500);
  std::vector<std::string> asked;
  ApplicationHints().OnShowHint = [&](std::string& text, bool& canShow, THintInfo& info) {
    asked.push_back(text + " for " + info.HintControl->Name());
    text = "<b>" + text + "</b>";
  };
  auto form = ShowForm(200, 150);
  auto* box = new TCustomControl(form.get());
  box->SetName("Box");
  box->SetParent(form.get());
  box->SetBounds(10, 10, 50, 50);
  box->SetHint("Short|The long one");
  box->SetShowHint(true);

  Input().MouseMove(At(*box, 5, 5));
  Settle();
  Wait(400);
  EXPECT_TRUE(RecordingHintWindow::calls.empty());
  Wait(150);
  TPoint mouse = At(*box, 5, 5);
  ASSERT_EQ(RecordingHintWindow::calls,
            (std::vector<std::string>{"calc <b>Short</b>", "activate <b>Short</b> at " + std::to_string(mouse.X) +
                                                               "," + std::to_string(mouse.Y + 16)}));
  EXPECT_EQ(asked, (std::vector<std::string>{"Short for Box"}));
  THintWindow* window = ApplicationHints().HintWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(dynamic_cast<RecordingHintWindow*>(window));
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->Caption(), "<b>Short</b>");

  Wait(2600);
  EXPECT_FALSE(window->Visible());

  // A press cancels a pending hint; a control without ShowHint shows none.
  Input().MouseMove(At(*box, 6, 6));
  Input().MouseDown(TMouseButtonKind::Left, At(*box, 6, 6));
  Input().MouseUp(TMouseButtonKind::Left, At(*box, 6, 6));
  Settle();
  Wait(1000);
  EXPECT_EQ(asked.size(), 1u);
}

TEST_F(HintTest, TheStandardHintWindowIsSizedToItsTextAndKeptOnTheScreen) {
  Screen().HintFont().SetHeight(-10);
  auto form = ShowForm(200, 150);
  form->SetBounds(900, 600, 120, 100);
  form->SetHint("Hint text");
  form->SetShowHint(true);
  Input().MouseMove(At(*form, 110, 90));
  Settle();
  Wait(600);
  THintWindow* window = ApplicationHints().HintWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->Visible());
  TRect text = window->CalcHintRect(1000, "Hint text", nullptr);
  EXPECT_EQ(window->Width(), text.Width());
  EXPECT_EQ(window->Height(), text.Height() + 4);
  EXPECT_EQ(window->Left() + window->Width(), 1024);  // moved left to stay on the screen
  EXPECT_LE(window->Top() + window->Height(), 768);
}

// A control that a static of the program's own holds goes after the application, and with it the hints
// that the application owns: the control still tells the hints that it goes.
std::unique_ptr<TControl> g_controlAfterTheApplication;  // constant-initialised: destroyed after Application()

TEST(HintShutdownTest, AControlThatGoesAfterTheApplicationTellsNoFreedHints) {
  EXPECT_EXIT(
      {
        g_controlAfterTheApplication = std::make_unique<TControl>(nullptr);
        ApplicationHints().CancelHint();  // installed into the application
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace platform

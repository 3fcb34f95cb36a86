// The controls demonstration as a person uses it on an X display: the real program on an Xvfb of the
// test's own, typed into and clicked through xdotool, read back through the clipboard (xclip) and xwd.
#include <gmock/gmock.h>

#include <thread>

#include "DemoForm.h"
#include "X11TestSupport.h"
#include "XwdImage.h"
#include "platform/core/Paths.h"
#include "platform/app/Application.h"
#include "platform/app/FormLanguage.h"
#include "platform/ui/HeadlessBackend.h"

namespace platform::test {
namespace {

using ::testing::HasSubstr;

// Where the demo's controls lie in its form's client area (English texts, as the form resource places
// them below the menu bar and the tool panel).
constexpr TPoint kFileMenu{15, 9};
constexpr TPoint kOkButton{45, 83};
constexpr TPoint kNameEdit{90, 129};
constexpr TPoint kLogMemo{300, 260};

// Runs a peer to its end and gives its exit code, its output in `output`.
int RunTool(const std::vector<std::string>& argv, const std::string& display, std::string* output = nullptr) {
  PeerProcess peer(argv, display);
  const int code = peer.Wait();
  if (output != nullptr) *output = peer.Output();
  return code;
}

// Asks `done` every 50 ms until it holds, at most timeoutMs.
bool Eventually(const std::function<bool()>& done, int timeoutMs = 5000) {
  for (int waited = 0; !done(); waited += 50) {
    if (waited >= timeoutMs) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

class ControlsDemoTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_FALSE(server_.Display().empty()) << "Xvfb did not start"; }

  // Starts the demo in English and waits for its form.
  void StartDemo() {
    demo_ = std::make_unique<PeerProcess>(
        std::vector<std::string>{"env", "LC_ALL=C.UTF-8", "LANG=C.UTF-8", ExeDir() + "controls_demo"}, Display());
    form_ = WaitForWindow("Controls");
    ASSERT_FALSE(form_.empty()) << "the demo showed no window: " << demo_->Output();
  }

  const std::string& Display() const { return server_.Display(); }

  // The id of the window with this title; empty when there is none.
  std::string FindWindow(const std::string& title) {
    std::string ids;
    if (RunTool({"xdotool", "search", "--name", "^" + title + "$"}, Display(), &ids) != 0) return {};
    return ids.substr(0, ids.find('\n'));
  }
  std::string WaitForWindow(const std::string& title) {
    std::string id;
    Eventually([&] { return !(id = FindWindow(title)).empty(); }, 10000);
    return id;
  }

  void Xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    EXPECT_EQ(RunTool(arguments, Display()), 0) << arguments[1];
  }
  // A click at a point of a window's client area.
  void Click(const std::string& window, TPoint at) {
    Xdotool({"mousemove", "--window", window, std::to_string(at.X), std::to_string(at.Y), "click", "1"});
  }

  // What the clipboard holds as text (the demo serves it while it owns it).
  std::string ClipboardText() {
    std::string text;
    return RunTool({"xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"}, Display(), &text) == 0 ? text : "";
  }
  // The text of the control at `at`: selected whole and copied, as a person would take it.
  std::string CopiedText(TPoint at, const std::string& expected) {
    Click(form_, at);
    Xdotool({"key", "--delay", "20", "ctrl+a", "ctrl+c"});
    std::string text;
    Eventually([&] { return (text = ClipboardText()) == expected; });
    return text;
  }

  XvfbServer server_;
  std::unique_ptr<PeerProcess> demo_;
  std::string form_;
};

// The real window shows what the headless backend draws for the same form, pixel for pixel; both
// pictures stay in the artefacts folder.
TEST_F(ControlsDemoTest, TheFormIsARealWindowThatLooksAsWithoutADisplay) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  std::string classHint;
  RunTool({"xprop", "-id", form_, "WM_CLASS"}, Display(), &classHint);
  EXPECT_THAT(classHint, HasSubstr("\"TDemoForm\""));

  char name[] = "/tmp/velmora-demo-xwd-XXXXXX";
  ::close(::mkstemp(name));
  std::unique_ptr<TBitmap> real;
  Eventually([&] {  // the first paint follows the map
    RunTool({"xwd", "-silent", "-id", form_, "-out", name}, Display());
    real = ReadXwd(ReadFileBytes(name));
    return real != nullptr && (real->ScanLine(real->Height() / 2)[2] & 0xFFFFFF) != 0;
  });
  ::unlink(name);
  ASSERT_NE(real, nullptr);

  SetResourceLanguage("ENG");
  SetBackend(std::make_unique<THeadlessBackend>());
  auto& headless = static_cast<THeadlessBackend&>(Backend());
  {
    TDemoForm form(nullptr);
    form.Show();
    Application().ProcessMessages();
    ExpectSamePicture(*real, headless.Info(form.BackendWindow()).shown, "controls_demo.x11.png",
                      "controls_demo.headless.png");
  }
  SetBackend(nullptr);
  SetResourceLanguage("");
}

// A German keyboard: umlauts and ß from their own keys, "@" and "€" with AltGr, which alone is no Alt
// (it opens no menu that would take the next key).
TEST_F(ControlsDemoTest, GermanTypingReachesTheEdit) {
  ASSERT_EQ(RunTool({"setxkbmap", "-display", Display(), "de"}, Display()), 0);
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Click(form_, kNameEdit);
  Xdotool({"key", "ctrl+a"});
  Xdotool({"type", "--delay", "20", "Grüße aus Köln, ß"});
  Xdotool({"key", "--delay", "20", "ISO_Level3_Shift+q", "ISO_Level3_Shift+e", "ISO_Level3_Shift", "x"});
  EXPECT_EQ(CopiedText(kNameEdit, "Grüße aus Köln, ß@€x"), "Grüße aus Köln, ß@€x");
}

TEST_F(ControlsDemoTest, AClickOnTheButtonRunsItsHandler) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Click(form_, kOkButton);
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\r\nHost 1 reachable\r\nSave changes"),
            "Log:\r\nHost 1 reachable\r\nSave changes");
}

TEST_F(ControlsDemoTest, AMenuOpensAndItsItemRuns) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Click(form_, kFileMenu);
  // The menu opens below its title; its first item is "Save".
  Click(form_, {kFileMenu.X + 20, 19 + 10});
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\r\nHost 1 reachable\r\nSave changes"),
            "Log:\r\nHost 1 reachable\r\nSave changes");
}

// Under a window manager, whose close box asks the dialog to close: its close query refuses until its
// check box allows it.
TEST_F(ControlsDemoTest, AModalDialogsCloseBoxAnswersItsCloseQuery) {
  char marker[] = "/tmp/velmora-demo-wm-XXXXXX";
  ::close(::mkstemp(marker));
  ::unlink(marker);
  PeerProcess manager({"openbox", "--sm-disable", "--startup", std::string("/usr/bin/touch ") + marker}, Display());
  ASSERT_TRUE(Eventually([&] { return FileExists(marker); })) << "openbox did not start: " << manager.Output();
  ::unlink(marker);
  ASSERT_NO_FATAL_FAILURE(StartDemo());

  Xdotool({"windowactivate", "--sync", form_});
  Xdotool({"key", "--delay", "50", "alt+f", "o"});
  const std::string dialog = WaitForWindow("Options");
  ASSERT_FALSE(dialog.empty()) << "the dialog did not open";
  EXPECT_EQ(RunTool({"wmctrl", "-c", "Options"}, Display()), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(FindWindow("Options"), dialog) << "the close query refused";

  Xdotool({"windowactivate", "--sync", dialog});
  Xdotool({"key", "alt+a"});  // "&Allow closing"
  EXPECT_EQ(RunTool({"wmctrl", "-c", "Options"}, Display()), 0);
  EXPECT_TRUE(Eventually([&] { return FindWindow("Options").empty(); })) << "the dialog did not close";
  // The form works again once its modal dialog is gone.
  Click(form_, kOkButton);
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\r\nHost 1 reachable\r\nSave changes"),
            "Log:\r\nHost 1 reachable\r\nSave changes");
}

TEST_F(ControlsDemoTest, TextTravelsBetweenTheEditAndXclip) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  PeerProcess owner({"xclip", "-i", "-selection", "clipboard", "-t", "UTF8_STRING", "-quiet"}, Display(),
                    "von xclip äöü");
  Click(form_, kNameEdit);
  Xdotool({"key", "--delay", "20", "ctrl+a", "ctrl+v", "End", "exclam"});
  EXPECT_EQ(CopiedText(kNameEdit, "von xclip äöü!"), "von xclip äöü!");
  EXPECT_TRUE(owner.Ended()) << "xclip lost the clipboard to the demo";
}

// The primary selection, as X users expect: what is selected is offered to others, and the middle button
// pastes what was last selected, here or in another program.
TEST_F(ControlsDemoTest, SelectedTextIsOfferedAndTheMiddleButtonPastesIt) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Xdotool({"mousemove", "--window", form_, "24", std::to_string(kNameEdit.Y), "click", "--repeat", "2", "1"});
  std::string primary;
  EXPECT_TRUE(Eventually([&] {
    return RunTool({"xclip", "-o", "-selection", "primary"}, Display(), &primary) == 0 && primary == "Host";
  })) << primary;
  Xdotool({"mousemove", "--window", form_, std::to_string(kLogMemo.X), std::to_string(kLogMemo.Y), "click", "2"});
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\r\nHost 1 reachableHost"), "Log:\r\nHost 1 reachableHost");

  PeerProcess owner({"xclip", "-i", "-selection", "primary", "-quiet"}, Display(), " von außen");
  ASSERT_TRUE(Eventually([&] {
    return RunTool({"xclip", "-o", "-selection", "primary"}, Display(), &primary) == 0 && primary == " von außen";
  }));
  Xdotool({"mousemove", "--window", form_, "165", std::to_string(kNameEdit.Y), "click", "2"});
  EXPECT_EQ(CopiedText(kNameEdit, "Host name von außen"), "Host name von außen");
}

}  // namespace
}  // namespace platform::test

// The controls demonstration as a person uses it on an X display: the real program on an Xvfb of the
// test's own, typed into and clicked through xdotool, read back through the clipboard (xclip) and xwd.
#include <gmock/gmock.h>

#include <sstream>
#include <thread>

#include "DemoForm.h"
#include "X11TestSupport.h"
#include "XwdImage.h"
#include "platform/core/Clock.h"
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
  // The text of the control at `at`: selected whole and copied, as a person would take it (X programs
  // get LF line ends).
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
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\nHost 1 reachable\nSave changes"),
            "Log:\nHost 1 reachable\nSave changes");
}

TEST_F(ControlsDemoTest, AMenuOpensAndItsItemRuns) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Click(form_, kFileMenu);
  // The menu opens below its title; its first item is "Save".
  Click(form_, {kFileMenu.X + 20, 19 + 10});
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\nHost 1 reachable\nSave changes"),
            "Log:\nHost 1 reachable\nSave changes");
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
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\nHost 1 reachable\nSave changes"),
            "Log:\nHost 1 reachable\nSave changes");
}

// What the desktop reads of one of the program's windows: whose it is, its icon in the three sizes of
// the program's icon resource, and an answer to the window manager's ping within 100 ms.
void ExpectDesktopConventions(const std::string& window, pid_t pid, const std::string& display) {
  std::string properties;
  RunTool({"xprop", "-id", window, "_NET_WM_PID", "WM_CLIENT_MACHINE", "WM_PROTOCOLS", "_NET_WM_ICON"}, display,
          &properties);
  EXPECT_THAT(properties, HasSubstr("_NET_WM_PID(CARDINAL) = " + std::to_string(pid) + "\n")) << window;
  EXPECT_THAT(properties, HasSubstr("WM_CLIENT_MACHINE(STRING) = \"")) << window;
  EXPECT_THAT(properties, HasSubstr("protocols  WM_DELETE_WINDOW, _NET_WM_PING\n")) << window;
  for (const char* size : {"Icon (16 x 16):", "Icon (32 x 32):", "Icon (48 x 48):"})
    EXPECT_THAT(properties, HasSubstr(size)) << window;
  std::string verdict;
  RunTool({ExeDir() + "platform_backends_desktop_peer", "ping", window}, display, &verdict);
  EXPECT_THAT(verdict, ::testing::MatchesRegex("answered [0-9]+\n")) << window;
  if (verdict.rfind("answered ", 0) == 0) {
    EXPECT_LE(std::stoi(verdict.substr(9)), 100) << window;
  }
}

// Every form of the demo tells the desktop whose it is, shows the program's icon and answers the
// window manager's ping at once, also while the options dialog runs its modal loop inside the menu
// item's handler; the launcher's startup notification ends when the first form shows.
TEST_F(ControlsDemoTest, EveryFormKeepsTheDesktopsConventions) {
  PeerProcess launcher({ExeDir() + "platform_backends_desktop_peer", "startup"}, Display());
  ASSERT_TRUE(Eventually([&] { return launcher.Output() == "watching\n"; })) << launcher.Output();
  demo_ = std::make_unique<PeerProcess>(
      std::vector<std::string>{"env", "LC_ALL=C.UTF-8", "LANG=C.UTF-8", "DESKTOP_STARTUP_ID=menu-42_TIME100",
                               ExeDir() + "controls_demo", "--grid"},
      Display());
  form_ = WaitForWindow("Controls");
  const std::string grid = WaitForWindow("Grid");
  ASSERT_FALSE(form_.empty() || grid.empty()) << demo_->Output();
  EXPECT_EQ(launcher.Wait(), 0);
  EXPECT_EQ(launcher.Output(), "watching\nremove: ID=\"menu-42_TIME100\"\n");
  std::string startupId;
  RunTool({"xprop", "-id", form_, "_NET_STARTUP_ID"}, Display(), &startupId);
  EXPECT_EQ(startupId, "_NET_STARTUP_ID(UTF8_STRING) = \"menu-42_TIME100\"\n");

  std::string found;
  RunTool({"xdotool", "search", "--pid", std::to_string(demo_->Pid())}, Display(), &found);
  EXPECT_THAT(found, HasSubstr(form_ + "\n"));
  EXPECT_THAT(found, HasSubstr(grid + "\n"));
  ExpectDesktopConventions(form_, demo_->Pid(), Display());
  ExpectDesktopConventions(grid, demo_->Pid(), Display());

  Xdotool({"windowfocus", "--sync", form_});
  Xdotool({"key", "--delay", "50", "alt+f", "o"});
  const std::string dialog = WaitForWindow("Options");
  ASSERT_FALSE(dialog.empty()) << "the dialog did not open";
  std::string modal;
  RunTool({"xprop", "-id", dialog, "_NET_WM_STATE", "WM_TRANSIENT_FOR", "WM_NORMAL_HINTS", "_NET_WM_USER_TIME"},
          Display(), &modal);
  EXPECT_THAT(modal, HasSubstr("_NET_WM_STATE(ATOM) = _NET_WM_STATE_MODAL\n"));
  // Its dialog border fixes its size; it was opened by a key, whose time it carries.
  EXPECT_THAT(modal, HasSubstr("program specified minimum size: 260 by 90\n"));
  EXPECT_THAT(modal, HasSubstr("program specified maximum size: 260 by 90\n"));
  EXPECT_THAT(modal, ::testing::ContainsRegex("_NET_WM_USER_TIME\\(CARDINAL\\) = [1-9][0-9]*\n"));
  std::ostringstream owner;
  owner << "WM_TRANSIENT_FOR(WINDOW): window id # 0x" << std::hex << std::stoul(form_) << "\n";
  EXPECT_THAT(modal, HasSubstr(owner.str()));
  for (const std::string& window : {dialog, form_, grid}) ExpectDesktopConventions(window, demo_->Pid(), Display());
}

// The X server going away ends the program at once with a message, also inside a modal loop.
TEST_F(ControlsDemoTest, TheServerGoingAwayEndsTheDemoWithAMessage) {
  ASSERT_NO_FATAL_FAILURE(StartDemo());
  Xdotool({"windowfocus", "--sync", form_});
  Xdotool({"key", "--delay", "50", "alt+f", "o"});
  ASSERT_FALSE(WaitForWindow("Options").empty()) << "the dialog did not open";
  const int64_t start = MonotonicMs();
  server_.Stop();
  EXPECT_TRUE(Eventually([&] { return demo_->Ended(); }, 1000)) << "the demo still runs";
  EXPECT_LE(MonotonicMs() - start, 1000);
  EXPECT_EQ(demo_->Wait(), 1);
  EXPECT_EQ(demo_->Output(), "controls_demo: the connection to the X server " + Display() + " was lost\n");
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
  EXPECT_EQ(CopiedText(kLogMemo, "Log:\nHost 1 reachableHost"), "Log:\nHost 1 reachableHost");

  PeerProcess owner({"xclip", "-i", "-selection", "primary", "-quiet"}, Display(), " von außen");
  ASSERT_TRUE(Eventually([&] {
    return RunTool({"xclip", "-o", "-selection", "primary"}, Display(), &primary) == 0 && primary == " von außen";
  }));
  Xdotool({"mousemove", "--window", form_, "165", std::to_string(kNameEdit.Y), "click", "2"});
  EXPECT_EQ(CopiedText(kNameEdit, "Host name von außen"), "Host name von außen");
}

}  // namespace
}  // namespace platform::test

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/app/Application.h"
#include "platform/app/MessageQueue.h"
#include "platform/app/Window.h"

namespace platform {
namespace {

constexpr uid_t kNobody = 65534;
const char* const kStatus = "4E0D112F-5444-4876-AD3C-6BA23D58CA70";
const char* const kReset = "77846BBD-1D2A-4322-8E8D-749718755CB7";

// Real time that a peer's answer, or a post's arrival, may take on a loaded machine before the test fails.
constexpr int64_t kAnswerMs = 20'000;

std::string Hex(HWND hwnd) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(hwnd));
  return text;
}

HWND ParseHwnd(const std::string& text) { return HWND{std::strtoull(text.c_str(), nullptr, 16)}; }

// A station helper process (tests/helper/StationHelper.cpp) started from the test's executables' folder,
// spoken to over its standard input and output.
class Peer {
public:
  Peer(const std::string& program, std::optional<uid_t> uid) {
    int in[2], out[2];
    EXPECT_EQ(::pipe(in), 0);
    EXPECT_EQ(::pipe(out), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      ::close(in[1]);
      ::close(out[0]);
      std::string user = uid ? std::to_string(*uid) : "";
      if (uid)
        ::execl(program.c_str(), program.c_str(), user.c_str(), nullptr);
      else
        ::execl(program.c_str(), program.c_str(), nullptr);
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
    std::string ready = Expect("ready ");
    application_ = ParseHwnd(ready);
  }

  ~Peer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(input_);
    ::close(output_);
  }

  pid_t Pid() const { return pid_; }
  HWND ApplicationWindow() const { return application_; }

  // Sends a command and returns the rest of its answer line (after the given prefix).
  std::string Ask(const std::string& command, const std::string& prefix) {
    Tell(command);
    return Expect(prefix);
  }

  // Sends a command without waiting for its answer; Answered tells, without waiting, whether a line came.
  void Tell(const std::string& command) {
    std::string line = command + "\n";
    EXPECT_EQ(::write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  }
  bool Answered() { return !lines_.empty() || ReadLine(0); }

  // Waits (real time, at most kAnswerMs) for the report of a registered message that reached a window.
  bool Got(HWND hwnd, UINT msg, WPARAM wParam) {
    std::string wanted = Hex(hwnd) + " " + std::to_string(msg) + " " + std::to_string(wParam);
    for (int64_t deadline = MonotonicMs() + kAnswerMs;;) {
      for (const std::string& got : got_)
        if (got == wanted) return true;
      if (!ReadLine(deadline - MonotonicMs())) return false;
    }
  }
  const std::vector<std::string>& AllGot() const { return got_; }

  void Kill() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  // Waits for the answer line that starts with prefix and returns the rest of it.
  std::string Expect(const std::string& prefix) {
    for (int64_t deadline = MonotonicMs() + kAnswerMs;;) {
      for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].rfind(prefix, 0) == 0) {
          std::string rest = lines_[i].substr(prefix.size());
          lines_.erase(lines_.begin() + static_cast<long>(i));
          return rest;
        }
      if (!ReadLine(deadline - MonotonicMs())) {
        ADD_FAILURE() << "no answer starting with \"" << prefix << "\"";
        return "";
      }
    }
  }

private:
  // Reads one line, waiting at most timeoutMs (0: only what is there now).
  bool ReadLine(int64_t timeoutMs) {
    for (size_t end; (end = buffer_.find('\n')) == std::string::npos;) {
      pollfd p{output_, POLLIN, 0};
      if (timeoutMs < 0 || ::poll(&p, 1, static_cast<int>(timeoutMs)) <= 0) return false;
      char chunk[4096];
      ssize_t n = ::read(output_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
    size_t end = buffer_.find('\n');
    std::string line = buffer_.substr(0, end);
    buffer_.erase(0, end + 1);
    if (line.rfind("got ", 0) == 0)
      got_.push_back(line.substr(4));
    else
      lines_.push_back(line);
    return true;
  }

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  HWND application_{};
  std::string buffer_;
  std::vector<std::string> lines_;
  std::vector<std::string> got_;
};

// Runs on the real clock in a temporary executables' folder that holds a copy of the helper program.
class WindowStationTest : public ::testing::Test {
protected:
  void SetUp() override {
    ::signal(SIGPIPE, SIG_IGN);  // a peer that ended makes its test fail, not the whole binary
    UseRealClock();
    char pattern[] = "/tmp/velmora-station-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    ::chmod(folder_.c_str(), 0755);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    helper_ = folder_ + "/platform_app_station_helper";
    std::filesystem::copy_file(self + "/platform_app_station_helper", helper_);
    ::chmod(helper_.c_str(), 0755);
    OverrideExeFileName(folder_ + "/program");
  }
  void TearDown() override {
    MSG msg;
    while (PeekMessage(msg)) {
    }
    OverrideExeFileName("");
    std::filesystem::remove_all(folder_);
  }

  // Lets the user nobody write the executables' folder (as the folder's owner).
  void GiveFolderToNobody() { ASSERT_EQ(::chown(folder_.c_str(), kNobody, kNobody), 0); }

  // Opens the station folder and its files to everybody by hand (after the last process of a permitted
  // user opened the station, so none closes it again); then nobody posts the reset to the window with
  // wParam 1 and root with wParam 2, and both posts are sent.
  void PostFromOutsiderAndInsiderThroughAnOpenedStation(HWND window) {
    Peer insider(helper_, std::nullopt);
    std::filesystem::permissions(folder_ + "/.station", std::filesystem::perms::all);
    for (auto& file : std::filesystem::directory_iterator(folder_ + "/.station"))
      std::filesystem::permissions(file.path(), std::filesystem::perms::all);
    Peer outsider(helper_, kNobody);
    EXPECT_EQ(outsider.Ask("post\t" + Hex(window) + "\t" + kReset + "\t1", "posted "), "1");
    EXPECT_EQ(insider.Ask("post\t" + Hex(window) + "\t" + kReset + "\t2", "posted "), "1");
  }

  // Runs this process's loop until `done` holds or kAnswerMs of real time have passed.
  bool PumpUntil(TApplication& app, const std::function<bool()>& done) {
    for (int64_t deadline = MonotonicMs() + kAnswerMs; !done() && MonotonicMs() < deadline;) {
      app.ProcessMessages();
      MessageQueue::Current().Wait(MonotonicMs() + 20);
    }
    return done();
  }

  std::string folder_;
  std::string helper_;
};

struct Received {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  bool operator==(const Received&) const = default;
};

TEST_F(WindowStationTest, ProcessesOfTwoUsersFindEachOthersWindowsAndPostBothWays) {
  GiveFolderToNobody();
  UINT status = RegisterWindowMessage(kStatus), reset = RegisterWindowMessage(kReset);
  std::vector<Received> received;
  WindowHandle form("TForm1", "Velmora - Konfigurator", WindowKind::TopLevel,
                    [&](TMessage& m) { received.push_back({form.Handle(), m.Msg, m.WParam}); });

  Peer service(helper_, kNobody);
  EXPECT_EQ(service.Ask(std::string("register\t") + kReset, "number "), std::to_string(reset));
  EXPECT_EQ(service.Ask(std::string("register\t") + kStatus, "number "), std::to_string(status));
  HWND serviceWindow = ParseHwnd(service.Ask("window\tTTarvonex\tVelmora", "window "));

  // The service (as nobody) finds the configurator's window by class and caption, ASCII case aside.
  EXPECT_EQ(ParseHwnd(service.Ask("find\tTForm1\tVelmora - Configurator", "found ")), HWND{});
  EXPECT_EQ(ParseHwnd(service.Ask("find\ttform1\tVELMORA - KONFIGURATOR", "found ")), form.Handle());
  EXPECT_EQ(service.Ask("post\t" + Hex(form.Handle()) + "\t" + kStatus + "\t1", "posted "), "1");
  TApplication app;
  EXPECT_TRUE(PumpUntil(app, [&] { return !received.empty(); }));
  EXPECT_EQ(received, (std::vector<Received>{{form.Handle(), status, 1}}));

  // And the configurator (root) finds the service's window and posts to it.
  EXPECT_EQ(FindWindow("TTarvonex", "Velmora"), serviceWindow);
  EXPECT_TRUE(IsWindow(serviceWindow));
  EXPECT_TRUE(PostMessage(serviceWindow, reset, 7, 0));
  EXPECT_TRUE(service.Got(serviceWindow, reset, 7));

  // A caption change is what is found from then on.
  SetWindowText(form.Handle(), "Velmora - Configurator");
  EXPECT_EQ(ParseHwnd(service.Ask("find\tTForm1\tVelmora - Configurator", "found ")), form.Handle());
}

TEST_F(WindowStationTest, BroadcastReachesEveryTopLevelWindowOfEveryProcess) {
  GiveFolderToNobody();
  UINT reset = RegisterWindowMessage(kReset);
  TApplication app;
  app.Initialize();
  std::vector<Received> received;
  WindowHandle form("TForm1", "Velmora - Konfigurator", WindowKind::TopLevel, nullptr);
  app.OnMessage = [&](MSG& msg, bool&) {  // (windows of earlier tests get the broadcast too)
    if (msg.hwnd == app.Handle() || msg.hwnd == form.Handle()) received.push_back({msg.hwnd, msg.message, msg.wParam});
  };
  WindowHandle hidden("TTimer", "", WindowKind::Hidden, nullptr);

  Peer asRoot(helper_, std::nullopt), asNobody(helper_, kNobody);
  HWND rootWindow = ParseHwnd(asRoot.Ask("window\tTForm2\tother", "window "));

  EXPECT_TRUE(PostMessage(HWND_BROADCAST, reset, 3, 0));
  EXPECT_TRUE(asRoot.Got(asRoot.ApplicationWindow(), reset, 3));
  EXPECT_TRUE(asRoot.Got(rootWindow, reset, 3));
  EXPECT_TRUE(asNobody.Got(asNobody.ApplicationWindow(), reset, 3));
  EXPECT_TRUE(PumpUntil(app, [&] { return received.size() >= 2; }));

  // A broadcast from another process (of the other user) reaches this process's two top-level windows.
  EXPECT_EQ(asNobody.Ask(std::string("broadcast\t") + kReset + "\t4", "broadcast "), "1");
  EXPECT_TRUE(asRoot.Got(rootWindow, reset, 4));
  EXPECT_TRUE(PumpUntil(app, [&] { return received.size() >= 4; }));
  EXPECT_EQ(received, (std::vector<Received>{{app.Handle(), reset, 3},
                                             {form.Handle(), reset, 3},
                                             {app.Handle(), reset, 4},
                                             {form.Handle(), reset, 4}}));
}

// A form is listed once its loop is idle, under the caption it has then; one that went before is
// never listed.
TEST_F(WindowStationTest, AWindowListedWhenIdleIsFoundByOthersOnceTheLoopWasIdle) {
  TApplication app;
  app.Initialize();
  WindowHandle form("TFormIdle", "first", WindowKind::TopLevel, nullptr, StationListing::WhenIdle);
  WindowHandle gone("TFormGone", "gone", WindowKind::TopLevel, nullptr, StationListing::WhenIdle);
  ASSERT_EQ(FindWindow("TFormIdle", "first"), form.Handle()) << "found within its process at once";
  Peer other(helper_, std::nullopt);
  EXPECT_EQ(other.Ask("find\tTFormIdle\tfirst", "found "), "0");
  SetWindowText(form.Handle(), "second");
  gone.Reset();
  app.ProcessMessages();
  EXPECT_EQ(ParseHwnd(other.Ask("find\tTFormIdle\tsecond", "found ")), form.Handle());
  EXPECT_EQ(other.Ask("find\tTFormGone\tgone", "found "), "0");
  EXPECT_FALSE(ListWaitingWindows()) << "each is listed once";
}

TEST_F(WindowStationTest, AReaderOfAnotherUserNeverMissesAWindowWhileTheListChanges) {
  GiveFolderToNobody();
  WindowHandle stable("TStable", "x", WindowKind::TopLevel, nullptr);
  WindowHandle changing("TChanging", "0", WindowKind::TopLevel, nullptr);
  Peer reader(helper_, kNobody);
  reader.Tell("findmany\tTStable\tx\t2000");
  for (int i = 1; !reader.Answered(); ++i) SetWindowText(changing.Handle(), std::to_string(i));
  EXPECT_EQ(reader.Expect("missed "), "0");
}

TEST_F(WindowStationTest, TheWindowOfAKilledProcessIsNeverFound) {
  Peer service(helper_, std::nullopt);
  HWND serviceWindow = ParseHwnd(service.Ask("window\tTTarvonex\tVelmora", "window "));
  ASSERT_EQ(FindWindow("TTarvonex", "Velmora"), serviceWindow);
  service.Kill();

  EXPECT_EQ(FindWindow("TTarvonex", "Velmora"), HWND{});
  EXPECT_FALSE(IsWindow(serviceWindow));
  EXPECT_FALSE(PostMessage(serviceWindow, RegisterWindowMessage(kReset), 0, 0));
  std::string list = ReadFileBytes(folder_ + "/.station/windows");
  EXPECT_EQ(list.find(Hex(serviceWindow)), std::string::npos) << list;

  // Also a process whose id is alive but whose socket no longer answers (the id was reused).
  Peer other(helper_, std::nullopt);
  HWND otherWindow = ParseHwnd(other.Ask("window\tTOther\tx", "window "));
  char socketName[32];
  std::snprintf(socketName, sizeof socketName, "w%016llx", static_cast<unsigned long long>(otherWindow));
  ASSERT_EQ(::unlink((folder_ + "/.station/" + socketName).c_str()), 0);
  EXPECT_EQ(FindWindow("TOther", nullptr), HWND{});
}

TEST_F(WindowStationTest, AUserWhoMayNotWriteTheExecutablesFolderCannotPost) {
  UINT reset = RegisterWindowMessage(kReset);
  std::vector<Received> received;
  WindowHandle service("TTarvonex", "Velmora", WindowKind::TopLevel,
                       [&](TMessage& m) { received.push_back({service.Handle(), m.Msg, m.WParam}); });
  TApplication app;

  // The folder is root's alone (0755): the station is closed to nobody, who finds nothing.
  {
    Peer outsider(helper_, kNobody);
    EXPECT_EQ(ParseHwnd(outsider.Ask("find\tTTarvonex\tVelmora", "found ")), HWND{});
    EXPECT_EQ(outsider.Ask("post\t" + Hex(service.Handle()) + "\t" + kReset + "\t1", "posted "), "0");
  }

  // Even with the station folder and the window's socket opened up to everybody, the receiver drops
  // what nobody sends.
  PostFromOutsiderAndInsiderThroughAnOpenedStation(service.Handle());
  EXPECT_TRUE(PumpUntil(app, [&] { return !received.empty(); }));
  app.ProcessMessages();
  EXPECT_EQ(received, (std::vector<Received>{{service.Handle(), reset, 2}}));
}

// A sticky folder (1777) gave a station open to all: any user could list it, post the reset and delete
// the service's socket and list. It counts as writable by its owner alone.
TEST_F(WindowStationTest, AStickyFolderIsItsOwnersAlone) {
  ASSERT_EQ(::chmod(folder_.c_str(), 01777), 0);
  UINT reset = RegisterWindowMessage(kReset);
  std::vector<Received> received;
  WindowHandle service("TTarvonex", "Velmora", WindowKind::TopLevel,
                       [&](TMessage& m) { received.push_back({service.Handle(), m.Msg, m.WParam}); });
  struct stat station{};
  ASSERT_EQ(::stat((folder_ + "/.station").c_str(), &station), 0);
  EXPECT_EQ(station.st_mode & 07777, 0700u);
  {
    Peer outsider(helper_, kNobody);
    EXPECT_EQ(ParseHwnd(outsider.Ask("find\tTTarvonex\tVelmora", "found ")), HWND{});
  }

  // Opened up by hand, the station still takes nothing from nobody.
  PostFromOutsiderAndInsiderThroughAnOpenedStation(service.Handle());
  TApplication app;
  EXPECT_TRUE(PumpUntil(app, [&] { return !received.empty(); }));
  app.ProcessMessages();
  EXPECT_EQ(received, (std::vector<Received>{{service.Handle(), reset, 2}}));
}

// Any user allowed to post could send WM_QUIT and end the service's loop. From another process only
// registered messages arrive.
TEST_F(WindowStationTest, OnlyRegisteredMessagesArriveFromAnotherProcess) {
  UINT reset = RegisterWindowMessage(kReset);
  TApplication app;
  app.Initialize();
  std::vector<UINT> received;
  app.OnMessage = [&](MSG& msg, bool&) {
    if (msg.hwnd == app.Handle()) received.push_back(msg.message);
  };
  Peer insider(helper_, std::nullopt);
  for (UINT message : {WM_QUIT, WM_TIMER, WM_USER, kFirstRegisteredMessage - 1})
    EXPECT_EQ(insider.Ask("postnumber\t" + Hex(app.Handle()) + "\t" + std::to_string(message) + "\t0", "posted "), "1");
  EXPECT_EQ(insider.Ask("post\t" + Hex(app.Handle()) + "\t" + kReset + "\t0", "posted "), "1");
  EXPECT_TRUE(PumpUntil(app, [&] { return !received.empty(); }));
  app.ProcessMessages();
  EXPECT_EQ(received, std::vector<UINT>{reset});
  EXPECT_FALSE(app.Terminated());
}

TEST_F(WindowStationTest, TheStationFollowsAChangeOfTheFoldersAccess) {
  // Opened while everybody may write the folder, then the folder is closed to others: a process that
  // opens the station afterwards closes it too, so outsiders can neither see nor change its lists.
  ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
  WindowHandle service("TTarvonex", "Velmora", WindowKind::TopLevel, nullptr);
  ASSERT_EQ(::chmod(folder_.c_str(), 0755), 0);
  Peer insider(helper_, std::nullopt);
  Peer outsider(helper_, kNobody);
  EXPECT_EQ(ParseHwnd(outsider.Ask("find\tTTarvonex\tVelmora", "found ")), HWND{});
  std::string list = ReadFileBytes(folder_ + "/.station/windows");
  EXPECT_NE(list.find(Hex(insider.ApplicationWindow())), std::string::npos) << list;
  EXPECT_EQ(list.find(Hex(outsider.ApplicationWindow())), std::string::npos) << list;
}

TEST_F(WindowStationTest, APostNeverBlocksEvenWhenTheReceiverStoppedReading) {
  UINT reset = RegisterWindowMessage(kReset);
  Peer stopped(helper_, std::nullopt), running(helper_, std::nullopt);
  HWND stoppedWindow = ParseHwnd(stopped.Ask("window\tTStopped\tx", "window "));
  HWND runningWindow = ParseHwnd(running.Ask("window\tTRunning\tx", "window "));
  ASSERT_EQ(::kill(stopped.Pid(), SIGSTOP), 0);

  int64_t start = MonotonicMs();
  int refused = 0;
  for (int i = 0; i < 5000; ++i)
    if (!PostMessage(stoppedWindow, reset, static_cast<WPARAM>(i), 0)) ++refused;
  EXPECT_GT(refused, 0);  // the receiver's queue filled up: those posts were refused, not waited for
  // Generous bounds for a loaded machine: a post that waited for the stopped receiver would wait for ever.
  EXPECT_LT(MonotonicMs() - start, 15'000);

  // Neither other windows nor broadcasts suffer from the full one.
  EXPECT_TRUE(PostMessage(runningWindow, reset, 1, 0));
  EXPECT_TRUE(running.Got(runningWindow, reset, 1));
  start = MonotonicMs();
  EXPECT_FALSE(PostMessage(HWND_BROADCAST, reset, 2, 0));  // the stopped window did not get it
  EXPECT_LT(MonotonicMs() - start, 5000);
  EXPECT_TRUE(running.Got(runningWindow, reset, 2));

  ASSERT_EQ(::kill(stopped.Pid(), SIGCONT), 0);
  EXPECT_TRUE(stopped.Got(stoppedWindow, reset, 0));
}

TEST_F(WindowStationTest, RegisteredMessagesAreTheSameInEveryProcessOfTheFolder) {
  Peer first(helper_, std::nullopt);
  std::string a = first.Ask("register\tfirst name", "number ");
  std::string b = first.Ask("register\tsecond name", "number ");
  EXPECT_EQ(a, std::to_string(kFirstRegisteredMessage));
  EXPECT_EQ(b, std::to_string(kFirstRegisteredMessage + 1));
  EXPECT_EQ(std::to_string(RegisterWindowMessage("SECOND NAME")), b);
  EXPECT_EQ(std::to_string(RegisterWindowMessage("third name")), std::to_string(kFirstRegisteredMessage + 2));
  Peer second(helper_, std::nullopt);
  EXPECT_EQ(second.Ask("register\tthird name", "number "), std::to_string(kFirstRegisteredMessage + 2));
}

TEST_F(WindowStationTest, AFolderDeeperThanTheSocketPathLimitWorks) {
  std::string deep = folder_;
  while (deep.size() < 300) deep += "/a-folder-name-of-some-length";
  std::filesystem::create_directories(deep);
  std::string helper = deep + "/platform_app_station_helper";
  std::filesystem::copy_file(helper_, helper);
  OverrideExeFileName(deep + "/program");
  UINT reset = RegisterWindowMessage(kReset);
  std::vector<Received> received;
  WindowHandle form("TForm1", "Velmora - Konfigurator", WindowKind::TopLevel,
                    [&](TMessage& m) { received.push_back({form.Handle(), m.Msg, m.WParam}); });
  Peer service(helper, std::nullopt);
  HWND serviceWindow = ParseHwnd(service.Ask("window\tTTarvonex\tVelmora", "window "));
  EXPECT_EQ(ParseHwnd(service.Ask("find\tTForm1\tVelmora - Konfigurator", "found ")), form.Handle());
  EXPECT_EQ(service.Ask("post\t" + Hex(form.Handle()) + "\t" + kReset + "\t1", "posted "), "1");
  TApplication app;
  EXPECT_TRUE(PumpUntil(app, [&] { return !received.empty(); }));
  EXPECT_EQ(received, (std::vector<Received>{{form.Handle(), reset, 1}}));
  EXPECT_EQ(FindWindow("TTarvonex", "Velmora"), serviceWindow);
  EXPECT_TRUE(PostMessage(serviceWindow, reset, 2, 0));
  EXPECT_TRUE(service.Got(serviceWindow, reset, 2));
}

}  // namespace
}  // namespace platform

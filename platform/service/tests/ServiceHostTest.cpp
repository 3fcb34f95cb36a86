#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/core/Files.h"
#include "platform/core/Paths.h"

extern char** environ;

namespace platform {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long the program may take, on a loaded machine, before the test fails.
constexpr auto kDeadline = std::chrono::seconds(20);

// Runs the test service program (testservice/TestService.cpp) from a folder of its own, so that tests
// running at the same time hold different instance locks.
class ServiceHostTest : public testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("host-" + std::to_string(::getpid()) + "-" +
                                        testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    program_ = (dir_ / "velmora_test_service").string();
    fs::copy_file(ExeDir() + "velmora_test_service", program_);
  }
  void TearDown() override {
    for (pid_t pid : running_) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    fs::remove_all(dir_);
  }

  // Starts the program with the arguments; its stdout and stderr go to <name>.out and <name>.err.
  pid_t Start(const std::vector<std::string>& arguments, const std::string& mode = "", const std::string& name = "run") {
    std::vector<std::string> env{"TEST_SERVICE_LOG=" + Log(), "TEST_SERVICE_MODE=" + mode,
                                 "VELMORA_UNIT_DIR=" + (dir_ / "units").string()};
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<std::string> args{program_};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string out = Output(name, "out"), err = Output(name, "err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    EXPECT_EQ(::posix_spawn(&pid, program_.c_str(), &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    running_.push_back(pid);
    return pid;
  }

  // The exit code, or -1 when the program did not end in time.
  int WaitForExit(pid_t pid) {
    for (auto deadline = Clock::now() + kDeadline; Clock::now() < deadline;) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) {
        std::erase(running_, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
  }

  int Run(const std::vector<std::string>& arguments, const std::string& name = "run") {
    return WaitForExit(Start(arguments, "", name));
  }

  // Waits until the event log holds `expected` (or the deadline passes) and returns what it holds.
  std::string WaitForLog(const std::string& expected) {
    std::string log;
    for (auto deadline = Clock::now() + kDeadline; Clock::now() < deadline;) {
      log = FileExists(Log()) ? ReadFileBytes(Log()) : "";
      if (log == expected) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return log;
  }

  std::string Log() const { return (dir_ / "events.txt").string(); }
  std::string Output(const std::string& name, const char* stream) const {
    return (dir_ / (name + "." + stream)).string();
  }
  std::string Read(const std::string& name, const char* stream) const { return ReadFileBytes(Output(name, stream)); }

  fs::path dir_;
  std::string program_;
  std::vector<pid_t> running_;
};

TEST_F(ServiceHostTest, SignalsDriveTheServiceThroughPauseContinueAndStop) {
  for (int stopSignal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(strsignal(stopSignal));
    fs::remove(Log());
    pid_t pid = Start({});
    std::string expected = "start service\nexecute service\n";
    ASSERT_EQ(WaitForLog(expected), expected);
    ::kill(pid, SIGUSR1);
    expected += "pause service\n";
    ASSERT_EQ(WaitForLog(expected), expected);
    ::kill(pid, SIGUSR2);
    expected += "continue service\n";
    ASSERT_EQ(WaitForLog(expected), expected);
    ::kill(pid, stopSignal);
    EXPECT_EQ(WaitForExit(pid), 0);
    expected += "stop service\nexecute-end service\n";
    EXPECT_EQ(WaitForLog(expected), expected);
    EXPECT_EQ(Read("run", "err"), "");
  }
}

TEST_F(ServiceHostTest, TheServiceStopsItselfOnEitherThread) {
  const std::pair<const char*, const char*> cases[] = {{"stop-inside", "stop service\n"}, {"stop-main", "stop main\n"}};
  for (const auto& [mode, stopLine] : cases) {
    SCOPED_TRACE(mode);
    fs::remove(Log());
    EXPECT_EQ(WaitForExit(Start({}, mode)), 0);
    std::string expected = std::string("start service\nexecute service\n") + stopLine + "execute-end service\n";
    EXPECT_EQ(WaitForLog(expected), expected);
  }
}

TEST_F(ServiceHostTest, ARefusedStartEndsTheProgramWithAFailure) {
  EXPECT_EQ(WaitForExit(Start({}, "refuse-start")), 1);
  EXPECT_EQ(WaitForLog("start service\n"), "start service\n");
  EXPECT_NE(Read("run", "err").find("did not start"), std::string::npos);
}

TEST_F(ServiceHostTest, ASecondInstanceInTheSameFolderIsRefused) {
  pid_t first = Start({});
  std::string running = "start service\nexecute service\n";
  ASSERT_EQ(WaitForLog(running), running);
  EXPECT_EQ(WaitForExit(Start({}, "", "second")), 1);
  EXPECT_NE(Read("second", "err").find("Velmora Test is already running from " + dir_.string() + "/"),
            std::string::npos)
      << Read("second", "err");
  EXPECT_EQ(ReadFileBytes(Log()), running);
  ::kill(first, SIGTERM);
  EXPECT_EQ(WaitForExit(first), 0);
}

TEST_F(ServiceHostTest, InstallWritesTheUnitAndUninstallRemovesIt) {
  fs::path unit = dir_ / "units" / "VelmoraTest.service";
  fs::create_directories(unit.parent_path());
  ASSERT_EQ(Run({"/INSTALL"}, "install"), 0) << Read("install", "err");
  EXPECT_NE(Read("install", "out").find("installed"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(unit),
            "[Unit]\nDescription=Velmora Test\nAfter=network-online.target\nWants=network-online.target\n\n"
            "[Service]\nType=simple\nExecStart=\"" + program_ + "\"\nExecReload=/bin/kill -HUP $MAINPID\n"
            "KillMode=process\nRestart=on-failure\nRestartSec=5\nTimeoutStopSec=10\nLockPersonality=yes\n"
            "RestrictRealtime=yes\n\n"
            "[Install]\nWantedBy=multi-user.target\n");

  ASSERT_EQ(Run({"-uninstall", "/Silent"}, "uninstall"), 0) << Read("uninstall", "err");
  EXPECT_EQ(Read("uninstall", "out"), "");
  EXPECT_FALSE(fs::exists(unit));

  EXPECT_EQ(Run({"/UNINSTALL"}, "again"), 1);
  EXPECT_NE(Read("again", "err").find("not installed"), std::string::npos);
  EXPECT_EQ(Read("again", "out"), "");

  ASSERT_EQ(Run({"-Install", "-SILENT"}, "silent"), 0) << Read("silent", "err");
  EXPECT_EQ(Read("silent", "out"), "");
  EXPECT_TRUE(fs::exists(unit));
  EXPECT_FALSE(fs::exists(Log()));  // no switch run starts the service
}

}  // namespace
}  // namespace platform

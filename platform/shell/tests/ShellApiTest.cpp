#include "platform/shell/ShellApi.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/core/Files.h"
#include "platform/shell/Launcher.h"
#include "platform/shell/tests/RecordingLauncher.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A program that writes its show code and its arguments, one per line, to `out`; the file appears
// complete (written aside, then renamed), so a test can poll for it.
std::string RecorderScript(const std::string& out) {
  return "#!/bin/sh\n"
         "{ echo \"show=$VELMORA_SHOW_CODE\"; echo \"dir=$(pwd)\"; for a in \"$@\"; do echo \"arg=$a\"; done; } > '" +
         out + ".tmp' && /bin/mv '" + out + ".tmp' '" + out + "'\n";
}

class ShellExecuteTest : public testing::Test {
protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("shell-" + std::to_string(::getpid()) + "-" +
                                         testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_ / "bin");
    out_ = (root_ / "out.txt").string();
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    // xdg-open is found only where a test puts it.
    ::setenv("PATH", (root_ / "bin").c_str(), 1);
  }
  void TearDown() override {
    ::setenv("PATH", savedPath_.c_str(), 1);
    fs::remove_all(root_);
  }

  std::string Write(const std::string& name, const std::string& text, fs::perms perms) {
    fs::path file = root_ / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
    fs::permissions(file, perms);
    return file.string();
  }
  std::string WriteRecorder(const std::string& name, fs::perms perms = fs::perms(0755)) {
    return Write(name, RecorderScript(out_), perms);
  }

  // The recorder's output, once it appeared (within 20 s, for a loaded machine), else "".
  std::string WaitForOutput() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      if (FileExists(out_)) return ReadFileBytes(out_);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return {};
  }

  fs::path root_;
  std::string out_;
  std::string savedPath_;
};

TEST_F(ShellExecuteTest, StartsProgramsWithTheirArgumentsAndNeverThroughAShellLine) {
  struct Case {
    const char* name;
    fs::perms perms;
    const char* parameters;
    const char* expectedArguments;
  };
  const Case cases[] = {
      {"prog", fs::perms(0755), "host1", "arg=host1\n"},
      {"prog", fs::perms(0755), "one \"two words\" \"say \"\"hi\"\"\"",
       "arg=one\narg=two words\narg=say \"hi\"\n"},
      {"prog", fs::perms(0755), "\"a; touch pwned\" $(touch pwned) `touch pwned`",
       "arg=a; touch pwned\narg=$(touch\narg=pwned)\narg=`touch\narg=pwned`\n"},
      {"script.sh", fs::perms(0644), "host1 \"b c\"", "arg=host1\narg=b c\n"},
      {"START.BAT", fs::perms(0644), "", ""},
      {"Alarm.Cmd", fs::perms(0600), "x", "arg=x\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + c.parameters);
    fs::remove(out_);
    std::string file = WriteRecorder(c.name, c.perms);
    int result = ShellExecute(HWND{}, "open", file, c.parameters, root_.string(), SW_HIDE);
    EXPECT_GT(result, 32);
    EXPECT_EQ(WaitForOutput(), "show=0\ndir=" + root_.string() + "\n" + c.expectedArguments);
    EXPECT_FALSE(fs::exists(root_ / "pwned"));
  }
}

TEST_F(ShellExecuteTest, ReportsTheShellsFailureCodes) {
  Write("notes.txt", "text", fs::perms(0644));
  WriteRecorder("prog");
  struct Case {
    const char* verb;
    std::string file;
    std::string directory;
    int expected;
  };
  const Case cases[] = {
      {"open", (root_ / "missing.bat").string(), "", ERROR_FILE_NOT_FOUND},
      {"open", (root_ / "no-folder" / "x.bat").string(), "", ERROR_PATH_NOT_FOUND},
      {"open", "", "", ERROR_FILE_NOT_FOUND},
      {"open", (root_ / "prog").string(), (root_ / "no-folder").string(), ERROR_PATH_NOT_FOUND},
      {"open", (root_ / "notes.txt").string(), "", SE_ERR_NOASSOC},   // a document, no xdg-open
      {"open", "https://example.invalid/", "", SE_ERR_NOASSOC},
      {"open", root_.string(), "", SE_ERR_NOASSOC},                  // a folder
      {"print", (root_ / "prog").string(), "", SE_ERR_NOASSOC},
      {"open", "not-on-path-anywhere", "", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShellExecute(HWND{}, c.verb, c.file, "", c.directory, SW_SHOWNORMAL), c.expected)
        << c.verb << " " << c.file;
  }
  EXPECT_FALSE(fs::exists(out_));
}

TEST_F(ShellExecuteTest, DocumentsFoldersAndUrlsGoToXdgOpenAsOneArgument) {
  WriteRecorder("bin/xdg-open");
  std::string doc = Write("Help Files/hilfe.chm", "x", fs::perms(0644));
  struct Case {
    std::string file;
    std::string expectedArgument;
  };
  const Case cases[] = {
      {"https://example.invalid/a b?x=1;touch pwned", "https://example.invalid/a b?x=1;touch pwned"},
      {"mailto:admin@example.invalid", "mailto:admin@example.invalid"},
      {root_.string() + "\\HELP FILES\\HILFE.CHM", doc},
      {(root_ / "Help Files").string(), (root_ / "Help Files").string()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    fs::remove(out_);
    EXPECT_GT(ShellExecute(HWND{}, "", c.file, "ignored parameters", "", SW_SHOW), 32);
    EXPECT_EQ(WaitForOutput(), "show=5\ndir=" + fs::current_path().string() + "\narg=" + c.expectedArgument + "\n");
  }
  EXPECT_FALSE(fs::exists(root_ / "pwned"));
}

TEST_F(ShellExecuteTest, RelativeNamesComeFromTheDirectoryOrThePath) {
  WriteRecorder("sub/Run.sh", fs::perms(0644));
  EXPECT_GT(ShellExecute(0, "open", "SUB\\RUN.SH", "h", root_.string(), SW_SHOWNORMAL), 32);
  EXPECT_EQ(WaitForOutput(), "show=1\ndir=" + root_.string() + "\narg=h\n");

  fs::remove(out_);
  WriteRecorder("bin/notify");
  EXPECT_GT(ShellExecute(HWND{}, "open", "notify", "h", "", SW_SHOWNORMAL), 32);
  EXPECT_NE(WaitForOutput(), "");
}

TEST_F(ShellExecuteTest, StartedProgramsAreDetachedAndLeaveNoZombie) {
  ASSERT_GT(ShellExecute(HWND{}, "open", "/bin/sleep", "0.2", "", SW_HIDE), 32);
  // The program still runs, but it is no child of ours: nothing is left to reap, now or later.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellExecuteTest, ProgramsStartWithoutTheCallersBlockedSignals) {
  // The service host blocks its control signals in every thread; its commands must not inherit that.
  sigset_t control, previous;
  sigemptyset(&control);
  sigaddset(&control, SIGTERM);
  sigaddset(&control, SIGUSR1);
  ::pthread_sigmask(SIG_BLOCK, &control, &previous);
  std::string command = "\"/bin/grep SigBlk /proc/self/status > " + out_ + ".tmp; /bin/mv " + out_ + ".tmp " + out_ + "\"";
  int result = ShellExecute(HWND{}, "open", "/bin/sh", "-c " + command, "", SW_HIDE);
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ASSERT_GT(result, 32);
  EXPECT_EQ(WaitForOutput(), "SigBlk:\t0000000000000000\n");
}

TEST_F(ShellExecuteTest, TheLauncherCanBeReplacedByARecorder) {
  RecordingLauncher recorder;
  SetLauncher(&recorder);
  std::string script = WriteRecorder("alarm.bat", fs::perms(0644));
  std::string prog = WriteRecorder("prog");

  EXPECT_GT(ShellExecute(HWND{}, "open", script, "host1", "", SW_MINIMIZE), 32);
  recorder.result = EACCES;
  EXPECT_EQ(ShellExecute(HWND{}, "open", prog, "\"x y\"", root_.string(), SW_SHOWMAXIMIZED), SE_ERR_ACCESSDENIED);
  recorder.result = ENOMEM;
  EXPECT_EQ(ShellExecute(HWND{}, "open", prog, "", "", SW_HIDE), SE_ERR_OOM);
  SetLauncher(nullptr);

  ASSERT_EQ(recorder.requests.size(), 3u);
  EXPECT_EQ(recorder.requests[0].program, "/bin/sh");
  EXPECT_EQ(recorder.requests[0].arguments, (std::vector<std::string>{script, "host1"}));
  EXPECT_EQ(recorder.requests[0].directory, "");
  EXPECT_EQ(recorder.requests[0].showCode, SW_MINIMIZE);
  EXPECT_EQ(recorder.requests[1].program, prog);
  EXPECT_EQ(recorder.requests[1].arguments, (std::vector<std::string>{"x y"}));
  EXPECT_EQ(recorder.requests[1].directory, root_.string());
  EXPECT_EQ(recorder.requests[1].showCode, SW_SHOWMAXIMIZED);
  EXPECT_FALSE(fs::exists(out_));
}

// The text editor of the system's callers is not here: the desktop opens the named file instead, as
// xdg-open's one argument, and the script named is never started.
TEST_F(ShellExecuteTest, AMissingNotepadOpensItsParameterAsOneFileWithTheDesktop) {
  RecordingLauncher recorder;
  SetLauncher(&recorder);
  const std::string opener = WriteRecorder("bin/xdg-open");
  const std::string script = WriteRecorder("My Scripts/alarm host.sh");
  struct Case {
    const char* editor;
    std::string parameters;
    std::string directory;
    int failure;  // 0: opened
  };
  const Case cases[] = {
      {"notepad.exe", "\"" + script + "\"", "", 0},
      {"NOTEPAD.EXE", root_.string() + "\\MY SCRIPTS\\ALARM HOST.SH", "", 0},  // no quotes, blanks kept
      {"Notepad.exe", "\"My Scripts/alarm host.sh\"", root_.string(), 0},
      {"notepad.exe", "\"\"", "", ERROR_FILE_NOT_FOUND},
      {"notepad.exe", (root_ / "My Scripts" / "missing.sh").string(), "", ERROR_FILE_NOT_FOUND},
      {"notepad.exe", (root_ / "My Scripts").string(), "", ERROR_FILE_NOT_FOUND},  // a folder is no file
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.editor) + " " + c.parameters);
    recorder.requests.clear();
    const int result = ShellExecute(HWND{}, "open", c.editor, c.parameters, c.directory, SW_SHOW);
    if (c.failure != 0) {
      EXPECT_EQ(result, c.failure);
      EXPECT_TRUE(recorder.requests.empty());
      continue;
    }
    EXPECT_GT(result, 32);
    ASSERT_EQ(recorder.requests.size(), 1u);
    EXPECT_EQ(recorder.requests[0].program, opener);
    EXPECT_EQ(recorder.requests[0].arguments, std::vector<std::string>{script});
    EXPECT_EQ(recorder.requests[0].showCode, SW_SHOW);
  }
  // Without xdg-open there is no editor; with a notepad.exe on the path, that one runs.
  recorder.requests.clear();
  fs::remove(opener);
  EXPECT_EQ(ShellExecute(HWND{}, "open", "notepad.exe", script, "", SW_SHOW), SE_ERR_NOASSOC);
  const std::string notepad = WriteRecorder("bin/notepad.exe");
  EXPECT_GT(ShellExecute(HWND{}, "open", "notepad.exe", "\"" + script + "\"", "", SW_SHOW), 32);
  SetLauncher(nullptr);
  ASSERT_EQ(recorder.requests.size(), 1u);
  EXPECT_EQ(recorder.requests[0].program, notepad);
  EXPECT_EQ(recorder.requests[0].arguments, std::vector<std::string>{script});
  EXPECT_FALSE(fs::exists(out_));  // nothing ran, the script least of all
}

}  // namespace
}  // namespace platform

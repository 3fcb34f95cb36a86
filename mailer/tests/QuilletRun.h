#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Files.h"

extern char** environ;

namespace quillet::test {

// What a run of the real program gave.
struct QuilletResult {
  int exitCode = -1;  // -1 when it did not exit normally
  std::string standardError;
};

// A copy of the built `quillet` in a folder of its own, so that its Quillet.ini and fehler.log lie
// beside it. Runs it without a display, or on the one given.
class QuilletFolder {
public:
  explicit QuilletFolder(const std::string& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    std::filesystem::copy_file(std::filesystem::canonical("/proc/self/exe").parent_path() / "quillet", Program(),
                               std::filesystem::copy_options::overwrite_existing);
  }

  std::string Program() const { return folder_ + "/quillet"; }
  std::string File(const std::string& name) const { return folder_ + "/" + name; }

  QuilletResult Run(const std::vector<std::string>& arguments, const std::string& display = {}) const {
    const std::string errors = File("stderr.txt");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> args{Program()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<char*> env;
    for (char** e = environ; *e != nullptr; ++e) {
      if (!std::string_view(*e).starts_with("DISPLAY=")) env.push_back(*e);
    }
    std::string displayVariable = "DISPLAY=" + display;
    if (!display.empty()) env.push_back(displayVariable.data());
    env.push_back(nullptr);
    QuilletResult result;
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) == 0) {
      int status = 0;
      if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    if (platform::FileExists(errors)) result.standardError = platform::ReadFileBytes(errors);
    return result;
  }

private:
  std::string folder_;
};

}  // namespace quillet::test

#include "platform/shell/ShellApi.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/core/Ascii.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/shell/CommandLine.h"
#include "platform/shell/Launcher.h"

namespace platform {

namespace {

constexpr int kStarted = 42;

// "scheme:rest" with a scheme of two or more characters, so that "C:\x" stays a file name.
bool IsUrl(const std::string& file) {
  size_t colon = file.find(':');
  if (colon == std::string::npos || colon < 2 || !IsAsciiLetter(file[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    char c = file[i];
    if (!IsAsciiAlnum(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

bool HasExtension(const std::string& path, const char* extension) {
  std::string_view suffix(extension);
  return path.size() > suffix.size() && SameText(std::string_view(path).substr(path.size() - suffix.size()), suffix);
}

bool IsScript(const std::string& path) {
  return HasExtension(path, ".sh") || HasExtension(path, ".bat") || HasExtension(path, ".cmd");
}

// The first executable file called `name` in the folders of PATH, or "".
std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (FileExists(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

// A file name resolved against `directory`, else the executable's folder, when it is relative.
std::string ResolveInFolder(const std::string& file, const std::string& directory) {
  std::string name = file;
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  if (name.front() == '/') return ResolvePath(name);
  return ResolvePath((directory.empty() ? ExeDir() : directory + "/") + name);
}

std::string ResolveFile(const std::string& file, const std::string& directory) {
  std::string candidate = ResolveInFolder(file, directory);
  const bool bare = file.find_first_of("/\\") == std::string::npos;
  struct stat st{};
  if (::stat(candidate.c_str(), &st) == 0 || !bare) return candidate;
  std::string onPath = FindOnPath(file);
  return onPath.empty() ? candidate : onPath;
}

int ResultOf(int error) {
  switch (error) {
    case 0: return kStarted;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ELOOP:
    case ENAMETOOLONG: return ERROR_PATH_NOT_FOUND;
    case EAGAIN:
    case ENOMEM:
    case E2BIG:
    case EMFILE:
    case ENFILE: return SE_ERR_OOM;
    default: return SE_ERR_ACCESSDENIED;
  }
}

// A missing file is "file not found" when its folder exists, else "path not found".
int MissingFileResult(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  return DirectoryExists(folder) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

int Launch(LaunchRequest request) { return ResultOf(CurrentLauncher().Launch(request)); }

int OpenWithDesktop(const std::string& target, const std::string& directory, int showCode) {
  std::string opener = FindOnPath("xdg-open");
  if (opener.empty()) return SE_ERR_NOASSOC;
  return Launch({opener, {target}, directory, showCode});
}

// The text editor's name that the system's callers use, without a folder.
bool IsBareTextEditor(const std::string& file) { return SameText(file, "notepad.exe"); }

// The text editor that is not installed here: its parameter names one file, which the desktop opens
// in its own editor. The file goes to xdg-open as such; a script is never run for it.
int OpenInTextEditor(const std::string& parameters, const std::string& directory, int showCode) {
  std::string name = parameters;
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
  if (name.empty()) return ERROR_FILE_NOT_FOUND;
  const std::string path = ResolveInFolder(name, directory);
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? MissingFileResult(path) : ResultOf(errno);
  if (!S_ISREG(st.st_mode)) return ERROR_FILE_NOT_FOUND;
  return OpenWithDesktop(path, directory, showCode);
}

}  // namespace

int ShellExecute(HWND /*ownerWindow*/, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int showCode) {
  if (!verb.empty() && !SameText(verb, "open")) return SE_ERR_NOASSOC;
  if (file.empty()) return ERROR_FILE_NOT_FOUND;
  std::string folder;
  if (!directory.empty()) {
    folder = ResolvePath(directory);
    if (!DirectoryExists(folder)) return ERROR_PATH_NOT_FOUND;
  }
  if (IsUrl(file)) return OpenWithDesktop(file, folder, showCode);

  std::string path = ResolveFile(file, folder);
  struct stat st{};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT && IsBareTextEditor(file)) return OpenInTextEditor(parameters, folder, showCode);
    return errno == ENOENT ? MissingFileResult(path) : ResultOf(errno);
  }
  if (S_ISDIR(st.st_mode)) return OpenWithDesktop(path, folder, showCode);
  if (S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0) {
    return Launch({path, SplitCommandLine(parameters), folder, showCode});
  }
  if (IsScript(path)) {
    if (::access(path.c_str(), R_OK) != 0) return SE_ERR_ACCESSDENIED;
    std::vector<std::string> arguments{path};
    for (std::string& argument : SplitCommandLine(parameters)) arguments.push_back(std::move(argument));
    return Launch({"/bin/sh", std::move(arguments), folder, showCode});
  }
  return OpenWithDesktop(path, folder, showCode);
}

}  // namespace platform

#include "platform/core/Paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

struct ProcessPaths {
  std::mutex mutex;
  std::string overrideExe;
  std::vector<std::string> args;
};

ProcessPaths& Paths() {
  static ProcessPaths paths;
  return paths;
}

std::string RealExeFileName() {
  std::string buffer(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n <= 0) return {};
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

bool Exists(const std::string& path) {
  struct stat st{};
  return lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `component` case-insensitively, or "" if none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& component) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (SameText(entry->d_name, component)) {
      found = entry->d_name;
      break;
    }
  }
  closedir(dir);
  return found;
}

}  // namespace

std::string ExeFileName() {
  ProcessPaths& p = Paths();
  std::lock_guard lock(p.mutex);
  return p.overrideExe.empty() ? RealExeFileName() : p.overrideExe;
}

std::string ExeDir() {
  std::string exe = ExeFileName();
  return exe.substr(0, exe.rfind('/') + 1);
}

void OverrideExeFileName(const std::string& path) {
  ProcessPaths& p = Paths();
  std::lock_guard lock(p.mutex);
  p.overrideExe = path;
}

void SetCommandLine(int argc, const char* const* argv) {
  ProcessPaths& p = Paths();
  std::lock_guard lock(p.mutex);
  p.args.assign(argv + (argc > 0 ? 1 : 0), argv + argc);
}

int ParamCount() {
  ProcessPaths& p = Paths();
  std::lock_guard lock(p.mutex);
  return static_cast<int>(p.args.size());
}

std::string ParamStr(int index) {
  if (index == 0) return ExeFileName();
  ProcessPaths& p = Paths();
  std::lock_guard lock(p.mutex);
  if (index < 0 || index > static_cast<int>(p.args.size())) return {};
  return p.args[static_cast<size_t>(index - 1)];
}

std::string ResolvePath(const std::string& name) {
  std::string path = name;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  if (path.empty() || Exists(path)) return path;

  std::string resolved;
  size_t start = 0;
  if (path[0] == '/') {
    resolved = "/";
    start = 1;
  }
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string component = path.substr(start, end - start);
    if (!component.empty()) {
      std::string candidate = resolved + component;
      if (!Exists(candidate)) {
        std::string match = FindEntryIgnoringCase(resolved, component);
        if (match.empty()) return path;
        candidate = resolved + match;
      }
      resolved = candidate;
      if (end < path.size()) resolved += '/';
    }
    start = end + 1;
  }
  return resolved;
}

}  // namespace platform

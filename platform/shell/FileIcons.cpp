#include "platform/shell/FileIcons.h"

#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/core/Ascii.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"

namespace platform {

namespace {

constexpr const char* kFolderIcon = "folder";
constexpr const char* kProgramIcon = "application-x-executable";
constexpr const char* kDocumentIcon = "text-x-generic";

std::vector<std::string> Lines(const std::string& file) {
  std::vector<std::string> lines;
  if (!FileExists(file)) return lines;
  const std::string text = ReadFileBytes(file);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (end > start && text[start] != '#') lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

// The value of `key` in the "key:value" lines of a MIME database file; "" when none has it.
std::string LookUp(const std::vector<std::string>& dataFolders, const std::string& file, const std::string& key) {
  for (const std::string& folder : dataFolders) {
    for (const std::string& line : Lines(folder + "/mime/" + file)) {
      if (line.size() > key.size() && line.compare(0, key.size(), key) == 0 && line[key.size()] == ':')
        return line.substr(key.size() + 1);
    }
  }
  return "";
}

// The MIME type of a file name by the globs of globs2 ("weight:type:glob[:flags]"): the highest weight
// wins, then the longest glob. Globs compare ignoring ASCII case unless their flags hold "cs".
std::string TypeOfName(const std::string& name, const std::vector<std::string>& dataFolders) {
  std::string best;
  int bestWeight = -1;
  size_t bestLength = 0;
  for (const std::string& folder : dataFolders) {
    for (const std::string& line : Lines(folder + "/mime/globs2")) {
      const size_t first = line.find(':');
      const size_t second = first == std::string::npos ? first : line.find(':', first + 1);
      if (second == std::string::npos) continue;
      const size_t third = line.find(':', second + 1);
      const std::string glob = line.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
      const bool caseSensitive = third != std::string::npos && line.find("cs", third) != std::string::npos;
      const int weight = std::atoi(line.substr(0, first).c_str());
      if (weight < bestWeight || (weight == bestWeight && glob.size() <= bestLength)) continue;
      const bool matches = caseSensitive ? ::fnmatch(glob.c_str(), name.c_str(), 0) == 0
                                         : ::fnmatch(LowerCase(glob).c_str(), LowerCase(name).c_str(), 0) == 0;
      if (!matches) continue;
      best = line.substr(first + 1, second - first - 1);
      bestWeight = weight;
      bestLength = glob.size();
    }
  }
  return best;
}

TFileIcon IconOfType(const std::string& type, const std::vector<std::string>& dataFolders) {
  if (type.empty()) return {{kDocumentIcon}, TFileIconKind::Document};
  std::string specific = LookUp(dataFolders, "icons", type);
  if (specific.empty()) {
    specific = type;
    specific[type.find('/')] = '-';
  }
  std::string generic = LookUp(dataFolders, "generic-icons", type);
  if (generic.empty()) generic = type.substr(0, type.find('/')) + "-x-generic";
  const TFileIconKind kind = generic == kProgramIcon || specific == kProgramIcon ? TFileIconKind::Program
                                                                                 : TFileIconKind::Document;
  return {{specific, generic}, kind};
}

}  // namespace

TFileIcon FileIcon(const std::string& path, const std::vector<std::string>& dataFolders) {
  std::string name = ResolvePath(path.starts_with("/") || path.starts_with("\\") ? path : ExeDir() + path);
  struct stat status;
  bool exists = ::stat(name.c_str(), &status) == 0;
  // Programs here have no extension: a Windows program name ("Quillet.exe") names the program without it.
  if (!exists && name.size() > 4 && SameText(std::string_view(name).substr(name.size() - 4), ".exe")) {
    const std::string program = ResolvePath(name.substr(0, name.size() - 4));
    if (::stat(program.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      name = program;
      exists = true;
    }
  }
  if (exists) {
    if (S_ISDIR(status.st_mode)) return {{kFolderIcon}, TFileIconKind::Folder};
    if (S_ISREG(status.st_mode) && ::access(name.c_str(), X_OK) == 0) return {{kProgramIcon}, TFileIconKind::Program};
  }
  const size_t slash = name.rfind('/');
  return IconOfType(TypeOfName(slash == std::string::npos ? name : name.substr(slash + 1), dataFolders), dataFolders);
}

std::string FindThemeIcon(const std::string& name, int size, const std::vector<std::string>& dataFolders) {
  const std::string sizeFolder = std::to_string(size) + "x" + std::to_string(size);
  for (const char* theme : {"Adwaita", "hicolor"}) {
    for (const std::string& folder : dataFolders) {
      for (const char* context : {"mimetypes", "places"}) {
        std::string file = folder + "/icons/" + theme + "/" + sizeFolder + "/" + context + "/" + name + ".png";
        if (FileExists(file)) return file;
      }
    }
  }
  return "";
}

std::vector<std::string> DataFolders() {
  auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
  };
  std::vector<std::string> folders;
  std::string home = variable("XDG_DATA_HOME");
  if (home.empty() && !variable("HOME").empty()) home = variable("HOME") + "/.local/share";
  if (!home.empty()) folders.push_back(home);
  std::string dirs = variable("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  for (size_t start = 0, end; start <= dirs.size(); start = end + 1) {
    end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    if (end > start) folders.push_back(dirs.substr(start, end - start));
  }
  return folders;
}

}  // namespace platform

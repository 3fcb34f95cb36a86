#include "platform/shell/Registry.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/core/Ascii.h"
#include "platform/core/IniFile.h"
#include "platform/core/StringList.h"

namespace platform {

std::string NormalizeKeyPath(const std::string& path) {
  std::string normalized;
  for (char c : path) {
    if (c == '\\' && (normalized.empty() || normalized.back() == '\\')) continue;
    normalized += c;
  }
  if (!normalized.empty() && normalized.back() == '\\') normalized.pop_back();
  return normalized;
}

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* user = ::getpwuid(::geteuid());
  return user && user->pw_dir ? user->pw_dir : "/";
}

// A key exists when it has values or one of its sub-keys has.
bool KeyExists(const TIniFile& file, const std::string& path) {
  if (file.SectionExists(path)) return true;
  TStringList sections;
  file.ReadSections(sections);
  std::string prefix = path + "\\";
  for (int i = 0; i < sections.Count(); ++i) {
    std::string section = sections.Strings(i);
    if (section.size() > prefix.size() && SameText(std::string_view(section).substr(0, prefix.size()), prefix)) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::string TRegistry::FileName() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string folder = config && config[0] == '/' ? config : HomeFolder() + "/.config";
  return folder + "/velmora/registry.ini";
}

void TRegistry::SetRootKey(HKEY rootKey) {
  CloseKey();
  rootKey_ = rootKey;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  if (rootKey_ != HKEY_CURRENT_USER) return false;
  std::string path = NormalizeKeyPath(!Key.empty() && Key[0] == '\\' ? Key : currentPath_ + "\\" + Key);
  if (path.empty() && !Key.empty() && Key != "\\") return false;
  try {
    if (!CanCreate && !path.empty() && !KeyExists(TIniFile(FileName()), path)) return false;
  } catch (const Exception&) {
    return false;
  }
  currentPath_ = path;
  open_ = true;
  return true;
}

void TRegistry::CloseKey() {
  open_ = false;
  currentPath_.clear();
}

bool TRegistry::ValueExists(const std::string& Name) const {
  if (!open_) return false;
  try {
    return TIniFile(FileName()).ValueExists(currentPath_, Name);
  } catch (const Exception&) {
    return false;
  }
}

std::string TRegistry::ReadString(const std::string& Name) const {
  if (!open_) return {};
  try {
    return TIniFile(FileName()).ReadString(currentPath_, Name, "");
  } catch (const Exception&) {
    return {};
  }
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  std::string failed = "Cannot write the registry value \"" + Name + "\": ";
  if (!open_) throw ERegistryException(failed + "no key is open.");
  if (currentPath_.empty()) throw ERegistryException(failed + "values belong to a key below the root.");
  std::string file = FileName();
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ignored);
  try {
    // Quoted, so that the INI file's trimming and quote stripping give the data back unchanged.
    TIniFile(file).WriteString(currentPath_, Name, "\"" + Value + "\"");
  } catch (const Exception& e) {
    throw ERegistryException(failed + e.Message());
  }
}

}  // namespace platform

#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Exception.h"

namespace platform {

using HKEY = uint32_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;

// A registry value that could not be written; the message names the value and the reason.
class ERegistryException : public Exception {
public:
  using Exception::Exception;
};

// A key path as the registry file names it: "\A\\B\" and "A\B" name the same key, "A\B".
std::string NormalizeKeyPath(const std::string& path);

// The registry of the current user: keys and string values kept in an INI file,
// $XDG_CONFIG_HOME/velmora/registry.ini (~/.config when XDG_CONFIG_HOME is not set). A key is a section
// named by its path below the root ("Software\ClassLib\Locales"), a value a line in it; key paths and
// value names compare ignoring case, as the registry does. Values keep every character but line breaks.
//
// Use: OpenKey, then ReadString, WriteString and ValueExists on the open key, then CloseKey (or the
// destructor). Only HKEY_CURRENT_USER has keys; another root key opens nothing.
class TRegistry {
public:
  TRegistry() = default;

  HKEY RootKey() const { return rootKey_; }
  void SetRootKey(HKEY rootKey);

  // Path of the open key below the root, "" when none is open.
  const std::string& CurrentPath() const { return currentPath_; }

  // Opens `Key`: a path from the root when it begins with "\", else below the open key. A missing key
  // opens only with CanCreate, and then appears in the file with its first value. False when the key
  // cannot be opened.
  bool OpenKey(const std::string& Key, bool CanCreate);
  void CloseKey();

  bool ValueExists(const std::string& Name) const;
  // The value's data; "" when the value does not exist or no key is open.
  std::string ReadString(const std::string& Name) const;
  // Writes the value at once. Raises ERegistryException when no key is open, the name or data cannot be
  // stored (a name with "=" or a line break, data with a line break) or the file cannot be written.
  void WriteString(const std::string& Name, const std::string& Value);

  // The file that holds the current user's registry.
  static std::string FileName();

private:
  HKEY rootKey_ = HKEY_CURRENT_USER;
  bool open_ = false;
  std::string currentPath_;
};

}  // namespace platform

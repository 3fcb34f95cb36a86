#pragma once

#include <string>
#include <unordered_map>

#include "platform/core/IniFile.h"

namespace velmora {

// One section of an INI file read once, for looking up many keys (one per host of a long list) without
// scanning the section for each: keys compare as the INI rules say (ASCII case and surrounding blanks
// aside, the first of a name wins), and the typed reads are those of TCustomIniFile.
class TSectionValues {
public:
  TSectionValues() = default;
  TSectionValues(const platform::TCustomIniFile& ini, const std::string& section);

  int ReadInteger(const std::string& key, int defaultValue) const;
  bool ReadBool(const std::string& key, bool defaultValue) const { return ReadInteger(key, defaultValue ? 1 : 0) != 0; }

private:
  std::unordered_map<std::string, std::string> values_;  // by upper-cased key
};

}  // namespace velmora

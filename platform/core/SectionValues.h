#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

class TCustomIniFile;

// The values of one INI section by key, for looking up many keys (one per host of a long list) without
// scanning the section for each: keys compare as the INI rules say (ASCII case and surrounding blanks
// aside, the first of a name wins), and the typed reads are those of TCustomIniFile. TMemIniFile keeps
// one per section it has been asked about.
class TSectionValues {
public:
  TSectionValues() = default;
  // The section as the file reads it now; later changes of the file are not seen.
  TSectionValues(const TCustomIniFile& ini, const std::string& section);

  // Adds a key's value unless the key is there already (the first of a name wins).
  void Add(std::string_view key, std::string value);
  // The value of the key, none when the section has no such key.
  std::optional<std::string> Find(std::string_view key) const;
  int ReadInteger(const std::string& key, int defaultValue) const;
  bool ReadBool(const std::string& key, bool defaultValue) const { return ReadInteger(key, defaultValue ? 1 : 0) != 0; }

private:
  std::unordered_map<std::string, std::string> values_;  // by upper-cased trimmed key
};

}  // namespace platform

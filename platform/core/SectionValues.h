#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/KeyIndex.h"

namespace platform {

class TCustomIniFile;

// The values of one INI section by key, for looking up many keys (one per host of a long list) without
// scanning the section for each: keys compare as the INI rules say (ASCII case and surrounding blanks
// aside, the first of a name wins), and the typed reads are those of TCustomIniFile. TMemIniFile keeps
// one per section it has been asked about. The entries lie in one vector in the order they were added,
// found through a TKeyIndex, so a section of n keys costs n entries and one table, not n allocations
// of a node each. A lookup first tries the entry after the one found last, so reading the keys in the
// section's own order (the host sections all follow [Hosts]) walks the entries in order; that guess is
// changed by the const lookups, so one object serves one thread at a time.
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
  const std::string* ValueOf(std::string_view key) const;
  // The key of a position, for the index.
  auto KeyAt() const {
    return [this](uint32_t position) { return std::string_view(entries_[position].first); };
  }

  std::vector<std::pair<std::string, std::string>> entries_;  // trimmed key and value, each key once
  TKeyIndex index_;                                           // positions in entries_
  mutable size_t next_ = 0;  // the position after the entry found last
};

}  // namespace platform

#include "platform/core/SectionValues.h"

#include "platform/core/Ascii.h"
#include "platform/core/IniFile.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"

namespace platform {

TSectionValues::TSectionValues(const TCustomIniFile& ini, const std::string& section) {
  TStringList lines;
  ini.ReadSectionValues(section, lines);  // each key once, the first of a name
  entries_.reserve(static_cast<size_t>(lines.Count()));
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string& line = lines.StoredString(i);
    const size_t equals = line.find('=');
    Add(std::string_view(line).substr(0, equals), line.substr(equals + 1));
  }
}

void TSectionValues::Add(std::string_view key, std::string value) {
  const std::string_view trimmed = TrimmedView(key);
  if (index_.Add(trimmed, entries_.size(), KeyAt())) entries_.emplace_back(std::string(trimmed), std::move(value));
}

const std::string* TSectionValues::ValueOf(std::string_view key) const {
  key = TrimmedView(key);
  if (next_ < entries_.size() && SameText(entries_[next_].first, key)) return &entries_[next_++].second;
  const std::optional<uint32_t> position = index_.Find(key, KeyAt());
  if (!position) return nullptr;
  next_ = *position + 1;
  return &entries_[*position].second;
}

std::optional<std::string> TSectionValues::Find(std::string_view key) const {
  if (const std::string* value = ValueOf(key)) return *value;
  return std::nullopt;
}

int TSectionValues::ReadInteger(const std::string& key, int defaultValue) const {
  const std::string* value = ValueOf(key);
  return value ? StrToIntDef(*value, defaultValue) : defaultValue;
}

}  // namespace platform

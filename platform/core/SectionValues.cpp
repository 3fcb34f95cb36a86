#include "platform/core/SectionValues.h"

#include "platform/core/Ascii.h"
#include "platform/core/IniFile.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"

namespace platform {

TSectionValues::TSectionValues(const TCustomIniFile& ini, const std::string& section) {
  TStringList lines;
  ini.ReadSectionValues(section, lines);  // each key once, the first of a name
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string& line = lines.Strings(i);
    const size_t equals = line.find('=');
    Add(std::string_view(line).substr(0, equals), line.substr(equals + 1));
  }
}

void TSectionValues::Add(std::string_view key, std::string value) {
  values_.emplace(UpperCase(Trim(key)), std::move(value));
}

std::optional<std::string> TSectionValues::Find(std::string_view key) const {
  const auto found = values_.find(UpperCase(Trim(key)));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

int TSectionValues::ReadInteger(const std::string& key, int defaultValue) const {
  const std::optional<std::string> value = Find(key);
  return value ? StrToIntDef(*value, defaultValue) : defaultValue;
}

}  // namespace platform

#include "service/SectionValues.h"

#include "platform/core/Ascii.h"
#include "platform/core/StrUtils.h"
#include "platform/core/StringList.h"

namespace velmora {

TSectionValues::TSectionValues(const platform::TCustomIniFile& ini, const std::string& section) {
  platform::TStringList lines;
  ini.ReadSectionValues(section, lines);  // each key once, the first of a name
  for (int i = 0; i < lines.Count(); ++i) {
    const std::string& line = lines.Strings(i);
    const size_t equals = line.find('=');
    values_.emplace(platform::UpperCase(line.substr(0, equals)), line.substr(equals + 1));
  }
}

int TSectionValues::ReadInteger(const std::string& key, int defaultValue) const {
  const auto found = values_.find(platform::UpperCase(platform::Trim(key)));
  return found == values_.end() ? defaultValue : platform::StrToIntDef(found->second, defaultValue);
}

}  // namespace velmora

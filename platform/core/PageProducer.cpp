#include "platform/core/PageProducer.h"

#include "platform/core/Files.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits the inside of a tag ("NAME p1 "p 2"") into its name and parameters.
void SplitTag(const std::string& inside, std::string& name, std::vector<std::string>& params) {
  size_t i = 0;
  while (i < inside.size() && !IsBlank(inside[i])) ++i;
  name = inside.substr(0, i);
  while (i < inside.size()) {
    while (i < inside.size() && IsBlank(inside[i])) ++i;
    if (i == inside.size()) break;
    std::string param;
    bool quoted = false;
    for (; i < inside.size() && (quoted || !IsBlank(inside[i])); ++i) {
      if (inside[i] == '"') {
        quoted = !quoted;
      } else {
        param += inside[i];
      }
    }
    params.push_back(param);
  }
}

}  // namespace

std::string TPageProducer::Content() { return ContentFromString(ReadRegularFile(htmlFile_)); }

std::string TPageProducer::ContentFromString(const std::string& templateText) {
  std::string result;
  result.reserve(templateText.size());
  size_t pos = 0;
  while (pos < templateText.size()) {
    size_t open = templateText.find("<#", pos);
    size_t close = open == std::string::npos ? std::string::npos : templateText.find('>', open + 2);
    if (close == std::string::npos) {
      result.append(templateText, pos, std::string::npos);
      break;
    }
    result.append(templateText, pos, open - pos);
    std::string name;
    std::vector<std::string> params;
    SplitTag(templateText.substr(open + 2, close - open - 2), name, params);
    std::string replacement;
    if (OnHTMLTag) OnHTMLTag(*this, name, params, replacement);
    result += replacement;
    pos = close + 1;
  }
  return result;
}

}  // namespace platform

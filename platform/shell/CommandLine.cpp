#include "platform/shell/CommandLine.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& parameters) {
  std::vector<std::string> arguments;
  std::string current;
  bool inArgument = false;  // true once the current argument has begun, even if it is still empty ("")
  bool quoted = false;
  size_t i = 0;
  while (i < parameters.size()) {
    char c = parameters[i];
    if (IsBlank(c) && !quoted) {
      if (inArgument) arguments.push_back(current);
      current.clear();
      inArgument = false;
      ++i;
      continue;
    }
    inArgument = true;
    if (c == '\\') {
      size_t count = 0;
      while (i < parameters.size() && parameters[i] == '\\') {
        ++count;
        ++i;
      }
      if (i < parameters.size() && parameters[i] == '"') {
        current.append(count / 2, '\\');
        if (count % 2 == 1) {
          current += '"';
          ++i;
        }
      } else {
        current.append(count, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (quoted && i + 1 < parameters.size() && parameters[i + 1] == '"') {
        current += '"';
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    current += c;
    ++i;
  }
  if (inArgument) arguments.push_back(current);
  return arguments;
}

}  // namespace platform

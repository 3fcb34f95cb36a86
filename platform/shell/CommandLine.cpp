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

std::string QuoteCommandLineArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled and one more escapes the quote; others stay as they are.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  // Before the closing quote they are doubled too.
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

}  // namespace platform

#include "service/HostCommand.h"

#include <vector>

#include "platform/shell/CommandLine.h"
#include "platform/shell/ShellApi.h"

namespace velmora {

int StartHostCommand(const std::string& command, const std::string& host, int showCode) {
  // The host name is the command's last argument, whatever blanks or quotes it holds.
  const std::string hostArgument = platform::QuoteCommandLineArgument(host);
  const int result = platform::ShellExecute(0, "open", command, hostArgument, "", showCode);
  if (result != platform::ERROR_FILE_NOT_FOUND && result != platform::ERROR_PATH_NOT_FOUND) return result;
  const std::vector<std::string> words = platform::SplitCommandLine(command);
  if (words.empty() || (words.size() == 1 && words[0] == command)) return result;
  std::string parameters;
  for (size_t i = 1; i < words.size(); ++i) parameters += platform::QuoteCommandLineArgument(words[i]) + " ";
  return platform::ShellExecute(0, "open", words[0], parameters + hostArgument, "", showCode);
}

}  // namespace velmora

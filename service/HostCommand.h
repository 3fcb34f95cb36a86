#pragma once

#include <string>

namespace velmora {

// Starts a host's command through the shell's "open", with the host name as its last argument, and
// returns the shell's result (above 32: started). The command is first taken as one file name as it
// stands, so a path may hold blanks unquoted. When the shell finds no such file, the command is taken
// as a command line by the Windows rules: its first argument (in double quotes when it holds blanks) is
// the file, the others go before the host name. So a command typed as "/opt/my tools/up.sh" in quotes,
// with or without arguments after it, runs /opt/my tools/up.sh.
int StartHostCommand(const std::string& command, const std::string& host, int showCode);

}  // namespace velmora

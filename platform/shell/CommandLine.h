#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits a parameter string into arguments by the Windows command-line rules:
// - blanks (space, tab) separate arguments; a run of them counts as one separator;
// - double quotes group: blanks between them belong to the argument, the quotes themselves are dropped,
//   and a quoted part may sit inside a word (a"b c"d is one argument: ab cd);
// - inside a quoted part, two double quotes give one literal quote;
// - backslashes are literal unless a double quote follows them: 2n backslashes and a quote give n
//   backslashes and the quote groups; 2n+1 backslashes and a quote give n backslashes and a literal quote.
// An empty pair of quotes ("") is an empty argument.
std::vector<std::string> SplitCommandLine(const std::string& parameters);

// The argument written so that SplitCommandLine gives it back as exactly one argument, unchanged: as it
// stands when it is not empty and holds no blank or double quote, else in double quotes with its quotes
// and the backslashes before them escaped.
std::string QuoteCommandLineArgument(const std::string& argument);

}  // namespace platform

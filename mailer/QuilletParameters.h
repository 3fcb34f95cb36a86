#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mailer/net/Mlsmtp.h"

namespace quillet {

// The largest body file that -btxt and -bhtml take.
inline constexpr uint64_t MaxBodyFileBytes = 16 * 1024 * 1024;

// Applies Quillet's command-line switches to the mail of `smtp` and returns how many were matched.
// `params` holds the program path at 0 and the arguments after it. Every position is tested, the path
// too: a parameter lower-cased (ASCII) and equal to -a, -s, -b, -btxt or -bhtml takes the next
// parameter, raw, as its value (empty after the last one), and that value is tested as a switch in its
// turn. -a adds a recipient; -s sets the subject, the date (today, short date format) and the X-Mailer
// (the executable's path); -b adds a body line; -btxt replaces the body by a text file's lines, -bhtml
// too and sends it as text/html. A body file that cannot be read, is no regular file or is larger than
// MaxBodyFileBytes raises the file error.
int ApplyParameters(const std::vector<std::string>& params, mailnet::TMlSMTP& smtp);

}  // namespace quillet

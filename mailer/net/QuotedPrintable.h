#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mailnet {

// The quoted-printable lines of one text line (which holds no CR or LF): bytes outside printable ASCII,
// "=" and a blank or tab at the end are written as "=XX", and soft line breaks ("=" at the end) keep
// every line within 76 characters. The lines carry no line end.
std::vector<std::string> QuotedPrintableLines(std::string_view line);

}  // namespace mailnet

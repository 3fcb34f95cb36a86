#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The file side of the grid's text formats.

// The text of a file as UTF-8: a UTF-8 byte order mark is skipped, and a file that is not valid
// UTF-8 is read as Windows-1252. A file that cannot be read raises EDovAdizError(failedMessage).
std::string ReadGridTextFile(const std::string& fileName, const std::string& failedMessage);

// The lines of a text, which end at CR LF, a lone CR or a lone LF; a final line break adds no line.
std::vector<std::string_view> TextLines(std::string_view text);

// The text of a file for a header or footer: "" when it cannot be read.
std::string ReadOptionalTextFile(const std::string& fileName);

// A settings file name as the grid takes it: a relative name lies in the executable's folder, and the
// system's spelling (backslashes, upper case) is resolved as the platform does.
std::string GridSettingsFileName(const std::string& fileName);

enum class TGridFileWrite { Replace, Append };

// Replace writes the file atomically (the old content stays whole on any failure); Append adds the
// bytes at the end of the file (made when missing) in one write. A failure raises EDovAdizError
// "Cannot Create file " + the file name.
void WriteGridFile(const std::string& fileName, std::string_view bytes, TGridFileWrite mode);

// Reports a rounded percentage each time it differs from the one reported last.
class TProgressSteps {
public:
  explicit TProgressSteps(std::function<void(int)> report) : report_(std::move(report)) {}
  // done of total; 100 when total is 0.
  void Step(int64_t done, int64_t total);

private:
  std::function<void(int)> report_;
  int last_ = -1;
};

}  // namespace velmora

#include "grid/GridTextFiles.h"

#include <cmath>

#include "grid/DovAdizTypes.h"
#include "platform/core/AppendFile.h"
#include "platform/core/CodePages.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/Utf8.h"
#include "platform/office/Xml.h"

namespace velmora {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string AsUtf8(std::string bytes) {
  if (bytes.starts_with(kByteOrderMark)) bytes.erase(0, kByteOrderMark.size());
  if (platform::IsValidUtf8(bytes)) return bytes;
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 4);
  for (unsigned char byte : bytes) platform::AppendCodePoint(text, platform::CodePageChar(1252, byte));
  return text;
}

}  // namespace

std::string ReadGridTextFile(const std::string& fileName, const std::string& failedMessage) {
  try {
    return AsUtf8(platform::ReadRegularFile(fileName));
  } catch (const platform::EFOpenError&) {
    throw EDovAdizError(failedMessage);
  }
}

std::vector<std::string_view> TextLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(begin, end - begin));
    begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::string ReadOptionalTextFile(const std::string& fileName) {
  try {
    return AsUtf8(platform::ReadRegularFile(fileName));
  } catch (const platform::EFOpenError&) {
    return {};
  }
}

std::string GridSettingsFileName(const std::string& fileName) {
  const std::string name = platform::ResolvePath(fileName);
  return name.starts_with('/') ? name : platform::ResolvePath(platform::ExeDir() + name);
}

void WriteGridFile(const std::string& fileName, std::string_view bytes, TGridFileWrite mode) {
  const std::string failed = "Cannot Create file " + fileName;
  if (mode == TGridFileWrite::Replace) {
    try {
      platform::WriteFileAtomic(fileName, std::string(bytes));
    } catch (const platform::EFCreateError&) {
      throw EDovAdizError(failed);
    }
    return;
  }
  platform::TAppendFile file(fileName);
  if (file.Opened() != platform::TAppendFile::TOpened::Yes || !file.Append(std::string(bytes))) {
    throw EDovAdizError(failed);
  }
}

void TProgressSteps::Step(int64_t done, int64_t total) {
  const int percent = total <= 0 ? 100 : static_cast<int>(std::lround(100.0 * static_cast<double>(done) / total));
  if (percent == last_) return;
  last_ = percent;
  report_(percent);
}

}  // namespace velmora

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/Files.h"

namespace mailnet::test {

// A folder of received messages as mail_summary.py writes them: for message n (counting from 0) n.eml,
// n.txt and n.part<k>, and, from the test SMTP server, n.env.
class MailFolder {
public:
  explicit MailFolder(const std::string& folder) : folder_(folder) {}

  std::vector<std::string> Envelope(int n) const { return Lines(File(n, ".env")); }
  std::vector<std::string> Summary(int n) const { return Lines(File(n, ".txt")); }
  // The lines of the summary that begin with kind ("header", "address", "part", "defect") and a blank,
  // without them.
  std::vector<std::string> Summary(int n, const std::string& kind) const {
    std::vector<std::string> lines;
    for (const std::string& line : Summary(n)) {
      if (line.starts_with(kind + " ")) lines.push_back(line.substr(kind.size() + 1));
    }
    return lines;
  }
  std::string Raw(int n) const { return platform::ReadFileBytes(File(n, ".eml")); }
  std::string Part(int n, int k) const { return platform::ReadFileBytes(File(n, ".part" + std::to_string(k))); }
  bool Has(int n) const { return std::filesystem::exists(File(n, ".txt")); }

private:
  std::string File(int n, const std::string& suffix) const { return folder_ + "/" + std::to_string(n) + suffix; }

  static std::vector<std::string> Lines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text = platform::ReadFileBytes(path);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(text.substr(start, end - start));
    }
    return lines;
  }

  std::string folder_;
};

}  // namespace mailnet::test

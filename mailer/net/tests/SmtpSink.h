#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "mailer/net/tests/ChildProcess.h"
#include "platform/core/Files.h"

namespace mailnet::test {

// The real SMTP server of the tests (smtp_sink.py on Debian's aiosmtpd) on a free loopback port, writing
// what it accepts into a folder of its own; ended when the object goes.
class SmtpSink {
public:
  explicit SmtpSink(const std::string& folder, bool writeFiles = true)
      : folder_(folder), process_(Arguments(folder, writeFiles)) {
    std::string line = process_.ReadLine();
    if (line.starts_with("PORT ")) port_ = std::stoi(line.substr(5));
  }

  int Port() const { return port_; }  // 0 when the server did not start

  // What the server wrote for its message n (counting from 0); see smtp_sink.py.
  std::vector<std::string> Envelope(int n) const { return Lines(File(n, ".env")); }
  std::vector<std::string> Summary(int n) const { return Lines(File(n, ".txt")); }
  std::string Raw(int n) const { return platform::ReadFileBytes(File(n, ".eml")); }
  std::string Part(int n, int k) const { return platform::ReadFileBytes(File(n, ".part" + std::to_string(k))); }
  bool Has(int n) const { return std::filesystem::exists(File(n, ".txt")); }

private:
  static std::vector<std::string> Arguments(const std::string& folder, bool writeFiles) {
    std::vector<std::string> argv{kPython, TestScript("smtp_sink.py"), folder};
    if (!writeFiles) argv.push_back("--no-files");
    return argv;
  }

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
  ChildProcess process_;
  int port_ = 0;
};

}  // namespace mailnet::test

#pragma once

#include <string>
#include <vector>

#include "mailer/net/tests/ChildProcess.h"
#include "mailer/net/tests/MailFolder.h"

namespace mailnet::test {

// The real SMTP server of the tests (smtp_sink.py on Debian's aiosmtpd) on a free loopback port, writing
// what it accepts into a folder of its own (MailFolder); ended when the object goes.
class SmtpSink : public MailFolder {
public:
  explicit SmtpSink(const std::string& folder, bool writeFiles = true)
      : MailFolder(folder), process_(Arguments(folder, writeFiles)) {
    std::string line = process_.ReadLine();
    if (line.starts_with("PORT ")) port_ = std::stoi(line.substr(5));
  }

  int Port() const { return port_; }  // 0 when the server did not start

private:
  static std::vector<std::string> Arguments(const std::string& folder, bool writeFiles) {
    std::vector<std::string> argv{kPython, TestScript("smtp_sink.py"), folder};
    if (!writeFiles) argv.push_back("--no-files");
    return argv;
  }

  ChildProcess process_;
  int port_ = 0;
};

}  // namespace mailnet::test

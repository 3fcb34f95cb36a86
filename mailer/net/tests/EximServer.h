#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "mailer/net/tests/ChildProcess.h"
#include "platform/core/Files.h"

namespace mailnet::test {

// Debian's exim4 as the tests' second real SMTP server: a daemon of its own in the foreground, with a
// private configuration, spool and log in a folder of the test, listening on a free loopback port. It
// keeps every message it accepts in its queue (exim delivers as no root user, who could not reach the
// test's folder); Message reads one back as exim would deliver it. It listens on a loopback address and
// port that the test gives (a free port of 127.0.0.1 when it gives none). It runs as root (with -C exim
// keeps root only then); Available is false where exim4 is missing or the test is not root. Ended when
// the object goes.
class EximServer {
public:
  static constexpr const char* kExim = "/usr/sbin/exim4";

  explicit EximServer(const std::string& folder, const std::string& address = "127.0.0.1", int port = 0)
      : folder_(folder), address_(address) {
    if (!Available()) return;
    port_ = port != 0 ? port : FreePort();
    std::filesystem::create_directories(folder_ + "/spool");
    platform::WriteFileAtomic(folder_ + "/exim.conf", Configuration());
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{kExim, "-C", folder_ + "/exim.conf", "-bdf", "-oX", std::to_string(port_)});
    for (int i = 0; i < 100 && !Accepts(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (!Accepts()) port_ = 0;
  }

  static bool Available() { return ::geteuid() == 0 && ::access(kExim, X_OK) == 0; }
  int Port() const { return port_; }  // 0 when the server did not start

  // The n-th message accepted (counting from 0), written into file as exim would deliver it (LF line
  // ends), waiting up to ten seconds for it; false when none came.
  bool Message(size_t n, const std::string& file) const {
    for (int i = 0; i < 200; ++i) {
      std::vector<std::string> ids;
      std::error_code error;
      for (const auto& entry : std::filesystem::directory_iterator(folder_ + "/spool/input", error)) {
        std::string name = entry.path().filename().string();
        if (name.ends_with("-D")) ids.push_back(name.substr(0, name.size() - 2));
      }
      std::sort(ids.begin(), ids.end());  // exim's message ids grow with the time of arrival
      if (ids.size() > n) {
        ChildProcess show({kExim, "-C", folder_ + "/exim.conf", "-Mvc", ids[n]});
        platform::WriteFileAtomic(file, show.ReadAll());
        return show.Wait() == 0;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

private:
  std::string Configuration() const {
    return "spool_directory = " + folder_ + "/spool\n"
           "log_file_path = " + folder_ + "/%slog\n"
           "pid_file_path = " + folder_ + "/exim.pid\n"
           "exim_user = root\nexim_group = root\nnever_users =\n"
           "local_interfaces = " + address_ + "\nprimary_hostname = mail.test\ntls_advertise_hosts =\n"
           "queue_only = true\nacl_smtp_rcpt = accept_all\n"
           "begin acl\naccept_all:\n  accept\n";
  }

  // A loopback port that was free a moment ago.
  static int FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
  }

  bool Accepts() const {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, address_.c_str(), &address.sin_addr);
    address.sin_port = htons(static_cast<uint16_t>(port_));
    bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
  }

  std::string folder_;
  std::string address_;
  int port_ = 0;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace mailnet::test

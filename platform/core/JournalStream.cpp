#include "platform/core/JournalStream.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <cstdlib>
#include <cstring>

#include "platform/core/Eintr.h"

namespace platform {

bool IsJournalStream(int fd) {
  const char* named = std::getenv("JOURNAL_STREAM");
  struct stat st{};
  if (named == nullptr || ::fstat(fd, &st) != 0) return false;
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) == named;
}

UniqueFd OpenJournalStream(const std::string& identifier, const std::string& socketPath) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof address.sun_path) return {};
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  UniqueFd stream(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  auto connect = [&] { return ::connect(stream.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address); };
  if (!stream.IsValid() || RetryOnEintr(connect) != 0) return {};
  ::shutdown(stream.Descriptor(), SHUT_RD);
  // The header: identifier, unit (none), level 6 (info), level prefixes read, no copies to syslog, the
  // kernel log or the console.
  const std::string header = identifier + "\n\n6\n1\n0\n0\n0\n";
  auto send = [&] { return ::send(stream.Descriptor(), header.data(), header.size(), MSG_NOSIGNAL); };
  if (RetryOnEintr(send) != static_cast<ssize_t>(header.size())) return {};
  return stream;
}

}  // namespace platform

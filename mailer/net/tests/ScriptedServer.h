#pragma once

#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mailnet::test {

// One step of a scripted peer's part in a conversation; made by the functions below.
struct Step {
  enum Kind { Send, Reply, Data, AwaitRead, AwaitFullSend, Close, Listen, Gate };
  Kind kind;
  std::string text;
};

// Sends bytes.
inline Step Say(std::string bytes) { return {Step::Send, std::move(bytes)}; }
// Reads one line of the client (recorded), then sends bytes.
inline Step Answer(std::string bytes) { return {Step::Reply, std::move(bytes)}; }
// Reads message data through the line "." (recorded as one entry without the "." line).
inline Step TakeData() { return {Step::Data, {}}; }
// Waits until the client has read everything sent so far, so that the next bytes arrive apart.
inline Step AwaitRead() { return {Step::AwaitRead, {}}; }
// Waits until the client's sends wait for room: the bytes it sent fill this peer's receive buffer, which
// reads nothing meanwhile, and more are queued at the client.
inline Step AwaitFullSend() { return {Step::AwaitFullSend, {}}; }
// Closes the connection at once.
inline Step HangUp() { return {Step::Close, {}}; }
// Reads and records lines, answering nothing, until the client goes.
inline Step Listen() { return {Step::Listen, {}}; }
// Reads nothing and waits until the test calls Release (or Stop): a peer that is slow for as long as the
// test wants, in the test's (virtual) time.
inline Step Hold() { return {Step::Gate, {}}; }

// A raw TCP peer on a loopback port that plays one script per connection it accepts, on a thread of its
// own, with blocking calls (it takes no part in the platform clock). It keeps step with the client by
// looking at the client's socket in this same process, never by pausing. After its script it
// records what the client still sends until the client goes. What the client sent is recorded in order.
class ScriptedServer {
public:
  explicit ScriptedServer(std::vector<Step> script) : ScriptedServer(std::vector<std::vector<Step>>{script}, false) {}
  // Two connections, one after the other.
  ScriptedServer(std::vector<Step> first, std::vector<Step> second)
      : ScriptedServer(std::vector<std::vector<Step>>{first, second}, false) {}
  // Listening on ::1 instead of 127.0.0.1 (AwaitRead and AwaitFullSend then do not wait).
  static ScriptedServer OnIpv6(std::vector<Step> script) {
    return ScriptedServer(std::vector<std::vector<Step>>{script}, true);
  }
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;
  ~ScriptedServer() {
    Stop();
    ::close(listener_);
    ::close(stop_[0]);
    ::close(stop_[1]);
  }

  int Port() const { return port_; }

  // Ends the scripts: what the client sent before is still read and recorded, then the thread ends.
  void Stop() {
    if (!thread_.joinable()) return;
    (void)!::write(stop_[1], "x", 1);
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    released_.notify_all();
    played_.notify_all();
    thread_.join();
  }

  // Lets the script go on past one Hold step, and returns once it has played on to its next Hold or its
  // end: what follows the Hold is sent before the caller (a timer on the clock) lets time go on, however
  // late this thread is scheduled.
  void Release() {
    std::unique_lock lock(mutex_);
    ++releases_;
    released_.notify_all();
    played_.wait(lock, [this] { return (releases_ == 0 && idle_) || stopping_; });
  }

  std::vector<std::string> Received() {
    std::lock_guard lock(mutex_);
    return received_;
  }

private:
  ScriptedServer(std::vector<std::vector<Step>> scripts, bool ipv6) : scripts_(std::move(scripts)) {
    listener_ = ::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // A fixed receive buffer (no autotuning) that its connections inherit, so that a client that sends
    // megabytes to a peer that reads nothing is sure to wait for room.
    const int receiveBuffer = 64 * 1024;
    ::setsockopt(listener_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_addr = in6addr_loopback;
    sockaddr* address = ipv6 ? reinterpret_cast<sockaddr*>(&v6) : reinterpret_cast<sockaddr*>(&v4);
    socklen_t length = ipv6 ? sizeof v6 : sizeof v4;
    ::bind(listener_, address, length);
    ::listen(listener_, 4);
    ::getsockname(listener_, address, &length);
    port_ = ntohs(ipv6 ? v6.sin6_port : v4.sin_port);
    (void)!::pipe2(stop_, O_CLOEXEC);
    thread_ = std::thread([this] { Run(); });
  }

  void Record(std::string line) {
    std::lock_guard lock(mutex_);
    received_.push_back(std::move(line));
  }

  // Waits until fd is readable (or closed) or the server is stopped; false when stopped with nothing
  // left to read.
  bool WaitReadable(int fd) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
    }
    if (fds[0].revents != 0) return true;
    // Stopped: bytes the client has written but the kernel has not yet sent here are still to come.
    const int client = fd == listener_ ? -1 : ClientSocket(fd);
    int unsent = 0;
    if (client < 0 || ::ioctl(client, SIOCOUTQNSD, &unsent) != 0 || unsent == 0) return false;
    while (::poll(fds, 1, -1) < 0) {
    }
    return true;
  }

  // One line through its LF; false when the client closed first.
  bool ReadLine(int fd, std::string& pending, std::string& line) {
    for (;;) {
      size_t lf = pending.find('\n');
      if (lf != std::string::npos) {
        line = pending.substr(0, lf + 1);
        pending.erase(0, lf + 1);
        return true;
      }
      char buffer[4096];
      if (!WaitReadable(fd)) return false;
      ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return false;
      pending.append(buffer, static_cast<size_t>(n));
    }
  }

  void Run() {
    for (const std::vector<Step>& script : scripts_) {
      if (!WaitReadable(listener_)) return;
      int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd < 0) return;
      Play(fd, script);
      ::close(fd);
    }
  }

  // The client's end of the connection whose server end is fd: the socket of this process bound to the
  // connection's other address.
  static int ClientSocket(int fd) {
    sockaddr_in server{}, client{}, address{};
    socklen_t length = sizeof server;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&server), &length);
    length = sizeof client;
    ::getpeername(fd, reinterpret_cast<sockaddr*>(&client), &length);
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
      const int candidate = std::stoi(entry.path().filename().string());
      length = sizeof address;
      if (candidate == fd || ::getsockname(candidate, reinterpret_cast<sockaddr*>(&address), &length) != 0) continue;
      if (address.sin_family != AF_INET || address.sin_port != client.sin_port) continue;
      length = sizeof address;
      if (::getpeername(candidate, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
          address.sin_port == server.sin_port)
        return candidate;
    }
    return -1;
  }

  // Spins until the condition holds for the client's socket (or the server is stopped).
  template <typename Condition>
  void AwaitClient(int fd, Condition condition) {
    const int client = ClientSocket(fd);
    pollfd stop{stop_[0], POLLIN, 0};
    while (client >= 0 && !condition(client) && ::poll(&stop, 1, 0) == 0) std::this_thread::yield();
  }

  void Play(int fd, const std::vector<Step>& script) {
    std::string pending, line;
    for (const Step& step : script) {
      switch (step.kind) {
        case Step::Send:
          ::send(fd, step.text.data(), step.text.size(), MSG_NOSIGNAL);
          break;
        case Step::Reply:
          if (!ReadLine(fd, pending, line)) return;
          Record(line);
          ::send(fd, step.text.data(), step.text.size(), MSG_NOSIGNAL);
          break;
        case Step::Data: {
          std::string data;
          while (ReadLine(fd, pending, line) && line != ".\r\n") data += line;
          Record(data);
          break;
        }
        case Step::AwaitRead:
          AwaitClient(fd, [](int client) {
            int unread = 0;
            return ::ioctl(client, FIONREAD, &unread) == 0 && unread == 0;
          });
          break;
        case Step::AwaitFullSend:
          AwaitClient(fd, [](int client) {
            int unsent = 0;
            return ::ioctl(client, SIOCOUTQNSD, &unsent) == 0 && unsent > 0;
          });
          break;
        case Step::Close:
          return;
        case Step::Listen:
          break;
        case Step::Gate: {
          std::unique_lock lock(mutex_);
          SetIdle(true);
          released_.wait(lock, [this] { return releases_ > 0 || stopping_; });
          if (releases_ > 0) --releases_;
          idle_ = false;
          break;
        }
      }
    }
    {
      std::lock_guard lock(mutex_);
      SetIdle(true);
    }
    while (ReadLine(fd, pending, line)) Record(line);
  }

  std::vector<std::vector<Step>> scripts_;
  int listener_ = -1;
  int port_ = 0;
  int stop_[2] = {-1, -1};
  std::thread thread_;
  std::mutex mutex_;
  // Called with mutex_ held.
  void SetIdle(bool idle) {
    idle_ = idle;
    played_.notify_all();
  }

  std::condition_variable released_;
  std::condition_variable played_;
  int releases_ = 0;
  bool idle_ = false;  // waiting at a Hold, or past the script's end
  bool stopping_ = false;
  std::vector<std::string> received_;
};

}  // namespace mailnet::test

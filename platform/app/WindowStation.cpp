#include "platform/app/WindowStation.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

#include "platform/core/Ascii.h"
#include "platform/core/Eintr.h"
#include "platform/core/Exception.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/UniqueFd.h"

namespace platform {

namespace {

// What one post carries over a window's socket.
struct Datagram {
  uint32_t magic;
  UINT message;
  uint64_t hwnd;
  WPARAM wParam;
  LPARAM lParam;
};
static_assert(sizeof(Datagram) == 32);
constexpr uint32_t kMagic = 0x47534D56;  // "VMSG"

// A line of the windows list. Socket paths are always derived from the handle, never taken from the file.
struct Entry {
  uint64_t hwnd = 0;
  long pid = 0;
  long uid = 0;
  std::string socket;
  std::string className;
  std::string caption;
};

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

// Parses the windows file; lines that are not well formed are left out.
std::vector<Entry> ParseEntries(const std::string& text) {
  std::vector<Entry> entries;
  for (const std::string& line : SplitLines(text)) {
    std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 6) continue;
    Entry e;
    char* end = nullptr;
    e.hwnd = std::strtoull(f[0].c_str(), &end, 16);
    if (*end || e.hwnd == 0) continue;
    e.pid = std::strtol(f[1].c_str(), &end, 10);
    if (*end || e.pid <= 0) continue;
    e.uid = std::strtol(f[2].c_str(), &end, 10);
    if (*end) continue;
    e.socket = f[3];
    e.className = Unescape(f[4]);
    e.caption = Unescape(f[5]);
    entries.push_back(std::move(e));
  }
  return entries;
}

std::string FormatEntries(const std::vector<Entry>& entries) {
  std::string text;
  char hwnd[32];
  for (const Entry& e : entries) {
    std::snprintf(hwnd, sizeof hwnd, "%016llx", static_cast<unsigned long long>(e.hwnd));
    text += std::string(hwnd) + "\t" + std::to_string(e.pid) + "\t" + std::to_string(e.uid) + "\t" + e.socket + "\t" +
            Escape(e.className) + "\t" + Escape(e.caption) + "\n";
  }
  return text;
}

std::string SocketName(HWND hwnd) {
  char name[32];
  std::snprintf(name, sizeof name, "w%016llx", static_cast<unsigned long long>(hwnd));
  return name;
}

bool ProcessLives(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

bool UserInGroup(uid_t uid, gid_t gid) {
  passwd pw{};
  passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(uid, &pw, buffer.data(), buffer.size(), &found) != 0 || !found) return false;
  if (pw.pw_gid == gid) return true;
  int count = 256;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  if (::getgrouplist(pw.pw_name, pw.pw_gid, groups.data(), &count) < 0) return false;
  return std::find(groups.begin(), groups.begin() + count, gid) != groups.begin() + count;
}

// Whether a user (with the given primary group) may write the folder, by its owner, group and mode. In
// a sticky folder (mode 1777) others may add files but not replace the owner's, so only the owner counts.
bool MayWrite(const std::string& folder, uid_t uid, gid_t gid) {
  if (uid == 0) return true;
  struct stat st{};
  if (::stat(folder.c_str(), &st) != 0) return false;
  if (uid == st.st_uid) return (st.st_mode & S_IWUSR) != 0;
  if (st.st_mode & S_ISVTX) return false;
  if (gid == st.st_gid || UserInGroup(uid, st.st_gid)) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

enum class Delivery { Sent, Refused, Dead };

}  // namespace

bool MatchesText(const char* wanted, const std::string& actual) {
  return !wanted || SameText(wanted, actual);
}

struct WindowStation::Impl {
  std::string exeDir;
  std::string folder;      // with trailing "/"
  UniqueFd dirFd;          // O_PATH handle of the folder, for socket paths within the Unix limit
  UniqueFd lockFd;
  struct stat exe{};       // the executables' folder when the station was opened
  std::mutex mutex;        // flock does not exclude the threads of one process from each other

  std::string SocketPath(const std::string& name) const {
    return "/proc/self/fd/" + std::to_string(dirFd.Descriptor()) + "/" + name;
  }

  // The classes of users that may write the executables' folder (as MayWrite counts them) get the same
  // access here.
  mode_t AccessBits() const {
    if (exe.st_mode & S_ISVTX) return S_IRWXU;
    return S_IRWXU | ((exe.st_mode & S_IWGRP) ? S_IRWXG : 0) | ((exe.st_mode & S_IWOTH) ? S_IRWXO : 0);
  }

  // Gives a file the executables' folder's owner and group and the mode, through the file's own chown
  // and chmod (by path or by descriptor).
  template <class Chown, class Chmod>
  void ShareThrough(Chown chown, Chmod chmod, mode_t mode) const {
    if (::geteuid() == 0) {
      if (chown(exe.st_uid, exe.st_gid) != 0) return;
    } else if (chown(static_cast<uid_t>(-1), exe.st_gid) != 0) {
      // Not a member of the folder's group: the file keeps ours, the station works for our own user.
    }
    chmod(mode);
  }
  void Share(const std::string& path, mode_t mode) const {
    ShareThrough([&](uid_t uid, gid_t gid) { return ::chown(path.c_str(), uid, gid); },
                 [&](mode_t bits) { return ::chmod(path.c_str(), bits); }, mode);
  }
  void ShareFile(const std::string& path) const { Share(path, AccessBits() & 0666); }
  void ShareOpenFile(int fd) const {
    ShareThrough([&](uid_t uid, gid_t gid) { return ::fchown(fd, uid, gid); },
                 [&](mode_t bits) { return ::fchmod(fd, bits); }, AccessBits() & 0666);
  }

  // The station's lock, held by whoever changes a list. Readers take none: every list is replaced
  // atomically, so a reader sees an old or a new list, never a part. A process that holds the lock and
  // hangs (or is stopped) must not hang the others: a change waits for it at most kLockWaitMs of real
  // time (it is another process's doing, not the clock's), a clean-up of stale entries not at all.
  class Lock {
  public:
    enum class Mode { Wait, Try };
    Lock(Impl& impl, Mode mode) : impl_(impl) {
      auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
      while (!(held_ = impl.mutex.try_lock())) {
        if (mode == Mode::Try || std::chrono::steady_clock::now() >= until) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      while (RetryOnEintr([&] { return ::flock(impl.lockFd.Descriptor(), LOCK_EX | LOCK_NB); }) != 0) {
        if (mode == Mode::Try || std::chrono::steady_clock::now() >= until) {
          impl.mutex.unlock();
          held_ = false;
          return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    }
    ~Lock() {
      if (!held_) return;
      ::flock(impl_.lockFd.Descriptor(), LOCK_UN);
      impl_.mutex.unlock();
    }
    bool Held() const { return held_; }

  private:
    static constexpr int kLockWaitMs = 2000;
    Impl& impl_;
    bool held_ = false;
  };

  std::string ReadList(const char* name) const {
    try {
      return ReadFileBytes(folder + name);
    } catch (const EFOpenError&) {
      return "";
    }
  }
  // Under the lock. The new list gets its owner and mode before it takes the list's name, so that a
  // reader of another user never meets a list that it may not read. The lists describe live processes
  // only, which a crash of the machine ends too: they are not flushed to disk, which would cost every
  // window created or destroyed a wait for the disk.
  void WriteList(const char* name, const std::string& text) const {
    WriteFileAtomic(folder + name, text, Durability::Unflushed, [this](int fd) { ShareOpenFile(fd); });
  }

  std::vector<Entry> Entries() const { return ParseEntries(ReadList("windows")); }

  // Applies `change` to the windows list under the lock; false when it cannot be had or written.
  template <class Change>
  bool ChangeEntries(Change change, Lock::Mode mode = Lock::Mode::Wait) {
    Lock lock(*this, mode);
    if (!lock.Held()) return false;
    std::vector<Entry> entries = ParseEntries(ReadList("windows"));
    change(entries);
    try {
      WriteList("windows", FormatEntries(entries));
      return true;
    } catch (const Exception&) {
      return false;
    }
  }

  // Best effort: when the lock is busy the entries stay until they are met again.
  void RemoveStale(const std::vector<Entry>& stale) {
    if (stale.empty()) return;
    bool removed = ChangeEntries(
        [&](std::vector<Entry>& entries) {
          std::erase_if(entries, [&](const Entry& e) {
            return std::any_of(stale.begin(), stale.end(), [&](const Entry& s) { return s.hwnd == e.hwnd; });
          });
        },
        Lock::Mode::Try);
    if (!removed) return;
    for (const Entry& e : stale) ::unlink((folder + SocketName(HWND{e.hwnd})).c_str());
  }

  // An entry lives while its process lives and its socket is bound.
  bool Lives(const Entry& e) {
    if (!ProcessLives(e.pid)) return false;
    UniqueFd probe(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_un address = Address(SocketName(HWND{e.hwnd}));
    if (::connect(probe.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return true;
    return errno != ECONNREFUSED && errno != ENOENT;
  }

  sockaddr_un Address(const std::string& name) const {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", SocketPath(name).c_str());
    return address;
  }

  // Sends from a socket of its own, so a receiver that stopped reading fills no buffer that other
  // posts need.
  Delivery Send(const std::string& socketName, const Datagram& datagram) {
    UniqueFd sender(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    sockaddr_un address = Address(socketName);
    ssize_t n = ::sendto(sender.Descriptor(), &datagram, sizeof datagram, MSG_DONTWAIT | MSG_NOSIGNAL,
                         reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (n == static_cast<ssize_t>(sizeof datagram)) return Delivery::Sent;
    return errno == ECONNREFUSED || errno == ENOENT ? Delivery::Dead : Delivery::Refused;
  }
};

namespace {

// One listed window: its entry, and its socket registered with the owning thread's queue.
class StationListing : public WindowStation::Listing {
public:
  StationListing(std::shared_ptr<WindowStation> station, WindowStation::Impl& impl, HWND hwnd)
      : station_(std::move(station)), impl_(impl), hwnd_(hwnd), name_(SocketName(hwnd)) {}

  ~StationListing() override {
    registration_.Reset();
    uint64_t hwnd = static_cast<uint64_t>(hwnd_);
    impl_.ChangeEntries([&](std::vector<Entry>& entries) { std::erase_if(entries, [&](const Entry& e) { return e.hwnd == hwnd; }); });
    if (socket_.IsValid()) ::unlink(impl_.SocketPath(name_).c_str());
  }

  bool Open(const std::string& className, const std::string& caption, const std::shared_ptr<MessageQueue>& queue) {
    socket_ = UniqueFd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    int on = 1;
    if (!socket_.IsValid() || ::setsockopt(socket_.Descriptor(), SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0) return false;
    std::string path = impl_.SocketPath(name_);
    ::unlink(path.c_str());  // left by an ended process that had our id
    sockaddr_un address = impl_.Address(name_);
    if (::bind(socket_.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      socket_.Close();
      return false;
    }
    impl_.ShareFile(path);
    Entry entry{static_cast<uint64_t>(hwnd_), static_cast<long>(::getpid()), static_cast<long>(::getuid()), name_, className, caption};
    bool listed = impl_.ChangeEntries([&](std::vector<Entry>& entries) {
      std::erase_if(entries, [&](const Entry& e) { return e.hwnd == entry.hwnd; });
      entries.push_back(entry);
    });
    if (!listed) return false;
    queue_ = queue;
    registration_ = queue->RegisterWaitHandle(socket_.Descriptor(), kWaitReadable, [this](unsigned) { Receive(); },
                                              VirtualTimeHold::Background);
    return true;
  }

  void SetCaption(const std::string& caption) override {
    uint64_t hwnd = static_cast<uint64_t>(hwnd_);
    impl_.ChangeEntries([&](std::vector<Entry>& entries) {
      for (Entry& e : entries)
        if (e.hwnd == hwnd) e.caption = caption;
    });
  }

private:
  // Feeds every waiting datagram into the queue; drops those that are malformed or come from a user who
  // may not write the executables' folder.
  void Receive() {
    for (;;) {
      Datagram datagram{};
      alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
      iovec io{&datagram, sizeof datagram};
      msghdr header{};
      header.msg_iov = &io;
      header.msg_iovlen = 1;
      header.msg_control = control;
      header.msg_controllen = sizeof control;
      ssize_t n = RetryOnEintr([&] { return ::recvmsg(socket_.Descriptor(), &header, MSG_DONTWAIT | MSG_CMSG_CLOEXEC); });
      if (n < 0) return;
      const ucred* sender = nullptr;
      for (cmsghdr* c = CMSG_FIRSTHDR(&header); c; c = CMSG_NXTHDR(&header, c))
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS) sender = reinterpret_cast<const ucred*>(CMSG_DATA(c));
      if (!sender || n != sizeof datagram || (header.msg_flags & MSG_TRUNC)) continue;
      if (datagram.magic != kMagic || datagram.hwnd != static_cast<uint64_t>(hwnd_)) continue;
      // Another process may post only registered messages: none may make us quit, close or the like.
      if (datagram.message < kFirstRegisteredMessage) continue;
      if (!MayWrite(impl_.exeDir, sender->uid, sender->gid)) continue;
      if (auto queue = queue_.lock())
        queue->Post(MSG{hwnd_, datagram.message, datagram.wParam, datagram.lParam, GetTickCount()});
    }
  }

  std::shared_ptr<WindowStation> station_;  // keeps impl_ alive
  WindowStation::Impl& impl_;
  HWND hwnd_;
  std::string name_;
  UniqueFd socket_;
  std::weak_ptr<MessageQueue> queue_;
  WaitRegistration registration_;
};

}  // namespace

std::shared_ptr<WindowStation> WindowStation::ForExeDir() {
  static std::mutex mutex;
  static std::string openedFor;
  static std::shared_ptr<WindowStation> current;
  std::string exeDir = ExeDir();
  std::lock_guard lock(mutex);
  if (openedFor == exeDir && current) return current;
  openedFor = exeDir;
  current = std::make_shared<WindowStation>(exeDir + ".station/");
  if (!current->impl_) current.reset();
  return current;
}

WindowStation::WindowStation(const std::string& folder) : folder_(folder) {
  auto impl = std::make_unique<Impl>();
  impl->folder = folder;
  impl->exeDir = folder.substr(0, folder.size() - std::string(".station/").size());
  if (::stat(impl->exeDir.c_str(), &impl->exe) != 0) return;
  std::string path = folder.substr(0, folder.size() - 1);
  // Shared at every opening, not only at creation, so that the station follows a change of the
  // executables' folder's access (as far as this process may set it).
  ::mkdir(path.c_str(), 0700);
  struct stat station{};
  if (::lstat(path.c_str(), &station) == 0 && S_ISDIR(station.st_mode))
    impl->Share(path, impl->AccessBits() | ((impl->AccessBits() & S_IRWXG) ? S_ISGID : 0));
  if (::access(path.c_str(), R_OK | W_OK | X_OK) != 0) return;  // this user may not take part
  impl->dirFd = UniqueFd(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!impl->dirFd.IsValid()) return;
  std::string lockPath = folder + "lock";
  bool created = true;
  impl->lockFd = UniqueFd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
  if (!impl->lockFd.IsValid()) {
    created = false;
    impl->lockFd = UniqueFd(::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC));
  }
  if (!impl->lockFd.IsValid()) return;
  if (created) impl->ShareFile(lockPath);
  impl_ = std::move(impl);
}

WindowStation::~WindowStation() = default;

std::unique_ptr<WindowStation::Listing> WindowStation::List(HWND hwnd, const std::string& className,
                                                            const std::string& caption,
                                                            const std::shared_ptr<MessageQueue>& queue) {
  auto listing = std::make_unique<StationListing>(shared_from_this(), *impl_, hwnd);
  if (!listing->Open(className, caption, queue)) return nullptr;
  return listing;
}

HWND WindowStation::Find(const char* className, const char* caption) {
  long own = ::getpid();
  std::vector<Entry> stale;
  HWND found{};
  for (const Entry& e : impl_->Entries()) {
    if (e.pid == own || !MatchesText(className, e.className) || !MatchesText(caption, e.caption)) continue;
    if (!impl_->Lives(e)) {
      stale.push_back(e);
      continue;
    }
    found = HWND{e.hwnd};
    break;
  }
  impl_->RemoveStale(stale);
  return found;
}

bool WindowStation::IsListed(HWND hwnd) {
  for (const Entry& e : impl_->Entries())
    if (e.hwnd == static_cast<uint64_t>(hwnd)) {
      if (impl_->Lives(e)) return true;
      impl_->RemoveStale({e});
      return false;
    }
  return false;
}

bool WindowStation::Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  uint64_t target = static_cast<uint64_t>(hwnd);
  Datagram datagram{kMagic, msg, target, wParam, lParam};
  Delivery delivery = impl_->Send(SocketName(hwnd), datagram);
  if (delivery == Delivery::Dead) {
    for (const Entry& e : impl_->Entries())
      if (e.hwnd == target) impl_->RemoveStale({e});
  }
  return delivery == Delivery::Sent;
}

bool WindowStation::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) {
  long own = ::getpid();
  bool all = true;
  std::vector<Entry> stale;
  for (const Entry& e : impl_->Entries()) {
    if (e.pid == own || ProcessOf(HWND{e.hwnd}) != e.pid) continue;
    Delivery delivery = impl_->Send(SocketName(HWND{e.hwnd}), Datagram{kMagic, msg, e.hwnd, wParam, lParam});
    if (delivery == Delivery::Dead) stale.push_back(e);
    all = all && delivery != Delivery::Refused;
  }
  impl_->RemoveStale(stale);
  return all;
}

UINT WindowStation::RegisterMessage(const std::string& name) {
  Impl::Lock lock(*impl_, Impl::Lock::Mode::Wait);
  if (!lock.Held()) return 0;
  std::string text = impl_->ReadList("messages");
  UINT next = kFirstRegisteredMessage;
  for (const std::string& line : SplitLines(text)) {
    std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 2) continue;
    char* end = nullptr;
    unsigned long number = std::strtoul(f[0].c_str(), &end, 16);
    if (*end || number < kFirstRegisteredMessage || number > kLastRegisteredMessage) continue;
    std::string stored = Unescape(f[1]);
    if (MatchesText(name.c_str(), stored)) return static_cast<UINT>(number);
    next = std::max<UINT>(next, static_cast<UINT>(number) + 1);
  }
  if (next > kLastRegisteredMessage) return 0;
  if (!text.empty() && text.back() != '\n') text += '\n';
  char number[16];
  std::snprintf(number, sizeof number, "%04x", next);
  try {
    impl_->WriteList("messages", text + number + "\t" + Escape(name) + "\n");
  } catch (const Exception&) {
    return 0;
  }
  return next;
}

}  // namespace platform

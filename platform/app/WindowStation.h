#pragma once

#include <memory>
#include <string>

#include "platform/app/MessageQueue.h"
#include "platform/app/Messages.h"

namespace platform {

// The window station of one executables' folder: the shared list of top-level windows and registered
// messages of every process whose executable lies there, and the datagram sockets through which they
// post to each other's windows. Used by the window functions (Window.h); not called by the system's code.
//
// Files in ExeDir()/.station/: "lock" (flock, held to change a list), "windows" (one line
// per listed window: handle, pid, uid, socket name, class, caption), "messages" (number and name per
// registered message), and one datagram socket per listed window, named after its handle. The folder
// and its files belong to the executables' folder's owner and group (when this process may set them) and
// give access to the same classes of users (owner, group, others) that may write the executables'
// folder; a sticky folder (mode 1777) counts as writable by its owner only. A receiver also checks every
// datagram's sender credentials against that folder and drops posts from users who may not write it, and
// takes from other processes only registered messages (kFirstRegisteredMessage and up).
//
// Staleness: an entry whose process is gone or whose socket no longer answers is never found; lookups,
// posts and broadcasts that meet one remove it and its socket.
class WindowStation : public std::enable_shared_from_this<WindowStation> {
public:
  // The station of the current executables' folder, opened (and created) at first use; null when this
  // process may not take part (the folder and the station are not writable for it).
  static std::shared_ptr<WindowStation> ForExeDir();

  explicit WindowStation(const std::string& folder);
  ~WindowStation();
  WindowStation(const WindowStation&) = delete;
  WindowStation& operator=(const WindowStation&) = delete;

  // One listed window of this process: its entry and its receiving socket, which feeds the posts it
  // receives into the owning thread's queue. Destroying it removes both.
  class Listing {
  public:
    virtual ~Listing() = default;
    virtual void SetCaption(const std::string& caption) = 0;
  };

  // Lists a top-level window of this process; null when the station cannot take it.
  std::unique_ptr<Listing> List(HWND hwnd, const std::string& className, const std::string& caption,
                                const std::shared_ptr<MessageQueue>& queue);

  // A live window of another process with this class and caption (null matches any); HWND{} for none.
  HWND Find(const char* className, const char* caption);
  // True when hwnd is a listed window of another process that lives.
  bool IsListed(HWND hwnd);
  // Posts to one window of another process; false when it does not live or its queue is full.
  bool Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Posts to every listed window of the other processes; false when one that lives did not get it.
  bool Broadcast(UINT msg, WPARAM wParam, LPARAM lParam);
  // The station-wide number of a message name; 0 when it cannot be had.
  UINT RegisterMessage(const std::string& name);

  const std::string& Folder() const { return folder_; }

  struct Impl;  // defined with the station's code

private:
  std::string folder_;
  std::unique_ptr<Impl> impl_;
};

// The process that made a window: the high half of its handle.
inline uint32_t ProcessOf(HWND hwnd) { return static_cast<uint32_t>(static_cast<uint64_t>(hwnd) >> 32); }

// Window text comparison of the window functions: equal without regard to ASCII case; null matches any.
bool MatchesText(const char* wanted, const std::string& actual);

}  // namespace platform

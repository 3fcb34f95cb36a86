#pragma once

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <string>

namespace configurator::testing {

// Counts the opens of one file from its creation on (inotify), so a test sees how often code reads it.
class OpenCounter {
public:
  explicit OpenCounter(const std::string& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    EXPECT_GE(::inotify_add_watch(fd_, path.c_str(), IN_OPEN), 0) << path;
  }
  ~OpenCounter() { ::close(fd_); }
  OpenCounter(const OpenCounter&) = delete;
  OpenCounter& operator=(const OpenCounter&) = delete;

  // The opens since the last call.
  int Take() {
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + n; at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len)
        if (reinterpret_cast<inotify_event*>(at)->mask & IN_OPEN) ++opens;
    }
    return opens;
  }

private:
  int fd_;
};

}  // namespace configurator::testing

#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

namespace platform {

// Opens and closes a FIFO for writing, over and over on a thread of its own, while it lives: a reader
// that opens the FIFO blocking is let through (and then reads nothing) instead of hanging the test.
class FifoWriters {
public:
  explicit FifoWriters(std::string fifo)
      : fifo_(std::move(fifo)), thread_([this] {
          while (!done_) {
            const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) ::close(fd);
            std::this_thread::yield();
          }
        }) {}
  FifoWriters(const FifoWriters&) = delete;
  FifoWriters& operator=(const FifoWriters&) = delete;
  ~FifoWriters() {
    done_ = true;
    thread_.join();
  }

private:
  const std::string fifo_;
  std::atomic<bool> done_ = false;
  std::thread thread_;
};

}  // namespace platform

#pragma once

namespace platform {

// Sole owner of one socket descriptor: closes it when destroyed or closed, never twice. Move-only.
class Socket {
public:
  Socket() = default;
  explicit Socket(int descriptor) : descriptor_(descriptor) {}
  Socket(Socket&& other) noexcept : descriptor_(other.Release()) {}
  Socket& operator=(Socket&& other) noexcept;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { Close(); }

  bool IsValid() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }

  // Closes the descriptor (if any); afterwards the object holds none.
  void Close();
  // Gives the descriptor up without closing it.
  int Release();

private:
  int descriptor_ = -1;
};

}  // namespace platform

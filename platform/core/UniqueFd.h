#pragma once

namespace platform {

// Sole owner of one descriptor (file, socket, pipe, signalfd, ...): closes it when destroyed or closed,
// never twice. Move-only; a moved-from object holds none.
class UniqueFd {
public:
  UniqueFd() = default;
  explicit UniqueFd(int descriptor) : descriptor_(descriptor) {}
  UniqueFd(UniqueFd&& other) noexcept : descriptor_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Close(); }

  bool IsValid() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }

  // Closes the descriptor (if any); afterwards the object holds none. False when close reported an
  // error (a write that the kernel could not complete), which a caller that wrote a file must check.
  bool Close();
  // Gives the descriptor up without closing it.
  int Release();

private:
  int descriptor_ = -1;
};

}  // namespace platform

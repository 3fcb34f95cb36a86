#pragma once

// Counts the bytes that the heap holds for this test binary, and their peak: the binary's operator new
// and delete (but the over-aligned ones, which stay the library's, paired) are replaced. Include this header in exactly one source file of a test binary.
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace platform::test {

inline std::atomic<size_t> heapInUse = 0;
inline std::atomic<size_t> heapPeak = 0;

inline void* CountedAllocate(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const size_t now = heapInUse += malloc_usable_size(block);
  for (size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
  }
  return block;
}

inline void CountedRelease(void* block) {
  if (block == nullptr) return;
  heapInUse -= malloc_usable_size(block);
  std::free(block);
}

// The bytes taken since it was made, and the most taken at once.
class HeapUse {
public:
  HeapUse() : before_(heapInUse) { heapPeak = before_; }
  double Peak() const { return static_cast<double>(heapPeak - before_); }
  double Now() const { return static_cast<double>(heapInUse) - static_cast<double>(before_); }

private:
  size_t before_;
};

}  // namespace platform::test

void* operator new(size_t size) { return platform::test::CountedAllocate(size); }
void* operator new[](size_t size) { return platform::test::CountedAllocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return platform::test::CountedAllocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block, const std::nothrow_t&) noexcept { platform::test::CountedRelease(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { platform::test::CountedRelease(block); }
void operator delete(void* block) noexcept { platform::test::CountedRelease(block); }
void operator delete[](void* block) noexcept { platform::test::CountedRelease(block); }
void operator delete(void* block, size_t) noexcept { platform::test::CountedRelease(block); }
void operator delete[](void* block, size_t) noexcept { platform::test::CountedRelease(block); }

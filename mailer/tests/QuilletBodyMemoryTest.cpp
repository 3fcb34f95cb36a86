// The memory that a body file takes, counted at the heap: this binary's operator new and delete keep a
// count of the bytes in use and its peak.
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "mailer/QuilletParameters.h"
#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"

namespace {

std::atomic<size_t> heapInUse = 0;
std::atomic<size_t> heapPeak = 0;

void* Allocate(size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const size_t now = heapInUse += malloc_usable_size(block);
  for (size_t peak = heapPeak; now > peak && !heapPeak.compare_exchange_weak(peak, now);) {
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  heapInUse -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, size_t) noexcept { Release(block); }
void operator delete[](void* block, size_t) noexcept { Release(block); }

namespace quillet {
namespace {

// A body file of 16 MB in lines of 80 characters took 2.7 times its size: the file's bytes and, at the
// same time, a list line of its own for every line. It is now held once.
TEST(QuilletBodyMemoryTest, ABodyFileIsHeldOnce) {
  platform::TempFolder folder;
  const std::string file = folder.File("body.txt");
  std::string line(78, 'x');
  line += "\r\n";
  std::string text;
  for (size_t size = 0; size + line.size() <= MaxBodyFileBytes; size += line.size()) text += line;
  platform::WriteFileAtomic(file, text);
  const double bodyBytes = static_cast<double>(text.size());
  text = {};
  text.shrink_to_fit();

  for (const char* type : {"-btxt", "-bhtml"}) {
    SCOPED_TRACE(type);
    mailnet::TMlSMTP smtp(nullptr);
    const size_t before = heapInUse;
    heapPeak = before;
    ApplyParameters({"quillet", "-a", "x", type, file}, smtp);
    EXPECT_LE((heapPeak - before) / bodyBytes, 1.1);
    EXPECT_LE((heapInUse - before) / bodyBytes, 1.1);
    EXPECT_EQ(smtp.PostMessage().Body().Text().size(), bodyBytes);
  }
}

}  // namespace
}  // namespace quillet

#pragma once

#include <cstddef>
#include <cstring>

// Pointer helpers of the buffered stream: moving and offsetting a byte pointer by a count, and copying a
// count of bytes. The counts are in bytes; the caller keeps every pointer inside its buffer.
namespace mailnet {

inline void HugeInc(char*& HugePtr, std::ptrdiff_t Amount) { HugePtr += Amount; }

inline void HugeDec(char*& HugePtr, std::ptrdiff_t Amount) { HugePtr -= Amount; }

inline char* HugeOffset(char* HugePtr, std::ptrdiff_t Amount) { return HugePtr + Amount; }

// Copies Count bytes; the ranges must not overlap.
inline void HMemCpy(void* Dest, const void* Source, std::size_t Count) {
  if (Count > 0) std::memcpy(Dest, Source, Count);
}

}  // namespace mailnet

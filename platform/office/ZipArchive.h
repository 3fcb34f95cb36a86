#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The limits that a zip reader enforces before and while it inflates: a hostile archive is refused with
// an EOleException in bounded time and memory. The ratio applies to entries above ratioFloorBytes.
struct ZipLimits {
  uint64_t maxEntries = 10000;
  uint64_t maxEntryBytes = 512ull << 20;
  uint64_t maxTotalBytes = 1ull << 30;
  uint64_t maxRatio = 200;
  uint64_t ratioFloorBytes = 1ull << 20;
};

struct ZipEntryInfo {
  std::string name;
  uint64_t size = 0;  // uncompressed, as the central directory claims
  uint64_t compressedSize = 0;
  uint32_t crc = 0;
  int64_t modifiedUnix = 0;
};

// Reads a zip archive held in memory (libzip): stored and deflated entries, data descriptors and ZIP64.
// Encrypted entries, entries above the limits and a damaged archive raise EOleException naming `fileName`.
// The reader keeps its own copy of the bytes; ZipWriter::CopyRaw copies from it, so it must outlive the
// writer's Finish.
class ZipReader {
public:
  ZipReader(std::string bytes, std::string fileName, ZipLimits limits = {});
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  const std::vector<ZipEntryInfo>& Entries() const { return entries_; }
  // The index of the entry of that exact name, or -1.
  int Find(std::string_view name) const;
  // The entry's uncompressed bytes, handed over in chunks; the limits are checked on the bytes that
  // really come out, not only on the sizes claimed.
  void ReadChunks(int index, const std::function<void(std::string_view)>& chunk);
  std::string Read(int index);

private:
  friend class ZipWriter;
  struct Handle;
  [[noreturn]] void Fail(const std::string& reason) const;

  std::string bytes_;
  std::string fileName_;
  ZipLimits limits_;
  std::unique_ptr<Handle> handle_;
  std::vector<ZipEntryInfo> entries_;
  uint64_t inflated_ = 0;  // total over all reads, against maxTotalBytes
};

// Writes a zip archive into memory in the order of the calls. New entries are deflated and stamped with
// the platform clock's wall time (UnixTimeMs), so the same content at the same time gives the same bytes;
// CopyRaw takes an entry of a reader over byte for byte (its compressed data, time and CRC).
class ZipWriter {
public:
  explicit ZipWriter(std::string fileName);
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  void Add(const std::string& name, std::string bytes);
  void CopyRaw(ZipReader& reader, int index);
  // The archive's bytes; the writer is done afterwards.
  std::string Finish();

private:
  struct Handle;
  [[noreturn]] void Fail(const std::string& reason) const;

  std::string fileName_;
  std::unique_ptr<Handle> handle_;
  std::vector<std::unique_ptr<std::string>> pending_;  // the bytes libzip reads at Finish
};

}  // namespace platform

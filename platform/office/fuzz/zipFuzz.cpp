// libFuzzer target: random bytes as a zip archive. The reader must refuse what it cannot read with
// EOleException, within its limits; every entry it reads is copied raw into a new archive, which must
// read back with the same contents.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/office/OfficeError.h"
#include "platform/office/ZipArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace platform;
  ZipLimits limits;
  limits.maxEntries = 64;
  limits.maxEntryBytes = 4u << 20;
  limits.maxTotalBytes = 8u << 20;
  std::vector<std::string> contents;
  std::vector<int> readable;
  try {
    ZipReader reader(std::string(reinterpret_cast<const char*>(data), size), "fuzz.zip", limits);
    for (size_t i = 0; i < reader.Entries().size(); ++i) {
      try {
        contents.push_back(reader.Read(static_cast<int>(i)));
        readable.push_back(static_cast<int>(i));
      } catch (const EOleException&) {
      }
    }
    if (readable.empty()) return 0;
    ZipWriter writer("fuzz.zip");
    for (const int index : readable) writer.CopyRaw(reader, index);
    const std::string copied = writer.Finish();
    ZipReader copy(copied, "copy.zip", limits);
    for (size_t i = 0; i < readable.size(); ++i)
      if (copy.Read(static_cast<int>(i)) != contents[i]) std::abort();
  } catch (const EOleException&) {
  }
  return 0;
}

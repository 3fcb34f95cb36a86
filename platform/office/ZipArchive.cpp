#include "platform/office/ZipArchive.h"

#include <zip.h>

#include <cstdio>

#include "platform/core/Clock.h"
#include "platform/core/StrUtils.h"
#include "platform/office/OfficeError.h"

namespace platform {

namespace {

// Deflate level of the entries we write: the sheets of large grids are tens of megabytes of XML, which
// a low level packs almost as well in a fraction of the time.
constexpr int kDeflateLevel = 1;

std::string ErrorText(zip_error_t* error) {
  std::string text = zip_error_strerror(error);
  zip_error_fini(error);
  return text;
}

}  // namespace

struct ZipReader::Handle {
  zip_t* archive = nullptr;
  ~Handle() {
    if (archive) zip_discard(archive);
  }
};

ZipReader::ZipReader(std::string bytes, std::string fileName, ZipLimits limits)
    : bytes_(std::move(bytes)), fileName_(std::move(fileName)), limits_(limits), handle_(std::make_unique<Handle>()) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
  if (!source) Fail("cannot read the archive (" + ErrorText(&error) + ")");
  handle_->archive = zip_open_from_source(source, ZIP_RDONLY, &error);
  if (!handle_->archive) {
    zip_source_free(source);
    Fail("not a readable zip archive (" + ErrorText(&error) + ")");
  }
  const zip_int64_t count = zip_get_num_entries(handle_->archive, 0);
  if (count < 0 || static_cast<uint64_t>(count) > limits_.maxEntries)
    Fail("the archive has " + IntToStr(count) + " entries, more than " + IntToStr(int64_t(limits_.maxEntries)));
  uint64_t total = 0;
  entries_.reserve(static_cast<size_t>(count));
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(handle_->archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0)
      Fail("damaged entry " + IntToStr(i) + " (" + std::string(zip_strerror(handle_->archive)) + ")");
    ZipEntryInfo info;
    info.name = (stat.valid & ZIP_STAT_NAME) && stat.name ? stat.name : "";
    info.size = stat.size;
    info.compressedSize = stat.comp_size;
    info.crc = stat.crc;
    info.modifiedUnix = stat.mtime;
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
      Fail("the entry " + info.name + " is encrypted, which is not supported");
    if (info.size > limits_.maxEntryBytes)
      Fail("the entry " + info.name + " claims " + IntToStr(int64_t(info.size)) + " bytes, more than the limit of " +
           IntToStr(int64_t(limits_.maxEntryBytes)));
    total += info.size;
    if (total > limits_.maxTotalBytes)
      Fail("the entries claim more than " + IntToStr(int64_t(limits_.maxTotalBytes)) + " bytes together");
    if (info.size > limits_.ratioFloorBytes && info.size / (info.compressedSize + 1) > limits_.maxRatio)
      Fail("the entry " + info.name + " is compressed beyond the ratio of " + IntToStr(int64_t(limits_.maxRatio)) +
           " to 1");
    entries_.push_back(std::move(info));
  }
}

ZipReader::~ZipReader() = default;

void ZipReader::Fail(const std::string& reason) const { throw EOleException(fileName_, reason); }

int ZipReader::Find(std::string_view name) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].name == name) return static_cast<int>(i);
  return -1;
}

void ZipReader::ReadChunks(int index, const std::function<void(std::string_view)>& chunk) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) Fail("no entry " + IntToStr(index));
  const ZipEntryInfo& info = entries_[static_cast<size_t>(index)];
  zip_file_t* file = zip_fopen_index(handle_->archive, static_cast<zip_uint64_t>(index), 0);
  if (!file) Fail("cannot open the entry " + info.name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
  struct Closer {
    zip_file_t* file;
    ~Closer() { zip_fclose(file); }
  } closer{file};
  char buffer[1 << 16];
  uint64_t produced = 0;
  for (;;) {
    const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) Fail("the entry " + info.name + " is damaged (" + std::string(zip_file_strerror(file)) + ")");
    if (n == 0) break;
    produced += static_cast<uint64_t>(n);
    inflated_ += static_cast<uint64_t>(n);
    if (produced > info.size || produced > limits_.maxEntryBytes)
      Fail("the entry " + info.name + " inflates beyond its size");
    if (inflated_ > limits_.maxTotalBytes) Fail("the entries inflate beyond the limit");
    chunk(std::string_view(buffer, static_cast<size_t>(n)));
  }
  if (produced != info.size) Fail("the entry " + info.name + " is truncated");
}

std::string ZipReader::Read(int index) {
  std::string bytes;
  if (index >= 0 && static_cast<size_t>(index) < entries_.size())
    bytes.reserve(static_cast<size_t>(entries_[static_cast<size_t>(index)].size));
  ReadChunks(index, [&](std::string_view chunk) { bytes.append(chunk); });
  return bytes;
}

struct ZipWriter::Handle {
  zip_source_t* target = nullptr;
  zip_t* archive = nullptr;
  ~Handle() {
    if (archive) zip_discard(archive);
    if (target) zip_source_free(target);
  }
};

ZipWriter::ZipWriter(std::string fileName) : fileName_(std::move(fileName)), handle_(std::make_unique<Handle>()) {
  zip_error_t error;
  zip_error_init(&error);
  handle_->target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!handle_->target) Fail("cannot create the archive (" + ErrorText(&error) + ")");
  zip_source_keep(handle_->target);
  handle_->archive = zip_open_from_source(handle_->target, ZIP_TRUNCATE, &error);
  if (!handle_->archive) Fail("cannot create the archive (" + ErrorText(&error) + ")");
}

ZipWriter::~ZipWriter() = default;

void ZipWriter::Fail(const std::string& reason) const { throw EOleException(fileName_, reason); }

void ZipWriter::Add(const std::string& name, std::string bytes) {
  pending_.push_back(std::make_unique<std::string>(std::move(bytes)));
  const std::string& data = *pending_.back();
  zip_source_t* source = zip_source_buffer(handle_->archive, data.data(), data.size(), 0);
  if (!source) Fail("cannot add " + name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
  const zip_int64_t index = zip_file_add(handle_->archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
  if (index < 0) {
    zip_source_free(source);
    Fail("cannot add " + name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
  }
  const auto entry = static_cast<zip_uint64_t>(index);
  if (zip_set_file_compression(handle_->archive, entry, ZIP_CM_DEFLATE, kDeflateLevel) != 0 ||
      zip_file_set_mtime(handle_->archive, entry, static_cast<time_t>(UnixTimeMs() / 1000), 0) != 0)
    Fail("cannot add " + name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
}

void ZipWriter::CopyRaw(ZipReader& reader, int index) {
  const ZipEntryInfo& info = reader.entries_.at(static_cast<size_t>(index));
  zip_source_t* source = zip_source_zip(handle_->archive, reader.handle_->archive, static_cast<zip_uint64_t>(index),
                                        ZIP_FL_COMPRESSED, 0, 0);
  if (!source) Fail("cannot copy " + info.name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
  if (zip_file_add(handle_->archive, info.name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
    zip_source_free(source);
    Fail("cannot copy " + info.name + " (" + std::string(zip_strerror(handle_->archive)) + ")");
  }
}

std::string ZipWriter::Finish() {
  if (zip_close(handle_->archive) != 0)
    Fail("cannot write the archive (" + std::string(zip_strerror(handle_->archive)) + ")");
  handle_->archive = nullptr;
  pending_.clear();
  zip_source_t* target = handle_->target;
  std::string bytes;
  if (zip_source_open(target) != 0) Fail("cannot read the written archive");
  zip_source_seek(target, 0, SEEK_END);
  const zip_int64_t size = zip_source_tell(target);
  zip_source_seek(target, 0, SEEK_SET);
  if (size > 0) {
    bytes.resize(static_cast<size_t>(size));
    if (zip_source_read(target, bytes.data(), static_cast<zip_uint64_t>(size)) != size) {
      zip_source_close(target);
      Fail("cannot read the written archive");
    }
  }
  zip_source_close(target);
  return bytes;
}

}  // namespace platform

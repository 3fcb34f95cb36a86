#include "controls/html/MarkupLayoutCache.h"

namespace controls::markup {

namespace {

size_t BytesOf(const LayoutKey& key, const Layout& layout) {
  size_t bytes = sizeof(LayoutKey) + key.text.size() + key.fontName.size() + sizeof(Layout);
  for (const LaidOutLine& line : layout.lines)
    bytes += sizeof(LaidOutLine) + line.runs.size() * sizeof(RunExtent) + line.strip.size();
  for (const auto& [request, extent] : layout.images) bytes += sizeof(request) + sizeof(extent) + request.source.size();
  return bytes;
}

}  // namespace

std::shared_ptr<const Layout> LayoutCache::Find(const LayoutKey& key, const std::function<bool(const Layout&)>& StillSized) {
  for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
    if (!(entry->key == key)) continue;
    if (!StillSized(*entry->layout)) return nullptr;
    entries_.splice(entries_.begin(), entries_, entry);
    ++found_;
    return entries_.front().layout;
  }
  return nullptr;
}

void LayoutCache::Keep(LayoutKey key, Layout layout) {
  const size_t bytes = BytesOf(key, layout);
  for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
    if (!(entry->key == key)) continue;
    bytes_ -= entry->bytes;
    entries_.erase(entry);
    break;
  }
  if (bytes > kMaxBytes) return;
  while (!entries_.empty() && (entries_.size() >= kMaxLayouts || bytes_ + bytes > kMaxBytes)) {
    bytes_ -= entries_.back().bytes;
    entries_.pop_back();
  }
  entries_.push_front({std::move(key), std::make_shared<const Layout>(std::move(layout)), bytes});
  bytes_ += bytes;
}

void LayoutCache::Clear() {
  entries_.clear();
  bytes_ = 0;
}

LayoutCache& ThreadLayoutCache() {
  thread_local LayoutCache cache;
  return cache;
}

}  // namespace controls::markup

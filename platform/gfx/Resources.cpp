#include "platform/gfx/Resources.h"

#include <map>
#include <mutex>
#include <utility>

#include "platform/core/Ascii.h"

namespace platform {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::pair<std::string, std::string>, std::string_view> entries;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterResources(const ResourceEntry* entries, size_t count) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (size_t i = 0; i < count; ++i) {
    const ResourceEntry& e = entries[i];
    r.entries.emplace(std::pair{UpperCase(e.type), UpperCase(e.name)},
                      std::string_view(reinterpret_cast<const char*>(e.data), e.size));
  }
}

std::optional<std::string_view> FindResource(std::string_view type, std::string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.entries.find({UpperCase(type), UpperCase(name)});
  if (it == r.entries.end()) return std::nullopt;
  return it->second;
}

std::string_view LoadResource(std::string_view type, std::string_view name) {
  if (auto data = FindResource(type, name)) return *data;
  throw EResNotFound("Resource " + std::string(name) + " not found");
}

}  // namespace platform

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Exception.h"

namespace platform {

// Resources compiled into the program: files embedded at build time by the CMake function
// velmora_resources(<target> TYPE <type> FILES <files...>) (platform/gfx/Resources.cmake), each
// named after its file name without the extension. Types and names are stored upper-cased and
// looked up case-insensitively (ASCII), so "res://pic" finds the resource PIC.

inline constexpr std::string_view RT_BITMAP = "BITMAP";  // BMP files
inline constexpr std::string_view RT_RCDATA = "RCDATA";  // any bytes
inline constexpr std::string_view RT_CURSOR = "CURSOR";  // cursor files
inline constexpr std::string_view RT_ICON = "ICON";      // icon files; MAINICON is the program's icon

class EResNotFound : public Exception {
public:
  using Exception::Exception;
};

// The bytes of a resource, which live as long as the program; none when there is no such resource.
std::optional<std::string_view> FindResource(std::string_view type, std::string_view name);
// As FindResource; raises EResNotFound "Resource <name> not found" when there is none.
std::string_view LoadResource(std::string_view type, std::string_view name);

// Used by the generated resource tables at start-up. The first entry of a type and name wins.
struct ResourceEntry {
  const char* type;
  const char* name;
  const unsigned char* data;
  size_t size;
};
void RegisterResources(const ResourceEntry* entries, size_t count);

}  // namespace platform

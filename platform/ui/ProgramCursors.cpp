#include "platform/ui/ProgramCursors.h"

#include <map>
#include <memory>
#include <string>

#include "platform/core/Ascii.h"
#include "platform/gfx/CursorFile.h"
#include "platform/gfx/Resources.h"

namespace platform {

namespace {

CursorImage ImageOf(std::string_view file) {
  TBitmap picture;
  const TPoint hotSpot = DecodeCursorFile(file, picture);
  CursorImage image{hotSpot.X, hotSpot.Y, {}};
  for (int y = 0; y < picture.Height(); ++y) {
    const uint32_t* line = picture.ScanLine(y);
    std::string& row = image.rows.emplace_back(static_cast<size_t>(picture.Width()), ' ');
    for (int x = 0; x < picture.Width(); ++x) {
      const uint32_t p = line[x];
      if ((p >> 24) < 128) continue;
      const unsigned brightness = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
      row[static_cast<size_t>(x)] = brightness < 3 * 128 ? '#' : '.';
    }
  }
  return image;
}

}  // namespace

HCURSOR LoadCursor(std::string_view name) {
  // Never freed: backends keep what they made of a picture for as long as the program runs.
  // Keyed as resources are named, so that one resource is one picture.
  static auto* loaded = new std::map<std::string, std::unique_ptr<const CursorImage>>;
  const std::string key = UpperCase(name);
  if (const auto found = loaded->find(key); found != loaded->end()) return found->second.get();
  const std::optional<std::string_view> data = FindResource(RT_CURSOR, key);
  if (!data) return nullptr;
  return loaded->emplace(key, std::make_unique<const CursorImage>(ImageOf(*data))).first->second.get();
}

}  // namespace platform

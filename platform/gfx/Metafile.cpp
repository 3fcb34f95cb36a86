#include "platform/gfx/Metafile.h"

#include <cstdlib>

#include "platform/gfx/ImageCodecs.h"

namespace platform {

void TMetafile::LoadFromBytes(std::string_view data) {
  // Placeable header: key, handle, bounding box (left, top, right, bottom as 16-bit signed values)
  // and the units per inch.
  const ByteReader in(data, "Metafile is not valid");
  if (in.U32(0) != 0x9AC6CDD7u) in.Fail();
  auto s16 = [&](size_t at) { return static_cast<int16_t>(in.U16(at)); };
  const int width = std::abs(s16(10) - s16(6)), height = std::abs(s16(12) - s16(8));
  const int inch = in.U16(14);
  if (inch == 0 || width == 0 || height == 0) in.Fail();
  data_ = std::string(data);
  himetric_ = {MulDiv(width, 2540, inch), MulDiv(height, 2540, inch)};
  Changed();
}

}  // namespace platform

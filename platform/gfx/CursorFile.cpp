#include "platform/gfx/CursorFile.h"

#include <vector>

#include "platform/gfx/ImageCodecs.h"

namespace platform {

TPoint DecodeCursorFile(std::string_view data, TBitmap& picture) {
  constexpr const char* kInvalidCursor = "Cursor image is not valid";
  std::vector<PixelImage> images = DecodeIconImages(data, kInvalidCursor, 1, kCursorFileType);
  // The first directory entry: the hot spot follows its size, colour count and reserved byte.
  const ByteReader in(data, kInvalidCursor);
  const TPoint hotSpot{in.U16(10), in.U16(12)};
  if (hotSpot.X >= images.front().width || hotSpot.Y >= images.front().height) in.Fail();
  AssignPixels(picture, std::move(images.front()));
  picture.SetAlphaFormat(TAlphaFormat::afDefined);
  return hotSpot;
}

}  // namespace platform

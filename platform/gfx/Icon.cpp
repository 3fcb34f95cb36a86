#include "platform/gfx/Icon.h"

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageCodecs.h"

namespace platform {

namespace {
constexpr const char* kInvalidIcon = "Icon image is not valid";
}

void TIcon::LoadFromBytes(std::string_view data) {
  // Icon directory: reserved 0, type 1, count, then 16-byte entries with the image's size and offset.
  const ByteReader in(data, kInvalidIcon);
  if (in.U16(0) != 0 || in.U16(2) != 1 || in.U16(4) == 0) in.Fail();
  const std::string_view image = in.Bytes(in.U32(6 + 12), in.U32(6 + 8));
  const bool png = image.size() >= 8 && image.substr(0, 8) == "\x89PNG\r\n\x1a\n";
  PixelImage pixels = png ? DecodePng(image, kInvalidIcon) : DecodeIconDib(image, kInvalidIcon);
  data_ = std::string(data);
  AssignPixels(bitmap_, std::move(pixels));
  bitmap_.SetAlphaFormat(TAlphaFormat::afDefined);
  Changed();
}

}  // namespace platform

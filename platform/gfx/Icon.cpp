#include "platform/gfx/Icon.h"

#include <algorithm>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageCodecs.h"

namespace platform {

namespace {
constexpr const char* kInvalidIcon = "Icon image is not valid";
}

std::vector<PixelImage> DecodeIconImages(std::string_view file, const char* error, size_t most, uint16_t type) {
  // Icon directory: reserved 0, the type, count, then 16-byte entries with the image's size and offset.
  const ByteReader in(file, error);
  if (in.U16(0) != 0 || in.U16(2) != type || in.U16(4) == 0) in.Fail();
  std::vector<PixelImage> images;
  const size_t count = std::min<size_t>(in.U16(4), most);
  for (size_t entry = 6; images.size() < count; entry += 16) {
    const std::string_view image = in.Bytes(in.U32(entry + 12), in.U32(entry + 8));
    const bool png = image.size() >= 8 && image.substr(0, 8) == "\x89PNG\r\n\x1a\n";
    images.push_back(png ? DecodePng(image, error) : DecodeIconDib(image, error));
  }
  return images;
}

void TIcon::LoadFromBytes(std::string_view data) {
  std::vector<PixelImage> images = DecodeIconImages(data, kInvalidIcon, 1);
  data_ = std::string(data);
  AssignPixels(bitmap_, std::move(images.front()));
  bitmap_.SetAlphaFormat(TAlphaFormat::afDefined);
  Changed();
}

}  // namespace platform

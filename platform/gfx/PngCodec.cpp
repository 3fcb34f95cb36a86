// PNG through libpng's simplified interface; the only file that sees it.
#include <png.h>

#include <cstring>

#include "platform/core/Files.h"
#include "platform/gfx/ImageCodecs.h"
#include "platform/gfx/Png.h"

namespace platform {

PixelImage DecodePng(std::string_view data, const char* error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, data.data(), data.size())) throw EInvalidGraphic(error);
  // Deflate packs at most 1032 bytes into one, and every row holds at least its filter byte and one bit
  // per pixel: data shorter than that cannot hold the image.
  const uint64_t fewestRowBytes = uint64_t{png.height} * (1 + (uint64_t{png.width} + 7) / 8);
  if (!ValidImageSize(png.width, png.height) || data.size() * 1032 < fewestRowBytes) {
    png_image_free(&png);
    throw EInvalidGraphic(error);
  }
  png.format = PNG_FORMAT_BGRA;  // in memory the bytes of a little-endian 0xAARRGGBB
  PixelImage image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    throw EInvalidGraphic(error);
  }
  image.alpha = true;
  return image;
}

std::string PngBytes(const TBitmap& bitmap) {
  if (bitmap.Empty()) throw EInvalidGraphic("Bitmap image is not valid");
  const bool alpha = bitmap.AlphaFormat() == TAlphaFormat::afDefined;
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(bitmap.Width());
  png.height = static_cast<png_uint_32>(bitmap.Height());
  png.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGRA & ~PNG_FORMAT_FLAG_ALPHA;
  std::vector<uint8_t> bytes;
  const uint8_t* source = reinterpret_cast<const uint8_t*>(bitmap.ScanLine(0));
  if (!alpha) {
    // Without alpha the rows are packed B, G, R.
    bytes.reserve(static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 3);
    for (size_t i = 0; i < static_cast<size_t>(bitmap.Width()) * bitmap.Height(); ++i)
      bytes.insert(bytes.end(), source + 4 * i, source + 4 * i + 3);
    source = bytes.data();
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, source, 0, nullptr))
    throw EInvalidGraphic("Bitmap image is not valid");
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, source, 0, nullptr))
    throw EInvalidGraphic("Bitmap image is not valid");
  out.resize(size);
  return out;
}

void LoadPngBytes(TBitmap& bitmap, std::string_view data) { AssignPixels(bitmap, DecodePng(data, "PNG image is not valid")); }

void SavePngFile(const TBitmap& bitmap, const std::string& fileName) { WriteFileAtomic(fileName, PngBytes(bitmap)); }

}  // namespace platform

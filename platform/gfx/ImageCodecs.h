#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class TBitmap;

// Decoded images and the codecs behind the picture classes (internal to platform/gfx). Every
// decoder raises EInvalidGraphic with its picture kind's message for data it cannot decode.

// Pixels 0xAARRGGBB, rows top-down; `alpha` says whether the alpha bytes carry coverage.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool alpha = false;
};

// Sizes beyond these (and beyond MaxPicturePixels) are refused as invalid data rather than allocated.
constexpr int64_t kMaxImageSide = 32768;
bool ValidImageSize(int64_t width, int64_t height);

// A BMP file.
PixelImage DecodeBmpFile(std::string_view file);
// A device-independent bitmap (header, colour table, pixels) as stored in icon files: the height
// counts the colour rows and the transparency mask rows that follow them. `error` is the message
// to raise.
PixelImage DecodeIconDib(std::string_view dib, const char* error);
std::string EncodeBmpFile(int width, int height, const uint32_t* pixels, bool alpha);

PixelImage DecodePng(std::string_view data, const char* error);

// The images of an icon file (bitmaps with their mask, or PNG) in the file's order, at most `most`. A
// cursor file is an icon file of its own type.
constexpr uint16_t kIconFileType = 1;
constexpr uint16_t kCursorFileType = 2;
std::vector<PixelImage> DecodeIconImages(std::string_view file, const char* error, size_t most = SIZE_MAX,
                                         uint16_t type = kIconFileType);

// Makes a decoded image the bitmap's content (size, pixels and alpha format); the pixels move into the
// bitmap, so a picture's pixels are never held twice.
void AssignPixels(TBitmap& bitmap, PixelImage&& image);

// Little-endian reading with bounds checks, raising EInvalidGraphic(error) past the end.
class ByteReader {
public:
  ByteReader(std::string_view data, const char* error) : data_(data), error_(error) {}
  uint8_t U8(size_t at) const;
  uint16_t U16(size_t at) const;
  uint32_t U32(size_t at) const;
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  std::string_view Bytes(size_t at, size_t count) const;
  size_t Size() const { return data_.size(); }
  [[noreturn]] void Fail() const;

private:
  std::string_view data_;
  const char* error_;
};

}  // namespace platform

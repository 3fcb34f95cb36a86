#include <algorithm>
#include <bit>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImageCodecs.h"

namespace platform {

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

constexpr uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

// One colour channel of a bit-field pixel, scaled to 0..255.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint32_t max = mask >> shift;
  const uint32_t v = (pixel & mask) >> shift;
  return max == 0xFF ? v : (v * 255 + max / 2) / max;
}

// Run-length encoded 8- or 4-bit indexes, stored bottom-up, as colours into the image's top-down
// pixels; pixels the data skips take the colour of index 0.
template <typename Color>
void DecodeRle(const ByteReader& in, size_t at, PixelImage& image, bool four, Color color) {
  const int width = image.width, height = image.height;
  std::fill(image.pixels.begin(), image.pixels.end(), color(0));
  int x = 0, y = 0;
  auto put = [&](uint8_t v) {
    if (x < width && y < height) image.pixels[static_cast<size_t>(height - 1 - y) * width + x] = color(v);
    ++x;
  };
  while (at + 1 < in.Size() && y < height) {
    const uint8_t count = in.U8(at), value = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      x += in.U8(at);
      y += in.U8(at + 1);
      at += 2;
    } else {  // absolute run of `value` pixels, padded to 16 bits
      const size_t bytes = four ? (value + 1) / 2 : value;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = in.U8(at + (four ? static_cast<size_t>(i / 2) : static_cast<size_t>(i)));
        put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

// Decodes a DIB whose pixel bits start at bitsAt (or right after the colour table).
PixelImage DecodeDib(const ByteReader& in, std::optional<size_t> bitsAt, bool icon) {
  const uint32_t headerSize = in.U32(0);
  int64_t width, height;
  uint32_t bpp, compression = BI_RGB, colorsUsed = 0;
  size_t paletteAt = headerSize, paletteEntry = 4;
  uint32_t masks[4] = {0, 0, 0, 0};
  if (headerSize == 12) {
    width = in.U16(4);
    height = in.U16(6);
    bpp = in.U16(10);
    paletteEntry = 3;
  } else if (headerSize >= 40) {
    width = in.I32(4);
    height = in.I32(8);
    bpp = in.U16(14);
    compression = in.U32(16);
    colorsUsed = in.U32(32);
    if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
      const size_t count = compression == BI_ALPHABITFIELDS || headerSize >= 56 ? 4 : 3;
      const size_t masksAt = headerSize >= 52 ? 40 : headerSize;
      for (size_t i = 0; i < count; ++i) masks[i] = in.U32(masksAt + 4 * i);
      if (headerSize < 52) paletteAt += 4 * count;
    }
  } else {
    in.Fail();
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (icon) height /= 2;
  if (!ValidImageSize(width, height)) in.Fail();
  const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  const bool fields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
  if (!(compression == BI_RGB || (compression == BI_RLE8 && bpp == 8) || (compression == BI_RLE4 && bpp == 4) ||
        (fields && (bpp == 16 || bpp == 32))))
    in.Fail();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) in.Fail();

  std::vector<uint32_t> palette;
  if (bpp <= 8) {
    const size_t count = std::min<size_t>(colorsUsed ? colorsUsed : (size_t{1} << bpp), 256);
    for (size_t i = 0; i < count; ++i) {
      const size_t at = paletteAt + i * paletteEntry;
      palette.push_back(0xFF000000u | (uint32_t{in.U8(at + 2)} << 16) | (uint32_t{in.U8(at + 1)} << 8) | in.U8(at));
    }
    paletteAt += std::min<size_t>(colorsUsed ? colorsUsed : (size_t{1} << bpp), 256) * paletteEntry;
  }
  const size_t pixelsAt = bitsAt ? *bitsAt : paletteAt;
  const auto w = static_cast<int>(width), h = static_cast<int>(height);
  const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
  if (!rle) in.Bytes(pixelsAt, stride * static_cast<size_t>(h));  // all rows there, before allocating for them

  PixelImage image;
  image.width = w;
  image.height = h;
  image.pixels.assign(static_cast<size_t>(w) * h, 0xFF000000u);
  auto color = [&](size_t index) { return index < palette.size() ? palette[index] : 0xFF000000u; };
  bool anyAlpha = false;
  if (rle) DecodeRle(in, pixelsAt, image, compression == BI_RLE4, color);
  for (int row = 0; row < h && !rle; ++row) {
    uint32_t* out = image.pixels.data() + static_cast<size_t>(topDown ? row : h - 1 - row) * w;
    const std::string_view line = in.Bytes(pixelsAt + static_cast<size_t>(row) * stride, stride);
    auto byte = [&](size_t i) { return static_cast<uint8_t>(line[i]); };
    for (int x = 0; x < w; ++x) {
      const auto ux = static_cast<size_t>(x);
      switch (bpp) {
        case 1: out[x] = color((byte(ux / 8) >> (7 - ux % 8)) & 1); break;
        case 4: out[x] = color((byte(ux / 2) >> ((ux & 1) ? 0 : 4)) & 0x0F); break;
        case 8: out[x] = color(byte(ux)); break;
        case 16: {
          const uint32_t p = byte(2 * ux) | (uint32_t{byte(2 * ux + 1)} << 8);
          const uint32_t* m = fields ? masks : nullptr;
          const uint32_t r = m ? Channel(p, m[0]) : Channel(p, 0x7C00), g = m ? Channel(p, m[1]) : Channel(p, 0x03E0),
                         b = m ? Channel(p, m[2]) : Channel(p, 0x001F);
          out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
          break;
        }
        case 24: out[x] = 0xFF000000u | (uint32_t{byte(3 * ux + 2)} << 16) | (uint32_t{byte(3 * ux + 1)} << 8) | byte(3 * ux); break;
        case 32: {
          const uint32_t p = byte(4 * ux) | (uint32_t{byte(4 * ux + 1)} << 8) | (uint32_t{byte(4 * ux + 2)} << 16) |
                             (uint32_t{byte(4 * ux + 3)} << 24);
          if (fields) {
            const uint32_t a = masks[3] ? Channel(p, masks[3]) : 0xFF;
            out[x] = (a << 24) | (Channel(p, masks[0]) << 16) | (Channel(p, masks[1]) << 8) | Channel(p, masks[2]);
            anyAlpha = anyAlpha || (masks[3] && a != 0);
          } else {
            const uint32_t a = icon ? p >> 24 : 0xFF;
            out[x] = (a << 24) | (p & 0xFFFFFF);
            anyAlpha = anyAlpha || (icon && a != 0);
          }
          break;
        }
      }
    }
  }
  if (fields && masks[3] && !anyAlpha)
    for (uint32_t& p : image.pixels) p |= 0xFF000000u;  // an alpha mask left at zero everywhere means opaque
  image.alpha = anyAlpha && (fields || icon);
  if (icon) {
    // Without alpha in the colours, the 1-bit mask after them marks the transparent pixels.
    if (!anyAlpha) {
      const size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
      const size_t maskAt = pixelsAt + stride * static_cast<size_t>(h);
      for (int row = 0; row < h; ++row) {
        const size_t rowAt = maskAt + static_cast<size_t>(row) * maskStride;
        uint32_t* out = image.pixels.data() + static_cast<size_t>(topDown ? row : h - 1 - row) * w;
        for (int x = 0; x < w; ++x) {
          const bool transparent = rowAt + x / 8 < in.Size() && ((in.U8(rowAt + x / 8) >> (7 - x % 8)) & 1);
          out[x] = transparent ? (out[x] & 0xFFFFFF) : (out[x] | 0xFF000000u);
        }
      }
    }
    image.alpha = true;
  }
  return image;
}

void PutU16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& s, uint32_t v) {
  PutU16(s, static_cast<uint16_t>(v & 0xFFFF));
  PutU16(s, static_cast<uint16_t>(v >> 16));
}

}  // namespace

bool ValidImageSize(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         width * height <= MaxPicturePixels();
}

uint8_t ByteReader::U8(size_t at) const {
  if (at >= data_.size()) Fail();
  return static_cast<uint8_t>(data_[at]);
}
uint16_t ByteReader::U16(size_t at) const { return static_cast<uint16_t>(U8(at) | (U8(at + 1) << 8)); }
uint32_t ByteReader::U32(size_t at) const { return U16(at) | (uint32_t{U16(at + 2)} << 16); }
std::string_view ByteReader::Bytes(size_t at, size_t count) const {
  if (at > data_.size() || count > data_.size() - at) Fail();
  return data_.substr(at, count);
}
void ByteReader::Fail() const { throw EInvalidGraphic(error_); }

PixelImage DecodeBmpFile(std::string_view file) {
  ByteReader in(file, kInvalidBitmap);
  if (file.size() < 26 || file[0] != 'B' || file[1] != 'M') in.Fail();
  const uint32_t bitsAt = in.U32(10);
  if (bitsAt < 14) in.Fail();
  return DecodeDib(ByteReader(file.substr(14), kInvalidBitmap), bitsAt - 14, false);
}

PixelImage DecodeIconDib(std::string_view dib, const char* error) {
  return DecodeDib(ByteReader(dib, error), std::nullopt, true);
}

std::string EncodeBmpFile(int width, int height, const uint32_t* pixels, bool alpha) {
  const uint32_t headerSize = alpha ? 108 : 40;
  const uint32_t imageSize = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4;
  std::string s;
  s.reserve(14 + headerSize + imageSize);
  s += "BM";
  PutU32(s, 14 + headerSize + imageSize);
  PutU32(s, 0);
  PutU32(s, 14 + headerSize);
  PutU32(s, headerSize);
  PutU32(s, static_cast<uint32_t>(width));
  PutU32(s, static_cast<uint32_t>(height));  // bottom-up
  PutU16(s, 1);
  PutU16(s, 32);
  PutU32(s, alpha ? BI_BITFIELDS : BI_RGB);
  PutU32(s, imageSize);
  PutU32(s, 3780);  // 96 dpi in pixels per metre
  PutU32(s, 3780);
  PutU32(s, 0);
  PutU32(s, 0);
  if (alpha) {
    PutU32(s, 0x00FF0000);
    PutU32(s, 0x0000FF00);
    PutU32(s, 0x000000FF);
    PutU32(s, 0xFF000000);
    PutU32(s, 0x57696E20);  // colour space "Win "
    s.append(48, '\0');     // end points and gamma, unused
  }
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) PutU32(s, pixels[static_cast<size_t>(y) * width + x] | (alpha ? 0 : 0xFF000000u));
  return s;
}

void AssignPixels(TBitmap& bitmap, PixelImage&& image) {
  bitmap.pixels_ = std::move(image.pixels);
  bitmap.width_ = image.width;
  bitmap.height_ = image.height;
  bitmap.SetAlphaFormat(image.alpha ? TAlphaFormat::afDefined : TAlphaFormat::afIgnored);
}

}  // namespace platform

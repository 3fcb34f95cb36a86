// JPEG decoding through libjpeg; the only file that sees it.
#include "platform/gfx/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageCodecs.h"

namespace platform {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<ErrorManager*>(info->err);
  errors->base.format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnMessage(j_common_ptr) {}  // warnings are not printed

// The fewest bytes that can hold the image's blocks when it is Huffman-coded: every 8 x 8 block of
// every component carries at least a one-bit code for its DC value (in the first scan of a progressive
// image too). Arithmetic coding can go below a bit per block, so it is not bounded.
size_t MinimumHuffmanBytes(const jpeg_decompress_struct& info) {
  if (info.arith_code) return 0;
  size_t blocks = 0;
  for (int i = 0; i < info.num_components; ++i)
    blocks += size_t{info.comp_info[i].width_in_blocks} * info.comp_info[i].height_in_blocks;
  return blocks / 8;
}

// Decodes into image; returns false with errors.message set on failure. Every object with a
// destructor lives in the caller, so the long jump out of libjpeg skips none.
bool Decode(std::string_view data, PixelImage& image, std::vector<unsigned char>& rowBuffer, ErrorManager& errors) {
  jpeg_decompress_struct info;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.output_message = OnMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  const char* refusal = !ValidImageSize(info.image_width, info.image_height) ? "image size out of range"
                        : data.size() < MinimumHuffmanBytes(info)                ? "data too short for its size"
                                                                                 : nullptr;
  if (refusal) {
    std::snprintf(errors.message, sizeof errors.message, "%s", refusal);
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  rowBuffer.resize(static_cast<size_t>(image.width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    const auto y = info.output_scanline;
    JSAMPROW row = rowBuffer.data();
    jpeg_read_scanlines(&info, &row, 1);
    uint32_t* out = image.pixels.data() + static_cast<size_t>(y) * image.width;
    for (int x = 0; x < image.width; ++x) {
      const unsigned char* p = row + static_cast<size_t>(x) * info.output_components;
      if (cmyk) {
        // Adobe writes CMYK inverted: each byte is already 255 - ink.
        auto mix = [&](int c) { return static_cast<uint32_t>(c * p[3] / 255); };
        out[x] = 0xFF000000u | (mix(p[0]) << 16) | (mix(p[1]) << 8) | mix(p[2]);
      } else {
        out[x] = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

void TJPEGImage::LoadFromBytes(std::string_view data) {
  ErrorManager errors{};
  PixelImage image;
  std::vector<unsigned char> rowBuffer;
  if (!Decode(data, image, rowBuffer, errors)) throw EInvalidGraphic(std::string("JPEG image is not valid: ") + errors.message);
  data_ = std::string(data);
  AssignPixels(bitmap_, std::move(image));
  Changed();
}

}  // namespace platform

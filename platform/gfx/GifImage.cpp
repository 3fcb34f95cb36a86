// GIF decoding through giflib; the only file that sees it.
#include "platform/gfx/GifImage.h"

#include <gif_lib.h>

#include <cstring>

#include "platform/gfx/Canvas.h"
#include "platform/gfx/ImageCodecs.h"

namespace platform {

namespace {

struct MemorySource {
  std::string_view data;
  size_t position = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int count) {
  auto* source = static_cast<MemorySource*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(count), source->data.size() - source->position);
  std::memcpy(buffer, source->data.data() + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

[[noreturn]] void Fail(const std::string& why) { throw EInvalidGraphic("GIF image is not valid: " + why); }

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

void Check(GifFileType* gif, int result) {
  if (result != GIF_OK) Fail(GifErrorString(gif->Error) ? GifErrorString(gif->Error) : "read error");
}

// Reads one image record into a frame, rows in display order also when the image is interlaced.
TGIFFrame ReadFrame(GifFileType* gif, const GraphicsControlBlock& control, int64_t& pixelBudget) {
  Check(gif, DGifGetImageDesc(gif));
  const GifImageDesc& desc = gif->Image;
  if (!ValidImageSize(desc.Width, desc.Height)) Fail("image size out of range");
  // An LZW code takes at least 2 bits and stands for at most 4096 pixels, so n bytes hold at most
  // 16384 n pixels; an image claiming more is refused before its pixels are allocated.
  const auto* source = static_cast<const MemorySource*>(gif->UserData);
  if (int64_t{desc.Width} * desc.Height > 16384 * static_cast<int64_t>(source->data.size() - source->position))
    Fail("image data too short for its size");
  pixelBudget -= int64_t{desc.Width} * desc.Height;
  if (pixelBudget < 0) Fail("too many pixels in all frames");
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map) Fail("no colour map");
  const int w = desc.Width, h = desc.Height;
  std::vector<GifPixelType> indexes(static_cast<size_t>(w) * h);
  auto readRow = [&](int y) { Check(gif, DGifGetLine(gif, indexes.data() + static_cast<size_t>(y) * w, w)); };
  if (desc.Interlace) {
    constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < h; y += kStep[pass]) readRow(y);
  } else {
    for (int y = 0; y < h; ++y) readRow(y);
  }
  PixelImage image;
  image.width = w;
  image.height = h;
  image.alpha = control.TransparentColor != NO_TRANSPARENT_COLOR;
  image.pixels.resize(indexes.size());
  for (size_t i = 0; i < indexes.size(); ++i) {
    const int index = indexes[i];
    if (index == control.TransparentColor) {
      image.pixels[i] = 0;
    } else if (index < map->ColorCount) {
      const GifColorType& c = map->Colors[index];
      image.pixels[i] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
    } else {
      image.pixels[i] = 0xFF000000u;
    }
  }
  auto bitmap = std::make_shared<TBitmap>();
  const bool transparent = image.alpha;
  AssignPixels(*bitmap, std::move(image));
  TGIFFrame frame;
  frame.Left = desc.Left;
  frame.Top = desc.Top;
  frame.DelayCs = control.DelayTime;
  frame.HasTransparency = transparent;
  switch (control.DisposalMode) {
    case DISPOSE_DO_NOT: frame.Disposal = TGIFDisposal::dmKeep; break;
    case DISPOSE_BACKGROUND: frame.Disposal = TGIFDisposal::dmBackground; break;
    case DISPOSE_PREVIOUS: frame.Disposal = TGIFDisposal::dmPrevious; break;
    default: frame.Disposal = TGIFDisposal::dmNone;
  }
  frame.Image = std::move(bitmap);
  return frame;
}

}  // namespace

void TGIFImage::SetFrame(int index) {
  if (index < 0 || index >= FrameCount() || index == frame_) return;
  frame_ = index;
  Changed();
}

void TGIFImage::LoadFromBytes(std::string_view data) {
  MemorySource source{data};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadMemory, &error));
  if (!gif) Fail(GifErrorString(error) ? GifErrorString(error) : "not a GIF");
  std::vector<TGIFFrame> frames;
  int64_t pixelBudget = MaxPicturePixels();
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  for (GifRecordType type = UNDEFINED_RECORD_TYPE; type != TERMINATE_RECORD_TYPE;) {
    Check(gif.get(), DGifGetRecordType(gif.get(), &type));
    if (type == IMAGE_DESC_RECORD_TYPE) {
      frames.push_back(ReadFrame(gif.get(), control, pixelBudget));
      control = {DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    } else if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      Check(gif.get(), DGifGetExtension(gif.get(), &code, &block));
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) DGifExtensionToGCB(block[0], block + 1, &control);
      while (block) Check(gif.get(), DGifGetExtensionNext(gif.get(), &block));
    }
  }
  if (frames.empty()) Fail("no image");
  int width = gif->SWidth, height = gif->SHeight;
  if (!ValidImageSize(width, height)) {
    width = frames[0].Left + frames[0].Image->Width();
    height = frames[0].Top + frames[0].Image->Height();
  }
  data_ = std::string(data);
  width_ = width;
  height_ = height;
  frames_ = std::move(frames);
  frame_ = 0;
  Changed();
}

void TGIFImage::Draw(TCanvas& canvas, const TRect& rect) {
  if (frames_.empty() || width_ <= 0 || height_ <= 0) return;
  const TGIFFrame& f = frames_[static_cast<size_t>(frame_)];
  // The frame's place on the logical screen, scaled like the screen into rect.
  const int left = rect.Left + MulDiv(f.Left, rect.Width(), width_);
  const int top = rect.Top + MulDiv(f.Top, rect.Height(), height_);
  const int right = rect.Left + MulDiv(f.Left + f.Image->Width(), rect.Width(), width_);
  const int bottom = rect.Top + MulDiv(f.Top + f.Image->Height(), rect.Height(), height_);
  canvas.StretchDraw(Rect(left, top, right, bottom), *f.Image);
}

}  // namespace platform

#include <algorithm>

#include "controls/html/PictureContainer.h"
#include "platform/core/Ascii.h"
#include "platform/core/Files.h"
#include "platform/core/Paths.h"
#include "platform/core/StrUtils.h"
#include "platform/core/Streams.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/GifImage.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Resources.h"

namespace controls {

using namespace platform;

namespace {

// The offsets of the frames of GIF data: a graphic control extension ("!", 0xF9, block size 4, four
// bytes, terminator) directly followed by an image descriptor (","). Every read stays inside the data.
std::vector<size_t> GifFrameOffsets(std::string_view data) {
  std::vector<size_t> offsets;
  for (size_t i = 0; i + 8 < data.size(); ++i) {
    if (data[i] == '!' && static_cast<unsigned char>(data[i + 1]) == 0xF9 && data[i + 2] == 4 && data[i + 8] == ',')
      offsets.push_back(i);
  }
  return offsets;
}

// A little-endian 16-bit value at offset, 0 when the data ends before it.
int Word(std::string_view data, size_t offset) {
  if (offset + 2 > data.size()) return 0;
  return static_cast<unsigned char>(data[offset]) | (static_cast<unsigned char>(data[offset + 1]) << 8);
}

}  // namespace

TMarkupPicture::TMarkupPicture() = default;
TMarkupPicture::~TMarkupPicture() = default;

bool TMarkupPicture::IsGIFFile() const { return data_.size() > 4 && data_.compare(0, 4, "GIF8") == 0; }

void TMarkupPicture::LoadFromBytes(std::string_view data) {
  Load(data);
  Changed();
}

void TMarkupPicture::ReadData(TStream& stream) {
  std::string data(static_cast<size_t>(std::max<int64_t>(0, stream.Size() - stream.Position())), '\0');
  stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  Load(data);
}

void TMarkupPicture::Load(std::string_view data) {
  data_.assign(data);
  empty_ = false;
  frameCount_ = -1;
  ResetAnimation();
  frame_ = 1;
  LoadPicture();
}

void TMarkupPicture::LoadFromResourceName(const std::string& ResName) {
  if (const auto bytes = FindResource(RT_RCDATA, ResName)) LoadFromBytes(*bytes);
}

void TMarkupPicture::LoadFromResourceID(int ResID) { LoadFromResourceName(IntToStr(ResID)); }

void TMarkupPicture::LoadFromURL(const std::string& url) {
  const std::string u = UpperCase(url);
  if (u.starts_with("RES://")) {
    ID = u;
    LoadFromResourceName(u.substr(6));
  } else if (u.starts_with("FILE://")) {
    ID = u;
    // Only a regular file: a device or a pipe named in markup could block the reader for ever.
    if (const std::string path = ResolvePath(u.substr(7)); FileExists(path)) LoadFromFile(path);
  } else if (Asynch) {
    if (!busy_) {
      URL = u;
      busy_ = true;
    }
  } else {
    URL = u;
    ID = u;
  }
}

void TMarkupPicture::Assign(const TMarkupPicture* source) {
  if (!source || source->empty_) {
    data_.clear();
    empty_ = true;
    picture_.reset();
    frameCount_ = -1;
    ResetAnimation();
    frame_ = 1;
    Changed();
    return;
  }
  LoadFromBytes(source->data_);
}

void TMarkupPicture::LoadPicture() {
  frameLeft_ = frameTop_ = 0;
  screenWidth_ = screenHeight_ = 0;
  picture_.reset();
  std::string block = data_;
  const bool frames = IsGIFFile() && GetFrameCount() >= 1;
  if (frames) {
    const std::vector<size_t> offsets = GifFrameOffsets(data_);
    frame_ = std::clamp(frame_, 1, static_cast<int>(offsets.size()));
    const size_t current = offsets[static_cast<size_t>(frame_ - 1)];
    screenWidth_ = Word(data_, 6);
    screenHeight_ = Word(data_, 8);
    frameLeft_ = Word(data_, current + 9);
    frameTop_ = Word(data_, current + 11);
    block = data_.substr(0, offsets[0]) + data_.substr(current);
  }
  std::unique_ptr<TGraphic> graphic;
  try {
    graphic = LoadGraphicFromBytes(block);
  } catch (const EInvalidGraphic&) {
    throw EInvalidGraphic("Could not load image. Invalid format");
  }
  if (!frames) {
    picture_ = std::move(graphic);
    return;
  }
  const auto* gif = dynamic_cast<const TGIFImage*>(graphic.get());
  if (!gif || gif->FrameCount() == 0) throw EInvalidGraphic("Could not load image");
  picture_ = gif->Frames(0).Image;
}

void TMarkupPicture::ResetAnimation() {
  nextFrameTime_ = -1;
  tickCount_ = -1;
}

int TMarkupPicture::GetFrameCount() {
  if (frameCount_ == -1 && IsGIFFile()) frameCount_ = static_cast<int>(GifFrameOffsets(data_).size());
  return IsGIFFile() ? frameCount_ : -1;
}

int TMarkupPicture::GetFrameTime(int n) {
  if (!IsGIFFile() || n < 1) return -1;
  const std::vector<size_t> offsets = GifFrameOffsets(data_);
  if (static_cast<size_t>(n) > offsets.size()) return -1;
  return Word(data_, offsets[static_cast<size_t>(n - 1)] + 4);
}

int TMarkupPicture::GetMaxWidth() { return screenWidth_ > 0 ? screenWidth_ : Width(); }
int TMarkupPicture::GetMaxHeight() { return screenHeight_ > 0 ? screenHeight_ : Height(); }

void TMarkupPicture::SetFrame(int n) {
  const int count = GetFrameCount();
  frame_ = count >= 1 ? std::clamp(n, 1, count) : 1;
  if (empty_) return;
  LoadPicture();
  if (OnFrameChange) OnFrameChange(nullptr);
}

void TMarkupPicture::FrameNext() { frame_ = frame_ >= GetFrameCount() ? 1 : frame_ + 1; }

void TMarkupPicture::FramePrev() { frame_ = frame_ <= 1 ? std::max(1, GetFrameCount()) : frame_ - 1; }

bool TMarkupPicture::Step() {
  if (empty_ || GetFrameCount() < 2) return false;
  if (nextFrameTime_ == -1) nextFrameTime_ = GetFrameTime(frame_);
  bool changed = false;
  if (tickCount_ * 10 >= nextFrameTime_) {
    FrameNext();
    LoadPicture();
    nextFrameTime_ += GetFrameTime(frame_);
    changed = true;
  }
  ++tickCount_;
  return changed;
}

void TMarkupPicture::SetLogPixels(int x, int y) {
  logPixelsX_ = x;
  logPixelsY_ = y;
}

int TMarkupPicture::GetWidth() const {
  return picture_ ? MulDiv(picture_->HimetricSize().cx, logPixelsX_, 2540) : 0;
}

int TMarkupPicture::GetHeight() const {
  return picture_ ? MulDiv(picture_->HimetricSize().cy, logPixelsY_, 2540) : 0;
}

void TMarkupPicture::Draw(TCanvas& canvas, const TRect& rect) {
  if (empty_ || !picture_) return;
  if (Stretch) {
    canvas.StretchDraw(rect, *picture_);
    return;
  }
  const TSize size = picture_->HimetricSize();
  const int width = MulDiv(size.cx, GetDeviceCaps(canvas.Handle(), LOGPIXELSX), 2540);
  const int height = MulDiv(size.cy, GetDeviceCaps(canvas.Handle(), LOGPIXELSY), 2540);
  canvas.StretchDraw(Bounds(rect.Left, rect.Top, width, height), *picture_);
}

}  // namespace controls

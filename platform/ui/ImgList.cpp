#include "platform/ui/ImgList.h"

#include <algorithm>

#include "platform/gfx/Colors.h"

namespace platform {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

uint32_t PixelOf(TColor color) {
  const TColor c = ColorToRGB(color);
  return 0xFF000000u | (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

// Pixels that the disabled look shows: opaque and darker than light gray, as the classic monochrome
// conversion keeps them.
bool ShowsWhenDisabled(uint32_t p) {
  if ((p >> 24) < 0x80) return false;
  const int luminance = (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
  return luminance < 0xC0;
}

}  // namespace

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : links_) link->sender_ = nullptr;
}

void TCustomImageList::SetWidth(int value) { Resize(value, height_); }
void TCustomImageList::SetHeight(int value) { Resize(width_, value); }

void TCustomImageList::Resize(int width, int height) {
  width = std::max(1, width);
  height = std::max(1, height);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  images_.clear();
  Change();
}

int TCustomImageList::Add(const TBitmap& Image, const TBitmap* Mask) {
  std::vector<bool> transparent(static_cast<size_t>(Image.Width()) * Image.Height(), false);
  if (Mask) {
    for (int y = 0; y < std::min(Image.Height(), Mask->Height()); ++y)
      for (int x = 0; x < std::min(Image.Width(), Mask->Width()); ++x)
        transparent[static_cast<size_t>(y) * Image.Width() + x] = (Mask->ScanLine(y)[x] & kRgbMask) == kRgbMask;
  }
  return AddStrip(Image, transparent);
}

int TCustomImageList::AddMasked(const TBitmap& Image, TColor MaskColor) {
  if (Image.Empty()) return -1;
  const uint32_t key = MaskColor == clDefault ? Image.ScanLine(Image.Height() - 1)[0] & kRgbMask
                                              : PixelOf(MaskColor) & kRgbMask;
  std::vector<bool> transparent(static_cast<size_t>(Image.Width()) * Image.Height(), false);
  for (int y = 0; y < Image.Height(); ++y)
    for (int x = 0; x < Image.Width(); ++x)
      transparent[static_cast<size_t>(y) * Image.Width() + x] = (Image.ScanLine(y)[x] & kRgbMask) == key;
  return AddStrip(Image, transparent);
}

int TCustomImageList::AddStrip(const TBitmap& Image, const std::vector<bool>& transparent) {
  const int count = Image.Width() / width_;
  if (count == 0 || Image.Height() == 0) return -1;
  const int first = Count();
  const uint32_t opaque = Image.AlphaFormat() == TAlphaFormat::afDefined ? 0 : 0xFF000000u;
  for (int n = 0; n < count; ++n) {
    auto image = std::make_unique<TBitmap>(width_, height_);
    for (int y = 0; y < height_; ++y) {
      uint32_t* row = image->ScanLine(y);
      for (int x = 0; x < width_; ++x) {
        const int sx = n * width_ + x;
        const size_t at = static_cast<size_t>(y) * Image.Width() + sx;
        row[x] = y < Image.Height() && !transparent[at] ? (Image.ScanLine(y)[sx] | opaque) : 0;
      }
    }
    image->SetAlphaFormat(TAlphaFormat::afDefined);
    images_.push_back(std::move(image));
  }
  Change();
  return first;
}

void TCustomImageList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) return;
  images_.erase(images_.begin() + Index);
  Change();
}

void TCustomImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  Change();
}

void TCustomImageList::Draw(TCanvas& Canvas, int X, int Y, int Index, bool Enabled) {
  if (Index < 0 || Index >= Count()) return;
  TBitmap& image = *images_[static_cast<size_t>(Index)];
  if (Enabled) {
    Canvas.Draw(X, Y, image);
    return;
  }
  for (const auto& [dx, color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x)
        if (ShowsWhenDisabled(image.ScanLine(y)[x])) Canvas.SetPixels(X + x + dx, Y + y + dx, color);
  }
}

bool TCustomImageList::GetBitmap(int Index, TBitmap& Image) {
  if (Index < 0 || Index >= Count()) return false;
  Image.SetSize(0, 0);
  Image.SetSize(width_, height_);
  Draw(Image.Canvas(), 0, 0, Index);
  return true;
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(links_.begin(), links_.end(), Value) != links_.end()) return;
  if (Value->sender_) Value->sender_->UnRegisterChanges(Value);
  links_.push_back(Value);
  Value->sender_ = this;
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  std::erase(links_, Value);
  if (Value && Value->sender_ == this) Value->sender_ = nullptr;
}

void TCustomImageList::Change() {
  if (OnChange) OnChange(this);
  // A handler may unregister or destroy links: each one is looked up again before it is called.
  const std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end() && link->OnChange) link->OnChange(this);
}

}  // namespace platform

#include "platform/gfx/Picture.h"

#include <algorithm>

#include "platform/core/Ascii.h"
#include "platform/gfx/GifImage.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/JpegImage.h"
#include "platform/gfx/Metafile.h"

namespace platform {

namespace {

std::unique_ptr<TGraphic> GraphicForSignature(std::string_view data) {
  auto starts = [&](std::string_view magic) { return data.substr(0, magic.size()) == magic; };
  if (starts("BM")) return std::make_unique<TBitmap>();
  if (starts("GIF8")) return std::make_unique<TGIFImage>();
  if (starts("\xFF\xD8\xFF")) return std::make_unique<TJPEGImage>();
  if (starts(std::string_view("\0\0\1\0", 4))) return std::make_unique<TIcon>();
  if (starts("\xD7\xCD\xC6\x9A")) return std::make_unique<TMetafile>();
  return nullptr;
}

std::unique_ptr<TGraphic> GraphicForExtension(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  const size_t slash = fileName.find_last_of("/\\");
  std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : fileName.substr(dot + 1);
  const std::string lower = LowerCase(ext);
  if (lower == "bmp") return std::make_unique<TBitmap>();
  if (lower == "gif") return std::make_unique<TGIFImage>();
  if (lower == "jpg" || lower == "jpeg") return std::make_unique<TJPEGImage>();
  if (lower == "ico") return std::make_unique<TIcon>();
  if (lower == "wmf") return std::make_unique<TMetafile>();
  throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
}

}  // namespace

std::unique_ptr<TGraphic> LoadGraphicFromBytes(std::string_view data) {
  std::unique_ptr<TGraphic> graphic = GraphicForSignature(data);
  if (!graphic) throw EInvalidGraphic("Unknown picture format");
  graphic->LoadFromBytes(data);
  return graphic;
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) graphic_->OnChange = [this] { Changed(); };
  Changed();
}

TBitmap& TPicture::Bitmap() {
  if (!dynamic_cast<TBitmap*>(graphic_.get())) SetGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap&>(*graphic_);
}

void TPicture::LoadFromFile(const std::string& fileName) {
  std::unique_ptr<TGraphic> graphic = GraphicForExtension(fileName);
  graphic->LoadFromFile(fileName);
  SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) const {
  if (!graphic_) throw EInvalidGraphic("There is no picture to save");
  graphic_->SaveToFile(fileName);
}

void TPicture::Changed() {
  if (OnChange) OnChange();
}

}  // namespace platform

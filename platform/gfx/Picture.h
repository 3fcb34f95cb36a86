#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace platform {

// Decodes picture data of any supported kind, recognised by its first bytes: BMP, GIF, JPEG, ICO or
// placeable WMF. Raises EInvalidGraphic "Unknown picture format" for anything else, and the kind's
// own EInvalidGraphic for data it cannot decode.
std::unique_ptr<TGraphic> LoadGraphicFromBytes(std::string_view data);

// A holder of one graphic of any kind. OnChange fires when the graphic is replaced or changes.
class TPicture {
public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // The graphic as a bitmap; any other kind of graphic is replaced by an empty bitmap first.
  TBitmap& Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // The kind is chosen by the file's extension (.bmp, .gif, .jpg, .jpeg, .ico, .wmf, any case);
  // another extension raises EInvalidGraphic "Unknown picture file extension (.ext)". The file name
  // is resolved as the system spells it.
  void LoadFromFile(const std::string& fileName);
  // Raises EInvalidGraphic when there is no graphic.
  void SaveToFile(const std::string& fileName) const;

  std::function<void()> OnChange;

private:
  void Changed();

  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace platform

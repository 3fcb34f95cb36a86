#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace platform {

// An icon (ICO file): the first image of the file, decoded with its transparency into a bitmap of
// defined alpha, and drawn blended. Images stored as bitmaps (1 to 32 bits, with their mask) and as
// PNG are read. SaveToBytes gives the data as loaded.
class TIcon : public TGraphic {
public:
  // Raises EInvalidGraphic "Icon image is not valid".
  void LoadFromBytes(std::string_view data) override;
  std::string SaveToBytes() const override { return data_; }
  const TBitmap& Bitmap() const { return bitmap_; }

protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int GetWidth() const override { return bitmap_.Width(); }
  int GetHeight() const override { return bitmap_.Height(); }
  bool GetEmpty() const override { return bitmap_.Empty(); }

private:
  std::string data_;
  TBitmap bitmap_;
};

}  // namespace platform

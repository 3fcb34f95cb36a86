#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace platform {

// A JPEG image, decoded into a bitmap when loaded (colour, grayscale or CMYK). SaveToBytes gives
// the data as loaded.
class TJPEGImage : public TGraphic {
public:
  // Raises EInvalidGraphic "JPEG image is not valid: ..." with the decoder's reason.
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

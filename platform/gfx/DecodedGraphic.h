#pragma once

#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace platform {

// A picture decoded once, when loaded, into a bitmap that is then drawn stretched to the rectangle.
// SaveToBytes gives the data as loaded. Derived classes decode in LoadFromBytes and fill data_ and
// bitmap_.
class TDecodedGraphic : public TGraphic {
public:
  std::string SaveToBytes() const override { return data_; }
  const TBitmap& Bitmap() const { return bitmap_; }

protected:
  void Draw(TCanvas& canvas, const TRect& rect) override;
  int GetWidth() const override { return bitmap_.Width(); }
  int GetHeight() const override { return bitmap_.Height(); }
  bool GetEmpty() const override { return bitmap_.Empty(); }

  std::string data_;
  TBitmap bitmap_;
};

}  // namespace platform

#pragma once

#include <string>

#include "platform/gfx/Graphic.h"

namespace platform {

// A Windows metafile, of which only the size is read: from the placeable header's bounding box and
// units per inch. Width and Height are pixels at 96 dots per inch, HimetricSize the exact size.
// FIXME: drawing the metafile's records; Draw draws nothing.
class TMetafile : public TGraphic {
public:
  // Raises EInvalidGraphic "Metafile is not valid" for data without a placeable header.
  void LoadFromBytes(std::string_view data) override;
  std::string SaveToBytes() const override { return data_; }
  TSize HimetricSize() const override { return himetric_; }

protected:
  void Draw(TCanvas&, const TRect&) override {}
  int GetWidth() const override { return MulDiv(himetric_.cx, 96, 2540); }
  int GetHeight() const override { return MulDiv(himetric_.cy, 96, 2540); }
  bool GetEmpty() const override { return data_.empty(); }

private:
  std::string data_;
  TSize himetric_;
};

}  // namespace platform

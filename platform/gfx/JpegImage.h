#pragma once

#include <string>

#include "platform/gfx/DecodedGraphic.h"

namespace platform {

// A JPEG image, decoded into a bitmap when loaded (colour, grayscale or CMYK). SaveToBytes gives
// the data as loaded.
class TJPEGImage : public TDecodedGraphic {
public:
  // Raises EInvalidGraphic "JPEG image is not valid: ..." with the decoder's reason.
  void LoadFromBytes(std::string_view data) override;
};

}  // namespace platform

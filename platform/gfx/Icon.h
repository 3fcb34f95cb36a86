#pragma once

#include <string>

#include "platform/gfx/DecodedGraphic.h"

namespace platform {

// An icon (ICO file): the first image of the file, decoded with its transparency into a bitmap of
// defined alpha, and drawn blended. Images stored as bitmaps (1 to 32 bits, with their mask) and as
// PNG are read. SaveToBytes gives the data as loaded.
class TIcon : public TDecodedGraphic {
public:
  // Raises EInvalidGraphic "Icon image is not valid".
  void LoadFromBytes(std::string_view data) override;
};

}  // namespace platform

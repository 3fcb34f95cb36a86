#pragma once

#include <cstdint>

namespace platform {

// tmPitchAndFamily bits.
constexpr uint8_t TMPF_FIXED_PITCH = 0x01;  // set for a variable-pitch font (the name says the opposite)
constexpr uint8_t TMPF_VECTOR = 0x02;
constexpr uint8_t TMPF_TRUETYPE = 0x04;

// The metrics of the font selected into a canvas, in device pixels. tmHeight = tmAscent + tmDescent is
// the line height; tmInternalLeading is the part of it above the characters' em square and
// tmExternalLeading the extra gap the font suggests between lines.
struct TTextMetric {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmWeight = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
};

}  // namespace platform

#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Png.h"

namespace platform {

// Compares a picture with the reference picture `name`.png of the fixtures; a different one is saved
// beside the test's output as `name`.actual.png, to be looked at (and, when right, taken as the new
// reference).
inline void ExpectPictureLike(const TBitmap& picture, const std::string& name) {
  const std::string actual = PngBytes(picture);
  const std::string reference = std::string(VELMORA_UI_FIXTURES) + "/" + name + ".png";
  std::ifstream file(reference, std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (actual != expected) {
    const std::string saved = ::testing::TempDir() + name + ".actual.png";
    std::ofstream(saved, std::ios::binary) << actual;
    ADD_FAILURE() << "the picture differs from " << reference << "; it is saved as " << saved;
  }
}

}  // namespace platform

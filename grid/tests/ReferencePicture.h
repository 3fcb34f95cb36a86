#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/gfx/Png.h"

namespace velmora::testing {

// Saves the picture as artefacts/grid/NAME.png for a person to look at and expects it equal to the
// reference fixtures/NAME.png; a differing picture is saved beside the test's temporary files.
inline void ExpectLooksAsReference(const platform::TBitmap& shown, const std::string& name) {
  std::filesystem::create_directories(GRID_ARTEFACTS);
  platform::SavePngFile(shown, std::string(GRID_ARTEFACTS) + "/" + name + ".png");
  const std::string reference = std::string(GRID_FIXTURES) + "/" + name + ".png";
  std::ifstream file(reference, std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (platform::PngBytes(shown) != expected) {
    const std::string saved = ::testing::TempDir() + name + ".actual.png";
    platform::SavePngFile(shown, saved);
    ADD_FAILURE() << "the picture differs from " << reference << "; it is saved as " << saved;
  }
}

}  // namespace velmora::testing

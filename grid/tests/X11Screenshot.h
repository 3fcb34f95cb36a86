#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "X11TestSupport.h"
#include "XwdImage.h"
#include "platform/app/Application.h"
#include "platform/core/Files.h"
#include "platform/gfx/Png.h"
#include "platform/ui/Backend.h"

namespace velmora::testing {

// The whole screen of the X server at `display` as artefacts/grid/<name>.png, for a person to look at.
inline void SaveX11Screenshot(const std::string& display, const std::string& name) {
  using namespace platform;
  Application().ProcessMessages();  // painted
  Backend().CursorPos();            // a round trip: the server has drawn by its answer
  std::filesystem::create_directories(GRID_ARTEFACTS);
  const std::string xwd = std::string(GRID_ARTEFACTS) + "/" + name + ".xwd";
  test::RunPeer({"sh", "-c", "xwd -silent -root -out '" + xwd + "'"}, display);
  if (std::unique_ptr<TBitmap> picture = test::ReadXwd(ReadFileBytes(xwd)))
    SavePngFile(*picture, std::string(GRID_ARTEFACTS) + "/" + name + ".png");
  std::filesystem::remove(xwd);
}

}  // namespace velmora::testing

#pragma once

#include <filesystem>
#include <string>

#include "platform/gfx/Colors.h"
#include "platform/app/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/HeadlessBackend.h"

namespace platform {

// The colour shown at a control's point (x, y of the whole control) in its top-level window, after the
// loop has painted.
inline TColor ShownColor(THeadlessBackend& backend, TControl& control, int x, int y) {
  Application().ProcessMessages();
  TControl* top = &control;
  while (top->Parent()) top = top->Parent();
  const TPoint origin = WindowOriginInTop(&control);
  const uint32_t pixel =
      backend.Info(dynamic_cast<TWinControl&>(*top).BackendWindow()).shown.ScanLine(origin.Y + y)[origin.X + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

// Saves what a window shows as artefacts/ui/NAME.png in the build folder, for people to look at.
inline void SaveArtefact(THeadlessBackend& backend, TBackendWindow window, const std::string& name) {
  Application().ProcessMessages();
  std::filesystem::create_directories(UI_ARTEFACTS);
  backend.SaveScreenshot(window, std::string(UI_ARTEFACTS) + "/" + name + ".png");
}

}  // namespace platform

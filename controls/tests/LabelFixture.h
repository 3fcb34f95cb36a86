#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/TestFont.h"
#include "platform/ui/tests/FormFixture.h"

namespace controls::test {

// A shown form on the headless backend whose presented pixels the test reads back.
class LabelTest : public platform::FormTest {
protected:
  void Show(int width, int height) { form_ = ShowForm(width, height); }

  // The presented colour at a client point of the form, after the loop has painted.
  platform::TColor Pixel(int x, int y) {
    Settle();
    const uint32_t pixel = Input().Info(Input().Windows().back()).shown.ScanLine(y)[x];  // 0xAARRGGBB
    return platform::RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  // How many presented pixels of the form's client rectangle r have the colour.
  int Count(platform::TColor color, const platform::TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y) {
      for (int x = r.Left; x < r.Right; ++x) n += Pixel(x, y) == platform::ColorToRGB(color);
    }
    return n;
  }

  // A rectangle of a control's client coordinates in the form's.
  platform::TRect OnForm(const platform::TControl& control, const platform::TRect& r) {
    const platform::TPoint p = form_->ScreenToClient(control.ClientToScreen({r.Left, r.Top}));
    return platform::Bounds(p.X, p.Y, r.Width(), r.Height());
  }
  platform::TRect OnForm(const platform::TControl& control) { return OnForm(control, control.ClientRect()); }
  // The presented pixels of a form client rectangle, row by row.
  std::vector<uint32_t> Pixels(const platform::TRect& r) {
    Settle();
    const platform::TBitmap& shown = Input().Info(Input().Windows().back()).shown;
    std::vector<uint32_t> pixels;
    for (int y = r.Top; y < r.Bottom; ++y)
      pixels.insert(pixels.end(), shown.ScanLine(y) + r.Left, shown.ScanLine(y) + r.Right);
    return pixels;
  }

  // Saves what the form shows as artefacts/controls/<name>.png in the build folder, for a person to look at.
  void Screenshot(const std::string& name) {
    Settle();
    std::filesystem::create_directories(CONTROLS_ARTEFACTS);
    Input().SaveScreenshot(Input().Windows().back(), std::string(CONTROLS_ARTEFACTS) + "/" + name + ".png");
  }

  // Types the characters one by one, as keys without key codes, and lets the loop handle them.
  void Type(const char* chars) {
    for (const char* c = chars; *c; ++c) Input().Char(std::string(1, *c));
    Settle();
  }
  // Presses and releases a key.
  void Press(int key) {
    Input().PressKey(key);
    Settle();
  }

  std::unique_ptr<platform::TForm> form_;
};

}  // namespace controls::test

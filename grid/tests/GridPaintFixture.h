#pragma once

#include <filesystem>
#include <string>

#include "grid/tests/DovAdizFixture.h"
#include "platform/gfx/Png.h"

namespace velmora::testing {

// The shown grid object of DovAdizTest in the test font of 12 pixels (advance 6, ink boxes 5 wide and
// 9 high), fixed cells included, with helpers that read what the form shows in grid client pixels.
class GridPaintTest : public DovAdizTest {
protected:
  void SetUp() override {
    DovAdizTest::SetUp();
    UseTestFont(*grid_);
    Settle();
  }

  static void UseTestFont(VUraRazuduVova& grid) {
    for (platform::TFont* font : {&grid.Font(), &grid.FixedFont()}) {
      font->SetName(platform::kTestFontName);
      font->SetHeight(-12);
      font->SetColor(platform::clBlack);
    }
  }

  const platform::TBitmap& Shown() {
    Settle();
    return Input().Info(form_->BackendWindow()).shown;
  }
  // The colour shown at a client point of a control on the form.
  platform::TColor PixelOf(const platform::TControl& control, int x, int y) {
    const platform::TBitmap& shown = Shown();
    const platform::TPoint at = control.ClientToScreen({x, y});
    const platform::TPoint origin = form_->ClientToScreen({0, 0});
    const uint32_t pixel = shown.ScanLine(at.Y - origin.Y)[at.X - origin.X];
    return platform::RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
  }
  platform::TColor Pixel(int x, int y) { return PixelOf(*grid_, x, y); }
  // The colour in the middle of a cell.
  platform::TColor CellColor(int ACol, int ARow) {
    const platform::TRect r = grid_->CellRect(ACol, ARow);
    return Pixel((r.Left + r.Right) / 2, r.Bottom - 3);
  }
  // The bounding box of the pixels of colour `ink` inside a client rectangle of the control; empty
  // when there are none.
  platform::TRect InkBox(const platform::TControl& control, const platform::TRect& r,
                         platform::TColor ink = platform::clBlack) {
    platform::TRect box{r.Right, r.Bottom, r.Left, r.Top};
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (PixelOf(control, x, y) == ink) box = {std::min(box.Left, x), std::min(box.Top, y),
                                                  std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
    return box.Left < box.Right ? box : platform::TRect{};
  }
  platform::TRect CellInk(int ACol, int ARow) { return InkBox(*grid_, grid_->CellRect(ACol, ARow)); }
  // The runs of rows of a client rectangle that hold black ink.
  int InkLines(const platform::TRect& r) {
    int lines = 0;
    bool inLine = false;
    for (int y = r.Top; y < r.Bottom; ++y) {
      bool ink = false;
      for (int x = r.Left; x < r.Right && !ink; ++x) ink = Pixel(x, y) == platform::clBlack;
      lines += ink && !inLine;
      inLine = ink;
    }
    return lines;
  }
  // Saves what the form shows as artefacts/grid/NAME.png for a person to look at.
  void SaveArtefact(const std::string& name) {
    std::filesystem::create_directories(GRID_ARTEFACTS);
    platform::SavePngFile(Shown(), std::string(GRID_ARTEFACTS) + "/" + name + ".png");
  }
};

}  // namespace velmora::testing

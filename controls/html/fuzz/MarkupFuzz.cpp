// libFuzzer target: random markup through RenderHTML (every kind of pass, with an image list, a
// picture container and a cache) and through the text utilities. Besides crashes, hangs and
// sanitizer reports it traps when marking text changes the visible text.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "controls/html/MarkupText.h"
#include "controls/html/RenderHTML.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/TestFont.h"

using namespace platform;
using namespace controls;

namespace {

struct Fixture {
  TBitmap bitmap{96, 48};
  TImageList images{nullptr};
  TPictureContainer container{nullptr};

  Fixture() {
    TBitmap strip(32, 16);
    strip.Canvas().Brush().SetColor(clRed);
    strip.Canvas().FillRect(Rect(0, 0, 16, 16));
    images.AddMasked(strip, clWhite);
    TPictureItem* item = container.Items().Add();
    item->Name = "PIC";
    item->Picture().LoadFromBytes(TBitmap(5, 3).SaveToBytes());
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const int x = data[1] % 100, y = data[2] % 50;
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

  TCanvas& canvas = fixture.bitmap.Canvas();
  canvas.Font().SetName(kTestFontName);
  canvas.Font().SetHeight(-(8 + (flags & 7)));
  TMarkupPictureCache cache;
  std::string anchor, strip, focus;
  int xSize = 0, ySize = 0, links = 0, mouse = 0;
  TRect hover{};
  const bool hotSpot = flags & 8, height = flags & 16, wordWrap = flags & 32, hoverStyle = flags & 64;
  const bool print = flags & 128;
  RenderHTML(canvas, text, Rect(2, 1, 90, 40), &fixture.images, x, y, x % 4 - 1, y % 4, 1, hotSpot, height, print,
             false, (flags & 3) == 0, hoverStyle, wordWrap, 1.5, clBlue, clYellow, clRed, clGray, anchor, strip,
             focus, xSize, ySize, links, mouse, hover, &cache, &fixture.container);

  const std::string visible = VisibleText(text);
  (void)StripHTML(text);
  (void)VisibleToRaw(text, x);
  const std::string search = visible.substr(visible.empty() ? 0 : y % visible.size(), flags % 4);
  std::string marked, unmarked;
  HilightHTML(text, search, "hi", marked, flags & 1);
  if (VisibleText(marked) != visible) __builtin_trap();
  UnHilightHTML(marked, "hi", unmarked);
  return 0;
}

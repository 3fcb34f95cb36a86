#include "platform/ui/SpareBuffers.h"

#include <algorithm>
#include <deque>
#include <memory>

#include "platform/gfx/Bitmap.h"

namespace platform {

namespace {

// Never destroyed: windows may go while the program's statics are destroyed.
std::deque<std::unique_ptr<TBitmap>>& Spares() {
  static auto* spares = new std::deque<std::unique_ptr<TBitmap>>;
  return *spares;
}

}  // namespace

void KeepSpareBuffer(TBitmap& bitmap) {
  if (bitmap.Empty()) return;
  auto& spares = Spares();
  std::unique_ptr<TBitmap> spare;
  if (spares.size() >= static_cast<size_t>(kKeptSpares)) {
    spare = std::move(spares.front());  // the oldest gives way
    spares.pop_front();
  } else {
    spare = std::make_unique<TBitmap>();
  }
  spare->SwapPixels(bitmap);
  bitmap.SetSize(0, 0);
  spares.push_back(std::move(spare));
}

void SizeFromSpares(TBitmap& bitmap, int width, int height, TSparePixels pixels) {
  auto& spares = Spares();
  auto found = std::find_if(spares.rbegin(), spares.rend(), [&](const std::unique_ptr<TBitmap>& spare) {
    return spare->Width() == width && spare->Height() == height;
  });
  if (found == spares.rend() || width <= 0 || height <= 0) {
    bitmap.SetSize(width, height);
    return;
  }
  bitmap.SwapPixels(**found);
  spares.erase(std::next(found).base());
  if (pixels == TSparePixels::White) std::fill_n(bitmap.ScanLine(0), static_cast<size_t>(width) * height, 0xFFFFFFFFu);
}

}  // namespace platform

#include "controls/EditMinHeight.h"

#include <algorithm>

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas.h"

namespace controls {

namespace {

int TextHeightOf(const platform::TFont& font) {
  platform::TBitmap measure;
  measure.Canvas().Font().Assign(font);
  return measure.Canvas().TextHeight("0");
}

}  // namespace

int EditMinHeight(const platform::TFont& font) {
  const int height = TextHeightOf(font);
  return height + std::min(TextHeightOf(platform::TFont()), height) / 4;
}

}  // namespace controls

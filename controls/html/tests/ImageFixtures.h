#pragma once

#include <memory>
#include <string>

#include "controls/html/PictureContainer.h"
#include "platform/gfx/Bitmap.h"
#include "platform/ui/ImgList.h"

namespace controls::test {

using namespace platform;

// A bitmap of one colour.
inline std::unique_ptr<TBitmap> Solid(int width, int height, TColor color) {
  auto b = std::make_unique<TBitmap>(width, height);
  b->Canvas().Brush().SetColor(color);
  b->Canvas().FillRect(Rect(0, 0, width, height));
  return b;
}

// The BMP file of a bitmap of one colour, as picture data.
inline std::string SolidBmp(int width, int height, TColor color) { return Solid(width, height, color)->SaveToBytes(); }

// An image list of one size with one image per colour given.
inline std::unique_ptr<TImageList> ColorList(int width, int height, std::initializer_list<TColor> colors) {
  auto list = std::make_unique<TImageList>(nullptr);
  list->SetWidth(width);
  list->SetHeight(height);
  for (TColor c : colors) list->AddMasked(*Solid(width, height, c), clNone);
  return list;
}

}  // namespace controls::test

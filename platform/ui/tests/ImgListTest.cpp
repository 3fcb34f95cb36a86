#include <gtest/gtest.h>

#include "platform/gfx/tests/PixelArt.h"
#include "platform/ui/ImgList.h"

namespace platform {
namespace {

using test::Art;
using test::Rows;

// A strip of n images of width 2 and height 2: image i has a black pixel at the top left and red
// elsewhere.
std::unique_ptr<TBitmap> Strip(int n) {
  auto b = std::make_unique<TBitmap>(2 * n, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2 * n; ++x) b->Canvas().SetPixels(x, y, x % 2 == 0 && y == 0 ? clBlack : clRed);
  return b;
}

TEST(ImgListTest, StripsAreCutIntoImagesWithTheirMask) {
  TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(2);
  EXPECT_EQ(list.AddMasked(*Strip(3), clRed), 0);
  EXPECT_EQ(list.AddMasked(*Strip(1), clDefault), 3);  // the bottom-left pixel's colour
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.AddMasked(TBitmap(1, 2), clRed), -1);  // narrower than an image

  TBitmap b(6, 2);
  list.Draw(b.Canvas(), 0, 0, 1);
  list.Draw(b.Canvas(), 3, 0, 3);
  list.Draw(b.Canvas(), 0, 0, 4);  // outside the list: nothing
  EXPECT_EQ(Art(b), Rows("#..#..", "......"));

  TBitmap mask(2, 2);  // white: transparent
  mask.Canvas().SetPixels(1, 1, clBlack);
  EXPECT_EQ(list.Add(*Strip(1), &mask), 4);
  TBitmap masked(2, 2);
  list.Draw(masked.Canvas(), 0, 0, 4);
  EXPECT_EQ(Art(masked), Rows("..", ".r"));
}

TEST(ImgListTest, DisabledImagesShowEmbossedInTheButtonColours) {
  TImageList list(nullptr);
  list.SetWidth(2);
  list.SetHeight(2);
  list.AddMasked(*Strip(1), clRed);
  TBitmap b(3, 3);
  b.Canvas().Brush().SetColor(clBlue);
  b.Canvas().FillRect(Rect(0, 0, 3, 3));
  list.Draw(b.Canvas(), 0, 0, 0, false);
  // The dark pixel in the shadow colour over its highlight (white) one pixel down and right.
  EXPECT_EQ(Art(b), Rows("gbb", "b.b", "bbb"));
}

TEST(ImgListTest, ChangesReachOnChangeAndTheRegisteredLinks) {
  auto list = std::make_unique<TImageList>(nullptr);
  int changes = 0, linked = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  TChangeLink link;
  link.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, list.get());
    ++linked;
  };
  list->RegisterChanges(&link);
  EXPECT_EQ(link.Sender(), list.get());
  list->AddMasked(*Strip(2), clRed);  // default 16 wide: no image, no change
  list->SetWidth(2);
  list->SetHeight(2);
  list->AddMasked(*Strip(2), clRed);
  list->Delete(7);
  list->Delete(0);
  EXPECT_EQ(list->Count(), 1);
  list->SetWidth(4);  // a new size drops the images
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(linked, 5);
  {
    TChangeLink shortLived;
    list->RegisterChanges(&shortLived);
  }
  list->SetHeight(3);  // the destroyed link unregistered itself
  list.reset();
  EXPECT_EQ(link.Sender(), nullptr);
}

}  // namespace
}  // namespace platform

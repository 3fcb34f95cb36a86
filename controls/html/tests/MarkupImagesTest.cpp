#include <gtest/gtest.h>

#include "controls/html/tests/ImageFixtures.h"
#include "controls/html/tests/RenderFixture.h"

namespace controls {
namespace {

using namespace test;
using platform::test::PixelAt;

TEST(MarkupImagesTest, ImageListImagesTakeTheirRoomOnlyWhenTheIndexExists) {
  const auto list = ColorList(10, 10, {clRed});
  struct Case {
    const char* text;
    bool withList;
    int xSize;
  };
  const Case cases[] = {
      {"a<IMG src=\"idx:0\">b", true, 26},
      {"a<img src=\"IDX:0\">b", true, 26},
      {"a<IMG src=\"idx:1\">b", true, 16},
      {"a<IMG src=\"idx:-1\">b", true, 16},
      {"a<IMG src=\"idx:x\">b", true, 26},  // no number reads 0
      {"a<IMG src=\"idx:0\">b", false, 16},
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.images = c.withList ? list.get() : nullptr;
    r.Run(b.Canvas(), c.text);
    EXPECT_EQ(r.xSize, c.xSize) << c.text;
    EXPECT_EQ(r.ySize, 16) << c.text;
    EXPECT_EQ(PixelAt(b, 12, 5) == clRed, c.xSize == 26) << c.text;
  }
}

// SSYS and LSYS name a file, a folder or a type (by its name) and take the small or large icon's
// size; a number is the icon's index.
TEST(MarkupImagesTest, SystemIconsTakeTheSizeOfTheirList) {
  struct Case {
    const char* text;
    int xSize, ySize;
  };
  const Case cases[] = {
      {"a<IMG src=\"ssys:0\">b", 32, 16},
      {"a<IMG src=\"LSYS:2\">b", 48, 32},
      {"a<IMG src=\"ssys:999\">b", 16, 16},  // no such icon: no room
      {"a<IMG src=\"ssys:99999999999\">b", 16, 16},
      {"a<IMG src=\"lsys:/\">b", 48, 32},
      {"a<IMG src=\"ssys:no such file.txt\">b", 32, 16},
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.Run(b.Canvas(), c.text);
    EXPECT_EQ(r.xSize, c.xSize) << c.text;
    EXPECT_EQ(r.ySize, c.ySize) << c.text;
  }
}

TEST(MarkupImagesTest, AnImageThatDoesNotFitMovesToTheNextLine) {
  const auto list = ColorList(10, 20, {clRed});
  MarkupBitmap b;
  Render r;
  r.images = list.get();
  r.rect = Rect(0, 0, 41, 100);
  r.Run(b.Canvas(), "aaaa<IMG src=\"idx:0\">");
  EXPECT_EQ(r.ySize, 16 + 20);
  EXPECT_EQ(PixelAt(b, 5, 20), clRed);
  EXPECT_EQ(PixelAt(b, 37, 5), clWhite);
}

TEST(MarkupImagesTest, AlignMovesTheLinesTextUp) {
  // An image 32 high: text sits at the bottom, or at the top, or in the middle.
  const auto list = ColorList(8, 32, {clRed});
  struct Case {
    const char* text;
    int inkedRow, blankRow;
  };
  const Case cases[] = {
      {"<IMG src=\"idx:0\">a", 20, 5},
      {"<IMG src=\"idx:0\" align=\"top\">a", 5, 20},
      {"<IMG src=\"idx:0\" align=\"middle\">a", 12, 3},
      {"<IMG src=\"idx:0\" alt=\"TOP\">a", 20, 5},  // only the ALIGN attribute counts
  };
  for (const Case& c : cases) {
    MarkupBitmap b;
    Render r;
    r.images = list.get();
    r.Run(b.Canvas(), c.text);
    EXPECT_EQ(PixelAt(b, 11, c.inkedRow), clBlack) << c.text;
    EXPECT_EQ(PixelAt(b, 11, c.blankRow), clWhite) << c.text;
  }
}

TEST(MarkupImagesTest, ContainerPicturesAndTheAltPictureUnderThePoint) {
  TPictureContainer container(nullptr);
  TPictureItem* red = container.Items().Add();
  red->Name = "P1";
  red->Picture().LoadFromBytes(SolidBmp(10, 10, clRed));
  TPictureItem* blue = container.Items().Add();
  blue->Name = "p2";
  blue->Picture().LoadFromBytes(SolidBmp(12, 10, clBlue));
  const char* text = "<A href=\"x\"><IMG src=\"p1\" alt=\"p2\"></A>";
  struct Case {
    int x, y;
    bool hit;
    TColor shown;
  };
  for (const Case& c : {Case{5, 5, true, clBlue}, Case{50, 5, false, clRed}}) {
    MarkupBitmap b;
    Render r;
    r.container = &container;
    r.x = c.x;
    r.y = c.y;
    EXPECT_EQ(r.Run(b.Canvas(), text), c.hit);
    EXPECT_EQ(r.anchorVal, c.hit ? "x" : "");
    EXPECT_EQ(PixelAt(b, 6, 6), c.shown);
  }
  MarkupBitmap b;
  Render r;
  r.container = &container;
  r.Run(b.Canvas(), "a<IMG src=\"missing\">b<IMG src=\"p1\" width=\"20\" height=\"4\">");
  EXPECT_EQ(r.xSize, 16 + 20);
}

TEST(MarkupImagesTest, UrlPicturesAreCachedAndOnlyResourcesAndFilesLoad) {
  TMarkupPictureCache cache;
  MarkupBitmap b;
  Render r;
  r.cache = &cache;
  r.Run(b.Canvas(), "a<IMG src=\"http://example.com/x.gif\">b<IMG src=\"res://markuppic\">");
  EXPECT_EQ(r.xSize, 16 + 6);  // the fixture resource is 6 x 4
  EXPECT_EQ(cache.Count(), 2);
  TMarkupPicture* web = cache.FindPicture("HTTP://EXAMPLE.COM/X.GIF");
  ASSERT_NE(web, nullptr);
  EXPECT_TRUE(web->Empty());
  EXPECT_NE(cache.FindPicture("RES://MARKUPPIC"), nullptr);
  r.Run(b.Canvas(), std::string("<IMG src=\"file://") + MARKUP_FIXTURES + "/markuppic.bmp\"><IMG src=\"file:///nowhere.gif\">");
  EXPECT_EQ(r.xSize, 6);
  EXPECT_EQ(cache.Count(), 4);
  r.Run(b.Canvas(), "<IMG src=\"http://example.com/x.gif\">");
  EXPECT_EQ(cache.Count(), 4);
}

TEST(MarkupImagesTest, PrintModeScalesImagesByTheResizeFactor) {
  const auto list = ColorList(10, 10, {clRed});
  MarkupBitmap b;
  Render r;
  r.images = list.get();
  r.print = true;
  r.resizeFactor = 2.0;
  r.Run(b.Canvas(), "<IMG src=\"idx:0\">");
  EXPECT_EQ(r.xSize, 10);
  EXPECT_EQ(PixelAt(b, 19, 19), clRed);
  EXPECT_EQ(PixelAt(b, 22, 5), clWhite);
}

TEST(MarkupImagesTest, BodyFillsTheRectangleWithItsColourAndTilesItsBackground) {
  TPictureContainer container(nullptr);
  TPictureItem* tile = container.Items().Add();
  tile->Name = "TILE";
  tile->Picture().LoadFromBytes(SolidBmp(7, 5, clRed));
  MarkupBitmap b(60, 40);
  Render r;
  r.rect = Rect(10, 10, 50, 30);
  r.container = &container;
  r.Run(b.Canvas(), "<BODY bgcolor=\"clblue\">a");
  EXPECT_EQ(PixelAt(b, 45, 25), clBlue);
  EXPECT_EQ(PixelAt(b, 50, 25), clWhite);
  r.Run(b.Canvas(), "<BODY background=\"tile\">a");
  EXPECT_EQ(PixelAt(b, 49, 29), clRed);
  EXPECT_EQ(PixelAt(b, 50, 30), clWhite);
}

}  // namespace
}  // namespace controls

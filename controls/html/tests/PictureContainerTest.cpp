#include <gtest/gtest.h>

#include "controls/html/PictureContainer.h"
#include "controls/html/tests/ImageFixtures.h"
#include "platform/core/Files.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/tests/PixelArt.h"

namespace controls {
namespace {

using namespace test;

// Three frames (delays 10, 20 and 35 hundredths) on a 4 x 3 screen; the second is 2 x 2 at (1, 1),
// blue on its diagonal and transparent elsewhere.
std::string FramesGif() { return ReadFileBytes(std::string(GFX_FIXTURES) + "/frames.gif"); }

TEST(PictureContainerTest, GifFramesAreCountedTimedAndShownOneAtATime) {
  TMarkupPicture picture;
  picture.LoadFromBytes(FramesGif());
  EXPECT_TRUE(picture.IsGIFFile());
  EXPECT_EQ(picture.GetFrameCount(), 3);
  EXPECT_EQ(picture.GetFrameTime(1), 10);
  EXPECT_EQ(picture.GetFrameTime(3), 35);
  EXPECT_EQ(picture.GetFrameTime(4), -1);
  EXPECT_EQ(picture.GetFrameTime(0), -1);
  EXPECT_EQ(picture.GetMaxWidth(), 4);
  EXPECT_EQ(picture.GetMaxHeight(), 3);
  EXPECT_EQ(picture.Width(), 4);

  int changes = 0;
  picture.OnFrameChange = [&](TObject*) { ++changes; };
  picture.SetFrame(2);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.FrameXPos(), 1);
  EXPECT_EQ(picture.FrameYPos(), 1);
  TBitmap b(4, 4);
  b.Canvas().Draw(0, 0, picture);
  EXPECT_EQ(platform::test::Art(b), platform::test::Rows("b...", ".b..", "....", "...."));

  picture.SetFrame(9);  // kept within the frames
  EXPECT_EQ(picture.Frame(), 3);
  picture.SetFrame(-4);
  EXPECT_EQ(picture.Frame(), 1);
  picture.FramePrev();
  EXPECT_EQ(picture.Frame(), 3);
  picture.FrameNext();
  EXPECT_EQ(picture.Frame(), 1);
}

TEST(PictureContainerTest, StepSwitchesFramesWhenTheirDelayHasPassed) {
  // Each step is 10 hundredths; the count starts at -1. Delays 10, 20, 35: the first switch comes
  // at the third step, then each frame shows for its own delay.
  TMarkupPicture picture;
  picture.LoadFromBytes(FramesGif());
  const bool switches[] = {false, false, true, false, true, false, false, false, true, true};
  const int frames[] = {1, 1, 2, 2, 3, 3, 3, 3, 1, 2};
  for (size_t i = 0; i < std::size(switches); ++i) {
    EXPECT_EQ(picture.Step(), switches[i]) << i;
    EXPECT_EQ(picture.Frame(), frames[i]) << i;
  }
  TMarkupPicture still;
  still.LoadFromBytes(SolidBmp(3, 3, clRed));
  EXPECT_FALSE(still.Step());
  EXPECT_EQ(still.GetFrameCount(), -1);
  TMarkupPicture empty;
  EXPECT_FALSE(empty.Step());
}

TEST(PictureContainerTest, OneFrameAndDamagedGifs) {
  const std::string gif = FramesGif();
  const size_t second = gif.find("\x21\xF9\x04", gif.find("\x21\xF9\x04") + 1);
  TMarkupPicture one;
  one.LoadFromBytes(gif.substr(0, second) + ";");
  EXPECT_EQ(one.GetFrameCount(), 1);
  EXPECT_EQ(one.Width(), 4);
  // Every cut of the data either loads or raises the picture's own error.
  for (size_t length = 0; length <= gif.size(); ++length) {
    TMarkupPicture cut;
    try {
      cut.LoadFromBytes(gif.substr(0, length));
      cut.SetFrame(3);
    } catch (const EInvalidGraphic& e) {
      EXPECT_FALSE(cut.Empty());
      EXPECT_EQ(cut.Width(), 0);
    }
  }
  TMarkupPicture bad;
  try {
    bad.LoadFromBytes("not a picture");
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), "Could not load image. Invalid format");
  }
}

TEST(PictureContainerTest, UrlsLoadResourcesAndFilesOnly) {
  TMarkupPicture resource;
  resource.LoadFromURL("res://markuppic");
  EXPECT_EQ(resource.ID, "RES://MARKUPPIC");
  EXPECT_EQ(resource.Width(), 6);
  TMarkupPicture file;
  file.LoadFromURL(std::string("file://") + MARKUP_FIXTURES + "/markuppic.bmp");  // upper-cased, found anyway
  EXPECT_EQ(file.Height(), 4);
  TMarkupPicture web;
  web.Asynch = false;
  web.LoadFromURL("http://example.com/a.gif");
  EXPECT_EQ(web.ID, "HTTP://EXAMPLE.COM/A.GIF");
  EXPECT_TRUE(web.Empty());
  TMarkupPicture pending;
  pending.LoadFromURL("http://example.com/a.gif");
  EXPECT_EQ(pending.URL, "HTTP://EXAMPLE.COM/A.GIF");
  EXPECT_EQ(pending.ID, "");
  TMarkupPicture unknown;
  unknown.LoadFromURL("res://nothing");
  EXPECT_TRUE(unknown.Empty());
  TMarkupPicture device;
  device.LoadFromURL("file:///dev/zero");  // only regular files are read
  EXPECT_TRUE(device.Empty());
  EXPECT_EQ(device.ID, "FILE:///DEV/ZERO");
}

TEST(PictureContainerTest, AssignCopiesTheDataAndDrawKeepsTheNaturalSizeUnlessStretched) {
  TMarkupPicture source;
  source.LoadFromBytes(SolidBmp(2, 2, clRed));
  TMarkupPicture copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.SaveToBytes(), source.SaveToBytes());
  TBitmap b(4, 4);
  b.Canvas().StretchDraw(Rect(0, 0, 4, 4), copy);
  EXPECT_EQ(platform::test::Art(b), platform::test::Rows("rr..", "rr..", "....", "...."));
  copy.Stretch = true;
  b.Canvas().StretchDraw(Rect(0, 0, 4, 4), copy);
  EXPECT_EQ(platform::test::Art(b), platform::test::Rows("rrrr", "rrrr", "rrrr", "rrrr"));
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(PictureContainerTest, ContainerAndCacheLookups) {
  TPictureContainer container(nullptr);
  container.Items().Add()->Name = "Pic";
  EXPECT_EQ(container.FindPicture("PIC"), &container.Items().GetItem(0)->Picture());
  EXPECT_EQ(container.FindPicture("Pic"), nullptr);
  EXPECT_EQ(container.Items().GetItem(1), nullptr);
  TPictureItem* first = container.Items().Insert(-5);
  EXPECT_EQ(container.Items().GetItem(0), first);

  TMarkupPictureCache cache;
  TMarkupPicture* added = cache.AddPicture();
  added->ID = "HTTP://X";
  EXPECT_EQ(cache.FindPicture("HTTP://X"), added);
  EXPECT_EQ(cache.FindPicture("http://x"), nullptr);
  EXPECT_EQ(cache.GetPicture(-1), nullptr);
  EXPECT_EQ(cache.GetPicture(1), nullptr);
  cache.ClearPictures();
  EXPECT_EQ(cache.Count(), 0);
}

}  // namespace
}  // namespace controls

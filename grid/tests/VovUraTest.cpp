#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "grid/VovUra.h"
#include "platform/core/Exception.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

namespace velmora::testing {
namespace {

TEST(TIntListTest, EveryChangeReportsTheTags) {
  TIntList list(3, 4);
  std::vector<std::tuple<TIntList*, int, int>> reports;
  list.Add(7);  // no handler yet: skipped
  list.OnChange = [&](TIntList& sender, int tag1, int tag2) { reports.emplace_back(&sender, tag1, tag2); };
  list.Add(8);
  list.SetInteger(0, 9);
  list.Delete(1);
  list.Clear();
  ASSERT_EQ(reports.size(), 4u);
  for (const auto& report : reports) EXPECT_EQ(report, std::make_tuple(&list, 3, 4));

  list.Add(5);
  list.Add(6);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetInteger(1), 6);
  EXPECT_EQ(list.IndexOf(6), 1);
  EXPECT_EQ(list.IndexOf(1), -1);
  EXPECT_THROW(list.GetInteger(2), platform::EListError);
  EXPECT_THROW(list.Delete(-1), platform::EListError);
}

TEST(TSortIndexListTest, DirectionInTheTopBit) {
  TSortIndexList list;
  list.AddIndex(5, true);
  list.AddIndex(2, false);
  EXPECT_EQ(static_cast<uint32_t>(list.GetInteger(1)), 0x80000002u);
  EXPECT_EQ(list.FindIndex(2), 1);
  EXPECT_EQ(list.FindIndex(5), 0);
  EXPECT_EQ(list.FindIndex(3), -1);
  list.ToggleIndex(2);
  EXPECT_EQ(list.GetInteger(1), 2);
  list.ToggleIndex(5);
  EXPECT_EQ(static_cast<uint32_t>(list.GetInteger(0)), 0x80000005u);
  list.ToggleIndex(9);  // absent: nothing
  EXPECT_EQ(list.Count(), 2);
}

TEST(TFilePictureTest, ReadsTheFileForItsSizeAndAtEveryDraw) {
  const std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "file_picture.bmp";
  platform::TBitmap picture(2, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) picture.Canvas().SetPixels(x, y, platform::clRed);
  picture.SaveToFile(file.string());

  TFilePicture filePicture;
  platform::TBitmap target(6, 6);
  filePicture.DrawPicture(target.Canvas(), {0, 0, 6, 6});  // no file name: nothing
  EXPECT_EQ(target.Canvas().Pixels(2, 2), platform::clWhite);

  filePicture.SetFileName(file.string());
  EXPECT_EQ(filePicture.Width(), 2);
  EXPECT_EQ(filePicture.Height(), 2);
  filePicture.DrawPicture(target.Canvas(), {1, 1, 5, 5});
  EXPECT_EQ(target.Canvas().Pixels(4, 4), platform::clRed);
  EXPECT_EQ(target.Canvas().Pixels(5, 5), platform::clWhite);

  // The picture is not kept: a changed file draws as it is now; a missing one raises.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) picture.Canvas().SetPixels(x, y, platform::clBlue);
  picture.SaveToFile(file.string());
  filePicture.DrawPicture(target.Canvas(), {1, 1, 5, 5});
  EXPECT_EQ(target.Canvas().Pixels(2, 2), platform::clBlue);
  std::filesystem::remove(file);
  EXPECT_THROW(filePicture.DrawPicture(target.Canvas(), {1, 1, 5, 5}), platform::Exception);
  EXPECT_THROW(filePicture.SetFileName(file.string()), platform::Exception);
}

}  // namespace
}  // namespace velmora::testing

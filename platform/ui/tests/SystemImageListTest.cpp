#include "platform/ui/SystemImageList.h"

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "platform/core/Files.h"
#include "platform/core/tests/TempFolder.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::PixelAt;

// A theme icon: red, with a transparent top-left pixel.
std::string IconPng(int size) {
  TBitmap b(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) b.ScanLine(y)[x] = x == 0 && y == 0 ? 0 : 0xFFFF0000u;
  b.SetAlphaFormat(TAlphaFormat::afDefined);
  return PngBytes(b);
}

class SystemImageListTest : public ::testing::Test {
protected:
  void Write(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(folder_.File(name)).parent_path());
    WriteFileAtomic(folder_.File(name), bytes);
  }
  // Image `index` of the list drawn on white.
  static std::unique_ptr<TBitmap> Drawn(TCustomImageList& list, int index) {
    auto b = std::make_unique<TBitmap>(list.Width(), list.Height());
    b->Canvas().Brush().SetColor(clWhite);
    b->Canvas().FillRect(Rect(0, 0, list.Width(), list.Height()));
    list.Draw(b->Canvas(), 0, 0, index);
    return b;
  }

  TempFolder folder_;
};

TEST_F(SystemImageListTest, WithoutThemeFilesAndFoldersShowTheBuiltInIcons) {
  std::filesystem::create_directories(folder_.File("folder"));
  TSystemImageList icons({folder_.File("no-data")});
  EXPECT_EQ(icons.Count(), 3);
  EXPECT_EQ(icons.Images(TShellIconSize::Small).Width(), 16);
  EXPECT_EQ(icons.Images(TShellIconSize::Large).Height(), 32);
  EXPECT_EQ(icons.IconIndex(folder_.File("report.txt")), 0);
  EXPECT_EQ(icons.IconIndex(folder_.File("folder")), 1);
  EXPECT_EQ(icons.IconIndex("/bin/sh"), 2);
  EXPECT_EQ(icons.Count(), 3);

  // Both sizes draw the same picture: transparent corners, a white page, a yellow folder, a navy title bar.
  for (TShellIconSize size : {TShellIconSize::Small, TShellIconSize::Large}) {
    TCustomImageList& list = icons.Images(size);
    const int u = list.Width() / 16;
    const auto document = Drawn(list, 0), folder = Drawn(list, 1), program = Drawn(list, 2);
    EXPECT_EQ(PixelAt(*document, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(*document, 5 * u, 7 * u), clWhite);
    EXPECT_EQ(PixelAt(*document, 8 * u, 6 * u), clGray);
    EXPECT_EQ(PixelAt(*folder, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(*folder, 8 * u, 9 * u), RGB(240, 200, 80));
    EXPECT_EQ(PixelAt(*program, 8 * u, 3 * u), clNavy);
    EXPECT_EQ(PixelAt(*program, 8 * u, 9 * u), clWhite);
  }
}

TEST_F(SystemImageListTest, ThemeIconsJoinBothListsOnceWithTheirTransparency) {
  Write("data/mime/globs2", "50:text/plain:*.txt\n50:image/png:*.png\n");
  Write("data/icons/hicolor/16x16/mimetypes/text-plain.png", IconPng(16));
  Write("data/icons/hicolor/32x32/mimetypes/text-plain.png", IconPng(32));
  Write("data/icons/hicolor/16x16/mimetypes/image-png.png", IconPng(16));  // one size only
  Write("data/icons/hicolor/16x16/mimetypes/image-x-generic.png", "no PNG");
  Write("data/icons/hicolor/32x32/mimetypes/image-x-generic.png", "no PNG");
  TSystemImageList icons({folder_.File("data")});

  EXPECT_EQ(icons.IconIndex("a.txt"), 3);
  EXPECT_EQ(icons.IconIndex("B.TXT"), 3);
  EXPECT_EQ(icons.IconIndex("a.png"), 0);  // neither name usable: the built-in document
  EXPECT_EQ(icons.Count(), 4);
  for (TShellIconSize size : {TShellIconSize::Small, TShellIconSize::Large}) {
    const auto b = Drawn(icons.Images(size), 3);
    EXPECT_EQ(PixelAt(*b, 0, 0), clWhite);
    EXPECT_EQ(PixelAt(*b, 1, 1), clRed);
  }
}

}  // namespace
}  // namespace platform

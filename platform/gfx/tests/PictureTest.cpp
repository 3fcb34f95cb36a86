#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "platform/core/Files.h"
#include "platform/core/Streams.h"
#include "platform/gfx/GifImage.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/JpegImage.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Png.h"
#include "platform/gfx/tests/PixelArt.h"

namespace platform {
namespace {

using test::Art;
using test::PixelAt;
using test::Rows;

std::string Fixture(const std::string& name) { return ReadFileBytes(std::string(GFX_FIXTURES) + "/" + name); }

// Pixels as 0xAARRGGBB, rows top-down.
std::vector<uint32_t> PixelsOf(const TBitmap& b) {
  return std::vector<uint32_t>(b.ScanLine(0), b.ScanLine(0) + static_cast<size_t>(b.Width()) * b.Height());
}

TEST(PictureTest, BmpFixturesDecodeToTheirPixels) {
  struct Case {
    const char* file;
    std::string art;
  };
  const Case cases[] = {
      {"pal8.bmp", Rows("#rb", ".#.")},
      {"rgb24.bmp", Rows("r?b", "#.g")},
      {"rle8.bmp", Rows("#b#.", "rrrr")},
      {"rle4.bmp", Rows("..#rb", ".....", "rbrbr")},
      {"bits565.bmp", Rows("rb")},
      {"mono.bmp", Rows("#.#.#.#.#")},
  };
  for (const Case& c : cases) {
    TBitmap b;
    b.LoadFromBytes(Fixture(c.file));
    EXPECT_EQ(Art(b), c.art) << c.file;
    EXPECT_EQ(b.AlphaFormat(), TAlphaFormat::afIgnored) << c.file;
  }
  TBitmap b;
  b.LoadFromBytes(Fixture("rgb24.bmp"));
  EXPECT_EQ(PixelAt(b, 1, 0), RGB(0, 255, 0));
}

TEST(PictureTest, BitmapSavesAndLoadsBackTheSamePixels) {
  TBitmap b(3, 2);
  b.Canvas().SetPixels(0, 0, clRed);
  b.Canvas().SetPixels(2, 1, RGB(1, 2, 3));
  TBitmap copy;
  copy.LoadFromBytes(b.SaveToBytes());
  EXPECT_EQ(PixelsOf(copy), PixelsOf(b));
  b.ScanLine(0)[1] = 0x40102030;
  b.SetAlphaFormat(TAlphaFormat::afDefined);
  copy.LoadFromBytes(b.SaveToBytes());
  EXPECT_EQ(copy.AlphaFormat(), TAlphaFormat::afDefined);
  EXPECT_EQ(copy.ScanLine(0)[1], 0x40102030u);
}

TEST(PictureTest, GraphicsLoadFromTheStreamPositionAndSaveAtIt) {
  TMemoryStream stream;
  stream.WriteBuffer("xy", 2);
  TGIFImage gif;
  gif.LoadFromBytes(Fixture("frames.gif"));
  gif.SaveToStream(stream);
  stream.SetPosition(2);
  TGIFImage copy;
  copy.LoadFromStream(stream);
  EXPECT_EQ(copy.FrameCount(), 3);
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(PictureTest, DamagedDataRaisesAndKeepsTheOldPicture) {
  TBitmap b;
  b.LoadFromBytes(Fixture("pal8.bmp"));
  std::string bmp = Fixture("pal8.bmp");
  const std::string bad[] = {"", "BM", bmp.substr(0, bmp.size() - 3), "BM" + std::string(60, '\xFF')};
  for (const std::string& data : bad) EXPECT_THROW(b.LoadFromBytes(data), EInvalidGraphic);
  EXPECT_EQ(Art(b), Rows("#rb", ".#."));
  std::string huge = bmp;
  huge[18] = '\xFF', huge[19] = '\xFF', huge[20] = '\xFF', huge[21] = '\x7F';  // width 2^31 - 1
  EXPECT_THROW(b.LoadFromBytes(huge), EInvalidGraphic);
  TGIFImage gif;
  EXPECT_THROW(gif.LoadFromBytes("GIF89a\1"), EInvalidGraphic);
  std::string cut = Fixture("frames.gif");
  EXPECT_THROW(gif.LoadFromBytes(cut.substr(0, 40)), EInvalidGraphic);
  TJPEGImage jpeg;
  EXPECT_THROW(jpeg.LoadFromBytes(Fixture("redblue.jpg").substr(0, 100)), EInvalidGraphic);
  TIcon icon;
  EXPECT_THROW(icon.LoadFromBytes(Fixture("icon4.ico").substr(0, 30)), EInvalidGraphic);
  EXPECT_THROW(LoadGraphicFromBytes("hello"), EInvalidGraphic);
}

// The process's peak memory use so far, in bytes.
size_t PeakMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<size_t>(usage.ru_maxrss) * 1024;
}

TEST(PictureTest, DataFarTooShortForItsImageSizeIsRefusedBeforeThePixelsAreAllocated) {
  // A BMP of 8 bits and a GIF whose first frame claim 16384 x 16384 pixels (a gigabyte of pixels),
  // with the few bytes of data of the small fixtures.
  std::string bmp = Fixture("pal8.bmp");
  bmp.replace(18, 8, std::string("\0\x40\0\0\0\x40\0\0", 8));
  std::string gif = Fixture("frames.gif");
  const size_t frame = gif.find(',');  // the first image descriptor: left, top, width, height
  ASSERT_NE(frame, std::string::npos);
  gif.replace(frame + 5, 4, std::string("\0\x40\0\x40", 4));
  const size_t before = PeakMemory();
  EXPECT_THROW(TBitmap().LoadFromBytes(bmp), EInvalidGraphic);
  EXPECT_THROW(TGIFImage().LoadFromBytes(gif), EInvalidGraphic);
  EXPECT_LT(PeakMemory() - before, size_t{64} << 20);
}

// A run-length encoded 8-bit BMP of 64 bytes: headers, a one-colour palette and "end of bitmap".
std::string RleBmp(int width, int height) {
  std::string bmp = Fixture("rle8.bmp");
  const uint32_t paletteAt = 14 + 40, dataAt = paletteAt + 4;
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
  };
  bmp.resize(dataAt);
  bmp += std::string("\0\x01\0\0\0\0", 6);
  put32(2, static_cast<uint32_t>(bmp.size()));
  put32(10, dataAt);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put32(46, 1);  // colours used
  put32(paletteAt, 0x00336699);
  return bmp;
}

// The JPEG fixture (336 bytes, 16 x 8) claiming another size in its frame header.
std::string JpegClaiming(int width, int height) {
  std::string jpeg = Fixture("gray.jpg");
  const size_t frame = jpeg.find("\xFF\xC0");
  jpeg[frame + 5] = static_cast<char>(height >> 8);
  jpeg[frame + 6] = static_cast<char>(height & 0xFF);
  jpeg[frame + 7] = static_cast<char>(width >> 8);
  jpeg[frame + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

TEST(PictureTest, SmallDataClaimingAHugePictureIsRefusedAtOnce) {
  // Beyond the default pixel limit (16384 x 16384), and within it but far too short for a
  // Huffman-coded JPEG of 4096 x 4096.
  struct Case {
    const char* name;
    std::string data;
    std::function<void(std::string_view)> load;
  };
  const Case cases[] = {
      {"RLE BMP", RleBmp(16384, 16384), [](std::string_view d) { TBitmap().LoadFromBytes(d); }},
      {"JPEG", JpegClaiming(16384, 16384), [](std::string_view d) { TJPEGImage().LoadFromBytes(d); }},
      {"short JPEG", JpegClaiming(4096, 4096), [](std::string_view d) { TJPEGImage().LoadFromBytes(d); }},
  };
  EXPECT_EQ(cases[0].data.size(), 64u);
  EXPECT_EQ(cases[1].data.size(), 336u);
  const size_t before = PeakMemory();
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(c.load(c.data), EInvalidGraphic) << c.name;
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    RecordProperty(std::string(c.name) + " ms", std::to_string(took));
  }
  EXPECT_LT(PeakMemory() - before, size_t{16} << 20);
}

TEST(PictureTest, ThePixelLimitIsASettingAndAPicturesPixelsAreHeldOnce) {
  // 4096 x 4096 pixels (64 MiB) from 64 bytes of run-length data: refused under a lower limit, and
  // decoded straight into the bitmap's own pixels under the default one.
  const std::string bmp = RleBmp(4096, 4096);
  SetMaxPicturePixels(4096 * 4095);
  EXPECT_THROW(TBitmap().LoadFromBytes(bmp), EInvalidGraphic);
  SetMaxPicturePixels(kDefaultMaxPicturePixels);
  const size_t before = PeakMemory();
  TBitmap bitmap;
  bitmap.LoadFromBytes(bmp);
  EXPECT_EQ(bitmap.Width(), 4096);
  EXPECT_EQ(bitmap.ScanLine(4095)[4095], 0xFF336699u);
  const size_t pixelBytes = size_t{4096} * 4096 * 4;
  EXPECT_LT(PeakMemory() - before, pixelBytes + pixelBytes / 2);
}

TEST(PictureTest, GifMadeWithGiflibToolsDecodesToItsFramesAndDelays) {
  TGIFImage gif;
  gif.LoadFromBytes(Fixture("frames.gif"));
  EXPECT_EQ(gif.Width(), 4);
  EXPECT_EQ(gif.Height(), 3);
  ASSERT_EQ(gif.FrameCount(), 3);
  EXPECT_EQ(gif.Frames(0).DelayCs, 10);
  EXPECT_EQ(gif.Frames(1).DelayCs, 20);
  EXPECT_EQ(gif.Frames(2).DelayCs, 35);
  EXPECT_EQ(gif.Frames(0).Disposal, TGIFDisposal::dmKeep);
  EXPECT_EQ(gif.Frames(2).Disposal, TGIFDisposal::dmBackground);
  EXPECT_EQ(Art(*gif.Frames(0).Image), Rows("rrrr", "r##r", "rrrr"));
  EXPECT_EQ(Art(*gif.Frames(2).Image), Rows("#...", ".#..", "..#."));  // stored interlaced
  const TGIFFrame& second = gif.Frames(1);
  EXPECT_EQ((TPoint{second.Left, second.Top}), (TPoint{1, 1}));
  EXPECT_TRUE(second.HasTransparency);
  EXPECT_EQ(second.Image->ScanLine(0)[0], 0xFF0000FFu);
  EXPECT_EQ(second.Image->ScanLine(0)[1] >> 24, 0u);  // the transparent index

  // Drawing shows the selected frame at its place, its transparent pixels left out.
  TBitmap b(4, 3);
  b.Canvas().Brush().SetColor(clGray);
  b.Canvas().FillRect(Rect(0, 0, 4, 3));
  gif.SetFrame(1);
  b.Canvas().Draw(0, 0, gif);
  EXPECT_EQ(Art(b), Rows("gggg", "gbgg", "ggbg"));
  EXPECT_EQ(gif.SaveToBytes(), Fixture("frames.gif"));
}

TEST(PictureTest, JpegDecodesToItsSizeAndNearlyItsColours) {
  struct Case {
    const char* file;
    TColor left, right;
  };
  const Case cases[] = {{"redblue.jpg", clRed, clBlue}, {"gray.jpg", clBlack, clWhite}};
  for (const Case& c : cases) {
    TJPEGImage jpeg;
    jpeg.LoadFromBytes(Fixture(c.file));
    EXPECT_EQ(jpeg.Width(), 16);
    EXPECT_EQ(jpeg.Height(), 8);
    auto near = [](TColor a, TColor b) {
      return std::abs(GetRValue(a) - GetRValue(b)) < 12 && std::abs(GetGValue(a) - GetGValue(b)) < 12 &&
             std::abs(GetBValue(a) - GetBValue(b)) < 12;
    };
    EXPECT_TRUE(near(PixelAt(jpeg.Bitmap(), 2, 4), c.left)) << c.file;
    EXPECT_TRUE(near(PixelAt(jpeg.Bitmap(), 13, 4), c.right)) << c.file;
  }
}

TEST(PictureTest, IconsDecodeWithTheirTransparency) {
  TIcon icon;
  icon.LoadFromBytes(Fixture("icon4.ico"));  // the first of two images
  ASSERT_EQ(icon.Width(), 4);
  ASSERT_EQ(icon.Height(), 2);
  EXPECT_EQ(PixelsOf(icon.Bitmap()), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF, 0xFFFF0000, 0x000000FF,
                                                            0x00000000, 0xFF000000, 0xFF000000, 0xFF000000}));
  icon.LoadFromBytes(Fixture("alpha32.ico"));
  EXPECT_EQ(PixelsOf(icon.Bitmap()), (std::vector<uint32_t>{0xFFFF0000, 0x800000FF, 0x00000000, 0xFF000000}));
  icon.LoadFromBytes(Fixture("png.ico"));
  EXPECT_EQ(PixelsOf(icon.Bitmap()), (std::vector<uint32_t>{0xFF0000FF, 0x00000000}));

  TBitmap b(2, 1);
  b.Canvas().Draw(0, 0, icon);
  EXPECT_EQ(Art(b), Rows("b."));
}

TEST(PictureTest, MetafileReportsItsSizeFromTheHeader) {
  TMetafile wmf;
  wmf.LoadFromBytes(Fixture("inch.wmf"));
  EXPECT_EQ(wmf.HimetricSize(), (TSize{2540, 1270}));
  EXPECT_EQ(wmf.Width(), 96);
  EXPECT_EQ(wmf.Height(), 48);
  EXPECT_THROW(wmf.LoadFromBytes(std::string(30, '\0')), EInvalidGraphic);
  TBitmap b(10, 10);
  EXPECT_EQ(b.HimetricSize(), (TSize{265, 265}));
}

TEST(PictureTest, PictureChoosesTheKindByContentOrExtension) {
  const std::pair<const char*, int> files[] = {{"pal8.bmp", 3}, {"frames.gif", 4}, {"redblue.jpg", 16},
                                               {"icon4.ico", 4}, {"inch.wmf", 96}};
  for (const auto& [file, width] : files) {
    EXPECT_EQ(LoadGraphicFromBytes(Fixture(file))->Width(), width) << file;
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(std::string(GFX_FIXTURES) + "/" + file);
    EXPECT_EQ(picture.Width(), width) << file;
    EXPECT_GE(changes, 1);
  }
  TPicture picture;
  try {
    picture.LoadFromFile("/tmp/picture.xyz");
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unknown picture file extension (.xyz)");
  }
  EXPECT_THROW(picture.LoadFromFile(std::string(GFX_FIXTURES) + "/missing.bmp"), EFOpenError);
  EXPECT_EQ(picture.Bitmap().Width(), 0);
}

TEST(PictureTest, PngOfABitmapIsAValidImageOfTheSamePixels) {
  TBitmap b(3, 2);
  b.Canvas().SetPixels(0, 0, clRed);
  b.Canvas().SetPixels(2, 1, clBlue);
  const std::string png = PngBytes(b);
  ASSERT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  // Read back through an icon whose image is this PNG.
  std::string ico("\0\0\1\0\1\0", 6);
  ico += std::string("\3\2\0\0\1\0\x20\0", 8);
  for (uint32_t v : {static_cast<uint32_t>(png.size()), 22u})
    for (int i = 0; i < 4; ++i) ico.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  TIcon icon;
  icon.LoadFromBytes(ico + png);
  EXPECT_EQ(PixelsOf(icon.Bitmap()), PixelsOf(b));
  const std::string file = "/tmp/velmora-gfx-png-" + std::to_string(getpid()) + ".png";
  SavePngFile(b, file);
  EXPECT_EQ(ReadFileBytes(file), png);
  DeleteFile(file);
  EXPECT_THROW(PngBytes(TBitmap()), EInvalidGraphic);
}

}  // namespace
}  // namespace platform

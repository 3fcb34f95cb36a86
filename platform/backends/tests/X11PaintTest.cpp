#include <filesystem>

#include "platform/core/Paths.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Png.h"
#include "X11Fixture.h"
#include "XwdImage.h"

namespace platform::test {
namespace {

// What the server shows of the window, through xwd as a person would take it.
std::unique_ptr<TBitmap> Screenshot(const std::string& display, TBackendWindow window) {
  char name[] = "/tmp/velmora-x11-xwd-XXXXXX";
  ::close(::mkstemp(name));
  RunPeer({"xwd", "-silent", "-id", std::to_string(static_cast<unsigned long long>(window)), "-out", name}, display);
  std::unique_ptr<TBitmap> shot = ReadXwd(ReadFileBytes(name));
  ::unlink(name);
  return shot;
}

// Pixels that differ, by 0xRRGGBB, with the first difference for the message.
int Differences(const TBitmap& shown, const TBitmap& expected, const TRect& area, std::string& first) {
  int count = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if ((shown.ScanLine(y)[x] & 0xFFFFFF) != (expected.ScanLine(y)[x] & 0xFFFFFF) && count++ == 0)
        first = std::to_string(x) + "," + std::to_string(y);
  return count;
}

TEST_F(X11Test, PresentedPixelsShowAndOnlyTheDirtyPartIsReplaced) {
  const TBackendWindow window = ShowForm("Bild", Bounds(100, 100, 120, 80));
  TBitmap pattern(120, 80);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) pattern.ScanLine(y)[x] = 0xFF000000 | (x * 2) << 16 | (y * 3) << 8 | ((x + y) & 0xFF);
  backend_->Present(window, pattern, Rect(0, 0, 120, 80));
  backend_->CursorPos();  // a round trip: the server has drawn by its answer

  std::unique_ptr<TBitmap> shown = Screenshot(Display(), window);
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(shown->Width(), 120);
  ASSERT_EQ(shown->Height(), 80);
  std::string first;
  EXPECT_EQ(Differences(*shown, pattern, Rect(0, 0, 120, 80), first), 0) << "first at " << first;
  std::filesystem::create_directories(ExeDir() + "artefacts");
  SavePngFile(*shown, ExeDir() + "artefacts/x11-present.png");

  TBitmap black(120, 80);
  black.Canvas().Brush().SetColor(clBlack);
  black.Canvas().FillRect(Rect(0, 0, 120, 80));
  const TRect dirty = Rect(10, 10, 40, 30);
  backend_->Present(window, black, dirty);
  backend_->CursorPos();
  shown = Screenshot(Display(), window);
  ASSERT_NE(shown, nullptr);
  TBitmap expected;
  expected.Assign(pattern);
  expected.Canvas().Brush().SetColor(clBlack);
  expected.Canvas().FillRect(dirty);
  EXPECT_EQ(Differences(*shown, expected, Rect(0, 0, 120, 80), first), 0) << "first at " << first;
}

TEST_F(X11Test, UncoveringAsksForThePartThatWasHidden) {
  const TBackendWindow window = ShowForm("Darunter");
  sink_.events.clear();
  RecordingSink coverSink;
  TBackendWindowParams params;
  params.kind = TBackendWindowKind::Popup;
  params.owner = window;
  params.bounds = Bounds(150, 120, 40, 30);
  const TBackendWindow cover = backend_->CreateWindow(params, coverSink);
  backend_->ShowWindow(cover, true);
  ASSERT_TRUE(PumpUntil([&] { return coverSink.Has("expose 0,0 40,30"); }));
  backend_->DestroyWindow(cover);
  ASSERT_TRUE(PumpUntil([&] { return !sink_.Starting("expose").empty(); }));
  EXPECT_EQ(sink_.Starting("expose"), std::vector<std::string>{"expose 50,20 90,50"});
  EXPECT_FALSE(sink_.Has("deactivate")) << "a pop-up takes no focus";
}

// A 16-bit display shows the back buffer with each colour cut to its 5 (red, blue) or 6 (green) bits.
class X11SixteenBitTest : public X11Test {
protected:
  X11SixteenBitTest() : X11Test(16) {}
};

TEST_F(X11SixteenBitTest, TheBackBufferShowsInTheDisplaysColours) {
  const TBackendWindow window = ShowForm("Sechzehn", Bounds(10, 10, 120, 80));
  TBitmap pattern(120, 80), expected(120, 80);
  // What the screen's bits of a colour read back as: widened to 8 by repeating the high bits.
  const auto widen = [](uint32_t value, int bits) {
    const uint32_t kept = value >> (8 - bits);
    return kept << (8 - bits) | kept >> (2 * bits - 8);
  };
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t r = x * 2 & 0xFF, g = y * 3 & 0xFF, b = (x + y) & 0xFF;
      pattern.ScanLine(y)[x] = 0xFF000000 | r << 16 | g << 8 | b;
      expected.ScanLine(y)[x] = 0xFF000000 | widen(r, 5) << 16 | widen(g, 6) << 8 | widen(b, 5);
    }
  backend_->Present(window, pattern, Rect(0, 0, 120, 80));
  // A part alone, taken from its place in the buffer.
  TBitmap black(120, 80);
  const TRect part = Rect(30, 20, 50, 40);
  for (TBitmap* bitmap : {&black, &expected}) {
    bitmap->Canvas().Brush().SetColor(clBlack);
    bitmap->Canvas().FillRect(part);
  }
  backend_->Present(window, black, part);
  backend_->CursorPos();  // a round trip: the server has drawn by its answer
  std::unique_ptr<TBitmap> shown = Screenshot(Display(), window);
  ASSERT_NE(shown, nullptr);
  std::string first;
  EXPECT_EQ(Differences(*shown, expected, Rect(0, 0, 120, 80), first), 0) << "first at " << first;
}

// A display whose colours the backend cannot draw in is refused with the reason, which the programs say.
TEST(X11DepthTest, ADisplayOfOtherColoursIsRefusedWithTheReason) {
  XvfbServer server(8);
  ASSERT_FALSE(server.Display().empty()) << "Xvfb did not start";
  std::string error;
  TX11Refusal refusal = TX11Refusal::NoServer;
  EXPECT_EQ(OpenX11Backend(server.Display(), error, nullptr, &refusal), nullptr);
  EXPECT_EQ(refusal, TX11Refusal::Unsupported);
  EXPECT_EQ(error, "the X display " + server.Display() + " shows 8-bit colour; windows need 24-bit or 16-bit true colour");
}

}  // namespace
}  // namespace platform::test

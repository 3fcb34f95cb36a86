#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/TextTestFont.h"

// Installed fonts: only what holds for any version of the faces the setup script installs.
namespace platform {
namespace {

TEST(InstalledFontTest, SystemFaceNamesResolveToTheirStandIns) {
  struct Case {
    const char* name;
    const char* family;
  };
  const Case cases[] = {{"Tahoma", "DejaVu Sans"},      {"MS Sans Serif", "DejaVu Sans"},
                        {"Arial", "Liberation Sans"},    {"arial", "Liberation Sans"},
                        {"Times New Roman", "Liberation Serif"}, {"COURIER NEW", "Liberation Mono"},
                        {"velmora test", kTestFontName}};
  for (const Case& c : cases) {
    TBitmap b(1, 1);
    b.Canvas().Font().SetName(c.name);
    EXPECT_EQ(GetTextFace(b.Canvas().Handle()), c.family) << c.name;
  }
}

TEST(InstalledFontTest, BoldIsWiderThanRegularAndMonoIsFixedPitch) {
  for (const char* name : {"Tahoma", "Arial", "Times New Roman"}) {
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    c.Font().SetName(name);
    c.Font().SetSize(10);
    const int regular = c.TextWidth("Monitoring hosts");
    c.Font().SetStyle({TFontStyle::fsBold});
    EXPECT_GT(c.TextWidth("Monitoring hosts"), regular) << name;
    EXPECT_GT(c.TextHeight("Xg"), 10) << name;
  }
  TBitmap b(1, 1);
  b.Canvas().Font().SetName("Courier New");
  EXPECT_EQ(b.Canvas().TextWidth("iiii"), b.Canvas().TextWidth("MMMM"));
  TTextMetric m;
  GetTextMetrics(b.Canvas().Handle(), m);
  EXPECT_FALSE(m.tmPitchAndFamily & TMPF_FIXED_PITCH);
  EXPECT_EQ(m.tmHeight, m.tmAscent + m.tmDescent);
}

TEST(InstalledFontTest, TextInksTheQuadrantItsRotationPutsItIn) {
  struct Case {
    int orientation;
    bool right, below;  // where the ink lies relative to the reference point
  };
  const Case cases[] = {{0, true, true}, {900, true, false}, {1800, false, false}, {2700, false, true}};
  for (const Case& c : cases) {
    test::TextBitmap b(200, 200);
    b.Canvas().Font().SetName("Arial");
    b.Canvas().Font().SetSize(14);
    b.Canvas().Font().SetOrientation(c.orientation);
    b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
    b.Canvas().TextOut(100, 100, "Velmora");
    const TRect ink = b.Ink();
    ASSERT_FALSE(IsRectEmpty(ink)) << c.orientation;
    EXPECT_EQ(c.right ? ink.Left >= 99 : ink.Right <= 101, true) << c.orientation;
    EXPECT_EQ(c.below ? ink.Top >= 99 : ink.Bottom <= 101, true) << c.orientation;
    const bool vertical = c.orientation % 1800 != 0;
    EXPECT_EQ(vertical, ink.Height() > ink.Width()) << c.orientation;
  }
}

TEST(InstalledFontTest, AntialiasedTextBlendsIntoTheBackground) {
  test::TextBitmap b(60, 30);
  b.Canvas().Font().SetName("Tahoma");
  b.Canvas().Brush().SetStyle(TBrushStyle::bsClear);
  b.Canvas().TextOut(2, 2, "Wo");
  bool black = false, gray = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 60; ++x) {
      const TColor p = test::PixelAt(b, x, y);
      black = black || p == clBlack;
      gray = gray || (p != clBlack && p != clWhite && GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p));
    }
  EXPECT_TRUE(black);
  EXPECT_TRUE(gray);
}

TEST(InstalledFontTest, TextDecodesUtf8AndTakesStrayBytesAsWindows1252) {
  test::TextBitmap b(1, 1);
  TCanvas& c = b.Canvas();
  EXPECT_EQ(c.TextWidth("\xC3\xA9t\xC3\xA9"), 3 * 8);  // "été"
  EXPECT_EQ(c.TextWidth("\x80\xA7"), 2 * 8);            // euro and section sign as single bytes
  EXPECT_EQ(c.TextWidth("\xE2\x82"), 2 * 8);            // a cut-off sequence: two characters
  EXPECT_EQ(c.TextWidth("\xF0\x9F\x98\x80"), 8);        // beyond the basic plane
}

}  // namespace
}  // namespace platform

#include <gtest/gtest.h>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/tests/PixelArt.h"

// Edges and frame controls in the classic colours: light and button face silver ('s'), shadow gray
// ('g'), highlight white ('.'), dark shadow and text black ('#'); the bitmaps start blue ('b').
namespace platform {
namespace {

using test::Art;
using test::PixelAt;
using test::Rows;

struct Blue : TBitmap {
  Blue(int w, int h) : TBitmap(w, h) {
    Canvas().Brush().SetColor(clBlue);
    Canvas().FillRect(Rect(0, 0, w, h));
  }
  int Count(TColor color, const TRect& within) const {
    int n = 0;
    for (int y = within.Top; y < within.Bottom; ++y)
      for (int x = within.Left; x < within.Right; ++x) n += PixelAt(*this, x, y) == color;
    return n;
  }
};

TEST(EdgesTest, RaisedEdgeRingsAndTheirCorners) {
  Blue b(5, 4);
  TRect r = Rect(0, 0, 5, 4);
  EXPECT_TRUE(DrawEdge(b.Canvas().Handle(), r, EDGE_RAISED, BF_RECT | BF_ADJUST));
  EXPECT_EQ(Art(b), Rows("ssss#", "s..g#", "sggg#", "#####"));
  EXPECT_EQ(r, Rect(2, 2, 3, 2));
}

TEST(EdgesTest, SunkenEdgeOnChosenSidesAndMiddle) {
  Blue b(4, 3);
  TRect r = Rect(0, 0, 4, 3);
  DrawEdge(b.Canvas().Handle(), r, EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_MIDDLE);
  EXPECT_EQ(Art(b), Rows("gggg", "g###", "g#ss"));
  EXPECT_EQ(r, Rect(0, 0, 4, 3));  // without BF_ADJUST
  Blue soft(3, 3);
  r = Rect(0, 0, 3, 3);
  DrawEdge(soft.Canvas().Handle(), r, BDR_RAISEDOUTER, BF_RECT | BF_SOFT);
  EXPECT_EQ(Art(soft), Rows("..#", ".b#", "###"));
  Blue flat(3, 3);
  r = Rect(0, 0, 3, 3);
  DrawEdge(flat.Canvas().Handle(), r, EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE);
  EXPECT_EQ(Art(flat), Rows("ggg", "gsg", "ggg"));
}

TEST(EdgesTest, CheckBoxShowsItsMarkOnlyWhenChecked) {
  struct Case {
    unsigned state;
    TColor inside;
    TColor mark;
  };
  const Case cases[] = {{0, clWhite, clNone},
                        {DFCS_CHECKED, clWhite, clBlack},
                        {DFCS_CHECKED | DFCS_INACTIVE, clSilver, clGray},
                        {DFCS_PUSHED, clSilver, clNone}};
  for (const Case& c : cases) {
    Blue b(17, 13);
    TRect r = Rect(0, 0, 17, 13);  // the box is the square centred in it: x 2..14
    DrawFrameControl(b.Canvas().Handle(), r, DFC_BUTTON, DFCS_BUTTONCHECK | c.state);
    EXPECT_EQ(PixelAt(b, 1, 6), clBlue);
    EXPECT_EQ(PixelAt(b, 2, 0), clGray);  // sunken: shadow outside top-left
    EXPECT_EQ(PixelAt(b, 14, 12), clWhite);
    EXPECT_EQ(PixelAt(b, 3, 1), clBlack);  // dark shadow inside it
    EXPECT_EQ(PixelAt(b, 4, 3), c.inside);
    const TRect inside = Rect(4, 2, 13, 11);
    EXPECT_EQ(b.Count(c.mark, inside), c.mark == clNone ? 0 : 21) << c.state;
  }
}

TEST(EdgesTest, RadioButtonIsARoundRingWithADotWhenChecked) {
  for (bool checked : {false, true}) {
    Blue b(12, 12);
    TRect r = Rect(0, 0, 12, 12);
    DrawFrameControl(b.Canvas().Handle(), r, DFC_BUTTON, DFCS_BUTTONRADIO | (checked ? DFCS_CHECKED : 0));
    EXPECT_EQ(PixelAt(b, 0, 0), clBlue);  // round: the corners stay
    EXPECT_EQ(PixelAt(b, 11, 11), clBlue);
    EXPECT_EQ(PixelAt(b, 0, 5), clGray);    // upper-left of the outer ring
    EXPECT_EQ(PixelAt(b, 11, 6), clWhite);  // lower-right
    EXPECT_EQ(PixelAt(b, 5, 5), checked ? clBlack : clWhite);
    EXPECT_EQ(PixelAt(b, 3, 6), clWhite);
  }
}

TEST(EdgesTest, PushButtonRaisedOrPushedAndItsContentArea) {
  Blue up(6, 6), down(6, 6);
  TRect r = Rect(0, 0, 6, 6);
  DrawFrameControl(up.Canvas().Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(r, Rect(2, 2, 4, 4));
  EXPECT_EQ(Art(up), Rows(".....#", ".sssg#", ".sssg#", ".sssg#", ".gggg#", "######"));
  r = Rect(0, 0, 6, 6);
  DrawFrameControl(down.Canvas().Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  EXPECT_EQ(Art(down), Rows("#####.", "#gggs.", "#gsss.", "#gsss.", "#ssss.", "......"));
}

TEST(EdgesTest, ScrollButtonsCarryAnArrowInTheirDirection) {
  const unsigned directions[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT,
                                 DFCS_SCROLLCOMBOBOX};
  for (unsigned d : directions) {
    Blue b(16, 16);
    TRect r = Rect(0, 0, 16, 16);
    ASSERT_TRUE(DrawFrameControl(b.Canvas().Handle(), r, DFC_SCROLL, d));
    EXPECT_EQ(b.Count(clBlack, Rect(2, 2, 14, 14)), 7 + 5 + 3 + 1) << d;
    // The arrow's one-pixel tip lies towards its direction.
    const bool vertical = d != DFCS_SCROLLLEFT && d != DFCS_SCROLLRIGHT;
    const int tipRow = d == DFCS_SCROLLUP ? 6 : 9, tipCol = d == DFCS_SCROLLLEFT ? 6 : 9;
    if (vertical) EXPECT_EQ(b.Count(clBlack, Rect(2, tipRow, 14, tipRow + 1)), 1) << d;
    else EXPECT_EQ(b.Count(clBlack, Rect(tipCol, 2, tipCol + 1, 14)), 1) << d;
  }
  Blue b(16, 16);
  TRect r = Rect(0, 0, 16, 16);
  DrawFrameControl(b.Canvas().Handle(), r, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE);
  EXPECT_EQ(b.Count(clBlack, Rect(2, 2, 14, 14)), 0);
  EXPECT_EQ(b.Count(clGray, Rect(2, 2, 14, 14)), 16);
  EXPECT_FALSE(DrawFrameControl(b.Canvas().Handle(), r, 99, 0));
}

}  // namespace
}  // namespace platform

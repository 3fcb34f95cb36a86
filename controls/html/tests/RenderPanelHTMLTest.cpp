#include "controls/html/RenderPanelHTML.h"

#include <gtest/gtest.h>

#include "controls/html/tests/RenderFixture.h"

namespace controls {
namespace {

using namespace test;
using platform::test::PixelAt;

// Draws panel markup on a white 200 x 64 bitmap in the test font (8 pixels a character, 16 a line,
// text from x 1).
struct PanelRender {
  MarkupBitmap bitmap{200, 64};
  std::string anchor;
  bool Draw(const std::string& text, bool blink = true, TColor urlColor = clBlue) {
    return RenderPanelHTML(bitmap.Canvas(), text, Rect(0, 0, 200, 64), nullptr, 0, 0, false, blink, urlColor, anchor);
  }
  std::string HitTest(const std::string& text, int x, int y) {
    std::string target;
    return RenderPanelHTML(bitmap.Canvas(), text, Rect(0, 0, 200, 64), nullptr, x, y, true, true, clBlue, target)
               ? target
               : "";
  }
  // The inked rows: first and one past the last; {-1, -1} when nothing is inked.
  std::pair<int, int> InkRows() const {
    int first = -1, last = -1;
    for (int y = 0; y < bitmap.Height(); ++y) {
      for (int x = 0; x < bitmap.Width(); ++x) {
        if (PixelAt(bitmap, x, y) == clWhite) continue;
        if (first < 0) first = y;
        last = y + 1;
        break;
      }
    }
    return {first, last};
  }
};

TEST(RenderPanelHTMLTest, TextEntitiesAndLineBreaksOfTheOlderDialect) {
  struct Case {
    std::string markup;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"a &amp; b", {"X X X"}},      // one ampersand, drawn as itself
      {"a & b", {"X X X"}},
      {"x&nbsp;y", {"XXXXXXXX"}},   // not an entity of this dialect
      {"&amp;lt;", {"X"}},          // rounds: "&amp;" gives "&lt;", the next round "<"
      {"&lt;b&gt;", {"XXX"}},       // a decoded tag is text
      {"&quot;q&quot;", {"XXX"}},
      {"one\r\ntwo", {"XXXXXX"}},   // only tags break lines
      {"<#one> <#two>", {"XXXX XXXX"}},  // every bracketed "#" word is text
      {"one<br>two", {"XXX", "XXX"}},
      {"<E>err</E>", {"XXX"}},
  };
  for (const Case& c : cases) {
    PanelRender r;
    r.Draw(c.markup);
    EXPECT_EQ(r.bitmap.Cells(), c.cells) << c.markup;
  }
}

TEST(RenderPanelHTMLTest, AnyHTagEndsTheLineWithARule) {
  for (const std::string markup : {"one<hr>two", "one<hi>two", "one<h1>two"}) {
    PanelRender r;
    r.Draw(markup);
    EXPECT_EQ(r.bitmap.Cells(2), (std::vector<std::string>{"XXX", "XXX"})) << markup;  // rows clear of the rule
    int ruleRow = -1;
    for (int y = 13; y < 18; ++y) {
      if (PixelAt(r.bitmap, 150, y) == clBlack) ruleRow = y;  // right of the text: only the rule
    }
    EXPECT_NE(ruleRow, -1) << markup;
  }
}

TEST(RenderPanelHTMLTest, FontSizesAreAlwaysPoints) {
  PanelRender small, normal;
  small.Draw("<font size=\"3\">ab</font>");
  normal.Draw("ab");
  const auto [smallTop, smallBottom] = small.InkRows();
  const auto [top, bottom] = normal.InkRows();
  EXPECT_LT(smallBottom - smallTop, 6);  // 3 points, not the 12 of size 3 in the newer dialect
  EXPECT_GE(bottom - top, 10);
}

TEST(RenderPanelHTMLTest, ColoursAlignmentAndBlinkIgnoreCase) {
  PanelRender lower, upper;
  lower.Draw("<body bgcolor=\"#ff0000\"><p align=\"center\">ab");
  upper.Draw("<BODY BGCOLOR=\"#FF0000\"><P ALIGN=\"CENTER\">ab");
  EXPECT_EQ(PixelAt(lower.bitmap, 190, 60), clRed);
  EXPECT_EQ(PixelAt(upper.bitmap, 190, 60), clRed);
  const auto textLeft = [](const TBitmap& b) {
    for (int x = 0; x < b.Width(); ++x) {
      if (PixelAt(b, x, 8) == clBlack) return x;
    }
    return -1;
  };
  EXPECT_EQ(textLeft(lower.bitmap), 92);  // 16 pixels of text centred in 199
  EXPECT_EQ(textLeft(upper.bitmap), 92);

  PanelRender on, off;
  on.Draw("<blink>ab</blink>", true);
  off.Draw("<blink>ab</blink>", false);
  EXPECT_EQ(on.bitmap.Cells(), std::vector<std::string>{"XX"});
  EXPECT_EQ(off.InkRows().first, -1);  // the off phase draws in the background colour
}

TEST(RenderPanelHTMLTest, AnchorsTakeTheHrefValueAndURLColor) {
  PanelRender r;
  const std::string markup = "go <a title=\"tip\" href=\"target\">here</a> <A HREF=\"mailto:a@b\">m</A>";
  struct Case {
    int x;
    std::string anchor;
  };
  // "here" covers x 25..56, "m" 65..72.
  for (const Case& c : {Case{10, ""}, Case{30, "target"}, Case{60, ""}, Case{68, "mailto:a@b"}})
    EXPECT_EQ(r.HitTest(markup, c.x, 8), c.anchor) << c.x;
  r.Draw(markup, true, clRed);
  EXPECT_TRUE(HasColor(r.bitmap, Rect(25, 0, 57, 16), clRed));
  EXPECT_FALSE(HasColor(r.bitmap, Rect(0, 0, 200, 64), clBlue));
}

}  // namespace
}  // namespace controls

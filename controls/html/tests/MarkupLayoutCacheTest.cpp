#include <gtest/gtest.h>

#include <functional>

#include "controls/html/MarkupLayoutCache.h"
#include "controls/html/tests/ImageFixtures.h"
#include "controls/html/tests/RenderFixture.h"

namespace controls {
namespace {

using namespace test;
using markup::ThreadLayoutCache;

// Markup that takes every path of the layout: styles, fonts, paragraphs with alignment and indent,
// lists, anchors, images of a list and of the container, SUB and SUP, hidden text, line breaks,
// rotation, wrapping and a line cut at the rectangle's bottom.
constexpr const char* kRichText =
    "<P align=\"center\">Title <B>bold</B> &amp; <FONT size=\"12\" face=\"Velmora Test\">big</FONT></P>"
    "<UL><LI>one <A href=\"t1\">link</A><LI>two <IMG src=\"idx:0\" align=\"middle\"></UL>"
    "<P indent=\"10\">x<SUB>2</SUB> y<SUP>3</SUP> <Z>hidden</Z><IMG src=\"pic\"> <R a=\"90\">r</R></P><BR>"
    "wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap wrap";

struct Outcome {
  std::string pixels, anchorVal, stripVal, focusAnchor;
  int xSize, ySize, hyperLinks, mouseLink;
  TRect hoverRect;
  bool result;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

struct LayoutCacheTest : ::testing::Test {
  std::unique_ptr<TImageList> images = ColorList(16, 12, {clRed});
  TPictureContainer container{nullptr};
  TMarkupPictureCache otherCache;
  Render render;

  LayoutCacheTest() {
    TPictureItem* item = container.Items().Add();
    item->Name = "PIC";
    item->Picture().LoadFromBytes(SolidBmp(10, 20, clBlue));
    render.images = images.get();
    render.container = &container;
    render.rect = Rect(0, 0, 200, 90);
    ThreadLayoutCache().Clear();
  }

  Outcome Run(MarkupBitmap& b, const std::string& text = kRichText) {
    render.Run(b.Canvas(), text);
    return {b.SaveToBytes(), render.anchorVal,  render.stripVal,  render.focusAnchor, render.xSize,
            render.ySize,    render.hyperLinks, render.mouseLink, render.hoverRect,   render.result};
  }
  // Whether a second call found the first one's layout.
  bool Kept(const std::function<void(MarkupBitmap&)>& change = {}) {
    MarkupBitmap b;
    Run(b);
    if (change) change(b);
    const size_t found = ThreadLayoutCache().Found();
    Run(b);
    return ThreadLayoutCache().Found() > found;
  }
};

TEST_F(LayoutCacheTest, AKeptLayoutGivesWhatAFreshOneGives) {
  struct Mode {
    bool checkHeight, checkHotSpot, wordWrap;
  };
  for (const Mode& mode : {Mode{false, false, true}, Mode{true, false, true}, Mode{false, true, true},
                           Mode{false, false, false}, Mode{true, false, false}}) {
    SCOPED_TRACE(testing::Message() << mode.checkHeight << mode.checkHotSpot << mode.wordWrap);
    render.checkHeight = mode.checkHeight;
    render.checkHotSpot = mode.checkHotSpot;
    render.wordWrap = mode.wordWrap;
    render.focusLink = 0;
    render.anchorVal = "given";
    ThreadLayoutCache().Clear();
    MarkupBitmap fresh, again;
    const Outcome first = Run(fresh);
    const size_t found = ThreadLayoutCache().Found();
    EXPECT_EQ(Run(again), first);
    EXPECT_EQ(ThreadLayoutCache().Found(), found + 1);
  }
}

TEST_F(LayoutCacheTest, ChangingAnythingTheLayoutReadsLaysItOutAfresh) {
  ASSERT_TRUE(Kept());
  using Change = std::function<void(MarkupBitmap&)>;
  const std::pair<const char*, Change> changes[] = {
      {"rect", [&](MarkupBitmap&) { render.rect.Right -= 1; }},
      {"point", [&](MarkupBitmap&) { render.y = 5; }},
      {"focus link", [&](MarkupBitmap&) { render.focusLink = 0; }},
      {"hover link", [&](MarkupBitmap&) { render.hoverLink = 1; }},
      {"shadow offset", [&](MarkupBitmap&) { render.shadowOffset = 2; }},
      {"hot spot", [&](MarkupBitmap&) { render.checkHotSpot = true; }},
      {"height", [&](MarkupBitmap&) { render.checkHeight = true; }},
      {"print", [&](MarkupBitmap&) { render.print = true; }},
      {"selected", [&](MarkupBitmap&) { render.selected = true; }},
      {"blink phase", [&](MarkupBitmap&) { render.blink = false; }},
      {"hover style", [&](MarkupBitmap&) { render.hoverStyle = true; }},
      {"word wrap", [&](MarkupBitmap&) { render.wordWrap = false; }},
      {"resize factor", [&](MarkupBitmap&) { render.resizeFactor = 2; }},
      {"URL colour", [&](MarkupBitmap&) { render.urlColor = clRed; }},
      {"hover colour", [&](MarkupBitmap&) { render.hoverColor = clRed; }},
      {"hover font colour", [&](MarkupBitmap&) { render.hoverFontColor = clRed; }},
      {"shadow colour", [&](MarkupBitmap&) { render.shadowColor = clRed; }},
      {"image list", [&](MarkupBitmap&) { render.images = nullptr; }},
      {"picture cache", [&](MarkupBitmap&) { render.cache = &otherCache; }},
      {"picture container", [&](MarkupBitmap&) { render.container = nullptr; }},
      {"font name", [&](MarkupBitmap& b) { b.Canvas().Font().SetName("Tahoma"); }},
      {"font height", [&](MarkupBitmap& b) { b.Canvas().Font().SetHeight(-15); }},
      {"font style", [&](MarkupBitmap& b) { b.Canvas().Font().SetStyle(TFontStyles{TFontStyle::fsBold}); }},
      {"font colour", [&](MarkupBitmap& b) { b.Canvas().Font().SetColor(clRed); }},
      {"font orientation", [&](MarkupBitmap& b) { b.Canvas().Font().SetOrientation(900); }},
      {"font resolution", [&](MarkupBitmap& b) { b.Canvas().Font().SetPixelsPerInch(120); }},
      {"mapping mode", [&](MarkupBitmap& b) { SetMapMode(b.Canvas().Handle(), MM_LOMETRIC); }},
      {"origin", [&](MarkupBitmap& b) { SetViewportOrgEx(b.Canvas().Handle(), 5, 0); }},
      {"image list size", [&](MarkupBitmap&) { images->SetHeight(14); }},
      {"container picture", [&](MarkupBitmap&) { container.Items().GetItem(0)->Picture().LoadFromBytes(SolidBmp(11, 20, clRed)); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    const Render saved = render;
    EXPECT_FALSE(Kept(change));
    render = saved;
  }
}

TEST_F(LayoutCacheTest, TheTextAndTheResolutionAreOfTheKey) {
  MarkupBitmap b;
  Run(b);
  const size_t found = ThreadLayoutCache().Found();
  Run(b, std::string(kRichText) + " ");
  TCanvas printerLike(b, 192);
  printerLike.Font().SetName("Velmora Test");
  printerLike.Font().SetHeight(-16);
  render.Run(printerLike, kRichText);
  EXPECT_EQ(ThreadLayoutCache().Found(), found);
}

TEST_F(LayoutCacheTest, APictureOfAnotherSizeGivesTheLayoutOfAFreshCall) {
  MarkupBitmap before, after, fresh;
  Run(before);
  container.Items().GetItem(0)->Picture().LoadFromBytes(SolidBmp(10, 60, clBlue));
  const Outcome changed = Run(after);
  ThreadLayoutCache().Clear();
  EXPECT_EQ(Run(fresh), changed);
}

TEST_F(LayoutCacheTest, ACallThatFindsThePointOnAnAnchorOrImageIsNotKept) {
  for (const char* text : {"<A href=\"t\">link</A>", "<A href=\"t\"><IMG src=\"idx:0\"></A>"}) {
    SCOPED_TRACE(text);
    render.x = 5;
    render.y = 5;
    render.checkHotSpot = true;
    MarkupBitmap b;
    EXPECT_TRUE(render.Run(b.Canvas(), text));
    const size_t found = ThreadLayoutCache().Found();
    EXPECT_TRUE(render.Run(b.Canvas(), text));
    EXPECT_EQ(ThreadLayoutCache().Found(), found);
  }
}

TEST_F(LayoutCacheTest, TheCacheHoldsABoundedNumberOfLayouts) {
  MarkupBitmap b;
  for (size_t i = 0; i <= markup::LayoutCache::kMaxLayouts; ++i) Run(b, "text " + std::to_string(i));
  const size_t found = ThreadLayoutCache().Found();
  Run(b, "text 0");  // the oldest went
  Run(b, "text 1");
  EXPECT_EQ(ThreadLayoutCache().Found(), found);
  Run(b, "text " + std::to_string(markup::LayoutCache::kMaxLayouts));
  EXPECT_EQ(ThreadLayoutCache().Found(), found + 1);
}

}  // namespace
}  // namespace controls

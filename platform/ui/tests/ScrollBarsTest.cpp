#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/ui/ScrollBarLook.h"
#include "platform/ui/ScrollBars.h"
#include "platform/ui/tests/FormFixture.h"
#include "platform/ui/tests/ScrollFixture.h"

namespace platform {
namespace {

TEST(ScrollBarInfoTest, RangePageAndPositionKeepEachOtherConsistent) {
  struct Case {
    const char* what;
    UINT mask;
    int min, max;
    UINT page;
    int pos;
    int wantMin, wantMax, wantPage, wantPos, wantMaxPosition;
  };
  const Case cases[] = {
      {"position inside", SIF_ALL, 0, 100, 0, 50, 0, 100, 0, 50, 100},
      {"position below min clamps", SIF_ALL, 0, 100, 0, -5, 0, 100, 0, 0, 100},
      {"position above max clamps", SIF_ALL, 0, 100, 0, 500, 0, 100, 0, 100, 100},
      {"max position is max - page + 1", SIF_ALL, 0, 100, 10, 100, 0, 100, 10, 91, 91},
      {"a page of one changes nothing", SIF_ALL, 0, 100, 1, 100, 0, 100, 1, 100, 100},
      {"page as large as the range", SIF_ALL, 0, 100, 101, 7, 0, 100, 101, 0, 0},
      {"page larger than the range is cut", SIF_ALL, 0, 100, 500, 7, 0, 100, 101, 0, 0},
      {"negative range", SIF_ALL, -50, 50, 10, 50, -50, 50, 10, 41, 41},
      {"negative range, position below", SIF_ALL, -50, 50, 10, -60, -50, 50, 10, -50, 41},
      {"min above max gives 0..0", SIF_ALL, 10, 5, 0, 7, 0, 0, 0, 0, 0},
      {"a range wider than an int counts gives 0..0", SIF_ALL, INT_MIN, INT_MAX, 0, 7, 0, 0, 0, 0, 0},
      {"the widest range", SIF_ALL, 0, INT_MAX, 1, INT_MAX, 0, INT_MAX, 1, INT_MAX, INT_MAX},
      {"page at the top of the widest range", SIF_ALL, 0, INT_MAX, 100, INT_MAX, 0, INT_MAX, 100, INT_MAX - 99,
       INT_MAX - 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TScrollBarInfo info;
    SCROLLINFO in;
    in.fMask = c.mask;
    in.nMin = c.min;
    in.nMax = c.max;
    in.nPage = c.page;
    in.nPos = c.pos;
    EXPECT_EQ(info.Set(in), c.wantPos);
    EXPECT_EQ(info.Min(), c.wantMin);
    EXPECT_EQ(info.Max(), c.wantMax);
    EXPECT_EQ(info.Page(), c.wantPage);
    EXPECT_EQ(info.MaxPosition(), c.wantMaxPosition);
    EXPECT_EQ(info.Scrollable(), c.wantMaxPosition > c.wantMin);
  }
}

TEST(ScrollBarInfoTest, ANewPageOrRangeClampsTheKeptPosition) {
  TScrollBarInfo info;
  SCROLLINFO in;
  in.fMask = SIF_RANGE | SIF_POS;
  in.nMax = 100;
  in.nPos = 95;
  info.Set(in);
  in.fMask = SIF_PAGE;
  in.nPage = 10;
  EXPECT_EQ(info.Set(in), 91);
  in.fMask = SIF_RANGE;
  in.nMin = 0;
  in.nMax = 50;
  EXPECT_EQ(info.Set(in), 41);
}

// The thumb's place and size along a track of 100 pixels (a bar of 132 with its two arrows).
TEST(ScrollBarLayoutTest, ThumbSizeAndPlaceFollowPageAndPosition) {
  struct Case {
    const char* what;
    int max;
    UINT page;
    int pos;
    TRect thumb;
  };
  const Case cases[] = {
      {"a fifth of the range shown, at the top", 99, 20, 0, Rect(0, 16, 16, 36)},
      {"a fifth shown, at the last position", 99, 20, 80, Rect(0, 96, 16, 116)},
      {"a fifth shown, half way", 99, 20, 40, Rect(0, 56, 16, 76)},
      {"no page: a square thumb", 100, 0, 100, Rect(0, 100, 16, 116)},
      {"a tiny page: the shortest thumb", 9999, 1, 0, Rect(0, 16, 16, 16 + kMinThumbLength)},
      {"everything shown: no thumb", 99, 100, 0, TRect{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TScrollBarInfo info;
    SCROLLINFO in;
    in.fMask = SIF_ALL;
    in.nMax = c.max;
    in.nPage = c.page;
    in.nPos = c.pos;
    info.Set(in);
    const TScrollBarLayout layout(Rect(0, 0, 16, 132), true, info);
    EXPECT_EQ(layout.Part(TScrollBarPart::Thumb), c.thumb);
    EXPECT_EQ(layout.Part(TScrollBarPart::ArrowBack), Rect(0, 0, 16, 16));
    EXPECT_EQ(layout.Part(TScrollBarPart::ArrowForward), Rect(0, 116, 16, 132));
    if (layout.HasThumb()) {
      EXPECT_EQ(layout.PositionAt(c.thumb.Top), info.Pos());
    }
  }
}

class WindowScrollBarsTest : public ScrollTest {};

TEST_F(WindowScrollBarsTest, BarsTakeTheirRoomFromTheClientAreaAndHideWhenNothingScrolls) {
  // A box of 150 x 150 with both bars: a client area of 134 x 134, and WM_SIZE at every change.
  EXPECT_EQ(box->ClientWidth(), 134);
  EXPECT_EQ(box->ClientHeight(), 134);
  box->sizes.clear();
  EXPECT_TRUE(SetScrollRange(box->Handle(), SB_VERT, 0, 0, true));  // nothing to scroll: hidden
  EXPECT_EQ(box->ClientWidth(), 150);
  EXPECT_EQ(box->sizes, (std::vector<TSize>{{150, 134}}));
  SetScrollRange(box->Handle(), SB_VERT, 0, 127, true);  // shown again
  EXPECT_EQ(box->ClientWidth(), 134);
  EXPECT_TRUE(ShowScrollBar(box->Handle(), SB_HORZ, false));
  EXPECT_EQ(box->ClientHeight(), 150);
  EXPECT_EQ(box->sizes, (std::vector<TSize>{{150, 134}, {134, 134}, {134, 150}}));

  // A page as large as the range hides the bar, or with SIF_DISABLENOSCROLL disables it.
  SCROLLINFO info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMax = 9;
  info.nPage = 10;
  SetScrollInfo(box->Handle(), SB_VERT, info, true);
  EXPECT_EQ(box->ClientWidth(), 150);
  info.fMask |= SIF_DISABLENOSCROLL;
  ShowScrollBar(box->Handle(), SB_VERT, true);
  SetScrollInfo(box->Handle(), SB_VERT, info, true);
  EXPECT_EQ(box->ClientWidth(), 134);
  Input().Click(At(*box, 142, 130));  // the down arrow of a disabled bar
  Settle();
  EXPECT_TRUE(box->codes.empty());

  EXPECT_EQ(SetScrollInfo(HWND{}, SB_VERT, info, true), 0);  // no such window
  EXPECT_FALSE(GetScrollInfo(HWND{}, SB_VERT, info));
}

TEST_F(WindowScrollBarsTest, SetAndGetReportThePositionBeforeAndAfter) {
  SetRange(SB_VERT, 0, 99, 20, 10);
  EXPECT_EQ(SetScrollPos(box->Handle(), SB_VERT, 500, true), 10);
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 80);
  int min = -1, max = -1;
  EXPECT_TRUE(GetScrollRange(box->Handle(), SB_VERT, min, max));
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 99);
  SCROLLINFO info;
  info.fMask = SIF_ALL;
  EXPECT_TRUE(GetScrollInfo(box->Handle(), SB_VERT, info));
  EXPECT_EQ(info.nPage, 20u);
  EXPECT_EQ(info.nTrackPos, 80);
}

TEST_F(WindowScrollBarsTest, ArrowsAndTrackSendLineAndPageCodesAndEndScroll) {
  // The vertical bar lies at x 134..150, y 0..134: arrows of 16, a track of 102 with a thumb of 20.
  SetRange(SB_VERT, 0, 99, 20, 40);
  SetRange(SB_HORZ, 0, 99, 20, 0);
  struct Case {
    const char* what;
    TPoint at;
    std::vector<std::string> codes;
  };
  const Case cases[] = {
      {"down arrow", {142, 126}, {"V LINEDOWN 0", "V ENDSCROLL 0"}},
      {"up arrow", {142, 4}, {"V LINEUP 0", "V ENDSCROLL 0"}},
      {"track below the thumb", {142, 110}, {"V PAGEDOWN 0", "V ENDSCROLL 0"}},
      {"track above the thumb", {142, 20}, {"V PAGEUP 0", "V ENDSCROLL 0"}},
      {"right arrow", {126, 142}, {"H LINEDOWN 0", "H ENDSCROLL 0"}},
      {"the corner between the bars", {142, 142}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    box->codes.clear();
    Input().Click(At(*box, c.at.X, c.at.Y));
    Settle();
    EXPECT_EQ(box->codes, c.codes);
    EXPECT_TRUE(box->clicks == 0) << "the control saw a press on its bar";
  }
}

TEST_F(WindowScrollBarsTest, AHeldArrowRepeatsAfterAPauseUntilReleased) {
  SetRange(SB_VERT, 0, 99, 20, 0);
  const int64_t start = MonotonicMs();
  Input().MouseDown(TMouseButtonKind::Left, At(*box, 142, 126));
  Application().HandleMessagesUntil([&] { return MonotonicMs() >= start + 300; });
  EXPECT_EQ(TimesFrom(start), (std::vector<int64_t>{0, 200, 250, 300}));
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 4);
  // Off the arrow the repeat pauses; back on it, it goes on.
  Input().MouseMove(At(*box, 60, 60), bsLeft);
  Application().HandleMessagesUntil([&] { return MonotonicMs() >= start + 400; });
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 4);
  Input().MouseMove(At(*box, 142, 126), bsLeft);
  Application().HandleMessagesUntil([&] { return MonotonicMs() >= start + 450; });
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 5);
  Input().MouseUp(TMouseButtonKind::Left, At(*box, 142, 126));
  Settle();
  EXPECT_EQ(box->codes.back(), "V ENDSCROLL 0");
  const size_t count = box->codes.size();
  Sleep(1000);  // time passes with no timer left to fire
  Settle();
  EXPECT_EQ(box->codes.size(), count);
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(WindowScrollBarsTest, AHeldPageRepeatsUntilTheThumbReachesTheMouse) {
  // Track y 16..118 with a thumb of 20 pixels over 80 positions: the press at y 100 pages down
  // until the thumb covers it.
  SetRange(SB_VERT, 0, 99, 20, 0);
  const int64_t start = MonotonicMs();
  Input().MouseDown(TMouseButtonKind::Left, At(*box, 142, 100));
  Application().HandleMessagesUntil([&] { return MonotonicMs() >= start + 1000; });
  Input().MouseUp(TMouseButtonKind::Left, At(*box, 142, 100));
  Settle();
  EXPECT_EQ(box->codes, (std::vector<std::string>{"V PAGEDOWN 0", "V PAGEDOWN 0", "V PAGEDOWN 0", "V PAGEDOWN 0",
                                                  "V ENDSCROLL 0"}));
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 80);
}

TEST_F(WindowScrollBarsTest, DraggingTheThumbTracksWithCaptureAndEndsAtItsPosition) {
  // Track y 16..118, thumb 20 pixels: 82 free pixels for positions 0..80.
  SetRange(SB_VERT, 0, 99, 20, 0);
  Input().MouseDown(TMouseButtonKind::Left, At(*box, 142, 20));  // 4 pixels into the thumb
  Settle();
  EXPECT_EQ(GetCaptureControl(), box);
  Input().MouseMove(At(*box, 142, 61), bsLeft);  // the thumb's top at 57: 41 of 82 pixels
  Settle();
  SCROLLINFO info;
  info.fMask = SIF_POS | SIF_TRACKPOS;
  GetScrollInfo(box->Handle(), SB_VERT, info);
  EXPECT_EQ(info.nTrackPos, 40);
  EXPECT_EQ(info.nPos, 0) << "the box follows the thumb only on SB_THUMBPOSITION";
  Input().MouseMove(At(*box, 400, 900), bsLeft);  // far outside the box: the last position
  Input().MouseMove(At(*box, 400, 900), bsLeft);  // the same place again: nothing new
  Input().MouseUp(TMouseButtonKind::Left, At(*box, 400, 900));
  Settle();
  EXPECT_EQ(box->codes, (std::vector<std::string>{"V THUMBTRACK 40", "V THUMBTRACK 80", "V THUMBPOSITION 80",
                                                  "V ENDSCROLL 0"}));
  EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 80);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(box->clicks, 0);
}

TEST_F(WindowScrollBarsTest, ClassicAndFlatBarsLookRight) {
  SetRange(SB_VERT, 0, 99, 20, 30);
  SetRange(SB_HORZ, 0, 9, 0, 9);
  ExpectLooksLike("scroll_bars_classic");
  ASSERT_TRUE(InitializeFlatSB(box->Handle()));
  FlatSB_SetScrollProp(box->Handle(), WSB_PROP_VSTYLE, FSB_FLAT_MODE, true);
  FlatSB_SetScrollProp(box->Handle(), WSB_PROP_HSTYLE, FSB_ENCARTA_MODE, true);
  FlatSB_SetScrollProp(box->Handle(), WSB_PROP_VBKGCOLOR, static_cast<int>(clInfoBk), true);
  FlatSB_SetScrollProp(box->Handle(), WSB_PROP_CXVSCROLL, 12, true);
  EXPECT_EQ(box->ClientWidth(), 138);
  ExpectLooksLike("scroll_bars_flat");
  UninitializeFlatSB(box->Handle());
  EXPECT_EQ(box->ClientWidth(), 134);
  EXPECT_FALSE(FlatSB_SetScrollProp(box->Handle(), WSB_PROP_CXVSCROLL, 12, true));
}

TEST_F(WindowScrollBarsTest, InTheFlatLookTheArrowOrThumbUnderTheMouseIsRaised) {
  SetRange(SB_VERT, 0, 99, 20, 0);
  InitializeFlatSB(box->Handle());
  FlatSB_SetScrollProp(box->Handle(), WSB_PROP_VSTYLE, FSB_FLAT_MODE, true);
  // The down arrow's top-left pixel: the flat frame's shadow, or the raised frame's light side.
  auto corner = [&] {
    Settle();
    return Input().Info(form->BackendWindow()).shown.ScanLine(10 + 118)[10 + 134];
  };
  const uint32_t flat = corner();
  Input().MouseMove(At(*box, 142, 126));
  const uint32_t hot = corner();
  EXPECT_NE(hot, flat);
  Input().MouseMove(At(*box, 60, 60));  // into the client area
  EXPECT_EQ(corner(), flat);
  Input().MouseMove(At(*box, 142, 126));
  EXPECT_EQ(corner(), hot);
  Input().MouseMove(At(*form, 180, 190));  // off the box
  EXPECT_EQ(corner(), flat);
}

}  // namespace
}  // namespace platform

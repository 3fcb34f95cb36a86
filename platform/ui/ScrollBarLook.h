#pragma once

#include "platform/gfx/Canvas.h"
#include "platform/gfx/Colors.h"
#include "platform/ui/ScrollInfo.h"

namespace platform {

// The width of a vertical bar and the height of a horizontal one in the classic look; the arrows are
// squares of that size.
inline constexpr int kScrollBarSize = 16;
// The shortest thumb.
inline constexpr int kMinThumbLength = 8;

// How a bar is drawn: the classic raised arrows and thumb, or one of the flat styles that the flat
// scroll bar calls select (flat: a thin shadow frame around arrows and thumb; encarta: arrows without a
// frame); in both, the part under the mouse is raised.
enum class TScrollBarMode { Regular = 0, Encarta = 1, Flat = 2 };

struct TScrollBarLook {
  TScrollBarMode mode = TScrollBarMode::Regular;
  TColor background = clNone;  // the track's colour; clNone is the system's scroll bar colour
  int thickness = kScrollBarSize;
};

// The parts of a bar, from its top (left) end to its bottom (right) end.
enum class TScrollBarPart { None, ArrowBack, PageBack, Thumb, PageForward, ArrowForward };

// Where the parts of one bar lie: the arrows at both ends (squares, shortened when the bar is too short
// for two), the track between them, and the thumb in the track, placed by the tracked position and sized
// by the page (a square without a page). A bar with nothing to scroll, or too short for its thumb, has
// no thumb.
class TScrollBarLayout {
public:
  TScrollBarLayout(const TRect& bar, bool vertical, const TScrollBarInfo& info);

  TRect Bar() const { return bar_; }
  bool Vertical() const { return vertical_; }
  bool HasThumb() const { return thumbLength_ > 0; }
  TRect Part(TScrollBarPart part) const;
  // The part under a point (None outside the bar).
  TScrollBarPart PartAt(TPoint p) const;
  // The coordinate of a point along the bar.
  int Along(TPoint p) const { return vertical_ ? p.Y : p.X; }
  // The thumb's leading edge, along the bar.
  int ThumbStart() const { return thumbStart_; }
  // The position whose thumb's leading edge lies at `thumbStart` along the bar, within the range.
  int PositionAt(int thumbStart) const;

private:
  TRect Span(int from, int to) const;

  TRect bar_;
  bool vertical_;
  int min_;
  int maxPosition_;
  int arrow_ = 0;        // the length of each arrow
  int trackStart_ = 0;   // along the bar
  int trackEnd_ = 0;
  int thumbStart_ = 0;
  int thumbLength_ = 0;  // 0: no thumb
};

// Draws a bar: its arrows (greyed where disabled), the track in the look's colour and the thumb. The
// pressed part is drawn pushed (an arrow) or dark (a page of the track); in the flat styles the arrow or
// thumb under the mouse (`hot`) stands out raised.
void PaintScrollBar(TCanvas& canvas, const TScrollBarLayout& layout, const TScrollBarInfo& info,
                    const TScrollBarLook& look, bool enabled, TScrollBarPart pressed,
                    TScrollBarPart hot = TScrollBarPart::None);

}  // namespace platform

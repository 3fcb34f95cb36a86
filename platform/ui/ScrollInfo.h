#pragma once

#include "platform/app/Messages.h"

namespace platform {

// The bars of a window: the one along its bottom, the one along its right side, or the whole window of
// a scroll bar control.
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;

// Scroll codes: the low word of WM_HSCROLL and WM_VSCROLL's wParam; the high word holds the thumb's
// position for SB_THUMBTRACK and SB_THUMBPOSITION. lParam is the handle of a scroll bar control, 0 for a
// window's own bar.
inline constexpr WORD SB_LINEUP = 0;
inline constexpr WORD SB_LINELEFT = 0;
inline constexpr WORD SB_LINEDOWN = 1;
inline constexpr WORD SB_LINERIGHT = 1;
inline constexpr WORD SB_PAGEUP = 2;
inline constexpr WORD SB_PAGELEFT = 2;
inline constexpr WORD SB_PAGEDOWN = 3;
inline constexpr WORD SB_PAGERIGHT = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_TOP = 6;
inline constexpr WORD SB_LEFT = 6;
inline constexpr WORD SB_BOTTOM = 7;
inline constexpr WORD SB_RIGHT = 7;
inline constexpr WORD SB_ENDSCROLL = 8;

// SCROLLINFO's fMask.
inline constexpr UINT SIF_RANGE = 0x1;
inline constexpr UINT SIF_PAGE = 0x2;
inline constexpr UINT SIF_POS = 0x4;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x8;  // a bar with nothing to scroll is disabled, not hidden
inline constexpr UINT SIF_TRACKPOS = 0x10;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// EnableScrollBar's arrows.
inline constexpr UINT ESB_ENABLE_BOTH = 0;
inline constexpr UINT ESB_DISABLE_LTUP = 1;
inline constexpr UINT ESB_DISABLE_RTDN = 2;
inline constexpr UINT ESB_DISABLE_BOTH = 3;

// Scroll bar control styles (a control's create-params).
inline constexpr DWORD SBS_HORZ = 0x0;
inline constexpr DWORD SBS_VERT = 0x1;

// Which of its scroll bars a control shows.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// One scroll bar's numbers and the rules that keep them consistent: the range min..max, the page (how
// much of the range one view shows; 0 for none) and the position, which lies within min .. MaxPosition.
class TScrollBarInfo {
public:
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Page() const { return page_; }
  int Pos() const { return pos_; }
  // The position the thumb is being dragged to; the position while it is not dragged.
  int TrackPos() const { return tracking_ ? trackPos_ : pos_; }
  bool Tracking() const { return tracking_; }
  // The largest position: max - page + 1 with a page, max without.
  int MaxPosition() const;
  // Whether there is anything to scroll: the position can take more than one value.
  bool Scrollable() const { return min_ < MaxPosition(); }

  // Takes the fields that info's mask names: a range with min above max (or wider than an int can
  // count) becomes 0..0, the page is cut to the range's size, and the position is clamped into
  // min .. MaxPosition. Returns the position.
  int Set(const SCROLLINFO& info);
  // Fills in the fields that info's mask names.
  void Get(SCROLLINFO& info) const;
  void BeginTrack() { tracking_ = true, trackPos_ = pos_; }
  void Track(int position) { trackPos_ = position; }
  void EndTrack() { tracking_ = false; }

  // ESB_... flags of the arrows that are disabled.
  UINT DisabledArrows() const { return disabled_; }
  void SetDisabledArrows(UINT arrows) { disabled_ = arrows & ESB_DISABLE_BOTH; }

private:
  int min_ = 0;
  int max_ = 0;
  int page_ = 0;
  int pos_ = 0;
  int trackPos_ = 0;
  bool tracking_ = false;
  UINT disabled_ = ESB_ENABLE_BOTH;
};

}  // namespace platform

#include "configurator/WindowPlacement.h"

#include <algorithm>

namespace configurator {

namespace {

// One direction: the size within [minimum, room] and the start so that the span lies within the room.
void FitSpan(int& start, int& size, int roomStart, int room, int minimum) {
  size = std::max(std::min(size, room), minimum);
  start = std::max(std::min(start, roomStart + room - size), roomStart);
}

}  // namespace

platform::TRect FitIntoWorkArea(const platform::TRect& bounds, const platform::TRect& workArea, int minWidth,
                                int minHeight) {
  int left = bounds.Left, top = bounds.Top, width = bounds.Width(), height = bounds.Height();
  FitSpan(left, width, workArea.Left, workArea.Width(), minWidth);
  FitSpan(top, height, workArea.Top, workArea.Height(), minHeight);
  return {left, top, left + width, top + height};
}

int FitLogPanelHeight(int height, int minHeight, int available) {
  return std::max(std::min(height, available), minHeight);
}

}  // namespace configurator

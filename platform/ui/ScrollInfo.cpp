#include "platform/ui/ScrollInfo.h"

#include <algorithm>
#include <cstdint>

namespace platform {

int TScrollBarInfo::MaxPosition() const { return max_ - std::max(page_ - 1, 0); }

int TScrollBarInfo::Set(const SCROLLINFO& info) {
  if (info.fMask & SIF_RANGE) {
    const int64_t width = int64_t{info.nMax} - info.nMin;
    if (width < 0 || width > INT32_MAX) {
      min_ = max_ = 0;
    } else {
      min_ = info.nMin;
      max_ = info.nMax;
    }
  }
  if (info.fMask & SIF_PAGE) page_ = static_cast<int>(std::min<UINT>(info.nPage, INT32_MAX));
  if (info.fMask & SIF_POS) pos_ = info.nPos;
  page_ = static_cast<int>(std::min<int64_t>(page_, int64_t{max_} - min_ + 1));
  pos_ = std::clamp(pos_, min_, MaxPosition());
  return pos_;
}

void TScrollBarInfo::Get(SCROLLINFO& info) const {
  if (info.fMask & SIF_RANGE) {
    info.nMin = min_;
    info.nMax = max_;
  }
  if (info.fMask & SIF_PAGE) info.nPage = static_cast<UINT>(page_);
  if (info.fMask & SIF_POS) info.nPos = pos_;
  if (info.fMask & SIF_TRACKPOS) info.nTrackPos = TrackPos();
}

}  // namespace platform
